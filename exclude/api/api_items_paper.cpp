// The paper and layout status items: paper size with custom sizes, output paper with custom
// output sizes, scaling, N-up, output rotation, the manual-tray orientation and the read-only
// view of one tray; the trial of a value under a master switch and the custom-size check.
#include "exclude/api/api_items_paper.h"

#include <string.h>

#include <vector>

#include "core/common/os_tests.h"
#include "core/devmode/couplings.h"
#include "core/devmode/paper_codes.h"
#include "core/devmode/paper_geometry.h"
#include "core/items/derived_settings.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/items/units.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/rules/api_readers.h"
#include "core/rules/transacts.h"
#include "core/tables/build_switches.h"
#include "core/tables/static_tables.h"
#include "exclude/api/api_caps_lists.h"
#include "exclude/api/api_caps_table.h"
#include "exclude/api/api_context.h"
#include "exclude/api/api_devmode.h"
#include "exclude/api/api_levels.h"
#include "exclude/api/api_records.h"
#include "exclude/api/api_services.h"
#include "exclude/api/api_settings_trial.h"
#include "exclude/api/api_status_table.h"

namespace {

constexpr LONG kCustomPaper = 256;
constexpr LONG kCustomOutput = 448;
constexpr LONG kSameAsInput = 1024;
constexpr LONG kShortOverLimit = 32760;  // 0.1 mm: the DEVMODE's 16-bit lengths end here
constexpr WORD kAlertPaperLocked = 10205;
constexpr int kFeatureSettingLocks = 2;
constexpr LONG kTrayInfoSize = 56;

LONG Field(const void* record, UINT offset) { return ApiRecordLong(record, offset); }
// Display units (0.1 mm or 0.01 inch) and the DEVMODE's 0.1 mm.
LONG DisplayToTenthMm(ApiContext* api, LONG value) { return ApiDisplayToTenthMm(ApiDriverCtx(api), value); }
// Back to 0.01 inch with the display conversion of the settings, which rounds up to the value
// whose 1/1200-inch count is not below it: 601 went to 1526 (0.1 mm, floored), 7209/1200 inch,
// and comes back as 601, where flooring once more would give 600.
LONG TenthMmToDisplay(ApiContext* api, LONG value) {
  if (value <= 0) return 0;
  if (ItemIsMetricUnit(ApiDriverCtx(api))) return value;
  return ItemDotsToDisplay(ApiDriverCtx(api), 0, static_cast<LONG>(UnitFromTenthMm(static_cast<DWORD>(value), 1200)));
}
LONG DotsToDisplay(ApiContext* api, LONG dots) { return ItemDotsToDisplay(ApiDriverCtx(api), 0, dots); }
LONG DisplayToDots(ApiContext* api, LONG value) { return ItemDisplayToDots(ApiDriverCtx(api), 0, value); }

int Classify(ApiContext* api, WORD setting, LONG value) {
  DriverContext* ctx = ApiDriverCtx(api);
  SettingItem* row = ctx ? ItemFind(ctx, setting) : nullptr;
  return row ? ApiClassifyValue(row, setting, value, ctx) : 0;
}

void SetFields(ApiContext* api, DWORD set, DWORD clear) {
  const DWORD fields = static_cast<DWORD>(ApiReadLong(api, kItem_dmFields));
  ApiWrite(api, kItem_dmFields, static_cast<LONG>((fields & ~clear) | set));
}

bool IsSourceFreeSize(LONG paper) { return paper >= 384 && paper <= 393; }

// Tray slot n of the four runs of tray settings, and the dmDefaultSource value it stands for.
constexpr WORD kTraySlotSources[32] = {1, 3, 2, 256, 261, 262, 263, 0, 0, 0, 0,  0, 0, 298, 295, 296,
                                       287, 288, 289, 290, 0, 0, 0, 0, 0, 11, 0, 4, 4, 286, 0, 0};

}  // namespace

LONG ApiDisplayToTenthMm(DriverContext* ctx, LONG value) {
  if (value <= 0) return 0;
  if (ItemIsMetricUnit(ctx)) return value;
  return static_cast<LONG>(UnitToTenthMm(static_cast<DWORD>(value), 100));
}

int ApiSyncPaperAndResolution(ApiContext* api) {
  DriverContext* ctx = ApiDriverCtx(api);
  BYTE* devmode = ApiSettings(api);
  if (!ctx || !devmode) return 0;
  DmSyncResolutionFromDst(devmode, ctx);
  const DWORD fields = static_cast<DWORD>(ApiReadLong(api, kItem_dmFields));
  if ((fields & DM_PAPERWIDTH) && (fields & DM_PAPERLENGTH))
    DmSetPaperDotsFromSize(devmode, ctx);
  else
    DmApplyInputPaper(static_cast<short>(ApiReadLong(api, kItem_dmPaperSize)), kItem_dmPaperSize, ctx, devmode);
  DmApplyOutputPaper(static_cast<short>(ApiReadLong(api, kItem_zdmOutPaperSize)), kItem_zdmOutPaperSize, ctx, devmode);
  return 0;
}

int ApiTrialSetValue(ApiContext* api, DWORD statusId, WORD master, WORD setting, LONG value) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx) return 0;
  if (ApiReadLong(api, master) != 0) return 1;
  int allowed = 0;
  {
    // The whole settings block is kept: the rules may touch any part of it.
    ApiSettingsTrial trial(api);
    if (!trial.ok()) {
      ApiSetLastError(api, kApiErrInternal);
      return 0;
    }
    BYTE* devmode = ApiSettings(api);
    ApiWrite(api, master, 1);
    ApiWrite(api, setting, value);
    if (statusId == 15) DmSetDuplexField(devmode, ctx);
    for (const ModelItemDescriptor* desc = ModelFindDescriptor(master, ctx); desc; desc = desc->next)
      if (desc->itemId == master) ModelRunItemTransacts(desc, ctx);
    DmSetDuplexField(devmode, ctx);
    ApiMergeStoredDevmode(api, nullptr);
    if (ApiReadLong(api, master) != 0) allowed = ApiValueTest(api, setting, value);
  }
  return allowed;
}

int ApiCheckCustomSize(ApiContext* api, LONG width, LONG length) {
  if (width == 0 || length == 0) return 0;
  LONG maximum[2] = {}, minimum[2] = {};
  if (ApiLevel(api) >= 16) {
    ApiCapsRoom room(1);
    ApiCallCapsHandler(api, 124, maximum);
    ApiCallCapsHandler(api, 125, minimum);
  } else {
    SHORT high[2] = {}, low[2] = {};
    ApiCallCapsHandler(api, 13, high);
    ApiCallCapsHandler(api, 14, low);
    // The 16-bit answers are signed numbers; the sizes are compared as they were given.
    for (int i = 0; i < 2; ++i) {
      maximum[i] = high[i];
      minimum[i] = low[i];
    }
  }
  return minimum[0] <= width && width <= maximum[0] && minimum[1] <= length && length <= maximum[1] ? 1 : 0;
}

// ---- item 7: paper size ----

LONG ApiSetPaper(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx || !record || !ApiRecordLevelOk(api, id, ApiRecordVersionOf(record))) return -1;
  const DWORD version = ApiUsedRecordVersion(id, ApiRecordVersionOf(record));
  const LONG paper = Field(record, 4);
  if (!ApiValueTest(api, kItem_dmPaperSize, paper)) return -1;
  if (BuildHasFeature(ctx, kFeatureSettingLocks) && ItemAnyLockBit(ctx) &&
      ApiAlertMatches(api, kItem_dmPaperSize, kAlertPaperLocked, paper, 1))
    return -1;
  if (paper == kCustomPaper) {
    if (!ApiCheckCustomSize(api, Field(record, 8), Field(record, 12))) return -1;
    if (version >= 2 && !ApiValueTest(api, kItem_zdmPaperFreeSizeOrient, Field(record, 16))) return -1;
  }
  ApiWrite(api, kItem_dmPaperSize, paper);
  if (paper == kCustomPaper) {
    LONG width = Field(record, 8), length = Field(record, 12);
    if (static_cast<DWORD>(width) > static_cast<DWORD>(length)) {
      ApiPutRecordLong(record, 8, length);
      ApiPutRecordLong(record, 12, width);
      const LONG t = width;
      width = length;
      length = t;
    }
    const LONG tenthWidth = DisplayToTenthMm(api, width), tenthLength = DisplayToTenthMm(api, length);
    const bool over = static_cast<DWORD>(tenthWidth) > static_cast<DWORD>(kShortOverLimit) ||
                      static_cast<DWORD>(tenthLength) > static_cast<DWORD>(kShortOverLimit);
    ApiWrite(api, kItem_zdmFuncSelectFreeShortOver, over ? 1 : 0);
    if (over) {
      ApiWrite(api, kItem_dmPaperWidth, 0);
      ApiWrite(api, kItem_dmPaperLength, 0);
      SetFields(api, DM_PAPERSIZE, DM_PAPERLENGTH | DM_PAPERWIDTH);
    } else {
      ApiWrite(api, kItem_dmPaperWidth, static_cast<SHORT>(tenthWidth));
      ApiWrite(api, kItem_dmPaperLength, static_cast<SHORT>(tenthLength));
      SetFields(api, DM_PAPERLENGTH | DM_PAPERWIDTH, DM_PAPERSIZE);
    }
    ApiWrite(api, kItem_zdmPaperFreeSizeWidth, DisplayToDots(api, width));
    ApiWrite(api, kItem_zdmPaperFreeSizeLength, DisplayToDots(api, length));
    ApiSyncPaperAndResolution(api);
    if (version >= 2) ApiWrite(api, kItem_zdmPaperFreeSizeOrient, Field(record, 16));
  } else {
    SetFields(api, DM_PAPERSIZE, DM_PAPERLENGTH | DM_PAPERWIDTH);
  }
  ApiNotifyPaperChange(api, 1);
  return 1;
}

LONG ApiVerifyPaper(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  if (!record) return -1;
  const DWORD version = ApiUsedRecordVersion(id, ApiRecordVersionOf(record));
  const LONG paper = Field(record, 4);
  if (ApiReadLong(api, kItem_dmPaperSize) != paper) return -1;
  if (paper != kCustomPaper || ApiReadLong(api, kItem_zdmFuncSelectFreeShortOver) != 0) return 1;
  const LONG width = Field(record, 8), length = Field(record, 12);
  if (ApiReadLong(api, kItem_dmPaperWidth) != DisplayToTenthMm(api, width) ||
      ApiReadLong(api, kItem_dmPaperLength) != DisplayToTenthMm(api, length))
    return -1;
  // Compared in display units: the engine's merge writes the custom size again from the 0.1 mm
  // fields, whose conversion may land one 1/1200 inch beside the handler's (1499 -> 7081, the
  // handler's even count 7080); both show the same display value.
  if (DotsToDisplay(api, ApiReadLong(api, kItem_zdmPaperFreeSizeWidth)) != width ||
      DotsToDisplay(api, ApiReadLong(api, kItem_zdmPaperFreeSizeLength)) != length)
    return -1;
  if (version >= 2 && ApiReadLong(api, kItem_zdmPaperFreeSizeOrient) != Field(record, 16)) return -1;
  return 1;
}

LONG ApiGetPaper(ApiContext* api, DWORD id, void* record, DWORD version) {
  const LONG size = ApiGetRecordSize(api, id, version);
  if (size < 0 || !record) return size;
  const LONG paper = ApiReadLong(api, kItem_dmPaperSize);
  ApiPutRecordLong(record, 4, paper);
  // The DEVMODE keeps 0.1 mm; the record speaks display units.
  ApiPutRecordLong(record, 8, TenthMmToDisplay(api, ApiReadLong(api, kItem_dmPaperWidth)));
  ApiPutRecordLong(record, 12, TenthMmToDisplay(api, ApiReadLong(api, kItem_dmPaperLength)));
  ApiPutRecordLong(record, 16, 0);
  if (ApiReadLong(api, kItem_zdmFuncSelectFreeShortOver)) {
    if (paper == kCustomPaper) {
      ApiPutRecordLong(record, 8, DotsToDisplay(api, ApiReadLong(api, kItem_zdmPaperFreeSizeWidth)));
      ApiPutRecordLong(record, 12, DotsToDisplay(api, ApiReadLong(api, kItem_zdmPaperFreeSizeLength)));
    } else if (IsSourceFreeSize(paper)) {
      ApiPutRecordLong(record, 8, DotsToDisplay(api, ApiReadLong(api, kItem_wdmFreeSizeWidth)));
      ApiPutRecordLong(record, 12, DotsToDisplay(api, ApiReadLong(api, kItem_wdmFreeSizeLength)));
    }
  }
  if (version == 0 || version >= 2) {
    if (paper == kCustomPaper) ApiPutRecordLong(record, 16, ApiReadLong(api, kItem_zdmPaperFreeSizeOrient));
    else if (IsSourceFreeSize(paper)) ApiPutRecordLong(record, 16, ApiReadLong(api, kItem_wdmSrcFreeSizeOrient));
  }
  return size;
}

// ---- item 8: output paper ----

LONG ApiSetOutputPaper(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  if (!record || !ApiRecordLevelOk(api, id, ApiRecordVersionOf(record))) return -1;
  const DWORD version = ApiUsedRecordVersion(id, ApiRecordVersionOf(record));
  const LONG paper = Field(record, 4);
  if (!ApiValueTest(api, kItem_zdmOutPaperSize, paper)) return -1;
  if (paper != kSameAsInput && Classify(api, kItem_zdmOutPaperSize, paper) != 1) return -1;
  LONG width = 0, length = 0;
  if (paper == kCustomOutput) {
    if (version == 1) return -1;
    width = DisplayToDots(api, Field(record, 8));
    length = DisplayToDots(api, Field(record, 12));
    if (Classify(api, kItem_zdmPrintFreeSizeWidth, width) != 1 || Classify(api, kItem_zdmPrintFreeSizeLength, length) != 1)
      return -1;
    if (version >= 3 && !ApiValueTest(api, kItem_zdmPrintFreeSizeOrient, Field(record, 16))) return -1;
  }
  ApiWrite(api, kItem_zdmOutPaperSize, paper);
  if (paper == kCustomOutput) {
    ApiWrite(api, kItem_zdmPrintFreeSizeWidth, width);
    ApiWrite(api, kItem_zdmPrintFreeSizeLength, length);
    ApiSyncPaperAndResolution(api);
    if (version >= 3) ApiWrite(api, kItem_zdmPrintFreeSizeOrient, Field(record, 16));
  }
  ApiNotifyPaperChange(api, 1);
  return 1;
}

LONG ApiVerifyOutputPaper(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  if (!record) return -1;
  const DWORD version = ApiUsedRecordVersion(id, ApiRecordVersionOf(record));
  const LONG paper = Field(record, 4);
  if (ApiReadLong(api, kItem_zdmOutPaperSize) != paper) return -1;
  if (paper != kCustomOutput || version < 2) return 1;
  if (DotsToDisplay(api, ApiReadLong(api, kItem_zdmPrintFreeSizeWidth)) != Field(record, 8) ||
      DotsToDisplay(api, ApiReadLong(api, kItem_zdmPrintFreeSizeLength)) != Field(record, 12))
    return -1;
  if (version >= 3 && ApiReadLong(api, kItem_zdmPrintFreeSizeOrient) != Field(record, 16)) return -1;
  return 1;
}

LONG ApiGetOutputPaper(ApiContext* api, DWORD id, void* record, DWORD version) {
  const LONG size = ApiGetRecordSize(api, id, version);
  if (size < 0) return size;
  const LONG paper = ApiReadLong(api, kItem_zdmOutPaperSize);
  if (paper == kCustomOutput && version == 1) {
    ApiSetLastError(api, kApiErrVersion);
    return -1;
  }
  if (!record) return size;
  ApiPutRecordLong(record, 4, paper);
  ApiPutRecordLong(record, 16, 0);
  if (version == 1) return size;
  LONG width = 0, length = 0, orient = 0;
  if (paper == kSameAsInput) {
    const LONG input = ApiReadLong(api, kItem_dmPaperSize);
    width = TenthMmToDisplay(api, ApiReadLong(api, kItem_dmPaperWidth));
    length = TenthMmToDisplay(api, ApiReadLong(api, kItem_dmPaperLength));
    if (ApiReadLong(api, kItem_zdmFuncSelectFreeShortOver)) {
      if (input == kCustomPaper) {
        width = DotsToDisplay(api, ApiReadLong(api, kItem_zdmPaperFreeSizeWidth));
        length = DotsToDisplay(api, ApiReadLong(api, kItem_zdmPaperFreeSizeLength));
      } else if (IsSourceFreeSize(input)) {
        width = DotsToDisplay(api, ApiReadLong(api, kItem_wdmFreeSizeWidth));
        length = DotsToDisplay(api, ApiReadLong(api, kItem_wdmFreeSizeLength));
      }
    }
  } else if (paper == kCustomOutput) {
    width = DotsToDisplay(api, ApiReadLong(api, kItem_zdmPrintFreeSizeWidth));
    length = DotsToDisplay(api, ApiReadLong(api, kItem_zdmPrintFreeSizeLength));
    orient = ApiReadLong(api, kItem_zdmPrintFreeSizeOrient);
  } else if (PaperIsFreeSizeCode(paper)) {
    width = DotsToDisplay(api, ApiReadLong(api, kItem_wdmFreeSizeWidth));
    length = DotsToDisplay(api, ApiReadLong(api, kItem_wdmFreeSizeLength));
    orient = ApiReadLong(api, kItem_wdmFreeSizeOrient);
  } else {
    PaperExtents extents = {};
    if (PaperGetExtents(ApiDriverCtx(api), &extents, kItem_zdmOutPaperSize)) {
      width = extents.width;
      length = extents.length;
    }
  }
  ApiPutRecordLong(record, 8, width);
  ApiPutRecordLong(record, 12, length);
  if (version == 0 || version >= 3) ApiPutRecordLong(record, 16, orient);
  return size;
}

// ---- item 11: scale ----

LONG ApiSetScale(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  if (!record || !ApiRecordLevelOk(api, id, ApiRecordVersionOf(record))) return -1;
  if (ApiMasterSwitchOff(api, id, record)) return 1;
  const DWORD version = ApiUsedRecordVersion(id, ApiRecordVersionOf(record));
  const LONG type = Field(record, 4);
  const bool ratio = type == 1 || type == 3;
  if (!ApiValueTest(api, kItem_zdmScaleType, type)) return -1;
  if (ratio && !ApiValueTest(api, kItem_zdmScaleH, Field(record, 8))) return -1;
  if (type == 3 && !ApiValueTest(api, kItem_zdmScaleV, Field(record, 12))) return -1;
  if (ratio && version >= 2 && !ApiValueTest(api, kItem_zdmScaleCentering, Field(record, 16))) return -1;
  ApiWrite(api, kItem_zdmScaleType, type);
  if (ratio) ApiWrite(api, kItem_zdmScaleH, Field(record, 8));
  if (type == 3) ApiWrite(api, kItem_zdmScaleV, Field(record, 12));
  if (ratio && version >= 2) ApiWrite(api, kItem_zdmScaleCentering, Field(record, 16));
  ApiWriteMasterSwitch(api, id, record);
  if (type == 2) ApiNotifyPaperChange(api, 1);
  return 1;
}

LONG ApiVerifyScale(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode) {
  if (ApiVerifyMasterSwitch(api, id, record, changedBits, mode) != 1) return -1;
  if (Field(record, 28) == 0) return 1;
  const DWORD version = ApiUsedRecordVersion(id, ApiRecordVersionOf(record));
  const LONG type = Field(record, 4);
  const bool ratio = type == 1 || type == 3;
  if (ApiReadLong(api, kItem_zdmScaleType) != type) return -1;
  if (ratio && ApiReadLong(api, kItem_zdmScaleH) != Field(record, 8)) return -1;
  if (type == 3 && ApiReadLong(api, kItem_zdmScaleV) != Field(record, 12)) return -1;
  if (ratio && version >= 2 && ApiReadLong(api, kItem_zdmScaleCentering) != Field(record, 16)) return -1;
  return 1;
}

LONG ApiGetScale(ApiContext* api, DWORD id, void* record, DWORD version) {
  if (!record) return kApiSimpleRecordSize;
  const LONG type = ApiReadLong(api, kItem_zdmScaleType);
  if (type == 2) ApiNotifyPaperChange(api, 1);  // the fit ratio of the current papers
  ApiPutRecordLong(record, 4, type);
  ApiPutRecordLong(record, 8, ApiReadLong(api, kItem_zdmScaleH));
  ApiPutRecordLong(record, 12, ApiReadLong(api, kItem_zdmScaleV));
  ApiPutRecordLong(record, 16, version == 0 || version >= 2 ? ApiReadLong(api, kItem_zdmScaleCentering) : 0);
  ApiPutRecordLong(record, 28, ApiReadMasterSwitch(api, id));
  return kApiSimpleRecordSize;
}

// ---- item 14: N-up ----

namespace {

// The layout kind an N-up type needs (0: the type leaves it alone) and the level it needs.
LONG NupKindOf(LONG type, LONG* minLevel) {
  *minLevel = 0;
  if (type >= 1 && type <= 3) return 1;
  if (type == 33 || type == 34 || type == 37 || type == 38) return 2;
  if (type == 65 || type == 66 || type == 69 || type == 70) return 3;
  if (type == 97 || type == 98 || type == 101 || type == 102) return 4;
  if (type == 129 || type == 130) {
    *minLevel = 15;
    return 11;
  }
  if (type >= 161 && type <= 163) {
    *minLevel = 15;
    return 10;
  }
  if (type >= 32769 && type <= 32772) return 9;
  return 0;
}

constexpr LONG kNupPosterTypes = 32769;

}  // namespace

LONG ApiSetNup(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx || !record || !ApiRecordLevelOk(api, id, ApiRecordVersionOf(record))) return -1;
  const DWORD version = ApiUsedRecordVersion(id, ApiRecordVersionOf(record));
  const LONG type = Field(record, 4);
  if (BuildHasFeature(ctx, kFeatureSettingLocks) && ItemLockNupKind(ctx) && type == 0) return -1;
  if (ApiMasterSwitchOff(api, id, record)) return 1;
  if (!ApiValueTest(api, kItem_zdmNUPType, type)) return -1;
  const LONG savedKind = ApiReadLong(api, kItem_zdmNUPPOSTKind);
  LONG minLevel = 0;
  const LONG kind = NupKindOf(type, &minLevel);
  if (kind) {
    if (ApiLevel(api) < minLevel || !ApiValueTest(api, kItem_zdmNUPPOSTKind, kind)) return -1;
    ApiWrite(api, kItem_zdmNUPPOSTKind, kind);
  }
  const WORD master = static_cast<WORD>(ApiFindMasterKey(id, nullptr));
  if (!ApiTrialSetValue(api, id, master ? master : static_cast<WORD>(kItem_zdmFuncSelectNup), kItem_zdmNUPType, type)) {
    ApiWrite(api, kItem_zdmNUPPOSTKind, savedKind);
    return -1;
  }
  const bool withLine = version >= 2 && type < kNupPosterTypes;
  if (withLine && !ApiValueTest(api, kItem_zdmNUPLine, Field(record, 8))) {
    ApiWrite(api, kItem_zdmNUPPOSTKind, savedKind);
    return -1;
  }
  ApiWrite(api, kItem_zdmNUPType, type);
  if (withLine) ApiWrite(api, kItem_zdmNUPLine, Field(record, 8));
  ApiWriteMasterSwitch(api, id, record);
  return 1;
}

LONG ApiVerifyNup(ApiContext* api, DWORD id, void* record, BYTE* changedBits, LONG mode) {
  if (ApiVerifyMasterSwitch(api, id, record, changedBits, mode) != 1) return -1;
  if (Field(record, 28) == 0) return 1;
  const DWORD version = ApiUsedRecordVersion(id, ApiRecordVersionOf(record));
  if (version >= 2 && Field(record, 4) < kNupPosterTypes && ApiReadLong(api, kItem_zdmNUPLine) != Field(record, 8))
    return -1;
  return 1;
}

LONG ApiGetNup(ApiContext* api, DWORD id, void* record, DWORD version) {
  const LONG size = ApiGetRecordSize(api, id, version);
  if (size < 0 || !record) return size;
  ApiPutRecordLong(record, 4, ApiReadLong(api, kItem_zdmNUPType));
  ApiPutRecordLong(record, 28, ApiReadLong(api, kItem_zdmFuncSelectNup));
  ApiPutRecordLong(record, 8, version == 0 || version >= 2 ? ApiReadLong(api, kItem_zdmNUPLine) : 0);
  return size;
}

// ---- item 28: output rotation ----

namespace {

bool TestAndWrite(ApiContext* api, WORD setting, LONG value) { return ApiTestAndWrite(api, setting, value) != 0; }

// Layouts counted as offered: neither disabled nor restricted.
bool LayoutOffered(ApiContext* api, WORD setting) { return ApiIsSettingOffered(api, setting, 0, 3) != 0; }

}  // namespace

LONG ApiSetRotation(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  if (!record || !ApiRecordLevelOk(api, id, ApiRecordVersionOf(record))) return -1;
  const DWORD given = ApiRecordVersionOf(record);
  if (given > 3) return 1;  // a version this item does not know: nothing is written
  const DWORD version = ApiUsedRecordVersion(id, ApiRecordVersionOf(record));
  const LONG rotation = Field(record, 4), mode = Field(record, 8);
  if (version == 1) return TestAndWrite(api, kItem_zdmExtOutputPaperRotation, rotation) ? 1 : -1;
  if (!ApiValueTest(api, kItem_zdmRotationMode, mode)) return -1;
  if (mode == 2 && !TestAndWrite(api, kItem_zdmExtOutputPaperRotation, rotation)) return -1;
  ApiWrite(api, kItem_zdmRotationMode, mode);
  if (version == 3 && mode == 1) {
    if (LayoutOffered(api, kItem_zdmNupLayout) && !TestAndWrite(api, kItem_zdmNupLayout, Field(record, 12))) return -1;
    if (LayoutOffered(api, kItem_zdmBookLayout) && !TestAndWrite(api, kItem_zdmBookLayout, Field(record, 16))) return -1;
  }
  return 1;
}

LONG ApiVerifyRotation(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  if (!record) return -1;
  if (ApiRecordVersionOf(record) > 3) return 1;
  const DWORD version = ApiUsedRecordVersion(id, ApiRecordVersionOf(record));
  const LONG rotation = Field(record, 4), mode = Field(record, 8);
  if (version == 1) return ApiReadLong(api, kItem_zdmExtOutputPaperRotation) == rotation ? 1 : -1;
  if (mode == 2 && ApiReadLong(api, kItem_zdmExtOutputPaperRotation) != rotation) return -1;
  if (ApiReadLong(api, kItem_zdmRotationMode) != mode) return -1;
  if (version == 3 && mode == 1) {
    if (LayoutOffered(api, kItem_zdmNupLayout) && ApiReadLong(api, kItem_zdmNupLayout) != Field(record, 12)) return -1;
    if (LayoutOffered(api, kItem_zdmBookLayout) && ApiReadLong(api, kItem_zdmBookLayout) != Field(record, 16))
      return -1;
  }
  return 1;
}

LONG ApiGetRotation(ApiContext* api, DWORD id, void* record, DWORD version) {
  const LONG size = ApiGetRecordSize(api, id, version);
  if (size < 0 || !record) return size;
  const DWORD effective = version == 0 || version > 3 ? 3 : version;
  ApiPutRecordLong(record, 0, static_cast<LONG>(version));
  ApiPutRecordLong(record, 4, ApiReadLong(api, kItem_zdmExtOutputPaperRotation));
  if (effective >= 2) ApiPutRecordLong(record, 8, ApiReadLong(api, kItem_zdmRotationMode));
  if (effective == 3) {
    // Here "offered" is the looser sense: not disabled.
    ApiPutRecordLong(record, 12,
                     ApiIsSettingOffered(api, kItem_zdmNupLayout, 0, 1) ? ApiReadLong(api, kItem_zdmNupLayout) : 0);
    ApiPutRecordLong(record, 16,
                     ApiIsSettingOffered(api, kItem_zdmBookLayout, 0, 1) ? ApiReadLong(api, kItem_zdmBookLayout) : 0);
  }
  return size;
}

// ---- item 58: manual-tray orientation ----

LONG ApiSetManualTray(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  if (!record) return -1;
  const WORD master = static_cast<WORD>(ApiFindMasterKey(id, nullptr));
  if (master && Field(record, 4) == 0) {
    ApiWrite(api, master, 0);
    return 1;
  }
  if (!ApiValueTest(api, kItem_zdmExtOutput2OrientationManualTray, Field(record, 4)) ||
      !ApiValueTest(api, kItem_zdmOrientationManualTray, Field(record, 8)))
    return -1;
  ApiWrite(api, kItem_zdmExtOutput2OrientationManualTray, Field(record, 4));
  ApiWrite(api, kItem_zdmOrientationManualTray, Field(record, 8));
  return 1;
}

LONG ApiVerifyManualTray(ApiContext* api, DWORD, void* record, BYTE*, LONG) {
  if (!record) return -1;
  if (ApiReadLong(api, kItem_zdmExtOutput2OrientationManualTray) != Field(record, 4)) return -1;
  if (Field(record, 4) && ApiReadLong(api, kItem_zdmOrientationManualTray) != Field(record, 8)) return -1;
  return 1;
}

LONG ApiGetManualTray(ApiContext* api, DWORD, void* record, DWORD) {
  if (!record) return kApiSimpleRecordSize;
  ApiPutRecordLong(record, 4, ApiReadLong(api, kItem_zdmExtOutput2OrientationManualTray));
  ApiPutRecordLong(record, 8, ApiReadLong(api, kItem_zdmOrientationManualTray));
  return kApiSimpleRecordSize;
}

// ---- item 63: tray information ----

LONG ApiGetTrayInfo(ApiContext* api, DWORD, void* record, DWORD version) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!record) return kTrayInfoSize;
  ApiPutRecordLong(record, 0, static_cast<LONG>(version));
  const LONG tray = Field(record, 4);
  // The tray must be one capability 2 lists (asked directly, into a list of its own).
  const LONG count = ApiCallCapsHandler(api, 2, nullptr);
  bool listed = false;
  if (count > 0) {
    std::vector<LONG> trays(static_cast<size_t>(count));
    ApiCapsRoom room(count);
    if (ApiCallCapsHandler(api, 2, trays.data()) == count)
      for (LONG t : trays) listed = listed || t == tray;
  }
  if (!ctx || !listed) {
    ApiSetLastError(api, kApiErrRefused);
    return -1;
  }
  memset(static_cast<BYTE*>(record) + 8, 0, kTrayInfoSize - 8);
  const bool slot28Usable = ApiIsValueDisabled(kItem_dmDefaultSource, 8, ctx) != 1;
  for (WORD slot = 0; slot < 32; ++slot) {
    if (kTraySlotSources[slot] != tray) continue;
    if (tray == 4 && slot == 28 && !slot28Usable) continue;
    ApiPutRecordLong(record, 8, ApiReadLong(api, static_cast<WORD>(static_cast<WORD>(kItem_zdmTray1Paper) + slot)));
    ApiPutRecordLong(record, 12, ApiReadLong(api, static_cast<WORD>(static_cast<WORD>(kItem_zdmTrayOrient0) + slot)));
    ApiPutRecordLong(record, 16, ApiReadLong(api, static_cast<WORD>(static_cast<WORD>(kItem_zdmTray1Media) + slot)));
    ApiPutRecordLong(record, 20, ApiReadLong(api, static_cast<WORD>(static_cast<WORD>(kItem_zdmTrayLock0) + slot)));
  }
  const WORD system = OsIsWin9x() ? 1 : 2;
  bool first = false, second = false;
  for (const FreeSizeLimitsRow* row = TblGetFreeSizeLimits(); row && row->tray && !(first && second); ++row) {
    if (row->tray != tray || (row->systemKind != 3 && row->systemKind != system)) continue;
    const UINT base = row->orientation == 1 ? 24 : 40;
    for (int i = 0; i < 4; ++i) ApiPutRecordLong(record, base + 4u * i, DotsToDisplay(api, row->mm[i]));
    (row->orientation == 1 ? first : second) = true;
  }
  return kTrayInfoSize;
}
