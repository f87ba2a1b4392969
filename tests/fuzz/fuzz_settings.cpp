// "denkar.cfg": read over the defaults, written back, read again.
#include "data/settings_file.h"
#include "fuzz/fuzz_support.h"
#include "util/app_context.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::EnterScratchFolder();
  fuzz::WriteInput("denkar.cfg", data, size);
  AppContext& app = GetAppContext();
  LoadSettings(app);
  SaveSettings(app);
  LoadSettings(app);
  return 0;
}
