#include "gob_writer.h"

#include <cstdio>
#include <cstring>

namespace gob {

namespace {

void PutLE32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint32_t GetLE32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

bool Build(const std::vector<Member>& members, std::vector<uint8_t>* out, std::string* error) {
  if (members.empty()) {
    if (error) *error = "an archive needs at least one member";
    return false;
  }
  uint64_t total = kHeaderBytes + kEntryBytes * static_cast<uint64_t>(members.size());
  for (const Member& m : members) {
    if (m.name.empty() || m.name.size() >= kNameBytes ||
        m.name.find('\0') != std::string::npos) {
      if (error) *error = "member name \"" + m.name + "\" is empty or longer than 259 bytes";
      return false;
    }
    total += m.bytes.size();
  }
  if (total > UINT32_MAX) {
    if (error) *error = "archive larger than 4 GiB";
    return false;
  }
  std::vector<uint8_t> b;
  b.reserve(static_cast<size_t>(total));
  b.insert(b.end(), {'G', 'O', 'B', 0});
  PutLE32(b, static_cast<uint32_t>(members.size()));
  uint32_t offset = static_cast<uint32_t>(kHeaderBytes + kEntryBytes * members.size());
  for (const Member& m : members) {
    PutLE32(b, offset);
    PutLE32(b, static_cast<uint32_t>(m.bytes.size()));
    char name[kNameBytes] = {};
    std::memcpy(name, m.name.data(), m.name.size());
    b.insert(b.end(), name, name + kNameBytes);
    offset += static_cast<uint32_t>(m.bytes.size());
  }
  for (const Member& m : members) b.insert(b.end(), m.bytes.begin(), m.bytes.end());
  *out = std::move(b);
  return true;
}

bool ReadFile(const std::string& path, std::vector<uint8_t>* out) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::vector<uint8_t> bytes;
  uint8_t chunk[65536];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
  const bool ok = !std::ferror(f);
  std::fclose(f);
  if (ok) *out = std::move(bytes);
  return ok;
}

bool WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes) {
  const std::string temp = path + ".new";
  FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) return false;
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = (std::fclose(f) == 0) && ok;
  if (ok) ok = std::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) std::remove(temp.c_str());
  return ok;
}

bool Write(const std::string& path, const std::vector<Member>& members, std::string* error) {
  std::vector<uint8_t> bytes;
  if (!Build(members, &bytes, error)) return false;
  if (!WriteFileAtomically(path, bytes)) {
    if (error) *error = "cannot write " + path;
    return false;
  }
  return true;
}

bool ReadDirectory(const std::vector<uint8_t>& file, std::vector<Entry>* entries,
                   std::string* error) {
  entries->clear();
  if (file.size() < kHeaderBytes || std::memcmp(file.data(), "GOB\0", 4) != 0) {
    if (error) *error = "not an archive (no \"GOB\" header)";
    return false;
  }
  const uint32_t count = GetLE32(file.data() + 4);
  if (count == 0) {
    if (error) *error = "the archive has no entries";
    return false;
  }
  const uint64_t room = (file.size() - kHeaderBytes) / kEntryBytes;
  if (count > room) {
    if (error) *error = "directory cut short: " + std::to_string(count) + " entries announced, room for " +
                        std::to_string(room);
    // Go on with the entries that are there.
  }
  const uint64_t n = count < room ? count : room;
  for (uint64_t i = 0; i < n; ++i) {
    const uint8_t* e = file.data() + kHeaderBytes + i * kEntryBytes;
    Entry entry;
    entry.offset = GetLE32(e);
    entry.size = GetLE32(e + 4);
    const char* name = reinterpret_cast<const char*>(e + 8);
    entry.name.assign(name, strnlen(name, kNameBytes - 1));
    entry.inside = entry.offset <= file.size() &&
                   static_cast<uint64_t>(entry.size) <= file.size() - entry.offset;
    entries->push_back(std::move(entry));
  }
  return count <= room;
}

}  // namespace gob
