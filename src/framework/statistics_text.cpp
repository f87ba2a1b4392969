#include "framework/statistics_text.h"

#include "data/language.h"
#include "framework/record_io.h"
#include "framework/time_bar.h"
#include "util/change_key.h"
#include "util/format_text.h"

void AddTotalsInputs(ChangeKey& key, double totalSeconds, const record_io::Totals& totals) {
  key.Add(WholeSecondsOf(totalSeconds))
      .Add(totals.veryGoodCount)
      .Add(totals.bestGrade)
      .Add(totals.worstGrade)
      .Add(totals.playCount)
      .Add(totals.gradeSum);
  for (int text = 43; text <= 48; ++text) key.Text(GetLangText(text));
}

void AppendTotalsText(std::string& out, double totalSeconds, const record_io::Totals& totals) {
  const int t = WholeSecondsOf(totalSeconds);
  AppendFormatText(out, GetLangText(43), {t / 3600, t / 60 % 60, t % 60});
  out += '\n';
  AppendFormatText(out, GetLangText(44), {totals.veryGoodCount});
  out += '\n';
  if (totals.worstGrade >= totals.bestGrade) {  // at least one play
    AppendFormatText(out, GetLangText(45), {totals.bestGrade});
    out += '\n';
    AppendFormatText(out, GetLangText(46), {totals.worstGrade});
    out += '\n';
  }
  const double average = totals.playCount > 0 ? totals.gradeSum / totals.playCount : 0.0;
  AppendFormatText(out, GetLangText(47), {average});
  out += '\n';
  AppendFormatText(out, GetLangText(48), {totals.playCount});
}

std::string TotalsText(double totalSeconds, const record_io::Totals& totals) {
  std::string out;
  AppendTotalsText(out, totalSeconds, totals);
  return out;
}
