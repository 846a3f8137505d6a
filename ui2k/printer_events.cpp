// The printer's life-cycle events (DrvPrinterEvent), driver upgrades (DrvUpgradePrinter) and
// the stages of a print job in the application's process (DrvDocumentEvent). The spooler's
// events run the install and upgrade passes, under the global mutex, with the busy count
// raised so that every context opened meanwhile files its settings per machine; a pass that
// fails leaves no stamp, so that the next event tries it again.
#include <initializer_list>

#include "core/bind/job_control.h"
#include "core/common/ini_access.h"
#include "core/common/locks.h"
#include "core/common/mem.h"
#include "core/common/os_tests.h"
#include "core/context/driver_context.h"
#include "core/front/ui_busy.h"
#include "core/install/corrections.h"
#include "core/install/default_packs.h"
#include "core/install/driver_identity.h"
#include "core/install/install_ini.h"
#include "core/install/install_pass.h"
#include "core/install/pending_housekeeping.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/system/printer_names.h"
#include "core/system/resources.h"
#include "core/system/settings_folders.h"
#include "core/system/sub_dialog.h"
#include "platform/win32.h"

namespace {

// Access masks of the opens: PRINTER_READ, SERVER_ALL_ACCESS.
constexpr DWORD kPrinterRead = 0x20008;
constexpr DWORD kServerAllAccess = 0xF0003;
constexpr DWORD kOpenEvent = 0x80000000;

// Job-control properties dropped with a connection and with a printer.
constexpr DWORD kConnectionProperties[] = {2, 3, 4, 5, 8, 9, 10};
constexpr DWORD kPrinterProperties[] = {256, 257, 258};

// Opens the printer with the first access of the list that succeeds.
HANDLE OpenWithAccess(LPWSTR name, std::initializer_list<DWORD> accesses) {
  for (DWORD access : accesses) {
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, access};
    HANDLE printer = nullptr;
    if (OpenPrinterW(name, &printer, &defaults)) return printer;
  }
  return nullptr;
}

// The information records of the printer (freed by the holder).
struct PrinterInfos {
  PRINTER_INFO_2W* info = nullptr;
  DRIVER_INFO_3W* driver = nullptr;
  explicit PrinterInfos(HANDLE printer)
      : info(static_cast<PRINTER_INFO_2W*>(PrnGetPrinterInfo(printer, 2))),
        driver(static_cast<DRIVER_INFO_3W*>(PrnGetDriverInfo(printer, 3))) {}
  ~PrinterInfos() {
    MemFree(info);
    MemFree(driver);
  }
  PrinterInfos(const PrinterInfos&) = delete;
  PrinterInfos& operator=(const PrinterInfos&) = delete;
};

// The stale-entry clean-up of the event's kind, on the systems that leave such entries.
void CleanupStaleEntries(HANDLE printer, const PRINTER_INFO_2W* info, int kind) {
  if (!OsIsVistaOrLater()) return;
  LockGlobalMutex();
  InstCleanupStaleEntries(printer, info, 0, kind);
  UnlockGlobalMutex();
}

// The install pass of this kind under the global mutex, with the busy count raised.
bool RunPassLocked(HANDLE printer, int kind, const PrinterInfos& infos) {
  UiBusyHold busy;
  LockGlobalMutex();
  const int passed = InstRunPrinterPass(printer, nullptr, kind, infos.info, infos.driver);
  UnlockGlobalMutex();
  return passed != 0;
}

BOOL AddConnection(LPWSTR name) {
  HANDLE token = UiRevertToPrinterSelf();
  HANDLE printer = OpenWithAccess(name, {PRINTER_ALL_ACCESS, kPrinterRead});
  BOOL result = FALSE;
  if (printer) {
    PrinterInfos infos(printer);
    result = RunPassLocked(printer, kInstPassConnection, infos) &&
                     InstWriteStamp(printer, 1, kInstStampMachine)
                 ? TRUE
                 : FALSE;
    if (result) result = InstCopyPresetFilesToUser(printer) ? TRUE : FALSE;
    if (result)
      result = InstUpgradeBySettingVersion(printer, kInstUserStateMissing, infos.info, infos.driver) ? TRUE : FALSE;
    if (result && InstCopyBatchSettingsToUser(printer, infos.info) == 1) result = FALSE;
    CleanupStaleEntries(printer, infos.info, kInstCleanupConnection);
    ClosePrinter(printer);
  }
  UiImpersonatePrinterClient(token);
  return result;
}

// The deletions of a connection and of a printer: the job-control properties of each, and for a
// connection also the user code and the install marks, so that a new connection installs
// again. TRUE once the printer opened, with or without a context.
BOOL DropPrinterState(LPWSTR name, bool connection) {
  HANDLE token = UiRevertToPrinterSelf();
  HANDLE printer = OpenWithAccess(name, {PRINTER_ALL_ACCESS, kServerAllAccess, PRINTER_ACCESS_USE});
  BOOL result = FALSE;
  if (printer) {
    result = TRUE;
    if (DriverContext* ctx = CtxOpenByKind(printer, printer, nullptr, kOpenEvent)) {
      JcOpenUi(ctx);
      if (connection) {
        ItemSetText(ctx, ItemFind(ctx, kItem_zdmUserCode), TEXT(""));
        for (DWORD property : kConnectionProperties) JcDeleteProperty(ctx, property);
      } else {
        for (DWORD property : kPrinterProperties) JcDeleteProperty(ctx, property);
      }
      JcCloseUi(ctx);
      const WCHAR* settingsIni = PathSettingsFile(ctx);
      const WCHAR* printerName = PrnGetPrinterName(ctx);
      if (connection && settingsIni && printerName) {
        InstSetBatchInstallDone(settingsIni, printerName, 0);
        IniWriteString(printerName, TEXT("DrvInstVersion"), TEXT(""), settingsIni);
      }
      CtxClose(ctx);
    }
    ClosePrinter(printer);
  }
  UiImpersonatePrinterClient(token);
  return result;
}

BOOL Initialize(LPWSTR name) {
  HANDLE token = UiRevertToPrinterSelf();
  HANDLE printer = OpenWithAccess(name, {PRINTER_ALL_ACCESS});
  BOOL result = FALSE;
  if (printer) {
    result = TRUE;
    PrinterInfos infos(printer);
    UiBusyHold busy;
    if (!InstIsBatchInstallDone(printer, nullptr)) {
      if (!OsIsNt5OrLater()) {
        // Before NT 5 no other process installs at the same time: no mutex.
        const int passed = InstRunPrinterPass(printer, nullptr, kInstPassInitialize, infos.info, infos.driver);
        if (!passed || !InstWriteStamp(printer, 1, kInstStampMachine)) result = FALSE;
      } else if (!InstIniHasPrinterSection(printer)) {
        // A printer whose install ini section holds work is left to the conversion, which
        // applies the installer's values.
        if (!RunPassLocked(printer, kInstPassInitialize, infos) || !InstWriteStamp(printer, 1, kInstStampMachine))
          result = FALSE;
      }
    }
    CleanupStaleEntries(printer, infos.info, kInstCleanupInitialize);
    ClosePrinter(printer);
  }
  UiImpersonatePrinterClient(token);
  return result;
}

BOOL CacheRefresh(LPWSTR name) {
  HANDLE printer = OpenWithAccess(name, {PRINTER_ALL_ACCESS, kServerAllAccess, PRINTER_ACCESS_USE});
  if (!printer) return FALSE;
  InstCopyComponentFiles(printer);
  ClosePrinter(printer);
  return TRUE;
}

// STARTDOC and STARTPAGE: the pending housekeeping, and at STARTDOC the text table for the
// graphics DLL on the job's device context.
void StartDocOrPage(HANDLE printer, HDC dc, bool sendStrings) {
  const int dsMissing = InstDsPrinterNameMissing(printer);
  PrinterInfos infos(printer);
  InstRunPendingHousekeeping(printer, 1, infos.info, infos.driver);
  if (sendStrings) ResSendStringsToGraphics(printer, dc);
  if (dsMissing == 1) InstCleanupStaleForPrinter(printer, infos.info);
}

}  // namespace

ZEMS_EXPORT BOOL WINAPI DrvPrinterEvent(LPWSTR printerName, int driverEvent, DWORD flags, LPARAM lParam) {
  (void)flags;
  (void)lParam;
  if (!printerName) return FALSE;
  switch (driverEvent) {
    case PRINTER_EVENT_ADD_CONNECTION:
      return AddConnection(printerName);
    case PRINTER_EVENT_DELETE_CONNECTION:
      return DropPrinterState(printerName, true);
    case PRINTER_EVENT_INITIALIZE:
      return Initialize(printerName);
    case PRINTER_EVENT_DELETE:
      return DropPrinterState(printerName, false);
    case PRINTER_EVENT_CACHE_REFRESH:
      return CacheRefresh(printerName);
    default:
      return TRUE;
  }
}

ZEMS_EXPORT int WINAPI DrvDocumentEvent(HANDLE printer, HDC dc, int escape, ULONG cbIn, PVOID input, ULONG cbOut,
                                        PVOID output) {
  (void)cbIn, (void)input, (void)cbOut, (void)output;
  switch (escape & 0xFFFF) {
    case DOCUMENTEVENT_STARTDOC:
      StartDocOrPage(printer, dc, true);
      return DOCUMENTEVENT_SUCCESS;
    case DOCUMENTEVENT_STARTPAGE:
      StartDocOrPage(printer, dc, false);
      return DOCUMENTEVENT_SUCCESS;
    case DOCUMENTEVENT_CREATEDCPRE:
    case DOCUMENTEVENT_CREATEDCPOST:
    case DOCUMENTEVENT_STARTDOCPOST:
      return DOCUMENTEVENT_SUCCESS;
    default:
      return DOCUMENTEVENT_UNSUPPORTED;
  }
}

ZEMS_EXPORT BOOL WINAPI DrvUpgradePrinter(DWORD level, LPBYTE upgradeInfo) {
  const DRIVER_UPGRADE_INFO_1W* upgrade = reinterpret_cast<const DRIVER_UPGRADE_INFO_1W*>(upgradeInfo);
  HANDLE printer = level == 1 && upgrade && upgrade->pPrinterName
                       ? OpenWithAccess(upgrade->pPrinterName, {PRINTER_ALL_ACCESS})
                       : nullptr;
  if (!printer) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  PrinterInfos infos(printer);
  BOOL result = FALSE;
  if (InstRunPendingHousekeeping(printer, 1, infos.info, infos.driver) == 1) {
    if (DriverContext* ctx = CtxOpenByKind(printer, printer, nullptr, kOpenEvent)) {
      result = InstWriteDriverFileNames(printer, ctx) ? TRUE : FALSE;
      CtxClose(ctx);
    }
  }
  CleanupStaleEntries(printer, infos.info, kInstCleanupUpgrade);
  ClosePrinter(printer);
  return result;
}
