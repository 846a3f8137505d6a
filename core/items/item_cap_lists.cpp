// The DeviceCapabilities lists: papers, bins and resolutions.
#include <string.h>

#include "core/context/module_bus.h"
#include "core/devmode/paper_codes.h"
#include "core/items/item_access.h"
#include "core/items/item_caps.h"
#include "core/items/item_ids.h"
#include "core/items/units.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/rules/judge_eval.h"
#include "core/rules/model_rules.h"
#include "core/store/free_size_store.h"
#include "core/system/resources.h"
#include "core/tables/model_record.h"
#include "core/tables/print_macros.h"
#include "core/tables/value_symbols.h"

namespace {

constexpr int kNameLoadChars = 256;
constexpr DWORD kDeviceDpi = 1200;

WORD TypeOf(const ModelItemDescriptor* d) { return static_cast<WORD>(d->type & ~kModelTypeFlags); }

// Every value record starts with the link and the value id.
const ListValueRecord* FirstValue(const ModelItemDescriptor* d) { return static_cast<const ListValueRecord*>(d->values); }

// The descriptor of a list item: it must name an item, hold values and be of the type.
const ModelItemDescriptor* ListDescriptor(DriverContext* ctx, WORD item, WORD type) {
  const ModelItemDescriptor* d = ModelFindDescriptor(item, ctx);
  if (!d || !d->itemId || !d->values || TypeOf(d) != type) return nullptr;
  return d;
}

bool ValueDisabled(DriverContext* ctx, const ModelItemDescriptor* d, WORD value) {
  const ValueRule* rule = ModelFindValueRule(d->exclusive, value);
  return rule && JudgeEvaluate(rule->judgeDisabled, ctx) != 0;
}

// The stored code of (item, value); false when the value has no usable value symbol.
bool StoredCode(WORD item, WORD value, DWORD* code) {
  const ValueSymbol* symbol = TblFindValueSymbol(item, value);
  if (!symbol || symbol->kind == ValueKindNone) return false;
  *code = symbol->stored;
  return true;
}

// A string cut to step characters in a cleared slot (not terminated when it fills the slot).
void LoadName(DriverContext* ctx, UINT id, WCHAR* slot, int step) {
  WCHAR text[kNameLoadChars];
  ResLoadString(ctx, id, text, kNameLoadChars, FALSE);
  for (int i = 0; i < step && text[i]; ++i) slot[i] = text[i];
}

void SlotName(const FreeSizeSlot* slot, int n, WCHAR* out, int step) {
  if (!slot) return;
  constexpr int kNameChars = 64;
  const int limit = step < kNameChars ? step : kNameChars;
  if (n >= 10) {  // the user paper sizes keep their name as wide text
    WCHAR wide[kNameChars / 2];
    memcpy(wide, slot->name1, sizeof wide);
    for (int i = 0; i < limit && i < kNameChars / 2 && wide[i]; ++i) out[i] = wide[i];
    return;
  }
  char narrow[kNameChars + 1] = {};
  memcpy(narrow, slot->currentName, kNameChars);
  WCHAR wide[kNameChars + 1] = {};
  MultiByteToWideChar(CP_ACP, 0, narrow, -1, wide, kNameChars + 1);
  for (int i = 0; i < limit && wide[i]; ++i) out[i] = wide[i];
}

// The paper walk shared by the three paper lists: emit(n, value record, code) per listed
// value. -1 when the descriptor does not qualify, a value symbol is missing, or none is listed.
template <typename Emit>
int WalkPapers(DriverContext* ctx, WORD item, Emit emit) {
  const bool paper = item == kItem_dmPaperSize;
  const ModelItemDescriptor* d = ListDescriptor(ctx, item, paper ? kModelTypePickPage : kModelTypePickOne);
  // Another paper item (the output paper) may be described as a paper list as well.
  if (!d && !paper) d = ListDescriptor(ctx, item, kModelTypePickPage);
  if (!d) return -1;
  int n = 0;
  for (const ListValueRecord* v = FirstValue(d); v; v = v->next) {
    DWORD code;
    if (!StoredCode(item, v->valueId, &code)) return -1;
    if (paper && ValueDisabled(ctx, d, v->valueId)) continue;
    emit(n, v, code);
    ++n;
  }
  return n ? n : -1;
}

template <typename Emit>
int WalkBins(DriverContext* ctx, Emit emit) {
  LONG all = 0;
  ModBusSendEvent(ctx, kEventBinList, &all);
  const ModelItemDescriptor* d = ListDescriptor(ctx, kItem_dmDefaultSource, kModelTypePickSlot);
  if (!d) return -1;
  int n = 0;
  for (const ListValueRecord* v = FirstValue(d); v; v = v->next) {
    if (!all && ValueDisabled(ctx, d, v->valueId)) continue;
    DWORD code;
    if (!StoredCode(kItem_dmDefaultSource, v->valueId, &code)) return -1;
    emit(n, v, code);
    ++n;
  }
  return n ? n : -1;
}

// The resolution walk: mode 0 writes pairs, mode 1 print-macro ids. -1 on failure.
int WalkResolutions(DriverContext* ctx, LONG* out, int mode) {
  LONG all = 0;
  ModBusSendEvent(ctx, kEventResolutionList, &all);
  int n = 0;
  const ModelItemDescriptor* w = ModelFindDescriptor(kItem_zdmDstResolutionW, ctx);
  if (!w) return -1;
  if (TypeOf(w) == kModelTypePickOne && w->values) {
    for (const ListValueRecord* v = FirstValue(w); v; v = v->next) {
      if (!all && ValueDisabled(ctx, w, v->valueId)) continue;
      DWORD code;
      if (!StoredCode(kItem_zdmDstResolutionW, v->valueId, &code)) return -1;
      if (mode == 0) {
        if (out) out[2 * n] = out[2 * n + 1] = static_cast<LONG>(code);
      } else {
        const WORD macro = TblPrintMacroByDpi(static_cast<WORD>(code), static_cast<WORD>(code));
        if (!macro) return -1;
        if (out) out[n] = macro;
      }
      ++n;
    }
    return n;
  }
  if (TypeOf(w) != kModelTypeNumeric) return -1;
  const LONG value = static_cast<LONG>(ItemGetRawById(ctx, kItem_zdmDstResolutionW));
  if (value == 0) return -1;
  const ModelItemDescriptor* both = ListDescriptor(ctx, kItem_zdmDstResolutionBoth, kModelTypePickOne);
  if (!both) {
    if (mode == 0) {
      if (out) out[0] = out[1] = value;
    } else {
      const WORD macro = TblPrintMacroByDpi(static_cast<WORD>(value), static_cast<WORD>(value));
      if (!macro) return -1;
      if (out) out[0] = macro;
    }
    return 1;
  }
  WORD lastX = 0, lastY = 0;
  for (const ListValueRecord* v = FirstValue(both); v; v = v->next) {
    if (!all && ValueDisabled(ctx, both, v->valueId)) continue;
    DWORD code;
    if (!StoredCode(kItem_zdmDstResolutionBoth, v->valueId, &code)) return -1;
    const PrintMacroResolution* row = TblFindPrintMacro(static_cast<WORD>(code));
    if (!row) return -1;
    if (mode == 1) {
      if (out) out[n] = row->macro;
      ++n;
      continue;
    }
    if (row->xDpi != row->yDpi) continue;
    if (row->xDpi != lastX && row->yDpi != lastY) {
      if (out) {
        out[2 * n] = row->xDpi;
        out[2 * n + 1] = row->yDpi;
      }
      ++n;
    }
    lastX = row->xDpi;
    lastY = row->yDpi;
  }
  return n;
}

}  // namespace

int ItemListPaperCodes(DriverContext* ctx, WORD* out, WORD item) {
  return WalkPapers(ctx, item, [&](int n, const ListValueRecord*, DWORD code) {
    if (out) out[n] = static_cast<WORD>(code);
  });
}

int ItemListPaperNames(DriverContext* ctx, WCHAR* out, int step, WORD item) {
  if (step <= 0) return -1;
  if (out) FreeSizeLoadAll(ctx);
  return WalkPapers(ctx, item, [&](int n, const ListValueRecord* v, DWORD code) {
    if (!out) return;
    WCHAR* slot = out + static_cast<size_t>(n) * static_cast<size_t>(step);
    memset(slot, 0, sizeof(WCHAR) * static_cast<size_t>(step));
    const int s = PaperSlotOfCode(static_cast<LONG>(code));
    if (s >= 0)
      SlotName(FreeSizeGetSlot(ctx, s), s, slot, step);
    else
      LoadName(ctx, v->valueId, slot, step);
  });
}

int ItemListPaperSizes(DriverContext* ctx, POINT* out, WORD item) {
  if (out) FreeSizeLoadAll(ctx);
  const bool pages = item == kItem_dmPaperSize;
  return WalkPapers(ctx, item, [&](int n, const ListValueRecord* v, DWORD code) {
    if (!out) return;
    out[n].x = out[n].y = 0;
    const int s = PaperSlotOfCode(static_cast<LONG>(code));
    if (s >= 0) {
      if (const FreeSizeSlot* slot = FreeSizeGetSlot(ctx, s)) {
        out[n].x = static_cast<LONG>(UnitDotsToDisplay(kUnitTenthMm, static_cast<DWORD>(slot->width), kDeviceDpi));
        out[n].y = static_cast<LONG>(UnitDotsToDisplay(kUnitTenthMm, static_cast<DWORD>(slot->length), kDeviceDpi));
      }
    } else if (pages) {
      const auto* page = reinterpret_cast<const PageValueRecord*>(v);
      out[n].x = page->width;
      out[n].y = page->length;
    }
  });
}

int ItemListBinCodes(DriverContext* ctx, WORD* out) {
  return WalkBins(ctx, [&](int n, const ListValueRecord*, DWORD code) {
    if (out) out[n] = static_cast<WORD>(code);
  });
}

int ItemListBinNames(DriverContext* ctx, WCHAR* out, int step) {
  if (step <= 0) return -1;
  return WalkBins(ctx, [&](int n, const ListValueRecord* v, DWORD) {
    if (!out) return;
    WCHAR* slot = out + static_cast<size_t>(n) * static_cast<size_t>(step);
    memset(slot, 0, sizeof(WCHAR) * static_cast<size_t>(step));
    LoadName(ctx, v->valueId, slot, step);
  });
}

int ItemListResolutions(DriverContext* ctx, LONG* out) {
  const int n = WalkResolutions(ctx, out, 0);
  if (n >= 0) return n;
  const LONG base = static_cast<LONG>(CtxModelRecord(ctx)->baseResolution);
  if (out) out[0] = out[1] = base;
  return 1;
}

int ItemListResolutionMacros(DriverContext* ctx, LONG* out) {
  const int n = WalkResolutions(ctx, out, 1);
  if (n >= 0) return n;
  const WORD base = static_cast<WORD>(CtxModelRecord(ctx)->baseResolution);
  if (out) out[0] = TblPrintMacroByDpi(base, base);
  return 1;
}

void ItemCustomSlotName(DriverContext* ctx, int n, WCHAR* out, int step) {
  SlotName(FreeSizeGetSlot(ctx, n), n, out, step);
}
