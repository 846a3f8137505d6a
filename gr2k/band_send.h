// Raster bands and copied bitmaps as image records.
#pragma once
#include "gr2k/pdev.h"

// Sends the part of the surface from src that the destination covers as an image record at
// the destination; rows below the surface or beyond the destination are not sent. FALSE, with
// nothing written, for a source point outside the surface or a format the band writer does not
// take (1 and 24 bpp).
BOOL GrSendBand(GraphicsPdev* pdev, XLATEOBJ* xlate, SURFOBJ* src, const POINTL* ptlSrc, const RECTL* dest);
// A 24-bpp surface whose rows from ptlSrc cover the destination, sent as one record without
// palette; NULL when it does not qualify or the record cannot be written.
BYTE* GrSendRgbBand(GraphicsPdev* pdev, SURFOBJ* src, const POINTL* ptlSrc, const RECTL* dest);
// GrSendBand for a band that is to be drawn again: the rows sent (from x 0) are made white as
// they are written. FALSE as GrSendBand (rows sent before a failure may be white already).
BOOL GrSendBandWhitening(GraphicsPdev* pdev, SURFOBJ* src, const POINTL* ptlSrc, const RECTL* dest);
