// The keys the host keeps for itself: they never reach the game's keyboard state. Each platform
// names the key pressed in these words; every other key is kOther and goes to the game.
#pragma once

namespace plat::host {

enum class Key {
  kOther,
  kP,
  kPause,
  kMinus,
  kEquals,
  kPlus,
  kPadMinus,
  kPadPlus,
  kEnter,
  kPadEnter,
  kF11,
  kF12,
  kEscape,
  kLeft,  // steering: Left and A, Right and D, Space fires
  kRight,
  kA,
  kD,
  kSpace
};

enum class HostKey { kNone, kFullScreen, kPause, kVolumeDown, kVolumeUp, kScreenshot };

// What pressing `key` (as on the player's layout), with Alt held or not, asks of the host;
// kNone for a key that goes to the game.
HostKey Host_Key_Of(Key key, bool alt);

constexpr int kVolumeStep = 10;  // percent per press of - or =

}  // namespace plat::host
