// Reading and deleting the keys of an install ini's printer section (internal to the install code).
#pragma once
#include "platform/win32.h"

namespace inst_keys {

// "*": the default every optional key is read with, so a missing key is told from an empty one.
bool IsAbsent(const WCHAR* value);
// Reads key of section into buffer (cchBuffer characters) with the default def; true unless
// the key was absent (the value read is "*").
bool ReadKey(const WCHAR* iniPath, const WCHAR* section, const WCHAR* key, const WCHAR* def, WCHAR* buffer,
             DWORD cchBuffer);
void DeleteKey(const WCHAR* iniPath, const WCHAR* section, const WCHAR* key);
// Deletes the key keeping the file's last-write time (mode 1: only when the time can be read);
// nothing happens when the file does not exist.
void DeleteKeyKeepTime(const WCHAR* iniPath, const WCHAR* section, const WCHAR* key, int keepTimeMode);

}  // namespace inst_keys
