// Timings of the live game, asked for in the environment (scripts/measure-latency, the
// stutter run); without these variables nothing here runs:
//   ZORVEX_LATENCY_LOG=FILE  a thread injects an event at random phases of the frame, every 25
//                            to 75 ms; each one's delay, from injection to the show of the first
//                            frame that read it, goes to FILE in nanoseconds, one a line
//   ZORVEX_LATENCY_EVENTS=N  closes the game, as the window's close box, after N of them (600)
//   ZORVEX_SHOW_LOG=FILE     every frame's show time on the monotonic clock, in nanoseconds
//   ZORVEX_CLOSE_AFTER_MS=N  without ZORVEX_LATENCY_LOG: closes the game after N ms
// The files are written when the host closes.
#pragma once

#include <SDL.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace plat::sdl {

class LatencyProbe {
 public:
  static std::unique_ptr<LatencyProbe> From_Environment();
  ~LatencyProbe();

  // The host reads SDL's queue: what the previous look took is now the game's to read.
  void Pump_Begins();
  // True when the event was one of the probe's.
  bool Handle(const SDL_Event& e);
  // A frame is on screen. The events taken by the look just before it (the flip's own) are
  // read by the next frame, the ones before that by this one.
  void Shown();

 private:
  LatencyProbe() = default;
  void Inject(int events);
  void Close_After(long long ms);

  std::string latency_file_, show_file_;
  std::uint32_t type_ = 0;
  std::mutex mutex_;
  std::vector<std::int64_t> sent_;              // injection times, by event number (under mutex_)
  std::vector<std::int64_t> read_, last_look_;  // injection times of events taken, not yet shown
  std::vector<std::int64_t> delays_, shows_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace plat::sdl
