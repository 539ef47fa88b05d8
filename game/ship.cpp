#include "game/ship.h"

#include <cstdio>

#include "core/arith.h"
#include "core/log.h"
#include "core/tick.h"
#include "game/bricks.h"
#include "game/hit_test.h"
#include "game/level.h"
#include "gfx/display.h"
#include "gfx/sprites.h"
#include "input/input.h"
#include "sound/sound_manager.h"

namespace zorvex {

namespace {

// Kept quirk: the firing animation has five frames and the fifth is never shown.
constexpr int GUN_FIRING_FRAMES = 4;
constexpr std::uint32_t FIRE_INTERVAL = 50;

void Follow_Pointer() {
  ship.x = pointer_x;
  // Compared wide so that no pointer value can overflow the sum.
  if (static_cast<std::int64_t>(ship.x) + ship.w > SCREEN_WIDTH) {
    ship.x = Wrap_Sub(SCREEN_WIDTH, ship.w);
  }
}

void Animate_Attachments() {
  for (Attachment& part : attachments) {
    if (part.state <= 0) continue;
    const std::uint32_t now = Stamp_Tick();
    if (now - part.tick < part.interval) continue;
    part.tick = Stamp_Tick();
    if (++part.animf >= GUN_FIRING_FRAMES) {
      part.state = 0;
      part.animf = 0;
    }
  }
}

void Hit_Brick(Shot& shot, Brick& brick) {
  Play_Sound(SLOT_BRICK, 0);
  shot.active = -1;
  if (++brick.hits < 3) return;
  brick.hits = -1;
  score = Wrap_Add(score, 100);
  if (Count_Bricks() == 0) Start_Level();  // later tests of this pass see the new wave
}

void Move_Shot(Shot& shot) {
  shot.x = Wrap_Add(shot.x, shot.vx);
  shot.y = Wrap_Add(shot.y, shot.vy);
  if (shot.x > SCREEN_WIDTH || shot.x < 0 || shot.y > SCREEN_HEIGHT || shot.y < 0) {
    shot.active = 0;  // gone, but it may still strike a brick on its way out
  }
  // One shot damages every brick its corner lies in.
  Hit_Boxed_Bricks(shot, [&shot](Brick& brick) { Hit_Brick(shot, brick); });
}

void Draw_Attachment(int index, const Attachment& part) {
  // Only states 0 and 1 have frames; nothing in the game makes another, but never read past them.
  if (part.state > 1 || part.animf < 0 || part.animf >= 5) return;
  const SpriteRect& f = part.frames[part.state][part.animf];
  const std::int32_t x = Wrap_Add(Wrap_Add(ship.x, part.offx), f.x);
  const std::int32_t y = Wrap_Add(Wrap_Add(ship.y, part.offy), f.y);
  if (Blit_Sprite(lpddsback, x, y, f.w, f.h, f.sx, f.sy, lpddsgfx) != 0) return;
  char line[96];
  std::snprintf(line, sizeof line, " Draw_Ship ATT Blt Err i:%d state: %d animf: %d", index,
                part.state, part.animf);
  Log_Error("%s", line);
  // Kept quirk: a failed gun blit closes the log; later messages of the run go nowhere.
  Close_Log();
}

}  // namespace

int Move_Ship() {
  Follow_Pointer();
  Animate_Attachments();
  Box_Bricks();
  for (Shot& shot : shots) {
    if (shot.active > 0) Move_Shot(shot);
  }
  return 0;
}

int Draw_Ship() {
  Blit_Sprite(lpddsback, ship.x, ship.y, ship.w, ship.h, ship.sx, ship.sy, lpddsgfx);
  for (int i = 0; i < ATTACHMENT_COUNT; ++i) {
    if (attachments[i].state != -1) Draw_Attachment(i, attachments[i]);
  }
  for (const Shot& shot : shots) {
    if (shot.active > 0) {
      Blit_Sprite(lpddsback, shot.x, shot.y, shot.w, shot.h, shot.sx, shot.sy, lpddsgfx);
    }
  }
  return 0;
}

int New_Shot(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::int32_t sx,
             std::int32_t sy, std::int32_t vx, std::int32_t vy) {
  for (Shot& shot : shots) {
    if (shot.active > 0) continue;
    shot = Shot{x, y, sx, sy, w, h, vx, vy, 1};
    return 1;
  }
  return 0;
}

// The gun fires when the button is seen down at a check after having been seen up at one.
int Fire_Check() {
  std::uint32_t now = Stamp_Tick();
  if (now - fire_timer.tick <= FIRE_INTERVAL) return 0;
  fire_timer.tick = Stamp_Tick();
  if (mouse_state.rgbButtons[0] == 0) {
    fire_latch = 0;
    return 0;
  }
  if (fire_latch) return 0;
  fire_latch = 1;
  if (gun.state == -1) return 0;
  const SpriteRect& frame = gun.frames[gun.state][gun.animf];
  New_Shot(ship.x + gun.offx + frame.x, ship.y + gun.offy + frame.y, 8, 8, 256, 0, 0, -15);
  Play_Sound(SLOT_SHOOT, 0);  // Kept quirk: even when every shot is in flight
  gun.state = gun.state == 1 ? 0 : 1;
  gun.animf = 0;
  return 1;
}

}  // namespace zorvex
