// Shared set-up of the pattern games' tests that run a play inside the real
// main menu: an offscreen screen with the textures of the data file, the
// menu, a driver that sends input through it, clicks on menu elements by id,
// and screenshots of what the player sees (written as PNG only when the
// environment variable DENKAR_SHOT_DIR names a folder).
#pragma once
#include <memory>
#include <string>

#include "menu/main_menu.h"
#include "support/play_driver.h"
#include "support/test_app.h"

class GUIElement;

class QuadMenuTest : public testapp::AppTest {
 protected:
  bool NeedsDataFile() const override { return true; }
  void SetUp() override;
  void TearDown() override;

  // Clicks the element with this id on the visible page; false when none.
  bool ClickElement(int id);
  // From the main page to the start of game list entry `index` at the
  // difficulty, through the pages as a player clicks them.
  void StartFromMenu(int index, int difficulty);
  // Lets the start countdown run out.
  void SkipCountdown() { driver->SkipCountdown(); }
  // Draws one frame as the main loop does; saves it as `name` when shots are
  // wanted.
  void Shot(const std::string& name);

  std::unique_ptr<testapp::OffscreenScreen> screen;
  std::unique_ptr<MainMenu> menu;
  std::unique_ptr<MenuDriver> driver;
};
