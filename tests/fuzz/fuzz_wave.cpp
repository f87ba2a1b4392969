// The WAV reader on raw bytes.
#include <vector>

#include "audio/wave_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WaveFile wave;
  wave.OpenFromMemory(std::vector<uint8_t>(data, data + size));
  return 0;
}
