#include "misc_art_puzzles.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "misc_art_kit.h"

namespace miscart {

namespace {

void Outline(cairo_t* cr, Rgb c, double w) {
  SetColour(cr, c);
  cairo_set_line_width(cr, w);
  cairo_stroke(cr);
}

void FillOutlined(cairo_t* cr, Rgb fill, Rgb line, double w = 1.5) {
  SetColour(cr, fill);
  cairo_fill_preserve(cr);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  Outline(cr, line, w);
}

void Cloud(cairo_t* cr, double x, double y, double s) {
  cairo_new_path(cr);
  Ellipse(cr, x, y, 16 * s, 9 * s);
  Ellipse(cr, x - 12 * s, y + 3 * s, 10 * s, 7 * s);
  Ellipse(cr, x + 13 * s, y + 3 * s, 11 * s, 7 * s);
  Ellipse(cr, x + 3 * s, y - 6 * s, 10 * s, 8 * s);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.95);
  cairo_fill(cr);
  Ellipse(cr, x + 2 * s, y + 6 * s, 24 * s, 3.5 * s);
  cairo_set_source_rgba(cr, 0.80, 0.87, 0.93, 0.9);
  cairo_fill(cr);
}

void Flower(cairo_t* cr, double x, double y, Rgb petal) {
  cairo_move_to(cr, x, y + 3);
  cairo_line_to(cr, x, y + 12);
  SetColour(cr, Hex(0x3F8A3A));
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
  for (int i = 0; i < 5; ++i) {
    const double a = i * 2 * M_PI / 5;
    CirclePath(cr, x + std::cos(a) * 3.4, y + std::sin(a) * 3.4, 2.6);
  }
  SetColour(cr, petal);
  cairo_fill(cr);
  CirclePath(cr, x, y, 1.8);
  SetColour(cr, Hex(0xF7C531));
  cairo_fill(cr);
}

}  // namespace

void DrawPuzzleLandscape(cairo_t* cr, int left, int top) {
  BeginCell(cr, left, top, left + 200, top + 200);
  cairo_translate(cr, left, top);
  const Rgb line = Hex(0x4A3A30);
  // Sky.
  cairo_rectangle(cr, 0, 0, 200, 200);
  VerticalGradient(cr, 0, 120, Hex(0x6FAEE0), Hex(0xD3EAF6));
  cairo_fill(cr);
  // Sun with rays.
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int i = 0; i < 12; ++i) {
    const double a = i * M_PI / 6;
    cairo_move_to(cr, 166 + std::cos(a) * 22, 34 + std::sin(a) * 22);
    cairo_line_to(cr, 166 + std::cos(a) * 30, 34 + std::sin(a) * 30);
  }
  SetColour(cr, Hex(0xF6A531));
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  CirclePath(cr, 166, 34, 18);
  RadialLight(cr, 166, 34, 18, Hex(0xFFF3A0), Hex(0xFFC93C), 160, 28);
  cairo_fill(cr);
  // Clouds and birds.
  Cloud(cr, 38, 28, 1.2);
  Cloud(cr, 108, 56, 0.95);
  cairo_set_line_width(cr, 1.8);
  for (auto b : {std::pair{92.0, 20.0}, std::pair{118.0, 30.0}, std::pair{104.0, 14.0}}) {
    cairo_move_to(cr, b.first - 6, b.second - 3);
    cairo_curve_to(cr, b.first - 3, b.second - 5, b.first - 1, b.second - 3, b.first, b.second);
    cairo_curve_to(cr, b.first + 1, b.second - 3, b.first + 3, b.second - 5, b.first + 6,
                   b.second - 3);
  }
  SetColour(cr, Hex(0x3D3A48));
  cairo_stroke(cr);
  // Far hills.
  cairo_new_path(cr);
  cairo_move_to(cr, 0, 112);
  cairo_curve_to(cr, 30, 80, 70, 78, 110, 104);
  cairo_curve_to(cr, 140, 84, 175, 74, 200, 90);
  cairo_line_to(cr, 200, 130);
  cairo_line_to(cr, 0, 130);
  cairo_close_path(cr);
  VerticalGradient(cr, 76, 130, Hex(0x9DB8A0), Hex(0x7FA582));
  cairo_fill(cr);
  // Meadow.
  cairo_new_path(cr);
  cairo_move_to(cr, 0, 122);
  cairo_curve_to(cr, 60, 112, 130, 116, 200, 110);
  cairo_line_to(cr, 200, 200);
  cairo_line_to(cr, 0, 200);
  cairo_close_path(cr);
  VerticalGradient(cr, 110, 200, Hex(0x9ED26F), Hex(0x58A046));
  cairo_fill(cr);
  // River winding towards the front.
  cairo_new_path(cr);
  cairo_move_to(cr, 128, 114);
  cairo_curve_to(cr, 110, 135, 150, 148, 118, 168);
  cairo_curve_to(cr, 98, 182, 96, 192, 92, 200);
  cairo_line_to(cr, 138, 200);
  cairo_curve_to(cr, 140, 188, 152, 178, 160, 166);
  cairo_curve_to(cr, 178, 142, 132, 132, 136, 114);
  cairo_close_path(cr);
  VerticalGradient(cr, 114, 200, Hex(0x8FCBEF), Hex(0x3F8FD0));
  cairo_fill(cr);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.7);
  cairo_set_line_width(cr, 1.5);
  for (auto w : {std::pair{130.0, 150.0}, std::pair{122.0, 178.0}, std::pair{114.0, 192.0}}) {
    cairo_move_to(cr, w.first - 5, w.second);
    cairo_curve_to(cr, w.first - 2, w.second - 2, w.first + 2, w.second + 2, w.first + 6,
                   w.second);
  }
  cairo_stroke(cr);
  // Little red boat on the river.
  cairo_new_path(cr);
  cairo_move_to(cr, 104, 180);
  cairo_line_to(cr, 130, 180);
  cairo_line_to(cr, 125, 187);
  cairo_line_to(cr, 109, 187);
  cairo_close_path(cr);
  FillOutlined(cr, Hex(0xD9503F), line, 1.2);
  cairo_move_to(cr, 117, 180);
  cairo_line_to(cr, 117, 164);
  Outline(cr, line, 1.4);
  cairo_move_to(cr, 118, 165);
  cairo_line_to(cr, 128, 177);
  cairo_line_to(cr, 118, 177);
  cairo_close_path(cr);
  FillOutlined(cr, Hex(0xFFF6E0), line, 1.0);
  // Path from the door to the front.
  cairo_new_path(cr);
  cairo_move_to(cr, 44, 148);
  cairo_curve_to(cr, 40, 165, 62, 178, 56, 200);
  cairo_line_to(cr, 82, 200);
  cairo_curve_to(cr, 84, 176, 56, 164, 54, 148);
  cairo_close_path(cr);
  SetColour(cr, Hex(0xE8D2A2));
  cairo_fill(cr);
  // House.
  cairo_rectangle(cr, 60, 62, 9, 20);  // chimney
  FillOutlined(cr, Hex(0xA4553F), line, 1.2);
  cairo_rectangle(cr, 20, 92, 60, 56);
  VerticalGradient(cr, 92, 148, Hex(0xFBEBCB), Hex(0xEDD3A8));
  cairo_fill_preserve(cr);
  Outline(cr, line, 1.5);
  cairo_new_path(cr);
  cairo_move_to(cr, 12, 95);
  cairo_line_to(cr, 50, 60);
  cairo_line_to(cr, 88, 95);
  cairo_close_path(cr);
  VerticalGradient(cr, 60, 95, Hex(0xE2664A), Hex(0xB8432F));
  cairo_fill_preserve(cr);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  Outline(cr, line, 1.5);
  CirclePath(cr, 50, 80, 5);  // attic window
  FillOutlined(cr, Hex(0xFFE69A), line, 1.2);
  RoundRectPath(cr, 42, 118, 16, 30, 3);  // door
  FillOutlined(cr, Hex(0x8A5535), line, 1.2);
  CirclePath(cr, 54.5, 134, 1.4);
  SetColour(cr, Hex(0xF5D36B));
  cairo_fill(cr);
  for (double wx : {25.0, 63.0}) {  // windows
    cairo_rectangle(cr, wx, 104, 13, 13);
    FillOutlined(cr, Hex(0x9FD3F2), line, 1.3);
    cairo_move_to(cr, wx + 6.5, 104);
    cairo_line_to(cr, wx + 6.5, 117);
    cairo_move_to(cr, wx, 110.5);
    cairo_line_to(cr, wx + 13, 110.5);
    Outline(cr, line, 1.0);
  }
  // Fence in front of the house.
  for (int i = 0; i < 5; ++i) {
    const double x = 4 + i * 8.5;
    cairo_new_path(cr);
    cairo_move_to(cr, x, 196);
    cairo_line_to(cr, x, 172);
    cairo_line_to(cr, x + 3, 168);
    cairo_line_to(cr, x + 6, 172);
    cairo_line_to(cr, x + 6, 196);
    cairo_close_path(cr);
    FillOutlined(cr, Hex(0xFFFFFF), Hex(0x8C7A68), 1.0);
  }
  cairo_rectangle(cr, 0, 176, 46, 4);
  cairo_rectangle(cr, 0, 187, 46, 4);
  FillOutlined(cr, Hex(0xFFFFFF), Hex(0x8C7A68), 1.0);
  // Tree with apples.
  cairo_rectangle(cr, 163, 108, 10, 42);
  VerticalGradient(cr, 108, 150, Hex(0x9B6B45), Hex(0x6F4A2E));
  cairo_fill_preserve(cr);
  Outline(cr, line, 1.2);
  cairo_new_path(cr);
  CirclePath(cr, 168, 92, 24);
  CirclePath(cr, 150, 102, 15);
  CirclePath(cr, 186, 104, 14);
  SetColour(cr, Hex(0x3F8E3E));
  cairo_fill(cr);
  CirclePath(cr, 162, 85, 13);
  SetColour(cr, Hex(0x5CAE4C));
  cairo_fill(cr);
  for (auto a : {std::pair{156.0, 96.0}, std::pair{176.0, 88.0}, std::pair{183.0, 106.0},
                 std::pair{165.0, 108.0}, std::pair{146.0, 106.0}}) {
    CirclePath(cr, a.first, a.second, 2.8);
  }
  SetColour(cr, Hex(0xE0392F));
  cairo_fill(cr);
  // Flowers along the front.
  const Rgb petals[] = {Hex(0xF46FA0), Hex(0xFFFFFF), Hex(0xB478E0), Hex(0xFF9F43)};
  int n = 0;
  for (auto f : {std::pair{150.0, 178.0}, std::pair{164.0, 186.0}, std::pair{178.0, 174.0},
                 std::pair{190.0, 188.0}, std::pair{172.0, 160.0}, std::pair{190.0, 158.0},
                 std::pair{14.0, 140.0}, std::pair{88.0, 160.0}, std::pair{100.0, 140.0}}) {
    Flower(cr, f.first, f.second, petals[n++ % 4]);
  }
  cairo_restore(cr);
}

void DrawPuzzleCity(cairo_t* cr, int left, int top) {
  BeginCell(cr, left, top, left + 200, top + 200);
  cairo_translate(cr, left, top);
  const Rgb line = Hex(0x2F2A33);
  // Dusk sky.
  cairo_rectangle(cr, 0, 0, 200, 200);
  {
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, 150);
    cairo_pattern_add_color_stop_rgb(g, 0, 0.22, 0.27, 0.52);
    cairo_pattern_add_color_stop_rgb(g, 0.55, 0.78, 0.47, 0.60);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.98, 0.71, 0.42);
    cairo_set_source(cr, g);
    cairo_pattern_destroy(g);
  }
  cairo_fill(cr);
  // Moon and stars.
  CirclePath(cr, 26, 24, 12);
  SetColour(cr, Hex(0xFFF4C9));
  cairo_fill(cr);
  CirclePath(cr, 32, 20, 10);
  SetColour(cr, Hex(0x3C4A87));
  cairo_fill(cr);
  for (auto st : {std::pair{60.0, 12.0}, std::pair{84.0, 30.0}, std::pair{140.0, 10.0},
                  std::pair{176.0, 22.0}, std::pair{12.0, 52.0}, std::pair{118.0, 18.0}}) {
    CirclePath(cr, st.first, st.second, 1.4);
  }
  SetColour(cr, Hex(0xFFF8DD));
  cairo_fill(cr);

  struct House {
    double x0, x1, top;
    uint32_t colour;
    int roof;  // 0 flat, 1 gable, 2 dome, 3 stepped, 4 antenna
  };
  const House houses[] = {
      {-2, 34, 78, 0xE76F51, 1},  {32, 62, 46, 0xF4A261, 3},  {60, 96, 96, 0x2A9D8F, 2},
      {94, 130, 30, 0x8AB17D, 4}, {128, 160, 84, 0xE9C46A, 1}, {158, 202, 58, 0xB56576, 3}};
  const double street = 164;
  int hi = 0;
  for (const House& h : houses) {
    const Rgb c = Hex(h.colour);
    cairo_new_path(cr);
    switch (h.roof) {
      case 1:
        cairo_move_to(cr, h.x0, h.top + 12);
        cairo_line_to(cr, (h.x0 + h.x1) / 2, h.top);
        cairo_line_to(cr, h.x1, h.top + 12);
        break;
      case 2:
        cairo_move_to(cr, h.x0, h.top + 10);
        cairo_arc(cr, (h.x0 + h.x1) / 2, h.top + 10, (h.x1 - h.x0) / 2, M_PI, 2 * M_PI);
        break;
      case 3:
        cairo_move_to(cr, h.x0, h.top + 12);
        cairo_line_to(cr, h.x0 + 6, h.top + 12);
        cairo_line_to(cr, h.x0 + 6, h.top + 5);
        cairo_line_to(cr, h.x0 + 12, h.top + 5);
        cairo_line_to(cr, h.x0 + 12, h.top);
        cairo_line_to(cr, h.x1 - 12, h.top);
        cairo_line_to(cr, h.x1 - 12, h.top + 5);
        cairo_line_to(cr, h.x1 - 6, h.top + 5);
        cairo_line_to(cr, h.x1 - 6, h.top + 12);
        cairo_line_to(cr, h.x1, h.top + 12);
        break;
      default:
        cairo_move_to(cr, h.x0, h.top);
        cairo_line_to(cr, h.x1, h.top);
        break;
    }
    cairo_line_to(cr, h.x1, street);
    cairo_line_to(cr, h.x0, street);
    cairo_close_path(cr);
    VerticalGradient(cr, h.top, street, Lighter(c, 0.12), Darker(c, 0.12));
    cairo_fill_preserve(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    Outline(cr, line, 1.3);
    if (h.roof == 4) {  // antenna with a red light
      cairo_move_to(cr, (h.x0 + h.x1) / 2, h.top);
      cairo_line_to(cr, (h.x0 + h.x1) / 2, h.top - 16);
      Outline(cr, line, 1.6);
      CirclePath(cr, (h.x0 + h.x1) / 2, h.top - 17, 2.4);
      SetColour(cr, Hex(0xFF4B4B));
      cairo_fill(cr);
    }
    // Windows: lit and dark in a pattern of their own for each house.
    const double wx0 = std::max(h.x0, 0.0) + 5, wx1 = std::min(h.x1, 200.0) - 5;
    const int cols = std::max(1, static_cast<int>((wx1 - wx0 + 3) / 9));
    const double cw = (wx1 - wx0) / cols;
    int w = 0;
    for (double y = h.top + 18; y < street - 14; y += 12, ++w) {
      for (int c2 = 0; c2 < cols; ++c2) {
        const bool lit = ((w * 7 + c2 * 3 + hi * 5) % 5) < 3;
        cairo_rectangle(cr, wx0 + c2 * cw + 1.5, y, cw - 3, 7);
        SetColour(cr, lit ? Hex(0xFFE59A) : Darker(c, 0.45));
        cairo_fill(cr);
      }
    }
    // Shop door at street level.
    RoundRectPath(cr, (h.x0 + h.x1) / 2 - 5, street - 14, 10, 14, 2);
    FillOutlined(cr, Darker(c, 0.5), line, 1.0);
    ++hi;
  }
  // Pavement and street.
  cairo_rectangle(cr, 0, street, 200, 8);
  SetColour(cr, Hex(0xC9BFB4));
  cairo_fill(cr);
  cairo_rectangle(cr, 0, street + 8, 200, 200 - street - 8);
  SetColour(cr, Hex(0x4B4A57));
  cairo_fill(cr);
  for (double x = 4; x < 200; x += 24) {
    cairo_rectangle(cr, x, 191, 12, 2.5);
  }
  SetColour(cr, Hex(0xF2E8D5));
  cairo_fill(cr);
  // Tram.
  RoundRectPath(cr, 30, 150, 70, 32, 6);
  VerticalGradient(cr, 150, 182, Hex(0xE24A3B), Hex(0xB5352A));
  cairo_fill_preserve(cr);
  Outline(cr, line, 1.4);
  for (int i = 0; i < 4; ++i) {
    RoundRectPath(cr, 35 + i * 16, 155, 12, 10, 2);
    FillOutlined(cr, Hex(0xCBE7F5), line, 1.0);
  }
  cairo_rectangle(cr, 30, 169, 70, 3);
  SetColour(cr, Hex(0xFFF1D0));
  cairo_fill(cr);
  cairo_move_to(cr, 65, 150);
  cairo_line_to(cr, 58, 140);
  cairo_line_to(cr, 72, 134);
  Outline(cr, line, 1.4);
  for (double x : {42.0, 88.0}) {
    CirclePath(cr, x, 183, 4.5);
    FillOutlined(cr, Hex(0x2F2A33), Hex(0x7A7488), 1.2);
  }
  // Street tree and lamp.
  cairo_rectangle(cr, 143, 150, 5, 18);
  SetColour(cr, Hex(0x7A5233));
  cairo_fill(cr);
  CirclePath(cr, 145.5, 144, 12);
  SetColour(cr, Hex(0x3E9A55));
  cairo_fill(cr);
  CirclePath(cr, 141, 140, 6);
  SetColour(cr, Hex(0x5CBF6C));
  cairo_fill(cr);
  cairo_move_to(cr, 180, 172);
  cairo_line_to(cr, 180, 134);
  cairo_line_to(cr, 188, 134);
  Outline(cr, Hex(0x2F2A33), 2.2);
  CirclePath(cr, 189, 137, 3.5);
  SetColour(cr, Hex(0xFFE07A));
  cairo_fill(cr);
  cairo_restore(cr);
}

namespace {

Rgb Hsl(double h, double s, double l) {
  h = std::fmod(h, 360.0);
  if (h < 0) h += 360;
  const double c = (1 - std::fabs(2 * l - 1)) * s;
  const double x = c * (1 - std::fabs(std::fmod(h / 60, 2) - 1));
  const double m = l - c / 2;
  double r = 0, g = 0, b = 0;
  if (h < 60) r = c, g = x;
  else if (h < 120) r = x, g = c;
  else if (h < 180) g = c, b = x;
  else if (h < 240) g = x, b = c;
  else if (h < 300) r = x, b = c;
  else r = c, b = x;
  return {r + m, g + m, b + m};
}

void Star(cairo_t* cr, double cx, double cy, double r0, double r1, int points, double turn) {
  cairo_new_path(cr);
  for (int i = 0; i < points * 2; ++i) {
    const double a = turn + i * M_PI / points - M_PI / 2;
    const double r = i % 2 ? r1 : r0;
    if (i == 0) cairo_move_to(cr, cx + std::cos(a) * r, cy + std::sin(a) * r);
    else cairo_line_to(cr, cx + std::cos(a) * r, cy + std::sin(a) * r);
  }
  cairo_close_path(cr);
}

}  // namespace

void DrawPuzzleAbstract(cairo_t* cr, cairo_surface_t* s, int left, int top) {
  // Background: the hue runs across, the lightness down, so no two regions
  // share a colour.
  cairo_surface_flush(s);
  {
    const int stride = cairo_image_surface_get_stride(s) / 4;
    uint32_t* px = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s));
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 200; ++x) {
        const double hue = 10 + x * 1.5 + y * 0.35;
        const double light = 0.84 - y * 0.0011 - 0.05 * std::sin(x * 0.05);
        const Rgb c = Hsl(hue, 0.5, light);
        const auto b = [](double v) { return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
        px[static_cast<long>(top + y) * stride + left + x] =
            0xFF000000u | (b(c.r) << 16) | (b(c.g) << 8) | b(c.b);
      }
  }
  cairo_surface_mark_dirty(s);

  BeginCell(cr, left, top, left + 200, top + 200);
  cairo_translate(cr, left, top);
  const Rgb line = Hex(0x33283A);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  // A band of waves through the middle.
  cairo_new_path(cr);
  cairo_move_to(cr, 0, 92);
  for (int i = 0; i < 4; ++i)
    cairo_rel_curve_to(cr, 12, -14, 38, -14, 50, 0);
  cairo_line_to(cr, 200, 108);
  for (int i = 0; i < 4; ++i)
    cairo_rel_curve_to(cr, -12, 14, -38, 14, -50, 0);
  cairo_close_path(cr);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.45);
  cairo_fill_preserve(cr);
  cairo_set_source_rgba(cr, line.r, line.g, line.b, 0.5);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  // Concentric rings at the top left.
  const Rgb rings[] = {Hex(0xE63946), Hex(0xF4A261), Hex(0xFFE66D), Hex(0xFFFFFF)};
  for (int i = 0; i < 4; ++i) {
    CirclePath(cr, 20, 22, 30 - i * 7);
    SetColour(cr, rings[i]);
    cairo_fill(cr);
  }
  // Diamond top right.
  cairo_new_path(cr);
  cairo_move_to(cr, 178, 2);
  cairo_line_to(cr, 198, 30);
  cairo_line_to(cr, 178, 58);
  cairo_line_to(cr, 158, 30);
  cairo_close_path(cr);
  FillOutlined(cr, Hex(0x3A6EA5), line, 1.5);
  // Triangle bottom left.
  cairo_new_path(cr);
  cairo_move_to(cr, 2, 198);
  cairo_line_to(cr, 26, 150);
  cairo_line_to(cr, 50, 198);
  cairo_close_path(cr);
  FillOutlined(cr, Hex(0x2A9D8F), line, 1.5);
  // Star bottom right.
  Star(cr, 178, 178, 22, 9, 5, 0.2);
  FillOutlined(cr, Hex(0x9B5DE5), line, 1.5);
  // Half moon at the left edge, squares near the top and bottom middle.
  cairo_new_path(cr);
  cairo_arc(cr, 0, 112, 16, -M_PI / 2, M_PI / 2);
  cairo_close_path(cr);
  FillOutlined(cr, Hex(0xF15BB5), line, 1.5);
  cairo_save(cr);
  cairo_translate(cr, 100, 6);
  cairo_rotate(cr, M_PI / 4);
  cairo_rectangle(cr, -7, -7, 14, 14);
  cairo_restore(cr);
  FillOutlined(cr, Hex(0x00A6A6), line, 1.2);
  cairo_rectangle(cr, 92, 186, 16, 12);
  FillOutlined(cr, Hex(0xFF8C42), line, 1.2);
  // Dots scattered where the larger shapes leave room.
  const Rgb dots[] = {Hex(0x4361EE), Hex(0xF72585), Hex(0x80B918), Hex(0xFFB703)};
  int n = 0;
  for (auto d : {std::pair{60.0, 8.0}, std::pair{140.0, 8.0}, std::pair{8.0, 70.0},
                 std::pair{192.0, 72.0}, std::pair{8.0, 140.0}, std::pair{192.0, 130.0},
                 std::pair{66.0, 192.0}, std::pair{134.0, 192.0}, std::pair{150.0, 120.0},
                 std::pair{50.0, 120.0}, std::pair{120.0, 70.0}, std::pair{80.0, 130.0}}) {
    CirclePath(cr, d.first, d.second, 3.6);
    SetColour(cr, dots[n++ % 4]);
    cairo_fill(cr);
  }
  // Numbered discs in a 3 x 3 layout, one per tile of the coarsest cut.
  SelectFont(cr, Face::Sans, 22);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) {
      const double cx = 33 + c * 66, cy = 33 + r * 66;
      CirclePath(cr, cx, cy, 15);
      SetColour(cr, Hex(0xFFFFFF), 0.92);
      cairo_fill_preserve(cr);
      Outline(cr, line, 2.0);
      char t[12];
      std::snprintf(t, sizeof t, "%d", r * 3 + c + 1);
      SetColour(cr, line);
      TextCentred(cr, t, cx, cy);
    }
  cairo_restore(cr);
}

}  // namespace miscart
