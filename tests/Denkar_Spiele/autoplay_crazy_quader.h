// Wins a pattern flip play: works out which patterns together flip exactly
// the lit squares of the field and clicks each of them once.
#pragma once
#include <vector>

class DG_CrazyQuader;
class PlayDriver;

// Indexes of patterns whose combined flips turn the field dark (empty when it
// is dark already); false when no combination does.
bool CrazyQuaderSolution(DG_CrazyQuader& game, std::vector<int>& patternIndexes);
// Clicks pattern `index` once, on its first cell.
void ClickCrazyPattern(PlayDriver& driver, DG_CrazyQuader& game, int index);

void AutoplayWin_DG_CrazyQuader(PlayDriver& driver);
