// The ship, its attachments (the gun is attachment 0) and the shots.
#pragma once

#include <cstdint>

#include "game/types.h"

namespace zorvex {

constexpr int ATTACHMENT_COUNT = 16;
constexpr int SHOT_COUNT = 50;

struct Attachment {
  std::int32_t offx, offy;
  SpriteRect frames[2][5];  // [state][animf]
  std::uint32_t tick;
  std::uint32_t interval;
  std::int32_t animf;
  std::int32_t state;  // -1 inactive, 0 idle, 1 firing
};

struct Shot {
  std::int32_t x, y, sx, sy, w, h;
  std::int32_t vx, vy;
  std::int32_t active;  // 1 in flight, 0 left the screen, -1 spent on a brick
};

extern SpriteRect ship;
extern Attachment attachments[ATTACHMENT_COUNT];
extern Attachment& gun;
extern Shot shots[SHOT_COUNT];

int Move_Ship();
int Draw_Ship();
int New_Shot(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::int32_t sx,
             std::int32_t sy, std::int32_t vx, std::int32_t vy);

}  // namespace zorvex
