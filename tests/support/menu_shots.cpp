#include "support/menu_shots.h"

#include <cstdlib>
#include <filesystem>

#include "menu/main_menu.h"
#include "support/test_app.h"

namespace testapp {

void DrawMenuFrame(OffscreenScreen& screen, MainMenu& menu) {
  screen.Draw([&] {
    menu.Render();
    menu.DrawCursor();
  });
}

void SaveMenuShot(OffscreenScreen& screen, MainMenu& menu, const std::string& name) {
  DrawMenuFrame(screen, menu);
  const char* folder = std::getenv("DENKAR_SHOT_DIR");
  if (!folder || !*folder) return;
  std::filesystem::create_directories(folder);
  EXPECT_TRUE(screen.SavePng(std::string(folder) + "/" + name)) << name;
}

}  // namespace testapp
