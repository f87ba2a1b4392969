#include "Denkar_Spiele/DG_Uhr_lesen.h"

#include <cstdio>
#include <cstdlib>

#include "data/language.h"
#include "framework/time_bar.h"
#include "gfx/font.h"
#include "platform/crt_rand.h"
#include "util/app_context.h"

namespace {
constexpr unsigned BLACK = 0xFF000000;
constexpr unsigned WHITE = 0xFFFFFFFF;
constexpr DWORD CENTRED = DT_CENTER | DT_VCENTER;
constexpr double RADIANS_PER_DEGREE = 0.017453292;
const RECT kDial{600, 500, 800, 700};
const RECT kHourHand{800, 300, 1000, 500};
const RECT kMinuteHand{800, 500, 1000, 700};
const RECT kDisplay{600, 400, 800, 500};
const RECT kSignTile{100, 450, 150, 500};

// Hours and minutes printed with `format`; the clocks' "%1.d:%02d" prints no
// digit for hour 0.
std::string ClockText(int hours, int minutes, const char* format = "%1.d:%02d") {
  char text[32];
  std::snprintf(text, sizeof text, format, hours, minutes);
  return text;
}
}  // namespace

Uhr::Uhr(float x, float y, int kind, double size)
    : app(&GetAppContext()), scale(size / 200.0), position{x, y} {
  hours = CrtRand() % 24;
  minutes = CrtRand() % 60;
  analog = kind < UHR_EITHER ? kind == UHR_ANALOG : CrtRand() % 2 != 0;
  font = GetFontManager().AddFont("Arial", 40);
  std::snprintf(digitalText, sizeof digitalText, "%s", ClockText(hours, minutes).c_str());
}

void Uhr::Draw() const {
  const float s = static_cast<float>(scale);
  const D3DXVECTOR2 scaling{s, s};
  FontManager& fonts = GetFontManager();
  if (!analog) {
    const D3DXVECTOR2 corner{position.x - 100 * s, position.y - 50 * s};
    app->DrawSprite(app->texMisc1, &kDisplay, &scaling, nullptr, 0, &corner, WHITE);
    fonts.DrawTextAt(digitalText, position.x, position.y, BLACK, CENTRED, font);
    return;
  }
  const D3DXVECTOR2 corner{position.x - 100 * s, position.y - 100 * s};
  app->DrawSprite(app->texMisc1, &kDial, &scaling, nullptr, 0, &corner, WHITE);
  fonts.DrawTextAt(hours < 12 ? "am" : "pm", position.x, position.y + 30, BLACK, DT_CENTER, font);
  const D3DXVECTOR2 pivot{100 * s, 100 * s};
  app->DrawSprite(app->texMisc1, &kHourHand, &scaling, &pivot, HourAngle() * RADIANS_PER_DEGREE,
                  &corner, WHITE);
  app->DrawSprite(app->texMisc1, &kMinuteHand, &scaling, &pivot,
                  MinuteAngle() * RADIANS_PER_DEGREE, &corner, WHITE);
}

void Uhr::OnLostDevice() {
  if (font) font->OnLostDevice();
}

void Uhr::OnResetDevice() {
  if (font) font->OnResetDevice();
}

DG_Uhr_lesen::DG_Uhr_lesen(int difficulty_) : Denkar_Game(difficulty_, "uhr.sav") {
  switch (difficulty_) {
    case 1: clockCount = 2; taskCount = 10; break;
    case 2: clockCount = 3; taskCount = 15; break;
    default: clockCount = 2; taskCount = 5; break;
  }
  playTime = 0.0;
  state = GAME_STATE_RUNNING;
  BuildTask();
}

DG_Uhr_lesen::~DG_Uhr_lesen() {
  minusPositions.Clear();
  plusPositions.Clear();
  clocks.Clear();
}

int DG_Uhr_lesen::JoinTimes(int sum, int value, bool plus) {
  return (sum + (plus ? value : MINUTES_PER_DAY - value)) % MINUTES_PER_DAY;
}

void DG_Uhr_lesen::BuildTask() {
  clocks.Clear();
  plusPositions.Clear();
  minusPositions.Clear();
  const float W = static_cast<float>(app->screenWidth), H = static_cast<float>(app->screenHeight);
  const float stepX = W * 3 / 4 / (clockCount - 1);
  D3DXVECTOR2 position{W / 8, H / 3};
  // The easiest level shows one kind per task; the others mix them.
  const int kind = difficulty == 1 || difficulty == 2 ? UHR_EITHER : CrtRand() % 2;
  correctAnswer = 0;
  for (int i = 0; i < clockCount; ++i) {
    Uhr* clock = new Uhr(position.x, position.y, kind, 200.0);
    clocks.Insert(clock);
    if (i == 0) {
      correctAnswer = clock->Value();
    } else {
      const bool plus = CrtRand() % 2 == 0;
      // The sign stands halfway between this clock and the one before.
      PtrList<D3DXVECTOR2>& signs = plus ? plusPositions : minusPositions;
      signs.Insert(new D3DXVECTOR2{position.x - stepX / 2, position.y});
      correctAnswer = JoinTimes(correctAnswer, clock->Value(), plus);
    }
    position.x += stepX;
  }
}

int DG_Uhr_lesen::TypedMinutes(const char* answer) {
  const int a = static_cast<int>(std::strtol(answer, nullptr, 10));
  return a >= 100 ? a / 100 * 60 + a % 100 : a;
}

std::string DG_Uhr_lesen::TypedTime(const char* answer) {
  const int a = static_cast<int>(std::strtol(answer, nullptr, 10));
  return ClockText(a / 100, a % 100);
}

bool DG_Uhr_lesen::TakesKey(int key, int length) const {
  return key >= '0' && key <= '9' && length < MAX_DIGITS;
}

bool DG_Uhr_lesen::IsRight(const char* answer) const {
  return TypedMinutes(answer) == correctAnswer;
}

std::string DG_Uhr_lesen::ShownAnswer(const char* answer, bool) const { return TypedTime(answer); }

std::string DG_Uhr_lesen::CorrectAnswer() const {
  return ClockText(correctAnswer / 60, correctAnswer % 60, "%1.d : %02d");
}

float DG_Uhr_lesen::TileScale(int, int) const { return 1.5f; }

void DG_Uhr_lesen::Update() { answerBox.Update(taskCount); }

void DG_Uhr_lesen::Render() {
  if (!started) return;
  const float W = static_cast<float>(app->screenWidth), H = static_cast<float>(app->screenHeight);
  FontManager& fonts = GetFontManager();
  if (state == GAME_STATE_RUNNING) DrawTimeBar(playTime, font);
  for (PtrList<D3DXVECTOR2>* signs : {&plusPositions, &minusPositions}) {
    const char* sign = signs == &plusPositions ? "+" : "-";
    for (int i = 0; i < signs->Count(); ++i) {
      const D3DXVECTOR2 p = *signs->Get(i);
      const D3DXVECTOR2 corner{p.x - 25, p.y - 25};
      app->DrawSprite(app->texMisc1, &kSignTile, nullptr, nullptr, 0, &corner, WHITE);
      fonts.DrawTextAt(sign, p.x, p.y, BLACK, CENTRED, font);
    }
  }
  for (int i = 0; i < clocks.Count(); ++i) clocks.Get(i)->Draw();
  fonts.DrawTextAt("=", W / 2, H / 2 + 50, BLACK, CENTRED, font);
  answerBox.Draw(W / 2, H / 2 + 150, font);
}

void DG_Uhr_lesen::OnLostDevice() {
  Denkar_Game::OnLostDevice();
  for (int i = 0; i < clocks.Count(); ++i) clocks.Get(i)->OnLostDevice();
}

void DG_Uhr_lesen::OnResetDevice() {
  Denkar_Game::OnResetDevice();
  for (int i = 0; i < clocks.Count(); ++i) clocks.Get(i)->OnResetDevice();
}

const char* DG_Uhr_lesen::GetDescriptionText() { return GetLangText(111); }
const char* DG_Uhr_lesen::GetResultTitle() { return GetLangText(110); }
const char* DG_Uhr_lesen::GetStatisticsText() { return BuildStatisticsText(); }

const char* DG_Uhr_lesen::GetResultText() {
  resultText_ = answerBox.ResultText(PlayTimeLine(), grade);
  return resultText_.c_str();
}

void DG_Uhr_lesen::ComputeGrade() { grade = answerBox.Grade(taskCount, 120.0); }
