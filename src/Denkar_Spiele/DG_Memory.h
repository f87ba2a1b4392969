// DG_Memory: the pairs game with round cards scattered over the screen. Two
// cards are turned per move; a pair stays open and leaves the game, two
// different cards turn back after two seconds.
#pragma once
#include "framework/denkar_game.h"
#include <string>
#include "util/ptr_list.h"

class AppContext;

class MemoryCard {
 public:
  MemoryCard(int pairId, float centreX, float centreY, double size, int backStyle);
  void Draw() const;
  bool Contains(float x, float y) const { return DistanceTo(x, y) <= size / 2; }
  double DistanceTo(float x, float y) const;
  void Open() { open = true; }
  void Close() { open = false; }
  bool SamePair(const MemoryCard& other) const { return pairId == other.pairId; }

  AppContext* app;
  int pairId;
  bool open = false;
  float centreX, centreY;
  double size;
  int backStyle;
};

class DG_Memory : public Denkar_Game {
 public:
  explicit DG_Memory(int difficulty);
  ~DG_Memory() override;

  void Update() override;
  void Render() override;
  void OnLButtonUp(int x, int y) override;
  void OnLButtonDown(int x, int y) override { (void)x; (void)y; }
  void DrawElement0(ElementDrawInfo) override {}
  const char* GetDescriptionText() override;
  const char* GetStatisticsText() override;
  const char* GetResultText() override;
  const char* GetResultTitle() override;
  void ComputeGrade() override;

  int CardCount() { return remainingCards.Count() + matchedCards.Count(); }

  double turnBackTimer = -1.0;
  MemoryCard* firstCard = nullptr;
  MemoryCard* secondCard = nullptr;
  PtrList<MemoryCard> allCards{true};
  PtrList<MemoryCard> remainingCards{false};
  PtrList<MemoryCard> matchedCards{false};
  int moves = 0;
  int errors = 0;

 private:
  void PlaceCards(int count, double size, int backStyle);
  std::string resultText_;
};
