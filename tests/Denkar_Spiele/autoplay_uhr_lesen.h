// Wins a clock reading play: types every task's time of day as hours and
// two-digit minutes without a colon.
#pragma once
#include "support/play_driver.h"

void AutoplayWin_DG_Uhr_lesen(PlayDriver& driver);
