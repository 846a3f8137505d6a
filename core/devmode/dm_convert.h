// Copying and converting DEVMODEs, and upgrading the private layout version. DEVMODEs that
// come from outside (callers, the spooler, the printer's stored DEVMODE, settings files) are
// read through one checked reader: nothing past the claimed sizes, nothing past a length the
// caller knows, and a private part only behind a public part of 188, 212 or 220 bytes.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// What of an outside DEVMODE may be read.
struct DmOutsideView {
  const BYTE* dm;
  WORD dmSize;          // the claimed public size
  WORD dmDriverExtra;   // the claimed private size
  WORD specVersion;     // DmSpecVersionOf
  WORD driverVersion;
  DWORD publicBytes;    // 0 when the public part does not reach through dmFields, else dmSize
  DWORD privateBytes;   // dmDriverExtra behind a public part of 188, 212 or 220 bytes, else 0
};
// A length the caller does not know: the DEVMODE is read as far as it claims.
constexpr DWORD kDmUnknownLength = 0xFFFFFFFFu;
// Fills view for a DEVMODE of which known bytes are there (kDmUnknownLength: as many as it
// claims). Returns
// 0 for a null DEVMODE, a known length that does not hold the header fields, or claimed
// sizes that go past the known length; the view is then empty.
int DmCheckOutside(const void* dm, DWORD known, DmOutsideView* view);

// dmSpecVersion by public size: 188 0x0320, 212 0x0400, 220 0x0401, any other size the
// DEVMODE's own dmSpecVersion; 0 for null.
WORD DmSpecVersionOf(const void* dm);
// Public part by the smaller size, private part (at each DEVMODE's dmSize) by the smaller
// private size. Bytes copied, or -1 (nulls, a dmSpecVersion of 0, or a source neither 220 bytes
// long nor of dmSpecVersion 0x0320).
LONG DmCopyDevmodeCore(const void* src, void* dst);
// The same for a source of which srcKnown bytes are there (or kDmUnknownLength).
LONG DmCopyDevmodeCoreSized(const void* src, DWORD srcKnown, void* dst);
// The copy of the merge: the public part of any source, the private part only when it is
// 1016 bytes and of the destination's driver version. -1 when nothing or only the public part
// was copied.
LONG DmCopyDevmode(const void* src, void* dst);
LONG DmCopyDevmodeSized(const void* src, DWORD srcKnown, void* dst);
// The DEVMODE handed back to a caller, shaped by the reference (or a whole copy of the source
// without one). 1 success, 0 failure, -1 null destination. Never writes more than 1236 bytes.
int DmBuildOutputDevmode(const void* src, const void* ref, void* dst, DriverContext* ctx);
// The spooler's conversions: mode 1 convert, 2 to the 188-byte layout, 4 driver default.
// 1 converted, 0 failed (last error set), 2 not handled here.
int DmConvertDevmode(const WCHAR* printerName, const void* src, void* dst, LONG* pcbNeeded, DWORD mode);

// -1 for null; else DmCompareVersion of its layout version with the driver's. The version is
// read only behind a public part of 188, 212 or 220 bytes with at least 141 private bytes;
// any other DEVMODE answers 2 (not upgradable).
int DmCheckVersion(const void* dm);
// 0 current or newer, 1 upgradable (same major, older minor), 2 not upgradable.
int DmCompareVersion(DWORD a, DWORD b);
// 0 unless DmCheckVersion says 1; else the conversion script from the DEVMODE's version to
// the driver's, run on the context's items; the context's header then carries the driver's
// layout version.
int DmUpgradeVersion(const void* dm, DriverContext* ctx);
// Runs the description's conversion entry for each version after from up to to. 0 when the
// symbol table has no "TOV_ConvertDevmode", else 1.
int DmRunConvertScript(DWORD from, DWORD to, DriverContext* ctx);
