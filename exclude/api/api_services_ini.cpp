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

LONG ApiReadLevel(const char* printerName) {
  if (!printerName || !printerName[0]) return -1;
  WCHAR wide[kNameChars] = {};
  if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, printerName, -1, wide, kNameChars) <= 0) return -1;
  HANDLE printer = nullptr;
  if (!OpenPrinterW(wide, &printer, nullptr)) return -1;
  const LONG level = ReadInt(printer, "ZEMSAPI", "ZEMSAPIVer", -1);
  ClosePrinter(printer);
  return level;
}

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
