// Merging a caller's public DEVMODE fields into a context's settings, field by field under its
// dmFields and the model description, and carrying the merged fields into the private items
// that depend on them.
#include "core/devmode/field_merge.h"

#include <string.h>

#include "core/context/module_bus.h"
#include "core/context/settings_snapshot.h"
#include "core/context/ui_state.h"
#include "core/devmode/couplings.h"
#include "core/devmode/dm_codes.h"
#include "core/devmode/dm_merge.h"
#include "core/devmode/item_reset.h"
#include "core/devmode/paper_codes.h"
#include "core/devmode/paper_geometry.h"
#include "core/devmode/resolution_limit.h"
#include "core/items/item_access.h"
#include "core/items/item_checks.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/items/item_values.h"
#include "core/items/units.h"
#include "core/model/model_lookup.h"
#include "core/model/model_setters.h"
#include "core/model/model_types.h"
#include "core/store/free_size_store.h"
#include "core/store/stamp_store.h"
#include "core/system/printer_names.h"
#include "core/tables/build_switches.h"
#include "core/tables/model_record.h"
#include "core/tables/print_macros.h"

namespace {

constexpr short kPaperByDimensions = DMPAPER_USER;
constexpr short kLandscape = 2;
constexpr DWORD kPaperFieldBits = DM_PAPERLENGTH | DM_PAPERWIDTH;
constexpr int kEventResolution = 32;
constexpr int kEventEvents36 = 36;
constexpr int kEventThirteen = 13;
constexpr int kEventPaperByDimensions = 44;
constexpr WORD kNotifyPublicFields = 124;

// The fields step 1 of the merge copies, by their dmFields bit.
constexpr DWORD kCopiedBits = DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_SCALE | DM_COPIES |
                              DM_DEFAULTSOURCE | DM_PRINTQUALITY | DM_COLOR | DM_DUPLEX | DM_YRESOLUTION |
                              DM_TTOPTION | DM_COLLATE | DM_ICMMETHOD | DM_ICMINTENT | DM_MEDIATYPE | DM_DITHERTYPE;

LONG Raw(DriverContext* ctx, WORD id) { return static_cast<LONG>(ItemGetRawById(ctx, id)); }

DWORD MergeFlags(DriverContext* ctx) { return ctx->ui ? ctx->ui->mergeFlags : 0; }

bool Described(DriverContext* ctx, WORD id) { return ModelFindDescriptor(id, ctx) != nullptr; }

// The description's range of a Numeric item; false when the item is not Numeric there.
bool NumericRange(DriverContext* ctx, WORD id, LONG* lo, LONG* hi) {
  const ModelItemDescriptor* desc = ModelFindDescriptor(id, ctx);
  if (!desc || ModelValueShapeOf(desc->type) != kModelShapeNumeric || !desc->values) return false;
  const NumericValueRecord* n = static_cast<const NumericValueRecord*>(desc->values);
  *lo = n->minimum;
  *hi = n->maximum;
  return true;
}

// Resets the item to the description's default when the description has it; false otherwise,
// so the caller writes the model record's default.
bool ResetToModelDefault(DriverContext* ctx, WORD id) {
  if (!Described(ctx, id)) return false;
  SettingItem* item = ItemFind(ctx, id);
  if (!item) return false;
  DmResetItemToModelDefault(ctx, item);
  return true;
}

void CopyFields(DEVMODEW* c, const DEVMODEW* in, DWORD bits) {
  if (bits & DM_ORIENTATION) c->dmOrientation = in->dmOrientation;
  if (bits & DM_PAPERSIZE) c->dmPaperSize = in->dmPaperSize;
  // A length or width of 0 or less describes no paper; the context keeps its own.
  if ((bits & DM_PAPERLENGTH) && in->dmPaperLength > 0) c->dmPaperLength = in->dmPaperLength;
  if ((bits & DM_PAPERWIDTH) && in->dmPaperWidth > 0) c->dmPaperWidth = in->dmPaperWidth;
  if (bits & DM_SCALE) c->dmScale = in->dmScale;
  if (bits & DM_COPIES) c->dmCopies = in->dmCopies;
  if (bits & DM_DEFAULTSOURCE) c->dmDefaultSource = in->dmDefaultSource;
  if (bits & DM_PRINTQUALITY) c->dmPrintQuality = in->dmPrintQuality;
  if (bits & DM_COLOR) c->dmColor = in->dmColor;
  if (bits & DM_DUPLEX) c->dmDuplex = in->dmDuplex;
  if (bits & DM_YRESOLUTION) c->dmYResolution = in->dmYResolution;
  if (bits & DM_TTOPTION) c->dmTTOption = in->dmTTOption;
  if (bits & DM_COLLATE) c->dmCollate = in->dmCollate;
  if (bits & DM_ICMMETHOD) c->dmICMMethod = in->dmICMMethod;
  if (bits & DM_ICMINTENT) c->dmICMIntent = in->dmICMIntent;
  if (bits & DM_MEDIATYPE) c->dmMediaType = in->dmMediaType;
  if (bits & DM_DITHERTYPE) c->dmDitherType = in->dmDitherType;
}

void SetPaperFieldsFromExtents(DriverContext* ctx, DEVMODEW* c) {
  PaperExtents e = {};
  if (!PaperGetExtents(ctx, &e, 0)) return;
  c->dmPaperLength = static_cast<short>(e.length);
  c->dmPaperWidth = static_cast<short>(e.width);
}

short TenthMm(LONG v1200) {
  return static_cast<short>(UnitDotsToDisplay(kUnitTenthMm, static_cast<DWORD>(v1200 < 0 ? 0 : v1200), 1200));
}

LONG From10thMm(short v) { return static_cast<LONG>(UnitFromTenthMm(static_cast<DWORD>(v > 0 ? v : 0), 1200)); }

void MergePaperByDimensions(DriverContext* ctx, DEVMODEW* c, const DEVMODEW* in) {
  c->dmPaperSize = in->dmPaperSize;
  c->dmPaperLength = in->dmPaperLength;
  c->dmPaperWidth = in->dmPaperWidth;
  c->dmFields |= kPaperFieldBits;
  if (Raw(ctx, kItem_zdmHidden2Func24) != 0)
    c->dmFields |= DM_PAPERSIZE;
  else
    c->dmFields &= ~static_cast<DWORD>(DM_PAPERSIZE);
  ModBusSendEvent(ctx, kEventPaperByDimensions, c);
  ItemSetRawById(ctx, kItem_zdmPaperFreeSizeWidth, From10thMm(c->dmPaperWidth));
  ItemSetRawById(ctx, kItem_zdmPaperFreeSizeLength, From10thMm(c->dmPaperLength));
}

void MergePaperByCode(DriverContext* ctx, DEVMODEW* c, const DEVMODEW* in) {
  const short code = in->dmPaperSize;
  const bool oversize = Raw(ctx, kItem_zdmFuncSelectFreeShortOver) == 1;
  if (PaperIsFreeSizeCode(code)) {
    c->dmPaperSize = code;
    if (oversize) {
      c->dmFields &= ~kPaperFieldBits;
    } else {
      int n = PaperSlotOfCode(code);
      FreeSizeLoadAll(ctx);
      FreeSizeSlotFromUserPaper(ctx, code, n);
      if (const FreeSizeSlot* slot = FreeSizeGetSlot(ctx, n)) {
        c->dmPaperLength = TenthMm(slot->length);
        c->dmPaperWidth = TenthMm(slot->width);
      }
      c->dmFields |= kPaperFieldBits;
    }
  } else if (DmIsValidPaperSize(code, ctx)) {
    c->dmPaperSize = code;
    c->dmFields &= ~kPaperFieldBits;
    if (!oversize) SetPaperFieldsFromExtents(ctx, c);
  } else {
    if (!ResetToModelDefault(ctx, kItem_dmPaperSize))
      c->dmPaperSize = static_cast<short>(CtxModelRecord(ctx)->defPaperSize);
    c->dmFields &= ~kPaperFieldBits;
  }
  c->dmFields |= DM_PAPERSIZE;
}

// The graphics DLL's orientation-only step: an explicit size follows the orientation into the
// custom paper items; a slot paper is exchanged; any other takes the paper's extents.
void MergeOrientationGraphics(DriverContext* ctx, DEVMODEW* c) {
  const bool landscape = c->dmOrientation == kLandscape;
  if (c->dmPaperLength > 0 && c->dmPaperWidth > 0 &&
      (!(c->dmFields & DM_PAPERSIZE) || PaperIsFreeSizeRange(c->dmPaperSize))) {
    short length = landscape ? c->dmPaperWidth : c->dmPaperLength;
    short width = landscape ? c->dmPaperLength : c->dmPaperWidth;
    ItemSetRawById(ctx, kItem_zdmPaperFreeSizeLength, From10thMm(length));
    ItemSetRawById(ctx, kItem_zdmPaperFreeSizeWidth, From10thMm(width));
    return;
  }
  if (!(c->dmFields & DM_PAPERSIZE)) return;
  if (PaperIsFreeSizeCode(c->dmPaperSize)) {
    int n = PaperSlotOfCode(c->dmPaperSize);
    FreeSizeLoadAll(ctx);
    FreeSizeSlotFromUserPaper(ctx, c->dmPaperSize, n);
    if (const FreeSizeSlot* slot = FreeSizeGetSlot(ctx, n)) {
      c->dmPaperLength = TenthMm(landscape ? slot->width : slot->length);
      c->dmPaperWidth = TenthMm(landscape ? slot->length : slot->width);
    }
    return;
  }
  SetPaperFieldsFromExtents(ctx, c);
}

void MergeFormNameOnly(DEVMODEW* c, const DEVMODEW* in) {
  if (in->dmFormName[0] == 0) {
    c->dmFormName[0] = 0;
    c->dmFields &= ~static_cast<DWORD>(DM_FORMNAME);
    return;
  }
  // An incoming name never fills an empty one: only a named form is replaced.
  if (c->dmFormName[0] != 0) {
    memcpy(c->dmFormName, in->dmFormName, sizeof c->dmFormName);
    c->dmFormName[CCHFORMNAME - 1] = 0;
    c->dmFields |= DM_FORMNAME;
  } else {
    c->dmFields &= ~static_cast<DWORD>(DM_FORMNAME);
  }
}

// A range check of scale or copies: the description's range when the item is Numeric there,
// else the model record's.
short InRangeOr(DriverContext* ctx, WORD id, short value, LONG lo, LONG hi, short fallback) {
  NumericRange(ctx, id, &lo, &hi);
  return value >= lo && value <= hi ? value : fallback;
}

void TakeValidShort(short* field, int (*valid)(LONG_PTR, DriverContext*), DriverContext* ctx, WORD recordDefault) {
  if (!valid(*field, ctx)) *field = static_cast<short>(recordDefault);
}

// Sets or keeps an ICM, dither or TrueType field: a valid value stays and the bit is set,
// otherwise the record's value is written.
template <typename T>
void TakeValidWithBit(DEVMODEW* c, T* field, DWORD bit, int (*valid)(LONG_PTR, DriverContext*), DriverContext* ctx,
                      DWORD recordDefault) {
  if (valid(static_cast<LONG_PTR>(*field), ctx))
    c->dmFields |= bit;
  else
    *field = static_cast<T>(recordDefault);
}

// Sends the resolution event and takes the value the modules leave.
LONG AskResolution(DriverContext* ctx, DEVMODEW* c, SettingItem* item, LONG value) {
  ResolutionEvent event = {c, item, value};
  ModBusSendEvent(ctx, kEventResolution, &event);
  return event.value;
}

// 1 when the resolution item accepts the stored value (the check maps it to its logical value
// itself); an item without a rule refuses nothing.
bool Accepts(DriverContext* ctx, SettingItem*, WORD id, LONG stored) {
  return ItemIsValueAllowedBasic(id, stored, ctx) != kCheckRefused;
}

bool AcceptedMacro(DriverContext* ctx, SettingItem*, WORD macro) {
  return ItemIsValueAllowedBasic(kItem_zdmDstResolutionBoth, macro, ctx) == kCheckAccepted;
}

// The print macro item zdmDstResolutionBoth should hold for the quality: the user's macro when
// it has that x resolution, else the first accepted macro of that x resolution; 0 for none.
WORD MacroForQuality(DriverContext* ctx, SettingItem* item, LONG quality) {
  if (Raw(ctx, kItem_zdmUseUserMacro) == 1) {
    WORD current = static_cast<WORD>(Raw(ctx, kItem_zdmDstResolutionBoth));
    const PrintMacroResolution* row = TblFindPrintMacro(current);
    if (row && row->xDpi == quality) return current;
  }
  // Each macro has one row, so the walk ends after the table's length at most.
  for (WORD m = TblPrintMacroByXDpi(static_cast<WORD>(quality)); m;
       m = TblNextPrintMacroByXDpi(static_cast<WORD>(quality), m))
    if (AcceptedMacro(ctx, item, m)) return m;
  return 0;
}

// The environment flags that follow the merged settings and the printer.
void RecomputeEnvironmentFlags(DriverContext* ctx) {
  ItemSetRawById(ctx, kItem_zdmPresentUIMode, Raw(ctx, kItem_zdmUIModeChange) != 0 ? 1 : 0);
  ItemSetRawById(ctx, kItem_zdmBidiSupport, PrnIsBidiEnabled(ctx) ? 1 : 0);
  ItemSetRawById(ctx, kItem_zdmServerClientMode, PrnIsOnServer(ctx) ? 1 : 0);
}

bool TextItemEmpty(DriverContext* ctx, WORD id) {
  SettingItem* item = ItemFind(ctx, id);
  if (!item) return false;
  WCHAR text[2] = {};
  if (!ItemGetTextBounded(ctx, item, text, 2)) return false;
  return text[0] == 0;
}

bool IsTopBinding(LONG t) { return t == 1 || t == 17 || t == 20; }
bool IsSideBinding(LONG t) { return t == 2 || t == 3 || t == 18 || t == 19 || t == 21 || t == 22; }

// The binding type that keeps the booklet kind and moves the binding to the top or the side.
LONG BindingFor(LONG type, bool top) {
  if (top) {
    if (IsTopBinding(type)) return type;
    if (type == 18 || type == 19) return 17;
    if (type == 21 || type == 22) return 20;
    return 1;
  }
  if (IsSideBinding(type)) return type;
  if (type == 17) return 19;
  if (type == 20) return 22;
  return 3;
}

void ApplyDuplex(DriverContext* ctx, const DEVMODEW* c) {
  const short duplex = c->dmDuplex;
  if (duplex == DMDUP_VERTICAL || duplex == DMDUP_HORIZONTAL) {
    const bool landscape = c->dmOrientation == kLandscape;
    const bool top = (duplex == DMDUP_VERTICAL && landscape) || (duplex == DMDUP_HORIZONTAL && !landscape);
    if (Raw(ctx, kItem_zdmFuncSelectDuplex) != 0) {
      ItemSetRawById(ctx, kItem_zdmDuplexType, BindingFor(Raw(ctx, kItem_zdmDuplexType), top));
    } else {
      ItemSetRawById(ctx, kItem_zdmFuncSelectDuplex, 1);
      ItemSetRawById(ctx, kItem_zdmDuplexType, top ? 1 : 3);
    }
    return;
  }
  if (ItemGetCustomFunc(ctx, kItem_wdmCustomFunc0) == 0) ItemSetRawById(ctx, kItem_zdmFuncSelectDuplex, 0);
}

bool ByDimensions(DWORD bits, const DEVMODEW* dm) {
  return (bits & kPaperFieldBits) == kPaperFieldBits && !(bits & DM_PAPERSIZE) && dm->dmPaperLength > 0 &&
         dm->dmPaperWidth > 0;
}

void PaperIntoDots(DriverContext* ctx, DEVMODEW* c, DWORD bits) {
  if (ByDimensions(bits, c))
    DmSetPaperDotsFromSize(c, ctx);
  else if (bits & DM_PAPERSIZE)
    DmApplyInputPaper(c->dmPaperSize, kItem_dmPaperSize, ctx, c);
}

}  // namespace

void DmMergePublicFields(void* ctxDevmode, const void* inDevmode, DriverContext* ctx) {
  if (!ctxDevmode || !inDevmode || !ctx) return;
  DEVMODEW* c = static_cast<DEVMODEW*>(ctxDevmode);
  const DEVMODEW* in = static_cast<const DEVMODEW*>(inDevmode);
  const ModelRecord* record = CtxModelRecord(ctx);
  const DWORD bits = in->dmFields;

  CopyFields(c, in, bits & kCopiedBits);

  if (bits & DM_DEFAULTSOURCE) {
    if (!DmIsValidDefaultSource(c->dmDefaultSource, ctx) && !ResetToModelDefault(ctx, kItem_dmDefaultSource))
      c->dmDefaultSource = static_cast<short>(record->defDefaultSource);
    c->dmFields |= DM_DEFAULTSOURCE;
  }
  if (bits & DM_ORIENTATION) {
    if (!DmIsValidOrientation(c->dmOrientation, ctx) && !ResetToModelDefault(ctx, kItem_dmOrientation))
      c->dmOrientation = static_cast<short>(record->defOrientation);
    c->dmFields |= DM_ORIENTATION;
  }

  DWORD paperBits = bits;
  if ((paperBits & DM_PAPERSIZE) && in->dmPaperSize == kPaperByDimensions)
    paperBits = (paperBits | kPaperFieldBits) & ~static_cast<DWORD>(DM_PAPERSIZE);
  if (BuildGetVariant().mergeKeepsExplicitSize && (paperBits & kPaperFieldBits) == kPaperFieldBits &&
      in->dmPaperLength > 0 && in->dmPaperWidth > 0 && PaperIsFreeSizeRange(in->dmPaperSize))
    paperBits &= ~static_cast<DWORD>(DM_PAPERSIZE);
  if (Raw(ctx, kItem_zdmFuncSelectFreeShortOver) == 1)
    paperBits = (paperBits | DM_PAPERSIZE) & ~kPaperFieldBits;

  if (ByDimensions(paperBits, in)) {
    MergePaperByDimensions(ctx, c, in);
  } else if (paperBits & DM_PAPERSIZE) {
    MergePaperByCode(ctx, c, in);
  } else if (paperBits & DM_ORIENTATION) {
    if (BuildGetVariant().mergeKeepsExplicitSize)
      MergeOrientationGraphics(ctx, c);
    else if ((c->dmFields & DM_PAPERSIZE) && !PaperIsFreeSizeCode(c->dmPaperSize))
      SetPaperFieldsFromExtents(ctx, c);
  } else if (bits & DM_FORMNAME) {
    MergeFormNameOnly(c, in);
  }

  if (bits & DM_SCALE) {
    c->dmScale = InRangeOr(ctx, kItem_dmScale, c->dmScale, static_cast<LONG>(record->unknown31[0]),
                           static_cast<LONG>(record->unknown31[1]), static_cast<short>(record->defScale));
    c->dmFields &= ~static_cast<DWORD>(DM_SCALE);
  }
  if (bits & DM_COPIES) {
    short copies = InRangeOr(ctx, kItem_dmCopies, c->dmCopies, static_cast<LONG>(record->unknown31[2]),
                             static_cast<LONG>(record->unknown31[3]), static_cast<short>(record->defCopies));
    c->dmCopies = copies > 0 ? copies : static_cast<short>(record->defCopies);
    c->dmFields |= DM_COPIES;
  }
  if ((bits & DM_MEDIATYPE) && !DmIsValidMediaType(static_cast<LONG_PTR>(c->dmMediaType), ctx))
    c->dmMediaType = record->defMediaType;
  if (bits & DM_PRINTQUALITY) DmMergeResolutionPair(c, in, ctx);
  c->dmYResolution = c->dmPrintQuality;
  c->dmFields |= DM_YRESOLUTION;
  if (bits & DM_DUPLEX) {
    TakeValidShort(&c->dmDuplex, DmIsValidDuplex, ctx, record->defDuplex);
    c->dmFields |= DM_DUPLEX;
  }
  if (bits & DM_COLOR) {
    TakeValidShort(&c->dmColor, DmIsValidColor, ctx, record->defColor);
    c->dmFields |= DM_COLOR;
  }
  if (bits & DM_TTOPTION) TakeValidWithBit(c, &c->dmTTOption, DM_TTOPTION, DmIsValidTTOption, ctx, record->defTTOption);

  c->dmFields &= ~static_cast<DWORD>(DM_COLLATE);
  c->dmCollate = 0;
  if (DmIsCollateSupported(ctx)) {
    c->dmFields |= DM_COLLATE;
    c->dmCollate = (bits & DM_COLLATE) ? (in->dmCollate == 1 ? 1 : 0) : (Raw(ctx, kItem_zdmFuncSelectSort) != 0 ? 1 : 0);
  }

  if (bits & DM_ICMMETHOD)
    TakeValidWithBit(c, &c->dmICMMethod, DM_ICMMETHOD, DmIsValidICMMethod, ctx, record->defICMMethod);
  if (bits & DM_ICMINTENT)
    TakeValidWithBit(c, &c->dmICMIntent, DM_ICMINTENT, DmIsValidICMIntent, ctx, record->defICMIntent);
  if (bits & DM_DITHERTYPE)
    TakeValidWithBit(c, &c->dmDitherType, DM_DITHERTYPE, DmIsValidDitherType, ctx, record->defDitherType);
}

void DmMergeResolutionPair(void* ctxDevmode, const void* inDevmode, DriverContext* ctx) {
  if (!ctxDevmode || !inDevmode || !ctx) return;
  DEVMODEW* c = static_cast<DEVMODEW*>(ctxDevmode);
  const ModelRecord* record = CtxModelRecord(ctx);

  SettingItem* dst = ItemFind(ctx, kItem_zdmDstResolutionW);
  if (DmIsStdResolutionCode(c->dmPrintQuality)) {
    LONG fallback = Described(ctx, kItem_dmPrintQuality) ? static_cast<LONG>(ModelGetItemDefault(kItem_dmPrintQuality, ctx)) : 0;
    c->dmPrintQuality = static_cast<short>(fallback > 0 ? fallback : record->defPrintQuality);
  } else if (!DmIsValidPrintQuality(c->dmPrintQuality, ctx)) {
    if (dst)
      c->dmPrintQuality = static_cast<short>(AskResolution(ctx, c, dst, c->dmPrintQuality));
    else
      c->dmPrintQuality = static_cast<short>(record->defPrintQuality);
  }

  const LONG quality = c->dmPrintQuality;
  const bool byMacro = (ModelGetItemType(kItem_zdmDstResolutionW, ctx) & ~kModelTypeFlags) == kModelTypeNumeric;
  const WORD resolutionId = byMacro ? static_cast<WORD>(kItem_zdmDstResolutionBoth) : static_cast<WORD>(kItem_zdmDstResolutionW);
  SettingItem* resolution = ItemFind(ctx, resolutionId);
  if (resolution) {
    LONG candidate = quality;
    if (byMacro) {
      WORD macro = MacroForQuality(ctx, resolution, quality);
      if (macro) candidate = macro;
    }
    if (!Accepts(ctx, resolution, resolutionId, candidate)) {
      LONG answer = AskResolution(ctx, c, resolution, candidate);
      if (byMacro) {
        if (const PrintMacroResolution* row = TblFindPrintMacro(static_cast<WORD>(answer))) answer = row->xDpi;
      }
      c->dmPrintQuality = static_cast<short>(answer);
    }
  }

  const DWORD flags = MergeFlags(ctx);
  const LONG macro = Raw(ctx, kItem_zdmUserPrintMacro);
  if (Raw(ctx, kItem_zdmUseUserMacro) == 1 && (flags & kMergeGateSheets) && (flags & kMergeWorkPrompt) &&
      ((macro >= 32 && macro <= 39) || macro == 160)) {
    CtxSnapshotPush(ctx);
    DmApplyUserMacroQuality(ctx);
    LONG listResolution = Raw(ctx, kItem_zdmDstResolutionW);
    CtxSnapshotPop(ctx, 1);
    if (listResolution != c->dmPrintQuality) c->dmPrintQuality = static_cast<short>(listResolution);
  }

  if (!(flags & kMergeFromSettingsFile)) {
    SHORT limit = DmResolutionLimitFor(ctx, 0);
    if (limit != 0) {
      c->dmPrintQuality = limit;
      ItemSetRawById(ctx, kItem_dmPrintQuality, limit);
    }
  }
  c->dmFields |= DM_PRINTQUALITY;
}

void DmApplyPublicFieldsToItems(void* ctxDevmode, const void* inDevmode, DriverContext* ctx) {
  if (!ctxDevmode || !inDevmode || !ctx) return;
  DEVMODEW* c = static_cast<DEVMODEW*>(ctxDevmode);
  const DEVMODEW* in = static_cast<const DEVMODEW*>(inDevmode);
  const DWORD both = c->dmFields & in->dmFields;

  if (both & DM_DUPLEX) ApplyDuplex(ctx, c);
  if (both & DM_MEDIATYPE) ItemSetRawById(ctx, kItem_zdmMediaType, static_cast<LONG_PTR>(c->dmMediaType));

  StampReselect(ctx);
  DmApplyUserMacroQuality(ctx);
  ModBusSendEvent(ctx, kEventEvents36, nullptr);
  ModBusSendEvent(ctx, kEventThirteen, nullptr);
  ModBusNotify(ctx, kNotifyPublicFields);

  if (!(MergeFlags(ctx) & kMergeFromSettingsFile)) DmSyncResolutionFromQuality(c, ctx);

  if (ByDimensions(both & ~static_cast<DWORD>(DM_PAPERSIZE), c) && (both & DM_PAPERSIZE) == 0)
    DmSetPaperDotsFromSize(c, ctx);
  else if (both & DM_PAPERSIZE)
    DmApplyInputPaper(c->dmPaperSize, kItem_dmPaperSize, ctx, c);
  else if (both & DM_ORIENTATION)
    PaperIntoDots(ctx, c, c->dmFields);
  DmApplyOutputPaper(static_cast<short>(Raw(ctx, kItem_zdmOutPaperSize)), kItem_zdmOutPaperSize, ctx, c);

  RecomputeEnvironmentFlags(ctx);
  if (TextItemEmpty(ctx, kItem_zdmOther)) ModelSetDriverCodeString(ctx);
  ItemSetRawById(ctx, kItem_wdmUIStart, 0);
  ItemRepairSweep(ctx, 2);
}
