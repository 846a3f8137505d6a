// The limitation dialog and its status dialog. The limitation dialog shows the values captured
// when the lock data was loaded (the paper source, media, N-up kind, print type and colour the
// locks would fix) and the current preset; its resolution and all-N-up boxes keep their lock
// bits, and OK asks once more before the locks are marked for the device page's apply. The
// status dialog's list is composed as the settings summary composes its edits.
#include "core/modules/lock_dialogs.h"

#include "core/common/ini_access.h"
#include "core/common/text.h"
#include "core/common/window_ui.h"
#include "core/context/ui_state.h"
#include "core/front/control_lookup.h"
#include "core/front/ctl_lists.h"
#include "core/front/dialog_engine.h"
#include "core/front/page_lookup.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_values.h"
#include "core/modules/module_rows.h"
#include "core/modules/summary_module.h"
#include "core/store/preset_store.h"
#include "core/store/store_keys.h"
#include "core/system/resources.h"
#include "core/system/user_messages.h"
#include "core/tables/build_switches.h"

namespace {

// The N-up kind choice of the detailed page: its entries are the kinds the model allows.
constexpr WORD kDetailedPage = 1003;
constexpr WORD kNupKindChoice = 2083;

constexpr int kFieldChars = kCtlTextChars;
constexpr int kNameBytes = 37;
constexpr int kCommentBytes = 513;
constexpr int kSectionChars = 261;
constexpr int kKeyChars = 64;
constexpr WORD kItemPresetComment = 926;  // wdmPresetComment

const WCHAR kCrLf[] = {'\r', '\n', 0};

// Appends into a text of fixed capacity; what does not fit is cut.
struct FieldText {
  WCHAR* text;
  int capacity;
  int length = 0;
  void Put(const WCHAR* s) {
    while (s && *s && length + 1 < capacity) text[length++] = *s++;
    text[length] = 0;
  }
};

// The name of a captured value: the stored value mapped through its setting's value list is
// the string id of the name.
void CapturedName(DriverContext* ctx, WORD captured, WORD setting, WCHAR* text, int capacity) {
  text[0] = 0;
  const SettingItem* item = ItemFind(ctx, setting);
  const LONG_PTR name = item ? ItemMapValue(ctx, item, ItemGetRawById(ctx, captured)) : 0;
  if (name > 0 && name <= 0xFFFF) ResLoadString(ctx, static_cast<UINT>(name), text, capacity, TRUE);
}

void SetField(DlgPageRecord* page, WORD id, const WCHAR* text) {
  if (HWND window = page && page->window ? WuiFindControl(page->window, id) : NULL) WuiSetText(window, text);
}

void ShowNupText(DriverContext* ctx, DlgPageRecord* page) {
  WCHAR text[kFieldChars];
  LockNupText(ctx, text, kFieldChars);
  SetField(page, kLimitationNupText, text);
}

// The current preset's name and comment, as the preset list of the printer's settings ini
// holds them, into the preset items (narrow text, cut to their sizes).
void LoadPresetTexts(DriverContext* ctx) {
  char name[kNameBytes] = {};
  char comment[kCommentBytes] = {};
  const LONG slot = static_cast<LONG>(ItemGetValueById(ctx, kItem_zdmPresetNo)) - kLimitationFirstPreset;
  WCHAR ini[kPathChars];
  StoreCopySettingsIni(ctx, ini);
  if (slot >= 0 && slot < kPresetSlots && ini[0]) {
    WCHAR section[kSectionChars], key[kKeyChars], text[kCommentBytes];
    StoreCopyPrinterName(ctx, section, kSectionChars);
    IniReadString(section, PresetKeyName(key, kKeyChars, slot, 1), TEXT(""), text, kCommentBytes, ini);
    StrWideToAnsi(name, text, kNameBytes);
    IniReadString(section, PresetKeyName(key, kKeyChars, slot, 2), TEXT(""), text, kCommentBytes, ini);
    StrWideToAnsi(comment, text, kCommentBytes);
  }
  ItemSetRawById(ctx, kItem_wdmPresetName, reinterpret_cast<LONG_PTR>(name));
  ItemSetRawById(ctx, kItemPresetComment, reinterpret_cast<LONG_PTR>(comment));
}

int RunCommand(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WPARAM wParam, LPARAM lParam) {
  const CtlTypeRecord* type = CtlTypeOf(ctx, control->type);
  return type && type->command ? type->command(ctx, page, control, wParam, lParam) : 0;
}

bool Checked(DlgPageRecord* page, DlgControlRecord* control) {
  HWND box = control->window ? control->window : page->window ? WuiFindControl(page->window, control->controlId) : NULL;
  return box && WuiGetCheck(box) == BST_CHECKED;
}

// OK: the warning first (Cancel keeps the dialog); confirmed, the locked resolution is taken
// and the device page's apply carries the locks into the stored files.
int ConfirmLimitation(DriverContext* ctx, DlgPageRecord* page) {
  if (UiWarnOkCancel(ctx, page->window, kTextLimitationWarning) != IDOK) return 1;
  ItemSetRawById(ctx, kItem_wdmLock007Info, ItemGetRawById(ctx, kItem_zdmLockDstResolutionBoth));
  ctx->ui->dialog.lockChanged = 1;
  return 0;
}

int LimitationCommand(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WPARAM wParam,
                      LPARAM lParam) {
  if (!control) return LOWORD(wParam) == IDOK ? ConfirmLimitation(ctx, page) : 0;
  // The engine offers a command to each control of the page: only the sender's own is ours.
  if (control->controlId != LOWORD(wParam)) return 0;
  switch (control->controlId) {
    case kLimitationResolution:
      RunCommand(ctx, page, control, wParam, lParam);
      ItemSetRawById(ctx, kItem_zdmLock000InfoBitResolution, Checked(page, control) ? 1 : 0);
      return 1;
    case kLimitationNupAll: {
      const LONG_PTR all = ItemGetRawById(ctx, kItem_zdmLock000InfoBitNupKindAll);
      if (Checked(page, control) == (all != 0)) return 0;
      RunCommand(ctx, page, control, wParam, lParam);
      ItemSetRawById(ctx, kItem_zdmLock000InfoBitNupKindAll, all ? 0 : 1);
      ShowNupText(ctx, page);
      DlgRefreshControls(ctx, page, 0);
      return 1;
    }
    case kLimitationDefault:
      RunCommand(ctx, page, control, wParam, lParam);
      ShowNupText(ctx, page);
      DlgRefreshControls(ctx, page, 0);
      return 1;
    default:
      return 0;
  }
}

}  // namespace

int LockNupText(DriverContext* ctx, WCHAR* text, int capacity) {
  if (!text || capacity <= 0) return 0;
  FieldText out{text, capacity};
  text[0] = 0;
  if (!ctx) return 0;
  if (!ItemGetRawById(ctx, kItem_zdmLock000InfoBitNupKindAll)) {
    CapturedName(ctx, kItem_wdmLock003Info, kItem_zdmNUPPOSTKind, text, capacity);
    return static_cast<int>(StrWideLength(text));
  }
  WORD values[kCtlMaxEntries];
  const int count = CtlChoiceEntries(ctx, CtlFind(ctx, PageFind(ctx, kDetailedPage), kNupKindChoice), values,
                                     kCtlMaxEntries);
  WCHAR name[kFieldChars];
  for (int i = 0; i < count; ++i) {
    name[0] = 0;
    ResLoadString(ctx, values[i], name, kFieldChars, TRUE);
    if (i > 0) out.Put(kCrLf);
    out.Put(name);
  }
  return out.length;
}

void LockInitLimitation(DriverContext* ctx, DlgPageRecord* page) {
  if (!ctx || !page) return;
  const struct {
    WORD control, captured, setting;
  } kFields[] = {{kLimitationSourceText, kItem_wdmLock001Info, kItem_dmDefaultSource},
                 {kLimitationMediaText, kItem_wdmLock002Info, kItem_zdmMediaType},
                 {kLimitationNupText, 0, 0},
                 {kLimitationPrintTypeText, kItem_wdmLock006Info, kItem_zdmPrnMethod},
                 {kLimitationColorText, kItem_wdmLock008Info, kItem_dmColor}};
  WCHAR text[kFieldChars];
  for (const auto& f : kFields) {
    if (f.captured)
      CapturedName(ctx, f.captured, f.setting, text, kFieldChars);
    else
      LockNupText(ctx, text, kFieldChars);
    SetField(page, f.control, text);
  }
  LoadPresetTexts(ctx);
}

int LockDialogControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam,
                      LPARAM lParam) {
  if (!ctx || !ctx->ui || !page || !BuildHasFeature(ctx, kBuildFeatureSettingLocks)) return 0;
  if (page->dialogId == kLimitationStatusDialog) {
    // The list is composed each time it is shown; the edit's own show runs after.
    if (message == WM_PAINT && control && control->controlId == kLimitationStatusList)
      SummaryComposeText(ctx, page, control);
    return 0;
  }
  if (page->dialogId != kLimitationDialog) return 0;
  if (message == WM_INITDIALOG && !control) {
    LockInitLimitation(ctx, page);
    return 0;
  }
  return message == WM_COMMAND ? LimitationCommand(ctx, page, control, wParam, lParam) : 0;
}

int LockHandleControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam,
                      LPARAM lParam, void*) {
  return LockDialogControl(ctx, page, control, message, wParam, lParam);
}
