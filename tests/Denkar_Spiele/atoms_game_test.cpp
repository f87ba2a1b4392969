// The hidden atoms box: set-up, the ray rules, traces on many random boards,
// the easy difficulty's re-check, the check and its reveal, grading, and
// whole plays won through the autoplayer (alone and from the main menu) or
// failed.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "Denkar_Spiele/DG_Ordo.h"
#include "Denkar_Spiele/autoplay_DG_Ordo.h"
#include "data/language.h"
#include "framework/game_record.h"
#include "framework/stats_record.h"
#include "menu/main_menu.h"
#include "gfx/font.h"
#include "platform/crt_rand.h"
#include "support/menu_play.h"
#include "support/play_driver.h"
#include "support/test_app.h"
#include "util/app_context.h"
#include "util/format_text.h"

namespace {

class AtomsTest : public testapp::AppTest {
 protected:
  const char* FolderPrefix() const override { return "denkar_atoms"; }
  // A started box of `difficulty` holding exactly the atoms given.
  static std::unique_ptr<DG_Ordo> Box(int difficulty, std::initializer_list<OrdoPoint> atoms) {
    auto game = std::make_unique<DG_Ordo>(difficulty);
    game->DisableRecording();
    for (auto& column : game->cells)
      for (OrdoCell& cell : column) cell.atom = false;
    for (OrdoPoint p : atoms) game->cells[p.column][p.row].atom = true;
    game->atomCount = static_cast<int>(atoms.size());
    game->Start();
    return game;
  }
  static void Press(DG_Ordo& game, float x, float y) {
    game.OnLButtonDown(static_cast<int>(x), static_cast<int>(y));
    game.OnLButtonUp(static_cast<int>(x), static_cast<int>(y));
  }
  static void PressRay(DG_Ordo& game, int k) { Press(game, game.rays[k].x, game.rays[k].y); }
  static void PressCell(DG_Ordo& game, int i, int j) {
    Press(game, game.cells[i][j].x, game.cells[i][j].y);
  }
  static void PressCheck(DG_Ordo& game) {
    const RECT b = game.CheckButton();
    Press(game, (b.left + b.right) / 2.0f, (b.top + b.bottom) / 2.0f);
  }
  static int AtomsOnBoard(const DG_Ordo& game) {
    int atoms = 0;
    for (const auto& column : game.cells)
      for (const OrdoCell& cell : column) atoms += cell.atom;
    return atoms;
  }
};

TEST_F(AtomsTest, SetUpByDifficulty) {
  const struct {
    int difficulty, atoms;
    bool immediate;
  } cases[] = {{0, 5, true}, {1, 5, false}, {2, 8, false}};
  for (const auto& c : cases) {
    for (unsigned seed = 1; seed <= 5; ++seed) {
      CrtSrand(seed);
      DG_Ordo game(c.difficulty);
      game.DisableRecording();
      EXPECT_EQ(game.atomCount, c.atoms);
      EXPECT_EQ(game.immediateCheck, c.immediate);
      EXPECT_EQ(AtomsOnBoard(game), c.atoms);
      // Entry points: left rows 0..7, right, top columns 0..7, bottom.
      for (int k = 0; k < ORDO_RAY_COUNT; ++k) {
        const OrdoRay& ray = game.rays[k];
        EXPECT_EQ(game.RayAt(ray.Entry()), &ray);
        EXPECT_FALSE(ray.fired || ray.absorbed || ray.reflected || ray.mismatch);
      }
      EXPECT_EQ(game.rays[11].Entry(), (OrdoPoint{8, 3}));
      EXPECT_EQ(game.rays[27].Entry(), (OrdoPoint{3, 8}));
    }
  }
}

TEST_F(AtomsTest, AtomPlacementEndsEvenWhenTheDrawsKeepRepeating) {
  auto game = Box(1, {});
  int draws = 0;
  game->PlaceAtoms(5, [&] {
    ++draws;
    return 8;  // always cell (0, 0)
  });
  EXPECT_EQ(AtomsOnBoard(*game), 5);
  for (int j = 0; j < 5; ++j) EXPECT_TRUE(game->cells[0][j].atom);
  EXPECT_LE(draws, 2 * 10000);
}

TEST_F(AtomsTest, RayRules) {
  {  // An atom diagonally beside the entry reflects the ray at once.
    auto game = Box(1, {{0, 1}, {1, 0}});
    PressRay(*game, 0);
    const OrdoRay& ray = game->rays[0];
    EXPECT_TRUE(ray.fired && ray.reflected && !ray.absorbed);
    EXPECT_EQ(ray.reflector[0], 0);
    EXPECT_EQ(ray.reflector[1], 1);
    EXPECT_EQ(ray.steps, 0);
    EXPECT_EQ(ray.exitRay, nullptr);
    PressRay(*game, 16);  // from the top, column 0: the atom at (1, 0)
    EXPECT_TRUE(game->rays[16].reflected);
    EXPECT_EQ(game->rays[16].reflector[0], 1);
  }
  {  // An atom straight ahead absorbs it, before any diagonal atom counts.
    auto game = Box(1, {{0, 0}, {0, 1}});
    PressRay(*game, 0);
    EXPECT_TRUE(game->rays[0].absorbed && !game->rays[0].reflected);
    EXPECT_EQ(game->rays[0].absorber[0], 0);
    EXPECT_EQ(game->rays[0].absorber[1], 0);
    EXPECT_EQ(game->rays[0].exitRay, nullptr);
  }
  {  // An empty row: straight through, both ends in the first colour.
    auto game = Box(1, {{5, 5}});
    PressRay(*game, 0);
    EXPECT_EQ(game->rays[0].exitRay, &game->rays[8]);
    EXPECT_EQ(game->rays[0].steps, 8);
    EXPECT_TRUE(game->rays[8].fired);
    EXPECT_EQ(game->rays[8].colour, DG_Ordo::RayColour(1));
    EXPECT_EQ(game->rays[0].colour, DG_Ordo::RayColour(1));
    EXPECT_EQ(game->rays[8].exit[0], -1);
    EXPECT_EQ(game->rays[8].exit[1], 0);
    // Both ends are fired now: pressing either again does nothing.
    PressRay(*game, 8);
    PressRay(*game, 0);
    EXPECT_EQ(game->rayCounter, 1);
  }
  {  // One atom diagonally ahead turns the ray away: out at the top.
    auto game = Box(1, {{3, 2}});
    PressRay(*game, 1);
    EXPECT_EQ(game->rays[1].exitRay, &game->rays[16 + 2]);
    EXPECT_EQ(game->rays[1].exit[0], 2);
    EXPECT_EQ(game->rays[1].exit[1], -1);
    EXPECT_EQ(game->rays[18].colour, game->rays[1].colour);
    // The same path backwards: in at the top, out at the left.
    const OrdoTrace back = DG_Ordo::Trace({2, -1}, [&](int c, int r) { return game->HasAtom(c, r); });
    EXPECT_EQ(back.outcome, OrdoTrace::Exit);
    EXPECT_EQ(back.at, (OrdoPoint{-1, 1}));
  }
  {  // Atoms on both diagonals turn it back through its own entry.
    auto game = Box(1, {{1, 0}, {1, 2}});
    PressRay(*game, 1);
    const OrdoRay& ray = game->rays[1];
    EXPECT_FALSE(ray.absorbed || ray.reflected);
    EXPECT_EQ(ray.exitRay, &ray);
    EXPECT_EQ(ray.exit[0], -1);
    EXPECT_EQ(ray.exit[1], 1);
    EXPECT_EQ(ray.colour, DG_Ordo::RayColour(1));
  }
}

TEST_F(AtomsTest, EveryTraceEndsOnEveryBoard) {
  // Thousands of boards of every difficulty, and the same boards with
  // random marks as the easy difficulty's re-check traces them.
  for (int difficulty = 0; difficulty < 3; ++difficulty) {
    DG_Ordo game(difficulty);
    game.DisableRecording();
    game.Start();
    for (unsigned seed = 1; seed <= 2000; ++seed) {
      // A new box as the game places it, every entry unfired.
      CrtSrand(seed * 2654435761u);
      for (auto& column : game.cells)
        for (OrdoCell& cell : column) cell.atom = false;
      game.PlaceAtoms(game.atomCount, [] { return CrtRand(); });
      for (OrdoRay& ray : game.rays) {
        ray.fired = ray.absorbed = ray.reflected = false;
        ray.exitRay = nullptr;
      }
      for (int k = 0; k < ORDO_RAY_COUNT; ++k) game.FireRay(k);
      for (const OrdoRay& ray : game.rays) {
        ASSERT_TRUE(ray.fired);
        ASSERT_LT(ray.steps, 64 * 4);
        if (ray.absorbed) {
          ASSERT_TRUE(game.HasAtom(ray.absorber[0], ray.absorber[1]));
        } else if (ray.reflected) {
          ASSERT_TRUE(game.HasAtom(ray.reflector[0], ray.reflector[1]));
          ASSERT_EQ(ray.steps, 0);
        } else {
          // Out through a real entry point whose own ray comes back here.
          ASSERT_NE(ray.exitRay, nullptr) << "seed " << seed;
          ASSERT_EQ(ray.exitRay->exitRay, &ray);
          ASSERT_FALSE(ray.exitRay->absorbed || ray.exitRay->reflected);
        }
      }
      for (int i = 0; i < ORDO_SIZE; ++i)
        for (int j = 0; j < ORDO_SIZE; ++j) game.cells[i][j].marked = CrtRand() % 4 == 0;
      for (const OrdoRay& ray : game.rays) {
        const OrdoTrace t =
            DG_Ordo::Trace(ray.Entry(), [&](int c, int r) { return game.cells[c][r].marked; });
        ASSERT_LT(t.steps, 64 * 4);
        if (t.outcome == OrdoTrace::Exit) {
          ASSERT_NE(game.RayAt(t.at), nullptr);
        }
      }
    }
  }
}

TEST_F(AtomsTest, EasyDifficultyFlagsRaysTheMarksDoNotExplain) {
  auto easy = Box(0, {{4, 0}, {6, 6}});
  PressRay(*easy, 16 + 4);  // absorbed by (4, 0)
  PressRay(*easy, 2);       // straight through row 2
  EXPECT_TRUE(easy->rays[20].mismatch);  // no mark would absorb it
  EXPECT_FALSE(easy->rays[2].mismatch);
  EXPECT_FALSE(easy->rays[10].mismatch);  // its far end
  PressCell(*easy, 4, 0);
  EXPECT_FALSE(easy->rays[20].mismatch);
  PressCell(*easy, 3, 2);  // a mark in row 2 would absorb the straight ray
  EXPECT_TRUE(easy->rays[2].mismatch);
  EXPECT_TRUE(easy->rays[10].mismatch);
  EXPECT_FALSE(easy->rays[5].mismatch);  // not fired
  PressCell(*easy, 3, 2);
  EXPECT_FALSE(easy->rays[2].mismatch);
  EXPECT_EQ(easy->markedCount, 1);

  auto medium = Box(1, {{4, 0}});
  PressRay(*medium, 16 + 4);
  EXPECT_FALSE(medium->rays[20].mismatch);  // no re-check above the easiest level
}

TEST_F(AtomsTest, RayColoursRepeatAfterSixtyFour) {
  std::set<uint32_t> colours;
  for (int e = 1; e <= 64; ++e) {
    const uint32_t c = DG_Ordo::RayColour(e);
    colours.insert(c);
    EXPECT_EQ(DG_Ordo::RayColour(e + 64), c);
    for (int shift : {0, 8, 16}) {
      const uint32_t channel = (c >> shift) & 0xFF;
      EXPECT_TRUE(channel == 0 || channel == 63 || channel == 127 || channel == 191) << channel;
    }
  }
  EXPECT_EQ(colours.size(), 64u);
  EXPECT_EQ(DG_Ordo::RayColour(1), 0xFF3F0000u);
  EXPECT_EQ(DG_Ordo::RayColour(64), 0xFF000000u);
}

TEST_F(AtomsTest, OneWrongMarkFailsAndTheRevealTakesNoInput) {
  auto game = Box(1, {{1, 1}, {2, 5}, {4, 4}, {6, 2}, {7, 7}});
  GameDriver driver(*game, false);
  driver.Wait(30.0);
  for (OrdoPoint p : {OrdoPoint{1, 1}, {2, 5}, {4, 4}, {6, 2}, {0, 7}}) PressCell(*game, p.column, p.row);
  EXPECT_EQ(game->markedCount, 5);
  PressCheck(*game);
  EXPECT_TRUE(game->Checked());
  EXPECT_FALSE(game->solved);
  EXPECT_DOUBLE_EQ(game->endTimer, 4.0);
  // The answer is shown now: marks, rays and the check take no clicks.
  PressCell(*game, 0, 7);
  PressCell(*game, 7, 7);
  PressRay(*game, 0);
  EXPECT_EQ(game->markedCount, 5);
  EXPECT_FALSE(game->cells[7][7].marked);
  EXPECT_FALSE(game->rays[0].fired);
  driver.Wait(2.0);
  PressCheck(*game);
  EXPECT_FALSE(game->solved);
  EXPECT_NEAR(game->endTimer, 2.0, 1e-9);
  driver.Wait(2.0 + 1.0 / 60);
  EXPECT_EQ(game->GetState(), GAME_STATE_ENDED_OTHER);
  PressCheck(*game);
  driver.Wait(1.0);
  EXPECT_EQ(game->GetState(), GAME_STATE_ENDED_OTHER);
  game->ComputeGrade();
  // Four of five found: 1 + t / 60 + 5 / 5; the clock ran through the reveal.
  EXPECT_NEAR(game->playTime, 34.0, 0.05);
  EXPECT_NEAR(game->GetGrade(), 1.0 + game->playTime / 60 + 1.0, 1e-12);
  const int t = static_cast<int>(game->playTime);
  EXPECT_STREQ(game->GetResultText(), (FormatText(GetLangText(22), {t / 60, t % 60}) + "\n\n" +
                                       FormatText(GetLangText(50), {game->GetGrade()})).c_str());
}

TEST_F(AtomsTest, WonAtEveryDifficultyThenFailedAreAllRecorded) {
  double sum = 0;
  for (int difficulty = 0; difficulty < 3; ++difficulty) {
    DG_Ordo game(difficulty);
    GameDriver driver(game);
    driver.Wait(6.0);
    AutoplayWin_DG_Ordo(driver);
    EXPECT_EQ(game.markedCount, game.atomCount);
    EXPECT_GE(game.rayCounter, 1);
    game.ComputeGrade();
    EXPECT_NEAR(game.GetGrade(), 1.0 + game.playTime / 120, 1e-12);
    EXPECT_NEAR(game.playTime, 6.0 + 2.0, 0.05);  // the reveal of a solved box is 2 s
    sum += game.GetGrade();
  }
  {
    DG_Ordo game(2);
    GameDriver driver(game);
    driver.Wait(60.0);
    PressCheck(game);  // nothing marked
    driver.Wait(4.1);
    ASSERT_EQ(game.GetState(), GAME_STATE_ENDED_OTHER);
    game.ComputeGrade();
    EXPECT_DOUBLE_EQ(game.GetGrade(), 6.0);
    sum += 6.0;
  }
  GameRecord saved;
  ASSERT_TRUE(saved.LoadFile("thinkbox.sav"));
  EXPECT_EQ(saved.playCount, 4);
  EXPECT_NEAR(saved.gradeSum, sum, 1e-4);
  EXPECT_DOUBLE_EQ(saved.worstGrade, 6.0);
  EXPECT_EQ(app->statistics->playCount, 4);
}

TEST_F(AtomsTest, PlayedFromTheMenuToTheTopTen) {
  MainMenu menu;
  MenuDriver driver(menu);
  ASSERT_TRUE(driver.StartFromMenu(7, 0));
  auto* game = dynamic_cast<DG_Ordo*>(driver.CurrentGame());
  ASSERT_NE(game, nullptr);
  EXPECT_TRUE(game->immediateCheck);
  driver.Click(static_cast<int>(game->rays[0].x), static_cast<int>(game->rays[0].y));
  EXPECT_EQ(game->rayCounter, 0);  // nothing during the countdown
  driver.SkipCountdown();
  AutoplayWin_DG_Ordo(driver);
  const double playTime = game->GetPlayTime();
  ASSERT_TRUE(driver.LeaveResultPage("Ole"));
  GameRecord saved;
  ASSERT_TRUE(saved.LoadFile("thinkbox.sav"));
  EXPECT_EQ(saved.playCount, 1);
  ASSERT_EQ(saved.Entries().Count(), 1);
  EXPECT_STREQ(saved.Entries().Get(0)->name, "Ole");
  EXPECT_NEAR(saved.Entries().Get(0)->grade, 1.0 + playTime / 120, 1e-4);
}

TEST_F(AtomsTest, OwnTextsFitTheirBoxesInBothLanguages) {
  for (int language = 0; language < 2; ++language) {
    testapp::UseLanguage(language);
    DG_Ordo game(2);
    game.DisableRecording();
    // The instructions beside the picture, the caption in its button, the
    // counts line in its box.
    int width = 0, height = 0;
    game.descriptionFont->MeasureText(game.GetDescriptionText(), RECT{0, 0, 380, 480},
                                      DT_WORDBREAK, &width, &height);
    EXPECT_LE(height, 480) << "language " << language;
    EXPECT_LE(width, 380);
    game.font->MeasureText(GetLangText(133), RECT{0, 0, 200, 50}, 0, &width, &height);
    EXPECT_LE(width, 190);
    const std::string counts = FormatText(GetLangText(132), {8, 64});
    game.font->MeasureText(counts.c_str(), RECT{0, 0, 500, 50}, 0, &width, &height);
    EXPECT_LE(width, 500);
  }
}

class AtomsScreens : public testapp::MenuPlayTest {
 protected:
  const char* FolderPrefix() const override { return "denkar_atoms_screens"; }
};

// Every screen of a play at every difficulty in both languages, drawn as the
// program draws it (and saved for looking at when DENKAR_SHOTS_DIR is set):
// rays from every side and marks, one of them wrong, the instructions, the
// check and its reveal.
TEST_F(AtomsScreens, EveryScreenAtEveryDifficultyInBothLanguages) {
  ShootEveryScreen("atoms", 7, [this](const std::string& stem) {
    auto* game = dynamic_cast<DG_Ordo*>(menu->activeGame);
    ASSERT_NE(game, nullptr);
    const auto click = [this](float x, float y) {
      driver->Click(static_cast<int>(x), static_cast<int>(y));
    };
    Shoot(stem + "2_task.png");
    for (int k = 0; k < ORDO_RAY_COUNT; k += 3) click(game->rays[k].x, game->rays[k].y);
    int marks = 0;
    for (int i = 0; i < ORDO_SIZE; ++i)
      for (int j = 0; j < ORDO_SIZE; ++j)
        if (game->cells[i][j].atom && marks < 3) {
          click(game->cells[i][j].x, game->cells[i][j].y);
          ++marks;
        }
    for (int i = 0; i < ORDO_SIZE; ++i)
      if (!game->cells[i][i].atom && marks < 4) {
        click(game->cells[i][i].x, game->cells[i][i].y);
        ++marks;
      }
    Shoot(stem + "3_play.png");
    driver->Key('H');
    ASSERT_EQ(menu->currentPage, 50);
    Shoot(stem + "4_help.png");
    driver->Key('H');
    const RECT button = game->CheckButton();
    click((button.left + button.right) / 2.0f, (button.top + button.bottom) / 2.0f);
    ASSERT_TRUE(game->Checked());
    driver->Wait(1.0);
    Shoot(stem + "5_reveal.png");
    ASSERT_TRUE(driver->WaitUntil([&] { return game->GetState() == GAME_STATE_ENDED_OTHER; }, 5.0));
  });
}

}  // namespace
