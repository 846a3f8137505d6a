// Minimal version until the conversion of settings layouts is built: versions compare by
// major and minor, and no conversion script runs.
#include "core/devmode/dm_convert.h"

int DmCompareVersion(DWORD a, DWORD b) {
  if (a >= b) return 0;
  return a / 100 == b / 100 ? 1 : 2;
}

int DmRunConvertScript(DWORD, DWORD, DriverContext*) { return 0; }
