// Owner and access of a folder and what is in it (defined with the settings folders, which
// secure the per-machine folder with them).
#pragma once
#include "platform/win32.h"

// Flags of the two below: 1 the path only; else the files in it too, sub-folders when bit 1
// is set, entered when bit 2 is set (links are never entered).
BOOL FolderSetAdminOwner(LPCWSTR path, DWORD flags);
BOOL FolderGrantEveryone(LPCWSTR path, DWORD flags);
