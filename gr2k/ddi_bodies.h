// The work of the DDI functions behind their common checks: what each function does once its
// PDEV is known to be valid (and, for the drawing calls, once output is due in vector mode).
#pragma once
#include "gr2k/pdev.h"
#include "platform/ddi.h"

// Page sequence and banding.
BOOL SeqStartDoc(GraphicsPdev* pdev, SURFOBJ* so, LPWSTR docName, DWORD jobId);
BOOL SeqEndDoc(GraphicsPdev* pdev, SURFOBJ* so, FLONG fl);
BOOL SeqStartPage(GraphicsPdev* pdev, SURFOBJ* so);
BOOL SeqSendPage(GraphicsPdev* pdev, SURFOBJ* so);
BOOL BandStart(GraphicsPdev* pdev, SURFOBJ* so, POINTL* origin);
BOOL BandNext(GraphicsPdev* pdev, SURFOBJ* so, POINTL* origin);

// Vector drawing into the display list.
BOOL VecBitBlt(GraphicsPdev* pdev, SURFOBJ* trg, SURFOBJ* src, SURFOBJ* mask, CLIPOBJ* clip, XLATEOBJ* xlate,
               RECTL* rclTrg, POINTL* ptlSrc, POINTL* ptlMask, BRUSHOBJ* brush, POINTL* ptlBrush, ROP4 rop4);
// DrvBitBlt with a source and a ROP3 that uses it: the image transfer.
BOOL VecBitBltImage(GraphicsPdev* pdev, SURFOBJ* trg, SURFOBJ* src, SURFOBJ* mask, CLIPOBJ* clip, XLATEOBJ* xlate,
                    RECTL* rclTrg, POINTL* ptlSrc, POINTL* ptlMask, BRUSHOBJ* brush, POINTL* ptlBrush, ROP4 rop4);
BOOL VecCopyBits(GraphicsPdev* pdev, SURFOBJ* dst, SURFOBJ* src, CLIPOBJ* clip, XLATEOBJ* xlate, RECTL* rclDst,
                 POINTL* ptlSrc);
BOOL VecStretchBlt(GraphicsPdev* pdev, SURFOBJ* dst, SURFOBJ* src, SURFOBJ* mask, CLIPOBJ* clip, XLATEOBJ* xlate,
                   COLORADJUSTMENT* ca, POINTL* ptlHTOrg, RECTL* rclDst, RECTL* rclSrc, POINTL* ptlMask,
                   ULONG mode, BRUSHOBJ* brush, DWORD rop4);
BOOL VecStretchBltRop(GraphicsPdev* pdev, SURFOBJ* dst, SURFOBJ* src, SURFOBJ* mask, CLIPOBJ* clip,
                      XLATEOBJ* xlate, COLORADJUSTMENT* ca, POINTL* ptlHTOrg, RECTL* rclDst, RECTL* rclSrc,
                      POINTL* ptlMask, ULONG mode, BRUSHOBJ* brush, DWORD rop4);
BOOL VecStrokePath(GraphicsPdev* pdev, SURFOBJ* so, PATHOBJ* path, CLIPOBJ* clip, XFORMOBJ* xform,
                   BRUSHOBJ* brush, POINTL* ptlBrush, LINEATTRS* la, MIX mix);
BOOL VecFillPath(GraphicsPdev* pdev, SURFOBJ* so, PATHOBJ* path, CLIPOBJ* clip, BRUSHOBJ* brush,
                 POINTL* ptlBrush, MIX mix, FLONG options);
BOOL VecStrokeAndFillPath(GraphicsPdev* pdev, SURFOBJ* so, PATHOBJ* path, CLIPOBJ* clip, XFORMOBJ* xform,
                          BRUSHOBJ* stroke, LINEATTRS* la, BRUSHOBJ* fill, POINTL* ptlBrush, MIX mixFill,
                          FLONG options);
BOOL VecTextOut(GraphicsPdev* pdev, SURFOBJ* so, STROBJ* str, FONTOBJ* font, CLIPOBJ* clip, RECTL* extra,
                RECTL* opaque, BRUSHOBJ* fore, BRUSHOBJ* opaqueBrush, POINTL* org, MIX mix);
BOOL BrushRealize(GraphicsPdev* pdev, BRUSHOBJ* brush, SURFOBJ* target, SURFOBJ* pattern, SURFOBJ* mask,
                  XLATEOBJ* xlate, ULONG hatch);

// Escapes, fonts and colour transforms.
ULONG EscHandle(GraphicsPdev* pdev, SURFOBJ* so, ULONG escape, ULONG cbIn, PVOID in, ULONG cbOut, PVOID out);
IFIMETRICS* FontQuery(GraphicsPdev* pdev, ULONG_PTR file, ULONG face, ULONG_PTR* id);
LONG FontQueryData(GraphicsPdev* pdev, FONTOBJ* font, ULONG mode, HGLYPH glyph, GLYPHDATA* data, PVOID buffer,
                   ULONG cbBuffer);
PVOID FontQueryTree(GraphicsPdev* pdev, ULONG_PTR file, ULONG face, ULONG mode, ULONG_PTR* id);
BOOL FontQueryAdvanceWidths(GraphicsPdev* pdev, FONTOBJ* font, ULONG mode, HGLYPH* glyphs, PVOID widths,
                            ULONG cGlyphs);
HANDLE IcmCreateTransform(GraphicsPdev* pdev, LPLOGCOLORSPACEW colorSpace, PVOID source, ULONG cbSource,
                          PVOID dest, ULONG cbDest, PVOID target, ULONG cbTarget);
BOOL IcmDeleteTransform(GraphicsPdev* pdev, HANDLE transform);
// The PDEV's colour transforms: moved to the PDEV that replaces it, freed with it.
void IcmMoveTransforms(GraphicsPdev* from, GraphicsPdev* to);
void IcmFreeTransforms(GraphicsPdev* pdev);

// PDEV pieces of later work: the glyph cache.
void FontGlyphCacheClear(GraphicsPdev* pdev);
