#include "Denkar_Spiele/DG_Wechselgeld_Game.h"

#include <algorithm>
#include <cmath>

#include "data/language.h"
#include "framework/time_bar.h"
#include "gfx/font.h"
#include "platform/crt_rand.h"
#include "util/app_context.h"
#include "util/format_text.h"

const int kMoneyDenominations[MONEY_DENOMINATION_COUNT] = {
    1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000, 50000};

namespace {

// Pieces glide this share of their remaining way per second.
constexpr double MONEY_GLIDE_RATE = 8.0;
// A piece flying back to its pile vanishes this close to it.
constexpr double RETURN_VANISH_DISTANCE = 10.0;
// Two releases on the button within this time are one double click.
constexpr double DOUBLE_CLICK_SECONDS = 0.5;
// Room kept free between the pictures of neighbouring piles.
constexpr float PILE_GAP = 6.0f;
// Height of the heading over the price and the payment.
constexpr int CAPTION_BAND = 40;

struct Sizes {
  int first, second, denominations, tasks;  // N1, N2, D, T
};
constexpr Sizes kSizes[3] = {{5, 1, 8, 7}, {5, 3, 12, 6}, {10, 6, 15, 5}};

struct MoneyImage {
  int value;
  RECT source;
};
constexpr MoneyImage kImages[MONEY_DENOMINATION_COUNT] = {
    {1, {300, 300, 400, 400}},    {2, {200, 300, 300, 400}},    {5, {100, 300, 200, 400}},
    {10, {0, 300, 100, 400}},     {20, {300, 200, 400, 300}},   {50, {200, 200, 300, 300}},
    {100, {100, 200, 200, 300}},  {200, {0, 200, 100, 300}},    {500, {0, 450, 200, 550}},
    {1000, {0, 550, 220, 650}},   {2000, {0, 650, 240, 750}},   {5000, {0, 750, 240, 850}},
    {10000, {260, 450, 520, 570}}, {20000, {260, 570, 530, 690}}, {50000, {260, 690, 540, 810}}};

float HalfWidthOf(const RECT& r) { return (r.right - r.left) / 2.0f; }
float HalfHeightOf(const RECT& r) { return (r.bottom - r.top) / 2.0f; }

void DrawMoney(AppContext* app, int value, float centreX, float centreY, double scale,
               D3DCOLOR colour) {
  const RECT source = Geldstueck::ImageOf(value);
  const float s = static_cast<float>(scale);
  const D3DXVECTOR2 scaling{s, s};
  const D3DXVECTOR2 position{centreX - HalfWidthOf(source) * s, centreY - HalfHeightOf(source) * s};
  app->DrawSprite(app->texMisc4, &source, &scaling, nullptr, 0, &position, colour);
}

bool WithinBox(float px, float py, float centreX, float centreY, float halfW, float halfH) {
  return std::fabs(px - centreX) <= halfW && std::fabs(py - centreY) <= halfH;
}

}  // namespace

// ---------------------------------------------------------------- Geldstueck

RECT Geldstueck::ImageOf(int value) {
  for (const MoneyImage& image : kImages)
    if (image.value == value) return image.source;
  return kImages[0].source;
}

double Geldstueck::ScaleOf(int value) { return value <= 200 ? 0.75 : 0.5; }

Geldstueck::Geldstueck(int value_, float x, float y)
    : app(&GetAppContext()), point(x, y), value(value_), scale(ScaleOf(value_)) {
  // The half extent is half the picture, so the hit box is what is drawn.
  const RECT source = ImageOf(value);
  halfW = HalfWidthOf(source);
  halfH = HalfHeightOf(source);
}

void Geldstueck::Draw() const { DrawMoney(app, value, point.x, point.y, scale, colour); }

void Geldstueck::Glide(double seconds) { point.Step(seconds, MONEY_GLIDE_RATE); }

bool Geldstueck::Contains(float px, float py) const {
  const float s = static_cast<float>(scale);
  return WithinBox(px, py, point.x, point.y, halfW * s, halfH * s);
}

// ---------------------------------------------------------------- Geldstapel

Geldstapel::Geldstapel(int value_, float x_, float y_, float slotWidth)
    : x(x_), y(y_), value(value_) {
  const RECT source = Geldstueck::ImageOf(value);
  const double fit = (slotWidth - PILE_GAP) / (source.right - source.left);
  scale = std::max(0.1, std::min(Geldstueck::ScaleOf(value), fit));
}

void Geldstapel::Draw() {
  AppContext* app = &GetAppContext();
  DrawMoney(app, value, x, y, scale, colour);
  for (int i = 0; i < returning.Count(); ++i) returning.Get(i)->Draw();
}

bool Geldstapel::Contains(float px, float py) const {
  const RECT source = Geldstueck::ImageOf(value);
  const float s = static_cast<float>(scale);
  return WithinBox(px, py, x, y, HalfWidthOf(source) * s, HalfHeightOf(source) * s);
}

Geldstueck* Geldstapel::Take() {
  if (count == 0) return nullptr;
  if (count > 0) --count;
  return new Geldstueck(value, x, y);
}

bool Geldstapel::Return(Geldstueck* piece) {
  if (!piece || piece->value != value) return false;
  if (count >= 0) ++count;
  piece->SetTarget(x, y);
  returning.Insert(piece);
  return true;
}

void Geldstapel::Animate(double seconds) {
  for (int i = returning.Count() - 1; i >= 0; --i) {
    Geldstueck* piece = returning.Get(i);
    piece->Glide(seconds);
    if (piece->Arrived(RETURN_VANISH_DISTANCE)) returning.RemoveAt(i, true);
  }
}

// ---------------------------------------------------------------- Geldfeld

Geldfeld::Geldfeld(int kind_, bool framed_, float left_, float top_, float right_, float bottom_)
    : app(&GetAppContext()), kind(kind_), framed(framed_), left(left_), top(top_), right(right_),
      bottom(bottom_), font(GetFontManager().AddFont("Arial", 25)) {}

void Geldfeld::DrawCaption() {
  TextItem caption;
  caption.text = GetLangText(144 + kind);
  if (!caption.text) return;
  // The change field starts empty and shows its caption in its middle; the
  // price and the payment are covered by their pieces, so their captions
  // stand as headings over them.
  caption.rect = framed ? RECT{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
                               static_cast<int>(bottom)}
                        : RECT{static_cast<int>(left), static_cast<int>(top) - CAPTION_BAND,
                               static_cast<int>(right), static_cast<int>(top)};
  caption.colour = 0xFF000000;
  caption.format = DT_CENTER | DT_VCENTER;
  caption.font = font;
  GetFontManager().DrawTextItem(caption);
}

void Geldfeld::Draw() {
  if (framed) {
    DrawCaption();
    const RECT across{505, 0, 600, 5}, down{500, 5, 505, 100};
    const D3DXVECTOR2 wide{(right - left) / 95.0f, 1.0f}, tall{1.0f, (bottom - top) / 95.0f};
    const D3DXVECTOR2 topLeft{left, top}, bottomLeft{left, bottom - 5}, topRight{right - 5, top};
    app->DrawSprite(app->texMisc4, &across, &wide, nullptr, 0, &topLeft, 0xFFFFFFFF);
    app->DrawSprite(app->texMisc4, &across, &wide, nullptr, 0, &bottomLeft, 0xFFFFFFFF);
    app->DrawSprite(app->texMisc4, &down, &tall, nullptr, 0, &topLeft, 0xFFFFFFFF);
    app->DrawSprite(app->texMisc4, &down, &tall, nullptr, 0, &topRight, 0xFFFFFFFF);
  }
  for (int i = 0; i < pieces.Count(); ++i) pieces.Get(i)->Draw();
  if (!framed) DrawCaption();
}

void Geldfeld::Animate(double seconds) {
  for (int i = 0; i < pieces.Count(); ++i) pieces.Get(i)->Glide(seconds);
}

bool Geldfeld::Contains(float px, float py) const {
  return left <= px && px <= right && top <= py && py <= bottom;
}

void Geldfeld::Add(Geldstueck* piece, float x, float y) {
  piece->SetTarget(x, y);
  pieces.Insert(piece);
}

void Geldfeld::RandomPoint(float* x, float* y) const {
  const double r1 = CrtRand(), r2 = CrtRand();
  *x = static_cast<float>(left + (right - left) * r1 / CRT_RAND_MAX);
  *y = static_cast<float>(top + (bottom - top) * r2 / CRT_RAND_MAX);
}

bool Geldfeld::Hit(float px, float py) {
  for (int i = 0; i < pieces.Count(); ++i)
    if (pieces.Get(i)->Contains(px, py)) return true;
  return false;
}

Geldstueck* Geldfeld::Take(float px, float py) {
  for (int i = pieces.Count() - 1; i >= 0; --i) {
    Geldstueck* piece = pieces.Get(i);
    if (!piece->Contains(px, py)) continue;
    pieces.RemoveAt(i, false);
    return piece;
  }
  return nullptr;
}

int Geldfeld::Sum() {
  int sum = 0;
  for (int i = 0; i < pieces.Count(); ++i) sum += pieces.Get(i)->value;
  return sum;
}

// ---------------------------------------------------------------- the game

DG_Wechselgeld_Game::DG_Wechselgeld_Game(int difficulty_) : Denkar_Game(difficulty_, "geld.sav") {
  const Sizes& sizes = kSizes[std::clamp(difficulty_, 0, 2)];
  pieceCountFirst = sizes.first;
  pieceCountSecond = sizes.second;
  denominationCount = sizes.denominations;
  taskCount = sizes.tasks;
  rightCount = optimalCount = tasksDone = 0;
  playTime = 0.0;
  BuildTask();
}

DG_Wechselgeld_Game::~DG_Wechselgeld_Game() { ClearTask(); }

void DG_Wechselgeld_Game::ClearTask() {
  delete heldForChange.Release();
  delete heldInFirst.Release();
  delete heldInSecond.Release();
  delete firstField;
  delete secondField;
  delete changeField;
  firstField = secondField = changeField = nullptr;
  piles.Clear();
}

void DG_Wechselgeld_Game::BuildTask() {
  ClearTask();
  const float W = static_cast<float>(app->screenWidth), H = static_cast<float>(app->screenHeight);
  firstField = new Geldfeld(0, false, 0.15f * W, 0.15f * H, 0.4f * W, 0.45f * H);
  secondField = new Geldfeld(1, false, 0.6f * W, 0.15f * H, 0.85f * W, 0.45f * H);
  changeField = new Geldfeld(2, true, 0.25f * W, 0.55f * H, 0.75f * W, 0.8f * H);
  const int D = denominationCount;

  const auto addPiece = [](Geldfeld* field, int value) {
    float x, y;
    field->RandomPoint(&x, &y);
    field->Add(new Geldstueck(value, x, y), x, y);
  };
  firstSum = 0;
  for (int i = 0; i < pieceCountFirst; ++i) {
    const int value = kMoneyDenominations[CrtRand() % D];
    addPiece(firstField, value);
    firstSum += value;
  }
  secondSum = 0;
  for (int i = 0; i < pieceCountSecond; ++i) {
    if (i < pieceCountSecond - 1 || secondSum >= firstSum) {
      const int value = kMoneyDenominations[CrtRand() % D];
      addPiece(secondField, value);
      secondSum += value;
      continue;
    }
    for (int value : FillUp(firstSum - secondSum, D)) {
      addPiece(secondField, value);
      secondSum += value;
    }
  }

  const float slot = W / D;
  for (int j = 0; j < D; ++j)
    piles.Insert(new Geldstapel(kMoneyDenominations[j], (j + 0.5f) * slot, H - 75, slot));
}

std::vector<int> DG_Wechselgeld_Game::FillUp(int rest, int denominations) {
  std::vector<int> pieces;
  denominations = std::clamp(denominations, 1, MONEY_DENOMINATION_COUNT);
  while (rest >= 0) {
    // The smallest denomination above what is missing, or the largest while
    // even that is not enough.
    int value = kMoneyDenominations[denominations - 1];
    for (int j = 0; j < denominations; ++j)
      if (kMoneyDenominations[j] > rest) {
        value = kMoneyDenominations[j];
        break;
      }
    pieces.push_back(value);
    rest -= value;
  }
  return pieces;
}

std::vector<int> DG_Wechselgeld_Game::GreedySplit(int amount, int denominations) {
  std::vector<int> split;
  denominations = std::clamp(denominations, 1, MONEY_DENOMINATION_COUNT);
  for (int j = denominations - 1; j >= 0 && amount > 0; --j)
    for (; amount >= kMoneyDenominations[j]; amount -= kMoneyDenominations[j])
      split.push_back(kMoneyDenominations[j]);
  return split;
}

ChangeVerdict DG_Wechselgeld_Game::JudgeChange(const std::vector<int>& given, int change,
                                               int denominations) {
  ChangeVerdict verdict;
  long long sum = 0;
  for (int v : given) sum += v;
  verdict.right = sum == change;
  if (!verdict.right) return verdict;
  // Every piece of the greedy split must be there once; with the right sum
  // that leaves no piece over.
  std::vector<int> unmatched = given;
  for (int value : GreedySplit(change, denominations)) {
    const auto it = std::find(unmatched.begin(), unmatched.end(), value);
    if (it == unmatched.end()) return verdict;
    unmatched.erase(it);
  }
  verdict.optimal = true;
  return verdict;
}

RECT DG_Wechselgeld_Game::ButtonRect() const {
  const int cx = app->screenWidth / 2, cy = app->screenHeight / 2;
  return RECT{cx - 100, cy - 25, cx + 100, cy + 25};
}

bool DG_Wechselgeld_Game::HoldsPiece() const {
  return heldForChange.Holding() || heldInFirst.Holding() || heldInSecond.Holding();
}

bool DG_Wechselgeld_Game::InputOpen() const {
  return started && state == GAME_STATE_RUNNING && changeField;
}

void DG_Wechselgeld_Game::OnMouseMove(int x, int y) {
  if (!InputOpen()) return;
  const float fx = static_cast<float>(x), fy = static_cast<float>(y);
  for (const DragCarry<Geldstueck>* carry : {&heldForChange, &heldInFirst, &heldInSecond})
    if (Geldstueck* piece = carry->Held()) piece->SetTarget(fx, fy);
}

void DG_Wechselgeld_Game::OnLButtonDown(int x, int y) {
  if (!InputOpen()) return;
  // A piece still held lost its release: it is put down first.
  if (HoldsPiece()) DropHeld(x, y);
  const float fx = static_cast<float>(x), fy = static_cast<float>(y);
  Geldstueck* piece = nullptr;
  for (int i = 0; i < piles.Count() && !piece; ++i)
    if (piles.Get(i)->Contains(fx, fy)) piece = piles.Get(i)->Take();
  if (!piece) piece = changeField->Take(fx, fy);
  if (piece) {
    heldForChange.PickUp(piece, x, y);
  } else if ((piece = firstField->Take(fx, fy))) {
    heldInFirst.PickUp(piece, x, y);
  } else if ((piece = secondField->Take(fx, fy))) {
    heldInSecond.PickUp(piece, x, y);
  }
  if (piece) piece->SetTarget(fx, fy);
}

void DG_Wechselgeld_Game::DropHeld(int x, int y) {
  const float fx = static_cast<float>(x), fy = static_cast<float>(y);
  if (Geldstueck* piece = heldForChange.Release()) {
    if (changeField->Contains(fx, fy)) {
      changeField->Add(piece, fx, fy);
    } else {
      bool taken = false;
      for (int i = 0; i < piles.Count() && !taken; ++i) taken = piles.Get(i)->Return(piece);
      if (!taken) delete piece;
    }
  }
  // Pieces of the price and of the money paid never leave their field.
  const auto putBack = [fx, fy](Geldfeld* field, Geldstueck* piece) {
    if (!piece) return;
    float px = fx, py = fy;
    if (!field->Contains(fx, fy)) field->RandomPoint(&px, &py);
    field->Add(piece, px, py);
  };
  putBack(firstField, heldInFirst.Release());
  putBack(secondField, heldInSecond.Release());
}

void DG_Wechselgeld_Game::OnLButtonUp(int x, int y) {
  if (!InputOpen()) return;
  if (HoldsPiece()) {
    DropHeld(x, y);
    return;
  }
  const RECT button = ButtonRect();
  if (x < button.left || x > button.right || y < button.top || y > button.bottom) return;
  if (sinceConfirm < DOUBLE_CLICK_SECONDS) return;  // the second click of a double click
  sinceConfirm = 0;
  EvaluateTask();
  if (tasksDone < taskCount)
    BuildTask();
  else
    state = GAME_STATE_ENDED;
}

void DG_Wechselgeld_Game::EvaluateTask() {
  std::vector<int> given;
  for (int i = 0; i < changeField->pieces.Count(); ++i)
    given.push_back(changeField->pieces.Get(i)->value);
  const ChangeVerdict verdict = JudgeChange(given, Change(), denominationCount);
  if (verdict.right) ++rightCount;
  if (verdict.optimal) ++optimalCount;
  ++tasksDone;
}

void DG_Wechselgeld_Game::Update() {
  const double P = app->frameTime;
  sinceConfirm += app->realFrameTime;
  if (started && changeField) {
    changeField->Animate(P);
    firstField->Animate(P);
    secondField->Animate(P);
    for (int i = 0; i < piles.Count(); ++i) piles.Get(i)->Animate(P);
    for (const DragCarry<Geldstueck>* carry : {&heldForChange, &heldInFirst, &heldInSecond})
      if (Geldstueck* piece = carry->Held()) piece->Glide(P);
    if (state == GAME_STATE_RUNNING) playTime += P;
  }
  record.playTime += P;
}

void DG_Wechselgeld_Game::ComputeGrade() {
  const double t = playTime;
  if (state == GAME_STATE_ENDED && taskCount > 0) {
    const double T = taskCount;
    grade = 1 + 3 * (1 - rightCount / T) + 2 * (1 - optimalCount / T) + t / 120;
  } else if (tasksDone > 0) {
    const double done = tasksDone;
    grade = 1 + 3 * (1 - rightCount / done) + 2 * (1 - optimalCount / done) + t / 80;
  } else {
    grade = 6.0;
  }
  grade = std::min(grade, 6.0);
}

const char* DG_Wechselgeld_Game::GetDescriptionText() { return GetLangText(141); }
const char* DG_Wechselgeld_Game::GetResultTitle() { return GetLangText(140); }
const char* DG_Wechselgeld_Game::GetStatisticsText() { return BuildStatisticsText(); }

const char* DG_Wechselgeld_Game::GetResultText() {
  ComputeGrade();
  resultText_ = PlayTimeLine();
  resultText_ += FormatText(GetLangText(142), {rightCount, taskCount}) + "\n";
  resultText_ += FormatText(GetLangText(143), {optimalCount, taskCount}) + "\n\n";
  resultText_ += FormatText(GetLangText(50), {grade});
  return resultText_.c_str();
}

void DG_Wechselgeld_Game::OnLostDevice() {
  Denkar_Game::OnLostDevice();
  for (Geldfeld* field : {firstField, secondField, changeField})
    if (field && field->font) field->font->OnLostDevice();
}

void DG_Wechselgeld_Game::OnResetDevice() {
  Denkar_Game::OnResetDevice();
  for (Geldfeld* field : {firstField, secondField, changeField})
    if (field && field->font) field->font->OnResetDevice();
}

void DG_Wechselgeld_Game::Render() {
  if (!started || !changeField) return;
  if (state == GAME_STATE_RUNNING) {
    DrawTimeBar(playTime, font);
    const RECT button = ButtonRect();
    const RECT source{400, 600, 600, 650};
    const D3DXVECTOR2 position{static_cast<float>(button.left), static_cast<float>(button.top)};
    app->DrawSprite(app->texMenu2, &source, nullptr, nullptr, 0, &position, 0xFFFFFFFF);
    TextItem caption;
    caption.text = GetLangText(133);
    caption.rect = button;
    caption.colour = 0xFF000000;
    caption.format = DT_CENTER | DT_VCENTER;
    caption.font = font;
    if (caption.text) fontManager->DrawTextItem(caption);
  }
  changeField->Draw();
  firstField->Draw();
  secondField->Draw();
  for (int i = 0; i < piles.Count(); ++i) piles.Get(i)->Draw();
  for (const DragCarry<Geldstueck>* carry : {&heldForChange, &heldInSecond, &heldInFirst})
    if (Geldstueck* piece = carry->Held()) piece->Draw();
}
