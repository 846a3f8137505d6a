// Minimal version until resource DLLs and string loading are built: every string loads empty,
// as with a missing language DLL.
#include "core/system/resources.h"

int ResLoadString(DriverContext*, UINT, WCHAR* buffer, int cchBuffer, BOOL) {
  if (buffer && cchBuffer > 0) buffer[0] = 0;
  return 0;
}

