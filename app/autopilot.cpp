#include "app/autopilot.h"

#include "game/balls.h"
#include "game/ship.h"
#include "game/state.h"
#include "input/input.h"

namespace zorvex {

namespace {

constexpr int SCREEN_PAUSE_FRAMES = 90;  // let a watcher see the title and game-over screens
constexpr int MAX_STEP = 40;             // pixels a frame: a quick hand, not a teleport
constexpr int FIRE_PERIOD = 12;
constexpr int FIRE_HELD = 4;
// Now and then the pilot looks away for a while, so that long runs also lose balls, end games
// and start over.
constexpr std::uint64_t LAPSE_PERIOD = 1500;
constexpr std::uint64_t LAPSE_LENGTH = 400;

struct Pilot {
  std::uint64_t frame = 0;
  int mode = -1;
  std::uint64_t mode_since = 0;
} pilot;

// The ball to play: the lowest one coming down, else the lowest one.
const Ball* Ball_To_Play() {
  const Ball* best = nullptr;
  for (const Ball& b : balls) {
    if (b.active != 1) continue;
    bool better =
        !best || (b.vy > 0 && best->vy <= 0) || ((b.vy > 0) == (best->vy > 0) && b.y > best->y);
    if (better) best = &b;
  }
  return best;
}

std::int32_t Steer() {
  const Ball* ball = Ball_To_Play();
  if (!ball) return 0;
  // Meet the ball a little off centre, changing sides now and then, so the game does not
  // settle into one bounce.
  std::int32_t aim = static_cast<std::int32_t>((pilot.frame / 240) % 3) * 10 - 10;
  if (pilot.frame % LAPSE_PERIOD >= LAPSE_PERIOD - LAPSE_LENGTH) aim += 160;
  std::int64_t target = static_cast<std::int64_t>(ball->x) + ball->w / 2 - ship.w / 2 + aim;
  std::int64_t step = target - pointer_x;
  if (pointer_x > SCREEN_WIDTH - ship.w && step > 0) step = 0;  // the ship stops at the edge
  if (step > MAX_STEP) step = MAX_STEP;
  if (step < -MAX_STEP) step = -MAX_STEP;
  return static_cast<std::int32_t>(step);
}

}  // namespace

void Reset_Autopilot() { pilot = Pilot{}; }

plat::script::FrameInput Autopilot_Input() {
  plat::script::FrameInput input;
  if (game_mode != pilot.mode) {
    pilot.mode = game_mode;
    pilot.mode_since = pilot.frame;
  }
  bool on_a_screen = game_mode == MODE_TITLE || game_mode == MODE_GAME_OVER;
  if (on_a_screen) {
    input.enter = pilot.frame - pilot.mode_since >= SCREEN_PAUSE_FRAMES;
  } else if (game_mode == MODE_PLAY) {
    input.dx = Steer();
    input.lmb = pilot.frame % FIRE_PERIOD < FIRE_HELD;
  }
  ++pilot.frame;
  return input;
}

}  // namespace zorvex
