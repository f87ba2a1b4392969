// Text access to one member of the data file: an input stream over the
// member's bytes, held in memory, for readers that parse with >>.
#pragma once
#include <cstdio>
#include <memory>
#include <sstream>

class MemberStream {
 public:
  MemberStream() = default;
  MemberStream(FILE* file, const char* name) { Open(file, name); }
  ~MemberStream() { Close(); }
  MemberStream(const MemberStream&) = delete;
  MemberStream& operator=(const MemberStream&) = delete;

  // Replaces any previous content; afterwards `stream` is null when the
  // member is missing or cannot be read whole (a size-0 member included).
  void Open(FILE* file, const char* name);
  void Close();

  // The member as text: CR LF line ends read as "\n", as a text-mode file
  // would give them. Null when nothing is open.
  std::unique_ptr<std::istringstream> stream;
};
