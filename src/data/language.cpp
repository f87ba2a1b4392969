#include "data/language.h"

#include <string>

#include "util/app_context.h"
#include "util/safe_file.h"

namespace {

// What every announced but undefined text points to.
const char kEmptyText[] = "";

bool IsSpace(unsigned char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads a language file held in memory. Line ends are CR LF on disk; a CR in
// front of a LF is dropped, so a line end is one '\n' everywhere.
class LangReader {
 public:
  explicit LangReader(const std::string& bytes) {
    text_.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
      text_ += bytes[i];
    }
  }

  bool AtEnd() const { return pos_ >= text_.size(); }

  void SkipSpace() {
    while (!AtEnd() && IsSpace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  }

  // The next whitespace-separated word; only its first characters are kept,
  // which is all a comparison with the two keys needs.
  std::string Word() {
    SkipSpace();
    std::string word;
    while (!AtEnd() && !IsSpace(static_cast<unsigned char>(text_[pos_]))) {
      if (word.size() < 32) word += text_[pos_];
      ++pos_;
    }
    return word;
  }

  // An integer as a stream reads it: blanks, an optional sign, digits. The
  // digits are consumed even when the value is out of range (`inRange` is
  // then false). Without digits nothing but the blanks is consumed.
  bool Number(long long& value, bool& inRange) {
    SkipSpace();
    size_t p = pos_;
    bool negative = false;
    if (p < text_.size() && (text_[p] == '+' || text_[p] == '-')) negative = text_[p++] == '-';
    if (p >= text_.size() || text_[p] < '0' || text_[p] > '9') return false;
    value = 0;
    inRange = true;
    while (p < text_.size() && text_[p] >= '0' && text_[p] <= '9') {
      if (value > 1000000000LL) inRange = false;
      else value = value * 10 + (text_[p] - '0');
      ++p;
    }
    if (negative) value = -value;
    pos_ = p;
    return true;
  }

  // A text body: the character after the number becomes one blank, then
  // everything up to the bar (or the end of the file). Only the first
  // LANG_TEXT_MAX characters are kept.
  std::string Body() {
    std::string body(1, ' ');  // every text starts with exactly one blank
    if (AtEnd()) return body;
    ++pos_;  // the character right after the number
    while (!AtEnd()) {
      const char c = text_[pos_++];
      if (c == '|') break;
      if (body.size() < static_cast<size_t>(LANG_TEXT_MAX)) body += c;
    }
    return body;
  }

 private:
  std::string text_;
  size_t pos_ = 0;
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

LangText::~LangText() {
  if (owned) delete[] text;
}

void ParseLanguageText(AppContext& app, const std::string& bytes) {
  PtrList<LangText>& list = app.langTexts;
  list.Clear();
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
      while (n-- > 0 && list.Count() <= LANG_TEXT_LIMIT) list.Insert(Placeholder());
    } else if (word == "<TEXT_START>") {
      long long i = 0;
      bool inRange = false;
      if (!in.Number(i, inRange)) continue;
      const std::string body = in.Body();
      // A negative or absurd number would shift or break the list: the text is
      // read past and dropped.
      if (!inRange || i < 0 || i > LANG_TEXT_LIMIT) continue;
      const int index = static_cast<int>(i);
      // A number beyond the announced count still lands on its own number:
      // the gap is filled with empty placeholders.
      while (list.Count() < index) list.Insert(Placeholder());
      if (index < list.Count()) {
        list.Insert(OwnedText(body), false, index);
        list.RemoveAt(index + 1, true);
      } else {
        list.Insert(OwnedText(body));
      }
    }
    // every other word is skipped
  }
}

void LoadLanguage(AppContext& app, int language) {
  app.langTexts.Clear();
  app.language = language;
  const char* fileName = language == 0 ? "deutsch.lng" : language == 1 ? "english.lng" : nullptr;
  if (!fileName) return;  // no texts: every caption draws nothing
  std::string bytes;
  if (!ReadWholeFile(fileName, &bytes)) return;
  ParseLanguageText(app, bytes);
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
