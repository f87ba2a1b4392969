// The safe formatter of language texts: it must print what sprintf prints for
// every directive it accepts, and show any directive that does not fit the
// arguments as written instead of reading a wrong argument.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <random>
#include <string>

#include "util/format_text.h"

namespace {

template <typename T>
std::string Sprintf(const std::string& format, T value) {
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, format.c_str(), value);
  return buffer;
}

const char* const kIntFlags[] = {"", "-", "+", " ", "#", "0", "-+", "+0", " 0", "#0", "-#", "-0", "+ ", "-+ #0"};
const char* const kWidths[] = {"", "1", "5", "12"};
const char* const kPrecisions[] = {"", ".", ".0", ".1", ".4", ".10"};

TEST(FormatTextTest, IntegersMatchSprintfForEveryFlagWidthAndPrecision) {
  const int values[] = {0, 1, -1, 42, -42, 255, 65535, 123456789, INT_MAX, INT_MIN};
  for (const char* conv : {"d", "i", "u", "x", "X", "o"})
    for (const char* flags : kIntFlags)
      for (const char* width : kWidths)
        for (const char* precision : kPrecisions)
          for (int v : values) {
            const std::string f = std::string("<%") + flags + width + precision + conv + ">";
            ASSERT_EQ(FormatText(f.c_str(), {v}), Sprintf(f, v)) << f << " " << v;
          }
}

TEST(FormatTextTest, LengthMarksMatchSprintf) {
  EXPECT_EQ(FormatText("%hd", {70000}), Sprintf("%hd", static_cast<short>(70000)));
  EXPECT_EQ(FormatText("%hu", {-1}), Sprintf("%hu", static_cast<unsigned short>(-1)));
  EXPECT_EQ(FormatText("%hhd", {300}), Sprintf("%hhd", static_cast<signed char>(300)));
  EXPECT_EQ(FormatText("%ld", {-5}), "-5");
  EXPECT_EQ(FormatText("%lld", {123456789012LL}), "123456789012");
  EXPECT_EQ(FormatText("%I64d", {-123456789012LL}), "-123456789012");
  EXPECT_EQ(FormatText("%I64x", {255}), "ff");
  EXPECT_EQ(FormatText("%c%c", {'O', 'K'}), "OK");
  // Plain %d takes an int, as sprintf would.
  EXPECT_EQ(FormatText("%d", {0x100000001LL}), "1");
}

TEST(FormatTextTest, RealsAndStringsMatchSprintf) {
  const double values[] = {0.0, 1.5, -2.25, 3.33333333, 1234567.0, 1e-7, 6.0};
  for (const char* conv : {"f", "F", "e", "E", "g", "G", "a", "A", "lf"})
    for (const char* flags : {"", "-", "+", " ", "#", "0"})
      for (const char* width : {"", "8"})
        for (const char* precision : {"", ".0", ".1", ".2"})
          for (double v : values) {
            const std::string f = std::string("[%") + flags + width + precision + conv + "]";
            ASSERT_EQ(FormatText(f.c_str(), {v}), Sprintf(f, v)) << f;
          }
  EXPECT_EQ(FormatText("%s|%8s|%-8s|%.2s|%hs", {"ab", "cd", "ef", "ghij", "k"}),
            Sprintf("%s|", "ab") + Sprintf("%8s|", "cd") + Sprintf("%-8s|", "ef") +
                Sprintf("%.2s|", "ghij") + "k");
  EXPECT_EQ(FormatText(" Time: %d:%02d", {3, 7}), " Time: 3:07");
  EXPECT_EQ(FormatText(" Grade: %.1f", {2.25}), Sprintf(" Grade: %.1f", 2.25));
}

TEST(FormatTextTest, PercentNullsAndExtraArguments) {
  EXPECT_EQ(FormatText("Rate: %d%%", {75}), "Rate: 75%");
  EXPECT_EQ(FormatText("%%d", {1}), "%d");
  EXPECT_EQ(FormatText(nullptr, {1, 2.0}), "");
  EXPECT_EQ(FormatText("[%s]", {static_cast<const char*>(nullptr)}), "[]");
  EXPECT_EQ(FormatText("[%3s]", {static_cast<const char*>(nullptr)}), "[   ]");
  EXPECT_EQ(FormatText("only %d", {1, 2, "three", 4.0}), "only 1");
  EXPECT_EQ(FormatText("no directives", {}), "no directives");
  EXPECT_EQ(FormatTextWin(nullptr, {}), "");
}

TEST(FormatTextTest, MismatchedDirectivesAreShownAsWritten) {
  // Wrong type: the directive stays, and its argument is kept for the next one.
  EXPECT_EQ(FormatText("%d %f", {1.5}), "%d 1.500000");
  EXPECT_EQ(FormatText("%s", {7}), "%s");
  EXPECT_EQ(FormatText("%f", {"text"}), "%f");
  EXPECT_EQ(FormatText("%d", {"text"}), "%d");
  // Too few arguments.
  EXPECT_EQ(FormatText("%d and %d", {1}), "1 and %d");
  EXPECT_EQ(FormatText("%s %s %s", {}), "%s %s %s");
  // Never honoured: %n, *, unknown or cut-off directives.
  EXPECT_EQ(FormatText("%n%d", {5}), "%n5");
  EXPECT_EQ(FormatText("%*d|%.*d|%d", {3, 4}), "%*d|%.*d|3");
  EXPECT_EQ(FormatText("%q %y", {1}), "%q %y");
  EXPECT_EQ(FormatText("100%", {1}), "100%");
  EXPECT_EQ(FormatText("100% sure", {1}), "100% sure");
  EXPECT_EQ(FormatText("%5", {1}), "%5");
  EXPECT_EQ(FormatText("%p", {1}), "%p");
  EXPECT_EQ(FormatText("%Lf", {1.0}), "%Lf");
  EXPECT_EQ(FormatText("%ls", {"x"}), "%ls");
  EXPECT_EQ(FormatText("%hf", {1.0}), "%hf");
  EXPECT_EQ(FormatText("%lc", {65}), "%lc");
  // A positional directive is not understood either.
  EXPECT_EQ(FormatText("%1$d", {1}), "%1$d");
}

TEST(FormatTextTest, OutputIsBounded) {
  // A width beyond the limit is not honoured at all.
  EXPECT_EQ(FormatText("%99999999999d", {1}), "%99999999999d");
  EXPECT_EQ(FormatText("%.99999999999f", {1.0}), "%.99999999999f");
  // Long output is cut at 16 KiB.
  const std::string big(10000, 'x');
  const std::string out = FormatText("%s%s%s", {big.c_str(), big.c_str(), big.c_str()});
  EXPECT_EQ(out.size(), 16u * 1024u);
  EXPECT_EQ(FormatText("%16000d|%16000d", {1, 2}).size(), 16u * 1024u);
  EXPECT_EQ(FormatText("%f", {1e308}), Sprintf("%f", 1e308));
  EXPECT_EQ(FormatTextWin("%s%s", {big.c_str(), big.c_str()}).size(), 1023u);
}

TEST(FormatTextTest, AppendingWritesIntoTheCallersBuffer) {
  // The same text as FormatText, after what the buffer held, and in place
  // while its capacity suffices.
  std::string out = "ab";
  out.reserve(4096);
  const char* buffer = out.data();
  AppendFormatText(out, "<%-5d|%s|%.2f|%c|%5%>", {7, "x", 1.5, 'q'});
  AppendFormatText(out, "%300d", {5});  // longer than any small scratch space
  AppendFormatText(out, nullptr, {1});
  EXPECT_EQ(out, "ab" + FormatText("<%-5d|%s|%.2f|%c|%5%>", {7, "x", 1.5, 'q'}) + std::string(299, ' ') + "5");
  EXPECT_EQ(out.data(), buffer);
  // The bound counts only what one call adds.
  const std::string big(10000, 'x');
  out.assign(20000, 'y');
  AppendFormatText(out, "%s%s", {big.c_str(), big.c_str()});
  EXPECT_EQ(out.size(), 20000u + 16u * 1024u);
  EXPECT_EQ(out.find('x'), 20000u);
  // Flags written more than once mean what they mean once.
  for (const char* f : {"%--5d|", "%00+ +5d|", "%##x|", "%-+-+ #0 #0-12.3d|", "%0000-#x"})
    EXPECT_EQ(FormatText(f, {42}), Sprintf(f, 42)) << f;
}

TEST(FormatTextTest, WindowsFormatterTakesIntegersAndStringsOnly) {
  EXPECT_EQ(FormatTextWin(" Time: %d:%02d", {61, 5}), " Time: 61:05");
  EXPECT_EQ(FormatTextWin("%f", {1.5}), "%f");
  EXPECT_EQ(FormatTextWin("%.1f %d", {1.5, 3}), "%.1f %d");  // the real is never consumed
  EXPECT_EQ(FormatTextWin("%g|%d", {2}), "%g|2");
  EXPECT_EQ(FormatTextWin("%+d % d %o", {1, 2, 3}), "%+d % d %o");
  EXPECT_EQ(FormatTextWin("%s %c %u %x %X %ld %I64d %hd", {"a", 'b', 3, 255, 255, 6, 7, 8}),
            "a b 3 ff FF 6 7 8");
  EXPECT_EQ(FormatTextWin("%d%%", {50}), "50%");
  EXPECT_EQ(FormatTextWin("%lld", {1}), "%lld");
  for (const char* flags : {"", "-", "0", "#", "-0", "#0"})
    for (const char* width : kWidths)
      for (const char* precision : kPrecisions)
        for (const char* conv : {"d", "i", "u", "x", "X"})
          for (int v : {0, 7, -7, 4096, INT_MIN}) {
            const std::string f = std::string("%") + flags + width + precision + conv;
            ASSERT_EQ(FormatTextWin(f.c_str(), {v}), Sprintf(f, v)) << f;
          }
}

TEST(FormatTextTest, HostileRandomFormatsNeverMisbehave) {
  std::mt19937 random(1234);
  const std::string alphabet = "%%%%%-+ #0123456789.*hlLIq64nsdifegxXocpaA$|";
  for (int round = 0; round < 20000; ++round) {
    std::string f;
    const int length = static_cast<int>(random() % 24);
    for (int i = 0; i < length; ++i) f += alphabet[random() % alphabet.size()];
    const std::string a = FormatText(f.c_str(), {1, 2.5, "s", -3, static_cast<const char*>(nullptr)});
    const std::string b = FormatTextWin(f.c_str(), {1, 2.5, "s"});
    ASSERT_LE(a.size(), 16u * 1024u);
    ASSERT_LE(b.size(), 1023u);
  }
}

}  // namespace
