// The PDEV's drawing surface: a band bitmap in raster mode, a device surface in vector mode,
// with the hooks, formats and band height GDI is given.
#include <gtest/gtest.h>

#include "gr2k/pdev.h"
#include "platform/sim_gdi.h"
#include "support/print_fixture.h"

namespace zems_test {
namespace {

class SurfaceTest : public PrintTest {
 protected:
  GraphicsPdev* Pdev(const std::vector<ItemValue>& items) { return reinterpret_cast<GraphicsPdev*>(EnableJob(items)); }
  HSURF EnableSurface(GraphicsPdev* pdev) {
    return Ddi<PFN_DrvEnableSurface>(INDEX_DrvEnableSurface)(reinterpret_cast<DHPDEV>(pdev));
  }
  void DisableSurface(GraphicsPdev* pdev) {
    Ddi<PFN_DrvDisableSurface>(INDEX_DrvDisableSurface)(reinterpret_cast<DHPDEV>(pdev));
  }
};

TEST_F(SurfaceTest, SurfaceKindHooksAndFormatFollowTheJob) {
  struct Case {
    const char* what;
    SHORT raster, colourProcess;
    DWORD colour;
    SHORT oneBpp, noStretchBltRop;
    USHORT type;
    FLONG hooks;
    ULONG format;
    BOOL banding;
  } cases[] = {
      {"raster monochrome", 1, 1, 1, 0, 0, STYPE_BITMAP, 0x0B, BMF_1BPP, TRUE},
      {"raster colour", 1, 1, 2, 0, 0, STYPE_BITMAP, 0x0B, BMF_24BPP, TRUE},
      {"vector", 0, 1, 1, 0, 0, STYPE_DEVICE, 0x24EB, BMF_24BPP, FALSE},
      {"vector, 1-bpp switch", 0, 1, 1, 1, 0, STYPE_DEVICE, 0x24EB, BMF_1BPP, FALSE},
      {"vector, 1-bpp switch, colour", 0, 1, 2, 1, 0, STYPE_DEVICE, 0x24EB, BMF_24BPP, FALSE},
      {"vector without StretchBltROP", 0, 1, 1, 0, 1, STYPE_DEVICE, 0x4EB, BMF_24BPP, FALSE},
  };
  GraphicsPdev* pdev = Pdev({});
  ASSERT_NE(nullptr, pdev);
  const LONG width = pdev->bandSurfaceSize.cx;
  const LONG height = pdev->bandSurfaceSize.cy;
  ASSERT_GT(width, 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    pdev->rasterMode = c.raster;
    pdev->colourProcess = c.colourProcess;
    pdev->colour = c.colour;
    pdev->oneBppSurface = c.oneBpp;
    pdev->noStretchBltRopHook = c.noStretchBltRop;
    HSURF surface = EnableSurface(pdev);
    ASSERT_NE(nullptr, surface);
    EXPECT_EQ(surface, pdev->surface);
    SimGdiSurfaceInfo info = {};
    ASSERT_TRUE(SimGdiGetSurfaceInfo(surface, &info));
    EXPECT_EQ(c.type, info.type);
    EXPECT_EQ(c.hooks, info.hooks);
    EXPECT_EQ(c.format, info.format);
    EXPECT_EQ(c.banding, info.banding);
    EXPECT_TRUE(info.associated);
    EXPECT_EQ(hdev_, info.hdev);
    EXPECT_EQ(width, info.width);
    if (c.raster) {
      EXPECT_TRUE(info.height == height || (info.height < height && info.height % 32 == 0)) << info.height;
      LONG bits = c.format == BMF_1BPP ? 1 : 24;
      EXPECT_EQ(((width * bits + 7) / 8 + 3) & ~3L, info.stride) << "top-down rows of whole words";
    } else {
      EXPECT_EQ(height, info.height);
    }
    DisableSurface(pdev);
    EXPECT_EQ(nullptr, pdev->surface);
    EXPECT_FALSE(SimGdiGetSurfaceInfo(surface, &info)) << "the surface was not deleted";
  }
}

TEST_F(SurfaceTest, BandHeightHoldsAbout300KBOfOneBitRows) {
  GraphicsPdev* pdev = Pdev({{"zdmImagePrint", 1}});
  ASSERT_NE(nullptr, pdev);
  pdev->rasterMode = 1;
  struct Case {
    LONG width, height, band;
  } cases[] = {
      {4961, 7016, 512},  // 624 bytes a row
      {4961, 300, 300},   // a page lower than one band
      {1, 100000, 76832},
      {9921, 14031, 256},
  };
  for (const Case& c : cases) {
    pdev->bandSurfaceSize = {c.width, c.height};
    HSURF surface = EnableSurface(pdev);
    ASSERT_NE(nullptr, surface) << c.width;
    SimGdiSurfaceInfo info = {};
    ASSERT_TRUE(SimGdiGetSurfaceInfo(surface, &info));
    EXPECT_EQ(c.band, info.height) << c.width << " x " << c.height;
    DisableSurface(pdev);
  }
}

TEST_F(SurfaceTest, ZeroPageSizeGivesNoRasterSurface) {
  GraphicsPdev* pdev = Pdev({{"zdmImagePrint", 1}});
  ASSERT_NE(nullptr, pdev);
  pdev->rasterMode = 1;
  const DWORD live = SimGdiLiveObjects();
  for (SIZEL size : {SIZEL{0, 7016}, SIZEL{4961, 0}, SIZEL{0, 0}}) {
    pdev->bandSurfaceSize = size;
    EXPECT_EQ(nullptr, EnableSurface(pdev)) << size.cx << " x " << size.cy;
    EXPECT_EQ(nullptr, pdev->surface);
  }
  EXPECT_EQ(live, SimGdiLiveObjects());
}

TEST_F(SurfaceTest, AFailedAssociationDeletesTheSurface) {
  GraphicsPdev* pdev = Pdev({});
  ASSERT_NE(nullptr, pdev);
  const DWORD live = SimGdiLiveObjects();
  pdev->hdev = nullptr;  // a device the engine does not know
  for (SHORT raster : {0, 1}) {
    pdev->rasterMode = raster;
    EXPECT_EQ(nullptr, EnableSurface(pdev)) << raster;
    EXPECT_EQ(live, SimGdiLiveObjects()) << raster;
  }
  pdev->hdev = hdev_;
}

}  // namespace
}  // namespace zems_test
