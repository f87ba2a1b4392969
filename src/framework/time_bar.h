// The time bar every mini-game draws at the top centre while it runs.
#pragma once

class Font;

// texMenu2 (0, 700, 300, 750) at (screen width / 2 - 150, 0) with language
// text 63 formatted with the minutes and seconds of the truncated play time,
// black, centred in that 300 x 50 rectangle in the given font.
// `integerFormatter`: format text 63 like wsprintf (integer directives only),
// as the games that use the Windows formatter do. `secondLine`: a text drawn
// under the time in the same bar, after a line break (null: none).
void DrawTimeBar(double playTime, Font* font, bool integerFormatter = false,
                 const char* secondLine = nullptr);

// Whole seconds of a play time for on-screen texts: truncated, negative or
// undefined values as 0, values beyond the int range clamped to it.
int WholeSecondsOf(double seconds);
