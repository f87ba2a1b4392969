// Random places for round pieces (cards, lamps) spread over the screen so
// that no two of them overlap.
#pragma once
#include <vector>

struct DiscCentre {
  float x = 0, y = 0;
};

// Distance between two points of the screen.
double CentreDistance(float ax, float ay, float bx, float by);

// Centres for `count` discs of diameter `size` on the current screen. Each
// centre is drawn as y = rand() mod (H - 2 size - 2 margin) + size + margin,
// then x = rand() mod (W - 2 margin - 2 size) + size + margin, and drawn again
// (both) while it lies closer than `size` to a centre placed before. A layout
// that leaves no free spot for the next disc starts again from scratch; after
// a bounded number of layouts (a screen too small for the discs) the last one
// keeps its discs where its draws put them, overlapping. Always returns
// `count` centres.
std::vector<DiscCentre> ScatterDiscs(int count, double size, int margin);
