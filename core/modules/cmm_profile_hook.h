// The colour-profile browse dialog's hook: the typed name completed from the folder list and
// checked as a colour profile before the dialog may close.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

constexpr int kCmmPathChars = 1025;  // the joined path with its terminator
constexpr WORD kMessageNoProfile = 10077;

// The full path of a typed name (into path, kCmmPathChars characters): a name with a drive or
// starting with two backslashes (a UNC path) as it stands; one starting with a single
// backslash behind the drive of the folder list's first line; any other behind the folder
// lines 0 .. selected, each followed by '\'. 0 when the path would not fit (nothing usable
// is written), 1 otherwise.
int CmmJoinProfilePath(LPCWSTR name, const LPCWSTR* folders, int selected, WCHAR* path);

// The hook the file dialog of the profile kind (0x4000) runs with.
UINT_PTR CALLBACK CmmProfileDialogHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
