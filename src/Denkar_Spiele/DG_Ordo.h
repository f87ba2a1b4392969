// DG_Ordo: the hidden atoms box. Atoms hide in an 8 x 8 box; rays sent in
// from the 32 entry points around it are absorbed, turned or reflected by
// them, and the player marks the cells believed to hold atoms and has the
// marks checked. On the easiest difficulty every fired ray is traced again
// against the marks after each click and flagged when they disagree.
#pragma once
#include <functional>
#include <string>

#include "framework/denkar_game.h"

class AppContext;
class DG_Ordo;

constexpr int ORDO_SIZE = 8;
constexpr int ORDO_RAY_COUNT = 32;

// Grid coordinates: columns and rows 0 ... 7 inside the box; -1 and 8 are the
// entry points around it.
struct OrdoPoint {
  int column = 0, row = 0;
  bool operator==(const OrdoPoint&) const = default;
};

struct OrdoCell {
  AppContext* app = nullptr;
  float x = 0, y = 0;  // centre
  bool marked = false;
  bool atom = false;
};

// How a ray ends: absorbed by the cell `at`, reflected at its entry by the
// cell `at`, or out of the box at the entry point `at`.
struct OrdoTrace {
  enum Outcome { Absorbed, Reflected, Exit };
  Outcome outcome = Absorbed;
  OrdoPoint at;
  int steps = 0;
};

// One entry point and the result of the ray fired there (or of a ray that
// left the box there).
struct OrdoRay {
  AppContext* app = nullptr;
  float x = 0, y = 0;  // centre of the entry marker
  int entryColumn = 0, entryRow = 0;
  bool reflected = false;
  int reflector[2] = {};
  bool absorbed = false;
  int absorber[2] = {};
  bool fired = false;  // this entry shows a result
  int steps = 0;
  uint32_t colour = 0;
  OrdoRay* exitRay = nullptr;
  int exit[2] = {};
  bool mismatch = false;
  DG_Ordo* game = nullptr;

  OrdoPoint Entry() const { return OrdoPoint{entryColumn, entryRow}; }
};

class DG_Ordo : public Denkar_Game {
 public:
  explicit DG_Ordo(int difficulty);
  ~DG_Ordo() override;

  void Update() override;
  void Render() override;
  void OnLButtonDown(int x, int y) override;
  void OnLButtonUp(int x, int y) override;
  void OnLostDevice() override;
  void OnResetDevice() override;
  const char* GetDescriptionText() override;
  const char* GetStatisticsText() override;
  const char* GetResultText() override;
  const char* GetResultTitle() override;
  void ComputeGrade() override;
  void DrawDescription(ElementDrawInfo info, Font* drawFont) override;

  // The colour of the e-th fired ray: red, green and blue each in four
  // steps, so the colours repeat after 64 rays.
  static uint32_t RayColour(int e);
  // Traces a ray from `entry` through a box whose occupied cells are given.
  static OrdoTrace Trace(OrdoPoint entry, const std::function<bool(int, int)>& occupied);
  // Places `count` atoms at free cells drawn by `draw` (each call: a column,
  // then a row, as rand() mod 8); when the draws keep hitting taken cells,
  // the rest go to the first free cells.
  void PlaceAtoms(int count, const std::function<int()>& draw);
  // Fires the ray at entry point `index` (nothing when it shows a result).
  void FireRay(int index);
  // Traces every fired ray against the marks and flags those that differ.
  void RecheckRays();
  // The ray of an entry point, or null.
  OrdoRay* RayAt(OrdoPoint entry);
  bool HasAtom(int column, int row) const;
  // Check button rectangle.
  RECT CheckButton() const;
  // The player pressed the check button; input is over from then on.
  bool Checked() const { return checked_; }

  Font* descriptionFont = nullptr;  // "Comic Sans MS" 17, owned; the instructions
  bool immediateCheck = false;
  int atomCount = 5;
  int markedCount = 0;
  bool solved = false;
  int rayCounter = 0;
  double endTimer = 0;
  OrdoCell cells[ORDO_SIZE][ORDO_SIZE];  // [column][row]
  OrdoRay rays[ORDO_RAY_COUNT];  // left rows 0..7, right, top columns 0..7, bottom

 private:
  bool TakesInput() const;
  void DrawTile(float centreX, float centreY, uint32_t colour, const RECT& source) const;
  bool checked_ = false;
  int countsShown_ = -1;  // marked count of countsText_
  std::string countsText_;
  std::string resultText_;
};
