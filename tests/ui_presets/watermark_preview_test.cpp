// The watermark and copy-protect previews on the drawing recording: what the page-picture event
// draws (text with its effects, tiles, images scaled and tiled, copy protection with reversed
// and repeated rows, the blend for colours the device cannot show), that a page without scale
// draws nothing, and that every object made is selected out and deleted. The margin dialog's
// layout without its edge, crop and creep controls, on the fake's windows.
#include <cstring>
#include <map>

#include "core/common/draw_ui.h"
#include "core/context/ui_state.h"
#include "core/front/ctl_simple.h"
#include "core/modules/watermark_dialogs.h"
#include "ui_presets/dialogs_fixture.h"

namespace zems_test {
namespace {

constexpr DWORD kSrcCopy = 0x00CC0020, kSrcAnd = 0x008800C6, kSrcPaint = 0x00EE0086, kDstInvert = 0x00550009;

// The preview picture's record as the binding leaves it: item ids of wdmWmChar .. wdmWmOpaque.
WORD g_record[15] = {8, 929, 945, 951, 938, 947, 937, 944, 946, 930, 952, 939, 940, 935, 0};

class WatermarkPreviewTest : public ModuleDialogsTest {
 protected:
  void SetUp() override {
    ModuleDialogsTest::SetUp();
    if (HasFatalFailure()) return;
    SimDrawReset();
    dc_ = SimDrawFreeDc();
    // An A4-like page of 8 x 11 inches at 600 dpi: 72 points give a font 6 high.
    ItemSetRawById(ctx_, kItem_zdmDstPaperWidthDot, 4800);
    ItemSetRawById(ctx_, kItem_zdmDstPaperLengthDot, 6600);
    ItemSetRawById(ctx_, kItem_zdmDstResolutionW, 600);
    ItemSetRawById(ctx_, kItem_zdmFuncSelectWaterMark, 1);
    ItemSetRawById(ctx_, kItem_zdmWmKind, 1);
    SetText(929, u"AB");
    SetText(945, u"Arial");
    const struct {
      WORD id;
      LONG value;
    } values[] = {{951, 1}, {938, 0}, {947, 1}, {937, 30}, {944, 0}, {946, 72}, {952, 100}, {939, 0}, {940, 0},
                  {935, 0}};
    for (const auto& v : values) ItemSetRawById(ctx_, v.id, v.value);
  }
  void SetText(WORD id, const char16_t* text) { ItemSetText(ctx_, ItemFind(ctx_, id), W(text)); }

  // The page picture event of a portrait page on the picture (108 x 91): the bitmap is 48 x 67
  // at (29, 10).
  std::vector<SimDrawCall> Draw(WORD dialog, WORD pictureId, bool withRecord = true) {
    page_.dialogId = dialog;
    DlgControlRecord* picture = Make(pictureId, u"STATIC");
    picture->extension = withRecord ? g_record : nullptr;
    const RECT area = {0, 0, 108, 91};
    CtlPagePictureEvent event = {picture, 50, 69, dc_, &area, 0};
    const DWORD from = SimDrawCallCount();
    WmHandleEvent(ctx_, kEventPagePicture, &event, nullptr);
    std::vector<SimDrawCall> calls;
    for (DWORD i = from; i < SimDrawCallCount(); ++i) {
      SimDrawCall call;
      SimDrawGetCall(i, &call);
      calls.push_back(call);
    }
    return calls;
  }
  static std::vector<SimDrawCall> Of(const std::vector<SimDrawCall>& calls, int kind) {
    std::vector<SimDrawCall> out;
    for (const SimDrawCall& c : calls)
      if (c.kind == kind) out.push_back(c);
    return out;
  }
  // Every object made is deleted once, none while still selected in a DC, and no DC is deleted
  // while it holds one.
  static void ExpectAllDeleted(const std::vector<SimDrawCall>& calls) {
    std::map<HANDLE, DWORD> live;
    for (const SimDrawCall& c : calls) {
      if (c.kind == kSimDrawMade) {
        EXPECT_EQ(0u, live.count(c.handle));
        live[c.handle] = c.flags;
      } else if (c.kind == kSimDrawDeleted) {
        EXPECT_EQ(1u, live.count(c.handle)) << "deleted but not made, kind " << c.flags;
        EXPECT_EQ(0, c.x) << "deleted while selected, kind " << c.flags;
        live.erase(c.handle);
      }
    }
    for (const auto& left : live) ADD_FAILURE() << "object of kind " << left.second << " left behind";
  }
  static RECT Rect(LONG l, LONG t, LONG r, LONG b) { return RECT{l, t, r, b}; }
  static void ExpectRect(const RECT& got, const RECT& want, const char* what) {
    EXPECT_EQ(want.left, got.left) << what;
    EXPECT_EQ(want.top, got.top) << what;
    EXPECT_EQ(want.right, got.right) << what;
    EXPECT_EQ(want.bottom, got.bottom) << what;
  }
  void WriteBmp(const char16_t* path, LONG width, LONG height) {
    const DWORD stride = (width * 24 + 31) / 32 * 4;
    std::vector<BYTE> b(54 + stride * height, 0);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfSize = DWORD(b.size());
    file.bfOffBits = 54;
    BITMAPINFOHEADER info = {};
    info.biSize = 40;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    memcpy(b.data(), &file, sizeof file);
    memcpy(b.data() + 14, &info, sizeof info);
    CreateDirectoryW(W(u"C:\\pictures"), NULL);
    HANDLE f = CreateFileW(W(path), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(f, b.data(), DWORD(b.size()), &written, NULL);
    CloseHandle(f);
  }

  HDC dc_ = NULL;
};

// A framed bold text: a bitmap of the page, white, the text in its colour at the centre of its
// box (16 x 23 for two characters of 7 x 13), the frame through the box's corners, and the
// bitmap ANDed onto the picture.
TEST_F(WatermarkPreviewTest, AFramedTextIsDrawnCentredAndAndedOntoThePicture) {
  ItemSetRawById(ctx_, 938, 1);
  const std::vector<SimDrawCall> calls = Draw(1003, 2039);
  const std::vector<SimDrawCall> made = Of(calls, kSimDrawMade);
  ASSERT_FALSE(made.empty());
  EXPECT_EQ(kSimDrawObjectDc, int(made[0].flags));
  EXPECT_EQ(dc_, made[0].handle2);
  EXPECT_EQ(kSimDrawObjectBitmap, int(made[1].flags));
  ExpectRect(made[1].rect, Rect(0, 0, 48, 67), "bitmap");
  const std::vector<SimDrawCall> fonts = [&] {
    std::vector<SimDrawCall> out;
    for (const SimDrawCall& c : made)
      if (c.flags == kSimDrawObjectFont) out.push_back(c);
    return out;
  }();
  ASSERT_EQ(1u, fonts.size());
  EXPECT_EQ(6, fonts[0].y);
  EXPECT_EQ(0, fonts[0].x);
  EXPECT_EQ(700u, fonts[0].id);
  EXPECT_EQ(u"Arial", U(fonts[0].text));
  const std::vector<SimDrawCall> texts = Of(calls, kSimDrawTextOut);
  ASSERT_EQ(1u, texts.size());
  EXPECT_EQ(17, texts[0].x);  // the box at ((48 - 16) / 2, (67 - 23) / 2), the text 1 and 5 inside
  EXPECT_EQ(27, texts[0].y);
  EXPECT_EQ(RGB(255, 179, 179), texts[0].colour);  // red over the grey of density 30
  EXPECT_EQ(u"AB", U(texts[0].text));
  const std::vector<SimDrawCall> frames = Of(calls, kSimDrawPolyline);
  ASSERT_EQ(1u, frames.size());
  ASSERT_EQ(5, frames[0].pointCount);
  const POINT corners[5] = {{16, 22}, {16, 45}, {32, 45}, {32, 22}, {16, 22}};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(corners[i].x, frames[0].points[i].x) << i;
    EXPECT_EQ(corners[i].y, frames[0].points[i].y) << i;
  }
  EXPECT_EQ(RGB(255, 179, 179), frames[0].colour);
  const std::vector<SimDrawCall> blits = Of(calls, kSimDrawBitBlt);
  ASSERT_EQ(1u, blits.size());
  EXPECT_EQ(dc_, blits[0].dc);
  ExpectRect(blits[0].rect, Rect(29, 10, 77, 77), "onto the picture");
  EXPECT_EQ(kSrcAnd, blits[0].flags);
  ExpectAllDeleted(calls);

  // An italic face reaching 2 out on both sides widens the box to 20: the text moves 2 left.
  SimDrawSetCharOverhang(-2, -2);
  const std::vector<SimDrawCall> wider = Of(Draw(1003, 2039), kSimDrawTextOut);
  ASSERT_EQ(1u, wider.size());
  EXPECT_EQ(15, wider[0].x);
}

// The effects and the tiling: a tiled text repeats every box + 1 across the bitmap; the circle
// is the square's ellipse; the outline is the text in a path, closed and stroked.
TEST_F(WatermarkPreviewTest, EffectsAndTilesDrawTheirShapes) {
  struct Case {
    int effect, angle, tiled;
    size_t texts, polylines, ellipses, paths;
  } cases[] = {
      {1, 0, 1, 9, 9, 0, 0},  // 3 columns (0, 17, 34) by 3 rows (0, 24, 48)
      {2, 90, 0, 1, 0, 1, 0},
      {3, 45, 0, 1, 0, 0, 1},
      {3, 0, 1, 9, 0, 0, 1},
  };
  for (const Case& c : cases) {
    ItemSetRawById(ctx_, 938, c.effect);
    ItemSetRawById(ctx_, 944, c.angle);
    ItemSetRawById(ctx_, 940, c.tiled);
    const std::vector<SimDrawCall> calls = Draw(1003, 2039);
    EXPECT_EQ(c.texts, Of(calls, kSimDrawTextOut).size()) << c.effect;
    EXPECT_EQ(c.polylines, Of(calls, kSimDrawPolyline).size()) << c.effect;
    EXPECT_EQ(c.ellipses, Of(calls, kSimDrawEllipse).size()) << c.effect;
    EXPECT_EQ(c.paths, Of(calls, kSimDrawBeginPath).size()) << c.effect;
    EXPECT_EQ(c.paths, Of(calls, kSimDrawStrokePath).size()) << c.effect;
    if (c.effect == 2) {
      // The square of side 23 + 12, centred: the ellipse fills it.
      const std::vector<SimDrawCall> ellipses = Of(calls, kSimDrawEllipse);
      ExpectRect(ellipses[0].rect, Rect(6, 16, 41, 51), "circle");
    }
    if (c.effect == 3) {
      // The texts lie between the path's begin and end, then the path is stroked.
      int state = 0;
      for (const SimDrawCall& call : calls) {
        if (call.kind == kSimDrawBeginPath) state = 1;
        if (call.kind == kSimDrawTextOut) {
          EXPECT_EQ(1, state);
        }
        if (call.kind == kSimDrawEndPath) state = 2;
        if (call.kind == kSimDrawStrokePath) {
          EXPECT_EQ(2, state);
        }
      }
    }
    const std::vector<SimDrawCall> tiles = Of(calls, kSimDrawTextOut);
    if (c.tiled && c.effect == 1) {
      EXPECT_EQ(1 + 17 * 2, tiles[8].x);
      EXPECT_EQ(5 + 24 * 2, tiles[8].y);
    }
    ExpectAllDeleted(calls);
  }
}

// A colour the device cannot show: the text goes in black into a white second bitmap, blended
// through a brush of the colour: mixed in for a transparent watermark, replacing for an opaque
// one (which starts from the picture underneath and is copied back).
TEST_F(WatermarkPreviewTest, ColoursTheDeviceCannotShowAreBlendedThroughASecondBitmap) {
  SimDrawSetNearestMask(0xF0F0F0);
  struct Case {
    int opaque;
    std::vector<DWORD> rops;  // the blits after the drawing, in order
  } cases[] = {
      {0, {0x00FA0089, kSrcAnd, kSrcAnd}},
      {1, {kSrcAnd, kDstInvert, 0x00A000C9, kSrcPaint, kSrcCopy}},
  };
  for (const Case& c : cases) {
    ItemSetRawById(ctx_, 935, c.opaque);
    const std::vector<SimDrawCall> calls = Draw(1003, 2039);
    const std::vector<SimDrawCall> texts = Of(calls, kSimDrawTextOut);
    ASSERT_EQ(1u, texts.size());
    EXPECT_EQ(RGB(0, 0, 0), texts[0].colour);
    std::vector<DWORD> rops;
    bool drawn = false;
    for (const SimDrawCall& call : calls) {
      if (call.kind == kSimDrawTextOut) drawn = true;
      if (drawn && (call.kind == kSimDrawBitBlt || call.kind == kSimDrawPatBlt)) rops.push_back(call.flags);
      if (drawn && call.kind == kSimDrawPatBlt) {
        EXPECT_EQ(RGB(255, 179, 179), call.colour);
      }
    }
    EXPECT_EQ(c.rops, rops) << c.opaque;
    if (c.opaque) {
      const std::vector<SimDrawCall> blits = Of(calls, kSimDrawBitBlt);
      EXPECT_EQ(dc_, blits.front().handle);  // the picture underneath copied first
      ExpectRect(blits.front().rect, Rect(0, 0, 48, 67), "copy of the picture");
      EXPECT_EQ(29, blits.front().points[0].x);
    }
    ExpectAllDeleted(calls);
  }
}

// A page without a scale (no shorter side, no resolution, a side under an inch), watermarks
// off or a picture without the record: nothing is made or drawn.
TEST_F(WatermarkPreviewTest, NothingIsDrawnWithoutAScaleOrARecord) {
  struct Case {
    LONG width, length, resolution, on;
    bool record;
  } cases[] = {{0, 6600, 600, 1, true},
               {4800, 6600, 0, 1, true},
               {500, 6600, 600, 1, true},
               {4800, 6600, 600, 0, true},
               {4800, 6600, 600, 1, false}};
  for (const Case& c : cases) {
    ItemSetRawById(ctx_, kItem_zdmDstPaperWidthDot, c.width);
    ItemSetRawById(ctx_, kItem_zdmDstPaperLengthDot, c.length);
    ItemSetRawById(ctx_, kItem_zdmDstResolutionW, c.resolution);
    ItemSetRawById(ctx_, kItem_zdmFuncSelectWaterMark, c.on);
    EXPECT_TRUE(Draw(1003, 2039, c.record).empty()) << c.width << " " << c.resolution;
  }
}

// An image watermark: stretched to its preview size (100 x 50 pixels at 600 dpi on an 8-inch
// side: 6 x 3) at the position code's place, or stretched once into a tile copied across.
TEST_F(WatermarkPreviewTest, AnImageIsScaledAndPlacedOrTiled) {
  WriteBmp(u"C:\\pictures\\wm.bmp", 100, 50);
  ItemSetRawById(ctx_, kItem_zdmWmKind, 2);
  SetText(930, u"C:\\pictures\\wm.bmp");
  ItemSetRawById(ctx_, 939, 32);
  std::vector<SimDrawCall> calls = Draw(1003, 2039);
  std::vector<SimDrawCall> stretches = Of(calls, kSimDrawStretchBlt);
  ASSERT_EQ(1u, stretches.size());
  ExpectRect(stretches[0].rect, Rect(42, 64, 48, 67), "bottom right");
  EXPECT_EQ(100, stretches[0].points[1].x);
  EXPECT_EQ(50, stretches[0].points[1].y);
  ExpectAllDeleted(calls);

  ItemSetRawById(ctx_, 940, 1);
  calls = Draw(1003, 2039);
  stretches = Of(calls, kSimDrawStretchBlt);
  ASSERT_EQ(1u, stretches.size());
  ExpectRect(stretches[0].rect, Rect(0, 0, 6, 3), "the tile");
  std::vector<SimDrawCall> copies;
  for (const SimDrawCall& c : Of(calls, kSimDrawBitBlt))
    if (c.handle == stretches[0].dc) copies.push_back(c);
  EXPECT_EQ(8u * 23u, copies.size());  // 48 / 6 columns, 67 / 3 rounded up rows
  ExpectRect(copies.back().rect, Rect(42, 66, 48, 69), "the last tile");
  ExpectAllDeleted(calls);

  SetText(930, u"C:\\pictures\\missing.bmp");
  calls = Draw(1003, 2039);
  EXPECT_TRUE(Of(calls, kSimDrawStretchBlt).empty());
  ExpectAllDeleted(calls);
}

// Copy protection: the printed picture is filled with the colour; the copied one shows the
// pattern text, with reverse and repeat every second row in the turned font from the right.
TEST_F(WatermarkPreviewTest, CopyProtectionFillsAndRepeatsReversedRows) {
  ItemSetRawById(ctx_, kItem_zdmFuncSelectCopyProtect, 1);
  ItemSetRawById(ctx_, 512, 3);
  ItemSetRawById(ctx_, 513, 2);
  std::vector<SimDrawCall> calls = Draw(4017, 2931, false);
  std::vector<SimDrawCall> fills = Of(calls, kSimDrawFill);
  ASSERT_EQ(1u, fills.size());
  EXPECT_EQ(RGB(153, 153, 255), fills[0].colour);
  ExpectRect(fills[0].rect, Rect(0, 0, 48, 67), "fill");
  std::vector<SimDrawCall> blits = Of(calls, kSimDrawBitBlt);
  ASSERT_EQ(2u, blits.size());
  EXPECT_EQ(28, blits[1].rect.left);  // centred and shifted by -2, -2
  EXPECT_EQ(10, blits[1].rect.top);
  EXPECT_EQ(kSrcCopy, blits[1].flags);
  ExpectAllDeleted(calls);

  SetText(524, u"COPY");
  SetText(525, u"Arial");
  ItemSetRawById(ctx_, 527, 72);
  ItemSetRawById(ctx_, 528, 0);
  ItemSetRawById(ctx_, 519, 1);
  ItemSetRawById(ctx_, 520, 1);
  ItemSetRawById(ctx_, 529, 140);  // a gap of 2
  calls = Draw(4017, 2943, false);
  EXPECT_TRUE(Of(calls, kSimDrawFill).empty());  // no copy guard
  HANDLE upright = NULL, turned = NULL;
  for (const SimDrawCall& c : Of(calls, kSimDrawMade)) {
    if (c.flags != kSimDrawObjectFont) continue;
    if (c.x == 0) upright = c.handle;
    if (c.x == 1800) turned = c.handle;
  }
  ASSERT_NE(nullptr, upright);
  ASSERT_NE(nullptr, turned);
  // Rows every 13 + 2: 0, 15, 30, 45, 60; 28 wide texts every 29 from the left, or from 48 - 28.
  std::map<LONG, std::vector<SimDrawCall>> rows;
  for (const SimDrawCall& c : Of(calls, kSimDrawTextOut)) rows[c.y].push_back(c);
  ASSERT_EQ(5u, rows.size());
  int index = 0;
  for (const auto& row : rows) {
    const bool reversed = index % 2 == 1;
    for (const SimDrawCall& c : row.second) EXPECT_EQ(reversed ? turned : upright, c.handle) << row.first;
    if (reversed) {
      // The turned box's origin is its bottom right: 13 lower and 28 to the right of its corner.
      EXPECT_EQ(15 + 30 * (index / 2) + 13, row.first);
      ASSERT_EQ(2u, row.second.size());
      EXPECT_EQ(20 + 28, row.second[0].x);
      EXPECT_EQ(-9 + 28, row.second[1].x);
    } else {
      EXPECT_EQ(30 * (index / 2), row.first);
      ASSERT_EQ(2u, row.second.size());
      EXPECT_EQ(0, row.second[0].x);
      EXPECT_EQ(29, row.second[1].x);
    }
    ++index;
  }
  ExpectAllDeleted(calls);
}

// The margin dialog: the edge, crop and creep controls shrink to a pixel at the marker, the
// buttons move up to it, the unit button to the string-form label, and the dialog goes to its
// owner's corner, a button lower, shorter by the space between the marker and the buttons.
TEST_F(WatermarkPreviewTest, TheMarginDialogLosesItsEdgeCropAndCreepControls) {
  HWND owner = SimUiMakeWindow(W(u"#32770"), NULL, 0, 0);
  RECT ownerRect = {100, 50, 700, 550};
  WuiMove(owner, &ownerRect, FALSE);
  HWND dialog = window_;
  RECT dialogRect = {0, 0, 400, 600};
  WuiMove(dialog, &dialogRect, FALSE);
  struct Placed {
    WORD id;
    RECT rect;
  } controls[] = {{3199, {10, 300, 110, 310}}, {1, {150, 500, 200, 520}},   {2, {210, 500, 260, 520}},
                  {9, {270, 500, 320, 520}},   {2357, {10, 480, 70, 500}},  {2505, {10, 400, 70, 420}},
                  {2664, {10, 250, 110, 260}}, {3181, {10, 320, 120, 350}}, {3209, {130, 330, 230, 340}}};
  std::map<WORD, HWND> windows;
  for (const Placed& p : controls) {
    windows[p.id] = SimUiMakeWindow(W(u"BUTTON"), dialog, p.id, WS_CHILD | WS_VISIBLE);
    WuiMove(windows[p.id], &p.rect, FALSE);
  }
  WmLayOutMarginDialog(dialog, owner);
  const struct {
    WORD id;
    RECT rect;
  } expected[] = {{3181, {10, 300, 11, 301}},  {3209, {10, 300, 11, 301}}, {1, {150, 300, 200, 320}},
                  {2, {210, 300, 260, 320}},   {9, {270, 300, 320, 320}},  {2357, {10, 300, 70, 320}},
                  {2505, {10, 250, 70, 270}},  {3199, {10, 300, 110, 310}}};
  for (const auto& e : expected) {
    RECT r;
    ASSERT_TRUE(WuiGetRect(windows[e.id], &r));
    ExpectRect(r, e.rect, std::to_string(e.id).c_str());
  }
  RECT placed;
  ASSERT_TRUE(WuiGetRect(dialog, &placed));
  ExpectRect(placed, Rect(100, 70, 500, 480), "dialog");  // 600 - (500 - 310) high
}

// The dialog's start lays it out while the build leaves the edge, crop and creep controls out.
TEST_F(WatermarkPreviewTest, TheMarginDialogsStartLaysItOut) {
  page_.dialogId = 1024;
  HWND marker = SimUiMakeWindow(W(u"STATIC"), window_, 3199, WS_CHILD | WS_VISIBLE);
  HWND ok = SimUiMakeWindow(W(u"BUTTON"), window_, 1, WS_CHILD | WS_VISIBLE);
  HWND crops = SimUiMakeWindow(W(u"BUTTON"), window_, 3194, WS_CHILD | WS_VISIBLE);
  const RECT markerRect = {10, 300, 110, 310}, okRect = {150, 500, 200, 520}, cropsRect = {10, 320, 120, 350};
  WuiMove(marker, &markerRect, FALSE);
  WuiMove(ok, &okRect, FALSE);
  WuiMove(crops, &cropsRect, FALSE);
  EXPECT_EQ(0, WmHandleControl(ctx_, &page_, nullptr, WM_INITDIALOG, 0, 0, nullptr));
  RECT r;
  ASSERT_TRUE(WuiGetRect(crops, &r));
  ExpectRect(r, Rect(10, 300, 11, 301), "crops");
  ASSERT_TRUE(WuiGetRect(ok, &r));
  ExpectRect(r, Rect(150, 300, 200, 320), "OK");
}

}  // namespace
}  // namespace zems_test
