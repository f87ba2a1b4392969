#include "Denkar_Spiele/DG_Ordo.h"

#include <algorithm>
#include <cmath>

#include "data/language.h"
#include "framework/time_bar.h"
#include "gfx/font.h"
#include "platform/crt_rand.h"
#include "util/app_context.h"
#include "util/format_text.h"

namespace {
// Directions: 0 up (row - 1), 1 down (row + 1), 2 right (column + 1), 3 left.
constexpr int kColumnStep[4] = {0, 0, 1, -1};
constexpr int kRowStep[4] = {-1, 1, 0, 0};
constexpr int kOpposite[4] = {1, 0, 3, 2};
// The two cells diagonally ahead of the ray, as offsets from its place, and
// the direction an atom in each of them turns it to.
constexpr int kDiagonalA[4][2] = {{-1, -1}, {-1, 1}, {1, -1}, {-1, -1}};
constexpr int kTurnA[4] = {2, 2, 1, 1};
constexpr int kDiagonalB[4][2] = {{1, -1}, {1, 1}, {1, 1}, {-1, 1}};
constexpr int kTurnB[4] = {3, 3, 0, 0};
// A ray visits each cell at most once per direction, so no trace can take
// more steps than this; the bound only guards the loop.
constexpr int MAX_TRACE_STEPS = ORDO_SIZE * ORDO_SIZE * 4;
// Atom draws before the remaining atoms go to the first free cells.
constexpr int MAX_ATOM_DRAWS = 10000;
// Half the edge of a cell or entry marker: the click area around its centre.
constexpr int HALF_CELL = 25;
constexpr double SOLVED_REVEAL_SECONDS = 2.0;
constexpr double FAILED_REVEAL_SECONDS = 4.0;

bool InBox(int column, int row) {
  return column >= 0 && column < ORDO_SIZE && row >= 0 && row < ORDO_SIZE;
}

bool Near(float centreX, float centreY, int x, int y) {
  return std::abs(x - centreX) <= HALF_CELL && std::abs(y - centreY) <= HALF_CELL;
}
}  // namespace

DG_Ordo::DG_Ordo(int difficulty_) : Denkar_Game(difficulty_, "thinkbox.sav") {
  descriptionFont = new Font("Comic Sans MS", 17, -1);
  atomCount = difficulty_ >= 2 ? 8 : 5;
  immediateCheck = difficulty_ <= 0;

  endTimer = 0;
  playTime = 0;
  rayCounter = 0;
  solved = false;
  markedCount = 0;
  const int W = app->screenWidth, H = app->screenHeight;
  for (int i = 0; i < ORDO_SIZE; ++i)
    for (int j = 0; j < ORDO_SIZE; ++j) {
      OrdoCell& cell = cells[i][j];
      cell = OrdoCell{};
      cell.app = app;
      cell.x = static_cast<float>(W / 2 + 50 * i - 150);
      cell.y = static_cast<float>(H / 2 + 50 * j - 150);
    }
  PlaceAtoms(atomCount, [] { return CrtRand(); });
  for (int k = 0; k < ORDO_SIZE; ++k) {
    const struct {
      int index, column, row, x, y;
    } sides[4] = {
        {k, -1, k, W / 2 - 220, H / 2 + 50 * k - 150},
        {ORDO_SIZE + k, ORDO_SIZE, k, W / 2 + 270, H / 2 + 50 * k - 150},
        {2 * ORDO_SIZE + k, k, -1, W / 2 + 50 * k - 150, H / 2 - 220},
        {3 * ORDO_SIZE + k, k, ORDO_SIZE, W / 2 + 50 * k - 150, H / 2 + 270},
    };
    for (const auto& side : sides) {
      OrdoRay& ray = rays[side.index];
      ray = OrdoRay{};
      ray.app = app;
      ray.game = this;
      ray.entryColumn = side.column;
      ray.entryRow = side.row;
      ray.x = static_cast<float>(side.x);
      ray.y = static_cast<float>(side.y);
    }
  }
}

DG_Ordo::~DG_Ordo() {
  delete descriptionFont;
  descriptionFont = nullptr;
}

void DG_Ordo::PlaceAtoms(int count, const std::function<int()>& draw) {
  int placed = 0;
  count = std::min(count, ORDO_SIZE * ORDO_SIZE);
  for (int draws = 0; placed < count && draws < MAX_ATOM_DRAWS; ++draws) {
    const int column = draw() % ORDO_SIZE;
    const int row = draw() % ORDO_SIZE;
    if (cells[column][row].atom) continue;
    cells[column][row].atom = true;
    ++placed;
  }
  for (int i = 0; i < ORDO_SIZE && placed < count; ++i)
    for (int j = 0; j < ORDO_SIZE && placed < count; ++j)
      if (!cells[i][j].atom) {
        cells[i][j].atom = true;
        ++placed;
      }
}

uint32_t DG_Ordo::RayColour(int e) {
  const uint32_t red = static_cast<uint32_t>((e % 4) * 0.25 * 255);
  const uint32_t green = static_cast<uint32_t>(((e / 4) % 4) * 0.25 * 255);
  const uint32_t blue = static_cast<uint32_t>(((e / 16) % 4) * 0.25 * 255);
  return 0xFF000000u + red * 65536u + green * 256u + blue;
}

OrdoTrace DG_Ordo::Trace(OrdoPoint entry, const std::function<bool(int, int)>& occupied) {
  const auto atomAt = [&](int column, int row) {
    return InBox(column, row) && occupied(column, row);
  };
  int direction = entry.column < 0            ? 2
                  : entry.column >= ORDO_SIZE ? 3
                  : entry.row < 0             ? 1
                                              : 0;
  OrdoPoint p = entry;
  for (int steps = 0; steps < MAX_TRACE_STEPS; ++steps) {
    const OrdoPoint ahead{p.column + kColumnStep[direction], p.row + kRowStep[direction]};
    if (atomAt(ahead.column, ahead.row)) return OrdoTrace{OrdoTrace::Absorbed, ahead, steps};
    const OrdoPoint a{p.column + kDiagonalA[direction][0], p.row + kDiagonalA[direction][1]};
    const OrdoPoint b{p.column + kDiagonalB[direction][0], p.row + kDiagonalB[direction][1]};
    const bool hitA = atomAt(a.column, a.row);
    const bool hitB = atomAt(b.column, b.row);
    if (steps == 0 && (hitA || hitB)) return OrdoTrace{OrdoTrace::Reflected, hitA ? a : b, 0};
    if (hitA || hitB) {
      direction = hitA && hitB ? kOpposite[direction] : hitA ? kTurnA[direction] : kTurnB[direction];
      p = OrdoPoint{p.column + kColumnStep[direction], p.row + kRowStep[direction]};
    } else {
      p = ahead;
    }
    if (!InBox(p.column, p.row)) return OrdoTrace{OrdoTrace::Exit, p, steps};
  }
  return OrdoTrace{OrdoTrace::Absorbed, p, MAX_TRACE_STEPS};
}

OrdoRay* DG_Ordo::RayAt(OrdoPoint entry) {
  const bool row = entry.row >= 0 && entry.row < ORDO_SIZE;
  const bool column = entry.column >= 0 && entry.column < ORDO_SIZE;
  if (row && entry.column == -1) return &rays[entry.row];
  if (row && entry.column == ORDO_SIZE) return &rays[ORDO_SIZE + entry.row];
  if (column && entry.row == -1) return &rays[2 * ORDO_SIZE + entry.column];
  if (column && entry.row == ORDO_SIZE) return &rays[3 * ORDO_SIZE + entry.column];
  return nullptr;
}

bool DG_Ordo::HasAtom(int column, int row) const {
  return InBox(column, row) && cells[column][row].atom;
}

void DG_Ordo::FireRay(int index) {
  if (index < 0 || index >= ORDO_RAY_COUNT) return;
  OrdoRay& ray = rays[index];
  if (ray.fired) return;
  ++rayCounter;
  ray.fired = true;
  ray.colour = RayColour(rayCounter);
  const OrdoTrace trace =
      Trace(ray.Entry(), [this](int column, int row) { return cells[column][row].atom; });
  ray.steps = trace.steps;
  switch (trace.outcome) {
    case OrdoTrace::Absorbed:
      ray.absorbed = true;
      ray.absorber[0] = trace.at.column;
      ray.absorber[1] = trace.at.row;
      break;
    case OrdoTrace::Reflected:
      ray.reflected = true;
      ray.reflector[0] = trace.at.column;
      ray.reflector[1] = trace.at.row;
      break;
    case OrdoTrace::Exit: {
      ray.exit[0] = trace.at.column;
      ray.exit[1] = trace.at.row;
      OrdoRay* out = RayAt(trace.at);
      ray.exitRay = out;
      if (out) {
        out->fired = true;
        out->colour = ray.colour;
        out->exit[0] = ray.entryColumn;
        out->exit[1] = ray.entryRow;
        out->exitRay = &ray;
        out->steps = trace.steps;
      }
      break;
    }
  }
}

void DG_Ordo::RecheckRays() {
  const auto marked = [this](int column, int row) { return cells[column][row].marked; };
  for (OrdoRay& ray : rays) {
    ray.mismatch = false;
    if (!ray.fired) continue;
    const OrdoTrace trace = Trace(ray.Entry(), marked);
    bool fits = false;
    switch (trace.outcome) {
      case OrdoTrace::Absorbed: fits = ray.absorbed; break;
      case OrdoTrace::Reflected: fits = ray.reflected; break;
      case OrdoTrace::Exit:
        fits = !ray.absorbed && !ray.reflected && trace.at.column == ray.exit[0] &&
               trace.at.row == ray.exit[1];
        break;
    }
    ray.mismatch = !fits;
  }
}

RECT DG_Ordo::CheckButton() const {
  const int W = app->screenWidth, H = app->screenHeight;
  return RECT{W / 2 - 100, H - 75, W / 2 + 100, H - 25};
}

bool DG_Ordo::TakesInput() const {
  // Nothing before the start, after the check (the answer is shown and the
  // end follows), while paused or after a quit.
  return started && state == GAME_STATE_RUNNING && !checked_;
}

void DG_Ordo::OnLButtonDown(int x, int y) {
  if (!TakesInput()) return;
  for (int i = 0; i < ORDO_SIZE; ++i)
    for (int j = 0; j < ORDO_SIZE; ++j) {
      OrdoCell& cell = cells[i][j];
      if (!Near(cell.x, cell.y, x, y)) continue;
      cell.marked = !cell.marked;
      markedCount += cell.marked ? 1 : -1;
      if (immediateCheck) RecheckRays();
      return;
    }
  for (int k = 0; k < ORDO_RAY_COUNT; ++k) {
    if (!Near(rays[k].x, rays[k].y, x, y)) continue;
    FireRay(k);
    if (immediateCheck) RecheckRays();
    return;
  }
}

void DG_Ordo::OnLButtonUp(int x, int y) {
  if (!TakesInput()) return;
  const RECT button = CheckButton();
  if (x < button.left || x > button.right || y < button.top || y > button.bottom) return;
  checked_ = true;
  bool allMarked = markedCount == atomCount;
  for (int i = 0; i < ORDO_SIZE; ++i)
    for (int j = 0; j < ORDO_SIZE; ++j)
      if (cells[i][j].atom && !cells[i][j].marked) allMarked = false;
  solved = allMarked;
  endTimer = solved ? SOLVED_REVEAL_SECONDS : FAILED_REVEAL_SECONDS;
}

void DG_Ordo::Update() {
  record.playTime += app->frameTime;
  if (!started) return;
  if (endTimer > 0) {
    endTimer -= app->frameTime;
    if (endTimer <= 0 && state == GAME_STATE_RUNNING)
      state = solved ? GAME_STATE_ENDED : GAME_STATE_ENDED_OTHER;
  }
  if (state == GAME_STATE_RUNNING) playTime += app->frameTime;
}

void DG_Ordo::ComputeGrade() {
  if (state == GAME_STATE_ENDED) {
    grade = std::min(6.0, playTime / 120.0 + 1.0);
    return;
  }
  int found = 0;
  for (int i = 0; i < ORDO_SIZE; ++i)
    for (int j = 0; j < ORDO_SIZE; ++j)
      if (cells[i][j].atom && cells[i][j].marked) ++found;
  const double missed = atomCount > 0 ? static_cast<double>(atomCount - found) / atomCount : 0.0;
  grade = std::min(6.0, playTime / 60.0 + missed * 5.0 + 1.0);
}

const char* DG_Ordo::GetDescriptionText() { return GetLangText(131); }
const char* DG_Ordo::GetResultTitle() { return GetLangText(130); }
const char* DG_Ordo::GetStatisticsText() { return BuildStatisticsText(); }

const char* DG_Ordo::GetResultText() {
  resultText_ = PlayTimeLine() + "\n";
  resultText_ += FormatText(GetLangText(50), {grade});
  return resultText_.c_str();
}

void DG_Ordo::OnLostDevice() {
  Denkar_Game::OnLostDevice();
  if (descriptionFont) descriptionFont->OnLostDevice();
}

void DG_Ordo::OnResetDevice() {
  Denkar_Game::OnResetDevice();
  if (descriptionFont) descriptionFont->OnResetDevice();
}

void DG_Ordo::DrawTile(float centreX, float centreY, uint32_t colour, const RECT& source) const {
  const D3DXVECTOR2 at{centreX - HALF_CELL, centreY - HALF_CELL};
  app->DrawSprite(app->texMisc1, &source, nullptr, nullptr, 0, &at, colour);
}

void DG_Ordo::Render() {
  if (!started) return;
  const int W = app->screenWidth;
  if (state == GAME_STATE_RUNNING) {
    DrawTimeBar(playTime, font);
    if (countsShown_ != markedCount) {
      countsText_ = FormatText(GetLangText(132), {atomCount, markedCount});
      countsShown_ = markedCount;
    }
    TextItem counts;
    counts.text = countsText_.c_str();
    counts.rect = RECT{W / 2 - 250, 50, W / 2 + 250, 100};
    counts.colour = 0xFF000000;
    counts.format = DT_CENTER | DT_VCENTER;
    counts.font = font;
    fontManager->DrawTextItem(counts);
  }

  static constexpr RECT kTile{550, 0, 600, 50};
  for (const auto& column : cells)
    for (const OrdoCell& cell : column) {
      uint32_t colour = cell.marked ? 0xFF7F0000 : 0xFFFFFFFF;
      // From the check on, the answer is shown: found atoms green, missed
      // atoms grey, wrong marks dark red.
      if (checked_ && cell.atom) colour = cell.marked ? 0xFF00FF00 : 0xFF7F7F7F;
      DrawTile(cell.x, cell.y, colour, kTile);
    }

  static constexpr RECT kReflected{650, 0, 700, 50};
  static constexpr RECT kAbsorbed{700, 0, 750, 50};
  static constexpr RECT kMismatch{750, 0, 800, 50};
  for (const OrdoRay& ray : rays) {
    const bool coloured = ray.fired && !ray.absorbed && !ray.reflected;
    DrawTile(ray.x, ray.y, coloured ? ray.colour : 0xFFFFFFFF, kTile);
    if (ray.absorbed) DrawTile(ray.x, ray.y, 0xFFFFFFFF, kAbsorbed);
    if (ray.reflected) DrawTile(ray.x, ray.y, 0xFFFFFFFF, kReflected);
    if (ray.mismatch) DrawTile(ray.x, ray.y, 0xFFFFFFFF, kMismatch);
  }

  if (!checked_) {
    const RECT button = CheckButton();
    static constexpr RECT kButton{400, 600, 600, 650};
    const D3DXVECTOR2 at{static_cast<float>(button.left), static_cast<float>(button.top)};
    app->DrawSprite(app->texMenu2, &kButton, nullptr, nullptr, 0, &at, 0xFFFFFFFF);
    TextItem caption;
    caption.text = GetLangText(133);
    caption.rect = button;
    caption.colour = 0xFF000000;
    caption.format = DT_CENTER | DT_VCENTER;
    caption.font = font;
    fontManager->DrawTextItem(caption);
  }
}

void DG_Ordo::DrawDescription(ElementDrawInfo info, Font* drawFont) {
  (void)drawFont;  // the instructions have their own smaller font beside the picture
  const int x = static_cast<int>(info.x), y = static_cast<int>(info.y);
  const int w = info.srcRight - info.srcLeft, h = info.srcBottom - info.srcTop;
  static constexpr RECT kPicture{0, 0, 300, 340};
  const D3DXVECTOR2 at{static_cast<float>(x + w - 350), static_cast<float>(y + 100)};
  app->DrawSprite(app->texMisc2, &kPicture, nullptr, nullptr, 0, &at, 0xFFFFFFFF);
  const char* text = GetDescriptionText();
  if (!text || !fontManager) return;
  // Left-aligned, so a blank in front of the first line would show.
  while (*text == ' ') ++text;
  TextItem item;
  item.text = text;
  item.rect = RECT{x + 50, y + 50, x + w - 370, y + h - 70};
  item.colour = 0xFF000000;
  item.format = DT_VCENTER | DT_WORDBREAK;
  item.font = descriptionFont;
  fontManager->DrawTextItem(item);
}
