// DG_Bilder_Basteln: a picture of grey outlines read from one of the picture
// files "bb_0" ... "bb_12" of the data file, and coloured copies of its shapes
// scattered over the screen at random places, sizes and angles. The player
// drags each shape onto its outline, sizes and turns it with keys; a shape
// close enough in place, size and angle snaps in. The play ends when every
// outline is covered. From difficulty 1 on, shapes that fit nowhere are added.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/denkar_game.h"
#include "util/ptr_list.h"

class AppContext;

constexpr int SHAPE_PICTURE_COUNT = 13;       // "bb_0" ... "bb_12"
constexpr int SHAPE_TYPE_COUNT = 5;           // shape images on the sheet: types 0 ... 4
constexpr double SHAPE_SIZE_MIN = 0.4;        // size factor range of the keys
constexpr double SHAPE_SIZE_MAX = 2.0;
constexpr double SHAPE_SIZE_STEP = 0.1;
constexpr int SHAPE_TURN_STEP = 15;           // degrees per key press
constexpr double SHAPE_SNAP_DISTANCE = 10.0;  // pixels between the centres
constexpr double SHAPE_SNAP_SIZE = 0.05;      // size factor difference

// One shape: an outline of the picture or a piece the player moves.
struct ShapePiece {
  double sizeFactor = 1.0;  // 1.0 = 100 pixels
  AppContext* app = nullptr;
  int type = 0;             // shape number: 0 square, 1 circle, 2 triangle, 3 bar, 4 ring
  int rotation = 0;         // degrees, always 0 ... 359
  float position[2] = {0, 0};  // centre on screen
  float scale[2] = {0, 0};     // extra stretch in x and y

  // Inside the square of +-50 x sizeFactor around the centre (edges
  // included); scale and rotation are not considered.
  bool Contains(float x, float y) const;
  // Same type, centres at most 10 pixels apart, sizes within 0.05, and the
  // angle alike for the shape's symmetry: squares modulo 90, triangles modulo
  // 120 (with the same stretch in y), bars modulo 180, circles and rings at
  // any angle.
  bool Matches(const ShapePiece& target) const;
  void Turn(int degrees);     // keeps the rotation in 0 ... 359
  void Resize(double delta);  // keeps the size factor in 0.4 ... 2.0
  void Draw(uint32_t colour) const;
};

// The shapes a picture file describes.
struct ShapePicture {
  std::vector<ShapePiece> targets;  // the outlines
  std::vector<ShapePiece> extras;   // build shapes that fit nowhere
};

// Reads the text of a picture file. A damaged text (an object left open at the
// end, a value that is not a number, an unknown word inside an object, a shape
// type without an image, a size outside 0.4 ... 2.0) gives false and an empty
// picture, as does a text without any outline.
bool ParseShapePicture(std::string text, ShapePicture* picture);
// Reads picture file "bb_<number>" from the data file through its text stream.
bool LoadShapePicture(FILE* dataFile, int number, ShapePicture* picture);

class DG_Bilder_Basteln : public Denkar_Game {
 public:
  explicit DG_Bilder_Basteln(int difficulty);
  ~DG_Bilder_Basteln() override;

  void Update() override;
  void Render() override;
  void OnMouseMove(int x, int y) override;
  void OnLButtonDown(int x, int y) override;
  void OnLButtonUp(int x, int y) override;
  void OnRButtonUp(int x, int y) override;
  void OnKeyDown(int key) override;
  void OnKeyUp(int key) override { (void)key; }
  const char* GetDescriptionText() override;
  const char* GetStatisticsText() override;
  const char* GetResultText() override;
  const char* GetResultTitle() override;
  void ComputeGrade() override;
  void OnLostDevice() override;
  void OnResetDevice() override;

  // The piece a press at (x, y) takes: the topmost one drawn there (the
  // selected piece is drawn above all others, the rest in list order), or null.
  ShapePiece* PieceAt(float x, float y);
  // The first piece that fills the outline; the piece being held with the
  // button is never counted.
  ShapePiece* MatchFor(const ShapePiece& target);
  // False when the picture file could not be read: the play has no outlines,
  // ends at once, is graded 6.0 and is not recorded.
  bool PictureLoaded() const { return targets.Count() > 0; }

  PtrList<ShapePiece> pieces{true};   // the movable shapes, owned
  PtrList<ShapePiece> targets{true};  // the grey outlines, owned
  ShapePiece* selected = nullptr;
  ShapePiece* lastMoved = nullptr;
  int moveCount = 0;
  bool buttonDown = false;
  Font* progressFont = nullptr;  // "Arial" 30, owned by the font manager
  int matchedCount = 0;
  int pictureNumber = -1;        // the picture file played

 private:
  bool TakesInput() const { return started && state == GAME_STATE_RUNNING; }
  void BuildPieces(const ShapePicture& picture);
  void MovePiece(ShapePiece* piece, float x, float y);
  void ReleaseHeld();
  // Counts the outlines filled and puts every filling piece that is not
  // selected exactly into its outline.
  int SnapMatches();
  const std::string& ProgressText();

  std::string progressText_;
  int progressShown_ = -1;  // matched count the progress text was built for
  struct ResultKey {
    int seconds = -1, moves = -1;
    double grade = -1;
    bool operator==(const ResultKey&) const = default;
  };
  std::string resultText_;
  ResultKey resultShown_;  // what resultText_ was built for
};
