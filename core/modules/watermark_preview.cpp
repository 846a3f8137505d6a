// The watermark and copy-protect previews: the geometry comes from watermark_geometry.h, the
// drawing goes through the drawing interface into memory bitmaps of the picture's DC.
#include "core/modules/watermark_preview.h"

#include <vector>

#include "core/common/draw_ui.h"
#include "core/common/window_ui.h"
#include "core/context/ui_state.h"
#include "core/front/control_types.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/model/model_lookup.h"
#include "core/modules/watermark_geometry.h"
#include "core/system/resources.h"

namespace {

// Raster operations of the previews.
constexpr DWORD kRopSrcCopy = 0x00CC0020;
constexpr DWORD kRopSrcAnd = 0x008800C6;
constexpr DWORD kRopSrcPaint = 0x00EE0086;
constexpr DWORD kRopDstInvert = 0x00550009;
constexpr DWORD kRopPatAnd = 0x00A000C9;  // destination AND brush
constexpr DWORD kRopPatOr = 0x00FA0089;   // destination OR brush

constexpr COLORREF kWhite = 0xFFFFFF, kBlack = 0;

// Positions of the watermark item record (word 0 is its kind).
enum : int {
  kWmText = 1,
  kWmFace = 2,
  kWmStyle = 3,
  kWmEffect = 4,
  kWmColour = 5,
  kWmDensity = 6,
  kWmAngle = 7,
  kWmPoints = 8,
  kWmImage = 9,
  kWmScale = 10,
  kWmPosition = 11,
  kWmTiled = 12,
  kWmOpaque = 13,
};
constexpr int kEffectFrame = 1, kEffectCircle = 2, kEffectOutline = 3;

// Copy protection's items.
constexpr WORD kCpColour = 512, kCpDensity = 513, kCpCopyGuard = 515, kCpOutline = 517, kCpRepeat = 519,
               kCpReverse = 520, kCpPosition = 523, kCpText = 524, kCpFace = 525, kCpStyle = 526, kCpPoints = 527,
               kCpAngle = 528, kCpLinePitch = 529;
constexpr WORD kPicturePrinted = 2931, kPictureCopied = 2943;

constexpr int kTextChars = 80;

LONG Value(DriverContext* ctx, WORD id) { return id ? static_cast<LONG>(ItemGetRawById(ctx, id)) : 0; }

int Text(DriverContext* ctx, WORD id, WCHAR* buffer, int chars) {
  buffer[0] = 0;
  if (SettingItem* item = id ? ItemFind(ctx, id) : nullptr) ItemGetTextBounded(ctx, item, buffer, chars);
  int n = 0;
  while (n < chars && buffer[n]) ++n;
  return n;
}

// The DC the option picture is being drawn in: its buffer while buffering, else the DC given.
HDC PictureDc(DriverContext* ctx, const CtlPagePictureEvent* event) {
  const DlgDrawState* draw = ctx && ctx->ui ? &ctx->ui->dialog.draw : nullptr;
  if (draw && draw->memoryDc) return draw->memoryDc;
  if (event->dc) return event->dc;
  return draw ? draw->target : NULL;
}

// The page's scale: the shorter paper side in dots and the resolution; false when either, or
// the side in whole inches, is 0 (nothing can be drawn to scale).
struct Scale {
  int side;
  int resolution;
};
bool ScaleOf(DriverContext* ctx, Scale* scale) {
  const LONG width = Value(ctx, kItem_zdmDstPaperWidthDot), length = Value(ctx, kItem_zdmDstPaperLengthDot);
  scale->side = width < length ? width : length;
  scale->resolution = Value(ctx, kItem_zdmDstResolutionW);
  return scale->side > 0 && scale->resolution > 0 && scale->side / scale->resolution > 0;
}

// A memory DC with a bitmap of its own (or a bitmap given to it), selected out and deleted with
// the DC when it goes.
class Surface {
 public:
  Surface() = default;
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
  ~Surface() {
    if (dc_ && bitmap_) DuiSelectBitmap(dc_, previous_);
    if (dc_) DuiDeleteMemoryDc(dc_);
    if (bitmap_) DuiDeleteBitmap(bitmap_);
  }
  bool Make(HDC like, int width, int height) {
    dc_ = DuiCreateMemoryDc(like);
    if (!dc_) return false;
    bitmap_ = DuiCreateCompatibleBitmap(like, width, height);
    if (!bitmap_) return false;
    previous_ = DuiSelectBitmap(dc_, bitmap_);
    return true;
  }
  // Takes the bitmap over: it is deleted with the surface.
  bool Hold(HDC like, HBITMAP bitmap) {
    bitmap_ = bitmap;
    dc_ = DuiCreateMemoryDc(like);
    if (!dc_ || !bitmap_) return false;
    previous_ = DuiSelectBitmap(dc_, bitmap_);
    return true;
  }
  HDC dc() const { return dc_; }

 private:
  HDC dc_ = NULL;
  HBITMAP bitmap_ = NULL;
  HBITMAP previous_ = NULL;
};

// A font or pen made for a DC: selected in while it lives, selected out and deleted after.
class ScopedFont {
 public:
  ScopedFont(HDC dc, HFONT font) : dc_(dc), font_(font) {
    if (font_) previous_ = DuiSelectFont(dc_, font_);
  }
  ScopedFont(const ScopedFont&) = delete;
  ScopedFont& operator=(const ScopedFont&) = delete;
  ~ScopedFont() {
    if (!font_) return;
    DuiSelectFont(dc_, previous_);
    DuiDeleteFont(font_);
  }
  bool ok() const { return font_ != NULL; }

 private:
  HDC dc_;
  HFONT font_;
  HFONT previous_ = NULL;
};

class ScopedPen {
 public:
  ScopedPen(HDC dc, COLORREF colour) : dc_(dc), pen_(DuiCreatePen(colour)) {
    if (pen_) previous_ = DuiSelectPen(dc_, pen_);
  }
  ScopedPen(const ScopedPen&) = delete;
  ScopedPen& operator=(const ScopedPen&) = delete;
  ~ScopedPen() {
    if (!pen_) return;
    DuiSelectPen(dc_, previous_);
    DuiDeletePen(pen_);
  }

 private:
  HDC dc_;
  HPEN pen_;
  HPEN previous_ = NULL;
};

// Where the drawing goes: straight into the preview's bitmap in its colour, or, when the device
// cannot show that colour, in black into a white second bitmap blended in at the end.
struct Ink {
  HDC dc;
  COLORREF colour;
};

// The second bitmap combined with the first through a brush of the real colour: the drawing's
// pixels take the colour over what was there (replace) or are mixed into it.
void Blend(HDC first, HDC second, int width, int height, COLORREF colour, bool replace) {
  HBRUSH brush = DuiSolidBrush(colour);
  if (!brush) return;
  HBRUSH previous = DuiSelectBrush(second, brush);
  if (replace) {
    DuiBitBlt(first, 0, 0, width, height, second, 0, 0, kRopSrcAnd);
    DuiPatBlt(second, 0, 0, width, height, kRopDstInvert);
    DuiPatBlt(second, 0, 0, width, height, kRopPatAnd);
    DuiBitBlt(first, 0, 0, width, height, second, 0, 0, kRopSrcPaint);
  } else {
    DuiPatBlt(second, 0, 0, width, height, kRopPatOr);
    DuiBitBlt(first, 0, 0, width, height, second, 0, 0, kRopSrcAnd);
  }
  DuiSelectBrush(second, previous);
  DuiDeleteBrush(brush);
}

// The dialog's own font as the base of the preview's fonts (zeroes for the system font).
LOGFONTW BaseFont(const CtlPagePictureEvent* event) {
  LOGFONTW base = {};
  HWND picture = event->control ? event->control->window : NULL;
  HWND dialog = picture ? WuiParent(picture) : NULL;
  if (!DuiFontLogFont(DuiWindowFont(dialog ? dialog : picture), &base)) base = LOGFONTW{};
  return base;
}

// A preview font: the base with character set 1, no pitch and family, the face, the height, the
// escapement and the style (1 bold, 2 italic, 3 both).
HFONT MakeFont(const LOGFONTW& base, const WCHAR* face, int height, int escapement, int style) {
  LOGFONTW font = base;
  font.lfCharSet = 1;
  font.lfPitchAndFamily = 0;
  int i = 0;
  for (; face && face[i] && i < LF_FACESIZE - 1; ++i) font.lfFaceName[i] = face[i];
  for (; i < LF_FACESIZE; ++i) font.lfFaceName[i] = 0;
  font.lfHeight = height;
  font.lfEscapement = escapement;
  if (style == 1 || style == 3) font.lfWeight = 700;
  font.lfItalic = style == 2 || style == 3 ? 1 : 0;
  return DuiCreateFont(&font);
}

// The text's size in the DC's font, its width widened to the characters' ABC widths.
SIZE Measure(HDC dc, const WCHAR* text, int length) {
  SIZE size = {0, 0};
  if (!DuiTextExtent(dc, text, length, &size)) return SIZE{0, 0};
  std::vector<ABC> widths(static_cast<size_t>(length));
  for (int i = 0; i < length; ++i)
    if (!DuiCharWidths(dc, text[i], &widths[static_cast<size_t>(i)])) return size;
  size.cx = WmTextWidth(size.cx, widths.data(), length);
  return size;
}

// ---- the watermark ----

struct WatermarkFacts {
  const WORD* record;
  int width;   // the bitmap's
  int height;
  Scale scale;
};

WORD Slot(const WatermarkFacts& facts, int position) { return facts.record[position]; }

void DrawWatermarkText(DriverContext* ctx, const CtlPagePictureEvent* event, const WatermarkFacts& facts,
                       const Ink& ink) {
  WCHAR text[kTextChars];
  const int length = Text(ctx, Slot(facts, kWmText), text, kTextChars);
  if (length <= 0) return;
  const int angle = Value(ctx, Slot(facts, kWmAngle));
  const int height =
      WmPreviewFontHeight(Value(ctx, Slot(facts, kWmPoints)), facts.scale.side, facts.scale.resolution, angle);
  if (height <= 0) return;
  WCHAR face[LF_FACESIZE];
  Text(ctx, Slot(facts, kWmFace), face, LF_FACESIZE);
  ScopedFont font(ink.dc, MakeFont(BaseFont(event), face, height, angle * 10,
                                   Value(ctx, Slot(facts, kWmStyle))));
  if (!font.ok()) return;
  ScopedPen pen(ink.dc, ink.colour);
  DuiSetBkMode(ink.dc, TRANSPARENT);
  DuiSetTextColor(ink.dc, ink.colour);

  const SIZE extent = Measure(ink.dc, text, length);
  const int boxWidth = extent.cx + 2, boxHeight = extent.cy + 10;
  const POINT textOrigin = {1, 5};
  const int effect = Value(ctx, Slot(facts, kWmEffect));
  WmTurnedBox box = {};
  WmCircleBox circle = {};
  POINT origin;
  int width, height2;
  if (effect == kEffectCircle) {
    circle = WmCircleOf(boxWidth, boxHeight, textOrigin, angle);
    origin = circle.origin;
    width = height2 = circle.side;
  } else {
    box = WmTurnBox(boxWidth, boxHeight, textOrigin, angle);
    origin = box.origin;
    width = box.width;
    height2 = box.height;
  }
  std::vector<POINT> cells;
  if (Value(ctx, Slot(facts, kWmTiled)) == 1)
    cells = WmTileOrigins(width + 1, height2 + 1, facts.width, facts.height);
  else
    cells.push_back(WmPositionOrigin(Value(ctx, Slot(facts, kWmPosition)), width, height2, facts.width,
                                     facts.height));

  if (effect == kEffectOutline) DuiBeginPath(ink.dc);
  for (const POINT& at : cells) {
    DuiTextOut(ink.dc, at.x + origin.x, at.y + origin.y, 0, nullptr, text, length);
    if (effect == kEffectFrame) {
      POINT frame[5];
      for (int i = 0; i < 5; ++i) frame[i] = POINT{at.x + box.corners[i % 4].x, at.y + box.corners[i % 4].y};
      DuiPolyline(ink.dc, frame, 5);
    } else if (effect == kEffectCircle) {
      const RECT square = {at.x, at.y, at.x + circle.side, at.y + circle.side};
      DuiEllipse(ink.dc, &square);
    }
  }
  if (effect == kEffectOutline) {
    DuiEndPath(ink.dc);
    DuiStrokePath(ink.dc);
  }
}

void DrawWatermarkImage(DriverContext* ctx, const WatermarkFacts& facts, HDC target) {
  WCHAR path[kPathChars];
  if (Text(ctx, Slot(facts, kWmImage), path, kPathChars) <= 0) return;
  LONG pixelWidth = 0, pixelHeight = 0;
  HBITMAP image = ResLoadBmpFile(path, &pixelWidth, &pixelHeight);
  if (!image) return;
  Surface source;
  if (!source.Hold(target, image)) return;
  const SIZE size = WmPreviewImageSize(pixelWidth, pixelHeight, Value(ctx, Slot(facts, kWmScale)),
                                       facts.scale.resolution, facts.scale.side, facts.width, facts.height);
  if (size.cx <= 0 || size.cy <= 0) return;
  if (Value(ctx, Slot(facts, kWmTiled)) == 1) {
    Surface tile;
    if (!tile.Make(target, size.cx, size.cy)) return;
    DuiStretchBlt(tile.dc(), 0, 0, size.cx, size.cy, source.dc(), 0, 0, pixelWidth, pixelHeight, kRopSrcCopy);
    for (const POINT& at : WmTileOrigins(size.cx, size.cy, facts.width, facts.height))
      DuiBitBlt(target, at.x, at.y, size.cx, size.cy, tile.dc(), 0, 0, kRopSrcCopy);
    return;
  }
  const POINT at =
      WmPositionOrigin(Value(ctx, Slot(facts, kWmPosition)), size.cx, size.cy, facts.width, facts.height);
  DuiStretchBlt(target, at.x, at.y, size.cx, size.cy, source.dc(), 0, 0, pixelWidth, pixelHeight, kRopSrcCopy);
}

// ---- the copy protection's pattern text ----

void DrawPatternText(DriverContext* ctx, const CtlPagePictureEvent* event, const Scale& scale, int width,
                     int height, const Ink& ink) {
  WCHAR text[kTextChars];
  const int length = Text(ctx, kCpText, text, kTextChars);
  if (length <= 0) return;
  const int angle = Value(ctx, kCpAngle);
  const int fontHeight = WmPreviewFontHeight(Value(ctx, kCpPoints), scale.side, scale.resolution, angle);
  if (fontHeight <= 0) return;
  WCHAR face[LF_FACESIZE];
  Text(ctx, kCpFace, face, LF_FACESIZE);
  const LOGFONTW base = BaseFont(event);
  const int style = Value(ctx, kCpStyle);
  const bool reverse = Value(ctx, kCpReverse) == 1;
  const int escapement = angle * 10;
  const int turnedEscapement = WmReverseEscapement(escapement);

  ScopedPen pen(ink.dc, ink.colour);
  DuiSetBkMode(ink.dc, TRANSPARENT);
  DuiSetTextColor(ink.dc, ink.colour);
  HFONT upright = MakeFont(base, face, fontHeight, escapement, style);
  HFONT turned = reverse ? MakeFont(base, face, fontHeight, turnedEscapement, style) : NULL;
  // Both fonts are selected out before they go: the first selection keeps the DC's own font.
  HFONT own = upright ? DuiSelectFont(ink.dc, upright) : NULL;
  if (upright && (!reverse || turned)) {
    const SIZE extent = Measure(ink.dc, text, length);
    const WmTurnedBox box = WmTurnBox(extent.cx, extent.cy, POINT{0, 0}, angle);
    WmTurnedBox turnedBox = box;
    if (turned) {
      DuiSelectFont(ink.dc, turned);
      const SIZE turnedExtent = Measure(ink.dc, text, length);
      turnedBox = WmTurnBox(turnedExtent.cx, turnedExtent.cy, POINT{0, 0}, turnedEscapement / 10);
      DuiSelectFont(ink.dc, upright);
    }
    const bool outline = Value(ctx, kCpOutline) != 0;
    if (outline) DuiBeginPath(ink.dc);
    if (Value(ctx, kCpRepeat) == 1) {
      const int gap = Value(ctx, kCpLinePitch) / 70;
      const std::vector<WmPatternRow> rows =
          WmPatternRows(box.width, box.height, turnedBox.width, turnedBox.height, gap, reverse, width, height);
      HFONT current = upright;
      for (const WmPatternRow& row : rows) {
        HFONT wanted = row.turned ? turned : upright;
        if (wanted != current) DuiSelectFont(ink.dc, wanted);
        current = wanted;
        const POINT origin = row.turned ? turnedBox.origin : box.origin;
        for (int x : row.xs) DuiTextOut(ink.dc, x + origin.x, row.top + origin.y, 0, nullptr, text, length);
      }
    } else {
      const POINT at = WmPositionOrigin(Value(ctx, kCpPosition), box.width, box.height, width, height);
      DuiTextOut(ink.dc, at.x + box.origin.x, at.y + box.origin.y, 0, nullptr, text, length);
    }
    if (outline) {
      DuiEndPath(ink.dc);
      DuiStrokePath(ink.dc);
    }
  }
  if (upright) DuiSelectFont(ink.dc, own);
  if (turned) DuiDeleteFont(turned);
  if (upright) DuiDeleteFont(upright);
}

}  // namespace

void CtlDrawWatermarkPreview(DriverContext* ctx, const CtlPagePictureEvent* event) {
  if (!ctx || !event || !event->control || !event->rect) return;
  const auto* record = static_cast<const WORD*>(event->control->extension);
  if (!record || record[0] != kCtlExtPreview) return;
  if (Value(ctx, kItem_zdmFuncSelectWaterMark) == 0) return;
  HDC dc = PictureDc(ctx, event);
  WmPreviewFrame frame;
  WatermarkFacts facts = {record, 0, 0, {0, 0}};
  if (!dc || !WmPreviewFrameOf(kWmPreviewWatermark, event->pageWidth, event->pageHeight, *event->rect, &frame) ||
      !ScaleOf(ctx, &facts.scale))
    return;
  facts.width = frame.width;
  facts.height = frame.height;
  const bool opaque = Value(ctx, Slot(facts, kWmOpaque)) != 0;
  Surface page;
  if (!page.Make(dc, frame.width, frame.height)) return;
  if (opaque) {
    DuiBitBlt(page.dc(), 0, 0, frame.width, frame.height, dc, frame.left, frame.top, kRopSrcCopy);
  } else {
    const RECT all = {0, 0, frame.width, frame.height};
    DuiFillRect(page.dc(), &all, kWhite);
  }
  const LONG kind = Value(ctx, kItem_zdmWmKind);
  if (kind == 1) {
    const COLORREF colour =
        WmPreviewColour(Value(ctx, Slot(facts, kWmColour)), WmWatermarkGrey(Value(ctx, Slot(facts, kWmDensity))));
    if (DuiNearestColour(dc, colour) == colour) {
      DrawWatermarkText(ctx, event, facts, Ink{page.dc(), colour});
    } else {
      Surface mono;
      if (!mono.Make(dc, frame.width, frame.height)) return;
      const RECT all = {0, 0, frame.width, frame.height};
      DuiFillRect(mono.dc(), &all, kWhite);
      DrawWatermarkText(ctx, event, facts, Ink{mono.dc(), kBlack});
      Blend(page.dc(), mono.dc(), frame.width, frame.height, colour, opaque);
    }
  } else if (kind == 2) {
    DrawWatermarkImage(ctx, facts, page.dc());
  }
  DuiBitBlt(dc, frame.left, frame.top, frame.width, frame.height, page.dc(), 0, 0,
            opaque ? kRopSrcCopy : kRopSrcAnd);
}

void CtlDrawCopyProtectPreview(DriverContext* ctx, const CtlPagePictureEvent* event) {
  if (!ctx || !event || !event->control || !event->rect) return;
  const WORD picture = event->control->controlId;
  if (picture != kPicturePrinted && picture != kPictureCopied) return;
  if (Value(ctx, kItem_zdmFuncSelectCopyProtect) == 0) return;
  HDC dc = PictureDc(ctx, event);
  WmPreviewFrame frame;
  Scale scale;
  if (!dc || !WmPreviewFrameOf(kWmPreviewCopyProtect, event->pageWidth, event->pageHeight, *event->rect, &frame) ||
      !ScaleOf(ctx, &scale))
    return;
  Surface page;
  if (!page.Make(dc, frame.width, frame.height)) return;
  DuiBitBlt(page.dc(), 0, 0, frame.width, frame.height, dc, frame.left, frame.top, kRopSrcCopy);
  const bool guard = Value(ctx, kCpCopyGuard) != 0;
  const LONG density = picture == kPictureCopied && guard ? static_cast<LONG>(ModelGetItemDefault(kCpDensity, ctx))
                                                          : Value(ctx, kCpDensity);
  const COLORREF colour = WmPreviewColour(Value(ctx, kCpColour), WmCopyProtectGrey(density));
  const bool exact = DuiNearestColour(dc, colour) == colour;
  Surface mono;
  if (!exact) {
    if (!mono.Make(dc, frame.width, frame.height)) return;
    const RECT all = {0, 0, frame.width, frame.height};
    DuiFillRect(mono.dc(), &all, kWhite);
  }
  const Ink ink = exact ? Ink{page.dc(), colour} : Ink{mono.dc(), kBlack};
  if (picture == kPicturePrinted || guard) {
    const RECT all = {0, 0, frame.width, frame.height};
    DuiFillRect(ink.dc, &all, ink.colour);
  }
  if (picture == kPictureCopied) DrawPatternText(ctx, event, scale, frame.width, frame.height, ink);
  if (!exact) Blend(page.dc(), mono.dc(), frame.width, frame.height, colour, true);
  DuiBitBlt(dc, frame.left, frame.top, frame.width, frame.height, page.dc(), 0, 0, kRopSrcCopy);
}
