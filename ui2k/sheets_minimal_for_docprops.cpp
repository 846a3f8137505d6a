// MINIMAL STAND-INS, to be deleted when the printing-preferences sheet lands: the sheet runner
// and the non-UI document-properties merge that the document-properties exports call.
//  - SheetRunCommonPropertySheet shows no sheet: it answers -1, as when the common
//    property-sheet UI is not there, and leaves the result alone.
//  - UiMergeDocumentProperties opens the context, merges pdmIn and fills pdmOut as fMode
//    asks; it leaves out the DEVMODE check of the sheets' prologue, the renamed-printer and
//    remote-settings steps and the environment flags.
// Tests that rest on these skip with the reason.
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/devmode/dm_merge.h"
#include "core/devmode/sheet_commit.h"
#include "ui2k/ui_printer.h"
#include "platform/win32.h"

namespace {
constexpr DWORD kOpenDocumentProperties = 0x2000000;
constexpr DWORD kMergeDocumentProperties = 0x22000008;
}  // namespace

LONG SheetRunCommonPropertySheet(HWND owner, PFNPROPSHEETUI callback, LPARAM lParam, DWORD* result) {
  (void)owner, (void)callback, (void)lParam, (void)result;
  return -1;
}

LONG UiMergeDocumentProperties(DOCUMENTPROPERTYHEADER* header, PRINTER_INFO_2W* info, DRIVER_INFO_3W* driver,
                               int nameChanged) {
  (void)driver, (void)nameChanged;
  header->cbOut = kUiDevmodeSize;
  if (header->fMode == 0 || !header->pdmOut) return LONG(kUiDevmodeSize);
  DriverContext* ctx = CtxOpenFromInfoWithMode(header->hPrinter, header->hPrinter, nullptr, kOpenDocumentProperties,
                                               LONG(header->fMode), info);
  if (!ctx) return -1;
  ctx->ui->front.inputDevmode = header->pdmIn;
  ctx->ui->front.outputDevmode = header->pdmOut;
  ctx->ui->front.documentMode = LONG(header->fMode);
  LONG answer = 1;
  if ((header->fMode & DM_MODIFY) && header->pdmIn &&
      !DmMergeIntoContext(ctx, header->pdmIn, header->fMode | kMergeDocumentProperties))
    answer = -1;
  if (answer == 1 && (header->fMode & (DM_UPDATE | DM_COPY))) DmUpdateOutputDevmode(ctx);
  CtxClose(ctx);
  return answer;
}
