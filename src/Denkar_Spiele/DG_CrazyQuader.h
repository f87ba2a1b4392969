// DG_CrazyQuader: the pattern flip game. A large n x n field of squares is
// scrambled by applying random flip patterns; clicking one of the small
// patterns below it flips every square of the field that is set in the
// pattern. The play is won when the field is dark again.
#pragma once
#include <string>
#include "framework/denkar_game.h"
#include "framework/quad_field.h"
#include "util/ptr_list.h"

class DG_CrazyQuader : public Denkar_Game {
 public:
  explicit DG_CrazyQuader(int difficulty);
  ~DG_CrazyQuader() override;

  void Update() override;
  void Render() override;
  void OnLButtonDown(int x, int y) override;
  void OnMouseMove(int, int) override {}
  void OnLButtonUp(int, int) override {}
  void OnKeyUp(int) override {}
  const char* GetDescriptionText() override;
  const char* GetStatisticsText() override;
  const char* GetResultText() override;
  const char* GetResultTitle() override;
  void ComputeGrade() override;

  PtrList<QuadField> patterns{true};
  QuadField* target = nullptr;  // all off, never changed
  QuadField* field = nullptr;   // the player's field
  int n = 3;
  int scheme = 0;
  int moveCount = 0;
  int scrambleCount = 40;

 private:
  void Build();
  void BuildPatterns();
  std::string resultText_;
};
