#include "gfx/fit_text.h"

#include "gfx/font.h"

int LineWidth(Font* font, const std::string& text) {
  if (!font || !font->HasFace() || text.empty()) return 0;
  int width = 0;
  font->MeasureText(text.c_str(), RECT{0, 0, 1 << 20, 1 << 20}, DT_LEFT | DT_SINGLELINE, &width,
                    nullptr);
  return width;
}

std::string FitNameInLine(Font* font, int maxWidth, const std::string& name,
                          const std::function<std::string(const std::string&)>& build, KeepEnd keep) {
  std::string line = build(name);
  if (name.empty() || !font || !font->HasFace() || LineWidth(font, line) <= maxWidth) return line;
  auto shortened = [&](size_t kept) {
    return keep == KeepEnd::Start ? name.substr(0, kept) + TEXT_ELLIPSIS
                                  : TEXT_ELLIPSIS + name.substr(name.size() - kept);
  };
  // The widest line that fits: the width grows with every character kept,
  // so the number of characters is searched by halving.
  size_t low = 0, high = name.size() - 1;  // `low` characters always go (at worst the ellipsis alone)
  while (low < high) {
    const size_t middle = (low + high + 1) / 2;
    if (LineWidth(font, build(shortened(middle))) <= maxWidth) low = middle;
    else high = middle - 1;
  }
  // Blanks right at the cut would stand between the name and the ellipsis.
  size_t kept = low;
  if (keep == KeepEnd::Start)
    while (kept > 0 && name[kept - 1] == ' ') --kept;
  else
    while (kept > 0 && name[name.size() - kept] == ' ') --kept;
  return build(shortened(kept));
}
