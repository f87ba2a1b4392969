#include "framework/app_files.h"

#include "data/language.h"
#include "data/settings_file.h"
#include "framework/stats_record.h"
#include "util/app_context.h"

namespace {

constexpr const char* STATISTICS_FILE = "stats.sav";

void WriteApplicationFiles(AppContext& app) {
  SaveSettings(app);
  SaveStatistics(app);
  delete app.statistics;
  app.statistics = nullptr;
}

}  // namespace

void OpenApplicationFiles(AppContext& app) {
  if (app.atExit == &WriteApplicationFiles) return;
  // The statistics first, then the settings over the defaults, then the texts
  // of the language the settings chose.
  LoadStatistics(app);
  LoadSettings(app);
  LoadLanguage(app, app.language);
  app.atExit = &WriteApplicationFiles;
}

void LoadStatistics(AppContext& app) {
  delete app.statistics;
  app.statistics = new StatsRecord();
  app.statistics->LoadFile(STATISTICS_FILE);
}

bool SaveStatistics(AppContext& app) {
  // Without a loaded record there is nothing to write, and writing an empty
  // one would wipe the file.
  if (!app.statistics) return false;
  return app.statistics->SaveFile(STATISTICS_FILE);
}
