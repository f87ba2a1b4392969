// RenderDevice: creation, the lost/reset cycle and presentation. The picture
// itself is drawn in software (render_raster.cpp); in a window, Present hands
// the back buffer to an SDL renderer that scales it to the window with its
// aspect kept.
#include "platform/render_device.h"

#include <SDL.h>

#include "platform/window.h"

struct RenderDevice::Presenter {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  int width = 0, height = 0;

  ~Presenter() {
    if (texture) SDL_DestroyTexture(texture);
    if (renderer) SDL_DestroyRenderer(renderer);
  }

  bool CreateRenderer() {
    // Linear filtering for the scaled picture; must be set before the texture exists.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer) return false;
    // The logical size letterboxes the picture (black bars) and also maps mouse
    // positions in window events back to back-buffer pixels.
    SDL_RenderSetLogicalSize(renderer, width, height);
    return true;
  }

  bool CreateTexture() {
    if (texture) SDL_DestroyTexture(texture);
    texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                width, height);
    if (!texture) return false;
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeLinear);
    return true;
  }
};

namespace {
bool FormatAccepted(int format) {
  return format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8 || format == D3DFMT_R5G6B5;
}
constexpr int kMaxBackBufferSide = 8192;
}  // namespace

std::unique_ptr<RenderDevice> RenderDevice::Create(const D3DPRESENT_PARAMETERS& params) {
  if (!FormatAccepted(params.BackBufferFormat)) return nullptr;
  int w = params.BackBufferWidth, h = params.BackBufferHeight;
  if (w == 0 && h == 0) {
    w = 1024;
    h = 768;
  }
  if (w <= 0 || h <= 0 || w > kMaxBackBufferSide || h > kMaxBackBufferSide) return nullptr;

  std::unique_ptr<RenderDevice> device(new RenderDevice());
  device->width_ = w;
  device->height_ = h;
  device->params_ = params;
  device->params_.BackBufferWidth = w;
  device->params_.BackBufferHeight = h;
  device->backBuffer_.assign(static_cast<size_t>(w) * h, 0xFF000000u);

  PlatformWindow* window = params.hDeviceWindow;
  if (window && !window->Headless() && window->NativeHandle()) {
    auto* presenter = new Presenter();
    presenter->window = static_cast<SDL_Window*>(window->NativeHandle());
    presenter->width = w;
    presenter->height = h;
    if (!presenter->CreateRenderer() || !presenter->CreateTexture()) {
      delete presenter;
      return nullptr;
    }
    device->presenter_ = presenter;
  }
  return device;
}

RenderDevice::~RenderDevice() { delete presenter_; }

HRESULT RenderDevice::TestCooperativeLevel() {
  PlatformWindow* window = params_.hDeviceWindow;
  if (presenter_ && window && window->IsMinimized()) {
    wasMinimized_ = true;
    return D3DERR_DEVICELOST;
  }
  if (wasMinimized_) {
    wasMinimized_ = false;
    needsReset_ = true;
  }
  return needsReset_ ? D3DERR_DEVICENOTRESET : S_OK;
}

HRESULT RenderDevice::Reset(const D3DPRESENT_PARAMETERS& params) {
  if (!FormatAccepted(params.BackBufferFormat)) return E_INVALIDARG;
  // The back buffer keeps its size; windowed or full screen is the window's business.
  params_ = params;
  params_.BackBufferWidth = width_;
  params_.BackBufferHeight = height_;
  if (presenter_) {
    // Full-screen switches and driver resets can invalidate the texture; make
    // a fresh one (and a renderer, if an earlier reset lost it). On failure
    // the device stays "not reset" so the caller tries again next turn.
    bool ok = presenter_->renderer || presenter_->CreateRenderer();
    if (ok) {
      SDL_RenderSetLogicalSize(presenter_->renderer, width_, height_);
      ok = presenter_->CreateTexture();
    }
    if (!ok) {
      needsReset_ = true;
      return E_FAIL;
    }
  }
  needsReset_ = false;
  wasMinimized_ = false;
  return S_OK;
}

void RenderDevice::Present() {
  if (!presenter_ || !presenter_->renderer || !presenter_->texture || needsReset_) return;
  PlatformWindow* window = params_.hDeviceWindow;
  if (window && window->IsMinimized()) return;
  SDL_UpdateTexture(presenter_->texture, nullptr, backBuffer_.data(),
                    width_ * static_cast<int>(sizeof(uint32_t)));
  SDL_SetRenderDrawColor(presenter_->renderer, 0, 0, 0, 255);
  SDL_RenderClear(presenter_->renderer);
  SDL_RenderCopy(presenter_->renderer, presenter_->texture, nullptr, nullptr);
  SDL_RenderPresent(presenter_->renderer);
}

bool RenderDevice::SavePNG(const std::string& path) const {
  return WritePNG(path, backBuffer_.data(), width_, height_, true);
}
