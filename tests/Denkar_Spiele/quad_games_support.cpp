#include "Denkar_Spiele/quad_games_support.h"

#include <cstdlib>
#include <filesystem>

#include "framework/game_record.h"
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

void QuadMenuTest::ConfirmResultWithName(const std::string& name, const std::string& shot) {
  driver->Wait(2.1);
  ASSERT_EQ(menu->currentPage, 55);
  ASSERT_NE(menu->gameNameEntry, nullptr);
  driver->Type(name);
  if (!shot.empty()) Shot(shot);
  driver->Key(VK_RETURN);
  EXPECT_EQ(menu->activeGame, nullptr);
  EXPECT_EQ(menu->currentPage, 1);
}

void QuadMenuTest::ExpectOneSavedEntry(const char* saveFile, const char* name, double grade) {
  GameRecord saved;
  ASSERT_TRUE(saved.LoadFile(saveFile));
  EXPECT_EQ(saved.playCount, 1);
  ASSERT_EQ(saved.Entries().Count(), 1);
  EXPECT_STREQ(saved.Entries().Get(0)->name, name);
  EXPECT_NEAR(saved.Entries().Get(0)->grade, grade, 1e-4);
  EXPECT_NEAR(saved.bestGrade, grade, 1e-4);
}

void QuadMenuTest::ForEachDifficultyAndLanguage(int index, const std::string& prefix,
                                                const std::function<void(const std::string&)>& play) {
  for (int language = 0; language < 2; ++language) {
    testapp::UseLanguage(language);
    for (int difficulty = 0; difficulty < 3; ++difficulty) {
      const std::string tag = prefix + "_d" + std::to_string(difficulty) + (language ? "_en" : "_de");
      menu->difficulty = difficulty;
      menu->StartGame(index);
      ASSERT_NE(menu->activeGame, nullptr);
      SkipCountdown();
      play(tag);
      ConfirmResultWithName("Name", tag + "_9result.png");
      if (HasFatalFailure()) return;
    }
  }
}
