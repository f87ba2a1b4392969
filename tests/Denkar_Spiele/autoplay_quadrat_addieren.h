// Wins a pattern addition play: clicks the candidate that is the sum in every
// task and waits out the solution display in between.
#pragma once

class PlayDriver;

void AutoplayWin_DG_Quadrat_addieren(PlayDriver& driver);
