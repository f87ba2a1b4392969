#include "gfx/font.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <strings.h>
#include "gfx/glyph_atlas.h"
#include "gfx/sprite.h"
#include "gfx/text_layout.h"
#include "platform/font_face.h"
#include "platform/render_device.h"
#include "util/app_context.h"

namespace {

// The largest cell height a font is made with: far above anything the
// 768-pixel screen shows, and it keeps glyph masks small.
constexpr int MAX_CELL_HEIGHT = 1000;

// The requested height as a cell height in whole pixels (truncated). A height
// that is not a number, not positive or absurdly large is brought into range
// instead of being converted blindly.
int CellHeightFor(double size) {
  if (!std::isfinite(size)) return 15;
  const double magnitude = std::fabs(size);
  if (magnitude < 1) return 15;
  return static_cast<int>(std::min<double>(magnitude, MAX_CELL_HEIGHT));
}

void CopyFaceName(char (&dest)[32], const char* source) {
  std::memset(dest, 0, sizeof dest);
  if (source) std::strncpy(dest, source, sizeof dest - 1);
}

int ClampToInt(int64_t v) {
  // Far enough from the int limits that adding a mask size cannot overflow.
  return static_cast<int>(std::clamp<int64_t>(v, -(int64_t{1} << 30), int64_t{1} << 30));
}

int TruncToInt(float v) {
  if (!(v > -1e9f)) return v != v ? 0 : -1000000000;  // NaN gives 0
  if (!(v < 1e9f)) return 1000000000;
  return static_cast<int>(v);
}

int64_t LineLeft(const RECT& rect, DWORD format, int64_t lineWidth) {
  if (format & DT_CENTER) return rect.left + (int64_t{rect.right} - rect.left - lineWidth) / 2;
  if (format & DT_RIGHT) return rect.right - lineWidth;
  return rect.left;
}

int64_t BlockTop(const RECT& rect, DWORD format, int64_t blockHeight) {
  if (format & DT_VCENTER) return rect.top + (int64_t{rect.bottom} - rect.top - blockHeight) / 2;
  if (format & DT_BOTTOM) return rect.bottom - blockHeight;
  return rect.top;
}

}  // namespace

// ---------------------------------------------------------------- Font

Font::Font(const char* faceName, double size, int id) : id(id), size(size) {
  CopyFaceName(this->faceName, faceName);
  face_ = FontFace::Open(this->faceName, CellHeightFor(size));
  atlas_ = std::make_unique<GlyphAtlas>(face_.get());
}

Font::~Font() = default;

// Glyph masks live in ordinary memory and survive a device reset, so the
// flag only records the state the caller has put the font in.
void Font::OnLostDevice() {
  if (!lost) lost = true;
}

void Font::OnResetDevice() {
  if (lost) lost = false;
}

int Font::CellHeight() const { return face_ ? face_->CellHeight() : 0; }

int Font::Ascent() const { return face_ ? face_->Ascent() : 0; }

int Font::GlyphsRasterised() const { return atlas_->rasterised; }

int Font::DrawText(const char* text, const RECT& rect, DWORD format, D3DCOLOR colour) {
  if (!text || !*text || !face_) return 0;
  std::vector<TextLine>& lines = atlas_->lines;
  LayoutText(text, std::strlen(text), int64_t{rect.right} - rect.left, format, *atlas_, &lines);
  const int cell = face_->CellHeight();
  const int64_t blockHeight = static_cast<int64_t>(lines.size()) * cell;
  const int64_t top = BlockTop(rect, format, blockHeight);
  const int64_t result = (format & (DT_VCENTER | DT_BOTTOM)) ? top + blockHeight - rect.top : blockHeight;
  const int height = ClampToInt(result);
  if (format & DT_CALCRECT) return height;

  RenderDevice* device = GetAppContext().device;
  if (!device || (colour >> 24) == 0) return height;
  const RECT clip = (format & DT_NOCLIP) ? RECT{INT_MIN, INT_MIN, INT_MAX, INT_MAX} : rect;
  // Lines wholly above or below what can show are passed over; the margin
  // leaves room for marks that reach beyond the cell.
  const int64_t visibleTop = std::max<int64_t>(0, clip.top) - cell;
  const int64_t visibleBottom = std::min<int64_t>(device->Height(), clip.bottom) + cell;
  const bool singleLine = (format & DT_SINGLELINE) != 0;
  int64_t lineTop = top;
  for (const TextLine& line : lines) {
    if (lineTop + cell > visibleTop && lineTop < visibleBottom) {
      const int64_t left = LineLeft(rect, format, line.width);
      const int64_t baseline = lineTop + face_->Ascent();
      WalkLine(text, line.start, line.end, singleLine, *atlas_,
               [&](unsigned char b, int, int64_t x) {
                 const GlyphEntry& e = atlas_->entries[b];
                 if (e.width == 0 || e.height == 0) return;
                 device->DrawStoredMask(atlas_->store, e.offset, e.width, e.height,
                                        ClampToInt(left + x + e.left), ClampToInt(baseline - e.top),
                                        colour, clip);
               });
    }
    lineTop += cell;
  }
  return height;
}

void Font::MeasureText(const char* text, const RECT& rect, DWORD format, int* width, int* height,
                       int* lineCount) {
  int64_t widest = 0;
  size_t count = 0;
  if (text && *text && face_) {
    std::vector<TextLine>& lines = atlas_->lines;
    LayoutText(text, std::strlen(text), int64_t{rect.right} - rect.left, format, *atlas_, &lines);
    for (const TextLine& line : lines) widest = std::max(widest, line.width);
    count = lines.size();
  }
  if (width) *width = ClampToInt(widest);
  if (height) *height = ClampToInt(static_cast<int64_t>(count) * CellHeight());
  if (lineCount) *lineCount = ClampToInt(static_cast<int64_t>(count));
}

// ---------------------------------------------------------------- FontManager

// The application record is made first, so it outlives the manager. The
// manager's destructor never touches it.
FontManager::FontManager() : app(&GetAppContext()) {
  defaultFont = new Font("Arial", 15, -1);
}

FontManager::~FontManager() { Clear(); }

Font* FontManager::AddFont(const char* faceName, double size) {
  // The name as a font would store it, so a name cut at the buffer's length
  // still finds its font.
  char name[sizeof(Font::faceName)];
  CopyFaceName(name, faceName);
  for (int i = 0; i < fonts.Count(); ++i) {
    Font* font = fonts.Get(i);
    if (font && font->size == size && strcasecmp(font->faceName, name) == 0) return font;
  }
  Font* font = new Font(name, size, fontCount);
  fonts.Insert(font);
  ++fontCount;
  return font;
}

Font* FontManager::FindFont(int fontId) {
  for (int i = 0; i < fonts.Count(); ++i) {
    Font* font = fonts.Get(i);
    if (font && font->id == fontId) return font;
  }
  return defaultFont;
}

void FontManager::DrawTextItem(const TextItem& item) {
  if (app && app->sprite) app->sprite->SetTransform(Matrix2D{});
  if (item.font) item.font->DrawText(item.text, item.rect, item.format, item.colour);
}

void FontManager::DrawTextRect(const char* text, int left, int top, int right, int bottom,
                               D3DCOLOR colour, DWORD format, int fontId) {
  TextItem item;
  item.text = text;
  item.rect = RECT{left, top, right, bottom};
  item.colour = colour;
  item.format = format;
  item.font = FindFont(fontId);
  DrawTextItem(item);
}

void FontManager::DrawTextScreen(const char* text, D3DCOLOR colour, DWORD format, int fontId) {
  DrawTextScreen(text, colour, format, FindFont(fontId));
}

void FontManager::DrawTextScreen(const char* text, D3DCOLOR colour, DWORD format, Font* font) {
  TextItem item;
  item.text = text;
  item.rect = RECT{0, 0, app ? app->screenWidth : 1024, app ? app->screenHeight : 768};
  item.colour = colour;
  item.format = format;
  item.font = font;
  DrawTextItem(item);
}

void FontManager::DrawTextAt(const char* text, float x, float y, D3DCOLOR colour, DWORD format,
                             int fontId) {
  DrawTextAt(text, x, y, colour, format, FindFont(fontId));
}

void FontManager::DrawTextAt(const char* text, float x, float y, D3DCOLOR colour, DWORD format,
                             Font* font) {
  TextItem item;
  item.text = text;
  item.rect = AnchorRect(x, y, format, app ? app->screenWidth : 1024, app ? app->screenHeight : 768);
  item.colour = colour;
  item.format = format;
  item.font = font;
  DrawTextItem(item);
}

RECT FontManager::AnchorRect(float x, float y, DWORD format, int screenWidth, int screenHeight) {
  RECT r;
  if (format & DT_CENTER) {
    const int d = TruncToInt(static_cast<float>(screenWidth / 2) - x);
    r.left = -d;
    r.right = screenWidth - d;
  } else if (format & DT_RIGHT) {
    r.left = 0;
    r.right = TruncToInt(x);
  } else {
    r.left = TruncToInt(x);
    r.right = screenWidth;
  }
  if (format & DT_VCENTER) {
    const int e = TruncToInt(static_cast<float>(screenHeight / 2) - y);
    r.top = -e;
    r.bottom = screenHeight - e;
  } else {
    r.top = TruncToInt(y);
    r.bottom = screenHeight + r.top;
  }
  return r;
}

void FontManager::OnLostDevice() {
  if (defaultFont) defaultFont->OnLostDevice();
  for (int i = 0; i < fonts.Count(); ++i)
    if (Font* font = fonts.Get(i)) font->OnLostDevice();
}

void FontManager::OnResetDevice() {
  if (defaultFont) defaultFont->OnResetDevice();
  for (int i = 0; i < fonts.Count(); ++i)
    if (Font* font = fonts.Get(i)) font->OnResetDevice();
}

void FontManager::Clear() {
  delete defaultFont;
  defaultFont = nullptr;
  fonts.Clear();
}

FontManager& GetFontManager() {
  static FontManager manager;
  return manager;
}

void PrepareFonts() { FontFace::PrepareInBackground({"Comic Sans MS", "Arial"}); }
