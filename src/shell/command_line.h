// The program's command line: options for headless runs, scripted input and
// screenshots (see README.md).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct CommandLine {
  bool headless = false;     // offscreen device, silent audio, virtual clock
  int frames = -1;           // leave after this many frames (-1: no limit)
  std::string screenshot;    // the last frame as PNG (empty: none)
  bool seedGiven = false;
  uint32_t seed = 0;         // where the millisecond tick count starts
  bool windowed = false;     // start in a window whatever the settings say
  std::string inputFile;     // input script (empty: none)
  bool dateGiven = false;    // the calendar date is fixed (--date)
  int dateYear = 0, dateMonth = 0, dateDay = 0;
  bool help = false;
};

// Parses the arguments after the program name. False for an unknown option, a
// missing or malformed value; *error then says which.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine* out, std::string* error);

// A date written YYYY-MM-DD that exists in the Gregorian calendar, with a
// year from 1000 to 9900 (the date game's answers keep four-digit years).
bool ParseDate(const std::string& text, int* year, int* month, int* day);

// The text --help prints.
std::string UsageText();

// Strict decimal parsing: optional sign (when allowed), digits only, in range.
bool ParseInteger(const std::string& text, long long minimum, long long maximum, long long* out);
