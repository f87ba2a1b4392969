#include "support/menu_play.h"

#include "util/app_context.h"

namespace testapp {

void MenuPlayTest::SetUp() {
  AppTest::SetUp();
  screen = std::make_unique<OffscreenScreen>();
  ASSERT_TRUE(screen->Ok());
  menu = std::make_unique<MainMenu>();
  driver = std::make_unique<MenuDriver>(*menu);
}

void MenuPlayTest::TearDown() {
  driver.reset();
  menu.reset();  // a game still running records and saves here
  screen.reset();
  AppTest::TearDown();
}

void MenuPlayTest::Shoot(const std::string& name) {
  screen->Draw([this] {
    menu->Render();
    menu->DrawCursor();
  });
  const std::string path = ShotPath(name);
  if (!path.empty()) {
    EXPECT_TRUE(screen->SavePng(path)) << path;
  }
}

}  // namespace testapp
