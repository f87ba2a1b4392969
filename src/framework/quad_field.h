// QuadCell and QuadField: small square patterns of lit and unlit cells, shared
// by the pattern games (remember patterns, add patterns, flip patterns).
// A QuadField is an n x n grid of cells inside a square of a given size, with
// the pattern operations those games need: compare, combine (or / xor), set,
// copy, clear, flip a cell by click and scramble.
#pragma once
#include <cstdint>
#include "platform/win_types.h"
#include "util/ptr_list.h"

class AppContext;

// One square cell, on or off, drawn from texMisc3 in one of 12 colour schemes.
class QuadCell {
 public:
  QuadCell(double size, float left, float top, int scheme);

  void Draw() const;
  // The texMisc3 rectangle of this cell's picture in its current state.
  RECT SourceRect() const;
  // Inclusive on all four edges.
  bool Contains(float x, float y) const {
    return left <= x && x <= left + size && top <= y && y <= top + size;
  }
  void Flip() { on = !on; }
  bool IsOn() const { return on; }
  void SetOn(bool lit) { on = lit; }
  bool SameState(const QuadCell& other) const { return on == other.on; }

  AppContext* app;
  bool on = false;
  double size;
  float left, top;
  int32_t scheme;
};

class QuadField {
 public:
  // An n x n grid whose cells share `totalSize` pixels with n gaps of `gap`
  // pixels, centred on `centre` (the screen centre when null). A locked grid
  // ignores clicks and starts with a random pattern; an unlocked one starts
  // all off.
  QuadField(bool locked, int n, int scheme, int totalSize, const D3DXVECTOR2* centre, int gap);
  QuadField(const QuadField&) = delete;
  QuadField& operator=(const QuadField&) = delete;

  int N() const { return n; }
  int CellCount() const { return cells.Count(); }
  // Cell `index` (column * n + row), or null.
  QuadCell* Cell(int index) { return cells.Get(index); }
  QuadCell* Cell(int column, int row);
  bool IsOn(int column, int row);

  // Sets cell column * n + row when that index is inside the grid.
  void Set(int column, int row, bool on);
  // Every cell becomes (this XOR other) when exclusive, else (this OR other).
  void Apply(QuadField& other, bool exclusive);
  // True when every cell has the state of the other grid's cell of the same
  // index; grids of different sizes are never equal.
  bool Equals(QuadField& other);
  // Takes over the other grid's pattern (cells of the same index).
  void CopyFrom(QuadField& other);
  // All cells off.
  void Clear();
  // 100 flips of randomly drawn cells (the same cell may be hit again).
  void Scramble();
  // Unless locked, flips the first cell that contains the point; true when a
  // cell flipped.
  bool Click(float x, float y);
  bool Contains(float x, float y);
  int LitCount();
  void Draw();
  void UpdateAll() {}

  PtrList<QuadCell> cells{true};
  AppContext* app;
  bool locked;
  int32_t n;
};
