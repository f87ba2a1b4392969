// DG_Dreieck_rechnen: the number pyramid. The first row shows three or four
// numbers; every brick below combines the two bricks above it with the
// operator written on it; the player works out the value of the last brick,
// types it and confirms with Enter. Ten or twenty pyramids make a play.
#pragma once
#include <string>

#include "framework/answer_box.h"
#include "framework/denkar_game.h"
#include "util/ptr_list.h"

class AppContext;
class Font;

// Operators of a combined brick.
enum SteinOperator { STEIN_PLUS = 0, STEIN_MINUS = 1, STEIN_TIMES = 2, STEIN_DIVIDE = 3 };

// One brick of the pyramid, drawn centred on its position.
class Stein {
 public:
  // A first-row brick with a value of its own.
  Stein(int value, float x, float y);
  // A brick that combines `left` and `right` of the row above (not owned).
  Stein(Stein* left, Stein* right, float x, float y);

  // The operator that combines a left value `a` with a right value `b`: the
  // first of "/" (a / b is a whole number), "*" (a x b at most 100), "-"
  // (a - b not negative) and "+" that fits.
  static int ChooseOperator(int a, int b);
  static int Apply(int op, int a, int b);

  bool Combined() const { return left != nullptr; }
  // Its tile and text, then (for a combined brick) the bricks it combines.
  void Draw(Font* font) const;

  AppContext* app;
  int value;
  Stein* left = nullptr;
  Stein* right = nullptr;
  int op = STEIN_PLUS;
  D3DXVECTOR2 position;
  char label[8] = {};  // what the tile shows: the operator, or a first-row value
};

class DG_Dreieck_rechnen : public Denkar_Game, private AnswerRules {
 public:
  explicit DG_Dreieck_rechnen(int difficulty);
  ~DG_Dreieck_rechnen() override;

  void Update() override;
  void Render() override;
  void OnKeyDown(int key) override { answerBox.OnKeyDown(key); }
  void OnKeyUp(int key) override { answerBox.OnKeyUp(key); }
  void OnLostDevice() override;
  void OnResetDevice() override;
  const char* GetDescriptionText() override;
  const char* GetStatisticsText() override;
  const char* GetResultText() override;
  const char* GetResultTitle() override;
  void ComputeGrade() override;

  // Deletes the bricks and builds a new pyramid of `rows` rows.
  void BuildPyramid();

  PtrList<Stein> bricks{true};
  Stein* top = nullptr;  // the last brick: its value is the answer
  int rows = 3;
  int taskCount = 10;
  Font* pyramidFont = nullptr;  // "Arial" 35, owned by the font manager
  AnswerBox answerBox{*this, *this};

  // Digits of an answer at most (values stay below 400).
  static constexpr int MAX_DIGITS = 3;

 private:
  bool TakesKey(int key, int length) const override;
  bool IsRight(const char* answer) const override;
  std::string ShownAnswer(const char* answer, bool judgedRight) const override;
  std::string CorrectAnswer() const override;
  float TileScale(int typedLength, int shownLength) const override;
  void NextTask() override { BuildPyramid(); }

  std::string resultText_;
};
