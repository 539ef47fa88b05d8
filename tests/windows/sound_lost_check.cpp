// The Windows sound adapters over a stand-in DirectSound that loses its buffers on demand, as
// the system does when another program takes the device: a lost buffer is restored on the
// game's next lock or play, holding what the game last wrote, and plays on; the volume keys'
// attenuation reaches every buffer. Built for Windows and run under Wine by wine_check.sh.
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/dsound.h"
#include "platform/win32/win32_parts.h"
// clang-format off
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>
// clang-format on

namespace {

// A buffer in plain memory whose contents the "system" can take away.
class FakeBuffer final : public ::IDirectSoundBuffer {
 public:
  explicit FakeBuffer(DWORD bytes) : memory(bytes, 0) {}
  std::vector<BYTE> memory;
  bool lost = false;
  int plays = 0;
  LONG volume = 0;

  void Lose() {
    lost = true;
    std::memset(memory.data(), 0xEE, memory.size());  // the memory is someone else's now
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 0; }
  HRESULT STDMETHODCALLTYPE GetCaps(LPDSBCAPS) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetCurrentPosition(LPDWORD, LPDWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetFormat(LPWAVEFORMATEX, DWORD, LPDWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetVolume(LPLONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetPan(LPLONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetFrequency(LPDWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetStatus(LPDWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Initialize(LPDIRECTSOUND, LPCDSBUFFERDESC) override { return DS_OK; }
  HRESULT STDMETHODCALLTYPE Lock(DWORD offset, DWORD bytes, LPVOID* one, LPDWORD one_bytes,
                                 LPVOID* two, LPDWORD two_bytes, DWORD flags) override {
    if (lost) return DSERR_BUFFERLOST;
    if (flags & DSBLOCK_ENTIREBUFFER) offset = 0, bytes = static_cast<DWORD>(memory.size());
    *one = memory.data() + offset;
    *one_bytes = bytes;
    if (two) *two = nullptr;
    if (two_bytes) *two_bytes = 0;
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE Play(DWORD, DWORD, DWORD) override {
    if (lost) return DSERR_BUFFERLOST;
    ++plays;
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE SetCurrentPosition(DWORD) override { return DS_OK; }
  HRESULT STDMETHODCALLTYPE SetFormat(LPCWAVEFORMATEX) override { return DS_OK; }
  HRESULT STDMETHODCALLTYPE SetVolume(LONG v) override {
    volume = v;
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE SetPan(LONG) override { return DS_OK; }
  HRESULT STDMETHODCALLTYPE SetFrequency(DWORD) override { return DS_OK; }
  HRESULT STDMETHODCALLTYPE Stop() override { return DS_OK; }
  HRESULT STDMETHODCALLTYPE Unlock(LPVOID, DWORD, LPVOID, DWORD) override { return DS_OK; }
  HRESULT STDMETHODCALLTYPE Restore() override {
    lost = false;
    return DS_OK;
  }
};

FakeBuffer* made = nullptr;

class FakeSound final : public ::IDirectSound {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 0; }
  HRESULT STDMETHODCALLTYPE CreateSoundBuffer(LPCDSBUFFERDESC desc, LPDIRECTSOUNDBUFFER* out,
                                              IUnknown*) override {
    made = new FakeBuffer(desc->dwBufferBytes);
    *out = made;
    return DS_OK;
  }
  HRESULT STDMETHODCALLTYPE GetCaps(LPDSCAPS) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER,
                                                 LPDIRECTSOUNDBUFFER*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND, DWORD) override { return DS_OK; }
  HRESULT STDMETHODCALLTYPE Compact() override { return DS_OK; }
  HRESULT STDMETHODCALLTYPE GetSpeakerConfig(LPDWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetSpeakerConfig(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Initialize(LPCGUID) override { return DS_OK; }
};

FakeSound fake_sound;
int failures = 0;

void Check(bool ok, const char* what) {
  std::printf("%s: %s\n", ok ? "ok" : "FAIL", what);
  if (!ok) ++failures;
}

}  // namespace

// The adapters' one way to the system's DirectSound, answered here instead.
extern "C" HRESULT WINAPI DirectSoundCreate(LPCGUID, LPDIRECTSOUND* out, LPUNKNOWN) {
  *out = &fake_sound;
  return DS_OK;
}

// The seam's constants named as the system's macros are written as numbers here.
int main() {
  plat::IDirectSound* sound = nullptr;
  if (plat::win32::Create_DirectSound(100, &sound) != 0) return 1;
  plat::WAVEFORMATEX format{1 /* PCM */, 2, 44100, 176400, 4, 16, 0};
  plat::DSBUFFERDESC desc{plat::DSBUFFERDESC_SIZE, 0x80 /* volume control */, 64, 0, &format};
  plat::IDirectSoundBuffer* buffer = nullptr;
  if (sound->CreateSoundBuffer(&desc, &buffer, nullptr) != 0 || !made) return 1;

  // The game writes its sound in two locks, the second wrapping round to the start.
  std::vector<BYTE> written(64);
  for (int i = 0; i < 64; ++i) written[i] = static_cast<BYTE>(i + 1);
  void *one = nullptr, *two = nullptr;
  std::uint32_t one_bytes = 0, two_bytes = 0;
  buffer->Lock(0, 40, &one, &one_bytes, &two, &two_bytes, 0);
  std::memcpy(one, written.data(), one_bytes);
  buffer->Unlock(one, one_bytes, two, two_bytes);
  buffer->Lock(40, 24, &one, &one_bytes, &two, &two_bytes, 0);
  std::memcpy(one, written.data() + 40, one_bytes);
  buffer->Unlock(one, one_bytes, two, two_bytes);

  made->Lose();
  Check(buffer->Play(0, 0, 0) == 0 && made->plays == 1,
        "a lost buffer plays on when the game plays it");
  Check(made->memory == written, "it holds what the game wrote before it was lost");
  made->Lose();
  Check(buffer->Lock(8, 8, &one, &one_bytes, &two, &two_bytes, 0) == 0 &&
            one == made->memory.data() + 8,
        "a lost buffer is locked once restored");
  buffer->Unlock(one, one_bytes, two, two_bytes);
  Check(made->memory == written, "and holds the game's sound then too");

  buffer->SetVolume(-500);
  plat::win32::Set_Sound_Volume(70);
  Check(made->volume == -810, "the volume keys' attenuation adds to the game's own volume");
  buffer->Release();
  std::printf("%s\n", failures ? "FAIL: lost sound buffers" : "ok: lost sound buffers");
  return failures ? 1 : 0;
}
