#include "Denkar_Spiele/autoplay_bilder_basteln.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "Denkar_Spiele/DG_Bilder_Basteln.h"
#include "platform/win_types.h"
#include "util/app_context.h"

namespace {

constexpr int kMaxActions = 600;

int Round(float v) { return static_cast<int>(std::lround(v)); }

// The angle period of a shape type: a piece fits at any multiple of it.
int AnglePeriod(int type) {
  switch (type) {
    case 0: return 90;
    case 2: return 120;
    case 3: return 180;
    default: return 0;  // any angle
  }
}

// Key presses of 15 degrees that bring `piece` to the outline's angle:
// positive with D, negative with A; false when no number of steps does.
bool TurnSteps(const ShapePiece& piece, const ShapePiece& target, int* steps) {
  const int period = AnglePeriod(piece.type);
  if (period == 0) {
    *steps = 0;
    return true;
  }
  const int ahead = ((target.rotation - piece.rotation) % period + period) % period;
  if (ahead % SHAPE_TURN_STEP != 0) return false;
  const int forward = ahead / SHAPE_TURN_STEP, backward = (period - ahead) / SHAPE_TURN_STEP;
  *steps = forward <= backward ? forward : -backward;
  return true;
}

bool CanFill(const ShapePiece& piece, const ShapePiece& target) {
  int steps = 0;
  return piece.type == target.type && (piece.type != 2 || piece.scale[1] == target.scale[1]) &&
         TurnSteps(piece, target, &steps);
}

// A point inside the piece where a press takes it (no other piece lies above
// it there); false when others hide all of it.
bool GrabPoint(DG_Bilder_Basteln& game, ShapePiece* piece, int* x, int* y) {
  const AppContext& app = GetAppContext();
  const int cx = Round(piece->position[0]), cy = Round(piece->position[1]);
  const int half = static_cast<int>(50 * piece->sizeFactor) - 1;
  for (int dy = 0; dy <= half; dy += 3) {
    for (int dx = 0; dx <= half; dx += 3) {
      for (int sy : {1, -1}) {
        for (int sx : {1, -1}) {
          const int px = cx + sx * dx, py = cy + sy * dy;
          if (px < 0 || py < 0 || px >= app.screenWidth || py >= app.screenHeight) continue;
          if (game.PieceAt(static_cast<float>(px), static_cast<float>(py)) == piece) {
            *x = px;
            *y = py;
            return true;
          }
        }
      }
    }
  }
  return false;
}

bool BoxesOverlap(float ax, float ay, double ah, float bx, float by, double bh) {
  return std::fabs(ax - bx) <= ah + bh && std::fabs(ay - by) <= ah + bh;
}

// A free place for a piece that has to make room: away from the outlines
// and from other pieces where possible, else where it covers the fewest.
void ParkingPlace(DG_Bilder_Basteln& game, const ShapePiece* piece, int* x, int* y) {
  const AppContext& app = GetAppContext();
  const double half = 50 * piece->sizeFactor;
  int best = 1 << 30;
  for (int py = 110; py < app.screenHeight - 20; py += 15) {
    for (int px = 20; px < app.screenWidth - 20; px += 15) {
      int covered = 0;
      for (int i = 0; i < game.targets.Count(); ++i) {
        const ShapePiece* t = game.targets.Get(i);
        if (BoxesOverlap(px, py, half, t->position[0], t->position[1], 50 * t->sizeFactor + 15)) covered += 3;
      }
      for (int i = 0; i < game.pieces.Count(); ++i) {
        const ShapePiece* p = game.pieces.Get(i);
        if (p != piece && BoxesOverlap(px, py, half, p->position[0], p->position[1], 50 * p->sizeFactor))
          ++covered;
      }
      if (covered < best) {
        best = covered;
        *x = px;
        *y = py;
      }
      if (best == 0) return;
    }
  }
}

// The pieces that fill an outline now.
std::set<const ShapePiece*> UsedPieces(DG_Bilder_Basteln& game) {
  std::set<const ShapePiece*> used;
  for (int i = 0; i < game.targets.Count(); ++i)
    if (const ShapePiece* p = game.MatchFor(*game.targets.Get(i))) used.insert(p);
  return used;
}

// The piece to put into outline t: the one made for it, or another free piece
// of the same form.
ShapePiece* PieceFor(DG_Bilder_Basteln& game, int t, const std::set<const ShapePiece*>& used) {
  const ShapePiece& target = *game.targets.Get(t);
  ShapePiece* own = game.pieces.Get(t);
  if (own && !used.count(own) && CanFill(*own, target)) return own;
  for (int i = 0; i < game.pieces.Count(); ++i) {
    ShapePiece* p = game.pieces.Get(i);
    if (!used.count(p) && CanFill(*p, target)) return p;
  }
  return nullptr;
}

void PressTimes(PlayDriver& driver, int key, int times) {
  for (int i = 0; i < times; ++i) driver.Key(key);
}

}  // namespace

void AutoplayWin_DG_Bilder_Basteln(PlayDriver& driver) {
  auto running = [&driver] {
    return driver.CurrentGame() && driver.CurrentGame()->GetState() == 6;
  };
  for (int action = 0; action < kMaxActions && running(); ++action) {
    DG_Bilder_Basteln* game = dynamic_cast<DG_Bilder_Basteln*>(driver.CurrentGame());
    ASSERT_NE(game, nullptr);
    const std::set<const ShapePiece*> used = UsedPieces(*game);
    int t = 0;
    while (t < game->targets.Count() && game->MatchFor(*game->targets.Get(t))) ++t;
    if (t == game->targets.Count()) {  // all filled: the next update ends the play
      driver.Wait(1.0 / 60);
      continue;
    }
    const ShapePiece& target = *game->targets.Get(t);
    ShapePiece* piece = PieceFor(*game, t, used);
    ASSERT_NE(piece, nullptr) << "no shape fits outline " << t;
    int x = 0, y = 0;
    if (!GrabPoint(*game, piece, &x, &y)) {
      const int cx = Round(piece->position[0]), cy = Round(piece->position[1]);
      if (game->selected && game->selected != piece) {
        driver.RightClick(cx, cy);  // the selected piece lies above all others
        continue;
      }
      // Another piece hides it: put that one aside (it is taken back later
      // if it filled an outline).
      const ShapePiece* cover = game->PieceAt(static_cast<float>(cx), static_cast<float>(cy));
      ASSERT_NE(cover, nullptr);
      ParkingPlace(*game, cover, &x, &y);
      driver.Down(cx, cy);
      driver.Up(x, y);
      continue;
    }
    // Take it, drop it on the outline's centre, then size and turn it.
    driver.Down(x, y);
    driver.Up(Round(target.position[0]), Round(target.position[1]));
    if (!running()) break;  // it fitted as it was: the picture is complete
    ASSERT_EQ(game->selected, piece);
    const int sizeSteps = static_cast<int>(std::lround((target.sizeFactor - piece->sizeFactor) / SHAPE_SIZE_STEP));
    PressTimes(driver, sizeSteps > 0 ? 'W' : 'S', std::abs(sizeSteps));
    int turnSteps = 0;
    ASSERT_TRUE(TurnSteps(*piece, target, &turnSteps));
    PressTimes(driver, turnSteps > 0 ? 'D' : 'A', std::abs(turnSteps));
    driver.WaitUntil([&] { return !running() || game->MatchFor(target) != nullptr; }, 0.5);
  }
  ASSERT_TRUE(driver.WaitUntil([&] { return !running(); }, 1.0)) << "the picture was not finished";
  EXPECT_EQ(driver.CurrentGame()->GetState(), GAME_STATE_ENDED);
}
