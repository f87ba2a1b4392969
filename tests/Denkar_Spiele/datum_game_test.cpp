// The date game: the calendar class against the C library's calendar, the
// task generator, reading and judging answers, the key handling in every
// phase, grading, and whole plays through the game's own keys and through
// the main menu with the save file read back. Today's date is fixed.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "Denkar_Spiele/DG_Datum_Game.h"
#include "Denkar_Spiele/Datum.h"
#include "Denkar_Spiele/autoplay_datum.h"
#include "Denkar_Spiele/typed_answers.h"
#include "data/language.h"
#include "framework/game_record.h"
#include "framework/stats_record.h"
#include "platform/clock.h"
#include "platform/crt_rand.h"
#include "support/play_driver.h"
#include "support/test_app.h"
#include "support/test_data_builders.h"
#include "util/app_context.h"
#include "util/format_text.h"

namespace {

Datum MakeDate(int day, int month, int year) {
  Datum d;
  d.day = day;
  d.month = month;
  d.year = year;
  d.UpdateWeekday();
  return d;
}

// Days from the date to 15 March 2024, by the C library's calendar.
long DaysBefore15March2024(const Datum& d) {
  std::tm a{}, b{};
  a.tm_year = d.year - 1900;
  a.tm_mon = d.month - 1;
  a.tm_mday = d.day;
  b.tm_year = 2024 - 1900;
  b.tm_mon = 2;
  b.tm_mday = 15;
  return static_cast<long>((timegm(&b) - timegm(&a)) / 86400);
}

void ExpectDate(const Datum& d, int day, int month, int year) {
  EXPECT_EQ(d.day, day);
  EXPECT_EQ(d.month, month);
  EXPECT_EQ(d.year, year);
}

TEST(DatumTest, DaysRunOverMonthAndYearEnds) {
  Datum d = MakeDate(31, 1, 2023);
  d.AddDays(1, true);
  ExpectDate(d, 1, 2, 2023);
  d = MakeDate(31, 12, 2023);
  d.AddDays(1, true);
  ExpectDate(d, 1, 1, 2024);
  EXPECT_EQ(d.weekday, 1);  // a Monday
  d = MakeDate(1, 3, 2024);
  d.AddDays(-1, true);
  ExpectDate(d, 29, 2, 2024);
  d = MakeDate(1, 3, 2023);
  d.AddDays(-1, true);
  ExpectDate(d, 28, 2, 2023);
  d = MakeDate(1, 3, 1900);  // no leap day in 1900, one in 2000
  d.AddDays(-1, true);
  ExpectDate(d, 28, 2, 1900);
  d = MakeDate(1, 3, 2000);
  d.AddDays(-1, true);
  ExpectDate(d, 29, 2, 2000);
  // A long step runs month by month without cutting the day on the way.
  d = MakeDate(31, 1, 2023);
  d.AddDays(30, true);
  ExpectDate(d, 2, 3, 2023);
  d = MakeDate(1, 1, 2024);
  d.AddDays(-36500, true);
  ExpectDate(d, 26, 1, 1924);
  d.AddDays(36500, true);
  ExpectDate(d, 1, 1, 2024);
}

TEST(DatumTest, MonthAndYearStepsAndTheMonthEndCut) {
  Datum d = MakeDate(15, 11, 2023);
  d.AddMonths(1, true);
  ExpectDate(d, 15, 12, 2023);
  d.AddMonths(1, true);
  ExpectDate(d, 15, 1, 2024);
  d.AddMonths(-13, true);
  ExpectDate(d, 15, 12, 2022);
  d.AddMonths(25, true);
  ExpectDate(d, 15, 1, 2025);
  // The plain month step keeps the day number (the day steps rely on it);
  // the cut to the month's end makes it a real date.
  d = MakeDate(31, 3, 2024);
  d.AddMonths(-1, false);
  ExpectDate(d, 31, 2, 2024);
  d.ClampDay(true);
  ExpectDate(d, 29, 2, 2024);
  EXPECT_EQ(d.weekday, 4);  // a Thursday
  d = MakeDate(31, 3, 2023);
  d.AddMonths(-1, false);
  d.ClampDay(true);
  ExpectDate(d, 28, 2, 2023);
  d = MakeDate(29, 2, 2024);
  d.AddYears(1, false);
  d.ClampDay(true);
  ExpectDate(d, 28, 2, 2025);
  d = MakeDate(29, 2, 2024);
  d.AddYears(4, false);
  d.ClampDay(true);
  ExpectDate(d, 29, 2, 2028);
  EXPECT_EQ(Datum::MonthLength(0, 2024), 0);
  EXPECT_EQ(Datum::MonthLength(13, 2024), 0);
  EXPECT_EQ(MakeDate(5, 13, 2024).DayOfYear(), -1);
}

// Every day from 1500 to 2600, against the C library's proleptic Gregorian
// calendar: weekday, day of year, month and year lengths. The table alone
// holds from 1 March 1600 to 29 February 2400; its century codes repeat so
// that the days outside agree as well.
TEST(DatumTest, WeekdayAndDayOfYearAgreeWithTheCLibraryOnEveryDay) {
  std::tm start{};
  start.tm_year = 1500 - 1900;
  start.tm_mon = 0;
  start.tm_mday = 1;
  start.tm_hour = 12;
  time_t t = timegm(&start);
  Datum d = MakeDate(1, 1, 1500);
  int mismatches = 0;
  while (d.year < 2600) {
    std::tm c{};
    gmtime_r(&t, &c);
    ASSERT_EQ(d.day, c.tm_mday);
    ASSERT_EQ(d.month, c.tm_mon + 1);
    ASSERT_EQ(d.year, c.tm_year + 1900);
    if (d.weekday != c.tm_wday || d.DayOfYear() != c.tm_yday + 1) ++mismatches;
    if (d.day == 1 && d.month == 1) {
      std::tm next = c;
      next.tm_year += 1;
      EXPECT_EQ(d.YearLength(), (timegm(&next) - t) / 86400) << d.year;
      EXPECT_EQ(Datum::IsLeapYear(d.year), d.YearLength() == 366);
    }
    d.AddDays(1, true);
    t += 86400;
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_EQ(Datum::Weekday(1, 1, 2000), 6);
  EXPECT_EQ(Datum::Weekday(1, 1, 2001), 1);
  EXPECT_EQ(Datum::Weekday(0, 1, 2000), -1);
  EXPECT_EQ(Datum::Weekday(32, 1, 2000), -1);
  EXPECT_EQ(Datum::Weekday(1, 0, 2000), -1);
  EXPECT_EQ(Datum::Weekday(1, 13, 2000), -1);
}

class DatumGameTest : public testapp::AppTest {
 protected:
  void SetUp() override {
    testapp::AppTest::SetUp();
    ClockFixDate(2024, 3, 15);  // a Friday
    CrtSrand(1234);
  }
  void TearDown() override {
    ClockClearFixedDate();
    testapp::AppTest::TearDown();
  }
  const char* FolderPrefix() const override { return "denkar_datum"; }

  // Makes the current task ask for `result`, or for its weekday.
  static void SetTask(DG_Datum_Game& game, bool weekday, const Datum& result) {
    game.weekdayQuestion = weekday;
    game.resultDate = result;
  }
  static void Frame(DG_Datum_Game& game, double seconds) {
    AppContext& app = GetAppContext();
    app.frameTime = app.realFrameTime = seconds;
    game.Update();
  }
};

TEST_F(DatumGameTest, SettingsByDifficultyAndTheStartDate) {
  const struct {
    int steps, tasks;
    double chance;
    bool random;
  } expected[3] = {{2, 10, 0.1, false}, {2, 15, 0.1, true}, {3, 20, 0.2, true}};
  for (int difficulty = 0; difficulty < 3; ++difficulty) {
    DG_Datum_Game game(difficulty);
    game.DisableRecording();
    EXPECT_EQ(game.stepCount, expected[difficulty].steps);
    EXPECT_EQ(game.taskCount, expected[difficulty].tasks);
    EXPECT_DOUBLE_EQ(game.weekdayChance, expected[difficulty].chance);
    EXPECT_EQ(game.randomStart, expected[difficulty].random);
    EXPECT_EQ(game.GetState(), GAME_STATE_RUNNING);
    EXPECT_FALSE(game.started);
    EXPECT_EQ(game.answerBox.Length(), 0);
    // Easy starts today; the others 10 to 100 years back.
    for (int task = 0; task < 300; ++task) {
      game.BuildTask();
      const Datum& s = game.startDate;
      if (!game.randomStart) {
        ExpectDate(s, 15, 3, 2024);
        EXPECT_EQ(s.weekday, 5);
      } else {
        const long daysBack = DaysBefore15March2024(s);
        EXPECT_GE(daysBack, 36500 - 32767);
        EXPECT_LE(daysBack, 36500);
      }
    }
  }
}

// Over many tasks: the first step goes back, directions alternate, two steps
// in a row never share a group, every result is a real date, and weekday
// questions come about as often as the difficulty says.
TEST_F(DatumGameTest, GeneratedTasksFollowTheStepRules) {
  for (int difficulty = 0; difficulty < 3; ++difficulty) {
    DG_Datum_Game game(difficulty);
    game.DisableRecording();
    const int tasks = 3000;
    int weekdayQuestions = 0;
    for (int task = 0; task < tasks; ++task) {
      game.BuildTask();
      weekdayQuestions += game.weekdayQuestion;
      ASSERT_EQ(game.stepTypes[0] % 2, 0);
      for (int i = 0; i < game.stepCount; ++i) {
        const int type = game.stepTypes[i];
        ASSERT_GE(type, 0);
        ASSERT_LT(type, DG_Datum_Game::STEP_TYPES);
        if (i == 0) continue;
        const int before = game.stepTypes[i - 1];
        EXPECT_NE(type % 2, before % 2);
        EXPECT_NE(DG_Datum_Game::StepGroup(type), DG_Datum_Game::StepGroup(before));
      }
      if (game.stepCount < DG_Datum_Game::MAX_STEPS) {
        EXPECT_EQ(game.stepTypes[2], -1);
      }
      const Datum& r = game.resultDate;
      ASSERT_GE(r.month, 1);
      ASSERT_LE(r.month, 12);
      ASSERT_GE(r.day, 1);
      ASSERT_LE(r.day, r.MonthLength()) << r.day << "." << r.month << "." << r.year;
      EXPECT_EQ(r.weekday, Datum::Weekday(r.day, r.month, r.year));
    }
    const double share = static_cast<double>(weekdayQuestions) / tasks;
    EXPECT_NEAR(share, game.weekdayChance, 0.03) << "difficulty " << difficulty;
  }
}

TEST_F(DatumGameTest, TaskTextHeaderStepsAndStartLine) {
  testapp::UseLanguage(1);
  DG_Datum_Game game(0);
  game.DisableRecording();
  for (int task = 0; task < 50; ++task) {
    game.BuildTask();
    const std::string header = GetLangText(game.weekdayQuestion ? 189 : 188);
    EXPECT_EQ(" " + game.taskText.substr(0, game.taskText.find('\n')), header);
    // One line per step, from the step texts' own line ends, none of them
    // with blanks at its ends (they would push the centred lines aside).
    int lines = 0;
    for (char c : game.taskText) lines += c == '\n';
    EXPECT_EQ(lines, game.stepCount);
    EXPECT_EQ(game.taskText.find('%'), std::string::npos);
    EXPECT_EQ(game.taskText.find(" \n"), std::string::npos);
    EXPECT_EQ(game.taskText.find("\n "), std::string::npos);
    EXPECT_NE(game.taskText.back(), ' ');
  }
  SetTask(game, true, MakeDate(7, 3, 2024));
  EXPECT_EQ(game.ExpectedAnswer(), "Thursday");
}

TEST_F(DatumGameTest, DateAnswersTakeTodayForWhatWasNotTyped) {
  ExpectDate(DG_Datum_Game::ReadDateAnswer(""), 15, 3, 2024);
  ExpectDate(DG_Datum_Game::ReadDateAnswer("0"), 15, 3, 2024);
  ExpectDate(DG_Datum_Game::ReadDateAnswer("07"), 7, 3, 2024);
  ExpectDate(DG_Datum_Game::ReadDateAnswer("071"), 7, 3, 2024);
  ExpectDate(DG_Datum_Game::ReadDateAnswer("0712"), 7, 12, 2024);
  ExpectDate(DG_Datum_Game::ReadDateAnswer("0712199"), 7, 12, 2024);
  ExpectDate(DG_Datum_Game::ReadDateAnswer("07121999"), 7, 12, 1999);

  DG_Datum_Game game(0);
  game.DisableRecording();
  SetTask(game, false, MakeDate(7, 12, 2024));
  EXPECT_EQ(game.ExpectedAnswer(), "07122024");
  EXPECT_TRUE(game.IsRight("07122024"));
  EXPECT_TRUE(game.IsRight("0712"));  // four digits: this year
  EXPECT_FALSE(game.IsRight("07"));   // the month would be March
  EXPECT_FALSE(game.IsRight("07122023"));
  SetTask(game, false, MakeDate(15, 3, 2024));
  EXPECT_TRUE(game.IsRight("1"));  // one digit: all of today
}

TEST_F(DatumGameTest, WeekdayAnswersInAnyCaseInBothLanguages) {
  DG_Datum_Game game(0);
  game.DisableRecording();
  SetTask(game, true, MakeDate(10, 3, 2024));  // a Sunday
  for (const char* right : {"Sonntag", "sonntag", "SONNTAG", "sOnNtAg", " Sonn tag "})
    EXPECT_TRUE(game.IsRight(right)) << right;
  for (const char* wrong : {"Montag", "Sonnta", "Sonntags", "Sunday", ""})
    EXPECT_FALSE(game.IsRight(wrong)) << wrong;
  testapp::UseLanguage(1);
  EXPECT_TRUE(game.IsRight("sunDAY"));
  EXPECT_FALSE(game.IsRight("Sonntag"));
}

TEST_F(DatumGameTest, KeysBuildTheAnswerWithinItsLimits) {
  DG_Datum_Game game(0);
  game.DisableRecording();
  SetTask(game, false, MakeDate(7, 12, 2024));
  game.OnKeyDown('1');
  EXPECT_EQ(game.answerBox.Length(), 0);  // before the start
  GameDriver driver(game);
  // Backspace on an empty answer stays at an empty answer, however often.
  for (int i = 0; i < 5; ++i) driver.Key(VK_BACK);
  EXPECT_EQ(game.answerBox.Length(), 0);
  driver.Type("12");
  driver.Key('A');  // letters do not belong in a date
  driver.Key(VK_SPACE);
  EXPECT_STREQ(game.answerBox.Answer(), "12");
  driver.Type("3456789");
  EXPECT_STREQ(game.answerBox.Answer(), "12345678");  // eight digits at most
  driver.Key(VK_BACK);
  EXPECT_STREQ(game.answerBox.Answer(), "1234567");
  for (int i = 0; i < 9; ++i) driver.Key(VK_BACK);
  EXPECT_EQ(game.answerBox.Length(), 0);
  driver.Key(VK_RETURN);  // nothing typed: nothing judged
  EXPECT_EQ(game.answerBox.rightCount + game.answerBox.wrongCount, 0);

  SetTask(game, true, MakeDate(10, 3, 2024));
  driver.Type("So");
  driver.Key('5');  // digits do not belong in a weekday
  EXPECT_STREQ(game.answerBox.Answer(), "So");
  driver.Type("nntagSonnTAGXYZ");
  EXPECT_EQ(game.answerBox.Length(), DG_Datum_Game::MAX_WEEKDAY_LETTERS);
  EXPECT_STREQ(game.answerBox.Answer(), "SonntagSonnTAGX");
  driver.Key(VK_RETURN);
  EXPECT_EQ(game.answerBox.wrongCount, 1);
}

// One second of feedback after a right answer, two after a wrong one; the
// feedback of the last task ends the play, and nothing is judged after it.
TEST_F(DatumGameTest, FeedbackTimesAndTheEnd) {
  DG_Datum_Game game(0);
  game.DisableRecording();
  GameDriver driver(game);
  ASSERT_TRUE(AnswerDatumTask(driver, true));
  EXPECT_TRUE(game.answerBox.lastAnswerRight);
  EXPECT_DOUBLE_EQ(game.answerBox.feedbackSeconds, 1.0);
  Frame(game, 1.01);
  EXPECT_TRUE(game.TakesInput());
  ASSERT_TRUE(AnswerDatumTask(driver, false));
  EXPECT_FALSE(game.answerBox.lastAnswerRight);
  EXPECT_DOUBLE_EQ(game.answerBox.feedbackSeconds, 2.0);
  Frame(game, 1.9);
  EXPECT_FALSE(game.TakesInput());
  Frame(game, 0.11);
  EXPECT_TRUE(game.TakesInput());

  AutoplayWin_DG_Datum_Game(driver);
  EXPECT_EQ(game.GetState(), GAME_STATE_ENDED);
  EXPECT_EQ(game.answerBox.Answered(), game.taskCount);
  driver.Key(VK_BACK);
  driver.Type("1");
  driver.Key(VK_RETURN);
  driver.Wait(3.0);
  EXPECT_EQ(game.answerBox.Answered(), game.taskCount);
  EXPECT_EQ(game.answerBox.wrongCount, 1);
  EXPECT_EQ(game.GetState(), GAME_STATE_ENDED);
}

TEST_F(DatumGameTest, GradesAndPageTexts) {
  DG_Datum_Game game(1);  // 15 tasks
  game.DisableRecording();
  game.ComputeGrade();
  EXPECT_DOUBLE_EQ(game.GetGrade(), 6.0);  // nothing answered
  game.answerBox.rightCount = 12;
  game.answerBox.wrongCount = 3;
  game.playTime = 120.0;
  game.SetState(GAME_STATE_ENDED);
  game.ComputeGrade();
  EXPECT_DOUBLE_EQ(game.GetGrade(), 1.0 + 5.0 * 3 / 15 + 120.0 / 240);
  game.SetState(GAME_STATE_QUIT);
  game.ComputeGrade();
  EXPECT_DOUBLE_EQ(game.GetGrade(), 1.0 + 10.0 * 3 / 15 + 120.0 / 240);
  const std::string result = game.GetResultText();
  EXPECT_EQ(result.rfind(FormatText(GetLangText(22), {2, 0}) + "\n", 0), 0u);
  EXPECT_NE(result.find(FormatText(GetLangText(32), {80})), std::string::npos);
  EXPECT_STREQ(game.GetResultTitle(), GetLangText(170));
  EXPECT_STREQ(game.GetDescriptionText(), GetLangText(171));
  EXPECT_NE(game.GetStatisticsText(), nullptr);
}

// Whole plays through the game's keys: every answer right at every
// difficulty, then one with a wrong answer to every task; the save file
// holds both.
TEST_F(DatumGameTest, PlaysToTheEndAtEveryDifficultyAndRecordsThem) {
  int plays = 0;
  double gradeSum = 0;
  for (int difficulty = 0; difficulty < 3; ++difficulty) {
    for (bool allRight : {true, false}) {
      {
        DG_Datum_Game game(difficulty);
        GameDriver driver(game);
        driver.Wait(12.0);  // reading the first task
        if (allRight) {
          AutoplayWin_DG_Datum_Game(driver);
        } else {
          AnswerEveryTask<DG_Datum_Game>(driver, WrongDatumAnswer);
        }
        ASSERT_EQ(game.GetState(), GAME_STATE_ENDED);
        EXPECT_EQ(game.answerBox.rightCount, allRight ? game.taskCount : 0);
        EXPECT_EQ(game.answerBox.wrongCount, allRight ? 0 : game.taskCount);
        game.ComputeGrade();
        const double expected =
            allRight ? 1.0 + game.playTime / 240.0 : std::min(6.0, 6.0 + game.playTime / 240.0);
        EXPECT_NEAR(game.GetGrade(), expected, 1e-12);
        EXPECT_NEAR(game.playTime, 12.0, 1e-9);
        if (allRight) {
          EXPECT_LT(game.GetGrade(), 1.5);
        }
        gradeSum += game.GetGrade();
        ++plays;
      }
      GameRecord saved;
      ASSERT_TRUE(saved.LoadFile("datum.sav"));
      EXPECT_EQ(saved.playCount, plays);
      EXPECT_NEAR(saved.gradeSum, gradeSum, 1e-4 * plays);
    }
  }
  GameRecord saved;
  ASSERT_TRUE(saved.LoadFile("datum.sav"));
  EXPECT_EQ(saved.veryGoodCount, 3);
  EXPECT_EQ(saved.worstGrade, 6.0);
  EXPECT_EQ(app->statistics->playCount, 6);
}

TEST_F(DatumGameTest, NoHelpPageDuringAWeekdayQuestion) {
  DG_Datum_Game game(0);
  game.DisableRecording();
  game.weekdayQuestion = false;
  EXPECT_TRUE(game.AllowsHelp());
  game.weekdayQuestion = true;
  EXPECT_FALSE(game.AllowsHelp());
}

// Through the main menu, with today fixed.
class DatumMenuTest : public TypedGameMenuTest {
 protected:
  void SetUp() override {
    TypedGameMenuTest::SetUp();
    ClockFixDate(2024, 3, 15);
  }
  void TearDown() override {
    ClockClearFixedDate();
    TypedGameMenuTest::TearDown();
  }
};

TEST_F(DatumMenuTest, PlayedFromTheMenuAtEveryDifficultyInBothLanguages) {
  PlayEveryDifficultyInBothLanguages<DG_Datum_Game>(2, "datum", "datum.sav", RightDatumAnswer,
                                                    WrongDatumAnswer, AutoplayWin_DG_Datum_Game,
                                                    DG_Datum_Game::SECONDS_PER_POINT);
}

// 'H' opens the instructions during a date question and is a letter of the
// answer during a weekday question. The help page and a weekday question
// with both feedbacks are drawn in both languages; the top-10 entry carries
// the fixed date.
TEST_F(DatumMenuTest, HelpOnDateQuestionsAndHAsALetterOfAWeekday) {
  for (int language = 0; language < 2; ++language) {
    testapp::UseLanguage(language);
    const std::string prefix = std::string("datum_") + (language ? "en" : "de") + "_weekday_";
    ASSERT_TRUE(StartListedGame(2, 2));
    driver->SkipCountdown();
    auto* game = dynamic_cast<DG_Datum_Game*>(menu->activeGame);
    ASSERT_TRUE(game && game->started);
    // Tasks of the kind wanted are made to come now.
    const auto nextTaskAsks = [&](bool weekday) {
      ASSERT_TRUE(driver->WaitUntil([&] { return game->TakesInput(); }, 3.0));
      while (game->weekdayQuestion != weekday) game->BuildTask();
      game->answerBox.Clear();
    };
    nextTaskAsks(false);
    driver->Key('H');
    ASSERT_EQ(menu->currentPage, 50);
    Shoot(prefix + "help.png");
    driver->Key('H');
    ASSERT_EQ(menu->currentPage, 0);
    EXPECT_EQ(game->answerBox.Length(), 0);

    nextTaskAsks(true);
    Shoot(prefix + "task.png");
    driver->Key('H');
    EXPECT_EQ(menu->currentPage, 0);
    EXPECT_STREQ(game->answerBox.Answer(), "h");
    driver->Key(VK_BACK);
    driver->Type(RightDatumAnswer(*game).substr(0, 4));
    Shoot(prefix + "typed.png");
    while (game->answerBox.Length() > 0) driver->Key(VK_BACK);
    ASSERT_TRUE(AnswerDatumTask(*driver, true));
    EXPECT_EQ(game->answerBox.rightCount, 1);
    Shoot(prefix + "right.png");
    nextTaskAsks(true);
    ASSERT_TRUE(AnswerDatumTask(*driver, false));
    ASSERT_TRUE(driver->WaitUntil([&] { return game->answerBox.CorrectAnswerVisible(); }, 1.0));
    Shoot(prefix + "wrong.png");

    AutoplayWin_DG_Datum_Game(*driver);
    ASSERT_EQ(game->GetState(), GAME_STATE_ENDED);
    ASSERT_TRUE(driver->LeaveResultPage("Eva"));
  }
  GameRecord saved;
  ASSERT_TRUE(saved.LoadFile("datum.sav"));
  EXPECT_EQ(saved.playCount, 2);
  ASSERT_EQ(saved.Entries().Count(), 2);
  const HighscoreEntry* entry = saved.Entries().Get(0);
  EXPECT_STREQ(entry->name, "Eva");
  EXPECT_EQ(entry->day, 15);
  EXPECT_EQ(entry->month, 3);
  EXPECT_EQ(entry->year, 2024);
}

// The program itself, headless: with the same --seed and --date a medium
// play starts on the same random task, so its screen is the same picture;
// another date gives another task.
TEST(DatumHeadless, SeedAndDateRepeatARunExactly) {
  namespace fs = std::filesystem;
  const std::string run = DENKAR_RUN_DIR;
  if (!fs::exists(DENKAR_BINARY) || !fs::exists(run + "/sport.gob"))
    GTEST_SKIP() << "the program or its data files are not built";
  const std::string dir = testdata::EnterFreshDirectory("denkar_datum_headless");
  ASSERT_FALSE(dir.empty());
  for (const char* name : {"sport.gob", "deutsch.lng", "english.lng"})
    fs::copy_file(run + "/" + name, dir + "/" + name);
  {
    // Play, medium, single games, the third game of the list (the date
    // game), the countdown, two digits typed.
    std::ofstream script(dir + "/script.txt");
    script << "wait 5\nclick 512 259\nwait 5\nclick 512 384\nwait 5\nclick 512 409\nwait 5\n"
              "click 512 314\nwait 200\ntype 12\nwait 2\n";
  }
  const auto shot = [&](const char* date, const char* name) {
    const std::string command = "cd '" + dir + "' && rm -f *.sav denkar.cfg && '" + DENKAR_BINARY +
                                "' --headless --seed 99 --date " + date +
                                " --input script.txt --frames 240 --screenshot " + name +
                                " > output.txt 2>&1";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
    std::ifstream in(dir + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  const std::string first = shot("2024-03-15", "a.png");
  const std::string second = shot("2024-03-15", "b.png");
  const std::string otherDate = shot("2031-10-02", "c.png");
  ASSERT_FALSE(first.empty());
  EXPECT_TRUE(first == second);
  EXPECT_FALSE(first == otherDate);
  std::error_code ec;
  if (!::testing::Test::HasFailure()) fs::remove_all(dir, ec);
}

}  // namespace
