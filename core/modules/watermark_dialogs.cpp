// The watermark module's dialogs: the watermark list of the edit page with its add, edit and
// delete buttons, the text, image and overlay dialogs, the font choices of the text watermark,
// the header/footer and the copy-protect dialogs, and the restricted state of the list's
// buttons.
#include "core/modules/watermark_dialogs.h"

#include <initializer_list>

#include "core/common/draw_ui.h"
#include "core/common/text.h"
#include "core/common/window_ui.h"
#include "core/context/driver_context.h"
#include "core/context/settings_snapshot.h"
#include "core/front/control_lookup.h"
#include "core/front/control_types.h"
#include "core/front/dialog_engine.h"
#include "core/front/dialog_records.h"
#include "core/front/page_lookup.h"
#include "core/items/control_states.h"
#include "core/items/item_access.h"
#include "core/items/item_fonts.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/modules/font_subst_lists.h"
#include "core/modules/module_rows.h"
#include "core/modules/watermark_geometry.h"
#include "core/modules/watermark_preview.h"
#include "core/store/settings_stores.h"
#include "core/store/stamp_store.h"
#include "core/system/resources.h"
#include "core/system/sub_dialog.h"
#include "core/system/user_messages.h"
#include "core/tables/build_switches.h"

namespace {

constexpr WORD kDlgEdit = 1003, kDlgText = 1022, kDlgImage = 1023, kDlgOverlay = 1037, kDlgMargin = 1024,
               kDlgCopyProtect = 4017;
constexpr WORD kOnOff = 2088, kChoice = 2089, kEditButton = 2090, kAddText = 2091, kAddImage = 2092,
               kAddOverlay = 2407, kDelete = 2406, kDefault = 2093;
constexpr WORD kTextName = 2310, kTextBody = 2312, kTextFont = 2314, kTextDefault = 2330;
constexpr WORD kImageName = 2339, kImageFile = 2341, kImageDefault = 2347;
constexpr WORD kOverlayName = 2584, kOverlayFile = 2586, kOverlayDefault = 2581;
constexpr WORD kMarginFont = 2647, kMarginDefault = 2357;
constexpr WORD kMarginEdits[] = {2352, 2355, 2396, 2605};
constexpr WORD kCopyProtectFont = 2948, kCopyProtectDefault = 2973;
constexpr WORD kItemFontName = 945, kItemHeaderFont = 115, kItemCopyProtectFont = 525, kItemEditingStamp = 1218;
constexpr int kBuiltInStamps = 5, kMostStamps = 32;
constexpr int kModeModal = 4;
constexpr DWORD kFlagNewStamp = 0x20000000, kFlagEditStamp = 0x2000000;
constexpr WORD kTextBuiltIn = 10041, kTextDeleteOverlay = 10063, kTextDelete = 10029;
constexpr int kFaceChars = 32;
constexpr int kNameChars = 260;
constexpr WORD kRestricted = 0x0004;

// The kinds of watermark: dialog, name control, default button, title of its edit.
struct StampKind {
  LONG kind;
  WORD dialog, nameControl, defaultButton, editTitle, addButton, nameItem;
};
constexpr StampKind kKinds[] = {{1, kDlgText, kTextName, kTextDefault, 5005, kAddText, 931},
                                {2, kDlgImage, kImageName, kImageDefault, 5006, kAddImage, 932},
                                {3, kDlgOverlay, kOverlayName, kOverlayDefault, 5007, kAddOverlay, 932}};

const StampKind* KindOf(LONG kind) {
  for (const StampKind& k : kKinds)
    if (k.kind == kind) return &k;
  return nullptr;
}

const StampKind* KindOfButton(WORD button) {
  for (const StampKind& k : kKinds)
    if (k.addButton == button) return &k;
  return nullptr;
}

const StampKind* KindOfDialog(WORD dialog) {
  for (const StampKind& k : kKinds)
    if (k.dialog == dialog) return &k;
  return nullptr;
}

// Runs the control type's own command handler.
int RunOwnCommand(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WPARAM wParam, LPARAM lParam) {
  const CtlTypeRecord* type = CtlTypeOf(ctx, control->type);
  return type && type->command ? type->command(ctx, page, control, wParam, lParam) : 0;
}

// The line whose text is name, -1 for none.
int FindLine(HWND box, const WCHAR* name) {
  const int count = WuiChoiceCount(box);
  for (int i = 0; i < count; ++i) {
    WCHAR text[kFaceChars + 2];
    if (WuiChoiceText(box, i, text, kFaceChars + 2) >= 0 && StrWideEqual(text, name)) return i;
  }
  return -1;
}

// Line index selected and stored: the choice's item takes the index, the font item the text.
void StoreLine(DriverContext* ctx, DlgControlRecord* choice, WORD itemId, int line) {
  HWND box = choice->window;
  WCHAR text[kFaceChars + 2] = {};
  if (line >= 0) WuiChoiceText(box, line, text, kFaceChars + 2);
  text[kFaceChars - 1] = 0;
  WuiChoiceSelect(box, line);
  if (choice->item) ItemSetValue(ctx, choice->item, line < 0 ? 0 : line);
  ItemSetText(ctx, ItemFind(ctx, itemId), text);
}

// Selects the line named name, else the default watermark font's, else line 0.
void SelectFace(DriverContext* ctx, DlgControlRecord* choice, WORD itemId, const WCHAR* name) {
  HWND box = choice->window;
  int line = name && name[0] ? FindLine(box, name) : -1;
  if (line < 0) {
    WCHAR fallback[kDefaultFontNameChars + 1] = {};
    StampDefaultFontName(ctx, fallback);
    line = FindLine(box, fallback);
  }
  if (line < 0 && WuiChoiceCount(box) > 0) line = 0;
  StoreLine(ctx, choice, itemId, line);
}

DlgControlRecord* Control(DriverContext* ctx, DlgPageRecord* page, WORD id) {
  return page ? CtlFind(ctx, page, id) : nullptr;
}

// The item of a kind's name control: the bound one, else the watermark name item of the kind
// (wdmWmCharName for text; wdmWmImageName for image and overlay, both named after a file).
SettingItem* NameItem(DriverContext* ctx, const StampKind& kind) {
  DlgControlRecord* control = Control(ctx, PageFind(ctx, kind.dialog), kind.nameControl);
  if (control && control->item) return control->item;
  return ItemFind(ctx, kind.nameItem);
}

// The watermark list of the edit page: one line per watermark named by its kind's name item,
// the watermarks loaded inside a snapshot that is then restored.
void FillStampChoice(DriverContext* ctx, DlgControlRecord* choice) {
  HWND box = choice->window;
  WuiChoiceReset(box);
  const int count = StampGetCount(ctx);
  CtxSnapshotPush(ctx);
  for (int i = 0; i < count && i < kMostStamps; ++i) {
    StampSelect(ctx, i);
    ItemSetValue(ctx, choice->item, i);
    WCHAR name[kNameChars] = {};
    const StampKind* kind = KindOf(static_cast<LONG>(ItemGetValueById(ctx, kItem_zdmWmKind)));
    if (kind) {
      if (SettingItem* item = NameItem(ctx, *kind)) ItemGetTextBounded(ctx, item, name, kNameChars);
    } else {
      const WCHAR kUnreadable[] = {'r', 'e', 'a', 'd', ' ', 'e', 'r', 'r', 'o', 'r', 0};
      StrCopyCut(name, kNameChars, kUnreadable);
    }
    WuiChoiceAdd(box, name, i);
  }
  CtxSnapshotPop(ctx, TRUE);
  const LONG selected = static_cast<LONG>(ItemGetControlValue(ctx, choice));
  WuiChoiceSelect(box, selected >= 0 && selected < WuiChoiceCount(box) ? selected : -1);
}

void SelectStamp(DriverContext* ctx, DlgControlRecord* choice, int n) {
  StampSelect(ctx, n);
  ItemSetValue(ctx, choice->item, n);
  WuiChoiceSelect(choice->window, n);
}

void RepaintButtons(DlgPageRecord* page) {
  for (WORD id : {kEditButton, kAddText, kAddImage, kAddOverlay})
    if (HWND button = WuiFindControl(page->window, id)) WuiInvalidate(button, TRUE);
}

// Add (a new watermark of the button's kind) or edit (the selected one): the dialog runs; on OK
// the watermark is saved under its index and the list shows it selected.
void RunStampDialog(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* choice, WORD button) {
  HWND box = choice->window;
  const int lines = WuiChoiceCount(box);
  int index;
  const StampKind* kind;
  if (button == kEditButton) {
    if (lines == 0) return;
    ItemSetValueById(ctx, kItemEditingStamp, 1);
    kind = KindOf(static_cast<LONG>(ItemGetValueById(ctx, kItem_zdmWmKind)));
    if (!kind) return;
    CtxAddChangeFlags(ctx, kFlagEditStamp | kind->editTitle);
    index = WuiChoiceSelection(box);
    if (index < 0) index = static_cast<int>(ItemGetControlValue(ctx, choice));
  } else {
    kind = KindOfButton(button);
    if (!kind) return;
    if (button == kAddText) ItemSetValueById(ctx, kItemEditingStamp, 0);
    CtxAddChangeFlags(ctx, kFlagNewStamp | kind->defaultButton);
    index = lines;
  }
  if (DlgRunSubDialog(ctx, kModeModal, kind->dialog, page->window) != IDOK) return;
  if (button != kEditButton) ItemSetValueById(ctx, kItem_zdmWmKind, kind->kind);
  if (index < 0 || index >= kMostStamps) return;
  ItemSetValue(ctx, choice->item, index);
  StampSave(ctx, index);
  FillStampChoice(ctx, choice);
  WuiChoiceSelect(box, index);
  RepaintButtons(page);
}

void DeleteStamp(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* choice) {
  HWND box = choice->window;
  const int selected = WuiChoiceSelection(box);
  if (selected < 0) return;
  if (selected < kBuiltInStamps) {
    UiWarnOk(ctx, page->window, kTextBuiltIn);
    return;
  }
  HWND overlay = WuiFindControl(page->window, kAddOverlay);
  const bool overlayHidden = overlay && !(WuiGetStyle(overlay) & WS_VISIBLE);
  const WORD question = overlayHidden ? kTextDeleteOverlay : kTextDelete;
  if (UiWarnOkCancel(ctx, page->window, question) != IDOK) return;
  StampDelete(ctx, selected);
  const int count = StampGetCount(ctx);
  const int keep = selected < count ? selected : 0;
  ItemSetValue(ctx, choice->item, keep);
  FillStampChoice(ctx, choice);
  SelectStamp(ctx, choice, keep);
  RepaintButtons(page);
  ItemSetValueById(ctx, kItem_zdmFuncSelectWaterMark, 0);
}

int HandleEditPage(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam,
                   LPARAM lParam) {
  if (!control) return 0;
  const WORD id = control->controlId;
  DlgControlRecord* choice = page->dialogId == kDlgEdit ? Control(ctx, page, kChoice) : nullptr;
  if (message == WM_INITDIALOG) {
    if (id == kChoice && control->window && control->item && WuiChoiceCount(control->window) == 0) {
      FillStampChoice(ctx, control);
      return 1;
    }
    return 0;
  }
  if (message != WM_COMMAND || LOWORD(wParam) != id) return 0;
  const WORD code = HIWORD(wParam);
  switch (id) {
    case kOnOff: {
      if (page->dialogId != kDlgEdit || !control->window) return 0;
      const bool ticked = WuiGetCheck(control->window) == BST_CHECKED;
      const bool on = ItemGetControlValue(ctx, control) != 0;
      if (ticked == on) return 0;
      if (ticked && choice && choice->window) {
        const int n = WuiChoiceSelection(choice->window);
        if (n >= 0) SelectStamp(ctx, choice, n);
      }
      RunOwnCommand(ctx, page, control, wParam, lParam);
      return 1;
    }
    case kChoice:
      if (code != CBN_SELCHANGE || !control->window || !control->item) return 0;
      if (WuiChoiceSelection(control->window) >= 0) SelectStamp(ctx, control, WuiChoiceSelection(control->window));
      RunOwnCommand(ctx, page, control, wParam, lParam);
      return 1;
    case kDefault:
      if (page->dialogId != kDlgEdit) return 0;
      RunOwnCommand(ctx, page, control, wParam, lParam);
      StampSelect(ctx, static_cast<int>(ItemGetValueById(ctx, kItem_zdmWmID)));
      return 1;
    case kAddText:
    case kAddImage:
    case kAddOverlay:
    case kEditButton:
      if (!choice || !choice->window || !choice->item) return 1;
      RunStampDialog(ctx, page, choice, id);
      return 1;
    case kDelete:
      if (!choice || !choice->window || !choice->item) return 1;
      DeleteStamp(ctx, page, choice);
      return 1;
    default:
      return 0;
  }
}

// A watermark dialog starts: new (the default button's actions, the texts emptied, the dialog
// font's face) or edited (its title); its kind is set either way.
void StartStampDialog(DriverContext* ctx, DlgPageRecord* page) {
  const StampKind* kind = KindOfDialog(page->dialogId);
  if (!kind) return;
  const DWORD flags = CtxGetChangeFlags(ctx);
  if (flags & kFlagNewStamp) {
    CtxClearChangeFlags(ctx, kFlagNewStamp);
    const WORD button = LOWORD(flags);
    DlgControlRecord* control = Control(ctx, page, button);
    if (control && control->descriptor) DlgRunNodeActions(ctx, page, control->descriptor, control->notifyCode);
    for (WORD id : {kTextName, kImageName, kOverlayName, kTextBody, kImageFile, kOverlayFile})
      ItemSetControlText(ctx, id, nullptr);
    WCHAR face[kFaceChars] = {};
    WuiDialogFontFace(page->window, face, kFaceChars);
    ItemSetText(ctx, ItemFind(ctx, kItemFontName), face);
  } else if (flags & kFlagEditStamp) {
    CtxClearChangeFlags(ctx, kFlagEditStamp);
    WCHAR title[256];
    if (ResLoadString(ctx, LOWORD(flags), title, 256, FALSE) > 0) WuiSetText(page->window, title);
  }
  ItemSetValueById(ctx, kItem_zdmWmKind, kind->kind);
}

// A dialog's font choice and the default button that resets it, with the font-name item they
// keep: 1 when the message was theirs.
struct FontDialog {
  WORD dialog, choice, defaultButton, item;
};
constexpr FontDialog kFontDialogs[] = {{kDlgText, kTextFont, kTextDefault, kItemFontName},
                                       {kDlgMargin, kMarginFont, kMarginDefault, kItemHeaderFont},
                                       {kDlgCopyProtect, kCopyProtectFont, kCopyProtectDefault, kItemCopyProtectFont}};

int HandleFontDialog(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                     WPARAM wParam, LPARAM lParam) {
  if (!control) return 0;
  const WORD id = control->controlId;
  for (const FontDialog& f : kFontDialogs) {
    if (f.dialog != page->dialogId) continue;
    if (message == WM_INITDIALOG && id == f.choice) {
      WmFillFontChoice(ctx, page, control, f.item);
      return 1;
    }
    if (message != WM_COMMAND || LOWORD(wParam) != id) return 0;
    if (id == f.choice) {
      WmTakeFontChoice(ctx, page, control, f.item);
      return 1;
    }
    if (id == f.defaultButton) {
      RunOwnCommand(ctx, page, control, wParam, lParam);
      WmResetFontChoice(ctx, page, f.item, f.choice);
      return 1;
    }
  }
  return 0;
}

// The margin edits refresh the dialog as they change.
int HandleMarginEdits(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WPARAM wParam,
                      LPARAM lParam) {
  const WORD code = HIWORD(wParam);
  for (WORD edit : kMarginEdits) {
    if (control->controlId != edit || LOWORD(wParam) != edit || (code != EN_KILLFOCUS && code != EN_CHANGE))
      continue;
    RunOwnCommand(ctx, page, control, wParam, lParam);
    DlgRefreshControls(ctx, page, 0);
    return 1;
  }
  return 0;
}

// The margin dialog's edge, crop and creep controls, the marker they shrink into, the buttons
// that move up to it and the unit button that moves to the top of the string-form label.
constexpr WORD kMarginHidden[] = {3181, 3182, 3183, 3184, 3185, 3186, 3187, 3188, 3189,
                                  3190, 3191, 3192, 3193, 3194, 3195, 3198, 3209};
constexpr WORD kMarginMarker = 3199, kMarginUnit = 2505, kMarginUnitAnchor = 2664, kMarginHelp = 9;
constexpr int kFeatureMarginExtras = 6;

}  // namespace

void WmLayOutMarginDialog(HWND dialog, HWND owner) {
  RECT marker, ok;
  HWND markerWindow = WuiFindControl(dialog, kMarginMarker);
  HWND okWindow = WuiFindControl(dialog, IDOK);
  if (!markerWindow || !okWindow || !WuiGetRect(markerWindow, &marker) || !WuiGetRect(okWindow, &ok)) return;
  const RECT hidden = WmMarginHiddenRect(marker);
  for (WORD id : kMarginHidden)
    if (HWND control = WuiFindControl(dialog, id)) WuiMove(control, &hidden, TRUE);
  for (WORD id : {static_cast<WORD>(IDOK), static_cast<WORD>(IDCANCEL), kMarginHelp, kMarginDefault}) {
    RECT r;
    HWND button = WuiFindControl(dialog, id);
    if (!button || !WuiGetRect(button, &r)) continue;
    const RECT moved = WmMoveToTop(r, marker.top);
    WuiMove(button, &moved, TRUE);
  }
  RECT unit, anchor;
  HWND unitWindow = WuiFindControl(dialog, kMarginUnit);
  HWND anchorWindow = WuiFindControl(dialog, kMarginUnitAnchor);
  if (unitWindow && anchorWindow && WuiGetRect(unitWindow, &unit) && WuiGetRect(anchorWindow, &anchor)) {
    const RECT moved = WmMoveToTop(unit, anchor.top);
    WuiMove(unitWindow, &moved, TRUE);
  }
  RECT self, ownerRect;
  if (!owner || !WuiGetRect(dialog, &self) || !WuiGetRect(owner, &ownerRect)) return;
  const RECT placed = WmMarginDialogRect(self, ownerRect, marker, ok);
  WuiMove(dialog, &placed, TRUE);
}

void WmFillFontChoice(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* choice, WORD itemId) {
  (void)page;
  if (!ctx || !choice || !choice->window) return;
  HWND box = choice->window;
  WuiChoiceReset(box);
  WCHAR work[kTtfEntryChars];
  TtfEnumBlock block = {ctx, box, FALSE, work};
  HDC dc = DuiGetDc(NULL);
  LOGFONTW all = {};
  all.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExW(dc, &all, TtfEnumFontProc, reinterpret_cast<LPARAM>(&block), 0);
  if (dc) DuiReleaseDc(NULL, dc);
  WCHAR name[kFaceChars + 1] = {};
  ItemGetTextBounded(ctx, ItemFind(ctx, itemId), name, kFaceChars + 1);
  SelectFace(ctx, choice, itemId, name);
}

void WmTakeFontChoice(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* choice, WORD itemId) {
  (void)page;
  if (!ctx || !choice || !choice->window) return;
  const int line = WuiChoiceSelection(choice->window);
  if (line < 0) return;
  StoreLine(ctx, choice, itemId, line);
}

void WmResetFontChoice(DriverContext* ctx, DlgPageRecord* page, WORD itemId, WORD choiceId) {
  DlgControlRecord* choice = Control(ctx, page, choiceId);
  if (!ctx || !choice || !choice->window) return;
  WCHAR name[kFaceChars + 1] = {};
  const bool locked = ItemGetValueById(ctx, kItem_zdmLock000InfoBitDefault) != 0 &&
                      (page->dialogId == kDlgMargin || page->dialogId == kDlgCopyProtect);
  if (locked) ItemGetTextBounded(ctx, ItemFind(ctx, itemId), name, kFaceChars + 1);
  else StampDefaultFontName(ctx, name);
  int line = FindLine(choice->window, name);
  if (line < 0 && WuiChoiceCount(choice->window) > 0) line = 0;
  StoreLine(ctx, choice, itemId, line);
}

int WmHandleControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam,
                    LPARAM lParam, void*) {
  if (!ctx || !ctx->ui || !page) return 0;
  switch (page->dialogId) {
    case kDlgEdit:
    case kDlgText:
    case kDlgImage:
    case kDlgOverlay:
      if (!control && message == WM_INITDIALOG) {
        StartStampDialog(ctx, page);
        return 0;
      }
      if (HandleFontDialog(ctx, page, control, message, wParam, lParam)) return 1;
      return HandleEditPage(ctx, page, control, message, wParam, lParam);
    case kDlgMargin:
      if (!control && message == WM_INITDIALOG) {
        if (!BuildHasFeatureBit(kFeatureMarginExtras)) WmLayOutMarginDialog(page->window, WuiOwner(page->window));
        return 0;
      }
      if (HandleFontDialog(ctx, page, control, message, wParam, lParam)) return 1;
      return control && message == WM_COMMAND ? HandleMarginEdits(ctx, page, control, wParam, lParam) : 0;
    case kDlgCopyProtect:
      return HandleFontDialog(ctx, page, control, message, wParam, lParam);
    default:
      return 0;
  }
}

int WmHandleEvent(DriverContext* ctx, int event, void* argument, void*) {
  if (event == kEventPagePicture && argument && ctx) {
    const auto* picture = static_cast<const CtlPagePictureEvent*>(argument);
    CtlDrawWatermarkPreview(ctx, picture);
    CtlDrawCopyProtectPreview(ctx, picture);
    return 1;
  }
  if (event != kEventControlRestricted || !argument || !ctx) return 0;
  auto* query = static_cast<CtlRestrictedQuery*>(argument);
  DlgControlRecord* control = query->control;
  if (!control || !query->page) return 0;
  const WORD id = control->controlId;
  if (id != kDelete && id != kAddText && id != kAddImage && id != kAddOverlay) return 0;
  DlgControlRecord* choice = Control(ctx, query->page, kChoice);
  if (!choice || !choice->window) return 1;  // the judge decides
  const bool restricted = id == kDelete ? WuiChoiceSelection(choice->window) <= kBuiltInStamps - 1
                                        : WuiChoiceCount(choice->window) >= kMostStamps;
  control->state = static_cast<WORD>((control->state & ~kControlRestrictedMask) | (restricted ? kRestricted : 0));
  query->answered = 1;
  return 1;
}
