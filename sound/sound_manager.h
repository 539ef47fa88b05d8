// Numbered sound slots, each holding one whole sound in a buffer of its own.
// After a failed Init (no device, or sound turned off) every call answers 0 and does nothing,
// so the game plays on in silence.
#pragma once

#include <cstdint>

#include "platform/dsound.h"

namespace zorvex {

constexpr int SOUND_SLOT_COUNT = 6;
constexpr int SLOT_WALL = 0;   // bloop.wav
constexpr int SLOT_SHIP = 1;   // doing.wav
constexpr int SLOT_SHOOT = 2;  // shoot.wav
constexpr int SLOT_BRICK = 3;  // explode1.wav
constexpr int SLOT_MUSIC = 4;  // music00.wav, then one track per level
constexpr int SLOT_SERVE = 5;  // chippy.wav

class CSoundManager {
 public:
  CSoundManager();
  ~CSoundManager();
  CSoundManager(const CSoundManager&) = delete;
  CSoundManager& operator=(const CSoundManager&) = delete;

  int Init(int slot_count, plat::HWND window, const plat::GUID* device);
  int LoadWave(int slot, const char* file_name);
  int Play(int slot, std::uint32_t flags);
  int Stop(int slot, int rewind);

  plat::IDirectSound* lpds;
  plat::IDirectSoundBuffer* lpdsbprimary;
  plat::IDirectSoundBuffer** lpdsbslots;
  int slot_count;  // entries of lpdsbslots; slot numbers outside it are refused

  // The slot's buffer, or null when the slot is empty, out of range or there is no table.
  plat::IDirectSoundBuffer* Slot_Buffer(int slot) const;
};

extern CSoundManager* sound_manager;

// Sets a slot's volume (hundredths of a decibel) when the slot holds a buffer.
// The callers that reach into lpdsbslots for SetVolume go through here so traces see it.
void Set_Slot_Volume(int slot, std::int32_t hundredths_db);

// The game's sound calls. They answer 0 and do nothing when there is no manager at all.
int Play_Sound(int slot, std::uint32_t flags);
int Stop_Sound(int slot, int rewind);
int Load_Sound(int slot, const char* file_name);

}  // namespace zorvex
