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
  FormatArg(double v) : kind(Double), d(v) {}
  FormatArg(const char* v) : kind(String), s(v) {}
};

// Like sprintf: %d %i %u %x %X %o %c for ints, %f %e %g %E %G for doubles,
// %s for strings, with flags, width and precision; %% is a percent sign.
// A null format gives "" and a null string argument prints as "".
std::string FormatText(const char* format, std::initializer_list<FormatArg> args);
// Like the Windows wsprintf: integer and string directives only (no reals).
std::string FormatTextWin(const char* format, std::initializer_list<FormatArg> args);
