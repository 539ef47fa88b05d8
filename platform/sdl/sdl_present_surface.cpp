// The window's own pixels: our scaler converts and scales the frame straight into them, and
// only the picture's rectangle is sent on; the black bars are written when the window changes.
#include <SDL.h>

#include <cstring>

#include "platform/sdl/sdl_present.h"
#include "platform/soft/picture_scaler.h"

namespace plat::sdl {

namespace {

using plat::soft::PictureScaler;
using plat::soft::PixelLayout;

// 32-bit pixels with whole 8-bit channels can be written directly.
bool Direct_Layout(const SDL_PixelFormat* f, PixelLayout* out) {
  if (f->BytesPerPixel != 4 || f->Rloss || f->Gloss || f->Bloss) return false;
  out->red_shift = f->Rshift, out->green_shift = f->Gshift, out->blue_shift = f->Bshift;
  out->fixed = f->Amask;
  return true;
}

class SurfacePresenter final : public Presenter {
 public:
  explicit SurfacePresenter(SDL_Window* window) : window_(window) {
    // SDL's dummy driver throws its window pixels away unless asked to save them.
    const char* driver = SDL_GetCurrentVideoDriver();
    shown_nowhere_ = driver && std::strcmp(driver, "dummy") == 0 &&
                     !SDL_GetHintBoolean("SDL_VIDEO_DUMMY_SAVE_FRAMES", SDL_FALSE);
  }
  ~SurfacePresenter() override {
    if (staging_) SDL_FreeSurface(staging_);
  }

  const char* Name() const override { return "surface"; }

  void Draw(const std::uint16_t* pixels, int width, int height) override {
    if (shown_nowhere_) return;
    SDL_Surface* surface = SDL_GetWindowSurface(window_);  // the same one until the window changes
    if (!surface) return;
    if (surface != surface_ || surface->w != out_w_ || surface->h != out_h_ || width != pic_w_ ||
        height != pic_h_)
      Lay_Out(surface, width, height);
    SDL_Surface* target = staging_ ? staging_ : surface;
    if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) return;
    scaler_.Draw(pixels, static_cast<std::uint32_t*>(target->pixels),
                 static_cast<std::size_t>(target->pitch));
    if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
    if (staging_) {
      SDL_Rect r = Picture_Rect();
      SDL_BlitSurface(staging_, &r, surface, &r);
    }
    drawn_ = true;
  }

  void Show() override {
    if (!drawn_) return;
    if (whole_) {
      whole_ = SDL_UpdateWindowSurface(window_) != 0;
      return;
    }
    const SDL_Rect r = Picture_Rect();
    SDL_UpdateWindowSurfaceRects(window_, &r, 1);
  }

  void Invalidate() override { whole_ = true; }

 private:
  SDL_Rect Picture_Rect() const {
    const plat::soft::Placement& p = scaler_.Where();
    return SDL_Rect{p.x, p.y, p.w, p.h};
  }

  // A new window surface: black everywhere once, then the picture's place on it.
  void Lay_Out(SDL_Surface* surface, int width, int height) {
    surface_ = surface, out_w_ = surface->w, out_h_ = surface->h;
    pic_w_ = width, pic_h_ = height;
    if (staging_) SDL_FreeSurface(staging_);
    staging_ = nullptr;
    PixelLayout layout;
    if (!Direct_Layout(surface->format, &layout)) {
      // An unusual window format: draw into a 32-bit copy and let SDL convert from it.
      staging_ = SDL_CreateRGBSurfaceWithFormat(0, out_w_, out_h_, 32, SDL_PIXELFORMAT_ARGB8888);
      if (staging_) Direct_Layout(staging_->format, &layout);
    }
    scaler_.Set_Up(width, height, out_w_, out_h_, layout);
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    whole_ = true;
  }

  SDL_Window* window_;
  SDL_Surface* surface_ = nullptr;
  SDL_Surface* staging_ = nullptr;
  int out_w_ = 0, out_h_ = 0, pic_w_ = 0, pic_h_ = 0;
  PictureScaler scaler_;
  bool whole_ = true;
  bool drawn_ = false;
  bool shown_nowhere_ = false;
};

}  // namespace

std::unique_ptr<Presenter> Open_Surface_Presenter(SDL_Window* window, int, int) {
  // Without this SDL would put the window's pixels on a texture of its own OpenGL renderer,
  // which is the very cost this way avoids.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (!SDL_GetWindowSurface(window)) return nullptr;
  return std::make_unique<SurfacePresenter>(window);
}

}  // namespace plat::sdl
