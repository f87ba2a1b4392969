// Fixture base for playing a game through the main menu as in the running
// program (countdown, end wait, result page, name entry), drawn with the real
// textures, with pictures of its screens saved for a person to look at.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "menu/main_menu.h"
#include "support/play_driver.h"
#include "support/test_app.h"

namespace testapp {

class MenuPlayTest : public AppTest {
 protected:
  bool NeedsDataFile() const override { return true; }
  void SetUp() override;
  void TearDown() override;
  // Clicks element `id` of the visible page at its centre, as a player does;
  // false when the page has no such element.
  bool ClickElement(int id) { return driver->ClickElement(id); }
  // From page 1 through the difficulty and the single-game pages to the game
  // list, scrolling it until the game of list index `index` shows, and starts it.
  bool StartListedGame(int index, int difficulty) { return driver->StartFromMenu(index, difficulty); }
  // Draws one frame of the menu and the game it hosts, as the main loop
  // does, and saves it as ShotPath(name) when that is set.
  void Shoot(const std::string& name);
  // Leaves the result page: types `name` when a top-10 place asks for one,
  // then Enter.
  void ConfirmResult(const char* name);
  // After a play that won a top-10 place: waits out the end wait, types
  // `name` on the result page and confirms; then the save file `saveFile`
  // must hold exactly one play with one entry of that name, whose grade is
  // returned (6.0 when something is missing).
  double EnterTopTenName(const char* name, const char* saveFile);
  // Plays the game of list index `listIndex` from the menu at every
  // difficulty in German and English and saves pictures named
  // "<prefix>_<de|en><difficulty>_<n>_<screen>.png": the countdown, whatever
  // `play` shoots (it gets the name stem and plays until the game has ended
  // itself), the end wait and the result page, which is then left.
  void ShootEveryScreen(const std::string& prefix, int listIndex,
                        const std::function<void(const std::string&)>& play);

  std::unique_ptr<OffscreenScreen> screen;
  std::unique_ptr<MainMenu> menu;
  std::unique_ptr<MenuDriver> driver;
};

}  // namespace testapp
