// The program's entry point, its one window, the message loop and shutdown.
#include "zorvex/win_main.h"

#include "core/startup.h"
#include "core/types.h"
#include "gfx/display.h"
#include "input/input.h"
#include "sound/sound_manager.h"
#include "zorvex/game_loop.h"

namespace zorvex {

using namespace plat;

namespace {

constexpr const char* WINDOW_CLASS = "ZorvexBall";
constexpr const char* WINDOW_TITLE = "Zorvex!";
RunHooks hooks;
RunEnd run_end = nullptr;

int Run_Over(int exit_code) { return run_end ? run_end(exit_code) : exit_code; }

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

void Set_Run_Hooks(const RunHooks& run_hooks) { hooks = run_hooks; }
void Set_Run_End(RunEnd end) { run_end = end; }

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
  while (exit_code == GAME_RUNNING) exit_code = Message_Pass();
  return exit_code;
}

// A failed start-up leaves what it made; Shutdown_Game is for a run that got going.
int Start_Game(HINSTANCE instance) {
  if (!Open_Game_Window(instance)) return Run_Over(EXIT_STARTUP_FAILED);
  if (hooks.before_setup) hooks.before_setup();
  if (!Setup_Game()) return Run_Over(EXIT_STARTUP_FAILED);
  if (hooks.after_setup) hooks.after_setup();
  return GAME_RUNNING;
}

// One message at most, then one frame; the quit message, or the end of the run's input, ends
// the loop.
int Message_Pass() {
  MSG msg{};
  bool got = PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
  int exit_code = GAME_RUNNING;
  if (got && msg.message == WM_QUIT) {
    exit_code = static_cast<int>(msg.wParam);
  } else {
    if (got) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (hooks.before_frame && !hooks.before_frame()) exit_code = 0;
  }
  if (exit_code != GAME_RUNNING) {
    Shutdown_Game();
    return Run_Over(exit_code);
  }
  Run_Frame();
  if (hooks.after_frame) hooks.after_frame();
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
