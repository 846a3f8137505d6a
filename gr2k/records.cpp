// The record encoders of the page frame, the state records and the image record.
#include "gr2k/records.h"

#include <string.h>

#if defined(__GNUC__) && defined(__i386__)
#include <emmintrin.h>
#define ZEMS_SSE2_BANDS 1
#endif

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

#ifdef ZEMS_SSE2_BANDS
// Writes white over the 64 bytes at `at`, read as a to d, unless they are white already.
__attribute__((target("sse2"))) inline void WhitenDrawn(__m128i* at, __m128i a, __m128i b, __m128i c, __m128i d,
                                                        __m128i white) {
  __m128i all = _mm_and_si128(_mm_and_si128(a, b), _mm_and_si128(c, d));
  if (_mm_movemask_epi8(_mm_cmpeq_epi8(all, white)) == 0xFFFF) return;
  _mm_storeu_si128(at, white);
  _mm_storeu_si128(at + 1, white);
  _mm_storeu_si128(at + 2, white);
  _mm_storeu_si128(at + 3, white);
}

// Copies n bytes and leaves the source white (0xFF), in one pass: each 64 bytes of the source
// are written only when they were not white already. A band is mostly white, and reading it
// costs less than writing it again. Built for SSE2 and used when the processor has it.
__attribute__((target("sse2"))) void CopyWhiteningSse2(BYTE* out, BYTE* src, DWORD n) {
  const __m128i white = _mm_set1_epi8(char(0xFF));
  DWORD i = 0;
  for (; i + 64 <= n; i += 64) {
    __m128i* from = reinterpret_cast<__m128i*>(src + i);
    __m128i* to = reinterpret_cast<__m128i*>(out + i);
    __m128i a = _mm_loadu_si128(from), b = _mm_loadu_si128(from + 1);
    __m128i c = _mm_loadu_si128(from + 2), d = _mm_loadu_si128(from + 3);
    _mm_storeu_si128(to, a);
    _mm_storeu_si128(to + 1, b);
    _mm_storeu_si128(to + 2, c);
    _mm_storeu_si128(to + 3, d);
    WhitenDrawn(from, a, b, c, d, white);
  }
  memcpy(out + i, src + i, n - i);
  memset(src + i, 0xFF, n - i);
}

// Makes n bytes white, writing only the 64-byte stretches that are not white already.
__attribute__((target("sse2"))) void WhitenSse2(BYTE* bytes, size_t n) {
  const __m128i white = _mm_set1_epi8(char(0xFF));
  size_t i = 0;
  for (; i + 64 <= n; i += 64) {
    __m128i* at = reinterpret_cast<__m128i*>(bytes + i);
    WhitenDrawn(at, _mm_loadu_si128(at), _mm_loadu_si128(at + 1), _mm_loadu_si128(at + 2), _mm_loadu_si128(at + 3),
                white);
  }
  memset(bytes + i, 0xFF, n - i);
}

bool HasSse2() {
  static const bool has = __builtin_cpu_supports("sse2");
  return has;
}
#endif

// Writes the record's rows as one run of bytes whose first skip bytes went elsewhere: the
// 1-bpp paletted image's rows start two bytes before its head's end. A band that is to be drawn
// again is made white as its bytes are written, while they are still in the cache (a separate
// pass over a large band costs as much as the copy).
class RowWriter {
 public:
  RowWriter(const GrImage& image, BOOL grey, DWORD rowBytes)
      : image_(image),
        grey_(grey),
        rowBytes_(rowBytes),
        used_((image.width * BitsPerPixel(image.format) + 7) / 8),
        stride_(image.stride < 0 ? DWORD(-image.stride) : DWORD(image.stride)),
        // Rows that follow each other in memory as they do in the record: the run is one copy,
        // after which the bytes past each row's pixels are set to 0.
        contiguous_(!grey && image.stride > 0 && DWORD(image.stride) == rowBytes) {}
  // Fills cb bytes from the run's offset on.
  void Fill(BYTE* out, DWORD offset, DWORD cb) const {
    if (contiguous_) {
      DWORD rowTotal = image_.rows * rowBytes_;  // the record's length bound keeps this in 32 bits
      DWORD have = offset < rowTotal ? (rowTotal - offset < cb ? rowTotal - offset : cb) : 0;
      Copy(out, const_cast<BYTE*>(image_.bits) + offset, have);
      if (used_ < rowBytes_) ClearPadding(out, offset, have);
      memset(out + have, 0, cb - have);
      return;
    }
    while (cb > 0) {
      DWORD row = offset / rowBytes_, in = offset % rowBytes_;
      if (row >= image_.rows) {
        memset(out, 0, cb);
        return;
      }
      DWORD take = rowBytes_ - in < cb ? rowBytes_ - in : cb;
      BYTE* src = const_cast<BYTE*>(image_.bits) + LONG(row) * image_.stride;
      BOOL rowEnds = in + take == rowBytes_;
      if (grey_) {
        for (DWORD i = 0; i < take; ++i) out[i] = in + i < image_.width ? GreyOf(src + 3 * (in + i)) : 0;
        if (image_.whiten && rowEnds) memset(src, 0xFF, stride_);
      } else {
        DWORD copy = in < used_ ? (used_ - in < take ? used_ - in : take) : 0;
        Copy(out, src + in, copy);
        memset(out + copy, 0, take - copy);
        // The row's bytes past its pixels are the source's own padding.
        if (image_.whiten && rowEnds && stride_ > used_) memset(src + used_, 0xFF, stride_ - used_);
      }
      out += take;
      offset += take;
      cb -= take;
    }
  }

 private:
  // Copies n source bytes; a band to be drawn again is made white behind the copy, in one pass
  // with SSE2, else in pieces that stay in the first-level cache.
  void Copy(BYTE* out, BYTE* src, DWORD n) const {
    if (!image_.whiten) {
      memcpy(out, src, n);
      return;
    }
#ifdef ZEMS_SSE2_BANDS
    if (HasSse2()) {
      CopyWhiteningSse2(out, src, n);
      return;
    }
#endif
    constexpr DWORD kPiece = 16384;
    for (DWORD done = 0; done < n; done += kPiece) {
      DWORD k = n - done < kPiece ? n - done : kPiece;
      memcpy(out + done, src + done, k);
      memset(src + done, 0xFF, k);
    }
  }

  // Sets to 0 the bytes past the pixels of the rows among the n run bytes from offset on,
  // written at out.
  void ClearPadding(BYTE* out, DWORD offset, DWORD n) const {
    const DWORD end = offset + n;
    for (DWORD rowStart = offset - offset % rowBytes_; rowStart < end; rowStart += rowBytes_) {
      DWORD from = rowStart + used_, to = rowStart + rowBytes_;
      if (from < offset) from = offset;
      if (to > end) to = end;
      if (from < to) memset(out + (from - offset), 0, to - from);
    }
  }

  const GrImage& image_;
  BOOL grey_;
  DWORD rowBytes_;
  DWORD used_;
  DWORD stride_;
  bool contiguous_;
};

}  // namespace

void GrWhiten(BYTE* bytes, size_t cb) {
#ifdef ZEMS_SSE2_BANDS
  if (HasSse2()) {
    WhitenSse2(bytes, cb);
    return;
  }
#endif
  memset(bytes, 0xFF, cb);
}

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
  if (plain) return rec;

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
  }
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
  plainImage.whiten = FALSE;
  return WriteImage(stream, plainImage, FALSE, FALSE, 1);
}
