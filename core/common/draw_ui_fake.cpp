// The native builds' drawing interface: each primitive recorded in the simulated machine.
#include "core/common/draw_ui.h"

#include <string.h>

#include "platform/sim.h"

namespace {

SimDrawCall Call(int kind, HDC dc) {
  SimDrawCall call;
  memset(&call, 0, sizeof(call));
  call.kind = kind;
  call.dc = dc;
  return call;
}

void SetRect(SimDrawCall* call, const RECT* rect) {
  if (rect) call->rect = *rect;
}

void SetText(SimDrawCall* call, LPCWSTR text, int length) {
  if (!text) return;
  DWORD n = 0;
  if (length < 0) {
    while (text[n]) ++n;
  } else {
    n = static_cast<DWORD>(length);
  }
  call->textLength = n;
  DWORD kept = n < 255 ? n : 255;
  memcpy(call->text, text, kept * sizeof(WCHAR));
  call->text[kept] = 0;
}

SimDrawDcState State(HDC dc) {
  SimDrawDcState state;
  memset(&state, 0, sizeof(state));
  SimDrawGetDcState(dc, &state);
  return state;
}

// Brushes are tokens too: a stock brush is its index + 1, a made one a heap record of its colour.
struct MadeBrush {
  COLORREF colour;
};

}  // namespace

HDC DuiGetDc(HWND window) {
  HDC dc = SimDrawWindowDc(window);
  if (dc) {
    SimDrawCall call = Call(kSimDrawGetDc, dc);
    SimDrawRecord(&call);
  }
  return dc;
}

void DuiReleaseDc(HWND window, HDC dc) {
  (void)window;
  SimDrawCall call = Call(kSimDrawReleaseDc, dc);
  SimDrawRecord(&call);
}

HDC DuiBeginPaint(HWND window, PAINTSTRUCT* paint) {
  HDC dc = SimDrawWindowDc(window);
  if (!dc) return NULL;
  if (paint) {
    memset(paint, 0, sizeof(*paint));
    paint->hdc = dc;
    SimUiGetClientRect(window, &paint->rcPaint);
  }
  SimUiValidate(window);
  SimDrawCall call = Call(kSimDrawBeginPaint, dc);
  SimDrawRecord(&call);
  return dc;
}

void DuiEndPaint(HWND window, const PAINTSTRUCT* paint) {
  (void)window;
  SimDrawCall call = Call(kSimDrawEndPaint, paint ? paint->hdc : NULL);
  SimDrawRecord(&call);
}

void DuiValidate(HWND window) {
  SimUiValidate(window);
  SimDrawCall call = Call(kSimDrawValidate, NULL);
  call.window = window;
  SimDrawRecord(&call);
}

int DuiSaveDc(HDC dc) {
  int level = SimDrawSaveDcState(dc);
  SimDrawCall call = Call(kSimDrawSaveDc, dc);
  call.x = level;
  SimDrawRecord(&call);
  return level;
}

void DuiRestoreDc(HDC dc, int saved) {
  SimDrawRestoreDcState(dc, saved);
  SimDrawCall call = Call(kSimDrawRestoreDc, dc);
  call.x = saved;
  SimDrawRecord(&call);
}

void DuiIntersectClip(HDC dc, const RECT* rect) {
  SimDrawCall call = Call(kSimDrawIntersectClip, dc);
  SetRect(&call, rect);
  SimDrawRecord(&call);
}

void DuiExcludeClip(HDC dc, const RECT* rect) {
  SimDrawCall call = Call(kSimDrawExcludeClip, dc);
  SetRect(&call, rect);
  SimDrawRecord(&call);
}

COLORREF DuiSysColor(int index) {
  // The classic scheme's colours.
  switch (index) {
    case COLOR_SCROLLBAR: return RGB(212, 208, 200);
    case COLOR_BACKGROUND: return RGB(58, 110, 165);
    case COLOR_MENU: return RGB(212, 208, 200);
    case COLOR_WINDOW: return RGB(255, 255, 255);
    case COLOR_MENUTEXT: return RGB(0, 0, 0);
    case COLOR_WINDOWTEXT: return RGB(0, 0, 0);
    case COLOR_HIGHLIGHT: return RGB(10, 36, 106);
    case COLOR_HIGHLIGHTTEXT: return RGB(255, 255, 255);
    case COLOR_BTNFACE: return RGB(212, 208, 200);
    case COLOR_BTNSHADOW: return RGB(128, 128, 128);
    case COLOR_GRAYTEXT: return RGB(128, 128, 128);
    case COLOR_BTNTEXT: return RGB(0, 0, 0);
    case COLOR_BTNHIGHLIGHT: return RGB(255, 255, 255);
    case COLOR_3DDKSHADOW: return RGB(64, 64, 64);
    case COLOR_3DLIGHT: return RGB(212, 208, 200);
    case COLOR_INFOTEXT: return RGB(0, 0, 0);
    case COLOR_INFOBK: return RGB(255, 255, 225);
    default: return 0;
  }
}

COLORREF DuiSetTextColor(HDC dc, COLORREF colour) {
  SimDrawDcState state = State(dc);
  COLORREF old = state.textColour;
  state.textColour = colour;
  SimDrawSetDcState(dc, &state);
  SimDrawCall call = Call(kSimDrawTextColour, dc);
  call.colour = colour;
  SimDrawRecord(&call);
  return old;
}

COLORREF DuiSetBkColor(HDC dc, COLORREF colour) {
  SimDrawDcState state = State(dc);
  COLORREF old = state.bkColour;
  state.bkColour = colour;
  SimDrawSetDcState(dc, &state);
  SimDrawCall call = Call(kSimDrawBkColour, dc);
  call.colour = colour;
  SimDrawRecord(&call);
  return old;
}

int DuiSetBkMode(HDC dc, int mode) {
  SimDrawDcState state = State(dc);
  int old = state.bkMode;
  state.bkMode = mode;
  SimDrawSetDcState(dc, &state);
  SimDrawCall call = Call(kSimDrawBkMode, dc);
  call.flags = static_cast<DWORD>(mode);
  SimDrawRecord(&call);
  return old;
}

HFONT DuiWindowFont(HWND window) { return reinterpret_cast<HFONT>(SimUiSend(window, WM_GETFONT, 0, 0)); }

HFONT DuiSelectFont(HDC dc, HFONT font) {
  SimDrawDcState state = State(dc);
  HFONT old = state.font;
  state.font = font;
  SimDrawSetDcState(dc, &state);
  SimDrawCall call = Call(kSimDrawSelectFont, dc);
  call.id = static_cast<UINT>(reinterpret_cast<UINT_PTR>(font));
  SimDrawRecord(&call);
  return old;
}

void DuiFillRect(HDC dc, const RECT* rect, COLORREF colour) {
  SimDrawCall call = Call(kSimDrawFill, dc);
  SetRect(&call, rect);
  call.colour = colour;
  SimDrawRecord(&call);
}

HBRUSH DuiSolidBrush(COLORREF colour) {
  MadeBrush* brush = new MadeBrush;
  brush->colour = colour;
  return reinterpret_cast<HBRUSH>(brush);
}

HBRUSH DuiStockBrush(int stockObject) {
  return reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(stockObject + 1));
}

void DuiDeleteBrush(HBRUSH brush) {
  if (reinterpret_cast<UINT_PTR>(brush) > 64) delete reinterpret_cast<MadeBrush*>(brush);
}

void DuiFillRectBrush(HDC dc, const RECT* rect, HBRUSH brush) {
  SimDrawCall call = Call(kSimDrawFillBrush, dc);
  SetRect(&call, rect);
  UINT_PTR token = reinterpret_cast<UINT_PTR>(brush);
  if (token > 64) {
    call.colour = reinterpret_cast<MadeBrush*>(brush)->colour;
  } else {
    call.id = static_cast<UINT>(token);
  }
  SimDrawRecord(&call);
}

void DuiRectangle(HDC dc, const RECT* rect, COLORREF fill, COLORREF pen) {
  SimDrawCall call = Call(kSimDrawRectangle, dc);
  SetRect(&call, rect);
  call.colour = fill;
  call.colour2 = pen;
  SimDrawRecord(&call);
}

void DuiLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour) {
  SimDrawCall call = Call(kSimDrawLine, dc);
  call.pointCount = 2;
  call.points[0].x = x1;
  call.points[0].y = y1;
  call.points[1].x = x2;
  call.points[1].y = y2;
  call.colour = colour;
  SimDrawRecord(&call);
}

void DuiPolygon(HDC dc, const POINT* points, int count, COLORREF fill, COLORREF outline) {
  SimDrawCall call = Call(kSimDrawPolygon, dc);
  call.pointCount = count;
  for (int i = 0; points && i < count && i < 8; ++i) call.points[i] = points[i];
  call.colour = fill;
  call.colour2 = outline;
  SimDrawRecord(&call);
}

void DuiFocusRect(HDC dc, const RECT* rect) {
  SimDrawCall call = Call(kSimDrawFocusRect, dc);
  SetRect(&call, rect);
  SimDrawRecord(&call);
}

int DuiDrawText(HDC dc, LPCWSTR text, int length, RECT* rect, UINT format) {
  LONG advance = 7, height = 13;
  SimDrawGetTextMetrics(&advance, &height);
  SimDrawCall call = Call(kSimDrawText, dc);
  SetRect(&call, rect);
  SetText(&call, text, length);
  call.flags = format;
  call.colour = State(dc).textColour;
  if (format & DT_CALCRECT) {
    // Measures one line; the recording keeps no line breaking.
    if (rect) rect->right = rect->left + static_cast<LONG>(call.textLength) * advance;
    if (rect) rect->bottom = rect->top + height;
    return height;
  }
  SimDrawRecord(&call);
  return height;
}

BOOL DuiTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, int length) {
  SimDrawCall call = Call(kSimDrawTextOut, dc);
  call.x = x;
  call.y = y;
  SetRect(&call, rect);
  SetText(&call, text, length);
  call.flags = options;
  call.colour = State(dc).textColour;
  SimDrawRecord(&call);
  return TRUE;
}

BOOL DuiTextExtent(HDC dc, LPCWSTR text, int length, SIZE* size) {
  (void)dc;
  if (!size) return FALSE;
  LONG advance = 7, height = 13;
  SimDrawGetTextMetrics(&advance, &height);
  LONG n = 0;
  if (text) {
    if (length < 0) {
      while (text[n]) ++n;
    } else {
      n = length;
    }
  }
  size->cx = n * advance;
  size->cy = height;
  return TRUE;
}

BOOL DuiTextMetrics(HDC dc, LONG* height, LONG* averageWidth) {
  (void)dc;
  LONG advance = 7, h = 13;
  SimDrawGetTextMetrics(&advance, &h);
  if (height) *height = h;
  if (averageWidth) *averageWidth = advance;
  return TRUE;
}

BOOL DuiDrawPicture(HDC dc, HMODULE module, UINT pictureId, const RECT* target, int x, int y, DWORD flags) {
  (void)module;
  SimDrawCall call = Call(kSimDrawPicture, dc);
  call.id = pictureId;
  SetRect(&call, target);
  call.x = x;
  call.y = y;
  call.flags = flags;
  SimDrawRecord(&call);
  return TRUE;
}

// ---- image drawing: bitmaps and icons ----

namespace {

// Bitmaps are heap records of the picture's size and depth; a resource bitmap keeps its id.
struct MadeBitmap {
  DWORD magic;
  LONG width;
  LONG height;
  WORD bitsPerPixel;
  UINT id;
};
constexpr DWORD kBitmapMagic = 0x504d4942;

HBITMAP MakeBitmap(const BITMAPINFOHEADER* header, UINT id) {
  MadeBitmap* made = new MadeBitmap;
  made->magic = kBitmapMagic;
  made->width = header->biWidth;
  made->height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  made->bitsPerPixel = header->biBitCount;
  made->id = id;
  return reinterpret_cast<HBITMAP>(made);
}

const MadeBitmap* Made(HBITMAP bitmap) {
  const MadeBitmap* made = reinterpret_cast<const MadeBitmap*>(bitmap);
  return made && made->magic == kBitmapMagic ? made : nullptr;
}

}  // namespace

HBITMAP DuiLoadBitmap(HMODULE module, LPCWSTR name) {
  if (!module) return NULL;
  HRSRC found = FindResourceW(module, name, RT_BITMAP);
  HGLOBAL data = found ? LoadResource(module, found) : NULL;
  const BITMAPINFOHEADER* header = data ? static_cast<const BITMAPINFOHEADER*>(LockResource(data)) : nullptr;
  if (!header || SizeofResource(module, found) < sizeof(BITMAPINFOHEADER)) return NULL;
  UINT_PTR id = reinterpret_cast<UINT_PTR>(name);
  return MakeBitmap(header, id < 0x10000 ? static_cast<UINT>(id) : 0);
}

HBITMAP DuiCreateDisplayBitmap(const BITMAPINFOHEADER* header, const void* colours, const void* pixels) {
  (void)colours;
  if (!header || !pixels) return NULL;
  return MakeBitmap(header, 0);
}

BOOL DuiBitmapSize(HBITMAP bitmap, LONG* width, LONG* height, WORD* bitsPerPixel) {
  const MadeBitmap* made = Made(bitmap);
  if (!made) return FALSE;
  if (width) *width = made->width;
  if (height) *height = made->height;
  if (bitsPerPixel) *bitsPerPixel = made->bitsPerPixel;
  return TRUE;
}

void DuiDeleteBitmap(HBITMAP bitmap) {
  MadeBitmap* made = const_cast<MadeBitmap*>(Made(bitmap));
  if (!made) return;
  made->magic = 0;
  delete made;
}

BOOL DuiDrawIcon(HDC dc, HMODULE module, UINT iconId, int x, int y) {
  if (!dc || !module) return FALSE;
  SimDrawCall call = Call(kSimDrawIcon, dc);
  call.id = iconId;
  call.x = x;
  call.y = y;
  SimDrawRecord(&call);
  return TRUE;
}
// ---- edits and scroll bars ----

int DuiScrollArrowWidth() { return 16; }
