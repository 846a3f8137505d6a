// The bidirectional state store: BidiFlag, BidiFunc and BidiExFlag in printer data or the
// bidi ini, the acquired settings in the bidi ini, and what the sheets do with them.
#include "core/bind/bidi_store.h"

#include "core/bind/bidi_acquire.h"
#include "core/common/ini_access.h"
#include "core/common/mem.h"
#include "core/context/driver_context.h"
#include "core/context/module_bus.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/install/default_packs.h"
#include "core/store/item_store.h"
#include "core/store/settings_file.h"
#include "core/system/folder_security.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"

const WCHAR kBidiIniName[] = TEXT("OV00C171.ini");

namespace {

const WCHAR kFlag[] = TEXT("BidiFlag");
const WCHAR kFunc[] = TEXT("BidiFunc");
const WCHAR kExFlag[] = TEXT("BidiExFlag");

constexpr WORD kIdBidiFunc = 722;
constexpr WORD kIdWdmChapterTray = 1003;
constexpr int kAbsent = 7;

// The bidi ini's path, built anew for each operation; empty when it cannot be had.
class IniPath {
 public:
  explicit IniPath(DriverContext* ctx) : text_(static_cast<WCHAR*>(MemAllocZero(MAX_PATH * sizeof(WCHAR)))) {
    if (text_ && ctx && !PathInSettingsFolder(text_, MAX_PATH, kBidiIniName, ctx)) text_[0] = 0;
  }
  ~IniPath() { MemFree(text_); }
  IniPath(const IniPath&) = delete;
  IniPath& operator=(const IniPath&) = delete;
  bool ok() const { return text_ && text_[0]; }
  LPCWSTR get() const { return text_; }

 private:
  WCHAR* text_;
};

int ReadIni(DriverContext* ctx, LPCWSTR key, int def, int* ok) {
  IniPath path(ctx);
  *ok = path.ok() ? 1 : 0;
  if (!path.ok()) return def;
  return int(IniReadInt(PrnGetPrinterName(ctx), key, def, path.get()));
}

int WriteIni(DriverContext* ctx, LPCWSTR key, LPCWSTR value) {
  IniPath path(ctx);
  if (!path.ok()) return 0;
  return IniWriteString(PrnGetPrinterName(ctx), key, value, path.get()) ? 1 : 0;
}

int HasKey(DriverContext* ctx, LPCWSTR key) {
  int ok = 0;
  int value = ReadIni(ctx, key, kAbsent, &ok);
  return ok && value != kAbsent ? 1 : 0;
}

int KeyIsSet(DriverContext* ctx, LPCWSTR key) {
  int ok = 0;
  int value = ReadIni(ctx, key, 0, &ok);
  return ok && value != 0 ? 1 : 0;
}

void Decimal(DWORD value, WCHAR* text) {
  WCHAR digits[12];
  int n = 0;
  do {
    digits[n++] = WCHAR(u'0' + value % 10);
    value /= 10;
  } while (value);
  for (int i = 0; i < n; ++i) text[i] = digits[n - 1 - i];
  text[n] = 0;
}

bool ServerClient(DriverContext* ctx) { return ItemGetRawById(ctx, kItem_zdmServerClientMode) == 1; }

// The bidi ini holds the store of the ex flag (server-client mode not 1, key present).
bool IniHoldsExFlag(DriverContext* ctx) { return !ServerClient(ctx) && BidiIniHasExFlag(ctx); }

// Steps 1 and 2 of the ex-flag test (ini or printer data).
int ExFlagStored(DriverContext* ctx) {
  if (IniHoldsExFlag(ctx)) return BidiIniExFlagIsSet(ctx);
  return BidiPrinterExFlagIsSet(ctx->printer);
}

void BidiSetUnlessApplied(DriverContext* ctx, WORD target, WORD source) {
  if (ExFlagStored(ctx)) return;
  SettingItem* row = ItemFind(ctx, target);
  if (row && ItemFind(ctx, source)) ItemSetRaw(ctx, row, ItemGetRawById(ctx, source));
}

}  // namespace

// ---- printer data ----

int BidiReadFlag(HANDLE printer, DWORD* value) { return value ? StoreGetPrinterData(printer, value, 4, kFlag) : 0; }
int BidiWriteFlag(HANDLE printer, DWORD value) { return StoreSetPrinterDataBinary(printer, &value, 4, kFlag); }
int BidiReadFunc(HANDLE printer, BYTE* value) { return value ? StoreGetPrinterData(printer, value, 1, kFunc) : 0; }
int BidiWriteFunc(HANDLE printer, BYTE value) { return StoreSetPrinterDataBinary(printer, &value, 1, kFunc); }
int BidiReadExFlag(HANDLE printer, DWORD* value) {
  return value ? StoreGetPrinterData(printer, value, 4, kExFlag) : 0;
}
int BidiWriteExFlag(HANDLE printer, DWORD value) { return StoreSetPrinterDataBinary(printer, &value, 4, kExFlag); }

int BidiFlagIsAcquired(HANDLE printer, DriverContext* ctx) {
  (void)ctx;
  DWORD value = 0;
  return BidiReadFlag(printer, &value) && (value & 1) ? 1 : 0;
}

int BidiPrinterExFlagIsSet(HANDLE printer) {
  DWORD value = 0;
  return BidiReadExFlag(printer, &value) && (value & 1) ? 1 : 0;
}

int BidiCanWritePrinterData(DriverContext* ctx) {
  if (!ctx) return 0;
  DWORD value = 0;
  if (!BidiReadFlag(ctx->printer, &value)) return 0;
  return BidiWriteFlag(ctx->printer, value);
}

// ---- the bidi ini ----

int BidiIniHasFlag(DriverContext* ctx) { return ctx ? HasKey(ctx, kFlag) : 0; }
int BidiIniFlagIsSet(DriverContext* ctx) { return ctx ? KeyIsSet(ctx, kFlag) : 0; }
int BidiIniWriteFlag(DriverContext* ctx, int value) {
  return ctx ? WriteIni(ctx, kFlag, value ? TEXT("1") : TEXT("0")) : 0;
}

int BidiIniLoadFunc(DriverContext* ctx) {
  if (!ctx) return 0;
  int ok = 0;
  int value = ReadIni(ctx, kFunc, 0, &ok);
  if (!ok) return 0;
  return ItemSetRawById(ctx, kIdBidiFunc, value) ? 1 : 0;
}

int BidiIniWriteFunc(DriverContext* ctx, DWORD mask) {
  if (!ctx) return 0;
  WCHAR text[12];
  Decimal(mask & 0xFF, text);
  return WriteIni(ctx, kFunc, text);
}

int BidiIniHasExFlag(DriverContext* ctx) { return ctx ? HasKey(ctx, kExFlag) : 0; }
int BidiIniExFlagIsSet(DriverContext* ctx) { return ctx ? KeyIsSet(ctx, kExFlag) : 0; }
int BidiIniWriteExFlag(DriverContext* ctx, int value) {
  return ctx ? WriteIni(ctx, kExFlag, value ? TEXT("1") : TEXT("0")) : 0;
}

int BidiDeleteIniSection(DriverContext* ctx) { return ctx ? WriteIni(ctx, nullptr, nullptr) : 0; }

int BidiIniEnsureFile(DriverContext* ctx) {
  IniPath path(ctx);
  if (!path.ok()) return 0;
  // Create only when new: a file that another process has just made (and perhaps written)
  // is never truncated, and only a new file gets the CR LF.
  HANDLE file = CreateFileW(path.get(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(file, "\r\n", 2, &written, nullptr);
    CloseHandle(file);
  } else if (GetFileAttributesW(path.get()) == INVALID_FILE_ATTRIBUTES) {
    return 0;
  }
  return FolderGrantEveryone(path.get(), 1) ? 1 : 0;
}

// ---- the acquired settings ----

int BidiLoadIniSettings(DriverContext* ctx) {
  if (!ctx) return 0;
  IniPath path(ctx);
  if (!path.ok()) return 0;
  int result = StoreLoadSettingsFile(ctx->printer, path.get(), kStoreFileExtended, ctx);
  BidiIniLoadFunc(ctx);
  return result;
}

int BidiLoadFuncFromFile(LPCWSTR path, DriverContext* ctx) {
  if (!ctx || !path) return 0;
  return ItemSetRawById(ctx, kIdBidiFunc, LONG_PTR(IniReadInt(PrnGetPrinterName(ctx), kFunc, 0, path))) ? 1 : 0;
}

int BidiLoadSettingsFromFile(LPCWSTR path, DriverContext* ctx) {
  if (!ctx || !path) return 0;
  int result = StoreLoadSettingsFile(ctx->printer, path, kStoreFileExtended, ctx);
  BidiLoadFuncFromFile(path, ctx);
  return result;
}

int BidiSaveIniSettings(DriverContext* ctx) {
  if (!ctx) return 0;
  int result;
  {
    IniPath path(ctx);
    if (!path.ok()) return 0;
    result = StoreSaveSettingsFile(ctx->printer, path.get(), kStoreFileExtended, ctx);
  }
  BidiIniWriteFlag(ctx, 1);
  BidiIniWriteFunc(ctx, DWORD(ItemGetRawById(ctx, kIdBidiFunc)));
  BidiIniWriteExFlag(ctx, 1);
  return result;
}

// ---- state of the sheets ----

void BidiSetExFlag(DriverContext* ctx) {
  if (!ctx) return;
  if (IniHoldsExFlag(ctx))
    BidiIniWriteExFlag(ctx, 1);
  else
    BidiWriteExFlag(ctx->printer, 1);
}

int BidiExFlagIsSet(DriverContext* ctx) {
  if (!ctx) return 0;
  int answer = ExFlagStored(ctx);
  // A user who cannot write printer data could never set the flag: the defaults are not
  // offered to him at all.
  if (!answer && !BidiCanWritePrinterData(ctx)) answer = 1;
  return answer;
}

void BidiApplyAcquiredDefaults(DriverContext* ctx) {
  if (!ctx) return;
  if (BidiExFlagIsSet(ctx) || InstHasBatchPack(ctx)) return;
  BidiSetUnlessApplied(ctx, 125, 10276);  // zdmCoverInputTray := zdmCoverDefTray
  BidiSetUnlessApplied(ctx, 127, 10276);  // zdmBackCoverInputTray := zdmCoverDefTray
  BidiSetUnlessApplied(ctx, 123, 10277);  // zdmMPInputTray := zdmMPDefTray
  BidiSetUnlessApplied(ctx, 408, 10288);  // zdmReverseCoverInputTray := zdmReverseCoverDefTray
  SettingItem* chapter = ItemFind(ctx, kIdWdmChapterTray);
  if (!chapter) return;
  ItemSetRaw(ctx, chapter, ItemGetRawById(ctx, 10278));  // wdmChapterTray := zdmChapterDefTray1
  const WCHAR* name = ItemGetName(ctx, kIdWdmChapterTray);
  const WCHAR* path = PathSettingsFile(ctx);
  if (!name || !name[0] || !path || !path[0]) return;
  LONG value = LONG(ItemGetRaw(ctx, chapter));
  WCHAR text[16];
  if (value < 0) {
    text[0] = u'-';
    Decimal(DWORD(-(long long)value), text + 1);
  } else {
    Decimal(DWORD(value), text);
  }
  IniWriteString(PrnGetPrinterName(ctx), name, text, path);
}

int BidiSetPendingBySupport(DriverContext* ctx) {
  if (!ctx) return 1;
  ItemSetRawById(ctx, kItem_zdmBiDirect, BidiIsSupported(ctx) ? 1 : 0);
  return 1;
}

int BidiAskModules(DriverContext* ctx, DWORD value) {
  BidiAskEvent ask = {value, 0};
  ModBusSendEvent(ctx, kBidiEventAskAcquire, &ask);
  return int(ask.answer);
}

int BidiModulesOverride(DriverContext* ctx) {
  DWORD answer = 0;
  ModBusSendEvent(ctx, kBidiEventOverride, &answer);
  return int(answer);
}

int BidiRestoreState(DriverContext* ctx, HWND window) {
  if (!ctx || !BidiIsSupported(ctx)) return 1;
  const DWORD windowValue = DWORD(reinterpret_cast<UINT_PTR>(window));
  if (!ServerClient(ctx) && BidiIniHasFlag(ctx)) {
    if (BidiIniFlagIsSet(ctx)) return BidiSetPendingBySupport(ctx);
    return BidiAskModules(ctx, windowValue);
  }
  if (BidiFlagIsAcquired(ctx->printer, ctx) && BidiModulesOverride(ctx) == 0) {
    BidiSetPendingBySupport(ctx);
    BYTE func = 0;
    if (BidiReadFunc(ctx->printer, &func)) ItemSetRawById(ctx, kIdBidiFunc, func);
    return 1;
  }
  return BidiAskModules(ctx, windowValue);
}
