// The API context: the table of live contexts, enable and disable, the printer of a call and the
// DEVMODE and work-area snapshots.
#include "exclude/api/api_context.h"

#include <string.h>

#include <initializer_list>

#include "core/common/ini_access.h"
#include "core/common/mem.h"
#include "core/common/os_tests.h"
#include "core/context/context_cache.h"
#include "core/context/module_bus.h"
#include "core/context/settings_snapshot.h"
#include "core/context/ui_state.h"
#include "core/devmode/dm_layout.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/system/printer_names.h"
#include "core/system/resources.h"
#include "core/system/settings_folders.h"
#include "exclude/api/api_caps_lists.h"
#include "exclude/api/api_chapters.h"
#include "exclude/api/api_levels.h"
#include "exclude/api/api_records.h"
#include "exclude/api/api_services.h"
#include "exclude/exc_lock.h"

namespace {

constexpr int kNameChars = 261;
constexpr DWORD kFirstHandle = 0x5A450001u;  // handles count up from here and are never reused
constexpr int kModuleEventLoadStored = 12;
constexpr UINT kQualityBufferBytes = 520;
constexpr UINT kQualityNameString = 922;

struct HandleTable {
  ApiContext** rows;
  int count;
  int capacity;
  DWORD next;
};
HandleTable g_table = {nullptr, 0, 0, kFirstHandle};

class TableLock {
 public:
  TableLock() : lock_(ExcApiLock()) {
    if (lock_) EnterCriticalSection(lock_);
  }
  ~TableLock() {
    if (lock_) LeaveCriticalSection(lock_);
  }
  TableLock(const TableLock&) = delete;
  TableLock& operator=(const TableLock&) = delete;

 private:
  CRITICAL_SECTION* lock_;
};

// Index of a handle's row, -1 when none. Under the lock.
int FindRow(DWORD handle) {
  for (int i = 0; i < g_table.count; ++i)
    if (g_table.rows[i]->handle == handle) return i;
  return -1;
}

// Adds a context to the table with a new handle: 1, or 0 when the table cannot grow.
int AddRow(ApiContext* api) {
  TableLock hold;
  if (g_table.count == g_table.capacity) {
    const int capacity = g_table.capacity ? g_table.capacity * 2 : 8;
    auto* rows = static_cast<ApiContext**>(MemAllocZero(sizeof(ApiContext*) * static_cast<SIZE_T>(capacity)));
    if (!rows) return 0;
    if (g_table.count) memcpy(rows, g_table.rows, sizeof(ApiContext*) * static_cast<SIZE_T>(g_table.count));
    MemFree(g_table.rows);
    g_table.rows = rows;
    g_table.capacity = capacity;
  }
  api->handle = g_table.next++;
  g_table.rows[g_table.count++] = api;
  return 1;
}

void FreeState(ApiContext* api) {
  ApiState* state = api->state;
  if (!state) return;
  MemFree(state->constraintSnapshot);
  MemFree(state->qualitySnapshot);
  MemFree(state);
  api->state = nullptr;
}

// The state of a new context: snapshots sized for the highest level (the constraint snapshot
// for every status id there is, since the level may still rise), the quality snapshot, the
// chapter array. 0 on any allocation failure (what was made stays for the caller's free).
int MakeState(ApiContext* api) {
  DriverContext* ctx = api->ctx;
  auto* state = static_cast<ApiState*>(MemAllocZero(sizeof(ApiState)));
  if (!state) return 0;
  api->state = state;
  state->constraintIds = kApiLastStatusId;
  state->constraintSnapshot =
      static_cast<LONG*>(MemAllocZero(sizeof(LONG) * kApiSnapshotIntsPerId * state->constraintIds));
  if (!state->constraintSnapshot) return 0;
  state->qualitySnapshot = static_cast<BYTE*>(MemAllocZero(kDmBlockSize));
  if (!state->qualitySnapshot) return 0;
  if (BYTE* block = CtxGetSettings(ctx)) memcpy(state->qualitySnapshot, block, kDmBlockSize);
  state->lastError = 0;
  state->bitmapLimit = 0;  // until the application asks the size, the level decides
  // The chapter module owns the array (it grows with the limit); the interface works on it.
  return ChapterArray(ctx, nullptr) ? 1 : 0;
}

// Quality list 128: the file of quality list 0 with the character before its extension's dot
// made 'y', and its name from the language resources. 0 when the work buffer cannot be had.
int PrepareQualityList128(ApiContext* api) {
  DriverContext* ctx = api->ctx;
  auto* text = static_cast<WCHAR*>(MemAllocZero(kQualityBufferBytes));
  if (!text) return 0;
  const WCHAR* file = PathSettingsFile(ctx);
  const WCHAR* section = ctx->ui->printerName;
  const DWORD chars = kQualityBufferBytes / sizeof(WCHAR);
  IniReadString(section, TEXT("QualityList0"), TEXT(""), text, chars, file);
  int lastDot = -1;
  for (int i = 0; text[i]; ++i)
    if (text[i] == u'.') lastDot = i;
  // A dot at index 0 has no character before it: the name is left alone.
  if (lastDot > 0) {
    text[lastDot - 1] = u'y';
    IniWriteString(section, TEXT("QualityList128"), text, file);
    WCHAR name[kNameChars] = {};
    ResLoadString(ctx, kQualityNameString, name, kNameChars, FALSE);
    IniWriteString(section, TEXT("QualityList128Name"), name, file);
  }
  MemFree(text);
  return 1;
}

ApiContext* NewContext(const char* printerName) {
  if (!printerName || !printerName[0]) return nullptr;
  auto* api = static_cast<ApiContext*>(MemAllocZero(sizeof(ApiContext)));
  if (!api) return nullptr;
  strncpy(api->printerName, printerName, sizeof(api->printerName) - 1);
  api->level = ApiGetLevel();
  return api;
}

}  // namespace

DriverContext* ApiDriverCtx(ApiContext* api) { return api ? api->ctx : nullptr; }

ApiState* ApiGetState(ApiContext* api) { return api ? api->state : nullptr; }

LONG ApiLevel(const ApiContext* api) { return api ? api->level : ApiGetLevel(); }

BYTE* ApiSettings(ApiContext* api) { return api && api->ctx ? CtxGetSettings(api->ctx) : nullptr; }

void* ApiChapterArray(ApiContext* api, DWORD* count) {
  if (count) *count = 0;
  if (!ApiGetState(api)) return nullptr;
  return ChapterArray(api->ctx, count);
}

UINT ApiBitmapBytes(ApiContext* api) {
  UINT bytes = ApiBitmapSizeForLevel(ApiLevel(api));
  ApiState* state = ApiGetState(api);
  if (state && state->bitmapLimit && state->bitmapLimit < bytes) bytes = state->bitmapLimit;
  return bytes;
}

ApiContext* ApiEnterCall(void* handle) {
  const DWORD value = static_cast<DWORD>(reinterpret_cast<uintptr_t>(handle));
  if (!value) return nullptr;
  TableLock hold;
  const int row = FindRow(value);
  if (row < 0) return nullptr;
  ApiContext* api = g_table.rows[row];
  const DWORD me = GetCurrentThreadId();
  if (api->busyDepth > 0 && api->busyThread != me) return nullptr;
  if (api->busyDepth++ == 0) {
    api->busyThread = me;
    api->level = ApiGetLevel();
  }
  return api;
}

void ApiLeaveCall(ApiContext* api) {
  if (!api) return;
  TableLock hold;
  if (api->busyDepth > 0 && --api->busyDepth == 0) api->busyThread = 0;
}

int ApiLiveContextCount() {
  TableLock hold;
  return g_table.count;
}

ApiContext* ApiContextCreate(const char* printerName, int withState) {
  ApiContext* api = NewContext(printerName);
  if (!api) return nullptr;
  WCHAR wide[kNameChars] = {};
  HANDLE printer = nullptr;
  bool ok = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, printerName, -1, wide, kNameChars) > 0 &&
            OpenPrinterW(wide, &printer, nullptr);
  if (ok) {
    // The printer's DEVMODE is fetched once as the system's printing path does; it is not used.
    const LONG size = DocumentPropertiesW(nullptr, printer, wide, nullptr, nullptr, 0);
    void* dm = size > 0 ? MemAllocZero(static_cast<SIZE_T>(size)) : nullptr;
    if (size > 0 && !dm) ok = false;
    if (dm) DocumentPropertiesW(nullptr, printer, wide, static_cast<DEVMODEW*>(dm), nullptr, DM_OUT_BUFFER);
    MemFree(dm);
  }
  if (ok) {
    api->ctx = CtxOpenByKind(printer, printer, nullptr, kKindApplicationApi);
    ok = api->ctx != nullptr;
  }
  if (ok) {
    if (!ApiCapsPresent(api, 34)) ApiResetShiftIfNoRange(api);
    UiState* ui = api->ctx->ui;
    if (ui) {
      WCHAR* field = ui->printerName;
      if (OsIsVistaOrLater() && PrnIsOnServer(api->ctx)) field = api->serverName;
      memset(field, 0, sizeof(WCHAR) * kNameChars);
      MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, printerName, -1, field, kNameChars - 1);
      ok = !withState || MakeState(api);
      if (ok && withState) ModBusSendEvent(api->ctx, kModuleEventLoadStored, nullptr);
    }
  }
  if (ok) {
    DmSetEnvironmentFlags(api->ctx);
    ApiSetEnvironmentFlagsOS(api);
    if (api->ctx->ui && withState) {
      ok = PrepareQualityList128(api) != 0;
      if (ok && !ApiWatermarkZeroStored(api)) ApiPrepareScratchWatermark(api);
      if (ok) ApiBindPresetControl(kItem_zdmPresetNo, api);
    }
  }
  if (ok && withState) ApiMarkUsableEntries(api);
  if (printer) ClosePrinter(printer);
  // The handle just closed must not stay in the context: every later call opens its own.
  if (api->ctx) {
    api->ctx->printer = nullptr;
    api->ctx->secondHandle = nullptr;
  }
  api->printer = nullptr;
  if (!ok) {
    ApiContextFree(api);
    return nullptr;
  }
  return api;
}

void ApiContextFree(ApiContext* api) {
  if (!api) return;
  FreeState(api);
  if (api->ctx) CtxClose(api->ctx);
  CtxCacheExpire(TRUE);
  MemFree(api);
}

void* ApiContextOpen(const char* printerName) {
  ApiContext* api = ApiContextCreate(printerName, 1);
  if (!api) return nullptr;
  if (!AddRow(api)) {
    ApiContextFree(api);
    return nullptr;
  }
  return reinterpret_cast<void*>(static_cast<uintptr_t>(api->handle));
}

int ApiContextClose(void* handle) {
  const DWORD value = static_cast<DWORD>(reinterpret_cast<uintptr_t>(handle));
  ApiContext* api = nullptr;
  {
    TableLock hold;
    const int row = value ? FindRow(value) : -1;
    if (row < 0) return 1;
    api = g_table.rows[row];
    if (api->busyDepth > 0) return 0;
    g_table.rows[row] = g_table.rows[--g_table.count];
    if (g_table.count == 0) {
      MemFree(g_table.rows);
      g_table.rows = nullptr;
      g_table.capacity = 0;
    }
  }
  ApiCapsForgetMeasures(value);
  ApiContextFree(api);
  return 1;
}

int ApiOpenPrinter(ApiContext* api, HANDLE* printer, PRINTER_DEFAULTSW* defaults) {
  if (printer) *printer = nullptr;
  if (!api || !api->ctx || !api->ctx->ui || !printer) return 0;
  UiState* ui = api->ctx->ui;
  if (!ui->printerName[0]) return 0;
  WCHAR name[kNameChars] = {};
  const WCHAR* source = ui->printerName;
  if (OsIsVistaOrLater() && ui->printerName[0] == u'\\' && ui->printerName[1] == u'\\') {
    if (!api->serverName[0]) return 0;
    source = api->serverName;
  }
  for (int i = 0; i < kNameChars - 1 && source[i]; ++i) name[i] = source[i];
  HANDLE handle = nullptr;
  if (!OpenPrinterW(name, &handle, defaults)) return 0;
  api->ctx->printer = handle;
  api->ctx->secondHandle = handle;
  api->printer = handle;
  *printer = handle;
  return 1;
}

void ApiClosePrinter(ApiContext* api, HANDLE printer) {
  if (!printer) return;
  ClosePrinter(printer);
  if (api && api->ctx && api->ctx->printer == printer) {
    api->ctx->printer = nullptr;
    api->ctx->secondHandle = nullptr;
  }
  if (api && api->printer == printer) api->printer = nullptr;
}

BYTE* ApiSnapshotDevmode(ApiContext* api) {
  BYTE* block = ApiSettings(api);
  if (!block) return nullptr;
  auto* copy = static_cast<BYTE*>(MemAllocZero(kDmSize));
  if (copy) memcpy(copy, block, kDmSize);
  return copy;
}

void ApiSnapshotDevmodeRestore(ApiContext* api, BYTE* copy, int restore) {
  BYTE* block = ApiSettings(api);
  if (copy && restore && block) memcpy(block, copy, kDmSize);
  MemFree(copy);
}

BYTE* ApiSnapshotWorkArea(ApiContext* api) {
  BYTE* block = ApiSettings(api);
  if (!block) return nullptr;
  auto* copy = static_cast<BYTE*>(MemAllocZero(kDmWorkAreaSize));
  if (copy) memcpy(copy, block + kDmSize + kDmExtAreaSize, kDmWorkAreaSize);
  return copy;
}

void ApiSnapshotWorkAreaRestore(ApiContext* api, BYTE* copy, int restore) {
  BYTE* block = ApiSettings(api);
  if (copy && restore && block) memcpy(block + kDmSize + kDmExtAreaSize, copy, kDmWorkAreaSize);
  MemFree(copy);
}

BYTE* ApiCopySettingsBlock(ApiContext* api) {
  BYTE* block = ApiSettings(api);
  if (!block) return nullptr;
  auto* copy = static_cast<BYTE*>(MemAllocZero(kDmBlockSize));
  if (!copy) return nullptr;
  memcpy(copy, block, kDmBlockSize);
  CtxDuplicateFontTables(api->ctx, copy);
  // A font table that could not be duplicated comes back with count 0: such a copy could not
  // restore the settings, so there is no copy.
  for (WORD count : {kItem_zdmDeviceFontNum, kItem_zdmOptionFontNum, kItem_zdmFontTableNum}) {
    SettingItem* row = ItemFind(api->ctx, count);
    if (row && ApiReadSettingFromImage(api, row, copy) != ApiReadSettingFromImage(api, row, block)) {
      ApiDropSettingsBlock(api, copy);
      return nullptr;
    }
  }
  return copy;
}

void ApiRestoreSettingsBlock(ApiContext* api, BYTE* copy) {
  BYTE* block = ApiSettings(api);
  if (!copy) return;
  if (!block) {
    ApiDropSettingsBlock(api, copy);
    return;
  }
  CtxFreeFontTables(api->ctx, block);
  memcpy(block, copy, kDmBlockSize);  // the copy's font tables now belong to the block
  MemFree(copy);
}

void ApiDropSettingsBlock(ApiContext* api, BYTE* copy) {
  if (!copy) return;
  if (api && api->ctx) CtxFreeFontTables(api->ctx, copy);
  MemFree(copy);
}
