// The option-request and capability blocks.
#include "core/devmode/option_block.h"

#include <string.h>

#include "core/bind/bidi_acquire.h"
#include "core/common/mem.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/devmode/couplings.h"
#include "core/devmode/dm_layout.h"
#include "core/devmode/dm_merge.h"
#include "core/devmode/settings_defaults.h"
#include "core/items/allowed_values.h"
#include "core/items/item_access.h"
#include "core/items/item_caps.h"
#include "core/items/item_ids.h"
#include "core/items/item_values.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/rules/judge_eval.h"
#include "core/rules/model_rules.h"
#include "core/rules/transacts.h"
#include "core/store/item_store.h"
#include "core/tables/static_tables.h"
#include "core/tables/value_symbols.h"

namespace {

// The items a request may set, in the bit order of the change mask.
const WORD kRequestItems[] = {
    kItem_zdmJobBinder,     kItem_zdmDstResolutionW, kItem_zdmOutPaperSize, kItem_zdmOutputTrayID,
    kItem_zdmFuncSelectScale, kItem_zdmFuncSelectNup, kItem_zdmFuncSelectDuplex, kItem_zdmFuncSelectSort,
    kItem_zdmFuncSelectPunch, kItem_zdmFuncSelectStaple, kItem_zdmScaleType, kItem_zdmScaleH,
    kItem_zdmNUPPOSTKind,   kItem_zdmNUPType,        kItem_zdmDuplexType,   kItem_zdmSortType,
    kItem_zdmPunchType,     kItem_zdmStapleType,     kItem_zdmExtPrintArea, 0xFFFF};

enum : BYTE {
  kReqMode = 0, kReqMark = 1, kReqDuplex = 2, kReqSort = 3, kReqPunch = 4, kReqStaple = 5,
  kReqTray = 6, kReqResolution = 7, kReqPrintArea = 8, kReqScale = 10, kReqNup = 12,
  kReqOutPaper = 13,
};

// A request byte of the switch-and-type kind: 1 switches off; 2, 3, 4 switch on with the
// listed type; anything else switches on with the invalid type -1.
DWORD SwitchAndType(DriverContext* ctx, BYTE request, WORD onItem, WORD typeItem, const LONG types[3]) {
  if (request == 0) return 0;
  if (request == 1) return DmOptionBlockSetItem(ctx, onItem, 0);
  DWORD mask = DmOptionBlockSetItem(ctx, onItem, 1);
  const LONG type = (request >= 2 && request <= 4) ? types[request - 2] : -1;
  return mask | DmOptionBlockSetItem(ctx, typeItem, type);
}

LONG StapleType(BYTE request) {
  switch (request) {
    case 2: return 34;
    case 3: return 33;
    case 4: case 6: case 11: return 50;
    case 5: case 7: case 12: return 49;
    case 8: return 65;
    case 9: return 67;
    case 10: return 66;
    default: return -1;
  }
}

// The first row of the finisher table whose option item is on (the end row when none is).
const OptionBlockRow* InstalledFinisherRow(DriverContext* ctx) {
  const OptionBlockRow* row = TblGetOptionBlockRows();
  for (; row->item != 0xFFFF; ++row)
    if (ItemGetRawById(ctx, row->item) != 0) break;
  return row;
}

LONG OutputTray(DriverContext* ctx, BYTE request) {
  switch (request) {
    case 1: return 0;
    case 2: return 2;
    case 3: return 13;
    case 4: return 4;
    case 14: return InstalledFinisherRow(ctx)->code2;
    case 15: return InstalledFinisherRow(ctx)->code1;
    case 16: return 14;
    case 17: return 1;
    default: return (request >= 5 && request <= 13) ? request + 10 : -1;
  }
}

LONG ScalePercent(WORD request) {
  static const LONG kFixed[] = {70, 75, 80, 88, 100, 115};
  if (request <= 16384) return request;
  if (request == 16385) return 67;
  if (request <= 16391) return kFixed[request - 16386];
  return request;
}

const LONG kOutPapers[] = {8, 9, 11, 70, 12, 13, 88, 1, 5, 43, 6, 3, 267, 268, 66, -1, -1, 269};

// The request's items set on the context's settings, which hold the requesting DEVMODE.
DWORD ApplyRequests(DriverContext* ctx, const BYTE* block) {
  static const LONG kDuplexTypes[3] = {1, 2, 3};
  static const LONG kSortTypes[3] = {1, 4, 6};
  static const LONG kPunchTypes[3] = {1, 2, 3};
  DWORD mask = DmOptionBlockSetItem(ctx, kItem_zdmJobBinder, 0);
  mask |= SwitchAndType(ctx, block[kReqDuplex], kItem_zdmFuncSelectDuplex, kItem_zdmDuplexType, kDuplexTypes);
  mask |= SwitchAndType(ctx, block[kReqSort], kItem_zdmFuncSelectSort, kItem_zdmSortType, kSortTypes);
  ItemSetRawById(ctx, kItem_dmCollate, ItemGetRawById(ctx, kItem_zdmFuncSelectSort) != 0 ? 1 : 0);
  mask |= SwitchAndType(ctx, block[kReqPunch], kItem_zdmFuncSelectPunch, kItem_zdmPunchType, kPunchTypes);
  if (const BYTE staple = block[kReqStaple]) {
    if (staple == 1) {
      mask |= DmOptionBlockSetItem(ctx, kItem_zdmFuncSelectStaple, 0);
    } else {
      mask |= DmOptionBlockSetItem(ctx, kItem_zdmFuncSelectStaple, 1);
      mask |= DmOptionBlockSetItem(ctx, kItem_zdmStapleType, StapleType(staple));
    }
  }
  if (block[kReqTray]) mask |= DmOptionBlockSetItem(ctx, kItem_zdmOutputTrayID, OutputTray(ctx, block[kReqTray]));
  if (const BYTE r = block[kReqResolution]) {
    const LONG dpi = r == 1 ? 400 : r == 2 ? 600 : r == 3 ? 1200 : -1;
    mask |= DmOptionBlockSetItem(ctx, kItem_zdmDstResolutionW, dpi);
  }
  if (const BYTE a = block[kReqPrintArea])
    mask |= DmOptionBlockSetItem(ctx, kItem_zdmExtPrintArea, a == 1 ? 0 : a == 2 ? 1 : -1);
  const WORD scale = static_cast<WORD>(block[kReqScale] | (block[kReqScale + 1] << 8));
  if (scale) {
    mask |= DmOptionBlockSetItem(ctx, kItem_zdmFuncSelectScale, 1);
    mask |= DmOptionBlockSetItem(ctx, kItem_zdmScaleType, 1);
    mask |= DmOptionBlockSetItem(ctx, kItem_zdmScaleH, ScalePercent(scale));
  }
  if (const BYTE nup = block[kReqNup]) {
    if (nup == 1) {
      mask |= DmOptionBlockSetItem(ctx, kItem_zdmFuncSelectNup, 0);
    } else {
      mask |= DmOptionBlockSetItem(ctx, kItem_zdmFuncSelectNup, 1);
      static const LONG kKinds[] = {1, 2, 2, 2, 2, 2};
      static const LONG kTypes[] = {1, 2, 33, 34, 37, 38};
      LONG kind = -1, type = -1;
      if (nup >= 2 && nup <= 7) {
        kind = kKinds[nup - 2];
        type = kTypes[nup - 2];
        if (nup == 2 && ItemGetRawById(ctx, kItem_dmOrientation) == 2) type = 3;
      }
      mask |= DmOptionBlockSetItem(ctx, kItem_zdmNUPPOSTKind, kind);
      mask |= DmOptionBlockSetItem(ctx, kItem_zdmNUPType, type);
    }
  }
  if (const BYTE paper = block[kReqOutPaper])
    mask |= DmOptionBlockSetItem(ctx, kItem_zdmOutPaperSize, paper <= 18 ? kOutPapers[paper - 1] : -1);
  return mask;
}

// The context's DEVMODE over the given one, the request marked as carried out.
void CopyBack(DriverContext* ctx, BYTE* devmode) {
  memcpy(devmode, ctx->settings, kDmSize);
  devmode[kDmOffOptionRequest + kReqMark] = 0;
}

// A bidirectional refresh, the given DEVMODE untouched when it fails.
int Refresh(DriverContext* ctx, BYTE* devmode, const BYTE* before) {
  if (!BidiUpdateFromPrinterSilent(ctx)) {
    memcpy(devmode, before, kDmSize);
    return 0;
  }
  CopyBack(ctx, devmode);
  return 1;
}

WORD TypeOf(const ModelItemDescriptor* d) { return static_cast<WORD>(d->type & ~kModelTypeFlags); }

// Bits of the allowed stored values of a PJL-mapped item; positions[i] is the value of bit i.
// -1 when memory runs out.
LONG AllowedBits(DriverContext* ctx, WORD item, const LONG* positions, int count) {
  DWORD n = 0;
  if (ItemListAllowedValues(ctx, item, 0, nullptr, &n) == kAllowedNoMemory) return -1;
  if (n == 0) return 0;
  DWORD* values = static_cast<DWORD*>(MemAllocZero(n * sizeof(DWORD)));
  if (!values) return -1;
  DWORD got = 0;
  const int result = ItemListAllowedValues(ctx, item, n, values, &got);
  if (result == kAllowedNoMemory) {
    MemFree(values);
    return -1;
  }
  SettingItem* record = nullptr;
  ItemGetRawById(ctx, item, &record);
  LONG bits = 0;
  for (DWORD i = 0; i < got && i < n; ++i) {
    // A list item's allowed values are its logical values: the capability bits are stored codes.
    LONG code = static_cast<LONG>(values[i]);
    if (record && ItemChooseValueList(ctx, record)) code = static_cast<LONG>(ItemUnmapValue(ctx, record, code));
    for (int b = 0; b < count; ++b)
      if (positions[b] == code) bits |= 1L << b;
  }
  MemFree(values);
  return bits;
}

}  // namespace

DWORD DmOptionBlockSetItem(DriverContext* ctx, WORD item, LONG value) {
  for (int bit = 0; kRequestItems[bit] != 0xFFFF; ++bit) {
    if (kRequestItems[bit] != item) continue;
    ItemSetRawById(ctx, item, value);
    return 1u << bit;
  }
  return 0;
}

void DmRunChangedTransacts(DriverContext* ctx, DWORD mask) {
  for (int bit = 0; kRequestItems[bit] != 0xFFFF; ++bit)
    if (mask & (1u << bit)) ModelRunItemTransacts(ModelFindDescriptor(kRequestItems[bit], ctx), ctx);
}

int DmApplyOptionBlock(DriverContext* ctx, void* devmode) {
  if (!ctx || !ctx->settings || !ctx->ui || !devmode) return 1;
  BYTE* dm = static_cast<BYTE*>(devmode);
  BYTE block[kOptionBlockSize];
  memcpy(block, dm + kDmOffOptionRequest, kOptionBlockSize);
  if (block[kReqMark] != 1) return 1;
  ctx->ui->mergeFlags |= kMergeOptionApplied;

  // Every path that replaces the context's DEVMODE hands it back as it was: the merge still
  // owns the context's settings.
  BYTE* saved = static_cast<BYTE*>(MemAllocZero(kDmSize));
  if (!saved) return 0;
  memcpy(saved, ctx->settings, kDmSize);
  BYTE* before = nullptr;
  int result = 1;
  switch (block[kReqMode]) {
    case 2:
      DmSetFullDefaults(ctx);
      CopyBack(ctx, dm);
      break;
    case 3:
    case 4:
      before = static_cast<BYTE*>(MemAllocZero(kDmSize));
      if (!before) {
        result = 0;
        break;
      }
      memcpy(before, dm, kDmSize);
      if (block[kReqMode] == 4) {
        DmSetFullDefaults(ctx);
        StoreLoadPersistedItems(ctx->printer, ctx, 2, 0, nullptr);
        CopyBack(ctx, dm);
      }
      result = Refresh(ctx, dm, before);
      MemFree(before);
      break;
    default: {
      memcpy(ctx->settings, dm, kDmSize);
      const DWORD mask = ApplyRequests(ctx, block);
      DmRunChangedTransacts(ctx, mask);
      DmSyncResolutionFromDst(ctx->settings, ctx);
      DmSetDuplexField(ctx->settings, ctx);
      CopyBack(ctx, dm);
      break;
    }
  }
  memcpy(ctx->settings, saved, kDmSize);
  MemFree(saved);
  return result;
}

int DmListOutputTrayCodes(DriverContext* ctx, WORD* codes) {
  const ModelItemDescriptor* d = ModelFindDescriptor(kItem_zdmOutputTrayID, ctx);
  if (!d || !d->values || (TypeOf(d) & 1) == 0) return -1;
  int n = 0;
  for (const void* choice = d->values; choice; choice = ModelNextChoice(d, choice)) {
    const WORD value = ModelChoiceValue(d, choice, nullptr);
    if (ModelIsDescriptorDisabled(ctx, d, value)) continue;
    const ValueSymbol* symbol = TblFindValueSymbol(kItem_zdmOutputTrayID, value);
    if (!symbol || symbol->kind == ValueKindNone) return -1;
    if (codes) codes[n] = static_cast<WORD>(symbol->stored);
    ++n;
  }
  return n ? n : -1;
}

int DmBuildCapsBlock(DriverContext* ctx) {
  if (!ctx || !ctx->settings) return 0;
  BYTE caps[kOptionBlockSize] = {};
  caps[1] = ItemHasDuplexUnit(ctx) ? 7 : 0;

  static const LONG kSort[] = {1, 4, 6};
  static const LONG kPunch[] = {1, 2, 3};
  static const LONG kStaple[] = {34, 33, 18, 17, 2, 1, 65, 67, 66, 50, 49};
  static const LONG kPapers[] = {8, 9, 11, 70, 12, 13, 88, 1, 5, 43, 6, 3, 267, 268, 66, -2, -2, 269};
  const LONG sort = AllowedBits(ctx, kItem_zdmSortType, kSort, 3);
  const LONG punch = AllowedBits(ctx, kItem_zdmPunchType, kPunch, 3);
  const LONG staple = AllowedBits(ctx, kItem_zdmStapleType, kStaple, 11);
  const LONG papers = AllowedBits(ctx, kItem_zdmOutPaperSize, kPapers, 18);
  if (sort < 0 || punch < 0 || staple < 0 || papers < 0) return 0;
  caps[2] = static_cast<BYTE>(sort);
  caps[3] = 3;
  caps[4] = static_cast<BYTE>(punch);
  caps[5] = static_cast<BYTE>(staple);
  caps[6] = static_cast<BYTE>(staple >> 8);

  caps[7] = 0x02;
  WORD trays[64];
  const int trayCount = DmListOutputTrayCodes(ctx, nullptr);
  if (trayCount > 0 && trayCount <= 64 && DmListOutputTrayCodes(ctx, trays) == trayCount) {
    static const WORD kByte7[] = {0, 2, 13, 4, 15, 16, 17, 18};
    static const WORD kByte8[] = {19, 20, 21, 22, 23};
    for (int i = 0; i < trayCount; ++i) {
      const WORD code = trays[i];
      for (int b = 0; b < 8; ++b)
        if (kByte7[b] == code) caps[7] |= 1 << b;
      for (int b = 0; b < 5; ++b)
        if (kByte8[b] == code) caps[8] |= 1 << b;
      if (code == 14) caps[8] |= 0x80;
      for (const OptionBlockRow* row = TblGetOptionBlockRows(); row->item != 0xFFFF; ++row) {
        if (code == row->code2) caps[8] |= 0x20;
        if (code == row->code1) caps[8] |= 0x40;
      }
    }
  }

  LONG pairs[2 * 64];
  const int pairCount = ItemListResolutions(ctx, nullptr);
  if (pairCount > 0 && pairCount <= 64) {
    const int got = ItemListResolutions(ctx, pairs);
    for (int i = 0; i < got && i < 64; ++i) {
      if (pairs[2 * i] != pairs[2 * i + 1]) continue;
      if (pairs[2 * i] == 400) caps[10] |= 0x01;
      if (pairs[2 * i] == 600) caps[10] |= 0x02;
      if (pairs[2 * i] == 1200) caps[10] |= 0x04;
    }
  }
  caps[11] = 1;
  caps[12] = 0x3F;
  caps[13] = static_cast<BYTE>(papers);
  caps[14] = static_cast<BYTE>((papers >> 8) & 0x7F);
  caps[15] = static_cast<BYTE>((papers >> 16) & 0x02);
  caps[17] = 1;

  memcpy(ctx->settings + kDmOffCapabilities, caps, kOptionBlockSize);
  memset(ctx->settings + kDmOffOptionRequest, 0, kOptionBlockSize);
  return 1;
}
