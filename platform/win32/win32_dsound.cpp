// DirectSound under the seam.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/dsound.h"
#include "platform/win32/win32_parts.h"
// The seam's headers first: the system's macros would otherwise rewrite their constants.
// clang-format off
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <dsound.h>
// clang-format on

namespace {

// The format record with the extra bytes its cbSize announces, for formats other than PCM.
std::vector<std::uint8_t> Real_Format(const plat::WAVEFORMATEX& seam) {
  const ::WAVEFORMATEX real{seam.wFormatTag,      seam.nChannels,   seam.nSamplesPerSec,
                            seam.nAvgBytesPerSec, seam.nBlockAlign, seam.wBitsPerSample,
                            seam.cbSize};
  std::vector<std::uint8_t> bytes(sizeof(real) + seam.cbSize);
  std::memcpy(bytes.data(), &real, sizeof(real));
  if (seam.cbSize)
    std::memcpy(bytes.data() + sizeof(real), reinterpret_cast<const std::uint8_t*>(&seam) + 18,
                seam.cbSize);
  return bytes;
}

// --volume as the attenuation it stands for, in hundredths of a decibel: the Linux build scales
// every sample by the same fraction.
std::int32_t Attenuation(int percent) {
  if (percent <= 0) return DSBVOLUME_MIN;
  if (percent >= 100) return 0;
  return std::max<std::int32_t>(DSBVOLUME_MIN, std::lround(2000.0 * std::log10(percent / 100.0)));
}

class Buffer;
std::vector<Buffer*> buffers;  // every buffer the game holds, for the volume keys
std::int32_t attenuation = 0;  // the player's volume, in hundredths of a decibel

class Buffer final : public plat::win32::Adapter<plat::IDirectSoundBuffer, ::IDirectSoundBuffer> {
 public:
  Buffer(::IDirectSoundBuffer* real, std::uint32_t bytes) : Adapter(real), copy_(bytes) {
    if (attenuation != 0) real_->SetVolume(attenuation);  // refused without volume control
    buffers.push_back(this);
  }

  void Attenuate() { real_->SetVolume(std::max(DSBVOLUME_MIN, volume_ + attenuation)); }

  plat::HRESULT SetFormat(const plat::WAVEFORMATEX* format) override {
    if (!format) return DSERR_INVALIDPARAM;
    std::vector<std::uint8_t> real = Real_Format(*format);
    return real_->SetFormat(reinterpret_cast<const ::WAVEFORMATEX*>(real.data()));
  }
  plat::HRESULT SetFrequency(std::uint32_t hz) override { return real_->SetFrequency(hz); }
  plat::HRESULT SetCurrentPosition(std::uint32_t offset) override {
    return real_->SetCurrentPosition(offset);
  }
  plat::HRESULT SetVolume(std::int32_t hundredths_db) override {
    // A volume the system refuses is handed on as it is, for its own error.
    if (hundredths_db < DSBVOLUME_MIN || hundredths_db > DSBVOLUME_MAX)
      return real_->SetVolume(hundredths_db);
    volume_ = hundredths_db;
    return real_->SetVolume(std::max(DSBVOLUME_MIN, hundredths_db + attenuation));
  }
  plat::HRESULT Lock(std::uint32_t offset, std::uint32_t bytes, void** region1,
                     std::uint32_t* bytes1, void** region2, std::uint32_t* bytes2,
                     std::uint32_t flags) override {
    DWORD n1 = 0, n2 = 0;
    HRESULT result = real_->Lock(offset, bytes, region1, bytes1 ? &n1 : nullptr, region2,
                                 bytes2 ? &n2 : nullptr, flags);
    if (result == DSERR_BUFFERLOST && Restore())
      result = real_->Lock(offset, bytes, region1, bytes1 ? &n1 : nullptr, region2,
                           bytes2 ? &n2 : nullptr, flags);
    locked_at_ = (flags & DSBLOCK_ENTIREBUFFER) ? 0 : offset;
    if (bytes1) *bytes1 = n1;
    if (bytes2) *bytes2 = n2;
    return result;
  }
  plat::HRESULT Unlock(void* region1, std::uint32_t bytes1, void* region2,
                       std::uint32_t bytes2) override {
    Keep(locked_at_, region1, bytes1);
    Keep(0, region2, bytes2);
    return real_->Unlock(region1, bytes1, region2, bytes2);
  }
  plat::HRESULT Play(std::uint32_t reserved, std::uint32_t priority, std::uint32_t flags) override {
    HRESULT result = real_->Play(reserved, priority, flags);
    if (result == DSERR_BUFFERLOST && Restore()) result = real_->Play(reserved, priority, flags);
    return result;
  }
  plat::HRESULT Stop() override { return real_->Stop(); }

 private:
  ~Buffer() { buffers.erase(std::find(buffers.begin(), buffers.end(), this)); }

  // What the game wrote, to put back when the system takes the buffer's memory away.
  void Keep(std::uint32_t at, const void* region, std::uint32_t bytes) {
    if (region && at < copy_.size())
      std::memcpy(copy_.data() + at, region, std::min<std::size_t>(bytes, copy_.size() - at));
  }

  // A lost buffer (another program took the sound device) comes back as the game left it.
  bool Restore() {
    if (FAILED(real_->Restore())) return false;
    void* region = nullptr;
    DWORD bytes = 0;
    if (FAILED(real_->Lock(0, 0, &region, &bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER)))
      return false;
    std::memcpy(region, copy_.data(), std::min<std::size_t>(bytes, copy_.size()));
    real_->Unlock(region, bytes, nullptr, 0);
    return true;
  }

  std::int32_t volume_ = 0;  // the game's own, before the player's attenuation
  std::vector<std::uint8_t> copy_;
  std::uint32_t locked_at_ = 0;
};

class Sound final : public plat::win32::Adapter<plat::IDirectSound, ::IDirectSound> {
 public:
  Sound(::IDirectSound* real, int volume) : Adapter(real) { attenuation = Attenuation(volume); }

  plat::HRESULT SetCooperativeLevel(plat::HWND window, std::uint32_t level) override {
    return real_->SetCooperativeLevel(reinterpret_cast<HWND>(window), level);
  }

  plat::HRESULT CreateSoundBuffer(const plat::DSBUFFERDESC* desc, plat::IDirectSoundBuffer** out,
                                  void* outer) override {
    if (out) *out = nullptr;
    if (!desc || !out || outer || desc->dwSize != plat::DSBUFFERDESC_SIZE)
      return DSERR_INVALIDPARAM;
    ::DSBUFFERDESC real{};
    real.dwSize = sizeof(real);
    real.dwFlags = desc->dwFlags;
    real.dwBufferBytes = desc->dwBufferBytes;
    real.dwReserved = desc->dwReserved;
    std::vector<std::uint8_t> format;
    if (desc->lpwfxFormat) {
      format = Real_Format(*desc->lpwfxFormat);
      real.lpwfxFormat = reinterpret_cast<::WAVEFORMATEX*>(format.data());
    }
    ::IDirectSoundBuffer* buffer = nullptr;
    HRESULT result = real_->CreateSoundBuffer(&real, &buffer, nullptr);
    if (FAILED(result)) return result;
    *out = new Buffer(buffer, desc->dwFlags & DSBCAPS_PRIMARYBUFFER ? 0 : desc->dwBufferBytes);
    return DS_OK;
  }

 private:
  ~Sound() = default;
};

}  // namespace

void plat::win32::Set_Sound_Volume(int percent) {
  attenuation = Attenuation(percent);
  for (Buffer* buffer : buffers) buffer->Attenuate();
  std::fprintf(
      stderr, "zorvex: volume %d%%: DirectSound attenuation %d (hundredths of a dB), %zu buffers\n",
      percent, static_cast<int>(attenuation), buffers.size());
  std::fflush(stderr);
}

plat::HRESULT plat::win32::Create_DirectSound(int volume, plat::IDirectSound** out) {
  ::IDirectSound* real = nullptr;
  ::HRESULT result = ::DirectSoundCreate(nullptr, &real, nullptr);
  if (FAILED(result)) return result;
  *out = new Sound(real, volume);
  return DS_OK;
}
