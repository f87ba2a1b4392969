// Autoplayer of the shape picture game: wins a running play through the
// game's own input handlers, reading the outlines from the game.
#pragma once
#include "support/play_driver.h"

// Drags a fitting shape onto every open outline, sizes it with W/S and turns
// it with A/D until it snaps, moving hiding shapes aside where needed; returns
// when the game has ended itself as solved.
void AutoplayWin_DG_Bilder_Basteln(PlayDriver& driver);
