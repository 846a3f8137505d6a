// shell32's special folders. Simplified (reported under ZEMS_SIM_TRACE=simplified): only the
// documents folder is known, as the user profile's "My Documents"; the folder is not created.
#include "platform/sim/internal.h"
#include "platform/sim/trace.h"

WINSIM_API HRESULT WINAPI SHGetFolderPathW(HWND owner, int folder, HANDLE token, DWORD flags, LPWSTR path) {
  (void)owner;
  (void)token;
  (void)flags;
  WINSIM_SIMPLIFIED("SHGetFolderPathW", "only CSIDL_PERSONAL, the profile's My Documents");
  if (!path) return E_INVALIDARG;
  path[0] = 0;
  if ((folder & 0xFF) != CSIDL_PERSONAL) return E_INVALIDARG;
  WCHAR profile[MAX_PATH] = {};
  const DWORD n = GetEnvironmentVariableW(u"USERPROFILE", profile, MAX_PATH);
  if (!n || n >= MAX_PATH) return E_FAIL;
  const std::u16string documents = std::u16string(profile) + u"\\My Documents";
  if (documents.size() >= MAX_PATH) return E_FAIL;
  documents.copy(reinterpret_cast<char16_t*>(path), documents.size());
  path[documents.size()] = 0;
  return S_OK;
}
