// Wins a play of the change money game through its mouse handlers: for each
// task the greedy split of the change is dragged from the piles into the
// change field, then the button is clicked.
#pragma once

class PlayDriver;
class DG_Wechselgeld_Game;

void AutoplayWin_DG_Wechselgeld_Game(PlayDriver& driver);

// Drags one piece of `value` from its pile to (x, y); false when the game has
// no pile of that value.
bool DragFromPile(PlayDriver& driver, DG_Wechselgeld_Game& game, int value, int x, int y);
// Clicks the button, first letting a double click's time pass since the last
// confirmation.
void ClickMoneyButton(PlayDriver& driver, DG_Wechselgeld_Game& game);
