// Helpers of the DEVMODE tests: DEVMODEs of this driver made from a context, and the printer's
// stored DEVMODE written as raw bytes.
#pragma once
#include <string.h>

#include <string>
#include <vector>

#include "core/context/driver_context.h"
#include "core/devmode/dm_layout.h"
#include "platform/win32.h"

namespace zems_test {

inline DWORD ReadU32(const BYTE* p, UINT off) {
  DWORD v;
  memcpy(&v, p + off, 4);
  return v;
}
inline WORD ReadU16(const BYTE* p, UINT off) {
  WORD v;
  memcpy(&v, p + off, 2);
  return v;
}
inline void WriteU32(BYTE* p, UINT off, DWORD v) { memcpy(p + off, &v, 4); }
inline void WriteU16(BYTE* p, UINT off, WORD v) { memcpy(p + off, &v, 2); }

// The context's DEVMODE as this driver writes it: its own identity fields filled in (the
// machine code and driver type come from the repair sweep, which a context may not have run).
std::vector<BYTE> OwnDevmode(DriverContext* ctx, DWORD version = 322);

// Writes bytes as the printer's stored DEVMODE, as the spooler keeps it (no check of any kind).
void StorePrinterDevmodeRaw(const char16_t* printerName, const void* bytes, DWORD size);

// True when the DEVMODE area of the context holds the invariant header of every settings block.
bool HeaderIntact(const BYTE* block);

// Puts the job-control stand-in where the machine's loader finds it and forgets its log.
void InstallJobControl();
// The stand-in's calls since then, one word each ("JCGetInterface", "slot2", ...); a run of
// the same call counts once, and a fetch (slot4) names its property ("slot4 property=1").
std::vector<std::string> JobControlCalls();

}  // namespace zems_test
