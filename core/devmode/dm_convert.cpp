// Copying and converting DEVMODEs, and the step-wise upgrade of the private layout.
#include "core/devmode/dm_convert.h"

#include <string.h>

#include "core/context/driver_context.h"
#include "core/devmode/dm_layout.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/rules/transacts.h"
#include "core/tables/model_record.h"
#include "core/tables/symbol_table.h"

namespace {

WORD Read16(const void* p, UINT off) {
  WORD v;
  memcpy(&v, static_cast<const BYTE*>(p) + off, 2);
  return v;
}
void Write16(void* p, UINT off, WORD v) { memcpy(static_cast<BYTE*>(p) + off, &v, 2); }
DWORD Read32(const void* p, UINT off) {
  DWORD v;
  memcpy(&v, static_cast<const BYTE*>(p) + off, 4);
  return v;
}

constexpr UINT kHeaderEnd = kDmOffFields + 4;  // the header fields up to dmFields
constexpr DWORD kSpec351 = 0x0320, kSpec400 = 0x0400, kSpec401 = 0x0401;

WORD SpecOfSize(WORD size, WORD own) {
  switch (size) {
    case kDmPublicSize351: return kSpec351;
    case kDmPublicSize400: return kSpec400;
    case kDmPublicSize401: return kSpec401;
    default: return own;
  }
}

// The area-offset words of a private part, wherever it starts.
void StampWordsAt(BYTE* priv) {
  const WORD words[3] = {0, WORD(kDmSize), WORD(kDmSize + kDmExtAreaSize)};
  memcpy(priv + kDmPrivOffAreaOffsets, words, sizeof words);
}

// Step 2 of the copies: the public part by the smaller size, keeping the destination's
// driver version, private size and public size. Returns the bytes copied.
DWORD CopyPublic(const DmOutsideView& s, BYTE* dst) {
  const WORD dstSize = Read16(dst, kDmOffSize);
  const WORD dstExtra = Read16(dst, kDmOffDriverExtra);
  const WORD dstVersion = Read16(dst, kDmOffDriverVersion);
  const WORD dstSpec = SpecOfSize(dstSize, Read16(dst, kDmOffSpecVersion));
  DWORD n = s.publicBytes < dstSize ? s.publicBytes : dstSize;
  memmove(dst, s.dm, n);
  Write16(dst, kDmOffDriverVersion, dstVersion);
  Write16(dst, kDmOffDriverExtra, dstExtra);
  Write16(dst, kDmOffSize, dstSize);
  Write16(dst, kDmOffSpecVersion, dstSpec);
  return n;
}

// Step 3: the private part by the smaller private size; a whole private part gets the
// area-offset words of this layout.
DWORD CopyPrivate(const DmOutsideView& s, BYTE* dst) {
  const WORD dstSize = Read16(dst, kDmOffSize);
  const WORD dstExtra = Read16(dst, kDmOffDriverExtra);
  DWORD n = s.privateBytes < dstExtra ? s.privateBytes : dstExtra;
  if (n) memmove(dst + dstSize, s.dm + s.dmSize, n);
  if (n == kDmPrivateSize) StampWordsAt(dst + dstSize);
  return n;
}

// A destination the copies may write: its header fields are there and its public part holds
// them.
bool DestinationUsable(const void* dst) {
  return dst && Read16(dst, kDmOffSize) >= kDmPublicMinSize;
}

}  // namespace

int DmCheckOutside(const void* dm, DWORD known, DmOutsideView* view) {
  DmOutsideView v = {};
  if (view) *view = v;
  if (!dm || !view) return 0;
  if (known != kDmUnknownLength && known < kHeaderEnd) return 0;
  v.dm = static_cast<const BYTE*>(dm);
  v.dmSize = Read16(dm, kDmOffSize);
  v.dmDriverExtra = Read16(dm, kDmOffDriverExtra);
  v.driverVersion = Read16(dm, kDmOffDriverVersion);
  v.specVersion = SpecOfSize(v.dmSize, Read16(dm, kDmOffSpecVersion));
  const bool privateReadable = DmIsKnownPublicSize(v.dmSize);
  const DWORD claimed = DWORD(v.dmSize) + (privateReadable ? v.dmDriverExtra : 0);
  if (known != kDmUnknownLength && claimed > known) return 0;
  if (v.dmSize >= kDmPublicMinSize) {
    v.publicBytes = v.dmSize;
    if (privateReadable) v.privateBytes = v.dmDriverExtra;
  }
  *view = v;
  return 1;
}

WORD DmSpecVersionOf(const void* dm) {
  if (!dm) return 0;
  return SpecOfSize(Read16(dm, kDmOffSize), Read16(dm, kDmOffSpecVersion));
}

LONG DmCopyDevmodeCoreSized(const void* src, DWORD srcKnown, void* dst) {
  DmOutsideView s;
  if (!DmCheckOutside(src, srcKnown, &s) || !DestinationUsable(dst) || !s.publicBytes) return -1;
  if (s.specVersion == 0 || DmSpecVersionOf(dst) == 0) return -1;
  if (s.dmSize != kDmPublicSize && s.specVersion != kSpec351) return -1;
  BYTE* d = static_cast<BYTE*>(dst);
  DWORD n = CopyPublic(s, d);
  n += CopyPrivate(s, d);
  return static_cast<LONG>(n);
}

LONG DmCopyDevmodeCore(const void* src, void* dst) { return DmCopyDevmodeCoreSized(src, kDmUnknownLength, dst); }

LONG DmCopyDevmodeSized(const void* src, DWORD srcKnown, void* dst) {
  DmOutsideView s;
  if (!DmCheckOutside(src, srcKnown, &s) || !DestinationUsable(dst) || !s.publicBytes) return -1;
  if (s.specVersion == kSpec351) return DmCopyDevmodeCoreSized(src, srcKnown, dst);
  BYTE* d = static_cast<BYTE*>(dst);
  DWORD n = CopyPublic(s, d);
  if (s.privateBytes != kDmPrivateSize || s.driverVersion != Read16(d, kDmOffDriverVersion)) return -1;
  n += CopyPrivate(s, d);
  return static_cast<LONG>(n);
}

LONG DmCopyDevmode(const void* src, void* dst) { return DmCopyDevmodeSized(src, kDmUnknownLength, dst); }

int DmBuildOutputDevmode(const void* src, const void* ref, void* dst, DriverContext* ctx) {
  if (!dst) return -1;
  DmOutsideView s;
  if (!DmCheckOutside(src, kDmUnknownLength, &s) || !s.publicBytes) return 0;
  BYTE* d = static_cast<BYTE*>(dst);
  if (!ref) {
    DWORD pub = s.dmSize < kDmPublicSize ? s.dmSize : kDmPublicSize;
    DWORD priv = s.privateBytes < kDmPrivateSize ? s.privateBytes : kDmPrivateSize;
    memmove(d, s.dm, pub + priv);
    // The copy is capped, so its header claims what was copied, not what the source claimed.
    Write16(d, kDmOffSize, static_cast<WORD>(pub));
    Write16(d, kDmOffDriverExtra, static_cast<WORD>(priv));
    return 1;
  }
  DmOutsideView r;
  if (!DmCheckOutside(ref, kDmUnknownLength, &r)) return 0;
  // The reference's public size counts only when it is one of the known sizes.
  if (DmIsKnownPublicSize(r.dmSize) && r.dmSize < s.dmSize) {
    Write16(d, kDmOffSpecVersion, r.specVersion);
    Write16(d, kDmOffSize, r.dmSize);
  } else {
    Write16(d, kDmOffSpecVersion, s.specVersion);
    Write16(d, kDmOffSize, s.dmSize < kDmPublicSize ? s.dmSize : WORD(kDmPublicSize));
  }
  const bool takeSource = r.dmDriverExtra >= s.dmDriverExtra ||
                          (r.dmDriverExtra == 0 && ItemGetRawById(ctx, kItem_zdmHidden3Func0) != 0);
  Write16(d, kDmOffDriverVersion, takeSource ? s.driverVersion : r.driverVersion);
  WORD extra = takeSource ? s.dmDriverExtra : r.dmDriverExtra;
  Write16(d, kDmOffDriverExtra, extra < kDmPrivateSize ? extra : WORD(kDmPrivateSize));
  return DmCopyDevmodeCore(src, dst) > 0 ? 1 : 0;
}

int DmConvertDevmode(const WCHAR* printerName, const void* src, void* dst, LONG* pcbNeeded, DWORD mode) {
  (void)printerName;
  if (!pcbNeeded) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const DWORD room = *pcbNeeded > 0 ? static_cast<DWORD>(*pcbNeeded) : 0;
  switch (mode) {
    case 1: {
      if (dst && room >= kHeaderEnd) {
        const WORD size = Read16(dst, kDmOffSize);
        const DWORD needed = DWORD(size) + Read16(dst, kDmOffDriverExtra);
        if (DmIsKnownPublicSize(size) && needed <= room && DmCopyDevmodeCore(src, dst) > 0) {
          *pcbNeeded = static_cast<LONG>(needed);
          return 1;
        }
      }
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
    case 2: {
      const DWORD needed = kDmPrivateSize + kDmPublicSize351;
      if (!dst || room < needed) {
        *pcbNeeded = static_cast<LONG>(needed);
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
      }
      Write16(dst, kDmOffSpecVersion, kSpec351);
      Write16(dst, kDmOffSize, kDmPublicSize351);
      Write16(dst, kDmOffDriverVersion, 0x0350);
      Write16(dst, kDmOffDriverExtra, kDmPrivateSize);
      if (DmCopyDevmodeCore(src, dst) > 0) {
        *pcbNeeded = static_cast<LONG>(needed);
        return 1;
      }
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
    case 4: {
      const DWORD needed = kDmPrivateSize + kDmPublicSize;
      *pcbNeeded = static_cast<LONG>(needed);
      if (!dst || room < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
      }
      return 2;
    }
    default:
      return 2;
  }
}

int DmCompareVersion(DWORD a, DWORD b) {
  const DWORD aMajor = a / 100, aMinor = a % 100, bMajor = b / 100, bMinor = b % 100;
  if (aMajor < 3 && bMajor < 3) return 2;
  if (aMajor == bMajor) return aMinor < bMinor ? 1 : 0;
  return aMajor > bMajor ? 0 : 2;
}

namespace {
// The layout version of a DEVMODE, when it can be read.
bool ReadLayoutVersion(const void* dm, DWORD* version) {
  const WORD size = Read16(dm, kDmOffSize);
  if (!DmIsKnownPublicSize(size) || Read16(dm, kDmOffDriverExtra) < kDmPrivOffLayoutVersion + 4) return false;
  *version = Read32(dm, size + kDmPrivOffLayoutVersion);
  return true;
}
}  // namespace

int DmCheckVersion(const void* dm) {
  if (!dm) return -1;
  DWORD version = 0;
  if (!ReadLayoutVersion(dm, &version)) return 2;
  return DmCompareVersion(version, TblGetModelRecord()->layoutVersion);
}

int DmRunConvertScript(DWORD from, DWORD to, DriverContext* ctx) {
  const SymbolEntry* entry = TblFindSymbolByName("TOV_ConvertDevmode");
  if (!entry || entry->symbolId == 0) return 0;
  // Item 1020 holds 16 bits: a step it cannot name is not run.
  for (DWORD v = from + 1; v <= to && v <= 0xFFFF && v > from; ++v) {
    ItemSetRawById(ctx, kItem_wdmConvertVersion, static_cast<LONG_PTR>(v));
    ModelRunItemTransactById(entry->symbolId, ctx);
    if (static_cast<DWORD>(ItemGetRawById(ctx, kItem_wdmConvertVersion)) >= to) break;
  }
  return 1;
}

int DmUpgradeVersion(const void* dm, DriverContext* ctx) {
  if (DmCheckVersion(dm) != 1) return 0;
  DWORD from = 0;
  ReadLayoutVersion(dm, &from);
  const DWORD to = CtxModelRecord(ctx)->layoutVersion;
  int result = DmRunConvertScript(from, to, ctx);
  if (ctx && ctx->settings) memcpy(ctx->settings + kDmOffLayoutVersion, &to, 4);
  return result;
}
