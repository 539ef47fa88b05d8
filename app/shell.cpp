// The entry point, the one window, the message loop and shutdown.
#include "app/shell.h"

#include "app/game_loop.h"
#include "app/session.h"
#include "core/startup.h"
#include "core/types.h"
#include "gfx/display.h"
#include "input/input.h"
#include "sound/sound_manager.h"

namespace zorvex {

using namespace plat;

namespace {

constexpr const char* WINDOW_CLASS = "ZorvexBall";
constexpr const char* WINDOW_TITLE = "Zorvex!";
// Start-up failed: the program says why and exits with this, not with success.
constexpr int EXIT_STARTUP_FAILED = 1;

bool Register_Window_Class(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
  wc.lpfnWndProc = WindowProc;
  wc.cbClsExtra = 0;
  wc.cbWndExtra = 0;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = GetStockObject(BLACK_BRUSH);
  wc.lpszMenuName = nullptr;
  wc.lpszClassName = WINDOW_CLASS;
  return RegisterClassA(&wc) != 0;
}

template <typename T>
void Release(T*& object) {
  if (object) object->Release();
  object = nullptr;
}

template <typename T>
void Unacquire_And_Release(T*& device) {
  if (!device) return;
  device->Unacquire();
  device->Release();
  device = nullptr;
}

}  // namespace

bool Open_Game_Window(HINSTANCE instance) {
  if (!Register_Window_Class(instance)) {
    Remember_Startup_Failure("Could not register the window class");
    return false;
  }
  HWND window = CreateWindowExA(0, WINDOW_CLASS, WINDOW_TITLE, WS_POPUP | WS_VISIBLE, 0, 0,
                                SCREEN_WIDTH, SCREEN_HEIGHT, nullptr, nullptr, instance, nullptr);
  if (!window) {
    Remember_Startup_Failure("Could not create the window");
    return false;
  }
  main_window = window;
  app_instance = instance;
  return true;
}

int WinMain(HINSTANCE instance, HINSTANCE, const char*, int) {
  int exit_code = Start_Game(instance);
  if (exit_code != GAME_RUNNING) return exit_code;
  do exit_code = Message_Pass();
  while (exit_code == GAME_RUNNING);
  Shutdown_Game();
  return exit_code;
}

int Start_Game(HINSTANCE instance) {
  if (!Open_Game_Window(instance)) return EXIT_STARTUP_FAILED;

  Session_Before_Setup();
  if (!Setup_Game()) return EXIT_STARTUP_FAILED;
  Session_After_Setup();
  return GAME_RUNNING;
}

// One message at most, then one frame; the quit message ends the loop.
int Message_Pass() {
  MSG msg{};
  bool got = PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
  if (got && msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
  if (got) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (!Session_Before_Frame()) return 0;
  Run_Frame();
  Session_After_Frame();
  return GAME_RUNNING;
}

LRESULT WindowProc(HWND window, std::uint32_t message, WPARAM wp, LPARAM lp) {
  switch (message) {
    case WM_CREATE:
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      BeginPaint(window, &ps);
      EndPaint(window, &ps);
      return 0;
    }
    default:
      return DefWindowProcA(window, message, wp, lp);
  }
}

// Kept quirk: the DirectDraw object goes before its surfaces and DirectInput before its
// devices; the clipper is left to the process's end.
int Shutdown_Game() {
  delete sound_manager;
  sound_manager = nullptr;
  Release(lpdd);
  Release(lpddsback);
  Release(lpddsfront);
  Release(lpddsgfx);
  Release(lpddssys);
  Release(lpdi);
  Unacquire_And_Release(lpdikeyboard);
  Unacquire_And_Release(lpdimouse);
  return 1;
}

}  // namespace zorvex
