#include "platform/soft/bmp.h"

#include <bit>
#include <fstream>
#include <iterator>

namespace plat::soft {

namespace {

constexpr std::int64_t MAX_SIDE = 16384;
constexpr std::uint32_t BI_RGB = 0;
constexpr std::uint32_t BI_BITFIELDS = 3;
constexpr std::uint32_t BI_ALPHABITFIELDS = 6;

// A bounds-checked little-endian view of the file.
class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Has(std::uint64_t offset, std::uint64_t count) const {
    return offset <= size_ && count <= size_ - offset;
  }
  std::uint32_t U8(std::size_t at) const { return data_[at]; }
  std::uint32_t U16(std::size_t at) const { return U8(at) | (U8(at + 1) << 8); }
  std::uint32_t U32(std::size_t at) const { return U16(at) | (U16(at + 2) << 16); }
  const std::uint8_t* At(std::size_t at) const { return data_ + at; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

struct Header {
  std::int64_t width = 0;
  std::int64_t height = 0;  // negative: top row first
  std::uint32_t bpp = 0;
  std::uint32_t compression = BI_RGB;
  std::uint32_t colours_used = 0;
  std::uint32_t masks[3] = {0, 0, 0};
  std::uint64_t palette_at = 0;
  std::uint32_t palette_entry = 4;  // bytes per palette entry: 3 in the old core format
  std::uint64_t bits_at = 0;
};

bool Fail(std::string* why, const char* text) {
  if (why) *why = text;
  return false;
}

bool Read_Core_Header(const Reader& r, Header* h) {
  h->width = r.U16(18);
  h->height = static_cast<std::int16_t>(r.U16(20));
  h->bpp = r.U16(24);
  h->palette_at = 14 + 12;
  h->palette_entry = 3;
  return true;
}

bool Read_Info_Header(const Reader& r, std::uint32_t header_size, Header* h, std::string* why) {
  h->width = static_cast<std::int32_t>(r.U32(18));
  h->height = static_cast<std::int32_t>(r.U32(22));
  h->bpp = r.U16(28);
  h->compression = r.U32(30);
  h->colours_used = r.U32(46);
  h->palette_at = 14 + static_cast<std::uint64_t>(header_size);
  if (h->compression == BI_BITFIELDS || h->compression == BI_ALPHABITFIELDS) {
    // The masks sit inside the larger headers, or right after the 40-byte one.
    if (header_size == 40) {
      std::uint32_t bytes = h->compression == BI_BITFIELDS ? 12 : 16;
      if (!r.Has(54, bytes)) return Fail(why, "truncated colour masks");
      h->palette_at += bytes;
    }
    // A header between 40 and 52 bytes long ends part-way through the masks.
    if (!r.Has(54, 12)) return Fail(why, "truncated colour masks");
    for (int i = 0; i < 3; ++i) h->masks[i] = r.U32(54 + 4 * i);
  }
  return true;
}

bool Check_Format(Header* h, std::string* why) {
  if (h->width <= 0 || h->height == 0) return Fail(why, "empty or negative size");
  if (h->width > MAX_SIDE || h->height > MAX_SIDE || h->height < -MAX_SIDE)
    return Fail(why, "picture too large");
  switch (h->bpp) {
    case 1:
    case 4:
    case 8:
    case 24:
      if (h->compression != BI_RGB) return Fail(why, "compressed bitmaps are not supported");
      return true;
    case 16:
    case 32:
      if (h->compression == BI_RGB) {
        if (h->bpp == 16) {
          h->masks[0] = 0x7C00, h->masks[1] = 0x03E0, h->masks[2] = 0x001F;
        } else {
          h->masks[0] = 0xFF0000, h->masks[1] = 0x00FF00, h->masks[2] = 0x0000FF;
        }
        return true;
      }
      if (h->compression == BI_BITFIELDS || h->compression == BI_ALPHABITFIELDS) return true;
      return Fail(why, "compressed bitmaps are not supported");
    default:
      return Fail(why, "unsupported bits per pixel");
  }
}

bool Read_Header(const Reader& r, Header* h, std::string* why) {
  if (!r.Has(0, 18)) return Fail(why, "too short for a bitmap");
  if (r.U8(0) != 'B' || r.U8(1) != 'M') return Fail(why, "not a bitmap file");
  h->bits_at = r.U32(10);
  std::uint32_t header_size = r.U32(14);
  if (header_size == 12) {
    if (!r.Has(14, 12)) return Fail(why, "truncated header");
    Read_Core_Header(r, h);
  } else if (header_size >= 40 && header_size <= 1024) {
    if (!r.Has(14, header_size)) return Fail(why, "truncated header");
    if (!Read_Info_Header(r, header_size, h, why)) return false;
  } else {
    return Fail(why, "unknown header size");
  }
  return Check_Format(h, why);
}

bool Read_Palette(const Reader& r, const Header& h, std::vector<std::uint32_t>* palette,
                  std::string* why) {
  if (h.bpp > 8) return true;
  std::uint32_t count = h.colours_used;
  std::uint32_t most = 1u << h.bpp;
  if (count == 0 || count > most) count = most;
  if (!r.Has(h.palette_at, std::uint64_t{count} * h.palette_entry))
    return Fail(why, "truncated palette");
  palette->assign(most, 0);  // indices past the palette read as black
  for (std::uint32_t i = 0; i < count; ++i) {
    std::size_t at = static_cast<std::size_t>(h.palette_at + std::uint64_t{i} * h.palette_entry);
    (*palette)[i] = r.U8(at) | (r.U8(at + 1) << 8) | (r.U8(at + 2) << 16);
  }
  return true;
}

// Widens one masked channel to 8 bits.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint32_t max = 0;
  explicit Channel(std::uint32_t m) : mask(m) {
    if (m == 0) return;
    shift = std::countr_zero(m);
    max = m >> shift;
  }
  std::uint32_t Get(std::uint32_t px) const {
    if (max == 0) return 0;
    return static_cast<std::uint32_t>((std::uint64_t{(px & mask) >> shift} * 255 + max / 2) / max);
  }
};

void Decode_Row(const Reader& r, std::size_t at, const Header& h,
                const std::vector<std::uint32_t>& palette, const Channel* ch, std::uint32_t* out) {
  const int width = static_cast<int>(h.width);
  switch (h.bpp) {
    case 1:
    case 4:
    case 8: {
      const unsigned per_byte = 8 / h.bpp, lowest = (1u << h.bpp) - 1;
      for (int x = 0; x < width; ++x) {
        std::uint32_t byte = r.U8(at + x / per_byte);
        unsigned shift = 8 - h.bpp * (x % per_byte + 1);
        out[x] = palette[(byte >> shift) & lowest];
      }
      break;
    }
    case 24:
      for (int x = 0; x < width; ++x) {
        const std::uint8_t* p = r.At(at + 3 * static_cast<std::size_t>(x));
        out[x] = p[0] | (p[1] << 8) | (std::uint32_t{p[2]} << 16);
      }
      break;
    default: {
      const std::size_t step = h.bpp / 8;
      for (int x = 0; x < width; ++x) {
        std::size_t p = at + step * static_cast<std::size_t>(x);
        std::uint32_t px = step == 2 ? r.U16(p) : r.U32(p);
        out[x] = (ch[0].Get(px) << 16) | (ch[1].Get(px) << 8) | ch[2].Get(px);
      }
    }
  }
}

}  // namespace

bool Decode_Bmp(const std::uint8_t* data, std::size_t size, Bitmap* out, std::string* why) {
  if (!data || !out) return Fail(why, "no data");
  Reader r(data, size);
  Header h;
  if (!Read_Header(r, &h, why)) return false;
  std::vector<std::uint32_t> palette;
  if (!Read_Palette(r, h, &palette, why)) return false;

  const bool top_down = h.height < 0;
  const std::int64_t rows = top_down ? -h.height : h.height;
  const std::uint64_t stride = ((static_cast<std::uint64_t>(h.width) * h.bpp + 31) / 32) * 4;
  if (!r.Has(h.bits_at, stride * static_cast<std::uint64_t>(rows)))
    return Fail(why, "truncated pixel data");

  const Channel channels[3] = {Channel(h.masks[0]), Channel(h.masks[1]), Channel(h.masks[2])};
  Bitmap bitmap;
  bitmap.width = static_cast<int>(h.width);
  bitmap.height = static_cast<int>(rows);
  bitmap.pixels.resize(static_cast<std::size_t>(h.width * rows));
  for (std::int64_t y = 0; y < rows; ++y) {
    std::int64_t file_row = top_down ? y : rows - 1 - y;
    std::size_t at = static_cast<std::size_t>(h.bits_at + stride * file_row);
    Decode_Row(r, at, h, palette, channels, &bitmap.pixels[static_cast<std::size_t>(y * h.width)]);
  }
  *out = std::move(bitmap);
  return true;
}

bool Load_Bmp_File(const std::string& path, Bitmap* out, std::string* why) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return Fail(why, "cannot open file");
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                  std::istreambuf_iterator<char>());
  if (file.bad()) return Fail(why, "cannot read file");
  return Decode_Bmp(bytes.data(), bytes.size(), out, why);
}

}  // namespace plat::soft
