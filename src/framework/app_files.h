// The files the application record is filled from at start-up and written
// back to at exit: "stats.sav", "denkar.cfg" and the language file.
#pragma once

class AppContext;

// Creates the statistics record from "stats.sav", reads the settings over the
// defaults, loads the language the settings chose, and arranges for the
// settings and statistics to be written when the record ends at process exit.
// Only the first call reads; later calls return at once.
void OpenApplicationFiles(AppContext& app);

void LoadStatistics(AppContext& app);  // creates app.statistics, filled from "stats.sav"
bool SaveStatistics(AppContext& app);  // writes app.statistics
