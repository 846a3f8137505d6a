// The preset icon list: one entry per preset, each drawn as the settings of its preset would
// look (the option picture of the list's partner) with the preset's name under it.
#include "core/common/draw_ui.h"
#include "core/common/window_ui.h"
#include "core/context/settings_snapshot.h"
#include "core/context/ui_state.h"
#include "core/front/control_lookup.h"
#include "core/front/ctl_lists.h"
#include "core/front/ctl_simple.h"
#include "core/front/dialog_engine.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/modules/preset_cache.h"
#include "core/modules/preset_entries.h"
#include "core/rules/transacts.h"
#include "core/store/preset_store.h"
#include "core/system/resources.h"

namespace {

constexpr int kKeyChars = 64;
// Presets that want the list's actions run again when a refused preset falls back to the first.
constexpr WORD kItemHiddenFunc13 = 362;
constexpr WORD kItemHiddenFunc14 = 363;
// The settings an entry being drawn in its selected state keeps from the page.
const WORD kKeptWhileSelected[] = {kItem_dmDefaultSource, kItem_zdmMediaType, kItem_zdmOutputTrayID,
                                   kItem_dmColor};
constexpr int kKeptCount = static_cast<int>(sizeof(kKeptWhileSelected) / sizeof(kKeptWhileSelected[0]));

// The preset number of a "PresetList<n>" key, -1 for any other text.
int PresetOfKey(const WCHAR* key) {
  static const char kPrefix[] = "PresetList";
  int i = 0;
  for (; kPrefix[i]; ++i)
    if (key[i] != static_cast<WCHAR>(kPrefix[i])) return -1;
  if (!key[i]) return -1;
  int n = 0;
  for (; key[i]; ++i) {
    if (key[i] < '0' || key[i] > '9' || n > 1000) return -1;
    n = n * 10 + (key[i] - '0');
  }
  return n;
}

// The node's actions of an entry being drawn: its transacts and the notifications that only
// change settings run, inside the entry's snapshot; events, the modules' notifications and
// follow-up dialogs are held back, since painting must change nothing outside it.
void RunDrawingActions(DriverContext* ctx, const DlgControlRecord* control) {
  const ModelItemDescriptor* desc = control->descriptor;
  if (!desc) return;
  const DlgEngineState& state = ctx->ui->dialog;
  if (state.guardActive && state.guardDescriptor == desc) return;
  ModelRunItemTransacts(desc, ctx);
  if (control->notifyCode >= 1 && control->notifyCode <= 4) DlgNotifyCode(ctx, control->notifyCode);
}

void DrawEntryFace(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, const DRAWITEMSTRUCT* item,
                   int preset) {
  HDC dc = item->hDC;
  const RECT& rc = item->rcItem;
  DlgDrawState& draw = ctx->ui->dialog.draw;
  const bool restricted = (control->state & kControlRestrictedMask) != 0;
  const bool selected = (item->itemState & ODS_SELECTED) != 0;
  const COLORREF fill = restricted ? DuiSysColor(COLOR_BTNFACE) : selected ? DuiSysColor(COLOR_HIGHLIGHT) : 0xFFFFFF;
  const COLORREF savedBackground = draw.background;
  draw.background = fill;
  WCHAR caption[kCtlTextChars];
  caption[0] = 0;
  if (preset >= 0) PresetReadEntryText(ctx, preset, 1, caption, kCtlTextChars);
  DuiFillRect(dc, &rc, fill);
  const COLORREF textColour = restricted ? DuiSysColor(COLOR_GRAYTEXT)
                              : selected ? DuiSysColor(COLOR_HIGHLIGHTTEXT)
                                         : 0x000000;
  const COLORREF oldText = DuiSetTextColor(dc, textColour);
  const HFONT oldFont = DuiSelectFont(dc, DuiWindowFont(page->window));
  const int oldMode = DuiSetBkMode(dc, TRANSPARENT);
  LONG textHeight = 0, average = 0;
  DuiTextMetrics(dc, &textHeight, &average);
  RECT band = {rc.left, rc.bottom - (textHeight + 4), rc.right, rc.bottom};
  DuiDrawText(dc, caption, -1, &band, DT_CENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  DuiSetBkMode(dc, oldMode);
  DuiSelectFont(dc, oldFont);
  DuiSetTextColor(dc, oldText);
  if (DlgControlRecord* partner = control->partner ? CtlFind(ctx, nullptr, control->partner) : nullptr) {
    const RECT picture = {rc.left, rc.top, rc.right, band.top};
    CtlDrawOptionPicture(ctx, page, partner, dc, &picture);
  }
  draw.background = savedBackground;
}

}  // namespace

void CtlFillIconList(const CtlTypeRecord* type, DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  (void)type;
  if (!control->item) return;
  HWND list = CtlChoiceWindow(page, control);
  if (!list) return;
  WuiChoiceReset(list);
  WORD values[kCtlMaxEntries];
  const int count = CtlChoiceEntries(ctx, control, values, kCtlMaxEntries);
  const int presets = PresetGetCount(ctx);
  WCHAR key[kCtlTextChars];
  for (int i = 0; i < count && WuiChoiceCount(list) < presets; ++i) {
    key[0] = 0;
    ResLoadString(ctx, values[i], key, kCtlTextChars, TRUE);
    WuiChoiceAdd(list, key, values[i]);
  }
  CtlShowListBoxValue(ctx, page, control);
}

int CtlTakeIconListValue(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WPARAM wParam,
                         LPARAM lParam) {
  (void)lParam;
  if (HIWORD(wParam) != LBN_SELCHANGE) return 0;
  HWND list = NULL;
  const int index = CtlChoiceSelected(page, control, &list);
  if (index < 0) return 0;
  WCHAR key[kKeyChars];
  if (WuiChoiceText(list, index, key, kKeyChars) < 0) key[0] = 0;
  PresetCacheOp(ctx, nullptr, kPresetCacheFreeAll);
  CtxSnapshotPush(ctx);
  PresetApplyUser(ctx, key);
  ItemSetControlValue(ctx, control, WuiChoiceData(list, index));
  if (CtlCommitValue(ctx, page, control, 0, 0)) {
    // Refused: the settings go back, and the first preset stands.
    CtxSnapshotPop(ctx, TRUE);
    WuiBeep(0xFFFFFFFF);
    if (WuiChoiceText(list, 0, key, kKeyChars) < 0) key[0] = 0;
    PresetApplyUser(ctx, key);
    ItemSetControlValue(ctx, control, WuiChoiceData(list, 0));
    if (ItemGetValueById(ctx, kItemHiddenFunc13) || ItemGetValueById(ctx, kItemHiddenFunc14))
      DlgRunNodeActions(ctx, page, control->descriptor, control->notifyCode);
    CtlShowListBoxValue(ctx, page, control);
  } else {
    CtxSnapshotPop(ctx, FALSE);
  }
  DlgRefreshControls(ctx, page, 1);
  return 1;
}

int CtlDrawIconListItem(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                        WPARAM wParam, LPARAM lParam) {
  (void)wParam;
  if (message != WM_DRAWITEM || !lParam || !ctx->ui) return 0;
  const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  if (item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
    // Every change made to show the entry's preset stays inside this snapshot.
    CtxSnapshotPush(ctx);
    WCHAR key[kKeyChars];
    HWND list = item->hwndItem ? item->hwndItem : CtlChoiceWindow(page, control);
    if (WuiChoiceText(list, static_cast<int>(item->itemID), key, kKeyChars) < 0) key[0] = 0;
    LONG_PTR kept[kKeptCount];
    for (int i = 0; i < kKeptCount; ++i) kept[i] = ItemGetValueById(ctx, kKeptWhileSelected[i]);
    PresetApplyUser(ctx, key);
    if (!(item->itemAction & ODA_SELECT) && (item->itemState & ODS_SELECTED))
      for (int i = 0; i < kKeptCount; ++i) ItemSetValueById(ctx, kKeptWhileSelected[i], kept[i]);
    RunDrawingActions(ctx, control);
    if (item->itemData) DrawEntryFace(ctx, page, control, item, PresetOfKey(key));
    CtxSnapshotPop(ctx, TRUE);
  }
  if ((item->itemAction & ODA_FOCUS) || (item->itemState & ODS_FOCUS)) DuiFocusRect(item->hDC, &item->rcItem);
  return 1;
}
