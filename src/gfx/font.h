// Fonts and text drawing: Font (one face at one size, glyphs rasterised once
// into an atlas), the FontManager singleton and the TextItem value record.
// Texts are Windows-1252 strings laid out like D3DX DrawText.
#pragma once
#include <memory>
#include "platform/win_types.h"
#include "util/ptr_list.h"

class AppContext;
class FontFace;
struct GlyphAtlas;

class Font {
 public:
  Font(const char* faceName, double size, int id);
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  void OnLostDevice();
  void OnResetDevice();

  // Draws text into rect with the DT_* flags (used by FontManager) and
  // returns the height of the text block; with DT_VCENTER or DT_BOTTOM the
  // distance from rect.top to the block's bottom. DT_CALCRECT only measures.
  int DrawText(const char* text, const RECT& rect, DWORD format, D3DCOLOR colour);
  // Size of the laid-out text as DrawText would place it in rect: the width
  // of the widest line, lines x cell height, and the number of lines; used
  // by tests and layout checks. Any output pointer may be null.
  void MeasureText(const char* text, const RECT& rect, DWORD format, int* width, int* height,
                   int* lineCount = nullptr);
  int CellHeight() const;
  int Ascent() const;
  bool HasFace() const { return face_ != nullptr; }  // false: the font draws nothing
  // Glyphs rendered by the face so far; drawing a text a second time adds none.
  int GlyphsRasterised() const;

  int id = 0;
  char faceName[32] = {};
  double size = 0;
  bool lost = false;

 private:
  std::unique_ptr<FontFace> face_;
  std::unique_ptr<GlyphAtlas> atlas_;
};

struct TextItem {
  const char* text = nullptr;
  RECT rect{};
  D3DCOLOR colour = 0xFF000000;
  DWORD format = 0;
  Font* font = nullptr;
};

class FontManager {
 public:
  FontManager();
  ~FontManager();

  // A font of the face and size; an existing font of the same face and size is
  // returned instead of making another.
  Font* AddFont(const char* faceName, double size);
  void DrawTextItem(const TextItem& item);
  void DrawTextRect(const char* text, int left, int top, int right, int bottom, D3DCOLOR colour,
                    DWORD format, int fontId);
  void DrawTextScreen(const char* text, D3DCOLOR colour, DWORD format, int fontId);
  void DrawTextScreen(const char* text, D3DCOLOR colour, DWORD format, Font* font);
  void DrawTextAt(const char* text, float x, float y, D3DCOLOR colour, DWORD format, int fontId);
  void DrawTextAt(const char* text, float x, float y, D3DCOLOR colour, DWORD format, Font* font);
  // The rectangle DrawTextAt uses for an anchor point.
  static RECT AnchorRect(float x, float y, DWORD format, int screenWidth, int screenHeight);
  Font* FindFont(int fontId);  // the default font when no font has that id
  void OnLostDevice();
  void OnResetDevice();
  void Clear();

  PtrList<Font> fonts{true};
  Font* defaultFont = nullptr;
  int fontCount = 0;
  AppContext* app = nullptr;
};

FontManager& GetFontManager();
// Starts the font libraries and finds the files of the game's two faces
// (the menus' Comic Sans MS and the default Arial) in the background; the
// first font made waits for it.
void PrepareFonts();
