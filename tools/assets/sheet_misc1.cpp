// misc1.PNG: the mouse pointer, the screen dimmer, the universal cell tile,
// the colour-code peg, the atoms-box overlays, the beam balance, the answer
// tiles, the shape pieces, the three sliding-puzzle pictures and the clock.
#include <cmath>
#include <cstdio>

#include "misc_art_kit.h"
#include "misc_art_puzzles.h"
#include "sheets.h"

using namespace miscart;

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 1024;

// ---------------------------------------------------------------- pointer

// The arrow outline, relative to its tip (the hot spot).
void ArrowPath(cairo_t* cr) {
  static const double pts[][2] = {{0, 0},      {0, 25},     {5.8, 19.6}, {9.9, 28.6},
                                  {13.6, 27.0}, {9.6, 18.2}, {17.4, 18.2}};
  cairo_new_path(cr);
  cairo_move_to(cr, pts[0][0], pts[0][1]);
  for (const auto& p : pts) cairo_line_to(cr, p[0], p[1]);
  cairo_close_path(cr);
}

// Frame k of the pointer: 0 at rest, 9 fully pressed. The tip sits on image
// pixel (8, 14) of its cell in every frame; pressing shrinks the arrow a
// little towards the tip, warms its colour, lowers its shadow and grows a
// ring around the tip.
void DrawPointer(cairo_t* cr, int k) {
  const int top = (9 - k) * 50;
  const double p = k / 9.0;
  BeginCell(cr, 0, top, 50, top + 50);
  cairo_translate(cr, 8, top + 14);

  if (k > 0) {
    const double r = 2.5 + 3.5 * p;
    CirclePath(cr, 0, 0, r);
    SetColour(cr, pal::kAccent, 0.18 + 0.2 * p);
    cairo_fill_preserve(cr);
    SetColour(cr, pal::kAccent, 0.45 + 0.5 * p);
    cairo_set_line_width(cr, 2.0);
    cairo_stroke(cr);
  }

  const double s = 1.0 - 0.08 * p;
  cairo_scale(cr, s, s);
  // Soft shadow: two offset copies with low alpha.
  for (int i = 0; i < 2; ++i) {
    cairo_save(cr);
    const double d = (2.2 - 1.4 * p) * (i == 0 ? 1.0 : 0.55);
    cairo_translate(cr, d, d * 1.1);
    ArrowPath(cr);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.16);
    cairo_fill(cr);
    cairo_restore(cr);
  }
  ArrowPath(cr);
  VerticalGradient(cr, 0, 28, Mix(Hex(0xFFFFFF), pal::kAccent, 0.30 * p),
                   Mix(Hex(0xF1E6D6), pal::kAccent, 0.45 * p));
  cairo_fill_preserve(cr);
  // Outline kept inside the arrow, so the tip pixel itself is dark.
  cairo_save(cr);
  cairo_clip_preserve(cr);
  cairo_set_line_width(cr, 3.0);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
  SetColour(cr, pal::kInk);
  cairo_stroke(cr);
  cairo_restore(cr);
  cairo_new_path(cr);
  cairo_restore(cr);
}

// ------------------------------------------------------ tiles and overlays

void DrawDimmer(cairo_surface_t* s) {
  SolidRect(s, 500, 0, 550, 50, Hex(0xFFFFFF));
  // Column 499 and row 50 stay opaque for the magnified draw.
  GuardRing(s, 500, 0, 550, 50, kGuardLeft | kGuardBottom);
}

// The universal light cell: a thin grey frame with a soft bevel and a plain
// centre, neutral so that every tint of the games reads true.
void DrawCellTile(cairo_surface_t* s) {
  const int x = 550, y = 0;
  SolidRect(s, x, y, x + 50, y + 50, Hex(0x9C9A96));
  SolidRect(s, x + 1, y + 1, x + 49, y + 49, Hex(0xD4D2CE));     // shade (bottom, right)
  SolidRect(s, x + 1, y + 1, x + 48, y + 48, Hex(0xFFFFFF));     // light (top, left)
  SolidRect(s, x + 2, y + 2, x + 48, y + 48, Hex(0xF8F7F5));     // centre
}

// A neutral light-grey marble: the game tints it with the peg colour.
void DrawPeg(cairo_t* cr) {
  BeginCell(cr, 605, 5, 645, 45);
  const double cx = 625, cy = 25, r = 16.5;
  CirclePath(cr, cx, cy, r);
  SetColour(cr, Hex(0x8E8E8E));
  cairo_fill(cr);
  CirclePath(cr, cx, cy, r - 1.6);
  RadialLight(cr, cx, cy, r - 1.6, Hex(0xFFFFFF), Hex(0xB4B4B4), cx - 5, cy - 6);
  cairo_fill(cr);
  // Specular spot.
  cairo_save(cr);
  cairo_translate(cr, cx - 6, cy - 7);
  cairo_scale(cr, 1.0, 0.7);
  CirclePath(cr, 0, 0, 4.5);
  cairo_restore(cr);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.9);
  cairo_fill(cr);
  cairo_restore(cr);
}

void StrokeWithHalo(cairo_t* cr, Rgb c, double width) {
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.85);
  cairo_set_line_width(cr, width + 4);
  cairo_stroke_preserve(cr);
  SetColour(cr, c);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

// Reflected ray: a U-turn arrow.
void DrawOverlayReflected(cairo_t* cr) {
  BeginCell(cr, 650, 0, 700, 50);
  const double cx = 675;
  cairo_new_path(cr);
  cairo_move_to(cr, cx - 9, 38);
  cairo_line_to(cr, cx - 9, 21);
  cairo_arc(cr, cx, 21, 9, M_PI, 2 * M_PI);
  cairo_line_to(cr, cx + 9, 29);
  StrokeWithHalo(cr, pal::kInk, 4.0);
  // Arrow head pointing down at the end of the right arm.
  cairo_new_path(cr);
  cairo_move_to(cr, cx + 2, 28);
  cairo_line_to(cr, cx + 16, 28);
  cairo_line_to(cr, cx + 9, 39);
  cairo_close_path(cr);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.85);
  cairo_set_line_width(cr, 4);
  cairo_stroke_preserve(cr);
  SetColour(cr, pal::kInk);
  cairo_fill(cr);
  cairo_restore(cr);
}

// Absorbed ray: a dark hit dot with a small burst.
void DrawOverlayAbsorbed(cairo_t* cr) {
  BeginCell(cr, 700, 0, 750, 50);
  const double cx = 725, cy = 25;
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(cr, 3.0);
  SetColour(cr, pal::kInk);
  for (int i = 0; i < 8; ++i) {
    const double a = i * M_PI / 4 + M_PI / 8;
    cairo_move_to(cr, cx + std::cos(a) * 13.5, cy + std::sin(a) * 13.5);
    cairo_line_to(cr, cx + std::cos(a) * 19, cy + std::sin(a) * 19);
  }
  cairo_stroke(cr);
  CirclePath(cr, cx, cy, 10.5);
  RadialLight(cr, cx, cy, 10.5, Hex(0x5A4D46), Hex(0x1E1714), cx - 3, cy - 4);
  cairo_fill(cr);
  cairo_restore(cr);
}

// Mismatch: a red cross with a light halo, readable over any ray colour.
void DrawOverlayMismatch(cairo_t* cr) {
  BeginCell(cr, 750, 0, 800, 50);
  const double cx = 775, cy = 25, d = 11;
  cairo_new_path(cr);
  cairo_move_to(cr, cx - d, cy - d);
  cairo_line_to(cr, cx + d, cy + d);
  cairo_move_to(cr, cx + d, cy - d);
  cairo_line_to(cr, cx - d, cy + d);
  StrokeWithHalo(cr, Hex(0xD8322C), 5.5);
  cairo_restore(cr);
}

// ---------------------------------------------------------------- balance

void BrassHorizontal(cairo_t* cr, double x0, double x1) {
  cairo_pattern_t* g = cairo_pattern_create_linear(x0, 0, x1, 0);
  const Rgb d = pal::kBrassDark, m = pal::kBrass, l = Lighter(pal::kBrass, 0.55);
  cairo_pattern_add_color_stop_rgb(g, 0.0, d.r, d.g, d.b);
  cairo_pattern_add_color_stop_rgb(g, 0.35, l.r, l.g, l.b);
  cairo_pattern_add_color_stop_rgb(g, 0.6, m.r, m.g, m.b);
  cairo_pattern_add_color_stop_rgb(g, 1.0, d.r, d.g, d.b);
  cairo_set_source(cr, g);
  cairo_pattern_destroy(g);
}

void BrassVertical(cairo_t* cr, double y0, double y1) {
  cairo_pattern_t* g = cairo_pattern_create_linear(0, y0, 0, y1);
  const Rgb d = pal::kBrassDark, m = pal::kBrass, l = Lighter(pal::kBrass, 0.55);
  cairo_pattern_add_color_stop_rgb(g, 0.0, l.r, l.g, l.b);
  cairo_pattern_add_color_stop_rgb(g, 0.45, m.r, m.g, m.b);
  cairo_pattern_add_color_stop_rgb(g, 1.0, d.r, d.g, d.b);
  cairo_set_source(cr, g);
  cairo_pattern_destroy(g);
}

void OutlineThin(cairo_t* cr, Rgb c, double w = 1.0) {
  SetColour(cr, c);
  cairo_set_line_width(cr, w);
  cairo_stroke(cr);
}

// The stand: a wooden foot, a brass column and the bearing whose top centre,
// image (42, 0), carries the beam.
void DrawStand(cairo_t* cr) {
  BeginCell(cr, 800, 0, 884, 100);
  cairo_translate(cr, 800, 0);
  // Foot.
  cairo_new_path(cr);
  cairo_move_to(cr, 17, 86);
  cairo_line_to(cr, 67, 86);
  cairo_curve_to(cr, 72, 86, 74, 88, 76, 92);
  cairo_line_to(cr, 79, 97);
  cairo_curve_to(cr, 80, 99, 79, 99.5, 77, 99.5);
  cairo_line_to(cr, 7, 99.5);
  cairo_curve_to(cr, 5, 99.5, 4, 99, 5, 97);
  cairo_line_to(cr, 8, 92);
  cairo_curve_to(cr, 10, 88, 12, 86, 17, 86);
  cairo_close_path(cr);
  VerticalGradient(cr, 86, 100, Lighter(pal::kWood, 0.25), pal::kWoodDark);
  cairo_fill_preserve(cr);
  OutlineThin(cr, Darker(pal::kWoodDark, 0.3));
  // Plinth.
  RoundRectPath(cr, 24.5, 80.5, 35, 7, 2.5);
  BrassVertical(cr, 80, 88);
  cairo_fill_preserve(cr);
  OutlineThin(cr, pal::kBrassDark);
  // Column.
  cairo_rectangle(cr, 36, 8, 12, 73);
  BrassHorizontal(cr, 36, 48);
  cairo_fill(cr);
  // Collars.
  for (double y : {44.0, 73.0}) {
    RoundRectPath(cr, 33, y, 18, 5, 2);
    BrassHorizontal(cr, 33, 51);
    cairo_fill_preserve(cr);
    OutlineThin(cr, pal::kBrassDark, 0.8);
  }
  // Bearing at the top.
  cairo_new_path(cr);
  cairo_move_to(cr, 42, 0.5);
  cairo_curve_to(cr, 47, 0.5, 50, 4, 50, 8);
  cairo_line_to(cr, 50, 12);
  cairo_line_to(cr, 34, 12);
  cairo_line_to(cr, 34, 8);
  cairo_curve_to(cr, 34, 4, 37, 0.5, 42, 0.5);
  cairo_close_path(cr);
  BrassHorizontal(cr, 34, 50);
  cairo_fill_preserve(cr);
  OutlineThin(cr, pal::kBrassDark, 0.9);
  cairo_restore(cr);
}

// The beam: a tapered brass bar with its pivot hub at (100, 22.5) and a
// pointer needle standing up from it.
void DrawBeam(cairo_t* cr) {
  BeginCell(cr, 500, 320, 700, 360);
  cairo_translate(cr, 500, 320);
  const double cy = 22.5;
  // Needle.
  cairo_new_path(cr);
  cairo_move_to(cr, 100, 1.5);
  cairo_line_to(cr, 102.4, cy);
  cairo_line_to(cr, 97.6, cy);
  cairo_close_path(cr);
  SetColour(cr, pal::kInk);
  cairo_fill(cr);
  // Bar.
  cairo_new_path(cr);
  cairo_move_to(cr, 4, cy - 3.5);
  cairo_line_to(cr, 100, cy - 6.5);
  cairo_line_to(cr, 196, cy - 3.5);
  cairo_arc(cr, 196, cy, 3.5, -M_PI / 2, M_PI / 2);
  cairo_line_to(cr, 100, cy + 6.5);
  cairo_line_to(cr, 4, cy + 3.5);
  cairo_arc(cr, 4, cy, 3.5, M_PI / 2, 1.5 * M_PI);
  cairo_close_path(cr);
  BrassVertical(cr, cy - 6.5, cy + 6.5);
  cairo_fill_preserve(cr);
  OutlineThin(cr, pal::kBrassDark, 1.0);
  // End knobs, under the pans' saddles.
  for (double x : {4.5, 195.5}) {
    CirclePath(cr, x, cy, 4.5);
    BrassVertical(cr, cy - 4.5, cy + 4.5);
    cairo_fill_preserve(cr);
    OutlineThin(cr, pal::kBrassDark, 0.9);
  }
  // Hub.
  CirclePath(cr, 100, cy, 8.5);
  RadialLight(cr, 100, cy, 8.5, Lighter(pal::kBrass, 0.6), pal::kBrassDark, 97, cy - 3);
  cairo_fill_preserve(cr);
  OutlineThin(cr, Darker(pal::kBrassDark, 0.2), 1.0);
  CirclePath(cr, 100, cy, 2.5);
  SetColour(cr, pal::kInk);
  cairo_fill(cr);
  cairo_restore(cr);
}

// A top-loading pan: a flat tray at the image's top edge, a stem down
// through the attachment point (48, 30.5) and a wide saddle at the bottom
// that rests on the beam end.
void DrawPan(cairo_t* cr) {
  BeginCell(cr, 502, 445, 598, 498);
  cairo_translate(cr, 502, 445);
  // Stem.
  cairo_rectangle(cr, 45, 9, 6, 36);
  BrassHorizontal(cr, 45, 51);
  cairo_fill(cr);
  // Saddle.
  cairo_new_path(cr);
  cairo_move_to(cr, 33, 52.5);
  cairo_line_to(cr, 33, 47);
  cairo_curve_to(cr, 33, 43, 37, 41, 48, 41);
  cairo_curve_to(cr, 59, 41, 63, 43, 63, 47);
  cairo_line_to(cr, 63, 52.5);
  cairo_close_path(cr);
  BrassVertical(cr, 41, 53);
  cairo_fill_preserve(cr);
  OutlineThin(cr, pal::kBrassDark, 1.0);
  // Tray: its flat top is the image's top row; the rim ends are rounded.
  cairo_new_path(cr);
  cairo_move_to(cr, 4.5, 0.5);
  cairo_line_to(cr, 91.5, 0.5);
  cairo_curve_to(cr, 94, 0.5, 95.5, 1.5, 95, 3);
  cairo_curve_to(cr, 92, 7.5, 86, 11, 78, 11);
  cairo_line_to(cr, 18, 11);
  cairo_curve_to(cr, 10, 11, 4, 7.5, 1, 3);
  cairo_curve_to(cr, 0.5, 1.5, 2, 0.5, 4.5, 0.5);
  cairo_close_path(cr);
  BrassVertical(cr, 0, 11);
  cairo_fill_preserve(cr);
  OutlineThin(cr, pal::kBrassDark, 1.0);
  // Bright rim along the top surface.
  cairo_rectangle(cr, 4, 0, 88, 2);
  SetColour(cr, Lighter(pal::kBrass, 0.7));
  cairo_fill(cr);
  cairo_restore(cr);
}

// ----------------------------------------------------------- answer tiles

void DrawMarkTile(cairo_t* cr) {
  BeginCell(cr, 150, 450, 200, 500);
  const double cx = 175, cy = 475;
  ShadedDisc(cr, cx, cy, 19, pal::kGreen, 1.8);
  cairo_new_path(cr);
  cairo_move_to(cr, cx - 9.5, cy + 0.5);
  cairo_line_to(cr, cx - 3, cy + 7.5);
  cairo_line_to(cr, cx + 10, cy - 7.5);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_width(cr, 5.0);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_stroke(cr);
  cairo_restore(cr);
}

// The combined brick of the number pyramid: a warm sand-coloured block.
void DrawBrick(cairo_t* cr) {
  BeginCell(cr, 50, 450, 100, 500);
  RoundRectPath(cr, 50.5, 450.5, 49, 49, 5);
  SetColour(cr, Hex(0xB77E55));
  cairo_fill(cr);
  RoundRectPath(cr, 51.5, 451.5, 47, 47, 4);
  VerticalGradient(cr, 451, 499, Hex(0xFBDDBE), Hex(0xE7B184));
  cairo_fill(cr);
  RoundRectPath(cr, 54, 454, 42, 42, 3);
  VerticalGradient(cr, 454, 496, Hex(0xF9D6B3), Hex(0xF1C49B));
  cairo_fill(cr);
  cairo_restore(cr);
}

// The number box: plain light inside, one-pixel side edges (the box is
// stretched up to 4.5 times in width), two-pixel top and bottom edges.
void DrawNumberBox(cairo_surface_t* s) {
  const int x = 100, y = 450;
  SolidRect(s, x, y, x + 50, y + 50, Hex(0x8E877E));
  SolidRect(s, x + 1, y + 2, x + 49, y + 48, Hex(0xFFFDF7));
  SolidRect(s, x + 1, y + 2, x + 49, y + 3, Hex(0xE9E4DA));  // soft inner shadow
  SolidRect(s, x + 1, y + 3, x + 49, y + 4, Hex(0xF6F2EA));
}

// ----------------------------------------------------------------- shapes

// Pastel fills with a high red channel: tinted dark grey they become an
// outline-like silhouette, tinted red they read clearly red.
void FillShape(cairo_t* cr, Rgb base, double top, double bottom) {
  VerticalGradient(cr, top, bottom, Lighter(base, 0.25), base);
  cairo_fill_preserve(cr);
  cairo_save(cr);
  cairo_clip_preserve(cr);
  SetColour(cr, Darker(base, 0.22));
  cairo_set_line_width(cr, 5.0);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
  cairo_stroke(cr);
  cairo_restore(cr);
  cairo_new_path(cr);
}

void DrawShapes(cairo_t* cr, cairo_surface_t* s) {
  const int oy = 150;
  // Type 0: a square filling its cell.
  {
    const int ox = 100;
    BeginCell(cr, ox, oy, ox + 100, oy + 100);
    cairo_rectangle(cr, ox, oy, 100, 100);
    FillShape(cr, Hex(0xFFC9A3), oy, oy + 100);
    cairo_restore(cr);
    GuardRing(s, ox, oy, ox + 100, oy + 100);
  }
  // Type 1: a circle of diameter 100.
  {
    const int ox = 300;
    BeginCell(cr, ox, oy, ox + 100, oy + 100);
    CirclePath(cr, ox + 50, oy + 50, 50);
    FillShape(cr, Hex(0xF7B6C8), oy, oy + 100);
    cairo_restore(cr);
  }
  // Type 2: an equilateral triangle, apex up, centroid on (50, 50).
  {
    const int ox = 500;
    const double half = 50 * std::sqrt(3.0) / 2;  // 43.3: half the side
    BeginCell(cr, ox, oy, ox + 100, oy + 100);
    cairo_new_path(cr);
    cairo_move_to(cr, ox + 50, oy + 0);
    cairo_line_to(cr, ox + 50 + half, oy + 75);
    cairo_line_to(cr, ox + 50 - half, oy + 75);
    cairo_close_path(cr);
    FillShape(cr, Hex(0xFFE08C), oy, oy + 75);
    cairo_restore(cr);
  }
  // Type 3: a 2 : 1 rectangle, rows 25 ... 74.
  {
    const int ox = 700;
    BeginCell(cr, ox, oy, ox + 100, oy + 100);
    cairo_rectangle(cr, ox, oy + 25, 100, 50);
    FillShape(cr, Hex(0xE4C6F0), oy + 25, oy + 75);
    cairo_restore(cr);
    GuardRing(s, ox, oy + 25, ox + 100, oy + 75);
  }
  // Type 4: a ring, alike under every rotation.
  {
    const int ox = 900;
    BeginCell(cr, ox, oy, ox + 100, oy + 100);
    CirclePath(cr, ox + 50, oy + 50, 50);
    cairo_new_sub_path(cr);
    cairo_arc_negative(cr, ox + 50, oy + 50, 24, 2 * M_PI, 0);
    cairo_close_path(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    FillShape(cr, Hex(0xCDEFC4), oy, oy + 100);
    cairo_restore(cr);
  }
}

// ------------------------------------------------------------------ clock

void DrawDial(cairo_t* cr) {
  BeginCell(cr, 600, 500, 800, 700);
  const double cx = 700, cy = 600;
  CirclePath(cr, cx, cy, 99.5);
  SetColour(cr, pal::kBrassDark);
  cairo_fill(cr);
  CirclePath(cr, cx, cy, 98);
  RadialLight(cr, cx, cy, 98, Lighter(pal::kBrass, 0.55), pal::kBrass, cx - 40, cy - 50);
  cairo_fill(cr);
  CirclePath(cr, cx, cy, 91);
  SetColour(cr, pal::kBrassDark);
  cairo_fill(cr);
  CirclePath(cr, cx, cy, 90);
  RadialLight(cr, cx, cy, 90, Hex(0xFFFDF6), Hex(0xF2E6D0), cx, cy - 10);
  cairo_fill(cr);
  // Minute and hour ticks.
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  for (int i = 0; i < 60; ++i) {
    const double a = i * M_PI / 30;
    const bool hour = i % 5 == 0;
    const double r0 = hour ? 82 : 85.5, r1 = 88.5;
    cairo_move_to(cr, cx + std::sin(a) * r0, cy - std::cos(a) * r0);
    cairo_line_to(cr, cx + std::sin(a) * r1, cy - std::cos(a) * r1);
    cairo_set_line_width(cr, hour ? 3.2 : 1.3);
    SetColour(cr, pal::kInk, hour ? 1.0 : 0.65);
    cairo_stroke(cr);
  }
  // Numerals; the band below the centre stays plain for the "am"/"pm" text.
  SelectFont(cr, Face::Sans, 17);
  SetColour(cr, pal::kInk);
  for (int h = 1; h <= 12; ++h) {
    const double a = h * M_PI / 6;
    char t[12];
    std::snprintf(t, sizeof t, "%d", h);
    TextCentred(cr, t, cx + std::sin(a) * 73, cy - std::cos(a) * 73);
  }
  cairo_restore(cr);
}

void HandPath(cairo_t* cr, double cx, double cy, double length, double tail, double base,
              double tipWidth) {
  cairo_new_path(cr);
  cairo_move_to(cr, cx, cy - length);
  cairo_line_to(cr, cx + tipWidth, cy - length + 12);
  cairo_line_to(cr, cx + base, cy);
  cairo_line_to(cr, cx + base * 0.7, cy + tail);
  cairo_line_to(cr, cx - base * 0.7, cy + tail);
  cairo_line_to(cr, cx - base, cy);
  cairo_line_to(cr, cx - tipWidth, cy - length + 12);
  cairo_close_path(cr);
}

// Both hands point straight up from the cell centre (100, 100).
void DrawHands(cairo_t* cr) {
  {
    BeginCell(cr, 800, 300, 1000, 500);
    const double cx = 900, cy = 400;
    HandPath(cr, cx, cy, 53, 12, 5.0, 4.0);
    SetColour(cr, Hex(0x2E2521));
    cairo_fill(cr);
    CirclePath(cr, cx, cy, 7);
    cairo_fill(cr);
    cairo_restore(cr);
  }
  {
    BeginCell(cr, 800, 500, 1000, 700);
    const double cx = 900, cy = 600;
    HandPath(cr, cx, cy, 83, 16, 3.6, 2.6);
    SetColour(cr, Hex(0x2E2521));
    cairo_fill(cr);
    CirclePath(cr, cx, cy, 6);
    SetColour(cr, Hex(0x2E2521));
    cairo_fill(cr);
    CirclePath(cr, cx, cy, 3.8);
    RadialLight(cr, cx, cy, 3.8, Lighter(pal::kBrass, 0.6), pal::kBrassDark, cx - 1, cy - 1.5);
    cairo_fill(cr);
    cairo_restore(cr);
  }
}

// A digital clock panel: dark warm case, light screen for black digits.
void DrawDigital(cairo_t* cr) {
  BeginCell(cr, 600, 400, 800, 500);
  RoundRectPath(cr, 600.5, 400.5, 199, 99, 14);
  VerticalGradient(cr, 400, 500, Hex(0x6A5D55), Hex(0x3E3531));
  cairo_fill_preserve(cr);
  OutlineThin(cr, Hex(0x2B2421));
  RoundRectPath(cr, 603, 403, 194, 94, 12);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.12);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  RoundRectPath(cr, 613, 413, 174, 74, 7);
  SetColour(cr, Hex(0x2B2421));
  cairo_fill(cr);
  RoundRectPath(cr, 614.5, 414.5, 171, 71, 6);
  VerticalGradient(cr, 414, 486, Hex(0xDCE6C4), Hex(0xEEF3DF));
  cairo_fill(cr);
  cairo_restore(cr);
}

}  // namespace

cairo_surface_t* DrawSheetMisc1() {
  cairo_surface_t* s = NewSheet(kWidth, kHeight);
  cairo_t* cr = cairo_create(s);
  for (int k = 0; k <= 9; ++k) DrawPointer(cr, k);
  DrawDimmer(s);
  DrawCellTile(s);
  DrawPeg(cr);
  DrawOverlayReflected(cr);
  DrawOverlayAbsorbed(cr);
  DrawOverlayMismatch(cr);
  DrawStand(cr);
  DrawBeam(cr);
  DrawPan(cr);
  DrawMarkTile(cr);
  DrawBrick(cr);
  DrawNumberBox(s);
  DrawShapes(cr, s);
  DrawPuzzleLandscape(cr, 0, 500);
  DrawPuzzleCity(cr, 200, 500);
  DrawPuzzleAbstract(cr, s, 400, 500);
  // The pictures are drawn magnified: keep their free borders alike.
  GuardRing(s, 0, 500, 200, 700, kGuardBottom);
  GuardRing(s, 200, 500, 400, 700, kGuardTop | kGuardBottom);
  GuardRing(s, 400, 500, 600, 700, kGuardTop | kGuardBottom);
  DrawDial(cr);
  DrawHands(cr);
  DrawDigital(cr);
  cairo_destroy(cr);
  AvoidColourKey(s);
  return s;
}

std::vector<SheetRect> CatalogueMisc1() {
  std::vector<SheetRect> r;
  static const char* const kPointer[10] = {
      "pointer k0 (rest)", "pointer k1", "pointer k2", "pointer k3", "pointer k4",
      "pointer k5",        "pointer k6", "pointer k7", "pointer k8", "pointer k9 (pressed)"};
  for (int k = 0; k <= 9; ++k)
    r.push_back({kPointer[k], 0, (9 - k) * 50, 50, (9 - k) * 50 + 50, SheetRect::CutOut});
  r.push_back({"dimmer", 500, 0, 550, 50, SheetRect::Opaque, true});
  r.push_back({"cell tile", 550, 0, 600, 50, SheetRect::Opaque});
  r.push_back({"peg", 605, 5, 645, 45, SheetRect::CutOut});
  r.push_back({"ray reflected", 650, 0, 700, 50, SheetRect::CutOut});
  r.push_back({"ray absorbed", 700, 0, 750, 50, SheetRect::CutOut});
  r.push_back({"mismatch", 750, 0, 800, 50, SheetRect::CutOut});
  r.push_back({"balance stand", 800, 0, 884, 100, SheetRect::CutOut});
  r.push_back({"balance beam", 500, 320, 700, 360, SheetRect::CutOut});
  r.push_back({"balance pan", 502, 445, 598, 498, SheetRect::CutOut});
  r.push_back({"right mark", 150, 450, 200, 500, SheetRect::CutOut});
  r.push_back({"brick", 50, 450, 100, 500, SheetRect::Any});
  r.push_back({"number box", 100, 450, 150, 500, SheetRect::Opaque});
  r.push_back({"shape 0 square", 100, 150, 200, 250, SheetRect::Opaque});
  r.push_back({"shape 1 circle", 300, 150, 400, 250, SheetRect::CutOut});
  r.push_back({"shape 2 triangle", 500, 150, 600, 250, SheetRect::CutOut});
  r.push_back({"shape 3 rectangle", 700, 150, 800, 250, SheetRect::CutOut});
  r.push_back({"shape 4 ring", 900, 150, 1000, 250, SheetRect::CutOut});
  r.push_back({"puzzle 0", 0, 500, 200, 700, SheetRect::Opaque});
  r.push_back({"puzzle 1", 200, 500, 400, 700, SheetRect::Opaque});
  r.push_back({"puzzle 2", 400, 500, 600, 700, SheetRect::Opaque});
  r.push_back({"clock dial", 600, 500, 800, 700, SheetRect::CutOut});
  r.push_back({"hour hand", 800, 300, 1000, 500, SheetRect::CutOut});
  r.push_back({"minute hand", 800, 500, 1000, 700, SheetRect::CutOut});
  r.push_back({"digital clock", 600, 400, 800, 500, SheetRect::Any});
  return r;
}
