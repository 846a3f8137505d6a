// The drawing-state cache of a page, the mix and ROP tables and the brush of a drawing call.
#include "gr2k/draw_state.h"

#include <string.h>

#include "gr2k/records.h"
#include "gr2k/records_vector.h"

namespace {

// Index: ROP2 code 0 to 16.
const BYTE kMixTable[17] = {0xCC, 0xFF, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77,
                            0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0x00};
// The ROP3 codes of pattern and destination only, in ROP2 order 1 to 16.
const BYTE kRop3OfRop2[16] = {0x00, 0x05, 0x0A, 0x0F, 0x50, 0x55, 0x5A, 0x5F,
                              0xA0, 0xA5, 0xAA, 0xAF, 0xF0, 0xF5, 0xFA, 0xFF};

DrawStateCache* StateOf(GraphicsPdev* pdev) { return pdev->drawState; }

}  // namespace

BOOL GrDrawStateCreate(GraphicsPdev* pdev) {
  pdev->drawState = static_cast<DrawStateCache*>(PdevPoolAlloc(pdev->pool, sizeof(DrawStateCache)));
  if (!pdev->drawState) return FALSE;
  memset(pdev->drawState, 0, sizeof(DrawStateCache));
  return TRUE;
}

void GrDrawStateNewPage(GraphicsPdev* pdev) {
  if (pdev->clipCache) reinterpret_cast<ClipCache*>(pdev->clipCache)->valid = 0;
  DrawStateCache* state = StateOf(pdev);
  if (!state) return;
  state->ropSet = state->modeSet = state->patternSet = state->colourSet = state->lineSet = FALSE;
  state->fontSelected = FALSE;
}

BYTE GrMixToRop3(ULONG rop2) { return rop2 <= 16 ? kMixTable[rop2] : 0xCC; }

ULONG GrRop3ToRop2(BYTE rop3) {
  for (ULONG i = 0; i < 16; ++i)
    if (kRop3OfRop2[i] == rop3) return i + 1;
  return 0;
}

MIX GrRop4ToMix(ROP4 rop4) { return GrRop3ToRop2(BYTE(rop4)) | (GrRop3ToRop2(BYTE(rop4 >> 8)) << 8); }

void GrMixToState(MIX mix, ULONG* rop2, DWORD* mode) {
  *rop2 = mix & 0xFF;
  *mode = ((mix >> 8) & 0xFF) == R2_NOP ? 1 : 2;
}

DWORD GrDeviceColour(DWORD colour) {
  return (colour & 0xFF00FF00u) | ((colour & 0xFF) << 16) | ((colour >> 16) & 0xFF);
}

RealizedBrush* GrBrushColor(GraphicsPdev* pdev, SURFOBJ*, BRUSHOBJ* bo, POINTL* ptlBrushOrg) {
  DrawStateCache* state = StateOf(pdev);
  if (!bo || !state) return nullptr;
  RealizedBrush* brush;
  if (bo->iSolidColor == 0xFFFFFFFFu) {
    brush = static_cast<RealizedBrush*>(BRUSHOBJ_pvGetRbrush(bo));
    if (!brush) return nullptr;
    brush->originX = ptlBrushOrg ? WORD(ptlBrushOrg->x & 0xFF) : 0;
    brush->originY = ptlBrushOrg ? WORD(ptlBrushOrg->y & 0xFF) : 0;
  } else {
    brush = &state->solid;
    brush->kind = kBrushSolid;
    brush->originX = brush->originY = 0;
    brush->foreground = bo->iSolidColor;
    brush->background = 0xFFFFFF;
    brush->bitsPerPixel = 0;
    brush->size = 0;
  }
  brush->hostIcm = bo->flColorType & BR_HOST_ICM;
  return brush;
}

BOOL GrStateRop(GraphicsPdev* pdev, BYTE rop3) {
  DrawStateCache* state = StateOf(pdev);
  if (!state) return FALSE;
  if (state->ropSet && state->rop == rop3) return TRUE;
  if (!GrRecRop(&pdev->stream, rop3)) return FALSE;
  state->ropSet = TRUE;
  state->rop = rop3;
  return TRUE;
}

BOOL GrStateMode(GraphicsPdev* pdev, BYTE mode) {
  DrawStateCache* state = StateOf(pdev);
  if (!state) return FALSE;
  if (state->modeSet && state->mode == mode) return TRUE;
  if (!GrRecMode(&pdev->stream, mode)) return FALSE;
  state->modeSet = TRUE;
  state->mode = mode;
  return TRUE;
}

// A pattern brush is always stated again (its bits may differ under the same kind); a solid
// brush only after a pattern.
BOOL GrStatePattern(GraphicsPdev* pdev, const RealizedBrush* brush) {
  DrawStateCache* state = StateOf(pdev);
  if (!state || !brush) return FALSE;
  state->patternOrigin = POINTL{brush->originX, brush->originY};
  if (state->patternSet && brush->kind == kBrushSolid && state->patternKind == kBrushSolid) return TRUE;
  if (!GrRecPattern(&pdev->stream, brush)) return FALSE;
  state->patternSet = TRUE;
  state->patternKind = brush->kind;
  return TRUE;
}

BOOL GrStateColour(GraphicsPdev* pdev, const ColourState& colour) {
  DrawStateCache* state = StateOf(pdev);
  if (!state) return FALSE;
  ColourState device = colour;
  device.foreground = GrDeviceColour(colour.foreground);
  device.background = GrDeviceColour(colour.background);
  device.third = colour.hasThird ? GrDeviceColour(colour.third) : 0;
  const ColourState& last = state->colour;
  if (state->colourSet && last.use == device.use && last.mode == device.mode && last.hasThird == device.hasThird &&
      last.foreground == device.foreground && last.background == device.background &&
      (!device.hasThird || last.third == device.third)) {
    state->colour.hostIcm = device.hostIcm;
    return TRUE;
  }
  if (!GrRecColor(&pdev->stream, device)) return FALSE;
  state->colourSet = TRUE;
  state->colour = device;
  return TRUE;
}

BOOL GrLineAttrState(GraphicsPdev* pdev, const LineState& line) {
  DrawStateCache* state = StateOf(pdev);
  if (!state) return FALSE;
  const LineState& last = state->line;
  bool all = !state->lineSet;
  if ((all || last.width != line.width || last.pattern != line.pattern || last.unit != line.unit) &&
      !GrRecLineAttr(&pdev->stream, BYTE(line.unit), line.width, line.pattern))
    return FALSE;
  if ((all || last.offset != line.offset) && !GrRecLineOffset(&pdev->stream, BYTE(line.offset))) return FALSE;
  if ((all || last.cap != line.cap) && !GrRecLineCap(&pdev->stream, line.cap)) return FALSE;
  if ((all || last.join != line.join || last.miter != line.miter) &&
      !GrRecLineJoin(&pdev->stream, line.join, line.miter))
    return FALSE;
  state->lineSet = TRUE;
  state->line = line;
  return TRUE;
}
