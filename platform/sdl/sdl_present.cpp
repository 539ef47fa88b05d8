#include "platform/sdl/sdl_present.h"

#include <SDL.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <string>

namespace plat::sdl {

namespace {

constexpr unsigned GL_RENDERER = 0x1F01;
constexpr int PROBE_TIMEOUT_MS = 5000;

// The OpenGL renderer's name, asked of a context on a hidden window of its own, so that the
// game's window never holds a context it will not use. Empty when there is no OpenGL at all.
std::string Gl_Renderer_Name() {
  SDL_Window* probe = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_HIDDEN | SDL_WINDOW_OPENGL);
  if (!probe) return "";
  std::string name;
  if (SDL_GLContext context = SDL_GL_CreateContext(probe)) {
    using GetString = const unsigned char* (*)(unsigned);
    auto get = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* text = get ? get(GL_RENDERER) : nullptr;
    if (text) name = reinterpret_cast<const char*>(text);
    SDL_GL_DeleteContext(context);
  }
  SDL_DestroyWindow(probe);  // the last OpenGL window gone, SDL unloads the library
  return name;
}

// Without a render node or the proprietary driver's device no card can draw for us.
bool Has_Graphics_Device() {
  for (const char* path : {"/dev/dri", "/dev/nvidiactl"})
    if (access(path, F_OK) == 0) return true;
  return false;
}

// Asked in a child process: once loaded, a software rasteriser's libraries stay in the process
// (some 60 MB resident) even after its last context is gone.
std::string Probe_Renderer_Name() {
  if (!Has_Graphics_Device()) return "";
  int out[2];
  if (pipe(out) != 0) return "";
  const pid_t child = fork();
  if (child == 0) {
    close(out[0]);
    std::string name;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) name = Gl_Renderer_Name();
    if (!name.empty() && write(out[1], name.data(), name.size()) < 0) _exit(1);
    _exit(0);
  }
  close(out[1]);
  std::string name;
  char chunk[256];
  pollfd ready{out[0], POLLIN, 0};
  bool finished = false;  // the child closed its end, having said all it had to say
  // A driver that hangs must not hang the game: after a few seconds it counts as no OpenGL.
  while (child > 0 && poll(&ready, 1, PROBE_TIMEOUT_MS) > 0) {
    const ssize_t n = read(out[0], chunk, sizeof chunk);
    if (n <= 0) {
      finished = n == 0;
      break;
    }
    name.append(chunk, static_cast<std::size_t>(n));
  }
  close(out[0]);
  if (child <= 0) return "";
  if (!finished) kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  return finished && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? name : "";
}

}  // namespace

bool Draws_Nowhere(const char* video_driver) {
  return video_driver &&
         (std::strcmp(video_driver, "dummy") == 0 || std::strcmp(video_driver, "offscreen") == 0);
}

bool Is_Software_Gl(const char* renderer_name) {
  static const char* const SOFTWARE_RENDERERS[] = {
      "llvmpipe", "softpipe", "swrast", "Software Rasterizer", "SwiftShader", "GDI Generic"};
  for (const char* word : SOFTWARE_RENDERERS)
    if (std::strstr(renderer_name, word)) return true;
  return false;
}

PresentWay Choose_Present_Way() {
  // The hint holds the environment's SDL_VIDEODRIVER too.
  if (Draws_Nowhere(SDL_GetHint(SDL_HINT_VIDEODRIVER))) return PresentWay::SURFACE;
  const std::string name = Probe_Renderer_Name();
  return !name.empty() && !Is_Software_Gl(name.c_str()) ? PresentWay::GPU : PresentWay::SURFACE;
}

std::unique_ptr<Presenter> Make_Presenter(SDL_Window* window, PresentWay way, int width,
                                          int height) {
  if (way == PresentWay::AUTO) way = Choose_Present_Way();
  std::unique_ptr<Presenter> presenter;
  if (way == PresentWay::GPU) presenter = Open_Gpu_Presenter(window, width, height);
  if (!presenter) presenter = Open_Surface_Presenter(window, width, height);
  if (presenter)
    SDL_LogInfo(SDL_LOG_CATEGORY_VIDEO, "presenting through the %s", presenter->Name());
  return presenter;
}

}  // namespace plat::sdl
