// denkar_assets: draws the sixteen texture sheets, synthesises the eight
// sound effects, reads the thirteen picture files and writes them all into
// OUTDIR/sport.gob. The output is the same byte for byte on every run.
//
//   denkar_assets OUTDIR [--review DIR] [--catalogue FILE] [--pictures DIR]
//
// --review DIR      also writes every sheet with its rectangles outlined and
//                   labelled, and a preview of every picture file
// --catalogue FILE  writes the rectangle lists as text (read by the tests)
// --pictures DIR    folder of "bb_0" ... "bb_12" (default: the source tree's)
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cairo_kit.h"
#include "gob_writer.h"
#include "sheets.h"
#include "sounds.h"

#ifndef DENKAR_PICTURE_DIR
#define DENKAR_PICTURE_DIR "assets/pictures"
#endif

namespace {

struct Sheet {
  const char* member;
  cairo_surface_t* (*draw)();
};

// In the order the game loads them.
const Sheet kSheets[] = {
    {"splash.PNG", DrawSheetSplash},
    {"misc1.PNG", DrawSheetMisc1},
    {"misc2.PNG", DrawSheetMisc2},
    {"misc3.PNG", DrawSheetMisc3},
    {"misc4.PNG", DrawSheetMisc4},
    {"menu1.PNG", DrawSheetMenu1},
    {"menu2.PNG", DrawSheetMenu2},
    {"menu3.PNG", DrawSheetMenu3},
    {"back1.PNG", [] { return DrawSheetBack(1); }},
    {"back2.PNG", [] { return DrawSheetBack(2); }},
    {"back3.PNG", [] { return DrawSheetBack(3); }},
    {"back4.PNG", [] { return DrawSheetBack(4); }},
    {"MemoryCards1.png", [] { return DrawSheetMemoryCards(1); }},
    {"MemoryCards2.png", [] { return DrawSheetMemoryCards(2); }},
    {"Memory_Muster.PNG", DrawSheetMemoryMuster},
    {"bg.PNG", DrawSheetBg},
};

const char* AlphaName(SheetRect::Alpha a) {
  switch (a) {
    case SheetRect::Opaque: return "opaque";
    case SheetRect::CutOut: return "cutout";
    default: return "any";
  }
}

// The sheet over a checkerboard, key texels shown as transparent, each
// rectangle outlined and labelled.
bool WriteReview(cairo_surface_t* sheet, const std::vector<SheetRect>& rects, const std::string& path) {
  const int w = cairo_image_surface_get_width(sheet), h = cairo_image_surface_get_height(sheet);
  cairo_surface_t* shown = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  {
    cairo_t* cr = cairo_create(shown);
    cairo_set_source_surface(cr, sheet, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
  }
  cairo_surface_flush(shown);
  {
    unsigned char* data = cairo_image_surface_get_data(shown);
    const int stride = cairo_image_surface_get_stride(shown);
    for (int y = 0; y < h; ++y) {
      auto* row = reinterpret_cast<uint32_t*>(data + (size_t)y * stride);
      for (int x = 0; x < w; ++x)
        if (row[x] == kit::kColourKey) row[x] = 0;
    }
    cairo_surface_mark_dirty(shown);
  }
  cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
  cairo_t* cr = cairo_create(out);
  for (int y = 0; y < h; y += 8)
    for (int x = 0; x < w; x += 8) {
      const double v = ((x / 8 + y / 8) % 2) ? 0.78 : 0.92;
      cairo_set_source_rgb(cr, v, v, v);
      cairo_rectangle(cr, x, y, 8, 8);
      cairo_fill(cr);
    }
  cairo_set_source_surface(cr, shown, 0, 0);
  cairo_paint(cr);
  kit::SelectFont(cr, kit::Family::Sans, 10);
  for (const SheetRect& r : rects) {
    cairo_new_path(cr);
    cairo_rectangle(cr, r.left + 0.5, r.top + 0.5, r.right - r.left - 1, r.bottom - r.top - 1);
    cairo_set_source_rgba(cr, r.alpha == SheetRect::Opaque ? 0.0 : 0.85, 0.1,
                          r.alpha == SheetRect::CutOut ? 0.9 : 0.1, 0.9);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_text_extents_t e;
    cairo_text_extents(cr, r.label, &e);
    cairo_rectangle(cr, r.left + 1, r.top + 1, e.x_advance + 4, 12);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.8);
    cairo_fill(cr);
    cairo_move_to(cr, r.left + 3, r.top + 10);
    cairo_set_source_rgb(cr, 0.6, 0, 0);
    cairo_show_text(cr, r.label);
  }
  cairo_destroy(cr);
  const bool ok = kit::WritePng(out, path.c_str());
  cairo_surface_destroy(out);
  cairo_surface_destroy(shown);
  return ok;
}

// One shape of a picture file, as far as the preview needs it.
struct Shape {
  bool target = true;
  int type = 0, rotation = 0;
  double x = 0, y = 0, sx = 0, sy = 0, size = 1.0;
};

std::vector<Shape> ParsePicture(const std::string& text) {
  std::vector<Shape> shapes;
  std::istringstream in(text);
  std::string word;
  bool target = true;
  while (in >> word) {
    if (word == "ZIELOBJEKT_START") target = true;
    else if (word == "BAUOBJEKT_START") target = false;
    else if (word == "OBJEKT_START") {
      Shape s;
      s.target = target;
      while (in >> word && word != "OBJEKT_END") {
        if (word == "POSITON:") in >> s.x >> s.y;
        else if (word == "SCALE:") in >> s.sx >> s.sy;
        else if (word == "ROT:") in >> s.rotation;
        else if (word == "TYP:") in >> s.type;
        else if (word == "SFACTOR:") in >> s.size;
      }
      s.rotation = ((s.rotation % 360) + 360) % 360;
      shapes.push_back(s);
    }
  }
  return shapes;
}

// The picture as the game lays it out: targets grey, extra shapes in colour.
bool WritePicturePreview(const std::string& text, const std::string& path) {
  cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1024, 768);
  cairo_t* cr = cairo_create(out);
  kit::SetColour(cr, kit::pal::kCream);
  cairo_paint(cr);
  cairo_rectangle(cr, 362, 0, 300, 50);
  kit::SetColour(cr, kit::pal::kSand);
  cairo_fill(cr);
  for (const Shape& s : ParsePicture(text)) {
    cairo_save(cr);
    cairo_translate(cr, s.x, s.y);
    cairo_rotate(cr, s.rotation * M_PI / 180.0);
    cairo_scale(cr, s.size * s.sx, s.size * s.sy);
    cairo_new_path(cr);
    switch (s.type) {
      case 0: cairo_rectangle(cr, -50, -50, 100, 100); break;
      case 1: kit::CirclePath(cr, 0, 0, 50); break;
      case 2:
        cairo_move_to(cr, 0, -50);
        cairo_line_to(cr, 43.3, 25);
        cairo_line_to(cr, -43.3, 25);
        cairo_close_path(cr);
        break;
      default: cairo_rectangle(cr, -50, -25, 100, 50); break;
    }
    cairo_restore(cr);
    if (s.target) cairo_set_source_rgba(cr, 0.37, 0.37, 0.37, 0.75);
    else kit::SetColour(cr, kit::pal::kTerracotta, 0.8);
    cairo_fill_preserve(cr);
    kit::Stroke(cr, 1, kit::pal::kInk);
  }
  cairo_destroy(cr);
  const bool ok = kit::WritePng(out, path.c_str());
  cairo_surface_destroy(out);
  return ok;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "denkar_assets: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::string outDir, reviewDir, catalogueFile, pictureDir = DENKAR_PICTURE_DIR;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if ((a == "--review" || a == "--catalogue" || a == "--pictures") && i + 1 < argc) {
      (a == "--review" ? reviewDir : a == "--catalogue" ? catalogueFile : pictureDir) = argv[++i];
    } else if (a.size() > 0 && a[0] != '-' && outDir.empty()) {
      outDir = a;
    } else {
      std::fprintf(stderr,
                   "usage: denkar_assets OUTDIR [--review DIR] [--catalogue FILE] [--pictures DIR]\n");
      return 2;
    }
  }
  if (outDir.empty()) return Fail("no output folder given");
  std::error_code ec;
  std::filesystem::create_directories(outDir, ec);
  if (!reviewDir.empty()) std::filesystem::create_directories(reviewDir, ec);

  std::vector<gob::Member> members;
  std::string catalogue;
  for (const Sheet& sheet : kSheets) {
    cairo_surface_t* s = sheet.draw();
    if (!s || cairo_surface_status(s) != CAIRO_STATUS_SUCCESS ||
        cairo_image_surface_get_format(s) != CAIRO_FORMAT_ARGB32)
      return Fail(std::string("drawing ") + sheet.member + " failed");
    gob::Member m{sheet.member, {}};
    if (!kit::EncodePng(s, &m.bytes)) return Fail(std::string("cannot encode ") + sheet.member);
    const std::vector<SheetRect> rects = SheetCatalogue(sheet.member);
    for (const SheetRect& r : rects) {
      char line[512];
      std::snprintf(line, sizeof line, "%s\t%s\t%d\t%d\t%d\t%d\t%s\t%d\n", sheet.member, r.label, r.left,
                    r.top, r.right, r.bottom, AlphaName(r.alpha), r.uniform ? 1 : 0);
      catalogue += line;
    }
    if (!reviewDir.empty() &&
        !WriteReview(s, rects, reviewDir + "/" + std::string(sheet.member) + ".review.png"))
      return Fail(std::string("cannot write the review of ") + sheet.member);
    cairo_surface_destroy(s);
    members.push_back(std::move(m));
  }
  for (sounds::Effect& e : sounds::BuildEffects()) members.push_back({e.member, std::move(e.wave)});
  for (int n = 0; n <= 12; ++n) {
    const std::string name = "bb_" + std::to_string(n);
    gob::Member m{name, {}};
    if (!gob::ReadFile(pictureDir + "/" + name, &m.bytes) || m.bytes.empty())
      return Fail("cannot read picture file " + pictureDir + "/" + name);
    if (!reviewDir.empty() &&
        !WritePicturePreview(std::string(m.bytes.begin(), m.bytes.end()),
                             reviewDir + "/" + name + ".review.png"))
      return Fail("cannot write the preview of " + name);
    members.push_back(std::move(m));
  }
  std::string error;
  if (!gob::Write(outDir + "/sport.gob", members, &error)) return Fail(error);
  if (!catalogueFile.empty()) {
    const std::filesystem::path parent = std::filesystem::path(catalogueFile).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, ec);
    if (!gob::WriteFileAtomically(catalogueFile, std::vector<uint8_t>(catalogue.begin(), catalogue.end())))
      return Fail("cannot write " + catalogueFile);
  }
  // Drop cairo's font and pattern caches so leak checkers see a clean exit.
  cairo_debug_reset_static_data();
  return 0;
}
