#include "Denkar_Spiele/autoplay_waage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "Denkar_Spiele/DG_Waage_Game_Fruechte.h"
#include "support/play_driver.h"
#include "util/app_context.h"

std::optional<std::map<Gewicht*, bool>> SolveWaage(Waage& waage) {
  std::vector<Gewicht*> movable;
  int fixedLeft = 0, fixedRight = 0, total = 0;
  auto collect = [&](PtrList<Gewicht>& fruits, int* fixedSum) {
    for (int i = 0; i < fruits.Count(); ++i) {
      Gewicht* fruit = fruits.Get(i);
      if (fruit->movable) {
        movable.push_back(fruit);
        total += fruit->mass;
      } else if (fixedSum) {
        *fixedSum += fruit->mass;
      }
    }
  };
  collect(waage.leftPan, &fixedLeft);
  collect(waage.rightPan, &fixedRight);
  collect(waage.looseRow, nullptr);
  if (Gewicht* held = waage.Held()) {
    movable.push_back(held);
    total += held->mass;
  }
  // The movable fruits on the left must weigh (fixedRight + total - fixedLeft) / 2.
  const int twiceLeft = fixedRight + total - fixedLeft;
  if (twiceLeft < 0 || twiceLeft % 2 != 0 || twiceLeft / 2 > total) return std::nullopt;
  const int want = twiceLeft / 2;
  // reach[i][s]: the first i movable fruits can make s grams on the left.
  const size_t n = movable.size();
  std::vector<std::vector<char>> reach(n + 1, std::vector<char>(total + 1, 0));
  reach[0][0] = 1;
  for (size_t i = 0; i < n; ++i)
    for (int s = 0; s <= total; ++s) {
      if (!reach[i][s]) continue;
      reach[i + 1][s] = 1;
      if (s + movable[i]->mass <= total) reach[i + 1][s + movable[i]->mass] = 1;
    }
  if (!reach[n][want]) return std::nullopt;
  std::map<Gewicht*, bool> toRight;
  int s = want;
  for (size_t i = n; i-- > 0;) {
    const bool right = reach[i][s] != 0;  // reachable without fruit i: it goes right
    toRight[movable[i]] = right;
    if (!right) s -= movable[i]->mass;
  }
  return toRight;
}

namespace {

DG_Waage_Game_Früchte* FruitGame(PlayDriver& driver) {
  return dynamic_cast<DG_Waage_Game_Früchte*>(driver.CurrentGame());
}

bool Running(PlayDriver& driver) {
  DG_Waage_Game_Früchte* game = FruitGame(driver);
  return game && game->GetState() == GAME_STATE_RUNNING;
}

// Whether the fruit lies on the pan of its side.
bool OnItsPan(Waage& waage, Gewicht* fruit, bool right) {
  return (right ? waage.rightPan : waage.leftPan).Contains(fruit);
}

int Round(float v) { return static_cast<int>(std::lround(v)); }

}  // namespace

void AutoplayWaageTask(PlayDriver& driver) {
  const AppContext& app = GetAppContext();
  const int W = app.screenWidth, H = app.screenHeight;
  const int dropY = H / 2 - 80;  // above the pans, well above the lower third
  DG_Waage_Game_Früchte* game = FruitGame(driver);
  // A task already judged: wait for the next one.
  ASSERT_TRUE(driver.WaitUntil([&] { return !Running(driver) || game->feedbackSeconds <= 0.0; }, 5.0));
  if (!Running(driver) || !game->waage) return;
  Waage& waage = *game->waage;
  const std::optional<std::map<Gewicht*, bool>> solution = SolveWaage(waage);
  ASSERT_TRUE(solution.has_value()) << "a task without a solution";
  std::map<Gewicht*, bool> sides = *solution;
  // Gone, or judged: the balance is deleted once the next task is built.
  auto judged = [&] { return !Running(driver) || game->waage != &waage || game->feedbackSeconds > 0.0; };
  while (!judged()) {
    // The next fruit that is not on its pan yet.
    Gewicht* next = nullptr;
    for (const auto& [fruit, right] : sides)
      if (!OnItsPan(waage, fruit, right)) {
        next = fruit;
        break;
      }
    if (!next) {  // all placed: the game judges the task in its next frame
      driver.Wait(1.0 / 60);
      continue;
    }
    // Wait until it has (nearly) come to rest: fruits drop in, the row
    // closes up, the pans turn with the beam.
    ASSERT_TRUE(driver.WaitUntil([&] { return judged() || next->position.Arrived(4.0); }, 5.0));
    if (judged()) return;
    const int x = Round(next->position.x), y = Round(next->position.y - 25.0f);
    driver.Down(x, y);
    Gewicht* held = judged() ? nullptr : waage.Held();
    if (!held || !sides.count(held)) {
      driver.Up(x, y);
      continue;
    }
    // Carry it over its pan in a few steps, then wait until the fruit has
    // followed the mouse well into that half of the screen, above the lower
    // third, as a player would, and let go.
    const bool right = sides[held];
    const int toX = right ? W / 2 + 150 : W / 2 - 150;
    constexpr int STEPS = 8;
    for (int i = 1; i <= STEPS; ++i) {
      driver.Move(x + (toX - x) * i / STEPS, y + (dropY - y) * i / STEPS);
      driver.Wait(1.0 / 60);
    }
    auto overItsPan = [&] {
      const float x = held->position.x, y = held->position.y;
      return y < 2 * H / 3 - 40 && (right ? x > W / 2 + 40 : x < W / 2 - 40);
    };
    driver.WaitUntil([&] { return judged() || waage.Held() != held || overItsPan(); }, 3.0);
    driver.Up(toX, dropY);
  }
}

void AutoplayWin_DG_Waage_Game_Fruechte(PlayDriver& driver) {
  while (Running(driver)) {
    AutoplayWaageTask(driver);
    if (::testing::Test::HasFatalFailure()) return;
  }
}
