// Dragging with the left button for the autoplayers of the drag games.
#pragma once

class PlayDriver;

// Press at (fromX, fromY), a few mouse moves on the straight way, release at
// (toX, toY).
void DragWithMouse(PlayDriver& driver, int fromX, int fromY, int toX, int toY);
