// The path encoder (records 17 and 18, outline data), the clip records with their cache and the
// span records of very complex clips.
#include "gr2k/draw_path.h"

#include <string.h>

#include <utility>

#include "gr2k/records.h"
#include "gr2k/records_vector.h"
#include "gr2k/stream.h"

namespace {

// Largest encoding a path may have: records stay far below the stream's 32-bit sizes.
constexpr unsigned long long kMaxEncoding = 0x40000000ull;
constexpr DWORD kPathHead = 28;

// One sub-path of an encoding: where its item-count slot lies and what it holds.
struct SubPath {
  DWORD offset;
  DWORD lines;
  DWORD beziers;
  DWORD closed;
};

// A buffer of the PDEV's pool that grows on demand, kept for the next call.
BOOL Grow(GraphicsPdev* pdev, BYTE** buffer, DWORD* capacity, DWORD used, DWORD more) {
  unsigned long long need = static_cast<unsigned long long>(used) + more;
  if (need <= *capacity) return TRUE;
  if (need > kMaxEncoding) return FALSE;
  unsigned long long size = static_cast<unsigned long long>(*capacity) * 2;
  if (size < need) size = need;
  if (size < 4096) size = 4096;
  if (size > kMaxEncoding) size = need;
  BYTE* grown = static_cast<BYTE*>(PdevPoolAlloc(pdev->pool, DWORD(size)));
  if (!grown) return FALSE;
  if (used) memcpy(grown, *buffer, used);
  PdevPoolFree(pdev->pool, *buffer);
  *buffer = grown;
  *capacity = DWORD(size);
  return TRUE;
}

// The sub-paths of a path as PathDataBlock data (without the size word), written to the
// scratch of the PDEV, every point moved by (dx, dy).
class PathEncoder {
 public:
  explicit PathEncoder(GraphicsPdev* pdev) : pdev_(pdev), state_(pdev->drawState) {}
  ~PathEncoder() { PdevPoolFree(pdev_->pool, subs_); }

  BOOL Encode(PATHOBJ* path, LONG dx, LONG dy) {
    if (!state_ || !path) return FALSE;
    dx_ = dx;
    dy_ = dy;
    used_ = 0;
    count_ = 0;
    PATHOBJ_vEnumStart(path);
    PATHDATA batch;
    BOOL more;
    bool open = false;
    do {
      more = PATHOBJ_bEnum(path, &batch);
      const POINTFIX* p = batch.pptfx;
      ULONG n = batch.count;
      if (n && !p) return FALSE;
      if (n == 0) {
        // A sub-path with no start point, or an empty last batch that ends nothing.
        if (batch.flags & PD_BEGINSUBPATH) return FALSE;
        if (!(batch.flags & PD_ENDSUBPATH) && !more) return FALSE;
      }
      if (n && ((batch.flags & PD_BEGINSUBPATH) || !open)) {
        if (!Begin(p[0])) return FALSE;
        open = true;
        ++p;
        --n;
      }
      if (batch.flags & PD_BEZIERS) {
        if (n % 3) return FALSE;
        for (ULONG i = 0; i < n; i += 3)
          if (!Bezier(p + i)) return FALSE;
      } else {
        for (ULONG i = 0; i < n; ++i)
          if (!Line(p[i])) return FALSE;
      }
      if (open && (batch.flags & PD_CLOSEFIGURE)) subs_[count_ - 1].closed = TRUE;
      if (batch.flags & PD_ENDSUBPATH) open = false;
    } while (more);
    if (count_ == 0) return FALSE;
    for (DWORD i = 0; i < count_; ++i) Put(subs_[i].offset, subs_[i].lines + subs_[i].beziers);
    return TRUE;
  }

  const BYTE* Data() const { return state_->scratch; }
  DWORD Used() const { return used_; }
  DWORD Count() const { return count_; }
  const SubPath& Sub(DWORD i) const { return subs_[i]; }
  // Where sub-path i's data end.
  DWORD End(DWORD i) const { return i + 1 < count_ ? subs_[i + 1].offset : used_; }
  DWORD Lines() const { return Sum(&SubPath::lines); }
  DWORD Beziers() const { return Sum(&SubPath::beziers); }
  BOOL AnyClosed() const {
    for (DWORD i = 0; i < count_; ++i)
      if (subs_[i].closed) return TRUE;
    return FALSE;
  }
  // The size word of the whole path.
  DWORD SizeWord() const { return 3 * Lines() + 7 * Beziers() + 3 * (count_ - 1) + 3 + (count_ > 1 ? 1 : 0); }

 private:
  DWORD Sum(DWORD SubPath::*field) const {
    DWORD total = 0;
    for (DWORD i = 0; i < count_; ++i) total += subs_[i].*field;
    return total;
  }
  BOOL Room(DWORD cb) { return Grow(pdev_, &state_->scratch, &state_->scratchBytes, used_, cb); }
  void Put(DWORD at, DWORD value) { memcpy(state_->scratch + at, &value, 4); }
  void Point(const POINTFIX& p) {
    Put(used_, DWORD(p.x + dx_));
    Put(used_ + 4, DWORD(p.y + dy_));
    used_ += 8;
  }
  BOOL Begin(const POINTFIX& start) {
    if (!Grow(pdev_, reinterpret_cast<BYTE**>(&subs_), &subsBytes_, count_ * sizeof(SubPath), sizeof(SubPath)) ||
        !Room(12))
      return FALSE;
    subs_[count_++] = SubPath{used_, 0, 0, FALSE};
    Put(used_, 0);
    used_ += 4;
    Point(start);
    return TRUE;
  }
  BOOL Line(const POINTFIX& p) {
    if (!Room(12)) return FALSE;
    Put(used_, 0);
    used_ += 4;
    Point(p);
    subs_[count_ - 1].lines++;
    return TRUE;
  }
  BOOL Bezier(const POINTFIX* p) {
    if (!Room(28)) return FALSE;
    Put(used_, 1);
    used_ += 4;
    for (int k = 0; k < 3; ++k) Point(p[k]);
    subs_[count_ - 1].beziers++;
    return TRUE;
  }

  GraphicsPdev* pdev_;
  DrawStateCache* state_;
  LONG dx_ = 0, dy_ = 0;
  DWORD used_ = 0;
  SubPath* subs_ = nullptr;
  DWORD subsBytes_ = 0;
  DWORD count_ = 0;
};

// One path record over the encoding's bytes [from, to).
BYTE* WritePathRecord(PdevOutputStream* stream, BYTE opcode, BYTE flags, const RECTL& bounds, DWORD sizeWord,
                      const BYTE* data, DWORD from, DWORD to) {
  DWORD length = kPathHead + (to - from);
  BYTE* rec = GrStreamReserve(stream, length);
  if (!rec) return nullptr;
  rec[0] = opcode;
  rec[1] = 0;
  rec[2] = flags;
  rec[3] = 0;
  memcpy(rec + 4, &length, 4);
  memcpy(rec + 8, &bounds, 16);
  memcpy(rec + 24, &sizeWord, 4);
  memcpy(rec + kPathHead, data + from, to - from);
  return rec;
}

}  // namespace

BYTE* GrSendPath(GraphicsPdev* pdev, PATHOBJ* path, BYTE kind) {
  PathEncoder encoder(pdev);
  if (!encoder.Encode(path, 0, 0)) return nullptr;
  RECTFX fx;
  PATHOBJ_vGetBounds(path, &fx);
  RECTL bounds = {fx.xLeft >> 4, fx.yTop >> 4, fx.xRight >> 4, fx.yBottom >> 4};
  PdevOutputStream* stream = &pdev->stream;
  DWORD count = encoder.Count();
  if (kind == kPathStroke && count > 1 && encoder.AnyClosed()) {
    // One record per sub-path: the device closes only a record's own figure.
    BYTE* first = nullptr;
    bool curves = false;
    for (DWORD i = 0; i < count; ++i) {
      const SubPath& sub = encoder.Sub(i);
      curves = curves || sub.beziers > 0;
      BYTE* rec = WritePathRecord(stream, curves ? kRecPath : kRecLinePath, BYTE(sub.closed ? 0x08 : 0), bounds,
                                  3 * sub.lines + 7 * sub.beziers + 3, encoder.Data(), sub.offset, encoder.End(i));
      if (!rec) return nullptr;
      if (!first) first = rec;
    }
    return first;
  }
  BYTE flags = BYTE(kind & 7);
  if (count > 1) flags |= 0x10;
  if (encoder.AnyClosed()) flags |= 0x08;
  return WritePathRecord(stream, encoder.Beziers() ? kRecPath : kRecLinePath, flags, bounds, encoder.SizeWord(),
                         encoder.Data(), 0, encoder.Used());
}

DWORD GrEncodeOutline(GraphicsPdev* pdev, PATHOBJ* path, BOOL* closed, BYTE* buffer, DWORD cbBuffer, LONG dx,
                      LONG dy) {
  if (closed) *closed = FALSE;
  PathEncoder encoder(pdev);
  if (!buffer || !encoder.Encode(path, dx, dy)) return 0;
  unsigned long long size = 4ull + encoder.Used();
  if (size > cbBuffer) return 0;
  DWORD sizeWord = encoder.SizeWord();
  memcpy(buffer, &sizeWord, 4);
  memcpy(buffer + 4, encoder.Data(), encoder.Used());
  if (closed) *closed = encoder.AnyClosed();
  return DWORD(size);
}

LONG_PTR GrClipToRecords(GraphicsPdev* pdev, CLIPOBJ* clip) {
  ClipCache* cache = reinterpret_cast<ClipCache*>(pdev->clipCache);
  if (!cache) return -1;
  if (!clip || clip->iDComplexity == DC_TRIVIAL) {
    if (cache->kind != kClipCacheNone) {
      if (!GrRecClipReset(&pdev->stream)) return -1;
      cache->kind = kClipCacheNone;
    }
    return 0;
  }
  if (clip->iDComplexity == DC_RECT) {
    const RECTL& r = clip->rclBounds;
    if (cache->valid && cache->kind == kClipCacheRect && cache->rect.left == r.left && cache->rect.top == r.top &&
        cache->rect.right == r.right && cache->rect.bottom == r.bottom)
      return reinterpret_cast<LONG_PTR>(cache->result);
    BYTE* rec = GrRecRect(&pdev->stream, kRectClip, r);
    if (!rec) return -1;
    *cache = ClipCache{1, clip->iUniq, rec, kClipCacheRect, r};
    return reinterpret_cast<LONG_PTR>(rec);
  }
  if (clip->iUniq && cache->valid && cache->kind == kClipCachePath && cache->id == clip->iUniq)
    return reinterpret_cast<LONG_PTR>(cache->result);
  PATHOBJ* path = CLIPOBJ_ppoGetPath(clip);
  if (!path) return -1;
  BYTE* rec = GrSendPath(pdev, path, kPathClip);
  EngDeletePath(path);
  if (!rec) return -1;
  *cache = ClipCache{1, clip->iUniq, rec, kClipCachePath, clip->rclBounds};
  return reinterpret_cast<LONG_PTR>(rec);
}

BYTE* GrSendSpans(PdevOutputStream* stream, CLIPOBJ* clip, const RECTL* target, BOOL* failed) {
  *failed = FALSE;
  if (!stream || !stream->pdev || !clip || !target) {
    *failed = TRUE;
    return nullptr;
  }
  RECTL t = *target;
  if (t.left > t.right) std::swap(t.left, t.right);
  if (t.top > t.bottom) std::swap(t.top, t.bottom);
  auto beyond = [](LONG v) { return v > 0x7FFF || v < -0x8000; };
  bool wide = beyond(t.left) || beyond(t.top) || beyond(t.right) || beyond(t.bottom);
  DWORD entry = wide ? 12 : 6;
  BYTE wideFlag = wide ? 0x10 : 0;
  BYTE* buffer = static_cast<BYTE*>(PdevPoolAlloc(stream->pdev->pool, kSpanEntries * entry));
  if (!buffer) {
    *failed = TRUE;
    return nullptr;
  }
  DWORD n = 0, records = 0;
  BYTE* last = nullptr;
  auto write = [&](BYTE flags) -> bool {
    DWORD length = (n * entry + 27) & ~3u;
    BYTE* rec = GrStreamReserve(stream, length);
    if (!rec) return false;
    rec[0] = kRecSpans;
    rec[1] = 0;
    rec[2] = BYTE(flags | wideFlag);
    rec[3] = 0;
    memcpy(rec + 4, &length, 4);
    memcpy(rec + 8, &t, 16);
    memcpy(rec + 24, buffer, n * entry);
    memset(rec + 24 + n * entry, 0, length - 24 - n * entry);
    last = rec;
    ++records;
    n = 0;
    return true;
  };
  bool ok = true;
  struct {
    ULONG c;
    RECTL rects[1];
  } batch;
  CLIPOBJ_cEnumStart(clip, FALSE, CT_RECTANGLES, CD_ANY, 0);
  BOOL more;
  do {
    more = CLIPOBJ_bEnum(clip, sizeof batch, reinterpret_cast<ULONG*>(&batch));
    for (ULONG k = 0; ok && k < batch.c && k < 1; ++k) {
      RECTL r = batch.rects[k];
      if (r.left > r.right) std::swap(r.left, r.right);
      if (r.top > r.bottom) std::swap(r.top, r.bottom);
      // Spans never reach outside the call's target.
      if (r.left < t.left) r.left = t.left;
      if (r.top < t.top) r.top = t.top;
      if (r.right > t.right) r.right = t.right;
      if (r.bottom > t.bottom) r.bottom = t.bottom;
      if (r.left >= r.right) continue;
      for (LONG y = r.top; ok && y < r.bottom; ++y) {
        if (n == kSpanEntries && !write(records ? 0x04 : 0x02)) ok = false;
        if (!ok) break;
        BYTE* at = buffer + n * entry;
        if (wide) {
          LONG values[3] = {y, r.left, r.right - 1};
          memcpy(at, values, 12);
        } else {
          SHORT values[3] = {SHORT(y), SHORT(r.left), SHORT(r.right - 1)};
          memcpy(at, values, 6);
        }
        ++n;
      }
    }
  } while (ok && more);
  // The list always ends with its closing record, also after a full one.
  if (ok && n && !write(records ? 0x0C : 0x0A)) ok = false;
  PdevPoolFree(stream->pdev->pool, buffer);
  if (!ok) {
    *failed = TRUE;
    return nullptr;
  }
  return last;
}

BOOL GrPathSmallEnough(const GraphicsPdev* pdev, const PATHOBJ* path) {
  return !(pdev->wideLineSwitch && path && path->cCurves > kPathCurvesLimit);
}
