// The data file "sport.gob": the directory, member lookup by name, the
// member stream and the WAV reader on whatever the members hold.
#include <string>
#include <vector>

#include "audio/wave_file.h"
#include "data/data_file.h"
#include "data/member_stream.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::EnterScratchFolder();
  fuzz::WriteInput("fuzz.gob", data, size);
  FILE* file = OpenDataFile("fuzz.gob");
  if (!file) return 0;
  for (const char* name : {"misc1.PNG", "Sounds\\win.wav", "Sounds\\pop.wav", "bb_0", "a", ""}) {
    uint32_t memberSize = 0;
    FindMember(file, name, &memberSize);
    std::vector<uint8_t> bytes;
    if (ReadMember(file, name, &bytes)) {
      WaveFile wave;
      wave.OpenFromMemory(bytes);
    }
    MemberStream text(file, name);
    if (text.stream) {
      std::string word;
      while (*text.stream >> word) {
      }
    }
    WaveFile wave;
    wave.OpenFromDataFile(file, name);
  }
  CloseDataFile(file);
  return 0;
}
