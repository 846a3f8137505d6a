// Stand-in for the known-folder lookup of the system's "shell32.dll" (Windows Vista and
// later): only FOLDERID_LocalAppDataLow is known, as USERPROFILE + "\AppData\LocalLow". The
// text is allocated from the heap that the "ole32.dll" stand-in's CoTaskMemFree frees.
#include <stdlib.h>
#include <string.h>

#include "platform/win32.h"

namespace {
// FOLDERID_LocalAppDataLow {A520A1A4-1780-4FF6-BD18-167343C5AF16}
const GUID kLocalAppDataLow = {0xA520A1A4, 0x1780, 0x4FF6, {0xBD, 0x18, 0x16, 0x73, 0x43, 0xC5, 0xAF, 0x16}};
}  // namespace

extern "C" __attribute__((visibility("default"))) HRESULT WINAPI SHGetKnownFolderPath(const GUID& id, DWORD,
                                                                                      HANDLE, PWSTR* path) {
  if (!path) return E_INVALIDARG;
  *path = nullptr;
  if (memcmp(&id, &kLocalAppDataLow, sizeof(GUID)) != 0) return E_INVALIDARG;
  WCHAR profile[MAX_PATH];
  DWORD length = GetEnvironmentVariableW(TEXT("USERPROFILE"), profile, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return E_FAIL;
  static const WCHAR kTail[] = TEXT("\\AppData\\LocalLow");
  const DWORD tail = sizeof(kTail) / sizeof(WCHAR);  // with its terminator
  WCHAR* text = static_cast<WCHAR*>(malloc((length + tail) * sizeof(WCHAR)));
  if (!text) return E_OUTOFMEMORY;
  memcpy(text, profile, length * sizeof(WCHAR));
  memcpy(text + length, kTail, tail * sizeof(WCHAR));
  *path = text;
  return S_OK;
}
