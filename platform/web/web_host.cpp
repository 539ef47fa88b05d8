#include "platform/web/web_host.h"

#include <emscripten/emscripten.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/soft/event_queue.h"
#include "platform/soft/picture_scaler.h"

// The page's script draws and plays; these reach it.
EM_JS(int, zorvex_js_start_audio, (),
      { return Module.zorvexStartAudio ? Module.zorvexStartAudio() : 0; });
EM_JS(void, zorvex_js_present, (const std::uint8_t* rgba, int width, int height), {
  if (Module.zorvexPresent) Module.zorvexPresent(rgba, width, height);
});

namespace plat::web {

namespace {

// The page's script calls in between frames, so events wait here until the backend pumps.
soft::EventQueue pending;

// The game's clock: the page's, less the time spent paused (by the player or a hidden tab), so
// the game resumes where it stopped with nothing to catch up.
double paused_at = -1;
double paused_for = 0;
double Game_Clock() { return (paused_at >= 0 ? paused_at : emscripten_get_now()) - paused_for; }

soft::MixFunction mix_function = nullptr;
void* mix_context = nullptr;
std::vector<std::int16_t> mix_buffer;

// The page pulls sound on its own schedule, on the same thread as the game: no lock is needed.
class WebAudioSink : public soft::AudioSink {
 public:
  // Called again with silence when the game lets its device go; the page's output stays open.
  bool Start(soft::MixFunction mix, void* context) override {
    if (!open_ && !zorvex_js_start_audio()) return false;
    open_ = true;
    mix_function = mix;
    mix_context = context;
    return true;
  }
  void Lock() override {}
  void Unlock() override {}

 private:
  bool open_ = false;
};

class WebHost : public soft::Host {
 public:
  explicit WebHost(bool sound) {
    if (sound) sink_ = std::make_unique<WebAudioSink>();
  }
  ~WebHost() override {
    mix_function = nullptr;
    pending.Clear();
  }

  std::uint32_t Ticks() override {
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(Game_Clock()));
  }
  bool Open_Window(const char*, int, int) override { return true; }
  void Pump_Events(soft::InputState* input) override { pending.Deliver(input); }
  void Wait_Events(soft::InputState* input, int) override { Pump_Events(input); }
  // A hidden page is paused by not running frames at all: a flip that reported the surface
  // lost would spin inside one call and hang the tab.
  bool Visible() override { return true; }
  void Present(const std::uint16_t* pixels, int width, int height) override {
    rgba_.resize(static_cast<std::size_t>(width) * height * 4);
    std::uint8_t* out = rgba_.data();
    const soft::Pixel_Layout rgba{0, 8, 16, 0xFF000000u};  // bytes R, G, B, A (little-endian)
    for (std::size_t i = 0, n = static_cast<std::size_t>(width) * height; i < n; ++i) {
      const std::uint32_t wide = soft::Widen_565(pixels[i], rgba);
      std::memcpy(out + 4 * i, &wide, sizeof wide);
    }
    zorvex_js_present(out, width, height);
  }
  soft::AudioSink* Audio_Sink() override { return sink_.get(); }

 private:
  std::unique_ptr<soft::AudioSink> sink_;
  std::vector<std::uint8_t> rgba_;
};

}  // namespace

std::unique_ptr<soft::Host> Make_Web_Host(bool sound) { return std::make_unique<WebHost>(sound); }

}  // namespace plat::web

// Called by the page's script. Key codes are the game's (DirectInput) codes.
extern "C" {

EMSCRIPTEN_KEEPALIVE void zorvex_web_key(int code, int down) {
  if (code > 0 && code < 256) plat::web::pending.Key(code, down != 0);
}

EMSCRIPTEN_KEEPALIVE void zorvex_web_button(int index, int down) {
  plat::web::pending.Button(index, down != 0);
}

EMSCRIPTEN_KEEPALIVE void zorvex_web_motion(int dx, int dy) {
  plat::web::pending.Motion(dx, dy, 0);
}

// The page lost the keyboard: nothing stays held down.
EMSCRIPTEN_KEEPALIVE void zorvex_web_release_all() { plat::web::pending.Release_All(); }

EMSCRIPTEN_KEEPALIVE void zorvex_web_close() { plat::web::pending.Close(); }

// The page stops running frames (paused = 1) or runs them again (0); the clock stops with them.
EMSCRIPTEN_KEEPALIVE void zorvex_web_pause(int paused) {
  using namespace plat::web;
  if (paused && paused_at < 0) {
    paused_at = emscripten_get_now();
  } else if (!paused && paused_at >= 0) {
    paused_for += emscripten_get_now() - paused_at;
    paused_at = -1;
  }
}

// Mixes `frames` stereo frames and returns where they are; silence when no sound is open.
EMSCRIPTEN_KEEPALIVE std::int16_t* zorvex_web_mix(int frames) {
  using namespace plat::web;
  mix_buffer.assign(static_cast<std::size_t>(frames) * 2, 0);
  if (mix_function) mix_function(mix_context, mix_buffer.data(), frames);
  return mix_buffer.data();
}
}
