// RenderDevice: creation, the lost/reset cycle and presentation. The picture
// itself is drawn in software (render_raster.cpp); in a window, Present copies
// the back buffer into the window (scaled with its aspect kept), through an
// SDL renderer only where a GPU exists.
#include "platform/render_device.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "platform/window.h"

// A machine with a GPU has a DRM render node; without one, SDL's OpenGL
// renderer would run Mesa's software rasteriser, which costs far more memory
// and time than copying the picture into the window ourselves.
bool GpuAvailable() {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", error))
    if (entry.path().filename().string().rfind("renderD", 0) == 0) return true;
  return false;
}

struct RenderDevice::Presenter {
  SDL_Window* window = nullptr;
  // With a GPU: an SDL renderer scales a streaming texture. Without one the
  // picture goes straight into the window's surface.
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  bool useRenderer = false;
  int width = 0, height = 0;
  double refreshInterval = 1.0 / 60.0;

  ~Presenter() {
    if (texture) SDL_DestroyTexture(texture);
    if (renderer) SDL_DestroyRenderer(renderer);
  }

  bool Create() {
    SDL_DisplayMode mode;
    if (SDL_GetWindowDisplayMode(window, &mode) == 0 && mode.refresh_rate > 0)
      refreshInterval = 1.0 / mode.refresh_rate;
    if (useRenderer) return CreateRenderer() && CreateTexture();
    // The window surface must not be backed by a renderer of SDL's own either.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    return SDL_GetWindowSurface(window) != nullptr;
  }

  bool CreateRenderer() {
    // Linear filtering for the scaled picture; must be set before the texture exists.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
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

  bool Ready() const { return useRenderer ? renderer && texture : window != nullptr; }

  // Shows the picture; only the changed box needs copying where the picture
  // is shown at its own size (the rest of the window already holds it).
  void Show(const uint32_t* pixels, const RECT& changed) {
    const int pitch = width * static_cast<int>(sizeof(uint32_t));
    const SDL_Rect box{changed.left, changed.top, changed.right - changed.left, changed.bottom - changed.top};
    if (useRenderer) {
      SDL_UpdateTexture(texture, &box, pixels + static_cast<size_t>(box.y) * width + box.x, pitch);
      SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
      SDL_RenderClear(renderer);
      SDL_RenderCopy(renderer, texture, nullptr, nullptr);
      SDL_RenderPresent(renderer);
      return;
    }
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (!surface || surface->w <= 0 || surface->h <= 0) return;
    // The back buffer in the surface's own 32-bit layout (X8R8G8B8 and
    // A8R8G8B8 share their bytes), so copying needs no conversion.
    const Uint32 format = surface->format->format == SDL_PIXELFORMAT_ARGB8888
                              ? SDL_PIXELFORMAT_ARGB8888
                              : SDL_PIXELFORMAT_RGB888;
    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(pixels), width,
                                                             height, 32, pitch, format);
    if (!source) return;
    SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
    if (surface->w == width && surface->h == height) {
      SDL_Rect from = box, to = box;
      SDL_BlitSurface(source, &from, surface, &to);
      SDL_FreeSurface(source);
      SDL_UpdateWindowSurfaceRects(window, &box, 1);
      return;
    } else {
      // Letterboxed: the largest size with the picture's aspect, centred
      // between black bars (the same mapping the mouse positions use).
      const double scale = std::min(static_cast<double>(surface->w) / width,
                                    static_cast<double>(surface->h) / height);
      SDL_Rect target;
      target.w = std::max(1, static_cast<int>(std::lround(width * scale)));
      target.h = std::max(1, static_cast<int>(std::lround(height * scale)));
      target.x = (surface->w - target.w) / 2;
      target.y = (surface->h - target.h) / 2;
      const Uint32 black = SDL_MapRGB(surface->format, 0, 0, 0);
      const SDL_Rect bars[4] = {{0, 0, surface->w, target.y},
                                {0, target.y + target.h, surface->w, surface->h - target.y - target.h},
                                {0, target.y, target.x, target.h},
                                {target.x + target.w, target.y, surface->w - target.x - target.w, target.h}};
      for (const SDL_Rect& bar : bars)
        if (bar.w > 0 && bar.h > 0) SDL_FillRect(surface, &bar, black);
      if (surface->format->format != format || SDL_SoftStretchLinear(source, nullptr, surface, &target) != 0)
        SDL_BlitScaled(source, nullptr, surface, &target);
    }
    SDL_FreeSurface(source);
    SDL_UpdateWindowSurface(window);
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
  device->clip_ = RECT{0, 0, w, h};

  PlatformWindow* window = params.hDeviceWindow;
  if (window && !window->Headless() && window->NativeHandle()) {
    auto* presenter = new Presenter();
    presenter->window = static_cast<SDL_Window*>(window->NativeHandle());
    presenter->width = w;
    presenter->height = h;
    presenter->useRenderer = GpuAvailable();
    if (!presenter->Create() && presenter->useRenderer) {
      // A GPU whose renderer cannot be made: present through the surface.
      delete presenter;
      presenter = new Presenter();
      presenter->window = static_cast<SDL_Window*>(window->NativeHandle());
      presenter->width = w;
      presenter->height = h;
      if (!presenter->Create()) {
        delete presenter;
        return nullptr;
      }
    } else if (!presenter->Ready()) {
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
  if (presenter_ && presenter_->useRenderer) {
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
  NoteUnshown(RECT{0, 0, width_, height_});  // whatever the window showed before is gone
  return S_OK;
}

void RenderDevice::Present() {
  if (!presenter_ || !presenter_->Ready() || needsReset_) return;
  PlatformWindow* window = params_.hDeviceWindow;
  if (window && window->IsMinimized()) return;
  // The window asks again after it was uncovered or resized.
  const bool repaint = window && window->TakeRepaintRequest();
  const RECT all{0, 0, width_, height_};
  const RECT box = repaint ? all
                           : RECT{std::max(unshown_.left, all.left), std::max(unshown_.top, all.top),
                                  std::min(unshown_.right, all.right), std::min(unshown_.bottom, all.bottom)};
  if (box.right <= box.left || box.bottom <= box.top) return;
  unshown_ = RECT{};
  presenter_->Show(backBuffer_.data(), box);
  ++counters_.presents;
}

double RenderDevice::RefreshInterval() const {
  return presenter_ ? presenter_->refreshInterval : 1.0 / 60.0;
}

const char* RenderDevice::PresentPath() const {
  if (!presenter_) return "offscreen";
  return presenter_->useRenderer ? "gpu" : "window-surface";
}

bool RenderDevice::ShownPixels(std::vector<uint32_t>* out) const {
  if (!presenter_ || presenter_->useRenderer || !presenter_->window) return false;
  SDL_Surface* surface = SDL_GetWindowSurface(presenter_->window);
  if (!surface || surface->w != width_ || surface->h != height_ || surface->format->BytesPerPixel != 4)
    return false;
  out->resize(static_cast<size_t>(width_) * height_);
  if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return false;
  for (int y = 0; y < height_; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(surface->pixels) +
                                                        static_cast<size_t>(y) * surface->pitch);
    for (int x = 0; x < width_; ++x) (*out)[static_cast<size_t>(y) * width_ + x] = row[x] | 0xFF000000u;
  }
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  return true;
}

bool RenderDevice::SavePNG(const std::string& path) const {
  return WritePNG(path, backBuffer_.data(), width_, height_, true);
}
