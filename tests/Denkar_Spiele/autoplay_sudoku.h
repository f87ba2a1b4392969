// Wins a running Sudoku through its own input: every open cell is clicked and
// the digit of the generated solution typed in.
#pragma once

class PlayDriver;

void AutoplayWin_DG_Sudoku9x9(PlayDriver& driver);
