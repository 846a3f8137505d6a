// Code pages of the simulated machine: the ANSI code page (1252 or 932) and the conversions
// to and from UTF-16 (also ntdll's two conversions in the ANSI code page, which share the
// tables).
//
// The single- and double-byte tables are built once from iconv. Bytes that iconv leaves
// undefined map as Windows maps them (1252: the byte's own code point; 932: 0x80 to U+0080,
// 0xA0 and 0xFD-0xFF to U+F8F0-U+F8F3). Encodings that iconv gives but that do not decode
// back to the same character are best-fit mappings, skipped under WC_NO_BEST_FIT_CHARS.
#include <iconv.h>
#include <string.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/sim.h"
#include "platform/sim/internal.h"
#include "platform/kernel32/kernel_internal.h"

namespace {

struct CodePageTable {
  UINT codePage = 0;
  bool doubleByte = false;
  WCHAR defaultWide = u'?';  // what an undefined double-byte code becomes
  bool lead[256] = {};
  WCHAR single[256] = {};
  std::vector<WCHAR> pairs;      // (lead << 8 | trail) -> character, 0 = undefined
  std::vector<uint16_t> encode;  // character -> code (byte, or lead << 8 | trail), 0 = none
  std::vector<bool> bestFit;     // the encoding does not decode back to the character
};

// Decodes bytes with iconv; 0 when iconv does not know them.
WCHAR IconvDecode(iconv_t cd, const unsigned char* bytes, size_t count) {
  char16_t out[2] = {0, 0};
  char* in = reinterpret_cast<char*>(const_cast<unsigned char*>(bytes));
  char* to = reinterpret_cast<char*>(out);
  size_t inLeft = count, outLeft = sizeof(out);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (iconv(cd, &in, &inLeft, &to, &outLeft) == size_t(-1) || inLeft != 0 || outLeft != 2) return 0;
  return out[0];
}

uint16_t IconvEncode(iconv_t cd, char16_t c) {
  unsigned char out[4] = {0, 0, 0, 0};
  char* in = reinterpret_cast<char*>(&c);
  char* to = reinterpret_cast<char*>(out);
  size_t inLeft = 2, outLeft = sizeof(out);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (iconv(cd, &in, &inLeft, &to, &outLeft) == size_t(-1) || inLeft != 0) return 0;
  size_t n = sizeof(out) - outLeft;
  if (n == 1) return out[0];
  if (n == 2) return uint16_t(out[0] << 8 | out[1]);
  return 0;
}

std::unique_ptr<CodePageTable> BuildTable(UINT codePage) {
  std::string name = "CP" + std::to_string(codePage);
  iconv_t dec = iconv_open("UTF-16LE", name.c_str());
  if (dec == iconv_t(-1)) return nullptr;
  iconv_t enc = iconv_open(name.c_str(), "UTF-16LE");
  if (enc == iconv_t(-1)) {
    iconv_close(dec);
    return nullptr;
  }
  auto t = std::make_unique<CodePageTable>();
  t->codePage = codePage;
  if (codePage == 932) {
    t->doubleByte = true;
    t->defaultWide = 0x30FB;
    for (int b = 0x81; b <= 0x9F; ++b) t->lead[b] = true;
    for (int b = 0xE0; b <= 0xFC; ++b) t->lead[b] = true;
  }
  for (int b = 0; b < 256; ++b) {
    if (t->lead[b]) continue;
    unsigned char byte = static_cast<unsigned char>(b);
    WCHAR c = b == 0 ? 0 : IconvDecode(dec, &byte, 1);
    if (!c && b != 0) {
      if (codePage == 932)
        c = b == 0x80 ? 0x80 : b == 0xA0 ? 0xF8F0 : b >= 0xFD ? WCHAR(0xF8F1 + (b - 0xFD)) : 0;
      else
        c = WCHAR(b);
    }
    t->single[b] = c;
  }
  if (t->doubleByte) {
    t->pairs.assign(65536, 0);
    for (int l = 0; l < 256; ++l) {
      if (!t->lead[l]) continue;
      for (int tr = 0x40; tr <= 0xFC; ++tr) {
        unsigned char two[2] = {static_cast<unsigned char>(l), static_cast<unsigned char>(tr)};
        t->pairs[size_t(l << 8 | tr)] = IconvDecode(dec, two, 2);
      }
    }
  }
  t->encode.assign(65536, 0);
  t->bestFit.assign(65536, false);
  for (uint32_t c = 1; c < 65536; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    uint16_t code = IconvEncode(enc, char16_t(c));
    if (!code) continue;
    WCHAR back = code > 0xFF ? t->pairs[code] : t->single[code];
    t->encode[c] = code;
    t->bestFit[c] = back != c;
  }
  // Undefined bytes that we map ourselves round-trip too.
  for (int b = 1; b < 256; ++b) {
    WCHAR c = t->single[b];
    if (c && !t->lead[b] && (t->encode[c] == 0 || t->bestFit[c])) {
      t->encode[c] = uint16_t(b);
      t->bestFit[c] = false;
    }
  }
  iconv_close(dec);
  iconv_close(enc);
  return t;
}

const CodePageTable* TableFor(UINT codePage) {
  static std::mutex lock;
  static std::vector<std::unique_ptr<CodePageTable>> tables;
  static std::vector<UINT> missing;
  std::lock_guard<std::mutex> hold(lock);
  for (auto& t : tables)
    if (t->codePage == codePage) return t.get();
  for (UINT m : missing)
    if (m == codePage) return nullptr;
  // Only Windows code pages with a known layout: the single-byte ones and 932.
  bool known = codePage == 932 || codePage == 437 || codePage == 850 || codePage == 874 ||
               (codePage >= 1250 && codePage <= 1258);
  auto t = known ? BuildTable(codePage) : nullptr;
  if (!t) {
    missing.push_back(codePage);
    return nullptr;
  }
  tables.push_back(std::move(t));
  return tables.back().get();
}

std::atomic<UINT> g_ansiCodePage{1252};

struct CodePageReset {
  CodePageReset() {
    winsim::RegisterResetHook([] { g_ansiCodePage = 1252; });
  }
} g_codePageReset;

UINT Resolve(UINT codePage) {
  switch (codePage) {
    case CP_ACP:
    case CP_THREAD_ACP:
      return g_ansiCodePage;
    case CP_OEMCP:
      return GetOEMCP();
    default:
      return codePage;
  }
}

// ---- decoding ----

struct Decoded {
  std::u16string text;
  bool invalid = false;
};

void DecodeUtf8(const unsigned char* s, size_t n, Decoded* out) {
  if (!winsim::AppendUtf16(s, n, &out->text)) out->invalid = true;
}

// Decodes one character of a table code page at s; returns the bytes it took.
size_t DecodeOne(const CodePageTable& t, const unsigned char* s, size_t n, WCHAR* c, bool* invalid) {
  if (!t.lead[s[0]]) {
    *c = t.single[s[0]];
    return 1;
  }
  // A lead byte takes the byte after it, even one that cannot be a trail byte (the pair is
  // then undefined); only the end of the text or a zero is left alone.
  if (n < 2 || s[1] == 0) {
    *c = t.defaultWide;
    *invalid = true;
    return 1;
  }
  *c = t.pairs[size_t(s[0] << 8 | s[1])];
  if (!*c) {
    *c = t.defaultWide;
    *invalid = true;
  }
  return 2;
}

void DecodeTable(const CodePageTable& t, const unsigned char* s, size_t n, Decoded* out) {
  for (size_t i = 0; i < n;) {
    WCHAR c;
    i += DecodeOne(t, s + i, n - i, &c, &out->invalid);
    out->text += c;
  }
}

// ---- encoding ----

struct EncodeOptions {
  bool noBestFit = false;
  const char* defaultChar = nullptr;
};

// Appends the code of c; false when the default character was used.
bool EncodeOne(const CodePageTable& t, WCHAR c, const EncodeOptions& options, std::string* out) {
  uint16_t code = t.encode[c];
  if (c == 0 || (code && !(options.noBestFit && t.bestFit[c]))) {
    if (code > 0xFF) out->push_back(char(code >> 8));
    out->push_back(char(code & 0xFF));
    return true;
  }
  const char* d = options.defaultChar ? options.defaultChar : "?";
  out->push_back(d[0]);
  if (t.lead[static_cast<unsigned char>(d[0])] && d[1]) out->push_back(d[1]);
  return false;
}

// The longest start of encoded text, at most `room` bytes, that ends between characters.
size_t WholeCharacters(UINT codePage, const std::string& text, size_t room) {
  if (codePage == CP_UTF8) {
    while (room > 0 && room < text.size() && (static_cast<unsigned char>(text[room]) & 0xC0) == 0x80) --room;
    return room;
  }
  const CodePageTable* table = TableFor(codePage);
  size_t at = 0;
  while (at < room) {
    size_t step = table && table->lead[static_cast<unsigned char>(text[at])] ? 2 : 1;
    if (at + step > room) break;
    at += step;
  }
  return at;
}

}  // namespace

WINSIM_API BOOL SimSetAnsiCodePage(UINT codePage) {
  if (codePage != 1252 && codePage != 932) return FALSE;
  g_ansiCodePage = codePage;
  return TRUE;
}

WINSIM_API UINT WINAPI GetACP(void) { return g_ansiCodePage; }
WINSIM_API UINT WINAPI GetOEMCP(void) { return g_ansiCodePage == 932 ? 932 : 437; }

WINSIM_API int WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceBytes, LPWSTR target,
                                          int targetChars) {
  if (!source || sourceBytes == 0 || targetChars < 0 || (targetChars > 0 && !target) ||
      (target && static_cast<const void*>(source) == static_cast<const void*>(target))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  UINT cp = Resolve(codePage);
  const CodePageTable* table = nullptr;
  if (cp == CP_UTF8) {
    if (flags & ~DWORD(MB_ERR_INVALID_CHARS)) {
      SetLastError(ERROR_INVALID_FLAGS);
      return 0;
    }
  } else {
    table = TableFor(cp);
    if (!table) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
    if ((flags & ~DWORD(MB_PRECOMPOSED | MB_COMPOSITE | MB_USEGLYPHCHARS | MB_ERR_INVALID_CHARS)) ||
        ((flags & MB_PRECOMPOSED) && (flags & MB_COMPOSITE))) {
      SetLastError(ERROR_INVALID_FLAGS);
      return 0;
    }
  }
  size_t n = sourceBytes < 0 ? strlen(source) + 1 : size_t(sourceBytes);
  const unsigned char* s = reinterpret_cast<const unsigned char*>(source);
  Decoded decoded;
  if (table)
    DecodeTable(*table, s, n, &decoded);
  else
    DecodeUtf8(s, n, &decoded);
  if (decoded.invalid && (flags & MB_ERR_INVALID_CHARS)) {
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return 0;
  }
  int count = int(decoded.text.size());
  if (targetChars == 0) return count;
  if (count > targetChars) {
    memcpy(target, decoded.text.data(), size_t(targetChars) * sizeof(WCHAR));
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  memcpy(target, decoded.text.data(), size_t(count) * sizeof(WCHAR));
  return count;
}

WINSIM_API int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source, int sourceChars, LPSTR target,
                                          int targetBytes, LPCSTR defaultChar, LPBOOL usedDefaultChar) {
  if (!source || sourceChars == 0 || targetBytes < 0 || (targetBytes > 0 && !target) ||
      (target && static_cast<const void*>(source) == static_cast<const void*>(target))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  UINT cp = Resolve(codePage);
  size_t n = sourceChars < 0 ? winsim::WideLength(source) + 1 : size_t(sourceChars);
  std::string out;
  bool usedDefault = false;
  if (cp == CP_UTF8) {
    if (defaultChar || usedDefaultChar) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
    if (flags & ~DWORD(WC_ERR_INVALID_CHARS)) {
      SetLastError(ERROR_INVALID_FLAGS);
      return 0;
    }
    if (!winsim::AppendUtf8(source, n, &out) && (flags & WC_ERR_INVALID_CHARS)) {
      SetLastError(ERROR_NO_UNICODE_TRANSLATION);
      return 0;
    }
  } else {
    const CodePageTable* table = TableFor(cp);
    if (!table) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
    if (flags & ~DWORD(WC_COMPOSITECHECK | WC_DISCARDNS | WC_SEPCHARS | WC_DEFAULTCHAR | WC_NO_BEST_FIT_CHARS)) {
      SetLastError(ERROR_INVALID_FLAGS);
      return 0;
    }
    EncodeOptions options;
    options.noBestFit = flags & WC_NO_BEST_FIT_CHARS;
    options.defaultChar = defaultChar;
    for (size_t i = 0; i < n; ++i)
      if (!EncodeOne(*table, source[i], options, &out)) usedDefault = true;
  }
  if (usedDefaultChar) *usedDefaultChar = usedDefault;
  int count = int(out.size());
  if (targetBytes == 0) return count;
  if (count > targetBytes) {
    // What does fit is handed over in whole characters: half of a double-byte character
    // would pair with whatever the caller's buffer holds next.
    memcpy(target, out.data(), WholeCharacters(cp, out, size_t(targetBytes)));
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  memcpy(target, out.data(), size_t(count));
  return count;
}

WINSIM_API BOOL WINAPI IsDBCSLeadByteEx(UINT codePage, BYTE byte) {
  UINT cp = Resolve(codePage);
  const CodePageTable* table = cp == CP_UTF8 ? nullptr : TableFor(cp);
  if (!table) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return table->lead[byte] ? TRUE : FALSE;
}

WINSIM_API BOOL WINAPI IsDBCSLeadByte(BYTE byte) { return IsDBCSLeadByteEx(CP_ACP, byte); }

WINSIM_API NTSTATUS WINAPI RtlMultiByteToUnicodeN(PWCHAR target, ULONG targetBytes, PULONG written,
                                                  const CHAR* source, ULONG sourceBytes) {
  const CodePageTable* table = TableFor(g_ansiCodePage);
  if (!table || (!target && targetBytes) || (!source && sourceBytes)) return STATUS_INVALID_PARAMETER;
  const unsigned char* s = reinterpret_cast<const unsigned char*>(source);
  ULONG room = targetBytes / sizeof(WCHAR), made = 0;
  bool invalid = false;
  for (ULONG i = 0; i < sourceBytes && made < room;) {
    WCHAR c;
    i += ULONG(DecodeOne(*table, s + i, sourceBytes - i, &c, &invalid));
    target[made++] = c;
  }
  if (written) *written = made * sizeof(WCHAR);
  return STATUS_SUCCESS;
}

WINSIM_API NTSTATUS WINAPI RtlUnicodeToMultiByteN(PCHAR target, ULONG targetBytes, PULONG written,
                                                  const WCHAR* source, ULONG sourceBytes) {
  const CodePageTable* table = TableFor(g_ansiCodePage);
  if (!table || (!target && targetBytes) || (!source && sourceBytes)) return STATUS_INVALID_PARAMETER;
  ULONG made = 0;
  EncodeOptions options;
  for (ULONG i = 0; i < sourceBytes / sizeof(WCHAR); ++i) {
    std::string code;
    EncodeOne(*table, source[i], options, &code);
    if (made + code.size() > targetBytes) break;  // a double-byte character is never split
    memcpy(target + made, code.data(), code.size());
    made += ULONG(code.size());
  }
  if (written) *written = made;
  return STATUS_SUCCESS;
}

namespace winsim {

std::u16string AnsiToWide(const char* text, size_t count) {
  std::u16string out;
  if (!text) return out;
  if (count == size_t(-1)) count = strlen(text);
  if (count == 0) return out;
  int n = MultiByteToWideChar(CP_ACP, 0, text, int(count), nullptr, 0);
  if (n <= 0) return out;
  out.resize(size_t(n));
  MultiByteToWideChar(CP_ACP, 0, text, int(count), &out[0], n);
  return out;
}

std::string WideToAnsi(const std::u16string& text) {
  std::string out;
  if (text.empty()) return out;
  int n = WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return out;
  out.resize(size_t(n));
  WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), &out[0], n, nullptr, nullptr);
  return out;
}

}  // namespace winsim
