// Settings folders: lookup order, creation, security, removal of the default folder, macros.
#include "core/system/settings_folders.h"

#include "core/system/folder_security.h"
#include "core/system/printer_data_dirs.h"
#include "core/system/user_profile.h"

#include "core/common/file_ops.h"
#include "core/common/ini_access.h"
#include "core/common/mem.h"
#include "core/common/os_tests.h"
#include "core/common/path_text.h"
#include "core/system/printer_names.h"
#include "core/common/text.h"
#include "core/bind/bidi_store.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/store/store_keys.h"
#include "core/tables/model_record.h"
#include "core/system/terminal_server.h"

namespace {

const WCHAR kFolderName[] = TEXT("_zems");
const WCHAR kDriverKey[] = TEXT("SOFTWARE\\ORVEL\\ZemsDrv");
const WCHAR kRegistryValue[] = TEXT("_ZEMSDirectory");
const WCHAR kClientValue[] = TEXT("_ZEMSDirectoryClient");
const WCHAR kSystemRootMacro[] = TEXT("%SYSTEMROOT%");
const WCHAR kSystemDriveMacro[] = TEXT("%SYSTEMDRIVE%");
const WCHAR kUserProfileMacro[] = TEXT("%USERPROFILE%");
// Room kept after a folder from printer data for the "\_zems" and the names stored in it.
const DWORD kPrinterDataRoom = 47;
const DWORD kUserProfileRoom = 41;
const DWORD kPrinterDataBytes = 520;
// Sub-folders deeper than this are not entered (paths end at MAX_PATH long before).
const int kMaxRemoveDepth = 64;

WCHAR Upper(WCHAR c) { return (c >= 'a' && c <= 'z') ? WCHAR(c - 'a' + 'A') : c; }

// True when text begins with prefix, case ignored.
bool StartsWith(LPCWSTR text, LPCWSTR prefix) {
  for (; *prefix; ++text, ++prefix)
    if (Upper(*text) != Upper(*prefix)) return false;
  return true;
}

// Places the parts one after the other into buffer (size characters); false and an empty
// buffer when they do not fit.
bool Compose(WCHAR* buffer, DWORD size, LPCWSTR a, LPCWSTR b = nullptr, LPCWSTR c = nullptr) {
  if (!buffer || size == 0) return false;
  DWORD n = 0;
  const LPCWSTR parts[3] = {a, b, c};
  for (LPCWSTR part : parts) {
    for (LPCWSTR p = part; p && *p; ++p) {
      if (n + 1 >= size) {
        buffer[0] = 0;
        return false;
      }
      buffer[n++] = *p;
    }
  }
  buffer[n] = 0;
  return true;
}

// The System directory into buffer (MAX_PATH); false when it cannot be had.
bool SystemDir(LPWSTR buffer) {
  UINT n = GetSystemDirectoryW(buffer, MAX_PATH);
  return n > 0 && n < MAX_PATH;
}

bool WindowsDir(LPWSTR buffer) {
  UINT n = GetWindowsDirectoryW(buffer, MAX_PATH);
  return n > 0 && n < MAX_PATH;
}

bool IsFolder(LPCWSTR path) {
  DWORD attributes = GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A folder named without wildcards that FindFirstFileW finds.
bool FolderFound(LPCWSTR path) {
  for (LPCWSTR p = path; *p; ++p)
    if (*p == '*' || *p == '?') return false;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(path, &found);
  if (find == INVALID_HANDLE_VALUE) return false;
  FindClose(find);
  return true;
}

// A text registry or printer-data value read into a buffer of bytes bytes is usable only as
// a terminated string: the text must be a string type and end within the buffer.
bool TerminateText(DWORD type, LPWSTR text, DWORD bytesRead, DWORD bytes) {
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  DWORD chars = bytesRead / sizeof(WCHAR), room = bytes / sizeof(WCHAR);
  if (chars > 0 && text[chars - 1] == 0) return true;
  if (chars >= room) return false;  // the whole buffer is text: it was cut
  text[chars] = 0;
  return true;
}

// The per-machine folder once the server question is answered.
DWORD MachineFolder(WCHAR* buffer, DWORD size, HANDLE hPrinter, bool onServer, const PRINTER_INFO_2* info) {
  if (!buffer || size == 0) return 0;
  buffer[0] = 0;
  if (onServer && InstResolvePrinterDataDirFromInfo(hPrinter, kClientValue, buffer, size, info) == 1 && buffer[0])
    return StrWideLength(buffer);
  buffer[0] = 0;
  if (InstReadDriverRegValue(kRegistryValue, buffer, size * sizeof(WCHAR)) && buffer[0]) return StrWideLength(buffer);
  buffer[0] = 0;
  return PathGetDefaultMachineFolder(buffer, size);
}

DWORD SettingsFolder(WCHAR* buffer, DWORD size, HANDLE hPrinter, bool onServer, const PRINTER_INFO_2* info) {
  if (!buffer || size == 0) return 0;
  if (OsIsNt5OrLater()) return MachineFolder(buffer, size, hPrinter, onServer, info);
  WCHAR system[MAX_PATH];
  if (!SystemDir(system) || !Compose(buffer, size, system)) return 0;
  return StrWideLength(buffer);
}

BOOL ProfileDir(WCHAR* buffer, DWORD size, HANDLE hPrinter, const PRINTER_INFO_2* info, bool fallback) {
  if (!buffer || size == 0) return FALSE;
  if (OsGetUserProfileDirStrict(buffer, size)) return TRUE;
  if (!fallback) return FALSE;
  if (info)
    PathGetMachineSettingsFolderOfFromInfo(buffer, size, hPrinter, info);
  else
    PathGetMachineSettingsFolderOf(buffer, size, hPrinter);
  return TRUE;
}

DWORD UserFolder(WCHAR* buffer, DWORD size, HANDLE hPrinter, const PRINTER_INFO_2* info) {
  if (!buffer || size == 0) return 0;
  WCHAR profile[MAX_PATH];
  profile[0] = 0;
  if (!ProfileDir(profile, MAX_PATH, hPrinter, info, true) || !profile[0]) {
    buffer[0] = 0;
    return 0;
  }
  bool placed;
  if (OsIsNt5OrLater()) {
    placed = Compose(buffer, size, profile, TEXT("\\"), kFolderName);
  } else {
    WCHAR system[MAX_PATH];
    placed = SystemDir(system) && Compose(buffer, size, system, TEXT("\\orvel\\_zems\\"), PathFindLeaf(profile));
  }
  return placed ? StrWideLength(buffer) : 0;
}

// The printer-data value resolution, guarded against itself: a "%USERPROFILE%" value asks for
// the user folder, whose stand-in is the per-machine folder, whose first source is this value
// again. The inner round answers "not usable" so the outer lookup falls through.
thread_local int t_resolving = 0;

struct ResolveGuard {
  ResolveGuard() { ++t_resolving; }
  ~ResolveGuard() { --t_resolving; }
};

class WorkBuffer {
 public:
  explicit WorkBuffer(DWORD chars) : text_(static_cast<LPWSTR>(MemAllocZero(chars * sizeof(WCHAR)))) {}
  ~WorkBuffer() { MemFree(text_); }
  WorkBuffer(const WorkBuffer&) = delete;
  WorkBuffer& operator=(const WorkBuffer&) = delete;
  LPWSTR get() const { return text_; }

 private:
  LPWSTR text_;
};

// Builds an owner-only or a DACL-only descriptor and applies it to path and, by flags, to
// what the folder holds.
enum class SecurityPart { kOwner, kDacl };

// Applies the descriptor to what folder holds: every file; a sub-folder when flags bit 1 is
// set; its contents, the same way, when bit 2 is set (a link is never entered).
BOOL ApplyToContents(LPCWSTR folder, DWORD flags, PSECURITY_DESCRIPTOR sd, SECURITY_INFORMATION info, int depth) {
  WCHAR pattern[MAX_PATH];
  if (!Compose(pattern, MAX_PATH, folder, TEXT("\\*.*"))) return TRUE;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(pattern, &found);
  if (find == INVALID_HANDLE_VALUE) return TRUE;
  BOOL all = TRUE;
  do {
    if (lstrcmpW(found.cFileName, TEXT(".")) == 0 || lstrcmpW(found.cFileName, TEXT("..")) == 0) continue;
    WCHAR child[MAX_PATH];
    if (!Compose(child, MAX_PATH, folder, TEXT("\\"), found.cFileName)) continue;
    bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if ((!isFolder || (flags & 2)) && !SetFileSecurityW(child, info, sd)) all = FALSE;
    if (isFolder && (flags & 4) && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
        depth < kMaxRemoveDepth && !ApplyToContents(child, flags, sd, info, depth + 1))
      all = FALSE;
  } while (FindNextFileW(find, &found));
  FindClose(find);
  return all;
}

BOOL ApplySecurity(LPCWSTR path, DWORD flags, PSECURITY_DESCRIPTOR sd, SECURITY_INFORMATION info) {
  BOOL all = SetFileSecurityW(path, info, sd) ? TRUE : FALSE;
  if (!(flags & 1) && !ApplyToContents(path, flags, sd, info, 0)) all = FALSE;
  return all;
}

BOOL SetFolderSecurity(LPCWSTR path, DWORD flags, SecurityPart part) {
  if (!path) return FALSE;
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY, world = SECURITY_WORLD_SID_AUTHORITY;
  PSID sid = nullptr;
  BOOL made = part == SecurityPart::kOwner
                  ? AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0,
                                             0, 0, 0, 0, &sid)
                  : AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &sid);
  if (!made) return FALSE;
  SECURITY_DESCRIPTOR sd;
  PACL acl = nullptr;
  BOOL result = FALSE;
  if (InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION)) {
    if (part == SecurityPart::kOwner) {
      made = SetSecurityDescriptorOwner(&sd, sid, FALSE);
    } else {
      DWORD aclBytes = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + GetLengthSid(sid);
      acl = static_cast<PACL>(MemAllocZero(aclBytes));
      made = acl && InitializeAcl(acl, aclBytes, ACL_REVISION) &&
             AddAccessAllowedAceEx(acl, ACL_REVISION, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE, FILE_ALL_ACCESS,
                                   sid) &&
             SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
    }
    if (made)
      result = ApplySecurity(path, flags, &sd,
                             part == SecurityPart::kOwner ? OWNER_SECURITY_INFORMATION : DACL_SECURITY_INFORMATION);
  }
  MemFree(acl);
  FreeSid(sid);
  return result;
}

// Deletes the folder's contents and the folder; links are removed as entries, never entered.
// Strips trailing backslashes (not the one after a drive letter).
void TrimSlashes(LPWSTR path) {
  DWORD n = StrWideLength(path);
  while (n > 3 && path[n - 1] == '\\') path[--n] = 0;
}

// True when path is folder or lies inside it (case ignored).
bool IsInside(LPCWSTR path, LPCWSTR folder) {
  DWORD n = StrWideLength(folder);
  if (!StartsWith(path, folder)) return false;
  return path[n] == 0 || path[n] == '\\';
}

}  // namespace

LPCWSTR PathDriverRegKey() { return kDriverKey; }

int PathGetMachineSettingsFolder(WCHAR* buffer, DWORD cchBuffer, DriverContext* ctx) {
  if (!ctx) return 0;
  return MachineFolder(buffer, cchBuffer, ctx->printer, PrnIsOnServer(ctx) != 0, nullptr);
}

int PathGetMachineSettingsFolderFromInfo(WCHAR* buffer, DWORD cchBuffer, DriverContext* ctx, const PRINTER_INFO_2* info) {
  if (!ctx) return 0;
  return MachineFolder(buffer, cchBuffer, ctx->printer, PrnInfoIsOnServer(info) != 0, info);
}

int PathGetMachineSettingsFolderOf(WCHAR* buffer, DWORD cchBuffer, HANDLE hPrinter) {
  return MachineFolder(buffer, cchBuffer, hPrinter, PrnIsOnServerOf(hPrinter) != 0, nullptr);
}

int PathGetMachineSettingsFolderOfFromInfo(WCHAR* buffer, DWORD cchBuffer, HANDLE hPrinter, const PRINTER_INFO_2* info) {
  return MachineFolder(buffer, cchBuffer, hPrinter, PrnInfoIsOnServer(info) != 0, info);
}

int PathGetSettingsFolder(WCHAR* buffer, DWORD cchBuffer, DriverContext* ctx) {
  if (!ctx) return 0;
  return SettingsFolder(buffer, cchBuffer, ctx->printer, PrnIsOnServer(ctx) != 0, nullptr);
}

int PathGetSettingsFolderFromInfo(WCHAR* buffer, DWORD cchBuffer, DriverContext* ctx, const PRINTER_INFO_2* info) {
  if (!ctx) return 0;
  return SettingsFolder(buffer, cchBuffer, ctx->printer, PrnInfoIsOnServer(info) != 0, info);
}

int PathGetSettingsFolderOf(WCHAR* buffer, DWORD cchBuffer, HANDLE hPrinter) {
  return SettingsFolder(buffer, cchBuffer, hPrinter, PrnIsOnServerOf(hPrinter) != 0, nullptr);
}

int PathGetSettingsFolderOfFromInfo(WCHAR* buffer, DWORD cchBuffer, HANDLE hPrinter, const PRINTER_INFO_2* info) {
  return SettingsFolder(buffer, cchBuffer, hPrinter, PrnInfoIsOnServer(info) != 0, info);
}

int PathGetUserSettingsFolder(WCHAR* buffer, DWORD cchBuffer, HANDLE hPrinter) {
  return UserFolder(buffer, cchBuffer, hPrinter, nullptr);
}

int PathGetUserSettingsFolderFromInfo(WCHAR* buffer, DWORD cchBuffer, HANDLE hPrinter, const PRINTER_INFO_2* info) {
  return UserFolder(buffer, cchBuffer, hPrinter, info);
}

int PathGetSessionSettingsFolder(WCHAR* buffer, DWORD cchBuffer, DriverContext* ctx) {
  return PathGetSessionSettingsFolderFromInfo(buffer, cchBuffer, ctx, nullptr);
}

int PathGetSessionSettingsFolderFromInfo(WCHAR* buffer, DWORD cchBuffer, DriverContext* ctx, const PRINTER_INFO_2* info) {
  if (!ctx || !buffer || cchBuffer == 0) return 0;
  LPCWSTR settingsFile = ctx->ui ? ctx->ui->settingsFilePath : nullptr;
  if (settingsFile && settingsFile[0] && settingsFile[1] == ':') {
    LPCWSTR leaf = PathFindLeaf(settingsFile);
    DWORD folderChars = DWORD(leaf - settingsFile);
    if (folderChars > 0) --folderChars;  // without the last backslash
    if (folderChars + 1 > cchBuffer) {
      buffer[0] = 0;
      return 0;
    }
    for (DWORD i = 0; i < folderChars; ++i) buffer[i] = settingsFile[i];
    buffer[folderChars] = 0;
    return folderChars;
  }
  return UserFolder(buffer, cchBuffer, ctx->printer, info);
}

BOOL OsGetUserProfileDir(WCHAR* buffer, DWORD cchBuffer, HANDLE hPrinter) {
  return ProfileDir(buffer, cchBuffer, hPrinter, nullptr, true);
}

BOOL OsGetUserProfileDirFromInfo(WCHAR* buffer, DWORD cchBuffer, HANDLE hPrinter, const PRINTER_INFO_2* info) {
  return ProfileDir(buffer, cchBuffer, hPrinter, info, true);
}

BOOL OsGetUserProfileDirStrict(WCHAR* buffer, DWORD cchBuffer) {
  if (!buffer || cchBuffer == 0) return FALSE;
  typedef BOOL(WINAPI * GetProfileDirFn)(HANDLE, LPWSTR, LPDWORD);
  HMODULE userenv = LoadLibraryW(TEXT("UserEnv.dll"));
  if (!userenv) return FALSE;
  BOOL result = FALSE;
  GetProfileDirFn getProfileDir = reinterpret_cast<GetProfileDirFn>(
      reinterpret_cast<void*>(GetProcAddress(userenv, "GetUserProfileDirectoryW")));
  if (getProfileDir) {
    HANDLE token = nullptr;
    BOOL opened = OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token);
    if (!opened && GetLastError() == ERROR_NO_TOKEN)
      opened = OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    if (opened) {
      DWORD chars = cchBuffer;
      result = getProfileDir(token, buffer, &chars);
      CloseHandle(token);
    }
  }
  FreeLibrary(userenv);
  if (!result) buffer[0] = 0;
  return result;
}

int PathInSettingsFolder(WCHAR* buffer, DWORD cchBuffer, LPCWSTR name, DriverContext* ctx) {
  return PathInSettingsFolderFromInfo(buffer, cchBuffer, name, ctx, nullptr);
}

int PathInSettingsFolderFromInfo(WCHAR* buffer, DWORD cchBuffer, LPCWSTR name, DriverContext* ctx,
                                   const PRINTER_INFO_2* info) {
  if (!buffer || cchBuffer == 0) return 0;
  buffer[0] = 0;
  if (!name || !ctx) return 0;
  WCHAR folder[MAX_PATH];
  DWORD found = info ? PathGetSettingsFolderFromInfo(folder, MAX_PATH, ctx, info)
                     : PathGetSettingsFolder(folder, MAX_PATH, ctx);
  if (!found || !Compose(buffer, cchBuffer, folder, TEXT("\\"), name)) return 0;
  return StrWideLength(buffer);
}

int PathInUserSettingsFolder(WCHAR* buffer, DWORD cchBuffer, LPCWSTR name, HANDLE hPrinter) {
  if (!buffer || cchBuffer == 0) return 0;
  buffer[0] = 0;
  if (!name) return 0;
  WCHAR folder[MAX_PATH];
  if (!PathGetUserSettingsFolder(folder, MAX_PATH, hPrinter) || !Compose(buffer, cchBuffer, folder, TEXT("\\"), name))
    return 0;
  return StrWideLength(buffer);
}

BOOL PathUserRsrFile(LPWSTR buffer, LPCWSTR name, DWORD cchBuffer, DriverContext* ctx) {
  if (!buffer || cchBuffer == 0 || !name || !ctx) return FALSE;
  buffer[0] = 0;
  WCHAR folder[MAX_PATH];
  DWORD found = 0;
  if (OsIsMultiSessionHost(ctx->printer) && !(ctx->ui && (ctx->ui->openKind & 0x40000)))
    found = PathGetSessionSettingsFolder(folder, MAX_PATH, ctx);
  else
    found = PathGetSettingsFolder(folder, MAX_PATH, ctx);
  if (!found) return FALSE;
  WCHAR path[MAX_PATH];
  if (!Compose(path, MAX_PATH, folder, TEXT("\\"), PathFindLeaf(name))) return FALSE;
  return PathReplaceExtension(buffer, path, TEXT("rsr"), cchBuffer);
}

BOOL PathGetLocalLowFolder(WCHAR* buffer, DWORD cchBuffer) {
  if (!buffer || cchBuffer == 0) return FALSE;
  // FOLDERID_LocalAppDataLow {A520A1A4-1780-4FF6-BD18-167343C5AF16}
  static const GUID kLocalAppDataLow = {0xA520A1A4, 0x1780, 0x4FF6,
                                        {0xBD, 0x18, 0x16, 0x73, 0x43, 0xC5, 0xAF, 0x16}};
  typedef HRESULT(WINAPI * KnownFolderFn)(const GUID&, DWORD, HANDLE, LPWSTR*);
  typedef void(WINAPI * TaskFreeFn)(LPVOID);
  HMODULE shell = LoadLibraryW(TEXT("shell32.dll"));
  HMODULE ole = LoadLibraryW(TEXT("ole32.dll"));
  BOOL result = FALSE;
  KnownFolderFn knownFolder =
      shell ? reinterpret_cast<KnownFolderFn>(reinterpret_cast<void*>(GetProcAddress(shell, "SHGetKnownFolderPath")))
            : nullptr;
  TaskFreeFn taskFree =
      ole ? reinterpret_cast<TaskFreeFn>(reinterpret_cast<void*>(GetProcAddress(ole, "CoTaskMemFree"))) : nullptr;
  if (knownFolder && taskFree) {
    LPWSTR path = nullptr;
    if (SUCCEEDED(knownFolder(kLocalAppDataLow, 0, nullptr, &path)) && path && StrWideLength(path) < cchBuffer) {
      Compose(buffer, cchBuffer, path);
      result = TRUE;
    }
    if (path) taskFree(path);
  }
  if (ole) FreeLibrary(ole);
  if (shell) FreeLibrary(shell);
  return result;
}

BOOL InstReadDriverRegValue(LPCWSTR valueName, LPWSTR buffer, DWORD cbBuffer) {
  if (!valueName || !buffer || cbBuffer < sizeof(WCHAR)) return FALSE;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kDriverKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return FALSE;
  DWORD type = 0, read = cbBuffer;
  LONG status = RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &read);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || !TerminateText(type, buffer, read, cbBuffer)) {
    buffer[0] = 0;
    return FALSE;
  }
  return TRUE;
}

int InstResolvePrinterDataDir(HANDLE hPrinter, LPCWSTR valueName, WCHAR* buffer, DWORD cchBuffer) {
  return InstResolvePrinterDataDirFromInfo(hPrinter, valueName, buffer, cchBuffer, nullptr);
}

int InstResolvePrinterDataDirFromInfo(HANDLE hPrinter, LPCWSTR valueName, WCHAR* buffer, DWORD cchBuffer,
                                const PRINTER_INFO_2* info) {
  if (t_resolving) return 0;
  ResolveGuard guard;
  WorkBuffer value(kPrinterDataBytes / sizeof(WCHAR)), folder(MAX_PATH);
  if (!value.get() || !folder.get()) return -1;
  DWORD type = 0, read = 0;
  if (GetPrinterDataW(hPrinter, const_cast<LPWSTR>(valueName), &type, reinterpret_cast<LPBYTE>(value.get()),
                      kPrinterDataBytes, &read) != ERROR_SUCCESS ||
      !TerminateText(type, value.get(), read, kPrinterDataBytes) || !value.get()[0])
    return 0;

  LPWSTR result = folder.get();
  bool appendFolderName = true;
  if (StartsWith(value.get(), kSystemRootMacro)) {
    WCHAR windows[MAX_PATH];
    if (!WindowsDir(windows) ||
        !Compose(result, MAX_PATH, windows, value.get() + StrWideLength(kSystemRootMacro)) ||
        StrWideLength(result) + kPrinterDataRoom >= MAX_PATH || !FolderFound(result))
      return 0;
  } else if (StartsWith(value.get(), kUserProfileMacro)) {
    // The user's own folder, whatever follows the macro; it is not checked for existence.
    if (!UserFolder(result, MAX_PATH, hPrinter, info)) return -1;
    if (StrWideLength(result) + kUserProfileRoom >= MAX_PATH) return 0;
    appendFolderName = false;
  } else {
    if (StrWideLength(value.get()) + kPrinterDataRoom >= MAX_PATH || !FolderFound(value.get())) return 0;
    Compose(result, MAX_PATH, value.get());
  }
  if (appendFolderName) {
    DWORD n = StrWideLength(result);
    if (n == 0 || result[n - 1] != '\\') Compose(result + n, MAX_PATH - n, TEXT("\\"));
    n = StrWideLength(result);
    Compose(result + n, MAX_PATH - n, kFolderName);
  }
  if (buffer && StrWideLength(result) < cchBuffer) Compose(buffer, cchBuffer, result);
  return 1;
}

BOOL PathExpandSystemDrive(LPWSTR path, DWORD cchPath) {
  if (!path || cchPath == 0 || !StartsWith(path, kSystemDriveMacro)) return FALSE;
  LPCWSTR rest = path + StrWideLength(kSystemDriveMacro);
  // The drive root already ends with a backslash; the rest's own one would double it.
  if (*rest == '\\') ++rest;
  WCHAR system[MAX_PATH], expanded[MAX_PATH];
  if (!SystemDir(system) || StrWideLength(system) < 3 || cchPath < StrWideLength(rest) + 4) {
    path[0] = 0;
    return FALSE;
  }
  system[3] = 0;
  if (!Compose(expanded, MAX_PATH, system, rest) || !Compose(path, cchPath, expanded)) {
    path[0] = 0;
    return FALSE;
  }
  return TRUE;
}

BOOL PathExpandSystemRoot(LPWSTR path, DWORD cchPath) {
  if (!path || cchPath == 0 || !StartsWith(path, kSystemRootMacro)) return FALSE;
  LPCWSTR rest = path + StrWideLength(kSystemRootMacro);
  if (*rest == '\\') ++rest;
  WCHAR windows[MAX_PATH], expanded[MAX_PATH];
  if (!WindowsDir(windows) || !Compose(expanded, MAX_PATH, windows, TEXT("\\"), rest) ||
      !Compose(path, cchPath, expanded)) {
    path[0] = 0;
    return FALSE;
  }
  return TRUE;
}

BOOL PathExpandSystemMacros(LPWSTR path, DWORD cchPath, DriverContext*) {
  if (!path) return FALSE;
  if (path[0] && path[1] == ':') return TRUE;
  if (StrWideLength(path) >= MAX_PATH) return FALSE;
  if (StartsWith(path, kSystemDriveMacro)) return PathExpandSystemDrive(path, cchPath) && path[0];
  if (StartsWith(path, kSystemRootMacro)) return PathExpandSystemRoot(path, cchPath) && path[0];
  return FALSE;
}

BOOL PathCreateSettingsFolder(DriverContext* ctx) { return ctx ? PathCreateSettingsFolderOf(ctx->printer) : FALSE; }

BOOL PathCreateSettingsFolderOf(HANDLE hPrinter) {
  WCHAR folder[MAX_PATH];
  if (!PathGetMachineSettingsFolderOf(folder, MAX_PATH, hPrinter)) return FALSE;
  FileCreateDirectory(folder);
  SetFileAttributesW(folder, FILE_ATTRIBUTE_HIDDEN);
  // Securing needs rights the user may lack; the folder is usable without it.
  FolderSetAdminOwner(folder, 1);
  FolderGrantEveryone(folder, 1);
  return IsFolder(folder) ? TRUE : FALSE;
}

BOOL PathSecureSettingsFolder(DriverContext* ctx) {
  if (!ctx) return FALSE;
  if (OsIsNt5OrLater()) return PathSecureMachineFolderOf(ctx->printer);
  return BidiIniEnsureFile(ctx) ? TRUE : FALSE;
}

BOOL PathSecureMachineFolderOf(HANDLE hPrinter) {
  WCHAR folder[MAX_PATH];
  if (!PathGetMachineSettingsFolderOf(folder, MAX_PATH, hPrinter)) return FALSE;
  BOOL owner = FolderSetAdminOwner(folder, 0);
  BOOL dacl = FolderGrantEveryone(folder, 0);
  return owner && dacl;
}

BOOL FolderSetAdminOwner(LPCWSTR path, DWORD flags) { return SetFolderSecurity(path, flags, SecurityPart::kOwner); }

BOOL FolderGrantEveryone(LPCWSTR path, DWORD flags) { return SetFolderSecurity(path, flags, SecurityPart::kDacl); }

int PathGetDefaultMachineFolder(WCHAR* buffer, DWORD cchBuffer) {
  if (!buffer || cchBuffer == 0) return 0;
  buffer[0] = 0;
  WCHAR system[MAX_PATH];
  if (!SystemDir(system) || StrWideLength(system) < 3) return 0;
  system[3] = 0;
  if (!Compose(buffer, cchBuffer, system, kFolderName)) return 0;
  return StrWideLength(buffer);
}

namespace {

// The printer's settings folder lies in the default folder, or cannot be had (then it may).
bool UsesDefaultFolder(HANDLE hPrinter, const WCHAR* defaultFolder) {
  WCHAR configured[MAX_PATH];
  if (!PathGetSettingsFolderOf(configured, MAX_PATH, hPrinter)) return true;
  // The configured text may name the same folder another way ("C:/_zems", "C:\x\..\_zems").
  WCHAR full[MAX_PATH];
  DWORD fullChars = GetFullPathNameW(configured, MAX_PATH, full, nullptr);
  if (fullChars > 0 && fullChars < MAX_PATH) Compose(configured, MAX_PATH, full);
  TrimSlashes(configured);
  return IsInside(configured, defaultFolder);
}

// Another printer of the machine still keeps its settings in the default folder. Any doubt
// counts as in use: a listing that fails, a printer that cannot be opened.
bool DefaultFolderInUseByAnyPrinter(const WCHAR* defaultFolder) {
  const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
  DWORD needed = 0, count = 0;
  if (EnumPrintersW(flags, nullptr, 4, nullptr, 0, &needed, &count)) return false;  // no printers
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || !needed) return true;
  BYTE* buffer = static_cast<BYTE*>(MemAllocZero(needed));
  if (!buffer) return true;
  bool inUse = false;
  if (!EnumPrintersW(flags, nullptr, 4, buffer, needed, &needed, &count)) {
    inUse = true;
  } else {
    const PRINTER_INFO_4W* printers = reinterpret_cast<const PRINTER_INFO_4W*>(buffer);
    for (DWORD i = 0; i < count && !inUse; ++i) {
      HANDLE other = nullptr;
      if (!printers[i].pPrinterName || !OpenPrinterW(printers[i].pPrinterName, &other, nullptr)) {
        inUse = true;
        break;
      }
      inUse = UsesDefaultFolder(other, defaultFolder);
      ClosePrinter(other);
    }
  }
  MemFree(buffer);
  return inUse;
}

// path names a file directly in folder, in its plain spelling ("..", "/" or a stream would
// let a listed value reach elsewhere).
bool DirectlyIn(LPCWSTR path, LPCWSTR folder) {
  const DWORD n = StrWideLength(folder);
  if (!IsInside(path, folder) || path[n] != '\\' || !path[n + 1]) return false;
  for (LPCWSTR p = path + n + 1; *p; ++p)
    if (*p == '\\' || *p == '/' || *p == ':') return false;
  return !(path[n + 1] == '.' && (!path[n + 2] || (path[n + 2] == '.' && !path[n + 3])));
}

// The files the driver put into the default folder: the settings ini and the preset and
// quality files its sections list there. Anything else (a package folder, a user's own file, a
// link) stays; the folder goes only when nothing is left in it. False when a listed file or
// the ini could not be deleted.
bool RemoveDriverFiles(HANDLE hPrinter, const WCHAR* defaultFolder) {
  WCHAR current[MAX_PATH], ini[MAX_PATH];
  if (!PathSettingsFileOf(current, MAX_PATH, 0, hPrinter) || !current[0]) return false;
  if (!Compose(ini, MAX_PATH, defaultFolder, TEXT("\\"), PathFindLeaf(current))) return false;
  bool ok = true;
  if (GetFileAttributesW(ini) != INVALID_FILE_ATTRIBUTES) {
    constexpr DWORD kNamesChars = 32768;
    WCHAR* names = static_cast<WCHAR*>(MemAllocZero(kNamesChars * sizeof(WCHAR)));
    if (!names) return false;
    GetPrivateProfileSectionNamesW(names, kNamesChars, ini);
    static const struct {
      const WCHAR* countKey;
      const WCHAR* prefix;
      LONG limit;
    } kLists[] = {{TEXT("Count"), TEXT("PresetList"), kStoreLimitPresets},
                  {TEXT("QualityCount"), TEXT("QualityList"), kStoreLimitQualityLists}};
    for (const WCHAR* section = names; *section; section += StrWideLength(section) + 1) {
      for (const auto& list : kLists) {
        const LONG count = StoreReadCount(section, list.countKey, list.limit, ini);
        for (LONG n = 0; n < count; ++n) {
          WCHAR key[64], file[MAX_PATH];
          IniReadString(section, StoreFormatKey(key, 64, list.prefix, n, nullptr), TEXT(""), file, MAX_PATH, ini);
          if (!DirectlyIn(file, defaultFolder) || GetFileAttributesW(file) == INVALID_FILE_ATTRIBUTES) continue;
          if (!FileDelete(file)) ok = false;
        }
      }
    }
    MemFree(names);
    if (!FileDelete(ini)) ok = false;
  }
  RemoveDirectoryW(defaultFolder);
  return ok;
}

}  // namespace

BOOL PathRemoveDefaultMachineFolder(HANDLE hPrinter) {
  WCHAR defaultFolder[MAX_PATH];
  if (!PathGetDefaultMachineFolder(defaultFolder, MAX_PATH)) return FALSE;
  // The folder in use must survive: without a known settings folder nothing is removed, nor
  // while any printer of the machine (this one included) still files its settings there.
  if (UsesDefaultFolder(hPrinter, defaultFolder)) return FALSE;
  if (DefaultFolderInUseByAnyPrinter(defaultFolder)) return FALSE;
  return RemoveDriverFiles(hPrinter, defaultFolder) ? TRUE : FALSE;
}

// ---- the settings file ----

namespace {

const WCHAR kEmptyPath[1] = {0};
const DWORD kUiPathChars = DWORD(kPathChars);  // the UI state's path buffers

bool IsAbsoluteName(const WCHAR* name) { return name && name[0] && name[1] == u':'; }

// The decision of PathSettingsFile; info and driverInfo are given by the FromInfo form.
const WCHAR* SettingsFile(DriverContext* ctx, bool withInfo, const PRINTER_INFO_2* info,
                          const DRIVER_INFO_3* driverInfo) {
  UiState* ui = ctx ? ctx->ui : nullptr;
  if (!ui) return kEmptyPath;
  WCHAR* path = ui->settingsFilePath;
  const WCHAR* name = CtxModelRecord(ctx)->settingsIniName;
  if (IsAbsoluteName(name)) {
    if (!StrCopyIfFits(path, kUiPathChars, name)) path[0] = 0;
    return path;
  }
  WCHAR folder[kUiPathChars];
  int length = 0;
  int multiSession =
      withInfo ? OsIsMultiSessionHostFromInfo(ctx->printer, driverInfo) : OsIsMultiSessionHost(ctx->printer);
  if (multiSession && !(ui->openKind & 0x40000))
    length = withInfo ? PathGetSessionSettingsFolderFromInfo(folder, kUiPathChars, ctx, info)
                      : PathGetSessionSettingsFolder(folder, kUiPathChars, ctx);
  if (length <= 0)
    length = withInfo ? PathGetSettingsFolderFromInfo(folder, kUiPathChars, ctx, info)
                      : PathGetSettingsFolder(folder, kUiPathChars, ctx);
  // Without a folder the path stays empty, so that no caller falls back to a relative name.
  if (length <= 0 || DWORD(length) >= kUiPathChars) {
    path[0] = 0;
    return path;
  }
  folder[length] = u'\\';
  StrJoin(path, kUiPathChars, folder, DWORD(length) + 1, name);
  return path;
}

int SettingsFileOf(WCHAR* buffer, DWORD size, int perUser, HANDLE hPrinter, bool withInfo,
                    const PRINTER_INFO_2* info) {
  if (!buffer || !size) return 0;
  buffer[0] = 0;
  WCHAR folder[kUiPathChars];
  int length;
  if (perUser == 1)
    length = withInfo ? PathGetUserSettingsFolderFromInfo(folder, kUiPathChars, hPrinter, info)
                      : PathGetUserSettingsFolder(folder, kUiPathChars, hPrinter);
  else
    length = withInfo ? PathGetSettingsFolderOfFromInfo(folder, kUiPathChars, hPrinter, info)
                      : PathGetSettingsFolderOf(folder, kUiPathChars, hPrinter);
  if (length <= 0 || DWORD(length) >= kUiPathChars) return 0;
  folder[length] = u'\\';
  return StrJoin(buffer, size, folder, DWORD(length) + 1, TblGetModelRecord()->settingsIniName) ? 1 : 0;
}

}  // namespace

const WCHAR* PathSettingsFile(DriverContext* ctx) { return SettingsFile(ctx, false, nullptr, nullptr); }

const WCHAR* PathSettingsFileFromInfo(DriverContext* ctx, const PRINTER_INFO_2* info,
                                      const DRIVER_INFO_3* driverInfo) {
  return SettingsFile(ctx, true, info, driverInfo);
}

int PathSettingsFileOf(WCHAR* buffer, DWORD cchBuffer, int perUser, HANDLE hPrinter) {
  return SettingsFileOf(buffer, cchBuffer, perUser, hPrinter, false, nullptr);
}

int PathSettingsFileOfFromInfo(WCHAR* buffer, DWORD cchBuffer, int perUser, HANDLE hPrinter, const PRINTER_INFO_2* info) {
  return SettingsFileOf(buffer, cchBuffer, perUser, hPrinter, true, info);
}
