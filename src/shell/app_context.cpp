#include "shell/app_context.h"

#include "data/language.h"
#include "data/settings_file.h"
#include "framework/stats_record.h"

AppContext::AppContext() {
  LoadStatistics(*this);  // "stats.sav"
  LoadSettings(*this);    // "denkar.cfg" overrides the defaults
  LoadLanguage(*this, language);
}

AppContext::~AppContext() {
  SaveSettings(*this);
  SaveStatistics(*this);
  delete statistics;
  statistics = nullptr;
  langTexts.Clear();
}

AppContext& GetAppContext() {
  static AppContext app;
  return app;
}
