// The glide of moving pieces at fixed frame rates (arrival, no overshoot, no
// stall short of the target), on long and odd frames, and the carry of a
// dragged piece.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "framework/drag_carry.h"
#include "framework/glide.h"

namespace {

struct Rates {
  double rate;         // glide rate of the game
  double arriveWithin;  // seconds after which it must be within half a pixel
};

// Every frame rate brings a piece smoothly to its target: the remaining way
// shrinks every frame, no axis ever passes its target, and the piece ends
// exactly on it (integer positions would stall pixels short at high rates).
TEST(GlideTest, ArrivesSmoothlyWithoutOvershootAtCommonFrameRates) {
  for (const Rates r : {Rates{8, 1.0}, Rates{10, 1.0}, Rates{5, 1.6}}) {
    for (const double fps : {30.0, 60.0, 144.0}) {
      SCOPED_TRACE(testing::Message() << "rate " << r.rate << " at " << fps << " fps");
      const double dt = 1.0 / fps;
      GlidePoint p(100.5f, 700.0f);
      p.SetTarget(612.25f, 377.0f);  // right and up
      double last = p.DistanceToTarget();
      double t = 0;
      bool halfPixelInTime = false;
      for (int frame = 0; frame < fps * 3; ++frame) {
        p.Step(dt, r.rate);
        t += dt;
        const double d = p.DistanceToTarget();
        EXPECT_LE(p.x, 612.25f);
        EXPECT_GE(p.y, 377.0f);
        if (last > 0) {
          EXPECT_LT(d, last);
        }
        last = d;
        if (t <= r.arriveWithin + 1e-9 && d <= 0.5) halfPixelInTime = true;
      }
      EXPECT_TRUE(halfPixelInTime);
      EXPECT_EQ(p.x, 612.25f);
      EXPECT_EQ(p.y, 377.0f);
      EXPECT_TRUE(p.Arrived(0));
    }
  }
}

// The first frames cover about the same way at every frame rate, so the look
// does not depend on the screen.
TEST(GlideTest, SameJourneyAtEveryFrameRate) {
  for (const double fps : {30.0, 60.0, 144.0}) {
    GlidePoint p(0, 0);
    p.SetTarget(400, 0);
    for (int frame = 0; frame < std::lround(fps / 2); ++frame) p.Step(1.0 / fps, 8);  // half a second
    EXPECT_NEAR(p.x, 400 * (1 - std::exp(-4.0)), 5) << fps << " fps";
  }
}

TEST(GlideTest, LongFramesLandExactlyAndOddFramesDoNothing) {
  for (const double seconds : {0.125, 0.2, 1.0, 30.0}) {  // share 1, 1.6, 8, 240
    GlidePoint p(10, 10);
    p.SetTarget(-333.3f, 512.7f);
    p.Step(seconds, 8);
    EXPECT_EQ(p.x, -333.3f);
    EXPECT_EQ(p.y, 512.7f);
  }
  EXPECT_DOUBLE_EQ(GlideShare(0.1, 5), 0.5);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const double seconds : {0.0, -0.5, nan, -std::numeric_limits<double>::infinity()}) {
    GlidePoint p(10, 20);
    p.SetTarget(50, 60);
    p.Step(seconds, 8);
    EXPECT_EQ(p.x, 10);
    EXPECT_EQ(p.y, 20);
  }
  EXPECT_EQ(GlideShare(std::numeric_limits<double>::infinity(), 8), 1.0);
  // A scalar (a balance beam's tilt) glides the same way.
  EXPECT_DOUBLE_EQ(GlideToward(10.0, 30.0, 0.25, 1.0), 15.0);
  EXPECT_DOUBLE_EQ(GlideToward(10.0, 30.0, 3.0, 1.0), 30.0);
}

TEST(GlideTest, MovingByTheMouseKeepsTheWayLeft) {
  GlidePoint p(100, 100);
  p.SetTarget(150, 100);
  p.MoveBy(-20, 5);
  EXPECT_EQ(p.x, 80);
  EXPECT_EQ(p.y, 105);
  EXPECT_EQ(p.targetX, 130);
  EXPECT_EQ(p.targetY, 105);
  EXPECT_DOUBLE_EQ(p.DistanceToTarget(), 50);
  p.JumpTo(7, 8);
  EXPECT_TRUE(p.Arrived(0));
}

struct Piece {
  int id;
};

TEST(DragCarryTest, PickFollowReleaseAndALeftoverPieceIsDroppedFirst) {
  DragCarry<Piece> carry;
  float dx = 1, dy = 1;
  EXPECT_FALSE(carry.Follow(50, 60, &dx, &dy));  // nothing held: no way
  EXPECT_EQ(dx, 0);
  EXPECT_EQ(dy, 0);

  Piece a{1}, b{2};
  carry.PickUp(&a, 100, 200);
  ASSERT_TRUE(carry.Holding());
  EXPECT_TRUE(carry.Follow(110, 190, &dx, &dy));
  EXPECT_EQ(dx, 10);
  EXPECT_EQ(dy, -10);
  EXPECT_TRUE(carry.Follow(111, 190, &dx, &dy));
  EXPECT_EQ(dx, 1);
  EXPECT_EQ(dy, 0);

  // The release never came: the next press puts `a` down through the game's
  // release handling before it picks up `b`.
  Piece* dropped = nullptr;
  int dropX = 0;
  const auto release = [&](int x, int) {
    dropped = carry.Release();
    dropX = x;
  };
  carry.DropLeftover(300, 400, release);
  EXPECT_EQ(dropped, &a);
  EXPECT_EQ(dropX, 300);
  EXPECT_FALSE(carry.Holding());
  carry.PickUp(&b, 300, 400);
  dropped = nullptr;
  EXPECT_EQ(carry.Release(), &b);
  carry.DropLeftover(0, 0, release);  // nothing held: nothing dropped
  EXPECT_EQ(dropped, nullptr);
  EXPECT_EQ(carry.Release(), nullptr);
}

}  // namespace
