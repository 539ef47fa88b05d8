// Start-up of the play field and the frame step with its game modes.
#include "zorvex/game_loop.h"

#include <cstdio>
#include <new>

#include "core/log.h"
#include "game/balls.h"
#include "game/bricks.h"
#include "game/hud.h"
#include "game/level.h"
#include "game/rng.h"
#include "game/ship.h"
#include "gfx/background.h"
#include "gfx/display.h"
#include "gfx/sprites.h"
#include "input/input.h"
#include "platform/os.h"
#include "sound/sound_manager.h"
#include "zorvex/win_main.h"

namespace zorvex {

using namespace plat;

namespace {

constexpr COLORREF WHITE = 0xFFFFFF;

bool Enter_Down() { return (keys[DIK_RETURN] & 0x80) != 0; }

void Set_Up_Ship_And_Gun() {
  ship = SpriteRect{pointer_x, 448, 160, 0, 64, 16};
  for (Attachment& attachment : attachments) attachment.state = -1;
  gun.offx = 24;
  gun.offy = -8;
  gun.tick = Stamp_Tick();
  gun.interval = 50;
  gun.state = 0;
  gun.animf = 0;
  gun.frames[0][0] = SpriteRect{0, 0, 160, 16, 16, 16};
  for (int k = 0; k < 5; ++k) gun.frames[1][k] = SpriteRect{0, 0, 160 + 16 * k, 16, 16, 16};
}

// Nothing here stops start-up: a game without sound still plays.
void Init_Sound() {
  sound_manager = new (std::nothrow) CSoundManager();
  if (!sound_manager) {
    Log_Error("new CSoundManager failed");
    return;
  }
  sound_manager->Init(SOUND_SLOT_COUNT, main_window, nullptr);
  Load_Sound(SLOT_WALL, "bloop.wav");
  Load_Sound(SLOT_SHIP, "doing.wav");
  Load_Sound(SLOT_SHOOT, "shoot.wav");
  Load_Sound(SLOT_SERVE, "chippy.wav");
  Load_Sound(SLOT_BRICK, "explode1.wav");
  Load_Sound(SLOT_MUSIC, "music00.wav");
  Set_Slot_Volume(SLOT_MUSIC, -500);
}

// Sound and input come up after the display, and neither stops start-up.
int Init_DirectX() {
  if (!Init_Display()) return 0;
  Init_Sound();
  Init_Input();
  return 1;
}

void Title_Frame() {
  if (Enter_Down()) {
    game_mode = MODE_PLAY;
    Start_Level();
  }
  Blit_Sprite(lpddsback, 80, 32, 480, 160, 0, 0, lpddssys);
  Print_Text("Press Enter to Start Game.", 0, 460, WHITE, lpddsback);
  Flip_Pages();
}

void Play_Frame() {
  Fire_Check();
  Draw_Back();
  Move_Ship();
  Draw_Ship();
  Move_Balls();
  Draw_Balls();
  Move_Bricks();
  Draw_Brick();
  Draw_Hud();
  Flip_Pages();
}

// The level announcement: nothing in the game enters it, but it works when something does.
void Intro_Frame() {
  if (intro_timer.tick == 0) intro_timer.tick = Stamp_Tick();
  char text[40];
  std::snprintf(text, sizeof(text), "Prepare for level %d", static_cast<int>(level));
  Print_Text(text, 0, 460, WHITE, lpddsback);
  if (Stamp_Tick() - intro_timer.tick >= intro_timer.interval) {
    game_mode = MODE_PLAY;
    intro_timer.tick = 0;
  }
  Log_Error("Next Level");  // Kept quirk: every frame of the announcement
  Flip_Pages();
}

void Restart_Game() {
  Stop_Sound(SLOT_SERVE, 1);
  Play_Sound(SLOT_SERVE, 0);
  int r1 = rand();
  int r2 = rand();
  int r3 = rand();
  New_Ball(r3 % 640, 0, 8, 8, 224 + 8 * (r2 % 4), 8 * (r1 % 2), 5, 5);
  --level;  // Kept quirk: Start_Level counts it up again, so a restart replays the same level
  Start_Level();
  lives = 3;
  score = 0;
  game_mode = MODE_PLAY;
  Play_Sound(SLOT_MUSIC, DSBPLAY_LOOPING);
}

void Game_Over_Frame() {
  Blit_Sprite(lpddsback, 80, 32, 480, 120, 0, 160, lpddssys);
  Print_Text("Press Esc to Quit.", 0, 460, WHITE, lpddsback);
  Print_Text("Press Enter to Start Over,", 0, 440, WHITE, lpddsback);
  if (Enter_Down()) Restart_Game();
  Flip_Pages();
}

}  // namespace

int Setup_Game() {
  srand(Stamp_Tick());
  ShowCursor(false);
  if (Init_DirectX() != 1) {
    // Kept quirk: the message is spelt as the game always wrote it; logs are compared by it.
    Log_Error("DirectX Init Failed. Halting Exectution.");
    Close_Log();
    return 0;
  }
  Build_Sin_Table();
  Set_Up_Ship_And_Gun();
  for (Brick& brick : bricks) brick.hits = -1;
  New_Ball(0, 0, 8, 8, 224, 0, 5, 5);
  fire_timer = Timer{Stamp_Tick(), 50};
  brick_timer = Timer{Stamp_Tick(), 30};
  scroll_timer = Timer{Stamp_Tick(), 2};
  level = 0;
  Play_Sound(SLOT_MUSIC, DSBPLAY_LOOPING);
  lives = 3;
  return 1;
}

int Run_Frame() {
  // Kept quirk: each frame with Escape down posts another WM_DESTROY, and the loop takes the quit
  // only once its queue is empty, so Escape (or a pad's Back) held quits as it is let go.
  if (GetAsyncKeyState(VK_ESCAPE) & 0x8000) PostMessageA(main_window, WM_DESTROY, 0, 0);
  Poll_Input();
  Clear_Surface(lpddsback, 0);
  switch (game_mode) {
    case MODE_TITLE:
      Title_Frame();
      break;
    case MODE_PLAY:
      Play_Frame();
      break;
    case MODE_INTRO:
      Intro_Frame();
      break;
    case MODE_GAME_OVER:
      Game_Over_Frame();
      break;
    default:
      Flip_Pages();  // no mode draws anything else; keep the display's pace
      break;
  }
  return 1;
}

}  // namespace zorvex
