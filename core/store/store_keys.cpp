// Helpers the list stores share.
#include "core/store/store_keys.h"

#include <initializer_list>

#include "core/common/ini_access.h"
#include "core/common/text.h"
#include "core/context/ui_state.h"
#include "core/store/printer_name_guard.h"
#include "core/store/settings_file.h"
#include "core/system/driver_paths.h"
#include "core/system/languages.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"

WCHAR* StoreFormatNumber(WCHAR* buffer, LONG value) {
  WCHAR digits[12];
  int n = 0;
  unsigned long v = value < 0 ? 0ul - static_cast<unsigned long>(value) : static_cast<unsigned long>(value);
  do {
    digits[n++] = WCHAR(u'0' + v % 10);
    v /= 10;
  } while (v && n < 11);
  int k = 0;
  if (value < 0) buffer[k++] = u'-';
  while (n) buffer[k++] = digits[--n];
  buffer[k] = 0;
  return buffer;
}

WCHAR* StoreFormatKey(WCHAR* buffer, DWORD cchBuffer, LPCWSTR prefix, LONG number, LPCWSTR suffix) {
  if (!buffer || !cchBuffer) return buffer;
  WCHAR digits[16];
  StoreFormatNumber(digits, number);
  DWORD need = StrWideLength(prefix) + StrWideLength(digits) + StrWideLength(suffix) + 1;
  buffer[0] = 0;
  if (need > cchBuffer) return buffer;
  DWORD k = 0;
  for (const WCHAR* p : {prefix, static_cast<LPCWSTR>(digits), suffix})
    for (; p && *p; ++p) buffer[k++] = *p;
  buffer[k] = 0;
  return buffer;
}

LONG StoreReadCount(LPCWSTR section, LPCWSTR key, LONG limit, LPCWSTR file) {
  if (!section || !key || !file || !file[0]) return 0;
  const INT value = INT(IniReadInt(section, key, 0, file));
  return value < 0 ? 0 : value > limit ? limit : LONG(value);
}

int StoreSectionPresent(LPCWSTR file, LPCWSTR section) {
  if (!file || !file[0] || !section || !section[0]) return 0;
  WCHAR keys[8];
  return IniReadString(section, nullptr, TEXT(""), keys, 8, file) > 0 ? 1 : 0;
}

LONG StoreCountLimit(LPCWSTR countKey) {
  static const struct {
    LPCWSTR key;
    LONG limit;
  } kLimits[] = {{TEXT("Count"), kStoreLimitPresets},
                 {TEXT("QualityCount"), kStoreLimitQualityLists},
                 {TEXT("StampCount"), kStoreLimitStamps},
                 {TEXT("FreeSizeCount"), kStoreLimitFreeSizes}};
  if (countKey)
    for (const auto& row : kLimits)
      if (lstrcmpiW(countKey, row.key) == 0) return row.limit;
  return kStoreLimitPackEntries;
}

LONG StoreParseNumber(LPCWSTR text, LONG def) {
  if (!text) return def;
  while (*text == u' ' || *text == u'\t') ++text;
  bool negative = false;
  if (*text == u'-' || *text == u'+') negative = *text++ == u'-';
  if (*text < u'0' || *text > u'9') return def;
  unsigned long v = 0;
  for (; *text >= u'0' && *text <= u'9'; ++text) v = v * 10 + unsigned(*text - u'0');
  return negative ? -LONG(v) : LONG(v);
}

int StoreSectionTransfer(DriverContext* ctx, LPCWSTR path, LPCWSTR section, DWORD flags) {
  if (!ctx || !ctx->ui || !path || !section) return 0;
  PrinterNameGuard name(ctx);
  name.Set(section);
  return StoreRwItemSection(ctx->printer, path, flags, ctx);
}

void StoreCopyPrinterName(DriverContext* ctx, WCHAR* buffer, DWORD cchBuffer) {
  const WCHAR* name = ctx && ctx->ui ? PrnGetPrinterName(ctx) : nullptr;
  StrCopyCut(buffer, cchBuffer, name ? name : TEXT(""));
}

void StoreCopySettingsIni(DriverContext* ctx, WCHAR* buffer) {
  const WCHAR* path = ctx && ctx->ui ? PathSettingsFile(ctx) : nullptr;
  StrCopyCut(buffer, kPathChars, path ? path : TEXT(""));
}

void StoreCopyModelDataFile(DriverContext* ctx, WCHAR* buffer) {
  const WCHAR* path = ctx && ctx->ui ? PathModelDataFile(ctx) : nullptr;
  StrCopyCut(buffer, kPathChars, path ? path : TEXT(""));
}

LPCWSTR StoreListLangCode(DriverContext* ctx) { return ResGetUiLangCode(ctx); }
