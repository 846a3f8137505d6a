// Minimal version until the default packs are built: a pack lists no preset and no quality
// file, so an import copies nothing and succeeds; the batch-pack test reads the key itself,
// which nothing writes yet but a test or an administrator.
#include "core/store/default_packs.h"

#include "core/common/ini_access.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"

int InstImportPresetFiles(const WCHAR*, const WCHAR*, DWORD, DriverContext*, int, const WCHAR*) { return 1; }

int InstImportQualityFiles(const WCHAR*, const WCHAR*, DWORD, DriverContext*) { return 1; }

int InstHasBatchPack(DriverContext* ctx) {
  if (!ctx) return 0;
  const WCHAR* path = PathSettingsFile(ctx);
  if (!path || !path[0]) return 0;
  WCHAR value[8] = {};
  return IniReadString(PrnGetPrinterName(ctx), TEXT("BatchInstRst"), TEXT(""), value, 8, path) > 0 ? 1 : 0;
}
