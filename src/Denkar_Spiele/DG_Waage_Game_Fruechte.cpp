#include "Denkar_Spiele/DG_Waage_Game_Fruechte.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "data/language.h"
#include "framework/time_bar.h"
#include "gfx/font.h"
#include "platform/crt_rand.h"
#include "util/app_context.h"
#include "util/format_text.h"

namespace {

constexpr double DEGREES_TO_RADIANS = 0.017453292;
// The beam turns towards its target tilt by this share per second.
constexpr double TILT_RATE = 1.0;
// Largest tilt in degrees, reached when one pan carries everything.
constexpr double MAX_TILT = 30.0;
// Half the distance between the pan centres.
constexpr float HALF_BEAM = 100.0f;
// Seconds a judged task stays on screen before the next one.
constexpr double FEEDBACK_SECONDS = 2.0;
// One frame charges at most this much to the task's clock and the play time:
// a stall (a dragged window, a machine waking from sleep) would otherwise
// fail the task at once and add the whole gap to the grade.
constexpr double MAX_CLOCK_STEP = 0.5;

const RECT STAND_SOURCE{800, 0, 884, 100};
const RECT BEAM_SOURCE{500, 320, 700, 360};
const RECT PAN_SOURCE{502, 445, 598, 498};
// Marks shown while a judged task stays on screen.
const RECT RIGHT_MARK_SOURCE{150, 450, 200, 500};
const RECT WRONG_MARK_SOURCE{750, 0, 800, 50};
// The beam image turns about this point of its own (its bearing).
const D3DXVECTOR2 BEAM_PIVOT{100.0f, 22.5f};

int ImageIndexFor(int mass) {
  switch (mass) {
    case 25: return 0;
    case 50: return 1 + CrtRand() % 2;
    case 100: return 3;
    case 250: return 4 + CrtRand() % 2;
    case 500: return 6;
    default: return 7;
  }
}

// The point (x, y) through the transform, as D3DXVec2TransformCoord does.
D3DXVECTOR2 TransformCoord(const Matrix2D& m, float x, float y) {
  return D3DXVECTOR2{m.m11 * x + m.m21 * y + m.dx, m.m12 * x + m.m22 * y + m.dy};
}

int MassOf(PtrList<Gewicht>& fruits) {
  int sum = 0;
  for (int i = 0; i < fruits.Count(); ++i) sum += fruits.Get(i)->mass;
  return sum;
}

// The first movable fruit of the list under (x, y), taken out of the list.
Gewicht* TakeMovableAt(PtrList<Gewicht>& fruits, float x, float y) {
  for (int i = 0; i < fruits.Count(); ++i) {
    Gewicht* fruit = fruits.Get(i);
    if (fruit->movable && fruit->Contains(x, y)) {
      fruits.RemoveAt(i, false);
      return fruit;
    }
  }
  return nullptr;
}

// Targets of a pan's fruits: three in a row standing on the pan, further
// rows 50 px higher.
void StackOnPan(PtrList<Gewicht>& fruits, D3DXVECTOR2 panCentre) {
  float ox = 0, oy = 0;
  for (int i = 0; i < fruits.Count(); ++i) {
    fruits.Get(i)->position.SetTarget(panCentre.x - 40.0f + ox, panCentre.y - 32.5f + oy);
    ox += 50.0f;
    if (ox > 100.0f) {
      ox = 0;
      oy -= 50.0f;
    }
  }
}

}  // namespace

// ---------------------------------------------------------------- Gewicht

Gewicht::Gewicht(int mass_, bool movable_, float x, float y)
    : imageIndex(ImageIndexFor(mass_)), app(&GetAppContext()), movable(movable_),
      position(x, y), mass(mass_) {
  std::snprintf(label_, sizeof label_, "%dg", mass);
}

void Gewicht::Draw() {
  const int left = 100 * (imageIndex % 4), top = 100 * (imageIndex / 4);
  const RECT source{left, top, left + 100, top + 100};
  const float s = static_cast<float>(scale);
  const D3DXVECTOR2 scaling{s, s};
  const D3DXVECTOR2 corner{position.x - 50.0f * s, position.y - 100.0f * s};
  app->DrawSprite(app->texMisc4, &source, &scaling, nullptr, 0, &corner,
                  movable ? 0xFFFFFFFF : 0xFF7F7F7F);
  // The label with a light rim, so that it stays readable over the fruit
  // pictures (red on the dimmed fixed fruits above all).
  FontManager& fonts = GetFontManager();
  const float x = position.x, y = position.y - 10.0f;
  for (const auto& [dx, dy] : {std::pair{-1.0f, 0.0f}, {1.0f, 0.0f}, {0.0f, -1.0f}, {0.0f, 1.0f}})
    fonts.DrawTextAt(label_, x + dx, y + dy, 0xC0FFFFFF, DT_CENTER, fonts.defaultFont);
  fonts.DrawTextAt(label_, x, y, movable ? 0xFF000000 : 0xFFFF0000, DT_CENTER, fonts.defaultFont);
}

bool Gewicht::Contains(float x, float y) const {
  const double halfWidth = 30.0 * scale, height = 115.0 * scale;
  return std::abs(x - position.x) <= halfWidth && y >= position.y - height && y <= position.y;
}

// ---------------------------------------------------------------- Waage

Waage::Waage(int difficulty) : app(&GetAppContext()) {
  static const struct {
    int leastLoose;
    double pFixed, pSplit;
  } kLevels[3] = {{5, 0.25, 0.5}, {7, 0.3, 0.6}, {10, 0.35, 0.7}};
  const auto& level = kLevels[std::clamp(difficulty, 0, 2)];
  Layout();
  Fill(level.leastLoose, level.pFixed, level.pSplit);
  Layout();
}

Waage::~Waage() { delete carry.Release(); }

bool Waage::Chance(double p) { return CrtRand() / static_cast<double>(CRT_RAND_MAX) <= p; }

void Waage::AddFruit(int mass, PtrList<Gewicht>& pan, double pFixed) {
  const bool fixed = Chance(pFixed);
  Gewicht* fruit = new Gewicht(mass, !fixed, 0, 0);
  // Every fruit drops in from a random place on the top edge.
  fruit->position.JumpTo(static_cast<float>(CrtRand() % std::max(1, app->screenWidth)), 0);
  (fixed ? pan : looseRow).Insert(fruit);
}

void Waage::Fill(int leastLoose, double pFixed, double pSplit) {
  // Each round puts the same mass on both sides (one side as one fruit, the
  // other as one fruit or split into smaller ones), so the fixed and loose
  // fruits together always balance.
  while (looseRow.Count() < leastLoose) {
    const int h = CrtRand() % WAAGE_MASS_COUNT;
    AddFruit(WAAGE_MASSES[h], rightPan, pFixed);
    if (h > 0 && Chance(pSplit)) {
      int rest = WAAGE_MASSES[h];
      while (rest > 0) {
        int j = h - 1;
        while (j > 0 && WAAGE_MASSES[j] > rest) --j;
        if (WAAGE_MASSES[j] > rest) break;  // unreachable: every mass is a multiple of 25
        AddFruit(WAAGE_MASSES[j], leftPan, pFixed);
        rest -= WAAGE_MASSES[j];
      }
    } else {
      AddFruit(WAAGE_MASSES[h], leftPan, pFixed);
    }
  }
}

int Waage::LeftMass() { return MassOf(leftPan); }
int Waage::RightMass() { return MassOf(rightPan); }

double Waage::TargetTiltFor(int left, int right) const {
  if (right < left) return -MAX_TILT * left / (left + right);
  if (left < right) return MAX_TILT * right / (left + right);
  return 0.0;
}

D3DXVECTOR2 Waage::Rotated(D3DXVECTOR2 offset) const {
  const Matrix2D rotation =
      MatrixTransformation2D(nullptr, nullptr, static_cast<float>(tilt * DEGREES_TO_RADIANS), nullptr);
  const D3DXVECTOR2 turned = TransformCoord(rotation, offset.x, offset.y);
  return D3DXVECTOR2{static_cast<float>(app->screenWidth / 2) + turned.x,
                     static_cast<float>(app->screenHeight / 2) + turned.y};
}

D3DXVECTOR2 Waage::BeamPlace() const {
  return D3DXVECTOR2{static_cast<float>(app->screenWidth / 2) - 100.0f,
                     static_cast<float>(app->screenHeight / 2)};
}

Matrix2D Waage::BeamTransform() const {
  const D3DXVECTOR2 place = BeamPlace();
  return MatrixTransformation2D(nullptr, &BEAM_PIVOT, static_cast<float>(tilt * DEGREES_TO_RADIANS),
                                &place);
}

void Waage::Layout() {
  leftPanCentre = Rotated(D3DXVECTOR2{-HALF_BEAM, 0});
  rightPanCentre = Rotated(D3DXVECTOR2{HALF_BEAM, 0});
  StackOnPan(rightPan, rightPanCentre);
  StackOnPan(leftPan, leftPanCentre);
  const float rowLeft = static_cast<float>(app->screenWidth / 2 - looseRow.Count() * 40 / 2);
  const float rowY = static_cast<float>(3 * app->screenHeight / 4);
  for (int i = 0; i < looseRow.Count(); ++i)
    looseRow.Get(i)->position.SetTarget(rowLeft + 50.0f * i, rowY);
}

void Waage::Update() {
  const double P = app->frameTime;
  int left = 0, right = 0;
  for (int i = 0; i < leftPan.Count(); ++i) {
    leftPan.Get(i)->Glide(P);
    left += leftPan.Get(i)->mass;
  }
  for (int i = 0; i < rightPan.Count(); ++i) {
    rightPan.Get(i)->Glide(P);
    right += rightPan.Get(i)->mass;
  }
  for (int i = 0; i < looseRow.Count(); ++i) looseRow.Get(i)->Glide(P);
  if (Held()) Held()->Glide(P);
  targetTilt = TargetTiltFor(left, right);
  tilt = GlideToward(tilt, targetTilt, P, TILT_RATE);
  Layout();
}

bool Waage::Balanced() {
  if (Held() || looseRow.Count() > 0) return false;
  return LeftMass() == RightMass();
}

void Waage::MouseDown(int x, int y) {
  // A fruit still held (its release never arrived) is put down first, as
  // its release would have done.
  carry.DropLeftover(x, y, [this](int, int) { MouseUp(); });
  buttonDown = true;
  const float fx = static_cast<float>(x), fy = static_cast<float>(y);
  Gewicht* fruit = TakeMovableAt(leftPan, fx, fy);
  if (!fruit) fruit = TakeMovableAt(rightPan, fx, fy);
  if (!fruit) fruit = TakeMovableAt(looseRow, fx, fy);
  carry.PickUp(fruit, x, y);
}

void Waage::MouseMove(int x, int y) {
  float dx, dy;
  if (carry.Follow(x, y, &dx, &dy) && buttonDown) {
    GlidePoint& p = Held()->position;
    p.SetTarget(p.targetX + dx, p.targetY + dy);
  }
}

void Waage::MouseUp() {
  buttonDown = false;
  Gewicht* fruit = carry.Release();
  if (!fruit) return;
  if (fruit->position.y > 2 * app->screenHeight / 3)
    looseRow.Insert(fruit);
  else if (fruit->position.x > app->screenWidth / 2)
    rightPan.Insert(fruit);
  else
    leftPan.Insert(fruit);
}

void Waage::Draw() {
  const D3DXVECTOR2 standAt{static_cast<float>(app->screenWidth / 2) - 42.0f,
                            static_cast<float>(app->screenHeight / 2) + 22.5f};
  app->DrawSprite(app->texMisc1, &STAND_SOURCE, nullptr, nullptr, 0, &standAt, 0xFFFFFFFF);
  const D3DXVECTOR2 beamAt = BeamPlace();
  app->DrawSprite(app->texMisc1, &BEAM_SOURCE, nullptr, &BEAM_PIVOT, tilt * DEGREES_TO_RADIANS,
                  &beamAt, 0xFFFFFFFF);
  for (const D3DXVECTOR2& centre : {leftPanCentre, rightPanCentre}) {
    const D3DXVECTOR2 panAt{centre.x - 48.0f, centre.y - 30.5f};
    app->DrawSprite(app->texMisc1, &PAN_SOURCE, nullptr, nullptr, 0, &panAt, 0xFFFFFFFF);
  }
  for (int i = 0; i < rightPan.Count(); ++i) rightPan.Get(i)->Draw();
  for (int i = 0; i < leftPan.Count(); ++i) leftPan.Get(i)->Draw();
  for (int i = 0; i < looseRow.Count(); ++i) looseRow.Get(i)->Draw();
  if (Held()) Held()->Draw();
}

// ---------------------------------------------------------------- the game

DG_Waage_Game_Früchte::DG_Waage_Game_Früchte(int difficulty_)
    : Denkar_Game(difficulty_, "waage_fruits.sav") {
  static const int kTaskCounts[3] = {5, 7, 10};
  taskCount = kTaskCounts[std::clamp(difficulty_, 0, 2)];
  rightCount = wrongCount = 0;
  feedbackSeconds = timeUsedSum = 0.0;
  playTime = 0.0;
  BuildTask();
}

DG_Waage_Game_Früchte::~DG_Waage_Game_Früchte() {
  delete waage;
  waage = nullptr;
}

void DG_Waage_Game_Früchte::BuildTask() {
  static const double kTimeLimits[3] = {60.0, 50.0, 40.0};
  feedbackSeconds = 0.0;
  delete waage;
  waage = new Waage(difficulty);
  timeLeft = timeLimit = kTimeLimits[std::clamp(static_cast<int>(difficulty), 0, 2)];
}

bool DG_Waage_Game_Früchte::TakesInput() const {
  // Not during the pause after a judged task, and never once the play is
  // over or before it started.
  return started && state == GAME_STATE_RUNNING && feedbackSeconds <= 0.0 && waage;
}

void DG_Waage_Game_Früchte::OnMouseMove(int x, int y) {
  if (TakesInput()) waage->MouseMove(x, y);
}

void DG_Waage_Game_Früchte::OnLButtonDown(int x, int y) {
  if (TakesInput()) waage->MouseDown(x, y);
}

void DG_Waage_Game_Früchte::OnLButtonUp(int, int) {
  if (TakesInput()) waage->MouseUp();
}

void DG_Waage_Game_Früchte::Update() {
  if (started && state == GAME_STATE_RUNNING && waage) {
    const double P = app->frameTime;
    waage->Update();
    if (feedbackSeconds > 0.0) {
      feedbackSeconds -= P;
      if (feedbackSeconds <= 0.0) {
        if (rightCount + wrongCount < taskCount)
          BuildTask();
        else
          state = GAME_STATE_ENDED;
      }
    } else {
      const double step = std::min(P, MAX_CLOCK_STEP);
      timeLeft -= step;
      playTime += step;
      if (timeLeft <= 0.0) {
        // Time is up: a fruit still in the hand is put down where it is, and
        // the task counts as right only if the pans are level now.
        waage->MouseUp();
        feedbackSeconds = FEEDBACK_SECONDS;
        lastTaskRight = waage->Balanced();
        if (lastTaskRight) {
          ++rightCount;
          timeUsedSum += timeLimit;
        } else {
          ++wrongCount;
        }
      } else if (waage->Balanced()) {
        timeUsedSum += timeLimit - timeLeft;
        ++rightCount;
        lastTaskRight = true;
        feedbackSeconds = FEEDBACK_SECONDS;
      }
    }
  }
  record.playTime += app->frameTime;
}

void DG_Waage_Game_Früchte::Render() {
  if (!started) return;
  if (state == GAME_STATE_RUNNING) {
    DrawTimeBar(playTime, font);
    const int t = WholeSecondsOf(timeLeft);
    if (t != timeLeftShown_) {
      timeLeftText_ = FormatText(GetLangText(117), {t / 60, t % 60});
      timeLeftShown_ = t;
    }
    const int left = app->screenWidth / 2 - 150;
    fontManager->DrawTextRect(timeLeftText_.c_str(), left, 50, left + 300, 100, 0xFF000000,
                              DT_CENTER | DT_VCENTER, font->id);
    // While a judged task stays on screen: a tick when it was solved, a
    // cross when its time ran out, under the time left.
    if (feedbackSeconds > 0.0) {
      const D3DXVECTOR2 at{static_cast<float>(app->screenWidth / 2 - 25), 105.0f};
      app->DrawSprite(app->texMisc1, lastTaskRight ? &RIGHT_MARK_SOURCE : &WRONG_MARK_SOURCE,
                      nullptr, nullptr, 0, &at, 0xFFFFFFFF);
    }
  }
  if (waage) waage->Draw();
}

const char* DG_Waage_Game_Früchte::GetDescriptionText() { return GetLangText(136); }
const char* DG_Waage_Game_Früchte::GetResultTitle() { return GetLangText(135); }
const char* DG_Waage_Game_Früchte::GetStatisticsText() { return BuildStatisticsText(); }

void DG_Waage_Game_Früchte::ComputeGrade() {
  const int judged = rightCount + wrongCount;
  const double t = playTime;
  if (state == GAME_STATE_ENDED) {
    const double wrongShare = judged > 0 ? static_cast<double>(wrongCount) / judged : 0.0;
    grade = std::min(6.0, 1.0 + 5.0 * wrongShare + t / 90.0);
  } else if (judged == 0) {
    grade = 6.0;
  } else {
    grade = std::min(6.0, 1.0 + 10.0 * wrongCount / judged + t / 60.0);
  }
}

const char* DG_Waage_Game_Früchte::GetResultText() {
  ComputeGrade();
  const int t = WholeSecondsOf(playTime);
  const int judged = rightCount + wrongCount;
  const double meanTime = judged > 0 ? timeUsedSum / judged : 0.0;
  resultText_ = FormatText(GetLangText(37), {t / 60, t % 60}) + "\n";
  resultText_ += FormatText(GetLangText(30), {rightCount}) + "\n";
  resultText_ += FormatText(GetLangText(31), {wrongCount}) + "\n";
  resultText_ += FormatText(GetLangText(41), {meanTime}) + "\n\n";
  resultText_ += FormatText(GetLangText(50), {grade});
  return resultText_.c_str();
}
