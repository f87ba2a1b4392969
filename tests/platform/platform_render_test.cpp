// The software drawing device (offscreen), its 2D transform and the image codec.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "platform/render_device.h"

namespace {

D3DPRESENT_PARAMETERS OffscreenParams(int format = D3DFMT_X8R8G8B8) {
  D3DPRESENT_PARAMETERS p;
  p.BackBufferWidth = 1024;
  p.BackBufferHeight = 768;
  p.BackBufferFormat = format;
  p.BackBufferCount = 1;
  p.Windowed = true;
  return p;
}

std::unique_ptr<RenderDevice> MakeDevice() {
  auto device = RenderDevice::Create(OffscreenParams());
  EXPECT_TRUE(device);
  return device;
}

uint32_t Pixel(const RenderDevice& d, int x, int y) { return d.BackBuffer()[y * d.Width() + x]; }

int Channel(uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

// Expects every colour channel within `tolerance` of the expected value.
::testing::AssertionResult Near(uint32_t actual, uint32_t expected, int tolerance = 1) {
  for (int shift : {0, 8, 16}) {
    if (std::abs(Channel(actual, shift) - Channel(expected, shift)) > tolerance)
      return ::testing::AssertionFailure()
             << std::hex << "0x" << actual << " is not near 0x" << expected;
  }
  return ::testing::AssertionSuccess();
}

Texture MakeTexture(int w, int h, uint32_t fill) {
  Texture t;
  t.width = w;
  t.height = h;
  t.texels.assign(static_cast<size_t>(w) * h, fill);
  return t;
}

RECT Rect(int l, int t, int r, int b) {
  RECT rc;
  rc.left = l;
  rc.top = t;
  rc.right = r;
  rc.bottom = b;
  return rc;
}

Matrix2D Translation(float x, float y) {
  Matrix2D m;
  m.dx = x;
  m.dy = y;
  return m;
}

// Straight-alpha source-over of one channel, as the device computes it.
int Over(int src, int srcAlpha, int dst) { return (src * srcAlpha + dst * (255 - srcAlpha) + 127) / 255; }

struct TempDir {
  std::filesystem::path path;
  TempDir() {
    char pattern[] = "/tmp/denkar_render_XXXXXX";
    path = mkdtemp(pattern);
  }
  ~TempDir() { std::filesystem::remove_all(path); }
};

}  // namespace

TEST(PlatformRenderDevice, OffscreenCreationFormatsAndResetCycle) {
  for (int format : {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_R5G6B5}) {
    auto device = RenderDevice::Create(OffscreenParams(format));
    ASSERT_TRUE(device) << format;
    EXPECT_EQ(device->Width(), 1024);
    EXPECT_EQ(device->Height(), 768);
    EXPECT_EQ(device->TestCooperativeLevel(), S_OK);
    EXPECT_EQ(device->Reset(OffscreenParams(format)), S_OK);
    EXPECT_EQ(device->TestCooperativeLevel(), S_OK);
  }
  EXPECT_FALSE(RenderDevice::Create(OffscreenParams(99)));
  D3DPRESENT_PARAMETERS absurd = OffscreenParams();
  absurd.BackBufferWidth = -4;
  EXPECT_FALSE(RenderDevice::Create(absurd));
}

TEST(PlatformRenderDevice, ClearFillsOpaque) {
  auto device = MakeDevice();
  device->Clear(0x00123456);
  for (int i : {0, 1000, 1024 * 768 - 1}) EXPECT_EQ(device->BackBuffer()[i], 0xFF123456u);
  device->Present();  // headless: nothing to show, must not fail
}

TEST(PlatformRenderDevice, UnscaledDrawCopiesTexelsOneToOne) {
  auto device = MakeDevice();
  device->Clear(0xFF000000);
  Texture tex = MakeTexture(7, 5, 0);
  for (int i = 0; i < 35; ++i) tex.texels[i] = 0xFF000000u | (i * 0x030507u + 0x102030u);
  // Source (1,1)-(6,4); the translation is rounded to whole pixels.
  device->DrawTexture(tex, Rect(1, 1, 6, 4), Translation(10.4f, 20.6f), 0xFFFFFFFF);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(Pixel(*device, 10 + x, 21 + y), tex.Texel(1 + x, 1 + y));
  EXPECT_EQ(Pixel(*device, 9, 21), 0xFF000000u);
  EXPECT_EQ(Pixel(*device, 15, 21), 0xFF000000u);
  EXPECT_EQ(Pixel(*device, 10, 20), 0xFF000000u);
  EXPECT_EQ(Pixel(*device, 10, 24), 0xFF000000u);

  // Translucent and fully transparent texels blend over what is there.
  device->Clear(0xFF204060);
  Texture glass = MakeTexture(2, 1, 0x80FF8000);
  glass.texels[1] = 0x00FFFFFF;
  device->DrawTexture(glass, Rect(0, 0, 2, 1), Translation(0, 0), 0xFFFFFFFF);
  EXPECT_TRUE(Near(Pixel(*device, 0, 0),
                   D3DCOLOR_ARGB(255, Over(255, 128, 0x20), Over(0x80, 128, 0x40), Over(0, 128, 0x60))));
  EXPECT_EQ(Pixel(*device, 1, 0), 0xFF204060u);
}

TEST(PlatformRenderDevice, SourceRectangleIsClampedToTheTexture) {
  auto device = MakeDevice();
  device->Clear(0xFF000000);
  Texture tex = MakeTexture(4, 4, 0xFFFFFFFF);
  device->DrawTexture(tex, Rect(-10, -10, 100, 100), Translation(50, 50), 0xFFFFFFFF);
  EXPECT_EQ(Pixel(*device, 50, 50), 0xFFFFFFFFu);
  EXPECT_EQ(Pixel(*device, 53, 53), 0xFFFFFFFFu);
  EXPECT_EQ(Pixel(*device, 54, 53), 0xFF000000u);
  EXPECT_EQ(Pixel(*device, 49, 50), 0xFF000000u);
  // Empty or inverted rectangles draw nothing.
  device->DrawTexture(tex, Rect(2, 2, 2, 4), Translation(0, 0), 0xFFFFFFFF);
  device->DrawTexture(tex, Rect(3, 3, 1, 1), Translation(0, 0), 0xFFFFFFFF);
  EXPECT_EQ(Pixel(*device, 0, 0), 0xFF000000u);
  Texture empty;
  device->DrawTexture(empty, Rect(0, 0, 4, 4), Translation(0, 0), 0xFFFFFFFF);
}

TEST(PlatformRenderDevice, ScaleTwoCoversTheAreaAndFilters) {
  auto device = MakeDevice();
  device->Clear(0xFF0000FF);
  Texture solid = MakeTexture(4, 3, 0xFF00FF00);
  D3DXVECTOR2 scale{2, 2}, pos{100, 200};
  device->DrawTexture(solid, Rect(0, 0, 4, 3), MatrixTransformation2D(&scale, nullptr, 0, &pos),
                      0xFFFFFFFF);
  for (int y = 199; y <= 206; ++y)
    for (int x = 99; x <= 108; ++x) {
      const bool inside = x >= 100 && x < 108 && y >= 200 && y < 206;
      EXPECT_EQ(Pixel(*device, x, y), inside ? 0xFF00FF00u : 0xFF0000FFu) << x << "," << y;
    }

  // Black | white, scaled by 2: pixel centres sample at -0.25 (edge), 0.25,
  // 0.75 and 1.25 (edge) texels.
  Texture ramp = MakeTexture(2, 1, 0xFF000000);
  ramp.texels[1] = 0xFFFFFFFF;
  D3DXVECTOR2 at{0, 0};
  device->DrawTexture(ramp, Rect(0, 0, 2, 1), MatrixTransformation2D(&scale, nullptr, 0, &at),
                      0xFFFFFFFF);
  EXPECT_TRUE(Near(Pixel(*device, 0, 0), 0xFF000000));
  EXPECT_TRUE(Near(Pixel(*device, 1, 0), 0xFF404040, 2));
  EXPECT_TRUE(Near(Pixel(*device, 2, 0), 0xFFBFBFBF, 2));
  EXPECT_TRUE(Near(Pixel(*device, 3, 0), 0xFFFFFFFF));
  EXPECT_EQ(Pixel(*device, 1, 1), Pixel(*device, 1, 0));
  EXPECT_EQ(Pixel(*device, 4, 0), 0xFF0000FFu);
}

TEST(PlatformRenderDevice, RotationAboutACentreLandsWhereTheTransformPutsIt) {
  // (1,0) turned by +90 degrees goes to (0,1): down on the screen.
  const Matrix2D r = MatrixTransformation2D(nullptr, nullptr, static_cast<float>(M_PI / 2), nullptr);
  EXPECT_NEAR(r.m11 * 1 + r.m21 * 0 + r.dx, 0, 1e-6);
  EXPECT_NEAR(r.m12 * 1 + r.m22 * 0 + r.dy, 1, 1e-6);

  auto device = MakeDevice();
  device->Clear(0xFF000000);
  Texture tex = MakeTexture(4, 2, 0);
  for (int i = 0; i < 8; ++i) tex.texels[i] = D3DCOLOR_ARGB(255, 30 * i + 10, 200 - 20 * i, 7 * i);
  D3DXVECTOR2 centre{2, 1}, pos{100, 100};
  device->DrawTexture(tex, Rect(0, 0, 4, 2),
                      MatrixTransformation2D(nullptr, &centre, static_cast<float>(M_PI / 2), &pos),
                      0xFFFFFFFF);
  // Texel (i, j) has its centre at (i + .5, j + .5); turned about (2, 1) and
  // moved by (100, 100) it lands on pixel (102 - j, 99 + i).
  for (int j = 0; j < 2; ++j)
    for (int i = 0; i < 4; ++i)
      EXPECT_TRUE(Near(Pixel(*device, 102 - j, 99 + i), tex.Texel(i, j), 2)) << i << "," << j;
  EXPECT_EQ(Pixel(*device, 100, 100), 0xFF000000u);
  EXPECT_EQ(Pixel(*device, 102, 103), 0xFF000000u);

  // The matrix itself, against the composition written out.
  D3DXVECTOR2 s{1.5f, 0.5f}, c{10, 20}, t{3, 4};
  const float a = 0.7f;
  const Matrix2D m = MatrixTransformation2D(&s, &c, a, &t);
  const double u = 5, v = 7;
  const double px = s.x * u - c.x, py = s.y * v - c.y;
  const double ex = px * std::cos(a) - py * std::sin(a) + c.x + t.x;
  const double ey = px * std::sin(a) + py * std::cos(a) + c.y + t.y;
  EXPECT_NEAR(m.m11 * u + m.m21 * v + m.dx, ex, 1e-4);
  EXPECT_NEAR(m.m12 * u + m.m22 * v + m.dy, ey, 1e-4);
  const Matrix2D identity = MatrixTransformation2D(nullptr, nullptr, 0, nullptr);
  EXPECT_EQ(identity.m11, 1);
  EXPECT_EQ(identity.m12, 0);
  EXPECT_EQ(identity.m21, 0);
  EXPECT_EQ(identity.m22, 1);
  EXPECT_EQ(identity.dx, 0);
  EXPECT_EQ(identity.dy, 0);
}

TEST(PlatformRenderDevice, TintModulatesColourAndAlpha) {
  auto device = MakeDevice();
  const uint32_t texel = 0xC0808040;  // alpha 192
  const uint32_t tint = 0x80FF8040;   // alpha 128
  Texture tex = MakeTexture(1, 1, texel);
  for (uint32_t background : {0xFF000000u, 0xFFFFFFFFu, 0xFF336699u}) {
    device->Clear(background);
    // Unscaled (copy path) at (0,0), scaled (filtered path) at (10,10).
    device->DrawTexture(tex, Rect(0, 0, 1, 1), Translation(0, 0), tint);
    D3DXVECTOR2 scale{3, 3}, pos{10, 10};
    device->DrawTexture(tex, Rect(0, 0, 1, 1), MatrixTransformation2D(&scale, nullptr, 0, &pos), tint);
    const int a = 192 * 128 / 255;
    uint32_t expected = 0xFF000000;
    for (int shift : {0, 8, 16}) {
      const int c = Channel(texel, shift) * Channel(tint, shift) / 255;
      expected |= static_cast<uint32_t>(Over(c, a, Channel(background, shift))) << shift;
    }
    EXPECT_TRUE(Near(Pixel(*device, 0, 0), expected, 2));
    EXPECT_TRUE(Near(Pixel(*device, 11, 11), expected, 2));
  }
  // A tint with alpha 0 leaves the picture alone.
  device->Clear(0xFF102030);
  device->DrawTexture(tex, Rect(0, 0, 1, 1), Translation(0, 0), 0x00FFFFFF);
  EXPECT_EQ(Pixel(*device, 0, 0), 0xFF102030u);
}

TEST(PlatformRenderDevice, DrawsAreClippedAtTheScreenEdges) {
  auto device = MakeDevice();
  device->Clear(0xFF000000);
  Texture tex = MakeTexture(10, 10, 0xFFFF0000);
  device->DrawTexture(tex, Rect(0, 0, 10, 10), Translation(-5, -5), 0xFFFFFFFF);
  device->DrawTexture(tex, Rect(0, 0, 10, 10), Translation(1019, 763), 0xFFFFFFFF);
  EXPECT_EQ(Pixel(*device, 0, 0), 0xFFFF0000u);
  EXPECT_EQ(Pixel(*device, 4, 4), 0xFFFF0000u);
  EXPECT_EQ(Pixel(*device, 5, 5), 0xFF000000u);
  EXPECT_EQ(Pixel(*device, 1023, 767), 0xFFFF0000u);
  EXPECT_EQ(Pixel(*device, 1018, 767), 0xFF000000u);
  // Scaled, rotated and absurd transforms partly or wholly off screen.
  D3DXVECTOR2 big{300, 200}, corner{900, 700};
  device->DrawTexture(tex, Rect(0, 0, 10, 10), MatrixTransformation2D(&big, nullptr, 0.3f, &corner),
                      0xFFFFFFFF);
  EXPECT_EQ(Pixel(*device, 1023, 767), 0xFFFF0000u);
  D3DXVECTOR2 far{1e30f, -1e30f}, tiny{1e-20f, 1e-20f}, inf{INFINITY, 1};
  device->DrawTexture(tex, Rect(0, 0, 10, 10), MatrixTransformation2D(nullptr, nullptr, 1.0f, &far),
                      0xFFFFFFFF);
  device->DrawTexture(tex, Rect(0, 0, 10, 10), MatrixTransformation2D(&tiny, nullptr, 0, nullptr),
                      0xFFFFFFFF);
  device->DrawTexture(tex, Rect(0, 0, 10, 10), MatrixTransformation2D(&inf, nullptr, 0, nullptr),
                      0xFFFFFFFF);
  device->DrawTexture(tex, Rect(0, 0, 10, 10), Translation(5000, 100), 0xFFFFFFFF);
  device->DrawTexture(tex, Rect(0, 0, 10, 10), Translation(-3e9f, 100), 0xFFFFFFFF);
}

TEST(PlatformRenderDevice, FilteringNeverReadsOutsideTheSourceRectangle) {
  // A green 4x4 cell inside a red atlas: scaled and rotated draws of the cell
  // must show no trace of the red around it.
  Texture atlas = MakeTexture(12, 12, 0xFFFF0000);
  for (int y = 4; y < 8; ++y)
    for (int x = 4; x < 8; ++x) atlas.texels[y * 12 + x] = 0xFF00FF00;
  auto device = MakeDevice();
  const float angles[] = {0.0f, 0.3f, 1.2f, 3.14159f};
  const float scales[] = {3.7f, 0.6f, 1.0f, -2.0f};
  for (float angle : angles)
    for (float s : scales) {
      device->Clear(0xFF0000FF);
      D3DXVECTOR2 scale{s, std::fabs(s) + 0.25f}, centre{8, 8}, pos{300, 300};
      device->DrawTexture(atlas, Rect(4, 4, 8, 8), MatrixTransformation2D(&scale, &centre, angle, &pos),
                          0xFFFFFFFF);
      int covered = 0;
      for (int y = 250; y < 350; ++y)
        for (int x = 250; x < 350; ++x) {
          const uint32_t p = Pixel(*device, x, y);
          ASSERT_EQ(Channel(p, 16), 0) << angle << " " << s << " at " << x << "," << y;
          if (p == 0xFF00FF00u) ++covered;
        }
      EXPECT_GT(covered, 0) << angle << " " << s;
    }
}

// Reference for one screen pixel: the bilinear sample of premultiplied
// texels at the pixel centre mapped back into the source, blended over `under`.
// Returns false when the centre lies on (or very near) the sprite's border.
bool ReferencePixel(const Texture& tex, const RECT& src, const Matrix2D& m, int x, int y,
                    uint32_t under, uint32_t* out) {
  const double det = double(m.m11) * m.m22 - double(m.m21) * m.m12;
  const double X = x + 0.5 - m.dx, Y = y + 0.5 - m.dy;
  const double u = (m.m22 * X - m.m21 * Y) / det, v = (-m.m12 * X + m.m11 * Y) / det;
  const int sw = src.right - src.left, sh = src.bottom - src.top;
  const double eps = 0.01;
  if (u < eps || v < eps || u > sw - eps || v > sh - eps) {
    if (u < -eps || v < -eps || u > sw + eps || v > sh + eps) {
      *out = under;  // clearly outside: untouched
      return true;
    }
    return false;
  }
  const double su = std::clamp(u - 0.5, 0.0, sw - 1.0), sv = std::clamp(v - 0.5, 0.0, sh - 1.0);
  const int x0 = int(su), y0 = int(sv);
  const int x1 = std::min(x0 + 1, sw - 1), y1 = std::min(y0 + 1, sh - 1);
  const double fx = su - x0, fy = sv - y0;
  double acc[4] = {0, 0, 0, 0};  // premultiplied b, g, r and alpha
  const int xs[2] = {x0, x1}, ys[2] = {y0, y1};
  const double wx[2] = {1 - fx, fx}, wy[2] = {1 - fy, fy};
  for (int j = 0; j < 2; ++j)
    for (int i = 0; i < 2; ++i) {
      const uint32_t t = tex.Texel(src.left + xs[i], src.top + ys[j]);
      const double a = (t >> 24) / 255.0, w = wx[i] * wy[j];
      for (int c = 0; c < 3; ++c) acc[c] += w * a * Channel(t, 8 * c);
      acc[3] += w * a;
    }
  uint32_t result = 0xFF000000;
  for (int c = 0; c < 3; ++c)
    result |= uint32_t(std::lround(acc[c] + Channel(under, 8 * c) * (1 - acc[3]))) << (8 * c);
  *out = result;
  return true;
}

TEST(PlatformRenderDevice, RandomTexelsFollowTheBlendFormula) {
  Texture tex = MakeTexture(41, 23, 0);
  uint32_t seed = 12345;
  for (uint32_t& t : tex.texels) {
    seed = seed * 1664525u + 1013904223u;
    t = seed;
    if ((seed >> 8) % 4 == 0) t |= 0xFF000000u;  // plenty of opaque texels too
    if ((seed >> 8) % 7 == 0) t &= 0x00FFFFFFu;  // and fully transparent ones
  }
  Texture opaque = tex;
  for (uint32_t& t : opaque.texels) t |= 0xFF000000u;
  const RECT src = Rect(3, 2, 38, 21);
  struct Case {
    float sx, sy, angle;
  };
  const Case cases[] = {{1, 1, 0}, {2.3f, 1.7f, 0}, {0.8f, 0.45f, 0}, {-1.5f, 2, 0},
                        {1, 1, 0.01f}, {1.9f, 1.3f, 2.2f}};
  auto device = MakeDevice();
  for (const Texture* t : {&tex, &opaque})
    for (const Case& c : cases) {
      device->Clear(0xFF5080B0);
      D3DXVECTOR2 scale{c.sx, c.sy}, centre{20, 10}, pos{200.25f, 100.5f};
      const Matrix2D m = MatrixTransformation2D(&scale, &centre, c.angle, &pos);
      device->DrawTexture(*t, src, m, 0xFFFFFFFF);
      int checked = 0;
      for (int y = 60; y < 180; ++y)
        for (int x = 150; x < 300; ++x) {
          uint32_t expected;
          if (!ReferencePixel(*t, src, m, x, y, 0xFF5080B0, &expected)) continue;
          if (c.sx == 1 && c.sy == 1 && c.angle == 0) {
            // Unscaled draws are placed on whole pixels without filtering.
            const Matrix2D whole = Translation(std::floor(m.dx + 0.5f), std::floor(m.dy + 0.5f));
            if (!ReferencePixel(*t, src, whole, x, y, 0xFF5080B0, &expected)) continue;
          }
          ASSERT_TRUE(Near(Pixel(*device, x, y), expected, 2))
              << "case " << c.sx << "," << c.sy << "," << c.angle << " at " << x << "," << y;
          ++checked;
        }
      EXPECT_GT(checked, 1000);
    }
}

TEST(PlatformRenderDevice, MaskBlendsCoverageInsideTheClip) {
  auto device = MakeDevice();
  device->Clear(0xFF000000);
  const uint8_t mask[2 * 4] = {0, 64, 128, 255, 255, 255, 255, 255};  // pitch 4, width 3
  RECT clip = Rect(0, 0, 1024, 768);
  device->DrawMask(mask, 3, 2, 4, 10, 10, 0xFFFF0000, clip);
  EXPECT_EQ(Pixel(*device, 10, 10), 0xFF000000u);
  EXPECT_TRUE(Near(Pixel(*device, 11, 10), 0xFF400000));
  EXPECT_TRUE(Near(Pixel(*device, 12, 10), 0xFF800000));
  EXPECT_EQ(Pixel(*device, 13, 10), 0xFF000000u);  // beyond the width, inside the pitch
  EXPECT_EQ(Pixel(*device, 10, 11), 0xFFFF0000u);
  // Colour alpha scales the coverage.
  device->DrawMask(mask, 3, 2, 4, 20, 10, 0x80FFFFFF, clip);
  EXPECT_TRUE(Near(Pixel(*device, 20, 11), 0xFF808080));
  // Clip rectangle and screen edges.
  device->Clear(0xFF000000);
  device->DrawMask(mask, 3, 2, 4, 10, 10, 0xFFFFFFFF, Rect(11, 11, 12, 12));
  EXPECT_EQ(Pixel(*device, 10, 11), 0xFF000000u);
  EXPECT_EQ(Pixel(*device, 11, 11), 0xFFFFFFFFu);
  EXPECT_EQ(Pixel(*device, 12, 11), 0xFF000000u);
  device->DrawMask(mask, 3, 2, 4, -1, -1, 0xFFFFFFFF, Rect(-100, -100, 2000, 2000));
  EXPECT_EQ(Pixel(*device, 0, 0), 0xFFFFFFFFu);
  device->DrawMask(mask, 3, 2, 4, 1022, 767, 0xFFFFFFFF, clip);
  EXPECT_TRUE(Near(Pixel(*device, 1023, 767), 0xFF404040));
  device->DrawMask(nullptr, 3, 2, 4, 0, 0, 0xFFFFFFFF, clip);
  device->DrawMask(mask, 3, 2, 2, 0, 0, 0xFFFFFFFF, clip);  // pitch below width: refused
}

TEST(PlatformRenderDevice, MaskPixelsFollowTheBlendFormulaExactly) {
  // Coverage of every kind in runs of four and in the odd pixels around them,
  // over a varied background, in opaque and translucent colours, clipped on
  // odd columns.
  auto round255 = [](uint32_t x) { return (2 * x + 255) / 510; };
  std::vector<uint8_t> mask(37 * 9);
  for (size_t i = 0; i < mask.size(); ++i) {
    const uint32_t k = static_cast<uint32_t>(i * 2654435761u >> 7);
    mask[i] = (i / 8) % 3 == 0 ? 0 : (i / 4) % 5 == 1 ? 255 : static_cast<uint8_t>(k);
  }
  for (uint32_t colour : {0xFF000000u, 0xFFFFFFFFu, 0xFF3080C0u, 0x80FF4020u, 0x01FFFFFFu}) {
    auto device = MakeDevice();
    Texture background = MakeTexture(64, 16, 0);
    for (size_t i = 0; i < background.texels.size(); ++i)
      background.texels[i] = 0xFF000000u | static_cast<uint32_t>(i * 0x9E3779B1u >> 8);
    device->DrawTexture(background, Rect(0, 0, 64, 16), Translation(0, 0), 0xFFFFFFFF);
    const std::vector<uint32_t> before(device->BackBuffer(), device->BackBuffer() + 1024 * 768);
    const RECT clip = Rect(3, 1, 34, 16);
    device->DrawMask(mask.data(), 37, 9, 37, 1, 2, colour, clip);
    const uint32_t ca = colour >> 24;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 64; ++x) {
        uint32_t expected = before[static_cast<size_t>(y) * 1024 + x];
        const bool inside = x >= 3 && x < 34 && y >= 2 && y < 11 && x >= 1 && x < 38;
        if (inside) {
          const uint32_t a = round255(ca * mask[static_cast<size_t>(y - 2) * 37 + (x - 1)]);
          uint32_t out = 0xFF000000u;
          for (int shift : {0, 8, 16}) {
            const uint32_t c = (colour >> shift) & 0xFF, d = (expected >> shift) & 0xFF;
            out |= (round255(c * a) + round255(d * (255 - a))) << shift;
          }
          expected = out;
        }
        ASSERT_EQ(Pixel(*device, x, y), expected) << std::hex << colour << std::dec << " at " << x << "," << y;
      }
  }
}

TEST(PlatformImageCodec, PngRoundTripKeepsPixels) {
  TempDir dir;
  const int w = 37, h = 11;
  std::vector<uint32_t> pixels(w * h);
  for (int i = 0; i < w * h; ++i) pixels[i] = static_cast<uint32_t>(i * 2654435761u);
  const std::string path = (dir.path / "straight.png").string();
  ASSERT_TRUE(WritePNG(path, pixels.data(), w, h, false));

  auto readFile = [](const std::string& p) {
    std::vector<uint8_t> bytes;
    FILE* f = std::fopen(p.c_str(), "rb");
    if (!f) return bytes;
    int c;
    while ((c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<uint8_t>(c));
    std::fclose(f);
    return bytes;
  };
  std::vector<uint8_t> bytes = readFile(path);
  Texture decoded;
  ASSERT_TRUE(DecodeImage(bytes.data(), bytes.size(), &decoded));
  ASSERT_EQ(decoded.width, w);
  ASSERT_EQ(decoded.height, h);
  EXPECT_EQ(decoded.texels, pixels);

  // Opaque: colours kept, alpha forced to 255.
  ASSERT_TRUE(WritePNG((dir.path / "opaque.png").string(), pixels.data(), w, h, true));
  bytes = readFile((dir.path / "opaque.png").string());
  ASSERT_TRUE(DecodeImage(bytes.data(), bytes.size(), &decoded));
  for (int i = 0; i < w * h; ++i) ASSERT_EQ(decoded.texels[i], pixels[i] | 0xFF000000u);

  // The device's screenshot is an opaque 1024 x 768 picture of the back buffer.
  auto device = MakeDevice();
  device->Clear(0xFF00FF64);
  Texture dot = MakeTexture(1, 1, 0xFF123456);
  device->DrawTexture(dot, Rect(0, 0, 1, 1), Translation(5, 6), 0xFFFFFFFF);
  ASSERT_TRUE(device->SavePNG((dir.path / "shot.png").string()));
  bytes = readFile((dir.path / "shot.png").string());
  ASSERT_TRUE(DecodeImage(bytes.data(), bytes.size(), &decoded));
  EXPECT_EQ(decoded.width, 1024);
  EXPECT_EQ(decoded.height, 768);
  EXPECT_EQ(decoded.Texel(5, 6), 0xFF123456u);
  EXPECT_EQ(decoded.Texel(0, 0), 0xFF00FF64u);

  EXPECT_FALSE(WritePNG((dir.path / "missing" / "x.png").string(), pixels.data(), w, h, false));
  EXPECT_FALSE(WritePNG((dir.path / "zero.png").string(), pixels.data(), 0, h, false));
}

TEST(PlatformImageCodec, BadInputFailsCleanly) {
  Texture out = MakeTexture(1, 1, 0xDEADBEEF);
  const uint8_t garbage[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20};
  EXPECT_FALSE(DecodeImage(garbage, sizeof garbage, &out));
  EXPECT_FALSE(DecodeImage(garbage, 0, &out));
  EXPECT_FALSE(DecodeImage(nullptr, 10, &out));

  // A valid header that promises a 100000 x 100000 picture is refused up
  // front; a cut-off file fails in the decoder.
  TempDir dir;
  std::vector<uint32_t> pixels(16 * 16, 0xFF808080u);
  const std::string path = (dir.path / "p.png").string();
  ASSERT_TRUE(WritePNG(path, pixels.data(), 16, 16, false));
  std::vector<uint8_t> png;
  FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_TRUE(f);
  for (int c; (c = std::fgetc(f)) != EOF;) png.push_back(static_cast<uint8_t>(c));
  std::fclose(f);
  std::vector<uint8_t> huge = png;
  for (int i : {16, 20}) {
    huge[i] = 0x00;
    huge[i + 1] = 0x01;
    huge[i + 2] = 0x86;
    huge[i + 3] = 0xA0;
  }
  EXPECT_FALSE(DecodeImage(huge.data(), huge.size(), &out));
  EXPECT_FALSE(DecodeImage(png.data(), png.size() / 2, &out));
  EXPECT_FALSE(DecodeImage(png.data(), 8, &out));
  // A JPEG start with nothing behind it.
  const uint8_t jpegStart[] = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F'};
  EXPECT_FALSE(DecodeImage(jpegStart, sizeof jpegStart, &out));
  // Nothing was written to the output on failure.
  EXPECT_EQ(out.width, 1);
  EXPECT_EQ(out.Texel(0, 0), 0xDEADBEEFu);
}
