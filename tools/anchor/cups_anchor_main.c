/* Times the CUPS side alone on one PPD file: ppdOpenFile + ppdMarkDefaults + ppdConflicts,
   repeated, thread CPU time, min and median. compile_bench and change_bench run it interleaved
   with the driver's side; this program is for a PPD of one's own.
   Usage: cups_anchor FILE.ppd [runs] */
#include <stdio.h>
#include <stdlib.h>

#include "tools/anchor/cups_anchor.h"

static int CompareDoubles(const void *a, const void *b) {
  double x = *(const double *)a, y = *(const double *)b;
  return x < y ? -1 : x > y;
}

int main(int argc, char **argv) {
  int runs = argc > 2 ? atoi(argv[2]) : 50, i, conflicts = 0;
  double *times;
  if (argc < 2 || argc > 3 || runs < 1) {
    fprintf(stderr, "usage: cups_anchor FILE.ppd [runs]\n");
    return 2;
  }
  times = calloc((size_t)runs, sizeof *times);
  if (!times) return 1;
  for (i = 0; i < runs; ++i) {
    double start = CupsAnchorThreadSeconds();
    conflicts = CupsAnchorCompile(argv[1]);
    times[i] = CupsAnchorThreadSeconds() - start;
    if (conflicts < 0) {
      fprintf(stderr, "cups_anchor: %s does not open as a PPD\n", argv[1]);
      free(times);
      return 1;
    }
  }
  qsort(times, (size_t)runs, sizeof *times, CompareDoubles);
  printf("%s: open + mark defaults + conflicts: min %.3f ms, median %.3f ms (%d runs, %d conflicts)\n", argv[1],
         times[0] * 1e3, times[runs / 2] * 1e3, runs, conflicts);
  free(times);
  return 0;
}
