// The data file "sport.gob": an 8-byte header ("GOB\0" and the entry count),
// a directory of 268-byte entries (offset, size, 260-byte name) and the
// member bytes. Members are looked up by name, ignoring letter case; the
// first matching entry wins.
#pragma once
#include <cstdint>
#include <cstdio>
#include <vector>

constexpr int DATA_FILE_NAME_BYTES = 260;
constexpr int DATA_FILE_ENTRY_BYTES = 268;
constexpr int DATA_FILE_HEADER_BYTES = 8;

// Opens the archive for reading; null when it is missing, shorter than its
// header, has another magic or an entry count of 0.
FILE* OpenDataFile(const char* name);
void CloseDataFile(FILE* file);

// Positions the file at the first byte of the member and returns the file,
// or null when no usable entry has that name. Entries whose bytes lie
// outside the file count as missing, and the lookup goes on with later
// entries; a directory cut short by the end of the file ends the lookup.
// An empty name returns null without touching the file position.
FILE* FindMember(FILE* file, const char* name, uint32_t* outSize = nullptr);

// Reads the whole member into out. False when it is missing, has size 0 (the
// readers treat an empty member as a short read) or cannot be read whole.
bool ReadMember(FILE* file, const char* name, std::vector<uint8_t>* out);
