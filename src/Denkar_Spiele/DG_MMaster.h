// DG_MMaster: the colour code game. A hidden row of 4 (5 on the hardest
// level) pegs in six colours is to be found in at most 8 guess rows. The
// player drags pegs from the palette into the holes of the current row and
// presses the row's answer box: a black pin for every right colour in the
// right place, a white pin for every further colour that occurs in the code.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "framework/denkar_game.h"
#include "framework/drag_carry.h"
#include "framework/glide.h"
#include "platform/win_types.h"
#include "util/ptr_list.h"

class AppContext;

// Peg colours: 0 ... 5 play, 6 an empty pin (invisible), 7 a white pin, 8 a
// black pin.
constexpr int MM_PLAY_COLOURS = 6;
constexpr int MM_EMPTY_PIN = 6;
constexpr int MM_WHITE_PIN = 7;
constexpr int MM_BLACK_PIN = 8;

class MMPeg {
 public:
  MMPeg(int colour, float x, float y);
  // `dimmed`: red, green and blue at two thirds (never for white and black pins).
  void Draw(bool dimmed) const;
  void Glide(double seconds);
  static D3DCOLOR TintOf(int colour, bool dimmed);

  AppContext* app;
  GlidePoint point;  // the peg's centre and where it glides to
  int colour;
  float size = 1.0f;  // drawn at this share of the 40-pixel picture
};

class MMHole {
 public:
  MMHole(float x, float y);
  ~MMHole() { delete peg; }
  MMHole(const MMHole&) = delete;
  MMHole& operator=(const MMHole&) = delete;
  int Colour() const { return peg ? peg->colour : MM_EMPTY_PIN; }
  // Puts `peg` in an empty hole (it glides there); false when occupied.
  bool Place(MMPeg* newPeg);
  bool Near(float px, float py, float reach) const;

  AppContext* app;
  float x, y;
  MMPeg* peg = nullptr;  // owned
};

class MMAnswerBox {
 public:
  MMAnswerBox(float x, float y);
  // Adds a pin for the peg at `position`: with `positional` it takes that
  // pin's place (if still empty), otherwise it goes to the front.
  void AddPin(int colour, int position, bool positional);
  // Lays the pins out around the box and lets them glide.
  void Animate(double seconds);
  bool Near(float px, float py, float reach) const;
  MMPeg* NewPin(int colour) const;

  AppContext* app;
  int white = 0, black = 0;
  float x, y;
  PtrList<MMPeg> pins{true};
};

class DG_MMaster : public Denkar_Game {
 public:
  explicit DG_MMaster(int difficulty);
  ~DG_MMaster() override;

  void Update() override;
  void Render() override;
  void OnMouseMove(int x, int y) override;
  void OnLButtonDown(int x, int y) override;
  void OnLButtonUp(int x, int y) override;
  const char* GetDescriptionText() override;
  const char* GetStatisticsText() override;
  const char* GetResultText() override;
  const char* GetResultTitle() override;
  void ComputeGrade() override;

  // The pins a guess earns against the code, in the order they are added:
  // (position of the rated peg, MM_BLACK_PIN or MM_WHITE_PIN).
  static std::vector<std::pair<int, int>> RateGuess(const std::vector<int>& guess,
                                                    const std::vector<int>& code);
  PtrList<MMHole>* Row(int r) { return guessRows.Get(r); }
  PtrList<MMHole>* CurrentRow() { return Row(currentRow); }
  MMAnswerBox* CurrentBox() { return answerBoxes.Get(currentRow); }
  std::vector<int> Code();
  // Where the palette peg at index `slot` stands.
  void PaletteSpot(int slot, float* x, float* y) const;
  // Input counts only while the row being filled exists and no end is shown.
  bool InputOpen() const;

  PtrList<MMHole> secretRow{true};
  PtrList<PtrList<MMHole>> guessRows{true};  // row 0 at the bottom
  PtrList<MMAnswerBox> answerBoxes{true};    // one per guess row
  PtrList<MMPeg> palette{true};
  DragCarry<MMPeg> heldPeg;  // the peg carried with the mouse (owned while held)
  int pegCount = 4;
  int rowCount = 8;
  int currentRow = 0;  // the row being filled; also the rows evaluated
  bool buttonHeld = false;
  bool positionalPins = false;
  double endTimer = 0;  // seconds left of the final display
  bool solved = false;

 private:
  void BuildBoard();
  void EvaluateRow();
  void DropHeldPeg(int x, int y);
  std::string resultText_;
};
