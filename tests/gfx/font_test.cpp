// Fonts and text drawing: anchor rectangles, font lookup, and text rendered
// on an offscreen device, judged by the box of inked pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include "gfx/font.h"
#include "gfx/sprite.h"
#include "platform/render_device.h"
#include "util/app_context.h"
#include "support/test_app.h"
#include "support/test_data_builders.h"

namespace {

constexpr D3DCOLOR BLACK = 0xFF000000;
constexpr D3DCOLOR WHITE = 0xFFFFFFFF;

// The application record reads and writes its files in the current folder,
// so the first use in this process happens in a fresh folder of its own.
AppContext& App() {
  static const bool moved = !testdata::EnterFreshDirectory("denkar_font_test_").empty();
  (void)moved;
  return GetAppContext();
}

struct Ink {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
  bool Empty() const { return right <= left || bottom <= top; }
  int CentreX2() const { return left + right; }  // twice the centre, kept exact
  int CentreY2() const { return top + bottom; }
};

// Draws on a headless device installed as the application's device.
class FontDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    device_ = testapp::MakeOffscreenDevice();
    ASSERT_NE(device_, nullptr);
    previous_ = App().device;
    App().device = device_.get();
    device_->Clear(BLACK);
  }
  void TearDown() override { App().device = previous_; }

  void Wipe() { device_->Clear(BLACK); }

  Ink InkBox() const {
    Ink ink{device_->Width(), device_->Height(), 0, 0};
    const uint32_t* px = device_->BackBuffer();
    for (int y = 0; y < device_->Height(); ++y)
      for (int x = 0; x < device_->Width(); ++x)
        if (px[static_cast<size_t>(y) * device_->Width() + x] & 0xFFFFFF) {
          ink.left = std::min(ink.left, x);
          ink.top = std::min(ink.top, y);
          ink.right = std::max(ink.right, x + 1);
          ink.bottom = std::max(ink.bottom, y + 1);
        }
    return ink;
  }

  Ink Draw(Font& font, const char* text, RECT rect, DWORD format) {
    Wipe();
    font.DrawText(text, rect, format, WHITE);
    return InkBox();
  }

  std::string Picture() const {
    const uint32_t* px = device_->BackBuffer();
    return std::string(reinterpret_cast<const char*>(px),
                       static_cast<size_t>(device_->Width()) * device_->Height() * 4);
  }

  std::unique_ptr<RenderDevice> device_;
  RenderDevice* previous_ = nullptr;
};

}  // namespace

TEST(FontAnchor, RectanglesAroundTheAnchorPoint) {
  RECT r = FontManager::AnchorRect(512, 0, DT_CENTER, 1024, 768);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right, 1024);
  r = FontManager::AnchorRect(100, 0, DT_CENTER, 1024, 768);
  EXPECT_EQ(r.left, -412);
  EXPECT_EQ(r.right, 612);
  r = FontManager::AnchorRect(100.9f, 0, DT_CENTER, 1024, 768);  // 411.1 truncates to 411
  EXPECT_EQ(r.left, -411);
  EXPECT_EQ(r.right, 613);
  r = FontManager::AnchorRect(300.7f, 700, DT_RIGHT, 1024, 768);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right, 300);
  EXPECT_EQ(r.top, 700);
  EXPECT_EQ(r.bottom, 1468);  // hangs from y, below the screen
  r = FontManager::AnchorRect(40.5f, 10.5f, DT_LEFT, 1024, 768);
  EXPECT_EQ(r.left, 40);
  EXPECT_EQ(r.right, 1024);
  EXPECT_EQ(r.top, 10);
  EXPECT_EQ(r.bottom, 778);
  r = FontManager::AnchorRect(0, 400, DT_VCENTER, 1024, 768);
  EXPECT_EQ(r.top, 16);
  EXPECT_EQ(r.bottom, 784);
  // An odd screen width halves as an integer.
  r = FontManager::AnchorRect(100, 0, DT_CENTER, 1025, 768);
  EXPECT_EQ(r.left, -412);
  EXPECT_EQ(r.right, 613);
}

TEST(FontManagerLookup, AddFontFindFontAndDefault) {
  App();
  FontManager manager;
  ASSERT_NE(manager.defaultFont, nullptr);
  EXPECT_STREQ(manager.defaultFont->faceName, "Arial");
  EXPECT_EQ(manager.defaultFont->size, 15);
  EXPECT_EQ(manager.defaultFont->id, -1);
  EXPECT_TRUE(manager.defaultFont->HasFace());

  Font* arial20 = manager.AddFont("Arial", 20);
  EXPECT_EQ(arial20->id, 0);
  Font* comic = manager.AddFont("Comic Sans MS", 20);
  EXPECT_EQ(comic->id, 1);
  EXPECT_EQ(manager.fontCount, 2);
  // The same face (in any letter case) and size gives the font already made.
  EXPECT_EQ(manager.AddFont("Arial", 20), arial20);
  EXPECT_EQ(manager.AddFont("ARIAL", 20.0), arial20);
  EXPECT_EQ(manager.fontCount, 2);
  EXPECT_EQ(manager.fonts.Count(), 2);
  Font* arial30 = manager.AddFont("Arial", 30);
  EXPECT_NE(arial30, arial20);
  EXPECT_EQ(arial30->id, 2);

  EXPECT_EQ(manager.FindFont(0), arial20);
  EXPECT_EQ(manager.FindFont(2), arial30);
  EXPECT_EQ(manager.FindFont(-1), manager.defaultFont);
  EXPECT_EQ(manager.FindFont(3), manager.defaultFont);
  EXPECT_EQ(manager.FindFont(-7), manager.defaultFont);

  // A name longer than the buffer is cut, and still finds its font again.
  const std::string longName(60, 'x');
  Font* cut = manager.AddFont(longName.c_str(), 12);
  EXPECT_EQ(std::string(cut->faceName), std::string(31, 'x'));
  EXPECT_EQ(manager.AddFont(longName.c_str(), 12), cut);
  EXPECT_NE(manager.AddFont(nullptr, 12), nullptr);

  manager.Clear();
  EXPECT_EQ(manager.defaultFont, nullptr);
  EXPECT_EQ(manager.fonts.Count(), 0);
  EXPECT_EQ(manager.FindFont(0), nullptr);
  manager.DrawTextRect("nothing to draw with", 0, 0, 100, 100, WHITE, 0, 0);  // no font: no crash
}

TEST(FontManagerLookup, LostAndResetReachEveryFont) {
  App();
  FontManager manager;
  Font* a = manager.AddFont("Arial", 20);
  manager.OnLostDevice();
  EXPECT_TRUE(manager.defaultFont->lost);
  EXPECT_TRUE(a->lost);
  manager.OnLostDevice();  // a second time changes nothing
  EXPECT_TRUE(a->lost);
  manager.OnResetDevice();
  EXPECT_FALSE(manager.defaultFont->lost);
  EXPECT_FALSE(a->lost);
}

TEST_F(FontDrawing, UnknownFontIdDrawsWithArial15) {
  FontManager manager;
  manager.AddFont("Comic Sans MS", 40);
  Wipe();
  manager.defaultFont->DrawText("Grundschrift", RECT{10, 10, 600, 200}, 0, WHITE);
  const std::string expected = Picture();
  ASSERT_FALSE(InkBox().Empty());
  for (int id : {-1, 5, 1000}) {
    Wipe();
    manager.DrawTextRect("Grundschrift", 10, 10, 600, 200, WHITE, 0, id);
    EXPECT_TRUE(Picture() == expected) << "font id " << id;
  }
  // The font that does have id 0 draws differently.
  Wipe();
  manager.DrawTextRect("Grundschrift", 10, 10, 600, 200, WHITE, 0, 0);
  EXPECT_FALSE(Picture() == expected);
  EXPECT_NEAR(manager.defaultFont->CellHeight(), 15, 1);
}

TEST_F(FontDrawing, HorizontalAlignment) {
  Font font("Arial", 30, 0);
  const RECT box{100, 100, 900, 300};
  int width = 0;
  font.MeasureText("Hallo", box, 0, &width, nullptr);
  ASSERT_GT(width, 40);

  Ink left = Draw(font, "Hallo", box, DT_LEFT);
  EXPECT_GE(left.left, 100);
  EXPECT_LE(left.left, 105);
  Ink centre = Draw(font, "Hallo", box, DT_CENTER);
  EXPECT_NEAR(centre.CentreX2(), 1000, 6);
  Ink right = Draw(font, "Hallo", box, DT_RIGHT);
  EXPECT_LE(right.right, 900);
  EXPECT_GE(right.right, 895);
  // Same line, same height, only moved sideways.
  EXPECT_EQ(left.top, centre.top);
  EXPECT_EQ(left.bottom, right.bottom);
  EXPECT_EQ(left.right - left.left, right.right - right.left);
  // Hanging from the top of the box: the ink starts within the first cell.
  EXPECT_GE(left.top, 100);
  EXPECT_LT(left.bottom, 100 + font.CellHeight() + 2);

  // DrawTextAt places the same text centred on its x.
  FontManager manager;
  Wipe();
  manager.DrawTextAt("Hallo", 300, 50, WHITE, DT_CENTER, &font);
  EXPECT_NEAR(InkBox().CentreX2(), 600, 6);
}

TEST_F(FontDrawing, WordBreaking) {
  Font font("Arial", 20, 0);
  const RECT narrow{200, 100, 290, 600};
  int width = 0, height = 0, lines = 0;
  font.MeasureText("Donaudampfschifffahrt", narrow, DT_WORDBREAK, &width, &height, &lines);
  EXPECT_GE(lines, 3);
  EXPECT_LE(width, 90);
  EXPECT_EQ(height, lines * font.CellHeight());
  Ink broken = Draw(font, "Donaudampfschifffahrt", narrow, DT_WORDBREAK);
  EXPECT_GE(broken.left, 200);
  EXPECT_LE(broken.right, 291);
  EXPECT_GT(broken.bottom - broken.top, 2 * font.CellHeight());

  // Words are kept whole where they fit.
  font.MeasureText("eins zwei drei vier", RECT{0, 0, 1000, 100}, 0, &width, nullptr);
  const RECT twoWords{0, 0, width * 2 / 3, 500};
  font.MeasureText("eins zwei drei vier", twoWords, DT_WORDBREAK, nullptr, nullptr, &lines);
  EXPECT_EQ(lines, 2);

  // Without word breaking (and without clipping) it is one long line.
  Ink whole = Draw(font, "Donaudampfschifffahrt", narrow, DT_NOCLIP);
  EXPECT_GT(whole.right, 290);
  EXPECT_LT(whole.bottom - whole.top, font.CellHeight() + 2);
}

TEST_F(FontDrawing, VerticalPlacementOfAMultiLineBlock) {
  Font font("Arial", 24, 0);
  const int cell = font.CellHeight();
  const char* text = "Erste\nZweite\nDritte";
  int height = 0, lines = 0;
  font.MeasureText(text, RECT{0, 0, 1024, 768}, DT_VCENTER, nullptr, &height, &lines);
  EXPECT_EQ(lines, 3);
  EXPECT_EQ(height, 3 * cell);

  // Centred as a whole: the same picture as hanging the block from the top
  // at (768 - block height) / 2.
  const Ink centred = Draw(font, text, RECT{0, 0, 1024, 768}, DT_VCENTER | DT_CENTER);
  const int top = (768 - 3 * cell) / 2;
  const Ink hung = Draw(font, text, RECT{0, top, 1024, 768}, DT_CENTER);
  EXPECT_EQ(centred.top, hung.top);
  EXPECT_EQ(centred.bottom, hung.bottom);
  EXPECT_NEAR(centred.CentreY2(), 768, cell);

  const Ink bottom = Draw(font, text, RECT{0, 0, 1024, 700}, DT_BOTTOM);
  const Ink fromTop = Draw(font, text, RECT{0, 700 - 3 * cell, 1024, 768}, 0);
  EXPECT_EQ(bottom.top, fromTop.top);
  EXPECT_EQ(bottom.bottom, fromTop.bottom);
  EXPECT_LE(bottom.bottom, 700);

  // The return value: block height, or the offset of its bottom from rect.top.
  EXPECT_EQ(font.DrawText(text, RECT{0, 100, 1024, 700}, 0, WHITE), 3 * cell);
  EXPECT_EQ(font.DrawText(text, RECT{0, 100, 1024, 700}, DT_BOTTOM, WHITE), 600);
}

TEST_F(FontDrawing, ClippingToTheRectangle) {
  Font font("Arial", 30, 0);
  const RECT small{100, 100, 160, 115};
  const Ink clipped = Draw(font, "WWWWWWWW", small, 0);
  ASSERT_FALSE(clipped.Empty());
  EXPECT_GE(clipped.left, 100);
  EXPECT_GE(clipped.top, 100);
  EXPECT_LE(clipped.right, 160);
  EXPECT_LE(clipped.bottom, 115);

  const Ink free = Draw(font, "WWWWWWWW", small, DT_NOCLIP);
  EXPECT_GT(free.right, 160);
  EXPECT_GT(free.bottom, 115);

  // Centred text wider than its box spills over both sides only without clipping.
  const Ink spill = Draw(font, "WWWWWWWW", small, DT_CENTER | DT_NOCLIP);
  EXPECT_LT(spill.left, 100);
  EXPECT_GT(spill.right, 160);
  // An empty box shows nothing.
  EXPECT_TRUE(Draw(font, "WWWW", RECT{100, 100, 100, 200}, 0).Empty());
}

TEST_F(FontDrawing, Windows1252TextAndNothingForEmptyText) {
  Font font("Arial", 30, 0);
  for (const char* glyph : {"\x84", "\xC4", "\x80", "\x84\xC4\x80"})
    EXPECT_FALSE(Draw(font, glyph, RECT{50, 50, 800, 400}, 0).Empty()) << int(glyph[0] & 0xFF);
  // Bytes the code page leaves undefined and control characters draw nothing.
  EXPECT_TRUE(Draw(font, "\x81\x8D\x01", RECT{50, 50, 800, 400}, 0).Empty());
  EXPECT_TRUE(Draw(font, "", RECT{50, 50, 800, 400}, 0).Empty());
  EXPECT_TRUE(Draw(font, nullptr, RECT{50, 50, 800, 400}, 0).Empty());
  EXPECT_EQ(font.DrawText(nullptr, RECT{50, 50, 800, 400}, 0, WHITE), 0);
  // Measuring only: DT_CALCRECT and a transparent colour leave the picture alone.
  EXPECT_TRUE(Draw(font, "Text", RECT{50, 50, 800, 400}, DT_CALCRECT).Empty());
  Wipe();
  font.DrawText("Text", RECT{50, 50, 800, 400}, 0, 0x00FFFFFF);
  EXPECT_TRUE(InkBox().Empty());
}

TEST_F(FontDrawing, GlyphsAreRasterisedOnlyOnce) {
  Font font("Arial", 22, 0);
  EXPECT_EQ(font.GlyphsRasterised(), 0);
  Draw(font, "Hallo Welt", RECT{0, 0, 1024, 768}, 0);
  const int first = font.GlyphsRasterised();
  EXPECT_EQ(first, 8 + 10);  // H a l o, blank, W e t, and the ten digits with the first
  // A clock ticking on: its digits are there already.
  Draw(font, "0123456789", RECT{0, 0, 1024, 768}, 0);
  EXPECT_EQ(font.GlyphsRasterised(), first);
  Draw(font, "Hallo Welt", RECT{0, 0, 1024, 768}, DT_CENTER | DT_VCENTER);
  Draw(font, "Welt Hallo", RECT{0, 0, 1024, 768}, 0);
  font.MeasureText("Hallo", RECT{0, 0, 100, 100}, DT_WORDBREAK, nullptr, nullptr);
  EXPECT_EQ(font.GlyphsRasterised(), first);
  Draw(font, "Hallo!", RECT{0, 0, 1024, 768}, 0);
  EXPECT_EQ(font.GlyphsRasterised(), first + 1);
}

TEST_F(FontDrawing, TextIgnoresTheSpriteTransform) {
  FontManager manager;
  Sprite sprite(device_.get());
  Matrix2D rotated;
  rotated.m11 = 0;
  rotated.m12 = 1;
  rotated.m21 = -1;
  rotated.m22 = 0;
  rotated.dx = 300;
  sprite.SetTransform(rotated);
  Sprite* before = App().sprite;
  App().sprite = &sprite;
  TextItem item;
  item.text = "Oben";
  item.rect = RECT{10, 10, 500, 100};
  item.colour = WHITE;
  item.font = manager.defaultFont;
  Wipe();
  manager.DrawTextItem(item);
  const Ink ink = InkBox();
  App().sprite = before;
  const Matrix2D& m = sprite.Transform();
  EXPECT_TRUE(m.m11 == 1 && m.m12 == 0 && m.m21 == 0 && m.m22 == 1 && m.dx == 0 && m.dy == 0);
  EXPECT_GE(ink.left, 10);
  EXPECT_LT(ink.bottom, 10 + manager.defaultFont->CellHeight() + 2);
}
