// The font-substitution module: the substitution list of TrueType faces with their device
// fonts, the device-font list a replacement is chosen from, the reset button, and the
// restricted state of the device-font list.
#include "core/common/draw_ui.h"
#include "core/common/mem.h"
#include "core/common/window_ui.h"
#include "core/context/driver_context.h"
#include "core/front/control_lookup.h"
#include "core/front/dialog_engine.h"
#include "core/front/dialog_records.h"
#include "core/items/control_states.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/modules/font_subst_lists.h"
#include "core/modules/module_rows.h"

namespace {
constexpr WORD kDeviceFontList = 2384;
constexpr WORD kFontSubstDialog = 4004;
constexpr WORD kRestrictedBits = 0x000C;
constexpr WORD kRestricted = 0x0004;
constexpr WORD kFontSubstPage = 1009;
constexpr WORD kSubstList = 2385;
constexpr WORD kResetButton = 2386;
constexpr WORD kFaceTexts[] = {2383, 2291};
constexpr WORD kListSelChange = 1;  // LBN_SELCHANGE

int Length(const WCHAR* text, int limit) {
  int n = 0;
  while (n < limit && text && text[n]) ++n;
  return n;
}

HWND Child(DlgPageRecord* page, WORD id) { return page->window ? WuiFindControl(page->window, id) : NULL; }

void ShowFace(DlgPageRecord* page, const WCHAR* entry) {
  WCHAR face[32];
  WCHAR device[32];
  TtfEntryParts(entry, face, device);
  for (WORD id : kFaceTexts)
    if (HWND text = Child(page, id)) WuiSetText(text, face);
}

// The entry of the substitution list that is selected, or -1; its text in entry.
int SelectedEntry(HWND list, WCHAR* entry) {
  const int selected = list ? WuiChoiceSelection(list) : -1;
  if (selected < 0 || WuiChoiceText(list, selected, entry, kTtfEntryChars) < 0) return -1;
  return selected;
}

void FillDeviceFonts(DriverContext* ctx, HWND list) {
  WuiChoiceReset(list);
  const int count = ItemFontCount(ctx);
  for (int n = 0; n < count; ++n) {
    const WCHAR* name = ItemFontName(ctx, n);
    if (name[0] != L'@') WuiChoiceAdd(list, name, n);
  }
  WuiInvalidate(list, TRUE);
}

void FillSubstitutions(DriverContext* ctx, DlgPageRecord* page, HWND list) {
  WuiChoiceReset(list);
  WCHAR text[kTtfEntryChars];
  TtfEnumBlock block = {ctx, list, TRUE, text};
  LOGFONTW wanted = {};
  wanted.lfCharSet = DEFAULT_CHARSET;
  HDC dc = DuiGetDc(NULL);
  EnumFontFamiliesExW(dc, &wanted, TtfEnumFontProc, reinterpret_cast<LPARAM>(&block), 0);
  DuiReleaseDc(NULL, dc);
  WuiChoiceSelect(list, 0);
  if (SelectedEntry(list, text) >= 0) ShowFace(page, text);
  if (HWND devices = Child(page, kDeviceFontList)) WuiChoiceSelect(devices, -1);
  WuiInvalidate(list, TRUE);
}

// The device font chosen for the selected face: the entry is rebuilt in its place and the
// table stored.
int ChooseDeviceFont(DriverContext* ctx, DlgPageRecord* page, HWND devices) {
  HWND list = Child(page, kSubstList);
  WCHAR entry[kTtfEntryChars];
  const int at = SelectedEntry(list, entry);
  const int chosen = WuiChoiceSelection(devices);
  if (at < 0 || chosen < 0) return 1;
  WCHAR face[32];
  WCHAR device[32];
  WCHAR font[64];
  TtfEntryParts(entry, face, device);
  WuiChoiceText(devices, chosen, font, 64);
  TtfFormatEntry(face, font, entry);
  // The list is filled again with the one entry changed: the window interface replaces no
  // single entry.
  const int count = WuiChoiceCount(list);
  WCHAR(*all)[kTtfEntryChars] = static_cast<WCHAR(*)[kTtfEntryChars]>(MemAllocZero(sizeof(WCHAR) * kTtfEntryChars * (count > 0 ? count : 1)));
  if (!all) return 1;
  for (int i = 0; i < count; ++i) WuiChoiceText(list, i, all[i], kTtfEntryChars);
  for (int i = 0; i < kTtfEntryChars; ++i) all[at][i] = entry[i];
  WuiChoiceReset(list);
  for (int i = 0; i < count; ++i) WuiChoiceAdd(list, all[i], i);
  MemFree(all);
  WuiChoiceSelect(list, at);
  if (TtfStoreSubstitutions(ctx, list) && page->window)
    WuiSend(WuiParent(page->window), PSM_CHANGED, reinterpret_cast<WPARAM>(page->window), 0);
  return 1;
}

int FaceChosen(DlgPageRecord* page, DlgControlRecord* control, HWND list) {
  WCHAR entry[kTtfEntryChars];
  if (SelectedEntry(list, entry) < 0) return 1;
  ShowFace(page, entry);
  HWND devices = Child(page, kDeviceFontList);
  if (!devices) return 1;
  const WCHAR* device = entry + (Length(entry, kTtfEntryChars) > kTtfDeviceAt ? kTtfDeviceAt : Length(entry, kTtfEntryChars));
  const int count = WuiChoiceCount(devices);
  for (int i = 0; i < count; ++i) {
    WCHAR name[64];
    WuiChoiceText(devices, i, name, 64);
    int k = 0;
    while (name[k] && name[k] == device[k]) ++k;
    if (name[k] == 0 && device[k] == 0) {
      WuiChoiceSelect(devices, i);
      break;
    }
  }
  return 1;
}

int TtfDialogControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                     WPARAM wParam, LPARAM lParam) {
  if (!control) return 0;
  const WORD id = control->controlId;
  if (message == WM_COMMAND && LOWORD(wParam) != id) return 0;
  HWND window = control->window ? control->window : Child(page, id);
  switch (id) {
    case kDeviceFontList:
      if (message == WM_INITDIALOG && window) {
        FillDeviceFonts(ctx, window);
        return 1;
      }
      if (message == WM_COMMAND && HIWORD(wParam) == kListSelChange && window) return ChooseDeviceFont(ctx, page, window);
      return 0;
    case kSubstList:
      if (message == WM_INITDIALOG && window) {
        FillSubstitutions(ctx, page, window);
        return 1;
      }
      if (message == WM_COMMAND && HIWORD(wParam) == kListSelChange && window) return FaceChosen(page, control, window);
      return 0;
    case kResetButton: {
      if (message != WM_COMMAND) return 0;
      ItemFontTableReplace(ctx, 0, nullptr);
      if (DlgControlRecord* list = CtlFind(ctx, page, kSubstList)) CtlInitControl(ctx, page, list);
      if (page->window) WuiSend(WuiParent(page->window), PSM_CHANGED, reinterpret_cast<WPARAM>(page->window), 0);
      DlgRefreshControls(ctx, page, 1);
      return 1;
    }
    default:
      return 0;
  }
}

}  // namespace

void TtfFormatEntry(const WCHAR* face, const WCHAR* device, WCHAR* out) {
  int at = 0;
  for (int i = 0; i < 31 && face && face[i]; ++i) out[at++] = face[i];
  while (at < 31) out[at++] = L' ';
  out[at++] = L' ';
  out[at++] = L'>';
  out[at++] = L' ';
  for (int i = 0; i < 31 && device && device[i]; ++i) out[at++] = device[i];
  out[at] = 0;
}

void TtfEntryParts(const WCHAR* entry, WCHAR* face, WCHAR* device) {
  const int length = Length(entry, kTtfEntryChars);
  int n = length < 32 ? length : 32;
  while (n > 0 && entry[n - 1] == L' ') --n;
  if (n > 31) n = 31;
  for (int i = 0; i < n; ++i) face[i] = entry[i];
  face[n] = 0;
  int d = 0;
  for (int i = kTtfDeviceAt; i < length && d < 31; ++i) device[d++] = entry[i];
  device[d] = 0;
}

int TtfFillTable(const WCHAR* const* entries, int count, const WCHAR* noSubstitution, ItemFontSubstEntry* table) {
  int written = 0;
  for (int i = 0; i < count; ++i) {
    WCHAR face[32];
    WCHAR device[32];
    TtfEntryParts(entries[i], face, device);
    int k = 0;
    while (device[k] && device[k] == noSubstitution[k]) ++k;
    if (device[k] == noSubstitution[k]) continue;
    for (int c = 0; c < 32; ++c) table[written].face[c] = face[c];
    for (int c = 0; c < 32; ++c) table[written].deviceFont[c] = device[c];
    ++written;
  }
  return written;
}

BOOL TtfStoreSubstitutions(DriverContext* ctx, HWND list) {
  const int count = WuiChoiceCount(list);
  if (count <= 0) {
    ItemFontTableReplace(ctx, 0, static_cast<ItemFontSubstEntry*>(MemAllocZero(sizeof(ItemFontSubstEntry))));
    return TRUE;
  }
  WCHAR(*texts)[kTtfEntryChars] = static_cast<WCHAR(*)[kTtfEntryChars]>(MemAllocZero(sizeof(WCHAR) * kTtfEntryChars * count));
  const WCHAR** entries = static_cast<const WCHAR**>(MemAllocZero(sizeof(WCHAR*) * count));
  ItemFontSubstEntry* table = static_cast<ItemFontSubstEntry*>(MemAllocZero(sizeof(ItemFontSubstEntry) * count));
  if (!texts || !entries || !table) {
    // Without memory the table in force stays.
    MemFree(texts);
    MemFree(entries);
    MemFree(table);
    return FALSE;
  }
  for (int i = 0; i < count; ++i) {
    WuiChoiceText(list, i, texts[i], kTtfEntryChars);
    entries[i] = texts[i];
  }
  const int written = TtfFillTable(entries, count, ItemFontName(ctx, 0), table);
  MemFree(texts);
  MemFree(entries);
  ItemFontTableReplace(ctx, written, table);
  return TRUE;
}

int CALLBACK TtfEnumFontProc(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM param) {
  auto* block = reinterpret_cast<TtfEnumBlock*>(param);
  if (!font || !block || !(type & TRUETYPE_FONTTYPE) || font->lfFaceName[0] == L'@') return 1;
  WCHAR face[32];
  int n = 0;
  for (; n < 31 && font->lfFaceName[n]; ++n) face[n] = font->lfFaceName[n];
  face[n] = 0;
  if (block->substitutionList) {
    TtfFormatEntry(face, ItemFontSubstFor(block->ctx, face), block->text);
    WuiChoiceAdd(block->control, block->text, 0);
  } else {
    WuiChoiceAdd(block->control, face, WuiChoiceCount(block->control));
  }
  return 1;
}

int TtfHandleControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam,
                     LPARAM lParam, void*) {
  if (!ctx || !page || (page->dialogId != kFontSubstPage && page->dialogId != kFontSubstDialog)) return 0;
  return TtfDialogControl(ctx, page, control, message, wParam, lParam);
}

int TtfHandleEvent(DriverContext* ctx, int event, void* argument, void*) {
  if (event != kEventControlRestricted || !argument) return 0;
  auto* query = static_cast<CtlRestrictedQuery*>(argument);
  DlgControlRecord* control = query->control;
  if (!control || control->controlId != kDeviceFontList) return 0;
  // The substitution table belongs to the printer: only the preferences sheet edits it.
  const bool fromDialog = query->page && query->page->dialogId == kFontSubstDialog;
  if (ItemGetRawById(ctx, kItem_zdmCallSrc) == 0 || fromDialog) {
    control->state = static_cast<WORD>((control->state & ~kRestrictedBits) | kRestricted);
    query->answered = 1;
  }
  return 1;
}
