// The hook of the driver's old-style file dialogs: it checks what the user typed before the
// common dialog takes it, asks before a file is overwritten, deleted or renamed, and leaves the
// follow-up (save, load, delete) for the sub-dialog that ran the dialog.
#include "core/common/os_tests.h"
#include "core/common/text.h"
#include "core/common/window_ui.h"
#include "core/context/settings_snapshot.h"
#include "core/context/ui_state.h"
#include "core/front/dialog_engine.h"
#include "core/front/file_dialog_kinds.h"
#include "core/front/page_lookup.h"
#include "core/install/driver_identity.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/store/preset_store.h"
#include "core/store/settings_file.h"
#include "core/system/printer_names.h"
#include "core/system/resources.h"
#include "core/system/settings_folders.h"
#include "core/system/user_messages.h"
#include "core/tables/build_switches.h"

namespace {

constexpr int kNameEdit = 1152, kFolderList = 1121, kTypeCombo = 1136;
constexpr int kDefaultSpoolButton = 2887, kAllPrintersCheck = 2897;
constexpr WORD kImportDialog = 4001, kOpenSaveDialog = 4002, kOverlaySaveDialog = 4007, kSpoolDialog = 4015;
constexpr int kMaxPresets = 16;
// The save checks' bound: the path with room for a longer extension.
constexpr DWORD kSaveLongest = 258;
constexpr DWORD kTextChars = 1025;
constexpr DWORD kFlagsPresetLoad = kStoreFileDriverSection | kStoreFilePreset;  // 0x20004

enum : WORD {
  kMsgReadOnly = 374,
  kMsgRegistered = 375,
  kMsgLoadMissing = 10023,
  kMsgBadName = 10024,
  kMsgReplaceExtension = 10025,
  kMsgOverwrite = 10026,
  kMsgDeleteMissing = 10027,
  kMsgDeleteAsk = 10028,
  kMsgUnusable = 10043,
  kMsgTooManyPresets = 10049,
  kMsgOverlayExtension = 10060,
};

DriverContext* ContextOf(HWND window) {
  auto* ctx = reinterpret_cast<DriverContext*>(WuiGetSlot(window, DWL_USER));
  return ctx && ctx->ui ? ctx : nullptr;
}

bool HasWildcard(LPCWSTR text) {
  for (; *text; ++text)
    if (*text == '*' || *text == '?') return true;
  return false;
}

// The extension's place in a name: its last '.', when that comes after its last '\'; -1 for
// none.
int ExtensionAt(LPCWSTR name) {
  int at = -1;
  for (int i = 0; name[i]; ++i) {
    if (name[i] == '.') at = i;
    if (name[i] == '\\') at = -1;
  }
  return at;
}

// The pattern's extension (".rst") added to a name without one, or put in place of the one
// it has (replace). false when the result would not fit.
bool SetExtension(WCHAR* name, DWORD cchName, LPCWSTR pattern, bool replace) {
  const int at = ExtensionAt(name);
  if (at >= 0 && !replace) return true;
  if (at >= 0) name[at] = 0;
  return StrJoin(name, cchName, name, StrWideLength(name), pattern + 1) != 0;
}

bool ExtensionMatches(DlgPageRecord* page, LPCWSTR name) {
  const DWORD length = StrWideLength(name);
  return DlgMatchFileExtension(page, length >= 4 ? name + length - 4 : TEXT("")) != 0;
}

// The folder the folder list shows: its entries from the drive to the selected one.
int ListedFolder(HWND dialog, WCHAR* folder) {
  folder[0] = 0;
  HWND list = WuiFindControl(dialog, kFolderList);
  const int selected = list ? WuiChoiceSelection(list) : -1;
  for (int i = 0; i <= selected; ++i) {
    WCHAR entry[kPathChars];
    if (WuiChoiceText(list, i, entry, kPathChars) < 0) return 0;
    const DWORD length = StrWideLength(folder);
    const bool slash = length == 0 || folder[length - 1] == '\\';
    if (!StrJoin(folder, kPathChars, folder, length, slash ? TEXT("") : TEXT("\\")) ||
        !StrJoin(folder, kPathChars, folder, StrWideLength(folder), entry)) {
      folder[0] = 0;
      return 0;
    }
  }
  return folder[0] ? 1 : 0;
}

// The full path of a typed name: as it stands with a drive, else joined to the listed folder
// (a name from the root on the folder's drive). 0 when it is longer than 259 characters.
int FullPathOf(HWND dialog, LPCWSTR name, WCHAR* path) {
  WCHAR folder[kPathChars];
  ListedFolder(dialog, folder);
  return DlgJoinPath(path, folder, name);
}

int Warn(DriverContext* ctx, HWND dialog, WORD textId) {
  UiWarnById(ctx, dialog, textId, MB_OK);
  return TRUE;
}
bool Ask(DriverContext* ctx, HWND dialog, WORD textId) { return UiWarnOkCancel(ctx, dialog, textId) == IDOK; }

void Press(HWND dialog, int button) {
  WuiPost(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(WuiFindControl(dialog, button)));
}

// Loads a settings file inside a snapshot that is put back: the file status it left.
LONG TryLoad(DriverContext* ctx, LPCWSTR path, DWORD flags, bool writeBack) {
  CtxSetFileStatus(ctx, 0);
  CtxSnapshotPush(ctx);
  StoreLoadSettingsFile(ctx->printer, path, flags, ctx);
  const LONG status = CtxGetFileStatus(ctx);
  if (writeBack && status == 0) StoreSaveSettingsFile(ctx->printer, path, flags, ctx);
  CtxSnapshotPop(ctx, TRUE);
  return status;
}

bool FileOpens(LPCWSTR path) {
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

// The next blank-separated name of text from *at into name; false at the end.
bool NextName(LPCWSTR text, DWORD* at, WCHAR* name, DWORD cchName) {
  while (text[*at] == ' ') ++*at;
  if (!text[*at]) return false;
  DWORD n = 0;
  for (; text[*at] && text[*at] != ' '; ++*at)
    if (n + 1 < cchName) name[n++] = text[*at];
  name[n] = 0;
  return true;
}

// Several files to import: every one must be there, open and load as a preset before the
// dialog closes, so that an import takes all of them or none.
int ImportSeveral(DriverContext* ctx, HWND dialog, DlgPageRecord* page, LPCWSTR text) {
  int names = 0;
  WCHAR name[kTextChars];
  for (DWORD at = 0; NextName(text, &at, name, kTextChars);) ++names;
  if (PresetGetCount(ctx) + names > kMaxPresets) return Warn(ctx, dialog, kMsgTooManyPresets);
  WCHAR paths[kMaxPresets][kPathChars];
  int count = 0;
  for (DWORD at = 0; NextName(text, &at, name, kTextChars);) {
    if (HasWildcard(name)) return 0;  // the dialog filters its list
    if (!SetExtension(name, kTextChars, DlgGetFileFilter(page), false) || StrWideLength(name) >= kPathChars ||
        !FullPathOf(dialog, name, paths[count]))
      return Warn(ctx, dialog, kMsgBadName);
    if (!FileOpens(paths[count])) return Warn(ctx, dialog, kMsgUnusable);
    ++count;
  }
  for (int i = 0; i < count; ++i)
    if (TryLoad(ctx, paths[i], kStoreFilePreset, false)) return TRUE;
  ctx->ui->front.okFlag = 1;
  return 0;
}

// OK in the spool folder's dialog: the listed folder is stored at once, the default as empty.
int StoreSpoolFolder(DriverContext* ctx, HWND dialog, WCHAR* text) {
  // "*.*" is what the dialog shows for no name.
  DWORD kept = 0;
  for (DWORD at = 0; text[at];) {
    if (text[at] == '*' && text[at + 1] == '.' && text[at + 2] == '*') {
      at += 3;
    } else {
      text[kept++] = text[at++];
    }
  }
  text[kept] = 0;
  for (LPCWSTR p = text; *p; ++p)
    if (*p != ' ') return 0;  // a typed folder: the dialog goes there
  WCHAR folder[kPathChars], fallback[kPathChars];
  if (!ListedFolder(dialog, folder)) return TRUE;
  DlgDefaultSpoolFolder(fallback);
  if (fallback[0] && lstrcmpiW(folder, fallback) == 0) folder[0] = 0;
  const DWORD bytes = (StrWideLength(folder) + 1) * sizeof(WCHAR);
  if (ItemGetValueById(ctx, kItem_wdmSpoolDirectoryAll) == 1) {
    InstWriteHklmValue(PathDriverRegKey(), kSpoolFolderValue, folder, bytes, REG_SZ, ctx);
  } else {
    SetPrinterDataW(ctx->printer, const_cast<LPWSTR>(kSpoolFolderValue), REG_SZ, reinterpret_cast<LPBYTE>(folder),
                    bytes);
  }
  Press(dialog, IDCANCEL);
  return TRUE;
}

int FileButton(DriverContext* ctx, HWND dialog, DlgPageRecord* page, int button);

// OK in the dialogs of one file. The name is completed in the edit, so that the common dialog
// takes the name the checks passed.
int CheckOneFile(DriverContext* ctx, HWND dialog, DlgPageRecord* page, WCHAR* text) {
  const FileDialogKind* kind = DlgFileDialogKindOf(page);
  HWND edit = WuiFindControl(dialog, kNameEdit);
  LPCWSTR pattern = DlgGetFileFilter(page);
  if (HasWildcard(text)) return 0;
  LONG& result = ctx->ui->dialog.fileDialogResult;
  // OK in the save-load-delete dialog saves, through the save button's checks.
  if (page->dialogId == kOpenSaveDialog && result == 0) return FileButton(ctx, dialog, page, kFileResultSave);
  if (kind->kind == kFileKindOverlaySave && !text[0]) return Warn(ctx, dialog, kMsgBadName);
  if (!text[0]) return 0;
  if (ExtensionAt(text) < 0) {
    if (!SetExtension(text, kTextChars, pattern, false)) return Warn(ctx, dialog, kMsgBadName);
    WuiSetText(edit, text);
  }
  WCHAR path[kPathChars];
  if (StrWideLength(text) >= kPathChars || !FullPathOf(dialog, text, path)) return Warn(ctx, dialog, kMsgBadName);
  switch (kind->kind) {
    case kFileKindImage: {
      HANDLE file = INVALID_HANDLE_VALUE;
      if (!ResOpenBmpFile(path, &file)) return Warn(ctx, dialog, kMsgUnusable);
      CloseHandle(file);
      break;
    }
    case kFileKindOverlaySave:
      if (!ExtensionMatches(page, path)) {
        if (!Ask(ctx, dialog, kMsgOverlayExtension)) return TRUE;
        if (!SetExtension(path, kPathChars, pattern, true)) return Warn(ctx, dialog, kMsgBadName);
      }
      if (DlgFileExists(path) && !Ask(ctx, dialog, kMsgOverwrite)) return TRUE;
      WuiSetText(edit, path);
      break;
    case kFileKindOverlay:
      if (!DlgFileExists(path)) return Warn(ctx, dialog, kMsgUnusable);
      if (!ExtensionMatches(page, path)) return Warn(ctx, dialog, kMsgBadName);
      break;
    case kFileKindSave:
      if (StrWideLength(path) > kSaveLongest) return Warn(ctx, dialog, kMsgBadName);
      if (DlgFileExists(path)) {
        if (!Ask(ctx, dialog, kMsgOverwrite)) return TRUE;
      } else if (!ExtensionMatches(page, path)) {
        if (!Ask(ctx, dialog, kMsgReplaceExtension)) return TRUE;
        if (!SetExtension(path, kPathChars, pattern, true)) return Warn(ctx, dialog, kMsgBadName);
      }
      WuiSetText(edit, path);
      result = kFileResultSave;
      return 0;
    case kFileKindImport:
    case kFileKindOpenSave:
      if (result != kFileResultSave) {
        const bool writeBack = kind->kind == kFileKindImport &&
                               lstrcmpiW(PrnGetPrinterName(ctx), PrnGetDriverName(ctx)) != 0;
        if (TryLoad(ctx, path, kFlagsPresetLoad, writeBack)) return TRUE;
      }
      WuiSetText(edit, path);
      break;
    default:
      break;
  }
  ctx->ui->front.okFlag = 1;
  return 0;
}

// The save, load and delete buttons: the name is checked for the button's work, which the
// sub-dialog does once the dialog closed.
int FileButton(DriverContext* ctx, HWND dialog, DlgPageRecord* page, int button) {
  WCHAR text[kTextChars];
  WuiGetText(WuiFindControl(dialog, kNameEdit), text, kTextChars);
  if (HasWildcard(text)) {
    Press(dialog, IDOK);
    return TRUE;
  }
  const bool save = button == kFileResultSave, remove = button == kFileResultDelete;
  // The name needs an extension of its own: its last '.' or '\' a '.' that does not start a
  // part of the path.
  int lastMark = -1;
  for (int i = 0; text[i]; ++i)
    if (text[i] == '.' || text[i] == '\\') lastMark = i;
  if (!text[0] || lastMark < 0 || text[lastMark] != '.' || lastMark == 0 || text[lastMark - 1] == '\\')
    return save ? Warn(ctx, dialog, kMsgBadName) : TRUE;
  WCHAR path[kPathChars];
  if (StrWideLength(text) >= kPathChars || !FullPathOf(dialog, text, path) || StrWideLength(path) > kSaveLongest)
    return Warn(ctx, dialog, kMsgBadName);
  LPCWSTR pattern = DlgGetFileFilter(page);
  const bool rightExtension = ExtensionMatches(page, path);
  if (!DlgFileExists(path)) {
    if (button == kFileResultLoad) {
      UiWarnWithArgument(ctx, dialog, kMsgLoadMissing, path);
      return TRUE;
    }
    if (remove) return Warn(ctx, dialog, kMsgDeleteMissing);
    if (!rightExtension) {
      if (!Ask(ctx, dialog, kMsgReplaceExtension)) return TRUE;
      if (!SetExtension(path, kPathChars, pattern, true)) return Warn(ctx, dialog, kMsgBadName);
    }
  } else {
    if (!rightExtension) {
      if (!Ask(ctx, dialog, kMsgReplaceExtension)) return TRUE;
      if (!SetExtension(path, kPathChars, pattern, true)) return Warn(ctx, dialog, kMsgBadName);
    }
    if (page->dialogId != kOverlaySaveDialog && !PresetFileIsWritable(ctx, path))
      return Warn(ctx, dialog, kMsgReadOnly);
    if (save && !Ask(ctx, dialog, kMsgOverwrite)) return TRUE;
    if (remove && DlgIsRegisteredSettingsFile(ctx, path)) return Warn(ctx, dialog, kMsgRegistered);
  }
  if (remove) {
    if (!Ask(ctx, dialog, kMsgDeleteAsk)) return TRUE;
    if (page->dialogId == kOverlaySaveDialog) {
      DeleteFileW(path);
      WuiSetText(WuiFindControl(dialog, kNameEdit), pattern);
      Press(dialog, IDOK);
      return TRUE;
    }
  }
  WuiSetText(WuiFindControl(dialog, kNameEdit), path);
  ctx->ui->dialog.fileDialogResult = button;
  Press(dialog, IDOK);
  return TRUE;
}

UINT_PTR InitDialog(HWND window, const OPENFILENAMEW* record) {
  auto* ctx = record ? reinterpret_cast<DriverContext*>(record->lCustData) : nullptr;
  WuiSetSlot(window, DWL_USER, reinterpret_cast<LONG_PTR>(ctx));
  if (!ctx || !ctx->ui) return TRUE;
  if (OsIsVistaOrLater())
    WuiSetSlot(window, GWL_EXSTYLE, WuiGetSlot(window, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_CONTEXTHELP));
  if (BuildGetVariant().repairHostSubclassing) BuildGetVariant().repairHostSubclassing(ctx, window);
  if (ctx->currentPage == kSpoolDialog)
    WuiSetCheck(WuiFindControl(window, kAllPrintersCheck),
                ItemGetValueById(ctx, kItem_wdmSpoolDirectoryAll) == 1 ? BST_CHECKED : BST_UNCHECKED);
  return TRUE;
}

}  // namespace

UINT_PTR CALLBACK DlgFileDialogHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return InitDialog(window, reinterpret_cast<const OPENFILENAMEW*>(lParam));
  if (message == WM_HELP || message == WM_CONTEXTMENU) return TRUE;
  if (message != WM_COMMAND) return 0;
  DriverContext* ctx = ContextOf(window);
  DlgPageRecord* page = ctx ? PageFind(ctx, ctx->currentPage) : nullptr;
  if (!page) return 0;
  const int id = LOWORD(wParam);
  switch (id) {
    case IDOK: {
      DlgClearActionGuard(ctx, 0, 0, 0, 1);
      WCHAR text[kTextChars];
      WuiGetText(WuiFindControl(window, kNameEdit), text, kTextChars);
      if (page->dialogId == kImportDialog) {
        for (LPCWSTR p = text; *p; ++p)
          if (*p == ' ') return ImportSeveral(ctx, window, page, text);
      }
      if (page->dialogId == kSpoolDialog) return StoreSpoolFolder(ctx, window, text);
      return CheckOneFile(ctx, window, page, text);
    }
    case IDCANCEL:
      DlgClearActionGuard(ctx, 0, 0, 0, 1);
      ctx->ui->front.okFlag = 0;
      return 0;
    case kTypeCombo:
      if (HIWORD(wParam) != CBN_SELCHANGE) return 0;
      WuiSetText(WuiFindControl(window, kNameEdit), DlgGetFileFilter(page));
      Press(window, IDOK);
      return 0;
    case kDefaultSpoolButton: {
      WCHAR folder[kPathChars];
      DlgDefaultSpoolFolder(folder);
      const DWORD attributes = GetFileAttributesW(folder);
      if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        GetWindowsDirectoryW(folder, kPathChars);
      WuiSetText(WuiFindControl(window, kNameEdit), folder);
      ctx->ui->front.okFlag = 0;
      Press(window, IDOK);
      return TRUE;
    }
    case kAllPrintersCheck:
      ItemSetValueById(ctx, kItem_wdmSpoolDirectoryAll,
                       WuiGetCheck(WuiFindControl(window, kAllPrintersCheck)) == BST_CHECKED ? 1 : 0);
      return 0;
    case kFileResultSave:
    case kFileResultLoad:
    case kFileResultDelete:
      return FileButton(ctx, window, page, id);
    default:
      return 0;
  }
}
