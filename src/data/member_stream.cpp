#include "data/member_stream.h"

#include <locale>
#include <string>
#include <vector>
#include "data/data_file.h"

void MemberStream::Open(FILE* file, const char* name) {
  Close();
  std::vector<uint8_t> bytes;
  if (!ReadMember(file, name, &bytes)) return;
  std::string text;
  text.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    text.push_back(static_cast<char>(bytes[i]));
  }
  stream = std::make_unique<std::istringstream>(std::move(text));
  stream->imbue(std::locale::classic());  // numbers always read with a decimal point
}

void MemberStream::Close() { stream.reset(); }
