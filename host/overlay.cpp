#include "host/overlay.h"

#include <algorithm>

#include "platform/soft/font.h"
#include "platform/soft/text.h"

namespace host {

namespace {

using plat::soft::Pixels;

constexpr int PICTURE_WIDTH = 640;
constexpr int TOP = 40;  // below the score and level line
constexpr int PAD = 6;
constexpr std::uint16_t BOX_COLOUR = 0x1086;          // dark blue-grey
constexpr std::uint16_t BORDER_COLOUR = 0x6B7F;       // light blue
constexpr plat::COLORREF PAUSED_COLOUR = 0x0040E0FF;  // amber
constexpr plat::COLORREF NOTE_COLOUR = 0x00FFFFFF;
const std::string PAUSED_TEXT = "Paused - P or Pause to play on";

int Width_Of(const std::string& s) {
  return plat::soft::Text_Width(s.data(), static_cast<int>(s.size()));
}

}  // namespace

void Overlay::Set_Paused(bool paused) {
  if (paused == paused_) return;
  paused_ = paused;
  Rebuild();
}

void Overlay::Note(const std::string& text, std::uint64_t now_ms) {
  note_ = text;
  note_until_ = now_ms + NOTE_MS;
  Rebuild();
}

bool Overlay::Update(std::uint64_t now_ms) {
  if (!note_.empty() && now_ms >= note_until_) {
    note_.clear();
    Rebuild();
  }
  const bool changed = changed_;
  changed_ = false;
  return changed;
}

const std::uint16_t* Overlay::Lay_Over(const std::uint16_t* pixels, int width, int height,
                                       std::uint64_t now_ms) {
  Update(now_ms);
  if (Empty()) return pixels;
  noted_.assign(pixels, pixels + static_cast<std::size_t>(width) * height);
  for (int y = 0; y < image_.height; ++y) {
    const int to_y = y_ + y;
    if (to_y < 0 || to_y >= height) continue;
    for (int x = 0; x < image_.width; ++x) {
      const int to_x = x_ + x;
      if (to_x >= 0 && to_x < width)
        noted_[static_cast<std::size_t>(to_y) * width + to_x] = image_.Row(y)[x];
    }
  }
  return noted_.data();
}

void Overlay::Rebuild() {
  changed_ = true;
  image_ = Pixels{};
  if (Empty()) return;
  const int line = plat::soft::FONT_LINE_HEIGHT;
  const int lines = (paused_ ? 1 : 0) + (note_.empty() ? 0 : 1);
  int text_w = std::max(paused_ ? Width_Of(PAUSED_TEXT) : 0, Width_Of(note_));
  image_.width = std::min(text_w + 2 * PAD, PICTURE_WIDTH);
  image_.height = lines * line + 2 * PAD;
  image_.data.assign(static_cast<std::size_t>(image_.width) * image_.height, BOX_COLOUR);
  for (int x = 0; x < image_.width; ++x)
    image_.Row(0)[x] = image_.Row(image_.height - 1)[x] = BORDER_COLOUR;
  for (int y = 0; y < image_.height; ++y)
    image_.Row(y)[0] = image_.Row(y)[image_.width - 1] = BORDER_COLOUR;
  int y = PAD;
  if (paused_) {
    plat::soft::Draw_Text(&image_, PAD, y, PAUSED_TEXT.data(), static_cast<int>(PAUSED_TEXT.size()),
                          PAUSED_COLOUR);
    y += line;
  }
  if (!note_.empty())
    plat::soft::Draw_Text(&image_, PAD, y, note_.data(), static_cast<int>(note_.size()),
                          NOTE_COLOUR);
  x_ = (PICTURE_WIDTH - image_.width) / 2;
  y_ = TOP;
}

}  // namespace host
