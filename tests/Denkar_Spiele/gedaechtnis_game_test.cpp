// The lamp sequence game: the lamps, the timing of a showing, repeating the
// sequence, losing and winning, grading, and plays to the end on its own and
// through the main menu (with pictures of every screen).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "Denkar_Spiele/DG_Gedaechtnis.h"
#include "Denkar_Spiele/autoplay_gedaechtnis.h"
#include "data/language.h"
#include "framework/game_record.h"
#include "platform/crt_rand.h"
#include "shell/shell.h"
#include "support/menu_play.h"
#include "support/play_driver.h"
#include "support/test_app.h"
#include "util/app_context.h"
#include "util/format_text.h"

namespace {

constexpr int LAMPS_LIST_INDEX = 4;
constexpr int LAMP_COUNT[3] = {20, 30, 40};
constexpr double LAMP_SIZE[3] = {40.0, 30.0, 20.0};
const char* const SAVE_FILE = "gedächtnis.sav";  // UTF-8 on disk

// A lamp that is not the one of sequence step `step`.
const Lamp* OtherLamp(DG_Gedächtnis& game, int step) {
  const Lamp* right = game.LampOfStep(step);
  return game.lamps.Get(0) == right ? game.lamps.Get(1) : game.lamps.Get(0);
}

class LampsTest : public testapp::AppTest {
 protected:
  const char* FolderPrefix() const override { return "denkar_lamps"; }
  static void ClickLamp(DG_Gedächtnis& game, const Lamp* lamp) {
    game.OnLButtonDown(static_cast<int>(lamp->centreX), static_cast<int>(lamp->centreY));
  }
  void Tick(DG_Gedächtnis& game, double seconds) {
    app->frameTime = app->realFrameTime = seconds;
    game.Update();
  }
  void WaitForTurn(DG_Gedächtnis& game) {
    for (int i = 0; i < 10000 && game.showing; ++i) Tick(game, 0.125);
  }
};

TEST_F(LampsTest, LampsAreScatteredWithoutOverlap) {
  for (int d = 0; d < 3; ++d) {
    for (uint32_t seed = 0; seed < 30; ++seed) {
      CrtSrand(seed);
      DG_Gedächtnis game(d);
      game.DisableRecording();
      ASSERT_EQ(game.lamps.Count(), LAMP_COUNT[d]);
      EXPECT_EQ(game.lampCount, LAMP_COUNT[d]);
      const double s = LAMP_SIZE[d];
      const int style = game.lamps.Get(0)->style;
      EXPECT_GE(style, 0);
      EXPECT_LE(style, 11);
      for (int i = 0; i < game.lamps.Count(); ++i) {
        const Lamp* lamp = game.lamps.Get(i);
        EXPECT_EQ(lamp->style, style);
        EXPECT_DOUBLE_EQ(lamp->size, s);
        EXPECT_FALSE(lamp->Lit());
        EXPECT_GE(lamp->centreX, s + 100);
        EXPECT_LT(lamp->centreX, 1024 - 100 - s);
        EXPECT_GE(lamp->centreY, s + 100);
        EXPECT_LT(lamp->centreY, 768 - 100 - s);
        for (int j = 0; j < i; ++j) {
          const Lamp* other = game.lamps.Get(j);
          EXPECT_GE(lamp->DistanceTo(other->centreX, other->centreY), s);
        }
      }
      ASSERT_EQ(game.SequenceLength(), 4);
      for (int step = 0; step < 4; ++step) {
        EXPECT_GE(*game.sequence.Get(step), 0);
        EXPECT_LT(*game.sequence.Get(step), LAMP_COUNT[d]);
      }
      EXPECT_TRUE(game.showing);
      EXPECT_EQ(game.position, 0);
    }
  }
  // A screen too small for the lamps still gets all of them, in bounded time.
  app->screenWidth = app->screenHeight = 250;
  DG_Gedächtnis game(0);
  game.DisableRecording();
  EXPECT_EQ(game.lamps.Count(), 20);
}

// Each lamp of the first showing is lit 2.0 s, one step every 2.5 s, the
// player's turn 10 s after the first lamp; a lamp that comes twice in a row
// goes dark between its two steps.
TEST_F(LampsTest, FirstShowingTiming) {
  for (int d = 0; d < 3; ++d) {
    CrtSrand(100 + d);
    DG_Gedächtnis game(d);
    game.DisableRecording();
    *game.sequence.Get(2) = *game.sequence.Get(1);  // a repeat
    // The other steps differ from their neighbours.
    *game.sequence.Get(0) = (*game.sequence.Get(1) + 1) % game.lampCount;
    *game.sequence.Get(3) = (*game.sequence.Get(2) + 2) % game.lampCount;
    Tick(game, 0.125);  // before the start nothing happens
    EXPECT_EQ(game.position, 0);
    game.Start();
    // Frames of 1/8 s: a step is 20 frames, a lit lamp 16.
    for (int frame = 1; frame <= 80; ++frame) {
      Tick(game, 0.125);
      const int step = (frame - 1) / 20;
      const bool lit = (frame - 1) % 20 < 16;
      for (int i = 0; i < game.lamps.Count(); ++i) {
        const bool expected = lit && i == *game.sequence.Get(step);
        ASSERT_EQ(game.lamps.Get(i)->Lit(), expected) << "frame " << frame << " lamp " << i;
      }
      // Clicks during the showing do nothing.
      ClickLamp(game, game.LampOfStep(0));
      ASSERT_TRUE(game.showing);
      ASSERT_EQ(game.position, step + 1);
      ASSERT_EQ(game.GetState(), GAME_STATE_RUNNING);
    }
    EXPECT_DOUBLE_EQ(game.playTime, 0.0);  // the showing is no answering time
    Tick(game, 0.125);
    EXPECT_FALSE(game.showing);
    EXPECT_EQ(game.position, 0);
    Tick(game, 0.5);
    EXPECT_DOUBLE_EQ(game.playTime, 0.625);
  }
}

TEST_F(LampsTest, RepeatingLosingAndGrading) {
  CrtSrand(7);
  DG_Gedächtnis game(0);
  game.DisableRecording();
  game.Start();
  WaitForTurn(game);
  game.OnLButtonDown(1, 1);  // beside every lamp
  EXPECT_EQ(game.position, 0);
  for (int step = 0; step < 4; ++step) {
    ClickLamp(game, game.LampOfStep(step));
    EXPECT_TRUE(game.LampOfStep(step)->Lit());  // a clicked lamp lights up
  }
  // The longer sequence is shown after a second, each step 10 / 5 s.
  EXPECT_EQ(game.SequenceLength(), 5);
  EXPECT_TRUE(game.showing);
  EXPECT_EQ(game.position, 0);
  EXPECT_DOUBLE_EQ(game.stepTimer, 1.0);
  Tick(game, 1.0);
  EXPECT_DOUBLE_EQ(game.stepTimer, 2.0);
  EXPECT_DOUBLE_EQ(game.LampOfStep(0)->litTime, 1.6);
  WaitForTurn(game);
  ClickLamp(game, game.LampOfStep(0));
  Tick(game, 3.0);
  // A wrong lamp ends the play at once; later clicks change nothing.
  const Lamp* wrong = OtherLamp(game, 1);
  ClickLamp(game, wrong);
  EXPECT_EQ(game.GetState(), GAME_STATE_ENDED_OTHER);
  EXPECT_TRUE(wrong->Lit());
  const double litBefore = game.LampOfStep(1)->litTime;
  ClickLamp(game, game.LampOfStep(1));
  EXPECT_EQ(game.position, 1);
  EXPECT_DOUBLE_EQ(game.LampOfStep(1)->litTime, litBefore);
  const double playTime = game.playTime;
  EXPECT_GE(playTime, 3.0);
  Tick(game, 2.0);  // the clock stands after the end
  EXPECT_DOUBLE_EQ(game.playTime, playTime);
  game.ComputeGrade();
  EXPECT_DOUBLE_EQ(game.GetGrade(), 1.0 + 5.0 * (1.0 - 5.0 / 20) + playTime / 45);
  const std::string expected = FormatText(GetLangText(22), {0, 3}) + "\n" +
                               FormatText(GetLangText(36), {4}) + "\n\n" +
                               FormatText(GetLangText(50), {game.GetGrade()});
  EXPECT_EQ(game.GetResultText(), expected);
  EXPECT_STREQ(game.GetResultTitle(), GetLangText(18));
  EXPECT_STREQ(game.GetDescriptionText(), GetLangText(67));
  EXPECT_NE(game.GetStatisticsText(), nullptr);

  // Lost at the first sequence with 20 lamps: at least 5.0.
  DG_Gedächtnis first(0);
  first.DisableRecording();
  first.Start();
  WaitForTurn(first);
  ClickLamp(first, OtherLamp(first, 0));
  first.ComputeGrade();
  EXPECT_GE(first.GetGrade(), 5.0);
  EXPECT_NE(std::string(first.GetResultText()).find(FormatText(GetLangText(36), {3})),
            std::string::npos);
}

TEST_F(LampsTest, AutoplayWinsAtEveryDifficultyAndTheSaveFileCountsThePlays) {
  for (int d = 0; d < 3; ++d) {
    DG_Gedächtnis game(d);
    GameDriver driver(game);
    AutoplayWin_DG_Gedaechtnis(driver);
    ASSERT_EQ(game.GetState(), GAME_STATE_ENDED);
    EXPECT_EQ(game.SequenceLength(), LAMP_COUNT[d]);
    game.ComputeGrade();
    EXPECT_NEAR(game.GetGrade(), 1.0 + game.playTime / (LAMP_COUNT[d] + 40), 1e-12);
    EXPECT_NE(std::string(game.GetResultText()).find(FormatText(GetLangText(38), {})),
              std::string::npos);
  }
  GameRecord saved;
  ASSERT_TRUE(std::filesystem::exists(std::filesystem::u8path(u8"ged\u00e4chtnis.sav")));
  ASSERT_TRUE(saved.LoadFile(SAVE_FILE));
  EXPECT_EQ(saved.playCount, 3);
}

class LampsMenuTest : public testapp::MenuPlayTest {
 protected:
  const char* FolderPrefix() const override { return "denkar_lamps_menu"; }
  DG_Gedächtnis* Game() { return static_cast<DG_Gedächtnis*>(menu->activeGame); }
  void ClickLamp(const Lamp* lamp) {
    driver->Click(static_cast<int>(lamp->centreX), static_cast<int>(lamp->centreY));
  }
};

TEST_F(LampsMenuTest, PlayFromTheMenuToTheTopTen) {
  ASSERT_TRUE(driver->StartFromMenu(LAMPS_LIST_INDEX, 0));
  ASSERT_NE(Game(), nullptr);
  driver->SkipCountdown();
  AutoplayWin_DG_Gedaechtnis(*driver);
  ASSERT_EQ(Game()->GetState(), GAME_STATE_ENDED);
  EXPECT_LT(EnterTopTenName("Eva", SAVE_FILE), 1.5);
}

// A lamp that comes twice in a row, clicked twice quickly, as the window
// delivers it: press, release, double click, release. Both presses count,
// each once.
TEST_F(LampsMenuTest, ALampClickedTwiceQuicklyCountsTwice) {
  ASSERT_TRUE(driver->StartFromMenu(LAMPS_LIST_INDEX, 1));
  DG_Gedächtnis* game = Game();
  *game->sequence.Get(1) = *game->sequence.Get(0);
  *game->sequence.Get(2) = (*game->sequence.Get(0) + 1) % game->lampCount;
  driver->SkipCountdown();
  ASSERT_TRUE(driver->WaitUntil([game] { return !game->showing; }, 12.0));
  const Lamp* lamp = game->LampOfStep(0);
  const LPARAM at = MAKELPARAM(static_cast<int>(lamp->centreX), static_cast<int>(lamp->centreY));
  app->currentControl = menu.get();
  WindowProc(nullptr, WM_MOUSEMOVE, 0, at);
  WindowProc(nullptr, WM_LBUTTONDOWN, 1, at);
  WindowProc(nullptr, WM_LBUTTONUP, 0, at);
  WindowProc(nullptr, WM_LBUTTONDBLCLK, 1, at);
  WindowProc(nullptr, WM_LBUTTONUP, 0, at);
  app->currentControl = nullptr;
  EXPECT_EQ(game->position, 2);
  EXPECT_EQ(game->GetState(), GAME_STATE_RUNNING);
  for (int step = 2; step < 4; ++step) ClickLamp(game->LampOfStep(step));
  EXPECT_EQ(game->SequenceLength(), 5);
  EXPECT_TRUE(game->showing);
}

TEST_F(LampsMenuTest, AWrongLampEndsThePlay) {
  ASSERT_TRUE(driver->StartFromMenu(LAMPS_LIST_INDEX, 2));
  DG_Gedächtnis* game = Game();
  driver->SkipCountdown();
  ASSERT_TRUE(driver->WaitUntil([game] { return !game->showing; }, 12.0));
  ClickLamp(OtherLamp(*game, 0));
  EXPECT_EQ(game->GetState(), GAME_STATE_ENDED_OTHER);
  // Escape in the end wait does not revive the play.
  driver->Key(VK_ESCAPE);
  EXPECT_EQ(game->GetState(), GAME_STATE_ENDED_OTHER);
  driver->Wait(2.1);
  ASSERT_EQ(menu->currentPage, 55);
  EXPECT_GE(game->GetGrade(), 1.0 + 5.0 * (1.0 - 4.0 / 40));
  ConfirmResult("Tom");
  EXPECT_EQ(menu->activeGame, nullptr);
  GameRecord saved;
  ASSERT_TRUE(saved.LoadFile(SAVE_FILE));
  EXPECT_EQ(saved.playCount, 1);
}

TEST_F(LampsMenuTest, ScreensAtEveryDifficultyInBothLanguages) {
  ShootEveryScreen("lamps", LAMPS_LIST_INDEX, [this](const std::string& stem) {
    DG_Gedächtnis* game = Game();
    driver->Wait(3.0);
    Shoot(stem + "2_showing.png");
    ASSERT_TRUE(driver->WaitUntil([game] { return !game->showing; }, 12.0));
    ClickLamp(game->LampOfStep(0));
    Shoot(stem + "3_answering.png");
    ClickLamp(OtherLamp(*game, 1));  // the play is lost
  });
}

}  // namespace
