#include "platform/web/web_host.h"

#include <emscripten/emscripten.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "host/host_layer.h"
#include "host/screenshot.h"
#include "platform/soft/event_queue.h"
#include "platform/soft/picture_scaler.h"
#include "platform/soft/volume.h"

// The page's script draws and plays; these reach it.
EM_JS(int, zorvex_js_start_audio, (),
      { return Module.zorvexStartAudio ? Module.zorvexStartAudio() : 0; });
EM_JS(void, zorvex_js_present, (const std::uint8_t* rgba, int width, int height), {
  if (Module.zorvexPresent) Module.zorvexPresent(rgba, width, height);
});
// Hands the page a picture to offer as a download named `name`; 0 when it cannot.
EM_JS(int, zorvex_js_download, (const std::uint8_t* rgba, int width, int height, const char* name),
      {
        return Module.zorvexDownload
                   ? Module.zorvexDownload(rgba, width, height, UTF8ToString(name))
                   : 0;
      });

namespace plat::web {

namespace {

const soft::PixelLayout RGBA{0, 8, 16, 0xFF000000u};  // bytes R, G, B, A (little-endian)

void To_Rgba(const std::uint16_t* pixels, int width, int height, std::vector<std::uint8_t>* rgba) {
  rgba->resize(static_cast<std::size_t>(width) * height * 4);
  for (std::size_t i = 0, n = static_cast<std::size_t>(width) * height; i < n; ++i) {
    const std::uint32_t wide = soft::Widen_565(pixels[i], RGBA);
    std::memcpy(rgba->data() + 4 * i, &wide, sizeof wide);
  }
}

// A screenshot in the browser is a download the page offers.
bool Keep_Picture(const std::uint16_t* pixels, int width, int height, std::string* result) {
  std::vector<std::uint8_t> rgba;
  To_Rgba(pixels, width, height, &rgba);
  const std::string name = host::Screenshot_Stem() + ".png";
  const bool offered = zorvex_js_download(rgba.data(), width, height, name.c_str()) != 0;
  *result = offered ? "your downloads as " + name : "the page cannot offer it";
  return offered;
}

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
class WebHost;
WebHost* current = nullptr;  // the running game's, for the page's calls

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
  explicit WebHost(const host::HostOptions& options) : layer_(options, Keep_Picture) {
    if (options.sound) sink_ = std::make_unique<WebAudioSink>();
    current = this;
  }
  ~WebHost() override {
    mix_function = nullptr;
    pending.Clear();
    current = nullptr;
  }

  std::uint32_t Ticks() override {
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(Game_Clock()));
  }
  bool Open_Window(const char*, int, int) override { return true; }
  void Pump_Events(soft::InputState* input) override {
    pending.Deliver(input);
    if (!layer_.Paused()) input->Motion(layer_.Key_Motion(Now()), 0, 0);
  }
  void Wait_Events(soft::InputState* input, int) override { Pump_Events(input); }
  // A hidden page is paused by not running frames at all: a flip that reported the surface
  // lost would spin inside one call and hang the tab.
  bool Visible() override { return true; }
  void Present(const std::uint16_t* pixels, int width, int height) override {
    Show(layer_.Frame(pixels, width, height, Now()), width, height);
  }
  soft::AudioSink* Audio_Sink() override { return sink_.get(); }

  // Paused, the page runs no frames (a flip that waited would hang the tab) and shows the last
  // one again with the notes as they are now.
  void Redraw() {
    if (const std::uint16_t* frame = layer_.Frame_Again(Now()))
      Show(frame, layer_.Width(), layer_.Height());
  }

  bool Paused() const { return layer_.Paused(); }
  int Volume() const { return layer_.Volume(); }

  // False when the key is the host's.
  bool Key(int code, bool down, bool repeat, bool alt) {
    const host::Reaction reaction =
        layer_.Key({host::Key_At(code), code, down, repeat, alt}, Now());
    if (reaction.pause && layer_.Paused()) pending.Release_All();
    if (reaction.volume || reaction.pause) Redraw();
    if (reaction.fire != 0) pending.Button(0, reaction.fire > 0);
    return reaction.to_game;
  }
  void Pad(const host::PadState& state) {
    const host::PadReaction r = layer_.Pad(state, Now());
    if (r.pause && layer_.Paused()) pending.Release_All();
    if (r.pause) Redraw();
    if (!layer_.Paused()) host::Pad_To_Game(r, &pending);
  }
  void Motion(int dx, int dy) {
    std::int32_t x = dx, y = dy;
    layer_.Scale_Mouse(&x, &y);
    pending.Motion(x, y, 0);
  }
  // The page lost the keyboard.
  void Let_Go() {
    if (layer_.Let_Go() < 0) pending.Button(0, false);
  }

 private:
  static std::uint64_t Now() { return static_cast<std::uint64_t>(emscripten_get_now()); }
  void Show(const std::uint16_t* pixels, int width, int height) {
    To_Rgba(pixels, width, height, &rgba_);
    zorvex_js_present(rgba_.data(), width, height);
  }

  host::HostLayer layer_;
  std::unique_ptr<soft::AudioSink> sink_;
  std::vector<std::uint8_t> rgba_;
};

}  // namespace

std::unique_ptr<soft::Host> Make_Web_Host(const host::HostOptions& options) {
  return std::make_unique<WebHost>(options);
}

}  // namespace plat::web

// Called by the page's script. Key codes are the game's (DirectInput) codes.
extern "C" {

EMSCRIPTEN_KEEPALIVE void zorvex_web_key(int code, int down, int repeat, int alt) {
  using plat::web::current;
  if (code <= 0 || code >= 256) return;
  // The host's keys act at once, while the page still holds the player's gesture.
  if (current && !current->Key(code, down != 0, repeat != 0, alt != 0)) return;
  plat::web::pending.Key(code, down != 0);
}

// While paused the page calls for no frames, only for the picture again.
EMSCRIPTEN_KEEPALIVE int zorvex_web_paused() {
  return plat::web::current && plat::web::current->Paused();
}

EMSCRIPTEN_KEEPALIVE void zorvex_web_redraw() {
  if (plat::web::current) plat::web::current->Redraw();
}

EMSCRIPTEN_KEEPALIVE void zorvex_web_button(int index, int down) {
  plat::web::pending.Button(index, down != 0);
}

EMSCRIPTEN_KEEPALIVE void zorvex_web_motion(int dx, int dy) {
  if (plat::web::current)
    plat::web::current->Motion(dx, dy);
  else
    plat::web::pending.Motion(dx, dy, 0);
}

// The pads as the page read them: `stick` in thousandths, `buttons` bits of left, right, fire,
// start and back.
EMSCRIPTEN_KEEPALIVE void zorvex_web_pad(int connected, int stick, int buttons) {
  if (!plat::web::current) return;
  host::PadState s;
  s.connected = connected != 0;
  s.stick_x = stick / 1000.0;
  s.left = (buttons & 1) != 0;
  s.right = (buttons & 2) != 0;
  s.fire = (buttons & 4) != 0;
  s.start = (buttons & 8) != 0;
  s.back = (buttons & 16) != 0;
  plat::web::current->Pad(s);
}

// The page lost the keyboard: nothing stays held down.
EMSCRIPTEN_KEEPALIVE void zorvex_web_release_all() {
  if (plat::web::current) plat::web::current->Let_Go();
  plat::web::pending.Release_All();
}

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
  // Paused, the music stops where it is.
  if (!mix_function || (current && current->Paused())) return mix_buffer.data();
  mix_function(mix_context, mix_buffer.data(), frames);
  if (current) plat::soft::Apply_Volume(mix_buffer.data(), frames * 2, current->Volume());
  return mix_buffer.data();
}
}
