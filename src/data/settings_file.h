// "denkar.cfg" in the working directory: read at start-up, written at exit.
#pragma once

class AppContext;

void LoadSettings(AppContext& app);        // keys override the defaults already set
bool SaveSettings(const AppContext& app);  // five lines, tab, CR LF; replaces the file safely
