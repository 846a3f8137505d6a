// Minimal version until the default packs are built: the batch-pack test reads the key
// itself; nothing writes it yet but a test or an administrator.
#include "core/store/default_packs.h"

#include "core/common/ini_access.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"

int InstHasBatchPack(DriverContext* ctx) {
  if (!ctx) return 0;
  const WCHAR* path = PathSettingsFile(ctx);
  if (!path || !path[0]) return 0;
  WCHAR value[8] = {};
  return IniReadString(PrnGetPrinterName(ctx), TEXT("BatchInstRst"), TEXT(""), value, 8, path) > 0 ? 1 : 0;
}
