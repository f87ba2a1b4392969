// back1.PNG ... back4.PNG: the seven quiet backgrounds behind a running game
// (600 x 450 each, two per sheet, one on back4). Light and low in contrast,
// since the games draw black text, grey outlines and light tiles on them.
#include <cmath>

#include "cairo_kit.h"
#include "sheets.h"

using namespace kit;

namespace {

constexpr int W = 600, H = 450;

void Clip(cairo_t* cr, double y) {
  cairo_save(cr);
  cairo_new_path(cr);
  cairo_rectangle(cr, 0, y, W, H);
  cairo_clip(cr);
}

void Fill(cairo_t* cr, double y, Colour top, Colour bottom) {
  VerticalGradient(cr, y, y + H, top, bottom);
  cairo_rectangle(cr, 0, y, W, H);
  cairo_fill(cr);
}

void Cloud(cairo_t* cr, double x, double y, double s, double alpha) {
  const double parts[5][3] = {{0, 0, 26}, {30, -12, 32}, {64, 0, 26}, {18, 10, 24}, {46, 10, 24}};
  cairo_new_path(cr);
  for (const auto& p : parts) CirclePath(cr, x + p[0] * s, y + p[1] * s, p[2] * s);
  SetColour(cr, pal::kWhite, alpha);
  cairo_fill(cr);
}

// 0: a soft sky with a few clouds.
void Sky(cairo_t* cr, double y) {
  Clip(cr, y);
  Fill(cr, y, Hex(0xD7E8EF), Hex(0xF4F0E4));
  Cloud(cr, 60, y + 80, 1.3, 0.55);
  Cloud(cr, 380, y + 60, 1.0, 0.5);
  Cloud(cr, 250, y + 210, 1.5, 0.4);
  Cloud(cr, 470, y + 300, 1.1, 0.45);
  Cloud(cr, 40, y + 340, 0.9, 0.4);
  cairo_restore(cr);
}

// 1: squared paper with a margin line.
void Paper(cairo_t* cr, double y) {
  Clip(cr, y);
  Fill(cr, y, Hex(0xFAF4E6), Hex(0xF4ECDA));
  for (double gx = 10; gx < W; gx += 20) {
    cairo_new_path(cr);
    cairo_move_to(cr, gx + 0.5, y);
    cairo_line_to(cr, gx + 0.5, y + H);
    Stroke(cr, 1, Hex(0x9FB7C4), 0.22);
  }
  for (double gy = 10; gy < H; gy += 20) {
    cairo_new_path(cr);
    cairo_move_to(cr, 0, y + gy + 0.5);
    cairo_line_to(cr, W, y + gy + 0.5);
    Stroke(cr, 1, Hex(0x9FB7C4), 0.22);
  }
  cairo_new_path(cr);
  cairo_move_to(cr, 48.5, y);
  cairo_line_to(cr, 48.5, y + H);
  Stroke(cr, 1.5, pal::kTerracotta, 0.28);
  cairo_restore(cr);
}

// 2: pale wooden planks with a soft grain.
void Wood(cairo_t* cr, double y, Rng& rng) {
  Clip(cr, y);
  const Colour tones[] = {Hex(0xEEDCBD), Hex(0xE9D4B1), Hex(0xF0DFC3), Hex(0xEAD7B6)};
  const int planks = 6;
  for (int i = 0; i < planks; ++i) {
    const double py = y + i * H / planks;
    VerticalGradient(cr, py, py + H / planks, tones[i % 4], Darker(tones[i % 4], 0.03));
    cairo_rectangle(cr, 0, py, W, H / planks);
    cairo_fill(cr);
    for (int g = 0; g < 7; ++g) {
      const double gy = py + rng.Uniform(6, H / planks - 6);
      const double amp = rng.Uniform(1, 3), len = rng.Uniform(60, 140), ph = rng.Uniform(0, 6);
      cairo_new_path(cr);
      cairo_move_to(cr, 0, gy);
      for (int x = 0; x <= W; x += 10) cairo_line_to(cr, x, gy + amp * std::sin(x / len + ph));
      Stroke(cr, 1.2, Hex(0xB88E5E), 0.14);
    }
    cairo_new_path(cr);
    cairo_move_to(cr, 0, py + 0.5);
    cairo_line_to(cr, W, py + 0.5);
    Stroke(cr, 1.2, Hex(0xA57A4C), 0.25);
    // The butt joint of each plank, staggered.
    const double jx = 90 + (i * 173) % 420;
    cairo_new_path(cr);
    cairo_move_to(cr, jx + 0.5, py);
    cairo_line_to(cr, jx + 0.5, py + H / planks);
    Stroke(cr, 1.2, Hex(0xA57A4C), 0.22);
  }
  cairo_restore(cr);
}

// 3: linen, a fine cross weave.
void Linen(cairo_t* cr, double y) {
  Clip(cr, y);
  Fill(cr, y, Hex(0xEFE7D8), Hex(0xE9E0CE));
  for (double gx = 0; gx < W; gx += 3) {
    cairo_new_path(cr);
    cairo_move_to(cr, gx + 0.5, y);
    cairo_line_to(cr, gx + 0.5, y + H);
    Stroke(cr, 1, Hex(0xA08A68), static_cast<int>(gx) % 9 == 0 ? 0.07 : 0.035);
  }
  for (double gy = 0; gy < H; gy += 3) {
    cairo_new_path(cr);
    cairo_move_to(cr, 0, y + gy + 0.5);
    cairo_line_to(cr, W, y + gy + 0.5);
    Stroke(cr, 1, Hex(0xFFFFFF), static_cast<int>(gy) % 9 == 0 ? 0.18 : 0.08);
  }
  cairo_restore(cr);
}

// 4: a pale landscape: sky, a faint sun, rolling hills.
void Landscape(cairo_t* cr, double y) {
  Clip(cr, y);
  Fill(cr, y, Hex(0xE1EDF0), Hex(0xF5EFDF));
  FillCircle(cr, 470, y + 95, 46, Hex(0xFBE3A6), 0.7);
  const struct {
    double base, amp, len, phase;
    uint32_t colour;
  } hills[] = {
      {250, 30, 90, 0.5, 0xD9E4C8}, {300, 26, 70, 2.0, 0xCEDDBB}, {360, 22, 110, 4.0, 0xC3D6AF}};
  for (const auto& h : hills) {
    cairo_new_path(cr);
    cairo_move_to(cr, 0, y + H);
    for (int x = 0; x <= W; x += 6) cairo_line_to(cr, x, y + h.base - h.amp * std::sin(x / h.len + h.phase));
    cairo_line_to(cr, W, y + H);
    cairo_close_path(cr);
    SetColour(cr, Hex(h.colour));
    cairo_fill(cr);
  }
  cairo_restore(cr);
}

// 5: warm sand with large soft circles.
void Bokeh(cairo_t* cr, double y, Rng& rng) {
  Clip(cr, y);
  Fill(cr, y, Hex(0xF5E9D3), Hex(0xEDDCC0));
  const Colour colours[] = {pal::kOchreLight, pal::kTerracottaLight, pal::kTealLight, pal::kWhite};
  // Spread over a 4 x 3 grid of cells so the circles never bunch up.
  for (int i = 0; i < 24; ++i) {
    const int cell = i % 12;
    const double cx = (cell % 4 + rng.Uniform(0.1, 0.9)) * W / 4;
    const double cy = y + (cell / 4 + rng.Uniform(0.1, 0.9)) * H / 3;
    FillCircle(cr, cx, cy, rng.Uniform(22, 80), colours[rng.Below(4)], rng.Uniform(0.07, 0.15));
  }
  cairo_restore(cr);
}

// 6: pale mint with soft diagonal bands.
void Mint(cairo_t* cr, double y) {
  Clip(cr, y);
  Fill(cr, y, Hex(0xDDEEE8), Hex(0xEFF3E8));
  for (double d = -H; d < W; d += 60) {
    cairo_new_path(cr);
    cairo_move_to(cr, d, y + H);
    cairo_line_to(cr, d + H, y);
    cairo_line_to(cr, d + H + 26, y);
    cairo_line_to(cr, d + 26, y + H);
    cairo_close_path(cr);
    SetColour(cr, pal::kWhite, 0.22);
    cairo_fill(cr);
  }
  cairo_restore(cr);
}

}  // namespace

cairo_surface_t* DrawSheetBack(int n) {
  const int height = n == 4 ? H : 2 * H;
  cairo_surface_t* s = NewSheet(W, height);
  cairo_t* cr = cairo_create(s);
  Rng rng(0xBAC0u + static_cast<uint32_t>(n));
  switch (n) {
    case 1: Sky(cr, 0); Paper(cr, H); break;
    case 2: Wood(cr, 0, rng); Linen(cr, H); break;
    case 3: Landscape(cr, 0); Bokeh(cr, H, rng); break;
    default: Mint(cr, 0); break;
  }
  cairo_destroy(cr);
  Grain(s, 0, 0, W, height, 2, 0xBA00u + static_cast<uint32_t>(n));
  AvoidColourKey(s);
  return s;
}

std::vector<SheetRect> CatalogueBack(int n) {
  static const char* const labels[] = {"background 0", "background 1", "background 2",
                                       "background 3", "background 4", "background 5"};
  if (n == 4) return {{"background 6", 0, 0, W, H, SheetRect::Opaque}};
  if (n < 1 || n > 3) return {};
  return {{labels[2 * (n - 1)], 0, 0, W, H, SheetRect::Opaque},
          {labels[2 * (n - 1) + 1], 0, H, W, 2 * H, SheetRect::Opaque}};
}
