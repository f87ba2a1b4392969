// misc3.PNG: twelve colour schemes of the grid cells and lamps, each as an
// unlit and a lit rounded square. The same images serve as square cells of
// the pattern games and as round-ish lamps of the lamp sequence game, so the
// corners are generously rounded and transparent.
#include "misc_art_kit.h"
#include "sheets.h"

using namespace miscart;

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 512;
constexpr double kCorner = 15;

const uint32_t kSchemes[12] = {
    0xE8473C,  // red
    0xF28A2E,  // orange
    0xF6CF36,  // yellow
    0x4DB653,  // green
    0x35C3D6,  // cyan
    0x4479E0,  // blue
    0x9A5FD8,  // violet
    0xE556AE,  // magenta
    0xC98838,  // amber
    0xA4D43A,  // lime
    0x25B29C,  // turquoise
    0xEDEFF2,  // silver white
};

int CellLeft(int scheme) { return (scheme % 6) * 100; }
int CellTop(int scheme, bool lit) { return (scheme / 6) * 200 + (lit ? 150 : 50); }

// Unlit: a dark, dull version of the colour with a faint bevel.
void DrawUnlit(cairo_t* cr, int scheme) {
  const int x = CellLeft(scheme), y = CellTop(scheme, false);
  const Rgb base = Hex(kSchemes[scheme]);
  const Rgb dull = Darker(Mix(base, Hex(0x6A625C), 0.3), scheme == 11 ? 0.5 : 0.45);
  BeginCell(cr, x, y, x + 50, y + 50);
  RoundRectPath(cr, x, y, 50, 50, kCorner);
  SetColour(cr, Darker(dull, 0.35));
  cairo_fill(cr);
  RoundRectPath(cr, x + 2, y + 2, 46, 46, kCorner - 2);
  VerticalGradient(cr, y + 2, y + 48, Darker(dull, 0.12), Lighter(dull, 0.06));
  cairo_fill(cr);
  // A dim glass reflection, so the lamp still reads as a lamp when off.
  RoundRectPath(cr, x + 8, y + 6, 34, 12, 6);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.10);
  cairo_fill(cr);
  cairo_restore(cr);
}

// Lit: bright and glowing, with a hot centre and a glassy highlight.
void DrawLit(cairo_t* cr, int scheme) {
  const int x = CellLeft(scheme), y = CellTop(scheme, true);
  const Rgb base = Hex(kSchemes[scheme]);
  BeginCell(cr, x, y, x + 50, y + 50);
  RoundRectPath(cr, x, y, 50, 50, kCorner);
  SetColour(cr, Darker(base, scheme == 11 ? 0.28 : 0.18));
  cairo_fill(cr);
  RoundRectPath(cr, x + 2, y + 2, 46, 46, kCorner - 2);
  RadialLight(cr, x + 25, y + 25, 30, Lighter(base, 0.6), base, x + 25, y + 24);
  cairo_fill(cr);
  RoundRectPath(cr, x + 8, y + 5, 34, 13, 6.5);
  VerticalGradient(cr, y + 5, y + 18, Hex(0xFFFFFF), Lighter(base, 0.5), 0.75);
  cairo_fill(cr);
  cairo_restore(cr);
}

}  // namespace

cairo_surface_t* DrawSheetMisc3() {
  cairo_surface_t* s = NewSheet(kWidth, kHeight);
  cairo_t* cr = cairo_create(s);
  for (int scheme = 0; scheme < 12; ++scheme) {
    DrawUnlit(cr, scheme);
    DrawLit(cr, scheme);
  }
  cairo_destroy(cr);
  // The cells are drawn up to twice their size: repeat their edges outwards.
  for (int scheme = 0; scheme < 12; ++scheme)
    for (bool lit : {false, true}) {
      const int x = CellLeft(scheme), y = CellTop(scheme, lit);
      GuardRing(s, x, y, x + 50, y + 50);
    }
  AvoidColourKey(s);
  return s;
}

std::vector<SheetRect> CatalogueMisc3() {
  static const char* const kNames[12][2] = {
      {"red off", "red on"},         {"orange off", "orange on"},
      {"yellow off", "yellow on"},   {"green off", "green on"},
      {"cyan off", "cyan on"},       {"blue off", "blue on"},
      {"violet off", "violet on"},   {"magenta off", "magenta on"},
      {"amber off", "amber on"},     {"lime off", "lime on"},
      {"turquoise off", "turquoise on"}, {"silver off", "silver on"}};
  std::vector<SheetRect> r;
  for (int scheme = 0; scheme < 12; ++scheme)
    for (int lit = 0; lit < 2; ++lit) {
      const int x = CellLeft(scheme), y = CellTop(scheme, lit != 0);
      r.push_back({kNames[scheme][lit], x, y, x + 50, y + 50, SheetRect::CutOut});
    }
  return r;
}
