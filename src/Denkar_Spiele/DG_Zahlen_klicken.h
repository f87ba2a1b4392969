// DG_Zahlen_klicken: a square grid of numbered tiles is clicked in ascending
// or descending order. A correct tile vanishes, a wrong one turns red. A play
// is ten boards; boards with a wrong click and the time worsen the grade.
#pragma once
#include <string>

#include "framework/denkar_game.h"
#include "util/ptr_list.h"

class AppContext;

class NumberTile {
 public:
  NumberTile(int number, float x, float y);
  void Draw() const;
  // Within 25 pixels of the centre in both directions, bounds included.
  bool Contains(int px, int py) const;

  AppContext* app;
  bool clicked = false;  // clicked out of turn (drawn red)
  float x, y;            // centre on the screen
  int number;            // 0 ... 19
};

class DG_Zahlen_klicken : public Denkar_Game {
 public:
  explicit DG_Zahlen_klicken(int difficulty);
  ~DG_Zahlen_klicken() override;

  void OnMouseMove(int x, int y) override { (void)x; (void)y; }
  void OnLButtonUp(int x, int y) override { (void)x; (void)y; }
  void OnLButtonDown(int x, int y) override;
  void Update() override;
  void Render() override;
  const char* GetDescriptionText() override;
  const char* GetStatisticsText() override;
  const char* GetResultText() override;
  const char* GetResultTitle() override;
  void ComputeGrade() override;

  // Deals the next board: new distinct numbers, its order, the tiles sorted
  // in the order they must be clicked.
  void NewBoard();
  int FinishedBoards() const { return cleanBoards + faultyBoards; }

  int orderMode = 0;  // 0 ascending, 1 descending, 2 chosen per board
  int gridSize = 2;
  PtrList<NumberTile> tiles{true};  // remaining tiles in click order
  bool ascending = true;
  int nextIndex = 0;  // the tile to click next is always the first one
  int boards = 10;
  int cleanBoards = 0;
  int faultyBoards = 0;
  int wrongClicks = 0;
  bool boardClean = true;
  double boardDelay = 0.0;  // pause after a finished board

 private:
  std::string resultText_;
};
