#include "support/menu_play.h"

#include "framework/denkar_game.h"
#include "framework/game_record.h"
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

void MenuPlayTest::ConfirmResult(const char* name) {
  if (menu->gameNameEntry) driver->Type(name);
  driver->Key(VK_RETURN);
}

double MenuPlayTest::EnterTopTenName(const char* name, const char* saveFile) {
  driver->Wait(2.1);
  EXPECT_EQ(menu->currentPage, 55);
  EXPECT_NE(menu->gameNameEntry, nullptr);
  ConfirmResult(name);
  EXPECT_EQ(menu->activeGame, nullptr);
  EXPECT_EQ(menu->currentPage, 1);
  GameRecord saved;
  EXPECT_TRUE(saved.LoadFile(saveFile)) << saveFile;
  EXPECT_EQ(saved.playCount, 1);
  const HighscoreEntry* entry = saved.Entries().Get(0);
  EXPECT_EQ(saved.Entries().Count(), 1);
  if (!entry) return 6.0;
  EXPECT_STREQ(entry->name, name);
  return entry->grade;
}

void MenuPlayTest::ShootEveryScreen(const std::string& prefix, int listIndex,
                                    const std::function<void(const std::string&)>& play) {
  for (int language = 0; language < 2; ++language) {
    UseLanguage(language);
    for (int difficulty = 0; difficulty < 3; ++difficulty) {
      SCOPED_TRACE("language " + std::to_string(language) + " difficulty " +
                   std::to_string(difficulty));
      const std::string stem =
          prefix + "_" + (language ? "en" : "de") + std::to_string(difficulty) + "_";
      ASSERT_TRUE(driver->StartFromMenu(listIndex, difficulty));
      driver->Wait(1.0);
      Shoot(stem + "1_countdown.png");
      driver->SkipCountdown();
      play(stem);
      ASSERT_NE(menu->activeGame, nullptr);
      const int state = menu->activeGame->GetState();
      ASSERT_TRUE(state == GAME_STATE_ENDED || state == GAME_STATE_ENDED_OTHER);
      driver->Wait(1.0);
      Shoot(stem + "8_end.png");
      driver->Wait(1.1);
      ASSERT_EQ(menu->currentPage, 55);
      Shoot(stem + "9_result.png");
      ConfirmResult("Kim");
      ASSERT_EQ(menu->currentPage, 1);
    }
  }
}

}  // namespace testapp
