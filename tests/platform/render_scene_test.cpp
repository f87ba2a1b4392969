// Recorded scenes: a scene equal to the last one is not drawn again, the
// clear under an opaque full-screen picture is left out, and pictures served
// from the scaled-picture cache give exactly the pixels of a direct draw.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "platform/render_device.h"
#include "platform/window.h"
#include "support/test_app.h"

namespace {

std::unique_ptr<RenderDevice> MakeDevice() {
  D3DPRESENT_PARAMETERS p;
  p.BackBufferWidth = 1024;
  p.BackBufferHeight = 768;
  p.BackBufferFormat = D3DFMT_X8R8G8B8;
  return RenderDevice::Create(p);
}

// A picture with straight-alpha texels of every kind: opaque, translucent and
// fully transparent, in a pattern that makes filtering visible.
Texture Pattern(int w, int h, bool opaque) {
  Texture t;
  t.width = w;
  t.height = h;
  t.texels.resize(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t a = opaque ? 255 : (x * 37 + y * 11) % 3 == 0 ? 0 : (x + y) % 2 ? 255 : 128;
      t.texels[static_cast<size_t>(y) * w + x] =
          (a << 24) | ((x * 29) % 256 << 16) | ((y * 53) % 256 << 8) | ((x * y) % 256);
    }
  return t;
}

Matrix2D Scaled(float sx, float sy, float dx, float dy) {
  Matrix2D m;
  m.m11 = sx;
  m.m22 = sy;
  m.dx = dx;
  m.dy = dy;
  return m;
}

std::vector<uint32_t> Pixels(const RenderDevice& d) {
  return std::vector<uint32_t>(d.BackBuffer(), d.BackBuffer() + d.Width() * d.Height());
}

}  // namespace

TEST(RenderScene, EqualScenesAreDrawnOnceAndAnyChangeDrawsAgain) {
  auto device = MakeDevice();
  ASSERT_TRUE(device);
  Texture a = Pattern(40, 30, false);
  const uint8_t glyph[6] = {0, 128, 255, 255, 128, 0};
  auto scene = [&](D3DCOLOR tint, float x, uint8_t maskByte) {
    device->BeginScene();
    device->Clear(0xFF646464);
    device->DrawTexture(a, RECT{0, 0, 40, 30}, Scaled(1, 1, x, 20), tint);
    uint8_t mask[6];
    std::memcpy(mask, glyph, sizeof mask);
    mask[0] = maskByte;
    device->DrawMask(mask, 3, 2, 3, 300, 300, 0xFF000000, RECT{0, 0, 1024, 768});
    return device->EndScene();
  };
  EXPECT_TRUE(scene(0xFFFFFFFF, 10, 0));
  const std::vector<uint32_t> first = Pixels(*device);
  EXPECT_FALSE(scene(0xFFFFFFFF, 10, 0));
  EXPECT_EQ(Pixels(*device), first);
  EXPECT_TRUE(scene(0xFFFFFFFE, 10, 0));  // tint
  EXPECT_TRUE(scene(0xFFFFFFFE, 11, 0));  // position
  EXPECT_TRUE(scene(0xFFFFFFFE, 11, 9));  // the bytes of a glyph
  EXPECT_FALSE(scene(0xFFFFFFFE, 11, 9));

  // The same texture object with new texels is another picture.
  a.serial = NewTextureSerial();
  EXPECT_TRUE(scene(0xFFFFFFFE, 11, 9));

  // Drawing outside a scene changes the back buffer behind the recording's
  // back, so the next scene draws again even though it equals the last.
  device->Clear(0xFF000000);
  EXPECT_TRUE(scene(0xFFFFFFFE, 11, 9));
  device->ForgetLastScene();
  EXPECT_TRUE(scene(0xFFFFFFFE, 11, 9));
}

TEST(RenderScene, MaskBytesAreTakenWhenRecorded) {
  // A glyph cache may move its masks while a scene is being recorded.
  auto direct = MakeDevice();
  auto recorded = MakeDevice();
  std::vector<uint8_t> mask(64, 200);
  direct->Clear(0xFF102030);
  direct->DrawMask(mask.data(), 8, 8, 8, 5, 5, 0xFFFF0000, RECT{0, 0, 1024, 768});
  recorded->BeginScene();
  recorded->Clear(0xFF102030);
  recorded->DrawMask(mask.data(), 8, 8, 8, 5, 5, 0xFFFF0000, RECT{0, 0, 1024, 768});
  std::fill(mask.begin(), mask.end(), 0);
  recorded->EndScene();
  EXPECT_EQ(Pixels(*recorded), Pixels(*direct));
}

TEST(RenderScene, StoredMasksAreReferredToAndDrawnFromWhereTheStoreHoldsThem) {
  // A font's store grows (and moves) while the scene is recorded; a mask
  // that does not lie in the store is refused; an equal scene is not drawn
  // again, and the same offset in another store is another mask.
  std::vector<uint8_t> bytes(64, 200);
  MaskStore store(&bytes);
  std::vector<uint8_t> otherBytes(64, 90);
  MaskStore other(&otherBytes);
  const RECT all{0, 0, 1024, 768};
  auto recorded = MakeDevice();
  auto scene = [&](MaskStore& s, int extra) {
    recorded->BeginScene();
    recorded->Clear(0xFF102030);
    recorded->DrawStoredMask(s, 0, 8, 8, 5, 5, 0xFFFF0000, all);
    recorded->DrawStoredMask(s, 10000, 2, 3, 50, 5, 0xFFFF0000, all);  // past the end: refused
    s.bytes == &bytes ? bytes.resize(bytes.size() + extra, 7) : void();
    return recorded->EndScene();
  };
  EXPECT_TRUE(scene(store, 4096));
  auto direct = MakeDevice();
  direct->Clear(0xFF102030);
  direct->DrawMask(bytes.data(), 8, 8, 8, 5, 5, 0xFFFF0000, all);
  EXPECT_EQ(Pixels(*recorded), Pixels(*direct));
  EXPECT_FALSE(scene(store, 0));
  EXPECT_TRUE(scene(other, 0));
  direct->Clear(0xFF102030);
  direct->DrawMask(otherBytes.data(), 8, 8, 8, 5, 5, 0xFFFF0000, all);
  EXPECT_EQ(Pixels(*recorded), Pixels(*direct));
}

TEST(RenderScene, ClearIsLeftOutOnlyUnderAnOpaqueFullScreenPicture) {
  for (const bool opaque : {true, false}) {
    for (const float scale : {1.0f, 1024.0f / 600.0f}) {
      SCOPED_TRACE(std::string(opaque ? "opaque" : "with holes") + " scale " + std::to_string(scale));
      const int w = scale == 1.0f ? 1024 : 600, h = scale == 1.0f ? 768 : 450;
      Texture back = Pattern(w, h, opaque);
      const Matrix2D m = Scaled(scale, scale == 1.0f ? 1.0f : 768.0f / 450.0f, 0, 0);
      auto direct = MakeDevice();
      auto recorded = MakeDevice();
      direct->Clear(0xFF646464);
      direct->DrawTexture(back, RECT{0, 0, w, h}, m, 0xFFFFFFFF);
      recorded->Clear(0xFFABCDEF);  // what a skipped clear would leave showing
      recorded->BeginScene();
      recorded->Clear(0xFF646464);
      recorded->DrawTexture(back, RECT{0, 0, w, h}, m, 0xFFFFFFFF);
      recorded->EndScene();
      EXPECT_EQ(Pixels(*recorded), Pixels(*direct));
      EXPECT_EQ(recorded->Stats().clearsSkipped, opaque ? 1u : 0u);
    }
  }
  // A picture one pixel short of the screen leaves a row the clear must fill.
  Texture back = Pattern(1024, 767, true);
  auto device = MakeDevice();
  device->BeginScene();
  device->Clear(0xFF646464);
  device->DrawTexture(back, RECT{0, 0, 1024, 767}, Scaled(1, 1, 0, 0), 0xFFFFFFFF);
  device->EndScene();
  EXPECT_EQ(device->Stats().clearsSkipped, 0u);
  EXPECT_EQ(device->BackBuffer()[767 * 1024], 0xFF646464u);
}

Matrix2D Turned(float sx, float sy, float angle, float x, float y) {
  const D3DXVECTOR2 scaling{sx, sy}, centre{25 * sx, 20 * sy}, at{x, y};
  return MatrixTransformation2D(&scaling, &centre, angle, &at);
}

TEST(RenderScene, CachedScaledTurnedAndTintedPicturesMatchDirectDrawsExactly) {
  // Scaled up and down, mirrored, turned, tinted, translucent, on sub-pixel
  // positions and partly off screen.
  Texture card = Pattern(50, 40, false);
  struct Draw {
    Matrix2D m;
    D3DCOLOR colour;
  };
  const std::vector<Draw> draws = {
      {Scaled(1.7f, 1.7f, 100.3f, 50.6f), 0xFFFFFFFF},
      {Scaled(0.6f, 0.8f, 400.5f, 300.25f), 0xFF000000},
      {Scaled(-1.5f, 1.5f, 700.7f, 100.1f), 0x80FF8040},
      {Scaled(2.3f, 2.3f, -30.4f, 730.9f), 0xFFFFFFFF},
      {Scaled(1.0f, 1.0f, 600.4f, 600.6f), 0x7F00FF00},  // tinted, unscaled
      {Scaled(1024.0f / 50, 768.0f / 40, 0, 0), 0x7F000000},
      {Turned(1.0f, 1.0f, 0.3f, 200.5f, 400.25f), 0xFFFFFFFF},
      {Turned(2.5f, 1.5f, -2.0f, 500.3f, 200.7f), 0xFF8040C0},
      {Turned(0.7f, 0.7f, 1.0f, 850.0f, 500.0f), 0x60FFFFFF},
      {Turned(3.0f, 3.0f, 0.8f, -60.2f, -40.6f), 0xFFFFFFFF},   // partly off screen
      {Turned(2.0f, 2.0f, 2.5f, 990.4f, 740.1f), 0xFF000000},
  };
  auto direct = MakeDevice();
  direct->Clear(0xFF646464);
  for (const Draw& d : draws) direct->DrawTexture(card, RECT{0, 0, 50, 40}, d.m, d.colour);

  auto cached = MakeDevice();
  for (int scene = 0; scene < 3; ++scene) {
    cached->ForgetLastScene();
    cached->BeginScene();
    cached->Clear(0xFF646464);
    for (const Draw& d : draws) cached->DrawTexture(card, RECT{0, 0, 50, 40}, d.m, d.colour);
    cached->EndScene();
    EXPECT_EQ(Pixels(*cached), Pixels(*direct)) << "scene " << scene;
  }
  // Made in the second scene, used in the third.
  EXPECT_EQ(cached->Stats().cacheBuilds, draws.size());
  EXPECT_EQ(cached->Stats().cacheDraws, 2 * draws.size());

  // A picture that moves by a fraction of a pixel each scene is never
  // cached, and a turned one that moves by whole pixels neither.
  auto moving = MakeDevice();
  for (int scene = 0; scene < 4; ++scene) {
    moving->BeginScene();
    moving->DrawTexture(card, RECT{0, 0, 50, 40}, Scaled(1.5f, 1.5f, 10.0f + scene * 0.25f, 10), 0xFFFFFFFF);
    moving->DrawTexture(card, RECT{0, 0, 50, 40}, Turned(1.5f, 1.5f, 0.5f, 300.0f + scene, 300), 0xFFFFFFFF);
    moving->EndScene();
  }
  EXPECT_EQ(moving->Stats().cacheBuilds, 0u);
}

TEST(RenderScene, PicturesCreepingByLessThanAThousandthOfAPixelDoNotRedraw) {
  // A scaled piece gliding ever closer to its place, and a turned one.
  auto device = MakeDevice();
  Texture piece = Pattern(30, 30, true);
  auto scene = [&](float x, float angle) {
    device->BeginScene();
    device->DrawTexture(piece, RECT{0, 0, 30, 30}, Scaled(1.5f, 1.5f, x, 10), 0xFFFFFFFF);
    const D3DXVECTOR2 centre{15, 15}, at{300, 300};
    device->DrawTexture(piece, RECT{0, 0, 30, 30},
                        MatrixTransformation2D(nullptr, &centre, angle, &at), 0xFFFFFFFF);
    return device->EndScene();
  };
  EXPECT_TRUE(scene(100.0f, 0.5f));
  EXPECT_FALSE(scene(100.0f + 1.0f / 4096, 0.5f));
  EXPECT_FALSE(scene(100.0f + 1.0f / 2048, 0.5f + 1e-7f));
  // The drift counts from the scene drawn, so small steps add up to a redraw.
  EXPECT_TRUE(scene(100.0f + 1.0f / 512, 0.5f));
  EXPECT_TRUE(scene(100.0f + 1.0f / 512, 0.5001f));
}

TEST(RenderScene, ScenesDrawnOnlyWhereTheyChangedMatchWholeDraws) {
  // Pieces that glide, turn, fade, come and go between scenes, over a
  // background and under text; after every scene the picture must equal the
  // same scene drawn whole on a fresh device.
  Texture back = Pattern(600, 450, true);
  Texture card = Pattern(50, 40, false);
  auto patched = MakeDevice();
  std::vector<uint8_t> glyph(12 * 9);
  for (size_t i = 0; i < glyph.size(); ++i) glyph[i] = static_cast<uint8_t>(i * 37);
  auto draw = [&](RenderDevice& d, int scene, const Texture& piece) {
    d.Clear(0xFF646464);
    d.DrawTexture(back, RECT{0, 0, 600, 450}, Scaled(1024.0f / 600, 768.0f / 450, 0, 0), 0xFFFFFFFF);
    // Still: a tinted card, an opaque scaled one beside the gliding piece's
    // way, an unscaled one half off screen.
    d.DrawTexture(card, RECT{0, 0, 50, 40}, Scaled(1.7f, 1.7f, 100.3f, 50.6f), 0x9F000000);
    d.DrawTexture(back, RECT{0, 0, 50, 40}, Scaled(1.5f, 1.5f, 600, 320), 0xFFFFFFFF);
    d.DrawTexture(card, RECT{0, 0, 50, 40}, Scaled(1, 1, 1000, 740), 0xFFFFFFFF);
    // Gliding scaled and mirrored, turning, fading.
    d.DrawTexture(piece, RECT{0, 0, 50, 40}, Scaled(1.94f, 1.94f, 200 + scene * 7.3f, 300), 0xFFFFFFFF);
    d.DrawTexture(card, RECT{0, 0, 50, 40}, Scaled(-1.5f, 1.5f, 700, 100 + scene * 0.4f), 0x80FF8040);
    const D3DXVECTOR2 centre{25, 20}, at{500, 500};
    d.DrawTexture(card, RECT{0, 0, 50, 40}, MatrixTransformation2D(nullptr, &centre, scene * 0.2f, &at),
                  0xFFFFFFFF);
    d.DrawTexture(card, RECT{0, 0, 50, 40}, Scaled(1, 1, 800, 600),
                  static_cast<D3DCOLOR>(255 - scene * 20) << 24 | 0xFFFFFF);
    // A piece that shows only in some scenes, and text that changes length.
    if (scene % 3 == 1) d.DrawTexture(card, RECT{0, 0, 50, 40}, Scaled(2, 2, 30, 600), 0xFFFFFFFF);
    for (int k = 0; k <= scene % 4; ++k)
      d.DrawMask(glyph.data() + k, 12, 8, 12, 400 + 13 * k, 20, 0xFF000000, RECT{0, 0, 1024, 768});
  };
  // The moving piece's texture is a fresh one from the fourth scene on; the
  // old one is gone before the scene that stops drawing it ends.
  auto piece = std::make_unique<Texture>(Pattern(50, 40, true));
  for (int scene = 0; scene < 10; ++scene) {
    if (scene == 3) piece = std::make_unique<Texture>(Pattern(50, 40, false));
    patched->BeginScene();
    draw(*patched, scene, *piece);
    patched->EndScene();
    auto whole = MakeDevice();
    whole->BeginScene();
    draw(*whole, scene, *piece);
    whole->EndScene();
    ASSERT_EQ(Pixels(*patched), Pixels(*whole)) << "scene " << scene;
  }
  EXPECT_EQ(patched->Stats().scenesDrawn, 10u);
  EXPECT_GE(patched->Stats().scenesPatched, 8u);
}

TEST(RenderScene, ManyScatteredChangesMatchWholeDraws) {
  // Far more separate changes than regions are kept (a board of blinking
  // cells): they are joined, and the picture still equals a whole draw.
  Texture back = Pattern(64, 48, true);
  Texture cell = Pattern(6, 6, false);
  auto patched = MakeDevice();
  auto draw = [&](RenderDevice& d, int scene) {
    d.DrawTexture(back, RECT{0, 0, 64, 48}, Scaled(16, 16, 0, 0), 0xFFFFFFFF);
    for (int i = 0; i < 150; ++i) {
      const float x = static_cast<float>(20 + (i % 15) * 30), y = static_cast<float>(20 + (i / 15) * 30);
      const D3DCOLOR lit = (i * 7 + scene) % 3 == 0 ? 0xFFFFFFFF : 0xFF4080FF;
      d.DrawTexture(cell, RECT{0, 0, 6, 6}, Scaled(1, 1, x, y), lit);
    }
  };
  for (int scene = 0; scene < 4; ++scene) {
    patched->BeginScene();
    draw(*patched, scene);
    patched->EndScene();
    auto whole = MakeDevice();
    whole->BeginScene();
    draw(*whole, scene);
    whole->EndScene();
    ASSERT_EQ(Pixels(*patched), Pixels(*whole)) << "scene " << scene;
  }
  EXPECT_GE(patched->Stats().scenesPatched, 3u);
}

TEST(RenderScene, SceneThatDrawsOverThePictureBeforeIsDrawnWhole) {
  // Without a clear or an opaque picture over everything first, each pixel
  // depends on the one before: a translucent picture that stays put darkens
  // the whole screen again in every scene.
  Texture shade = Pattern(4, 4, true);
  Texture piece = Pattern(50, 40, true);
  auto recorded = MakeDevice();
  auto direct = MakeDevice();
  for (int scene = 0; scene < 3; ++scene) {
    for (RenderDevice* d : {recorded.get(), direct.get()}) {
      if (d == recorded.get()) d->BeginScene();
      d->DrawTexture(shade, RECT{0, 0, 4, 4}, Scaled(256, 192, 0, 0), 0x40000000);
      d->DrawTexture(piece, RECT{0, 0, 50, 40}, Scaled(1, 1, 10.0f * scene, 10), 0xFFFFFFFF);
      if (d == recorded.get()) d->EndScene();
    }
    EXPECT_EQ(Pixels(*recorded), Pixels(*direct)) << "scene " << scene;
  }
  EXPECT_EQ(recorded->Stats().scenesPatched, 0u);
}

TEST(RenderScene, AKeptLayerGivesThePicturesOfItsCallsAndFollowsEveryChange) {
  // A still game under a page: the calls before the mark are kept as pixels.
  // Scenes drawn whole, drawn in part, with a changed call or mask in the
  // layer, a texture replaced, and a layer without a clear under it must all
  // equal the same scenes drawn whole without a mark.
  Texture back = Pattern(600, 450, true);
  Texture card = Pattern(50, 40, false);
  std::vector<uint8_t> glyph(12 * 9);
  for (size_t i = 0; i < glyph.size(); ++i) glyph[i] = static_cast<uint8_t>(i * 41);
  auto piece = std::make_unique<Texture>(Pattern(30, 30, false));
  struct Step {
    int game;        // what the game below draws
    int page;        // what the page above draws
    bool forget;     // drawn whole
    bool cleared;    // the scene begins with a clear
  };
  const std::vector<Step> steps = {
      {0, 0, false, true}, {0, 0, true, true}, {0, 1, false, true}, {0, 2, true, true},
      {1, 2, false, true}, {1, 2, true, true}, {2, 3, true, true},  {2, 3, true, false},
      {2, 4, true, true},  {3, 4, true, true}, {3, 5, false, true},
  };
  auto draw = [&](RenderDevice& d, const Step& s, bool mark) {
    if (s.cleared) {
      d.Clear(0xFF646464);
      d.DrawTexture(back, RECT{0, 0, 600, 450}, Scaled(1024.0f / 600, 768.0f / 450, 0, 0), 0xFFFFFFFF);
    } else {
      d.DrawTexture(back, RECT{0, 0, 600, 450}, Scaled(0.5f, 0.5f, 0, 0), 0xFFFFFFFF);
    }
    d.DrawTexture(card, RECT{0, 0, 50, 40}, Scaled(1.7f, 1.7f, 100.3f + (s.game == 1), 50.6f), 0x9F000000);
    d.DrawTexture(*piece, RECT{0, 0, 30, 30}, Scaled(2, 2, 400, 300), 0xFFFFFFFF);
    d.DrawMask(glyph.data() + (s.game == 2), 12, 8, 12, 300, 20, 0xFF000000, RECT{0, 0, 1024, 768});
    d.DrawTexture(back, RECT{0, 0, 50, 40}, Scaled(20, 18, 0, 0), 0x7F000000);  // the shade
    if (mark) d.KeepLayer();
    d.DrawTexture(card, RECT{0, 0, 50, 40}, Scaled(6, 6, 200 + 10.0f * s.page, 150), 0xFFFFFFFF);
    d.DrawMask(glyph.data(), 12, 8, 12, 500 + s.page, 400, 0xFF3060FF, RECT{0, 0, 1024, 768});
  };
  // The plain device draws every scene whole, over the same picture before.
  auto kept = MakeDevice();
  auto plain = MakeDevice();
  for (size_t i = 0; i < steps.size(); ++i) {
    if (steps[i].game == 3 && steps[i - 1].game != 3) piece = std::make_unique<Texture>(Pattern(30, 30, true));
    if (steps[i].forget) kept->ForgetLastScene();
    kept->BeginScene();
    draw(*kept, steps[i], true);
    kept->EndScene();
    plain->ForgetLastScene();
    plain->BeginScene();
    draw(*plain, steps[i], false);
    plain->EndScene();
    ASSERT_EQ(Pixels(*kept), Pixels(*plain)) << "step " << i;
  }
  // Kept at the first drawing of each new game picture drawn whole (not
  // over an unknown picture); copied wherever it still held.
  EXPECT_EQ(kept->Stats().layersKept, 4u);
  EXPECT_GE(kept->Stats().layerCopies, 5u);
}

TEST(RenderScene, TheBackgroundUnderAnOpaquePageIsLeftOutWithoutChangingAPixel) {
  // A page with round, translucent corners and a see-through window over a
  // scaled background, with pieces between them and text above; the page is
  // tinted, moves and finally goes. Every scene equals the same calls drawn
  // directly, one after the other.
  Texture back = Pattern(600, 450, true);
  Texture card = Pattern(50, 40, false);
  Texture page;
  page.width = 500;
  page.height = 400;
  page.texels.resize(500 * 400);
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 500; ++x) {
      const int dx = std::min(x, 499 - x), dy = std::min(y, 399 - y);
      const bool corner = dx < 12 && dy < 12 && (12 - dx) * (12 - dx) + (12 - dy) * (12 - dy) > 144;
      const bool window = x > 300 && x < 340 && y > 150 && y < 190;
      const uint32_t a = corner ? 0 : (dx < 3 || dy < 3 || window) ? 120 : 255;
      page.texels[static_cast<size_t>(y) * 500 + x] = a << 24 | static_cast<uint32_t>(x * 7 + y * 13) % 0xFFFFFF;
    }
  std::vector<uint8_t> glyph(12 * 9);
  for (size_t i = 0; i < glyph.size(); ++i) glyph[i] = static_cast<uint8_t>(i * 29);
  auto draw = [&](auto& d, int scene) {
    d.Clear(0xFF646464);
    d.DrawTexture(back, RECT{0, 0, 600, 450}, Scaled(1024.0f / 600, 768.0f / 450, 0, 0), 0xFFFFFFFF);
    d.DrawTexture(card, RECT{0, 0, 50, 40}, Scaled(3, 3, 250, 250), 0x9F000000);
    if (scene < 4) {
      const D3DCOLOR tint = scene == 2 ? 0xFFC0A080 : 0xFFFFFFFF;
      d.DrawTexture(page, RECT{0, 0, 500, 400}, Scaled(1, 1, 200.0f + 10 * (scene == 3), 150), tint);
    }
    d.DrawTexture(card, RECT{0, 0, 50, 40}, Scaled(1, 1, 480, 300 + scene), 0xFFFFFFFF);
    d.DrawMask(glyph.data(), 12, 8, 12, 400, 200 + scene, 0xFF000000, RECT{0, 0, 1024, 768});
  };
  auto recorded = MakeDevice();
  for (int scene = 0; scene < 5; ++scene) {
    if (scene == 1) recorded->ForgetLastScene();
    recorded->BeginScene();
    draw(*recorded, scene);
    recorded->EndScene();
    auto direct = MakeDevice();
    draw(*direct, scene);
    ASSERT_EQ(Pixels(*recorded), Pixels(*direct)) << "scene " << scene;
  }
  EXPECT_GE(recorded->Stats().coversCut, 4u);
}

TEST(RenderScene, AWindowShowsEveryChangeThoughOnlyTheChangedPartIsCopied) {
  // Through SDL's display-less driver: a whole scene, pieces that move (drawn
  // and shown only where they changed), an unchanged scene, a draw outside a
  // scene; after each present the window shows exactly the back buffer.
  PlatformWindow* window = testapp::CreateWindowWithoutDisplay();
  if (!window) GTEST_SKIP() << "no window without a display";
  {
    D3DPRESENT_PARAMETERS p;
    p.BackBufferWidth = 1024;
    p.BackBufferHeight = 768;
    p.BackBufferFormat = D3DFMT_X8R8G8B8;
    p.hDeviceWindow = window;
    p.Windowed = true;
    auto device = RenderDevice::Create(p);
    ASSERT_TRUE(device);
    std::vector<uint32_t> shown;
    if (!device->ShownPixels(&shown)) GTEST_SKIP() << "the window is not shown through its surface";
    Texture back = Pattern(600, 450, true);
    Texture card = Pattern(50, 40, false);
    for (int scene = 0; scene < 7; ++scene) {
      const int k = scene == 6 ? 5 : scene;  // the last scene equals the one before
      device->BeginScene();
      device->Clear(0xFF646464);
      device->DrawTexture(back, RECT{0, 0, 600, 450}, Scaled(1024.0f / 600, 768.0f / 450, 0, 0), 0xFFFFFFFF);
      device->DrawTexture(card, RECT{0, 0, 50, 40}, Scaled(1.5f, 1.5f, 200.0f + 37 * k, 300), 0xFFFFFFFF);
      device->DrawTexture(card, RECT{0, 0, 50, 40}, Scaled(1, 1, 900, 100.0f + (k % 2) * 300), 0xFFFFFFFF);
      EXPECT_EQ(device->EndScene(), scene != 6);
      if (scene == 4) device->DrawTexture(card, RECT{0, 0, 50, 40}, Scaled(1, 1, 10, 10), 0xFFFFFFFF);
      device->Present();
      ASSERT_TRUE(device->ShownPixels(&shown));
      ASSERT_EQ(shown, Pixels(*device)) << "scene " << scene;
    }
    EXPECT_GE(device->Stats().scenesPatched, 4u);
  }
  delete window;
}
