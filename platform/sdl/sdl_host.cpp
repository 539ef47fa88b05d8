#include "platform/sdl/sdl_host.h"

#include <SDL.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/host_layer.h"
#include "host/screenshot.h"
#include "platform/data_path.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_keymap.h"
#include "platform/sdl/sdl_pad.h"
#include "platform/sdl/sdl_present.h"
#include "platform/soft/boot_clock.h"
#include "platform/soft/frame_pacer.h"

namespace plat::sdl {

namespace {

using plat::soft::InputState;

WatcherMaker make_watcher = nullptr;  // set only in zorvex-measure

// With no display answering, SDL falls back to a driver that draws nowhere. Unless that driver was
// asked for by name, the player would get a game running with no window at all.
bool Fell_Back_To_Nowhere() {
  const char* current = SDL_GetCurrentVideoDriver();
  const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
  return Draws_Nowhere(current) && !(asked && std::strstr(asked, current));
}

// The key in the host layer's words: P, - and = as the player's layout names them, the others
// where they sit (A and D beside the other hand's keys, whatever the layout).
host::Key Key_Of(const SDL_Keysym& k) {
  switch (k.sym) {
    case SDLK_p:
      return host::Key::P;
    case SDLK_MINUS:
      return host::Key::MINUS;
    case SDLK_EQUALS:
      return host::Key::EQUALS;
    case SDLK_PLUS:
      return host::Key::PLUS;
    default:
      break;
  }
  const host::Key at = host::Key_At(Scancode_To_Dik(k.scancode));
  return host::Named_By_Layout(at) ? host::Key::OTHER : at;
}

// $XDG_PICTURES_DIR when set and not empty, otherwise the working directory.
bool Keep_Picture(const std::uint16_t* pixels, int width, int height, std::string* result) {
  const char* dir = std::getenv("XDG_PICTURES_DIR");
  return host::Save_Screenshot(pixels, width, height, dir && *dir ? dir : ".", result);
}

constexpr int MAX_SCALE = 8;
constexpr int WHEEL_STEP = 120;  // one notch, as the system counts it
constexpr int RECENTRE_LOOKS = 10;

class SdlHost final : public plat::soft::Host {
 public:
  explicit SdlHost(const SdlOptions& options)
      : options_(options), layer_(options.host, Keep_Picture) {}
  ~SdlHost() override;
  bool Start();

  std::uint32_t Ticks() override { return plat::soft::Boot_Ticks(); }
  bool Open_Window(const char* title, int width, int height) override;
  void Pump_Events(InputState* input) override;
  void Wait_Events(InputState* input, int timeout_ms) override;
  bool Visible() override { return !minimised_ && focused_ && !layer_.Paused(); }
  void Present(const std::uint16_t* pixels, int width, int height) override;
  plat::soft::AudioSink* Audio_Sink() override { return sdl_sink_.get(); }
  void Lose_Display();

 private:
  int Window_Scale(int width, int height) const;
  void Handle(const SDL_Event& e, InputState* input);
  void Handle_Window(const SDL_WindowEvent& e, InputState* input);
  void Grab(bool on);
  void Take_Pointer(InputState* input);
  void Key(const SDL_KeyboardEvent& e, InputState* input);
  void Pause_Changed(InputState* input);
  void Audio_Device(const SDL_AudioDeviceEvent& e);
  void Poll_Pads(InputState* input);
  void Toggle_Full_Screen();
  void Redraw();

  SdlOptions options_;
  SDL_Window* window_ = nullptr;
  std::unique_ptr<Presenter> presenter_;
  bool minimised_ = false;
  bool focused_ = true;
  int recentring_ = 0;  // looks left before the pointer's place counts again
  plat::soft::FramePacer pacer_;
  bool late_pacing_ = false;  // the older order, for a measuring program's comparison
  std::unique_ptr<FrameWatcher> probe_;
  std::unique_ptr<SdlAudioSink> sdl_sink_;
  int frame_w_ = 0, frame_h_ = 0;  // the game's picture size
  host::HostLayer layer_;          // the host's keys, notes and screenshots
  SdlPads pads_;
  bool display_lost_ = false;
};

SdlHost* live_host = nullptr;

// Xlib's word that the X server is gone. Once this returns, Xlib ends the program with status 1
// through exit(), whose destructors end the host: said once here, and the host's end then leaves
// the dead display alone (talking to it from there spins for ever).
int Display_Lost(Display*) {
  if (live_host) live_host->Lose_Display();
  return 0;
}

void SdlHost::Lose_Display() {
  if (!display_lost_) layer_.Report("The display went away: the game ends");
  display_lost_ = true;
}

SdlHost::~SdlHost() {
  live_host = nullptr;
  probe_.reset();     // its thread sends SDL events
  sdl_sink_.reset();  // the audio device closes before SDL does
  pads_.Stop();
  if (display_lost_) {
    static_cast<void>(presenter_.release());  // the process is ending; its window goes with it
    return;
  }
  presenter_.reset();
  if (window_) SDL_DestroyWindow(window_);
  SDL_Quit();
}

bool SdlHost::Start() {
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  if (options_.present == PresentWay::AUTO) options_.present = Choose_Present_Way();
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    SDL_Log("Could not start SDL video: %s", SDL_GetError());
    return false;
  }
  if (Fell_Back_To_Nowhere()) {
    SDL_Log("Could not start SDL video: no display answered");
    return false;
  }
  live_host = this;
  if (std::strcmp(SDL_GetCurrentVideoDriver(), "x11") == 0) XSetIOErrorHandler(Display_Lost);
  if (make_watcher) probe_ = make_watcher();
  late_pacing_ = probe_ && probe_->Old_Order();
  pads_.Start(plat::Data_Path("gamecontrollerdb.txt").c_str());
  if (options_.host.sound) sdl_sink_ = Make_Sdl_Audio_Sink();
  if (sdl_sink_) sdl_sink_->Set_Volume(layer_.Volume());
  return true;
}

// The largest whole factor that fits the desktop, or the one asked for.
int SdlHost::Window_Scale(int width, int height) const {
  SDL_Rect usable{0, 0, width, height};
  const bool known = SDL_GetDisplayUsableBounds(0, &usable) == 0;
  const int fit =
      known ? std::clamp(std::min(usable.w / width, usable.h / height), 1, MAX_SCALE) : 1;
  if (options_.scale > 0 && !(options_.scale_gives_way && known && options_.scale > fit))
    return std::clamp(options_.scale, 1, MAX_SCALE);
  return fit;
}

bool SdlHost::Open_Window(const char* title, int width, int height) {
  if (window_ || width <= 0 || height <= 0) return false;
  Uint32 flags = SDL_WINDOW_SHOWN;
  int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED, w = width, h = height;
  SDL_Rect desktop;
  if (options_.window) {
    const int scale = Window_Scale(width, height);
    w *= scale, h *= scale;
  } else {
    flags |= SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS;
    // Made at the desktop's own place and size, so that an X server with no window manager
    // (which never moves it) shows it where the renderer thinks it is.
    if (SDL_GetDisplayBounds(0, &desktop) == 0)
      x = desktop.x, y = desktop.y, w = desktop.w, h = desktop.h;
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
  recentring_ = RECENTRE_LOOKS;
}

void SdlHost::Take_Pointer(InputState* input) {
  if (!window_ || !focused_ || minimised_ || layer_.Paused()) return;
  input->Motion(layer_.Key_Motion(SDL_GetTicks64()), 0, 0);
  int w = 0, h = 0, x = 0, y = 0;
  SDL_GetWindowSize(window_, &w, &h);
  SDL_GetMouseState(&x, &y);
  if (x == w / 2 && y == h / 2) {
    recentring_ = 0;
    return;
  }
  // Until the pointer has been seen at the centre, where it was put on grabbing, its position
  // is where it was left while away, which is not motion for the game.
  if (recentring_ == 0) {
    std::int32_t dx = x - w / 2, dy = y - h / 2;
    layer_.Scale_Mouse(&dx, &dy);
    input->Motion(dx, dy, 0);
  }
  if (recentring_ > 0) --recentring_;
  SDL_WarpMouseInWindow(window_, w / 2, h / 2);
}

void SdlHost::Pump_Events(InputState* input) {
  if (probe_) probe_->Pump_Begins();
  SDL_Event e;
  while (SDL_PollEvent(&e)) Handle(e, input);
  Poll_Pads(input);
  Take_Pointer(input);
}

void SdlHost::Wait_Events(InputState* input, int timeout_ms) {
  SDL_Event e;
  if (SDL_WaitEventTimeout(&e, timeout_ms)) Handle(e, input);
  Pump_Events(input);
  // The game waits in its flip and shows nothing: the host keeps its picture and notes up.
  if (layer_.Paused() && !minimised_) Redraw();
}

void SdlHost::Handle(const SDL_Event& e, InputState* input) {
  if (probe_ && probe_->Handle(e)) return;
  if (pads_.Handle(e)) return;
  switch (e.type) {
    case SDL_QUIT:
      input->Request_Close();
      break;
    case SDL_WINDOWEVENT:
      Handle_Window(e.window, input);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      if (focused_) Key(e.key, input);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      if (!focused_ || layer_.Paused()) break;
      const int index = e.button.button == SDL_BUTTON_LEFT     ? 0
                        : e.button.button == SDL_BUTTON_RIGHT  ? 1
                        : e.button.button == SDL_BUTTON_MIDDLE ? 2
                                                               : 3;
      input->Button(index, e.type == SDL_MOUSEBUTTONDOWN);
      break;
    }
    case SDL_AUDIODEVICEADDED:
    case SDL_AUDIODEVICEREMOVED:
      Audio_Device(e.adevice);
      break;
    case SDL_MOUSEWHEEL:
      if (focused_ && !layer_.Paused()) input->Motion(0, 0, e.wheel.y * WHEEL_STEP);
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
      if (focused_ && !layer_.Paused()) Grab(true);  // recentre the pointer in the new size
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
      if (!layer_.Paused()) Grab(true);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      focused_ = false;
      input->Release_All();
      input->Drop_Motion();
      layer_.Let_Go();
      Grab(false);
      break;
    default:
      break;
  }
}

// The one place a frame leaves for the screen, whichever way it is presented.
void SdlHost::Present(const std::uint16_t* pixels, int width, int height) {
  if (!presenter_) return;
  presenter_->Draw(layer_.Frame(pixels, width, height, SDL_GetTicks64()), width, height);
  if (late_pacing_) pacer_.Wait();  // the older order: the sleep between drawing and showing
  presenter_->Show();
  if (probe_) probe_->Shown();
  // Just in time: the sleep follows the show and ends a learned margin before the next
  // deadline, so the next frame reads its input as late as it safely can. Vsync alone would
  // run the game faster on a fast display; the pacer holds it to 60 either way.
  if (!late_pacing_) pacer_.Frame_Shown();
}

// ---- The host's own keys, carried out as the host layer answers ----

void SdlHost::Key(const SDL_KeyboardEvent& e, InputState* input) {
  const SDL_Scancode code = e.keysym.scancode;
  host::KeyEvent event;
  event.key = Key_Of(e.keysym);
  event.code = code;
  event.down = e.type == SDL_KEYDOWN;
  event.repeat = e.repeat != 0;
  event.alt = (e.keysym.mod & KMOD_ALT) != 0;
  // At the time the key went, not when it is handled: a slow frame must not shorten a hold.
  const Uint64 now = SDL_GetTicks64();
  const Uint32 ago = static_cast<Uint32>(now) - e.timestamp;
  const host::Reaction reaction = layer_.Key(event, ago > now ? 0 : now - ago);
  if (reaction.pause) Pause_Changed(input);
  if (reaction.volume && sdl_sink_) sdl_sink_->Set_Volume(layer_.Volume());
  if (reaction.switch_screen) Toggle_Full_Screen();
  if (reaction.fire != 0) input->Button(0, reaction.fire > 0);
  const int dik = Scancode_To_Dik(code);
  if (reaction.to_game && dik >= 0) input->Key(dik, event.down);
}

// A headset unplugged: the game plays on in silence, and the sound comes back on the default
// device when one is there again.
void SdlHost::Audio_Device(const SDL_AudioDeviceEvent& e) {
  if (!sdl_sink_ || e.iscapture) return;
  const std::uint64_t now = SDL_GetTicks64();
  if (e.type == SDL_AUDIODEVICEREMOVED && sdl_sink_->Device_Removed(e.which))
    layer_.Note("Sound device lost: playing on in silence", now);
  if (e.type == SDL_AUDIODEVICEADDED && sdl_sink_->Device_Added()) {
    sdl_sink_->Set_Volume(layer_.Volume());
    layer_.Note("Sound is back", now);
  }
}

// The pads become the mouse's motion and left button, Enter and Escape.
void SdlHost::Poll_Pads(InputState* input) {
  const host::PadReaction r = layer_.Pad(pads_.State(), SDL_GetTicks64(), focused_);
  if (r.pause) Pause_Changed(input);
  if (focused_) host::Pad_To_Game(r, input);
}

// As losing the focus: the game waits in its flip, keys and buttons are let go, the pointer is
// the player's again; and the music stops where it is.
void SdlHost::Pause_Changed(InputState* input) {
  const bool paused = layer_.Paused();
  if (sdl_sink_) sdl_sink_->Set_Paused(paused);
  if (paused) input->Release_All();
  input->Drop_Motion();
  if (focused_ && window_) Grab(!paused);
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
    layer_.Note(std::string("Could not switch: ") + SDL_GetError(), SDL_GetTicks64());
    return;
  }
  if (full) {
    const int scale = Window_Scale(frame_w_, frame_h_);
    SDL_SetWindowBordered(window_, SDL_TRUE);
    SDL_SetWindowSize(window_, frame_w_ * scale, frame_h_ * scale);
    SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  }
  layer_.Remember("window", full ? 1 : 0, SDL_GetTicks64());
  if (presenter_) presenter_->Invalidate();
  if (focused_ && !layer_.Paused()) Grab(true);
  if (layer_.Paused()) Redraw();
}

// The last frame again with the notes over it, for when the game shows none.
void SdlHost::Redraw() {
  const std::uint16_t* frame = layer_.Frame_Again(SDL_GetTicks64());
  if (!presenter_ || !frame) return;
  presenter_->Invalidate();
  presenter_->Draw(frame, layer_.Width(), layer_.Height());
  presenter_->Show();
}

}  // namespace

bool Watch_Frames(WatcherMaker make) {
  make_watcher = make;
  return true;
}

std::unique_ptr<plat::soft::Host> Make_Sdl_Host(const SdlOptions& options) {
  auto host = std::make_unique<SdlHost>(options);
  if (!host->Start()) return nullptr;
  return host;
}

}  // namespace plat::sdl
