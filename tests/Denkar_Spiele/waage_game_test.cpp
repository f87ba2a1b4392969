// The fruit balance: generated tasks over many seeds, tilt and pan layout,
// dragging, judging at the time limit, glides at several frame rates,
// grading, and whole plays (won by the autoplayer, lost by time) on their own
// and through the main menu.
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
#include "framework/stats_record.h"
#include "platform/crt_rand.h"
#include "support/play_driver.h"
#include "support/menu_play.h"
#include "support/test_app.h"
#include "util/app_context.h"
#include "util/format_text.h"

namespace {

using Game = DG_Waage_Game_Früchte;

class WaageTest : public testapp::AppTest {
 protected:
  const char* FolderPrefix() const override { return "denkar_waage"; }
  template <typename T>
  void Step(T& balanceOrGame, double seconds, int frames = 1) {
    for (int i = 0; i < frames; ++i) {
      app->frameTime = app->realFrameTime = seconds;
      balanceOrGame.Update();
    }
  }
  // A started play whose task holds only the given fruits, each at its
  // place: masses on the left pan, the right pan (negative: fixed) and in the
  // loose row.
  static std::unique_ptr<Game> PlayWith(int difficulty, std::vector<int> left,
                                        std::vector<int> right, std::vector<int> loose) {
    auto game = std::make_unique<Game>(difficulty);
    game->DisableRecording();
    game->Start();
    Waage& w = *game->waage;
    for (auto [list, masses] : {std::pair{&w.leftPan, left}, {&w.rightPan, right}, {&w.looseRow, loose}}) {
      list->Clear();
      for (int m : masses) list->Insert(new Gewicht(std::abs(m), m > 0, 0, 0));
    }
    Settle(w);
    return game;
  }
  static void Settle(Waage& w) {
    w.Layout();
    for (PtrList<Gewicht>* list : {&w.leftPan, &w.rightPan, &w.looseRow})
      for (int i = 0; i < list->Count(); ++i) {
        GlidePoint& p = list->Get(i)->position;
        p.JumpTo(p.targetX, p.targetY);
      }
  }
  // Presses on the fruit, moves the mouse by (dx, dy) and lets the fruit
  // follow for a second; `release` lets go.
  void Drag(Game& game, Gewicht* fruit, int dx, int dy, bool release = true) {
    const int x = static_cast<int>(fruit->position.x), y = static_cast<int>(fruit->position.y) - 20;
    game.OnLButtonDown(x, y);
    game.OnMouseMove(x + dx, y + dy);
    Step(*game.waage, 1.0 / 60, 60);
    if (release) game.OnLButtonUp(x + dx, y + dy);
  }
};

TEST_F(WaageTest, EveryGeneratedTaskIsSolvableAndFixedFruitsAndSplitsAppear) {
  const int leastLoose[3] = {5, 7, 10};
  for (int d = 0; d < 3; ++d) {
    int withFixed = 0, withSplit = 0;
    constexpr int SEEDS = 1500;
    for (int seed = 1; seed <= SEEDS; ++seed) {
      CrtSrand(static_cast<uint32_t>(seed * 7919));
      Waage waage(d);
      ASSERT_GE(waage.looseRow.Count(), leastLoose[d]);
      ASSERT_LE(waage.looseRow.Count(), leastLoose[d] + 3);  // a split gives at most three
      int fixed = 0;
      for (PtrList<Gewicht>* list : {&waage.leftPan, &waage.rightPan, &waage.looseRow})
        for (int i = 0; i < list->Count(); ++i) {
          EXPECT_EQ(list->Get(i)->movable, list == &waage.looseRow);
          fixed += !list->Get(i)->movable;
          EXPECT_FLOAT_EQ(list->Get(i)->position.y, 0.0f);  // drops in from the top edge
        }
      withFixed += fixed > 0;
      // Without a split every round adds two fruits.
      withSplit += (fixed + waage.looseRow.Count()) % 2;
      ASSERT_TRUE(SolveWaage(waage).has_value()) << "difficulty " << d << " seed " << seed;
    }
    EXPECT_GT(withFixed, SEEDS / 2) << d;
    EXPECT_GT(withSplit, SEEDS / 10) << d;
  }
  Game hard(2);
  hard.DisableRecording();
  EXPECT_EQ(hard.taskCount, 10);
  EXPECT_DOUBLE_EQ(hard.timeLeft, 40.0);
}

TEST_F(WaageTest, EmptyPansAreLevelAndTheHeavierPanGoesDown) {
  auto empty = PlayWith(0, {}, {}, {});
  Step(*empty->waage, 1.0 / 60, 100);
  EXPECT_DOUBLE_EQ(empty->waage->tilt, 0.0);
  EXPECT_FLOAT_EQ(empty->waage->leftPanCentre.y, 384.0f);

  auto play = PlayWith(0, {-100, -25, -25, -25}, {-525}, {});
  Waage& w = *play->waage;
  EXPECT_DOUBLE_EQ(w.TargetTiltFor(175, 525), 22.5);
  // Three fruits a row standing 2 px above the pan's top, the fourth higher.
  EXPECT_FLOAT_EQ(w.leftPan.Get(2)->position.targetX, 412 - 40 + 100);
  EXPECT_FLOAT_EQ(w.leftPan.Get(3)->position.targetY, 384 - 32.5f - 50);
  Step(w, 1.0 / 60, 600);
  EXPECT_NEAR(w.tilt, 22.5, 0.1);
  // The pans turn about the screen centre, the beam about its bearing.
  const double a = w.tilt * 0.017453292;
  EXPECT_NEAR(w.rightPanCentre.x, 512 + 100 * std::cos(a), 1e-3);
  EXPECT_NEAR(w.rightPanCentre.y, 384 + 100 * std::sin(a), 1e-3);
  EXPECT_NEAR(w.leftPanCentre.y, 384 - 100 * std::sin(a), 1e-3);
  const Matrix2D beam = w.BeamTransform();
  EXPECT_NEAR(beam.m11 * 100 + beam.m21 * 22.5 + beam.dx, 512, 1e-3);
  EXPECT_NEAR(beam.m12 * 100 + beam.m22 * 22.5 + beam.dy, 406.5, 1e-3);
  EXPECT_NEAR(beam.m12 * 200 + beam.m22 * 22.5 + beam.dy, 406.5 + 100 * std::sin(a), 1e-3);
}

TEST_F(WaageTest, DraggingTakesOnlyMovableFruitsAndDropsThemByPlace) {
  auto play = PlayWith(0, {-100, 50}, {-250}, {100, 25});
  Game& game = *play;
  Waage& w = *game.waage;
  for (Gewicht* fixed : {w.leftPan.Get(0), w.rightPan.Get(0)}) {
    Drag(game, fixed, 0, 200);
    EXPECT_EQ(w.Held(), nullptr);
  }
  EXPECT_EQ(w.leftPan.Count() + w.rightPan.Count(), 3);
  Gewicht* fruit = w.looseRow.Get(0);
  Drag(game, fruit, 200, -300);  // right half, above the lower third
  EXPECT_TRUE(w.rightPan.Contains(fruit));
  Drag(game, fruit, -250, 0);  // left half
  EXPECT_TRUE(w.leftPan.Contains(fruit));
  Drag(game, fruit, 0, 250);  // below two thirds of the height: back to the row
  EXPECT_TRUE(w.looseRow.Contains(fruit));

  // A press while a fruit is still held (its release never came) puts that
  // fruit down where its release would have, then takes the pressed one.
  Drag(game, fruit, 200, -300, false);
  Settle(w);
  Gewicht* other = w.looseRow.Get(0);
  game.OnLButtonDown(static_cast<int>(other->position.x), static_cast<int>(other->position.y) - 20);
  EXPECT_TRUE(w.rightPan.Contains(fruit));
  EXPECT_EQ(w.Held(), other);
}

TEST_F(WaageTest, NeverSolvedWhileAFruitIsHeldOrLoose) {
  auto play = PlayWith(0, {100}, {-100}, {});
  Game& game = *play;
  Gewicht* fruit = game.waage->leftPan.Get(0);
  Drag(game, fruit, 0, 300, false);
  game.waage->rightPan.Clear();  // level pans (0 = 0) while it is held
  Step(game, 1.0 / 60, 60);
  EXPECT_EQ(game.rightCount + game.wrongCount, 0);
  game.OnLButtonUp(0, 0);  // put back into the row: level, but loose
  Step(game, 1.0 / 60, 60);
  ASSERT_TRUE(game.waage->looseRow.Contains(fruit));
  EXPECT_EQ(game.rightCount + game.wrongCount, 0);
}

TEST_F(WaageTest, TimeLimitJudgingFeedbackAndStalls) {
  // Level exactly when the time runs out, the last fruit still in the hand
  // over the right pan: it is put down, right with the whole limit.
  auto play = PlayWith(2, {-250}, {}, {250});
  Game& game = *play;
  Gewicht* fruit = game.waage->looseRow.Get(0);
  Drag(game, fruit, 100, -250, false);
  game.timeLeft = 0.25;
  Step(game, 0.25);
  EXPECT_TRUE(game.waage->rightPan.Contains(fruit));
  EXPECT_EQ(game.rightCount, 1);
  EXPECT_DOUBLE_EQ(game.timeUsedSum, 40.0);
  EXPECT_TRUE(game.lastTaskRight);
  // During the feedback the mouse does nothing and the clocks stand.
  const double playTime = game.playTime;
  game.OnLButtonDown(static_cast<int>(fruit->position.x), static_cast<int>(fruit->position.y) - 20);
  EXPECT_EQ(game.waage->Held(), nullptr);
  Step(game, 1.0, 2);
  EXPECT_DOUBLE_EQ(game.playTime, playTime);
  EXPECT_GE(game.waage->looseRow.Count(), 10);  // the next task
  EXPECT_DOUBLE_EQ(game.timeLeft, 40.0);
  // A stall of half a minute in one frame does not use up the task.
  Step(game, 30.0);
  EXPECT_DOUBLE_EQ(game.timeLeft, 39.5);
  EXPECT_DOUBLE_EQ(game.playTime, playTime + 0.5);
  // Not level when the time is up: wrong.
  while (game.feedbackSeconds <= 0.0) Step(game, 0.1);
  EXPECT_EQ(game.wrongCount, 1);
  EXPECT_FALSE(game.lastTaskRight);
  EXPECT_DOUBLE_EQ(game.timeUsedSum, 40.0);
}

// The same glide at every frame rate: never past its target, nearly the same
// share of the way in the same time, a long frame lands exactly.
TEST_F(WaageTest, PiecesGlideSmoothlyAtThirtySixtyAndHundredFortyFourFramesPerSecond) {
  for (int rate : {30, 60, 144}) {
    const double frame = 1.0 / rate;
    auto play = PlayWith(0, {}, {-250}, {100});
    Waage& w = *play->waage;
    Gewicht* fruit = w.looseRow.Get(0);
    fruit->position.x = 900;  // far from its place in the row
    fruit->position.y = 0;
    const float tx = fruit->position.targetX, ty = fruit->position.targetY;
    double last = fruit->position.DistanceToTarget(), lastTilt = 0;
    for (int i = 1; i * frame <= 2.0 + 1e-9; ++i) {
      Step(w, frame);
      ASSERT_LT(fruit->position.DistanceToTarget(), last + 1e-6);
      ASSERT_TRUE(fruit->position.x >= tx && fruit->position.y <= ty);
      ASSERT_TRUE(w.tilt >= lastTilt && w.tilt <= 30.0);
      last = fruit->position.DistanceToTarget();
      lastTilt = w.tilt;
      if (i * frame > 0.5 - 1e-9 && i * frame < 0.5 + frame - 1e-9) {
        const double share = last / std::hypot(900.0 - tx, ty);  // e^-2.5 = 0.082 when continuous
        EXPECT_TRUE(share > 0.06 && share < 0.09) << rate << ": " << share;
      }
    }
    EXPECT_LT(last, 0.1) << rate;
    EXPECT_GT(w.tilt, 25.0) << rate;
    // A carried fruit follows the mouse.
    const int x = static_cast<int>(fruit->position.x), y = static_cast<int>(fruit->position.y) - 20;
    play->OnLButtonDown(x, y);
    play->OnMouseMove(x - 300, y - 250);
    Step(w, frame, rate);
    EXPECT_LT(fruit->position.DistanceToTarget(), 3.8) << rate;  // 1 % of the way after 1 s
    play->OnMouseMove(x - 200, y - 250);
    Step(w, 1.5);
    EXPECT_FLOAT_EQ(fruit->position.x, fruit->position.targetX);
    EXPECT_DOUBLE_EQ(w.tilt, w.targetTilt);
  }
}

TEST_F(WaageTest, GradeAndResultText) {
  Game game(1);
  game.DisableRecording();
  game.rightCount = 5;
  game.wrongCount = 2;
  game.timeUsedSum = 140.0;
  game.playTime = 185.0;
  game.SetState(GAME_STATE_ENDED);
  const double grade = 1.0 + 5.0 * 2 / 7 + 185.0 / 90;
  EXPECT_EQ(game.GetResultText(),
            FormatText(GetLangText(37), {3, 5}) + "\n" + FormatText(GetLangText(30), {5}) + "\n" +
                FormatText(GetLangText(31), {2}) + "\n" + FormatText(GetLangText(41), {20.0}) +
                "\n\n" + FormatText(GetLangText(50), {grade}));
  EXPECT_DOUBLE_EQ(game.GetGrade(), grade);
  game.SetState(GAME_STATE_QUIT);  // ten times the wrong share, t / 60
  game.playTime = 30.0;
  game.ComputeGrade();
  EXPECT_DOUBLE_EQ(game.GetGrade(), 1.0 + 10.0 * 2 / 7 + 0.5);
  game.rightCount = game.wrongCount = 0;
  game.ComputeGrade();
  EXPECT_DOUBLE_EQ(game.GetGrade(), 6.0);
}

TEST_F(WaageTest, AutoplayerWinsEveryDifficultyAndTheSaveFileRecordsIt) {
  for (int d = 0; d < 3; ++d) {
    std::filesystem::remove("waage_fruits.sav");
    double grade = 0;
    {
      CrtSrand(static_cast<uint32_t>(1000 + d));
      Game game(d);
      EXPECT_EQ(game.GetState(), GAME_STATE_RUNNING);  // the host reads it in the countdown
      game.OnLButtonDown(512, 576);  // before the start: ignored
      EXPECT_EQ(game.waage->Held(), nullptr);
      GameDriver driver(game);
      AutoplayWin_DG_Waage_Game_Fruechte(driver);
      ASSERT_FALSE(HasFatalFailure());
      ASSERT_EQ(game.GetState(), GAME_STATE_ENDED);
      EXPECT_EQ(game.rightCount, game.taskCount);
      EXPECT_NEAR(game.timeUsedSum, game.playTime, 1e-6);
      for (PtrList<Gewicht>* pan : {&game.waage->leftPan, &game.waage->rightPan})
        for (int i = 0; i < pan->Count(); ++i) {
          const Gewicht* fruit = pan->Get(i);  // after the end a press takes nothing
          game.OnLButtonDown(static_cast<int>(fruit->position.x), static_cast<int>(fruit->position.y) - 20);
          EXPECT_EQ(game.waage->Held(), nullptr);
        }
      game.ComputeGrade();
      grade = game.GetGrade();
      EXPECT_DOUBLE_EQ(grade, 1.0 + game.playTime / 90.0);
    }
    GameRecord saved;
    ASSERT_TRUE(saved.LoadFile("waage_fruits.sav"));
    EXPECT_EQ(saved.playCount, 1);
    EXPECT_NEAR(saved.bestGrade, grade, 1e-4);
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
      EXPECT_EQ(game.wrongCount, game.taskCount);
      // Each task runs until its clock passes 0, at most one frame over.
      EXPECT_NEAR(game.playTime, game.taskCount * game.timeLimit, game.taskCount / 60.0 + 1e-6);
      game.ComputeGrade();
      EXPECT_DOUBLE_EQ(game.GetGrade(), 6.0);
    }
    GameRecord saved;
    ASSERT_TRUE(saved.LoadFile("waage_fruits.sav"));
    EXPECT_EQ(saved.playCount, 1);
    EXPECT_DOUBLE_EQ(saved.bestGrade, 6.0);
  }
}

// Through the main menu with the real textures, drawing as the main loop
// does; the screens are saved as pictures when DENKAR_SHOTS_DIR names a folder.
class WaageMenuTest : public testapp::MenuTest<WaageTest> {
 protected:
  Game* Fruit() { return dynamic_cast<Game*>(menu->activeGame); }
};

TEST_F(WaageMenuTest, FromTheMenuThroughAWonPlayToTheTopTen) {
  ASSERT_TRUE(driver->StartFromMenu(13, 1));
  ASSERT_NE(Fruit(), nullptr);
  driver->SkipCountdown();
  AutoplayWin_DG_Waage_Game_Fruechte(*driver);
  ASSERT_FALSE(HasFatalFailure());
  EXPECT_EQ(Fruit()->rightCount, 7);
  const double playTime = Fruit()->playTime;
  EXPECT_NEAR(EnterTopTenName("Obst", "waage_fruits.sav"), 1.0 + playTime / 90.0, 1e-4);
  EXPECT_EQ(app->statistics->playCount, 1);
}

// Each screen at each difficulty in both languages: a task, a fruit being
// carried, a solved task, a task run out of time, the result page.
TEST_F(WaageMenuTest, ScreensAtEveryDifficultyInBothLanguages) {
  for (int language = 0; language < 2; ++language) {
    testapp::UseLanguage(language);
    for (int d = 0; d < 3; ++d) {
      const std::string tag =
          std::string("waage_") + (language ? "en" : "de") + "_d" + std::to_string(d) + "_";
      menu->difficulty = d;
      CrtSrand(static_cast<uint32_t>(77 + d));
      menu->StartGame(13);
      driver->SkipCountdown();
      driver->Wait(2.0);
      Shot(tag + "1_task.png");
      Gewicht* fruit = Fruit()->waage->looseRow.Get(0);
      const int x = static_cast<int>(fruit->position.x), y = static_cast<int>(fruit->position.y) - 25;
      driver->Down(x, y);
      driver->Move(x + 100, y - 180);
      driver->Wait(0.3);
      Shot(tag + "2_carried.png");
      driver->Up(x + 100, y - 180);
      AutoplayWaageTask(*driver);
      ASSERT_FALSE(HasFatalFailure());
      driver->Wait(1.9);
      EXPECT_LT(std::abs(Fruit()->waage->tilt), 4.0);  // coming level during the pause
      Shot(tag + "3_solved.png");
      ASSERT_TRUE(driver->WaitUntil([&] { return Fruit()->wrongCount == 1; }, 70.0));
      driver->Wait(1.0);
      Shot(tag + "4_timeout.png");
      AutoplayWin_DG_Waage_Game_Fruechte(*driver);
      ASSERT_FALSE(HasFatalFailure());
      ASSERT_TRUE(driver->WaitUntil([&] { return menu->currentPage == 55; }, 3.0));
      Shot(tag + "5_result.png");
      if (menu->gameNameEntry) driver->Type("Test");
      ASSERT_TRUE(driver->ClickElement(56));
      ASSERT_EQ(menu->activeGame, nullptr);
    }
  }
}

}  // namespace
