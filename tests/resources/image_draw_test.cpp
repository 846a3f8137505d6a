// Pictures of the resource DLLs loaded by their id ranges and drawn into controls: natively each
// drawing is recorded with the picture id, target rectangle, top-left and final flags.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/common/draw_ui.h"
#include "core/front/image_draw.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "platform/sim.h"
#include "resources/resource_fixture.h"
#include "support/test_printer.h"

namespace {

using zems_test::ResourceContextTest;

const WCHAR* W(const char16_t* s) { return reinterpret_cast<const WCHAR*>(s); }

TEST_F(ResourceContextTest, BitmapsComeFromTheDllOfTheirRange) {
  struct Case {
    UINT id;
    int dll;  // 0 language, 1 common, -1 none
  } cases[] = {{220, 0}, {3000, 0}, {6001, 0}, {7006, 1}, {8213, 1}, {0, -1}, {10001, -1}};
  for (const Case& c : cases) {
    ResFreeDlls(ctx());
    HBITMAP bitmap = ResLoadBitmap(ctx(), c.id);
    EXPECT_EQ(c.dll >= 0, bitmap != NULL) << c.id;
    EXPECT_EQ(c.dll == 0, ctx()->languageDll != NULL) << c.id;
    EXPECT_EQ(c.dll == 1, ctx()->commonDll != NULL) << c.id;
    LONG width = 0, height = 0;
    WORD bits = 0;
    if (bitmap) {
      EXPECT_TRUE(DuiBitmapSize(bitmap, &width, &height, &bits)) << c.id;
      EXPECT_TRUE(bits == 4 || bits == 8) << c.id;  // the sample's pictures keep their palettes
    }
    DuiDeleteBitmap(bitmap);
  }
  EXPECT_EQ(NULL, ResLoadCommonBitmapByName(ctx(), W(u"NOSUCHPICTURE")));
}

class ImageDrawTest : public ResourceContextTest {
 protected:
  void SetUp() override {
    ResourceContextTest::SetUp();
    window_ = SimUiMakeWindow(W(u"Static"), NULL, 0, 0);
    const RECT place = {0, 0, 40, 30};
    SimUiMove(window_, &place, FALSE);
    for (LONG& p : Ui()->dialog.draw.colourAdjust) p = 50;
    SimDrawReset();
  }
  // The recorded pictures, in order.
  std::vector<SimDrawCall> Pictures() {
    std::vector<SimDrawCall> out;
    SimDrawCall call;
    for (DWORD i = 0; SimDrawGetCall(i, &call); ++i)
      if (call.kind == kSimDrawPicture) out.push_back(call);
    return out;
  }
  HWND window_ = NULL;
};

TEST_F(ImageDrawTest, APictureIsPlacedInItsControl) {
  struct Case {
    const char* what;
    UINT id;
    DWORD flags;
    bool adjusted;
    RECT rect;
    POINT at;
    DWORD recordedFlags;
  } cases[] = {
      // Face 220 is 16 x 16, the control's client area 40 x 30.
      {"top-left", 220, 0, false, {0, 0, 40, 30}, {0, 0}, 0},
      {"centred", 220, 0x50, false, {0, 0, 40, 30}, {12, 7}, 0x50},
      {"bottom right", 220, 0xA0, false, {0, 0, 40, 30}, {24, 14}, 0xA0},
      {"the mode the lists pass", 220, 0x51, false, {0, 0, 40, 30}, {12, 7}, 0x51},
      {"adjusted colours: at its own size", 220, kImgStretch, true, {0, 0, 16, 16}, {0, 0}, kImgStretch},
  };
  for (const Case& c : cases) {
    SimDrawReset();
    Ui()->dialog.draw.adjustedColours = c.adjusted ? 1 : 0;
    Ui()->dialog.draw.stretched = 0;
    ResDrawImageInWindow(ctx(), nullptr, nullptr, window_, nullptr, c.id, c.flags, FALSE);
    std::vector<SimDrawCall> pictures = Pictures();
    ASSERT_EQ(1u, pictures.size()) << c.what;
    const SimDrawCall& p = pictures[0];
    EXPECT_EQ(c.id, p.id) << c.what;
    EXPECT_EQ(window_, p.window) << c.what;
    EXPECT_EQ(c.rect.right, p.rect.right) << c.what;
    EXPECT_EQ(c.rect.bottom, p.rect.bottom) << c.what;
    EXPECT_EQ(c.at.x, p.x) << c.what;
    EXPECT_EQ(c.at.y, p.y) << c.what;
    EXPECT_EQ(c.recordedFlags, p.flags) << c.what;
    EXPECT_EQ(0, Ui()->dialog.draw.adjustedColours) << c.what;  // used once
  }
}

TEST_F(ImageDrawTest, NothingIsDrawnForAPictureThatCannotBeHad) {
  Ui()->dialog.draw.background = RGB(1, 2, 3);
  for (UINT id : {5000u, 0u, 10001u}) ResDrawImageInWindow(ctx(), nullptr, nullptr, window_, nullptr, id, 0, FALSE);
  ResDrawImage(ctx(), nullptr, nullptr, DuiGetDc(window_), nullptr, 0, 0, W(u"C:\\none.bmp"), 0, FALSE);
  EXPECT_TRUE(Pictures().empty());
  EXPECT_EQ(RGB(1, 2, 3), Ui()->dialog.draw.background);
}

TEST_F(ImageDrawTest, FilePicturesAndThePreparedBitmap) {
  // The 8-bit fixture (6 x 5) on the machine; a path names a file by its ':'.
  std::error_code ec;
  std::filesystem::create_directories(zems_test::HostPath("C:\\pictures"), ec);
  std::filesystem::copy_file(zems_test::SourceDir() + "/tests/fixtures/bmp/sample8.bmp",
                             zems_test::HostPath("C:\\pictures\\sample8.bmp"), ec);
  ASSERT_FALSE(ec);
  HDC dc = DuiGetDc(window_);
  const RECT rect = {0, 0, 40, 30};
  ResDrawImage(ctx(), nullptr, nullptr, dc, &rect, 20, 15, W(u"C:\\pictures\\sample8.bmp"), 0x50, FALSE);
  // The prepared bitmap is taken by the draw and centred in the rectangle.
  Ui()->dialog.draw.preparedBitmap = ResLoadBitmap(ctx(), 220);
  ResDrawImage(ctx(), nullptr, nullptr, dc, &rect, 0, 0, nullptr, 0, FALSE);
  EXPECT_EQ((HBITMAP)NULL, Ui()->dialog.draw.preparedBitmap);
  std::vector<SimDrawCall> pictures = Pictures();
  ASSERT_EQ(2u, pictures.size());
  EXPECT_EQ(0u, pictures[0].id);
  EXPECT_EQ(17, pictures[0].x);  // 20 - 6 / 2
  EXPECT_EQ(13, pictures[0].y);  // 15 - 5 / 2
  EXPECT_EQ(12, pictures[1].x);  // 20 - 16 / 2
  EXPECT_EQ(7, pictures[1].y);
  EXPECT_EQ(0x50u, pictures[1].flags);
}

TEST_F(ImageDrawTest, ABufferedDrawingGoesIntoTheMemoryDcAtTheOrigin) {
  DlgDrawState& draw = Ui()->dialog.draw;
  ResBeginBufferedDraw(ctx());
  EXPECT_EQ(1, draw.buffering);
  HDC dc = DuiGetDc(window_);
  const RECT rect = {10, 20, 50, 60};
  ResDrawImage(ctx(), nullptr, nullptr, dc, &rect, 30, 40, MAKEINTRESOURCEW(6193), 0x50, FALSE);
  ResDrawImage(ctx(), nullptr, nullptr, dc, &rect, 30, 40, MAKEINTRESOURCEW(6194), 0x50, FALSE);
  std::vector<SimDrawCall> pictures = Pictures();
  ASSERT_EQ(2u, pictures.size());
  ASSERT_NE((HDC)NULL, draw.memoryDc);
  for (const SimDrawCall& p : pictures) {
    EXPECT_EQ(draw.memoryDc, p.dc);
    EXPECT_EQ((HWND)NULL, p.window);
    EXPECT_EQ(0, p.rect.left);
    EXPECT_EQ(40, p.rect.right);
    EXPECT_EQ(12, p.x);  // (30 - 10) - 16 / 2
    EXPECT_EQ(12, p.y);  // (40 - 20) - 16 / 2
  }
  ResEndBufferedDraw(ctx(), window_, nullptr);
  EXPECT_EQ(0, draw.buffering);
  EXPECT_EQ((HDC)NULL, draw.memoryDc);
  EXPECT_EQ(0, draw.stretched);
  // Without buffering the same drawing goes to the window's DC.
  SimDrawReset();
  dc = DuiGetDc(window_);
  ResDrawImage(ctx(), nullptr, nullptr, dc, &rect, 30, 40, MAKEINTRESOURCEW(6193), 0x50, FALSE);
  ASSERT_EQ(1u, Pictures().size());
  EXPECT_EQ(window_, Pictures()[0].window);
  EXPECT_EQ(22, Pictures()[0].x);
}

TEST_F(ImageDrawTest, AStretchedPictureSetsTheImageSizeForTheBuffer) {
  DlgDrawState& draw = Ui()->dialog.draw;
  ResBeginBufferedDraw(ctx());
  HDC dc = DuiGetDc(window_);
  const RECT rect = {0, 0, 100, 100};
  ResDrawImage(ctx(), nullptr, nullptr, dc, &rect, 0, 0, MAKEINTRESOURCEW(2067), kImgStretch, FALSE);
  EXPECT_EQ(1, draw.stretched);
  EXPECT_EQ(200, draw.imageWidth);
  EXPECT_EQ(180, draw.imageHeight);
  // A later picture takes the stretched image's size as its rectangle.
  ResDrawImage(ctx(), nullptr, nullptr, dc, &rect, 0, 0, MAKEINTRESOURCEW(220), 0, FALSE);
  std::vector<SimDrawCall> pictures = Pictures();
  ASSERT_EQ(2u, pictures.size());
  EXPECT_EQ(200, pictures[1].rect.right);
  EXPECT_EQ(180, pictures[1].rect.bottom);
  ResEndBufferedDraw(ctx(), window_, &rect);
  EXPECT_EQ(0, draw.stretched);
}

TEST_F(ImageDrawTest, IconsOfTheLanguageDll) {
  ResDrawIcon(ctx(), window_, 100);
  ResDrawIconAt(ctx(), DuiGetDc(window_), 3, 4, 101);
  SimDrawCall call;
  std::vector<SimDrawCall> icons;
  for (DWORD i = 0; SimDrawGetCall(i, &call); ++i)
    if (call.kind == kSimDrawIcon) icons.push_back(call);
  ASSERT_EQ(2u, icons.size());
  EXPECT_EQ(100u, icons[0].id);
  EXPECT_EQ(0, icons[0].x);
  EXPECT_EQ(101u, icons[1].id);
  EXPECT_EQ(3, icons[1].x);
  EXPECT_EQ(4, icons[1].y);
}

TEST_F(ImageDrawTest, ColoursAdjustByTheUiStatesParameters) {
  EXPECT_EQ(RGB(100, 150, 200), ResAdjustColour(ctx(), RGB(100, 150, 200), FALSE));
  EXPECT_EQ(RGB(140, 140, 140), ResAdjustColour(ctx(), RGB(100, 150, 200), TRUE));
  Ui()->dialog.draw.colourAdjust[3] = 60;
  EXPECT_EQ(RGB(110, 150, 200), ResAdjustColour(ctx(), RGB(100, 150, 200), FALSE));
  // The native display is not palette-based: nothing is stored or realised.
  EXPECT_EQ(0, ResBuildDisplayPalette(NULL, 0, 0));
  EXPECT_EQ(0u, ResGetComctlVersion());
}

}  // namespace
