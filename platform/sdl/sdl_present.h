// How a finished 640 x 480 frame reaches the window. Two ways: SDL's accelerated renderer where
// the graphics card is real, and the window's own pixels, scaled and converted by us, where
// OpenGL is software or absent (a software rasteriser scaling a texture costs far more than
// writing the pixels once). Anything drawn into the 5-6-5 frame before Draw shows on either.
#pragma once

#include <cstdint>
#include <memory>

struct SDL_Window;

namespace plat::sdl {

enum class PresentWay { AUTO, GPU, SURFACE };

class Presenter {
 public:
  virtual ~Presenter() = default;
  virtual const char* Name() const = 0;
  // Puts a frame of 5-6-5 pixels (pitch = width) into the window's next picture, letterboxed.
  virtual void Draw(const std::uint16_t* pixels, int width, int height) = 0;
  // Makes the last drawn picture visible (a real vsync may block here).
  virtual void Show() = 0;
  // The window was uncovered or resized: the next Show covers all of it, bars included.
  virtual void Invalidate() = 0;
};

// A presenter for `window` showing width x height frames, the way asked for (AUTO: see
// Choose_Present_Way); the window's own pixels when the renderer cannot start. Null when
// nothing works.
std::unique_ptr<Presenter> Make_Presenter(SDL_Window* window, PresentWay way, int width,
                                          int height);
// The two ways, for Make_Presenter; null when the way cannot be had.
std::unique_ptr<Presenter> Open_Gpu_Presenter(SDL_Window* window, int width, int height);
std::unique_ptr<Presenter> Open_Surface_Presenter(SDL_Window* window, int width, int height);

// How frames should go on this machine: the accelerated renderer only where OpenGL runs on a
// real card (asked before SDL's video starts, so that nothing of OpenGL stays loaded otherwise).
PresentWay Choose_Present_Way();

// True for SDL's video drivers that show nothing (dummy, offscreen); false for null.
bool Draws_Nowhere(const char* video_driver);

// True when an OpenGL renderer name belongs to a software rasteriser.
bool Is_Software_Gl(const char* renderer_name);

}  // namespace plat::sdl
