#include "Denkar_Spiele/autoplay_DG_Schiebe_Puzzle.h"

#include <gtest/gtest.h>

#include <cmath>

#include "Denkar_Spiele/DG_Schiebe_Puzzle.h"
#include "support/play_driver.h"

bool ClickPuzzleTile(PlayDriver& driver, DG_Schiebe_Puzzle& game, int column, int row) {
  // Once every tile is within a quarter of its size of the place it glides
  // to, the centre of a place lies in its own tile only, and stays so while
  // the tiles glide on (the menu runs frames between press and release).
  const auto settled = [&] {
    for (int i = 0; i < game.n; ++i)
      for (int j = 0; j < game.n; ++j) {
        const PuzzleTile& tile = game.board[i][j];
        if (std::abs(tile.position[0] - tile.target[0]) > tile.size[0] / 4 ||
            std::abs(tile.position[1] - tile.target[1]) > tile.size[1] / 4)
          return false;
      }
    return true;
  };
  if (!driver.WaitUntil(settled, 5.0)) return false;
  const PuzzleTile& tile = game.board[column][row];
  driver.Click(static_cast<int>(tile.target[0] + tile.size[0] / 2),
               static_cast<int>(tile.target[1] + tile.size[1] / 2));
  return true;
}

void AutoplayWin_DG_Schiebe_Puzzle(PlayDriver& driver) {
  auto* game = dynamic_cast<DG_Schiebe_Puzzle*>(driver.CurrentGame());
  ASSERT_NE(game, nullptr);
  const std::vector<PuzzlePlace> path = game->shufflePath;
  ASSERT_FALSE(path.empty());
  ASSERT_EQ(game->GapPlace(), path.back()) << "the board was played before";
  // Each step puts the gap back where it was one shuffle move earlier.
  for (size_t k = path.size() - 1; k-- > 0;)
    ASSERT_TRUE(ClickPuzzleTile(driver, *game, path[k].column, path[k].row));
  ASSERT_TRUE(driver.WaitUntil([&] { return game->GetState() == GAME_STATE_ENDED; }, 5.0));
}
