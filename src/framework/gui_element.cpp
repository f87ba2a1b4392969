#include "framework/gui_element.h"

GUIElement::GUIElement(int id_, RECT src, float x_, float y_, Game* owner_,
                       Game::DrawCallback callback)
    : x(static_cast<int>(x_)),
      y(static_cast<int>(y_)),
      srcRect(src),
      id(id_),
      owner(owner_),
      drawCallback(callback) {
  right = x + (src.right - src.left);
  bottom = y + (src.bottom - src.top);
}

GUIElement::~GUIElement() {
  parent = nullptr;
  children.Clear();  // the list owns the children: the whole subtree goes
}

bool GUIElement::Contains(int px, int py) const {
  const float width = static_cast<float>(right - x);
  const float height = static_cast<float>(bottom - y);
  return px >= x && px <= x + width * scaleX && py >= y && py <= y + height * scaleY;
}

GUIElement* GUIElement::HitTest(int px, int py, int mode) {
  if (!Contains(px, py)) return nullptr;
  for (int i = 0; i < children.Count(); ++i) {
    if (GUIElement* hit = children.Get(i)->HitTest(px - x, py - y, mode)) return hit;
  }
  return this;
}

bool GUIElement::AddChild(GUIElement* child) {
  if (!child) return false;
  children.Insert(child, true);
  child->parent = this;
  return true;
}

void GUIElement::Draw(float offsetX, float offsetY) {
  ElementDrawInfo info;
  info.element = this;
  info.srcLeft = srcRect.left;
  info.srcTop = srcRect.top;
  info.srcRight = srcRect.right;
  info.srcBottom = srcRect.bottom;
  info.x = x + offsetX;
  info.y = y + offsetY;
  info.scaleX = scaleX;
  info.scaleY = scaleY;
  if (owner && drawCallback) (owner->*drawCallback)(info);
  for (int i = 0; i < children.Count(); ++i) children.Get(i)->Draw(x + offsetX, y + offsetY);
}
