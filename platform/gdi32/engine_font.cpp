// The engine's font services for a driver with device fonts: the resources of the driver's
// module (EngFindResource), the realised font objects the engine hands to the driver's font
// queries, and their notional-to-device transforms.
#include <math.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/sim/internal.h"
#include "platform/sim/trace.h"
#include "platform/gdi32/engine_internal.h"
#include "platform/sim_gdi.h"

namespace {

struct EngineFont {
  FONTOBJ fo = {};
  XFORMOBJ* xo = nullptr;  // an engine transform object, so XFORMOBJ_iGetXform reads it
  XFORML m = {};
};

std::mutex g_lock;
std::map<const void*, std::unique_ptr<EngineFont>> g_fonts;  // by their FONTOBJ
// iUniq per font and size: a face realised again with the same transform is the same font.
std::map<std::string, ULONG> g_uniqs;
ULONG g_nextUniq = 1;
DWORD g_resourceLookups = 0;

void ForgetAll() {
  std::lock_guard<std::mutex> hold(g_lock);
  for (auto& f : g_fonts) SimGdiDeleteXform(f.second->xo);
  g_fonts.clear();
  g_uniqs.clear();
  g_nextUniq = 1;
  g_resourceLookups = 0;
}

struct ResetRegistration {
  ResetRegistration() { winsim::RegisterResetHook(ForgetAll); }
} g_resetRegistration;

// The font whose transform object this is, or null.
const EngineFont* FontOfXform(const XFORMOBJ* xo) {
  for (const auto& f : g_fonts)
    if (f.second->xo == xo) return f.second.get();
  return nullptr;
}

LONG Round(double v) { return LONG(lround(v)); }

}  // namespace

FONTOBJ* winsim::EngineCreateFont(ULONG face, const XFORML* transform, const std::string& key) {
  auto font = std::make_unique<EngineFont>();
  font->fo.iFace = face;
  font->m = transform ? *transform : XFORML{1, 0, 0, 1, 0, 0};
  font->xo = SimGdiCreateXform(&font->m);
  if (!font->xo) return nullptr;
  std::string uniqKey = key + '|' + std::to_string(face) + '|' +
                        std::string(reinterpret_cast<const char*>(&font->m), sizeof font->m);
  std::lock_guard<std::mutex> hold(g_lock);
  auto known = g_uniqs.find(uniqKey);
  font->fo.iUniq = known != g_uniqs.end() ? known->second : (g_uniqs[uniqKey] = g_nextUniq++);
  FONTOBJ* fo = &font->fo;
  g_fonts[fo] = std::move(font);
  return fo;
}

WINSIM_API FONTOBJ* SimGdiCreateFont(ULONG face, const XFORML* transform) {
  return winsim::EngineCreateFont(face, transform, "device");
}

WINSIM_API void SimGdiDeleteFont(FONTOBJ* font) {
  XFORMOBJ* xo = nullptr;
  {
    std::lock_guard<std::mutex> hold(g_lock);
    auto it = g_fonts.find(font);
    if (it == g_fonts.end()) return;
    xo = it->second->xo;
    g_fonts.erase(it);
  }
  SimGdiDeleteXform(xo);
  winsim::EngineForgetOutline(font);
}

WINSIM_API DWORD SimGdiResourceLookups(void) {
  std::lock_guard<std::mutex> hold(g_lock);
  return g_resourceLookups;
}

WINSIM_API PVOID WINAPI EngFindResource(HANDLE module, int name, int type, PULONG size) {
  {
    std::lock_guard<std::mutex> hold(g_lock);
    ++g_resourceLookups;
  }
  if (size) *size = 0;
  HMODULE h = static_cast<HMODULE>(module);
  HRSRC found = FindResourceW(h, MAKEINTRESOURCEW(name), MAKEINTRESOURCEW(type));
  HGLOBAL loaded = found ? LoadResource(h, found) : nullptr;
  PVOID bytes = loaded ? LockResource(loaded) : nullptr;
  if (bytes && size) *size = SizeofResource(h, found);
  return bytes;
}

WINSIM_API XFORMOBJ* WINAPI FONTOBJ_pxoGetXform(FONTOBJ* font) {
  std::lock_guard<std::mutex> hold(g_lock);
  auto it = g_fonts.find(font);
  return it == g_fonts.end() ? nullptr : it->second->xo;
}

// Simplified: the products are rounded to the nearest integer in double precision (the
// engine's own rounding of its fixed-point arithmetic is not copied).
WINSIM_API BOOL WINAPI XFORMOBJ_bApplyXform(XFORMOBJ* xform, ULONG mode, ULONG cPoints, PVOID in, PVOID out) {
  WINSIM_SIMPLIFIED("XFORMOBJ_bApplyXform", "rounds in double precision to the nearest integer");
  XFORML m;
  {
    std::lock_guard<std::mutex> hold(g_lock);
    const EngineFont* font = FontOfXform(xform);
    if (!font || mode > XF_INV_FXTOL || (cPoints && (!in || !out))) return FALSE;
    m = font->m;
  }
  double a = m.eM11, b = m.eM12, c = m.eM21, d = m.eM22, dx = m.eDx, dy = m.eDy;
  bool inverse = mode == XF_INV_LTOL || mode == XF_INV_FXTOL;
  if (inverse) {
    double det = a * d - b * c;
    if (det == 0) return FALSE;
    double ia = d / det, ib = -b / det, ic = -c / det, id = a / det;
    double idx = -(dx * ia + dy * ic), idy = -(dx * ib + dy * id);
    a = ia, b = ib, c = ic, d = id, dx = idx, dy = idy;
  }
  const LONG* src = static_cast<const LONG*>(in);
  LONG* dst = static_cast<LONG*>(out);
  double inScale = mode == XF_INV_FXTOL ? 1.0 / 16 : 1.0;
  double outScale = mode == XF_LTOFX ? 16.0 : 1.0;
  for (ULONG i = 0; i < cPoints; ++i) {
    double x = src[2 * i] * inScale, y = src[2 * i + 1] * inScale;
    double tx = x * a + y * c + dx, ty = x * b + y * d + dy;
    tx *= outScale, ty *= outScale;
    if (!(fabs(tx) < 2147483647.0 && fabs(ty) < 2147483647.0)) return FALSE;  // beyond 32 bits
    dst[2 * i] = Round(tx);
    dst[2 * i + 1] = Round(ty);
  }
  return TRUE;
}
