// Autoplayer of the date game: answers every task right by typing the
// expected date or weekday as keys, through the game's own key handlers.
#pragma once

class PlayDriver;

// Plays driver.CurrentGame() (a started DG_Datum_Game) until it has ended
// itself after its last task, every answer right.
void AutoplayWin_DG_Datum_Game(PlayDriver& driver);

// Waits until the game takes an answer, then types the answer to the task
// on screen, right or wrong, and presses Enter. False when the game ended or
// took no input within a few seconds.
bool AnswerDatumTask(PlayDriver& driver, bool right);
