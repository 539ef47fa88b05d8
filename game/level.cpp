#include "game/level.h"

#include <cstdio>

#include "core/arith.h"
#include "game/balls.h"
#include "game/bricks.h"
#include "game/rng.h"
#include "game/state.h"
#include "sound/sound_manager.h"

namespace zorvex {

namespace {

constexpr std::int32_t MUSIC_VOLUME = -400;  // 4 dB below full

void Choose_Tile() {
  back_tile.w = 64;
  back_tile.h = 64;
  back_tile.sx = 64 * (rand() % 2);
  back_tile.sy = 64 * (rand() % 3);
}

// Each fan ball draws its sprite row before its sprite column.
void Launch_Fan(std::int32_t x, bool speed_sets_vx) {
  for (std::int32_t i = 4; i <= 12; i += 2) {
    const int r1 = rand();
    const int r2 = rand();
    New_Ball(x, 0, 8, 8, 224 + 8 * (r2 % 4), 8 * (r1 % 2), speed_sets_vx ? i : -5, i);
  }
}

void Add_Extra_Balls() {
  if (rand() % 100 <= 50) return;
  if (rand() % 100 <= 25) {
    New_Ball(0, 0, 8, 8, 224, 0, 6, 6);
    return;
  }
  Launch_Fan(0, true);
  Launch_Fan(630, false);
}

void Spawn_Wave() {
  for (Brick& brick : bricks) {
    if (brick.hits >= 0) brick.hits = -1;
  }
  // Wide, so that no level number can overflow the count.
  const std::int64_t count = static_cast<std::int64_t>(level) * 5 + 5;
  for (std::int64_t n = 0; n < count; ++n) {
    const int d1 = rand();
    const int d2 = rand();
    const int d3 = rand();
    const int d4 = rand();
    New_Brick(32 * (d4 % 16 + 1), 16 * (d3 % 30), 32, 16, 32 * (d2 % 5 + 4), 48, d1 % 2);
  }
}

void Change_Music() {
  char name[16];
  std::snprintf(name, sizeof name, "music0%d.wav", rand() % 4 + 1);
  Stop_Sound(SLOT_MUSIC, 1);
  Load_Sound(SLOT_MUSIC, name);
  Set_Slot_Volume(SLOT_MUSIC, MUSIC_VOLUME);  // skipped by the manager when the load failed
  Play_Sound(SLOT_MUSIC, 1);
}

}  // namespace

int Start_Level() {
  srand(static_cast<std::uint32_t>(rand()));
  level = Wrap_Add(level, 1);
  Choose_Tile();
  Add_Extra_Balls();
  Spawn_Wave();
  Change_Music();
  return 0;
}

}  // namespace zorvex
