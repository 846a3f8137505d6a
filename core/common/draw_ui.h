// The drawing interface of the dialogs: every operation that paints into a window of the
// property sheets, a dialog or a control goes through here, as window operations go through the
// window interface (core/common/window_ui.h). The native builds record each primitive in the
// simulated machine (SimDraw* in platform/sim.h: the kind, the DC, rectangles, points, colours,
// texts, picture ids and flags), so tests read what a handler drew; the Windows build calls
// gdi32 and user32, one or a few calls per operation and no decisions. DCs are handles of the
// implementation: natively tokens of the recording, on Windows real DCs.
#pragma once
#include "platform/win32.h"

// ---- device contexts ----

// A DC for drawing into the window's client area (GetDC); NULL when there is no window.
HDC DuiGetDc(HWND window);
void DuiReleaseDc(HWND window, HDC dc);
// Painting a window in answer to WM_PAINT: the DC and its paint rectangle (BeginPaint). NULL
// when there is no window.
HDC DuiBeginPaint(HWND window, PAINTSTRUCT* paint);
void DuiEndPaint(HWND window, const PAINTSTRUCT* paint);
// Clears a window's pending repaint without painting (ValidateRect of the whole window).
void DuiValidate(HWND window);
// Saves and restores the DC's objects, colours and clip region (SaveDC, RestoreDC).
int DuiSaveDc(HDC dc);
void DuiRestoreDc(HDC dc, int saved);
// Limits drawing to the rectangle, or keeps the rectangle out (IntersectClipRect,
// ExcludeClipRect).
void DuiIntersectClip(HDC dc, const RECT* rect);
void DuiExcludeClip(HDC dc, const RECT* rect);

// ---- colours and fonts ----

// The system colour COLOR_... (natively a fixed table of the classic scheme).
COLORREF DuiSysColor(int index);
// The DC's text colour, background colour and background mode (TRANSPARENT, OPAQUE); each set
// answers the old value.
COLORREF DuiSetTextColor(HDC dc, COLORREF colour);
COLORREF DuiSetBkColor(HDC dc, COLORREF colour);
int DuiSetBkMode(HDC dc, int mode);
// The font a window draws with (WM_GETFONT); NULL for the system font.
HFONT DuiWindowFont(HWND window);
// Selects the font into the DC and answers the one it had (NULL font: none selected).
HFONT DuiSelectFont(HDC dc, HFONT font);

// ---- shapes ----

// Fills the rectangle with a solid colour (FillRect with a solid brush).
void DuiFillRect(HDC dc, const RECT* rect, COLORREF colour);
// Fills the rectangle with a brush of the implementation (a stock brush GetStockObject answers,
// or one DuiSolidBrush made).
void DuiFillRectBrush(HDC dc, const RECT* rect, HBRUSH brush);
// A rectangle (Rectangle): inside filled with `fill`, outlined by a one-pixel solid pen of
// `pen`, or by the DC's current pen when pen is CLR_INVALID.
void DuiRectangle(HDC dc, const RECT* rect, COLORREF fill, COLORREF pen);
// A one-pixel line from (x1, y1) up to, not including, (x2, y2) (MoveToEx, LineTo).
void DuiLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour);
// A closed polygon filled with `fill` and outlined with `outline`.
void DuiPolygon(HDC dc, const POINT* points, int count, COLORREF fill, COLORREF outline);
// A dotted focus rectangle (DrawFocusRect).
void DuiFocusRect(HDC dc, const RECT* rect);
// Solid brushes for WM_CTLCOLOR... answers and fills; a made brush is deleted with DuiDeleteBrush.
HBRUSH DuiSolidBrush(COLORREF colour);
HBRUSH DuiStockBrush(int stockObject);  // WHITE_BRUSH, NULL_BRUSH, ...
void DuiDeleteBrush(HBRUSH brush);

// ---- text ----

// DrawTextW: the text (length -1: up to its terminator) in the rectangle with the DT_... format;
// DT_CALCRECT writes the rectangle the text needs. Answers the text's height.
int DuiDrawText(HDC dc, LPCWSTR text, int length, RECT* rect, UINT format);
// ExtTextOutW at (x, y) with the ETO_... options and their rectangle (NULL: none).
BOOL DuiTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, int length);
// The text's extent in the DC's font (GetTextExtentPoint32W). Natively each character advances
// by a fixed width the machine sets (SimDrawSetTextMetrics), the height is the font's height.
BOOL DuiTextExtent(HDC dc, LPCWSTR text, int length, SIZE* size);
// The DC's font: its height and average character width (GetTextMetricsW).
BOOL DuiTextMetrics(HDC dc, LONG* height, LONG* averageWidth);

// ---- pictures ----

// Draws picture `pictureId` of the resource DLL `module` (a bitmap) into the DC with its anchor
// at (x, y) inside `target`, taking the picture-drawing flags (placement, transparency, stretch).
// The image-drawing code decides the flags; natively the call is recorded with its picture id,
// rectangle, anchor and flags. FALSE when the picture cannot be had.
BOOL DuiDrawPicture(HDC dc, HMODULE module, UINT pictureId, const RECT* target, int x, int y, DWORD flags);

// ---- image drawing: bitmaps and icons ----

// A bitmap resource of the module (numeric id or name), kept as a palette bitmap with its colour
// table (LoadImageW as a DIB section) so masks can be made from its palette. NULL when the module
// has no such bitmap. Natively a token of the recording that knows the picture's size and depth.
HBITMAP DuiLoadBitmap(HMODULE module, LPCWSTR name);
// A bitmap for the display made from a checked info header, its colour table (biClrUsed or
// 2^bitcount entries of 4 bytes, none above 8 bits) and its pixels (CreateDIBitmap on a DC of
// the "DISPLAY" device). NULL on failure.
HBITMAP DuiCreateDisplayBitmap(const BITMAPINFOHEADER* header, const void* colours, const void* pixels);
// A bitmap's width, height and bits per pixel; FALSE for no bitmap.
BOOL DuiBitmapSize(HBITMAP bitmap, LONG* width, LONG* height, WORD* bitsPerPixel);
void DuiDeleteBitmap(HBITMAP bitmap);
// Draws icon iconId of the module with its top-left at (x, y) (LoadIconW, DrawIcon).
BOOL DuiDrawIcon(HDC dc, HMODULE module, UINT iconId, int x, int y);
// ---- off-screen drawing: memory DCs, fonts, pens, paths and blits ----
// Natively every object made and deleted is recorded (kSimDrawMade, kSimDrawDeleted with the
// note whether it was still selected), so tests see that a drawing leaves nothing behind.

// A memory DC compatible with dc (CreateCompatibleDC); NULL on failure. Deleted with
// DuiDeleteMemoryDc once the objects selected into it were selected out.
HDC DuiCreateMemoryDc(HDC dc);
void DuiDeleteMemoryDc(HDC dc);
// A bitmap of width x height compatible with dc (CreateCompatibleBitmap); NULL for an empty size
// or on failure. Deleted with DuiDeleteBitmap.
HBITMAP DuiCreateCompatibleBitmap(HDC dc, int width, int height);
// Selects the bitmap, pen or brush into the DC and answers the one it had.
HBITMAP DuiSelectBitmap(HDC dc, HBITMAP bitmap);
HPEN DuiSelectPen(HDC dc, HPEN pen);
HBRUSH DuiSelectBrush(HDC dc, HBRUSH brush);
// The LOGFONT of a font (GetObjectW); FALSE for no font.
BOOL DuiFontLogFont(HFONT font, LOGFONTW* logFont);
// A font of the LOGFONT, escapement included (CreateFontIndirectW); NULL on failure.
HFONT DuiCreateFont(const LOGFONTW* logFont);
void DuiDeleteFont(HFONT font);
// A one-pixel solid pen of the colour (CreatePen).
HPEN DuiCreatePen(COLORREF colour);
void DuiDeletePen(HPEN pen);
// One character's A, B and C widths in the DC's font (GetCharABCWidthsW). Natively B is the
// recording's advance less the scripted A and C (SimDrawSetCharOverhang).
BOOL DuiCharWidths(HDC dc, WCHAR character, ABC* widths);
// Paths: what is drawn between begin and end becomes the DC's path (BeginPath); the end closes
// the open figure (CloseFigure, EndPath); the stroke draws it with the DC's pen (StrokePath).
void DuiBeginPath(HDC dc);
void DuiEndPath(HDC dc);
void DuiStrokePath(HDC dc);
// The ellipse inscribed in the rectangle, outlined with the DC's pen and not filled (Ellipse with
// the hollow brush).
void DuiEllipse(HDC dc, const RECT* rect);
// Connected lines through the points with the DC's pen (Polyline).
void DuiPolyline(HDC dc, const POINT* points, int count);
// Blits with a raster operation: a copy of the source's (sx, sy) onto (x, y) at width x height
// (BitBlt), a stretch of its sw x sh (StretchBlt), and the DC's brush combined with the
// destination (PatBlt).
BOOL DuiBitBlt(HDC dc, int x, int y, int width, int height, HDC source, int sx, int sy, DWORD rop);
BOOL DuiStretchBlt(HDC dc, int x, int y, int width, int height, HDC source, int sx, int sy, int sw, int sh,
                   DWORD rop);
BOOL DuiPatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
// The colour the device shows for the colour (GetNearestColor).
COLORREF DuiNearestColour(HDC dc, COLORREF colour);

// ---- edits and scroll bars ----

// The width of a horizontal scroll bar's arrow (the system metric SM_CXHSCROLL); natively the
// machine's 16 pixels.
int DuiScrollArrowWidth();
