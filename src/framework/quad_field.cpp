#include "framework/quad_field.h"

#include "platform/crt_rand.h"
#include "util/app_context.h"

namespace {
// Random flips that make a locked grid's pattern.
constexpr int SCRAMBLE_FLIPS = 100;
// Edge of a cell picture in texMisc3.
constexpr int CELL_PICTURE = 50;
}  // namespace

QuadCell::QuadCell(double size_, float left_, float top_, int scheme_)
    : app(&GetAppContext()), size(size_), left(left_), top(top_), scheme(scheme_) {}

RECT QuadCell::SourceRect() const {
  const int srcLeft = (scheme % 6) * 100;
  const int srcTop = (scheme / 6) * 200 + (on ? 150 : 50);
  return RECT{srcLeft, srcTop, srcLeft + CELL_PICTURE, srcTop + CELL_PICTURE};
}

void QuadCell::Draw() const {
  const RECT source = SourceRect();
  const float k = static_cast<float>(size / CELL_PICTURE);
  const D3DXVECTOR2 scale{k, k};
  const D3DXVECTOR2 position{left, top};
  app->DrawSprite(app->texMisc3, &source, &scale, nullptr, 0, &position, 0xFFFFFFFF);
}

QuadField::QuadField(bool locked_, int n_, int scheme, int totalSize, const D3DXVECTOR2* centre,
                     int gap)
    : app(&GetAppContext()), locked(locked_), n(n_ > 0 ? n_ : 0) {
  // The size formula counts n gaps, so the cells cover a little less than
  // the total size: n * c + (n - 1) * gap pixels from the corner.
  const int c = n > 0 ? (totalSize - n * gap) / n : 0;
  const float cx = centre ? centre->x : static_cast<float>(app->screenWidth / 2);
  const float cy = centre ? centre->y : static_cast<float>(app->screenHeight / 2);
  const int corner = -totalSize / 2;
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j)
      cells.Insert(new QuadCell(c, cx + corner + (c + gap) * i, cy + corner + (c + gap) * j, scheme));
  if (locked) Scramble();
}

QuadCell* QuadField::Cell(int column, int row) {
  if (column < 0 || row < 0 || column >= n || row >= n) return nullptr;
  return cells.Get(column * n + row);
}

bool QuadField::IsOn(int column, int row) {
  const QuadCell* cell = Cell(column, row);
  return cell && cell->IsOn();
}

void QuadField::Set(int column, int row, bool on) {
  if (QuadCell* cell = Cell(column, row)) cell->SetOn(on);
}

void QuadField::Apply(QuadField& other, bool exclusive) {
  const int count = CellCount() < other.CellCount() ? CellCount() : other.CellCount();
  for (int i = 0; i < count; ++i) {
    QuadCell* mine = cells.Get(i);
    const bool theirs = other.cells.Get(i)->IsOn();
    mine->SetOn(exclusive ? mine->IsOn() != theirs : mine->IsOn() || theirs);
  }
}

bool QuadField::Equals(QuadField& other) {
  if (CellCount() != other.CellCount()) return false;
  for (int i = 0; i < CellCount(); ++i)
    if (!cells.Get(i)->SameState(*other.cells.Get(i))) return false;
  return true;
}

void QuadField::CopyFrom(QuadField& other) {
  for (int i = 0; i < CellCount() && i < other.CellCount(); ++i)
    cells.Get(i)->SetOn(other.cells.Get(i)->IsOn());
}

void QuadField::Clear() {
  for (int i = 0; i < CellCount(); ++i) cells.Get(i)->SetOn(false);
}

void QuadField::Scramble() {
  const int count = CellCount();
  if (count == 0) return;
  for (int k = 0; k < SCRAMBLE_FLIPS; ++k) cells.Get(CrtRand() % count)->Flip();
}

bool QuadField::Click(float x, float y) {
  if (locked) return false;
  for (int i = 0; i < CellCount(); ++i) {
    QuadCell* cell = cells.Get(i);
    if (cell->Contains(x, y)) {
      cell->Flip();
      return true;
    }
  }
  return false;
}

bool QuadField::Contains(float x, float y) {
  for (int i = 0; i < CellCount(); ++i)
    if (cells.Get(i)->Contains(x, y)) return true;
  return false;
}

int QuadField::LitCount() {
  int lit = 0;
  for (int i = 0; i < CellCount(); ++i) lit += cells.Get(i)->IsOn() ? 1 : 0;
  return lit;
}

void QuadField::Draw() {
  for (int i = 0; i < CellCount(); ++i) cells.Get(i)->Draw();
}
