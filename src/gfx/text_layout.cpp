#include "gfx/text_layout.h"

namespace {

bool IsBlank(unsigned char b) { return b == ' ' || b == '\t'; }

int64_t LineWidth(const char* text, int start, int end, bool singleLine, TextMetrics& metrics) {
  return WalkLine(text, start, end, singleLine, metrics, [](unsigned char, int, int64_t) {});
}

void AddLine(const char* text, int start, int end, TextMetrics& metrics,
             std::vector<TextLine>* lines) {
  lines->push_back(TextLine{start, end, LineWidth(text, start, end, false, metrics)});
}

// Breaks the hard line [start, end) into lines no wider than boxWidth.
void WrapLine(const char* text, int start, int end, int64_t boxWidth, TextMetrics& metrics,
              std::vector<TextLine>* lines) {
  const unsigned char* t = reinterpret_cast<const unsigned char*>(text);
  int pos = start;
  bool first = true;
  while (first || pos < end) {
    first = false;
    int64_t x = 0;
    int previous = -1;
    int breakEnd = -1;   // end of the content before the last blank run
    int breakNext = -1;  // first byte after that blank run
    int lineEnd = end;
    int next = end;
    bool drewAny = false;
    bool inBlanks = false;
    for (int i = pos; i < end; ++i) {
      unsigned char b;
      if (!EffectiveByte(t, i, end, false, &b)) continue;
      if (IsBlank(b)) {
        // A blank may hang over the edge; it only marks a place to break.
        if (drewAny && !inBlanks) breakEnd = i;
        breakNext = i + 1;
        inBlanks = true;
      }
      int advance = 0;
      if (!metrics.Advance(b, &advance)) continue;
      const int64_t kern = previous >= 0 ? metrics.Kerning(static_cast<unsigned char>(previous), b) : 0;
      if (!IsBlank(b) && x + kern + advance > boxWidth) {
        if (breakEnd > pos) {
          lineEnd = breakEnd;  // at the last blank before this word
          next = breakNext;
        } else if (drewAny) {
          lineEnd = i;  // the word alone is too wide: break it here
          next = i;
        } else {
          lineEnd = i + 1;  // not even one character fits: it goes alone
          next = i + 1;
        }
        break;
      }
      x += kern + advance;
      previous = b;
      if (!IsBlank(b)) {
        drewAny = true;
        inBlanks = false;
      }
    }
    AddLine(text, pos, lineEnd, metrics, lines);
    if (next >= end) break;
    pos = next;
    // The blanks at a soft break belong to neither line.
    while (pos < end && IsBlank(t[pos])) ++pos;
    if (pos >= end) break;
  }
}

}  // namespace

bool EffectiveByte(const unsigned char* text, int index, int end, bool singleLine,
                   unsigned char* out) {
  unsigned char b = text[index];
  if (b == '\t') {
    b = ' ';
  } else if (singleLine && (b == '\r' || b == '\n')) {
    if (b == '\r' && index + 1 < end && text[index + 1] == '\n') return false;
    b = ' ';
  }
  *out = b;
  return true;
}

void LayoutText(const char* text, size_t length, int64_t boxWidth, DWORD format,
                TextMetrics& metrics, std::vector<TextLine>* lines) {
  lines->clear();
  if (!text || length == 0) return;
  // Lines are indexed with int; longer texts are cut (no text comes near this).
  const int n = length > 0x3FFFFFFF ? 0x3FFFFFFF : static_cast<int>(length);
  if (format & DT_SINGLELINE) {
    lines->push_back(TextLine{0, n, LineWidth(text, 0, n, true, metrics)});
    return;
  }
  const bool wrap = (format & DT_WORDBREAK) != 0;
  int start = 0;
  while (start < n) {
    int end = start;
    while (end < n && text[end] != '\n' && text[end] != '\r') ++end;
    if (wrap) {
      WrapLine(text, start, end, boxWidth, metrics, lines);
    } else {
      AddLine(text, start, end, metrics, lines);
    }
    if (end >= n) break;
    start = end + ((text[end] == '\r' && end + 1 < n && text[end + 1] == '\n') ? 2 : 1);
  }
}
