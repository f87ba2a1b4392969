// Language texts: "deutsch.lng" (0) and "english.lng" (1) in the working
// directory; text number n of the current language by GetLangText.
#pragma once
#include <string>
#include "util/lang_text.h"

class AppContext;


// Longest text kept; a longer text in the file is cut to this many characters.
constexpr int LANG_TEXT_MAX = 9999;
// Highest text number accepted; the list never grows beyond LANG_TEXT_LIMIT + 1
// entries.
constexpr int LANG_TEXT_LIMIT = 100000;

// File name of a language: "deutsch.lng" for 0, "english.lng" for 1.
const char* LanguageFileName(int language);
// Loads the language file into the application record's langTexts and sets
// its `language`. A value other than 0 or 1 means German. When the file is
// missing or defines no text, the other language's file is loaded instead
// (`language` then names that one) and standard error says which file was
// missing.
void LoadLanguage(int language);
// The same for an explicit application record.
void LoadLanguage(AppContext& app, int language);
// Replaces `app.langTexts` with the texts of a language file's contents
// (the bytes of the file). Exposed for tests.
void ParseLanguageText(AppContext& app, const std::string& bytes);
// Text n of the application record, or null when n is negative or beyond
// the list.
const char* GetLangText(int n);
// Text n, or "" when there is none (for callers that draw or format it).
const char* LangTextOrEmpty(int n);
