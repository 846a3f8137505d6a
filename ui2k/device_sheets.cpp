// The printer-properties sheet (DrvDevicePropertySheets) and its older entry PrinterProperties:
// the printer's own stored settings on the device pages, committed as the printer default when
// the user confirms the sheet.
#include "core/bind/bidi_store.h"
#include "core/bind/job_control.h"
#include "core/bind/user_code.h"
#include "core/common/os_tests.h"
#include "core/common/window_ui.h"
#include "core/context/ui_state.h"
#include "core/devmode/dm_layout.h"
#include "core/devmode/dm_merge.h"
#include "core/devmode/sheet_commit.h"
#include "core/front/control_lookup.h"
#include "core/front/dialog_records.h"
#include "core/front/front_state.h"
#include "core/front/page_lookup.h"
#include "core/install/driver_identity.h"
#include "core/install/install_ini_defaults.h"
#include "core/install/install_pass.h"
#include "core/install/pending_housekeeping.h"
#include "core/items/derived_settings.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/store/preset_refresh.h"
#include "core/store/settings_file.h"
#include "core/system/terminal_server.h"
#include "ui2k/sheets.h"

namespace {

constexpr DWORD kMergeDeviceSheet = 0x400000A;
constexpr DWORD kJobItemsNetworkKey = 8192;
constexpr DWORD kAuthNetworkKey = 4;
constexpr int kCompanionJobBinder = 2;
constexpr int kCompanionPrintLog = 8;
constexpr WORD kAdvancedPage = 4019;
constexpr WORD kNetworkKeyEdit = 2988;
const WCHAR kPermissionValue[] = TEXT("Permission");

// Tells the directory service the printer's published data may have changed.
void PublishUpdate(HANDLE printer) {
  PRINTER_INFO_7W publish = {};
  publish.pszObjectGUID = nullptr;
  publish.dwAction = DSPRINT_UPDATE;
  SetPrinterW(printer, 7, reinterpret_cast<LPBYTE>(&publish), 0);
}

DriverContext* OpenForSheet(DEVICEPROPERTYHEADER* header, const SheetCall& call) {
  HANDLE printer = header->hPrinter;
  DriverContext* ctx = CtxOpenFromInfo(printer, printer, nullptr, kKindSettings, call.info());
  if (!ctx) return nullptr;
  if (!ctx->modelImage || !ctx->ui) {
    CtxClose(ctx);
    return nullptr;
  }
  SheetCheckContextDevmode(ctx);
  if (call.renamed()) {
    InstHandleRenamedPrinter(ctx);
    if (InstRunPendingHousekeeping(printer, 0, call.info(), call.driverInfo()) != 1) {
      CtxClose(ctx);
      return nullptr;
    }
  }
  SheetApplyFirstRun(ctx);
  CtxSetTSE(ctx, OsIsTerminalServerFromInfo(printer, call.driverInfo()));
  CtxSetAdmin(ctx, OsIsAdminIfAsked(ctx));
  if (CtxGetServerClientMode(ctx) != 1 && BidiIniFlagIsSet(ctx)) BidiLoadIniSettings(ctx);
  BidiAskModules(ctx, 0);
  CtxSetOSKind(ctx, OsIsNt5OrLater() ? 2 : 1);
  CtxSetCallSrc(ctx, 1);
  CtxSetPropertyType(ctx, 1);
  CtxSetNoPermission(ctx, (header->Flags & DPS_NOPERMISSION) ? 1 : 0);
  CtxSetJBInstalled(ctx, InstIsCompanionInstalled(kCompanionJobBinder, ctx));
  CtxSetPLInstalled(ctx, InstIsCompanionInstalled(kCompanionPrintLog, ctx));
  UserCodeApplyProviderState(ctx);
  JcFetchPropertiesOnceUi(ctx, kJobItemsNetworkKey);
  if (CtxGetNoPermission(ctx) == 0 && CtxGetBiDirect(ctx) == 0) PresetRefreshOnOpen(ctx, 2);
  if (!DmMergeIntoContext(ctx, nullptr, kMergeDeviceSheet)) {
    CtxClose(ctx);
    return nullptr;
  }
  return ctx;
}

void EmptyNetworkKey(DriverContext* ctx) {
  static const WCHAR kEmpty[1] = {0};
  SettingItem* key = nullptr;
  ItemGetRawById(ctx, kItem_wdmAuthenticationNetworkKey, &key);
  if (key) ItemSetText(ctx, key, kEmpty);
  JcPushOpenUi(ctx, kJobItemsNetworkKey);
  ctx->ui->textBuffer[0] = 0;
  DlgControlRecord* edit = CtlFind(ctx, PageFind(ctx, kAdvancedPage), kNetworkKeyEdit);
  if (edit && edit->window) WuiSetText(edit->window, kEmpty);
}

void CommitConfirmed(PROPSHEETUI_INFO* info, DriverContext* ctx) {
  JcOpenUi(ctx);
  if (ItemAuthTextsPresent(ctx, kAuthNetworkKey) & kAuthNetworkKey)
    JcPushOpenUi(ctx, kJobItemsNetworkKey);
  else
    EmptyNetworkKey(ctx);
  if (ItemGetRawById(ctx, kItem_zdmPrnFuncAuthenticationMode) == 0)
    ItemSetRawById(ctx, kItem_zdmPrnFuncAuthenticationSecureMode, 0);
  JcCloseUi(ctx);
  DmCommitPrinterDefault(ctx);
  if (InstIsSaveDeviceSetup(ctx)) {
    StoreSaveDeviceSetupToPack(ctx);
    StoreWriteSettingsText(nullptr, 8, ctx);
  }
  PresetRefreshOnOpen(ctx, 1);
  if (BidiCanWritePrinterData(ctx)) BidiDeleteIniSection(ctx);
  info->Result = CPSUI_OK;
  PFNCOMPROPSHEET report = reinterpret_cast<PFNCOMPROPSHEET>(ctx->ui->front.sheetCallback);
  if (report) report(reinterpret_cast<HANDLE>(ctx->ui->front.sheetHandle), CPSFUNC_SET_RESULT, 0, CPSUI_OK);
}

}  // namespace

ZEMS_EXPORT LONG WINAPI DrvDevicePropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
  DEVICEPROPERTYHEADER* header = info ? reinterpret_cast<DEVICEPROPERTYHEADER*>(info->lParamInit) : nullptr;
  if (!header) return -1;  // there is no device call without a sheet
  HANDLE printer = header->hPrinter;
  SheetCall call(printer);
  if (info->Reason != PROPSHEETUI_REASON_DESTROY && !call.Prepare()) return -1;

  DriverContext* ctx = nullptr;
  if (info->Reason == PROPSHEETUI_REASON_INIT) {
    ctx = OpenForSheet(header, call);
    if (!ctx) return -1;
    info->UserData = reinterpret_cast<ULONG_PTR>(ctx);
  } else {
    ctx = reinterpret_cast<DriverContext*>(info->UserData);
    if (!ctx || !ctx->ui) return -1;
  }
  PublishUpdate(printer);

  switch (info->Reason) {
    case PROPSHEETUI_REASON_INIT: {
      InstSetLocaleDefaults(ctx);
      CtxSetCallSrc(ctx, 1);
      CtxSetPropertyType(ctx, 1);
      CtxSetNoPermission(ctx, (header->Flags & DPS_NOPERMISSION) ? 1 : 0);
      FrontUiState& front = ctx->ui->front;
      front.changesAllowed = (header->Flags & DPS_NOPERMISSION) ? 0 : 1;
      front.sheetCallback = reinterpret_cast<void*>(info->pfnComPropSheet);
      front.sheetHandle = reinterpret_cast<LPARAM>(info->hComPropSheet);
      front.printerDefaultCommitted = 0;
      front.sheetKind = kSheetPrinterProperties;
      SheetAddPages(ctx, kPagePrinterSheet);
      return 1;
    }
    case PROPSHEETUI_REASON_GET_INFO_HEADER: {
      PROPSHEETUI_INFO_HEADER* out = reinterpret_cast<PROPSHEETUI_INFO_HEADER*>(lParam);
      if (!out) return -1;
      SheetFillInfoHeader(out, header->pszPrinterName);
      return 1;
    }
    case PROPSHEETUI_REASON_DESTROY:
      if (ctx->ui->front.okFlag == 1)
        CommitConfirmed(info, ctx);
      else
        info->Result = CPSUI_CANCEL;
      SheetCloseContext(ctx, info->Result == CPSUI_CANCEL);
      info->UserData = 0;
      return 1;
    default:
      return SheetAnswerOtherReason(info, lParam);
  }
}

ZEMS_EXPORT BOOL WINAPI PrinterProperties(HWND window, HANDLE printer) {
  DWORD allowed = 1;
  DEVICEPROPERTYHEADER header = {};
  header.cbSize = sizeof header;
  // Writing printer data tests the right to change the printer; without it the sheet is
  // read-only.
  if (SetPrinterDataW(printer, const_cast<LPWSTR>(kPermissionValue), REG_DWORD, reinterpret_cast<LPBYTE>(&allowed),
                      sizeof allowed) != ERROR_SUCCESS)
    header.Flags |= DPS_NOPERMISSION;
  header.hPrinter = printer;
  header.pszPrinterName = nullptr;
  DWORD result = 1;
  const LONG ran = SheetRunCommonPropertySheet(window, DrvDevicePropertySheets, reinterpret_cast<LPARAM>(&header),
                                               &result);
  // A sheet that could not run is no success, whatever the result word still says.
  return ran >= 0 && result != 0 ? TRUE : FALSE;
}
