// Drawing the palette pictures of the resource DLLs and .bmp files into the pages: layered
// option pictures, list and combo icons, marks and button faces, drawn transparently over the
// page's background, optionally buffered, stretched or with adjusted colours.
#pragma once
#include "core/context/driver_context.h"
#include "core/front/dialog_records.h"
#include "platform/win32.h"

// Drawing flags, OR-ed.
enum : DWORD {
  kImgNoTheme = 0x1,       // key pixels show the target's own pixels
  kImgStretch = 0x2,       // the picture fills the target
  kImgOpaque = 0x4,        // copied as it is, without key colour
  kImgCentreX = 0x10,
  kImgRight = 0x20,
  kImgCentreY = 0x40,
  kImgBottom = 0x80,
  kImgOnBase = 0x1000,     // the picture lies on a base picture
  kImgAnd = 0x2000,        // combined with SRCAND
  kImgMergePaint = 0x4000,  // combined with MERGEPAINT
};

// Draws picture `pictureId` in the control window (the window's client area), or without a
// window in `rect`, centred; the picture's layout row adds its offsets and placement flags.
void ResDrawImageInWindow(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, HWND window,
                          const RECT* rect, UINT pictureId, DWORD flags, BOOL noTheme);
// Draws one picture with its anchor at (x, y) in rect: picture 0 is the UI state's prepared
// bitmap, an id below 0x10000 a resource picture, a path whose second character is ':' a .bmp
// file, anything else a resource name of the common DLL.
void ResDrawImage(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, HDC dc, const RECT* rect,
                  int x, int y, LPCWSTR picture, DWORD flags, BOOL noTheme);
// Draws a resource picture transparently, with adjusted colours when flags has kImgStretch.
void ResDrawImageAdjusted(DriverContext* ctx, HDC dc, const RECT* rect, int x, int y, UINT pictureId, DWORD flags);
// Buffered drawing: every draw between the two goes into a memory DC, copied (or stretched) to
// the window, or to rect, at the end.
void ResBeginBufferedDraw(DriverContext* ctx);
void ResEndBufferedDraw(DriverContext* ctx, HWND window, const RECT* rect);
