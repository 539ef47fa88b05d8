// Keys the SDL host keeps for itself: they never reach the game's keyboard state.
#pragma once

namespace plat::sdl {

enum class HostKey { kNone, kFullScreen, kPause, kVolumeDown, kVolumeUp, kScreenshot };

// What pressing the key `keycode` (an SDL key code, as on the player's layout) with the
// modifiers `mods` asks of the host; kNone for a key that goes to the game.
HostKey Host_Key_Of(int keycode, int mods);

constexpr int kVolumeStep = 10;  // percent per press of - or =

}  // namespace plat::sdl
