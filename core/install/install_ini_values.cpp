// The install ini's user code, identification and authentication keys: each checked, written
// into its item (and from there to printer data, the per-printer defaults ini or the
// job-control interface) and deleted, so that no value is applied twice.
#include <string.h>

#include "core/bind/job_control.h"
#include "core/common/file_ops.h"
#include "core/common/ini_access.h"
#include "core/common/text.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/install/install_ini.h"
#include "core/install/install_ini_defaults.h"
#include "core/install/install_ini_keys.h"
#include "core/store/item_store.h"
#include "core/system/settings_folders.h"
#include "core/tables/build_switches.h"
#include "core/store/store_keys.h"

using inst_keys::DeleteKey;
using inst_keys::ReadKey;

namespace {

const WCHAR kEmpty[1] = {0};
const WCHAR kAbsent[] = TEXT("*");

// Job-control property bits (the job items).
constexpr DWORD kJcUserCode = 0x0001;
constexpr DWORD kJcOwner = 0x0002;
constexpr DWORD kJcUserId = 0x0008;
constexpr DWORD kJcAuthUserName = 0x0800;
constexpr DWORD kJcNetworkKey = 0x2000;
constexpr DWORD kJcPropertyAuthUserName = 9;


// The ANSI form of text (at most cbAnsi - 1 bytes); false when it does not fit whole.
bool ToAnsi(const WCHAR* text, char* ansi, int cbAnsi) {
  StrWideToAnsi(ansi, text, cbAnsi);
  // A text cut to the buffer would pass a length check it fails: convert once more with room.
  char wide[1024];
  StrWideToAnsi(wide, text, sizeof wide);
  return strcmp(ansi, wide) == 0;
}

// At most maxChars ASCII letters or digits.
bool IsAlnumText(const WCHAR* text, DWORD maxChars) {
  DWORD n = 0;
  for (; text[n]; ++n) {
    WCHAR c = text[n];
    bool ok = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (!ok || n >= maxChars) return false;
  }
  return true;
}

void SetText(DriverContext* ctx, WORD id, const WCHAR* text) { ItemSetText(ctx, ItemFind(ctx, id), text); }

// The user code items go to the job-control interface, the job items and printer data.
void PublishUserCode(DriverContext* ctx) {
  JcPushPropertiesUi(ctx, kJcUserCode);
  JcSaveJobItems(ctx, kJcUserCode);
  StoreWriteItemPrinterData(ctx->printer, ctx, ItemFind(ctx, kItem_zdmLogCodeUse));
  StoreWriteItemPrinterData(ctx->printer, ctx, ItemFind(ctx, kItem_zdmLogCode));
}

// "0" or "1" (empty reads as 0) into *value; false for any other text.
bool ReadSwitch(const WCHAR* text, LONG_PTR* value) {
  if (!text[0]) {
    *value = 0;
    return true;
  }
  if ((text[0] == '0' || text[0] == '1') && !text[1]) {
    *value = text[0] - '0';
    return true;
  }
  return false;
}

}  // namespace

int InstApplyUserCode(const WCHAR* iniPath, const WCHAR* printerName, int* present, DriverContext* ctx) {
  if (present) *present = 0;
  if (!iniPath || !printerName || !ctx || !ctx->ui) return 0;
  StoreMutexHold hold(ctx);
  InstallState& state = ctx->ui->install;
  state.userCodeHandledAtInstall = 0;
  // Nine characters: a longer code applies its first eight.
  WCHAR code[9];
  int applied = 0;
  int isPresent = 0;
  LONG_PTR printLog = 0;
  if (ReadKey(iniPath, printerName, TEXT("SetUserCode"), kAbsent, code, 9)) {
    isPresent = 1;
    if (code[0]) {
      char ansi[20];
      StrWideToAnsi(ansi, code, sizeof ansi);
      if (StrIsDigits(ansi)) {
        ItemSetRawById(ctx, kItem_zdmLogCodeUse, 1);
        SetText(ctx, kItem_zdmLogCode, code);
        SetText(ctx, kItem_zdmUserCode, code);
        PublishUserCode(ctx);
        state.userCodeHandledAtInstall = 1;
        printLog = 1;
        applied = 1;
      }
    } else {
      InstWriteUserCodeDefaults(printerName, 2, ctx);
      ItemSetRawById(ctx, kItem_zdmLogCodeUse, 0);
      ItemSetRawById(ctx, kItem_zdmUserCodeFIX, 0);
      SetText(ctx, kItem_zdmLogCode, nullptr);
      SetText(ctx, kItem_zdmUserCode, nullptr);
      PublishUserCode(ctx);
      state.userCodeHandledAtInstall = 1;
    }
  }
  ItemSetRawById(ctx, kItem_zdmPrintLog, printLog);
  DeleteKey(iniPath, printerName, TEXT("SetUserCode"));
  if (present) *present = isPresent;
  return applied;
}

int InstApplyUserIdentity(const WCHAR* iniPath, const WCHAR* printerName, DriverContext* ctx) {
  if (!iniPath || !printerName || !ctx || !ctx->ui) return 0;
  StoreMutexHold hold(ctx);
  InstallState& state = ctx->ui->install;
  state.authSetMask = 0;
  DWORD mask = 0;
  bool any = false;
  bool modeFromValue = false;

  WCHAR id[10];
  ReadKey(iniPath, printerName, TEXT("SetUserID"), kEmpty, id, 10);
  if (id[0]) {
    any = true;
    if (IsAlnumText(id, 8)) {
      SetText(ctx, kItem_zdmUserID, id);
      mask |= kJcUserId;
    }
  }
  DeleteKey(iniPath, printerName, TEXT("SetUserID"));

  WCHAR owner[18];
  ReadKey(iniPath, printerName, TEXT("SetOwnerID"), kEmpty, owner, 18);
  if (owner[0]) {
    any = true;
    char ansi[17];
    if (ToAnsi(owner, ansi, sizeof ansi)) {
      SetText(ctx, kItem_zdmOwnerName, owner);
      mask |= kJcOwner;
    }
  }
  DeleteKey(iniPath, printerName, TEXT("SetOwnerID"));

  if (BuildHasFeature(ctx, 0)) {
    const WCHAR kKeyMode[] = TEXT("SetAuthenticationMode");
    const WCHAR kKeySecure[] = TEXT("SetAuthenticationSecureMode");
    const WCHAR kKeyNetwork[] = TEXT("SetAuthenticationNetworkKey");
    const WCHAR kKeyUser[] = TEXT("SetAuthenticationUserName");
    auto modeOn = [&]() {
      ItemSetRawById(ctx, kItem_zdmPrnFuncAuthenticationMode, 1);
      DeleteKey(iniPath, printerName, kKeyMode);
    };

    WCHAR key[34];
    if (ReadKey(iniPath, printerName, kKeyNetwork, kAbsent, key, 34)) {
      any = true;
      if (!key[0]) {
        SetText(ctx, kItem_wdmAuthenticationNetworkKey, nullptr);
        state.authSetMask |= 0x0F;
        mask |= kJcNetworkKey;
      } else if (IsAlnumText(key, 32)) {
        SetText(ctx, kItem_wdmAuthenticationNetworkKey, key);
        state.authSetMask |= 0x07;
        mask |= kJcNetworkKey;
      }
      ItemSetRawById(ctx, kItem_zdmPrnFuncAuthenticationSecureMode, 1);
      DeleteKey(iniPath, printerName, kKeySecure);
      modeOn();
    }
    // The key is a secret: overwrite it before it goes, present or not (a missing file is
    // not made for it).
    if (FileExists(iniPath)) {
      IniWriteString(printerName, kKeyNetwork, TEXT(" "), iniPath);
      DeleteKey(iniPath, printerName, kKeyNetwork);
    }
    memset(key, 0, sizeof key);

    WCHAR value[130];
    LONG_PTR v = 0;
    if (ReadKey(iniPath, printerName, kKeySecure, kAbsent, value, 3)) {
      any = true;
      if (ReadSwitch(value, &v)) {
        ItemSetRawById(ctx, kItem_zdmPrnFuncAuthenticationSecureMode, v);
        state.authSetMask |= 0x03;
        if (value[0]) modeFromValue = true;
      }
      modeOn();
    }
    DeleteKey(iniPath, printerName, kKeySecure);

    if (ReadKey(iniPath, printerName, kKeyUser, kAbsent, value, 130)) {
      any = true;
      if (!value[0]) {
        SetText(ctx, kItem_wdmAuthenticationUserName, nullptr);
        state.authSetMask |= 0x31;
        mask |= kJcAuthUserName;
      } else if (IsAlnumText(value, 128)) {
        SetText(ctx, kItem_wdmAuthenticationUserName, value);
        state.authSetMask |= 0x11;
        mask |= kJcAuthUserName;
      }
      modeOn();
    }
    DeleteKey(iniPath, printerName, kKeyUser);

    if (ReadKey(iniPath, printerName, kKeyMode, kAbsent, value, 3)) {
      any = true;
      if (ReadSwitch(value, &v)) {
        ItemSetRawById(ctx, kItem_zdmPrnFuncAuthenticationMode, v);
        state.authSetMask |= 0x01;
        if (value[0]) modeFromValue = true;
      }
    }
    DeleteKey(iniPath, printerName, kKeyMode);
  }

  if (mask || modeFromValue) {
    if (mask) {
      if (state.authSetMask & kInstAuthNetworkKeyEmptied) {
        SetText(ctx, kItem_wdmAuthenticationNetworkKey, nullptr);
        JcPushPropertiesUi(ctx, kJcNetworkKey);
        mask &= ~kJcNetworkKey;
      }
      if (state.authSetMask & kInstAuthUserNameEmptied) {
        const bool hadSession = ctx->ui->jobControl.session != 0;
        if (hadSession || JcOpenSession(ctx) == 0) {
          JcDeleteProperty(ctx, kJcPropertyAuthUserName);
          if (!hadSession) JcCloseSession(ctx);
        }
        mask &= ~kJcAuthUserName;
      }
      if (mask) {
        JcPushPropertiesUi(ctx, mask);
        JcSaveJobItems(ctx, mask);
      }
    }
    FileClearReadOnly(iniPath);
    InstSetDrvInstSet(iniPath, printerName, 1);
  }
  return any ? 1 : 0;
}

int InstWriteUserCodeDefaults(const WCHAR* printerName, int kind, DriverContext* ctx) {
  if (!printerName || !ctx || kind < 0 || kind > 2) return 0;
  WCHAR path[MAX_PATH];
  if (!InstDefaultsIniPath(path, MAX_PATH, ctx)) return 0;
  int written = 0;
  CtxLockGlobalMutex(ctx);
  if (kind == 0 || kind == 2) {
    IniWriteString(printerName, TEXT("UserCode"), TEXT("0"), path);
    IniWriteString(printerName, TEXT("UserCodeFIX"), TEXT("0"), path);
    if (kind == 0) IniWriteString(printerName, TEXT("UserCodeString"), kEmpty, path);
  }
  if (kind == 2) {
    written = 1;
  } else {
    WCHAR code[64];
    code[0] = 0;
    SettingItem* item = ItemFind(ctx, kItem_zdmLogCode);
    if (ItemGetRawById(ctx, kItem_zdmLogCodeUse) && item) ItemGetTextBounded(ctx, item, code, 64);
    if (code[0]) {
      IniWriteString(printerName, TEXT("UserCode"), TEXT("1"), path);
      IniWriteString(printerName, TEXT("UserCodeFIX"), TEXT("1"), path);
      IniWriteString(printerName, TEXT("UserCodeString"), code, path);
      if (kind == 1) IniWriteString(TEXT("ORVEL UserCode"), TEXT("MRUUserCode"), code, path);
      written = 1;
    }
  }
  CtxUnlockGlobalMutex(ctx);
  return written;
}
