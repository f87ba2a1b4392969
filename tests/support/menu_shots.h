// Screens of a play drawn as the main loop draws them (the menu's Render and
// pointer on an offscreen device), for looking at them: saved as PNG into the
// folder named by the environment variable DENKAR_SHOT_DIR, nothing saved
// when it is not set.
#pragma once
#include <string>

class MainMenu;

namespace testapp {

class OffscreenScreen;

// Draws one frame of the menu (and the game it hosts).
void DrawMenuFrame(OffscreenScreen& screen, MainMenu& menu);
// Draws a frame and saves it as `name` (a file name such as "puzzle_d0_de_task.png").
void SaveMenuShot(OffscreenScreen& screen, MainMenu& menu, const std::string& name);

}  // namespace testapp
