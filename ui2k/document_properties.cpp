// Document properties and DEVMODE conversion: applications and the spooler obtain, edit and
// validate a DEVMODE (with or without the printing-preferences sheet), convert DEVMODEs
// between versions and ask for the driver default; the first conversion after an installation
// or upgrade runs the printer's install pass. While a pass runs the busy count is raised, so
// that every context opened meanwhile files its settings per machine.
#include <string.h>

#include "core/bind/job_control.h"
#include "core/bind/print_notification.h"
#include "core/bind/remote_config.h"
#include "core/common/locks.h"
#include "core/common/mem.h"
#include "core/common/os_tests.h"
#include "core/context/driver_context.h"
#include "core/devmode/dm_convert.h"
#include "core/devmode/dm_merge.h"
#include "core/devmode/settings_defaults.h"
#include "core/devmode/sheet_commit.h"
#include "core/front/ui_busy.h"
#include "core/install/corrections.h"
#include "core/install/default_packs.h"
#include "core/install/driver_identity.h"
#include "core/install/install_ini.h"
#include "core/install/install_pass.h"
#include "core/install/model_database.h"
#include "core/install/pending_housekeeping.h"
#include "core/items/derived_settings.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/model/model_lookup.h"
#include "core/store/item_store.h"
#include "core/store/lock_data.h"
#include "core/store/settings_stores.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "core/tables/build_switches.h"
#include "ui2k/sheet_forms.h"
#include "ui2k/sheets.h"
#include "ui2k/ui_printer.h"
#include "platform/win32.h"

// The printing-preferences callback, which runs the sheet.
extern "C" LONG WINAPI DrvDocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM param);

namespace {

constexpr DWORD kPrinterRead = 0x20008;
constexpr DWORD kAdvancedMode = DM_ADVANCED | DM_PROMPT | DM_COPY;
constexpr WORD kOpenDriverDefault = 0x1B00;
constexpr WORD kOpenConversion = 0x300;
constexpr DWORD kKindConversion = 0x80000000;
constexpr DWORD kMergeAgain = 0x4000008;
constexpr int kClientConfigBit = 7;
constexpr BYTE kServerTypeClient = 17;
constexpr DWORD kSaveClass = 2, kSaveFlags = 0x80000004;
constexpr DWORD kImportFlags = 4096;

// DmCheckVersion's answers.
enum : int { kVersionCurrent = 0, kVersionOlderMinor = 1, kVersionOlderMajor = 2 };

// Stamp types of the conversion.
enum : int { kStampReinstall = 1, kStampUpdate = 2, kStampIniWork = 3 };

HANDLE OpenWithAccess(LPWSTR name, DWORD access) {
  PRINTER_DEFAULTSW defaults = {nullptr, nullptr, access};
  HANDLE printer = nullptr;
  return name && OpenPrinterW(name, &printer, &defaults) ? printer : nullptr;
}

// What a conversion opened, released in reverse order when it ends; the Vista clean-up runs
// first for a printer that lacks its directory-service name.
struct ConversionState {
  HANDLE printer = nullptr;
  PRINTER_INFO_2W* info = nullptr;
  DRIVER_INFO_3W* driver = nullptr;
  DriverContext* ctx = nullptr;
  ~ConversionState() {
    if (printer && OsIsVistaOrLater()) {
      DWORD type = 0, needed = 0;
      WCHAR name[MAX_PATH];
      if (GetPrinterDataExW(printer, TEXT("DsSpooler"), TEXT("printerName"), &type, reinterpret_cast<LPBYTE>(name),
                            sizeof name, &needed) != ERROR_SUCCESS) {
        LockGlobalMutex();
        InstCleanupStaleEntries(printer, info, 0, kInstCleanupConversion);
        UnlockGlobalMutex();
      }
    }
    CtxClose(ctx);
    MemFree(info);
    MemFree(driver);
    if (printer) ClosePrinter(printer);
  }
  void ReadInfos() {
    MemFree(info);
    info = static_cast<PRINTER_INFO_2W*>(PrnGetPrinterInfo(printer, 2));
  }
};

// A printer name holding "\Client": the printer of a remote-configuration client.
bool NamesClient(const WCHAR* name) {
  static const WCHAR kClient[] = TEXT("\\Client");
  for (const WCHAR* p = name; *p; ++p) {
    int i = 0;
    while (kClient[i] && p[i] == kClient[i]) ++i;
    if (!kClient[i]) return true;
  }
  return false;
}

void CopyContextDevmode(DriverContext* ctx, PDEVMODEW out) {
  if (out && ctx->settings) memcpy(out, ctx->settings, kUiDevmodeSize);
}

// The client's DEVMODE is handed on only when it is one of ours, whole, within the buffer.
bool ClientDevmodeUsable(const BYTE* buffer) {
  const DEVMODEW* dm = reinterpret_cast<const DEVMODEW*>(buffer);
  return DmIsOwnDevmode(buffer) && dm->dmSize == sizeof(DEVMODEW) &&
         DWORD(dm->dmSize) + dm->dmDriverExtra <= kUiDevmodeSize;
}

// After the install pass of a driver default: the settings a remote-configuration client
// left for this printer. 0 when no context opens; the server type is reported.
int TakeClientDevmode(ConversionState& s, LPWSTR name, PDEVMODEW out, BYTE* serverType) {
  s.ctx = CtxOpenWithMode(s.printer, s.printer, nullptr, kOpenConversion, kKindConversion, s.info);
  if (!s.ctx) return 0;
  BYTE* client = static_cast<BYTE*>(MemAllocZero(kUiDevmodeSize));
  if (client && RemoteFetchClientDevmode(s.ctx, client, serverType)) {
    const int version = DmCheckVersion(client);
    if (version == kVersionOlderMinor) {
      LONG room = LONG(kUiDevmodeSize);
      if (DmConvertDevmode(name, client, s.ctx->settings, &room, CDM_CONVERT) == 1) {
        DmUpgradeVersion(client, s.ctx);
        DmMergeIntoContext(s.ctx, nullptr, kMergeAgain);
        CopyContextDevmode(s.ctx, out);
      }
    } else if (version != kVersionOlderMajor && out && ClientDevmodeUsable(client)) {
      memcpy(out, client, kUiDevmodeSize);
    }
  }
  MemFree(client);
  CtxClose(s.ctx);
  s.ctx = nullptr;
  return 1;
}

BOOL DriverDefault(LPWSTR name, PDEVMODEW out) {
  ConversionState s;
  s.printer = OpenWithAccess(name, kPrinterRead);
  if (!s.printer) return FALSE;
  s.ReadInfos();
  if (!PrnInfoIsOnServer(s.info)) {
    ClosePrinter(s.printer);
    s.printer = OpenWithAccess(name, PRINTER_ALL_ACCESS);
    if (!s.printer) return FALSE;
    s.ReadInfos();
  }
  s.driver = static_cast<DRIVER_INFO_3W*>(PrnGetDriverInfo(s.printer, 3));
  int passed;
  {
    UiBusyHold busy;
    if (PrnInfoIsOnServer(s.info) || (InstIsBatchInstallDone(s.printer, nullptr) && PrnHasDevmode(s.printer))) {
      s.ctx = CtxOpenWithMode(s.printer, s.printer, nullptr, kOpenDriverDefault, kKindConversion, s.info);
      if (!s.ctx) return FALSE;
      DmSetFullDefaults(s.ctx);
      CopyContextDevmode(s.ctx, out);
      return TRUE;
    }
    LockGlobalMutex();
    passed = InstRunPrinterPass(s.printer, out, kInstPassDefaultDevmode, s.info, s.driver);
    UnlockGlobalMutex();
  }
  // A pass that failed is not stamped: the next conversion runs it again.
  if (!passed) return FALSE;
  BYTE serverType = 0;
  if (BuildHasFeatureBit(kClientConfigBit) && !TakeClientDevmode(s, name, out, &serverType)) return FALSE;
  const bool client = NamesClient(name) || serverType == kServerTypeClient;
  return InstWriteStamp(s.printer, 1, client ? kInstStampMachine : kInstStampMachineFirst) ? TRUE : FALSE;
}

// The per-printer work of a conversion, by the version of the caller's DEVMODE; the stamp
// type to write, or 0 on failure.
int ConvertWork(ConversionState& s, PDEVMODEW in, PDEVMODEW out, int version, bool onServer) {
  DriverContext* ctx = s.ctx;
  if (InstIniHasWork(PrnGetPrinterName(ctx)) || InstDriverIniHasWork(PrnGetPrinterName(ctx), s.printer))
    return InstRunPrinterPass(s.printer, out, kInstPassIniWork, s.info, s.driver) ? kStampIniWork : 0;
  if (version == kVersionOlderMajor) {
    if (!InstRunPrinterPass(s.printer, out, kInstPassInitialize, s.info, s.driver)) return 0;
    if (out) {
      DmSetFullDefaults(ctx);
      if (BuildHasFeature(ctx, kBuildFeaturePrintNotification)) CtxQueryPrintNotification(ctx, 0);
      CopyContextDevmode(ctx, out);
    }
    return kStampReinstall;
  }
  if (!onServer) InstCheckModelDb(ctx);
  if (version == kVersionOlderMinor) {
    if (out) memcpy(ctx->settings, out, kUiDevmodeSize);
    InstImportInstallFiles(ctx, kImportFlags);
    StoreLoadModuleItems(ctx);
    ItemSetRawById(ctx, kItem_wdmCustomFunc1, ModelGetItemDefault(kItem_wdmCustomFunc1, ctx));
    StoreSavePersistedItems(s.printer, ctx, kSaveClass, kSaveFlags);
    DmUpgradeVersion(in, ctx);
    if (BuildHasFeature(ctx, kBuildFeaturePrintNotification)) CtxQueryPrintNotification(ctx, 1);
    DmMergeIntoContext(ctx, nullptr, kMergeAgain);
    CtxRevalidateStores(s.printer, ctx);
    CopyContextDevmode(ctx, out);
    InstSyncPrinterInformation(s.printer, nullptr, 1, ctx, s.info, s.driver);
    PathSecureSettingsFolder(ctx);
    if (BuildHasFeature(ctx, kBuildFeatureSettingLocks) && ItemGetLockInfo(ctx) && ItemLockDefault(ctx))
      StoreEnsureDefaultSection(ctx);
    return kStampUpdate;
  }
  InstImportInstallFiles(ctx, kImportFlags);
  InstSyncPrinterInformation(s.printer, nullptr, 1, ctx, s.info, s.driver);
  ItemSetRawById(ctx, kItem_wdmCustomFunc1, ModelGetItemDefault(kItem_wdmCustomFunc1, ctx));
  StoreSavePersistedItems(s.printer, ctx, kSaveClass, kSaveFlags);
  PathSecureSettingsFolder(ctx);
  return kStampUpdate;
}

BOOL Convert(LPWSTR name, PDEVMODEW in, PDEVMODEW out) {
  const int version = DmCheckVersion(in);
  ConversionState s;
  const bool onServer = UiIsServerPrinterName(name) != 0;
  s.printer = OpenWithAccess(name, onServer ? kPrinterRead : PRINTER_ALL_ACCESS);
  if (!s.printer) return FALSE;
  s.ReadInfos();
  s.driver = static_cast<DRIVER_INFO_3W*>(PrnGetDriverInfo(s.printer, 3));
  // Only a printer whose settings were set up before has anything to convert.
  WCHAR* ini = static_cast<WCHAR*>(MemAllocZero(MAX_PATH * sizeof(WCHAR)));
  const bool pathBuilt = ini && PathSettingsFileOfFromInfo(ini, MAX_PATH, 0, s.printer, s.info);
  const bool exists = pathBuilt && GetFileAttributesW(ini) != INVALID_FILE_ATTRIBUTES;
  MemFree(ini);
  if (pathBuilt && !exists) return TRUE;
  UiBusyHold busy;
  s.ctx = CtxOpenWithMode(s.printer, s.printer, nullptr, kOpenConversion, kKindConversion, s.info);
  if (!s.ctx) return FALSE;
  JcInitForPrinter(s.ctx);
  InstWritePrinterName(s.printer);
  const int stamp = ConvertWork(s, in, out, version, onServer);
  if (!stamp || !InstWriteStamp(s.printer, stamp, kInstStampMachine)) return FALSE;
  return TRUE;
}

// The work of DrvDocumentProperties and DrvAdvancedDocumentProperties around the sheet or
// the merge.
LONG RunDocumentProperties(HWND window, HANDLE printer, LPWSTR name, PDEVMODEW out, PDEVMODEW in, DWORD mode) {
  const int dsMissing = InstDsPrinterNameMissing(printer);
  PRINTER_INFO_2W* info = static_cast<PRINTER_INFO_2W*>(PrnGetPrinterInfo(printer, 2));
  DRIVER_INFO_3W* driver = static_cast<DRIVER_INFO_3W*>(PrnGetDriverInfo(printer, 3));
  InstRunPendingHousekeeping(printer, 1, info, driver);
  const LONG answer = UiRunDocumentProperties(window, printer, name, out, in, mode, info, driver);
  if (dsMissing == 1) InstCleanupStaleForPrinter(printer, info);
  MemFree(info);
  MemFree(driver);
  return answer;
}

}  // namespace

int UiIsServerPrinterName(LPWSTR name) {
  HANDLE printer = OpenWithAccess(name, kPrinterRead);
  if (!printer) return 0;
  const int onServer = PrnIsOnServerOf(printer) ? 1 : 0;
  ClosePrinter(printer);
  return onServer;
}

LONG UiRunDocumentProperties(HWND window, HANDLE printer, LPWSTR name, PDEVMODEW output, PDEVMODEW input,
                             DWORD mode, PRINTER_INFO_2W* info, DRIVER_INFO_3W* driver) {
  DOCUMENTPROPERTYHEADER header = {};
  header.cbSize = sizeof header;
  header.hPrinter = printer;
  header.pszPrinterName = name;
  header.pdmIn = input;
  header.pdmOut = output;
  header.fMode = mode;
  if (!(mode & DM_PROMPT)) return UiMergeDocumentProperties(&header, info, driver, 1);
  DWORD result = CPSUI_CANCEL;
  if (SheetRunCommonPropertySheet(window, DrvDocumentPropertySheets, reinterpret_cast<LPARAM>(&header), &result) < 0)
    return -1;
  return LONG(result);
}

ZEMS_EXPORT LONG WINAPI DrvDocumentProperties(HWND window, HANDLE printer, LPWSTR deviceName, PDEVMODEW output,
                                              PDEVMODEW input, DWORD mode) {
  if (mode == 0 || !output) return LONG(kUiDevmodeSize);
  const LONG r = RunDocumentProperties(window, printer, deviceName, output, input, mode);
  if (r > 0) return IDOK;
  if (r == 0) return IDCANCEL;
  return r;
}

ZEMS_EXPORT LONG WINAPI DrvAdvancedDocumentProperties(HWND window, HANDLE printer, LPWSTR deviceName,
                                                      PDEVMODEW output, PDEVMODEW input) {
  if (!output) return LONG(kUiDevmodeSize);
  return RunDocumentProperties(window, printer, deviceName, output, input, kAdvancedMode) > 0 ? 1 : 0;
}

ZEMS_EXPORT BOOL WINAPI DrvConvertDevMode(LPWSTR printerName, PDEVMODEW input, PDEVMODEW output, PLONG cbNeeded,
                                          DWORD mode) {
  const int standard = DmConvertDevmode(printerName, input, output, cbNeeded, mode);
  if (standard == 0) return FALSE;
  if (mode == CDM_DRIVER_DEFAULT && standard == 2) return printerName ? DriverDefault(printerName, output) : FALSE;
  if (mode == CDM_CONVERT && standard == 1) return printerName ? Convert(printerName, input, output) : FALSE;
  return standard == 1 ? TRUE : FALSE;
}
