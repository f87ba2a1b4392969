// The pattern memory game: the show, the answers, the evaluation (a pattern
// counts once when any answer equals it), grading on the first and later
// calls, plays to the end at every difficulty, and plays inside the menu
// (top-10 entry, a double click, a quit that ends a series, the screens).
#include <gtest/gtest.h>

#include <string>

#include "Denkar_Spiele/DG_Quadrat_merken.h"
#include "Denkar_Spiele/autoplay_quadrat_merken.h"
#include "data/language.h"
#include "framework/game_record.h"
#include "framework/stats_record.h"
#include "support/menu_play.h"
#include "support/play_driver.h"
#include "support/test_app.h"
#include "util/app_context.h"
#include "util/format_text.h"

namespace {

class QuadratMerkenTest : public testapp::AppTest {
 protected:
  const char* FolderPrefix() const override { return "denkar_quadrat_merken"; }
  void Tick(DG_Quadrat_merken& game, double seconds) {
    app->frameTime = app->realFrameTime = seconds;
    game.Update();
  }
  // Gives every pattern one lit cell of its own, so no two are equal and none is dark.
  static void MakePatternsDistinct(DG_Quadrat_merken& game) {
    for (int p = 0; p < game.PatternCount(); ++p) {
      game.patterns.Get(p)->Clear();
      game.patterns.Get(p)->Cell(p)->SetOn(true);
    }
  }
  // Runs the show to its end in whole-second frames.
  void SkipShow(DG_Quadrat_merken& game) {
    while (game.showing && game.GetState() == GAME_STATE_RUNNING) Tick(game, 1.0);
    app->frameTime = app->realFrameTime = 0;
  }
};

TEST_F(QuadratMerkenTest, PatternsAndGridsByDifficulty) {
  const struct {
    int difficulty, count, n;
    double showTime;
  } cases[] = {{0, 5, 3, 3.0}, {1, 6, 3, 2.0}, {2, 6, 4, 4.0}};
  for (const auto& c : cases) {
    DG_Quadrat_merken game(c.difficulty);
    game.DisableRecording();
    ASSERT_EQ(game.PatternCount(), c.count);
    ASSERT_EQ(game.answers.Count(), c.count);
    EXPECT_DOUBLE_EQ(game.showTime, c.showTime);
    for (int i = 0; i < c.count; ++i) {
      EXPECT_EQ(game.patterns.Get(i)->N(), c.n);
      EXPECT_EQ(game.answers.Get(i)->N(), c.n);
      EXPECT_EQ(game.answers.Get(i)->LitCount(), 0);
      EXPECT_EQ(game.answers.Get(i)->Cell(0)->scheme, game.patterns.Get(0)->Cell(0)->scheme);
    }
  }
}

TEST_F(QuadratMerkenTest, ShowRunsBeforeAnswersAndIgnoresInput) {
  DG_Quadrat_merken game(0);
  game.DisableRecording();
  GameDriver driver(game, false);
  Tick(game, 5.0);  // nothing moves before Start
  EXPECT_EQ(game.index, 0);
  EXPECT_DOUBLE_EQ(game.stepTimer, 2.0);
  game.Start();
  const QuadCell* cell = game.answers.Get(0)->Cell(4);
  const int cx = static_cast<int>(cell->left + 10), cy = static_cast<int>(cell->top + 10);
  // While a pattern is shown, Enter and clicks do nothing.
  driver.Key(VK_RETURN);
  driver.Click(cx, cy);
  EXPECT_EQ(game.index, 0);
  EXPECT_EQ(game.answers.Get(0)->LitCount(), 0);
  // The first pattern stays 2 s, each further one the show time; the show
  // runs on wall time and does not count as play time.
  app->frameTime = 0;
  app->realFrameTime = 1.99;
  game.Update();
  EXPECT_EQ(game.index, 0);
  EXPECT_EQ(game.CurrentGrid(), game.patterns.Get(0));
  Tick(game, 0.02);
  EXPECT_EQ(game.index, 1);
  EXPECT_DOUBLE_EQ(game.stepTimer, 3.0);
  for (int i = 2; i < 5; ++i) {
    Tick(game, 3.0);
    EXPECT_EQ(game.index, i);
    EXPECT_TRUE(game.showing);
  }
  Tick(game, 3.0);
  EXPECT_FALSE(game.showing);
  EXPECT_EQ(game.index, 0);
  EXPECT_EQ(game.CurrentGrid(), game.answers.Get(0));
  EXPECT_DOUBLE_EQ(game.playTime, 0.0);
  Tick(game, 1.5);
  EXPECT_DOUBLE_EQ(game.playTime, 1.5);

  // Answering: clicks switch cells of the current grid; only Enter's release
  // moves on, other keys do nothing.
  driver.Click(cx, cy);
  EXPECT_TRUE(game.answers.Get(0)->Cell(4)->IsOn());
  for (int key : {int('A'), VK_SPACE, VK_BACK, VK_ESCAPE}) driver.Key(key);
  game.OnKeyDown(VK_RETURN);
  EXPECT_EQ(game.index, 0);
  driver.Key(VK_RETURN);
  EXPECT_EQ(game.index, 1);
  driver.Click(cx, cy);
  EXPECT_TRUE(game.answers.Get(1)->Cell(4)->IsOn());
  EXPECT_TRUE(game.answers.Get(0)->Cell(4)->IsOn());
  for (int i = 1; i < 5; ++i) driver.Key(VK_RETURN);
  EXPECT_EQ(game.GetState(), GAME_STATE_ENDED);
  // Nothing after the end.
  const int correct = game.correct;
  driver.Key(VK_RETURN);
  driver.Click(cx, cy);
  EXPECT_EQ(game.correct, correct);
  EXPECT_EQ(game.GetState(), GAME_STATE_ENDED);
  Tick(game, 2.0);
  EXPECT_DOUBLE_EQ(game.playTime, 1.5);
}

TEST_F(QuadratMerkenTest, EachPatternCountsOnceWhicheverAnswerHoldsIt) {
  {
    // Every answer equal to the first pattern: that pattern counts once.
    DG_Quadrat_merken game(1);
    game.DisableRecording();
    MakePatternsDistinct(game);
    GameDriver driver(game);
    SkipShow(game);
    for (int a = 0; a < game.answers.Count(); ++a) game.answers.Get(a)->CopyFrom(*game.patterns.Get(0));
    for (int a = 0; a < game.answers.Count(); ++a) driver.Key(VK_RETURN);
    ASSERT_EQ(game.GetState(), GAME_STATE_ENDED);
    EXPECT_EQ(game.correct, 1);
  }
  {
    // Answers in another order all count; one answer can match two equal patterns.
    DG_Quadrat_merken game(0);
    game.DisableRecording();
    MakePatternsDistinct(game);
    game.patterns.Get(3)->CopyFrom(*game.patterns.Get(1));
    GameDriver driver(game);
    SkipShow(game);
    game.answers.Get(0)->CopyFrom(*game.patterns.Get(4));
    game.answers.Get(1)->CopyFrom(*game.patterns.Get(1));
    game.answers.Get(2)->CopyFrom(*game.patterns.Get(0));
    for (int a = 0; a < 5; ++a) driver.Key(VK_RETURN);
    EXPECT_EQ(game.correct, 4);  // patterns 0, 1, 3 and 4; pattern 2 is missing
    game.ComputeGrade();
    EXPECT_DOUBLE_EQ(game.GetGrade(), 1.0 + 5.0 * 1 / 5);
    const std::string expected = FormatText(GetLangText(22), {0, 0}) + "\n" +
                                 FormatText(GetLangText(25), {4, 5}) + "\n\n" +
                                 FormatText(GetLangText(50), {2.0});
    EXPECT_EQ(game.GetResultText(), expected);
  }
}

TEST_F(QuadratMerkenTest, QuitEvaluatesTheUntouchedGridsAndGradesTimeDoubleOnce) {
  DG_Quadrat_merken game(0);
  game.DisableRecording();
  MakePatternsDistinct(game);
  game.patterns.Get(1)->Clear();  // dark patterns match the untouched answers
  game.patterns.Get(3)->Clear();
  GameDriver driver(game);
  SkipShow(game);
  Tick(game, 30.0);
  game.SetState(GAME_STATE_QUIT);
  game.ComputeGrade();
  EXPECT_EQ(game.GetState(), GAME_STATE_ENDED);
  EXPECT_EQ(game.correct, 2);
  EXPECT_DOUBLE_EQ(game.GetGrade(), 1.0 + 5.0 * 3 / 5 + 30.0 / 60);
  game.ComputeGrade();  // the host grades again before the play is recorded
  EXPECT_DOUBLE_EQ(game.GetGrade(), 1.0 + 5.0 * 3 / 5 + 30.0 / 120);

  // Quitting during the show: no play time, the same evaluation.
  DG_Quadrat_merken early(0);
  early.DisableRecording();
  MakePatternsDistinct(early);
  early.patterns.Get(0)->Clear();
  early.Start();
  Tick(early, 1.0);
  early.SetState(GAME_STATE_QUIT);
  early.ComputeGrade();
  EXPECT_EQ(early.correct, 1);
  EXPECT_DOUBLE_EQ(early.GetGrade(), 5.0);
}

TEST_F(QuadratMerkenTest, PerfectPlayOfFivePatternsInSixtySecondsGradesOnePointFive) {
  DG_Quadrat_merken game(0);
  game.DisableRecording();
  GameDriver driver(game);
  SkipShow(game);
  Tick(game, 60.0);
  AutoplayWin_DG_Quadrat_merken(driver);
  ASSERT_EQ(game.GetState(), GAME_STATE_ENDED);
  EXPECT_EQ(game.correct, 5);
  game.ComputeGrade();
  EXPECT_DOUBLE_EQ(game.GetGrade(), 1.5);
  const std::string expected = FormatText(GetLangText(22), {1, 0}) + "\n" +
                               FormatText(GetLangText(26), {5, 5}) + "\n\n" +
                               FormatText(GetLangText(50), {1.5});
  EXPECT_EQ(game.GetResultText(), expected);
  EXPECT_STREQ(game.GetResultTitle(), GetLangText(21));
  EXPECT_STREQ(game.GetDescriptionText(), GetLangText(70));
  EXPECT_NE(game.GetStatisticsText(), nullptr);
}

TEST_F(QuadratMerkenTest, WonAtEveryDifficultyAndFailedPlaysAreRecorded) {
  for (int difficulty = 0; difficulty < 3; ++difficulty) {
    DG_Quadrat_merken game(difficulty);
    GameDriver driver(game);
    driver.Wait(3.0);
    AutoplayWin_DG_Quadrat_merken(driver);
    ASSERT_EQ(game.GetState(), GAME_STATE_ENDED) << difficulty;
    EXPECT_EQ(game.correct, game.PatternCount());
    game.ComputeGrade();
    EXPECT_DOUBLE_EQ(game.GetGrade(), 1.0 + game.playTime / 120.0);
  }
  {
    // Nothing rebuilt, and no pattern dark: none remembered.
    DG_Quadrat_merken game(1);
    MakePatternsDistinct(game);
    GameDriver driver(game);
    SkipShow(game);
    Tick(game, 20.0);
    for (int a = 0; a < game.answers.Count(); ++a) driver.Key(VK_RETURN);
    ASSERT_EQ(game.GetState(), GAME_STATE_ENDED);
    EXPECT_EQ(game.correct, 0);
    game.ComputeGrade();
    EXPECT_DOUBLE_EQ(game.GetGrade(), 6.0);
    EXPECT_NE(std::string(game.GetResultText()).find(FormatText(GetLangText(25), {0, 6})),
              std::string::npos);
  }
  GameRecord saved;
  ASSERT_TRUE(saved.LoadFile("quadrate.sav"));
  EXPECT_EQ(saved.playCount, 4);
  EXPECT_LT(saved.bestGrade, 1.5);
  EXPECT_DOUBLE_EQ(saved.worstGrade, 6.0);
  EXPECT_EQ(saved.veryGoodCount, 3);
  EXPECT_EQ(app->statistics->playCount, 4);
}

class QuadratMerkenMenuTest : public testapp::MenuPlayTest {
 protected:
  DG_Quadrat_merken* Game() { return dynamic_cast<DG_Quadrat_merken*>(menu->activeGame); }
};

TEST_F(QuadratMerkenMenuTest, PlayedFromTheMenuIntoTheTopTen) {
  ASSERT_TRUE(driver->StartFromMenu(8, 2));
  ASSERT_NE(Game(), nullptr);
  EXPECT_EQ(Game()->n, 4);
  driver->SkipCountdown();
  ASSERT_TRUE(Game()->started);
  // A double click on a cell while answering switches it twice: the second
  // press reaches the grid as a press of its own.
  driver->WaitUntil([&] { return !Game()->showing; }, 60.0);
  const QuadCell* cell = Game()->answers.Get(0)->Cell(5);
  const int x = static_cast<int>(cell->left + 5), y = static_cast<int>(cell->top + 5);
  driver->Move(x, y);
  menu->OnLButtonDown(x, y);
  menu->OnLButtonUp(x, y);
  EXPECT_TRUE(cell->IsOn());
  // The window delivers the second press of a double click as a press and
  // then reports the double click.
  menu->OnLButtonDown(x, y);
  menu->OnLButtonDblClk(x, y);
  menu->OnLButtonUp(x, y);
  EXPECT_FALSE(cell->IsOn());

  AutoplayWin_DG_Quadrat_merken(*driver);
  ASSERT_EQ(Game()->GetState(), GAME_STATE_ENDED);
  const double playTime = Game()->playTime;
  EXPECT_NEAR(EnterTopTenName("Ida", "quadrate.sav"), 1.0 + playTime / 120.0, 1e-4);
}

TEST_F(QuadratMerkenMenuTest, QuittingInASeriesEndsTheSeries) {
  menu->createGame = [](int, int difficulty) -> Denkar_Game* { return new DG_Quadrat_merken(difficulty); };
  ASSERT_TRUE(driver->StartSeries(0));
  // One dark pattern, found by the untouched answers: a top-10 grade.
  for (int p = 0; p < Game()->PatternCount(); ++p) {
    Game()->patterns.Get(p)->Clear();
    if (p > 0) Game()->patterns.Get(p)->Cell(p)->SetOn(true);
  }
  driver->SkipCountdown();
  driver->WaitUntil([&] { return !Game()->showing; }, 60.0);
  driver->Wait(10.0);
  driver->Key(VK_ESCAPE);
  ASSERT_EQ(menu->currentPage, 45);
  ASSERT_TRUE(driver->ClickElement(49));
  // Grading turned the quit into an ended play; the result page asks for the
  // name, and leaving it ends the series instead of starting the next game.
  ASSERT_EQ(menu->currentPage, 55);
  EXPECT_EQ(Game()->GetState(), GAME_STATE_ENDED);
  EXPECT_EQ(Game()->correct, 1);
  driver->Type("q");
  driver->Key(VK_RETURN);
  EXPECT_EQ(menu->seriesGamesCounted, 1);
  // The quit penalty for one counted game takes the grade to the 6.0 cap,
  // which enters no list: straight back to the main page.
  EXPECT_DOUBLE_EQ(menu->seriesGrade, 6.0);
  EXPECT_EQ(menu->activeGame, nullptr);
  EXPECT_EQ(menu->currentPage, 1);
  EXPECT_EQ(app->runState, 0);
  driver->Wait(4.0);
  EXPECT_EQ(menu->activeGame, nullptr);
  GameRecord saved;
  ASSERT_TRUE(saved.LoadFile("quadrate.sav"));
  EXPECT_EQ(saved.playCount, 1);
  ASSERT_EQ(saved.Entries().Count(), 1);
  EXPECT_STREQ(saved.Entries().Get(0)->name, "q");
}

TEST_F(QuadratMerkenMenuTest, ScreensAtEveryDifficultyInBothLanguages) {
  ShootEveryScreen("merken", 8, [&](const std::string& stem) {
    driver->Wait(0.5);
    Shot(stem + "2_showing.png");
    driver->WaitUntil([&] { return !Game()->showing; }, 60.0);
    // Half of the first pattern rebuilt.
    QuadField* pattern = Game()->patterns.Get(0);
    QuadField* answer = Game()->answers.Get(0);
    for (int i = 0; i < answer->CellCount() / 2; ++i)
      if (pattern->Cell(i)->IsOn()) answer->Cell(i)->SetOn(true);
    driver->Move(600, 600);
    Shot(stem + "3_answering.png");
    AutoplayWin_DG_Quadrat_merken(*driver);
  }, true);
}

}  // namespace
