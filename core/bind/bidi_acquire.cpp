// Bidirectional option acquisition through the printer's communication library. Each
// acquisition loads the library, has it fill a table of its own and frees the library when it
// ends, so two acquisitions on two threads never share a table or call through a library the
// other one freed.
#include "core/bind/bidi_acquire.h"

#include <string.h>

#include "core/bind/bidi_answers.h"
#include "core/bind/bidi_api.h"
#include "core/bind/bidi_store.h"
#include "core/bind/export_of.h"
#include "core/bind/remote_config.h"
#include "core/common/ini_access.h"
#include "core/common/mem.h"
#include "core/common/os_tests.h"
#include "core/context/driver_context.h"
#include "core/context/module_bus.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/store/item_store.h"
#include "core/install/model_database.h"
#include "core/system/driver_paths.h"
#include "core/system/languages.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "core/system/user_messages.h"

const WCHAR kBidiLibraryName[] = TEXT("ov4manNT.dll");
const WCHAR kBidiLibraryName9x[] = TEXT("ovoman32.dll");
const char kBidiInitializeExport[] = "OrvelInitializeBidiApiW";

namespace {

constexpr DWORD kInfoMemory = 11;
constexpr DWORD kInfoSystemVersion = 8;
constexpr DWORD kGroupEmulationVersion = 2;
constexpr DWORD kGroupMemoryType = 258;
constexpr DWORD kGroupOther = 259;

constexpr WORD kIdBidiFunc = 722;
constexpr WORD kIdPrinterMemory = 10012;
constexpr WORD kIdMemoryType = 10013;
constexpr WORD kIdSystemVersion = 10271;
constexpr WORD kIdEmulationVersion = 10272;
constexpr WORD kIdOther = 10274;
constexpr DWORD kVersionBytes = 16;
constexpr DWORD kOtherBytes = 33;

constexpr WORD kStringWait = 7001;
constexpr WORD kMessageFailed = 7002;

// The model list of the model data file ends at the first empty entry; a file that lists
// more models than this is not walked further (no listed model matched).
constexpr int kMaxModelSections = 256;

// Items zeroed before a full acquisition: input options, output options and the tray fields
// and orientations.
struct IdRange {
  WORD first, last;
};
constexpr IdRange kClearedBeforeAcquisition[] = {
    {10014, 10045}, {10046, 10109}, {10290, 10353}, {10111, 10174}};

const WCHAR kGateKey[] = TEXT("bIsBIDISupportForZEMS");
const WCHAR kModelGateKey[] = TEXT("bIsBIDISupportForZEMSModel");

// One load of the library with the table it filled; freed when the acquisition ends.
class BidiLibrary {
 public:
  BidiLibrary() { memset(&table_, 0, sizeof table_); }
  ~BidiLibrary() {
    if (module_) FreeLibrary(module_);
  }
  BidiLibrary(const BidiLibrary&) = delete;
  BidiLibrary& operator=(const BidiLibrary&) = delete;

  bool Load(DWORD flags) {
    const WCHAR* name = (flags & kBidiExclusionPath) && OsIsWin9x() ? kBidiLibraryName9x : kBidiLibraryName;
    module_ = LoadLibraryW(name);
    if (!module_) return false;
    BidiInitializeFn initialize = ExportOf<BidiInitializeFn>(module_, kBidiInitializeExport);
    if (!initialize) return false;
    initialize(&table_);
    // An entry point the driver needs and the library left empty is a library that cannot
    // serve: never call through null.
    return table_.openPrinter && table_.closePrinter && table_.beginQuery && table_.getModelName &&
           table_.getInformation;
  }
  const BidiFuncTable* table() const { return &table_; }

 private:
  HMODULE module_ = nullptr;
  BidiFuncTable table_;
};

// The printer opened through slot 0; closed through slot 1 when the open succeeded.
class BidiPrinter {
 public:
  explicit BidiPrinter(const BidiFuncTable* table) : table_(table) {}
  ~BidiPrinter() {
    if (opened_) table_->closePrinter(handle_);
  }
  BidiPrinter(const BidiPrinter&) = delete;
  BidiPrinter& operator=(const BidiPrinter&) = delete;

  // 1 when the printer opened and reports ready.
  bool Open(DriverContext* ctx) {
    DWORD ready = 0;
    const WCHAR* name = PrnGetPrinterName(ctx);
    opened_ = table_->openPrinter(name, &handle_, &ready) != 0;
    if (!opened_ || !ready) BidiRecordApiError(ctx);
    return opened_ && ready != 0;
  }
  HANDLE handle() const { return handle_; }

 private:
  const BidiFuncTable* table_;
  HANDLE handle_ = nullptr;
  bool opened_ = false;
};

struct Buffer {
  explicit Buffer(SIZE_T bytes) : data(static_cast<BYTE*>(MemAllocZero(bytes))) {}
  ~Buffer() { MemFree(data); }
  Buffer(const Buffer&) = delete;
  Buffer& operator=(const Buffer&) = delete;
  BYTE* data;
};

bool SameText(const WCHAR* a, const WCHAR* b) {
  while (*a && *a == *b) ++a, ++b;
  return *a == *b;
}

void SectionName(int n, WCHAR* out) {
  static const char kPrefix[] = "Models";
  int i = 0;
  for (; kPrefix[i]; ++i) out[i] = WCHAR(kPrefix[i]);
  WCHAR digits[12];
  int d = 0;
  do {
    digits[d++] = WCHAR(u'0' + n % 10);
    n /= 10;
  } while (n);
  while (d) out[i++] = digits[--d];
  out[i] = 0;
}

int ReadGate(DriverContext* ctx, const WCHAR* key) {
  const WCHAR* path = PathSettingsFile(ctx);
  if (!path || !path[0]) return 1;
  return int(IniReadInt(ResGetLangCodeAlias(ctx), key, 1, path));
}

// The model test of the acquisition: the printer's reported name against the driver's list of
// models ("Models1", "Models2" ... of the model data file) or, without a list, against the
// driver's own model name. Names are compared only while "bIsBIDISupportForZEMSModel" is 1.
bool ModelMatches(DriverContext* ctx, const WCHAR* reported, const WCHAR* own) {
  if (ReadGate(ctx, kModelGateKey) != 1) return true;
  const WCHAR* file = PathModelDataFile(ctx);
  const WCHAR* driver = PrnGetDriverName(ctx);
  WCHAR section[24];
  WCHAR entry[kModelNameChars];
  for (int n = 1; n <= kMaxModelSections; ++n) {
    SectionName(n, section);
    entry[0] = 0;
    if (file && file[0] && driver && driver[0]) IniReadString(section, driver, TEXT(""), entry, kModelNameChars, file);
    if (!entry[0]) return n == 1 ? SameText(reported, own) : false;
    if (SameText(entry, reported)) return true;
  }
  return false;
}

// Opens the group; a zero result counts as opened when the last error is 102.
bool OpenGroup(const BidiFuncTable* table, HANDLE printerHandle, HANDLE* group, DriverContext* ctx) {
  if (!table->openGroup) return false;
  SetLastError(0);
  if (table->openGroup(printerHandle, group, kBidiGroupId, 1)) return true;
  if (GetLastError() == kBidiAcceptedZero) return true;
  BidiRecordApiError(ctx);
  return false;
}

void ReadGroupText(const BidiFuncTable* table, HANDLE group, DWORD item, WORD id, DWORD itemBytes,
                   DriverContext* ctx) {
  BidiAnswer text;
  if (text.ReadGroupItem(table, group, item, itemBytes) == BidiRead::kRead)
    BidiStoreText(ctx, id, text.data(), text.bytes());
}

void SetBiDirect(DriverContext* ctx, int value) { ItemSetRawById(ctx, kItem_zdmBiDirect, value); }

// Steps 2-5 and 8 of an update: 1 when acquired; *skipped when the gate was closed.
int GuardedAcquire(DriverContext* ctx, DWORD flags, bool wait, bool* gateClosed) {
  *gateClosed = false;
  Buffer system(kVersionBytes), emulation(kVersionBytes);
  if (!system.data || !emulation.data) return 0;
  if (!BidiIsSupported(ctx)) {
    *gateClosed = true;
    return 1;
  }
  int result = 0;
  if (PrnIsBidiEnabled(ctx) && BidiCanConnect(ctx, flags)) {
    HWND dialog = wait ? UiShowWaitDialog(ctx, kStringWait) : nullptr;
    result = BidiAcquire(flags, ctx);
    if (dialog) UiCloseWaitDialog(dialog);
  }
  if (!result) {
    BidiStoreText(ctx, kIdSystemVersion, system.data, kVersionBytes);
    BidiStoreText(ctx, kIdEmulationVersion, emulation.data, kVersionBytes);
  }
  return result;
}

}  // namespace

int BidiIsSupported(DriverContext* ctx) {
  if (!ctx) return 0;
  const WCHAR* path = PathSettingsFile(ctx);
  if (!path || !path[0] || path[1] != u':') return 0;
  return ReadGate(ctx, kGateKey) == 1 ? 1 : 0;
}

int BidiCanConnect(DriverContext* ctx, DWORD flags) {
  if (!ctx) return 0;
  BidiLibrary library;
  if (!library.Load(flags)) return 0;
  BidiPrinter printer(library.table());
  return printer.Open(ctx) ? 1 : 0;
}

int BidiAcquire(DWORD flags, DriverContext* ctx) {
  if (!ctx) return 0;
  Buffer reportedBuffer(kModelNameChars * sizeof(WCHAR));
  WCHAR* reported = reinterpret_cast<WCHAR*>(reportedBuffer.data);
  const WCHAR* ownName = InstReadModelName(ctx);
  if (!reported || !ownName) return 0;
  WCHAR own[kModelNameChars] = {};
  for (DWORD i = 0; i + 1 < kModelNameChars && ownName[i]; ++i) own[i] = ownName[i];

  BidiLibrary library;
  if (!library.Load(flags)) return 0;
  const BidiFuncTable* table = library.table();
  BidiPrinter printer(table);
  if (!printer.Open(ctx)) return 0;
  if (!table->getModelName(printer.handle(), 0, reported, kModelNameChars)) {
    BidiRecordApiError(ctx);
    return 0;
  }
  // The library may fill all 33 characters: the name is cut to 32 and terminated.
  reported[kModelNameChars - 1] = 0;
  if (!ModelMatches(ctx, reported, own)) return 0;

  HANDLE query = nullptr;
  DWORD out = 0;
  // A zero result is judged by the last error: clear it, so that a stale 102 never passes.
  SetLastError(0);
  if (!table->beginQuery(printer.handle(), &query, (flags & kBidiStatusOnly) ? kBidiQueryStatus : kBidiQueryFull,
                         &out) &&
      GetLastError() != kBidiAcceptedZero) {
    BidiRecordApiError(ctx);
    return 0;
  }
  if (flags & kBidiStatusOnly) return BidiQueryVersions(table, printer.handle(), query, ctx);
  return BidiQueryAll(table, printer.handle(), query, ctx);
}

int BidiApplyMemory(const BidiFuncTable* table, HANDLE query, DriverContext* ctx) {
  BidiAnswer memory;
  switch (memory.ReadInformation(table, query, kInfoMemory, 4)) {
    case BidiRead::kNoMemory:
      return 0;
    case BidiRead::kRead:
      if (memory.neededBytes() > 3) ItemSetRawById(ctx, kIdPrinterMemory, LONG_PTR(memory.Word(0) >> 10));
      return 1;
    default:
      return 1;
  }
}

int BidiApplySystemVersion(const BidiFuncTable* table, HANDLE query, DriverContext* ctx) {
  BidiAnswer text;
  switch (text.ReadInformation(table, query, kInfoSystemVersion, kVersionBytes)) {
    case BidiRead::kNoMemory:
      return 0;
    case BidiRead::kRead:
      BidiStoreText(ctx, kIdSystemVersion, text.data(), text.bytes());
      return 1;
    default:
      return 1;
  }
}

int BidiApplyEmulationVersion(const BidiFuncTable* table, HANDLE printerHandle, DriverContext* ctx) {
  HANDLE group = nullptr;
  if (!table || !OpenGroup(table, printerHandle, &group, ctx)) return 1;
  ReadGroupText(table, group, kGroupEmulationVersion, kIdEmulationVersion, kVersionBytes, ctx);
  return 1;
}

int BidiApplyGroupInfo(const BidiFuncTable* table, HANDLE printerHandle, DriverContext* ctx) {
  HANDLE group = nullptr;
  if (!table || !OpenGroup(table, printerHandle, &group, ctx) || !table->getGroupItem) return 1;
  DWORD type = 0, needed = 0;
  if (table->getGroupItem(group, kBidiGroupId, kGroupMemoryType, &type, sizeof type, &needed)) {
    if (needed == 0) {
      ItemSetRawById(ctx, kIdMemoryType, 1);
      return 1;
    }
    ItemSetRawById(ctx, kIdMemoryType, type == 2 ? 0 : 1);
  }
  ReadGroupText(table, group, kGroupEmulationVersion, kIdEmulationVersion, kVersionBytes, ctx);
  ReadGroupText(table, group, kGroupOther, kIdOther, kOtherBytes, ctx);
  return 1;
}

int BidiQueryVersions(const BidiFuncTable* table, HANDLE printerHandle, HANDLE query, DriverContext* ctx) {
  int result = BidiApplySystemVersion(table, query, ctx);
  if (result) BidiApplyEmulationVersion(table, printerHandle, ctx);
  return result;
}

int BidiQueryAll(const BidiFuncTable* table, HANDLE printerHandle, HANDLE query, DriverContext* ctx) {
  BYTE* area = CtxGetExtArea(ctx);
  if (!area) return 0;
  Buffer saved(kExtensionAreaSize);
  if (!saved.data) return 0;
  memcpy(saved.data, area, kExtensionAreaSize);
  for (const IdRange& range : kClearedBeforeAcquisition)
    for (WORD id = range.first; id <= range.last; ++id)
      if (ItemFind(ctx, id)) ItemSetRawById(ctx, id, 0);

  const int ok = BidiApplyTrayInfo(table, query, ctx) && BidiApplyInstalledOptions(table, query, ctx) &&
                 BidiApplyMemory(table, query, ctx) && BidiApplySystemVersion(table, query, ctx);
  if (!ok) {
    // Nothing of a partial result stays.
    memcpy(area, saved.data, kExtensionAreaSize);
    return 0;
  }
  ModBusSendEvent(ctx, kBidiEventAcquired, nullptr);
  BidiApplyGroupInfo(table, printerHandle, ctx);
  StoreSavePersistedItems(ctx->printer, ctx, kStoreClassDevice, kStoreSaveForced);
  return 1;
}

int BidiUpdateFromPrinter(DriverContext* ctx, HWND parent, DWORD flags) {
  (void)parent;  // the wait dialog is owned by the active window
  if (!ctx) return 0;
  if (RemoteConfigState(ctx) == 1) return 1;
  bool gateClosed = false;
  int result = GuardedAcquire(ctx, flags, (flags & kBidiShowWait) != 0, &gateClosed);
  if (gateClosed) {
    SetBiDirect(ctx, 0);
    return 1;
  }
  if (!result) {
    SetBiDirect(ctx, 0);
    return 0;
  }
  BidiWriteFlag(ctx->printer, 1);
  BidiWriteFunc(ctx->printer, BYTE(ItemGetRawById(ctx, kIdBidiFunc)));
  SetBiDirect(ctx, 1);
  if (BidiCanWritePrinterData(ctx))
    BidiDeleteIniSection(ctx);
  else if (ItemGetRawById(ctx, kItem_zdmServerClientMode) != 1)
    BidiSaveIniSettings(ctx);
  return 1;
}

int BidiUpdateFromPrinterUi(DriverContext* ctx, HWND parent) {
  return BidiUpdateFromPrinter(ctx, parent, kBidiShowWait);
}

int BidiUpdateFromPrinterSilent(DriverContext* ctx) {
  return BidiUpdateFromPrinter(ctx, nullptr, kBidiFromOptionBlock);
}

int BidiAcquireStatusBlobs(DriverContext* ctx, HWND parent) {
  (void)parent;
  if (!ctx) return 0;
  bool gateClosed = false;
  return GuardedAcquire(ctx, kBidiStatusOnly, true, &gateClosed);
}

void BidiShowFailure(DriverContext* ctx, HWND parent) { UiWarnById(ctx, parent, kMessageFailed, MB_OK); }
