#include "gfx/glyph_atlas.h"

#include <algorithm>
#include "gfx/cp1252.h"
#include "platform/font_face.h"

namespace {
constexpr int16_t KERNING_UNKNOWN = INT16_MIN;
}

const GlyphEntry& GlyphAtlas::Entry(unsigned char byte) {
  GlyphEntry& e = entries[byte];
  if (e.state != GlyphEntry::Unknown) return e;
  // The digits come with the first glyph of the font: clocks and counters
  // show a new digit now and then, which should not cost a rasterising in
  // the middle of play.
  if (!digitsMade_) {
    digitsMade_ = true;
    for (unsigned char digit = '0'; digit <= '9'; ++digit) Make(digit);
  }
  return Make(byte);
}

const GlyphEntry& GlyphAtlas::Make(unsigned char byte) {
  GlyphEntry& e = entries[byte];
  if (e.state != GlyphEntry::Unknown) return e;
  e.state = GlyphEntry::Absent;
  e.codepoint = Cp1252ToUnicode(byte);
  // Control characters have no picture; undefined bytes convert to 0.
  if (!face || e.codepoint < 0x20 || e.codepoint == 0x7F) return e;
  GlyphBitmap bitmap;
  ++rasterised;
  ++rasterisedByAll;
  if (!face->RenderGlyph(e.codepoint, &bitmap)) return e;
  const size_t size = static_cast<size_t>(std::max(bitmap.width, 0)) * std::max(bitmap.height, 0);
  if (bitmap.coverage.size() < size) return e;  // a mask shorter than it says is not used
  e.state = GlyphEntry::Present;
  e.width = size ? bitmap.width : 0;
  e.height = size ? bitmap.height : 0;
  e.left = bitmap.left;
  e.top = bitmap.top;
  e.advance = bitmap.advance;
  e.offset = masks.size();
  masks.insert(masks.end(), bitmap.coverage.begin(), bitmap.coverage.begin() + size);
  return e;
}

bool GlyphAtlas::Advance(unsigned char byte, int* advance) {
  const GlyphEntry& e = Entry(byte);
  if (e.state != GlyphEntry::Present) return false;
  *advance = e.advance;
  return true;
}

int GlyphAtlas::Kerning(unsigned char left, unsigned char right) {
  if (!face) return 0;
  if (kerning.empty()) kerning.assign(256 * 256, KERNING_UNKNOWN);
  int16_t& k = kerning[left * 256 + right];
  if (k == KERNING_UNKNOWN) {
    const int value = face->Kerning(entries[left].codepoint, entries[right].codepoint);
    k = static_cast<int16_t>(std::clamp(value, -32767, 32767));
  }
  return k;
}
