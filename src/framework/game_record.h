// Result records of one mini-game: running totals and the top-10 list of
// named results, kept in the game's own save file as keyword/value tokens.
#pragma once
#include <cstdint>
#include <iosfwd>
#include <string>
#include <utility>
#include "util/ptr_list.h"

// Longest name an entry holds (the buffer keeps one byte for the end mark).
constexpr int HIGHSCORE_NAME_SIZE = 1000;

// Reading and writing the token format shared by the game and the
// statistics files.
namespace record_io {

// Tokens of a save file, separated by any white space. A token keeps at most
// TOKEN_MAX characters; the rest of a longer one is read past.
class TokenReader {
 public:
  static constexpr size_t TOKEN_MAX = 999;
  explicit TokenReader(std::string text) : text_(std::move(text)) {}
  bool Next(std::string& token);  // false at the end of the input
  // The next token as a number when it is one (a finite double, an int in
  // range); otherwise nothing is consumed and the result is false.
  bool NextInt(int32_t& value);
  bool NextDouble(double& value);
  bool Peek(std::string& token);

 private:
  std::string text_;
  size_t pos_ = 0;
};

// A double as a default output stream writes it under the "C" locale:
// six significant digits, plain or exponent form.
std::string Number(double value);
// The name with every blank written as "_" (and, so the file stays readable,
// any other white space as well).
std::string StoredName(const char* name);
// The name as read back: every "_" becomes a blank.
void RestoreName(const std::string& token, char* name);
// True for the keys inside an entry; found right after "NAME:" it means
// the name was empty.
bool IsKnownEntryKey(const std::string& token);

}  // namespace record_io

// One named result of a top-10 list.
struct HighscoreEntry {
  HighscoreEntry();  // today's local date, empty name, grade 0.0
  virtual ~HighscoreEntry() = default;

  // Copies `text` into the name, cut to what the buffer holds.
  void SetName(const char* text);

  int32_t typedLength = 0;  // characters typed so far while the player enters the name
  char name[HIGHSCORE_NAME_SIZE] = {};
  double grade = 0.0;
  int32_t day = 1, month = 1, year = 1970;
};

// A game's totals and its top-10 list (best grade first).
class GameRecord {
 public:
  GameRecord();
  GameRecord(const GameRecord&) = delete;
  GameRecord& operator=(const GameRecord&) = delete;

  // Every total back to its starting value; all entries deleted.
  void Reset();
  // Reads the tokens of a save file into this (freshly reset) record. Stops at
  // the end of the input; damaged parts are skipped.
  void Load(std::istream& in);
  void LoadText(const std::string& text);
  // Reads the named file when it exists; false when it could not be opened.
  bool LoadFile(const char* fileName);
  // Writes the save-file text (CR LF line ends, first 10 entries only).
  void Save(std::ostream& out) const;
  std::string SaveText() const;
  // Replaces the named file safely with SaveText(); false on any error.
  bool SaveFile(const char* fileName) const;

  // One more play with this grade (the very-good count is the caller's).
  void AddResult(double grade);
  // True when the grade would enter the top-10 list.
  bool Qualifies(double grade);
  // Takes ownership; inserts before the first of the first 10 entries with a
  // strictly greater grade, otherwise at the end.
  void InsertEntry(HighscoreEntry* entry);
  PtrList<HighscoreEntry>& Entries() { return entries; }

  double playTime = 0.0;    // "LEVEL_ZEIT:" seconds over all plays
  int32_t veryGoodCount = 0;  // "GELÖST:" plays graded 1.5 or better
  double bestGrade = 6.0;   // "BEST_ERG:"
  double worstGrade = 1.0;  // "SCHL_ERG:"
  int32_t playCount = 0;    // "ANZ_SPIELE:"
  double gradeSum = 0.0;    // "ERGS:"
  int32_t ivar1 = 0, ivar2 = 0, ivar3 = 0;  // spare values, written and read
  double dvar1 = 0.0, dvar2 = 0.0, dvar3 = 0.0;
  mutable PtrList<HighscoreEntry> entries{true};
};
