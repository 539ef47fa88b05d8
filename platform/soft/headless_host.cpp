#include "platform/soft/headless_host.h"

#include "platform/soft/boot_clock.h"
#include "platform/soft/soft_os.h"

namespace plat::soft {

HeadlessHost::HeadlessHost(Clock clock, std::uint32_t start_ms, bool sound)
    : clock_(clock), manual_ms_(start_ms) {
  if (sound) sink_ = std::make_unique<SilentAudioSink>();
}

std::uint32_t HeadlessHost::Ticks() { return clock_ == Clock::MANUAL ? manual_ms_ : Boot_Ticks(); }

bool HeadlessHost::Open_Window(const char*, int, int) {
  window_open_ = true;
  return true;
}

void HeadlessHost::Pump_Events(InputState* input) { events_.Deliver(input); }

void HeadlessHost::Wait_Events(InputState* input, int) {
  ++waits_;
  if (hidden_waits_ > 0) --hidden_waits_;
  Pump_Events(input);
}

void HeadlessHost::Present(const std::uint16_t* pixels, int width, int height) {
  ++frames_;
  if (keep_frames_) last_frame_.assign(pixels, pixels + static_cast<std::size_t>(width) * height);
}

std::unique_ptr<Host> Make_Headless_Host(bool sound) {
  auto host = std::make_unique<HeadlessHost>(HeadlessHost::Clock::LIVE, 0, sound);
  host->Keep_Frames(false);
  return host;
}

}  // namespace plat::soft
