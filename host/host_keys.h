// The keys the host keeps for itself: they never reach the game's keyboard state. Each platform
// names the key pressed in these words; every other key is OTHER and goes to the game.
#pragma once

namespace host {

enum class Key {
  OTHER,
  P,
  PAUSE,
  MINUS,
  EQUALS,
  PLUS,
  PAD_MINUS,
  PAD_PLUS,
  ENTER,
  PAD_ENTER,
  F11,
  F12,
  ESCAPE,
  LEFT,  // steering: Left and A, Right and D, Space fires
  RIGHT,
  A,
  D,
  SPACE
};

enum class HostKey { GAME_KEY, FULL_SCREEN, PAUSE, VOLUME_DOWN, VOLUME_UP, SCREENSHOT };

// The key at DirectInput code `dik`: where it sits on the keyboard, whatever the layout.
Key Key_At(int dik);
// P, - and = (+ when shifted) are the keys the layout names: a platform that knows the layout
// names them itself, and takes only the others from where they sit.
constexpr bool Named_By_Layout(Key key) {
  return key == Key::P || key == Key::MINUS || key == Key::EQUALS || key == Key::PLUS;
}

// What pressing `key` (as on the player's layout), with Alt held or not, asks of the host;
// GAME_KEY for a key that goes to the game.
HostKey Host_Key_Of(Key key, bool alt);

constexpr int VOLUME_STEP = 10;  // percent per press of - or =

}  // namespace host
