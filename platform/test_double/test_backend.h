// The test double: the soft backend on a headless host with a manual clock, under the fault layer
// (a plan that can make any step fail, see fault_os.h for the step names, and a journal of the
// calls made). Constructing one makes it the backend in use; destroying it hands the seam back
// empty.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/os.h"
#include "platform/soft/headless_host.h"
#include "platform/test_double/fault_os.h"

namespace plat::soft {
class SoftOs;
}

namespace plat::test_double {

class TestBackend {
 public:
  struct Options {
    std::uint32_t start_ms = 0;
    bool sound = true;  // false: no audio sink, as with --nosound
    bool journal = true;
  };
  TestBackend();
  explicit TestBackend(const Options& options);
  ~TestBackend();
  TestBackend(const TestBackend&) = delete;
  TestBackend& operator=(const TestBackend&) = delete;

  plat::Os& os() { return *faulty_; }
  FaultPlan& faults() { return faulty_->faults(); }
  Journal& journal() { return faulty_->journal(); }
  soft::HeadlessHost& host() { return *host_; }
  int Live_Blocks() const { return faulty_->Live_Blocks(); }
  int Live_Objects() const { return faulty_->Live_Objects(); }

  // The clock.
  void Set_Ticks(std::uint32_t ms) { host_->Set_Ticks(ms); }
  void Advance(std::uint32_t ms) { host_->Advance(ms); }

  // What the user does; it reaches the game at the next event pump, as real events do.
  void Key(int dik, bool down) { host_->events().Key(dik, down); }
  void Button(int index, bool down) { host_->events().Button(index, down); }
  void Move_Mouse(std::int32_t dx, std::int32_t dy = 0) { host_->events().Motion(dx, dy, 0); }
  void Close_Window() { host_->events().Close(); }
  void Hide_For(int waits) { host_->Hide_For(waits); }

  // The front page of the flipping chain (empty before it exists), and any surface's pixels.
  std::vector<std::uint16_t> Front_Pixels() const;
  static std::vector<std::uint16_t> Pixels_Of(plat::IDirectDrawSurface4* surface);
  static int Width_Of(plat::IDirectDrawSurface4* surface);
  static int Height_Of(plat::IDirectDrawSurface4* surface);
  int Frames_Presented() const { return host_->Frames_Presented(); }

 private:
  soft::HeadlessHost* host_;
  std::unique_ptr<soft::SoftOs> backend_;
  std::unique_ptr<FaultOs> faulty_;
};

}  // namespace plat::test_double
