// The drawing interface of the deliverables that show no windows (zemsgr, zemsexc): there is
// never a window to draw into, so each operation draws nothing and answers as for no DC.
#include "core/common/draw_ui.h"

HDC DuiGetDc(HWND window) { (void)window; return NULL; }
void DuiReleaseDc(HWND window, HDC dc) { (void)window; (void)dc; }
HDC DuiBeginPaint(HWND window, PAINTSTRUCT* paint) { (void)window; (void)paint; return NULL; }
void DuiEndPaint(HWND window, const PAINTSTRUCT* paint) { (void)window; (void)paint; }
void DuiValidate(HWND window) { (void)window; }
int DuiSaveDc(HDC dc) { (void)dc; return 0; }
void DuiRestoreDc(HDC dc, int saved) { (void)dc; (void)saved; }
void DuiIntersectClip(HDC dc, const RECT* rect) { (void)dc; (void)rect; }
void DuiExcludeClip(HDC dc, const RECT* rect) { (void)dc; (void)rect; }
COLORREF DuiSysColor(int index) { (void)index; return 0; }
COLORREF DuiSetTextColor(HDC dc, COLORREF colour) { (void)dc; (void)colour; return 0; }
COLORREF DuiSetBkColor(HDC dc, COLORREF colour) { (void)dc; (void)colour; return 0; }
int DuiSetBkMode(HDC dc, int mode) { (void)dc; (void)mode; return 0; }
HFONT DuiWindowFont(HWND window) { (void)window; return NULL; }
HFONT DuiSelectFont(HDC dc, HFONT font) { (void)dc; (void)font; return NULL; }
void DuiFillRect(HDC dc, const RECT* rect, COLORREF colour) { (void)dc; (void)rect; (void)colour; }
void DuiFillRectBrush(HDC dc, const RECT* rect, HBRUSH brush) { (void)dc; (void)rect; (void)brush; }
void DuiRectangle(HDC dc, const RECT* rect, COLORREF fill, COLORREF pen) {
  (void)dc; (void)rect; (void)fill; (void)pen;
}
void DuiLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour) {
  (void)dc; (void)x1; (void)y1; (void)x2; (void)y2; (void)colour;
}
void DuiPolygon(HDC dc, const POINT* points, int count, COLORREF fill, COLORREF outline) {
  (void)dc; (void)points; (void)count; (void)fill; (void)outline;
}
void DuiFocusRect(HDC dc, const RECT* rect) { (void)dc; (void)rect; }
HBRUSH DuiSolidBrush(COLORREF colour) { (void)colour; return NULL; }
HBRUSH DuiStockBrush(int stockObject) { (void)stockObject; return NULL; }
void DuiDeleteBrush(HBRUSH brush) { (void)brush; }
int DuiDrawText(HDC dc, LPCWSTR text, int length, RECT* rect, UINT format) {
  (void)dc; (void)text; (void)length; (void)rect; (void)format; return 0;
}
BOOL DuiTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, int length) {
  (void)dc; (void)x; (void)y; (void)options; (void)rect; (void)text; (void)length; return FALSE;
}
BOOL DuiTextExtent(HDC dc, LPCWSTR text, int length, SIZE* size) {
  (void)dc; (void)text; (void)length; (void)size; return FALSE;
}
BOOL DuiTextMetrics(HDC dc, LONG* height, LONG* averageWidth) {
  (void)dc; (void)height; (void)averageWidth; return FALSE;
}
BOOL DuiDrawPicture(HDC dc, HMODULE module, UINT pictureId, const RECT* target, int x, int y, DWORD flags) {
  (void)dc; (void)module; (void)pictureId; (void)target; (void)x; (void)y; (void)flags; return FALSE;
}

// ---- image drawing: bitmaps and icons ----

HBITMAP DuiLoadBitmap(HMODULE module, LPCWSTR name) {
  (void)module; (void)name; return NULL;
}
HBITMAP DuiCreateDisplayBitmap(const BITMAPINFOHEADER* header, const void* colours, const void* pixels) {
  (void)header; (void)colours; (void)pixels; return NULL;
}
BOOL DuiBitmapSize(HBITMAP bitmap, LONG* width, LONG* height, WORD* bitsPerPixel) {
  (void)bitmap; (void)width; (void)height; (void)bitsPerPixel; return FALSE;
}
void DuiDeleteBitmap(HBITMAP bitmap) { (void)bitmap; }
BOOL DuiDrawIcon(HDC dc, HMODULE module, UINT iconId, int x, int y) {
  (void)dc; (void)module; (void)iconId; (void)x; (void)y; return FALSE;
}
// ---- off-screen drawing ----

HDC DuiCreateMemoryDc(HDC dc) { (void)dc; return NULL; }
void DuiDeleteMemoryDc(HDC dc) { (void)dc; }
HBITMAP DuiCreateCompatibleBitmap(HDC dc, int width, int height) {
  (void)dc; (void)width; (void)height; return NULL;
}
HBITMAP DuiSelectBitmap(HDC dc, HBITMAP bitmap) { (void)dc; (void)bitmap; return NULL; }
HPEN DuiSelectPen(HDC dc, HPEN pen) { (void)dc; (void)pen; return NULL; }
HBRUSH DuiSelectBrush(HDC dc, HBRUSH brush) { (void)dc; (void)brush; return NULL; }
BOOL DuiFontLogFont(HFONT font, LOGFONTW* logFont) { (void)font; (void)logFont; return FALSE; }
HFONT DuiCreateFont(const LOGFONTW* logFont) { (void)logFont; return NULL; }
void DuiDeleteFont(HFONT font) { (void)font; }
HPEN DuiCreatePen(COLORREF colour) { (void)colour; return NULL; }
void DuiDeletePen(HPEN pen) { (void)pen; }
BOOL DuiCharWidths(HDC dc, WCHAR character, ABC* widths) { (void)dc; (void)character; (void)widths; return FALSE; }
void DuiBeginPath(HDC dc) { (void)dc; }
void DuiEndPath(HDC dc) { (void)dc; }
void DuiStrokePath(HDC dc) { (void)dc; }
void DuiEllipse(HDC dc, const RECT* rect) { (void)dc; (void)rect; }
void DuiPolyline(HDC dc, const POINT* points, int count) { (void)dc; (void)points; (void)count; }
BOOL DuiBitBlt(HDC dc, int x, int y, int width, int height, HDC source, int sx, int sy, DWORD rop) {
  (void)dc; (void)x; (void)y; (void)width; (void)height; (void)source; (void)sx; (void)sy; (void)rop; return FALSE;
}
BOOL DuiStretchBlt(HDC dc, int x, int y, int width, int height, HDC source, int sx, int sy, int sw, int sh,
                   DWORD rop) {
  (void)dc; (void)x; (void)y; (void)width; (void)height; (void)source; (void)sx; (void)sy; (void)sw; (void)sh;
  (void)rop; return FALSE;
}
BOOL DuiPatBlt(HDC dc, int x, int y, int width, int height, DWORD rop) {
  (void)dc; (void)x; (void)y; (void)width; (void)height; (void)rop; return FALSE;
}
COLORREF DuiNearestColour(HDC dc, COLORREF colour) { (void)dc; return colour; }

// ---- edits and scroll bars ----

int DuiScrollArrowWidth() { return 0; }
