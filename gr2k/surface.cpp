// The drawing surface of a PDEV: in raster mode an engine bitmap one band high that GDI
// renders band by band, in vector mode a device surface whose drawing calls the driver hooks.
#include "gr2k/ddi_functions.h"
#include "gr2k/pdev.h"

namespace {

// Bytes of one 1-bpp band: about 300 KB, so a 24-bpp band of the same height is 24 times that.
constexpr LONG kBandBytes = 307200;

ULONG SurfaceFormat(const GraphicsPdev* pdev) {
  bool mono = PdevIsMonochrome(pdev) && (pdev->rasterMode || pdev->oneBppSurface);
  return mono ? BMF_1BPP : BMF_24BPP;
}

LONG BitsPerPixel(ULONG format) { return format == BMF_1BPP ? 1 : 24; }

}  // namespace

LONG SurfaceBandHeight(LONG width, LONG height) {
  LONG rowBytes = ((width + 31) / 32) * 4;
  LONG band = (kBandBytes / rowBytes / 32 + 1) * 32;
  return band < height ? band : height;
}

ZEMS_EXPORT HSURF WINAPI DrvEnableSurface(DHPDEV dhpdev) {
  if (!PdevIsValid(dhpdev)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  GraphicsPdev* pdev = reinterpret_cast<GraphicsPdev*>(dhpdev);
  LONG width = pdev->bandSurfaceSize.cx;
  LONG height = pdev->bandSurfaceSize.cy;
  ULONG format = SurfaceFormat(pdev);
  HSURF surface = nullptr;
  FLONG hooks = 0;
  if (pdev->rasterMode) {
    if (width <= 0 || height <= 0) return nullptr;
    SIZEL band = {width, SurfaceBandHeight(width, height)};
    LONG stride = ((width * BitsPerPixel(format) + 7) / 8 + 3) & ~3L;
    surface = reinterpret_cast<HSURF>(EngCreateBitmap(band, stride, format, BMF_TOPDOWN, nullptr));
    if (!surface) return nullptr;
    if (!EngMarkBandingSurface(surface)) {
      EngDeleteSurface(surface);
      return nullptr;
    }
    hooks = HOOK_BITBLT | HOOK_STRETCHBLT | HOOK_TEXTOUT;
  } else {
    SIZEL page = {width, height};
    surface = EngCreateDeviceSurface(reinterpret_cast<DHSURF>(pdev), page, format);
    if (!surface) return nullptr;
    hooks = HOOK_BITBLT | HOOK_STRETCHBLT | HOOK_TEXTOUT | HOOK_STROKEPATH | HOOK_FILLPATH | HOOK_STROKEANDFILLPATH |
            HOOK_COPYBITS;
    if (!pdev->noStretchBltRopHook) hooks |= HOOK_STRETCHBLTROP;
  }
  if (!EngAssociateSurface(surface, pdev->hdev, hooks)) {
    EngDeleteSurface(surface);
    return nullptr;
  }
  pdev->surface = surface;
  return surface;
}

ZEMS_EXPORT VOID WINAPI DrvDisableSurface(DHPDEV dhpdev) {
  // GDI does not look at an error here, so none is set.
  if (!PdevIsValid(dhpdev)) return;
  GraphicsPdev* pdev = reinterpret_cast<GraphicsPdev*>(dhpdev);
  if (pdev->surface) EngDeleteSurface(pdev->surface);
  pdev->surface = nullptr;
}
