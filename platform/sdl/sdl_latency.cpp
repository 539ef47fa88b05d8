#include "platform/sdl/sdl_latency.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>

namespace plat::sdl {

namespace {

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

}  // namespace

std::unique_ptr<LatencyProbe> LatencyProbe::From_Environment() {
  const char* latency = std::getenv("ZORVEX_LATENCY_LOG");
  const char* shows = std::getenv("ZORVEX_SHOW_LOG");
  const char* close_after = std::getenv("ZORVEX_CLOSE_AFTER_MS");
  if (!latency && !shows && !close_after) return nullptr;
  std::unique_ptr<LatencyProbe> probe(new LatencyProbe);
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

LatencyProbe::~LatencyProbe() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  Write_Lines(latency_file_, delays_);
  Write_Lines(show_file_, shows_);
}

// Gaps of 25 to 75 ms are not a multiple of the frame, so the events land at every phase of it.
void LatencyProbe::Inject(int events) {
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

void LatencyProbe::Close_After(long long ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!stop_ && std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  if (stop_) return;
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
}

void LatencyProbe::Pump_Begins() {
  read_.insert(read_.end(), last_look_.begin(), last_look_.end());
  last_look_.clear();
}

bool LatencyProbe::Handle(const SDL_Event& e) {
  if (type_ == 0 || e.type != type_) return false;
  std::lock_guard<std::mutex> lock(mutex_);
  if (e.user.code >= 0 && static_cast<std::size_t>(e.user.code) < sent_.size())
    last_look_.push_back(sent_[static_cast<std::size_t>(e.user.code)]);
  return true;
}

void LatencyProbe::Shown() {
  const std::int64_t now = Now_Ns();
  if (!show_file_.empty()) shows_.push_back(now);
  for (std::int64_t sent : read_) delays_.push_back(now - sent);
  read_.clear();
}

}  // namespace plat::sdl
