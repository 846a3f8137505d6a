// Reports of the machine's shortcuts on stderr, switched on by ZEMS_SIM_TRACE.
#include "platform/sim/trace.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace winsim {

bool TraceChannelOn(const char* channel) {
  const char* list = getenv("ZEMS_SIM_TRACE");
  if (!list) return false;
  size_t wanted = strlen(channel);
  for (const char* p = list; *p;) {
    size_t n = strcspn(p, ", \t");
    if ((n == wanted && strncmp(p, channel, n) == 0) || (n == 3 && strncmp(p, "all", 3) == 0)) return true;
    p += n;
    if (*p) ++p;
  }
  return false;
}

void ReportSimplified(std::atomic<bool>* site, const char* call, const char* shortcut) {
  if (site->load(std::memory_order_relaxed) || !TraceChannelOn("simplified")) return;
  if (site->exchange(true)) return;
  fprintf(stderr, "simplified: %s %s\n", call, shortcut);
  fflush(stderr);
}

}  // namespace winsim
