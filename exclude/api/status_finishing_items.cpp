// Finishing status items: covers, mark paper, duplex with binding margins, shift margins, sort,
// staple, punch and fold, back and reverse covers, insert media, chapters, the page-edge
// options under the margin switch and folding.
#include <string.h>

#include <initializer_list>

#include "core/common/mem.h"
#include "core/devmode/couplings.h"
#include "core/items/derived_settings.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/items/units.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/rules/api_readers.h"
#include "core/rules/judge_eval.h"
#include "core/store/item_store.h"
#include "core/store/settings_stores.h"
#include "core/tables/build_switches.h"
#include "exclude/api/api_chapters.h"
#include "exclude/api/api_context.h"
#include "exclude/api/api_item_texts.h"
#include "exclude/api/api_items_finishing.h"
#include "exclude/api/api_levels.h"
#include "exclude/api/api_services.h"
#include "exclude/api/api_settings_trial.h"
#include "exclude/api/api_status_table.h"
#include "exclude/api/api_items_paper.h"

namespace {

constexpr int kClassDisabled = 4, kClassRestricted = 5;
constexpr int kLockFeature = 2;

ApiSimpleRecord* Simple(void* record) { return static_cast<ApiSimpleRecord*>(record); }

WORD Master(DWORD id) { return static_cast<WORD>(ApiFindMasterKey(id, nullptr)); }

int Classify(ApiContext* api, WORD setting, LONG_PTR value) {
  DriverContext* ctx = ApiDriverCtx(api);
  return ctx ? ApiClassifyValue(ItemFind(ctx, setting), setting, value, ctx) : 0;
}

// The value's entry exists and is neither disabled nor restricted.
bool ValueOffered(ApiContext* api, WORD setting, LONG value) {
  return value >= 0 && value <= 0xFFFF && ApiIsSettingOffered(api, setting, static_cast<WORD>(value), 3);
}

// Offered switch settings (neither disabled nor restricted).
bool SettingOffered(ApiContext* api, WORD setting) { return ApiIsSettingOffered(api, setting, 0, 3) != 0; }

// 0.1 mm to the stored 1/1200 inch and back, sign kept.
LONG FromTenthMm(LONG value) {
  const DWORD dots = UnitDisplayToDots(kUnitTenthMm, static_cast<DWORD>(value < 0 ? -value : value), 1200);
  return value < 0 ? -static_cast<LONG>(dots) : static_cast<LONG>(dots);
}
LONG ToTenthMm(LONG value) {
  const DWORD shown = UnitDotsToDisplay(kUnitTenthMm, static_cast<DWORD>(value < 0 ? -value : value), 1200);
  return value < 0 ? -static_cast<LONG>(shown) : static_cast<LONG>(shown);
}

bool DuplexBinding(ApiContext* api) {
  if (!ApiReadLong(api, kItem_zdmFuncSelectDuplex)) return false;
  const LONG type = ApiReadLong(api, kItem_zdmDuplexType);
  return type >= 17 && type <= 19;
}

// Items 12 and 13 (a type and its tray under the master switch): the verify and the get.
LONG VerifyTypeAndTray(ApiContext* api, DWORD id, void* record, BYTE* bits, LONG mode, WORD type, WORD tray) {
  const LONG master = ApiVerifyMasterSwitch(api, id, record, bits, mode);
  if (master != 1 || Simple(record)->masterSwitch == 0) return master;
  return ApiReadLong(api, type) == Simple(record)->value && ApiReadLong(api, tray) == Simple(record)->value2 ? 1 : -1;
}

LONG GetTypeAndTray(ApiContext* api, DWORD id, void* record, WORD type, WORD tray) {
  if (!record) return kApiSimpleRecordSize;
  ApiSimpleRecord* r = Simple(record);
  r->value = ApiReadLong(api, type);
  r->value2 = ApiReadLong(api, tray);
  r->masterSwitch = static_cast<DWORD>(ApiReadMasterSwitch(api, id));
  return kApiSimpleRecordSize;
}

}  // namespace

// ---- item 12 ----

LONG ApiSetCover(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  if (!record) return -1;
  if (ApiMasterSwitchOff(api, id, record)) return 1;
  const ApiSimpleRecord* r = Simple(record);
  if (!ApiValueTest(api, kItem_zdmCoverType, r->value) || !ApiValueTest(api, kItem_zdmCoverInputTray, r->value2))
    return -1;
  {
    ApiDevmodeTrial snapshot(api);
    if (!snapshot.ok()) {
      ApiSetLastError(api, kApiErrInternal);
      return -1;
    }
    ApiWrite(api, kItem_zdmCoverInputTray, r->value2);
    if (r->value == 3 && Classify(api, kItem_zdmCoverType, r->value) == kClassRestricted) return -1;
    if (DuplexBinding(api) && !ValueOffered(api, kItem_zdmCoverType, r->value)) return -1;
  }
  ApiWrite(api, kItem_zdmCoverType, r->value);
  ApiWrite(api, kItem_zdmCoverInputTray, r->value2);
  ApiWriteMasterSwitch(api, id, record);
  return 1;
}

LONG ApiVerifyCover(ApiContext* api, DWORD id, void* record, BYTE* bits, LONG mode) {
  return VerifyTypeAndTray(api, id, record, bits, mode, kItem_zdmCoverType, kItem_zdmCoverInputTray);
}

LONG ApiGetCover(ApiContext* api, DWORD id, void* record, DWORD) {
  return GetTypeAndTray(api, id, record, kItem_zdmCoverType, kItem_zdmCoverInputTray);
}

// ---- item 13 ----

LONG ApiSetMarkPaper(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  if (!record) return -1;
  if (ApiMasterSwitchOff(api, id, record)) return 1;
  const ApiSimpleRecord* r = Simple(record);
  if (!ApiValueTest(api, kItem_zdmMarkPaperType, r->value) || !ApiValueTest(api, kItem_zdmMPInputTray, r->value2))
    return -1;
  if (!ValueOffered(api, kItem_zdmMarkPaperType, r->value)) return -1;
  ApiWrite(api, kItem_zdmMarkPaperType, r->value);
  ApiWrite(api, kItem_zdmMPInputTray, r->value2);
  ApiWriteMasterSwitch(api, id, record);
  return 1;
}

LONG ApiVerifyMarkPaper(ApiContext* api, DWORD id, void* record, BYTE* bits, LONG mode) {
  return VerifyTypeAndTray(api, id, record, bits, mode, kItem_zdmMarkPaperType, kItem_zdmMPInputTray);
}

LONG ApiGetMarkPaper(ApiContext* api, DWORD id, void* record, DWORD) {
  return GetTypeAndTray(api, id, record, kItem_zdmMarkPaperType, kItem_zdmMPInputTray);
}

// ---- item 15 ----

LONG ApiSetDuplex(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  if (!record) return -1;
  DriverContext* ctx = ApiDriverCtx(api);
  const ApiSimpleRecord* r = Simple(record);
  if (BuildHasFeature(ctx, kLockFeature) && ItemLockDuplex(ctx)) {
    int noMemory = 0;
    if (!ApiCapsListHas(api, 104, r->value, &noMemory)) {
      if (noMemory) ApiSetLastError(api, kApiErrInternal);
      return -1;
    }
  }
  if (ApiMasterSwitchOff(api, id, record)) {
    DmSetDuplexField(ApiSettings(api), ctx);
    return 1;
  }
  if (!ApiValueTest(api, kItem_zdmDuplexType, r->value)) return -1;
  if (!ApiTrialSetValue(api, id, Master(id), kItem_zdmDuplexType, r->value)) return -1;
  const bool binding = r->value >= 1 && r->value <= 3;
  const LONG odd = FromTenthMm(r->value2), even = FromTenthMm(r->value3);
  if (binding && (!ApiValueTest(api, kItem_zdmMarginOdd, odd) || !ApiValueTest(api, kItem_zdmMarginEven, even)))
    return -1;
  ApiWrite(api, kItem_zdmDuplexType, r->value);
  ApiWriteMasterSwitch(api, id, record);
  DmSetDuplexField(ApiSettings(api), ctx);
  if (binding) {
    ApiWrite(api, Master(18), 1);
    ApiWrite(api, kItem_zdmMarginOdd, odd);
    ApiWrite(api, kItem_zdmMarginEven, even);
  }
  return 1;
}

LONG ApiGetDuplex(ApiContext* api, DWORD id, void* record, DWORD) {
  if (!record) return kApiSimpleRecordSize;
  ApiSimpleRecord* r = Simple(record);
  r->value = ApiReadLong(api, kItem_zdmDuplexType);
  const bool margin = ApiReadLong(api, kItem_zdmFuncSelectMargin) != 0;
  r->value2 = margin ? ToTenthMm(ApiReadLong(api, kItem_zdmMarginOdd)) : 0;
  r->value3 = margin ? ToTenthMm(ApiReadLong(api, kItem_zdmMarginEven)) : 0;
  r->masterSwitch = static_cast<DWORD>(ApiReadMasterSwitch(api, id));
  return kApiSimpleRecordSize;
}

// ---- item 18 ----

LONG ApiSetShiftMargin(ApiContext* api, DWORD, void* record, BYTE*, LONG) {
  if (!record) return -1;
  const ApiSimpleRecord* r = Simple(record);
  const LONG x = FromTenthMm(r->value2), y = FromTenthMm(r->value3);
  if (!ApiValueTest(api, kItem_zdmShiftDir, r->value) || !ApiValueTest(api, kItem_zdmShiftMarginX, x) ||
      !ApiValueTest(api, kItem_zdmShiftMarginY, y))
    return -1;
  ApiWrite(api, kItem_zdmShiftDir, r->value);
  ApiWrite(api, kItem_zdmShiftMarginX, x);
  ApiWrite(api, kItem_zdmShiftMarginY, y);
  ApiWrite(api, kItem_zdmFuncSelectMargin, 1);
  return 1;
}

LONG ApiGetShiftMargin(ApiContext* api, DWORD, void* record, DWORD) {
  if (!record) return kApiSimpleRecordSize;
  ApiSimpleRecord* r = Simple(record);
  r->value = ApiReadLong(api, kItem_zdmShiftDir);
  const bool margin = ApiReadLong(api, kItem_zdmFuncSelectMargin) != 0;
  r->value2 = margin ? ToTenthMm(ApiReadLong(api, kItem_zdmShiftMarginX)) : 0;
  r->value3 = margin ? ToTenthMm(ApiReadLong(api, kItem_zdmShiftMarginY)) : 0;
  return kApiSimpleRecordSize;
}

// ---- item 19 ----

LONG ApiSetSort(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  if (!record) return -1;
  if (!ApiRecordLevelOk(api, id, ApiRecordVersionOf(record))) return -1;
  const DWORD version = ApiUsedRecordVersion(id, ApiRecordVersionOf(record));
  if (ApiMasterSwitchOff(api, id, record)) return 1;
  const ApiSimpleRecord* r = Simple(record);
  if (!ApiValueTest(api, kItem_zdmSortType, r->value)) return -1;
  const bool separation = version == 2 && ApiCapsPresent(api, 76);
  if (separation) {
    if (!ApiValueTest(api, kItem_zdmExtOutput2SeparationSheet, r->value2)) return -1;
    if (r->value2 == 1 && !ApiValueTest(api, kItem_zdmSeparationSheetCycle, r->value3)) return -1;
  }
  ApiWrite(api, kItem_zdmSortType, r->value);
  if (separation) {
    ApiWrite(api, kItem_zdmExtOutput2SeparationSheet, r->value2);
    if (r->value2 == 1) ApiWrite(api, kItem_zdmSeparationSheetCycle, r->value3);
  }
  ApiWriteMasterSwitch(api, id, record);
  return 1;
}

LONG ApiVerifySort(ApiContext* api, DWORD id, void* record, BYTE* bits, LONG mode) {
  const LONG master = ApiVerifyMasterSwitch(api, id, record, bits, mode);
  if (master != 1 || Simple(record)->masterSwitch == 0) return master;
  const DWORD version = ApiRecordVersionOf(record);
  if ((version == 0 || version >= 2) && ApiCapsPresent(api, 76) &&
      ApiReadLong(api, kItem_zdmExtOutput2SeparationSheet) != Simple(record)->value2)
    return -1;
  return 1;
}

LONG ApiGetSort(ApiContext* api, DWORD id, void* record, DWORD version) {
  const LONG size = ApiGetRecordSize(api, id, version);
  if (size < 0 || !record) return size;
  ApiSimpleRecord* r = Simple(record);
  r->value = ApiReadLong(api, kItem_zdmSortType);
  if (version == 0 || version >= 2) {
    const bool separation = ApiCapsPresent(api, 76) != 0;
    r->value2 = separation ? ApiReadLong(api, kItem_zdmExtOutput2SeparationSheet) : 0;
    r->value3 = separation ? ApiReadLong(api, kItem_zdmSeparationSheetCycle) : 0;
  }
  r->masterSwitch = static_cast<DWORD>(ApiReadMasterSwitch(api, id));
  return size;
}

// ---- items 20, 21, 51 ----
namespace {
WORD FinisherType(DWORD id) {
  switch (id) {
    case 20: return kItem_zdmStapleType;
    case 21: return kItem_zdmPunchType;
    case 51: return kItem_zdmFoldType;
    default: return 0;
  }
}
}  // namespace

LONG ApiSetFinisher(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  const WORD type = FinisherType(id);
  if (!record || !type) return -1;
  if (ApiMasterSwitchOff(api, id, record)) return 1;
  const LONG value = Simple(record)->value;
  if (!ApiValueTest(api, type, value)) return -1;
  if (!ApiTrialSetValue(api, id, Master(id), type, value)) return -1;
  ApiWrite(api, type, value);
  ApiWriteMasterSwitch(api, id, record);
  return 1;
}

LONG ApiGetFinisher(ApiContext* api, DWORD id, void* record, DWORD) {
  const WORD type = FinisherType(id);
  if (!type) return -1;
  if (!record) return kApiSimpleRecordSize;
  Simple(record)->value = ApiReadLong(api, type);
  Simple(record)->masterSwitch = static_cast<DWORD>(ApiReadMasterSwitch(api, id));
  return kApiSimpleRecordSize;
}

// ---- items 64 and 65 ----
namespace {

struct CoverItem {
  WORD sw, type, tray;
  LONG maxCode;
};
const CoverItem* CoverOf(DWORD id) {
  static const CoverItem kBack = {kItem_zdmFuncSelectBack, kItem_zdmBackCoverType, kItem_zdmBackCoverInputTray, 3};
  static const CoverItem kReverse = {kItem_zdmFuncSelectReverseCover, kItem_zdmReverseCoverType,
                                     kItem_zdmReverseCoverInputTray, 2};
  return id == 64 ? &kBack : id == 65 ? &kReverse : nullptr;
}
// Back cover: codes 1, 2, 3 stand for types 0, 2, 3; reverse cover: the type is the code.
LONG TypeOfCode(DWORD id, LONG code) { return id == 64 ? (code == 1 ? 0 : code) : code; }
LONG CodeOfType(DWORD id, LONG type) {
  if (id == 65) return type == 1 || type == 2 ? type : -1;
  return type == 0 ? 1 : type == 2 ? 2 : type == 3 ? 3 : -1;
}

}  // namespace

LONG ApiSetBackCover(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  const CoverItem* item = CoverOf(id);
  if (!record || !item) return -1;
  const ApiSimpleRecord* r = Simple(record);
  const LONG code = r->value;
  if (code == 0) {
    ApiWrite(api, item->sw, 0);
    return 1;
  }
  if (code < 1 || code > item->maxCode) return -1;
  if (id == 64 && code == 3 && !ApiReadLong(api, kItem_zdmFuncSelectDuplex)) {
    ApiSetLastError(api, kApiErrPaper);
    return -1;
  }
  if (!ApiValueTest(api, item->tray, r->value2)) return -1;
  const LONG type = TypeOfCode(id, code);
  const bool outside = SettingOffered(api, kItem_zdmExtOutput2ReverseCoverOutside);
  {
    ApiDevmodeTrial snapshot(api);
    if (!snapshot.ok()) {
      ApiSetLastError(api, kApiErrInternal);
      return -1;
    }
    ApiWrite(api, item->sw, 1);
    ApiWrite(api, item->tray, r->value2);
    if (id == 64 && code == 3 && Classify(api, item->type, type) == kClassRestricted) {
      ApiSetLastError(api, kApiErrPaper);
      return -1;
    }
    ApiWrite(api, item->type, type);
    if (outside && !ApiValueTest(api, kItem_zdmExtOutput2ReverseCoverOutside, r->value3)) return -1;
  }
  ApiWrite(api, item->sw, 1);
  ApiWrite(api, item->type, type);
  ApiWrite(api, item->tray, r->value2);
  if (outside) ApiWrite(api, kItem_zdmExtOutput2ReverseCoverOutside, r->value3);
  return 1;
}

LONG ApiVerifyBackCover(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  const CoverItem* item = CoverOf(id);
  if (!item) return -1;
  const ApiSimpleRecord* r = Simple(record);
  if (r->value == 0) return ApiReadLong(api, item->sw) == 0 ? 1 : -1;
  if (ApiReadLong(api, item->type) != TypeOfCode(id, r->value) || ApiReadLong(api, item->tray) != r->value2) return -1;
  if (SettingOffered(api, kItem_zdmExtOutput2ReverseCoverOutside) &&
      ApiReadLong(api, kItem_zdmExtOutput2ReverseCoverOutside) != r->value3)
    return -1;
  return 1;
}

LONG ApiGetBackCover(ApiContext* api, DWORD id, void* record, DWORD) {
  const CoverItem* item = CoverOf(id);
  if (!item) return -1;
  if (!record) return kApiSimpleRecordSize;
  ApiSimpleRecord* r = Simple(record);
  // A type no code stands for reads as -1, never as the caller's bytes.
  r->value = ApiReadLong(api, item->sw) == 0 ? 0 : CodeOfType(id, ApiReadLong(api, item->type));
  r->value2 = ApiReadLong(api, item->tray);
  r->value3 = ApiReadLong(api, kItem_zdmExtOutput2ReverseCoverOutside);
  return kApiSimpleRecordSize;
}

// ---- item 66 ----

LONG ApiSetInsertMedia(ApiContext* api, DWORD, void* record, BYTE*, LONG) {
  if (!record) return -1;
  const LONG media = Simple(record)->value;
  if (!ApiValueTest(api, kItem_zdmCoverMediaType, media)) return -1;
  for (WORD s : {kItem_zdmCoverMediaType, kItem_zdmBackCoverMediaType, kItem_zdmMPInputMediaType,
                 kItem_zdmChapterMediaType, kItem_zdmReverseCoverMediaType})
    ApiWrite(api, s, media);
  return 1;
}

LONG ApiGetInsertMedia(ApiContext* api, DWORD, void* record, DWORD) {
  if (!record) return kApiSimpleRecordSize;
  Simple(record)->value = ApiReadLong(api, kItem_zdmMPInputMediaType);
  return kApiSimpleRecordSize;
}

// ---- item 67 ----
namespace {

enum : UINT {
  kOffChSwitch = 4, kOffChOperation = 8, kOffChEntry = 12, kOffChPage = 16, kOffChKind = 20, kOffChTray = 28,
  kOffChPrint = 32, kOffChLast = 36,
};
constexpr LONG kMaxPage = 30000;


// Reads the chapter list again from the settings store.
void ReloadChapters(ApiContext* api) { StoreLoadModuleItems(ApiDriverCtx(api)); }

LONG ChapterCount(ApiContext* api) { return ApiReadLong(api, kItem_wdmChapterNum); }

LONG DecimalOf(const WCHAR* text) {
  LONG n = 0;
  for (int i = 0; i < 8 && text[i] >= u'0' && text[i] <= u'9'; ++i) n = n * 10 + (text[i] - u'0');
  return n;
}

}  // namespace

LONG ApiSetChapters(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  if (!record) return -1;
  if (!ApiRecordLevelOk(api, id, ApiRecordVersionOf(record))) return -1;
  const DWORD version = ApiUsedRecordVersion(id, ApiRecordVersionOf(record));
  auto at = [record](UINT offset) { return ApiRecordLong(record, offset); };
  const LONG sw = at(kOffChSwitch);
  if (sw != 0 && sw != 1) return -1;
  ReloadChapters(api);
  const LONG count = ChapterCount(api);
  const LONG op = at(kOffChOperation);
  if (op == 0) {
    ApiWrite(api, kItem_zdmFuncSelectChapter, sw == 1 && count == 0 ? 0 : sw);
    return 1;
  }
  ApiWrite(api, kItem_zdmFuncSelectChapter, 1);
  const LONG page = at(kOffChPage), kind = at(kOffChKind), tray = at(kOffChTray), print = at(kOffChPrint);
  const LONG last = version == 2 ? at(kOffChLast) : 0;
  if (op == 2) {
    if (at(kOffChEntry) < 1 || at(kOffChEntry) > count) return -1;
  } else if (op == 1) {
    if (page < 1 || page > kMaxPage) return -1;
    if (kind != 0 && kind != 1 && kind != 3) return -1;
    if (kind == 3 && ApiLevel(api) < 15) return -1;
    if (kind == 0) {
      if (!ApiValueTest(api, kItem_wdmChapterTray, tray) || print < 0 || print > 2) return -1;
      if (print == 2 && !ApiReadLong(api, kItem_zdmFuncSelectDuplex)) {
        ApiSetLastError(api, kApiErrPaper);
        return -1;
      }
    }
    if (kind == 3) {
      if (!ApiValueTest(api, kItem_wdmChapterTray, tray)) return -1;
      if (version == 2 && (last < 1 || last > kMaxPage || last < page)) return -1;
    }
  } else if (op != 3) {
    return -1;
  }
  ApiWrite(api, kItem_zdmFuncSelectChapter, sw);
  if (op == 1) {
    ApiWrite(api, kItem_wdmChapterKind, kind);
    WCHAR text[12] = {};
    LONG n = page;
    int len = 0;
    WCHAR rev[12];
    do {
      rev[len++] = static_cast<WCHAR>(u'0' + n % 10);
      n /= 10;
    } while (n && len < 11);
    for (int i = 0; i < len; ++i) text[i] = rev[len - 1 - i];
    if (SettingItem* row = ItemFind(ApiDriverCtx(api), kItem_wdmChapterPage)) ItemSetText(ApiDriverCtx(api), row, text);
    if (kind == 0 || kind == 3) ApiWrite(api, kItem_wdmChapterTray, tray);
    if (kind == 0) {
      ApiWrite(api, kItem_wdmChapterPrint, print);
      if (Classify(api, kItem_wdmChapterPrint, print) == kClassDisabled) {
        ApiSetLastError(api, kApiErrPaper);
        return -1;
      }
    }
    LONG_PTR op2[6] = {page, 0, last != 0 && last != page ? last : 0, 0, 0, 0};
    if (!ApiChapterListOp(api, 2, op2) || op2[3] != 0) {
      ApiSetLastError(api, kApiErrPaper);
      return -1;
    }
    return 1;
  }
  if (op == 2) {
    LONG_PTR op3[6] = {at(kOffChEntry) - 1, 0, 0, 0, 0, 0};
    if (!ApiChapterListOp(api, 3, op3) || op3[1] != 0) {
      ApiSetLastError(api, kApiErrInternal);
      return -1;
    }
    if (count == 1) ApiWrite(api, kItem_zdmFuncSelectChapter, 0);
    return 1;
  }
  LONG_PTR op4[6] = {};
  if (!ApiChapterListOp(api, 4, op4)) {
    ApiSetLastError(api, kApiErrInternal);
    return -1;
  }
  ApiWrite(api, kItem_zdmFuncSelectChapter, 0);
  return 1;
}

LONG ApiVerifyChapters(ApiContext* api, DWORD, void* record, BYTE*, LONG) {
  auto at = [record](UINT offset) { return ApiRecordLong(record, offset); };
  const LONG count = ChapterCount(api);
  const LONG sw = ApiReadLong(api, kItem_zdmFuncSelectChapter);
  switch (at(kOffChOperation)) {
    case 0:
      return count ? (sw == at(kOffChSwitch) ? 1 : -1) : (sw == 0 ? 1 : -1);
    case 1: {
      if (!count || sw != at(kOffChSwitch) || ApiReadLong(api, kItem_wdmChapterKind) != at(kOffChKind)) return -1;
      WCHAR page[16] = {};
      if (SettingItem* row = ItemFind(ApiDriverCtx(api), kItem_wdmChapterPage))
        ItemGetTextBounded(ApiDriverCtx(api), row, page, 16);
      if (DecimalOf(page) != at(kOffChPage)) return -1;
      const LONG kind = at(kOffChKind);
      if ((kind == 0 || kind == 3) && ApiReadLong(api, kItem_wdmChapterTray) != at(kOffChTray)) return -1;
      if (kind == 0 && ApiReadLong(api, kItem_wdmChapterPrint) != at(kOffChPrint)) return -1;
      return 1;
    }
    case 2:
      return count ? 1 : (sw == 0 ? 1 : -1);
    case 3:
      return !count && sw == 0 ? 1 : -1;
    default:
      return 1;
  }
}

LONG ApiGetChapters(ApiContext* api, DWORD id, void* record, DWORD version) {
  const LONG size = ApiGetRecordSize(api, id, version);
  if (size < 0 || !record) return size;
  version = ApiUsedRecordVersion(id, version);
  ReloadChapters(api);
  const LONG count = ChapterCount(api);
  const LONG entry = ApiRecordLong(record, kOffChEntry);
  // Only entries 1 to count are read; 0 asks for none, a negative or larger number is refused.
  if (entry < 0 || entry > count) {
    ApiSetLastError(api, kApiErrRefused);
    return -1;
  }
  DriverContext* ctx = ApiDriverCtx(api);
  DmRecheckChapterTrays(ctx);
  StoreSaveUserClasses(api->printer, ctx);
  ApiPutRecordLong(record, kOffChSwitch, ApiReadLong(api, kItem_zdmFuncSelectChapter));
  ApiPutRecordLong(record, kOffChOperation, count);
  if (entry == 0) return size;
  DWORD records = 0;
  const auto* chapters = static_cast<const ChapterRecord*>(ApiChapterArray(api, &records));
  if (!chapters || static_cast<DWORD>(entry) > records) {
    ApiSetLastError(api, kApiErrInternal);
    return -1;
  }
  const ChapterRecord& c = chapters[entry - 1];
  ApiPutRecordLong(record, kOffChPage, c.page);
  ApiPutRecordLong(record, kOffChKind, c.kind);
  ApiPutRecordLong(record, kOffChTray, c.tray);
  ApiPutRecordLong(record, kOffChPrint, c.print);
  if (version == 2) {
    LONG last = c.page;
    for (int i = 0; i < 15 && c.range[i]; ++i)
      if (c.range[i] == u'-') {
        last = DecimalOf(c.range + i + 1);
        break;
      }
    ApiPutRecordLong(record, kOffChLast, last);
  }
  return size;
}

// ---- items 68 to 71 ----
namespace {

bool MarginUsable(ApiContext* api) {
  DriverContext* ctx = ApiDriverCtx(api);
  const WORD margin = Master(18);
  const ModelItemDescriptor* desc = ctx && margin ? ModelGetDescriptor(margin, ctx) : nullptr;
  if (!desc || !ApiFindConstraintNode(margin, api)) return false;
  return !ModelIsValueRestricted(desc, 0, ctx);
}

}  // namespace

LONG ApiSetPageEdge(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  if (!record || !MarginUsable(api)) return -1;
  const ApiSimpleRecord* r = Simple(record);
  const WORD margin = Master(18);
  switch (id) {
    case 68:
      if (r->masterSwitch == 0) {
        ApiWrite(api, kItem_zdmFunc2SelectEdgeCorner, 0);
        return 1;
      }
      if (!ApiValueTest(api, kItem_zdmCornerPosi, r->value)) return -1;
      ApiWrite(api, margin, 1);
      ApiWrite(api, kItem_zdmFunc2SelectEdgeCorner, static_cast<LONG>(r->masterSwitch));
      ApiWrite(api, kItem_zdmCornerPosi, r->value);
      return 1;
    case 69:
      if (!ApiValueTest(api, kItem_zdmFuncSelectMarginOverlap, r->value)) return -1;
      ApiWrite(api, margin, 1);
      ApiWrite(api, kItem_zdmFuncSelectMarginOverlap, r->value);
      return 1;
    case 70:
      if (!ApiValueTest(api, kItem_zdmFuncSelectCrops, r->value)) return -1;
      if (r->value == 1 && !ApiValueTest(api, kItem_zdmFuncSelectCropsFirst, r->value2)) return -1;
      ApiWrite(api, kItem_zdmFuncSelectCrops, r->value);
      if (r->value == 1) ApiWrite(api, kItem_zdmFuncSelectCropsFirst, r->value2);
      ApiWrite(api, margin, 1);
      return 1;
    case 71: {
      const LONG inside = FromTenthMm(r->value), outside = FromTenthMm(r->value2);
      if (!ApiValueTest(api, kItem_zdmCreepMarginInside, inside) ||
          !ApiValueTest(api, kItem_zdmCreepMarginOutside, outside))
        return -1;
      ApiWrite(api, kItem_zdmCreepMarginInside, inside);
      ApiWrite(api, kItem_zdmCreepMarginOutside, outside);
      ApiWrite(api, margin, 1);
      return 1;
    }
    default:
      return -1;
  }
}

LONG ApiVerifyPageEdge(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  const ApiSimpleRecord* r = Simple(record);
  switch (id) {
    case 68:
      if (r->masterSwitch == 0) return 1;
      return ApiReadLong(api, kItem_zdmFunc2SelectEdgeCorner) != 0 && ApiReadLong(api, kItem_zdmCornerPosi) == r->value
                 ? 1
                 : -1;
    case 69:
      return ApiReadLong(api, kItem_zdmFuncSelectMarginOverlap) == r->value ? 1 : -1;
    case 70:
      if (ApiReadLong(api, kItem_zdmFuncSelectCrops) != r->value) return -1;
      return r->value != 1 || ApiReadLong(api, kItem_zdmFuncSelectCropsFirst) == r->value2 ? 1 : -1;
    case 71:
      return ToTenthMm(ApiReadLong(api, kItem_zdmCreepMarginInside)) == ToTenthMm(FromTenthMm(r->value)) &&
                     ToTenthMm(ApiReadLong(api, kItem_zdmCreepMarginOutside)) == ToTenthMm(FromTenthMm(r->value2))
                 ? 1
                 : -1;
    default:
      return -1;
  }
}

LONG ApiGetPageEdge(ApiContext* api, DWORD id, void* record, DWORD) {
  if (!record) return kApiSimpleRecordSize;
  ApiSimpleRecord* r = Simple(record);
  switch (id) {
    case 68:
      r->value = ApiReadLong(api, kItem_zdmCornerPosi);
      r->masterSwitch = static_cast<DWORD>(ApiReadLong(api, kItem_zdmFunc2SelectEdgeCorner));
      break;
    case 69:
      r->value = ApiReadLong(api, kItem_zdmFuncSelectMarginOverlap);
      break;
    case 70:
      r->value = ApiReadLong(api, kItem_zdmFuncSelectCrops);
      r->value2 = ApiReadLong(api, kItem_zdmFuncSelectCropsFirst);
      break;
    case 71: {
      const bool margin = ApiReadLong(api, kItem_zdmFuncSelectMargin) != 0;
      r->value = margin ? ToTenthMm(ApiReadLong(api, kItem_zdmCreepMarginInside)) : 0;
      r->value2 = margin ? ToTenthMm(ApiReadLong(api, kItem_zdmCreepMarginOutside)) : 0;
      break;
    }
    default:
      return -1;
  }
  return kApiSimpleRecordSize;
}

// ---- item 79 ----
namespace {
constexpr LONG kFoldingOff = 255;
WORD FoldingDetail(LONG type) {
  switch (type) {
    case 5: return kItem_zdmFoldingLongFanType;
    case 6: return kItem_zdmFoldingCustomType;
    case 7: return kItem_zdmFoldingProgramType;
    default: return 0;
  }
}
}  // namespace

LONG ApiSetFolding(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  if (!record) return -1;
  const ApiSimpleRecord* r = Simple(record);
  const LONG type = r->value;
  if (Master(id) && type == kFoldingOff) {
    ApiWrite(api, kItem_zdmFunc2SelectFolding, 0);
    return 1;
  }
  const LONG punch = r->value3 & 1, corner = (r->value3 >> 1) & 1;
  const WORD detail = FoldingDetail(type);
  if (!ApiValueTest(api, kItem_zdmFunc2SelectFolding, 1) || !ApiValueTest(api, kItem_zdmFunc2SelectFoldingPunch, punch) ||
      !ApiValueTest(api, kItem_zdmFunc2SelectFoldingCorner, corner) || !ApiValueTest(api, kItem_zdmFoldingType, type))
    return -1;
  if (detail && !ApiValueTest(api, detail, r->value2)) return -1;
  ApiWrite(api, kItem_zdmFunc2SelectFolding, 1);
  ApiWrite(api, kItem_zdmFunc2SelectFoldingPunch, punch);
  ApiWrite(api, kItem_zdmFunc2SelectFoldingCorner, corner);
  ApiWrite(api, kItem_zdmFoldingType, type);
  if (detail) ApiWrite(api, detail, r->value2);
  return 1;
}

LONG ApiVerifyFolding(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  if (!Master(id)) return -1;
  if (Simple(record)->value == kFoldingOff) return 1;
  return ApiReadLong(api, kItem_zdmFunc2SelectFolding) != 0 ? 1 : -1;
}

LONG ApiGetFolding(ApiContext* api, DWORD, void* record, DWORD) {
  if (!record) return kApiSimpleRecordSize;
  ApiSimpleRecord* r = Simple(record);
  const LONG type = ApiReadLong(api, kItem_zdmFoldingType);
  r->value = ApiReadLong(api, kItem_zdmFunc2SelectFolding) ? type : kFoldingOff;
  const WORD detail = FoldingDetail(type);
  r->value2 = detail ? ApiReadLong(api, detail) : 0;
  r->value3 = (ApiReadLong(api, kItem_zdmFunc2SelectFoldingPunch) == 1 ? 1 : 0) |
              (ApiReadLong(api, kItem_zdmFunc2SelectFoldingCorner) == 1 ? 2 : 0);
  return kApiSimpleRecordSize;
}
