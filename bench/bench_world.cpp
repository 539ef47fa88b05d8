#include "bench/bench_world.h"

#include "app/game_loop.h"
#include "app/options.h"
#include "app/session.h"
#include "app/shell.h"
#include "game/balls.h"
#include "game/bricks.h"
#include "game/level.h"
#include "game/rng.h"
#include "game/ship.h"
#include "game/state.h"
#include "gfx/background.h"
#include "gfx/display.h"
#include "input/input.h"
#include "platform/data_path.h"
#include "platform/soft/soft_os.h"

namespace zorvex::bench {

Game_Up::Game_Up(const char* replay) {
  Reset_Play_State();
  plat::Set_Data_Dir(ZORVEX_DATA_DIR);
  if (replay) {
    Options options;
    options.headless = true;
    options.replay_path = replay;
    std::string error;
    if (!(session_ = Begin_Session(options, &error))) return;
    backend_ = plat::soft::Make_Soft_Os(plat::soft::Make_Headless_Host(true));
  } else {
    auto host = std::make_unique<Bench_Host>();
    host_ = host.get();
    backend_ = plat::soft::Make_Soft_Os(std::move(host));
  }
  plat::Use_Os(backend_.get());
  if (!Open_Game_Window()) return;
  if (session_) Session_Before_Setup();
  ok_ = Setup_Game() == 1;
  if (session_ && ok_) Session_After_Setup();
}

Game_Up::~Game_Up() {
  if (backend_) {
    Shutdown_Game();
    Release_Clipper();
  }
  if (session_) End_Session();
  plat::Use_Os(nullptr);
  backend_.reset();
  plat::Set_Data_Dir("");
}

// ---- The play frame's state ----

void Play_State::Build(Bench_Host& host) {
  game_mode = MODE_PLAY;
  level = 12;
  score = 98765;
  lives = 3;  // four icons
  back_tile = TileRect{64, 64, 64, 64};
  scroll_y = 17;
  pointer_x = 288;
  ship.x = 288;
  for (Ball& b : zorvex::balls) b.active = 0;
  for (Brick& b : zorvex::bricks) b.hits = -1;
  for (Shot& s : zorvex::shots) s.active = 0;
  // Five rows of fifteen bricks over the top half, every kind, motion and damage frame.
  for (int i = 0; i < BRICK_COUNT; ++i) {
    const int slot =
        New_Brick(36 + 38 * (i % 15), 30 + 36 * (i / 15), 32, 16, 32 * (i % 5 + 4), 48, i % 2);
    zorvex::bricks[slot].hits = (i / 5) % 3;
  }
  // Balls in a band below the bricks, shots rising from near the ship.
  for (int i = 0; i < BALL_COUNT; ++i) {
    New_Ball(20 + 41 * i, 290 + 12 * (i % 4), 8, 8, 224 + 8 * (i % 4), 8 * (i % 2), i % 2 ? 4 : -4,
             i % 3 ? 3 : -3);
  }
  for (int i = 0; i < SHOT_COUNT; ++i)
    New_Shot(10 + 12 * i, 392 + 8 * (i % 6), 8, 8, 256, 0, 0, -15);

  Save_Play_State(&saved_);
  saved_now_ = host.Now();
}

void Play_State::Restore(Bench_Host& host) const {
  Restore_Play_State(saved_);
  host.Set_Ticks(saved_now_);
}

bool Play_State::Intact() {
  int live_balls = 0, flying_shots = 0;
  for (const Ball& b : zorvex::balls) live_balls += b.active == 1;
  for (const Shot& s : zorvex::shots) flying_shots += s.active == 1;
  bool undamaged = true;
  for (const Brick& b : zorvex::bricks) undamaged = undamaged && b.hits >= 0;
  return game_mode == MODE_PLAY && live_balls == BALL_COUNT && flying_shots == SHOT_COUNT &&
         undamaged && Count_Bricks() == BRICK_COUNT;
}

std::vector<testing::Blit> Record_Frame_Blits() {
  plat::IDirectDrawSurface4* real = lpddsback;
  testing::RecordingSurface recorder(real);
  lpddsback = &recorder;
  Run_Frame();
  lpddsback = real;
  return recorder.blits;
}

}  // namespace zorvex::bench
