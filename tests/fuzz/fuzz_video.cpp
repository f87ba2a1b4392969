// The video reader on a file of raw bytes: every picture (scaled small) and
// the sound, as the intro reads them.
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/video_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::EnterScratchFolder();
  fuzz::WriteInput("intro.avi", data, size);
  auto decoder = VideoDecoder::Open("intro.avi", 44100, 2);
  if (!decoder) return 0;
  VideoPicture picture;
  std::vector<int16_t> sound;
  for (int i = 0; i < 200 && decoder->NextPicture(33, 25, &picture); ++i) {
    decoder->DecodeSoundUntil(picture.time + 0.3);
    sound.clear();
    decoder->TakeSound(&sound);
  }
  decoder->DecodeSoundUntil(decoder->SoundDecodedSeconds() + 1.0);
  return 0;
}
