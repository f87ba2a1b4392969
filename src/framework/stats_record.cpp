#include "framework/stats_record.h"

namespace {

using record_io::Field;

constexpr Field<StatsRecord> TIME_FIELDS[] = {{"GAME_ZEIT:", &StatsRecord::totalTime}};
// Written in this order behind the grade of an entry.
constexpr Field<SeriesEntry> SERIES_FIELDS[] = {
    {"BEST:", &SeriesEntry::bestGrade},
    {"SCHLECHT:", &SeriesEntry::worstGrade},
    {"SCHW:", &SeriesEntry::difficulty},
};

}  // namespace

StatsRecord::StatsRecord() : ResultRecord(SERIES_FIELDS) { Reset(); }

void StatsRecord::Reset() {
  ResetResults();
  totalTime = 0.0;
}

void StatsRecord::LoadText(const std::string& text) {
  ReadText(text, [this](const std::string& key, record_io::TokenReader& in) {
    return record_io::ReadField<StatsRecord>(TIME_FIELDS, key, in, *this);
  });
}

std::string StatsRecord::SaveText() const {
  std::string s;
  record_io::WriteLines<StatsRecord>(s, TIME_FIELDS, *this);
  WriteTotals(s);
  WriteEntries(s);
  return s;
}
