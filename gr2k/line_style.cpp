// LINEATTRS to the device's line attributes: width, join, cap, miter limit and the 32-step
// on/off style pattern with its repeat unit and start offset.
#include <string.h>

#include "gr2k/draw_path.h"

namespace {

constexpr DWORD kSolid = 0xFFFFFFFFu;
constexpr DWORD kSteps = 32;

// A float truncated toward zero, kept within 32 bits.
LONG Truncate(FLOATL value) {
  if (!(value == value)) return 0;  // NaN
  if (value >= 2147483647.0f) return 0x7FFFFFFF;
  if (value <= -2147483648.0f) return LONG(0x80000000u);
  return LONG(value);
}

// The engine's transform query (the Windows build imports it through our own import library).
ULONG GetXform(XFORMOBJ* xform, XFORML* m) { return XFORMOBJ_iGetXform(xform, m); }

// The transform's scale x 256: -1 for the identity, 0 for unequal scales, else the mean of the
// two diagonal magnitudes.
LONG TransformScale(XFORMOBJ* xform) {
  if (!xform) return -1;
  XFORML m;
  ULONG kind = GetXform(xform, &m);
  if (kind == GX_IDENTITY) return -1;
  if (kind == GX_SCALE && Truncate(m.eM11 * 8) != Truncate(m.eM22 * 8)) return 0;
  long long a = Truncate(m.eM11 * 256), b = Truncate(m.eM22 * 256);
  return LONG(((a < 0 ? -a : a) + (b < 0 ? -b : b)) / 2);
}

BYTE JoinCode(ULONG join) { return join == JOIN_BEVEL ? 1 : join == JOIN_MITER ? 2 : 0; }
BYTE CapCode(ULONG cap) { return cap == ENDCAP_BUTT ? 1 : cap == ENDCAP_SQUARE ? 2 : 0; }

// The style's dash lengths, in a list from the PDEV's pool.
class Lengths {
 public:
  explicit Lengths(GraphicsPdev* pdev) : pdev_(pdev) {}
  ~Lengths() { PdevPoolFree(pdev_->pool, list_); }
  BOOL Allocate(unsigned long long count) {
    if (count == 0 || count > 0x1000000ull) return FALSE;
    long long* list = static_cast<long long*>(PdevPoolAlloc(pdev_->pool, DWORD(count * sizeof(long long))));
    if (!list) return FALSE;
    PdevPoolFree(pdev_->pool, list_);
    list_ = list;
    count_ = DWORD(count);
    return TRUE;
  }
  long long& operator[](DWORD i) { return list_[i]; }
  DWORD Count() const { return count_; }
  long long Sum() const {
    long long sum = 0;
    for (DWORD i = 0; i < count_; ++i) sum += list_[i];
    return sum;
  }

 private:
  GraphicsPdev* pdev_;
  long long* list_ = nullptr;
  DWORD count_ = 0;
};

// Shifts steps into the pattern from bit 0 upwards; the first step ends at bit 31.
class PatternBits {
 public:
  void Push(DWORD bit, long long steps) {
    for (; steps > 0 && pushed_ < kSteps; --steps) {
      pattern_ = (pattern_ << 1) | bit;
      last_ = bit;
      ++pushed_;
    }
  }
  DWORD Last() const { return last_; }
  DWORD Finish() {
    Push(last_, kSteps - pushed_);
    return pattern_;
  }

 private:
  DWORD pattern_ = 0, last_ = 1, pushed_ = 0;
};

// The style of a line of width 1. FALSE ends the call as a failure.
BOOL Style(GraphicsPdev* pdev, const LINEATTRS* la, BOOL geometric, LONG scale, LineState* line) {
  ULONG count = la->cstyle;
  const FLOAT_LONG* entries = la->pstyle;
  auto raw = [&](ULONG i) -> long long { return geometric ? Truncate(entries[i].e) : entries[i].l; };
  long long gap = 0;
  if (la->fl & LA_STARTGAP) {
    gap = raw(0) & 0xFF;
    ++entries;
    --count;
  }
  if (count < 2) return TRUE;
  Lengths lengths(pdev);
  if (!lengths.Allocate(count)) return !geometric;
  long long unit = pdev->resolution / 50;
  for (ULONG i = 0; i < count; ++i) {
    long long d = raw(i);
    if (d < 0) d = 0;
    if (!geometric) d *= unit;
    else if (scale > 0) d = (d * scale) >> 8;
    if (d > 0x7FFFFFFF) d = 0x7FFFFFFF;
    lengths[i] = d;
  }
  long long sum = lengths.Sum();
  if (sum == 0) return TRUE;
  line->offset = SHORT(gap * kSteps / sum);
  for (ULONG i = 0; i < count; ++i)
    if (lengths[i] == 0) lengths[i] = i + 1 < count ? lengths[i + 1] : lengths[i - 1];
  sum = lengths.Sum();
  long long repeat = 1;
  if (sum > kSteps) {
    repeat = sum / kSteps;
    if (repeat > 255) {
      if (geometric) return FALSE;
      repeat = 255;
    }
    long long total = 0;
    for (ULONG i = 0; i < count; ++i) {
      long long v = (lengths[i] * kSteps / sum) & 0xFF;
      lengths[i] = v < 1 ? 1 : v;
      total += lengths[i];
    }
    if (total > kSteps) return !geometric;  // cosmetic: drawn solid
    for (ULONG i = 0; i < count && static_cast<long long>(i) < kSteps - total; ++i) lengths[i]++;
    long long others = lengths.Sum() - lengths[count - 1];
    lengths[count - 1] = kSteps - others;
    sum = kSteps;
  }
  if (sum <= 0) return TRUE;
  long long n = kSteps / sum, r = kSteps % sum;
  if (n > 1) {
    // The list repeated n times, the rest spread over its entries.
    Lengths larger(pdev);
    if (larger.Allocate(static_cast<unsigned long long>(count) * n)) {
      DWORD total = larger.Count();
      for (DWORD i = 0; i < total; ++i)
        larger[i] = lengths[i % count] + r / total + (static_cast<long long>(i) < r % total ? 1 : 0);
      if (!lengths.Allocate(total)) return !geometric;
      for (DWORD i = 0; i < total; ++i) lengths[i] = larger[i];
      count = total;
      n = 1;
      r = 0;
    }
  }
  PatternBits bits;
  ULONG i = 0;
  for (; i + 1 < count; i += 2) {
    bits.Push(1, n * lengths[i] + (r > 0 ? 1 : 0));
    bits.Push(0, n * lengths[i + 1] + (r - 1 > 0 ? 1 : 0));
    r -= 2;
  }
  if (i < count) {
    bits.Push(1, n * lengths[i] + (r > 0 ? 1 : 0));
    if (r > 0) --r;
  }
  if (r > 0) bits.Push(bits.Last(), r);
  line->pattern = bits.Finish();
  line->unit = SHORT(repeat);
  return TRUE;
}

}  // namespace

BOOL RopLineStyle(GraphicsPdev* pdev, const LINEATTRS* la, ULONG colour, XFORMOBJ* xform, LineState* line,
                  BOOL* geometric) {
  *line = LineState{1, 0, 0, 0, 0, 2560, kSolid, colour};
  *geometric = la && (la->fl & LA_GEOMETRIC) ? TRUE : FALSE;
  if (!la) return TRUE;
  LONG scale = -1;
  if (*geometric) {
    // Computed for every geometric line: style lengths are scaled whatever the width.
    scale = TransformScale(xform);
    LONG width = Truncate(la->elWidth.e);
    if (width >= 1) {
      if (scale == 0) return FALSE;
      if (scale > 0) {
        width = LONG(SHORT((static_cast<long long>(width) * scale) >> 8));
        if (width == 0) width = 1;
      }
      line->width = SHORT(width);
    }
    line->join = JoinCode(la->iJoin);
    line->cap = CapCode(la->iEndCap);
  }
  if (la->fl & (LA_GEOMETRIC | LA_STYLED)) {
    FLOATL miter = la->eMiterLimit;
    if (!(miter == miter) || miter < 1.0f) miter = 1.0f;
    if (miter > 32767.0f) miter = 32767.0f;
    line->miter = DWORD(miter * 256);
    if (la->pstyle && la->cstyle > 0) {
      if (line->width != 1) return FALSE;
      return Style(pdev, la, *geometric, scale, line);
    }
  }
  return TRUE;
}
