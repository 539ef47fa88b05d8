#include "sound/sound_manager.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/os.h"
#include "sound/sound_events.h"
#include "sound/wave_reader.h"

namespace zorvex {

CSoundManager* sound_manager = nullptr;

namespace {

constexpr std::uint32_t HARDWARE_FLAGS = plat::DSBCAPS_CTRLVOLUME | plat::DSBCAPS_CTRLPAN |
                                         plat::DSBCAPS_CTRLFREQUENCY | plat::DSBCAPS_LOCHARDWARE;

constexpr plat::WAVEFORMATEX PRIMARY_FORMAT{plat::WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};

void Free_Wave(plat::WAVEFORMATEX* format, std::uint8_t* samples) {
  plat::GlobalFree(format);
  plat::GlobalFree(samples);
}

// Creates the slot's buffer, asking for hardware mixing first and software when refused.
plat::IDirectSoundBuffer* Create_Slot_Buffer(plat::IDirectSound* device, plat::DSBUFFERDESC* desc) {
  plat::IDirectSoundBuffer* buffer = nullptr;
  if (device->CreateSoundBuffer(desc, &buffer, nullptr) == plat::DS_OK && buffer) return buffer;
  plat::OutputDebugStringA("No hardware for sound buffer.  Choosing software.\n");
  desc->dwFlags = (desc->dwFlags & ~plat::DSBCAPS_LOCHARDWARE) | plat::DSBCAPS_LOCSOFTWARE;
  buffer = nullptr;
  if (device->CreateSoundBuffer(desc, &buffer, nullptr) == plat::DS_OK && buffer) return buffer;
  return nullptr;
}

// Copies the samples into the buffer: 0 when it could not be locked.
int Fill_Buffer(plat::IDirectSoundBuffer* buffer, const std::uint8_t* samples, std::uint32_t size) {
  void* region = nullptr;
  std::uint32_t locked = 0;
  if (buffer->Lock(0, 0, &region, &locked, nullptr, nullptr, plat::DSBLOCK_ENTIREBUFFER) !=
      plat::DS_OK)
    return 0;
  if (locked != size) plat::OutputDebugStringA("Lock got the wrong number of bytes.\n");
  if (region) std::memcpy(region, samples, std::min(locked, size));
  buffer->Unlock(region, locked, nullptr, 0);
  return 1;
}

int Load_Slot(CSoundManager& m, int slot, const char* file_name) {
  if (!m.lpds || !m.lpdsbslots || slot < 0 || slot >= m.slot_count || !file_name) return 0;
  if (m.lpdsbslots[slot]) m.lpdsbslots[slot]->Release();
  m.lpdsbslots[slot] = nullptr;
  std::uint32_t size = 0;
  plat::WAVEFORMATEX* format = nullptr;
  std::uint8_t* samples = nullptr;
  if (Wave_Load(file_name, &size, &format, &samples) != 0) return 0;
  plat::DSBUFFERDESC desc{};
  desc.dwSize = plat::DSBUFFERDESC_SIZE;
  desc.dwFlags = HARDWARE_FLAGS;
  desc.dwBufferBytes = size;
  desc.lpwfxFormat = format;
  plat::IDirectSoundBuffer* buffer = Create_Slot_Buffer(m.lpds, &desc);
  if (!buffer) {
    plat::OutputDebugStringA("Sound buffer creation failed.\n");
    Free_Wave(format, samples);
    return 0;
  }
  m.lpdsbslots[slot] = buffer;
  buffer->SetFrequency(format->nSamplesPerSec);
  buffer->SetCurrentPosition(0);
  int filled = Fill_Buffer(buffer, samples, size);
  Free_Wave(format, samples);
  return filled;
}

int Play_Slot(const CSoundManager& m, int slot, std::uint32_t flags) {
  plat::IDirectSoundBuffer* buffer = m.Slot_Buffer(slot);
  if (!buffer) return 0;
  if (flags == 0 && buffer->SetCurrentPosition(0) != plat::DS_OK) return 0;
  return buffer->Play(0, 0, flags) == plat::DS_OK ? 1 : 0;
}

int Stop_Slot(const CSoundManager& m, int slot, int rewind) {
  plat::IDirectSoundBuffer* buffer = m.Slot_Buffer(slot);
  if (!buffer) return 0;
  if (buffer->Stop() != plat::DS_OK) return 0;
  if (rewind != 0 && buffer->SetCurrentPosition(0) != plat::DS_OK) return 0;
  return 1;
}

}  // namespace

CSoundManager::CSoundManager()
    : lpds(nullptr), lpdsbprimary(nullptr), lpdsbslots(nullptr), slot_count(0) {}

// Releases what Init made, slots first, so that no buffer outlives its device and the mixer
// never reads a sound after the game let go of it.
CSoundManager::~CSoundManager() {
  for (int i = 0; lpdsbslots && i < slot_count; ++i)
    if (lpdsbslots[i]) lpdsbslots[i]->Release();
  delete[] lpdsbslots;
  if (lpdsbprimary) lpdsbprimary->Release();
  if (lpds) lpds->Release();
}

int CSoundManager::Init(int slots, plat::HWND window, const plat::GUID* device) {
  if (lpds) return 0;  // brought up once only
  if (plat::DirectSoundCreate(device, &lpds, nullptr) != plat::DS_OK || !lpds) {
    lpds = nullptr;
    return 0;
  }
  if (lpds->SetCooperativeLevel(window, plat::DSSCL_PRIORITY) != plat::DS_OK) return 0;
  plat::DSBUFFERDESC desc{};
  desc.dwSize = plat::DSBUFFERDESC_SIZE;
  desc.dwFlags = plat::DSBCAPS_PRIMARYBUFFER;
  if (lpds->CreateSoundBuffer(&desc, &lpdsbprimary, nullptr) != plat::DS_OK || !lpdsbprimary) {
    lpdsbprimary = nullptr;
    return 0;
  }
  plat::WAVEFORMATEX format = PRIMARY_FORMAT;
  if (lpdsbprimary->SetFormat(&format) != plat::DS_OK) return 0;
  if (slots <= 0) return 0;
  lpdsbslots = new (std::nothrow) plat::IDirectSoundBuffer*[slots]();
  if (!lpdsbslots) return 0;
  slot_count = slots;
  return 1;
}

plat::IDirectSoundBuffer* CSoundManager::Slot_Buffer(int slot) const {
  if (!lpdsbslots || slot < 0 || slot >= slot_count) return nullptr;
  return lpdsbslots[slot];
}

int CSoundManager::LoadWave(int slot, const char* file_name) {
  int result = Load_Slot(*this, slot, file_name);
  if (Sound_Events_On()) Note_Sound_Event(SoundEvent::Kind::LOAD, slot, file_name, 0, result);
  return result;
}

int CSoundManager::Play(int slot, std::uint32_t flags) {
  int result = Play_Slot(*this, slot, flags);
  if (Sound_Events_On()) Note_Sound_Event(SoundEvent::Kind::PLAY, slot, nullptr, flags, result);
  return result;
}

int CSoundManager::Stop(int slot, int rewind) {
  int result = Stop_Slot(*this, slot, rewind);
  if (Sound_Events_On()) Note_Sound_Event(SoundEvent::Kind::STOP, slot, nullptr, rewind, result);
  return result;
}

// An empty slot has no buffer to set, so there is no call to record either.
void Set_Slot_Volume(int slot, std::int32_t hundredths_db) {
  plat::IDirectSoundBuffer* buffer = sound_manager ? sound_manager->Slot_Buffer(slot) : nullptr;
  if (!buffer) return;
  if (Sound_Events_On())
    Note_Sound_Event(SoundEvent::Kind::VOLUME, slot, nullptr, hundredths_db, 0);
  buffer->SetVolume(hundredths_db);
}

int Play_Sound(int slot, std::uint32_t flags) {
  return sound_manager ? sound_manager->Play(slot, flags) : 0;
}

int Stop_Sound(int slot, int rewind) {
  return sound_manager ? sound_manager->Stop(slot, rewind) : 0;
}

int Load_Sound(int slot, const char* file_name) {
  return sound_manager ? sound_manager->LoadWave(slot, file_name) : 0;
}

}  // namespace zorvex
