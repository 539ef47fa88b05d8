// The sound interfaces the game uses: a DirectSound-shaped seam.
// Any result but 0 (DS_OK) is a failure.
#pragma once

#include "platform/win_types.h"

namespace plat {

// What the platform's DSBUFFERDESC measures, the value its dwSize must hold.
constexpr std::uint32_t DSBUFFERDESC_SIZE = 20;

constexpr HRESULT DS_OK = 0;
constexpr HRESULT DSERR_GENERIC = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT DSERR_INVALIDPARAM = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT DSERR_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT DSERR_NODRIVER = static_cast<HRESULT>(0x88780078u);
constexpr HRESULT DSERR_BADFORMAT = static_cast<HRESULT>(0x88780064u);

constexpr std::uint32_t DSSCL_PRIORITY = 2;
constexpr std::uint32_t DSBCAPS_PRIMARYBUFFER = 0x01;
constexpr std::uint32_t DSBCAPS_LOCHARDWARE = 0x04;
constexpr std::uint32_t DSBCAPS_LOCSOFTWARE = 0x08;
constexpr std::uint32_t DSBCAPS_CTRLFREQUENCY = 0x20;
constexpr std::uint32_t DSBCAPS_CTRLPAN = 0x40;
constexpr std::uint32_t DSBCAPS_CTRLVOLUME = 0x80;
constexpr std::uint32_t DSBLOCK_ENTIREBUFFER = 2;
constexpr std::uint32_t DSBPLAY_LOOPING = 1;
constexpr std::uint16_t WAVE_FORMAT_PCM = 1;

#pragma pack(push, 1)
// The format record as files and the sound device know it: 18 bytes, then cbSize extra bytes.
struct WAVEFORMATEX {
  std::uint16_t wFormatTag;
  std::uint16_t nChannels;
  std::uint32_t nSamplesPerSec;
  std::uint32_t nAvgBytesPerSec;
  std::uint16_t nBlockAlign;
  std::uint16_t wBitsPerSample;
  std::uint16_t cbSize;
};
#pragma pack(pop)
static_assert(sizeof(WAVEFORMATEX) == 18);

struct DSBUFFERDESC {
  std::uint32_t dwSize;
  std::uint32_t dwFlags;
  std::uint32_t dwBufferBytes;
  std::uint32_t dwReserved;
  WAVEFORMATEX* lpwfxFormat;
};

class IDirectSoundBuffer : public SeamObject {
 public:
  virtual HRESULT SetFormat(const WAVEFORMATEX* format) = 0;
  virtual HRESULT SetFrequency(std::uint32_t hz) = 0;
  virtual HRESULT SetCurrentPosition(std::uint32_t byte_offset) = 0;
  virtual HRESULT SetVolume(std::int32_t hundredths_db) = 0;
  virtual HRESULT Lock(std::uint32_t offset, std::uint32_t bytes, void** region1,
                       std::uint32_t* bytes1, void** region2, std::uint32_t* bytes2,
                       std::uint32_t flags) = 0;
  virtual HRESULT Unlock(void* region1, std::uint32_t bytes1, void* region2,
                         std::uint32_t bytes2) = 0;
  virtual HRESULT Play(std::uint32_t reserved, std::uint32_t priority, std::uint32_t flags) = 0;
  virtual HRESULT Stop() = 0;
};

class IDirectSound : public SeamObject {
 public:
  virtual HRESULT SetCooperativeLevel(HWND window, std::uint32_t level) = 0;
  virtual HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** out,
                                    void* outer) = 0;
};

}  // namespace plat
