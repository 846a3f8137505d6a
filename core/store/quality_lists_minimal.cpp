// Minimal version until the quality lists and the settings-file store are built: no list file
// is read and the list's name is not loaded; the load answers 0 and leaves the status alone.
#include "core/store/quality_lists.h"

void QualityLoadName(DriverContext*, LPCWSTR) {}

int StoreLoadSettingsFile(HANDLE, LPCWSTR, DWORD, DriverContext*) { return 0; }
