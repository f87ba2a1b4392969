// The shape picture game: the matching rules of the shape types, the picture
// files of the data file and damaged ones, the pieces per difficulty, the
// mouse and key rules, grading, and whole plays won by the autoplayer, on
// their own and through the main menu, with the save files read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Denkar_Spiele/DG_Bilder_Basteln.h"
#include "Denkar_Spiele/autoplay_bilder_basteln.h"
#include "data/data_file.h"
#include "data/language.h"
#include "framework/gui_element.h"
#include "framework/stats_record.h"
#include "gfx/font.h"
#include "menu/main_menu.h"
#include "platform/crt_rand.h"
#include "support/play_driver.h"
#include "support/test_app.h"
#include "support/test_data_builders.h"
#include "util/app_context.h"
#include "util/format_text.h"

namespace {

ShapePiece Shape(int type, float x, float y, int rotation, double size = 1.0) {
  ShapePiece s;
  s.type = type;
  s.position[0] = x;
  s.position[1] = y;
  s.rotation = rotation;
  s.sizeFactor = size;
  s.scale[0] = s.scale[1] = 1.0f;
  return s;
}

std::string PictureText(int number) {
  return testdata::ReadText(std::string(DENKAR_SOURCE_DIR "/assets/pictures/bb_") + std::to_string(number));
}

TEST(ShapePieceTest, MatchingFollowsTheSymmetryOfEachType) {
  const struct {
    int type;
    std::vector<int> fit, misfit;
  } cases[] = {
      {0, {0, 90, 180, 270}, {15, 45, 135}},   // square
      {1, {0, 15, 45, 195, 345}, {}},          // circle
      {2, {0, 120, 240}, {60, 90, 180, 300}},  // triangle
      {3, {0, 180}, {90, 270, 45}},            // bar
      {4, {0, 30, 275}, {}},                   // ring
  };
  for (const auto& c : cases) {
    for (int from : {0, 330}) {  // the same rule from another starting angle
      const ShapePiece target = Shape(c.type, 500, 400, from);
      for (int r : c.fit) EXPECT_TRUE(Shape(c.type, 500, 400, (from + r) % 360).Matches(target)) << c.type << r;
      for (int r : c.misfit)
        EXPECT_FALSE(Shape(c.type, 500, 400, (from + r) % 360).Matches(target)) << c.type << r;
    }
  }
  const ShapePiece target = Shape(0, 500, 400, 90, 1.2);
  EXPECT_TRUE(Shape(0, 506, 408, 0, 1.2).Matches(target));  // 10 pixels away
  EXPECT_FALSE(Shape(0, 506, 408.5f, 0, 1.2).Matches(target));
  EXPECT_TRUE(Shape(0, 500, 400, 0, 1.25).Matches(target));
  EXPECT_TRUE(Shape(0, 500, 400, 0, 1.15).Matches(target));
  EXPECT_FALSE(Shape(0, 500, 400, 0, 1.3).Matches(target));
  EXPECT_FALSE(Shape(3, 500, 400, 90, 1.2).Matches(target));  // another form
  ShapePiece flat = Shape(2, 500, 400, 0);                    // a triangle stretched otherwise
  flat.scale[1] = 0.5f;
  EXPECT_FALSE(flat.Matches(Shape(2, 500, 400, 0)));
  // Grabbed within the square of its size, edges included; turned within
  // 0 ... 359 and sized within 0.4 ... 2.0.
  ShapePiece p = Shape(1, 200, 300, 350, 0.6);
  EXPECT_TRUE(p.Contains(230, 270));
  EXPECT_FALSE(p.Contains(230.5f, 300));
  p.Turn(15);
  EXPECT_EQ(p.rotation, 5);
  p.Turn(-30);
  EXPECT_EQ(p.rotation, 335);
  for (int i = 0; i < 30; ++i) p.Resize(SHAPE_SIZE_STEP);
  EXPECT_DOUBLE_EQ(p.sizeFactor, 2.0);
  for (int i = 0; i < 30; ++i) p.Resize(-SHAPE_SIZE_STEP);
  EXPECT_DOUBLE_EQ(p.sizeFactor, 0.4);
}

TEST(ShapePictureTest, EveryPictureOfTheDataFileCanBeBuilt) {
  FILE* data = OpenDataFile(DENKAR_RUN_DIR "/sport.gob");
  ASSERT_NE(data, nullptr);
  for (int n = 0; n < SHAPE_PICTURE_COUNT; ++n) {
    SCOPED_TRACE("bb_" + std::to_string(n));
    ShapePicture picture;
    ASSERT_TRUE(LoadShapePicture(data, n, &picture));
    EXPECT_GE(picture.targets.size(), 4u);
    for (const ShapePiece& t : picture.targets) {
      // Reachable with the keys: sizes in tenths, angles in 15-degree steps.
      EXPECT_NEAR(t.sizeFactor * 10, std::round(t.sizeFactor * 10), 1e-9);
      EXPECT_EQ(t.rotation % SHAPE_TURN_STEP, 0);
      EXPECT_EQ(t.scale[1], 1.0f);
      // On the screen, below the time bar and the progress line.
      const double half = 50 * t.sizeFactor;
      EXPECT_GE(t.position[1] - half, 95);
      EXPECT_LE(t.position[1] + half, 768);
      EXPECT_GE(t.position[0] - half, 0);
      EXPECT_LE(t.position[0] + half, 1024);
    }
  }
  ShapePicture none;
  EXPECT_FALSE(LoadShapePicture(data, 13, &none));
  EXPECT_FALSE(LoadShapePicture(nullptr, 0, &none));
  CloseDataFile(data);
}

TEST(ShapePictureTest, DamagedTextsGiveNoPictureAtAll) {
  const char* const damaged[] = {
      "",
      "\x01\x02garbage \xff\xfe OBJEKT",
      "ZIELOBJEKT_START OBJEKT_START TYP: 0 POSITON: 1 2 SCALE: 1 1",  // left open
      "ZIELOBJEKT_START OBJEKT_START TYP: 0 POSITON: 1x 2 OBJEKT_END",  // not a number
      "ZIELOBJEKT_START OBJEKT_START TYP: 0 SFACTOR: nan OBJEKT_END",
      "ZIELOBJEKT_START OBJEKT_START TYP: 0 POSITON: inf 2 OBJEKT_END",
      "ZIELOBJEKT_START OBJEKT_START TYP: 9 OBJEKT_END",                // no such image
      "ZIELOBJEKT_START OBJEKT_START TYP: 0 SFACTOR: 0.3 OBJEKT_END",   // never reachable
      "ZIELOBJEKT_START OBJEKT_START TYP: 0 ROT: 1.5 OBJEKT_END",
      "ZIELOBJEKT_START OBJEKT_START TYP: 0 FARBE: 3 OBJEKT_END",       // unknown word
      "ZIELOBJEKT_START OBJEKT_START TYP: 0 OBJEKT_START OBJEKT_END OBJEKT_END",
      "OBJEKT_START TYP: 0 SCALE: 1 1 OBJEKT_END",                      // no section
      "ZIELOBJEKT_START OBJEKT_START TYP: 0 ROT:",                      // value missing
      "BAUOBJEKT_START OBJEKT_START TYP: 0 SCALE: 1 1 OBJEKT_END",      // no outline
  };
  for (const char* text : damaged) {
    ShapePicture picture;
    picture.extras.push_back(ShapePiece{});  // left over from before: must go
    EXPECT_FALSE(ParseShapePicture(text, &picture)) << text;
    EXPECT_TRUE(picture.targets.empty() && picture.extras.empty()) << text;
  }
  // A picture file cut anywhere is a shorter complete picture or none.
  const std::string full = PictureText(0);
  ShapePicture whole;
  ASSERT_TRUE(ParseShapePicture(full, &whole));
  for (size_t cut = 0; cut < full.size(); ++cut) {
    ShapePicture part;
    const bool ok = ParseShapePicture(full.substr(0, cut), &part);
    EXPECT_EQ(ok, !part.targets.empty());
    ASSERT_LE(part.targets.size(), whole.targets.size());
    for (size_t i = 0; i < part.targets.size(); ++i) EXPECT_EQ(part.targets[i].type, whole.targets[i].type);
  }
  // Keys in any order, rotations brought into 0 ... 359, other words skipped.
  ShapePicture picture;
  ASSERT_TRUE(ParseShapePicture("note ZIELOBJEKT_START OBJEKT_START ROT: -90 SFACTOR: 0.7 TYP: 2 SCALE: 1 0.5 "
                                "POSITON: 300.5 400 OBJEKT_END what ZIELOBJEKT_END BAUOBJEKT_START "
                                "OBJEKT_START TYP: 4 ROT: 725 OBJEKT_END",
                                &picture));
  ASSERT_EQ(picture.targets.size(), 1u);
  const ShapePiece& t = picture.targets[0];
  EXPECT_EQ(t.type, 2);
  EXPECT_EQ(t.rotation, 270);
  EXPECT_DOUBLE_EQ(t.sizeFactor, 0.7);
  EXPECT_EQ(t.position[0], 300.5f);
  EXPECT_EQ(t.scale[1], 0.5f);
  ASSERT_EQ(picture.extras.size(), 1u);
  EXPECT_EQ(picture.extras[0].rotation, 5);
  EXPECT_DOUBLE_EQ(picture.extras[0].sizeFactor, 1.0);  // not given: 1.0 and a stretch of 0
  EXPECT_EQ(picture.extras[0].scale[0], 0.0f);
}

class BilderBastelnTest : public testapp::AppTest {
 protected:
  const char* FolderPrefix() const override { return "denkar_shapes"; }
  bool NeedsDataFile() const override { return true; }
  void SetUp() override {
    AppTest::SetUp();
    app->dataFile = OpenDataFile("sport.gob");
    ASSERT_NE(app->dataFile, nullptr);
  }
  void TearDown() override {
    if (app->dataFile) CloseDataFile(app->dataFile);
    app->dataFile = nullptr;
    AppTest::TearDown();
  }
  // A game of this picture and difficulty; unless `record` is set, its end
  // leaves the records as they were.
  std::unique_ptr<DG_Bilder_Basteln> Make(int difficulty, int picture = 0, bool record = false) {
    uint32_t seed = 1;
    for (;; ++seed) {  // the first draw picks the picture
      CrtSrand(seed);
      if (CrtRand() % SHAPE_PICTURE_COUNT == picture) break;
    }
    CrtSrand(seed);
    auto game = std::make_unique<DG_Bilder_Basteln>(difficulty);
    EXPECT_EQ(game->pictureNumber, picture);
    if (!record) game->DisableRecording();
    return game;
  }
  void Tick(DG_Bilder_Basteln& game, double seconds = 1.0 / 60) {
    app->frameTime = app->realFrameTime = seconds;
    game.Update();
  }
  static int X(const ShapePiece* p) { return static_cast<int>(std::lround(p->position[0])); }
  static int Y(const ShapePiece* p) { return static_cast<int>(std::lround(p->position[1])); }
  // Puts the pieces at the given places and all others into the bottom right
  // corner, out of the way.
  static void Arrange(DG_Bilder_Basteln& game, const std::vector<std::pair<int, std::pair<float, float>>>& places) {
    for (int i = 0; i < game.pieces.Count(); ++i) {
      ShapePiece* p = game.pieces.Get(i);
      p->position[0] = 980;
      p->position[1] = 740;
      for (const auto& [index, at] : places) {
        if (index != i) continue;
        p->position[0] = at.first;
        p->position[1] = at.second;
      }
    }
  }
  // Gives piece i the size and angle of its outline.
  static void FitSizeAndAngle(DG_Bilder_Basteln& game, int i) {
    game.pieces.Get(i)->sizeFactor = game.targets.Get(i)->sizeFactor;
    game.pieces.Get(i)->rotation = game.targets.Get(i)->rotation;
  }
};

TEST_F(BilderBastelnTest, PiecesPerDifficulty) {
  ShapePicture file;
  ASSERT_TRUE(ParseShapePicture(PictureText(4), &file));
  const int n = static_cast<int>(file.targets.size()), extras = static_cast<int>(file.extras.size());
  ASSERT_GE(extras, 1);
  for (int d = 0; d < 3; ++d) {
    SCOPED_TRACE(d);
    auto game = Make(d, 4);
    ASSERT_EQ(game->targets.Count(), n);
    ASSERT_EQ(game->pieces.Count(), n + (d ? extras : 0) + d * 5);
    EXPECT_EQ(game->GetState(), GAME_STATE_RUNNING);
    for (int i = 0; i < game->pieces.Count(); ++i) {
      const ShapePiece* p = game->pieces.Get(i);
      if (i < n) {  // made from its outline: same form, a random place, size and turn
        const ShapePiece* t = game->targets.Get(i);
        EXPECT_EQ(t->position[0], file.targets[i].position[0]);
        EXPECT_EQ(p->type, t->type);
        EXPECT_EQ((p->rotation - t->rotation + 360) % 45, 0);
        EXPECT_NEAR(p->sizeFactor * 10, std::round(p->sizeFactor * 10), 1e-9);
        EXPECT_TRUE(p->sizeFactor > 0.59 && p->sizeFactor < 1.91) << p->sizeFactor;
      } else if (i < n + extras) {  // the file's extra shapes, unchanged
        EXPECT_EQ(p->position[0], file.extras[i - n].position[0]);
        EXPECT_EQ(p->rotation, file.extras[i - n].rotation);
        continue;
      } else {  // random shapes of the four basic forms
        EXPECT_LT(p->type, 4);
        EXPECT_EQ(p->rotation % 15, 0);
        EXPECT_DOUBLE_EQ(p->sizeFactor, 1.0);
        EXPECT_EQ(p->scale[0], 1.0f);
      }
      EXPECT_TRUE(p->position[0] >= 100 && p->position[0] < 924 && p->position[1] >= 100 && p->position[1] < 668);
    }
  }
}

TEST_F(BilderBastelnTest, AHeldPieceSnapsOnlyAfterItsReleaseAndAPressDropsIt) {
  auto game = Make(0);
  GameDriver driver(*game);
  ShapePiece* piece = game->pieces.Get(0);
  const ShapePiece* target = game->targets.Get(0);
  FitSizeAndAngle(*game, 0);
  Arrange(*game, {{0, {300, 300}}, {1, {100, 650}}});
  driver.Down(300, 300);
  ASSERT_EQ(game->selected, piece);
  driver.Move(X(target) + 4, Y(target) - 3);
  EXPECT_EQ(piece->position[0], X(target) + 4);  // the centre follows the pointer
  Tick(*game);
  EXPECT_EQ(game->matchedCount, 0);
  // The release is lost (over the pause page); the next press lands on
  // another shape, the pointer already there: the held one is put down.
  game->OnLButtonDown(100, 650);
  EXPECT_EQ(game->selected, game->pieces.Get(1));
  EXPECT_EQ(piece->position[0], X(target) + 4);
  Tick(*game);
  EXPECT_EQ(game->matchedCount, 1);
  EXPECT_EQ(piece->position[0], target->position[0]);  // snapped, as it is no longer selected
  driver.Up(120, 640);
  // Taken out again: the count falls. Dropped back in, it counts while still
  // selected but stays where it was put, so the arrow keys can still move it.
  driver.Down(X(piece), Y(piece));
  driver.Up(900, 700);
  Tick(*game);
  EXPECT_EQ(game->matchedCount, 0);
  driver.Down(900, 700);
  driver.Up(X(target) + 2, Y(target));
  Tick(*game);
  EXPECT_EQ(game->matchedCount, 1);
  driver.Key(VK_LEFT);
  Tick(*game);
  EXPECT_EQ(piece->position[0], X(target) + 1);
  driver.RightClick(5, 5);
  Tick(*game);
  EXPECT_EQ(piece->position[0], target->position[0]);
  EXPECT_EQ(piece->rotation, target->rotation);
}

TEST_F(BilderBastelnTest, KeysAndThePieceAPressTakes) {
  auto game = Make(1);
  GameDriver driver(*game);
  ShapePiece* a = game->pieces.Get(0);
  ShapePiece* top = game->pieces.Get(game->pieces.Count() - 1);
  Arrange(*game, {{0, {200, 300}}, {game->pieces.Count() - 1, {600, 300}}});
  a->sizeFactor = 1.0;
  a->rotation = 0;
  driver.Key(VK_RIGHT);  // nothing selected: nothing happens
  driver.Click(3, 3);    // a free spot selects nothing
  EXPECT_EQ(game->selected, nullptr);
  driver.Click(200, 300);
  ASSERT_EQ(game->selected, a);
  EXPECT_EQ(game->moveCount, 0);  // taken where it lay: not moved
  // One pixel per arrow press; a run of moves of one piece counts once.
  for (int key : {VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_DOWN, VK_UP, VK_UP, VK_LEFT}) driver.Key(key);
  EXPECT_EQ(a->position[0], 202);
  EXPECT_EQ(a->position[1], 299);
  EXPECT_EQ(game->moveCount, 1);
  // Size and angle, which are no moves.
  const struct {
    int key;
    double size;
    int rotation;
  } keys[] = {{'W', 1.1, 0}, {VK_HOME, 1.2, 0},  {'S', 1.1, 0},       {VK_END, 1.0, 0},
              {'D', 1.0, 15}, {VK_ADD, 1.0, 30}, {'A', 1.0, 15},       {VK_SUBTRACT, 1.0, 0},
              {'A', 1.0, 345}, {'H', 1.0, 345}};
  for (const auto& k : keys) {
    driver.Key(k.key);
    EXPECT_NEAR(a->sizeFactor, k.size, 1e-9) << k.key;
    EXPECT_EQ(a->rotation, k.rotation) << k.key;
  }
  EXPECT_EQ(game->moveCount, 1);
  // Another piece is a new move, and back to the first one again; a right
  // click starts a new run too.
  driver.Down(600, 300);
  driver.Move(610, 320);
  driver.Up(630, 340);
  EXPECT_EQ(game->moveCount, 2);
  driver.Down(202, 299);
  driver.Up(250, 299);
  EXPECT_EQ(game->moveCount, 3);
  driver.RightClick(250, 299);
  driver.Key(VK_LEFT);
  driver.Down(250, 299);
  driver.Up(260, 299);
  EXPECT_EQ(game->moveCount, 4);
  // A press takes the piece drawn on top: the selected one, else the last.
  a->position[0] = top->position[0] = 500;
  a->position[1] = top->position[1] = 400;
  EXPECT_EQ(game->PieceAt(500, 400), a);
  driver.RightClick(0, 0);
  EXPECT_EQ(game->PieceAt(500, 400), top);
  // Held arrow keys stop at the edge, where the mouse can still take it.
  driver.Click(500, 400);
  for (int i = 0; i < 600; ++i) driver.Key(VK_LEFT);
  for (int i = 0; i < 400; ++i) driver.Key(VK_DOWN);
  EXPECT_EQ(top->position[0], 0);
  EXPECT_EQ(top->position[1], 767);
}

TEST_F(BilderBastelnTest, NothingMovesBeforeTheStartWhilePausedOrAfterTheEnd) {
  auto game = Make(1);
  GameDriver driver(*game, false);  // still counting down
  auto snapshot = [&] {
    std::vector<float> v;
    for (int i = 0; i < game->pieces.Count(); ++i) {
      const ShapePiece* p = game->pieces.Get(i);
      v.insert(v.end(), {p->position[0], p->position[1], float(p->rotation), float(p->sizeFactor)});
    }
    return v;
  };
  auto tryEverything = [&] {
    const ShapePiece* p = game->pieces.Get(0);
    driver.Down(X(p), Y(p));
    driver.Move(X(p) + 40, Y(p) + 40);
    driver.Up(X(p) + 50, Y(p) + 50);
    for (int key : {VK_RIGHT, VK_DOWN, int{'W'}, int{'S'}, int{'A'}, int{'D'}, VK_ADD}) driver.Key(key);
    driver.RightClick(X(p), Y(p));
  };
  const std::vector<float> before = snapshot();
  tryEverything();
  Tick(*game);
  EXPECT_EQ(snapshot(), before);
  EXPECT_EQ(game->selected, nullptr);
  EXPECT_DOUBLE_EQ(game->playTime, 0.0);  // the clock waits for the start
  game->Start();
  game->SetState(GAME_STATE_PAUSED);
  tryEverything();
  EXPECT_EQ(snapshot(), before);
  game->SetState(GAME_STATE_RUNNING);
  driver.Down(X(game->pieces.Get(0)), Y(game->pieces.Get(0)));  // held when the play ends
  const ShapePiece* held = game->selected;
  ASSERT_NE(held, nullptr);
  game->SetState(GAME_STATE_ENDED);
  tryEverything();
  EXPECT_EQ(snapshot(), before);
  EXPECT_EQ(game->moveCount, 0);
  EXPECT_EQ(game->selected, held);
  Tick(*game, 5.0);
  EXPECT_DOUBLE_EQ(game->playTime, 0.0);  // and stands after the end
}

TEST_F(BilderBastelnTest, GradesAndResultText) {
  {  // solved in 60 s: 1 + 60 / 120
    auto game = Make(0);
    GameDriver driver(*game);
    Tick(*game, 60.0);
    for (int i = 0; i < game->targets.Count(); ++i) {
      FitSizeAndAngle(*game, i);
      game->pieces.Get(i)->position[0] = game->targets.Get(i)->position[0] + 3;
      game->pieces.Get(i)->position[1] = game->targets.Get(i)->position[1];
    }
    Tick(*game, 0.0);
    EXPECT_EQ(game->GetState(), GAME_STATE_ENDED);
    game->ComputeGrade();
    EXPECT_DOUBLE_EQ(game->GetGrade(), 1.5);
    EXPECT_EQ(game->GetResultText(), FormatText(GetLangText(22), {1, 0}) + "\n" +
                                         FormatText(GetLangText(57), {0}) + "\n\n" +
                                         FormatText(GetLangText(50), {1.5}));
    EXPECT_STREQ(game->GetResultTitle(), GetLangText(20));
    EXPECT_STREQ(game->GetDescriptionText(), GetLangText(65));
    EXPECT_NE(game->GetStatisticsText(), nullptr);
  }
  {  // quit with 2 of 6 in place after 30 s: 6 - 2/6 x 5 + 30 / 60
    auto game = Make(0);
    ASSERT_EQ(game->targets.Count(), 6);
    GameDriver driver(*game);
    for (int i = 0; i < 2; ++i) {
      FitSizeAndAngle(*game, i);
      game->pieces.Get(i)->position[0] = game->targets.Get(i)->position[0];
      game->pieces.Get(i)->position[1] = game->targets.Get(i)->position[1];
    }
    Tick(*game, 30.0);
    game->SetState(GAME_STATE_QUIT);
    game->ComputeGrade();
    EXPECT_DOUBLE_EQ(game->GetGrade(), 6.0 - 2.0 / 6.0 * 5.0 + 0.5);
    EXPECT_NE(std::string(game->GetResultText()).find(FormatText(GetLangText(50), {game->GetGrade()})),
              std::string::npos);
    game->playTime = 600;
    game->ComputeGrade();
    EXPECT_DOUBLE_EQ(game->GetGrade(), 6.0);
    const std::string later = game->GetResultText();  // shows the new time and grade
    EXPECT_NE(later.find(FormatText(GetLangText(22), {10, 0})), std::string::npos) << later;
    EXPECT_NE(later.find(FormatText(GetLangText(50), {6.0})), std::string::npos) << later;
  }
}

// Pictures that cannot be read: the play ends at once, graded 6.0, and counts
// nowhere.
TEST_F(BilderBastelnTest, AnUnreadablePictureEndsThePlayCleanly) {
  CloseDataFile(app->dataFile);
  std::vector<testdata::Entry> members;
  const std::string good = PictureText(3);
  for (int n = 0; n < SHAPE_PICTURE_COUNT; ++n) {
    const std::string text =
        n % 3 == 0   ? good.substr(0, good.find("SCALE:", good.size() / 2) + 6)  // cut inside an object
        : n % 3 == 1 ? std::string("\x7f\x45LF\x02\x01\x01 ZIELOBJEKT_START \xff\xfe")  // garbage
                     : std::string();                                             // empty
    members.push_back({"bb_" + std::to_string(n), testdata::ToBytes(text)});
  }
  ASSERT_TRUE(testdata::WriteFile("broken.gob", testdata::BuildArchive(members)));
  app->dataFile = OpenDataFile("broken.gob");
  ASSERT_NE(app->dataFile, nullptr);
  for (int picture : {0, 1, 2, -1}) {
    SCOPED_TRACE(picture);
    if (picture < 0) {  // no data file at all
      CloseDataFile(app->dataFile);
      app->dataFile = nullptr;
    }
    {
      auto game = Make(2, picture < 0 ? 5 : picture, true);  // the game itself keeps it out
      EXPECT_FALSE(game->PictureLoaded());
      EXPECT_EQ(game->pieces.Count(), 0);
      EXPECT_NE(game->progressFont, nullptr);
      game->SetState(GAME_STATE_QUIT);  // quit during the countdown: no 0 / 0
      game->ComputeGrade();
      EXPECT_EQ(game->GetGrade(), 6.0);
      EXPECT_FALSE(game->IsHighscore());
      GameDriver driver(*game);
      driver.Click(500, 400);
      Tick(*game);
      EXPECT_EQ(game->GetState(), GAME_STATE_ENDED);
      game->ComputeGrade();
      EXPECT_EQ(game->GetGrade(), 6.0);
      const std::string result = game->GetResultText();
      EXPECT_NE(result.find(FormatText(GetLangText(68), {})), std::string::npos) << result;
    }
    GameRecord saved;
    ASSERT_TRUE(saved.LoadFile("bilder.sav"));
    EXPECT_EQ(saved.playCount, 0);
    EXPECT_EQ(app->statistics->playCount, 0);
  }
}

TEST_F(BilderBastelnTest, AutoplayerWinsAtEveryDifficulty) {
  int plays = 0, fonts = 0;
  for (int d = 0; d < 3; ++d) {
    for (int picture = 0; picture < SHAPE_PICTURE_COUNT; picture += (d == 2 ? 1 : 4)) {
      SCOPED_TRACE("difficulty " + std::to_string(d) + ", picture " + std::to_string(picture));
      auto game = Make(d, picture, true);
      GameDriver driver(*game);
      AutoplayWin_DG_Bilder_Basteln(driver);
      ASSERT_EQ(game->GetState(), GAME_STATE_ENDED);
      EXPECT_EQ(game->matchedCount, game->targets.Count());
      EXPECT_GE(game->moveCount, game->targets.Count());
      game->ComputeGrade();
      EXPECT_DOUBLE_EQ(game->GetGrade(), 1.0 + game->playTime / 120.0);
      game.reset();
      ++plays;
      if (plays == 1) fonts = GetFontManager().fonts.Count();
      EXPECT_EQ(GetFontManager().fonts.Count(), fonts);  // no font piles up
      GameRecord saved;
      ASSERT_TRUE(saved.LoadFile("bilder.sav"));
      EXPECT_EQ(saved.playCount, plays);
    }
  }
  EXPECT_EQ(app->statistics->playCount, plays);
}

// Through the main menu, drawn with the real textures.
class BilderBastelnMenuTest : public BilderBastelnTest {
 protected:
  void SetUp() override {
    BilderBastelnTest::SetUp();
    CloseDataFile(app->dataFile);  // the screen opens its own
    app->dataFile = nullptr;
    screen = std::make_unique<testapp::OffscreenScreen>();
    ASSERT_TRUE(screen->Ok());
    menu = std::make_unique<MainMenu>();
    driver = std::make_unique<MenuDriver>(*menu);
  }
  void TearDown() override {
    driver.reset();
    menu.reset();
    screen.reset();
    BilderBastelnTest::TearDown();
  }
  static GUIElement* Find(GUIElement* e, int id) {
    if (!e || (e->GetId() == id && e->parent)) return e;
    for (int i = 0; i < e->children.Count(); ++i)
      if (GUIElement* found = Find(e->children.Get(i), id)) return found;
    return nullptr;
  }
  // Clicks the middle of the element with this id on the visible page.
  bool ClickElement(int id) {
    for (int slot = 0; slot < GAME_ELEMENT_COUNT; ++slot) {
      GUIElement* e = menu->elementEnabled[slot] ? Find(menu->elements[slot], id) : nullptr;
      if (!e || e->GetId() != id) continue;
      int x = (e->right - e->x) / 2, y = (e->bottom - e->y) / 2;
      for (GUIElement* p = e; p; p = p->parent) x += p->x, y += p->y;
      driver->Click(x, y);
      return true;
    }
    return false;
  }
  DG_Bilder_Basteln* Shapes() { return dynamic_cast<DG_Bilder_Basteln*>(menu->activeGame); }
  void StartFromMenu(int difficulty, bool countdown = true) {
    ASSERT_TRUE(ClickElement(2));
    ASSERT_TRUE(ClickElement(11 + difficulty));
    ASSERT_TRUE(ClickElement(17));
    ASSERT_TRUE(ClickElement(22 + 0));
    ASSERT_NE(Shapes(), nullptr);
    EXPECT_EQ(Shapes()->difficulty, difficulty);
    if (countdown) driver->SkipCountdown();
  }
  // Draws the frame; saved as a picture when DENKAR_SHOT_DIR names a folder.
  void Shot(const std::string& name) {
    screen->Draw([this] {
      menu->Render();
      menu->DrawCursor();
    });
    if (const char* dir = std::getenv("DENKAR_SHOT_DIR")) screen->SavePng(std::string(dir) + "/" + name + ".png");
  }

  std::unique_ptr<testapp::OffscreenScreen> screen;
  std::unique_ptr<MainMenu> menu;
  std::unique_ptr<MenuDriver> driver;
};

// Every difficulty in both languages won from the menu, each screen drawn
// (start, a shape being dragged, solved, result page), the result recorded;
// then a play whose picture cannot be read.
TEST_F(BilderBastelnMenuTest, WonFromTheMenuAtEveryDifficultyAndRecorded) {
  int plays = 0;
  for (int lang = 0; lang < 2; ++lang) {
    testapp::UseLanguage(lang);
    const std::string language = lang ? "en" : "de";
    for (int d = 0; d < 3; ++d) {
      SCOPED_TRACE(language + std::to_string(d));
      const std::string tag = language + "_d" + std::to_string(d);
      StartFromMenu(d);
      EXPECT_TRUE(Shapes()->PictureLoaded());
      Shot(tag + "_1_start");
      const ShapePiece* piece = Shapes()->pieces.Get(0);
      const ShapePiece* target = Shapes()->targets.Get(0);
      driver->Down(X(piece), Y(piece));
      driver->Move((X(piece) + X(target)) / 2, (Y(piece) + Y(target)) / 2);
      Shot(tag + "_2_drag");
      driver->Up(X(target), Y(target));
      AutoplayWin_DG_Bilder_Basteln(*driver);
      Shot(tag + "_3_solved");
      const double playTime = Shapes()->playTime;
      ASSERT_TRUE(driver->WaitUntil([this] { return menu->currentPage == 55; }, 3.0));
      ASSERT_NE(menu->gameNameEntry, nullptr);  // a first-class result enters the top 10
      const std::string name = "Ida " + language + std::to_string(d);
      driver->Type(name);
      Shot(tag + "_4_result");
      driver->Key(VK_RETURN);
      ASSERT_EQ(menu->currentPage, 1);
      GameRecord saved;
      ASSERT_TRUE(saved.LoadFile("bilder.sav"));
      EXPECT_EQ(saved.playCount, ++plays);
      const HighscoreEntry* entry = nullptr;
      for (int i = 0; i < saved.Entries().Count(); ++i)
        if (std::string(saved.Entries().Get(i)->name) == name) entry = saved.Entries().Get(i);
      ASSERT_NE(entry, nullptr);
      EXPECT_NEAR(entry->grade, 1.0 + playTime / 120.0, 1e-4);
    }
    // A picture that cannot be read: the play says so and ends, unrecorded.
    FILE* data = app->dataFile;
    app->dataFile = nullptr;
    StartFromMenu(0, false);
    app->dataFile = data;
    EXPECT_FALSE(Shapes()->PictureLoaded());
    driver->SkipCountdown();
    driver->Wait(0.5);
    Shot(language + "_no_picture_1_play");
    ASSERT_TRUE(driver->WaitUntil([this] { return menu->currentPage == 55; }, 3.0));
    EXPECT_EQ(menu->gameNameEntry, nullptr);  // 6.0 never enters the top 10
    Shot(language + "_no_picture_2_result");
    ASSERT_TRUE(ClickElement(56));
    ASSERT_EQ(menu->currentPage, 1);
  }
  EXPECT_EQ(app->statistics->playCount, plays);
}

TEST_F(BilderBastelnMenuTest, QuitFromThePauseMenuIsGradedByTheShapesInPlace) {
  StartFromMenu(1);
  DG_Bilder_Basteln* game = Shapes();
  ShapePiece* piece = game->pieces.Get(0);  // one shape in its outline
  const ShapePiece* target = game->targets.Get(0);
  piece->sizeFactor = target->sizeFactor;
  piece->rotation = target->rotation;
  piece->position[0] = target->position[0] + 5;
  piece->position[1] = target->position[1];
  driver->Wait(20.0);
  ASSERT_EQ(game->matchedCount, 1);
  driver->Key(VK_ESCAPE);
  ASSERT_EQ(menu->currentPage, 45);
  driver->Wait(30.0);  // paused: the clock stands
  ASSERT_TRUE(ClickElement(49));
  // 6 - 1/n x 5 + t / 60 enters the top 10: the result page asks for a name.
  ASSERT_EQ(menu->currentPage, 55);
  const double expected = 6.0 - 1.0 / game->targets.Count() * 5.0 + game->playTime / 60.0;
  EXPECT_NEAR(game->playTime, 20.0, 0.5);
  EXPECT_NEAR(game->GetGrade(), expected, 1e-9);
  driver->Type("Q");
  driver->Key(VK_RETURN);
  EXPECT_EQ(menu->activeGame, nullptr);
  GameRecord saved;
  ASSERT_TRUE(saved.LoadFile("bilder.sav"));
  EXPECT_EQ(saved.playCount, 1);
  EXPECT_NEAR(saved.gradeSum, expected, 1e-4);
  ASSERT_EQ(saved.Entries().Count(), 1);
  EXPECT_NEAR(saved.Entries().Get(0)->grade, expected, 1e-4);
}

}  // namespace
