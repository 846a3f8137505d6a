// Importing a default pack into a printer: the installer's pack that the install ini names and
// the driver's own pack that the model data file names. A pack is a settings file whose
// language section holds the device settings and the lists of preset and quality files, with
// custom-size and watermark sections of the usual names.
#include "core/install/default_packs.h"

#include <string.h>

#include "core/bind/job_control.h"
#include "core/common/file_ops.h"
#include "core/common/ini_access.h"
#include "core/common/locks.h"
#include "core/common/mem.h"
#include "core/common/path_text.h"
#include "core/common/text.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/store/free_size_store.h"
#include "core/install/install_ini.h"
#include "core/install/install_ini_defaults.h"
#include "core/store/item_store.h"
#include "core/store/preset_files.h"
#include "core/store/settings_file.h"
#include "core/store/settings_stores.h"
#include "core/store/stamp_store.h"
#include "core/store/store_keys.h"
#include "core/system/driver_paths.h"
#include "core/system/languages.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "core/system/terminal_server.h"
#include "core/tables/build_switches.h"

namespace {

constexpr DWORD kPath = 260;
constexpr DWORD kText = 260;
// Job items pushed and saved after an installer's pack: owner, job password, user ID, document
// name, stored password, authentication user name and password, network key.
constexpr DWORD kIdentityMask = 0x389E;
constexpr DWORD kUserCodeMask = 0x1;
constexpr DWORD kListAndKeep = 0x101;
constexpr int kJobMergeDefaultRst = 1;
constexpr int kJobMergeBothPacks = 3;
constexpr int kJobMergeBatchPack = 4;

bool DriveRooted(const WCHAR* path) {
  return path && ((path[0] >= u'A' && path[0] <= u'Z') || (path[0] >= u'a' && path[0] <= u'z')) && path[1] == u':';
}

// The text of an item kept across the pack load.
struct KeptText {
  WORD id;
  WCHAR text[kText];
  void Keep(DriverContext* ctx) {
    text[0] = 0;
    SettingItem* row = ItemFind(ctx, id);
    if (row) ItemGetTextBounded(ctx, row, text, kText);
  }
  void Restore(DriverContext* ctx) const {
    SettingItem* row = ItemFind(ctx, id);
    if (row) ItemSetText(ctx, row, text);
  }
};

// The install ini's key written after its read-only attribute was cleared, under the mutex.
void WriteInstallKey(const WCHAR* ini, const WCHAR* section, const WCHAR* key, const WCHAR* value) {
  LockGlobalMutex();
  FileClearReadOnly(ini);
  IniWriteString(section, key, value, ini);
  UnlockGlobalMutex();
}

// The device settings of the pack's language section, then its preset and quality lists.
int ImportPackLists(const WCHAR* pack, const WCHAR* lang, DWORD flags, DriverContext* ctx) {
  StoreRwExtendedSection(pack, kStoreFileText | kStoreFileRead, ctx);
  int presets = InstImportPresetFiles(pack, lang, flags, ctx, 0, nullptr);
  int qualities = InstImportQualityFiles(pack, lang, flags, ctx);
  return presets && qualities ? 1 : 0;
}

// The install ini's DefaultRst, the pack's code in its language section under zdmUserCode's
// key: 1 when its first 8 characters are digits.
bool PackHasUserCode(const WCHAR* pack, const WCHAR* lang, DriverContext* ctx) {
  const WCHAR* key = ItemGetName(ctx, kItem_zdmUserCode);
  if (!key || !key[0]) return false;
  WCHAR code[16];
  IniReadString(lang, key, TEXT(""), code, 16, pack);
  for (int i = 0; i < 8; ++i)
    if (code[i] < u'0' || code[i] > u'9') return false;
  return true;
}

}  // namespace

void InstImportPackStores(const WCHAR* pack, DriverContext* ctx) {
  if (!pack || !pack[0] || !ctx || !ctx->ui) return;
  LPCWSTR lang = ResGetLangCode(ctx);
  if (!lang || !lang[0]) return;
  const int sizes = int(IniReadInt(lang, TEXT("FreeSizeCount"), 0, pack));
  for (int n = 0; n < sizes && n < FreeSizeSlotCount(ctx); ++n) {
    WCHAR section[64];
    FreeSizeSectionName(section, 64, n, ctx);
    for (WORD id = kItem_wdmFreeSizeName; id <= kItem_wdmFreeSizeOrient; ++id) ItemSetRawById(ctx, id, 0);
    if (StoreSectionTransfer(ctx, pack, section, kStoreFileCustomSize | kStoreFileRead)) FreeSizeSaveSlot(ctx, n);
  }
  const LONG_PTR keptWatermark = ItemGetRawById(ctx, kItem_zdmWmID);
  const LONG stamps = StampGetCountIn(pack, lang);
  if (stamps > StampGetCount(ctx)) StampSetCount(ctx, stamps);
  for (int n = 0; n < stamps; ++n) {
    StampLoadSlotFrom(ctx, pack, n);
    StampSave(ctx, n);
  }
  ItemSetRawById(ctx, kItem_zdmWmID, keptWatermark);
}

int InstImportDefaultPack(DWORD flags, DriverContext* ctx, int batch) {
  if (!ctx || !ctx->ui || !ctx->settings) return 0;
  const WCHAR* ini = InstIniPath(ctx);
  const WCHAR* printer = PrnGetPrinterName(ctx);
  if (!ini[0] || !printer[0] || !FileExists(ini)) return 0;
  const bool sectionEmpty = InstIniSectionIsEmpty(ini, printer) != 0;
  const bool multiSession = OsIsMultiSessionHost(ctx->printer) != 0;
  bool wanted = !sectionEmpty;
  if (!wanted && batch && multiSession) {
    UINT done = IniReadInt(printer, StrKeyBatchInstallDone(), 0, ini);
    wanted = done != 0;
  }
  if (!wanted) return 0;

  WCHAR pack[kPath];
  pack[0] = 0;
  if (sectionEmpty && multiSession) {
    const WCHAR* settings = PathSettingsFile(ctx);
    if (DriveRooted(settings)) IniReadString(printer, TEXT("DefaultRst"), TEXT(""), pack, kPath, settings);
  } else if (DriveRooted(ini)) {
    IniReadString(printer, TEXT("DefaultRst"), TEXT(""), pack, kPath, ini);
  }
  if (!pack[0]) {
    // Nothing named: only the batch pack of an earlier install is forgotten.
    InstWriteJobMergeKeys(ctx, kJobMergeBatchPack, nullptr);
    return 0;
  }
  if (!PathResolveInDriverFolder(pack, kPath, ctx)) pack[0] = 0;

  int result = 0;
  LPCWSTR lang = ResGetLangCode(ctx);
  if (pack[0] && lang && lang[0] && PathHasShortExtension(pack) && FileExists(pack)) {
    BYTE* kept = static_cast<BYTE*>(MemAllocZero(kSettingsBlockSize));
    if (kept) {
      memcpy(kept, ctx->settings, kSettingsBlockSize);
      const bool auth = BuildHasFeature(ctx, kBuildFeatureAuthentication) != 0;
      KeptText user = {kItem_zdmUserID, {}}, owner = {kItem_zdmOwnerName, {}};
      KeptText networkKey = {kItem_wdmAuthenticationNetworkKey, {}}, userName = {kItem_wdmAuthenticationUserName, {}};
      user.Keep(ctx);
      owner.Keep(ctx);
      LONG_PTR authMode = 0, secureMode = 0;
      if (auth) {
        authMode = ItemGetRawById(ctx, kItem_zdmPrnFuncAuthenticationMode);
        secureMode = ItemGetRawById(ctx, kItem_zdmPrnFuncAuthenticationSecureMode);
        networkKey.Keep(ctx);
        userName.Keep(ctx);
      }
      StoreLoadSettingsFile(ctx->printer, pack, kStoreFileText, ctx);
      StoreRwExtendedSection(pack, kStoreFileText | kStoreFileRead, ctx);
      ItemSetRawById(ctx, kItem_zdmPresentUIMode, ItemGetRawById(ctx, kItem_zdmUIModeChange) != 0 ? 1 : 0);
      if (user.text[0]) user.Restore(ctx);
      if (owner.text[0]) owner.Restore(ctx);
      const BYTE mask = ctx->ui->install.authSetMask;
      if (auth && (mask & kInstAuthNetworkKeySet)) networkKey.Restore(ctx);
      if (auth && (mask & kInstAuthUserNameSet)) userName.Restore(ctx);
      result = ImportPackLists(pack, lang, flags | kListAndKeep, ctx);
      if (!result) memcpy(ctx->settings, kept, kSettingsBlockSize);
      if (auth && (mask & kInstAuthModeSet)) ItemSetRawById(ctx, kItem_zdmPrnFuncAuthenticationMode, authMode);
      if (auth && (mask & kInstAuthSecureModeSet))
        ItemSetRawById(ctx, kItem_zdmPrnFuncAuthenticationSecureMode, secureMode);
      MemFree(kept);
    }
    InstWriteJobMergeKeys(ctx, kJobMergeBothPacks, pack);
  } else {
    InstWriteJobMergeKeys(ctx, kJobMergeBatchPack, nullptr);
  }

  if (result) {
    InstImportPackStores(pack, ctx);
    DWORD mask = kIdentityMask;
    WCHAR named[8];
    named[0] = 0;
    if (DriveRooted(ini)) IniReadString(printer, TEXT("DefaultRst"), TEXT(""), named, 8, ini);
    if (!ctx->ui->install.userCodeHandledAtInstall && named[0] && PackHasUserCode(pack, lang, ctx)) {
      mask |= kUserCodeMask;
      ItemSetRawById(ctx, kItem_zdmPrintLog, 0);
      StoreWriteItemPrinterData(ctx->printer, ctx, ItemFind(ctx, kItem_zdmLogCodeUse));
      StoreWriteItemPrinterData(ctx->printer, ctx, ItemFind(ctx, kItem_zdmLogCode));
    }
    JcPushPropertiesUi(ctx, mask);
    JcSaveJobItems(ctx, mask);
    InstSetDrvInstSet(ini, printer, 1);
  }

  InstSetBatchInstallDone(ini, printer, 1);
  InstMarkBatchInstallDone(PathSettingsFile(ctx), printer, 1, 1, ctx);
  WriteInstallKey(ini, printer, TEXT("DefaultRstName"), pack);
  WriteInstallKey(ini, printer, TEXT("DefaultRst"), nullptr);
  return result;
}

int InstImportDriverDefaultPack(DWORD flags, int kind, DriverContext* ctx) {
  if (!ctx || !ctx->ui) return 1;
  const WCHAR* printer = PrnGetPrinterName(ctx);
  LPCWSTR lang = ResGetLangCode(ctx);
  const WCHAR* model = PathModelDataFile(ctx);
  WCHAR pack[kPath];
  pack[0] = 0;
  if (lang && lang[0] && DriveRooted(model)) IniReadString(lang, TEXT("DefaultRst"), TEXT(""), pack, kPath, model);
  bool present = pack[0] && PathResolveInDriverFolder(pack, kPath, ctx) && FileExists(pack);
  if (present) {
    int extensionChars = 0;
    LPCWSTR extension = PathFindExtension(pack, &extensionChars);
    present = extension && extensionChars == 3 && (extension[0] | 0x20) == u'r' && (extension[1] | 0x20) == u's' &&
              (extension[2] | 0x20) == u'b';
  }
  int imported = present ? ImportPackLists(pack, lang, flags | 0x1, ctx) : 0;
  InstMarkBatchInstallDone(PathSettingsFile(ctx), printer, imported ? 1 : 0, kind != 2, ctx);
  ItemSetRawById(ctx, kItem_zdmBatchInst, imported ? 1 : 0);
  if (present) InstWriteJobMergeKeys(ctx, kJobMergeDefaultRst, pack);
  InstWriteJobMergeKeys(ctx, kJobMergeBatchPack, nullptr);
  const WCHAR* ini = InstIniPath(ctx);
  if (ini[0] && FileExists(ini)) {
    WriteInstallKey(ini, printer, TEXT("DefaultRstName"), nullptr);
    WriteInstallKey(ini, printer, StrKeyBatchInstallDone(), nullptr);
  }
  return 1;
}
