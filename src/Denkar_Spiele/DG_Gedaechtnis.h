// DG_Gedächtnis: identical round lamps are scattered over the screen; the
// game lights a sequence of them one after the other and the player clicks
// the lamps in the same order. Each correct repetition adds a lamp to the
// sequence and shows it again, faster, since a showing always lasts ten
// seconds. A wrong lamp ends the play; repeating a sequence as long as there
// are lamps wins it.
#pragma once
#include <string>

#include "framework/denkar_game.h"
#include "util/ptr_list.h"

class AppContext;

class Lamp {
 public:
  Lamp(int style, double size, float centreX, float centreY);
  void Draw() const;
  bool Contains(float x, float y) const { return DistanceTo(x, y) <= size / 2; }
  double DistanceTo(float x, float y) const;
  void SetLitTime(double seconds) { litTime = seconds; }
  // Counts the lit time down by the wall-clock frame time.
  void Tick();
  bool Lit() const { return litTime > 0; }

  int style;  // 0 ... 11, the same for all lamps of a play
  AppContext* app;
  double size;
  double litTime = 0.0;
  float centreX, centreY;
};

class DG_Gedächtnis : public Denkar_Game {
 public:
  explicit DG_Gedächtnis(int difficulty);
  ~DG_Gedächtnis() override;

  void Update() override;
  void Render() override;
  void OnLButtonDown(int x, int y) override;
  void OnMouseMove(int x, int y) override { (void)x; (void)y; }
  void OnLButtonUp(int x, int y) override { (void)x; (void)y; }
  void OnRButtonDown(int x, int y) override { (void)x; (void)y; }
  void OnRButtonUp(int x, int y) override { (void)x; (void)y; }
  const char* GetDescriptionText() override;
  const char* GetStatisticsText() override;
  const char* GetResultText() override;
  const char* GetResultTitle() override;
  void ComputeGrade() override;

  int SequenceLength() { return sequence.Count(); }
  // The lamp of sequence step `step` (null outside the sequence).
  Lamp* LampOfStep(int step);

  PtrList<Lamp> lamps{true};
  int lampCount = 20;
  PtrList<int> sequence{true};  // lamp indexes to repeat, in order
  int position = 0;      // showing: next step to show; answering: next expected step
  bool showing = true;   // the game plays the sequence
  double stepTimer = 0.0;
  double showingLength = 10.0;  // seconds of a whole showing

 private:
  void AppendRandomStep();
  std::string resultText_;
  // The second line of the time bar, rebuilt only when it changes.
  std::string barLine_;
  int barKey_ = -1;
};
