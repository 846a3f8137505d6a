// The job header's job-name and notification lines.
#include <string.h>

#include "gr2k/job_sequence.h"

namespace {

constexpr char kNamePrefix[] = "@PJL SET JOBNAME = \"";
constexpr char kNameSuffix[] = "\"\r\n";
// A whole line is at most 255 bytes.
constexpr DWORD kMaxNameBytes = 255 - (sizeof kNamePrefix - 1) - (sizeof kNameSuffix - 1);

}  // namespace

DWORD JobNameLine(const char* name, DWORD cbName, UINT codePage, char* line) {
  DWORD at = sizeof kNamePrefix - 1;
  memcpy(line, kNamePrefix, at);
  DWORD kept = 0;
  while (kept < cbName && kept < kMaxNameBytes) {
    BYTE c = BYTE(name[kept]);
    if (IsDBCSLeadByteEx(codePage, c)) {
      if (kept + 2 > kMaxNameBytes || kept + 2 > cbName) break;
      line[at++] = char(c);
      line[at++] = name[kept + 1];
      kept += 2;
      continue;
    }
    line[at++] = c == '"' ? '\'' : c < 0x20 || c == 0x7F ? ' ' : char(c);
    ++kept;
  }
  memcpy(line + at, kNameSuffix, sizeof kNameSuffix - 1);
  return at + sizeof kNameSuffix - 1;
}

DWORD JobNotificationValue(LONG selectComplete, LONG selectError, LONG supportComplete, LONG supportError) {
  return DWORD((supportComplete + 2 * supportError) & (selectComplete + 2 * selectError));
}

