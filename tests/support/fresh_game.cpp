#include "tests/support/fresh_game.h"

#include <cstring>

#include "app/game_loop.h"
#include "app/shell.h"
#include "game/balls.h"
#include "game/bricks.h"
#include "game/level.h"
#include "game/rng.h"
#include "game/ship.h"
#include "gfx/background_hud.h"
#include "gfx/display.h"
#include "input/input.h"
#include "platform/os.h"

namespace zorvex::harness {

void Reset_Game_Globals() {
  score = lives = level = 0;
  game_mode = MODE_TITLE;
  rand_state = 1;
  for (Ball& b : balls) b = Ball{};
  for (Brick& b : bricks) b = Brick{};
  for (Shot& s : shots) s = Shot{};
  for (Attachment& a : attachments) a = Attachment{};
  ship = SpriteRect{};
  back_tile = TileRect{};
  scroll_y = 0;
  scroll_timer = Timer{};
  brick_timer = Timer{};
  fire_timer = Timer{0, 50};
  fire_latch = 0;
  intro_timer = Timer{0, 1000};
  pointer_x = 0;
  std::memset(keys, 0, sizeof(keys));
  mouse_state = plat::DIMOUSESTATE{};
  main_window = nullptr;
  app_instance = nullptr;
}

void Release_Leftovers() {
  if (lpddclipper) lpddclipper->Release();
  lpddclipper = nullptr;
}

namespace {
int instance_tag;
}

bool Open_Game_Window() {
  plat::WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.lpszClassName = "ZorvexBall";
  plat::RegisterClassA(&wc);
  main_window = plat::CreateWindowExA(0, "ZorvexBall", "Zorvex!", 0, 0, 0, 640, 480, nullptr,
                                      nullptr, nullptr, nullptr);
  app_instance = reinterpret_cast<plat::HINSTANCE>(&instance_tag);
  return main_window != nullptr;
}

}  // namespace zorvex::harness
