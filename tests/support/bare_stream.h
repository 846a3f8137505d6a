// A graphics PDEV of a test's own, without GDI or a job: its pool, and an output stream whose
// blocks go to the test's write function as the spool DLL's "DrvSplWritePrinter" would get them.
#pragma once
#include <string.h>

#include "gr2k/pdev.h"
#include "gr2k/stream.h"

namespace zems_test {

inline void BareStreamPdevOpen(GraphicsPdev* pdev, BOOL(WINAPI* write)(HANDLE, LPVOID, DWORD, LPDWORD)) {
  memset(pdev, 0, sizeof(GraphicsPdev));
  pdev->pool = PdevPoolCreate();
  pdev->stream.pdev = pdev;
  pdev->stream.spoolModule = reinterpret_cast<HMODULE>(1);
  pdev->stream.write = reinterpret_cast<PVOID>(write);
  GrStreamReset(&pdev->stream);
}

}  // namespace zems_test
