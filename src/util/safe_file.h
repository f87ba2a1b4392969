// Whole-file reading and safe replacement of a file: the new contents go into
// a temporary file next to the target, which is flushed, closed and renamed
// over the target, so a crash mid-write never leaves a cut-off file.
#pragma once
#include <string>

// Writes `bytes` to a temporary file of its own ("<path>.XXXXXX") in the same
// folder and renames it over `path`, then syncs the folder. A symbolic link is
// written through to its target; the old file's permissions are kept. On any
// error the temporary file is removed, the old file stays and the result is
// false.
bool WriteFileSafely(const std::string& path, const std::string& bytes);
// Reads the whole file in binary mode; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string* bytes);
