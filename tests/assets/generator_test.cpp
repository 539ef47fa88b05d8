// The generator makes the same files on every run: nothing depends on time or on memory left
// uninitialised, so a rebuild never changes the game's look or sound; and a build whose generator
// could not write its files fails rather than shipping stale ones.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/file_text.h"
#include "tests/temp_dir.h"

namespace zorvex::testing {
namespace {

namespace fs = std::filesystem;

const fs::path data(ZORVEX_DATA_DIR);
const fs::path tool = data.parent_path() / "tools/assetgen/zorvex-assetgen";

TEST(Generator, RerunWritesIdenticalFilesAndBadArgumentsFail) {
  if (!fs::exists(tool)) GTEST_SKIP() << "zorvex-assetgen not built";
  const TempDir out;
  std::string cmd = tool.string() + " " + out.path + " /usr/share/fonts/truetype/dejavu";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
  int compared = 0;
  for (const auto& entry : fs::directory_iterator(out.path)) {
    const fs::path name = entry.path().filename();
    EXPECT_TRUE(File_Text(entry.path()) == File_Text(data / name))
        << name << " differs between runs";
    ++compared;
  }
  EXPECT_EQ(compared, 12);

  EXPECT_NE(std::system((tool.string() + " 2> /dev/null").c_str()), 0);
  cmd = tool.string() + " /nonexistent/dir /usr/share/fonts/truetype/dejavu 2> /dev/null";
  EXPECT_NE(std::system(cmd.c_str()), 0) << "a failed write must not look like success";
}

}  // namespace
}  // namespace zorvex::testing
