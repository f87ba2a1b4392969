// The memory game on its own (layout, turning, matching, the turn-back,
// grading) and played to the end through the main menu with the real data
// files, the result name typed in and the saved files read back.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Denkar_Spiele/DG_Memory.h"
#include "data/data_file.h"
#include "data/language.h"
#include "data/settings_file.h"
#include "framework/app_files.h"
#include "framework/stats_record.h"
#include "gfx/graphics.h"
#include "gfx/sprite.h"
#include "menu/main_menu.h"
#include "platform/render_device.h"
#include "support/menu_play.h"
#include "util/app_context.h"
#include "support/test_app.h"
#include "support/test_data_builders.h"
#include "util/format_text.h"

namespace {

class MemoryTest : public testapp::AppTest {
 protected:
  const char* FolderPrefix() const override { return "denkar_memory"; }
  static std::vector<MemoryCard*> CardsOfPair(DG_Memory& game, int pair) {
    std::vector<MemoryCard*> out;
    for (int i = 0; i < game.allCards.Count(); ++i)
      if (game.allCards.Get(i)->pairId == pair) out.push_back(game.allCards.Get(i));
    return out;
  }
  static void ClickOn(DG_Memory& game, const MemoryCard* card) {
    game.OnLButtonUp(static_cast<int>(card->centreX), static_cast<int>(card->centreY));
  }
  void Tick(DG_Memory& game, double seconds) {
    app->frameTime = app->realFrameTime = seconds;
    game.Update();
  }

};

TEST_F(MemoryTest, LayoutByDifficulty) {
  const struct {
    int difficulty, count;
    double size;
  } cases[] = {{0, 16, 110.0}, {1, 24, 85.0}, {2, 32, 75.0}, {5, 8, 100.0}};
  for (const auto& c : cases) {
    for (int run = 0; run < 5; ++run) {
      DG_Memory game(c.difficulty);
      game.DisableRecording();
      ASSERT_EQ(game.allCards.Count(), c.count);
      EXPECT_EQ(game.remainingCards.Count(), c.count);
      EXPECT_EQ(game.CardCount(), c.count);
      std::vector<int> perPair(c.count / 2, 0);
      const int back = game.allCards.Get(0)->backStyle;
      EXPECT_GE(back, 0);
      EXPECT_LE(back, 2);
      const int s = static_cast<int>(c.size);
      for (int i = 0; i < c.count; ++i) {
        const MemoryCard* card = game.allCards.Get(i);
        EXPECT_EQ(card->pairId, i / 2);
        ++perPair[card->pairId];
        EXPECT_FALSE(card->open);
        EXPECT_EQ(card->backStyle, back);
        EXPECT_DOUBLE_EQ(card->size, c.size);
        EXPECT_GE(card->centreX, s + 75);
        EXPECT_LT(card->centreX, 1024 - 150 - 2 * s + s + 75);
        EXPECT_GE(card->centreY, s + 75);
        EXPECT_LT(card->centreY, 768 - 2 * s - 150 + s + 75);
        for (int j = 0; j < i; ++j)
          EXPECT_GE(card->DistanceTo(game.allCards.Get(j)->centreX, game.allCards.Get(j)->centreY),
                    c.size);
      }
      for (int n : perPair) EXPECT_EQ(n, 2);
      EXPECT_EQ(game.moves, 0);
      EXPECT_EQ(game.errors, 0);
      EXPECT_DOUBLE_EQ(game.playTime, 0.0);
    }
  }
}

TEST_F(MemoryTest, LayoutEndsEvenWhereTheCardsCannotFit) {
  app->screenWidth = 200;
  app->screenHeight = 200;
  DG_Memory game(0);
  game.DisableRecording();
  EXPECT_EQ(game.allCards.Count(), 16);
}

TEST_F(MemoryTest, CardHitIsTheRoundDisc) {
  MemoryCard card(0, 200, 300, 100, 0);
  EXPECT_TRUE(card.Contains(200, 300));
  EXPECT_TRUE(card.Contains(250, 300));   // on the rim
  EXPECT_FALSE(card.Contains(251, 300));
  EXPECT_FALSE(card.Contains(240, 340));  // inside the square, outside the disc
  EXPECT_DOUBLE_EQ(card.DistanceTo(203, 304), 5.0);
  MemoryCard other(0, 0, 0, 100, 1), third(1, 0, 0, 100, 1);
  EXPECT_TRUE(card.SamePair(other));
  EXPECT_FALSE(card.SamePair(third));
}

TEST_F(MemoryTest, FirstCardAgainAndMatchedCardsDoNothing) {
  DG_Memory game(0);
  game.DisableRecording();
  std::vector<MemoryCard*> pair0 = CardsOfPair(game, 0);
  ClickOn(game, pair0[0]);
  EXPECT_FALSE(pair0[0]->open);  // before Start
  game.Start();
  ClickOn(game, pair0[0]);
  EXPECT_TRUE(pair0[0]->open);
  EXPECT_EQ(game.firstCard, pair0[0]);
  ClickOn(game, pair0[0]);
  EXPECT_EQ(game.firstCard, pair0[0]);
  EXPECT_EQ(game.secondCard, nullptr);
  EXPECT_EQ(game.moves, 0);
  game.OnLButtonUp(2, 2);  // beside every card
  EXPECT_EQ(game.moves, 0);

  ClickOn(game, pair0[1]);
  EXPECT_EQ(game.moves, 1);
  EXPECT_EQ(game.errors, 0);
  EXPECT_EQ(game.firstCard, nullptr);
  EXPECT_EQ(game.secondCard, nullptr);
  EXPECT_EQ(game.remainingCards.Count(), 14);
  ASSERT_EQ(game.matchedCards.Count(), 2);
  EXPECT_EQ(game.matchedCards.Get(0), pair0[0]);
  EXPECT_EQ(game.matchedCards.Get(1), pair0[1]);
  EXPECT_TRUE(pair0[1]->open);
  for (MemoryCard* matched : pair0) {
    ClickOn(game, matched);
    EXPECT_EQ(game.firstCard, nullptr);
    EXPECT_TRUE(matched->open);
  }
  EXPECT_EQ(game.moves, 1);
  EXPECT_EQ(game.CardCount(), 16);
}

TEST_F(MemoryTest, DifferentCardsTurnBackAfterTwoSeconds) {
  DG_Memory game(0);
  game.DisableRecording();
  game.Start();
  MemoryCard* a = CardsOfPair(game, 0)[0];
  MemoryCard* b = CardsOfPair(game, 1)[0];
  MemoryCard* c = CardsOfPair(game, 2)[0];
  ClickOn(game, a);
  ClickOn(game, b);
  EXPECT_EQ(game.moves, 1);
  EXPECT_EQ(game.errors, 1);
  EXPECT_DOUBLE_EQ(game.turnBackTimer, 2.0);
  EXPECT_TRUE(a->open);
  EXPECT_TRUE(b->open);
  ClickOn(game, c);  // ignored while the two are shown
  EXPECT_FALSE(c->open);
  EXPECT_EQ(game.moves, 1);
  Tick(game, 1.0);
  ClickOn(game, c);
  EXPECT_FALSE(c->open);
  EXPECT_TRUE(a->open);
  Tick(game, 1.0);
  EXPECT_FALSE(a->open);
  EXPECT_FALSE(b->open);
  EXPECT_EQ(game.firstCard, nullptr);
  EXPECT_EQ(game.secondCard, nullptr);
  EXPECT_LE(game.turnBackTimer, 0.0);
  ClickOn(game, c);  // the next click opens a new first card
  EXPECT_TRUE(c->open);
  EXPECT_EQ(game.firstCard, c);
  EXPECT_EQ(game.remainingCards.Count(), 16);
  // The turn-back runs on wall time, so it also runs in a frame without
  // game time.
  ClickOn(game, a);
  app->frameTime = 0;
  app->realFrameTime = 2.5;
  game.Update();
  EXPECT_FALSE(c->open);
}

TEST_F(MemoryTest, PerfectSixteenCardPlayInSixtySecondsGradesOnePointFive) {
  DG_Memory game(0);
  game.DisableRecording();
  game.Start();
  Tick(game, 60.0);
  for (int pair = 0; pair < 8; ++pair) {
    EXPECT_EQ(game.GetState(), GAME_STATE_RUNNING);
    for (MemoryCard* card : CardsOfPair(game, pair)) ClickOn(game, card);
  }
  EXPECT_EQ(game.remainingCards.Count(), 0);
  EXPECT_EQ(game.GetState(), GAME_STATE_RUNNING);  // until the next Update
  app->frameTime = app->realFrameTime = 0.0;
  game.Update();
  EXPECT_EQ(game.GetState(), GAME_STATE_ENDED);
  EXPECT_EQ(game.moves, 8);
  EXPECT_EQ(game.errors, 0);
  game.ComputeGrade();
  EXPECT_DOUBLE_EQ(game.GetGrade(), 1.5);
  // The play clock stands once the play is over; the record's keeps running.
  const double recordTime = game.record.playTime;
  Tick(game, 1.0);
  EXPECT_DOUBLE_EQ(game.playTime, 60.0);
  EXPECT_DOUBLE_EQ(game.record.playTime, recordTime + 1.0);

  const int t = 60;
  const std::string expected = FormatText(GetLangText(22), {t / 60, t % 60}) + "\n" +
                               FormatText(GetLangText(23), {0}) + "\n" +
                               FormatText(GetLangText(24), {8}) + "\n\n" +
                               FormatText(GetLangText(50), {1.5});
  EXPECT_EQ(game.GetResultText(), expected);
  EXPECT_STREQ(game.GetResultTitle(), GetLangText(19));
  EXPECT_STREQ(game.GetDescriptionText(), GetLangText(69));
  EXPECT_NE(game.GetStatisticsText(), nullptr);
}

TEST_F(MemoryTest, GradeChargesErrorsTimeAndCardsLeft) {
  {
    DG_Memory game(1);  // 24 cards, quit after 12 s: 1 + 0.1 + 0 + 5 = 6.1, capped
    game.DisableRecording();
    game.Start();
    Tick(game, 12.0);
    game.SetState(GAME_STATE_QUIT);
    game.ComputeGrade();
    EXPECT_DOUBLE_EQ(game.GetGrade(), 6.0);
    Tick(game, 5.0);  // the clock stands once the player quit
    EXPECT_DOUBLE_EQ(game.playTime, 12.0);
  }
  {
    DG_Memory game(0);  // two errors and one pair found after 30 s
    game.DisableRecording();
    game.Start();
    Tick(game, 30.0);
    ClickOn(game, CardsOfPair(game, 0)[0]);
    ClickOn(game, CardsOfPair(game, 1)[0]);
    Tick(game, 0.0);
    app->realFrameTime = 2.0;
    app->frameTime = 0.0;
    game.Update();
    ClickOn(game, CardsOfPair(game, 2)[0]);
    ClickOn(game, CardsOfPair(game, 3)[0]);
    game.Update();
    for (MemoryCard* card : CardsOfPair(game, 4)) ClickOn(game, card);
    game.ComputeGrade();
    EXPECT_DOUBLE_EQ(game.GetGrade(), 1.0 + 30.0 / 120 + 2.0 / 16 + 5.0 * 14 / 16);
  }
}

TEST_F(MemoryTest, DestroyingTheGameRecordsThePlay) {
  {
    DG_Memory game(0);
    game.Start();
    Tick(game, 5.0);
    game.ComputeGrade();
  }
  GameRecord saved;
  ASSERT_TRUE(saved.LoadFile("merkspiel.sav"));
  EXPECT_EQ(saved.playCount, 1);
  EXPECT_DOUBLE_EQ(saved.playTime, 5.0);
  EXPECT_EQ(app->statistics->playCount, 1);
}

// Through the real menu, with the textures of the data file, drawing every
// frame as the main loop does.
class MemoryThroughMenuTest : public testapp::MenuTest<MemoryTest> {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    if (HasFatalFailure()) return;
    // Every tenth frame is drawn (drawing is the slow part of a
    // software-rendered frame, and every screen is drawn often enough).
    driver->afterFrame = [this] {
      if (frames_++ % 10 == 0) DrawFrame();
    };
  }
  // Frames of the main loop, a sixtieth of a second each.
  void Frames(int n) {
    for (int i = 0; i < n; ++i) driver->Frame(1.0 / 60);
  }
  void ClickCard(const MemoryCard* card) {
    driver->Click(static_cast<int>(std::lround(card->centreX)),
                  static_cast<int>(std::lround(card->centreY)));
  }
  DG_Memory* Memory() { return static_cast<DG_Memory*>(menu->activeGame); }
  // Clicks both cards of every pair in turn, at their places on the screen.
  void PlayAllPairs() {
    const int pairs = Memory()->CardCount() / 2;
    for (int pair = 0; pair < pairs; ++pair)
      for (MemoryCard* card : CardsOfPair(*Memory(), pair)) ClickCard(card);
  }

  int frames_ = 0;
};

TEST_F(MemoryThroughMenuTest, PlayToTheTopTenAndFindItInTheFiles) {
  ASSERT_TRUE(driver->StartFromMenu(5, 0));
  ASSERT_NE(Memory(), nullptr);
  EXPECT_EQ(Memory()->CardCount(), 16);
  Frames(3 * 60 + 1);
  ASSERT_TRUE(Memory()->started);
  PlayAllPairs();
  EXPECT_EQ(Memory()->errors, 0);
  EXPECT_EQ(Memory()->moves, 8);
  EXPECT_EQ(Memory()->GetState(), GAME_STATE_ENDED);
  const double playTime = Memory()->playTime;
  EXPECT_GT(playTime, 0.0);
  Frames(2 * 60 + 2);
  ASSERT_EQ(menu->currentPage, 55);
  ASSERT_NE(menu->gameNameEntry, nullptr);
  driver->Type("Anna 2");
  driver->Key(VK_RETURN);
  EXPECT_EQ(menu->activeGame, nullptr);
  EXPECT_EQ(menu->currentPage, 1);
  EXPECT_EQ(app->runState, 0);

  GameRecord saved;
  ASSERT_TRUE(saved.LoadFile("merkspiel.sav"));
  EXPECT_EQ(saved.playCount, 1);
  ASSERT_EQ(saved.Entries().Count(), 1);
  EXPECT_STREQ(saved.Entries().Get(0)->name, "Anna 2");
  const double grade = 1.0 + playTime / 120.0;
  EXPECT_NEAR(saved.Entries().Get(0)->grade, grade, 1e-4);
  EXPECT_NEAR(saved.bestGrade, grade, 1e-4);
  // The record's time runs on through the end wait.
  EXPECT_GT(saved.playTime, playTime + 1.9);
  EXPECT_EQ(saved.veryGoodCount, grade <= 1.5 ? 1 : 0);

  ASSERT_TRUE(SaveStatistics(*app));
  StatsRecord stats;
  ASSERT_TRUE(stats.LoadFile("stats.sav"));
  EXPECT_EQ(stats.playCount, 1);
  EXPECT_NEAR(stats.gradeSum, grade, 1e-4);
  EXPECT_GT(stats.totalTime, playTime + 5.0 - 0.1);  // the menu, countdown and wait too
}

TEST_F(MemoryThroughMenuTest, SeriesQuitInTheSecondGameGetsTheSeriesGrade) {
  // Every series place plays the memory game here.
  menu->createGame = [](int, int difficulty) -> Denkar_Game* { return new DG_Memory(difficulty); };
  ASSERT_TRUE(driver->StartSeries(0));
  Frames(3 * 60 + 1);
  PlayAllPairs();
  const double first = 1.0 + Memory()->playTime / 120.0;
  Frames(2 * 60 + 2);
  ASSERT_EQ(menu->currentPage, 55);
  driver->Key('B');
  driver->Key(VK_RETURN);
  ASSERT_NE(Memory(), nullptr);  // the second game of the series
  EXPECT_EQ(menu->seriesIndex, 1);
  EXPECT_EQ(menu->seriesGamesCounted, 1);
  Frames(3 * 60 + 1);
  // All pairs but the last, then the player quits.
  for (int pair = 0; pair < 7; ++pair)
    for (MemoryCard* card : CardsOfPair(*Memory(), pair)) ClickCard(card);
  driver->Key(VK_ESCAPE);
  ASSERT_EQ(menu->currentPage, 45);
  ASSERT_TRUE(driver->ClickElement(49));
  // Two cards left: 1 + t / 120 + 5 * 2 / 16, a top-10 grade: its name first.
  ASSERT_EQ(menu->currentPage, 55);
  driver->Key('D');
  driver->Key(VK_RETURN);
  // The series ends with the quit and gets the quit penalty.
  ASSERT_NE(Memory(), nullptr);
  const double second = Memory()->GetGrade();
  EXPECT_NEAR(second, 1.0 + Memory()->playTime / 120.0 + 10.0 / 16, 1e-9);
  EXPECT_EQ(menu->seriesGamesCounted, 2);
  const double expected = (first + second) / 2 + (1.0 - 2.0 / 11.0) * 4.0;
  EXPECT_NEAR(menu->seriesGrade, expected, 1e-9);
  ASSERT_EQ(menu->currentPage, 57);
  ASSERT_NE(menu->seriesNameEntry, nullptr);
  driver->Key('C');
  driver->Key(VK_RETURN);
  ASSERT_EQ(app->statistics->Entries().Count(), 1);
  EXPECT_NEAR(app->statistics->Entries().Get(0)->grade, expected, 1e-9);
  EXPECT_EQ(menu->currentPage, 1);
  EXPECT_EQ(app->runState, 0);
  GameRecord saved;
  ASSERT_TRUE(saved.LoadFile("merkspiel.sav"));
  EXPECT_EQ(saved.playCount, 2);
}

}  // namespace
