#include "framework/glide.h"

#include <cmath>

namespace {
// Closer than this to its target, a value lands on it: otherwise a float that
// is a hair away would keep taking steps too small to change it.
constexpr double SNAP_DISTANCE = 0.01;
}  // namespace

double GlideShare(double seconds, double rate) {
  const double share = seconds * rate;
  if (!(share > 0)) return 0;  // also NaN
  return share < 1 ? share : 1;
}

double GlideToward(double value, double target, double seconds, double rate) {
  const double share = GlideShare(seconds, rate);
  if (share >= 1) return target;
  const double moved = value + (target - value) * share;
  return std::fabs(target - moved) < SNAP_DISTANCE ? target : moved;
}

float GlideToward(float value, float target, double seconds, double rate) {
  return static_cast<float>(GlideToward(static_cast<double>(value), static_cast<double>(target),
                                        seconds, rate));
}

void GlidePoint::Step(double seconds, double rate) {
  x = GlideToward(x, targetX, seconds, rate);
  y = GlideToward(y, targetY, seconds, rate);
}

double GlidePoint::DistanceToTarget() const {
  return std::hypot(static_cast<double>(targetX) - x, static_cast<double>(targetY) - y);
}
