// Notes the host shows over the picture (paused, the volume, where a screenshot went). They are
// drawn by the host after the game's frame is handed over, never into it, so recordings, traces
// and screenshots hold only the game's own picture. No SDL in this header.
#pragma once

#include <cstdint>
#include <string>

#include "platform/soft/surface.h"

namespace plat::sdl {

class Overlay {
 public:
  static constexpr int kNoteMs = 2000;  // how long a note stays up

  void Set_Paused(bool paused);
  // Shows `text` from `now_ms` for kNoteMs, in place of the previous note.
  void Note(const std::string& text, std::uint64_t now_ms);
  // Drops a note whose time is up; true when the image changed since the last call.
  bool Update(std::uint64_t now_ms);
  bool Empty() const { return !paused_ && note_.empty(); }

  // A box of 5-6-5 pixels, placed at (X(), Y()) in the game's picture coordinates (640 x 480),
  // which either present path scales with the picture.
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
};

}  // namespace plat::sdl
