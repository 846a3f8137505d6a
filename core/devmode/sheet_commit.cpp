// Committing the settings of the property sheets.
#include "core/devmode/sheet_commit.h"

#include "core/bind/job_control.h"
#include "core/common/mem.h"
#include "core/common/os_tests.h"
#include "core/context/driver_context.h"
#include "core/context/settings_snapshot.h"
#include "core/context/ui_state.h"
#include "core/devmode/couplings.h"
#include "core/devmode/dm_convert.h"
#include "core/devmode/dm_fields.h"
#include "core/devmode/dm_layout.h"
#include "core/devmode/option_block.h"
#include "core/items/derived_settings.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/store/item_store.h"
#include "core/store/preset_refresh.h"
#include "core/tables/build_switches.h"

namespace {

constexpr DWORD kJobItemsAll = 0x389F;
constexpr DWORD kJobItemsNetworkKey = 0x2000;
constexpr DWORD kJobItemsDocument = 0x389E;
constexpr DWORD kJobItemsDocumentAuth = 0x189E;
constexpr DWORD kAuthNetworkKey = 4;
constexpr WORD kCollateField = 0x8000;  // DM_COLLATE
constexpr int kFeatureAuthentication = 0;

FrontUiState& Front(DriverContext* ctx) { return ctx->ui->front; }

bool IsPrinterSheet(DriverContext* ctx) { return (Front(ctx).sheetKind & kSheetPrinterProperties) != 0; }

// The collate field of a DEVMODE: dmFields bit and dmCollate, after the sort switch when the
// model collates, else cleared.
void SetCollate(BYTE* dm, DriverContext* ctx) {
  DEVMODEW* pub = reinterpret_cast<DEVMODEW*>(dm);
  if (DmIsCollateSupported(ctx)) {
    pub->dmFields |= kCollateField;
    pub->dmCollate = ItemGetRawById(ctx, kItem_zdmFuncSelectSort) != 0 ? 1 : 0;
  } else {
    pub->dmFields &= ~static_cast<DWORD>(kCollateField);
    pub->dmCollate = 0;
  }
}

// Item 1114 and the scratch text the key's edit control was read into.
void EmptyNetworkKey(DriverContext* ctx) {
  static const WCHAR kEmpty[1] = {0};
  SettingItem* key = nullptr;
  ItemGetRawById(ctx, kItem_wdmAuthenticationNetworkKey, &key);
  if (key) ItemSetText(ctx, key, kEmpty);
  ctx->ui->textBuffer[0] = 0;
}

}  // namespace

int DmUpdateOutputDevmode(DriverContext* ctx) {
  if (!ctx || !ctx->ui || !ctx->settings) return 1;
  const LONG mode = Front(ctx).documentMode;
  if (!(mode & (kDocModeUpdate | kDocModeOutBuffer))) return 1;
  if ((mode & kDocModeOutBuffer) && BuildIsCommonDriver()) DmBuildCapsBlock(ctx);
  JcClearJobItemsUi(ctx, kJobItemsAll);
  BYTE* out = static_cast<BYTE*>(Front(ctx).outputDevmode);
  const BYTE* in = static_cast<const BYTE*>(Front(ctx).inputDevmode);
  if ((mode & kDocModeOutBuffer) || (ctx->ui->openKind & kKindDocumentProperties)) {
    DmBuildOutputDevmode(ctx->settings, in, out, ctx);
    if (!out) return 1;
    if (DmIsCollateSupported(ctx)) {
      const bool callerCollates =
          in && (reinterpret_cast<const DEVMODEW*>(in)->dmFields & kCollateField) != 0;
      if (!(callerCollates && (OsIsWin2000PreSp4() || CtxGetCallSrc(ctx) != 1))) SetCollate(out, ctx);
    } else {
      SetCollate(out, ctx);
    }
    return 1;
  }
  if (out) DmBuildOutputDevmode(ctx->settings, in, out, ctx);
  SetCollate(ctx->settings, ctx);
  return 1;
}

int DmOutputAndSaveUserSettings(DriverContext* ctx) {
  DmUpdateOutputDevmode(ctx);
  return StoreSaveUserClasses(ctx->printer, ctx) ? 1 : 0;
}

int DmCommitPrinterSettings(DriverContext* ctx, int mode) {
  DmRecomputeDerived(ctx->settings, ctx, mode);
  return StoreSaveDeviceSettings(ctx->printer, ctx) ? 1 : 0;
}

int DmCommitPrinterDefault(DriverContext* ctx) { return DmCommitPrinterSettings(ctx, 3); }

int DmCommitDocumentSettings(DriverContext* ctx, int mode) {
  DmRecomputeDerived(ctx->settings, ctx, mode);
  return DmOutputAndSaveUserSettings(ctx);
}

int DmCommitDocumentDefault(DriverContext* ctx) { return DmCommitDocumentSettings(ctx, 3); }

int DmCommitSettings(DriverContext* ctx) {
  if (!ctx || !ctx->ui || !ctx->settings) return 0;
  if (IsPrinterSheet(ctx)) {
    if (BuildHasFeature(ctx, kFeatureAuthentication)) {
      JcOpenUi(ctx);
      if (ItemAuthTextsPresent(ctx, kAuthNetworkKey) & kAuthNetworkKey) {
        JcPushOpenUi(ctx, kJobItemsNetworkKey);
      } else {
        // The key's edit control is emptied by the sheet while its page has a window.
        EmptyNetworkKey(ctx);
        JcPushOpenUi(ctx, kJobItemsNetworkKey);
      }
      if (ItemGetRawById(ctx, kItem_zdmPrnFuncAuthenticationMode) == 0)
        ItemSetRawById(ctx, kItem_zdmPrnFuncAuthenticationSecureMode, 0);
      JcCloseUi(ctx);
    }
    PresetRefreshOnOpen(ctx, 1);
    return DmCommitPrinterDefault(ctx);
  }
  JcOpenUi(ctx);
  JcPushOpenUi(ctx, BuildHasFeature(ctx, kFeatureAuthentication) ? kJobItemsDocumentAuth : kJobItemsDocument);
  // Inside the open session: the one-shot fetch would close it and unload the DLL under us.
  JcFetchPropertiesUi(ctx, 1);
  JcCloseUi(ctx);
  return DmCommitDocumentSettings(ctx, 4);
}

int DmApplySheetChanges(DriverContext* ctx) {
  if (!ctx || !ctx->ui || !ctx->settings) return 0;
  const int presentUiMode = CtxGetPresentUIMode(ctx);
  Front(ctx).applyMarker = 1;
  const int result = DmCommitSettings(ctx);
  const DWORD saveError = GetLastError();
  if (result && IsPrinterSheet(ctx)) Front(ctx).printerDefaultCommitted = 1;

  if (BYTE* initial = CtxInitialSettingsBlock(ctx)) CtxFreeFontTables(ctx, initial);
  CtxKeepInitialSettings(ctx);
  JcFetchPropertiesOnceUi(ctx, kJobItemsAll);
  CtxSetPresentUIMode(ctx, presentUiMode);

  SheetResultCallback callback = reinterpret_cast<SheetResultCallback>(Front(ctx).sheetCallback);
  if (callback) {
    const LPARAM answer = result ? CPSUI_OK : CPSUI_CANCEL;
    HANDLE sheet = reinterpret_cast<HANDLE>(Front(ctx).sheetHandle);
    if (IsPrinterSheet(ctx)) {
      PRINTER_INFO_7W publish = {};
      publish.pszObjectGUID = nullptr;
      publish.dwAction = DSPRINT_UPDATE;
      SetPrinterW(ctx->printer, 7, reinterpret_cast<LPBYTE>(&publish), 0);
      callback(sheet, CPSFUNC_SET_RESULT, 0, answer);
    } else if (Front(ctx).documentMode & (kDocModeUpdate | kDocModeOutBuffer)) {
      callback(sheet, CPSFUNC_SET_RESULT, 0, answer);
    }
  }
  if (!result) SetLastError(saveError);
  return result;
}

int PrnHasDevmode(HANDLE printer) {
  DWORD needed = 0;
  GetPrinterW(printer, 2, nullptr, 0, &needed);
  if (needed == 0) return 0;
  BYTE* buffer = static_cast<BYTE*>(MemAllocZero(needed));
  if (!buffer) return 0;
  int has = 0;
  if (GetPrinterW(printer, 2, buffer, needed, &needed))
    has = reinterpret_cast<PRINTER_INFO_2W*>(buffer)->pDevMode != nullptr ? 1 : 0;
  MemFree(buffer);
  return has;
}
