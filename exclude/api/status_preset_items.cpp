// Status items of settings files and presets, resolution, toner planes, colour adjustments,
// print macros and toner saving.
#include <string.h>

#include <initializer_list>

#include "core/common/file_ops.h"
#include "core/common/ini_access.h"
#include "core/context/settings_snapshot.h"
#include "core/devmode/couplings.h"
#include "core/items/derived_settings.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/rules/api_readers.h"
#include "core/rules/transacts.h"
#include "core/store/item_store.h"
#include "core/store/preset_store.h"
#include "core/store/settings_file.h"
#include "core/store/settings_stores.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "core/tables/build_switches.h"
#include "core/tables/print_macros.h"
#include "exclude/api/api_chapters.h"
#include "exclude/api/api_context.h"
#include "exclude/api/api_engine.h"
#include "exclude/api/api_item_texts.h"
#include "exclude/api/api_items_quality.h"
#include "exclude/api/api_journal.h"
#include "exclude/api/api_levels.h"
#include "exclude/api/api_services.h"
#include "exclude/api/api_status_table.h"

namespace {

enum : UINT { kOffPath = 4, kOffPresetName = 264, kOffPresetComment = 301, kOffPresetNumber = 816 };
constexpr UINT kPresetRecordSize = 824;
constexpr LONG kPresetNone = 255;
constexpr int kSectionChars = 261;
constexpr int kLockFeature = 2;

void PutShort(void* record, UINT offset, LONG value) {
  const SHORT v = static_cast<SHORT>(value);
  memcpy(static_cast<BYTE*>(record) + offset, &v, 2);
}
LONG RecordShort(const void* record, UINT offset) { return static_cast<SHORT>(ApiRecordWord(record, offset)); }

void PrinterSection(DriverContext* ctx, WCHAR* section) {
  section[0] = 0;
  const WCHAR* name = PrnGetPrinterName(ctx);
  int i = 0;
  for (; name && name[i] && i < kSectionChars - 1; ++i) section[i] = name[i];
  section[i] = 0;
  StoreSanitizeSection(section);
}

// Journals what saving the persisted items may write: the settings file and every printer-data
// value of a persisted row.
int JournalPersisted(ApiContext* api) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return 0;
  if (!ApiJournalActive(api)) return 1;
  if (!ApiJournalFile(api, PathSettingsFile(ctx))) return 0;
  SettingItemTable* table = ctx->items;
  for (SHORT i = 0; table && i < table->count; ++i) {
    SettingItem* row = &table->rows[i];
    if (row->storageKind == ItemStorePrinterData && !ApiJournalItem(api, row, nullptr)) return 0;
  }
  return 1;
}

// Saves the persisted items of the job, journalled: 0 when the journal cannot take them (the
// save is not made). A store that cannot be written does not decide the request.
int SavePersisted(ApiContext* api) {
  if (!JournalPersisted(api)) return 0;
  StoreSaveUserClasses(api->printer, ApiDriverCtx(api));
  return 1;
}

// An ini text of the printer's section converted to ANSI into a record field with CR LF for
// every "\n" (comments).
void PutIniText(void* record, UINT offset, UINT size, LPCWSTR path, LPCWSTR section, LPCWSTR key, bool breaks) {
  WCHAR wide[600] = {};
  IniReadString(section, key, TEXT(""), wide, 600, path);
  char text[1200] = {};
  WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof(text) - 1, nullptr, nullptr);
  char out[1200] = {};
  size_t o = 0;
  for (size_t i = 0; text[i] && o + 2 < sizeof(out); ++i) {
    if (breaks && text[i] == '\\' && text[i + 1] == 'n') {
      out[o++] = '\r';
      out[o++] = '\n';
      ++i;
    } else {
      out[o++] = text[i];
    }
  }
  memset(static_cast<BYTE*>(record) + offset, 0, size);
  const size_t n = strnlen(out, size - 1);
  memcpy(static_cast<BYTE*>(record) + offset, out, n);
}

// Item 1's path: 1 with the wide path when absolute and present, else 0 (error 10 or 11 set).
int SettingsFilePath(ApiContext* api, const void* record, WCHAR* wide) {
  char path[260];
  if (!ApiRecordText(record, kOffPath, 260, path)) {
    ApiSetLastError(api, kApiErrCharacters);
    return 0;
  }
  wide[0] = 0;
  if (path[0] && MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH) <= 0) wide[0] = 0;
  if (!wide[0] || !ApiIsAbsolutePath(wide) || !FileExists(wide)) {
    ApiSetLastError(api, kApiErrPath);
    return 0;
  }
  return 1;
}

}  // namespace

LONG ApiSetSettingsFile(ApiContext* api, DWORD, void* record, BYTE*, LONG) {
  if (!record) return -1;
  const LONG method = ApiReadLong(api, kItem_zdmPrnMethod);
  if (method == 3 || method == 5 || method == 7) return -1;
  WCHAR path[MAX_PATH];
  if (!SettingsFilePath(api, record, path)) return -1;
  DriverContext* ctx = ApiDriverCtx(api);
  if (BuildHasFeature(ctx, kLockFeature) && ItemAnyLockBit(ctx)) {
    WCHAR section[kSectionChars];
    PrinterSection(ctx, section);
    if (!StoreCheckAllLockedItems(ctx, path, section, kStoreFileRead)) return -1;
  }
  // What the load and the saves after it may write is journalled first. A file the loader
  // refuses leaves every item as it was; the header is told by the status.
  if (!JournalPersisted(api)) return -1;
  CtxSetFileStatus(ctx, 0);
  StoreLoadSettingsFile(api->printer, path, 0, ctx);
  if (CtxGetFileStatus(ctx) == kFileStatusHeader) {
    ApiSetLastError(api, kApiErrSettingsFile);
    return -1;
  }
  if (ApiRead(api, kItem_zdmFuncSelectMargin) == 0) ApiResetPageEdges(api);
  ApiLoadUserStrings(api, kApiUserCode);
  for (DWORD mask : {kApiUserOwnerName, kApiUserJobPassword, kApiUserId, kApiUserDocumentName,
                     kApiUserStoredPassword, kApiUserAuthName})
    if (!ApiSaveUserString(api, mask)) return -1;
  return SavePersisted(api) ? 1 : -1;
}

LONG ApiGetSettingsFile(ApiContext* api, DWORD, void* record, DWORD) {
  if (!record) return kPresetRecordSize;
  WCHAR path[MAX_PATH];
  if (!SettingsFilePath(api, record, path)) return -1;
  DriverContext* ctx = ApiDriverCtx(api);
  CtxSnapshotPush(ctx);
  CtxSetFileStatus(ctx, 0);
  StoreLoadSettingsFile(api->printer, path, kStoreFileNoWarning, ctx);
  const bool mismatch = CtxGetFileStatus(ctx) == kFileStatusHeader;
  CtxSnapshotPop(ctx, TRUE);
  if (mismatch) {
    ApiSetLastError(api, kApiErrSettingsFile);
    return -1;
  }
  WCHAR section[kSectionChars];
  PrinterSection(ctx, section);
  PutIniText(record, kOffPresetName, 37, path, section, TEXT("wdmPresetName"), false);
  PutIniText(record, kOffPresetComment, 513, path, section, TEXT("wdmPresetComment"), true);
  return kPresetRecordSize;
}

// ---- item 56 ----

LONG ApiSetPresetNumber(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  if (!record) return -1;
  const DWORD version = ApiRecordVersionOf(record);
  if (version < 2) return -1;
  if (!ApiRecordLevelOk(api, id, version)) return -1;
  DriverContext* ctx = ApiDriverCtx(api);
  const LONG number = ApiRecordLong(record, kOffPresetNumber);
  if (number < 1 || number > PresetGetCount(ctx)) return -1;
  if (!JournalPersisted(api)) return -1;
  ApiWrite(api, kItem_zdmPresetNo, number - 1);
  PresetApplySlot(ctx, number - 1);
  DmRecheckChapterTrays(ctx);
  return SavePersisted(api) ? 1 : -1;
}

LONG ApiVerifyPresetNumber(ApiContext* api, DWORD, void* record, BYTE*, LONG) {
  return static_cast<LONG>(static_cast<signed char>(ApiRead(api, kItem_zdmPresetNo))) + 1 ==
                 ApiRecordLong(record, kOffPresetNumber)
             ? 1
             : -1;
}

LONG ApiGetPresetNumber(ApiContext* api, DWORD id, void* record, DWORD version) {
  const LONG caps = ApiAskCaps(api, 85, nullptr);
  if (caps == -1 || caps == 0) return -1;
  if (!record) return kPresetRecordSize;
  const LONG size = ApiGetRecordSize(api, id, version);
  if (size < 0) return -1;
  ApiPutRecordLong(record, 0, 2);
  DriverContext* ctx = ApiDriverCtx(api);
  LONG number = ApiRecordLong(record, kOffPresetNumber);
  if (number == 0 && ApiLevel(api) < 14) {
    ApiSetLastError(api, kApiErrRefused);
    return -1;
  }
  if (number == 0) {
    number = static_cast<LONG>(static_cast<signed char>(ApiRead(api, kItem_zdmPresetNo))) + 1;
  } else if (number < 1 || number > PresetGetCount(ctx)) {
    ApiSetLastError(api, kApiErrRefused);
    return -1;
  }
  memset(static_cast<BYTE*>(record) + kOffPresetName, 0, kOffPresetNumber - kOffPresetName);
  // No preset selected: number 0, whose keys (slot -1) are not read at all.
  if (number == 0 || number == kPresetNone) return kPresetRecordSize;
  WCHAR section[kSectionChars], key[64];
  PrinterSection(ctx, section);
  PutIniText(record, kOffPresetName, 37, PathSettingsFile(ctx), section, PresetKeyName(key, 64, number - 1, 1), false);
  PutIniText(record, kOffPresetComment, 513, PathSettingsFile(ctx), section, PresetKeyName(key, 64, number - 1, 2),
             true);
  return kPresetRecordSize;
}

// ---- item 34 ----
namespace {

void RunTransactsOf(DriverContext* ctx, WORD setting) {
  for (const ModelItemDescriptor* d = ModelFindDescriptor(setting, ctx); d; d = d->next)
    if (d->itemId == setting) ModelRunItemTransacts(d, ctx);
}

}  // namespace

LONG ApiSetResolution(ApiContext* api, DWORD, void* record, BYTE*, LONG) {
  if (!record) return -1;
  DriverContext* ctx = ApiDriverCtx(api);
  const int form = ApiResolutionForm(api);
  if (form == -1) {
    ApiSetLastError(api, kApiErrInternal);
    return -1;
  }
  const LONG code = ApiRecordLong(record, 4);
  if (form == 1) {
    if (!ApiTestAndWrite(api, kItem_zdmDstResolutionBoth, code)) return -1;
    ApiWrite(api, kItem_wdmCtrlWorkPrompt, 1);
    RunTransactsOf(ctx, kItem_zdmDstResolutionBoth);
    ApiWrite(api, kItem_wdmCtrlWorkPrompt, 0);
  } else {
    const PrintMacroResolution* row = code > 0 && code <= 0xFFFF ? TblFindPrintMacro(static_cast<WORD>(code)) : nullptr;
    if (!row) {
      ApiSetLastError(api, kApiErrInternal);
      return -1;
    }
    if (!ApiTestAndWrite(api, kItem_zdmDstResolutionW, row->xDpi)) return -1;
  }
  DmSyncResolutionFromDst(ApiSettings(api), ctx);
  return 1;
}

LONG ApiGetResolution(ApiContext* api, DWORD, void* record, DWORD) {
  if (!record) return kApiSimpleRecordSize;
  const int form = ApiResolutionForm(api);
  if (form == -1) {
    ApiSetLastError(api, kApiErrInternal);
    return -1;
  }
  auto* r = static_cast<ApiSimpleRecord*>(record);
  if (form == 1) {
    r->value = ApiReadLong(api, kItem_zdmDstResolutionBoth);
    return kApiSimpleRecordSize;
  }
  const WORD dpi = static_cast<WORD>(ApiRead(api, kItem_zdmDstResolutionW));
  const WORD macro = TblPrintMacroByDpi(dpi, dpi);
  if (!macro) return -1;
  r->value = macro;
  return kApiSimpleRecordSize;
}

// ---- item 35 ----
namespace {
const WORD kPlanes[4] = {kItem_zdmPlaneUseCMYKCyan, kItem_zdmPlaneUseCMYKMagenta, kItem_zdmPlaneUseCMYKYellow,
                         kItem_zdmPlaneUseCMYKBlack};
}

LONG ApiSetTonerPlanes(ApiContext* api, DWORD, void* record, BYTE*, LONG) {
  if (!record) return -1;
  bool any = false;
  for (int i = 0; i < 4; ++i) {
    const LONG v = ApiRecordLong(record, 4 + 4 * i);
    if (v) any = true;
    if (!ApiValueTest(api, kPlanes[i], v)) return -1;
  }
  if (!any) return -1;
  for (int i = 0; i < 4; ++i) ApiWrite(api, kPlanes[i], ApiRecordLong(record, 4 + 4 * i));
  return 1;
}

LONG ApiVerifyTonerPlanes(ApiContext* api, DWORD, void* record, BYTE*, LONG) {
  for (int i = 0; i < 4; ++i)
    if (ApiRead(api, kPlanes[i]) != ApiRecordLong(record, 4 + 4 * i)) return -1;
  return 1;
}

LONG ApiGetTonerPlanes(ApiContext* api, DWORD, void* record, DWORD) {
  if (!record) return kApiSimpleRecordSize;
  for (int i = 0; i < 4; ++i) ApiPutRecordLong(record, 4 + 4 * i, ApiReadLong(api, kPlanes[i]));
  return kApiSimpleRecordSize;
}

// ---- colour adjustments ----
namespace {

WORD AdjustSetting(DWORD id) {
  switch (id) {
    case 39: return kItem_zdmColorMode;
    case 40: return kItem_zdmBrightness;
    case 41: return kItem_zdmContrast;
    case 42: return kItem_zdmSaturation;
    case 46: return kItem_zdmQualityFuncColorRevision;
    case 267: return kItem_zdmICMIntent;
    case 269: return kItem_zdmColorMatchingMode;
    default: return 0;
  }
}
constexpr LONG kColorModeFromList = 255;
constexpr LONG kProfileBase = 200;

}  // namespace

LONG ApiSetColorAdjust(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  const WORD setting = AdjustSetting(id);
  if (!record || !setting) return -1;
  if (id == 267 && (!ApiCapsPresent(api, 278) || ApiRead(api, kItem_zdmColorMatching) == 0)) return -1;
  if (id == 269 && (!ApiCapsPresent(api, 281) || ApiRead(api, kItem_zdmColorMatching) != 0)) return -1;
  const LONG value = RecordShort(record, 8);
  if (!ApiValueTest(api, setting, value)) return -1;
  if (id == 39 && value == kColorModeFromList) {
    if (!ApiCapsListHas(api, 61, kColorModeFromList, nullptr)) return -1;
    if (ApiRead(api, kItem_zdmAdjustMode) == 1 && ApiRead(api, kItem_zdmAdjustObject) != 2) return -1;
  }
  if (id == 269 && value >= kProfileBase + ApiColorProfileCount(api)) return -1;
  return ApiWrite(api, ApiRemapAdjustSetting(api, setting), value) ? 1 : -1;
}

LONG ApiVerifyColorAdjust(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  const WORD setting = AdjustSetting(id);
  if (!setting) return -1;
  const SHORT now = static_cast<SHORT>(ApiRead(api, ApiRemapAdjustSetting(api, setting)));
  return now == static_cast<SHORT>(RecordShort(record, 8)) ? 1 : -1;
}

LONG ApiGetColorAdjust(ApiContext* api, DWORD id, void* record, DWORD) {
  const WORD setting = AdjustSetting(id);
  if (!setting) return -1;
  if (id == 267 && !ApiCapsPresent(api, 278)) return -1;
  if (id == 269 && !ApiCapsPresent(api, 281)) return -1;
  if (!record) return kApiSimpleRecordSize;
  PutShort(record, 8, ApiReadLong(api, setting));
  for (int v = 0; v < 3; ++v)
    PutShort(record, 10 + 2 * v, static_cast<LONG>(ApiRead(api, ApiSelectVariant(api, setting, v))));
  return kApiSimpleRecordSize;
}

// ---- item 43 ----
namespace {
const WORD kBalance[3] = {kItem_zdmColorBalanceR, kItem_zdmColorBalanceG, kItem_zdmColorBalanceB};
}

LONG ApiSetColorBalance(ApiContext* api, DWORD, void* record, BYTE*, LONG) {
  if (!record) return -1;
  for (int i = 0; i < 3; ++i)
    if (!ApiValueTest(api, kBalance[i], RecordShort(record, 8 + 2 * i))) return -1;
  for (int i = 0; i < 3; ++i) ApiWrite(api, ApiRemapAdjustSetting(api, kBalance[i]), RecordShort(record, 8 + 2 * i));
  return 1;
}

LONG ApiVerifyColorBalance(ApiContext* api, DWORD, void* record, BYTE*, LONG) {
  for (int i = 0; i < 3; ++i)
    if (static_cast<SHORT>(ApiRead(api, ApiRemapAdjustSetting(api, kBalance[i]))) !=
        static_cast<SHORT>(RecordShort(record, 8 + 2 * i)))
      return -1;
  return 1;
}

LONG ApiGetColorBalance(ApiContext* api, DWORD, void* record, DWORD) {
  if (!record) return kApiSimpleRecordSize;
  for (int i = 0; i < 3; ++i) {
    PutShort(record, 8 + 2 * i, ApiReadLong(api, kBalance[i]));
    for (int v = 0; v < 3; ++v)
      PutShort(record, 14 + 6 * v + 2 * i, static_cast<LONG>(ApiRead(api, ApiSelectVariant(api, kBalance[i], v))));
  }
  return kApiSimpleRecordSize;
}

// ---- item 262 ----
namespace {

constexpr LONG kUserMacroBase = 32;
constexpr LONG kApiQualitySlot = 128;
constexpr LONG kApiQualityMacro = kUserMacroBase + kApiQualitySlot;

bool CountPresent(ApiContext* api, DWORD capsId) {
  const LONG count = ApiCallCapsHandler(api, capsId, nullptr);
  return count != -1 && count != 0;
}

// Saves the quality settings into the interface's own quality slot, its file journalled.
int SaveApiQualitySlot(ApiContext* api) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return 0;
  WCHAR section[kSectionChars], key[64], path[MAX_PATH] = {};
  PrinterSection(ctx, section);
  IniReadString(section, QualityKeyName(key, 64, kApiQualitySlot), TEXT(""), path, MAX_PATH, PathSettingsFile(ctx));
  if (!ApiJournalFile(api, PathSettingsFile(ctx))) return 0;
  if (path[0] && !ApiJournalFile(api, path)) return 0;
  return QualitySaveSlotFile(ctx, kApiQualitySlot) ? 1 : 0;
}

}  // namespace

LONG ApiSetPrintMacros(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  if (!record) return -1;
  const DWORD master = ApiFindMasterKey(id, nullptr);
  if (!master) return -1;
  DriverContext* ctx = ApiDriverCtx(api);
  const bool printMacros = CountPresent(api, 266);
  const bool balanceMacros = CountPresent(api, 268);
  const ApiSimpleRecord* r = static_cast<const ApiSimpleRecord*>(record);
  if (r->masterSwitch == 0) {
    if (printMacros && !ApiValueTest(api, kItem_zdmPrintMacro, r->value)) return -1;
    if (balanceMacros && !ApiValueTest(api, kItem_zdmBalanceMacro, r->value2)) return -1;
    ApiWrite(api, static_cast<WORD>(master), 0);
    if (printMacros) ApiWrite(api, kItem_zdmPrintMacro, r->value);
    if (balanceMacros) {
      ApiWrite(api, kItem_wdmUIStart, 1);
      ApiWrite(api, kItem_zdmUserPrintMacro, kUserMacroBase);
      RunTransactsOf(ctx, kItem_zdmMediaType);
      ApiWrite(api, kItem_wdmUIStart, 0);
      ApiWrite(api, kItem_zdmBalanceMacro, r->value2);
      if (r->value2 == kUserMacroBase)
        QualityApplySlot(ctx, static_cast<int>(ApiRead(api, kItem_zdmUserPrintMacro)) - kUserMacroBase);
    }
    return 1;
  }
  const LONG user = r->value3;
  if (!ApiValueTest(api, kItem_zdmUserPrintMacro, user)) return -1;
  if (user == kApiQualityMacro) {
    if (!SaveApiQualitySlot(api)) return -1;
  } else {
    if (!ApiIsFeatureUsable(api, kItem_zdmUserPrintMacro)) return -1;
    QualityApplySlot(ctx, user - kUserMacroBase);
  }
  ApiWrite(api, static_cast<WORD>(master), static_cast<LONG>(r->masterSwitch));
  ApiWrite(api, kItem_zdmUserPrintMacro, user);
  if (!printMacros && balanceMacros) ApiWrite(api, kItem_zdmBalanceMacro, kUserMacroBase);
  return 1;
}

LONG ApiVerifyPrintMacros(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  const DWORD master = ApiFindMasterKey(id, nullptr);
  if (!master) return -1;
  const ApiSimpleRecord* r = static_cast<const ApiSimpleRecord*>(record);
  if (r->masterSwitch) {
    if (ApiRead(api, kItem_zdmUserPrintMacro) != r->value3) return -1;
  } else {
    if (CountPresent(api, 266) && ApiRead(api, kItem_zdmPrintMacro) != r->value) return -1;
    if (CountPresent(api, 268)) {
      if (ApiRead(api, kItem_zdmBalanceMacro) != r->value2) return -1;
      if (r->value2 == kUserMacroBase) return 1;
    }
  }
  return ApiRead(api, static_cast<WORD>(master)) == static_cast<LONG>(r->masterSwitch) ? 1 : -1;
}

LONG ApiGetPrintMacros(ApiContext* api, DWORD, void* record, DWORD) {
  if (!record) return kApiSimpleRecordSize;
  auto* r = static_cast<ApiSimpleRecord*>(record);
  r->value = ApiReadLong(api, kItem_zdmPrintMacro);
  r->value2 = ApiReadLong(api, kItem_zdmBalanceMacro);
  r->value3 = ApiReadLong(api, kItem_zdmUserPrintMacro);
  r->masterSwitch = static_cast<DWORD>(ApiRead(api, kItem_zdmUseUserMacro));
  if (!CountPresent(api, 266) && CountPresent(api, 268) && r->value3 != kApiQualityMacro) r->masterSwitch = 0;
  return kApiSimpleRecordSize;
}

// ---- item 264 ----

LONG ApiSetTonerSave(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  if (!record) return -1;
  const LONG where = ApiCallCapsHandler(api, 274, nullptr);
  if (where == 0) return -1;
  if (where == 2 && !ApiPrintMacroRuleHolds(api)) {
    ApiSetLastError(api, kApiErrPrintMacro);
    return -1;
  }
  if (ApiMasterSwitchOff(api, id, record)) return 1;
  const LONG value = ApiRecordLong(record, 4);
  if (ApiCallCapsHandler(api, 275, nullptr) == 1) {
    if (value != ApiRead(api, kItem_zdmTonerSave)) return -1;
  } else if (!ApiTestAndWrite(api, kItem_zdmTonerSave, value)) {
    return -1;
  }
  ApiWriteMasterSwitch(api, id, record);
  return 1;
}

LONG ApiVerifyTonerSave(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  const DWORD master = ApiFindMasterKey(id, nullptr);
  if (!master) return -1;
  const ApiSimpleRecord* r = static_cast<const ApiSimpleRecord*>(record);
  if (r->masterSwitch == 0) return 1;
  return ApiRead(api, static_cast<WORD>(master)) == static_cast<LONG>(r->masterSwitch) &&
                 ApiRead(api, kItem_zdmTonerSave) == r->value
             ? 1
             : -1;
}

LONG ApiGetTonerSave(ApiContext* api, DWORD id, void* record, DWORD) {
  if (!record) return kApiSimpleRecordSize;
  auto* r = static_cast<ApiSimpleRecord*>(record);
  r->value = ApiReadLong(api, kItem_zdmTonerSave);
  r->masterSwitch = static_cast<DWORD>(ApiReadMasterSwitch(api, id));
  return kApiSimpleRecordSize;
}
