#include "Denkar_Spiele/DG_Sudoku9x9.h"

#include <algorithm>
#include <vector>

#include "data/language.h"
#include "framework/time_bar.h"
#include "gfx/font.h"
#include "platform/clock.h"
#include "platform/crt_rand.h"
#include "util/app_context.h"
#include "util/format_text.h"

namespace {

constexpr double CELL_SIZE = 50.0;
constexpr int BOX_GAP = 10;
// Random cell picks for one emptied cell before the next filled cell in
// board order is taken instead (a generator that kept hitting emptied cells
// would otherwise never finish).
constexpr int MAX_PICKS_PER_CELL = 1000;

constexpr D3DCOLOR CONFLICT_COLOUR = 0xFFFF0000;
constexpr D3DCOLOR GIVEN_COLOUR = 0xFF4F4F4F;
constexpr D3DCOLOR TYPED_COLOUR = 0xFF000000;
constexpr D3DCOLOR SELECTED_TINT = 0xFFFFAFAF;

// The drawn digits, made once.
const char* const DIGIT_TEXT[10] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};

}  // namespace

DG_Sudoku9x9::DG_Sudoku9x9(int difficulty_) : Denkar_Game(difficulty_, "sudoku.sav") {
  switch (difficulty_) {
    case 1: emptiedCount = 20; break;
    case 2: emptiedCount = 30; break;
    default: emptiedCount = 10; break;
  }
  CrtSrand(GetTickCount());
  digitFont_ = fontManager->AddFont("Comic Sans MS", 30);
  const int W = app->screenWidth, H = app->screenHeight;
  for (int a = 0; a < 9; ++a) {
    for (int b = 0; b < 9; ++b) {
      SudokuCell& cell = cells[a][b];
      cell.app = app;
      cell.size = CELL_SIZE;
      cell.x = static_cast<float>(W / 2 - 235 + 50 * a + BOX_GAP * (a / 3));
      cell.y = static_cast<float>(H / 2 - 235 + 50 * b + BOX_GAP * (b / 3));
    }
  }
  Generate();
  EmptyCells();
  conflictCount = 0;
  moveCount = 0;
  playTime = 0.0;
  state = GAME_STATE_RUNNING;
  selected = nullptr;
  solved = false;
  allValid = true;
}

DG_Sudoku9x9::~DG_Sudoku9x9() { conflicts.Clear(); }

void DG_Sudoku9x9::Generate() {
  // The digits 1 ... 9 shuffled by 20 moves: an element taken from anywhere
  // is put back before one of the first eight places.
  std::vector<int> digits = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  for (int i = 0; i < 20; ++i) {
    const int from = CrtRand() % 9;
    const int digit = digits[from];
    digits.erase(digits.begin() + from);
    const int to = CrtRand() % 8;
    digits.insert(digits.begin() + to, digit);
  }
  // Three triples laid out in a Latin-square pattern: every row shifts the
  // triples by one box, every third row also rotates each triple.
  int triples[3][3];
  for (int k = 0; k < 9; ++k) triples[k / 3][k % 3] = digits[k];
  int m = 0, o = 1, t = 2;
  for (int b = 0; b < 9; ++b) {
    for (int l = 0; l < 3; ++l) {
      solution[l][b] = triples[m][l];
      solution[3 + l][b] = triples[o][l];
      solution[6 + l][b] = triples[t][l];
    }
    const int first = m;
    m = o;
    o = t;
    t = first;
    if (b % 3 == 0) {
      for (int (&triple)[3] : triples) std::rotate(triple, triple + 1, triple + 3);
    }
  }
  for (int a = 0; a < 9; ++a)
    for (int b = 0; b < 9; ++b) {
      cells[a][b].value = solution[a][b];
      cells[a][b].given = true;
      cells[a][b].valid = true;
    }
}

void DG_Sudoku9x9::EmptyCells() {
  const int count = std::clamp(emptiedCount, 0, 81);
  for (int emptied = 0; emptied < count; ++emptied) {
    int a = 0, b = 0;
    bool found = false;
    for (int pick = 0; pick < MAX_PICKS_PER_CELL && !found; ++pick) {
      a = CrtRand() % 9;
      b = CrtRand() % 9;
      found = cells[a][b].value != -1;
    }
    // Bounded fallback: the next filled cell after the last pick.
    for (int step = 0; step < 81 && !found; ++step) {
      const int index = (a * 9 + b + 1) % 81;
      a = index / 9;
      b = index % 9;
      found = cells[a][b].value != -1;
    }
    cells[a][b].value = -1;
    cells[a][b].given = false;
  }
}

int DG_Sudoku9x9::EmptyCount() const {
  int n = 0;
  for (const auto& column : cells)
    for (const SudokuCell& cell : column)
      if (cell.value < 1) ++n;
  return n;
}

void DG_Sudoku9x9::OnLButtonUp(int x, int y) {
  if (!started || state != GAME_STATE_RUNNING) return;
  for (auto& column : cells)
    for (SudokuCell& cell : column)
      if (!cell.given && cell.Contains(x, y)) selected = &cell;
}

void DG_Sudoku9x9::OnKeyUp(int key) {
  if (!started || !selected || state != GAME_STATE_RUNNING || selected->given) return;
  // Ctrl is only ever half of a combination (Ctrl+Enter switches the
  // display): its release is not a key typed into the cell.
  if (key == VK_CONTROL) return;
  selected->value = (key >= '1' && key <= '9') ? key - '0' : -1;
  const bool wasValid = allValid;
  Check();
  if (wasValid && !allValid) ++conflictCount;
  ++moveCount;
}

void DG_Sudoku9x9::Check() {
  solved = true;
  allValid = true;
  for (auto& column : cells)
    for (SudokuCell& cell : column) cell.valid = true;
  conflicts.Clear();
  for (int group = 0; group < 27; ++group) {
    // Groups 0 ... 17: row i and column i in turn; 18 ... 26: the boxes.
    SudokuCell* members[9];
    for (int l = 0; l < 9; ++l) {
      if (group < 18) {
        const int i = group / 2;
        members[l] = group % 2 == 0 ? &cells[l][i] : &cells[i][l];
      } else {
        const int k = group - 18;
        members[l] = &cells[k % 3 * 3 + l % 3][k / 3 * 3 + l / 3];
      }
    }
    int seen[10] = {};
    for (SudokuCell* cell : members) {
      if (cell->value >= 1 && cell->value <= 9) ++seen[cell->value];
      else solved = false;
    }
    for (SudokuCell* cell : members) {
      if (cell->value < 1 || cell->value > 9 || seen[cell->value] < 2) continue;
      cell->valid = false;
      conflicts.Insert(cell, true);
      solved = false;
      allValid = false;
    }
  }
}

void DG_Sudoku9x9::Update() {
  if (started) {
    if (solved && state == GAME_STATE_RUNNING) state = GAME_STATE_ENDED;
    if (state == GAME_STATE_RUNNING) playTime += app->frameTime;
  }
  record.playTime += app->frameTime;
}

void DG_Sudoku9x9::ComputeGrade() {
  const double emptied = std::max(emptiedCount, 1);
  if (state == GAME_STATE_ENDED) {
    grade = conflictCount / emptied + 1.0 + playTime / 180.0;
  } else {
    const double f = std::clamp((conflicts.Count() + EmptyCount()) / emptied, 0.0, 1.0);
    grade = f * 5.0 + 1.0 + playTime / 180.0;
  }
  grade = std::min(grade, 6.0);
}

const char* DG_Sudoku9x9::GetDescriptionText() { return GetLangText(75); }
const char* DG_Sudoku9x9::GetResultTitle() { return GetLangText(14); }
const char* DG_Sudoku9x9::GetStatisticsText() { return BuildStatisticsText(); }

const char* DG_Sudoku9x9::GetResultText() {
  const double perMove = moveCount > 0 ? playTime / moveCount : 0.0;
  resultText_ = PlayTimeLine();
  resultText_ += FormatText(GetLangText(40), {conflictCount}) + "\n";
  resultText_ += FormatText(GetLangText(41), {perMove}) + "\n\n";
  resultText_ += FormatText(GetLangText(50), {grade});
  return resultText_.c_str();
}

void DG_Sudoku9x9::Render() {
  if (started && state == GAME_STATE_RUNNING) DrawTimeBar(playTime, font);
  const RECT source{550, 0, 600, 50};
  for (const auto& column : cells) {
    for (const SudokuCell& cell : column) {
      const float k = static_cast<float>(cell.size / 50.0);
      const D3DXVECTOR2 scale{k, k};
      const D3DXVECTOR2 position{cell.x, cell.y};
      app->DrawSprite(app->texMisc1, &source, &scale, nullptr, 0, &position,
                      &cell == selected ? SELECTED_TINT : 0xFFFFFFFF);
      if (cell.value < 1 || cell.value > 9) continue;
      const D3DCOLOR colour = !cell.valid ? CONFLICT_COLOUR : cell.given ? GIVEN_COLOUR : TYPED_COLOUR;
      const float half = static_cast<float>(cell.size / 2);
      fontManager->DrawTextAt(DIGIT_TEXT[cell.value], cell.x + half, cell.y + half, colour,
                              DT_CENTER | DT_VCENTER, digitFont_);
    }
  }
}
