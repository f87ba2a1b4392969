#include "data/settings_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "framework/stats_record.h"
#include "util/app_context.h"
#include "util/safe_file.h"

namespace {

constexpr const char* SETTINGS_FILE = "denkar.cfg";
constexpr const char* STATISTICS_FILE = "stats.sav";

bool IsSpace(unsigned char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Whitespace-separated words of the file; only the first characters of a word
// are kept (enough to compare it with a key or to read a number).
std::string NextWord(const std::string& text, size_t& pos) {
  while (pos < text.size() && IsSpace(static_cast<unsigned char>(text[pos]))) ++pos;
  std::string word;
  while (pos < text.size() && !IsSpace(static_cast<unsigned char>(text[pos]))) {
    if (word.size() < 64) word += text[pos];
    ++pos;
  }
  return word;
}

// Like atoi (leading digits, 0 without any), but a value beyond the int range
// is clamped instead of being undefined.
int WordToInt(const std::string& word) {
  errno = 0;
  const long long v = std::strtoll(word.c_str(), nullptr, 10);
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}

}  // namespace

void LoadSettings(AppContext& app) {
  std::string text;
  if (!ReadWholeFile(SETTINGS_FILE, &text)) return;
  size_t pos = 0;
  while (true) {
    const std::string word = NextWord(text, pos);
    if (word.empty()) break;
    const bool isKey = word == "FULLSCREEN:" || word == "SPRACHE:" || word == "SOUND:" ||
                       word == "MUSIK:" || word == "INTRO:";
    if (!isKey) continue;
    const std::string valueWord = NextWord(text, pos);
    if (valueWord.empty()) break;  // a key at the very end has no value
    const int value = WordToInt(valueWord);
    if (word == "FULLSCREEN:") app.fullscreen = value != 0;
    else if (word == "SPRACHE:") app.language = value;
    else if (word == "SOUND:") app.soundVolume = value;
    else if (word == "MUSIK:") app.musicVolume = value;
    else app.playIntro = value != 0;
  }
}

bool SaveSettings(const AppContext& app) {
  std::string text;
  text += "FULLSCREEN:\t" + std::to_string(app.fullscreen ? 1 : 0) + "\r\n";
  text += "SPRACHE:\t" + std::to_string(app.language) + "\r\n";
  text += "SOUND:\t" + std::to_string(app.soundVolume) + "\r\n";
  text += "MUSIK:\t" + std::to_string(app.musicVolume) + "\r\n";
  text += "INTRO:\t" + std::to_string(app.playIntro ? 1 : 0) + "\r\n";
  return WriteFileSafely(SETTINGS_FILE, text);
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
