// The drawing objects the engine hands a driver with a drawing call: brushes realised through
// the driver on first use, paths enumerated in batches, clips with their rectangles and path,
// and transforms. Each public object is the first member of the engine's own record.
#include <string.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

#include "platform/gdi32/engine_internal.h"
#include "platform/sim/trace.h"
#include "platform/sim_gdi.h"

namespace {

constexpr DWORD kBrushMagic = 0x42525348u;  // "BRSH"
constexpr DWORD kPathMagic = 0x50415448u;   // "PATH"
constexpr DWORD kClipMagic = 0x434C4950u;   // "CLIP"
constexpr DWORD kXformMagic = 0x58464F52u;  // "XFOR"

struct EngineBrush {
  BRUSHOBJ bo;
  DWORD magic = kBrushMagic;
  PFN_DrvRealizeBrush realize = nullptr;
  SURFOBJ* target = nullptr;
  SURFOBJ* pattern = nullptr;
  XLATEOBJ* xlate = nullptr;
  ULONG hatch = 0xFFFFFFFFu;
  std::vector<BYTE> realization;
  bool realizing = false;
};

struct EnginePath {
  PATHOBJ po;
  DWORD magic = kPathMagic;
  std::vector<POINTFIX> points;
  std::vector<BYTE> kinds;
  ULONG batch = 0;
  size_t next = 0;  // the enumeration's next point
};

struct EngineClip {
  CLIPOBJ co;
  DWORD magic = kClipMagic;
  std::vector<RECTL> rects;
  std::vector<POINTFIX> pathPoints;  // the clip path's points and kinds
  std::vector<BYTE> pathKinds;
  size_t nextRect = 0;
};

struct EngineXform {
  XFORMOBJ xo;
  DWORD magic = kXformMagic;
  XFORML m;
  bool identity = true;
};

std::atomic<ULONG> g_failAllocs{0};
std::atomic<ULONG> g_livePaths{0};

// The objects the engine made: a driver or test may hand a plain BRUSHOBJ or CLIPOBJ of its
// own, whose memory ends with the public part.
std::mutex g_lock;
std::set<const void*> g_objects;

void Register(const void* object) {
  std::lock_guard<std::mutex> hold(g_lock);
  g_objects.insert(object);
}
void Unregister(const void* object) {
  std::lock_guard<std::mutex> hold(g_lock);
  g_objects.erase(object);
}
bool Made(const void* object) {
  std::lock_guard<std::mutex> hold(g_lock);
  return object && g_objects.count(object);
}

EngineBrush* BrushOf(BRUSHOBJ* bo) {
  EngineBrush* b = Made(bo) ? reinterpret_cast<EngineBrush*>(bo) : nullptr;
  return b && b->magic == kBrushMagic ? b : nullptr;
}
EnginePath* PathOf(PATHOBJ* po) {
  EnginePath* p = Made(po) ? reinterpret_cast<EnginePath*>(po) : nullptr;
  return p && p->magic == kPathMagic ? p : nullptr;
}
EngineClip* ClipOf(CLIPOBJ* co) {
  EngineClip* c = Made(co) ? reinterpret_cast<EngineClip*>(co) : nullptr;
  return c && c->magic == kClipMagic ? c : nullptr;
}

BYTE KindOf(BYTE kind) { return BYTE(kind & 0x7F); }

PATHOBJ* NewPath(const POINTFIX* points, const BYTE* kinds, ULONG count, ULONG batch) {
  EnginePath* p = new EnginePath();
  p->points.assign(points, points + count);
  p->kinds.assign(kinds, kinds + count);
  p->batch = batch;
  ULONG lines = 0, curvePoints = 0;
  for (ULONG i = 0; i < count; ++i) {
    if (KindOf(kinds[i]) == kSimPathLine) ++lines;
    if (KindOf(kinds[i]) == kSimPathCurve) {
      ++curvePoints;
      p->po.fl |= PO_BEZIERS;
    }
  }
  p->po.cCurves = lines + (curvePoints + 2) / 3;
  ++g_livePaths;
  Register(p);
  return &p->po;
}

// A figure starts at a move point, or at the first point of the path.
bool StartsFigure(const EnginePath* p, size_t i) { return i == 0 || KindOf(p->kinds[i]) == kSimPathMove; }

}  // namespace

// ---- brushes ----

WINSIM_API BRUSHOBJ* SimGdiCreateBrush(ULONG solidColor, FLONG colorType, PFN_DrvRealizeBrush realize,
                                       SURFOBJ* target, SURFOBJ* pattern, XLATEOBJ* xlate, ULONG hatch) {
  EngineBrush* b = new EngineBrush();
  b->bo.iSolidColor = solidColor;
  b->bo.pvRbrush = nullptr;
  b->bo.flColorType = colorType;
  b->realize = realize;
  b->target = target;
  b->pattern = pattern;
  b->xlate = xlate;
  b->hatch = hatch;
  Register(b);
  return &b->bo;
}

WINSIM_API void SimGdiDeleteBrush(BRUSHOBJ* brush) {
  EngineBrush* b = BrushOf(brush);
  Unregister(b);
  delete b;
}

WINSIM_API void SimGdiFailRbrushAllocs(ULONG n) { g_failAllocs = n; }

// The realisation's memory belongs to the brush and lives as long as it does.
WINSIM_API PVOID WINAPI BRUSHOBJ_pvAllocRbrush(BRUSHOBJ* brush, ULONG cj) {
  EngineBrush* b = BrushOf(brush);
  if (!b || cj == 0 || cj > (16u << 20)) return nullptr;
  ULONG fail = g_failAllocs.load();
  while (fail > 0 && !g_failAllocs.compare_exchange_weak(fail, fail - 1)) {
  }
  if (fail > 0) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  b->realization.assign(cj, 0);
  b->bo.pvRbrush = b->realization.data();
  return b->realization.data();
}

// The first request realises the brush through the driver; a failed realisation gives NULL
// and is tried again on the next request.
WINSIM_API PVOID WINAPI BRUSHOBJ_pvGetRbrush(BRUSHOBJ* brush) {
  EngineBrush* b = BrushOf(brush);
  if (!b) return nullptr;
  if (b->bo.pvRbrush) return b->bo.pvRbrush;
  if (!b->realize || b->realizing) return nullptr;
  b->realizing = true;
  BOOL ok = b->realize(&b->bo, b->target, b->pattern, nullptr, b->xlate, b->hatch);
  b->realizing = false;
  if (!ok) {
    b->realization.clear();
    b->bo.pvRbrush = nullptr;
    return nullptr;
  }
  if (!b->bo.pvRbrush && !b->realization.empty()) b->bo.pvRbrush = b->realization.data();
  return b->bo.pvRbrush;
}

// ---- paths ----

WINSIM_API PATHOBJ* SimGdiCreatePath(const POINTFIX* points, const BYTE* kinds, ULONG count, ULONG batch) {
  if (count && (!points || !kinds)) return nullptr;
  return NewPath(points, kinds, count, batch);
}

WINSIM_API ULONG SimGdiLivePaths(void) { return g_livePaths.load(); }

WINSIM_API VOID WINAPI EngDeletePath(PATHOBJ* path) {
  EnginePath* p = PathOf(path);
  if (!p) return;
  Unregister(p);
  p->magic = 0;
  delete p;
  --g_livePaths;
}

WINSIM_API VOID WINAPI PATHOBJ_vEnumStart(PATHOBJ* path) {
  EnginePath* p = PathOf(path);
  if (p) p->next = 0;
}

// One batch: a figure's first batch starts with its start point (PD_BEGINSUBPATH); a batch
// holds lines or Bezier points only, at most the path's batch size; the figure's last batch
// carries PD_ENDSUBPATH (and PD_CLOSEFIGURE when closed). TRUE while more batches follow.
WINSIM_API BOOL WINAPI PATHOBJ_bEnum(PATHOBJ* path, PATHDATA* data) {
  EnginePath* p = PathOf(path);
  if (!data) return FALSE;
  data->flags = 0;
  data->count = 0;
  data->pptfx = nullptr;
  if (!p || p->next >= p->points.size()) return FALSE;
  size_t i = p->next, n = p->points.size();
  size_t limit = p->batch ? p->batch : n;
  bool begins = StartsFigure(p, i);
  size_t end = i;
  if (begins) {
    data->flags |= PD_BEGINSUBPATH;
    ++end;
  }
  if (end < n && !StartsFigure(p, end)) {
    BYTE run = KindOf(p->kinds[end]);
    if (run == kSimPathCurve) data->flags |= PD_BEZIERS;
    while (end < n && end - i < limit && !StartsFigure(p, end) && KindOf(p->kinds[end]) == run) ++end;
  }
  data->count = ULONG(end - i);
  data->pptfx = &p->points[i];
  if (end >= n || StartsFigure(p, end)) {
    data->flags |= PD_ENDSUBPATH;
    if (p->kinds[end - 1] & kSimPathClose) data->flags |= PD_CLOSEFIGURE;
  }
  p->next = end;
  return end < n;
}

WINSIM_API VOID WINAPI PATHOBJ_vGetBounds(PATHOBJ* path, PRECTFX bounds) {
  EnginePath* p = PathOf(path);
  if (!bounds) return;
  *bounds = RECTFX{0, 0, 0, 0};
  if (!p || p->points.empty()) return;
  *bounds = RECTFX{p->points[0].x, p->points[0].y, p->points[0].x, p->points[0].y};
  for (const POINTFIX& pt : p->points) {
    if (pt.x < bounds->xLeft) bounds->xLeft = pt.x;
    if (pt.x > bounds->xRight) bounds->xRight = pt.x;
    if (pt.y < bounds->yTop) bounds->yTop = pt.y;
    if (pt.y > bounds->yBottom) bounds->yBottom = pt.y;
  }
}

// ---- clips ----

WINSIM_API CLIPOBJ* SimGdiCreateClip(BYTE complexity, const RECTL* bounds, const RECTL* rects, ULONG count,
                                     PATHOBJ* path, ULONG uniq) {
  EngineClip* c = new EngineClip();
  c->co.iUniq = uniq;
  c->co.iDComplexity = complexity;
  c->co.iFComplexity = complexity == DC_COMPLEX ? FC_COMPLEX : FC_RECT;
  c->co.iMode = TC_RECTANGLES;
  if (rects && count) c->rects.assign(rects, rects + count);
  if (bounds) {
    c->co.rclBounds = *bounds;
  } else if (!c->rects.empty()) {
    RECTL b = c->rects[0];
    for (const RECTL& r : c->rects) {
      if (r.left < b.left) b.left = r.left;
      if (r.top < b.top) b.top = r.top;
      if (r.right > b.right) b.right = r.right;
      if (r.bottom > b.bottom) b.bottom = r.bottom;
    }
    c->co.rclBounds = b;
  }
  if (c->rects.empty() && complexity == DC_RECT) c->rects.push_back(c->co.rclBounds);
  if (EnginePath* p = PathOf(path)) {
    c->pathPoints = p->points;
    c->pathKinds = p->kinds;
  } else {
    // The rectangles as closed figures, in 28.4.
    for (const RECTL& r : c->rects) {
      POINTFIX corners[4] = {{r.left * 16, r.top * 16}, {r.right * 16, r.top * 16}, {r.right * 16, r.bottom * 16},
                             {r.left * 16, r.bottom * 16}};
      for (int k = 0; k < 4; ++k) {
        c->pathPoints.push_back(corners[k]);
        c->pathKinds.push_back(BYTE(k == 0 ? kSimPathMove : k == 3 ? (kSimPathLine | kSimPathClose) : kSimPathLine));
      }
    }
  }
  Register(c);
  return &c->co;
}

WINSIM_API void SimGdiDeleteClip(CLIPOBJ* clip) {
  EngineClip* c = ClipOf(clip);
  if (c) c->magic = 0;
  Unregister(c);
  delete c;
}

WINSIM_API ULONG WINAPI CLIPOBJ_cEnumStart(CLIPOBJ* clip, BOOL, ULONG, ULONG, ULONG limit) {
  EngineClip* c = ClipOf(clip);
  if (!c) return 0xFFFFFFFFu;
  c->nextRect = 0;
  return limit && c->rects.size() > limit ? 0xFFFFFFFFu : ULONG(c->rects.size());
}

// As many rectangles as fit the caller's ENUMRECTS of cj bytes; TRUE while more follow.
WINSIM_API BOOL WINAPI CLIPOBJ_bEnum(CLIPOBJ* clip, ULONG cj, ULONG* out) {
  EngineClip* c = ClipOf(clip);
  if (!c || !out || cj < sizeof(ENUMRECTS)) return FALSE;
  ENUMRECTS* e = reinterpret_cast<ENUMRECTS*>(out);
  size_t room = (cj - offsetof(ENUMRECTS, arcl)) / sizeof(RECTL);
  e->c = 0;
  while (e->c < room && c->nextRect < c->rects.size()) e->arcl[e->c++] = c->rects[c->nextRect++];
  return c->nextRect < c->rects.size();
}

WINSIM_API PATHOBJ* WINAPI CLIPOBJ_ppoGetPath(CLIPOBJ* clip) {
  EngineClip* c = ClipOf(clip);
  if (!c) return nullptr;
  return NewPath(c->pathPoints.data(), c->pathKinds.data(), ULONG(c->pathPoints.size()), 0);
}

// ---- transforms ----

WINSIM_API XFORMOBJ* SimGdiCreateXform(const XFORML* matrix) {
  EngineXform* x = new EngineXform();
  x->m = XFORML{1, 0, 0, 1, 0, 0};
  if (matrix) {
    x->m = *matrix;
    x->identity = matrix->eM11 == 1 && matrix->eM12 == 0 && matrix->eM21 == 0 && matrix->eM22 == 1 &&
                  matrix->eDx == 0 && matrix->eDy == 0;
  }
  Register(x);
  return &x->xo;
}

WINSIM_API void SimGdiDeleteXform(XFORMOBJ* xform) {
  EngineXform* x = Made(xform) ? reinterpret_cast<EngineXform*>(xform) : nullptr;
  if (x && x->magic == kXformMagic) {
    Unregister(x);
    x->magic = 0;
    delete x;
  }
}

WINSIM_API ULONG WINAPI XFORMOBJ_iGetXform(XFORMOBJ* xform, XFORML* out) {
  EngineXform* x = Made(xform) ? reinterpret_cast<EngineXform*>(xform) : nullptr;
  if (!x || x->magic != kXformMagic) return DDI_ERROR;
  if (out) *out = x->m;
  if (x->identity) return GX_IDENTITY;
  if (x->m.eM12 != 0 || x->m.eM21 != 0) return GX_GENERAL;
  if (x->m.eM11 == 1 && x->m.eM22 == 1) return GX_OFFSET;
  return GX_SCALE;
}

namespace winsim {

const BYTE kEngineHatches[6][8] = {
    {0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00}, {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01}, {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},
    {0x08, 0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08}, {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},
};

bool EngineBrushSourceOf(BRUSHOBJ* brush, EngineBrushSource* out) {
  EngineBrush* b = BrushOf(brush);
  if (!b) return false;
  *out = EngineBrushSource{b->bo.iSolidColor, b->hatch, b->pattern, b->xlate};
  return true;
}

std::vector<RECTL> EngineClipRects(CLIPOBJ* clip, const RECTL& limit) {
  std::vector<RECTL> out;
  auto add = [&](RECTL r) {
    if (r.left < limit.left) r.left = limit.left;
    if (r.top < limit.top) r.top = limit.top;
    if (r.right > limit.right) r.right = limit.right;
    if (r.bottom > limit.bottom) r.bottom = limit.bottom;
    if (r.left < r.right && r.top < r.bottom) out.push_back(r);
  };
  if (!clip || clip->iDComplexity == DC_TRIVIAL) {
    add(limit);
  } else if (EngineClip* c = ClipOf(clip); c && clip->iDComplexity == DC_COMPLEX) {
    for (const RECTL& r : c->rects) add(r);
  } else {
    add(clip->rclBounds);
  }
  return out;
}

}  // namespace winsim
