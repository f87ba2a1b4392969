// "denkar.cfg": read over the defaults. (Writing is left out: each save
// waits for the disk, which would slow the fuzzer down a thousandfold.)
#include "data/settings_file.h"
#include "fuzz/fuzz_support.h"
#include "util/app_context.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::EnterScratchFolder();
  fuzz::WriteInput("denkar.cfg", data, size);
  AppContext& app = GetAppContext();
  app.fullscreen = true;
  app.language = 0;
  app.soundVolume = app.musicVolume = 100;
  app.playIntro = true;
  LoadSettings(app);
  return 0;
}
