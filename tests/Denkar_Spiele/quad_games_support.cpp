#include "Denkar_Spiele/quad_games_support.h"

#include <cstdlib>
#include <filesystem>

#include "framework/gui_element.h"
#include "util/app_context.h"

namespace {

GUIElement* FindElement(GUIElement* e, int id) {
  if (!e) return nullptr;
  if (e->GetId() == id && e->parent) return e;
  for (int i = 0; i < e->children.Count(); ++i)
    if (GUIElement* found = FindElement(e->children.Get(i), id)) return found;
  return nullptr;
}

}  // namespace

void QuadMenuTest::SetUp() {
  AppTest::SetUp();
  screen = std::make_unique<testapp::OffscreenScreen>();
  ASSERT_TRUE(screen->Ok());
  menu = std::make_unique<MainMenu>();
  driver = std::make_unique<MenuDriver>(*menu);
}

void QuadMenuTest::TearDown() {
  driver.reset();
  menu.reset();
  screen.reset();
  AppTest::TearDown();
}

bool QuadMenuTest::ClickElement(int id) {
  for (int slot = 0; slot < GAME_ELEMENT_COUNT; ++slot) {
    if (!menu->elementEnabled[slot]) continue;
    GUIElement* e = FindElement(menu->elements[slot], id);
    if (!e) continue;
    int x = (e->right - e->x) / 2, y = (e->bottom - e->y) / 2;
    for (GUIElement* p = e; p; p = p->parent) {
      x += p->x;
      y += p->y;
    }
    driver->Click(x, y);
    return true;
  }
  return false;
}

void QuadMenuTest::StartFromMenu(int index, int difficulty) {
  ASSERT_TRUE(ClickElement(2));
  ASSERT_TRUE(ClickElement(11 + difficulty));
  ASSERT_TRUE(ClickElement(17));
  ASSERT_EQ(menu->currentPage, 18);
  while (index > menu->listOffset + menu->listLastRow) ASSERT_TRUE(ClickElement(21));
  ASSERT_TRUE(ClickElement(22 + index));
  ASSERT_NE(menu->activeGame, nullptr);
  EXPECT_EQ(menu->difficulty, difficulty);
}

void QuadMenuTest::Shot(const std::string& name) {
  screen->Draw([this] {
    menu->Render();
    menu->DrawCursor();
  });
  const char* dir = std::getenv("DENKAR_SHOT_DIR");
  if (!dir || !*dir) return;
  std::filesystem::create_directories(dir);
  EXPECT_TRUE(screen->SavePng(std::string(dir) + "/" + name));
}
