// denkar_intro: renders the game's intro clip with cairo and writes it as
// AVI (MPEG-4 (simple profile) pictures, PCM sound). The same bytes on every run.
//
//   denkar_intro FILE [--review DIR]
//
// --review DIR   also writes every 25th picture and the last one as PNG
#include <cairo.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "cairo_kit.h"
#include "clip_writer.h"
#include "intro_art.h"
#include "sheets.h"
#include "sounds.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: denkar_intro FILE [--review DIR]\n");
    return 2;
  }
  std::string review;
  for (int i = 2; i + 1 < argc; i += 2)
    if (std::strcmp(argv[i], "--review") == 0) review = argv[i + 1];

  cairo_surface_t* backdrop = DrawSheetBg();
  clip::ClipSettings settings;
  settings.width = intro::kWidth;
  settings.height = intro::kHeight;
  settings.framesPerSecond = intro::kFramesPerSecond;
  settings.frames = intro::kFrames;
  settings.quality = 4;
  settings.keyFrameInterval = intro::kFrames;
  settings.sampleRate = sounds::kSampleRate;
  settings.sound = intro::Chime();
  bool reviewOk = true;
  const auto draw = [&](int index, uint8_t* pixels, int stride) {
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        pixels, CAIRO_FORMAT_ARGB32, intro::kWidth, intro::kHeight, stride);
    cairo_t* cr = cairo_create(surface);
    intro::DrawPicture(cr, backdrop, static_cast<double>(index) / intro::kFramesPerSecond);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    if (!review.empty() && (index % 25 == 0 || index + 1 == intro::kFrames)) {
      char name[64];
      std::snprintf(name, sizeof name, "/intro_%03d.png", index);
      reviewOk = kit::WritePng(surface, (review + name).c_str()) && reviewOk;
    }
    cairo_surface_destroy(surface);
  };
  std::string error;
  const bool ok = clip::WriteClip(argv[1], settings, draw, &error);
  cairo_surface_destroy(backdrop);
  if (!ok) {
    std::fprintf(stderr, "denkar_intro: %s: %s\n", argv[1], error.c_str());
    return 1;
  }
  if (!reviewOk) std::fprintf(stderr, "denkar_intro: cannot write the review pictures\n");
  return 0;
}
