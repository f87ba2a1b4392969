#include "framework/record_io.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <istream>
#include <iterator>
#include <locale>
#include <ostream>
#include <sstream>
#include <type_traits>

#include "platform/clock.h"
#include "util/safe_file.h"

HighscoreEntry::HighscoreEntry() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  day = now.wDay;
  month = now.wMonth;
  year = now.wYear;
}

void HighscoreEntry::SetName(const char* text) {
  if (!text) text = "";
  const size_t n = std::min(std::strlen(text), static_cast<size_t>(HIGHSCORE_NAME_SIZE - 1));
  std::memcpy(name, text, n);
  name[n] = 0;
}

namespace record_io {

namespace {

// The number at the start of a token, as a stream reads it under the "C"
// locale (a leading '+' allowed, the rest of the token ignored). A whole
// number must fit the type and a real must be finite; otherwise `value` is
// left as it was.
template <typename T>
bool ToNumber(const std::string& token, T& value) {
  const char* first = token.c_str();
  const char* last = first + token.size();
  if (first != last && *first == '+') ++first;
  T v{};
  const auto [end, error] = std::from_chars(first, last, v);
  if (error != std::errc() || end == first) return false;
  if constexpr (std::is_floating_point_v<T>) {
    if (!std::isfinite(v)) return false;
  }
  value = v;
  return true;
}

// The next token when it is a number; otherwise nothing is consumed.
template <typename T>
bool TakeNumber(TokenReader& in, T& value) {
  std::string token;
  if (!in.Peek(token) || !ToNumber(token, value)) return false;
  in.Next(token);
  return true;
}

constexpr Field<Totals> TOTAL_FIELDS[] = {
    {"GEL\xD6ST:", &Totals::veryGoodCount}, {"BEST_ERG:", &Totals::bestGrade},
    {"SCHL_ERG:", &Totals::worstGrade},     {"ANZ_SPIELE:", &Totals::playCount},
    {"ERGS:", &Totals::gradeSum},
};

}  // namespace

bool TokenReader::NextInt(int32_t& value) { return TakeNumber(*this, value); }

bool TokenReader::NextDouble(double& value) { return TakeNumber(*this, value); }

std::string Number(double value) {
  std::ostringstream out;
  out.imbue(std::locale::classic());
  out << value;
  return out.str();
}

std::string StoredName(const char* name) {
  std::string out = name ? name : "";
  for (char& c : out)
    if (IsBlankChar(static_cast<unsigned char>(c))) c = '_';
  return out;
}

void RestoreName(const std::string& token, char* name) {
  const size_t n = std::min(token.size(), static_cast<size_t>(HIGHSCORE_NAME_SIZE - 1));
  for (size_t i = 0; i < n; ++i) name[i] = token[i] == '_' ? ' ' : token[i];
  name[n] = 0;
}

bool ReadEntry(TokenReader& in, HighscoreEntry& entry, bool& nextStarts,
               const std::function<bool(const std::string&, TokenReader&)>& readMore) {
  nextStarts = false;
  bool hasGrade = false;
  std::string token;
  // An entry without a name is damaged: a save could not write it back so
  // that it reads the same, so it is dropped.
  while (in.Next(token)) {
    if (token == "EINTRAG_ENDE") return entry.name[0] != 0;
    if (token == "EINTRAG_START") {
      nextStarts = true;
      break;
    }
    if (token == "NAME:") {
      // The next token is the name, whatever it spells: a player may well
      // have typed "EINTRAG ENDE".
      std::string name;
      if (in.Next(name)) RestoreName(name, entry.name);
    } else if (token == "DATUM:") {
      if (in.NextInt(entry.day) && in.NextInt(entry.month)) in.NextInt(entry.year);
    } else if (token == "ERG:") {
      hasGrade = in.NextDouble(entry.grade) || hasGrade;
    } else {
      readMore(token, in);  // tokens it does not know are skipped
    }
  }
  // Cut off by the end of the input or by the next entry.
  return entry.name[0] != 0 && hasGrade;
}

std::string EntryStart(const HighscoreEntry& e) {
  return "EINTRAG_START\tNAME:\t" + StoredName(e.name) + "\tDATUM:\t" + std::to_string(e.day) + "\t" +
         std::to_string(e.month) + "\t" + std::to_string(e.year) + "\tERG:\t" + Number(e.grade);
}

std::string ReadAll(std::istream& in) {
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(std::ostream& out, const std::string& text) {
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

bool ReadRecordFile(const char* fileName, std::string& bytes) {
  return fileName && ReadWholeFile(fileName, &bytes);
}

bool WriteRecordFile(const char* fileName, const std::string& text) {
  return fileName && *fileName && WriteFileSafely(fileName, text);
}

void CountOneMore(int32_t& counter) {
  if (counter < INT32_MAX) ++counter;
}

void Totals::AddResult(double grade) {
  CountOneMore(playCount);
  gradeSum += grade;
  if (grade < bestGrade) bestGrade = grade;
  if (grade > worstGrade) worstGrade = grade;
}

bool Totals::ReadTotal(const std::string& key, TokenReader& in) {
  return ReadField<Totals>(TOTAL_FIELDS, key, in, *this);
}

void Totals::WriteTotals(std::string& out) const { WriteLines<Totals>(out, TOTAL_FIELDS, *this); }

}  // namespace record_io
