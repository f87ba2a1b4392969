#include "Denkar_Spiele/autoplay_DG_Ordo.h"

#include <gtest/gtest.h>

#include "Denkar_Spiele/DG_Ordo.h"
#include "support/play_driver.h"

void AutoplayWin_DG_Ordo(PlayDriver& driver) {
  auto* game = dynamic_cast<DG_Ordo*>(driver.CurrentGame());
  ASSERT_NE(game, nullptr);
  // A ray from each side first, as a player would start.
  for (int k : {3, 12, 21, 30}) driver.Click(static_cast<int>(game->rays[k].x),
                                             static_cast<int>(game->rays[k].y));
  for (int i = 0; i < ORDO_SIZE; ++i)
    for (int j = 0; j < ORDO_SIZE; ++j) {
      const OrdoCell& cell = game->cells[i][j];
      if (cell.atom != cell.marked) driver.Click(static_cast<int>(cell.x), static_cast<int>(cell.y));
    }
  const RECT button = game->CheckButton();
  driver.Click((button.left + button.right) / 2, (button.top + button.bottom) / 2);
  ASSERT_TRUE(game->solved);
  ASSERT_TRUE(driver.WaitUntil([&] { return game->GetState() == GAME_STATE_ENDED; }, 5.0));
}
