// The watermark and copy-protect previews' geometry.
#include "core/modules/watermark_geometry.h"

namespace {

// sin(d) x 100, rounded, for d = 0 to 90; the other quadrants follow by symmetry.
const signed char kQuarterSine[91] = {
    0, 2, 3, 5, 7, 9, 10, 12, 14, 16, 17, 19, 21, 22, 24, 26, 28, 29, 31, 33, 34, 36, 37, 39, 41, 42,
    44, 45, 47, 48, 50, 52, 53, 54, 56, 57, 59, 60, 62, 63, 64, 66, 67, 68, 69, 71, 72, 73, 74, 75, 77,
    78, 79, 80, 81, 82, 83, 84, 85, 86, 87, 87, 88, 89, 90, 91, 91, 92, 93, 93, 94, 95, 95, 96, 96, 97,
    97, 97, 98, 98, 98, 99, 99, 99, 99, 100, 100, 100, 100, 100, 100,
};

int Mod360(int degrees) {
  int d = degrees % 360;
  return d < 0 ? d + 360 : d;
}

// MulDiv's rounding: to the nearest, halves away from zero.
int MulDivRound(long long a, long long b, long long c) {
  if (c == 0) return -1;
  long long product = a * b;
  long long half = (c < 0 ? -c : c) / 2;
  bool negative = (product < 0) != (c < 0);
  long long magnitude = (product < 0 ? -product : product) + half;
  long long q = magnitude / (c < 0 ? -c : c);
  return static_cast<int>(negative ? -q : q);
}

POINT Turn(POINT p, int degrees, POINT about) {
  POINT relative = {p.x - about.x, p.y - about.y};
  POINT turned = WmTurnPoint(relative, degrees);
  return POINT{turned.x + about.x, turned.y + about.y};
}

}  // namespace

int WmSin100(int degrees) {
  const int d = Mod360(degrees);
  if (d <= 90) return kQuarterSine[d];
  if (d <= 180) return kQuarterSine[180 - d];
  if (d <= 270) return -kQuarterSine[d - 180];
  return -kQuarterSine[360 - d];
}

int WmCos100(int degrees) { return WmSin100(Mod360(degrees) + 90); }

POINT WmTurnPoint(POINT point, int degrees) {
  const long long s = WmSin100(degrees), c = WmCos100(degrees);
  POINT out;
  out.x = static_cast<LONG>((c * point.x - s * point.y) / 100);
  out.y = static_cast<LONG>((s * point.x + c * point.y) / 100);
  return out;
}

COLORREF WmPreviewColour(int code, int grey) {
  int r = grey, g = grey, b = grey;
  switch (code) {
    case 1: r = 255; break;
    case 2: g = 255; break;
    case 3: b = 255; break;
    case 4: g = 255; b = 255; break;
    case 5: r = 255; b = 255; break;
    case 6: r = 255; g = 255; break;
    default: break;
  }
  return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

int WmWatermarkGrey(int densityPercent) { return MulDivRound(255, 100 - densityPercent, 100); }

int WmCopyProtectGrey(int density) { return 255 * (5 - density) / 5; }

POINT WmPositionOrigin(int code, int width, int height, int bitmapWidth, int bitmapHeight) {
  const int centreX = (bitmapWidth - width) / 2;
  const int right = bitmapWidth - width;
  const int bottom = bitmapHeight - height;
  switch (code) {
    case 0: return POINT{centreX, (bitmapHeight - height) / 2};
    case 2: return POINT{centreX, 0};
    case 4: return POINT{right, 0};
    case 8: return POINT{0, bottom};
    case 16: return POINT{centreX, bottom};
    case 32: return POINT{right, bottom};
    default: return POINT{0, 0};
  }
}

BOOL WmPreviewFrameOf(WmPreviewKind kind, int pageWidth, int pageHeight, const RECT& rect, WmPreviewFrame* frame) {
  if (!frame || pageWidth <= 2 || pageHeight <= 2) return FALSE;
  frame->width = pageWidth - 2;
  frame->height = pageHeight - 2;
  const bool portrait = frame->width < frame->height;
  frame->left = (rect.left + rect.right) / 2 - frame->width / 2;
  frame->top = (rect.top + rect.bottom) / 2 - frame->height / 2;
  if (kind == kWmPreviewWatermark) {
    frame->left -= 1;
    frame->top -= portrait ? 2 : 3;
  } else {
    frame->left -= 2;
    frame->top -= portrait ? 2 : 1;
  }
  return TRUE;
}

int WmPreviewFontHeight(int points, int shortSideDots, int resolution, int angle) {
  if (shortSideDots <= 0 || resolution <= 0) return 0;
  const int inches = shortSideDots / resolution;
  if (inches <= 0) return 0;
  int height = MulDivRound(points, 50, 72) / inches;
  if (height <= 2 && angle != 0) return 3;
  if (height <= 1) return 2;
  return height;
}

WmTurnedBox WmTurnBox(int width, int height, POINT origin, int angle) {
  const int turn = Mod360(360 - angle);
  const POINT corners[4] = {{0, 0}, {0, height}, {width, height}, {width, 0}};
  WmTurnedBox box;
  LONG minX = 0, minY = 0;
  for (int i = 0; i < 4; ++i) {
    box.corners[i] = WmTurnPoint(corners[i], turn);
    if (i == 0 || box.corners[i].x < minX) minX = box.corners[i].x;
    if (i == 0 || box.corners[i].y < minY) minY = box.corners[i].y;
  }
  box.origin = WmTurnPoint(origin, turn);
  box.width = 0;
  box.height = 0;
  for (POINT& p : box.corners) {
    p.x -= minX;
    p.y -= minY;
    if (p.x > box.width) box.width = p.x;
    if (p.y > box.height) box.height = p.y;
  }
  box.origin.x -= minX;
  box.origin.y -= minY;
  return box;
}

WmCircleBox WmCircleOf(int width, int height, POINT origin, int angle) {
  const int turn = Mod360(360 - angle);
  WmCircleBox circle;
  circle.side = (width > height ? width : height) + 12;
  const POINT centre = {circle.side / 2, circle.side / 2};
  const int left = (circle.side - width) / 2, top = (circle.side - height) / 2;
  const POINT corners[4] = {{left, top}, {left, top + height}, {left + width, top + height}, {left + width, top}};
  for (int i = 0; i < 4; ++i) circle.corners[i] = Turn(corners[i], turn, centre);
  circle.origin = Turn(POINT{left + origin.x, top + origin.y}, turn, centre);
  return circle;
}

std::vector<POINT> WmTileOrigins(int stepX, int stepY, int bitmapWidth, int bitmapHeight) {
  std::vector<POINT> cells;
  if (stepX < 1) stepX = 1;
  if (stepY < 1) stepY = 1;
  for (int y = 0; y < bitmapHeight; y += stepY)
    for (int x = 0; x < bitmapWidth; x += stepX) cells.push_back(POINT{x, y});
  return cells;
}

SIZE WmPreviewImageSize(int pixelWidth, int pixelHeight, int scalePercent, int resolution, int shortSideDots,
                        int bitmapWidth, int bitmapHeight) {
  SIZE size = {0, 0};
  if (pixelWidth <= 0 || pixelHeight <= 0 || shortSideDots <= 0) return size;
  auto scaled = [&](int pixels, int bound) -> LONG {
    long long v = static_cast<long long>(pixels) * scalePercent / 100 * (resolution / 100);
    v = v * 50 / shortSideDots;
    if (v < 1) v = 1;
    if (v > bound) v = bound > 0 ? bound : 1;
    return static_cast<LONG>(v);
  };
  size.cx = scaled(pixelWidth, bitmapWidth);
  size.cy = scaled(pixelHeight, bitmapHeight);
  return size;
}

std::vector<WmPatternRow> WmPatternRows(int width, int height, int turnedWidth, int turnedHeight, int gap,
                                        bool reverse, int bitmapWidth, int bitmapHeight) {
  (void)turnedHeight;  // rows keep the upright text's height, turned or not
  std::vector<WmPatternRow> rows;
  if (width <= 0 || height <= 0 || bitmapWidth <= 0) return rows;
  const int turned = turnedWidth > 0 ? turnedWidth : width;
  const int pitch = height + (gap > 0 ? gap : 0);
  for (int top = 0, index = 0; top < bitmapHeight; top += pitch, ++index) {
    WmPatternRow row;
    row.top = top;
    row.turned = reverse && index % 2 == 1;
    if (row.turned) {
      for (int x = bitmapWidth - turned; x + turned > 0; x -= turned + 1) row.xs.push_back(x);
    } else {
      for (int x = 0; x < bitmapWidth; x += width + 1) row.xs.push_back(x);
    }
    rows.push_back(row);
  }
  return rows;
}

LONG WmTextWidth(LONG extent, const ABC* widths, int count) {
  if (!widths || count <= 0) return extent;
  long long sum = 0;
  for (int i = 0; i < count; ++i)
    sum += static_cast<long long>(widths[i].abcA) + widths[i].abcB + widths[i].abcC;
  if (widths[0].abcA < 0) sum -= widths[0].abcA;
  if (widths[count - 1].abcC < 0) sum -= widths[count - 1].abcC;
  return sum > extent ? static_cast<LONG>(sum) : extent;
}

int WmReverseEscapement(int escapement) { return escapement > 1799 ? escapement - 1800 : escapement + 1800; }

RECT WmMarginHiddenRect(const RECT& marker) { return RECT{marker.left, marker.top, marker.left + 1, marker.top + 1}; }

RECT WmMoveToTop(const RECT& rect, LONG top) { return RECT{rect.left, top, rect.right, top + rect.bottom - rect.top}; }

RECT WmMarginDialogRect(const RECT& dialog, const RECT& owner, const RECT& marker, const RECT& okButton) {
  const LONG width = dialog.right - dialog.left;
  const LONG height = dialog.bottom - dialog.top - (okButton.top - marker.bottom);
  const LONG top = owner.top + (okButton.bottom - okButton.top);
  return RECT{owner.left, top, owner.left + width, top + height};
}
