// Shared set-up of the pattern games' tests that run a play inside the real
// main menu: an offscreen screen with the textures of the data file, the
// menu, a driver that sends input through it, clicks on menu elements by id,
// and screenshots of what the player sees (written as PNG only when the
// environment variable DENKAR_SHOT_DIR names a folder).
#pragma once
#include <functional>
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
  // After a play that ended itself: the end wait, the result page with its
  // name entry (screenshot `shot` of it unless empty), the name typed and
  // confirmed, back on the main page.
  void ConfirmResultWithName(const std::string& name, const std::string& shot = "");
  // The save file holds one play and one top-10 entry of that name and grade.
  void ExpectOneSavedEntry(const char* saveFile, const char* name, double grade);
  // Every difficulty in German and English: starts list entry `index`, lets
  // the countdown run out, calls `play` with a tag for the screenshot names
  // (it ends the play), and shows the result page.
  void ForEachDifficultyAndLanguage(int index, const std::string& prefix,
                                    const std::function<void(const std::string& tag)>& play);

  std::unique_ptr<testapp::OffscreenScreen> screen;
  std::unique_ptr<MainMenu> menu;
  std::unique_ptr<MenuDriver> driver;
};
