// Ways to steer besides the mouse, turned into mouse motion and the fire button before the game
// sees them, so that recordings and traces hold them as mouse input: the mouse's own counts at
// the player's sensitivity, and the arrow keys (or A and D) with Space to fire.
#pragma once

#include <cstdint>

namespace host {

constexpr int MIN_SENSITIVITY = 25;
constexpr int MAX_SENSITIVITY = 400;

// Counts scaled by a percentage. The part of a count not yet given is carried to the next call,
// so slow motion at a low setting still arrives, and none is made up at a high one: after any
// run of calls, the counts given stay within one of the counts taken times the percentage.
class Sensitivity {
 public:
  explicit Sensitivity(int percent = 100);
  std::int32_t Scale(std::int32_t counts);
  void Forget() { carry_ = 0; }  // a fraction left when the pointer is let go is not motion

 private:
  int percent_;
  std::int64_t carry_ = 0;  // hundredths of a count, between -99 and 99
};

// The keyboard's steering curve: how far (in mouse counts) a key held for `ms` has taken the
// ship. It starts at one count a frame, for placing the ship to the pixel with a tap, and rises
// with the square of the time held (the first count comes with the press) until the ship crosses
// the 640-count field in about half a second; from there the speed stays at its top.
double Key_Steering_Distance(double ms);

enum class SteerKey { NONE, LEFT, RIGHT, FIRE };

class KeySteering {
 public:
  // A steering key pressed or let go at `now_ms`; the system's repeats are not presses.
  // Answers +1 when the fire button should go down, -1 when up, 0 otherwise.
  int Key(SteerKey key, bool down, bool repeat, std::uint64_t now_ms);
  // The counts moved since the last call, from the keys held.
  std::int32_t Motion(std::uint64_t now_ms);
  // Everything let go (focus lost, pause); answers -1 when the fire button was down.
  int Release();

 private:
  void Restart(std::uint64_t now_ms);
  std::int64_t Advance(std::uint64_t now_ms);  // the counts of the run since the last call
  int Direction() const { return (right_ ? 1 : 0) - (left_ ? 1 : 0); }

  bool left_ = false, right_ = false, fire_ = false;
  int direction_ = 0;           // the direction the curve runs for
  std::uint64_t start_ms_ = 0;  // when the keys took this direction
  std::int64_t given_ = 0;      // counts already handed out on this run
  int pending_ = 0;             // first counts of taps let go between two looks
};

}  // namespace host
