// Memory_Muster.PNG: the sixteen card symbols of the memory game (65 x 65
// each, transparent around), bold shapes with a dark outline in clearly
// different colours. MemoryCards1.png / MemoryCards2.png: two small spare
// card pictures that the game loads but does not show.
#include <cmath>

#include "cairo_kit.h"
#include "sheets.h"

using namespace kit;

namespace {

constexpr double kOutline = 2.6;

// Fills the current path with c, then outlines it in ink.
void FillOutline(cairo_t* cr, Colour c) {
  SetColour(cr, c);
  cairo_fill_preserve(cr);
  Stroke(cr, kOutline, pal::kInk);
}

// A thick coloured line with an ink outline (for the snowflake, anchor, note).
void InkedLine(cairo_t* cr, cairo_path_t* path, double width, Colour c) {
  cairo_new_path(cr);
  cairo_append_path(cr, path);
  Stroke(cr, width + 2 * kOutline, pal::kInk);
  cairo_new_path(cr);
  cairo_append_path(cr, path);
  Stroke(cr, width, c);
}

void Shine(cairo_t* cr, double x, double y, double rx, double ry) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, rx, ry);
  cairo_new_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
  SetColour(cr, pal::kWhite, 0.55);
  cairo_fill(cr);
}

void Star(cairo_t* cr, double cx, double cy, double outer, double inner, int points) {
  cairo_new_path(cr);
  for (int i = 0; i < 2 * points; ++i) {
    const double a = -M_PI / 2 + i * M_PI / points;
    const double r = i % 2 ? inner : outer;
    if (i == 0) cairo_move_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
    else cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
  }
  cairo_close_path(cr);
}

// Each symbol is drawn in its own 65 x 65 cell with the origin at the cell's
// top-left corner.
void Heart(cairo_t* cr) {
  cairo_new_path(cr);
  cairo_move_to(cr, 32.5, 56);
  cairo_curve_to(cr, 6, 38, 2, 20, 12, 12);
  cairo_curve_to(cr, 20, 5, 30, 9, 32.5, 18);
  cairo_curve_to(cr, 35, 9, 45, 5, 53, 12);
  cairo_curve_to(cr, 63, 20, 59, 38, 32.5, 56);
  cairo_close_path(cr);
  FillOutline(cr, Hex(0xE03A44));
  Shine(cr, 18, 20, 5, 3.5);
}

void YellowStar(cairo_t* cr) {
  Star(cr, 32.5, 35, 29, 12.5, 5);
  FillOutline(cr, Hex(0xF7C926));
  Shine(cr, 26, 24, 4, 2.5);
}

void Leaf(cairo_t* cr) {
  cairo_new_path(cr);
  cairo_move_to(cr, 10, 56);
  cairo_curve_to(cr, 6, 28, 24, 8, 58, 7);
  cairo_curve_to(cr, 58, 40, 38, 58, 10, 56);
  cairo_close_path(cr);
  FillOutline(cr, Hex(0x4FAE4A));
  cairo_new_path(cr);
  cairo_move_to(cr, 6, 60);
  cairo_curve_to(cr, 22, 44, 36, 28, 50, 15);
  Stroke(cr, 2.4, Hex(0x2B6B2A));
  for (int i = 0; i < 3; ++i) {
    const double t = 0.3 + i * 0.2;
    const double x = 6 + 44 * t, y = 60 - 45 * t;
    cairo_new_path(cr);
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x + 9, y + 5);
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x - 4, y - 9);
    Stroke(cr, 1.6, Hex(0x2B6B2A));
  }
}

void Drop(cairo_t* cr) {
  cairo_new_path(cr);
  cairo_move_to(cr, 32.5, 5);
  cairo_curve_to(cr, 40, 20, 52, 30, 52, 42);
  cairo_curve_to(cr, 52, 54, 43, 60, 32.5, 60);
  cairo_curve_to(cr, 22, 60, 13, 54, 13, 42);
  cairo_curve_to(cr, 13, 30, 25, 20, 32.5, 5);
  cairo_close_path(cr);
  FillOutline(cr, Hex(0x2F86DA));
  Shine(cr, 24, 40, 4, 7);
}

void Sun(cairo_t* cr) {
  for (int i = 0; i < 8; ++i) {
    const double a = i * M_PI / 4;
    cairo_new_path(cr);
    cairo_move_to(cr, 32.5 + 19 * std::cos(a - 0.28), 32.5 + 19 * std::sin(a - 0.28));
    cairo_line_to(cr, 32.5 + 30 * std::cos(a), 32.5 + 30 * std::sin(a));
    cairo_line_to(cr, 32.5 + 19 * std::cos(a + 0.28), 32.5 + 19 * std::sin(a + 0.28));
    cairo_close_path(cr);
    FillOutline(cr, Hex(0xF7A12E));
  }
  cairo_new_path(cr);
  CirclePath(cr, 32.5, 32.5, 17);
  FillOutline(cr, Hex(0xF58220));
  Shine(cr, 27, 26, 4.5, 3);
}

void Moon(cairo_t* cr) {
  // The crescent is the big disc minus a smaller one shifted up and right;
  // both arcs run between the two points where the circles cross.
  const double ax = 32.5, ay = 32.5, ar = 26, bx = 44, by = 25, br = 20;
  const double dx = bx - ax, dy = by - ay, d = std::hypot(dx, dy);
  const double along = (d * d + ar * ar - br * br) / (2 * d);
  const double half = std::sqrt(ar * ar - along * along);
  const double mx = ax + dx * along / d, my = ay + dy * along / d;
  const double p1x = mx + dy * half / d, p1y = my - dx * half / d;
  const double p2x = mx - dy * half / d, p2y = my + dx * half / d;
  cairo_new_path(cr);
  cairo_arc(cr, ax, ay, ar, std::atan2(p2y - ay, p2x - ax), std::atan2(p1y - ay, p1x - ax));
  cairo_arc_negative(cr, bx, by, br, std::atan2(p1y - by, p1x - bx), std::atan2(p2y - by, p2x - bx));
  cairo_close_path(cr);
  FillOutline(cr, Hex(0x8D5BD0));
  Shine(cr, 17, 26, 3, 6);
}

void Note(cairo_t* cr) {
  // Two joined eighth notes.
  cairo_new_path(cr);
  cairo_move_to(cr, 23, 46);
  cairo_line_to(cr, 23, 13);
  cairo_line_to(cr, 51, 7);
  cairo_line_to(cr, 51, 40);
  cairo_path_t* p = cairo_copy_path(cr);
  InkedLine(cr, p, 3.5, Hex(0x262626));
  cairo_path_destroy(p);
  cairo_new_path(cr);
  cairo_move_to(cr, 23, 13);
  cairo_line_to(cr, 51, 7);
  cairo_line_to(cr, 51, 15);
  cairo_line_to(cr, 23, 21);
  cairo_close_path(cr);
  SetColour(cr, Hex(0x262626));
  cairo_fill(cr);
  for (double x : {17.0, 45.0}) {
    const double y = x < 30 ? 48 : 42;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, -0.4);
    cairo_scale(cr, 9, 6.5);
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    SetColour(cr, Hex(0x262626));
    cairo_fill(cr);
  }
}

void Flower(cairo_t* cr) {
  for (int i = 0; i < 6; ++i) {
    const double a = i * M_PI / 3;
    cairo_new_path(cr);
    CirclePath(cr, 32.5 + 16 * std::cos(a), 32.5 + 16 * std::sin(a), 12);
    FillOutline(cr, Hex(0xF27DB4));
  }
  cairo_new_path(cr);
  CirclePath(cr, 32.5, 32.5, 10);
  FillOutline(cr, Hex(0xF7D23E));
}

void House(cairo_t* cr) {
  cairo_new_path(cr);
  cairo_rectangle(cr, 13, 30, 39, 28);
  FillOutline(cr, Hex(0xB7794A));
  cairo_new_path(cr);
  cairo_move_to(cr, 6, 32);
  cairo_line_to(cr, 32.5, 7);
  cairo_line_to(cr, 59, 32);
  cairo_close_path(cr);
  FillOutline(cr, Hex(0x7E4A2A));
  cairo_new_path(cr);
  cairo_rectangle(cr, 28, 40, 11, 18);
  FillOutline(cr, Hex(0xF3E2C0));
  cairo_new_path(cr);
  cairo_rectangle(cr, 43, 37, 6, 6);
  cairo_rectangle(cr, 17, 37, 6, 6);
  SetColour(cr, Hex(0xF9E79A));
  cairo_fill(cr);
}

void Key(cairo_t* cr) {
  cairo_new_path(cr);
  CirclePath(cr, 19, 22, 14);
  cairo_new_sub_path(cr);
  cairo_arc_negative(cr, 19, 22, 6, 2 * M_PI, 0);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  FillOutline(cr, Hex(0x9096A0));
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  cairo_new_path(cr);
  cairo_move_to(cr, 29, 31);
  cairo_line_to(cr, 55, 57);
  cairo_path_t* p = cairo_copy_path(cr);
  InkedLine(cr, p, 6, Hex(0x9096A0));
  cairo_path_destroy(p);
  for (double t : {0.62, 0.85}) {
    const double x = 29 + 26 * t, y = 31 + 26 * t;
    cairo_new_path(cr);
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x + 7, y - 7);
    p = cairo_copy_path(cr);
    InkedLine(cr, p, 4.5, Hex(0x9096A0));
    cairo_path_destroy(p);
  }
}

void Snowflake(cairo_t* cr) {
  cairo_new_path(cr);
  for (int i = 0; i < 6; ++i) {
    const double a = i * M_PI / 3 - M_PI / 2;
    const double ex = 32.5 + 26 * std::cos(a), ey = 32.5 + 26 * std::sin(a);
    cairo_move_to(cr, 32.5, 32.5);
    cairo_line_to(cr, ex, ey);
    const double bx = 32.5 + 16 * std::cos(a), by = 32.5 + 16 * std::sin(a);
    cairo_move_to(cr, bx, by);
    cairo_line_to(cr, bx + 8 * std::cos(a - 0.9), by + 8 * std::sin(a - 0.9));
    cairo_move_to(cr, bx, by);
    cairo_line_to(cr, bx + 8 * std::cos(a + 0.9), by + 8 * std::sin(a + 0.9));
  }
  cairo_path_t* p = cairo_copy_path(cr);
  InkedLine(cr, p, 4, Hex(0x7CC8F0));
  cairo_path_destroy(p);
}

void Apple(cairo_t* cr) {
  cairo_new_path(cr);
  cairo_move_to(cr, 32.5, 18);
  cairo_curve_to(cr, 20, 10, 6, 18, 8, 36);
  cairo_curve_to(cr, 10, 52, 22, 62, 32.5, 56);
  cairo_curve_to(cr, 43, 62, 55, 52, 57, 36);
  cairo_curve_to(cr, 59, 18, 45, 10, 32.5, 18);
  cairo_close_path(cr);
  FillOutline(cr, Hex(0xDA3A35));
  cairo_new_path(cr);
  cairo_move_to(cr, 32.5, 19);
  cairo_curve_to(cr, 32, 12, 30, 8, 27, 5);
  Stroke(cr, 3.2, Hex(0x6B4022));
  cairo_new_path(cr);
  cairo_move_to(cr, 34, 13);
  cairo_curve_to(cr, 38, 4, 48, 3, 53, 6);
  cairo_curve_to(cr, 48, 14, 40, 15, 34, 13);
  cairo_close_path(cr);
  FillOutline(cr, Hex(0x56B04A));
  Shine(cr, 19, 30, 4, 6);
}

void Fish(cairo_t* cr) {
  cairo_new_path(cr);
  cairo_move_to(cr, 6, 32.5);
  cairo_curve_to(cr, 16, 14, 38, 12, 48, 32.5);
  cairo_curve_to(cr, 38, 53, 16, 51, 6, 32.5);
  cairo_close_path(cr);
  cairo_new_path(cr);
  cairo_move_to(cr, 44, 32.5);
  cairo_line_to(cr, 60, 19);
  cairo_line_to(cr, 60, 46);
  cairo_close_path(cr);
  FillOutline(cr, Hex(0x2E9E64));
  cairo_new_path(cr);
  cairo_move_to(cr, 5, 32.5);
  cairo_curve_to(cr, 15, 14, 37, 12, 48, 32.5);
  cairo_curve_to(cr, 37, 53, 15, 51, 5, 32.5);
  cairo_close_path(cr);
  FillOutline(cr, Hex(0x3FBE7A));
  FillCircle(cr, 16, 29, 4.2, pal::kWhite);
  FillCircle(cr, 16.8, 29, 2.2, pal::kInk);
  cairo_new_path(cr);
  cairo_arc(cr, 24, 32.5, 10, -0.9, 0.9);
  Stroke(cr, 1.8, Hex(0x1D6B42));
}

void Bolt(cairo_t* cr) {
  cairo_new_path(cr);
  cairo_move_to(cr, 38, 4);
  cairo_line_to(cr, 13, 36);
  cairo_line_to(cr, 29, 36);
  cairo_line_to(cr, 22, 61);
  cairo_line_to(cr, 52, 25);
  cairo_line_to(cr, 35, 25);
  cairo_line_to(cr, 44, 4);
  cairo_close_path(cr);
  FillOutline(cr, Hex(0xF9D629));
}

void Anchor(cairo_t* cr) {
  const Colour navy = Hex(0x2C4F93);
  cairo_new_path(cr);
  cairo_move_to(cr, 32.5, 17);
  cairo_line_to(cr, 32.5, 57);
  cairo_move_to(cr, 21, 24);
  cairo_line_to(cr, 44, 24);
  cairo_new_sub_path(cr);
  cairo_arc_negative(cr, 32.5, 34, 22, M_PI * 0.95, M_PI * 0.05);
  cairo_path_t* p = cairo_copy_path(cr);
  InkedLine(cr, p, 4.5, navy);
  cairo_path_destroy(p);
  // The ring on top and the flukes at the ends of the arm.
  cairo_new_path(cr);
  CirclePath(cr, 32.5, 10.5, 6);
  cairo_new_sub_path(cr);
  cairo_arc_negative(cr, 32.5, 10.5, 2.5, 2 * M_PI, 0);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  FillOutline(cr, navy);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  for (int side = -1; side <= 1; side += 2) {
    const double x = 32.5 + side * 21.9, y = 36;
    cairo_new_path(cr);
    cairo_move_to(cr, x - side * 1, y - 8);
    cairo_line_to(cr, x + side * 5, y + 2);
    cairo_line_to(cr, x - side * 6, y + 1);
    cairo_close_path(cr);
    FillOutline(cr, navy);
  }
}

void Cat(cairo_t* cr) {
  const Colour fur = Hex(0xF29A3F);
  for (int side = -1; side <= 1; side += 2) {
    cairo_new_path(cr);
    cairo_move_to(cr, 32.5 + side * 22, 26);
    cairo_line_to(cr, 32.5 + side * 23, 4);
    cairo_line_to(cr, 32.5 + side * 6, 16);
    cairo_close_path(cr);
    FillOutline(cr, fur);
    cairo_new_path(cr);
    cairo_move_to(cr, 32.5 + side * 19, 20);
    cairo_line_to(cr, 32.5 + side * 20, 10);
    cairo_line_to(cr, 32.5 + side * 12, 16);
    cairo_close_path(cr);
    SetColour(cr, Hex(0xF7C6C0));
    cairo_fill(cr);
  }
  cairo_save(cr);
  cairo_translate(cr, 32.5, 36);
  cairo_scale(cr, 25, 22);
  cairo_new_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
  FillOutline(cr, fur);
  for (int side = -1; side <= 1; side += 2) {
    FillCircle(cr, 32.5 + side * 9, 32, 4.5, Hex(0x4C7A2A));
    FillCircle(cr, 32.5 + side * 9, 32, 2, pal::kInk);
    for (int w = -1; w <= 1; ++w) {
      cairo_new_path(cr);
      cairo_move_to(cr, 32.5 + side * 9, 44 + w * 1.5);
      cairo_line_to(cr, 32.5 + side * 27, 42 + w * 5);
      Stroke(cr, 1.2, pal::kInk);
    }
  }
  cairo_new_path(cr);
  cairo_move_to(cr, 29, 40);
  cairo_line_to(cr, 36, 40);
  cairo_line_to(cr, 32.5, 44);
  cairo_close_path(cr);
  SetColour(cr, Hex(0xD9546A));
  cairo_fill(cr);
  cairo_new_path(cr);
  cairo_move_to(cr, 32.5, 44);
  cairo_curve_to(cr, 31, 49, 27, 49, 25, 47);
  cairo_move_to(cr, 32.5, 44);
  cairo_curve_to(cr, 34, 49, 38, 49, 40, 47);
  Stroke(cr, 1.6, pal::kInk);
}

using SymbolFn = void (*)(cairo_t*);
const SymbolFn kSymbols[16] = {Heart, YellowStar, Leaf,  Drop, Sun,  Moon, Note,   Flower,
                               House, Key,        Snowflake, Apple, Fish, Bolt, Anchor, Cat};
const char* const kSymbolNames[16] = {"heart", "star",      "leaf",  "drop", "sun",  "moon",
                                      "note",  "flower",    "house", "key",  "snowflake",
                                      "apple", "fish",      "bolt",  "anchor", "cat"};

}  // namespace

cairo_surface_t* DrawSheetMemoryMuster() {
  cairo_surface_t* s = NewSheet(520, 130);
  cairo_t* cr = cairo_create(s);
  for (int p = 0; p < 16; ++p) {
    cairo_save(cr);
    cairo_rectangle(cr, (p % 8) * 65, (p / 8) * 65, 65, 65);
    cairo_clip(cr);
    cairo_translate(cr, (p % 8) * 65, (p / 8) * 65);
    kSymbols[p](cr);
    cairo_restore(cr);
  }
  cairo_destroy(cr);
  AvoidColourKey(s);
  return s;
}

std::vector<SheetRect> CatalogueMemoryMuster() {
  std::vector<SheetRect> list;
  for (int p = 0; p < 16; ++p) {
    const int x = (p % 8) * 65, y = (p / 8) * 65;
    list.push_back({kSymbolNames[p], x, y, x + 65, y + 65, SheetRect::CutOut});
  }
  return list;
}

// Spare round card pictures: a teal back (1) and a terracotta back (2).
cairo_surface_t* DrawSheetMemoryCards(int n) {
  cairo_surface_t* s = NewSheet(64, 64);
  cairo_t* cr = cairo_create(s);
  const Colour c = n == 1 ? pal::kTeal : pal::kTerracotta;
  FillCircle(cr, 32, 32, 31, Darker(c, 0.3));
  FillCircle(cr, 32, 32, 28, c);
  cairo_new_path(cr);
  CirclePath(cr, 32, 32, 22);
  Stroke(cr, 2, pal::kCream);
  Star(cr, 32, 33, 13, 6, n == 1 ? 5 : 6);
  SetColour(cr, pal::kCream);
  cairo_fill(cr);
  cairo_destroy(cr);
  AvoidColourKey(s);
  return s;
}
