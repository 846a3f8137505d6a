// The engine's text: our synthetic outline fonts with their IFIMETRICS, glyph outlines and
// glyph bitmaps (FONTOBJ_pifi, FONTOBJ_cGetGlyphs), the string objects it hands to DrvTextOut
// (STROBJ_vEnumStart, STROBJ_bEnum), EngTextOut on engine bitmaps and EngUnicodeToMultiByteN.
#include <math.h>
#include <string.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/gdi32/engine_internal.h"
#include "platform/sim/internal.h"
#include "platform/sim/trace.h"
#include "platform/sim_gdi.h"

namespace {

constexpr LONG kEm = 1000, kAscent = 800, kDescent = 200;
// Glyph images larger than this on a side are refused (FD_ERROR), as an engine without the
// memory for them would.
constexpr LONG kGlyphSideLimit = 4096;

struct GlyphImage {
  std::vector<BYTE> bytes;  // GLYPHDATA, then GLYPHBITS with its rows
};

struct FontText {
  bool outline = false;
  bool fixedPitch = false;
  std::vector<BYTE> ifi;          // our own IFIMETRICS with its names (outline fonts)
  IFIMETRICS* deviceIfi = nullptr;  // the driver's (device fonts)
  XFORML m = {};
  std::map<WCHAR, PATHOBJ*> paths;
  std::map<WCHAR, GlyphImage> images;
};

std::mutex g_lock;
std::map<const FONTOBJ*, std::unique_ptr<FontText>> g_texts;
std::atomic<ULONG> g_failGlyphs{0};

struct EngineString {
  STROBJ so = {};
  std::vector<GLYPHPOS> positions;
  std::vector<WCHAR> text;
  ULONG batch = 0;
  ULONG next = 0;
};
std::set<const STROBJ*> g_strings;

void ForgetAll() {
  std::lock_guard<std::mutex> hold(g_lock);
  g_texts.clear();  // the paths went with the engine's objects
  for (const STROBJ* s : g_strings) delete reinterpret_cast<const EngineString*>(s);
  g_strings.clear();
  g_failGlyphs = 0;
}

struct ResetRegistration {
  ResetRegistration() { winsim::RegisterResetHook(ForgetAll); }
} g_resetRegistration;

FontText* TextOf(const FONTOBJ* font) {
  auto it = g_texts.find(font);
  return it == g_texts.end() ? nullptr : it->second.get();
}

EngineString* StringOf(const STROBJ* str) {
  return str && g_strings.count(str) ? reinterpret_cast<EngineString*>(const_cast<STROBJ*>(str)) : nullptr;
}

bool HasOutline(WCHAR c) { return c > 0x20 && !(c >= 0x7F && c < 0xA0); }

LONG Advance(bool fixedPitch, WCHAR c) {
  if (fixedPitch) return 600;
  if (c >= 0x2E80) return 1000;
  return 350 + (c % 4) * 100;
}

// The glyph's points in notional units and their kinds: the outer square as lines, the hole as
// one Bezier and one line, both closed.
void Outline(bool fixedPitch, WCHAR c, std::vector<POINTL>* pts, std::vector<BYTE>* kinds) {
  if (!HasOutline(c)) return;
  LONG adv = Advance(fixedPitch, c);
  const POINTL outer[] = {{60, -700}, {adv - 60, -700}, {adv - 60, 0}, {60, 0}};
  const BYTE outerKinds[] = {kSimPathMove, kSimPathLine, kSimPathLine, BYTE(kSimPathLine | kSimPathClose)};
  LONG y0 = -350 - 50 * (c % 5), tip = -120 - 40 * ((c >> 2) % 4);
  const POINTL hole[] = {{120, y0}, {120, -650}, {adv - 120, -650}, {adv - 120, -400}, {adv / 2, tip}};
  const BYTE holeKinds[] = {kSimPathMove, kSimPathCurve, kSimPathCurve, kSimPathCurve,
                            BYTE(kSimPathLine | kSimPathClose)};
  pts->assign(outer, outer + 4);
  pts->insert(pts->end(), hole, hole + 5);
  kinds->assign(outerKinds, outerKinds + 4);
  kinds->insert(kinds->end(), holeKinds, holeKinds + 5);
}

POINTFIX ToDevice(const XFORML& m, double x, double y) {
  double dx = (x * m.eM11 + y * m.eM21) * 16, dy = (x * m.eM12 + y * m.eM22) * 16;
  auto clamp = [](double v) { return FIX(std::max(-2147483647.0, std::min(2147483647.0, v)) + (v < 0 ? -0.5 : 0.5)); };
  return POINTFIX{clamp(dx), clamp(dy)};
}

PATHOBJ* GlyphPath(FontText* t, WCHAR c) {
  auto known = t->paths.find(c);
  if (known != t->paths.end()) return known->second;
  std::vector<POINTL> pts;
  std::vector<BYTE> kinds;
  Outline(t->fixedPitch, c, &pts, &kinds);
  std::vector<POINTFIX> fx;
  for (const POINTL& p : pts) fx.push_back(ToDevice(t->m, p.x, p.y));
  PATHOBJ* path = SimGdiCreatePath(fx.data(), kinds.data(), ULONG(fx.size()), 0);
  t->paths[c] = path;
  return path;
}

LONG FloorDiv16(FIX v) { return v >= 0 ? v / 16 : -((-v + 15) / 16); }
LONG CeilDiv16(FIX v) { return -FloorDiv16(-v); }

GLYPHDATA* GlyphBits(FontText* t, WCHAR c) {
  auto known = t->images.find(c);
  if (known != t->images.end()) return reinterpret_cast<GLYPHDATA*>(known->second.bytes.data());
  PATHOBJ* path = GlyphPath(t, c);
  if (!path) return nullptr;
  RECTFX b;
  PATHOBJ_vGetBounds(path, &b);
  LONG left = FloorDiv16(b.xLeft), top = FloorDiv16(b.yTop), right = CeilDiv16(b.xRight),
       bottom = CeilDiv16(b.yBottom);
  if (!HasOutline(c)) left = top = right = bottom = 0;
  LONG cx = right - left, cy = bottom - top;
  if (cx > kGlyphSideLimit || cy > kGlyphSideLimit) return nullptr;
  size_t rowBytes = size_t(cx + 7) / 8;
  GlyphImage image;
  image.bytes.assign(sizeof(GLYPHDATA) + offsetof(GLYPHBITS, aj) + rowBytes * size_t(cy) + 4, 0);
  GLYPHDATA* gd = reinterpret_cast<GLYPHDATA*>(image.bytes.data());
  GLYPHBITS* gb = reinterpret_cast<GLYPHBITS*>(image.bytes.data() + sizeof(GLYPHDATA));
  gd->hg = c;
  gd->gdf.pgb = gb;
  gb->ptlOrigin = POINTL{left, top};
  gb->sizlBitmap = SIZEL{cx, cy};
  if (cx > 0 && cy > 0) {
    for (const RECTL& r : winsim::EngineFillRegion(path, false, RECTL{left, top, right, bottom}))
      for (LONG y = r.top; y < r.bottom; ++y)
        for (LONG x = r.left; x < r.right; ++x)
          gb->aj[size_t(y - top) * rowBytes + size_t(x - left) / 8] |= BYTE(0x80 >> ((x - left) % 8));
  }
  t->images[c] = std::move(image);  // the bytes move with their buffer
  return reinterpret_cast<GLYPHDATA*>(t->images[c].bytes.data());
}

void PutName(std::vector<BYTE>* ifi, PTRDIFF* field, const WCHAR* name) {
  *field = PTRDIFF(ifi->size());
  size_t n = 0;
  while (name[n]) ++n;
  const BYTE* p = reinterpret_cast<const BYTE*>(name);
  ifi->insert(ifi->end(), p, p + 2 * (n + 1));
}

}  // namespace

void winsim::EngineForgetOutline(FONTOBJ* font) {
  std::unique_ptr<FontText> gone;
  {
    std::lock_guard<std::mutex> hold(g_lock);
    auto it = g_texts.find(font);
    if (it == g_texts.end()) return;
    gone = std::move(it->second);
    g_texts.erase(it);
  }
  for (auto& p : gone->paths) EngDeletePath(p.second);
}

WINSIM_API FONTOBJ* SimGdiCreateOutlineFont(const SimOutlineFontSpec* spec, const XFORML* transform) {
  if (!spec || !spec->family) return nullptr;
  const WCHAR* face = spec->face ? spec->face : spec->family;
  auto t = std::make_unique<FontText>();
  t->outline = true;
  t->fixedPitch = spec->fixedPitch != FALSE;
  t->m = transform ? *transform : XFORML{1, 0, 0, 1, 0, 0};
  t->ifi.assign(sizeof(IFIMETRICS), 0);
  PTRDIFF family = 0, faceAt = 0;
  PutName(&t->ifi, &family, spec->family);
  PutName(&t->ifi, &faceAt, face);
  IFIMETRICS* ifi = reinterpret_cast<IFIMETRICS*>(t->ifi.data());
  ifi->cjThis = ULONG(t->ifi.size());
  ifi->dpwszFamilyName = family;
  ifi->dpwszStyleName = family;
  ifi->dpwszFaceName = faceAt;
  ifi->dpwszUniqueName = faceAt;
  ifi->jWinCharSet = spec->charset;
  ifi->jWinPitchAndFamily = BYTE(spec->fixedPitch ? 0x31 : 0x22);  // fixed modern, variable swiss
  ifi->usWinWeight = USHORT(spec->weight ? spec->weight : 400);
  ifi->flInfo = spec->fixedPitch ? FM_INFO_CONSTANT_WIDTH : 0;
  ifi->fsType = spec->fsType;
  ifi->fwdUnitsPerEm = kEm;
  ifi->fwdWinAscender = kAscent;
  ifi->fwdWinDescender = kDescent;
  ifi->fwdAveCharWidth = FWORD(spec->fixedPitch ? 600 : 500);
  ifi->fwdMaxCharInc = FWORD(spec->fixedPitch ? 600 : 1000);
  ifi->wcFirstChar = 0x20;
  ifi->wcLastChar = 0xFFFD;
  ifi->wcDefaultChar = 0x3F;
  ifi->wcBreakChar = 0x20;
  ifi->rclFontBox = RECTL{0, kAscent, 1000, -kDescent};
  std::string key = "outline|";
  for (const WCHAR* n : {spec->family, face})
    for (size_t i = 0; n[i]; ++i) key += std::to_string(n[i]) + ",";
  key += "|" + std::to_string(spec->fixedPitch) + "|" + std::to_string(spec->fsType) + "|" +
         std::to_string(spec->charset) + "|" + std::to_string(spec->simulations);
  FONTOBJ* fo = winsim::EngineCreateFont(0, &t->m, key);
  if (!fo) return nullptr;
  fo->flFontType = spec->simulations & (FO_SIM_BOLD | FO_SIM_ITALIC);
  fo->cxMax = ULONG(lround(1000 * hypot(t->m.eM11, t->m.eM12)));
  std::lock_guard<std::mutex> hold(g_lock);
  g_texts[fo] = std::move(t);
  return fo;
}

WINSIM_API void SimGdiSetFontMetrics(FONTOBJ* font, IFIMETRICS* metrics) {
  if (!font) return;
  std::lock_guard<std::mutex> hold(g_lock);
  auto& t = g_texts[font];
  if (!t) t = std::make_unique<FontText>();
  t->deviceIfi = metrics;
}

WINSIM_API LONG SimGdiGlyphAdvance(FONTOBJ* font, WCHAR code) {
  std::lock_guard<std::mutex> hold(g_lock);
  FontText* t = TextOf(font);
  return t && t->outline ? Advance(t->fixedPitch, code) : 0;
}

WINSIM_API void SimGdiFailGlyphs(ULONG n) { g_failGlyphs = n; }

WINSIM_API IFIMETRICS* WINAPI FONTOBJ_pifi(FONTOBJ* font) {
  std::lock_guard<std::mutex> hold(g_lock);
  FontText* t = TextOf(font);
  if (!t) return nullptr;
  return t->outline ? reinterpret_cast<IFIMETRICS*>(t->ifi.data()) : t->deviceIfi;
}

WINSIM_API ULONG WINAPI FONTOBJ_cGetGlyphs(FONTOBJ* font, ULONG mode, ULONG cGlyph, HGLYPH* phg, PVOID* ppvGlyph) {
  if (cGlyph != 1 || !phg || !ppvGlyph) return 0;
  *ppvGlyph = nullptr;
  ULONG fail = g_failGlyphs.load();
  while (fail && !g_failGlyphs.compare_exchange_weak(fail, fail - 1)) {
  }
  if (fail) return 0;
  std::lock_guard<std::mutex> hold(g_lock);
  FontText* t = TextOf(font);
  if (!t || !t->outline || *phg > 0xFFFF) return 0;  // device fonts have no glyphs here
  WCHAR c = WCHAR(*phg);
  if (mode == FO_PATHOBJ) *ppvGlyph = GlyphPath(t, c);
  else if (mode == FO_GLYPHBITS) *ppvGlyph = GlyphBits(t, c);
  return *ppvGlyph ? 1 : 0;
}

WINSIM_API STROBJ* SimGdiCreateString(FONTOBJ* font, const SimStringSpec* spec) {
  if (!spec || (spec->count && !spec->text)) return nullptr;
  XFORML m = {1, 0, 0, 1, 0, 0};
  bool fixedPitch = false, outline = false;
  {
    std::lock_guard<std::mutex> hold(g_lock);
    if (FontText* t = TextOf(font)) m = t->m, fixedPitch = t->fixedPitch, outline = t->outline;
  }
  EngineString* s = new EngineString();
  s->text.assign(spec->text, spec->text + spec->count);
  s->text.push_back(0);
  s->positions.resize(spec->count);
  double penX = spec->origin.x, penY = spec->origin.y;
  RECTL box = {0, 0, 0, 0};
  for (ULONG i = 0; i < spec->count; ++i) {
    WCHAR c = spec->text[i];
    GLYPHPOS& g = s->positions[i];
    g.hg = c;
    g.ptl = spec->positions ? spec->positions[i] : POINTL{LONG(lround(penX)), LONG(lround(penY))};
    LONG adv = outline ? Advance(fixedPitch, c) : kEm;
    // The em box of the glyph around its origin, in device dots.
    const double corners[4][2] = {{0, -kAscent}, {double(adv), -kAscent}, {0, kDescent}, {double(adv), kDescent}};
    for (const auto& k : corners) {
      POINTFIX p = ToDevice(m, k[0], k[1]);
      LONG x = g.ptl.x + FloorDiv16(p.x), y = g.ptl.y + FloorDiv16(p.y);
      if (i == 0 && &k == &corners[0]) box = RECTL{x, y, x, y};
      box.left = std::min(box.left, x), box.top = std::min(box.top, y);
      box.right = std::max(box.right, x + 1), box.bottom = std::max(box.bottom, y + 1);
    }
    penX += adv * m.eM11, penY += adv * m.eM12;
  }
  s->so.cGlyphs = spec->count;
  s->so.flAccel = spec->accel;
  s->so.ulCharInc = spec->charInc;
  s->so.rclBkGround = box;
  s->so.pgp = spec->array ? s->positions.data() : nullptr;
  s->so.pwszOrg = s->text.data();
  s->batch = spec->array || !spec->batch ? spec->count : spec->batch;
  std::lock_guard<std::mutex> hold(g_lock);
  g_strings.insert(&s->so);
  return &s->so;
}

WINSIM_API void SimGdiDeleteString(STROBJ* str) {
  std::lock_guard<std::mutex> hold(g_lock);
  EngineString* s = StringOf(str);
  if (!s) return;
  g_strings.erase(str);
  delete s;
}

WINSIM_API VOID WINAPI STROBJ_vEnumStart(STROBJ* str) {
  std::lock_guard<std::mutex> hold(g_lock);
  if (EngineString* s = StringOf(str)) s->next = 0;
}

WINSIM_API BOOL WINAPI STROBJ_bEnum(STROBJ* str, ULONG* count, GLYPHPOS** pgp) {
  if (count) *count = 0;
  if (pgp) *pgp = nullptr;
  std::lock_guard<std::mutex> hold(g_lock);
  EngineString* s = StringOf(str);
  if (!s || !count || !pgp || s->next >= s->positions.size()) return FALSE;
  ULONG n = std::min<ULONG>(s->batch ? s->batch : 1, ULONG(s->positions.size()) - s->next);
  *count = n;
  *pgp = &s->positions[s->next];
  s->next += n;
  return s->next < s->positions.size();
}

WINSIM_API VOID WINAPI EngUnicodeToMultiByteN(LPSTR out, ULONG cbOut, PULONG cbWritten, PWSTR in, ULONG cbIn) {
  int n = 0;
  if (out && in && cbOut && cbIn >= 2)
    n = WideCharToMultiByte(CP_ACP, 0, in, int(cbIn / 2), out, int(cbOut), nullptr, nullptr);
  if (cbWritten) *cbWritten = ULONG(n > 0 ? n : 0);
}

// Draws into an engine bitmap: the opaque rectangle with its brush, each glyph's set pixels
// with the foreground brush, then the extra rectangles up to the first empty one, all through
// the clip. Simplified: every mix draws as a copy of the brush.
WINSIM_API BOOL WINAPI EngTextOut(SURFOBJ* so, STROBJ* str, FONTOBJ* font, CLIPOBJ* clip, RECTL* extra, RECTL* opaque,
                                  BRUSHOBJ* fore, BRUSHOBJ* opaqueBrush, POINTL* org, MIX) {
  WINSIM_SIMPLIFIED("EngTextOut", "every mix draws as a copy of the brush");
  if (!so || !so->pvScan0 || !str || !font) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const RECTL page = {0, 0, so->sizlBitmap.cx, so->sizlBitmap.cy};
  const ROP4 copy = 0xF0F0;
  auto fill = [&](const RECTL& r, BRUSHOBJ* brush) {
    for (const RECTL& c : winsim::EngineClipRects(clip, page)) {
      LONG l = std::max(r.left, c.left), t = std::max(r.top, c.top), rr = std::min(r.right, c.right),
           b = std::min(r.bottom, c.bottom);
      for (LONG y = t; y < b; ++y)
        if (l < rr) winsim::EngineFillSpan(so, y, l, rr, brush, org, copy);
    }
  };
  if (opaque && opaqueBrush && opaque->left < opaque->right && opaque->top < opaque->bottom) fill(*opaque, opaqueBrush);
  STROBJ_vEnumStart(str);
  BOOL more = TRUE;
  bool any = false;
  while (more) {
    ULONG n = 0;
    GLYPHPOS* gp = nullptr;
    more = STROBJ_bEnum(str, &n, &gp);
    if (!gp && str->pgp && !any) gp = str->pgp, n = str->cGlyphs, more = FALSE;
    any = true;
    for (ULONG i = 0; gp && i < n; ++i) {
      HGLYPH hg = gp[i].hg;
      GLYPHDATA* gd = nullptr;
      if (FONTOBJ_cGetGlyphs(font, FO_GLYPHBITS, 1, &hg, reinterpret_cast<PVOID*>(&gd)) != 1 || !gd) return FALSE;
      const GLYPHBITS* gb = gd->gdf.pgb;
      LONG cx = gb->sizlBitmap.cx, cy = gb->sizlBitmap.cy, rowBytes = (cx + 7) / 8;
      for (LONG y = 0; y < cy; ++y) {
        for (LONG x = 0; x < cx;) {
          if (!(gb->aj[y * rowBytes + x / 8] & (0x80 >> (x % 8)))) {
            ++x;
            continue;
          }
          LONG run = x;
          while (run < cx && (gb->aj[y * rowBytes + run / 8] & (0x80 >> (run % 8)))) ++run;
          LONG px = gp[i].ptl.x + gb->ptlOrigin.x, py = gp[i].ptl.y + gb->ptlOrigin.y + y;
          fill(RECTL{px + x, py, px + run, py + 1}, fore);
          x = run;
        }
      }
    }
  }
  for (RECTL* r = extra; r && r->left != r->right && r->top != r->bottom; ++r) fill(*r, fore);
  return TRUE;
}
