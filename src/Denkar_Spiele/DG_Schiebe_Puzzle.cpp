#include "Denkar_Spiele/DG_Schiebe_Puzzle.h"

#include <algorithm>
#include <utility>

#include "data/language.h"
#include "framework/glide.h"
#include "framework/time_bar.h"
#include "platform/crt_rand.h"
#include "util/app_context.h"
#include "util/format_text.h"

namespace {
// A shuffle walk can, rarely, lead every tile back home; such a board is
// shuffled again (a few times at most, which is plenty).
constexpr int MAX_SHUFFLES = 10;
// Glide rate of a tile after a slide (share of the way per second).
constexpr double SLIDE_SPEED = 5.0;
}  // namespace

void PuzzleTile::Draw() const {
  const int q = 200 / n;
  const RECT source{homeColumn * q + picture * 200, homeRow * q + 500,
                    (homeColumn + 1) * q + picture * 200, (homeRow + 1) * q + 500};
  const D3DXVECTOR2 scale{size[0] / q, size[1] / q};
  const D3DXVECTOR2 shadow{position[0] + 3, position[1] + 3};
  app->DrawSprite(app->texMisc1, &source, &scale, nullptr, 0, &shadow, 0x9F000000);
  const D3DXVECTOR2 at{position[0], position[1]};
  app->DrawSprite(app->texMisc1, &source, &scale, nullptr, 0, &at, 0xFFFFFFFF);
}

DG_Schiebe_Puzzle::DG_Schiebe_Puzzle(int difficulty_) : Denkar_Game(difficulty_, "puzzle.sav") {
  const int level = std::clamp(difficulty_, 0, 2);
  n = 3 + level;
  shuffleMoves = 50 * (level + 1);
  moveCount = 0;
  playTime = 0.0;

  const int s = (400 - 3 * n) / n;  // 130, 97, 77
  const int step = s + 3;
  const int picture = CrtRand() % 3;
  const int W = app->screenWidth, H = app->screenHeight;
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      PuzzleTile tile;
      tile.app = app;
      tile.isGap = i == n - 1 && j == n - 1;
      tile.homeColumn = i;
      tile.homeRow = j;
      tile.n = n;
      tile.size[0] = tile.size[1] = static_cast<float>(s);
      tile.picture = picture;
      tile.speed = 0;
      tile.position[0] = tile.target[0] = static_cast<float>(W / 2 - 420 + step * i);
      tile.position[1] = tile.target[1] = static_cast<float>(H / 2 - 200 + step * j);
      board[i][j] = tile;
      tile.position[0] = tile.target[0] = static_cast<float>(W / 2 + 20 + step * i);
      reference[i][j] = tile;
    }
  }
  for (int tries = 0; tries < MAX_SHUFFLES && (tries == 0 || IsSolved()); ++tries) Shuffle();
  invalidClicks = 0;
  state = GAME_STATE_RUNNING;
}

void DG_Schiebe_Puzzle::Shuffle() {
  PuzzlePlace gap = GapPlace();
  shufflePath.assign(1, gap);
  // Moves of the gap by direction, and the direction that would undo each.
  static constexpr int dColumn[4] = {1, -1, 0, 0};
  static constexpr int dRow[4] = {0, 0, 1, -1};
  static constexpr int undoes[4] = {1, 0, 3, 2};
  int last = 1;
  for (int move = 0; move < shuffleMoves; ++move) {
    std::vector<int> order = {0, 1, 2, 3};
    for (int k = 0; k < 10; ++k) {
      const int at = CrtRand() % 4;
      const int direction = order[at];
      order.erase(order.begin() + at);
      order.push_back(direction);
    }
    for (int direction : order) {
      if (undoes[direction] == last) continue;
      const PuzzlePlace next{gap.column + dColumn[direction], gap.row + dRow[direction]};
      if (!OnBoard(next.column, next.row)) continue;
      Slide(gap.column, gap.row, next.column, next.row);
      gap = next;
      shufflePath.push_back(gap);
      last = direction;
      break;
    }
  }
}

bool DG_Schiebe_Puzzle::Slide(int a, int b, int c, int d) {
  if (!OnBoard(a, b) || !OnBoard(c, d)) return false;
  PuzzleTile& first = board[a][b];
  PuzzleTile& second = board[c][d];
  if (!first.isGap && !second.isGap) return false;
  std::swap(first.target, second.target);
  first.speed = second.speed = SLIDE_SPEED;
  std::swap(first, second);
  return true;
}

bool DG_Schiebe_Puzzle::TileAt(int x, int y, PuzzlePlace* place) const {
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j)
      if (board[i][j].Contains(x, y)) {
        *place = PuzzlePlace{i, j};
        return true;
      }
  return false;
}

bool DG_Schiebe_Puzzle::IsSolved() const { return DisplacedTiles() == 0; }

int DG_Schiebe_Puzzle::DisplacedTiles() const {
  int displaced = 0;
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j)
      if (!board[i][j].AtHome(i, j)) ++displaced;
  return displaced;
}

PuzzlePlace DG_Schiebe_Puzzle::GapPlace() const {
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j)
      if (board[i][j].isGap) return PuzzlePlace{i, j};
  return PuzzlePlace{n - 1, n - 1};
}

void DG_Schiebe_Puzzle::OnLButtonUp(int x, int y) {
  // Only a running play takes clicks: not before the start, not after the
  // solve, not while paused or after a quit.
  if (!started || state != GAME_STATE_RUNNING || IsSolved()) return;
  PuzzlePlace at;
  if (!TileAt(x, y, &at)) return;
  ++moveCount;
  const int i = at.column, j = at.row;
  if (Slide(i, j, i + 1, j) || Slide(i, j, i - 1, j) || Slide(i, j, i, j + 1) ||
      Slide(i, j, i, j - 1)) {
    if (IsSolved()) state = GAME_STATE_ENDED;  // no further click counts
    return;
  }
  --moveCount;
  ++invalidClicks;
}

void DG_Schiebe_Puzzle::Update() {
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      PuzzleTile& tile = board[i][j];
      for (int k = 0; k < 2; ++k)
        tile.position[k] =
            GlideToward(tile.position[k], tile.target[k], app->realFrameTime, tile.speed);
    }
  if (state == GAME_STATE_RUNNING && IsSolved()) state = GAME_STATE_ENDED;
  if (state == GAME_STATE_RUNNING && started) playTime += app->frameTime;
  record.playTime += app->frameTime;
}

void DG_Schiebe_Puzzle::ComputeGrade() {
  if (state == GAME_STATE_ENDED) {
    grade = std::min(6.0, moveCount / (2.0 * shuffleMoves) + 1.0 + playTime / 240.0 +
                              invalidClicks / 10.0);
    return;
  }
  const double w = DisplacedTiles();
  grade = std::clamp(w / (n * n) * 5.0 + 1.0 + playTime / 120.0 + invalidClicks / 10.0, 1.0, 6.0);
}

const char* DG_Schiebe_Puzzle::GetDescriptionText() { return GetLangText(74); }
const char* DG_Schiebe_Puzzle::GetResultTitle() { return GetLangText(17); }
const char* DG_Schiebe_Puzzle::GetStatisticsText() { return BuildStatisticsText(); }

const char* DG_Schiebe_Puzzle::GetResultText() {
  resultText_ = PlayTimeLine();
  resultText_ += FormatText(GetLangText(29), {shuffleMoves}) + "\n";
  resultText_ += FormatText(GetLangText(27), {moveCount}) + "\n";
  resultText_ += FormatText(GetLangText(28), {invalidClicks}) + "\n\n";
  resultText_ += FormatText(GetLangText(50), {grade});
  return resultText_.c_str();
}

void DG_Schiebe_Puzzle::Render() {
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      if (!board[i][j].isGap) board[i][j].Draw();
      if (!reference[i][j].isGap) reference[i][j].Draw();
    }
  if (started && state == GAME_STATE_RUNNING) DrawTimeBar(playTime, font);
}
