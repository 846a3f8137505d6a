// The common file dialogs of the described dialogs: what each kind's record holds, which common
// dialog runs it, where a chosen file goes, the folders each kind remembers and whether a file is
// one the preset and quality lists use.
#include "core/common/ini_access.h"
#include "core/common/os_tests.h"
#include "core/common/text.h"
#include "core/common/window_ui.h"
#include "core/context/ui_state.h"
#include "core/front/control_lookup.h"
#include "core/front/dialog_engine.h"
#include "core/front/file_dialog_kinds.h"
#include "core/install/driver_identity.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/modules/preset_entries.h"
#include "core/store/preset_store.h"
#include "core/store/store_keys.h"
#include "core/system/resources.h"
#include "core/system/settings_folders.h"

namespace {

constexpr DWORD kOpenFlags = OFN_HIDEREADONLY | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE;
constexpr DWORD kImportFlags = kOpenFlags | OFN_ALLOWMULTISELECT | OFN_NOLONGNAMES;
constexpr WORD kImportDialog = 4001;
constexpr DWORD kSectionChars = 261;
constexpr DWORD kKeyChars = 64;
constexpr DWORD kCheckChars = 261;

// The kinds' rows: filter, title, remembered folder and the item a chosen file goes into.
const FileDialogKind kKinds[] = {
    {0x0100, 376, TEXT("*.rst"), 0, nullptr, 5002, TEXT("OpenFilePath"), 0, 0},
    {0x0200, 376, TEXT("*.rst"), 0, nullptr, 5003, TEXT("SaveFilePath"), 0, 0},
    {0x0400, 377, TEXT("*.bmp"), 0, nullptr, 5004, TEXT("RefFilePath"), 2341, 0},
    {0x0800, 433, TEXT("*.zvl"), 0, nullptr, 5008, nullptr, 0, kItem_wdmOvlPath},
    {0x1000, 433, TEXT("*.zvl"), 0, nullptr, 5009, TEXT("ZvlrefPath"), 2586, 0},
    {0x2000, 376, TEXT("*.rst"), 0, nullptr, 5010, TEXT("RstSavePath"), 0, 0},
    {0x4000, 918, TEXT("*.vtc"), 920, TEXT("*.*"), 917, TEXT("RefFile2Path"), 2825, 0},
    {0x8000, 0, nullptr, 0, nullptr, 0, nullptr, 0, 0},
};

// The item a chosen file of the kind goes into, or null.
SettingItem* ChosenFileItem(DriverContext* ctx, const FileDialogKind& kind) {
  if (kind.itemId) return ItemFind(ctx, static_cast<WORD>(kind.itemId));
  if (!kind.controlId) return nullptr;
  DlgControlRecord* control = CtlFind(ctx, nullptr, kind.controlId);
  return control ? control->item : nullptr;
}

// Appends name, NUL, pattern, NUL at *at of the filter buffer; false when it does not fit.
bool AppendFilterPair(DriverContext* ctx, WCHAR* filter, DWORD* at, UINT nameId, LPCWSTR pattern) {
  WCHAR name[kCheckChars];
  ResLoadString(ctx, nameId, name, kCheckChars, FALSE);
  const DWORD nameLength = StrWideLength(name), patternLength = StrWideLength(pattern);
  if (*at + nameLength + patternLength + 3 > static_cast<DWORD>(kFileDialogChars)) return false;
  for (DWORD i = 0; i < nameLength; ++i) filter[(*at)++] = name[i];
  filter[(*at)++] = 0;
  for (DWORD i = 0; i < patternLength; ++i) filter[(*at)++] = pattern[i];
  filter[(*at)++] = 0;
  filter[*at] = 0;
  return true;
}

// The folder of a path: cut at its last backslash, a drive root keeping it.
void FolderOf(const WCHAR* path, WCHAR* folder, DWORD cchFolder) {
  StrCopyCut(folder, cchFolder, path);
  int last = -1;
  for (int i = 0; folder[i]; ++i)
    if (folder[i] == '\\') last = i;
  if (last < 0) return;
  folder[last == 2 && folder[1] == ':' ? 3 : last] = 0;
}

// The documents folder on Windows Vista and later, else the system folder.
void DefaultFolder(WCHAR* folder) {
  folder[0] = 0;
  if (OsIsVistaOrLater() && SUCCEEDED(SHGetFolderPathW(NULL, CSIDL_PERSONAL, NULL, 0, folder))) return;
  if (!GetSystemDirectoryW(folder, kPathChars)) folder[0] = 0;
}

// The spool folder's stored value: read, created empty when missing.
void ReadSpoolValue(DriverContext* ctx, bool machineWide, WCHAR* folder) {
  folder[0] = 0;
  if (machineWide) {
    // Only a value that is not there is made; one too long to read is left alone.
    HKEY key = NULL;
    DWORD type = 0, size = 0;
    const bool missing = RegOpenKeyExW(HKEY_LOCAL_MACHINE, PathDriverRegKey(), 0, KEY_READ, &key) != ERROR_SUCCESS ||
                         RegQueryValueExW(key, kSpoolFolderValue, NULL, &type, NULL, &size) == ERROR_FILE_NOT_FOUND;
    if (key) RegCloseKey(key);
    if (missing) {
      InstWriteHklmValue(PathDriverRegKey(), kSpoolFolderValue, TEXT(""), sizeof(WCHAR), REG_SZ, ctx);
    } else if (type != REG_SZ ||
               !InstReadHklmValueRaw(PathDriverRegKey(), kSpoolFolderValue, folder, kPathChars * sizeof(WCHAR))) {
      folder[0] = 0;
    }
    folder[kPathChars - 1] = 0;
    return;
  }
  DWORD type = 0, needed = 0;
  const DWORD rc = GetPrinterDataW(ctx->printer, const_cast<LPWSTR>(kSpoolFolderValue), &type,
                                   reinterpret_cast<LPBYTE>(folder), (kPathChars - 1) * sizeof(WCHAR), &needed);
  if (rc == ERROR_FILE_NOT_FOUND) {
    SetPrinterDataW(ctx->printer, const_cast<LPWSTR>(kSpoolFolderValue), REG_SZ,
                    reinterpret_cast<LPBYTE>(const_cast<LPWSTR>(TEXT(""))), sizeof(WCHAR));
    folder[0] = 0;
  } else if (rc != ERROR_SUCCESS || type != REG_SZ) {
    folder[0] = 0;
  } else {
    folder[needed / sizeof(WCHAR) < kPathChars ? needed / sizeof(WCHAR) : kPathChars - 1] = 0;
  }
}

bool IsFolder(LPCWSTR path) {
  const DWORD attributes = GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void PrepareSpoolFolder(DriverContext* ctx, WCHAR* folder) {
  ItemSetValueById(ctx, kItem_wdmSpoolDirectoryAll, 0);
  ReadSpoolValue(ctx, true, folder);
  if (folder[0]) {
    ItemSetValueById(ctx, kItem_wdmSpoolDirectoryAll, 1);
  } else {
    ReadSpoolValue(ctx, false, folder);
  }
  if (!folder[0]) DlgDefaultSpoolFolder(folder);
  if (!IsFolder(folder) && !GetWindowsDirectoryW(folder, kPathChars)) folder[0] = 0;
}

// The remembered folder's place: the settings ini and the printer's section.
bool FolderPlace(DriverContext* ctx, WCHAR* ini, WCHAR* section) {
  StoreCopySettingsIni(ctx, ini);
  StoreCopyPrinterName(ctx, section, kSectionChars);
  return ini[0] != 0;
}

void WriteRememberedFolder(DriverContext* ctx, const FileDialogKind& kind, LPCWSTR folder) {
  WCHAR ini[kPathChars], section[kSectionChars];
  if (!kind.folderKey || !folder[0] || !FolderPlace(ctx, ini, section)) return;
  IniWriteString(section, kind.folderKey, folder, ini);
}

// What identifies a file: its volume and index when it opens, else its full path.
struct FileIdentity {
  bool opened = false;
  DWORD volume = 0, indexHigh = 0, indexLow = 0;
  WCHAR full[kPathChars] = {};
};

void IdentityOf(LPCWSTR path, FileIdentity* id) {
  HANDLE file = CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, NULL);
  if (file != INVALID_HANDLE_VALUE) {
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileInformationByHandle(file, &info)) {
      id->opened = true;
      id->volume = info.dwVolumeSerialNumber;
      id->indexHigh = info.nFileIndexHigh;
      id->indexLow = info.nFileIndexLow;
    }
    CloseHandle(file);
  }
  const DWORD n = GetFullPathNameW(path, kPathChars, id->full, NULL);
  if (!n || n >= kPathChars) id->full[0] = 0;
}

bool SameFile(const FileIdentity& a, const FileIdentity& b) {
  if (a.opened && b.opened) return a.volume == b.volume && a.indexHigh == b.indexHigh && a.indexLow == b.indexLow;
  return a.full[0] && b.full[0] && lstrcmpiW(a.full, b.full) == 0;
}

// 1 when the file of one of the count keys (name(n)) is the file given.
bool AnyKeyIsFile(DriverContext* ctx, const FileIdentity& given, int count, bool quality) {
  WCHAR ini[kPathChars], section[kSectionChars];
  if (!FolderPlace(ctx, ini, section)) return false;
  for (int n = 0; n < count; ++n) {
    WCHAR key[kKeyChars], path[kCheckChars];
    if (quality) QualityKeyName(key, kKeyChars, n);
    else PresetKeyName(key, kKeyChars, n, 0);
    const DWORD length = IniReadString(section, key, TEXT(""), path, kCheckChars, ini);
    if (!path[0] || length >= kPathChars) continue;
    FileIdentity listed;
    IdentityOf(path, &listed);
    if (SameFile(given, listed)) return true;
  }
  return false;
}

}  // namespace

const FileDialogKind* DlgFileDialogKindOf(const DlgPageRecord* page) {
  if (!page) return nullptr;
  // The image browse borrowed as the colour-profile browse carries both bits: the profile's.
  if (page->kind & kFileKindColourData)
    for (const FileDialogKind& kind : kKinds)
      if (kind.kind == kFileKindColourData) return &kind;
  for (const FileDialogKind& kind : kKinds)
    if (page->kind & kind.kind) return &kind;
  return nullptr;
}

void DlgDefaultSpoolFolder(WCHAR* folder) {
  if (!GetWindowsDirectoryW(folder, kPathChars) || !StrJoin(folder, kPathChars, folder, StrWideLength(folder),
                                                                  TEXT("\\temp")))
    folder[0] = 0;
}

int DlgJoinPath(WCHAR* path, LPCWSTR folder, LPCWSTR name) {
  if (!path) return 0;
  path[0] = 0;
  if (!name) return 0;
  const bool hasDrive = name[0] && name[1] == ':';
  if (hasDrive || !folder || !folder[0]) return StrCopyIfFits(path, kPathChars, name);
  if (name[0] == '\\') {
    // The folder's drive: "X:" of a drive path.
    if (!(folder[0] && folder[1] == ':')) return StrCopyIfFits(path, kPathChars, name);
    const WCHAR drive[3] = {folder[0], ':', 0};
    return StrJoin(path, kPathChars, drive, 2, name) ? 1 : (path[0] = 0, 0);
  }
  const DWORD length = StrWideLength(folder);
  const bool slash = folder[length - 1] == '\\';
  if (!StrJoin(path, kPathChars, folder, length, slash ? TEXT("") : TEXT("\\")) ||
      !StrJoin(path, kPathChars, path, StrWideLength(path), name)) {
    path[0] = 0;
    return 0;
  }
  return 1;
}

void DlgPrepareFileDialog(DriverContext* ctx, DlgPageRecord* page, DlgFileDialogBlock* block) {
  const FileDialogKind* kind = DlgFileDialogKindOf(page);
  if (!ctx || !ctx->ui || !kind || !block) return;
  OPENFILENAMEW& record = block->record;
  record.Flags = page->dialogId == kImportDialog ? kImportFlags : kOpenFlags;
  if (kind->kind == kFileKindSpool) {
    PrepareSpoolFolder(ctx, block->folder);
    record.lpstrDefExt = nullptr;
    record.lpstrFilter = nullptr;
    return;
  }
  ResLoadString(ctx, kind->titleId, block->title, kFileDialogChars, FALSE);
  DWORD at = 0;
  block->filter[0] = 0;
  if (AppendFilterPair(ctx, block->filter, &at, kind->filterNameId, kind->pattern) && kind->secondNameId)
    AppendFilterPair(ctx, block->filter, &at, kind->secondNameId, kind->secondPattern);
  // The file name: the kind's item when it names one, else the pattern.
  block->file[0] = 0;
  if (SettingItem* item = ChosenFileItem(ctx, *kind)) ItemGetTextBounded(ctx, item, block->file, kFileDialogChars);
  const bool named = block->file[0] != 0;
  if (!named) StrCopyCut(block->file, kFileDialogChars, kind->pattern);
  // The initial folder: the file's own when it is named (a file that need not exist yet for
  // the overlay to write), else the kind's remembered one, else the default.
  block->folder[0] = 0;
  if (named && StrWideLength(block->file) < static_cast<DWORD>(kPathChars) &&
      (kind->kind == kFileKindOverlaySave || DlgFileExists(block->file))) {
    FolderOf(block->file, block->folder, kPathChars);
  } else if (named || !DlgReadRememberedFolder(ctx, page, block->folder)) {
    DefaultFolder(block->folder);
  }
}

BOOL DlgRunFileDialog(DriverContext* ctx, DlgPageRecord* page, OPENFILENAMEW* record, WCHAR* file) {
  const FileDialogKind* kind = DlgFileDialogKindOf(page);
  if (!ctx || !ctx->ui || !kind || !record || !file) return FALSE;
  const BOOL save = kind->kind == kFileKindOpenSave || kind->kind == kFileKindSave;
  const BOOL chosen = WuiRunFileDialog(record, save);
  if (!chosen) {
    if (WuiFileDialogError()) DlgClearActionGuard(ctx, 0, 0, 0, 1);
    return FALSE;
  }
  file[kFileDialogChars - 1] = 0;
  if (SettingItem* item = ChosenFileItem(ctx, *kind)) ItemSetText(ctx, item, file);
  if (kind->kind == kFileKindSpool) return chosen;
  WCHAR folder[kPathChars];
  const WORD offset = DlgChosenFileFolder(file, kFileDialogChars, record->nFileOffset, folder);
  WriteRememberedFolder(ctx, *kind, folder);
  StrCopyCut(PresetGetChosenFilePath(ctx), kPresetChosenFileChars, file);
  PresetSetFileNameOffset(offset);
  return chosen;
}

WORD DlgChosenFileFolder(const WCHAR* file, DWORD cchFile, WORD offset, WCHAR* folder) {
  if (folder) folder[0] = 0;
  if (!file || !folder || !cchFile) return 0;
  DWORD length = 0, nameAt = 0;
  for (; length < cchFile && file[length]; ++length)
    if (file[length] == '\\') nameAt = length + 1;
  if (length == cchFile) return 0;  // no terminator: nothing was chosen that can be read
  // A multiple selection: the folder, a blank, the names.
  if (offset > 0 && offset <= length && file[offset - 1] == ' ') {
    if (offset <= static_cast<DWORD>(kPathChars)) {
      StrCopyCut(folder, offset, file);
      const DWORD end = StrWideLength(folder);
      if (end > 3 && folder[end - 1] == '\\') folder[end - 1] = 0;
    }
    return offset;
  }
  if (length < static_cast<DWORD>(kPathChars)) FolderOf(file, folder, kPathChars);
  // The name starts after the path's last backslash; an answer that says otherwise is not
  // taken.
  return offset == nameAt ? offset : static_cast<WORD>(nameAt);
}

void DlgRememberFolder(DriverContext* ctx, DlgPageRecord* page, LPCWSTR path) {
  const FileDialogKind* kind = DlgFileDialogKindOf(page);
  if (!ctx || !ctx->ui || !kind || !path) return;
  WCHAR folder[kPathChars];
  FolderOf(path, folder, kPathChars);
  WriteRememberedFolder(ctx, *kind, folder);
}

int DlgReadRememberedFolder(DriverContext* ctx, DlgPageRecord* page, WCHAR* buffer) {
  if (!buffer) return 0;
  buffer[0] = 0;
  const FileDialogKind* kind = DlgFileDialogKindOf(page);
  if (!ctx || !ctx->ui || !kind || !kind->folderKey) return 0;
  WCHAR ini[kPathChars], section[kSectionChars];
  if (!FolderPlace(ctx, ini, section)) return 0;
  return IniReadString(section, kind->folderKey, TEXT(""), buffer, kPathChars, ini) ? 1 : 0;
}

int DlgIsRegisteredSettingsFile(DriverContext* ctx, LPCWSTR path) {
  if (!ctx || !ctx->ui || !path || !path[0]) return 0;
  FileIdentity given;
  IdentityOf(path, &given);
  return AnyKeyIsFile(ctx, given, PresetGetCount(ctx), false) ||
                 AnyKeyIsFile(ctx, given, QualityGetCount(ctx), true)
             ? 1
             : 0;
}
