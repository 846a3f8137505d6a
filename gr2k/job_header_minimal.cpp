// Minimal: the command-list walkers of the job header, page header and page end are not built
// yet, nor the keeping of the job strings. Until they are, every command list is empty text
// (the blocks go out with length 0) and keeping the job strings only merges the job DEVMODE
// again. Replaced by the job-header command lists.
#include "gr2k/job_sequence.h"

#include "core/devmode/dm_convert.h"
#include "core/devmode/dm_merge.h"

LONG JobStartCommands(DriverContext*, char*) { return 0; }
LONG JobPageStartCommands(DriverContext*, char*) { return 0; }
LONG JobPageEndCommands(DriverContext*, char*) { return 0; }

BOOL JobKeepStrings(GraphicsPdev* pdev) {
  DWORD cb = pdev->devmode ? DWORD(pdev->devmode->dmSize) + pdev->devmode->dmDriverExtra : kDmUnknownLength;
  return DmMergeIntoContextSized(pdev->context, pdev->devmode, cb, kMergeImageFormReset | kMergeGate);
}
