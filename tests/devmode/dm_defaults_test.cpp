// The settings of a new context on the sample printer: its stored DEVMODE or the defaults,
// and the layout upgrade of a caller's DEVMODE.
#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "core/common/mem.h"
#include "core/context/context_cache.h"
#include "core/devmode/dm_convert.h"
#include "core/devmode/dm_layout.h"
#include "core/devmode/dm_merge.h"
#include "core/devmode/settings_defaults.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/tables/value_symbols.h"
#include "dm_test_util.h"
#include "platform/sim.h"
#include "support/test_printer.h"
#include "support/test_variant.h"

namespace zems_test {
namespace {

class DmDefaultsTest : public ContextTest {
 protected:
  void TearDown() override {
    ResetTestVariant();
    ContextTest::TearDown();
  }
  DriverContext* Open(HANDLE printer) {
    CtxCacheExpire(TRUE);
    DriverContext* ctx = CtxOpen(printer, printer, nullptr, 0, kKindSettings, 0, nullptr);
    EXPECT_NE(ctx, nullptr);
    if (ctx) {
      EXPECT_NE(ctx->settings, nullptr);
    }
    return ctx;
  }
  // The DEVMODE of a context of a printer without a stored DEVMODE: the full defaults.
  std::vector<BYTE> Defaults() {
    DriverContext* ctx = Open(lab_);
    std::vector<BYTE> dm(ctx->settings, ctx->settings + kDmSize);
    CtxRelease(ctx, kReleaseExpired);
    return dm;
  }
  std::vector<BYTE> ChangedOwn() {
    DriverContext* ctx = Open(lab_);
    std::vector<BYTE> dm = OwnDevmode(ctx);
    CtxRelease(ctx, kReleaseExpired);
    dm[kDmOffNupPostKind] = 3;
    WriteU16(dm.data(), 86, 5);  // dmCopies
    return dm;
  }
};

TEST_F(DmDefaultsTest, AnOwnStoredDevmodeReachesANewContextWhole) {
  std::vector<BYTE> stored = ChangedOwn();
  StorePrinterDevmodeRaw(u"Office", stored.data(), DWORD(stored.size()));
  DriverContext* ctx = Open(office_);
  EXPECT_EQ(DmGetNupPostKind(ctx->settings), 3);
  EXPECT_EQ(ItemGetRawById(ctx, kItem_dmCopies), 5);
  EXPECT_TRUE(HeaderIntact(ctx->settings));
  EXPECT_EQ(DmGetPrivateVersion(ctx->settings), 322u);
  CtxRelease(ctx, kReleaseExpired);
}

TEST_F(DmDefaultsTest, ForeignOrTruncatedStoredDevmodesGiveTheFullDefaults) {
  const std::vector<BYTE> defaults = Defaults();
  struct Case {
    const char* what;
    void (*change)(std::vector<BYTE>&);
  } cases[] = {
      {"other tag", [](std::vector<BYTE>& d) { d[kDmOffPrivateTag] = 'x'; }},
      {"driver type 1", [](std::vector<BYTE>& d) { d[kDmOffDriverType] = 1; }},
      {"truncated", [](std::vector<BYTE>& d) { d.resize(600); }},
      {"public size 212", [](std::vector<BYTE>& d) { WriteU16(d.data(), kDmOffSize, 212); d.resize(212 + 1016); }},
      {"1024 private bytes", [](std::vector<BYTE>& d) { WriteU16(d.data(), kDmOffDriverExtra, 1024); d.resize(1244); }},
      {"dmSize 10", [](std::vector<BYTE>& d) { WriteU16(d.data(), kDmOffSize, 10); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<BYTE> stored = ChangedOwn();
    c.change(stored);
    StorePrinterDevmodeRaw(u"Office", stored.data(), DWORD(stored.size()));
    DriverContext* ctx = Open(office_);
    ASSERT_NE(ctx, nullptr);
    EXPECT_EQ(DmGetNupPostKind(ctx->settings), defaults[kDmOffNupPostKind]);
    EXPECT_EQ(ItemGetRawById(ctx, kItem_dmCopies), 1);
    EXPECT_TRUE(HeaderIntact(ctx->settings));
    for (UINT i = 0; i < kDmSize; ++i) {
      if (ctx->settings[i] != defaults[i]) {
        ADD_FAILURE() << "byte " << i << " differs from the defaults";
        break;
      }
    }
    CtxRelease(ctx, kReleaseExpired);
  }
}

TEST_F(DmDefaultsTest, ModeThreeTakesOnlyAMatchingPrinterDevmode) {
  const std::vector<BYTE> defaults = Defaults();
  for (DWORD version : {320u, 322u}) {
    SCOPED_TRACE(version);
    std::vector<BYTE> stored = ChangedOwn();
    WriteU32(stored.data(), kDmOffLayoutVersion, version);
    StorePrinterDevmodeRaw(u"Office", stored.data(), DWORD(stored.size()));
    DriverContext* ctx = Open(office_);
    BYTE* previous = ctx->settings;
    BYTE* block = DmBuildDefault(ctx, 3);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(ctx->settings, previous);
    EXPECT_EQ(DmGetNupPostKind(block), version == 322 ? 3 : defaults[kDmOffNupPostKind]);
    EXPECT_EQ(DmGetPrivateVersion(block), 322u);
    EXPECT_TRUE(HeaderIntact(block));
    // Mode 0 takes the 3.20 DEVMODE as the driver's own in any version.
    BYTE* mode0 = DmBuildDefault(ctx, 0);
    ASSERT_NE(mode0, nullptr);
    EXPECT_EQ(DmGetNupPostKind(mode0), 3);
    MemFree(mode0);
    MemFree(block);
    CtxRelease(ctx, kReleaseExpired);
  }
}

TEST_F(DmDefaultsTest, BuildDefaultLeavesTheBlockPointerOnEveryPath) {
  EXPECT_EQ(DmBuildDefault(nullptr, 0), nullptr);
  DriverContext* ctx = Open(office_);
  BYTE* previous = ctx->settings;
  SettingItemTable* items = ctx->items;
  ctx->items = nullptr;
  EXPECT_EQ(DmBuildDefault(ctx, 0), nullptr);
  EXPECT_EQ(ctx->settings, previous);
  ctx->items = items;
  CtxRelease(ctx, kReleaseExpired);
}

TEST_F(DmDefaultsTest, TheGraphicsBuildKeepsTheWorkItemsOfATakenDevmode) {
  std::vector<BYTE> stored = ChangedOwn();
  StorePrinterDevmodeRaw(u"Office", stored.data(), DWORD(stored.size()));
  for (bool graphics : {false, true}) {
    SCOPED_TRACE(graphics);
    TestVariant().devmodeSteps = graphics ? DWORD(kDmStepEnvCompanions)
                                          : DWORD(kDmStepCommonMark | kDmStepOptionBlock | kDmStepRetestCompanions |
                                                  kDmStepJobControlFetch | kDmStepEnvCompanions | kDmStepResetWorkItems);
    DriverContext* ctx = Open(office_);
    // The sample describes wdmConvertVersion with the default 322.
    EXPECT_EQ(ItemGetRawById(ctx, kItem_wdmConvertVersion), graphics ? 0 : 322);
    EXPECT_EQ(DmGetNupPostKind(ctx->settings), 3);
    CtxRelease(ctx, kReleaseExpired);
  }
}

TEST_F(DmDefaultsTest, FullDefaultsStampTheHeaderAndTheEnvironment) {
  DriverContext* ctx = Open(lab_);
  const BYTE* dm = ctx->settings;
  EXPECT_TRUE(HeaderIntact(dm));
  EXPECT_EQ(memcmp(dm + kDmOffSignature, "ZEMS", 4), 0);
  EXPECT_EQ(memcmp(dm + kDmOffCommonMark, "OCOMMON", 8), 0);
  EXPECT_EQ(memcmp(dm + kDmOffIniFileName, "OV1BD170.ini", 13), 0);
  EXPECT_EQ(DmGetPrivateVersion(dm), 322u);
  EXPECT_EQ(DmGetCallSrc(dm), 1);
  EXPECT_EQ(DmGetBatchInst(dm), 1);
  EXPECT_EQ(ReadU16(dm, kDmOffSpecVersion), 0x401);
  EXPECT_EQ(ReadU16(dm, 66), 0x400);
  EXPECT_EQ(ReadU32(dm, kDmOffFields) & 0x1u, 0x1u);
  EXPECT_EQ(ItemGetRawById(ctx, kItem_dmCopies), 1);
  EXPECT_EQ(ItemGetRawById(ctx, kItem_dmPaperSize), 9);
  CtxRelease(ctx, kReleaseExpired);
}

constexpr DWORD kExclusionSteps =
    kDmStepRetestCompanions | kDmStepLockDataNot9x | kDmStepResetWorkItems | kDmStepKeepLockedDefaults;

// The exclusion DLL's model defaults leave a locked setting as it is: the tray lock keeps
// dmDefaultSource, while an unlocked tray, or the shared build, takes the model's default.
TEST_F(DmDefaultsTest, TheExclusionBuildsModelDefaultsKeepALockedTray) {
  DriverContext* ctx = Open(lab_);
  const LONG_PTR modelDefault = ItemGetRawById(ctx, kItem_dmDefaultSource);
  const LONG_PTR chosen = modelDefault == 7 ? 15 : 7;
  const struct {
    const char* name;
    DWORD steps;
    int locked;
    LONG_PTR want;
  } cases[] = {
      {"exclusion, tray locked", kExclusionSteps, 1, chosen},
      {"exclusion, tray not locked", kExclusionSteps, 0, modelDefault},
      {"shared, tray locked", kDmStepEnvCompanions, 1, modelDefault},
  };
  for (const auto& c : cases) {
    TestVariant().devmodeSteps = c.steps;
    ItemSetRawById(ctx, kItem_dmDefaultSource, chosen);
    ItemSetRawById(ctx, kItem_zdmLock000InfoBitTray, c.locked);
    DmSetModelDefaults(ctx);
    EXPECT_EQ(ItemGetRawById(ctx, kItem_dmDefaultSource), c.want) << c.name;
  }
  CtxRelease(ctx, kReleaseExpired);
}

// The exclusion DLL never asks for the companion products when it sets the environment flags:
// zdmJBInstalled (717) and zdmPLInstalled (705) stay 0 with both installed.
TEST_F(DmDefaultsTest, TheExclusionBuildsEnvironmentFlagsLeaveTheCompanionsAt0) {
  SimActForMachine(TRUE);
  const DWORD one = 1;
  const std::pair<const char16_t*, const char16_t*> companions[] = {
      {u"Software\\ORVEL\\Tavrello\\JobBinder", u"INSTALL_COUNT"},
      {u"Software\\ORVEL\\Tavrello\\Preview", u"VERSION"},
  };
  for (const auto& c : companions) {
    HKEY h = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, c.first, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(h, c.second, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4), ERROR_SUCCESS);
    RegCloseKey(h);
  }
  SimActForMachine(FALSE);
  DriverContext* ctx = Open(lab_);
  for (bool exclusion : {false, true}) {
    TestVariant().devmodeSteps = exclusion ? kExclusionSteps : DWORD(kDmStepEnvCompanions);
    DmSetEnvironmentFlags(ctx);
    EXPECT_EQ(ItemGetRawById(ctx, kItem_zdmJBInstalled), exclusion ? 0 : 1) << exclusion;
    EXPECT_EQ(ItemGetRawById(ctx, kItem_zdmPLInstalled), exclusion ? 0 : 1) << exclusion;
  }
  CtxRelease(ctx, kReleaseExpired);
}

// An own DEVMODE of layout 3.20 handed over by a caller comes out upgraded by the sample's
// conversion entry.
TEST_F(DmDefaultsTest, AnOlderCallerDevmodeIsUpgradedByTheSamplesEntry) {
  
  DriverContext* ctx = Open(office_);
  std::vector<BYTE> in = OwnDevmode(ctx, 320);
  in[kDmOffNupPostKind] = 0;
  ASSERT_EQ(DmMergeIntoContext(ctx, in.data(), 0x8), 1);
  EXPECT_EQ(DmGetPrivateVersion(ctx->settings), 322u);
  EXPECT_EQ(DmGetNupPostKind(ctx->settings), 2);
  EXPECT_EQ(ItemGetValueById(ctx, kItem_zdmSortType), TblFindValueSymbolByName("ZDMSORTTYPE_SORT")->logical);
  // The last step ends the conversion: nothing runs after it.
  ItemSetRawById(ctx, kItem_zdmNUPPOSTKind, 0);
  EXPECT_EQ(DmRunConvertScript(320, 330, ctx), 1);
  EXPECT_EQ(ItemGetRawById(ctx, kItem_wdmConvertVersion), 400);
  CtxRelease(ctx, kReleaseExpired);
}

}  // namespace
}  // namespace zems_test
