#include "support/menu_play.h"

#include <cstdlib>

#include "framework/gui_element.h"
#include "menu/main_menu.h"

void MenuPlayTest::SetUp() {
  testapp::AppTest::SetUp();
  screen = std::make_unique<testapp::OffscreenScreen>();
  ASSERT_TRUE(screen->Ok());
  menu = std::make_unique<MainMenu>();
  driver = std::make_unique<MenuDriver>(*menu);
}

void MenuPlayTest::TearDown() {
  driver.reset();
  menu.reset();
  screen.reset();
  testapp::AppTest::TearDown();
}

bool MenuPlayTest::ClickElement(int id) {
  for (int slot = 0; slot < GAME_ELEMENT_COUNT; ++slot) {
    if (!menu->elementEnabled[slot] || !menu->elements[slot]) continue;
    GUIElement* root = menu->elements[slot];
    for (int i = 0; i < root->children.Count(); ++i) {
      GUIElement* e = root->children.Get(i);
      if (e->GetId() != id) continue;
      driver->Click(root->x + (e->x + e->right) / 2, root->y + (e->y + e->bottom) / 2);
      return true;
    }
  }
  return false;
}

bool MenuPlayTest::StartListedGame(int index, int difficulty) {
  if (!ClickElement(2) || !ClickElement(11 + difficulty) || !ClickElement(17)) return false;
  while (!ClickElement(22 + index))
    if (!ClickElement(21)) return false;  // scroll down; at the end of the list: not there
  return menu->activeGame != nullptr;
}

void MenuPlayTest::Shoot(const std::string& name) {
  screen->Draw([&] {
    menu->Render();
    menu->DrawCursor();
  });
  if (const char* folder = std::getenv("DENKAR_SHOTS")) {
    EXPECT_TRUE(screen->SavePng(std::string(folder) + "/" + name + ".png"));
  }
}
