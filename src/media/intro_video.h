// The intro video: "intro.avi" from the working folder, played once at
// start-up on the main window's device, full screen with its sound. Escape
// skips it. It always ends: at the clip's end, on Escape, on a decoding
// error, for a clip without pictures, when the window is closed, and at the
// latest when the clip has run longer than it says it lasts.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>
#include "platform/win_types.h"

enum class IntroEnd {
  NotPlayed,  // no device, or the file is missing or unreadable: nothing was shown
  Completed,  // the clip ran to its end
  Skipped,    // Escape
  Failed,     // a decoding error, or a clip without a single picture
  TimedOut,   // the clip ran past its length plus a margin
  Stopped,    // the window was closed, or the host asked to stop
};

struct IntroFrame {
  int number = 0;          // frames drawn so far, counting this one
  double clock = 0;        // seconds since playback started
  double pictureTime = 0;  // clip time of the picture on screen
};

// What the caller does around every frame of the intro.
struct IntroHost {
  // Before each frame (scripted input is posted here). Returning false ends
  // the intro.
  std::function<bool()> beforeFrame;
  // After each frame is presented (screenshots).
  std::function<void(const IntroFrame&)> afterFrame;
  // Headless runs only: receives every sound sample played, as 16-bit
  // interleaved stereo at kIntroSoundRate.
  std::vector<int16_t>* heardSound = nullptr;
};

struct IntroResult {
  HRESULT result = E_FAIL;  // S_OK when the clip was shown, whatever ended it
  IntroEnd end = IntroEnd::NotPlayed;
  int frames = 0;           // frames drawn
  bool escapeHeld = false;  // Escape was still down when the intro ended
};

constexpr int kIntroSoundRate = 44100;
// How much longer than its stated length a clip may run; a clip that does
// not state its length may run kIntroUnknownLength seconds.
constexpr double kIntroMargin = 2.0;
constexpr double kIntroUnknownLength = 60.0;

// Plays the clip on the application's device (which must exist) and shows
// the window. A missing or unreadable file returns at once, silently.
IntroResult PlayIntroVideo(const char* fileName, const IntroHost& host = {});

// Where a picture of w x h goes on a screen of screenW x screenH: the largest
// rectangle of the picture's shape, centred (bars on two sides when the
// shapes differ).
struct IntroPlacement {
  int x = 0, y = 0, width = 0, height = 0;
};
IntroPlacement FitIntroPicture(int w, int h, int screenW, int screenH);
