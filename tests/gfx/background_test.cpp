// The scrolling background.
#include "gfx/background.h"

#include <gtest/gtest.h>

#include "tests/game/play_field_fixture.h"

namespace zorvex::testing {
namespace {

using Background = PlayField;

TEST_F(Background, TileGridCoversTheScreenAtTheScrollOffset) {
  back_tile = TileRect{64, 128, 64, 64};
  scroll_y = 10.0;
  Set_Clock(1);  // too soon to scroll
  Draw_Back();
  ASSERT_EQ(back.blits.size(), 108u);
  EXPECT_EQ(back.blits.front(), (Blit{-64, -54, 64, 64, 64, 128, &gfx}));
  EXPECT_EQ(back.blits[9], (Blit{0, -54, 64, 64, 64, 128, &gfx}));
  EXPECT_EQ(back.blits.back(), (Blit{640, 458, 64, 64, 64, 128, &gfx}));
  EXPECT_EQ(scroll_y, 10.0);
  EXPECT_EQ(scroll_timer.tick, 0u);
}

TEST_F(Background, OnlyTheLastTilesFailureIsReported) {
  back.fail_from = 0;
  back.fail_to = 107;  // every tile but the last fails
  Draw_Back();
  EXPECT_EQ(Log_Text().find(" Draw_Back Blt Err"), std::string::npos);
  back.blits.clear();
  back.fail_from = 107;
  back.fail_to = 108;
  Draw_Back();
  EXPECT_NE(Log_Text().find(" Draw_Back Blt Err"), std::string::npos);
}

}  // namespace
}  // namespace zorvex::testing
