// AppContext: the single application record, created on the first call of
// GetAppContext() and destroyed at process exit. The record only holds the
// application's state; reading its files at start-up and writing them at exit
// belongs to the start-up code (OpenApplicationFiles), which installs the
// exit step here.
#pragma once
#include <cstdint>
#include <cstdio>
#include "platform/render_device.h"
#include "platform/win_types.h"
#include "util/lang_text.h"
#include "util/ptr_list.h"

class MyControl;
class PlatformWindow;
class StatsRecord;
class SoundEffect;

// Number of sound ids (0 ... 13); each id has a slot of ten buffers or null.
constexpr int SOUND_SLOT_COUNT = 14;

class AppContext {
 public:
  AppContext() = default;
  // Runs the exit step (settings and statistics are written there).
  ~AppContext();
  AppContext(const AppContext&) = delete;
  AppContext& operator=(const AppContext&) = delete;

  int runState = 0;  // 0 menu, 1 a game runs, 2 quit requested
  MyControl* currentControl = nullptr;
  int screenWidth = 1024, screenHeight = 768;
  bool fullscreen = true;
  void* d3d = nullptr;  // non-null once the drawing system is up
  RenderDevice* device = nullptr;
  class Sprite* sprite = nullptr;
  D3DPRESENT_PARAMETERS presentParams{};
  PlatformWindow* hWnd = nullptr;
  class AudioDevice* directSound = nullptr;
  SoundEffect* soundEffects[SOUND_SLOT_COUNT] = {};
  int soundVolume = 100;
  int musicVolume = 100;
  int mouseX = 0, mouseY = 0;
  int prevMouseX = 0, prevMouseY = 0;
  bool usePerfCounter = false;
  double secondsPerTick = 0.001;
  bool paused = false;
  double frameTime = 0;
  int64_t lastCounter = 0, currentCounter = 0;
  double realFrameTime = 0;
  FILE* dataFile = nullptr;
  Texture* texMisc1 = nullptr;
  Texture* texMisc2 = nullptr;
  Texture* texMisc3 = nullptr;
  Texture* texMisc4 = nullptr;
  Texture* texMenu1 = nullptr;
  Texture* texMenu2 = nullptr;
  Texture* texMenu3 = nullptr;
  Texture* texBack1 = nullptr;
  Texture* texBack2 = nullptr;
  Texture* texBack3 = nullptr;
  Texture* texBack4 = nullptr;
  Texture* texMemoryCards1 = nullptr;
  Texture* texMemoryCards2 = nullptr;
  Texture* texSplash = nullptr;
  Texture* texMemoryMuster = nullptr;
  Texture* texBg = nullptr;
  PtrList<LangText> langTexts{true};
  StatsRecord* statistics = nullptr;
  int language = 0;  // 0 German, 1 English
  bool playIntro = true;
  bool headless = false;  // offscreen device and silent audio voices (--headless)

  // What the record does when it ends at process exit; set by the code that
  // read the files at start-up.
  void (*atExit)(AppContext& app) = nullptr;

  // Drawing (gfx/): one textured rectangle through the 2D transform.
  void DrawSprite(const Texture* texture, const RECT* source, const D3DXVECTOR2* scaling,
                  const D3DXVECTOR2* rotationCentre, double rotation,
                  const D3DXVECTOR2* translation, D3DCOLOR colour);
  HRESULT LoadTexture(const char* name, Texture** out, FILE* file, bool allowDisk);
  // Sound (audio/): plays effect `soundId` at `volume` (1.0 = the set level).
  void PlaySoundEffect(int soundId, float volume);
};

AppContext& GetAppContext();
