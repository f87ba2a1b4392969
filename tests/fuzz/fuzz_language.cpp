// A language file: the loader, then every text through the formatter with the
// kinds of arguments the game passes.
#include "data/language.h"
#include "fuzz/fuzz_support.h"
#include "util/app_context.h"
#include "util/format_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  AppContext& app = GetAppContext();
  ParseLanguageText(app, fuzz::AsText(data, size));
  const int count = app.langTexts.Count();
  for (int n = 0; n < count && n < 400; ++n) {
    const char* text = GetLangText(n);
    FormatText(text, {n, 2.5, "Name", 7, 1999});
    FormatText(text, {1.25});
    FormatTextWin(text, {12, 34});
  }
  GetLangText(-1);
  GetLangText(count);
  return 0;
}
