// The language table and its lookups. Every lookup walks the table from its first row and
// stops at the first match: the order of the rows is part of the behaviour (Russian, index
// 15, comes last).
#include "core/system/languages.h"

#include "core/common/mem.h"
#include "core/system/printer_names.h"
#include "core/context/driver_context.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/context/ui_state.h"
#include "core/install/driver_identity.h"

const LanguageRow kLanguageTable[] = {
    {0, 0x11, 0, 0, TEXT("jp")},   // Japanese
    {1, 0x09, 0, 0, TEXT("us")},   // English
    {2, 0x05, 0, 0, TEXT("cz")},   // Czech
    {3, 0x06, 0, 0, TEXT("dn")},   // Danish
    {4, 0x07, 0, 0, TEXT("gm")},   // German
    {5, 0x0A, 0, 0, TEXT("sp")},   // Spanish
    {6, 0x0C, 0, 0, TEXT("fr")},   // French
    {7, 0x10, 0, 0, TEXT("it")},   // Italian
    {8, 0x0E, 0, 0, TEXT("hn")},   // Hungarian
    {9, 0x13, 0, 0, TEXT("dt")},   // Dutch
    {10, 0x14, 0, 0, TEXT("nw")},  // Norwegian
    {11, 0x15, 0, 0, TEXT("pl")},  // Polish
    {12, 0x16, 0, 0, TEXT("pr")},  // Portuguese
    {13, 0x0B, 0, 0, TEXT("fn")},  // Finnish
    {14, 0x1D, 0, 0, TEXT("sw")},  // Swedish
    {16, 0x04, 2, 0, TEXT("cs")},  // Chinese, simplified
    {17, 0x04, 1, 0, TEXT("ct")},  // Chinese, traditional
    {18, 0x12, 0, 0, TEXT("kr")},  // Korean
    {15, 0x19, 0, 0, TEXT("ru")},  // Russian
    {0xFFFF, 0, 0, 0, nullptr},
};

namespace {

const WCHAR kDefaultCode[] = TEXT("us");

WCHAR Lower(WCHAR c) { return (c >= 'A' && c <= 'Z') ? WCHAR(c - 'A' + 'a') : c; }

bool SameCode(LPCWSTR a, LPCWSTR b) {
  for (;; ++a, ++b) {
    if (Lower(*a) != Lower(*b)) return false;
    if (!*a) return true;
  }
}

const LanguageRow* RowOfIndex(WORD index) {
  for (const LanguageRow* r = kLanguageTable; r->index != 0xFFFF; ++r)
    if (r->index == index) return r;
  return nullptr;
}

const LanguageRow* RowOfCode(LPCWSTR code) {
  if (!code) return nullptr;
  for (const LanguageRow* r = kLanguageTable; r->index != 0xFFFF; ++r)
    if (SameCode(r->code, code)) return r;
  return nullptr;
}

// The two characters before the last '.' of the leaf, or false when there are not two.
bool CodeOfFileName(LPCWSTR path, WCHAR code[3]) {
  if (!path) return false;
  LPCWSTR leaf = path;
  for (LPCWSTR p = path; *p; ++p)
    if (*p == '\\') leaf = p + 1;
  LPCWSTR dot = nullptr;
  for (LPCWSTR p = leaf; *p; ++p)
    if (*p == '.') dot = p;
  if (!dot || dot - leaf < 2) return false;
  code[0] = dot[-2];
  code[1] = dot[-1];
  code[2] = 0;
  return true;
}

}  // namespace

LPCWSTR ResLangCodeFromIndex(WORD index) {
  const LanguageRow* r = RowOfIndex(index);
  return r ? r->code : kDefaultCode;
}

BOOL ResIsLangIndexValid(WORD index) { return RowOfIndex(index) ? TRUE : FALSE; }

WORD ResLangIndexFromCode(LPCWSTR code) {
  const LanguageRow* r = RowOfCode(code);
  return r ? r->index : kDefaultLanguageIndex;
}

LPCWSTR ResLangCodeLookup(LPCWSTR code) {
  const LanguageRow* r = RowOfCode(code);
  return r ? r->code : kDefaultCode;
}

WORD ResLangIndexFromFileName(LPCWSTR path) {
  WCHAR code[3];
  return CodeOfFileName(path, code) ? ResLangIndexFromCode(code) : kDefaultLanguageIndex;
}

LPCWSTR ResLangCodeFromFileName(LPCWSTR path) {
  WCHAR code[3];
  return CodeOfFileName(path, code) ? ResLangCodeLookup(code) : kDefaultCode;
}

WORD ResLangIndexFromUserLocale() { return ResLangIndexFromLcid(GetUserDefaultLCID()); }

WORD ResLangIndexFromLcid(LCID lcid) {
  WORD langId = LANGIDFROMLCID(lcid);
  return ResLangIndexFromLangId(WORD(langId & 0x3FF), WORD(langId >> 10));
}

WORD ResLangIndexFromLangId(WORD primary, WORD sublanguage) {
  for (const LanguageRow* r = kLanguageTable; r->index != 0xFFFF; ++r) {
    if (r->primary != primary) continue;
    if (sublanguage == 0 || (r->sublanguage != 0 && r->sublanguage == sublanguage)) return r->index;
  }
  return kNoLanguageIndex;
}

WORD ResLangIdFromIndex(WORD index, WORD* sublanguage) {
  if (sublanguage) *sublanguage = 0;
  for (const LanguageRow* r = kLanguageTable; r->index != 0xFFFF; ++r) {
    if (r->index != (index & 0xFF)) continue;
    if (sublanguage) *sublanguage = r->sublanguage;
    return r->primary;
  }
  return 0;
}

WORD ResPrimaryLangIdFromIndex(WORD index) { return ResLangIdFromIndex(index, nullptr); }

// ---- lookups through a driver context ----

namespace {
constexpr DWORD kHelpTextChars = kTextBufferChars;
constexpr DWORD kLanguageCodeChars = sizeof(UiState::languageCode) / sizeof(WCHAR);

LPWSTR TextBuffer(DriverContext* ctx) { return ctx && ctx->ui ? ctx->ui->textBuffer : nullptr; }
LPWSTR LanguageCodeField(DriverContext* ctx) { return ctx && ctx->ui ? ctx->ui->languageCode : nullptr; }

// The leaf of the driver's help file (DRIVER_INFO_3), read into the UI state's text buffer;
// null when it cannot be had.
LPCWSTR DriverHelpLeaf(DriverContext* ctx) {
  LPWSTR text = TextBuffer(ctx);
  if (!text || !ctx) return nullptr;
  text[0] = 0;
  DRIVER_INFO_3W* info = static_cast<DRIVER_INFO_3W*>(PrnGetDriverInfo(ctx->printer, 3));
  if (!info) return nullptr;
  LPCWSTR leaf = nullptr;
  if (info->pHelpFile) {
    LPCWSTR start = info->pHelpFile;
    for (LPCWSTR p = info->pHelpFile; *p; ++p)
      if (*p == '\\') start = p + 1;
    DWORD n = 0;
    while (start[n] && n + 1 < kHelpTextChars) {
      text[n] = start[n];
      ++n;
    }
    text[n] = 0;
    leaf = text;
  }
  MemFree(info);
  return leaf;
}

// The printer-data help file name, read into the UI state's text buffer.
LPCWSTR PrinterHelpName(DriverContext* ctx) {
  LPWSTR text = TextBuffer(ctx);
  if (!text || !InstReadHelpFileName(text, kHelpTextChars, ctx)) return nullptr;
  return text;
}

// Copies a table code into the UI state's language code field.
LPCWSTR KeepCode(DriverContext* ctx, LPCWSTR code) {
  LPWSTR field = LanguageCodeField(ctx);
  if (!field) return code;
  DWORD n = 0;
  while (code[n] && n + 1 < kLanguageCodeChars) {
    field[n] = code[n];
    ++n;
  }
  field[n] = 0;
  return field;
}
}  // namespace

LPCWSTR ResGetUiLangCode(DriverContext* ctx) {
  // Without a stored value (no context or no item table yet) there is no index to look up: a
  // raw 0 would read as Japanese.
  SettingItem* item = nullptr;
  LONG_PTR raw = ItemGetRawById(ctx, kItem_zdmLanguageID, &item);
  return item ? ResLangCodeFromIndex(WORD(raw)) : kDefaultCode;
}

LPCWSTR ResGetUiLangCodeAlias(DriverContext* ctx) { return ResGetUiLangCode(ctx); }

WORD ResLangIndexFromDriverHelp(DriverContext* ctx) {
  LPCWSTR leaf = DriverHelpLeaf(ctx);
  return leaf ? ResLangIndexFromFileName(leaf) : kDefaultLanguageIndex;
}

LPCWSTR ResLangCodeFromDriverHelp(DriverContext* ctx) {
  LPCWSTR leaf = DriverHelpLeaf(ctx);
  return leaf ? ResLangCodeFromFileName(leaf) : kDefaultCode;
}

WORD ResLangIndexFromHelpFile(DriverContext* ctx) {
  LPCWSTR name = PrinterHelpName(ctx);
  return name ? ResLangIndexFromFileName(name) : kDefaultLanguageIndex;
}

LPCWSTR ResLangCodeFromHelpFile(DriverContext* ctx) {
  LPCWSTR name = PrinterHelpName(ctx);
  return name ? ResLangCodeFromFileName(name) : kDefaultCode;
}

LPCWSTR ResLangCodeFromPrinterHelp(HANDLE hPrinter) {
  WCHAR name[kHelpTextChars];
  if (!InstReadHelpFileNameByPrinter(name, kHelpTextChars, hPrinter)) return kDefaultCode;
  return ResLangCodeFromFileName(name);
}

LPCWSTR ResGetLangCode(DriverContext* ctx) { return KeepCode(ctx, ResGetUiLangCode(ctx)); }
LPCWSTR ResGetLangCodeAlias(DriverContext* ctx) { return ResGetLangCode(ctx); }
LPCWSTR ResGetLangCodeAlias2(DriverContext* ctx) { return ResGetLangCode(ctx); }

LPCWSTR ResGetInstalledLangCode(DriverContext* ctx) {
  LPCWSTR code = ctx && ctx->ui && ctx->ui->openMode == 1 ? ResLangCodeFromDriverHelp(ctx) : ResLangCodeFromHelpFile(ctx);
  return KeepCode(ctx, code);
}

LPCWSTR ResGetInstalledLangCodeFromHelpFile(DriverContext* ctx) {
  return KeepCode(ctx, ResLangCodeFromHelpFile(ctx));
}
