#include "Denkar_Spiele/DG_Memory.h"

#include <algorithm>
#include <vector>

#include "data/language.h"
#include "framework/game_record.h"
#include "framework/scatter.h"
#include "framework/time_bar.h"
#include "platform/clock.h"
#include "platform/crt_rand.h"
#include "util/app_context.h"
#include "util/format_text.h"

MemoryCard::MemoryCard(int pairId_, float x, float y, double size_, int backStyle_)
    : app(&GetAppContext()), pairId(pairId_), centreX(x), centreY(y), size(size_),
      backStyle(backStyle_) {}

double MemoryCard::DistanceTo(float x, float y) const {
  return CentreDistance(x, y, centreX, centreY);
}

void MemoryCard::Draw() const {
  const float k = static_cast<float>(size / 100.0);
  const D3DXVECTOR2 scale{k, k};
  const float left = static_cast<float>(centreX - size / 2), top = static_cast<float>(centreY - size / 2);
  const RECT face{0, 500, 100, 600};
  const D3DXVECTOR2 shadowPos{left + 2, top + 2};
  app->DrawSprite(app->texMisc2, &face, &scale, nullptr, 0, &shadowPos, 0xFF000000);
  const D3DXVECTOR2 pos{left, top};
  if (open) {
    app->DrawSprite(app->texMisc2, &face, &scale, nullptr, 0, &pos, 0xFFFFFFFF);
    const int symLeft = (pairId % 8) * 65, symTop = (pairId / 8) * 65;
    const RECT symbol{symLeft, symTop, symLeft + 65, symTop + 65};
    const D3DXVECTOR2 symPos{centreX - 32.5f * k, centreY - 32.5f * k};
    app->DrawSprite(app->texMemoryMuster, &symbol, &scale, nullptr, 0, &symPos, 0xFFFFFFFF);
  } else {
    const RECT back{100 + 100 * backStyle, 500, 200 + 100 * backStyle, 600};
    app->DrawSprite(app->texMisc2, &back, &scale, nullptr, 0, &pos, 0xFFFFFFFF);
  }
}

DG_Memory::DG_Memory(int difficulty_) : Denkar_Game(difficulty_, "merkspiel.sav") {
  int count;
  double size;
  switch (difficulty_) {
    case 0: count = 16; size = 110.0; break;
    case 1: count = 24; size = 85.0; break;
    case 2: count = 32; size = 75.0; break;
    default: count = 8; size = 100.0; break;
  }
  CrtSrand(GetTickCount());
  moves = errors = 0;
  turnBackTimer = -1.0;
  const int backStyle = CrtRand() % 3;
  PlaceCards(count, size, backStyle);
  playTime = 0.0;
}

void DG_Memory::PlaceCards(int count, double size, int backStyle) {
  const std::vector<DiscCentre> centres = ScatterDiscs(count, size, 75);
  for (int i = 0; i < count; ++i) {
    MemoryCard* card = new MemoryCard(i / 2, centres[i].x, centres[i].y, size, backStyle);
    allCards.Insert(card);
    remainingCards.Insert(card);
  }
}

DG_Memory::~DG_Memory() {
  remainingCards.Clear();
  matchedCards.Clear();
  allCards.Clear();
}

void DG_Memory::OnLButtonUp(int x, int y) {
  if (turnBackTimer > 0 || !started) return;
  MemoryCard* card = nullptr;
  for (int i = 0; i < remainingCards.Count(); ++i) {
    MemoryCard* c = remainingCards.Get(i);
    if (c != firstCard && c->Contains(static_cast<float>(x), static_cast<float>(y))) {
      card = c;
      break;
    }
  }
  if (!card) return;
  card->Open();
  if (!firstCard) {
    firstCard = card;
    return;
  }
  secondCard = card;
  ++moves;
  if (firstCard->SamePair(*secondCard)) {
    matchedCards.Insert(firstCard);
    matchedCards.Insert(secondCard);
    remainingCards.Remove(firstCard);
    remainingCards.Remove(secondCard);
    firstCard = secondCard = nullptr;
    turnBackTimer = -1.0;
    app->PlaySoundEffect(12, 1.0f);
  } else {
    turnBackTimer = 2.0;
    ++errors;
  }
}

void DG_Memory::Update() {
  // The clock runs while the play runs: it stops when the last pair is found
  // and when the player quits (a quit play's result page, where the name is
  // typed, must not charge the typing time to the grade).
  if (state == GAME_STATE_RUNNING && started) playTime += app->frameTime;
  if (firstCard && secondCard) {
    turnBackTimer -= app->realFrameTime;
    if (turnBackTimer <= 0) {
      app->PlaySoundEffect(13, 1.0f);
      firstCard->Close();
      secondCard->Close();
      firstCard = secondCard = nullptr;
    }
  }
  if (remainingCards.Count() == 0) state = 0;
  record.playTime += app->frameTime;
}

void DG_Memory::ComputeGrade() {
  const double n = CardCount();
  if (n <= 0) {
    grade = 6.0;
    return;
  }
  grade = 1.0 + playTime / 120.0 + errors / n + 5.0 * remainingCards.Count() / n;
  grade = std::min(grade, 6.0);
}

const char* DG_Memory::GetDescriptionText() { return GetLangText(69); }
const char* DG_Memory::GetResultTitle() { return GetLangText(19); }
const char* DG_Memory::GetStatisticsText() { return BuildStatisticsText(); }

const char* DG_Memory::GetResultText() {
  resultText_ = PlayTimeLine();
  resultText_ += FormatText(GetLangText(23), {errors}) + "\n";
  resultText_ += FormatText(GetLangText(24), {moves}) + "\n\n";
  resultText_ += FormatText(GetLangText(50), {grade});
  return resultText_.c_str();
}

void DG_Memory::Render() {
  if (started && state == 6) DrawTimeBar(playTime, font);
  for (int i = 0; i < allCards.Count(); ++i) allCards.Get(i)->Draw();
}
