// The SDL host's own keys, through its real event handling under SDL's dummy drivers: none of
// them reaches the game's keyboard state, pausing waits as a lost focus does, F12 saves the
// picture shown.
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/dinput.h"
#include "platform/soft/keycodes.h"
#include "sdl_host_fixture.h"
#include "tests/temp_dir.h"

namespace zorvex::testing {
namespace {

using plat::soft::InputState;

std::vector<std::string> reports;

class HostKeys : public SdlHostFixture {
 protected:
  void SetUp() override {
    plat::sdl::SdlOptions options;
    options.window = true;
    options.host.report = [](const std::string& text) { reports.push_back(text); };
    Open(options);
  }
  // Whether any of the game's readers has seen the key down since it last looked.
  bool Seen(int dik) {
    bool seen = false;
    for (auto reader : {InputState::DEVICE, InputState::ASYNC})
      seen |= input_.Key_Down(dik, reader);
    return seen;
  }
  bool Full_Screen() { return (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0; }
};

TEST_F(HostKeys, NoHostKeyReachesTheGameAndAltEnterStartsNothing) {
  const bool was_full = Full_Screen();
  Key(SDLK_RETURN, true);
  Key(SDLK_RETURN, true, true, KMOD_LALT);  // Alt joining a held Enter's repeat: still the game's
  Key(SDLK_RETURN, false, false, KMOD_LALT);
  ASSERT_TRUE(Seen(plat::DIK_RETURN)) << "a plain Enter must reach the game";
  ASSERT_EQ(Full_Screen(), was_full);

  Key(SDLK_LALT, true);
  Tap(SDLK_RETURN, KMOD_LALT);
  Key(SDLK_LALT, false);
  EXPECT_FALSE(Seen(plat::DIK_RETURN));
  EXPECT_NE(Full_Screen(), was_full);
  Tap(SDLK_F11);
  EXPECT_EQ(Full_Screen(), was_full);

  Key(SDLK_EQUALS, true);
  Key(SDLK_EQUALS, true, true);  // held: its repeats stay the host's too
  Key(SDLK_EQUALS, false);
  // Looked at after each key: a pause lets go of every key, hiding what came before it.
  for (SDL_Keycode host_key : {SDLK_MINUS, SDLK_F12, SDLK_p, SDLK_p, SDLK_PAUSE, SDLK_PAUSE}) {
    Tap(host_key);
    for (int dik : {plat::soft::DIK_F11, plat::soft::DIK_MINUS, plat::soft::DIK_EQUALS,
                    plat::soft::Char_To_Dik('P'), plat::soft::DIK_F12, plat::DIK_RETURN})
      EXPECT_FALSE(Seen(dik)) << "key code " << dik << " after " << SDL_GetKeyName(host_key);
  }
  EXPECT_TRUE(host_->Visible());
}

// P as the player's layout names it, wherever it sits; the keys with no such name by their place.
TEST_F(HostKeys, ThePauseLetterFollowsTheLayoutAndThePauseKeyItsPlace) {
  Tap(SDLK_l, KMOD_NONE, SDL_SCANCODE_P);  // where P sits on other layouts
  EXPECT_TRUE(host_->Visible());
  EXPECT_TRUE(Seen(plat::soft::Char_To_Dik('P'))) << "the game's key, by its place";
  Tap(SDLK_p, KMOD_NONE, SDL_SCANCODE_R);
  EXPECT_FALSE(host_->Visible());
  Tap(SDLK_UNKNOWN, KMOD_NONE, SDL_SCANCODE_PAUSE);
  EXPECT_TRUE(host_->Visible());
}

TEST_F(HostKeys, PauseWaitsAsALostFocusDoesAndEscapeStillQuits) {
  Key(SDLK_RETURN, true);  // held through the pause, as the focus's loss would let it go
  Tap(SDLK_p);
  EXPECT_FALSE(host_->Visible());
  // The first look may still see the press; a second finds the key let go.
  EXPECT_FALSE(input_.Key_Down(plat::DIK_RETURN, InputState::DEVICE) &&
               input_.Key_Down(plat::DIK_RETURN, InputState::DEVICE));
  SDL_Event click{};
  click.type = SDL_MOUSEBUTTONDOWN;
  click.button.button = SDL_BUTTON_LEFT;
  SDL_PushEvent(&click);  // handled with the key below
  Tap(SDLK_SPACE);
  EXPECT_FALSE(input_.Button_Down(0, InputState::DEVICE));
  EXPECT_FALSE(Seen(plat::DIK_SPACE));
  Tap(SDLK_PAUSE);
  EXPECT_TRUE(host_->Visible());

  Tap(SDLK_PAUSE);
  Key(SDLK_ESCAPE, true);
  EXPECT_TRUE(host_->Visible());
  EXPECT_TRUE(input_.Key_Down(plat::DIK_ESCAPE, InputState::DEVICE));
}

TEST_F(HostKeys, F12SavesTheNextPictureShownAndSaysWhere) {
  const TempDir shots;
  const std::string& dir = shots.path;
  setenv("XDG_PICTURES_DIR", dir.c_str(), 1);
  reports.clear();
  Tap(SDLK_F12);
  EXPECT_TRUE(reports.empty()) << "nothing is saved before a picture is shown";
  std::vector<std::uint16_t> frame(640 * 480, 0xF800);
  host_->Present(frame.data(), 640, 480);
  unsetenv("XDG_PICTURES_DIR");

  ASSERT_EQ(reports.size(), 1u);
  const std::string said = "Screenshot saved to ";
  EXPECT_EQ(reports[0].rfind(said + dir + "/zorvex-", 0), 0u) << reports[0];
  EXPECT_TRUE(std::filesystem::exists(reports[0].substr(said.size()))) << "the one file";
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
}

}  // namespace
}  // namespace zorvex::testing
