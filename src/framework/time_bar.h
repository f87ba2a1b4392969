// The time bar every mini-game draws at the top centre while it runs.
#pragma once

class Font;

// texMenu2 (0, 700, 300, 750) at (screen width / 2 - 150, 0) with language
// text 63 formatted with the minutes and seconds of the truncated play time,
// black, centred in that 300 x 50 rectangle.
void DrawTimeBar(double playTime, Font* font);
