// The pending housekeeping of the entry points: the one-time corrections, a client's first use
// of a shared printer, the upgrade of stored settings after a new driver, and on a
// multi-session host the user's own copies of the printer's settings. The stamps and version
// keys written here are its whole memory: a step whose keys are not written runs again.
#include "core/install/pending_housekeeping.h"

#include "core/bind/job_control.h"
#include "core/bind/print_notification.h"
#include "core/common/file_ops.h"
#include "core/common/ini_access.h"
#include "core/common/locks.h"
#include "core/common/mem.h"
#include "core/common/os_tests.h"
#include "core/common/path_text.h"
#include "core/common/text.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/devmode/dm_convert.h"
#include "core/front/ui_busy.h"
#include "core/items/derived_settings.h"
#include "core/install/corrections.h"
#include "core/install/default_packs.h"
#include "core/install/install_ini_defaults.h"
#include "core/install/install_pass.h"
#include "core/store/item_store.h"
#include "core/store/lock_data.h"
#include "core/install/model_database.h"
#include "core/store/settings_file.h"
#include "core/store/store_keys.h"
#include "core/system/folder_security.h"
#include "core/system/languages.h"
#include "core/system/printer_data_dirs.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "core/system/terminal_server.h"
#include "core/system/user_profile.h"
#include "core/tables/build_switches.h"
#include "core/tables/model_record.h"

namespace {

constexpr DWORD kPath = 260;
constexpr DWORD kKey = 48;
constexpr int kMaxPresets = int(kStoreLimitPresets);
constexpr WORD kCopyReplace = 2;

// The time stamp of the local time.
void FormatLocalTime(WCHAR* buffer) {
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  StrFormatTimeStamp(buffer, &now);
}

const WCHAR* DriverVersion() {
  const ModelRecord* record = TblGetModelRecord();
  return record && record->modelVersion ? record->modelVersion : TEXT("");
}

DWORD SettingsVersion() {
  const ModelRecord* record = TblGetModelRecord();
  return record ? record->layoutVersion : 0;
}

// Holds the global mutex for a scope.
class MutexHold {
 public:
  MutexHold() { LockGlobalMutex(); }
  ~MutexHold() { UnlockGlobalMutex(); }
  MutexHold(const MutexHold&) = delete;
  MutexHold& operator=(const MutexHold&) = delete;
};

// The information records the caller did not give, fetched and freed with the holder.
struct Infos {
  const PRINTER_INFO_2W* info;
  const DRIVER_INFO_3W* driver;
  PRINTER_INFO_2W* ownInfo = nullptr;
  DRIVER_INFO_3W* ownDriver = nullptr;
  Infos(HANDLE printer, const PRINTER_INFO_2W* given, const DRIVER_INFO_3W* givenDriver)
      : info(given), driver(givenDriver) {
    if (!info) info = ownInfo = static_cast<PRINTER_INFO_2W*>(PrnGetPrinterInfo(printer, 2));
    if (!driver) driver = ownDriver = static_cast<DRIVER_INFO_3W*>(PrnGetDriverInfo(printer, 3));
  }
  ~Infos() {
    MemFree(ownInfo);
    MemFree(ownDriver);
  }
  Infos(const Infos&) = delete;
  Infos& operator=(const Infos&) = delete;
};

// A context for the housekeeping's own steps, destroyed with the holder.
class ContextHold {
 public:
  ContextHold(HANDLE printer, WORD flags, const PRINTER_INFO_2W* info)
      : ctx_(CtxOpen(printer, printer, nullptr, flags, kKindSettings, 0, const_cast<PRINTER_INFO_2W*>(info))) {}
  ~ContextHold() { CtxRelease(ctx_, kReleaseExpired); }
  ContextHold(const ContextHold&) = delete;
  ContextHold& operator=(const ContextHold&) = delete;
  DriverContext* get() const { return ctx_ && ctx_->ui && ctx_->settings ? ctx_ : nullptr; }

 private:
  DriverContext* ctx_;
};

// The per-machine (perUser 0) or per-user settings ini and the printer's section, named as the
// ini wrappers name it (the section copies of the list files read it as it stands).
bool SettingsIniAndSection(HANDLE printer, const PRINTER_INFO_2W* info, int perUser, WCHAR* ini, WCHAR* section) {
  ini[0] = section[0] = 0;
  if (!(info ? PathSettingsFileOfFromInfo(ini, kPath, perUser, printer, info)
             : PathSettingsFileOf(ini, kPath, perUser, printer)) ||
      !ini[0])
    return false;
  if (!(info ? PrnGetPrinterNameOfFromInfo(printer, section, kPrinterNameChars, info)
             : PrnGetPrinterNameOf(printer, section, kPrinterNameChars)))
    return false;
  StoreSanitizeSection(section);
  return section[0] != 0;
}

bool IsAbsent(const WCHAR* value) { return value[0] == u'*' && !value[1]; }

// Compares the first 14 characters (the time stamp's digits): <0, 0 or >0.
int CompareStamp(const WCHAR* a, const WCHAR* b) {
  for (int i = 0; i < 14; ++i) {
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
    if (!a[i]) return 0;
  }
  return 0;
}

// A decimal version text; false when absent or not a number.
bool ReadVersion(const WCHAR* ini, const WCHAR* section, DWORD* version) {
  WCHAR text[16];
  IniReadString(section, TEXT("RstVersion"), TEXT("*"), text, 16, ini);
  if (IsAbsent(text) || text[0] < u'0' || text[0] > u'9') return false;
  DWORD value = 0;
  for (const WCHAR* p = text; *p >= u'0' && *p <= u'9' && value < 100000; ++p) value = value * 10 + DWORD(*p - u'0');
  *version = value;
  return true;
}

void WriteVersions(const WCHAR* ini, const WCHAR* section) {
  WCHAR version[16];
  wsprintfW(version, TEXT("%u"), unsigned(SettingsVersion()));
  MutexHold hold;
  IniWriteString(section, TEXT("RstVersion"), version, ini);
  IniWriteString(section, TEXT("DrvInstVersion"), DriverVersion(), ini);
}

void WriteDriverVersion(const WCHAR* ini, const WCHAR* section) {
  MutexHold hold;
  IniWriteString(section, TEXT("DrvInstVersion"), DriverVersion(), ini);
}

// Creates every folder of path that is missing; 1 when the whole path is a folder afterwards.
bool CreateFolders(const WCHAR* path, bool secure) {
  WCHAR part[kPath];
  const DWORD length = StrWideLength(path);
  if (length < 3 || length >= kPath) return false;
  for (DWORD i = 3; i <= length; ++i) {
    if (path[i] != u'\\' && path[i] != 0) continue;
    StrCopyCut(part, i + 1, path);
    if (GetFileAttributesW(part) != INVALID_FILE_ATTRIBUTES) continue;
    if (!CreateDirectoryW(part, nullptr)) return false;
    if (secure) {
      FolderSetAdminOwner(part, 1);
      FolderGrantEveryone(part, 1);
    }
  }
  DWORD attributes = GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// folder + "\" + the leaf of path (with the extension replaced when given). A leaf of "." or
// ".." is refused: a stored value must not lead out of the folder.
bool InFolder(WCHAR* target, const WCHAR* folder, const WCHAR* path, const WCHAR* extension) {
  WCHAR leaf[kPath];
  StrCopyCut(leaf, kPath, PathFindLeaf(path));
  if (!leaf[0] || StrWideEqual(leaf, TEXT(".")) || StrWideEqual(leaf, TEXT(".."))) return false;
  if (extension && !PathReplaceExtension(leaf, PathFindLeaf(path), extension, kPath)) return false;
  WCHAR joined[kPath];
  DWORD folderLength = StrWideLength(folder);
  if (!folderLength || folderLength + 1 >= kPath) return false;
  StrCopyCut(joined, kPath, folder);
  if (joined[folderLength - 1] != u'\\') {
    joined[folderLength] = u'\\';
    joined[folderLength + 1] = 0;
  }
  return StrJoin(target, kPath, joined, StrWideLength(joined), leaf) != 0;
}

int ListCount(const WCHAR* ini, const WCHAR* section, const WCHAR* key) {
  return int(StoreReadCount(section, key, StoreCountLimit(key), ini));
}

// One entry of a list kept across the copy.
struct ListEntry {
  WCHAR path[kPath];
  WCHAR name[kPath];
  WCHAR comment[kPath];
  bool hasName;
  bool hasComment;
};

// The user's own presets: entries of the user's list whose file is none of the machine's.
int CollectUserPresets(const WCHAR* userIni, const WCHAR* machineIni, const WCHAR* section, ListEntry* kept, int room) {
  const int userCount = ListCount(userIni, section, TEXT("Count"));
  const int machineCount = ListCount(machineIni, section, TEXT("Count"));
  int found = 0;
  for (int n = 0; n < userCount && n < kMaxPresets && found < room; ++n) {
    WCHAR key[kKey], value[kPath];
    StoreFormatKey(key, kKey, TEXT("PresetList"), n, nullptr);
    IniReadString(section, key, TEXT(""), value, kPath, userIni);
    if (!value[0]) continue;
    bool machine = false;
    for (int m = 0; m < machineCount && !machine; ++m) {
      WCHAR other[kPath];
      StoreFormatKey(key, kKey, TEXT("PresetList"), m, nullptr);
      IniReadString(section, key, TEXT(""), other, kPath, machineIni);
      machine = other[0] && lstrcmpiW(PathFindLeaf(other), PathFindLeaf(value)) == 0;
    }
    if (machine) continue;
    ListEntry& e = kept[found++];
    StrCopyCut(e.path, kPath, value);
    StoreFormatKey(key, kKey, TEXT("PresetList"), n, TEXT("Name"));
    IniReadString(section, key, TEXT("*"), e.name, kPath, userIni);
    e.hasName = !IsAbsent(e.name);
    StoreFormatKey(key, kKey, TEXT("PresetList"), n, TEXT("Comment"));
    IniReadString(section, key, TEXT("*"), e.comment, kPath, userIni);
    e.hasComment = !IsAbsent(e.comment);
  }
  return found;
}

// Writes "<prefix><n>", its Name and (for presets) Comment; absent texts delete the keys.
bool WriteEntry(const WCHAR* ini, const WCHAR* section, const WCHAR* prefix, int n, const ListEntry& e, bool comment) {
  WCHAR key[kKey];
  StoreFormatKey(key, kKey, prefix, n, nullptr);
  bool ok = IniWriteString(section, key, e.path, ini) != FALSE;
  StoreFormatKey(key, kKey, prefix, n, TEXT("Name"));
  if (ok) ok = IniWriteString(section, key, e.hasName ? e.name : nullptr, ini) != FALSE;
  if (comment) {
    StoreFormatKey(key, kKey, prefix, n, TEXT("Comment"));
    if (ok) ok = IniWriteString(section, key, e.hasComment ? e.comment : nullptr, ini) != FALSE;
  }
  return ok;
}

// The machine's list of one kind into the user's ini: each entry points at the same file name
// in the user's folder, which receives the machine file's sections. Entries are written before
// the count, so a failed write never leaves a count naming missing entries.
bool CopyList(const WCHAR* machineIni, const WCHAR* userIni, const WCHAR* section, const WCHAR* userFolder,
              bool presets, const ListEntry* extra, int extraCount) {
  const WCHAR* countKey = presets ? TEXT("Count") : TEXT("QualityCount");
  const WCHAR* prefix = presets ? TEXT("PresetList") : TEXT("QualityList");
  const int count = ListCount(machineIni, section, countKey);
  bool ok = true;
  int written = 0;
  ListEntry* e = static_cast<ListEntry*>(MemAllocZero(sizeof(ListEntry)));
  if (!e) return false;
  for (int n = 0; n < count; ++n) {
    WCHAR key[kKey], source[kPath];
    StoreFormatKey(key, kKey, prefix, n, nullptr);
    IniReadString(section, key, TEXT(""), source, kPath, machineIni);
    if (!source[0] || !InFolder(e->path, userFolder, source, nullptr)) {
      ok = false;
      continue;
    }
    int failed = 0;
    InstCopyIniSection(source, e->path, section, &failed);
    if (presets) {
      InstCopyIniSection(source, e->path, TEXT("condition"), &failed);
      InstCopyIniSection(source, e->path, TEXT("disable"), &failed);
    }
    if (failed) ok = false;
    StoreFormatKey(key, kKey, prefix, n, TEXT("Name"));
    IniReadString(section, key, TEXT("*"), e->name, kPath, machineIni);
    e->hasName = !IsAbsent(e->name);
    StoreFormatKey(key, kKey, prefix, n, TEXT("Comment"));
    IniReadString(section, key, TEXT("*"), e->comment, kPath, machineIni);
    e->hasComment = presets && !IsAbsent(e->comment);
    if (!WriteEntry(userIni, section, prefix, written, *e, presets)) ok = false;
    ++written;
  }
  for (int i = 0; i < extraCount && written < kMaxPresets; ++i)
    if (WriteEntry(userIni, section, prefix, written, extra[i], presets)) ++written;
  MemFree(e);
  WCHAR number[16];
  wsprintfW(number, TEXT("%d"), written);
  if (!IniWriteString(section, countKey, number, userIni)) ok = false;
  return ok;
}

}  // namespace

int InstWriteStamp(HANDLE printer, int type, int scope) {
  if (!OsIsMultiSessionHost(printer)) return 1;
  WCHAR ini[kPath], name[kPrinterNameChars], time[32], number[16];
  name[0] = 0;
  if (!PathSettingsFileOf(ini, kPath, scope == kInstStampUser ? 1 : 0, printer)) return 0;
  if (!PrnGetPrinterNameOf(printer, name, kPrinterNameChars) || !name[0]) return 0;
  FormatLocalTime(time);
  wsprintfW(number, TEXT("%d"), type);
  MutexHold hold;
  bool ok = IniWriteString(name, TEXT("DrvInstTime"), time, ini) != FALSE;
  if (ok && scope == kInstStampMachineFirst) ok = IniWriteString(name, TEXT("DrvFirstInstTime"), time, ini) != FALSE;
  if (ok) ok = IniWriteString(name, TEXT("DrvInstType"), number, ini) != FALSE;
  if (ok) ok = IniWriteString(name, TEXT("DrvInstVersion"), DriverVersion(), ini) != FALSE;
  return ok ? 1 : 0;
}

int InstReadUserStampState(HANDLE printer, DWORD* state, const PRINTER_INFO_2W* info) {
  if (state) *state = kInstUserStateCurrent;
  if (!state) return 0;
  WCHAR userIni[kPath], machineIni[kPath], section[kPrinterNameChars];
  if (!SettingsIniAndSection(printer, info, 1, userIni, section)) return 0;
  if (!SettingsIniAndSection(printer, info, 0, machineIni, section)) return 0;
  if (!FileExists(userIni)) {
    *state = kInstUserStateMissing;
    return 1;
  }
  MutexHold hold;
  WCHAR userTime[32], firstTime[32], machineTime[32];
  IniReadString(section, TEXT("DrvInstTime"), TEXT(""), userTime, 32, userIni);
  IniReadString(section, TEXT("DrvFirstInstTime"), TEXT(""), firstTime, 32, machineIni);
  if (!userTime[0] || CompareStamp(userTime, firstTime) < 0) {
    *state = kInstUserStateMissing;
    return 1;
  }
  IniReadString(section, TEXT("DrvInstTime"), TEXT(""), machineTime, 32, machineIni);
  if (machineTime[0] && CompareStamp(machineTime, userTime) > 0)
    *state = PrnGetAdminChange(printer, nullptr) ? kInstUserStateAdminChange : kInstUserStateReinstalled;
  return 1;
}

int InstCopyPresetFilesToUser(HANDLE printer) {
  Infos infos(printer, nullptr, nullptr);
  WCHAR machineIni[kPath], userIni[kPath], section[kPrinterNameChars], folder[kPath];
  if (!SettingsIniAndSection(printer, infos.info, 0, machineIni, section)) return 0;
  if (OsIsNt5OrLater()) {
    if (!SettingsIniAndSection(printer, infos.info, 1, userIni, section)) return 0;
    StrCopyCut(folder, kPath, userIni);
    WCHAR* leaf = const_cast<WCHAR*>(PathFindLeaf(folder));
    if (leaf > folder) leaf[-1] = 0;
  } else if (!PathGetUserSettingsFolderFromInfo(folder, kPath, printer, infos.info)) {
    return 0;
  }
  CreateFolders(folder, true);
  MutexHold hold;
  const struct {
    const WCHAR* countKey;
    const WCHAR* prefix;
    const WCHAR* extension;
  } lists[] = {{TEXT("Count"), TEXT("PresetList"), TEXT("rsd")}, {TEXT("QualityCount"), TEXT("QualityList"), TEXT("rsq")}};
  for (const auto& list : lists) {
    const int count = ListCount(machineIni, section, list.countKey);
    for (int n = 0; n < count; ++n) {
      WCHAR key[kKey], entry[kPath], source[kPath], target[kPath];
      StoreFormatKey(key, kKey, list.prefix, n, nullptr);
      IniReadString(section, key, TEXT(""), entry, kPath, machineIni);
      if (!entry[0] || !PathReplaceExtension(source, entry, list.extension, kPath)) continue;
      if (!InFolder(target, folder, source, nullptr)) continue;
      FileCopyByMode(target, source, kCopyReplace);
    }
  }
  return 1;
}

namespace {

// The upgrade short of the full pass: the driver's files imported again and the settings
// version synchronised; a refresh (a stored version of the same major, older minor) also
// revalidates the stores and, with the lock feature, makes the lock defaults' section.
void RefreshStoredSettings(HANDLE printer, DriverContext* ctx, bool refresh, const PRINTER_INFO_2W* info,
                           const DRIVER_INFO_3W* driverInfo) {
  InstImportInstallFiles(ctx, 0x1000);
  if (refresh) CtxRevalidateStores(printer, ctx);
  InstSyncPrinterInformation(printer, info, 1, ctx, info, driverInfo);
  if (refresh && BuildHasFeature(ctx, kBuildFeatureSettingLocks) && ItemLockDefault(ctx)) StoreEnsureDefaultSection(ctx);
}

}  // namespace

int InstUpgradeClientSettings(HANDLE printer, const WCHAR* settingsIni, const WCHAR* printerName,
                              const PRINTER_INFO_2W* info, const DRIVER_INFO_3W* driverInfo) {
  WCHAR ini[kPath], section[kPrinterNameChars];
  if (!SettingsIniAndSection(printer, info, 0, ini, section)) return 0;
  // The passes and imports below write the shared settings ini through contexts that take no
  // mutex of their own: held here, two processes' upgrades cannot drop each other's keys.
  MutexHold serialised;
  if (settingsIni) StrCopyCut(ini, kPath, settingsIni);
  if (printerName) StrCopyCut(section, kPrinterNameChars, printerName);
  DWORD stored = 0;
  const int comparison = ReadVersion(ini, section, &stored) ? DmCompareVersion(stored, SettingsVersion()) : 2;
  if (comparison == 0) {
    WCHAR version[32];
    IniReadString(section, TEXT("DrvInstVersion"), TEXT(""), version, 32, ini);
    if (lstrcmpiW(version, DriverVersion()) == 0) return 1;
  }
  if (comparison == 2 && !InstRunPrinterPass(printer, nullptr, kInstPassConnection, info, driverInfo)) return 0;
  ContextHold hold(printer, kOpenNoGlobalMutex | kOpenNoAdminCheck, info);
  DriverContext* ctx = hold.get();
  if (!ctx) return 0;
  JcInitForPrinter(ctx);
  if (comparison != 2) RefreshStoredSettings(printer, ctx, comparison == 1, info, driverInfo);
  WriteVersions(ini, section);
  PathSecureSettingsFolder(ctx);
  return 1;
}

int InstCheckClientSettings(HANDLE printer, const PRINTER_INFO_2W* info, const DRIVER_INFO_3W* driverInfo) {
  if (!OsIsNt5OrLater() || !PrnInfoIsOnServer(info)) return 1;
  WCHAR folder[kPath];
  folder[0] = 0;
  const int found = InstResolvePrinterDataDirFromInfo(printer, TEXT("_ZEMSDirectoryClient"), folder, kPath, info);
  if (found == -1) return 0;
  if (found == 1) return InstUpgradeClientSettings(printer, nullptr, nullptr, info, driverInfo);
  return 1;
}

int InstUpgradeBySettingVersion(HANDLE printer, DWORD state, const PRINTER_INFO_2W* info,
                                const DRIVER_INFO_3W* driverInfo) {
  // Serialised with the other processes, as the client upgrade above.
  MutexHold serialised;
  ContextHold hold(printer, kOpenNoGlobalMutex | kOpenNoAdminCheck, info);
  DriverContext* ctx = hold.get();
  if (!ctx) return 0;
  // 1 refresh, 2 full pass, 0 re-import.
  int action = 2;
  if (state != kInstUserStateMissing && state != kInstUserStateAdminChange) {
    WCHAR userIni[kPath], machineIni[kPath], section[kPrinterNameChars];
    if (!SettingsIniAndSection(printer, info, 1, userIni, section) ||
        !SettingsIniAndSection(printer, info, 0, machineIni, section))
      return 0;
    LPCWSTR lang = ResGetLangCodeAlias(ctx);
    DWORD user = 0, machine = 0;
    bool both;
    {
      MutexHold mutex;
      both = lang && lang[0] && ReadVersion(userIni, lang, &user) && ReadVersion(machineIni, lang, &machine);
    }
    if (!both) return 1;
    action = DmCompareVersion(user, machine);
  }
  JcInitForPrinter(ctx);
  if (BuildHasFeature(ctx, kBuildFeaturePrintNotification)) CtxQueryPrintNotification(ctx, 0);
  if (action == 2) {
    if (!InstRunPrinterPass(printer, nullptr, kInstPassUpgrade, info, driverInfo)) return 0;
    InstSyncPrinterInformationInto(PathSettingsFile(ctx), 0, ctx, info, driverInfo);
  } else {
    RefreshStoredSettings(printer, ctx, action == 1, info, driverInfo);
  }
  InstWriteUserJobFolders(printer);
  if (!InstWriteStamp(printer, 1, kInstStampUser)) return 0;
  PathSecureSettingsFolder(ctx);
  return 1;
}

int InstCopyBatchSettingsToUser(HANDLE printer, const PRINTER_INFO_2W* info, DWORD state) {
  WCHAR machineIni[kPath], userIni[kPath], section[kPrinterNameChars], folder[kPath], value[kPath];
  if (!SettingsIniAndSection(printer, info, 0, machineIni, section) ||
      !SettingsIniAndSection(printer, info, 1, userIni, section))
    return 1;
  StrCopyCut(folder, kPath, userIni);
  WCHAR* leaf = const_cast<WCHAR*>(PathFindLeaf(folder));
  if (leaf <= folder) return 1;
  leaf[-1] = 0;
  CreateFolders(folder, false);

  const bool keepUserPresets = state == kInstUserStateReinstalled || state == kInstUserStateAdminChange;
  ListEntry* kept = static_cast<ListEntry*>(MemAllocZero(sizeof(ListEntry) * kMaxPresets));
  if (!kept) return 1;
  bool ok = true;
  {
    MutexHold mutex;
    const int keptCount = keepUserPresets ? CollectUserPresets(userIni, machineIni, section, kept, kMaxPresets) : 0;
    IniReadString(section, TEXT("DefaultRst"), TEXT(""), value, kPath, machineIni);
    if (value[0]) {
      IniWriteString(section, TEXT("DefaultRst"), value, userIni);
      IniReadString(section, TEXT("BatchInstRst"), TEXT(""), value, kPath, machineIni);
      if (value[0]) {
        IniWriteString(section, TEXT("BatchInstRst"), value, userIni);
        ContextHold hold(printer, 0x301, info);
        DriverContext* ctx = hold.get();
        if (!ctx) {
          ok = false;
        } else {
          StoreLoadSettingsFile(printer, value, kStoreFileText, ctx);
          StoreRwExtendedSection(value, kStoreFileText | kStoreFileRead, ctx);
          InstImportPackStores(value, ctx);
          StoreSavePersistedItems(printer, ctx, 3, 0);
        }
      }
    }
    if (!CopyList(machineIni, userIni, section, folder, true, kept, keptCount)) ok = false;
    if (!CopyList(machineIni, userIni, section, folder, false, nullptr, 0)) ok = false;
  }
  MemFree(kept);
  return ok ? 0 : 1;
}

int InstRunPendingHousekeeping(HANDLE printer, DWORD flags, const PRINTER_INFO_2W* givenInfo,
                               const DRIVER_INFO_3W* givenDriver) {
  Infos infos(printer, givenInfo, givenDriver);
  const PRINTER_INFO_2W* info = infos.info;
  const DRIVER_INFO_3W* driverInfo = infos.driver;
  if (!info) return 0;
  const bool vista = OsIsVistaOrLater() != 0;

  if (vista) {
    MutexHold mutex;
    const int needs = InstCsrCorrectionState(printer, info, 0);
    if (needs == 1) return 0;
    if (needs == 2 && InstCsrCorrectSettingsIni(printer, info, 0, 1) != 0) return 0;
  }

  if ((flags & 1) && PrnInfoIsOnServer(info)) {
    // The connection pass and the re-import write the shared settings ini: serialised with the
    // other processes (the pass's contexts take no mutex of their own).
    MutexHold serialised;
    WCHAR ini[kPath], section[kPrinterNameChars];
    if (!SettingsIniAndSection(printer, info, 0, ini, section)) return 0;
    int result = 1;
    const UINT batchDone = IniReadInt(section, StrKeyBatchInstallDone(), 0, ini);
    if (batchDone == 0) {
      if (OsIsMultiSessionHost(printer)) {
        MutexHold mutex;
        IniWriteString(section, StrKeyBatchInstallDone(), TEXT("1"), ini);
        IniWriteString(section, TEXT("DrvInstVersion"), DriverVersion(), ini);
      } else {
        int passed;
        {
          UiBusyHold busy;
          passed = InstRunPrinterPass(printer, nullptr, kInstPassHousekeeping, info, driverInfo);
        }
        // A pass that could not run writes nothing, so the next entry tries again.
        if (!passed) return 0;
        InstWriteStamp(printer, 1, kInstStampMachine);
        WriteDriverVersion(ini, section);
        if (InstCopyPresetFilesToUser(printer)) {
          if (!InstUpgradeBySettingVersion(printer, kInstUserStateMissing, info, driverInfo)) result = 0;
          if (result && InstCopyBatchSettingsToUser(printer, info) == 1) result = 0;
        }
      }
    } else {
      WCHAR version[32];
      IniReadString(section, TEXT("DrvInstVersion"), TEXT(""), version, 32, ini);
      if (lstrcmpiW(version, DriverVersion()) != 0) {
        ContextHold hold(printer, kOpenNoAdminCheck, info);
        DriverContext* ctx = hold.get();
        if (!ctx) return 0;
        InstImportInstallFiles(ctx, 0x1000);
        CtxRevalidateStores(printer, ctx);
        PathSecureSettingsFolder(ctx);
        WriteDriverVersion(ini, section);
      }
    }
    if (!result) return 0;
  }

  if (!OsIsMultiSessionHost(printer)) return InstCheckClientSettings(printer, info, driverInfo);

  WCHAR profile[kPath];
  if (!OsGetUserProfileDirFromInfo(profile, kPath, printer, info)) return 1;
  bool forceMissing = false;
  {
    MutexHold mutex;
    if (vista) {
      const int needs = InstCsrCorrectionState(printer, info, 1);
      if (needs == 1) return 0;
      if (needs == 2 && InstCsrCorrectSettingsIni(printer, info, 1, 1) != 0) return 0;
      if (!InstLocalLowCorrect(printer, info)) return 0;
    }
    const int ts = InstTsCorrectionState(printer, info);
    if (ts == 1) return 0;
    if (ts == 2) {
      const int corrected = InstTsCorrectUserIni(printer, info);
      if (corrected == 1) return 0;
      if (corrected == 3) forceMissing = true;
    }
  }
  DWORD state = kInstUserStateCurrent;
  if (!InstReadUserStampState(printer, &state, info)) return 0;
  if (forceMissing) state = kInstUserStateMissing;
  if (state == kInstUserStateMissing) {
    if (!InstCopyPresetFilesToUser(printer)) return 0;
    if (!InstUpgradeBySettingVersion(printer, kInstUserStateMissing, info, driverInfo)) return 0;
    return InstCopyBatchSettingsToUser(printer, info, state) == 1 ? 0 : 1;
  }
  if (state == kInstUserStateReinstalled || state == kInstUserStateAdminChange) {
    if (!InstUpgradeBySettingVersion(printer, state, info, driverInfo)) return 0;
    return InstCopyBatchSettingsToUser(printer, info, state) == 1 ? 0 : 1;
  }
  return 1;
}
