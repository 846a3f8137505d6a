// Fuzz target: the number reader of the numeric edits on any typed or pasted text. The first
// byte picks the divisor (1 to 10000), the rest is UTF-16 text, cut at the first zero. The
// reader must stay inside the text and keep its rules: a text without digits reads 0, the sign
// follows a '-' right before the first digit, and a divisor with more decimals never reads
// less than ten times the same text with one decimal fewer unless the magnitude overflowed.
#include <stdint.h>
#include <stdlib.h>

#include <vector>

#include "core/front/ctl_edits.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static const LONG kDivisors[] = {1, 10, 100, 1000, 10000};
  const size_t pick = data[0] % 4;
  std::vector<WCHAR> text;
  for (size_t i = 1; i + 1 < size; i += 2) {
    WCHAR c = static_cast<WCHAR>(data[i] | (data[i + 1] << 8));
    if (!c) break;
    text.push_back(c);
  }
  // The text ends exactly at its terminator, so a read past it is a sanitizer report.
  text.push_back(0);
  const LONG value = CtlParseScaledNumber(text.data(), kDivisors[pick], nullptr);
  size_t first = 0;
  while (text[first] && (text[first] < '0' || text[first] > '9')) ++first;
  if (!text[first] && value != 0) abort();
  const bool negative = first > 0 && text[first - 1] == '-';
  if (value != 0 && (value < 0) != negative) abort();
  const LONG finer = CtlParseScaledNumber(text.data(), kDivisors[pick + 1], nullptr);
  if (finer != 0) {
    const long long coarse = static_cast<long long>(value) * 10;
    const long long gap = finer > coarse ? finer - coarse : coarse - finer;
    if (gap > 9) abort();
  }
  return 0;
}
