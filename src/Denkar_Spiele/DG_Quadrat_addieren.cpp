#include "Denkar_Spiele/DG_Quadrat_addieren.h"

#include <algorithm>

#include "data/language.h"
#include "framework/time_bar.h"
#include "gfx/font.h"
#include "platform/crt_rand.h"
#include "util/app_context.h"
#include "util/format_text.h"

namespace {
constexpr int GRID_SIZE = 100;
constexpr int GRID_GAP = 3;
constexpr double FEEDBACK_SECONDS = 1.0;
constexpr double SAMPLE_SIZE = 30.0;
// Fresh random patterns tried for a candidate that repeats another one; after
// that it is changed cell by cell, which always ends.
constexpr int MAX_REDRAWS = 1000;
constexpr D3DCOLOR BLACK = 0xFF000000;
}  // namespace

DG_Quadrat_addieren::DG_Quadrat_addieren(int difficulty_)
    : Denkar_Game(difficulty_, "addieren.sav") {
  switch (difficulty_) {
    case 1: summandCount = 3; n = 3; break;
    case 2: summandCount = 3; n = 4; break;
    default: summandCount = 2; n = 3; break;
  }
  choiceCount = 4;
  taskCount = 10;
  for (int i = 0; i < choiceCount; ++i) labels_[i] = FormatText("(%c)", {'a' + i});
  correct = wrong = 0;
  feedbackTimer = 0.0;
  scheme = CrtRand() % 12;
  NewTask();
  state = GAME_STATE_RUNNING;
  playTime = 0.0;
  const float W = static_cast<float>(app->screenWidth);
  litSample = new QuadCell(SAMPLE_SIZE, W / 2 - 80, 90, scheme);
  litSample->SetOn(true);
  unlitSample = new QuadCell(SAMPLE_SIZE, W / 2 + 50, 90, scheme);
}

DG_Quadrat_addieren::~DG_Quadrat_addieren() {
  delete litSample;
  delete unlitSample;
  plusPositions.Clear();
  labelPositions.Clear();
  solution = nullptr;
  summands.Clear();
  choices.Clear();
}

void DG_Quadrat_addieren::NewTask() {
  const int W = app->screenWidth, H = app->screenHeight;
  summands.Clear();
  choices.Clear();
  plusPositions.Clear();
  labelPositions.Clear();
  solution = nullptr;

  const float d = static_cast<float>(W * 3 / 4) / std::max(1, choiceCount - 1);
  const D3DXVECTOR2 choiceOrigin{static_cast<float>(W / 8), static_cast<float>(H * 2 / 3)};
  const int k = CrtRand() % choiceCount;
  for (int i = 0; i < choiceCount; ++i) {
    const D3DXVECTOR2 centre{choiceOrigin.x + i * d, choiceOrigin.y};
    QuadField* choice = new QuadField(i != k, n, scheme, GRID_SIZE, &centre, GRID_GAP);
    if (i == k) solution = choice;
    choices.Insert(choice);
    labelPositions.Insert(new D3DXVECTOR2{centre.x, centre.y + 75});
  }

  const float e = static_cast<float>(W * 2 / 4) / std::max(1, summandCount - 1);
  const D3DXVECTOR2 summandOrigin{static_cast<float>(W / 4), static_cast<float>(H / 3)};
  for (int j = 0; j < summandCount; ++j) {
    const D3DXVECTOR2 centre{summandOrigin.x + j * e, summandOrigin.y};
    QuadField* summand = new QuadField(true, n, scheme, GRID_SIZE, &centre, GRID_GAP);
    solution->Apply(*summand, false);
    summands.Insert(summand);
    if (j < summandCount - 1)
      plusPositions.Insert(new D3DXVECTOR2{summandOrigin.x + (j + 0.5f) * e, summandOrigin.y});
  }
  MakeCandidatesDistinct();
}

void DG_Quadrat_addieren::MakeCandidatesDistinct() {
  for (int i = 0; i < choices.Count(); ++i) {
    QuadField* candidate = choices.Get(i);
    if (candidate == solution) continue;
    auto repeats = [&] {
      if (candidate->Equals(*solution)) return true;
      for (int j = 0; j < i; ++j)
        if (choices.Get(j) != solution && candidate->Equals(*choices.Get(j))) return true;
      return false;
    };
    for (int redraw = 0; redraw < MAX_REDRAWS && repeats(); ++redraw) {
      candidate->Clear();
      candidate->Scramble();
    }
    // Among the grids one cell away there are more than the (at most three)
    // patterns to avoid.
    for (int c = 0; c < candidate->CellCount() && repeats(); ++c) {
      candidate->Cell(c)->Flip();
      if (repeats()) candidate->Cell(c)->Flip();
    }
  }
}

int DG_Quadrat_addieren::SolutionIndex() {
  for (int i = 0; i < choices.Count(); ++i)
    if (choices.Get(i) == solution) return i;
  return -1;
}

void DG_Quadrat_addieren::OnLButtonDown(int x, int y) {
  if (!started || feedbackTimer > 0 || state != GAME_STATE_RUNNING || !solution) return;
  for (int i = 0; i < choices.Count(); ++i) {
    QuadField* choice = choices.Get(i);
    if (!choice->Contains(static_cast<float>(x), static_cast<float>(y))) continue;
    if (choice->Equals(*solution)) ++correct;
    else ++wrong;
    feedbackTimer = FEEDBACK_SECONDS;
    break;  // the candidates do not overlap; one answer per click
  }
}

void DG_Quadrat_addieren::Update() {
  if (started && state == GAME_STATE_RUNNING) {
    if (feedbackTimer > 0) {
      feedbackTimer -= app->frameTime;
      if (feedbackTimer <= 0) {
        if (correct + wrong < taskCount) NewTask();
        else state = GAME_STATE_ENDED;
      }
    } else {
      playTime += app->frameTime;
    }
  }
  record.playTime += app->frameTime;
}

void DG_Quadrat_addieren::ComputeGrade() {
  const int answered = correct + wrong;
  if (state == GAME_STATE_ENDED) {
    grade = 1.0 + 5.0 * wrong / taskCount + playTime / 120.0;
  } else if (answered == 0) {
    grade = 6.0;
  } else {
    grade = 1.0 + 10.0 * wrong / answered + playTime / 120.0;
  }
  grade = std::min(grade, 6.0);
}

const char* DG_Quadrat_addieren::GetDescriptionText() { return GetLangText(102); }
const char* DG_Quadrat_addieren::GetResultTitle() { return GetLangText(100); }
const char* DG_Quadrat_addieren::GetStatisticsText() { return BuildStatisticsText(); }

const char* DG_Quadrat_addieren::GetResultText() {
  const int answered = correct + wrong;
  const int percent = answered > 0 ? static_cast<int>(100.0 * correct / answered) : 0;
  const double perAnswer = answered > 0 ? playTime / answered : 0.0;
  resultText_ = PlayTimeLine();
  resultText_ += FormatText(GetLangText(30), {correct}) + "\n";
  resultText_ += FormatText(GetLangText(31), {wrong}) + "\n\n";
  resultText_ += FormatText(GetLangText(32), {percent}) + "\n\n";
  resultText_ += FormatText(GetLangText(41), {perAnswer}) + "\n";
  resultText_ += FormatText(GetLangText(50), {grade});
  return resultText_.c_str();
}

void DG_Quadrat_addieren::Render() {
  if (!started || state != GAME_STATE_RUNNING) return;
  const float W = static_cast<float>(app->screenWidth), H = static_cast<float>(app->screenHeight);
  const DWORD centred = DT_CENTER | DT_VCENTER;
  DrawTimeBar(playTime, font);
  fontManager->DrawTextAt(GetLangText(101), W / 2, 105, BLACK, centred, font);
  fontManager->DrawTextAt("=", W / 2, H / 2, BLACK, centred, font);
  for (int i = 0; i < plusPositions.Count(); ++i) {
    const D3DXVECTOR2* p = plusPositions.Get(i);
    fontManager->DrawTextAt("+", p->x, p->y, BLACK, centred, font);
  }
  const bool answering = feedbackTimer <= 0;
  if (answering) {
    for (int i = 0; i < labelPositions.Count() && i < choiceCount; ++i) {
      const D3DXVECTOR2* p = labelPositions.Get(i);
      fontManager->DrawTextAt(labels_[i].c_str(), p->x, p->y, BLACK, centred, font);
    }
  }
  litSample->Draw();
  unlitSample->Draw();
  for (int i = 0; i < summands.Count(); ++i) summands.Get(i)->Draw();
  if (answering) {
    for (int i = 0; i < choices.Count(); ++i) choices.Get(i)->Draw();
  } else if (solution) {
    solution->Draw();
  }
}
