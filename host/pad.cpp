#include "host/pad.h"

#include <algorithm>
#include <cmath>

namespace host {

std::int32_t PadSteering::Stick(double x, std::uint64_t now_ms) {
  const std::uint64_t elapsed = looked_ ? now_ms - std::min(now_ms, last_ms_) : 0;
  last_ms_ = now_ms;
  looked_ = true;
  if (!std::isfinite(x)) x = 0;
  const double tilt =
      std::clamp((std::fabs(x) - STICK_DEAD_ZONE) / (1 - STICK_DEAD_ZONE), 0.0, 1.0);
  if (tilt == 0) {
    carry_ = 0;
    return 0;
  }
  // A frame can wait long (a window dragged): a quarter second of motion at most.
  const double ms = static_cast<double>(std::min<std::uint64_t>(elapsed, 250));
  carry_ += std::copysign(tilt * tilt * STICK_TOP_PER_MS * ms, x);
  const double whole = std::trunc(carry_);
  carry_ -= whole;
  return static_cast<std::int32_t>(whole);
}

std::int32_t PadSteering::Stick_Position(double x, std::int32_t pointer) {
  if (!std::isfinite(x)) x = 0;
  const double tilt =
      std::clamp((std::fabs(x) - STICK_DEAD_ZONE) / (STICK_EDGE - STICK_DEAD_ZONE), 0.0, 1.0);
  const std::int32_t middle = SHIP_RIGHT / 2;
  if (tilt == 0) {
    // Let go: the ship rests in the middle, then the stick leaves it to the other devices.
    const bool was_placing = placing_;
    placing_ = false;
    return was_placing ? middle - pointer : 0;
  }
  placing_ = true;
  // At the edge the ship is pushed a whole field past it: the game's pointer stops there
  // whatever it was, so a pointer reckoned wrong (motion the game never took) is right again.
  if (tilt == 1) return x < 0 ? -POINTER_MAX - pointer : 2 * POINTER_MAX - pointer;
  const auto place =
      static_cast<std::int32_t>(std::lround(middle + std::copysign(tilt, x) * middle));
  return place - pointer;
}

PadReaction PadSteering::Update(const PadState& state, std::uint64_t now_ms, std::int32_t pointer) {
  PadReaction r;
  if (state.connected != held_.connected) r.connected = state.connected ? 1 : -1;
  PadState now = state;
  if (!now.connected) now = PadState{};
  if (ignore_) {
    // Nothing counts until every button held when the pad was let go has come up.
    if (now.fire || now.start || now.back || now.left || now.right) {
      held_.connected = now.connected;
      Stick(0, now_ms);
      placing_ = false;
      return r;
    }
    ignore_ = false;
  }
  r.motion = way_ == StickWay::POSITION ? Stick_Position(now.stick_x, pointer)
                                        : Stick(now.stick_x, now_ms);
  if (now.left != held_.left) dpad_.Key(SteerKey::LEFT, now.left, false, now_ms);
  if (now.right != held_.right) dpad_.Key(SteerKey::RIGHT, now.right, false, now_ms);
  r.motion += dpad_.Motion(now_ms);
  r.fire = Edge(held_.fire, now.fire);
  r.enter = Edge(held_.start, now.start);
  // Back is Escape only once held for a second, so a slip of the thumb never quits.
  if (now.back && !held_.back) back_since_ = now_ms;
  const bool escape = now.back && now_ms - back_since_ >= BACK_HOLD_MS;
  r.escape = Edge(escape_, escape);
  escape_ = escape;
  held_ = now;
  held_.connected = state.connected;
  return r;
}

PadReaction PadSteering::Release() {
  PadReaction r;
  r.fire = held_.fire ? -1 : 0;
  r.enter = held_.start ? -1 : 0;
  r.escape = escape_ ? -1 : 0;
  const bool connected = held_.connected;
  held_ = PadState{};
  held_.connected = connected;
  escape_ = false;
  carry_ = 0;
  placing_ = false;
  dpad_.Release();
  ignore_ = true;
  return r;
}

}  // namespace host
