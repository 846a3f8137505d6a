// The resolution cap: above 600 dpi a page whose extents in dots pass the limit of the command
// mode (zdmLoadShare) is printed at 600 dpi.
#include "core/devmode/resolution_limit.h"

#include "core/common/os_tests.h"
#include "core/context/ui_state.h"
#include "core/devmode/couplings.h"
#include "core/items/derived_settings.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/tables/build_switches.h"
#include "core/tables/print_macros.h"

namespace {

constexpr SHORT kCapResolution = 600;
constexpr DWORD kOutputFollowsInput = 1024;

DWORD U(DriverContext* ctx, WORD id) { return static_cast<DWORD>(ItemGetRawById(ctx, id)); }
LONG S(DriverContext* ctx, WORD id) { return static_cast<LONG>(ItemGetRawById(ctx, id)); }

bool DstWithin30708(DriverContext* ctx) {
  return U(ctx, kItem_zdmDstPaperWidthDot) < 30709 && U(ctx, kItem_zdmDstPaperLengthDot) < 30709;
}
bool DstWithin32124(DriverContext* ctx) {
  return U(ctx, kItem_zdmDstPaperWidthDot) <= 32124 && U(ctx, kItem_zdmDstPaperLengthDot) <= 32124;
}
bool SrcWithin32124(DriverContext* ctx) {
  return U(ctx, kItem_zdmSrcPaperWidthDot) <= 32124 && U(ctx, kItem_zdmSrcPaperLengthDot) <= 32124;
}

// The source extents as the page is scaled or spread over poster sheets.
bool SrcScaledWithin30708(DriverContext* ctx) {
  LONG w = S(ctx, kItem_zdmSrcPaperWidthDot);
  LONG l = S(ctx, kItem_zdmSrcPaperLengthDot);
  const LONG scaleType = S(ctx, kItem_zdmScaleType);
  if (S(ctx, kItem_zdmFuncSelectScale) != 0 && scaleType != 2) {
    const LONG h = static_cast<SHORT>(S(ctx, kItem_zdmScaleH));
    const LONG v = scaleType == 1 ? h : static_cast<SHORT>(S(ctx, kItem_zdmScaleV));
    w = static_cast<LONG>(static_cast<long long>(h) * w / 100);
    l = static_cast<LONG>(static_cast<long long>(v) * l / 100);
  } else if (S(ctx, kItem_zdmFuncSelectNup) != 0 && S(ctx, kItem_zdmNUPPOSTKind) == 9) {
    DWORD t = static_cast<WORD>(S(ctx, kItem_zdmNUPType));
    if (t >= 32769) t -= 32768;
    if (t == 1) {
      if (w < l)
        w *= 2;
      else
        l *= 2;
    } else {
      w = static_cast<LONG>(static_cast<long long>(w) * t);
      l = static_cast<LONG>(static_cast<long long>(l) * t);
    }
  }
  return w < 30709 && l < 30709;
}

bool PageFits(DriverContext* ctx) {
  if (static_cast<DWORD>(S(ctx, kItem_dmPrintQuality)) <= 600) return true;
  const DWORD mode = U(ctx, kItem_zdmLoadShare) & 0xFF;
  if (mode <= 2) {
    if (OsIsWin9x())
      return U(ctx, kItem_zdmSrcPaperWidthDot) < 30709 && U(ctx, kItem_zdmSrcPaperLengthDot) < 30709 &&
             DstWithin32124(ctx);
    return U(ctx, kItem_zdmOutPaperSize) == kOutputFollowsInput ? SrcWithin32124(ctx) : DstWithin32124(ctx);
  }
  return DstWithin30708(ctx) && SrcScaledWithin30708(ctx);
}

// The locked resolution, or 0 when the lock is off. A locked print macro without a record
// names no resolution, so that lock counts as off.
SHORT LockedResolution(DriverContext* ctx) {
  if (!BuildHasFeature(ctx, 2) || !ItemLockResolution(ctx)) return 0;
  const PrintMacroResolution* row = TblFindPrintMacro(static_cast<WORD>(U(ctx, kItem_zdmLockDstResolutionBoth)));
  return row ? static_cast<SHORT>(row->xDpi) : 0;
}

}  // namespace

namespace {

// The cap proper. Its re-derivation writes raw, but the paper validity it asks for evaluates the
// paper's value rules, and a judge there may read the cap's condition item.
SHORT ResolutionLimit(DriverContext* ctx, int itemChoice, int mode) {
  const WORD chosen = itemChoice == 1 ? static_cast<WORD>(kItem_zdmDstResolutionW) : static_cast<WORD>(kItem_dmPrintQuality);
  const SHORT locked = LockedResolution(ctx);
  LONG prior = 0;
  if (locked) {
    prior = S(ctx, chosen);
    ItemSetRawById(ctx, chosen, locked);
  }
  void* dm = CtxGetSettings(ctx);
  if (itemChoice == 1)
    DmSyncResolutionFromDst(dm, ctx);
  else
    DmSyncResolutionFromQuality(dm, ctx);
  const DEVMODEW* fields = static_cast<const DEVMODEW*>(dm);
  const short paper = static_cast<short>(S(ctx, kItem_dmPaperSize));
  if (itemChoice == 1 || !fields || (fields->dmFields & (DM_PAPERLENGTH | DM_PAPERWIDTH)) != (DM_PAPERLENGTH | DM_PAPERWIDTH))
    DmApplyInputPaper(paper, kItem_dmPaperSize, ctx, dm);
  else
    DmSetPaperDotsFromSize(dm, ctx);
  DmApplyOutputPaper(static_cast<short>(S(ctx, kItem_zdmOutPaperSize)), kItem_zdmOutPaperSize, ctx, dm);

  SHORT r = PageFits(ctx) ? 0 : kCapResolution;
  if (locked) {
    if (mode == 1 && static_cast<DWORD>(prior) <= static_cast<DWORD>(r))
      r = 0;
    else if (mode == 0 && prior == r)
      r = 0;
    else if (locked < r)
      r = locked;
  }
  return r;
}

}  // namespace

// An ask made while the cap is being worked out (from a judge of that re-derivation) changes
// nothing and answers 0, no cap: the outer ask gives the answer.
SHORT FinResolutionLimit(DriverContext* ctx, int itemChoice, int mode) {
  if (!ctx) return 0;
  UiState* ui = ctx->ui;
  if (ui && ui->resolutionCapBusy) return 0;
  if (ui) ui->resolutionCapBusy = 1;
  const SHORT r = ResolutionLimit(ctx, itemChoice, mode);
  if (ui) ui->resolutionCapBusy = 0;
  return r;
}

SHORT DmResolutionLimitFor(DriverContext* ctx, int itemChoice) { return FinResolutionLimit(ctx, itemChoice, 0); }

SHORT FinResolutionOverLimit(DriverContext* ctx, int itemChoice) { return FinResolutionLimit(ctx, itemChoice, 1); }
