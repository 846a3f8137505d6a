// Chapter arrays as the interface compares them.
#include "exclude/api/api_chapters.h"

int ChapterArraysDiffer(const ChapterRecord* a, const ChapterRecord* b, DWORD used, DWORD count) {
  if (!a || !b) return 1;
  if (used > count) used = count;  // the count of the array bounds every compare
  for (DWORD i = 0; i < used; ++i)
    if (a[i].page != b[i].page || a[i].kind != b[i].kind || a[i].tray != b[i].tray || a[i].print != b[i].print)
      return 1;
  return 0;
}
