#include "framework/scatter.h"

#include <algorithm>
#include <cmath>

#include "platform/crt_rand.h"
#include "util/app_context.h"

namespace {
// A layout that leaves no free spot for the next disc would never finish;
// after this many draws for one disc the layout starts again.
constexpr int MAX_DRAWS_PER_DISC = 100000;
// On a screen too small for the discs no layout ever succeeds.
constexpr int MAX_LAYOUTS = 20;

bool TooClose(const std::vector<DiscCentre>& placed, float x, float y, double size) {
  for (const DiscCentre& c : placed)
    if (CentreDistance(x, y, c.x, c.y) < size) return true;
  return false;
}
}  // namespace

double CentreDistance(float ax, float ay, float bx, float by) {
  const double dx = ax - bx, dy = ay - by;
  return std::sqrt(dx * dx + dy * dy);
}

std::vector<DiscCentre> ScatterDiscs(int count, double size, int margin) {
  const AppContext& app = GetAppContext();
  const int W = app.screenWidth, H = app.screenHeight;
  const int s = static_cast<int>(size);
  // A remainder by zero or less would be undefined: such a screen gets one row.
  const int rangeY = std::max(1, static_cast<int>(H - 2 * size - 2 * margin));
  const int rangeX = std::max(1, static_cast<int>(W - 2 * margin - 2 * size));
  std::vector<DiscCentre> placed;
  placed.reserve(std::max(count, 0));
  for (int layout = 1;; ++layout) {
    const bool lastLayout = layout >= MAX_LAYOUTS;
    placed.clear();
    bool fits = true;
    for (int i = 0; i < count && fits; ++i) {
      DiscCentre c;
      fits = false;
      for (int draw = 0; draw < MAX_DRAWS_PER_DISC && !fits; ++draw) {
        c.y = static_cast<float>(CrtRand() % rangeY + s + margin);  // y is drawn first
        c.x = static_cast<float>(CrtRand() % rangeX + s + margin);
        fits = !TooClose(placed, c.x, c.y, size);
      }
      if (!fits && !lastLayout) break;
      fits = true;
      placed.push_back(c);
    }
    if (fits) return placed;
  }
}
