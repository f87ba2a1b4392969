#include "Denkar_Spiele/autoplay_uhr_lesen.h"

#include <string>

#include "Denkar_Spiele/DG_Uhr_lesen.h"
#include "Denkar_Spiele/typed_answers.h"

void AutoplayWin_DG_Uhr_lesen(PlayDriver& driver) {
  AnswerEveryTask<DG_Uhr_lesen>(driver, [](DG_Uhr_lesen& game) {
    return std::to_string(game.correctAnswer / 60 * 100 + game.correctAnswer % 60);
  });
}
