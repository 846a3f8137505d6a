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
// ---- edits and scroll bars ----

int DuiScrollArrowWidth() { return 0; }
