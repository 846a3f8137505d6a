// The engine's own path drawing: fills (alternate and winding) and strokes (cosmetic and
// widened geometric) rasterised to row spans. On an engine bitmap the spans are drawn with the
// brush and mix; on a device surface they become one DC_COMPLEX region handed to the driver's
// DrvBitBlt, as GDI breaks a path down for a driver that declines it.
#include <math.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <vector>

#include "platform/gdi32/engine_internal.h"
#include "platform/sim/trace.h"
#include "platform/sim_gdi.h"

namespace {

struct Pt {
  double x, y;
};
struct Figure {
  std::vector<Pt> points;
  bool closed = false;
};

// Regions of more rows than this are refused as memory that cannot be had.
constexpr LONG kMaxRows = 1 << 16;
constexpr int kCurveSteps = 16;

std::mutex g_lock;
std::map<HDEV, PFN_DrvBitBlt> g_deviceBlts;

// The path's figures in device units (28.4 / 16), Bezier groups flattened.
bool Flatten(PATHOBJ* path, std::vector<Figure>* figures) {
  PATHOBJ_vEnumStart(path);
  PATHDATA batch;
  BOOL more;
  do {
    more = PATHOBJ_bEnum(path, &batch);
    const POINTFIX* p = batch.pptfx;
    ULONG n = batch.count;
    if (n && !p) return false;
    if (n && ((batch.flags & PD_BEGINSUBPATH) || figures->empty())) {
      figures->emplace_back();
      figures->back().points.push_back(Pt{p[0].x / 16.0, p[0].y / 16.0});
      ++p;
      --n;
    }
    if (figures->empty()) continue;
    Figure& f = figures->back();
    if (batch.flags & PD_BEZIERS) {
      for (ULONG i = 0; i + 2 < n; i += 3) {
        Pt a = f.points.back(), b = {p[i].x / 16.0, p[i].y / 16.0}, c = {p[i + 1].x / 16.0, p[i + 1].y / 16.0},
           d = {p[i + 2].x / 16.0, p[i + 2].y / 16.0};
        for (int k = 1; k <= kCurveSteps; ++k) {
          double t = double(k) / kCurveSteps, u = 1 - t;
          f.points.push_back(Pt{u * u * u * a.x + 3 * u * u * t * b.x + 3 * u * t * t * c.x + t * t * t * d.x,
                                u * u * u * a.y + 3 * u * u * t * b.y + 3 * u * t * t * c.y + t * t * t * d.y});
        }
      }
    } else {
      for (ULONG i = 0; i < n; ++i) f.points.push_back(Pt{p[i].x / 16.0, p[i].y / 16.0});
    }
    if (batch.flags & PD_CLOSEFIGURE) f.closed = true;
  } while (more);
  return true;
}

// Row spans [left, right) of row y of the polygons (every figure closed), sampled at whole
// coordinates, within limit.
std::vector<RECTL> Scan(const std::vector<std::vector<Pt>>& polygons, bool winding, const RECTL& limit) {
  struct Edge {
    Pt a, b;
    int dir;
  };
  std::vector<Edge> edges;
  double top = 1e18, bottom = -1e18;
  for (const auto& poly : polygons) {
    for (size_t i = 0; i < poly.size(); ++i) {
      Pt a = poly[i], b = poly[(i + 1) % poly.size()];
      if (a.y == b.y) continue;
      edges.push_back(a.y < b.y ? Edge{a, b, 1} : Edge{b, a, -1});
      top = std::min(top, std::min(a.y, b.y));
      bottom = std::max(bottom, std::max(a.y, b.y));
    }
  }
  std::vector<RECTL> spans;
  if (edges.empty()) return spans;
  LONG y0 = std::max<LONG>(limit.top, LONG(ceil(top))), y1 = std::min<LONG>(limit.bottom, LONG(ceil(bottom)));
  if (y1 - y0 > kMaxRows) y1 = y0 + kMaxRows;
  std::vector<std::pair<double, int>> cross;
  for (LONG y = y0; y < y1; ++y) {
    cross.clear();
    for (const Edge& e : edges)
      if (e.a.y <= y && y < e.b.y) cross.emplace_back(e.a.x + (y - e.a.y) * (e.b.x - e.a.x) / (e.b.y - e.a.y), e.dir);
    std::sort(cross.begin(), cross.end());
    int count = 0;
    for (size_t i = 0; i + 1 < cross.size(); ++i) {
      count += winding ? cross[i].second : 1;
      bool inside = winding ? count != 0 : (count & 1);
      if (!inside) continue;
      LONG l = std::max<LONG>(limit.left, LONG(ceil(cross[i].first)));
      LONG r = std::min<LONG>(limit.right, LONG(ceil(cross[i + 1].first)));
      if (l < r) spans.push_back(RECTL{l, y, r, y + 1});
    }
  }
  return spans;
}

// A stroke as polygons: a rectangle of the width along each segment and a square at each
// point for the joins and caps (simplified: joins and caps are squares, styles are solid).
std::vector<std::vector<Pt>> Widen(const std::vector<Figure>& figures, double width) {
  std::vector<std::vector<Pt>> out;
  double h = width / 2;
  for (const Figure& f : figures) {
    size_t n = f.points.size();
    size_t segments = f.closed ? n : (n ? n - 1 : 0);
    for (size_t i = 0; i < n; ++i) {
      Pt p = f.points[i];
      out.push_back({{p.x - h, p.y - h}, {p.x + h, p.y - h}, {p.x + h, p.y + h}, {p.x - h, p.y + h}});
    }
    for (size_t i = 0; i < segments && n > 1; ++i) {
      Pt a = f.points[i], b = f.points[(i + 1) % n];
      double dx = b.x - a.x, dy = b.y - a.y, len = sqrt(dx * dx + dy * dy);
      if (len == 0) continue;
      double nx = -dy / len * h, ny = dx / len * h;
      out.push_back({{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}});
    }
  }
  return out;
}

ROP4 Rop4OfMix(MIX mix) {
  static const BYTE kRop3[16] = {0x00, 0x05, 0x0A, 0x0F, 0x50, 0x55, 0x5A, 0x5F,
                                 0xA0, 0xA5, 0xAA, 0xAF, 0xF0, 0xF5, 0xFA, 0xFF};
  ULONG fore = mix & 0xFF, back = (mix >> 8) & 0xFF;
  BYTE f = fore >= 1 && fore <= 16 ? kRop3[fore - 1] : 0xF0;
  BYTE b = back >= 1 && back <= 16 ? kRop3[back - 1] : f;
  return ROP4(f | (b << 8));
}

// The spans drawn: on an engine bitmap by the engine, on a device surface through the
// driver's DrvBitBlt with the spans as one complex region.
BOOL Draw(SURFOBJ* so, const std::vector<RECTL>& spans, CLIPOBJ* clip, BRUSHOBJ* brush, POINTL* org, MIX mix) {
  RECTL all = {0, 0, so->sizlBitmap.cx, so->sizlBitmap.cy};
  std::vector<RECTL> parts;
  std::vector<RECTL> clipRects = winsim::EngineClipRects(clip, all);
  for (const RECTL& s : spans)
    for (const RECTL& c : clipRects) {
      RECTL r = {std::max(s.left, c.left), std::max(s.top, c.top), std::min(s.right, c.right),
                 std::min(s.bottom, c.bottom)};
      if (r.left < r.right && r.top < r.bottom) parts.push_back(r);
    }
  if (parts.empty()) return TRUE;
  ROP4 rop4 = Rop4OfMix(mix);
  if (so->iType == STYPE_BITMAP && so->pvScan0) {
    for (const RECTL& r : parts) winsim::EngineFillSpan(so, r.top, r.left, r.right, brush, org, rop4);
    return TRUE;
  }
  PFN_DrvBitBlt blt = nullptr;
  {
    std::lock_guard<std::mutex> hold(g_lock);
    auto it = g_deviceBlts.find(so->hdev);
    if (it != g_deviceBlts.end()) blt = it->second;
  }
  if (!blt) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  RECTL bounds = parts[0];
  for (const RECTL& r : parts) {
    bounds.left = std::min(bounds.left, r.left);
    bounds.top = std::min(bounds.top, r.top);
    bounds.right = std::max(bounds.right, r.right);
    bounds.bottom = std::max(bounds.bottom, r.bottom);
  }
  CLIPOBJ* region = SimGdiCreateClip(DC_COMPLEX, &bounds, parts.data(), ULONG(parts.size()), nullptr, 0);
  BOOL ok = blt(so, nullptr, nullptr, region, nullptr, &bounds, nullptr, nullptr, brush, org, rop4);
  SimGdiDeleteClip(region);
  return ok;
}

std::vector<RECTL> FillSpans(const std::vector<Figure>& figures, bool winding, const RECTL& limit) {
  std::vector<std::vector<Pt>> polygons;
  for (const Figure& f : figures)
    if (f.points.size() > 2) polygons.push_back(f.points);
  return Scan(polygons, winding, limit);
}

// The stroke's width in device dots: 1 for a cosmetic line, elWidth scaled by the transform's
// diagonal for a geometric one.
double StrokeWidth(XFORMOBJ* xform, const LINEATTRS* la) {
  if (!la || !(la->fl & LA_GEOMETRIC)) return 1;
  double w = la->elWidth.e;
  XFORML m;
  if (xform && XFORMOBJ_iGetXform(xform, &m) != DDI_ERROR) w *= (fabs(m.eM11) + fabs(m.eM22)) / 2;
  return w < 1 ? 1 : w;
}

std::vector<RECTL> StrokeSpans(const std::vector<Figure>& figures, XFORMOBJ* xform, const LINEATTRS* la,
                               const RECTL& limit) {
  if (la && la->pstyle && la->cstyle) WINSIM_SIMPLIFIED("EngStrokePath", "draws styled lines solid");
  // The pieces are joined by the winding rule: each is turned the same way round.
  std::vector<std::vector<Pt>> pieces = Widen(figures, StrokeWidth(xform, la));
  for (auto& piece : pieces) {
    double area = 0;
    for (size_t i = 0; i < piece.size(); ++i) {
      const Pt &a = piece[i], &b = piece[(i + 1) % piece.size()];
      area += a.x * b.y - b.x * a.y;
    }
    if (area < 0) std::reverse(piece.begin(), piece.end());
  }
  return Scan(pieces, true, limit);
}

RECTL Limit(SURFOBJ* so) { return RECTL{0, 0, so->sizlBitmap.cx, so->sizlBitmap.cy}; }

bool Usable(SURFOBJ* so, PATHOBJ* path) {
  if (so && path && so->sizlBitmap.cx > 0 && so->sizlBitmap.cy > 0) return true;
  SetLastError(ERROR_INVALID_PARAMETER);
  return false;
}

}  // namespace

std::vector<RECTL> winsim::EngineFillRegion(PATHOBJ* path, bool winding, const RECTL& limit) {
  std::vector<Figure> figures;
  if (!path || !Flatten(path, &figures)) return {};
  return FillSpans(figures, winding, limit);
}

WINSIM_API void SimGdiSetDeviceBlt(HDEV hdev, PFN_DrvBitBlt blt) {
  std::lock_guard<std::mutex> hold(g_lock);
  if (blt) g_deviceBlts[hdev] = blt;
  else g_deviceBlts.erase(hdev);
}

// Simplified: joins and caps are squares, styled lines are drawn solid.
WINSIM_API BOOL WINAPI EngStrokePath(SURFOBJ* so, PATHOBJ* path, CLIPOBJ* clip, XFORMOBJ* xform, BRUSHOBJ* brush,
                                     POINTL* org, LINEATTRS* la, MIX mix) {
  if (!Usable(so, path)) return FALSE;
  WINSIM_SIMPLIFIED("EngStrokePath", "joins and caps are squares");
  std::vector<Figure> figures;
  if (!Flatten(path, &figures)) return FALSE;
  return Draw(so, StrokeSpans(figures, xform, la, Limit(so)), clip, brush, org, mix);
}

WINSIM_API BOOL WINAPI EngFillPath(SURFOBJ* so, PATHOBJ* path, CLIPOBJ* clip, BRUSHOBJ* brush, POINTL* org, MIX mix,
                                   FLONG options) {
  if (!Usable(so, path)) return FALSE;
  std::vector<Figure> figures;
  if (!Flatten(path, &figures)) return FALSE;
  return Draw(so, FillSpans(figures, (options & FP_WINDINGMODE) != 0, Limit(so)), clip, brush, org, mix);
}

WINSIM_API BOOL WINAPI EngStrokeAndFillPath(SURFOBJ* so, PATHOBJ* path, CLIPOBJ* clip, XFORMOBJ* xform,
                                            BRUSHOBJ* stroke, LINEATTRS* la, BRUSHOBJ* fill, POINTL* org,
                                            MIX mixFill, FLONG options) {
  if (!Usable(so, path)) return FALSE;
  std::vector<Figure> figures;
  if (!Flatten(path, &figures)) return FALSE;
  if (!Draw(so, FillSpans(figures, (options & FP_WINDINGMODE) != 0, Limit(so)), clip, fill, org, mixFill))
    return FALSE;
  return Draw(so, StrokeSpans(figures, xform, la, Limit(so)), clip, stroke, org, mixFill);
}
