// Encoders of the display-list records: each reserves its record whole in the output stream
// (sizes a multiple of 4, so every record starts 4-byte aligned), sets every byte of it and
// returns it, or NULL when the reservation failed. Bytes the format leaves reserved are written
// 0, so a job run twice is byte-identical.
#pragma once
#include <stddef.h>

#include "gr2k/pdev.h"

// Opcodes of the records this file writes.
enum : BYTE {
  kRecImage = 32,
  kRecRop = 49,
  kRecClipReset = 55,
  kRecPageStart = 96,
  kRecPageEnd = 97,
};

// Page start: the printable width and length in dots and the resolution.
BYTE* GrRecPageStart(PdevOutputStream* stream, DWORD width, DWORD height, WORD dpiX, WORD dpiY);
BYTE* GrRecPageEnd(PdevOutputStream* stream);
// ROP3; PATCOPY (0xF0) is recorded as SRCCOPY (0xCC).
BYTE* GrRecRop(PdevOutputStream* stream, BYTE rop3);
BYTE* GrRecClipReset(PdevOutputStream* stream);
// A 4-byte record: its opcode, one value byte and two zero bytes.
BYTE* GrRecSmall(PdevOutputStream* stream, BYTE opcode, BYTE value);

// Format words of the image record: the low nibble is the pixel format.
enum : DWORD {
  kImage1Bpp = 0,
  kImage4Bpp = 1,
  kImage8Bpp = 2,
  kImage24Bpp = 4,
  kImageBitBlt = 0x80,        // the image of a block transfer (unstretched)
  kImageFromBand = 0x400,     // byte 3 bit 2: rows of a raster band
  kImageHostIcm = 0x800,      // the host corrected the source's colours
  kImageBottomUp = 0x1000,    // byte 3 bit 4: the source bitmap is stored bottom-up
  kImageReduced = 0x20000,    // shrunk by the driver; the device enlarges it to its destination
};

// An image as its writer hands it over: the destination, the source rectangle's corner, the
// rows (first row at bits, the next at bits + stride; a negative stride walks a bitmap upwards)
// and an optional palette of 0x00RRGGBB values.
struct GrImage {
  RECTL destination;
  POINTL source;
  DWORD width;  // source width in pixels
  DWORD rows;
  DWORD format;
  const BYTE* bits;
  LONG stride;
  const ULONG* palette;  // NULL: no palette
  // A band to be drawn again: each source row is set to 0xFF (all its stride bytes) once it is
  // written, while it is still in the cache.
  BOOL whiten = FALSE;
};

// How the PDEV wants its images: whole records (print methods 5 and 7, an API-use or hook
// value) and grey (a colour machine value of 0 or dmColor 1).
BOOL GrImagePlainForm(const GraphicsPdev* pdev);
BOOL GrImageGrey(const GraphicsPdev* pdev);
// Sets cb bytes to 0xFF (a band made white), writing only what is not white already.
void GrWhiten(BYTE* bytes, size_t cb);
// Bytes of one row of the image record for this width and pixel format.
DWORD GrImageRowBytes(DWORD width, DWORD format);
// The image record. The plain form reserves it whole; otherwise the head and palette come
// first and the rows follow in pieces of at most 1 MiB, each complete before the next may flush
// the page (so the record can continue across display-list blocks). grey turns 24-bpp pixels
// into one byte each. The first reservation's address, or NULL.
BYTE* GrRecImage(PdevOutputStream* stream, const GrImage& image, BOOL plain, BOOL grey);
// The fallback writer of the same record: head and palette first, then each row reserved on
// its own (a 1-bpp paletted image's rows keep their two-byte shift); never grey, plain or
// marked as a raster band. NULL when a reservation fails (what was reserved stays: the caller
// rolls the stream back).
BYTE* GrRecImageByRows(PdevOutputStream* stream, const GrImage& image);
// Bytes of the whole image record, in 64 bits (0 when the image is not one the stream can
// hold: above 0x7FFFFFF0 bytes).
unsigned long long GrImageRecordBytes(const GrImage& image, BOOL grey);
