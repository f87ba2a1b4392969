// The application-wide statistics ("stats.sav"): totals over all plays of all
// games and the top-10 list of series results.
#pragma once
#include <cstdint>
#include <string>
#include "framework/record_io.h"

// One named series result.
struct SeriesEntry : HighscoreEntry {
  SeriesEntry() = default;  // today's date, empty name, grade 0.0
  int32_t difficulty = 0;   // difficulty chosen for the series
  double bestGrade = 6.0;   // best single grade of the series
  double worstGrade = 1.0;  // worst single grade of the series
};

// Its file holds the main loop's total time, the shared totals and the
// series entries, which also carry their best and worst grade and difficulty.
class StatsRecord final : public record_io::ResultRecord<SeriesEntry> {
 public:
  StatsRecord();

  void Reset();
  void LoadText(const std::string& text) override;
  std::string SaveText() const override;

  double totalTime = 0.0;  // "GAME_ZEIT:" seconds of the main loop over all runs
};
