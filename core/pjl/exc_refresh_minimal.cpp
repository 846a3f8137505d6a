// Minimal: the installed options of an exclusion handle's context are the stored ones that
// the context open loaded; nothing is asked of the printer and nothing is marked acquired.
#include "core/pjl/pjl_service.h"

int ExcRefreshOptions(ExcHandle* handle, int refresh) {
  (void)handle;
  (void)refresh;
  return 0;
}
