// DrvTextOut in vector mode: the clip, the opaque rectangle, the text colours, then the font's
// selection and the text in the form its kind asks for, then the extra rectangles.
#include "gr2k/ddi_bodies.h"
#include "gr2k/draw_path.h"
#include "gr2k/records_vector.h"
#include "gr2k/text_out.h"

namespace {

constexpr ULONG kPatternBrush = 0xFFFFFFFFu;

// A name of the IFIMETRICS: at most kFontNameChars characters, none read beyond cjThis.
void NameOf(const IFIMETRICS* ifi, PTRDIFF at, const WCHAR** name, ULONG* chars) {
  *name = nullptr;
  *chars = 0;
  if (at <= 0 || ULONG(at) >= ifi->cjThis) return;
  const WCHAR* w = reinterpret_cast<const WCHAR*>(reinterpret_cast<const BYTE*>(ifi) + at);
  ULONG room = (ifi->cjThis - ULONG(at)) / 2, n = 0;
  while (n < room && n < kFontNameChars && w[n]) ++n;
  *name = w;
  *chars = n;
}

// The text colours (use kind 2): a pattern brush's two colours, or the solid colour on white.
BOOL TextColour(GraphicsPdev* pdev, SURFOBJ* so, BRUSHOBJ* bo, POINTL* org, MIX mix) {
  RealizedBrush* brush = GrBrushColor(pdev, so, bo, org);
  if (!brush || !GrStatePattern(pdev, brush)) return FALSE;
  bool pattern = bo->iSolidColor == kPatternBrush;
  ColourState colour = {2, DWORD(pattern ? 2 : 1), pattern ? brush->foreground : bo->iSolidColor,
                        pattern ? brush->background : 0xFFFFFF, 0, 0, bo->flColorType & BR_HOST_ICM};
  return GrStateColour(pdev, colour) && GrStateMode(pdev, BYTE(pattern ? 2 : 1)) &&
         GrStateRop(pdev, GrMixToRop3(mix & 0xFF));
}

bool Empty(const RECTL& r) { return r.left == r.right || r.top == r.bottom; }

}  // namespace

BOOL VecTextOut(GraphicsPdev* pdev, SURFOBJ* so, STROBJ* str, FONTOBJ* font, CLIPOBJ* clip, RECTL* extra,
                RECTL* opaque, BRUSHOBJ* fore, BRUSHOBJ* opaqueBrush, POINTL* org, MIX mix) {
  TextCall call = {};
  call.pdev = pdev;
  call.str = str;
  call.font = font;
  call.ifi = FONTOBJ_pifi(font);
  if (!call.ifi) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (GrClipToRecords(pdev, clip) == -1) return FALSE;

  if (opaque && opaqueBrush && !Empty(*opaque)) {
    if (!TextColour(pdev, so, opaqueBrush, org, mix)) return FALSE;
    if (!GrRecRect(&pdev->stream, kRectFill, *opaque)) return FALSE;
  }
  if (!fore || !TextColour(pdev, so, fore, org, mix)) return FALSE;

  XFORMOBJ* xo = FONTOBJ_pxoGetXform(font);
  if (!xo || XFORMOBJ_iGetXform(xo, &call.xform) == DDI_ERROR) return FALSE;
  FontCallGeometry(call.xform, *call.ifi, &call.sizes);
  NameOf(call.ifi, call.ifi->dpwszFamilyName, &call.family, &call.familyChars);
  NameOf(call.ifi, call.ifi->dpwszFaceName, &call.face, &call.faceChars);

  FontSelection sel;
  BOOL sent;
  if (!pdev->textAsBitmap || FontSpecialOutputJob(pdev)) {
    sent = FontDecideKind(call, &sel) &&
           (sel.kind == kFontKindCodes ? FontSendCodes(call, sel) : FontSendOutlines(call));
  } else {
    sent = FontSubstituteDevice(call, &sel) &&
           (sel.kind == kFontKindCodes ? FontSendCodes(call, sel) : FontSendBitmapText(call, sel));
  }
  if (!sent) return FALSE;

  for (RECTL* r = extra; r && !Empty(*r); ++r)
    if (!GrRecRect(&pdev->stream, kRectFill, *r)) return FALSE;
  return TRUE;
}
