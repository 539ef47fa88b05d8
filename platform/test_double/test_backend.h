// The test double: the soft backend on a headless host with a manual clock, a fault plan that
// can make any step fail (see faults.h for the step names) and a journal of the calls made.
// Constructing one makes it the backend in use; destroying it hands the seam back empty.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/os.h"
#include "platform/soft/faults.h"
#include "platform/soft/headless_host.h"

namespace plat::soft {

class Backend;
class SoftSurface;

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

  plat::Os& os();
  FaultPlan& faults();
  Journal& journal();
  HeadlessHost& host() { return *host_; }

  // The clock.
  void Set_Ticks(std::uint32_t ms) { host_->Set_Ticks(ms); }
  void Advance(std::uint32_t ms) { host_->Advance(ms); }

  // What the user does; it reaches the game at the next event pump, as real events do.
  void Key(int dik, bool down) { host_->Queue_Key(dik, down); }
  void Button(int index, bool down) { host_->Queue_Button(index, down); }
  void Move_Mouse(std::int32_t dx, std::int32_t dy = 0) { host_->Queue_Motion(dx, dy); }
  void Close_Window() { host_->Queue_Close(); }
  void Hide_For(int waits) { host_->Hide_For(waits); }

  // The pages of the flipping chain (empty before it exists), and any surface's pixels.
  std::vector<std::uint16_t> Front_Pixels() const;
  std::vector<std::uint16_t> Back_Pixels() const;
  static std::vector<std::uint16_t> Pixels_Of(plat::IDirectDrawSurface4* surface);
  static int Width_Of(plat::IDirectDrawSurface4* surface);
  static int Height_Of(plat::IDirectDrawSurface4* surface);
  int Frames_Presented() const { return host_->Frames_Presented(); }

 private:
  HeadlessHost* host_;
  std::unique_ptr<Backend> backend_;
};

}  // namespace plat::soft
