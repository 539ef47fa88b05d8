// What the port adds around the game for the player, alike on every platform: the host's keys
// and what they do, the notes over the picture, the screenshots. A platform turns its key events
// into KeyEvents, hands over each frame the game shows, and carries out the Reaction it gets
// back; the layer itself holds no window, device or file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "host/host_keys.h"
#include "host/overlay.h"
#include "host/pad.h"
#include "host/steering.h"
#include "platform/dinput.h"

namespace host {

constexpr int KEY_CODES = 512;  // the platforms' own numbers for physical keys stay below this

struct KeyEvent {
  Key key = Key::OTHER;
  int code = 0;  // the platform's number for the physical key: its press and release match
  bool down = true;
  bool repeat = false;  // the system repeating a held key
  bool alt = false;
};

// What the platform does after an event.
struct Reaction {
  bool to_game = true;         // the key goes on to the game's keyboard state
  bool pause = false;          // Paused() changed: sound stops or goes on; input let go
  bool volume = false;         // Volume() changed: the sound device takes it
  bool switch_screen = false;  // full screen becomes a window or back
  int fire = 0;                // +1: the fire button goes down (Space), -1: it comes up
};

// Keeps a 5-6-5 picture (pitch = width) wherever the platform keeps screenshots; `result` says
// where it went, or why it did not.
using KeepPicture =
    std::function<bool(const std::uint16_t* pixels, int width, int height, std::string* result)>;

struct HostOptions {
  bool sound = true;  // false: the volume note says the sound is off
  int volume = 100;   // 0 to 100
  // Where the host's messages go (a screenshot kept or not); empty for standard error.
  std::function<void(const std::string& text)> report;
  // Keeps a setting the player changed in play ("volume", "window" 0 or 1); answers a message to
  // show when it could not be kept. Empty: nothing is kept.
  std::function<std::string(const char* key, int value)> remember;
  int sensitivity = 100;             // mouse motion in percent, 25 to 400
  bool key_steering = true;          // Left/Right, A/D steer and Space fires
  StickWay stick = StickWay::SPEED;  // how the pads' left stick steers
};

// The pads' answer as the game's input, for a platform whose input takes the game's key codes,
// the mouse's buttons and its motion: the mouse's motion and left button, Enter and Escape.
template <class Input>
void Pad_To_Game(const PadReaction& r, Input* input) {
  input->Motion(r.motion, 0, 0);
  if (r.fire != 0) input->Button(0, r.fire > 0);
  if (r.enter != 0) input->Key(plat::DIK_RETURN, r.enter > 0);
  if (r.escape != 0) input->Key(plat::DIK_ESCAPE, r.escape > 0);
}

class HostLayer {
 public:
  // `keep_picture` is the platform's way of keeping a screenshot; empty: none is kept.
  explicit HostLayer(HostOptions options, KeepPicture keep_picture = {});

  Reaction Key(const KeyEvent& e, std::uint64_t now_ms);
  // The frame as the screen should show it: a screenshot asked for is taken from the game's own
  // pixels, and the notes are laid over a copy. The frame stays the one shown until the next.
  const std::uint16_t* Frame(const std::uint16_t* pixels, int width, int height,
                             std::uint64_t now_ms);
  // The frame shown last, with the notes as they are now; null before the first.
  const std::uint16_t* Frame_Again(std::uint64_t now_ms);
  void Note(const std::string& text, std::uint64_t now_ms);
  // Says `text` where the host's messages go.
  void Report(const std::string& text) const;
  // Keeps a setting the player changed; a failure to keep it is noted over the picture.
  void Remember(const char* key, int value, std::uint64_t now_ms);
  // A platform's own reason to stop pausing (none yet on the platforms here).
  void Set_Paused(bool paused);

  // The mouse's counts at the player's sensitivity, its fractions carried.
  void Scale_Mouse(std::int32_t* dx, std::int32_t* dy) {
    *dx = Moved(mouse_x_.Scale(*dx));
    *dy = mouse_y_.Scale(*dy);
  }
  // The counts the steering keys have moved the ship since the last call.
  std::int32_t Key_Motion(std::uint64_t now_ms) { return Moved(keys_.Motion(now_ms)); }
  // Steering let go, as when the focus is lost; -1 when the fire button must come up.
  int Let_Go();
  // The pads as they are now. The last pad unplugged in play pauses, as losing the focus does;
  // a pad plugged in again ends that pause. `heard` false: the game is away (no focus) and gets
  // no motion, so none is given; the stick as a position puts the ship right when it is back.
  PadReaction Pad(const PadState& state, std::uint64_t now_ms, bool heard = true);

  // Whether the next frame is wanted: a screenshot is asked for, or notes are up.
  bool Wants_Frame() const { return screenshot_wanted_ || !overlay_.Empty(); }
  // Whether the physical key `code` is held as a host key, its release still to come.
  bool Holds(int code) const { return code >= 0 && code < KEY_CODES && held_by_host_[code]; }
  bool Paused() const { return paused_; }
  int Volume() const { return volume_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  void Act(HostKey key, Reaction* reaction, std::uint64_t now_ms);
  // Follows the game's pointer through the motion handed to it, clamped as the game clamps it.
  std::int32_t Moved(std::int32_t dx);
  void Screenshot(const std::uint16_t* pixels, std::uint64_t now_ms);

  HostOptions options_;
  KeepPicture keep_picture_;
  bool paused_ = false;
  int volume_ = 100;
  bool held_by_host_[KEY_CODES] = {};     // pressed as a host key: its release is ours too
  bool screenshot_wanted_ = false;        // taken from the next frame shown
  const std::uint16_t* shown_ = nullptr;  // the game's frame on screen, while it waits in a flip
  int width_ = 0, height_ = 0;
  Overlay overlay_;
  Sensitivity mouse_x_, mouse_y_;
  KeySteering keys_;
  PadSteering pads_;
  bool paused_by_pad_ = false;
  std::int32_t pointer_ = 0;  // where the motion handed out has put the game's pointer
};

}  // namespace host
