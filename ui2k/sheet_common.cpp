// The steps the property-sheet entry points share.
#include "ui2k/sheets.h"

#include "core/bind/user_code.h"
#include "core/common/file_ops.h"
#include "core/common/ini_access.h"
#include "core/common/mem.h"
#include "core/common/os_tests.h"
#include "core/context/ui_state.h"
#include "core/devmode/dm_convert.h"
#include "core/devmode/dm_layout.h"
#include "core/devmode/dm_merge.h"
#include "core/devmode/settings_defaults.h"
#include "core/install/corrections.h"
#include "core/install/driver_identity.h"
#include "core/install/install_ini_defaults.h"
#include "core/install/pending_housekeeping.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/store/font_tables.h"
#include "core/store/item_store.h"
#include "core/store/printer_name_guard.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"

namespace {

const WCHAR kDefaultsIni[] = TEXT("OV00C170.ini");
const WCHAR kKeyInstDone[] = TEXT("ZemsInstDone");
const WCHAR kKeyDisplayLanguage[] = TEXT("DispLang");
constexpr WORD kItemDisplayLanguage = kItem_zdmLanguageID;
constexpr DWORD kDocModeAskUserDefault = 0x40;
constexpr DWORD kDocModeNoPermissionBit = 0x20;
constexpr int kCompanionJobBinder = 2;
constexpr int kCompanionPrintLog = 8;

}  // namespace

SheetCall::SheetCall(HANDLE printer) : printer_(printer), cleanupAtEnd_(InstDsPrinterNameMissing(printer)) {}

SheetCall::~SheetCall() {
  if (cleanupAtEnd_ == 1) InstCleanupStaleForPrinter(printer_, info_);
  MemFree(info_);
  MemFree(driverInfo_);
}

bool SheetCall::Prepare() {
  info_ = static_cast<PRINTER_INFO_2W*>(PrnGetPrinterInfo(printer_, 2));
  driverInfo_ = static_cast<DRIVER_INFO_3W*>(PrnGetDriverInfo(printer_, 3));
  if (!info_) return false;
  renamed_ = PrnNameChangedSinceInstall(printer_, info_) ? 1 : 0;
  return renamed_ || InstRunPendingHousekeeping(printer_, 0, info_, driverInfo_) == 1;
}

void SheetCheckContextDevmode(DriverContext* ctx) {
  if (!ctx || !ctx->settings) return;
  const DEVMODEW* dm = reinterpret_cast<const DEVMODEW*>(ctx->settings);
  const bool sizeMatches = static_cast<int>(dm->dmSize) + dm->dmDriverExtra == TblDevmodeSize();
  bool reset = !sizeMatches;
  bool upgrade = false;
  if (sizeMatches && !DmIsOwnDevmode(dm)) {
    if (DmIsSameModelDevmode(dm) && DmCheckVersion(dm) == 1)
      upgrade = true;
    else
      reset = true;
  }
  if (reset) {
    DmSetFullDefaults(ctx);
    StoreFreeFontTables(ctx);
    StoreLoadAtOpen(ctx);
  } else if (upgrade) {
    DmUpgradeVersion(ctx->settings, ctx);
  }
}

void SheetApplyFirstRun(DriverContext* ctx) {
  WCHAR path[MAX_PATH];
  if (!PathInSettingsFolder(path, MAX_PATH, kDefaultsIni, ctx)) return;
  if (!FileExists(path)) return;
  const WCHAR* section = PrnGetPrinterName(ctx);
  if (!section || !section[0]) return;
  const INT done = static_cast<INT>(IniReadInt(section, kKeyInstDone, -1, path));
  if (done == 1) {
    const UINT language = IniReadInt(section, kKeyDisplayLanguage, 0, path);
    ItemSetRawById(ctx, kItemDisplayLanguage, static_cast<LONG_PTR>(language & 0xFF));
  } else if (done == 0) {
    InstLoadUserDefaults(ctx);
  }
}

SheetEnvironment SheetSetDocumentEnvironment(DriverContext* ctx, DWORD fMode) {
  if (OsIsWin2000PreSp4()) {
    CtxSetCallSrc(ctx, 1);
    CtxSetOSKind(ctx, 2);
  } else {
    if (!(fMode & kDocModeAskUserDefault)) {
      CtxSetCallSrc(ctx, 0);
    } else {
      CtxSetCallSrc(ctx, 1);
      // Windows 2000 SP4 asks for the user default also from hosts other than the shell, which
      // do not mean the printing preferences.
      if (OsIsWin2000Sp4() && !OsIsExplorerHost()) CtxSetCallSrc(ctx, 0);
    }
    CtxSetOSKind(ctx, OsIsNt5OrLater() ? 2 : 1);
  }
  CtxSetNoPermission(ctx, (fMode & kDocModeNoPermissionBit) ? 1 : 0);
  SheetEnvironment env;
  env.jbInstalled = InstIsCompanionInstalled(kCompanionJobBinder, ctx);
  env.plInstalled = InstIsCompanionInstalled(kCompanionPrintLog, ctx);
  CtxSetJBInstalled(ctx, env.jbInstalled);
  CtxSetPLInstalled(ctx, env.plInstalled);
  UserCodeApplyProviderState(ctx);
  env.userCodeGet = CtxGetUserCodeGet(ctx);
  return env;
}

void SheetRestoreEnvironment(DriverContext* ctx, const SheetEnvironment& env) {
  CtxSetJBInstalled(ctx, env.jbInstalled);
  CtxSetPLInstalled(ctx, env.plInstalled);
  // Both user-code flags take the value the provider gave before the merge.
  CtxSetUserCodeGet(ctx, env.userCodeGet);
  CtxSetUserCodeDLL(ctx, env.userCodeGet);
}

void SheetCloseContext(DriverContext* ctx, bool cancelled) {
  if (cancelled)
    CtxCloseWithReason(ctx, kReleaseExpired);
  else
    CtxClose(ctx);
}
