// The intro's playback loop. The wall clock (the virtual clock in headless
// runs) drives it: each turn takes the player's input, keeps the sound a
// little ahead of the clock, shows the newest picture whose time has come
// and presents a frame. The sound starts with the first frame, so picture
// and sound share one time line.
#include "media/intro_video.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

#include "platform/audio_stream.h"
#include "platform/clock.h"
#include "platform/render_device.h"
#include "platform/video_decoder.h"
#include "platform/window.h"
#include "util/app_context.h"

namespace {

constexpr int kSoundChannels = 2;
constexpr double kSoundLead = 0.3;  // seconds of sound queued ahead of the clock
constexpr D3DCOLOR kBarColour = 0xFF000000;
constexpr int kPicturesPerFrame = 8;  // decoded at most in one frame

// Takes the waiting input. True when Escape was pressed; *stop when the
// window was closed (the quit message stays queued for the main loop).
bool PumpIntroMessages(bool* stop) {
  bool escape = false;
  MSG msg;
  while (PeekMessage(&msg)) {
    if (msg.message == WM_QUIT) {
      *stop = true;
      break;
    }
    GetMessage(&msg);
    if (msg.message == WM_KEYDOWN && (msg.wParam & 0xFFFF) == VK_ESCAPE) escape = true;
    DispatchMessage(&msg);
  }
  return escape;
}

// Feeds the stream with the clip's sound up to `until` seconds.
class SoundFeed {
 public:
  SoundFeed(VideoDecoder& decoder, AudioStream* stream) : decoder_(decoder), stream_(stream) {}
  void FillUntil(double clock, double until) {
    // Without an audio output the sound is still read and thrown away, so
    // its packets never pile up in the reader.
    decoder_.DecodeSoundUntil(until);
    samples_.clear();
    decoder_.TakeSound(&samples_);
    if (!stream_) return;
    size_t skip = 0;
    // A stream that ran dry (a machine too slow for the clip) would play the
    // rest late: the part whose time has passed is left out.
    const double late = clock - queuedUntil_;
    if (!stream_->Headless() && late > 0 && stream_->WaitingSeconds() <= 0) {
      skip = std::min(samples_.size(), static_cast<size_t>(late * kIntroSoundRate) * kSoundChannels);
    }
    queuedUntil_ += static_cast<double>(samples_.size() / kSoundChannels) / kIntroSoundRate;
    stream_->Queue(samples_.data() + skip, samples_.size() - skip);
  }
  // The clip's sound has been decoded to its end and played out.
  bool Finished() const {
    return !stream_ || (decoder_.SoundEnded() && stream_->WaitingSeconds() <= 0);
  }

 private:
  VideoDecoder& decoder_;
  AudioStream* stream_;
  std::vector<int16_t> samples_;
  double queuedUntil_ = 0;
};

}  // namespace

IntroPlacement FitIntroPicture(int w, int h, int screenW, int screenH) {
  IntroPlacement p;
  if (w <= 0 || h <= 0 || screenW <= 0 || screenH <= 0) return p;
  const double scale = std::min(static_cast<double>(screenW) / w, static_cast<double>(screenH) / h);
  p.width = std::clamp(static_cast<int>(std::lround(w * scale)), 1, screenW);
  p.height = std::clamp(static_cast<int>(std::lround(h * scale)), 1, screenH);
  p.x = (screenW - p.width) / 2;
  p.y = (screenH - p.height) / 2;
  return p;
}

IntroResult PlayIntroVideo(const char* fileName, const IntroHost& host) {
  IntroResult outcome;
  AppContext& app = GetAppContext();
  if (!fileName || !app.device) return outcome;
  std::unique_ptr<VideoDecoder> decoder =
      VideoDecoder::Open(fileName, kIntroSoundRate, kSoundChannels);
  if (!decoder) return outcome;

  const IntroPlacement place =
      FitIntroPicture(decoder->Width(), decoder->Height(), app.device->Width(), app.device->Height());
  VideoPicture upcoming;
  bool haveUpcoming = decoder->NextPicture(place.width, place.height, &upcoming);
  if (!haveUpcoming) {  // not a single picture: nothing to show
    outcome.end = IntroEnd::Failed;
    return outcome;
  }
  outcome.result = S_OK;

  std::unique_ptr<AudioStream> stream;
  if (decoder->HasSound()) stream = AudioStream::Open(app.headless, kIntroSoundRate, kSoundChannels);
  SoundFeed sound(*decoder, stream.get());
  const double interval = decoder->FrameInterval();
  const double limit =
      (decoder->Duration() > 0 ? decoder->Duration() : kIntroUnknownLength) + kIntroMargin;

  if (app.hWnd) app.hWnd->Show();
  ShowCursor(false);

  Texture screen;  // the picture on screen
  screen.width = place.width;
  screen.height = place.height;
  double pictureTime = 0, picturesEnd = 0;
  bool haveScreen = false;
  double start = -1;
  for (;;) {
    if (host.beforeFrame && !host.beforeFrame()) {
      outcome.end = IntroEnd::Stopped;
      break;
    }
    bool stop = false;
    const bool escapePressed = PumpIntroMessages(&stop);
    if (escapePressed || IsKeyDown(VK_ESCAPE)) {
      outcome.end = IntroEnd::Skipped;
      break;
    }
    if (stop || (app.hWnd && app.hWnd->IsDestroyed())) {
      outcome.end = IntroEnd::Stopped;
      break;
    }

    if (ClockIsVirtual()) ClockAdvanceFrame();
    if (start < 0) start = CounterSeconds();
    const double now = CounterSeconds() - start;
    sound.FillUntil(now, now + kSoundLead);
    if (stream && outcome.frames == 0) stream->Start();

    // The newest picture whose time has come; late ones are passed over, a
    // few per frame, so a clip whose times stand still cannot hold up the
    // checks below.
    for (int taken = 0; haveUpcoming && upcoming.time <= now && taken < kPicturesPerFrame; ++taken) {
      std::swap(screen.texels, upcoming.texels);
      pictureTime = upcoming.time;
      haveScreen = true;
      haveUpcoming = decoder->NextPicture(place.width, place.height, &upcoming);
      if (!haveUpcoming) picturesEnd = pictureTime + interval;
    }

    app.device->Clear(kBarColour);
    app.device->BeginScene();
    if (haveScreen) {
      Matrix2D at;
      at.dx = static_cast<float>(place.x);
      at.dy = static_cast<float>(place.y);
      const RECT whole{0, 0, screen.width, screen.height};
      app.device->DrawTexture(screen, whole, at, 0xFFFFFFFF);
    }
    app.device->EndScene();
    app.device->Present();
    ++outcome.frames;
    if (host.afterFrame) host.afterFrame({outcome.frames, now, pictureTime});

    if (decoder->Failed()) {
      outcome.end = IntroEnd::Failed;
      break;
    }
    if (!haveUpcoming && now >= picturesEnd && sound.Finished()) {
      outcome.end = IntroEnd::Completed;
      break;
    }
    if (now > limit) {
      outcome.end = IntroEnd::TimedOut;
      break;
    }
    if (!ClockIsVirtual()) {
      // Sleep until the next picture is due, but look at the keys often.
      const double due = haveUpcoming ? upcoming.time - now : 0.010;
      Sleep(static_cast<uint32_t>(std::clamp(due * 1000.0, 1.0, 10.0)));
    }
  }
  outcome.escapeHeld = IsKeyDown(VK_ESCAPE);
  if (host.heardSound && stream && stream->Headless()) *host.heardSound = stream->Kept();
  return outcome;
}
