// Autoplayer of the date game: answers every task right by typing the
// expected date or weekday as keys, through the game's own key handlers.
#pragma once
#include <string>

class DG_Datum_Game;
class PlayDriver;

// Plays driver.CurrentGame() (a DG_Datum_Game) until it has ended itself
// after its last task, every answer right.
void AutoplayWin_DG_Datum_Game(PlayDriver& driver);

// The answers a player types to the task on show: the right one (the eight
// digits of the date, or the weekday's name), and a wrong one (a date on day
// 0, or the weekday's name without its last letter).
std::string RightDatumAnswer(const DG_Datum_Game& game);
std::string WrongDatumAnswer(const DG_Datum_Game& game);

// Waits until the game takes an answer, then types the right or a wrong one
// and presses Enter. False when the game ended or took no input in time.
bool AnswerDatumTask(PlayDriver& driver, bool right);
