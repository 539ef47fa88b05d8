// The diagnostics log.
#include "core/log.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/file_text.h"
#include "tests/temp_dir.h"

namespace zorvex::testing {
namespace {

TEST(Log, WritesEveryMessageUnchangedOnlyWhileOpenAndCutsLongOnes) {
  Close_Log();
  EXPECT_EQ(Log_Error("anything"), 0);
  EXPECT_EQ(Close_Log(), 0);

  const TempDir dir;
  const std::string path = dir.path + "/log.txt";
  ASSERT_EQ(Open_Log(path.c_str()), 1);
  EXPECT_EQ(Log_Error("no bricks %d", -1), 1);
  EXPECT_EQ(Log_Error("%s", "100% sure\n"), 1);
  EXPECT_EQ(Log_Error(nullptr), 0);
  // A message longer than the shared buffer is cut, never overrun.
  EXPECT_EQ(Log_Error("%s", std::string(5000, 'x').c_str()), 1);
  EXPECT_EQ(Close_Log(), 1);
  EXPECT_EQ(Close_Log(), 0);
  const std::string text = File_Text(path);
  EXPECT_EQ(text.substr(0, 22), "no bricks -1100% sure\n");
  EXPECT_GT(text.size(), 22u);
  EXPECT_LT(text.size(), 22u + 5000u);
}

}  // namespace
}  // namespace zorvex::testing
