#include "data/language.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>
#include <string>

#include "util/app_context.h"
#include "util/safe_file.h"
#include "util/text_scanner.h"

namespace {

// What every announced but undefined text points to.
const char kEmptyText[] = "";

// Reads a language file held in memory. Line ends are CR LF on disk; a CR in
// front of a LF is dropped, so a line end is one '\n' everywhere.
class LangReader {
 public:
  explicit LangReader(const std::string& bytes) : scanner_(WithoutCarriageReturns(bytes)) {}

  // The next word; only its first characters are kept, which is all a
  // comparison with the two keys needs.
  std::string Word() {
    std::string word;
    scanner_.Next(word, 32);
    return word;
  }

  // An integer as a stream reads it: blanks, an optional sign, digits. The
  // digits are consumed even when the value is out of range (`inRange` is
  // then false). Without digits nothing but the blanks is consumed.
  bool Number(long long& value, bool& inRange) {
    scanner_.SkipBlanks();
    const std::string& text = scanner_.Text();
    size_t p = scanner_.Position();
    bool negative = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) negative = text[p++] == '-';
    if (p >= text.size() || text[p] < '0' || text[p] > '9') return false;
    value = 0;
    inRange = true;
    while (p < text.size() && text[p] >= '0' && text[p] <= '9') {
      if (value > 1000000000LL) inRange = false;
      else value = value * 10 + (text[p] - '0');
      ++p;
    }
    if (negative) value = -value;
    scanner_.SetPosition(p);
    return true;
  }

  // A text body: the character after the number becomes one blank, then
  // everything up to the bar (or the end of the file). Only the first
  // LANG_TEXT_MAX characters are kept.
  std::string Body() {
    std::string body(1, ' ');  // every text starts with exactly one blank
    const std::string& text = scanner_.Text();
    size_t p = scanner_.Position();
    if (p >= text.size()) return body;
    ++p;  // the character right after the number
    const size_t bar = text.find('|', p);
    const size_t end = bar == std::string::npos ? text.size() : bar;
    body.append(text, p, std::min(end - p, static_cast<size_t>(LANG_TEXT_MAX) - 1));
    scanner_.SetPosition(bar == std::string::npos ? text.size() : bar + 1);
    return body;
  }

 private:
  static std::string WithoutCarriageReturns(const std::string& bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
      text += bytes[i];
    }
    return text;
  }
  TextScanner scanner_;
};

LangText* Placeholder() {
  LangText* t = new LangText;
  t->text = kEmptyText;
  t->owned = false;
  return t;
}

LangText* OwnedText(const std::string& body) {
  char* buffer = new char[body.size() + 1];
  body.copy(buffer, body.size());
  buffer[body.size()] = 0;
  LangText* t = new LangText;
  t->text = buffer;
  t->owned = true;
  return t;
}

}  // namespace


void ParseLanguageText(AppContext& app, const std::string& bytes) {
  // The texts are gathered in a vector (any number replaced in constant
  // time) and handed to the list in one pass at the end.
  std::vector<std::unique_ptr<LangText>> texts;
  auto growTo = [&texts](size_t count) {
    while (texts.size() < count) texts.emplace_back(Placeholder());
  };
  LangReader in(bytes);
  while (true) {
    const std::string word = in.Word();
    if (word.empty()) break;  // end of the file
    if (word == "ANZ_TEXTE:") {
      long long n = 0;
      bool inRange = false;
      if (!in.Number(n, inRange)) continue;  // not a number: read on from here
      if (!inRange || n > LANG_TEXT_LIMIT + 1) n = LANG_TEXT_LIMIT + 1;
      if (n < 0) n = 0;
      // Placeholders never take the list beyond the highest text number.
      growTo(std::min(texts.size() + static_cast<size_t>(n), static_cast<size_t>(LANG_TEXT_LIMIT + 1)));
    } else if (word == "<TEXT_START>") {
      long long i = 0;
      bool inRange = false;
      if (!in.Number(i, inRange)) continue;
      const std::string body = in.Body();
      // A negative or absurd number would shift or break the list: the text is
      // read past and dropped.
      if (!inRange || i < 0 || i > LANG_TEXT_LIMIT) continue;
      // A number beyond the announced count still lands on its own number:
      // the gap is filled with empty placeholders.
      const size_t index = static_cast<size_t>(i);
      growTo(index + 1);
      texts[index].reset(OwnedText(body));
    }
    // every other word is skipped
  }
  PtrList<LangText>& list = app.langTexts;
  list.Clear();
  for (std::unique_ptr<LangText>& t : texts) list.Insert(t.release());
}

const char* LanguageFileName(int language) { return language == 1 ? "english.lng" : "deutsch.lng"; }

namespace {

// Loads one language file; false (and no texts) when it is missing or
// defines no text at all.
bool LoadLanguageFile(AppContext& app, int language) {
  app.langTexts.Clear();
  std::string bytes;
  if (!ReadWholeFile(LanguageFileName(language), &bytes)) return false;
  ParseLanguageText(app, bytes);
  PtrList<LangText>& list = app.langTexts;
  for (int i = 0; i < list.Count(); ++i)
    if (LangText* t = list.Get(i); t && t->owned) return true;
  list.Clear();
  return false;
}

std::string InWorkingFolder(const char* fileName) {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::current_path(error);
  return error ? std::string(fileName) : (folder / fileName).string();
}

}  // namespace

void LoadLanguage(AppContext& app, int language) {
  // There are two languages; any other value means German.
  if (language != 0 && language != 1) language = 0;
  app.language = language;
  if (LoadLanguageFile(app, language)) return;
  // A game without words cannot be played: the other language stands in,
  // and the radio buttons show the language that is really on screen.
  const int other = 1 - language;
  const std::string missing = InWorkingFolder(LanguageFileName(language));
  if (LoadLanguageFile(app, other)) {
    std::fprintf(stderr, "denkarium: the language file '%s' is missing or holds no text; using '%s'\n",
                 missing.c_str(), LanguageFileName(other));
    app.language = other;
    return;
  }
  std::fprintf(stderr, "denkarium: the language files '%s' and '%s' are missing or hold no text\n",
               missing.c_str(), InWorkingFolder(LanguageFileName(other)).c_str());
}

void LoadLanguage(int language) { LoadLanguage(GetAppContext(), language); }

const char* GetLangText(int n) {
  PtrList<LangText>& list = GetAppContext().langTexts;
  if (n < 0 || n >= list.Count()) return nullptr;
  LangText* t = list.Get(n);
  return t && t->text ? t->text : kEmptyText;
}

const char* LangTextOrEmpty(int n) {
  const char* text = GetLangText(n);
  return text ? text : "";
}
