#include "Denkar_Spiele/autoplay_dreieck_rechnen.h"

#include <string>

#include "Denkar_Spiele/DG_Dreieck_rechnen.h"
#include "Denkar_Spiele/typed_answers.h"

void AutoplayWin_DG_Dreieck_rechnen(PlayDriver& driver) {
  AnswerEveryTask<DG_Dreieck_rechnen>(
      driver, [](DG_Dreieck_rechnen& game) { return std::to_string(game.top->value); });
}
