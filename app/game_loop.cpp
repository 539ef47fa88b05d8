// Start-up of the play field and the frame step with its game modes.
#include "app/game_loop.h"

#include <cstdio>

#include "app/log.h"
#include "app/shell.h"
#include "game/balls.h"
#include "game/bricks.h"
#include "game/level.h"
#include "game/rng.h"
#include "game/ship.h"
#include "gfx/background_hud.h"
#include "gfx/display.h"
#include "gfx/sprites.h"
#include "input/input.h"
#include "platform/os.h"
#include "sound/sound_manager.h"

namespace zorvex {

using namespace plat;

Timer fire_timer{0, 50};
int fire_latch = 0;
Timer intro_timer{0, 1000};

namespace {

constexpr COLORREF WHITE = 0xFFFFFF;
constexpr std::uint32_t FIRE_INTERVAL = 50;

bool Enter_Down() { return (keys[DIK_RETURN] & 0x80) != 0; }
bool Left_Button_Down() { return mouse_state.rgbButtons[0] != 0; }

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

// The gun fires when the button is seen down at a check after having been seen up at one.
void Fire_Check() {
  std::uint32_t now = Stamp_Tick();
  if (now - fire_timer.tick <= FIRE_INTERVAL) return;
  fire_timer.tick = Stamp_Tick();
  if (!Left_Button_Down()) {
    fire_latch = 0;
    return;
  }
  if (fire_latch) return;
  fire_latch = 1;
  if (gun.state == -1) return;
  const SpriteRect& frame = gun.frames[gun.state][gun.animf];
  New_Shot(ship.x + gun.offx + frame.x, ship.y + gun.offy + frame.y, 8, 8, 256, 0, 0, -15);
  Play_Sound(SLOT_SHOOT, 0);  // even when every shot is in flight
  gun.state = gun.state == 1 ? 0 : 1;
  gun.animf = 0;
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
  Log_Error("Next Level");
  Flip_Pages();
}

void Restart_Game() {
  Stop_Sound(SLOT_SERVE, 1);
  Play_Sound(SLOT_SERVE, 0);
  int r1 = rand();
  int r2 = rand();
  int r3 = rand();
  New_Ball(r3 % 640, 0, 8, 8, 224 + 8 * (r2 % 4), 8 * (r1 % 2), 5, 5);
  --level;
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
