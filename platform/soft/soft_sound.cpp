#include "platform/soft/soft_sound.h"

#if !defined(_WIN32)
#include <sys/mman.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "platform/soft/counted.h"
#include "platform/soft/mixer.h"

namespace plat::soft {

namespace {

constexpr std::uint32_t MAX_BUFFER_BYTES = 0x0FFFFFFF;

void Silence(void*, std::int16_t* out, int frames) {
  std::memset(out, 0, static_cast<std::size_t>(frames) * 4);
}

// What the device and its buffers share: the sink and the mixer it pulls from. It lives until
// the device and every buffer are released, then hands the sink silence.
struct Engine {
  AudioSink* sink = nullptr;
  bool started = false;
  Mixer mixer;

  static void Mix(void* self, std::int16_t* out, int frames) {
    static_cast<Engine*>(self)->mixer.Mix(out, frames);
  }
  ~Engine() {
    if (started) sink->Start(Silence, nullptr);
  }
};

// Holds off the audio thread while the game thread changes what the mixer reads.
class Guard {
 public:
  explicit Guard(Engine& e) : sink_(e.sink) { sink_->Lock(); }
  ~Guard() { sink_->Unlock(); }
  Guard(const Guard&) = delete;
  Guard& operator=(const Guard&) = delete;

 private:
  AudioSink* sink_;
};

// A new buffer's bytes, silent until the game writes them. A music track is megabytes that the
// game overwrites at once, so it is mapped already zeroed and populated in one call: faulting
// its pages in one by one costs more than the copy itself on some virtual machines.
class SilentBytes {
 public:
  SilentBytes(std::size_t size, std::uint8_t silence) : size_(size) {
#if !defined(_WIN32)  // elsewhere calloc alone is fine
    if (size >= MAP_AT_LEAST) {
      void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
      if (p != MAP_FAILED) bytes_ = static_cast<std::uint8_t*>(p), mapped_ = true;
    }
#endif
    if (!bytes_) bytes_ = static_cast<std::uint8_t*>(std::calloc(size ? size : 1, 1));
    if (!bytes_) throw std::bad_alloc();
    if (silence != 0) std::memset(bytes_, silence, size);
  }
  ~SilentBytes() {
#if !defined(_WIN32)
    if (mapped_) {
      munmap(bytes_, size_);
      return;
    }
#endif
    std::free(bytes_);
  }
  SilentBytes(const SilentBytes&) = delete;
  SilentBytes& operator=(const SilentBytes&) = delete;
  std::uint8_t* data() { return bytes_; }
  const std::uint8_t* data() const { return bytes_; }
  std::size_t size() const { return size_; }

 private:
  static constexpr std::size_t MAP_AT_LEAST = std::size_t{1} << 20;
  std::uint8_t* bytes_ = nullptr;
  std::size_t size_;
  bool mapped_ = false;
};

// The primary buffer: its format is remembered, the output stays 44100 Hz 16-bit stereo; its
// volume scales everything.
class PrimaryBuffer final : public Counted<IDirectSoundBuffer> {
 public:
  explicit PrimaryBuffer(std::shared_ptr<Engine> engine) : engine_(std::move(engine)) {}

  HRESULT SetFormat(const WAVEFORMATEX* format) override {
    if (!format || !Playable_Format(*format)) return DSERR_BADFORMAT;
    format_ = *format;
    return DS_OK;
  }
  HRESULT SetFrequency(std::uint32_t) override { return DSERR_INVALIDPARAM; }
  HRESULT SetCurrentPosition(std::uint32_t) override { return DSERR_INVALIDPARAM; }
  HRESULT SetVolume(std::int32_t hundredths_db) override {
    if (hundredths_db < -10000 || hundredths_db > 0) return DSERR_INVALIDPARAM;
    Guard g(*engine_);
    engine_->mixer.Set_Master_Gain(Gain_From_Hundredths_Db(hundredths_db));
    return DS_OK;
  }
  HRESULT Lock(std::uint32_t, std::uint32_t, void**, std::uint32_t*, void**, std::uint32_t*,
               std::uint32_t) override {
    return DSERR_INVALIDPARAM;  // the mix is ours; nobody writes into it
  }
  HRESULT Unlock(void*, std::uint32_t, void*, std::uint32_t) override { return DSERR_INVALIDPARAM; }
  HRESULT Play(std::uint32_t, std::uint32_t, std::uint32_t) override { return DS_OK; }
  HRESULT Stop() override { return DS_OK; }

 private:
  std::shared_ptr<Engine> engine_;
  WAVEFORMATEX format_{WAVE_FORMAT_PCM, 2, MIX_RATE, MIX_RATE * 4, 4, 16, 0};
};

// A secondary buffer: the whole sound in its own format, and the same sound converted once to
// the output format for the mixer.
class SoundBuffer final : public Counted<IDirectSoundBuffer> {
 public:
  SoundBuffer(std::shared_ptr<Engine> engine, const WAVEFORMATEX& format, std::uint32_t bytes)
      : engine_(std::move(engine)),
        format_(format),
        frequency_(format.nSamplesPerSec),
        data_(bytes, format.wBitsPerSample == 8 ? 0x80 : 0) {
    format_.cbSize = 0;
  }
  bool Join_Mixer() {
    Guard g(*engine_);
    return engine_->mixer.Add(&voice_);
  }

  HRESULT SetFormat(const WAVEFORMATEX*) override { return DSERR_INVALIDPARAM; }
  HRESULT SetFrequency(std::uint32_t hz) override {
    if (hz == 0) hz = format_.nSamplesPerSec;
    if (hz < 100 || hz > 200000) return DSERR_INVALIDPARAM;
    if (hz == frequency_) return DS_OK;
    frequency_ = hz;
    return filled_ ? Convert() : DS_OK;
  }
  HRESULT SetCurrentPosition(std::uint32_t byte_offset) override {
    if (byte_offset >= data_.size()) return DSERR_INVALIDPARAM;
    std::uint64_t frame = byte_offset / format_.nBlockAlign;
    std::uint64_t out = frame * MIX_RATE / frequency_;
    Guard g(*engine_);
    voice_.position = static_cast<std::uint32_t>(std::min<std::uint64_t>(out, voice_.frames));
    return DS_OK;
  }
  HRESULT SetVolume(std::int32_t hundredths_db) override {
    if (hundredths_db < -10000 || hundredths_db > 0) return DSERR_INVALIDPARAM;
    Guard g(*engine_);
    voice_.gain = Gain_From_Hundredths_Db(hundredths_db);
    return DS_OK;
  }
  HRESULT Lock(std::uint32_t offset, std::uint32_t bytes, void** region1, std::uint32_t* bytes1,
               void** region2, std::uint32_t* bytes2, std::uint32_t flags) override;
  HRESULT Unlock(void* region1, std::uint32_t, void*, std::uint32_t) override {
    if (region1 && (region1 < data_.data() || region1 >= data_.data() + data_.size()))
      return DSERR_INVALIDPARAM;
    filled_ = true;
    return Convert();
  }
  HRESULT Play(std::uint32_t reserved, std::uint32_t, std::uint32_t flags) override {
    if (reserved != 0) return DSERR_INVALIDPARAM;
    Guard g(*engine_);
    voice_.looping = (flags & DSBPLAY_LOOPING) != 0;
    voice_.playing = true;
    return DS_OK;
  }
  HRESULT Stop() override {
    Guard g(*engine_);
    voice_.playing = false;
    return DS_OK;
  }

 private:
  ~SoundBuffer() override {
    Guard g(*engine_);
    engine_->mixer.Remove(&voice_);
  }
  // Converts on this thread, then swaps the result in under the lock; the old samples are
  // freed after the lock is let go.
  HRESULT Convert();

  std::shared_ptr<Engine> engine_;
  WAVEFORMATEX format_;
  std::uint32_t frequency_;
  SilentBytes data_;
  std::vector<std::int16_t> mixed_;
  Voice voice_;
  bool filled_ = false;
};

HRESULT SoundBuffer::Lock(std::uint32_t offset, std::uint32_t bytes, void** region1,
                          std::uint32_t* bytes1, void** region2, std::uint32_t* bytes2,
                          std::uint32_t flags) {
  if (!region1 || !bytes1) return DSERR_INVALIDPARAM;
  const auto size = static_cast<std::uint32_t>(data_.size());
  if (flags & DSBLOCK_ENTIREBUFFER) {
    offset = 0;
    bytes = size;
  }
  if (offset >= size || bytes == 0 || bytes > size) return DSERR_INVALIDPARAM;
  const std::uint32_t first = std::min(bytes, size - offset);
  *region1 = data_.data() + offset;
  *bytes1 = first;
  if (region2) *region2 = bytes > first ? data_.data() : nullptr;
  if (bytes2) *bytes2 = bytes > first && region2 ? bytes - first : 0;
  return DS_OK;
}

HRESULT SoundBuffer::Convert() {
  if (Is_Mix_Format(format_, frequency_, data_.data())) {
    // Already in the output format (the music): the mixer reads the buffer itself, as a
    // device plays from its buffer memory, instead of a second copy of megabytes.
    std::vector<std::int16_t> old;
    Guard g(*engine_);
    mixed_.swap(old);
    voice_.samples = reinterpret_cast<const std::int16_t*>(data_.data());
    voice_.frames = static_cast<std::uint32_t>(data_.size() / 4);
    voice_.position = std::min(voice_.position, voice_.frames);
    return DS_OK;
  }
  std::vector<std::int16_t> fresh;
  try {
    fresh = Convert_To_Mix_Format(format_, frequency_, data_.data(), data_.size());
  } catch (const std::bad_alloc&) {
    return DSERR_OUTOFMEMORY;
  }
  {
    Guard g(*engine_);
    mixed_.swap(fresh);
    voice_.samples = mixed_.data();
    voice_.frames = static_cast<std::uint32_t>(mixed_.size() / 2);
    voice_.position = std::min(voice_.position, voice_.frames);
  }
  return DS_OK;
}

class SoundDevice final : public Counted<IDirectSound> {
 public:
  explicit SoundDevice(std::shared_ptr<Engine> engine) : engine_(std::move(engine)) {}

  HRESULT SetCooperativeLevel(HWND, std::uint32_t level) override {
    return level >= 1 && level <= 4 ? DS_OK : DSERR_INVALIDPARAM;
  }
  HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** out,
                            void* outer) override;

 private:
  HRESULT Create_Secondary(const DSBUFFERDESC& desc, IDirectSoundBuffer** out);

  std::shared_ptr<Engine> engine_;
};

HRESULT SoundDevice::CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** out,
                                       void* outer) {
  if (!out) return DSERR_INVALIDPARAM;
  *out = nullptr;
  if (!desc || desc->dwSize != DSBUFFERDESC_SIZE || outer) return DSERR_INVALIDPARAM;
  if (!(desc->dwFlags & DSBCAPS_PRIMARYBUFFER)) return Create_Secondary(*desc, out);
  if (desc->dwBufferBytes != 0 || desc->lpwfxFormat) return DSERR_INVALIDPARAM;
  auto* primary = new (std::nothrow) PrimaryBuffer(engine_);
  if (!primary) return DSERR_OUTOFMEMORY;
  *out = primary;
  return DS_OK;
}

HRESULT SoundDevice::Create_Secondary(const DSBUFFERDESC& desc, IDirectSoundBuffer** out) {
  const std::uint32_t where = DSBCAPS_LOCHARDWARE | DSBCAPS_LOCSOFTWARE;
  if (!desc.lpwfxFormat || (desc.dwFlags & where) == where) return DSERR_INVALIDPARAM;
  if (!Playable_Format(*desc.lpwfxFormat)) return DSERR_BADFORMAT;
  if (desc.dwBufferBytes < desc.lpwfxFormat->nBlockAlign || desc.dwBufferBytes > MAX_BUFFER_BYTES)
    return DSERR_INVALIDPARAM;
  SoundBuffer* buffer = nullptr;
  try {
    buffer = new SoundBuffer(engine_, *desc.lpwfxFormat, desc.dwBufferBytes);
  } catch (const std::bad_alloc&) {
    return DSERR_OUTOFMEMORY;
  }
  if (!buffer->Join_Mixer()) {
    buffer->Release();
    return DSERR_OUTOFMEMORY;
  }
  *out = buffer;
  return DS_OK;
}

}  // namespace

HRESULT Create_Sound_Device(AudioSink* sink, IDirectSound** out) {
  if (!out) return DSERR_INVALIDPARAM;
  *out = nullptr;
  if (!sink) return DSERR_NODRIVER;
  auto engine = std::make_shared<Engine>();
  engine->sink = sink;
  if (!sink->Start(&Engine::Mix, engine.get())) return DSERR_NODRIVER;
  engine->started = true;
  *out = new SoundDevice(std::move(engine));
  return DS_OK;
}

}  // namespace plat::soft
