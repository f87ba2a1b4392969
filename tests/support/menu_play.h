// A main menu on an offscreen screen with the real data files, for tests that
// start a game from the menu, play it through the menu's input handlers and
// look at its screens.
#pragma once
#include <memory>
#include <string>

#include "support/play_driver.h"
#include "support/test_app.h"

class MainMenu;

class MenuPlayTest : public testapp::AppTest {
 protected:
  bool NeedsDataFile() const override { return true; }
  void SetUp() override;
  void TearDown() override;

  // Clicks element `id` of the visible page at its centre, as a player does;
  // false when the page has no such element.
  bool ClickElement(int id);
  // From page 1 through the difficulty and the single-game pages to the game
  // list, scrolling it until the game of list index `index` shows, and starts it.
  bool StartListedGame(int index, int difficulty);
  // Draws one frame as the main loop does. With the environment variable
  // DENKAR_SHOTS naming a folder, saves it there as `name`.png.
  void Shoot(const std::string& name);

  std::unique_ptr<testapp::OffscreenScreen> screen;
  std::unique_ptr<MainMenu> menu;
  std::unique_ptr<MenuDriver> driver;
};
