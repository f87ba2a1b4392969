// The language-file reader: placeholders, text bodies with their leading
// blank, line ends, replacement by number, and files that are damaged.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>

#include "data/language.h"
#include "util/app_context.h"
#include "support/test_data_builders.h"

namespace {

using testdata::WriteText;

AppContext& App() {
  static bool entered = false;
  if (!entered) {
    entered = true;
    EXPECT_FALSE(testdata::EnterFreshDirectory("denkar_lang_").empty());
  }
  return GetAppContext();
}

// Parses `file` as the current language and returns text n ("<null>" for none).
std::string Text(int n) {
  const char* t = GetLangText(n);
  return t ? t : "<null>";
}

void Parse(const std::string& file) { ParseLanguageText(App(), file); }

TEST(LanguageLoaderTest, AnnouncedButUndefinedTextsAreEmpty) {
  Parse("ANZ_TEXTE: 5\r\n<TEXT_START> 0 Back|\r\n<TEXT_START> 3 Start|\r\n");
  EXPECT_EQ(App().langTexts.Count(), 5);
  EXPECT_EQ(Text(0), " Back");
  EXPECT_EQ(Text(1), "");
  EXPECT_EQ(Text(3), " Start");
  EXPECT_EQ(Text(4), "");
  EXPECT_EQ(Text(5), "<null>");
  EXPECT_EQ(Text(-1), "<null>");
  EXPECT_STREQ(LangTextOrEmpty(5), "");
  EXPECT_STREQ(LangTextOrEmpty(-7), "");
  EXPECT_STREQ(LangTextOrEmpty(3), " Start");
}

TEST(LanguageLoaderTest, TheCharacterAfterTheNumberBecomesOneBlank) {
  Parse("ANZ_TEXTE: 10\r\n"
        "<TEXT_START> 7 Start|\r\n"
        "<TEXT_START> 8  Start|\r\n"
        "<TEXT_START> 9\r\nStart|\r\n"
        "<TEXT_START> 1 \r\nplus %d days|\r\n"
        "<TEXT_START> 2 Turn over\r\ntwo cards\r\n|"
        "<TEXT_START> 3 a\rb|"
        "<TEXT_START> 4\tTab|"
        "<TEXT_START> 5 ANZ_TEXTE: 3 <TEXT_START> 0 x|");
  EXPECT_EQ(Text(7), " Start");
  EXPECT_EQ(Text(8), "  Start");
  EXPECT_EQ(Text(9), " Start");  // the line end after the number is the consumed character
  EXPECT_EQ(Text(1), " \nplus %d days");
  EXPECT_EQ(Text(2), " Turn over\ntwo cards\n");
  EXPECT_EQ(Text(3), " a\rb");  // only a CR in front of a LF is a line end
  EXPECT_EQ(Text(4), " Tab");
  EXPECT_EQ(Text(5), " ANZ_TEXTE: 3 <TEXT_START> 0 x");  // bodies are not read as words
  EXPECT_EQ(App().langTexts.Count(), 10);
  EXPECT_EQ(Text(0), "");
}

TEST(LanguageLoaderTest, LaterDefinitionsReplaceEarlierOnesInPlace) {
  Parse("ANZ_TEXTE: 4 <TEXT_START> 1 one| <TEXT_START> 2 two| <TEXT_START> 1 uno| words are skipped");
  EXPECT_EQ(App().langTexts.Count(), 4);
  EXPECT_EQ(Text(1), " uno");
  EXPECT_EQ(Text(2), " two");
  EXPECT_EQ(Text(3), "");
}

TEST(LanguageLoaderTest, NumbersBeyondTheAnnouncedCountKeepTheirNumber) {
  Parse("\xEF\xBB\xBF" "ANZ_TEXTE: 2 <TEXT_START> 0 zero| <TEXT_START> 5 five| <TEXT_START> 3 three|");
  // The byte-order mark hides the count; the texts still land on their numbers.
  EXPECT_EQ(App().langTexts.Count(), 6);
  EXPECT_EQ(Text(0), " zero");
  EXPECT_EQ(Text(3), " three");
  EXPECT_EQ(Text(4), "");
  EXPECT_EQ(Text(5), " five");
  Parse("<TEXT_START> 0 a| <TEXT_START> 1 b|");  // no count at all
  EXPECT_EQ(App().langTexts.Count(), 2);
  EXPECT_EQ(Text(1), " b");
}

// A file of a few megabytes with every text defined again and again loads
// at once: each definition costs the same however long the list is. (The
// bound is a hundred times what it takes; it only catches a loader whose time
// grows with the square of the file.)
TEST(LanguageLoaderTest, LargeFilesLoadInTimeProportionalToTheirSize) {
  std::string file = "ANZ_TEXTE: 20000\r\n";
  for (int round = 0; round < 5; ++round)
    for (int i = 0; i < 20000; i += 1 + round)
      file += "<TEXT_START> " + std::to_string(i) + " Text number %d of round " +
              std::to_string(round) + " with some words|\r\n";
  ASSERT_GT(file.size(), 2000000u);
  const auto start = std::chrono::steady_clock::now();
  Parse(file);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(App().langTexts.Count(), 20000);
  EXPECT_STREQ(GetLangText(0), " Text number %d of round 4 with some words");
  EXPECT_STREQ(GetLangText(1), " Text number %d of round 0 with some words");
  EXPECT_LT(seconds, 10.0);
}

TEST(LanguageLoaderTest, DamagedFilesEndAndStayBounded) {
  // A missing closing bar: the text runs to the end of the file.
  Parse("ANZ_TEXTE: 2 <TEXT_START> 1 never closed\r\nsecond line");
  EXPECT_EQ(Text(1), " never closed\nsecond line");
  // A number right at the end of the file.
  Parse("ANZ_TEXTE: 2 <TEXT_START> 1");
  EXPECT_EQ(Text(1), " ");
  // Too long: cut at 9 999 characters, reading goes on behind the bar.
  Parse("ANZ_TEXTE: 2 <TEXT_START> 0 " + std::string(20000, 'x') + "| <TEXT_START> 1 next|");
  EXPECT_EQ(Text(0).size(), static_cast<size_t>(LANG_TEXT_MAX));
  EXPECT_EQ(Text(1), " next");
  // Negative and absurd numbers are dropped with their text; text 0 stays.
  Parse("ANZ_TEXTE: 3 <TEXT_START> 0 zero| <TEXT_START> -1 minus one| <TEXT_START> -5 x|"
        "<TEXT_START> 100001 big| <TEXT_START> 99999999999999999999 huge| <TEXT_START> 2 two|");
  EXPECT_EQ(App().langTexts.Count(), 3);
  EXPECT_EQ(Text(0), " zero");
  EXPECT_EQ(Text(1), "");
  EXPECT_EQ(Text(2), " two");
  // Counts: negative is none, huge is bounded.
  Parse("ANZ_TEXTE: -20 <TEXT_START> 0 a|");
  EXPECT_EQ(App().langTexts.Count(), 1);
  Parse("ANZ_TEXTE: 99999999999 ANZ_TEXTE: 5");
  EXPECT_EQ(App().langTexts.Count(), LANG_TEXT_LIMIT + 1);
  // Not a number after a key: reading goes on with that word.
  Parse("ANZ_TEXTE: many <TEXT_START> x <TEXT_START> 0 ok| ANZ_TEXTE:");
  EXPECT_EQ(App().langTexts.Count(), 1);
  EXPECT_EQ(Text(0), " ok");
  // Empty file.
  Parse("");
  EXPECT_EQ(App().langTexts.Count(), 0);
  EXPECT_EQ(Text(0), "<null>");
}

TEST(LanguageLoaderTest, LoadsAndSwitchesLanguageFiles) {
  AppContext& app = App();
  WriteText("deutsch.lng", "ANZ_TEXTE: 2\r\n<TEXT_START> 0 Zur\xFC" "ck|\r\n<TEXT_START> 1 Zeit: %d:%02d|\r\n");
  WriteText("english.lng", "ANZ_TEXTE: 2\r\n<TEXT_START> 0 Back|\r\n<TEXT_START> 1 Time: %d:%02d|\r\n");
  LoadLanguage(0);
  EXPECT_EQ(app.language, 0);
  EXPECT_EQ(Text(0), " Zur\xFC" "ck");
  LoadLanguage(1);
  EXPECT_EQ(app.language, 1);
  EXPECT_EQ(Text(0), " Back");
  LoadLanguage(0);
  LoadLanguage(1);
  EXPECT_EQ(Text(0), " Back");
  EXPECT_EQ(Text(1), " Time: %d:%02d");
  LoadLanguage(0);
  EXPECT_EQ(Text(1), " Zeit: %d:%02d");
}

// A screen without words cannot be played: a language value that is no
// language means German, and a missing or empty file gives way to the other
// language's file, with a line on standard error naming the missing one.
TEST(LanguageLoaderTest, AMissingOrEmptyFileGivesWayToTheOtherLanguage) {
  AppContext& app = App();
  const std::string german = "ANZ_TEXTE: 2\r\n<TEXT_START> 0 Zur\xFC" "ck|\r\n";
  const std::string english = "ANZ_TEXTE: 2\r\n<TEXT_START> 0 Back|\r\n";
  auto loadCapturingErrors = [&](int language) {
    testing::internal::CaptureStderr();
    LoadLanguage(language);
    return testing::internal::GetCapturedStderr();
  };
  WriteText("deutsch.lng", german);
  WriteText("english.lng", english);
  for (int value : {2, 7, -1}) {
    EXPECT_EQ(loadCapturingErrors(value), "") << value;
    EXPECT_EQ(app.language, 0);
    EXPECT_EQ(Text(0), " Zur\xFC" "ck");
  }

  std::remove("english.lng");
  std::string errors = loadCapturingErrors(1);
  EXPECT_EQ(app.language, 0);
  EXPECT_EQ(Text(0), " Zur\xFC" "ck");
  EXPECT_NE(errors.find("english.lng"), std::string::npos) << errors;

  // Announced texts but none defined, or an empty file: as good as missing.
  for (const char* empty : {"ANZ_TEXTE: 198\r\n", "", "<TEXT_START> x|"}) {
    WriteText("english.lng", empty);
    errors = loadCapturingErrors(1);
    EXPECT_EQ(app.language, 0);
    EXPECT_EQ(Text(0), " Zur\xFC" "ck");
    EXPECT_NE(errors.find("english.lng"), std::string::npos) << errors;
  }

  WriteText("english.lng", english);
  std::remove("deutsch.lng");
  errors = loadCapturingErrors(0);
  EXPECT_EQ(app.language, 1);
  EXPECT_EQ(Text(0), " Back");
  EXPECT_NE(errors.find("deutsch.lng"), std::string::npos) << errors;

  // Neither file: no texts, and both files are named.
  std::remove("english.lng");
  errors = loadCapturingErrors(1);
  EXPECT_EQ(app.langTexts.Count(), 0);
  EXPECT_EQ(Text(0), "<null>");
  EXPECT_NE(errors.find("deutsch.lng"), std::string::npos) << errors;
  EXPECT_NE(errors.find("english.lng"), std::string::npos) << errors;
}

TEST(LanguageLoaderTest, RandomBytesNeverBreakTheReader) {
  std::mt19937 random(7);
  const char* words[] = {"ANZ_TEXTE:", "<TEXT_START>", "|", " ", "\r\n", "\r", "-", "1", "3",
                         "200", "-2", "99999999999999999999", "abc"};
  for (int round = 0; round < 2000; ++round) {
    std::string file;
    const int pieces = static_cast<int>(random() % 30);
    for (int i = 0; i < pieces; ++i) {
      if (random() % 4 == 0) file += static_cast<char>(random() % 256);
      else file += words[random() % (sizeof words / sizeof words[0])];
      if (random() % 2) file += ' ';
    }
    Parse(file);
    const int count = App().langTexts.Count();
    ASSERT_LE(count, LANG_TEXT_LIMIT + 1);
    for (int i = 0; i < count; ++i) ASSERT_NE(GetLangText(i), nullptr);
  }
}

}  // namespace
