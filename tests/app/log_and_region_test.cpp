// The diagnostics log and the clip region record.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/log.h"
#include "gfx/display.h"

namespace zorvex {
namespace {

std::string Read_File(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return "";
  std::string text;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0) text.append(buffer, n);
  std::fclose(f);
  return text;
}

TEST(Log, ClosedLogWritesNothing) {
  Close_Log();
  EXPECT_EQ(Log_Error("anything"), 0);
  EXPECT_EQ(Log_Error(nullptr), 0);
  EXPECT_EQ(Close_Log(), 0);
  EXPECT_EQ(Close_Log(), 0);
}

TEST(Log, OpenLogGetsEveryMessageUnchanged) {
  std::string path = ::testing::TempDir() + "zorvex_log_test.txt";
  ASSERT_EQ(Open_Log(path.c_str()), 1);
  EXPECT_EQ(Log_Error("no bricks %d", -1), 1);
  EXPECT_EQ(Log_Error("%s", "100% sure\n"), 1);
  EXPECT_EQ(Log_Error(nullptr), 0);
  // A message longer than the shared buffer is cut, never overrun.
  std::string longer(5000, 'x');
  EXPECT_EQ(Log_Error("%s", longer.c_str()), 1);
  EXPECT_EQ(Close_Log(), 1);
  EXPECT_EQ(Close_Log(), 0);
  std::string text = Read_File(path);
  EXPECT_EQ(text.substr(0, 22), "no bricks -1100% sure\n");
  EXPECT_GT(text.size(), 22u);
  EXPECT_LT(text.size(), 22u + 5000u);
  std::remove(path.c_str());
}

struct Region {
  plat::RGNDATA* data;
  ~Region() { std::free(data); }
};

const plat::RECT* Rects(const plat::RGNDATA* r) {
  return reinterpret_cast<const plat::RECT*>(r->Buffer);
}

TEST(ClipRegion, OneScreenRectangle) {
  plat::RECT screen{0, 0, 640, 480};
  Region r{Build_Clip_Region(1, &screen)};
  ASSERT_NE(r.data, nullptr);
  EXPECT_EQ(r.data->rdh.dwSize, 32u);
  EXPECT_EQ(r.data->rdh.iType, plat::RDH_RECTANGLES);
  EXPECT_EQ(r.data->rdh.nCount, 1u);
  EXPECT_EQ(r.data->rdh.nRgnSize, 16u);
  EXPECT_EQ(r.data->rdh.dwSize + r.data->rdh.nRgnSize, 48u);  // the whole record
  const plat::RECT& b = r.data->rdh.rcBound;
  EXPECT_EQ(b.left, 0);
  EXPECT_EQ(b.top, 0);
  EXPECT_EQ(b.right, 640);
  EXPECT_EQ(b.bottom, 480);
  EXPECT_EQ(std::memcmp(Rects(r.data), &screen, sizeof(screen)), 0);
}

TEST(ClipRegion, BoundOfSeveralAndOfNone) {
  plat::RECT two[2] = {{0, 0, 10, 10}, {-5, 20, 5, 30}};
  Region r{Build_Clip_Region(2, two)};
  ASSERT_NE(r.data, nullptr);
  EXPECT_EQ(r.data->rdh.nCount, 2u);
  EXPECT_EQ(r.data->rdh.nRgnSize, 32u);
  const plat::RECT& b = r.data->rdh.rcBound;
  EXPECT_EQ(b.left, -5);
  EXPECT_EQ(b.top, 0);
  EXPECT_EQ(b.right, 10);
  EXPECT_EQ(b.bottom, 30);
  EXPECT_EQ(Rects(r.data)[1].left, -5);

  Region none{Build_Clip_Region(0, nullptr)};
  ASSERT_NE(none.data, nullptr);
  EXPECT_EQ(none.data->rdh.dwSize, 32u);
  EXPECT_EQ(none.data->rdh.nCount, 0u);
  EXPECT_EQ(none.data->rdh.nRgnSize, 0u);
  EXPECT_EQ(none.data->rdh.rcBound.left, 64000);
  EXPECT_EQ(none.data->rdh.rcBound.top, 64000);
  EXPECT_EQ(none.data->rdh.rcBound.right, -64000);
  EXPECT_EQ(none.data->rdh.rcBound.bottom, -64000);

  EXPECT_EQ(Build_Clip_Region(-1, nullptr), nullptr);
}

}  // namespace
}  // namespace zorvex
