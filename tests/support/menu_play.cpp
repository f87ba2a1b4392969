#include "support/menu_play.h"

#include "framework/denkar_game.h"
#include "framework/game_record.h"
#include "platform/win_types.h"
#include "util/app_context.h"

namespace testapp {

void MenuSession::OpenMenu() {
  screen = std::make_unique<OffscreenScreen>();
  ASSERT_TRUE(screen->Ok());
  menu = std::make_unique<MainMenu>();
  driver = std::make_unique<MenuDriver>(*menu);
}

void MenuSession::CloseMenu() {
  driver.reset();
  menu.reset();
  screen.reset();
}

void MenuSession::DrawFrame() {
  screen->Draw([this] {
    menu->Render();
    menu->DrawCursor();
  });
}

void MenuSession::Shot(const std::string& name) {
  DrawFrame();
  screen->SaveShot(name);
}

double MenuSession::EnterTopTenName(const char* name, const char* saveFile) {
  driver->Wait(2.1);
  EXPECT_EQ(menu->currentPage, 55);
  EXPECT_NE(menu->gameNameEntry, nullptr);
  driver->ConfirmResult(name);
  EXPECT_EQ(menu->activeGame, nullptr);
  EXPECT_EQ(menu->currentPage, 1);
  return OnlyEntryGrade(saveFile, name);
}

void MenuSession::ShootEveryScreen(const std::string& prefix, int listIndex,
                                   const std::function<void(const std::string&)>& play,
                                   bool topTen) {
  for (int language = 0; language < 2; ++language) {
    UseLanguage(language);
    for (int difficulty = 0; difficulty < 3; ++difficulty) {
      SCOPED_TRACE("language " + std::to_string(language) + " difficulty " +
                   std::to_string(difficulty));
      const std::string stem =
          prefix + "_" + (language ? "en" : "de") + std::to_string(difficulty) + "_";
      ASSERT_TRUE(driver->StartFromMenu(listIndex, difficulty));
      driver->Wait(1.0);
      Shot(stem + "1_countdown.png");
      driver->SkipCountdown();
      play(stem);
      if (::testing::Test::HasFatalFailure()) return;
      ASSERT_NE(menu->activeGame, nullptr);
      const int state = menu->activeGame->GetState();
      ASSERT_TRUE(state == GAME_STATE_ENDED || state == GAME_STATE_ENDED_OTHER);
      driver->Wait(1.0);
      Shot(stem + "8_end.png");
      driver->Wait(1.1);
      ASSERT_EQ(menu->currentPage, 55);
      if (topTen) {
        ASSERT_NE(menu->gameNameEntry, nullptr);
      }
      if (menu->gameNameEntry) driver->Type("Kim");
      Shot(stem + "9_result.png");
      driver->Key(VK_RETURN);
      ASSERT_EQ(menu->activeGame, nullptr);
      ASSERT_EQ(menu->currentPage, 1);
    }
  }
}

MenuPlay MenuSession::PlayListedGame(int index, int difficulty,
                                     const std::function<void(PlayDriver&)>& play,
                                     const std::string& name) {
  MenuPlay result;
  if (!driver->StartFromMenu(index, difficulty)) return result;
  driver->SkipCountdown();
  play(*driver);
  Denkar_Game* game = driver->CurrentGame();
  if (!game) return result;
  result.endState = game->GetState();
  result.playTime = game->GetPlayTime();
  result.resultPage = driver->WaitUntil([this] { return menu->currentPage == 55; }, 3.0);
  if (!result.resultPage) return result;
  result.nameAsked = menu->gameNameEntry != nullptr;
  if (result.nameAsked) driver->Type(name);
  driver->ClickElement(56);  // the page's confirm button
  result.backInMenu = !menu->activeGame && menu->currentPage == 1;
  return result;
}

double OnlyEntryGrade(const char* saveFile, const char* name) {
  GameRecord saved;
  EXPECT_TRUE(saved.LoadFile(saveFile)) << saveFile;
  EXPECT_EQ(saved.playCount, 1);
  EXPECT_EQ(saved.Entries().Count(), 1);
  const HighscoreEntry* entry = saved.Entries().Get(0);
  if (!entry) return 6.0;
  EXPECT_STREQ(entry->name, name);
  EXPECT_NEAR(saved.bestGrade, entry->grade, 1e-4);
  return entry->grade;
}

double ListedGrade(GameRecord& record, const std::string& name) {
  for (int i = 0; i < record.Entries().Count(); ++i)
    if (name == record.Entries().Get(i)->name) return record.Entries().Get(i)->grade;
  return -1;
}

}  // namespace testapp
