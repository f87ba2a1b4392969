// The drawing device: a 1024 x 768 back buffer rendered in software, so the
// picture is the same in a window and headless. In a window, Present scales
// the back buffer to the window with its aspect kept (letterboxed).
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include "platform/win_types.h"

class PlatformWindow;

// A texture: straight (not premultiplied) A8R8G8B8 texels, row after row.
struct Texture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> texels;
  uint32_t Texel(int x, int y) const { return texels[static_cast<size_t>(y) * width + x]; }
};
using IDirect3DTexture9 = Texture;

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
  void BeginScene();
  void EndScene();
  void Present();

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

  int Width() const { return width_; }
  int Height() const { return height_; }
  const uint32_t* BackBuffer() const { return backBuffer_.data(); }  // X8R8G8B8
  bool SavePNG(const std::string& path) const;

 private:
  RenderDevice() = default;
  struct Presenter;
  int width_ = 0, height_ = 0;
  std::vector<uint32_t> backBuffer_;
  D3DPRESENT_PARAMETERS params_;
  Presenter* presenter_ = nullptr;  // window output, null headless
  bool wasMinimized_ = false;
  bool needsReset_ = false;
};
using IDirect3DDevice9 = RenderDevice;

// Decodes PNG (or any image SDL2_image reads) into A8R8G8B8 texels.
bool DecodeImage(const uint8_t* bytes, size_t size, Texture* out);
// Writes A8R8G8B8 (or X8R8G8B8 with opaque=true) pixels as a PNG file.
bool WritePNG(const std::string& path, const uint32_t* pixels, int width, int height, bool opaque);
