// Minimal version until the quality lists and the settings-file store are built: no list file
// is read and the list's name is not loaded; the load answers 0 with status 2 (unreadable).
#include "core/store/quality_lists.h"

#include "core/items/item_access.h"

void QualityLoadName(DriverContext*, LPCWSTR) {}

int StoreLoadSettingsFile(HANDLE, LPCWSTR, DWORD, DriverContext* ctx) {
  if (ctx) CtxSetFileStatus(ctx, 2);
  return 0;
}
