// TextScanner: reads a text held in memory as white-space separated words,
// the way the game's data files are read (settings, language texts, save
// files). Every white-space character separates alike: blank, tab, line
// feed, carriage return, vertical tab and form feed.
#pragma once
#include <cstddef>
#include <string>

bool IsBlankChar(unsigned char c);

class TextScanner {
 public:
  explicit TextScanner(std::string text) : text_(std::move(text)) {}

  bool AtEnd() const { return pos_ >= text_.size(); }
  void SkipBlanks();
  // The next word; only its first `keep` characters are kept, the rest of a
  // longer word is read past. False (and an empty word) at the end.
  bool Next(std::string& word, size_t keep);
  // The same without consuming it.
  bool Peek(std::string& word, size_t keep);

  // Raw access for readers with their own grammar inside a word or line.
  const std::string& Text() const { return text_; }
  size_t Position() const { return pos_; }
  void SetPosition(size_t pos) { pos_ = pos < text_.size() ? pos : text_.size(); }

 private:
  std::string text_;
  size_t pos_ = 0;
};
