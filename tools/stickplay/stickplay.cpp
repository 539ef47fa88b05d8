// zorvex-stickplay: a modelled player on a pad, for trying the left stick's two ways of steering
// (as a speed, as a position) the way a person would, and for showing that a pad alone plays a
// game from the title to game over and on to a new game.
//
//   zorvex-stickplay reach WAY [TRIALS]   the ship sent to targets, with no game around it
//   zorvex-stickplay game WAY [FRAMES]    headless games on a virtual clock, many lives
//   zorvex-stickplay live WAY [FRAMES]    the SDL host and a virtual pad (SDL's joystick API), on
//                                         the live clock; in a window when DISPLAY is set
//   zorvex-stickplay hand WAY             played by hand a step at a time: each line read, "STICK
//                                         FRAMES [fire|start]", holds the stick there for so many
//                                         frames; then the picture goes to stickplay.bmp and the
//                                         ship, ball and lives are printed
//
// WAY is speed or position. The player sees the game 200 ms late, guesses where the ball will
// come down, and moves a thumb that is neither instant nor steady: it travels at most 12 stick
// widths a second, misplaces a new deflection by a few percent of its size and trembles a
// little. It knows roughly what its own thumb has been doing since what it sees.
// `live` plays a set of lives well, then misses on purpose until the game is over, presses
// Start, and checks that a new game began; it exits 0 when it did, 1 when not.
#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/snapshot.h"
#include "game/state.h"
#include "gfx/display.h"
#include "host/host_layer.h"
#include "input/input.h"
#include "platform/data_path.h"
#include "platform/os.h"
#include "platform/script/script_os.h"
#include "platform/sdl/sdl_host.h"
#include "platform/soft/soft_os.h"
#include "zorvex/win_main.h"

namespace {

using namespace zorvex;

constexpr double FRAME_MS = 1000.0 / 60;
constexpr int DELAY_FRAMES = 12;  // 200 ms from seeing to acting
constexpr int SHIP_W = 64;
constexpr int SHIP_TOP = 448;

// What the player has seen of one frame.
struct Seen {
  bool ball = false;
  double x = 0, y = 0, vx = 0, vy = 0;
  int ship = 0;
};

// The thumb on the stick: slow to travel, unsure where a new deflection lands, trembling.
// STICKPLAY_THUMB scales how unsure and trembling the thumb is (1: as above, 0.5: steadier).
// STICKPLAY_SEED gives another thumb, eye and start tick.
const unsigned seed = std::getenv("STICKPLAY_SEED")
                          ? static_cast<unsigned>(std::atoi(std::getenv("STICKPLAY_SEED")))
                          : 0;
const double unsure =
    std::getenv("STICKPLAY_THUMB") ? std::atof(std::getenv("STICKPLAY_THUMB")) : 1;

struct Thumb {
  std::mt19937 rng{12345 + seed};
  double s = 0, goal = 0, misplaced = 0, tremor = 0;
  double Move(double wanted) {
    std::normal_distribution<double> n(0, 1);
    if (std::fabs(wanted - goal) > 0.1)
      misplaced = unsure * n(rng) * (0.02 + 0.08 * std::fabs(wanted - goal));
    goal = wanted;
    misplaced *= 0.95;  // felt and seen, a misplaced thumb is put right within a third of a second
    tremor = 0.8 * tremor + unsure * 0.006 * n(rng);
    // Let go, the stick springs home by itself.
    const double aim = wanted == 0 ? 0 : std::clamp(wanted + misplaced + tremor, -1.0, 1.0);
    const double rate = wanted == 0 ? 0.5 : 0.2;
    s += std::clamp((aim - s) * 0.6, -rate, rate);
    return s;
  }
};

struct Player {
  host::StickWay way;
  Thumb thumb;
  std::deque<Seen> past;

  // The deflection that asks for the ship at `target`, felt to be at `felt_ship` now.
  double Steer(double target, double felt_ship) {
    const double e = target - felt_ship;
    if (way == host::StickWay::SPEED) {
      if (std::fabs(e) <= 2) return thumb.Move(0);
      // A speed to close the gap in about 150 ms, through the curve the player has learned.
      const double per_ms = std::fabs(e) / 150;
      const double tilt = std::sqrt(std::min(per_ms / host::STICK_TOP_PER_MS, 1.0));
      return thumb.Move(
          std::copysign(host::STICK_DEAD_ZONE + tilt * (1 - host::STICK_DEAD_ZONE), e));
    }
    const double middle = host::SHIP_RIGHT / 2.0;
    const double u = std::clamp((target - middle) / middle, -1.0, 1.0);
    double s = u == 0 ? 0
                      : std::copysign(host::STICK_DEAD_ZONE +
                                          std::fabs(u) * (host::STICK_EDGE - host::STICK_DEAD_ZONE),
                                      u);
    if (std::fabs(u) < 0.02 && std::fabs(e) <= 3) return thumb.Move(0);  // the middle: let go
    return thumb.Move(s);
  }

  // One frame: `now` is the frame as it is; the player acts on the one DELAY_FRAMES ago.
  double Frame(const Seen& now, double target_of_seen(const Seen&)) {
    past.push_back(now);
    if (past.size() > DELAY_FRAMES + 1) past.pop_front();
    const Seen& seen = past.front();
    const double felt = seen.ship + 0.7 * (now.ship - seen.ship);
    return Steer(target_of_seen(seen), felt);
  }
};

// Where the ball seen will come down to the ship, walls and ceiling reckoned, bricks not.
double Landing(const Seen& b) {
  double x = b.x, y = b.y, vx = b.vx, vy = b.vy;
  for (int i = 0; i < 600 && (vy <= 0 || y + 8 < SHIP_TOP); ++i) {
    x += vx, y += vy;
    if (x < 0) x = 0, vx = -vx;
    if (x + 8 > 640) x = 632, vx = -vx;
    if (y < 0) y = 0, vy = -vy;
  }
  return x;
}

int aim = 0;  // where on the ship to meet the ball, changed now and then
bool missing = false;
std::uint64_t look = 0;  // the frame count; the eye takes a fresh look every sixth of a second
double misjudged = 0;    // the guess of the landing is off by this, more so when far

double Ship_Target(const Seen& seen) {
  if (!seen.ball) return host::SHIP_RIGHT / 2.0;
  static std::mt19937 eye(99 + seed);
  const double land = Landing(seen);
  if (look++ % 10 == 0)
    misjudged = std::normal_distribution<double>(0, 1)(eye) * 0.15 * std::fabs(land - seen.x);
  double x = land + misjudged + 4 - SHIP_W / 2.0 + aim;
  if (missing) x = x < 288 ? x + 200 : x - 200;
  return std::clamp(x, 0.0, double{host::SHIP_RIGHT});
}

Seen Look() {
  Seen s;
  s.ship = ship.x;
  const Ball* best = nullptr;
  for (const Ball& b : balls) {
    if (b.active != 1) continue;
    if (!best || (b.vy > 0 && best->vy <= 0) || ((b.vy > 0) == (best->vy > 0) && b.y > best->y))
      best = &b;
  }
  if (best)
    s = Seen{true, double(best->x), double(best->y), double(best->vx), double(best->vy), ship.x};
  return s;
}

// ---- reach: targets, and the ship steered to each ----

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<std::size_t>(p * v.size()))];
}

int Reach(host::StickWay way, int trials) {
  host::HostOptions options;
  options.stick = way;
  host::HostLayer layer(options);
  Player player{way, {}, {}};
  std::mt19937 rng(7);
  std::int64_t pointer = 0;
  double target = 288;
  std::vector<double> reach_ms, settle_ms, overshoot, rms;
  int unsettled = 0;
  std::uint64_t frame = 0;
  auto step = [&](double goal) {
    Seen now;
    now.ship = static_cast<int>(std::min<std::int64_t>(pointer, host::SHIP_RIGHT));
    static double shown_goal;
    shown_goal = goal;
    const double s = player.Frame(now, [](const Seen&) { return shown_goal; });
    host::PadState pad;
    pad.connected = true;
    pad.stick_x = s;
    const auto r = layer.Pad(pad, static_cast<std::uint64_t>(++frame * FRAME_MS));
    pointer = std::clamp<std::int64_t>(pointer + r.motion, 0, 640);
    return static_cast<double>(std::min<std::int64_t>(pointer, host::SHIP_RIGHT));
  };
  for (int i = 0; i < 120; ++i) step(target);  // settle at the start
  for (int t = 0; t < trials; ++t) {
    const double from = std::min<std::int64_t>(pointer, host::SHIP_RIGHT);
    do target = std::uniform_int_distribution<int>(0, host::SHIP_RIGHT)(rng);
    while (std::fabs(target - from) < 40);
    // The player sees the new target 200 ms late, as everything else.
    std::vector<double> path;
    for (int f = 0; f < 120; ++f) path.push_back(step(f < DELAY_FRAMES ? from : target));
    const double dir = target > from ? 1 : -1;
    int first = -1, settled = -1;
    double over = 0;
    for (int f = 0; f < static_cast<int>(path.size()); ++f) {
      if (first < 0 && std::fabs(path[f] - target) <= 8) first = f;
      if (first >= 0) over = std::max(over, (path[f] - target) * dir);
      bool stays = settled < 0 && f + 15 <= static_cast<int>(path.size());
      for (int g = f; stays && g < f + 15; ++g) stays = std::fabs(path[g] - target) <= 8;
      if (stays) settled = f;
    }
    double sq = 0;
    for (int f = 90; f < 120; ++f) sq += (path[f] - target) * (path[f] - target);
    rms.push_back(std::sqrt(sq / 30));
    if (first >= 0) reach_ms.push_back(first * FRAME_MS);
    if (settled >= 0)
      settle_ms.push_back(settled * FRAME_MS);
    else
      ++unsettled;
    overshoot.push_back(over);
  }
  std::printf(
      "reach %s: %d targets; within 8 px after %.0f ms (median), %.0f (90%%); settled after "
      "%.0f ms (median), %.0f (90%%), %d never; overshoot %.1f px (median), %.1f (90%%); "
      "held to %.1f px rms (median), %.1f (90%%)\n",
      way == host::StickWay::SPEED ? "speed" : "position", trials, Percentile(reach_ms, .5),
      Percentile(reach_ms, .9), Percentile(settle_ms, .5), Percentile(settle_ms, .9), unsettled,
      Percentile(overshoot, .5), Percentile(overshoot, .9), Percentile(rms, .5),
      Percentile(rms, .9));
  return 0;
}

// ---- game and live: the real game, played ----

struct Run {
  host::StickWay way = host::StickWay::SPEED;
  bool live = false;
  std::uint64_t frames = 0, frame = 0;
  std::unique_ptr<host::HostLayer> layer;  // game: the layer the pad's state goes through
  std::unique_ptr<plat::script::ScriptOs> script;
  std::int64_t pointer = 0;
  Player player;
  SDL_Joystick* pad = nullptr;
  // What happened.
  int lost = 0, returned = 0, games = 0, restarts = 0, mode_since = 0, play_frames = 0;
  int last_lives = 3, last_mode = MODE_TITLE, lose_after = 0;
  std::int64_t score_sum = 0;
  double last_vy = 0;
  int ship_min = 640, ship_max = 0;
  bool start = false, fire = false;
  bool hand = false;
  int hand_left = 0;
  double hand_stick = 0;
  std::string hand_button;
} run;

// By hand: the picture and the state shown, then the next step read.
bool Next_Hand_Step() {
  if (run.hand_left > 0) return true;
  std::string error;
  if (!Write_Surface_Bmp(lpddsfront, "stickplay.bmp", &error)) std::printf("%s\n", error.c_str());
  const Seen s = Look();
  std::printf("frame %llu mode %d ship %d pointer %d ball %.0f,%.0f moving %.0f,%.0f lives %d\n",
              static_cast<unsigned long long>(run.frame), game_mode, ship.x, pointer_x, s.x, s.y,
              s.vx, s.vy, lives);
  std::fflush(stdout);
  char line[128];
  if (!std::fgets(line, sizeof line, stdin)) return false;
  char button[16] = "";
  if (std::sscanf(line, "%lf %d %15s", &run.hand_stick, &run.hand_left, button) < 2) return false;
  run.hand_button = button;
  return run.hand_left > 0;
}

void Tally() {
  if (game_mode != run.last_mode) {
    if (game_mode == MODE_GAME_OVER) ++run.games, ++run.lost, run.score_sum += score;
    if (run.last_mode == MODE_GAME_OVER && game_mode == MODE_PLAY) ++run.restarts;
    run.last_mode = game_mode;
    run.mode_since = static_cast<int>(run.frame);
    run.last_lives = lives;
  }
  if (game_mode != MODE_PLAY) return;
  ++run.play_frames;
  if (lives < run.last_lives) ++run.lost;
  run.last_lives = lives;
  const Seen s = Look();
  if (s.ball && run.last_vy > 0 && s.vy < 0 && s.y > SHIP_TOP - 24) ++run.returned;
  run.last_vy = s.ball ? s.vy : 0;
  run.ship_min = std::min(run.ship_min, ship.x);
  run.ship_max = std::max(run.ship_max, ship.x);
}

bool Before_Frame() {
  if (run.frame >= run.frames) return false;
  ++run.frame;
  Tally();
  const int since = static_cast<int>(run.frame) - run.mode_since;
  aim = static_cast<int>((run.frame / 240) % 3) * 10 - 10;
  missing = run.live && run.play_frames > run.lose_after;
  double stick = 0;
  bool start = false, fire = false;
  if (run.live && run.restarts > 0 && since > 30) return false;  // a new game is under way
  if (run.hand) {
    if (!Next_Hand_Step()) return false;
    --run.hand_left;
    stick = run.hand_stick;
    fire = run.hand_button == "fire";
    start = run.hand_button == "start";
  } else if (game_mode == MODE_PLAY) {
    stick = run.player.Frame(Look(), Ship_Target);
    fire = run.frame % 12 < 4;
  } else {
    run.player.past.clear();
    start = since > 60 && since < 66;  // a second to look at the screen, then Start
  }
  if (run.live) {
    SDL_JoystickSetVirtualAxis(run.pad, SDL_CONTROLLER_AXIS_LEFTX,
                               static_cast<Sint16>(stick * 32767));
    SDL_JoystickSetVirtualButton(run.pad, SDL_CONTROLLER_BUTTON_A, fire);
    SDL_JoystickSetVirtualButton(run.pad, SDL_CONTROLLER_BUTTON_START, start);
    return true;
  }
  host::PadState pad;
  pad.connected = true;
  pad.stick_x = stick;
  pad.fire = fire;
  pad.start = start;
  const auto now = static_cast<std::uint64_t>(run.frame * FRAME_MS) + seed * 7919;
  const host::PadReaction r = run.layer->Pad(pad, now);
  if (r.fire) run.fire = r.fire > 0;
  if (r.enter) run.start = r.enter > 0;
  plat::script::FrameInput input;
  input.tick = static_cast<std::uint32_t>(now);
  input.dx = r.motion;
  input.lmb = run.fire;
  input.enter = run.start;
  run.script->Pin(input);
  return true;
}

bool Attach_Pad() {
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return false;
  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX;
  desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  desc.name = "stickplay pad";
  const int index = SDL_JoystickAttachVirtualEx(&desc);
  run.pad = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
  return run.pad != nullptr;
}

int Play(const char* data_dir) {
  plat::Set_Data_Dir(data_dir);
  Reset_Play_State();
  std::unique_ptr<plat::Os> backend;
  if (run.live) {
    if (!std::getenv("DISPLAY")) setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (!Attach_Pad())
      return std::fprintf(stderr, "stickplay: no virtual pad: %s\n", SDL_GetError()), 1;
    plat::sdl::SdlOptions sdl;
    sdl.window = true;
    sdl.host.sound = false;
    sdl.host.stick = run.way;
    backend = plat::soft::Make_Soft_Os(plat::sdl::Make_Sdl_Host(sdl));
    plat::Use_Os(backend.get());
  } else {
    host::HostOptions options;
    options.stick = run.way;
    run.layer = std::make_unique<host::HostLayer>(options);
    backend = plat::soft::Make_Soft_Os(plat::soft::Make_Headless_Host(false));
    run.script = std::make_unique<plat::script::ScriptOs>(*backend);
    plat::script::FrameInput start;
    start.tick = seed * 7919;  // the game seeds its generator from it
    run.script->Pin(start);
    plat::Use_Os(run.script.get());
  }
  RunHooks hooks;
  hooks.before_frame = Before_Frame;
  Set_Run_Hooks(hooks);
  static int instance_tag;
  WinMain(reinterpret_cast<plat::HINSTANCE>(&instance_tag), nullptr, "", 1);
  Release_Clipper();
  Set_Run_Hooks({});
  plat::Use_Os(nullptr);
  const char* way = run.way == host::StickWay::SPEED ? "speed" : "position";
  const double minutes = run.play_frames / 3600.0;
  std::printf(
      "%s %s: %.1f min of play, %d balls lost (%.1f a minute), %d returned by the ship (%.1f "
      "for each ball lost), %d games over, %.0f points a game; ship from %d to %d\n",
      run.live ? "live" : "game", way, minutes, run.lost, run.lost / std::max(minutes, 1e-9),
      run.returned, static_cast<double>(run.returned) / std::max(run.lost, 1), run.games,
      run.games ? double(run.score_sum) / run.games : 0.0, run.ship_min, run.ship_max);
  if (run.pad) SDL_JoystickClose(run.pad);
  if (!run.live) return 0;
  const bool ok = run.returned > 0 && run.ship_max - run.ship_min > 200 && run.games >= 1 &&
                  run.restarts >= 1 && lives == 3;
  std::printf("%s\n", ok ? "a pad alone played from the title to game over and a new game"
                         : "FAILED: the pad did not take the game through");
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || (std::strcmp(argv[2], "speed") && std::strcmp(argv[2], "position"))) {
    std::fprintf(stderr, "usage: zorvex-stickplay reach|game|live speed|position [N] [DATA]\n");
    return 2;
  }
  const std::string what = argv[1];
  run.way = !std::strcmp(argv[2], "speed") ? host::StickWay::SPEED : host::StickWay::POSITION;
  run.player.way = run.way;
  const long n = argc > 3 ? std::atol(argv[3]) : 0;
  const char* data = argc > 4 ? argv[4] : ZORVEX_DATA_DIR;
  if (what == "reach") return Reach(run.way, n > 0 ? static_cast<int>(n) : 300);
  run.live = what == "live";
  run.hand = what == "hand";
  run.frames = n > 0 ? static_cast<std::uint64_t>(n) : run.live ? 3600 : 216000;
  run.lose_after = 1200;  // live: twenty seconds of good play, then every ball missed
  return Play(data);
}
