// Gamepads, alike on every platform: each platform reads its pads into a PadState and the layer
// turns it into what the game understands, mouse motion, the left button, Enter and Escape.
//
// The left stick steers in one of two ways (docs/port-rules.md tells how each played):
// - as a speed: past a dead zone (worn sticks rest off centre) the speed rises with the square
//   of the deflection, so small deflections place the ship finely and a full one crosses the
//   field in about 0.4 s; let go, the ship stays where it was steered to;
// - as a position: the deflection names a place on the field, the far left to the far right,
//   and the ship goes there at once, as a mouse flicked there would. Let go, the stick springs
//   to the centre and the ship to the middle; then the stick is quiet, so the mouse and d-pad
//   steer again.
// The d-pad steers as the arrow keys do.
#pragma once

#include <cstdint>

#include "host/steering.h"

namespace host {

struct PadState {
  bool connected = false;            // any pad at all
  double stick_x = 0;                // the left stick, -1 (left) to 1 (right)
  bool left = false, right = false;  // the d-pad
  bool fire = false;                 // the south button, or the right trigger past half way
  bool start = false;                // acts as Enter
  bool back = false;                 // Back or Select: acts as Escape once held for a second
};

enum class StickWay { SPEED, POSITION };

constexpr double STICK_DEAD_ZONE = 0.24;
constexpr double STICK_TOP_PER_MS = 1.6;  // counts per ms at full deflection
constexpr std::uint64_t BACK_HOLD_MS = 1000;
// As a position: the deflection that reaches the edge (a thumb seldom pushes a stick fully
// home), and the game's pointer, which runs from 0 to 640 while the 64-pixel ship stops at 576.
constexpr double STICK_EDGE = 0.95;
constexpr std::int32_t POINTER_MAX = 640;
constexpr std::int32_t SHIP_RIGHT = 576;

// What the pads' state asks of the game since the last update. For each of the buttons:
// +1 goes down, -1 comes up, 0 unchanged.
struct PadReaction {
  std::int32_t motion = 0;
  int fire = 0;
  int enter = 0;
  int escape = 0;
  int connected = 0;   // +1: a pad came, -1: the last one went
  bool pause = false;  // the host layer's Paused() changed: a pad went or came back
};

class PadSteering {
 public:
  explicit PadSteering(StickWay way = StickWay::SPEED) : way_(way) {}
  // `pointer`: where the game's pointer is now, as the motion handed to it so far puts it;
  // the stick as a position steers from there.
  PadReaction Update(const PadState& state, std::uint64_t now_ms, std::int32_t pointer = 0);
  // Everything let go, as when the focus is lost or the game pauses; held buttons must be
  // pressed again.
  PadReaction Release();

 private:
  static int Edge(bool was, bool is) { return was == is ? 0 : is ? 1 : -1; }
  std::int32_t Stick(double x, std::uint64_t now_ms);
  std::int32_t Stick_Position(double x, std::int32_t pointer);

  PadState held_;  // the buttons as the game has them
  bool escape_ = false;
  std::uint64_t back_since_ = 0;
  std::uint64_t last_ms_ = 0;
  bool looked_ = false;
  double carry_ = 0;     // the stick's part of a count not given yet
  bool ignore_ = false;  // after a release: buttons held then must come up before they count
  StickWay way_;
  bool placing_ = false;  // as a position: the stick is out of its dead zone and holds the ship
  KeySteering dpad_;
};

}  // namespace host
