// Line layout of Windows-1252 text the way D3DX DrawText places it: hard
// breaks at "\r\n", "\n" and "\r"; with DT_WORDBREAK soft breaks at blanks
// (a word wider than the line is broken at the character that does not fit);
// with DT_SINGLELINE one line where line breaks count as blanks.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>
#include "platform/win_types.h"

// Widths of the characters of one font, by Windows-1252 byte.
class TextMetrics {
 public:
  virtual ~TextMetrics() = default;
  // False when the font has nothing for the byte: it is then skipped
  // entirely (no advance, no kerning with its neighbours).
  virtual bool Advance(unsigned char byte, int* advance) = 0;
  virtual int Kerning(unsigned char left, unsigned char right) = 0;
};

// One laid-out line: the bytes [start, end) of the text and its width in
// pixels (advances plus kerning; blanks at a soft break are not part of it).
struct TextLine {
  int start = 0;
  int end = 0;
  int64_t width = 0;
};

// Fills `lines` (cleared first, its storage reused) with the lines of the
// first `length` bytes of `text` for a rectangle `boxWidth` pixels wide.
// Empty text gives no line; a line break at the very end starts no new line.
void LayoutText(const char* text, size_t length, int64_t boxWidth, DWORD format,
                TextMetrics& metrics, std::vector<TextLine>* lines);

// The character a byte of a line stands for when it is drawn or measured:
// tabs, and in single-line text the line breaks, are blanks; the '\r' of a
// "\r\n" pair in single-line text is skipped (the pair is one blank).
// Returns false for a byte that is skipped.
bool EffectiveByte(const unsigned char* text, int index, int end, bool singleLine,
                   unsigned char* out);

// Calls fn(byte, index, x) for every byte of [start, end) that the font
// draws, x being the pen position from the line's start (kerning applied),
// and returns the line's width.
template <typename Fn>
int64_t WalkLine(const char* text, int start, int end, bool singleLine, TextMetrics& metrics,
                 Fn&& fn) {
  const unsigned char* t = reinterpret_cast<const unsigned char*>(text);
  int64_t x = 0;
  int previous = -1;
  for (int i = start; i < end; ++i) {
    unsigned char b;
    if (!EffectiveByte(t, i, end, singleLine, &b)) continue;
    int advance = 0;
    if (!metrics.Advance(b, &advance)) continue;
    if (previous >= 0) x += metrics.Kerning(static_cast<unsigned char>(previous), b);
    fn(b, i, x);
    x += advance;
    previous = b;
  }
  return x;
}
