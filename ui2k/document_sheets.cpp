// The printing-preferences and document-properties sheets (DrvDocumentPropertySheets): a
// context for the printer between INIT and DESTROY, the caller's DEVMODE merged into it, one
// page per document dialog, and the settings written back when the sheet is confirmed. Without
// sheet information the call is the document properties without UI.
#include <string.h>

#include "core/bind/bidi_store.h"
#include "core/bind/job_control.h"
#include "core/bind/print_notification.h"
#include "core/bind/remote_config.h"
#include "core/common/mem.h"
#include "core/common/os_tests.h"
#include "core/context/settings_snapshot.h"
#include "core/context/ui_state.h"
#include "core/devmode/dm_layout.h"
#include "core/devmode/dm_merge.h"
#include "core/devmode/sheet_commit.h"
#include "core/front/dialog_records.h"
#include "core/front/front_state.h"
#include "core/install/driver_identity.h"
#include "core/install/install_ini_defaults.h"
#include "core/install/install_pass.h"
#include "core/install/pending_housekeeping.h"
#include "core/items/derived_settings.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/store/item_store.h"
#include "core/store/preset_refresh.h"
#include "core/store/settings_file.h"
#include "core/system/terminal_server.h"
#include "core/tables/build_switches.h"
#include "ui2k/sheets.h"

namespace {

constexpr DWORD kMergeForSheet = 0x2000000;
constexpr DWORD kMergeWithNotification = 0x2400000;
constexpr int kFeatureBitRemoteConfig = 7;
constexpr int kFeaturePrintNotification = 1;
constexpr DWORD kJobItemsOpen = 158;       // the document's job items pushed at confirmation
constexpr DWORD kJobItemsPassword = 4096;  // the password pushed again once emptied
constexpr DWORD kJobPropertyUserName = 9;
constexpr DWORD kAuthUserName = 1;
constexpr DWORD kAuthPassword = 2;
constexpr DWORD kDocModeWrites = 0x1 | 0x2;  // DM_UPDATE | DM_COPY

// The acquisition state of the printer's options: A, whether the acquired settings were
// applied, and B, whether options were acquired.
struct Acquisition {
  int applied;
  int acquired;
  bool FirstOne() const { return !applied && acquired; }
};

Acquisition AcquisitionOf(DriverContext* ctx, HANDLE printer) {
  Acquisition state;
  state.applied = BidiExFlagIsSet(ctx);
  if (CtxGetServerClientMode(ctx) != 1 && BidiIniHasFlag(ctx))
    state.acquired = BidiIniFlagIsSet(ctx);
  else
    state.acquired = BidiFlagIsAcquired(printer, ctx);
  return state;
}

void EmptyText(DriverContext* ctx, WORD id) {
  static const WCHAR kEmpty[1] = {0};
  SettingItem* item = nullptr;
  ItemGetRawById(ctx, id, &item);
  if (item) ItemSetText(ctx, item, kEmpty);
}

LONG Init(PROPSHEETUI_INFO* info, DOCUMENTPROPERTYHEADER* header, const SheetCall& call) {
  HANDLE printer = header->hPrinter;
  DriverContext* ctx = CtxOpenFromInfo(printer, printer, nullptr, kKindSettings, call.info());
  if (!ctx) return -1;
  if (!ctx->modelImage || !ctx->ui) {
    CtxClose(ctx);
    return -1;
  }
  SheetCheckContextDevmode(ctx);
  if (call.renamed()) {
    InstHandleRenamedPrinter(ctx);
    if (InstRunPendingHousekeeping(printer, 0, call.info(), call.driverInfo()) != 1) {
      CtxClose(ctx);
      return -1;
    }
  }
  if (BuildHasFeatureBit(kFeatureBitRemoteConfig)) RemoteImportClientSettingsOnce(ctx, call.info(), call.driverInfo());
  SheetApplyFirstRun(ctx);
  CtxSetTSE(ctx, OsIsTerminalServerFromInfo(printer, call.driverInfo()));
  CtxSetAdmin(ctx, OsIsAdminIfAsked(ctx));

  DWORD mergeFlags = kMergeForSheet;
  if (BuildHasFeature(ctx, kFeaturePrintNotification) && CtxGetPresentUIMode(ctx) == 0) {
    CtxQueryPrintNotification(ctx, 1);
    mergeFlags = kMergeWithNotification;
  }
  if (CtxGetServerClientMode(ctx) != 1 && BidiIniFlagIsSet(ctx)) BidiLoadIniSettings(ctx);
  BidiRestoreState(ctx, nullptr);
  const Acquisition acquisition = AcquisitionOf(ctx, printer);
  BYTE* acquiredCopy = nullptr;
  if (acquisition.FirstOne()) {
    BidiApplyAcquiredDefaults(ctx);
    acquiredCopy = static_cast<BYTE*>(MemAllocZero(static_cast<SIZE_T>(TblSettingsBlockSize())));
    if (!acquiredCopy) {
      CtxClose(ctx);
      return -1;
    }
  }

  const SheetEnvironment env = SheetSetDocumentEnvironment(ctx, header->fMode);
  CtxSetPropertyType(ctx, 0);
  if (CtxGetNoPermission(ctx) == 0) {
    if (OsIsWin2000PreSp4()) {
      SettingItem* duplexOption = ItemFind(ctx, kItem_zdmSourceOptionTypeDuplex);
      if (duplexOption && StoreWriteItemPrinterData(printer, ctx, duplexOption)) PresetRefreshOnOpen(ctx, 0);
    } else if (CtxGetCallSrc(ctx) == 1) {
      PresetRefreshOnOpen(ctx, 0);
    }
  }
  if (!DmMergeIntoContext(ctx, header->pdmIn, mergeFlags | header->fMode)) {
    MemFree(acquiredCopy);
    CtxClose(ctx);
    return -1;
  }
  SheetRestoreEnvironment(ctx, env);
  info->UserData = reinterpret_cast<ULONG_PTR>(ctx);

  InstSetLocaleDefaults(ctx);
  if (acquisition.FirstOne()) {
    BidiApplyAcquiredDefaults(ctx);
    memcpy(acquiredCopy, ctx->settings, static_cast<size_t>(TblSettingsBlockSize()));
    CtxDuplicateFontTables(ctx, acquiredCopy);  // the copy owns tables of its own
  }
  FrontUiState& front = ctx->ui->front;
  front.inputDevmode = header->pdmIn;
  front.outputDevmode = header->pdmOut;
  front.documentMode = static_cast<LONG>(header->fMode);
  front.sheetCallback = reinterpret_cast<void*>(info->pfnComPropSheet);
  front.sheetHandle = reinterpret_cast<LPARAM>(info->hComPropSheet);
  front.printerDefaultCommitted = 0;
  front.sheetKind = kSheetDocumentProperties;
  if (front.acquiredSettings) {  // left by an earlier sheet on this cached context
    CtxFreeFontTables(ctx, front.acquiredSettings);
    MemFree(front.acquiredSettings);
  }
  front.acquiredSettings = acquiredCopy;
  SheetAddPages(ctx, kPageDocumentSheet);
  return 1;
}

void ReportOk(PROPSHEETUI_INFO* info, DriverContext* ctx) {
  info->Result = CPSUI_OK;
  PFNCOMPROPSHEET report = reinterpret_cast<PFNCOMPROPSHEET>(ctx->ui->front.sheetCallback);
  if (report) report(reinterpret_cast<HANDLE>(ctx->ui->front.sheetHandle), CPSFUNC_SET_RESULT, 0, CPSUI_OK);
}

// The acquired settings of a first acquisition are kept also when the sheet is cancelled.
void CommitAcquiredDefaults(PROPSHEETUI_INFO* info, DriverContext* ctx) {
  FrontUiState& front = ctx->ui->front;
  if (BYTE* copy = front.acquiredSettings) {
    CtxFreeFontTables(ctx, ctx->settings);
    memcpy(ctx->settings, copy, static_cast<size_t>(TblSettingsBlockSize()));  // takes the copy's tables
    MemFree(copy);
    front.acquiredSettings = nullptr;
    DmCommitDocumentDefault(ctx);
  }
  BidiSetExFlag(ctx);
  ReportOk(info, ctx);
}

LONG Destroy(PROPSHEETUI_INFO* info, DOCUMENTPROPERTYHEADER* header) {
  DriverContext* ctx = reinterpret_cast<DriverContext*>(info->UserData);
  if (!ctx || !ctx->ui) return -1;
  const Acquisition acquisition = AcquisitionOf(ctx, header->hPrinter);
  FrontUiState& front = ctx->ui->front;
  if (front.okFlag == 1) {
    JcOpenUi(ctx);
    JcPushOpenUi(ctx, kJobItemsOpen);
    const DWORD present = ItemAuthTextsPresent(ctx, kAuthUserName | kAuthPassword);
    if (!(present & kAuthUserName)) {
      JcDeleteProperty(ctx, kJobPropertyUserName);
      EmptyText(ctx, kItem_wdmAuthenticationUserName);
    }
    if (!(present & kAuthPassword)) {
      EmptyText(ctx, kItem_wdmAuthenticationPassword);
      JcPushOpenUi(ctx, kJobItemsPassword);
    }
    JcFetchPropertiesUi(ctx, 1);
    JcCloseUi(ctx);
    if (header->fMode & kDocModeWrites) DmCommitDocumentDefault(ctx);
    if (acquisition.FirstOne()) BidiSetExFlag(ctx);
    if (InstIsSaveDeviceSetup(ctx)) {
      StoreSaveDeviceSetupToPack(ctx);
      StoreWriteSettingsText(nullptr, 8, ctx);
    }
    ReportOk(info, ctx);
  } else if (front.printerDefaultCommitted && OsIsNt5OrLater()) {
    // A device page committed the printer default while the sheet was open.
    if (acquisition.FirstOne()) BidiSetExFlag(ctx);
    ReportOk(info, ctx);
  } else if (!acquisition.FirstOne()) {
    info->Result = CPSUI_CANCEL;
  } else {
    CommitAcquiredDefaults(info, ctx);
  }
  SheetCloseContext(ctx, info->Result == CPSUI_CANCEL);
  info->UserData = 0;
  return 1;
}

}  // namespace

ZEMS_EXPORT LONG WINAPI DrvDocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
  DOCUMENTPROPERTYHEADER* header =
      reinterpret_cast<DOCUMENTPROPERTYHEADER*>(info ? info->lParamInit : lParam);
  if (!header) return -1;
  SheetCall call(header->hPrinter);
  // DESTROY needs nothing of the printer: it always commits what was confirmed and closes.
  const bool destroy = info && info->Reason == PROPSHEETUI_REASON_DESTROY;
  if (!destroy && (info || (header->fMode != 0 && header->pdmOut))) {
    if (!call.Prepare()) return -1;
  }
  if (!info) return UiMergeDocumentProperties(header, call.info(), call.driverInfo(), call.renamed());
  switch (info->Reason) {
    case PROPSHEETUI_REASON_INIT:
      return Init(info, header, call);
    case PROPSHEETUI_REASON_GET_INFO_HEADER: {
      PROPSHEETUI_INFO_HEADER* out = reinterpret_cast<PROPSHEETUI_INFO_HEADER*>(lParam);
      if (!info->UserData || !out) return -1;
      SheetFillInfoHeader(out, header->pszPrinterName);
      return 1;
    }
    case PROPSHEETUI_REASON_DESTROY:
      return Destroy(info, header);
    case PROPSHEETUI_REASON_SET_RESULT:
      if (!info->UserData) return -1;
      return SheetAnswerOtherReason(info, lParam);
    default:
      return SheetAnswerOtherReason(info, lParam);
  }
}
