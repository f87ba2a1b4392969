// GUIElement: a clickable rectangle in a tree. It draws nothing itself: Draw
// hands its geometry to a member function of its owner, and a click is
// reported by being returned from HitTest.
#pragma once
#include "framework/game.h"
#include "platform/win_types.h"
#include "util/ptr_list.h"

class GUIElement {
 public:
  GUIElement(int id, RECT srcRect, float x, float y, Game* owner, Game::DrawCallback drawCallback);
  virtual ~GUIElement();
  GUIElement(const GUIElement&) = delete;
  GUIElement& operator=(const GUIElement&) = delete;

  virtual GUIElement* HitTest(int x, int y, int mode);
  virtual bool AddChild(GUIElement* child);
  virtual void Draw(float offsetX, float offsetY);

  int GetId() const { return id; }
  bool Contains(int x, int y) const;  // x, y in parent coordinates, edges inclusive

  GUIElement* parent = nullptr;
  int x = 0, y = 0, right = 0, bottom = 0;
  RECT srcRect{};
  PtrList<GUIElement> children{true};
  int id = 0;
  float scaleX = 1.0f, scaleY = 1.0f;
  Game* owner = nullptr;
  Game::DrawCallback drawCallback = nullptr;
};
