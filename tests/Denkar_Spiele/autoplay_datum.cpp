#include "Denkar_Spiele/autoplay_datum.h"

#include "Denkar_Spiele/DG_Datum_Game.h"
#include "Denkar_Spiele/typed_answers.h"

std::string RightDatumAnswer(const DG_Datum_Game& game) { return game.ExpectedAnswer(); }

std::string WrongDatumAnswer(const DG_Datum_Game& game) {
  std::string answer = game.ExpectedAnswer();
  if (game.weekdayQuestion) {
    answer.pop_back();
  } else {
    answer[0] = answer[1] = '0';
  }
  return answer;
}

void AutoplayWin_DG_Datum_Game(PlayDriver& driver) {
  AnswerEveryTask<DG_Datum_Game>(driver, RightDatumAnswer);
}

bool AnswerDatumTask(PlayDriver& driver, bool right) {
  auto* game = dynamic_cast<DG_Datum_Game*>(driver.CurrentGame());
  const auto ready = [&] { return game->TakesInput() || game->GetState() != GAME_STATE_RUNNING; };
  if (!game || !driver.WaitUntil(ready, 5.0) || !game->TakesInput()) return false;
  // Read from the model once the task is on screen.
  driver.Type(right ? RightDatumAnswer(*game) : WrongDatumAnswer(*game));
  driver.Key(VK_RETURN);
  return true;
}
