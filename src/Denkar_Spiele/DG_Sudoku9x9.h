// DG_Sudoku9x9: a 9 x 9 Sudoku. The board comes from a fixed Latin-square
// pattern with randomly permuted digits; 10, 20 or 30 cells are emptied by
// difficulty. The player selects an empty cell with the mouse and types a
// digit; digits that repeat in a row, column or box turn red. Any complete,
// conflict-free board ends the play.
#pragma once
#include <string>

#include "framework/denkar_game.h"
#include "util/ptr_list.h"

class AppContext;
class Font;

// One square of the board.
struct SudokuCell {
  bool given = true;  // part of the puzzle: cannot be selected or changed
  AppContext* app = nullptr;
  bool valid = true;  // takes part in no conflict
  int value = -1;     // 1 ... 9, or -1 for empty
  float x = 0, y = 0;  // top-left corner on the screen
  double size = 50.0;

  bool Contains(int px, int py) const {
    return px >= x && px <= x + size && py >= y && py <= y + size;
  }
};

class DG_Sudoku9x9 : public Denkar_Game {
 public:
  explicit DG_Sudoku9x9(int difficulty);
  ~DG_Sudoku9x9() override;

  void Update() override;
  void Render() override;
  void OnLButtonUp(int x, int y) override;
  void OnLButtonDown(int x, int y) override { (void)x; (void)y; }
  void OnKeyUp(int key) override;
  const char* GetDescriptionText() override;
  const char* GetStatisticsText() override;
  const char* GetResultText() override;
  const char* GetResultTitle() override;
  void ComputeGrade() override;

  // Recomputes every cell's valid flag, the conflict list, solved and allValid.
  void Check();
  // Empties emptiedCount more cells (at most the whole board), each picked at
  // random among the filled ones.
  void EmptyCells();
  int EmptyCount() const;

  int conflictCount = 0;  // entries that turned a conflict-free board into one with a conflict
  int moveCount = 0;      // keys accepted on a selected cell
  int emptiedCount = 10;  // 10, 20 or 30 by difficulty
  SudokuCell* selected = nullptr;
  SudokuCell cells[9][9];  // [column][row]
  PtrList<SudokuCell> conflicts{false};
  bool solved = false;
  bool allValid = true;
  // The generated board before emptying (one valid completion; the play
  // accepts any other as well).
  int solution[9][9] = {};

 private:
  void Generate();
  std::string resultText_;
  // The digits' font: the main menu's "Comic Sans MS" 30, the first font the
  // program adds (asked for by name, so it is the same one however the game
  // is hosted).
  Font* digitFont_ = nullptr;
};
