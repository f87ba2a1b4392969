// Wins a play of the colour code game through its mouse handlers: the code
// is read from the game and dragged peg by peg from the palette into the
// current row, then the row's answer box is pressed.
#pragma once
#include <vector>

class PlayDriver;
class DG_MMaster;

void AutoplayWin_DG_MMaster(PlayDriver& driver);

// Fills the current row with `guess` by dragging pegs (pegs of another colour
// already in a hole are dragged out first) and presses the answer box.
void PlayColourRow(PlayDriver& driver, DG_MMaster& game, const std::vector<int>& guess);
// Drags a palette peg of `colour` into hole `hole` of the current row.
void DragPegToHole(PlayDriver& driver, DG_MMaster& game, int colour, int hole);
