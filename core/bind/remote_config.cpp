// The terminal-server configuration transfer: the install pass's fetch of the client's files
// and printer data, the client's DEVMODE, the clear of the saved information, and the build's
// feature hook. The merge into the printer's settings ini is in remote_merge.cpp.
#include <string.h>

#include "core/bind/remote_config.h"
#include "core/bind/remote_transfer.h"
#include "core/common/file_ops.h"
#include "core/common/ini_access.h"
#include "core/common/mem.h"
#include "core/common/path_text.h"
#include "core/common/text.h"
#include "core/context/driver_context.h"
#include "core/store/item_store.h"
#include "core/store/store_keys.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "core/tables/build_switches.h"
#include "core/tables/static_tables.h"

namespace {

constexpr int kClientConfigBit = 7;
const char kClientDataKey[] = "PrinterDriverData";
const char kConvertFunction[] = "DrvConvertDevMode";
const WCHAR kDriverForm[] = TEXT("%%Driver%%");
const WCHAR kSystemDriveForm[] = TEXT("%SystemDrive%");

// Sources of a client file: on clients of major version 5 or later, on Windows 9x clients, on
// the others.
const WCHAR kSourceNt5[] = TEXT("%SystemDrive%\\_zems\\");
const WCHAR kSourceWin9x[] = TEXT("%SystemRoot%\\");
const WCHAR kSourceOther[] = TEXT("%SystemRoot%\\");

// The preset store keeps sixteen presets; quality lists are bounded only so that a client's
// count cannot make the copy loop run away.
constexpr int kMaxPresets = 16;
constexpr int kMaxQualityLists = 256;

bool StartsWithIgnoringCase(LPCWSTR text, LPCWSTR head) {
  for (; *head; ++text, ++head) {
    WCHAR a = *text, b = *head;
    if (a >= u'A' && a <= u'Z') a = WCHAR(a + 32);
    if (b >= u'A' && b <= u'Z') b = WCHAR(b + 32);
    if (!a || a != b) return false;
  }
  return true;
}

bool ToAnsi(LPCWSTR wide, char* out, int cbOut) {
  out[0] = 0;
  return WideCharToMultiByte(CP_ACP, 0, wide, -1, out, cbOut, nullptr, nullptr) > 0;
}

bool Join(WCHAR* buffer, DWORD cch, LPCWSTR head, LPCWSTR tail) {
  return StrJoin(buffer, cch, head, StrWideLength(head), tail) != 0;
}

// folder + "\" + leaf.
bool InFolder(WCHAR* buffer, DWORD cch, LPCWSTR folder, LPCWSTR leaf) {
  return Join(buffer, cch, folder, TEXT("\\")) && Join(buffer, cch, buffer, leaf);
}

DWORD ReadDword(HANDLE printer, LPCWSTR name, bool* read = nullptr) {
  DWORD value = 0;
  bool ok = StoreGetPrinterData(printer, &value, sizeof value, name) != 0;
  if (read) *read = ok;
  return ok ? value : 0;
}

bool WriteDword(HANDLE printer, LPCWSTR name, DWORD value) {
  return StoreSetPrinterDataBinary(printer, &value, sizeof value, name) != 0;
}

// The format of a client file's source for the client's OS.
LPCWSTR SourceFormat(const RemoteClientOs& os) {
  if (os.majorVersion >= 5) return kSourceNt5;
  if (os.platformId == VER_PLATFORM_WIN32_WINDOWS) return kSourceWin9x;
  return kSourceOther;
}

// An empty file in place of the client's missing bidi ini; an existing file goes first.
void CreateEmptyFile(LPCWSTR path) {
  if (FileExists(path)) FileDelete(path);
  HANDLE h = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
}

// One file from the client: source (client form) to the destination folder, given to the
// library in its form (libraryFolder) and kept here as localFolder. Success is the last library
// answer being 0.
bool CopyOneFile(RemoteLibrary* lib, const TransferFolders& folders, LPCWSTR source, LPCWSTR leaf) {
  WCHAR local[MAX_PATH];
  if (!InFolder(lib->destination, kRemoteChars, folders.library, leaf) ||
      !InFolder(local, MAX_PATH, folders.local, leaf))
    return false;
  StrCopyCut(lib->source, kRemoteChars, source);
  if (StrWideLength(source) >= kRemoteChars) return false;
  if (!ToAnsi(lib->source, lib->sourceAnsi, kRemoteChars) ||
      !ToAnsi(lib->destination, lib->destinationAnsi, kRemoteChars))
    return false;
  const char* client = StartsWithIgnoringCase(source, kDriverForm) ? lib->clientNameAnsi : nullptr;
  DWORD size = 0;
  DWORD answer = lib->regFileGetSize(lib->connection, lib->serverType, lib->sourceAnsi, 1, client, &size);
  if (answer != 0) return false;
  if (size > 0) {
    answer = lib->getDataFile(lib->connection, lib->serverType, lib->sourceAnsi, lib->destinationAnsi, 0, 0, size);
  } else if (StartsWithIgnoringCase(leaf, kBidiClientFile)) {
    CreateEmptyFile(local);
  }
  return answer == 0;
}

// The entries of one list of the copied settings ini ("Count"/"PresetList%d" or
// "QualityCount"/"QualityList%d"): each file goes to the destination folder under its leaf.
// An entry without a backslash or with a leaf that is not a plain file name is skipped.
bool CopyListFiles(RemoteLibrary* lib, const TransferFolders& folders, LPCWSTR copiedIni, const RemoteListKind& kind) {
  int count = int(IniReadInt(lib->clientName, kind.countKey, 0, copiedIni));
  if (count > kind.limit) count = kind.limit;
  WCHAR key[64], path[MAX_PATH];
  for (int i = 0; i < count; ++i) {
    wsprintfW(key, TEXT("%s%d"), kind.listKey, i);
    IniReadString(lib->clientName, key, TEXT(""), path, MAX_PATH, copiedIni);
    LPCWSTR leaf = RemoteClientLeaf(path);
    WCHAR local[MAX_PATH], forLibrary[MAX_PATH];
    // An entry whose paths do not fit is left out like one with a bad leaf.
    if (!leaf || StrWideLength(path) >= kRemoteChars || !InFolder(local, MAX_PATH, folders.local, leaf) ||
        !InFolder(forLibrary, kRemoteChars, folders.library, leaf))
      continue;
    if (!CopyOneFile(lib, folders, path, leaf)) return false;
  }
  return true;
}

bool CopyClientDataFiles(DriverContext* ctx, RemoteLibrary* lib) {
  TransferFolders folders;
  if (!RemoteCreatePrinterFolder(ctx) || !RemoteTransferFolders(ctx, &folders)) return false;
  LPCWSTR format = SourceFormat(lib->clientOs);
  WCHAR source[MAX_PATH];
  for (const RemoteClientFile& row : RemoteClientFiles()) {
    if (!Join(source, MAX_PATH, format, row.name) || !CopyOneFile(lib, folders, source, row.name)) return false;
  }
  // The client's settings ini under the name of this printer's.
  LPCWSTR leaf = PathFindLeaf(PathSettingsFile(ctx));
  WCHAR copied[MAX_PATH];
  if (!RemoteLeafIsSafe(leaf) || !Join(source, MAX_PATH, format, leaf) || !CopyOneFile(lib, folders, source, leaf) ||
      !InFolder(copied, MAX_PATH, folders.local, leaf))
    return false;
  return CopyListFiles(lib, folders, copied, RemotePresetList()) && CopyListFiles(lib, folders, copied, RemoteQualityList());
}

bool LoadClientPrinterItems(DriverContext* ctx, RemoteLibrary* lib) {
  StoreLoadPersistedItems(ctx->printer, ctx, kStoreClassDevice, kStoreLoadFromClient, lib);
  RemoteSetPresetRefresh(ctx);
  return true;
}

// The printer-interface DLL's full path: the driver's config file.
bool ConfigFilePath(DriverContext* ctx, WCHAR* buffer, DWORD cch) {
  buffer[0] = 0;
  auto* info = static_cast<DRIVER_INFO_3W*>(PrnGetDriverInfo(ctx->printer, 3));
  if (info && info->pConfigFile && info->pConfigFile[0]) StrCopyIfFits(buffer, cch, info->pConfigFile);
  MemFree(info);
  return buffer[0] != 0;
}

// Steps 2-8 of the fetch with a bound library.
bool FetchWithLibrary(DriverContext* ctx, RemoteLibrary* lib) {
  LPCWSTR printer = PrnGetPrinterName(ctx);
  if (!printer[0]) return false;
  DWORD type = 0;
  const bool named = RemoteAskServerType(lib, printer, &type) != 0;
  bool taken = false;
  if (type == kRemoteServerTaken) {
    type = kRemoteServerData;
    taken = true;
  }
  if (type != kRemoteServerData && type != kRemoteServerDevmode) return false;
  if (!named) return false;
  lib->serverType = BYTE(type);
  if (lib->saveInformationClear(printer, type) != 0 || taken) return false;
  DWORD out = 0;
  if (lib->connectEx(type, &lib->connection, lib->connectionData, lib->serverData, &out) != 0) return false;
  lib->clientOs.size = sizeof lib->clientOs;
  bool ok = lib->clientOsType(lib->connection, type, &lib->clientOs) == 0 && CopyClientDataFiles(ctx, lib) &&
            LoadClientPrinterItems(ctx, lib);
  if (lib->disconnect(lib->connection, lib->connectionData, type) != 0) ok = false;
  if (!ok) return false;
  WCHAR dll[MAX_PATH];
  if (!ConfigFilePath(ctx, dll, MAX_PATH)) return false;
  if (lib->setDevmode(type, printer, dll, kConvertFunction, 0, 0) != 0) return false;
  WCHAR flagFile[MAX_PATH];
  if (!RemoteFlagFilePath(ctx, flagFile, MAX_PATH)) return false;
  // The flag file is a settings ini as well: its writers hold the global mutex.
  StoreMutexHold hold(ctx);
  return IniWriteString(kRemoteFlagSection, kRemoteFlagKey, TEXT("1"), flagFile) != 0;
}

}  // namespace

// ---- shared with the merge ----

const WCHAR kBidiClientFile[] = TEXT("OV00C171.ini");

const RemoteListKind& RemotePresetList() {
  static const RemoteListKind kind = {TEXT("Count"), TEXT("PresetList"), kMaxPresets};
  return kind;
}

const RemoteListKind& RemoteQualityList() {
  static const RemoteListKind kind = {TEXT("QualityCount"), TEXT("QualityList"), kMaxQualityLists};
  return kind;
}

LPCWSTR RemoteClientLeaf(LPCWSTR path) {
  if (!path) return nullptr;
  LPCWSTR slash = nullptr;
  for (LPCWSTR p = path; *p; ++p)
    if (*p == u'\\') slash = p;
  if (!slash) return nullptr;
  return RemoteLeafIsSafe(slash + 1) ? slash + 1 : nullptr;
}

int RemoteTransferFolders(DriverContext* ctx, TransferFolders* folders) {
  if (!folders || !RemotePrinterFolder(ctx, folders->local, MAX_PATH)) return 0;
  // On the system drive the library gets the folder in its %SystemDrive% form.
  WCHAR windows[MAX_PATH] = {};
  UINT n = GetWindowsDirectoryW(windows, MAX_PATH);
  const bool systemDrive = n >= 2 && n < MAX_PATH && windows[1] == u':' && folders->local[1] == u':' &&
                           folders->local[2] == u'\\' &&
                           (windows[0] | 0x20) == (folders->local[0] | 0x20);
  if (systemDrive) return Join(folders->library, MAX_PATH, kSystemDriveForm, folders->local + 2) ? 1 : 0;
  StrCopyCut(folders->library, MAX_PATH, folders->local);
  return 1;
}

void RemoteSetPresetRefresh(DriverContext* ctx) {
  WriteDword(ctx->printer, TEXT("PresetRefresh"), 1);
  const WCHAR* ini = PathSettingsFile(ctx);
  const WCHAR* printer = PrnGetPrinterName(ctx);
  if (!ini[0] || !printer[0]) return;
  // Every writer of the settings ini holds the global mutex, or another process's keys written
  // meanwhile are lost.
  StoreMutexHold hold(ctx);
  IniWriteString(printer, TEXT("PresetRefresh"), TEXT("1"), ini);
}

// ---- the operations ----

int RemoteConfigState(DriverContext* ctx) {
  if (!RemoteCanTransfer(ctx)) return 0;
  return ReadDword(ctx->printer, kRemoteConnectionValue) == 1 ? 1 : 2;
}

int RemoteImportOnInstall(DriverContext* ctx) {
  int state = RemoteConfigState(ctx);
  if (state != 2) return state;
  RemoteLibrary* lib = RemoteBindLibraryEx(ctx);
  if (!lib) return 0;
  const bool ok = FetchWithLibrary(ctx, lib);
  RemoteFreeLibrary(lib);
  if (!ok) return 0;
  WriteDword(ctx->printer, kRemoteConnectionValue, 1);
  WriteDword(ctx->printer, kRemoteIniValue, 1);
  return 1;
}

int RemoteClearServerInformation(DriverContext* ctx) {
  if (!ctx) return 0;
  LPCWSTR printer = PrnGetPrinterName(ctx);
  RemoteLibrary* lib = RemoteBindLibraryEx(ctx);
  if (!lib) return 0;
  DWORD type = 0;
  RemoteAskServerType(lib, printer, &type);
  bool taken = false;
  if (type == kRemoteServerTaken) {
    type = kRemoteServerData;
    taken = true;
  }
  int result = 0;
  if (type == kRemoteServerData || type == kRemoteServerDevmode)
    result = lib->saveInformationClear(printer, type) == 0 && !taken ? 1 : 0;
  RemoteFreeLibrary(lib);
  return result;
}

int RemoteFetchClientDevmode(DriverContext* ctx, BYTE* buffer, BYTE* serverType) {
  if (!buffer || !RemoteCanTransfer(ctx)) return 0;
  RemoteLibrary* lib = RemoteBindLibraryEx(ctx);
  if (!lib) return 0;
  DWORD type = 0;
  const bool named = RemoteAskServerType(lib, PrnGetPrinterName(ctx), &type) != 0;
  if (serverType) *serverType = BYTE(type);
  int result = 0;
  DWORD out = 0;
  if (type == kRemoteServerDevmode && named &&
      lib->connectEx(type, &lib->connection, lib->connectionData, lib->serverData, &out) == 0) {
    DWORD size = 0;
    if (lib->devmodeSize(lib->connection, type, lib->clientNameAnsi, &size) == 0 && size == kRemoteDevmodeSize) {
      // The library writes into a block of ours: the caller's buffer changes only on success.
      BYTE* block = static_cast<BYTE*>(MemAllocZero(kRemoteDevmodeSize));
      if (block && lib->devmode(lib->connection, type, lib->clientNameAnsi, kRemoteDevmodeSize, block) == 0) {
        memcpy(buffer, block, kRemoteDevmodeSize);
        result = 1;
      }
      MemFree(block);
    }
    lib->disconnect(lib->connection, lib->connectionData, type);
  }
  RemoteFreeLibrary(lib);
  return result;
}

int RemoteGetClientPrinterData(HANDLE printer, LPCWSTR valueName, DWORD* type, BYTE* buffer, DWORD size, DWORD* got,
                               DWORD valueType, RemoteLibrary* lib) {
  if (!lib || !valueName || !buffer || !size) return 0;
  char name[kRemoteChars];
  if (!ToAnsi(valueName, name, kRemoteChars)) return 0;
  DWORD claimed = 0;
  DWORD answer = lib->getPrinterDataSize(lib->connection, lib->serverType, lib->clientNameAnsi, kClientDataKey, name,
                                         &claimed);
  // Only the size the caller expects is ever allocated.
  if (answer != 0 || claimed != size) return 0;
  BYTE* data = static_cast<BYTE*>(MemAllocZero(size));
  if (!data) return 0;
  int result = 0;
  if (lib->getPrinterData(lib->connection, lib->serverType, lib->clientNameAnsi, kClientDataKey, name, size, data) ==
      0) {
    SetPrinterDataW(printer, const_cast<LPWSTR>(valueName), valueType, data, size);
    if (type) *type = valueType;
    memcpy(buffer, data, size);
    if (got) *got = size;
    result = 1;
  }
  MemFree(data);
  return result;
}

int BuildRunFeatureHook(DriverContext* ctx, const PRINTER_INFO_2W* info, const DRIVER_INFO_3W* driverInfo) {
  if (!BuildHasFeatureBit(kClientConfigBit)) return 0;
  RemoteImportClientSettingsOnce(ctx, info, driverInfo);
  return 1;
}
