// Autoplayer of the fruit balance: solves each task from the balance's fruits
// and drags every movable fruit that is not on its pan there with the mouse.
#pragma once
#include <map>
#include <optional>

class Gewicht;
class PlayDriver;
class Waage;

// For every movable fruit of the balance (on a pan, in the row or in the
// hand) the pan it must go to, true for the right pan, so that both pans carry
// the same mass; nothing when no such placement exists. Found by an
// exhaustive subset-sum search, independent of how the task was built.
std::optional<std::map<Gewicht*, bool>> SolveWaage(Waage& waage);

// Plays the current task of the running fruit balance through the game's
// mouse handlers until it is judged (solved) or the play is over.
void AutoplayWaageTask(PlayDriver& driver);

// Plays the running fruit balance through the game's mouse handlers until it
// has ended itself with every task solved.
void AutoplayWin_DG_Waage_Game_Fruechte(PlayDriver& driver);
