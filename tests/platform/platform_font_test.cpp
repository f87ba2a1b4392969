// Font faces: family substitution, cell-height fitting and glyph masks.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/font_face.h"

namespace {

int InkSum(const GlyphBitmap& g) {
  int sum = 0;
  for (uint8_t c : g.coverage) sum += c;
  return sum;
}

}  // namespace

TEST(PlatformFontFace, WindowsFamiliesMapToTheirStandIns) {
  auto arial = FontFace::Open("Arial", 20);
  ASSERT_TRUE(arial);
  EXPECT_EQ(arial->FamilyName(), "Liberation Sans");
  EXPECT_FALSE(arial->SyntheticBold());  // the bold face file itself
  auto comic = FontFace::Open("Comic Sans MS", 20);
  ASSERT_TRUE(comic);
  EXPECT_EQ(comic->FamilyName(), "Comic Neue");
  EXPECT_FALSE(comic->SyntheticBold());
  // Names are matched without regard to case, as Windows does.
  auto lower = FontFace::Open("arial", 20);
  ASSERT_TRUE(lower);
  EXPECT_EQ(lower->FamilyName(), "Liberation Sans");
}

TEST(PlatformFontFace, UnknownOrMissingNamesStillOpen) {
  for (const char* name : {"No Such Face 12345", "", static_cast<const char*>(nullptr)}) {
    auto face = FontFace::Open(name, 18);
    ASSERT_TRUE(face) << (name ? name : "(null)");
    GlyphBitmap a;
    EXPECT_TRUE(face->RenderGlyph('A', &a));
    EXPECT_GT(InkSum(a), 0);
  }
  // Degenerate heights still give a usable face.
  EXPECT_TRUE(FontFace::Open("Arial", 0));
  EXPECT_TRUE(FontFace::Open("Arial", -12));
  EXPECT_TRUE(FontFace::Open("Arial", 100000));
}

TEST(PlatformFontFace, CellHeightMatchesTheRequest) {
  for (const char* name : {"Arial", "Comic Sans MS"})
    for (int cell : {15, 20, 30, 40, 80}) {
      auto face = FontFace::Open(name, cell);
      ASSERT_TRUE(face);
      EXPECT_NEAR(face->CellHeight(), cell, 1) << name << " " << cell;
      EXPECT_EQ(face->CellHeight(), face->Ascent() + face->Descent());
      EXPECT_GT(face->Descent(), 0);
    }
}

TEST(PlatformFontFace, GlyphMasksSitOnTheBaseline) {
  auto face = FontFace::Open("Arial", 40);
  ASSERT_TRUE(face);
  GlyphBitmap a, g, space;
  ASSERT_TRUE(face->RenderGlyph('A', &a));
  EXPECT_GT(InkSum(a), 0);
  EXPECT_EQ(a.coverage.size(), static_cast<size_t>(a.width) * a.height);
  EXPECT_GT(a.advance, 0);
  EXPECT_GT(a.top, 0);
  EXPECT_LE(a.top, face->Ascent());
  // 'A' stands on the baseline: its lowest inked row is the last mask row,
  // which lies just above the baseline.
  EXPECT_EQ(a.top - a.height, 0);
  int lastInkRow = -1;
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x)
      if (a.coverage[y * a.width + x] > 0) lastInkRow = y;
  EXPECT_EQ(lastInkRow, a.height - 1);

  ASSERT_TRUE(face->RenderGlyph('g', &g));
  EXPECT_LT(g.top - g.height, 0);  // the descender goes below the baseline
  EXPECT_GE(g.top - g.height, -face->Descent() - 1);

  ASSERT_TRUE(face->RenderGlyph(' ', &space));
  EXPECT_GT(space.advance, 0);
  EXPECT_EQ(InkSum(space), 0);

  // Windows-1252 extras map to Unicode code points the face has.
  GlyphBitmap euro, umlaut;
  EXPECT_TRUE(face->RenderGlyph(0x20AC, &euro));
  EXPECT_TRUE(face->RenderGlyph(0x00D6, &umlaut));
  EXPECT_GT(umlaut.top, a.top);  // the dots rise above the capital

  GlyphBitmap none;
  EXPECT_FALSE(face->RenderGlyph(0x10FFFD, &none));
  EXPECT_FALSE(face->RenderGlyph('A', nullptr));
  EXPECT_LE(face->Kerning('A', 'V'), 0);
  EXPECT_EQ(face->Kerning('H', 'H'), 0);
}

// Faces opened while or after the libraries were prepared in the background
// are the faces a plain open gives; preparing again or finishing twice is
// harmless, and an unknown family still falls back to a face.
TEST(PlatformFont, PreparedInTheBackgroundTheSameFacesOpen) {
  auto before = FontFace::Open("Comic Sans MS", 24);
  ASSERT_TRUE(before);
  FontFace::PrepareInBackground({"Comic Sans MS", "Arial", "No Such Family At All"});
  FontFace::PrepareInBackground({"Arial"});  // already under way: nothing more
  auto comic = FontFace::Open("Comic Sans MS", 24);
  auto arial = FontFace::Open("Arial", 15);
  auto unknown = FontFace::Open("No Such Family At All", 15);
  FontFace::FinishPreparing();
  FontFace::FinishPreparing();
  ASSERT_TRUE(comic);
  ASSERT_TRUE(arial);
  ASSERT_TRUE(unknown);
  EXPECT_EQ(comic->FilePath(), before->FilePath());
  EXPECT_EQ(comic->PointSize(), before->PointSize());
  EXPECT_NE(arial->FilePath(), comic->FilePath());
  EXPECT_FALSE(unknown->FilePath().empty());
}
