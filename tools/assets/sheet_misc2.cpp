// misc2.PNG: the round memory cards (face and three backs), the dimmer behind
// the result page and the picture of the ray rules on the atoms-box
// instructions page.
#include <cmath>

#include "misc_art_kit.h"
#include "sheets.h"

using namespace miscart;

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 1024;

// Every card shares this round outline; the face also casts the shadow of
// every card, so nothing may lie outside it.
constexpr double kCardRadius = 49.0;

void CardDisc(cairo_t* cr, double cx, double cy, Rgb rim, Rgb light, Rgb dark) {
  CirclePath(cr, cx, cy, kCardRadius);
  SetColour(cr, rim);
  cairo_fill(cr);
  CirclePath(cr, cx, cy, kCardRadius - 2.2);
  RadialLight(cr, cx, cy, kCardRadius - 2.2, light, dark, cx - 16, cy - 20);
  cairo_fill(cr);
}

void DrawCardFace(cairo_t* cr) {
  BeginCell(cr, 0, 500, 100, 600);
  const double cx = 50, cy = 550;
  CardDisc(cr, cx, cy, kit::pal::kSandDark, Hex(0xFFFDF8), Hex(0xF3E8D4));
  // A fine inner ring frames the symbol area (the central 65 %).
  CirclePath(cr, cx, cy, 42);
  SetColour(cr, kit::pal::kSand);
  cairo_set_line_width(cr, 1.4);
  cairo_stroke(cr);
  cairo_restore(cr);
}

void WhiteRing(cairo_t* cr, double cx, double cy, double r, double width, double alpha = 1.0) {
  CirclePath(cr, cx, cy, r);
  cairo_set_source_rgba(cr, 1, 1, 1, alpha);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

// Back 0: blue with a white star inside rings of dots.
void DrawBack0(cairo_t* cr) {
  BeginCell(cr, 100, 500, 200, 600);
  const double cx = 150, cy = 550;
  const Rgb base = Hex(0x3F78B0);
  CardDisc(cr, cx, cy, Darker(base, 0.35), Lighter(base, 0.25), Darker(base, 0.1));
  WhiteRing(cr, cx, cy, 42, 2.2);
  for (int i = 0; i < 16; ++i) {
    const double a = i * M_PI / 8;
    CirclePath(cr, cx + std::cos(a) * 35, cy + std::sin(a) * 35, 2.2);
  }
  cairo_set_source_rgba(cr, 1, 1, 1, 0.9);
  cairo_fill(cr);
  WhiteRing(cr, cx, cy, 27, 1.4, 0.7);
  cairo_new_path(cr);
  for (int i = 0; i < 16; ++i) {
    const double a = -M_PI / 2 + i * M_PI / 8;
    const double r = i % 2 ? 9 : 22;
    if (i == 0) cairo_move_to(cr, cx + std::cos(a) * r, cy + std::sin(a) * r);
    else cairo_line_to(cr, cx + std::cos(a) * r, cy + std::sin(a) * r);
  }
  cairo_close_path(cr);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.95);
  cairo_fill(cr);
  CirclePath(cr, cx, cy, 4);
  SetColour(cr, base);
  cairo_fill(cr);
  cairo_restore(cr);
}

// Back 1: terracotta red with a white diamond lattice.
void DrawBack1(cairo_t* cr) {
  BeginCell(cr, 200, 500, 300, 600);
  const double cx = 250, cy = 550;
  const Rgb base = Hex(0xC4533D);
  CardDisc(cr, cx, cy, Darker(base, 0.35), Lighter(base, 0.25), Darker(base, 0.1));
  cairo_save(cr);
  CirclePath(cr, cx, cy, 39);
  cairo_clip(cr);
  cairo_new_path(cr);
  for (double d = -84; d <= 84; d += 12) {
    cairo_move_to(cr, cx + d - 50, cy - 50);
    cairo_line_to(cr, cx + d + 50, cy + 50);
    cairo_move_to(cr, cx + d + 50, cy - 50);
    cairo_line_to(cr, cx + d - 50, cy + 50);
  }
  cairo_set_source_rgba(cr, 1, 1, 1, 0.55);
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
  cairo_restore(cr);
  WhiteRing(cr, cx, cy, 41, 2.6);
  // A diamond medallion in the middle.
  cairo_new_path(cr);
  cairo_move_to(cr, cx, cy - 16);
  cairo_line_to(cr, cx + 16, cy);
  cairo_line_to(cr, cx, cy + 16);
  cairo_line_to(cr, cx - 16, cy);
  cairo_close_path(cr);
  SetColour(cr, base);
  cairo_fill_preserve(cr);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_set_line_width(cr, 2.4);
  cairo_stroke(cr);
  CirclePath(cr, cx, cy, 4.5);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_fill(cr);
  cairo_restore(cr);
}

// Back 2: green with a white flower rosette.
void DrawBack2(cairo_t* cr) {
  BeginCell(cr, 300, 500, 400, 600);
  const double cx = 350, cy = 550;
  const Rgb base = Hex(0x4E9460);
  CardDisc(cr, cx, cy, Darker(base, 0.35), Lighter(base, 0.25), Darker(base, 0.1));
  WhiteRing(cr, cx, cy, 42, 1.6);
  WhiteRing(cr, cx, cy, 38.5, 1.0, 0.7);
  for (int i = 0; i < 8; ++i) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, i * M_PI / 4);
    cairo_new_path(cr);
    cairo_move_to(cr, 0, -4);
    cairo_curve_to(cr, 9, -12, 8, -28, 0, -33);
    cairo_curve_to(cr, -8, -28, -9, -12, 0, -4);
    cairo_close_path(cr);
    cairo_restore(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, i % 2 ? 0.7 : 0.95);
    cairo_fill(cr);
  }
  CirclePath(cr, cx, cy, 7);
  SetColour(cr, Hex(0xF2CD7E));
  cairo_fill_preserve(cr);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  cairo_restore(cr);
}

void DrawDimmer(cairo_surface_t* s) {
  SolidRect(s, 500, 0, 550, 50, Hex(0xFFFFFF));
  GuardRing(s, 500, 0, 550, 50, kGuardLeft | kGuardBottom);
}

// ------------------------------------------------------ ray rules picture

// One panel shows a 4 x 4 corner of the box with the ring of entry points
// around it; lattice position (i, j) with i, j = -1 ... 4.
struct Panel {
  double x0, y0;  // centre of lattice cell (-1, -1)
  static constexpr double kCell = 22;
  double X(double i) const { return x0 + (i + 1) * kCell; }
  double Y(double j) const { return y0 + (j + 1) * kCell; }
};

void PanelFrame(cairo_t* cr, double x, double y, double w, double h) {
  RoundRectPath(cr, x + 0.5, y + 0.5, w - 1, h - 1, 10);
  SetColour(cr, kit::pal::kCream);
  cairo_fill_preserve(cr);
  SetColour(cr, kit::pal::kSandDark);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
}

void Tile(cairo_t* cr, double cx, double cy, Rgb fill, double alpha = 1.0) {
  const double h = Panel::kCell / 2 - 0.5;
  cairo_rectangle(cr, cx - h, cy - h, 2 * h, 2 * h);
  SetColour(cr, fill, alpha);
  cairo_fill_preserve(cr);
  SetColour(cr, Hex(0x9C9A96), alpha);
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
}

void PanelGrid(cairo_t* cr, const Panel& p) {
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) Tile(cr, p.X(i), p.Y(j), Hex(0xF8F7F5));
  // Faint entry points all round.
  for (int k = 0; k < 4; ++k) {
    Tile(cr, p.X(-1), p.Y(k), Hex(0xFFFFFF), 0.35);
    Tile(cr, p.X(4), p.Y(k), Hex(0xFFFFFF), 0.35);
    Tile(cr, p.X(k), p.Y(-1), Hex(0xFFFFFF), 0.35);
    Tile(cr, p.X(k), p.Y(4), Hex(0xFFFFFF), 0.35);
  }
}

void Atom(cairo_t* cr, double cx, double cy) {
  CirclePath(cr, cx, cy, 8.5);
  RadialLight(cr, cx, cy, 8.5, Hex(0x8C7B70), Hex(0x2A201C), cx - 3, cy - 3);
  cairo_fill(cr);
}

void Marker(cairo_t* cr, double cx, double cy, Rgb colour) { Tile(cr, cx, cy, colour); }

void ArrowHead(cairo_t* cr, double x, double y, double angle, Rgb c) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_rotate(cr, angle);
  cairo_new_path(cr);
  cairo_move_to(cr, 4, 0);
  cairo_line_to(cr, -5, -5);
  cairo_line_to(cr, -5, 5);
  cairo_close_path(cr);
  cairo_restore(cr);
  SetColour(cr, c);
  cairo_fill(cr);
}

void RayLine(cairo_t* cr, Rgb c) {
  SetColour(cr, c);
  cairo_set_line_width(cr, 3.2);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
}

void DrawRayRules(cairo_t* cr) {
  BeginCell(cr, 0, 0, 300, 340);
  const double pw = 146, ph = 166;
  const Rgb ray = kit::pal::kTerracotta;
  const Rgb pair = kit::pal::kTeal;
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 2; ++c) PanelFrame(cr, 2 + c * 150, 2 + r * 170, pw, ph);
  auto panelAt = [&](int c, int r) {
    // The 6 x 6 lattice is 132 px wide, centred in the panel.
    return Panel{2 + c * 150 + (pw - 132) / 2 + 11, 2 + r * 170 + (ph - 132) / 2 + 11};
  };

  // 1. Straight into an atom: absorbed; the entry shows the hit mark.
  {
    const Panel p = panelAt(0, 0);
    PanelGrid(cr, p);
    Atom(cr, p.X(2), p.Y(1));
    cairo_move_to(cr, p.X(-1), p.Y(1));
    cairo_line_to(cr, p.X(2) - 14, p.Y(1));
    RayLine(cr, ray);
    ArrowHead(cr, p.X(2) - 12, p.Y(1), 0, ray);
    Marker(cr, p.X(-1), p.Y(1), Hex(0xFFFFFF));
    CirclePath(cr, p.X(-1), p.Y(1), 5);
    SetColour(cr, pal::kInk);
    cairo_fill(cr);
    // Burst around the struck atom.
    for (int i = 0; i < 8; ++i) {
      const double a = i * M_PI / 4 + M_PI / 8;
      cairo_move_to(cr, p.X(2) + std::cos(a) * 10.5, p.Y(1) + std::sin(a) * 10.5);
      cairo_line_to(cr, p.X(2) + std::cos(a) * 14, p.Y(1) + std::sin(a) * 14);
    }
    SetColour(cr, ray);
    cairo_set_line_width(cr, 1.8);
    cairo_stroke(cr);
  }
  // 2. An atom diagonally ahead turns the ray away by 90 degrees; entry and
  // exit carry the same colour.
  {
    const Panel p = panelAt(1, 0);
    PanelGrid(cr, p);
    Atom(cr, p.X(2), p.Y(1));
    Marker(cr, p.X(-1), p.Y(2), pair);
    Marker(cr, p.X(1), p.Y(4), pair);
    cairo_move_to(cr, p.X(-1) + 6, p.Y(2));
    cairo_line_to(cr, p.X(1), p.Y(2));
    cairo_line_to(cr, p.X(1), p.Y(4) - 9);
    RayLine(cr, ray);
    ArrowHead(cr, p.X(1), p.Y(4) - 8, M_PI / 2, ray);
  }
  // 3. An atom diagonally beside the entry reflects the ray at once.
  {
    const Panel p = panelAt(0, 1);
    PanelGrid(cr, p);
    Atom(cr, p.X(0), p.Y(0));
    Marker(cr, p.X(-1), p.Y(1), Hex(0xFFFFFF));
    const double x = p.X(-1), y = p.Y(1);
    cairo_new_path(cr);
    cairo_move_to(cr, x - 5, y + 7);
    cairo_line_to(cr, x - 5, y - 1);
    cairo_arc(cr, x, y - 1, 5, M_PI, 2 * M_PI);
    cairo_line_to(cr, x + 5, y + 3);
    SetColour(cr, pal::kInk);
    cairo_set_line_width(cr, 2.2);
    cairo_stroke(cr);
    ArrowHead(cr, x + 5, y + 5, M_PI / 2, pal::kInk);
    // The ray only touches the box edge and comes straight back.
    cairo_new_path(cr);
    cairo_move_to(cr, p.X(-1) + 12, p.Y(1) - 4);
    cairo_line_to(cr, p.X(0) - 2, p.Y(1) - 4);
    cairo_arc(cr, p.X(0) - 2, p.Y(1), 4, -M_PI / 2, M_PI / 2);
    cairo_line_to(cr, p.X(-1) + 15, p.Y(1) + 4);
    RayLine(cr, ray);
    ArrowHead(cr, p.X(-1) + 14, p.Y(1) + 4, M_PI, ray);
  }
  // 4. Atoms on both diagonals ahead turn the ray back out of its entry.
  {
    const Panel p = panelAt(1, 1);
    PanelGrid(cr, p);
    Atom(cr, p.X(2), p.Y(0));
    Atom(cr, p.X(2), p.Y(2));
    Marker(cr, p.X(-1), p.Y(1), pair);
    cairo_move_to(cr, p.X(-1) + 6, p.Y(1) - 4);
    cairo_line_to(cr, p.X(1), p.Y(1) - 4);
    cairo_arc(cr, p.X(1), p.Y(1), 4, -M_PI / 2, M_PI / 2);
    cairo_line_to(cr, p.X(-1) + 9, p.Y(1) + 4);
    RayLine(cr, ray);
    ArrowHead(cr, p.X(-1) + 9, p.Y(1) + 4, M_PI, ray);
  }
  cairo_restore(cr);
}

}  // namespace

cairo_surface_t* DrawSheetMisc2() {
  cairo_surface_t* s = NewSheet(kWidth, kHeight);
  cairo_t* cr = cairo_create(s);
  DrawCardFace(cr);
  DrawBack0(cr);
  DrawBack1(cr);
  DrawBack2(cr);
  DrawDimmer(s);
  DrawRayRules(cr);
  cairo_destroy(cr);
  AvoidColourKey(s);
  return s;
}

std::vector<SheetRect> CatalogueMisc2() {
  return {
      {"card face", 0, 500, 100, 600, SheetRect::CutOut},
      {"card back 0", 100, 500, 200, 600, SheetRect::CutOut},
      {"card back 1", 200, 500, 300, 600, SheetRect::CutOut},
      {"card back 2", 300, 500, 400, 600, SheetRect::CutOut},
      {"result dimmer", 500, 0, 550, 50, SheetRect::Opaque, true},
      {"ray rules", 0, 0, 300, 340, SheetRect::Any},
  };
}
