// The Windows build's drawing interface: gdi32 and user32, one or a few calls per operation.
#include "core/common/draw_ui.h"

HDC DuiGetDc(HWND window) { return window ? GetDC(window) : NULL; }
void DuiReleaseDc(HWND window, HDC dc) {
  if (dc) ReleaseDC(window, dc);
}
HDC DuiBeginPaint(HWND window, PAINTSTRUCT* paint) { return window && paint ? BeginPaint(window, paint) : NULL; }
void DuiEndPaint(HWND window, const PAINTSTRUCT* paint) {
  if (window && paint) EndPaint(window, paint);
}
void DuiValidate(HWND window) { ValidateRect(window, NULL); }
int DuiSaveDc(HDC dc) { return SaveDC(dc); }
void DuiRestoreDc(HDC dc, int saved) { RestoreDC(dc, saved); }
void DuiIntersectClip(HDC dc, const RECT* rect) {
  if (rect) IntersectClipRect(dc, rect->left, rect->top, rect->right, rect->bottom);
}
void DuiExcludeClip(HDC dc, const RECT* rect) {
  if (rect) ExcludeClipRect(dc, rect->left, rect->top, rect->right, rect->bottom);
}

COLORREF DuiSysColor(int index) { return GetSysColor(index); }
COLORREF DuiSetTextColor(HDC dc, COLORREF colour) { return SetTextColor(dc, colour); }
COLORREF DuiSetBkColor(HDC dc, COLORREF colour) { return SetBkColor(dc, colour); }
int DuiSetBkMode(HDC dc, int mode) { return SetBkMode(dc, mode); }
HFONT DuiWindowFont(HWND window) { return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)); }
HFONT DuiSelectFont(HDC dc, HFONT font) {
  return font ? static_cast<HFONT>(SelectObject(dc, font)) : static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT));
}

void DuiFillRect(HDC dc, const RECT* rect, COLORREF colour) {
  if (!rect) return;
  HBRUSH brush = CreateSolidBrush(colour);
  if (!brush) return;
  FillRect(dc, rect, brush);
  DeleteObject(brush);
}

void DuiFillRectBrush(HDC dc, const RECT* rect, HBRUSH brush) {
  if (rect && brush) FillRect(dc, rect, brush);
}

void DuiRectangle(HDC dc, const RECT* rect, COLORREF fill, COLORREF pen) {
  if (!rect) return;
  HBRUSH brush = CreateSolidBrush(fill);
  HPEN madePen = pen == CLR_INVALID ? NULL : CreatePen(PS_SOLID, 1, pen);
  HGDIOBJ oldBrush = brush ? SelectObject(dc, brush) : NULL;
  HGDIOBJ oldPen = madePen ? SelectObject(dc, madePen) : NULL;
  Rectangle(dc, rect->left, rect->top, rect->right, rect->bottom);
  if (oldPen) SelectObject(dc, oldPen);
  if (oldBrush) SelectObject(dc, oldBrush);
  if (madePen) DeleteObject(madePen);
  if (brush) DeleteObject(brush);
}

void DuiLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour) {
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  if (!pen) return;
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, x1, y1, NULL);
  LineTo(dc, x2, y2);
  SelectObject(dc, old);
  DeleteObject(pen);
}

void DuiPolygon(HDC dc, const POINT* points, int count, COLORREF fill, COLORREF outline) {
  if (!points || count < 2) return;
  HBRUSH brush = CreateSolidBrush(fill);
  HPEN pen = CreatePen(PS_SOLID, 1, outline);
  HGDIOBJ oldBrush = brush ? SelectObject(dc, brush) : NULL;
  HGDIOBJ oldPen = pen ? SelectObject(dc, pen) : NULL;
  Polygon(dc, points, count);
  if (oldPen) SelectObject(dc, oldPen);
  if (oldBrush) SelectObject(dc, oldBrush);
  if (pen) DeleteObject(pen);
  if (brush) DeleteObject(brush);
}

void DuiFocusRect(HDC dc, const RECT* rect) {
  if (rect) DrawFocusRect(dc, rect);
}
HBRUSH DuiSolidBrush(COLORREF colour) { return CreateSolidBrush(colour); }
HBRUSH DuiStockBrush(int stockObject) { return static_cast<HBRUSH>(GetStockObject(stockObject)); }
void DuiDeleteBrush(HBRUSH brush) {
  if (brush) DeleteObject(brush);
}

int DuiDrawText(HDC dc, LPCWSTR text, int length, RECT* rect, UINT format) {
  return text && rect ? DrawTextW(dc, text, length, rect, format) : 0;
}
BOOL DuiTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, int length) {
  if (!text) return FALSE;
  if (length < 0) length = lstrlenW(text);
  return ExtTextOutW(dc, x, y, options, rect, text, static_cast<UINT>(length), NULL);
}
BOOL DuiTextExtent(HDC dc, LPCWSTR text, int length, SIZE* size) {
  if (!text || !size) return FALSE;
  if (length < 0) length = lstrlenW(text);
  return GetTextExtentPoint32W(dc, text, length, size);
}
BOOL DuiTextMetrics(HDC dc, LONG* height, LONG* averageWidth) {
  TEXTMETRICW metrics;
  if (!GetTextMetricsW(dc, &metrics)) return FALSE;
  if (height) *height = metrics.tmHeight;
  if (averageWidth) *averageWidth = metrics.tmAveCharWidth;
  return TRUE;
}

// Simplified until the image drawing takes over: the picture is copied as it is (no key colour,
// no theme, no stretch), its top-left at the anchor.
BOOL DuiDrawPicture(HDC dc, HMODULE module, UINT pictureId, const RECT* target, int x, int y, DWORD flags) {
  (void)target;
  (void)flags;
  HBITMAP bitmap = static_cast<HBITMAP>(
      LoadImageW(module, MAKEINTRESOURCEW(pictureId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bitmap) return FALSE;
  BITMAP info;
  BOOL done = FALSE;
  HDC image = CreateCompatibleDC(dc);
  if (image && GetObjectW(bitmap, sizeof(info), &info)) {
    HGDIOBJ old = SelectObject(image, bitmap);
    done = BitBlt(dc, x, y, info.bmWidth, info.bmHeight, image, 0, 0, SRCCOPY);
    SelectObject(image, old);
  }
  if (image) DeleteDC(image);
  DeleteObject(bitmap);
  return done;
}

// ---- image drawing: bitmaps and icons ----

HBITMAP DuiLoadBitmap(HMODULE module, LPCWSTR name) {
  if (!module) return NULL;
  return static_cast<HBITMAP>(LoadImageW(module, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

HBITMAP DuiCreateDisplayBitmap(const BITMAPINFOHEADER* header, const void* colours, const void* pixels) {
  if (!header || !pixels) return NULL;
  DWORD entries = header->biBitCount > 8 ? 0 : (header->biClrUsed ? header->biClrUsed : 1u << header->biBitCount);
  if (entries > 256) return NULL;
  BYTE info[sizeof(BITMAPINFOHEADER) + 256 * 4];
  CopyMemory(info, header, sizeof(BITMAPINFOHEADER));
  if (entries && colours) CopyMemory(info + sizeof(BITMAPINFOHEADER), colours, entries * 4);
  HBITMAP bitmap = NULL;
  HDC display = CreateDCW(L"DISPLAY", NULL, NULL, NULL);
  if (display) {
    bitmap = CreateDIBitmap(display, header, CBM_INIT, pixels, reinterpret_cast<BITMAPINFO*>(info), DIB_RGB_COLORS);
    DeleteDC(display);
  }
  return bitmap;
}

BOOL DuiBitmapSize(HBITMAP bitmap, LONG* width, LONG* height, WORD* bitsPerPixel) {
  BITMAP info;
  if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info)) return FALSE;
  if (width) *width = info.bmWidth;
  if (height) *height = info.bmHeight;
  if (bitsPerPixel) *bitsPerPixel = info.bmBitsPixel;
  return TRUE;
}

void DuiDeleteBitmap(HBITMAP bitmap) {
  if (bitmap) DeleteObject(bitmap);
}

BOOL DuiDrawIcon(HDC dc, HMODULE module, UINT iconId, int x, int y) {
  if (!dc || !module) return FALSE;
  HICON icon = LoadIconW(module, MAKEINTRESOURCEW(iconId));
  return icon ? DrawIcon(dc, x, y, icon) : FALSE;
}
// ---- off-screen drawing ----

HDC DuiCreateMemoryDc(HDC dc) { return CreateCompatibleDC(dc); }
void DuiDeleteMemoryDc(HDC dc) {
  if (dc) DeleteDC(dc);
}
HBITMAP DuiCreateCompatibleBitmap(HDC dc, int width, int height) {
  return dc && width > 0 && height > 0 ? CreateCompatibleBitmap(dc, width, height) : NULL;
}
HBITMAP DuiSelectBitmap(HDC dc, HBITMAP bitmap) { return static_cast<HBITMAP>(SelectObject(dc, bitmap)); }
HPEN DuiSelectPen(HDC dc, HPEN pen) { return static_cast<HPEN>(SelectObject(dc, pen)); }
HBRUSH DuiSelectBrush(HDC dc, HBRUSH brush) { return static_cast<HBRUSH>(SelectObject(dc, brush)); }
BOOL DuiFontLogFont(HFONT font, LOGFONTW* logFont) {
  return font && logFont && GetObjectW(font, sizeof(*logFont), logFont) == static_cast<int>(sizeof(*logFont));
}
HFONT DuiCreateFont(const LOGFONTW* logFont) { return logFont ? CreateFontIndirectW(logFont) : NULL; }
void DuiDeleteFont(HFONT font) {
  if (font) DeleteObject(font);
}
HPEN DuiCreatePen(COLORREF colour) { return CreatePen(PS_SOLID, 1, colour); }
void DuiDeletePen(HPEN pen) {
  if (pen) DeleteObject(pen);
}
BOOL DuiCharWidths(HDC dc, WCHAR character, ABC* widths) {
  return widths && GetCharABCWidthsW(dc, character, character, widths);
}
void DuiBeginPath(HDC dc) { BeginPath(dc); }
void DuiEndPath(HDC dc) {
  CloseFigure(dc);
  EndPath(dc);
}
void DuiStrokePath(HDC dc) { StrokePath(dc); }
void DuiEllipse(HDC dc, const RECT* rect) {
  if (!rect) return;
  HGDIOBJ old = SelectObject(dc, GetStockObject(NULL_BRUSH));
  Ellipse(dc, rect->left, rect->top, rect->right, rect->bottom);
  SelectObject(dc, old);
}
void DuiPolyline(HDC dc, const POINT* points, int count) {
  if (points && count > 1) Polyline(dc, points, count);
}
BOOL DuiBitBlt(HDC dc, int x, int y, int width, int height, HDC source, int sx, int sy, DWORD rop) {
  return BitBlt(dc, x, y, width, height, source, sx, sy, rop);
}
BOOL DuiStretchBlt(HDC dc, int x, int y, int width, int height, HDC source, int sx, int sy, int sw, int sh,
                   DWORD rop) {
  return StretchBlt(dc, x, y, width, height, source, sx, sy, sw, sh, rop);
}
BOOL DuiPatBlt(HDC dc, int x, int y, int width, int height, DWORD rop) { return PatBlt(dc, x, y, width, height, rop); }
COLORREF DuiNearestColour(HDC dc, COLORREF colour) { return GetNearestColor(dc, colour); }

// ---- edits and scroll bars ----

int DuiScrollArrowWidth() { return GetSystemMetrics(SM_CXHSCROLL); }
