// SDL's accelerated renderer: the frame is uploaded to a texture the card scales.
#include <SDL.h>

#include "platform/sdl/sdl_present.h"

namespace plat::sdl {

namespace {

class GpuPresenter final : public Presenter {
 public:
  ~GpuPresenter() override {
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
  }

  bool Open(SDL_Window* window, int width, int height) {
    renderer_ =
        SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
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
    width_ = width, height_ = height;
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer_, &info) == 0 && info.name &&
        SDL_strncmp(info.name, "opengl", 6) == 0)
      finish_ = reinterpret_cast<void (*)()>(SDL_GL_GetProcAddress("glFinish"));
    return texture_ != nullptr;
  }

  const char* Name() const override { return "gpu"; }

  void Draw(const std::uint16_t* pixels, int width, int height) override {
    if (width != width_ || height != height_) return;
    SDL_UpdateTexture(texture_, nullptr, pixels, width * static_cast<int>(sizeof(std::uint16_t)));
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
  }

  // The driver may queue several frames behind vsync, each one more frame between the input
  // and the screen: waiting for the swap to finish keeps at most one in flight.
  void Show() override {
    SDL_RenderPresent(renderer_);
    if (finish_) finish_();
  }
  void Invalidate() override {}  // every frame is drawn whole

 private:
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  int width_ = 0, height_ = 0;
  void (*finish_)() = nullptr;  // glFinish, when the renderer is OpenGL
};

}  // namespace

std::unique_ptr<Presenter> Open_Gpu_Presenter(SDL_Window* window, int width, int height) {
  auto presenter = std::make_unique<GpuPresenter>();
  if (!presenter->Open(window, width, height)) return nullptr;
  return presenter;
}

}  // namespace plat::sdl
