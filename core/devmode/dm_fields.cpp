// Defaults of the public DEVMODE fields and the settings derived from them.
#include "core/devmode/dm_fields.h"

#include <string.h>

#include "core/context/driver_context.h"
#include "core/context/module_bus.h"
#include "core/devmode/couplings.h"
#include "core/devmode/dm_layout.h"
#include "core/items/item_access.h"
#include "core/items/item_checks.h"
#include "core/items/item_ids.h"
#include "core/model/model_lookup.h"
#include "core/model/model_setters.h"
#include "core/model/model_types.h"
#include "core/tables/model_record.h"

namespace {

const DmFieldRow kFields[] = {
    {1, 0, 64, 0},           {2, 64, 2, 0},           {3, 66, 2, 0},           {4, 68, 2, 0},
    {5, 70, 2, 0},           {6, 72, 4, 0},           {7, 76, 2, 0x1},         {8, 78, 2, 0x2},
    {9, 80, 2, 0x4},         {10, 82, 2, 0x8},        {11, 84, 2, 0x10},       {12, 86, 2, 0x100},
    {13, 88, 2, 0x200},      {14, 90, 2, 0x400},      {15, 92, 2, 0x800},      {16, 94, 2, 0x1000},
    {17, 96, 2, 0x2000},     {18, 98, 2, 0x4000},     {19, 100, 2, 0x8000},    {20, 102, 64, 0x10000},
    {21, 166, 2, 0},         {22, 168, 4, 0},         {23, 172, 4, 0},         {24, 176, 4, 0},
    {25, 180, 4, 0},         {26, 184, 4, 0},         {27, 188, 4, 0x800000},  {28, 192, 4, 0x1000000},
    {29, 196, 4, 0x2000000}, {30, 200, 4, 0x4000000}, {31, 204, 4, 0},         {32, 208, 4, 0},
    {33, 212, 4, 0},         {34, 216, 4, 0},
};
constexpr int kFieldCount = sizeof(kFields) / sizeof(kFields[0]);
static_assert(kFieldCount == 34, "items 1-34");

LONG Get(const BYTE* dm, const DmFieldRow& f) {
  if (f.width == 4) {
    LONG v;
    memcpy(&v, dm + f.offset, 4);
    return v;
  }
  SHORT v;
  memcpy(&v, dm + f.offset, 2);
  // The first five fields and dmLogPixels are unsigned words.
  return (f.item <= 6 || f.item == 21) ? static_cast<LONG>(static_cast<WORD>(v)) : v;
}
void Put(BYTE* dm, const DmFieldRow& f, LONG v) {
  if (f.width == 4) {
    memcpy(dm + f.offset, &v, 4);
  } else if (f.width == 2) {
    SHORT s = static_cast<SHORT>(v);
    memcpy(dm + f.offset, &s, 2);
  }
}
DWORD Fields(const BYTE* dm) { return static_cast<DWORD>(Get(dm, kFields[5])); }
void SetBit(BYTE* dm, DWORD bit, bool on) {
  DWORD f = Fields(dm);
  Put(dm, kFields[5], static_cast<LONG>(on ? (f | bit) : (f & ~bit)));
}

// The record's default of a field (0 where it has none).
LONG RecordDefault(const ModelRecord* r, WORD item) {
  switch (item) {
    case 2: return r->specVersion;
    case 3: return r->driverVersion;
    case 4: return kDmPublicSize;
    case 5: return kDmSize - kDmPublicSize;
    case 6: return static_cast<LONG>(r->defaultFields);
    case 7: return r->defOrientation;
    case 8: return r->defPaperSize;
    case 9: return r->defPaperLength;
    case 10: return r->defPaperWidth;
    case 11: return r->defScale;
    case 12: return r->defCopies;
    case 13: return r->defDefaultSource;
    case 14: return r->defPrintQuality;
    case 15: return r->defColor;
    case 16: return r->defDuplex;
    case 17: return r->defYResolution;
    case 18: return r->defTTOption;
    case 19: return r->defCollate;
    case 27: return static_cast<LONG>(r->defICMMethod);
    case 28: return static_cast<LONG>(r->defICMIntent);
    case 29: return static_cast<LONG>(r->defMediaType);
    case 30: return static_cast<LONG>(r->defDitherType);
    default: return 0;
  }
}

// The forced default of one field (the last column of the field table).
void Force(BYTE* dm, const DmFieldRow& f, const ModelRecord* r) {
  switch (f.item) {
    case 1: case 31: case 32:
      return;  // not written
    case 20:
      if (r->defFormName && r->defFormName[0]) {
        memset(dm + f.offset, 0, f.width);
        size_t n = 0;
        while (n < 31 && r->defFormName[n]) ++n;
        memcpy(dm + f.offset, r->defFormName, n * sizeof(WCHAR));
        SetBit(dm, f.bit, false);
      }
      return;
    case 21: case 22: case 23: case 24: case 25: case 26: case 33: case 34:
      Put(dm, f, 0);
      return;
    default:
      break;
  }
  Put(dm, f, RecordDefault(r, f.item));
  switch (f.item) {
    case 7: case 8: case 12: case 13: case 14: case 16: case 18:
      SetBit(dm, f.bit, true);
      break;
    case 9: case 10:
      SetBit(dm, f.bit, false);
      break;
    default:
      break;  // 11, 15, 17, 19, 27-30 and the header fields leave dmFields alone
  }
}

bool InRange(const ModelItemDescriptor* d, LONG v) {
  if (!d || !d->values) return false;
  const NumericValueRecord* n = static_cast<const NumericValueRecord*>(d->values);
  return v >= n->minimum && v <= n->maximum;
}

bool IsStdQuality(LONG v) { return v >= -4 && v <= -1; }

// The description-aware rule of one field: true when the field keeps its value (with its bit
// as the rule sets it), false when it takes the forced default.
bool Keep(BYTE* dm, const DmFieldRow& f, DriverContext* ctx) {
  const ModelItemDescriptor* d = ModelFindDescriptor(f.item, ctx);
  const WORD t = d ? static_cast<WORD>(d->type & ~kModelTypeFlags) : 0;
  const LONG v = Get(dm, f);
  switch (f.item) {
    case 1: case 21: case 22: case 23: case 24: case 25: case 26: case 31: case 32: case 33: case 34:
      return true;
    case 2: case 3: case 4: case 5: case 6:
      return d != nullptr;
    case 7:
      if (t == kModelTypePickOne && (v == 1 || v == 2)) return SetBit(dm, f.bit, true), true;
      return false;
    case 8:
      if (t == kModelTypePickPage && ((v >= 1 && v <= 118) || v >= 256)) return SetBit(dm, f.bit, true), true;
      return false;
    case 9: case 10:
      if (t != kModelTypeNumeric || v < 0) return false;
      if (v > 0) SetBit(dm, f.bit, Get(dm, kFields[f.item == 9 ? 9 : 8]) > 0);
      return true;
    case 11:
      return (t == kModelTypePickOne && v > 0) || (t == kModelTypeNumeric && InRange(d, v));
    case 12:
      if (t == kModelTypeNumeric && InRange(d, v) && v > 0) return SetBit(dm, f.bit, true), true;
      return false;
    case 13:
      if (t == kModelTypePickSlot && ((v >= 1 && v <= 15) || v >= 256)) return SetBit(dm, f.bit, true), true;
      return false;
    case 14:
      if ((t == kModelTypePickOne && (v > 0 || IsStdQuality(v))) ||
          (t == kModelTypeNumeric && (InRange(d, v) || IsStdQuality(v))))
        return SetBit(dm, f.bit, true), true;
      return false;
    case 15:
      if (t == kModelTypePickOne && v > 0) return SetBit(dm, f.bit, true), true;
      return false;
    case 16:
      if ((t == kModelTypePickOne || t == kModelTypeBoolean) && v > 0) return SetBit(dm, f.bit, true), true;
      return false;
    case 17:
      if ((t == kModelTypePickOne && v > 0) || (t == kModelTypeNumeric && InRange(d, v)))
        return SetBit(dm, f.bit, true), true;
      if (ModelFindDescriptor(kItem_dmPrintQuality, ctx)) {
        if (!Keep(dm, kFields[13], ctx)) Force(dm, kFields[13], CtxModelRecord(ctx));
        Put(dm, f, Get(dm, kFields[13]));
        return true;
      }
      return false;
    case 18:
      if (t == kModelTypePickOne && v > 0) return SetBit(dm, f.bit, true), true;
      return false;
    case 19:
      // Collation is possible when the sort item offers a choice: the same test as the field
      // merge's, so that a merge never undoes what the defaults set.
      if (DmIsCollateSupported(ctx)) {
        if (!(Fields(dm) & f.bit)) {
          Put(dm, f, ItemGetRawById(ctx, kItem_zdmFuncSelectSort) != 0 ? 1 : 0);
          SetBit(dm, f.bit, true);
        }
      } else {
        SetBit(dm, f.bit, false);
        Put(dm, f, 0);
      }
      return true;
    case 20:
      if (d && Get(dm, f) != 0) return SetBit(dm, f.bit, true), true;  // first character
      return false;
    case 27: case 28: case 30:
      if (t == kModelTypePickOne && v != 0) return SetBit(dm, f.bit, true), true;
      return false;
    case 29:
      return t == kModelTypePickOne && v != 0;
    default:
      return true;
  }
}

}  // namespace

const DmFieldRow* DmFieldTable(int* count) {
  if (count) *count = kFieldCount;
  return kFields;
}

void DmKeepOrDefaultFields(void* dm, DriverContext* ctx) {
  BYTE* p = static_cast<BYTE*>(dm);
  if (!p) return;
  const ModelRecord* r = CtxModelRecord(ctx);
  for (const DmFieldRow& f : kFields)
    if (!Keep(p, f, ctx)) Force(p, f, r);
}

void DmForceFieldDefaults(void* dm, DriverContext* ctx) {
  BYTE* p = static_cast<BYTE*>(dm);
  if (!p) return;
  const ModelRecord* r = CtxModelRecord(ctx);
  for (const DmFieldRow& f : kFields) Force(p, f, r);
}

void DmFinishDefaults(void* dm, DriverContext* ctx) {
  DmRunRepairSweep(dm, ctx, 1);
  DmRecomputeDerivedItems(dm, ctx, 1);
  DmStampPrivateNames(ctx);
}

void DmRunRepairSweep(void* dm, DriverContext* ctx, int kind) {
  (void)dm;
  ItemRepairSweep(ctx, kind);
}

void DmRecomputeDerivedItems(void* dm, DriverContext* ctx, int mode) {
  if (!ctx) return;
  DmSyncResolutionFromDst(dm, ctx);
  DmApplyInputPaper(static_cast<short>(ItemGetRawById(ctx, kItem_dmPaperSize)), kItem_dmPaperSize, ctx, dm);
  DmApplyOutputPaper(static_cast<short>(ItemGetRawById(ctx, kItem_zdmOutPaperSize)), kItem_zdmOutPaperSize, ctx, dm);
  DmRecomputeEnvironmentFlags(ctx);
  if (mode == 1 || mode == 3 || mode == 4) ModelSetDriverCodeString(ctx);
  ItemSetRawById(ctx, kItem_wdmUIStart, 0);
  ModBusSendEvent(ctx, 53, nullptr);
}

void DmRecomputeDerived(void* dm, DriverContext* ctx, int mode) {
  DmRecomputeDerivedItems(dm, ctx, mode);
  DmSetDuplexField(dm, ctx);
  DmSetMediaTypeField(dm, ctx);
}
