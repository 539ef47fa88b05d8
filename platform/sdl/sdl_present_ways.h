// The two ways of presenting, opened by Make_Presenter. Null when the way cannot be had.
#pragma once

#include <memory>

#include "platform/sdl/sdl_present.h"

namespace plat::sdl {

std::unique_ptr<Presenter> Open_Gpu_Presenter(SDL_Window* window, int width, int height);
std::unique_ptr<Presenter> Open_Surface_Presenter(SDL_Window* window, int width, int height);

}  // namespace plat::sdl
