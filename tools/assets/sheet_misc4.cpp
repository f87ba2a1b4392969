// misc4.PNG: the eight fruits of the balance game, the coins and notes of the
// change game (each showing its value) and the two strips that frame the
// change field.
#include <cmath>
#include <cstdio>

#include "misc_art_kit.h"
#include "sheets.h"

using namespace miscart;

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 1024;

// ----------------------------------------------------------------- fruits

// Fills the current path with a light from the upper left and a crisp,
// darker outline.
void FruitFill(cairo_t* cr, Rgb base, double cx, double cy, double r) {
  RadialLight(cr, cx, cy, r, Lighter(base, 0.45), Darker(base, 0.12), cx - r * 0.35,
              cy - r * 0.4);
  cairo_fill_preserve(cr);
  SetColour(cr, Darker(base, 0.45));
  cairo_set_line_width(cr, 1.6);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
}

void Shine(cairo_t* cr, double cx, double cy, double rx, double ry, double alpha = 0.55) {
  Ellipse(cr, cx, cy, rx, ry);
  cairo_set_source_rgba(cr, 1, 1, 1, alpha);
  cairo_fill(cr);
}

void Stem(cairo_t* cr, double x0, double y0, double cx, double cy, double x1, double y1,
          double width = 2.6) {
  cairo_new_path(cr);
  cairo_move_to(cr, x0, y0);
  cairo_curve_to(cr, cx, cy, cx, cy, x1, y1);
  SetColour(cr, Hex(0x6B4A2B));
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
}

void Leaf(cairo_t* cr, double x, double y, double length, double angle, Rgb c = Hex(0x5AA845)) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_rotate(cr, angle);
  cairo_new_path(cr);
  cairo_move_to(cr, 0, 0);
  cairo_curve_to(cr, length * 0.3, -length * 0.35, length * 0.75, -length * 0.3, length, 0);
  cairo_curve_to(cr, length * 0.75, length * 0.3, length * 0.3, length * 0.35, 0, 0);
  cairo_close_path(cr);
  VerticalGradient(cr, -length * 0.3, length * 0.3, Lighter(c, 0.25), Darker(c, 0.1));
  cairo_fill_preserve(cr);
  SetColour(cr, Darker(c, 0.4));
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  cairo_move_to(cr, length * 0.1, 0);
  cairo_line_to(cr, length * 0.85, 0);
  SetColour(cr, Darker(c, 0.3));
  cairo_set_line_width(cr, 0.9);
  cairo_stroke(cr);
  cairo_restore(cr);
}

// Each fruit is drawn with the origin at the bottom centre of its cell: it
// stands on y = 0 and is centred on x = 0.
void Cherries(cairo_t* cr) {
  const Rgb red = Hex(0xD42A3C);
  Stem(cr, -12, -26, -8, -58, 4, -72);
  Stem(cr, 14, -28, 14, -55, 4, -72);
  Leaf(cr, 4, -72, 24, -0.35);
  for (auto c : {std::pair{-13.0, -14.5}, std::pair{14.0, -16.5}}) {
    CirclePath(cr, c.first, c.second, 14);
    FruitFill(cr, red, c.first, c.second, 14);
    Shine(cr, c.first - 5, c.second - 5, 3.5, 2.5);
  }
}

void Plum(cairo_t* cr) {
  const Rgb purple = Hex(0x7A3D8F);
  Stem(cr, 0, -56, 1, -62, 4, -66);
  Ellipse(cr, 0, -29, 25, 28.5);
  FruitFill(cr, purple, 0, -29, 29);
  cairo_move_to(cr, 3, -55);
  cairo_curve_to(cr, 12, -40, 12, -20, 4, -5);
  cairo_set_source_rgba(cr, 0.25, 0.1, 0.3, 0.45);
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
  Shine(cr, -9, -40, 6, 4, 0.4);
}

void Apricot(cairo_t* cr) {
  const Rgb orange = Hex(0xF5A23A);
  Ellipse(cr, 0, -27, 28, 26.5);
  FruitFill(cr, orange, 0, -27, 29);
  // Warm blush on the right.
  cairo_save(cr);
  Ellipse(cr, 0, -27, 27, 25.5);
  cairo_clip(cr);
  Ellipse(cr, 12, -22, 16, 16);
  {
    cairo_pattern_t* p = cairo_pattern_create_radial(12, -22, 0, 12, -22, 17);
    cairo_pattern_add_color_stop_rgba(p, 0, 0.89, 0.34, 0.18, 0.55);
    cairo_pattern_add_color_stop_rgba(p, 1, 0.89, 0.34, 0.18, 0.0);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
  }
  cairo_fill(cr);
  cairo_restore(cr);
  cairo_move_to(cr, -2, -52);
  cairo_curve_to(cr, -10, -38, -9, -18, -1, -3);
  cairo_set_source_rgba(cr, 0.6, 0.3, 0.1, 0.45);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  Stem(cr, -1, -52, 0, -56, 1, -58, 2.2);
  Leaf(cr, 1, -56, 20, -0.5);
  Shine(cr, -11, -38, 5, 3.5, 0.45);
}

void Lemon(cairo_t* cr) {
  const Rgb yellow = Hex(0xF7D53C);
  cairo_translate(cr, 0, 3.5);  // the outline's lowest point onto y = 0
  cairo_new_path(cr);
  cairo_move_to(cr, -39, -26);
  cairo_curve_to(cr, -36, -29, -34, -30, -31, -35);
  cairo_curve_to(cr, -22, -53, 22, -53, 31, -35);
  cairo_curve_to(cr, 34, -30, 36, -29, 39, -26);
  cairo_curve_to(cr, 36, -23, 34, -22, 31, -17);
  cairo_curve_to(cr, 22, 1, -22, 1, -31, -17);
  cairo_curve_to(cr, -34, -22, -36, -23, -39, -26);
  cairo_close_path(cr);
  FruitFill(cr, yellow, 0, -26, 38);
  // Peel pores.
  for (int i = 0; i < 14; ++i) {
    const double a = i * 2.4;
    CirclePath(cr, std::cos(a) * (8 + i * 1.3), -26 + std::sin(a) * (4 + i * 0.8), 0.9);
  }
  cairo_set_source_rgba(cr, 0.75, 0.55, 0.05, 0.4);
  cairo_fill(cr);
  Shine(cr, -10, -38, 10, 4, 0.5);
  Leaf(cr, 30, -35, 18, -0.9);
}

void Apple(cairo_t* cr) {
  const Rgb red = Hex(0xD8392E);
  Stem(cr, 0, -60, 1, -70, 4, -78, 3.0);
  cairo_new_path(cr);
  cairo_move_to(cr, 0, -60);
  cairo_curve_to(cr, 14, -70, 38, -66, 37, -40);
  cairo_curve_to(cr, 36, -16, 24, 0, 11, -0.5);
  cairo_curve_to(cr, 6, -1, 3, -3, 0, -3);
  cairo_curve_to(cr, -3, -3, -6, -1, -11, -0.5);
  cairo_curve_to(cr, -24, 0, -36, -16, -37, -40);
  cairo_curve_to(cr, -38, -66, -14, -70, 0, -60);
  cairo_close_path(cr);
  FruitFill(cr, red, 0, -34, 40);
  // Yellow-green blush on the left cheek.
  {
    cairo_pattern_t* p = cairo_pattern_create_radial(-18, -44, 0, -18, -44, 20);
    cairo_pattern_add_color_stop_rgba(p, 0, 0.95, 0.78, 0.25, 0.5);
    cairo_pattern_add_color_stop_rgba(p, 1, 0.95, 0.78, 0.25, 0.0);
    Ellipse(cr, -18, -44, 20, 20);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
    cairo_fill(cr);
  }
  Leaf(cr, 3, -72, 24, -0.3);
  Shine(cr, -20, -50, 6, 4, 0.5);
}

void Pear(cairo_t* cr) {
  const Rgb green = Hex(0xBFD44C);
  Stem(cr, 0, -84, -1, -89, 3, -94, 3.0);
  cairo_new_path(cr);
  cairo_move_to(cr, 0, -86);
  cairo_curve_to(cr, 12, -86, 17, -76, 18, -64);
  cairo_curve_to(cr, 19, -54, 33, -46, 33, -27);
  cairo_curve_to(cr, 33, -8, 18, -0.5, 0, -0.5);
  cairo_curve_to(cr, -18, -0.5, -33, -8, -33, -27);
  cairo_curve_to(cr, -33, -46, -19, -54, -18, -64);
  cairo_curve_to(cr, -17, -76, -12, -86, 0, -86);
  cairo_close_path(cr);
  FruitFill(cr, green, 0, -40, 46);
  {
    cairo_pattern_t* p = cairo_pattern_create_radial(14, -26, 0, 14, -26, 18);
    cairo_pattern_add_color_stop_rgba(p, 0, 0.92, 0.5, 0.25, 0.45);
    cairo_pattern_add_color_stop_rgba(p, 1, 0.92, 0.5, 0.25, 0.0);
    Ellipse(cr, 14, -26, 18, 18);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
    cairo_fill(cr);
  }
  Leaf(cr, 1, -89, 19, -0.25);
  Shine(cr, -9, -68, 4, 6, 0.45);
  Shine(cr, -18, -34, 5, 8, 0.35);
}

void Grapes(cairo_t* cr) {
  const Rgb purple = Hex(0x7447A0);
  Stem(cr, 0, -76, 0, -82, 3, -88, 3.0);
  Leaf(cr, 2, -82, 24, -0.3, Hex(0x62A848));
  static const int kRow[] = {4, 4, 3, 3, 2, 1};
  const double r = 10.5;
  for (int row = 0; row < 6; ++row) {
    const int n = kRow[row];
    const double y = -r - (5 - row) * 13.0;
    for (int i = 0; i < n; ++i) {
      const double x = (i - (n - 1) / 2.0) * 18.0;
      CirclePath(cr, x, y, r);
      FruitFill(cr, purple, x, y, r + 1);
      Shine(cr, x - 3.5, y - 4, 2.6, 1.8, 0.6);
    }
  }
}

void Pineapple(cairo_t* cr) {
  const Rgb gold = Hex(0xE7A838);
  // Crown.
  for (int i = -3; i <= 3; ++i) {
    const double a = i * 0.28;
    Leaf(cr, i * 1.5, -66, 31 - std::abs(i) * 3.0, -M_PI / 2 + a, i % 2 ? Hex(0x4E9A44) : Hex(0x3D8A3C));
  }
  Ellipse(cr, 0, -36, 30, 35.5);
  FruitFill(cr, gold, 0, -36, 36);
  // Diamond pattern of the rind.
  cairo_save(cr);
  Ellipse(cr, 0, -36, 29, 34.5);
  cairo_clip(cr);
  cairo_new_path(cr);
  for (double d = -80; d <= 80; d += 11) {
    cairo_move_to(cr, d - 40, -80);
    cairo_line_to(cr, d + 40, 10);
    cairo_move_to(cr, d + 40, -80);
    cairo_line_to(cr, d - 40, 10);
  }
  cairo_set_source_rgba(cr, 0.55, 0.33, 0.05, 0.55);
  cairo_set_line_width(cr, 1.4);
  cairo_stroke(cr);
  cairo_restore(cr);
  Shine(cr, -11, -50, 5, 9, 0.35);
}

// Draws fruit `index` enlarged by `scale` about its bottom centre, so that
// it fills its cell as far as its shape allows.
void DrawFruit(cairo_t* cr, int index, void (*draw)(cairo_t*), double scale) {
  const int x = 100 * (index % 4), y = 100 * (index / 4);
  BeginCell(cr, x, y, x + 100, y + 100);
  cairo_translate(cr, x + 50, y + 100);
  cairo_scale(cr, scale, scale);
  draw(cr);
  cairo_restore(cr);
}

// ------------------------------------------------------------------ money

enum class Metal { Copper, Gold, Silver };

struct MetalTone {
  Rgb light, mid, dark, ink;
};

MetalTone Tone(Metal m) {
  switch (m) {
    case Metal::Copper:
      return {Hex(0xF0B07A), Hex(0xC9773C), Hex(0x8E4A1E), Hex(0x6A3412)};
    case Metal::Gold:
      return {Hex(0xFBE6A2), Hex(0xDDB451), Hex(0xA07A22), Hex(0x6E5010)};
    case Metal::Silver:
      break;
  }
  return {Hex(0xF7F8FA), Hex(0xC8CDD3), Hex(0x8A9099), Hex(0x474D57)};
}

void MetalDisc(cairo_t* cr, double cx, double cy, double r, const MetalTone& t) {
  CirclePath(cr, cx, cy, r);
  RadialLight(cr, cx, cy, r, t.light, t.dark, cx - r * 0.4, cy - r * 0.45);
  cairo_fill(cr);
}

void StarShape(cairo_t* cr, double cx, double cy, double r) {
  cairo_new_sub_path(cr);
  for (int i = 0; i < 10; ++i) {
    const double a = -M_PI / 2 + i * M_PI / 5;
    const double rr = i % 2 ? r * 0.45 : r;
    if (i == 0) cairo_move_to(cr, cx + std::cos(a) * rr, cy + std::sin(a) * rr);
    else cairo_line_to(cr, cx + std::cos(a) * rr, cy + std::sin(a) * rr);
  }
  cairo_close_path(cr);
}

// Embossed lettering: a light edge up-left, the dark letters on top.
void Emboss(cairo_t* cr, const char* text, double cx, double cy, const MetalTone& t) {
  cairo_new_path(cr);
  TextCentredPath(cr, text, cx - 0.8, cy - 0.8);
  SetColour(cr, t.light, 0.9);
  cairo_fill(cr);
  cairo_new_path(cr);
  TextCentredPath(cr, text, cx, cy);
  SetColour(cr, t.ink);
  cairo_fill(cr);
}

struct Coin {
  int left, top;
  const char* numeral;
  bool euro;        // euro coin (two metals, ring of stars) or cent coin
  Metal ring, core;  // equal for the one-metal coins
  double diameter;
};

void DrawCoin(cairo_t* cr, const Coin& c) {
  BeginCell(cr, c.left, c.top, c.left + 100, c.top + 100);
  const double cx = c.left + 50, cy = c.top + 50, r = c.diameter / 2;
  const MetalTone ring = Tone(c.ring), core = Tone(c.core);
  // Edge and raised rim.
  CirclePath(cr, cx, cy, r);
  SetColour(cr, Darker(ring.dark, 0.15));
  cairo_fill(cr);
  MetalDisc(cr, cx, cy, r - 1.2, ring);
  CirclePath(cr, cx, cy, r - 4.5);
  RadialLight(cr, cx, cy, r - 4.5, Mix(ring.light, ring.mid, 0.3), Mix(ring.mid, ring.dark, 0.2),
              cx - r * 0.3, cy - r * 0.35);
  cairo_fill(cr);
  double inner = r - 4.5;
  if (c.euro) {
    inner = r * 0.66;
    for (int i = 0; i < 12; ++i) {
      const double a = i * M_PI / 6;
      StarShape(cr, cx + std::sin(a) * r * 0.83, cy - std::cos(a) * r * 0.83, r * 0.07);
    }
    SetColour(cr, ring.ink, 0.75);
    cairo_fill(cr);
    CirclePath(cr, cx, cy, inner + 1.2);
    SetColour(cr, Darker(ring.dark, 0.2));
    cairo_fill(cr);
    CirclePath(cr, cx, cy, inner);
    RadialLight(cr, cx, cy, inner, core.light, core.mid, cx - inner * 0.4, cy - inner * 0.45);
    cairo_fill(cr);
  } else {
    CirclePath(cr, cx, cy, r - 8);
    SetColour(cr, ring.dark, 0.5);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
  }
  // Value and unit.
  const MetalTone& face = c.euro ? core : ring;
  const bool twoDigits = c.numeral[1] != 0;
  const double size = c.euro ? inner * 1.25 : (twoDigits ? r * 0.92 : r * 1.1);
  SelectFont(cr, Face::Sans, size);
  Emboss(cr, c.numeral, cx, cy - (c.euro ? inner * 0.12 : r * 0.12), face);
  SelectFont(cr, Face::Sans, c.euro ? inner * 0.3 : r * 0.24);
  Emboss(cr, c.euro ? "EURO" : "CENT", cx, cy + (c.euro ? inner * 0.62 : r * 0.56), face);
  cairo_restore(cr);
}

struct Note {
  int left, top, right, bottom;
  const char* numeral;
  uint32_t colour;
};

// A note: a rounded paper face in its own colour, an archway on the left, a
// ring of stars, the value large on the right and small in the corners.
void DrawNote(cairo_t* cr, const Note& n) {
  const double w = n.right - n.left, h = n.bottom - n.top;
  const Rgb base = Hex(n.colour);
  BeginCell(cr, n.left, n.top, n.right, n.bottom);
  cairo_translate(cr, n.left, n.top);
  RoundRectPath(cr, 0, 0, w, h, 6);
  SetColour(cr, Darker(base, 0.3));
  cairo_fill(cr);
  RoundRectPath(cr, 1.2, 1.2, w - 2.4, h - 2.4, 5);
  {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, w, h);
    const Rgb a = Lighter(base, 0.72), b = Lighter(base, 0.45);
    cairo_pattern_add_color_stop_rgb(p, 0, a.r, a.g, a.b);
    cairo_pattern_add_color_stop_rgb(p, 1, b.r, b.g, b.b);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
  }
  cairo_fill(cr);
  // Fine wave lines across the paper.
  cairo_save(cr);
  RoundRectPath(cr, 1.2, 1.2, w - 2.4, h - 2.4, 5);
  cairo_clip(cr);
  cairo_new_path(cr);
  for (double y = 8; y < h; y += 9) {
    cairo_move_to(cr, 0, y);
    for (double x = 0; x <= w; x += 4) cairo_line_to(cr, x, y + std::sin(x * 0.09 + y) * 2.5);
  }
  SetColour(cr, base, 0.18);
  cairo_set_line_width(cr, 0.8);
  cairo_stroke(cr);
  cairo_restore(cr);
  // Coloured band with an archway.
  const double bandW = w * 0.4;
  RoundRectPath(cr, 7, 7, bandW, h - 14, 4);
  VerticalGradient(cr, 7, h - 7, Lighter(base, 0.1), Darker(base, 0.1));
  cairo_fill(cr);
  const double ax = 7 + bandW / 2, aw = bandW * 0.52, atop = h * 0.3, abot = h - 16;
  cairo_new_path(cr);
  cairo_move_to(cr, ax - aw / 2, abot);
  cairo_line_to(cr, ax - aw / 2, atop + aw / 2);
  cairo_arc(cr, ax, atop + aw / 2, aw / 2, M_PI, 2 * M_PI);
  cairo_line_to(cr, ax + aw / 2, abot);
  cairo_close_path(cr);
  SetColour(cr, Lighter(base, 0.78));
  cairo_fill_preserve(cr);
  SetColour(cr, Darker(base, 0.35));
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
  cairo_new_path(cr);
  cairo_move_to(cr, ax - aw / 2 - 5, abot + 0.5);
  cairo_line_to(cr, ax + aw / 2 + 5, abot + 0.5);
  cairo_set_line_width(cr, 2.4);
  cairo_stroke(cr);
  for (double dx : {-aw / 4, 0.0, aw / 4}) {  // window mullions
    cairo_move_to(cr, ax + dx, abot);
    cairo_line_to(cr, ax + dx, atop + aw / 2 - (dx == 0 ? aw / 2 : aw / 2.6));
  }
  SetColour(cr, Darker(base, 0.35), 0.6);
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
  // Small value in the band's top corner.
  SelectFont(cr, Face::Sans, h * 0.16);
  SetColour(cr, Lighter(base, 0.85));
  cairo_new_path(cr);
  TextCentredPath(cr, n.numeral, 7 + bandW / 2, 7 + h * 0.12);
  cairo_fill(cr);
  // Ring of stars.
  const double sx = bandW + 22, sy = 20, sr = h * 0.11;
  for (int i = 0; i < 12; ++i) {
    const double a = i * M_PI / 6;
    StarShape(cr, sx + std::sin(a) * sr, sy - std::cos(a) * sr, 2.3);
  }
  SetColour(cr, Hex(0xF2C12E));
  cairo_fill_preserve(cr);
  SetColour(cr, Darker(base, 0.4), 0.5);
  cairo_set_line_width(cr, 0.5);
  cairo_stroke(cr);
  // Large value.
  const double vx = bandW + 7 + (w - bandW - 7) / 2 + 6, vy = h * 0.52;
  SelectFont(cr, Face::Sans, h * 0.6);
  double tw = 0;
  kit::TextInk(cr, n.numeral, &tw, nullptr);
  const double room = w - bandW - 24;
  if (tw > room) SelectFont(cr, Face::Sans, h * 0.6 * room / tw);
  cairo_new_path(cr);
  TextCentredPath(cr, n.numeral, vx, vy);
  SetColour(cr, Darker(base, 0.55));
  cairo_set_line_width(cr, 4.0);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke_preserve(cr);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_fill(cr);
  // "EURO" below the value.
  SelectFont(cr, Face::Sans, h * 0.13);
  SetColour(cr, Darker(base, 0.5));
  cairo_new_path(cr);
  TextCentredPath(cr, "EURO", vx, h - 12);
  cairo_fill(cr);
  cairo_restore(cr);
}

// ------------------------------------------------------------ field frame

// Across its 5-pixel thickness the frame line runs dark, wood, light, wood,
// dark; along its length it is uniform (it is stretched).
const Rgb kFrame[5] = {Hex(0x5A3A28), Hex(0xA8714C), Hex(0xE2B58A), Hex(0xA8714C),
                       Hex(0x5A3A28)};

void DrawFrameStrips(cairo_surface_t* s) {
  for (int r = 0; r < 5; ++r) SolidRect(s, 505, r, 600, r + 1, kFrame[r]);
  for (int c = 0; c < 5; ++c) SolidRect(s, 500 + c, 5, 501 + c, 100, kFrame[c]);
  // The unused corner continues both strips, so a filtered draw of either
  // finds its own colours next to its end.
  for (int r = 0; r < 5; ++r)
    for (int c = 0; c < 5; ++c)
      SolidRect(s, 500 + c, r, 501 + c, r + 1, c >= r ? kFrame[r] : kFrame[c]);
  GuardRing(s, 505, 0, 600, 5, kGuardRight | kGuardBottom);
  GuardRing(s, 500, 5, 505, 100, kGuardRight | kGuardBottom);
}

}  // namespace

cairo_surface_t* DrawSheetMisc4() {
  cairo_surface_t* s = NewSheet(kWidth, kHeight);
  cairo_t* cr = cairo_create(s);
  DrawFruit(cr, 0, Cherries, 1.17);
  DrawFruit(cr, 1, Plum, 1.3);
  DrawFruit(cr, 2, Apricot, 1.33);
  DrawFruit(cr, 3, Lemon, 1.1);
  DrawFruit(cr, 4, Apple, 1.17);
  DrawFruit(cr, 5, Pear, 1.0);
  DrawFruit(cr, 6, Grapes, 1.05);
  DrawFruit(cr, 7, Pineapple, 1.0);

  const Coin coins[] = {
      {300, 300, "1", false, Metal::Copper, Metal::Copper, 72},
      {200, 300, "2", false, Metal::Copper, Metal::Copper, 78},
      {100, 300, "5", false, Metal::Copper, Metal::Copper, 84},
      {0, 300, "10", false, Metal::Gold, Metal::Gold, 82},
      {300, 200, "20", false, Metal::Gold, Metal::Gold, 88},
      {200, 200, "50", false, Metal::Gold, Metal::Gold, 94},
      {100, 200, "1", true, Metal::Silver, Metal::Gold, 92},
      {0, 200, "2", true, Metal::Gold, Metal::Silver, 98},
  };
  for (const Coin& c : coins) DrawCoin(cr, c);

  const Note notes[] = {
      {0, 450, 200, 550, "5", 0x8C9A90},       {0, 550, 220, 650, "10", 0xD0574C},
      {0, 650, 240, 750, "20", 0x4A7CC0},      {0, 750, 240, 850, "50", 0xE48A32},
      {260, 450, 520, 570, "100", 0x4E9E5E},   {260, 570, 530, 690, "200", 0xC9A03A},
      {260, 690, 540, 810, "500", 0x8E62B0},
  };
  for (const Note& n : notes) DrawNote(cr, n);
  cairo_destroy(cr);
  DrawFrameStrips(s);
  AvoidColourKey(s);
  return s;
}

std::vector<SheetRect> CatalogueMisc4() {
  return {
      {"cherries 25g", 0, 0, 100, 100, SheetRect::CutOut},
      {"plum 50g", 100, 0, 200, 100, SheetRect::CutOut},
      {"apricot 50g", 200, 0, 300, 100, SheetRect::CutOut},
      {"lemon 100g", 300, 0, 400, 100, SheetRect::CutOut},
      {"apple 250g", 0, 100, 100, 200, SheetRect::CutOut},
      {"pear 250g", 100, 100, 200, 200, SheetRect::CutOut},
      {"grapes 500g", 200, 100, 300, 200, SheetRect::CutOut},
      {"pineapple 1000g", 300, 100, 400, 200, SheetRect::CutOut},
      {"coin 1 cent", 300, 300, 400, 400, SheetRect::CutOut},
      {"coin 2 cent", 200, 300, 300, 400, SheetRect::CutOut},
      {"coin 5 cent", 100, 300, 200, 400, SheetRect::CutOut},
      {"coin 10 cent", 0, 300, 100, 400, SheetRect::CutOut},
      {"coin 20 cent", 300, 200, 400, 300, SheetRect::CutOut},
      {"coin 50 cent", 200, 200, 300, 300, SheetRect::CutOut},
      {"coin 1 euro", 100, 200, 200, 300, SheetRect::CutOut},
      {"coin 2 euro", 0, 200, 100, 300, SheetRect::CutOut},
      {"note 5", 0, 450, 200, 550, SheetRect::Any},
      {"note 10", 0, 550, 220, 650, SheetRect::Any},
      {"note 20", 0, 650, 240, 750, SheetRect::Any},
      {"note 50", 0, 750, 240, 850, SheetRect::Any},
      {"note 100", 260, 450, 520, 570, SheetRect::Any},
      {"note 200", 260, 570, 530, 690, SheetRect::Any},
      {"note 500", 260, 690, 540, 810, SheetRect::Any},
      {"frame strip horizontal", 505, 0, 600, 5, SheetRect::Opaque},
      {"frame strip vertical", 500, 5, 505, 100, SheetRect::Opaque},
  };
}
