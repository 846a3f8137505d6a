// The PDEV's answers to GDI: GDIINFO and DEVINFO over job DEVMODEs of the sample printer, the
// halftone pattern and character set tables, and what a failed enable leaves behind.
#include <gtest/gtest.h>
#include <string.h>

#include "core/system/driver_paths.h"
#include "gr2k/pdev.h"
#include "platform/mscms.h"
#include "platform/sim.h"
#include "platform/sim_gdi.h"
#include "support/print_fixture.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

class PdevCapsTest : public PrintTest {
 protected:
  // GDIINFO and DEVINFO of a PDEV made for the job DEVMODE with these items; the PDEV stays.
  GraphicsPdev* Enable(const std::vector<ItemValue>& items) {
    DHPDEV pdev = EnableJob(items);
    EXPECT_NE(nullptr, pdev);
    return reinterpret_cast<GraphicsPdev*>(pdev);
  }
};

TEST_F(PdevCapsTest, ResolutionGivesPixelsAspectStylesAndHalftonePattern) {
  struct Case {
    LONG quality;
    ULONG dpi;
    LONG denStyleStep;
    ULONG pattern;
  } cases[] = {
      {0, 600, 24, 7},  // no resolution in the job: 600 dpi
      {600, 600, 24, 7},
      {1200, 1200, 48, 11},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.quality);
    ASSERT_NE(nullptr, Enable({{"dmPrintQuality", c.quality}}));
    EXPECT_EQ(c.dpi, gdi_.ulLogPixelsX);
    EXPECT_EQ(c.dpi, gdi_.ulLogPixelsY);
    EXPECT_EQ(c.dpi, gdi_.ulAspectX);
    EXPECT_EQ(c.dpi * 1414 / 1000, gdi_.ulAspectXY);
    EXPECT_EQ(c.denStyleStep, gdi_.denStyleStep);
    EXPECT_EQ(c.pattern, gdi_.ulHTPatternSize);
    EXPECT_EQ(0x500u, gdi_.ulVersion);
    EXPECT_EQ(ULONG(DT_RASPRINTER), gdi_.ulTechnology);
    EXPECT_EQ(0x581Fu, gdi_.flTextCaps);
    EXPECT_EQ(6380, gdi_.ciDevice.Red.x);
    EXPECT_EQ(10000, gdi_.ciDevice.BlueGamma);
  }
}

TEST_F(PdevCapsTest, HalftonePatternTakesTheSmallerResolution) {
  struct Case {
    ULONG x, y;
    BOOL plain;
    ULONG size;
  } cases[] = {{600, 600, FALSE, 7},    {175, 175, FALSE, 3},    {1200, 600, FALSE, 7},  {600, 1200, FALSE, 7},
               {180, 180, FALSE, 5},    {400, 400, FALSE, 7},    {900, 900, FALSE, 9},   {1200, 1200, FALSE, 11},
               {1800, 1800, FALSE, 13}, {2400, 2400, FALSE, 15}, {2400, 2400, TRUE, 13}, {175, 600, TRUE, 1}};
  for (const Case& c : cases)
    EXPECT_EQ(c.size, PdevHalftonePattern(c.x, c.y, c.plain)) << c.x << " x " << c.y << (c.plain ? " plain" : "");
}

TEST_F(PdevCapsTest, CharsetTableAnswersBothDirections) {
  struct Case {
    WORD codePage, charset;
  } pairs[] = {{1252, ANSI_CHARSET}, {932, SHIFTJIS_CHARSET}, {874, THAI_CHARSET}, {1250, EASTEUROPE_CHARSET}};
  for (const Case& c : pairs) {
    WORD pair[2] = {0, 0};
    ASSERT_EQ(1, PdevCharsetFromCodePage(c.codePage, pair, kCharsetByCodePage)) << c.codePage;
    EXPECT_EQ(c.charset, pair[1]) << c.codePage;
    WORD back[2] = {0, 0};
    ASSERT_EQ(1, PdevCharsetFromCodePage(c.charset, back, kCharsetByCharset)) << c.charset;
    EXPECT_EQ(c.codePage, back[0]) << c.charset;
  }
  WORD pair[2] = {7, 7};
  EXPECT_EQ(0, PdevCharsetFromCodePage(437, pair, kCharsetByCodePage));
  EXPECT_EQ(0, PdevCharsetFromCodePage(1252, pair, 3)) << "an unknown direction finds nothing";
  EXPECT_EQ(7, pair[0]);
}

// A PDEV of the job options alone, as the option load leaves it.
struct JobOptions {
  SHORT raster, colourProcess;
  DWORD colour;
  SHORT oneBpp;
};

TEST_F(PdevCapsTest, ColourDepthPaletteAndDitherFollowTheJob) {
  struct Case {
    const char* what;
    JobOptions job;
    ULONG bits, planes, colours, paletteRegisters, htFormat;
    FLONG caps;  // without GCAPS_DONTJOURNAL and GCAPS_ICM
    ULONG paletteMode, ditherFormat;
    USHORT dither;
  } cases[] = {
      {"raster mono", {1, 1, 1, 0}, 1, 1, 2, 2, HT_FORMAT_1BPP, 0x430 | GCAPS_FORCEDITHER, PAL_INDEXED, BMF_1BPP, 8},
      {"raster colour", {1, 1, 2, 0}, 8, 3, 0xFFFFFF, 0xFFFFFF, HT_FORMAT_24BPP, 0x430, PAL_BGR, BMF_24BPP, 0},
      {"vector, colour process 1, colour", {0, 1, 2, 0}, 1, 1, 8, 20, HT_FORMAT_24BPP, 0x1F, PAL_BGR, BMF_24BPP, 0},
      {"vector, colour process 1, mono", {0, 1, 1, 0}, 1, 1, 2, 2, HT_FORMAT_24BPP, 0x1F, PAL_BGR, BMF_24BPP, 0},
      {"vector, process 2", {0, 2, 2, 0}, 24, 1, 0xFFFFFF, 0xFFFFFF, HT_FORMAT_24BPP, 0x1F, PAL_BGR, BMF_24BPP, 0},
      {"vector, other process", {0, 0, 2, 0}, 8, 3, 0xFFFFFF, 0xFFFFFF, HT_FORMAT_24BPP, 0x1F, PAL_BGR, BMF_24BPP, 0},
      {"vector, 1-bpp surface, mono", {0, 1, 1, 1}, 1, 1, 2, 2, HT_FORMAT_1BPP, 0x1F, PAL_BGR, BMF_24BPP, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    GraphicsPdev pdev = {};
    pdev.rasterMode = c.job.raster;
    pdev.colourProcess = c.job.colourProcess;
    pdev.colour = c.job.colour;
    pdev.oneBppSurface = c.job.oneBpp;
    pdev.resolution = 600;
    pdev.emfSpooling = 1;
    GDIINFO gdi;
    DEVINFO info;
    ASSERT_TRUE(PdevFillGdiInfo(&pdev, sizeof gdi, reinterpret_cast<ULONG*>(&gdi), &gdi));
    ASSERT_TRUE(PdevFillDevInfo(&pdev, &gdi, sizeof info, &info));
    EXPECT_EQ(c.bits, gdi.cBitsPixel);
    EXPECT_EQ(c.planes, gdi.cPlanes);
    EXPECT_EQ(c.colours, gdi.ulNumColors);
    EXPECT_EQ(c.paletteRegisters, gdi.ulNumPalReg);
    EXPECT_EQ(c.htFormat, gdi.ulHTOutputFormat);
    EXPECT_EQ(c.caps, info.flGraphicsCaps & ~FLONG(GCAPS_DONTJOURNAL | GCAPS_ICM));
    EXPECT_EQ(c.ditherFormat, info.iDitherFormat);
    EXPECT_EQ(c.dither, info.cxDither);
    EXPECT_EQ(c.dither, info.cyDither);
    ULONG mode = 0, count = 0, colours[4] = {};
    ASSERT_TRUE(SimGdiGetPalette(info.hpalDefault, &mode, colours, 4, &count));
    EXPECT_EQ(c.paletteMode, mode);
    if (mode == PAL_INDEXED) {
      ASSERT_EQ(2u, count);
      EXPECT_EQ(0x000000u, colours[0]) << "black first";
      EXPECT_EQ(0xFFFFFFu, colours[1]);
    }
    EXPECT_TRUE(EngDeletePalette(pdev.palette));
  }
}

// The same through the driver: the job DEVMODE's items reach GDIINFO and DEVINFO, and a vector
// job without a colour process takes process 2 when the hidden switch says so.
TEST_F(PdevCapsTest, JobItemsReachTheAnswers) {
  GraphicsPdev* raster = Enable({{"zdmImagePrint", 1}, {"zdmColorProcess", 1}, {"dmColor", 1}});
  ASSERT_NE(nullptr, raster);
  EXPECT_EQ(1u, gdi_.cBitsPixel);
  EXPECT_EQ(ULONG(BMF_1BPP), devInfo_.iDitherFormat);
  EXPECT_TRUE(devInfo_.flGraphicsCaps & GCAPS_FORCEDITHER);
  EXPECT_EQ(0u, devInfo_.cFonts) << "raster mode announces no device fonts";
  EXPECT_EQ(nullptr, raster->deviceFonts);

  GraphicsPdev* pdev = Enable({{"zdmImagePrint", 0}, {"zdmColorProcess", 0}, {"zdmHidden2Func9", 1}, {"dmColor", 2}});
  ASSERT_NE(nullptr, pdev);
  EXPECT_EQ(2, pdev->colourProcess);
  EXPECT_EQ(24u, gdi_.cBitsPixel);
  EXPECT_EQ(0x1Fu, devInfo_.flGraphicsCaps & 0x1F);
  EXPECT_EQ(4u, devInfo_.cFonts) << "vector mode announces the four device fonts";
  EXPECT_EQ(4u, pdev->deviceFontCount);
}

TEST_F(PdevCapsTest, SpoolingFilterAndIcmSwitchesSetTheCaps) {
  struct Case {
    const char* what;
    std::vector<ItemValue> items;
    bool dontJournal, icm;
  } cases[] = {
      {"EMF spooling", {{"zdmExtOutputEMFSpool", 1}}, false, false},
      {"EMF spooling off", {{"zdmExtOutputEMFSpool", 0}}, true, false},
      {"ICM on, colour", {{"dmColor", 2}, {"zdmColorMatching", 1}, {"zdmICMType", 1}}, false, true},
      {"ICM on, monochrome", {{"dmColor", 1}, {"zdmColorMatching", 1}, {"zdmICMType", 1}}, false, false},
      {"ICM type 2", {{"dmColor", 2}, {"zdmColorMatching", 1}, {"zdmICMType", 2}}, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<ItemValue> items = c.items;
    if (c.what[0] == 'I') items.push_back({"zdmExtOutputEMFSpool", 1});
    ASSERT_NE(nullptr, Enable(items));
    EXPECT_EQ(c.dontJournal, (devInfo_.flGraphicsCaps & GCAPS_DONTJOURNAL) != 0);
    EXPECT_EQ(c.icm, (devInfo_.flGraphicsCaps & GCAPS_ICM) != 0);
  }
}

TEST_F(PdevCapsTest, FilterForcingRawStopsJournaling) {
  WCHAR folder[MAX_PATH] = {};
  ASSERT_NE(nullptr, PathGetDriverDirOf(printer_, folder, MAX_PATH));
  std::string narrow;
  for (const WCHAR* p = folder; *p; ++p) narrow += char(*p);
  ASSERT_TRUE(WriteMachineFile(narrow + "ZEMSPLUG.ini",
                               "[iZEMSFilter]\r\nCount=1\r\nPluginID0=zfilter\r\n[zfilter]\r\nName=Filter\r\n"
                               "InstallPath=zfilter.dll\r\nForceRAW=1\r\n"));
  GraphicsPdev* pdev = Enable({{"zdmExtOutputEMFSpool", 1}});
  ASSERT_NE(nullptr, pdev);
  EXPECT_EQ(1u, pdev->filterMode);
  EXPECT_EQ(1u, pdev->forceRaw);
  EXPECT_TRUE(devInfo_.flGraphicsCaps & GCAPS_DONTJOURNAL);
}

TEST_F(PdevCapsTest, PrintAreaKindTwoGivesMillimetresElseNegativeMicrometres) {
  GraphicsPdev* pdev = Enable({{"dmPrintQuality", 600}});
  ASSERT_NE(nullptr, pdev);
  const PdevPaperMetricsRecord& m = pdev->paper;
  ASSERT_GT(m.printableWidthDots, 0);
  EXPECT_EQ(m.printableWidthDots * 254 / 600, m.printableWidthTenthMm);
  EXPECT_EQ(ULONG(m.printableWidthDots), gdi_.ulHorzRes);
  EXPECT_EQ(ULONG(m.printableLengthDots), gdi_.ulVertRes);
  EXPECT_EQ(-m.printableWidthTenthMm * 100, LONG(gdi_.ulHorzSize));
  EXPECT_EQ(-m.printableLengthTenthMm * 100, LONG(gdi_.ulVertSize));
  EXPECT_EQ(m.paperWidthDots, gdi_.szlPhysSize.cx);
  EXPECT_EQ(m.offsetXDots, gdi_.ptlPhysOffset.x);
  EXPECT_EQ(m.offsetYDots, gdi_.ptlPhysOffset.y);

  // The sample's print-area item knows kinds 0 and 1 only: kind 2 is given to the PDEV itself.
  pdev->printAreaKind = 2;
  GDIINFO gdi;
  ASSERT_TRUE(PdevFillGdiInfo(pdev, sizeof gdi, reinterpret_cast<ULONG*>(&gdi), nullptr));
  EXPECT_EQ(ULONG(m.printableWidthTenthMm / 10), gdi.ulHorzSize);
  EXPECT_EQ(ULONG(m.printableLengthTenthMm / 10), gdi.ulVertSize);
}

TEST_F(PdevCapsTest, DefaultFontIsTheDeviceFaceInVectorModeWithTheSwitch) {
  GraphicsPdev* pdev =
      Enable({{"zdmImagePrint", 0}, {"zdmLanguageID", 0}, {"zdmHiddenFunc4", 1}, {"dmPrintQuality", 600}});
  ASSERT_NE(nullptr, pdev);
  const LOGFONTW& f = devInfo_.lfDefaultFont;
  EXPECT_EQ((600 * 10 + 300) / 72, f.lfHeight);
  EXPECT_EQ(f.lfHeight / 2, f.lfWidth);
  EXPECT_EQ(400, f.lfWeight);
  EXPECT_EQ(0x11, f.lfPitchAndFamily);
  EXPECT_EQ(u'\u660E', f.lfFaceName[0]);
  EXPECT_EQ(u'\u671D', f.lfFaceName[1]);
  EXPECT_EQ(0, f.lfFaceName[2]);
  EXPECT_EQ(0, memcmp(&f.lfFaceName, &devInfo_.lfAnsiFixFont.lfFaceName, sizeof f.lfFaceName));

  ASSERT_NE(nullptr, Enable({{"zdmImagePrint", 1}, {"zdmHiddenFunc4", 1}}));
  EXPECT_EQ(0, devInfo_.lfDefaultFont.lfHeight) << "raster mode has no default font";
  EXPECT_EQ(0, devInfo_.lfDefaultFont.lfFaceName[0]);
}

TEST_F(PdevCapsTest, DefaultFontCharsetFollowsTheAnsiCodePage) {
  struct Case {
    UINT codePage;
    BYTE charset;
  } cases[] = {{1252, ANSI_CHARSET}, {932, SHIFTJIS_CHARSET}};
  for (const Case& c : cases) {
    ASSERT_TRUE(SimSetAnsiCodePage(c.codePage));
    ASSERT_NE(nullptr, Enable({}));
    EXPECT_EQ(c.charset, devInfo_.lfDefaultFont.lfCharSet) << c.codePage;
    EXPECT_EQ(ANSI_CHARSET, devInfo_.lfAnsiVarFont.lfCharSet) << c.codePage;
    EXPECT_EQ(ANSI_CHARSET, devInfo_.lfAnsiFixFont.lfCharSet) << c.codePage;
  }
  SimSetAnsiCodePage(1252);
}

TEST_F(PdevCapsTest, NoMoreThanTheCallersSizeIsWritten) {
  auto enablePdev = Ddi<PFN_DrvEnablePDEV>(INDEX_DrvEnablePDEV);
  BYTE gdi[sizeof(GDIINFO) + 8];
  BYTE dev[sizeof(DEVINFO) + 8];
  for (ULONG cb : {0ul, 4ul, 100ul, 303ul, 304ul}) {
    memset(gdi, 0xAB, sizeof gdi);
    memset(dev, 0xAB, sizeof dev);
    ULONG cbDev = cb < 300 ? cb : 300;
    DHPDEV pdev = enablePdev(nullptr, nullptr, 0, nullptr, cb, reinterpret_cast<ULONG*>(gdi), cbDev,
                             reinterpret_cast<DEVINFO*>(dev), hdev_, nullptr, printer_);
    ASSERT_NE(nullptr, pdev) << cb;
    for (size_t i = cb; i < sizeof gdi; ++i) ASSERT_EQ(0xAB, gdi[i]) << "GDIINFO byte " << i << " of " << cb;
    for (size_t i = cbDev; i < sizeof dev; ++i) ASSERT_EQ(0xAB, dev[i]) << "DEVINFO byte " << i << " of " << cbDev;
    if (cb >= 4) {
      EXPECT_EQ(0x500u, reinterpret_cast<ULONG*>(gdi)[0]);
    }
    DisablePdev(pdev);
  }
}

TEST_F(PdevCapsTest, ResetBeforeTheDocumentCarriesNothing) {
  GraphicsPdev* old = Enable({});
  GraphicsPdev* fresh = Enable({{"dmCopies", 3}});
  ASSERT_TRUE(old && fresh);
  old->pageNumber = 5;
  old->jobId = 9;
  EXPECT_TRUE(
      Ddi<PFN_DrvResetPDEV>(INDEX_DrvResetPDEV)(reinterpret_cast<DHPDEV>(old), reinterpret_cast<DHPDEV>(fresh)));
  EXPECT_EQ(0u, fresh->pageNumber);
  EXPECT_EQ(0u, fresh->jobId);
  EXPECT_EQ(0u, fresh->flags);
  EXPECT_EQ(0u, old->flags);

  // Once the document has started, the page count, job and document flag go over.
  old->flags = kPdevDocStarted;
  EXPECT_TRUE(
      Ddi<PFN_DrvResetPDEV>(INDEX_DrvResetPDEV)(reinterpret_cast<DHPDEV>(old), reinterpret_cast<DHPDEV>(fresh)));
  EXPECT_EQ(5u, fresh->pageNumber);
  EXPECT_EQ(9u, fresh->jobId);
  EXPECT_EQ(DWORD(kPdevDocStarted | kPdevCarriedOver), fresh->flags);
  EXPECT_EQ(DWORD(kPdevDocStarted | kPdevCarriedOver), old->flags);
}

// The application's colour transforms move to the PDEV a reset makes (only once the document
// has started) and are freed with the last PDEV that holds them.
TEST_F(PdevCapsTest, ColourTransformsMoveWithTheReset) {
  GraphicsPdev* old = Enable({});
  GraphicsPdev* fresh = Enable({});
  ASSERT_TRUE(old && fresh);
  DWORD before = SimIcmLiveObjects();
  BYTE profile[64] = {1};
  HANDLE transform = Ddi<PFN_DrvIcmCreateColorTransform>(INDEX_DrvIcmCreateColorTransform)(
      reinterpret_cast<DHPDEV>(old), nullptr, nullptr, 0, profile, sizeof profile, nullptr, 0, 0);
  ASSERT_NE(nullptr, transform);
  old->flags = kPdevDocStarted;
  ASSERT_TRUE(
      Ddi<PFN_DrvResetPDEV>(INDEX_DrvResetPDEV)(reinterpret_cast<DHPDEV>(old), reinterpret_cast<DHPDEV>(fresh)));
  auto remove = Ddi<PFN_DrvIcmDeleteColorTransform>(INDEX_DrvIcmDeleteColorTransform);
  EXPECT_FALSE(remove(reinterpret_cast<DHPDEV>(old), transform)) << "the old PDEV holds it no more";
  DisablePdev(reinterpret_cast<DHPDEV>(old));
  EXPECT_EQ(before + 2, SimIcmLiveObjects()) << "the transform and its profile live on";
  DisablePdev(reinterpret_cast<DHPDEV>(fresh));
  EXPECT_EQ(before, SimIcmLiveObjects());
}

// Every allocation of the enable in turn fails: NULL each time, and nothing of the machine's
// engine objects is left (the sanitizer build also sees the heap).
TEST_F(PdevCapsTest, AFailureAtEachAllocationLeavesNothing) {
  std::vector<BYTE> dm = JobDevmode({{"zdmImagePrint", 1}, {"zdmColorProcess", 1}, {"dmColor", 1}});
  // One enable first: the model is compiled and the printer's context parked, so the failures
  // fall on the enable's own allocations (the first compile has its own tests).
  DHPDEV warm = EnablePdev(&dm);
  ASSERT_NE(nullptr, warm);
  DisablePdev(warm);
  const DWORD liveBefore = SimGdiLiveObjects();
  int n = 0;
  for (;; ++n) {
    ASSERT_LT(n, 2000) << "the enable never succeeded";
    SimFailAllocations(n);
    DHPDEV pdev = EnablePdev(&dm);
    SimFailAllocations(-1);
    if (pdev) {
      DisablePdev(pdev);
      break;
    }
    ASSERT_EQ(liveBefore, SimGdiLiveObjects()) << "allocation " << n << " left an engine object";
  }
  EXPECT_GT(n, 3) << "the pool, the PDEV, the DEVMODE copy and the clip state are allocations";
  EXPECT_EQ(liveBefore, SimGdiLiveObjects());
}

TEST_F(PdevCapsTest, AJobDevmodeClaimingMoreThanItsHeaderHoldsIsRefused) {
  std::vector<BYTE> dm = JobDevmode({});
  DEVMODEW* header = reinterpret_cast<DEVMODEW*>(dm.data());
  header->dmSize = 20;  // shorter than the fields before dmFields
  dm.resize(size_t(header->dmSize) + header->dmDriverExtra);
  SetLastError(0);
  EXPECT_EQ(nullptr, EnablePdev(&dm));
  EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
}

}  // namespace
}  // namespace zems_test
