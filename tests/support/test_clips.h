// Test clips for the intro player: small AVI files written with the build's
// clip writer, and a headless screen with the virtual clock to play them on.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

class RenderDevice;
class PlatformWindow;

namespace testclips {

constexpr uint32_t kDark = 0x202020, kBright = 0xF0F0F0;

struct ClipPlan {
  int width = 64, height = 48;
  int framesPerSecond = 25;
  double seconds = 1.0;
  // From this time on the pictures are bright and the sound is a loud tone;
  // before it they are dark and silent. Negative: never.
  double flashAt = -1;
  bool withSound = true;
};

// Writes the clip; false when it could not be written.
bool WriteTestClip(const std::string& path, const ClipPlan& plan);

// A headless device (and window) in the application record, the virtual
// clock and silent audio for as long as it lives; everything is put back
// afterwards.
class HeadlessScreen {
 public:
  explicit HeadlessScreen(bool withWindow = false);
  ~HeadlessScreen();
  HeadlessScreen(const HeadlessScreen&) = delete;
  HeadlessScreen& operator=(const HeadlessScreen&) = delete;
  RenderDevice* Device() const { return device_.get(); }
  PlatformWindow* Window() const { return window_; }
  // The back buffer's pixel at (x, y), without alpha.
  uint32_t Pixel(int x, int y) const;

 private:
  std::unique_ptr<RenderDevice> device_;
  PlatformWindow* window_ = nullptr;
  bool wasVirtual_ = false, wasHeadless_ = false;
};

}  // namespace testclips
