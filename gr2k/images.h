// Image transfers of vector mode: a source bitmap becomes an image record of 1, 4, 8 or 24 bits
// per pixel with its palette, after the engine has converted, shrunk or masked it into a
// temporary surface; when memory is short the image goes row by row or at a reduced size.
#pragma once
#include "gr2k/pdev.h"
#include "gr2k/records.h"

// A locked top-down bitmap of the format (not cleared), associated with the PDEV's device; its
// handle in *surface. NULL (nothing left behind) when it cannot be made. Sizes are checked in
// 64 bits. Free with GrDeleteTempSurface.
SURFOBJ* GrCreateTempSurface(GraphicsPdev* pdev, HSURF* surface, LONG width, LONG height, ULONG format);
void GrDeleteTempSurface(SURFOBJ* so, HSURF surface);

// A stretched image (DrvStretchBlt, DrvStretchBltROP): the source rectangle of the source at the
// destination (mirrored when its width or height is negative). FALSE when it cannot be sent.
BOOL GrSendImage(GraphicsPdev* pdev, XLATEOBJ* xlate, SURFOBJ* src, COLORADJUSTMENT* ca, POINTL* htOrg, RECTL* dest,
                 RECTL* rclSrc, SURFOBJ* mask, POINTL* ptlMask, ROP4 rop4);
// An unstretched image (DrvBitBlt): the source from ptlSrc at the target rectangle.
BOOL GrSendBltImage(GraphicsPdev* pdev, XLATEOBJ* xlate, SURFOBJ* src, RECTL* trg, POINTL* ptlSrc, SURFOBJ* mask,
                    POINTL* ptlMask, ROP4 rop4);
// An 8, 24 or 32-bpp source rectangle sent row by row without a temporary surface of its size
// (32 bpp through a one-row 24-bpp surface, halved when large or drawn smaller). greyPalette:
// the XLATEOBJ's palette is a plain grey ramp (none is sent). The record, or NULL.
BYTE* GrSendImageRows(GraphicsPdev* pdev, SURFOBJ* src, const RECTL* rclSrc, const RECTL* dest, XLATEOBJ* xlate,
                      COLORADJUSTMENT* ca, POINTL* htOrg, BOOL greyPalette);

// The format code an engine format is sent as (unlisted formats: 24 bpp); FALSE for an unlisted
// format, which needs converting.
BOOL GrImageFormatOf(ULONG bitmapFormat, DWORD* code);
// The engine format of a format code, and the host-ICM flag of an XLATEOBJ as the format word
// carries it.
ULONG GrImageEngineFormat(DWORD code);
DWORD GrImageHostIcm(const XLATEOBJ* xlate);
// The palette of an indexed image: the XLATEOBJ's entries (three bytes each) copied into copy
// (entries it lacks are 0), or NULL for 24 bpp, without a table, or for a plain grey ramp.
const ULONG* GrImagePalette(const XLATEOBJ* xlate, DWORD code, ULONG copy[256]);
// The record through GrRecImage; when that fails part-way its bytes are taken back and
// GrRecImageByRows writes it again. FALSE when neither could (nothing half-written stays: a
// piece already flushed sets the output-failed flag).
BOOL GrSendImageRecord(GraphicsPdev* pdev, const GrImage& image);
