// Shared set-up for the play-field tests: the software backend with a clock the test sets, sprite
// surfaces that record every blit, the log captured in a file, and every play-field global put back
// to its start.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/ddraw.h"
#include "platform/os.h"
#include "platform/script/script_os.h"
#include "sound/sound_manager.h"

namespace zorvex::testing {

struct Blit {
  std::int32_t x, y, w, h, sx, sy;
  const plat::IDirectDrawSurface4* source;
  bool operator==(const Blit&) const = default;
};

// Records what is blitted onto it; the blits numbered fail_from up to fail_to fail.
class RecordingSurface final : public plat::IDirectDrawSurface4 {
 public:
  std::vector<Blit> blits;
  std::size_t fail_from = SIZE_MAX;
  std::size_t fail_to = SIZE_MAX;

  plat::HRESULT Blt(const plat::RECT* dst, plat::IDirectDrawSurface4* src,
                    const plat::RECT* src_rect, std::uint32_t flags,
                    const plat::DDBLTFX* fx) override;
  plat::HRESULT Flip(plat::IDirectDrawSurface4*, std::uint32_t) override { return 0; }
  plat::HRESULT GetAttachedSurface(const plat::DDSCAPS2*, plat::IDirectDrawSurface4**) override {
    return plat::DDERR_GENERIC;
  }
  plat::HRESULT SetClipper(plat::IDirectDrawClipper*) override { return 0; }
  plat::HRESULT SetColorKey(std::uint32_t, const plat::DDCOLORKEY*) override { return 0; }
  plat::HRESULT GetDC(plat::HDC*) override { return plat::DDERR_GENERIC; }
  plat::HRESULT ReleaseDC(plat::HDC) override { return 0; }
  plat::HRESULT Lock(plat::RECT*, plat::DDSURFACEDESC2*, std::uint32_t, plat::HANDLE) override {
    return plat::DDERR_GENERIC;
  }
  plat::HRESULT Unlock(plat::RECT*) override { return plat::DDERR_NOTLOCKED; }
  std::uint32_t Release() override { return 0; }
};

// Base fixture: every test starts from the state a fresh game has after start-up.
class PlayField : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // What the game wrote to its diagnostics log so far.
  std::string Log_Text();

  // Every tick-count read of the game answers `now` from here on.
  void Set_Clock(std::uint32_t now);

  std::unique_ptr<plat::Os> os_;
  std::unique_ptr<plat::script::ScriptOs> script_;  // pins the clock over os_
  RecordingSurface back, gfx, sys;
  CSoundManager sounds;  // no device: every call is recorded and does nothing

 private:
  std::string log_path_;
};

// Puts every play-field global back to what Setup_Game leaves, with the clock at `now`.
void Reset_Play_Field(std::uint32_t now);

}  // namespace zorvex::testing
