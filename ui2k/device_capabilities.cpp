// DrvDeviceCapabilities: fixed facts from the model record of the context template, the rest
// from a driver context of the printer into which the caller's DEVMODE is merged first. A
// context opened here is parked in the capabilities table of the cache, so that the burst of
// queries an application makes reuses it.
#include <string.h>

#include "core/common/ini_access.h"
#include "core/common/mem.h"
#include "core/common/text.h"
#include "core/context/driver_context.h"
#include "core/devmode/dm_codes.h"
#include "core/devmode/dm_layout.h"
#include "core/devmode/dm_merge.h"
#include "core/install/corrections.h"
#include "core/install/pending_housekeeping.h"
#include "core/items/allowed_values.h"
#include "core/items/item_access.h"
#include "core/items/item_caps.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/store/free_size_store.h"
#include "core/store/lock_data.h"
#include "core/system/driver_paths.h"
#include "core/system/printer_names.h"
#include "core/system/resources.h"
#include "core/tables/build_switches.h"
#include "core/tables/static_tables.h"
#include "ui2k/ui_printer.h"
#include "platform/win32.h"

namespace {

constexpr DWORD kCapsError = GDI_ERROR;

// What the model record of the template says of every printer of this driver.
constexpr DWORD kPublicDevmodeSize = 220;
constexpr DWORD kSpecVersion = 0x401;
constexpr DWORD kDriverVersion = 0x400;
constexpr DWORD kMaxCopies = 999;
constexpr DWORD kLandscapeAngle = 90;

// Entry widths of the string answers, in characters.
constexpr int kBinNameChars = 24;
constexpr int kPaperNameChars = 64;
constexpr int kPersonalityChars = 32;

// Lock bytes: n-up locked (0x08) unless its override (0x10) is set; duplex locked on (0x20).
constexpr BYTE kLockNup = 0x08, kLockNupFree = 0x10, kLockDuplex = 0x20;
constexpr int kBuildSettingLocks = 2;

constexpr int kTrayCount = 32;
constexpr WORD kTrayFieldFirst = 10111;  // zdmTrayField0, one item per tray
constexpr DWORD kOpenCaps = 0x1000000;
constexpr DWORD kMergeCaps = 0x1000008;

BYTE LockByte(HANDLE printer, WORD item) {
  BYTE bits = 0;
  if (!StoreReadLockInfoBitByte(printer, &bits, item)) return 0;
  return bits;
}

// DC_DUPLEX: the duplex unit's printer data (its item's key), 4 bytes.
DWORD AnswerDuplex(HANDLE printer) {
  const ItemTemplateRow* row = TblItemTemplateRow(kItem_zdmSourceOptionTypeDuplex);
  if (!row || !row->persistKey) return kCapsError;
  DWORD type = 0, value = 0, needed = 0;
  if (GetPrinterDataW(printer, const_cast<LPWSTR>(row->persistKey), &type, reinterpret_cast<LPBYTE>(&value),
                      sizeof value, &needed) != ERROR_SUCCESS)
    return kCapsError;
  if (value) return 1;
  if (BuildHasFeature(nullptr, kBuildSettingLocks) && (LockByte(printer, kItem_zdmLock000InfoBitDefault) & kLockDuplex))
    return 1;
  return 0;
}

// DC_PRINTRATE, DC_PRINTRATEPPM: "PPM" of the model data file's section of the driver.
DWORD AnswerPrintRate(HANDLE printer) {
  WCHAR* file = static_cast<WCHAR*>(MemAllocZero(MAX_PATH * sizeof(WCHAR)));
  WCHAR* driver = static_cast<WCHAR*>(MemAllocZero(MAX_PATH * sizeof(WCHAR)));
  DWORD ppm = 0;
  if (file && driver && PathModelDataFileOf(printer, file, MAX_PATH * sizeof(WCHAR)) &&
      PrnGetDriverNameOf(printer, driver, MAX_PATH * sizeof(WCHAR)))
    ppm = IniReadInt(driver, TEXT("PPM"), 0, file);
  MemFree(file);
  MemFree(driver);
  return ppm;
}

DWORD AnswerColorDevice(HANDLE printer) {
  BYTE* dm = static_cast<BYTE*>(MemAllocZero(kUiDevmodeSize));
  DWORD answer = kCapsError;
  if (dm && UiReadStoredDevmode(printer, dm))
    answer = DmIsColorCapable(LockByte(printer, kItem_zdmLock001InfoBitColor), dm) ? 1 : 0;
  MemFree(dm);
  return answer;
}

// DC_NUP. Unlocked: the five page counts. Locked: the 1-up row and the row of the stored
// n-up kind; the answer is the number of rows written (2 when only counted).
DWORD AnswerNup(HANDLE printer, PVOID output) {
  const NupPageCount* rows = TblGetNupPageCounts();
  const BYTE bits = LockByte(printer, kItem_zdmLock000InfoBitDefault);
  DWORD* out = static_cast<DWORD*>(output);
  if (!(bits & kLockNup) || (bits & kLockNupFree)) {
    if (out)
      for (int i = 0; i < kNupPageCountRows; ++i) out[i] = rows[i].pages;
    return kNupPageCountRows;
  }
  if (!out) return 2;
  BYTE* dm = static_cast<BYTE*>(MemAllocZero(kUiDevmodeSize));
  DWORD written = 0;
  if (dm && UiReadStoredDevmode(printer, dm)) {
    const DWORD kind = static_cast<DWORD>(DmGetNupPostKind(dm));
    for (int i = 0; i < kNupPageCountRows; ++i)
      if (rows[i].kind == 0 || rows[i].kind == kind) out[written++] = rows[i].pages;
  }
  MemFree(dm);
  return written;
}

// DC_MEDIAREADY: the distinct papers of the installed trays, named.
DWORD AnswerMediaReady(DriverContext* ctx, PVOID output) {
  WORD codes[kTrayCount];
  WORD logical[kTrayCount];
  DWORD count = 0;
  for (int j = 0; j < kTrayCount; ++j) {
    if (!(ItemGetRawById(ctx, WORD(kTrayFieldFirst + j)) & 0xFFFF)) continue;
    const WORD paper = WORD(kItem_zdmTray1Paper + j);
    const WORD code = static_cast<WORD>(ItemGetRawById(ctx, paper));
    if (!code) continue;
    bool seen = false;
    for (DWORD k = 0; k < count && !seen; ++k) seen = codes[k] == code;
    if (seen) continue;
    codes[count] = code;
    logical[count] = static_cast<WORD>(ItemGetValueById(ctx, paper));
    ++count;
  }
  if (!output) return count;
  WCHAR* out = static_cast<WCHAR*>(output);
  bool slotsLoaded = false;
  for (DWORD k = 0; k < count; ++k) {
    WCHAR* entry = out + k * kPaperNameChars;
    memset(entry, 0, kPaperNameChars * sizeof(WCHAR));
    if (FreeSizeIsSlotPaper(codes[k])) {
      if (!slotsLoaded) FreeSizeLoadAll(ctx);
      slotsLoaded = true;
      ItemCustomSlotName(ctx, FreeSizePaperToSlot(codes[k], ctx), entry, kPaperNameChars);
    } else {
      ResLoadString(ctx, logical[k], entry, kPaperNameChars, FALSE);
    }
  }
  return count;
}

DWORD AnswerByContext(DriverContext* ctx, WORD index, PVOID output) {
  switch (index) {
    case DC_FIELDS:
      return ctx->settings ? reinterpret_cast<const DEVMODEW*>(ctx->settings)->dmFields : kCapsError;
    case DC_PAPERS:
      return DWORD(ItemListPaperCodes(ctx, static_cast<WORD*>(output), kItem_dmPaperSize));
    case DC_PAPERSIZE:
      return DWORD(ItemListPaperSizes(ctx, static_cast<POINT*>(output), kItem_dmPaperSize));
    case DC_BINS:
      return DWORD(ItemListBinCodes(ctx, static_cast<WORD*>(output)));
    case DC_BINNAMES:
      return DWORD(ItemListBinNames(ctx, static_cast<WCHAR*>(output), kBinNameChars));
    case DC_ENUMRESOLUTIONS:
      return DWORD(ItemListResolutions(ctx, static_cast<LONG*>(output)));
    case DC_TRUETYPE:
      return (ItemGetRawById(ctx, kItem_zdmFrontFunc) & 1) ? DCTT_BITMAP | DCTT_SUBDEV : DCTT_BITMAP;
    case DC_PAPERNAMES:
      return DWORD(ItemListPaperNames(ctx, static_cast<WCHAR*>(output), kPaperNameChars, kItem_dmPaperSize));
    case DC_COLLATE:
      return ItemHasSortChoice(ctx) ? 1 : 0;
    case DC_MEDIAREADY:
      return AnswerMediaReady(ctx, output);
    case DC_STAPLE:
      return ItemHasAllowedValue(ctx, kItem_zdmStapleType) ? 1 : 0;
    default:
      return kCapsError;
  }
}

}  // namespace

int UiReadStoredDevmode(HANDLE printer, BYTE* buffer) {
  if (!buffer) return 0;
  memset(buffer, 0, kUiDevmodeSize);
  PRINTER_INFO_2W* info = static_cast<PRINTER_INFO_2W*>(PrnGetPrinterInfo(printer, 2));
  int found = 0;
  if (info && info->pDevMode) {
    const DWORD own = DWORD(info->pDevMode->dmSize) + info->pDevMode->dmDriverExtra;
    memcpy(buffer, info->pDevMode, own < kUiDevmodeSize ? own : kUiDevmodeSize);
    found = 1;
  }
  MemFree(info);
  return found;
}

DWORD UiAnswerCapsFromContext(HANDLE printer, WORD index, PVOID output, PDEVMODEW devmode) {
  const int dsMissing = InstDsPrinterNameMissing(printer);
  PRINTER_INFO_2W* info = static_cast<PRINTER_INFO_2W*>(PrnGetPrinterInfo(printer, 2));
  DRIVER_INFO_3W* driver = static_cast<DRIVER_INFO_3W*>(PrnGetDriverInfo(printer, 3));
  DWORD answer = kCapsError;
  DriverContext* ctx = nullptr;
  if (info && (PrnNameChangedSinceInstall(printer, info) == 1 ||
               InstRunPendingHousekeeping(printer, 0, info, driver) == 1))
    ctx = CtxOpenFromInfo(printer, printer, nullptr, kOpenCaps, info);
  if (ctx) {
    const bool merge = index != DC_DATATYPE_PRODUCED && index != DC_TRUETYPE;
    if (!merge || DmMergeIntoContext(ctx, devmode, kMergeCaps)) answer = AnswerByContext(ctx, index, output);
    CtxRelease(ctx, kReleaseParkCaps);
  }
  if (dsMissing == 1) InstCleanupStaleForPrinter(printer, info);
  MemFree(info);
  MemFree(driver);
  return answer;
}

ZEMS_EXPORT DWORD WINAPI DrvDeviceCapabilities(HANDLE printer, LPWSTR deviceName, WORD capability, PVOID output,
                                               PDEVMODEW devmode) {
  (void)deviceName;
  switch (capability) {
    case DC_MINEXTENT:
      return ItemGetPaperExtent(TblGetContextTemplate(), nullptr, kExtentMinimum);
    case DC_MAXEXTENT:
      return ItemGetPaperExtent(TblGetContextTemplate(), nullptr, DC_MAXEXTENT);
    case DC_DUPLEX:
      return AnswerDuplex(printer);
    case DC_SIZE:
      return kPublicDevmodeSize;
    case DC_EXTRA:
      return kUiDevmodeSize - kPublicDevmodeSize;
    case DC_VERSION:
      return kSpecVersion;
    case DC_DRIVER:
      return kDriverVersion;
    case DC_FILEDEPENDENCIES:
      return 0;
    case DC_ORIENTATION:
      return kLandscapeAngle;
    case DC_COPIES:
      return kMaxCopies;
    case DC_MANUFACTURER:
    case DC_MODEL:
    case DC_PRINTERMEM:
      return kCapsError;
    case DC_PERSONALITY:
      if (output) {
        WCHAR* out = static_cast<WCHAR*>(output);
        memset(out, 0, kPersonalityChars * sizeof(WCHAR));
        StrCopyCut(out, kPersonalityChars, TEXT("ZEMS"));
      }
      return 1;
    case DC_PRINTRATE:
    case DC_PRINTRATEPPM:
      return AnswerPrintRate(printer);
    case DC_PRINTRATEUNIT:
      return PRINTRATEUNIT_PPM;
    case DC_COLORDEVICE:
      return AnswerColorDevice(printer);
    case DC_NUP:
      return AnswerNup(printer, output);
    case DC_FIELDS:
    case DC_PAPERS:
    case DC_PAPERSIZE:
    case DC_BINS:
    case DC_BINNAMES:
    case DC_ENUMRESOLUTIONS:
    case DC_TRUETYPE:
    case DC_PAPERNAMES:
    case DC_BINADJUST:
    case DC_EMF_COMPLIANT:
    case DC_DATATYPE_PRODUCED:
    case DC_COLLATE:
    case DC_MEDIAREADY:
    case DC_STAPLE:
      return UiAnswerCapsFromContext(printer, capability, output, devmode);
    default:
      return kCapsError;
  }
}
