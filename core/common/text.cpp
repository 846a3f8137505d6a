// Text and number helpers.
#include "core/common/text.h"

#include <string.h>

WCHAR* StrAnsiToWide(WCHAR* wide, const char* narrow, int cchWide) {
  if (!wide) return nullptr;
  if (!narrow) narrow = "";
  ULONG length = ULONG(strlen(narrow));
  if (cchWide <= 0) cchWide = int(length + 1);
  ULONG written = 0;
  RtlMultiByteToUnicodeN(wide, ULONG(cchWide) * sizeof(WCHAR), &written, narrow, length + 1);
  wide[cchWide - 1] = 0;
  return wide;
}

int StrAnsiCutLength(const char* text, int limit) {
  int cut = 0;
  if (!text) return 0;
  while (cut < limit && text[cut]) {
    const int step = IsDBCSLeadByteEx(CP_ACP, BYTE(text[cut])) && text[cut + 1] ? 2 : 1;
    if (cut + step > limit) break;
    cut += step;
  }
  return cut;
}

char* StrWideToAnsi(char* narrow, const WCHAR* wide, int cbNarrow) {
  if (!narrow) return nullptr;
  static const WCHAR kEmpty[] = {0};
  if (!wide) wide = kEmpty;
  ULONG length = StrWideLength(wide);
  if (cbNarrow < 1) {
    // The whole text in bytes: a double-byte code page needs more bytes than characters.
    cbNarrow = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (cbNarrow < 1) cbNarrow = int(length + 1);
  }
  memset(narrow, 0, size_t(cbNarrow));
  ULONG written = 0;
  RtlUnicodeToMultiByteN(narrow, ULONG(cbNarrow), &written, wide, (length + 1) * sizeof(WCHAR));
  if (written < ULONG(cbNarrow)) return narrow;  // fitted, terminator included
  // Cut to n - 1 bytes; a double-byte character that would straddle the cut goes whole.
  const int cut = StrAnsiCutLength(narrow, cbNarrow - 1);
  memset(narrow + cut, 0, size_t(cbNarrow - cut));
  return narrow;
}

void StrFormatFixedPoint(WCHAR* buffer, int cchBuffer, LONG divisor, LONG value, BOOL decimalComma) {
  if (!buffer || cchBuffer <= 0) return;
  int decimals = 0;
  for (LONG d = divisor; d > 1; d /= 10) ++decimals;
  // Formatted from the magnitude, so that a negative value keeps its sign however small.
  unsigned long magnitude = value < 0 ? 0ul - static_cast<unsigned long>(value) : static_cast<unsigned long>(value);
  const WCHAR* sign = value < 0 ? TEXT("-") : TEXT("");
  WCHAR text[48];
  static const WCHAR* const kFormats[] = {TEXT("%s%lu.%01lu"), TEXT("%s%lu.%02lu"), TEXT("%s%lu.%03lu"),
                                          TEXT("%s%lu.%04lu")};
  static const unsigned long kScale[] = {10, 100, 1000, 10000};
  if (decimals >= 1 && decimals <= 4) {
    unsigned long scale = kScale[decimals - 1];
    wsprintfW(text, kFormats[decimals - 1], sign, magnitude / scale, magnitude % scale);
  } else {
    wsprintfW(text, TEXT("%s%lu"), sign, magnitude);
  }
  lstrcpynW(buffer, text, cchBuffer);
  if (decimalComma) StrUseDecimalComma(buffer);
}

WCHAR* StrUseDecimalComma(WCHAR* text) {
  if (!text) return nullptr;
  for (int i = int(StrWideLength(text)) - 1; i >= 0; --i) {
    if (text[i] == '(') return text + i;
    if (text[i] == '.') text[i] = ',';
  }
  return nullptr;
}


DWORD StrWideLength(const WCHAR* text) {
  DWORD n = 0;
  if (text)
    while (text[n]) ++n;
  return n;
}

int StrWideEqual(const WCHAR* a, const WCHAR* b) {
  if (!a || !b) return 0;
  while (*a && *a == *b) ++a, ++b;
  return *a == *b;
}

int StrIsDigits(const char* text) {
  if (!text) return 0;
  for (; *text; ++text)
    if (*text < '0' || *text > '9') return 0;
  return 1;
}

int StrIsAlnum(const char* text) {
  if (!text) return 0;
  for (; *text; ++text) {
    char c = *text;
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return 0;
  }
  return 1;
}

const char* StrNextLine(const char* text, int* count) {
  if (!text) {
    if (count) *count = 0;
    return nullptr;
  }
  int n = 0;
  while (text[n] && text[n] != '\n') ++n;
  if (count) *count = n + 1;
  return text + n + 1;
}

int StrCopyIfFits(WCHAR* buffer, DWORD cchBuffer, const WCHAR* text) {
  DWORD n = StrWideLength(text);
  if (!buffer || n >= cchBuffer) return 0;
  memcpy(buffer, text, n * sizeof(WCHAR));
  buffer[n] = 0;
  return 1;
}

void StrCopyCut(WCHAR* buffer, DWORD cchBuffer, const WCHAR* text) {
  if (!buffer || !cchBuffer) return;
  DWORD n = StrWideLength(text);
  if (n >= cchBuffer) n = cchBuffer - 1;
  if (n) memcpy(buffer, text, n * sizeof(WCHAR));
  buffer[n] = 0;
}

int StrJoin(WCHAR* buffer, DWORD cchBuffer, const WCHAR* head, DWORD headLength, const WCHAR* tail) {
  if (!buffer || !cchBuffer) return 0;
  DWORD tailLength = StrWideLength(tail);
  if (headLength + tailLength + 1 > cchBuffer) {
    buffer[0] = 0;
    return 0;
  }
  memmove(buffer, head, headLength * sizeof(WCHAR));
  memcpy(buffer + headLength, tail, tailLength * sizeof(WCHAR));
  buffer[headLength + tailLength] = 0;
  return 1;
}

const WCHAR* StrKeyBatchInstallDone() { return TEXT("BatchInstallDone"); }

void StrFormatTimeStamp(WCHAR* buffer, const SYSTEMTIME* time) {
  wsprintfW(buffer, TEXT("%04d%02d%02d%02d%02d%02d"), time->wYear, time->wMonth, time->wDay, time->wHour,
            time->wMinute, time->wSecond);
}
