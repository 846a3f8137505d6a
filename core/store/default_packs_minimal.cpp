// Minimal version until the default packs are built: a pack lists no preset and no quality
// file, so an import copies nothing and succeeds.
#include "core/store/default_packs.h"

int InstImportPresetFiles(const WCHAR*, const WCHAR*, DWORD, DriverContext*, int, const WCHAR*) { return 1; }

int InstImportQualityFiles(const WCHAR*, const WCHAR*, DWORD, DriverContext*) { return 1; }
