// DG_Quadrat_merken: the pattern memory game. Square patterns are shown one
// after the other; then the player rebuilds each from memory on an empty grid
// (a click switches a cell) and confirms it with Enter. A pattern counts as
// remembered when any of the player's grids equals it.
#pragma once
#include <string>
#include "framework/denkar_game.h"
#include "framework/quad_field.h"
#include "util/ptr_list.h"

class DG_Quadrat_merken : public Denkar_Game {
 public:
  explicit DG_Quadrat_merken(int difficulty);
  ~DG_Quadrat_merken() override;

  void Update() override;
  void Render() override;
  void OnLButtonDown(int x, int y) override;
  void OnKeyUp(int key) override;
  void OnLostDevice() override;
  void OnResetDevice() override;
  const char* GetDescriptionText() override;
  const char* GetStatisticsText() override;
  const char* GetResultText() override;
  const char* GetResultTitle() override;
  void ComputeGrade() override;

  int PatternCount() const { return patterns.Count(); }
  // The grid on screen: the pattern being shown, or the answer being built
  // (null once the last answer was confirmed).
  QuadField* CurrentGrid();

  PtrList<QuadField> patterns{true};  // shown patterns, locked, random
  PtrList<QuadField> answers{true};   // the player's grids, one per pattern
  Font* bigFont = nullptr;            // "Arial" 30, owned by the font manager
  int n = 3;
  int scheme = 0;
  int index = 0;            // pattern shown, or answer grid being built
  bool showing = true;      // patterns are being shown (also after the end)
  double stepTimer = 2.0;   // seconds the current pattern is still shown
  double showTime = 3.0;    // seconds each pattern after the first is shown
  int correct = 0;          // patterns found among the answers

 private:
  // Counts the remembered patterns and ends the play.
  void Evaluate();
  std::string resultText_;
  std::string statusText_;  // status line, rebuilt when phase or index change
  int statusKey_ = -1;
  const char* statusFormat_ = nullptr;
};
