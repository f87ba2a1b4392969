#include "Denkar_Spiele/autoplay_memory.h"

#include <cmath>

#include "Denkar_Spiele/DG_Memory.h"
#include "support/play_driver.h"

void AutoplayWin_DG_Memory(PlayDriver& driver) {
  auto* game = static_cast<DG_Memory*>(driver.CurrentGame());
  const int pairs = game->CardCount() / 2;
  for (int pair = 0; pair < pairs; ++pair) {
    for (int i = 0; i < game->allCards.Count(); ++i) {
      const MemoryCard* card = game->allCards.Get(i);
      if (card->pairId != pair) continue;
      driver.Click(static_cast<int>(std::lround(card->centreX)),
                   static_cast<int>(std::lround(card->centreY)));
    }
  }
}
