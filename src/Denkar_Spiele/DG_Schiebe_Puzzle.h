// DG_Schiebe_Puzzle: the sliding picture puzzle. One of three pictures is cut
// into n x n tiles with the bottom-right tile missing, shuffled by a random
// walk of the gap, and put back by clicking tiles next to the gap. A second
// board beside the first shows the finished picture.
#pragma once
#include <string>
#include <vector>

#include "framework/denkar_game.h"

class AppContext;

// One tile of a board. Its home is the piece of the picture it shows; its
// place on the board is the array slot that holds it.
struct PuzzleTile {
  AppContext* app = nullptr;
  bool isGap = false;  // the missing tile, drawn as nothing
  int homeColumn = 0, homeRow = 0;
  int n = 0;
  float target[2] = {};    // screen position the tile glides to
  float position[2] = {};  // current screen position (top-left)
  float size[2] = {};
  int picture = 0;  // 0, 1 or 2
  double speed = 0;  // glide rate: 0 at creation, 5 after every slide

  bool Contains(int x, int y) const {
    return x >= position[0] && x <= position[0] + size[0] && y >= position[1] &&
           y <= position[1] + size[1];
  }
  bool AtHome(int column, int row) const { return homeColumn == column && homeRow == row; }
  void Draw() const;
};

// A place on the board.
struct PuzzlePlace {
  int column = 0, row = 0;
  bool operator==(const PuzzlePlace&) const = default;
};

constexpr int PUZZLE_MAX_SIZE = 30;

class DG_Schiebe_Puzzle : public Denkar_Game {
 public:
  explicit DG_Schiebe_Puzzle(int difficulty);

  void Update() override;
  void Render() override;
  void OnLButtonUp(int x, int y) override;
  const char* GetDescriptionText() override;
  const char* GetStatisticsText() override;
  const char* GetResultText() override;
  const char* GetResultTitle() override;
  void ComputeGrade() override;

  // Swaps the tiles at the two places when both are on the board and one of
  // them is the gap; false (and nothing changed) otherwise.
  bool Slide(int a, int b, int c, int d);
  // The board place whose tile's current rectangle contains the point
  // (column-major order, the gap included); false when there is none.
  bool TileAt(int x, int y, PuzzlePlace* place) const;
  bool IsSolved() const;
  // Board places whose tile is not at home, the gap included.
  int DisplacedTiles() const;
  PuzzlePlace GapPlace() const;

  PuzzleTile board[PUZZLE_MAX_SIZE][PUZZLE_MAX_SIZE];
  PuzzleTile reference[PUZZLE_MAX_SIZE][PUZZLE_MAX_SIZE];
  int n = 3;
  int shuffleMoves = 50;
  int moveCount = 0;
  int invalidClicks = 0;
  // The places the gap passed through while shuffling, from its home on;
  // walking it backwards undoes the shuffle.
  std::vector<PuzzlePlace> shufflePath;

 private:
  void Shuffle();
  bool OnBoard(int column, int row) const {
    return column >= 0 && column < n && row >= 0 && row < n;
  }
  std::string resultText_;
};
