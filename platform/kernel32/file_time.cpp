// FILETIME arithmetic and calendar conversion. The simulated machine keeps its local time
// equal to UTC, so the local conversions copy the value.
#include "platform/kernel32/file_internal.h"
#include "platform/sim/trace.h"

namespace winsim {
namespace {

const unsigned long long kTicksPerDay = 864000000000ULL;

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  long long era = (y >= 0 ? y : y - 399) / 400;
  unsigned yoe = unsigned(y - era * 400);
  unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, long long* y, unsigned* m, unsigned* d) {
  z += 719468;
  long long era = (z >= 0 ? z : z - 146096) / 146097;
  unsigned doe = unsigned(z - era * 146097);
  unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  unsigned mp = (5 * doy + 2) / 153;
  *d = doy - (153 * mp + 2) / 5 + 1;
  *m = mp < 10 ? mp + 3 : mp - 9;
  *y = static_cast<long long>(yoe) + era * 400 + (*m <= 2);
}

const long long kDays1601To1970 = 134774;

}  // namespace
}  // namespace winsim

WINSIM_API LONG WINAPI CompareFileTime(const FILETIME* first, const FILETIME* second) {
  if (!first || !second) return 0;
  unsigned long long a = winsim::TicksOf(*first), b = winsim::TicksOf(*second);
  return a < b ? -1 : a > b ? 1 : 0;
}

WINSIM_API BOOL WINAPI FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME systemTime) {
  if (!fileTime || !systemTime || (fileTime->dwHighDateTime & 0x80000000u)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  unsigned long long ticks = winsim::TicksOf(*fileTime);
  unsigned long long days = ticks / winsim::kTicksPerDay;
  unsigned long long rest = ticks % winsim::kTicksPerDay;
  long long year;
  unsigned month, day;
  winsim::CivilFromDays(static_cast<long long>(days) - winsim::kDays1601To1970, &year, &month, &day);
  systemTime->wYear = WORD(year);
  systemTime->wMonth = WORD(month);
  systemTime->wDay = WORD(day);
  systemTime->wDayOfWeek = WORD((days + 1) % 7);  // 1601-01-01 was a Monday
  systemTime->wHour = WORD(rest / 36000000000ULL);
  systemTime->wMinute = WORD(rest / 600000000ULL % 60);
  systemTime->wSecond = WORD(rest / 10000000ULL % 60);
  systemTime->wMilliseconds = WORD(rest / 10000ULL % 1000);
  return TRUE;
}

WINSIM_API BOOL WINAPI SystemTimeToFileTime(const SYSTEMTIME* st, LPFILETIME fileTime) {
  static const unsigned char kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (!st || !fileTime || st->wYear < 1601 || st->wYear > 30827 || st->wMonth < 1 || st->wMonth > 12 ||
      st->wHour > 23 || st->wMinute > 59 || st->wSecond > 59 || st->wMilliseconds > 999 || st->wDay < 1) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  bool leap = (st->wYear % 4 == 0 && st->wYear % 100 != 0) || st->wYear % 400 == 0;
  unsigned last = kMonthDays[st->wMonth - 1] + (st->wMonth == 2 && leap ? 1 : 0);
  if (st->wDay > last) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  long long days = winsim::DaysFromCivil(st->wYear, st->wMonth, st->wDay) + winsim::kDays1601To1970;
  unsigned long long ticks = static_cast<unsigned long long>(days) * winsim::kTicksPerDay +
                             ((st->wHour * 60ULL + st->wMinute) * 60ULL + st->wSecond) * 10000000ULL +
                             st->wMilliseconds * 10000ULL;
  *fileTime = winsim::FileTimeOfTicks(ticks);
  return TRUE;
}

// Simplified: the machine's time zone is UTC without daylight saving time.
WINSIM_API BOOL WINAPI FileTimeToLocalFileTime(const FILETIME* fileTime, LPFILETIME localFileTime) {
  WINSIM_SIMPLIFIED("FileTimeToLocalFileTime", "takes local time as UTC");
  if (!fileTime || !localFileTime) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *localFileTime = *fileTime;
  return TRUE;
}

WINSIM_API BOOL WINAPI LocalFileTimeToFileTime(const FILETIME* localFileTime, LPFILETIME fileTime) {
  return FileTimeToLocalFileTime(localFileTime, fileTime);
}
