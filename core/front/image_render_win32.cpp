// The Windows build's pixel half of the picture drawing: masks made from the picture's colour
// table (only the at most 256 entries are touched, never the pixels), raster operations, the
// themed tab pane behind the key pixels, the buffer and the display palette.
#include "core/common/window_ui.h"
#include "core/front/image_render.h"

namespace {

typedef HANDLE(WINAPI* OpenThemeDataCall)(HWND, LPCWSTR);
typedef HRESULT(WINAPI* CloseThemeDataCall)(HANDLE);
typedef HRESULT(WINAPI* DrawThemeBackgroundCall)(HANDLE, HDC, int, int, const RECT*, const RECT*);
typedef BOOL(WINAPI* IsThemeActiveCall)();
constexpr UINT kTabAdjustRect = 0x1300 + 40;  // TCM_ADJUSTRECT
constexpr int kTabPane = 9;                   // TABP_PANE

template <typename T>
T Proc(HMODULE library, const char* name) {
  return library ? reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}

// A memory DC with a bitmap of its own, freed together.
struct Surface {
  HDC dc = NULL;
  HBITMAP bitmap = NULL;
  HGDIOBJ previous = NULL;
  bool Make(HDC like, LONG width, LONG height) {
    dc = CreateCompatibleDC(like);
    bitmap = dc ? CreateCompatibleBitmap(like, width, height) : NULL;
    previous = bitmap ? SelectObject(dc, bitmap) : NULL;
    return previous != NULL;
  }
  ~Surface() {
    if (previous) SelectObject(dc, previous);
    if (bitmap) DeleteObject(bitmap);
    if (dc) DeleteDC(dc);
  }
};

// The picture selected into a DC of its own with its colour table. The table is rewritten for
// the masks: the bitmap is the drawing's own copy, deleted after it.
struct Image {
  HDC dc = NULL;
  HGDIOBJ previous = NULL;
  RGBQUAD colours[256];
  UINT count = 0;
  int key = -1;  // the key colour's entry
  bool Select(HDC like, const ImgRenderJob* job) {
    dc = CreateCompatibleDC(like);
    previous = dc ? SelectObject(dc, job->bitmap) : NULL;
    if (!previous) return false;
    if (!job->file && job->bitsPerPixel <= 8) count = GetDIBColorTable(dc, 0, 256, colours);
    COLORREF keyColour = kImgKeyColour;
    if (job->bitsPerPixel == 4) keyColour = GetPixel(dc, 0, job->height - 1);
    for (UINT i = 0; i < count && key < 0; ++i)
      if (RGB(colours[i].rgbRed, colours[i].rgbGreen, colours[i].rgbBlue) == keyColour) key = static_cast<int>(i);
    return true;
  }
  // The table with the key entry as `keyAs` and every other entry as `otherAs` (CLR_INVALID:
  // the entry itself).
  void SetTable(COLORREF keyAs, COLORREF otherAs) {
    RGBQUAD table[256];
    for (UINT i = 0; i < count; ++i) {
      const COLORREF c = static_cast<int>(i) == key ? keyAs : otherAs;
      if (c == CLR_INVALID) {
        table[i] = colours[i];
      } else {
        table[i].rgbRed = GetRValue(c);
        table[i].rgbGreen = GetGValue(c);
        table[i].rgbBlue = GetBValue(c);
        table[i].rgbReserved = 0;
      }
    }
    if (count) SetDIBColorTable(dc, 0, count, table);
  }
  // Adjusts the table's colours (and collects them into the display palette).
  void Adjust(const ImgRenderJob* job, HDC target) {
    for (UINT i = 0; i < count; ++i) {
      const COLORREF c = ImgAdjustColour(job->adjust, RGB(colours[i].rgbRed, colours[i].rgbGreen, colours[i].rgbBlue),
                                         job->grey);
      colours[i].rgbRed = GetRValue(c);
      colours[i].rgbGreen = GetGValue(c);
      colours[i].rgbBlue = GetBValue(c);
      ResBuildDisplayPalette(target, static_cast<int>(i), c);
    }
    if (count) SetDIBColorTable(dc, 0, count, colours);
    ResBuildDisplayPalette(target, -1, 0);
  }
  ~Image() {
    if (previous) SelectObject(dc, previous);
    if (dc) DeleteDC(dc);
  }
};

// The page's themed tab pane behind the work bitmap's key pixels, when the theme may be used:
// the work bitmap (white where the target shows) is inverted and ANDed with the pane.
bool ThemedBackground(const ImgRenderJob* job, HDC work, LONG width, LONG height) {
  HMODULE library = LoadLibraryW(L"UxTheme.DLL");
  OpenThemeDataCall open = Proc<OpenThemeDataCall>(library, "OpenThemeData");
  CloseThemeDataCall close = Proc<CloseThemeDataCall>(library, "CloseThemeData");
  DrawThemeBackgroundCall drawPane = Proc<DrawThemeBackgroundCall>(library, "DrawThemeBackground");
  IsThemeActiveCall active = Proc<IsThemeActiveCall>(library, "IsThemeActive");
  HANDLE theme = open && job->pageWindow ? open(job->pageWindow, L"Tab") : NULL;
  Surface pane;
  ImgThemeFacts facts = {};
  facts.drawCallFound = drawPane != nullptr;
  facts.themeOpened = theme != NULL;
  facts.backgroundMade = pane.Make(job->target, width, height);
  facts.noTheme = job->noTheme;
  facts.modalPage = job->modalPage;
  facts.themeActive = active && active();
  facts.comctlVersion = ResGetComctlVersion();
  facts.background = job->background;
  facts.buttonFace = GetSysColor(COLOR_BTNFACE);
  const bool used = ImgUseTheme(&facts) != FALSE;
  if (used) {
    RECT area = {0, 0, 0, 0}, clip = {0, 0, width, height};
    GetClientRect(job->pageWindow, &area);
    SendMessageW(job->pageWindow, kTabAdjustRect, FALSE, reinterpret_cast<LPARAM>(&area));
    if (job->controlWindow) {
      MapWindowPoints(job->pageWindow, job->controlWindow, reinterpret_cast<POINT*>(&area), 2);
      GetClientRect(job->controlWindow, &clip);
    }
    OffsetRect(&area, -job->rect.left, -job->rect.top);
    OffsetRect(&clip, -job->rect.left, -job->rect.top);
    drawPane(theme, pane.dc, kTabPane, 0, &area, &clip);
    PatBlt(work, 0, 0, width, height, DSTINVERT);
    BitBlt(work, 0, 0, width, height, pane.dc, 0, 0, SRCAND);
  }
  if (theme && close) close(theme);
  if (library) FreeLibrary(library);
  return used;
}

void FillSolid(HDC dc, LONG width, LONG height, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  if (!brush) return;
  RECT all = {0, 0, width, height};
  FillRect(dc, &all, brush);
  DeleteObject(brush);
}

// The work bitmap of the job's rectangle and the picture's place in it.
struct Work : Surface {
  LONG width = 0;
  LONG height = 0;
  int ax = 0;
  int ay = 0;
  bool Make(const ImgRenderJob* job) {
    width = job->rect.right - job->rect.left;
    height = job->rect.bottom - job->rect.top;
    ax = job->at.x - job->rect.left;
    ay = job->at.y - job->rect.top;
    return width > 0 && height > 0 && Surface::Make(job->target, width, height);
  }
  // Black, the picture's pixels white and its key pixels black.
  void Mask(const ImgRenderJob* job, Image* image) {
    PatBlt(dc, 0, 0, width, height, BLACKNESS);
    image->SetTable(RGB(0, 0, 0), RGB(255, 255, 255));
    BitBlt(dc, ax, ay, job->width, job->height, image->dc, 0, 0, SRCCOPY);
  }
};

BOOL RenderKeyed(const ImgRenderJob* job, Image* image) {
  const RECT& r = job->rect;
  Work work;
  if (!work.Make(job)) return FALSE;
  const LONG width = work.width, height = work.height;
  const int ax = work.ax, ay = work.ay;
  const DWORD flags = job->flags;
  const bool keyed = image->count > 0;  // a palette picture; others have no key colour
  if (!keyed || (flags & (kImgOpaque | kImgOnBase | kImgAnd | kImgMergePaint))) {
    BitBlt(work.dc, 0, 0, width, height, job->target, r.left, r.top, SRCCOPY);
  } else {
    work.Mask(job, image);
    if (flags & kImgNoTheme) {
      PatBlt(work.dc, 0, 0, width, height, DSTINVERT);
      BitBlt(work.dc, 0, 0, width, height, job->target, r.left, r.top, SRCAND);
    } else if (!ThemedBackground(job, work.dc, width, height)) {
      FillSolid(work.dc, width, height, job->background);
      image->SetTable(job->background, RGB(0, 0, 0));
      BitBlt(work.dc, ax, ay, job->width, job->height, image->dc, 0, 0, SRCCOPY);
    }
    image->SetTable(RGB(0, 0, 0), CLR_INVALID);
  }
  DWORD rop = SRCPAINT;
  if (flags & kImgOpaque) rop = SRCCOPY;
  else if (flags & kImgAnd) rop = SRCAND;
  else if (flags & kImgMergePaint) rop = MERGEPAINT;
  else if (!keyed) rop = SRCCOPY;
  BitBlt(work.dc, ax, ay, job->width, job->height, image->dc, 0, 0, rop);
  return BitBlt(job->target, r.left, r.top, width, height, work.dc, 0, 0, SRCCOPY);
}

BOOL RenderAdjusted(const ImgRenderJob* job, Image* image) {
  const RECT& r = job->rect;
  Work work;
  if (!work.Make(job)) return FALSE;
  const LONG width = work.width, height = work.height;
  const int ax = work.ax, ay = work.ay;
  work.Mask(job, image);
  if (job->flags & kImgStretch) image->Adjust(job, job->target);
  image->SetTable(RGB(0, 0, 0), CLR_INVALID);
  PatBlt(work.dc, 0, 0, width, height, DSTINVERT);
  BitBlt(work.dc, 0, 0, width, height, job->target, r.left, r.top, SRCAND);
  ResBuildDisplayPalette(job->target, -1, 0);
  BitBlt(work.dc, ax, ay, job->width, job->height, image->dc, 0, 0, SRCPAINT);
  return BitBlt(job->target, r.left, r.top, width, height, work.dc, 0, 0, SRCCOPY);
}

}  // namespace

BOOL ImgRender(const ImgRenderJob* job, ImgRenderMode mode) {
  if (!job || !job->target || !job->bitmap) return FALSE;
  Image image;
  if (!image.Select(job->target, job)) return FALSE;
  const RECT& r = job->rect;
  switch (mode) {
    case kImgRenderStretch:
      SetStretchBltMode(job->target, COLORONCOLOR);
      return StretchBlt(job->target, r.left, r.top, r.right - r.left, r.bottom - r.top, image.dc, 0, 0, job->width,
                        job->height, SRCCOPY);
    case kImgRenderNatural:
      image.Adjust(job, job->target);
      return BitBlt(job->target, r.left, r.top, job->width, job->height, image.dc, 0, 0, SRCCOPY);
    case kImgRenderAdjusted:
      return RenderAdjusted(job, &image);
    case kImgRenderKeyed:
      break;
  }
  return RenderKeyed(job, &image);
}

BOOL ImgMakeBuffer(DlgDrawState* draw, HDC target, const RECT* rect) {
  const LONG width = rect ? rect->right - rect->left : 0, height = rect ? rect->bottom - rect->top : 0;
  if (width <= 0 || height <= 0) return FALSE;
  HDC memory = CreateCompatibleDC(target);
  HBITMAP bitmap = memory ? CreateCompatibleBitmap(target, width, height) : NULL;
  HGDIOBJ previous = bitmap ? SelectObject(memory, bitmap) : NULL;
  if (!previous) {
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    return FALSE;
  }
  BitBlt(memory, 0, 0, width, height, target, rect->left, rect->top, SRCCOPY);
  draw->memoryDc = memory;
  draw->memoryPrevious = previous;
  return TRUE;
}

void ImgCopyBuffer(const DlgDrawState* draw, HDC dc, const RECT* rect) {
  if (!draw->memoryDc || !rect) return;
  const LONG width = rect->right - rect->left, height = rect->bottom - rect->top;
  if (draw->stretched) {
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, rect->left, rect->top, width, height, draw->memoryDc, 0, 0, draw->imageWidth, draw->imageHeight,
               SRCCOPY);
  } else {
    BitBlt(dc, rect->left, rect->top, width, height, draw->memoryDc, 0, 0, SRCCOPY);
  }
}

void ImgFreeBuffer(DlgDrawState* draw) {
  if (draw->memoryDc) {
    HGDIOBJ bitmap = draw->memoryPrevious ? SelectObject(draw->memoryDc, draw->memoryPrevious) : NULL;
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(draw->memoryDc);
  }
  draw->memoryDc = NULL;
  draw->memoryPrevious = NULL;
}

BOOL ImgDisplayUsesPalette() {
  static int answer = -1;
  if (answer < 0) {
    HDC display = CreateDCW(L"DISPLAY", NULL, NULL, NULL);
    answer = display && GetNearestColor(display, 0xFF3333) != 0xFF3333 ? 1 : 0;
    if (display) DeleteDC(display);
  }
  return answer;
}

HPALETTE ImgRealisePalette(HDC dc, const COLORREF* entries) {
  static HPALETTE palette = NULL;
  PALETTEENTRY table[256];
  for (int i = 0; i < 256; ++i) {
    table[i].peRed = GetRValue(entries[i]);
    table[i].peGreen = GetGValue(entries[i]);
    table[i].peBlue = GetBValue(entries[i]);
    table[i].peFlags = 0;
  }
  if (!palette) {
    struct {
      WORD version, count;
      PALETTEENTRY entries[256];
    } logical;
    logical.version = 0x300;
    logical.count = 256;
    CopyMemory(logical.entries, table, sizeof table);
    palette = CreatePalette(reinterpret_cast<LOGPALETTE*>(&logical));
  } else {
    SetPaletteEntries(palette, 0, 256, table);
  }
  if (!palette) return NULL;
  HPALETTE previous = SelectPalette(dc, palette, FALSE);
  RealizePalette(dc);
  return previous;
}
