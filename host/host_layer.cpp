#include "host/host_layer.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "host/posted_notes.h"

namespace host {

HostLayer::HostLayer(HostOptions options, KeepPicture keep_picture)
    : options_(std::move(options)),
      keep_picture_(std::move(keep_picture)),
      volume_(std::clamp(options_.volume, 0, 100)),
      mouse_x_(options_.sensitivity),
      mouse_y_(options_.sensitivity),
      pads_(options_.stick) {}

std::int32_t HostLayer::Moved(std::int32_t dx) {
  pointer_ = static_cast<std::int32_t>(
      std::clamp<std::int64_t>(std::int64_t{pointer_} + dx, 0, POINTER_MAX));
  return dx;
}

namespace {

SteerKey Steer_Key_Of(Key key) {
  switch (key) {
    case Key::LEFT:
    case Key::A:
      return SteerKey::LEFT;
    case Key::RIGHT:
    case Key::D:
      return SteerKey::RIGHT;
    case Key::SPACE:
      return SteerKey::FIRE;
    default:
      return SteerKey::NONE;
  }
}

}  // namespace

Reaction HostLayer::Key(const KeyEvent& e, std::uint64_t now_ms) {
  Reaction reaction;
  // Steering keys also reach the game's keyboard state, which reads none of them.
  if (options_.key_steering && !(paused_ && e.down))
    reaction.fire = keys_.Key(Steer_Key_Of(e.key), e.down, e.repeat, now_ms);
  const bool known = e.code >= 0 && e.code < KEY_CODES;
  if (known && !e.down) {
    const bool ours = held_by_host_[e.code];
    held_by_host_[e.code] = false;
    if (ours) reaction.to_game = false;
  } else if (known && !(e.repeat && !held_by_host_[e.code])) {
    // A key the game already holds stays the game's, even when a modifier joins it.
    const HostKey key = Host_Key_Of(e.key, e.alt);
    // A release missed while away must not take the game's key.
    held_by_host_[e.code] = key != HostKey::GAME_KEY;
    if (key != HostKey::GAME_KEY) {
      reaction.to_game = false;
      if (!e.repeat || key == HostKey::VOLUME_DOWN || key == HostKey::VOLUME_UP)
        Act(key, &reaction, now_ms);
    }
  }
  if (!reaction.to_game || !paused_) return reaction;
  // Paused, the game hears nothing but Escape, which quits at any moment: it ends the pause.
  if (!e.down || e.key != Key::ESCAPE) {
    reaction.to_game = false;
    return reaction;
  }
  Set_Paused(false);
  reaction.pause = true;
  return reaction;
}

void HostLayer::Act(HostKey key, Reaction* reaction, std::uint64_t now_ms) {
  switch (key) {
    case HostKey::FULL_SCREEN:
      reaction->switch_screen = true;
      break;
    case HostKey::PAUSE:
      Set_Paused(!paused_);
      reaction->pause = true;
      break;
    case HostKey::VOLUME_DOWN:
    case HostKey::VOLUME_UP: {
      const int step = key == HostKey::VOLUME_UP ? VOLUME_STEP : -VOLUME_STEP;
      volume_ = std::clamp(volume_ + step, 0, 100);
      reaction->volume = true;
      Note("Volume " + std::to_string(volume_) + "%" + (options_.sound ? "" : " (sound is off)"),
           now_ms);
      Remember("volume", volume_, now_ms);
      break;
    }
    case HostKey::SCREENSHOT:
      // The frame on screen while the game waits; otherwise the next one shown.
      if (paused_ && shown_)
        Screenshot(shown_, now_ms);
      else
        screenshot_wanted_ = true;
      break;
    case HostKey::GAME_KEY:
      break;
  }
}

const std::uint16_t* HostLayer::Frame(const std::uint16_t* pixels, int width, int height,
                                      std::uint64_t now_ms) {
  shown_ = pixels;
  width_ = width;
  height_ = height;
  if (screenshot_wanted_) Screenshot(pixels, now_ms);
  for (const std::string& text : Take_Posted_Notes()) Note(text, now_ms);
  return overlay_.Lay_Over(pixels, width, height, now_ms);
}

const std::uint16_t* HostLayer::Frame_Again(std::uint64_t now_ms) {
  if (!shown_) return nullptr;
  return overlay_.Lay_Over(shown_, width_, height_, now_ms);
}

void HostLayer::Note(const std::string& text, std::uint64_t now_ms) { overlay_.Note(text, now_ms); }

void HostLayer::Report(const std::string& text) const {
  if (options_.report) return options_.report(text);
  std::fprintf(stderr, "zorvex: %s\n", text.c_str());
  std::fflush(stderr);
}

void HostLayer::Remember(const char* key, int value, std::uint64_t now_ms) {
  if (!options_.remember) return;
  const std::string trouble = options_.remember(key, value);
  if (!trouble.empty()) Note(trouble, now_ms);
}

int HostLayer::Let_Go() {
  mouse_x_.Forget();
  mouse_y_.Forget();
  pads_.Release();
  return keys_.Release();
}

PadReaction HostLayer::Pad(const PadState& state, std::uint64_t now_ms, bool heard) {
  PadReaction r = pads_.Update(state, now_ms, pointer_);
  if (r.connected < 0 && !paused_) {
    Set_Paused(true);
    paused_by_pad_ = true;
    Note("Pad unplugged: plug one in or press P", now_ms);
    return {.pause = true};
  }
  if (r.connected > 0 && paused_ && paused_by_pad_) {
    Set_Paused(false);
    return {.pause = true};
  }
  if (!paused_) {
    r.motion = heard ? Moved(r.motion) : 0;
    return r;
  }
  // Paused, the pad is heard only to quit, as Escape is: that ends the pause.
  if (r.escape <= 0) return {};
  Set_Paused(false);
  return {.escape = 1, .pause = true};
}

void HostLayer::Set_Paused(bool paused) {
  if (paused) Let_Go();  // the platform lets the game's buttons go itself
  paused_ = paused;
  paused_by_pad_ = false;
  overlay_.Set_Paused(paused);
}

void HostLayer::Screenshot(const std::uint16_t* pixels, std::uint64_t now_ms) {
  screenshot_wanted_ = false;
  std::string result = "nowhere to keep it";
  const bool kept = keep_picture_ && keep_picture_(pixels, width_, height_, &result);
  const std::string text =
      kept ? "Screenshot saved to " + result : "Screenshot not saved: " + result;
  Note(text, now_ms);
  Report(text);
}

}  // namespace host
