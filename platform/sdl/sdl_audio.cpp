#include "platform/sdl/sdl_audio.h"

#include <SDL.h>

#include <atomic>
#include <cstring>

#include "platform/soft/volume.h"

namespace plat::sdl {

namespace {

class Sink final : public SdlAudioSink {
 public:
  Sink() = default;
  ~Sink() override {
    if (device_ != 0) SDL_CloseAudioDevice(device_);
    if (subsystem_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  Sink(const Sink&) = delete;
  Sink& operator=(const Sink&) = delete;

  bool Open() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    subsystem_ = true;
    return Open_Device();
  }

  bool Open_Device() {
    SDL_AudioSpec want{};
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = &Sink::Callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts to whatever the hardware really wants.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device_ != 0 && started_ && !paused_) SDL_PauseAudioDevice(device_, 0);
    return device_ != 0;
  }

  bool Device_Removed(std::uint32_t id) override {
    if (device_ == 0 || id != device_) return false;
    SDL_CloseAudioDevice(device_);
    device_ = 0;
    return true;
  }
  bool Device_Added() override { return subsystem_ && device_ == 0 && Open_Device(); }

  bool Start(plat::soft::MixFunction mix, void* context) override {
    if (device_ == 0 && !started_) return false;
    // A device lost: the mix waits here for the next one.
    if (device_ != 0) SDL_LockAudioDevice(device_);
    mix_ = mix;
    context_ = context;
    if (device_ != 0) SDL_UnlockAudioDevice(device_);
    started_ = true;
    if (device_ != 0 && !paused_) SDL_PauseAudioDevice(device_, 0);
    return true;
  }
  void Set_Volume(int percent) override { volume_ = percent; }
  void Set_Paused(bool paused) override {
    paused_ = paused;
    if (device_ != 0 && started_) SDL_PauseAudioDevice(device_, paused ? 1 : 0);
  }
  // With the device lost nothing runs on an audio thread.
  void Lock() override {
    if (device_ != 0) SDL_LockAudioDevice(device_);
  }
  void Unlock() override {
    if (device_ != 0) SDL_UnlockAudioDevice(device_);
  }

 private:
  // Runs on SDL's audio thread with the device lock held.
  static void Callback(void* self, Uint8* stream, int bytes) {
    auto* sink = static_cast<Sink*>(self);
    auto* out = reinterpret_cast<std::int16_t*>(stream);
    if (sink->mix_)
      sink->mix_(sink->context_, out, bytes / 4);
    else
      std::memset(stream, 0, static_cast<std::size_t>(bytes));
    plat::soft::Apply_Volume(out, bytes / 2, sink->volume_);
  }

  SDL_AudioDeviceID device_ = 0;
  bool subsystem_ = false;
  plat::soft::MixFunction mix_ = nullptr;
  void* context_ = nullptr;
  std::atomic<int> volume_{plat::soft::FULL_VOLUME};  // read on the audio thread
  bool started_ = false;
  bool paused_ = false;
};

}  // namespace

std::unique_ptr<SdlAudioSink> Make_Sdl_Audio_Sink() {
  auto sink = std::make_unique<Sink>();
  if (!sink->Open()) return nullptr;
  return sink;
}

}  // namespace plat::sdl
