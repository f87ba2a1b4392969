#include "Denkar_Spiele/autoplay_sudoku.h"

#include <cmath>

#include "Denkar_Spiele/DG_Sudoku9x9.h"
#include "support/play_driver.h"

void AutoplayWin_DG_Sudoku9x9(PlayDriver& driver) {
  auto* game = static_cast<DG_Sudoku9x9*>(driver.CurrentGame());
  if (!game) return;
  for (int a = 0; a < 9; ++a) {
    for (int b = 0; b < 9; ++b) {
      const SudokuCell& cell = game->cells[a][b];
      const int digit = game->solution[a][b];
      if (cell.given || cell.value == digit) continue;
      const double half = cell.size / 2;
      driver.Click(static_cast<int>(std::lround(cell.x + half)),
                   static_cast<int>(std::lround(cell.y + half)));
      driver.Key('0' + digit);
    }
  }
  // The game notices the solved board in its next frame.
  driver.WaitUntil([game] { return game->GetState() != GAME_STATE_RUNNING; }, 1.0);
}
