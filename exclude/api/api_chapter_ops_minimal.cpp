// Minimal: the chapter module's window-less list operations and the colour-matching profile
// list are not built yet. Every operation answers 0 (not carried out); there are no profiles.
#include "exclude/api/api_chapters.h"

int ApiChapterListOp(ApiContext* api, int operation, LONG_PTR* record) {
  (void)api;
  (void)operation;
  (void)record;
  return 0;
}

LONG ApiColorProfileCount(ApiContext* api) {
  (void)api;
  return 0;
}
