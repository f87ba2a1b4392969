#include "misc_art_kit.h"

#include <algorithm>
#include <cmath>

namespace miscart {

void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_close_path(cr);
  cairo_restore(cr);
}

void RadialLight(cairo_t* cr, double cx, double cy, double r, Rgb light, Rgb dark, double fx,
                 double fy, double alpha) {
  cairo_pattern_t* p = cairo_pattern_create_radial(fx, fy, 0, cx, cy, r);
  cairo_pattern_add_color_stop_rgba(p, 0, light.r, light.g, light.b, alpha);
  cairo_pattern_add_color_stop_rgba(p, 1, dark.r, dark.g, dark.b, alpha);
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
}

void ShadedDisc(cairo_t* cr, double cx, double cy, double r, Rgb base, double rim) {
  CirclePath(cr, cx, cy, r);
  SetColour(cr, Darker(base, 0.28));
  cairo_fill(cr);
  CirclePath(cr, cx, cy, r - rim);
  RadialLight(cr, cx, cy, r - rim, Lighter(base, 0.35), Darker(base, 0.08), cx - r * 0.35,
              cy - r * 0.4);
  cairo_fill(cr);
}

void SelectFont(cairo_t* cr, Face face, double size, bool bold) {
  kit::SelectFont(cr, face == Face::Round ? kit::Family::Comic : kit::Family::Sans, size, bold);
}

void TextCentredPath(cairo_t* cr, const char* text, double cx, double cy) {
  cairo_text_extents_t e;
  cairo_text_extents(cr, text, &e);
  cairo_move_to(cr, cx - e.width / 2 - e.x_bearing, cy - e.height / 2 - e.y_bearing);
  cairo_text_path(cr, text);
}

void TextCentred(cairo_t* cr, const char* text, double cx, double cy) {
  cairo_new_path(cr);
  TextCentredPath(cr, text, cx, cy);
  cairo_fill(cr);
}

void GuardRing(cairo_surface_t* s, int left, int top, int right, int bottom, unsigned sides) {
  cairo_surface_flush(s);
  const int w = cairo_image_surface_get_width(s);
  const int h = cairo_image_surface_get_height(s);
  const int stride = cairo_image_surface_get_stride(s) / 4;
  uint32_t* px = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s));
  auto at = [&](int x, int y) -> uint32_t& { return px[static_cast<long>(y) * stride + x]; };
  for (int y = top - 1; y <= bottom; ++y) {
    for (int x = left - 1; x <= right; ++x) {
      const bool onLeft = x == left - 1, onRight = x == right;
      const bool onTop = y == top - 1, onBottom = y == bottom;
      if (!(onLeft || onRight || onTop || onBottom)) continue;
      if ((onLeft && !(sides & kGuardLeft)) || (onRight && !(sides & kGuardRight)) ||
          (onTop && !(sides & kGuardTop)) || (onBottom && !(sides & kGuardBottom)))
        continue;
      if (x < 0 || y < 0 || x >= w || y >= h) continue;
      // Each ring texel takes the colour of the nearest texel of the rectangle.
      at(x, y) = at(std::clamp(x, left, right - 1), std::clamp(y, top, bottom - 1));
    }
  }
  cairo_surface_mark_dirty(s);
}

}  // namespace miscart
