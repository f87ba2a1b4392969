// Game: a screen with per-frame Update and Render, up to 14 clickable GUI
// elements drawn through the callbacks DrawElement0 ... DrawElement13, and the
// hooks around a device reset.
#pragma once
#include <cstdint>
#include "framework/my_control.h"
#include "platform/win_types.h"

class AppContext;
class GUIElement;

// What a draw callback receives about the element it draws.
struct ElementDrawInfo {
  GUIElement* element = nullptr;
  int32_t srcLeft = 0, srcTop = 0, srcRight = 0, srcBottom = 0;
  float x = 0, y = 0;            // screen position of the top-left corner
  float scaleX = 1, scaleY = 1;
};

constexpr int GAME_ELEMENT_COUNT = 14;

class Game : public MyControl {
 public:
  Game();
  ~Game() override;

  virtual void Update() {}
  virtual void Render() {}
  virtual void DrawElement0(ElementDrawInfo) {}
  virtual void DrawElement1(ElementDrawInfo) {}
  virtual void DrawElement2(ElementDrawInfo) {}
  virtual void DrawElement3(ElementDrawInfo) {}
  virtual void DrawElement4(ElementDrawInfo) {}
  virtual void DrawElement5(ElementDrawInfo) {}
  virtual void DrawElement6(ElementDrawInfo) {}
  virtual void DrawElement7(ElementDrawInfo) {}
  virtual void DrawElement8(ElementDrawInfo) {}
  virtual void DrawElement9(ElementDrawInfo) {}
  virtual void DrawElement10(ElementDrawInfo) {}
  virtual void DrawElement11(ElementDrawInfo) {}
  virtual void DrawElement12(ElementDrawInfo) {}
  virtual void DrawElement13(ElementDrawInfo) {}
  // Asks the enabled elements 0 ... 13 in order with the current mouse
  // position; the first answer is kept as the hit element.
  virtual bool HitTestElements(int mode);
  virtual void OnLostDevice() = 0;
  virtual void OnResetDevice() = 0;

  using DrawCallback = void (Game::*)(ElementDrawInfo);
  // The callback that element slot i uses (DrawElement<i>).
  static DrawCallback ElementCallback(int i);

  GUIElement* elements[GAME_ELEMENT_COUNT] = {};
  GUIElement* hitElement = nullptr;
  bool elementEnabled[GAME_ELEMENT_COUNT] = {};
  AppContext* app = nullptr;
};
