#include "Denkar_Spiele/autoplay_gedaechtnis.h"

#include <cmath>

#include "Denkar_Spiele/DG_Gedaechtnis.h"
#include "support/play_driver.h"

void AutoplayWin_DG_Gedaechtnis(PlayDriver& driver) {
  auto* game = static_cast<DG_Gedächtnis*>(driver.CurrentGame());
  if (!game) return;
  const auto running = [game] { return game->GetState() == GAME_STATE_RUNNING; };
  while (running()) {
    // A showing lasts ten seconds, after a one-second pause.
    if (!driver.WaitUntil([&] { return !running() || !game->showing; }, 15.0)) break;
    while (running() && !game->showing) {
      const Lamp* lamp = game->LampOfStep(game->position);
      if (!lamp) return;
      driver.Click(static_cast<int>(std::lround(lamp->centreX)),
                   static_cast<int>(std::lround(lamp->centreY)));
    }
  }
}
