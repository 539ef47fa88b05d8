// zorvex-measure: the Linux program with a watcher on its frames, for scripts/measure-latency and
// scripts/measure-stutter. What it does is asked for in the environment:
//   ZORVEX_LATENCY_LOG=FILE  a thread injects an event at random phases of the frame, every 25
//                            to 75 ms; each one's delay, from injection to the show of the first
//                            frame that read it, goes to FILE in nanoseconds, one a line
//   ZORVEX_LATENCY_EVENTS=N  closes the game, as the window's close box, after N of them (600)
//   ZORVEX_SHOW_LOG=FILE     every frame's show time on the monotonic clock, in nanoseconds
//   ZORVEX_CLOSE_AFTER_MS=N  without ZORVEX_LATENCY_LOG: closes the game after N ms
//   ZORVEX_PACING=late       the older order, sleeping between drawing and showing
// The files are written when the host closes. The shipped game has no watcher.
#include <SDL.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/sdl/sdl_host.h"

namespace {

class FrameProbe final : public plat::sdl::FrameWatcher {
 public:
  static std::unique_ptr<plat::sdl::FrameWatcher> From_Environment();
  ~FrameProbe() override;

  bool Old_Order() const override { return old_order_; }
  // The host reads SDL's queue: what the previous look took is now the game's to read.
  void Pump_Begins() override;
  // True when the event was one of the probe's.
  bool Handle(const SDL_Event& e) override;
  // A frame is on screen. The events taken by the look just before it (the flip's own) are
  // read by the next frame, the ones before that by this one.
  void Shown() override;

 private:
  void Inject(int events);
  void Close_After(long long ms);

  bool old_order_ = false;
  std::string latency_file_, show_file_;
  std::uint32_t type_ = 0;
  std::mutex mutex_;
  std::vector<std::int64_t> sent_;              // injection times, by event number (under mutex_)
  std::vector<std::int64_t> read_, last_look_;  // injection times of events taken, not yet shown
  std::vector<std::int64_t> delays_, shows_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

std::int64_t Now_Ns() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void Write_Lines(const std::string& path, const std::vector<std::int64_t>& values) {
  if (path.empty()) return;
  std::FILE* f = std::fopen(path.c_str(), "w");
  if (!f) return;
  for (std::int64_t v : values) std::fprintf(f, "%lld\n", static_cast<long long>(v));
  std::fclose(f);
}

std::unique_ptr<plat::sdl::FrameWatcher> FrameProbe::From_Environment() {
  const char* latency = std::getenv("ZORVEX_LATENCY_LOG");
  const char* shows = std::getenv("ZORVEX_SHOW_LOG");
  const char* close_after = std::getenv("ZORVEX_CLOSE_AFTER_MS");
  const char* pacing = std::getenv("ZORVEX_PACING");
  auto probe = std::make_unique<FrameProbe>();
  probe->old_order_ = pacing && std::strcmp(pacing, "late") == 0;
  if (shows) probe->show_file_ = shows;
  if (latency) {
    probe->latency_file_ = latency;
    probe->type_ = SDL_RegisterEvents(1);
    if (probe->type_ == static_cast<std::uint32_t>(-1)) return nullptr;
    const char* count = std::getenv("ZORVEX_LATENCY_EVENTS");
    const int events = count ? std::atoi(count) : 600;
    probe->thread_ = std::thread([p = probe.get(), events] { p->Inject(events); });
  } else if (close_after) {
    const long long ms = std::atoll(close_after);
    probe->thread_ = std::thread([p = probe.get(), ms] { p->Close_After(ms); });
  }
  return probe;
}

FrameProbe::~FrameProbe() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  Write_Lines(latency_file_, delays_);
  Write_Lines(show_file_, shows_);
}

// Gaps of 25 to 75 ms are not a multiple of the frame, so the events land at every phase of it.
void FrameProbe::Inject(int events) {
  std::mt19937 random(static_cast<std::uint32_t>(Now_Ns()));
  std::uniform_int_distribution<int> gap_us(25'000, 75'000);
  for (int i = 0; i < events && !stop_; ++i) {
    std::this_thread::sleep_for(std::chrono::microseconds(gap_us(random)));
    SDL_Event e{};
    e.type = type_;
    e.user.code = i;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      sent_.push_back(Now_Ns());
    }
    SDL_PushEvent(&e);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the last ones reach the screen
  if (stop_) return;
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
}

void FrameProbe::Close_After(long long ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!stop_ && std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  if (stop_) return;
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
}

void FrameProbe::Pump_Begins() {
  read_.insert(read_.end(), last_look_.begin(), last_look_.end());
  last_look_.clear();
}

bool FrameProbe::Handle(const SDL_Event& e) {
  if (type_ == 0 || e.type != type_) return false;
  std::lock_guard<std::mutex> lock(mutex_);
  if (e.user.code >= 0 && static_cast<std::size_t>(e.user.code) < sent_.size())
    last_look_.push_back(sent_[static_cast<std::size_t>(e.user.code)]);
  return true;
}

void FrameProbe::Shown() {
  const std::int64_t now = Now_Ns();
  if (!show_file_.empty()) shows_.push_back(now);
  for (std::int64_t sent : read_) delays_.push_back(now - sent);
  read_.clear();
}

[[maybe_unused]] const bool watching = plat::sdl::Watch_Frames(FrameProbe::From_Environment);

}  // namespace
