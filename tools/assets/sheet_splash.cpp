// splash.PNG: the loading screen. The title picture (1024 x 768), the
// progress bar's frame and fill, and the two caption strips (German,
// English) with the game's name.
#include <cmath>

#include "cairo_kit.h"
#include "sheets.h"

using namespace kit;

namespace {

void Triangle(cairo_t* cr, double cx, double cy, double r, double angle) {
  cairo_new_path(cr);
  for (int i = 0; i < 3; ++i) {
    const double a = angle - M_PI / 2 + i * 2 * M_PI / 3;
    if (i == 0) cairo_move_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
    else cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
  }
  cairo_close_path(cr);
}

// A little flat token of one of the games, each on a soft round badge.
void Badge(cairo_t* cr, double cx, double cy) {
  FillCircle(cr, cx + 2, cy + 4, 46, Hex(0x8A6A45), 0.18);
  FillCircle(cr, cx, cy, 46, Hex(0xFFF8EA));
  cairo_new_path(cr);
  CirclePath(cr, cx, cy, 46);
  Stroke(cr, 2.5, Hex(0xD5BA8C));
}

void CardToken(cairo_t* cr, double cx, double cy) {
  Badge(cr, cx, cy);
  FillCircle(cr, cx, cy, 33, Hex(0x3C7FC0));
  cairo_new_path(cr);
  CirclePath(cr, cx, cy, 27);
  Stroke(cr, 2, pal::kWhite, 0.8);
  // A heart on the card.
  cairo_new_path(cr);
  cairo_move_to(cr, cx, cy + 15);
  cairo_curve_to(cr, cx - 24, cy - 2, cx - 12, cy - 22, cx, cy - 9);
  cairo_curve_to(cr, cx + 12, cy - 22, cx + 24, cy - 2, cx, cy + 15);
  SetColour(cr, Hex(0xE05454));
  cairo_fill_preserve(cr);
  Stroke(cr, 1.8, pal::kWhite);
}

void ClockToken(cairo_t* cr, double cx, double cy) {
  Badge(cr, cx, cy);
  FillCircle(cr, cx, cy, 33, pal::kOchreLight);
  cairo_new_path(cr);
  CirclePath(cr, cx, cy, 33);
  Stroke(cr, 3, Hex(0x9A7232));
  for (int i = 0; i < 12; ++i) {
    const double a = i * M_PI / 6;
    const double r0 = i % 3 ? 26 : 22;
    cairo_new_path(cr);
    cairo_move_to(cr, cx + r0 * std::sin(a), cy - r0 * std::cos(a));
    cairo_line_to(cr, cx + 29 * std::sin(a), cy - 29 * std::cos(a));
    Stroke(cr, i % 3 ? 1.5 : 3, pal::kInk);
  }
  cairo_new_path(cr);
  cairo_move_to(cr, cx, cy);
  cairo_line_to(cr, cx + 12, cy - 9);
  Stroke(cr, 3.5, pal::kInk);
  cairo_new_path(cr);
  cairo_move_to(cr, cx, cy);
  cairo_line_to(cr, cx, cy - 24);
  Stroke(cr, 2.5, pal::kInk);
  FillCircle(cr, cx, cy, 3.5, pal::kTerracotta);
}

void LampToken(cairo_t* cr, double cx, double cy) {
  Badge(cr, cx, cy);
  const bool lit[9] = {true, false, false, false, true, true, false, false, true};
  for (int i = 0; i < 9; ++i) {
    const double x = cx - 27 + (i % 3) * 19, y = cy - 27 + (i / 3) * 19;
    FillRoundRect(cr, x, y, 16, 16, 5, lit[i] ? Hex(0xF3B23C) : Hex(0x7E6A4C));
    if (lit[i]) FillRoundRect(cr, x + 3, y + 2.5, 8, 4, 2, pal::kWhite, 0.6);
  }
}

void ShapesToken(cairo_t* cr, double cx, double cy) {
  Badge(cr, cx, cy);
  FillRoundRect(cr, cx - 28, cy - 2, 26, 26, 4, pal::kTeal);
  FillCircle(cr, cx + 14, cy + 10, 14, pal::kTerracotta);
  Triangle(cr, cx, cy - 14, 17, 0);
  SetColour(cr, pal::kOchre);
  cairo_fill(cr);
}

void Background(cairo_t* cr) {
  VerticalGradient(cr, 0, 768, Hex(0xFCF3E2), Hex(0xEFDCBB));
  cairo_rectangle(cr, 0, 0, 1024, 768);
  cairo_fill(cr);
  // Large soft circles behind the emblem.
  FillCircle(cr, 840, 300, 250, pal::kTealLight, 0.10);
  FillCircle(cr, 900, 180, 140, pal::kOchreLight, 0.22);
  FillCircle(cr, 760, 470, 120, pal::kTerracottaLight, 0.12);
  // A dashed orbit around the emblem with the shapes of the shape game on it.
  cairo_save(cr);
  cairo_translate(cr, 850, 300);
  cairo_scale(cr, 1.0, 0.66);
  cairo_new_path(cr);
  cairo_arc(cr, 0, 0, 170, 0, 2 * M_PI);
  cairo_restore(cr);
  const double dash[] = {10, 9};
  cairo_set_dash(cr, dash, 2, 0);
  Stroke(cr, 2.5, Hex(0x9A7B50), 0.35);
  cairo_set_dash(cr, nullptr, 0, 0);
  Lightbulb(cr, 840, 290, 330);
  FillRoundRect(cr, 660, 318, 40, 40, 7, pal::kTeal);
  FillCircle(cr, 1004, 340, 19, pal::kTerracotta);
  Triangle(cr, 728, 384, 24, 0.3);
  SetColour(cr, pal::kOchre);
  cairo_fill(cr);
  FillRoundRect(cr, 958, 217, 44, 22, 6, pal::kOlive);
  // Four game tokens in a row between the caption and the bar.
  CardToken(cr, 130, 420);
  ClockToken(cr, 260, 470);
  LampToken(cr, 390, 420);
  ShapesToken(cr, 520, 470);
  // A calm wave along the bottom edge, under the bar.
  cairo_new_path(cr);
  cairo_move_to(cr, 0, 748);
  for (int x = 0; x <= 1024; x += 8) cairo_line_to(cr, x, 748 + 6 * std::sin(x / 70.0));
  cairo_line_to(cr, 1024, 768);
  cairo_line_to(cr, 0, 768);
  cairo_close_path(cr);
  SetColour(cr, pal::kTeal, 0.35);
  cairo_fill(cr);
  // A few small shapes along the top edge.
  Rng rng(0x5A1u);
  ScatterShapes(cr, rng, 9, 40, 20, 560, 110, 12, 30, 0.18, 0.32);
}

// The bar track (818 x 66); with `filled` its inside is the teal fill.
void Bar(cairo_t* cr, double x, double y, bool filled) {
  FillRoundRect(cr, x + 1, y + 3, 816, 62, 31, Hex(0x8A6A45), 0.35);
  FillRoundRect(cr, x + 1, y + 1, 816, 61, 30.5, Hex(0x6E5238));
  GradientRoundRect(cr, x + 5, y + 5, 808, 53, 26.5, Hex(0xE4D2B0), Hex(0xF7EDDA));
  if (filled) {
    GradientRoundRect(cr, x + 10, y + 10, 798, 43, 21.5, Hex(0x67C1B8), Hex(0x237572));
    cairo_new_path(cr);
    RoundRectPath(cr, x + 18, y + 13, 782, 14, 7);
    SetColour(cr, pal::kWhite, 0.35);
    cairo_fill(cr);
  }
}

void Caption(cairo_t* cr, double y, const char* line) {
  SelectFont(cr, Family::Comic, 76);
  TextAt(cr, "Denkarium", 64 + 3, y + 66 + 4, Hex(0x8A5A3A), 0);
  TextAt(cr, "Denkarium", 64, y + 66, pal::kTeal, 2.4, pal::kInk);
  SelectFont(cr, Family::Sans, 25);
  TextAt(cr, line, 70, y + 102, Hex(0x5A4636), 0);
}

}  // namespace

cairo_surface_t* DrawSheetSplash() {
  cairo_surface_t* s = NewSheet(1024, 1124);
  cairo_t* cr = cairo_create(s);
  Background(cr);
  Bar(cr, 122, 768, false);
  Bar(cr, 122, 834, true);
  Caption(cr, 900, "Wird geladen \xE2\x80\x93 bitte warten \xE2\x80\xA6");
  Caption(cr, 1012, "Loading \xE2\x80\x93 please wait \xE2\x80\xA6");
  cairo_destroy(cr);
  AvoidColourKey(s);
  // Nothing shows beside the bar fill, should a wider strip ever be drawn.
  ClearRect(s, 0, 834, 122, 900);
  ClearRect(s, 940, 834, 1024, 900);
  return s;
}

std::vector<SheetRect> CatalogueSplash() {
  return {
      {"title picture", 0, 0, 1024, 768, SheetRect::Opaque},
      {"caption German", 0, 900, 700, 1012, SheetRect::CutOut},
      {"caption English", 0, 1012, 700, 1124, SheetRect::CutOut},
      {"bar frame", 122, 768, 940, 834, SheetRect::CutOut},
      {"bar fill", 122, 834, 940, 900, SheetRect::CutOut},
  };
}
