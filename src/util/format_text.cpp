#include "util/format_text.h"

#include <cstdio>
#include <cstring>

namespace {

// No formatted text grows beyond this; longer output is cut.
constexpr size_t FORMAT_TEXT_LIMIT = 16 * 1024;
// The Windows formatter writes at most 1024 bytes including the end mark.
constexpr size_t FORMAT_TEXT_WIN_LIMIT = 1023;
// Widths and precisions above this are not honoured (the directive is shown
// as written); the output limit makes larger values pointless anyway.
constexpr int FIELD_LIMIT = 16 * 1024;

enum class Length { None, Char, Short, Long, LongLong };

struct Directive {
  char flags[8] = {};  // as written, at most one of each ("-+ #0"), in order
  int width = -1;      // -1: none
  int precision = -1;  // -1: none
  Length length = Length::None;
  bool lengthI64 = false;
  char conversion = 0;
  size_t end = 0;  // index just past the directive in the format
};

// Reads a run of digits into value; false when it grows beyond FIELD_LIMIT.
bool ReadNumber(const char* f, size_t& p, int& value) {
  value = 0;
  while (f[p] >= '0' && f[p] <= '9') {
    value = value * 10 + (f[p] - '0');
    if (value > FIELD_LIMIT) return false;
    ++p;
  }
  return true;
}

// Parses the directive starting at format[start] == '%'. False when it is not
// one we understand (the caller then copies it literally).
bool ParseDirective(const char* f, size_t start, bool windows, Directive& d) {
  size_t p = start + 1;
  const char* flagSet = windows ? "-#0" : "-+ #0";
  size_t flagCount = 0;
  // Repeated flags mean nothing more; the first of each is kept.
  while (f[p] != 0 && std::strchr(flagSet, f[p]) != nullptr) {
    if (!std::strchr(d.flags, f[p])) d.flags[flagCount++] = f[p];
    ++p;
  }
  if (f[p] == '*') return false;
  if (f[p] >= '0' && f[p] <= '9') {
    if (!ReadNumber(f, p, d.width)) return false;
  }
  if (f[p] == '.') {
    ++p;
    if (f[p] == '*') return false;
    if (!ReadNumber(f, p, d.precision)) return false;
  }
  if (f[p] == 'h') {
    ++p;
    d.length = Length::Short;
    if (f[p] == 'h' && !windows) {
      ++p;
      d.length = Length::Char;
    }
  } else if (f[p] == 'l') {
    ++p;
    d.length = Length::Long;
    if (f[p] == 'l' && !windows) {
      ++p;
      d.length = Length::LongLong;
    }
  } else if (f[p] == 'I' && f[p + 1] == '6' && f[p + 2] == '4') {
    p += 3;
    d.length = Length::LongLong;
    d.lengthI64 = true;
  }
  d.conversion = f[p];
  if (d.conversion == 0) return false;
  d.end = p + 1;
  return true;
}

enum class Needs { Nothing, Int, Double, String };

// Which argument type the directive takes; Nothing for a directive we refuse.
Needs ArgumentFor(const Directive& d, bool windows) {
  switch (d.conversion) {
    case 'd': case 'i': case 'u': case 'x': case 'X':
      return Needs::Int;
    case 'o':
      return windows ? Needs::Nothing : Needs::Int;
    case 'c':
      return d.length == Length::None ? Needs::Int : Needs::Nothing;
    case 'f': case 'F': case 'e': case 'E': case 'g': case 'G': case 'a': case 'A':
      if (windows) return Needs::Nothing;
      // "%lf" means the same as "%f"; other length marks do not fit a double.
      return (d.length == Length::None || (d.length == Length::Long && !d.lengthI64))
                 ? Needs::Double
                 : Needs::Nothing;
    case 's':
      return (d.length == Length::None || d.length == Length::Short) ? Needs::String
                                                                      : Needs::Nothing;
    default:  // %n, %p and everything unknown
      return Needs::Nothing;
  }
}

// The directive rebuilt in the host printf's own spelling, into `out`
// (room for every flag, two numbers within FIELD_LIMIT, a length mark and the
// conversion).
// Flags that mean nothing for a conversion (e.g. "#" with %d) are left out:
// the C library ignores them anyway, and the C standard leaves them undefined.
struct CleanFormat {
  char text[40];
  CleanFormat(const Directive& d, const char* lengthText) {
    const char* meaningful;
    switch (d.conversion) {
      case 'd': case 'i': meaningful = "-+ 0"; break;
      case 'u': meaningful = "-0"; break;
      case 'o': case 'x': case 'X': meaningful = "-#0"; break;
      case 'c': case 's': meaningful = "-"; break;
      default: meaningful = "-+ #0"; break;
    }
    char flags[8];
    size_t n = 0;
    for (const char* f = d.flags; *f; ++f)
      if (std::strchr(meaningful, *f)) flags[n++] = *f;
    flags[n] = 0;
    char width[16] = "", precision[16] = "";
    if (d.width >= 0) std::snprintf(width, sizeof width, "%d", d.width);
    if (d.precision >= 0) std::snprintf(precision, sizeof precision, ".%d", d.precision);
    std::snprintf(text, sizeof text, "%%%s%s%s%s%c", flags, width, precision, lengthText, d.conversion);
  }
};

// Appends the value printed by the format; long output is printed straight
// into the end of `out`.
template <typename T>
void Print(std::string& out, const CleanFormat& format, T value) {
  char small[256];
  const int n = std::snprintf(small, sizeof small, format.text, value);
  if (n < 0) return;
  if (static_cast<size_t>(n) < sizeof small) {
    out.append(small, static_cast<size_t>(n));
    return;
  }
  const size_t at = out.size();
  out.resize(at + static_cast<size_t>(n) + 1);
  std::snprintf(&out[at], static_cast<size_t>(n) + 1, format.text, value);
  out.resize(at + static_cast<size_t>(n));
}

void FormatInt(std::string& out, const Directive& d, long long v) {
  const bool isSigned = d.conversion == 'd' || d.conversion == 'i';
  if (d.conversion == 'c') return Print(out, CleanFormat(d, ""), static_cast<int>(static_cast<unsigned char>(v)));
  switch (d.length) {
    case Length::Char:
      return isSigned ? Print(out, CleanFormat(d, "hh"), static_cast<int>(static_cast<signed char>(v)))
                      : Print(out, CleanFormat(d, "hh"), static_cast<unsigned>(static_cast<unsigned char>(v)));
    case Length::Short:
      return isSigned ? Print(out, CleanFormat(d, "h"), static_cast<int>(static_cast<short>(v)))
                      : Print(out, CleanFormat(d, "h"), static_cast<unsigned>(static_cast<unsigned short>(v)));
    case Length::Long:
      return isSigned ? Print(out, CleanFormat(d, "l"), static_cast<long>(v))
                      : Print(out, CleanFormat(d, "l"), static_cast<unsigned long>(v));
    case Length::LongLong:
      return isSigned ? Print(out, CleanFormat(d, "ll"), v)
                      : Print(out, CleanFormat(d, "ll"), static_cast<unsigned long long>(v));
    case Length::None:
      break;
  }
  return isSigned ? Print(out, CleanFormat(d, ""), static_cast<int>(v))
                  : Print(out, CleanFormat(d, ""), static_cast<unsigned>(v));
}

// Appends the formatted text to `out`; the limit counts only what this call
// adds.
void Format(std::string& out, const char* format, std::initializer_list<FormatArg> args, bool windows) {
  if (format == nullptr) return;
  const size_t start = out.size();
  const size_t limit = windows ? FORMAT_TEXT_WIN_LIMIT : FORMAT_TEXT_LIMIT;
  const FormatArg* next = args.begin();
  size_t p = 0;
  while (format[p] != 0 && out.size() - start < limit) {
    if (format[p] != '%') {
      const char* percent = std::strchr(format + p, '%');
      const size_t run = percent ? static_cast<size_t>(percent - (format + p)) : std::strlen(format + p);
      out.append(format + p, run);
      p += run;
      continue;
    }
    if (format[p + 1] == '%') {
      out += '%';
      p += 2;
      continue;
    }
    Directive d;
    const bool parsed = ParseDirective(format, p, windows, d);
    const Needs needs = parsed ? ArgumentFor(d, windows) : Needs::Nothing;
    bool fits = needs != Needs::Nothing && next != args.end();
    if (fits) {
      switch (needs) {
        case Needs::Int: fits = next->kind == FormatArg::Int; break;
        case Needs::Double: fits = next->kind == FormatArg::Double; break;
        case Needs::String: fits = next->kind == FormatArg::String; break;
        case Needs::Nothing: fits = false; break;
      }
    }
    if (!fits) {
      // Shown as written; the argument stays for the next directive. Only the
      // percent sign is copied here so that the rest is scanned again as text.
      out += '%';
      ++p;
      continue;
    }
    switch (needs) {
      case Needs::Int: FormatInt(out, d, next->i); break;
      case Needs::Double: Print(out, CleanFormat(d, ""), next->d); break;
      case Needs::String: Print(out, CleanFormat(d, ""), next->s ? next->s : ""); break;
      case Needs::Nothing: break;
    }
    ++next;
    p = d.end;
  }
  if (out.size() - start > limit) out.resize(start + limit);
}

}  // namespace

std::string FormatText(const char* format, std::initializer_list<FormatArg> args) {
  std::string out;
  Format(out, format, args, false);
  return out;
}

void AppendFormatText(std::string& out, const char* format, std::initializer_list<FormatArg> args) {
  Format(out, format, args, false);
}

std::string FormatTextWin(const char* format, std::initializer_list<FormatArg> args) {
  std::string out;
  Format(out, format, args, true);
  return out;
}
