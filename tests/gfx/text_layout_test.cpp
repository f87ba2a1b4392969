// Line layout with fixed character widths, so every break can be checked
// exactly: letters are 10 px, blanks 5 px, "AV" kerns by -3, 0x81 has no glyph.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>
#include "gfx/cp1252.h"
#include "gfx/text_layout.h"

namespace {

class FixedMetrics : public TextMetrics {
 public:
  bool Advance(unsigned char byte, int* advance) override {
    if (byte == 0x81) return false;
    *advance = byte == ' ' ? 5 : 10;
    return true;
  }
  int Kerning(unsigned char left, unsigned char right) override {
    return (left == 'A' && right == 'V') ? -3 : 0;
  }
};

// The lines as "text|width" strings, easy to compare.
std::vector<std::string> Layout(const char* text, int64_t boxWidth, DWORD format) {
  FixedMetrics metrics;
  std::vector<TextLine> lines;
  LayoutText(text, std::strlen(text), boxWidth, format, metrics, &lines);
  std::vector<std::string> out;
  for (const TextLine& l : lines)
    out.push_back(std::string(text + l.start, text + l.end) + "|" + std::to_string(l.width));
  return out;
}

using Lines = std::vector<std::string>;

}  // namespace

TEST(TextLayout, HardLineBreaks) {
  EXPECT_EQ(Layout("ab\ncd\r\nef\rg", 1000, 0), (Lines{"ab|20", "cd|20", "ef|20", "g|10"}));
  EXPECT_EQ(Layout("a\n\nb", 1000, 0), (Lines{"a|10", "|0", "b|10"}));
  // A break at the very end starts no further line; a lone break is one empty line.
  EXPECT_EQ(Layout("ab\r\n", 1000, 0), (Lines{"ab|20"}));
  EXPECT_EQ(Layout("\n", 1000, 0), (Lines{"|0"}));
  EXPECT_TRUE(Layout("", 1000, 0).empty());
  // Without word breaking a line wider than the box stays whole.
  EXPECT_EQ(Layout("aaaa bbbb", 30, 0), (Lines{"aaaa bbbb|85"}));
}

TEST(TextLayout, SingleLineTurnsBreaksIntoBlanks) {
  EXPECT_EQ(Layout("ab\r\ncd", 1000, DT_SINGLELINE), (Lines{"ab\r\ncd|45"}));
  EXPECT_EQ(Layout("a\nb\rc", 1000, DT_SINGLELINE), (Lines{"a\nb\rc|40"}));
  // Word breaking has no effect on a single line.
  EXPECT_EQ(Layout("aaaa bbbb", 30, DT_SINGLELINE | DT_WORDBREAK), (Lines{"aaaa bbbb|85"}));
}

TEST(TextLayout, WordBreakAtBlanks) {
  EXPECT_EQ(Layout("aaa bbb ccc", 75, DT_WORDBREAK), (Lines{"aaa bbb|65", "ccc|30"}));
  // The blanks at a soft break belong to neither line.
  EXPECT_EQ(Layout("aaa    bbb", 50, DT_WORDBREAK), (Lines{"aaa|30", "bbb|30"}));
  // Blanks may hang over the edge without forcing a break.
  EXPECT_EQ(Layout("aaa  ", 30, DT_WORDBREAK), (Lines{"aaa  |40"}));
  // Leading blanks of a hard line are kept; hard and soft breaks mix.
  EXPECT_EQ(Layout("  aa bb\ncc dd", 50, DT_WORDBREAK), (Lines{"  aa|30", "bb|20", "cc dd|45"}));
  // A line that fits exactly is not broken.
  EXPECT_EQ(Layout("aa bb", 45, DT_WORDBREAK), (Lines{"aa bb|45"}));
}

TEST(TextLayout, WordLongerThanTheLineIsBrokenWhereItNoLongerFits) {
  EXPECT_EQ(Layout("abcdefghij", 35, DT_WORDBREAK), (Lines{"abc|30", "def|30", "ghi|30", "j|10"}));
  EXPECT_EQ(Layout("x abcdefgh", 35, DT_WORDBREAK), (Lines{"x|10", "abc|30", "def|30", "gh|20"}));
  // A box narrower than one character still makes progress, one per line.
  EXPECT_EQ(Layout("ab c", 0, DT_WORDBREAK), (Lines{"a|10", "b|10", "c|10"}));
  EXPECT_EQ(Layout("ab", -50, DT_WORDBREAK), (Lines{"a|10", "b|10"}));
}

TEST(TextLayout, KerningAndMissingGlyphs) {
  EXPECT_EQ(Layout("AV", 1000, 0), (Lines{"AV|17"}));
  EXPECT_EQ(Layout("AV", 17, DT_WORDBREAK), (Lines{"AV|17"}));  // kerning counts when fitting
  // A byte without a glyph takes no room and does not interrupt a kerning pair.
  EXPECT_EQ(Layout("a\x81" "b", 1000, 0), (Lines{"a\x81" "b|20"}));
  EXPECT_EQ(Layout("A\x81V", 1000, 0), (Lines{"A\x81V|17"}));
}

TEST(Cp1252, ConvertsTheHighControlRange) {
  EXPECT_EQ(Cp1252ToUnicode(0x80), 0x20ACu);  // €
  EXPECT_EQ(Cp1252ToUnicode(0x84), 0x201Eu);  // „
  EXPECT_EQ(Cp1252ToUnicode(0x93), 0x201Cu);  // “
  EXPECT_EQ(Cp1252ToUnicode(0x96), 0x2013u);  // –
  EXPECT_EQ(Cp1252ToUnicode(0x9F), 0x0178u);  // Ÿ
  for (unsigned char undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) EXPECT_EQ(Cp1252ToUnicode(undefined), 0u);
  EXPECT_EQ(Cp1252ToUnicode(0xC4), 0xC4u);  // Ä is Latin-1
  EXPECT_EQ(Cp1252ToUnicode('a'), static_cast<uint32_t>('a'));
  EXPECT_EQ(Cp1252ToUtf8("\x84\xC4\x80\x81!"), "\xE2\x80\x9E\xC3\x84\xE2\x82\xAC!");
  EXPECT_EQ(Cp1252ToUtf8(nullptr), "");
}
