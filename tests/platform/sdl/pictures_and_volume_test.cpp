// PNG files (the screenshot key and the icons), files written whole, and the output volume.
#include <gtest/gtest.h>
#include <png.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "host/png_encode.h"
#include "host/screenshot.h"
#include "platform/files/whole_file.h"
#include "platform/soft/volume.h"
#include "tests/file_text.h"
#include "tests/temp_dir.h"

namespace zorvex::testing {
namespace {

struct Decoded {
  int width = 0, height = 0;
  std::vector<std::uint8_t> pixels;
};

// Read back by libpng, not by our own code, from a file's bytes in a vector or a string.
template <class Bytes>
Decoded Decode(const Bytes& file, int channels) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  Decoded out;
  if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) return out;
  image.format = channels == 4 ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  out.pixels.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, out.pixels.data(), 0, nullptr)) return {};
  out.width = static_cast<int>(image.width);
  out.height = static_cast<int>(image.height);
  return out;
}

namespace fs = std::filesystem;

std::size_t Files_In(const std::string& dir) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {}));
}

// With an alpha channel, as the icons are made; the screenshots' three channels are read back
// by the screenshot test below.
TEST(Png, EncodedPixelsReadBackExactly) {
  std::mt19937 random(7);
  const int w = 7, h = 5;  // rows of odd length, so filtering crosses pixel boundaries
  std::vector<std::uint8_t> pixels(w * h * 4);
  for (auto& p : pixels) p = static_cast<std::uint8_t>(random());
  Decoded back = Decode(host::Encode_Png(pixels.data(), w, h, 4), 4);
  EXPECT_EQ(back.width, w);
  EXPECT_EQ(back.height, h);
  EXPECT_EQ(back.pixels, pixels);
}

TEST(Screenshot, SavesTheWidenedPictureUnderAFreshNameEachTime) {
  TempDir dir;
  // White, black, pure red, green and blue, and a mid grey.
  const std::vector<std::uint16_t> frame = {0xFFFF, 0x0000, 0xF800, 0x07E0, 0x001F, 0x8410};
  const std::vector<std::uint8_t> expected = {255, 255, 255, 0, 0, 0,   255, 0,   0,
                                              0,   255, 0,   0, 0, 255, 132, 130, 132};
  std::string first, second;
  ASSERT_TRUE(host::Save_Screenshot(frame.data(), 3, 2, dir.path, &first)) << first;
  ASSERT_TRUE(host::Save_Screenshot(frame.data(), 3, 2, dir.path + "/", &second)) << second;
  EXPECT_NE(first, second);  // the same second gets a -2, and nothing is replaced
  EXPECT_EQ(first.rfind(dir.path + "/zorvex-", 0), 0u) << first;
  Decoded back = Decode(File_Text(first), 3);
  EXPECT_EQ(back.width, 3);
  EXPECT_EQ(back.pixels, expected);
  EXPECT_EQ(Files_In(dir.path), 2u);
}

TEST(Screenshot, AFullDiskOrAMissingFolderLeavesNoFileAndSaysWhy) {
  TempDir dir;
  std::vector<std::uint16_t> frame(640 * 480);
  for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<std::uint16_t>(i * 7919);
  std::string why;

  // A file size limit stands in for a full disk: writes past it fail as they would there.
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = 4096;
  signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool saved = host::Save_Screenshot(frame.data(), 640, 480, dir.path, &why);
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, SIG_DFL);
  EXPECT_FALSE(saved);
  EXPECT_NE(why.find("cannot write"), std::string::npos) << why;
  EXPECT_EQ(Files_In(dir.path), 0u) << "a partial or temporary file was left";

  EXPECT_FALSE(host::Save_Screenshot(frame.data(), 640, 480, dir.path + "/not-there", &why));
  EXPECT_NE(why.find("No such file"), std::string::npos) << why;
}

// A new file never takes a name already taken and is made as the umask says; a kept file
// replaces the old one and is readable by all. Neither leaves its temporary file behind.
TEST(WholeFile, ANewFileNeverReplacesAndAKeptOneDoes) {
  using plat::files::Replace, plat::files::Written, plat::files::Write_Whole_File;
  TempDir dir;
  const std::string path = dir.path + "/file";
  std::string why;
  const mode_t mask = umask(077);
  EXPECT_EQ(Write_Whole_File(path, "new", 3, Replace::NEVER, &why), Written::WRITTEN) << why;
  const fs::perms mine = fs::status(path).permissions();
  EXPECT_EQ(Write_Whole_File(path, "taken", 5, Replace::NEVER, &why), Written::NAME_TAKEN);
  EXPECT_EQ(File_Text(path), "new");
  EXPECT_EQ(Write_Whole_File(path, "kept", 4, Replace::OLD_FILE, &why), Written::WRITTEN) << why;
  umask(mask);
  EXPECT_EQ(mine, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(File_Text(path), "kept");
  EXPECT_EQ(fs::status(path).permissions(), static_cast<fs::perms>(0644));
  EXPECT_EQ(Files_In(dir.path), 1u);
}

TEST(Volume, ScalesTheMixAlikeForBothSigns) {
  const std::vector<std::int16_t> mix = {32767, -32768, 1000, -1000, 1, -1, 0};
  auto at = [&](int percent) {
    std::vector<std::int16_t> out = mix;
    plat::soft::Apply_Volume(out.data(), static_cast<int>(out.size()), percent);
    return out;
  };
  EXPECT_EQ(at(100), mix);
  EXPECT_EQ(at(0), std::vector<std::int16_t>(mix.size(), 0));
  EXPECT_EQ(at(50), (std::vector<std::int16_t>{16383, -16384, 500, -500, 0, 0, 0}));
}

}  // namespace
}  // namespace zorvex::testing
