// WAV reader: a RIFF WAVE member of the data file, read whole into memory
// and walked chunk by chunk. Every chunk size is checked against the bytes
// that are really there.
#pragma once
#include <cstdint>
#include <cstdio>
#include <vector>
#include "platform/audio_device.h"
#include "platform/win_types.h"

// The "fmt " chunk: the sixteen PCM bytes, then for other formats the count
// of extra bytes and those bytes.
struct WaveFormatEx : WaveFormat {
  uint16_t cbSize = 0;
  std::vector<uint8_t> extra;  // cbSize bytes
};

constexpr uint16_t WAVE_FORMAT_PCM = 1;

class WaveFile {
 public:
  WaveFile() = default;
  ~WaveFile() { Close(); }
  WaveFile(const WaveFile&) = delete;
  WaveFile& operator=(const WaveFile&) = delete;

  // E_INVALIDARG without a name, E_FAIL without a file, for a missing or
  // empty member and for anything that is not a readable RIFF WAVE.
  HRESULT OpenFromDataFile(FILE* dataFile, const char* name);
  // The same parse over bytes already in memory.
  HRESULT OpenFromMemory(std::vector<uint8_t> bytes);
  // Sample bytes of the "data" chunk (cut to the bytes present, whole blocks).
  uint32_t Size() const { return size_; }
  // Copies up to n sample bytes (no more than are left) and reports the count.
  HRESULT Read(uint8_t* destination, uint32_t n, uint32_t* bytesRead);
  void Close();

  bool IsOpen() const { return open_; }
  const WaveFormatEx& Format() const { return format_; }
  WaveFormat PlatformFormat() const;  // the fields the audio device needs

 private:
  std::vector<uint8_t> memory_;
  WaveFormatEx format_;
  size_t dataOffset_ = 0;  // first sample byte in memory_
  uint32_t size_ = 0;
  uint32_t bytesLeft_ = 0;
  bool open_ = false;
};
