// GDI's order of DDI calls, pinned against a recording fake driver: a plain page, a
// journaled (metafile-played) page, banded pages with and without journaling, and a reset.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim_gdi.h"
#include "support/print_fixture.h"

namespace zems_test {
namespace {

// What the fake answers: a banding bitmap or a device surface, journaling or not.
struct FakeSetup {
  bool banding = false;
  bool dontJournal = true;
  LONG width = 100, height = 250, bandHeight = 100;
};
FakeSetup g_setup;
int g_pdevs = 0;
std::vector<std::string> g_calls;
BYTE g_pdevMemory[4][16];
HDEV g_hdev = nullptr;

SURFOBJ* g_so = nullptr;

DHPDEV WINAPI FakeEnablePdev(DEVMODEW*, LPWSTR, ULONG, HSURF*, ULONG cbGdi, ULONG* gdi, ULONG cbDev, DEVINFO* dev, HDEV,
                             LPWSTR, HANDLE) {
  g_calls.push_back("DrvEnablePDEV");
  GDIINFO g = {};
  g.ulHorzRes = ULONG(g_setup.width);
  g.ulVertRes = ULONG(g_setup.height);
  memcpy(gdi, &g, cbGdi < sizeof g ? cbGdi : sizeof g);
  DEVINFO d = {};
  d.flGraphicsCaps = g_setup.dontJournal ? GCAPS_DONTJOURNAL : 0;
  d.hpalDefault = EngCreatePalette(PAL_BGR, 0, nullptr, 0, 0, 0);
  memcpy(dev, &d, cbDev < sizeof d ? cbDev : sizeof d);
  return reinterpret_cast<DHPDEV>(g_pdevMemory[g_pdevs++ % 4]);
}
VOID WINAPI FakeCompletePdev(DHPDEV, HDEV hdev) {
  g_calls.push_back("DrvCompletePDEV");
  g_hdev = hdev;
}
VOID WINAPI FakeDisablePdev(DHPDEV) { g_calls.push_back("DrvDisablePDEV"); }
BOOL WINAPI FakeResetPdev(DHPDEV, DHPDEV) {
  g_calls.push_back("DrvResetPDEV");
  return TRUE;
}
HSURF WINAPI FakeEnableSurface(DHPDEV pdev) {
  g_calls.push_back("DrvEnableSurface");
  HSURF surface;
  FLONG hooks = HOOK_BITBLT;
  if (g_setup.banding) {
    surface = reinterpret_cast<HSURF>(
        EngCreateBitmap(SIZEL{g_setup.width, g_setup.bandHeight}, 0, BMF_1BPP, BMF_TOPDOWN, nullptr));
    EngMarkBandingSurface(surface);
  } else {
    surface = EngCreateDeviceSurface(reinterpret_cast<DHSURF>(pdev), SIZEL{g_setup.width, g_setup.height}, BMF_24BPP);
  }
  EngAssociateSurface(surface, g_hdev, hooks);
  g_so = EngLockSurface(surface);
  return surface;
}
VOID WINAPI FakeDisableSurface(DHPDEV) {
  g_calls.push_back("DrvDisableSurface");
  if (g_so) {
    HSURF s = g_so->hsurf;
    EngUnlockSurface(g_so);
    EngDeleteSurface(s);
    g_so = nullptr;
  }
}
BOOL WINAPI FakeStartDoc(SURFOBJ*, LPWSTR, DWORD) {
  g_calls.push_back("DrvStartDoc");
  return TRUE;
}
BOOL WINAPI FakeEndDoc(SURFOBJ*, FLONG) {
  g_calls.push_back("DrvEndDoc");
  return TRUE;
}
BOOL WINAPI FakeStartPage(SURFOBJ*) {
  g_calls.push_back("DrvStartPage");
  return TRUE;
}
BOOL WINAPI FakeSendPage(SURFOBJ*) {
  g_calls.push_back("DrvSendPage");
  return TRUE;
}
POINTL g_band;
BOOL WINAPI FakeStartBanding(SURFOBJ*, POINTL* origin) {
  g_calls.push_back("DrvStartBanding");
  g_band = *origin = POINTL{0, 0};
  return TRUE;
}
BOOL WINAPI FakeNextBand(SURFOBJ*, POINTL* origin) {
  g_calls.push_back("DrvNextBand");
  g_band.y += g_setup.bandHeight;
  if (g_band.y >= g_setup.height) g_band = POINTL{-1, -1};
  *origin = g_band;
  return TRUE;
}
BOOL WINAPI FakeBitBlt(SURFOBJ*, SURFOBJ*, SURFOBJ*, CLIPOBJ* clip, XLATEOBJ*, RECTL* r, POINTL*, POINTL*, BRUSHOBJ*,
                       POINTL*, ROP4) {
  char text[128];
  snprintf(text, sizeof text, "DrvBitBlt (%ld,%ld)-(%ld,%ld) clip (%ld,%ld)-(%ld,%ld)", r->left, r->top, r->right,
           r->bottom, clip->rclBounds.left, clip->rclBounds.top, clip->rclBounds.right, clip->rclBounds.bottom);
  g_calls.push_back(text);
  return TRUE;
}
ULONG WINAPI FakeEscape(SURFOBJ*, ULONG code, ULONG, PVOID, ULONG, PVOID) {
  g_calls.push_back("DrvEscape " + std::to_string(code));
  return 42;
}
VOID WINAPI FakeDisableDriver() { g_calls.push_back("DrvDisableDriver"); }

DRVFN g_fakeTable[] = {
    {INDEX_DrvEnablePDEV, DdiFunctionCast<PFN>(FakeEnablePdev)},
    {INDEX_DrvCompletePDEV, DdiFunctionCast<PFN>(FakeCompletePdev)},
    {INDEX_DrvDisablePDEV, DdiFunctionCast<PFN>(FakeDisablePdev)},
    {INDEX_DrvResetPDEV, DdiFunctionCast<PFN>(FakeResetPdev)},
    {INDEX_DrvEnableSurface, DdiFunctionCast<PFN>(FakeEnableSurface)},
    {INDEX_DrvDisableSurface, DdiFunctionCast<PFN>(FakeDisableSurface)},
    {INDEX_DrvStartDoc, DdiFunctionCast<PFN>(FakeStartDoc)},
    {INDEX_DrvEndDoc, DdiFunctionCast<PFN>(FakeEndDoc)},
    {INDEX_DrvStartPage, DdiFunctionCast<PFN>(FakeStartPage)},
    {INDEX_DrvSendPage, DdiFunctionCast<PFN>(FakeSendPage)},
    {INDEX_DrvStartBanding, DdiFunctionCast<PFN>(FakeStartBanding)},
    {INDEX_DrvNextBand, DdiFunctionCast<PFN>(FakeNextBand)},
    {INDEX_DrvBitBlt, DdiFunctionCast<PFN>(FakeBitBlt)},
    {INDEX_DrvEscape, DdiFunctionCast<PFN>(FakeEscape)},
};

BOOL WINAPI FakeEnableDriver(ULONG version, ULONG, DRVENABLEDATA* data) {
  g_calls.push_back("DrvEnableDriver " + std::to_string(version));
  data->iDriverVersion = DDI_DRIVER_VERSION_NT5_01;
  data->c = sizeof g_fakeTable / sizeof g_fakeTable[0];
  data->pdrvfn = g_fakeTable;
  return TRUE;
}

class SessionOrderTest : public PrintTest {
 protected:
  // The calls of a one-document job around the calls of its pages.
  static std::vector<std::string> Job(const std::vector<std::string>& pages) {
    std::vector<std::string> calls = {"DrvEnableDriver 131072", "DrvEnablePDEV", "DrvCompletePDEV", "DrvEnableSurface",
                                      "DrvStartDoc"};
    calls.insert(calls.end(), pages.begin(), pages.end());
    calls.insert(calls.end(), {"DrvEndDoc", "DrvDisableSurface", "DrvDisablePDEV", "DrvDisableDriver"});
    return calls;
  }
  std::vector<std::string> Play(const FakeSetup& setup, const std::string& script) {
    g_setup = setup;
    g_calls.clear();
    g_pdevs = 0;
    winsim::PrintSessionOptions options;
    options.driver = FakeEnableDriver;
    options.disableDriver = FakeDisableDriver;
    winsim::PrintSessionResult result = RunScript(script, options);
    EXPECT_TRUE(result.ok) << result.error;
    return g_calls;
  }
};

const char kOnePage[] = "doc \"one\"\npage\nbrush solid 0\nrect 10 150 50 160\nendpage\nenddoc\n";

TEST_F(SessionOrderTest, PlainPageIsDrawnBetweenStartPageAndSendPage) {
  FakeSetup setup;
  EXPECT_EQ(Job({"DrvStartPage", "DrvBitBlt (10,150)-(50,160) clip (0,0)-(100,250)", "DrvSendPage"}),
            Play(setup, kOnePage));
}

TEST_F(SessionOrderTest, JournaledPageStartsWhenItIsPlayed) {
  FakeSetup setup;
  setup.dontJournal = false;
  // The page is recorded: DrvStartPage comes at its end, with the drawing; the escape at once.
  EXPECT_EQ(Job({"DrvEscape 8", "DrvStartPage", "DrvBitBlt (10,150)-(50,160) clip (0,0)-(100,250)", "DrvSendPage"}),
            Play(setup, "doc \"one\"\npage\nbrush solid 0\nrect 10 150 50 160\nescape 8\nendpage\nenddoc\n"));
}

TEST_F(SessionOrderTest, BandedPageIsReplayedPerBandAndTheLastBandSendsIt) {
  const std::string secondBand = "DrvBitBlt (10,50)-(50,60) clip (0,0)-(100,100)";
  struct Case {
    bool dontJournal;
    std::vector<std::string> page;
  } cases[] = {
      {true, {"DrvStartPage", "DrvStartBanding", "DrvNextBand", secondBand, "DrvNextBand", "DrvNextBand"}},
      // Played from the metafile: no DrvStartPage before the banding.
      {false, {"DrvStartBanding", "DrvNextBand", secondBand, "DrvNextBand", "DrvNextBand"}},
  };
  for (const Case& c : cases) {
    FakeSetup setup;
    setup.banding = true;
    setup.dontJournal = c.dontJournal;
    EXPECT_EQ(Job(c.page), Play(setup, kOnePage)) << (c.dontJournal ? "direct" : "journaled");
  }
}

TEST_F(SessionOrderTest, ClipIsCutToTheBandAndShifted) {
  FakeSetup setup;
  setup.banding = true;
  std::vector<std::string> calls =
      Play(setup, "doc \"c\"\npage\nclip rect 0 90 60 120\nrect 5 80 70 130\nendpage\nenddoc\n");
  std::vector<std::string> blts;
  for (const std::string& c : calls)
    if (c.compare(0, 9, "DrvBitBlt") == 0) blts.push_back(c);
  std::vector<std::string> expected = {"DrvBitBlt (5,80)-(70,130) clip (0,90)-(60,100)",
                                       "DrvBitBlt (5,-20)-(70,30) clip (0,0)-(60,20)"};
  EXPECT_EQ(expected, blts);
}

TEST_F(SessionOrderTest, ResetEnablesTheNewPdevBeforeTheOldGoes) {
  FakeSetup setup;
  EXPECT_EQ(Job({"DrvStartPage", "DrvSendPage", "DrvEnablePDEV", "DrvCompletePDEV", "DrvResetPDEV",
                 "DrvDisableSurface", "DrvDisablePDEV", "DrvEnableSurface", "DrvStartPage", "DrvSendPage"}),
            Play(setup, "doc \"r\"\npage\nendpage\nreset dmCopies=2\npage\nendpage\nenddoc\n"));
}

}  // namespace
}  // namespace zems_test
