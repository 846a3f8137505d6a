// The preset list checked against the printer's default pack: entries whose pack files no
// longer suit the installed options are dropped, new pack files are added.
#include "core/store/preset_refresh.h"

#include "core/common/ini_access.h"
#include "core/common/mem.h"
#include "core/common/path_text.h"
#include "core/common/text.h"
#include "core/common/window_ui.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/modules/preset_cache.h"
#include "core/install/default_packs.h"
#include "core/store/item_store.h"
#include "core/store/preset_files.h"
#include "core/store/preset_store.h"
#include "core/store/store_keys.h"
#include "core/system/languages.h"
#include "core/system/printer_names.h"
#include "core/system/resources.h"
#include "core/system/settings_folders.h"
#include "core/system/sub_dialog.h"
#include "core/system/terminal_server.h"
#include "core/system/user_messages.h"
#include "core/tables/build_switches.h"

namespace {

constexpr DWORD kPath = 260;
constexpr DWORD kText = 513;
constexpr int kMaxEntries = 0xFFFE;
constexpr WORD kMsgRefreshInfo = 7004;
constexpr WORD kMsgDropWarning = 10017;
constexpr int kRefreshDialog = 1011;
constexpr int kRefreshDialogMode = 4;

struct PresetListEntry {
  WCHAR file[kPath];   // the list value with extension "rsd"
  WCHAR value[kPath];
  WCHAR name[kText];
  WCHAR comment[kText];
  bool drop;
};

WCHAR Lower(WCHAR c) { return c >= u'A' && c <= u'Z' ? WCHAR(c - u'A' + u'a') : c; }

bool SameText(LPCWSTR a, LPCWSTR b) {
  for (; *a && *b; ++a, ++b)
    if (Lower(*a) != Lower(*b)) return false;
  return *a == *b;
}

void NumberedKey(WCHAR* buffer, DWORD cch, LPCWSTR prefix, int n, LPCWSTR suffix) {
  WCHAR digits[12];
  int count = 0;
  unsigned v = unsigned(n);
  do {
    digits[count++] = WCHAR(u'0' + v % 10);
    v /= 10;
  } while (v);
  DWORD k = 0;
  buffer[0] = 0;
  for (LPCWSTR p = prefix; *p && k + 1 < cch; ++p) buffer[k++] = *p;
  for (int i = count - 1; i >= 0 && k + 1 < cch; --i) buffer[k++] = digits[i];
  for (LPCWSTR p = suffix; p && *p && k + 1 < cch; ++p) buffer[k++] = *p;
  buffer[k] = 0;
}

bool HasExtension(LPCWSTR path) {
  LPCWSTR leaf = PathFindLeaf(path);
  for (; *leaf; ++leaf)
    if (*leaf == u'.') return true;
  return false;
}

bool IsRsr(LPCWSTR path) {
  int count = 0;
  LPCWSTR ext = PathFindExtension(path, &count);
  return count == 3 && Lower(ext[0]) == u'r' && Lower(ext[1]) == u's' && Lower(ext[2]) == u'r';
}

void ShowInfo(DriverContext* ctx, WORD id) {
  WCHAR text[1025] = {};
  ResLoadString(ctx, id, text, 1025, TRUE);
  WuiMessageBox(nullptr, text, PrnGetPrinterName(ctx), MB_ICONINFORMATION | MB_OK);
}

void MarkRefreshed(DriverContext* ctx, LPCWSTR ini) {
  StoreMutexHold hold(ctx);
  IniWriteString(PrnGetPrinterName(ctx), TEXT("PresetRefresh"), TEXT("1"), ini);
  const DWORD one = 1;
  StoreSetPrinterDataBinary(ctx->printer, &one, sizeof one, TEXT("PresetRefresh"));
}

}  // namespace

namespace {

int KeepFactoryFileShared(LPCWSTR file, DriverContext* ctx) {
  return PresetEvalConditions(file, ctx) && PresetWatermarkFuncAllows(file, ctx);
}

// Frees the pack's leaves, the entries and the old values on every way out.
struct RebuildBuffers {
  WCHAR* packLeaves = nullptr;
  PresetListEntry* entries = nullptr;
  WCHAR* oldValues = nullptr;
  ~RebuildBuffers() {
    MemFree(packLeaves);
    MemFree(entries);
    MemFree(oldValues);
  }
};

// The printer's preset list read into the buffers (allocated again for its count) and each
// entry judged against the pack; false when memory runs out.
bool ReadAndJudgeList(DriverContext* ctx, const PresetRebuildRules& rules, LPCWSTR printer, LPCWSTR ini,
                      RebuildBuffers& buffers, int packEntries, int* countOut, bool* anyDroppedOut) {
  MemFree(buffers.entries);
  MemFree(buffers.oldValues);
  buffers.entries = nullptr;
  buffers.oldValues = nullptr;
  *countOut = 0;
  *anyDroppedOut = false;
  const int count = PresetGetCount(ctx);
  if (count) {
    buffers.entries = static_cast<PresetListEntry*>(MemAllocZero(size_t(count) * sizeof(PresetListEntry)));
    buffers.oldValues = static_cast<WCHAR*>(MemAllocZero(size_t(count) * kPath * sizeof(WCHAR)));
    if (!buffers.entries || !buffers.oldValues) return false;
  }
  bool anyDropped = false;
  for (int i = 0; i < count; ++i) {
    PresetListEntry& e = buffers.entries[i];
    WCHAR key[40];
    NumberedKey(key, 40, TEXT("PresetList"), i, nullptr);
    IniReadString(printer, key, TEXT(""), e.value, kPath, ini);
    NumberedKey(key, 40, TEXT("PresetList"), i, TEXT("Name"));
    IniReadString(printer, key, TEXT(""), e.name, kText, ini);
    NumberedKey(key, 40, TEXT("PresetList"), i, TEXT("Comment"));
    IniReadString(printer, key, TEXT(""), e.comment, kText, ini);
    StrCopyCut(buffers.oldValues + size_t(i) * kPath, kPath, e.value);
    if (!e.value[0] || !HasExtension(e.value)) continue;
    PresetRsdPath(e.file, e.value, kPath);
    if (IsRsr(e.value)) {
      LPCWSTR leaf = PathFindLeaf(e.file);
      for (int n = 0; n < packEntries; ++n) {
        if (!SameText(leaf, buffers.packLeaves + size_t(n) * kPath)) continue;
        e.drop = !rules.keepFactoryFile(e.value, ctx);
        break;
      }
    } else if (rules.keepOtherFile) {
      e.drop = !rules.keepOtherFile(e.value, ctx);
    }
    anyDropped = anyDropped || e.drop;
  }
  *countOut = count;
  *anyDroppedOut = anyDropped;
  return true;
}

}  // namespace

int PresetRebuildListWith(DriverContext* ctx, const PresetRebuildRules& rules, int* importResult) {
  if (importResult) *importResult = 0;
  if (!ctx || !ctx->ui) return kPresetRebuildUnusable;
  const WCHAR* ini = PathSettingsFile(ctx);
  if (!ini || !ini[0]) return kPresetRebuildUnusable;
  LPCWSTR printer = PrnGetPrinterName(ctx);
  LPCWSTR lang = ResGetLangCode(ctx);
  if (!lang || !lang[0]) return kPresetRebuildUnusable;
  RebuildBuffers buffers;

  // The pack and all its entries first: nothing changes when one cannot be read.
  WCHAR pack[kPath];
  if (IniReadString(printer, TEXT("DefaultRst"), TEXT(""), pack, kPath, ini) == 0) return kPresetRebuildUnusable;
  UINT packCount = IniReadInt(lang, TEXT("NumDeficonfiles"), 0xFFFF, pack);
  if (packCount == 0xFFFF && rules.needsPackCount) return kPresetRebuildUnusable;
  int packEntries = packCount == 0xFFFF ? 0 : packCount > UINT(kMaxEntries) ? kMaxEntries : int(packCount);
  if (packEntries) {
    buffers.packLeaves = static_cast<WCHAR*>(MemAllocZero(size_t(packEntries) * kPath * sizeof(WCHAR)));
    if (!buffers.packLeaves) return kPresetRebuildUnusable;
  }
  for (int n = 1; n <= packEntries; ++n) {
    WCHAR key[40], file[kPath];
    NumberedKey(key, 40, TEXT("Deficonfiles"), n, nullptr);
    if (IniReadString(lang, key, TEXT(""), file, kPath, pack) == 0 || !PresetResolveListPath(file, kPath, ctx))
      return kPresetRebuildUnusable;
    StrCopyCut(buffers.packLeaves + size_t(n - 1) * kPath, kPath, PathFindLeaf(file));
  }

  // The list is read, judged and rewritten under the global mutex, so that a preset another
  // process appends meanwhile is kept; the question to the user waits outside it, and the
  // rebuild is then applied to the list as it is after the answer.
  int count = 0;
  bool anyDropped = false;
  if (rules.ask) {
    {
      StoreMutexHold hold(ctx);
      if (!ReadAndJudgeList(ctx, rules, printer, ini, buffers, packEntries, &count, &anyDropped))
        return kPresetRebuildUnusable;
    }
    if (anyDropped && UiWarnById(ctx, nullptr, kMsgDropWarning, MB_OKCANCEL) != IDOK) return kPresetRebuildCancelled;
  }
  StoreMutexHold hold(ctx);
  if (!ReadAndJudgeList(ctx, rules, printer, ini, buffers, packEntries, &count, &anyDropped))
    return kPresetRebuildUnusable;
  const PresetListEntry* entries = buffers.entries;

  // The kept entries over the old ones, "Count" last: a failed write leaves the old list whole.
  int kept = 0;
  bool written = true;
  for (int i = 0; i < count && written; ++i) {
    const PresetListEntry& e = entries[i];
    if (e.drop) continue;
    WCHAR key[40];
    NumberedKey(key, 40, TEXT("PresetList"), kept, nullptr);
    written = IniWriteString(printer, key, e.value, ini) != 0;
    NumberedKey(key, 40, TEXT("PresetList"), kept, TEXT("Name"));
    written = written && IniWriteString(printer, key, e.name, ini) != 0;
    NumberedKey(key, 40, TEXT("PresetList"), kept, TEXT("Comment"));
    written = written && IniWriteString(printer, key, e.comment, ini) != 0;
    ++kept;
  }
  if (written) {
    WCHAR number[12];
    NumberedKey(number, 12, TEXT(""), kept, nullptr);
    written = kept == count || IniWriteString(printer, TEXT("Count"), number, ini);
  }
  // Whatever the cache holds belongs to the list as it was.
  if (rules.freeCache) PresetCacheOp(ctx, nullptr, kPresetCacheFreeAll);
  if (!written) return kPresetRebuildNotWritten;
  int imported = InstImportPresetFiles(pack, lang, 0xC1, ctx, count, buffers.oldValues);
  if (importResult) *importResult = imported;
  return kPresetRebuildDone;
}

int PresetRebuildList(DriverContext* ctx, int ask) {
  PresetRebuildRules rules = {};
  rules.keepFactoryFile = KeepFactoryFileShared;
  rules.ask = ask;
  int imported = 0;
  return PresetRebuildListWith(ctx, rules, &imported) == kPresetRebuildDone ? imported : 0;
}

int PresetRefreshOnOpen(DriverContext* ctx, int kind) {
  if (!ctx || !ctx->ui) return 1;
  if (!BuildHasFeatureFlag(1)) return 1;
  const WCHAR* ini = PathSettingsFile(ctx);
  if (!ini || !ini[0]) return 1;
  LPCWSTR printer = PrnGetPrinterName(ctx);
  const bool packDone = IniReadInt(printer, TEXT("PackInstallDone"), 0, ini) == 1;
  if (packDone && kind == 2) return 1;
  if (kind == 0 && (packDone || ItemGetRaw(ctx, ItemFind(ctx, kItem_zdmBiDirect)) == 1)) kind = 1;
  if (IniReadInt(printer, TEXT("PresetRefresh"), 0, ini) != 0) return 1;
  const bool terminalServer = OsIsTerminalServer(ctx->printer) != 0;
  if (kind == 0) {
    if (terminalServer) return 0;
    ShowInfo(ctx, kMsgRefreshInfo);
    ctx->ui->presetRefreshRunning = 1;
    ctx->ui->front.okFlag = 0;
    DlgRunSubDialog(ctx, kRefreshDialogMode, kRefreshDialog, nullptr);
    ctx->ui->presetRefreshRunning = 0;
    if (!ctx->ui->front.okFlag) return 1;
    StoreSaveDeviceSettings(ctx->printer, ctx);
    kind = 1;
  } else if (kind == 2) {
    if (terminalServer) return 0;
    ShowInfo(ctx, kMsgRefreshInfo);
  } else if (kind != 1) {
    return 1;
  }
  PresetRebuildList(ctx, 0);
  MarkRefreshed(ctx, ini);
  return 1;
}
