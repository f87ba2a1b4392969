#include "Denkar_Spiele/autoplay_zahlen_klicken.h"

#include <cmath>

#include "Denkar_Spiele/DG_Zahlen_klicken.h"
#include "support/play_driver.h"

void AutoplayWin_DG_Zahlen_klicken(PlayDriver& driver) {
  auto* game = static_cast<DG_Zahlen_klicken*>(driver.CurrentGame());
  if (!game) return;
  const auto running = [game] { return game->GetState() == GAME_STATE_RUNNING; };
  while (running()) {
    // Between boards the game pauses for a second.
    const bool ready = driver.WaitUntil(
        [&] { return !running() || (game->boardDelay <= 0 && game->tiles.Count() > 0); }, 5.0);
    if (!ready || !running()) break;
    const NumberTile* next = game->tiles.Get(game->nextIndex);
    driver.Click(static_cast<int>(std::lround(next->x)), static_cast<int>(std::lround(next->y)));
  }
}
