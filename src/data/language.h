// Language texts: "deutsch.lng" (0) and "english.lng" (1) in the working
// directory; text number n of the current language by GetLangText.
#pragma once

struct LangText {
  const char* text = nullptr;  // the shared empty string or an owned buffer
  bool owned = false;
  ~LangText();
};

// Loads the language file into AppContext::langTexts and sets `language`.
void LoadLanguage(int language);
// Text n, or null when n is negative or beyond the list.
const char* GetLangText(int n);
// Text n, or "" when there is none (for callers that draw or format it).
const char* LangTextOrEmpty(int n);
