// The custom-size dialogs: the size input (1041) bound to the paper or the print size, the
// slot editor (1017) with its ten named sizes, and the display-unit dialog (1013) whose OK
// converts the inch items; and the custom-size notifications.
#include "core/common/draw_ui.h"
#include "core/common/window_ui.h"
#include "core/context/ui_state.h"
#include "core/devmode/couplings.h"
#include "core/front/control_lookup.h"
#include "core/front/control_types.h"
#include "core/front/dialog_engine.h"
#include "core/front/page_lookup.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/units.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/modules/free_size_dialogs.h"
#include "core/modules/free_size_limits.h"
#include "core/modules/module_rows.h"
#include "core/store/free_size_store.h"
#include "core/system/resources.h"
#include "core/tables/symbol_table.h"

namespace {

constexpr WORD kInchLength = 594, kInchWidth = 595;  // zdmPaperINCHLength, zdmPaperINCHWidth
constexpr WORD kItemDspUnitBefore = 1117;            // wdmDspUnit: the unit before the unit dialog
constexpr WORD kUnitDialog = 1013, kSlotDialog = 1017, kSizeDialog = 1041;
constexpr WORD kSlotList = 2364, kSlotTray = 2217, kSlotDefault = 2227;
constexpr WORD kSizeTray = 2697, kSizeDefault = 2704;
constexpr WORD kSlotNameFirst = 109;  // strings 109-118 name the ten slots
constexpr LONG kUserPaperSize = 256;
// Second symbols through which the model describes the paper (input) size.
constexpr WORD kSymbolPaperWidthIn = 102, kSymbolPaperLengthIn = 103;

// Which item each control of the size input shows: the paper size (notify 200) or the print
// size (notify 201).
struct SizeBinding {
  WORD controls[6];
  WORD paper;
  WORD print;
};
const SizeBinding kSizeBindings[] = {
    {{2682, 2683, 2684, 2685, 2686, 2687}, kItem_zdmPaperFreeSizeLength, kItem_zdmPrintFreeSizeLength},
    {{2689, 2690, 2691, 2692, 2693, 2694}, kItem_zdmPaperFreeSizeWidth, kItem_zdmPrintFreeSizeWidth},
    {{2697}, kItem_zdmPaperFreeSizeTray, kItem_zdmPrintFreeSizeTray},
    {{2701, 2702}, kItem_zdmPaperFreeSizeOrient, kItem_zdmPrintFreeSizeOrient},
    {{3073, 3074}, kItem_wdmPaperFreeSizeOrient2, kItem_wdmPrintFreeSizeOrient2},
};

const WORD kSlotEdits[] = {2365, 2220, 2224, 2392, 2394, 2398, 2400};
const WORD kSlotSpins[] = {2221, 2225, 2393, 2395, 2399, 2401};

bool In(WORD id, const WORD* ids, size_t count) {
  for (size_t i = 0; i < count; ++i)
    if (ids[i] == id) return true;
  return false;
}
template <size_t N>
bool In(WORD id, const WORD (&ids)[N]) {
  return In(id, ids, N);
}

LONG& CurrentSlot(DriverContext* ctx) { return ctx->ui->freeSizeCurrent; }

// The description a size control shows for the item: the paper size's length and width
// through their second symbols when the model has them, everything else through its own.
const ModelItemDescriptor* DescriptionFor(DriverContext* ctx, WORD itemId) {
  WORD second = itemId == kItem_zdmPaperFreeSizeLength  ? kSymbolPaperLengthIn
                : itemId == kItem_zdmPaperFreeSizeWidth ? kSymbolPaperWidthIn
                                                        : 0;
  if (second)
    if (const ModelItemDescriptor* d = ModelFindDescriptorBySymbol(second, ctx)) return d;
  SettingItem* item = ItemFind(ctx, itemId);
  return item ? ModelFindDescriptorBySymbol(item->symbolId, ctx) : nullptr;
}

void BindSizeInput(DriverContext* ctx, bool paper) {
  DlgPageRecord* page = PageFind(ctx, kSizeDialog);
  if (!page) return;
  for (const SizeBinding& binding : kSizeBindings) {
    const WORD itemId = paper ? binding.paper : binding.print;
    for (WORD id : binding.controls) {
      if (!id) continue;
      DlgControlRecord* control = CtlFind(ctx, page, id);
      if (!control) continue;
      control->item = ItemFind(ctx, itemId);
      control->descriptor = DescriptionFor(ctx, itemId);
    }
  }
}

// Length below width: the two are exchanged. 1 when they were.
bool SwapIfShorter(DriverContext* ctx, WORD length, WORD width) {
  const LONG_PTR l = ItemGetRawById(ctx, length), w = ItemGetRawById(ctx, width);
  if (l >= w) return false;
  ItemSetRawById(ctx, length, w);
  ItemSetRawById(ctx, width, l);
  return true;
}

void SaveCurrentSlot(DriverContext* ctx) { FreeSizeSlotFromItems(ctx, CurrentSlot(ctx)); }

// The first visible edit of the size input among the ids (else the first that exists).
DlgControlRecord* FirstVisibleEdit(DriverContext* ctx, WORD first) {
  DlgPageRecord* page = PageFind(ctx, kSizeDialog);
  if (!page) return nullptr;
  DlgControlRecord* found = nullptr;
  for (WORD id = first; id < first + 3; ++id) {
    DlgControlRecord* control = CtlFind(ctx, page, id);
    if (!control) continue;
    if (control->window && WuiIsVisible(control->window)) return control;
    if (!found) found = control;
  }
  return found;
}

// The fourth number of the edit's numeric description (a value converted without rounding).
LONG ExactValue(const DlgControlRecord* edit) {
  if (!edit || !edit->descriptor) return -1;
  const NumericValueRecord* numeric = static_cast<const NumericValueRecord*>(edit->descriptor->values);
  return numeric ? numeric->numbers[3] : -1;
}

LONG Clamp(LONG value, LONG low, LONG high) { return value > high ? high : value < low ? low : value; }

// The display unit changed to inches: the paper size in 0.01 inch through 0.1 mm, as a user
// who typed the millimetres would have typed the inches.
void PaperToInch(DriverContext* ctx, WORD dots, WORD inch, WORD firstEdit) {
  DlgControlRecord* edit = FirstVisibleEdit(ctx, firstEdit);
  const LONG value = static_cast<LONG>(ItemGetRawById(ctx, dots));
  LONG shown;
  if (value == ExactValue(edit)) {
    shown = ItemDotsToDisplay(ctx, 0, value);
  } else {
    const LONG tenthMm = static_cast<LONG>(UnitDotsToDisplay(1, static_cast<DWORD>(value), 1200));
    shown = tenthMm * 100 / 254;
    LONG low = 0, high = 0;
    if (edit && FreeSizeDisplayLimits(ctx, kSizeDialog, edit, &low, &high)) shown = Clamp(shown, low, high);
  }
  ItemSetRawById(ctx, inch, shown);
}

// The display unit changed to millimetres: the reverse, within the edit's limits.
void InchToPaper(DriverContext* ctx, WORD inch, WORD dots, WORD firstEdit) {
  DlgControlRecord* edit = FirstVisibleEdit(ctx, firstEdit);
  const LONG value = static_cast<LONG>(ItemGetRawById(ctx, dots));
  if (value == ExactValue(edit)) return;
  const LONG hundredths = static_cast<LONG>(ItemGetRawById(ctx, inch));
  const LONG tenthMm = (hundredths * 254 + 99) / 100;
  LONG result = static_cast<LONG>(UnitDisplayToDots(1, static_cast<DWORD>(tenthMm), 1200));
  LONG low = 0, high = 0;
  if (edit && FreeSizeDisplayLimits(ctx, kSizeDialog, edit, &low, &high))
    result = Clamp(result, ItemDisplayToDots(ctx, 0, low), ItemDisplayToDots(ctx, 0, high));
  ItemSetRawById(ctx, dots, result);
}

int RunCommand(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WPARAM wParam, LPARAM lParam) {
  const CtlTypeRecord* type = CtlTypeOf(ctx, control->type);
  return type && type->command ? type->command(ctx, page, control, wParam, lParam) : 0;
}
int RunMessage(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam,
               LPARAM lParam) {
  const CtlTypeRecord* type = CtlTypeOf(ctx, control->type);
  return type && type->message ? type->message(ctx, page, control, message, wParam, lParam) : 0;
}

HWND SlotList(DlgPageRecord* page) {
  DlgControlRecord* list = nullptr;
  for (int c = 0; c < page->controlCount; ++c)
    if (page->controls[c].controlId == kSlotList) list = &page->controls[c];
  if (list && list->window) return list->window;
  return page->window ? WuiFindControl(page->window, kSlotList) : NULL;
}

void SelectCurrent(DriverContext* ctx, DlgPageRecord* page) {
  if (HWND list = SlotList(page)) WuiChoiceSelect(list, CurrentSlot(ctx));
}
void RepaintList(DlgPageRecord* page) {
  if (HWND list = SlotList(page)) WuiInvalidate(list, TRUE);
}

int SizeInputControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam,
                     LPARAM lParam) {
  const WORD id = control->controlId;
  const bool edit = (id >= 2682 && id <= 2684) || (id >= 2689 && id <= 2691);
  const bool spin = (id >= 2685 && id <= 2687) || (id >= 2692 && id <= 2694);
  if (edit && message == WM_COMMAND && (HIWORD(wParam) == EN_KILLFOCUS || HIWORD(wParam) == EN_CHANGE)) {
    RunCommand(ctx, page, control, wParam, lParam);
    return 1;
  }
  if (spin && message == WM_VSCROLL) {
    RunMessage(ctx, page, control, message, wParam, lParam);
    return 1;
  }
  if (message == WM_COMMAND && (id == kSizeTray || id == 2701 || id == 2702 || id == kSizeDefault) &&
      FreeSizeInInchMode(ctx)) {
    RunCommand(ctx, page, control, wParam, lParam);
    FreeSizeSyncInchItems(ctx);
    return 1;
  }
  return 0;
}

void SlotSelectionChanged(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WPARAM wParam,
                          LPARAM lParam) {
  RunCommand(ctx, page, control, wParam, lParam);
  SaveCurrentSlot(ctx);
  HWND list = SlotList(page);
  const int selected = list ? WuiChoiceSelection(list) : -1;
  if (selected >= 0 && selected < FreeSizeSlotCount(ctx)) CurrentSlot(ctx) = selected;
  FreeSizeSlotToItems(ctx, CurrentSlot(ctx));
  RunCommand(ctx, page, control, wParam, lParam);
  RepaintList(page);
  DlgRefreshControls(ctx, page, 0);
}

void FillSlotList(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  HWND list = SlotList(page);
  const int count = FreeSizeSlotCount(ctx);
  if (list && WuiChoiceCount(list) != count) {
    WuiChoiceReset(list);
    for (int n = 0; n < count; ++n) {
      WCHAR name[64] = {0};
      ResLoadString(ctx, kSlotNameFirst + n, name, 64, TRUE);
      WuiChoiceAdd(list, name, kSlotNameFirst + n);
    }
  }
  CurrentSlot(ctx) = 0;
  FreeSizeSlotToItems(ctx, 0);
  if (list) WuiChoiceSelect(list, 0);
  RunCommand(ctx, page, control, MAKEWPARAM(kSlotList, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

void LoadFactorySlots(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* button, WPARAM wParam,
                      LPARAM lParam) {
  FreeSizeLoadDefaults(ctx);
  for (int n = 0; n < FreeSizeSlotCount(ctx); ++n) {
    FreeSizeSlotToItems(ctx, n);
    RunCommand(ctx, page, button, wParam, lParam);
    CurrentSlot(ctx) = n;
    SaveCurrentSlot(ctx);
  }
  CurrentSlot(ctx) = 0;
  SelectCurrent(ctx, page);
  FreeSizeSlotToItems(ctx, 0);
  RepaintList(page);
  DlgRefreshControls(ctx, page, 0);
}

int SlotEditorControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam,
                      LPARAM lParam) {
  const WORD id = control->controlId;
  if (id == kSlotList) {
    if (message == WM_INITDIALOG) {
      FillSlotList(ctx, page, control);
      return 1;
    }
    if (message == WM_DRAWITEM) return FreeSizeDrawSlotLine(ctx, page, control, reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    if (message != WM_COMMAND) return 0;
    switch (HIWORD(wParam)) {
      case LBN_SELCHANGE:
        SlotSelectionChanged(ctx, page, control, wParam, lParam);
        return 1;
      case LBN_SETFOCUS:
        SelectCurrent(ctx, page);
        return 1;
      case LBN_KILLFOCUS:
        return 1;
      default:
        return 0;
    }
  }
  if (id == kSlotTray && message == WM_COMMAND) {
    HWND list = SlotList(page);
    const int selected = list ? WuiChoiceSelection(list) : -1;
    if (selected >= 0) FreeSizeSlotFromItems(ctx, selected);
    return 0;
  }
  const bool edited = In(id, kSlotEdits) && message == WM_COMMAND &&
                      (HIWORD(wParam) == EN_KILLFOCUS || HIWORD(wParam) == EN_CHANGE);
  const bool spun = In(id, kSlotSpins) && message == WM_VSCROLL;
  if (edited || spun) {
    if (edited)
      RunCommand(ctx, page, control, wParam, lParam);
    else
      RunMessage(ctx, page, control, message, wParam, lParam);
    SelectCurrent(ctx, page);
    SaveCurrentSlot(ctx);
    RepaintList(page);
    return 1;
  }
  if (id == kSlotDefault && message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    LoadFactorySlots(ctx, page, control, wParam, lParam);
    return 1;
  }
  return 0;
}

}  // namespace

void FreeSizeUnitChanged(DriverContext* ctx) {
  if (!ctx || !ctx->ui) return;
  const LONG_PTR unit = ItemGetRawById(ctx, kItem_zdmDspUnit);
  if (ItemGetRawById(ctx, kItemDspUnitBefore) == unit) return;
  ItemSetRawById(ctx, kItemDspUnitBefore, unit);
  if (FreeSizeInInchMode(ctx)) {
    PaperToInch(ctx, kItem_zdmPaperFreeSizeLength, kInchLength, 2682);
    PaperToInch(ctx, kItem_zdmPaperFreeSizeWidth, kInchWidth, 2689);
  } else if (ItemIsMetricUnit(ctx) && ItemGetRawById(ctx, kItem_dmPaperSize) == kUserPaperSize &&
             ItemGetRawById(ctx, kItem_wdmInputFreeSizeType) == 1) {
    InchToPaper(ctx, kInchLength, kItem_zdmPaperFreeSizeLength, 2682);
    InchToPaper(ctx, kInchWidth, kItem_zdmPaperFreeSizeWidth, 2689);
  }
}

int FreeSizeHandleNotify(DriverContext* ctx, WORD code, void*) {
  if (!ctx || !ctx->ui) return 0;
  switch (code) {
    case kNotifyBindPaperSize:
    case kNotifyBindPrintSize:
      BindSizeInput(ctx, code == kNotifyBindPaperSize);
      return 1;
    case kNotifyLengthNotShorter: {
      if (SwapIfShorter(ctx, kItem_wdmFreeSizeLength, kItem_wdmFreeSizeWidth)) SaveCurrentSlot(ctx);
      SwapIfShorter(ctx, kItem_zdmPaperFreeSizeLength, kItem_zdmPaperFreeSizeWidth);
      SwapIfShorter(ctx, kItem_zdmPrintFreeSizeLength, kItem_zdmPrintFreeSizeWidth);
      if (FreeSizeInInchMode(ctx)) SwapIfShorter(ctx, kInchLength, kInchWidth);
      return 1;
    }
    case kNotifyPaperTraySource:
      DmCustomPaperTray(ctx, static_cast<LONG>(ItemGetRawById(ctx, kItem_dmPaperSize)), 1);
      return 1;
    case kNotifyOutputTraySource:
      DmCustomPaperTray(ctx, static_cast<LONG>(ItemGetRawById(ctx, kItem_zdmOutPaperSize)), 1);
      return 1;
    case kNotifySaveSlot:
      SaveCurrentSlot(ctx);
      return 1;
    default:
      return 0;
  }
}

int FreeSizeHandleControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                          WPARAM wParam, LPARAM lParam, void*) {
  if (!ctx || !ctx->ui || !page) return 0;
  if (page->dialogId == kUnitDialog) {
    if (!control && message == WM_COMMAND && LOWORD(wParam) == IDOK) FreeSizeUnitChanged(ctx);
    return 0;
  }
  if (!control) return 0;
  if (page->dialogId == kSizeDialog) return SizeInputControl(ctx, page, control, message, wParam, lParam);
  if (page->dialogId == kSlotDialog) return SlotEditorControl(ctx, page, control, message, wParam, lParam);
  return 0;
}

FreeSizeLineStyle FreeSizeSlotLineStyle(bool restricted, bool current) {
  if (restricted) return {COLOR_BTNFACE, COLOR_GRAYTEXT};
  if (current) return {COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT};
  return {COLOR_WINDOW, COLOR_WINDOWTEXT};
}

int FreeSizeDrawSlotLine(DriverContext* ctx, DlgPageRecord*, DlgControlRecord* control, const DRAWITEMSTRUCT* item) {
  if (!ctx || !ctx->ui || !item || !control) return 0;
  const bool drawn = (item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) && item->itemData != 0 &&
                     static_cast<int>(item->itemID) >= 0;
  if (drawn) {
    const bool restricted = (control->state & kControlRestrictedMask) != 0;
    const bool current = item->itemData == static_cast<ULONG_PTR>(CurrentSlot(ctx) + kSlotNameFirst);
    const FreeSizeLineStyle style = FreeSizeSlotLineStyle(restricted, current);
    RECT rect = item->rcItem;
    DuiFillRect(item->hDC, &rect, DuiSysColor(style.background));
    WCHAR text[64] = {0};
    ResLoadString(ctx, static_cast<UINT>(item->itemData), text, 64, TRUE);
    DuiSetTextColor(item->hDC, DuiSysColor(style.text));
    DuiSetBkMode(item->hDC, TRANSPARENT);
    DuiDrawText(item->hDC, text, -1, &rect, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
  }
  if ((item->itemAction & ODA_FOCUS) || (item->itemState & ODS_FOCUS)) {
    RECT rect = item->rcItem;
    DuiFocusRect(item->hDC, &rect);
  }
  return 1;
}
