// The glyph cache of one font: for each of the 256 Windows-1252 bytes the
// glyph's metrics and its coverage mask, rasterised on first use (the ten
// digits together with the first glyph) and kept,
// plus a pair table of kerning values filled as pairs are met.
#pragma once
#include <cstdint>
#include <vector>
#include "gfx/text_layout.h"
#include "platform/render_device.h"

class FontFace;

struct GlyphEntry {
  enum State : uint8_t { Unknown, Present, Absent };
  State state = Unknown;
  uint32_t codepoint = 0;
  int width = 0, height = 0;  // mask size
  int left = 0, top = 0;      // mask origin from the pen position on the baseline
  int advance = 0;
  size_t offset = 0;          // first mask byte in GlyphAtlas::masks (rows of `width` bytes)
};

struct GlyphAtlas : TextMetrics {
  explicit GlyphAtlas(const FontFace* face) : face(face) {}
  // The store refers to this atlas's own masks.
  GlyphAtlas(const GlyphAtlas&) = delete;
  GlyphAtlas& operator=(const GlyphAtlas&) = delete;

  // The entry of a byte, rasterising its glyph the first time it is asked for.
  const GlyphEntry& Entry(unsigned char byte);
  const uint8_t* Mask(const GlyphEntry& e) const { return masks.data() + e.offset; }

  bool Advance(unsigned char byte, int* advance) override;
  int Kerning(unsigned char left, unsigned char right) override;

  const FontFace* face;
  GlyphEntry entries[256];
  std::vector<uint8_t> masks;         // all coverage masks, one after the other, only ever added to
  MaskStore store{&masks};            // the masks as the device refers to them
  std::vector<int16_t> kerning;       // 256 x 256 pairs, made on first use
  std::vector<TextLine> lines;        // reused by every layout of this font
  int rasterised = 0;                 // glyphs rendered by the face so far
  static inline long long rasterisedByAll = 0;  // by every font of the process

 private:
  const GlyphEntry& Make(unsigned char byte);
  bool digitsMade_ = false;
};
