#include "Denkar_Spiele/autoplay_datum.h"

#include <string>

#include "Denkar_Spiele/DG_Datum_Game.h"
#include "platform/win_types.h"
#include "support/play_driver.h"

namespace {
DG_Datum_Game* DatumGame(PlayDriver& driver) {
  return dynamic_cast<DG_Datum_Game*>(driver.CurrentGame());
}
}  // namespace

bool AnswerDatumTask(PlayDriver& driver, bool right) {
  DG_Datum_Game* game = DatumGame(driver);
  if (!game) return false;
  const auto ready = [&] {
    return DatumGame(driver) != game || game->TakesInput() || game->GetState() != GAME_STATE_RUNNING;
  };
  if (!driver.WaitUntil(ready, 5.0) || DatumGame(driver) != game || !game->TakesInput())
    return false;
  // Read from the model once the task is on screen.
  std::string answer = game->ExpectedAnswer();
  if (!right) {
    if (game->weekdayQuestion) {
      answer.pop_back();  // "Sunda"
    } else {
      answer[0] = answer[1] = '0';  // day 0 never exists
    }
  }
  driver.Type(answer);
  driver.Key(VK_RETURN);
  return true;
}

void AutoplayWin_DG_Datum_Game(PlayDriver& driver) {
  DG_Datum_Game* game = DatumGame(driver);
  while (game && DatumGame(driver) == game && game->GetState() == GAME_STATE_RUNNING)
    if (!AnswerDatumTask(driver, true)) break;
}
