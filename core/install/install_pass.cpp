// The printer install pass, the renamed-printer pass and the PrinterInformation sync.
#include "core/install/install_pass.h"

#include <string.h>

#include "core/bind/bidi_store.h"
#include "core/bind/job_control.h"
#include "core/bind/print_notification.h"
#include "core/bind/remote_config.h"
#include "core/common/file_ops.h"
#include "core/common/ini_access.h"
#include "core/common/locks.h"
#include "core/common/mem.h"
#include "core/common/os_tests.h"
#include "core/common/text.h"
#include "core/context/driver_context.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/devmode/dm_layout.h"
#include "core/devmode/item_reset.h"
#include "core/devmode/settings_defaults.h"
#include "core/items/derived_settings.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/install/corrections.h"
#include "core/install/default_packs.h"
#include "core/install/driver_identity.h"
#include "core/store/font_tables.h"
#include "core/store/free_size_store.h"
#include "core/install/install_ini.h"
#include "core/install/install_ini_defaults.h"
#include "core/store/item_store.h"
#include "core/store/lock_data.h"
#include "core/install/model_database.h"
#include "core/install/pending_housekeeping.h"
#include "core/system/driver_paths.h"
#include "core/system/expand_files.h"
#include "core/system/printer_data_dirs.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "core/tables/build_switches.h"
#include "core/tables/model_record.h"

namespace {

constexpr DWORD kPath = 260;
// The job-control printer command's properties (0x700), the identification values of a client
// connection without (0x9E) and with the authentication values (0x389E), and the saved job
// items cleared after a pass (0x389F).
constexpr DWORD kPrinterPushMask = 0x700;
constexpr DWORD kClientIdentityMaskAuthOn = 0x9E;
constexpr DWORD kClientIdentityMaskAuthOff = 0x389E;
constexpr DWORD kClearedJobItems = 0x389F;
// UI-module events of the pass.
constexpr int kEventPassDone = 48;
constexpr int kEventRegisterModel = 49;
constexpr int kEventLockBits = 60;
constexpr int kEventLockLoaded = 59;
constexpr WORD kIdLockByte0 = 10418;
constexpr WORD kIdLockByte1 = 10426;
constexpr WORD kIdLockLast = 10434;

// Record of UI-module event 49: a module sets `registerModel` to 1 to have a client's model
// registered.
struct RegisterModelEvent {
  DWORD kind;
  DWORD registerModel;
};

bool IsClientKind(int kind) { return kind == kInstPassConnection || kind == kInstPassUpgrade || kind == kInstPassHousekeeping; }

WORD OpenModeOf(int kind) {
  switch (kind) {
    case kInstPassDefaultDevmode:
    case kInstPassFullDefaultsMode1:
      return 1;
    case kInstPassIniWork:
      return 1 | kOpenLoadPersisted;
    default:
      return 3;
  }
}

// The default folder goes only when the printer's settings have moved elsewhere: the value
// that moved them must name a folder, and the built guard keeps any folder still in use.
bool DefaultFolderMayGo(HANDLE printer, int kind, DriverContext* ctx) {
  if (!OsIsNt5OrLater()) return false;
  if (!ItemGetRawById(ctx, kItem_wdmCustomFunc1) && !ItemGetRawById(ctx, kItem_zdmHidden2Func7)) return false;
  WCHAR folder[kPath];
  folder[0] = 0;
  if (kind == kInstPassConnection || kind == kInstPassHousekeeping) {
    return InstResolvePrinterDataDir(printer, TEXT("_ZEMSDirectoryClient"), folder, kPath) == 1 && folder[0];
  }
  if (kind == kInstPassDefaultDevmode) {
    return InstReadHklmValueRaw(PathDriverRegKey(), TEXT("_ZEMSDirectory"), folder, sizeof folder) && folder[0];
  }
  return false;
}

// Step 22: the locks a server keeps for a client.
void LoadServerLocks(HANDLE printer, DriverContext* ctx) {
  const WORD firsts[2] = {kIdLockByte0, kIdLockByte1};
  for (WORD first : firsts) {
    BYTE bits = 0;
    if (!StoreReadLockInfoBitByte(printer, &bits, first)) continue;
    for (WORD i = 0; i < 8; ++i) ItemSetRawById(ctx, WORD(first + i), (bits >> i) & 1);
  }
  StoreReadItemPrinterData(printer, ctx, ItemFind(ctx, kIdLockLast), 0, nullptr);
  StoreLoadLockData(printer, ctx);
  ModBusSendEvent(ctx, kEventLockBits, nullptr);
  ModBusSendEvent(ctx, kEventLockLoaded, nullptr);
}

}  // namespace

int InstRunPrinterPass(HANDLE printer, DEVMODEW* out, int kind, const PRINTER_INFO_2W* info,
                       const DRIVER_INFO_3W* driverInfo) {
  if (kind < kInstPassDefaultDevmode || kind > kInstPassHousekeeping) return 0;
  DriverContext* ctx = CtxOpen(printer, printer, nullptr, WORD(OpenModeOf(kind) | kOpenNoGlobalMutex | kOpenNoAdminCheck),
                               kKindSettings, 0, const_cast<PRINTER_INFO_2W*>(info));
  if (!ctx) return 0;
  if (!ctx->ui || !ctx->settings) {
    CtxDestroy(ctx, kReleaseExpired);
    return 0;
  }
  if (kind == kInstPassIniWork) kind = kInstPassDefaultDevmode;
  const bool client = IsClientKind(kind);
  const bool upgrade = kind == kInstPassUpgrade;
  const bool returnsDevmode =
      kind == kInstPassDefaultDevmode || kind == kInstPassFullDefaults || kind == kInstPassFullDefaultsMode1;
  const WCHAR* name = PrnGetPrinterName(ctx);

  InstApplySettingsFoldersFromDataFile(printer, name, info);
  InstApplySettingsFoldersFromIni(printer, name, info);
  if (OsIsNt5OrLater()) PathCreateSettingsFolder(ctx);

  // Every save counts: a pass that wrote only part of the printer's stores (a full disk)
  // answers failure, so its caller stamps nothing and the next pass runs again.
  bool saved = true;
  DmResetItemToModelDefault(ctx, ItemFind(ctx, kItem_wdmCustomFunc1));
  saved = StoreSavePersistedItems(printer, ctx, 2, kStoreSaveCustomFuncs) && saved;
  if (!upgrade && DefaultFolderMayGo(printer, kind, ctx)) PathRemoveDefaultMachineFolder(printer);

  if (kind == kInstPassFullDefaults || kind == kInstPassFullDefaultsMode1) DmSetFullDefaults(ctx);
  bool iniWork = InstIniHasWorkForContext(ctx) != 0;
  InstallRunExpandFiles(ctx);
  ItemSetRawById(ctx, kItem_zdmOSKind, OsIsNt5OrLater() ? 2 : 1);
  if (!client) InstWriteHelpFileName(ctx);
  InstLoadUserDefaults(ctx);
  InstSyncPrinterInformation(printer, info, 0, ctx, info, driverInfo);
  if (!client) {
    InstWritePrinterName(printer);
    InstWriteDriverName(printer);
    StoreEnsureDefaultFontSubstTable(printer, ctx);
  }
  BidiDeleteIniSection(ctx);

  bool session = false;
  if (InstImportInstallFiles(ctx, 0)) {
    JcRunPrinterCommandUi(ctx);
    JcPushPropertiesUi(ctx, kPrinterPushMask);
    if (client && !upgrade) {
      JcOpenUi(ctx);
      JcClearAndPushUi(ctx, BuildHasFeature(ctx, kBuildFeatureAuthentication) ? kClientIdentityMaskAuthOn : kClientIdentityMaskAuthOff);
      JcCloseUi(ctx);
    }
    if (iniWork) {
      JcOpenUi(ctx);
      session = true;
    }
    int applied = InstApplyInstallerDefaults(ctx);
    int imported = applied ? InstImportDefaultPack(0, ctx, upgrade ? 1 : 0) : 0;
    if (!applied || !imported) {
      InstImportDriverDefaultPack(0, client ? kInstPassConnection : kind, ctx);
      iniWork = false;
    }
    InstWriteJobMergeKeys(ctx, 0, nullptr);
    const WCHAR* settingsIni = PathSettingsFile(ctx);
    if (iniWork && settingsIni[0]) saved = IniWriteString(name, TEXT("PackInstallDone"), TEXT("1"), settingsIni) && saved;
    if (client && !upgrade && settingsIni[0])
      saved = IniWriteString(name, TEXT("DrvInstVersion"), CtxModelRecord(ctx)->modelVersion, settingsIni) && saved;
    if (!client) {
      if (!PrnIsOnServer(ctx)) InstRegisterModelDb(ctx);
    } else {
      RegisterModelEvent event = {2, 0};
      ModBusSendEvent(ctx, kEventRegisterModel, &event);
      if (event.registerModel == 1) InstRegisterModelDb(ctx);
    }
  }
  if (session) JcCloseUi(ctx);
  if (!StoreRepairStampsAndFreeSizes(ctx) && PathSettingsFile(ctx)[0] && PathModelDataFile(ctx)[0]) saved = false;
  ModBusSendEvent(ctx, kEventPassDone, nullptr);

  if (!client) {
    if (BuildHasFeature(ctx, kBuildFeaturePrintNotification)) CtxQueryPrintNotification(ctx, 0);
    JcClearJobItems(ctx, kClearedJobItems);
    if (RemoteConfigState(ctx) == 1) {
      saved = StoreSaveFontTablesChanged(printer, ctx) && saved;
    } else {
      saved = StoreSaveDeviceSettings(printer, ctx) && saved;
    }
    // The lock defaults go through their store, which writes the font-table items as 0: no
    // heap address of this process reaches printer data.
    if (BuildHasFeature(ctx, kBuildFeatureSettingLocks) && ItemGetLockInfo(ctx) && ItemLockDefault(ctx) && ctx->ui->lockDefaults) {
      memcpy(ctx->ui->lockDefaults, ctx->settings, kSettingsBlockSize);
      saved = StoreSaveLockDefaults(printer, ctx) && saved;
    }
    InstWriteDriverFileNames(printer, ctx);
    BidiWriteFlag(printer, 0);
    BidiWriteExFlag(printer, 0);
    BidiWriteFunc(printer, 0);
  }
  if (!upgrade) InstWriteLogFileName(client ? 0 : 1, ctx);
  if (returnsDevmode && out) {
    DmSetEnvironmentFlags(ctx);
    memcpy(out, ctx->settings, kDmSize);
  }
  PathSecureSettingsFolder(ctx);
  if (kind == kInstPassInitialize) {
    RemoteImportOnInstall(ctx);
  } else if (kind == kInstPassConnection && RemoteConfigState(ctx) == 1) {
    RemoteClearServerInformation(ctx);
  }
  if (client && !upgrade && BuildHasFeature(ctx, kBuildFeatureSettingLocks) && PrnIsOnServer(ctx)) LoadServerLocks(printer, ctx);
  // The context's font tables are its own (the DEVMODE handed out carries no usable address):
  // they go with it.
  CtxDestroy(ctx, kReleaseExpired);
  return saved ? 1 : 0;
}

int InstHandleRenamedPrinter(DriverContext* ctx) {
  if (!ctx || !ctx->ui) return 0;
  HANDLE printer = ctx->printer;
  if (PrnIsOnServer(ctx)) return 0;
  WCHAR client[64] = {};
  if (StoreGetPrinterData(printer, client, sizeof client - sizeof(WCHAR), TEXT("ClientName")) && client[0]) return 0;
  const WCHAR* name = PrnGetPrinterName(ctx);
  DWORD serverType = 0;
  if (RemoteQueryServerType(name, &serverType) && serverType == 17) return 0;

  WCHAR stored[kPrinterNameChars];
  stored[0] = 0;
  const bool known = InstReadPrinterNameInto(printer, stored) != 0;
  if (known && lstrcmpiW(stored, name) == 0) return 0;

  const DWORD keptKind = ctx->ui->openKind;
  ctx->ui->openKind |= kKindBusy;
  InstWriteJobMergeKeys(ctx, 0, nullptr);
  if (known && stored[0]) {
    WCHAR bidiIni[kPath];
    if (PathInSettingsFolder(bidiIni, kPath, kBidiIniName, ctx) > 0 && bidiIni[0] && FileExists(bidiIni)) {
      WCHAR from[kPrinterNameChars], to[kPrinterNameChars];
      StrCopyCut(from, kPrinterNameChars, stored);
      StrCopyCut(to, kPrinterNameChars, name);
      StoreSanitizeSection(from);
      StoreSanitizeSection(to);
      LockGlobalMutex();
      InstCopyIniSectionAs(bidiIni, from, bidiIni, to, nullptr);
      UnlockGlobalMutex();
    }
  }
  InstImportDriverDefaultPack(0x10, kInstPassInitialize, ctx);
  StoreRepairStampsAndFreeSizes(ctx);
  InstWritePrinterDefaults(ctx);
  ctx->ui->openKind = keptKind;
  if (!InstWriteStamp(printer, 1, kInstStampMachineFirst)) return 0;
  InstWritePrinterName(printer);
  InstWriteDriverName(printer);
  return 1;
}

int InstSyncPrinterInformationInto(const WCHAR* settingsIni, int flag, DriverContext* ctx,
                                   const PRINTER_INFO_2W* info, const DRIVER_INFO_3W* driverInfo) {
  if (!ctx || !settingsIni || !settingsIni[0]) return 0;
  const WCHAR* model = PathModelDataFile(ctx);
  LockGlobalMutex();
  if (flag == 1) {
    InstCopySettingsVersion(settingsIni, model, ctx);
  } else {
    PRINTER_INFO_2W* fetched = nullptr;
    if (!info) info = fetched = static_cast<PRINTER_INFO_2W*>(PrnGetPrinterInfo(ctx->printer, 2));
    InstCopyLanguageStores(settingsIni, model, ctx, info);
    MemFree(fetched);
  }
  WCHAR value[kPath];
  if (model[0] && IniReadString(TEXT("PrinterInformation"), TEXT("ORVELINFO"), TEXT("*"), value, kPath, model) &&
      !(value[0] == u'*' && !value[1]))
    IniWriteString(TEXT("PrinterInformation"), TEXT("ORVELINFO"), value, settingsIni);
  InstCopyPackFreeSizes(settingsIni, model, ctx, driverInfo, 1);
  UnlockGlobalMutex();
  return 1;
}

int InstSyncPrinterInformation(HANDLE printer, const PRINTER_INFO_2W* info, int flag, DriverContext* ctx,
                               const PRINTER_INFO_2W* info2, const DRIVER_INFO_3W* driverInfo) {
  if (!info) info = info2;
  LockGlobalMutex();
  DriverContext* own = nullptr;
  if (!ctx) {
    if (flag == 1) {
      WCHAR model[kPath];
      model[0] = 0;
      WCHAR done[8];
      if (PathModelDataFileOf(printer, model, sizeof model) && model[0] &&
          IniReadString(TEXT("BatchInstallDone"), TEXT("BatchInstallDone"), TEXT(""), done, 8, model) > 0) {
        UnlockGlobalMutex();
        return 1;
      }
    }
    ctx = own = CtxOpen(printer, printer, nullptr, 0, kKindSettings, 0, const_cast<PRINTER_INFO_2W*>(info));
    if (!own) {
      UnlockGlobalMutex();
      return 0;
    }
  }
  // The per-machine settings ini, whatever the session: the factory sections are the machine's.
  WCHAR settingsIni[kPath];
  int result = (info ? PathSettingsFileOfFromInfo(settingsIni, kPath, 0, printer, info)
                     : PathSettingsFileOf(settingsIni, kPath, 0, printer))
                   ? 1
                   : 0;
  if (result) result = InstSyncPrinterInformationInto(settingsIni, flag, ctx, info, driverInfo);
  if (own) CtxClose(own);
  UnlockGlobalMutex();
  return result;
}
