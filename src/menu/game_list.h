// The sixteen games of the game list, in their fixed order: the class each
// index creates and the language text of its caption.
#pragma once

class Denkar_Game;

constexpr int GAME_LIST_COUNT = 16;

// Caption text number of game-list entry `index` (0 ... 15), or -1.
int GameListCaption(int index);
// A new game of list entry `index` at `difficulty`; null when the index is
// outside 0 ... 15 or that game does not exist.
Denkar_Game* CreateListedGame(int index, int difficulty);
