// The totals block that ends every statistics page (one game's and the
// overall one): total time, very-good count, best and worst grade (only when
// there were plays), average grade and number of plays.
#pragma once
#include <string>

namespace record_io {
struct Totals;
}

// Lines separated by line breaks, none after the last; `totalSeconds` is the
// record's play time.
std::string TotalsText(double totalSeconds, const record_io::Totals& totals);
