// Both save-file readers. Whatever was read is written and read back, and the
// second reading must give the same text.
#include <cstdlib>

#include "framework/game_record.h"
#include "framework/stats_record.h"
#include "fuzz/fuzz_support.h"

template <typename Record>
void RoundTrip(const std::string& text) {
  Record first;
  first.LoadText(text);
  const std::string saved = first.SaveText();
  Record second;
  second.LoadText(saved);
  if (second.SaveText() != saved) std::abort();
  first.Qualifies(2.0);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = fuzz::AsText(data, size);
  RoundTrip<GameRecord>(text);
  RoundTrip<StatsRecord>(text);
  return 0;
}
