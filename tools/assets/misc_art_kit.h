// Drawing helpers of the four game sprite sheets misc1 ... misc4, on top of
// the shared cairo kit: soft lighting of round pieces, centred lettering and
// the 1-pixel guard rings around sprites that the game draws magnified.
#pragma once
#include <cairo.h>
#include <cstdint>

#include "cairo_kit.h"

namespace miscart {

using Rgb = kit::Colour;
using kit::AvoidColourKey;
using kit::BeginCell;
using kit::CirclePath;
using kit::Darker;
using kit::Hex;
using kit::Lighter;
using kit::Mix;
using kit::NewSheet;
using kit::RoundRectPath;
using kit::SetColour;
using kit::SolidRect;
using kit::VerticalGradient;

// The colours of the game pieces, drawn from the shared palette.
namespace pal {
inline constexpr Rgb kInk = kit::pal::kInk;            // outlines, hands, symbols
inline constexpr Rgb kCream = kit::pal::kCream;        // light faces
inline constexpr Rgb kBrass = Hex(0xD8A94A);           // balance, clock bezel (ochre metal)
inline constexpr Rgb kBrassDark = Hex(0x98702C);
inline constexpr Rgb kWood = Hex(0xA56D4B);
inline constexpr Rgb kWoodDark = Hex(0x6E452F);
inline constexpr Rgb kAccent = kit::pal::kTerracotta;  // warm highlight
inline constexpr Rgb kGreen = Hex(0x4FA866);           // "right"
}  // namespace pal

// An ellipse path centred on (cx, cy) with radii rx, ry.
void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry);

// A radial light: `light` at the focus (fx, fy), fading to `dark` at radius r
// around (cx, cy), set as the source.
void RadialLight(cairo_t* cr, double cx, double cy, double r, Rgb light, Rgb dark,
                 double fx, double fy, double alpha = 1.0);

// Fills a disc with soft shading: lit from the upper left, with a darker rim
// of width `rim` that gives the edge a crisp outline.
void ShadedDisc(cairo_t* cr, double cx, double cy, double r, Rgb base, double rim = 2.0);

// Lettering in the shared families.
enum class Face { Sans, Round };
void SelectFont(cairo_t* cr, Face face, double size, bool bold = true);
// Fills `text` in the current source with its ink box centred on (cx, cy).
void TextCentred(cairo_t* cr, const char* text, double cx, double cy);
// Adds `text`, centred the same way, to the current path.
void TextCentredPath(cairo_t* cr, const char* text, double cx, double cy);

// Copies the outermost texels of the rectangle (left, top, right, bottom) one
// texel outwards on the sides named, so that a filtered, magnified draw of
// the sprite does not blend in its surroundings. A corner of the ring is
// filled when both adjoining sides are named.
enum : unsigned { kGuardLeft = 1, kGuardTop = 2, kGuardRight = 4, kGuardBottom = 8, kGuardAll = 15 };
void GuardRing(cairo_surface_t* s, int left, int top, int right, int bottom,
               unsigned sides = kGuardAll);

}  // namespace miscart
