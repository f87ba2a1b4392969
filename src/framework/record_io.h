// What the game records and the statistics record have in common: the named
// entries of a top-10 list, the totals both kinds of save file keep, and the
// reading and writing of their keyword/value tokens. A record built on
// ResultRecord only says which values of its own it adds.
#pragma once
#include <cmath>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <span>
#include <string>
#include <utility>
#include "util/ptr_list.h"
#include "util/text_scanner.h"

// Longest name an entry holds (the buffer keeps one byte for the end mark).
constexpr int HIGHSCORE_NAME_SIZE = 1000;

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

namespace record_io {

// Tokens of a save file, separated by any white space. A token keeps at most
// TOKEN_MAX characters; the rest of a longer one is read past.
class TokenReader {
 public:
  static constexpr size_t TOKEN_MAX = 999;
  explicit TokenReader(std::string text) : scanner_(std::move(text)) {}
  bool Next(std::string& token) { return scanner_.Next(token, TOKEN_MAX); }  // false at the end
  // The next token as a number when it is one (a finite double, an int in
  // range); otherwise nothing is consumed and the result is false.
  bool NextInt(int32_t& value);
  bool NextDouble(double& value);
  bool Peek(std::string& token) { return scanner_.Peek(token, TOKEN_MAX); }

 private:
  TextScanner scanner_;
};

// A double as a default output stream writes it under the "C" locale:
// six significant digits, plain or exponent form.
std::string Number(double value);
// The name with every blank written as "_" (and, so the file stays readable,
// any other white space as well).
std::string StoredName(const char* name);
// The name as read back: every "_" becomes a blank.
void RestoreName(const std::string& token, char* name);

// A value of a save file: its key (colon included) and the field of T that
// holds it, a whole number or a real.
template <typename T>
struct Field {
  constexpr Field(const char* key_, int32_t T::*whole_) : key(key_), whole(whole_) {}
  constexpr Field(const char* key_, double T::*real_) : key(key_), real(real_) {}
  const char* key;
  int32_t T::*whole = nullptr;
  double T::*real = nullptr;
};

// When `key` is one of `fields`, reads the value behind it into that field
// of `target` (a value that is no number is left for the next read) and
// returns true.
template <typename T>
bool ReadField(std::span<const Field<T>> fields, const std::string& key, TokenReader& in, T& target) {
  for (const Field<T>& f : fields) {
    if (key != f.key) continue;
    if (f.whole) in.NextInt(target.*f.whole);
    else in.NextDouble(target.*f.real);
    return true;
  }
  return false;
}

// Appends every field as `before`, key, tab, value, `after`.
template <typename T>
void WriteFields(std::string& out, std::span<const Field<T>> fields, const T& source,
                 const char* before, const char* after) {
  for (const Field<T>& f : fields) {
    out += before;
    out += f.key;
    out += '\t';
    out += f.whole ? std::to_string(source.*f.whole) : Number(source.*f.real);
    out += after;
  }
}

// Each value on its own line: key, tab, value, CR LF.
template <typename T>
void WriteLines(std::string& out, std::span<const Field<T>> fields, const T& source) {
  WriteFields(out, fields, source, "", "\r\n");
}

// Reads the tokens of one entry that follow its "EINTRAG_START": the name,
// the date, the grade and whatever `readMore` takes (it returns true for a
// key it knows); other tokens are skipped. The entry ends at "EINTRAG_ENDE",
// at the end of the input, or at the next "EINTRAG_START" (when its end mark
// was lost), which then sets `nextStarts`. True when the entry is worth
// keeping: it was closed, or it has both its name and its grade.
bool ReadEntry(TokenReader& in, HighscoreEntry& entry, bool& nextStarts,
               const std::function<bool(const std::string&, TokenReader&)>& readMore);
// "EINTRAG_START", name, date and grade of an entry line; the line goes on
// with the entry's other values and ENTRY_END.
std::string EntryStart(const HighscoreEntry& entry);
inline constexpr const char* ENTRY_END = "\tEINTRAG_ENDE\r\n";

// The whole rest of a stream, and a text written to one.
std::string ReadAll(std::istream& in);
void WriteAll(std::ostream& out, const std::string& text);
// The bytes of a file; false when it cannot be opened or read.
bool ReadRecordFile(const char* fileName, std::string& bytes);
// Replaces the file safely with `text`; false on any error.
bool WriteRecordFile(const char* fileName, const std::string& text);

// The totals both files keep after their time, in the order written there.
// Raises a counter by one; a counter at the largest value stays there (a
// save file may hold any number).
void CountOneMore(int32_t& counter);

struct Totals {
  int32_t veryGoodCount = 0;  // "GELÖST:" plays graded 1.5 or better
  double bestGrade = 6.0;     // "BEST_ERG:"
  double worstGrade = 1.0;    // "SCHL_ERG:"
  int32_t playCount = 0;      // "ANZ_SPIELE:"
  double gradeSum = 0.0;      // "ERGS:"

  // One more play with this grade (the very-good count is the caller's).
  void AddResult(double grade);

 protected:
  void ResetTotals() { *this = Totals(); }
  bool ReadTotal(const std::string& key, TokenReader& in);
  void WriteTotals(std::string& out) const;
};

// Totals and a top-10 list of `Entry` (best grade first), with the file
// operations both records offer. A record says how its file text reads and
// writes its own values (LoadText, SaveText); entries may carry values of
// their own, named by the fields given to the constructor.
template <typename Entry>
class ResultRecord : public Totals {
 public:
  explicit ResultRecord(std::span<const Field<Entry>> entryFields = {}) : entryFields_(entryFields) {}
  virtual ~ResultRecord() = default;
  ResultRecord(const ResultRecord&) = delete;
  ResultRecord& operator=(const ResultRecord&) = delete;

  // Reads the tokens of a save file into this (freshly reset) record. Stops at
  // the end of the input; damaged parts are skipped.
  virtual void LoadText(const std::string& text) = 0;
  void Load(std::istream& in) { LoadText(ReadAll(in)); }
  // Reads the named file when it exists; false when it could not be opened.
  bool LoadFile(const char* fileName) {
    std::string bytes;
    if (!ReadRecordFile(fileName, bytes)) return false;
    LoadText(bytes);
    return true;
  }
  // The save-file text (CR LF line ends, first 10 entries only).
  virtual std::string SaveText() const = 0;
  void Save(std::ostream& out) const { WriteAll(out, SaveText()); }
  // Replaces the named file safely with SaveText(); false on any error.
  bool SaveFile(const char* fileName) const { return WriteRecordFile(fileName, SaveText()); }

  // True when the grade would enter the top-10 list: never 6.0, otherwise
  // better than one of the first 10 entries or a list not yet full.
  bool Qualifies(double grade) {
    if (grade == 6.0 || std::isnan(grade)) return false;
    for (int i = 0; i < 10 && i < entries.Count(); ++i)
      if (grade < entries.Get(i)->grade) return true;
    return entries.Count() < 10;
  }
  // Takes ownership; inserts before the first of the first 10 entries with a
  // strictly greater grade, otherwise at the end.
  void InsertEntry(Entry* entry) {
    if (!entry) return;
    for (int i = 0; i < 10 && i < entries.Count(); ++i) {
      if (entries.Get(i)->grade > entry->grade) {
        entries.Insert(entry, false, i);
        return;
      }
    }
    entries.Insert(entry);
  }
  PtrList<Entry>& Entries() { return entries; }

  mutable PtrList<Entry> entries{true};

 protected:
  // Totals back to their starting values; all entries deleted.
  void ResetResults() {
    ResetTotals();
    entries.Clear();
  }

  // Reads a save file: a key the record knows (`readOwn` returns true for
  // it), a total, or an entry block, appended in file order without a limit;
  // every other token is skipped.
  void ReadText(const std::string& text,
                const std::function<bool(const std::string&, TokenReader&)>& readOwn) {
    TokenReader in(text);
    std::string token;
    bool nextStarts = false;  // the last entry ended at the start of the next one
    while (nextStarts || in.Next(token)) {
      if (nextStarts) token = "EINTRAG_START";
      nextStarts = false;
      if (readOwn(token, in) || ReadTotal(token, in) || token != "EINTRAG_START") continue;
      Entry* entry = new Entry();
      const auto readMore = [this, entry](const std::string& key, TokenReader& r) {
        return ReadField(entryFields_, key, r, *entry);
      };
      if (ReadEntry(in, *entry, nextStarts, readMore)) entries.Insert(entry);
      else delete entry;
    }
  }

  // One line per entry, for the first 10 entries only.
  void WriteEntries(std::string& out) const {
    for (int i = 0; i < 10 && i < entries.Count(); ++i) {
      const Entry* e = entries.Get(i);
      out += EntryStart(*e);
      WriteFields(out, entryFields_, *e, "\t", "");
      out += ENTRY_END;
    }
  }

 private:
  std::span<const Field<Entry>> entryFields_;
};

}  // namespace record_io
