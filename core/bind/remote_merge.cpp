// The once-per-printer merge of a terminal-server client's fetched settings into the printer's
// settings ini (custom sizes, watermarks, presets, quality lists) and the handler of the
// client's bidi ini.
#include <string.h>

#include "core/bind/bidi_store.h"
#include "core/bind/remote_config.h"
#include "core/bind/remote_transfer.h"
#include "core/common/file_ops.h"
#include "core/common/ini_access.h"
#include "core/common/mem.h"
#include "core/common/path_text.h"
#include "core/common/text.h"
#include "core/context/driver_context.h"
#include "core/context/settings_snapshot.h"
#include "core/context/ui_state.h"
#include "core/items/item_table.h"
#include "core/install/install_ini_defaults.h"
#include "core/store/item_store.h"
#include "core/install/pending_housekeeping.h"
#include "core/store/preset_store.h"
#include "core/store/settings_file.h"
#include "core/system/languages.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"

namespace {

constexpr DWORD kValueChars = 1024;
constexpr int kMaxFreeSizes = 10;
constexpr int kMaxStamps = 255;
// Settings-file loads of the copied files: presets without the warning box, quality lists.
constexpr DWORD kLoadPresetFile = 0x8004;
constexpr DWORD kLoadQualityFile = 0x10;
// User install states that first need the pending housekeeping.
constexpr DWORD kStateUserMissing = 1;
constexpr DWORD kStateUserMissingToo = 5;

const WCHAR kEmpty[1] = {0};

const RemoteClientFile kClientFiles[] = {{kBidiClientFile, RemoteImportClientBidiState}};

DWORD ReadDword(HANDLE printer, LPCWSTR name, bool* read) {
  DWORD value = 0;
  *read = StoreGetPrinterData(printer, &value, sizeof value, name) != 0;
  return *read ? value : 0;
}

void WriteDword(HANDLE printer, LPCWSTR name, DWORD value) {
  StoreSetPrinterDataBinary(printer, &value, sizeof value, name);
}

bool Join(WCHAR* buffer, DWORD cch, LPCWSTR head, LPCWSTR tail) {
  return StrJoin(buffer, cch, head, StrWideLength(head), tail) != 0;
}

bool InFolder(WCHAR* buffer, DWORD cch, LPCWSTR folder, LPCWSTR leaf) {
  return Join(buffer, cch, folder, TEXT("\\")) && Join(buffer, cch, buffer, leaf);
}

void Decimal(int value, WCHAR* text) {
  wsprintfW(text, TEXT("%d"), value);
}

// The context's printer name replaced for a while; the original comes back on every path out.
class PrinterNameAs {
 public:
  PrinterNameAs(DriverContext* ctx, LPCWSTR name) : ui_(ctx->ui) {
    PrnGetPrinterName(ctx);
    memcpy(saved_, ui_->printerName, sizeof saved_);
    StrCopyCut(ui_->printerName, kPrinterNameChars, name);
  }
  ~PrinterNameAs() { memcpy(ui_->printerName, saved_, sizeof saved_); }
  PrinterNameAs(const PrinterNameAs&) = delete;
  PrinterNameAs& operator=(const PrinterNameAs&) = delete;

 private:
  UiState* ui_;
  WCHAR saved_[kPrinterNameChars];
};

// A pushed settings snapshot, restored on every path out.
class SnapshotHold {
 public:
  explicit SnapshotHold(DriverContext* ctx) : ctx_(ctx) { CtxSnapshotPush(ctx); }
  ~SnapshotHold() { CtxSnapshotPop(ctx_, TRUE); }
  SnapshotHold(const SnapshotHold&) = delete;
  SnapshotHold& operator=(const SnapshotHold&) = delete;

 private:
  DriverContext* ctx_;
};

bool CopyKey(LPCWSTR target, LPCWSTR source, LPCWSTR section, LPCWSTR key, WCHAR* value, LPCWSTR targetKey = nullptr) {
  IniReadString(section, key, kEmpty, value, kValueChars, source);
  return IniWriteString(section, targetKey ? targetKey : key, value, target) != FALSE;
}

// Custom sizes or watermarks: the count of the display-language section and the sections
// "<prefix><n><code>" with their RstVersion (when set) and the keys of the item list.
bool MergeStore(DriverContext* ctx, LPCWSTR target, LPCWSTR source, LPCWSTR code, LPCWSTR countKey, LPCWSTR prefix,
                const WORD* items, int limit, WCHAR* value) {
  int count = int(IniReadInt(code, countKey, 0, source));
  if (count < 0) count = 0;
  if (count > limit) count = limit;
  WCHAR number[16];
  Decimal(count, number);
  bool ok = IniWriteString(code, countKey, number, target) != FALSE;
  WCHAR section[64];
  for (int n = 0; n < count; ++n) {
    wsprintfW(section, TEXT("%s%d%s"), prefix, n, code);
    IniReadString(section, TEXT("RstVersion"), kEmpty, value, kValueChars, source);
    if (value[0]) ok = IniWriteString(section, TEXT("RstVersion"), value, target) != FALSE && ok;
    for (const WORD* id = items; id && *id; ++id) {
      const WCHAR* key = ItemGetName(ctx, *id);
      if (key && key[0]) ok = CopyKey(target, source, section, key, value) && ok;
    }
  }
  return ok;
}

struct MergeFolders {
  WCHAR machine[MAX_PATH];  // per-machine settings folder
  WCHAR printer[MAX_PATH];  // the per-printer folder the client's files were copied to
};

// Presets or quality lists. Each client entry whose file was copied is listed in the printer's
// section under the next free number, its path the per-machine folder + the file's name, with
// its name (and comment); then the copied file is loaded under the client's name and saved
// again through the store into that path. An entry that cannot be taken is left out.
bool MergeList(DriverContext* ctx, RemoteLibrary* lib, LPCWSTR target, LPCWSTR source, const MergeFolders& folders,
               const RemoteListKind& kind, bool preset, WCHAR* value) {
  LPCWSTR printer = PrnGetPrinterName(ctx);
  int count = int(IniReadInt(lib->clientName, kind.countKey, 0, source));
  if (count > kind.limit) count = kind.limit;
  int kept = 0;
  {
    SnapshotHold snapshot(ctx);
    WCHAR key[64], targetKey[64], path[MAX_PATH], copied[MAX_PATH], rooted[MAX_PATH];
    for (int i = 0; i < count; ++i) {
      wsprintfW(key, TEXT("%s%d"), kind.listKey, i);
      IniReadString(lib->clientName, key, kEmpty, path, MAX_PATH, source);
      LPCWSTR leaf = RemoteClientLeaf(path);
      if (!leaf || !InFolder(copied, MAX_PATH, folders.printer, leaf) ||
          !InFolder(rooted, MAX_PATH, folders.machine, leaf) || !FileExists(copied))
        continue;
      wsprintfW(targetKey, TEXT("%s%d"), kind.listKey, kept);
      if (!IniWriteString(printer, targetKey, rooted, target)) continue;
      const WCHAR* const suffixes[] = {TEXT("Name"), preset ? TEXT("Comment") : nullptr};
      for (const WCHAR* suffix : suffixes) {
        if (!suffix) continue;
        WCHAR from[80], to[80];
        wsprintfW(from, TEXT("%s%s"), key, suffix);
        wsprintfW(to, TEXT("%s%s"), targetKey, suffix);
        IniReadString(lib->clientName, from, kEmpty, value, kValueChars, source);
        IniWriteString(printer, to, value, target);
      }
      {
        PrinterNameAs client(ctx, lib->clientName);
        StoreLoadSettingsFile(ctx->printer, copied, preset ? kLoadPresetFile : kLoadQualityFile, ctx);
      }
      // The status tells whether the file was taken: a result of 0 with status 0 only means a
      // key was missing (a file of an older minor version), and every item found was taken.
      if (ctx->ui->fileStatus != kFileStatusOk) {
        WCHAR drop[80];
        IniWriteString(printer, targetKey, nullptr, target);
        for (const WCHAR* suffix : suffixes) {
          if (!suffix) continue;
          wsprintfW(drop, TEXT("%s%s"), targetKey, suffix);
          IniWriteString(printer, drop, nullptr, target);
        }
        continue;
      }
      if (preset)
        PresetSaveSlotItems(ctx, kept);
      else
        QualitySaveSlotFile(ctx, kept);
      ++kept;
    }
  }
  WCHAR number[16];
  Decimal(kept, number);
  return IniWriteString(printer, kind.countKey, number, target) != FALSE;
}

// The copied client settings ini into the printer's per-user settings ini.
bool MergeClientSettings(DriverContext* ctx, RemoteLibrary* lib) {
  const WCHAR* target = PathSettingsFile(ctx);
  WCHAR machineIni[MAX_PATH];
  if (!target[0] || !PathSettingsFileOf(machineIni, MAX_PATH, 0, ctx->printer)) return false;
  // The merge is for a user's own settings ini; the machine's is never the target.
  if (lstrcmpiW(target, machineIni) == 0) return false;
  MergeFolders folders;
  WCHAR source[MAX_PATH];
  const int machineLength = PathGetMachineSettingsFolder(folders.machine, MAX_PATH, ctx);
  if (machineLength <= 0 || machineLength >= MAX_PATH || !RemotePrinterFolder(ctx, folders.printer, MAX_PATH))
    return false;
  DWORD length = StrWideLength(folders.machine);
  if (length && folders.machine[length - 1] == u'\\') folders.machine[length - 1] = 0;
  LPCWSTR leaf = PathFindLeaf(target);
  if (!RemoteLeafIsSafe(leaf) || !InFolder(source, MAX_PATH, folders.printer, leaf) || !FileExists(source))
    return false;
  const WCHAR* code = ResGetLangCodeAlias(ctx);
  if (!code || !code[0] || !PrnGetPrinterName(ctx)[0]) return false;
  WCHAR* value = static_cast<WCHAR*>(MemAllocZero(kValueChars * sizeof(WCHAR)));
  if (!value) return false;
  bool ok = MergeStore(ctx, target, source, code, TEXT("FreeSizeCount"), TEXT("FreeSize"), InstFreeSizeKeyItems(),
                       kMaxFreeSizes, value);
  ok = MergeStore(ctx, target, source, code, TEXT("StampCount"), TEXT("Stamp"), InstStampKeyItems(), kMaxStamps,
                  value) &&
       ok;
  ok = ok && MergeList(ctx, lib, target, source, folders, RemotePresetList(), true, value);
  ok = ok && MergeList(ctx, lib, target, source, folders, RemoteQualityList(), false, value);
  MemFree(value);
  return ok;
}

void RunClientFileHandlers(DriverContext* ctx, RemoteLibrary* lib) {
  WCHAR folder[MAX_PATH], path[MAX_PATH];
  if (!RemotePrinterFolder(ctx, folder, MAX_PATH)) return;
  for (const RemoteClientFile& row : RemoteClientFiles())
    if (row.handler && InFolder(path, MAX_PATH, folder, row.name)) row.handler(ctx, path, lib);
}

// Step 1: the user's install state must allow the merge.
bool UserStateAllows(DriverContext* ctx, const PRINTER_INFO_2W* info, const DRIVER_INFO_3W* driverInfo) {
  DWORD state = 0;
  if (!InstReadUserStampState(ctx->printer, &state, info)) return false;
  if (state == kStateUserMissing || state == kStateUserMissingToo)
    return InstRunPendingHousekeeping(ctx->printer, 0, info, driverInfo) == 1;
  return state == 0;
}

}  // namespace

RemoteClientFileTable RemoteClientFiles() {
  return {kClientFiles, kClientFiles + sizeof kClientFiles / sizeof kClientFiles[0]};
}

int RemoteImportClientSettingsOnce(DriverContext* ctx, const PRINTER_INFO_2W* info, const DRIVER_INFO_3W* driverInfo) {
  if (!ctx || !ctx->ui || !RemoteCanTransfer(ctx) || !UserStateAllows(ctx, info, driverInfo)) return 0;
  WCHAR flagFile[MAX_PATH];
  if (!RemoteFlagFilePath(ctx, flagFile, MAX_PATH)) return 0;
  const DWORD flag = IniReadInt(kRemoteFlagSection, kRemoteFlagKey, 0, flagFile);
  bool read = false;
  if (ReadDword(ctx->printer, kRemoteConnectionValue, &read) != 1) {
    if (flag) {
      WriteDword(ctx->printer, kRemoteConnectionValue, 1);
      WriteDword(ctx->printer, kRemoteIniValue, flag);
    }
    if (flag != 1) return 0;
  }
  const DWORD mirrored = ReadDword(ctx->printer, kRemoteIniValue, &read);
  if ((!read || !mirrored) && flag) WriteDword(ctx->printer, kRemoteIniValue, flag);
  if (flag != 1) return 0;
  RemoteLibrary* lib = RemoteBindLibraryEx(ctx);
  if (!lib) return 0;
  int result = 0;
  DWORD type = 0;
  if (RemoteAskServerType(lib, PrnGetPrinterName(ctx), &type) && MergeClientSettings(ctx, lib)) {
    RunClientFileHandlers(ctx, lib);
    WriteDword(ctx->printer, kRemoteIniValue, 2);
    IniWriteString(kRemoteFlagSection, kRemoteFlagKey, TEXT("2"), flagFile);
    result = 1;
  }
  RemoteFreeLibrary(lib);
  return result;
}

int RemoteImportClientBidiState(DriverContext* ctx, LPCWSTR path, RemoteLibrary* lib) {
  if (!ctx || !ctx->ui || !path || !lib) return 0;
  if (IniReadInt(lib->clientName, TEXT("BidiFlag"), 7, path) == 7) return BidiDeleteIniSection(ctx);
  {
    PrinterNameAs client(ctx, lib->clientName);
    BidiLoadSettingsFromFile(path, ctx);
  }
  int result = BidiSaveIniSettings(ctx);
  RemoteSetPresetRefresh(ctx);
  return result;
}
