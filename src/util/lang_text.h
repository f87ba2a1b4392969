// One text of a language file, as the application record keeps it.
#pragma once

struct LangText {
  const char* text = nullptr;  // the shared empty string or an owned buffer
  bool owned = false;
  LangText() = default;
  LangText(const LangText&) = delete;
  LangText& operator=(const LangText&) = delete;
  ~LangText() {
    if (owned) delete[] text;
  }
};
