// The pattern flip game: field and patterns per size, the pattern shapes,
// scrambles that can always be undone, moves, grading, plays to the end at
// every difficulty, and a play inside the menu with its screens.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Denkar_Spiele/DG_CrazyQuader.h"
#include "Denkar_Spiele/autoplay_crazy_quader.h"
#include "data/language.h"
#include "framework/game_record.h"
#include "platform/clock.h"
#include "support/menu_play.h"
#include "support/play_driver.h"
#include "support/test_app.h"
#include "util/app_context.h"
#include "util/format_text.h"

namespace {

class CrazyQuaderTest : public testapp::AppTest {
 protected:
  const char* FolderPrefix() const override { return "denkar_crazy_quader"; }
  void Tick(DG_CrazyQuader& game, double seconds) {
    app->frameTime = app->realFrameTime = seconds;
    game.Update();
  }
  static uint32_t Bits(QuadField& grid) {
    uint32_t bits = 0;
    for (int i = 0; i < grid.CellCount(); ++i)
      if (grid.Cell(i)->IsOn()) bits |= 1u << i;
    return bits;
  }
  static bool Lit(QuadField& grid, std::initializer_list<std::pair<int, int>> cells) {
    QuadField expected(false, grid.N(), 0, 100, nullptr, 0);
    for (const auto& [a, b] : cells) expected.Set(a, b, true);
    return grid.Equals(expected);
  }
};

TEST_F(CrazyQuaderTest, FieldAndPatternsBySize) {
  const struct {
    int difficulty, n, scramble, patterns;
    double fieldCell, patternCell;
    float firstX, step;
  } cases[] = {{0, 3, 40, 9, 97, 30, 128, 192}, {1, 4, 30, 12, 72, 18, 128, 153.6f},
               {2, 5, 20, 30, 57, 10, 128, 1024.0f / 12}};
  for (const auto& c : cases) {
    DG_CrazyQuader game(c.difficulty);
    game.DisableRecording();
    EXPECT_EQ(game.n, c.n);
    EXPECT_EQ(game.scrambleCount, c.scramble);
    EXPECT_EQ(game.moveCount, 0);
    EXPECT_EQ(game.GetState(), GAME_STATE_RUNNING);
    ASSERT_EQ(game.patterns.Count(), c.patterns);
    EXPECT_EQ(game.target->LitCount(), 0);
    EXPECT_DOUBLE_EQ(game.field->Cell(0)->size, c.fieldCell);
    EXPECT_FLOAT_EQ(game.field->Cell(0)->left, 512 - 150);
    EXPECT_FLOAT_EQ(game.field->Cell(0)->top, 234 - 150);
    const int size = c.n == 3 ? 100 : c.n == 4 ? 75 : 50;
    EXPECT_DOUBLE_EQ(game.patterns.Get(0)->Cell(0)->size, c.patternCell);
    EXPECT_FLOAT_EQ(game.patterns.Get(0)->Cell(0)->left, c.firstX - size / 2);
    EXPECT_FLOAT_EQ(game.patterns.Get(0)->Cell(0)->top, 512 - size / 2);
    EXPECT_NEAR(game.patterns.Get(1)->Cell(0)->left - game.patterns.Get(0)->Cell(0)->left, c.step, 1e-3);
    // Every pattern lies apart from the others and from the field, inside the screen.
    for (int p = 0; p < game.patterns.Count(); ++p) {
      QuadField* pattern = game.patterns.Get(p);
      EXPECT_GT(pattern->LitCount(), 0) << p;
      EXPECT_EQ(pattern->Cell(0)->scheme, game.scheme);
      for (int i = 0; i < pattern->CellCount(); i += pattern->CellCount() - 1) {
        const QuadCell* cell = pattern->Cell(i);
        for (float dx : {0.0f, static_cast<float>(cell->size)}) {
          const float x = cell->left + dx, y = cell->top + dx;
          EXPECT_GE(x, 0);
          EXPECT_LE(x, 1024);
          EXPECT_LE(y, 768);
          EXPECT_FALSE(game.field->Contains(x, y));
          for (int q = 0; q < game.patterns.Count(); ++q) {
            if (q == p) continue;
            EXPECT_FALSE(game.patterns.Get(q)->Contains(x, y)) << p << " " << q;
          }
        }
      }
    }
  }
}

TEST_F(CrazyQuaderTest, PatternShapes) {
  DG_CrazyQuader small(0), middle(1), large(2);
  for (DG_CrazyQuader* game : {&small, &middle, &large}) game->DisableRecording();
  auto P = [](DG_CrazyQuader& game, int number) -> QuadField& { return *game.patterns.Get(number - 1); };
  EXPECT_TRUE(Lit(P(small, 2), {{2, 0}, {2, 1}, {2, 2}}));
  EXPECT_TRUE(Lit(P(small, 5), {{0, 0}, {0, 1}, {1, 0}, {1, 1}}));
  EXPECT_TRUE(Lit(P(small, 8), {{1, 1}, {1, 2}, {2, 1}, {2, 2}}));
  EXPECT_EQ(P(small, 9).LitCount(), 9);
  EXPECT_TRUE(Lit(P(middle, 9), {{1, 1}, {1, 2}, {2, 1}, {2, 2}}));
  EXPECT_TRUE(Lit(P(middle, 11), {{0, 3}, {1, 2}, {2, 1}, {3, 0}}));
  EXPECT_TRUE(Lit(P(large, 10), {{4, 0}, {0, 4}}));
  EXPECT_TRUE(Lit(P(large, 15), {{2, 1}, {2, 2}, {2, 3}, {1, 2}}));
  EXPECT_TRUE(Lit(P(large, 18), {{1, 2}, {2, 2}, {3, 2}, {2, 3}}));
  EXPECT_TRUE(Lit(P(large, 26), {{2, 0}, {3, 0}, {4, 0}, {2, 1}, {3, 1}, {4, 1}, {2, 2}, {3, 2}, {4, 2}}));
  EXPECT_TRUE(Lit(P(large, 29), {{1, 0}, {3, 0}, {0, 1}, {4, 1}, {0, 3}, {4, 3}, {1, 4}, {3, 4}}));
  // With n = 5 the last pattern inverts every square.
  QuadField& all = P(large, 30);
  EXPECT_EQ(all.LitCount(), 25);
  QuadField before(false, 5, 0, 100, nullptr, 0);
  before.CopyFrom(*large.field);
  large.field->Apply(all, true);
  for (int i = 0; i < 25; ++i) EXPECT_NE(large.field->Cell(i)->IsOn(), before.Cell(i)->IsOn()) << i;
}

TEST_F(CrazyQuaderTest, EveryScrambleCanBeUndone) {
  for (int difficulty = 0; difficulty < 3; ++difficulty) {
    for (int play = 0; play < 40; ++play) {
      // The game seeds with the tick count: a different start for every play.
      ClockSetTickStart(7919u * play + 100000u * difficulty);
      DG_CrazyQuader game(difficulty);
      game.DisableRecording();
      std::vector<int> moves;
      ASSERT_TRUE(CrazyQuaderSolution(game, moves)) << difficulty << " " << play;
      QuadField check(false, game.n, 0, 100, nullptr, 0);
      check.CopyFrom(*game.field);
      for (int p : moves) check.Apply(*game.patterns.Get(p), true);
      EXPECT_EQ(check.LitCount(), 0);
      if (game.n == 5) continue;
      // On the small fields, a search through every set of patterns agrees.
      const int count = game.patterns.Count();
      std::vector<uint32_t> masks;
      for (int p = 0; p < count; ++p) masks.push_back(Bits(*game.patterns.Get(p)));
      const uint32_t field = Bits(*game.field);
      bool found = false;
      for (uint32_t set = 0; set < (1u << count) && !found; ++set) {
        uint32_t flips = 0;
        for (int p = 0; p < count; ++p)
          if (set >> p & 1u) flips ^= masks[p];
        found = flips == field;
      }
      EXPECT_TRUE(found);
    }
  }
  ClockSetTickStart(0);
}

TEST_F(CrazyQuaderTest, MovesAndTheEnd) {
  DG_CrazyQuader game(0);
  game.DisableRecording();
  GameDriver driver(game, false);
  ClickCrazyPattern(driver, game, 0);  // before Start
  EXPECT_EQ(game.moveCount, 0);
  game.Start();
  QuadField start(false, 3, 0, 100, nullptr, 0);
  start.CopyFrom(*game.field);
  // The same pattern twice restores the field and costs two moves.
  ClickCrazyPattern(driver, game, 3);
  EXPECT_FALSE(game.field->Equals(start));
  ClickCrazyPattern(driver, game, 3);
  EXPECT_TRUE(game.field->Equals(start));
  EXPECT_EQ(game.moveCount, 2);
  // The field, the gaps of a pattern and the background are no moves.
  const QuadCell* cell = game.patterns.Get(0)->Cell(0);
  driver.Click(static_cast<int>(cell->left + cell->size + 1.5f), static_cast<int>(cell->top + 3));
  driver.Click(512, 234);
  driver.Click(5, 760);
  EXPECT_EQ(game.moveCount, 2);
  EXPECT_TRUE(game.field->Equals(start));

  // A scramble that cancelled out still waits for a click; two on the same
  // pattern end the play.
  game.field->Clear();
  Tick(game, 1.0);
  EXPECT_EQ(game.GetState(), GAME_STATE_RUNNING);
  ClickCrazyPattern(driver, game, 8);
  EXPECT_EQ(game.GetState(), GAME_STATE_RUNNING);
  ClickCrazyPattern(driver, game, 8);
  EXPECT_EQ(game.GetState(), GAME_STATE_ENDED);
  EXPECT_EQ(game.moveCount, 4);
  // Nothing after the end; the clock stands.
  ClickCrazyPattern(driver, game, 8);
  Tick(game, 1.0);
  EXPECT_EQ(game.moveCount, 4);
  EXPECT_EQ(game.field->LitCount(), 0);
  EXPECT_DOUBLE_EQ(game.playTime, 1.0);
}

TEST_F(CrazyQuaderTest, AsManyMovesAsScrambleStepsGradeTwoPlusTime) {
  for (int difficulty = 0; difficulty < 3; ++difficulty) {
    DG_CrazyQuader game(difficulty);
    game.DisableRecording();
    GameDriver driver(game);
    // A field two patterns away, then pairs of clicks up to the scramble count.
    game.field->Clear();
    game.field->Apply(*game.patterns.Get(0), true);
    game.field->Apply(*game.patterns.Get(1), true);
    Tick(game, 48.0);
    for (int k = 0; k < (game.scrambleCount - 2) / 2; ++k) {
      ClickCrazyPattern(driver, game, 2);
      ClickCrazyPattern(driver, game, 2);
    }
    ClickCrazyPattern(driver, game, 0);
    EXPECT_EQ(game.GetState(), GAME_STATE_RUNNING);
    ClickCrazyPattern(driver, game, 1);
    ASSERT_EQ(game.GetState(), GAME_STATE_ENDED);
    EXPECT_EQ(game.moveCount, game.scrambleCount);
    game.ComputeGrade();
    EXPECT_DOUBLE_EQ(game.GetGrade(), 2.0 + 48.0 / 240);
    const std::string expected = FormatText(GetLangText(22), {0, 48}) + "\n" +
                                 FormatText(GetLangText(29), {game.scrambleCount}) + "\n" +
                                 FormatText(GetLangText(27), {game.scrambleCount}) + "\n\n" +
                                 FormatText(GetLangText(50), {2.2});
    EXPECT_EQ(game.GetResultText(), expected);
  }
}

TEST_F(CrazyQuaderTest, WonAtEveryDifficultyAndQuitRecorded) {
  for (int difficulty = 0; difficulty < 3; ++difficulty) {
    DG_CrazyQuader game(difficulty);
    GameDriver driver(game);
    driver.Wait(6.0);
    AutoplayWin_DG_CrazyQuader(driver);
    ASSERT_EQ(game.GetState(), GAME_STATE_ENDED) << difficulty;
    EXPECT_LE(game.moveCount, game.patterns.Count());
    game.ComputeGrade();
    EXPECT_NEAR(game.GetGrade(), 1.0 + 1.0 * game.moveCount / game.scrambleCount + 6.0 / 240, 1e-9);
  }
  {
    DG_CrazyQuader game(1);
    GameDriver driver(game);
    driver.Wait(2.0);
    ClickCrazyPattern(driver, game, 0);
    game.SetState(GAME_STATE_QUIT);
    game.ComputeGrade();
    EXPECT_DOUBLE_EQ(game.GetGrade(), 6.0);
    EXPECT_STREQ(game.GetResultTitle(), GetLangText(105));
    EXPECT_STREQ(game.GetDescriptionText(), GetLangText(106));
  }
  GameRecord saved;
  ASSERT_TRUE(saved.LoadFile("crazy.sav"));
  EXPECT_EQ(saved.playCount, 4);
  EXPECT_DOUBLE_EQ(saved.worstGrade, 6.0);
  EXPECT_LT(saved.bestGrade, 2.1);
}

class CrazyQuaderMenuTest : public testapp::MenuPlayTest {
 protected:
  DG_CrazyQuader* Game() { return dynamic_cast<DG_CrazyQuader*>(menu->activeGame); }
};

TEST_F(CrazyQuaderMenuTest, PlayedFromTheMenuIntoTheTopTen) {
  ASSERT_TRUE(driver->StartFromMenu(1, 2));
  ASSERT_NE(Game(), nullptr);
  EXPECT_EQ(Game()->n, 5);
  driver->SkipCountdown();
  // A double click on a pattern flips with it twice: two moves, field as before.
  QuadField before(false, 5, 0, 100, nullptr, 0);
  before.CopyFrom(*Game()->field);
  const QuadCell* cell = Game()->patterns.Get(29)->Cell(0);
  const int x = static_cast<int>(cell->left + 2), y = static_cast<int>(cell->top + 2);
  driver->Move(x, y);
  menu->OnLButtonDown(x, y);
  menu->OnLButtonUp(x, y);
  // The window delivers the second press of a double click as a press and
  // then reports the double click.
  menu->OnLButtonDown(x, y);
  menu->OnLButtonDblClk(x, y);
  menu->OnLButtonUp(x, y);
  EXPECT_EQ(Game()->moveCount, 2);
  EXPECT_TRUE(Game()->field->Equals(before));

  AutoplayWin_DG_CrazyQuader(*driver);
  ASSERT_EQ(Game()->GetState(), GAME_STATE_ENDED);
  const double grade = 1.0 + Game()->moveCount / 20.0 + Game()->playTime / 240.0;
  EXPECT_NEAR(EnterTopTenName("Kai", "crazy.sav"), grade, 1e-4);
}

TEST_F(CrazyQuaderMenuTest, ScreensAtEveryDifficultyInBothLanguages) {
  ShootEveryScreen("crazy", 1, [&](const std::string& stem) {
    driver->Move(1000, 740);
    driver->Wait(0.5);
    Shot(stem + "2_task.png");
    AutoplayWin_DG_CrazyQuader(*driver);
  }, true);
}

}  // namespace
