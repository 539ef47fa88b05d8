// zorvex-soak: plays headless autopilot games across many seeds, one after another in this
// process, and checks the game's invariants after every frame and its memory over time.
//   zorvex-soak [--frames N] [--per-game N] [--first-seed N] [--data DIR] [--max-growth-mb N]
// Exit 0 when every frame held, 1 when something broke (it says what, where), 2 for a bad
// command line.
#include <sys/resource.h>

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
#include "platform/data_path.h"
#include "platform/os.h"
#include "platform/soft/soft_os.h"
#include "tests/soak/invariants.h"
#include "tests/soak/memory_watch.h"

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

zorvex::testing::Invariants* checker = nullptr;
zorvex::testing::Memory_Watch* memory = nullptr;
std::uint64_t frames_before_this_game = 0;

void On_Frame(std::uint64_t frame) {
  checker->Check_Frame(frame);
  const std::uint64_t total = frames_before_this_game + frame;
  if (total % kRssEvery == 0) memory->Sample(total);
}

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
  zorvex::testing::Invariants invariants;
  zorvex::testing::Memory_Watch watch;
  checker = &invariants;
  memory = &watch;
  zorvex::Set_Frame_Observer(On_Frame);

  const auto start = std::chrono::steady_clock::now();
  std::uint32_t seeds = 0;
  bool ok = true;
  while (ok && frames_before_this_game < s.frames) {
    const std::uint64_t frames = std::min(s.per_game, s.frames - frames_before_this_game);
    const std::uint32_t seed = s.first_seed + seeds * 7919u;
    const std::uint32_t frame_ms = kFrameMs[seeds % std::size(kFrameMs)];
    invariants.New_Game(seed);
    ok = Play_Game(s, seed, frame_ms, frames) && invariants.Ok();
    if (ok && invariants.Frames_Seen() != frames) {
      ok = false;
      std::fprintf(stderr, "zorvex-soak: seed %u ran %llu frames, not %llu\n", seed,
                   static_cast<unsigned long long>(invariants.Frames_Seen()),
                   static_cast<unsigned long long>(frames));
    }
    frames_before_this_game += invariants.Frames_Seen();
    ++seeds;
    if (seeds == 2) watch.End_Warm_Up();
  }
  zorvex::Set_Frame_Observer(nullptr);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  std::printf("frames %llu, seeds %u, %.1f s (%.0f frames/s)\n",
              static_cast<unsigned long long>(frames_before_this_game), seeds, seconds,
              frames_before_this_game / seconds);
  invariants.Print_Summary(stdout);
  watch.Print_Summary(stdout);
  if (ok && !watch.Steady(s.max_growth_mb)) {
    std::fprintf(stderr, "zorvex-soak: memory grew after warm-up by more than %.0f MB\n",
                 s.max_growth_mb);
    ok = false;
  }
  std::printf("%s\n", ok ? "soak passed" : "soak FAILED");
  return ok ? 0 : 1;
}
