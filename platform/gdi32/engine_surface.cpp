// Engine surfaces: bitmaps whose bits the engine keeps (or the caller lends), device
// surfaces the driver manages, their association with a device and its hooks, and the
// palettes a driver makes for DEVINFO.
#include <string.h>

#include <map>
#include <memory>
#include <mutex>
#include <new>

#include "platform/gdi32/engine_internal.h"
#include "platform/sim.h"
#include "platform/sim/internal.h"
#include "platform/sim_gdi.h"

namespace {

// One band or page of a bitmap may not exceed this: a larger request is refused as memory
// that cannot be had, never a wrapped size.
constexpr uint64_t kMaxBitmapBytes = 256ull << 20;

struct Palette {
  ULONG mode = 0;
  std::vector<ULONG> colours;
};

std::mutex g_lock;
std::map<uintptr_t, std::unique_ptr<winsim::EngineSurface>> g_surfaces;
std::map<uintptr_t, Palette> g_palettes;
std::map<uintptr_t, DHPDEV> g_devices;
uintptr_t g_nextHandle = 0x1000;
// The test control of EngCreateBitmap (SimGdiLimitBitmaps).
uint64_t g_bitmapMaxBytes = 0;
LONG g_bitmapCallsLeft = -1;

uintptr_t NewHandle() {
  g_nextHandle += 4;
  return g_nextHandle;
}

void ForgetAll() {
  std::lock_guard<std::mutex> hold(g_lock);
  g_surfaces.clear();
  g_palettes.clear();
  g_devices.clear();
  g_bitmapMaxBytes = 0;
  g_bitmapCallsLeft = -1;
}

struct ResetRegistration {
  ResetRegistration() { winsim::RegisterResetHook(ForgetAll); }
} g_resetRegistration;

HSURF AddSurface(std::unique_ptr<winsim::EngineSurface> surface) {
  std::lock_guard<std::mutex> hold(g_lock);
  uintptr_t handle = NewHandle();
  surface->so.hsurf = reinterpret_cast<HSURF>(handle);
  g_surfaces[handle] = std::move(surface);
  return reinterpret_cast<HSURF>(handle);
}

}  // namespace

namespace winsim {

ULONG EngineBitsPerPixel(ULONG format) {
  switch (format) {
    case BMF_1BPP:
      return 1;
    case BMF_4BPP:
      return 4;
    case BMF_8BPP:
      return 8;
    case BMF_16BPP:
      return 16;
    case BMF_24BPP:
      return 24;
    case BMF_32BPP:
      return 32;
  }
  return 0;
}

EngineSurface* EngineFindSurface(HSURF surface) {
  std::lock_guard<std::mutex> hold(g_lock);
  auto it = g_surfaces.find(reinterpret_cast<uintptr_t>(surface));
  return it == g_surfaces.end() ? nullptr : it->second.get();
}

EngineSurface* EngineSurfaceOf(const SURFOBJ* so) {
  if (!so) return nullptr;
  EngineSurface* s = EngineFindSurface(so->hsurf);
  return s && &s->so == so ? s : nullptr;
}

DHPDEV EngineDevicePdev(HDEV hdev) {
  std::lock_guard<std::mutex> hold(g_lock);
  auto it = g_devices.find(reinterpret_cast<uintptr_t>(hdev));
  return it == g_devices.end() ? nullptr : it->second;
}

}  // namespace winsim

WINSIM_API HBITMAP WINAPI EngCreateBitmap(SIZEL size, LONG stride, ULONG format, FLONG flags, PVOID bits) {
  ULONG bpp = winsim::EngineBitsPerPixel(format);
  if (!bpp || size.cx <= 0 || size.cy <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  uint64_t minStride = ((uint64_t(size.cx) * bpp + 31) / 32) * 4;
  uint64_t rowBytes = stride ? uint64_t(stride < 0 ? -int64_t(stride) : stride) : minStride;
  if (rowBytes < (uint64_t(size.cx) * bpp + 7) / 8 || rowBytes * uint64_t(size.cy) > kMaxBitmapBytes) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  {
    std::lock_guard<std::mutex> hold(g_lock);
    if ((g_bitmapMaxBytes && rowBytes * uint64_t(size.cy) > g_bitmapMaxBytes) || g_bitmapCallsLeft == 0) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
    if (g_bitmapCallsLeft > 0) --g_bitmapCallsLeft;
  }
  auto surface = std::make_unique<winsim::EngineSurface>();
  BYTE* base = static_cast<BYTE*>(bits);
  if (!base) {
    // Engine-allocated bits start zeroed unless the caller says it will fill them.
    try {
      surface->owned.assign(size_t(rowBytes * uint64_t(size.cy)), 0);
    } catch (const std::bad_alloc&) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
    base = surface->owned.data();
  }
  SURFOBJ& so = surface->so;
  so.sizlBitmap = size;
  so.cjBits = ULONG(rowBytes * uint64_t(size.cy));
  so.pvBits = base;
  so.iBitmapFormat = format;
  so.iType = STYPE_BITMAP;
  so.fjBitmap = USHORT(flags & (BMF_TOPDOWN | BMF_NOZEROINIT | BMF_DONTCACHE));
  if (flags & BMF_TOPDOWN) {
    so.pvScan0 = base;
    so.lDelta = LONG(rowBytes);
  } else {
    so.pvScan0 = base + (size.cy - 1) * rowBytes;
    so.lDelta = -LONG(rowBytes);
  }
  so.iUniq = 1;
  return reinterpret_cast<HBITMAP>(AddSurface(std::move(surface)));
}

WINSIM_API HSURF WINAPI EngCreateDeviceSurface(DHSURF dhsurf, SIZEL size, ULONG format) {
  if (!winsim::EngineBitsPerPixel(format) || size.cx < 0 || size.cy < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto surface = std::make_unique<winsim::EngineSurface>();
  surface->so.dhsurf = dhsurf;
  surface->so.sizlBitmap = size;
  surface->so.iBitmapFormat = format;
  surface->so.iType = STYPE_DEVICE;
  return AddSurface(std::move(surface));
}

WINSIM_API BOOL WINAPI EngAssociateSurface(HSURF handle, HDEV hdev, FLONG hooks) {
  winsim::EngineSurface* s = winsim::EngineFindSurface(handle);
  DHPDEV pdev = winsim::EngineDevicePdev(hdev);
  if (!s || !hdev) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  s->so.hdev = hdev;
  s->so.dhpdev = pdev;
  s->hooks = hooks;
  s->associated = true;
  return TRUE;
}

WINSIM_API BOOL WINAPI EngMarkBandingSurface(HSURF handle) {
  winsim::EngineSurface* s = winsim::EngineFindSurface(handle);
  if (!s || s->so.iType != STYPE_BITMAP) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  s->banding = true;
  return TRUE;
}

WINSIM_API SURFOBJ* WINAPI EngLockSurface(HSURF handle) {
  winsim::EngineSurface* s = winsim::EngineFindSurface(handle);
  if (!s) return nullptr;
  ++s->locks;
  return &s->so;
}

WINSIM_API VOID WINAPI EngUnlockSurface(SURFOBJ* so) {
  winsim::EngineSurface* s = winsim::EngineSurfaceOf(so);
  if (s && s->locks > 0) --s->locks;
}

WINSIM_API BOOL WINAPI EngDeleteSurface(HSURF handle) {
  std::lock_guard<std::mutex> hold(g_lock);
  auto it = g_surfaces.find(reinterpret_cast<uintptr_t>(handle));
  if (it == g_surfaces.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  g_surfaces.erase(it);
  return TRUE;
}

WINSIM_API HPALETTE WINAPI EngCreatePalette(ULONG mode, ULONG cColors, ULONG* colors, FLONG, FLONG, FLONG) {
  if (mode != PAL_INDEXED && mode != PAL_BGR && mode != 2 /* PAL_BITFIELDS */ && mode != 4 /* PAL_RGB */) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (mode == PAL_INDEXED && (cColors == 0 || cColors > 65536 || !colors)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  // A palette is a machine allocation, so a heap that has run out refuses it too.
  HGLOBAL probe = GlobalAlloc(GMEM_FIXED, 4 + 4 * (mode == PAL_INDEXED ? cColors : 0));
  if (!probe) return nullptr;
  GlobalFree(probe);
  Palette p;
  p.mode = mode;
  if (mode == PAL_INDEXED) p.colours.assign(colors, colors + cColors);
  std::lock_guard<std::mutex> hold(g_lock);
  uintptr_t handle = NewHandle();
  g_palettes[handle] = std::move(p);
  return reinterpret_cast<HPALETTE>(handle);
}

WINSIM_API BOOL WINAPI EngDeletePalette(HPALETTE palette) {
  std::lock_guard<std::mutex> hold(g_lock);
  if (!g_palettes.erase(reinterpret_cast<uintptr_t>(palette))) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

// ---- machine controls ----

HDEV SimGdiCreateDevice(void) {
  std::lock_guard<std::mutex> hold(g_lock);
  uintptr_t handle = NewHandle();
  g_devices[handle] = nullptr;
  return reinterpret_cast<HDEV>(handle);
}

void SimGdiBindDevice(HDEV hdev, DHPDEV pdev) {
  std::lock_guard<std::mutex> hold(g_lock);
  auto it = g_devices.find(reinterpret_cast<uintptr_t>(hdev));
  if (it != g_devices.end()) it->second = pdev;
}

void SimGdiDeleteDevice(HDEV hdev) {
  std::lock_guard<std::mutex> hold(g_lock);
  g_devices.erase(reinterpret_cast<uintptr_t>(hdev));
}

BOOL SimGdiGetSurfaceInfo(HSURF handle, SimGdiSurfaceInfo* info) {
  winsim::EngineSurface* s = winsim::EngineFindSurface(handle);
  if (!s || !info) return FALSE;
  info->type = s->so.iType;
  info->format = s->so.iBitmapFormat;
  info->width = s->so.sizlBitmap.cx;
  info->height = s->so.sizlBitmap.cy;
  info->stride = s->so.lDelta;
  info->hooks = s->hooks;
  info->banding = s->banding;
  info->associated = s->associated;
  info->hdev = s->so.hdev;
  return TRUE;
}

BOOL SimGdiGetPalette(HPALETTE palette, ULONG* mode, ULONG* colours, ULONG cMax, ULONG* count) {
  std::lock_guard<std::mutex> hold(g_lock);
  auto it = g_palettes.find(reinterpret_cast<uintptr_t>(palette));
  if (it == g_palettes.end()) return FALSE;
  if (mode) *mode = it->second.mode;
  if (count) *count = ULONG(it->second.colours.size());
  for (ULONG i = 0; colours && i < cMax && i < it->second.colours.size(); ++i) colours[i] = it->second.colours[i];
  return TRUE;
}

void SimGdiLimitBitmaps(ULONG maxBytes, LONG allowedCalls) {
  std::lock_guard<std::mutex> hold(g_lock);
  g_bitmapMaxBytes = maxBytes;
  g_bitmapCallsLeft = allowedCalls < 0 ? -1 : allowedCalls;
}

DWORD SimGdiLiveObjects(void) {
  std::lock_guard<std::mutex> hold(g_lock);
  return DWORD(g_surfaces.size() + g_palettes.size());
}
