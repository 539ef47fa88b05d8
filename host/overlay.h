// Notes the host shows over the picture (paused, the volume, where a screenshot went). They are
// laid over a copy of the game's frame after it is handed over, never into it, so recordings,
// traces and screenshots hold only the game's own picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/soft/surface.h"

namespace host {

class Overlay {
 public:
  static constexpr int NOTE_MS = 2000;  // how long a note stays up

  void Set_Paused(bool paused);
  // Shows `text` from `now_ms` for NOTE_MS, in place of the previous note.
  void Note(const std::string& text, std::uint64_t now_ms);
  // Drops a note whose time is up; true when the image changed since the last call.
  bool Update(std::uint64_t now_ms);
  bool Empty() const { return !paused_ && note_.empty(); }

  // The frame with the notes over it, in a copy kept here; the frame itself when there are
  // none. Drops a note whose time is up first.
  const std::uint16_t* Lay_Over(const std::uint16_t* pixels, int width, int height,
                                std::uint64_t now_ms);

  // A box of 5-6-5 pixels, placed at (X(), Y()) in the game's picture coordinates (640 x 480).
  const plat::soft::Pixels& Image() const { return image_; }
  int X() const { return x_; }
  int Y() const { return y_; }

 private:
  void Rebuild();

  bool paused_ = false;
  std::string note_;
  std::uint64_t note_until_ = 0;
  bool changed_ = false;
  plat::soft::Pixels image_;
  int x_ = 0, y_ = 0;
  std::vector<std::uint16_t> noted_;  // the last frame laid over
};

}  // namespace host
