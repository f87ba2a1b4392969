#include "cairo_kit.h"

#include <algorithm>
#include <cmath>

namespace kit {

Colour Mix(Colour a, Colour b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Colour Lighter(Colour c, double t) { return Mix(c, {1, 1, 1}, t); }
Colour Darker(Colour c, double t) { return Mix(c, {0, 0, 0}, t); }

void SetColour(cairo_t* cr, Colour c, double alpha) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

cairo_surface_t* NewSheet(int width, int height) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(s);
  cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
  cairo_paint(cr);
  cairo_destroy(cr);
  return s;
}

void RoundRectPath(cairo_t* cr, double x, double y, double w, double h, double r) {
  r = std::max(0.0, std::min({r, w / 2, h / 2}));
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
  cairo_close_path(cr);
}

void CirclePath(cairo_t* cr, double cx, double cy, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  cairo_close_path(cr);
}

void FillRoundRect(cairo_t* cr, double x, double y, double w, double h, double r, Colour c,
                   double alpha) {
  cairo_new_path(cr);
  RoundRectPath(cr, x, y, w, h, r);
  SetColour(cr, c, alpha);
  cairo_fill(cr);
}

void FillCircle(cairo_t* cr, double cx, double cy, double r, Colour c, double alpha) {
  cairo_new_path(cr);
  CirclePath(cr, cx, cy, r);
  SetColour(cr, c, alpha);
  cairo_fill(cr);
}

void VerticalGradient(cairo_t* cr, double y0, double y1, Colour top, Colour bottom,
                      double alpha) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
  cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, alpha);
  cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, alpha);
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
}

void GradientRoundRect(cairo_t* cr, double x, double y, double w, double h, double r,
                       Colour top, Colour bottom) {
  cairo_new_path(cr);
  RoundRectPath(cr, x, y, w, h, r);
  VerticalGradient(cr, y, y + h, top, bottom);
  cairo_fill(cr);
}

void SoftShadow(cairo_t* cr, double x, double y, double w, double h, double r, double dx,
                double dy, double blur, double strength) {
  // Layers from the widest (faintest) to the core; together they fall off
  // smoothly towards the outside.
  const int layers = std::max(1, (int)std::ceil(blur));
  const double each = strength / layers;
  for (int i = layers; i >= 1; --i) {
    const double grow = blur * i / layers;
    cairo_new_path(cr);
    RoundRectPath(cr, x + dx - grow / 2, y + dy - grow / 2, w + grow, h + grow, r + grow / 2);
    cairo_set_source_rgba(cr, 0.18, 0.12, 0.08, each * 1.6);
    cairo_fill(cr);
  }
}

void BeginCell(cairo_t* cr, int left, int top, int right, int bottom) {
  cairo_save(cr);
  cairo_new_path(cr);
  cairo_rectangle(cr, left, top, right - left, bottom - top);
  cairo_clip(cr);
  cairo_new_path(cr);
}

namespace {

// Runs `f` on every texel (as a uint32_t&) of the clipped rectangle.
template <typename F>
void ForTexels(cairo_surface_t* s, int left, int top, int right, int bottom, F f) {
  cairo_surface_flush(s);
  const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
  if (right < 0) right = w;
  if (bottom < 0) bottom = h;
  left = std::clamp(left, 0, w);
  right = std::clamp(right, 0, w);
  top = std::clamp(top, 0, h);
  bottom = std::clamp(bottom, 0, h);
  unsigned char* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  for (int y = top; y < bottom; ++y) {
    uint32_t* row = reinterpret_cast<uint32_t*>(data + (size_t)y * stride);
    for (int x = left; x < right; ++x) f(row[x]);
  }
  cairo_surface_mark_dirty(s);
}

uint32_t Pack(Colour c) {
  auto b = [](double v) { return (uint32_t)std::lround(std::clamp(v, 0.0, 1.0) * 255.0); };
  return 0xFF000000u | (b(c.r) << 16) | (b(c.g) << 8) | b(c.b);
}

}  // namespace

void SolidRect(cairo_surface_t* s, int left, int top, int right, int bottom, Colour c) {
  const uint32_t v = Pack(c);
  ForTexels(s, left, top, right, bottom, [v](uint32_t& t) { t = v; });
}

void FillColourKey(cairo_surface_t* s, int left, int top, int right, int bottom) {
  ForTexels(s, left, top, right, bottom, [](uint32_t& t) { t = kColourKey; });
}

void ClearRect(cairo_surface_t* s, int left, int top, int right, int bottom) {
  ForTexels(s, left, top, right, bottom, [](uint32_t& t) { t = 0; });
}

void AvoidColourKey(cairo_surface_t* s, int left, int top, int right, int bottom) {
  // Opaque texels are stored unpremultiplied-equal, so the key compares as is.
  ForTexels(s, left, top, right, bottom, [](uint32_t& t) {
    if (t == kColourKey) t = 0xFF00FF63;
  });
}

void SelectFont(cairo_t* cr, Family family, double size, bool bold) {
  cairo_select_font_face(cr, family == Family::Comic ? "Comic Neue" : "Liberation Sans",
                         CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
  // Fixed hinting and anti-aliasing so every build gives the same texels.
  cairo_font_options_t* o = cairo_font_options_create();
  cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, o);
  cairo_font_options_destroy(o);
}

void TextInk(cairo_t* cr, const char* text, double* w, double* h) {
  cairo_text_extents_t e;
  cairo_text_extents(cr, text, &e);
  if (w) *w = e.width;
  if (h) *h = e.height;
}

void TextInBox(cairo_t* cr, const char* text, double x, double y, double w, double h,
               Colour fill, double outline, Colour line) {
  cairo_text_extents_t e;
  cairo_text_extents(cr, text, &e);
  const double px = x + (w - e.width) / 2 - e.x_bearing;
  const double py = y + (h - e.height) / 2 - e.y_bearing;
  cairo_new_path(cr);
  cairo_move_to(cr, px, py);
  cairo_text_path(cr, text);
  if (outline > 0) {
    SetColour(cr, line);
    cairo_set_line_width(cr, outline * 2);  // half of it lies under the fill
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
  }
  SetColour(cr, fill);
  cairo_fill(cr);
}

void TextInBox(cairo_t* cr, const char* text, double x, double y, double w, double h,
               Family family, double size, Colour fill, double outline, Colour line) {
  SelectFont(cr, family, size);
  double tw = 0, th = 0;
  TextInk(cr, text, &tw, &th);
  const double room = w - 2 * outline;
  if (tw > room && tw > 0) SelectFont(cr, family, size * room / tw);
  TextInBox(cr, text, x, y, w, h, fill, outline, line);
}

bool WritePng(cairo_surface_t* s, const char* path) {
  cairo_surface_flush(s);
  return cairo_surface_write_to_png(s, path) == CAIRO_STATUS_SUCCESS;
}

namespace {
cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
  auto* out = static_cast<std::vector<unsigned char>*>(closure);
  out->insert(out->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}
}  // namespace

bool EncodePng(cairo_surface_t* s, std::vector<unsigned char>* out) {
  cairo_surface_flush(s);
  return cairo_surface_write_to_png_stream(s, AppendBytes, out) == CAIRO_STATUS_SUCCESS;
}

}  // namespace kit

namespace kit {

void Stroke(cairo_t* cr, double width, Colour c, double alpha) {
  cairo_set_line_width(cr, width);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  SetColour(cr, c, alpha);
  cairo_stroke(cr);
}

void Panel(cairo_t* cr, double x, double y, double w, double h, double radius,
           double headerHeight) {
  const Colour rim = Hex(0xB8956A);
  // Rim, then the face inset by the rim width.
  FillRoundRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, radius, rim);
  const double in = 4;
  cairo_save(cr);
  cairo_new_path(cr);
  RoundRectPath(cr, x + in, y + in, w - 2 * in, h - 2 * in, radius - in);
  cairo_clip(cr);
  VerticalGradient(cr, y, y + h, Hex(0xFFFBF3), Hex(0xF6EAD3));
  cairo_paint(cr);
  if (headerHeight > 0) {
    cairo_new_path(cr);
    cairo_rectangle(cr, x, y, w, headerHeight);
    VerticalGradient(cr, y, y + headerHeight, Hex(0xF8E3B0), Hex(0xF1D494));
    cairo_fill(cr);
    // A soft shade under the band and a thin teal line closing it.
    cairo_new_path(cr);
    cairo_rectangle(cr, x, y + headerHeight, w, 8);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y + headerHeight, 0, y + headerHeight + 8);
    cairo_pattern_add_color_stop_rgba(p, 0, 0.45, 0.32, 0.15, 0.16);
    cairo_pattern_add_color_stop_rgba(p, 1, 0.45, 0.32, 0.15, 0.0);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_new_path(cr);
    cairo_rectangle(cr, x, y + headerHeight - 1.5, w, 3);
    SetColour(cr, pal::kTeal, 0.85);
    cairo_fill(cr);
  }
  // Inner highlight along the top and a light inner edge.
  cairo_new_path(cr);
  RoundRectPath(cr, x + in + 1.5, y + in + 1.5, w - 2 * in - 3, h - 2 * in - 3, radius - in - 1.5);
  Stroke(cr, 1.5, kit::pal::kWhite, 0.7);
  cairo_restore(cr);
}

void WordMark(cairo_t* cr, double x, double y, double w, double h, double size) {
  SelectFont(cr, Family::Comic, size);
  TextInBox(cr, "Denkarium", x + 2, y + 3, w, h, Hex(0x8A5A3A), 0);  // soft drop
  TextInBox(cr, "Denkarium", x, y, w, h, pal::kTeal, size * 0.035, pal::kInk);
}

void Lightbulb(cairo_t* cr, double cx, double cy, double size) {
  const double s = size / 100.0;  // drawn on a 100-unit design
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, s, s);
  // Glow.
  cairo_pattern_t* glow = cairo_pattern_create_radial(0, -14, 8, 0, -14, 52);
  cairo_pattern_add_color_stop_rgba(glow, 0, 1.0, 0.86, 0.45, 0.55);
  cairo_pattern_add_color_stop_rgba(glow, 1, 1.0, 0.86, 0.45, 0.0);
  cairo_new_path(cr);
  CirclePath(cr, 0, -14, 52);
  cairo_set_source(cr, glow);
  cairo_fill(cr);
  cairo_pattern_destroy(glow);
  // Glass: a circle that narrows into the neck.
  cairo_new_path(cr);
  cairo_arc(cr, 0, -16, 30, M_PI * 0.78, M_PI * 2.22);
  cairo_curve_to(cr, 22, 6, 14, 12, 13, 24);
  cairo_line_to(cr, -13, 24);
  cairo_curve_to(cr, -14, 12, -22, 6, -23.2, 2.8);
  cairo_close_path(cr);
  cairo_pattern_t* glass = cairo_pattern_create_radial(-9, -26, 4, 0, -14, 40);
  cairo_pattern_add_color_stop_rgb(glass, 0, 1.0, 0.98, 0.86);
  cairo_pattern_add_color_stop_rgb(glass, 1, 0.96, 0.74, 0.30);
  cairo_set_source(cr, glass);
  cairo_pattern_destroy(glass);
  cairo_fill_preserve(cr);
  Stroke(cr, 3.2, pal::kInk);
  // Filament: a small loop.
  cairo_new_path(cr);
  cairo_move_to(cr, -7, 22);
  cairo_line_to(cr, -7, 4);
  cairo_curve_to(cr, -7, -8, 7, -8, 7, 4);
  cairo_line_to(cr, 7, 22);
  Stroke(cr, 2.4, Hex(0xB5651D));
  // Screw base.
  for (int i = 0; i < 3; ++i) {
    FillRoundRect(cr, -15, 24 + i * 7, 30, 7.5, 3.5, i % 2 ? pal::kTealDark : pal::kTeal);
  }
  cairo_new_path(cr);
  cairo_arc(cr, 0, 45, 7, 0, M_PI);
  SetColour(cr, pal::kInk);
  cairo_fill(cr);
  // Shine.
  cairo_new_path(cr);
  cairo_arc(cr, 0, -16, 21, M_PI * 1.12, M_PI * 1.42);
  Stroke(cr, 4.5, pal::kWhite, 0.9);
  cairo_restore(cr);
}

}  // namespace kit

namespace kit {

void TextAt(cairo_t* cr, const char* text, double x, double baseline, Colour fill, double outline,
            Colour line) {
  cairo_new_path(cr);
  cairo_move_to(cr, x, baseline);
  cairo_text_path(cr, text);
  if (outline > 0) {
    SetColour(cr, line);
    cairo_set_line_width(cr, outline * 2);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
  }
  SetColour(cr, fill);
  cairo_fill(cr);
}

void ScatterShapes(cairo_t* cr, Rng& rng, int count, double x, double y, double w, double h,
                   double minSize, double maxSize, double minAlpha, double maxAlpha) {
  const Colour colours[] = {pal::kTeal, pal::kTerracotta, pal::kOchre, pal::kOlive, pal::kTealLight};
  for (int i = 0; i < count; ++i) {
    const double cx = rng.Uniform(x, x + w), cy = rng.Uniform(y, y + h);
    const double size = rng.Uniform(minSize, maxSize);
    const double angle = rng.Uniform(0, 2 * M_PI);
    const Colour c = colours[rng.Below(5)];
    const double alpha = rng.Uniform(minAlpha, maxAlpha);
    const int kind = rng.Below(3);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, angle);
    cairo_new_path(cr);
    if (kind == 0) {
      CirclePath(cr, 0, 0, size / 2);
    } else if (kind == 1) {
      RoundRectPath(cr, -size / 2, -size / 2, size, size, size * 0.18);
    } else {
      const double r = size * 0.58;
      cairo_move_to(cr, 0, -r);
      cairo_line_to(cr, r * 0.866, r * 0.5);
      cairo_line_to(cr, -r * 0.866, r * 0.5);
      cairo_close_path(cr);
    }
    cairo_restore(cr);
    SetColour(cr, c, alpha);
    cairo_fill(cr);
  }
}

void Grain(cairo_surface_t* s, int left, int top, int right, int bottom, int amount, uint32_t seed) {
  Rng rng(seed);
  ForTexels(s, left, top, right, bottom, [&](uint32_t& t) {
    const uint32_t a = t >> 24;
    if (a == 0) return;
    const int d = static_cast<int>(rng.Next() % (2 * amount + 1)) - amount;
    auto ch = [&](int shift) {
      const int v = static_cast<int>((t >> shift) & 0xFF) + d;
      return static_cast<uint32_t>(std::clamp(v, 0, static_cast<int>(a))) << shift;
    };
    t = (a << 24) | ch(16) | ch(8) | ch(0);
  });
}

}  // namespace kit
