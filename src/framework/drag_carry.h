// DragCarry: the piece a drag game carries with the mouse, and the one pattern
// every drag game follows:
//   press   - if a piece is still held, put it down first (DropLeftover), then
//             pick up what lies under the press (PickUp);
//   move    - the held piece follows the mouse (Follow gives the way since
//             the last step, for pieces that move by the mouse's motion);
//   release - Release hands the piece back and the game puts it down where it
//             belongs.
// A release can miss the game (the button came up over a menu page, or while
// the game took no input); the next press then drops that piece exactly as its
// release would have, so a piece is never lost or left hanging on the cursor.
#pragma once

template <typename Piece>
class DragCarry {
 public:
  Piece* Held() const { return held_; }
  bool Holding() const { return held_ != nullptr; }
  int LastX() const { return lastX_; }
  int LastY() const { return lastY_; }

  // Starts carrying `piece` (null: nothing) from the press at (x, y).
  void PickUp(Piece* piece, int x, int y) {
    held_ = piece;
    lastX_ = x;
    lastY_ = y;
  }

  // The mouse moved to (x, y): the way since the last step in *dx, *dy, or
  // false (and no way) when nothing is held.
  bool Follow(int x, int y, float* dx, float* dy) {
    const bool holding = held_ != nullptr;
    *dx = holding ? static_cast<float>(x - lastX_) : 0.0f;
    *dy = holding ? static_cast<float>(y - lastY_) : 0.0f;
    lastX_ = x;
    lastY_ = y;
    return holding;
  }

  // Ends the carry; the caller puts the returned piece (or null) down.
  Piece* Release() {
    Piece* piece = held_;
    held_ = nullptr;
    return piece;
  }

  // The first step of every press: a piece still held is put down by `drop`,
  // the game's own release handling (which calls Release), with the press
  // point.
  template <typename DropFn>
  void DropLeftover(int x, int y, DropFn drop) {
    if (held_) drop(x, y);
  }

 private:
  Piece* held_ = nullptr;
  int lastX_ = 0, lastY_ = 0;
};
