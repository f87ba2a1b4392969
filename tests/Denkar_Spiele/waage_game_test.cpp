// The fruit balance: task generation over many seeds, the balance's tilt and
// layout, dragging by the mouse, the time limits and the judging, the glides
// at several frame rates, grading, and whole plays (won by the autoplayer and
// lost by time) on their own and through the main menu.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Denkar_Spiele/DG_Waage_Game_Fruechte.h"
#include "Denkar_Spiele/autoplay_waage.h"
#include "data/language.h"
#include "framework/gui_element.h"
#include "framework/stats_record.h"
#include "menu/main_menu.h"
#include "platform/crt_rand.h"
#include "support/play_driver.h"
#include "support/test_app.h"
#include "util/app_context.h"
#include "util/format_text.h"

namespace {

using Game = DG_Waage_Game_Früchte;

class WaageTest : public testapp::AppTest {
 protected:
  const char* FolderPrefix() const override { return "denkar_waage"; }
  void Tick(double seconds) {
    app->frameTime = app->realFrameTime = seconds;
  }
  void Step(Waage& waage, double seconds) {
    Tick(seconds);
    waage.Update();
  }
  void Step(Game& game, double seconds) {
    Tick(seconds);
    game.Update();
  }
  // A balance holding only the given fruits: masses on the left pan, on the
  // right pan (negative masses are fixed fruits) and in the loose row, each
  // already standing at its place.
  static std::unique_ptr<Waage> BalanceWith(std::vector<int> left, std::vector<int> right,
                                            std::vector<int> loose) {
    auto waage = std::make_unique<Waage>(0);
    waage->leftPan.Clear();
    waage->rightPan.Clear();
    waage->looseRow.Clear();
    auto fill = [](PtrList<Gewicht>& list, const std::vector<int>& masses) {
      for (int m : masses) list.Insert(new Gewicht(std::abs(m), m > 0, 0, 0));
    };
    fill(waage->leftPan, left);
    fill(waage->rightPan, right);
    fill(waage->looseRow, loose);
    Settle(*waage);
    return waage;
  }
  // Lays the balance out and puts every fruit on its target at once.
  static void Settle(Waage& waage) {
    waage.Layout();
    for (PtrList<Gewicht>* list : {&waage.leftPan, &waage.rightPan, &waage.looseRow})
      for (int i = 0; i < list->Count(); ++i) {
        GlidePoint& p = list->Get(i)->position;
        p.JumpTo(p.targetX, p.targetY);
      }
  }
  // A started play at `difficulty` whose task is replaced by BalanceWith's.
  static std::unique_ptr<Game> PlayWith(int difficulty, std::vector<int> left,
                                        std::vector<int> right, std::vector<int> loose) {
    auto game = std::make_unique<Game>(difficulty);
    game->DisableRecording();
    game->Start();
    delete game->waage;
    game->waage = BalanceWith(left, right, loose).release();
    return game;
  }
  // Presses at a point inside the fruit's hit area.
  static int PressX(const Gewicht* fruit) { return static_cast<int>(fruit->position.x); }
  static int PressY(const Gewicht* fruit) { return static_cast<int>(fruit->position.y - 20); }
  static void PressOn(Waage& waage, const Gewicht* fruit) {
    waage.MouseDown(PressX(fruit), PressY(fruit));
  }
  static void PressOn(Game& game, const Gewicht* fruit) {
    game.OnLButtonDown(PressX(fruit), PressY(fruit));
  }
  // Picks the fruit up, moves the mouse by (dx, dy), lets the fruit catch up
  // and lets go.
  void Drag(Waage& waage, Gewicht* fruit, int dx, int dy) {
    const int x = PressX(fruit), y = PressY(fruit);
    waage.MouseDown(x, y);
    ASSERT_EQ(waage.Held(), fruit);
    waage.MouseMove(x + dx, y + dy);
    for (int i = 0; i < 120; ++i) Step(waage, 1.0 / 60);
    waage.MouseUp();
  }
};

TEST_F(WaageTest, GeneratedTasksAreSolvableAndUseEveryKindOfFruit) {
  const int leastLoose[3] = {5, 7, 10};
  for (int d = 0; d < 3; ++d) {
    int withFixed = 0, withSplit = 0;
    constexpr int SEEDS = 1500;
    for (int seed = 1; seed <= SEEDS; ++seed) {
      CrtSrand(static_cast<uint32_t>(seed * 7919));
      Waage waage(d);
      const int loose = waage.looseRow.Count();
      ASSERT_GE(loose, leastLoose[d]);
      // One round adds at most three loose fruits (a split of 250 g).
      ASSERT_LE(loose, leastLoose[d] + 3);
      int fixedCount = 0, fruitCount = 0;
      for (PtrList<Gewicht>* list : {&waage.leftPan, &waage.rightPan, &waage.looseRow})
        for (int i = 0; i < list->Count(); ++i) {
          const Gewicht* fruit = list->Get(i);
          ++fruitCount;
          EXPECT_EQ(fruit->movable, list == &waage.looseRow);
          if (!fruit->movable) ++fixedCount;
          EXPECT_FLOAT_EQ(fruit->position.y, 0.0f);  // drops in from the top edge
          EXPECT_GE(fruit->position.x, 0.0f);
          EXPECT_LT(fruit->position.x, 1024.0f);
        }
      withFixed += fixedCount > 0;
      // Both sides of every round weigh the same, so the halves differ in
      // count only when a mass was split.
      withSplit += fruitCount % 2 == 1;
      EXPECT_EQ(waage.Held(), nullptr);
      EXPECT_DOUBLE_EQ(waage.tilt, 0.0);
      ASSERT_TRUE(SolveWaage(waage).has_value()) << "difficulty " << d << " seed " << seed;
    }
    EXPECT_GT(withFixed, SEEDS / 2) << "difficulty " << d;
    EXPECT_GT(withSplit, SEEDS / 10) << "difficulty " << d;
  }
}

TEST_F(WaageTest, FruitPicturesHitAreaAndLimits) {
  const struct {
    int mass, first, last;
  } pictures[] = {{25, 0, 0}, {50, 1, 2}, {100, 3, 3}, {250, 4, 5}, {500, 6, 6}, {1000, 7, 7}};
  for (const auto& p : pictures) {
    bool seen[8] = {};
    for (int i = 0; i < 40; ++i) {
      Gewicht fruit(p.mass, true, 0, 0);
      ASSERT_GE(fruit.imageIndex, p.first);
      ASSERT_LE(fruit.imageIndex, p.last);
      seen[fruit.imageIndex] = true;
    }
    EXPECT_TRUE(seen[p.first] && seen[p.last]) << p.mass;
  }
  Gewicht fruit(100, true, 200, 300);  // bottom centre at (200, 300), scale 0.5
  EXPECT_TRUE(fruit.Contains(200, 300));
  EXPECT_TRUE(fruit.Contains(215, 242.5f));
  EXPECT_TRUE(fruit.Contains(185, 290));
  EXPECT_FALSE(fruit.Contains(216, 290));
  EXPECT_FALSE(fruit.Contains(200, 301));
  EXPECT_FALSE(fruit.Contains(200, 242));

  const int taskCounts[3] = {5, 7, 10};
  const double timeLimits[3] = {60, 50, 40};
  for (int d = 0; d < 3; ++d) {
    Game game(d);
    game.DisableRecording();
    EXPECT_EQ(game.taskCount, taskCounts[d]);
    EXPECT_DOUBLE_EQ(game.timeLimit, timeLimits[d]);
    EXPECT_DOUBLE_EQ(game.timeLeft, game.timeLimit);
    ASSERT_NE(game.waage, nullptr);
  }
}

TEST_F(WaageTest, TiltFollowsTheMassesAndEmptyPansAreLevel) {
  auto waage = BalanceWith({}, {}, {});
  EXPECT_DOUBLE_EQ(waage->TargetTiltFor(0, 0), 0.0);
  for (int i = 0; i < 100; ++i) Step(*waage, 1.0 / 60);
  EXPECT_DOUBLE_EQ(waage->tilt, 0.0);
  EXPECT_TRUE(waage->Balanced());  // nothing loose, nothing held, 0 = 0

  EXPECT_DOUBLE_EQ(waage->TargetTiltFor(100, 0), -30.0);
  EXPECT_DOUBLE_EQ(waage->TargetTiltFor(100, 50), -20.0);
  EXPECT_DOUBLE_EQ(waage->TargetTiltFor(25, 75), 22.5);
  EXPECT_DOUBLE_EQ(waage->TargetTiltFor(500, 500), 0.0);

  // A heavier right pan lowers the right end; the tilt creeps towards the
  // target and never passes it.
  auto heavy = BalanceWith({-100}, {-300}, {});
  double previous = 0;
  for (int i = 0; i < 600; ++i) {
    Step(*heavy, 1.0 / 60);
    ASSERT_GE(heavy->tilt, previous);
    ASSERT_LE(heavy->tilt, 22.5);
    previous = heavy->tilt;
  }
  EXPECT_NEAR(heavy->tilt, 22.5, 0.1);
  EXPECT_GT(heavy->rightPanCentre.y, heavy->leftPanCentre.y);
  EXPECT_FALSE(heavy->Balanced());
}

TEST_F(WaageTest, PansTurnAboutTheCentreAndFruitsStandOnThem) {
  auto waage = BalanceWith({-25, -50, -100, -250}, {-500}, {25, 50});
  // Level: pan centres at the beam ends.
  EXPECT_FLOAT_EQ(waage->leftPanCentre.x, 412.0f);
  EXPECT_FLOAT_EQ(waage->leftPanCentre.y, 384.0f);
  EXPECT_FLOAT_EQ(waage->rightPanCentre.x, 612.0f);
  EXPECT_FLOAT_EQ(waage->rightPanCentre.y, 384.0f);
  // Three fruits per row standing 2 px above the pan's top, the fourth a row
  // higher.
  const float xs[4] = {372, 422, 472, 372}, ys[4] = {351.5f, 351.5f, 351.5f, 301.5f};
  for (int i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(waage->leftPan.Get(i)->position.targetX, xs[i]);
    EXPECT_FLOAT_EQ(waage->leftPan.Get(i)->position.targetY, ys[i]);
  }
  // The loose row: starts 20 px left of the centre per fruit, 50 px apart.
  EXPECT_FLOAT_EQ(waage->looseRow.Get(0)->position.targetX, 472.0f);
  EXPECT_FLOAT_EQ(waage->looseRow.Get(1)->position.targetX, 522.0f);
  EXPECT_FLOAT_EQ(waage->looseRow.Get(1)->position.targetY, 576.0f);

  // Tilted by 30 degrees: the right pan down, the left one up, both 100 px
  // from the centre; the beam image turns about its bearing (512, 406.5).
  waage->tilt = 30.0;
  waage->Layout();
  const float c = std::cos(30.0f * 3.14159265f / 180), s = std::sin(30.0f * 3.14159265f / 180);
  EXPECT_NEAR(waage->rightPanCentre.x, 512 + 100 * c, 1e-3);
  EXPECT_NEAR(waage->rightPanCentre.y, 384 + 100 * s, 1e-3);
  EXPECT_NEAR(waage->leftPanCentre.x, 512 - 100 * c, 1e-3);
  EXPECT_NEAR(waage->leftPanCentre.y, 384 - 100 * s, 1e-3);
  EXPECT_NEAR(waage->rightPan.Get(0)->position.targetY, waage->rightPanCentre.y - 32.5f, 1e-3);
  const Matrix2D beam = waage->BeamTransform();
  auto at = [&](float x, float y) {
    return D3DXVECTOR2{beam.m11 * x + beam.m21 * y + beam.dx, beam.m12 * x + beam.m22 * y + beam.dy};
  };
  EXPECT_NEAR(at(100, 22.5f).x, 512, 1e-3);
  EXPECT_NEAR(at(100, 22.5f).y, 406.5, 1e-3);
  EXPECT_NEAR(at(200, 22.5f).x, 512 + 100 * c, 1e-3);
  EXPECT_NEAR(at(200, 22.5f).y, 406.5 + 100 * s, 1e-3);
  EXPECT_NEAR(at(0, 22.5f).y, 406.5 - 100 * s, 1e-3);
}

TEST_F(WaageTest, DraggingPicksUpMovableFruitsAndDropsThemByPlace) {
  auto waage = BalanceWith({-100, 50}, {-250}, {100, 25});
  Gewicht* fixedLeft = waage->leftPan.Get(0);
  Gewicht* fixedRight = waage->rightPan.Get(0);
  Gewicht* loose = waage->looseRow.Get(0);
  // Fixed fruits cannot be picked up.
  PressOn(*waage, fixedLeft);
  EXPECT_EQ(waage->Held(), nullptr);
  EXPECT_TRUE(waage->buttonDown);
  waage->MouseUp();
  PressOn(*waage, fixedRight);
  EXPECT_EQ(waage->Held(), nullptr);
  waage->MouseUp();
  EXPECT_EQ(waage->leftPan.Count(), 2);
  EXPECT_EQ(waage->rightPan.Count(), 1);

  // A press beside every fruit holds nothing; a move without the button
  // moves nothing.
  waage->MouseDown(5, 5);
  EXPECT_EQ(waage->Held(), nullptr);
  waage->MouseUp();
  waage->MouseMove(600, 100);

  // Dropped on the right half above the lower third: the right pan.
  Drag(*waage, loose, 200, -300);
  EXPECT_TRUE(waage->rightPan.Contains(loose));
  EXPECT_EQ(waage->looseRow.Count(), 1);
  // Picked from the right pan and dropped on the left half: the left pan.
  Drag(*waage, loose, -250, 0);
  EXPECT_TRUE(waage->leftPan.Contains(loose));
  // Dropped below two thirds of the height: back to the row.
  Drag(*waage, loose, 0, 250);
  EXPECT_TRUE(waage->looseRow.Contains(loose));
  EXPECT_EQ(waage->looseRow.Count(), 2);
  EXPECT_FALSE(waage->buttonDown);
}

TEST_F(WaageTest, APressWhileAFruitIsHeldPutsThatFruitDownFirst) {
  auto waage = BalanceWith({}, {}, {100, 50});
  Gewicht* first = waage->looseRow.Get(0);
  Gewicht* second = waage->looseRow.Get(1);
  PressOn(*waage, first);
  waage->MouseMove(static_cast<int>(first->position.x) + 200,
                   static_cast<int>(first->position.y) - 300);
  for (int i = 0; i < 120; ++i) Step(*waage, 1.0 / 60);
  // The release never arrived; the next press lands on the other fruit.
  Settle(*waage);
  PressOn(*waage, second);
  EXPECT_TRUE(waage->rightPan.Contains(first));  // where its release would have put it
  EXPECT_EQ(waage->Held(), second);
  waage->MouseUp();
  EXPECT_EQ(waage->rightPan.Count() + waage->leftPan.Count() + waage->looseRow.Count(), 2);
}

TEST_F(WaageTest, NotSolvedWhileAFruitIsHeldOrLooseEvenWhenLevel) {
  auto play = PlayWith(0, {100}, {-100}, {});
  Game& game = *play;
  // Picked up before the level pans are judged; with the fixed fruit gone
  // too, the pans stay level (0 = 0) while it is held, and nothing counts.
  Gewicht* fruit = game.waage->leftPan.Get(0);
  PressOn(game, fruit);
  ASSERT_EQ(game.waage->Held(), fruit);
  game.waage->rightPan.Clear();
  for (int i = 0; i < 60; ++i) Step(game, 1.0 / 60);
  EXPECT_EQ(game.rightCount + game.wrongCount, 0);
  EXPECT_DOUBLE_EQ(game.feedbackSeconds, 0.0);
  // Put back in the row: level pans, but a loose fruit is left.
  game.OnMouseMove(static_cast<int>(fruit->position.x), 700);
  for (int i = 0; i < 60; ++i) Step(game, 1.0 / 60);
  game.OnLButtonUp(0, 0);
  ASSERT_TRUE(game.waage->looseRow.Contains(fruit));
  for (int i = 0; i < 60; ++i) Step(game, 1.0 / 60);
  EXPECT_EQ(game.rightCount + game.wrongCount, 0);
}

TEST_F(WaageTest, TimeLimitJudgingAndFeedback) {
  // Level exactly when the time runs out, with the last fruit still in the
  // hand over the right pan: it is put down and the task counts as right with
  // the whole limit.
  auto play = PlayWith(2, {-250}, {}, {250});
  Game& game = *play;
  Gewicht* fruit = game.waage->looseRow.Get(0);
  PressOn(game, fruit);
  game.OnMouseMove(static_cast<int>(fruit->position.x) + 100, 300);
  for (int i = 0; i < 60; ++i) Step(game, 1.0 / 60);
  ASSERT_EQ(game.waage->Held(), fruit);
  game.timeLeft = 0.25;
  Step(game, 0.25);
  EXPECT_EQ(game.waage->Held(), nullptr);
  EXPECT_TRUE(game.waage->rightPan.Contains(fruit));
  EXPECT_EQ(game.rightCount, 1);
  EXPECT_EQ(game.wrongCount, 0);
  EXPECT_DOUBLE_EQ(game.timeUsedSum, 40.0);
  EXPECT_DOUBLE_EQ(game.feedbackSeconds, 2.0);
  EXPECT_TRUE(game.lastTaskRight);  // shown as a tick

  // During the feedback the mouse does nothing and the clocks stand.
  Waage* judged = game.waage;
  const double playTime = game.playTime;
  PressOn(game, fruit);
  EXPECT_EQ(judged->Held(), nullptr);
  Step(game, 1.0);
  EXPECT_DOUBLE_EQ(game.playTime, playTime);
  EXPECT_EQ(game.waage, judged);
  Step(game, 1.0);  // the next task: a new balance, a fresh limit
  EXPECT_GE(game.waage->looseRow.Count(), 10);
  EXPECT_DOUBLE_EQ(game.feedbackSeconds, 0.0);
  EXPECT_DOUBLE_EQ(game.timeLeft, 40.0);

  // A stall of half a minute in one frame does not use up the task.
  Step(game, 30.0);
  EXPECT_DOUBLE_EQ(game.timeLeft, 39.5);
  EXPECT_DOUBLE_EQ(game.playTime, playTime + 0.5);
  EXPECT_EQ(game.wrongCount, 0);

  // Not level when the time is up: wrong, nothing added to the time used.
  while (game.feedbackSeconds <= 0.0) Step(game, 0.1);
  EXPECT_EQ(game.wrongCount, 1);
  EXPECT_EQ(game.rightCount, 1);
  EXPECT_FALSE(game.lastTaskRight);  // shown as a cross
  EXPECT_DOUBLE_EQ(game.timeUsedSum, 40.0);
  EXPECT_LE(game.timeLeft, 0.0);
}

TEST_F(WaageTest, SolvedAsSoonAsTheLastFruitLevelsThePans) {
  auto play = PlayWith(0, {-50}, {-100}, {25, 25});
  Game& game = *play;
  Step(game, 10.0 / 60);
  Gewicht* a = game.waage->looseRow.Get(0);
  Gewicht* b = game.waage->looseRow.Get(1);
  for (Gewicht* fruit : {a, b}) {
    Settle(*game.waage);
    PressOn(game, fruit);
    game.OnMouseMove(static_cast<int>(fruit->position.x) - 200, 200);
    for (int i = 0; i < 60; ++i) Step(game, 1.0 / 60);
    game.OnLButtonUp(0, 0);
  }
  EXPECT_EQ(game.rightCount, 0);
  Step(game, 1.0 / 60);
  EXPECT_EQ(game.rightCount, 1);
  EXPECT_NEAR(game.timeUsedSum, 60.0 - game.timeLeft, 1e-9);
  EXPECT_NEAR(game.timeUsedSum, game.playTime, 1e-9);
}

// The glide of a fruit and of the beam is the same motion at every frame
// rate: it never passes its target, and covers nearly the same share of the
// way in the same time.
TEST_F(WaageTest, PiecesGlideSmoothlyAtThirtySixtyAndHundredFortyFourFramesPerSecond) {
  double remainingAfterHalfSecond[3];
  const int rates[3] = {30, 60, 144};
  for (int r = 0; r < 3; ++r) {
    const double frame = 1.0 / rates[r];
    auto waage = BalanceWith({}, {-250}, {100});
    Gewicht* fruit = waage->looseRow.Get(0);
    fruit->position.JumpTo(900, 0);
    Step(*waage, 0.0);  // targets from the layout
    const float tx = fruit->position.targetX, ty = fruit->position.targetY;
    double lastDistance = fruit->position.DistanceToTarget();
    double lastTilt = waage->tilt;
    for (int i = 1; i * frame <= 2.0 + 1e-9; ++i) {
      Step(*waage, frame);
      const double distance = fruit->position.DistanceToTarget();
      ASSERT_LT(distance, lastDistance + 1e-6);
      ASSERT_GE(fruit->position.x, tx);  // comes from the right and above
      ASSERT_LE(fruit->position.y, ty);
      ASSERT_GE(waage->tilt, lastTilt);
      ASSERT_LE(waage->tilt, 30.0);
      lastDistance = distance;
      lastTilt = waage->tilt;
      if (std::abs(i * frame - 0.5) < frame / 2)
        remainingAfterHalfSecond[r] = distance / std::hypot(900.0 - tx, ty);
    }
    EXPECT_LT(lastDistance, 0.1) << rates[r];
    EXPECT_GT(waage->tilt, 25.0) << rates[r];
    // A carried fruit follows the mouse: within one per cent of the way after
    // a second.
    PressOn(*waage, fruit);
    ASSERT_EQ(waage->Held(), fruit);
    waage->MouseMove(static_cast<int>(fruit->position.x) - 300,
                     static_cast<int>(fruit->position.y) - 250);
    for (int i = 0; i * frame < 1.0; ++i) Step(*waage, frame);
    EXPECT_LT(fruit->position.DistanceToTarget(), 3.8) << rates[r];
    // A long frame lands the fruit on its target instead of throwing it past.
    waage->MouseMove(static_cast<int>(fruit->position.x) + 100, static_cast<int>(fruit->position.y));
    Step(*waage, 1.5);
    EXPECT_FLOAT_EQ(fruit->position.x, fruit->position.targetX);
    EXPECT_DOUBLE_EQ(waage->tilt, waage->targetTilt);
    waage->MouseUp();
  }
  for (double share : remainingAfterHalfSecond) {
    EXPECT_GT(share, 0.06);  // e^-2.5 = 0.082 for a continuous glide
    EXPECT_LT(share, 0.09);
  }
}

TEST_F(WaageTest, GradeAndResultText) {
  Game game(1);
  game.DisableRecording();
  game.Start();
  game.rightCount = 5;
  game.wrongCount = 2;
  game.timeUsedSum = 140.0;
  game.playTime = 185.0;
  game.SetState(GAME_STATE_ENDED);
  const std::string text = game.GetResultText();
  const double grade = 1.0 + 5.0 * 2 / 7 + 185.0 / 90;
  EXPECT_DOUBLE_EQ(game.GetGrade(), grade);
  EXPECT_EQ(text, FormatText(GetLangText(37), {3, 5}) + "\n" + FormatText(GetLangText(30), {5}) +
                      "\n" + FormatText(GetLangText(31), {2}) + "\n" +
                      FormatText(GetLangText(41), {20.0}) + "\n\n" +
                      FormatText(GetLangText(50), {grade}));
  EXPECT_STREQ(game.GetResultTitle(), GetLangText(135));
  EXPECT_STREQ(game.GetDescriptionText(), GetLangText(136));
  EXPECT_NE(game.GetStatisticsText(), nullptr);

  // Quit: ten times the wrong share and t / 60; nothing judged is 6.0.
  game.SetState(GAME_STATE_QUIT);
  game.ComputeGrade();
  EXPECT_DOUBLE_EQ(game.GetGrade(), 6.0);  // 1 + 2.86 + 3.08, capped
  game.playTime = 30.0;
  game.ComputeGrade();
  EXPECT_DOUBLE_EQ(game.GetGrade(), 1.0 + 10.0 * 2 / 7 + 0.5);
  game.rightCount = game.wrongCount = 0;
  game.playTime = 0.0;
  game.ComputeGrade();
  EXPECT_DOUBLE_EQ(game.GetGrade(), 6.0);
  // Nothing judged: the mean time is 0.0, not a division by zero.
  EXPECT_NE(std::string(game.GetResultText()).find(FormatText(GetLangText(41), {0.0})),
            std::string::npos);
}

TEST_F(WaageTest, InputBeforeTheStartAndAfterTheEndIsIgnored) {
  Game game(0);
  game.DisableRecording();
  delete game.waage;
  game.waage = BalanceWith({}, {}, {100}).release();
  Gewicht* fruit = game.waage->looseRow.Get(0);
  const int x = PressX(fruit), y = PressY(fruit);
  game.OnLButtonDown(x, y);  // during the countdown
  EXPECT_EQ(game.waage->Held(), nullptr);
  Step(game, 1.0);
  EXPECT_DOUBLE_EQ(game.timeLeft, 60.0);  // no clock before the start
  game.Start();
  game.SetState(GAME_STATE_PAUSED);
  game.OnLButtonDown(x, y);
  EXPECT_EQ(game.waage->Held(), nullptr);
  game.SetState(GAME_STATE_ENDED);
  game.OnLButtonDown(x, y);
  EXPECT_EQ(game.waage->Held(), nullptr);
  game.SetState(GAME_STATE_RUNNING);
  game.OnLButtonDown(x, y);
  EXPECT_EQ(game.waage->Held(), fruit);
}

// Whole plays, straight into the game's handlers.
TEST_F(WaageTest, AutoplayerWinsEveryDifficultyAndTheSaveFileRecordsIt) {
  for (int d = 0; d < 3; ++d) {
    std::filesystem::remove("waage_fruits.sav");
    double grade = 0;
    {
      CrtSrand(static_cast<uint32_t>(1000 + d));
      Game game(d);
      GameDriver driver(game);
      AutoplayWin_DG_Waage_Game_Fruechte(driver);
      ASSERT_FALSE(HasFatalFailure());
      ASSERT_EQ(game.GetState(), GAME_STATE_ENDED);
      EXPECT_EQ(game.rightCount, game.taskCount);
      EXPECT_EQ(game.wrongCount, 0);
      EXPECT_GT(game.playTime, 0.0);
      EXPECT_NEAR(game.timeUsedSum, game.playTime, 1e-6);
      // Input after the end does nothing.
      game.OnLButtonDown(512, 576);
      EXPECT_EQ(game.waage->Held(), nullptr);
      game.ComputeGrade();
      grade = game.GetGrade();
      EXPECT_DOUBLE_EQ(grade, 1.0 + game.playTime / 90.0);
      EXPECT_LT(grade, 6.0);
    }
    GameRecord saved;
    ASSERT_TRUE(saved.LoadFile("waage_fruits.sav"));
    EXPECT_EQ(saved.playCount, 1);
    EXPECT_NEAR(saved.bestGrade, grade, 1e-4);
    EXPECT_EQ(saved.veryGoodCount, grade <= 1.5 ? 1 : 0);
  }
}

TEST_F(WaageTest, PlayRunOutOfTimeCountsEveryTaskWrong) {
  for (int d = 0; d < 3; ++d) {
    std::filesystem::remove("waage_fruits.sav");
    {
      Game game(d);
      GameDriver driver(game);
      ASSERT_TRUE(driver.WaitUntil([&] { return game.GetState() != GAME_STATE_RUNNING; },
                                   game.taskCount * (game.timeLimit + 2.0) + 1.0));
      EXPECT_EQ(game.GetState(), GAME_STATE_ENDED);
      EXPECT_EQ(game.wrongCount, game.taskCount);
      EXPECT_EQ(game.rightCount, 0);
      // Each task runs until its clock passes 0, at most one frame over.
      EXPECT_NEAR(game.playTime, game.taskCount * game.timeLimit, game.taskCount / 60.0 + 1e-6);
      game.ComputeGrade();
      EXPECT_DOUBLE_EQ(game.GetGrade(), 6.0);
    }
    GameRecord saved;
    ASSERT_TRUE(saved.LoadFile("waage_fruits.sav"));
    EXPECT_EQ(saved.playCount, 1);
    EXPECT_DOUBLE_EQ(saved.bestGrade, 6.0);
    EXPECT_EQ(saved.Entries().Count(), 0);
  }
}

// Through the main menu with the real textures, drawing as the main loop
// does; saves the screens as pictures when DENKAR_SHOT_DIR names a folder.
class WaageScreenTest : public WaageTest {
 protected:
  bool NeedsDataFile() const override { return true; }
  void SetUp() override {
    WaageTest::SetUp();
    screen = std::make_unique<testapp::OffscreenScreen>();
    ASSERT_TRUE(screen->Ok());
    menu = std::make_unique<MainMenu>();
    driver = std::make_unique<MenuDriver>(*menu);
    if (const char* dir = std::getenv("DENKAR_SHOT_DIR")) shotDir = dir;
  }
  void TearDown() override {
    driver.reset();
    menu.reset();
    screen.reset();
    WaageTest::TearDown();
  }
  void Shot(const std::string& name) {
    screen->Draw([&] {
      menu->Render();
      menu->DrawCursor();
    });
    if (!shotDir.empty()) {
      EXPECT_TRUE(screen->SavePng(shotDir + "/" + name + ".png"));
    }
  }
  // Clicks the element `id` of the visible page where it is drawn.
  bool ClickElement(int id) {
    for (int slot = 0; slot < GAME_ELEMENT_COUNT; ++slot) {
      if (!menu->elementEnabled[slot] || !menu->elements[slot]) continue;
      GUIElement* root = menu->elements[slot];
      for (int i = 0; i < root->children.Count(); ++i) {
        GUIElement* e = root->children.Get(i);
        if (e->GetId() != id) continue;
        driver->Click(static_cast<int>(root->x + (e->x + e->right) / 2),
                      static_cast<int>(root->y + (e->y + e->bottom) / 2));
        return true;
      }
    }
    return false;
  }
  Game* Fruit() { return dynamic_cast<Game*>(menu->activeGame); }

  std::unique_ptr<testapp::OffscreenScreen> screen;
  std::unique_ptr<MainMenu> menu;
  std::unique_ptr<MenuDriver> driver;
  std::string shotDir;
};

TEST_F(WaageScreenTest, FromTheMenuThroughAWonPlayToTheTopTen) {
  ASSERT_TRUE(ClickElement(2));
  ASSERT_TRUE(ClickElement(12));  // medium
  ASSERT_TRUE(ClickElement(17));
  while (!ClickElement(22 + 13)) ASSERT_TRUE(ClickElement(21));  // scroll to the game
  ASSERT_NE(Fruit(), nullptr);
  EXPECT_EQ(Fruit()->taskCount, 7);
  EXPECT_FALSE(Fruit()->started);
  driver->SkipCountdown();
  ASSERT_TRUE(Fruit()->started);
  AutoplayWin_DG_Waage_Game_Fruechte(*driver);
  ASSERT_FALSE(HasFatalFailure());
  ASSERT_EQ(Fruit()->GetState(), GAME_STATE_ENDED);
  EXPECT_EQ(Fruit()->rightCount, 7);
  const double playTime = Fruit()->playTime;
  ASSERT_TRUE(driver->WaitUntil([&] { return menu->currentPage == 55; }, 3.0));
  Shot("menu_result");
  ASSERT_NE(menu->gameNameEntry, nullptr);
  driver->Type("Obst");
  driver->Key(VK_RETURN);
  EXPECT_EQ(menu->activeGame, nullptr);
  EXPECT_EQ(menu->currentPage, 1);

  GameRecord saved;
  ASSERT_TRUE(saved.LoadFile("waage_fruits.sav"));
  EXPECT_EQ(saved.playCount, 1);
  ASSERT_EQ(saved.Entries().Count(), 1);
  EXPECT_STREQ(saved.Entries().Get(0)->name, "Obst");
  EXPECT_NEAR(saved.Entries().Get(0)->grade, 1.0 + playTime / 90.0, 1e-4);
  EXPECT_EQ(app->statistics->playCount, 1);
}

// Every screen at every difficulty in both languages: a task, a fruit being
// carried, a solved task, a task run out of time and the result page.
TEST_F(WaageScreenTest, ScreensAtEveryDifficultyInBothLanguages) {
  for (int language = 0; language < 2; ++language) {
    testapp::UseLanguage(language);
    for (int d = 0; d < 3; ++d) {
      const std::string tag = std::string(language ? "en" : "de") + "_d" + std::to_string(d) + "_";
      menu->difficulty = d;
      CrtSrand(static_cast<uint32_t>(77 + d));
      menu->StartGame(13);
      ASSERT_NE(Fruit(), nullptr);
      driver->SkipCountdown();
      driver->Wait(2.0);
      Shot(tag + "1_task");
      Gewicht* fruit = Fruit()->waage->looseRow.Get(0);
      const int x = static_cast<int>(fruit->position.x), y = static_cast<int>(fruit->position.y - 25);
      driver->Down(x, y);
      ASSERT_EQ(Fruit()->waage->Held(), fruit);
      driver->Move(x + 100, y - 180);
      driver->Wait(0.3);
      Shot(tag + "2_carried");
      driver->Up(x + 100, y - 180);
      AutoplayWaageTask(*driver);
      ASSERT_FALSE(HasFatalFailure());
      ASSERT_GT(Fruit()->feedbackSeconds, 0.0);
      driver->Wait(1.9);  // the beam comes level during the pause
      EXPECT_LT(std::abs(Fruit()->waage->tilt), 4.0);
      Shot(tag + "3_solved");
      ASSERT_TRUE(driver->WaitUntil([&] { return Fruit()->wrongCount == 1; }, 70.0));
      driver->Wait(1.0);
      Shot(tag + "4_timeout");
      AutoplayWin_DG_Waage_Game_Fruechte(*driver);
      ASSERT_FALSE(HasFatalFailure());
      ASSERT_TRUE(driver->WaitUntil([&] { return menu->currentPage == 55; }, 3.0));
      Shot(tag + "5_result");
      if (menu->gameNameEntry) driver->Type("Test");
      driver->Key(VK_RETURN);
      ASSERT_EQ(menu->activeGame, nullptr);
    }
  }
}

}  // namespace
