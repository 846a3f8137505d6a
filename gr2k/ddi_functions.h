// The DDI functions of the graphics DLL (exported by name and handed to GDI in its table).
#pragma once
#include "platform/ddi.h"

ZEMS_EXPORT DHPDEV WINAPI DrvEnablePDEV(DEVMODEW* dm, LPWSTR logAddress, ULONG cPatterns, HSURF* patterns,
                                        ULONG cbGdiInfo, ULONG* gdiInfo, ULONG cbDevInfo, DEVINFO* devInfo,
                                        HDEV hdev, LPWSTR deviceName, HANDLE printer);
ZEMS_EXPORT VOID WINAPI DrvCompletePDEV(DHPDEV pdev, HDEV hdev);
ZEMS_EXPORT VOID WINAPI DrvDisablePDEV(DHPDEV pdev);
ZEMS_EXPORT BOOL WINAPI DrvResetPDEV(DHPDEV oldPdev, DHPDEV newPdev);
ZEMS_EXPORT HSURF WINAPI DrvEnableSurface(DHPDEV pdev);
ZEMS_EXPORT VOID WINAPI DrvDisableSurface(DHPDEV pdev);
ZEMS_EXPORT BOOL WINAPI DrvStartPage(SURFOBJ* so);
ZEMS_EXPORT BOOL WINAPI DrvSendPage(SURFOBJ* so);
ZEMS_EXPORT BOOL WINAPI DrvStartDoc(SURFOBJ* so, LPWSTR docName, DWORD jobId);
ZEMS_EXPORT BOOL WINAPI DrvEndDoc(SURFOBJ* so, FLONG fl);
ZEMS_EXPORT BOOL WINAPI DrvStartBanding(SURFOBJ* so, POINTL* origin);
ZEMS_EXPORT BOOL WINAPI DrvNextBand(SURFOBJ* so, POINTL* origin);
ZEMS_EXPORT BOOL WINAPI DrvBitBlt(SURFOBJ* trg, SURFOBJ* src, SURFOBJ* mask, CLIPOBJ* clip, XLATEOBJ* xlate,
                                  RECTL* rclTrg, POINTL* ptlSrc, POINTL* ptlMask, BRUSHOBJ* brush,
                                  POINTL* ptlBrush, ROP4 rop4);
ZEMS_EXPORT BOOL WINAPI DrvStretchBlt(SURFOBJ* dst, SURFOBJ* src, SURFOBJ* mask, CLIPOBJ* clip, XLATEOBJ* xlate,
                                      COLORADJUSTMENT* ca, POINTL* ptlHTOrg, RECTL* rclDst, RECTL* rclSrc,
                                      POINTL* ptlMask, ULONG mode);
ZEMS_EXPORT BOOL WINAPI DrvStrokePath(SURFOBJ* so, PATHOBJ* path, CLIPOBJ* clip, XFORMOBJ* xform, BRUSHOBJ* brush,
                                      POINTL* ptlBrush, LINEATTRS* la, MIX mix);
ZEMS_EXPORT BOOL WINAPI DrvFillPath(SURFOBJ* so, PATHOBJ* path, CLIPOBJ* clip, BRUSHOBJ* brush, POINTL* ptlBrush,
                                    MIX mix, FLONG options);
ZEMS_EXPORT BOOL WINAPI DrvStrokeAndFillPath(SURFOBJ* so, PATHOBJ* path, CLIPOBJ* clip, XFORMOBJ* xform,
                                             BRUSHOBJ* stroke, LINEATTRS* la, BRUSHOBJ* fill, POINTL* ptlBrush,
                                             MIX mixFill, FLONG options);
ZEMS_EXPORT BOOL WINAPI DrvRealizeBrush(BRUSHOBJ* brush, SURFOBJ* target, SURFOBJ* pattern, SURFOBJ* mask,
                                        XLATEOBJ* xlate, ULONG hatch);
ZEMS_EXPORT ULONG WINAPI DrvEscape(SURFOBJ* so, ULONG escape, ULONG cbIn, PVOID in, ULONG cbOut, PVOID out);
ZEMS_EXPORT ULONG WINAPI DrvGetGlyphMode(DHPDEV pdev, FONTOBJ* font);
ZEMS_EXPORT ULONG WINAPI DrvDitherColor(DHPDEV pdev, ULONG mode, ULONG rgb, ULONG* dither);
ZEMS_EXPORT BOOL WINAPI DrvCopyBits(SURFOBJ* dst, SURFOBJ* src, CLIPOBJ* clip, XLATEOBJ* xlate, RECTL* rclDst,
                                    POINTL* ptlSrc);
ZEMS_EXPORT IFIMETRICS* WINAPI DrvQueryFont(DHPDEV pdev, ULONG_PTR file, ULONG face, ULONG_PTR* id);
ZEMS_EXPORT LONG WINAPI DrvQueryFontData(DHPDEV pdev, FONTOBJ* font, ULONG mode, HGLYPH glyph, GLYPHDATA* data,
                                         PVOID buffer, ULONG cbBuffer);
ZEMS_EXPORT PVOID WINAPI DrvQueryFontTree(DHPDEV pdev, ULONG_PTR file, ULONG face, ULONG mode, ULONG_PTR* id);
ZEMS_EXPORT HANDLE WINAPI DrvIcmCreateColorTransform(DHPDEV pdev, LPLOGCOLORSPACEW colorSpace, PVOID source,
                                                     ULONG cbSource, PVOID dest, ULONG cbDest, PVOID target,
                                                     ULONG cbTarget, DWORD reserved);
ZEMS_EXPORT BOOL WINAPI DrvIcmDeleteColorTransform(DHPDEV pdev, HANDLE transform);
ZEMS_EXPORT BOOL WINAPI DrvStretchBltROP(SURFOBJ* dst, SURFOBJ* src, SURFOBJ* mask, CLIPOBJ* clip,
                                         XLATEOBJ* xlate, COLORADJUSTMENT* ca, POINTL* ptlHTOrg, RECTL* rclDst,
                                         RECTL* rclSrc, POINTL* ptlMask, ULONG mode, BRUSHOBJ* brush, DWORD rop4);
ZEMS_EXPORT BOOL WINAPI DrvQueryAdvanceWidths(DHPDEV pdev, FONTOBJ* font, ULONG mode, HGLYPH* glyphs,
                                              PVOID widths, ULONG cGlyphs);
ZEMS_EXPORT BOOL WINAPI DrvTextOut(SURFOBJ* so, STROBJ* str, FONTOBJ* font, CLIPOBJ* clip, RECTL* extra,
                                   RECTL* opaque, BRUSHOBJ* fore, BRUSHOBJ* opaqueBrush, POINTL* org, MIX mix);
