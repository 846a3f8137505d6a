// The API ini: section "ZEMSAPI" of the model data file, which names the level a printer offers
// and the interface's optional functions.
#include "core/common/ini_access.h"
#include "core/system/driver_paths.h"
#include "exclude/api/api_context.h"
#include "exclude/api/api_services.h"

namespace {

constexpr int kNameChars = 257;

void Widen(const char* text, WCHAR* out, int chars) {
  int i = 0;
  for (; text && text[i] && i < chars - 1; ++i) out[i] = static_cast<unsigned char>(text[i]);
  out[i] = 0;
}

// The model data file of an open printer; 0 when there is no path.
int IniPathOf(HANDLE printer, WCHAR* path) {
  path[0] = 0;
  PathModelDataFileOf(printer, path, MAX_PATH * sizeof(WCHAR));
  return path[0] ? 1 : 0;
}

LONG ReadInt(HANDLE printer, const char* section, const char* key, LONG def) {
  WCHAR path[MAX_PATH] = {};
  if (!IniPathOf(printer, path)) return def;
  WCHAR wideSection[64], wideKey[64];
  Widen(section, wideSection, 64);
  Widen(key, wideKey, 64);
  return static_cast<LONG>(IniReadInt(wideSection, wideKey, def, path));
}

}  // namespace

LONG ApiReadLevelKnown(const char* printerName, int* known) {
  if (known) *known = 0;
  if (!printerName || !printerName[0]) return -1;
  WCHAR wide[kNameChars] = {};
  if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, printerName, -1, wide, kNameChars) <= 0) return -1;
  HANDLE printer = nullptr;
  if (!OpenPrinterW(wide, &printer, nullptr)) return -1;
  SetLastError(0);
  WCHAR path[MAX_PATH] = {};
  const bool havePath = IniPathOf(printer, path) != 0;
  const DWORD error = GetLastError();
  LONG level = -1;
  bool memoryFailed = !havePath && (error == ERROR_NOT_ENOUGH_MEMORY || error == ERROR_OUTOFMEMORY);
  if (havePath) {
    SetLastError(0);
    level = static_cast<LONG>(IniReadInt(TEXT("ZEMSAPI"), TEXT("ZEMSAPIVer"), -1, path));
    const DWORD readError = GetLastError();
    memoryFailed = level == -1 && (readError == ERROR_NOT_ENOUGH_MEMORY || readError == ERROR_OUTOFMEMORY);
  }
  ClosePrinter(printer);
  // A path or key that could not be read for lack of memory tells nothing about the key.
  if (known) *known = memoryFailed ? 0 : 1;
  return level;
}

LONG ApiReadLevel(const char* printerName) { return ApiReadLevelKnown(printerName, nullptr); }

LONG ApiReadIniInt(HANDLE printer, const char* section, const char* key) {
  return printer ? ReadInt(printer, section, key, 0) : 0;
}

int ApiReadIniFunc1Mask(ApiContext* api, DWORD mask) {
  if (!api) return 0;
  HANDLE printer = api->printer;
  bool opened = false;
  if (!printer) {
    if (!ApiOpenPrinter(api, &printer, nullptr)) return 0;
    opened = true;
  }
  const DWORD bits = static_cast<DWORD>(ApiReadIniInt(printer, "ZEMSAPI", "ZEMSAPIFunc1"));
  if (opened) ApiClosePrinter(api, printer);
  return (bits & mask) ? 1 : 0;
}
