// Wins a running hidden atoms box: sends a few rays, marks exactly the cells
// that hold atoms (reading them from the box) and presses the check button.
#pragma once

class PlayDriver;

void AutoplayWin_DG_Ordo(PlayDriver& driver);
