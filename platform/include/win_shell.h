// shell32's special folders: the one the file dialogs start in on newer systems.
#pragma once
#include "platform/include/win_base.h"

#define CSIDL_PERSONAL 0x0005
#define SHGFP_TYPE_CURRENT 0

// The folder of a CSIDL into path (MAX_PATH characters): S_OK, E_INVALIDARG for a CSIDL the
// machine does not know (path then empty).
WINSIM_API HRESULT WINAPI SHGetFolderPathW(HWND owner, int folder, HANDLE token, DWORD flags, LPWSTR path);
