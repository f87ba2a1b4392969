#include "audio/wave_file.h"

#include <cstring>
#include <utility>
#include "data/data_file.h"

namespace {

uint16_t ReadLE16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t ReadLE32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Looks for the chunk `id` among the chunks from `start` up to `end`. Returns
// the position of its 8-byte header, or -1. The walk only moves forwards and
// stops at a chunk that runs past `end`, so a bad size can neither read
// outside the bytes nor send it back to an earlier chunk.
int64_t FindChunk(const std::vector<uint8_t>& bytes, const char* id, int64_t start, int64_t end) {
  int64_t pos = start;
  while (pos + 8 <= end) {
    const uint8_t* header = bytes.data() + pos;
    if (memcmp(header, id, 4) == 0) return pos;
    const int64_t size = ReadLE32(header + 4);
    pos += 8 + size + (size & 1);  // chunks are padded to an even length
  }
  return -1;
}

}  // namespace

HRESULT WaveFile::OpenFromDataFile(FILE* dataFile, const char* name) {
  Close();
  if (name == nullptr) return E_INVALIDARG;
  if (dataFile == nullptr) return E_FAIL;
  std::vector<uint8_t> bytes;
  if (!ReadMember(dataFile, name, &bytes)) return E_FAIL;
  return OpenFromMemory(std::move(bytes));
}

HRESULT WaveFile::OpenFromMemory(std::vector<uint8_t> bytes) {
  Close();
  const int64_t total = static_cast<int64_t>(bytes.size());
  if (total < 12 || memcmp(bytes.data(), "RIFF", 4) != 0 || memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
    return E_FAIL;
  }
  // A RIFF chunk that claims more than the member holds ends with the member.
  int64_t riffEnd = 8 + static_cast<int64_t>(ReadLE32(bytes.data() + 4));
  if (riffEnd > total) riffEnd = total;
  const int64_t firstChunk = 12;  // after the form type

  const int64_t fmtPos = FindChunk(bytes, "fmt ", firstChunk, riffEnd);
  if (fmtPos < 0) return E_FAIL;
  const int64_t fmtSize = ReadLE32(bytes.data() + fmtPos + 4);
  if (fmtSize < 16 || fmtPos + 8 + fmtSize > riffEnd) return E_FAIL;
  const uint8_t* f = bytes.data() + fmtPos + 8;
  WaveFormatEx format;
  format.formatTag = ReadLE16(f);
  format.channels = ReadLE16(f + 2);
  format.samplesPerSec = ReadLE32(f + 4);
  format.avgBytesPerSec = ReadLE32(f + 8);
  format.blockAlign = ReadLE16(f + 12);
  format.bitsPerSample = ReadLE16(f + 14);
  if (format.formatTag != WAVE_FORMAT_PCM) {
    // Other formats carry a count of extra bytes, which must fit in the chunk.
    if (fmtSize < 18) return E_FAIL;
    format.cbSize = ReadLE16(f + 16);
    if (format.cbSize > fmtSize - 18) return E_FAIL;
    format.extra.assign(f + 18, f + 18 + format.cbSize);
  }
  if (format.channels == 0 || format.samplesPerSec == 0 || format.blockAlign == 0) return E_FAIL;

  const int64_t dataPos = FindChunk(bytes, "data", firstChunk, riffEnd);
  if (dataPos < 0) return E_FAIL;
  int64_t dataSize = ReadLE32(bytes.data() + dataPos + 4);
  const int64_t present = riffEnd - (dataPos + 8);
  if (dataSize > present) dataSize = present;  // a cut-off file plays what it has
  dataSize -= dataSize % format.blockAlign;   // whole sample frames only

  memory_ = std::move(bytes);
  format_ = std::move(format);
  dataOffset_ = static_cast<size_t>(dataPos + 8);
  size_ = bytesLeft_ = static_cast<uint32_t>(dataSize);
  open_ = true;
  return S_OK;
}

HRESULT WaveFile::Read(uint8_t* destination, uint32_t n, uint32_t* bytesRead) {
  if (destination == nullptr || bytesRead == nullptr) return E_INVALIDARG;
  *bytesRead = 0;
  if (!open_) return E_FAIL;
  const uint32_t count = n < bytesLeft_ ? n : bytesLeft_;
  if (count > 0) {
    memcpy(destination, memory_.data() + dataOffset_ + (size_ - bytesLeft_), count);
  }
  bytesLeft_ -= count;
  *bytesRead = count;
  return S_OK;
}

void WaveFile::Close() {
  memory_.clear();
  memory_.shrink_to_fit();
  format_ = WaveFormatEx{};
  dataOffset_ = 0;
  size_ = bytesLeft_ = 0;
  open_ = false;
}

WaveFormat WaveFile::PlatformFormat() const { return format_; }
