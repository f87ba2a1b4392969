// Reading a video file with FFmpeg (any container and codec it knows):
// pictures as X8R8G8B8 texels scaled to the size the caller asks for, and
// the sound as interleaved 16-bit samples at the caller's rate and channel
// count, laid on one time line that starts at 0 with the clip.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct VideoPicture {
  int width = 0;
  int height = 0;
  double time = 0;               // seconds from the start of the clip
  std::vector<uint32_t> texels;  // X8R8G8B8, alpha 0xFF, row after row
};

class VideoDecoder {
 public:
  // Null when the file is missing, unreadable or holds no video stream.
  // Opening never prints anything.
  static std::unique_ptr<VideoDecoder> Open(const std::string& path, int soundRate,
                                            int soundChannels);
  ~VideoDecoder();
  VideoDecoder(const VideoDecoder&) = delete;
  VideoDecoder& operator=(const VideoDecoder&) = delete;

  int Width() const;   // of the stored pictures
  int Height() const;
  // Seconds the file says the clip lasts; 0 when it does not say.
  double Duration() const;
  // Seconds from one picture to the next (1/25 when the file does not say).
  double FrameInterval() const;
  bool HasSound() const;

  // The next picture in display order, scaled to width x height. False at
  // the end of the pictures, which is also where a decoding error ends them
  // (Failed() then tells).
  bool NextPicture(int width, int height, VideoPicture* picture);
  // Decodes sound until `seconds` of it lie ready from the start of the clip,
  // or the sound ends. Pictures read on the way wait for NextPicture.
  void DecodeSoundUntil(double seconds);
  // Moves the sound decoded so far (and not yet taken) to the end of `out`.
  void TakeSound(std::vector<int16_t>* out);
  // Seconds of sound decoded so far, taken or not.
  double SoundDecodedSeconds() const;
  bool SoundEnded() const;
  // A decoding or reading error ended the clip early.
  bool Failed() const;

 private:
  VideoDecoder();
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
