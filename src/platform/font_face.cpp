// Font faces: fontconfig finds a bold face file for the requested family,
// SDL2_ttf opens it at the point size whose ascent + descent comes closest to
// the requested cell height, and renders single glyphs as coverage masks.
#include "platform/font_face.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <strings.h>
#include <thread>

namespace {

struct FaceFile {
  std::string path;
  int index = 0;
  bool bold = true;
};

bool EnsureLibraries() {
  static const bool ready = [] {
    if (!FcInit()) return false;
    // Releases fontconfig's caches at exit; open faces do not need them.
    std::atexit(FcFini);
    return TTF_WasInit() > 0 || TTF_Init() == 0;
  }();
  return ready && TTF_WasInit() > 0;
}

// The families that stand in for the Windows faces the game names.
const char* SubstituteFamily(const char* name) {
  if (!name || !*name) return "Liberation Sans";
  if (strcasecmp(name, "Arial") == 0) return "Liberation Sans";
  if (strcasecmp(name, "Comic Sans MS") == 0) return "Comic Neue";
  return name;
}

bool FileFromPattern(FcPattern* font, FaceFile* out) {
  FcChar8* file = nullptr;
  if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch || !file) return false;
  int index = 0;
  if (FcPatternGetInteger(font, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
  int weight = FC_WEIGHT_REGULAR;
  if (FcPatternGetInteger(font, FC_WEIGHT, 0, &weight) != FcResultMatch) weight = FC_WEIGHT_REGULAR;
  out->path = reinterpret_cast<const char*>(file);
  out->index = index;
  out->bold = weight >= FC_WEIGHT_DEMIBOLD;
  return true;
}

// fontconfig's best bold, scalable match for the family (it falls back to its
// default sans-serif faces for unknown names).
bool MatchFamily(const char* family, FaceFile* out) {
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return false;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
  FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_BOLD);
  FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return false;
  const bool ok = FileFromPattern(match, out);
  FcPatternDestroy(match);
  return ok;
}

// Matches already made, by family: every size of a face asks again.
std::map<std::string, FaceFile> g_matches;

bool MatchFamilyOnce(const char* family, FaceFile* out) {
  if (auto it = g_matches.find(family); it != g_matches.end()) {
    *out = it->second;
    return true;
  }
  if (!MatchFamily(family, out)) return false;
  g_matches[family] = *out;
  return true;
}

// The preparation started by PrepareInBackground; joined before any font
// work on the calling thread, and at the latest when the program ends.
struct Preparation {
  std::thread thread;
  void Finish() {
    if (thread.joinable()) thread.join();
  }
  ~Preparation() { Finish(); }
};
Preparation g_preparation;

// Every font file fontconfig knows, bold faces first.
std::vector<FaceFile> AllFontFiles() {
  std::vector<FaceFile> files;
  FcPattern* pattern = FcPatternCreate();
  FcObjectSet* objects = FcObjectSetBuild(FC_FILE, FC_INDEX, FC_WEIGHT, nullptr);
  FcFontSet* set = (pattern && objects) ? FcFontList(nullptr, pattern, objects) : nullptr;
  if (set) {
    for (int i = 0; i < set->nfont; ++i) {
      FaceFile f;
      if (FileFromPattern(set->fonts[i], &f)) files.push_back(f);
    }
    FcFontSetDestroy(set);
  }
  if (objects) FcObjectSetDestroy(objects);
  if (pattern) FcPatternDestroy(pattern);
  std::stable_sort(files.begin(), files.end(),
                   [](const FaceFile& a, const FaceFile& b) { return a.bold && !b.bold; });
  return files;
}

int MeasuredCell(TTF_Font* font) { return TTF_FontAscent(font) - TTF_FontDescent(font); }

// Point size whose ascent + descent is closest to the cell height (ties go
// to the smaller size). Leaves the font set to that size.
int FitPointSize(TTF_Font* font, int startSize, int cellHeight) {
  auto measure = [font](int pt) { return TTF_SetFontSize(font, pt) == 0 ? MeasuredCell(font) : -1; };
  int pt = startSize;
  int h = measure(pt);
  for (int step = 0; step < 8 && h > 0; ++step) {
    const int next = std::max(1, static_cast<int>(std::lround(static_cast<double>(pt) * cellHeight / h)));
    if (next == pt) break;
    pt = next;
    h = measure(pt);
  }
  int best = pt, bestDiff = h > 0 ? std::abs(h - cellHeight) : 1 << 30;
  for (int candidate = std::max(1, pt - 3); candidate <= pt + 3; ++candidate) {
    const int ch = measure(candidate);
    if (ch <= 0) continue;
    const int diff = std::abs(ch - cellHeight);
    if (diff < bestDiff || (diff == bestDiff && candidate < best)) {
      best = candidate;
      bestDiff = diff;
    }
  }
  measure(best);
  return best;
}

}  // namespace

void FontFace::PrepareInBackground(std::vector<std::string> faceNames) {
  if (g_preparation.thread.joinable()) return;
  g_preparation.thread = std::thread([names = std::move(faceNames)] {
    if (EnsureLibraries()) {
      FaceFile f;
      for (const std::string& name : names) MatchFamilyOnce(SubstituteFamily(name.c_str()), &f);
      MatchFamilyOnce("DejaVu Sans", &f);
    }
    SDL_TLSCleanup();  // any per-thread data SDL made for this thread
  });
}

void FontFace::FinishPreparing() { g_preparation.Finish(); }

std::unique_ptr<FontFace> FontFace::Open(const char* faceName, int cellHeight) {
  g_preparation.Finish();
  if (!EnsureLibraries()) return nullptr;
  // D3DX reads a height of 0 as "default" and a negative one as the em size;
  // both are taken as a plain cell height here.
  if (cellHeight == 0) cellHeight = 16;
  cellHeight = std::clamp(std::abs(cellHeight), 1, 2048);

  std::vector<FaceFile> candidates;
  FaceFile f;
  if (MatchFamilyOnce(SubstituteFamily(faceName), &f)) candidates.push_back(f);
  if (MatchFamilyOnce("DejaVu Sans", &f)) candidates.push_back(f);
  bool listed = false;

  for (size_t i = 0;; ++i) {
    if (i == candidates.size()) {
      if (listed) break;
      listed = true;
      for (const FaceFile& any : AllFontFiles()) candidates.push_back(any);
      if (i == candidates.size()) break;
    }
    const FaceFile& c = candidates[i];
    TTF_Font* font = TTF_OpenFontIndex(c.path.c_str(), cellHeight, c.index);
    if (!font) continue;
    // The face file is bold already; only a regular face is emboldened.
    TTF_SetFontStyle(font, c.bold ? TTF_STYLE_NORMAL : TTF_STYLE_BOLD);
    const int pt = FitPointSize(font, cellHeight, cellHeight);
    if (MeasuredCell(font) <= 0) {
      TTF_CloseFont(font);
      continue;
    }
    std::unique_ptr<FontFace> face(new FontFace());
    face->font_ = font;
    face->pointSize_ = pt;
    face->ascent_ = TTF_FontAscent(font);
    face->descent_ = -TTF_FontDescent(font);
    face->syntheticBold_ = !c.bold;
    face->file_ = c.path;
    const char* family = TTF_FontFaceFamilyName(font);
    face->family_ = family ? family : "";
    return face;
  }
  return nullptr;
}

FontFace::~FontFace() {
  // Fonts must not be closed once the font library has been shut down.
  if (font_ && TTF_WasInit() > 0) TTF_CloseFont(static_cast<TTF_Font*>(font_));
}

bool FontFace::RenderGlyph(uint32_t codepoint, GlyphBitmap* out) const {
  if (!out || !font_) return false;
  auto* font = static_cast<TTF_Font*>(font_);
  if (!TTF_GlyphIsProvided32(font, codepoint)) return false;
  int minx = 0, maxx = 0, miny = 0, maxy = 0, advance = 0;
  if (TTF_GlyphMetrics32(font, codepoint, &minx, &maxx, &miny, &maxy, &advance) != 0) return false;

  GlyphBitmap g;
  g.advance = advance;
  g.left = minx;
  g.top = maxy;
  const int w = maxx - minx, h = maxy - miny;
  if (w <= 0 || h <= 0) {  // blank glyph (a space): only the advance
    *out = std::move(g);
    return true;
  }
  const SDL_Color white = {255, 255, 255, 255};
  SDL_Surface* rendered = TTF_RenderGlyph32_Blended(font, codepoint, white);
  if (!rendered) return false;
  SDL_Surface* argb = rendered->format->format == SDL_PIXELFORMAT_ARGB8888
                          ? rendered
                          : SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
  if (!argb) {
    SDL_FreeSurface(rendered);
    return false;
  }
  // The renderer places the pen at column max(0, -minx) and the baseline at
  // row ascent + max(0, maxy - ascent) of its surface.
  const int ascent = TTF_FontAscent(font);
  const int originX = std::max(0, -minx) + minx;
  const int originY = std::max(0, maxy - ascent) + ascent - maxy;
  g.width = w;
  g.height = h;
  g.coverage.assign(static_cast<size_t>(w) * h, 0);
  const bool mustLock = SDL_MUSTLOCK(argb);
  if (!mustLock || SDL_LockSurface(argb) == 0) {
    for (int y = 0; y < h; ++y) {
      const int sy = originY + y;
      if (sy < 0 || sy >= argb->h) continue;
      const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(argb->pixels) +
                                                          static_cast<size_t>(sy) * argb->pitch);
      for (int x = 0; x < w; ++x) {
        const int sx = originX + x;
        if (sx < 0 || sx >= argb->w) continue;
        g.coverage[static_cast<size_t>(y) * w + x] = static_cast<uint8_t>(row[sx] >> 24);
      }
    }
    if (mustLock) SDL_UnlockSurface(argb);
  }
  if (argb != rendered) SDL_FreeSurface(argb);
  SDL_FreeSurface(rendered);
  *out = std::move(g);
  return true;
}

int FontFace::Kerning(uint32_t left, uint32_t right) const {
  if (!font_) return 0;
  return TTF_GetFontKerningSizeGlyphs32(static_cast<TTF_Font*>(font_), left, right);
}
