// The pattern addition game: the task layout, the solution as the union of
// the summands with three distinct wrong candidates, clicks and the second of
// feedback, grading, plays to the end at every difficulty, and a play inside
// the menu with its screens.
#include <gtest/gtest.h>

#include <string>

#include "Denkar_Spiele/DG_Quadrat_addieren.h"
#include "Denkar_Spiele/autoplay_quadrat_addieren.h"
#include "Denkar_Spiele/quad_cell_click.h"
#include "data/language.h"
#include "framework/game_record.h"
#include "platform/crt_rand.h"
#include "support/menu_play.h"
#include "support/play_driver.h"
#include "support/test_app.h"
#include "util/app_context.h"
#include "util/format_text.h"

namespace {

class QuadratAddierenTest : public testapp::AppTest {
 protected:
  const char* FolderPrefix() const override { return "denkar_quadrat_addieren"; }
  void Tick(DG_Quadrat_addieren& game, double seconds) {
    app->frameTime = app->realFrameTime = seconds;
    game.Update();
  }
  // A candidate that is not the solution.
  static QuadField* WrongChoice(DG_Quadrat_addieren& game) {
    for (int i = 0; i < game.choices.Count(); ++i)
      if (game.choices.Get(i) != game.solution) return game.choices.Get(i);
    return nullptr;
  }
};

TEST_F(QuadratAddierenTest, EveryTaskHasTheUnionAndThreeDistinctWrongCandidates) {
  const struct {
    int difficulty, summands, n;
  } cases[] = {{0, 2, 3}, {1, 3, 3}, {2, 3, 4}};
  for (const auto& c : cases) {
    for (int play = 0; play < 15; ++play) {
      CrtSrand(1000 * c.difficulty + play);
      DG_Quadrat_addieren game(c.difficulty);
      game.DisableRecording();
      GameDriver driver(game);
      ASSERT_EQ(game.summands.Count(), c.summands);
      ASSERT_EQ(game.choices.Count(), 4);
      EXPECT_EQ(game.taskCount, 10);
      EXPECT_TRUE(game.litSample->IsOn());
      EXPECT_FALSE(game.unlitSample->IsOn());
      EXPECT_FLOAT_EQ(game.litSample->left, 432);
      EXPECT_FLOAT_EQ(game.unlitSample->left, 562);
      ASSERT_EQ(game.plusPositions.Count(), c.summands - 1);
      const float plusX = c.summands == 2 ? 512 : 384;
      EXPECT_FLOAT_EQ(game.plusPositions.Get(0)->x, plusX);
      EXPECT_FLOAT_EQ(game.plusPositions.Get(0)->y, 256);
      for (int task = 0; task < 10; ++task) {
        ASSERT_NE(game.solution, nullptr);
        QuadField sum(false, c.n, 0, 100, nullptr, 3);
        for (int j = 0; j < game.summands.Count(); ++j) {
          QuadField* summand = game.summands.Get(j);
          EXPECT_TRUE(summand->locked);
          EXPECT_EQ(summand->N(), c.n);
          EXPECT_FLOAT_EQ(summand->Cell(0)->left, 256 + j * 512.0f / (c.summands - 1) - 50);
          sum.Apply(*summand, false);
        }
        EXPECT_TRUE(game.solution->Equals(sum));
        int solutions = 0;
        for (int i = 0; i < 4; ++i) {
          QuadField* choice = game.choices.Get(i);
          EXPECT_FLOAT_EQ(choice->Cell(0)->left, 128 + 256 * i - 50);
          EXPECT_FLOAT_EQ(choice->Cell(0)->top, 512 - 50);
          EXPECT_FLOAT_EQ(game.labelPositions.Get(i)->y, 587);
          if (choice == game.solution) {
            ++solutions;
            continue;
          }
          EXPECT_FALSE(choice->Equals(*game.solution));
          for (int j = 0; j < i; ++j) EXPECT_FALSE(choice->Equals(*game.choices.Get(j)));
        }
        EXPECT_EQ(solutions, 1);
        ClickCell(driver, game.solution->Cell(0));
        Tick(game, 1.0);
      }
      EXPECT_EQ(game.GetState(), GAME_STATE_ENDED);
    }
  }
}

TEST_F(QuadratAddierenTest, ClicksAndTheSecondOfFeedback) {
  DG_Quadrat_addieren game(0);
  game.DisableRecording();
  GameDriver driver(game, false);
  ClickCell(driver, game.solution->Cell(0));  // before Start
  EXPECT_EQ(game.correct + game.wrong, 0);
  game.Start();
  // The gap between two cells of a candidate, and beside all candidates.
  const QuadCell* first = game.solution->Cell(0);
  driver.Click(static_cast<int>(first->left + first->size + 1.5f), static_cast<int>(first->top + 5));
  driver.Click(10, 700);
  driver.Click(512, 384);
  EXPECT_EQ(game.correct + game.wrong, 0);
  EXPECT_DOUBLE_EQ(game.feedbackTimer, 0.0);
  Tick(game, 4.0);
  EXPECT_DOUBLE_EQ(game.playTime, 4.0);

  QuadField* wrongChoice = WrongChoice(game);
  QuadField* solution = game.solution;
  ClickCell(driver, wrongChoice->Cell(2));
  EXPECT_EQ(game.wrong, 1);
  EXPECT_DOUBLE_EQ(game.feedbackTimer, 1.0);
  // During the feedback clicks do nothing and the clock stands.
  ClickCell(driver, solution->Cell(0));
  Tick(game, 0.5);
  ClickCell(driver, solution->Cell(0));
  EXPECT_EQ(game.correct, 0);
  EXPECT_EQ(game.wrong, 1);
  EXPECT_EQ(game.solution, solution);
  Tick(game, 0.5);
  EXPECT_LE(game.feedbackTimer, 0.0);
  EXPECT_DOUBLE_EQ(game.playTime, 4.0);
  EXPECT_EQ(game.GetState(), GAME_STATE_RUNNING);
  ClickCell(driver, game.solution->Cell(game.solution->CellCount() - 1));
  EXPECT_EQ(game.correct, 1);

  // A quit during the feedback stays a quit: no new task, no end of its own.
  game.SetState(GAME_STATE_QUIT);
  Tick(game, 2.0);
  EXPECT_EQ(game.GetState(), GAME_STATE_QUIT);
  EXPECT_GT(game.feedbackTimer, 0.0);
  game.ComputeGrade();
  EXPECT_DOUBLE_EQ(game.GetGrade(), 6.0);  // 1 + 10 * 1 / 2 + 4 / 120, capped
}

TEST_F(QuadratAddierenTest, Grades) {
  {
    // Ten right answers in 120 seconds.
    DG_Quadrat_addieren game(1);
    game.DisableRecording();
    GameDriver driver(game);
    Tick(game, 120.0);
    AutoplayWin_DG_Quadrat_addieren(driver);
    ASSERT_EQ(game.GetState(), GAME_STATE_ENDED);
    EXPECT_EQ(game.correct, 10);
    game.ComputeGrade();
    EXPECT_DOUBLE_EQ(game.GetGrade(), 2.0);
    const std::string expected = FormatText(GetLangText(22), {2, 0}) + "\n" +
                                 FormatText(GetLangText(30), {10}) + "\n" +
                                 FormatText(GetLangText(31), {0}) + "\n\n" +
                                 FormatText(GetLangText(32), {100}) + "\n\n" +
                                 FormatText(GetLangText(41), {12.0}) + "\n" +
                                 FormatText(GetLangText(50), {2.0});
    EXPECT_EQ(game.GetResultText(), expected);
    EXPECT_STREQ(game.GetResultTitle(), GetLangText(100));
    EXPECT_STREQ(game.GetDescriptionText(), GetLangText(102));
  }
  // Quits: 2 right and 2 wrong in 30 s; 3 right and 1 wrong in 24 s; no answer.
  const struct {
    int correct, wrong;
    double seconds, grade;
    int percent;
  } quits[] = {{2, 2, 30, 6.0, 50}, {3, 1, 24, 1.0 + 2.5 + 0.2, 75}, {2, 1, 0, 1.0 + 10.0 / 3, 66},
               {0, 0, 10, 6.0, 0}};
  for (const auto& q : quits) {
    DG_Quadrat_addieren game(0);
    game.DisableRecording();
    game.Start();
    game.correct = q.correct;
    game.wrong = q.wrong;
    game.playTime = q.seconds;
    game.SetState(GAME_STATE_QUIT);
    game.ComputeGrade();
    EXPECT_DOUBLE_EQ(game.GetGrade(), q.grade);
    const std::string text = game.GetResultText();
    EXPECT_NE(text.find(FormatText(GetLangText(32), {q.percent})), std::string::npos) << text;
    const int answered = q.correct + q.wrong;
    const double perAnswer = answered ? q.seconds / answered : 0.0;
    EXPECT_NE(text.find(FormatText(GetLangText(41), {perAnswer})), std::string::npos) << text;
  }
}

TEST_F(QuadratAddierenTest, WonAtEveryDifficultyAndAllWrongRecorded) {
  for (int difficulty = 0; difficulty < 3; ++difficulty) {
    DG_Quadrat_addieren game(difficulty);
    GameDriver driver(game);
    driver.Wait(0.5);
    AutoplayWin_DG_Quadrat_addieren(driver);
    ASSERT_EQ(game.GetState(), GAME_STATE_ENDED) << difficulty;
    EXPECT_EQ(game.correct, 10);
    EXPECT_EQ(game.wrong, 0);
    game.ComputeGrade();
    EXPECT_NEAR(game.GetGrade(), 1.0 + 0.5 / 120, 1e-9);
  }
  {
    DG_Quadrat_addieren game(2);
    GameDriver driver(game);
    for (int task = 0; task < 10; ++task) {
      ClickCell(driver, WrongChoice(game)->Cell(0));
      driver.Wait(1.1);
    }
    driver.Wait(0.1);
    ASSERT_EQ(game.GetState(), GAME_STATE_ENDED);
    EXPECT_EQ(game.wrong, 10);
    game.ComputeGrade();
    EXPECT_DOUBLE_EQ(game.GetGrade(), 6.0);
  }
  GameRecord saved;
  ASSERT_TRUE(saved.LoadFile("addieren.sav"));
  EXPECT_EQ(saved.playCount, 4);
  EXPECT_EQ(saved.veryGoodCount, 3);
  EXPECT_DOUBLE_EQ(saved.worstGrade, 6.0);
}

class QuadratAddierenMenuTest : public testapp::MenuPlayTest {
 protected:
  DG_Quadrat_addieren* Game() { return dynamic_cast<DG_Quadrat_addieren*>(menu->activeGame); }
};

TEST_F(QuadratAddierenMenuTest, PlayedFromTheMenuIntoTheTopTen) {
  ASSERT_TRUE(driver->StartFromMenu(9, 1));
  ASSERT_NE(Game(), nullptr);
  EXPECT_EQ(Game()->summandCount, 3);
  driver->SkipCountdown();
  driver->Wait(1.0);
  AutoplayWin_DG_Quadrat_addieren(*driver);
  ASSERT_EQ(Game()->GetState(), GAME_STATE_ENDED);
  EXPECT_EQ(Game()->correct, 10);
  const double grade = 1.0 + Game()->playTime / 120.0;
  EXPECT_NEAR(EnterTopTenName("Bo Li", "addieren.sav"), grade, 1e-4);
}

TEST_F(QuadratAddierenMenuTest, ScreensAtEveryDifficultyInBothLanguages) {
  ShootEveryScreen("addieren", 9, [&](const std::string& stem) {
    driver->Move(700, 700);
    driver->Wait(0.5);
    Shot(stem + "2_task.png");
    const QuadCell* cell = Game()->solution->Cell(0);
    driver->Click(static_cast<int>(cell->left + 5), static_cast<int>(cell->top + 5));
    driver->Wait(0.3);
    Shot(stem + "3_feedback.png");
    driver->Wait(1.0);
    AutoplayWin_DG_Quadrat_addieren(*driver);
  }, true);
}

}  // namespace
