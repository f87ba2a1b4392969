// Wins a running sliding puzzle by walking the gap back along the path the
// shuffle took, clicking each tile as a player would.
#pragma once

class PlayDriver;
class DG_Schiebe_Puzzle;

void AutoplayWin_DG_Schiebe_Puzzle(PlayDriver& driver);

// Clicks the centre of board place (column, row) once the tiles have glided
// close enough to their places; false when they did not within a few seconds.
bool ClickPuzzleTile(PlayDriver& driver, DG_Schiebe_Puzzle& game, int column, int row);
