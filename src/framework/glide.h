// One glide for every moving piece of the games (coins, pegs, fruits, tiles):
// each frame a piece covers a share of its remaining way to its target,
// share = rate x frame time. The share is limited to 1, so a long frame (a
// stall, a dragged window) puts the piece exactly on its target instead of
// throwing it past. Positions are floats, so the small steps of high frame
// rates are not lost to rounding, and a piece that has come within a hundredth
// of a pixel lands exactly on its target.
#pragma once

// The share of the remaining way covered in a frame of `seconds` at `rate`
// (per second): rate x seconds limited to 0 ... 1 (0 for a negative or
// undefined product).
double GlideShare(double seconds, double rate);

// `value` moved toward `target` by that share.
float GlideToward(float value, float target, double seconds, double rate);
double GlideToward(double value, double target, double seconds, double rate);

// A point on the screen that glides to its target.
struct GlidePoint {
  float x = 0, y = 0;              // where it is
  float targetX = 0, targetY = 0;  // where it goes

  GlidePoint() = default;
  // Standing still at (px, py).
  GlidePoint(float px, float py) : x(px), y(py), targetX(px), targetY(py) {}

  // One frame of `seconds` at `rate`.
  void Step(double seconds, double rate);
  void SetTarget(float tx, float ty) {
    targetX = tx;
    targetY = ty;
  }
  // Puts it at (px, py) at once, target included.
  void JumpTo(float px, float py) {
    x = targetX = px;
    y = targetY = py;
  }
  // Moves position and target together (a piece carried by the mouse).
  void MoveBy(float dx, float dy) {
    x += dx;
    y += dy;
    targetX += dx;
    targetY += dy;
  }
  double DistanceToTarget() const;
  // Within `distance` of its target.
  bool Arrived(double distance) const { return DistanceToTarget() <= distance; }
};
