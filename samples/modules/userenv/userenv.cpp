// Stand-in for the system's "UserEnv.dll": the profile folder of the token's user is the
// simulated process's USERPROFILE variable; without that variable the call fails.
#include "platform/win32.h"

extern "C" __attribute__((visibility("default"))) BOOL WINAPI GetUserProfileDirectoryW(HANDLE token, LPWSTR dir,
                                                                                       LPDWORD size) {
  if (!token) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!size) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  WCHAR profile[MAX_PATH];
  DWORD length = GetEnvironmentVariableW(TEXT("USERPROFILE"), profile, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  if (!dir || *size <= length) {
    *size = length + 1;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  for (DWORD i = 0; i <= length; ++i) dir[i] = profile[i];
  *size = length + 1;
  return TRUE;
}
