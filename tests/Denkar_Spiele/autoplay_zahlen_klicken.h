// Wins a running number clicking game through its own input: on every board
// the tiles are clicked in the order the board asks for.
#pragma once

class PlayDriver;

void AutoplayWin_DG_Zahlen_klicken(PlayDriver& driver);
