// Helpers of the game tests: one play of a listed game from the main menu,
// as the player goes through it, and where to keep screenshots.
#pragma once
#include <functional>
#include <string>

class GameRecord;
class PlayDriver;

// What a play from the menu came to.
struct MenuPlay {
  int endState = -1;      // the game's state when it ended
  double playTime = 0;    // its play time then
  bool resultPage = false;  // the result page came
  bool nameAsked = false;   // it asked for a name, which was typed
  bool backInMenu = false;  // confirmed: the game is gone, page 1 shows
};

// With the textures loaded (testapp::OffscreenScreen): a main menu starts game
// list entry `index` at `difficulty`, its countdown runs out, `play` plays
// through a MenuDriver until the game ends, the result page comes, `name`
// is typed when it asks for one, and the page is confirmed.
MenuPlay PlayFromMenu(int index, int difficulty, const std::function<void(PlayDriver&)>& play,
                      const std::string& name);

// The file for screenshot `name` (".png" added) in the folder DENKAR_SHOTS
// names, or "" when no screenshots are wanted.
std::string ShotPath(const std::string& name);

// The grade `record` lists under `name`, or -1 when no entry has that name.
double ListedGrade(GameRecord& record, const std::string& name);
