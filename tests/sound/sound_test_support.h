// What the sound tests share: WAV files written on the spot, a stand-in machine whose only
// working parts are the sound device and the debugger output, and an audio sink the test pulls
// from by hand.
#pragma once

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "platform/os.h"
#include "platform/soft/audio_sink.h"

namespace zorvex::test {

// RIFF pieces, little-endian.
std::string U16(std::uint16_t v);
std::string U32(std::uint32_t v);
// A chunk with its pad byte; `declared` overrides the size written in the header.
std::string Chunk(const std::string& id, const std::string& body, std::int64_t declared = -1);
std::string Riff(const std::string& chunks, const std::string& form = "WAVE");
// A "fmt " chunk body: the 16 PCM bytes, for the given tag and layout.
std::string Fmt_Body(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                     std::uint16_t bits);
std::string Pcm_Wav(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                    const std::string& samples);
// 16-bit mono samples.
std::string Samples16(const std::vector<std::int16_t>& values);

// A directory of its own for the files a test writes; removed afterwards.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  std::string Write(const std::string& name, const std::string& bytes) const;
  std::string Path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

// The test pulls sound out of the mixer itself, under the same lock the game thread takes.
class ManualSink : public plat::soft::AudioSink {
 public:
  bool Start(plat::soft::MixFunction mix, void* context) override;
  void Lock() override { mutex_.lock(); }
  void Unlock() override { mutex_.unlock(); }
  // `frames` stereo frames of output, as the device would get them.
  std::vector<std::int16_t> Pull(int frames);
  int Starts() const { return starts_; }

 private:
  std::mutex mutex_;
  plat::soft::MixFunction mix_ = nullptr;
  void* context_ = nullptr;
  int starts_ = 0;
};

// A machine with sound only. DirectSoundCreate hands out the software device on `sink` (none:
// no device) or whatever `device_override` says.
class SoundOs : public plat::Os {
 public:
  plat::soft::AudioSink* sink = nullptr;
  plat::IDirectSound* (*device_override)(plat::soft::AudioSink*) = nullptr;
  std::vector<std::string> debug_output;

  std::uint16_t RegisterClassA(const plat::WNDCLASSA*) override { return 0; }
  plat::HWND CreateWindowExA(std::uint32_t, const char*, const char*, std::uint32_t, int, int, int,
                             int, plat::HWND, void*, plat::HINSTANCE, void*) override {
    return nullptr;
  }
  bool PeekMessageA(plat::MSG*, plat::HWND, std::uint32_t, std::uint32_t, std::uint32_t) override {
    return false;
  }
  bool TranslateMessage(const plat::MSG*) override { return false; }
  plat::LRESULT DispatchMessageA(const plat::MSG*) override { return 0; }
  bool PostMessageA(plat::HWND, std::uint32_t, plat::WPARAM, plat::LPARAM) override {
    return false;
  }
  void PostQuitMessage(int) override {}
  plat::LRESULT DefWindowProcA(plat::HWND, std::uint32_t, plat::WPARAM, plat::LPARAM) override {
    return 0;
  }
  plat::HDC BeginPaint(plat::HWND, plat::PAINTSTRUCT*) override { return nullptr; }
  bool EndPaint(plat::HWND, const plat::PAINTSTRUCT*) override { return false; }
  std::int16_t GetAsyncKeyState(int) override { return 0; }
  int ShowCursor(bool) override { return 0; }
  plat::HICON LoadIconA(plat::HINSTANCE, std::uintptr_t) override { return nullptr; }
  plat::HCURSOR LoadCursorA(plat::HINSTANCE, std::uintptr_t) override { return nullptr; }
  plat::HGDIOBJ GetStockObject(int) override { return nullptr; }
  std::uint32_t GetTickCount() override { return 0; }
  void OutputDebugStringA(const char* text) override { debug_output.emplace_back(text); }
  plat::HGDIOBJ LoadImageA(plat::HINSTANCE, const char*, std::uint32_t, int, int,
                           std::uint32_t) override {
    return nullptr;
  }
  int GetObjectA(plat::HGDIOBJ, int, void*) override { return 0; }
  plat::HDC CreateCompatibleDC(plat::HDC) override { return nullptr; }
  plat::HGDIOBJ SelectObject(plat::HDC, plat::HGDIOBJ) override { return nullptr; }
  bool BitBlt(plat::HDC, int, int, int, int, plat::HDC, int, int, std::uint32_t) override {
    return false;
  }
  bool DeleteDC(plat::HDC) override { return false; }
  bool DeleteObject(plat::HGDIOBJ) override { return false; }
  plat::COLORREF SetTextColor(plat::HDC, plat::COLORREF) override { return 0; }
  int SetBkMode(plat::HDC, int) override { return 0; }
  bool TextOutA(plat::HDC, int, int, const char*, int) override { return false; }
  plat::HRESULT DirectDrawCreate(const plat::GUID*, plat::IDirectDraw**, void*) override {
    return plat::DSERR_GENERIC;
  }
  plat::HRESULT DirectSoundCreate(const plat::GUID* device, plat::IDirectSound** out,
                                  void* outer) override;
  plat::HRESULT DirectInputCreateA(plat::HINSTANCE, std::uint32_t, plat::IDirectInput**,
                                   void*) override {
    return plat::DSERR_GENERIC;
  }
};

}  // namespace zorvex::test
