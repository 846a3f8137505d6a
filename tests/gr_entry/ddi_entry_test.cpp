// The graphics DLL's entry points: the user-mode query, the driver enable with its table, and
// the PDEV test every DDI function makes first.
#include <gtest/gtest.h>
#include <string.h>

#include "gr2k/pdev.h"
#include "platform/sim_gdi.h"
#include "support/print_fixture.h"

namespace zems_test {
namespace {

constexpr DWORD kUntouched = 0xE0E0E0E0u;

struct QueryCase {
  const char* what;
  DWORD mode;
  bool withBuffer;
  DWORD cbBuffer;
  BOOL result;
  DWORD needed;  // kUntouched: not written
  DWORD error;   // kUntouched: not set
};

class DriverEntryTest : public PrintTest {};

TEST_F(DriverEntryTest, QueryDriverInfoAnswersUserModeOnly) {
  const QueryCase cases[] = {
      {"user mode, 4 bytes", DRVQUERY_USERMODE, true, 4, TRUE, 4, kUntouched},
      {"user mode, 8 bytes", DRVQUERY_USERMODE, true, 8, TRUE, 4, kUntouched},
      {"user mode, 3 bytes", DRVQUERY_USERMODE, true, 3, FALSE, 4, ERROR_INSUFFICIENT_BUFFER},
      {"user mode, no buffer", DRVQUERY_USERMODE, false, 4, FALSE, 4, ERROR_INSUFFICIENT_BUFFER},
      {"mode 0", 0, true, 4, FALSE, kUntouched, ERROR_INVALID_PARAMETER},
      {"mode 2", 2, true, 4, FALSE, kUntouched, ERROR_INVALID_PARAMETER},
  };
  auto query = Export<PFN_DrvQueryDriverInfo>("DrvQueryDriverInfo");
  ASSERT_NE(nullptr, query);
  for (const QueryCase& c : cases) {
    DWORD buffer[2] = {kUntouched, kUntouched};
    DWORD needed = kUntouched;
    SetLastError(kUntouched);
    EXPECT_EQ(c.result, query(c.mode, c.withBuffer ? buffer : nullptr, c.cbBuffer, &needed)) << c.what;
    EXPECT_EQ(c.needed, needed) << c.what;
    EXPECT_EQ(c.error, GetLastError()) << c.what;
    EXPECT_EQ(c.result ? 1u : kUntouched, buffer[0]) << c.what;
  }
}

struct EnableCase {
  const char* what;
  ULONG version;
  ULONG cbData;
  BOOL result;
  DWORD error;
};

TEST_F(DriverEntryTest, EnableDriverTestsTheVersionBeforeTheSize) {
  const EnableCase cases[] = {
      {"old engine", 0x1FFFF, 12, FALSE, ERROR_BAD_DRIVER_LEVEL},
      {"old engine, small record", 0x1FFFF, 8, FALSE, ERROR_BAD_DRIVER_LEVEL},
      {"small record", 0x20000, 11, FALSE, ERROR_INVALID_PARAMETER},
      {"NT 5 engine", 0x20000, 12, TRUE, kUntouched},
      {"newer engine, larger record", 0x30000, 16, TRUE, kUntouched},
  };
  auto enable = Export<PFN_DrvEnableDriver>("DrvEnableDriver");
  for (const EnableCase& c : cases) {
    DRVENABLEDATA data[2];
    memset(data, 0, sizeof data);
    SetLastError(kUntouched);
    EXPECT_EQ(c.result, enable(c.version, c.cbData, data)) << c.what;
    EXPECT_EQ(c.error, GetLastError()) << c.what;
    EXPECT_EQ(c.result ? 0x30000u : 0u, data[0].iDriverVersion) << c.what;
    EXPECT_EQ(c.result ? 30u : 0u, data[0].c) << c.what;
  }
}

TEST_F(DriverEntryTest, TableListsTheThirtyFunctionsInItsOrder) {
  const ULONG order[] = {0,  2,  1,  7,  3,  4,  33, 32, 35, 34, 57, 58, 18, 20, 14,
                         15, 16, 12, 24, 37, 13, 19, 26, 28, 27, 64, 65, 69, 53, 23};
  const char* const names[] = {"DrvEnablePDEV",
                               "DrvDisablePDEV",
                               "DrvCompletePDEV",
                               "DrvResetPDEV",
                               "DrvEnableSurface",
                               "DrvDisableSurface",
                               "DrvStartPage",
                               "DrvSendPage",
                               "DrvStartDoc",
                               "DrvEndDoc",
                               "DrvStartBanding",
                               "DrvNextBand",
                               "DrvBitBlt",
                               "DrvStretchBlt",
                               "DrvStrokePath",
                               "DrvFillPath",
                               "DrvStrokeAndFillPath",
                               "DrvRealizeBrush",
                               "DrvEscape",
                               "DrvGetGlyphMode",
                               "DrvDitherColor",
                               "DrvCopyBits",
                               "DrvQueryFont",
                               "DrvQueryFontData",
                               "DrvQueryFontTree",
                               "DrvIcmCreateColorTransform",
                               "DrvIcmDeleteColorTransform",
                               "DrvStretchBltROP",
                               "DrvQueryAdvanceWidths",
                               "DrvTextOut"};
  ASSERT_EQ(30u, enable_.c);
  for (ULONG i = 0; i < 30; ++i) {
    EXPECT_EQ(order[i], enable_.pdrvfn[i].iFunc) << i;
    // The table and the export of the same name are one function.
    EXPECT_EQ(DdiFunctionCast<PFN>(GetProcAddress(dll_, names[i])), enable_.pdrvfn[i].pfn) << names[i];
  }
}

TEST_F(DriverEntryTest, EnablingAgainKeepsTheParkedContext) {
  DHPDEV first = EnablePdev(nullptr);
  ASSERT_NE(nullptr, first);
  DriverContext* parked = reinterpret_cast<GraphicsPdev*>(first)->context;
  Ddi<PFN_DrvDisablePDEV>(INDEX_DrvDisablePDEV)(first);  // the context goes back to the cache

  DRVENABLEDATA again = {};
  ASSERT_TRUE(Export<PFN_DrvEnableDriver>("DrvEnableDriver")(DDI_DRIVER_VERSION_NT5, sizeof again, &again));

  DHPDEV second = EnableCompletePdev(nullptr);
  ASSERT_NE(nullptr, second);
  EXPECT_EQ(parked, reinterpret_cast<GraphicsPdev*>(second)->context) << "the cached context was dropped";
}

// One DDI call of the table with a PDEV under test; the result as a number.
struct PdevCall {
  const char* name;
  ULONG (*call)(const PrintTest& t, DHPDEV pdev);
  ULONG badResult;
  DWORD badError;
};

class DdiPrologueTest : public PrintTest {
 public:
  template <class F>
  F Fn(ULONG index) const {
    return Ddi<F>(index);
  }
};

SURFOBJ DeviceSurface(DHPDEV pdev) {
  SURFOBJ so = {};
  so.dhpdev = pdev;
  so.iType = STYPE_DEVICE;
  so.sizlBitmap = {100, 100};
  return so;
}

#define T(x) static_cast<const DdiPrologueTest&>(x)
const PdevCall kPdevCalls[] = {
    {"DrvCompletePDEV",
     [](const PrintTest& t, DHPDEV p) {
       T(t).Fn<PFN_DrvCompletePDEV>(INDEX_DrvCompletePDEV)(p, nullptr);
       return 0ul;
     },
     0, ERROR_INVALID_PARAMETER},
    {"DrvResetPDEV old",
     [](const PrintTest& t, DHPDEV p) { return ULONG(T(t).Fn<PFN_DrvResetPDEV>(INDEX_DrvResetPDEV)(p, p)); }, FALSE,
     ERROR_INVALID_PARAMETER},
    {"DrvEnableSurface",
     [](const PrintTest& t, DHPDEV p) {
       return ULONG(reinterpret_cast<uintptr_t>(T(t).Fn<PFN_DrvEnableSurface>(INDEX_DrvEnableSurface)(p)));
     },
     0, ERROR_INVALID_PARAMETER},
    {"DrvDisableSurface",
     [](const PrintTest& t, DHPDEV p) {
       T(t).Fn<PFN_DrvDisableSurface>(INDEX_DrvDisableSurface)(p);
       return 0ul;
     },
     0, kUntouched},
    {"DrvStartPage",
     [](const PrintTest& t, DHPDEV p) {
       SURFOBJ so = DeviceSurface(p);
       return ULONG(T(t).Fn<PFN_DrvStartPage>(INDEX_DrvStartPage)(&so));
     },
     FALSE, ERROR_INVALID_PARAMETER},
    {"DrvSendPage",
     [](const PrintTest& t, DHPDEV p) {
       SURFOBJ so = DeviceSurface(p);
       return ULONG(T(t).Fn<PFN_DrvSendPage>(INDEX_DrvSendPage)(&so));
     },
     FALSE, ERROR_INVALID_PARAMETER},
    {"DrvStartDoc",
     [](const PrintTest& t, DHPDEV p) {
       SURFOBJ so = DeviceSurface(p);
       return ULONG(T(t).Fn<PFN_DrvStartDoc>(INDEX_DrvStartDoc)(&so, nullptr, 1));
     },
     FALSE, ERROR_INVALID_PARAMETER},
    {"DrvEndDoc",
     [](const PrintTest& t, DHPDEV p) {
       SURFOBJ so = DeviceSurface(p);
       return ULONG(T(t).Fn<PFN_DrvEndDoc>(INDEX_DrvEndDoc)(&so, 0));
     },
     FALSE, ERROR_INVALID_PARAMETER},
    {"DrvStartBanding",
     [](const PrintTest& t, DHPDEV p) {
       SURFOBJ so = DeviceSurface(p);
       POINTL o;
       return ULONG(T(t).Fn<PFN_DrvStartBanding>(INDEX_DrvStartBanding)(&so, &o));
     },
     FALSE, ERROR_INVALID_PARAMETER},
    {"DrvNextBand",
     [](const PrintTest& t, DHPDEV p) {
       SURFOBJ so = DeviceSurface(p);
       POINTL o;
       return ULONG(T(t).Fn<PFN_DrvNextBand>(INDEX_DrvNextBand)(&so, &o));
     },
     FALSE, ERROR_INVALID_PARAMETER},
    {"DrvBitBlt",
     [](const PrintTest& t, DHPDEV p) {
       SURFOBJ so = DeviceSurface(p);
       RECTL r = {0, 0, 10, 10};
       BRUSHOBJ b = {0, nullptr, 0};
       return ULONG(T(t).Fn<PFN_DrvBitBlt>(INDEX_DrvBitBlt)(&so, nullptr, nullptr, nullptr, nullptr, &r, nullptr,
                                                            nullptr, &b, nullptr, 0xF0F0));
     },
     FALSE, ERROR_INVALID_PARAMETER},
    {"DrvStretchBlt",
     [](const PrintTest& t, DHPDEV p) {
       SURFOBJ so = DeviceSurface(p);
       RECTL r = {0, 0, 10, 10};
       return ULONG(T(t).Fn<PFN_DrvStretchBlt>(INDEX_DrvStretchBlt)(&so, &so, nullptr, nullptr, nullptr, nullptr,
                                                                    nullptr, &r, &r, nullptr, 3));
     },
     FALSE, ERROR_INVALID_PARAMETER},
    {"DrvStrokePath",
     [](const PrintTest& t, DHPDEV p) {
       SURFOBJ so = DeviceSurface(p);
       PATHOBJ path = {};
       return ULONG(T(t).Fn<PFN_DrvStrokePath>(INDEX_DrvStrokePath)(&so, &path, nullptr, nullptr, nullptr, nullptr,
                                                                    nullptr, 0x0D0D));
     },
     DDI_ERROR, ERROR_INVALID_PARAMETER},
    {"DrvFillPath",
     [](const PrintTest& t, DHPDEV p) {
       SURFOBJ so = DeviceSurface(p);
       PATHOBJ path = {};
       return ULONG(T(t).Fn<PFN_DrvFillPath>(INDEX_DrvFillPath)(&so, &path, nullptr, nullptr, nullptr, 0x0D0D, 0));
     },
     DDI_ERROR, ERROR_INVALID_PARAMETER},
    {"DrvStrokeAndFillPath",
     [](const PrintTest& t, DHPDEV p) {
       SURFOBJ so = DeviceSurface(p);
       PATHOBJ path = {};
       return ULONG(T(t).Fn<PFN_DrvStrokeAndFillPath>(INDEX_DrvStrokeAndFillPath)(
           &so, &path, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0x0D0D, 0));
     },
     DDI_ERROR, ERROR_INVALID_PARAMETER},
    {"DrvRealizeBrush",
     [](const PrintTest& t, DHPDEV p) {
       SURFOBJ so = DeviceSurface(p);
       BRUSHOBJ b = {};
       return ULONG(T(t).Fn<PFN_DrvRealizeBrush>(INDEX_DrvRealizeBrush)(&b, &so, nullptr, nullptr, nullptr, 0));
     },
     FALSE, ERROR_INVALID_PARAMETER},
    {"DrvEscape",
     [](const PrintTest& t, DHPDEV p) {
       SURFOBJ so = DeviceSurface(p);
       return T(t).Fn<PFN_DrvEscape>(INDEX_DrvEscape)(&so, 8, 0, nullptr, 0, nullptr);
     },
     0, ERROR_INVALID_PARAMETER},
    {"DrvGetGlyphMode",
     [](const PrintTest& t, DHPDEV p) { return T(t).Fn<PFN_DrvGetGlyphMode>(INDEX_DrvGetGlyphMode)(p, nullptr); },
     FO_GLYPHBITS, kUntouched},
    {"DrvDitherColor",
     [](const PrintTest& t, DHPDEV p) {
       ULONG d[16];
       return T(t).Fn<PFN_DrvDitherColor>(INDEX_DrvDitherColor)(p, 0, 0x808080, d);
     },
     DCR_HALFTONE, kUntouched},
    {"DrvCopyBits",
     [](const PrintTest& t, DHPDEV p) {
       SURFOBJ so = DeviceSurface(p);
       SURFOBJ src = {};
       src.iType = STYPE_BITMAP;
       RECTL r = {0, 0, 10, 10};
       POINTL o = {0, 0};
       return ULONG(T(t).Fn<PFN_DrvCopyBits>(INDEX_DrvCopyBits)(&so, &src, nullptr, nullptr, &r, &o));
     },
     FALSE, ERROR_INVALID_PARAMETER},
    {"DrvQueryFont",
     [](const PrintTest& t, DHPDEV p) {
       ULONG_PTR id = 0;
       return ULONG(reinterpret_cast<uintptr_t>(T(t).Fn<PFN_DrvQueryFont>(INDEX_DrvQueryFont)(p, 0, 0, &id)));
     },
     0, ERROR_INVALID_PARAMETER},
    {"DrvQueryFontData",
     [](const PrintTest& t, DHPDEV p) {
       FONTOBJ f = {};
       return ULONG(T(t).Fn<PFN_DrvQueryFontData>(INDEX_DrvQueryFontData)(p, &f, 2, 0, nullptr, nullptr, 0));
     },
     FD_ERROR, ERROR_INVALID_PARAMETER},
    {"DrvQueryFontTree",
     [](const PrintTest& t, DHPDEV p) {
       ULONG_PTR id = 0;
       return ULONG(
           reinterpret_cast<uintptr_t>(T(t).Fn<PFN_DrvQueryFontTree>(INDEX_DrvQueryFontTree)(p, 0, 1, 1, &id)));
     },
     0, ERROR_INVALID_PARAMETER},
    {"DrvIcmCreateColorTransform",
     [](const PrintTest& t, DHPDEV p) {
       return ULONG(reinterpret_cast<uintptr_t>(T(t).Fn<PFN_DrvIcmCreateColorTransform>(
           INDEX_DrvIcmCreateColorTransform)(p, nullptr, nullptr, 0, nullptr, 0, nullptr, 0, 0)));
     },
     0, ERROR_INVALID_PARAMETER},
    {"DrvIcmDeleteColorTransform",
     [](const PrintTest& t, DHPDEV p) {
       return ULONG(T(t).Fn<PFN_DrvIcmDeleteColorTransform>(INDEX_DrvIcmDeleteColorTransform)(p, nullptr));
     },
     FALSE, ERROR_INVALID_PARAMETER},
    {"DrvStretchBltROP",
     [](const PrintTest& t, DHPDEV p) {
       SURFOBJ so = DeviceSurface(p);
       RECTL r = {0, 0, 10, 10};
       return ULONG(T(t).Fn<PFN_DrvStretchBltROP>(INDEX_DrvStretchBltROP)(
           &so, &so, nullptr, nullptr, nullptr, nullptr, nullptr, &r, &r, nullptr, 3, nullptr, 0xCCCC));
     },
     FALSE, ERROR_INVALID_PARAMETER},
    {"DrvQueryAdvanceWidths",
     [](const PrintTest& t, DHPDEV p) {
       FONTOBJ f = {};
       HGLYPH g = 0;
       USHORT w = 0;
       return ULONG(T(t).Fn<PFN_DrvQueryAdvanceWidths>(INDEX_DrvQueryAdvanceWidths)(p, &f, 1, &g, &w, 1));
     },
     FALSE, ERROR_INVALID_PARAMETER},
    {"DrvTextOut",
     [](const PrintTest& t, DHPDEV p) {
       SURFOBJ so = DeviceSurface(p);
       STROBJ s = {};
       FONTOBJ f = {};
       BRUSHOBJ b = {};
       return ULONG(T(t).Fn<PFN_DrvTextOut>(INDEX_DrvTextOut)(&so, &s, &f, nullptr, nullptr, nullptr, &b, nullptr,
                                                              nullptr, 0x0D0D));
     },
     FALSE, ERROR_INVALID_PARAMETER},
    {"DrvDisablePDEV",
     [](const PrintTest& t, DHPDEV p) {
       T(t).Fn<PFN_DrvDisablePDEV>(INDEX_DrvDisablePDEV)(p);
       return 0ul;
     },
     0, ERROR_INVALID_PARAMETER},
};
#undef T

TEST_F(DdiPrologueTest, EveryFunctionRefusesAPdevWithAnOverwrittenMagic) {
  DHPDEV pdev = EnableCompletePdev(nullptr);
  ASSERT_NE(nullptr, pdev);
  GraphicsPdev* p = reinterpret_cast<GraphicsPdev*>(pdev);
  for (DWORD* word : {&p->magic, &p->magicEnd}) {
    const char* which = word == &p->magic ? "first word" : "last word";
    for (const PdevCall& c : kPdevCalls) {
      *word = 0x19651014u;
      SetLastError(kUntouched);
      EXPECT_EQ(c.badResult, c.call(*this, pdev)) << c.name << ", " << which;
      EXPECT_EQ(c.badError, GetLastError()) << c.name << ", " << which;
      *word = kPdevMagic;
    }
  }
  // A null PDEV is refused the same way, and the surface calls refuse a null surface object.
  SetLastError(kUntouched);
  EXPECT_FALSE(Ddi<PFN_DrvStartPage>(INDEX_DrvStartPage)(nullptr));
  EXPECT_EQ(ERROR_INVALID_PARAMETER, GetLastError());
  EXPECT_EQ(nullptr, Ddi<PFN_DrvEnableSurface>(INDEX_DrvEnableSurface)(nullptr));
  // The valid PDEV on the other side of a reset is not enough.
  SetLastError(kUntouched);
  p->magicEnd = 0;
  EXPECT_FALSE(Ddi<PFN_DrvResetPDEV>(INDEX_DrvResetPDEV)(reinterpret_cast<DHPDEV>(p), pdev));
  p->magicEnd = kPdevMagic;
  EXPECT_EQ(ERROR_INVALID_PARAMETER, GetLastError());
}

// Every colour is left to the engine's halftoning.
TEST_F(DdiPrologueTest, DitherColorAnswersHalftoneForEveryColour) {
  DHPDEV pdev = EnableCompletePdev(nullptr);
  ASSERT_NE(nullptr, pdev);
  ULONG dither[64] = {};
  for (ULONG rgb : {0x000000u, 0x808080u, 0xFFFFFFu, 0x123456u})
    EXPECT_EQ(ULONG(DCR_HALFTONE), Ddi<PFN_DrvDitherColor>(INDEX_DrvDitherColor)(pdev, 0, rgb, dither)) << rgb;
}

// Drawing in order: the no-output switch, then the output-failed flag, then raster or vector.
TEST_F(DdiPrologueTest, DrawingCallsTestNoOutputThenOutputFailedThenRasterMode) {
  DHPDEV pdev = EnableCompletePdev(nullptr);
  ASSERT_NE(nullptr, pdev);
  GraphicsPdev* p = reinterpret_cast<GraphicsPdev*>(pdev);
  // A bitmap of the engine with this PDEV: in raster mode the engine draws into it.
  HBITMAP bitmap = EngCreateBitmap(SIZEL{16, 4}, 4, BMF_1BPP, BMF_TOPDOWN, nullptr);
  ASSERT_NE(nullptr, bitmap);
  SURFOBJ* so = EngLockSurface(reinterpret_cast<HSURF>(bitmap));
  so->dhpdev = pdev;
  RECTL all = {0, 0, 16, 4};
  RECTL left = {0, 0, 8, 4};
  BRUSHOBJ white = {1, nullptr, 0};
  auto blt = Ddi<PFN_DrvBitBlt>(INDEX_DrvBitBlt);
  auto firstByte = [&] { return static_cast<BYTE*>(so->pvScan0)[0]; };

  struct Case {
    const char* what;
    DWORD noOutput;
    DWORD flags;
    SHORT raster;
    BOOL result;
    BYTE firstByte;  // 0xFF once the engine has drawn
  } cases[] = {
      {"no output after a failed write", 1, kPdevOutputFailed, 1, TRUE, 0x00},
      {"failed write", 0, kPdevOutputFailed, 1, FALSE, 0x00},
      {"vector mode", 0, 0, 0, TRUE, 0x00},
      {"raster mode: the engine draws", 0, 0, 1, TRUE, 0xFF},
  };
  for (const Case& c : cases) {
    EngEraseSurface(so, &all, 0);
    p->noOutput = c.noOutput;
    p->flags = c.flags;
    p->rasterMode = c.raster;
    EXPECT_EQ(c.result, blt(so, nullptr, nullptr, nullptr, nullptr, &left, nullptr, nullptr, &white, nullptr, 0xF0F0))
        << c.what;
    EXPECT_EQ(c.firstByte, firstByte()) << c.what;
  }
  p->noOutput = 0;
  p->flags = 0;
  p->rasterMode = 0;
  EngUnlockSurface(so);
  EngDeleteSurface(reinterpret_cast<HSURF>(bitmap));
}

// A copy from a device surface cannot read it: the destination rectangle is made white, before
// any PDEV is looked at; a copy into a bitmap is not the driver's.
TEST_F(DdiPrologueTest, CopyFromTheDeviceErasesTheDestination) {
  HBITMAP bitmap = EngCreateBitmap(SIZEL{8, 2}, 0, BMF_8BPP, BMF_TOPDOWN, nullptr);
  ASSERT_NE(nullptr, bitmap);
  SURFOBJ* dst = EngLockSurface(reinterpret_cast<HSURF>(bitmap));
  SURFOBJ device = {};
  device.iType = STYPE_DEVICE;
  RECTL part = {2, 0, 5, 2};
  POINTL origin = {0, 0};
  auto copy = Ddi<PFN_DrvCopyBits>(INDEX_DrvCopyBits);
  EXPECT_TRUE(copy(dst, &device, nullptr, nullptr, &part, &origin));
  const BYTE* row = static_cast<const BYTE*>(dst->pvScan0);
  EXPECT_EQ(std::vector<BYTE>(row, row + 8), (std::vector<BYTE>{0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0}));
  SURFOBJ bitmapSource = *dst;
  EXPECT_FALSE(copy(dst, &bitmapSource, nullptr, nullptr, &part, &origin));
  EngUnlockSurface(dst);
  EngDeleteSurface(reinterpret_cast<HSURF>(bitmap));
}

}  // namespace
}  // namespace zems_test
