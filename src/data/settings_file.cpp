#include "data/settings_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "util/app_context.h"
#include "util/safe_file.h"
#include "util/text_scanner.h"

namespace {

constexpr const char* SETTINGS_FILE = "denkar.cfg";

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
  // Only the first characters of a word are kept: enough to compare it with
  // a key or to read a number.
  TextScanner in(std::move(text));
  std::string word, valueWord;
  while (in.Next(word, 64)) {
    const bool isKey = word == "FULLSCREEN:" || word == "SPRACHE:" || word == "SOUND:" ||
                       word == "MUSIK:" || word == "INTRO:";
    if (!isKey) continue;
    if (!in.Next(valueWord, 64)) break;  // a key at the very end has no value
    const int value = WordToInt(valueWord);
    if (word == "FULLSCREEN:") app.fullscreen = value != 0;
    else if (word == "SPRACHE:") app.language = value == 1 ? 1 : 0;  // two languages; others mean German
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
