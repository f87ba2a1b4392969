// The shape picture game: the matching rules of the shape types, the picture
// files of the data file (and damaged ones), the pieces per difficulty, the
// mouse and key handling, grading, and whole plays won by the autoplayer, on
// their own and through the main menu, with the save files read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
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
#include "gfx/sprite.h"
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

bool Parse(const std::string& text, ShapePicture* picture) { return ParseShapePicture(text, picture); }

// ------------------------------------------------------------------- shapes

TEST(ShapePieceTest, MatchingFollowsTheSymmetryOfEachType) {
  const struct {
    int type;
    std::vector<int> fit, misfit;
  } cases[] = {
      {0, {0, 90, 180, 270}, {15, 45, 135}},       // square
      {1, {0, 15, 45, 90, 195, 345}, {}},          // circle
      {2, {0, 120, 240}, {60, 90, 180, 300}},      // triangle
      {3, {0, 180}, {90, 270, 45}},                // bar
      {4, {0, 30, 275}, {}},                       // ring
  };
  for (const auto& c : cases) {
    const ShapePiece target = Shape(c.type, 500, 400, 0);
    for (int r : c.fit) EXPECT_TRUE(Shape(c.type, 500, 400, r).Matches(target)) << c.type << " at " << r;
    for (int r : c.misfit) EXPECT_FALSE(Shape(c.type, 500, 400, r).Matches(target)) << c.type << " at " << r;
    // The same angle seen from another starting angle.
    const ShapePiece turned = Shape(c.type, 500, 400, 330);
    if (c.type == 0) {
      EXPECT_TRUE(Shape(0, 500, 400, 60).Matches(turned));
    }
    if (c.type == 2) {
      EXPECT_TRUE(Shape(2, 500, 400, 90).Matches(turned));
    }
  }
  const ShapePiece target = Shape(0, 500, 400, 90, 1.2);
  EXPECT_TRUE(Shape(0, 506, 408, 0, 1.2).Matches(target));     // 10 pixels away
  EXPECT_FALSE(Shape(0, 506, 408.5f, 0, 1.2).Matches(target));
  EXPECT_TRUE(Shape(0, 500, 400, 0, 1.25).Matches(target));
  EXPECT_TRUE(Shape(0, 500, 400, 0, 1.15).Matches(target));
  EXPECT_FALSE(Shape(0, 500, 400, 0, 1.3).Matches(target));
  EXPECT_FALSE(Shape(3, 500, 400, 90, 1.2).Matches(target));   // another form
  // A triangle stretched otherwise in y is another triangle.
  ShapePiece flat = Shape(2, 500, 400, 0);
  flat.scale[1] = 0.5f;
  EXPECT_FALSE(flat.Matches(Shape(2, 500, 400, 0)));
}

TEST(ShapePieceTest, GrabSquareTurnsAndSizesStayInRange) {
  const ShapePiece s = Shape(1, 200, 300, 0, 0.6);
  EXPECT_TRUE(s.Contains(230, 270));   // the corners count
  EXPECT_TRUE(s.Contains(170, 330));
  EXPECT_FALSE(s.Contains(230.5f, 300));
  EXPECT_FALSE(s.Contains(200, 269.5f));

  ShapePiece p = Shape(0, 0, 0, 350);
  p.Turn(15);
  EXPECT_EQ(p.rotation, 5);
  p.Turn(-15);
  p.Turn(-15);
  EXPECT_EQ(p.rotation, 335);
  for (int i = 0; i < 30; ++i) p.Resize(SHAPE_SIZE_STEP);
  EXPECT_DOUBLE_EQ(p.sizeFactor, 2.0);
  for (int i = 0; i < 30; ++i) p.Resize(-SHAPE_SIZE_STEP);
  EXPECT_DOUBLE_EQ(p.sizeFactor, 0.4);
}

// ---------------------------------------------------------------- pictures

TEST(ShapePictureTest, EveryPictureOfTheDataFileCanBeBuilt) {
  FILE* data = OpenDataFile(DENKAR_RUN_DIR "/sport.gob");
  ASSERT_NE(data, nullptr);
  for (int n = 0; n < SHAPE_PICTURE_COUNT; ++n) {
    SCOPED_TRACE("bb_" + std::to_string(n));
    ShapePicture picture;
    ASSERT_TRUE(LoadShapePicture(data, n, &picture));
    EXPECT_GE(picture.targets.size(), 4u);
    for (const ShapePiece& t : picture.targets) {
      // Reachable by the keys from a size of 0.6 ... 1.9 in steps of 0.1.
      const double steps = t.sizeFactor * 10;
      EXPECT_NEAR(steps, std::round(steps), 1e-9);
      EXPECT_GE(t.sizeFactor, SHAPE_SIZE_MIN - 1e-9);
      EXPECT_LE(t.sizeFactor, SHAPE_SIZE_MAX + 1e-9);
      EXPECT_EQ(t.rotation % SHAPE_TURN_STEP, 0);
      EXPECT_EQ(t.scale[0], 1.0f);
      EXPECT_EQ(t.scale[1], 1.0f);
      // Clear of the time bar and the progress line, and on the screen.
      const double half = 50 * t.sizeFactor;
      EXPECT_GE(t.position[1] - half, 95);
      EXPECT_LE(t.position[1] + half, 768);
      EXPECT_GE(t.position[0] - half, 0);
      EXPECT_LE(t.position[0] + half, 1024);
    }
    // The same text read from the source folder gives the same picture.
    ShapePicture source;
    ASSERT_TRUE(Parse(PictureText(n), &source));
    EXPECT_EQ(source.targets.size(), picture.targets.size());
    EXPECT_EQ(source.extras.size(), picture.extras.size());
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
      "ZIELOBJEKT_START OBJEKT_START TYP: 0 POSITON: 1 2 SCALE: 1 1",             // left open
      "ZIELOBJEKT_START OBJEKT_START TYP: 0 POSITON: 1x 2 OBJEKT_END",             // not a number
      "ZIELOBJEKT_START OBJEKT_START TYP: 0 SFACTOR: nan OBJEKT_END",
      "ZIELOBJEKT_START OBJEKT_START TYP: 0 POSITON: inf 2 OBJEKT_END",
      "ZIELOBJEKT_START OBJEKT_START TYP: 9 OBJEKT_END",                           // no such image
      "ZIELOBJEKT_START OBJEKT_START TYP: -1 OBJEKT_END",
      "ZIELOBJEKT_START OBJEKT_START TYP: 0 SFACTOR: 0.3 OBJEKT_END",              // never reachable
      "ZIELOBJEKT_START OBJEKT_START TYP: 0 SFACTOR: 2.5 OBJEKT_END",
      "ZIELOBJEKT_START OBJEKT_START TYP: 0 ROT: 1.5 OBJEKT_END",
      "ZIELOBJEKT_START OBJEKT_START TYP: 0 FARBE: 3 OBJEKT_END",                  // unknown word
      "ZIELOBJEKT_START OBJEKT_START TYP: 0 OBJEKT_START OBJEKT_END OBJEKT_END",
      "OBJEKT_START TYP: 0 SCALE: 1 1 OBJEKT_END",                                 // no section
      "ZIELOBJEKT_START OBJEKT_START TYP: 0 ROT:",                                 // value missing
      "BAUOBJEKT_START OBJEKT_START TYP: 0 SCALE: 1 1 OBJEKT_END",                 // no outline
  };
  for (const char* text : damaged) {
    SCOPED_TRACE(text);
    ShapePicture picture;
    picture.targets.push_back(ShapePiece{});  // left over from before: must go
    EXPECT_FALSE(Parse(text, &picture));
    EXPECT_TRUE(picture.targets.empty());
    EXPECT_TRUE(picture.extras.empty());
  }
  // A picture file cut anywhere is either a shorter, complete picture or none.
  const std::string full = PictureText(0);
  ShapePicture whole;
  ASSERT_TRUE(Parse(full, &whole));
  for (size_t cut = 0; cut < full.size(); ++cut) {
    ShapePicture part;
    if (!Parse(full.substr(0, cut), &part)) {
      EXPECT_TRUE(part.targets.empty());
      continue;
    }
    ASSERT_LE(part.targets.size(), whole.targets.size());
    for (size_t i = 0; i < part.targets.size(); ++i) {
      EXPECT_EQ(part.targets[i].type, whole.targets[i].type) << cut;
      EXPECT_EQ(part.targets[i].position[0], whole.targets[i].position[0]) << cut;
    }
  }
  // Keys in any order, rotations brought into 0 ... 359, words between
  // objects skipped.
  ShapePicture picture;
  ASSERT_TRUE(Parse("note ZIELOBJEKT_START OBJEKT_START ROT: -90 SFACTOR: 0.7 TYP: 2 SCALE: 1 0.5 "
                    "POSITON: 300.5 400 OBJEKT_END what ever ZIELOBJEKT_END BAUOBJEKT_START "
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
  EXPECT_DOUBLE_EQ(picture.extras[0].sizeFactor, 1.0);  // not given: 1.0
  EXPECT_EQ(picture.extras[0].scale[0], 0.0f);           // not given: 0
}

// --------------------------------------------------------------------- game

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
  // A game of the given picture and difficulty; unless `record` is set, its
  // end leaves the records as they were.
  std::unique_ptr<DG_Bilder_Basteln> Make(int difficulty, int picture = 0, bool record = false) {
    CrtSrand(SeedFor(picture));
    auto game = std::make_unique<DG_Bilder_Basteln>(difficulty);
    EXPECT_EQ(game->pictureNumber, picture);
    if (!record) game->DisableRecording();
    return game;
  }
  // A seed whose first draw picks this picture.
  static uint32_t SeedFor(int picture) {
    for (uint32_t seed = 1;; ++seed) {
      CrtSrand(seed);
      if (CrtRand() % SHAPE_PICTURE_COUNT == picture) return seed;
    }
  }
  void Tick(DG_Bilder_Basteln& game, double seconds = 1.0 / 60) {
    app->frameTime = app->realFrameTime = seconds;
    game.Update();
  }
  static int X(const ShapePiece* p) { return static_cast<int>(std::lround(p->position[0])); }
  static int Y(const ShapePiece* p) { return static_cast<int>(std::lround(p->position[1])); }
  // Puts every other piece into the bottom right corner, out of the way.
  static void ClearAround(DG_Bilder_Basteln& game, const std::vector<const ShapePiece*>& keep) {
    for (int i = 0; i < game.pieces.Count(); ++i) {
      ShapePiece* p = game.pieces.Get(i);
      if (std::find(keep.begin(), keep.end(), p) != keep.end()) continue;
      p->position[0] = 980;
      p->position[1] = 740;
    }
  }
  // Gives piece i the size and angle of its outline, where it lies.
  static void FitInPlace(DG_Bilder_Basteln& game, int i) {
    ShapePiece* p = game.pieces.Get(i);
    p->sizeFactor = game.targets.Get(i)->sizeFactor;
    p->rotation = game.targets.Get(i)->rotation;
  }
};

TEST_F(BilderBastelnTest, PiecesPerDifficulty) {
  for (int picture : {0, 7, 12}) {
    ShapePicture file;
    ASSERT_TRUE(Parse(PictureText(picture), &file));
    const int n = static_cast<int>(file.targets.size());
    for (int d = 0; d < 3; ++d) {
      SCOPED_TRACE("picture " + std::to_string(picture) + ", difficulty " + std::to_string(d));
      auto game = Make(d, picture);
          ASSERT_EQ(game->targets.Count(), n);
      const int extras = d == 0 ? 0 : static_cast<int>(file.extras.size());
      ASSERT_EQ(game->pieces.Count(), n + extras + d * 5);
      EXPECT_EQ(game->GetState(), GAME_STATE_RUNNING);
      EXPECT_EQ(game->moveCount, 0);
      EXPECT_EQ(game->matchedCount, 0);
      EXPECT_NE(game->progressFont, nullptr);
      for (int i = 0; i < n; ++i) {
        const ShapePiece* t = game->targets.Get(i);
        const ShapePiece* p = game->pieces.Get(i);
        EXPECT_EQ(t->position[0], file.targets[i].position[0]);
        EXPECT_EQ(p->type, t->type);
        EXPECT_EQ(p->scale[1], t->scale[1]);
        EXPECT_EQ((p->rotation - t->rotation + 360) % 45, 0);
        const double tenths = p->sizeFactor * 10;
        EXPECT_NEAR(tenths, std::round(tenths), 1e-9);
        EXPECT_GE(p->sizeFactor, 0.6 - 1e-9);
        EXPECT_LE(p->sizeFactor, 1.9 + 1e-9);
        EXPECT_GE(p->position[0], 100);
        EXPECT_LT(p->position[0], 924);
        EXPECT_GE(p->position[1], 100);
        EXPECT_LT(p->position[1], 668);
      }
      for (int i = 0; i < extras; ++i) {  // unchanged from the file
        const ShapePiece* p = game->pieces.Get(n + i);
        EXPECT_EQ(p->position[0], file.extras[i].position[0]);
        EXPECT_EQ(p->rotation, file.extras[i].rotation);
        EXPECT_DOUBLE_EQ(p->sizeFactor, file.extras[i].sizeFactor);
      }
      for (int i = n + extras; i < game->pieces.Count(); ++i) {
        const ShapePiece* p = game->pieces.Get(i);
        EXPECT_LT(p->type, 4);
        EXPECT_EQ(p->rotation % 15, 0);
        EXPECT_DOUBLE_EQ(p->sizeFactor, 1.0);
        EXPECT_EQ(p->scale[0], 1.0f);
        EXPECT_GE(p->position[0], 100);
        EXPECT_LT(p->position[1], 668);
      }
    }
  }
}

TEST_F(BilderBastelnTest, AHeldPieceSnapsOnlyAfterItsRelease) {
  auto game = Make(0);
  GameDriver driver(*game);
  FitInPlace(*game, 0);
  ShapePiece* piece = game->pieces.Get(0);
  const ShapePiece* target = game->targets.Get(0);
  ClearAround(*game, {piece});
  driver.Down(X(piece), Y(piece));
  ASSERT_EQ(game->selected, piece);
  EXPECT_TRUE(game->buttonDown);
  driver.Move(X(target) + 4, Y(target) - 3);
  EXPECT_EQ(piece->position[0], X(target) + 4);  // the centre follows the pointer
  Tick(*game);
  EXPECT_EQ(game->matchedCount, 0);
  EXPECT_EQ(game->MatchFor(*target), nullptr);
  driver.Up(X(target) + 4, Y(target) - 3);
  Tick(*game);
  EXPECT_EQ(game->matchedCount, 1);
  // Still selected: it counts but stays where it was put, so the arrow keys
  // can still move it.
  EXPECT_EQ(piece->position[0], X(target) + 4);
  driver.Key(VK_LEFT);
  Tick(*game);
  EXPECT_EQ(piece->position[0], X(target) + 3);
  driver.RightClick(5, 5);
  EXPECT_EQ(game->selected, nullptr);
  Tick(*game);
  EXPECT_EQ(piece->position[0], target->position[0]);  // snapped
  EXPECT_EQ(piece->position[1], target->position[1]);
  EXPECT_EQ(piece->rotation, target->rotation);
  EXPECT_EQ(game->moveCount, 1);
  // Taken out again: the count falls.
  driver.Down(X(piece), Y(piece));
  driver.Up(900, 700);
  Tick(*game);
  EXPECT_EQ(game->matchedCount, 0);
}

TEST_F(BilderBastelnTest, KeysActOnTheSelectedPieceAndARunOfMovesCountsOnce) {
  auto game = Make(1);
  GameDriver driver(*game);
  ShapePiece* a = game->pieces.Get(0);
  ShapePiece* b = game->pieces.Get(1);
  ClearAround(*game, {a, b});
  b->position[0] = 600;
  b->position[1] = 300;
  driver.Key(VK_RIGHT);  // nothing selected: nothing happens
  driver.Key('W');
  // Pressing on a free spot selects nothing.
  driver.Click(3, 3);
  EXPECT_EQ(game->selected, nullptr);
  a->position[0] = 200;
  a->position[1] = 300;
  a->sizeFactor = 1.0;
  a->rotation = 0;
  driver.Down(200, 300);
  driver.Up(200, 300);
  ASSERT_EQ(game->selected, a);
  EXPECT_EQ(game->moveCount, 0);  // selected where it lay: not moved
  for (int i = 0; i < 5; ++i) driver.Key(VK_RIGHT);
  EXPECT_EQ(a->position[0], 205);
  EXPECT_EQ(game->moveCount, 1);
  driver.Key(VK_DOWN);
  driver.Key(VK_UP);
  driver.Key(VK_UP);
  driver.Key(VK_LEFT);
  EXPECT_EQ(a->position[0], 204);
  EXPECT_EQ(a->position[1], 299);
  EXPECT_EQ(game->moveCount, 1);
  // Size and angle do not count as moves.
  const struct {
    int key;
    double size;
    int rotation;
  } keys[] = {{'W', 1.1, 0},       {VK_HOME, 1.2, 0}, {'S', 1.1, 0},        {VK_END, 1.0, 0},
              {'D', 1.0, 15},      {VK_ADD, 1.0, 30}, {'A', 1.0, 15},       {VK_SUBTRACT, 1.0, 0},
              {VK_SUBTRACT, 1.0, 345}, {'H', 1.0, 345}};
  for (const auto& k : keys) {
    driver.Key(k.key);
    EXPECT_NEAR(a->sizeFactor, k.size, 1e-9) << k.key;
    EXPECT_EQ(a->rotation, k.rotation) << k.key;
  }
  EXPECT_EQ(game->moveCount, 1);
  // Another piece is a new move, and coming back to the first one too.
  driver.Down(600, 300);
  driver.Move(610, 320);
  driver.Move(620, 330);
  driver.Up(630, 340);
  EXPECT_EQ(game->moveCount, 2);
  driver.Key(VK_LEFT);
  EXPECT_EQ(game->moveCount, 2);
  driver.Down(204, 299);
  driver.Up(250, 299);
  EXPECT_EQ(game->moveCount, 3);
  // A press after a right click on a piece starts a new run for it.
  driver.RightClick(250, 299);
  driver.Down(250, 299);
  driver.Up(260, 299);
  EXPECT_EQ(game->moveCount, 4);
  // Held arrow keys stop at the edge of the screen, where the mouse can
  // still take the piece.
  for (int i = 0; i < 300; ++i) driver.Key(VK_LEFT);
  for (int i = 0; i < 1000; ++i) driver.Key(VK_DOWN);
  EXPECT_EQ(a->position[0], 0);
  EXPECT_EQ(a->position[1], 767);
  EXPECT_EQ(game->PieceAt(2, 765), a);
}

TEST_F(BilderBastelnTest, APressTakesTheShapeDrawnOnTop) {
  auto game = Make(2);
  GameDriver driver(*game);
  ShapePiece* low = game->pieces.Get(0);
  ShapePiece* high = game->pieces.Get(game->pieces.Count() - 1);
  ClearAround(*game, {low, high});
  for (ShapePiece* p : {low, high}) {
    p->position[0] = 500;
    p->position[1] = 400;
  }
  EXPECT_EQ(game->PieceAt(500, 400), high);
  driver.Down(500, 400);
  driver.Up(500, 400);
  EXPECT_EQ(game->selected, high);
  // Once selected, a piece lies above all others until it is let go.
  low->position[0] = 200;
  driver.Click(200, 400);
  ASSERT_EQ(game->selected, low);
  low->position[0] = 500;
  EXPECT_EQ(game->PieceAt(500, 400), low);
  driver.RightClick(0, 0);
  EXPECT_EQ(game->PieceAt(500, 400), high);
}

TEST_F(BilderBastelnTest, APressWhileAPieceIsHeldPutsItDownFirst) {
  auto game = Make(0);
  GameDriver driver(*game);
  FitInPlace(*game, 0);
  ShapePiece* a = game->pieces.Get(0);
  const ShapePiece* target = game->targets.Get(0);
  ShapePiece* b = game->pieces.Get(1);
  ClearAround(*game, {a, b});
  a->position[0] = 300;
  a->position[1] = 300;
  b->position[0] = 100;
  b->position[1] = 650;
  driver.Down(300, 300);
  driver.Move(X(target), Y(target));
  // The release is lost (it arrived over the pause page); the next press
  // lands on another shape (the pointer was already there).
  game->OnLButtonDown(100, 650);
  EXPECT_EQ(game->selected, b);
  EXPECT_EQ(a->position[0], X(target));  // left where it was dragged to
  Tick(*game);
  EXPECT_EQ(game->matchedCount, 1);      // and no longer held
  EXPECT_EQ(game->MatchFor(*target), a);
  driver.Up(120, 640);
  EXPECT_EQ(b->position[0], 120);
}

TEST_F(BilderBastelnTest, NothingMovesBeforeTheStartOrAfterTheEnd) {
  auto game = Make(1);
  GameDriver driver(*game, false);  // still counting down
  auto snapshot = [&] {
    std::vector<float> v;
    for (int i = 0; i < game->pieces.Count(); ++i) {
      const ShapePiece* p = game->pieces.Get(i);
      v.insert(v.end(), {p->position[0], p->position[1], static_cast<float>(p->rotation),
                         static_cast<float>(p->sizeFactor)});
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
  Tick(*game);  // not started: the play clock stands
  EXPECT_EQ(snapshot(), before);
  EXPECT_EQ(game->selected, nullptr);
  EXPECT_DOUBLE_EQ(game->playTime, 0.0);

  game->Start();
  game->SetState(GAME_STATE_PAUSED);
  tryEverything();
  EXPECT_EQ(snapshot(), before);

  game->SetState(GAME_STATE_RUNNING);
  const ShapePiece* p = game->pieces.Get(0);
  driver.Down(X(p), Y(p));  // selected, and held when the play ends
  const ShapePiece* held = game->selected;
  ASSERT_NE(held, nullptr);
  game->SetState(GAME_STATE_ENDED);
  const std::vector<float> atEnd = snapshot();
  tryEverything();
  EXPECT_EQ(snapshot(), atEnd);
  EXPECT_EQ(game->moveCount, 0);
  EXPECT_EQ(game->selected, held);
  const double time = game->playTime;
  Tick(*game, 5.0);
  EXPECT_DOUBLE_EQ(game->playTime, time);  // the play clock stands after the end
}

TEST_F(BilderBastelnTest, GradesAndResultText) {
  {  // solved in 60 s: 1 + 60 / 120
    auto game = Make(0);
      GameDriver driver(*game);
    Tick(*game, 60.0);
    for (int i = 0; i < game->targets.Count(); ++i) {
      FitInPlace(*game, i);
      ShapePiece* p = game->pieces.Get(i);
      p->position[0] = game->targets.Get(i)->position[0] + 3;
      p->position[1] = game->targets.Get(i)->position[1];
    }
    Tick(*game, 0.0);
    EXPECT_EQ(game->GetState(), GAME_STATE_ENDED);
    EXPECT_EQ(game->matchedCount, game->targets.Count());
    game->ComputeGrade();
    EXPECT_DOUBLE_EQ(game->GetGrade(), 1.5);
    const std::string expected = FormatText(GetLangText(22), {1, 0}) + "\n" + FormatText(GetLangText(57), {0}) +
                                 "\n\n" + FormatText(GetLangText(50), {1.5});
    EXPECT_EQ(game->GetResultText(), expected);
    EXPECT_STREQ(game->GetResultTitle(), GetLangText(20));
    EXPECT_STREQ(game->GetDescriptionText(), GetLangText(65));
    EXPECT_NE(game->GetStatisticsText(), nullptr);
  }
  {  // quit with 2 of 6 in place after 30 s: 6 - 2/6 x 5 + 0.5
    auto game = Make(0);
      ASSERT_EQ(game->targets.Count(), 6);
    GameDriver driver(*game);
    for (int i = 0; i < 2; ++i) {
      FitInPlace(*game, i);
      game->pieces.Get(i)->position[0] = game->targets.Get(i)->position[0];
      game->pieces.Get(i)->position[1] = game->targets.Get(i)->position[1];
    }
    Tick(*game, 30.0);
    game->SetState(GAME_STATE_QUIT);
    game->ComputeGrade();
    EXPECT_DOUBLE_EQ(game->GetGrade(), 6.0 - 2.0 / 6.0 * 5.0 + 0.5);
    const std::string first = game->GetResultText();
    EXPECT_NE(first.find(FormatText(GetLangText(50), {6.0 - 2.0 / 6.0 * 5.0 + 0.5})), std::string::npos);
    game->playTime = 600;
    game->ComputeGrade();
    EXPECT_DOUBLE_EQ(game->GetGrade(), 6.0);
    // The page shows the new time and grade.
    const std::string second = game->GetResultText();
    EXPECT_NE(second.find(FormatText(GetLangText(22), {10, 0})), std::string::npos) << second;
    EXPECT_NE(second.find(FormatText(GetLangText(50), {6.0})), std::string::npos) << second;
  }
}

// Picture files that cannot be read: the play ends at once, graded 6.0, and
// counts nowhere.
TEST_F(BilderBastelnTest, AnUnreadablePictureEndsThePlayCleanly) {
  CloseDataFile(app->dataFile);
  std::vector<testdata::Entry> members;
  const std::string good = PictureText(3);
  for (int n = 0; n < SHAPE_PICTURE_COUNT; ++n) {
    const std::string text =
        n % 3 == 0   ? good.substr(0, good.find("SCALE:", good.size() / 2) + 6)  // cut inside an object
        : n % 3 == 1 ? std::string("\x7f\x45LF\x02\x01\x01 ZIELOBJEKT_START \xff\xfe")  // garbage
                     : std::string();                                              // empty
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
    const int playsBefore = app->statistics->playCount;
    {
      auto game = Make(2, picture < 0 ? 5 : picture, true);  // the game itself must keep it out
      EXPECT_FALSE(game->PictureLoaded());
      EXPECT_EQ(game->targets.Count(), 0);
      EXPECT_EQ(game->pieces.Count(), 0);
      EXPECT_NE(game->progressFont, nullptr);
      // Quitting during the countdown: a real grade, not a division by zero.
      game->SetState(GAME_STATE_QUIT);
      game->ComputeGrade();
      EXPECT_EQ(game->GetGrade(), 6.0);
      EXPECT_FALSE(game->IsHighscore());
      game->Start();
      GameDriver driver(*game, false);
      driver.Click(500, 400);
      driver.Key('W');
      Tick(*game);
      EXPECT_EQ(game->GetState(), GAME_STATE_ENDED);
      game->ComputeGrade();
      EXPECT_EQ(game->GetGrade(), 6.0);
      const std::string result = game->GetResultText();
      EXPECT_NE(result.find(FormatText(GetLangText(68), {})), std::string::npos) << result;
      EXPECT_NE(result.find(FormatText(GetLangText(50), {6.0})), std::string::npos) << result;
    }
    GameRecord saved;
    ASSERT_TRUE(saved.LoadFile("bilder.sav"));
    EXPECT_EQ(saved.playCount, 0);
    EXPECT_EQ(app->statistics->playCount, playsBefore);
  }
}

// Whole plays won by the autoplayer through the game's own handlers, on their
// own (several pictures and seeds) and the records they leave.
TEST_F(BilderBastelnTest, AutoplayerWinsAtEveryDifficulty) {
  int plays = 0, fontsAfterFirstPlay = 0;
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
      EXPECT_DOUBLE_EQ(game->GetGrade(), std::min(6.0, 1.0 + game->playTime / 120.0));
      EXPECT_LT(game->GetGrade(), 2.0);
      game.reset();
      ++plays;
      // Each play uses the fonts of the plays before it.
      if (plays == 1) fontsAfterFirstPlay = GetFontManager().fonts.Count();
      EXPECT_EQ(GetFontManager().fonts.Count(), fontsAfterFirstPlay);
      GameRecord saved;
      ASSERT_TRUE(saved.LoadFile("bilder.sav"));
      EXPECT_EQ(saved.playCount, plays);
    }
  }
  EXPECT_EQ(app->statistics->playCount, plays);
}

// ----------------------------------------------------------- through the menu

class BilderBastelnMenuTest : public BilderBastelnTest {
 protected:
  void SetUp() override {
    BilderBastelnTest::SetUp();
    CloseDataFile(app->dataFile);
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
  GUIElement* Visible(GUIElement* e, int id) {
    if (!e) return nullptr;
    if (e->GetId() == id && e->parent) return e;
    for (int i = 0; i < e->children.Count(); ++i)
      if (GUIElement* found = Visible(e->children.Get(i), id)) return found;
    return nullptr;
  }
  // Clicks the middle of the element with this id on the visible page.
  bool ClickElement(int id) {
    for (int slot = 0; slot < GAME_ELEMENT_COUNT; ++slot) {
      GUIElement* e = menu->elementEnabled[slot] ? Visible(menu->elements[slot], id) : nullptr;
      if (!e) continue;
      int x = (e->right - e->x) / 2, y = (e->bottom - e->y) / 2;
      for (GUIElement* p = e; p; p = p->parent) {
        x += p->x;
        y += p->y;
      }
      driver->Click(x, y);
      return true;
    }
    return false;
  }
  DG_Bilder_Basteln* Shapes() { return dynamic_cast<DG_Bilder_Basteln*>(menu->activeGame); }
  void StartFromMenu(int difficulty) {
    ASSERT_TRUE(ClickElement(2));
    ASSERT_TRUE(ClickElement(11 + difficulty));
    ASSERT_TRUE(ClickElement(17));
    ASSERT_EQ(menu->currentPage, 18);
    ASSERT_TRUE(ClickElement(22 + 0));
    ASSERT_NE(Shapes(), nullptr);
    EXPECT_EQ(Shapes()->difficulty, difficulty);
    EXPECT_TRUE(Shapes()->PictureLoaded());
    driver->SkipCountdown();
    ASSERT_TRUE(Shapes()->started);
  }
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

TEST_F(BilderBastelnMenuTest, WonFromTheMenuAtEveryDifficultyAndRecorded) {
  for (int d = 0; d < 3; ++d) {
    SCOPED_TRACE(d);
    StartFromMenu(d);
    AutoplayWin_DG_Bilder_Basteln(*driver);
    ASSERT_EQ(Shapes()->GetState(), GAME_STATE_ENDED);
    const double playTime = Shapes()->playTime;
    ASSERT_TRUE(driver->WaitUntil([this] { return menu->currentPage == 55; }, 3.0));
    ASSERT_NE(menu->gameNameEntry, nullptr);  // a first result enters the top 10
    driver->Type("Ida " + std::to_string(d));
    driver->Key(VK_RETURN);
    EXPECT_EQ(menu->activeGame, nullptr);
    EXPECT_EQ(menu->currentPage, 1);
    GameRecord saved;
    ASSERT_TRUE(saved.LoadFile("bilder.sav"));
    EXPECT_EQ(saved.playCount, d + 1);
    ASSERT_EQ(saved.Entries().Count(), d + 1);
    bool found = false;
    for (int i = 0; i < saved.Entries().Count(); ++i) {
      const HighscoreEntry* e = saved.Entries().Get(i);
      if (std::string(e->name) != "Ida " + std::to_string(d)) continue;
      found = true;
      EXPECT_NEAR(e->grade, 1.0 + playTime / 120.0, 1e-4);
    }
    EXPECT_TRUE(found);
  }
  EXPECT_EQ(app->statistics->playCount, 3);
}

TEST_F(BilderBastelnMenuTest, QuitFromThePauseMenuIsGradedByTheShapesInPlace) {
  StartFromMenu(1);
  DG_Bilder_Basteln* game = Shapes();
  // One shape in its outline, then quit.
  ShapePiece* piece = game->pieces.Get(0);
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
  // 6 - 1/n x 5 + t / 60 is a top-10 grade: the result page asks for a name.
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
  EXPECT_EQ(app->statistics->playCount, 1);
}

// Draws every screen of the game at every difficulty in both languages (the
// pictures are written when DENKAR_SHOT_DIR names a folder).
TEST_F(BilderBastelnMenuTest, EveryScreenDraws) {
  for (int lang = 0; lang < 2; ++lang) {
    testapp::UseLanguage(lang);
    for (int d = 0; d < 3; ++d) {
      const std::string tag = std::string(lang ? "en" : "de") + "_d" + std::to_string(d);
      StartFromMenu(d);
      DG_Bilder_Basteln* game = Shapes();
      Shot(tag + "_1_start");
      ShapePiece* piece = game->pieces.Get(0);
      const ShapePiece* target = game->targets.Get(0);
      driver->Down(X(piece), Y(piece));
      driver->Move((X(piece) + X(target)) / 2, (Y(piece) + Y(target)) / 2);
      Shot(tag + "_2_drag");
      driver->Up(X(target), Y(target));
      driver->Key('S');
      AutoplayWin_DG_Bilder_Basteln(*driver);
      driver->RightClick(5, 760);
      Shot(tag + "_3_solved");
      ASSERT_TRUE(driver->WaitUntil([this] { return menu->currentPage == 55; }, 3.0));
      driver->Type("Tom");
      Shot(tag + "_4_result");
      driver->Key(VK_RETURN);
      ASSERT_EQ(menu->currentPage, 1);
    }
    // A picture that cannot be read: the play says so and ends.
    FILE* data = app->dataFile;
    app->dataFile = nullptr;
    ASSERT_TRUE(ClickElement(2));
    ASSERT_TRUE(ClickElement(11));
    ASSERT_TRUE(ClickElement(17));
    ASSERT_TRUE(ClickElement(22 + 0));
    app->dataFile = data;
    ASSERT_NE(Shapes(), nullptr);
    EXPECT_FALSE(Shapes()->PictureLoaded());
    driver->SkipCountdown();
    driver->Wait(0.5);
    Shot(std::string(lang ? "en" : "de") + "_no_picture_1_play");
    ASSERT_TRUE(driver->WaitUntil([this] { return menu->currentPage == 55; }, 3.0));
    EXPECT_EQ(menu->gameNameEntry, nullptr);  // 6.0 never enters the top 10
    Shot(std::string(lang ? "en" : "de") + "_no_picture_2_result");
    ASSERT_TRUE(ClickElement(56));
    ASSERT_EQ(menu->currentPage, 1);
  }
}

}  // namespace
