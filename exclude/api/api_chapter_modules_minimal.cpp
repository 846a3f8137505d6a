// Minimal: the colour-profile and chapter modules have no window-less builds yet. Each
// operation records what it was given and answers "not done" (profile names) or "refused"
// (merge, delete), leaving the chapter array as it is.
#include "exclude/api/api_chapter_modules.h"

#include <string.h>

namespace {
ApiChapterModuleCall g_last = {};

void Record(int operation, LONG index, const WCHAR* entry) {
  g_last = {};
  g_last.operation = operation;
  g_last.index = index;
  if (entry)
    for (int i = 0; i < 31 && entry[i]; ++i) g_last.entry[i] = entry[i];
}
}  // namespace

int ApiCmmProfileName(ApiContext*, LONG index, WCHAR*) {
  Record(1, index, nullptr);
  return 0;
}

int ApiChapterMerge(ApiContext*, const WCHAR* entry) {
  Record(2, 0, entry);
  return 1;
}

int ApiChapterDeleteOne(ApiContext*, LONG index) {
  Record(3, index, nullptr);
  return 1;
}

void ApiChapterDeleteAll(ApiContext*) { Record(4, 0, nullptr); }

const ApiChapterModuleCall* ApiChapterModuleLastCall() { return &g_last; }
