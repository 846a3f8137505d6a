// Minimal version until the resource DLLs are built: the language resource DLL is
// "ZEMSUIUS.DLL" in the driver folder, whatever the display language.
#include "core/system/printer_names.h"
#include "core/system/resources.h"
#include "core/context/ui_state.h"
#include "core/system/driver_paths.h"

const WCHAR* ResLanguageDllPath(DriverContext* ctx) {
  static const WCHAR kEmpty[1] = {0};
  if (!ctx || !ctx->ui) return kEmpty;
  PathGetDriverDir(ctx);
  WCHAR* buffer = ctx->ui->driverDirPath;
  const WCHAR name[] = TEXT("ZEMSUIUS.DLL");
  DWORD n = 0;
  while (buffer[n]) ++n;
  if (n + sizeof(name) / sizeof(name[0]) > 260) {
    buffer[0] = 0;
    return buffer;
  }
  for (DWORD i = 0; i < sizeof(name) / sizeof(name[0]); ++i) buffer[n + i] = name[i];
  return buffer;
}
