// Drawing the palette pictures of the resource DLLs and .bmp files: which picture, where and
// with which flags, the buffering state and the colour adjustment. The pixels are drawn by
// image_render_*.cpp.
#include "core/front/image_draw.h"

#include "core/common/draw_ui.h"
#include "core/common/window_ui.h"
#include "core/context/ui_state.h"
#include "core/front/draw_helpers.h"
#include "core/front/image_render.h"
#include "core/front/picture_parts.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/system/resources.h"

namespace {

LONG Clamp(LONG v) { return v < 0 ? 0 : v > 255 ? 255 : v; }
LONG Positive(LONG v) { return v < 0 ? 0 : v; }

// The lightness and saturation curve: k = (3 p - 150) / 2 lifts values up to 128 by (k + 128) /
// 128 and pulls those above towards 255.
LONG Curve(LONG x, LONG parameter) {
  const LONG k = (3 * parameter - 150) / 2;
  return x <= 128 ? x * (k + 128) / 128 : ((128 - k) * x + 255 * k) / 128;
}

COLORREF g_palette[256];

DlgDrawState* DrawState(DriverContext* ctx) { return ctx && ctx->ui ? &ctx->ui->dialog.draw : nullptr; }

// Drawing into the buffer when one is under way: made on the first draw from the target; the
// rectangle and the anchor move with the rectangle to the buffer's origin.
HDC BufferTarget(DlgDrawState* draw, HDC dc, RECT* rect, POINT* at) {
  if (draw->buffering && !draw->memoryDc) ImgMakeBuffer(draw, dc, rect);
  if (!draw->memoryDc) return dc;
  at->x -= rect->left;
  at->y -= rect->top;
  rect->right -= rect->left;
  rect->bottom -= rect->top;
  rect->left = rect->top = 0;
  return draw->memoryDc;
}

// The six parameters of the drawing state, or the neutral ones.
const LONG* Parameters(const DlgDrawState* draw) {
  static const LONG kNeutral[6] = {50, 50, 50, 50, 50, 50};
  return draw ? draw->colourAdjust : kNeutral;
}

BOOL Monochrome(DriverContext* ctx) { return ItemGetRawById(ctx, kItem_zdmMachineTypeColor) == 0; }

struct LoadedPicture {
  HBITMAP bitmap = NULL;
  LONG width = 0;
  LONG height = 0;
  WORD bits = 0;
  UINT id = 0;
  HMODULE module = NULL;
  BOOL file = FALSE;
};

// A job for a loaded picture with the drawing state's adjustment and background.
ImgRenderJob JobFor(const DlgDrawState* draw, const LoadedPicture& loaded) {
  ImgRenderJob job = {};
  job.bitmap = loaded.bitmap;
  job.width = loaded.width;
  job.height = loaded.height;
  job.bitsPerPixel = loaded.bits;
  job.pictureId = loaded.id;
  job.module = loaded.module;
  job.file = loaded.file;
  job.adjust = Parameters(draw);
  job.background = draw->background;
  return job;
}

bool LoadResourcePicture(DriverContext* ctx, UINT id, LoadedPicture* out) {
  out->bitmap = ResLoadBitmap(ctx, id);
  out->id = id;
  out->module = ResBitmapDllOf(id) == 1 ? ctx->commonDll : ctx->languageDll;
  if (out->bitmap && DuiBitmapSize(out->bitmap, &out->width, &out->height, &out->bits)) return true;
  DuiDeleteBitmap(out->bitmap);
  out->bitmap = NULL;
  return false;
}

}  // namespace

COLORREF ImgAdjustColour(const LONG params[6], COLORREF colour, BOOL grey) {
  const LONG L = params[0], C = params[1], S = params[2];
  // Neutral parameters keep the colour, unless it is to become grey.
  if (!grey && L == 50 && C == 50 && S == 50 && params[3] == 50 && params[4] == 50 && params[5] == 50)
    return colour;
  LONG r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
  LONG y = (30 * r + 59 * g + 11 * b) / 100;
  if (L != 50 || S != 50) {
    LONG cr = r - y, cb = b - y;
    if (L != 50) {
      const LONG k = (3 * L - 150) / 2;
      y = y > 128 ? ((128 - k) * y + 255 * k) / 128 : y * (k + 128) / 128;
    }
    if (S != 50) {
      cr = Curve(cr, S);
      cb = Curve(cb, S);
    }
    r = Positive(y + cr);
    g = Positive(y - 30 * cr / 59 - 11 * cb / 59);
    b = Positive(y + cb);
  }
  if (grey) {
    r = g = b = y;
  } else {
    r += params[3] - 50;
    g += params[4] - 50;
    b += params[5] - 50;
  }
  if (C != 50) {
    const LONG m = 2 * C + 156, t = C + 50;
    r = m * r / 256 - t + 100;
    g = m * g / 256 - t + 100;
    b = m * b / 256 - t + 100;
  }
  return RGB(Clamp(r), Clamp(g), Clamp(b));
}

COLORREF ResAdjustColour(DriverContext* ctx, COLORREF colour, BOOL grey) {
  return ImgAdjustColour(Parameters(DrawState(ctx)), colour, grey);
}

BOOL ImgUseTheme(const ImgThemeFacts* facts) {
  return facts && facts->drawCallFound && facts->themeOpened && facts->backgroundMade && !facts->noTheme &&
         !facts->modalPage && facts->themeActive && facts->comctlVersion >= 600 &&
         facts->background == facts->buttonFace;
}

POINT ImgPlaceAnchor(const RECT* rect, POINT at, DWORD flags) {
  const LONG width = rect ? rect->right - rect->left : 0, height = rect ? rect->bottom - rect->top : 0;
  if (flags & kImgRight) at.x += width;
  else if (flags & kImgCentreX) at.x += width / 2;
  if (flags & kImgBottom) at.y += height;
  else if (flags & kImgCentreY) at.y += height / 2;
  return at;
}

POINT ImgAlignPicture(POINT anchor, LONG width, LONG height, DWORD flags) {
  if (flags & kImgRight) anchor.x -= width;
  else if (flags & kImgCentreX) anchor.x -= width / 2;
  if (flags & kImgBottom) anchor.y -= height;
  else if (flags & kImgCentreY) anchor.y -= height / 2;
  return anchor;
}

const COLORREF* ImgDisplayPaletteEntries() { return g_palette; }

BOOL ImgStorePaletteEntry(int index, COLORREF colour) {
  if (index < 0 || index > 255) return FALSE;
  g_palette[index] = colour;
  return TRUE;
}

LONG_PTR ResBuildDisplayPalette(HDC dc, int index, COLORREF colour) {
  const BOOL palette = ImgDisplayUsesPalette();
  if (!dc) return palette ? 1 : 0;
  if (!palette) return 0;
  if (index >= 0) {
    ImgStorePaletteEntry(index, colour);
    return 0;
  }
  return reinterpret_cast<LONG_PTR>(ImgRealisePalette(dc, g_palette));
}

UINT ResGetComctlVersion() {
  struct VersionInfo {  // DLLVERSIONINFO
    DWORD size, major, minor, build, platform;
  };
  static_assert(sizeof(VersionInfo) == 20, "the version record is 20 bytes");
  typedef HRESULT(CALLBACK * GetVersion)(VersionInfo*);
  HMODULE library = LoadLibraryW(TEXT("comctl32.dll"));
  if (!library) return 0;
  UINT version = 0;
  GetVersion call = reinterpret_cast<GetVersion>(reinterpret_cast<void*>(GetProcAddress(library, "DllGetVersion")));
  VersionInfo info = {sizeof(VersionInfo), 0, 0, 0, 0};
  if (call && call(&info) >= 0) version = info.major * 100 + info.minor;
  FreeLibrary(library);
  return version;
}

ImgWindowPlan ImgPlanWindowDraw(const PicturePartRow* row, const RECT* client, const RECT* rect, DWORD flags,
                                LONG pictureWidth, LONG pictureHeight) {
  ImgWindowPlan plan = {};
  if (client) {
    plan.target = *client;
  } else {
    if (rect) plan.target = *rect;
    flags |= kImgCentreX | kImgCentreY;
  }
  if (row) flags |= row->flags;
  if ((flags & kImgStretch) && pictureWidth > 0 && pictureHeight > 0)
    plan.target = RECT{0, 0, pictureWidth, pictureHeight};
  // The anchor starts at the target's top-left (a list item's rectangle lies anywhere in its
  // DC), moved by the row's offsets.
  plan.at.x = plan.target.left + (row ? row->x : 0);
  plan.at.y = plan.target.top + (row ? row->y : 0);
  plan.at = ImgPlaceAnchor(&plan.target, plan.at, flags);
  plan.pictureFlags = flags;
  if (row && row->kind == 3) {
    plan.setBackground = TRUE;
    plan.background = row->colour;
  }
  if (row && row->basePictureId) {
    const bool onBase = (flags & kImgOnBase) != 0;
    plan.baseId = row->basePictureId;
    plan.baseFlags = flags | (onBase ? kImgAnd : kImgMergePaint);
    plan.pictureFlags = flags | (onBase ? kImgNoTheme : (kImgAnd | kImgNoTheme));
  }
  return plan;
}

void ResDrawImageInWindow(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, HWND window,
                          const RECT* rect, UINT pictureId, DWORD flags, BOOL noTheme) {
  DlgDrawState* draw = DrawState(ctx);
  if (!draw) return;
  const COLORREF saved = draw->background;
  RECT client = {0, 0, 0, 0};
  if (window) WuiGetClientRect(window, &client);
  const PicturePartRow* row = TblFindPicturePart(static_cast<WORD>(pictureId));
  LoadedPicture picture;
  if (((flags | (row ? row->flags : 0)) & kImgStretch) && LoadResourcePicture(ctx, pictureId, &picture))
    DuiDeleteBitmap(picture.bitmap);
  const ImgWindowPlan plan =
      ImgPlanWindowDraw(row, window ? &client : nullptr, rect, flags, picture.width, picture.height);
  HDC dc = UiGetControlDc(ctx, window);
  if (!dc) return;
  RECT target = plan.target;
  if (plan.setBackground) draw->background = plan.background;
  if (plan.baseId)
    ResDrawImage(ctx, page, control, dc, &target, plan.at.x, plan.at.y, MAKEINTRESOURCEW(plan.baseId),
                 plan.baseFlags, noTheme);
  if (draw->adjustedColours) {
    ResDrawImageAdjusted(ctx, dc, &target, plan.at.x, plan.at.y, pictureId, plan.pictureFlags);
    draw->adjustedColours = 0;
  } else {
    ResDrawImage(ctx, page, control, dc, &target, plan.at.x, plan.at.y, MAKEINTRESOURCEW(pictureId),
                 plan.pictureFlags, noTheme);
  }
  UiReleaseControlDc(ctx, window, dc);
  draw->background = saved;
}

void ResDrawImage(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, HDC dc, const RECT* rect,
                  int x, int y, LPCWSTR picture, DWORD flags, BOOL noTheme) {
  DlgDrawState* draw = DrawState(ctx);
  if (!draw || !dc) return;
  RECT r = rect ? *rect : RECT{0, 0, 0, 0};
  POINT at = {x, y};
  LoadedPicture loaded;
  const UINT_PTR id = reinterpret_cast<UINT_PTR>(picture);
  if (id == 0) {
    loaded.bitmap = draw->preparedBitmap;
    draw->preparedBitmap = NULL;
    loaded.file = TRUE;
    flags |= kImgCentreX | kImgCentreY;
    at = ImgPlaceAnchor(&r, POINT{r.left, r.top}, flags);
    if (!DuiBitmapSize(loaded.bitmap, &loaded.width, &loaded.height, &loaded.bits)) {
      DuiDeleteBitmap(loaded.bitmap);
      return;
    }
  } else if (id < 0x10000) {
    if (!LoadResourcePicture(ctx, static_cast<UINT>(id), &loaded)) return;
  } else {
    loaded.file = picture[0] && picture[1] == u':';
    loaded.bitmap = loaded.file ? ResLoadBmpFile(picture, nullptr, nullptr) : ResLoadCommonBitmapByName(ctx, picture);
    if (!DuiBitmapSize(loaded.bitmap, &loaded.width, &loaded.height, &loaded.bits)) {
      DuiDeleteBitmap(loaded.bitmap);
      return;
    }
  }
  ImgRenderJob job = JobFor(draw, loaded);
  job.target = BufferTarget(draw, dc, &r, &at);
  job.noTheme = noTheme;
  job.modalPage = page && page->modal;
  job.pageWindow = page ? page->window : NULL;
  job.controlWindow = control ? control->window : NULL;
  if (flags & kImgStretch) {
    job.rect = r;
    job.at = POINT{r.left, r.top};
    job.flags = flags;
    if (loaded.file) {
      ImgRender(&job, kImgRenderStretch);
    } else {
      job.grey = Monochrome(ctx);
      ImgRender(&job, kImgRenderNatural);
      draw->stretched = 1;
      draw->imageWidth = loaded.width;
      draw->imageHeight = loaded.height;
    }
    DuiDeleteBitmap(loaded.bitmap);
    return;
  }
  if (draw->stretched) {
    r.right = r.left + draw->imageWidth;
    r.bottom = r.top + draw->imageHeight;
  }
  job.rect = r;
  job.at = ImgAlignPicture(at, loaded.width, loaded.height, flags);
  job.flags = flags;
  ImgRender(&job, kImgRenderKeyed);
  DuiDeleteBitmap(loaded.bitmap);
}

void ResDrawImageAdjusted(DriverContext* ctx, HDC dc, const RECT* rect, int x, int y, UINT pictureId, DWORD flags) {
  DlgDrawState* draw = DrawState(ctx);
  if (!draw || !dc || flags == 0) return;
  LoadedPicture loaded;
  if (!LoadResourcePicture(ctx, pictureId, &loaded)) return;
  RECT r = rect ? *rect : RECT{0, 0, 0, 0};
  POINT at = {x, y};
  ImgRenderJob job = JobFor(draw, loaded);
  job.target = BufferTarget(draw, dc, &r, &at);
  draw->stretched = 1;
  draw->imageWidth = loaded.width;
  draw->imageHeight = loaded.height;
  r.right = r.left + loaded.width;
  r.bottom = r.top + loaded.height;
  job.rect = r;
  job.at = at;
  job.flags = flags;
  job.grey = Monochrome(ctx);
  job.noTheme = TRUE;
  ImgRender(&job, kImgRenderAdjusted);
  DuiDeleteBitmap(loaded.bitmap);
}

void ResBeginBufferedDraw(DriverContext* ctx) {
  DlgDrawState* draw = DrawState(ctx);
  if (!draw) return;
  // A buffer an earlier drawing left behind is freed rather than lost.
  if (draw->memoryDc) ImgFreeBuffer(draw);
  draw->buffering = 1;
  draw->memoryDc = NULL;
  draw->memoryPrevious = NULL;
  draw->stretched = 0;
  draw->imageWidth = draw->imageHeight = 0;
}

void ResEndBufferedDraw(DriverContext* ctx, HWND window, const RECT* rect) {
  DlgDrawState* draw = DrawState(ctx);
  if (!draw || !draw->buffering) return;
  draw->buffering = 0;
  RECT target = {0, 0, 0, 0};
  if (rect) target = *rect;
  else WuiGetClientRect(window, &target);
  HDC dc = UiGetControlDc(ctx, window);
  if (dc) {
    if (draw->memoryDc) ImgCopyBuffer(draw, dc, &target);
    UiReleaseControlDc(ctx, window, dc);
    draw->stretched = 0;
  }
  ImgFreeBuffer(draw);
}
