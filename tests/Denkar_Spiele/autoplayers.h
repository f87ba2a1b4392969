// The autoplayer of every game of the game list, by list index: each wins the
// running game of that index through the game's own input handlers.
#pragma once

class PlayDriver;

using Autoplayer = void (*)(PlayDriver& driver);

// The autoplayer of list index 0 ... 15; null outside the list.
Autoplayer AutoplayerOf(int listIndex);
