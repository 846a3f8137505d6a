// Stand-in for the print-notification information DLL. Scripted by files under
// <root>/stand-ins/ (format in the README's conventions), read at every call:
//   ompninf.bits   "capability <bits>" and "value <bits>" (0 when absent)
//   ompninf.force  "<export> <result>": the export returns that result and sets no bits
// and every call is appended to ompninf.log with its arguments and answer.
#include <string.h>

#include "samples/modules/stand_in_script.h"

namespace {

constexpr char kLog[] = "ompninf.log";
constexpr DWORD kInvalidParameter = 87;

DWORD Bits(const char* which) {
  for (const std::string& line : stand_in::Lines("ompninf.bits")) {
    size_t n = strlen(which);
    if (line.compare(0, n, which) == 0 && line.size() > n && line[n] == ' ')
      return DWORD(strtoul(line.c_str() + n + 1, nullptr, 0));
  }
  return 0;
}

}  // namespace

STAND_IN_EXPORT DWORD WINAPI OMGetPrintNotificationCapability(LPCSTR printer, DWORD* bits) {
  DWORD r = 0, answer = 0;
  if (!stand_in::Forced("ompninf.force", "OMGetPrintNotificationCapability", &r)) {
    if (!printer || !bits)
      r = kInvalidParameter;
    else
      *bits = answer = Bits("capability");
  }
  stand_in::Log(kLog, "OMGetPrintNotificationCapability printer=\"%s\" length=%u -> %lu bits=%lu",
                printer ? printer : "", printer ? unsigned(strlen(printer)) : 0u, r, answer);
  return r;
}

STAND_IN_EXPORT DWORD WINAPI OMGetPrintNotificationValue(DWORD* bits) {
  DWORD r = 0, answer = 0;
  if (!stand_in::Forced("ompninf.force", "OMGetPrintNotificationValue", &r)) {
    if (!bits)
      r = kInvalidParameter;
    else
      *bits = answer = Bits("value");
  }
  stand_in::Log(kLog, "OMGetPrintNotificationValue -> %lu bits=%lu", r, answer);
  return r;
}
