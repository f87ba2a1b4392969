// Small builders for the tests: archives in the "sport.gob" layout, RIFF WAVE
// bytes, whole files, result entries, and fresh working folders that are
// removed again when the test process ends.
#pragma once
#include <stdlib.h>
#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace testdata {

using Bytes = std::vector<uint8_t>;

inline void PutLE16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
inline void PutLE32(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
// Byte by byte: inserting the range trips a false overflow warning of GCC 12.
inline void PutTag(Bytes& b, const char* tag) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(tag[i]));
}

// One directory entry. When offset/size are left at -1 the builder places
// the bytes after the directory and uses their length.
struct Entry {
  std::string name;
  Bytes bytes;
  int64_t offset = -1;
  int64_t size = -1;
};

// Header, directory and member bytes. `count` < 0 writes the number of
// entries; `directoryEntries` < 0 writes every entry (fewer cuts it short).
inline Bytes BuildArchive(const std::vector<Entry>& entries, int64_t count = -1,
                          const char* magic = "GOB") {
  Bytes out;
  for (int i = 0; i < 3; ++i) out.push_back(static_cast<uint8_t>(magic[i]));  // as in PutTag
  out.push_back(0);
  PutLE32(out, static_cast<uint32_t>(count < 0 ? static_cast<int64_t>(entries.size()) : count));
  size_t dataAt = out.size() + entries.size() * 268;
  Bytes data;
  for (const Entry& e : entries) {
    const int64_t offset = e.offset >= 0 ? e.offset : static_cast<int64_t>(dataAt + data.size());
    const int64_t size = e.size >= 0 ? e.size : static_cast<int64_t>(e.bytes.size());
    if (e.offset < 0) data.insert(data.end(), e.bytes.begin(), e.bytes.end());
    PutLE32(out, static_cast<uint32_t>(offset));
    PutLE32(out, static_cast<uint32_t>(size));
    char name[260] = {};
    memcpy(name, e.name.data(), e.name.size() < 260 ? e.name.size() : 260);
    out.insert(out.end(), name, name + 260);
  }
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

inline Bytes ToBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

inline bool WriteFile(const std::string& path, const Bytes& bytes) {
  FILE* f = fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  // An empty file: nothing to write (fwrite must not see a null buffer).
  const bool ok = bytes.empty() || fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return fclose(f) == 0 && ok;
}

inline Bytes ReadFile(const std::string& path) {
  Bytes out;
  FILE* f = fopen(path.c_str(), "rb");
  if (f == nullptr) return out;
  int c;
  while ((c = fgetc(f)) != EOF) out.push_back(static_cast<uint8_t>(c));
  fclose(f);
  return out;
}

// The fields of a "fmt " chunk; extra bytes are written for non-PCM formats.
struct WavLayout {
  uint16_t formatTag = 1;
  uint16_t channels = 1;
  uint32_t samplesPerSec = 22050;
  uint16_t bitsPerSample = 16;
  uint16_t blockAlign = 2;
  Bytes extra;                      // after cbSize (non-PCM only)
  Bytes samples = Bytes(4410, 0);   // 0.1 s of silence
};

inline Bytes FmtChunk(const WavLayout& w) {
  Bytes c;
  PutTag(c, "fmt ");
  const bool pcm = w.formatTag == 1;
  PutLE32(c, static_cast<uint32_t>(pcm ? 16 : 18 + w.extra.size()));
  PutLE16(c, w.formatTag);
  PutLE16(c, w.channels);
  PutLE32(c, w.samplesPerSec);
  PutLE32(c, w.samplesPerSec * w.blockAlign);
  PutLE16(c, w.blockAlign);
  PutLE16(c, w.bitsPerSample);
  if (!pcm) {
    PutLE16(c, static_cast<uint32_t>(w.extra.size()));
    c.insert(c.end(), w.extra.begin(), w.extra.end());
  }
  return c;
}

inline Bytes DataChunk(const Bytes& samples) {
  Bytes c;
  PutTag(c, "data");
  PutLE32(c, static_cast<uint32_t>(samples.size()));
  c.insert(c.end(), samples.begin(), samples.end());
  if (samples.size() & 1) c.push_back(0);
  return c;
}

// "RIFF" size "WAVE" followed by the given chunks.
inline Bytes Riff(const std::vector<Bytes>& chunks) {
  Bytes body;
  PutTag(body, "WAVE");
  for (const Bytes& c : chunks) body.insert(body.end(), c.begin(), c.end());
  Bytes out;
  PutTag(out, "RIFF");
  PutLE32(out, static_cast<uint32_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

inline Bytes MakeWav(const WavLayout& w = WavLayout{}) { return Riff({FmtChunk(w), DataChunk(w.samples)}); }

// The whole file as text ("" when it cannot be read), and text written as a
// whole new file.
inline std::string ReadText(const std::string& path) {
  const Bytes bytes = ReadFile(path);
  return std::string(bytes.begin(), bytes.end());
}
inline bool WriteText(const std::string& path, const std::string& text) {
  return WriteFile(path, ToBytes(text));
}

// A new result entry (HighscoreEntry or SeriesEntry) with these values.
template <typename EntryType>
EntryType* NamedEntry(const char* name, double grade, int day = 1, int month = 2, int year = 2024) {
  EntryType* e = new EntryType();
  e->SetName(name);
  e->grade = grade;
  e->day = day;
  e->month = month;
  e->year = year;
  return e;
}

namespace detail {
inline std::vector<std::string>& FoldersToRemove() {
  static std::vector<std::string>* folders = new std::vector<std::string>;
  return *folders;
}
// Set DENKAR_KEEP_TEST_FOLDERS to look at what a test left behind.
inline void RemoveFoldersAtExit() {
  if (getenv("DENKAR_KEEP_TEST_FOLDERS")) return;
  std::error_code ec;
  for (const std::string& folder : FoldersToRemove()) std::filesystem::remove_all(folder, ec);
}
// Registered while the program starts, so it runs after the application
// record (created later, in a test) has been destroyed and written its files.
inline const bool removalRegistered = (FoldersToRemove(), atexit(RemoveFoldersAtExit) == 0);

inline std::string MakeFreshFolder(const char* prefix) {
  std::string pattern = std::string(P_tmpdir) + "/" + prefix + "XXXXXX";
  std::vector<char> buf(pattern.begin(), pattern.end());
  buf.push_back('\0');
  if (mkdtemp(buf.data()) == nullptr) return "";
  FoldersToRemove().push_back(buf.data());
  return buf.data();
}
}  // namespace detail

// Makes a fresh folder under the system's temporary folder and changes into
// it; "" when that fails. The folder and what is in it are removed at process
// exit, after the application record has written its files there, so a test
// may enter it before its first GetAppContext().
inline std::string EnterFreshDirectory(const char* prefix) {
  const std::string path = detail::MakeFreshFolder(prefix);
  if (path.empty() || chdir(path.c_str()) != 0) return "";
  return path;
}

// The same as EnterFreshDirectory.
inline std::string EnterAppDirectory(const char* prefix) { return EnterFreshDirectory(prefix); }

// A fresh working folder for one test that does not use the application
// record: entered on construction, left and removed already on destruction.
class ScratchDirectory {
 public:
  explicit ScratchDirectory(const char* prefix) {
    std::error_code ec;
    previous_ = std::filesystem::current_path(ec);
    path_ = EnterFreshDirectory(prefix);
  }
  ~ScratchDirectory() {
    std::error_code ec;
    if (!previous_.empty()) std::filesystem::current_path(previous_, ec);
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;
  bool Ok() const { return !path_.empty(); }

 private:
  std::filesystem::path previous_;
  std::string path_;
};

}  // namespace testdata
