#include <gtest/gtest.h>

#include <libdeflate.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include "data/data_file.h"
#include "gfx/graphics.h"
#include "gfx/sprite.h"
#include "platform/render_device.h"
#include "platform/window.h"
#include "util/app_context.h"
#include "support/test_app.h"
#include "support/test_data_builders.h"

using testdata::Bytes;
using testdata::Entry;

namespace {

const char* const SHEETS[] = {"splash.PNG",   "misc1.PNG",        "misc2.PNG",
                              "misc3.PNG",    "misc4.PNG",        "menu1.PNG",
                              "menu2.PNG",    "menu3.PNG",        "back1.PNG",
                              "back2.PNG",    "back3.PNG",        "back4.PNG",
                              "MemoryCards1.png", "MemoryCards2.png", "Memory_Muster.PNG",
                              "bg.PNG"};

// PNG bytes of the given A8R8G8B8 pixels (written through a file).
Bytes Png(const std::vector<uint32_t>& pixels, int w, int h) {
  static int serial = 0;
  const std::string path = "picture" + std::to_string(++serial) + ".png";
  if (!WritePNG(path, pixels.data(), w, h, false)) return {};
  return testdata::ReadFile(path);
}

Bytes SmallPng(uint32_t argb) { return Png(std::vector<uint32_t>(4, argb), 2, 2); }

// Offset of the first chunk of that type in PNG bytes (npos when absent).
size_t FindChunk(const Bytes& png, const char* type) {
  for (size_t pos = 8; pos + 12 <= png.size();) {
    const size_t length = (size_t{png[pos]} << 24) | (png[pos + 1] << 16) | (png[pos + 2] << 8) | png[pos + 3];
    if (std::memcmp(&png[pos + 4], type, 4) == 0) return pos;
    pos += 12 + length;
  }
  return std::string::npos;
}

// The picture's compressed data overwritten; with `fixChecksum` the chunk's
// checksum is made to match again, so only decoding finds the damage.
Bytes DamagedPng(Bytes png, bool fixChecksum) {
  const size_t at = FindChunk(png, "IDAT");
  if (at == std::string::npos) return {};
  const size_t length = (size_t{png[at]} << 24) | (png[at + 1] << 16) | (png[at + 2] << 8) | png[at + 3];
  for (size_t i = 0; i < length; ++i) png[at + 8 + i] = 0xFF;
  if (fixChecksum) {
    const uint32_t crc = libdeflate_crc32(0, &png[at + 4], length + 4);
    for (int k = 0; k < 4; ++k) png[at + 8 + length + k] = static_cast<uint8_t>(crc >> (24 - 8 * k));
  }
  return png;
}

FILE* OpenArchive(const std::vector<Entry>& entries) {
  static int serial = 0;
  const std::string name = "sheets" + std::to_string(++serial) + ".gob";
  if (!testdata::WriteFile(name, testdata::BuildArchive(entries))) return nullptr;
  return OpenDataFile(name.c_str());
}

class TextureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(testdata::EnterFreshDirectory("denkar_texture").empty());
    app_ = &GetAppContext();
  }
  AppContext* app_ = nullptr;
};

}  // namespace

TEST_F(TextureTest, ColourKeyTexelsBecomeTransparentOnScreen) {
  const std::vector<uint32_t> pixels = {0xFF00FF64, 0xFF00FF63, 0xFF123456, 0xFF00FF64};
  FILE* f = OpenArchive({{"misc1.PNG", Png(pixels, 4, 1)}});
  ASSERT_NE(f, nullptr);
  Texture* t = nullptr;
  ASSERT_EQ(app_->LoadTexture("MISC1.png", &t, f, false), S_OK);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(t->width, 4);
  ASSERT_EQ(t->height, 1);
  EXPECT_EQ(t->Texel(0, 0), 0x00000000u);
  EXPECT_EQ(t->Texel(1, 0), 0xFF00FF63u);
  EXPECT_EQ(t->Texel(2, 0), 0xFF123456u);
  EXPECT_EQ(t->Texel(3, 0), 0x00000000u);

  std::unique_ptr<RenderDevice> device = testapp::MakeOffscreenDevice();
  ASSERT_NE(device, nullptr);
  Sprite sprite(device.get());
  app_->device = device.get();
  app_->sprite = &sprite;
  device->Clear(0xFF646464);
  const D3DXVECTOR2 at{10, 10};
  app_->DrawSprite(t, nullptr, nullptr, nullptr, 0.0, &at, 0xFFFFFFFF);
  const uint32_t* back = device->BackBuffer();
  EXPECT_EQ(back[10 * 1024 + 10] & 0xFFFFFF, 0x646464u);
  EXPECT_EQ(back[10 * 1024 + 11] & 0xFFFFFF, 0x00FF63u);
  EXPECT_EQ(back[10 * 1024 + 12] & 0xFFFFFF, 0x123456u);
  EXPECT_EQ(back[10 * 1024 + 13] & 0xFFFFFF, 0x646464u);
  app_->sprite = nullptr;
  app_->device = nullptr;
  ReleaseTexture(t);
  EXPECT_EQ(t, nullptr);
  CloseDataFile(f);
}

TEST_F(TextureTest, MembersComeFromTheDataFileUnlessDiskIsAllowed) {
  ASSERT_TRUE(testdata::WriteFile("misc2.PNG", SmallPng(0xFF0000FF)));  // lies next to the program
  FILE* f = OpenArchive({{"misc1.PNG", SmallPng(0xFFFF0000)},
                         {"broken.PNG", testdata::ToBytes("not a picture at all")},
                         {"empty.PNG", {}}});
  ASSERT_NE(f, nullptr);
  Texture* t = reinterpret_cast<Texture*>(1);
  EXPECT_EQ(app_->LoadTexture("misc2.PNG", &t, f, false), E_FAIL);
  EXPECT_EQ(t, nullptr);
  EXPECT_EQ(app_->LoadTexture("broken.PNG", &t, f, false), E_FAIL);
  EXPECT_EQ(app_->LoadTexture("empty.PNG", &t, f, false), E_FAIL);  // size 0: a short read
  EXPECT_EQ(app_->LoadTexture("misc2.PNG", &t, nullptr, false), E_FAIL);

  // With disk access allowed (tests and tools): the member first, then the file.
  ASSERT_EQ(app_->LoadTexture("misc1.PNG", &t, f, true), S_OK);
  EXPECT_EQ(t->Texel(0, 0), 0xFFFF0000u);
  ReleaseTexture(t);
  ASSERT_EQ(app_->LoadTexture("misc2.PNG", &t, f, true), S_OK);
  EXPECT_EQ(t->Texel(1, 1), 0xFF0000FFu);
  ReleaseTexture(t);
  ASSERT_EQ(app_->LoadTexture("misc2.PNG", &t, nullptr, true), S_OK);
  ReleaseTexture(t);
  EXPECT_EQ(app_->LoadTexture("nowhere.PNG", &t, nullptr, true), E_FAIL);
  CloseDataFile(f);
}

TEST_F(TextureTest, DeviceStartsHeadlessAndFailsWithoutAUsableBackBuffer) {
  app_->hWnd = nullptr;
  app_->fullscreen = false;
  ASSERT_EQ(InitDirect3D(), S_OK);
  EXPECT_NE(app_->d3d, nullptr);
  ASSERT_NE(app_->device, nullptr);
  EXPECT_EQ(app_->device->Width(), 1024);
  EXPECT_EQ(app_->device->Height(), 768);
  const D3DPRESENT_PARAMETERS& pp = app_->presentParams;
  EXPECT_EQ(pp.BackBufferWidth, 1024);
  EXPECT_EQ(pp.BackBufferHeight, 768);
  EXPECT_EQ(pp.BackBufferFormat, D3DFMT_X8R8G8B8);
  EXPECT_EQ(pp.BackBufferCount, 1);
  EXPECT_EQ(pp.SwapEffect, 1);
  EXPECT_TRUE(pp.Windowed);
  EXPECT_FALSE(pp.EnableAutoDepthStencil);
  ReleaseGraphics();
  EXPECT_EQ(app_->device, nullptr);
  EXPECT_EQ(app_->d3d, nullptr);

  // No back buffer of that size can be made in any of the three formats.
  app_->screenWidth = -1;
  EXPECT_EQ(InitDirect3D(), E_FAIL);
  EXPECT_EQ(app_->device, nullptr);
  ReleaseGraphics();
  EXPECT_EQ(app_->d3d, nullptr);
  app_->screenWidth = 1024;
}

TEST_F(TextureTest, LoadTexturesLoadsEverySheetInOrder) {
  std::vector<Entry> entries;
  for (const char* name : SHEETS) entries.push_back({name, SmallPng(0xFF808080)});
  app_->dataFile = OpenArchive(entries);
  ASSERT_NE(app_->dataFile, nullptr);
  ASSERT_EQ(InitDirect3D(), S_OK);
  ResetLoadingProgress();
  ASSERT_EQ(LoadTextures(), S_OK);
  EXPECT_EQ(LoadingProgress(), 16);  // one before the first sheet, one after each later sheet
  EXPECT_NE(app_->sprite, nullptr);
  Texture* AppContext::*fields[] = {
      &AppContext::texSplash, &AppContext::texMisc1,        &AppContext::texMisc2,
      &AppContext::texMisc3,  &AppContext::texMisc4,        &AppContext::texMenu1,
      &AppContext::texMenu2,  &AppContext::texMenu3,        &AppContext::texBack1,
      &AppContext::texBack2,  &AppContext::texBack3,        &AppContext::texBack4,
      &AppContext::texMemoryCards1, &AppContext::texMemoryCards2, &AppContext::texMemoryMuster,
      &AppContext::texBg};
  for (auto field : fields) EXPECT_NE(app_->*field, nullptr);
  ReleaseGraphics();
  for (auto field : fields) EXPECT_EQ(app_->*field, nullptr);
  EXPECT_EQ(app_->sprite, nullptr);
  CloseDataFile(app_->dataFile);

  // "menu3.PNG" missing: loading stops there; what loaded before stays.
  entries.erase(entries.begin() + 7);
  app_->dataFile = OpenArchive(entries);
  ASSERT_NE(app_->dataFile, nullptr);
  ASSERT_EQ(InitDirect3D(), S_OK);
  EXPECT_EQ(LoadTextures(), E_FAIL);
  EXPECT_NE(app_->texMenu2, nullptr);
  EXPECT_EQ(app_->texMenu3, nullptr);
  EXPECT_EQ(app_->texBg, nullptr);
  ReleaseGraphics();
  EXPECT_EQ(app_->texMenu2, nullptr);
  CloseDataFile(app_->dataFile);

  // Without a data file the first sheet already fails.
  app_->dataFile = nullptr;
  ASSERT_EQ(InitDirect3D(), S_OK);
  EXPECT_EQ(LoadTextures(), E_FAIL);
  EXPECT_EQ(app_->texSplash, nullptr);
  ReleaseGraphics();
}

TEST(PngCheck, OnlyAWholePngWithCorrectChecksumsPasses) {
  const Bytes png = SmallPng(0xFF102030);
  int w = 0, h = 0;
  ASSERT_TRUE(CheckPngWhole(png.data(), png.size(), &w, &h));
  EXPECT_EQ(w, 2);
  EXPECT_EQ(h, 2);
  // Cut anywhere before the end chunk is whole.
  for (size_t cut : {size_t{0}, size_t{8}, size_t{33}, png.size() / 2, png.size() - 1})
    EXPECT_FALSE(CheckPngWhole(png.data(), cut, nullptr, nullptr)) << cut;
  // One bit flipped in the picture data, in a checksum, in the header.
  Bytes flipped = png;
  flipped[FindChunk(png, "IDAT") + 9] ^= 0x01;
  EXPECT_FALSE(CheckPngWhole(flipped.data(), flipped.size(), nullptr, nullptr));
  flipped = png;
  flipped[png.size() - 1] ^= 0x80;  // the end chunk's checksum
  EXPECT_FALSE(CheckPngWhole(flipped.data(), flipped.size(), nullptr, nullptr));
  // A chunk length that runs past the end of the bytes.
  flipped = png;
  flipped[FindChunk(png, "IDAT")] = 0x7F;
  EXPECT_FALSE(CheckPngWhole(flipped.data(), flipped.size(), nullptr, nullptr));
  // Without image data: the IDAT chunk taken out.
  Bytes noData = png;
  const size_t at = FindChunk(png, "IDAT");
  const size_t length = (size_t{png[at]} << 24) | (png[at + 1] << 16) | (png[at + 2] << 8) | png[at + 3];
  noData.erase(noData.begin() + static_cast<ptrdiff_t>(at), noData.begin() + static_cast<ptrdiff_t>(at + 12 + length));
  EXPECT_FALSE(CheckPngWhole(noData.data(), noData.size(), nullptr, nullptr));
  // Damaged data behind correct checksums passes: only decoding can tell.
  const Bytes hidden = DamagedPng(png, true);
  EXPECT_TRUE(CheckPngWhole(hidden.data(), hidden.size(), nullptr, nullptr));
  Texture t;
  EXPECT_FALSE(DecodeImage(hidden.data(), hidden.size(), &t));
  const Bytes text = testdata::ToBytes("BM not a picture of any kind at all, long enough");
  EXPECT_FALSE(CheckPngWhole(text.data(), text.size(), nullptr, nullptr));
}

// The sheets of the loading screen and the main menu are decoded at start;
// the others wait with their size known and are decoded when first drawn,
// giving the same texels.
TEST_F(TextureTest, GameSheetsAreDecodedWhenFirstDrawn) {
  std::vector<Entry> entries;
  for (const char* name : SHEETS) entries.push_back({name, SmallPng(0xFF808080)});
  entries[2].bytes = Png({0xFF00FF64, 0xFF112233, 0xFF445566, 0xFF778899, 0xFFAABBCC, 0xFFDDEEFF}, 3, 2);
  app_->dataFile = OpenArchive(entries);
  ASSERT_NE(app_->dataFile, nullptr);
  ASSERT_EQ(InitDirect3D(), S_OK);
  ResetLoadingProgress();
  ASSERT_EQ(LoadTextures(), S_OK);
  EXPECT_EQ(LoadingProgress(), 16);
  for (Texture* t : {app_->texMisc1, app_->texMenu1, app_->texMenu2, app_->texBg})
    EXPECT_EQ(t->texels.size(), 4u);
  EXPECT_TRUE(app_->texMenu3->texels.empty());  // only the menu's other pages draw it
  Texture* misc2 = app_->texMisc2;
  EXPECT_EQ(misc2->width, 3);
  EXPECT_EQ(misc2->height, 2);
  EXPECT_TRUE(misc2->texels.empty());
  EXPECT_TRUE(app_->texBack1->texels.empty());

  app_->device->Clear(0xFF646464);
  const D3DXVECTOR2 at{0, 0};
  app_->DrawSprite(misc2, nullptr, nullptr, nullptr, 0.0, &at, 0xFFFFFFFF);
  ASSERT_EQ(misc2->texels.size(), 6u);
  EXPECT_EQ(misc2->Texel(0, 0), 0x00000000u);  // the colour key, as on a sheet decoded at start
  EXPECT_EQ(misc2->Texel(2, 1), 0xFFDDEEFFu);
  EXPECT_EQ(app_->device->BackBuffer()[1024 + 2] & 0xFFFFFF, 0xDDEEFFu);
  EXPECT_TRUE(app_->texBack1->texels.empty());  // only what is drawn
  EXPECT_EQ(DamagedSheet(), nullptr);
  EXPECT_EQ(app_->runState, 0);
  ReleaseGraphics();  // also what was never decoded
  EXPECT_EQ(app_->texBack1, nullptr);
  CloseDataFile(app_->dataFile);
  app_->dataFile = nullptr;
}

// Damage a checksum shows stops the start as before, naming the sheet. Damage
// behind correct checksums only shows when the sheet is first drawn: it then
// draws nothing, the missing-textures message is shown once and the run ends.
TEST_F(TextureTest, ADamagedGameSheetStopsTheStartOrEndsTheRunCleanly) {
  std::vector<Entry> entries;
  for (const char* name : SHEETS) entries.push_back({name, SmallPng(0xFF808080)});
  entries[8].bytes = DamagedPng(entries[8].bytes, false);  // back1.PNG
  app_->dataFile = OpenArchive(entries);
  ASSERT_NE(app_->dataFile, nullptr);
  ASSERT_EQ(InitDirect3D(), S_OK);
  const char* failed = nullptr;
  EXPECT_EQ(LoadTextures(&failed), E_FAIL);
  ASSERT_NE(failed, nullptr);
  EXPECT_STREQ(failed, "back1.PNG");
  EXPECT_EQ(app_->texBack1, nullptr);
  EXPECT_EQ(app_->texBg, nullptr);
  ReleaseGraphics();
  CloseDataFile(app_->dataFile);

  entries[8].bytes = DamagedPng(SmallPng(0xFF808080), true);
  app_->dataFile = OpenArchive(entries);
  ASSERT_NE(app_->dataFile, nullptr);
  ASSERT_EQ(InitDirect3D(), S_OK);
  ASSERT_EQ(LoadTextures(), S_OK);
  Texture* back1 = app_->texBack1;
  ASSERT_NE(back1, nullptr);
  EXPECT_EQ(DamagedSheet(), nullptr);
  SetMessageBoxHeadless(true);
  testing::internal::CaptureStderr();
  app_->device->Clear(0xFF646464);
  const D3DXVECTOR2 at{0, 0};
  app_->DrawSprite(back1, nullptr, nullptr, nullptr, 0.0, &at, 0xFFFFFFFF);
  app_->DrawSprite(back1, nullptr, nullptr, nullptr, 0.0, &at, 0xFFFFFFFF);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(app_->device->BackBuffer()[0] & 0xFFFFFF, 0x646464u);  // nothing drawn
  EXPECT_EQ(back1->width, 0);
  ASSERT_NE(DamagedSheet(), nullptr);
  EXPECT_STREQ(DamagedSheet(), "back1.PNG");
  EXPECT_EQ(app_->runState, 2);
  EXPECT_NE(err.find("Fehler!: Es wurden nicht alle notwendigen Texturdateien gefunden"), std::string::npos)
      << err;
  EXPECT_NE(err.find("'back1.PNG'"), std::string::npos) << err;
  EXPECT_EQ(err.find("Fehler!"), err.rfind("Fehler!"));  // once
  app_->runState = 0;
  // A new start forgets the damage of the last one.
  ASSERT_EQ(LoadTextures(), S_OK);
  EXPECT_EQ(DamagedSheet(), nullptr);
  ReleaseGraphics();
  CloseDataFile(app_->dataFile);
  app_->dataFile = nullptr;
}

TEST(LoadingScreen, BarFillStopsAtTheFrameEnd) {
  EXPECT_EQ(LoadingBarFillRight(0), 122);
  EXPECT_EQ(LoadingBarFillRight(1), 122 + 818 / 14);
  EXPECT_EQ(LoadingBarFillRight(7), 531);
  EXPECT_EQ(LoadingBarFillRight(13), 122 + 13 * 818 / 14);
  EXPECT_EQ(LoadingBarFillRight(14), 940);
  EXPECT_EQ(LoadingBarFillRight(16), 940);  // after the textures
  EXPECT_EQ(LoadingBarFillRight(27), 940);  // after the sound effects
}

TEST_F(TextureTest, LoadingScreenShowsSplashCaptionAndBar) {
  // A splash sheet with flat colours: background, the two captions, a
  // transparent bar frame and a green bar fill.
  auto splash = new Texture;
  splash->width = 1024;
  splash->height = 1124;
  splash->texels.assign(1024 * 1124, 0xFF202060);
  auto fill = [&](int l, int t, int r, int b, uint32_t c) {
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x) splash->texels[y * 1024 + x] = c;
  };
  fill(0, 768, 1024, 1124, 0x00000000);
  fill(122, 834, 940, 900, 0xFF00C000);  // bar fill
  fill(940, 834, 1024, 900, 0xFFFF00FF);  // beyond the bar: must never show
  fill(0, 900, 700, 1012, 0xFFC00000);   // German caption
  fill(0, 1012, 700, 1124, 0xFFC0C000);  // English caption

  ASSERT_EQ(InitDirect3D(), S_OK);
  Sprite sprite(app_->device);
  app_->sprite = &sprite;
  app_->texSplash = splash;
  const uint32_t* back = app_->device->BackBuffer();
  auto at = [&](int x, int y) { return back[y * 1024 + x] & 0xFFFFFF; };

  ResetLoadingProgress();
  app_->language = 0;
  for (int i = 0; i < 7; ++i) RefreshLoadingScreen();
  EXPECT_EQ(LoadingProgress(), 7);
  EXPECT_EQ(at(5, 5), 0x202060u);
  EXPECT_EQ(at(350, 200), 0xC00000u);  // German caption at y 168
  EXPECT_EQ(at(103, 697), 0x00C000u);  // fill starts at the frame's left
  EXPECT_EQ(at(511, 697), 0x00C000u);  // 7 of 14 steps: 409 px
  EXPECT_EQ(at(512, 697), 0x202060u);

  RefreshLoadingScreen(false);  // counts without drawing
  EXPECT_EQ(LoadingProgress(), 8);
  EXPECT_EQ(at(520, 697), 0x202060u);

  app_->language = 1;
  for (int i = 0; i < 19; ++i) RefreshLoadingScreen();
  EXPECT_EQ(LoadingProgress(), 27);
  EXPECT_EQ(at(350, 200), 0xC0C000u);  // English caption
  EXPECT_EQ(at(920, 697), 0x00C000u);  // full bar: 818 px
  EXPECT_EQ(at(921, 697), 0x202060u);  // and not a pixel beyond the frame
  EXPECT_EQ(at(1000, 697), 0x202060u);
  if (const std::string path = testapp::ShotPath("loading_screen.png"); !path.empty()) {
    EXPECT_TRUE(app_->device->SavePNG(path));
  }

  app_->sprite = nullptr;
  app_->language = 0;
  ReleaseGraphics();  // releases the splash sheet too
  EXPECT_EQ(app_->texSplash, nullptr);
}
