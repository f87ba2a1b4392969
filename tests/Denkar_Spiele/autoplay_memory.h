// Wins a running memory game through its own input: both cards of every pair
// are clicked in turn, read from the cards' pair numbers.
#pragma once

class PlayDriver;

void AutoplayWin_DG_Memory(PlayDriver& driver);
