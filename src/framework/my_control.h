// MyControl: the root of everything that receives input and draws.
#pragma once
#include "platform/win_types.h"

class MyControl {
 public:
  MyControl() = default;
  virtual ~MyControl() = default;
  virtual void Reserved0() {}
  virtual void OnMouseMove(int x, int y) { (void)x; (void)y; }
  virtual void OnLButtonDown(int x, int y) { (void)x; (void)y; }
  virtual void OnLButtonUp(int x, int y) { (void)x; (void)y; }
  virtual void OnLButtonDblClk(int x, int y) { (void)x; (void)y; }
  virtual void OnRButtonDown(int x, int y) { (void)x; (void)y; }
  virtual void OnRButtonUp(int x, int y) { (void)x; (void)y; }
  virtual void OnKeyDown(int key) { (void)key; }
  virtual void OnKeyUp(int key) { (void)key; }
  virtual void OnMouseWheel(WPARAM wParam) { (void)wParam; }
};
