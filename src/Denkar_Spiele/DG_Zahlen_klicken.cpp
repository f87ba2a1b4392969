#include "Denkar_Spiele/DG_Zahlen_klicken.h"

#include <algorithm>
#include <cstdlib>

#include "data/language.h"
#include "framework/time_bar.h"
#include "gfx/font.h"
#include "platform/crt_rand.h"
#include "util/app_context.h"
#include "util/format_text.h"

namespace {

constexpr int TILE_PITCH = 54;
constexpr int TILE_HALF = 25;
constexpr int NUMBER_RANGE = 20;
// Draws of one tile's number before the next unused number is taken instead.
constexpr int MAX_DRAWS_PER_NUMBER = 1000;
constexpr double BOARD_PAUSE = 1.0;

// The drawn numbers, made once.
const char* const NUMBER_TEXT[NUMBER_RANGE] = {"0",  "1",  "2",  "3",  "4",  "5",  "6",
                                               "7",  "8",  "9",  "10", "11", "12", "13",
                                               "14", "15", "16", "17", "18", "19"};

}  // namespace

NumberTile::NumberTile(int number_, float x_, float y_)
    : app(&GetAppContext()), x(x_), y(y_), number(number_) {}

bool NumberTile::Contains(int px, int py) const {
  return std::abs(px - x) <= TILE_HALF && std::abs(py - y) <= TILE_HALF;
}

void NumberTile::Draw() const {
  const RECT source{550, 0, 600, 50};
  const D3DXVECTOR2 position{x - TILE_HALF, y - TILE_HALF};
  app->DrawSprite(app->texMisc1, &source, nullptr, nullptr, 0, &position, 0xFFFFFFFF);
  const char* text = number >= 0 && number < NUMBER_RANGE ? NUMBER_TEXT[number] : "";
  GetFontManager().DrawTextAt(text, x, y, clicked ? 0xFFFF0000 : 0xFF000000,
                              DT_CENTER | DT_VCENTER, -1);
}

DG_Zahlen_klicken::DG_Zahlen_klicken(int difficulty_)
    : Denkar_Game(difficulty_, "zahlenklicken.sav") {
  switch (difficulty_) {
    case 1: gridSize = 3; orderMode = 1; break;
    case 2: gridSize = 4; orderMode = 2; break;
    default: gridSize = 2; orderMode = 0; break;
  }
  boards = 10;
  cleanBoards = faultyBoards = wrongClicks = 0;
  boardDelay = 0.0;
  state = GAME_STATE_RUNNING;
  playTime = 0.0;
  NewBoard();
}

DG_Zahlen_klicken::~DG_Zahlen_klicken() { tiles.Clear(); }

void DG_Zahlen_klicken::NewBoard() {
  tiles.Clear();
  nextIndex = 0;
  boardClean = true;
  ascending = orderMode == 0 || (orderMode == 2 && CrtRand() % 2 != 0);
  const int W = app->screenWidth, H = app->screenHeight;
  const double ox = W / 2 - gridSize / 2.0 * TILE_PITCH + 27;
  const double oy = H / 2 - gridSize / 2.0 * TILE_PITCH + 27;
  bool used[NUMBER_RANGE] = {};
  for (int i = 0; i < gridSize; ++i) {
    for (int j = 0; j < gridSize; ++j) {
      int number = CrtRand() % NUMBER_RANGE;
      for (int draw = 1; used[number] && draw < MAX_DRAWS_PER_NUMBER; ++draw)
        number = CrtRand() % NUMBER_RANGE;
      // Bounded fallback: the next unused number (a grid never holds more
      // than 16 of the 20).
      for (int step = 0; used[number] && step < NUMBER_RANGE; ++step)
        number = (number + 1) % NUMBER_RANGE;
      used[number] = true;
      NumberTile* tile = new NumberTile(number, static_cast<float>(ox + i * TILE_PITCH),
                                        static_cast<float>(oy + j * TILE_PITCH));
      int position = 0;
      while (position < tiles.Count()) {
        const int other = tiles.Get(position)->number;
        if (ascending ? other > number : other < number) break;
        ++position;
      }
      tiles.Insert(tile, false, position);
    }
  }
}

void DG_Zahlen_klicken::OnLButtonDown(int x, int y) {
  if (!started || state != GAME_STATE_RUNNING || boardDelay > 0) return;
  x &= 0xFFFF;
  y &= 0xFFFF;
  int hit = -1;
  for (int i = 0; i < tiles.Count(); ++i)
    if (tiles.Get(i)->Contains(x, y)) {
      hit = i;
      break;
    }
  if (hit < 0) return;  // a gap between tiles, or beside the grid
  const bool correct = hit == nextIndex;
  boardClean = boardClean && correct;
  if (correct) {
    tiles.RemoveAt(hit, true);
  } else {
    tiles.Get(hit)->clicked = true;
    ++wrongClicks;
  }
  if (tiles.Count() == 0) {
    boardDelay = BOARD_PAUSE;
    if (boardClean) ++cleanBoards;
    else ++faultyBoards;
  }
}

void DG_Zahlen_klicken::Update() {
  const double t = app->frameTime;
  // Boards follow each other only while the play runs: a quit play stays as
  // it was left.
  if (started && state == GAME_STATE_RUNNING) {
    if (boardDelay > 0) {
      boardDelay -= t;
      if (boardDelay <= 0) {
        boardDelay = 0;
        if (FinishedBoards() < boards) NewBoard();
        else state = GAME_STATE_ENDED;
      }
    } else {
      playTime += t;
    }
  }
  record.playTime += t;
}

void DG_Zahlen_klicken::ComputeGrade() {
  const int finished = FinishedBoards();
  if (state == GAME_STATE_ENDED) {
    grade = static_cast<double>(faultyBoards) / std::max(boards, 1) * 5.0 + 1.0 + playTime / 60.0;
  } else if (finished == 0) {
    grade = 6.0;
  } else {
    grade = static_cast<double>(faultyBoards) / finished * 10.0 + 1.0 + playTime / 60.0;
  }
  grade = std::min(grade, 6.0);
}

const char* DG_Zahlen_klicken::GetDescriptionText() { return GetLangText(121); }
const char* DG_Zahlen_klicken::GetResultTitle() { return GetLangText(120); }
const char* DG_Zahlen_klicken::GetStatisticsText() { return BuildStatisticsText(); }

const char* DG_Zahlen_klicken::GetResultText() {
  const int finished = FinishedBoards();
  const int percent = finished > 0 ? static_cast<int>(100.0 * cleanBoards / finished) : 0;
  const double perBoard = finished > 0 ? playTime / finished : 0.0;
  resultText_ = PlayTimeLine();
  resultText_ += FormatTextWin(GetLangText(124), {wrongClicks}) + "\n";
  resultText_ += FormatTextWin(GetLangText(30), {cleanBoards}) + "\n";
  resultText_ += FormatTextWin(GetLangText(31), {faultyBoards}) + "\n";
  resultText_ += FormatTextWin(GetLangText(32), {percent}) + "\n\n";
  resultText_ += FormatText(GetLangText(41), {perBoard}) + "\n";
  resultText_ += FormatText(GetLangText(50), {grade});
  return resultText_.c_str();
}

void DG_Zahlen_klicken::Render() {
  if (!started) return;  // the countdown shows no tiles
  if (state == GAME_STATE_RUNNING) {
    DrawTimeBar(playTime, font, true);
    const int left = app->screenWidth / 2 - 150;
    TextItem item;
    item.text = GetLangText(ascending ? 122 : 123);
    item.rect = RECT{left, 50, left + 300, 100};
    item.colour = 0xFF000000;
    item.format = DT_CENTER | DT_VCENTER;
    item.font = font;
    if (item.text) fontManager->DrawTextItem(item);
  }
  for (int i = 0; i < tiles.Count(); ++i) tiles.Get(i)->Draw();
}
