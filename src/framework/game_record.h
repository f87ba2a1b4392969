// Result records of one mini-game: running totals and the top-10 list of
// named results, kept in the game's own save file as keyword/value tokens.
#pragma once
#include <cstdint>
#include <string>
#include "framework/record_io.h"

// A game's totals and its top-10 list (best grade first). Its file holds the
// play time, the shared totals, six spare values and the entries.
class GameRecord final : public record_io::ResultRecord<HighscoreEntry> {
 public:
  GameRecord();

  // Every total back to its starting value; all entries deleted.
  void Reset();
  void LoadText(const std::string& text) override;
  std::string SaveText() const override;

  double playTime = 0.0;  // "LEVEL_ZEIT:" seconds over all plays
  int32_t ivar1 = 0, ivar2 = 0, ivar3 = 0;  // spare values, written and read
  double dvar1 = 0.0, dvar2 = 0.0, dvar3 = 0.0;
};
