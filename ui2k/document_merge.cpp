// The document properties without UI (the non-UI path of DrvDocumentPropertySheets): the
// caller's DEVMODE merged into a context of the printer and the output DEVMODE filled.
#include "core/bind/remote_config.h"
#include "core/context/ui_state.h"
#include "core/devmode/dm_layout.h"
#include "core/devmode/dm_merge.h"
#include "core/devmode/sheet_commit.h"
#include "core/install/install_pass.h"
#include "core/install/pending_housekeeping.h"
#include "core/system/printer_names.h"
#include "core/tables/build_switches.h"
#include "ui2k/sheets.h"

namespace {

constexpr DWORD kDocModeModify = 0x8;       // DM_MODIFY: merge pdmIn
constexpr DWORD kDocModeWrites = 0x1 | 0x2;  // DM_UPDATE | DM_COPY: fill pdmOut
constexpr DWORD kMergeDocumentProperties = 0x22000008;
constexpr int kFeatureBitRemoteConfig = 7;

}  // namespace

LONG UiMergeDocumentProperties(DOCUMENTPROPERTYHEADER* header, PRINTER_INFO_2W* info, DRIVER_INFO_3W* driverInfo,
                               int renamed) {
  if (!header) return -1;
  const LONG devmodeSize = TblDevmodeSize();
  header->cbOut = static_cast<DWORD>(devmodeSize);
  const DWORD fMode = header->fMode;
  if (fMode == 0 || !header->pdmOut) return devmodeSize;
  HANDLE printer = header->hPrinter;
  DriverContext* ctx =
      CtxOpenFromInfoWithMode(printer, printer, nullptr, kKindDocumentProperties, static_cast<LONG>(fMode), info);
  if (!ctx) return -1;
  if (!ctx->modelImage || !ctx->ui) {
    CtxClose(ctx);
    return -1;
  }
  SheetCheckContextDevmode(ctx);
  FrontUiState& front = ctx->ui->front;
  front.inputDevmode = header->pdmIn;
  front.outputDevmode = header->pdmOut;
  front.documentMode = static_cast<LONG>(fMode);
  if (renamed) InstHandleRenamedPrinter(ctx);
  if (BuildHasFeatureBit(kFeatureBitRemoteConfig)) RemoteImportClientSettingsOnce(ctx, info, driverInfo);
  if (renamed && info && InstRunPendingHousekeeping(printer, 0, info, driverInfo) != 1) {
    CtxClose(ctx);
    return -1;
  }
  const SheetEnvironment env = SheetSetDocumentEnvironment(ctx, fMode);
  CtxSetServerClientMode(ctx, PrnIsOnServer(ctx) ? 1 : 0);
  if ((fMode & kDocModeModify) && header->pdmIn) {
    if (!DmMergeIntoContext(ctx, header->pdmIn, fMode | kMergeDocumentProperties)) {
      CtxClose(ctx);
      return -1;
    }
    // The merge may have brought other values; the environment keeps what this call found.
    SheetRestoreEnvironment(ctx, env);
  }
  if (fMode & kDocModeWrites) DmUpdateOutputDevmode(ctx);
  CtxClose(ctx);
  return 1;
}
