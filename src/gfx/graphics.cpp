// Device set-up, the textures loaded at start-up and the loading screen.
#include "gfx/graphics.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <iterator>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>
#include "data/data_file.h"
#include "gfx/font.h"
#include "gfx/sprite.h"
#include "platform/font_face.h"
#include "platform/process_stats.h"
#include "platform/render_device.h"
#include "platform/window.h"
#include "util/app_context.h"

namespace {

// The drawing system has no separate factory object; `d3d` points at this
// token while the system is up.
int drawingSystemToken = 0;
std::unique_ptr<RenderDevice> ownedDevice;
std::unique_ptr<Sprite> ownedSprite;
int loadingProgress = 0;

// Bar geometry on the splash sheet: the frame spans x 122 ... 940.
constexpr int BAR_LEFT = 122;
constexpr int BAR_LENGTH = 818;
constexpr int BAR_STEPS = 14;

struct TextureLoad {
  Texture* AppContext::*field;
  const char* member;
  // Decoded while the loading screen shows: the loading screen itself and
  // what the first picture of the main menu draws. The other sheets are only
  // checked then and decoded when they are first drawn (menu3 by the menu's
  // other pages, most by one game or another, some never).
  bool decodeAtStart;
};

// The loading order of the sheets.
constexpr TextureLoad TEXTURE_LOADS[] = {
    {&AppContext::texSplash, "splash.PNG", true},
    {&AppContext::texMisc1, "misc1.PNG", true},
    {&AppContext::texMisc2, "misc2.PNG", false},
    {&AppContext::texMisc3, "misc3.PNG", false},
    {&AppContext::texMisc4, "misc4.PNG", false},
    {&AppContext::texMenu1, "menu1.PNG", true},
    {&AppContext::texMenu2, "menu2.PNG", true},
    {&AppContext::texMenu3, "menu3.PNG", false},
    {&AppContext::texBack1, "back1.PNG", false},
    {&AppContext::texBack2, "back2.PNG", false},
    {&AppContext::texBack3, "back3.PNG", false},
    {&AppContext::texBack4, "back4.PNG", false},
    {&AppContext::texMemoryCards1, "MemoryCards1.png", false},
    {&AppContext::texMemoryCards2, "MemoryCards2.png", false},
    {&AppContext::texMemoryMuster, "Memory_Muster.PNG", false},
    {&AppContext::texBg, "bg.PNG", true},
};

// A sheet whose picture is decoded on first use: the texture already has its
// size but no texels; the member's bytes wait here until then.
struct PendingSheet {
  Texture* texture;
  const char* member;
  std::vector<uint8_t> bytes;
};
std::vector<PendingSheet> pendingSheets;
const char* damagedSheet = nullptr;

void DropPendingSheet(const Texture* texture) {
  std::erase_if(pendingSheets, [texture](const PendingSheet& p) { return p.texture == texture; });
}

// The order in which shutdown releases them.
Texture* AppContext::*const TEXTURE_RELEASES[] = {
    &AppContext::texMenu1,        &AppContext::texMenu2,        &AppContext::texMenu3,
    &AppContext::texMisc1,        &AppContext::texMisc2,        &AppContext::texMisc3,
    &AppContext::texMisc4,        &AppContext::texBack1,        &AppContext::texBack2,
    &AppContext::texBack3,        &AppContext::texBack4,        &AppContext::texMemoryCards1,
    &AppContext::texMemoryCards2, &AppContext::texSplash,       &AppContext::texMemoryMuster,
    &AppContext::texBg,
};

}  // namespace

HRESULT InitDirect3D() {
  AppContext& app = GetAppContext();
  app.d3d = &drawingSystemToken;

  D3DPRESENT_PARAMETERS& pp = app.presentParams;
  pp = D3DPRESENT_PARAMETERS{};
  pp.BackBufferWidth = app.screenWidth;
  pp.BackBufferHeight = app.screenHeight;
  pp.BackBufferFormat = D3DFMT_X8R8G8B8;
  pp.BackBufferCount = 1;
  pp.MultiSampleType = 0;
  pp.MultiSampleQuality = 0;
  pp.SwapEffect = 1;  // discard
  pp.hDeviceWindow = app.hWnd;
  pp.Windowed = !app.fullscreen;
  pp.EnableAutoDepthStencil = false;
  pp.Flags = 0;
  pp.FullScreen_RefreshRateInHz = 0;
  pp.PresentationInterval = 0;

  // X8R8G8B8 first, then A8R8G8B8, then R5G6B5; the format that works stays
  // in the present parameters for every later Reset.
  ownedDevice.reset();
  app.device = nullptr;
  for (int format : {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_R5G6B5}) {
    pp.BackBufferFormat = format;
    ownedDevice = RenderDevice::Create(pp);
    if (ownedDevice) break;
  }
  if (!ownedDevice) return E_FAIL;
  app.device = ownedDevice.get();
  return S_OK;
}

namespace {

// The sheets of one loading: their bytes, what is decoded at start, and the
// two threads that decode them. It can begin before the device exists (the
// shell begins it while the window is being made) and ends in LoadTextures.
struct SheetLoading {
  static constexpr size_t count = std::size(TEXTURE_LOADS);
  std::vector<std::vector<uint8_t>> bytes = std::vector<std::vector<uint8_t>>(count);
  std::vector<Texture*> decoded = std::vector<Texture*>(count, nullptr);
  std::vector<bool> decodeNow = std::vector<bool>(count, true);
  size_t readable = 0;
  std::atomic<size_t> next{0};
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<bool> finished = std::vector<bool>(count, false);
  int done = 0;  // sheets finished after the splash
  std::thread helpers[2];

  // Sheet by sheet in loading order, the splash first.
  void Work() {
    for (size_t i; (i = next.fetch_add(1)) < readable;) {
      Texture* t = decodeNow[i] ? CreateTextureFromBytes(bytes[i]) : nullptr;
      std::lock_guard<std::mutex> lock(mutex);
      if (decodeNow[i]) decoded[i] = t;
      finished[i] = true;
      if (i > 0) ++done;
      changed.notify_all();
    }
  }
  void Join() {
    for (std::thread& t : helpers)
      if (t.joinable()) t.join();
  }
  ~SheetLoading() {
    Join();
    for (Texture* t : decoded) delete t;
  }
};

std::unique_ptr<SheetLoading> sheetLoading;

}  // namespace

void BeginLoadingTextures() {
  AppContext& app = GetAppContext();
  sheetLoading.reset();  // an earlier loading that never ended
  auto loading = std::make_unique<SheetLoading>();
  SheetLoading& l = *loading;
  // The data file is one stream: every sheet's bytes are read first, in order.
  while (l.readable < l.count && app.dataFile &&
         ReadMember(app.dataFile, TEXTURE_LOADS[l.readable].member, &l.bytes[l.readable]))
    ++l.readable;
  // A sheet left for later gets its size now; one that is not a whole PNG is
  // decoded now like the others, so a damaged file still stops the start.
  for (size_t i = 0; i < l.readable; ++i) {
    int width = 0, height = 0;
    if (TEXTURE_LOADS[i].decodeAtStart || !CheckPngWhole(l.bytes[i].data(), l.bytes[i].size(), &width, &height))
      continue;
    l.decodeNow[i] = false;
    l.decoded[i] = new Texture;
    l.decoded[i]->width = width;
    l.decoded[i]->height = height;
  }
  for (std::thread& t : l.helpers) t = std::thread([&l] { l.Work(); });
  sheetLoading = std::move(loading);
}

HRESULT LoadTextures(const char** failedMember) {
  AppContext& app = GetAppContext();
  if (app.device == nullptr) {
    sheetLoading.reset();
    return E_FAIL;
  }
  ownedSprite = std::make_unique<Sprite>(app.device);
  app.sprite = ownedSprite.get();
  RefreshLoadingScreen();
  // A texture that is already there (a second call) is replaced, not leaked.
  for (const TextureLoad& load : TEXTURE_LOADS) ReleaseTexture(app.*load.field);
  damagedSheet = nullptr;
  if (!sheetLoading) BeginLoadingTextures();
  SheetLoading& l = *sheetLoading;
  constexpr size_t count = SheetLoading::count;

  // The loading screen shows the splash as soon as it is there; every sheet
  // after it, decoded or left for later, moves the bar by one step. Nothing
  // is shown after a splash that failed.
  {
    std::unique_lock<std::mutex> lock(l.mutex);
    l.changed.wait(lock, [&] { return l.readable == 0 || l.finished[0]; });
    if (l.readable > 0 && l.decoded[0]) {
      app.*TEXTURE_LOADS[0].field = l.decoded[0];
      l.decoded[0] = nullptr;  // placed already
    }
  }
  if (app.*TEXTURE_LOADS[0].field) {
    const int total = static_cast<int>(l.readable) - 1;
    int shown = 0;
    while (shown < total) {
      int now = 0;
      {
        std::unique_lock<std::mutex> lock(l.mutex);
        l.changed.wait(lock, [&] { return l.done > shown; });
        now = l.done;
      }
      for (; shown < now; ++shown) RefreshLoadingScreen(shown + 1 == now);
    }
  }
  l.Join();
  // Sheets in loading order up to the first that is missing or broken; what
  // came after it is not kept.
  HRESULT result = S_OK;
  for (size_t i = 0; i < count; ++i) {
    const bool ok = i == 0 ? app.*TEXTURE_LOADS[0].field != nullptr : i < l.readable && l.decoded[i];
    if (!ok) {
      if (failedMember) *failedMember = TEXTURE_LOADS[i].member;
      result = E_FAIL;  // what has loaded so far stays until shutdown
      break;
    }
    if (i == 0) continue;
    app.*TEXTURE_LOADS[i].field = l.decoded[i];
    l.decoded[i] = nullptr;
    if (!l.decodeNow[i]) pendingSheets.push_back({app.*TEXTURE_LOADS[i].field, TEXTURE_LOADS[i].member, std::move(l.bytes[i])});
  }
  sheetLoading.reset();  // also deletes the sheets after a failed one
  // The decoding threads' working buffers are freed but still held by the
  // allocator; they go back to the system now.
  ReturnFreedMemory();
  return result;
}

void DecodeSheetOnFirstUse(const Texture* texture) {
  // A decoded sheet always has texels: the common case costs one test.
  if (texture == nullptr || !texture->texels.empty() || pendingSheets.empty()) return;
  auto it = std::find_if(pendingSheets.begin(), pendingSheets.end(),
                         [texture](const PendingSheet& p) { return p.texture == texture; });
  if (it == pendingSheets.end()) return;
  Texture* sheet = it->texture;
  const char* member = it->member;
  std::unique_ptr<Texture> picture(CreateTextureFromBytes(it->bytes));
  pendingSheets.erase(it);  // the bytes are not needed any more, whatever happened
  if (picture && picture->width == sheet->width && picture->height == sheet->height) {
    sheet->texels = std::move(picture->texels);
    ReturnFreedMemory();  // the decoder's working buffer
    return;
  }
  // The checks at start-up passed, yet the picture cannot be decoded: the
  // sheet draws nothing, and the game ends the way a damaged data file ends
  // the start, with the same message.
  sheet->width = 0;
  sheet->height = 0;
  if (damagedSheet != nullptr) return;
  damagedSheet = member;
  std::fprintf(stderr, "denkarium: the picture '%s' in 'sport.gob' cannot be decoded; the game ends\n",
               member);
  MessageBox(nullptr, "Es wurden nicht alle notwendigen Texturdateien gefunden", "Fehler!", MB_ICONERROR);
  GetAppContext().runState = 2;
}

const char* DamagedSheet() { return damagedSheet; }

int LoadingBarFillRight(int counter) {
  const int steps = std::clamp(counter, 0, BAR_STEPS);
  return BAR_LEFT + steps * BAR_LENGTH / BAR_STEPS;
}

int LoadingProgress() { return loadingProgress; }

void ResetLoadingProgress() { loadingProgress = 0; }

void RefreshLoadingScreen(bool draw) {
  ++loadingProgress;
  if (!draw) return;
  AppContext& app = GetAppContext();
  if (app.device == nullptr || app.sprite == nullptr) return;

  app.device->BeginScene();
  app.device->Clear(0xFF646464);
  app.sprite->Begin();
  const D3DXVECTOR2 scaling{static_cast<float>(app.screenWidth) / 1024.0f,
                            static_cast<float>(app.screenHeight) / 768.0f};
  auto piece = [&](int left, int top, int right, int bottom, float x, float y) {
    const RECT source{left, top, right, bottom};
    const D3DXVECTOR2 translation{x, y};
    app.DrawSprite(app.texSplash, &source, &scaling, nullptr, 0.0, &translation, 0xFFFFFFFF);
  };
  piece(0, 0, 1024, 768, 0, 0);  // background
  if (app.language == 0) {
    piece(0, 900, 700, 1012, 0, 168);
  } else if (app.language == 1) {
    piece(0, 1012, 700, 1124, 0, 168);
  }
  piece(122, 768, 940, 834, 103, 667);                                  // bar frame
  piece(122, 834, LoadingBarFillRight(loadingProgress), 900, 103, 667);  // bar fill
  app.sprite->End();
  app.device->EndScene();
  app.device->Present();
}

void ReleaseTexture(Texture*& texture) {
  DropPendingSheet(texture);
  delete texture;
  texture = nullptr;
}

void ReleaseTextures() {
  AppContext& app = GetAppContext();
  for (Texture* AppContext::*field : TEXTURE_RELEASES) ReleaseTexture(app.*field);
}

void ReleaseGraphics() {
  AppContext& app = GetAppContext();
  sheetLoading.reset();  // a start that ended before the loading screen
  FontFace::FinishPreparing();
  if (app.d3d == nullptr) return;
  if (app.device != nullptr) {
    GetFontManager().Clear();
    ReleaseTextures();
    app.sprite = nullptr;
    ownedSprite.reset();
    app.device = nullptr;
    ownedDevice.reset();
  }
  app.d3d = nullptr;
}
