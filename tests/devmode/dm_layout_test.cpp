// The private DEVMODE header, the direct accessors and the environment flags.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "core/devmode/dm_layout.h"
#include "core/system/terminal_server.h"
#include "platform/sim.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "support/item_context.h"
#include "support/test_printer.h"
#include "support/test_variant.h"

namespace zems_test {
namespace {

std::string Bytes(const BYTE* p, size_t n) { return std::string(reinterpret_cast<const char*>(p), n); }
DWORD Dword(const BYTE* p) {
  DWORD v;
  memcpy(&v, p, 4);
  return v;
}
WORD Word(const BYTE* p) {
  WORD v;
  memcpy(&v, p, 2);
  return v;
}

class DmLayoutTest : public ItemContextTest {
 protected:
  void TearDown() override {
    ResetTestVariant();
    ItemContextTest::TearDown();
  }
  BYTE* Dm() { return ctx()->settings; }
};

TEST_F(DmLayoutTest, SizesOfTheOneLayout) {
  EXPECT_EQ(TblDevmodePublicSize(), 220);
  EXPECT_EQ(TblDevmodePrivateSize(), 1016);
  EXPECT_EQ(TblDevmodeSize(), 1236);
  EXPECT_EQ(TblExtAreaSize(), 5264);
  EXPECT_EQ(TblWorkAreaSize(), 3576);
  EXPECT_EQ(TblSettingsBlockSize(), 10076);
}

// The header bytes from offset 220 as the printer interface stamps them, and as the graphics
// and exclusion DLLs do (no common mark).
TEST_F(DmLayoutTest, StampedHeaderGoldenBytes) {
  struct Case {
    DWORD steps;
    const char* mark;
    BYTE version;
  } cases[] = {{kDmStepCommonMark, "OCOMMON", 5}, {0, "", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    memset(Dm(), 0xAA, kDmSize);
    TestVariant().devmodeSteps = c.steps;
    DmStampPrivateHeader(Dm(), ctx());
    DmStampPrivateNames(ctx());
    const BYTE* h = Dm() + 220;
    EXPECT_EQ(Bytes(h, 4), "ZEMS");
    EXPECT_EQ(Dword(h + 4), 0u);
    EXPECT_EQ(Bytes(h + 8, 16), std::string("OV1BD170.ini") + std::string(4, '\0'));
    EXPECT_EQ(Bytes(h + 24, 16), std::string("01.00") + std::string(11, '\0'));
    EXPECT_EQ(Bytes(h + 40, 16), std::string("01.00") + std::string(11, '\0'));
    EXPECT_EQ(Bytes(h + 56, 8), std::string(c.mark) + std::string(8 - strlen(c.mark), '\0'));
    EXPECT_EQ(h[64], c.version);
    EXPECT_EQ(Bytes(h + 65, 64), std::string(64, '\0'));
    EXPECT_EQ(Bytes(h + 129, 4), "priv");
    EXPECT_EQ(Dword(h + 133), 1016u);
    EXPECT_EQ(Dword(h + 137), 322u);
    EXPECT_EQ(Word(h + 141), 0);
    EXPECT_EQ(Word(h + 143), 1236);
    EXPECT_EQ(Word(h + 145), 6500);
    EXPECT_EQ(DmGetPrivateTag(Dm()), Dword(h + 129));
    EXPECT_EQ(DmGetPrivateSize(Dm()), 1016u);
    EXPECT_EQ(DmGetPrivateVersion(Dm()), 322u);
  }
}

TEST_F(DmLayoutTest, NamesAreCutAtACharacterBoundaryAndZeroPadded) {
  Model()->settingsIniName = TEXT("ABCDEFGHIJKLMNOPQRSTUVWXYZ.ini");
  memset(Dm() + kDmOffIniFileName, 0xAA, 16);
  DmStampPrivateNames(ctx());
  EXPECT_EQ(Bytes(Dm() + kDmOffIniFileName, 16), std::string("ABCDEFGHIJKLMNO") + '\0');
  Model()->settingsIniName = nullptr;
  DmStampPrivateNames(ctx());
  EXPECT_EQ(Bytes(Dm() + kDmOffIniFileName, 16), std::string(16, '\0'));
  // In a double-byte code page no character is split: seven of eight two-byte characters fit.
  ASSERT_TRUE(SimSetAnsiCodePage(932));
  Model()->settingsIniName = reinterpret_cast<const WCHAR*>(u"\u8a2d\u5b9a\u8a2d\u5b9a\u8a2d\u5b9a\u8a2d\u5b9a");
  DmStampPrivateNames(ctx());
  const BYTE* name = Dm() + kDmOffIniFileName;
  EXPECT_EQ(name[13] != 0, true);
  EXPECT_EQ(name[14], 0);
  EXPECT_EQ(name[15], 0);
  SimSetAnsiCodePage(1252);
}

TEST_F(DmLayoutTest, AccessorsWriteTheirFieldOnlyAndMarkNothing) {
  DmStampPrivateHeader(Dm(), ctx());
  SettingItem* lock = Item(kItem_zdmLockPrnMethod);
  const WORD stateBefore = lock->state;
  DmSetLockPrnMethod(Dm(), 0x1203);
  EXPECT_EQ(Dm()[1178], 3);
  EXPECT_EQ(DmGetLockPrnMethod(Dm()), 3);
  EXPECT_EQ(lock->state, stateBefore);
  EXPECT_EQ(ModifiedFlag(), 0);
  ItemSetRaw(ctx(), lock, 4);  // the item engine does mark it
  EXPECT_NE(lock->state & ItemStateChangeMask, 0);

  DmSetHidden2FuncBits(Dm(), 0x12345678);
  EXPECT_EQ(DmGetHidden2FuncBits(Dm()), 0x5678u);

  memcpy(Dm() + kDmOffSupport2Bits, "\x03\x00\x00\x80", 4);
  DmSetSupportJobComplete(Dm(), 2);
  EXPECT_EQ(DmGetSupportFunc2Bits(Dm()), 0x80000002u);
  DmSetSupportJobErr(Dm(), 1);
  EXPECT_EQ(DmGetSupportFunc2Bits(Dm()), 0x80000000u);
  DmSetSupportJobComplete(Dm(), 1);
  DmSetSupportJobErr(Dm(), 2);
  EXPECT_EQ(DmGetSupportFunc2Bits(Dm()), 0x80000003u);

  const SHORT minusOne = -1;
  memcpy(Dm() + kDmOffColor, &minusOne, 2);
  EXPECT_EQ(DmGetColor(Dm()), -1);
  DmSetQualityFuncBits(Dm(), 0x12345);
  EXPECT_EQ(DmGetQualityFuncBits(Dm()), 0x2345);
  DmSetFrontFunc(Dm(), -2);
  EXPECT_EQ(DmGetFrontFunc(Dm()), 0xFFFFFFFEu);
  Dm()[368] = 148, Dm()[810] = 0x81, Dm()[811] = 1, Dm()[446] = 7;
  EXPECT_EQ(DmGetMachineId(Dm()), 148);
  EXPECT_EQ(DmGetMachineTypeBits(Dm()), 0x81);
  EXPECT_EQ(DmGetDriverType(Dm()), 1);
  EXPECT_EQ(DmGetNupPostKind(Dm()), 7);
}

TEST_F(DmLayoutTest, FlagSettersWriteTheirByte) {
  struct Case {
    void (*off)(DriverContext*);
    void (*on)(DriverContext*);
    WORD item;
    BYTE offValue, onValue;
  } cases[] = {
      {DmSetUserDefaultModeOff, DmSetUserDefaultModeOn, 706, 0, 1},
      {DmSetOsKindLegacy, DmSetOsKindNt5, 707, 1, 2},
      {DmSetDefaultImportedOff, DmSetDefaultImportedOn, 708, 0, 1},
      {DmSetInstallerUserCodeOff, DmSetInstallerUserCodeOn, 709, 0, 1},
      {DmSetBidiPendingOff, DmSetBidiPendingOn, 710, 0, 1},
      {DmSetNoPermissionOff, DmSetNoPermissionOn, 711, 0, 1},
      {DmSetUiModeChangeOff, DmSetUiModeChangeOn, 712, 0, 1},
      {DmSetBidiEnabledOff, DmSetBidiEnabledOn, 713, 0, 1},
      {DmSetOnServerOff, DmSetOnServerOn, 714, 0, 1},
      {DmSetLogCodeUseOff, DmSetLogCodeUseOn, 715, 0, 1},
      {DmSetUserCodeProviderOff, DmSetUserCodeProviderOn, 716, 0, 1},
      {DmSetBinderInstalledOff, DmSetBinderInstalledOn, 717, 0, 1},
      {DmSetPreviewInstalledOff, DmSetPreviewInstalledOn, 705, 0, 1},
      {DmSetDeviceModeOff, DmSetDeviceModeOn, 718, 0, 1},
      {DmSetUserCodeProvider2Off, DmSetUserCodeProvider2On, 719, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    BYTE* flag = Dm() + 1218 + (c.item - 705);
    c.on(ctx());
    EXPECT_EQ(*flag, c.onValue);
    EXPECT_EQ(ItemGetRawById(ctx(), c.item), c.onValue);
    c.off(ctx());
    EXPECT_EQ(*flag, c.offValue);
  }
  // The application interface's kind for Windows 98 and Me.
  DmSetOsKindWin98(ctx());
  EXPECT_EQ(Dm()[1220], 3);
  EXPECT_EQ(ItemGetRawById(ctx(), 707), 3);
  DriverContext none{};
  DmSetUserDefaultModeOn(&none);  // no settings block: nothing happens
  EXPECT_EQ(CtxGetCallSrc(&none), 0);
}

// The environment defaults over machine and printer states.
class EnvFlagsTest : public ContextTest {};

TEST_F(EnvFlagsTest, DefaultsFollowMachineAndPrinter) {
  struct Case {
    const char16_t* printer;
    const char16_t* server;
    DWORD attributes;
    DWORD major;
    bool admin;
    int checkDll;  // terminal-server answer, -1 none
    BYTE osKind, tse, adminFlag, bidi, onServer;
  } cases[] = {
      {u"Plain", nullptr, PRINTER_ATTRIBUTE_LOCAL, 5, true, -1, 2, 0, 1, 0, 0},
      {u"Bidi", nullptr, PRINTER_ATTRIBUTE_LOCAL | PRINTER_ATTRIBUTE_ENABLE_BIDI, 5, false, -1, 2, 0, 0, 1, 0},
      {u"Remote", u"SRV", PRINTER_ATTRIBUTE_NETWORK, 6, true, 1, 2, 1, 1, 0, 1},
      {u"Old", nullptr, PRINTER_ATTRIBUTE_LOCAL, 4, true, -1, 1, 0, 1, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.printer, c.printer + std::char_traits<char16_t>::length(c.printer)));
    OsForgetCachedAnswers();
    SetWindows(c.major, c.major == 6 ? 0 : 1, 0, c.checkDll >= 0 ? VER_SUITE_TERMINAL : 0);
    SetUserIsAdmin(c.admin);
    if (c.checkDll >= 0) InstallCheckDll(c.checkDll);
    HANDLE h = AddPrinter(c.printer, c.server, c.attributes);
    ASSERT_NE(h, nullptr);
    DriverContext* ctx = CtxOpen(h, h, nullptr, 0, kKindSettings, 0, nullptr);
    ASSERT_NE(ctx, nullptr);
    ASSERT_NE(ctx->settings, nullptr);
    memset(ctx->settings + 1218, 0x55, 18);
    ItemSetRawById(ctx, kItem_zdmUIModeChange, 3);
    ItemSetRawById(ctx, kItem_zdmLogCodeUse, 1);
    DmSetEnvironmentFlags(ctx);
    const BYTE* f = ctx->settings + 1218;
    const BYTE expected[18] = {0, 1, c.osKind, 1, 0, 0, 0, 1, c.bidi, c.onServer, 1, 0, 0, 0, 0, c.tse, c.adminFlag, 0x55};
    for (int i = 0; i < 18; ++i) EXPECT_EQ(f[i], expected[i]) << "item " << 705 + i;
    CtxRelease(ctx, kReleaseExpired);
  }
}

}  // namespace
}  // namespace zems_test
