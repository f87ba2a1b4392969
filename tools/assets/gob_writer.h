// Writing and reading archives in the "sport.gob" layout: the magic "GOB\0",
// a 32-bit entry count, one 268-byte directory entry per member (32-bit
// offset, 32-bit size, 260-byte zero-padded name) and then the member bytes
// in directory order. All integers are little-endian.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace gob {

constexpr size_t kHeaderBytes = 8;
constexpr size_t kEntryBytes = 268;
constexpr size_t kNameBytes = 260;

struct Member {
  std::string name;  // folder parts separated by a backslash
  std::vector<uint8_t> bytes;
};

// Builds the archive bytes. Fails (false, with a reason) when there is no
// member, a name is empty or does not fit its 260 bytes with the closing
// zero, or the archive would not fit 32-bit offsets.
bool Build(const std::vector<Member>& members, std::vector<uint8_t>* out, std::string* error);

// Builds the archive and writes it to `path` through a temporary file next to
// it that is renamed over the old archive, so a failed write never leaves a
// half-written archive behind.
bool Write(const std::string& path, const std::vector<Member>& members, std::string* error);

// One directory entry as read back.
struct Entry {
  std::string name;
  uint32_t offset = 0;
  uint32_t size = 0;
  bool inside = false;  // offset and size lie within the file
};

// Parses the header and directory of archive bytes. Every read is checked:
// the count is capped by what the file can hold, names are cut at their
// 260th byte, and entries whose bytes lie outside the file are marked.
bool ReadDirectory(const std::vector<uint8_t>& file, std::vector<Entry>* entries,
                   std::string* error);

bool ReadFile(const std::string& path, std::vector<uint8_t>* out);
bool WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace gob
