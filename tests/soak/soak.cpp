// zorvex-soak: plays headless autopilot games across many seeds, one after another in this
// process, and checks the game's invariants after every frame and its memory over time.
//   zorvex-soak [--frames N] [--per-game N]
// Exit 0 when every frame held, 1 when something broke (it says what, where), 2 for a bad
// command line.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "app/options.h"
#include "app/session.h"
#include "game/state.h"
#include "gfx/display.h"
#include "input/input.h"
#include "platform/data_path.h"
#include "platform/os.h"
#include "platform/soft/soft_os.h"
#include "zorvex/win_main.h"

// Under AddressSanitizer freed blocks wait in a quarantine (256 MB by default) before reuse,
// which would read as growth; a smaller one still catches use after free of recent blocks.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=32"; }

namespace {

constexpr std::uint32_t kFrameMs[] = {16, 7, 33};  // virtual clock steps, one per seed in turn
constexpr int kWarmUpGames = 2;                    // while the first games load what they load
constexpr double kMaxGrowthMb = 24;                // allowed after the warm-up

double Rss_Mb() {
  std::ifstream status("/proc/self/status");
  std::string field;
  double kb = 0;
  while (status >> field && field != "VmRSS:") {
  }
  status >> kb;
  return kb / 1024.0;
}

// What must hold after every frame of any game, however it is played, and the memory over time.
struct Watch {
  std::uint32_t seed = 0;
  std::uint64_t frames = 0, before_this_game = 0;
  int games = 0;
  bool broken = false;
  int last_mode = zorvex::MODE_TITLE;
  std::int32_t last_score = 0;
  double warm_up_mb = 0, after_mb = 0;  // the largest resident size, sampled every 1000 frames

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
    if ((before_this_game + frame) % 1000 == 0) {
      double& largest = games < kWarmUpGames ? warm_up_mb : after_mb;
      largest = std::max(largest, Rss_Mb());
    }
  }
};

Watch watch;

void On_Frame(std::uint64_t frame) { watch.Check(frame); }

// One game on a fresh backend, driven the way the program's main drives it.
bool Play_Game(std::uint32_t seed, std::uint32_t frame_ms, std::uint64_t frames) {
  const std::string frames_text = std::to_string(frames), seed_text = std::to_string(seed),
                    ms_text = std::to_string(frame_ms);
  const char* argv[] = {
      "zorvex",          "--headless", "--autoplay",    "--frames", frames_text.c_str(), "--seed",
      seed_text.c_str(), "--frame-ms", ms_text.c_str(), "--data",   ZORVEX_DATA_DIR};
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
  std::uint64_t total = 1'000'000, per_game = 50'000;
  bool usage = argc % 2 == 0;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::uint64_t* value = !std::strcmp(argv[i], "--frames")     ? &total
                           : !std::strcmp(argv[i], "--per-game") ? &per_game
                                                                 : nullptr;
    if (value) *value = std::strtoull(argv[i + 1], nullptr, 10);
    usage = usage || !value;
  }
  if (usage || total == 0 || per_game == 0) {
    std::fprintf(stderr, "usage: zorvex-soak [--frames N] [--per-game N]\n");
    return 2;
  }
  zorvex::Set_Frame_Observer(On_Frame);
  const auto start = std::chrono::steady_clock::now();
  bool ok = true;
  for (; ok && watch.before_this_game < total; ++watch.games) {
    const std::uint64_t frames = std::min(per_game, total - watch.before_this_game);
    watch.seed = 1 + watch.games * 7919u;
    watch.frames = 0;
    watch.last_mode = zorvex::MODE_TITLE;
    watch.last_score = 0;
    ok =
        Play_Game(watch.seed, kFrameMs[watch.games % std::size(kFrameMs)], frames) && !watch.broken;
    if (ok && watch.frames != frames) {
      ok = false;
      std::fprintf(stderr, "zorvex-soak: seed %u ran %llu frames, not %llu\n", watch.seed,
                   static_cast<unsigned long long>(watch.frames),
                   static_cast<unsigned long long>(frames));
    }
    watch.before_this_game += watch.frames;
  }
  zorvex::Set_Frame_Observer(nullptr);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf(
      "frames %llu, seeds %d, %.1f s (%.0f frames/s); largest resident size %.1f MB in the first "
      "%d games, %.1f MB after them\n",
      static_cast<unsigned long long>(watch.before_this_game), watch.games, seconds,
      watch.before_this_game / seconds, watch.warm_up_mb, kWarmUpGames, watch.after_mb);
  // Growth is only judged once samples came from both sides of the warm-up.
  if (ok && watch.warm_up_mb > 0 && watch.after_mb > watch.warm_up_mb + kMaxGrowthMb) {
    std::fprintf(stderr, "zorvex-soak: memory grew after warm-up by more than %.0f MB\n",
                 kMaxGrowthMb);
    ok = false;
  }
  std::printf("%s\n", ok ? "soak passed" : "soak FAILED");
  return ok ? 0 : 1;
}
