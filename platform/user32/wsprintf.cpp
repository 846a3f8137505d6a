// wsprintf formatting of the simulated machine: at most 1024 characters, terminator
// included; the A forms never split a double-byte character.
#include <stdarg.h>
#include <string.h>

#include <string>

#include "platform/sim/internal.h"

namespace {

template <class Char>
unsigned Unit(Char c) {
  return sizeof(Char) == 1 ? unsigned(static_cast<unsigned char>(c)) : unsigned(c);
}

constexpr int kFormatLimit = 1024;  // characters, the terminator included

template <class Char>
struct Output {
  Char* buffer;
  int used = 0;
  bool full = false;
  void Put(unsigned c) {
    if (!full && used < kFormatLimit - 1) buffer[used++] = Char(c);
  }
  // Both bytes of a double-byte character, or neither: once one does not fit, nothing more
  // goes in, so no later character shows up past the gap.
  void PutPair(unsigned lead, unsigned trail) {
    if (full || used + 2 > kFormatLimit - 1) {
      full = true;
      return;
    }
    buffer[used++] = Char(lead);
    buffer[used++] = Char(trail);
  }
};

template <class Char>
int Format(Char* buffer, const Char* format, va_list args) {
  if (!buffer) return 0;
  Output<Char> out{buffer};
  if (!format) {
    buffer[0] = 0;
    return 0;
  }
  const bool wide = sizeof(Char) == 2;
  for (const Char* p = format; *p; ++p) {
    if (Unit(*p) != '%') {
      out.Put(Unit(*p));
      continue;
    }
    ++p;
    if (!*p) break;
    bool left = false, zero = false, alt = false;
    for (;; ++p) {
      if (Unit(*p) == '-') left = true;
      else if (Unit(*p) == '0') zero = true;
      else if (Unit(*p) == '#') alt = true;
      else break;
    }
    int width = 0, precision = -1;
    while (Unit(*p) >= '0' && Unit(*p) <= '9') width = width * 10 + int(Unit(*p++) - '0');
    if (Unit(*p) == '.') {
      ++p;
      precision = 0;
      while (Unit(*p) >= '0' && Unit(*p) <= '9') precision = precision * 10 + int(Unit(*p++) - '0');
    }
    bool isLong = false, isShort = false, is64 = false;
    if (Unit(*p) == 'l') {
      isLong = true;
      ++p;
    } else if (Unit(*p) == 'h') {
      isShort = true;
      ++p;
    } else if (Unit(*p) == 'I' && Unit(p[1]) == '6' && Unit(p[2]) == '4') {
      is64 = true;
      p += 3;
    }
    unsigned type = Unit(*p);
    if (!type) break;
    std::u16string text;  // the converted field, before padding
    bool negative = false;
    switch (type) {
      case 'c':
      case 'C': {
        int c = va_arg(args, int);
        bool narrowChar = isShort || (!isLong && ((type == 'c') != wide));
        if (narrowChar) {
          char b = char(c);
          WCHAR w = 0;
          MultiByteToWideChar(CP_ACP, 0, &b, 1, &w, 1);
          text += char16_t(w);
        } else {
          text += char16_t(c & 0xFFFF);
        }
        break;
      }
      case 's':
      case 'S': {
        const void* s = va_arg(args, const void*);
        bool narrowText = isShort || (!isLong && ((type == 's') != wide));
        // With a precision, no more than that many units are read: the argument may be a
        // fixed-size field without a terminator.
        size_t limit = precision >= 0 ? size_t(precision) : size_t(-1);
        if (!s) {
          text = u"(null)";
        } else if (narrowText) {
          const char* narrow = static_cast<const char*>(s);
          size_t n = 0;  // bytes, taken a whole character at a time
          for (size_t chars = 0; chars < limit && narrow[n]; ++chars)
            n += IsDBCSLeadByte(BYTE(narrow[n])) && narrow[n + 1] ? 2 : 1;
          text = n ? winsim::AnsiToWide(narrow, n) : std::u16string();
        } else {
          const char16_t* wideText = static_cast<const char16_t*>(s);
          size_t n = 0;
          while (n < limit && wideText[n]) ++n;
          text.assign(wideText, n);
        }
        if (precision >= 0 && text.size() > size_t(precision)) text.resize(size_t(precision));
        break;
      }
      case 'd':
      case 'i':
      case 'u':
      case 'x':
      case 'X':
      case 'p': {
        unsigned long long v;
        if (type == 'p') {
          v = uintptr_t(va_arg(args, void*));
          precision = 8;
          type = 'X';
        } else if (is64) {
          v = va_arg(args, unsigned long long);
        } else {
          v = va_arg(args, unsigned int);
          if (isShort) v &= 0xFFFF;
        }
        if (type == 'd' || type == 'i') {
          long long sv = is64 ? static_cast<long long>(v) : isShort ? static_cast<short>(v) : static_cast<int>(v);
          negative = sv < 0;
          v = negative ? 0ull - static_cast<unsigned long long>(sv) : static_cast<unsigned long long>(sv);
        }
        unsigned base = (type == 'x' || type == 'X') ? 16 : 10;
        const char* digits = type == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
        std::u16string number;
        do {
          number.insert(number.begin(), char16_t(digits[v % base]));
          v /= base;
        } while (v);
        while (precision > 0 && number.size() < size_t(precision)) number.insert(number.begin(), u'0');
        std::u16string prefix = negative ? u"-" : u"";
        if (alt && base == 16) prefix += type == 'X' ? u"0X" : u"0x";
        if (zero && !left && precision < 0)
          while (prefix.size() + number.size() < size_t(width)) number.insert(number.begin(), u'0');
        text = prefix + number;
        break;
      }
      default:
        text += char16_t(type);  // an unknown type is copied as it stands
        width = 0;
        break;
    }
    size_t pad = text.size() < size_t(width) ? size_t(width) - text.size() : 0;
    if (!left)
      for (size_t i = 0; i < pad; ++i) out.Put(' ');
    if (wide) {
      for (char16_t c : text) out.Put(c);
    } else {
      std::string narrow = winsim::WideToAnsi(text);
      for (size_t i = 0; i < narrow.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(narrow[i]);
        if (i + 1 < narrow.size() && IsDBCSLeadByte(c))
          out.PutPair(c, static_cast<unsigned char>(narrow[++i]));
        else
          out.Put(c);
      }
    }
    if (left)
      for (size_t i = 0; i < pad; ++i) out.Put(' ');
  }
  buffer[out.used] = 0;
  return out.used;
}

}  // namespace

WINSIM_API int WINAPI wvsprintfW(LPWSTR buffer, LPCWSTR format, va_list args) { return Format(buffer, format, args); }
WINSIM_API int WINAPI wvsprintfA(LPSTR buffer, LPCSTR format, va_list args) { return Format(buffer, format, args); }

WINSIM_API int WINAPIV wsprintfW(LPWSTR buffer, LPCWSTR format, ...) {
  va_list args;
  va_start(args, format);
  int n = Format(buffer, format, args);
  va_end(args);
  return n;
}

WINSIM_API int WINAPIV wsprintfA(LPSTR buffer, LPCSTR format, ...) {
  va_list args;
  va_start(args, format);
  int n = Format(buffer, format, args);
  va_end(args);
  return n;
}
