// DG_Waage_Game_Früchte: the fruit balance. A beam balance stands in the
// middle of the screen with some fixed fruits on its pans; the player drags
// the loose fruits from the row below onto the pans until no loose fruit is
// left and both pans carry the same mass. Every task has a time limit; a play
// is a fixed number of tasks.
#pragma once
#include <string>

#include "framework/denkar_game.h"
#include "framework/drag_carry.h"
#include "framework/glide.h"
#include "platform/render_device.h"
#include "util/ptr_list.h"

class AppContext;

// The fruit masses in grams, ascending.
constexpr int WAAGE_MASS_COUNT = 6;
constexpr int WAAGE_MASSES[WAAGE_MASS_COUNT] = {25, 50, 100, 250, 500, 1000};

// One fruit on a pan, in the loose row or in the player's hand. Its position
// is its bottom centre; it glides towards its target.
class Gewicht {
 public:
  // Share of the remaining way a fruit covers per second.
  static constexpr double GLIDE_RATE = 5.0;

  // A fruit of `mass` grams (one of WAAGE_MASSES) standing at (x, y). 50 g
  // and 250 g fruits draw one of two pictures at random.
  Gewicht(int mass, bool movable, float x, float y);
  // One frame of the glide towards the target.
  void Glide(double frameTime) { position.Step(frameTime, GLIDE_RATE); }
  void Draw();
  bool Contains(float x, float y) const;

  int imageIndex = 0;  // 0 ... 7, the picture in texMisc4
  AppContext* app = nullptr;
  bool movable = true;  // fixed fruits cannot be picked up
  GlidePoint position;  // where it is and where it goes
  int mass = 0;
  double scale = 0.5;

 private:
  char label_[16] = {};  // "%dg", made once
};

// The balance with its two pans and the row of loose fruits below it; it
// owns every fruit, also the one being held.
class Waage {
 public:
  explicit Waage(int difficulty);
  ~Waage();
  Waage(const Waage&) = delete;
  Waage& operator=(const Waage&) = delete;

  // true with probability p (p in 0 ... 1), from one draw of the generator.
  static bool Chance(double p);

  // One frame: pan masses, glides of every fruit, the tilt towards its target
  // and the new layout.
  void Update();
  // Pan centres from the tilt, and the targets of the fruits on the pans and
  // in the row.
  void Layout();
  // Solved: nothing held, no loose fruit left, both pans carry the same mass.
  bool Balanced();
  void MouseDown(int x, int y);
  void MouseMove(int x, int y);
  void MouseUp();
  void Draw();

  int LeftMass();
  int RightMass();
  // The tilt the beam turns towards for the current pan masses (degrees,
  // positive lowers the right pan; 0 when both carry the same mass).
  double TargetTiltFor(int left, int right) const;
  // Where the beam image is drawn: rotated by the tilt about its pivot.
  Matrix2D BeamTransform() const;
  // `offset` from the screen centre turned by the tilt, as a screen point.
  D3DXVECTOR2 Rotated(D3DXVECTOR2 offset) const;

  double tilt = 0.0;        // degrees, positive lowers the right pan
  double targetTilt = 0.0;  // degrees
  AppContext* app = nullptr;
  PtrList<Gewicht> rightPan{true};
  PtrList<Gewicht> leftPan{true};
  PtrList<Gewicht> looseRow{true};
  D3DXVECTOR2 leftPanCentre{}, rightPanCentre{};
  // The fruit being moved (owned by the balance while held, in no list) and
  // the last mouse position.
  DragCarry<Gewicht> carry;
  bool buttonDown = false;

  Gewicht* Held() const { return carry.Held(); }

 private:
  void Fill(int leastLoose, double pFixed, double pSplit);
  // Where the beam image's top-left corner goes before it is turned.
  D3DXVECTOR2 BeamPlace() const;
  // A new fruit of `mass`: fixed on `pan` with probability pFixed, else loose.
  void AddFruit(int mass, PtrList<Gewicht>& pan, double pFixed);
};

class DG_Waage_Game_Früchte : public Denkar_Game {
 public:
  explicit DG_Waage_Game_Früchte(int difficulty);
  ~DG_Waage_Game_Früchte() override;

  void Update() override;
  void Render() override;
  void OnMouseMove(int x, int y) override;
  void OnLButtonDown(int x, int y) override;
  void OnLButtonUp(int x, int y) override;
  void OnKeyDown(int) override {}
  void OnKeyUp(int) override {}
  const char* GetDescriptionText() override;
  const char* GetStatisticsText() override;
  const char* GetResultText() override;
  const char* GetResultTitle() override;
  void ComputeGrade() override;

  Waage* waage = nullptr;
  int taskCount = 5;
  int rightCount = 0;
  int wrongCount = 0;
  double timeUsedSum = 0.0;  // seconds used by the judged tasks
  double timeLeft = 0.0;
  double timeLimit = 0.0;
  double feedbackSeconds = 0.0;  // the pause after a judged task
  bool lastTaskRight = false;    // how the task on screen was judged

 private:
  void BuildTask();
  bool TakesInput() const;
  std::string resultText_;
  std::string timeLeftText_;
  int timeLeftShown_ = -1;  // whole seconds timeLeftText_ was made for
};
