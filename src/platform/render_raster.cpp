// The software rasteriser behind RenderDevice: clearing, textured quads through
// a 2D affine transform, and coverage masks for glyphs.
//
// Texels are straight-alpha A8R8G8B8. Internally each sampled texel is turned
// into premultiplied form, which makes bilinear filtering correct at the edges
// of transparent regions and reduces the blend to dst = src + dst * (1 - a).
// The back buffer is X8R8G8B8; its alpha byte is always kept at 0xFF.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>
#include "platform/render_device.h"
#include "platform/block_store.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// The per-pixel helpers must be inlined into the loops to keep them fast.
#define DENKAR_INLINE inline __attribute__((always_inline))

// round(x / 255) for 0 <= x <= 65025.
DENKAR_INLINE uint32_t Div255(uint32_t x) {
  x += 128;
  return (x + (x >> 8)) >> 8;
}

#if defined(__SSE2__)
// Div255 in each 16-bit lane.
DENKAR_INLINE __m128i Div255Lanes(__m128i x) {
  x = _mm_add_epi16(x, _mm_set1_epi16(128));
  return _mm_srli_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), 8);
}
#endif

// Straight ARGB -> premultiplied ARGB (alpha unchanged).
DENKAR_INLINE uint32_t Premultiply(uint32_t p) {
  const uint32_t a = p >> 24;
  if (a == 255) return p;
  if (a == 0) return 0;
  uint32_t rb = (p & 0x00FF00FFu) * a + 0x00800080u;
  rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
  uint32_t g = (p & 0x0000FF00u) * a + 0x00008000u;
  g = ((g + ((g >> 8) & 0x0000FF00u)) >> 8) & 0x0000FF00u;
  return (a << 24) | rb | g;
}

// Linear interpolation of two ARGB values, f = weight of b in 0 ... 256.
DENKAR_INLINE uint32_t Lerp(uint32_t a, uint32_t b, uint32_t f) {
  const uint32_t nf = 256 - f;
  const uint32_t rb =
      (((a & 0x00FF00FFu) * nf + (b & 0x00FF00FFu) * f + 0x00800080u) >> 8) & 0x00FF00FFu;
  const uint32_t ag =
      ((((a >> 8) & 0x00FF00FFu) * nf + ((b >> 8) & 0x00FF00FFu) * f + 0x00800080u)) &
      0xFF00FF00u;
  return rb | ag;
}

// Blends a premultiplied source pixel over an opaque destination pixel.
DENKAR_INLINE uint32_t BlendPremultiplied(uint32_t src, uint32_t dst) {
  const uint32_t a = src >> 24;
  if (a == 255) return src | 0xFF000000u;
  if (a == 0) return dst;
  const uint32_t inv = 255 - a;
  uint32_t rb = (dst & 0x00FF00FFu) * inv + 0x00800080u;
  rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
  uint32_t g = (dst & 0x0000FF00u) * inv + 0x00008000u;
  g = ((g + ((g >> 8) & 0x0000FF00u)) >> 8) & 0x0000FF00u;
  // Each channel of src is at most a, and the scaled destination at most
  // 255 - a, so the sums cannot carry into the next channel.
  return 0xFF000000u | ((src & 0x00FFFFFFu) + rb + g);
}

// Per-draw tint: multiplies a premultiplied pixel by the colour (c * t / 255
// per channel, alpha too). The factors already include the tint's alpha for the
// colour channels, so premultiplied form is kept.
struct Tint {
  bool white = true;
  uint32_t a = 255, kr = 255, kg = 255, kb = 255;
  explicit Tint(uint32_t colour) {
    a = colour >> 24;
    const uint32_t r = (colour >> 16) & 0xFF, g = (colour >> 8) & 0xFF, b = colour & 0xFF;
    white = (colour == 0xFFFFFFFFu);
    kr = Div255(r * a);
    kg = Div255(g * a);
    kb = Div255(b * a);
  }
  DENKAR_INLINE uint32_t Apply(uint32_t p) const {
    if (white) return p;
    const uint32_t pa = Div255((p >> 24) * a);
    const uint32_t pr = std::min(pa, Div255(((p >> 16) & 0xFF) * kr));
    const uint32_t pg = std::min(pa, Div255(((p >> 8) & 0xFF) * kg));
    const uint32_t pb = std::min(pa, Div255((p & 0xFF) * kb));
    return (pa << 24) | (pr << 16) | (pg << 8) | pb;
  }
};

// Doubles beyond this are treated as "far off screen" before any conversion to
// an integer, so no conversion can overflow.
constexpr double kCoordLimit = 1.0e8;

inline bool Finite(float f) { return std::isfinite(f); }

constexpr int kFracBits = 32;
constexpr double kFracOne = 4294967296.0;  // 2^32

// Sample position = sprite coordinate - half a texel (texel centres), plus
// half a weight step so the 8-bit weights round instead of truncating.
constexpr int64_t kSampleBias = -(int64_t{1} << (kFracBits - 1)) + (int64_t{1} << (kFracBits - 9));

// Where one screen column (or row) samples an axis-aligned scaled sprite:
// texel index, its neighbour (clamped to the source) and the 8-bit weight.
struct Tap {
  int i0, i1;
  uint32_t f;
};

// Pixel centres c + 0.5 for c in [c0, c1) mapped to sprite space by
// (c + 0.5 - offset) / scale; fills the taps of the covered run and returns
// its first index (the run is contiguous because the mapping is monotone).
int AxisTaps(int c0, int c1, double offset, double scale, int size, std::vector<Tap>* taps) {
  taps->clear();
  const int64_t limit = static_cast<int64_t>(size) << kFracBits;
  const int64_t maxS = static_cast<int64_t>(size - 1) << kFracBits;
  int first = c1;
  for (int c = c0; c < c1; ++c) {
    const double u = (c + 0.5 - offset) / scale;
    if (!(u >= 0.0 && u < size)) {
      if (!taps->empty()) break;
      continue;
    }
    int64_t uf = static_cast<int64_t>(std::floor(u * kFracOne));
    if (uf >= limit) uf = limit - 1;
    if (taps->empty()) first = c;
    const int64_t s = std::clamp<int64_t>(uf + kSampleBias, 0, maxS);
    const int i0 = static_cast<int>(s >> kFracBits);
    taps->push_back({i0, i0 + (i0 < size - 1 ? 1 : 0),
                     static_cast<uint32_t>(s >> (kFracBits - 8)) & 0xFF});
  }
  return first;
}

// Source-over of a row onto the back buffer (white tint): straight-alpha
// texels with the same arithmetic as BlendPremultiplied(Premultiply(t), d),
// or, with `premultiplied`, pixels as BlendPremultiplied(p, d).
template <bool premultiplied>
void BlendRowOf(const uint32_t* src, uint32_t* dst, int n) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128(), c255 = _mm_set1_epi16(255);
  const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  // Two pixels in 16-bit lanes; each channel of the (premultiplied) source is
  // at most its alpha, so the sums stay within a byte.
  auto half = [&](__m128i s, __m128i d) {
    const __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(s, 0xFF), 0xFF);
    const __m128i source = premultiplied ? s : Div255Lanes(_mm_mullo_epi16(s, alpha));
    return _mm_add_epi16(source, Div255Lanes(_mm_mullo_epi16(d, _mm_sub_epi16(c255, alpha))));
  };
  for (; i + 4 <= n; i += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    const __m128i alpha = _mm_and_si128(s, opaque);
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(alpha, opaque)) == 0xFFFF) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), s);
      continue;
    }
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(alpha, zero)) == 0xFFFF) continue;
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
    const __m128i lo = half(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero));
    const __m128i hi = half(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_or_si128(_mm_packus_epi16(lo, hi), opaque));
  }
#endif
  for (; i < n; ++i) {
    const uint32_t t = src[i];
    const uint32_t a = t >> 24;
    if (a == 255)
      dst[i] = t | 0xFF000000u;
    else if (a != 0)
      dst[i] = BlendPremultiplied(premultiplied ? t : Premultiply(t), dst[i]);
  }
}

void BlendRow(const uint32_t* src, uint32_t* dst, int n) { BlendRowOf<false>(src, dst, n); }
void BlendPremultipliedRow(const uint32_t* src, uint32_t* dst, int n) { BlendRowOf<true>(src, dst, n); }

// BlendPremultiplied(tint.Apply(src[i]), dst[i]) for a row of premultiplied
// pixels.
void TintBlendRow(const uint32_t* src, const Tint& tint, uint32_t* dst, size_t n) {
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128(), c255 = _mm_set1_epi16(255);
  const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  const auto kb = static_cast<short>(tint.kb), kg = static_cast<short>(tint.kg);
  const auto kr = static_cast<short>(tint.kr), ka = static_cast<short>(tint.a);
  const __m128i k = _mm_setr_epi16(kb, kg, kr, ka, kb, kg, kr, ka);
  // Two pixels in 16-bit lanes: tinted, each channel limited to the alpha,
  // then over the destination.
  auto half = [&](__m128i p, __m128i d) {
    __m128i q = Div255Lanes(_mm_mullo_epi16(p, k));
    const __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(q, 0xFF), 0xFF);
    q = _mm_min_epi16(q, alpha);
    return _mm_add_epi16(q, Div255Lanes(_mm_mullo_epi16(d, _mm_sub_epi16(c255, alpha))));
  };
  for (; i + 4 <= n; i += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
    const __m128i lo = half(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero));
    const __m128i hi = half(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_or_si128(_mm_packus_epi16(lo, hi), opaque));
  }
#endif
  for (; i < n; ++i) dst[i] = BlendPremultiplied(tint.Apply(src[i]), dst[i]);
}

// out[i] = Lerp(a[i], b[i], f) for a row of pixels.
void LerpRow(const uint32_t* a, const uint32_t* b, uint32_t f, uint32_t* out, size_t n) {
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128(), round = _mm_set1_epi16(128);
  const __m128i wa = _mm_set1_epi16(static_cast<short>(256 - f)), wb = _mm_set1_epi16(static_cast<short>(f));
  for (; i + 4 <= n; i += 4) {
    const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
    const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
    __m128i lo = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(va, zero), wa),
                               _mm_mullo_epi16(_mm_unpacklo_epi8(vb, zero), wb));
    __m128i hi = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(va, zero), wa),
                               _mm_mullo_epi16(_mm_unpackhi_epi8(vb, zero), wb));
    lo = _mm_srli_epi16(_mm_add_epi16(lo, round), 8);
    hi = _mm_srli_epi16(_mm_add_epi16(hi, round), 8);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(lo, hi));
  }
#endif
  for (; i < n; ++i) out[i] = Lerp(a[i], b[i], f);
}

// Horizontal filtering of one opaque source row through the column taps.
void FilterOpaqueRow(const uint32_t* r, const Tap* taps, size_t n, uint32_t* out) {
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128(), round = _mm_set1_epi16(128);
  const __m128i full = _mm_set1_epi16(256);
  for (; i + 2 <= n; i += 2) {
    const Tap& p = taps[i];
    const Tap& q = taps[i + 1];
    // Lanes: p0 p1 | q0 q1, each texel widened to four 16-bit channels.
    const __m128i tp = _mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(r[p.i0])),
                                          _mm_cvtsi32_si128(static_cast<int>(r[p.i1])));
    const __m128i tq = _mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(r[q.i0])),
                                          _mm_cvtsi32_si128(static_cast<int>(r[q.i1])));
    const __m128i fp = _mm_set1_epi16(static_cast<short>(p.f));
    const __m128i fq = _mm_set1_epi16(static_cast<short>(q.f));
    // Weights (256 - f) for the first texel of a pair, f for the second.
    const __m128i wp = _mm_unpacklo_epi64(_mm_sub_epi16(full, fp), fp);
    const __m128i wq = _mm_unpacklo_epi64(_mm_sub_epi16(full, fq), fq);
    __m128i xp = _mm_mullo_epi16(_mm_unpacklo_epi8(tp, zero), wp);
    __m128i xq = _mm_mullo_epi16(_mm_unpacklo_epi8(tq, zero), wq);
    // Add the two halves of each: low 64 bits of the sum pair p, q.
    const __m128i sum = _mm_add_epi16(_mm_unpacklo_epi64(xp, xq), _mm_unpackhi_epi64(xp, xq));
    const __m128i res = _mm_srli_epi16(_mm_add_epi16(sum, round), 8);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(res, res));
  }
#endif
  for (; i < n; ++i) {
    const Tap& t = taps[i];
    out[i] = Lerp(r[t.i0], r[t.i1], t.f);
  }
}

// Scaled (possibly mirrored) but unrotated draws, the common case for
// backgrounds: the per-column taps are computed once, and each source row is
// filtered horizontally once and reused by all screen rows that need it.
// With `store`, the filtered and tinted pixels are written premultiplied
// instead of blended (the destination starts transparent): that is how the
// scaled-picture cache is made, and blending the stored pixels later gives
// exactly what drawing directly gives.
void DrawScaled(uint32_t* dst, int dstWidth, const uint32_t* src, int pitch, int sw, int sh,
                double scaleX, double scaleY, double dx, double dy, int bx0, int bx1, int by0,
                int by1, uint32_t colour, bool store = false) {
  static thread_local std::vector<Tap> cols, rows;
  static thread_local std::vector<uint32_t> lineA, lineB, lineC;
  const int firstCol = AxisTaps(bx0, bx1, dx, scaleX, sw, &cols);
  const int firstRow = AxisTaps(by0, by1, dy, scaleY, sh, &rows);
  if (cols.empty() || rows.empty()) return;
  const size_t n = cols.size();
  lineA.resize(n);
  lineB.resize(n);
  lineC.resize(n);
  const Tint tint(colour);
  // The texels the column taps use form one contiguous run of each row.
  int tapMin = sw, tapMax = 0;
  for (const Tap& t : cols) {
    tapMin = std::min({tapMin, t.i0, t.i1});
    tapMax = std::max({tapMax, t.i0, t.i1});
  }
  // Filters source row y horizontally; tells whether every texel it used was opaque.
  auto filterRow = [&](int y, uint32_t* out) {
    const uint32_t* r = src + static_cast<size_t>(y) * pitch;
    uint32_t all = 0xFFFFFFFFu;
    for (int x = tapMin; x <= tapMax; ++x) all &= r[x];
    if (all >= 0xFF000000u) {
      FilterOpaqueRow(r, cols.data(), n, out);
      return true;
    }
    for (size_t i = 0; i < n; ++i) {
      const Tap& t = cols[i];
      const uint32_t t0 = Premultiply(r[t.i0]);
      out[i] = t.f ? Lerp(t0, Premultiply(r[t.i1]), t.f) : t0;
    }
    return false;
  };
  int rowInA = -1, rowInB = -1;
  bool opaqueA = false, opaqueB = false;
  uint32_t* a = lineA.data();
  uint32_t* b = lineB.data();
  for (size_t k = 0; k < rows.size(); ++k) {
    const Tap& t = rows[k];
    // Make `a` hold source row i0 and `b` row i1, reusing what is there.
    if (rowInA != t.i0) {
      if (rowInB == t.i0) {
        std::swap(a, b);
        std::swap(rowInA, rowInB);
        std::swap(opaqueA, opaqueB);
      } else {
        opaqueA = filterRow(t.i0, a);
        rowInA = t.i0;
      }
    }
    if (t.f && rowInB != t.i1) {
      opaqueB = filterRow(t.i1, b);
      rowInB = t.i1;
    }
    uint32_t* out = dst + static_cast<size_t>(firstRow + static_cast<int>(k)) * dstWidth + firstCol;
    if (tint.white && opaqueA && (opaqueB || !t.f)) {
      // Opaque: the filtered value replaces the pixel.
      if (!t.f) {
        std::copy(a, a + n, out);
      } else {
        LerpRow(a, b, t.f, out, n);
      }
    } else if (store) {
      for (size_t i = 0; i < n; ++i) out[i] = tint.Apply(t.f ? Lerp(a[i], b[i], t.f) : a[i]);
    } else {
      const uint32_t* p = a;
      if (t.f) {
        LerpRow(a, b, t.f, lineC.data(), n);
        p = lineC.data();
      }
      if (tint.white)
        BlendPremultipliedRow(p, out, static_cast<int>(n));
      else
        TintBlendRow(p, tint, out, n);
    }
  }
}

// A picture through a general transform: the screen box it covers and the
// steps that map screen pixels back into sprite space.
struct QuadWalk {
  int sw = 0, sh = 0, W = 0;
  int bx0 = 0, bx1 = 0, by0 = 0, by1 = 0;  // covered box, within the screen
  double tdx = 0, tdy = 0, dudx = 0, dudy = 0, dvdx = 0, dvdy = 0;

  // False when nothing of the picture can show on a W x H screen.
  bool Prepare(const Matrix2D& m, int width, int height, int screenW, int screenH) {
    sw = width;
    sh = height;
    W = screenW;
    const double a11 = m.m11, a12 = m.m12, a21 = m.m21, a22 = m.m22;
    tdx = m.dx;
    tdy = m.dy;
    const double det = a11 * a22 - a21 * a12;
    if (!(std::fabs(det) > 1e-12)) return false;  // collapsed to a line or a point
    dudx = a22 / det;
    dudy = -a21 / det;
    dvdx = -a12 / det;
    dvdy = a11 / det;
    // A quad smaller than 1/65536 of its texels per pixel is invisible.
    constexpr double kMaxStep = 65536.0;
    if (std::fabs(dudx) > kMaxStep || std::fabs(dudy) > kMaxStep || std::fabs(dvdx) > kMaxStep ||
        std::fabs(dvdy) > kMaxStep)
      return false;
    double minX = tdx, maxX = tdx, minY = tdy, maxY = tdy;
    const double cornerU[3] = {static_cast<double>(sw), 0.0, static_cast<double>(sw)};
    const double cornerV[3] = {0.0, static_cast<double>(sh), static_cast<double>(sh)};
    for (int i = 0; i < 3; ++i) {
      const double X = a11 * cornerU[i] + a21 * cornerV[i] + tdx;
      const double Y = a12 * cornerU[i] + a22 * cornerV[i] + tdy;
      minX = std::min(minX, X);
      maxX = std::max(maxX, X);
      minY = std::min(minY, Y);
      maxY = std::max(maxY, Y);
    }
    if (!(maxX > 0) || !(minX < screenW) || !(maxY > 0) || !(minY < screenH)) return false;
    bx0 = static_cast<int>(std::max(0.0, std::floor(minX)));
    bx1 = static_cast<int>(std::min(static_cast<double>(screenW), std::ceil(maxX)));
    by0 = static_cast<int>(std::max(0.0, std::floor(minY)));
    by1 = static_cast<int>(std::min(static_cast<double>(screenH), std::ceil(maxY)));
    return true;
  }

  // Draws the turned picture within the clip, bilinearly filtered and blended
  // onto the target; `pixelAt(py, px)` says where screen pixel (px, py) of the
  // target lies. Every pixel is worked out on its own, so drawing only the
  // part inside a clip gives exactly the pixels a whole draw gives there.
  // With `store`, the premultiplied pixels are written instead of blended (the
  // target starts transparent), as for the scaled-picture cache.
  template <bool store = false, class PixelAt>
  void DrawTurned(const uint32_t* srcBase, int tw, const Tint& tint, const RECT& clip,
                  PixelAt pixelAt) const {
    const int64_t uLimit = static_cast<int64_t>(sw) << kFracBits;
    const int64_t vLimit = static_cast<int64_t>(sh) << kFracBits;
    const int64_t stepU = std::llround(dudx * kFracOne);
    const int64_t stepV = std::llround(dvdx * kFracOne);
    const int64_t maxSU = static_cast<int64_t>(sw - 1) << kFracBits;
    const int64_t maxSV = static_cast<int64_t>(sh - 1) << kFracBits;
    const int cy0 = std::max(by0, static_cast<int>(clip.top));
    const int cy1 = std::min(by1, static_cast<int>(clip.bottom));
    for (int py = cy0; py < cy1; ++py) {
      const double cy = py + 0.5 - tdy;
      // u(X) = dudx * (X - dx) + dudy * cy, v(X) = dvdx * (X - dx) + dvdy * cy.
      const double u0 = dudy * cy, v0 = dvdy * cy;
      double lo = bx0 + 0.5, hi = bx1 - 0.5;  // range of pixel centres X
      bool empty = false;
      auto narrow = [&](double base, double slope, double limit) {
        // Keep X where 0 <= base + slope * (X - dx) < limit.
        if (slope == 0.0) {
          if (!(base >= 0.0 && base < limit)) empty = true;
          return;
        }
        double xa = tdx + (0.0 - base) / slope, xb = tdx + (limit - base) / slope;
        if (xa > xb) std::swap(xa, xb);
        lo = std::max(lo, xa);
        hi = std::min(hi, xb);
      };
      narrow(u0, dudx, sw);
      narrow(v0, dvdx, sh);
      if (empty || !(lo <= hi + 2.0)) continue;
      // One pixel of slack on each side; the exact test is made per pixel below.
      const int px0 = std::max(bx0, static_cast<int>(std::floor(std::max(lo, -1.0) - 0.5)) - 1);
      const int px1 = std::min(bx1, static_cast<int>(std::ceil(std::min(hi, W + 1.0) - 0.5)) + 2);
      if (px0 >= px1) continue;
      const double X0 = px0 + 0.5 - tdx;
      const double uStart = dudx * X0 + u0, vStart = dvdx * X0 + v0;
      if (std::fabs(uStart) > kCoordLimit || std::fabs(vStart) > kCoordLimit) continue;
      int64_t u = static_cast<int64_t>(std::floor(uStart * kFracOne));
      int64_t v = static_cast<int64_t>(std::floor(vStart * kFracOne));
      // The walk starts where a whole draw starts, so each pixel samples the
      // same place; the steps before the clip are taken at once.
      const int first = std::max(px0, static_cast<int>(clip.left));
      const int last = std::min(px1, static_cast<int>(clip.right));
      if (first >= last) continue;
      u += stepU * (first - px0);
      v += stepV * (first - px0);
      uint32_t* d = pixelAt(py, first);
      for (int px = first; px < last; ++px, ++d, u += stepU, v += stepV) {
        if (u < 0 || u >= uLimit || v < 0 || v >= vLimit) continue;
        const int64_t su = std::clamp<int64_t>(u + kSampleBias, 0, maxSU);
        const int64_t sv = std::clamp<int64_t>(v + kSampleBias, 0, maxSV);
        const int x0 = static_cast<int>(su >> kFracBits), y0 = static_cast<int>(sv >> kFracBits);
        const uint32_t fx = static_cast<uint32_t>(su >> (kFracBits - 8)) & 0xFF;
        const uint32_t fy = static_cast<uint32_t>(sv >> (kFracBits - 8)) & 0xFF;
        const int x1 = x0 + (x0 < sw - 1 ? 1 : 0);
        const uint32_t* row0 = srcBase + static_cast<size_t>(y0) * tw;
        const uint32_t* row1 = y0 < sh - 1 ? row0 + tw : row0;
        const uint32_t t00 = row0[x0], t01 = row0[x1], t10 = row1[x0], t11 = row1[x1];
        uint32_t p;
        if ((t00 & t01 & t10 & t11) >= 0xFF000000u) {
          // All four opaque: no premultiplying, and with a white tint no blending.
          p = Lerp(Lerp(t00, t01, fx), Lerp(t10, t11, fx), fy);
          if (tint.white) {
            *d = p;
            continue;
          }
        } else {
          p = Lerp(Lerp(Premultiply(t00), Premultiply(t01), fx),
                   Lerp(Premultiply(t10), Premultiply(t11), fx), fy);
        }
        p = tint.Apply(p);
        if ((p >> 24) == 0) continue;
        *d = store ? p : BlendPremultiplied(p, *d);
      }
    }
  }
};

}  // namespace

Matrix2D MatrixTransformation2D(const D3DXVECTOR2* scaling, const D3DXVECTOR2* rotationCentre,
                                float rotation, const D3DXVECTOR2* translation) {
  // Row-vector convention: p' = p * S * T(-c) * R * T(c) * T(t), with
  // R = [cos sin; -sin cos], so a positive angle turns clockwise on a y-down
  // screen.
  const double sx = scaling ? scaling->x : 1.0, sy = scaling ? scaling->y : 1.0;
  const double cx = rotationCentre ? rotationCentre->x : 0.0;
  const double cy = rotationCentre ? rotationCentre->y : 0.0;
  const double tx = translation ? translation->x : 0.0, ty = translation ? translation->y : 0.0;
  const double c = std::cos(static_cast<double>(rotation));
  const double s = std::sin(static_cast<double>(rotation));
  Matrix2D m;
  m.m11 = static_cast<float>(sx * c);
  m.m12 = static_cast<float>(sx * s);
  m.m21 = static_cast<float>(-sy * s);
  m.m22 = static_cast<float>(sy * c);
  m.dx = static_cast<float>(-cx * c + cy * s + cx + tx);
  m.dy = static_cast<float>(-cx * s - cy * c + cy + ty);
  return m;
}

// ---------------------------------------------------------------- scaled-picture cache

// Pictures that a scene scales or tints, kept premultiplied at their size on
// screen. A picture is made on its second scene in a row with the same
// texture, source, scale, tint and position within a pixel, so a piece that
// moves or grows from frame to frame is never cached, while a background or
// a card that stays put is made once and then only copied.
struct RenderDevice::ScaledCache {
  struct Key {
    uint64_t serial;
    int32_t left, top, width, height;
    float scaleX, scaleY;
    float turnX, turnY;  // the transform's m12 and m21, zero unless the picture is turned
    // The picture's offset from its whole-pixel origin; for a turned picture
    // its whole position, as such a picture is kept only where it lies.
    double fracX, fracY;
    uint32_t colour;
    bool operator==(const Key& o) const {
      return serial == o.serial && left == o.left && top == o.top && width == o.width &&
             height == o.height && scaleX == o.scaleX && scaleY == o.scaleY && turnX == o.turnX &&
             turnY == o.turnY && fracX == o.fracX && fracY == o.fracY && colour == o.colour;
    }
  };
  // What an entry holds besides its words: the picture's pixels,
  // premultiplied, then one byte a row telling what the row is: 0 all
  // transparent, 1 all opaque, 2 mixed.
  struct Picture {
    Key key;
    int width = 0, height = 0;  // size of the picture in screen pixels
  };
  using Store = BlockStore<Picture>;
  static constexpr size_t kMaxPictures = 1024;
  static constexpr size_t kMaxKeysPerScene = 1024;

  ScaledCache() : store(kScaledCacheBytes / sizeof(uint32_t), kMaxPictures) {
    seenBefore.reserve(kMaxKeysPerScene);
    seenNow.reserve(kMaxKeysPerScene);
  }

  static size_t WordsFor(int width, int height) {
    return static_cast<size_t>(width) * height + (static_cast<size_t>(height) + 3) / 4;
  }
  static uint8_t* RowKinds(uint32_t* words, const Picture& p) {
    return reinterpret_cast<uint8_t*>(words + static_cast<size_t>(p.width) * p.height);
  }

  void BeginScene() {
    ++scene;
    std::swap(seenBefore, seenNow);
    seenNow.clear();
  }

  // Entries unused for a while go, and their space with them; the store
  // itself makes room for new ones by dropping the least recently used.
  void EndScene() {
    constexpr uint64_t kUnusedScenes = 600;
    if (scene > kUnusedScenes) store.DropUnusedSince(scene - kUnusedScenes);
  }

  Store::Entry* Find(const Key& key) {
    return store.FindIf([&key](const Picture& p) { return p.key == key; });
  }

  // Notes the key for this scene; true when the scene before drew it too.
  // Past the kept number of keys a scene's further pictures are not noted,
  // so they are drawn directly rather than the lists growing.
  bool SeenBefore(const Key& key) {
    if (seenNow.size() < kMaxKeysPerScene) seenNow.push_back(key);
    for (const Key& k : seenBefore)
      if (k == key) return true;
    return false;
  }

  Store store;
  std::vector<Key> seenBefore, seenNow;
  uint64_t scene = 0;
};

uint64_t NewTextureSerial() {
  static std::atomic<uint64_t> next{1};
  return next.fetch_add(1, std::memory_order_relaxed);
}

void RenderDevice::ClearNow(D3DCOLOR colour) {
  const uint32_t value = colour | 0xFF000000u;
  if (clip_.left > 0 || clip_.top > 0 || clip_.right < width_ || clip_.bottom < height_) {
    for (int y = std::max(0, static_cast<int>(clip_.top)); y < std::min(height_, static_cast<int>(clip_.bottom)); ++y)
      std::fill(backBuffer_.data() + static_cast<size_t>(y) * width_ + clip_.left,
                backBuffer_.data() + static_cast<size_t>(y) * width_ + clip_.right, value);
    return;
  }
  uint32_t* p = backBuffer_.data();
  size_t n = backBuffer_.size(), i = 0;
#if defined(__SSE2__)
  const __m128i v = _mm_set1_epi32(static_cast<int>(value));
  for (; i < n && (reinterpret_cast<uintptr_t>(p + i) & 15) != 0; ++i) p[i] = value;
  for (; i + 16 <= n; i += 16) {
    _mm_store_si128(reinterpret_cast<__m128i*>(p + i), v);
    _mm_store_si128(reinterpret_cast<__m128i*>(p + i + 4), v);
    _mm_store_si128(reinterpret_cast<__m128i*>(p + i + 8), v);
    _mm_store_si128(reinterpret_cast<__m128i*>(p + i + 12), v);
  }
#endif
  for (; i < n; ++i) p[i] = value;
}

namespace {

// Scenes that differ only in how far scaled or turned pictures have crept
// since the scene on screen was drawn, by less than a thousandth of a pixel
// (a piece gliding ever closer to its place), look the same: the sampling
// weights come in 256 steps per texel, so such a shift changes a pixel by at
// most one level. The drift is measured from the scene drawn, so it cannot
// add up unseen.
bool SameButForCreep(const std::vector<RenderDevice::Command>& a,
                     const std::vector<RenderDevice::Command>& b) {
  constexpr float kShift = 1.0f / 1024;     // translation, pixels
  constexpr float kLinear = 1.0f / 1048576;  // scale and rotation entries
  for (size_t i = 0; i < a.size(); ++i) {
    const RenderDevice::Command& x = a[i];
    const RenderDevice::Command& y = b[i];
    if (std::memcmp(&x, &y, sizeof x) == 0) continue;
    if (x.kind != 1 || y.kind != 1 || x.colour != y.colour || x.texture != y.texture ||
        x.serial != y.serial || x.left != y.left || x.top != y.top || x.right != y.right ||
        x.bottom != y.bottom)
      return false;
    for (int k = 0; k < 6; ++k) {
      const float limit = k < 4 ? kLinear : kShift;
      if (!(std::fabs(x.m[k] - y.m[k]) <= limit)) return false;
    }
  }
  return true;
}

// Whether two recorded calls draw the same, masks compared by their bytes.
bool SameCommand(const RenderDevice::Command& a, const std::vector<uint8_t>& aMasks,
                 const RenderDevice::Command& b, const std::vector<uint8_t>& bMasks) {
  if (a.kind != 2 || b.kind != 2) return std::memcmp(&a, &b, sizeof a) == 0;
  RenderDevice::Command moved = a;
  moved.maskOffset = b.maskOffset;  // equal masks may lie elsewhere in the scene's bytes
  if (std::memcmp(&moved, &b, sizeof a) != 0) return false;
  const size_t size = static_cast<size_t>(a.maskWidth) * static_cast<size_t>(a.maskHeight);
  return std::memcmp(aMasks.data() + a.maskOffset, bMasks.data() + b.maskOffset, size) == 0;
}

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

bool Overlap(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The pixels a recorded call can change, within the back buffer: the whole
// of it for a clear, the clipped mask, the bounding box of the transformed
// picture with a pixel to spare. Works from the recording alone (the texture
// of an old scene may be gone): the source rectangle as recorded is never
// smaller than the part of the texture drawn.
RECT CommandBox(const RenderDevice::Command& c, int width, int height) {
  if (c.kind == 0) return RECT{0, 0, width, height};
  if (c.kind == 3) return RECT{};  // a layer mark draws nothing
  if (c.kind == 2 || c.kind == 4) {
    return RECT{static_cast<int32_t>(std::max<int64_t>({0, c.left, c.x})),
                static_cast<int32_t>(std::max<int64_t>({0, c.top, c.y})),
                static_cast<int32_t>(std::min<int64_t>({width, c.right, int64_t{c.x} + c.maskWidth})),
                static_cast<int32_t>(std::min<int64_t>({height, c.bottom, int64_t{c.y} + c.maskHeight}))};
  }
  const double sw = static_cast<double>(c.right) - c.left, sh = static_cast<double>(c.bottom) - c.top;
  if (!(sw > 0 && sh > 0)) return RECT{};
  for (float v : c.m)
    if (!Finite(v)) return RECT{};  // not drawn at all
  double minX = c.m[4], maxX = c.m[4], minY = c.m[5], maxY = c.m[5];
  const double cornerU[3] = {sw, 0.0, sw}, cornerV[3] = {0.0, sh, sh};
  for (int i = 0; i < 3; ++i) {
    const double X = c.m[0] * cornerU[i] + c.m[2] * cornerV[i] + c.m[4];
    const double Y = c.m[1] * cornerU[i] + c.m[3] * cornerV[i] + c.m[5];
    minX = std::min(minX, X);
    maxX = std::max(maxX, X);
    minY = std::min(minY, Y);
    maxY = std::max(maxY, Y);
  }
  auto clamp = [](double v, int limit) {
    return static_cast<int32_t>(std::clamp(v, 0.0, static_cast<double>(limit)));
  };
  return RECT{clamp(std::floor(minX) - 1, width), clamp(std::floor(minY) - 1, height),
              clamp(std::ceil(maxX) + 1, width), clamp(std::ceil(maxY) + 1, height)};
}

RenderDevice::Command* NewCommand(std::vector<RenderDevice::Command>& scene, uint32_t kind) {
  RenderDevice::Command c;
  std::memset(&c, 0, sizeof c);  // no stray bytes: scenes compare as bytes
  c.kind = kind;
  scene.push_back(c);
  return &scene.back();
}
// A mask call: the mask's size and place, its colour and the clip.
RenderDevice::Command* NewMaskCommand(std::vector<RenderDevice::Command>& scene, uint32_t kind,
                                      int maskWidth, int maskHeight, int x, int y, D3DCOLOR colour,
                                      const RECT& clip) {
  RenderDevice::Command* c = NewCommand(scene, kind);
  c->colour = colour;
  c->left = clip.left;
  c->top = clip.top;
  c->right = clip.right;
  c->bottom = clip.bottom;
  c->maskWidth = maskWidth;
  c->maskHeight = maskHeight;
  c->x = x;
  c->y = y;
  return c;
}
static_assert(std::is_trivially_copyable_v<RenderDevice::Command>);
}  // namespace

void RenderDevice::Clear(D3DCOLOR colour) {
  if (recording_) {
    NewCommand(scene_, 0)->colour = colour;
    return;
  }
  TouchedOutsideScene();
  ClearNow(colour);
}

void RenderDevice::KeepLayer() {
  if (recording_) NewCommand(scene_, 3);
}

void RenderDevice::BeginScene() {
  scene_.clear();
  sceneMasks_.clear();
  recording_ = true;
}

bool RenderDevice::EndScene() {
  if (!recording_) return false;
  recording_ = false;
  ++counters_.scenes;
  const bool same = lastSceneValid_ && scene_.size() == lastScene_.size() &&
                    sceneMasks_.size() == lastSceneMasks_.size() &&
                    (sceneMasks_.empty() ||
                     std::memcmp(sceneMasks_.data(), lastSceneMasks_.data(), sceneMasks_.size()) == 0) &&
                    (scene_.empty() ||
                     std::memcmp(scene_.data(), lastScene_.data(), scene_.size() * sizeof(Command)) == 0 ||
                     SameButForCreep(scene_, lastScene_));
  if (same) return false;
  if (!cache_) cache_.reset(new ScaledCache());
  cache_->BeginScene();
  const ReplayPlan plan = PlanReplay();
  if (lastSceneValid_ && FindChangedRegions()) {
    // Only where the scene changed: every call is replayed within each
    // region (the first time all of them, so the cache sees every picture).
    for (size_t i = 0; i < changedRegions_.size(); ++i) {
      clip_ = changedRegions_[i];
      Replay(plan, i == 0);
      NoteUnshown(clip_);
    }
    clip_ = RECT{0, 0, width_, height_};
    ++counters_.scenesPatched;
  } else {
    Replay(plan, true);
    NoteUnshown(clip_);
  }
  cache_->EndScene();
  ++counters_.scenesDrawn;
  // The drawn scene becomes the one to compare with; the old buffers are
  // reused for the next recording, so steady frames allocate nothing.
  std::swap(scene_, lastScene_);
  std::swap(sceneMasks_, lastSceneMasks_);
  lastSceneValid_ = true;
  return true;
}

// The regions where the scene differs from the one on the back buffer;
// false when it is to be drawn in full. Outside the regions the back buffer
// already holds the new picture, provided no pixel of it depends on what was
// there before the scene: it must start with a clear or an opaque picture
// over the whole screen.
bool RenderDevice::FindChangedRegions() {
  changedRegions_.clear();
  changedRegions_.reserve(kKeptRegions);
  if (scene_.empty() || lastScene_.empty()) return false;
  if (scene_[0].kind != 0 && !CoversScreenOpaquely(scene_[0])) return false;
  const size_t n = scene_.size(), m = lastScene_.size();
  auto same = [&](size_t i, size_t j) {
    return SameCommand(scene_[i], sceneMasks_, lastScene_[j], lastSceneMasks_);
  };
  auto add = [&](const Command& c) { AddChangedRegion(CommandBox(c, width_, height_)); };
  if (n == m) {
    for (size_t i = 0; i < n; ++i)
      if (!same(i, i)) {
        add(scene_[i]);
        add(lastScene_[i]);
      }
  } else {
    // Calls added or left out: what lies between the common beginning and
    // the common end changed.
    size_t head = 0, tail = 0;
    while (head < n && head < m && same(head, head)) ++head;
    while (tail < n - head && tail < m - head && same(n - 1 - tail, m - 1 - tail)) ++tail;
    for (size_t i = head; i < n - tail; ++i) add(scene_[i]);
    for (size_t j = head; j < m - tail; ++j) add(lastScene_[j]);
  }
  // Many scattered changes are drawn as one, and a change over most of the
  // screen as a whole scene.
  constexpr size_t kMaxRegions = 16;
  if (changedRegions_.size() > kMaxRegions) {
    RECT all = changedRegions_[0];
    for (const RECT& r : changedRegions_) {
      all.left = std::min(all.left, r.left);
      all.top = std::min(all.top, r.top);
      all.right = std::max(all.right, r.right);
      all.bottom = std::max(all.bottom, r.bottom);
    }
    changedRegions_.assign(1, all);
  }
  int64_t area = 0;
  for (const RECT& r : changedRegions_)
    area += int64_t{r.right - r.left} * (r.bottom - r.top);
  return area * 4 < int64_t{width_} * height_ * 3;
}

// Adds a changed box, joined with every region it overlaps or touches, so
// the regions never share a pixel.
void RenderDevice::AddChangedRegion(const RECT& box) {
  if (Empty(box)) return;
  RECT r = box;
  for (size_t i = 0; i < changedRegions_.size();) {
    const RECT& o = changedRegions_[i];
    if (r.left <= o.right && o.left <= r.right && r.top <= o.bottom && o.top <= r.bottom) {
      r = RECT{std::min(r.left, o.left), std::min(r.top, o.top), std::max(r.right, o.right),
               std::max(r.bottom, o.bottom)};
      changedRegions_.erase(changedRegions_.begin() + static_cast<ptrdiff_t>(i));
      i = 0;
    } else {
      ++i;
    }
  }
  // The list never grows past what was reserved: so many scattered
  // changes are drawn as one.
  if (changedRegions_.size() == kKeptRegions) {
    for (const RECT& o : changedRegions_)
      r = RECT{std::min(r.left, o.left), std::min(r.top, o.top), std::max(r.right, o.right),
               std::max(r.bottom, o.bottom)};
    changedRegions_.clear();
  }
  changedRegions_.push_back(r);
}

// Draws the recorded scene within the clip. With `everyCall` false, calls
// that cannot reach into the clip are passed over.
RenderDevice::ReplayPlan RenderDevice::PlanReplay() {
  ReplayPlan plan{LayerMark(), false, scene_.size(), RECT{}};
  if (plan.mark < scene_.size()) {
    plan.layerHeld = LayerMatches(plan.mark);
  } else if (!scene_.empty()) {
    // The full-screen picture a scene begins with need not be drawn where an
    // opaque page drawn later hides it. Not with a layer to keep: its pixels
    // must be whole.
    const size_t cover = scene_[0].kind == 0 && scene_.size() > 1 ? 1 : 0;
    if (CoversScreenOpaquely(scene_[cover])) {
      plan.cover = cover;
      plan.hidden = HiddenUnderAPage(cover);
    }
  }
  return plan;
}

void RenderDevice::Replay(const ReplayPlan& plan, bool everyCall) {
  const bool whole = clip_.left <= 0 && clip_.top <= 0 && clip_.right >= width_ && clip_.bottom >= height_;
  size_t i = 0;
  const size_t mark = plan.mark;
  bool keepLayer = false;
  if (mark < scene_.size()) {
    if (plan.layerHeld) {
      for (int y = clip_.top; y < clip_.bottom; ++y) {
        const size_t at = static_cast<size_t>(y) * width_ + clip_.left;
        std::memcpy(backBuffer_.data() + at, layerPixels_.data() + at,
                    static_cast<size_t>(clip_.right - clip_.left) * sizeof(uint32_t));
      }
      ++counters_.layerCopies;
      i = mark + 1;
    } else {
      // Only a whole drawing leaves the layer's own pixels to keep.
      keepLayer = whole;
    }
  }
  const RECT& hidden = plan.hidden;
  for (; i < scene_.size(); ++i) {
    const Command& c = scene_[i];
    if (!everyCall && !whole && !Overlap(CommandBox(c, width_, height_), clip_)) continue;
    if (i == plan.cover && !Empty(hidden)) {
      // Drawn in the bands around the hidden part, each within the clip.
      const RECT clip = clip_;
      const RECT bands[4] = {RECT{0, 0, width_, hidden.top}, RECT{0, hidden.bottom, width_, height_},
                             RECT{0, hidden.top, hidden.left, hidden.bottom},
                             RECT{hidden.right, hidden.top, width_, hidden.bottom}};
      const Matrix2D m{c.m[0], c.m[1], c.m[2], c.m[3], c.m[4], c.m[5]};
      for (const RECT& band : bands) {
        clip_ = RECT{std::max(band.left, clip.left), std::max(band.top, clip.top),
                     std::min(band.right, clip.right), std::min(band.bottom, clip.bottom)};
        if (!Empty(clip_))
          DrawTextureNow(*c.texture, RECT{c.left, c.top, c.right, c.bottom}, m, c.colour, true);
      }
      clip_ = clip;
      ++counters_.coversCut;
      continue;
    }
    switch (c.kind) {
      case 0:
        // Nothing of the clear would show under an opaque full-screen picture.
        if (i + 1 < scene_.size() && CoversScreenOpaquely(scene_[i + 1])) {
          ++counters_.clearsSkipped;
          break;
        }
        ClearNow(c.colour);
        break;
      case 1: {
        const Matrix2D m{c.m[0], c.m[1], c.m[2], c.m[3], c.m[4], c.m[5]};
        DrawTextureNow(*c.texture, RECT{c.left, c.top, c.right, c.bottom}, m, c.colour, true);
        break;
      }
      case 2:
        DrawMaskNow(sceneMasks_.data() + c.maskOffset, c.maskWidth, c.maskHeight, c.maskWidth, c.x,
                    c.y, c.colour, RECT{c.left, c.top, c.right, c.bottom});
        break;
      case 4: {
        // Checked again: the store may have been emptied since the call.
        const std::vector<uint8_t>& bytes = *c.store->bytes;
        const size_t size = static_cast<size_t>(c.maskWidth) * static_cast<size_t>(c.maskHeight);
        if (c.maskOffset <= bytes.size() && size <= bytes.size() - c.maskOffset)
          DrawMaskNow(bytes.data() + c.maskOffset, c.maskWidth, c.maskHeight, c.maskWidth, c.x, c.y,
                      c.colour, RECT{c.left, c.top, c.right, c.bottom});
        break;
      }
      default:
        if (keepLayer && i == mark) KeepLayerPixels(mark);
        break;
    }
  }
}

// Where the layer to keep ends in the scene: its first mark, if the calls
// before it make their picture on their own (the scene begins with a clear or
// an opaque full-screen picture); otherwise the scene's size.
size_t RenderDevice::LayerMark() {
  if (scene_.empty() || (scene_[0].kind != 0 && !CoversScreenOpaquely(scene_[0]))) return scene_.size();
  for (size_t i = 1; i < scene_.size(); ++i)
    if (scene_[i].kind == 3) return i;
  return scene_.size();
}

bool RenderDevice::LayerMatches(size_t mark) const {
  if (!layerValid_ || layerCalls_.size() != mark || layerPixels_.size() != backBuffer_.size())
    return false;
  for (size_t i = 0; i < mark; ++i)
    if (!SameCommand(scene_[i], sceneMasks_, layerCalls_[i], layerMasks_)) return false;
  return true;
}

// Keeps the back buffer as the calls before the mark left it, with the calls.
void RenderDevice::KeepLayerPixels(size_t mark) {
  layerPixels_.assign(backBuffer_.begin(), backBuffer_.end());
  layerCalls_.assign(scene_.begin(), scene_.begin() + static_cast<ptrdiff_t>(mark));
  // Mask bytes are recorded in call order: the layer's are a beginning of them.
  size_t masksEnd = 0;
  for (const Command& c : layerCalls_)
    if (c.kind == 2)
      masksEnd = std::max<size_t>(masksEnd, c.maskOffset + static_cast<size_t>(c.maskWidth) * c.maskHeight);
  layerMasks_.assign(sceneMasks_.begin(), sceneMasks_.begin() + static_cast<ptrdiff_t>(masksEnd));
  layerValid_ = true;
  ++counters_.layersKept;
}

// The largest part of the screen that an opaque, unscaled picture drawn after
// the scene's full-screen picture (at `cover`) hides: the opaque interior of
// such a picture, where its pixels do not depend on what lies beneath.
RECT RenderDevice::HiddenUnderAPage(size_t cover) {
  RECT best{};
  int64_t bestArea = 0;
  for (size_t i = cover + 1; i < scene_.size(); ++i) {
    const Command& c = scene_[i];
    if (c.kind != 1 || (c.colour >> 24) != 255 || c.m[0] != 1.0f || c.m[1] != 0.0f ||
        c.m[2] != 0.0f || c.m[3] != 1.0f)
      continue;
    // Large enough to be worth it: at least a tenth of the screen.
    const int64_t sourceArea = (int64_t{c.right} - c.left) * (int64_t{c.bottom} - c.top);
    if (sourceArea * 10 < int64_t{width_} * height_ || sourceArea <= bestArea) continue;
    const RECT inner = OpaqueInterior(*c.texture, RECT{c.left, c.top, c.right, c.bottom});
    if (Empty(inner)) continue;
    // Unscaled pictures are recorded on whole pixels.
    const double ox = c.m[4] - c.left, oy = c.m[5] - c.top;
    if (!(std::fabs(ox) < kCoordLimit && std::fabs(oy) < kCoordLimit)) continue;
    const RECT onScreen{
        static_cast<int32_t>(std::clamp<double>(inner.left + ox, 0, width_)),
        static_cast<int32_t>(std::clamp<double>(inner.top + oy, 0, height_)),
        static_cast<int32_t>(std::clamp<double>(inner.right + ox, 0, width_)),
        static_cast<int32_t>(std::clamp<double>(inner.bottom + oy, 0, height_))};
    const int64_t area = (int64_t{onScreen.right} - onScreen.left) * (int64_t{onScreen.bottom} - onScreen.top);
    if (!Empty(onScreen) && area > bestArea) {
      best = onScreen;
      bestArea = area;
    }
  }
  return best;
}

// The largest opaque rectangle grown from the middle of a picture's source
// rectangle (texture coordinates); empty when its middle is not opaque.
RECT RenderDevice::OpaqueInterior(const Texture& texture, const RECT& source) {
  for (const InteriorNote& note : interiorNotes_)
    if (note.serial == texture.serial && std::memcmp(&note.source, &source, sizeof source) == 0)
      return note.interior;
  RECT best{};
  const RECT src{std::clamp<int32_t>(source.left, 0, texture.width),
                 std::clamp<int32_t>(source.top, 0, texture.height),
                 std::clamp<int32_t>(source.right, 0, texture.width),
                 std::clamp<int32_t>(source.bottom, 0, texture.height)};
  const int h = src.bottom - src.top;
  if (!Empty(src) && texture.texels.size() >= static_cast<size_t>(texture.width) * texture.height) {
    // For each row, the opaque run through the middle column.
    const int cx = (src.left + src.right) / 2;
    runLeft_.assign(static_cast<size_t>(h), cx);
    runRight_.assign(static_cast<size_t>(h), cx);
    for (int y = 0; y < h; ++y) {
      const uint32_t* row = texture.texels.data() + static_cast<size_t>(src.top + y) * texture.width;
      if ((row[cx] >> 24) != 255) continue;
      int l = cx, r = cx + 1;
      while (l > src.left && (row[l - 1] >> 24) == 255) --l;
      while (r < src.right && (row[r] >> 24) == 255) ++r;
      runLeft_[y] = l;
      runRight_[y] = r;
    }
    // Grown a row at a time from the middle row, towards the side that keeps
    // it wider; the largest rectangle on the way is the answer.
    int top = h / 2, bottom = top + 1, left = runLeft_[top], right = runRight_[top];
    int64_t bestArea = 0;
    while (right > left) {
      const int64_t area = int64_t{right - left} * (bottom - top);
      if (area > bestArea) {
        bestArea = area;
        best = RECT{left, src.top + top, right, src.top + bottom};
      }
      const bool canUp = top > 0, canDown = bottom < h;
      if (!canUp && !canDown) break;
      const int upWidth = canUp ? std::min(right, runRight_[top - 1]) - std::max(left, runLeft_[top - 1]) : -1;
      const int downWidth = canDown ? std::min(right, runRight_[bottom]) - std::max(left, runLeft_[bottom]) : -1;
      const int y = upWidth >= downWidth ? --top : bottom++;
      left = std::max(left, runLeft_[y]);
      right = std::min(right, runRight_[y]);
    }
  }
  if (interiorNotes_.size() >= 64) interiorNotes_.erase(interiorNotes_.begin());
  interiorNotes_.push_back({texture.serial, source, best});
  return best;
}

bool RenderDevice::RectOpaque(const Texture& texture, const RECT& source) {
  for (const OpaqueNote& note : opaqueNotes_)
    if (note.serial == texture.serial && note.source.left == source.left &&
        note.source.top == source.top && note.source.right == source.right &&
        note.source.bottom == source.bottom)
      return note.opaque;
  bool opaque = true;
  for (int y = source.top; y < source.bottom && opaque; ++y) {
    const uint32_t* row = texture.texels.data() + static_cast<size_t>(y) * texture.width;
    uint32_t all = 0xFFFFFFFFu;
    for (int x = source.left; x < source.right; ++x) all &= row[x];
    opaque = all >= 0xFF000000u;
  }
  if (opaqueNotes_.size() >= 64) opaqueNotes_.erase(opaqueNotes_.begin());
  opaqueNotes_.push_back({texture.serial, source, opaque});
  return opaque;
}

// Whether a recorded draw replaces every pixel of the back buffer: an opaque
// tint, no rotation, every pixel centre inside the picture and only opaque
// texels sampled.
bool RenderDevice::CoversScreenOpaquely(const Command& c) {
  if (c.kind != 1 || (c.colour >> 24) != 255) return false;
  const Texture& t = *c.texture;
  if (t.width <= 0 || t.height <= 0 || t.texels.size() < static_cast<size_t>(t.width) * t.height)
    return false;
  const float sx = c.m[0], sy = c.m[3], dx = c.m[4], dy = c.m[5];
  if (c.m[1] != 0.0f || c.m[2] != 0.0f || !(sx > 0.0f) || !(sy > 0.0f)) return false;
  const RECT src{std::clamp<int>(c.left, 0, t.width), std::clamp<int>(c.top, 0, t.height),
                 std::clamp<int>(c.right, 0, t.width), std::clamp<int>(c.bottom, 0, t.height)};
  if (src.right <= src.left || src.bottom <= src.top) return false;
  const double w = src.right - src.left, h = src.bottom - src.top;
  if (sx == 1.0f && sy == 1.0f) {
    const double fx = std::floor(static_cast<double>(dx) + 0.5);
    const double fy = std::floor(static_cast<double>(dy) + 0.5);
    if (!(fx <= 0 && fy <= 0 && fx + w >= width_ && fy + h >= height_)) return false;
  } else {
    // Pixel centres 0.5 ... size - 0.5 must map into the picture.
    if (!(dx <= 0.5 && dy <= 0.5 && dx + w * sx > width_ - 0.5 && dy + h * sy > height_ - 0.5))
      return false;
  }
  return RectOpaque(t, src);
}

void RenderDevice::DrawTexture(const Texture& texture, const RECT& source,
                               const Matrix2D& transform, D3DCOLOR colour) {
  if (recording_) {
    Command* c = NewCommand(scene_, 1);
    c->colour = colour;
    c->texture = &texture;
    c->serial = texture.serial;
    c->left = source.left;
    c->top = source.top;
    c->right = source.right;
    c->bottom = source.bottom;
    float m[6] = {transform.m11, transform.m12, transform.m21,
                  transform.m22, transform.dx,  transform.dy};
    // An unscaled picture lands on whole pixels: recorded there, a piece that
    // creeps towards its place by fractions of a pixel stops changing the
    // scene as soon as it stops changing the picture.
    if (m[0] == 1.0f && m[1] == 0.0f && m[2] == 0.0f && m[3] == 1.0f) {
      const double x = std::floor(static_cast<double>(m[4]) + 0.5);
      const double y = std::floor(static_cast<double>(m[5]) + 0.5);
      if (std::fabs(x) < 1.0e7 && std::fabs(y) < 1.0e7) {
        m[4] = static_cast<float>(x);
        m[5] = static_cast<float>(y);
      }
    }
    std::memcpy(c->m, m, sizeof m);
    return;
  }
  TouchedOutsideScene();
  DrawTextureNow(texture, source, transform, colour, false);
}

void RenderDevice::DrawTextureNow(const Texture& texture, const RECT& source,
                                  const Matrix2D& transform, D3DCOLOR colour, bool cacheable) {
  const int tw = texture.width, th = texture.height;
  if (tw <= 0 || th <= 0 || backBuffer_.empty()) return;
  if (texture.texels.size() < static_cast<size_t>(tw) * static_cast<size_t>(th)) return;
  const int left = std::clamp<int>(source.left, 0, tw), right = std::clamp<int>(source.right, 0, tw);
  const int top = std::clamp<int>(source.top, 0, th), bottom = std::clamp<int>(source.bottom, 0, th);
  if (right <= left || bottom <= top) return;
  if ((colour >> 24) == 0) return;  // a fully transparent tint leaves nothing to blend
  const Matrix2D& m = transform;
  if (!Finite(m.m11) || !Finite(m.m12) || !Finite(m.m21) || !Finite(m.m22) || !Finite(m.dx) ||
      !Finite(m.dy))
    return;

  const int sw = right - left, sh = bottom - top;
  const int W = width_, H = height_;
  const Tint tint(colour);
  // Scaled, turned or tinted pictures come from the cache once they have been
  // drawn the same way in the scene before.
  if (cacheable && !(m.m11 == 1.0f && m.m22 == 1.0f && m.m12 == 0.0f && m.m21 == 0.0f && tint.white) &&
      DrawCached(texture, left, top, sw, sh, m, colour))
    return;
  const uint32_t* texels = texture.texels.data();
  uint32_t* dst = backBuffer_.data();

  if (m.m11 == 1.0f && m.m22 == 1.0f && m.m12 == 0.0f && m.m21 == 0.0f) {
    // Unscaled and unrotated: whole-pixel placement, texels copied one to one.
    const double fx = std::floor(static_cast<double>(m.dx) + 0.5);
    const double fy = std::floor(static_cast<double>(m.dy) + 0.5);
    if (fx >= W || fy >= H || fx + sw <= 0 || fy + sh <= 0) return;
    const int ox = static_cast<int>(fx), oy = static_cast<int>(fy);
    const int x0 = std::max(clip_.left, ox), x1 = std::min(clip_.right, ox + sw);
    const int y0 = std::max(clip_.top, oy), y1 = std::min(clip_.bottom, oy + sh);
    if (x0 >= x1) return;
    for (int y = y0; y < y1; ++y) {
      const uint32_t* srcRow =
          texels + static_cast<size_t>(top + y - oy) * tw + (left + x0 - ox);
      uint32_t* dstRow = dst + static_cast<size_t>(y) * W;
      if (tint.white) {
        BlendRow(srcRow, dstRow + x0, x1 - x0);
        continue;
      }
      for (int x = x0; x < x1; ++x) {
        const uint32_t t = *srcRow++;
        if ((t >> 24) == 0) continue;
        dstRow[x] = BlendPremultiplied(tint.Apply(Premultiply(t)), dstRow[x]);
      }
    }
    return;
  }

  // General case: walk the screen pixels of the transformed quad and map each
  // pixel centre back into sprite space.
  QuadWalk q;
  if (!q.Prepare(m, sw, sh, W, H)) return;
  const uint32_t* srcBase = texels + static_cast<size_t>(top) * tw + left;
  if (m.m12 == 0.0f && m.m21 == 0.0f) {
    const int cx0 = std::max(q.bx0, static_cast<int>(clip_.left));
    const int cx1 = std::min(q.bx1, static_cast<int>(clip_.right));
    const int cy0 = std::max(q.by0, static_cast<int>(clip_.top));
    const int cy1 = std::min(q.by1, static_cast<int>(clip_.bottom));
    if (cx0 < cx1 && cy0 < cy1)
      DrawScaled(dst, W, srcBase, tw, sw, sh, m.m11, m.m22, m.dx, m.dy, cx0, cx1, cy0, cy1, colour);
    return;
  }
  q.DrawTurned(srcBase, tw, tint, clip_, [dst, W](int py, int px) {
    return dst + static_cast<size_t>(py) * W + px;
  });
}

void RenderDevice::DrawMask(const uint8_t* mask, int maskWidth, int maskHeight, int maskPitch,
                            int x, int y, D3DCOLOR colour, const RECT& clip) {
  if (!mask || maskWidth <= 0 || maskHeight <= 0 || maskPitch < maskWidth) return;
  if (recording_) {
    // The mask's bytes are kept with the scene: the glyph cache may move its
    // masks before the scene is drawn, and equal bytes mean an equal picture.
    if ((colour >> 24) == 0) return;
    Command* c = NewMaskCommand(scene_, 2, maskWidth, maskHeight, x, y, colour, clip);
    c->maskOffset = sceneMasks_.size();
    for (int row = 0; row < maskHeight; ++row) {
      const uint8_t* r = mask + static_cast<size_t>(row) * maskPitch;
      sceneMasks_.insert(sceneMasks_.end(), r, r + maskWidth);
    }
    return;
  }
  TouchedOutsideScene();
  DrawMaskNow(mask, maskWidth, maskHeight, maskPitch, x, y, colour, clip);
}

void RenderDevice::DrawStoredMask(const MaskStore& store, size_t offset, int maskWidth,
                                  int maskHeight, int x, int y, D3DCOLOR colour, const RECT& clip) {
  if (!store.bytes || maskWidth <= 0 || maskHeight <= 0) return;
  const size_t size = static_cast<size_t>(maskWidth) * static_cast<size_t>(maskHeight);
  if (offset > store.bytes->size() || size > store.bytes->size() - offset) return;
  if (recording_) {
    if ((colour >> 24) == 0) return;
    Command* c = NewMaskCommand(scene_, 4, maskWidth, maskHeight, x, y, colour, clip);
    c->maskOffset = offset;
    c->store = &store;
    c->serial = store.serial;
    return;
  }
  TouchedOutsideScene();
  DrawMaskNow(store.bytes->data() + offset, maskWidth, maskHeight, maskWidth, x, y, colour, clip);
}

void RenderDevice::DrawMaskNow(const uint8_t* mask, int maskWidth, int maskHeight, int maskPitch,
                               int x, int y, D3DCOLOR colour, const RECT& clip) {
  const uint32_t ca = colour >> 24;
  if (ca == 0 || backBuffer_.empty()) return;
  const int64_t cx0 = std::max<int64_t>({clip_.left, clip.left, x});
  const int64_t cy0 = std::max<int64_t>({clip_.top, clip.top, y});
  const int64_t cx1 = std::min<int64_t>({clip_.right, clip.right, int64_t{x} + maskWidth});
  const int64_t cy1 = std::min<int64_t>({clip_.bottom, clip.bottom, int64_t{y} + maskHeight});
  if (cx0 >= cx1 || cy0 >= cy1) return;
  const uint32_t r = (colour >> 16) & 0xFF, g = (colour >> 8) & 0xFF, b = colour & 0xFF;
#if defined(__SSE2__)
  // Four pixels at a time with the same arithmetic as below: a = ca * cov,
  // the colour premultiplied by a, over the destination.
  const __m128i zero = _mm_setzero_si128(), c255 = _mm_set1_epi16(255);
  const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  const __m128i tintLanes = _mm_setr_epi16(static_cast<short>(b), static_cast<short>(g),
                                           static_cast<short>(r), 255, static_cast<short>(b),
                                           static_cast<short>(g), static_cast<short>(r), 255);
  const __m128i alphaLanes = _mm_set1_epi16(static_cast<short>(ca));
  const __m128i solid = _mm_set1_epi32(static_cast<int>(0xFF000000u | (colour & 0x00FFFFFFu)));
  auto half = [&](__m128i coverage, __m128i d) {
    const __m128i a = Div255Lanes(_mm_mullo_epi16(coverage, alphaLanes));
    const __m128i source = Div255Lanes(_mm_mullo_epi16(tintLanes, a));
    return _mm_add_epi16(source, Div255Lanes(_mm_mullo_epi16(d, _mm_sub_epi16(c255, a))));
  };
#endif
  for (int64_t py = cy0; py < cy1; ++py) {
    const uint8_t* m = mask + static_cast<size_t>(py - y) * maskPitch + (cx0 - x);
    uint32_t* d = backBuffer_.data() + static_cast<size_t>(py) * width_;
    int64_t px = cx0;
#if defined(__SSE2__)
    for (; px + 4 <= cx1; px += 4, m += 4) {
      uint32_t four;
      std::memcpy(&four, m, sizeof four);
      if (four == 0) continue;
      __m128i* at = reinterpret_cast<__m128i*>(d + px);
      if (four == 0xFFFFFFFFu && ca == 255) {
        _mm_storeu_si128(at, solid);
        continue;
      }
      // Coverage bytes c0..c3 widened to lanes c0 c0 c0 c0 c1 c1 c1 c1 | c2 ... c3.
      const __m128i c = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(four)), zero);
      const __m128i pairs = _mm_unpacklo_epi16(c, c);
      const __m128i dst = _mm_loadu_si128(at);
      const __m128i lo = half(_mm_unpacklo_epi32(pairs, pairs), _mm_unpacklo_epi8(dst, zero));
      const __m128i hi = half(_mm_unpackhi_epi32(pairs, pairs), _mm_unpackhi_epi8(dst, zero));
      _mm_storeu_si128(at, _mm_or_si128(_mm_packus_epi16(lo, hi), opaque));
    }
#endif
    for (; px < cx1; ++px) {
      const uint32_t cov = *m++;
      if (cov == 0) continue;
      const uint32_t a = ca == 255 ? cov : Div255(ca * cov);
      if (a == 0) continue;
      const uint32_t src = (a << 24) | (Div255(r * a) << 16) | (Div255(g * a) << 8) | Div255(b * a);
      d[px] = BlendPremultiplied(src, d[px]);
    }
  }
}

void RenderDevice::CacheDeleter::operator()(ScaledCache* cache) const { delete cache; }

bool RenderDevice::DrawCached(const Texture& texture, int left, int top, int sw, int sh,
                              const Matrix2D& m, D3DCOLOR colour) {
  if (!cache_) return false;
  const bool turned = m.m12 != 0.0f || m.m21 != 0.0f;
  const bool unscaled = !turned && m.m11 == 1.0f && m.m22 == 1.0f;
  // Where the picture lies: whole-pixel origin and size, as the direct draw
  // would place it. A turned picture is kept as far as it shows on screen,
  // walked exactly as the direct draw walks it.
  QuadWalk walk;
  double originX, originY, extentX, extentY;
  if (turned) {
    if (!walk.Prepare(m, sw, sh, width_, height_)) return true;  // nothing of it shows
    originX = walk.bx0;
    originY = walk.by0;
    extentX = walk.bx1 - walk.bx0;
    extentY = walk.by1 - walk.by0;
  } else if (unscaled) {
    originX = std::floor(static_cast<double>(m.dx) + 0.5);
    originY = std::floor(static_cast<double>(m.dy) + 0.5);
    extentX = sw;
    extentY = sh;
  } else {
    const double x0 = m.dx, x1 = m.dx + static_cast<double>(sw) * m.m11;
    const double y0 = m.dy, y1 = m.dy + static_cast<double>(sh) * m.m22;
    originX = std::floor(std::min(x0, x1));
    originY = std::floor(std::min(y0, y1));
    extentX = std::ceil(std::max(x0, x1)) - originX;
    extentY = std::ceil(std::max(y0, y1)) - originY;
  }
  if (!(std::fabs(originX) < kCoordLimit && std::fabs(originY) < kCoordLimit)) return false;
  if (!(extentX >= 1 && extentY >= 1 && extentX <= 4096 && extentY <= 4096)) return false;
  const int cw = static_cast<int>(extentX), ch = static_cast<int>(extentY);
  const int ox = static_cast<int>(originX), oy = static_cast<int>(originY);
  if (ox >= width_ || oy >= height_ || ox + cw <= 0 || oy + ch <= 0) return true;  // off screen

  ScaledCache::Key key;
  std::memset(&key, 0, sizeof key);
  key.serial = texture.serial;
  key.left = left;
  key.top = top;
  key.width = sw;
  key.height = sh;
  key.scaleX = m.m11;
  key.scaleY = m.m22;
  key.turnX = m.m12;
  key.turnY = m.m21;
  key.fracX = turned ? m.dx : unscaled ? 0.0 : m.dx - originX;
  key.fracY = turned ? m.dy : unscaled ? 0.0 : m.dy - originY;
  key.colour = colour;

  ScaledCache& cache = *cache_;
  ScaledCache::Store::Entry* entry = cache.Find(key);
  if (!entry) {
    const size_t size = static_cast<size_t>(cw) * ch;
    if (!cache.SeenBefore(key) || size * sizeof(uint32_t) > kScaledCacheBytes / 2) return false;
    entry = cache.store.Add(ScaledCache::Picture{key, cw, ch}, ScaledCache::WordsFor(cw, ch), cache.scene);
    if (!entry) return false;
    uint32_t* pixels = cache.store.Words(*entry);
    std::fill(pixels, pixels + size, 0u);
    const uint32_t* srcBase = texture.texels.data() + static_cast<size_t>(top) * texture.width + left;
    if (turned) {
      // Drawn over transparent pixels, the blend leaves each pixel as the
      // premultiplied value the direct draw would blend.
      walk.DrawTurned<true>(srcBase, texture.width, Tint(colour), RECT{ox, oy, ox + cw, oy + ch},
                      [pixels, cw, ox, oy](int py, int px) {
                        return pixels + static_cast<size_t>(py - oy) * cw + (px - ox);
                      });
    } else if (unscaled) {
      const Tint tint(colour);
      for (int y = 0; y < sh; ++y)
        for (int x = 0; x < sw; ++x)
          pixels[static_cast<size_t>(y) * cw + x] =
              tint.Apply(Premultiply(srcBase[static_cast<size_t>(y) * texture.width + x]));
    } else {
      DrawScaled(pixels, cw, srcBase, texture.width, sw, sh, m.m11, m.m22, key.fracX, key.fracY, 0,
                 cw, 0, ch, colour, true);
    }
    uint8_t* rowKind = ScaledCache::RowKinds(pixels, entry->value);
    for (int y = 0; y < ch; ++y) {
      const uint32_t* row = pixels + static_cast<size_t>(y) * cw;
      uint32_t all = 0xFFFFFFFFu, any = 0;
      for (int x = 0; x < cw; ++x) {
        all &= row[x];
        any |= row[x];
      }
      rowKind[y] = all >= 0xFF000000u ? 1 : (any >> 24) == 0 ? 0 : 2;
    }
    ++counters_.cacheBuilds;
  } else {
    cache.SeenBefore(key);
  }
  entry->lastUse = cache.scene;
  ++counters_.cacheDraws;

  const uint32_t* pixels = cache.store.Words(*entry);
  const uint8_t* rowKind = ScaledCache::RowKinds(cache.store.Words(*entry), entry->value);
  const int x0 = std::max(clip_.left, ox), x1 = std::min(clip_.right, ox + cw);
  const int y0 = std::max(clip_.top, oy), y1 = std::min(clip_.bottom, oy + ch);
  if (x0 >= x1) return true;
  for (int y = y0; y < y1; ++y) {
    const uint8_t kind = rowKind[y - oy];
    if (kind == 0) continue;
    const uint32_t* src = pixels + static_cast<size_t>(y - oy) * cw + (x0 - ox);
    uint32_t* dst = backBuffer_.data() + static_cast<size_t>(y) * width_ + x0;
    if (kind == 1) {
      std::memcpy(dst, src, static_cast<size_t>(x1 - x0) * sizeof(uint32_t));
      continue;
    }
    BlendPremultipliedRow(src, dst, x1 - x0);
  }
  return true;
}
