// Minimal version until the install ini is built: no install ini exists, so no printer has
// identification values waiting to be pushed.
#include "core/store/install_ini.h"

const WCHAR* InstIniPath(DriverContext* ctx) {
  (void)ctx;
  static const WCHAR kNone[1] = {0};
  return kNone;
}

int InstGetDrvInstSet(const WCHAR* iniPath, const WCHAR* printerName) {
  (void)iniPath;
  (void)printerName;
  return 0;
}

void InstSetDrvInstSet(const WCHAR* iniPath, const WCHAR* printerName, int value) {
  (void)iniPath;
  (void)printerName;
  (void)value;
}

