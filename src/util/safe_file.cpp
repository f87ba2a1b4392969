#include "util/safe_file.h"

#include <cstdio>
#include <unistd.h>

bool WriteFileSafely(const std::string& path, const std::string& bytes) {
  if (path.empty()) return false;
  const std::string temporary = path + ".tmp";
  FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  ok = std::fflush(file) == 0 && ok;
  // The data must be on disk before the rename makes it the file.
  ok = fsync(fileno(file)) == 0 && ok;
  ok = std::fclose(file) == 0 && ok;
  if (ok) ok = std::rename(temporary.c_str(), path.c_str()) == 0;
  if (!ok) std::remove(temporary.c_str());
  return ok;
}

bool ReadWholeFile(const std::string& path, std::string* bytes) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  std::string data;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) data.append(buffer, n);
  const bool ok = !std::ferror(file);
  std::fclose(file);
  if (ok && bytes) *bytes = std::move(data);
  return ok;
}
