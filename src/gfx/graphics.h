// Device set-up, the sixteen textures and the loading screen.
#pragma once
#include <cstdio>
#include <vector>
#include "platform/win_types.h"

class AppContext;

HRESULT InitDirect3D();   // creates the device with the three back-buffer format fall-backs
// Creates the sprite and loads the textures behind the loading screen; on
// failure `failedMember` (when given) names the member that did not load.
HRESULT LoadTextures(const char** failedMember = nullptr);
void RefreshLoadingScreen(bool draw = true);  // counts one step (and draws the screen when asked)
int LoadingProgress();
void ReleaseTexture(struct Texture*& texture);
// A texture from the bytes of an image file (decoded, a failed decode tried
// once more, colour key applied); null when it cannot be decoded.
struct Texture* CreateTextureFromBytes(const std::vector<uint8_t>& bytes);
void ReleaseTextures();  // the sixteen textures, in shutdown order
void ReleaseGraphics();   // fonts, textures, sprite, device, in that order (Shutdown)

// Right edge (in splash image pixels) of the loading bar's fill after
// `counter` steps: the bar is full after 14 steps and stays full.
int LoadingBarFillRight(int counter);
void ResetLoadingProgress();  // back to 0 (tests)
// Texels of exactly this colour are made fully transparent when a texture loads.
constexpr D3DCOLOR TEXTURE_COLOUR_KEY = 0xFF00FF64;
