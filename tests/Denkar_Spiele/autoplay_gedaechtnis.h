// Wins a running lamp sequence game through its own input: after each
// showing the lamps of the sequence are clicked in order, until the sequence
// is as long as there are lamps.
#pragma once

class PlayDriver;

void AutoplayWin_DG_Gedaechtnis(PlayDriver& driver);
