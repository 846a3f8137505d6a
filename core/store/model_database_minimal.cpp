// Minimal version until the model database is built: the model name is read as the database
// will read it, into a buffer of the calling thread instead of the UI state.
#include "core/store/model_database.h"

#include "core/common/ini_access.h"
#include "core/system/driver_paths.h"
#include "core/system/printer_names.h"

const WCHAR* InstReadModelName(DriverContext* ctx) {
  static thread_local WCHAR name[kModelNameChars];
  if (!ctx) return nullptr;
  const WCHAR* file = PathModelDataFile(ctx);
  const WCHAR* driver = PrnGetDriverName(ctx);
  if (!file || !file[0] || !driver || !driver[0]) return nullptr;
  WCHAR text[64] = {};
  IniReadString(TEXT("Models"), driver, TEXT(""), text, 64, file);
  const WCHAR* p = text;
  while (*p == u' ' || *p == u'\t') ++p;
  DWORD n = 0;
  for (; p[n] && n + 1 < kModelNameChars; ++n) name[n] = p[n];
  name[n] = 0;
  return n ? name : nullptr;
}
