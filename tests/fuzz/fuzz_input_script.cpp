// Input scripts given with --input.
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "shell/input_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<ScriptCommand> commands;
  std::string error;
  ParseInputScript(fuzz::AsText(data, size), "fuzz.txt", &commands, &error);
  return 0;
}
