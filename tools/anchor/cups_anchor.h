/* The CUPS side of the benchmarks' comparison: what a described printer costs through libcups
   (Debian's libcups2-dev). A compile there is ppdOpenFile + ppdMarkDefaults + ppdConflicts; a
   change is ppdMarkOption + ppdConflicts on an open PPD. Built only where libcups is found. */
#ifndef ZEMS_TOOLS_CUPS_ANCHOR_H
#define ZEMS_TOOLS_CUPS_ANCHOR_H

#ifdef __cplusplus
extern "C" {
#endif

/* Opens the PPD at path, marks its defaults and counts its conflicts: the count, or -1 when
   the file does not open as a PPD. */
int CupsAnchorCompile(const char *path);

typedef struct CupsAnchorPpd CupsAnchorPpd;
/* An open PPD with its defaults marked, for changes; null when it does not open. */
CupsAnchorPpd *CupsAnchorOpen(const char *path);
void CupsAnchorClose(CupsAnchorPpd *ppd);
/* Number of options, and of choices of option i (0 for a bad index). */
int CupsAnchorOptionCount(const CupsAnchorPpd *ppd);
int CupsAnchorChoiceCount(const CupsAnchorPpd *ppd, int option);
/* Marks choice c of option i and counts the conflicts, as a change of one setting does. */
int CupsAnchorChange(CupsAnchorPpd *ppd, int option, int choice);

/* The last open's error as text, with its line into *line. */
const char *CupsAnchorLastError(int *line);

/* Thread CPU time in seconds. */
double CupsAnchorThreadSeconds(void);

#ifdef __cplusplus
}
#endif
#endif
