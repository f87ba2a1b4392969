#include "Denkar_Spiele/DG_MMaster.h"

#include <algorithm>
#include <cmath>

#include "data/language.h"
#include "framework/time_bar.h"
#include "platform/crt_rand.h"
#include "util/app_context.h"
#include "util/format_text.h"

namespace {

constexpr double PEG_GLIDE_RATE = 10.0;
constexpr float HOLE_STEP_X = 52.0f, HOLE_STEP_Y = 55.0f;
constexpr float PEG_REACH = 20.0f;   // a press this close to a palette peg takes it
constexpr float HOLE_REACH = 25.0f;  // ... to a hole or an answer box
constexpr double END_DISPLAY_SECONDS = 2.0;
constexpr int BOX_PIN_COUNT = 5;
// Pins are drawn at half a peg's size, so the five of a box stay apart
// inside it instead of running into each other and the next row.
constexpr float PIN_SIZE = 0.5f;
// The holes of the hidden code, before it is shown.
constexpr D3DCOLOR HIDDEN_CODE_TINT = 0xFF4F4F4F;

constexpr D3DCOLOR kTints[] = {0xFFFF0000, 0xFF0000FF, 0xFF00FF00, 0xFFFFFF00, 0xFFFF8000,
                               0xFFFF00FF, 0x00FFFFFF, 0xFFFFFFFF, 0xFF000000};

void DrawCell(AppContext* app, float centreX, float centreY, D3DCOLOR tint) {
  const RECT source{550, 0, 600, 50};
  const D3DXVECTOR2 position{centreX - 25, centreY - 25};
  app->DrawSprite(app->texMisc1, &source, nullptr, nullptr, 0, &position, tint);
}

bool Within(float px, float py, float x, float y, float reach) {
  return std::fabs(px - x) <= reach && std::fabs(py - y) <= reach;
}

}  // namespace

// ---------------------------------------------------------------- pieces

MMPeg::MMPeg(int colour_, float x, float y) : app(&GetAppContext()), point(x, y), colour(colour_) {}

D3DCOLOR MMPeg::TintOf(int colour, bool dimmed) {
  const D3DCOLOR tint = kTints[std::clamp(colour, 0, MM_BLACK_PIN)];
  if (!dimmed || colour == MM_WHITE_PIN || colour == MM_BLACK_PIN) return tint;
  const D3DCOLOR r = (tint >> 16 & 0xFF) * 2 / 3, g = (tint >> 8 & 0xFF) * 2 / 3,
                 b = (tint & 0xFF) * 2 / 3;
  return (tint & 0xFF000000) | r << 16 | g << 8 | b;
}

void MMPeg::Draw(bool dimmed) const {
  const RECT source{605, 5, 645, 45};
  const D3DXVECTOR2 scaling{size, size};
  const D3DXVECTOR2 position{point.x - 20 * size, point.y - 20 * size};
  app->DrawSprite(app->texMisc1, &source, &scaling, nullptr, 0, &position, TintOf(colour, dimmed));
}

void MMPeg::Glide(double seconds) { point.Step(seconds, PEG_GLIDE_RATE); }

MMHole::MMHole(float x_, float y_) : app(&GetAppContext()), x(x_), y(y_) {}

bool MMHole::Place(MMPeg* newPeg) {
  if (peg || !newPeg) return false;
  peg = newPeg;
  peg->point.SetTarget(x, y);
  return true;
}

bool MMHole::Near(float px, float py, float reach) const { return Within(px, py, x, y, reach); }

MMPeg* MMAnswerBox::NewPin(int colour) const {
  MMPeg* pin = new MMPeg(colour, x, y);
  pin->size = PIN_SIZE;
  return pin;
}

MMAnswerBox::MMAnswerBox(float x_, float y_) : app(&GetAppContext()), x(x_), y(y_) {
  for (int i = 0; i < BOX_PIN_COUNT; ++i) pins.Insert(NewPin(MM_EMPTY_PIN));
  Animate(1.0);  // the empty pins start in their places
}

void MMAnswerBox::AddPin(int colour, int position, bool positional) {
  MMPeg* pin = NewPin(colour);
  if (colour == MM_BLACK_PIN) ++black;
  if (colour == MM_WHITE_PIN) ++white;
  MMPeg* old = positional ? pins.Get(position) : nullptr;
  if (old && old->colour == MM_EMPTY_PIN) {
    pins.Insert(pin, false, position);
    pins.Remove(old, true);
  } else {
    pins.Insert(pin, false, 0);
  }
}

void MMAnswerBox::Animate(double seconds) {
  static constexpr float kOffsets[BOX_PIN_COUNT][2] = {
      {-12.5f, -12.5f}, {12.5f, -12.5f}, {-12.5f, 12.5f}, {12.5f, 12.5f}, {0, 0}};
  for (int i = 0; i < pins.Count(); ++i) {
    MMPeg* pin = pins.Get(i);
    const float dx = i < BOX_PIN_COUNT ? kOffsets[i][0] : 0, dy = i < BOX_PIN_COUNT ? kOffsets[i][1] : 0;
    pin->point.SetTarget(x + dx, y + dy);
    pin->Glide(seconds);
  }
}

bool MMAnswerBox::Near(float px, float py, float reach) const { return Within(px, py, x, y, reach); }

// ---------------------------------------------------------------- the game

DG_MMaster::DG_MMaster(int difficulty_) : Denkar_Game(difficulty_, "mindmaster.sav") {
  rowCount = 8;
  pegCount = difficulty_ >= 2 ? 5 : 4;
  positionalPins = difficulty_ <= 0;
  BuildBoard();
  buttonHeld = false;
  endTimer = 0;
  solved = false;
  playTime = 0.0;
}

DG_MMaster::~DG_MMaster() { delete heldPeg.Release(); }

void DG_MMaster::BuildBoard() {
  const float W = static_cast<float>(app->screenWidth), H = static_cast<float>(app->screenHeight);
  currentRow = 0;
  const float x0 = W / 2 - (pegCount / 2) * HOLE_STEP_X - 26;
  const float y0 = H / 2 + (rowCount / 2) * HOLE_STEP_Y - 27.5f;
  for (int r = 0; r < rowCount; ++r) {
    float x = x0;
    const float y = y0 - r * HOLE_STEP_Y;
    auto* row = new PtrList<MMHole>(true);
    for (int i = 0; i < pegCount; ++i) {
      x += HOLE_STEP_X;
      row->Insert(new MMHole(x, y));
    }
    guessRows.Insert(row);
    x += HOLE_STEP_X;
    answerBoxes.Insert(new MMAnswerBox(x + 10, y));
  }
  const float y = y0 - HOLE_STEP_Y * (rowCount + 0.5f);
  float x = x0;
  for (int i = 0; i < pegCount; ++i) {
    x += HOLE_STEP_X;
    auto* hole = new MMHole(x, y);
    hole->peg = new MMPeg(CrtRand() % MM_PLAY_COLOURS, x, y);
    secretRow.Insert(hole);
  }
}

std::vector<int> DG_MMaster::Code() {
  std::vector<int> code;
  for (int i = 0; i < secretRow.Count(); ++i) code.push_back(secretRow.Get(i)->Colour());
  return code;
}

std::vector<std::pair<int, int>> DG_MMaster::RateGuess(const std::vector<int>& guess,
                                                       const std::vector<int>& code) {
  std::vector<std::pair<int, int>> pins;
  std::vector<int> rest = code;
  const size_t n = std::min(guess.size(), code.size());
  std::vector<bool> rated(n, false);
  for (size_t i = 0; i < n; ++i) {
    if (guess[i] != code[i]) continue;
    pins.emplace_back(static_cast<int>(i), MM_BLACK_PIN);
    rated[i] = true;
    rest.erase(std::find(rest.begin(), rest.end(), guess[i]));
  }
  for (size_t i = 0; i < n; ++i) {
    if (rated[i]) continue;
    const auto it = std::find(rest.begin(), rest.end(), guess[i]);
    if (it == rest.end()) continue;
    pins.emplace_back(static_cast<int>(i), MM_WHITE_PIN);
    rest.erase(it);
  }
  return pins;
}

void DG_MMaster::PaletteSpot(int slot, float* x, float* y) const {
  *x = static_cast<float>(app->screenWidth / 2 + 50 * slot - (palette.Count() / 2) * 50);
  *y = static_cast<float>(app->screenHeight - 70);
}

bool DG_MMaster::InputOpen() const {
  return started && state == GAME_STATE_RUNNING && !solved && currentRow < rowCount;
}

void DG_MMaster::OnLButtonDown(int x, int y) {
  if (!InputOpen()) return;
  // A peg still held lost its release: it is put down first.
  heldPeg.DropLeftover(x, y, [this](int px, int py) { DropHeldPeg(px, py); });
  buttonHeld = true;
  heldPeg.PickUp(nullptr, x, y);
  const float fx = static_cast<float>(x), fy = static_cast<float>(y);
  for (int i = 0; i < palette.Count(); ++i) {
    MMPeg* peg = palette.Get(i);
    if (!Within(fx, fy, peg->point.x, peg->point.y, PEG_REACH)) continue;
    palette.RemoveAt(i, false);
    heldPeg.PickUp(peg, x, y);
    return;
  }
  PtrList<MMHole>* row = CurrentRow();
  for (int i = 0; i < row->Count(); ++i) {
    MMHole* hole = row->Get(i);
    if (!hole->Near(fx, fy, HOLE_REACH)) continue;
    heldPeg.PickUp(hole->peg, x, y);  // an empty hole gives nothing
    hole->peg = nullptr;
    return;
  }
  for (int i = 0; i < row->Count(); ++i)
    if (!row->Get(i)->peg) return;  // the answer box waits for a full row
  if (CurrentBox()->Near(fx, fy, HOLE_REACH)) EvaluateRow();
}

void DG_MMaster::OnMouseMove(int x, int y) {
  if (!InputOpen()) return;
  float dx, dy;
  if (buttonHeld && heldPeg.Follow(x, y, &dx, &dy)) heldPeg.Held()->point.MoveBy(dx, dy);
}

void DG_MMaster::OnLButtonUp(int x, int y) {
  buttonHeld = false;
  if (InputOpen()) DropHeldPeg(x, y);
}

void DG_MMaster::DropHeldPeg(int x, int y) {
  MMPeg* peg = heldPeg.Release();
  if (!peg) return;
  const float fx = static_cast<float>(x), fy = static_cast<float>(y);
  PtrList<MMHole>* row = CurrentRow();
  for (int i = 0; row && i < row->Count(); ++i) {
    MMHole* hole = row->Get(i);
    if (!hole->Near(fx, fy, HOLE_REACH)) continue;
    if (hole->Place(peg)) return;
    break;  // occupied: back to the palette
  }
  palette.Insert(peg);
}

void DG_MMaster::EvaluateRow() {
  std::vector<int> guess;
  PtrList<MMHole>* row = CurrentRow();
  for (int i = 0; i < row->Count(); ++i) guess.push_back(row->Get(i)->Colour());
  MMAnswerBox* box = CurrentBox();
  for (const auto& [position, colour] : RateGuess(guess, Code()))
    box->AddPin(colour, position, positionalPins);
  ++currentRow;
  if (box->black == pegCount) {
    endTimer = END_DISPLAY_SECONDS;
    solved = true;
  } else if (currentRow >= rowCount) {
    endTimer = END_DISPLAY_SECONDS;
    solved = false;
  }
}

void DG_MMaster::Update() {
  const double P = app->frameTime;
  record.playTime += P;
  if (!started) return;
  if (endTimer > 0) {
    endTimer -= P;
    if (endTimer <= 0) state = solved ? GAME_STATE_ENDED : GAME_STATE_ENDED_OTHER;
  }
  if (state == GAME_STATE_RUNNING) playTime += P;

  // Every colour is always at hand: one that is neither in the palette nor
  // carried rises from the bottom edge. New pegs join before the palette is
  // laid out, so they know their place from the start.
  bool present[MM_PLAY_COLOURS] = {};
  for (int s = 0; s < palette.Count(); ++s) {
    const int c = palette.Get(s)->colour;
    if (c >= 0 && c < MM_PLAY_COLOURS) present[c] = true;
  }
  MMPeg* held = heldPeg.Held();
  if (held && held->colour >= 0 && held->colour < MM_PLAY_COLOURS) present[held->colour] = true;
  for (int c = 0; c < MM_PLAY_COLOURS; ++c)
    if (!present[c])
      palette.Insert(new MMPeg(c, static_cast<float>(app->screenWidth / 2),
                               static_cast<float>(app->screenHeight)));
  for (int s = 0; s < palette.Count(); ++s) {
    MMPeg* peg = palette.Get(s);
    float x, y;
    PaletteSpot(s, &x, &y);
    peg->point.SetTarget(x, y);
    peg->Glide(P);
  }
  if (held) held->Glide(P);

  for (int r = 0; r < guessRows.Count(); ++r) {
    PtrList<MMHole>* row = guessRows.Get(r);
    for (int i = 0; i < row->Count(); ++i)
      if (MMPeg* peg = row->Get(i)->peg) peg->Glide(P);
  }
  for (int r = 0; r < answerBoxes.Count(); ++r) answerBoxes.Get(r)->Animate(P);
}

void DG_MMaster::ComputeGrade() {
  const double t = playTime;
  if (state == GAME_STATE_ENDED) {
    const double k = std::max(currentRow - 3, 0);
    grade = k / (rowCount - 3) * 3 + 1 + t / 120;
  } else if (currentRow <= 0) {
    grade = 6.0;
  } else {
    const double b = answerBoxes.Get(currentRow - 1)->black;
    grade = (pegCount - b) / pegCount * 5 + 1 + t / 60;
  }
  grade = std::min(grade, 6.0);
}

const char* DG_MMaster::GetDescriptionText() { return GetLangText(126); }
const char* DG_MMaster::GetResultTitle() { return GetLangText(125); }
const char* DG_MMaster::GetStatisticsText() { return BuildStatisticsText(); }

const char* DG_MMaster::GetResultText() {
  resultText_ = PlayTimeLine() + "\n";
  resultText_ += FormatText(GetLangText(50), {grade});
  return resultText_.c_str();
}

void DG_MMaster::Render() {
  if (!started) return;
  if (state == GAME_STATE_RUNNING) DrawTimeBar(playTime, font);
  // The code's holes stand dark above the board; its pegs are shown for the
  // final two seconds and stay while the screen darkens for the result page.
  const bool showCode =
      endTimer > 0 || state == GAME_STATE_ENDED || state == GAME_STATE_ENDED_OTHER;
  for (int i = 0; i < secretRow.Count(); ++i) {
    MMHole* hole = secretRow.Get(i);
    DrawCell(app, hole->x, hole->y, showCode ? 0xFFFFFFFF : HIDDEN_CODE_TINT);
    if (showCode && hole->peg) hole->peg->Draw(false);
  }
  // Only a row still to be filled is lit.
  const int litRow = solved ? -1 : currentRow;
  for (int r = 0; r < guessRows.Count(); ++r) {
    const bool current = r == litRow;
    PtrList<MMHole>* row = guessRows.Get(r);
    for (int i = 0; i < row->Count(); ++i) {
      MMHole* hole = row->Get(i);
      DrawCell(app, hole->x, hole->y, current ? 0xFFFFFFFF : 0xFF7F7F7F);
      if (hole->peg) hole->peg->Draw(!current);
    }
  }
  for (int r = 0; r < answerBoxes.Count(); ++r) {
    const bool current = r == litRow;
    MMAnswerBox* box = answerBoxes.Get(r);
    DrawCell(app, box->x, box->y, current ? 0x7F7F5050 : 0x7F7F7F7F);
    for (int i = 0; i < box->pins.Count(); ++i) box->pins.Get(i)->Draw(!current);
  }
  for (int i = 0; i < palette.Count(); ++i) palette.Get(i)->Draw(false);
  if (MMPeg* held = heldPeg.Held()) held->Draw(false);
}
