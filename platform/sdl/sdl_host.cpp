#include "platform/sdl/sdl_host.h"

#include <SDL.h>

#include <algorithm>

#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_keymap.h"
#include "platform/soft/boot_clock.h"
#include "platform/soft/frame_pacer.h"

namespace plat::sdl {

namespace {

using plat::soft::InputState;

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
  bool Visible() override { return !minimised_ && focused_; }
  void Present(const std::uint16_t* pixels, int width, int height) override;
  plat::soft::AudioSink* Audio_Sink() override { return sink_.get(); }

 private:
  int Window_Scale(int width, int height) const;
  void Handle(const SDL_Event& e, InputState* input);
  void Handle_Window(const SDL_WindowEvent& e, InputState* input);
  void Grab(bool on);
  void Take_Pointer(InputState* input);

  SdlOptions options_;
  std::unique_ptr<plat::soft::AudioSink> sink_;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  int texture_w_ = 0, texture_h_ = 0;
  bool minimised_ = false;
  bool focused_ = true;
  int recentring_ = 0;  // looks left before the pointer's place counts again
  plat::soft::FramePacer pacer_;
};

SdlHost::~SdlHost() {
  sink_.reset();  // the audio device closes before SDL does
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
  SDL_Quit();
}

bool SdlHost::Start() {
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    SDL_Log("Could not start SDL video: %s", SDL_GetError());
    return false;
  }
  if (!options_.nosound) sink_ = Make_Sdl_Audio_Sink();
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
  renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
  if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  if (!renderer_) return false;
  SDL_RenderSetLogicalSize(renderer_, width, height);
  int out_w = 0, out_h = 0;
  SDL_GetRendererOutputSize(renderer_, &out_w, &out_h);
  // Whole-number scaling where at least twice the picture fits (crisp pixels); on a smaller
  // screen, such as 1024 x 768, filling it beats a small picture in a wide black frame.
  const bool twice_fits = out_w >= 2 * width && out_h >= 2 * height;
  SDL_RenderSetIntegerScale(renderer_, twice_fits ? SDL_TRUE : SDL_FALSE);
  texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                               width, height);
  if (!texture_) return false;
  texture_w_ = width, texture_h_ = height;
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
  if (!window_ || !focused_ || minimised_) return;
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
  SDL_Event e;
  while (SDL_PollEvent(&e)) Handle(e, input);
  Take_Pointer(input);
}

void SdlHost::Wait_Events(InputState* input, int timeout_ms) {
  SDL_Event e;
  if (SDL_WaitEventTimeout(&e, timeout_ms)) Handle(e, input);
  Pump_Events(input);
}

void SdlHost::Handle(const SDL_Event& e, InputState* input) {
  switch (e.type) {
    case SDL_QUIT:
      input->Request_Close();
      break;
    case SDL_WINDOWEVENT:
      Handle_Window(e.window, input);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      if (!focused_) break;
      const int dik = Scancode_To_Dik(e.key.keysym.scancode);
      if (dik >= 0) input->Key(dik, e.type == SDL_KEYDOWN);
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      if (!focused_) break;
      const int index = e.button.button == SDL_BUTTON_LEFT     ? 0
                        : e.button.button == SDL_BUTTON_RIGHT  ? 1
                        : e.button.button == SDL_BUTTON_MIDDLE ? 2
                                                               : 3;
      input->Button(index, e.type == SDL_MOUSEBUTTONDOWN);
      break;
    }
    case SDL_MOUSEWHEEL:
      if (focused_) input->Motion(0, 0, e.wheel.y * kWheelStep);
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
      Grab(true);
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

void SdlHost::Present(const std::uint16_t* pixels, int width, int height) {
  if (!renderer_ || width != texture_w_ || height != texture_h_) return;
  SDL_UpdateTexture(texture_, nullptr, pixels, width * static_cast<int>(sizeof(std::uint16_t)));
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
  // Vsync alone would run the game faster on a fast display, so the pacer caps it at 60.
  pacer_.Wait();
  SDL_RenderPresent(renderer_);
}

}  // namespace

std::unique_ptr<plat::soft::Host> Make_Sdl_Host(const SdlOptions& options) {
  auto host = std::make_unique<SdlHost>(options);
  if (!host->Start()) return nullptr;
  return host;
}

}  // namespace plat::sdl
