// The language table: display-language index <-> two-letter code <-> Windows language ids,
// and the installed language read from a help file's name.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// One row of the language table. The table ends with a row whose index is 0xFFFF.
struct LanguageRow {
  WORD index;        // value of item zdmLanguageID (169)
  WORD primary;      // Windows primary language id
  WORD sublanguage;  // 0 = none given
  WORD script;       // script class (kept with the row, not used by the lookups)
  LPCWSTR code;      // two letters
};

// The table in search order, ended by the 0xFFFF row.
extern const LanguageRow kLanguageTable[];

constexpr WORD kDefaultLanguageIndex = 1;
constexpr WORD kNoLanguageIndex = 0xFFFF;

// Code of the display language (item 169 taken as 16 bits); "us" when no row has it.
LPCWSTR ResGetUiLangCode(DriverContext* ctx);
LPCWSTR ResGetUiLangCodeAlias(DriverContext* ctx);
// Code of a language index; "us" when absent.
LPCWSTR ResLangCodeFromIndex(WORD index);
BOOL ResIsLangIndexValid(WORD index);
// Index of a code (case ignored); 1 when absent or null.
WORD ResLangIndexFromCode(LPCWSTR code);
// The table's own spelling of a code (case ignored); "us" when absent.
LPCWSTR ResLangCodeLookup(LPCWSTR code);
// The two characters before the last '.' of the path's leaf, looked up as a code.
WORD ResLangIndexFromFileName(LPCWSTR path);
LPCWSTR ResLangCodeFromFileName(LPCWSTR path);
// From the leaf of the driver's help file (DRIVER_INFO_3), read into the UI state's text
// buffer; 1 / "us" when it cannot be read.
WORD ResLangIndexFromDriverHelp(DriverContext* ctx);
LPCWSTR ResLangCodeFromDriverHelp(DriverContext* ctx);
// From the help file name held in the printer data; 1 / "us" when it cannot be read.
WORD ResLangIndexFromHelpFile(DriverContext* ctx);
LPCWSTR ResLangCodeFromHelpFile(DriverContext* ctx);
LPCWSTR ResLangCodeFromPrinterHelp(HANDLE hPrinter);
// The language of the user's default locale; 0xFFFF when no row matches.
WORD ResLangIndexFromUserLocale();
WORD ResLangIndexFromLcid(LCID lcid);
// First row with that primary language for which the requested sublanguage is 0 or the row's
// sublanguage is nonzero and equal to it; 0xFFFF when none. A row whose sublanguage is 0
// therefore answers only a request with sublanguage 0 (0x0409 finds no row).
WORD ResLangIndexFromLangId(WORD primary, WORD sublanguage);
// Primary language id of the row whose index equals the low 8 bits of index (0 when none);
// *sublanguage (when given) gets the row's sublanguage.
WORD ResLangIdFromIndex(WORD index, WORD* sublanguage);
WORD ResPrimaryLangIdFromIndex(WORD index);
// Copies the display language's code into the UI state's language code and returns it.
LPCWSTR ResGetLangCode(DriverContext* ctx);
LPCWSTR ResGetLangCodeAlias(DriverContext* ctx);
LPCWSTR ResGetLangCodeAlias2(DriverContext* ctx);
// The installed help file's language code, kept in the UI state's language code: from the
// driver's help file in open mode 1, else from the printer data's help file name.
LPCWSTR ResGetInstalledLangCode(DriverContext* ctx);
// The same kept code taken from the printer data's help file name whatever the open mode, for
// the builds without an install step at open.
LPCWSTR ResGetInstalledLangCodeFromHelpFile(DriverContext* ctx);
