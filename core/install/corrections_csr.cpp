// The removal of "\\CSR|" entries: sections of the settings inis, the defaults ini and the
// install ini, and values of the job-code registry keys.
#include "core/install/corrections.h"

#include "core/common/file_ops.h"
#include "core/common/locks.h"
#include "core/common/mem.h"
#include "core/common/os_tests.h"
#include "core/common/text.h"
#include "core/store/ini_text.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"

namespace {

const char kCsr[] = "\\\\CSR|";  // two backslashes, "CSR", a vertical bar
constexpr DWORD kCsrBytes = 6;
const WCHAR kCommon[] = TEXT("COMMON");
const WCHAR kCsrMarker[] = TEXT("CSRIniCorrectDone");
const WCHAR kJobCodeKey[] = TEXT("SOFTWARE\\ORVEL\\JOBCODE\\");
const WCHAR* const kUserJobCodes[] = {TEXT("JCBillingCode"), TEXT("JCDocBoxPassword"), TEXT("JCInfo1"),
                                      TEXT("JCJobID"),       TEXT("JCOwnerID"),        TEXT("JCPrintPassword"),
                                      TEXT("JCUserID"),      TEXT("JCUserName")};
const WCHAR* const kMachineJobCodes[] = {TEXT("JCDriverLanguage"), TEXT("JCDriverPDL"), TEXT("JCDriverVersion")};

// Lead bytes of the Shift-JIS double-byte ranges. They are skipped with their trail byte
// whatever the code page; matching only at line starts makes that harmless elsewhere.
bool IsShiftJisLead(BYTE b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

bool StartsCsrSection(const char* p, const char* end) {
  if (end - p < ptrdiff_t(1 + kCsrBytes) || p[0] != '[') return false;
  for (DWORD i = 0; i < kCsrBytes; ++i)
    if (p[1 + i] != kCsr[i]) return false;
  return true;
}

// The byte after the line that starts at p (its CR, LF or CR LF included). A lead byte takes
// its trail byte with it, but never a line end, so a broken pair cannot hide the next line.
const char* LineEnd(const char* p, const char* end) {
  while (p < end) {
    BYTE b = BYTE(*p);
    if (b == '\r') {
      ++p;
      if (p < end && *p == '\n') ++p;
      return p;
    }
    if (b == '\n') return p + 1;
    if (IsShiftJisLead(b) && p + 1 < end && p[1] != '\r' && p[1] != '\n')
      p += 2;
    else
      ++p;
  }
  return end;
}

struct Bytes {
  const char* data;
  DWORD length;
};

bool WriteBytes(HANDLE file, void* data) {
  const Bytes* bytes = static_cast<const Bytes*>(data);
  return !bytes->length || FileWriteBytes(file, bytes->data, bytes->length) == LONG(bytes->length);
}

// The whole file, or null (*length 0) when it cannot be opened or read.
char* ReadFileBytes(LPCWSTR path, DWORD* length) {
  *length = 0;
  HANDLE h = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  DWORD size = GetFileSize(h, nullptr);
  char* data = size == INVALID_FILE_SIZE ? nullptr : static_cast<char*>(MemAllocZero(SIZE_T(size) + 1));
  if (data && size && FileReadBytes(h, data, size) != LONG(size)) {
    MemFree(data);
    data = nullptr;
  }
  CloseHandle(h);
  if (data) *length = size;
  return data;
}

// The folder part of path (up to its last "\", which is kept) into folder.
bool FolderOf(const WCHAR* path, WCHAR* folder, DWORD cchFolder) {
  int last = -1;
  for (int i = 0; path[i]; ++i)
    if (path[i] == u'\\') last = i;
  if (last < 0 || DWORD(last) + 2 > cchFolder) return false;
  for (int i = 0; i <= last; ++i) folder[i] = path[i];
  folder[last + 1] = 0;
  return true;
}

// The settings ini of the printer, per-user or per-machine; its folder with a trailing "\".
bool SettingsIniAndFolder(HANDLE printer, const PRINTER_INFO_2* info, int perUser, WCHAR* ini, WCHAR* folder) {
  if (!PathSettingsFileOfFromInfo(ini, MAX_PATH, perUser == 1 ? 1 : 0, printer, info)) return false;
  return FolderOf(ini, folder, MAX_PATH);
}

bool SameAnsiPrefix(const WCHAR* name, DWORD chars, char* narrow, DWORD cbNarrow) {
  int n = WideCharToMultiByte(CP_ACP, 0, name, int(chars), narrow, int(cbNarrow), nullptr, nullptr);
  if (n < int(kCsrBytes)) return false;
  for (DWORD i = 0; i < kCsrBytes; ++i)
    if (narrow[i] != kCsr[i]) return false;
  return true;
}

int ScrubFile(LPCWSTR file);

int WalkKeys(HKEY root, const WCHAR* const* names, int count) {
  int walked = 0;
  for (int i = 0; i < count; ++i) {
    WCHAR path[MAX_PATH];
    if (!StrJoin(path, MAX_PATH, kJobCodeKey, StrWideLength(kJobCodeKey), names[i])) continue;
    walked += InstDeleteCsrValues(path, root);
  }
  return walked;
}

}  // namespace

DWORD InstScrubCsrText(const char* text, DWORD length, char* out) {
  if (!text || !out) return 0;
  const char* p = text;
  const char* end = text + length;
  DWORD kept = 0;
  bool removing = false;
  while (p < end) {
    if (p[0] == '[') removing = StartsCsrSection(p, end);
    const char* next = LineEnd(p, end);
    if (!removing)
      while (p < next) out[kept++] = *p++;
    p = next;
  }
  return kept;
}

int InstScrubCsrSections(LPCWSTR file) {
  if (!file || !file[0]) return 0;
  // The whole file is read and written back: no other writer of the settings files may come
  // between (the mutex is re-entrant, so callers that hold it already lose nothing).
  LockGlobalMutex();
  int result = ScrubFile(file);
  UnlockGlobalMutex();
  return result;
}

namespace {

int ScrubFile(LPCWSTR file) {
  DWORD length = 0;
  char* text = ReadFileBytes(file, &length);
  if (!text) return 0;
  int result = 0;
  char* out = static_cast<char*>(MemAllocZero(SIZE_T(length) + 1));
  if (out) {
    DWORD kept = InstScrubCsrText(text, length, out);
    Bytes bytes = {out, kept};
    result = kept == length || StoreIniTextWriteReplacing(nullptr, file, WriteBytes, &bytes) ? 1 : 0;
  }
  MemFree(out);
  MemFree(text);
  return result;
}

}  // namespace

int InstCsrCorrectionState(HANDLE printer, const PRINTER_INFO_2* info, int perUser) {
  if (!info) return 0;
  WCHAR ini[MAX_PATH], folder[MAX_PATH];
  if (!SettingsIniAndFolder(printer, info, perUser, ini, folder)) return 1;
  if (GetFileAttributesW(ini) == INVALID_FILE_ATTRIBUTES) return 0;
  return GetPrivateProfileIntW(kCommon, kCsrMarker, 0, ini) == 1 ? 0 : 2;
}

int InstCsrCorrectSettingsIni(HANDLE printer, const PRINTER_INFO_2* info, int perUser, int writeMarker) {
  if (!info) return 0;
  WCHAR ini[MAX_PATH], folder[MAX_PATH];
  if (!SettingsIniAndFolder(printer, info, perUser, ini, folder)) return 1;
  if (!InstScrubCsrSections(ini)) return 0;

  // The preset copies of this ini: the first four characters of its name, then "*.rsr".
  const WCHAR* leaf = ini + StrWideLength(folder);
  WCHAR pattern[MAX_PATH];
  DWORD folderChars = StrWideLength(folder);
  if (folderChars + 4 + 6 >= MAX_PATH) return 1;
  lstrcpyW(pattern, folder);
  DWORD n = folderChars;
  for (int i = 0; i < 4 && leaf[i]; ++i) pattern[n++] = leaf[i];
  pattern[n] = 0;
  lstrcatW(pattern, TEXT("*.rsr"));

  bool all = true;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(pattern, &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      WCHAR file[MAX_PATH];
      if (!StrJoin(file, MAX_PATH, folder, folderChars, found.cFileName) || !InstScrubCsrSections(file)) all = false;
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  if (all) WritePrivateProfileStringW(kCommon, kCsrMarker, writeMarker ? TEXT("1") : nullptr, ini);
  return 0;
}

int InstCsrScrubDefaultsIni(HANDLE printer, const PRINTER_INFO_2* info, int installIni) {
  WCHAR folder[MAX_PATH], path[MAX_PATH];
  int length;
  const WCHAR* name;
  if (installIni) {
    length = int(OsGetSystemDir(folder, MAX_PATH - 1, nullptr));
    name = TEXT("ZEMS.ini");
  } else {
    length = PathGetMachineSettingsFolderOfFromInfo(folder, MAX_PATH - 1, printer, info);
    name = TEXT("OV00C170.ini");
  }
  if (length <= 0 || DWORD(length) + 1 >= MAX_PATH) return 1;
  folder[length] = u'\\';
  if (!StrJoin(path, MAX_PATH, folder, DWORD(length) + 1, name)) return 1;
  return InstScrubCsrSections(path) ? 0 : 1;
}

int InstDeleteCsrValues(LPCWSTR keyPath, HKEY root) {
  HKEY key = nullptr;
  if (!keyPath || RegOpenKeyExW(root, keyPath, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return 0;
  DWORD maxName = 0;
  if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName, nullptr,
                       nullptr, nullptr) != ERROR_SUCCESS) {
    RegCloseKey(key);
    return 1;
  }
  DWORD cchName = maxName + 1;
  DWORD cbNarrow = cchName * 2 + 1;
  WCHAR* name = static_cast<WCHAR*>(MemAllocZero(SIZE_T(cchName) * sizeof(WCHAR) + cbNarrow));
  if (!name) {
    RegCloseKey(key);
    return 1;
  }
  char* narrow = reinterpret_cast<char*>(name + cchName);
  // Each pass deletes the first match and starts again, as deleting shifts the indexes. A
  // value that cannot be deleted would match again at every pass: it ends the walk. The walk is
  // bounded by the values the key held.
  for (bool again = true; again;) {
    again = false;
    for (DWORD index = 0;; ++index) {
      DWORD chars = cchName;
      LONG status = RegEnumValueW(key, index, name, &chars, nullptr, nullptr, nullptr, nullptr);
      if (status == ERROR_MORE_DATA) continue;  // longer than the key said: not one of ours to judge
      if (status != ERROR_SUCCESS) break;
      if (!SameAnsiPrefix(name, chars, narrow, cbNarrow)) continue;
      again = RegDeleteValueW(key, name) == ERROR_SUCCESS;
      break;
    }
  }
  MemFree(name);
  RegCloseKey(key);
  return 1;
}

int InstCsrScrubUserJobCodes() {
  return WalkKeys(HKEY_CURRENT_USER, kUserJobCodes, int(sizeof kUserJobCodes / sizeof kUserJobCodes[0]));
}

int InstCsrScrubMachineJobCodes() {
  return WalkKeys(HKEY_LOCAL_MACHINE, kMachineJobCodes, int(sizeof kMachineJobCodes / sizeof kMachineJobCodes[0]));
}

void InstCleanupStaleEntries(HANDLE printer, const PRINTER_INFO_2* info, int writeMarker, int kind) {
  if (kind < kInstCleanupInitialize || kind > kInstCleanupNoDsName) return;
  PRINTER_INFO_2* fetched = nullptr;
  if (!info) info = fetched = static_cast<PRINTER_INFO_2*>(PrnGetPrinterInfo(printer, 2));
  if (info) {
    InstCsrCorrectSettingsIni(printer, info, 0, writeMarker);
    if (kind != kInstCleanupInitialize) InstCsrCorrectSettingsIni(printer, info, 1, writeMarker);
    if (kind != kInstCleanupConnection) {
      InstCsrScrubDefaultsIni(printer, info, 0);
      InstCsrScrubDefaultsIni(printer, info, 1);
    }
  }
  InstCsrScrubMachineJobCodes();
  if (kind != kInstCleanupInitialize) InstCsrScrubUserJobCodes();
  MemFree(fetched);
}

void InstCleanupStaleForPrinter(HANDLE printer, const PRINTER_INFO_2* info) {
  LockGlobalMutex();
  InstCleanupStaleEntries(printer, info, 0, kInstCleanupNoDsName);
  UnlockGlobalMutex();
}

int InstDsPrinterNameMissing(HANDLE printer) {
  if (!OsIsVistaOrLater()) return 0;
  DWORD type = 0, needed = 0;
  WCHAR name[MAX_PATH];
  DWORD status = GetPrinterDataExW(printer, TEXT("DsSpooler"), TEXT("printerName"), &type,
                                   reinterpret_cast<LPBYTE>(name), sizeof name, &needed);
  // A name longer than the buffer is there all the same.
  return status == ERROR_SUCCESS || status == ERROR_MORE_DATA ? 0 : 1;
}
