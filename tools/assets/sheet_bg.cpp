// bg.PNG: the backdrop behind every menu page. Warm sand with a soft light
// in the middle and a scatter of faint shapes that stays visible around the
// pages.
#include "cairo_kit.h"
#include "sheets.h"

using namespace kit;

cairo_surface_t* DrawSheetBg() {
  cairo_surface_t* s = NewSheet(1024, 768);
  cairo_t* cr = cairo_create(s);
  VerticalGradient(cr, 0, 768, Hex(0xF3E4C9), Hex(0xE6CFA8));
  cairo_paint(cr);
  // A soft light behind the pages.
  cairo_pattern_t* light = cairo_pattern_create_radial(512, 360, 60, 512, 384, 620);
  cairo_pattern_add_color_stop_rgba(light, 0, 1, 0.98, 0.93, 0.75);
  cairo_pattern_add_color_stop_rgba(light, 1, 1, 0.98, 0.93, 0.0);
  cairo_set_source(cr, light);
  cairo_paint(cr);
  cairo_pattern_destroy(light);
  // Faint dots in a loose grid.
  for (int y = 12; y < 768; y += 24)
    for (int x = 12 + (y / 24 % 2) * 12; x < 1024; x += 24) {
      cairo_new_path(cr);
      CirclePath(cr, x, y, 1.4);
      SetColour(cr, Hex(0x9A7B50), 0.10);
      cairo_fill(cr);
    }
  Rng rng(0xB6u);
  ScatterShapes(cr, rng, 26, -40, -40, 1104, 848, 40, 170, 0.05, 0.11);
  // Smaller, crisper shapes along the left and right edges.
  ScatterShapes(cr, rng, 14, 0, 0, 110, 768, 18, 48, 0.16, 0.28);
  ScatterShapes(cr, rng, 14, 914, 0, 110, 768, 18, 48, 0.16, 0.28);
  // A gentle darkening towards the corners.
  cairo_pattern_t* v = cairo_pattern_create_radial(512, 384, 380, 512, 384, 760);
  cairo_pattern_add_color_stop_rgba(v, 0, 0.35, 0.22, 0.1, 0.0);
  cairo_pattern_add_color_stop_rgba(v, 1, 0.35, 0.22, 0.1, 0.16);
  cairo_set_source(cr, v);
  cairo_paint(cr);
  cairo_pattern_destroy(v);
  cairo_destroy(cr);
  Grain(s, 0, 0, 1024, 768, 2, 0xB9u);
  AvoidColourKey(s);
  return s;
}

std::vector<SheetRect> CatalogueBg() { return {{"menu backdrop", 0, 0, 1024, 768, SheetRect::Opaque}}; }
