// Lines that must fit a panel: a name inside a line is shortened with an
// ellipsis until the line fits; the rest of the line always stays whole.
#pragma once
#include <functional>
#include <string>

class Font;

// The ellipsis "…" of the Windows-1252 code page.
constexpr char TEXT_ELLIPSIS = '\x85';

// Width in pixels of `text` laid out on one line (0 without a usable font).
int LineWidth(Font* font, const std::string& text);

// Which end of a name survives when it is shortened.
enum class KeepEnd { Start, End };

// The line `build(name)` when it is at most `maxWidth` pixels wide.
// Otherwise the line built around the longest part of the name that fits:
// its start followed by "…" (KeepEnd::Start), or "…" followed by its end
// (KeepEnd::End, for a name being typed). At worst the name is the ellipsis
// alone. Without a usable font the line is built with the whole name.
std::string FitNameInLine(Font* font, int maxWidth, const std::string& name,
                          const std::function<std::string(const std::string&)>& build,
                          KeepEnd keep = KeepEnd::Start);
