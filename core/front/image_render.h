// The pixel half of the image drawing: masks, blits, palettes and the themed pane on Windows
// (image_render_win32.cpp), the drawing interface's recording natively (image_render_fake.cpp).
// The decisions (which picture, where, with which flags) are made before, in image_draw.cpp.
#pragma once
#include "core/front/dialog_state.h"
#include "core/front/image_draw.h"

enum ImgRenderMode {
  kImgRenderKeyed,      // key colour, theme or background, then the flags' combination
  kImgRenderStretch,    // a file picture stretched into the rectangle
  kImgRenderNatural,    // a resource picture with adjusted palette at its natural size
  kImgRenderAdjusted,   // transparent over the target, palette adjusted with kImgStretch
};

struct ImgRenderJob {
  HDC target;           // the DC drawn into: the memory DC while buffering
  RECT rect;            // the target rectangle in that DC
  POINT at;             // the picture's top-left in the DC
  DWORD flags;
  HBITMAP bitmap;
  LONG width;
  LONG height;
  WORD bitsPerPixel;
  UINT pictureId;       // resource pictures; 0 for files, names and the prepared bitmap
  HMODULE module;       // the resource DLL of the picture
  BOOL file;            // a .bmp file or a prepared bitmap: no key colour
  BOOL grey;            // adjusted pictures drawn in grey
  const LONG* adjust;   // the six adjustment parameters
  COLORREF background;
  BOOL noTheme;
  BOOL modalPage;
  HWND pageWindow;
  HWND controlWindow;
};

// Draws the job; FALSE when a DC or bitmap could not be made (nothing drawn).
BOOL ImgRender(const ImgRenderJob* job, ImgRenderMode mode);
// The buffer of the drawing state: made compatible with target holding a copy of rect; copied to
// dc's rectangle (stretched from the stored image size when the stretched flag is set); freed.
BOOL ImgMakeBuffer(DlgDrawState* draw, HDC target, const RECT* rect);
void ImgCopyBuffer(const DlgDrawState* draw, HDC dc, const RECT* rect);
void ImgFreeBuffer(DlgDrawState* draw);
// Whether the display is palette-based, asked once per process.
BOOL ImgDisplayUsesPalette();
// Makes a palette of the 256 entries, selects it into dc as foreground palette and realises it;
// answers the palette dc had.
HPALETTE ImgRealisePalette(HDC dc, const COLORREF* entries);
