#include "framework/denkar_game.h"

#include <cmath>
#include <cstring>

#include "data/language.h"
#include "framework/statistics_text.h"
#include "framework/stats_record.h"
#include "framework/time_bar.h"
#include "gfx/fit_text.h"
#include "gfx/font.h"
#include "util/app_context.h"
#include "util/format_text.h"

namespace {
// The statistics page never grows beyond this (damaged files can carry huge
// names and texts).
constexpr size_t STATISTICS_TEXT_LIMIT = 32 * 1024;

void AppendBounded(std::string& out, const std::string& piece) {
  if (out.size() >= STATISTICS_TEXT_LIMIT) return;
  out.append(piece, 0, STATISTICS_TEXT_LIMIT - out.size());
}
}  // namespace

Denkar_Game::Denkar_Game(int difficulty_, const char* saveFileName_) {
  difficulty = difficulty_;
  started = false;
  if (saveFileName_) {
    std::strncpy(saveFileName, saveFileName_, SAVE_FILE_NAME_SIZE - 1);
    saveFileName[SAVE_FILE_NAME_SIZE - 1] = 0;
  }
  if (saveFileName[0]) record.LoadFile(saveFileName);
  grade = 6.0;
  fontManager = &GetFontManager();
  font = fontManager->AddFont("Arial", 20);
  recordOnDestroy = true;
  // Running from the start: the host reads the state during the countdown,
  // before Start is called.
  state = GAME_STATE_RUNNING;
}

Denkar_Game::~Denkar_Game() {
  if (recordOnDestroy) {
    // A grade that is not a number would poison the sums for good; it counts
    // as the worst grade instead.
    const double g = std::isfinite(grade) ? grade : 6.0;
    record.AddResult(g);
    StatsRecord* stats = app ? app->statistics : nullptr;
    if (stats) stats->AddResult(g);
    if (g <= VERY_GOOD_GRADE) {
      record_io::CountOneMore(record.veryGoodCount);
      if (stats) record_io::CountOneMore(stats->veryGoodCount);
    }
  }
  // Written on every end of a game object, also without a new result.
  if (saveFileName[0]) record.SaveFile(saveFileName);
}

void Denkar_Game::Start() {
  started = true;
  state = GAME_STATE_RUNNING;
}

int32_t Denkar_Game::GetState() { return state; }
void Denkar_Game::SetState(int32_t newState) { state = newState; }
const char* Denkar_Game::GetDescriptionText() { return nullptr; }
const char* Denkar_Game::GetStatisticsText() { return nullptr; }
const char* Denkar_Game::GetResultText() { return nullptr; }
const char* Denkar_Game::GetResultTitle() { return nullptr; }
void Denkar_Game::ComputeGrade() { grade = 6.0; }
bool Denkar_Game::AllowsHelp() { return true; }
void Denkar_Game::Reserved40() {}

RECT Denkar_Game::DescriptionRect(const ElementDrawInfo& info) {
  return RECT{static_cast<int>(info.x + 50), static_cast<int>(info.y + 50),
              static_cast<int>(info.x + (info.srcRight - info.srcLeft) - 50),
              static_cast<int>(info.y + (info.srcBottom - info.srcTop) - 70)};
}

void Denkar_Game::DrawDescription(ElementDrawInfo info, Font* drawFont) {
  const char* text = GetDescriptionText();
  if (!text || !*text || !fontManager) return;
  TextItem item;
  item.text = text;
  item.rect = DescriptionRect(info);
  item.colour = 0xFF000000;
  item.format = DT_CENTER | DT_VCENTER | DT_WORDBREAK;
  item.font = drawFont;
  fontManager->DrawTextItem(item);
}

void Denkar_Game::OnLostDevice() {
  if (font) font->OnLostDevice();
}

void Denkar_Game::OnResetDevice() {
  if (font) font->OnResetDevice();
}

bool Denkar_Game::IsHighscore() { return record.Qualifies(grade); }

HighscoreEntry* Denkar_Game::CreateHighscoreEntry() {
  HighscoreEntry* entry = new HighscoreEntry();
  entry->grade = grade;
  return entry;
}

void Denkar_Game::AddHighscore(HighscoreEntry* entry) { record.InsertEntry(entry); }
void Denkar_Game::ResetRecord() { record.Reset(); }
void Denkar_Game::DisableRecording() { recordOnDestroy = false; }

void Denkar_Game::SetStatisticsLayout(Font* lineFont, int lineWidth) {
  statisticsFont_ = lineFont;
  statisticsWidth_ = lineWidth;
}

std::string Denkar_Game::PlayTimeLine() const {
  const int t = WholeSecondsOf(playTime);
  return FormatText(GetLangText(22), {t / 60, t % 60}) + "\n";
}

const char* Denkar_Game::BuildStatisticsText() {
  StatisticsText& slot = statistics_[statisticsFont_ ? 1 : 0];
  PtrList<HighscoreEntry>& list = record.Entries();
  // The ten places are laid out again only when they change; the totals,
  // whose time ticks every second while the page is open, are added to the
  // kept places in buffers that keep their size.
  ChangeKey& key = slot.placesInputs;
  key.Begin();
  for (int i = 0; i < 10; ++i) {
    if (const HighscoreEntry* e = list.Get(i))
      key.Add('\1').Add(e->name).Add(e->grade).Add(e->day).Add(e->month).Add(e->year);
    else
      key.Add('\0');
  }
  key.Text(GetLangText(49)).Add(statisticsFont_).Add(statisticsWidth_);
  if (statisticsFont_) key.Add(statisticsFont_->size).Add(statisticsFont_->faceName);
  const bool placesChanged = key.Changed();
  if (placesChanged) {
    std::string& places = slot.places;
    places.clear();
    for (int i = 0; i < 10; ++i) {
      if (HighscoreEntry* e = list.Get(i)) {
        auto line = [&](const std::string& name) {
          return FormatText(GetLangText(49), {i + 1, name.c_str(), e->day, e->month, e->year, e->grade});
        };
        AppendBounded(places, FitNameInLine(statisticsFont_, statisticsWidth_, e->name, line));
      }
      AppendBounded(places, "\n");  // the list always takes ten lines
    }
  }
  ChangeKey& totalsKey = slot.inputs;
  totalsKey.Begin();
  AddTotalsInputs(totalsKey, record.playTime, record);
  std::string& out = slot.text;
  if (!totalsKey.Changed() && !placesChanged) return out.c_str();
  out.assign(slot.places);
  if (out.size() < STATISTICS_TEXT_LIMIT) {
    AppendTotalsText(out, record.playTime, record);
    if (out.size() > STATISTICS_TEXT_LIMIT) out.resize(STATISTICS_TEXT_LIMIT);
  }
  return out.c_str();
}
