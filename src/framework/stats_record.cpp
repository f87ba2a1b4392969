#include "framework/stats_record.h"

#include <cmath>
#include <istream>
#include <iterator>
#include <ostream>

#include "util/safe_file.h"

StatsRecord::StatsRecord() { Reset(); }

void StatsRecord::Reset() {
  totalTime = 0.0;
  veryGoodCount = 0;
  bestGrade = 6.0;
  worstGrade = 1.0;
  playCount = 0;
  gradeSum = 0.0;
  entries.Clear();
}

void StatsRecord::Load(std::istream& in) {
  LoadText(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

bool StatsRecord::LoadFile(const char* fileName) {
  std::string bytes;
  if (!fileName || !ReadWholeFile(fileName, &bytes)) return false;
  LoadText(bytes);
  return true;
}

void StatsRecord::LoadText(const std::string& text) {
  record_io::TokenReader in(text);
  std::string token;
  bool pending = false;  // `token` already holds the next token to look at
  while (pending || in.Next(token)) {
    pending = false;
    if (token == "GAME_ZEIT:") in.NextDouble(totalTime);
    else if (token == "GEL\xD6ST:") in.NextInt(veryGoodCount);
    else if (token == "BEST_ERG:") in.NextDouble(bestGrade);
    else if (token == "SCHL_ERG:") in.NextDouble(worstGrade);
    else if (token == "ANZ_SPIELE:") in.NextInt(playCount);
    else if (token == "ERGS:") in.NextDouble(gradeSum);
    else if (token == "EINTRAG_START") {
      SeriesEntry* entry = new SeriesEntry();
      bool hasName = false, hasGrade = false, closed = false;
      while (in.Next(token)) {
        if (token == "EINTRAG_ENDE") {
          closed = true;
          break;
        }
        if (token == "EINTRAG_START") {
          pending = true;  // the previous entry lost its end mark
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
        } else if (token == "SCHW:") {
          in.NextInt(entry->difficulty);
        } else if (token == "BEST:") {
          in.NextDouble(entry->bestGrade);
        } else if (token == "SCHLECHT:") {
          in.NextDouble(entry->worstGrade);
        }
      }
      // A cut-off entry stays only with both its name and its grade.
      if (closed || (hasName && hasGrade)) entries.Insert(entry);
      else delete entry;
    }
  }
}

void StatsRecord::Save(std::ostream& out) const {
  const std::string text = SaveText();
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

std::string StatsRecord::SaveText() const {
  using record_io::Number;
  std::string s;
  s += "GAME_ZEIT:\t" + Number(totalTime) + "\r\n";
  s += "GEL\xD6ST:\t" + std::to_string(veryGoodCount) + "\r\n";
  s += "BEST_ERG:\t" + Number(bestGrade) + "\r\n";
  s += "SCHL_ERG:\t" + Number(worstGrade) + "\r\n";
  s += "ANZ_SPIELE:\t" + std::to_string(playCount) + "\r\n";
  s += "ERGS:\t" + Number(gradeSum) + "\r\n";
  for (int i = 0; i < 10 && i < entries.Count(); ++i) {
    const SeriesEntry* e = entries.Get(i);
    s += "EINTRAG_START\tNAME:\t" + record_io::StoredName(e->name) + "\tDATUM:\t" +
         std::to_string(e->day) + "\t" + std::to_string(e->month) + "\t" + std::to_string(e->year) +
         "\tERG:\t" + Number(e->grade) + "\tBEST:\t" + Number(e->bestGrade) + "\tSCHLECHT:\t" +
         Number(e->worstGrade) + "\tSCHW:\t" + std::to_string(e->difficulty) + "\tEINTRAG_ENDE\r\n";
  }
  return s;
}

bool StatsRecord::SaveFile(const char* fileName) const {
  if (!fileName || !*fileName) return false;
  return WriteFileSafely(fileName, SaveText());
}

void StatsRecord::AddResult(double grade) {
  ++playCount;
  gradeSum += grade;
  if (grade < bestGrade) bestGrade = grade;
  if (grade > worstGrade) worstGrade = grade;
}

bool StatsRecord::Qualifies(double grade) {
  if (grade == 6.0 || std::isnan(grade)) return false;
  for (int i = 0; i < 10 && i < entries.Count(); ++i)
    if (grade < entries.Get(i)->grade) return true;
  return entries.Count() < 10;
}

void StatsRecord::InsertEntry(SeriesEntry* entry) {
  if (!entry) return;
  for (int i = 0; i < 10 && i < entries.Count(); ++i) {
    if (entries.Get(i)->grade > entry->grade) {
      entries.Insert(entry, false, i);
      return;
    }
  }
  entries.Insert(entry);
}
