#include "platform/sdl/sdl_host.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_hotkeys.h"
#include "platform/sdl/sdl_keymap.h"
#include "platform/sdl/sdl_latency.h"
#include "platform/sdl/sdl_overlay.h"
#include "platform/sdl/sdl_present.h"
#include "platform/sdl/sdl_screenshot.h"
#include "platform/soft/boot_clock.h"
#include "platform/soft/frame_pacer.h"

namespace plat::sdl {

namespace {

using plat::soft::InputState;

// With no display answering, SDL falls back to a driver that draws nowhere. Unless that driver was
// asked for by name, the player would get a game running with no window at all.
bool Fell_Back_To_Nowhere() {
  const char* current = SDL_GetCurrentVideoDriver();
  const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
  return Draws_Nowhere(current) && !(asked && std::strstr(asked, current));
}

constexpr int kMaxScale = 8;
constexpr int kWheelStep = 120;  // one notch, as the system counts it
constexpr int kRecentreLooks = 10;

class SdlHost final : public plat::soft::Host {
 public:
  explicit SdlHost(const SdlOptions& options) : options_(options) {}
  ~SdlHost() override;
  bool Start();

  std::uint32_t Ticks() override { return plat::soft::Boot_Ticks(); }
  bool Open_Window(const char* title, int width, int height) override;
  void Pump_Events(InputState* input) override;
  void Wait_Events(InputState* input, int timeout_ms) override;
  bool Visible() override { return !minimised_ && focused_ && !paused_; }
  void Present(const std::uint16_t* pixels, int width, int height) override;
  plat::soft::AudioSink* Audio_Sink() override { return sdl_sink_.get(); }

 private:
  int Window_Scale(int width, int height) const;
  void Handle(const SDL_Event& e, InputState* input);
  void Handle_Window(const SDL_WindowEvent& e, InputState* input);
  void Grab(bool on);
  void Take_Pointer(InputState* input);
  // The host's own keys (sdl_hotkeys.h); true when the event was one and is not the game's.
  bool Host_Key(const SDL_KeyboardEvent& e, InputState* input);
  void Set_Paused(bool paused, InputState* input);
  void Set_Volume(int percent);
  void Toggle_Full_Screen();
  void Screenshot(const std::uint16_t* pixels, int width, int height);
  void Report(const std::string& text);
  const std::uint16_t* With_Notes(const std::uint16_t* pixels, int width, int height);
  void Redraw();

  SdlOptions options_;
  SDL_Window* window_ = nullptr;
  std::unique_ptr<Presenter> presenter_;
  bool minimised_ = false;
  bool focused_ = true;
  int recentring_ = 0;  // looks left before the pointer's place counts again
  plat::soft::FramePacer pacer_;
  bool late_pacing_ = false;  // ZORVEX_PACING=late: the older order, for comparison
  std::unique_ptr<Latency_Probe> probe_;
  std::unique_ptr<SdlAudioSink> sdl_sink_;
  bool paused_ = false;
  int volume_ = 100;
  bool held_by_host_[SDL_NUM_SCANCODES] = {};  // pressed as a host key: its release is ours too
  bool screenshot_wanted_ = false;             // taken from the next frame shown
  const std::uint16_t* shown_ = nullptr;  // the frame on screen, while the game waits in a flip
  int frame_w_ = 0, frame_h_ = 0;         // the game's picture size
  Overlay overlay_;
  std::vector<std::uint16_t> noted_;  // a copy of the frame with the notes laid over it
};

SdlHost::~SdlHost() {
  probe_.reset();     // its thread sends SDL events
  sdl_sink_.reset();  // the audio device closes before SDL does
  presenter_.reset();
  if (window_) SDL_DestroyWindow(window_);
  SDL_Quit();
}

bool SdlHost::Start() {
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  if (options_.present == Present_Way::kAuto) options_.present = Choose_Present_Way();
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    SDL_Log("Could not start SDL video: %s", SDL_GetError());
    return false;
  }
  if (Fell_Back_To_Nowhere()) {
    SDL_Log("Could not start SDL video: no display answered");
    return false;
  }
  const char* pacing = std::getenv("ZORVEX_PACING");
  late_pacing_ = pacing && std::strcmp(pacing, "late") == 0;
  probe_ = Latency_Probe::From_Environment();
  if (!options_.nosound) sdl_sink_ = Make_Sdl_Audio_Sink();
  Set_Volume(options_.volume);
  return true;
}

// The largest whole factor that fits the desktop, or the one asked for.
int SdlHost::Window_Scale(int width, int height) const {
  if (options_.scale > 0) return std::clamp(options_.scale, 1, kMaxScale);
  SDL_Rect usable{0, 0, width, height};
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 1;
  int fit = std::min(usable.w / width, usable.h / height);
  return std::clamp(fit, 1, kMaxScale);
}

bool SdlHost::Open_Window(const char* title, int width, int height) {
  if (window_ || width <= 0 || height <= 0) return false;
  Uint32 flags = SDL_WINDOW_SHOWN;
  int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED, w = width, h = height;
  SDL_Rect desktop;
  if (options_.window) {
    const int scale = Window_Scale(width, height);
    w *= scale, h *= scale;
  } else if (SDL_GetDisplayBounds(0, &desktop) == 0) {
    // Made at the desktop's own place and size, so that an X server with no window manager
    // (which never moves it) shows it where the renderer thinks it is.
    flags |= SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS;
    x = desktop.x, y = desktop.y, w = desktop.w, h = desktop.h;
  } else {
    flags |= SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS;
  }
  window_ = SDL_CreateWindow(title, x, y, w, h, flags);
  if (!window_) return false;
  presenter_ = Make_Presenter(window_, options_.present, width, height);
  if (!presenter_) return false;
  frame_w_ = width, frame_h_ = height;
  Grab(true);
  return true;
}

// The pointer is hidden and held in the window while the game has focus, and let go
// otherwise. Motion is measured from the window's centre, where the pointer is put back after
// every look: this works on every X server (Xvfb and synthetic motion included), where SDL's
// relative mode does not always deliver.
void SdlHost::Grab(bool on) {
  SDL_SetWindowGrab(window_, on ? SDL_TRUE : SDL_FALSE);
  SDL_ShowCursor(on ? SDL_DISABLE : SDL_ENABLE);
  if (!on) return;
  int w = 0, h = 0;
  SDL_GetWindowSize(window_, &w, &h);
  SDL_WarpMouseInWindow(window_, w / 2, h / 2);
  recentring_ = kRecentreLooks;
}

void SdlHost::Take_Pointer(InputState* input) {
  if (!window_ || !focused_ || minimised_ || paused_) return;
  int w = 0, h = 0, x = 0, y = 0;
  SDL_GetWindowSize(window_, &w, &h);
  SDL_GetMouseState(&x, &y);
  if (x == w / 2 && y == h / 2) {
    recentring_ = 0;
    return;
  }
  // Until the pointer has been seen at the centre, where it was put on grabbing, its position
  // is where it was left while away, which is not motion for the game.
  if (recentring_ == 0) input->Motion(x - w / 2, y - h / 2, 0);
  if (recentring_ > 0) --recentring_;
  SDL_WarpMouseInWindow(window_, w / 2, h / 2);
}

void SdlHost::Pump_Events(InputState* input) {
  if (probe_) probe_->Pump_Begins();
  SDL_Event e;
  while (SDL_PollEvent(&e)) Handle(e, input);
  Take_Pointer(input);
}

void SdlHost::Wait_Events(InputState* input, int timeout_ms) {
  SDL_Event e;
  if (SDL_WaitEventTimeout(&e, timeout_ms)) Handle(e, input);
  Pump_Events(input);
  // The game waits in its flip and shows nothing: the host keeps its picture and notes up.
  if (paused_ && !minimised_) Redraw();
}

void SdlHost::Handle(const SDL_Event& e, InputState* input) {
  if (probe_ && probe_->Handle(e)) return;
  switch (e.type) {
    case SDL_QUIT:
      input->Request_Close();
      break;
    case SDL_WINDOWEVENT:
      Handle_Window(e.window, input);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      if (!focused_ || Host_Key(e.key, input)) break;
      if (paused_) {
        // Escape quits at any moment: it ends the pause and goes to the game.
        if (e.type != SDL_KEYDOWN || e.key.keysym.scancode != SDL_SCANCODE_ESCAPE) break;
        Set_Paused(false, input);
      }
      const int dik = Scancode_To_Dik(e.key.keysym.scancode);
      if (dik >= 0) input->Key(dik, e.type == SDL_KEYDOWN);
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      if (!focused_ || paused_) break;
      const int index = e.button.button == SDL_BUTTON_LEFT     ? 0
                        : e.button.button == SDL_BUTTON_RIGHT  ? 1
                        : e.button.button == SDL_BUTTON_MIDDLE ? 2
                                                               : 3;
      input->Button(index, e.type == SDL_MOUSEBUTTONDOWN);
      break;
    }
    case SDL_MOUSEWHEEL:
      if (focused_ && !paused_) input->Motion(0, 0, e.wheel.y * kWheelStep);
      break;
    default:
      break;
  }
}

void SdlHost::Handle_Window(const SDL_WindowEvent& e, InputState* input) {
  switch (e.event) {
    case SDL_WINDOWEVENT_CLOSE:
      input->Request_Close();
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      if (presenter_) presenter_->Invalidate();
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      if (presenter_) presenter_->Invalidate();
      if (focused_ && !paused_) Grab(true);  // recentre the pointer in the new size
      break;
    case SDL_WINDOWEVENT_MINIMIZED:
      minimised_ = true;
      break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_SHOWN:
      minimised_ = false;
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      focused_ = true;
      input->Drop_Motion();
      if (!paused_) Grab(true);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      focused_ = false;
      input->Release_All();
      input->Drop_Motion();
      Grab(false);
      break;
    default:
      break;
  }
}

// The one place a frame leaves for the screen, whichever way it is presented.
void SdlHost::Present(const std::uint16_t* pixels, int width, int height) {
  if (!presenter_) return;
  shown_ = pixels;
  if (screenshot_wanted_) Screenshot(pixels, width, height);
  presenter_->Draw(With_Notes(pixels, width, height), width, height);
  if (late_pacing_) pacer_.Wait();  // the older order: the sleep between drawing and showing
  presenter_->Show();
  if (probe_) probe_->Shown();
  // Just in time: the sleep follows the show and ends a learned margin before the next
  // deadline, so the next frame reads its input as late as it safely can. Vsync alone would
  // run the game faster on a fast display; the pacer holds it to 60 either way.
  if (!late_pacing_) pacer_.Frame_Shown();
}

// ---- The host's own keys and the notes over the picture ----

bool SdlHost::Host_Key(const SDL_KeyboardEvent& e, InputState* input) {
  const SDL_Scancode code = e.keysym.scancode;
  if (code < 0 || code >= SDL_NUM_SCANCODES) return false;
  if (e.type == SDL_KEYUP) {
    const bool ours = held_by_host_[code];
    held_by_host_[code] = false;
    return ours;
  }
  // A key the game already holds stays the game's, even when a modifier joins it.
  if (e.repeat && !held_by_host_[code]) return false;
  const HostKey key = Host_Key_Of(e.keysym.sym, e.keysym.mod);
  if (key == HostKey::kNone) {
    held_by_host_[code] = false;  // a release missed while away must not take the game's
    return false;
  }
  held_by_host_[code] = true;
  if (e.repeat && key != HostKey::kVolumeDown && key != HostKey::kVolumeUp) return true;
  const std::uint64_t now = SDL_GetTicks64();
  switch (key) {
    case HostKey::kFullScreen:
      Toggle_Full_Screen();
      break;
    case HostKey::kPause:
      Set_Paused(!paused_, input);
      break;
    case HostKey::kVolumeDown:
    case HostKey::kVolumeUp: {
      const int step = key == HostKey::kVolumeUp ? kVolumeStep : -kVolumeStep;
      Set_Volume(std::clamp(volume_ + step, 0, 100));
      overlay_.Note(
          "Volume " + std::to_string(volume_) + "%" + (sdl_sink_ ? "" : " (sound is off)"), now);
      break;
    }
    case HostKey::kScreenshot:
      // The frame on screen while the game waits; otherwise the next one shown.
      if (paused_ && shown_)
        Screenshot(shown_, frame_w_, frame_h_);
      else
        screenshot_wanted_ = true;
      break;
    case HostKey::kNone:
      break;
  }
  return true;
}

// As losing the focus: the game waits in its flip, keys and buttons are let go, the pointer is
// the player's again; and the music stops where it is.
void SdlHost::Set_Paused(bool paused, InputState* input) {
  if (paused == paused_) return;
  paused_ = paused;
  overlay_.Set_Paused(paused);
  if (sdl_sink_) sdl_sink_->Set_Paused(paused);
  if (paused) input->Release_All();
  input->Drop_Motion();
  if (focused_ && window_) Grab(!paused);
}

void SdlHost::Set_Volume(int percent) {
  volume_ = std::clamp(percent, 0, 100);
  if (sdl_sink_) sdl_sink_->Set_Volume(volume_);
}

void SdlHost::Toggle_Full_Screen() {
  if (!window_) return;
  const bool full = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0;
  SDL_Rect desktop;
  const int display = SDL_GetWindowDisplayIndex(window_);
  if (!full && SDL_GetDisplayBounds(display < 0 ? 0 : display, &desktop) == 0) {
    // At the desktop's own place and size first, as when the game opens full screen: an X
    // server with no window manager leaves the window where it is.
    SDL_SetWindowBordered(window_, SDL_FALSE);
    SDL_SetWindowPosition(window_, desktop.x, desktop.y);
    SDL_SetWindowSize(window_, desktop.w, desktop.h);
  }
  if (SDL_SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
    overlay_.Note(std::string("Could not switch: ") + SDL_GetError(), SDL_GetTicks64());
    return;
  }
  if (full) {
    const int scale = Window_Scale(frame_w_, frame_h_);
    SDL_SetWindowBordered(window_, SDL_TRUE);
    SDL_SetWindowSize(window_, frame_w_ * scale, frame_h_ * scale);
    SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  }
  if (presenter_) presenter_->Invalidate();
  if (focused_ && !paused_) Grab(true);
  if (paused_) Redraw();
}

void SdlHost::Screenshot(const std::uint16_t* pixels, int width, int height) {
  screenshot_wanted_ = false;
  std::string result;
  const bool saved = Save_Screenshot(pixels, width, height, Screenshot_Dir(), &result);
  const std::string text =
      saved ? "Screenshot saved to " + result : "Screenshot not saved: " + result;
  overlay_.Note(text, SDL_GetTicks64());
  Report(text);
}

void SdlHost::Report(const std::string& text) {
  if (options_.report)
    options_.report(text.c_str());
  else
    std::fprintf(stderr, "zorvex: %s\n", text.c_str());
}

// The notes go into a copy of the frame, so they show on either present path and never reach
// the game's own picture.
const std::uint16_t* SdlHost::With_Notes(const std::uint16_t* pixels, int width, int height) {
  overlay_.Update(SDL_GetTicks64());
  if (overlay_.Empty()) return pixels;
  noted_.assign(pixels, pixels + static_cast<std::size_t>(width) * height);
  const plat::soft::Pixels& image = overlay_.Image();
  for (int y = 0; y < image.height; ++y) {
    const int to_y = overlay_.Y() + y;
    if (to_y < 0 || to_y >= height) continue;
    for (int x = 0; x < image.width; ++x) {
      const int to_x = overlay_.X() + x;
      if (to_x >= 0 && to_x < width)
        noted_[static_cast<std::size_t>(to_y) * width + to_x] =
            image.data[static_cast<std::size_t>(y) * image.width + x];
    }
  }
  return noted_.data();
}

// The last frame again with the notes over it, for when the game shows none.
void SdlHost::Redraw() {
  if (!presenter_ || !shown_) return;
  presenter_->Invalidate();
  presenter_->Draw(With_Notes(shown_, frame_w_, frame_h_), frame_w_, frame_h_);
  presenter_->Show();
}

}  // namespace

std::unique_ptr<plat::soft::Host> Make_Sdl_Host(const SdlOptions& options) {
  auto host = std::make_unique<SdlHost>(options);
  if (!host->Start()) return nullptr;
  return host;
}

}  // namespace plat::sdl
