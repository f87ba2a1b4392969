#include "Denkar_Spiele/DG_Datum_Game.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "data/language.h"
#include "framework/time_bar.h"
#include "gfx/font.h"
#include "platform/clock.h"
#include "platform/crt_rand.h"
#include "util/app_context.h"
#include "util/format_text.h"

namespace {

// Language texts.
constexpr int TEXT_DESCRIPTION = 171;
constexpr int TEXT_TITLE = 170;
constexpr int TEXT_DATE_HEADER = 188;
constexpr int TEXT_WEEKDAY_HEADER = 189;
constexpr int TEXT_SUNDAY = 190;  // ... 196 Saturday
constexpr int TEXT_START_LINE = 197;

constexpr D3DCOLOR BLACK = 0xFF000000;
constexpr DWORD CENTRED = DT_CENTER | DT_VCENTER;

// A retry loop that draws the next step type ends with probability 1 only;
// after this many draws the first fitting type is taken instead.
constexpr int MAX_STEP_DRAWS = 1000;

enum StepUnit { DAYS, WEEKS, MONTHS, YEARS };

struct StepKind {
  int text;     // language text of the step
  StepUnit unit;
  int modulo;   // the printed number is rand() mod modulo + offset; 0: no number (one unit)
  int offset;
};

// By step type: even types go back, odd types forward.
constexpr StepKind kSteps[DG_Datum_Game::STEP_TYPES] = {
    {175, DAYS, 30, 1},   {173, DAYS, 30, 1},   {176, WEEKS, 0, 0},  {178, WEEKS, 0, 0},
    {177, WEEKS, 3, 2},   {179, WEEKS, 3, 2},   {180, MONTHS, 0, 0}, {182, MONTHS, 0, 0},
    {181, MONTHS, 6, 2},  {183, MONTHS, 6, 2},  {184, YEARS, 0, 0},  {186, YEARS, 0, 0},
    {185, YEARS, 50, 2},  {187, YEARS, 50, 2},
};

// The weekday's name in the current language; "" for a day outside 0 ... 6.
const char* WeekdayName(int weekday) {
  if (weekday < 0 || weekday > 6) return "";
  const char* name = GetLangText(TEXT_SUNDAY + weekday);
  return name ? name : "";
}

// Lower case without any spaces, for comparing weekday names.
std::string Normalised(const char* text) {
  std::string out;
  for (const char* p = text; p && *p; ++p) {
    const unsigned char c = static_cast<unsigned char>(*p);
    if (c != ' ') out += static_cast<char>(std::tolower(c));
  }
  return out;
}

std::string Trimmed(const char* text) {
  std::string out = text ? text : "";
  const size_t first = out.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  const size_t last = out.find_last_not_of(' ');
  return out.substr(first, last - first + 1);
}

// The text with the blanks at the start and end of every line removed: the
// texts begin with a blank and the step texts with a blank before their line
// end, which would push centred lines off centre.
std::string WithoutBlanksAtLineEnds(const std::string& text) {
  std::string out;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    if (start > 0) out += '\n';
    out += Trimmed(text.substr(start, end - start).c_str());
    start = end + 1;
  }
  return out;
}

std::string DateText(const Datum& date) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%d.%d.%d", date.day, date.month, date.year);
  return buffer;
}

int DigitsValue(const char* digits, int count) {
  int value = 0;
  for (int i = 0; i < count; ++i) value = value * 10 + (digits[i] - '0');
  return value;
}

}  // namespace

DG_Datum_Game::DG_Datum_Game(int difficulty_)
    : Denkar_Game(difficulty_, "datum.sav"), answerBox(*this, *this, FEEDBACK_RIGHT, FEEDBACK_WRONG) {
  startDate.Today(true);
  resultDate.Today(true);
  switch (difficulty_) {
    case 1:
      stepCount = 2, taskCount = 15, weekdayChance = 0.1, randomStart = true;
      break;
    case 2:
      stepCount = 3, taskCount = 20, weekdayChance = 0.2, randomStart = true;
      break;
    default:
      stepCount = 2, taskCount = 10, weekdayChance = 0.1, randomStart = false;
      break;
  }
  BuildTask();
  playTime = 0.0;
  taskFont = fontManager->AddFont("Arial", 25);
  answerFont = fontManager->AddFont("Arial", 20);
  answerBox.Clear();
}

// The fonts belong to the font manager.
DG_Datum_Game::~DG_Datum_Game() = default;

// ---------------------------------------------------------------- tasks

int DG_Datum_Game::StepGroup(int type) {
  if (type < 0 || type >= STEP_TYPES) return -1;
  if (type <= 1) return 0;  // days
  if (type <= 5) return 1;  // weeks
  if (type <= 9) return 2;  // months
  return 3;                 // years
}

void DG_Datum_Game::BuildTask() {
  startDate.TodayOrRandom(randomStart, true);
  resultDate = startDate;
  weekdayQuestion = CrtRand() / static_cast<double>(CRT_RAND_MAX) <= weekdayChance;
  const char* header = GetLangText(weekdayQuestion ? TEXT_WEEKDAY_HEADER : TEXT_DATE_HEADER);
  taskText = header ? header : "";
  std::fill(std::begin(stepTypes), std::end(stepTypes), -1);
  int previous = -1;
  for (int i = 0; i < stepCount && i < MAX_STEPS; ++i) stepTypes[i] = previous = NextStep(previous);
  taskText = WithoutBlanksAtLineEnds(taskText);
  BuildStartLine();
  correctShown_ =
      weekdayQuestion ? Trimmed(WeekdayName(resultDate.weekday)) : DateText(resultDate);
}

int DG_Datum_Game::NextStep(int previous) {
  // The direction alternates: after an even (backward) type an odd one, and
  // the other way round; the first step (previous -1 counts as odd) goes back.
  const int parity = previous % 2 == 0 ? 1 : 0;
  const auto fits = [previous](int v) { return v != previous && StepGroup(v) != StepGroup(previous); };
  int type = -1;
  for (int draw = 0; draw < MAX_STEP_DRAWS && type < 0; ++draw) {
    const int v = 2 * (CrtRand() % 7) + parity;
    if (fits(v)) type = v;
  }
  for (int k = 0; k < 7 && type < 0; ++k)
    if (fits(2 * k + parity)) type = 2 * k + parity;

  const StepKind& kind = kSteps[type];
  const int r = CrtRand();
  const int n = kind.modulo > 0 ? r % kind.modulo + kind.offset : 1;
  const int signedN = type % 2 == 1 ? n : -n;
  switch (kind.unit) {
    case DAYS: resultDate.AddDays(signedN, true); break;
    case WEEKS: resultDate.AddDays(7 * signedN, true); break;
    case MONTHS:
      resultDate.AddMonths(signedN, false);
      resultDate.ClampDay(true);  // 31 March - 1 month is the last day of February
      break;
    case YEARS:
      resultDate.AddYears(signedN, false);
      resultDate.ClampDay(true);  // 29 February + 1 year is 28 February
      break;
  }
  taskText += kind.modulo > 0 ? FormatText(GetLangText(kind.text), {n})
                              : FormatText(GetLangText(kind.text), {});
  return type;
}

Datum DG_Datum_Game::ReadDateAnswer(const char* digits) {
  const CalendarDate today = TodayUtc();
  const int length = digits ? static_cast<int>(std::strlen(digits)) : 0;
  Datum date;
  date.day = length >= 2 ? DigitsValue(digits, 2) : today.day;
  date.month = length >= 4 ? DigitsValue(digits + 2, 2) : today.month;
  date.year = length >= 8 ? DigitsValue(digits + 4, 4) : today.year;
  date.UpdateWeekday();
  return date;
}

bool DG_Datum_Game::IsRight(const char* typed) const {
  if (weekdayQuestion) {
    const std::string expected = Normalised(WeekdayName(resultDate.weekday));
    return !expected.empty() && Normalised(typed) == expected;
  }
  return ReadDateAnswer(typed).SameDate(resultDate);
}

std::string DG_Datum_Game::ExpectedAnswer() const {
  if (weekdayQuestion) {
    std::string name;
    for (const char* p = WeekdayName(resultDate.weekday); *p; ++p)
      if (*p != ' ') name += *p;
    return name;
  }
  char digits[32];
  std::snprintf(digits, sizeof digits, "%02d%02d%04d", resultDate.day, resultDate.month,
                resultDate.year);
  return digits;
}

// ---------------------------------------------------------------- input

bool DG_Datum_Game::TakesInput() const {
  return started && state == GAME_STATE_RUNNING && !answerBox.InFeedback();
}

bool DG_Datum_Game::TakesKey(int key, int length) const {
  if (weekdayQuestion) return key >= 'A' && key <= 'Z' && length < MAX_WEEKDAY_LETTERS;
  return key >= '0' && key <= '9' && length < MAX_DATE_DIGITS;
}

std::string DG_Datum_Game::ShownAnswer(const char* typed, bool judgedRight) const {
  // After a right answer a date shows as the date reached; a weekday as typed.
  if (judgedRight && !weekdayQuestion) return correctShown_;
  std::string shown;
  for (int i = 0; typed && typed[i]; ++i) {
    shown += typed[i];
    if (!weekdayQuestion && (i == 1 || i == 3)) shown += '.';  // DD.MM.YYYY
  }
  return shown;
}

float DG_Datum_Game::TileScale(int, int shownLength) const {
  return std::max(1.0f, static_cast<float>(shownLength) * 0.3f);
}

void DG_Datum_Game::OnKeyDown(int key) { answerBox.OnKeyDown(key); }
void DG_Datum_Game::OnKeyUp(int key) { answerBox.OnKeyUp(key); }

// ---------------------------------------------------------------- frames

void DG_Datum_Game::Update() { answerBox.Update(taskCount); }

void DG_Datum_Game::BuildStartLine() {
  startLine_ = FormatText(GetLangText(TEXT_START_LINE), {WeekdayName(startDate.weekday),
                                                          startDate.day, startDate.month,
                                                          startDate.year});
}

void DG_Datum_Game::Render() {
  if (!started) return;
  const float w2 = static_cast<float>(app->screenWidth / 2);
  const float h2 = static_cast<float>(app->screenHeight / 2);
  if (state == GAME_STATE_RUNNING) DrawTimeBar(playTime, font);
  fontManager->DrawTextAt(startLine_.c_str(), w2, h2 - 150, BLACK, CENTRED, taskFont);
  fontManager->DrawTextAt(taskText.c_str(), w2, h2, BLACK, CENTRED, taskFont);
  answerBox.Draw(w2, h2 + 150, answerFont);
}

void DG_Datum_Game::OnLostDevice() {
  Denkar_Game::OnLostDevice();
  if (taskFont) taskFont->OnLostDevice();
  if (answerFont) answerFont->OnLostDevice();
}

void DG_Datum_Game::OnResetDevice() {
  Denkar_Game::OnResetDevice();
  if (taskFont) taskFont->OnResetDevice();
  if (answerFont) answerFont->OnResetDevice();
}

// ---------------------------------------------------------------- results

void DG_Datum_Game::ComputeGrade() { grade = answerBox.Grade(taskCount, SECONDS_PER_POINT); }

const char* DG_Datum_Game::GetDescriptionText() { return GetLangText(TEXT_DESCRIPTION); }
const char* DG_Datum_Game::GetResultTitle() { return GetLangText(TEXT_TITLE); }
const char* DG_Datum_Game::GetStatisticsText() { return BuildStatisticsText(); }

const char* DG_Datum_Game::GetResultText() {
  resultText_ = answerBox.ResultText(PlayTimeLine(), grade);
  return resultText_.c_str();
}
