// Minimal version of the printer-event entry point until the printer-interface front's events
// are built: the spooler's initialize and add-connection events run the install pass with its
// stamp, and the cache refresh copies the component files. Every other event answers TRUE with
// nothing done (the stale-entry clean-up and the connection and printer deletions come with
// the front).
#include "core/common/locks.h"
#include "core/common/mem.h"
#include "core/common/os_tests.h"
#include "core/front/ui_busy.h"
#include "core/install/default_packs.h"
#include "core/install/install_ini.h"
#include "core/install/install_pass.h"
#include "core/install/pending_housekeeping.h"
#include "core/system/printer_names.h"
#include "core/system/sub_dialog.h"
#include "platform/win32.h"

#include <initializer_list>

namespace {

// Access masks of the opens: PRINTER_READ, SERVER_ALL_ACCESS.
constexpr DWORD kPrinterRead = 0x20008;
constexpr DWORD kServerAllAccess = 0xF0003;

// The spooler's event numbers.
constexpr int kEventAddConnection = 1;
constexpr int kEventInitialize = 3;
constexpr int kEventCacheRefresh = 5;

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

BOOL AddConnection(LPWSTR name) {
  HANDLE token = UiRevertToPrinterSelf();
  HANDLE printer = OpenWithAccess(name, {PRINTER_ALL_ACCESS, kPrinterRead});
  BOOL result = FALSE;
  if (printer) {
    PrinterInfos infos(printer);
    {
      UiBusyHold busy;
      LockGlobalMutex();
      result = InstRunPrinterPass(printer, nullptr, kInstPassConnection, infos.info, infos.driver) ? TRUE : FALSE;
      UnlockGlobalMutex();
    }
    if (!InstWriteStamp(printer, 1, kInstStampMachine)) result = FALSE;
    if (result) result = InstCopyPresetFilesToUser(printer) ? TRUE : FALSE;
    if (result) result = InstUpgradeBySettingVersion(printer, kInstUserStateMissing, infos.info, infos.driver) ? TRUE : FALSE;
    if (result && InstCopyBatchSettingsToUser(printer, infos.info) == 1) result = FALSE;
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
    // On NT 5 and later a printer whose install ini section holds work is left to the
    // conversion, which applies the installer's values.
    if (!InstIsBatchInstallDone(printer, nullptr) && !(OsIsNt5OrLater() && InstIniHasPrinterSection(printer))) {
      LockGlobalMutex();
      int passed = InstRunPrinterPass(printer, nullptr, kInstPassInitialize, infos.info, infos.driver);
      UnlockGlobalMutex();
      if (!passed || !InstWriteStamp(printer, 1, kInstStampMachine)) result = FALSE;
    }
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

}  // namespace

ZEMS_EXPORT BOOL WINAPI DrvPrinterEvent(LPWSTR printerName, int driverEvent, DWORD flags, LPARAM lParam) {
  (void)flags;
  (void)lParam;
  if (!printerName) return FALSE;
  switch (driverEvent) {
    case kEventAddConnection:
      return AddConnection(printerName);
    case kEventInitialize:
      return Initialize(printerName);
    case kEventCacheRefresh:
      return CacheRefresh(printerName);
    default:
      return TRUE;
  }
}
