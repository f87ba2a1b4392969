// DG_Quadrat_addieren: the pattern addition game. Two or three square
// patterns are joined by "+"; the player picks which of four candidates is
// their sum (a cell is lit in the sum when it is lit in any of them). The
// solution is shown for one second after each answer; ten tasks make a play.
#pragma once
#include <string>
#include "framework/denkar_game.h"
#include "framework/quad_field.h"
#include "util/ptr_list.h"

class DG_Quadrat_addieren : public Denkar_Game {
 public:
  explicit DG_Quadrat_addieren(int difficulty);
  ~DG_Quadrat_addieren() override;

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

  // Place of the solution among the candidates (-1 when there is none).
  int SolutionIndex();

  PtrList<QuadField> summands{true};
  PtrList<QuadField> choices{true};
  PtrList<D3DXVECTOR2> plusPositions{true};
  PtrList<D3DXVECTOR2> labelPositions{true};
  QuadCell* litSample = nullptr;
  QuadCell* unlitSample = nullptr;
  QuadField* solution = nullptr;  // one of the choices
  int n = 3;
  int summandCount = 2;
  int choiceCount = 4;
  int scheme = 0;
  int correct = 0;
  int wrong = 0;
  int taskCount = 10;
  double feedbackTimer = 0.0;  // > 0: the solution is being shown

 private:
  void NewTask();
  // Draws the wrong candidates again until none equals the solution or
  // another candidate, so exactly one candidate is right.
  void MakeCandidatesDistinct();
  std::string resultText_;
  std::string labels_[26];
};
