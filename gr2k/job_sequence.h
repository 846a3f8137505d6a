// The job and page sequence: the job header before the first page (and again after a reset),
// and per page a page header, the display list and a page end, with the spool side told of
// each step before its data.
#pragma once
#include <stddef.h>

#include "gr2k/pdev.h"

struct DriverContext;

// The job-name line for a multibyte job name in code page codePage: "@PJL SET JOBNAME = \"",
// the name cut to 232 bytes (a double-byte character is never split: the cut scans from the
// name's start), '"' as an apostrophe and control bytes as blanks, then "\"\r\n". Returns the
// line's length; line needs 256 bytes.
DWORD JobNameLine(const char* name, DWORD cbName, UINT codePage, char* line);
// The notification value: bit 0 job-complete notice, bit 1 job-error notice, each selected and
// supported.
DWORD JobNotificationValue(LONG selectComplete, LONG selectError, LONG supportComplete, LONG supportError);

