// Wins a number pyramid play: types the value of every pyramid's last brick.
#pragma once
#include "support/play_driver.h"

void AutoplayWin_DG_Dreieck_rechnen(PlayDriver& driver);
