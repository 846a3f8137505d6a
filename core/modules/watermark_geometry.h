// The geometry of the watermark and copy-protect previews: plain functions of the settings, the
// picture's rectangle and the measured text, so that what the previews draw is decided here and
// the drawing only carries it out.
#pragma once
#include <vector>

#include "platform/win32.h"

// Sine and cosine of a whole degree (any angle, taken modulo 360) times 100, rounded.
int WmSin100(int degrees);
int WmCos100(int degrees);
// A point turned by the angle about (0, 0), each coordinate divided by 100 toward zero.
POINT WmTurnPoint(POINT point, int degrees);

// The preview's colour of a colour code over grey level `grey`: 1 red, 2 green, 3 blue, 4 green
// and blue, 5 red and blue, 6 red and green at 255; any other code keeps the grey.
COLORREF WmPreviewColour(int code, int grey);
// Grey levels: a watermark's density in percent; a copy protection's density 0-5.
int WmWatermarkGrey(int densityPercent);
int WmCopyProtectGrey(int density);

// Where a drawing of W x H goes in a bitmap of bw x bh by its position code: 0 centre, 2 top
// centre, 4 top right, 8 bottom left, 16 bottom centre, 32 bottom right, else top left.
POINT WmPositionOrigin(int code, int width, int height, int bitmapWidth, int bitmapHeight);

// The bitmap of a page picture of w x h units and its place in the drawing rectangle.
struct WmPreviewFrame {
  int width;   // w - 2
  int height;  // h - 2
  int left;
  int top;
};
enum WmPreviewKind { kWmPreviewWatermark, kWmPreviewCopyProtect };
// FALSE when the page leaves no bitmap (w or h of 2 or less).
BOOL WmPreviewFrameOf(WmPreviewKind kind, int pageWidth, int pageHeight, const RECT& rect, WmPreviewFrame* frame);

// The font height of `points` on a page whose shorter side is `shortSideDots` at `resolution`
// dots per inch: points * 50 / 72 (rounded) over the side in inches, raised to 2 (to 3 with a
// nonzero angle). 0 when the side, the resolution or the side in inches is 0: nothing is drawn.
int WmPreviewFontHeight(int points, int shortSideDots, int resolution, int angle);

// A text box of width x height with its text origin, turned by (360 - angle) mod 360 about
// (0, 0) and moved so that its smallest x and y are 0; the drawing's size is its largest x and y.
struct WmTurnedBox {
  POINT corners[4];  // (0, 0), (0, height), (width, height), (width, 0), turned
  POINT origin;      // the text origin, turned
  int width;
  int height;
};
WmTurnedBox WmTurnBox(int width, int height, POINT origin, int angle);
// The circle effect: the square's side (the box's larger side + 12), and the box centred in it
// with its origin, both turned about the square's centre.
struct WmCircleBox {
  int side;
  POINT corners[4];
  POINT origin;
};
WmCircleBox WmCircleOf(int width, int height, POINT origin, int angle);

// The cells of a tiling: rows from the top, columns from the left, steps stepX and stepY (at
// least 1), every cell whose origin lies inside the bitmap.
std::vector<POINT> WmTileOrigins(int stepX, int stepY, int bitmapWidth, int bitmapHeight);

// An image watermark's size in the preview: its pixel size times the scale percent and the
// resolution / 100, times 50 / the shorter side in dots; computed in 64 bits, at least 1 for a
// non-empty image and at most the bitmap. Zero for an empty image or a zero side.
SIZE WmPreviewImageSize(int pixelWidth, int pixelHeight, int scalePercent, int resolution, int shortSideDots,
                        int bitmapWidth, int bitmapHeight);

// The rows of a repeated copy-protect text: rows from the top every height + gap; each row's
// top, whether it is a turned row (every second row with reverse on) and the x of each drawing
// in it: from the left every width + 1, a turned row from the right edge leftwards every
// turnedWidth + 1.
struct WmPatternRow {
  int top;
  bool turned;
  std::vector<int> xs;
};
std::vector<WmPatternRow> WmPatternRows(int width, int height, int turnedWidth, int turnedHeight, int gap,
                                        bool reverse, int bitmapWidth, int bitmapHeight);

// The width a text needs: its extent, or the sum of its characters' A + B + C widths when that
// is larger, a negative A of the first character and C of the last added back (they reach out
// of the box). widths holds one entry per character; count 0 gives the extent.
LONG WmTextWidth(LONG extent, const ABC* widths, int count);
// The escapement (tenths of a degree) of a text turned upside down: 1800 more, or 1800 less from
// 1800 on.
int WmReverseEscapement(int escapement);

// The margin dialog without its edge, crop and creep controls: those shrink to one pixel at the
// top-left of the point marker, the buttons and the unit button move up, and the dialog moves to
// its owner's corner, a button's height lower, and loses the height between the marker and the
// buttons. Rectangles of controls are in the dialog's client coordinates, of windows the
// screen's.
RECT WmMarginHiddenRect(const RECT& marker);
// The rectangle moved (not sized) so that its top is `top`.
RECT WmMoveToTop(const RECT& rect, LONG top);
RECT WmMarginDialogRect(const RECT& dialog, const RECT& owner, const RECT& marker, const RECT& okButton);
