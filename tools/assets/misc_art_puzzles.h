// The three 200 x 200 sliding-puzzle pictures of misc1.PNG. Each is fully
// opaque and has distinct detail in every region, so that tiles of a 3 x 3,
// 4 x 4 or 5 x 5 cut can be told apart.
#pragma once
#include <cairo.h>

namespace miscart {

void DrawPuzzleLandscape(cairo_t* cr, int left, int top);  // a house by a river
void DrawPuzzleCity(cairo_t* cr, int left, int top);       // a colourful street at dusk
// An abstract pattern over a two-way colour gradient, with numbered discs.
void DrawPuzzleAbstract(cairo_t* cr, cairo_surface_t* s, int left, int top);

}  // namespace miscart
