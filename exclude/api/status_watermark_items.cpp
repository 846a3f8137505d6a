// Status items of the working watermark, the watermark choice, the header/footer and the copy
// guard.
#include <string.h>

#include "core/context/settings_snapshot.h"
#include "core/items/item_ids.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/rules/judge_eval.h"
#include "core/store/settings_stores.h"
#include "core/system/settings_folders.h"
#include "core/tables/value_symbols.h"
#include "exclude/api/api_context.h"
#include "exclude/api/api_item_texts.h"
#include "exclude/api/api_items_watermark.h"
#include "exclude/api/api_journal.h"
#include "exclude/api/api_levels.h"
#include "exclude/api/api_services.h"
#include "exclude/api/api_status_table.h"

namespace {

// ---- item 16 record ----
enum : UINT {
  kOffKind = 4, kOffPosition = 8, kOffOpaque = 12, kOffPages = 16, kOffFontStyle = 20, kOffEffect = 24,
  kOffColor = 28, kOffDensity = 32, kOffPoint = 36, kOffAngle = 40, kOffText = 44, kOffFont = 77,
  kOffImage = 109, kOffLinePitch = 372, kOffTextPattern = 376, kOffTilePattern = 380, kOffTileColor = 384,
  kOffTileDensity = 388, kOffTileMask = 392, kOffTileRotate = 396, kOffSecret = 400, kOffTwoPlane = 412,
  kOffOrder = 416,
};
enum : LONG { kKindNone = 0, kKindText = 1, kKindImage = 2, kKindOverlay = 3, kKindHidden = 128 };
constexpr int kWorkingWatermark = 256;
constexpr WORD kIniHiddenPatternBit = 0x1;

bool ZeroOrOne(LONG v) { return v == 0 || v == 1; }
bool Known(WORD setting, LONG v) { return TblIsKnownValue(setting, v) != 0; }


// Writes a colour index and, when the colour table has its row, its red, green and blue.
void WriteColor(ApiContext* api, WORD index, WORD red, WORD green, WORD blue, LONG value) {
  ApiWrite(api, index, value);
  if (const ApiColor* c = ApiFindColor(static_cast<BYTE>(value))) {
    ApiWrite(api, red, c->red);
    ApiWrite(api, green, c->green);
    ApiWrite(api, blue, c->blue);
  }
}

// Saves the settings as the working watermark, the settings file journalled first.
int SaveWorkingWatermark(ApiContext* api) {
  DriverContext* ctx = ApiDriverCtx(api);
  if (!ctx || !ApiJournalFile(api, PathSettingsFile(ctx))) return 0;
  return StampSave(ctx, kWorkingWatermark) ? 1 : 0;
}

}  // namespace

LONG ApiSetWatermark(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  if (!record) return -1;
  if (!ApiRecordLevelOk(api, id, ApiRecordVersionOf(record))) return -1;
  const DWORD version = ApiUsedRecordVersion(id, ApiRecordVersionOf(record));
  const LONG kind = ApiRecordLong(record, kOffKind);
  int twoPlaneText = 0, twoPlaneImage = 0;
  if (version == 3 && (kind == kKindText || kind == kKindImage)) {
    int noMemory = 0;
    twoPlaneText = ApiCapsListHas(api, 77, 1, &noMemory);
    if (!noMemory) twoPlaneImage = ApiCapsListHas(api, 77, 2, &noMemory);
    if (noMemory) {
      ApiSetLastError(api, kApiErrInternal);
      return -1;
    }
  }
  if (!Known(kItem_zdmWmKind, kind)) return -1;
  char text[33] = {}, font[32] = {}, image[260] = {};
  if (kind == kKindText || kind == kKindHidden) {
    if (!ApiRecordText(record, kOffText, 33, text)) {
      ApiSetLastError(api, kApiErrCharacters);
      return -1;
    }
  }
  if (kind == kKindHidden && (ApiLevel(api) < 3 || version < 2 || !ApiReadIniFunc1Mask(api, kIniHiddenPatternBit)))
    return -1;
  const bool patternText = kind == kKindHidden && text[0];
  const bool textLike = kind == kKindText || patternText;
  if (textLike && !ApiRecordText(record, kOffFont, 32, font)) {
    ApiSetLastError(api, kApiErrCharacters);
    return -1;
  }
  if ((kind == kKindImage || kind == kKindOverlay || kind == kKindHidden) && !ApiRecordText(record, kOffImage, 260, image)) {
    ApiSetLastError(api, kApiErrCharacters);
    return -1;
  }
  auto at = [record](UINT offset) { return ApiRecordLong(record, offset); };
  const LONG position = at(kOffPosition);
  if ((textLike || kind == kKindImage) && !Known(kItem_wdmWmPosi, position)) return -1;
  if ((kind == kKindText || kind == kKindImage || kind == kKindOverlay || patternText) && !ZeroOrOne(at(kOffOpaque)))
    return -1;
  if (!ZeroOrOne(at(kOffPages))) return -1;
  if (textLike) {
    if (!Known(kItem_wdmWmFontStyle, at(kOffFontStyle)) || !Known(kItem_wdmWmEffect, at(kOffEffect))) return -1;
    if (kind == kKindText && twoPlaneText) {
      ApiPutRecordLong(record, kOffColor, 0);
    } else if (patternText) {
      const LONG c = at(kOffColor);
      if (c != 0 && c != 4 && c != 5) return -1;
    } else if (!Known(kItem_wdmWmColor, at(kOffColor))) {
      return -1;
    }
    if (at(kOffDensity) < 0 || at(kOffDensity) > 100) return -1;
    if (at(kOffPoint) < 6 || at(kOffPoint) > 999) return -1;
    if (at(kOffAngle) < 0 || at(kOffAngle) >= 360) return -1;
    if (kind == kKindText && !text[0]) return -1;
    if (!font[0] || !ApiIsFontInstalled(api, font)) {
      ApiSetLastError(api, kApiErrFont);
      return -1;
    }
  }
  if (kind == kKindImage && (at(kOffPoint) < 30 || at(kOffPoint) > 999)) return -1;
  if ((kind == kKindImage || kind == kKindOverlay) && (!image[0] || !ApiCheckFileByKind(api, kind, image))) {
    ApiSetLastError(api, kApiErrPath);
    return -1;
  }
  if (kind == kKindHidden && strlen(image) > 32) return -1;
  if (textLike && position != 0 && position != 64 && at(kOffAngle) != 0) return -1;
  if (patternText) {
    if (at(kOffLinePitch) < 0 || at(kOffLinePitch) >= 1000) return -1;
    if (!Known(kItem_wdmWmTextPattern, at(kOffTextPattern)) || !Known(kItem_wdmWmTilePattern, at(kOffTilePattern)) ||
        !Known(kItem_wdmWmTileColor, at(kOffTileColor)) || !Known(kItem_wdmWmTileMask, at(kOffTileMask)))
      return -1;
    if (at(kOffTileDensity) < 0 || at(kOffTileDensity) > 100) return -1;
  }
  if (kind == kKindHidden && !Known(kItem_wdmWmSecretPattern, at(kOffSecret))) return -1;
  const bool twoPlane = (kind == kKindText && twoPlaneText) || (kind == kKindImage && twoPlaneImage);
  const bool order = version == 3 && (kind == kKindText || kind == kKindImage) && ApiCapsPresent(api, 78);
  if (twoPlane && !ZeroOrOne(at(kOffTwoPlane))) return -1;
  if (order && !ZeroOrOne(at(kOffOrder))) return -1;

  // The texts are emptied inside the snapshot (no stale text reaches the working watermark),
  // so the job's own texts survive.
  DriverContext* ctx = ApiDriverCtx(api);
  CtxSnapshotPush(ctx);
  ApiWriteSettingText(api, kItem_wdmWmChar, "");
  ApiWriteSettingText(api, kItem_wdmWmImage, "");
  ApiWrite(api, kItem_zdmWmKind, kind);
  if (textLike) ApiWrite(api, kItem_wdmWmUnit, 0);
  if (textLike || kind == kKindImage) ApiWrite(api, kItem_wdmWmPosi, position);
  ApiWrite(api, kItem_wdmWmOpaque, at(kOffOpaque));
  ApiWrite(api, kItem_wdmWmPage, at(kOffPages));
  ApiWrite(api, kItem_wdmWmStartPage, 1);
  ApiWrite(api, kItem_wdmWmEndPage, 1);
  if (textLike) {
    ApiWrite(api, kItem_wdmWmFontStyle, at(kOffFontStyle));
    ApiWrite(api, kItem_wdmWmEffect, at(kOffEffect));
    WriteColor(api, kItem_wdmWmColor, kItem_wdmWmColorR, kItem_wdmWmColorG, kItem_wdmWmColorB, at(kOffColor));
    ApiWrite(api, kItem_wdmWmDensity, at(kOffDensity));
    ApiWrite(api, kItem_wdmWmFontPoint, at(kOffPoint));
    ApiWrite(api, kItem_wdmWmAngle, at(kOffAngle));
    ApiWriteSettingText(api, kItem_wdmWmChar, text);
    ApiWriteSettingText(api, kItem_wdmWmFontName, font);
  }
  if (kind == kKindImage) ApiWrite(api, kItem_wdmWmFontScale, at(kOffPoint));
  if (kind == kKindImage || kind == kKindOverlay || kind == kKindHidden) ApiWriteSettingText(api, kItem_wdmWmImage, image);
  if (patternText) {
    ApiWrite(api, kItem_wdmWmLinePitch, at(kOffLinePitch));
    ApiWrite(api, kItem_wdmWmTextPattern, at(kOffTextPattern));
    ApiWrite(api, kItem_wdmWmTilePattern, at(kOffTilePattern));
    WriteColor(api, kItem_wdmWmTileColor, kItem_wdmWmTileColorR, kItem_wdmWmTileColorG, kItem_wdmWmTileColorB,
               at(kOffTileColor));
    ApiWrite(api, kItem_wdmWmTileDensity, at(kOffTileDensity));
    ApiWrite(api, kItem_wdmWmTileMask, at(kOffTileMask));
    ApiWrite(api, kItem_wdmWmTileRotate, (at(kOffTileRotate) & 1) ? 2 : 0);
  }
  if (kind == kKindHidden) {
    ApiWriteSettingText(api, kItem_wdmWmChar, text);
    ApiWrite(api, kItem_wdmWmSecretPattern, at(kOffSecret));
  }
  if (twoPlane) ApiWrite(api, kItem_wdmWMPrinterStamp2PlanePrint, at(kOffTwoPlane));
  if (order) ApiWrite(api, kItem_wdmWMFuncSelectOrder, at(kOffOrder));
  const int saved = SaveWorkingWatermark(api);
  CtxSnapshotPop(ctx, TRUE);
  return saved ? 1 : -1;
}

LONG ApiGetWatermark(ApiContext* api, DWORD id, void* record, DWORD version) {
  const LONG size = ApiGetRecordSize(api, id, version);
  if (size < 0) return -1;
  if (!record) return size;
  version = ApiUsedRecordVersion(id, version);
  if (!ApiWatermarkZeroStored(api)) {
    ApiSetLastError(api, kApiErrWatermarkList);
    return -1;
  }
  DriverContext* ctx = ApiDriverCtx(api);
  CtxSnapshotPush(ctx);
  ApiWriteSettingText(api, kItem_wdmWmChar, "");
  ApiWriteSettingText(api, kItem_wdmWmImage, "");
  StampSelect(ctx, kWorkingWatermark);
  const LONG kind = ApiReadLong(api, kItem_zdmWmKind);
  if (kind == kKindHidden && version == 1) {
    CtxSnapshotPop(ctx, TRUE);
    ApiSetLastError(api, kApiErrVersion);
    return -1;
  }
  BYTE* r = static_cast<BYTE*>(record);
  memset(r + kOffKind, 0, static_cast<size_t>(size) - kOffKind);
  char text[300];
  ApiReadSettingText(api, kItem_wdmWmChar, text, sizeof(text));
  const bool patternText = kind == kKindHidden && text[0];
  const bool textLike = kind == kKindText || patternText;
  auto put = [r](UINT offset, LONG_PTR value) { ApiPutRecordLong(r, offset, static_cast<LONG>(value)); };
  put(kOffKind, kind);
  if (textLike || kind == kKindImage) put(kOffPosition, ApiRead(api, kItem_wdmWmPosi));
  if (textLike || kind == kKindImage || kind == kKindOverlay) put(kOffOpaque, ApiRead(api, kItem_wdmWmOpaque));
  put(kOffPages, ApiRead(api, kItem_wdmWmPage));
  if (textLike) {
    put(kOffFontStyle, ApiRead(api, kItem_wdmWmFontStyle));
    put(kOffEffect, ApiRead(api, kItem_wdmWmEffect));
    put(kOffColor, ApiRead(api, kItem_wdmWmColor));
    put(kOffDensity, ApiRead(api, kItem_wdmWmDensity));
    put(kOffAngle, ApiRead(api, kItem_wdmWmAngle));
    put(kOffPoint, ApiRead(api, kItem_wdmWmFontPoint));
    ApiPutRecordText(r, kOffText, 33, text, 32);
    char font[300];
    ApiReadSettingText(api, kItem_wdmWmFontName, font, sizeof(font));
    ApiPutRecordText(r, kOffFont, 32, font, 31);
  }
  if (kind == kKindImage) put(kOffPoint, ApiRead(api, kItem_wdmWmFontScale));
  char image[300];
  ApiReadSettingText(api, kItem_wdmWmImage, image, sizeof(image));
  if (kind == kKindImage || kind == kKindOverlay) ApiPutRecordText(r, kOffImage, 260, image, 259);
  if (version >= 2) {
    if (patternText) {
      put(kOffLinePitch, ApiRead(api, kItem_wdmWmLinePitch));
      put(kOffTextPattern, ApiRead(api, kItem_wdmWmTextPattern));
      put(kOffTilePattern, ApiRead(api, kItem_wdmWmTilePattern));
      put(kOffTileColor, ApiRead(api, kItem_wdmWmTileColor));
      put(kOffTileDensity, ApiRead(api, kItem_wdmWmTileDensity));
      put(kOffTileMask, ApiRead(api, kItem_wdmWmTileMask));
      put(kOffTileRotate, ApiRead(api, kItem_wdmWmTileRotate) == 2 ? 1 : 0);
    }
    if (kind == kKindHidden) {
      ApiPutRecordText(r, kOffImage, 260, image, 259);
      put(kOffSecret, ApiRead(api, kItem_wdmWmSecretPattern));
    }
  }
  if (version == 3 && (kind == kKindText || kind == kKindImage)) {
    int noMemory = 0;
    const int entry = ApiCapsListHas(api, 77, kind, &noMemory);
    if (!noMemory) {
      if (entry) put(kOffTwoPlane, ApiRead(api, kItem_wdmWMPrinterStamp2PlanePrint));
      if (ApiCapsPresent(api, 78)) put(kOffOrder, ApiRead(api, kItem_wdmWMFuncSelectOrder));
    }
  }
  CtxSnapshotPop(ctx, TRUE);
  return size;
}

// ---- item 17 ----

LONG ApiSetWatermarkChoice(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  if (!record) return -1;
  if (ApiMasterSwitchOff(api, id, record)) return 1;
  const LONG number = ApiRecordLong(record, 4);
  if (number == kWorkingWatermark) {
    if (!ApiWatermarkZeroStored(api)) return -1;
    ApiWrite(api, kItem_zdmWmID, kWorkingWatermark);
  } else {
    int noMemory = 0;
    if (!ApiCapsListHas(api, 32, number, &noMemory)) {
      if (noMemory) ApiSetLastError(api, kApiErrInternal);
      return -1;
    }
    ApiWrite(api, kItem_zdmWmID, number - 1);
  }
  ApiWriteMasterSwitch(api, id, record);
  return 1;
}

LONG ApiGetWatermarkChoice(ApiContext* api, DWORD id, void* record, DWORD) {
  if (!record) return kApiSimpleRecordSize;
  auto* r = static_cast<ApiSimpleRecord*>(record);
  const LONG stored = ApiReadLong(api, kItem_zdmWmID);
  r->value = stored == kWorkingWatermark ? stored : stored + 1;
  r->masterSwitch = static_cast<DWORD>(ApiReadMasterSwitch(api, id));
  return kApiSimpleRecordSize;
}

// ---- item 47 ----
namespace {

enum : UINT {
  kOffParts = 4, kOffHfFont = 8, kOffHfPoint = 40, kOffDatePos = 44, kOffDateForm = 48, kOffPagePos = 52,
  kOffPageForm = 56, kOffStrPos = 60, kOffStrForm = 64, kOffHfText = 68, kOffHfOrder = 104,
};
struct HfPart {
  DWORD bit;
  WORD sw, position, form;
  UINT posOffset, formOffset;
};
const HfPart kParts[] = {
    {1, kItem_zdmHFFuncSelectDate, kItem_zdmHFDatePosi, kItem_zdmHFDateForm, kOffDatePos, kOffDateForm},
    {2, kItem_zdmHFFuncSelectPage, kItem_zdmHFPagePosi, kItem_zdmHFPageForm, kOffPagePos, kOffPageForm},
    {4, kItem_zdmHFFuncSelectString, kItem_zdmHFStrPosi, kItem_zdmHFStrForm, kOffStrPos, kOffStrForm},
};

// The margin switch (master of item 18) has a restricted constraint node.
bool MarginRestricted(ApiContext* api) {
  const DWORD master = ApiFindMasterKey(18, nullptr);
  if (!master) return false;
  const ExclusiveRecord* node = ApiFindConstraintNode(static_cast<WORD>(master), api);
  return node && ApiNodeRestricted(api, node);
}

bool HfOrderUsed(ApiContext* api, DWORD version) { return version >= 2 && ApiCapsPresent(api, 79); }

}  // namespace

LONG ApiSetHeaderFooter(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  if (!record) return -1;
  if (!ApiRecordLevelOk(api, id, ApiRecordVersionOf(record))) return -1;
  const DWORD version = ApiUsedRecordVersion(id, ApiRecordVersionOf(record));
  if (MarginRestricted(api)) return -1;
  const DWORD parts = static_cast<DWORD>(ApiRecordLong(record, kOffParts)) & 7u;
  ApiPutRecordLong(record, kOffParts, static_cast<LONG>(parts));
  char text[33] = {}, font[32] = {};
  if ((parts & 4) && ApiRecordLong(record, kOffStrForm) == 2 && !ApiRecordText(record, kOffHfText, 33, text)) {
    ApiSetLastError(api, kApiErrCharacters);
    return -1;
  }
  for (const HfPart& p : kParts) {
    if (!(parts & p.bit)) continue;
    if (!ApiValueTest(api, p.position, ApiRecordLong(record, p.posOffset)) ||
        !ApiValueTest(api, p.form, ApiRecordLong(record, p.formOffset)))
      return -1;
  }
  if ((parts & 4) && ApiRecordLong(record, kOffStrForm) == 2 && !text[0]) return -1;
  if (parts) {
    if (!ApiRecordText(record, kOffHfFont, 32, font)) {
      ApiSetLastError(api, kApiErrCharacters);
      return -1;
    }
    if (!font[0] || !ApiIsFontInstalled(api, font)) {
      ApiSetLastError(api, kApiErrFont);
      return -1;
    }
    if (!ApiValueTest(api, kItem_zdmHFFontPoint, ApiRecordLong(record, kOffHfPoint))) return -1;
    if (HfOrderUsed(api, version) && !ApiValueTest(api, kItem_zdmHFFuncSelectOrder, ApiRecordLong(record, kOffHfOrder)))
      return -1;
  }
  for (const HfPart& p : kParts) {
    ApiWrite(api, p.sw, (parts & p.bit) ? 1 : 0);
    if (!(parts & p.bit)) continue;
    ApiWrite(api, p.position, ApiRecordLong(record, p.posOffset));
    ApiWrite(api, p.form, ApiRecordLong(record, p.formOffset));
    if (p.bit == 4 && ApiRecordLong(record, kOffStrForm) == 2) ApiWriteSettingText(api, kItem_zdmHFString, text);
  }
  if (!parts) return 1;
  if (const DWORD master = ApiFindMasterKey(18, nullptr)) ApiWrite(api, static_cast<WORD>(master), 1);
  ApiWriteSettingText(api, kItem_zdmHFFontName, font);
  ApiWrite(api, kItem_zdmHFFontPoint, ApiRecordLong(record, kOffHfPoint));
  if (HfOrderUsed(api, version)) ApiWrite(api, kItem_zdmHFFuncSelectOrder, ApiRecordLong(record, kOffHfOrder));
  return 1;
}

LONG ApiVerifyHeaderFooter(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  const DWORD version = ApiUsedRecordVersion(id, ApiRecordVersionOf(record));
  const DWORD parts = static_cast<DWORD>(ApiRecordLong(record, kOffParts)) & 7u;
  for (const HfPart& p : kParts) {
    if ((ApiRead(api, p.sw) != 0) != ((parts & p.bit) != 0)) return -1;
    if (!(parts & p.bit)) continue;
    if (ApiRead(api, p.position) != ApiRecordLong(record, p.posOffset) ||
        ApiRead(api, p.form) != ApiRecordLong(record, p.formOffset))
      return -1;
    if (p.bit == 4 && ApiRecordLong(record, kOffStrForm) == 2) {
      char want[33] = {}, have[300];
      ApiRecordText(record, kOffHfText, 33, want);
      ApiReadSettingText(api, kItem_zdmHFString, have, sizeof(have));
      if (strcmp(want, have) != 0) return -1;
    }
  }
  if (!parts) return 1;
  char want[32] = {}, have[300];
  ApiRecordText(record, kOffHfFont, 32, want);
  ApiReadSettingText(api, kItem_zdmHFFontName, have, sizeof(have));
  if (strcmp(want, have) != 0 || ApiRead(api, kItem_zdmHFFontPoint) != ApiRecordLong(record, kOffHfPoint)) return -1;
  if (HfOrderUsed(api, version) && ApiRead(api, kItem_zdmHFFuncSelectOrder) != ApiRecordLong(record, kOffHfOrder))
    return -1;
  return 1;
}

LONG ApiGetHeaderFooter(ApiContext* api, DWORD id, void* record, DWORD version) {
  const LONG size = ApiGetRecordSize(api, id, version);
  if (size < 0) return -1;
  if (!record) return size;
  version = ApiUsedRecordVersion(id, version);
  BYTE* r = static_cast<BYTE*>(record);
  memset(r + kOffParts, 0, static_cast<size_t>(size) - kOffParts);
  DWORD parts = 0;
  for (const HfPart& p : kParts) {
    if (ApiRead(api, p.sw)) parts |= p.bit;
    ApiPutRecordLong(r, p.posOffset, ApiReadLong(api, p.position));
    ApiPutRecordLong(r, p.formOffset, ApiReadLong(api, p.form));
  }
  ApiPutRecordLong(r, kOffParts, static_cast<LONG>(parts));
  char text[300];
  ApiReadSettingText(api, kItem_zdmHFString, text, sizeof(text));
  ApiPutRecordText(r, kOffHfText, 33, text, 32);
  ApiReadSettingText(api, kItem_zdmHFFontName, text, sizeof(text));
  ApiPutRecordText(r, kOffHfFont, 32, text, 31);
  ApiPutRecordLong(r, kOffHfPoint, ApiReadLong(api, kItem_zdmHFFontPoint));
  if (version >= 2)
    ApiPutRecordLong(r, kOffHfOrder, ApiCapsPresent(api, 79) ? ApiReadLong(api, kItem_zdmHFFuncSelectOrder) : 0);
  return size;
}

// ---- item 55 ----
namespace {

enum : UINT {
  kOffCgMode = 4, kOffCgColor = 8, kOffCgDensity = 12, kOffCgMask = 16, kOffCgSwitch = 20, kOffCgText = 24,
  kOffCgFont = 89, kOffCgPoint = 124, kOffCgStyle = 128, kOffCgAngle = 132, kOffCgPosition = 136,
  kOffCgPitch = 140, kOffCgReverse = 144, kOffCgFrame = 148,
};
constexpr LONG kRepeat = 64;

// Within the numeric range the model gives the setting (no range: refused).
bool InNumericRange(ApiContext* api, WORD setting, LONG value) {
  DriverContext* ctx = ApiDriverCtx(api);
  const ModelItemDescriptor* desc = ctx ? ModelGetDescriptor(setting, ctx) : nullptr;
  if (!desc || ModelValueShapeOf(desc->type) != kModelShapeNumeric || !desc->values) return false;
  const auto* range = static_cast<const NumericValueRecord*>(desc->values);
  return value >= range->minimum && value <= range->maximum;
}

}  // namespace

LONG ApiSetCopyGuard(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  if (!record) return -1;
  const LONG mode = ApiRecordLong(record, kOffCgMode);
  const DWORD master = ApiFindMasterKey(id, nullptr);
  if (master && mode == 0) {
    ApiWrite(api, static_cast<WORD>(master), 0);
    return 1;
  }
  if (master) ApiWrite(api, static_cast<WORD>(master), 1);
  if (mode == 1) {
    ApiWrite(api, kItem_zdmCopyProtectFuncSelectCopyGuard, 1);
    ApiWriteSettingText(api, kItem_zdmCopyProtectChar, "");
    return 1;
  }
  if (mode != 2 && mode != 3) return -1;
  auto at = [record](UINT offset) { return ApiRecordLong(record, offset); };
  if (mode == 2) {
    if (!ApiValueTest(api, kItem_zdmCopyProtectColor, at(kOffCgColor)) ||
        !ApiValueTest(api, kItem_zdmCopyProtectDensity, at(kOffCgDensity)))
      return -1;
    if (at(kOffCgMask) != 0 && !ApiValueTest(api, kItem_zdmCopyProtectTileMask, at(kOffCgMask))) return -1;
    if (!ZeroOrOne(at(kOffCgSwitch))) return -1;
  }
  char text[65] = {}, font[32] = {};
  if (!ApiRecordText(record, kOffCgText, 65, text) || !ApiRecordText(record, kOffCgFont, 32, font)) {
    ApiSetLastError(api, kApiErrCharacters);
    return -1;
  }
  if (!font[0] || !ApiIsFontInstalled(api, font)) {
    ApiSetLastError(api, kApiErrFont);
    return -1;
  }
  if (!InNumericRange(api, kItem_zdmCopyProtectFontPoint, at(kOffCgPoint))) return -1;
  if (!ApiValueTest(api, kItem_zdmCopyProtectFontStyle, at(kOffCgStyle))) return -1;
  const LONG position = at(kOffCgPosition);
  const bool repeat = position == kRepeat;
  if (!ApiValueTest(api, kItem_zdmCopyProtectPosi, position) && !repeat) return -1;
  if (repeat && (!InNumericRange(api, kItem_zdmCopyProtectLinePitch, at(kOffCgPitch)) || !ZeroOrOne(at(kOffCgReverse))))
    return -1;
  const bool angled = repeat || position == 0;
  if (angled && !InNumericRange(api, kItem_zdmCopyProtectAngle, at(kOffCgAngle))) return -1;
  const LONG frame = at(kOffCgFrame);
  if (frame != 0 && frame != 3 && frame != 255) return -1;

  ApiWrite(api, kItem_zdmCopyProtectFuncSelectCopyGuard, mode == 3 ? 1 : 0);
  ApiWriteSettingText(api, kItem_zdmCopyProtectChar, text);
  if (mode == 2) {
    ApiWrite(api, kItem_zdmCopyProtectColor, at(kOffCgColor));
    ApiWrite(api, kItem_zdmCopyProtectDensity, at(kOffCgDensity));
    if (at(kOffCgMask) != 0) {
      ApiWrite(api, kItem_zdmCopyProtectFuncSelectMaskPattern, 1);
      ApiWrite(api, kItem_zdmCopyProtectTileMask, at(kOffCgMask));
    } else {
      ApiWrite(api, kItem_zdmCopyProtectFuncSelectMaskPattern, 0);
    }
    ApiWrite(api, kItem_zdmCopyProtectFuncSelectSwitchPattern, at(kOffCgSwitch));
    if (frame == 255) {
      ApiWrite(api, kItem_zdmCopyProtectFuncSelectWhiteBackground, 1);
      ApiWrite(api, kItem_zdmCopyProtectFuncSelectOutline, 0);
    }
  }
  if (repeat) {
    ApiWrite(api, kItem_zdmCopyProtectFuncSelectRepeat, 1);
    ApiWrite(api, kItem_zdmCopyProtectFuncSelectReverse, at(kOffCgReverse));
    ApiWrite(api, kItem_zdmCopyProtectLinePitch, at(kOffCgPitch));
  } else {
    ApiWrite(api, kItem_zdmCopyProtectPosi, position);
    ApiWrite(api, kItem_zdmCopyProtectFuncSelectRepeat, 0);
  }
  ApiWrite(api, kItem_zdmCopyProtectAngle, angled ? at(kOffCgAngle) : 0);
  if (frame == 3) {
    ApiWrite(api, kItem_zdmCopyProtectFuncSelectOutline, 1);
    ApiWrite(api, kItem_zdmCopyProtectFuncSelectWhiteBackground, 0);
  } else if (frame == 0) {
    ApiWrite(api, kItem_zdmCopyProtectFuncSelectOutline, 0);
    ApiWrite(api, kItem_zdmCopyProtectFuncSelectWhiteBackground, 0);
  }
  ApiWriteSettingText(api, kItem_zdmCopyProtectChar, text);
  ApiWriteSettingText(api, kItem_zdmCopyProtectFontName, font);
  ApiWrite(api, kItem_zdmCopyProtectFontPoint, at(kOffCgPoint));
  ApiWrite(api, kItem_zdmCopyProtectFontStyle, at(kOffCgStyle));
  return 1;
}

LONG ApiVerifyCopyGuard(ApiContext* api, DWORD id, void* record, BYTE*, LONG) {
  const DWORD master = ApiFindMasterKey(id, nullptr);
  if (!master) return -1;
  const LONG mode = ApiRecordLong(record, kOffCgMode);
  if (mode == 0) return 1;
  if (!ApiRead(api, static_cast<WORD>(master))) return -1;
  char have[300];
  ApiReadSettingText(api, kItem_zdmCopyProtectChar, have, sizeof(have));
  const bool guard = ApiRead(api, kItem_zdmCopyProtectFuncSelectCopyGuard) != 0;
  if (mode == 1) return guard && !have[0] ? 1 : -1;
  if (mode == 3 && !guard) return -1;
  if (!have[0]) return -1;
  auto at = [record](UINT offset) { return ApiRecordLong(record, offset); };
  const LONG frame = at(kOffCgFrame);
  if (mode == 2) {
    if (ApiRead(api, kItem_zdmCopyProtectColor) != at(kOffCgColor) ||
        ApiRead(api, kItem_zdmCopyProtectDensity) != at(kOffCgDensity))
      return -1;
    if (at(kOffCgMask) != 0 ? ApiRead(api, kItem_zdmCopyProtectTileMask) != at(kOffCgMask)
                            : ApiRead(api, kItem_zdmCopyProtectFuncSelectMaskPattern) != 0)
      return -1;
    if (ApiRead(api, kItem_zdmCopyProtectFuncSelectSwitchPattern) != at(kOffCgSwitch)) return -1;
    if (frame == 255 && !ApiRead(api, kItem_zdmCopyProtectFuncSelectWhiteBackground)) return -1;
  }
  const LONG position = at(kOffCgPosition);
  if (position == kRepeat) {
    if (!ApiRead(api, kItem_zdmCopyProtectFuncSelectRepeat)) return -1;
    if ((ApiRead(api, kItem_zdmCopyProtectFuncSelectReverse) != 0) != (at(kOffCgReverse) != 0)) return -1;
    if (ApiRead(api, kItem_zdmCopyProtectLinePitch) != at(kOffCgPitch)) return -1;
  } else if (ApiRead(api, kItem_zdmCopyProtectPosi) != position) {
    return -1;
  }
  if ((position == kRepeat || position == 0) && ApiRead(api, kItem_zdmCopyProtectAngle) != at(kOffCgAngle)) return -1;
  const bool outline = ApiRead(api, kItem_zdmCopyProtectFuncSelectOutline) != 0;
  const bool white = ApiRead(api, kItem_zdmCopyProtectFuncSelectWhiteBackground) != 0;
  if (frame == 3 && (white || !outline)) return -1;
  if (frame == 0 && (white || outline)) return -1;
  char want[65] = {}, font[32] = {};
  ApiRecordText(record, kOffCgText, 65, want);
  ApiRecordText(record, kOffCgFont, 32, font);
  if (strcmp(want, have) != 0) return -1;
  ApiReadSettingText(api, kItem_zdmCopyProtectFontName, have, sizeof(have));
  if (strcmp(font, have) != 0) return -1;
  return ApiRead(api, kItem_zdmCopyProtectFontPoint) == at(kOffCgPoint) &&
                 ApiRead(api, kItem_zdmCopyProtectFontStyle) == at(kOffCgStyle)
             ? 1
             : -1;
}

LONG ApiGetCopyGuard(ApiContext* api, DWORD id, void* record, DWORD) {
  const LONG caps = ApiAskCaps(api, 84, nullptr);
  if (caps == -1 || caps == 0) return -1;
  const LONG size = static_cast<LONG>(ApiRecordSize(id, 1));
  if (!record) return size;
  BYTE* r = static_cast<BYTE*>(record);
  memset(r + kOffCgMode, 0, static_cast<size_t>(size) - kOffCgMode);
  char text[300];
  ApiReadSettingText(api, kItem_zdmCopyProtectChar, text, sizeof(text));
  const DWORD master = ApiFindMasterKey(id, nullptr);
  const bool on = master && ApiRead(api, static_cast<WORD>(master));
  const bool guard = ApiRead(api, kItem_zdmCopyProtectFuncSelectCopyGuard) != 0;
  LONG mode = 0;
  if (on) mode = guard ? (text[0] ? 3 : 1) : (text[0] ? 2 : 0);
  ApiPutRecordLong(r, kOffCgMode, mode);
  ApiPutRecordLong(r, kOffCgColor, ApiReadLong(api, kItem_zdmCopyProtectColor));
  ApiPutRecordLong(r, kOffCgDensity, ApiReadLong(api, kItem_zdmCopyProtectDensity));
  ApiPutRecordLong(r, kOffCgMask, ApiRead(api, kItem_zdmCopyProtectFuncSelectMaskPattern)
                             ? ApiReadLong(api, kItem_zdmCopyProtectTileMask)
                             : 0);
  ApiPutRecordLong(r, kOffCgSwitch, ApiReadLong(api, kItem_zdmCopyProtectFuncSelectSwitchPattern));
  ApiPutRecordLong(r, kOffCgPosition, ApiRead(api, kItem_zdmCopyProtectFuncSelectRepeat)
                                 ? kRepeat
                                 : ApiReadLong(api, kItem_zdmCopyProtectPosi));
  ApiPutRecordLong(r, kOffCgReverse, ApiReadLong(api, kItem_zdmCopyProtectFuncSelectReverse));
  ApiPutRecordLong(r, kOffCgPitch, ApiReadLong(api, kItem_zdmCopyProtectLinePitch));
  LONG frame = 0;
  if (ApiRead(api, kItem_zdmCopyProtectFuncSelectOutline))
    frame = 3;
  else if (ApiRead(api, kItem_zdmCopyProtectFuncSelectWhiteBackground))
    frame = 255;
  ApiPutRecordLong(r, kOffCgFrame, frame);
  ApiPutRecordText(r, kOffCgText, 65, text, 64);
  ApiReadSettingText(api, kItem_zdmCopyProtectFontName, text, sizeof(text));
  ApiPutRecordText(r, kOffCgFont, 32, text, 31);
  ApiPutRecordLong(r, kOffCgPoint, ApiReadLong(api, kItem_zdmCopyProtectFontPoint));
  ApiPutRecordLong(r, kOffCgStyle, ApiReadLong(api, kItem_zdmCopyProtectFontStyle));
  ApiPutRecordLong(r, kOffCgAngle, ApiReadLong(api, kItem_zdmCopyProtectAngle));
  return size;
}
