#include "data/data_file.h"

#include <sys/types.h>
#include <cstring>

namespace {

uint32_t ReadLE32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Size of the open file in bytes, or -1. The position is left undefined.
int64_t FileSize(FILE* file) {
  if (fseeko(file, 0, SEEK_END) != 0) return -1;
  off_t end = ftello(file);
  return end < 0 ? -1 : static_cast<int64_t>(end);
}

// Reads and checks the header at position 0; returns the entry count or 0.
uint32_t ReadHeader(FILE* file) {
  uint8_t header[DATA_FILE_HEADER_BYTES];
  if (fseeko(file, 0, SEEK_SET) != 0) return 0;
  if (fread(header, 1, sizeof header, file) != sizeof header) return 0;
  if (memcmp(header, "GOB", 4) != 0) return 0;
  return ReadLE32(header + 4);
}

bool SameNameIgnoringCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    unsigned char ca = static_cast<unsigned char>(*a), cb = static_cast<unsigned char>(*b);
    if (ca >= 'A' && ca <= 'Z') ca = static_cast<unsigned char>(ca - 'A' + 'a');
    if (cb >= 'A' && cb <= 'Z') cb = static_cast<unsigned char>(cb - 'A' + 'a');
    if (ca != cb) return false;
    if (ca == 0) return true;
  }
}

}  // namespace

FILE* OpenDataFile(const char* name) {
  if (name == nullptr) return nullptr;
  FILE* file = fopen(name, "rb");
  if (file == nullptr) return nullptr;
  if (ReadHeader(file) == 0) {
    fclose(file);
    return nullptr;
  }
  return file;  // positioned after the header
}

void CloseDataFile(FILE* file) {
  if (file != nullptr) fclose(file);
}

FILE* FindMember(FILE* file, const char* name, uint32_t* outSize) {
  if (file == nullptr || name == nullptr || name[0] == '\0') return nullptr;
  const int64_t fileSize = FileSize(file);
  if (fileSize < DATA_FILE_HEADER_BYTES) return nullptr;
  uint32_t count = ReadHeader(file);
  if (count == 0) return nullptr;
  // A count larger than the directory the file can hold is cut to what is there.
  const int64_t entriesInFile = (fileSize - DATA_FILE_HEADER_BYTES) / DATA_FILE_ENTRY_BYTES;
  const int64_t entries = count < entriesInFile ? count : entriesInFile;

  uint8_t entry[DATA_FILE_ENTRY_BYTES];
  for (int64_t i = 0; i < entries; ++i) {
    // The position is right after the previous entry (or the header).
    if (fread(entry, 1, sizeof entry, file) != sizeof entry) return nullptr;
    char entryName[DATA_FILE_NAME_BYTES];
    memcpy(entryName, entry + 8, DATA_FILE_NAME_BYTES);
    entryName[DATA_FILE_NAME_BYTES - 1] = '\0';  // a name that fills all 260 bytes ends there
    if (!SameNameIgnoringCase(entryName, name)) continue;
    const int64_t offset = ReadLE32(entry);
    const int64_t size = ReadLE32(entry + 4);
    if (offset > fileSize || size > fileSize - offset) continue;  // bytes not in the file
    const int64_t next = DATA_FILE_HEADER_BYTES + (i + 1) * DATA_FILE_ENTRY_BYTES;
    if (fseeko(file, static_cast<off_t>(offset), SEEK_SET) != 0) {
      // Could not move to the member: go back to the directory and look further.
      if (fseeko(file, static_cast<off_t>(next), SEEK_SET) != 0) return nullptr;
      continue;
    }
    if (outSize != nullptr) *outSize = static_cast<uint32_t>(size);
    return file;
  }
  return nullptr;
}

bool ReadMember(FILE* file, const char* name, std::vector<uint8_t>* out) {
  if (out == nullptr) return false;
  out->clear();
  uint32_t size = 0;
  if (FindMember(file, name, &size) == nullptr) return false;
  if (size == 0) return false;  // one read of 0 bytes is a short read
  // FindMember only accepts members that lie inside the file, so the
  // allocation never exceeds the file's size.
  out->resize(size);
  if (fread(out->data(), 1, size, file) != size) {
    out->clear();
    return false;
  }
  return true;
}
