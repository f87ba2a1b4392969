// The number pyramid: the operator of a brick, the pyramid's shape and
// values, the typed answer, grading, and whole plays (won, answered wrong,
// and from the menu in both languages) with their save files.
#include <gtest/gtest.h>

#include <string>

#include "Denkar_Spiele/DG_Dreieck_rechnen.h"
#include "Denkar_Spiele/autoplay_dreieck_rechnen.h"
#include "Denkar_Spiele/typed_answers.h"
#include "data/language.h"
#include "framework/game_record.h"
#include "platform/crt_rand.h"
#include "support/test_app.h"
#include "util/app_context.h"
#include "util/format_text.h"

namespace {

std::string RightAnswer(DG_Dreieck_rechnen& game) { return std::to_string(game.top->value); }
std::string WrongAnswer(DG_Dreieck_rechnen& game) { return std::to_string(game.top->value + 1); }

class PyramidTest : public testapp::AppTest {
 protected:
  const char* FolderPrefix() const override { return "denkar_pyramid"; }
};

TEST_F(PyramidTest, OperatorChoiceOnKnownPairs) {
  const struct {
    int a, b, op, value;
    const char* label;
  } cases[] = {{7, 7, STEIN_DIVIDE, 1, "/"},  {11, 10, STEIN_MINUS, 1, "-"},
               {10, 11, STEIN_PLUS, 21, "+"}, {3, 5, STEIN_TIMES, 15, "*"},
               {20, 4, STEIN_DIVIDE, 5, "/"}, {4, 20, STEIN_TIMES, 80, "*"},
               {1, 20, STEIN_TIMES, 20, "*"}, {17, 13, STEIN_MINUS, 4, "-"}};
  for (const auto& c : cases) {
    Stein left(c.a, 100, 100), right(c.b, 180, 100);
    Stein below(&left, &right, 140, 160);
    EXPECT_EQ(below.op, c.op) << c.a << " " << c.b;
    EXPECT_EQ(below.value, c.value) << c.a << " " << c.b;
    EXPECT_STREQ(below.label, c.label);
    EXPECT_TRUE(below.Combined());
    EXPECT_FALSE(left.Combined());
    EXPECT_STREQ(left.label, std::to_string(c.a).c_str());
  }
}

TEST_F(PyramidTest, ShapeValuesAndTaskCountByDifficulty) {
  const struct {
    int difficulty, rows, tasks;
    float firstRowY, topX;
  } cases[] = {{0, 3, 10, 212, 512}, {1, 3, 20, 212, 512}, {2, 4, 20, 152, 472}};
  for (const auto& c : cases) {
    DG_Dreieck_rechnen game(c.difficulty);
    game.DisableRecording();
    EXPECT_EQ(game.rows, c.rows);
    EXPECT_EQ(game.taskCount, c.tasks);
    for (int build = 0; build < 300; ++build) {
      game.BuildPyramid();
      ASSERT_EQ(game.bricks.Count(), c.rows * (c.rows + 1) / 2);
      ASSERT_NE(game.top, nullptr);
      EXPECT_FLOAT_EQ(game.top->position.x, c.topX);
      EXPECT_FLOAT_EQ(game.top->position.y, 332);
      int first = 0;
      for (int i = 0; i < game.bricks.Count(); ++i) {
        const Stein* s = game.bricks.Get(i);
        if (!s->Combined()) {
          EXPECT_FLOAT_EQ(s->position.y, c.firstRowY);
          EXPECT_FLOAT_EQ(s->position.x, 512 - (c.rows / 2) * 80 + 80 * first++);
          EXPECT_GE(s->value, 1);
          EXPECT_LE(s->value, 20);
          continue;
        }
        // Each brick stands between the two it combines, one row lower.
        EXPECT_FLOAT_EQ(s->right->position.x - s->left->position.x, 80);
        EXPECT_FLOAT_EQ(s->position.x, s->left->position.x + 40);
        EXPECT_FLOAT_EQ(s->position.y, s->left->position.y + 60);
        EXPECT_EQ(s->op, Stein::ChooseOperator(s->left->value, s->right->value));
        EXPECT_EQ(s->value, Stein::Apply(s->op, s->left->value, s->right->value));
        // No value is 0 and every one can be typed in three digits.
        EXPECT_GE(s->value, 1);
        EXPECT_LE(s->value, 999);
      }
      EXPECT_EQ(first, c.rows);
    }
  }
}

TEST_F(PyramidTest, TheAnswerHasAtMostThreeDigits) {
  DG_Dreieck_rechnen game(0);
  game.DisableRecording();
  GameDriver driver(game);
  driver.Key(VK_RETURN);  // nothing typed: nothing judged
  EXPECT_EQ(game.answerBox.Answered(), 0);
  driver.Type("1234");
  EXPECT_STREQ(game.answerBox.Answer(), "123");
  driver.Key(VK_NUMPAD0 + 4);
  driver.Key(VK_BACK);
  EXPECT_STREQ(game.answerBox.Answer(), "12");
  EXPECT_FLOAT_EQ(game.answerBox.TileScale(), 1.0f);
  driver.Type("3");
  EXPECT_FLOAT_EQ(game.answerBox.TileScale(), 1.5f);
  // A wrong answer shows the right value; the tile keeps the typed width.
  game.top->value = 7;
  driver.Key(VK_RETURN);
  EXPECT_EQ(game.answerBox.wrongCount, 1);
  EXPECT_FLOAT_EQ(game.answerBox.TileScale(), 1.5f);
}

TEST_F(PyramidTest, GradeOfAPerfectPlayAndOfNothingAnswered) {
  {
    // Ten pyramids, twelve seconds each: 1 + 120 / 120 = 2.0. The two
    // seconds of feedback after each answer do not count.
    DG_Dreieck_rechnen game(0);
    game.DisableRecording();
    GameDriver driver(game);
    for (int task = 0; task < 10; ++task) {
      driver.Wait(12.0, 0.5);
      driver.Type(RightAnswer(game));
      driver.Key(VK_RETURN);
      driver.Wait(2.0, 0.5);
    }
    EXPECT_EQ(game.GetState(), GAME_STATE_ENDED);
    EXPECT_DOUBLE_EQ(game.playTime, 120.0);
    game.ComputeGrade();
    EXPECT_DOUBLE_EQ(game.GetGrade(), 2.0);
  }
  {
    DG_Dreieck_rechnen game(2);
    game.DisableRecording();
    GameDriver driver(game);
    driver.Wait(30.0, 0.5);
    game.SetState(GAME_STATE_QUIT);
    game.ComputeGrade();
    EXPECT_DOUBLE_EQ(game.GetGrade(), 6.0);
  }
}

TEST_F(PyramidTest, WonPlaysAtEveryDifficultyAreRecorded) {
  for (int difficulty = 0; difficulty < 3; ++difficulty) {
    double playTime;
    {
      DG_Dreieck_rechnen game(difficulty);
      GameDriver driver(game);
      driver.Wait(1.0);
      AutoplayWin_DG_Dreieck_rechnen(driver);
      ASSERT_EQ(game.GetState(), GAME_STATE_ENDED);
      EXPECT_EQ(game.answerBox.rightCount, game.taskCount);
      EXPECT_EQ(game.answerBox.wrongCount, 0);
      playTime = game.playTime;
      EXPECT_NEAR(playTime, 1.0, 1e-6);  // the feedback phases do not count
      game.ComputeGrade();
      EXPECT_DOUBLE_EQ(game.GetGrade(), 1.0 + playTime / 120.0);
      EXPECT_STREQ(game.GetResultTitle(), GetLangText(42));
      EXPECT_STREQ(game.GetDescriptionText(), GetLangText(66));
    }
    GameRecord saved;
    ASSERT_TRUE(saved.LoadFile("dreieck.sav"));
    EXPECT_EQ(saved.playCount, difficulty + 1);
    EXPECT_EQ(saved.veryGoodCount, difficulty + 1);
    EXPECT_NEAR(saved.bestGrade, 1.0 + playTime / 120.0, 1e-5);
  }
}

TEST_F(PyramidTest, WrongAnswersGradeBadlyAndAreRecorded) {
  {
    DG_Dreieck_rechnen game(0);
    GameDriver driver(game);
    AnswerEveryTask<DG_Dreieck_rechnen>(driver, WrongAnswer);
    ASSERT_EQ(game.GetState(), GAME_STATE_ENDED);
    EXPECT_EQ(game.answerBox.wrongCount, 10);
    game.ComputeGrade();
    EXPECT_DOUBLE_EQ(game.GetGrade(), 6.0);
    EXPECT_NE(std::string(game.GetResultText()).find(FormatText(GetLangText(32), {0})),
              std::string::npos);
  }
  {
    // Every second answer wrong: 1 + 5 x 10 / 20 + t / 120.
    DG_Dreieck_rechnen game(1);
    GameDriver driver(game);
    driver.Wait(6.0);
    int n = 0;
    AnswerEveryTask<DG_Dreieck_rechnen>(
        driver, [&](DG_Dreieck_rechnen& g) { return ++n % 2 ? RightAnswer(g) : WrongAnswer(g); });
    ASSERT_EQ(game.GetState(), GAME_STATE_ENDED);
    game.ComputeGrade();
    EXPECT_NEAR(game.GetGrade(), 1.0 + 2.5 + 6.0 / 120, 1e-6);
  }
  GameRecord saved;
  ASSERT_TRUE(saved.LoadFile("dreieck.sav"));
  EXPECT_EQ(saved.playCount, 2);
  EXPECT_EQ(saved.veryGoodCount, 0);
  EXPECT_DOUBLE_EQ(saved.worstGrade, 6.0);
  EXPECT_NEAR(saved.bestGrade, 3.55, 1e-5);
}

class PyramidMenuTest : public TypedGameMenuTest {};

TEST_F(PyramidMenuTest, PlayedFromTheMenuAtEveryDifficultyInBothLanguages) {
  PlayEveryDifficultyInBothLanguages<DG_Dreieck_rechnen>(
      3, "pyramid", "dreieck.sav", RightAnswer, WrongAnswer, AutoplayWin_DG_Dreieck_rechnen);
}

}  // namespace
