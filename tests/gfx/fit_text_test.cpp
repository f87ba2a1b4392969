// Names shortened so that a line fits its panel: the longest part of the
// name that fits is kept, the rest of the line always stays whole.
#include <gtest/gtest.h>

#include <string>

#include "gfx/fit_text.h"
#include "gfx/font.h"

namespace {

class FitText : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!font.HasFace()) GTEST_SKIP() << "no font installed";
  }
  static std::string Line(const std::string& name) { return "3. " + name + "  2.50  (31.12.2024)"; }

  Font font{"Comic Sans MS", 30, 7001};
  const std::string longName = std::string(99, 'W');
};

TEST_F(FitText, ALineThatFitsKeepsTheWholeName) {
  const std::string line = FitNameInLine(&font, 2000, "Anna", Line);
  EXPECT_EQ(line, Line("Anna"));
  // Without a font nothing can be measured: the line is left whole.
  EXPECT_EQ(FitNameInLine(nullptr, 10, longName, Line), Line(longName));
  EXPECT_EQ(FitNameInLine(&font, 10, "", Line), Line(""));
}

TEST_F(FitText, ALongNameKeepsItsStartAsFarAsTheLineFits) {
  for (int width : {300, 500, 740}) {
    SCOPED_TRACE(width);
    const std::string line = FitNameInLine(&font, width, longName, Line);
    EXPECT_LE(LineWidth(&font, line), width);
    // "3. WWW…  2.50  (31.12.2024)": the fields around the name are whole.
    ASSERT_EQ(line.rfind("3. W", 0), 0u) << line;
    const size_t cut = line.find(TEXT_ELLIPSIS);
    ASSERT_NE(cut, std::string::npos) << line;
    EXPECT_EQ(line.substr(cut + 1), "  2.50  (31.12.2024)");
    // One more character of the name would not fit.
    const size_t kept = cut - 3;
    EXPECT_GT(LineWidth(&font, Line(longName.substr(0, kept + 1) + TEXT_ELLIPSIS)), width);
  }
  // Too narrow for any of the name: the ellipsis stands for all of it.
  EXPECT_EQ(FitNameInLine(&font, 50, longName, Line), Line(std::string(1, TEXT_ELLIPSIS)));
  // No blank is left between the name and the ellipsis.
  const std::string spaced = "Anna Maria " + longName;
  const int width = LineWidth(&font, Line(std::string("Anna Maria ") + TEXT_ELLIPSIS));
  EXPECT_EQ(FitNameInLine(&font, width, spaced, Line), Line(std::string("Anna Maria") + TEXT_ELLIPSIS));
}

TEST_F(FitText, ANameBeingTypedShowsItsEnd) {
  const std::string name = "Anfang" + longName + "Ende";
  const std::string line = FitNameInLine(&font, 400, name, Line, KeepEnd::End);
  EXPECT_LE(LineWidth(&font, line), 400);
  EXPECT_EQ(line.rfind(std::string("3. ") + TEXT_ELLIPSIS + "W", 0), 0u) << line;
  EXPECT_NE(line.find("WEnde  2.50"), std::string::npos) << line;
}

}  // namespace
