// A font face found by name through fontconfig and rasterised with SDL2_ttf.
// "Arial" maps to Liberation Sans Bold, "Comic Sans MS" to Comic Neue Bold,
// any other name to the closest bold sans face; opening never fails while any
// font is installed.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct GlyphBitmap {
  int width = 0, height = 0;   // coverage mask size
  int left = 0, top = 0;       // mask origin relative to the pen position on the baseline:
                               // mask pixel (0,0) lies at (penX + left, baselineY - top)
  int advance = 0;             // pen advance in pixels
  std::vector<uint8_t> coverage;  // width * height, 0..255
};

class FontFace {
 public:
  // cellHeight: the character cell height in pixels (ascent + descent), as
  // D3DX fonts take it.
  static std::unique_ptr<FontFace> Open(const char* faceName, int cellHeight);
  // Starts the font libraries (fontconfig reads its configuration and caches)
  // and finds the files of these faces on a thread of its own, so that work
  // overlaps other start-up work. Open waits for it to finish.
  static void PrepareInBackground(std::vector<std::string> faceNames);
  static void FinishPreparing();  // waits for the preparation, if any
  ~FontFace();

  int Ascent() const { return ascent_; }
  int Descent() const { return descent_; }  // positive, below the baseline
  int CellHeight() const { return ascent_ + descent_; }
  bool RenderGlyph(uint32_t codepoint, GlyphBitmap* out) const;  // false when the face lacks it
  int Kerning(uint32_t left, uint32_t right) const;

  const std::string& FamilyName() const { return family_; }  // of the face file opened
  const std::string& FilePath() const { return file_; }
  bool SyntheticBold() const { return syntheticBold_; }  // only a regular face was found
  int PointSize() const { return pointSize_; }

 private:
  FontFace() = default;
  void* font_ = nullptr;  // TTF_Font
  int ascent_ = 0, descent_ = 0;
  int pointSize_ = 0;
  bool syntheticBold_ = false;
  std::string family_, file_;
};
