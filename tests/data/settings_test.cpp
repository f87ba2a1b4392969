// "denkar.cfg" and "stats.sav": read into the application record at start,
// written back whole at exit.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

#include "data/settings_file.h"
#include "framework/app_files.h"
#include "framework/stats_record.h"
#include "util/app_context.h"
#include "support/test_data_builders.h"

namespace {

using testdata::ReadText;
using testdata::WriteText;

// Every test works in a fresh folder (entered before the application record
// is first made, so its own files at exit land there too) and starts from the
// default settings.
AppContext& FreshApp() {
  EXPECT_FALSE(testdata::EnterFreshDirectory("denkar_settings_").empty());
  AppContext& app = GetAppContext();
  app.fullscreen = true;
  app.language = 0;
  app.soundVolume = 100;
  app.musicVolume = 100;
  app.playIntro = true;
  return app;
}

TEST(SettingsFileTest, OnlySoundKeyLeavesTheOtherDefaults) {
  AppContext& app = FreshApp();
  WriteText("denkar.cfg", "SOUND: 40");
  LoadSettings(app);
  EXPECT_EQ(app.soundVolume, 40);
  EXPECT_TRUE(app.fullscreen);
  EXPECT_EQ(app.language, 0);
  EXPECT_EQ(app.musicVolume, 100);
  EXPECT_TRUE(app.playIntro);
  app.soundVolume = 100;  // what sound start-up does
  ASSERT_TRUE(SaveSettings(app));
  EXPECT_EQ(ReadText("denkar.cfg"),
            "FULLSCREEN:\t1\r\nSPRACHE:\t0\r\nSOUND:\t100\r\nMUSIK:\t100\r\nINTRO:\t1\r\n");
}

TEST(SettingsFileTest, FlagsAreWrittenBackAsOneOrZero) {
  AppContext& app = FreshApp();
  WriteText("denkar.cfg", "FULLSCREEN:\t2\r\nINTRO:\t0\r\nSPRACHE:\t1\r\nMUSIK:\t-5\r\n");
  LoadSettings(app);
  EXPECT_TRUE(app.fullscreen);
  EXPECT_FALSE(app.playIntro);
  EXPECT_EQ(app.language, 1);
  EXPECT_EQ(app.musicVolume, -5);  // taken as is
  ASSERT_TRUE(SaveSettings(app));
  EXPECT_EQ(ReadText("denkar.cfg"),
            "FULLSCREEN:\t1\r\nSPRACHE:\t1\r\nSOUND:\t100\r\nMUSIK:\t-5\r\nINTRO:\t0\r\n");
}

TEST(SettingsFileTest, ReaderRulesAndDamagedValues) {
  AppContext& app = FreshApp();
  // Last key wins, any order, other words skipped, keys are case-sensitive
  // and need their colon, a non-number is 0, leading digits count, huge
  // values are clamped, a key at the very end has no value.
  WriteText("denkar.cfg", "x SOUND: 10 sound: 20 SOUND 30 MUSIK: 7abc SOUND: 15\n" +
                              std::string(100000, 'w') + " SPRACHE: zwei INTRO: 99999999999999 "
                              "FULLSCREEN: -99999999999999 SOUND:");
  LoadSettings(app);
  EXPECT_EQ(app.soundVolume, 15);
  EXPECT_EQ(app.musicVolume, 7);
  EXPECT_EQ(app.language, 0);
  EXPECT_TRUE(app.playIntro);
  EXPECT_TRUE(app.fullscreen);
  WriteText("denkar.cfg", "MUSIK: 99999999999999 SOUND: -99999999999999 SPRACHE: 2");
  LoadSettings(app);
  EXPECT_EQ(app.musicVolume, INT_MAX);
  EXPECT_EQ(app.soundVolume, INT_MIN);
  // Only 0 and 1 are languages: anything else reads as German and is
  // written back as 0.
  EXPECT_EQ(app.language, 0);
  for (const char* value : {"7", "-1", "1x"}) {
    app.language = 1;
    WriteText("denkar.cfg", std::string("SPRACHE: ") + value);
    LoadSettings(app);
    EXPECT_EQ(app.language, std::string(value) == "1x" ? 1 : 0) << value;
  }
  WriteText("denkar.cfg", "SPRACHE: 7");
  LoadSettings(app);
  ASSERT_TRUE(SaveSettings(app));
  EXPECT_NE(ReadText("denkar.cfg").find("SPRACHE:\t0\r\n"), std::string::npos);
}

TEST(SettingsFileTest, MissingFileKeepsDefaultsAndSavingReplacesTheFile) {
  AppContext& app = FreshApp();
  app.musicVolume = 55;
  LoadSettings(app);  // no file here
  EXPECT_EQ(app.musicVolume, 55);
  WriteText("denkar.cfg", "garbage that is replaced");
  ASSERT_TRUE(SaveSettings(app));
  EXPECT_EQ(ReadText("denkar.cfg").substr(0, 14), "FULLSCREEN:\t1\r");
}

TEST(SettingsFileTest, StatisticsAreReadAndWrittenWhole) {
  AppContext& app = FreshApp();
  WriteText("stats.sav", "GAME_ZEIT:\t12.5\r\nANZ_SPIELE:\t3\r\nERGS:\t7.5\r\n"
                         "EINTRAG_START\tNAME:\tA_B\tDATUM:\t1\t2\t2003\tERG:\t2\tBEST:\t1\t"
                         "SCHLECHT:\t3\tSCHW:\t1\tEINTRAG_ENDE\r\n");
  LoadStatistics(app);
  ASSERT_NE(app.statistics, nullptr);
  EXPECT_EQ(app.statistics->totalTime, 12.5);
  EXPECT_EQ(app.statistics->playCount, 3);
  ASSERT_EQ(app.statistics->Entries().Count(), 1);
  EXPECT_STREQ(app.statistics->Entries().Get(0)->name, "A B");
  app.statistics->AddResult(1.5);
  ASSERT_TRUE(SaveStatistics(app));
  EXPECT_EQ(ReadText("stats.sav"), app.statistics->SaveText());
  EXPECT_NE(ReadText("stats.sav").find("ANZ_SPIELE:\t4\r\n"), std::string::npos);
  // Without a file the record starts reset.
  std::remove("stats.sav");
  LoadStatistics(app);
  ASSERT_NE(app.statistics, nullptr);
  EXPECT_EQ(app.statistics->playCount, 0);
  EXPECT_EQ(app.statistics->Entries().Count(), 0);
}

}  // namespace
