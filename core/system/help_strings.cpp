// The help strings the printer-interface DLL hands to the graphics DLL when a document starts:
// three texts of the printer's help DLL in one private escape.
#include <string.h>

#include "core/common/mem.h"
#include "core/common/text.h"
#include "core/install/driver_identity.h"
#include "core/system/driver_paths.h"
#include "core/system/resources.h"

namespace {

struct HelpStringMarker {
  WORD marker;
  WORD stringId;
};
const HelpStringMarker kHelpStrings[kHelpStringRows] = {{731, 15000}, {733, 15001}, {735, 15002}};

// The help file name, usable only as a bare file name with an extension: anything that could
// name a file outside the driver folder is refused.
bool UsableHelpName(const WCHAR* name) {
  bool dot = false;
  for (const WCHAR* p = name; *p; ++p) {
    if (*p == u'\\' || *p == u'/' || *p == u':') return false;
    if (p[0] == u'.' && p[1] == u'.') return false;
    if (*p == u'.') dot = true;
  }
  return dot && name[0] != 0;
}

}  // namespace

HMODULE ResLoadHelpDll(HANDLE hPrinter, HMODULE* helpDll) {
  if (!helpDll) return nullptr;
  if (*helpDll) return *helpDll;
  WCHAR name[MAX_PATH];
  if (!InstReadHelpFileNameByPrinter(name, MAX_PATH, hPrinter) || !UsableHelpName(name)) return nullptr;
  // The text after the last '.' becomes "dll".
  DWORD n = StrWideLength(name);
  while (n > 0 && name[n - 1] != u'.') --n;
  if (n + 4 > MAX_PATH) return nullptr;
  name[n] = u'd';
  name[n + 1] = u'l';
  name[n + 2] = u'l';
  name[n + 3] = 0;
  WCHAR path[MAX_PATH];
  path[0] = 0;
  if (!PathGetDriverDirOf(hPrinter, path, MAX_PATH) || !path[0]) return nullptr;
  if (!StrJoin(path, MAX_PATH, path, StrWideLength(path), name)) return nullptr;
  *helpDll = LoadLibraryW(path);
  return *helpDll;
}

void ResLoadHelpString(HANDLE hPrinter, HMODULE* helpDll, WORD id, WCHAR* text) {
  if (!text) return;
  memset(text, 0, kHelpStringChars * sizeof(WCHAR));
  HMODULE dll = ResLoadHelpDll(hPrinter, helpDll);
  if (dll) LoadStringW(dll, id, text, kHelpStringChars);
  text[kHelpStringChars - 1] = 0;
}

void ResFreeHelpDll(HMODULE handle) {
  if (handle) FreeLibrary(handle);
}

void ResSendStringsToGraphics(HANDLE hPrinter, HDC dc) {
  // A table of its own per send: two documents starting at once do not share texts.
  HelpStringRow rows[kHelpStringRows + 1];
  memset(rows, 0, sizeof rows);
  HMODULE helpDll = nullptr;
  for (int i = 0; i < kHelpStringRows; ++i) {
    rows[i].marker = kHelpStrings[i].marker;
    rows[i].stringId = kHelpStrings[i].stringId;
    ResLoadHelpString(hPrinter, &helpDll, rows[i].stringId, rows[i].text);
  }
  ExtEscape(dc, kHelpStringEscape, int(sizeof rows), reinterpret_cast<LPCSTR>(rows), 0, nullptr);
  ResFreeHelpDll(helpDll);
}
