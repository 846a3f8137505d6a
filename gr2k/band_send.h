// Raster bands and copied bitmaps as image records.
#pragma once
#include "gr2k/pdev.h"

// A band or a copied bitmap as an image record at the destination: a surface of the
// destination's size in a format the device takes is sent as it is; otherwise a 24-bpp surface
// whose rows cover the destination goes through GrSendRgbBand, and any other is first copied
// from src into a temporary surface (the destination's size, cut to the surface). FALSE, with
// nothing written, for a source point outside the surface or when memory is short.
BOOL GrSendBand(GraphicsPdev* pdev, XLATEOBJ* xlate, SURFOBJ* src, const POINTL* ptlSrc, const RECTL* dest);
// A 24-bpp surface whose rows from ptlSrc cover the destination, sent as one record without
// palette; NULL when it does not qualify or the record cannot be written.
BYTE* GrSendRgbBand(GraphicsPdev* pdev, SURFOBJ* src, const POINTL* ptlSrc, const RECTL* dest);
// A raster band that is to be drawn again (1 or 24 bpp, sent from src without conversion): the
// rows sent (from x 0) are made white as they are written. FALSE, with nothing written, for a
// source point outside the surface or another format (rows sent before a failure may be white
// already).
BOOL GrSendBandWhitening(GraphicsPdev* pdev, SURFOBJ* src, const POINTL* ptlSrc, const RECTL* dest);
