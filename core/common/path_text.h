// Path text helpers: leaf, extension and base name of a Windows path, and extension
// replacement as the settings-file names use it.
#pragma once
#include "platform/win32.h"

// The text after the last backslash; the whole path when there is none; null for null.
LPCWSTR PathFindLeaf(LPCWSTR path);
// The text after the last '.' of the leaf, its length in *count (when count is given); when
// the leaf has no '.', the leaf itself with count 0. Null for null.
LPCWSTR PathFindExtension(LPCWSTR path, int* count);
// The leaf, with *count = the characters before its first '.' (the leaf's length without one).
LPCWSTR PathFindBaseName(LPCWSTR path, int* count);
// 1 when the leaf has at least one character before its first '.' and an extension of 1 to 3
// characters after its last '.'; 0 otherwise ("a.ini" 1; "a.html", ".ini", "readme" 0).
BOOL PathHasShortExtension(LPCWSTR path);
// Copies path into buffer (cchBuffer characters) with the text after the leaf's last '.' replaced
// by extension; a leaf without '.' is replaced whole, so C:\x\preset with "rsq" gives
// C:\x\rsq (stored names depend on that). 0 for a null argument, an empty path or a result
// that does not fit cchBuffer.
BOOL PathReplaceExtension(LPWSTR buffer, LPCWSTR path, LPCWSTR extension, DWORD cchBuffer);
// PathReplaceExtension with "rsq".
BOOL PathWithExtRsq(LPWSTR buffer, LPCWSTR path, DWORD cchBuffer);

// Windows or System directory + "\" + name; the empty string when it does not fit cchBuffer.
WCHAR* PathInWindowsDir(WCHAR* buffer, DWORD cchBuffer, const WCHAR* name);
WCHAR* PathInSystemDir(WCHAR* buffer, DWORD cchBuffer, const WCHAR* name);
// path begins with one or more "..\" parts, each climbing one folder up from the System
// directory; the rest follows. Empty without a "..\" part, with too few folders to climb, or
// when the result does not fit.
WCHAR* PathFromSystemDirUp(WCHAR* buffer, DWORD cchBuffer, const WCHAR* path);
