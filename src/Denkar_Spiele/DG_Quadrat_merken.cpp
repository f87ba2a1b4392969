#include "Denkar_Spiele/DG_Quadrat_merken.h"

#include <algorithm>

#include "data/language.h"
#include "framework/time_bar.h"
#include "gfx/font.h"
#include "platform/crt_rand.h"
#include "util/app_context.h"
#include "util/format_text.h"

namespace {
constexpr int GRID_SIZE = 200;
constexpr int GRID_GAP = 3;
constexpr double FIRST_SHOW_TIME = 2.0;
}  // namespace

DG_Quadrat_merken::DG_Quadrat_merken(int difficulty_) : Denkar_Game(difficulty_, "quadrate.sav") {
  int count = 5;
  switch (difficulty_) {
    case 1: count = 6; n = 3; showTime = 2.0; break;
    case 2: count = 6; n = 4; showTime = 4.0; break;
    default: count = 5; n = 3; showTime = 3.0; break;
  }
  bigFont = fontManager->AddFont("Arial", 30);
  scheme = CrtRand() % 12;
  for (int i = 0; i < count; ++i) {
    patterns.Insert(new QuadField(true, n, scheme, GRID_SIZE, nullptr, GRID_GAP));
    answers.Insert(new QuadField(false, n, scheme, GRID_SIZE, nullptr, GRID_GAP));
  }
  index = 0;
  showing = true;
  stepTimer = FIRST_SHOW_TIME;
  state = GAME_STATE_RUNNING;
  playTime = 0.0;
}

DG_Quadrat_merken::~DG_Quadrat_merken() {
  patterns.Clear();
  answers.Clear();
}

QuadField* DG_Quadrat_merken::CurrentGrid() {
  return showing ? patterns.Get(index) : answers.Get(index);
}

void DG_Quadrat_merken::Update() {
  for (int i = 0; i < patterns.Count(); ++i) patterns.Get(i)->UpdateAll();
  for (int i = 0; i < answers.Count(); ++i) answers.Get(i)->UpdateAll();
  if (started && state == GAME_STATE_RUNNING) {
    if (showing) {
      // The show runs on wall time.
      stepTimer -= app->realFrameTime;
      if (stepTimer <= 0) {
        stepTimer = showTime;
        if (++index >= patterns.Count()) {
          index = 0;
          showing = false;
        }
      }
    } else {
      playTime += app->frameTime;
    }
  }
  record.playTime += app->frameTime;
}

void DG_Quadrat_merken::OnLButtonDown(int x, int y) {
  if (!started || showing || state != GAME_STATE_RUNNING) return;
  if (QuadField* grid = answers.Get(index)) grid->Click(static_cast<float>(x), static_cast<float>(y));
}

void DG_Quadrat_merken::OnKeyUp(int key) {
  if (key != VK_RETURN || !started || showing || state != GAME_STATE_RUNNING) return;
  if (++index >= answers.Count()) Evaluate();
}

void DG_Quadrat_merken::Evaluate() {
  correct = 0;
  for (int p = 0; p < patterns.Count(); ++p) {
    QuadField* pattern = patterns.Get(p);
    for (int a = 0; a < answers.Count(); ++a) {
      if (answers.Get(a)->Equals(*pattern)) {
        ++correct;  // each pattern counts once, whichever grid holds it
        break;
      }
    }
  }
  state = GAME_STATE_ENDED;
  showing = true;
}

void DG_Quadrat_merken::ComputeGrade() {
  const int count = patterns.Count();
  if (count == 0) {
    grade = 6.0;
    return;
  }
  // A play that has not ended yet (the player quit) is evaluated with the
  // grids as they stand and its time weighs double; grading again afterwards
  // finds the play ended and uses the usual weight.
  double timeScale = 120.0;
  if (state != GAME_STATE_ENDED) {
    Evaluate();
    timeScale = 60.0;
  }
  grade = 1.0 + 5.0 * (count - correct) / count + playTime / timeScale;
  grade = std::min(grade, 6.0);
}

const char* DG_Quadrat_merken::GetDescriptionText() { return GetLangText(70); }
const char* DG_Quadrat_merken::GetResultTitle() { return GetLangText(21); }
const char* DG_Quadrat_merken::GetStatisticsText() { return BuildStatisticsText(); }

const char* DG_Quadrat_merken::GetResultText() {
  const int count = patterns.Count();
  resultText_ = PlayTimeLine();
  resultText_ += FormatText(GetLangText(correct == count ? 26 : 25), {correct, count}) + "\n\n";
  resultText_ += FormatText(GetLangText(50), {grade});
  return resultText_.c_str();
}

void DG_Quadrat_merken::OnLostDevice() {
  Denkar_Game::OnLostDevice();
  if (bigFont) bigFont->OnLostDevice();
}

void DG_Quadrat_merken::OnResetDevice() {
  Denkar_Game::OnResetDevice();
  if (bigFont) bigFont->OnResetDevice();
}

void DG_Quadrat_merken::Render() {
  if (!started) return;
  const bool running = state == GAME_STATE_RUNNING;
  if (running) {
    DrawTimeBar(playTime, font);
    const char* format = GetLangText(showing ? 51 : 52);
    const int key = (showing ? 1000 : 0) + index;
    if (key != statusKey_ || format != statusFormat_) {
      statusText_ = FormatText(format, {index + 1, patterns.Count()});
      statusKey_ = key;
      statusFormat_ = format;
    }
    if (QuadField* grid = CurrentGrid()) grid->Draw();
  } else {
    statusText_.clear();
    statusKey_ = -1;
  }
  fontManager->DrawTextAt(statusText_.c_str(), app->screenWidth / 2.0f, 70.0f, 0xFF000000, DT_CENTER,
                          bigFont);
}
