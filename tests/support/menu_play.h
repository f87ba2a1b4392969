// Playing the games through the main menu as in the running program
// (countdown, end wait, result page, name entry), drawn with the real
// textures, with pictures of the screens saved for a person to look at
// (when DENKAR_SHOTS_DIR names a folder, see ShotPath).
#pragma once
#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "menu/main_menu.h"
#include "support/play_driver.h"
#include "support/test_app.h"

class GameRecord;

namespace testapp {

// What PlayListedGame came to.
struct MenuPlay {
  int endState = -1;        // the game's state when it ended
  double playTime = 0;      // its play time then
  bool resultPage = false;  // the result page came
  bool nameAsked = false;   // it asked for a name, which was typed
  bool backInMenu = false;  // confirmed: the game is gone, page 1 shows
};

// An offscreen screen with the textures of the data file, the main menu on
// it and a driver that plays through the menu; the helpers of the plays.
// MenuTest makes it part of a fixture.
class MenuSession {
 protected:
  // Makes the screen, the menu and the driver (the data file and the
  // language files must be in the working folder).
  void OpenMenu();
  // The menu goes first: a game still running records and saves here.
  void CloseMenu();

  // Draws one frame of the menu and the game it hosts, as the main loop does.
  void DrawFrame();
  // DrawFrame, saved as ShotPath(name) when that is set.
  void Shot(const std::string& name);
  // After a play that won a top-10 place: waits out the end wait, types
  // `name` on the result page and confirms; then the save file `saveFile`
  // must hold exactly one play with one entry of that name (OnlyEntryGrade),
  // whose grade is returned (6.0 when something is missing).
  double EnterTopTenName(const char* name, const char* saveFile);
  // Plays the game of list index `listIndex` from the menu at every
  // difficulty in German and English and saves pictures named
  // "<prefix>_<de|en><difficulty>_<n>_<screen>.png": the countdown, whatever
  // `play` shoots (it gets the name stem and plays until the game has ended
  // itself), the end wait and the result page, which is then left. With
  // `topTen` every play must ask for a name there.
  void ShootEveryScreen(const std::string& prefix, int listIndex,
                        const std::function<void(const std::string&)>& play, bool topTen = false);
  // Starts the game of list index `index` at `difficulty` from the menu,
  // lets its countdown run out, `play` plays through the driver until the
  // game ends, the result page comes, `name` is typed when it asks for one,
  // and the page is confirmed with its button.
  MenuPlay PlayListedGame(int index, int difficulty,
                          const std::function<void(PlayDriver&)>& play, const std::string& name);

  std::unique_ptr<OffscreenScreen> screen;
  std::unique_ptr<MainMenu> menu;
  std::unique_ptr<MenuDriver> driver;
};

// Fixture on top of `Base` (an AppTest) for plays through the real main
// menu: the session is made after Base's set-up and gone before its
// tear-down.
template <typename Base>
class MenuTest : public Base, public MenuSession {
 protected:
  bool NeedsDataFile() const override { return true; }
  void SetUp() override {
    Base::SetUp();
    if (!::testing::Test::HasFatalFailure()) OpenMenu();
  }
  void TearDown() override {
    CloseMenu();
    Base::TearDown();
  }
};

using MenuPlayTest = MenuTest<AppTest>;

// The save file `saveFile` holds exactly one play with one top-10 entry, of
// `name`, which is also its best grade; that grade (6.0 when something is
// missing).
double OnlyEntryGrade(const char* saveFile, const char* name);
// The grade `record` lists under `name`, or -1 when no entry has that name.
double ListedGrade(GameRecord& record, const std::string& name);

}  // namespace testapp
