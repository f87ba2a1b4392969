// Device set-up, the sixteen textures and the loading screen.
#pragma once
#include <cstdio>
#include "platform/win_types.h"

class AppContext;

HRESULT InitDirect3D();   // creates the device with the three back-buffer format fall-backs
HRESULT LoadTextures();   // creates the sprite, loads the textures behind the loading screen
void RefreshLoadingScreen(bool draw = true);  // counts one step (and draws the screen when asked)
int LoadingProgress();
void ReleaseTexture(class Texture*& texture);
void ReleaseGraphics();   // fonts, textures, sprite, device, in that order (Shutdown)
