// Fuzz target: any bytes as a value text of the language DLL used as the format of a number:
// the first four bytes are the item's value, the fifth the output buffer's size, the rest the
// text (UTF-16 pairs). A crash, a sanitizer report, an unterminated or overrun buffer, a length
// that differs between the measuring and the writing call or a cut result that is not the full
// one's beginning is a finding.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "core/system/user_messages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  LONG value = 0;
  memcpy(&value, data, sizeof value);
  const size_t cch = data[4];
  std::vector<WCHAR> format((size - 5) / 2 + 1, 0);
  for (size_t i = 0; i + 1 < format.size(); ++i)
    format[i] = static_cast<WCHAR>(data[5 + 2 * i] | (data[6 + 2 * i] << 8));
  const size_t length = UiFormatMessageText(format.data(), kUiArgLongs, &value, 1, nullptr, 0);
  std::vector<WCHAR> full(length + 1, 0xFFFF);
  if (UiFormatMessageText(format.data(), kUiArgLongs, &value, 1, full.data(), full.size()) != length) abort();
  if (full[length] != 0) abort();
  // One number of at most 1024 characters, every other character copied once.
  if (length > format.size() + 1024 + 11) abort();
  std::vector<WCHAR> cut(cch + 1, 0xFFFF);
  if (UiFormatMessageText(format.data(), kUiArgLongs, &value, 1, cut.data(), cch) != length) abort();
  if (cut[cch] != 0xFFFF) abort();  // nothing written past the buffer
  if (cch) {
    const size_t kept = length < cch ? length : cch - 1;
    if (cut[kept] != 0 || memcmp(cut.data(), full.data(), kept * sizeof(WCHAR)) != 0) abort();
  }
  return 0;
}
