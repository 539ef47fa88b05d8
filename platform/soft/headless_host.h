// A host with no window and no waiting, for runs without a display and for tests.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/soft/event_queue.h"
#include "platform/soft/host.h"

namespace plat::soft {

// Takes every sound and plays none of it: Start succeeds and the mixer is never pulled.
class SilentAudioSink : public AudioSink {
 public:
  bool Start(MixFunction, void*) override { return true; }
  void Lock() override {}
  void Unlock() override {}
};

class HeadlessHost : public Host {
 public:
  // A manual clock starts at `start_ms` and moves only when told; otherwise the live
  // tick count (Boot_Ticks) is read.
  enum class Clock { LIVE, MANUAL };
  explicit HeadlessHost(Clock clock = Clock::LIVE, std::uint32_t start_ms = 0, bool sound = true);

  std::uint32_t Ticks() override;
  bool Open_Window(const char* title, int width, int height) override;
  void Pump_Events(InputState* input) override;
  void Wait_Events(InputState* input, int timeout_ms) override;
  bool Visible() override { return hidden_waits_ == 0; }
  void Present(const std::uint16_t* pixels, int width, int height) override;
  AudioSink* Audio_Sink() override { return sink_.get(); }

  // For tests: the manual clock, what the "user" does (it reaches the backend at the next pump),
  // and what was shown.
  void Set_Ticks(std::uint32_t ms) { manual_ms_ = ms; }
  void Advance(std::uint32_t ms) { manual_ms_ += ms; }
  EventQueue& events() { return events_; }
  // Reports the window as hidden until the backend has waited `waits` times.
  void Hide_For(int waits) { hidden_waits_ = waits; }
  bool Window_Open() const { return window_open_; }
  int Waits() const { return waits_; }
  int Frames_Presented() const { return frames_; }
  // A copy of the last frame shown; empty when frames are not kept (a whole-screen copy a frame
  // is a fifth of a replay's time, so the program's own headless runs keep none).
  const std::vector<std::uint16_t>& Last_Frame() const { return last_frame_; }
  void Keep_Frames(bool keep) { keep_frames_ = keep; }

 private:
  Clock clock_;
  std::uint32_t manual_ms_;
  std::unique_ptr<AudioSink> sink_;
  EventQueue events_;
  int hidden_waits_ = 0;
  int waits_ = 0;
  int frames_ = 0;
  bool window_open_ = false;
  bool keep_frames_ = true;
  std::vector<std::uint16_t> last_frame_;
};

}  // namespace plat::soft
