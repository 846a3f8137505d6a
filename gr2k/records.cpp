// The record encoders of the page frame, the state records and the image record.
#include "gr2k/records.h"

#include <string.h>

#include "gr2k/stream.h"

namespace {

void Put32(BYTE* at, DWORD value) {
  at[0] = BYTE(value);
  at[1] = BYTE(value >> 8);
  at[2] = BYTE(value >> 16);
  at[3] = BYTE(value >> 24);
}
void Put16(BYTE* at, WORD value) {
  at[0] = BYTE(value);
  at[1] = BYTE(value >> 8);
}

constexpr DWORD kImageHead = 56;

DWORD BitsPerPixel(DWORD format) {
  switch (format & 0xF) {
    case kImage1Bpp: return 1;
    case kImage4Bpp: return 4;
    case kImage8Bpp: return 8;
    default: return 24;
  }
}

DWORD PaletteEntries(DWORD format) {
  switch (format & 0xF) {
    case kImage1Bpp: return 2;
    case kImage4Bpp: return 16;
    case kImage8Bpp: return 256;
    default: return 0;
  }
}

BYTE GreyOf(const BYTE* bgr) { return BYTE((bgr[2] * 306u + bgr[1] * 601u + bgr[0] * 117u) >> 10); }

// Writes the record's rows as one run of bytes whose first skip bytes went elsewhere: the
// 1-bpp paletted image's rows start two bytes before its head's end.
class RowWriter {
 public:
  RowWriter(const GrImage& image, BOOL grey, DWORD rowBytes)
      : image_(image), grey_(grey), rowBytes_(rowBytes) {}
  // Fills cb bytes from the run's offset on.
  void Fill(BYTE* out, DWORD offset, DWORD cb) const {
    while (cb > 0) {
      DWORD row = offset / rowBytes_, in = offset % rowBytes_;
      DWORD take = rowBytes_ - in < cb ? rowBytes_ - in : cb;
      if (row >= image_.rows) {
        memset(out, 0, take);
      } else {
        const BYTE* src = image_.bits + LONG(row) * image_.stride;
        if (grey_) {
          for (DWORD i = 0; i < take; ++i) out[i] = in + i < image_.width ? GreyOf(src + 3 * (in + i)) : 0;
        } else {
          DWORD used = (image_.width * BitsPerPixel(image_.format) + 7) / 8;
          DWORD copy = in < used ? (used - in < take ? used - in : take) : 0;
          memcpy(out, src + in, copy);
          memset(out + copy, 0, take - copy);
        }
      }
      out += take;
      offset += take;
      cb -= take;
    }
  }

 private:
  const GrImage& image_;
  BOOL grey_;
  DWORD rowBytes_;
};

// Makes the source rows up to (not including) row white when the image asks for it.
void WhiteRows(const GrImage& image, DWORD* from, DWORD row) {
  if (!image.whiteAfter) return;
  if (row > image.rows) row = image.rows;
  LONG stride = image.stride < 0 ? -image.stride : image.stride;
  for (; *from < row; ++*from) memset(image.whiteAfter + LONG(*from) * image.stride, 0xFF, size_t(stride));
}

}  // namespace

BYTE* GrRecPageStart(PdevOutputStream* stream, DWORD width, DWORD height, WORD dpiX, WORD dpiY) {
  BYTE* rec = GrStreamReserve(stream, 16);
  if (!rec) return nullptr;
  rec[0] = kRecPageStart;
  rec[1] = rec[2] = rec[3] = 0;
  Put32(rec + 4, width);
  Put32(rec + 8, height);
  Put16(rec + 12, dpiX);
  Put16(rec + 14, dpiY);
  return rec;
}

BYTE* GrRecSmall(PdevOutputStream* stream, BYTE opcode, BYTE value) {
  BYTE* rec = GrStreamReserve(stream, 4);
  if (!rec) return nullptr;
  rec[0] = opcode;
  rec[1] = value;
  rec[2] = rec[3] = 0;
  return rec;
}

BYTE* GrRecPageEnd(PdevOutputStream* stream) { return GrRecSmall(stream, kRecPageEnd, 0); }
BYTE* GrRecRop(PdevOutputStream* stream, BYTE rop3) { return GrRecSmall(stream, kRecRop, rop3 == 0xF0 ? 0xCC : rop3); }
BYTE* GrRecClipReset(PdevOutputStream* stream) { return GrRecSmall(stream, kRecClipReset, 0); }

BOOL GrImagePlainForm(const GraphicsPdev* pdev) {
  return pdev->printMethod == 5 || pdev->printMethod == 7 || pdev->apiUse || pdev->hookValue;
}

BOOL GrImageGrey(const GraphicsPdev* pdev) { return pdev->colourMachine == 0 || pdev->colour == 1; }

DWORD GrImageRowBytes(DWORD width, DWORD format) {
  return DWORD((static_cast<unsigned long long>(width) * BitsPerPixel(format) + 31) / 32 * 4);
}

namespace {

// The image record: the whole of it at once (plain), or the head part first and the rows in
// pieces of at most rowsPerPiece rows (0: as many as fit 1 MiB).
BYTE* WriteImage(PdevOutputStream* stream, const GrImage& image, BOOL plain, BOOL grey, DWORD rowsPerPiece) {
  if (!stream || (image.rows && !image.bits)) return nullptr;
  grey = grey && image.format == kImage24Bpp;
  DWORD format = grey ? kImage8Bpp : image.format;
  DWORD rowBytes = GrImageRowBytes(image.width, format);
  DWORD palette = (image.palette && !grey) ? PaletteEntries(format) * 3 : 0;
  unsigned long long length = GrImageRecordBytes(image, grey);
  if (length == 0) return nullptr;

  // The head's part: head, palette and (1 bpp) the first two row bytes, rounded up to 4.
  DWORD headPart = plain ? DWORD(length) : ((palette + 59) & ~3u);
  BYTE* rec = GrStreamReserve(stream, headPart);
  if (!rec) return nullptr;
  BYTE flags = BYTE(image.format);
  if (!palette) flags |= 0x20;
  if (grey) flags = BYTE((flags & 0xE0) | 0x12);
  rec[0] = kRecImage;
  rec[1] = BYTE(image.format >> 16);
  rec[2] = flags;
  rec[3] = BYTE(image.format >> 8);
  Put32(rec + 4, DWORD(length));
  const RECTL& d = image.destination;
  Put32(rec + 8, DWORD(d.left));
  Put32(rec + 12, DWORD(d.top));
  Put32(rec + 16, DWORD(d.right));
  Put32(rec + 20, DWORD(d.bottom));
  Put32(rec + 24, DWORD(image.source.x));
  Put32(rec + 28, DWORD(image.source.y));
  Put32(rec + 32, image.width);
  Put32(rec + 36, image.rows);
  Put32(rec + 40, DWORD(d.left));
  Put32(rec + 44, DWORD(d.top));
  Put32(rec + 48, DWORD(d.right - d.left));
  Put32(rec + 52, DWORD(d.bottom - d.top));
  for (DWORD i = 0; i < palette / 3; ++i) {
    ULONG c = image.palette[i];
    rec[kImageHead + 3 * i] = BYTE(c);
    rec[kImageHead + 3 * i + 1] = BYTE(c >> 8);
    rec[kImageHead + 3 * i + 2] = BYTE(c >> 16);
  }
  RowWriter rows(image, grey, rowBytes);
  DWORD inHead = headPart - kImageHead - palette;  // row bytes (or padding) the head part holds
  DWORD runLength = DWORD(length) - kImageHead - palette;
  rows.Fill(rec + kImageHead + palette, 0, inHead);
  DWORD whiteRows = 0;  // source rows already made white
  if (plain) {
    WhiteRows(image, &whiteRows, image.rows);
    return rec;
  }

  // Each piece is filled before the next reservation, which may flush the page so far.
  DWORD perPiece = rowsPerPiece ? rowsPerPiece : rowBytes > kStreamFlushAbove ? 1 : kStreamFlushAbove / rowBytes;
  DWORD done = inHead;
  for (DWORD row = 0; row < image.rows; row += perPiece) {
    DWORD count = image.rows - row < perPiece ? image.rows - row : perPiece;
    DWORD cb = count * rowBytes;
    BYTE* piece = GrStreamReserve(stream, cb);
    if (!piece) return nullptr;
    DWORD fill = runLength - done < cb ? runLength - done : cb;
    rows.Fill(piece, done, fill);
    done += fill;
    WhiteRows(image, &whiteRows, done / rowBytes);
  }
  WhiteRows(image, &whiteRows, image.rows);
  return rec;
}

}  // namespace

unsigned long long GrImageRecordBytes(const GrImage& image, BOOL grey) {
  grey = grey && image.format == kImage24Bpp;
  DWORD format = grey ? kImage8Bpp : image.format;
  unsigned long long rowBytes = (static_cast<unsigned long long>(image.width) * BitsPerPixel(format) + 31) / 32 * 4;
  DWORD palette = (image.palette && !grey) ? PaletteEntries(format) * 3 : 0;
  unsigned long long length = (kImageHead + palette + rowBytes * image.rows + 3) & ~3ull;
  if (length > 0x7FFFFFF0ull || (image.rows && rowBytes == 0)) return 0;
  return length;
}

BYTE* GrRecImage(PdevOutputStream* stream, const GrImage& image, BOOL plain, BOOL grey) {
  return WriteImage(stream, image, plain, grey, 0);
}

BYTE* GrRecImageByRows(PdevOutputStream* stream, const GrImage& image) {
  GrImage plainImage = image;
  plainImage.format &= ~DWORD(kImageFromBand);
  plainImage.whiteAfter = nullptr;
  return WriteImage(stream, plainImage, FALSE, FALSE, 1);
}
