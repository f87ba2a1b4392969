#include "support/drag_input.h"

#include "support/play_driver.h"

void DragWithMouse(PlayDriver& driver, int fromX, int fromY, int toX, int toY) {
  driver.Down(fromX, fromY);
  constexpr int kSteps = 4;
  for (int i = 1; i < kSteps; ++i)
    driver.Move(fromX + (toX - fromX) * i / kSteps, fromY + (toY - fromY) * i / kSteps);
  driver.Up(toX, toY);
}
