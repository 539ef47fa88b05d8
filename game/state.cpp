#include "game/state.h"

#include <cstring>

#include "gfx/background.h"
#include "input/input.h"

namespace zorvex {

std::int32_t score = 0;
std::int32_t lives = 0;
std::int32_t level = 0;
std::int32_t game_mode = MODE_TITLE;
Ball balls[BALL_COUNT];
Brick bricks[BRICK_COUNT];
Timer brick_timer;
SpriteRect ship;
Attachment attachments[ATTACHMENT_COUNT];
Attachment& gun = attachments[0];
Shot shots[SHOT_COUNT];
Timer fire_timer{0, 50};
int fire_latch = 0;
Timer intro_timer{0, 1000};
std::uint32_t rand_state = 1;

void Reset_Play_State() {
  score = lives = level = 0;
  game_mode = MODE_TITLE;
  for (Ball& b : balls) b = Ball{};
  for (Brick& b : bricks) b = Brick{};
  brick_timer = Timer{};
  ship = SpriteRect{};
  for (Attachment& a : attachments) a = Attachment{};
  for (Shot& s : shots) s = Shot{};
  fire_timer = Timer{0, 50};
  fire_latch = 0;
  intro_timer = Timer{0, 1000};
  rand_state = 1;
  scroll_y = 0;
  scroll_timer = Timer{};
  back_tile = TileRect{};
  std::memset(keys, 0, sizeof(keys));
  mouse_state = plat::DIMOUSESTATE{};
  pointer_x = 0;
}

}  // namespace zorvex
