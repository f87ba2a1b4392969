// Writes a short clip as AVI: MPEG-4 (simple profile) pictures and 16-bit PCM sound,
// codecs every FFmpeg build carries. Written bit-exact with no metadata, so
// the same pictures and sound give the same file byte for byte.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace clip {

struct ClipSettings {
  int width = 0, height = 0;  // even sizes
  int framesPerSecond = 25;
  int frames = 0;
  int quality = 4;            // quantiser 2 (best) ... 31 (smallest)
  int keyFrameInterval = 50;  // pictures from one key picture to the next
  int sampleRate = 0;         // 0: no sound
  std::vector<int16_t> sound;  // mono samples from the start of the clip
};

// Draws picture `index` into `pixels`: width x height words 0xAARRGGBB (as
// cairo's ARGB32, opaque), rows `stride` bytes apart.
using DrawPicture = std::function<void(int index, uint8_t* pixels, int stride)>;

// False with a reason in *error when the file cannot be written.
bool WriteClip(const std::string& path, const ClipSettings& settings, const DrawPicture& draw,
               std::string* error);

}  // namespace clip
