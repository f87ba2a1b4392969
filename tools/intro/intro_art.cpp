#include "intro_art.h"

#include <algorithm>
#include <cmath>

#include "cairo_kit.h"
#include "sounds.h"

namespace intro {

namespace {

using namespace kit;

constexpr double kBulbX = 512, kBulbY = 300, kBulbSize = 300;
// The glass's centre lies 16 hundredths of the bulb's size above its origin.
constexpr double kGlassY = kBulbY - 0.16 * kBulbSize;

// 0 before `from`, 1 after `to`, a smooth step between.
double Ease(double t, double from, double to) {
  const double x = std::clamp((t - from) / (to - from), 0.0, 1.0);
  return x * x * (3 - 2 * x);
}

void Glow(cairo_t* cr, double light, double t) {
  if (light <= 0) return;
  // Soft rays turning slowly around the glass.
  cairo_save(cr);
  cairo_translate(cr, kBulbX, kGlassY);
  cairo_rotate(cr, t * 0.12);
  for (int i = 0; i < 12; ++i) {
    cairo_new_path(cr);
    cairo_move_to(cr, 0, 0);
    cairo_arc(cr, 0, 0, 420, i * M_PI / 6 - 0.07, i * M_PI / 6 + 0.07);
    cairo_close_path(cr);
    cairo_pattern_t* ray = cairo_pattern_create_radial(0, 0, 90, 0, 0, 420);
    cairo_pattern_add_color_stop_rgba(ray, 0, 1.0, 0.88, 0.55, 0.22 * light);
    cairo_pattern_add_color_stop_rgba(ray, 1, 1.0, 0.88, 0.55, 0.0);
    cairo_set_source(cr, ray);
    cairo_fill(cr);
    cairo_pattern_destroy(ray);
  }
  cairo_restore(cr);
  // A warm halo.
  cairo_pattern_t* halo = cairo_pattern_create_radial(kBulbX, kGlassY, 40, kBulbX, kGlassY, 330);
  cairo_pattern_add_color_stop_rgba(halo, 0, 1.0, 0.93, 0.70, 0.75 * light);
  cairo_pattern_add_color_stop_rgba(halo, 1, 1.0, 0.93, 0.70, 0.0);
  cairo_set_source(cr, halo);
  cairo_paint(cr);
  cairo_pattern_destroy(halo);
}

// The ring of light that runs outwards when the bulb switches on.
void Flash(cairo_t* cr, double t) {
  const double age = t - kLightUp;
  if (age < 0 || age > 0.8) return;
  const double k = age / 0.8;
  cairo_new_path(cr);
  CirclePath(cr, kBulbX, kGlassY, 110 + 360 * k);
  Stroke(cr, 14 * (1 - k) + 2, pal::kOchreLight, 0.55 * (1 - k));
}

void Bulb(cairo_t* cr, double t, double light) {
  const double appear = Ease(t, 0.4, 1.2);
  if (appear <= 0) return;
  const double size = kBulbSize * (0.75 + 0.25 * appear);
  cairo_push_group(cr);
  Lightbulb(cr, kBulbX, kBulbY, size);
  // Unlit, the glass is a cool grey; it warms up as the light comes on.
  cairo_set_operator(cr, CAIRO_OPERATOR_ATOP);
  SetColour(cr, Hex(0x5F6470), 0.62 * (1 - light));
  cairo_paint(cr);
  cairo_pop_group_to_source(cr);
  cairo_paint_with_alpha(cr, appear);
}

// The four little shapes of the menu's logo, popping in one after another.
void Motifs(cairo_t* cr, double t) {
  const double y = 636;
  for (int i = 0; i < 4; ++i) {
    const double s = Ease(t, 2.7 + 0.15 * i, 3.0 + 0.15 * i);
    if (s <= 0) continue;
    const double x = 392 + 80 * i;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, s, s);
    switch (i) {
      case 0: FillRoundRect(cr, -16, -16, 32, 32, 6, pal::kOchre); break;
      case 1: FillCircle(cr, 0, 0, 17, pal::kTerracotta); break;
      case 2:
        cairo_new_path(cr);
        cairo_move_to(cr, 0, -18);
        cairo_line_to(cr, 19, 16);
        cairo_line_to(cr, -19, 16);
        cairo_close_path(cr);
        SetColour(cr, pal::kTeal);
        cairo_fill(cr);
        break;
      default: FillRoundRect(cr, -26, -11, 52, 22, 6, pal::kOlive); break;
    }
    cairo_restore(cr);
  }
}

}  // namespace

void DrawPicture(cairo_t* cr, cairo_surface_t* backdrop, double t) {
  cairo_save(cr);
  cairo_set_source_surface(cr, backdrop, 0, 0);
  cairo_paint(cr);
  const double light = Ease(t, kLightUp, kLightUp + 0.35);
  Glow(cr, light, t);
  Flash(cr, t);
  Bulb(cr, t, light);

  // The word mark rises into place under the bulb.
  const double word = Ease(t, 2.0, 2.8);
  if (word > 0) {
    cairo_push_group(cr);
    WordMark(cr, 162, 470 + 36 * (1 - word), 700, 130, 128);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, word);
  }
  Motifs(cr, t);

  // The whole picture comes up out of the dark.
  const double dark = 0.85 * (1 - Ease(t, 0.0, 0.7));
  if (dark > 0) {
    cairo_set_source_rgba(cr, 0, 0, 0, dark);
    cairo_paint(cr);
  }
  cairo_restore(cr);
}

std::vector<int16_t> Chime() {
  using namespace sounds;
  Buffer b = Silence(static_cast<double>(kFrames) / kFramesPerSecond);
  // A faint airy swell while the bulb appears.
  AddNoise(b, 0.3, 1.3, 0.06, 1400, 0.6, 0x1a7e0u);
  // The bulb switches on: a bell-like fifth over a warm low note.
  const std::vector<double> bell = {1.0, 0.0, 0.42, 0.0, 0.18, 0.0, 0.06};
  AddTone(b, kLightUp, 2.8, 523.25, 523.25, 0.22, {1.0, 0.2}, 0.02, 1.1, 0.4);
  AddTone(b, kLightUp, 2.8, 1046.5, 1046.5, 0.45, bell, 0.003, 0.7, 0.4);
  AddTone(b, kLightUp + 0.14, 2.7, 1567.98, 1567.98, 0.34, bell, 0.003, 0.75, 0.4);
  // The word mark arrives on a third, softer.
  AddTone(b, 2.2, 2.6, 1318.51, 1318.51, 0.26, bell, 0.005, 0.8, 0.5);
  return Finish(b, 0.6, 0.01, 0.3);
}

}  // namespace intro
