// The formatter with hostile formats: the input is the format, and the
// arguments are the mixes the game passes.
#include <string>

#include "fuzz/fuzz_support.h"
#include "util/format_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string format = fuzz::AsText(data, size);
  FormatText(format.c_str(), {});
  FormatText(format.c_str(), {1, 2, 3});
  FormatText(format.c_str(), {1e308, -0.0, "x", 2147483647});
  FormatText(format.c_str(), {static_cast<const char*>(nullptr), 5});
  FormatTextWin(format.c_str(), {7, "Name", -1});
  FormatTextWin(format.c_str(), {2.5});
  return 0;
}
