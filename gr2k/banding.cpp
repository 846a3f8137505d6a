// DrvStartBanding and DrvNextBand: GDI renders the page into the band bitmap band by band, and
// each rendered band goes out as an image record.
#include <string.h>

#include "gr2k/band_send.h"
#include "gr2k/ddi_bodies.h"
#include "gr2k/records.h"

namespace {

// Makes the band white from row first on.
void FillWhite(SURFOBJ* so, LONG first = 0) {
  if (!so || !so->pvScan0 || first >= so->sizlBitmap.cy) return;
  LONG stride = so->lDelta < 0 ? -so->lDelta : so->lDelta;
  BYTE* top = static_cast<BYTE*>(so->pvScan0) + first * so->lDelta;
  if (so->lDelta < 0) top += so->lDelta * (so->sizlBitmap.cy - 1 - first);
  GrWhiten(top, size_t(stride) * size_t(so->sizlBitmap.cy - first));
}

}  // namespace

BOOL BandStart(GraphicsPdev* pdev, SURFOBJ* so, POINTL* origin) {
  // A metafile-played page reaches the bands without DrvStartPage.
  if (pdev->emfSpooling && !pdev->pageStartedForBanding) {
    if (!SeqStartPage(pdev, so)) return FALSE;
    pdev->pageStartedForBanding = 0;
  } else if (!(pdev->flags & kPdevPageOpen)) {
    if (!SeqStartPage(pdev, so)) return FALSE;
    pdev->pageStartedForBanding = 0;
  }
  pdev->bandOrigin = POINTL{0, 0};
  pdev->bandCount = 0;
  if (origin) *origin = pdev->bandOrigin;
  if (pdev->clipCache && *reinterpret_cast<DWORD*>(pdev->clipCache)) {
    if (!GrRecClipReset(&pdev->stream)) return FALSE;
    memset(pdev->clipCache, 0, 32);
  }
  if (!GrRecRop(&pdev->stream, 0xCC)) return FALSE;
  FillWhite(so);
  return TRUE;
}

BOOL BandNext(GraphicsPdev* pdev, SURFOBJ* so, POINTL* origin) {
  if (!so) return FALSE;
  pdev->bandCount++;
  LONG pageHeight = pdev->bandSurfaceSize.cy;
  LONG bandHeight = so->sizlBitmap.cy;
  POINTL at = pdev->bandOrigin;
  // The page ends with the band that reaches its last row, and only rows inside it are sent.
  BOOL finished = at.y + bandHeight >= pageHeight;
  LONG rows = finished ? pageHeight - at.y : bandHeight;
  POINTL next = finished ? POINTL{-1, -1} : POINTL{at.x, at.y + bandHeight};
  BOOL sent = TRUE;
  if (rows > 0) {
    POINTL from = {0, 0};
    RECTL dest = {at.x, at.y, at.x + so->sizlBitmap.cx, at.y + rows};
    sent = GrSendBandWhitening(pdev, so, &from, &dest);
  }
  // The rows sent are white already; the rest (or all, when sending failed) is made so here.
  FillWhite(so, sent && rows > 0 ? rows : 0);
  pdev->bandOrigin = next;
  if (origin) *origin = next;
  if (!sent) return FALSE;
  return finished ? SeqSendPage(pdev, so) : TRUE;
}
