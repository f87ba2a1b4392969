#include "support/test_clips.h"

#include <cmath>
#include <vector>

#include "clip_writer.h"
#include "platform/clock.h"
#include "platform/render_device.h"
#include "platform/window.h"
#include "shell/shell.h"
#include "util/app_context.h"

namespace testclips {

bool WriteTestClip(const std::string& path, const ClipPlan& plan) {
  clip::ClipSettings settings;
  settings.width = plan.width;
  settings.height = plan.height;
  settings.framesPerSecond = plan.framesPerSecond;
  settings.frames = static_cast<int>(std::lround(plan.seconds * plan.framesPerSecond));
  settings.keyFrameInterval = 10;
  if (plan.withSound) {
    settings.sampleRate = 22050;
    settings.sound.assign(static_cast<size_t>(plan.seconds * settings.sampleRate), 0);
    if (plan.flashAt >= 0)
      for (size_t i = static_cast<size_t>(plan.flashAt * settings.sampleRate); i < settings.sound.size(); ++i)
        settings.sound[i] = static_cast<int16_t>(std::sin(i * 0.25) * 16000);
  }
  const auto draw = [&](int index, uint8_t* pixels, int stride) {
    const bool bright = plan.flashAt >= 0 && index >= plan.flashAt * plan.framesPerSecond;
    const uint32_t colour = 0xFF000000u | (bright ? kBright : kDark);
    for (int y = 0; y < plan.height; ++y) {
      auto* row = reinterpret_cast<uint32_t*>(pixels + static_cast<size_t>(y) * stride);
      for (int x = 0; x < plan.width; ++x) row[x] = colour;
    }
  };
  return clip::WriteClip(path, settings, draw, nullptr);
}

HeadlessScreen::HeadlessScreen(bool withWindow) {
  AppContext& app = GetAppContext();
  wasVirtual_ = ClockIsVirtual();
  wasHeadless_ = app.headless;
  ClockUseVirtual(true);
  app.headless = true;
  D3DPRESENT_PARAMETERS pp;
  pp.BackBufferWidth = 1024;
  pp.BackBufferHeight = 768;
  pp.BackBufferFormat = D3DFMT_X8R8G8B8;
  device_ = RenderDevice::Create(pp);
  app.device = device_.get();
  if (withWindow) {
    window_ = PlatformWindow::Create("Denkarium", 1024, 768, true, true, WindowProc);
    app.hWnd = window_;
  }
}

HeadlessScreen::~HeadlessScreen() {
  AppContext& app = GetAppContext();
  ClearMessageQueue();
  app.hWnd = nullptr;
  delete window_;
  app.device = nullptr;
  app.headless = wasHeadless_;
  ClockUseVirtual(wasVirtual_);
}

uint32_t HeadlessScreen::Pixel(int x, int y) const {
  return device_->BackBuffer()[static_cast<size_t>(y) * device_->Width() + x] & 0xFFFFFF;
}

}  // namespace testclips
