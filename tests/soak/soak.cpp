// zorvex-soak: plays headless autopilot games across many seeds, one after another in this
// process, and checks the game's invariants after every frame and its memory over time.
//   zorvex-soak [--frames N] [--per-game N] [--first-seed N] [--data DIR] [--max-growth-mb N]
// Exit 0 when every frame held, 1 when something broke (it says what, where), 2 for a bad
// command line.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/options.h"
#include "app/session.h"
#include "app/shell.h"
#include "game/state.h"
#include "gfx/display.h"
#include "input/input.h"
#include "platform/data_path.h"
#include "platform/os.h"
#include "platform/soft/soft_os.h"

// Under AddressSanitizer freed blocks wait in a quarantine (256 MB by default) before reuse,
// which would read as growth; a smaller one still catches use after free of recent blocks.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=32"; }

namespace {

struct Settings {
  std::uint64_t frames = 1'000'000;
  std::uint64_t per_game = 50'000;
  std::uint32_t first_seed = 1;
  std::string data_dir = ZORVEX_DATA_DIR;
  double max_growth_mb = 24;
};

constexpr std::uint32_t kFrameMs[] = {16, 7, 33};  // virtual clock steps, one per seed in turn
constexpr std::uint64_t kRssEvery = 1'000;         // frames between memory samples

// A field of /proc/self/status in MB (0 if unreadable).
double Status_Mb(const char* key) {
  std::FILE* f = std::fopen("/proc/self/status", "r");
  if (!f) return 0;
  char line[256];
  double kb = 0;
  while (std::fgets(line, sizeof line, f))
    if (std::strncmp(line, key, std::strlen(key)) == 0)
      kb = std::strtod(line + std::strlen(key), nullptr);
  std::fclose(f);
  return kb / 1024.0;
}

// What must hold after every frame of any game, however it is played, and the memory over time.
struct Watch {
  std::uint32_t seed = 0;
  std::uint64_t frames = 0, before_this_game = 0;
  bool broken = false;
  int last_mode = zorvex::MODE_TITLE;
  std::int32_t last_score = 0;
  std::vector<double> rss_mb;
  std::size_t warm_up = 0;  // samples taken while the first games loaded what they load

  void New_Game(std::uint32_t s) {
    seed = s;
    frames = 0;
    last_mode = zorvex::MODE_TITLE;
    last_score = 0;
  }
  void Breach(std::uint64_t frame, const char* what, long long value) {
    if (!broken)
      std::fprintf(stderr, "zorvex-soak: seed %u, frame %llu: %s (%lld)\n", seed,
                   static_cast<unsigned long long>(frame), what, value);
    broken = true;
  }
  void Check(std::uint64_t frame) {
    using namespace zorvex;
    ++frames;
    if (pointer_x < 0 || pointer_x > SCREEN_WIDTH)
      Breach(frame, "pointer_x off the screen", pointer_x);
    if (game_mode < MODE_TITLE || game_mode > MODE_GAME_OVER)
      Breach(frame, "unknown mode", game_mode);
    // The score only falls on a restart from the game-over screen, and then to 0.
    const bool restart = last_mode == MODE_GAME_OVER && game_mode == MODE_PLAY && score == 0;
    if (score < last_score && !restart) Breach(frame, "the score fell within a game", score);
    if (level < 0) Breach(frame, "negative level", level);
    last_mode = game_mode;
    last_score = score;
    if ((before_this_game + frame) % kRssEvery == 0) rss_mb.push_back(Status_Mb("VmRSS:"));
  }
  double Largest(std::size_t from, std::size_t to) const {
    return from < to ? *std::max_element(rss_mb.begin() + static_cast<std::ptrdiff_t>(from),
                                         rss_mb.begin() + static_cast<std::ptrdiff_t>(to))
                     : 0;
  }
};

Watch watch;

void On_Frame(std::uint64_t frame) { watch.Check(frame); }

bool Parse(int argc, char** argv, Settings* s) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) return false;
    const char* value = argv[++i];
    if (arg == "--frames")
      s->frames = std::strtoull(value, nullptr, 10);
    else if (arg == "--per-game")
      s->per_game = std::strtoull(value, nullptr, 10);
    else if (arg == "--first-seed")
      s->first_seed = static_cast<std::uint32_t>(std::strtoul(value, nullptr, 10));
    else if (arg == "--data")
      s->data_dir = value;
    else if (arg == "--max-growth-mb")
      s->max_growth_mb = std::strtod(value, nullptr);
    else
      return false;
  }
  return s->frames > 0 && s->per_game > 0;
}

// One game on a fresh backend, driven the way the program's main drives it.
bool Play_Game(const Settings& s, std::uint32_t seed, std::uint32_t frame_ms,
               std::uint64_t frames) {
  const std::string frames_text = std::to_string(frames), seed_text = std::to_string(seed),
                    ms_text = std::to_string(frame_ms);
  const char* argv[] = {
      "zorvex",          "--headless", "--autoplay",    "--frames", frames_text.c_str(), "--seed",
      seed_text.c_str(), "--frame-ms", ms_text.c_str(), "--data",   s.data_dir.c_str()};
  zorvex::Options options;
  std::string error;
  if (!zorvex::Parse_Options(static_cast<int>(std::size(argv)), argv, &options, &error) ||
      !zorvex::Begin_Session(options, &error)) {
    std::fprintf(stderr, "zorvex-soak: %s\n", error.c_str());
    return false;
  }
  zorvex::Reset_Play_State();
  plat::Set_Data_Dir(options.data_dir);
  auto backend = plat::soft::Make_Soft_Os(plat::soft::Make_Headless_Host(true));
  plat::Use_Os(backend.get());
  static int instance_tag;
  const int code =
      zorvex::WinMain(reinterpret_cast<plat::HINSTANCE>(&instance_tag), nullptr, "", 1);
  zorvex::Release_Clipper();
  const bool written = zorvex::End_Session();
  plat::Use_Os(nullptr);
  backend.reset();
  if (code != 0 || !written)
    std::fprintf(stderr, "zorvex-soak: seed %u: exit code %d\n", seed, code);
  return code == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  Settings s;
  if (!Parse(argc, argv, &s)) {
    std::fprintf(stderr,
                 "usage: zorvex-soak [--frames N] [--per-game N] [--first-seed N] [--data DIR] "
                 "[--max-growth-mb N]\n");
    return 2;
  }
  zorvex::Set_Frame_Observer(On_Frame);
  const auto start = std::chrono::steady_clock::now();
  std::uint32_t seeds = 0;
  bool ok = true;
  while (ok && watch.before_this_game < s.frames) {
    const std::uint64_t frames = std::min(s.per_game, s.frames - watch.before_this_game);
    const std::uint32_t seed = s.first_seed + seeds * 7919u;
    watch.New_Game(seed);
    ok = Play_Game(s, seed, kFrameMs[seeds % std::size(kFrameMs)], frames) && !watch.broken;
    if (ok && watch.frames != frames) {
      ok = false;
      std::fprintf(stderr, "zorvex-soak: seed %u ran %llu frames, not %llu\n", seed,
                   static_cast<unsigned long long>(watch.frames),
                   static_cast<unsigned long long>(frames));
    }
    watch.before_this_game += watch.frames;
    if (++seeds == 2) watch.warm_up = watch.rss_mb.size();
  }
  zorvex::Set_Frame_Observer(nullptr);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const std::size_t n = watch.rss_mb.size(), split = std::min(watch.warm_up, n);
  const double before = watch.Largest(0, split), after = watch.Largest(split, n);
  std::printf(
      "frames %llu, seeds %u, %.1f s (%.0f frames/s); peak RSS %.1f MB, largest RSS "
      "during warm-up %.1f MB, after it %.1f MB\n",
      static_cast<unsigned long long>(watch.before_this_game), seeds, seconds,
      watch.before_this_game / seconds, Status_Mb("VmHWM:"), before, after);
  // Growth is only judged once the warm-up is over and samples came after it.
  if (ok && split > 0 && split < n && after > before + s.max_growth_mb) {
    std::fprintf(stderr, "zorvex-soak: memory grew after warm-up by more than %.0f MB\n",
                 s.max_growth_mb);
    ok = false;
  }
  std::printf("%s\n", ok ? "soak passed" : "soak FAILED");
  return ok ? 0 : 1;
}
