// Safe printf-style formatting of language texts. The format comes from a
// file, so every directive is checked against the types of the arguments
// actually passed; a directive that does not match (too few arguments, wrong
// type, %n, unknown conversion) is copied literally instead of being used.
#pragma once
#include <initializer_list>
#include <string>

struct FormatArg {
  enum Kind { Int, Double, String };
  Kind kind;
  long long i = 0;
  double d = 0;
  const char* s = nullptr;
  FormatArg(int v) : kind(Int), i(v) {}
  FormatArg(long v) : kind(Int), i(v) {}
  FormatArg(long long v) : kind(Int), i(v) {}
  FormatArg(unsigned v) : kind(Int), i(v) {}
  FormatArg(double v) : kind(Double), d(v) {}
  FormatArg(const char* v) : kind(String), s(v) {}
};

// Like sprintf: %d %i %u %x %X %o %c for ints (length marks h, hh, l, ll and
// I64 allowed), %f %F %e %E %g %G %a %A for doubles, %s for strings, with the
// flags "-+ #0", width and precision; %% is a percent sign. A "*" width or
// precision, %n, an unknown conversion, a type mismatch or a missing argument
// leaves that directive as written (its argument is kept for the next one);
// extra arguments are ignored. A null format gives "" and a null string
// argument prints as "". The result is cut at 16 KiB.
std::string FormatText(const char* format, std::initializer_list<FormatArg> args);
// The same text added to the end of `out` (the 16 KiB cut counts only what is
// added). Nothing else is allocated: a buffer whose capacity suffices stays
// where it is.
void AppendFormatText(std::string& out, const char* format, std::initializer_list<FormatArg> args);
// Like the Windows wsprintf: %d %i %u %x %X %c and %s with the flags "-#0",
// width, precision and the length marks h, l and I64; real-number directives
// (and everything else) are shown as written. The result is cut at 1023
// characters, the most wsprintf writes.
std::string FormatTextWin(const char* format, std::initializer_list<FormatArg> args);
