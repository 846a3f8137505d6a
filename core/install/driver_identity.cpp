// Driver identity values in printer data, HKLM helpers, companion products and the print-log
// defaults. Texts are written with their terminator and read back terminated whatever size
// was stored, so a value written by an older driver without one reads the same.
#include "core/install/driver_identity.h"

#include <string.h>

#include "core/common/ini_access.h"
#include "core/common/mem.h"
#include "core/common/path_text.h"
#include "core/common/text.h"
#include "core/context/ui_state.h"
#include "core/store/item_store.h"
#include "core/system/driver_paths.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "core/tables/model_record.h"

namespace {

const WCHAR kPrintLogKey[] = TEXT("Software\\ORVEL\\PrintLog");
const WCHAR kCustomSetupKey[] = TEXT("Software\\ORVEL\\ZemsDrvCustomSetup");
const WCHAR kJobBinderKey[] = TEXT("Software\\ORVEL\\Tavrello\\JobBinder");
const WCHAR kPreviewKey[] = TEXT("Software\\ORVEL\\Tavrello\\Preview");
constexpr DWORD kDefaultMaxLogFileSize = 64;
constexpr DWORD kPrinterNameBytes = 522;
constexpr DWORD kEdNameChars = 26;  // at most 25 characters

bool IsTextType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// Terminates a text of got bytes inside a buffer of cbBuffer bytes.
void TerminateText(void* buffer, DWORD cbBuffer, DWORD got) {
  if (cbBuffer < sizeof(WCHAR)) return;
  DWORD last = cbBuffer / sizeof(WCHAR) - 1;
  DWORD at = got / sizeof(WCHAR);
  static_cast<WCHAR*>(buffer)[at < last ? at : last] = 0;
}

int WriteText(HANDLE printer, const WCHAR* value, const WCHAR* text) {
  if (!text) return 0;
  return StoreSetPrinterDataString(printer, text, (StrWideLength(text) + 1) * sizeof(WCHAR), value);
}

// Reads a text value of printer data into cchBuffer characters, terminated; 1 on success.
int ReadText(HANDLE printer, const WCHAR* value, WCHAR* buffer, DWORD cchBuffer) {
  if (!printer || !buffer || !cchBuffer) return 0;
  memset(buffer, 0, cchBuffer * sizeof(WCHAR));
  DWORD type = 0, needed = 0;
  DWORD rc = GetPrinterDataW(printer, const_cast<LPWSTR>(value), &type, reinterpret_cast<LPBYTE>(buffer),
                             cchBuffer * sizeof(WCHAR), &needed);
  if (rc != ERROR_SUCCESS || !IsTextType(type)) {
    buffer[0] = 0;
    return 0;
  }
  TerminateText(buffer, cchBuffer * sizeof(WCHAR), needed);
  return 1;
}

// The leaf of a path that has a backslash; null otherwise.
const WCHAR* LeafAfterBackslash(const WCHAR* path) {
  if (!path) return nullptr;
  const WCHAR* leaf = nullptr;
  for (const WCHAR* p = path; *p; ++p)
    if (*p == '\\') leaf = p + 1;
  return leaf && *leaf ? leaf : nullptr;
}

// The driver information of a printer, freed at the end of the scope.
class DriverInfo {
 public:
  explicit DriverInfo(HANDLE printer) : info_(static_cast<DRIVER_INFO_3*>(PrnGetDriverInfo(printer, 3))) {}
  ~DriverInfo() { MemFree(info_); }
  DriverInfo(const DriverInfo&) = delete;
  DriverInfo& operator=(const DriverInfo&) = delete;
  const DRIVER_INFO_3* get() const { return info_; }

 private:
  DRIVER_INFO_3* info_;
};

class PrinterInfo {
 public:
  explicit PrinterInfo(HANDLE printer) : info_(static_cast<PRINTER_INFO_2*>(PrnGetPrinterInfo(printer, 2))) {}
  ~PrinterInfo() { MemFree(info_); }
  PrinterInfo(const PrinterInfo&) = delete;
  PrinterInfo& operator=(const PrinterInfo&) = delete;
  const PRINTER_INFO_2* get() const { return info_; }

 private:
  PRINTER_INFO_2* info_;
};

// A DWORD value of HKLM read with at most 4 bytes; 0 when it cannot be read.
DWORD ReadHklmDword(const WCHAR* key, const WCHAR* value) {
  DWORD data = 0;
  if (!InstReadHklmValueRaw(key, value, &data, sizeof data)) return 0;
  return data;
}

}  // namespace

int InstReadHklmValueRaw(const WCHAR* key, const WCHAR* value, void* buffer, DWORD cbBuffer) {
  if (!key || !buffer || !cbBuffer) return 0;
  HKEY h = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &h) != ERROR_SUCCESS) return 0;
  DWORD type = 0, size = cbBuffer;
  LONG rc = RegQueryValueExW(h, value, nullptr, &type, static_cast<LPBYTE>(buffer), &size);
  RegCloseKey(h);
  if (rc != ERROR_SUCCESS) return 0;
  if (IsTextType(type)) TerminateText(buffer, cbBuffer, size);
  return 1;
}

int InstReadHklmValue(const WCHAR* key, const WCHAR* value, void* buffer, DWORD cbBuffer, DriverContext* ctx) {
  (void)ctx;
  return InstReadHklmValueRaw(key, value, buffer, cbBuffer);
}

int InstWriteHklmValue(const WCHAR* key, const WCHAR* value, const void* data, DWORD cbData, DWORD type,
                       DriverContext* ctx) {
  (void)ctx;
  if (!key || !data) return 0;
  HKEY h = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr) != ERROR_SUCCESS)
    return 0;
  LONG rc = RegSetValueExW(h, value, 0, type, static_cast<const BYTE*>(data), cbData);
  RegCloseKey(h);
  return rc == ERROR_SUCCESS ? 1 : 0;
}

int InstWriteDriverRegValue(const WCHAR* value, const WCHAR* text, DWORD cbText) {
  return InstWriteHklmValue(PathDriverRegKey(), value, text, cbText, REG_SZ, nullptr);
}

int InstReadHelpFileName(WCHAR* buffer, DWORD cchBuffer, DriverContext* ctx) {
  if (!buffer || !cchBuffer) return 0;
  buffer[0] = 0;
  if (!ctx || !ctx->printer) return 0;
  return InstReadHelpFileNameByPrinter(buffer, cchBuffer, ctx->printer);
}

int InstReadHelpFileNameByPrinter(WCHAR* buffer, DWORD cchBuffer, HANDLE hPrinter) {
  if (!buffer || !cchBuffer) return 0;
  buffer[0] = 0;
  return ReadText(hPrinter, TEXT("HelpFileName"), buffer, cchBuffer);
}

int InstIsCompanionInstalled(int kind, DriverContext* ctx) {
  (void)ctx;
  if (kind == 2) return ReadHklmDword(kJobBinderKey, TEXT("INSTALL_COUNT")) ? 1 : 0;
  if (kind == 8) return ReadHklmDword(kPreviewKey, TEXT("VERSION")) ? 1 : 0;
  return 0;
}

int InstIsSaveDeviceSetup(DriverContext* ctx) {
  // The first 16-bit unit decides: REG_DWORD 1 counts, the text "1" (unit 0x31) does not.
  WORD data[32] = {};
  if (!InstReadHklmValue(kCustomSetupKey, TEXT("SaveDeviceSetup"), data, sizeof data, ctx)) return 0;
  return data[0] == 1 ? 1 : 0;
}

int InstWriteDriverFileNames(HANDLE hPrinter, DriverContext* ctx) {
  if (!hPrinter || !ctx) return 0;
  const ModelRecord* record = CtxModelRecord(ctx);
  int spool = record->spoolDllName ? WriteText(hPrinter, TEXT("SPLUserModePrinterDriver"), record->spoolDllName) : 0;
  int ini = record->settingsIniName ? WriteText(hPrinter, TEXT("DriverIniFileName"), record->settingsIniName) : 0;
  {
    DriverInfo info(hPrinter);
    const WCHAR* leaf = info.get() ? LeafAfterBackslash(info.get()->pDriverPath) : nullptr;
    if (leaf) WriteText(hPrinter, TEXT("DriverGRFileName"), leaf);
  }
  WCHAR ed[kEdNameChars];
  ed[0] = 0;
  const WCHAR* dataFile = PathModelDataFile(ctx);
  if (dataFile[0])
    IniReadString(TEXT("DriversFileName"), TEXT("DriverEDFileName"), TEXT(""), ed, kEdNameChars, dataFile);
  if (ed[0]) WriteText(hPrinter, TEXT("DriverEDFileName"), ed);
  return spool && ini ? 1 : 0;
}

int InstWriteHelpFileName(DriverContext* ctx) {
  if (!ctx || !ctx->printer) return 0;
  DriverInfo info(ctx->printer);
  const WCHAR* leaf = info.get() ? LeafAfterBackslash(info.get()->pHelpFile) : nullptr;
  return leaf ? WriteText(ctx->printer, TEXT("HelpFileName"), leaf) : 0;
}

int InstEnsurePrintLogDefaults() {
  WCHAR folder[MAX_PATH];
  if (!InstReadHklmValueRaw(kPrintLogKey, TEXT("LogFileDirectory"), folder, sizeof folder) || !folder[0]) {
    WCHAR windows[MAX_PATH];
    UINT n = GetWindowsDirectoryW(windows, MAX_PATH);
    if (n == 0 || n >= MAX_PATH || !StrJoin(folder, MAX_PATH, windows, n, TEXT("\\temp\\PrintLog"))) return 0;
    if (!InstWriteHklmValue(kPrintLogKey, TEXT("LogFileDirectory"), folder, (StrWideLength(folder) + 1) * sizeof(WCHAR),
                            REG_SZ, nullptr))
      return 0;
  }
  DWORD size = 0;
  if (!InstReadHklmValueRaw(kPrintLogKey, TEXT("MaxLogFileSize"), &size, sizeof size)) {
    size = kDefaultMaxLogFileSize;
    if (!InstWriteHklmValue(kPrintLogKey, TEXT("MaxLogFileSize"), &size, sizeof size, REG_DWORD, nullptr)) return 0;
  }
  return 1;
}

int InstWriteLogFileName(int refresh, DriverContext* ctx) {
  int ok = InstEnsurePrintLogDefaults();
  if (!refresh) return ok;
  if (!ctx || !ctx->printer) return 0;
  DriverInfo info(ctx->printer);
  const WCHAR* leaf = info.get() ? LeafAfterBackslash(info.get()->pDriverPath) : nullptr;
  WCHAR name[MAX_PATH];
  if (!leaf || !PathReplaceExtension(name, leaf, TEXT("log"), MAX_PATH)) return 0;
  return WriteText(ctx->printer, TEXT("LogFileName"), name);
}

int InstWritePrinterName(HANDLE hPrinter) {
  PrinterInfo info(hPrinter);
  if (!info.get() || !info.get()->pPrinterName) return 0;
  return WriteText(hPrinter, TEXT("ZEMSPrinterName"), info.get()->pPrinterName);
}

int InstWriteDriverName(HANDLE hPrinter) {
  PrinterInfo info(hPrinter);
  if (!info.get() || !info.get()->pDriverName) return 0;
  return WriteText(hPrinter, TEXT("DriverName"), info.get()->pDriverName);
}

int InstReadPrinterNameData(HANDLE hPrinter, WCHAR* buffer, DriverContext* ctx) {
  if (!buffer) {
    if (!ctx || !ctx->ui) return 0;
    buffer = ctx->ui->install.storedPrinterName;
  }
  return ReadText(hPrinter, TEXT("ZEMSPrinterName"), buffer, kPrinterNameBytes / sizeof(WCHAR));
}

int InstReadPrinterNameInto(HANDLE hPrinter, WCHAR* buffer) {
  if (!buffer) return 0;
  return InstReadPrinterNameData(hPrinter, buffer, nullptr);
}

int InstWritePermission(HANDLE hPrinter, const void* data, DWORD size) {
  return StoreSetPrinterDataTyped(hPrinter, data, size, REG_DWORD, TEXT("Permission"));
}
