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

// Sets one field of the DC's state and answers what it held.
template <typename T>
T Exchange(HDC dc, T SimDrawDcState::*field, T value) {
  SimDrawDcState state = State(dc);
  const T old = state.*field;
  state.*field = value;
  SimDrawSetDcState(dc, &state);
  return old;
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
  const COLORREF old = Exchange(dc, &SimDrawDcState::textColour, colour);
  SimDrawCall call = Call(kSimDrawTextColour, dc);
  call.colour = colour;
  SimDrawRecord(&call);
  return old;
}

COLORREF DuiSetBkColor(HDC dc, COLORREF colour) {
  const COLORREF old = Exchange(dc, &SimDrawDcState::bkColour, colour);
  SimDrawCall call = Call(kSimDrawBkColour, dc);
  call.colour = colour;
  SimDrawRecord(&call);
  return old;
}

int DuiSetBkMode(HDC dc, int mode) {
  const int old = Exchange(dc, &SimDrawDcState::bkMode, mode);
  SimDrawCall call = Call(kSimDrawBkMode, dc);
  call.flags = static_cast<DWORD>(mode);
  SimDrawRecord(&call);
  return old;
}

HFONT DuiWindowFont(HWND window) { return reinterpret_cast<HFONT>(SimUiSend(window, WM_GETFONT, 0, 0)); }

HFONT DuiSelectFont(HDC dc, HFONT font) {
  const HFONT old = Exchange(dc, &SimDrawDcState::font, font);
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
  SimDrawCall call = Call(kSimDrawMade, NULL);
  call.handle = brush;
  call.flags = kSimDrawObjectBrush;
  call.colour = colour;
  SimDrawRecord(&call);
  return reinterpret_cast<HBRUSH>(brush);
}

HBRUSH DuiStockBrush(int stockObject) {
  return reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(stockObject + 1));
}

void DuiDeleteBrush(HBRUSH brush) {
  if (reinterpret_cast<UINT_PTR>(brush) <= 64) return;
  SimDrawCall call = Call(kSimDrawDeleted, NULL);
  call.handle = brush;
  call.flags = kSimDrawObjectBrush;
  call.x = SimDrawObjectSelected(brush) ? 1 : 0;
  SimDrawRecord(&call);
  delete reinterpret_cast<MadeBrush*>(brush);
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
  const SimDrawDcState state = State(dc);
  call.colour = state.textColour;
  call.handle = state.font;
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
  SimDrawCall call = Call(kSimDrawMade, NULL);
  call.handle = made;
  call.flags = kSimDrawObjectBitmap;
  call.rect = RECT{0, 0, made->width, made->height};
  call.id = id;
  SimDrawRecord(&call);
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
  SimDrawCall call = Call(kSimDrawDeleted, NULL);
  call.handle = made;
  call.flags = kSimDrawObjectBitmap;
  call.x = SimDrawObjectSelected(made) ? 1 : 0;
  SimDrawRecord(&call);
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
// ---- off-screen drawing ----

namespace {

// Fonts and pens the drawing made: heap records of what they were made of.
struct MadeFont {
  DWORD magic;
  LOGFONTW logFont;
};
constexpr DWORD kFontMagic = 0x544e4f46;
struct MadePen {
  DWORD magic;
  COLORREF colour;
};
constexpr DWORD kPenMagic = 0x204e4550;

const MadeFont* FontOf(HFONT font) {
  const MadeFont* made = reinterpret_cast<const MadeFont*>(font);
  return made && made->magic == kFontMagic ? made : nullptr;
}

const MadePen* PenOf(HPEN pen) {
  const MadePen* made = reinterpret_cast<const MadePen*>(pen);
  return made && made->magic == kPenMagic ? made : nullptr;
}

COLORREF PenColour(HDC dc) {
  const MadePen* pen = PenOf(State(dc).pen);
  return pen ? pen->colour : 0;
}

void RecordDeleted(HANDLE object, DWORD kind) {
  SimDrawCall call = Call(kSimDrawDeleted, NULL);
  call.handle = object;
  call.flags = kind;
  call.x = SimDrawObjectSelected(object) ? 1 : 0;
  SimDrawRecord(&call);
}

void RecordSelect(HDC dc, HANDLE object, DWORD kind) {
  SimDrawCall call = Call(kSimDrawSelect, dc);
  call.handle = object;
  call.flags = kind;
  SimDrawRecord(&call);
}

}  // namespace

HDC DuiCreateMemoryDc(HDC dc) {
  HDC made = SimDrawFreeDc();
  if (!made) return NULL;
  SimDrawCall call = Call(kSimDrawMade, NULL);
  call.handle = made;
  call.handle2 = dc;
  call.flags = kSimDrawObjectDc;
  SimDrawRecord(&call);
  return made;
}

void DuiDeleteMemoryDc(HDC dc) {
  if (!dc) return;
  const SimDrawDcState state = State(dc);
  SimDrawCall call = Call(kSimDrawDeleted, NULL);
  call.handle = dc;
  call.flags = kSimDrawObjectDc;
  call.x = state.bitmap || state.pen || state.brush || FontOf(state.font) ? 1 : 0;
  SimDrawRecord(&call);
  SimDrawForgetDc(dc);
}

HBITMAP DuiCreateCompatibleBitmap(HDC dc, int width, int height) {
  if (!dc || width <= 0 || height <= 0) return NULL;
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof(header);
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 32;
  return MakeBitmap(&header, 0);
}

HBITMAP DuiSelectBitmap(HDC dc, HBITMAP bitmap) {
  const HBITMAP old = Exchange(dc, &SimDrawDcState::bitmap, bitmap);
  RecordSelect(dc, bitmap, kSimDrawObjectBitmap);
  return old;
}

HPEN DuiSelectPen(HDC dc, HPEN pen) {
  const HPEN old = Exchange(dc, &SimDrawDcState::pen, pen);
  RecordSelect(dc, pen, kSimDrawObjectPen);
  return old;
}

HBRUSH DuiSelectBrush(HDC dc, HBRUSH brush) {
  const HBRUSH old = Exchange(dc, &SimDrawDcState::brush, brush);
  RecordSelect(dc, brush, kSimDrawObjectBrush);
  return old;
}

BOOL DuiFontLogFont(HFONT font, LOGFONTW* logFont) {
  const MadeFont* made = FontOf(font);
  if (!made || !logFont) return FALSE;
  *logFont = made->logFont;
  return TRUE;
}

HFONT DuiCreateFont(const LOGFONTW* logFont) {
  if (!logFont) return NULL;
  MadeFont* made = new MadeFont;
  made->magic = kFontMagic;
  made->logFont = *logFont;
  SimDrawCall call = Call(kSimDrawMade, NULL);
  call.handle = made;
  call.flags = kSimDrawObjectFont;
  call.y = logFont->lfHeight;
  call.x = logFont->lfEscapement;
  call.id = static_cast<UINT>(logFont->lfWeight);
  call.colour2 = logFont->lfItalic;
  SetText(&call, logFont->lfFaceName, -1);
  SimDrawRecord(&call);
  return reinterpret_cast<HFONT>(made);
}

void DuiDeleteFont(HFONT font) {
  MadeFont* made = const_cast<MadeFont*>(FontOf(font));
  if (!made) return;
  RecordDeleted(made, kSimDrawObjectFont);
  made->magic = 0;
  delete made;
}

HPEN DuiCreatePen(COLORREF colour) {
  MadePen* made = new MadePen;
  made->magic = kPenMagic;
  made->colour = colour;
  SimDrawCall call = Call(kSimDrawMade, NULL);
  call.handle = made;
  call.flags = kSimDrawObjectPen;
  call.colour = colour;
  SimDrawRecord(&call);
  return reinterpret_cast<HPEN>(made);
}

void DuiDeletePen(HPEN pen) {
  MadePen* made = const_cast<MadePen*>(PenOf(pen));
  if (!made) return;
  RecordDeleted(made, kSimDrawObjectPen);
  made->magic = 0;
  delete made;
}

BOOL DuiCharWidths(HDC dc, WCHAR character, ABC* widths) {
  (void)dc;
  (void)character;
  if (!widths) return FALSE;
  LONG advance = 7, height = 13, a = 0, c = 0;
  SimDrawGetTextMetrics(&advance, &height);
  SimDrawGetCharOverhang(&a, &c);
  widths->abcA = a;
  widths->abcB = static_cast<UINT>(advance - a - c);
  widths->abcC = c;
  return TRUE;
}

void DuiBeginPath(HDC dc) {
  SimDrawCall call = Call(kSimDrawBeginPath, dc);
  SimDrawRecord(&call);
}

void DuiEndPath(HDC dc) {
  SimDrawCall call = Call(kSimDrawEndPath, dc);
  SimDrawRecord(&call);
}

void DuiStrokePath(HDC dc) {
  SimDrawCall call = Call(kSimDrawStrokePath, dc);
  call.colour = PenColour(dc);
  SimDrawRecord(&call);
}

void DuiEllipse(HDC dc, const RECT* rect) {
  SimDrawCall call = Call(kSimDrawEllipse, dc);
  SetRect(&call, rect);
  call.colour = PenColour(dc);
  SimDrawRecord(&call);
}

void DuiPolyline(HDC dc, const POINT* points, int count) {
  SimDrawCall call = Call(kSimDrawPolyline, dc);
  call.pointCount = count;
  for (int i = 0; points && i < count && i < 8; ++i) call.points[i] = points[i];
  call.colour = PenColour(dc);
  SimDrawRecord(&call);
}

BOOL DuiBitBlt(HDC dc, int x, int y, int width, int height, HDC source, int sx, int sy, DWORD rop) {
  if (!dc) return FALSE;
  SimDrawCall call = Call(kSimDrawBitBlt, dc);
  call.rect = RECT{x, y, x + width, y + height};
  call.handle = source;
  call.points[0] = POINT{sx, sy};
  call.pointCount = 1;
  call.flags = rop;
  SimDrawRecord(&call);
  return TRUE;
}

BOOL DuiStretchBlt(HDC dc, int x, int y, int width, int height, HDC source, int sx, int sy, int sw, int sh,
                   DWORD rop) {
  if (!dc || !source) return FALSE;
  SimDrawCall call = Call(kSimDrawStretchBlt, dc);
  call.rect = RECT{x, y, x + width, y + height};
  call.handle = source;
  call.points[0] = POINT{sx, sy};
  call.points[1] = POINT{sw, sh};
  call.pointCount = 2;
  call.flags = rop;
  SimDrawRecord(&call);
  return TRUE;
}

BOOL DuiPatBlt(HDC dc, int x, int y, int width, int height, DWORD rop) {
  if (!dc) return FALSE;
  SimDrawCall call = Call(kSimDrawPatBlt, dc);
  call.rect = RECT{x, y, x + width, y + height};
  call.flags = rop;
  HBRUSH brush = State(dc).brush;
  call.handle = brush;
  call.colour = reinterpret_cast<UINT_PTR>(brush) > 64 ? reinterpret_cast<MadeBrush*>(brush)->colour : CLR_INVALID;
  SimDrawRecord(&call);
  return TRUE;
}

COLORREF DuiNearestColour(HDC dc, COLORREF colour) {
  (void)dc;
  return SimDrawNearestColour(colour);
}

// ---- edits and scroll bars ----

int DuiScrollArrowWidth() { return 16; }
