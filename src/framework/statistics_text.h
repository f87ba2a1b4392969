// The totals block that ends every statistics page (one game's and the
// overall one): total time, very-good count, best and worst grade (only when
// there were plays), average grade and number of plays.
#pragma once
#include <string>

class ChangeKey;
namespace record_io {
struct Totals;
}

// Lines separated by line breaks, none after the last; `totalSeconds` is the
// record's play time.
std::string TotalsText(double totalSeconds, const record_io::Totals& totals);
// The same lines added to the end of `out`, without allocating when its
// capacity suffices: the total time ticks every second on a shown page.
void AppendTotalsText(std::string& out, double totalSeconds, const record_io::Totals& totals);
// Adds to the key everything TotalsText depends on: the whole seconds, the
// totals and the language texts.
void AddTotalsInputs(ChangeKey& key, double totalSeconds, const record_io::Totals& totals);
