// The host layer on its own, as every platform drives it: key events in, reactions out, frames
// through it with the notes over a copy, and screenshots handed to the platform's keeper.
#include "host/host_layer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zorvex::testing {
namespace {

using host::HostLayer;
using host::Key;
using host::Reaction;

struct Kept {
  int calls = 0;
  std::vector<std::uint16_t> pixels;
  bool ok = true;
};

class Layer : public ::testing::Test {
 protected:
  HostLayer Make(bool sound = true, int volume = 100) {
    host::HostOptions options;
    options.sound = sound;
    options.volume = volume;
    options.report = [this](const std::string& text) { reports_.push_back(text); };
    return HostLayer(options, [this](const std::uint16_t* p, int w, int h, std::string* result) {
      ++kept_.calls;
      kept_.pixels.assign(p, p + w * h);
      *result = kept_.ok ? "/pictures/shot.png" : "disk full";
      return kept_.ok;
    });
  }
  static Reaction Press(HostLayer* layer, Key key, int code, bool down = true, bool repeat = false,
                        bool alt = false, std::uint64_t now = 0) {
    return layer->Key({key, code, down, repeat, alt}, now);
  }
  Kept kept_;
  std::vector<std::string> reports_;
};

TEST_F(Layer, VolumeStepsWithinItsRangeAndRepeatsButOtherHostKeysDoNot) {
  HostLayer layer = Make(false, 95);
  Reaction up = Press(&layer, Key::EQUALS, 13);
  EXPECT_FALSE(up.to_game);
  EXPECT_TRUE(up.volume);
  EXPECT_EQ(layer.Volume(), 100);
  EXPECT_TRUE(Press(&layer, Key::EQUALS, 13, true, true).volume) << "a held volume key repeats";
  for (int i = 0; i < 12; ++i) Press(&layer, Key::PAD_MINUS, 74);
  EXPECT_EQ(layer.Volume(), 0);
  // The note says the sound is off, on top of a copy: the game's frame is left alone.
  const std::vector<std::uint16_t> frame(640 * 480, 0x1234);
  const std::uint16_t* shown = layer.Frame(frame.data(), 640, 480, 0);
  EXPECT_NE(shown, frame.data());
  EXPECT_EQ(frame, std::vector<std::uint16_t>(640 * 480, 0x1234));
  EXPECT_EQ(layer.Frame(frame.data(), 640, 480, host::Overlay::NOTE_MS), frame.data())
      << "the note goes when its time is up";

  EXPECT_TRUE(Press(&layer, Key::PAUSE, 1).pause);
  EXPECT_FALSE(Press(&layer, Key::PAUSE, 1, true, true).pause) << "a held pause key toggles once";
  EXPECT_TRUE(layer.Paused());
}

TEST_F(Layer, AltEnterIsTheHostsOnlyWhenPressedWithAltAndItsReleaseStaysOurs) {
  HostLayer layer = Make();
  Reaction plain = Press(&layer, Key::ENTER, 40);
  EXPECT_TRUE(plain.to_game);
  EXPECT_FALSE(plain.switch_screen);
  // Alt joining a held Enter's repeat leaves it the game's.
  EXPECT_TRUE(Press(&layer, Key::ENTER, 40, true, true, true).to_game);
  EXPECT_TRUE(Press(&layer, Key::ENTER, 40, false).to_game);
  Reaction alt = Press(&layer, Key::PAD_ENTER, 88, true, false, true);
  EXPECT_TRUE(alt.switch_screen);
  EXPECT_FALSE(alt.to_game);
  EXPECT_FALSE(Press(&layer, Key::PAD_ENTER, 88, false).to_game) << "its release is the host's";
  EXPECT_TRUE(Press(&layer, Key::F11, 68).switch_screen);
  EXPECT_FALSE(Press(&layer, Key::OTHER, 68, false).to_game);
}

TEST_F(Layer, PausedOnlyEscapeReachesTheGameAndItEndsThePause) {
  HostLayer layer = Make();
  Press(&layer, Key::P, 19);
  Press(&layer, Key::P, 19, false);
  ASSERT_TRUE(layer.Paused());
  EXPECT_FALSE(Press(&layer, Key::OTHER, 44).to_game);
  EXPECT_FALSE(Press(&layer, Key::ESCAPE, 1, false).to_game) << "a release does not end it";
  Reaction escape = Press(&layer, Key::ESCAPE, 1);
  EXPECT_TRUE(escape.to_game);
  EXPECT_TRUE(escape.pause);
  EXPECT_FALSE(layer.Paused());
  EXPECT_TRUE(Press(&layer, Key::OTHER, 44, true, false, false, 0).to_game);
  EXPECT_TRUE(Press(&layer, Key::OTHER, 9999).to_game) << "a key code out of range is the game's";
}

TEST_F(Layer, ScreenshotsComeFromTheGamesOwnFrameAndSayWhereOrWhyNot) {
  HostLayer layer = Make();
  std::vector<std::uint16_t> first(4 * 2, 0xF800), second(4 * 2, 0x07E0);
  Press(&layer, Key::F12, 69);
  EXPECT_EQ(kept_.calls, 0) << "nothing is kept before a picture is shown";
  Press(&layer, Key::P, 19);  // paused: the note over the picture must stay out of the file
  layer.Frame(first.data(), 4, 2, 0);
  EXPECT_EQ(kept_.pixels, first);
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_EQ(reports_[0], "Screenshot saved to /pictures/shot.png");

  // Paused, the game shows no new frame: the one on screen is kept at once.
  layer.Frame(second.data(), 4, 2, 0);
  kept_.ok = false;
  Press(&layer, Key::F12, 69, false);
  Press(&layer, Key::F12, 69);
  EXPECT_EQ(kept_.calls, 2);
  EXPECT_EQ(kept_.pixels, second);
  EXPECT_EQ(reports_.back(), "Screenshot not saved: disk full");
  EXPECT_NE(layer.Frame_Again(0), nullptr);
}

}  // namespace
}  // namespace zorvex::testing
