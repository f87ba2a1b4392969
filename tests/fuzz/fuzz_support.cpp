#include "fuzz/fuzz_support.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>

namespace fuzz {

void EnterScratchFolder() {
  static bool entered = false;
  if (entered) return;
  char folder[] = "/tmp/denkar_fuzz_XXXXXX";
  if (mkdtemp(folder) && chdir(folder) == 0) entered = true;
}

void WriteInput(const char* name, const uint8_t* data, size_t size) {
  FILE* f = std::fopen(name, "wb");
  if (!f) return;
  if (size) std::fwrite(data, 1, size, f);
  std::fclose(f);
}

}  // namespace fuzz
