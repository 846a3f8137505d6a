// Derived getters: paper region and output paper, the scale follow-up of a paper change,
// authentication texts, lock bits, the text-edit filter and the item main controls.
#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "core/common/ini_access.h"
#include "core/items/derived_settings.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "support/item_context.h"

namespace {

using zems_test::ItemContextTest;

using Settings = std::initializer_list<std::pair<WORD, LONG>>;

class DerivedTest : public ItemContextTest {
 protected:
  void Apply(Settings settings) {
    for (const auto& s : settings) ItemSetRawById(ctx(), s.first, s.second);
  }
  // The driver name the context has already learnt from the spooler.
  void SetDriverName(const WCHAR* name) {
    int i = 0;
    for (; name[i] != 0; ++i) Ui()->driverName[i] = name[i];
    Ui()->driverName[i] = 0;
  }
};

struct RegionCase {
  LONG driverType, locale, hidden16;
  BOOL inch;
  short small;
};

// No module answers event 54 here, so the symbolic size is the small one, as the print-method
// module answers in every deliverable.
TEST_F(DerivedTest, PaperRegionAndSymbolicSize) {
  const RegionCase cases[] = {
      {0, 0, 0, 0, 9}, {1, 1, 0, 1, 1}, {1, 0, 0, 0, 9},
      {0, 1, 0, 0, 9}, {1, 1, 1, 0, 9}, {0, 0, 1, 1, 1},
  };
  for (const RegionCase& c : cases) {
    Apply({{kItem_zdmDriverType, c.driverType}, {kItem_zdmLocaleID, c.locale}, {kItem_zdmHiddenFunc16, c.hidden16}});
    EXPECT_EQ(c.inch, ItemUsesInchPapers(ctx()))
        << c.driverType << "/" << c.locale << "/" << c.hidden16;
    EXPECT_EQ(c.small, ItemSymbolicPaperSize(ctx()))
        << c.driverType << "/" << c.locale << "/" << c.hidden16;
  }
}

// Fit rule on: front function bit 3, A4 fit on, output "same as input", no scaling, method 0.
const Settings kFitOn = {{kItem_zdmFrontFunc, 0x8},   {kItem_zdmExtOutput2A4Fit, 1}, {kItem_zdmOutPaperSize, 1024},
                         {kItem_zdmPrnMethod, 0},     {kItem_zdmFuncSelectScale, 0}, {kItem_zdmScaleType, 0},
                         {kItem_dmPaperSize, 8}};

struct FitCase {
  const char* what;
  Settings change;
  BOOL applies;
  short effective;
};

TEST_F(DerivedTest, OutputFitAndEffectivePaper) {
  const FitCase cases[] = {
      {"A3 input fits on A4", {}, 1, 9},
      {"B4 input", {{kItem_dmPaperSize, 12}}, 1, 9},
      {"Tabloid input", {{kItem_dmPaperSize, 3}}, 1, 9},
      {"A4 input is the symbolic size itself", {{kItem_dmPaperSize, 9}}, 0, 9},
      {"A5 input is no fit paper", {{kItem_dmPaperSize, 11}}, 0, 11},
      {"front function bit off", {{kItem_zdmFrontFunc, 0x4}}, 0, 8},
      {"A4 fit off", {{kItem_zdmExtOutput2A4Fit, 0}}, 0, 8},
      {"print method 5", {{kItem_zdmPrnMethod, 5}}, 0, 8},
      {"print method 7", {{kItem_zdmPrnMethod, 7}}, 0, 8},
      {"scaling by percentage", {{kItem_zdmFuncSelectScale, 1}, {kItem_zdmScaleType, 1}}, 0, 8},
      {"scaling to fit", {{kItem_zdmFuncSelectScale, 1}, {kItem_zdmScaleType, 2}}, 1, 9},
      {"symbolic output", {{kItem_zdmOutPaperSize, 1026}}, 1, 9},
      {"explicit output paper", {{kItem_zdmOutPaperSize, 13}}, 0, 13},
      {"output beyond the symbolic range", {{kItem_zdmOutPaperSize, 1029}}, 0, 1029},
  };
  for (const FitCase& c : cases) {
    Apply(kFitOn);
    Apply(c.change);
    EXPECT_EQ(c.applies, ItemOutputFitApplies(ctx())) << c.what;
    EXPECT_EQ(c.effective, ItemEffectiveOutPaper(ctx())) << c.what;
  }
}

struct ScaleCase {
  const char* what;
  Settings settings;
  LONG scaleH, scaleV;
};

// The paper items are left as set here (no paper geometry is known), so the ratio comes from
// the dot extents given: destination 9920 x 14030 against the source.
TEST_F(DerivedTest, PaperChangeSetsTheScale) {
  const Settings paper = {{kItem_zdmDstPaperWidthDot, 9920}, {kItem_zdmDstPaperLengthDot, 14030},
                          {kItem_zdmSrcPaperWidthDot, 14030}, {kItem_zdmSrcPaperLengthDot, 18000},
                          {kItem_zdmScaleH, 55},              {kItem_zdmScaleV, 66},
                          {kItem_zdmFuncSelectScale, 0},      {kItem_zdmScaleType, 0}};
  const ScaleCase cases[] = {
      {"symbolic output: the smaller ratio", {{kItem_zdmOutPaperSize, 1025}}, 70, 70},
      {"fit scaling", {{kItem_zdmOutPaperSize, 13}, {kItem_zdmFuncSelectScale, 1}, {kItem_zdmScaleType, 2}},
       70, 70},
      {"same as input without scaling", {{kItem_zdmOutPaperSize, 1024}}, 100, 100},
      {"same as input with percentage scaling",
       {{kItem_zdmOutPaperSize, 1024}, {kItem_zdmFuncSelectScale, 1}, {kItem_zdmScaleType, 0}}, 55, 66},
      {"explicit output paper", {{kItem_zdmOutPaperSize, 13}}, 55, 66},
      {"source width 0 keeps the scale", {{kItem_zdmOutPaperSize, 1025}, {kItem_zdmSrcPaperWidthDot, 0}},
       55, 66},
      {"source length 0 keeps the scale", {{kItem_zdmOutPaperSize, 1025}, {kItem_zdmSrcPaperLengthDot, 0}},
       55, 66},
  };
  for (const ScaleCase& c : cases) {
    Apply(paper);
    Apply(c.settings);
    ItemApplyPaperChange(ctx(), 1);
    EXPECT_EQ(c.scaleH, ItemGetRawById(ctx(), kItem_zdmScaleH)) << c.what;
    EXPECT_EQ(c.scaleV, ItemGetRawById(ctx(), kItem_zdmScaleV)) << c.what;
  }
}

TEST_F(DerivedTest, OtherPaperChangeKindsLeaveTheScale) {
  Apply({{kItem_zdmScaleH, 55}, {kItem_dmPaperSize, 385}, {kItem_zdmOutPaperSize, 1025}});
  for (int kind : {0, 2, 3, 4, 5}) {
    ItemApplyPaperChange(ctx(), kind);
    EXPECT_EQ(55, ItemGetRawById(ctx(), kItem_zdmScaleH)) << "kind " << kind;
  }
  ItemApplyPaperChange(nullptr, 1);
}

TEST_F(DerivedTest, PaperChangeToACustomSizeSlotLoadsThatSlot) {
  const WCHAR* path = TEXT("C:\\drv\\settings.ini");
  CreateDirectoryW(TEXT("C:\\drv"), nullptr);
  Model()->settingsIniName = path;
  ItemSetRawById(ctx(), 169, 1);  // "us"
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("FreeSize2us"), TEXT("wdmFreeSizeWidth"), TEXT("5000"), path));
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("FreeSize3us"), TEXT("wdmFreeSizeLength"), TEXT("7000"), path));
  struct Case {
    int kind;
    WORD item;
    LONG code;
    WORD loaded;
    LONG value;
  };
  const Case cases[] = {{3, kItem_dmPaperSize, 386, 916, 5000}, {4, kItem_zdmOutPaperSize, 387, 917, 7000},
                        {5, kItem_dmPaperSize, 386, 916, 0}, {3, kItem_dmPaperSize, 9, 916, 0}};
  for (const Case& c : cases) {
    ItemSetRawById(ctx(), 916, 0);
    ItemSetRawById(ctx(), 917, 0);
    Apply({{c.item, c.code}});
    ItemApplyPaperChange(ctx(), c.kind);
    EXPECT_EQ(c.value, ItemGetRawById(ctx(), c.loaded)) << "kind " << c.kind << " code " << c.code;
  }
  EXPECT_EQ(7000, ItemGetRawById(ctx(), 1118 + 4 * 3 + 1)) << "the slot's paper item";
}

struct AuthCase {
  const char* what;
  Settings flags;
  const char16_t* user;
  const char16_t* password;
  const char16_t* key;
  DWORD mask;
  DWORD present;
};

TEST_F(DerivedTest, AuthenticationTextsPresent) {
  const AuthCase cases[] = {
      {"feature off", {{kItem_zdmPrnFuncAuthenticationMode, 0}}, u"u", u"p", u"k", 7, 0},
      {"all asked, key without secure mode", {{kItem_zdmPrnFuncAuthenticationMode, 1}, {kItem_zdmPrnFuncAuthenticationSecureMode, 0}}, u"u", u"p", u"k", 7, 3},
      {"all asked, secure mode", {{kItem_zdmPrnFuncAuthenticationMode, 1}, {kItem_zdmPrnFuncAuthenticationSecureMode, 1}}, u"u", u"p", u"k", 7, 7},
      {"only what is asked", {{kItem_zdmPrnFuncAuthenticationMode, 1}, {kItem_zdmPrnFuncAuthenticationSecureMode, 1}}, u"u", u"p", u"k", 2, 2},
      {"empty texts", {{kItem_zdmPrnFuncAuthenticationMode, 1}, {kItem_zdmPrnFuncAuthenticationSecureMode, 1}}, u"", u"p", u"", 7, 2},
  };
  for (const AuthCase& c : cases) {
    Apply(c.flags);
    ItemSetText(ctx(), Item(kItem_wdmAuthenticationUserName), reinterpret_cast<const WCHAR*>(c.user));
    ItemSetText(ctx(), Item(kItem_wdmAuthenticationPassword), reinterpret_cast<const WCHAR*>(c.password));
    ItemSetText(ctx(), Item(kItem_wdmAuthenticationNetworkKey), reinterpret_cast<const WCHAR*>(c.key));
    EXPECT_EQ(c.present, ItemAuthTextsPresent(ctx(), c.mask)) << c.what;
  }
}

TEST_F(DerivedTest, LockBits) {
  using Getter = BOOL (*)(DriverContext*);
  const std::pair<WORD, Getter> locks[] = {
      {10418, ItemLockDefault},    {10419, ItemLockTray},       {10420, ItemLockMedia},
      {10421, ItemLockNupKind},    {10422, ItemLockNupKindAll}, {10423, ItemLockDuplex},
      {10424, ItemLockPrintType},  {10425, ItemLockResolution}, {10426, ItemLockColor},
  };
  EXPECT_EQ(0, ItemAnyLockBit(ctx()));
  for (const auto& lock : locks) {
    ItemSetRawById(ctx(), lock.first, 1);
    EXPECT_EQ(1, lock.second(ctx())) << "lock " << lock.first;
    EXPECT_EQ(1, ItemAnyLockBit(ctx())) << "lock " << lock.first;
    ItemSetRawById(ctx(), lock.first, 0);
    EXPECT_EQ(0, lock.second(ctx())) << "lock " << lock.first;
  }
  // The last of the eight bits after the colour lock counts too; the item after it does not.
  ItemSetRawById(ctx(), kItem_zdmLock001InfoBit7, 1);
  EXPECT_EQ(1, ItemAnyLockBit(ctx()));
  ItemSetRawById(ctx(), kItem_zdmLock001InfoBit7, 0);
  ItemSetRawById(ctx(), kItem_zdmLockInfoLockSmallPaperTray, 1);
  EXPECT_EQ(0, ItemAnyLockBit(ctx()));
  ItemSetRawById(ctx(), kItem_zdmLockInfoLockInfo, 1);
  EXPECT_EQ(1, ItemGetLockInfo(ctx()));
}

TEST_F(DerivedTest, CharsetCodeOfTheAnsiCodePage) {
  ItemSetAuthCharsets(ctx(), 3);
  EXPECT_EQ(2, ItemGetRawById(ctx(), kItem_zdmAuthUserNameCharSet)) << "code page 1252";
  EXPECT_EQ(2, ItemGetRawById(ctx(), kItem_zdmAuthPasswordCharSet));
}

// zdmDriverID comes from the driver's section of the model data file, read only through a full
// path.
TEST_F(DerivedTest, DriverIdFromTheModelDataFile) {
  const WCHAR* path = TEXT("C:\\drv\\model.ini");
  CreateDirectoryW(TEXT("C:\\drv"), nullptr);
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("Test Driver"), TEXT("DriverID"), TEXT("7"), path));
  SetDriverName(TEXT("Test Driver"));

  Model()->modelDataFile = path;
  ItemLoadDriverId(ctx());
  EXPECT_EQ(7, ItemGetRawById(ctx(), kItem_zdmDriverID));

  SetDriverName(TEXT("Other Driver"));
  ItemLoadDriverId(ctx());
  EXPECT_EQ(0, ItemGetRawById(ctx(), kItem_zdmDriverID)) << "no such section";

  // A driver name with brackets names its section as every ini section is named: with commas.
  ASSERT_TRUE(IniWriteString(TEXT("Test [A] Driver"), TEXT("DriverID"), TEXT("12"), path));
  SetDriverName(TEXT("Test [A] Driver"));
  ItemLoadDriverId(ctx());
  EXPECT_EQ(12, ItemGetRawById(ctx(), kItem_zdmDriverID)) << "bracketed driver name";

  ItemSetRawById(ctx(), kItem_zdmDriverID, 9);
  Model()->modelDataFile = TEXT("");
  ItemLoadDriverId(ctx());
  EXPECT_EQ(0, ItemGetRawById(ctx(), kItem_zdmDriverID)) << "no full path";
}

TEST(DerivedSettings, TextEditCharacterFilter) {
  struct CharCase {
    WCHAR ch;
    int mode;
    BOOL allowed;
  };
  const CharCase cases[] = {
      {u':', 1, 0}, {u':', 2, 1}, {u'"', 1, 0}, {u'"', 2, 1}, {0x7F, 2, 0}, {0x7E, 2, 1},
      {u' ', 1, 1}, {0x1F, 1, 0}, {8, 1, 1},    {8, 2, 1},    {8, 3, 0},    {u'a', 0, 0},
      {0xE9, 2, 0},
  };
  for (const CharCase& c : cases)
    EXPECT_EQ(c.allowed, ItemTextCharAllowed(c.ch, c.mode)) << int(c.ch) << " mode " << c.mode;
}

TEST(DerivedSettings, MainControlOfAnItem) {
  const ItemMainControl* row = TblFindItemControl(8);
  ASSERT_NE(nullptr, row);
  EXPECT_EQ(1002, row->page);
  EXPECT_EQ(2017, row->control);
  row = TblFindItemControl(37);
  ASSERT_NE(nullptr, row);
  EXPECT_EQ(1001, row->page);
  EXPECT_EQ(nullptr, TblFindItemControl(9));
}

}  // namespace
