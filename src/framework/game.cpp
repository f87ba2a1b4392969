#include "framework/game.h"
#include "framework/gui_element.h"
#include "util/app_context.h"

Game::Game() : app(&GetAppContext()) {}

Game::~Game() {
  for (GUIElement*& e : elements) {
    delete e;
    e = nullptr;
  }
  hitElement = nullptr;
}

bool Game::HitTestElements(int mode) {
  for (int i = 0; i < GAME_ELEMENT_COUNT; ++i) {
    if (!elementEnabled[i] || !elements[i]) continue;
    hitElement = elements[i]->HitTest(app->mouseX, app->mouseY, mode);
    if (hitElement) return true;
  }
  return false;
}

Game::DrawCallback Game::ElementCallback(int i) {
  static constexpr DrawCallback callbacks[GAME_ELEMENT_COUNT] = {
      &Game::DrawElement0,  &Game::DrawElement1,  &Game::DrawElement2,  &Game::DrawElement3,
      &Game::DrawElement4,  &Game::DrawElement5,  &Game::DrawElement6,  &Game::DrawElement7,
      &Game::DrawElement8,  &Game::DrawElement9,  &Game::DrawElement10, &Game::DrawElement11,
      &Game::DrawElement12, &Game::DrawElement13};
  return (i >= 0 && i < GAME_ELEMENT_COUNT) ? callbacks[i] : nullptr;
}
