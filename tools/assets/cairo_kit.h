// Drawing helpers shared by every sheet of the asset builder: the palette,
// rounded panels, soft gradients and shadows, circles, outlined lettering,
// the colour key and PNG output. All coordinates are image pixels.
#pragma once
#include <cairo.h>
#include <cstdint>
#include <vector>

namespace kit {

// An RGB colour with components 0 ... 1.
struct Colour {
  double r, g, b;
};

constexpr Colour Hex(uint32_t rgb) {
  return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0};
}
Colour Mix(Colour a, Colour b, double t);  // t = 0 gives a, 1 gives b
Colour Lighter(Colour c, double t);        // towards white
Colour Darker(Colour c, double t);         // towards black

// The calm warm palette of the whole game.
namespace pal {
constexpr Colour kCream = Hex(0xFBF3E4);       // page and panel faces
constexpr Colour kSand = Hex(0xEAD8B8);        // backgrounds, panel rims
constexpr Colour kSandDark = Hex(0xC9AE84);    // shadows on sand, frames
constexpr Colour kTeal = Hex(0x2E8C8A);        // main accent (buttons)
constexpr Colour kTealLight = Hex(0x5DB5AE);   // hover, highlights
constexpr Colour kTealDark = Hex(0x1F5F5E);
constexpr Colour kTerracotta = Hex(0xCC6A4A);  // second accent
constexpr Colour kTerracottaLight = Hex(0xE89574);
constexpr Colour kOchre = Hex(0xE0A73E);       // third accent, hover glow
constexpr Colour kOchreLight = Hex(0xF2CD7E);
constexpr Colour kOlive = Hex(0x8AA05A);
constexpr Colour kInk = Hex(0x3B2F2A);         // outlines and dark lettering
constexpr Colour kWhite = Hex(0xFFFFFF);
}  // namespace pal

// The texel colour that the game turns transparent: opaque (0x00, 0xFF, 0x64).
constexpr uint32_t kColourKey = 0xFF00FF64;

void SetColour(cairo_t* cr, Colour c, double alpha = 1.0);

// A new ARGB32 surface, fully transparent.
cairo_surface_t* NewSheet(int width, int height);

// Paths (they neither fill nor stroke).
void RoundRectPath(cairo_t* cr, double x, double y, double w, double h, double r);
void CirclePath(cairo_t* cr, double cx, double cy, double r);

// Filled shapes.
void FillRoundRect(cairo_t* cr, double x, double y, double w, double h, double r, Colour c,
                   double alpha = 1.0);
void FillCircle(cairo_t* cr, double cx, double cy, double r, Colour c, double alpha = 1.0);
// A rounded rectangle filled with a vertical gradient from `top` to `bottom`.
void GradientRoundRect(cairo_t* cr, double x, double y, double w, double h, double r,
                       Colour top, Colour bottom);
// Sets a vertical gradient from `top` (at y0) to `bottom` (at y1) as the source.
void VerticalGradient(cairo_t* cr, double y0, double y1, Colour top, Colour bottom,
                      double alpha = 1.0);
// A soft drop shadow under a rounded rectangle: several widening translucent
// layers, offset by (dx, dy). Draw it before the shape itself.
void SoftShadow(cairo_t* cr, double x, double y, double w, double h, double r, double dx,
                double dy, double blur, double strength = 0.35);

// Confines drawing to a rectangle (left, top, right, bottom); pair with cairo_restore.
void BeginCell(cairo_t* cr, int left, int top, int right, int bottom);

// Fills the rectangle (left, top, right, bottom) with an exactly opaque colour,
// replacing what is there (no blending, no anti-aliased edges).
void SolidRect(cairo_surface_t* s, int left, int top, int right, int bottom, Colour c);
// Fills the rectangle with the colour key, so the game shows it transparent.
void FillColourKey(cairo_surface_t* s, int left, int top, int right, int bottom);
// Clears the rectangle to fully transparent.
void ClearRect(cairo_surface_t* s, int left, int top, int right, int bottom);
// Nudges every texel inside the rectangle (or the whole sheet with the
// default arguments) that happens to equal the colour key, so art never turns
// transparent by accident. Call it before FillColourKey.
void AvoidColourKey(cairo_surface_t* s, int left = 0, int top = 0, int right = -1,
                    int bottom = -1);

// Lettering. Families: "Liberation Sans" or "Comic Neue"; size in pixels.
enum class Family { Sans, Comic };
void SelectFont(cairo_t* cr, Family family, double size, bool bold = true);
// Width and height of the ink box of `text` in the current font.
void TextInk(cairo_t* cr, const char* text, double* w, double* h);
// Draws `text` (UTF-8) with its ink box centred in the box (x, y, w, h):
// filled with `fill`, with an outline of width `outline` (0 = none) in `line`.
void TextInBox(cairo_t* cr, const char* text, double x, double y, double w, double h,
               Colour fill, double outline = 0.0, Colour line = pal::kInk);
// The same with the family and size chosen here; the size shrinks when the
// text would not fit the box width.
void TextInBox(cairo_t* cr, const char* text, double x, double y, double w, double h,
               Family family, double size, Colour fill, double outline = 0.0,
               Colour line = pal::kInk);

// A menu panel filling (x, y, w, h): rounded cream face with a warm rim; with
// headerHeight > 0 a light ochre band across the top for the page title.
void Panel(cairo_t* cr, double x, double y, double w, double h, double radius,
           double headerHeight = 0.0);
// The "Denkarium" word mark centred in the box (x, y, w, h), `size` pixels.
void WordMark(cairo_t* cr, double x, double y, double w, double h, double size);
// The game's emblem: a friendly light bulb with a glow, centred on (cx, cy),
// `size` pixels tall.
void Lightbulb(cairo_t* cr, double cx, double cy, double size);
// Strokes the current path with a round join in colour c (keeps no path).
void Stroke(cairo_t* cr, double width, Colour c, double alpha = 1.0);

// A small deterministic random generator for scattered decoration, so every
// build draws the same picture.
class Rng {
 public:
  explicit Rng(uint32_t seed) : state_(seed) {}
  uint32_t Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }
  double Uniform(double lo, double hi) { return lo + (hi - lo) * (Next() / 16777216.0); }
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }

 private:
  uint32_t state_;
};

// Draws `text` left-aligned with its baseline starting at (x, baseline) in the
// current font, filled with `fill`, optionally outlined like TextInBox.
void TextAt(cairo_t* cr, const char* text, double x, double baseline, Colour fill,
            double outline = 0.0, Colour line = pal::kInk);

// Scatters `count` soft translucent shapes (circles, rounded squares,
// triangles) in the palette's accent colours over the box (x, y, w, h).
void ScatterShapes(cairo_t* cr, Rng& rng, int count, double x, double y, double w, double h,
                   double minSize, double maxSize, double minAlpha, double maxAlpha);
// Adds a faint deterministic grain to the rectangle: every texel's colour
// moves by up to `amount` (0 ... 255) levels, alpha unchanged.
void Grain(cairo_surface_t* s, int left, int top, int right, int bottom, int amount, uint32_t seed);

// Writes the surface as PNG; false on failure.
bool WritePng(cairo_surface_t* s, const char* path);
// Encodes the surface as PNG into memory (appends to `out`); false on failure.
bool EncodePng(cairo_surface_t* s, std::vector<unsigned char>* out);

}  // namespace kit
