// The stamps of the install passes and the pending housekeeping: when a printer was installed
// for the machine and for the user, and with which driver.
#include "core/store/pending_housekeeping.h"

#include "core/common/ini_access.h"
#include "core/common/locks.h"
#include "core/context/ui_state.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "core/system/terminal_server.h"
#include "core/tables/model_record.h"

namespace {

constexpr DWORD kPath = 260;

// "%04d%02d%02d%02d%02d%02d" of the local time.
void FormatLocalTime(WCHAR* buffer) {
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  wsprintfW(buffer, TEXT("%04d%02d%02d%02d%02d%02d"), now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
            now.wSecond);
}

const WCHAR* DriverVersion() {
  const ModelRecord* record = TblGetModelRecord();
  return record && record->modelVersion ? record->modelVersion : TEXT("");
}

}  // namespace

int InstWriteStamp(HANDLE printer, int type, int scope) {
  if (!OsIsMultiSessionHost(printer)) return 1;
  WCHAR ini[kPath], name[kPrinterNameChars], time[32], number[16];
  name[0] = 0;
  if (!PathSettingsFileOf(ini, kPath, scope == kInstStampUser ? 1 : 0, printer)) return 0;
  if (!PrnGetPrinterNameOf(printer, name, kPrinterNameChars) || !name[0]) return 0;
  FormatLocalTime(time);
  wsprintfW(number, TEXT("%d"), type);
  LockGlobalMutex();
  bool ok = IniWriteString(name, TEXT("DrvInstTime"), time, ini) != FALSE;
  if (ok && scope == kInstStampMachineFirst) ok = IniWriteString(name, TEXT("DrvFirstInstTime"), time, ini) != FALSE;
  if (ok) ok = IniWriteString(name, TEXT("DrvInstType"), number, ini) != FALSE;
  if (ok) ok = IniWriteString(name, TEXT("DrvInstVersion"), DriverVersion(), ini) != FALSE;
  UnlockGlobalMutex();
  return ok ? 1 : 0;
}
