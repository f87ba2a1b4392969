// "denkar.cfg" and "stats.sav" in the working directory: read when the
// application record is created, written when it is destroyed.
#pragma once

class AppContext;

void LoadSettings(AppContext& app);        // keys override the defaults already set
bool SaveSettings(const AppContext& app);  // five lines, tab, CR LF; replaces the file safely
void LoadStatistics(AppContext& app);      // creates app.statistics, filled from "stats.sav"
bool SaveStatistics(AppContext& app);      // writes app.statistics
