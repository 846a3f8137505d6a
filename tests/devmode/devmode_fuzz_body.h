// One run of the DEVMODE fuzz target, shared by the libFuzzer target (tools/fuzz) and the
// mutation loop of the tests: N bytes in a block of exactly N go through the sized check, the
// merge into a context of the sample printer, the copies, the identity tests, the version
// check, the conversions, the output DEVMODE and, written raw as the printer's stored DEVMODE,
// a context open. After each step the context must still hold a whole settings block header.
#pragma once
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "core/context/context_cache.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/devmode/dm_convert.h"
#include "core/devmode/dm_layout.h"
#include "core/devmode/dm_merge.h"
#include "core/devmode/option_block.h"
#include "platform/win32.h"

namespace devmode_fuzz {

inline WORD Word(const BYTE* p, UINT off) {
  WORD v;
  memcpy(&v, p + off, 2);
  return v;
}

// Empty when the block holds dmSize 220, dmDriverExtra 1016 and the words 0, 1236, 6500.
inline std::string CheckBlock(const BYTE* block, const char* step) {
  if (!block) return std::string(step) + ": no settings block";
  if (Word(block, kDmOffSize) != 220 || Word(block, kDmOffDriverExtra) != 1016 ||
      Word(block, kDmOffAreaOffsets) != 0 || Word(block, kDmOffAreaOffsets + 2) != 1236 ||
      Word(block, kDmOffAreaOffsets + 4) != 6500)
    return std::string(step) + ": the settings block header changed";
  return std::string();
}

inline bool StoreRaw(const char16_t* printerName, const BYTE* bytes, DWORD size) {
  std::u16string path = u"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\";
  path += printerName;
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, reinterpret_cast<LPCWSTR>(path.c_str()), 0, nullptr, 0, KEY_ALL_ACCESS,
                      nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  LONG rc = RegSetValueExW(key, reinterpret_cast<LPCWSTR>(u"Default DevMode"), 0, REG_BINARY, bytes, size);
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}

// Runs the input against ctx (a context of printer, named printerName). Returns an empty text,
// or what went wrong.
inline std::string RunOne(DriverContext* ctx, HANDLE printer, const char16_t* printerName, const BYTE* data,
                          size_t size) {
  if (size > (1u << 16)) return std::string();
  BYTE* in = static_cast<BYTE*>(malloc(size ? size : 1));
  if (!in) return std::string();
  if (size) memcpy(in, data, size);
  std::string why;
  const DWORD n = static_cast<DWORD>(size);
  DmOutsideView view;
  const bool checked = DmCheckOutside(in, n, &view) != 0;

  static const DWORD kFlags[] = {0x8, 0x0400000A, 0x10008, 0x0408000C, 0x20008, 0x10000008, 0x02400002};
  const DWORD flags = kFlags[(size ? in[size - 1] : 0) % (sizeof kFlags / sizeof kFlags[0])];
  DmMergeIntoContextSized(ctx, in, n, flags);
  why = CheckBlock(ctx->settings, "merge");

  // As the printer interface merges them: a request block taken from the input's bytes, marked
  // valid, in the context's own DEVMODE. Its modes 2-4 are left out (full defaults and a
  // printer refresh per input would only slow the run).
  if (why.empty() && size) {
    std::vector<BYTE> request(ctx->settings, ctx->settings + kDmSize);
    const size_t take = size < kOptionBlockSize ? size : kOptionBlockSize;
    memcpy(request.data() + kDmOffOptionRequest, in, take);
    request[kDmOffOptionRequest + 1] = 1;
    if (request[kDmOffOptionRequest] >= 2 && request[kDmOffOptionRequest] <= 4) request[kDmOffOptionRequest] = 0;
    DmApplyOptionBlock(ctx, request.data());
    if (request[kDmOffOptionRequest + 1] != 0) why = "request: applied but still marked";
    else if (Word(request.data(), kDmOffSize) != 220 || Word(request.data(), kDmOffDriverExtra) != 1016)
      why = "request: the DEVMODE's sizes changed";
    if (why.empty()) why = CheckBlock(ctx->settings, "request");
  }

  std::vector<BYTE> dst(kDmSize);
  memcpy(dst.data(), ctx->settings, kDmSize);
  DmCopyDevmodeSized(in, n, dst.data());
  DmCopyDevmodeCoreSized(in, n, dst.data());
  if (why.empty() && (Word(dst.data(), kDmOffSize) != 220 || Word(dst.data(), kDmOffDriverExtra) != 1016))
    why = "copy: the destination's sizes changed";

  // The one-argument readers see only what the sized check let through.
  if (checked && view.publicBytes) {
    DmIsOwnDevmode(in);
    DmIsOwnDevmodeAnyVersion(in);
    DmIsSameModelDevmode(in);
    DmTrustLevel(in);
    DmCheckVersion(in);
    for (DWORD mode : {1u, 2u, 4u}) {
      std::vector<BYTE> out(mode == 2 ? 1204 : kDmSize);
      memcpy(out.data(), ctx->settings, out.size() < kDmSize ? kDmOffFields + 4 : kDmSize);
      LONG needed = static_cast<LONG>(out.size());
      DmConvertDevmode(nullptr, in, out.data(), &needed, mode);
    }
    std::vector<BYTE> out(kDmSize);
    DmBuildOutputDevmode(ctx->settings, in, out.data(), ctx);
  }

  // Written raw as the printer's stored DEVMODE, it reaches a new context.
  if (StoreRaw(printerName, in, n)) {
    CtxCacheExpire(TRUE);
    DriverContext* fresh = CtxOpen(printer, printer, nullptr, 0, kKindSettings, 0, nullptr);
    if (fresh) {
      if (why.empty()) why = CheckBlock(fresh->settings, "open");
      CtxRelease(fresh, kReleaseExpired);
    }
    StoreRaw(printerName, nullptr, 0);
  }
  free(in);
  return why;
}

}  // namespace devmode_fuzz
