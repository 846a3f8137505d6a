// The PDEV's life: DrvEnablePDEV builds it (context, DEVMODE copy, options, GDIINFO and
// DEVINFO), DrvResetPDEV carries a started document over to a new one, DrvDisablePDEV frees it.
#include <string.h>

#include "core/bind/plugin_registry.h"
#include "core/common/module_handle.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/devmode/dm_convert.h"
#include "core/devmode/dm_merge.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "gr2k/ddi_bodies.h"
#include "gr2k/job_strings.h"
#include "gr2k/ddi_functions.h"
#include "gr2k/draw_state.h"
#include "gr2k/device_fonts.h"
#include "gr2k/spool_binding.h"
#include "gr2k/stream.h"

namespace {

constexpr DWORD kPdevMergeFlags = kMergeKeepLockPrnMethod | kMergeGate;  // 0x10008
constexpr DWORD kClipCacheBytes = 32;

// The bytes of a job DEVMODE: GDI hands it over in a buffer of exactly dmSize + dmDriverExtra
// bytes, so that is all that may be read; 0 when its public part does not even reach through
// dmFields.
DWORD JobDevmodeBytes(const DEVMODEW* dm) {
  DWORD known = DWORD(dm->dmSize) + dm->dmDriverExtra;
  DmOutsideView view;
  return DmCheckOutside(dm, known, &view) && view.publicBytes ? known : 0;
}

// Step 8 of the enable: everything the PDEV holds goes, the default palette included.
DHPDEV FailPdev(GraphicsPdev* pdev) {
  if (pdev->palette) EngDeletePalette(pdev->palette);
  pdev->palette = nullptr;
  PdevFree(pdev);
  return nullptr;
}

}  // namespace

void PdevFree(GraphicsPdev* pdev) {
  if (!pdev) return;
  PdevPool* pool = pdev->pool;
  if (pdev->devmode) PdevPoolFree(pool, pdev->devmode);
  pdev->devmode = nullptr;
  if (pdev->context) CtxClose(pdev->context);
  pdev->context = nullptr;
  pdev->magic = pdev->magicEnd = 0;
  PdevPoolDestroy(pool);  // the PDEV itself is one of its blocks
}

ZEMS_EXPORT DHPDEV WINAPI DrvEnablePDEV(DEVMODEW* dm, LPWSTR, ULONG cPatterns, HSURF* patterns, ULONG cbGdiInfo,
                                        ULONG* gdiInfo, ULONG cbDevInfo, DEVINFO* devInfo, HDEV, LPWSTR,
                                        HANDLE printer) {
  PdevPool* pool = PdevPoolCreate();
  if (!pool) return nullptr;
  GraphicsPdev* pdev = static_cast<GraphicsPdev*>(PdevPoolAlloc(pool, sizeof(GraphicsPdev)));
  if (!pdev) {
    PdevPoolDestroy(pool);
    return nullptr;
  }
  memset(pdev, 0, sizeof *pdev);
  pdev->magic = pdev->magicEnd = kPdevMagic;
  pdev->pool = pool;
  pdev->printer = printer;
  pdev->stream.printer = printer;
  pdev->stream.pdev = pdev;
  GrStreamReset(&pdev->stream);
  pdev->module = ResModuleHandle();
  if (!pdev->module) return FailPdev(pdev);

  DWORD cbDevmode = 0;
  if (dm) {
    cbDevmode = JobDevmodeBytes(dm);
    if (!cbDevmode) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FailPdev(pdev);
    }
  }
  pdev->context = CtxOpenByKind(printer, printer, nullptr, kKindLegacy);
  if (!pdev->context) return FailPdev(pdev);
  if (!DmMergeIntoContextSized(pdev->context, dm, dm ? cbDevmode : kDmUnknownLength, kPdevMergeFlags))
    return FailPdev(pdev);

  if (dm) {
    pdev->devmode = static_cast<DEVMODEW*>(PdevPoolAlloc(pool, cbDevmode));
    if (!pdev->devmode) return FailPdev(pdev);
    memcpy(pdev->devmode, dm, cbDevmode);
  }

  GDIINFO gdi;
  if (!PdevLoadOptions(pdev) || !PdevFillGdiInfo(pdev, cbGdiInfo, gdiInfo, &gdi) ||
      !PdevFillDevInfo(pdev, &gdi, cbDevInfo, devInfo))
    return FailPdev(pdev);

  pdev->deviceFontCount = 0;
  if (!pdev->rasterMode && ItemGetRawById(pdev->context, kItem_zdmDriverType) != 1) {
    ULONG fonts = 0;
    pdev->deviceFonts = FontLoadDeviceFonts(pdev, pdev->module, &fonts);
    // Fonts that cannot be loaded are not announced: the engine would list faces whose every
    // query fails.
    pdev->deviceFontCount = pdev->deviceFonts ? fonts : 0;
  }
  if (devInfo && cbDevInfo >= offsetof(DEVINFO, cFonts) + sizeof(ULONG)) devInfo->cFonts = pdev->deviceFontCount;

  if (patterns) memset(patterns, 0, cPatterns * sizeof(HSURF));
  pdev->clipCache = static_cast<BYTE*>(PdevPoolAlloc(pool, kClipCacheBytes));
  if (!pdev->clipCache) return FailPdev(pdev);
  memset(pdev->clipCache, 0, kClipCacheBytes);
  if (!GrDrawStateCreate(pdev)) return FailPdev(pdev);

  pdev->osVersion.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
  GetVersionExW(&pdev->osVersion);
  return reinterpret_cast<DHPDEV>(pdev);
}

ZEMS_EXPORT BOOL WINAPI DrvResetPDEV(DHPDEV oldHandle, DHPDEV newHandle) {
  if (!PdevIsValid(oldHandle) || !PdevIsValid(newHandle)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  GraphicsPdev* old = reinterpret_cast<GraphicsPdev*>(oldHandle);
  GraphicsPdev* fresh = reinterpret_cast<GraphicsPdev*>(newHandle);
  if (!(old->flags & kPdevDocStarted)) return TRUE;

  fresh->pageNumber = old->pageNumber;
  fresh->flags |= kPdevCarriedOver | (old->flags & kPdevDocStarted);
  old->flags |= kPdevCarriedOver;
  fresh->jobId = old->jobId;

  // What the old PDEV buffered goes out before its blocks go with its pool; the spool side
  // moves to the new PDEV (whose own inline block takes the next page), so that the old PDEV's
  // disable frees none of it.
  if (!GrStreamFlush(&old->stream)) return FALSE;
  fresh->stream.spoolModule = old->stream.spoolModule;
  fresh->stream.spoolHandle = old->stream.spoolHandle;
  fresh->stream.write = old->stream.write;
  old->stream.spoolModule = nullptr;
  old->stream.spoolHandle = nullptr;
  old->stream.write = nullptr;
  GrStreamReset(&fresh->stream);

  fresh->filterMode = old->filterMode;
  memcpy(fresh->filterOps, old->filterOps, sizeof fresh->filterOps);
  memset(old->filterOps, 0, sizeof old->filterOps);
  fresh->filterChain = old->filterChain;
  old->filterChain = nullptr;
  if (old->jobName && old->jobNameLength > 0) {
    char* name = static_cast<char*>(PdevPoolAlloc(fresh->pool, DWORD(old->jobNameLength) + 1));
    if (name) {
      memcpy(name, old->jobName, size_t(old->jobNameLength));
      name[old->jobNameLength] = 0;
      fresh->jobName = name;
      fresh->jobNameLength = old->jobNameLength;
    }
  }
  IcmMoveTransforms(old, fresh);

  // Both modes: the new context holds only the new DEVMODE, and DrvStartDoc does not run again.
  JobCopyStrings(old->context, fresh->context);
  FontGlyphCacheClear(old);
  fresh->glyphGeneration = old->glyphGeneration;

  fresh->takeOver = old->takeOver;
  if (fresh->takeOver && JobCompareDevmodes(old->devmode, fresh->devmode)) {
    fresh->jobBinderBit = old->jobBinderBit;
    fresh->printMethod = old->printMethod;
  }
  return TRUE;
}

ZEMS_EXPORT VOID WINAPI DrvDisablePDEV(DHPDEV dhpdev) {
  if (!PdevIsValid(dhpdev)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return;
  }
  GraphicsPdev* pdev = reinterpret_cast<GraphicsPdev*>(dhpdev);
  // A document that never reached DrvEndDoc (an aborted job) still holds its spool side.
  if (pdev->stream.spoolModule) GrUnbindSpoolSide(pdev);
  PdevPoolFree(pdev->pool, pdev->clipCache);
  pdev->clipCache = nullptr;
  IcmFreeTransforms(pdev);
  if (pdev->palette) EngDeletePalette(pdev->palette);
  pdev->palette = nullptr;
  FontFreeDeviceFonts(pdev);
  PluginFreeList(pdev->filterList);
  pdev->filterList = nullptr;
  PluginFreeStringList(static_cast<PluginStringList*>(pdev->filterChain));
  pdev->filterChain = nullptr;
  PdevFree(pdev);
}
