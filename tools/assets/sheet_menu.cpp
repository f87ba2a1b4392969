// menu1.PNG, menu2.PNG and menu3.PNG: the menu pages, every button (normal
// picture with its highlighted copy directly below), the arrows, the radio
// buttons, the game list panel, the logo and the info banner.
#include <cmath>

#include "cairo_kit.h"
#include "sheets.h"

using namespace kit;

namespace {

const Colour kRim = Hex(0x2A7F7C);
const Colour kRimHover = Hex(0xC75E3E);
// Transparent pixels round the wide, medium and small buttons: the pages
// stack them 50 pixels apart, exactly their height.
constexpr int BUTTON_MARGIN = 3;

// A raised button filling (x, y, w, h): a darker base under a light face.
// Captions are drawn by the game, black or red, so both faces stay light.
void ButtonFace(cairo_t* cr, double x, double y, double w, double h, double r, bool hover) {
  const Colour base = hover ? Hex(0xA9512F) : Hex(0x22706D);
  const Colour rim = hover ? kRimHover : kRim;
  const Colour top = hover ? Hex(0xFFF3D2) : Hex(0xFFFFFF);
  const Colour bottom = hover ? Hex(0xF6D487) : Hex(0xF1E6D1);
  FillRoundRect(cr, x + 1, y + 3, w - 2, h - 4, r, base);
  FillRoundRect(cr, x + 1, y + 1, w - 2, h - 4, r, rim);
  GradientRoundRect(cr, x + 3.5, y + 3.5, w - 7, h - 9, r - 2.5, top, bottom);
  // Gloss along the upper half.
  cairo_save(cr);
  cairo_new_path(cr);
  RoundRectPath(cr, x + 3.5, y + 3.5, w - 7, h - 9, r - 2.5);
  cairo_clip(cr);
  cairo_new_path(cr);
  RoundRectPath(cr, x + 6, y + 5, w - 12, (h - 9) * 0.5, (r - 2.5) * 0.8);
  cairo_pattern_t* gloss = cairo_pattern_create_linear(0, y + 5, 0, y + 5 + (h - 9) * 0.5);
  cairo_pattern_add_color_stop_rgba(gloss, 0, 1, 1, 1, hover ? 0.55 : 0.7);
  cairo_pattern_add_color_stop_rgba(gloss, 1, 1, 1, 1, 0.0);
  cairo_set_source(cr, gloss);
  cairo_fill(cr);
  cairo_pattern_destroy(gloss);
  cairo_restore(cr);
}

// The button and its hover copy directly below, offset by its height. A
// margin leaves that many transparent pixels round the face inside its
// rectangle, so buttons stacked edge to edge on a page stay apart.
void ButtonPair(cairo_t* cr, int x, int y, int w, int h, double r, int margin = 0) {
  ButtonFace(cr, x + margin, y + margin, w - 2 * margin, h - 2 * margin, r, false);
  ButtonFace(cr, x + margin, y + h + margin, w - 2 * margin, h - 2 * margin, r, true);
}

// A tick mark centred in a square cell: reads as "OK" and as "back".
void Tick(cairo_t* cr, double x, double y, double size, Colour c) {
  cairo_new_path(cr);
  cairo_move_to(cr, x + size * 0.27, y + size * 0.50);
  cairo_line_to(cr, x + size * 0.44, y + size * 0.66);
  cairo_line_to(cr, x + size * 0.74, y + size * 0.31);
  cairo_path_t* path = cairo_copy_path(cr);
  Stroke(cr, size * 0.15, Darker(c, 0.35));
  cairo_append_path(cr, path);
  Stroke(cr, size * 0.10, c);
  cairo_path_destroy(path);
}

// A round arrow button (50 x 50) pointing up or down.
void ArrowButton(cairo_t* cr, double x, double y, bool up, bool hover) {
  const double cx = x + 25, cy = y + 24;
  FillCircle(cr, cx, cy + 1.5, 22.5, hover ? Hex(0xA9512F) : Hex(0x22706D));
  FillCircle(cr, cx, cy, 22.5, hover ? kRimHover : kRim);
  cairo_new_path(cr);
  CirclePath(cr, cx, cy, 20);
  cairo_pattern_t* p = cairo_pattern_create_radial(cx - 6, cy - 8, 2, cx, cy, 22);
  const Colour a = hover ? Hex(0xFFF3D2) : Hex(0xFFFFFF), b = hover ? Hex(0xF3CC78) : Hex(0xEADFC8);
  cairo_pattern_add_color_stop_rgb(p, 0, a.r, a.g, a.b);
  cairo_pattern_add_color_stop_rgb(p, 1, b.r, b.g, b.b);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  const double d = up ? -1 : 1;
  // The arrow: a head with a stem.
  cairo_new_path(cr);
  cairo_move_to(cr, cx, cy + 12 * d);
  cairo_line_to(cr, cx + 11, cy - 1 * d);
  cairo_line_to(cr, cx + 4.5, cy - 1 * d);
  cairo_line_to(cr, cx + 4.5, cy - 11 * d);
  cairo_line_to(cr, cx - 4.5, cy - 11 * d);
  cairo_line_to(cr, cx - 4.5, cy - 1 * d);
  cairo_line_to(cr, cx - 11, cy - 1 * d);
  cairo_close_path(cr);
  SetColour(cr, hover ? Hex(0xB4532F) : pal::kTealDark);
  cairo_fill(cr);
}

// A round radio button (24 x 24); `on` adds the teal dot.
void Radio(cairo_t* cr, double x, double y, bool on) {
  const double cx = x + 12, cy = y + 12;
  FillCircle(cr, cx, cy, 11, on ? kRim : Hex(0x9C7D57));
  cairo_new_path(cr);
  CirclePath(cr, cx, cy, 8.8);
  cairo_pattern_t* p = cairo_pattern_create_radial(cx - 3, cy - 4, 1, cx, cy, 10);
  cairo_pattern_add_color_stop_rgb(p, 0, 1, 1, 1);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.93, 0.89, 0.81);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  if (on) {
    FillCircle(cr, cx, cy, 5.6, pal::kTeal);
    FillCircle(cr, cx - 1.6, cy - 1.8, 1.8, pal::kWhite, 0.7);
  }
}

void Page1(cairo_t* cr) {
  Panel(cr, 0, 0, 400, 600, 26);
  // Logo: the light bulb and the word mark above the first button (y < 150).
  Lightbulb(cr, 62, 74, 96);
  WordMark(cr, 108, 36, 276, 70, 50);
  // Three little shapes under the word mark, the game's motifs.
  FillRoundRect(cr, 170, 110, 16, 16, 3, pal::kOchre);
  FillCircle(cr, 208, 118, 8.5, pal::kTerracotta);
  cairo_new_path(cr);
  cairo_move_to(cr, 240, 109);
  cairo_line_to(cr, 249.5, 126);
  cairo_line_to(cr, 230.5, 126);
  cairo_close_path(cr);
  SetColour(cr, pal::kTeal);
  cairo_fill(cr);
  FillRoundRect(cr, 264, 113, 26, 11, 3, pal::kOlive);
  // A divider under the logo.
  cairo_new_path(cr);
  cairo_move_to(cr, 40, 139);
  cairo_line_to(cr, 360, 139);
  Stroke(cr, 2, Hex(0xD9C29A));
  // The language row: a light lane with the two names beside the radio
  // buttons at (76, 552) and (224, 552), each written in its own language.
  FillRoundRect(cr, 40, 538, 320, 52, 14, Hex(0xEFE0C3));
  cairo_new_path(cr);
  RoundRectPath(cr, 40.5, 538.5, 319, 51, 14);
  Stroke(cr, 1.2, Hex(0xD4BC92));
  SelectFont(cr, Family::Sans, 17);
  TextAt(cr, "Deutsch", 106, 570, pal::kInk);
  TextAt(cr, "English", 254, 570, pal::kInk);
}

// The certificate look of the result pages (600 x 450).
void ResultPage(cairo_t* cr, double x, double y) {
  Panel(cr, x, y, 600, 450, 24);
  cairo_new_path(cr);
  RoundRectPath(cr, x + 13.5, y + 13.5, 573, 423, 14);
  Stroke(cr, 3, pal::kTeal, 0.8);
  cairo_new_path(cr);
  RoundRectPath(cr, x + 20.5, y + 20.5, 559, 409, 10);
  Stroke(cr, 1.2, pal::kTeal, 0.6);
  // Small diamonds in the corners of the frame.
  const double corners[4][2] = {{20, 20}, {580, 20}, {20, 430}, {580, 430}};
  for (const auto& c : corners) {
    cairo_new_path(cr);
    cairo_move_to(cr, x + c[0], y + c[1] - 8);
    cairo_line_to(cr, x + c[0] + 8, y + c[1]);
    cairo_line_to(cr, x + c[0], y + c[1] + 8);
    cairo_line_to(cr, x + c[0] - 8, y + c[1]);
    cairo_close_path(cr);
    SetColour(cr, pal::kOchre);
    cairo_fill_preserve(cr);
    Stroke(cr, 1.2, Darker(pal::kOchre, 0.4));
  }
  // A rosette in the lower left corner, clear of the text and the button.
  const double sx = x + 70, sy = y + 378;
  for (int side = -1; side <= 1; side += 2) {
    cairo_new_path(cr);
    cairo_move_to(cr, sx + side * 6, sy + 8);
    cairo_line_to(cr, sx + side * 20, sy + 40);
    cairo_line_to(cr, sx + side * 10, sy + 34);
    cairo_line_to(cr, sx + side * 4, sy + 44);
    cairo_line_to(cr, sx - side * 4, sy + 12);
    cairo_close_path(cr);
    SetColour(cr, pal::kTerracotta);
    cairo_fill(cr);
  }
  cairo_new_path(cr);
  for (int i = 0; i < 24; ++i) {
    const double a = i * M_PI / 12;
    const double r = i % 2 ? 24 : 29;
    if (i == 0) cairo_move_to(cr, sx + r * std::cos(a), sy + r * std::sin(a));
    else cairo_line_to(cr, sx + r * std::cos(a), sy + r * std::sin(a));
  }
  cairo_close_path(cr);
  SetColour(cr, pal::kOchre);
  cairo_fill_preserve(cr);
  Stroke(cr, 1.5, Darker(pal::kOchre, 0.45));
  FillCircle(cr, sx, sy, 17, pal::kOchreLight);
  // A star in the middle of the rosette.
  cairo_new_path(cr);
  for (int i = 0; i < 10; ++i) {
    const double a = -M_PI / 2 + i * M_PI / 5;
    const double r = i % 2 ? 5.5 : 12.5;
    if (i == 0) cairo_move_to(cr, sx + r * std::cos(a), sy + r * std::sin(a));
    else cairo_line_to(cr, sx + r * std::cos(a), sy + r * std::sin(a));
  }
  cairo_close_path(cr);
  SetColour(cr, pal::kTerracotta);
  cairo_fill(cr);
}

// The info banner (330 x 60): the emblem and the word mark on a teal strip.
void InfoBanner(cairo_t* cr, double x, double y) {
  FillRoundRect(cr, x + 0.5, y + 0.5, 329, 59, 16, pal::kTealDark);
  GradientRoundRect(cr, x + 3, y + 3, 324, 54, 13.5, Hex(0x4FA9A3), Hex(0x2A7F7C));
  cairo_save(cr);
  cairo_new_path(cr);
  RoundRectPath(cr, x + 3, y + 3, 324, 54, 13.5);
  cairo_clip(cr);
  cairo_new_path(cr);
  RoundRectPath(cr, x + 8, y + 5, 314, 20, 9);
  SetColour(cr, pal::kWhite, 0.16);
  cairo_fill(cr);
  cairo_restore(cr);
  Lightbulb(cr, x + 34, y + 30, 50);
  SelectFont(cr, Family::Comic, 34);
  TextInBox(cr, "Denkarium", x + 62, y + 4, 200, 52, pal::kCream, 1.6, pal::kTealDark);
  FillRoundRect(cr, x + 268, y + 22, 14, 14, 3, pal::kOchreLight);
  FillCircle(cr, x + 295, y + 29, 7, pal::kTerracottaLight);
  cairo_new_path(cr);
  cairo_move_to(cr, x + 315, y + 21);
  cairo_line_to(cr, x + 323, y + 36);
  cairo_line_to(cr, x + 307, y + 36);
  cairo_close_path(cr);
  SetColour(cr, pal::kCream);
  cairo_fill(cr);
}

}  // namespace

cairo_surface_t* DrawSheetMenu1() {
  cairo_surface_t* s = NewSheet(1024, 1024);
  cairo_t* cr = cairo_create(s);
  Page1(cr);
  ResultPage(cr, 400, 0);
  // Mode and difficulty choice (400 x 300) and the info / pause page (350 x 400),
  // both with a title band.
  Panel(cr, 350, 600, 400, 300, 24, 66);
  Panel(cr, 0, 600, 350, 400, 24, 66);
  InfoBanner(cr, 370, 925);
  cairo_destroy(cr);
  AvoidColourKey(s);
  return s;
}

std::vector<SheetRect> CatalogueMenu1() {
  return {
      {"page 1 main menu", 0, 0, 400, 600, SheetRect::Any},
      {"page 14/9 choice", 350, 600, 750, 900, SheetRect::Any},
      {"page 38/45 info, pause", 0, 600, 350, 1000, SheetRect::Any},
      {"page 55/57 result", 400, 0, 1000, 450, SheetRect::Any},
      {"info banner", 370, 925, 700, 985, SheetRect::Any},
  };
}

cairo_surface_t* DrawSheetMenu2() {
  cairo_surface_t* s = NewSheet(1024, 1024);
  cairo_t* cr = cairo_create(s);
  // The big page: statistics and instructions fill nearly all of it, so the
  // whole face stays plain and light; the title band is pale.
  Panel(cr, 0, 0, 800, 600, 28, 64);
  ButtonPair(cr, 0, 700, 300, 50, 17, BUTTON_MARGIN);    // wide (also the time bar)
  ButtonPair(cr, 300, 700, 100, 50, 17, BUTTON_MARGIN);  // small
  ButtonPair(cr, 50, 600, 150, 50, 17, BUTTON_MARGIN);   // medium
  ButtonPair(cr, 250, 600, 50, 50, 14);   // square, with a tick
  Tick(cr, 250, 600 - 1.5, 50, pal::kTeal);
  Tick(cr, 250, 650 - 1.5, 50, kRimHover);
  ArrowButton(cr, 700, 700, true, false);
  ArrowButton(cr, 700, 750, true, true);
  ArrowButton(cr, 750, 700, false, false);
  ArrowButton(cr, 750, 750, false, true);
  Radio(cr, 600, 600, false);
  Radio(cr, 600, 624, true);
  ButtonFace(cr, 400, 600, 200, 50, 17, false);  // plain button, no hover copy
  cairo_destroy(cr);
  AvoidColourKey(s);
  return s;
}

std::vector<SheetRect> CatalogueMenu2() {
  return {
      {"page 40/50/52/43", 0, 0, 800, 600, SheetRect::Any},
      {"wide / time bar", 0, 700, 300, 750, SheetRect::Any},
      {"wide hover", 0, 750, 300, 800, SheetRect::Any},
      {"small", 300, 700, 400, 750, SheetRect::Any},
      {"small hover", 300, 750, 400, 800, SheetRect::Any},
      {"square", 250, 600, 300, 650, SheetRect::Any},
      {"square hover", 250, 650, 300, 700, SheetRect::Any},
      {"medium", 50, 600, 200, 650, SheetRect::Any},
      {"medium hover", 50, 650, 200, 700, SheetRect::Any},
      {"arrow up", 700, 700, 750, 750, SheetRect::CutOut},
      {"arrow up hover", 700, 750, 750, 800, SheetRect::CutOut},
      {"arrow down", 750, 700, 800, 750, SheetRect::CutOut},
      {"arrow down hover", 750, 750, 800, 800, SheetRect::CutOut},
      {"radio", 600, 600, 624, 624, SheetRect::CutOut},
      {"radio on", 600, 624, 624, 648, SheetRect::CutOut},
      {"plain button", 400, 600, 600, 650, SheetRect::Any},
  };
}

cairo_surface_t* DrawSheetMenu3() {
  cairo_surface_t* s = NewSheet(512, 1024);
  cairo_t* cr = cairo_create(s);
  Panel(cr, 0, 0, 400, 700, 26, 66);
  // A slightly deeper lane behind the seven game buttons (y 135 ... 545).
  FillRoundRect(cr, 34, 124, 332, 432, 16, Hex(0xF0E2C6));
  cairo_new_path(cr);
  RoundRectPath(cr, 34.5, 124.5, 331, 431, 16);
  Stroke(cr, 1.2, Hex(0xD8C29C));
  cairo_destroy(cr);
  AvoidColourKey(s);
  return s;
}

std::vector<SheetRect> CatalogueMenu3() { return {{"page 18 game list", 0, 0, 400, 700, SheetRect::Any}}; }
