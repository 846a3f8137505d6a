// A job-control property read on its own: load the DLL, open a connection by printer name,
// ask the value's size, read it, close and unload.
#include "core/bind/jc_string.h"

#include <string.h>

#include <vector>

#include "core/bind/export_of.h"
#include "core/bind/job_control.h"
#include "core/common/mem.h"
#include "core/common/path_text.h"

namespace {

constexpr DWORD kJcNoValue = 13;
const WCHAR kJcLibraryName[] = TEXT("ORVJC32.DLL");

DWORD ExpectedBytes(DWORD property) {
  switch (property) {
    case 1: case 3: case 4: case 7: case 8: return 18;
    case 2: case 5: return 34;
    case 6: return 130;
    default: return 2;
  }
}

}  // namespace

HMODULE ApiJcLoadLibrary() {
  WCHAR path[MAX_PATH + 1] = {};
  PathInSystemDir(path, MAX_PATH, kJcLibraryName);
  return path[0] ? LoadLibraryW(path) : nullptr;
}

int ApiJcGetString(HANDLE printer, DWORD property, DWORD flag, WCHAR* buffer, DWORD bufferChars) {
  (void)flag;
  if (!buffer || bufferChars == 0) return 0;
  buffer[0] = 0;
  PRINTER_INFO_2W* info = static_cast<PRINTER_INFO_2W*>(JcGetPrinterAlloc(printer, 2));
  if (!info) return 0;
  if (!info->pPrinterName) {
    MemFree(info);
    return 0;
  }
  HMODULE module = ApiJcLoadLibrary();
  if (!module) {
    MemFree(info);
    return 0;
  }
  auto getInterface = ExportOf<JcGetInterfaceProc>(module, "JCGetInterface");
  auto dispose = ExportOf<JcDisposeInterfaceProc>(module, "JCDisposeInterface");
  JcOps* ops = nullptr;
  int result = 0;
  if (getInterface && dispose &&
      ((getInterface(0x102, &ops) == 0 && ops) || (getInterface(0x101, &ops) == 0 && ops))) {
    DWORD session = 0;
    if (ops->openSession && ops->getProperty && ops->openSession(info->pPrinterName, &session) == 0) {
      // The expected size, never more than the caller's buffer holds.
      DWORD expected = ExpectedBytes(property);
      if (expected > bufferChars * sizeof(WCHAR)) expected = bufferChars * sizeof(WCHAR);
      expected &= ~1u;
      DWORD needed = 0;
      DWORD r = ops->getProperty(session, property, kJcKindText, nullptr, 0, &needed);
      if (r != kJcNoValue && needed != 0 && needed <= kJcMaxValueBytes && expected >= 2) {
        std::vector<BYTE> read(needed + 2, 0);
        DWORD again = 0;
        if (ops->getProperty(session, property, kJcKindText, read.data(), needed, &again) == 0) {
          DWORD take = needed < expected ? needed : expected;
          memcpy(buffer, read.data(), take);
          DWORD chars = take / sizeof(WCHAR);
          // Cut to the expected span: its last character becomes the terminator.
          if (chars >= expected / sizeof(WCHAR)) chars = expected / sizeof(WCHAR) - 1;
          buffer[chars] = 0;
          result = 1;
        }
      }
      if (ops->closeSession) ops->closeSession(session);
    }
    dispose(ops);
  }
  FreeLibrary(module);
  MemFree(info);
  return result;
}
