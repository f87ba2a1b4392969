#include "shell/command_line.h"

#include <cerrno>
#include <cstdlib>

#include "Denkar_Spiele/Datum.h"

bool ParseInteger(const std::string& text, long long minimum, long long maximum, long long* out) {
  if (text.empty() || text.size() > 20) return false;
  size_t i = (text[0] == '-' || text[0] == '+') ? 1 : 0;
  if (i == text.size()) return false;
  for (size_t k = i; k < text.size(); ++k)
    if (text[k] < '0' || text[k] > '9') return false;
  errno = 0;
  char* end = nullptr;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (errno == ERANGE || *end != '\0' || value < minimum || value > maximum) return false;
  *out = value;
  return true;
}

bool ParseDate(const std::string& text, int* year, int* month, int* day) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  long long y = 0, m = 0, d = 0;
  // The parts are digits only (ParseInteger also takes a sign).
  for (size_t i : {0u, 5u, 8u})
    if (text[i] < '0' || text[i] > '9') return false;
  if (!ParseInteger(text.substr(0, 4), 1000, 9900, &y) || !ParseInteger(text.substr(5, 2), 1, 12, &m) ||
      !ParseInteger(text.substr(8, 2), 1, 31, &d))
    return false;
  if (d > Datum::MonthLength(static_cast<int>(m), static_cast<int>(y))) return false;
  *year = static_cast<int>(y);
  *month = static_cast<int>(m);
  *day = static_cast<int>(d);
  return true;
}

std::string UsageText() {
  return "usage: denkarium [options]\n"
         "  --headless          no window: offscreen rendering, silent audio, virtual clock\n"
         "                      (exactly 1/60 s per frame)\n"
         "  --frames N          leave after N frames as the menu's quit button does\n"
         "                      (settings and statistics are written)\n"
         "  --screenshot FILE   write the last frame as PNG\n"
         "  --seed N            the millisecond tick count starts at N (0 ... 4294967295)\n"
         "  --windowed          start in a window whatever the settings say\n"
         "  --input FILE        play a script of input (see README.md)\n"
         "  --date YYYY-MM-DD   today's date for the whole run, instead of the clock's\n"
         "                      (with --seed a date-game run repeats exactly)\n"
         "  --help              list the options\n";
}

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine* out, std::string* error) {
  CommandLine cmd;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    // Options that take a value read the next argument.
    auto value = [&](std::string* v) {
      if (i + 1 >= args.size()) {
        *error = "option " + a + " needs a value";
        return false;
      }
      *v = args[++i];
      return true;
    };
    std::string v;
    long long n = 0;
    if (a == "--headless") {
      cmd.headless = true;
    } else if (a == "--windowed") {
      cmd.windowed = true;
    } else if (a == "--help" || a == "-h") {
      cmd.help = true;
    } else if (a == "--frames") {
      if (!value(&v)) return false;
      if (!ParseInteger(v, 0, 2147483647LL, &n)) {
        *error = "--frames needs a whole number of frames (0 or more), not '" + v + "'";
        return false;
      }
      cmd.frames = static_cast<int>(n);
    } else if (a == "--seed") {
      if (!value(&v)) return false;
      if (!ParseInteger(v, 0, 4294967295LL, &n)) {
        *error = "--seed needs a number from 0 to 4294967295, not '" + v + "'";
        return false;
      }
      cmd.seedGiven = true;
      cmd.seed = static_cast<uint32_t>(n);
    } else if (a == "--screenshot") {
      if (!value(&v)) return false;
      if (v.empty()) {
        *error = "--screenshot needs a file name";
        return false;
      }
      cmd.screenshot = v;
    } else if (a == "--input") {
      if (!value(&v)) return false;
      if (v.empty()) {
        *error = "--input needs a file name";
        return false;
      }
      cmd.inputFile = v;
    } else if (a == "--date") {
      if (!value(&v)) return false;
      if (!ParseDate(v, &cmd.dateYear, &cmd.dateMonth, &cmd.dateDay)) {
        *error = "--date needs a date YYYY-MM-DD with a year from 1000 to 9900, not '" + v + "'";
        return false;
      }
      cmd.dateGiven = true;
    } else {
      *error = "unknown option '" + a + "'";
      return false;
    }
  }
  *out = cmd;
  return true;
}
