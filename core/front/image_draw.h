// Drawing the palette pictures of the resource DLLs and .bmp files into the pages: layered
// option pictures, list and combo icons, marks and button faces, drawn transparently over the
// page's background, optionally buffered, stretched or with adjusted colours.
#pragma once
#include "core/context/driver_context.h"
#include "core/front/dialog_records.h"
#include "core/front/picture_parts.h"
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

// The key colour of the palette pictures (4-bit pictures use their bottom-left pixel's colour).
constexpr COLORREF kImgKeyColour = 0x3300CC;

// A colour with the UI state's six adjustment parameters applied; grey gives the luminance in
// all three channels. All parameters at 50 give the colour back.
COLORREF ResAdjustColour(DriverContext* ctx, COLORREF colour, BOOL grey);
// The process's display palette. With a null dc: 1 when the display is palette-based, else 0.
// On a palette-based display, index 0-255 stores colour as that entry (other indexes are
// ignored) and a negative index selects and realises the palette in dc, answering the palette
// it had; on other displays nothing is done and 0 is answered.
LONG_PTR ResBuildDisplayPalette(HDC dc, int index, COLORREF colour);
// comctl32's version as major x 100 + minor; 0 when it cannot be had.
UINT ResGetComctlVersion();

// ---- the decisions of the drawing, as plain functions ----

// The adjustment itself: params are lightness, contrast, saturation, red, green, blue.
COLORREF ImgAdjustColour(const LONG params[6], COLORREF colour, BOOL grey);
// What the themed background of a picture depends on.
struct ImgThemeFacts {
  BOOL drawCallFound;   // the theme library and its background drawing call were found
  BOOL themeOpened;     // theme data of the tab class opened for the page's window
  BOOL backgroundMade;  // the background DC and bitmap were made
  BOOL noTheme;         // the caller asked for none
  BOOL modalPage;       // the page is shown as a modal dialog
  BOOL themeActive;
  UINT comctlVersion;   // major x 100 + minor
  COLORREF background;  // the UI state's background colour
  COLORREF buttonFace;  // the system's COLOR_BTNFACE
};
// TRUE when the picture's key pixels show the page's themed pane.
BOOL ImgUseTheme(const ImgThemeFacts* facts);
// The anchor moved by the placement flags within rect: the whole (0x20) or half (0x10) of its
// width, the whole (0x80) or half (0x40) of its height.
POINT ImgPlaceAnchor(const RECT* rect, POINT at, DWORD flags);
// The picture's top-left for an anchor: moved left by its width (0x20) or half of it (0x10), up
// by its height (0x80) or half of it (0x40).
POINT ImgAlignPicture(POINT anchor, LONG width, LONG height, DWORD flags);
// The process's palette entries as stored by ResBuildDisplayPalette (256).
const COLORREF* ImgDisplayPaletteEntries();
// Stores one entry; FALSE (nothing stored) outside 0-255.
BOOL ImgStorePaletteEntry(int index, COLORREF colour);
// How a picture is drawn in a control: the target rectangle (the window's client rectangle, or
// rect with centring when there is no window, or the picture's own size with kImgStretch), the
// anchor from the layout row's offsets and the placement flags, the base picture drawn first
// with its flags, the flags of the picture itself, and the background colour the row sets.
struct ImgWindowPlan {
  RECT target;
  POINT at;
  UINT baseId;         // 0: no base picture
  DWORD baseFlags;
  DWORD pictureFlags;
  BOOL setBackground;
  COLORREF background;
};
// client is the control window's client rectangle, or null without a window; the picture's size
// counts only with kImgStretch.
ImgWindowPlan ImgPlanWindowDraw(const PicturePartRow* row, const RECT* client, const RECT* rect, DWORD flags,
                                LONG pictureWidth, LONG pictureHeight);
