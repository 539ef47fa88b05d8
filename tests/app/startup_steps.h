// The steps of start-up that can fail and what each failure leaves: one table, run on the test
// double (startup_test.cpp) and on the real Windows backend under Wine
// (tests/windows/startup_check.cpp).
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace zorvex::testing {

inline const std::string HALT = "DirectX Init Failed. Halting Exectution.";
inline const std::string MOUSE =
    "Could not create DirectInput MouseCould not set DI Cooperation Level on Mouse."
    "Could not set DI Data Format on Mouse.Could not Acquire Mouse";

// A step of start-up made to fail (its nth call), and what it leaves.
struct Step {
  const char* step;
  int nth;
  std::string log;           // the whole log
  std::string failure = "";  // how the reported failure starts, when not as the log
  bool sheet_made = false;
};
inline void PrintTo(const Step& s, std::ostream* out) { *out << s.step << " #" << s.nth; }

// Steps that stop start-up: each logs its own message, then the halt message (the window's steps
// log nothing); nothing after it is made and no frame is shown.
// Without a window there is nothing to draw on: start-up stops before the display.
inline const std::vector<Step> WINDOW_STEPS = {
    {"RegisterClassA", 1, "", "Could not register the window class"},
    {"CreateWindowExA", 1, "", "Could not create the window"}};

inline const std::vector<Step> DISPLAY_STEPS = {
    {"DirectDrawCreate", 1, "DDraw Create Failed."},
    {"IDirectDraw::QueryInterface", 1, "DDraw QueryInterface Failed."},
    {"IDirectDraw4::SetCooperativeLevel", 1, "Set Coop Level Failed."},
    {"IDirectDraw4::SetDisplayMode", 1, "Set Display Mode Failed."},
    {"IDirectDraw4::CreateSurface", 1, "Primary Create Fail."},
    {"IDirectDrawSurface4::GetAttachedSurface", 1, "Query For Back Buffer Failed."}};

// Loading a sheet: each step names itself before the sheet's own message.
inline const std::string GFX = "Could not create lpddsgfx";
inline const std::vector<Step> SHEET_STEPS = {
    {"LoadImageA", 1, "!handle" + GFX, GFX},
    {"GetObjectA", 1, "!GetObject" + GFX, GFX},
    {"IDirectDraw4::CreateSurface", 2, GFX, GFX},  // no message of its own
    {"CreateCompatibleDC", 1, GFX, GFX},
    {"SelectObject", 1, "!oldBitmap" + GFX, GFX},
    {"offscreen1.GetDC", 1, "Could not GetDC" + GFX, GFX},
    {"BitBlt", 1, "Could not BitBlt onto the DirectDrawSurface" + GFX, GFX},
    {"offscreen1.ReleaseDC", 1, "Could not Release DC" + GFX, GFX},
    {"SelectObject", 2, "Could not put old contents of the DC back" + GFX, GFX},
    {"DeleteDC", 1, "Could not delete DC" + GFX, GFX},
    {"DeleteObject", 1, "Could not free bitmap handle" + GFX, GFX},
    {"LoadImageA", 2, "!handleCould not create lpddssys", "Could not create lpddssys", true}};

// Steps whose failure is logged while start-up goes on: the rest is made and frames run.
inline const std::vector<Step> LOGGED_STEPS = {
    {"IDirectDraw4::CreateClipper", 1, ""},
    {"IDirectDrawClipper::SetClipList", 1, ""},
    {"IDirectDrawSurface4::SetClipper", 1, ""},
    {"keyboard.SetCooperativeLevel", 1, "Could not set DI Cooperation Level on Keyboard."},
    // A device with no data format cannot be acquired either.
    {"keyboard.SetDataFormat", 1,
     "Could not set DI Data Format on Keyboard.Could not Acquire Keyboard"},
    {"keyboard.Acquire", 1, "Could not Acquire Keyboard"},
    // Without DirectInput every input step says so.
    {"DirectInputCreateA", 1,
     "Could not create DirectInput Object.Could not create DI Keyboard"
     "Could not set DI Cooperation Level on Keyboard."
     "Could not set DI Data Format on Keyboard.Could not Acquire Keyboard" +
         MOUSE}};

// Sound steps: each failure leaves the game without the sound it hit (every sound when the device
// itself failed), logs nothing and stops nothing.
struct SoundStep {
  const char* step;
  int nth;
  bool music_slot_filled;
};
inline void PrintTo(const SoundStep& s, std::ostream* out) { *out << s.step << " #" << s.nth; }

// The primary buffer is the device's first; each slot's buffer is tried in hardware, then in
// software; music is the sixth slot loaded and the first played.
inline const std::vector<SoundStep> SOUND_STEPS = {{"DirectSoundCreate", 1, false},
                                                   {"IDirectSound::SetCooperativeLevel", 1, false},
                                                   {"IDirectSound::CreateSoundBuffer", 1, false},
                                                   {"primary.SetFormat", 1, false},
                                                   {"IDirectSound::CreateSoundBuffer", 2, true},
                                                   {"IDirectSoundBuffer::Lock", 6, true},
                                                   {"IDirectSoundBuffer::Play", 1, true}};

}  // namespace zorvex::testing
