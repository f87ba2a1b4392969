// The application-wide statistics ("stats.sav"): totals over all plays of all
// games and the top-10 list of series results.
#pragma once
#include <cstdint>
#include <iosfwd>
#include <string>
#include "framework/game_record.h"
#include "util/ptr_list.h"

// One named series result.
struct SeriesEntry : HighscoreEntry {
  SeriesEntry() = default;  // today's date, empty name, grade 0.0
  int32_t difficulty = 0;   // difficulty chosen for the series
  double bestGrade = 6.0;   // best single grade of the series
  double worstGrade = 1.0;  // worst single grade of the series
};

class StatsRecord {
 public:
  StatsRecord();
  StatsRecord(const StatsRecord&) = delete;
  StatsRecord& operator=(const StatsRecord&) = delete;

  void Reset();
  void Load(std::istream& in);
  void LoadText(const std::string& text);
  bool LoadFile(const char* fileName);
  void Save(std::ostream& out) const;
  std::string SaveText() const;
  bool SaveFile(const char* fileName) const;

  void AddResult(double grade);
  bool Qualifies(double grade);
  void InsertEntry(SeriesEntry* entry);
  PtrList<SeriesEntry>& Entries() { return entries; }

  double totalTime = 0.0;     // "GAME_ZEIT:" seconds of the main loop over all runs
  int32_t veryGoodCount = 0;  // "GELÖST:"
  double bestGrade = 6.0;     // "BEST_ERG:"
  double worstGrade = 1.0;    // "SCHL_ERG:"
  int32_t playCount = 0;      // "ANZ_SPIELE:"
  double gradeSum = 0.0;      // "ERGS:"
  mutable PtrList<SeriesEntry> entries{true};
};
