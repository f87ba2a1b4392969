// gobtool: lists, extracts and packs archives in the "sport.gob" layout.
//
//   gobtool list ARCHIVE
//   gobtool extract ARCHIVE OUTDIR [NAME ...]
//   gobtool pack ARCHIVE DIR                 (every file below DIR, sorted by path)
//   gobtool pack ARCHIVE NAME=FILE ...       (the members in the order given)
//
// Member names use a backslash between folder parts ("Sounds\win.wav"); on
// extraction it becomes a folder, and packing a folder turns the slashes of
// the relative paths back into backslashes.
#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "assets/gob_writer.h"

namespace fs = std::filesystem;

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: gobtool list ARCHIVE\n"
               "       gobtool extract ARCHIVE OUTDIR [NAME ...]\n"
               "       gobtool pack ARCHIVE DIR\n"
               "       gobtool pack ARCHIVE NAME=FILE ...\n");
  return 2;
}

bool LoadDirectory(const char* path, std::vector<uint8_t>* bytes, std::vector<gob::Entry>* entries) {
  if (!gob::ReadFile(path, bytes)) {
    std::fprintf(stderr, "gobtool: cannot read %s\n", path);
    return false;
  }
  std::string error;
  if (!gob::ReadDirectory(*bytes, entries, &error)) {
    std::fprintf(stderr, "gobtool: %s: %s\n", path, error.c_str());
    if (entries->empty()) return false;
  }
  return true;
}

int List(const char* archive) {
  std::vector<uint8_t> bytes;
  std::vector<gob::Entry> entries;
  if (!LoadDirectory(archive, &bytes, &entries)) return 1;
  std::printf("%10s %10s  %s\n", "offset", "size", "name");
  for (const gob::Entry& e : entries)
    std::printf("%10u %10u  %s%s\n", e.offset, e.size, e.name.c_str(),
                e.inside ? "" : "  (outside the file)");
  std::printf("%zu members\n", entries.size());
  return 0;
}

// Turns a member name into a relative path below the output folder, or
// returns false for names that would leave it (absolute paths, "..", empty
// parts) so a crafted archive cannot write elsewhere.
bool SafeRelativePath(const std::string& name, fs::path* out) {
  fs::path result;
  std::string part;
  auto flush = [&]() {
    if (part.empty() || part == "." || part == "..") return false;
    result /= part;
    part.clear();
    return true;
  };
  for (char c : name) {
    if (c == '\\' || c == '/') {
      if (!flush()) return false;
    } else if (c == ':' || static_cast<unsigned char>(c) < 0x20) {
      return false;
    } else {
      part += c;
    }
  }
  if (!flush()) return false;
  *out = result;
  return true;
}

int Extract(const char* archive, const char* outDir, const std::vector<std::string>& wanted) {
  std::vector<uint8_t> bytes;
  std::vector<gob::Entry> entries;
  if (!LoadDirectory(archive, &bytes, &entries)) return 1;
  int failures = 0;
  std::vector<std::string> done;
  for (const gob::Entry& e : entries) {
    if (!wanted.empty() &&
        std::none_of(wanted.begin(), wanted.end(),
                     [&](const std::string& w) { return strcasecmp(w.c_str(), e.name.c_str()) == 0; }))
      continue;
    // Like the game, the first entry of a name wins; later ones are skipped.
    if (std::any_of(done.begin(), done.end(),
                    [&](const std::string& d) { return strcasecmp(d.c_str(), e.name.c_str()) == 0; }))
      continue;
    done.push_back(e.name);
    fs::path rel;
    if (!SafeRelativePath(e.name, &rel)) {
      std::fprintf(stderr, "gobtool: skipping unsafe member name \"%s\"\n", e.name.c_str());
      ++failures;
      continue;
    }
    if (!e.inside) {
      std::fprintf(stderr, "gobtool: member \"%s\" lies outside the file\n", e.name.c_str());
      ++failures;
      continue;
    }
    const fs::path target = fs::path(outDir) / rel;
    std::error_code ec;
    fs::create_directories(target.parent_path(), ec);
    std::vector<uint8_t> member(bytes.begin() + e.offset, bytes.begin() + e.offset + e.size);
    if (!gob::WriteFileAtomically(target.string(), member)) {
      std::fprintf(stderr, "gobtool: cannot write %s\n", target.c_str());
      ++failures;
      continue;
    }
    std::printf("%s\n", target.c_str());
  }
  for (const std::string& w : wanted)
    if (std::none_of(done.begin(), done.end(),
                     [&](const std::string& d) { return strcasecmp(d.c_str(), w.c_str()) == 0; })) {
      std::fprintf(stderr, "gobtool: no member \"%s\"\n", w.c_str());
      ++failures;
    }
  return failures ? 1 : 0;
}

int Pack(const char* archive, const std::vector<std::string>& args) {
  std::vector<gob::Member> members;
  if (args.size() == 1 && args[0].find('=') == std::string::npos) {
    const fs::path root = args[0];
    std::error_code ec;
    if (!fs::is_directory(root, ec)) {
      std::fprintf(stderr, "gobtool: %s is not a folder\n", root.c_str());
      return 1;
    }
    std::vector<fs::path> files;
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::end(it);
         it.increment(ec))
      if (it->is_regular_file()) files.push_back(it->path());
    if (ec) {
      std::fprintf(stderr, "gobtool: cannot list %s\n", root.c_str());
      return 1;
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& p : files) {
      std::string name = fs::relative(p, root).generic_string();
      std::replace(name.begin(), name.end(), '/', '\\');
      gob::Member m{name, {}};
      if (!gob::ReadFile(p.string(), &m.bytes)) {
        std::fprintf(stderr, "gobtool: cannot read %s\n", p.c_str());
        return 1;
      }
      members.push_back(std::move(m));
    }
  } else {
    for (const std::string& a : args) {
      const size_t eq = a.find('=');
      if (eq == std::string::npos || eq == 0) return Usage();
      gob::Member m{a.substr(0, eq), {}};
      const std::string file = a.substr(eq + 1);
      if (!gob::ReadFile(file, &m.bytes)) {
        std::fprintf(stderr, "gobtool: cannot read %s\n", file.c_str());
        return 1;
      }
      members.push_back(std::move(m));
    }
  }
  std::string error;
  if (!gob::Write(archive, members, &error)) {
    std::fprintf(stderr, "gobtool: %s\n", error.c_str());
    return 1;
  }
  std::printf("%s: %zu members\n", archive, members.size());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string command = argv[1];
  std::vector<std::string> rest(argv + 3, argv + argc);
  if (command == "list" && argc == 3) return List(argv[2]);
  if (command == "extract" && argc >= 4)
    return Extract(argv[2], argv[3], std::vector<std::string>(argv + 4, argv + argc));
  if (command == "pack" && argc >= 4) return Pack(argv[2], rest);
  return Usage();
}
