#include "Denkar_Spiele/DG_Gedaechtnis.h"

#include <algorithm>
#include <vector>

#include "data/language.h"
#include "framework/scatter.h"
#include "framework/time_bar.h"
#include "platform/crt_rand.h"
#include "util/app_context.h"
#include "util/format_text.h"

namespace {
constexpr int FIRST_SEQUENCE_LENGTH = 4;
// Share of a step during which its lamp is lit (the rest is dark, so a lamp
// that comes twice in a row visibly goes out and on again).
constexpr double LIT_SHARE = 4.0 / 5.0;
constexpr double CLICK_LIGHT_SECONDS = 1.0;
constexpr double PAUSE_BEFORE_SHOWING = 1.0;
}  // namespace

Lamp::Lamp(int style_, double size_, float x, float y)
    : style(style_), app(&GetAppContext()), size(size_), centreX(x), centreY(y) {}

double Lamp::DistanceTo(float x, float y) const { return CentreDistance(x, y, centreX, centreY); }

void Lamp::Tick() { litTime -= app->realFrameTime; }

void Lamp::Draw() const {
  const int left = (style % 6) * 100;
  const int top = (style / 6) * 200 + (Lit() ? 150 : 50);
  const RECT source{left, top, left + 50, top + 50};
  const float k = static_cast<float>(size / 50.0);
  const D3DXVECTOR2 scale{k, k};
  const D3DXVECTOR2 position{static_cast<float>(centreX - size / 2),
                             static_cast<float>(centreY - size / 2)};
  app->DrawSprite(app->texMisc3, &source, &scale, nullptr, 0, &position, 0xFFFFFFFF);
}

DG_Gedächtnis::DG_Gedächtnis(int difficulty_) : Denkar_Game(difficulty_, "gedächtnis.sav") {
  double size;
  switch (difficulty_) {
    case 1: lampCount = 30; size = 30.0; break;
    case 2: lampCount = 40; size = 20.0; break;
    default: lampCount = 20; size = 40.0; break;
  }
  showingLength = 10.0;
  const int style = CrtRand() % 12;
  const std::vector<DiscCentre> centres = ScatterDiscs(lampCount, size, 100);
  for (const DiscCentre& c : centres) lamps.Insert(new Lamp(style, size, c.x, c.y));
  for (int i = 0; i < FIRST_SEQUENCE_LENGTH; ++i) AppendRandomStep();
  position = 0;
  showing = true;
  stepTimer = 0.0;
  state = GAME_STATE_RUNNING;
  playTime = 0.0;
}

DG_Gedächtnis::~DG_Gedächtnis() {
  sequence.Clear();
  lamps.Clear();
}

void DG_Gedächtnis::AppendRandomStep() { sequence.Insert(new int(CrtRand() % lampCount)); }

Lamp* DG_Gedächtnis::LampOfStep(int step) {
  const int* index = sequence.Get(step);
  return index ? lamps.Get(*index) : nullptr;
}

void DG_Gedächtnis::Update() {
  if (started) {
    for (int i = 0; i < lamps.Count(); ++i) lamps.Get(i)->Tick();
    if (showing) {
      stepTimer -= app->realFrameTime;
      if (stepTimer <= 0) {
        const int L = SequenceLength();
        stepTimer = showingLength / L;
        if (position < L) {
          if (Lamp* previous = LampOfStep(std::max(position - 1, 0))) previous->SetLitTime(0);
          if (Lamp* lamp = LampOfStep(position)) lamp->SetLitTime(showingLength / L * LIT_SHARE);
          ++position;
        } else {
          position = 0;
          showing = false;  // the player's turn
        }
      }
    }
    // Only the player's answering time counts.
    if (state == GAME_STATE_RUNNING && !showing) playTime += app->frameTime;
  }
  record.playTime += app->frameTime;
}

void DG_Gedächtnis::OnLButtonDown(int x, int y) {
  const float px = static_cast<float>(x), py = static_cast<float>(y);
  // Only during the player's turn of a running play: nothing after a wrong
  // lamp or the win, nothing while the sequence is shown.
  for (int i = 0; i < lamps.Count(); ++i) {
    if (!started || state != GAME_STATE_RUNNING || showing) return;
    const int L = SequenceLength();
    if (position >= L) return;  // the whole sequence has been entered
    Lamp* lamp = lamps.Get(i);
    if (!lamp->Contains(px, py)) continue;
    lamp->SetLitTime(CLICK_LIGHT_SECONDS);
    if (i != *sequence.Get(position)) {
      state = GAME_STATE_ENDED_OTHER;
      app->PlaySoundEffect(10, 1.0f);
      continue;
    }
    ++position;
    if (position < L) continue;
    if (L >= lampCount) {
      state = GAME_STATE_ENDED;  // won
    } else {
      AppendRandomStep();
      position = 0;
      showing = true;
      stepTimer = PAUSE_BEFORE_SHOWING;
    }
  }
}

void DG_Gedächtnis::ComputeGrade() {
  const double L = SequenceLength();
  const double n = std::max(lampCount, 1);
  grade = 1.0 + 5.0 * (1.0 - L / n) + playTime / (L + 40.0);
  grade = std::min(grade, 6.0);
}

const char* DG_Gedächtnis::GetDescriptionText() { return GetLangText(67); }
const char* DG_Gedächtnis::GetResultTitle() { return GetLangText(18); }
const char* DG_Gedächtnis::GetStatisticsText() { return BuildStatisticsText(); }

const char* DG_Gedächtnis::GetResultText() {
  resultText_ = PlayTimeLine();
  if (state != GAME_STATE_ENDED) resultText_ += FormatText(GetLangText(36), {SequenceLength() - 1});
  else resultText_ += FormatText(GetLangText(38), {});
  resultText_ += "\n\n";
  resultText_ += FormatText(GetLangText(50), {grade});
  return resultText_.c_str();
}

void DG_Gedächtnis::Render() {
  if (state == GAME_STATE_RUNNING && started) {
    const int L = SequenceLength();
    const int shown = showing ? position : position + 1;
    // One key for what the line shows: which text, step and length.
    const int key = ((showing ? 1 : 0) * 1000 + shown) * 1000 + L;
    if (key != barKey_) {
      barKey_ = key;
      barLine_ = FormatText(GetLangText(showing ? 51 : 52), {shown, L});
    }
    DrawTimeBar(playTime, font, false, barLine_.c_str());
  }
  for (int i = 0; i < lamps.Count(); ++i) lamps.Get(i)->Draw();
}
