// The drawing device: a 1024 x 768 back buffer rendered in software, so the
// picture is the same in a window and headless. In a window, Present scales
// the back buffer to the window with its aspect kept (letterboxed).
//
// Between BeginScene and EndScene the device only records what is drawn.
// EndScene compares the recording with the previous scene's: a scene that
// would draw exactly the same picture costs neither drawing nor presenting,
// and a scene that differs in a few places is drawn again only there.
// A scene may mark its first calls as a layer (a game held still under a
// page): the pixels they make are kept and copied into later scenes that begin
// with the same calls.
#pragma once
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include "platform/win_types.h"

class PlatformWindow;

// A number no texture made before has had.
uint64_t NewTextureSerial();

// A texture: straight (not premultiplied) A8R8G8B8 texels, row after row.
struct Texture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> texels;
  // Tells this picture apart from any other, also from a later texture at the
  // same address; whoever changes the texels of a texture that has been drawn
  // in a scene gives it a new serial.
  uint64_t serial = NewTextureSerial();
  uint32_t Texel(int x, int y) const { return texels[static_cast<size_t>(y) * width + x]; }
};
using IDirect3DTexture9 = Texture;

// Coverage masks that their owner keeps between scenes (a font's glyphs): the
// bytes at an offset never change once written, though the vector may move
// as it grows, and the serial tells this store from any other. A scene refers
// to such masks instead of copying their bytes.
struct MaskStore {
  explicit MaskStore(const std::vector<uint8_t>* bytes) : bytes(bytes) {}
  const std::vector<uint8_t>* bytes;
  uint64_t serial = NewTextureSerial();
};

// 2D affine transform: screen = (m11*x + m21*y + dx, m12*x + m22*y + dy),
// laid out like the 2D part of a D3DX matrix.
struct Matrix2D {
  float m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
};

// Like D3DXMatrixTransformation2D without a scaling centre or scaling rotation:
// scale, then rotate about the rotation centre, then translate.
Matrix2D MatrixTransformation2D(const D3DXVECTOR2* scaling, const D3DXVECTOR2* rotationCentre,
                                float rotation, const D3DXVECTOR2* translation);

enum BackBufferFormat { D3DFMT_A8R8G8B8 = 21, D3DFMT_X8R8G8B8 = 22, D3DFMT_R5G6B5 = 23 };

struct D3DPRESENT_PARAMETERS {
  int BackBufferWidth = 0;
  int BackBufferHeight = 0;
  int BackBufferFormat = 0;
  int BackBufferCount = 0;
  int MultiSampleType = 0;
  int MultiSampleQuality = 0;
  int SwapEffect = 0;
  PlatformWindow* hDeviceWindow = nullptr;
  bool Windowed = false;
  bool EnableAutoDepthStencil = false;
  int Flags = 0;
  int FullScreen_RefreshRateInHz = 0;
  int PresentationInterval = 0;
};

class RenderDevice {
 public:
  // Fails (null) when the format is refused or no presentation surface can be
  // made for the window; a headless window always gets an offscreen device.
  static std::unique_ptr<RenderDevice> Create(const D3DPRESENT_PARAMETERS& params);
  ~RenderDevice();

  HRESULT TestCooperativeLevel();  // lost while minimised, not-reset once restored
  HRESULT Reset(const D3DPRESENT_PARAMETERS& params);
  void Clear(D3DCOLOR colour);
  // From BeginScene to EndScene, Clear, DrawTexture and DrawMask are recorded.
  // EndScene draws the recording unless it equals the last scene drawn and
  // the back buffer still holds that scene; true when it drew.
  void BeginScene();
  bool EndScene();
  // Shows the back buffer when it changed since the last present, or when the
  // window asked to be painted again.
  void Present();
  // The next scene is drawn even if it equals the last one. A kept layer
  // stays: it holds the pixels of its calls whatever was on screen.
  void ForgetLastScene() { lastSceneValid_ = false; }
  // Marks the calls recorded so far in this scene as a layer worth keeping.
  // It counts when the scene begins with a clear or an opaque full-screen
  // picture; the first mark of a scene counts.
  void KeepLayer();
  // Seconds between two refreshes of the display the window is on (1/60
  // when unknown or headless); presents are never more frequent.
  double RefreshInterval() const;
  // Counters for measurements.
  struct Counters {
    uint64_t scenes = 0;          // scenes ended
    uint64_t scenesDrawn = 0;     // scenes that were drawn
    uint64_t scenesPatched = 0;   // of those, drawn only where they changed
    uint64_t presents = 0;        // pictures handed to the window
    uint64_t clearsSkipped = 0;   // clears left out under an opaque full-screen picture
    uint64_t coversCut = 0;       // full-screen pictures left out under an opaque page
    uint64_t cacheBuilds = 0;     // scaled pictures made for the cache
    uint64_t cacheDraws = 0;      // draws served from the cache
    uint64_t layersKept = 0;      // layers drawn and kept
    uint64_t layerCopies = 0;     // drawings that began with a copy of the kept layer
  };
  const Counters& Stats() const { return counters_; }
  // Whether presenting goes through the GPU (an SDL renderer) or straight
  // into the window's surface.
  const char* PresentPath() const;

  // Draws the source rectangle of the texture through the transform, the
  // texels modulated by colour (ARGB) and alpha-blended onto the back buffer.
  // Axis-aligned unscaled draws copy texels one to one; everything else is
  // filtered bilinearly.
  void DrawTexture(const Texture& texture, const RECT& source, const Matrix2D& transform,
                   D3DCOLOR colour);
  // Draws an 8-bit coverage mask (glyphs) in one colour at an integer position,
  // clipped to the clip rectangle.
  void DrawMask(const uint8_t* mask, int maskWidth, int maskHeight, int maskPitch, int x, int y,
                D3DCOLOR colour, const RECT& clip);
  // The same for a mask of a store: `offset` is its first byte, its rows are
  // maskWidth bytes long. A mask that does not lie wholly in the store is
  // not drawn.
  void DrawStoredMask(const MaskStore& store, size_t offset, int maskWidth, int maskHeight, int x,
                      int y, D3DCOLOR colour, const RECT& clip);

  // Scaled and tinted pictures drawn at the same size in scene after scene
  // are kept, drawn once, and afterwards copied; this bounds their memory.
  static constexpr size_t kScaledCacheBytes = size_t{16} << 20;

  int Width() const { return width_; }
  int Height() const { return height_; }
  const uint32_t* BackBuffer() const { return backBuffer_.data(); }  // X8R8G8B8
  bool SavePNG(const std::string& path) const;
  // What the window shows where it shows the picture at its own size through
  // its surface; false otherwise (headless, scaled, or through the GPU).
  bool ShownPixels(std::vector<uint32_t>* out) const;

  // One recorded drawing call. Plain bytes without holes, so scenes compare
  // with memcmp.
  struct Command {
    uint32_t kind;  // 0 clear, 1 texture, 2 mask, 3 end of the layer to keep, 4 stored mask
    uint32_t colour;
    const Texture* texture;
    uint64_t serial;
    int32_t left, top, right, bottom;  // source rectangle, or the mask's clip
    float m[6];                        // transform
    int32_t maskWidth, maskHeight, x, y;
    uint64_t maskOffset;               // first byte of the mask in the scene's mask bytes or the store
    const MaskStore* store;            // a stored mask's store (its serial in `serial`)
  };
 private:
  RenderDevice() = default;
  struct Presenter;
  struct ScaledCache;
  void ClearNow(D3DCOLOR colour);
  void DrawTextureNow(const Texture& texture, const RECT& source, const Matrix2D& transform,
                      D3DCOLOR colour, bool cacheable);
  void DrawMaskNow(const uint8_t* mask, int maskWidth, int maskHeight, int maskPitch, int x, int y,
                   D3DCOLOR colour, const RECT& clip);
  // What a scene's drawing takes from the kept layer and leaves out under a
  // page; worked out once per scene, whatever the number of regions.
  struct ReplayPlan {
    size_t mark;       // the layer mark, or the scene's size
    bool layerHeld;    // the kept layer holds the calls before the mark
    size_t cover;      // the full-screen picture drawn around `hidden`, or the scene's size
    RECT hidden;
  };
  ReplayPlan PlanReplay();
  void Replay(const ReplayPlan& plan, bool everyCall);
  bool FindChangedRegions();
  void AddChangedRegion(const RECT& box);
  bool DrawCached(const Texture& texture, int left, int top, int sw, int sh, const Matrix2D& m,
                  D3DCOLOR colour);
  bool CoversScreenOpaquely(const Command& c);
  size_t LayerMark();
  bool LayerMatches(size_t mark) const;
  void KeepLayerPixels(size_t mark);
  bool RectOpaque(const Texture& texture, const RECT& source);
  RECT OpaqueInterior(const Texture& texture, const RECT& source);
  RECT HiddenUnderAPage(size_t cover);
  void TouchedOutsideScene() {
    lastSceneValid_ = false;
    NoteUnshown(RECT{0, 0, width_, height_});
  }
  // Adds to the part of the back buffer the window has not been shown yet.
  void NoteUnshown(const RECT& r) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    if (unshown_.right <= unshown_.left || unshown_.bottom <= unshown_.top) {
      unshown_ = r;
      return;
    }
    unshown_ = RECT{std::min(unshown_.left, r.left), std::min(unshown_.top, r.top),
                    std::max(unshown_.right, r.right), std::max(unshown_.bottom, r.bottom)};
  }

  int width_ = 0, height_ = 0;
  std::vector<uint32_t> backBuffer_;
  D3DPRESENT_PARAMETERS params_;
  Presenter* presenter_ = nullptr;  // window output, null headless
  bool wasMinimized_ = false;
  bool needsReset_ = false;
  bool recording_ = false;
  bool lastSceneValid_ = false;  // the back buffer holds exactly lastScene_
  // The part of the back buffer that changed since the last present (the
  // whole of it at first); empty when the window shows the back buffer.
  RECT unshown_{0, 0, 8192, 8192};
  std::vector<Command> scene_, lastScene_;
  std::vector<uint8_t> sceneMasks_, lastSceneMasks_;
  // Drawing is limited to this rectangle: the whole back buffer, or while a
  // scene is drawn again in part, one of the changed regions.
  RECT clip_;
  std::vector<RECT> changedRegions_;
  static constexpr size_t kKeptRegions = 64;
  struct OpaqueNote {
    uint64_t serial;
    RECT source;
    bool opaque;
  };
  std::vector<OpaqueNote> opaqueNotes_;
  struct InteriorNote {
    uint64_t serial;
    RECT source, interior;
  };
  std::vector<InteriorNote> interiorNotes_;
  std::vector<int> runLeft_, runRight_;  // working rows for OpaqueInterior
  struct CacheDeleter {
    void operator()(ScaledCache* cache) const;
  };
  std::unique_ptr<ScaledCache, CacheDeleter> cache_;
  // The kept layer: its calls (with their mask bytes) and the back buffer as
  // they left it.
  std::vector<Command> layerCalls_;
  std::vector<uint8_t> layerMasks_;
  std::vector<uint32_t> layerPixels_;
  bool layerValid_ = false;
  Counters counters_;
};
using IDirect3DDevice9 = RenderDevice;

// Decodes PNG (or any image SDL2_image reads) into A8R8G8B8 texels.
bool DecodeImage(const uint8_t* bytes, size_t size, Texture* out);
// The same through SDL2_image alone, whatever the format (DecodeImage takes a
// shorter way for plain 8-bit PNGs that gives the same texels).
bool DecodeImageGeneral(const uint8_t* bytes, size_t size, Texture* out);
// Reads the size of a PNG from its header and checks that the file is whole:
// every chunk lies inside the bytes and carries a correct checksum, there is
// image data and an end chunk. Such a picture can be decoded later, when it
// is first needed, with practically no risk of failing then. False for any
// other format or a damaged PNG.
bool CheckPngWhole(const uint8_t* bytes, size_t size, int* width, int* height);
// Writes A8R8G8B8 (or X8R8G8B8 with opaque=true) pixels as a PNG file.
bool WritePNG(const std::string& path, const uint32_t* pixels, int width, int height, bool opaque);
