// The print-method module's page behaviours: the print-type page with its names and twice-typed
// passwords, the authentication page and dialogs that hand their texts to the job-control DLL,
// the hidden-function and disk-limit dialogs, the tray-name edits of the post-processing page
// and the combos that mark the sheet changed at once.
#include "core/bind/bidi_acquire.h"
#include "core/bind/bidi_store.h"
#include "core/bind/job_control.h"
#include "core/common/ini_access.h"
#include "core/common/os_tests.h"
#include "core/common/text.h"
#include "core/common/window_ui.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/devmode/couplings.h"
#include "core/front/control_lookup.h"
#include "core/front/ctl_subclass.h"
#include "core/front/dialog_engine.h"
#include "core/front/draw_helpers.h"
#include "core/front/page_lookup.h"
#include "core/items/derived_settings.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/modules/input_filters.h"
#include "core/modules/module_rows.h"
#include "core/modules/print_type_page.h"
#include "core/modules/summary_module.h"
#include "core/model/model_types.h"
#include "core/system/driver_paths.h"
#include "core/system/resources.h"
#include "core/system/sub_dialog.h"
#include "core/system/user_messages.h"
#include "core/tables/build_switches.h"
#include "core/tables/model_record.h"
#include "core/tables/symbol_table.h"

namespace {

constexpr int kModeModal = 4;
constexpr WORD kEditUpdate = 0x0400;  // EN_UPDATE
constexpr WORD kPagePrintType = 1019;
constexpr WORD kPageAdvanced = 4019;
constexpr WORD kPageAuthPasswordInput = 4020;
constexpr WORD kPageNetworkKeyInput = 4021;
constexpr WORD kPageAuthentication = 4022;
constexpr WORD kPagePasswordInput = 4005;
constexpr WORD kPagePrintPost = 1015;
constexpr WORD kPageHiddenFunc = 1065;
constexpr WORD kPageDiskLimit = 4029;
constexpr WORD kPageUserCodeInput = 1027;
constexpr WORD kPageUserCodeConfirm = 1028;

constexpr WORD kCtlUserId = 2241;
constexpr WORD kCtlJobMergeName = 2243;
constexpr WORD kCtlPasswordConfirm = 2527;   // in 4005
constexpr WORD kCtlNetworkKey = 2988;
constexpr WORD kCtlAuthPasswordConfirm = 2996;  // in 4020
constexpr WORD kCtlNetworkKeyConfirm = 2999;    // in 4021
constexpr WORD kCtlAuthUser = 3003;
constexpr WORD kCtlAuthPassword = 3006;
constexpr WORD kCtlDiskLimit = 3110;
constexpr WORD kCtlTrayNameFirst = 2193;
constexpr WORD kCtlTrayNameLast = 2209;

constexpr WORD kItemChkAuthPassword = 1115;    // wdmChkAuthenticationPassword
constexpr WORD kItemChkNetworkKey = 1116;      // wdmChkAuthenticationNetworkKey
constexpr WORD kItemHidden2Func3 = 450;
constexpr WORD kItemHidden2Func4 = 451;
constexpr WORD kItemHidden2Func5 = 452;
constexpr WORD kItemDiskSpace = 681;           // zdmDiskSpace
constexpr WORD kItemPrintPostTrayNo = 1021;    // wdmPrintPostTrayNo

constexpr int kPasswordChars = 8;
constexpr int kNetworkKeyChars = 32;
constexpr int kNameBytesShort = 17;  // names of 16 characters: the paste check sees 17 bytes
constexpr int kOwnerBytes = 16;
constexpr int kJobMergeBytes = 65;
constexpr int kUserIdBytes = 8;
constexpr int kAuthUserBytes = 128;

constexpr WORD kTextNameRefused = 10051;
constexpr WORD kTextJobMergeExists = 10050;
constexpr WORD kTextPasswordMismatch = 10034;
constexpr WORD kTextNetworkKeyMismatch = 12014;
constexpr WORD kTextAuthPasswordMismatch = 12013;
constexpr WORD kTextAuthUserAlert = 12015;
constexpr WORD kTextAuthPasswordAlert = 12016;

// The names and the password of each print method on the print-type page.
struct PrintTypeRow {
  LONG method;
  WORD names[2];
  WORD password;
};
const PrintTypeRow kPrintTypes[] = {
    {1, {0, 0}, 2245},        {3, {2423, 2532}, 2533}, {5, {kCtlJobMergeName, 0}, 3108},
    {8, {3058, 0}, 3108},     {9, {3059, 0}, 3060},    {10, {3107, 0}, 3108},
};
const PrintTypeRow kOtherPrintType = {0, {0, 0}, 3108};
const WORD kPasswordControls[] = {2245, 2533, 3060, 3108};
const WORD kQuoteFreeNames[] = {2423, 2532, kCtlJobMergeName, 3058, 3059, 3107};

// The text of the last confirmation dialog's edit, taken as its OK was pressed.
WCHAR g_confirmation[kNetworkKeyChars + 2];

const PrintTypeRow& CurrentPrintType(DriverContext* ctx) {
  const LONG method = static_cast<LONG>(ItemGetRawById(ctx, kItem_zdmPrnMethod));
  for (const PrintTypeRow& row : kPrintTypes)
    if (row.method == method) return row;
  return kOtherPrintType;
}

bool IsOneOf(WORD id, const WORD* ids, size_t count) {
  for (size_t i = 0; i < count; ++i)
    if (ids[i] == id) return true;
  return false;
}

// The control type's own command handling.
void RunCommand(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WPARAM wParam, LPARAM lParam) {
  const CtlTypeRecord* type = CtlTypeOf(ctx, control->type);
  if (type && type->command) type->command(ctx, page, control, wParam, lParam);
}

HWND Child(DlgPageRecord* page, WORD id) { return page && page->window ? WuiFindControl(page->window, id) : NULL; }

int ReadText(DlgPageRecord* page, WORD id, WCHAR* buffer, int cch) {
  buffer[0] = 0;
  HWND edit = Child(page, id);
  return edit ? WuiGetText(edit, buffer, cch) : 0;
}

void EmptyAndFocus(DlgPageRecord* page, WORD id) {
  if (HWND edit = Child(page, id)) {
    WuiSetText(edit, TEXT(""));
    WuiSetFocus(edit);
  }
}

// The clipboard's text as the ANSI bytes that would land; false when there is none.
bool ClipboardBytes(HWND owner, char* bytes, int cbBytes) {
  WCHAR text[1025];
  if (WuiClipboardText(owner, text, 1025) < 0) return false;
  StrWideToAnsi(bytes, text, cbBytes);
  return true;
}

// A paste the check refuses is consumed; one it allows, or a clipboard that cannot be read,
// goes on to the control.
int GuardPaste(DlgPageRecord* page, BOOL (*check)(const char*, int, int, UINT), int limitBytes) {
  char bytes[2100];
  if (!ClipboardBytes(page ? page->window : NULL, bytes, sizeof(bytes))) return 0;
  return check(bytes, limitBytes, limitBytes, GetACP()) ? 0 : 1;
}

// Runs a confirmation dialog: the typed text in g_confirmation; IDOK only when it ran and was
// confirmed.
int RunConfirmation(DriverContext* ctx, WORD dialogId, HWND owner) {
  g_confirmation[0] = 0;
  const int answer = DlgRunSubDialog(ctx, kModeModal, dialogId, owner);
  return answer == IDOK ? IDOK : IDCANCEL;
}

// The warning of a refused text, its field emptied and focused.
void RefuseText(DriverContext* ctx, DlgPageRecord* page, WORD textId, WORD field) {
  if (textId) UiWarnOk(ctx, page->window, textId);
  EmptyAndFocus(page, field);
}

// The password of the print type is typed twice; false keeps the page open.
bool ConfirmPrintTypePassword(DriverContext* ctx, DlgPageRecord* page) {
  const WORD field = CurrentPrintType(ctx).password;
  WCHAR password[kPasswordChars + 1];
  ReadText(page, field, password, kPasswordChars + 1);
  if (!password[0]) return true;
  if (RunConfirmation(ctx, kPagePasswordInput, page->window) != IDOK) {
    RefuseText(ctx, page, 0, field);
    return false;
  }
  if (!StrWideEqual(password, g_confirmation)) {
    RefuseText(ctx, page, kTextPasswordMismatch, field);
    return false;
  }
  return true;
}

// The job-merge name: valid characters and a file not there yet.
bool CheckJobMergeName(DriverContext* ctx, DlgPageRecord* page) {
  WCHAR name[70];
  ReadText(page, kCtlJobMergeName, name, 70);
  if (!name[0]) return true;
  WORD refusal = 0;
  if (!InpJobMergeNameValid(name)) {
    refusal = kTextNameRefused;
  } else {
    WCHAR folder[MAX_PATH];
    WCHAR file[MAX_PATH];
    if (!PrnJobMergeFile(ctx, name, folder, file)) {
      refusal = kTextNameRefused;
    } else if (DlgFileExists(file)) {
      refusal = kTextJobMergeExists;
    }
  }
  if (!refusal) return true;
  UiWarnOk(ctx, page->window, refusal);
  if (HWND edit = Child(page, kCtlJobMergeName)) WuiSetFocus(edit);
  return false;
}

bool AnyNameTyped(DlgPageRecord* page, const PrintTypeRow& row) {
  for (WORD id : row.names) {
    WCHAR text[2];
    if (id && ReadText(page, id, text, 2) > 0) return true;
  }
  return false;
}

// OK on the print-type page; 1 keeps the page open.
int PrintTypeOk(DriverContext* ctx, DlgPageRecord* page) {
  if (CtxGetChangeFlags(ctx) & kPrnChangePassword) {
    DlgControlRecord* ok = CtlFind(ctx, page, IDOK);
    if (ok && CtlCommitValue(ctx, page, ok, 0, 0)) return 1;
    const bool confirmed = ConfirmPrintTypePassword(ctx, page);
    CtxClearChangeFlags(ctx, kPrnChangePassword);
    if (!confirmed) return 1;
  }
  // A name with a quote, however it came in, would break the job lines.
  for (WORD id : CurrentPrintType(ctx).names) {
    WCHAR text[70];
    if (!id || !ReadText(page, id, text, 70)) continue;
    for (int i = 0; text[i]; ++i)
      if (text[i] == L'"') {
        UiWarnOk(ctx, page->window, kTextNameRefused);
        WuiSetFocus(Child(page, id));
        return 1;
      }
  }
  if (ItemGetRawById(ctx, kItem_zdmPrnMethod) == 5 && !CheckJobMergeName(ctx, page)) return 1;
  if (AnyNameTyped(page, CurrentPrintType(ctx))) ItemSetRawById(ctx, kItem_zdmCharSet, OsAnsiCharsetCode());
  return 0;
}

int PrintTypeControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WORD id, UINT message,
                     WPARAM wParam, LPARAM lParam) {
  const bool password = IsOneOf(id, kPasswordControls, 4);
  switch (message) {
    case WM_COMMAND: {
      if (!control) {
        if (LOWORD(wParam) == IDOK) return PrintTypeOk(ctx, page);
        if (LOWORD(wParam) == IDCANCEL) CtxClearChangeFlags(ctx, kPrnChangePassword);
        return 0;
      }
      const WORD code = HIWORD(wParam);
      if (!password || (code != EN_CHANGE && code != kEditUpdate)) return 0;
      RunCommand(ctx, page, control, wParam, lParam);
      if (!(control->state & kControlRestrictedMask)) CtxAddChangeFlags(ctx, kPrnChangePassword);
      return 1;
    }
    case WM_PASTE:
      if (id == kCtlUserId) return GuardPaste(page, InpPasteLettersAndDigits, kUserIdBytes);
      if (password) return 1;
      if (id == 2423) return GuardPaste(page, InpPasteWithoutQuote, kOwnerBytes);
      if (id == kCtlJobMergeName) return GuardPaste(page, InpPasteWithoutQuote, kJobMergeBytes);
      if (IsOneOf(id, kQuoteFreeNames, 6)) return GuardPaste(page, InpPasteWithoutQuote, kNameBytesShort);
      return 0;
    case WM_CHAR:
      return wParam == '"' && IsOneOf(id, kQuoteFreeNames, 6) ? 1 : 0;
    default:
      return 0;
  }
}

// PSN_APPLY of the device page once the network key was touched.
LONG_PTR ApplyNetworkKey(DriverContext* ctx, DlgPageRecord* page) {
  LONG_PTR answer = PSNRET_NOERROR;
  DlgPageRecord* current = PageFind(ctx, ctx->currentPage);
  if (current && current->window) {
    DlgControlRecord* ok = CtlFind(ctx, current, IDOK);
    if (ok && ok->descriptor && CtlCommitValue(ctx, current, ok, 0, 0)) {
      DlgRefreshControls(ctx, current, 1);
      answer = PSNRET_INVALID_NOCHANGEPAGE;
    }
  }
  WCHAR key[kNetworkKeyChars + 1] = {};
  if (SettingItem* item = ItemFind(ctx, kItem_wdmAuthenticationNetworkKey))
    ItemGetTextBounded(ctx, item, key, kNetworkKeyChars + 1);
  if (answer == PSNRET_NOERROR && ItemGetRawById(ctx, kItem_zdmPrnFuncAuthenticationMode) &&
      ItemGetRawById(ctx, kItem_zdmPrnFuncAuthenticationSecureMode) && key[0]) {
    if (SettingItem* check = ItemFind(ctx, kItemChkNetworkKey)) ItemSetText(ctx, check, TEXT(""));
    const bool confirmed = RunConfirmation(ctx, kPageNetworkKeyInput, page->window) == IDOK;
    if (!confirmed || !StrWideEqual(key, g_confirmation)) {
      if (confirmed) UiWarnOk(ctx, page->window, kTextNetworkKeyMismatch);
      if (SettingItem* item = ItemFind(ctx, kItem_wdmAuthenticationNetworkKey)) ItemSetText(ctx, item, TEXT(""));
      if (ctx->currentPage == kPageAdvanced) WuiSetFocus(Child(page, kCtlNetworkKey));
      if (DlgPageRecord* now = PageFind(ctx, ctx->currentPage)) DlgRefreshControls(ctx, now, 1);
      answer = PSNRET_INVALID_NOCHANGEPAGE;
    }
  }
  CtxClearChangeFlags(ctx, kPrnChangeNetworkKey);
  return answer;
}

int AdvancedControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WORD id, UINT message,
                    WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY && !control) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (!header) return 0;
    DlgUpdateHint(ctx, nullptr, page->window, 0, 0);
    if (header->code == static_cast<UINT>(PSN_RESET)) {
      CtxClearChangeFlags(ctx, kPrnChangeNetworkKey);
      return 0;
    }
    if (header->code != static_cast<UINT>(PSN_APPLY) || !(CtxGetChangeFlags(ctx) & kPrnChangeNetworkKey)) return 0;
    WuiSetSlot(page->window, DWL_MSGRESULT, ApplyNetworkKey(ctx, page));
    return 1;
  }
  if (!control) return 0;
  if (id == kCtlNetworkKey) {
    switch (message) {
      case WM_PASTE:
        return 1;
      case WM_SETFOCUS:
        CtxAddChangeFlags(ctx, kPrnChangeNetworkKey);
        return 0;
      case WM_CHAR:
        return InpCharPasses(kInpFilterPrintable, static_cast<WCHAR>(wParam)) ? 0 : 1;
      case WM_COMMAND: {
        const WORD code = HIWORD(wParam);
        if (code != EN_CHANGE && code != kEditUpdate) return 0;
        RunCommand(ctx, page, control, wParam, lParam);
        return 1;
      }
      default:
        return 0;
    }
  }
  return 0;
}

// OK in the authentication dialog; 1 keeps it open.
int AuthenticationOk(DriverContext* ctx, DlgPageRecord* page) {
  DlgControlRecord* ok = CtlFind(ctx, page, IDOK);
  if (ok && ok->item && CtlCommitValue(ctx, page, ok, 0, 0)) return 1;
  const bool mode = ItemGetRawById(ctx, kItem_zdmPrnFuncAuthenticationMode) != 0;
  if (mode && ItemAuthTextsPresent(ctx, 2)) {
    if (SettingItem* check = ItemFind(ctx, kItemChkAuthPassword)) ItemSetText(ctx, check, TEXT(""));
    WCHAR password[130] = {};
    if (SettingItem* item = ItemFind(ctx, kItem_wdmAuthenticationPassword)) ItemGetTextBounded(ctx, item, password, 130);
    const bool confirmed = RunConfirmation(ctx, kPageAuthPasswordInput, page->window) == IDOK;
    if (!confirmed || !StrWideEqual(password, g_confirmation)) {
      if (confirmed) UiWarnOk(ctx, page->window, kTextAuthPasswordMismatch);
      if (SettingItem* item = ItemFind(ctx, kItem_wdmAuthenticationPassword)) ItemSetText(ctx, item, TEXT(""));
      EmptyAndFocus(page, kCtlAuthPassword);
      return 1;
    }
  }
  PrnPushAuthentication(ctx);
  return 0;
}

int AuthenticationControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, WORD id,
                          UINT message, WPARAM wParam) {
  if (message == WM_COMMAND && !control && LOWORD(wParam) == IDOK) return AuthenticationOk(ctx, page);
  if (!control) return 0;
  if (message == WM_CHAR) {
    if (id == kCtlAuthUser) return InpCharPasses(kInpFilterName, static_cast<WCHAR>(wParam)) ? 0 : 1;
    if (id == kCtlAuthPassword) return InpCharPasses(kInpFilterText, static_cast<WCHAR>(wParam)) ? 0 : 1;
    return 0;
  }
  if (message == WM_PASTE) {
    if (id == kCtlAuthUser) return GuardPaste(page, InpPasteNameFilter, kAuthUserBytes);
    if (id == kCtlAuthPassword) return 1;
  }
  return 0;
}

// The confirmation dialogs: their OK keeps the typed text for the caller's comparison.
int ConfirmationControl(DlgPageRecord* page, DlgControlRecord* control, WORD editId, int filter, UINT message,
                        WPARAM wParam) {
  if (message == WM_COMMAND && !control && LOWORD(wParam) == IDOK) {
    ReadText(page, editId, g_confirmation, kNetworkKeyChars + 2);
    return 0;
  }
  if (message == WM_CHAR && control && control->controlId == editId && filter)
    return InpCharPasses(filter, static_cast<WCHAR>(wParam)) ? 0 : 1;
  return 0;
}

// Focus after an alert about a control's value (message 32775, the alert's message id).
int FocusAfterAlert(DriverContext* ctx, DlgPageRecord* page, WPARAM messageId) {
  const MessageEntry* entry = TblFindMessage(ctx, static_cast<WORD>(messageId));
  const WORD text = entry ? entry->stringId : 0;
  if (page->dialogId == kPagePrintType) {
    static const WORD kUserIdTexts[] = {12025, 12026, 12031, 10003, 10004};
    if (IsOneOf(text, kUserIdTexts, 5)) {
      WuiSetFocus(Child(page, kCtlUserId));
    } else {
      EmptyAndFocus(page, CurrentPrintType(ctx).password);
    }
  } else if (page->dialogId == kPageAuthentication) {
    if (text == kTextAuthUserAlert) WuiSetFocus(Child(page, kCtlAuthUser));
    if (text == kTextAuthPasswordAlert) WuiSetFocus(Child(page, kCtlAuthPassword));
  }
  return 1;
}

// Printer data of the hidden functions: the value when nonzero, else none.
bool StoreOrDelete(DriverContext* ctx, LPCWSTR name, LONG_PTR value, DlgPageRecord* page) {
  DWORD error = 0;
  if (value) {
    const DWORD data = static_cast<DWORD>(value);
    error = SetPrinterDataW(ctx->printer, const_cast<LPWSTR>(name), REG_DWORD, reinterpret_cast<LPBYTE>(const_cast<DWORD*>(&data)), 4);
  } else {
    error = DeletePrinterDataW(ctx->printer, const_cast<LPWSTR>(name));
    if (error == ERROR_FILE_NOT_FOUND) error = 0;
  }
  if (error) UiShowSystemError(ctx, error, page->window);
  return error == 0;
}

int HiddenFunctionsOk(DriverContext* ctx, DlgPageRecord* page) {
  if (!StoreOrDelete(ctx, TEXT("OMFSave"), ItemGetRawById(ctx, kItemHidden2Func3), page)) return 1;
  if (!StoreOrDelete(ctx, TEXT("ODFSave"), ItemGetRawById(ctx, kItemHidden2Func4), page)) return 1;
  if (ItemGetRawById(ctx, kItemHidden2Func5) && DlgRunSubDialog(ctx, kModeModal, kPageDiskLimit, page->window) != IDOK) {
    DlgRefreshControls(ctx, page, 1);
    return 1;
  }
  return 0;
}

int DiskLimitControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                     WPARAM wParam) {
  if (message == WM_PASTE && control && control->controlId == kCtlDiskLimit) return 1;
  if (message != WM_COMMAND || control || LOWORD(wParam) != IDOK) return 0;
  const LONG limit = static_cast<LONG>(ItemGetRawById(ctx, kItemDiskSpace));
  if (limit == -1) {
    WuiSetFocus(Child(page, kCtlDiskLimit));
    return 1;
  }
  const DWORD data = static_cast<DWORD>(limit);
  const DWORD error = SetPrinterDataW(ctx->printer, const_cast<LPWSTR>(TEXT("DiskLimit")), REG_DWORD,
                                      reinterpret_cast<LPBYTE>(const_cast<DWORD*>(&data)), 4);
  if (error) {
    UiShowSystemError(ctx, error, page->window);
    return 1;
  }
  return 0;
}

int PrintPostControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                     WPARAM wParam, LPARAM lParam) {
  if (!control) return 0;
  const WORD id = control->controlId;
  if (id < kCtlTrayNameFirst || id > kCtlTrayNameLast || ((id - kCtlTrayNameFirst) & 1)) return 0;
  switch (message) {
    case WM_SETFOCUS:
      ItemSetRawById(ctx, kItemPrintPostTrayNo, (id - kCtlTrayNameFirst) / 2 + 1);
      DlgRefreshControls(ctx, page, 0);
      return 0;
    case WM_KILLFOCUS:
      ItemSetRawById(ctx, kItemPrintPostTrayNo, 0);
      DlgRefreshControls(ctx, page, 0);
      return 0;
    case WM_COMMAND: {
      if (HIWORD(wParam) != EN_CHANGE) return 0;
      RunCommand(ctx, page, control, wParam, lParam);
      DlgReinitOutputTrayChoices(ctx);
      return 1;
    }
    default:
      return 0;
  }
}

// The combos whose choice marks the sheet changed at once.
int ImmediateCombo(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam,
                   LPARAM lParam) {
  static const WORD kCombos[] = {2007, 2017, 2023, 2053, 2070};
  if (!control || message != WM_COMMAND || HIWORD(wParam) != CBN_SELCHANGE || !IsOneOf(control->controlId, kCombos, 5))
    return 0;
  RunCommand(ctx, page, control, wParam, lParam);
  if (page->window) WuiSend(WuiParent(page->window), PSM_CHANGED, reinterpret_cast<WPARAM>(page->window), 0);
  DlgRefreshControls(ctx, page, 0);
  return 1;
}


// The initial-settings page.
constexpr WORD kPageInit = 1010;
constexpr WORD kPageFinish = 1004;
constexpr WORD kPageVersion = 1025;
constexpr WORD kPageVersion2 = 4027;
constexpr WORD kCtlVersionStatusList = 3086;
constexpr WORD kTextFitMetric = 10100;
constexpr WORD kTextFitInch = 10101;
constexpr WORD kTextPrintAreaChanged = 10056;
constexpr BYTE kModelMovedMultiTray = 140;

int InitPageControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam,
                    LPARAM lParam) {
  if (message == WM_INITDIALOG && !control) {
    if (CtxModelRecord(ctx)->modelCode == kModelMovedMultiTray) {
      RECT manual;
      HWND multi = Child(page, 2411);
      if (multi && WuiGetRect(Child(page, 2540), &manual)) WuiMove(multi, &manual, TRUE);
    }
    return 0;
  }
  if (!control) return 0;
  const WORD id = control->controlId;
  switch (id) {
    case 2877:
      if (message == WM_PAINT && control->window && WuiIsVisible(control->window)) {
        WCHAR text[256];
        if (ResLoadString(ctx, ItemUsesInchPapers(ctx) ? kTextFitInch : kTextFitMetric, text, 256, TRUE))
          WuiSetText(control->window, text);
      }
      return 0;
    case 2570:
      if (message != WM_COMMAND) return 0;
      JcOpenUi(ctx);
      JcSendLanguageUi(ctx);
      JcCloseUi(ctx);
      return 0;
    case kCtlUserId:
      return message == WM_PASTE ? GuardPaste(page, InpPasteLettersAndDigits, kUserIdBytes) : 0;
    case 2160:
      if (message != WM_COMMAND || BidiUpdateFromPrinterUi(ctx, page->window)) return 0;
      BidiSetPendingBySupport(ctx);
      BidiShowFailure(ctx, page->window);
      return 1;
    case 2112:
      if (message != WM_COMMAND) return 0;
      BidiAcquireStatusBlobs(ctx, page->window);
      JcFetchPropertiesOnceUi(ctx, kJcMaskUserCode);
      return 0;
    case 2152: {
      if (message != WM_COMMAND || HIWORD(wParam) != CBN_SELCHANGE || !control->window) return 0;
      const int selected = WuiChoiceSelection(control->window);
      if (selected >= 0 && control->item &&
          static_cast<LONG_PTR>(WuiChoiceData(control->window, selected)) != ItemGetValue(ctx, control->item))
        UiWarnOk(ctx, page->window, kTextPrintAreaChanged);
      return 0;
    }
    case 2159: {
      static const WORD kLabels[] = {2410, 2411, 2412, 2413, 2538, 2566, 2770, 2539, 2540};
      for (WORD label : kLabels)
        if (DlgControlRecord* c = CtlFind(ctx, page, label)) CtlPaintTrayLabels(ctx, page, c, message);
      return 0;
    }
    default:
      return CtlPaintTrayLabels(ctx, page, control, message);
  }
}

// The finishing page's default button under a default lock keeps the staple and punch types
// the lock allows.
int FinishDefault(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam,
                  LPARAM lParam) {
  if (!control || control->controlId != 2107 || message != WM_COMMAND ||
      !BuildHasFeature(ctx, kBuildFeatureSettingLocks))
    return 0;
  RunCommand(ctx, page, control, wParam, lParam);
  if (ItemLockDefault(ctx)) {
    const struct {
      WORD item;
      WORD control;
    } kKinds[] = {{kItem_zdmFuncSelectStaple, 2100}, {kItem_zdmFuncSelectPunch, 2102}};
    for (const auto& k : kKinds) {
      if (!ItemGetRawById(ctx, k.item)) continue;
      DlgControlRecord* kind = CtlFind(ctx, page, k.control);
      if (kind && kind->item) DmRunItemTransact(ctx, kind->item->id);
    }
  }
  return 1;
}

// The version dialogs show the model's substitute version while they are open, and the
// settings summary in their status list.
int VersionControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message, WPARAM wParam) {
  if (message == WM_PAINT && control && control->controlId == kCtlVersionStatusList) {
    SummaryComposeText(ctx, page, control);
    return 0;
  }
  WCHAR* saved = ctx->ui->savedDriverVersion;
  SettingItem* version = ItemFind(ctx, kItem_wdmDriverVersion);
  if (message == WM_INITDIALOG && !control) {
    WCHAR dummy[9] = {};
    IniReadString(TEXT("common"), TEXT("DummyVersion"), TEXT(""), dummy, 9, PathModelDataFile(ctx));
    saved[0] = 0;
    if (dummy[0] && version) {
      ItemGetTextBounded(ctx, version, saved, 10);
      if (!saved[0]) saved[0] = 0;
      ItemSetText(ctx, version, dummy);
      if (!saved[0]) {
        // An empty version is remembered as a single blank so that OK still puts it back.
        saved[0] = L' ';
        saved[1] = 0;
      }
    }
    return 0;
  }
  if (message == WM_COMMAND && !control && LOWORD(wParam) == IDOK && saved[0]) {
    if (version) ItemSetText(ctx, version, saved[0] == L' ' && !saved[1] ? TEXT("") : saved);
    saved[0] = 0;
  }
  return 0;
}

}  // namespace

BOOL PrnJobMergeFile(DriverContext* ctx, const WCHAR* name, WCHAR* folder, WCHAR* file) {
  WCHAR setting[MAX_PATH + 1];
  WCHAR extension[MAX_PATH + 1];
  const LPCWSTR ini = ctx && ctx->ui ? ctx->ui->settingsFilePath : TEXT("");
  const LPCWSTR section = ctx && ctx->ui ? ctx->ui->printerName : TEXT("");
  IniReadString(section, TEXT("DrvDefJobMergePath"), TEXT("<OS>\\Temp\\Omp"), setting, MAX_PATH + 1, ini);
  IniReadString(section, TEXT("DrvDefJobMergeFileExt"), TEXT("omp"), extension, MAX_PATH + 1, ini);
  WCHAR windows[MAX_PATH];
  OsGetSystemWindowsDir(windows, MAX_PATH);
  if (!InpExpandJobMergeFolder(setting, windows, folder, MAX_PATH)) return FALSE;
  return InpJoinJobMergeFile(folder, name, extension, file, MAX_PATH);
}

void PrnPushAuthentication(DriverContext* ctx) {
  const bool mode = ItemGetRawById(ctx, kItem_zdmPrnFuncAuthenticationMode) != 0;
  JcOpenUi(ctx);
  if (mode && ItemAuthTextsPresent(ctx, 1)) {
    JcPushOpenUi(ctx, kPrnMaskAuthUser);
    ItemSetAuthCharsets(ctx, 1);
  } else {
    JcDeleteProperty(ctx, kPrnPropertyAuthUser);
    if (SettingItem* user = ItemFind(ctx, kItem_wdmAuthenticationUserName)) ItemSetText(ctx, user, TEXT(""));
  }
  if (mode && ItemAuthTextsPresent(ctx, 2)) {
    JcPushOpenUi(ctx, kPrnMaskAuthPassword);
    ItemSetAuthCharsets(ctx, 2);
  } else {
    if (SettingItem* password = ItemFind(ctx, kItem_wdmAuthenticationPassword)) ItemSetText(ctx, password, TEXT(""));
    JcPushOpenUi(ctx, kPrnMaskAuthPassword);
  }
  JcCloseUi(ctx);
}

int PrnMethodHandleControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                           WPARAM wParam, LPARAM lParam, void*) {
  if (!ctx || !ctx->ui || !page) return 0;
  // A command is offered to every control of the page: each takes only its own.
  if (message == WM_COMMAND && control && LOWORD(wParam) != control->controlId) return 0;
  const WORD id = control ? control->controlId : 0;
  if (message == kDlgMsgChangeRefused) {
    if (page->dialogId == kPagePrintType || page->dialogId == kPageAuthentication) FocusAfterAlert(ctx, page, wParam);
    return 1;
  }
  const bool authentication = BuildHasFeature(ctx, kBuildFeatureAuthentication) != 0;
  switch (page->dialogId) {
    case 1001:
    case 1002:
      return ImmediateCombo(ctx, page, control, message, wParam, lParam);
    case kPageFinish:
      return FinishDefault(ctx, page, control, message, wParam, lParam);
    case kPageInit:
      return InitPageControl(ctx, page, control, message, wParam, lParam);
    case kPageVersion:
    case kPageVersion2:
      return VersionControl(ctx, page, control, message, wParam);
    case kPagePrintType:
      return PrintTypeControl(ctx, page, control, id, message, wParam, lParam);
    case kPagePasswordInput:
      return ConfirmationControl(page, control, kCtlPasswordConfirm, 0, message, wParam);
    case kPageAdvanced:
      return authentication ? AdvancedControl(ctx, page, control, id, message, wParam, lParam) : 0;
    case kPageAuthPasswordInput:
      return authentication
                 ? ConfirmationControl(page, control, kCtlAuthPasswordConfirm, kInpFilterText, message, wParam)
                 : 0;
    case kPageNetworkKeyInput:
      return authentication
                 ? ConfirmationControl(page, control, kCtlNetworkKeyConfirm, kInpFilterPrintable, message, wParam)
                 : 0;
    case kPageAuthentication:
      return authentication ? AuthenticationControl(ctx, page, control, id, message, wParam) : 0;
    case kPagePrintPost:
      return PrintPostControl(ctx, page, control, message, wParam, lParam);
    case kPageHiddenFunc:
      return message == WM_COMMAND && !control && LOWORD(wParam) == IDOK ? HiddenFunctionsOk(ctx, page) : 0;
    case kPageDiskLimit:
      return DiskLimitControl(ctx, page, control, message, wParam);
    case kPageUserCodeInput:
      if (message == WM_COMMAND && !control && LOWORD(wParam) == IDOK)
        return DlgRunSubDialog(ctx, kModeModal, kPageUserCodeConfirm, page->window) == IDNO ? 1 : 0;
      return 0;
    default:
      return 0;
  }
}
