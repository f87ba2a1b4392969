// The clock reading game: the typed time and its split into hours and
// minutes, times joined across midnight, the clocks of a task by difficulty,
// the hand angles, and whole plays (won, answered wrong, and from the menu in
// both languages) with their save files.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Denkar_Spiele/DG_Uhr_lesen.h"
#include "Denkar_Spiele/autoplay_uhr_lesen.h"
#include "Denkar_Spiele/typed_answers.h"
#include "data/language.h"
#include "framework/game_record.h"
#include "platform/crt_rand.h"
#include "shell/shell.h"
#include "support/test_app.h"
#include "util/app_context.h"
#include "util/format_text.h"

namespace {

// Minutes since midnight as the player types them: hours and two-digit minutes.
std::string Typed(int minutes) { return std::to_string(minutes / 60 * 100 + minutes % 60); }
std::string RightAnswer(DG_Uhr_lesen& game) { return Typed(game.correctAnswer); }
std::string WrongAnswer(DG_Uhr_lesen& game) {
  return Typed((game.correctAnswer + 1) % MINUTES_PER_DAY);
}

class ClockTest : public testapp::AppTest {
 protected:
  const char* FolderPrefix() const override { return "denkar_clock"; }
};

TEST_F(ClockTest, TypedAnswerSplitsIntoHoursAndMinutes) {
  const struct {
    const char* typed;
    int minutes;
    const char* shown;
  } cases[] = {{"130", 90, "1:30"},    {"45", 45, " :45"},      {"100", 60, "1:00"},
               {"30", 30, " :30"},     {"2300", 1380, "23:00"}, {"0", 0, " :00"},
               {"160", 120, "1:60"},   {"99", 99, " :99"},      {"2359", 1439, "23:59"},
               {"2400", 1440, "24:00"}};
  for (const auto& c : cases) {
    EXPECT_EQ(DG_Uhr_lesen::TypedMinutes(c.typed), c.minutes) << c.typed;
    EXPECT_EQ(DG_Uhr_lesen::TypedTime(c.typed), c.shown) << c.typed;
  }
}

TEST_F(ClockTest, TypingNeedsTheStartAndStopsAtFourDigits) {
  DG_Uhr_lesen game(0);
  game.DisableRecording();
  GameDriver driver(game, false);
  driver.Type("12");
  driver.Key(VK_RETURN);
  EXPECT_EQ(game.answerBox.Length(), 0);  // before the countdown has run out
  EXPECT_EQ(game.answerBox.Answered(), 0);
  game.Start();
  driver.Key(VK_BACK);  // on an empty answer
  driver.Type("12345");
  EXPECT_STREQ(game.answerBox.Answer(), "1234");
  driver.Key(VK_NUMPAD0 + 5);
  EXPECT_EQ(game.answerBox.Length(), 4);
}

bool g_ctrlHeld = false;
bool FakeKeyState(int key) { return key == VK_CONTROL && g_ctrlHeld; }

TEST_F(ClockTest, CtrlEnterSwitchesTheDisplayWithoutAnswering) {
  DG_Uhr_lesen game(0);
  game.DisableRecording();
  game.Start();
  GetShellState() = ShellState{};
  GetShellState().isKeyDown = FakeKeyState;
  GetShellState().mainMenu = &game;
  app->currentControl = &game;
  const bool fullscreen = app->fullscreen;
  const auto windowed = app->presentParams.Windowed;
  for (int key : {'1', '2'}) {
    WindowProc(nullptr, WM_KEYDOWN, key, 0);
    WindowProc(nullptr, WM_KEYUP, key, 0);
  }
  g_ctrlHeld = true;
  WindowProc(nullptr, WM_KEYDOWN, VK_CONTROL, 0);
  WindowProc(nullptr, WM_KEYDOWN, VK_RETURN, 0);
  g_ctrlHeld = false;
  WindowProc(nullptr, WM_KEYUP, VK_CONTROL, 0);
  WindowProc(nullptr, WM_KEYUP, VK_RETURN, 0);
  EXPECT_NE(app->fullscreen, fullscreen);
  EXPECT_STREQ(game.answerBox.Answer(), "12");
  EXPECT_EQ(game.answerBox.Answered(), 0);
  // A plain Enter afterwards answers.
  WindowProc(nullptr, WM_KEYDOWN, VK_RETURN, 0);
  WindowProc(nullptr, WM_KEYUP, VK_RETURN, 0);
  EXPECT_EQ(game.answerBox.Answered(), 1);
  app->currentControl = nullptr;
  app->fullscreen = fullscreen;
  app->presentParams.Windowed = windowed;
  GetShellState() = ShellState{};
}

TEST_F(ClockTest, TimesJoinAcrossMidnight) {
  // 23:30 + 1:00 is 0:30, typed as 30; 2:00 - 3:00 is 23:00, typed as 2300.
  EXPECT_EQ(DG_Uhr_lesen::JoinTimes(23 * 60 + 30, 60, true), 30);
  EXPECT_EQ(DG_Uhr_lesen::JoinTimes(120, 180, false), 23 * 60);
  EXPECT_EQ(DG_Uhr_lesen::JoinTimes(0, 0, false), 0);
  const struct {
    int correct;
    const char* typed;
  } cases[] = {{30, "30"}, {23 * 60, "2300"}};
  for (const auto& c : cases) {
    DG_Uhr_lesen game(0);
    game.DisableRecording();
    GameDriver driver(game);
    game.correctAnswer = c.correct;
    driver.Type(c.typed);
    driver.Key(VK_RETURN);
    EXPECT_EQ(game.answerBox.rightCount, 1) << c.typed;
  }
}

TEST_F(ClockTest, TasksByDifficulty) {
  const struct {
    int difficulty, clocks, tasks;
    std::vector<float> clockX, signX;
  } cases[] = {{0, 2, 5, {128, 896}, {512}},
               {1, 2, 10, {128, 896}, {512}},
               {2, 3, 15, {128, 512, 896}, {320, 704}}};
  for (const auto& c : cases) {
    DG_Uhr_lesen game(c.difficulty);
    game.DisableRecording();
    EXPECT_EQ(game.clockCount, c.clocks);
    EXPECT_EQ(game.taskCount, c.tasks);
    int mixed = 0;
    for (int task = 0; task < 400; ++task) {
      game.BuildTask();
      ASSERT_EQ(game.clocks.Count(), c.clocks);
      ASSERT_EQ(game.plusPositions.Count() + game.minusPositions.Count(), c.clocks - 1);
      int analog = 0;
      for (int i = 0; i < c.clocks; ++i) {
        const Uhr* clock = game.clocks.Get(i);
        EXPECT_FLOAT_EQ(clock->position.x, c.clockX[i]);
        EXPECT_FLOAT_EQ(clock->position.y, 256);
        EXPECT_DOUBLE_EQ(clock->scale, 1.0);
        analog += clock->analog;
      }
      if (analog != 0 && analog != c.clocks) ++mixed;
      // The answer follows the clocks from left to right with the sign
      // standing before each clock after the first.
      std::vector<std::pair<float, bool>> signs;
      for (int i = 0; i < game.plusPositions.Count(); ++i)
        signs.emplace_back(game.plusPositions.Get(i)->x, true);
      for (int i = 0; i < game.minusPositions.Count(); ++i)
        signs.emplace_back(game.minusPositions.Get(i)->x, false);
      std::sort(signs.begin(), signs.end());
      int expected = game.clocks.Get(0)->Value();
      for (int i = 1; i < c.clocks; ++i) {
        EXPECT_FLOAT_EQ(signs[i - 1].first, c.signX[i - 1]);
        const int value = game.clocks.Get(i)->Value();
        expected = (expected + (signs[i - 1].second ? value : -value) + MINUTES_PER_DAY) %
                   MINUTES_PER_DAY;
      }
      EXPECT_EQ(game.correctAnswer, expected);
    }
    // The easiest level never mixes analog and digital clocks in a task.
    if (c.difficulty == 0) EXPECT_EQ(mixed, 0);
    else EXPECT_GT(mixed, 0);
  }
}

TEST_F(ClockTest, HandAngles) {
  const struct {
    int hours, minutes;
    double minuteAngle, hourAngle;
  } cases[] = {{3, 0, 0, 90}, {6, 30, 180, 195}, {11, 59, 354, 359.5}, {15, 0, 0, 450}};
  Uhr clock(512, 384, UHR_ANALOG, 200);
  EXPECT_TRUE(clock.analog);
  for (const auto& c : cases) {
    clock.hours = c.hours;
    clock.minutes = c.minutes;
    EXPECT_DOUBLE_EQ(clock.MinuteAngle(), c.minuteAngle);
    EXPECT_DOUBLE_EQ(clock.HourAngle(), c.hourAngle);
  }
  Uhr digital(512, 384, UHR_DIGITAL, 200);
  EXPECT_FALSE(digital.analog);
  EXPECT_EQ(std::string(digital.digitalText),
            (digital.hours ? std::to_string(digital.hours) : std::string(" ")) + ":" +
                (digital.minutes < 10 ? "0" : "") + std::to_string(digital.minutes));
}

TEST_F(ClockTest, WonPlaysAtEveryDifficultyAreRecorded) {
  for (int difficulty = 0; difficulty < 3; ++difficulty) {
    double grade;
    {
      DG_Uhr_lesen game(difficulty);
      GameDriver driver(game);
      driver.Wait(12.0, 0.5);
      AutoplayWin_DG_Uhr_lesen(driver);
      ASSERT_EQ(game.GetState(), GAME_STATE_ENDED);
      EXPECT_EQ(game.answerBox.rightCount, game.taskCount);
      EXPECT_EQ(game.answerBox.wrongCount, 0);
      EXPECT_DOUBLE_EQ(game.playTime, 12.0);
      game.ComputeGrade();
      grade = game.GetGrade();
      EXPECT_DOUBLE_EQ(grade, 1.1);
      EXPECT_EQ(std::string(game.GetResultText()),
                FormatText(GetLangText(22), {0, 12}) + "\n" +
                    FormatText(GetLangText(30), {game.taskCount}) + "\n" +
                    FormatText(GetLangText(31), {0}) + "\n\n" +
                    FormatText(GetLangText(32), {100}) + "\n\n" +
                    FormatText(GetLangText(50), {1.1}));
      EXPECT_STREQ(game.GetResultTitle(), GetLangText(110));
      EXPECT_STREQ(game.GetDescriptionText(), GetLangText(111));
    }
    GameRecord saved;
    ASSERT_TRUE(saved.LoadFile("uhr.sav"));
    EXPECT_EQ(saved.playCount, difficulty + 1);
    EXPECT_EQ(saved.veryGoodCount, difficulty + 1);
    EXPECT_NEAR(saved.gradeSum, 1.1 * (difficulty + 1), 1e-5);
  }
}

TEST_F(ClockTest, WrongAnswersGradeBadlyAndAreRecorded) {
  {
    DG_Uhr_lesen game(2);
    GameDriver driver(game);
    AnswerEveryTask<DG_Uhr_lesen>(driver, WrongAnswer);
    ASSERT_EQ(game.GetState(), GAME_STATE_ENDED);
    EXPECT_EQ(game.answerBox.wrongCount, 15);
    game.ComputeGrade();
    EXPECT_DOUBLE_EQ(game.GetGrade(), 6.0);
  }
  {
    // Two of the five tasks answered wrong, no time taken: 1 + 5 x 2 / 5.
    DG_Uhr_lesen game(0);
    GameDriver driver(game);
    int n = 0;
    AnswerEveryTask<DG_Uhr_lesen>(
        driver, [&](DG_Uhr_lesen& g) { return ++n <= 2 ? WrongAnswer(g) : RightAnswer(g); });
    game.ComputeGrade();
    EXPECT_DOUBLE_EQ(game.GetGrade(), 3.0);
  }
  {
    // Left from the pause menu during the feedback of the fourth answer,
    // one of them wrong: 1 + 10 x 1 / 4 + 60 / 120. The quit stays a quit.
    DG_Uhr_lesen game(1);
    GameDriver driver(game);
    driver.Wait(60.0, 0.5);
    for (int task = 0; task < 4; ++task) {
      driver.Type(task == 2 ? WrongAnswer(game) : RightAnswer(game));
      driver.Key(VK_RETURN);
      if (task < 3) driver.Wait(2.0, 0.5);
    }
    game.SetState(GAME_STATE_QUIT);
    driver.Wait(3.0, 0.5);
    EXPECT_EQ(game.GetState(), GAME_STATE_QUIT);
    EXPECT_EQ(game.answerBox.Answered(), 4);
    game.ComputeGrade();
    EXPECT_DOUBLE_EQ(game.GetGrade(), 4.0);
  }
  GameRecord saved;
  ASSERT_TRUE(saved.LoadFile("uhr.sav"));
  EXPECT_EQ(saved.playCount, 3);
  EXPECT_EQ(saved.veryGoodCount, 0);
  EXPECT_DOUBLE_EQ(saved.bestGrade, 3.0);
  EXPECT_DOUBLE_EQ(saved.worstGrade, 6.0);
}

class ClockMenuTest : public TypedGameMenuTest {};

TEST_F(ClockMenuTest, PlayedFromTheMenuAtEveryDifficultyInBothLanguages) {
  PlayEveryDifficultyInBothLanguages<DG_Uhr_lesen>(12, "clock", "uhr.sav", RightAnswer,
                                                   WrongAnswer, AutoplayWin_DG_Uhr_lesen);
}

}  // namespace
