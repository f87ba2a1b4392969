#include "util/text_scanner.h"

bool IsBlankChar(unsigned char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void TextScanner::SkipBlanks() {
  while (pos_ < text_.size() && IsBlankChar(static_cast<unsigned char>(text_[pos_]))) ++pos_;
}

bool TextScanner::Next(std::string& word, size_t keep) {
  word.clear();
  SkipBlanks();
  if (pos_ >= text_.size()) return false;
  const size_t start = pos_;
  while (pos_ < text_.size() && !IsBlankChar(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  word.assign(text_, start, pos_ - start < keep ? pos_ - start : keep);
  return true;
}

bool TextScanner::Peek(std::string& word, size_t keep) {
  const size_t saved = pos_;
  const bool found = Next(word, keep);
  pos_ = saved;
  return found;
}
