#include "util/app_context.h"

#include "data/language.h"
#include "data/settings_file.h"
#include "framework/stats_record.h"

namespace {
// The record while its constructor runs: code reached from the loaders that
// asks for the application record gets this one instead of starting a second
// construction of the static.
AppContext* g_underConstruction = nullptr;
}  // namespace

AppContext::AppContext() {
  g_underConstruction = this;
  // The statistics first, then the settings over the defaults, then the texts
  // of the language the settings chose.
  LoadStatistics(*this);
  LoadSettings(*this);
  LoadLanguage(*this, language);
  g_underConstruction = nullptr;
}

AppContext::~AppContext() {
  SaveSettings(*this);
  SaveStatistics(*this);
  delete statistics;
  statistics = nullptr;
  langTexts.Clear();
}

AppContext& GetAppContext() {
  if (g_underConstruction) return *g_underConstruction;
  static AppContext app;
  return app;
}
