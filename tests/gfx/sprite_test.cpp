#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include "gfx/sprite.h"
#include "platform/render_device.h"
#include "util/app_context.h"
#include "support/test_app.h"
#include "support/test_data_builders.h"

namespace {

constexpr uint32_t BACKGROUND = 0x102030;

// A headless 1024 x 768 device and a sprite on it, installed in the
// application record for the test's lifetime.
class SpriteDrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(testdata::EnterFreshDirectory("denkar_sprite").empty());
    device_ = testapp::MakeOffscreenDevice();
    ASSERT_NE(device_, nullptr);
    sprite_ = std::make_unique<Sprite>(device_.get());
    app_ = &GetAppContext();
    app_->device = device_.get();
    app_->sprite = sprite_.get();
    device_->Clear(BACKGROUND);
  }
  void TearDown() override {
    if (app_ != nullptr) {
      app_->sprite = nullptr;
      app_->device = nullptr;
    }
  }
  uint32_t Pixel(int x, int y) const { return device_->BackBuffer()[y * 1024 + x] & 0xFFFFFF; }
  static Texture Solid(int w, int h, uint32_t argb) {
    Texture t;
    t.width = w;
    t.height = h;
    t.texels.assign(static_cast<size_t>(w) * h, argb);
    return t;
  }
  // True when every channel of the pixel is within `tolerance` of rgb.
  ::testing::AssertionResult Near(int x, int y, uint32_t rgb, int tolerance = 2) const {
    const uint32_t p = Pixel(x, y);
    for (int shift = 0; shift <= 16; shift += 8) {
      const int a = static_cast<int>((p >> shift) & 0xFF), b = static_cast<int>((rgb >> shift) & 0xFF);
      if (std::abs(a - b) > tolerance) {
        return ::testing::AssertionFailure()
               << "pixel (" << x << ", " << y << ") is " << std::hex << p << ", expected " << rgb;
      }
    }
    return ::testing::AssertionSuccess();
  }

  std::unique_ptr<RenderDevice> device_;
  std::unique_ptr<Sprite> sprite_;
  AppContext* app_ = nullptr;
};

}  // namespace

TEST_F(SpriteDrawTest, UnscaledDrawsCopyTexelsOneToOne) {
  Texture t;
  t.width = 4;
  t.height = 2;
  t.texels = {0xFF010203, 0xFF112233, 0xFF445566, 0xFF778899,
              0xFFAABBCC, 0xFFDDEEFF, 0xFF0A0B0C, 0xFF0D0E0F};
  const D3DXVECTOR2 at{10, 20};
  app_->DrawSprite(&t, nullptr, nullptr, nullptr, 0.0, &at, 0xFFFFFFFF);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(Pixel(10 + x, 20 + y), t.Texel(x, y) & 0xFFFFFF);
  EXPECT_EQ(Pixel(14, 20), BACKGROUND);
  EXPECT_EQ(Pixel(9, 20), BACKGROUND);

  // A source rectangle picks its texels; its top-left lands on the translation.
  const RECT source{1, 0, 3, 2};
  const D3DXVECTOR2 at2{100, 100};
  app_->DrawSprite(&t, &source, nullptr, nullptr, 0.0, &at2, 0xFFFFFFFF);
  EXPECT_EQ(Pixel(100, 100), 0x112233u);
  EXPECT_EQ(Pixel(101, 101), 0x0A0B0Cu);
  EXPECT_EQ(Pixel(102, 100), BACKGROUND);

  // No translation: the origin. A null texture draws nothing.
  app_->DrawSprite(&t, &source, nullptr, nullptr, 0.0, nullptr, 0xFFFFFFFF);
  EXPECT_EQ(Pixel(0, 0), 0x112233u);
  app_->DrawSprite(nullptr, nullptr, nullptr, nullptr, 0.0, &at2, 0xFFFFFFFF);
  EXPECT_EQ(Pixel(100, 100), 0x112233u);
}

TEST_F(SpriteDrawTest, ScalingStretchesFromTheTranslation) {
  const Texture red = Solid(4, 4, 0xFFFF0000);
  const D3DXVECTOR2 scale{2.0f, 3.0f}, at{100, 50};
  app_->DrawSprite(&red, nullptr, &scale, nullptr, 0.0, &at, 0xFFFFFFFF);
  // Covers x 100 ... 107 and y 50 ... 61.
  EXPECT_TRUE(Near(101, 51, 0xFF0000));
  EXPECT_TRUE(Near(106, 60, 0xFF0000));
  EXPECT_TRUE(Near(103, 56, 0xFF0000));
  EXPECT_EQ(Pixel(109, 55), BACKGROUND);
  EXPECT_EQ(Pixel(98, 55), BACKGROUND);
  EXPECT_EQ(Pixel(103, 63), BACKGROUND);
  EXPECT_EQ(Pixel(103, 48), BACKGROUND);
}

TEST_F(SpriteDrawTest, RotationTurnsAboutTheCentre) {
  // Left half red, right half blue, 20 x 10, turned a quarter clockwise about
  // its middle (10, 5) and moved by (200, 200).
  Texture t = Solid(20, 10, 0xFFFF0000);
  for (int y = 0; y < 10; ++y)
    for (int x = 10; x < 20; ++x) t.texels[y * 20 + x] = 0xFF0000FF;
  const D3DXVECTOR2 centre{10, 5}, at{200, 200};
  app_->DrawSprite(&t, nullptr, nullptr, &centre, M_PI / 2, &at, 0xFFFFFFFF);
  // The turned sprite spans x 205 ... 214, y 195 ... 214: red on top, blue below.
  EXPECT_TRUE(Near(210, 198, 0xFF0000));
  EXPECT_TRUE(Near(207, 212, 0x0000FF));
  EXPECT_EQ(Pixel(218, 205), BACKGROUND);  // where the unturned sprite would be
  EXPECT_EQ(Pixel(202, 205), BACKGROUND);
  EXPECT_TRUE(Near(206, 196, 0xFF0000));
  EXPECT_EQ(Pixel(210, 192), BACKGROUND);
  EXPECT_EQ(Pixel(210, 217), BACKGROUND);

  // The next draw sets its own transform: an unturned draw is placed plainly.
  const Texture green = Solid(2, 2, 0xFF00FF00);
  const D3DXVECTOR2 at2{300, 300};
  app_->DrawSprite(&green, nullptr, nullptr, nullptr, 0.0, &at2, 0xFFFFFFFF);
  EXPECT_EQ(Pixel(300, 300), 0x00FF00u);
  EXPECT_EQ(Pixel(301, 301), 0x00FF00u);
  EXPECT_EQ(Pixel(302, 300), BACKGROUND);
}

TEST_F(SpriteDrawTest, ColourModulatesTexelsAndAlphaBlends) {
  const Texture white = Solid(4, 4, 0xFFFFFFFF);
  const Texture tan = Solid(4, 4, 0xFFC86432);
  const D3DXVECTOR2 a{0, 400}, b{10, 400}, c{20, 400};
  device_->Clear(0);
  app_->DrawSprite(&white, nullptr, nullptr, nullptr, 0.0, &a, 0xFF808080);  // grey tint
  app_->DrawSprite(&tan, nullptr, nullptr, nullptr, 0.0, &b, 0xFF80FF00);    // r halved, b gone
  app_->DrawSprite(&white, nullptr, nullptr, nullptr, 0.0, &c, 0x80FFFFFF);  // half alpha over black
  EXPECT_TRUE(Near(1, 401, 0x808080));
  EXPECT_TRUE(Near(11, 401, 0x646400));
  EXPECT_TRUE(Near(21, 401, 0x808080));
}
