// PNG encoding and whole-or-nothing file writing, for screenshots and the installed icons.
// No SDL here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plat::png {

// An 8-bit PNG of `width` x `height` pixels given top row first, `channels` bytes a pixel:
// 3 for RGB, 4 for RGBA.
std::vector<std::uint8_t> Encode(const std::uint8_t* pixels, int width, int height, int channels);

// Writes `bytes` to a new file at `path`: first to a temporary file in the same folder, then
// renamed into place once complete and flushed, so that a full disk or any other failure leaves
// neither a partial file nor the temporary one. An existing file at `path` is never replaced.
// On failure, `error` says why and errno keeps the cause (EEXIST for a name already taken).
bool Write_New_File(const std::string& path, const std::vector<std::uint8_t>& bytes,
                    std::string* error);

}  // namespace plat::png
