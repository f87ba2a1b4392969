// DG_Wechselgeld_Game: giving change. The first field holds the price, the
// second the money paid (always more); the player builds the difference in the
// framed change field with coins and notes dragged from unlimited piles at the
// bottom, and confirms with the button. A task is right when the amount is
// exact, and optimal when the pieces are exactly the greedy split (largest
// denomination first). Amounts are int cents.
#pragma once
#include <string>
#include <vector>

#include "framework/denkar_game.h"
#include "framework/drag_carry.h"
#include "framework/glide.h"
#include "platform/win_types.h"
#include "util/ptr_list.h"

class AppContext;
class Font;

// Denominations in cents, ascending; a game uses the first D of them.
constexpr int MONEY_DENOMINATION_COUNT = 15;
extern const int kMoneyDenominations[MONEY_DENOMINATION_COUNT];

// One coin or note. Its position is its centre; it glides to its target.
class Geldstueck {
 public:
  Geldstueck(int value, float x, float y);
  void Draw() const;
  void Glide(double seconds);
  bool Contains(float px, float py) const;
  bool Arrived(double distance) const { return point.Arrived(distance); }
  void SetTarget(float x, float y) { point.SetTarget(x, y); }

  // Scale on screen: 0.75 for coins (up to 200 cents), 0.5 for notes.
  static double ScaleOf(int value);
  // The picture of a value in texMisc4.
  static RECT ImageOf(int value);

  AppContext* app;
  GlidePoint point;
  int value;
  double scale;
  D3DCOLOR colour = 0xFFFFFFFF;
  // Half the picture's size in image pixels (the hit box is this times the
  // scale, so picture and hit box agree).
  float halfW, halfH;
};

// One pile of the cash drawer: an unlimited supply of one denomination.
// Pieces put back fly to the pile and vanish there.
class Geldstapel {
 public:
  // `slotWidth`: the room the pile has between its neighbours; a picture
  // wider than that is drawn smaller, so piles never cover each other.
  Geldstapel(int value, float x, float y, float slotWidth);
  void Draw();
  bool Contains(float px, float py) const;
  // A new piece of the pile's value at the pile (null when the pile is empty).
  Geldstueck* Take();
  // Takes back a piece of its own value (false for any other value).
  bool Return(Geldstueck* piece);
  void Animate(double seconds);

  float x, y;
  int value;
  int count = -1;  // -1: unlimited
  double scale;    // of the picture on the pile
  D3DCOLOR colour = 0xFFFFFFFF;
  PtrList<Geldstueck> returning{true};
};

// One field of pieces: the price, the money paid or the change.
class Geldfeld {
 public:
  Geldfeld(int kind, bool framed, float left, float top, float right, float bottom);
  // The caption, the frame (of a framed field) and the pieces.
  void Draw();
  void DrawCaption();
  void Animate(double seconds);
  bool Contains(float px, float py) const;
  // The piece joins the field and glides to (x, y).
  void Add(Geldstueck* piece, float x, float y);
  // A random point inside the field.
  void RandomPoint(float* x, float* y) const;
  bool Hit(float px, float py);
  // The topmost piece under the point, taken out of the field (or null).
  Geldstueck* Take(float px, float py);
  int Sum();

  AppContext* app;
  int kind;  // 0 price, 1 paid, 2 change: caption texts 144, 145, 146
  bool framed;
  float left, top, right, bottom;
  Font* font;  // "Arial" 25, owned by the font manager
  PtrList<Geldstueck> pieces{true};
};

// What the button says about the pieces given as change.
struct ChangeVerdict {
  bool right = false;    // the exact amount
  bool optimal = false;  // exactly the pieces of the greedy split
};

class DG_Wechselgeld_Game : public Denkar_Game {
 public:
  explicit DG_Wechselgeld_Game(int difficulty);
  ~DG_Wechselgeld_Game() override;

  void Update() override;
  void Render() override;
  void OnMouseMove(int x, int y) override;
  void OnLButtonDown(int x, int y) override;
  void OnLButtonUp(int x, int y) override;
  void OnLostDevice() override;
  void OnResetDevice() override;
  const char* GetDescriptionText() override;
  const char* GetStatisticsText() override;
  const char* GetResultText() override;
  const char* GetResultTitle() override;
  void ComputeGrade() override;

  // The pieces that top up a payment `rest` cents short of the price (the
  // last piece of the money paid): afterwards the payment is strictly above
  // the price, so the change is never 0.
  static std::vector<int> FillUp(int rest, int denominationCount);
  // The greedy split of `amount` over the first `denominationCount`
  // denominations, largest first.
  static std::vector<int> GreedySplit(int amount, int denominationCount);
  // Judges the values given for `change`.
  static ChangeVerdict JudgeChange(const std::vector<int>& given, int change,
                                   int denominationCount);
  // The button's rectangle.
  RECT ButtonRect() const;
  int Change() const { return secondSum - firstSum; }
  bool HoldsPiece() const;

  Geldfeld* firstField = nullptr;
  Geldfeld* secondField = nullptr;
  Geldfeld* changeField = nullptr;
  PtrList<Geldstapel> piles{true};
  DragCarry<Geldstueck> heldForChange;  // from a pile or from the change field
  DragCarry<Geldstueck> heldInFirst;
  DragCarry<Geldstueck> heldInSecond;
  int pieceCountFirst = 0;   // N1
  int pieceCountSecond = 0;  // N2
  int denominationCount = 0; // D
  int taskCount = 0;         // T
  int firstSum = 0, secondSum = 0;
  int rightCount = 0, optimalCount = 0, tasksDone = 0;
  // Seconds since the button last judged a task: a second confirmation
  // within a double click's time is the same click twice, not a new answer.
  double sinceConfirm = 1e9;

 private:
  void BuildTask();
  void ClearTask();
  void EvaluateTask();
  void DropHeld(int x, int y);
  bool InputOpen() const;
  std::string resultText_;
};
