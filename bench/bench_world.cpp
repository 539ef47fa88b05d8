#include "bench/bench_world.h"

#include "game/balls.h"
#include "game/bricks.h"
#include "game/ship.h"
#include "game/state.h"
#include "gfx/display.h"
#include "input/input.h"
#include "platform/data_path.h"
#include "platform/soft/soft_os.h"
#include "zorvex/game_loop.h"
#include "zorvex/win_main.h"

namespace zorvex::bench {

Game_Up::Game_Up() {
  Reset_Play_State();
  plat::Set_Data_Dir(ZORVEX_DATA_DIR);
  auto host = std::make_unique<Bench_Host>();
  host_ = host.get();
  backend_ = plat::soft::Make_Soft_Os(std::move(host));
  plat::Use_Os(backend_.get());
  ok_ = Open_Game_Window() && Setup_Game() == 1;
}

Game_Up::~Game_Up() {
  Shutdown_Game();
  Release_Clipper();
  plat::Use_Os(nullptr);
}

void Build_Play_State() {
  game_mode = MODE_PLAY;
  level = 12;
  score = 98765;
  lives = 3;  // four icons
  back_tile = TileRect{64, 64, 64, 64};
  scroll_y = 17;
  pointer_x = ship.x = 288;
  balls[0].active = 0;  // start-up's one ball; start-up leaves every brick and shot free
  // Five rows of fifteen bricks over the top half, every kind, motion and damage frame.
  for (int i = 0; i < BRICK_COUNT; ++i) {
    New_Brick(36 + 38 * (i % 15), 30 + 36 * (i / 15), 32, 16, 32 * (i % 5 + 4), 48, i % 2);
    bricks[i].hits = (i / 5) % 3;
  }
  // Balls in a band below the bricks, shots rising from near the ship.
  for (int i = 0; i < BALL_COUNT; ++i) {
    New_Ball(20 + 41 * i, 290 + 12 * (i % 4), 8, 8, 224 + 8 * (i % 4), 8 * (i % 2), i % 2 ? 4 : -4,
             i % 3 ? 3 : -3);
  }
  for (int i = 0; i < SHOT_COUNT; ++i)
    New_Shot(10 + 12 * i, 392 + 8 * (i % 6), 8, 8, 256, 0, 0, -15);
}

bool Play_State_Intact() {
  int live = 0;
  for (const Ball& b : balls) live += b.active == 1;
  for (const Shot& s : shots) live += s.active == 1;
  return game_mode == MODE_PLAY && live == BALL_COUNT + SHOT_COUNT && Count_Bricks() == BRICK_COUNT;
}

}  // namespace zorvex::bench
