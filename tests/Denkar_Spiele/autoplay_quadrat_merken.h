// Wins a pattern memory play: waits for the show to end, then rebuilds every
// pattern on its answer grid with clicks and confirms each with Enter.
#pragma once

class PlayDriver;

void AutoplayWin_DG_Quadrat_merken(PlayDriver& driver);
