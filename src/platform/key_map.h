// Translation of keyboard keys to Windows virtual-key codes, by the key's
// label on the user's layout (SDL key codes follow the layout).
#pragma once
#include <cstdint>

// The virtual-key code of an SDL key code, or 0 for keys the game does not know.
int VirtualKeyFromKeycode(int32_t sdlKeycode);
