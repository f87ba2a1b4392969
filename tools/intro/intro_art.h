// The pictures and the sound of the game's intro clip: the menu backdrop
// fades in, the light bulb appears and lights up with a soft chime, then the
// word mark "Denkarium" rises in under it with the game's little motifs.
#pragma once
#include <cairo.h>
#include <cstdint>
#include <vector>

namespace intro {

constexpr int kWidth = 1024, kHeight = 768;
constexpr int kFramesPerSecond = 25;
constexpr int kFrames = 125;  // five seconds
constexpr double kLightUp = 1.6;  // seconds: the bulb lights up, the chime sounds

// Draws the picture at `seconds` onto cr (kWidth x kHeight); `backdrop` is
// the menu background sheet.
void DrawPicture(cairo_t* cr, cairo_surface_t* backdrop, double seconds);

// The clip's sound: mono 16-bit at sounds::kSampleRate, as long as the clip.
std::vector<int16_t> Chime();

}  // namespace intro
