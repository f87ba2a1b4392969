#include "framework/game_record.h"

namespace {

using record_io::Field;

// The play time comes before the shared totals, the spare values after them.
constexpr Field<GameRecord> TIME_FIELDS[] = {{"LEVEL_ZEIT:", &GameRecord::playTime}};
constexpr Field<GameRecord> SPARE_FIELDS[] = {
    {"IVAR1:", &GameRecord::ivar1}, {"IVAR2:", &GameRecord::ivar2}, {"IVAR3:", &GameRecord::ivar3},
    {"DVAR1:", &GameRecord::dvar1}, {"DVAR2:", &GameRecord::dvar2}, {"DVAR3:", &GameRecord::dvar3},
};

}  // namespace

GameRecord::GameRecord() { Reset(); }

void GameRecord::Reset() {
  ResetResults();
  playTime = 0.0;
  ivar1 = ivar2 = ivar3 = 0;
  dvar1 = dvar2 = dvar3 = 0.0;
}

void GameRecord::LoadText(const std::string& text) {
  ReadText(text, [this](const std::string& key, record_io::TokenReader& in) {
    return record_io::ReadField<GameRecord>(TIME_FIELDS, key, in, *this) ||
           record_io::ReadField<GameRecord>(SPARE_FIELDS, key, in, *this);
  });
}

std::string GameRecord::SaveText() const {
  std::string s;
  record_io::WriteLines<GameRecord>(s, TIME_FIELDS, *this);
  WriteTotals(s);
  record_io::WriteLines<GameRecord>(s, SPARE_FIELDS, *this);
  WriteEntries(s);
  return s;
}
