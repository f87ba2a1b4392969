// Device set-up, the sixteen textures and the loading screen.
#pragma once
#include <cstdio>
#include <vector>
#include "platform/win_types.h"

class AppContext;

HRESULT InitDirect3D();   // creates the device with the three back-buffer format fall-backs
// Creates the sprite and loads the textures behind the loading screen; on
// failure `failedMember` (when given) names the member that did not load.
// The sheets the loading screen and the main menu draw are decoded here; the
// others are read and checked here and decoded on first use.
HRESULT LoadTextures(const char** failedMember = nullptr);
// Reads the sheets from the data file and starts decoding them in the
// background, before the device exists; LoadTextures (which begins by itself
// when this was not called) shows the loading screen and takes the result.
void BeginLoadingTextures();
// Decodes a sheet that LoadTextures left for later; does nothing for any
// other texture. A sheet that still cannot be decoded draws nothing from then
// on, shows the missing-textures message and ends the run (runState 2).
void DecodeSheetOnFirstUse(const struct Texture* texture);
// The member of the sheet that failed in DecodeSheetOnFirstUse, or null.
const char* DamagedSheet();
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
