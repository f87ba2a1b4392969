// A control that takes every input and draws nothing: a stand-in main control
// for runs and tests that need no menu.
#pragma once
#include "framework/game.h"

class MinimalControl : public Game {
 public:
  void OnLostDevice() override {}
  void OnResetDevice() override {}
};
