// The square pattern field: cell geometry, the cell pictures, clicks (gaps and
// locked grids ignored), or / xor combination, comparison and the random
// patterns of locked grids.
#include <gtest/gtest.h>

#include "framework/quad_field.h"
#include "platform/crt_rand.h"
#include "support/test_app.h"
#include "util/app_context.h"

namespace {

class QuadFieldTest : public testapp::AppTest {
 protected:
  const char* FolderPrefix() const override { return "denkar_quad_field"; }
  // Sets the cells listed as (column, row) pairs.
  static void Light(QuadField& grid, std::initializer_list<std::pair<int, int>> cells) {
    for (const auto& [a, b] : cells) grid.Set(a, b, true);
  }
};

TEST_F(QuadFieldTest, CellsAndGapsOfAGrid) {
  // 3 x 3 in 200 px with 3 px gaps: (200 - 9) / 3 = 63.67, truncated to 63.
  QuadField grid(false, 3, 5, 200, nullptr, 3);
  ASSERT_EQ(grid.CellCount(), 9);
  const int offsets[] = {0, 66, 132};
  for (int a = 0; a < 3; ++a)
    for (int b = 0; b < 3; ++b) {
      const QuadCell* cell = grid.Cell(a * 3 + b);  // column-major
      ASSERT_EQ(cell, grid.Cell(a, b));
      EXPECT_DOUBLE_EQ(cell->size, 63.0);
      EXPECT_FLOAT_EQ(cell->left, 512 - 100 + offsets[a]);  // around the screen centre
      EXPECT_FLOAT_EQ(cell->top, 384 - 100 + offsets[b]);
      EXPECT_EQ(cell->scheme, 5);
      EXPECT_FALSE(cell->IsOn());
    }
  EXPECT_EQ(grid.Cell(3, 0), nullptr);
  EXPECT_EQ(grid.Cell(-1, 0), nullptr);
  grid.Set(3, 0, true);  // outside: nothing
  grid.Set(0, -1, true);
  EXPECT_EQ(grid.LitCount(), 0);

  // A given centre, an odd total size (-101 / 2 rounds toward zero) and no gap.
  const D3DXVECTOR2 centre{300.5f, 200.0f};
  QuadField small(false, 4, 0, 101, &centre, 0);
  EXPECT_DOUBLE_EQ(small.Cell(0)->size, 25.0);
  EXPECT_FLOAT_EQ(small.Cell(0)->left, 300.5f - 50);
  EXPECT_FLOAT_EQ(small.Cell(3, 2)->left, 300.5f - 50 + 75);
  EXPECT_FLOAT_EQ(small.Cell(3, 2)->top, 200.0f - 50 + 50);
}

TEST_F(QuadFieldTest, CellPictureBySchemeAndState) {
  QuadCell cell(30, 0, 0, 7);  // second row of schemes, second column
  EXPECT_EQ(cell.SourceRect().left, 100);
  EXPECT_EQ(cell.SourceRect().top, 250);
  cell.Flip();
  EXPECT_EQ(cell.SourceRect().top, 350);
  EXPECT_EQ(cell.SourceRect().right, 150);
  EXPECT_EQ(cell.SourceRect().bottom, 400);
}

TEST_F(QuadFieldTest, ClicksFlipTheCellUnderThePointOnly) {
  QuadField grid(false, 3, 0, 200, nullptr, 3);
  const float x0 = 412, y0 = 284;  // the first cell's corner
  // Both edges of a cell belong to it.
  EXPECT_TRUE(grid.Click(x0, y0));
  EXPECT_TRUE(grid.IsOn(0, 0));
  EXPECT_TRUE(grid.Click(x0 + 63, y0 + 63));
  EXPECT_FALSE(grid.IsOn(0, 0));
  // The 3-pixel gaps (64 and 65 past a corner) and the outside change nothing.
  for (float gapX : {x0 + 64, x0 + 65, x0 + 130, x0 + 131}) {
    EXPECT_FALSE(grid.Click(gapX, y0 + 10));
    EXPECT_FALSE(grid.Contains(gapX, y0 + 10));
  }
  EXPECT_FALSE(grid.Click(x0 + 10, y0 + 64.5f));
  EXPECT_FALSE(grid.Click(x0 - 1, y0));
  EXPECT_FALSE(grid.Click(x0 + 196, y0));
  EXPECT_EQ(grid.LitCount(), 0);
  EXPECT_TRUE(grid.Click(x0 + 66 + 30, y0 + 132 + 30));
  EXPECT_TRUE(grid.IsOn(1, 2));
  EXPECT_EQ(grid.LitCount(), 1);
  // Without gaps, the shared edge belongs to the first cell in list order.
  QuadField tight(false, 2, 0, 100, nullptr, 0);
  EXPECT_TRUE(tight.Click(512, 334 + 10));
  EXPECT_TRUE(tight.IsOn(0, 0));
  EXPECT_FALSE(tight.IsOn(1, 0));

  // A locked grid shows a pattern and ignores every click.
  QuadField shown(true, 3, 0, 200, nullptr, 3);
  QuadField before(false, 3, 0, 200, nullptr, 3);
  before.CopyFrom(shown);
  for (int i = 0; i < shown.CellCount(); ++i) {
    const QuadCell* cell = shown.Cell(i);
    EXPECT_TRUE(shown.Contains(cell->left + 5, cell->top + 5));
    EXPECT_FALSE(shown.Click(cell->left + 5, cell->top + 5));
  }
  EXPECT_TRUE(shown.Equals(before));
}

TEST_F(QuadFieldTest, ApplyOrAndXorEqualsCopyAndClear) {
  QuadField a(false, 3, 0, 200, nullptr, 3), b(false, 3, 0, 200, nullptr, 3);
  Light(a, {{0, 0}, {1, 1}, {2, 0}});
  Light(b, {{1, 1}, {2, 2}});
  EXPECT_TRUE(a.Equals(a));
  EXPECT_FALSE(a.Equals(b));
  QuadField sum(false, 3, 0, 200, nullptr, 3);
  sum.CopyFrom(a);
  EXPECT_TRUE(sum.Equals(a));
  sum.Apply(b, false);  // or never switches a lit cell off
  for (int i = 0; i < 9; ++i)
    EXPECT_EQ(sum.Cell(i)->IsOn(), a.Cell(i)->IsOn() || b.Cell(i)->IsOn()) << i;
  sum.Apply(b, false);
  EXPECT_EQ(sum.LitCount(), 4);

  QuadField flipped(false, 3, 0, 200, nullptr, 3);
  flipped.CopyFrom(a);
  flipped.Apply(b, true);  // xor: lit in both becomes dark
  EXPECT_FALSE(flipped.IsOn(1, 1));
  EXPECT_TRUE(flipped.IsOn(0, 0));
  EXPECT_TRUE(flipped.IsOn(2, 2));
  EXPECT_EQ(flipped.LitCount(), 3);
  flipped.Apply(b, true);  // the same pattern twice restores
  EXPECT_TRUE(flipped.Equals(a));

  // Grids of another size are combined only where their cells exist and
  // are never equal.
  QuadField big(false, 4, 0, 200, nullptr, 3);
  big.Set(0, 0, true);
  big.Set(3, 3, true);
  flipped.Apply(big, true);
  EXPECT_FALSE(flipped.IsOn(0, 0));
  EXPECT_EQ(flipped.LitCount(), 2);
  EXPECT_FALSE(flipped.Equals(big));
  flipped.Clear();
  big.Clear();
  EXPECT_EQ(flipped.LitCount(), 0);
  EXPECT_FALSE(flipped.Equals(big));
}

TEST_F(QuadFieldTest, OnlyLockedGridsDrawAPatternFromTheGenerator) {
  CrtSrand(77);
  QuadField first(true, 3, 0, 200, nullptr, 3);
  CrtSrand(77);
  QuadField again(true, 3, 0, 200, nullptr, 3);
  EXPECT_TRUE(first.Equals(again));
  CrtSrand(5);
  QuadField dark(false, 5, 0, 200, nullptr, 3);
  const int next = CrtRand();
  CrtSrand(5);
  EXPECT_EQ(CrtRand(), next);
  EXPECT_EQ(dark.LitCount(), 0);
}

}  // namespace
