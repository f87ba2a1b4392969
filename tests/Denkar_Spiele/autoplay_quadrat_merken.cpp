#include "Denkar_Spiele/autoplay_quadrat_merken.h"

#include "Denkar_Spiele/DG_Quadrat_merken.h"
#include "Denkar_Spiele/quad_cell_click.h"
#include "support/play_driver.h"

void AutoplayWin_DG_Quadrat_merken(PlayDriver& driver) {
  auto* game = dynamic_cast<DG_Quadrat_merken*>(driver.CurrentGame());
  if (!game) return;
  driver.WaitUntil([&] { return !game->showing || game->GetState() != GAME_STATE_RUNNING; }, 120.0);
  for (int guard = 0; guard <= game->PatternCount() && game->GetState() == GAME_STATE_RUNNING; ++guard) {
    QuadField* pattern = game->patterns.Get(game->index);
    QuadField* answer = game->answers.Get(game->index);
    for (int i = 0; i < answer->CellCount(); ++i) {
      const QuadCell* cell = answer->Cell(i);
      if (cell->IsOn() == pattern->Cell(i)->IsOn()) continue;
      ClickCell(driver, cell);
    }
    driver.Key(VK_RETURN);
  }
}
