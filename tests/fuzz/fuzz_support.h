// Shared pieces of the fuzz targets: a scratch folder for readers that open
// files by name, and the bytes of one input as a file there.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// Enters a private scratch folder (once per process).
void EnterScratchFolder();
// Writes the input to `name` in the scratch folder.
void WriteInput(const char* name, const uint8_t* data, size_t size);
inline std::string AsText(const uint8_t* data, size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

}  // namespace fuzz
