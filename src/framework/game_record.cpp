#include "framework/game_record.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <istream>
#include <iterator>
#include <locale>
#include <ostream>
#include <sstream>

#include "platform/clock.h"
#include "util/safe_file.h"

namespace record_io {

namespace {
bool IsSpace(unsigned char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
}  // namespace

bool TokenReader::Peek(std::string& token) {
  const size_t saved = pos_;
  const bool found = Next(token);
  pos_ = saved;
  return found;
}

bool TokenReader::Next(std::string& token) {
  token.clear();
  while (pos_ < text_.size() && IsSpace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  if (pos_ >= text_.size()) return false;
  while (pos_ < text_.size() && !IsSpace(static_cast<unsigned char>(text_[pos_]))) {
    if (token.size() < TOKEN_MAX) token += text_[pos_];
    ++pos_;
  }
  return true;
}

bool TokenReader::NextInt(int32_t& value) {
  const size_t saved = pos_;
  std::string token;
  if (!Next(token)) return false;
  const char* first = token.c_str();
  const char* last = first + token.size();
  if (first != last && *first == '+') ++first;
  int32_t v = 0;
  const auto [end, error] = std::from_chars(first, last, v);
  if (error != std::errc() || end == first) {
    pos_ = saved;
    return false;
  }
  value = v;
  return true;
}

bool TokenReader::NextDouble(double& value) {
  const size_t saved = pos_;
  std::string token;
  if (!Next(token)) return false;
  const char* first = token.c_str();
  const char* last = first + token.size();
  if (first != last && *first == '+') ++first;
  double v = 0;
  const auto [end, error] = std::from_chars(first, last, v);
  if (error != std::errc() || end == first || !std::isfinite(v)) {
    pos_ = saved;
    return false;
  }
  value = v;
  return true;
}

std::string Number(double value) {
  std::ostringstream out;
  out.imbue(std::locale::classic());
  out << value;
  return out.str();
}

std::string StoredName(const char* name) {
  std::string out = name ? name : "";
  for (char& c : out)
    if (IsSpace(static_cast<unsigned char>(c))) c = '_';
  return out;
}

void RestoreName(const std::string& token, char* name) {
  const size_t n = std::min(token.size(), static_cast<size_t>(HIGHSCORE_NAME_SIZE - 1));
  for (size_t i = 0; i < n; ++i) name[i] = token[i] == '_' ? ' ' : token[i];
  name[n] = 0;
}

bool IsKnownEntryKey(const std::string& token) {
  return token == "NAME:" || token == "DATUM:" || token == "ERG:" || token == "BEST:" ||
         token == "SCHLECHT:" || token == "SCHW:" || token == "EINTRAG_START" ||
         token == "EINTRAG_ENDE";
}

}  // namespace record_io

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

GameRecord::GameRecord() { Reset(); }

void GameRecord::Reset() {
  playTime = 0.0;
  veryGoodCount = 0;
  bestGrade = 6.0;
  worstGrade = 1.0;
  playCount = 0;
  gradeSum = 0.0;
  ivar1 = ivar2 = ivar3 = 0;
  dvar1 = dvar2 = dvar3 = 0.0;
  entries.Clear();
}

void GameRecord::Load(std::istream& in) {
  LoadText(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

bool GameRecord::LoadFile(const char* fileName) {
  std::string bytes;
  if (!fileName || !ReadWholeFile(fileName, &bytes)) return false;
  LoadText(bytes);
  return true;
}

void GameRecord::LoadText(const std::string& text) {
  record_io::TokenReader in(text);
  std::string token;
  bool pending = false;  // `token` already holds the next token to look at
  while (pending || in.Next(token)) {
    pending = false;
    if (token == "LEVEL_ZEIT:") in.NextDouble(playTime);
    else if (token == "GEL\xD6ST:") in.NextInt(veryGoodCount);
    else if (token == "BEST_ERG:") in.NextDouble(bestGrade);
    else if (token == "SCHL_ERG:") in.NextDouble(worstGrade);
    else if (token == "ANZ_SPIELE:") in.NextInt(playCount);
    else if (token == "ERGS:") in.NextDouble(gradeSum);
    else if (token == "IVAR1:") in.NextInt(ivar1);
    else if (token == "IVAR2:") in.NextInt(ivar2);
    else if (token == "IVAR3:") in.NextInt(ivar3);
    else if (token == "DVAR1:") in.NextDouble(dvar1);
    else if (token == "DVAR2:") in.NextDouble(dvar2);
    else if (token == "DVAR3:") in.NextDouble(dvar3);
    else if (token == "EINTRAG_START") {
      HighscoreEntry* entry = new HighscoreEntry();
      bool hasName = false, hasGrade = false, closed = false;
      while (in.Next(token)) {
        if (token == "EINTRAG_ENDE") {
          closed = true;
          break;
        }
        if (token == "EINTRAG_START") {
          // The previous entry lost its end mark: it ends here and the new
          // one is read by the outer loop.
          pending = true;
          break;
        }
        if (token == "NAME:") {
          std::string name;
          if (in.Peek(name) && !record_io::IsKnownEntryKey(name)) {
            in.Next(name);
            record_io::RestoreName(name, entry->name);
          } else {
            entry->name[0] = 0;
          }
          hasName = true;
        } else if (token == "DATUM:") {
          if (in.NextInt(entry->day) && in.NextInt(entry->month)) in.NextInt(entry->year);
        } else if (token == "ERG:") {
          hasGrade = in.NextDouble(entry->grade) || hasGrade;
        }
        // other tokens inside an entry are skipped
      }
      // An entry cut off by the end of the file (or a missing end mark) stays
      // only when it has both its name and its grade.
      if (closed || (hasName && hasGrade)) entries.Insert(entry);
      else delete entry;
    }
    // any other token is skipped
  }
}

void GameRecord::Save(std::ostream& out) const {
  const std::string text = SaveText();
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

std::string GameRecord::SaveText() const {
  using record_io::Number;
  std::string s;
  s += "LEVEL_ZEIT:\t" + Number(playTime) + "\r\n";
  s += "GEL\xD6ST:\t" + std::to_string(veryGoodCount) + "\r\n";
  s += "BEST_ERG:\t" + Number(bestGrade) + "\r\n";
  s += "SCHL_ERG:\t" + Number(worstGrade) + "\r\n";
  s += "ANZ_SPIELE:\t" + std::to_string(playCount) + "\r\n";
  s += "ERGS:\t" + Number(gradeSum) + "\r\n";
  s += "IVAR1:\t" + std::to_string(ivar1) + "\r\n";
  s += "IVAR2:\t" + std::to_string(ivar2) + "\r\n";
  s += "IVAR3:\t" + std::to_string(ivar3) + "\r\n";
  s += "DVAR1:\t" + Number(dvar1) + "\r\n";
  s += "DVAR2:\t" + Number(dvar2) + "\r\n";
  s += "DVAR3:\t" + Number(dvar3) + "\r\n";
  for (int i = 0; i < 10 && i < entries.Count(); ++i) {
    const HighscoreEntry* e = entries.Get(i);
    s += "EINTRAG_START\tNAME:\t" + record_io::StoredName(e->name) + "\tDATUM:\t" +
         std::to_string(e->day) + "\t" + std::to_string(e->month) + "\t" + std::to_string(e->year) +
         "\tERG:\t" + Number(e->grade) + "\tEINTRAG_ENDE\r\n";
  }
  return s;
}

bool GameRecord::SaveFile(const char* fileName) const {
  if (!fileName || !*fileName) return false;
  return WriteFileSafely(fileName, SaveText());
}

void GameRecord::AddResult(double grade) {
  ++playCount;
  gradeSum += grade;
  if (grade < bestGrade) bestGrade = grade;
  if (grade > worstGrade) worstGrade = grade;
}

bool GameRecord::Qualifies(double grade) {
  if (grade == 6.0 || std::isnan(grade)) return false;
  for (int i = 0; i < 10 && i < entries.Count(); ++i)
    if (grade < entries.Get(i)->grade) return true;
  return entries.Count() < 10;
}

void GameRecord::InsertEntry(HighscoreEntry* entry) {
  if (!entry) return;
  for (int i = 0; i < 10 && i < entries.Count(); ++i) {
    if (entries.Get(i)->grade > entry->grade) {
      entries.Insert(entry, false, i);
      return;
    }
  }
  entries.Insert(entry);
}
