// Sub-dialogs: a described dialog run on top of the current one, as a common file dialog with its
// follow-up, a modal dialog box or a set of pages in one property sheet, inside a settings
// snapshot that a cancelled dialog restores.
#include "core/common/mem.h"
#include "core/common/os_tests.h"
#include "core/common/text.h"
#include "core/common/window_ui.h"
#include "core/context/module_bus.h"
#include "core/context/settings_snapshot.h"
#include "core/context/ui_state.h"
#include "core/front/dialog_engine.h"
#include "core/front/page_lookup.h"
#include "core/front/file_dialog_kinds.h"
#include "core/install/package_export.h"
#include "core/items/item_access.h"
#include "core/model/model_lookup.h"
#include "core/modules/cmm_profile_hook.h"
#include "core/store/settings_file.h"
#include "core/system/printer_names.h"
#include "core/system/resources.h"
#include "core/system/sub_dialog.h"
#include "core/system/user_messages.h"
#include "core/tables/static_tables.h"

namespace {

constexpr WORD kSheetModes = 0x00F0;
constexpr UINT kStringQualitySetTitle = 5001;
constexpr int kTitleChars = 261;
constexpr WORD kSaveDialog = 4009;

// Every page whose kind shares a bit with bits, as one property sheet starting at the requested
// page.
INT_PTR RunSheet(DriverContext* ctx, HMODULE language, WORD bits, WORD requested, HWND owner) {
  DlgPageTable* table = ctx->pages;
  auto* pages = static_cast<PROPSHEETPAGEW*>(MemAllocZero(sizeof(PROPSHEETPAGEW) * (table->count + 1)));
  if (!pages) return -1;
  UINT count = 0, start = 0;
  for (int i = 0; i < table->count; ++i) {
    DlgPageRecord* page = &table->rows[i];
    if (!(page->kind & bits)) continue;
    if ((page->kind & kPageQualitySet) && ModelIsSymbolDisabled(ctx, page->symbolId)) continue;
    page->window = NULL;
    if (page->dialogId == requested) start = count;
    PROPSHEETPAGEW& p = pages[count++];
    p.dwSize = 48;
    p.dwFlags = PSP_HASHELP;
    p.hInstance = language;
    p.pszTemplate = MAKEINTRESOURCEW(page->dialogId);
    p.pfnDlgProc = DlgSheetPageProc;
    p.lParam = reinterpret_cast<LPARAM>(ctx);
  }
  WCHAR title[kTitleChars];
  if (bits == kPageQualitySet) {
    ResLoadString(ctx, kStringQualitySetTitle, title, kTitleChars, FALSE);
  } else {
    StrCopyCut(title, kTitleChars, PrnGetPrinterName(ctx));
  }
  PROPSHEETHEADERW header = {};
  header.dwSize = 52;
  header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_HASHELP | (OsIsVistaOrLater() ? PSH_NOCONTEXTHELP : 0);
  header.hwndParent = owner;
  header.hInstance = language;
  header.pszCaption = title;
  header.nPages = count;
  header.nStartPage = start;
  header.ppsp = pages;
  const INT_PTR result = WuiRunPropertySheet(&header);
  MemFree(pages);
  return result;
}

INT_PTR RunModal(DriverContext* ctx, HMODULE language, DlgPageRecord* page, HWND owner) {
  DlgEngineState& state = ctx->ui->dialog;
  ctx->currentPage = page->dialogId;
  page->modal = 1;
  const INT_PTR result =
      WuiRunDialog(language, page->dialogId, owner, DlgHandleMessage, reinterpret_cast<LPARAM>(ctx));
  page->modal = 0;
  if (state.firstPage == page->dialogId) state.firstPage = 0;
  return result;
}

// The save, load or delete the file dialog's hook asked for, on the chosen file; the save's
// result is the dialog's.
INT_PTR RunFileFollowUp(DriverContext* ctx, DlgPageRecord* page, LPCWSTR file, INT_PTR result) {
  switch (ctx->ui->dialog.fileDialogResult) {
    case kFileResultSave: {
      WCHAR package[MAX_PATH] = {};
      if (!PackMakeName(file, package, ctx) ||
          !StoreSaveSettingsFile(ctx->printer, package, kStoreFilePackageMain, ctx) ||
          !PackExport(file, package, ctx))
        if (package[0]) PackRemoveFolder(package, ctx);
      result = StoreSaveSettingsFile(ctx->printer, file, 0, ctx);
      UiClearChangedItems(ctx);
      if (result) {
        StoreWriteRsdText(ctx->printer, file, 0, ctx);
        UiClearChangedItems(ctx);
      } else if (page->dialogId == kSaveDialog) {
        UiShowSystemError(ctx, static_cast<DWORD>(CtxGetFileStatus(ctx)), NULL);
      }
      return result;
    }
    case kFileResultLoad:
      StoreLoadSettingsFile(ctx->printer, file, 0, ctx);
      DlgRefillStampChoice(ctx);
      DlgReinitLayoutTypeChoices(ctx);
      DlgReinitSourceTrayChoices(ctx);
      DlgReinitPresetChoices(ctx);
      DlgReinitOutputTrayChoices(ctx);
      DlgReinitPaperSizeChoices(ctx);
      return result;
    case kFileResultDelete:
      if (DeleteFileW(file)) PackDeleteByList(file, ctx);
      return result;
    default:
      return result;
  }
}

// A common file dialog in one zeroed block: the record, then its file, folder, title and
// filter buffers.
INT_PTR RunFileDialog(DriverContext* ctx, HMODULE language, DlgPageRecord* page, HWND owner) {
  auto* block = static_cast<DlgFileDialogBlock*>(MemAllocZero(sizeof(DlgFileDialogBlock)));
  if (!block) return 0;
  OPENFILENAMEW& record = block->record;
  record.lStructSize = sizeof(OPENFILENAMEW);
  record.hwndOwner = owner;
  record.hInstance = language;
  record.lpTemplateName = MAKEINTRESOURCEW(page->dialogId);
  record.lpstrFile = block->file;
  record.nMaxFile = kFileDialogChars;
  record.lpstrInitialDir = block->folder;
  record.lpstrTitle = block->title;
  record.lpstrFilter = block->filter;
  // The colour-profile browse checks its file as a profile before it closes.
  const FileDialogKind* kind = DlgFileDialogKindOf(page);
  record.lpfnHook = kind && kind->kind == kFileKindColourData ? CmmProfileDialogHook : DlgFileDialogHook;
  record.lpstrDefExt = DlgGetFileFilter(page) + 2;
  record.nFilterIndex = 1;
  record.lCustData = reinterpret_cast<LPARAM>(ctx);
  DlgPrepareFileDialog(ctx, page, block);
  ctx->ui->dialog.fileDialogResult = 0;
  INT_PTR result = DlgRunFileDialog(ctx, page, &record, block->file);
  if (result) result = RunFileFollowUp(ctx, page, block->file, result);
  MemFree(block);
  return result;
}

}  // namespace

INT_PTR CALLBACK DlgSheetPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    DriverContext* ctx = DlgPrepareSheetPage(window, reinterpret_cast<const PROPSHEETPAGEW*>(lParam));
    return DlgHandleMessage(window, message, wParam, reinterpret_cast<LPARAM>(ctx));
  }
  return DlgHandleMessage(window, message, wParam, lParam);
}

int DlgRunSubDialog(DriverContext* ctx, int mode, int dialogId, HWND owner) {
  if (!ctx || !ctx->ui || !ctx->pages) return -1;
  HMODULE language = ResLoadLanguageDll(ctx);
  if (!language) return -1;
  const WORD previous = ctx->currentPage;
  ctx->currentPage = static_cast<WORD>(dialogId);
  CtxSnapshotPush(ctx);
  DlgPageRecord* page = PageFind(ctx, static_cast<WORD>(dialogId));
  if (!page) {
    CtxSnapshotPop(ctx, TRUE);
    ctx->currentPage = previous;
    return 0;
  }
  // A dialog that cannot be shown or ends without its OK keeps nothing.
  ctx->ui->front.okFlag = 0;
  INT_PTR result = 0;
  if (DlgIsFileDialog(page)) {
    result = RunFileDialog(ctx, language, page, owner);
  } else if ((mode & kSheetModes) || (page->kind & kPageQualitySet)) {
    // A page of the tabbed quality set always runs as that set, whatever the mode.
    const WORD bits = (page->kind & kPageQualitySet) ? static_cast<WORD>(kPageQualitySet)
                                                     : static_cast<WORD>(mode & kSheetModes);
    result = RunSheet(ctx, language, bits, page->dialogId, owner);
  } else {
    result = RunModal(ctx, language, page, owner);
  }
  DlgPageEvent ran = {PageFind(ctx, ctx->currentPage)};
  ctx->currentPage = previous;
  if (!ctx->ui->front.okFlag) {
    CtxSnapshotPop(ctx, TRUE);
    ModBusSendEvent(ctx, kEventSubDialogCancelled, &ran);
    return static_cast<int>(result);
  }
  CtxSnapshotPop(ctx, FALSE);
  ModBusSendEvent(ctx, kEventSubDialogAccepted, &ran);
  if (!owner) return static_cast<int>(result);
  if (DlgPageRecord* ownerPage = PageFind(ctx, previous)) {
    if (TblIsChangingSubDialog(static_cast<WORD>(dialogId)) && ownerPage->window)
      WuiSend(WuiParent(ownerPage->window), PSM_CHANGED, reinterpret_cast<WPARAM>(ownerPage->window), 0);
    DlgRefreshControls(ctx, ownerPage, 1);
  }
  return static_cast<int>(result);
}
