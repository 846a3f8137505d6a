// The print-quality module's dialog side: the per-object colour settings re-bound to their
// controls, the saved quality lists of the print-quality page (the use box, the owner-drawn
// list, the edit button), the colour-matching choice with the user's profiles, the profile
// dialogs' name and file edits and browse button, and the notify codes that need windows.
#include "core/modules/quality_dialogs.h"

#include "core/common/draw_ui.h"
#include "core/common/text.h"
#include "core/common/window_ui.h"
#include "core/context/module_bus.h"
#include "core/context/settings_snapshot.h"
#include "core/context/ui_state.h"
#include "core/front/control_lookup.h"
#include "core/front/ctl_lists.h"
#include "core/front/dialog_engine.h"
#include "core/front/file_dialog_kinds.h"
#include "core/front/page_lookup.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_repair.h"
#include "core/items/item_table.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/modules/cmm_profiles.h"
#include "core/modules/module_rows.h"
#include "core/modules/preset_entries.h"
#include "core/store/preset_store.h"
#include "core/store/settings_stores.h"
#include "core/system/resources.h"
#include "core/system/user_messages.h"

namespace {

enum : WORD {
  kDlgQualityPage = 1006,
  kDlgQualitySettings = 1021,
  kDlgSaveQuality = 1033,
  kDlgColourBalance = 1038,
  kDlgMatching = 4010,
  kDlgAddProfile = 4011,
  kDlgModifyProfile = 4012,
  kDlgFileBrowse = 4003,
  kDlgDensity = 4024,
};
enum : WORD {
  kUseSavedBox = 2133,
  kSavedList = 2134,
  kEditSavedButton = 2136,
  kModeRadioGroup = 2122,
  kQualityName = 2281,
  kSaveQualityName = 2455,
  kSaveQualityIcon = 2457,
  kQualityModeChoice = 2632,
  kIntentChoice = 2574,
  kMatchingChoice = 2256,
  kProfileName = 2823,
  kProfileFile = 2825,
  kProfileBrowse = 2826,
  kDensityTypeChoice = 3029,
};
constexpr WORD kStandardModeRadios[] = {2126, 2127, 2128};
constexpr int kEventMatchingFallback = 36;
constexpr WORD kMessageListFull = 10079;
constexpr UINT kMsgChangeRefused = 32775;
constexpr LONG kUserListFirstLogical = 135;  // zdmUserPrintMacro's logical value of list 0
constexpr LONG kUserListFirstStored = 32, kUserListLastStored = 39;
constexpr UINT kListPictures = 6137, kListPicturesRestricted = 6152;
constexpr LONG kIconListPictureOffset = 6002;  // icon value - this = the list's logical value
constexpr WORD kQualityNameItem = 927;
constexpr WORD kBrowseKindBits = kFileKindColourData | kFileKindImage;
constexpr DWORD kNameChars = 1025;

const QualityObjectRow kObjectRows[] = {
    {1021, 2258, {967, 968, 969, 137}},     // dithering
    {1021, 2256, {961, 962, 963, 133}},     // colour matching
    {1021, 2260, {964, 965, 966, 134}},     // colour mode
    {1021, 2574, {958, 959, 960, 132}},     // intent
    {1021, 2820, {1043, 1059, 1075, 163}},  // colour revision
    {1038, 2264, {970, 971, 972, 138}},     // brightness bar and edit
    {1038, 2263, {970, 971, 972, 138}},
    {1038, 2267, {973, 974, 975, 139}},  // contrast
    {1038, 2266, {973, 974, 975, 139}},
    {1038, 2270, {976, 977, 978, 140}},  // saturation
    {1038, 2269, {976, 977, 978, 140}},
    {1038, 2273, {979, 980, 981, 141}},  // red balance
    {1038, 2272, {979, 980, 981, 141}},
    {1038, 2275, {982, 983, 984, 142}},  // green balance
    {1038, 2274, {982, 983, 984, 142}},
    {1038, 2277, {985, 986, 987, 143}},  // blue balance
    {1038, 2276, {985, 986, 987, 143}},
    {1038, 2249, {0, 0, 0, 0}},          // the colour sample
    {4010, 2256, {961, 962, 963, 133}},
    {4010, 2574, {958, 959, 960, 132}},
};
constexpr int kObjectRowCount = static_cast<int>(sizeof(kObjectRows) / sizeof(kObjectRows[0]));

const WORD kSampleItems[4][6] = {
    {970, 973, 976, 979, 982, 985},
    {971, 974, 977, 980, 983, 986},
    {972, 975, 978, 981, 984, 987},
    {138, 139, 140, 141, 142, 143},
};
const WORD kObjectIntents[3] = {958, 959, 960};

DlgControlRecord* ControlOn(DriverContext* ctx, WORD dialog, WORD control) {
  DlgPageRecord* page = PageFind(ctx, dialog);
  return page ? CtlFind(ctx, page, control) : nullptr;
}

HWND WindowOf(DriverContext* ctx, WORD dialog, DlgControlRecord* control) {
  if (!control) return NULL;
  if (control->window) return control->window;
  DlgPageRecord* page = PageFind(ctx, dialog);
  return page && page->window ? WuiFindControl(page->window, control->controlId) : NULL;
}

void MarkChanged(SettingItem* item) {
  if (item) item->state = static_cast<WORD>((item->state & ~ItemStateChangeMask) | ItemStateChanged);
}

// The control shows and edits the item from now on, with the item's own description when the
// model has one (else the one it had: the object's item takes the common item's values).
void BindControl(DriverContext* ctx, DlgControlRecord* control, WORD itemId) {
  SettingItem* item = control ? ItemFind(ctx, itemId) : nullptr;
  if (!item) return;
  control->item = item;
  if (const ModelItemDescriptor* own = item->symbolId ? ModelDescriptorOf(ctx, item->symbolId) : nullptr)
    control->descriptor = own;
  MarkChanged(item);
}

void RefreshPage(DriverContext* ctx, DlgPageRecord* page) {
  if (page) DlgRefreshControls(ctx, page, 1);
}

void RefreshCurrent(DriverContext* ctx) { RefreshPage(ctx, PageFind(ctx, ctx->currentPage)); }

// A choice that no longer shows one of its values: item -1, no line selected.
void EmptyChoice(DriverContext* ctx, WORD dialog, WORD controlId) {
  DlgControlRecord* control = ControlOn(ctx, dialog, controlId);
  if (!control) return;
  if (control->item) ItemSetRaw(ctx, control->item, -1);
  if (HWND window = WindowOf(ctx, dialog, control)) WuiChoiceSelect(window, -1);
}

LONG AdjustObject(DriverContext* ctx) { return static_cast<LONG>(ItemGetRawById(ctx, kItem_zdmAdjustObject)); }

// The intent choices follow the intent type: the common intent for the system's matching, the
// object's intent for the printer's.
void BindIntent(DriverContext* ctx) {
  if (ItemGetRawById(ctx, kItem_zdmAdjustMode) == 0) return;
  const LONG type = static_cast<LONG>(ItemGetRawById(ctx, kItem_zdmICMType));
  const LONG object = AdjustObject(ctx);
  WORD id = 0;
  if (type == 0) id = kItem_zdmICMIntent;
  else if ((type == 1 || type == 2) && object >= 0 && object <= 2) id = kObjectIntents[object];
  if (!id) return;
  for (const QualityObjectRow& row : kObjectRows)
    if (row.control == kIntentChoice) BindControl(ctx, ControlOn(ctx, row.dialog, row.control), id);
}

bool UserListStored(LONG stored) { return stored >= kUserListFirstStored && stored <= kUserListLastStored; }

LONG UserListStoredValue(DriverContext* ctx) {
  return static_cast<LONG>(ItemGetRawById(ctx, kItem_zdmUserPrintMacro));
}

// The saved list a line of the list stands for (its item data is the list's logical value).
int SlotOfLine(LPARAM data) { return static_cast<int>(data - kUserListFirstLogical); }

int SelectedSlot(DriverContext* ctx, DlgPageRecord* page) {
  HWND list = WindowOf(ctx, page->dialogId, CtlFind(ctx, page, kSavedList));
  const int line = list ? WuiChoiceSelection(list) : -1;
  if (line < 0) return -1;
  const int slot = SlotOfLine(WuiChoiceData(list, line));
  return slot >= 0 && slot <= kUserListLastStored - kUserListFirstStored ? slot : -1;
}

void RunTypeCommand(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WPARAM wParam, LPARAM lParam) {
  const CtlTypeRecord* type = CtlTypeOf(ctx, control->type);
  if (type && type->command) type->command(ctx, page, control, wParam, lParam);
}

// ---- the print-quality page ----

// The use box ticked or cleared against its item: the chosen list applied, or the standard
// mode's radio re-applying its settings.
int UseSavedBox(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* box, WPARAM wParam, LPARAM lParam) {
  HWND window = WindowOf(ctx, page->dialogId, box);
  if (!window || !box->item) return 0;
  const bool ticked = WuiGetCheck(window) == BST_CHECKED;
  const LONG_PTR value = ItemGetControlValue(ctx, box);
  if (!(ticked && value == 0) && !(!ticked && value == 1)) return 0;
  if (ticked) {
    QualityApplySlot(ctx, SelectedSlot(ctx, page));
  } else if (DlgControlRecord* group = CtlFind(ctx, page, kModeRadioGroup)) {
    const LONG_PTR mode = ItemGetControlValue(ctx, group);
    for (WORD radio : kStandardModeRadios) {
      DlgControlRecord* control = radio == mode ? CtlFind(ctx, page, radio) : nullptr;
      if (control && control->descriptor) DlgRunNodeActions(ctx, page, control->descriptor, control->notifyCode);
    }
  }
  RunTypeCommand(ctx, page, box, wParam, lParam);
  ModBusSendEvent(ctx, kEventMatchingFallback, nullptr);
  return 1;
}

void ChooseSavedList(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* list) {
  HWND window = WindowOf(ctx, page->dialogId, list);
  const int line = window ? WuiChoiceSelection(window) : -1;
  if (line < 0) return;
  const LPARAM data = WuiChoiceData(window, line);
  QualityApplySlot(ctx, SlotOfLine(data));
  CtlCommitValue(ctx, page, list, data, 1);
  ModBusSendEvent(ctx, kEventMatchingFallback, nullptr);
}

// The icon choice of the save dialog: its item's value, or the line it had selected at the
// dialog's OK (its window is gone by the time the value is used).
LONG IconChoiceLine(DriverContext* ctx) {
  DlgControlRecord* icon = ControlOn(ctx, kDlgSaveQuality, kSaveQualityIcon);
  HWND window = WindowOf(ctx, kDlgSaveQuality, icon);
  const int line = window ? WuiChoiceSelection(window) : -1;
  return line >= 0 ? static_cast<LONG>(WuiChoiceData(window, line)) : 0;
}

LONG SavedIconValue(DriverContext* ctx) {
  DlgControlRecord* icon = ControlOn(ctx, kDlgSaveQuality, kSaveQualityIcon);
  if (!icon) return 0;
  if (icon->item) return static_cast<LONG>(ItemGetControlValue(ctx, icon));
  return ctx->ui->qualityIconChosen;
}

// The edit button: the chosen list is edited in the save dialog; its OK saves it into the slot
// of the picture chosen there.
void EditSavedList(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* button, WPARAM wParam, LPARAM lParam) {
  const int slot = SelectedSlot(ctx, page);
  if (slot < 0) return;
  QualityApplySlot(ctx, slot);
  ctx->ui->front.okFlag = 0;
  ctx->ui->qualityIconChosen = 0;
  RunTypeCommand(ctx, page, button, wParam, lParam);
  if (!ctx->ui->front.okFlag) return;
  DlgNotifyCode(ctx, 1);
  const LONG icon = SavedIconValue(ctx);
  const int target = static_cast<int>(icon - static_cast<LONG>(kListPictures));
  if (target < 0 || target > kUserListLastStored - kUserListFirstStored) return;
  DlgControlRecord* list = CtlFind(ctx, page, kSavedList);
  if (list && list->item) ItemSetControlValue(ctx, list, icon - kIconListPictureOffset);
  QualitySaveSlot(ctx, target);
  if (HWND window = WindowOf(ctx, page->dialogId, list)) WuiInvalidate(window, TRUE);
}

// The name of saved list `slot`, read with the list applied inside a snapshot.
void SavedListName(DriverContext* ctx, int slot, WCHAR* name, DWORD cchName) {
  name[0] = 0;
  DlgControlRecord* edit = ControlOn(ctx, kDlgQualitySettings, kQualityName);
  SettingItem* item = edit && edit->item ? edit->item : ItemFind(ctx, kQualityNameItem);
  CtxSnapshotPush(ctx);
  QualityApplySlot(ctx, slot);
  if (item) ItemGetTextBounded(ctx, item, name, cchName);
  CtxSnapshotPop(ctx, TRUE);
}

int DrawSavedList(DriverContext* ctx, DlgControlRecord* list, const DRAWITEMSTRUCT* item) {
  if (!item) return 0;
  if ((item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) && static_cast<int>(item->itemID) >= 0 && item->itemData) {
    const bool restricted = (list->state & kControlRestrictedMask) != 0;
    const QualityListLine line = QualityListLineLayout(item->rcItem, static_cast<int>(item->itemID), restricted,
                                                       (item->itemState & ODS_SELECTED) != 0);
    RECT fill = line.fill, square = line.picture, text = line.text;
    DuiFillRect(item->hDC, &fill, DuiSysColor(line.background));
    DuiDrawPicture(item->hDC, ResLoadLanguageDll(ctx), line.pictureId, &square, square.left, square.top, 0);
    WCHAR name[kNameChars];
    SavedListName(ctx, SlotOfLine(static_cast<LPARAM>(item->itemData)), name, kNameChars);
    DuiSetBkMode(item->hDC, TRANSPARENT);
    const COLORREF old = DuiSetTextColor(item->hDC, DuiSysColor(line.textColour));
    DuiDrawText(item->hDC, name, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    DuiSetTextColor(item->hDC, old);
  }
  if ((item->itemAction & ODA_FOCUS) || (item->itemState & ODS_FOCUS)) {
    RECT rect = item->rcItem;
    DuiFocusRect(item->hDC, &rect);
  }
  return 1;
}

int QualityPageControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                       WPARAM wParam, LPARAM lParam) {
  const WORD id = control->controlId;
  if (message == WM_DRAWITEM && id == kSavedList)
    return DrawSavedList(ctx, control, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
  if (message != WM_COMMAND || LOWORD(wParam) != id) return 0;
  switch (id) {
    case kUseSavedBox:
      return UseSavedBox(ctx, page, control, wParam, lParam);
    case kSavedList:
      if (HIWORD(wParam) != LBN_SELCHANGE) return 0;
      ChooseSavedList(ctx, page, control);
      return 1;
    case kEditSavedButton:
      if (SelectedSlot(ctx, page) < 0) return 0;
      EditSavedList(ctx, page, control, wParam, lParam);
      return 1;
    default:
      return 0;
  }
}

// ---- the colour-matching dialog and the profile dialogs ----

bool IsProfileValue(DriverContext* ctx, WORD value) {
  return value >= kCmmProfileStringFirst && static_cast<LONG>(value - kCmmProfileStringFirst) < CmmGetMax(ctx);
}

// The choice lists the model's values that are not disabled, and the user's profiles by
// name up to the list's count.
void FillMatchingChoice(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  HWND window = WindowOf(ctx, page->dialogId, control);
  const ModelItemDescriptor* desc = control->descriptor;
  if (!window || !desc) return;
  WuiChoiceReset(window);
  const ModelValueShape shape = ModelValueShapeOf(desc->type);
  const LONG count = CmmGetCount(ctx);
  // The values the model's judges leave enabled.
  WORD enabled[kCtlMaxEntries];
  const int enabledCount = CtlChoiceEntries(ctx, control, enabled, kCtlMaxEntries);
  auto isEnabled = [&](WORD value) {
    for (int i = 0; i < enabledCount; ++i)
      if (enabled[i] == value) return true;
    return false;
  };
  if (shape == kModelShapeList) {
    for (const ListValueRecord* v = static_cast<const ListValueRecord*>(desc->values); v; v = v->next) {
      const bool profile = IsProfileValue(ctx, v->valueId);
      if (profile && static_cast<LONG>(v->valueId - kCmmProfileStringFirst) >= count) break;
      if (!profile && !isEnabled(v->valueId)) continue;
      WCHAR text[kNameChars] = {};
      if (profile) {
        CmmLoadEntry(ctx, static_cast<LONG>(v->valueId - kCmmProfileStringFirst));
        StrCopyCut(text, kNameChars, ctx->ui->cmmName);
      } else {
        ResLoadString(ctx, v->valueId, text, kNameChars, TRUE);
      }
      WuiChoiceAdd(window, text, v->valueId);
    }
  }
  ModBusSendEvent(ctx, kEventMatchingFallback, nullptr);
  MarkChanged(control->item);
  const LONG_PTR value = control->item ? ItemGetControlValue(ctx, control) : -1;
  int line = -1;
  for (int i = 0; i < WuiChoiceCount(window); ++i)
    if (WuiChoiceData(window, i) == value) line = i;
  WuiChoiceSelect(window, line);
}

// The profile dialogs' name and file edits show and take the entry being edited.
WCHAR* ProfileText(DriverContext* ctx, WORD controlId) {
  return controlId == kProfileName ? ctx->ui->cmmName : controlId == kProfileFile ? ctx->ui->cmmPath : nullptr;
}

int ProfileEdit(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam) {
  WCHAR* text = ProfileText(ctx, control->controlId);
  HWND window = WindowOf(ctx, page->dialogId, control);
  if (!text) return 0;
  if (message == WM_INITDIALOG || message == WM_PAINT) {
    if (window) WuiSetText(window, text);
    return 1;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == control->controlId) {
    const WORD code = HIWORD(wParam);
    if ((code == EN_CHANGE || code == EN_KILLFOCUS) && window) WuiGetText(window, text, kCmmTextChars);
    return 1;
  }
  return 0;
}

// The browse button runs the file dialog as the colour-profile kind; its file becomes the
// entry's file.
void BrowseProfile(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* button, WPARAM wParam, LPARAM lParam) {
  DlgPageRecord* browse = PageFind(ctx, kDlgFileBrowse);
  WCHAR* chosen = PresetGetChosenFilePath(ctx);
  if (chosen) chosen[0] = 0;
  const WORD kind = browse ? browse->kind : 0;
  if (browse) browse->kind = static_cast<WORD>((kind & ~kFileKindImage) | kBrowseKindBits);
  RunTypeCommand(ctx, page, button, wParam, lParam);
  if (browse) browse->kind = static_cast<WORD>((browse->kind & ~kBrowseKindBits) | kFileKindImage);
  if (!chosen || !chosen[0]) return;
  StrCopyCut(ctx->ui->cmmPath, kCmmTextChars, chosen);
  if (HWND file = WuiFindControl(page->window, kProfileFile)) WuiSetText(file, ctx->ui->cmmPath);
}

void FocusEdit(DlgPageRecord* page, WORD controlId) {
  if (HWND edit = page->window ? WuiFindControl(page->window, controlId) : NULL) WuiSetFocus(edit);
}

int PageMessage(DriverContext* ctx, DlgPageRecord* page, UINT message, WPARAM wParam) {
  switch (page->dialogId) {
    case kDlgQualitySettings:
      if (message != WM_INITDIALOG) return 0;
      if (ItemGetRawById(ctx, kItem_zdmAdjustMode) == 0) {
        QualityHandleNotify(ctx, 108, nullptr);
      } else {
        const LONG object = AdjustObject(ctx);
        if (object >= 0 && object <= 2) QualityHandleNotify(ctx, static_cast<WORD>(104 + object), nullptr);
      }
      return 1;
    case kDlgSaveQuality:
      if (message == WM_COMMAND && LOWORD(wParam) == IDOK) ctx->ui->qualityIconChosen = IconChoiceLine(ctx);
      return 0;
    case kDlgDensity:
      if (message != WM_INITDIALOG) return 0;
      QualityHandleNotify(ctx, 308, nullptr);
      return 1;
    case kDlgAddProfile:
    case kDlgModifyProfile:
      if (!(CtxGetChangeFlags(ctx) & kChangeNewPreset)) return 0;
      ctx->ui->cmmName[0] = ctx->ui->cmmPath[0] = 0;
      CtxClearChangeFlags(ctx, kChangeNewPreset);
      return 0;
    default:
      return 0;
  }
}

}  // namespace

const QualityObjectRow* QualityObjectRows(int* count) {
  if (count) *count = kObjectRowCount;
  return kObjectRows;
}

const WORD* QualitySampleItems(int object) {
  return object >= kQualityText && object <= kQualityAllObjects ? kSampleItems[object] : nullptr;
}

void QualityBindObject(DriverContext* ctx, int object) {
  if (!ctx || !ctx->ui || object < kQualityText || object > kQualityAllObjects) return;
  for (const QualityObjectRow& row : kObjectRows) {
    DlgControlRecord* control = ControlOn(ctx, row.dialog, row.control);
    if (!control) continue;
    if (row.items[kQualityAllObjects]) {
      BindControl(ctx, control, row.items[object]);
      continue;
    }
    // The sample picture: the bound extension's six item words.
    WORD* words = ctx->ui->dialog.colourSample;
    if (control->extension != words || words[0] != 1) continue;
    for (int i = 0; i < 6; ++i) {
      words[3 + i] = kSampleItems[object][i];
      MarkChanged(ItemFind(ctx, kSampleItems[object][i]));
    }
  }
}

QualityListLine QualityListLineLayout(const RECT& line, int index, bool restricted, bool selected) {
  QualityListLine out = {};
  out.fill = line;
  const LONG height = line.bottom - line.top;
  LONG right = line.left + height + 10;
  if (right > line.right) right = line.right;
  out.picture = {line.left, line.top, right, line.bottom};
  out.text = {right, line.top, line.right, line.bottom};
  out.background = restricted ? COLOR_BTNFACE : selected ? COLOR_HIGHLIGHT : COLOR_WINDOW;
  out.textColour = restricted ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT;
  out.pictureId = (restricted ? kListPicturesRestricted : kListPictures) + static_cast<UINT>(index < 0 ? 0 : index);
  return out;
}

int QualityHandleNotifyDialogs(DriverContext* ctx, WORD code, void* data) {
  switch (code) {
    case 100:
      EmptyChoice(ctx, kDlgQualitySettings, kQualityModeChoice);
      return 1;
    case 101:
    case 102:
    case 103:
      QualityBindObject(ctx, code - 101);
      return 1;
    case 107:
      QualityBindObject(ctx, kQualityAllObjects);
      return 1;
    case 104:
    case 105:
    case 106:
    case 108:
      QualityHandleNotify(ctx, code == 108 ? 107 : static_cast<WORD>(code - 3), data);
      QualityHandleNotify(ctx, 100, data);
      QualityHandleNotify(ctx, 110, data);
      return 1;
    case 109: {
      const LONG object = AdjustObject(ctx);
      if (object >= 0 && object <= 2) QualityHandleNotify(ctx, static_cast<WORD>(104 + object), data);
      QualityHandleNotify(ctx, 110, data);
      return 1;
    }
    case 110:
      QualityHandleNotify(ctx, 100, data);
      BindIntent(ctx);
      return 1;
    case 111:
      if (CmmGetCount(ctx) >= CmmGetMax(ctx)) {
        DlgPageRecord* page = PageFind(ctx, ctx->currentPage);
        UiWarnOk(ctx, page ? page->window : NULL, kMessageListFull);
        return 1;
      }
      return QualityHandleNotifyNoWindow(ctx, code, data);
    case 112:
    case 122:
      QualityHandleNotifyNoWindow(ctx, code, data);
      RefreshCurrent(ctx);
      return 1;
    case 123:
      QualityHandleNotify(ctx, 111, data);
      CmmSetModeIndex(ctx, CmmGetCount(ctx) - 1);
      RefreshCurrent(ctx);
      return 1;
    case 308:
      EmptyChoice(ctx, kDlgDensity, kDensityTypeChoice);
      return 1;
    case 310: {
      DlgPageRecord* page = PageFind(ctx, kDlgQualityPage);
      const LONG stored = UserListStoredValue(ctx);
      if (UserListStored(stored)) {
        if (HWND list = page ? WindowOf(ctx, kDlgQualityPage, CtlFind(ctx, page, kSavedList)) : NULL)
          WuiChoiceSelect(list, stored - kUserListFirstStored);
        if (ItemGetRawById(ctx, kItem_zdmUseUserMacro) == 1) QualityApplySlot(ctx, stored - kUserListFirstStored);
      }
      RefreshPage(ctx, page);
      return 1;
    }
    case 311: {
      const LONG list = ItemGetUserMacroIndex(ctx);
      if (list >= 0) QualityReadFactoryNameSlot(ctx, static_cast<int>(list));
      return 1;
    }
    case 325: {
      const LONG stored = UserListStoredValue(ctx);
      if (ItemGetRawById(ctx, kItem_zdmUseUserMacro) == 1 && UserListStored(stored))
        QualitySaveSlot(ctx, stored - kUserListFirstStored);
      return 1;
    }
    default:
      return QualityHandleNotifyNoWindow(ctx, code, data);
  }
}

int QualityHandleControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                         WPARAM wParam, LPARAM lParam, void*) {
  if (!ctx || !ctx->ui || !page) return 0;
  if (message == kMsgChangeRefused) {
    if (page->dialogId == kDlgQualitySettings) FocusEdit(page, kQualityName);
    else if (page->dialogId == kDlgSaveQuality) FocusEdit(page, kSaveQualityName);
    else return 0;
    return 1;
  }
  if (!control) return PageMessage(ctx, page, message, wParam);
  switch (page->dialogId) {
    case kDlgQualityPage:
      return QualityPageControl(ctx, page, control, message, wParam, lParam);
    case kDlgMatching:
      if (control->controlId != kMatchingChoice) return 0;
      if (message == WM_INITDIALOG) {
        FillMatchingChoice(ctx, page, control);
        return 1;
      }
      if (message == WM_COMMAND && LOWORD(wParam) == kMatchingChoice) {
        RunTypeCommand(ctx, page, control, wParam, lParam);
        CmmLoadEntry(ctx, CmmIndexOfModeControl(ctx));
        return 1;
      }
      return 0;
    case kDlgAddProfile:
    case kDlgModifyProfile:
      if (control->controlId == kProfileBrowse && message == WM_COMMAND && LOWORD(wParam) == kProfileBrowse) {
        BrowseProfile(ctx, page, control, wParam, lParam);
        return 1;
      }
      return ProfileEdit(ctx, page, control, message, wParam);
    default:
      return 0;
  }
}

int QualityHandleNotify(DriverContext* ctx, WORD code, void* data) {
  if (!ctx || !ctx->ui) return 0;
  return QualityHandleNotifyDialogs(ctx, code, data);
}
