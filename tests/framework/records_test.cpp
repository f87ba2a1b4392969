// Result records and their save files: totals, the top-10 rules, the exact
// bytes written, and a reader that survives damaged and random files.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <locale>
#include <random>
#include <sstream>
#include <string>

#include "framework/game_record.h"
#include "framework/stats_record.h"
#include "support/test_data_builders.h"
#include "util/safe_file.h"

namespace {

HighscoreEntry* Entry(const char* name, double grade, int day = 1, int month = 2, int year = 2024) {
  return testdata::NamedEntry<HighscoreEntry>(name, grade, day, month, year);
}

// The totals both kinds of record share.
void SetTotals(record_io::Totals& t, int veryGood, double best, double worst, int plays, double sum) {
  t.veryGoodCount = veryGood;
  t.bestGrade = best;
  t.worstGrade = worst;
  t.playCount = plays;
  t.gradeSum = sum;
}

int CountOf(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

TEST(GameRecordTest, ResetValuesAndFirstResult) {
  GameRecord r;
  r.AddResult(3.0);
  EXPECT_EQ(r.bestGrade, 3.0);
  EXPECT_EQ(r.worstGrade, 3.0);
  EXPECT_EQ(r.playCount, 1);
  EXPECT_EQ(r.gradeSum, 3.0);
  EXPECT_EQ(r.veryGoodCount, 0);  // raised by the game, not here
  r.Entries().Insert(Entry("x", 2.0));
  r.Reset();
  EXPECT_EQ(r.playCount, 0);
  EXPECT_EQ(r.Entries().Count(), 0);
}

TEST(GameRecordTest, QualifiesAndInsertFollowTheTopTenRules) {
  GameRecord r;
  EXPECT_FALSE(r.Qualifies(6.0));
  EXPECT_TRUE(r.Qualifies(5.9));
  EXPECT_FALSE(r.Qualifies(NAN));
  for (int i = 0; i < 10; ++i) r.InsertEntry(Entry("p", 1.0 + 0.5 * i));  // 1.0 ... 5.5
  EXPECT_FALSE(r.Qualifies(5.5));
  EXPECT_FALSE(r.Qualifies(5.9));
  EXPECT_TRUE(r.Qualifies(5.4));
  r.InsertEntry(Entry("new", 5.4));
  ASSERT_EQ(r.Entries().Count(), 11);
  EXPECT_STREQ(r.Entries().Get(9)->name, "new");
  EXPECT_EQ(r.Entries().Get(10)->grade, 5.5);
  const std::string saved = r.SaveText();
  EXPECT_EQ(CountOf(saved, "EINTRAG_START"), 10);
  EXPECT_EQ(saved.find("ERG:\t5.5\t"), std::string::npos);  // the 11th is not written
}

TEST(GameRecordTest, EqualGradesKeepTheirOrderOfArrival) {
  GameRecord r;
  r.InsertEntry(Entry("first", 2.0));
  r.InsertEntry(Entry("better", 1.0));
  r.InsertEntry(Entry("second", 2.0));
  r.InsertEntry(Entry("third", 2.0));
  r.InsertEntry(Entry("worse", 3.0));
  const char* expected[] = {"better", "first", "second", "third", "worse"};
  for (int i = 0; i < 5; ++i) EXPECT_STREQ(r.Entries().Get(i)->name, expected[i]);
}

TEST(GameRecordTest, SavesExactlyTheseBytes) {
  GameRecord r;
  r.playTime = 1234567.0;
  SetTotals(r, 2, 1.25, 3.3333333, 3, 6.0);
  r.InsertEntry(Entry("Anna Lena", 1.25, 3, 4, 2024));
  r.InsertEntry(Entry("Bo", 2.5, 31, 12, 1999));
  const std::string expected =
      "LEVEL_ZEIT:\t1.23457e+06\r\n"
      "GEL\xD6ST:\t2\r\n"
      "BEST_ERG:\t1.25\r\n"
      "SCHL_ERG:\t3.33333\r\n"
      "ANZ_SPIELE:\t3\r\n"
      "ERGS:\t6\r\n"
      "IVAR1:\t0\r\n"
      "IVAR2:\t0\r\n"
      "IVAR3:\t0\r\n"
      "DVAR1:\t0\r\n"
      "DVAR2:\t0\r\n"
      "DVAR3:\t0\r\n"
      "EINTRAG_START\tNAME:\tAnna_Lena\tDATUM:\t3\t4\t2024\tERG:\t1.25\tEINTRAG_ENDE\r\n"
      "EINTRAG_START\tNAME:\tBo\tDATUM:\t31\t12\t1999\tERG:\t2.5\tEINTRAG_ENDE\r\n";
  EXPECT_EQ(r.SaveText(), expected);
  std::ostringstream out;
  r.Save(out);
  EXPECT_EQ(out.str(), expected);
}

TEST(StatsRecordTest, SavesExactlyTheseBytes) {
  StatsRecord r;
  r.totalTime = 98.5;
  SetTotals(r, 1, 1.5, 6.0, 2, 7.5);
  SeriesEntry* e = testdata::NamedEntry<SeriesEntry>("Max Mu", 2.75, 9, 10, 2025);
  e->bestGrade = 1.1;
  e->worstGrade = 4.0;
  e->difficulty = 2;
  r.InsertEntry(e);
  EXPECT_EQ(r.SaveText(),
            "GAME_ZEIT:\t98.5\r\n"
            "GEL\xD6ST:\t1\r\n"
            "BEST_ERG:\t1.5\r\n"
            "SCHL_ERG:\t6\r\n"
            "ANZ_SPIELE:\t2\r\n"
            "ERGS:\t7.5\r\n"
            "EINTRAG_START\tNAME:\tMax_Mu\tDATUM:\t9\t10\t2025\tERG:\t2.75\tBEST:\t1.1\t"
            "SCHLECHT:\t4\tSCHW:\t2\tEINTRAG_ENDE\r\n");
}

TEST(StatsRecordTest, EachRecordReadsOnlyItsOwnKeys) {
  const std::string text =
      "LEVEL_ZEIT: 11 GAME_ZEIT: 22 IVAR1: 3 DVAR3: 4.5 ANZ_SPIELE: 6 "
      "EINTRAG_START SCHW: 2 ERG: 3 SCHLECHT: 4 NAME: Al_Bo BEST: 1.5 EINTRAG_ENDE";
  StatsRecord stats;
  std::istringstream in(text);
  stats.Load(in);
  EXPECT_EQ(stats.totalTime, 22.0);
  EXPECT_EQ(stats.playCount, 6);
  ASSERT_EQ(stats.Entries().Count(), 1);
  const SeriesEntry* s = stats.Entries().Get(0);
  EXPECT_STREQ(s->name, "Al Bo");
  EXPECT_EQ(s->grade, 3.0);
  EXPECT_EQ(s->difficulty, 2);  // series values in any order
  EXPECT_EQ(s->bestGrade, 1.5);
  EXPECT_EQ(s->worstGrade, 4.0);
  GameRecord game;
  game.LoadText(text);
  EXPECT_EQ(game.playTime, 11.0);
  EXPECT_EQ(game.ivar1, 3);
  EXPECT_EQ(game.dvar3, 4.5);
  EXPECT_EQ(game.playCount, 6);
  ASSERT_EQ(game.Entries().Count(), 1);  // the series values are skipped
  EXPECT_STREQ(game.Entries().Get(0)->name, "Al Bo");
  EXPECT_EQ(game.Entries().Get(0)->grade, 3.0);
  EXPECT_EQ(game.SaveText().find("SCHW:"), std::string::npos);
  // No file name: nothing read or written.
  EXPECT_FALSE(stats.LoadFile(nullptr));
  EXPECT_FALSE(stats.SaveFile(nullptr));
  EXPECT_FALSE(game.SaveFile(""));
}

TEST(StatsRecordTest, RoundTripAndTopTenRules) {
  StatsRecord r;
  EXPECT_FALSE(r.Qualifies(6.0));
  EXPECT_TRUE(r.Qualifies(5.9));
  r.totalTime = 3.14159265;
  for (int i = 0; i < 15; ++i) {
    SeriesEntry* e = new SeriesEntry();
    EXPECT_EQ(e->bestGrade, 6.0);  // the values a new series entry starts with
    EXPECT_EQ(e->worstGrade, 1.0);
    e->SetName("Two Words");
    e->grade = 1.0 + i * 0.3;
    e->difficulty = i % 3;
    e->bestGrade = 1.0 / 3.0;
    r.InsertEntry(e);
  }
  StatsRecord back;
  back.LoadText(r.SaveText());
  EXPECT_NEAR(back.totalTime, 3.14159, 1e-12);
  ASSERT_EQ(back.Entries().Count(), 10);
  SeriesEntry* e = back.Entries().Get(9);
  EXPECT_STREQ(e->name, "Two Words");
  EXPECT_NEAR(e->grade, 3.7, 1e-9);
  EXPECT_EQ(e->difficulty, 0);
  EXPECT_NEAR(e->bestGrade, 0.333333, 1e-12);
  EXPECT_FALSE(back.Qualifies(4.0));
  EXPECT_TRUE(back.Qualifies(3.6));
}

TEST(GameRecordTest, WriteThenReadKeepsSixSignificantDigits) {
  GameRecord r;
  r.playTime = 1234567.891;
  SetTotals(r, 7, 1.23456789, 5.9999, 42, 123.456789);
  r.ivar1 = -1;
  r.ivar3 = 9;
  r.dvar2 = 0.000123456789;
  r.InsertEntry(Entry("Zoe", 2.0 / 3.0, 29, 2, 2024));
  GameRecord back;
  back.LoadText(r.SaveText());
  auto near6 = [](double a, double b) { return std::fabs(a - b) <= std::fabs(b) * 5e-6; };
  EXPECT_TRUE(near6(back.playTime, r.playTime));
  EXPECT_TRUE(near6(back.bestGrade, r.bestGrade));
  EXPECT_TRUE(near6(back.worstGrade, r.worstGrade));
  EXPECT_TRUE(near6(back.gradeSum, r.gradeSum));
  EXPECT_TRUE(near6(back.dvar2, r.dvar2));
  EXPECT_EQ(back.veryGoodCount, 7);
  EXPECT_EQ(back.playCount, 42);
  EXPECT_EQ(back.ivar1, -1);
  EXPECT_EQ(back.ivar3, 9);
  ASSERT_EQ(back.Entries().Count(), 1);
  HighscoreEntry* e = back.Entries().Get(0);
  EXPECT_EQ(e->typedLength, 0);
  EXPECT_STREQ(e->name, "Zoe");
  EXPECT_EQ(e->day, 29);
  EXPECT_EQ(e->month, 2);
  EXPECT_EQ(e->year, 2024);
  EXPECT_TRUE(near6(e->grade, 2.0 / 3.0));
  EXPECT_EQ(back.SaveText(), r.SaveText());  // a second save is stable
}

TEST(GameRecordTest, ReaderTakesAnyWhiteSpaceBothNumberFormsAndAllEntries) {
  std::string text = "junk ERGS:\n\n  1.5e1\tANZ_SPIELE: +4 LEVEL_ZEIT: 12 BEST_ERG: 1 SCHL_ERG: 5.25\n";
  text += "GEL\xD6ST:\v2\f";
  for (int i = 0; i < 15; ++i)
    text += "EINTRAG_START NAME: P_" + std::to_string(i) + " extra DATUM: 1 2 2003 ERG: " +
            std::to_string(1 + i * 0.25) + " EINTRAG_ENDE\n";
  GameRecord r;
  r.LoadText(text);
  EXPECT_EQ(r.gradeSum, 15.0);
  EXPECT_EQ(r.playCount, 4);
  EXPECT_EQ(r.playTime, 12.0);
  EXPECT_EQ(r.bestGrade, 1.0);
  EXPECT_EQ(r.worstGrade, 5.25);
  EXPECT_EQ(r.veryGoodCount, 2);
  ASSERT_EQ(r.Entries().Count(), 15);  // all read, in file order
  EXPECT_STREQ(r.Entries().Get(14)->name, "P 14");
  EXPECT_EQ(r.Entries().Get(14)->grade, 4.5);
  EXPECT_EQ(r.Entries().Get(3)->year, 2003);
  EXPECT_EQ(CountOf(r.SaveText(), "EINTRAG_START"), 10);  // only the first 10 are written
  // The key written in UTF-8 is not the stored key.
  GameRecord utf8;
  utf8.LoadText("GEL\xC3\x96ST: 5");
  EXPECT_EQ(utf8.veryGoodCount, 0);
}

TEST(GameRecordTest, DamagedValuesAreSkippedWithoutStalling) {
  GameRecord r;
  r.LoadText("ANZ_SPIELE: 3000000000 ERGS: nan BEST_ERG: inf SCHL_ERG: abc LEVEL_ZEIT: 1,5 "
             "GEL\xD6ST: 2.7 DVAR1: -1e999 IVAR2:");
  EXPECT_EQ(r.playCount, 0);
  EXPECT_EQ(r.gradeSum, 0.0);
  EXPECT_EQ(r.bestGrade, 6.0);
  EXPECT_EQ(r.worstGrade, 1.0);
  EXPECT_EQ(r.playTime, 1.0);      // leading digits, as a stream reads "1,5"
  EXPECT_EQ(r.veryGoodCount, 2);   // likewise "2.7"
  EXPECT_EQ(r.dvar1, 0.0);
  // A value that is not a number is not swallowed: a key right behind a key
  // that lost its value is still read.
  GameRecord cut;
  cut.LoadText("GEL\xD6ST:\r\nBEST_ERG:\t2.5\r\n");
  EXPECT_EQ(cut.veryGoodCount, 0);
  EXPECT_EQ(cut.bestGrade, 2.5);
}

TEST(GameRecordTest, CutOffEntriesAndOverlongTokens) {
  // Cut inside an entry: kept only with a name and a grade.
  GameRecord a;
  a.LoadText("EINTRAG_START NAME: Ann DATUM: 1 2 2020 ERG: 2.5");
  ASSERT_EQ(a.Entries().Count(), 1);
  EXPECT_EQ(a.Entries().Get(0)->grade, 2.5);
  GameRecord b;
  b.LoadText("EINTRAG_START NAME: Ann DATUM: 1 2");
  EXPECT_EQ(b.Entries().Count(), 0);
  GameRecord c;
  c.LoadText("EINTRAG_START ERG: 2.5 DATUM:");
  EXPECT_EQ(c.Entries().Count(), 0);
  // An entry that lost its end mark ends at the next entry.
  GameRecord d;
  d.LoadText("EINTRAG_START NAME: A ERG: 1 EINTRAG_START NAME: B ERG: 2 EINTRAG_ENDE");
  ASSERT_EQ(d.Entries().Count(), 2);
  EXPECT_STREQ(d.Entries().Get(1)->name, "B");
  // An entry without a name cannot be written back as it was read: dropped.
  GameRecord unnamed;
  unnamed.LoadText("EINTRAG_START DATUM: 1 2 2026 ERG: 2 EINTRAG_ENDE "
                   "EINTRAG_START NAME: X ERG: 3 EINTRAG_ENDE EINTRAG_START ERG: 4");
  ASSERT_EQ(unnamed.Entries().Count(), 1);
  EXPECT_STREQ(unnamed.Entries().Get(0)->name, "X");
  // The token after "NAME:" is the name, whatever it spells.
  GameRecord e;
  e.LoadText("EINTRAG_START\tNAME:\tEINTRAG_ENDE\tDATUM:\t5\t6\t2007\tERG:\t3\tEINTRAG_ENDE");
  ASSERT_EQ(e.Entries().Count(), 1);
  EXPECT_STREQ(e.Entries().Get(0)->name, "EINTRAG ENDE");
  EXPECT_EQ(e.Entries().Get(0)->day, 5);
  EXPECT_EQ(e.Entries().Get(0)->grade, 3.0);
  // Names and keys far beyond the buffers are cut.
  GameRecord f;
  f.LoadText(std::string(5000, 'K') + " EINTRAG_START NAME: " + std::string(5000, 'n') +
             " ERG: 2 EINTRAG_ENDE ERGS: 4");
  ASSERT_EQ(f.Entries().Count(), 1);
  EXPECT_EQ(std::string(f.Entries().Get(0)->name), std::string(HIGHSCORE_NAME_SIZE - 1, 'n'));
  EXPECT_EQ(f.gradeSum, 4.0);
  HighscoreEntry g;
  g.SetName(std::string(3000, 'z').c_str());
  EXPECT_EQ(std::strlen(g.name), static_cast<size_t>(HIGHSCORE_NAME_SIZE - 1));
}

// A numeric locale with a decimal comma must not leak into the files.
struct CommaPoint : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
};

TEST(GameRecordTest, FilesUseTheClassicNumberFormatUnderAnyLocale) {
  const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaPoint));
  GameRecord r;
  r.gradeSum = 2.5;
  const std::string text = r.SaveText();
  GameRecord back;
  back.LoadText(text);
  std::locale::global(previous);
  EXPECT_NE(text.find("ERGS:\t2.5\r\n"), std::string::npos);
  EXPECT_EQ(back.gradeSum, 2.5);
}

TEST(RecordReaderTest, RandomBytesAndTruncationsNeverBreakTheReaders) {
  GameRecord full;
  full.AddResult(2.5);
  for (int i = 0; i < 3; ++i) full.InsertEntry(Entry("Some Body", 1.5 + i));
  const std::string gameText = full.SaveText();
  StatsRecord stats;
  stats.AddResult(2.5);
  stats.InsertEntry(new SeriesEntry());
  const std::string statsText = stats.SaveText();
  for (size_t n = 0; n <= gameText.size(); ++n) {
    GameRecord r;
    r.LoadText(gameText.substr(0, n));
    ASSERT_LE(r.Entries().Count(), 3);
  }
  for (size_t n = 0; n <= statsText.size(); ++n) {
    StatsRecord r;
    r.LoadText(statsText.substr(0, n));
  }
  std::mt19937 random(99);
  const char* words[] = {"EINTRAG_START", "EINTRAG_ENDE", "NAME:", "DATUM:", "ERG:", "ERGS:",
                         "ANZ_SPIELE:", "GEL\xD6ST:", "BEST:", "SCHW:", "SCHLECHT:", "1", "-2.5e3",
                         "nan", "99999999999", "\r\n", "\t", " ", "_", "\xFF"};
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const int pieces = static_cast<int>(random() % 40);
    for (int i = 0; i < pieces; ++i) {
      if (random() % 3 == 0) text += static_cast<char>(random() % 256);
      else text += words[random() % (sizeof words / sizeof words[0])];
    }
    GameRecord r;
    r.LoadText(text);
    StatsRecord s;
    s.LoadText(text);
    GameRecord again;
    again.LoadText(r.SaveText());  // whatever was read can be written and read back
    ASSERT_EQ(again.SaveText(), r.SaveText());
  }
}

// Every name the name entry can produce (letters, digits, blanks, up to 99
// characters) comes back from the file as it was typed, also when it spells
// one of the file's own words, in both kinds of record.
TEST(RecordNames, EveryTypableNameSurvivesSavingAndLoading) {
  std::vector<std::string> names = {"EINTRAG ENDE", "EINTRAG START", "NAME", "ERG", "DATUM",
                                    "BEST", "SCHW", "ERGS", "GEL", " A", "B  ", "   ", "0",
                                    "2 5", std::string(99, 'Z')};
  const char alphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ";
  std::mt19937 random(99);
  for (int i = 0; i < 300; ++i) {
    std::string name(1 + random() % 99, ' ');
    for (char& c : name) c = alphabet[random() % (sizeof alphabet - 1)];
    names.push_back(name);
  }
  for (const std::string& name : names) {
    GameRecord game;
    auto* entry = new HighscoreEntry();
    entry->SetName(name.c_str());
    entry->grade = 2.5;
    game.InsertEntry(entry);
    game.AddResult(2.5);
    GameRecord gameBack;
    gameBack.LoadText(game.SaveText());
    ASSERT_EQ(gameBack.Entries().Count(), 1) << name;
    EXPECT_EQ(std::string(gameBack.Entries().Get(0)->name), name);
    EXPECT_EQ(gameBack.Entries().Get(0)->grade, 2.5) << name;
    EXPECT_EQ(gameBack.playCount, 1) << name;

    StatsRecord stats;
    auto* series = new SeriesEntry();
    series->SetName(name.c_str());
    series->grade = 3.0;
    series->difficulty = 2;
    stats.InsertEntry(series);
    StatsRecord statsBack;
    statsBack.LoadText(stats.SaveText());
    ASSERT_EQ(statsBack.Entries().Count(), 1) << name;
    EXPECT_EQ(std::string(statsBack.Entries().Get(0)->name), name);
    EXPECT_EQ(statsBack.Entries().Get(0)->difficulty, 2) << name;
  }
}

TEST(RecordCounters, CountersAtTheirLargestValueStayThere) {
  GameRecord game;
  game.LoadText("ANZ_SPIELE:\t2147483647\r\nGEL\xD6ST:\t2147483647\r\n");
  ASSERT_EQ(game.playCount, INT32_MAX);
  game.AddResult(1.0);
  EXPECT_EQ(game.playCount, INT32_MAX);
  record_io::CountOneMore(game.veryGoodCount);
  EXPECT_EQ(game.veryGoodCount, INT32_MAX);
  StatsRecord stats;
  stats.LoadText("ANZ_SPIELE:\t2147483647\r\n");
  stats.AddResult(2.0);
  EXPECT_EQ(stats.playCount, INT32_MAX);
  int32_t counter = 41;
  record_io::CountOneMore(counter);
  EXPECT_EQ(counter, 42);
}

}  // namespace
