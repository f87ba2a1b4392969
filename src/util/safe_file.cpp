#include "util/safe_file.h"

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

// The file a write replaces: a symbolic link is followed to its target, so
// the link stays a link. A path that does not exist yet is taken as it is.
std::string ReplacedFile(const std::string& path) {
  char resolved[PATH_MAX];
  struct stat info;
  if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode) &&
      realpath(path.c_str(), resolved) != nullptr)
    return resolved;
  return path;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// After a rename the folder entry itself must reach the disk, or a power
// loss can bring the old file back.
void SyncFolder(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

bool WriteFileSafely(const std::string& path, const std::string& bytes) {
  if (path.empty()) return false;
  const std::string target = ReplacedFile(path);
  // Each write gets a temporary name of its own (created exclusively), so two
  // copies of the game saving the same file never write into one temporary
  // file: the last complete file wins.
  std::string temporary = target + ".XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) return false;
  // The new file keeps the permissions of the one it replaces; a new file gets
  // the usual ones.
  struct stat old;
  if (stat(target.c_str(), &old) == 0) {
    fchmod(fd, old.st_mode & 07777);
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
  }
  bool ok = WriteAll(fd, bytes);
  // The data must be on disk before the rename makes it the file.
  ok = fsync(fd) == 0 && ok;
  ok = close(fd) == 0 && ok;
  if (ok) ok = std::rename(temporary.c_str(), target.c_str()) == 0;
  if (!ok) {
    std::remove(temporary.c_str());
    return false;
  }
  SyncFolder(FolderOf(target));
  return true;
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
