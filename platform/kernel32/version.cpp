// The Windows version of the simulated machine (GetVersionExW, VerifyVersionInfoW).
#include <string.h>

#include "platform/sim/identity.h"
#include "platform/sim/internal.h"

namespace winsim {
namespace {

bool Compare(DWORD have, DWORD want, int condition) {
  switch (condition) {
    case VER_EQUAL: return have == want;
    case VER_GREATER: return have > want;
    case VER_GREATER_EQUAL: return have >= want;
    case VER_LESS: return have < want;
    case VER_LESS_EQUAL: return have <= want;
  }
  return false;
}

int ConditionOf(ULONGLONG mask, DWORD type) {
  for (int bit = 0; bit < 8; ++bit)
    if (type == (1u << bit)) return int((mask >> (bit * 3)) & 7);
  return 0;
}

// Lexicographic comparison over the given parts of major.minor.spmajor.spminor, under the
// condition of the most significant part asked for, as Windows compares versions.
bool CompareVersionGroup(const SimSystemIdentity& id, const OSVERSIONINFOEXW* want, DWORD types, ULONGLONG mask) {
  const struct {
    DWORD type;
    DWORD have, want;
  } parts[] = {{VER_MAJORVERSION, id.majorVersion, want->dwMajorVersion},
               {VER_MINORVERSION, id.minorVersion, want->dwMinorVersion},
               {VER_SERVICEPACKMAJOR, id.servicePackMajor, want->wServicePackMajor},
               {VER_SERVICEPACKMINOR, id.servicePackMinor, want->wServicePackMinor}};
  int condition = 0;
  for (const auto& p : parts) {
    if (!(types & p.type)) continue;
    if (!condition) condition = ConditionOf(mask, p.type);
    if (p.have != p.want) return Compare(p.have, p.want, condition);
  }
  return Compare(0, 0, condition);
}

// Answered from the suite mask alone, as Windows does: a workstation with Remote Desktop
// (VER_SUITE_TERMINAL with VER_SUITE_SINGLEUSERTS) has the terminal-services suite.
bool SuiteMatches(WORD have, WORD want, int condition) {
  if (condition == VER_AND) return (have & want) == want;
  if (condition == VER_OR) return want == 0 || (have & want) != 0;
  return false;
}

}  // namespace
}  // namespace winsim

using namespace winsim;

WINSIM_API BOOL WINAPI GetVersionExW(LPOSVERSIONINFOW info) {
  if (!info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOW) && info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOEXW)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  SimSystemIdentity id = CurrentIdentity();
  info->dwMajorVersion = id.majorVersion;
  info->dwMinorVersion = id.minorVersion;
  info->dwBuildNumber = id.buildNumber;
  info->dwPlatformId = id.platformId;
  std::u16string csd = ToUtf16(id.csdVersion);
  if (csd.size() > 127) csd.resize(127);
  memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
  memcpy(info->szCSDVersion, csd.data(), csd.size() * 2);
  if (info->dwOSVersionInfoSize == sizeof(OSVERSIONINFOEXW)) {
    OSVERSIONINFOEXW* ex = reinterpret_cast<OSVERSIONINFOEXW*>(info);
    ex->wServicePackMajor = id.servicePackMajor;
    ex->wServicePackMinor = id.servicePackMinor;
    ex->wSuiteMask = id.suiteMask;
    ex->wProductType = id.productType;
    ex->wReserved = 0;
  }
  return TRUE;
}

WINSIM_API DWORD WINAPI GetVersion(void) {
  SimSystemIdentity id = CurrentIdentity();
  DWORD v = (id.majorVersion & 0xFF) | ((id.minorVersion & 0xFF) << 8);
  if (id.platformId == VER_PLATFORM_WIN32_NT) v |= (id.buildNumber & 0x7FFF) << 16;
  else v |= 0x80000000u;
  return v;
}

WINSIM_API ULONGLONG WINAPI VerSetConditionMask(ULONGLONG ConditionMask, DWORD TypeMask, BYTE Condition) {
  if (!TypeMask) return ConditionMask;
  for (int bit = 0; bit < 8; ++bit) {
    if (TypeMask & (1u << bit)) {
      ConditionMask &= ~(ULONGLONG(7) << (bit * 3));
      ConditionMask |= ULONGLONG(Condition & 7) << (bit * 3);
    }
  }
  return ConditionMask;
}

WINSIM_API BOOL WINAPI VerifyVersionInfoW(LPOSVERSIONINFOEXW want, DWORD types, DWORDLONG mask) {
  if (!want || !types || !mask) {
    SetLastError(ERROR_BAD_ARGUMENTS);
    return FALSE;
  }
  SimSystemIdentity id = CurrentIdentity();
  bool ok = true;
  const DWORD versionGroup = VER_MAJORVERSION | VER_MINORVERSION | VER_SERVICEPACKMAJOR | VER_SERVICEPACKMINOR;
  if (types & versionGroup) ok = ok && CompareVersionGroup(id, want, types & versionGroup, mask);
  if (types & VER_BUILDNUMBER)
    ok = ok && Compare(id.buildNumber, want->dwBuildNumber, ConditionOf(mask, VER_BUILDNUMBER));
  if (types & VER_PLATFORMID)
    ok = ok && Compare(id.platformId, want->dwPlatformId, ConditionOf(mask, VER_PLATFORMID));
  if (types & VER_PRODUCT_TYPE)
    ok = ok && Compare(id.productType, want->wProductType, ConditionOf(mask, VER_PRODUCT_TYPE));
  if (types & VER_SUITENAME)
    ok = ok && SuiteMatches(id.suiteMask, want->wSuiteMask, ConditionOf(mask, VER_SUITENAME));
  if (!ok) {
    SetLastError(ERROR_OLD_WIN_VERSION);
    return FALSE;
  }
  return TRUE;
}

WINSIM_API UINT WINAPI GetSystemWindowsDirectoryW(LPWSTR lpBuffer, UINT uSize) {
  return GetWindowsDirectoryW(lpBuffer, uSize);
}
