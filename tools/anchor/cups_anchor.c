#include "tools/anchor/cups_anchor.h"

#include <cups/ppd.h>
#include <stdlib.h>
#include <time.h>

/* The deprecation warnings of the PPD calls are CUPS' advice to new printer applications;
   the comparison is about exactly these calls. */
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

struct CupsAnchorPpd {
  ppd_file_t *ppd;
  ppd_option_t **options; /* every option of every group, in file order */
  int count;
};

int CupsAnchorCompile(const char *path) {
  ppd_file_t *ppd = ppdOpenFile(path);
  int conflicts;
  if (!ppd) return -1;
  ppdMarkDefaults(ppd);
  conflicts = ppdConflicts(ppd);
  ppdClose(ppd);
  return conflicts;
}

CupsAnchorPpd *CupsAnchorOpen(const char *path) {
  CupsAnchorPpd *a = calloc(1, sizeof *a);
  ppd_option_t *o;
  int count = 0;
  if (!a) return NULL;
  a->ppd = ppdOpenFile(path);
  if (!a->ppd) {
    free(a);
    return NULL;
  }
  ppdMarkDefaults(a->ppd);
  for (o = ppdFirstOption(a->ppd); o; o = ppdNextOption(a->ppd)) ++count;
  a->options = calloc((size_t)count + 1, sizeof *a->options);
  if (!a->options) {
    CupsAnchorClose(a);
    return NULL;
  }
  for (o = ppdFirstOption(a->ppd); o && a->count < count; o = ppdNextOption(a->ppd)) a->options[a->count++] = o;
  return a;
}

void CupsAnchorClose(CupsAnchorPpd *a) {
  if (!a) return;
  if (a->ppd) ppdClose(a->ppd);
  free(a->options);
  free(a);
}

int CupsAnchorOptionCount(const CupsAnchorPpd *a) { return a ? a->count : 0; }

int CupsAnchorChoiceCount(const CupsAnchorPpd *a, int option) {
  if (!a || option < 0 || option >= a->count) return 0;
  return a->options[option]->num_choices;
}

int CupsAnchorChange(CupsAnchorPpd *a, int option, int choice) {
  ppd_option_t *o;
  if (!a || option < 0 || option >= a->count) return -1;
  o = a->options[option];
  if (choice < 0 || choice >= o->num_choices) return -1;
  ppdMarkOption(a->ppd, o->keyword, o->choices[choice].choice);
  return ppdConflicts(a->ppd);
}

const char *CupsAnchorLastError(int *line) { return ppdErrorString(ppdLastError(line)); }

double CupsAnchorThreadSeconds(void) {
  struct timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}
