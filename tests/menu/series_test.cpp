// The whole series of sixteen games through the main menu, each game won by
// its autoplayer, to the series result page and the overall top-10 list; and
// a series quit in its fifth game, which is charged for the games not played.
#include <gtest/gtest.h>

#include <vector>

#include "Denkar_Spiele/autoplayers.h"
#include "framework/denkar_game.h"
#include "framework/game_record.h"
#include "framework/stats_record.h"
#include "menu/game_list.h"
#include "support/menu_play.h"
#include "util/app_context.h"

namespace {

class SeriesTest : public testapp::MenuPlayTest {
 protected:
  // Plays the running series game to its win and leaves its result page;
  // the grade it was recorded with.
  double WinCurrentGame(int expectedIndex) {
    EXPECT_EQ(menu->seriesIndex, expectedIndex);
    Denkar_Game* game = menu->activeGame;
    if (!game) {
      ADD_FAILURE() << "no game at series place " << expectedIndex;
      return 6.0;
    }
    driver->SkipCountdown();
    AutoplayerOf(expectedIndex)(*driver);
    const int state = game->GetState();
    EXPECT_TRUE(state == GAME_STATE_ENDED || state == GAME_STATE_ENDED_OTHER)
        << "game " << expectedIndex << " state " << state;
    EXPECT_TRUE(driver->WaitUntil([this] { return menu->currentPage == 55; }, 5.0));
    const double grade = game->GetGrade();
    EXPECT_LT(grade, 6.0) << "game " << expectedIndex;
    driver->ConfirmResult("Serie");
    return grade;
  }
};

TEST_F(SeriesTest, AWholeSeriesOfSixteenGamesToItsResult) {
  ASSERT_TRUE(driver->StartSeries(0));
  std::vector<double> grades;
  for (int index = 0; index < GAME_LIST_COUNT; ++index) {
    SCOPED_TRACE("series place " + std::to_string(index));
    grades.push_back(WinCurrentGame(index));
    if (HasFatalFailure()) return;
  }
  double sum = 0, best = 6.0, worst = 1.0;
  for (double g : grades) {
    sum += g;
    best = std::min(best, g);
    worst = std::max(worst, g);
  }
  ASSERT_EQ(menu->currentPage, 57);
  EXPECT_EQ(menu->seriesGamesCounted, GAME_LIST_COUNT);
  EXPECT_NEAR(menu->seriesGrade, sum / GAME_LIST_COUNT, 1e-9);
  EXPECT_DOUBLE_EQ(menu->seriesBestGrade, best);
  EXPECT_DOUBLE_EQ(menu->seriesWorstGrade, worst);
  Shot("series_result.png");
  ASSERT_NE(menu->seriesNameEntry, nullptr);
  driver->Type("Alle");
  driver->Key(VK_RETURN);
  EXPECT_EQ(menu->currentPage, 1);
  EXPECT_EQ(app->runState, 0);

  ASSERT_EQ(app->statistics->Entries().Count(), 1);
  const SeriesEntry* entry = app->statistics->Entries().Get(0);
  EXPECT_STREQ(entry->name, "Alle");
  EXPECT_NEAR(entry->grade, sum / GAME_LIST_COUNT, 1e-9);
  EXPECT_EQ(entry->difficulty, 0);
  EXPECT_EQ(app->statistics->playCount, GAME_LIST_COUNT);
  // "stats.sav" as written at exit holds the entry.
  ASSERT_TRUE(app->statistics->SaveFile("stats.sav"));
  StatsRecord saved;
  ASSERT_TRUE(saved.LoadFile("stats.sav"));
  ASSERT_EQ(saved.Entries().Count(), 1);
  EXPECT_STREQ(saved.Entries().Get(0)->name, "Alle");
  EXPECT_NEAR(saved.Entries().Get(0)->grade, sum / GAME_LIST_COUNT, 1e-4);
  EXPECT_EQ(saved.playCount, GAME_LIST_COUNT);
}

TEST_F(SeriesTest, QuittingInTheFifthGameEndsTheSeriesWithThePenalty) {
  ASSERT_TRUE(driver->StartSeries(1));
  double sum = 0;
  for (int index = 0; index < 4; ++index) sum += WinCurrentGame(index);
  ASSERT_EQ(menu->seriesIndex, 4);
  driver->SkipCountdown();
  driver->Key(VK_ESCAPE);
  ASSERT_EQ(menu->currentPage, 45);
  ASSERT_TRUE(driver->ClickElement(49));  // quit the play
  if (menu->currentPage == 55) driver->ConfirmResult("Abbruch");
  const double quitGrade = menu->seriesGradeSum - sum;
  EXPECT_EQ(menu->seriesGamesCounted, 5);
  const double expected =
      std::clamp((sum + quitGrade) / 5 + (1.0 - 5.0 / 11.0) * 4.0, 1.0, 6.0);
  EXPECT_NEAR(menu->seriesGrade, expected, 1e-9);
  if (menu->currentPage == 57) {
    driver->Type("Teil");
    driver->Key(VK_RETURN);
  }
  EXPECT_EQ(menu->currentPage, 1);
  EXPECT_EQ(app->runState, 0);
  EXPECT_EQ(menu->activeGame, nullptr);
  EXPECT_EQ(app->statistics->playCount, 5);
}

}  // namespace
