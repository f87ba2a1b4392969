#include "Denkar_Spiele/autoplay_quadrat_addieren.h"

#include "Denkar_Spiele/DG_Quadrat_addieren.h"
#include "Denkar_Spiele/quad_cell_click.h"
#include "support/play_driver.h"

void AutoplayWin_DG_Quadrat_addieren(PlayDriver& driver) {
  auto* game = dynamic_cast<DG_Quadrat_addieren*>(driver.CurrentGame());
  if (!game) return;
  auto answering = [&] { return game->feedbackTimer <= 0 || game->GetState() != GAME_STATE_RUNNING; };
  for (int guard = 0; guard <= game->taskCount && game->GetState() == GAME_STATE_RUNNING; ++guard) {
    driver.WaitUntil(answering, 5.0);
    if (game->GetState() != GAME_STATE_RUNNING || !game->solution) break;
    ClickCell(driver, game->solution->Cell(0));
    driver.WaitUntil(answering, 5.0);
  }
}
