// Checks the two language files the game ships: their bytes, the numbers
// they define, the printf directives of every text against the arguments the
// screens pass, and that every text fits the place it is drawn in when it is
// laid out with the game's own fonts.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "data/language.h"
#include "gfx/cp1252.h"
#include "gfx/font.h"
#include "util/format_text.h"
#include "support/test_data_builders.h"

namespace {

const char* const kFileNames[2] = {"deutsch.lng", "english.lng"};
const char* const kSourceNames[2] = {"deutsch.txt", "english.txt"};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::string AssetPath(const char* name) { return std::string(DENKAR_SOURCE_DIR "/assets/lang/") + name; }

// The loader reads from the working directory, and the application record it
// fills writes its own files there at exit: work in a fresh folder holding
// copies of the two files, entered before the record is first made.
void EnterLanguageFolder() {
  static bool entered = false;
  if (entered) return;
  entered = true;
  const std::string folder = testdata::EnterFreshDirectory("denkar_langfiles_");  // removed at exit
  ASSERT_FALSE(folder.empty());
  for (const char* name : kFileNames) {
    std::ofstream out(std::string(folder) + "/" + name, std::ios::binary);
    out << ReadFile(AssetPath(name));
  }
}

// Every text the game uses, with the arguments its screens pass, in order:
// i = int, d = double, s = string. `win` marks the texts the number-clicking
// game formats with the integer-only Windows formatter; `fewer` marks the one
// text that may leave out its trailing argument (both values are equal).
struct TextUse {
  int number;
  const char* args;
  bool win = false;
  bool fewer = false;
};

const TextUse kTexts[] = {
    {0, ""},       {1, ""},       {3, ""},       {4, ""},       {6, ""},
    {7, ""},       {8, ""},       {9, ""},       {10, ""},      {11, ""},
    {12, ""},      {14, ""},      {17, ""},      {18, ""},      {19, ""},
    {20, ""},      {21, ""},      {22, "ii", true},             {23, "i"},
    {24, "i"},     {25, "ii"},    {26, "ii", false, true},      {27, "i"},
    {28, "i"},     {29, "i"},     {30, "i", true},              {31, "i", true},
    {32, "i", true},              {36, "i"},     {37, "ii"},    {38, ""},
    {40, "i"},     {41, "d"},     {42, ""},      {43, "iii"},   {44, "i"},
    {45, "d"},     {46, "d"},     {47, "d"},     {48, "i"},     {49, "isiiid"},
    {50, "d"},     {51, "ii"},    {52, "ii"},    {54, "s"},     {55, "ii"},
    {56, ""},      {57, "i"},     {58, ""},      {59, ""},      {60, ""},
    {61, ""},      {62, "isddd"}, {63, "ii", true},             {64, ""},
    {65, ""},      {66, ""},      {67, ""},      {68, ""},      {69, ""},      {70, ""},
    {74, ""},      {75, ""},      {76, ""},      {98, ""},      {99, ""},
    {100, ""},     {101, ""},     {102, ""},     {105, ""},     {106, ""},
    {110, ""},     {111, ""},     {117, "ii"},   {120, ""},     {121, ""},
    {122, ""},     {123, ""},     {124, "i", true},             {125, ""},
    {126, ""},     {130, ""},     {131, ""},     {132, "ii"},   {133, ""},
    {135, ""},     {136, ""},     {140, ""},     {141, ""},     {142, "ii"},
    {143, "ii"},   {144, ""},     {145, ""},     {146, ""},     {170, ""},
    {171, ""},     {173, "i"},    {175, "i"},    {176, ""},     {177, "i"},
    {178, ""},     {179, "i"},    {180, ""},     {181, "i"},    {182, ""},
    {183, "i"},    {184, ""},     {185, "i"},    {186, ""},     {187, "i"},
    {188, ""},     {189, ""},     {190, ""},     {191, ""},     {192, ""},
    {193, ""},     {194, ""},     {195, ""},     {196, ""},     {197, "siii"},   {198, ""},
};

// Game names: game-list captions and result titles.
const int kGameNames[] = {20, 105, 170, 42, 18, 19, 125, 130, 21, 100, 17, 14, 110, 135, 140, 120};
// Instructions on the help page of each game (the atoms game draws its own).
const int kInstructions[] = {65, 66, 67, 69, 70, 74, 75, 102, 106, 111, 121, 126, 136, 141, 171};

// The directives of a printf format as argument kinds (i, d, s); a directive
// that no argument could safely feed (a '*' width, a length modifier, %c, %n,
// an unknown conversion, or a real number for the Windows formatter) is
// reported in `bad`.
std::string Directives(const char* text, bool win, std::string* bad) {
  std::string kinds;
  for (const char* p = text; *p; ++p) {
    if (*p != '%') continue;
    const char* start = p++;
    if (*p == '%') continue;
    while (*p && std::strchr("-+ #0", *p)) ++p;
    if (*p == '*') {
      *bad += std::string(start, p + 1) + " ";
      continue;
    }
    while (*p >= '0' && *p <= '9') ++p;
    if (*p == '.') {
      ++p;
      while (*p >= '0' && *p <= '9') ++p;
    }
    const char c = *p;
    if (c && std::strchr("diuxXo", c)) {
      kinds += 'i';
    } else if (c && std::strchr("fFeEgG", c) && !win) {
      kinds += 'd';
    } else if (c == 's') {
      kinds += 's';
    } else {
      *bad += std::string(start, c ? p + 1 : p) + " ";
      if (!c) break;
    }
  }
  return kinds;
}

// Numbers defined in a language file, read the way the loader reads it:
// each "<TEXT_START>" word, its number, then the text up to the bar.
std::vector<int> DefinedNumbers(const std::string& file) {
  std::vector<int> numbers;
  const std::string key = "<TEXT_START>";
  size_t pos = 0;
  while ((pos = file.find(key, pos)) != std::string::npos) {
    pos += key.size();
    numbers.push_back(std::atoi(file.c_str() + pos));
    const size_t bar = file.find('|', pos);
    if (bar == std::string::npos) break;
    pos = bar + 1;
  }
  return numbers;
}

class LanguageFiles : public ::testing::Test {
 protected:
  void SetUp() override { EnterLanguageFolder(); }

  static std::string Text(int n) {
    const char* t = GetLangText(n);
    return t ? t : "";
  }
};

TEST_F(LanguageFiles, BytesAreWindows1252WithCrLfLineEnds) {
  for (const char* name : kFileNames) {
    SCOPED_TRACE(name);
    const std::string data = ReadFile(AssetPath(name));
    ASSERT_FALSE(data.empty());
    // No byte-order mark: the first word must be the text count.
    EXPECT_EQ(data.rfind("ANZ_TEXTE: 199\r\n", 0), 0u);
    for (size_t i = 0; i < data.size(); ++i) {
      const unsigned char b = static_cast<unsigned char>(data[i]);
      if (b == '\r') {
        EXPECT_TRUE(i + 1 < data.size() && data[i + 1] == '\n') << "lone CR at byte " << i;
      } else if (b == '\n') {
        EXPECT_TRUE(i > 0 && data[i - 1] == '\r') << "LF without CR at byte " << i;
      } else {
        // Other control bytes (tab, Ctrl-Z) and the five bytes the code
        // page leaves undefined have no business in a text.
        EXPECT_TRUE(b >= 0x20 && b != 0x7F && Cp1252ToUnicode(b) != 0)
            << "byte 0x" << std::hex << int(b) << " at " << std::dec << i;
      }
    }
    EXPECT_EQ(data.substr(data.size() - 3), "|\r\n");
  }
}

// The readable UTF-8 sources and the shipped files must say the same: the
// shipped file is its source in Windows-1252 with CR LF line ends.
TEST_F(LanguageFiles, MatchTheirReadableSources) {
  std::map<uint32_t, char> toCp1252;
  for (int b = 1; b < 256; ++b)
    if (uint32_t cp = Cp1252ToUnicode(static_cast<unsigned char>(b))) toCp1252[cp] = static_cast<char>(b);
  for (int f = 0; f < 2; ++f) {
    SCOPED_TRACE(kFileNames[f]);
    const std::string src = ReadFile(std::string(DENKAR_SOURCE_DIR "/assets/lang/src/") + kSourceNames[f]);
    ASSERT_FALSE(src.empty());
    std::string expected;
    for (size_t i = 0; i < src.size();) {
      const unsigned char b = static_cast<unsigned char>(src[i]);
      const int length = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
      uint32_t cp = length == 1 ? b : b & (0x3F >> (length - 1));
      for (int k = 1; k < length && i + k < src.size(); ++k) cp = (cp << 6) | (src[i + k] & 0x3F);
      i += length;
      if (cp == '\n') {
        expected += "\r\n";
      } else {
        const auto it = toCp1252.find(cp);
        ASSERT_NE(it, toCp1252.end()) << "U+" << std::hex << cp << " is not in Windows-1252";
        expected += it->second;
      }
    }
    EXPECT_TRUE(expected == ReadFile(AssetPath(kFileNames[f])))
        << kFileNames[f] << " is out of date: run tools/lang_convert.py";
  }
}

TEST_F(LanguageFiles, DefineEveryUsedNumberOnce) {
  std::set<int> used;
  for (const TextUse& use : kTexts) used.insert(use.number);
  ASSERT_EQ(used.size(), 121u);
  for (int lang = 0; lang < 2; ++lang) {
    SCOPED_TRACE(kFileNames[lang]);
    const std::vector<int> numbers = DefinedNumbers(ReadFile(AssetPath(kFileNames[lang])));
    EXPECT_EQ(std::set<int>(numbers.begin(), numbers.end()), used);
    EXPECT_EQ(numbers.size(), used.size()) << "a number is defined twice";

    LoadLanguage(lang);
    EXPECT_NE(GetLangText(198), nullptr);
    EXPECT_EQ(GetLangText(199), nullptr) << "the file announces more than 199 texts";
    for (int n : used) {
      SCOPED_TRACE(n);
      const std::string t = Text(n);
      // The one blank the loader puts first, then something to show.
      ASSERT_GE(t.size(), 2u);
      EXPECT_EQ(t[0], ' ');
      EXPECT_NE(t.find_first_not_of(" \n"), std::string::npos);
    }
  }
}

TEST_F(LanguageFiles, DirectivesMatchTheArgumentsOfEveryText) {
  for (int lang = 0; lang < 2; ++lang) {
    LoadLanguage(lang);
    for (const TextUse& use : kTexts) {
      SCOPED_TRACE(std::string(kFileNames[lang]) + " text " + std::to_string(use.number));
      const std::string t = Text(use.number);
      std::string bad;
      const std::string kinds = Directives(t.c_str(), use.win, &bad);
      EXPECT_EQ(bad, "") << t;
      if (use.fewer) {
        EXPECT_EQ(std::string(use.args).rfind(kinds, 0), 0u) << t;
      } else {
        EXPECT_EQ(kinds, use.args) << t;
      }
      // Texts drawn as they are carry no percent sign at all: some of them
      // still pass through a formatter, where one would go wrong.
      if (!*use.args) {
        EXPECT_EQ(t.find('%'), std::string::npos) << t;
      }
    }
  }
}

TEST_F(LanguageFiles, LineTextsAndCaptionsHaveNoLineEnd) {
  std::vector<int> single = {0,  1,  3,  4,  6,  7,  8,  9,  10, 11, 12, 58, 59, 60, 61, 64,
                             98, 99, 101, 117, 122, 123, 124, 132, 133, 142, 143, 144, 145, 146,
                             188, 189, 197, 198};
  for (int n = 22; n <= 55; ++n)
    if (n != 33 && n != 34 && n != 35 && n != 39 && n != 53) single.push_back(n);
  single.insert(single.end(), {57, 62, 63, 68});
  single.insert(single.end(), std::begin(kGameNames), std::end(kGameNames));
  for (int lang = 0; lang < 2; ++lang) {
    LoadLanguage(lang);
    for (int n : single) {
      EXPECT_EQ(Text(n).find('\n'), std::string::npos) << kFileNames[lang] << " text " << n;
    }
  }
}

TEST_F(LanguageFiles, WeekdaysRunFromSundayInTypableLetters) {
  const char* const names[2][7] = {
      {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"},
      {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"}};
  for (int lang = 0; lang < 2; ++lang) {
    LoadLanguage(lang);
    for (int d = 0; d < 7; ++d) {
      const std::string t = Text(190 + d);
      SCOPED_TRACE(t);
      // The player can type only A to Z, at most 15 of them; case and blanks
      // are ignored when the answer is compared.
      int letters = 0;
      for (char c : t) {
        if (c == ' ') continue;
        EXPECT_TRUE((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) << "'" << c << "'";
        ++letters;
      }
      EXPECT_GE(letters, 1);
      EXPECT_LE(letters, 15);
      EXPECT_EQ(t, std::string(" ") + names[lang][d]);
    }
  }
}

TEST_F(LanguageFiles, DateStepsSayWhetherTheyAddOrSubtract) {
  // Step texts that add to the date, and those that subtract from it.
  const int adding[] = {173, 178, 179, 182, 183, 186, 187};
  const int subtracting[] = {175, 176, 177, 180, 181, 184, 185};
  for (int lang = 0; lang < 2; ++lang) {
    LoadLanguage(lang);
    for (int n : adding) {
      const std::string t = Text(n);
      EXPECT_EQ(t.rfind(" \nplus ", 0), 0u) << n << ": " << t;
    }
    for (int n : subtracting) {
      const std::string t = Text(n);
      EXPECT_EQ(t.rfind(" \nminus ", 0), 0u) << n << ": " << t;
    }
    // The difficulty word follows the series line directly; its own blank
    // keeps the two apart.
    for (int n = 59; n <= 61; ++n) EXPECT_EQ(Text(n)[0], ' ');
    EXPECT_NE(Text(62).back(), ' ');
  }
}

// ---------------------------------------------------------------- fit

// The menu's fonts and the games' fonts, made as the game makes them.
struct Fonts {
  Font comic17{"Comic Sans MS", 17, 1001};
  Font comic20{"Comic Sans MS", 20, 1002};
  Font comic26{"Comic Sans MS", 26, 1008};
  Font comic30{"Comic Sans MS", 30, 1003};
  Font comic40{"Comic Sans MS", 40, 1004};
  Font arial20{"Arial", 20, 1005};
  Font arial25{"Arial", 25, 1006};
  Font arial30{"Arial", 30, 1007};
  bool Usable() const {
    return comic17.HasFace() && comic20.HasFace() && comic26.HasFace() && comic30.HasFace() && comic40.HasFace() &&
           arial20.HasFace() && arial25.HasFace() && arial30.HasFace();
  }
};

Fonts& GetFonts() {
  static Fonts fonts;
  return fonts;
}

struct Size {
  int width = 0;
  int height = 0;
};

Size Measure(Font& font, const std::string& text, int boxWidth, DWORD format) {
  Size s;
  font.MeasureText(text.c_str(), RECT{0, 0, boxWidth, 100000}, format, &s.width, &s.height);
  return s;
}

class LanguageFit : public LanguageFiles {
 protected:
  void SetUp() override {
    LanguageFiles::SetUp();
    if (!GetFonts().Usable()) GTEST_SKIP() << "no font installed";
  }

  // A text drawn centred on one line must leave `margin` pixels of `width`.
  static void ExpectLineFits(Font& font, const std::string& text, int width, const char* what,
                             int margin = 10) {
    const Size s = Measure(font, text, width, DT_CENTER);
    EXPECT_LE(s.width, width - margin) << what << ": \"" << text << "\"";
  }

  // A block of lines (no word wrap) must fit the rectangle.
  static void ExpectBlockFits(Font& font, const std::string& text, int width, int height,
                              const char* what) {
    const Size s = Measure(font, text, width, DT_CENTER | DT_VCENTER);
    EXPECT_LE(s.width, width - 20) << what << ":\n" << text;
    EXPECT_LE(s.height, height) << what << ":\n" << text;
  }
};

TEST_F(LanguageFit, CaptionsFitTheirButtons) {
  Fonts& f = GetFonts();
  for (int lang = 0; lang < 2; ++lang) {
    LoadLanguage(lang);
    SCOPED_TRACE(kFileNames[lang]);
    for (int n : {1, 3, 4, 6, 7, 8, 9, 10, 11, 59, 60, 61}) ExpectLineFits(f.comic30, Text(n), 300, "wide button");
    for (int n : kGameNames) ExpectLineFits(f.comic30, Text(n), 300, "game list");
    ExpectLineFits(f.comic30, Text(0), 100, "small button");
    ExpectLineFits(f.comic30, Text(99), 100, "small button");
    ExpectLineFits(f.comic30, Text(98), 150, "medium button");
    // A reset button's question, in the smaller font where the larger one
    // does not fit the small button.
    ExpectLineFits(f.comic30, Text(198), 150, "medium button");
    ExpectLineFits(f.comic20, Text(198), 100, "small button", 8);
    // Buttons inside the games, in their 20-point font: 200 pixels wide.
    ExpectLineFits(f.arial20, Text(133), 200, "check button");
  }
}

TEST_F(LanguageFit, TitlesFitTheirPages) {
  Fonts& f = GetFonts();
  for (int lang = 0; lang < 2; ++lang) {
    LoadLanguage(lang);
    SCOPED_TRACE(kFileNames[lang]);
    for (int n : {6, 7, 58}) ExpectLineFits(f.comic40, Text(n), 400, "title", 20);
    for (int n : {10, 12}) ExpectLineFits(f.comic40, Text(n), 350, "title", 20);
    for (int n : {9, 11}) ExpectLineFits(f.comic40, Text(n), 800, "title", 20);
    ExpectLineFits(f.comic40, Text(64), 600, "title", 20);
    for (int n : kGameNames) ExpectLineFits(f.comic40, Text(n), 600, "result title", 20);
  }
}

// The 800 x 600 pages keep their text between the title band (64 pixels)
// and the buttons (from 525 down), with 8 pixels of air to both: 445 pixels.
// The instructions are centred in 50 ... 530, so they may be 436 high.
TEST_F(LanguageFit, InstructionsFitTheHelpPage) {
  Fonts& f = GetFonts();
  const DWORD wrap = DT_CENTER | DT_VCENTER | DT_WORDBREAK;
  for (int lang = 0; lang < 2; ++lang) {
    LoadLanguage(lang);
    for (int n : kInstructions) {
      const Size s = Measure(f.comic30, Text(n), 700, wrap);
      EXPECT_LE(s.height, 436) << kFileNames[lang] << " instructions " << n;
      EXPECT_LE(s.width, 700) << kFileNames[lang] << " instructions " << n;
    }
    // The general help, in the smaller font.
    Size s = Measure(f.comic20, Text(76), 700, wrap);
    EXPECT_LE(s.height, 445) << kFileNames[lang] << " general help";
    // The atoms game's own page: 380 pixels beside its picture.
    s = Measure(f.comic17, Text(131), 380, DT_VCENTER | DT_WORDBREAK);
    EXPECT_LE(s.height, 460) << kFileNames[lang] << " atoms instructions";
    EXPECT_LE(s.width, 380);
    // The about page has no word wrap: its lines must fit the 350-pixel page
    // above the picture that starts 255 pixels below the text.
    ExpectBlockFits(f.comic30, Text(56), 350, 255, "about text");
  }
}

// The result page of every game, with wide values: an hour's play, two-digit
// counts, a grade of 6.00.
TEST_F(LanguageFit, ResultPagesFit) {
  Fonts& f = GetFonts();
  for (int lang = 0; lang < 2; ++lang) {
    LoadLanguage(lang);
    SCOPED_TRACE(kFileNames[lang]);
    auto T = [](int n, std::initializer_list<FormatArg> args) { return FormatText(GetLangText(n), args); };
    auto W = [](int n, std::initializer_list<FormatArg> args) { return FormatTextWin(GetLangText(n), args); };
    const std::string time = T(22, {59, 59}) + "\n";
    const std::string grade = T(50, {6.0});
    const std::string rightWrong = T(30, {20}) + "\n" + T(31, {20}) + "\n\n" + T(32, {100}) + "\n\n";
    const std::vector<std::string> results = {
        time + T(57, {99}) + "\n\n" + grade,                                          // shapes
        time + T(68, {}) + "\n" + T(57, {0}) + "\n\n" + grade,                          // shapes, no picture
        time + T(29, {40}) + "\n" + T(27, {999}) + "\n\n" + grade,                     // flip
        time + rightWrong + grade,                                                    // date, pyramid, clocks
        time + T(36, {39}) + "\n\n" + grade,                                          // lamps, lost
        time + T(38, {}) + "\n\n" + grade,                                            // lamps, won
        time + "\n" + grade,                                                          // colour code, atoms
        time + T(23, {99}) + "\n" + T(24, {99}) + "\n\n" + grade,                     // pairs
        time + T(30, {10}) + "\n" + T(31, {10}) + "\n\n" + T(32, {100}) + "\n\n" + T(41, {123.4}) + "\n" +
            grade,                                                                    // pattern sums
        time + T(25, {5, 6}) + "\n\n" + grade,                                        // pattern memory
        time + T(26, {6, 6}) + "\n\n" + grade,
        time + T(29, {150}) + "\n" + T(27, {999}) + "\n" + T(28, {99}) + "\n\n" + grade,  // sliding
        time + T(40, {99}) + "\n" + T(41, {123.4}) + "\n\n" + grade,                  // Sudoku
        T(37, {59, 59}) + "\n" + T(30, {10}) + "\n" + T(31, {10}) + "\n" + T(41, {60.0}) + "\n\n" + grade,
        time + T(142, {7, 7}) + "\n" + T(143, {7, 7}) + "\n\n" + grade,                // change
        W(22, {59, 59}) + "\n" + W(124, {99}) + "\n" + W(30, {10}) + "\n" + W(31, {10}) + "\n" +
            W(32, {100}) + "\n\n" + T(41, {123.4}) + "\n" + grade,                    // number clicking
    };
    // Page 55: the body between the title and the name line, 540 x 235,
    // at least in the 26-point size (the page takes 30 where that fits);
    // the name being typed, with its caret, in the 440 x 60 above the tick.
    for (const std::string& r : results) ExpectBlockFits(f.comic26, r, 560, 235, "result");
    ExpectBlockFits(f.comic30, T(54, {"Alexandra Maier|"}), 460, 60, "name entry");
    // Page 57: a long series.
    ExpectBlockFits(f.comic30,
                    T(22, {125, 59}) + "\n" + T(45, {1.0}) + "\n" + T(46, {6.0}) + "\n\n" + T(50, {3.25}) + "\n",
                    560, 235, "series result");
  }
}

TEST_F(LanguageFit, StatisticsPagesFit) {
  Fonts& f = GetFonts();
  for (int lang = 0; lang < 2; ++lang) {
    LoadLanguage(lang);
    SCOPED_TRACE(kFileNames[lang]);
    auto T = [](int n, std::initializer_list<FormatArg> args) { return FormatText(GetLangText(n), args); };
    const std::string totals = T(43, {9999, 59, 59}) + "\n" + T(44, {9999}) + "\n" + T(45, {1.0}) + "\n" +
                               T(46, {6.0}) + "\n" + T(47, {3.25}) + "\n" + T(48, {9999});
    // Page 40: ten series lines, each followed by its difficulty word, then
    // the totals, in 800 x 480.
    std::string overall;
    for (int place = 1; place <= 10; ++place) {
      std::string line = T(62, {place, "Alexandra M.", 6.0, 1.0, 6.0});
      line += Text(59 + place % 3);
      ExpectLineFits(f.comic30, line, 800, "series line", 20);
      overall += line + "\n";
    }
    overall += totals;
    // Sixteen lines between the title band and the buttons: in the 26-point
    // size, within the page's 740 pixels less its rims.
    ExpectBlockFits(f.comic26, overall, 760, 445, "overall statistics");
    // Page 52: ten top-10 lines and the totals, the same way.
    std::string game;
    for (int place = 1; place <= 10; ++place)
      game += T(49, {place, "Alexandra M.", 31, 12, 2024, 6.0}) + "\n";
    ExpectBlockFits(f.comic26, game + totals, 760, 445, "game statistics");
    // A line with its name shortened to the ellipsis alone still fits: the
    // other fields never need the name's room.
    ExpectLineFits(f.comic26, T(62, {10, "\x85", 6.0, 1.0, 6.0}) + Text(61), 740, "series line", 200);
    ExpectLineFits(f.comic26, T(49, {10, "\x85", 31, 12, 2024, 6.0}), 740, "top-10 line", 200);
  }
}

TEST_F(LanguageFit, LinesInsideTheGamesFit) {
  Fonts& f = GetFonts();
  for (int lang = 0; lang < 2; ++lang) {
    LoadLanguage(lang);
    SCOPED_TRACE(kFileNames[lang]);
    auto T = [](int n, std::initializer_list<FormatArg> args) { return FormatText(GetLangText(n), args); };
    // The 300 x 50 time bar, in the lamp game with its second line.
    ExpectBlockFits(f.arial20, FormatTextWin(GetLangText(63), {59, 59}), 300, 50, "time bar");
    ExpectBlockFits(f.arial20, T(63, {59, 59}) + "\n" + T(51, {40, 40}), 300, 50, "lamp time bar");
    ExpectBlockFits(f.arial20, T(63, {59, 59}) + "\n" + T(52, {40, 40}), 300, 50, "lamp time bar");
    // The 300 x 50 line below the time bar.
    for (int n : {122, 123}) ExpectBlockFits(f.arial20, Text(n), 300, 50, "order line");
    ExpectBlockFits(f.arial20, T(117, {1, 0}), 300, 50, "time left");
    ExpectBlockFits(f.arial20, T(132, {8, 64}), 500, 50, "atoms line");
    // The legend between the two sample cells, which are 100 pixels apart.
    ExpectLineFits(f.arial20, Text(101), 100, "legend", 4);
    // Status lines at the top of the pattern and shape games.
    ExpectLineFits(f.arial30, T(51, {6, 6}), 1024, "status line", 100);
    ExpectLineFits(f.arial30, T(52, {6, 6}), 1024, "status line", 100);
    ExpectLineFits(f.arial30, T(55, {99, 99}), 1024, "status line", 100);
    ExpectLineFits(f.arial30, Text(68), 1024, "status line", 100);
    // Captions of the money fields, each a quarter of the screen wide.
    for (int n : {144, 145, 146}) ExpectLineFits(f.arial25, Text(n), 256, "money field");
    // The date game: start line and the longest task, between the start line
    // above and the answer below.
    ExpectLineFits(f.arial25, T(197, {LangTextOrEmpty(193), 28, 12, 1925}), 1024, "start date", 100);
    ExpectLineFits(f.arial25, T(197, {LangTextOrEmpty(194), 28, 12, 1925}), 1024, "start date", 100);
    for (int header : {188, 189}) {
      const std::string task = Text(header) + T(185, {51}) + T(183, {7}) + T(175, {30});
      const Size s = Measure(f.arial25, task, 1024, DT_CENTER | DT_VCENTER);
      EXPECT_LE(s.width, 924) << task;
      EXPECT_LE(s.height, 250) << task;
    }
  }
}

}  // namespace
