// The brain-game base: construction, the host operations, what the end of a
// game object records and writes, and the standard statistics text.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <new>
#include <string>

#include "data/language.h"
#include "framework/denkar_game.h"
#include "framework/stats_record.h"
#include "framework/time_bar.h"
#include "gfx/font.h"
#include "util/app_context.h"
#include "support/test_data_builders.h"

namespace {

class TestGame : public Denkar_Game {
 public:
  TestGame(int difficulty, const char* file) : Denkar_Game(difficulty, file) {}
  const char* GetStatisticsText() override { return BuildStatisticsText(); }
  void ComputeGrade() override { grade = nextGrade; }
  double nextGrade = 6.0;
};

using testdata::ReadText;
using testdata::WriteText;

// A fresh folder per test and reset global statistics.
AppContext& FreshApp() {
  EXPECT_FALSE(testdata::EnterFreshDirectory("denkar_game_").empty());
  AppContext& app = GetAppContext();
  if (!app.statistics) app.statistics = new StatsRecord();
  app.statistics->Reset();
  return app;
}

const char kStatisticsTexts[] =
    "ANZ_TEXTE: 64\r\n"
    "<TEXT_START> 43 Time: %d h %d min %d s|\r\n"
    "<TEXT_START> 44 Very good: %d|\r\n"
    "<TEXT_START> 45 Best: %.1f|\r\n"
    "<TEXT_START> 46 Worst: %.1f|\r\n"
    "<TEXT_START> 47 Average: %.1f|\r\n"
    "<TEXT_START> 48 Plays: %d|\r\n"
    "<TEXT_START> 49 %d. %s %02d.%02d.%d %.2f|\r\n"
    "<TEXT_START> 63 Time: %d:%02d|\r\n";

TEST(DenkarGameTest, ConstructorLoadsTheSaveFile) {
  FreshApp();
  WriteText("test.sav", "LEVEL_ZEIT:\t10\r\nANZ_SPIELE:\t2\r\nERGS:\t5\r\n"
                        "EINTRAG_START\tNAME:\tAl\tDATUM:\t1\t1\t2001\tERG:\t2.5\tEINTRAG_ENDE\r\n");
  TestGame game(0, "test.sav");
  EXPECT_EQ(game.record.playTime, 10.0);
  EXPECT_EQ(game.record.playCount, 2);
  ASSERT_EQ(game.record.Entries().Count(), 1);
  game.DisableRecording();
  // A name far beyond the buffer is cut instead of overflowing it.
  const std::string longName(3000, 'f');
  TestGame other(0, longName.c_str());
  EXPECT_EQ(std::strlen(other.saveFileName), static_cast<size_t>(SAVE_FILE_NAME_SIZE - 1));
  other.DisableRecording();
}

TEST(DenkarGameTest, DestroyingRecordsTheGradeAndWritesTheFile) {
  AppContext& app = FreshApp();
  delete new TestGame(1, "test.sav");  // never graded: counts as 6.0
  EXPECT_EQ(app.statistics->playCount, 1);
  EXPECT_EQ(app.statistics->gradeSum, 6.0);
  EXPECT_EQ(app.statistics->veryGoodCount, 0);
  EXPECT_EQ(ReadText("test.sav"),
            "LEVEL_ZEIT:\t0\r\nGEL\xD6ST:\t0\r\nBEST_ERG:\t6\r\nSCHL_ERG:\t6\r\nANZ_SPIELE:\t1\r\n"
            "ERGS:\t6\r\nIVAR1:\t0\r\nIVAR2:\t0\r\nIVAR3:\t0\r\nDVAR1:\t0\r\nDVAR2:\t0\r\nDVAR3:\t0\r\n");

  TestGame* game = new TestGame(1, "test.sav");
  EXPECT_EQ(game->record.playCount, 1);  // read back
  game->nextGrade = 1.5;
  game->ComputeGrade();
  game->record.playTime += 12.5;
  delete game;
  game = new TestGame(1, "test.sav");
  game->nextGrade = 1.51;
  game->ComputeGrade();
  delete game;

  GameRecord saved;
  ASSERT_TRUE(saved.LoadFile("test.sav"));
  EXPECT_EQ(saved.playCount, 3);
  EXPECT_EQ(saved.veryGoodCount, 1);  // 1.5 counts, 1.51 does not
  EXPECT_EQ(saved.bestGrade, 1.5);
  EXPECT_EQ(saved.worstGrade, 6.0);
  EXPECT_DOUBLE_EQ(saved.gradeSum, 6.0 + 1.5 + 1.51);
  EXPECT_EQ(saved.playTime, 12.5);
  EXPECT_EQ(app.statistics->playCount, 3);
  EXPECT_EQ(app.statistics->veryGoodCount, 1);
  EXPECT_EQ(app.statistics->bestGrade, 1.5);
}

TEST(DenkarGameTest, DisabledRecordingStillRewritesTheFile) {
  AppContext& app = FreshApp();
  WriteText("test.sav", "ANZ_SPIELE: 5 GEL\xD6ST: 2 ERGS: 10");
  TestGame* game = new TestGame(0, "test.sav");
  game->nextGrade = 1.0;
  game->ComputeGrade();
  game->DisableRecording();
  delete game;
  GameRecord saved;
  saved.LoadFile("test.sav");
  EXPECT_EQ(saved.playCount, 5);
  EXPECT_EQ(saved.veryGoodCount, 2);
  EXPECT_EQ(saved.gradeSum, 10.0);
  EXPECT_EQ(ReadText("test.sav").substr(0, 15), "LEVEL_ZEIT:\t0\r\n");  // written anew
  EXPECT_EQ(app.statistics->playCount, 0);
  // Reset the statistics of one game: build, reset, disable, delete.
  game = new TestGame(0, "test.sav");
  game->ResetRecord();
  game->DisableRecording();
  delete game;
  EXPECT_EQ(ReadText("test.sav"), GameRecord().SaveText());
  // A grade that is not a number counts as 6.0 instead of spoiling the sums.
  game = new TestGame(0, "test.sav");
  game->nextGrade = std::nan("");
  game->ComputeGrade();
  delete game;
  saved.Reset();
  saved.LoadFile("test.sav");
  EXPECT_EQ(saved.gradeSum, 6.0);
  EXPECT_EQ(app.statistics->gradeSum, 6.0);
}

TEST(DenkarGameTest, HighscoreOperations) {
  FreshApp();
  TestGame game(0, "test.sav");
  game.DisableRecording();
  EXPECT_FALSE(game.IsHighscore());  // 6.0 never enters
  game.nextGrade = 2.0;
  game.ComputeGrade();
  EXPECT_TRUE(game.IsHighscore());
  HighscoreEntry* entry = game.CreateHighscoreEntry();
  EXPECT_EQ(entry->grade, 2.0);
  EXPECT_EQ(entry->name[0], 0);
  EXPECT_EQ(entry->typedLength, 0);
  EXPECT_GE(entry->year, 2024);
  entry->SetName("Neo");
  game.AddHighscore(entry);
  ASSERT_EQ(game.record.Entries().Count(), 1);
  EXPECT_EQ(game.record.Entries().Get(0), entry);
  game.ResetRecord();
  EXPECT_EQ(game.record.Entries().Count(), 0);
}

TEST(DenkarGameTest, StatisticsTextAlwaysListsTenLines) {
  AppContext& app = FreshApp();
  ParseLanguageText(app, kStatisticsTexts);
  TestGame game(0, "test.sav");
  game.DisableRecording();
  const char* names[] = {"Ann", "Bo Li", "Cy"};
  for (int i = 0; i < 3; ++i)
    game.AddHighscore(testdata::NamedEntry<HighscoreEntry>(names[i], 1.25 + i, 5, 6, 2024));
  game.record.playTime = 61 * 3600 + 61;  // 61 h 1 min 1 s
  game.record.veryGoodCount = 1;
  game.record.AddResult(1.25);
  game.record.AddResult(3.25);
  EXPECT_STREQ(game.GetStatisticsText(),
               " 1. Ann 05.06.2024 1.25\n"
               " 2. Bo Li 05.06.2024 2.25\n"
               " 3. Cy 05.06.2024 3.25\n"
               "\n\n\n\n\n\n\n"
               " Time: 61 h 1 min 1 s\n"
               " Very good: 1\n"
               " Best: 1.2\n"  // %.1f of 1.25 rounds to even, as sprintf does
               " Worst: 3.2\n"
               " Average: 2.2\n"
               " Plays: 2");
}

TEST(DenkarGameTest, StatisticsTextWithoutPlaysAndWithHugeTimes) {
  AppContext& app = FreshApp();
  ParseLanguageText(app, kStatisticsTexts);
  TestGame game(0, "test.sav");
  game.DisableRecording();
  EXPECT_STREQ(game.GetStatisticsText(),
               "\n\n\n\n\n\n\n\n\n\n Time: 0 h 0 min 0 s\n Very good: 0\n Average: 0.0\n Plays: 0");
  game.record.playTime = 1e12;  // clamped, never negative hours
  EXPECT_NE(std::string(game.GetStatisticsText()).find(" Time: 596523 h 14 min 7 s"), std::string::npos);
  game.record.playTime = -5;
  EXPECT_NE(std::string(game.GetStatisticsText()).find(" Time: 0 h 0 min 0 s"), std::string::npos);
  // Missing texts format as empty lines; nothing crashes.
  ParseLanguageText(app, "");
  EXPECT_STREQ(game.GetStatisticsText(), "\n\n\n\n\n\n\n\n\n\n\n\n\n");
  // Hostile formats and huge names stay bounded.
  ParseLanguageText(app, "ANZ_TEXTE: 50 <TEXT_START> 49 %d %s%n%*d %s|");
  HighscoreEntry* e = new HighscoreEntry();
  e->SetName(std::string(999, 'n').c_str());
  game.AddHighscore(e);
  const std::string text = game.GetStatisticsText();
  EXPECT_NE(text.find(std::string(999, 'n')), std::string::npos);
  EXPECT_NE(text.find("%n%*d"), std::string::npos);
  EXPECT_LE(text.size(), 32u * 1024u);
}

TEST(DenkarGameTest, StatisticsTextFollowsTheTickingTimeInPlace) {
  AppContext& app = FreshApp();
  ParseLanguageText(app, kStatisticsTexts);
  TestGame game(0, "test.sav");
  game.DisableRecording();
  game.AddHighscore(testdata::NamedEntry<HighscoreEntry>("Ann", 1.25, 5, 6, 2024));
  game.record.playTime = 59;
  std::string text = game.GetStatisticsText();
  EXPECT_NE(text.find(" Time: 0 h 0 min 59 s"), std::string::npos);
  game.record.playTime = 60.5;
  const char* kept = game.GetStatisticsText();
  // Every further second is written into the same buffer.
  for (int second = 61; second < 70; ++second) {
    game.record.playTime = second;
    const char* now = game.GetStatisticsText();
    EXPECT_EQ(now, kept);
    EXPECT_NE(std::string(now).find(" Time: 0 h 1 min " + std::to_string(second - 60) + " s"),
              std::string::npos);
    EXPECT_EQ(std::string(now).rfind(" 1. Ann 05.06.2024 1.25\n", 0), 0u);
  }
  // A new place and a new second at once both show.
  game.AddHighscore(testdata::NamedEntry<HighscoreEntry>("Bo", 1.0, 5, 6, 2024));
  game.record.playTime = 3600;
  text = game.GetStatisticsText();
  EXPECT_EQ(text.rfind(" 1. Bo 05.06.2024 1.00\n 2. Ann", 0), 0u);
  EXPECT_NE(text.find(" Time: 1 h 0 min 0 s"), std::string::npos);
  // Places that fill the whole bound leave no room for the totals, whatever
  // the time.
  ParseLanguageText(app, "ANZ_TEXTE: 50 <TEXT_START> 49 %9000d%s|"
                         "<TEXT_START> 43 %d h %d min %d s|");
  for (int i = 0; i < 3; ++i) game.AddHighscore(testdata::NamedEntry<HighscoreEntry>("Cy", 2.0, 1, 1, 2024));
  text = game.GetStatisticsText();
  EXPECT_EQ(text.size(), 32u * 1024u);
  game.record.playTime = 7200;
  EXPECT_EQ(std::string(game.GetStatisticsText()), text);
}

TEST(DenkarGameTest, DescriptionRectangleAndTimeSeconds) {
  ElementDrawInfo info;
  info.x = 112.7f;
  info.y = 84.2f;
  info.srcLeft = 0;
  info.srcTop = 0;
  info.srcRight = 800;
  info.srcBottom = 600;
  const RECT r = Denkar_Game::DescriptionRect(info);
  EXPECT_EQ(r.left, 162);
  EXPECT_EQ(r.top, 134);
  EXPECT_EQ(r.right, 862);
  EXPECT_EQ(r.bottom, 614);
  EXPECT_EQ(WholeSecondsOf(59.99), 59);
  EXPECT_EQ(WholeSecondsOf(-1.0), 0);
  EXPECT_EQ(WholeSecondsOf(std::nan("")), 0);
  EXPECT_EQ(WholeSecondsOf(1e300), INT_MAX);
}

}  // namespace
