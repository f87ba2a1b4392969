// Clicks a cell of a square pattern field in its middle, as a player aims.
#pragma once
#include "framework/quad_field.h"
#include "support/play_driver.h"

inline void ClickCell(PlayDriver& driver, const QuadCell* cell) {
  driver.Click(static_cast<int>(cell->left + cell->size / 2), static_cast<int>(cell->top + cell->size / 2));
}
