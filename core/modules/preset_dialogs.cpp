// The preset module's dialog side: the preset choices of the pages, the default and
// maintenance buttons, the maintenance dialog (reorder, delete, load, name and comment edits,
// the repeated-name warning), the save-preset dialog's checks and the restricted states of the
// maintenance buttons.
#include "core/bind/bidi_acquire.h"
#include "core/common/ini_access.h"
#include "core/common/mem.h"
#include "core/common/window_ui.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/front/control_lookup.h"
#include "core/front/ctl_subclass.h"
#include "core/front/dialog_engine.h"
#include "core/front/dialog_records.h"
#include "core/front/page_lookup.h"
#include "core/items/control_states.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/model/model_types.h"
#include "core/modules/module_rows.h"
#include "core/modules/preset_cache.h"
#include "core/modules/preset_entries.h"
#include "core/store/preset_refresh.h"
#include "core/store/preset_store.h"
#include "core/store/settings_file.h"
#include "core/store/store_keys.h"
#include "core/system/resources.h"
#include "core/system/sub_dialog.h"
#include "core/system/user_messages.h"
#include "core/store/settings_stores.h"

namespace {

constexpr WORD kDlgPresetPage = 1001, kDlgMaintenance = 1007, kDlgSavePreset = 1032;
constexpr WORD kIconList = 2001, kButtonMaintenance = 2002, kButtonChange = 2003, kButtonDefault = 2034;
// The icon list's right-button menu and its commands (the detailed sheet, the maintenance
// dialog); its items by position: maintenance first, then the detailed sheet.
constexpr int kMenuIconList = 20001;
constexpr WORD kMenuChange = 20002, kMenuMaintenance = 20003;
constexpr WORD kMaintList = 2139, kMaintDelete = 2140, kMaintRefresh = 2141, kMaintLoad = 2142, kMaintBack = 2143, kMaintNext = 2144,
               kMaintName = 2145, kMaintComment = 2146, kMaintSave = 2705;
constexpr WORD kSaveName = 2452;
constexpr WORD kDlgDetailed = 1003;
constexpr int kModeDetailedSheet = 16;
constexpr UINT kMsgFocusName = 32775;
constexpr WORD kTextEmptyName = 10031, kTextReadOnly = 10024, kTextOverwrite = 10032, kTextListFull = 10049,
               kTextSameName = 10052;
constexpr UINT kStringCopyOf = 564;
constexpr DWORD kEntryChars = 1025;
constexpr DWORD kSectionChars = 261;
constexpr WORD kPresetChoiceIds[] = {2036, 2078, 2095, 2109, 2713, 2921, 3112};
constexpr WORD kMaintenanceButtons[] = {2002, 2037, 2079, 2096, 2114, 2714, 2922, 3114};
constexpr WORD kNameEdits[] = {2388, 2389, 2390, 2391, 2733, 2924, 3113};
// The name field each dialog's focus request goes back to.
constexpr DlgControlPair kNameFocus[] = {{1032, 2452}, {1042, 2733}, {4016, 2924}, {4030, 3113}, {1002, 2388},
                                         {1003, 2389}, {1004, 2390}, {1005, 2391}, {0, 0}};

template <size_t N>
bool IsOneOf(WORD id, const WORD (&ids)[N]) {
  for (WORD one : ids)
    if (one == id) return true;
  return false;
}

// The printer's section of its settings ini, where the list keys live.
struct ListKeys {
  WCHAR ini[kPathChars];
  WCHAR section[kSectionChars];
};

bool OpenKeys(DriverContext* ctx, ListKeys* keys) {
  StoreCopySettingsIni(ctx, keys->ini);
  if (!keys->ini[0]) return false;
  StoreCopyPrinterName(ctx, keys->section, kSectionChars);
  return true;
}

void ReadKey(const ListKeys& keys, int n, int kind, WCHAR* text) {
  WCHAR key[64];
  PresetKeyName(key, 64, n, kind);
  IniReadString(keys.section, key, TEXT(""), text, kEntryChars, keys.ini);
}

void WriteKey(const ListKeys& keys, int n, int kind, LPCWSTR text) {
  WCHAR key[64];
  PresetKeyName(key, 64, n, kind);
  IniWriteString(keys.section, key, text, keys.ini);
}

// Entries s and t exchange their files, names and comments.
void ExchangeEntries(const ListKeys& keys, int s, int t) {
  for (int kind = 0; kind <= 2; ++kind) {
    WCHAR a[kEntryChars], b[kEntryChars];
    ReadKey(keys, s, kind, a);
    ReadKey(keys, t, kind, b);
    WriteKey(keys, s, kind, b);
    WriteKey(keys, t, kind, a);
  }
}

void ReinitChoices(DriverContext* ctx) { DlgReinitPresetChoices(ctx); }

// The icon list takes the current preset number and its description node runs.
void CommitIconList(DriverContext* ctx) {
  DlgPageRecord* page = PageFind(ctx, kDlgPresetPage);
  DlgControlRecord* list = page ? CtlFind(ctx, page, kIconList) : nullptr;
  if (list) CtlCommitValue(ctx, page, list, ItemGetValueById(ctx, kItem_zdmPresetNo), 1);
}

// Entry n applied and made the current preset.
void ApplyEntry(DriverContext* ctx, int n) {
  PresetApplySlot(ctx, n);
  ItemSetValueById(ctx, kItem_zdmPresetNo, n + kPresetFirstLogical);
}

// The maintenance dialog's list and its selected entry (-1 when the list has no item).
DlgControlRecord* MaintenanceList(DriverContext* ctx, DlgPageRecord* page) {
  DlgControlRecord* list = page ? CtlFind(ctx, page, kMaintList) : nullptr;
  return list && list->item ? list : nullptr;
}

int Selected(DriverContext* ctx, DlgControlRecord* list) {
  return list ? static_cast<int>(ItemGetControlValue(ctx, list)) - kPresetFirstLogical : -1;
}

void SelectEntry(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* list, int n) {
  ItemSetControlValue(ctx, list, n + kPresetFirstLogical);
  ApplyEntry(ctx, n);
  CtlCommitValue(ctx, page, list, n + kPresetFirstLogical, 1);
}

// The name and comment edits show the selected entry's keys.
void FillEntryEdits(DriverContext* ctx, DlgPageRecord* page, int n) {
  WCHAR text[kEntryChars];
  const WORD edits[2] = {kMaintName, kMaintComment};
  for (int kind = 1; kind <= 2; ++kind) {
    PresetReadEntryText(ctx, n, kind, text, kEntryChars);
    if (HWND edit = WuiFindControl(page->window, edits[kind - 1])) WuiSetText(edit, text);
  }
  DlgRefreshControls(ctx, page, 1);
}

void FocusName(HWND dialog, WORD controlId) {
  HWND edit = WuiFindControl(dialog, controlId);
  if (!edit) return;
  WuiSetFocus(edit);
  WuiEditSelect(edit, 0, -1);
}

void MoveEntry(DriverContext* ctx, DlgPageRecord* page, int step) {
  DlgControlRecord* list = MaintenanceList(ctx, page);
  ListKeys keys;
  if (!list || !OpenKeys(ctx, &keys)) return;
  const int s = Selected(ctx, list), c = PresetGetCount(ctx);
  int t = s;
  if (step < 0 && s > 0) t = s - 1;
  if (step > 0 && s < c - 1) t = s + 1;
  if (t == s || s < 1 || t < 1) return;
  ExchangeEntries(keys, s, t);
  PresetCacheOp(ctx, nullptr, kPresetCacheFreeAll);
  ReinitChoices(ctx);
  SelectEntry(ctx, page, list, t);
  FillEntryEdits(ctx, page, t);
}

void DeleteEntry(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* button) {
  DlgControlRecord* list = MaintenanceList(ctx, page);
  ListKeys keys;
  if (!list || !OpenKeys(ctx, &keys)) return;
  const int s = Selected(ctx, list), c = PresetGetCount(ctx);
  if (s < 1 || s >= c) return;  // the factory entry stays
  if (button && button->descriptor && DlgCheckNodeAlert(ctx, page, button->descriptor) != 1) return;
  for (int i = s; i < c - 1; ++i) ExchangeEntries(keys, i, i + 1);
  for (int kind = 0; kind <= 2; ++kind) WriteKey(keys, c - 1, kind, TEXT(""));
  WCHAR count[4] = {};
  const int lowered = c - 1;  // 0 .. 15
  if (lowered >= 10) count[0] = static_cast<WCHAR>('0' + lowered / 10);
  count[lowered >= 10 ? 1 : 0] = static_cast<WCHAR>('0' + lowered % 10);
  IniWriteString(keys.section, TEXT("Count"), count, keys.ini);
  PresetCacheOp(ctx, nullptr, kPresetCacheFreeAll);
  const int selected = s < c - 1 ? s : c - 2;
  ReinitChoices(ctx);
  SelectEntry(ctx, page, list, selected);
  FillEntryEdits(ctx, page, selected);
}

// The saved device values: the kept list is dropped.
void FreeSavedDevice(DriverContext* ctx) {
  MemFree(ctx->ui->presetSavedDevice);
  ctx->ui->presetSavedDevice = nullptr;
}

// The device settings the printer's answer set and the custom media, kept before the list's
// entries are applied so that a page's maintenance button can put them back.
void SaveDeviceValues(DriverContext* ctx) {
  FreeSavedDevice(ctx);
  if (!ctx->items) return;
  auto kept = [ctx](const SettingItem* row) {
    return !ItemTypeIsText(ItemDescType(row->descriptor)) &&
           (StoreFilterExtended(row) || StoreFilterCustomMedia(ctx, row));
  };
  int count = 0;
  for (int i = 0; i < ctx->items->count; ++i) count += kept(&ctx->items->rows[i]) ? 1 : 0;
  auto* pairs = static_cast<DWORD*>(MemAllocZero(sizeof(DWORD) * 2 * (count + 1)));
  if (!pairs) return;
  int at = 0;
  for (int i = 0; i < ctx->items->count && at < count; ++i) {
    const SettingItem* row = &ctx->items->rows[i];
    if (!kept(row)) continue;
    pairs[2 * at] = row->id;
    pairs[2 * at + 1] = static_cast<DWORD>(ItemGetRaw(ctx, row));
    ++at;
  }
  ctx->ui->presetSavedDevice = pairs;
}

// The saved device values go back into their items (the list is spent); the tray and paper
// choices show them. 0 when none were saved.
int RestoreDeviceValues(DriverContext* ctx) {
  DWORD* pairs = ctx->ui->presetSavedDevice;
  if (!pairs) return 0;
  for (const DWORD* p = pairs; p[0]; p += 2) ItemSetRawById(ctx, static_cast<WORD>(p[0]), static_cast<LONG_PTR>(LONG(p[1])));
  FreeSavedDevice(ctx);
  DlgReinitSourceTrayChoices(ctx);
  DlgReinitOutputTrayChoices(ctx);
  DlgReinitPaperSizeChoices(ctx);
  return 1;
}

// The refresh button: the printer's options read again, the device values kept, the list
// checked against them; a repeated name is selected (and warned of when the posted message
// runs), else the factory entry.
void RefreshFromPrinter(DriverContext* ctx, DlgPageRecord* page) {
  DlgControlRecord* list = MaintenanceList(ctx, page);
  if (!list) return;
  BidiUpdateFromPrinterUi(ctx, page->window);
  DlgUpdateHint(ctx, nullptr, page->window, 0, 0);
  SaveDeviceValues(ctx);
  PresetRebuildList(ctx, 1);
  const int duplicate = PresetCheckDuplicateName(ctx, page->window);
  const int n = duplicate >= 0 ? duplicate : 0;
  FocusName(page->window, kMaintName);
  ReinitChoices(ctx);
  SelectEntry(ctx, page, list, n);
  FillEntryEdits(ctx, page, n);
}

// The chosen files of the last file dialog: one path, or (the name offset just past a blank)
// the folder followed by blank-separated names. Calls take(path) for each; the number of files.
template <typename Take>
int ForEachChosenFile(const WCHAR* chosen, int offset, Take take) {
  int length = 0;
  while (chosen[length]) ++length;
  if (!length) return 0;
  if (offset <= 0 || offset > length || chosen[offset - 1] != L' ') {
    take(chosen);
    return 1;
  }
  int folderEnd = offset - 1;
  while (folderEnd > 0 && chosen[folderEnd - 1] == L' ') --folderEnd;
  int files = 0;
  for (const WCHAR* name = chosen + offset; *name;) {
    while (*name == L' ') ++name;
    const WCHAR* end = name;
    while (*end && *end != L' ') ++end;
    if (end == name) break;
    WCHAR path[kEntryChars];
    int at = 0;
    for (int i = 0; i < folderEnd && at < int(kEntryChars) - 2; ++i) path[at++] = chosen[i];
    if (at && path[at - 1] != L'\\') path[at++] = L'\\';
    for (const WCHAR* p = name; p < end && at < int(kEntryChars) - 1; ++p) path[at++] = *p;
    path[at] = 0;
    take(path);
    ++files;
    name = end;
  }
  return files;
}

// A settings file's stored name and comment; an empty name becomes the file name without
// folder and extension.
void ReadFileEntry(DriverContext* ctx, LPCWSTR path, WCHAR* name, WCHAR* comment) {
  WCHAR section[kSectionChars];
  StoreCopyPrinterName(ctx, section, kSectionChars);
  for (WCHAR* p = section; *p; ++p)
    if (*p == '[' || *p == ']') *p = ',';
  IniReadString(section, TEXT("wdmPresetName"), TEXT(""), name, kEntryChars, path);
  IniReadString(section, TEXT("wdmPresetComment"), TEXT(""), comment, kEntryChars, path);
  if (name[0]) return;
  const WCHAR* base = path;
  for (const WCHAR* p = path; *p; ++p)
    if (*p == L'\\' || *p == L'/' || *p == L':') base = p + 1;
  const WCHAR* dot = nullptr;
  for (const WCHAR* p = base; *p; ++p)
    if (*p == L'.') dot = p;
  int at = 0;
  for (const WCHAR* p = base; *p && p != dot && at < int(kEntryChars) - 1; ++p) name[at++] = *p;
  name[at] = 0;
}

void LoadEntries(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* button, WPARAM wParam, LPARAM lParam) {
  DlgControlRecord* list = MaintenanceList(ctx, page);
  if (!list) return;
  const int count = PresetGetCount(ctx);
  if (count >= kPresetSlots) return;
  WCHAR* chosen = PresetGetChosenFilePath(ctx);
  if (!chosen) return;
  // The file dialog writes the chosen files only when it ends with OK.
  chosen[0] = 0;
  const CtlTypeRecord* type = CtlTypeOf(ctx, button->type);
  if (type && type->command) type->command(ctx, page, button, wParam, lParam);
  const int offset = PresetGetFileNameOffset();
  const int files = ForEachChosenFile(chosen, offset, [](LPCWSTR) {});
  if (!files) return;
  // The list never grows past its sixteen slots: a choice that would is refused whole.
  if (count + files > kPresetSlots) {
    UiWarnOk(ctx, page->window, kTextListFull);
    return;
  }
  ForEachChosenFile(chosen, offset, [ctx](LPCWSTR path) {
    WCHAR name[kEntryChars], comment[kEntryChars];
    ReadFileEntry(ctx, path, name, comment);
    PresetAppendEntry(ctx, path, name, comment);
  });
  const int last = PresetGetCount(ctx) - 1;
  SelectEntry(ctx, page, list, last);
  ReinitChoices(ctx);
  FillEntryEdits(ctx, page, last);
}

// A name or comment edit of the maintenance dialog lost the focus: the entry is saved unless
// its name is empty.
int LeaveEntryEdit(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* edit, WPARAM wParam, LPARAM lParam) {
  const CtlTypeRecord* type = CtlTypeOf(ctx, edit->type);
  if (type && type->command) type->command(ctx, page, edit, wParam, lParam);
  DlgControlRecord* list = MaintenanceList(ctx, page);
  const int s = Selected(ctx, list);
  if (s < 1 || s >= PresetGetCount(ctx)) return 1;
  WCHAR name[kEntryChars];
  ItemGetTextBounded(ctx, ItemFind(ctx, kItem_wdmPresetName), name, kEntryChars);
  if (!name[0]) {
    UiWarnOk(ctx, page->window, kTextEmptyName);
    FocusName(page->window, kMaintName);
    ItemSetControlValue(ctx, list, s + kPresetFirstLogical);
    DlgRefreshControls(ctx, page, 1);
    return 1;
  }
  PresetSaveSlot(ctx, s);
  return 1;
}

// The repeated name at entry n: warned, focused, selected.
void ShowDuplicate(DriverContext* ctx, DlgPageRecord* page, int n) {
  UiWarnOk(ctx, page->window, kTextSameName);
  FocusName(page->window, kMaintName);
  if (DlgControlRecord* list = MaintenanceList(ctx, page)) SelectEntry(ctx, page, list, n);
  FillEntryEdits(ctx, page, n);
}

// The save-preset dialog's OK: 1 when the dialog may close.
int CheckSaveName(DriverContext* ctx, DlgPageRecord* page) {
  WCHAR name[kEntryChars];
  ItemGetTextBounded(ctx, ItemFind(ctx, kItem_wdmPresetName), name, kEntryChars);
  const LONG presetNo = static_cast<LONG>(ItemGetValueById(ctx, kItem_zdmPresetNo));
  const int selected = presetNo > kPresetFirstLogical - 1 ? presetNo - kPresetFirstLogical : -1;
  int k = PresetFindByName(ctx, name, selected);
  // The factory entry is never overwritten: its name saved as new makes a new entry.
  if (k == 0 && selected < 0) k = -1;
  WORD refusal = 0;
  if (selected >= 0) {
    if (k < 0) k = selected;
    else if (k != selected) refusal = kTextSameName;
  }
  if (!refusal && PresetGetCount(ctx) > kPresetSlots - 1 && k < 0) refusal = kTextListFull;
  if (!refusal && k >= 0 && !PresetSlotIsWritable(ctx, k)) refusal = kTextReadOnly;
  if (!refusal && k >= 1 && presetNo == kPresetFirstLogical - 1 &&
      UiWarnById(ctx, page->window, kTextOverwrite, MB_YESNO) != IDYES) {
    FocusName(page->window, kSaveName);
    return 0;
  }
  if (refusal) {
    UiWarnOk(ctx, page->window, refusal);
    FocusName(page->window, kSaveName);
    return 0;
  }
  ItemSetValueById(ctx, kItem_zdmPresetNo, k + kPresetFirstLogical);
  return 1;
}

// The save-preset dialog opens with the name typed on the detailed page, prefixed when an entry
// already has it.
void InitSaveDialog(DriverContext* ctx, DlgPageRecord* page) {
  WCHAR typed[kEntryChars] = {}, text[kEntryChars + 64];
  ResLoadString(ctx, kStringCopyOf, text, 64, FALSE);
  DlgPageRecord* detailed = PageFind(ctx, 1003);
  HWND edit = detailed && detailed->window ? WuiFindControl(detailed->window, 2389) : NULL;
  if (edit) WuiGetText(edit, typed, kEntryChars);
  const LONG presetNo = static_cast<LONG>(ItemGetValueById(ctx, kItem_zdmPresetNo));
  if (PresetFindByName(ctx, typed, presetNo - kPresetFirstLogical) < 0) return;
  int at = 0;
  while (text[at]) ++at;
  for (int i = 0; typed[i] && at < int(kEntryChars) + 62; ++i) text[at++] = typed[i];
  text[at] = 0;
  if (HWND name = WuiFindControl(page->window, kSaveName)) WuiSetText(name, text);
}

// A page's preset choice: one line per preset value of its description, named by the entry.
void InitPresetChoice(DriverContext* ctx, DlgControlRecord* control) {
  HWND box = control->window;
  if (!box) return;
  WuiChoiceReset(box);
  ListKeys keys;
  const int count = PresetGetCount(ctx);
  if (OpenKeys(ctx, &keys) && control->descriptor) {
    int added = 0;
    for (const ListValueRecord* v = static_cast<const ListValueRecord*>(control->descriptor->values); v && added < count; v = v->next, ++added) {
      WCHAR key[64], text[kEntryChars];
      ResLoadString(ctx, v->valueId, key, 33, FALSE);
      int at = 0;
      while (key[at]) ++at;
      if (at + 5 < 64) {
        const WCHAR suffix[] = TEXT("Name");
        for (int i = 0; i < 5; ++i) key[at + i] = suffix[i];
      }
      IniReadString(keys.section, key, TEXT(""), text, kEntryChars, keys.ini);
      WuiChoiceAdd(box, text, v->valueId);
    }
  }
  const LONG presetNo = static_cast<LONG>(ItemGetValueById(ctx, kItem_zdmPresetNo));
  if (presetNo - kPresetFirstLogical >= 0) WuiChoiceSelect(box, presetNo - kPresetFirstLogical);
}

void ChoosePreset(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control) {
  const int i = WuiChoiceSelection(control->window);
  if (i < 0 || i >= kPresetSlots) return;
  const LPARAM data = WuiChoiceData(control->window, i);
  if (data == ItemGetControlValue(ctx, control)) return;
  PresetCacheOp(ctx, nullptr, kPresetCacheFreeAll);
  ApplyEntry(ctx, i);
  ItemSetControlValue(ctx, control, data);
  CommitIconList(ctx);
  ReinitChoices(ctx);
  DlgRefreshControls(ctx, page, 1);
  if (HWND sheet = WuiParent(page->window)) WuiSend(sheet, PSM_CHANGED, WPARAM(page->window), 0);
}

// The change button: the detailed sheet runs with the confirm buttons the selected entry
// allows; a cancelled sheet keeps the watermark only while it still exists, and a preset the
// sheet saved as new becomes the current one.
void RunDetailedSheet(DriverContext* ctx, DlgPageRecord* page) {
  const int before = PresetGetCount(ctx);
  const LONG presetNo = static_cast<LONG>(ItemGetValueById(ctx, kItem_zdmPresetNo));
  if (PresetSlotIsWritable(ctx, presetNo - kPresetFirstLogical))
    CtxAddChangeFlags(ctx, before >= kPresetSlots ? kChangeConfirmOverwrite : kChangeConfirmNew | kChangeConfirmOverwrite);
  else
    CtxAddChangeFlags(ctx, kChangeConfirmNew);
  DlgControlRecord* list = CtlFind(ctx, page, kIconList);
  if (presetNo == kPresetFirstLogical - 1 && list && list->descriptor)
    DlgRunNodeActions(ctx, page, list->descriptor, list->notifyCode);
  if (DlgRunSubDialog(ctx, kModeDetailedSheet, kDlgDetailed, page->window) != IDOK) {
    const LONG id = static_cast<LONG>(ItemGetValueById(ctx, kItem_zdmWmID));
    const LONG kind = static_cast<LONG>(ItemGetValueById(ctx, kItem_zdmWmKind));
    if (ItemGetValueById(ctx, kItem_zdmFuncSelectWaterMark) && id >= 0 && id < StampGetCount(ctx)) {
      if (kind >= 1 && kind <= 3) StampSelect(ctx, static_cast<int>(id));
    } else {
      ItemSetValueById(ctx, kItem_zdmFuncSelectWaterMark, 0);
      ItemSetValueById(ctx, kItem_zdmWmID, 0);
    }
  }
  const int after = PresetGetCount(ctx);
  if (after == before + 1) {
    PresetApplySlot(ctx, after - 1);
    ItemSetValueById(ctx, kItem_zdmPresetNo, after + kPresetFirstLogical - 1);
    CommitIconList(ctx);
  }
  if (list && list->window) WuiInvalidate(list->window, TRUE);
}

void ApplyDefault(DriverContext* ctx, DlgPageRecord* page) {
  ApplyEntry(ctx, 0);
  CommitIconList(ctx);
  ReinitChoices(ctx);
  DlgRefreshControls(ctx, page, 1);
}

// A page's maintenance button: the dialog opens on the current preset; the entry it leaves
// selected becomes the current one.
void RunMaintenance(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* button, WPARAM wParam, LPARAM lParam) {
  DlgPageRecord* maintenance = PageFind(ctx, kDlgMaintenance);
  DlgControlRecord* list = maintenance ? CtlFind(ctx, maintenance, kMaintList) : nullptr;
  const LONG presetNo = static_cast<LONG>(ItemGetValueById(ctx, kItem_zdmPresetNo));
  if (list && list->item) ItemSetControlValue(ctx, list, presetNo);
  PresetApplySlot(ctx, presetNo - kPresetFirstLogical);
  CommitIconList(ctx);
  const CtlTypeRecord* type = CtlTypeOf(ctx, button->type);
  if (type && type->command) type->command(ctx, page, button, wParam, lParam);
  RestoreDeviceValues(ctx);
  int chosen = list && list->item ? static_cast<int>(ItemGetControlValue(ctx, list)) - kPresetFirstLogical : 0;
  if (chosen < 0 || chosen >= PresetGetCount(ctx)) chosen = 0;
  ApplyEntry(ctx, chosen);
  CommitIconList(ctx);
  ReinitChoices(ctx);
  DlgRefreshControls(ctx, page, 1);
}

int HandleCommand(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WPARAM wParam, LPARAM lParam) {
  const WORD id = control->controlId, code = HIWORD(wParam);
  if (LOWORD(wParam) != id) return 0;
  if (page->dialogId == kDlgPresetPage && id == kButtonChange) {
    RunDetailedSheet(ctx, page);
    return 1;
  }
  if (page->dialogId == kDlgPresetPage && id == kButtonDefault) {
    ApplyDefault(ctx, page);
    return 1;
  }
  if (IsOneOf(id, kPresetChoiceIds)) {
    if (code == CBN_SELCHANGE || code == 0) ChoosePreset(ctx, page, control);
    return 1;
  }
  if (IsOneOf(id, kMaintenanceButtons) && page->dialogId != kDlgMaintenance) {
    RunMaintenance(ctx, page, control, wParam, lParam);
    return 1;
  }
  if (IsOneOf(id, kNameEdits) && code == EN_KILLFOCUS) {
    const CtlTypeRecord* type = CtlTypeOf(ctx, control->type);
    if (type && type->command) type->command(ctx, page, control, wParam, lParam);
    ReinitChoices(ctx);
    return 1;
  }
  if (page->dialogId != kDlgMaintenance) return 0;
  if (!MaintenanceList(ctx, page)) return 0;
  switch (id) {
    case kMaintBack:
    case kMaintNext:
      MoveEntry(ctx, page, id == kMaintBack ? -1 : 1);
      return 1;
    case kMaintDelete:
      DeleteEntry(ctx, page, control);
      return 1;
    case kMaintLoad:
      LoadEntries(ctx, page, control, wParam, lParam);
      return 1;
    case kMaintRefresh:
      RefreshFromPrinter(ctx, page);
      return 1;
    case kMaintName:
    case kMaintComment:
      if (code == EN_KILLFOCUS) return LeaveEntryEdit(ctx, page, control, wParam, lParam);
      return 0;
    default:
      return 0;
  }
}

bool IsRestricted(DriverContext* ctx, DlgPageRecord* page, WORD controlId) {
  DlgControlRecord* control = CtlFind(ctx, page, controlId);
  return control && (control->state & kControlRestrictedMask);
}

// The icon list's right button released at a point: the entry under it is selected as by a
// left click, then the list's menu is tracked with the items of restricted buttons greyed.
int IconListMenu(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* list, LPARAM lParam) {
  if (!list->window || (list->state & kControlRestrictedMask)) return 0;
  WuiChoiceClickAt(list->window, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
  DWORD greyed = 0;
  if (IsRestricted(ctx, page, kButtonMaintenance)) greyed |= 1;
  if (IsRestricted(ctx, page, kButtonChange)) greyed |= 2;
  WuiTrackPopupMenu(ResLoadLanguageDll(ctx), kMenuIconList, greyed, page->window);
  return 1;
}

int FocusNameField(DriverContext* ctx, DlgPageRecord* page) {
  for (const DlgControlPair* pair = kNameFocus; pair->dialogId; ++pair) {
    if (pair->dialogId != page->dialogId) continue;
    FocusName(page->window, pair->controlId);
    return 1;
  }
  (void)ctx;
  return 0;
}

// Restricted state of a maintenance button; -1 when the module does not decide it.
int MaintenanceRestricted(WORD controlId, int s, int c, int lines) {
  switch (controlId) {
    case kMaintBack: return !(1 < s && s < c);
    case kMaintNext: return !(0 < s && s < c - 1);
    case kMaintDelete: return !(0 < s && s < c);
    case kMaintLoad: return lines > kPresetSlots - 1;
    case kMaintSave: return s < 0;
    default: return -1;
  }
}

}  // namespace

int PresetHandleControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                        WPARAM wParam, LPARAM lParam, void*) {
  if (!ctx || !ctx->ui || !page) return 0;
  if (!control) {
    if (message == WM_INITDIALOG && page->dialogId == kDlgMaintenance) {
      // A list left by an earlier dialog is no longer this one's (freed, not just forgotten).
      FreeSavedDevice(ctx);
      return 0;
    }
    if (message == kPresetMsgDuplicate && page->dialogId == kDlgMaintenance) {
      ShowDuplicate(ctx, page, static_cast<int>(wParam));
      return 1;
    }
    if (message == kMsgFocusName) return FocusNameField(ctx, page);
    if (message == WM_COMMAND && page->dialogId == kDlgPresetPage &&
        (LOWORD(wParam) == kMenuChange || LOWORD(wParam) == kMenuMaintenance)) {
      WuiPost(page->window, WM_COMMAND, LOWORD(wParam) == kMenuChange ? kButtonChange : kButtonMaintenance, 0);
      return 1;
    }
    if (page->dialogId == kDlgSavePreset) {
      if (CtxGetChangeFlags(ctx) & 0x10000000) {
        ItemSetValueById(ctx, kItem_zdmPresetNo, kPresetFirstLogical - 1);
        CtxClearChangeFlags(ctx, 0x10000000);
      }
      if (message == WM_INITDIALOG) InitSaveDialog(ctx, page);
      if (message == WM_COMMAND && LOWORD(wParam) == IDOK && !CheckSaveName(ctx, page)) return 1;
    }
    return 0;
  }
  if (message == WM_INITDIALOG && IsOneOf(control->controlId, kPresetChoiceIds)) {
    InitPresetChoice(ctx, control);
    return 1;
  }
  if (message == WM_LBUTTONDBLCLK && control->controlId == kIconList && page->dialogId == kDlgPresetPage) {
    DlgControlRecord* change = CtlFind(ctx, page, kButtonChange);
    if (change && change->window && !(change->state & kControlRestrictedMask))
      WuiPost(page->window, WM_COMMAND, kButtonChange, 0);
    return 1;
  }
  if (message == WM_RBUTTONUP && control->controlId == kIconList && page->dialogId == kDlgPresetPage)
    return IconListMenu(ctx, page, control, lParam);
  if (message == WM_COMMAND) return HandleCommand(ctx, page, control, wParam, lParam);
  return 0;
}

int PresetHandleEvent(DriverContext* ctx, int event, void* argument, void*) {
  if (event != kEventControlRestricted || !argument || !ctx) return 0;
  auto* query = static_cast<CtlRestrictedQuery*>(argument);
  DlgControlRecord* control = query->control;
  if (!control || !query->page || query->page->dialogId != kDlgMaintenance) return 0;
  DlgControlRecord* list = MaintenanceList(ctx, query->page);
  if (!list) return 0;
  const int lines = list->window ? WuiChoiceCount(list->window) : PresetGetCount(ctx);
  const int restricted =
      MaintenanceRestricted(control->controlId, Selected(ctx, list), PresetGetCount(ctx), lines);
  if (restricted < 0) return 0;
  control->state = static_cast<WORD>((control->state & ~kControlRestrictedMask) | (restricted ? 0x0004 : 0));
  query->answered = 1;
  return 1;
}
