#include "Denkar_Spiele/DG_Dreieck_rechnen.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "data/language.h"
#include "framework/time_bar.h"
#include "gfx/font.h"
#include "platform/clock.h"
#include "platform/crt_rand.h"
#include "util/app_context.h"

namespace {
constexpr unsigned BLACK = 0xFF000000;
constexpr DWORD CENTRED = DT_CENTER | DT_VCENTER;
const RECT kNumberTile{100, 450, 150, 500};
const RECT kCombinedTile{50, 450, 100, 500};
const char* const kOperatorLabels[] = {"+", "-", "*", "/"};
}  // namespace

Stein::Stein(int value_, float x, float y)
    : app(&GetAppContext()), value(value_), position{x, y} {
  std::snprintf(label, sizeof label, "%d", value);
}

Stein::Stein(Stein* left_, Stein* right_, float x, float y)
    : app(&GetAppContext()), left(left_), right(right_), position{x, y} {
  op = ChooseOperator(left->value, right->value);
  value = Apply(op, left->value, right->value);
  std::snprintf(label, sizeof label, "%s", kOperatorLabels[op]);
}

int Stein::ChooseOperator(int a, int b) {
  if (b != 0 && a % b == 0) return STEIN_DIVIDE;
  if (a * b <= 100) return STEIN_TIMES;
  if (a - b >= 0) return STEIN_MINUS;
  return STEIN_PLUS;
}

int Stein::Apply(int op_, int a, int b) {
  switch (op_) {
    case STEIN_DIVIDE: return b != 0 ? a / b : 0;
    case STEIN_TIMES: return a * b;
    case STEIN_MINUS: return a - b;
    default: return a + b;
  }
}

void Stein::Draw(Font* font) const {
  const D3DXVECTOR2 corner{position.x - 25.0f, position.y - 25.0f};
  app->DrawSprite(app->texMisc1, Combined() ? &kCombinedTile : &kNumberTile, nullptr, nullptr, 0,
                  &corner, 0xFFFFFFFF);
  GetFontManager().DrawTextAt(label, position.x, position.y, BLACK, CENTRED, font);
  // A brick shared by two neighbours is drawn twice, to the same place.
  if (left) left->Draw(font);
  if (right) right->Draw(font);
}

DG_Dreieck_rechnen::DG_Dreieck_rechnen(int difficulty_) : Denkar_Game(difficulty_, "dreieck.sav") {
  switch (difficulty_) {
    case 1: rows = 3; taskCount = 20; break;
    case 2: rows = 4; taskCount = 20; break;
    default: rows = 3; taskCount = 10; break;
  }
  pyramidFont = fontManager->AddFont("Arial", 35);
  BuildPyramid();
  playTime = 0.0;
  state = GAME_STATE_RUNNING;
  CrtSrand(GetTickCount());
}

DG_Dreieck_rechnen::~DG_Dreieck_rechnen() {
  top = nullptr;
  bricks.Clear();
}

void DG_Dreieck_rechnen::BuildPyramid() {
  top = nullptr;
  bricks.Clear();
  const float W = static_cast<float>(app->screenWidth);
  // The start point is taken from the width in both coordinates, as the
  // pyramid has always stood.
  float sx = W / 2 - (rows / 2) * 80.0f;
  float sy = W / 2 - (rows + 2) * 60.0f;
  Stein* previous[4] = {};
  for (int i = 0; i < rows; ++i) {
    previous[i] = new Stein(CrtRand() % 20 + 1, sx + i * 80.0f, sy);
    bricks.Insert(previous[i]);
  }
  for (int j = 1; j < rows; ++j) {
    sx += 40.0f;
    sy += 60.0f;
    for (int k = 0; k < rows - j; ++k) {
      // previous[k + 1] is still the row above when brick k replaces previous[k].
      previous[k] = new Stein(previous[k], previous[k + 1], sx + k * 80.0f, sy);
      bricks.Insert(previous[k]);
    }
  }
  top = previous[0];
}

bool DG_Dreieck_rechnen::TakesKey(int key, int length) const {
  return key >= '0' && key <= '9' && length < MAX_DIGITS;
}

bool DG_Dreieck_rechnen::IsRight(const char* answer) const {
  return top && std::strtol(answer, nullptr, 10) == top->value;
}

std::string DG_Dreieck_rechnen::ShownAnswer(const char* answer, bool) const { return answer; }

std::string DG_Dreieck_rechnen::CorrectAnswer() const {
  return top ? std::to_string(top->value) : std::string();
}

float DG_Dreieck_rechnen::TileScale(int typedLength, int) const {
  return std::max(1.0f, typedLength * 0.5f);
}

void DG_Dreieck_rechnen::Update() { answerBox.Update(taskCount); }

void DG_Dreieck_rechnen::Render() {
  if (!started) return;
  const float W = static_cast<float>(app->screenWidth), H = static_cast<float>(app->screenHeight);
  if (state == GAME_STATE_RUNNING) DrawTimeBar(playTime, font);
  GetFontManager().DrawTextAt("=", W / 2, H / 2 + 50, BLACK, CENTRED, pyramidFont);
  answerBox.Draw(W / 2, H / 2 + 100, pyramidFont);
  if (top) top->Draw(pyramidFont);
}

void DG_Dreieck_rechnen::OnLostDevice() {
  Denkar_Game::OnLostDevice();
  if (pyramidFont) pyramidFont->OnLostDevice();
}

void DG_Dreieck_rechnen::OnResetDevice() {
  Denkar_Game::OnResetDevice();
  if (pyramidFont) pyramidFont->OnResetDevice();
}

const char* DG_Dreieck_rechnen::GetDescriptionText() { return GetLangText(66); }
const char* DG_Dreieck_rechnen::GetResultTitle() { return GetLangText(42); }
const char* DG_Dreieck_rechnen::GetStatisticsText() { return BuildStatisticsText(); }

const char* DG_Dreieck_rechnen::GetResultText() {
  resultText_ = answerBox.ResultText(PlayTimeLine(), grade);
  return resultText_.c_str();
}

void DG_Dreieck_rechnen::ComputeGrade() { grade = answerBox.Grade(taskCount, 120.0); }
