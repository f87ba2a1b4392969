// Fixture base for playing a game through the main menu as in the running
// program (countdown, end wait, result page, name entry), drawn with the real
// textures, with pictures of its screens saved for a person to look at.
#pragma once
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
  // Draws one frame of the menu and the game it hosts, as the main loop
  // does, and saves it as ShotPath(name) when that is set.
  void Shoot(const std::string& name);

  std::unique_ptr<OffscreenScreen> screen;
  std::unique_ptr<MainMenu> menu;
  std::unique_ptr<MenuDriver> driver;
};

}  // namespace testapp
