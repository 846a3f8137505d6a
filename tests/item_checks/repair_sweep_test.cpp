// The repair sweep and the handler table, on a context whose model describes none of the
// private items unless a test attaches a fixture.
#include <gtest/gtest.h>

#include "core/items/item_checks.h"
#include "core/items/item_repair.h"
#include "core/items/units.h"
#include "item_checks/checks_fixture.h"

namespace zems_test {
namespace {

TEST(RepairTable, OneRowPerHandledItemInIncreasingIdOrder) {
  int count = 0;
  const RepairRow* rows = ItemRepairTable(&count);
  ASSERT_EQ(163, count);
  int keepKnown = 0, range = 0, always = 0, special = 0;
  WORD last = 0;
  for (int i = 0; i < count; ++i) {
    const RepairRow& r = rows[i];
    EXPECT_GT(r.id, last) << "row " << i;
    last = r.id;
    EXPECT_TRUE((r.id >= 35 && r.id <= 615) || r.id == 647 || (r.id >= 679 && r.id <= 696)) << r.id;
    EXPECT_EQ(&r, ItemRepairRowOf(r.id));
    switch (r.kind) {
      case kRepairKeepKnown: case kRepairKeepKnownModelByte: ++keepKnown; break;
      case kRepairKeepRange: ++range; break;
      case kRepairFallback: case kRepairFallbackVersionWord: ++always; break;
      case kRepairNone: ADD_FAILURE() << "row " << r.id << " without a handler"; break;
      default: ++special; break;
    }
  }
  EXPECT_EQ(59, keepKnown);
  EXPECT_EQ(14, range);
  EXPECT_EQ(73, always);
  EXPECT_EQ(17, special);
  EXPECT_EQ(nullptr, ItemRepairRowOf(620));
  EXPECT_EQ(nullptr, ItemRepairRowOf(650));
}

class RepairSweep : public ChecksTest {
 protected:
  void SetUp() override {
    ChecksTest::SetUp();
    // Fallbacks of the context's model record that differ from every value a test writes.
    Model()->modelCode = 77;
    Model()->repairFallbackWords[0] = 610;
    Model()->repairFallbackWords[1] = 620;
    const BYTE bytes[6] = {3, 4, 1, 9, 1, 0};  // items 169-174
    memcpy(Model()->repairFallbackBytes, bytes, sizeof bytes);
    Model()->versionWord = 23;
  }
};

TEST_F(RepairSweep, ItemsWithoutAModelRuleGoThroughTheirHandlers) {
  struct Case {
    const char* what;
    WORD id;
    LONG_PTR before;
    int mode;
    LONG_PTR after;
  } cases[] = {
      // keep a value in a range
      {"brightness -50 after a merge", kItem_zdmBrightness, -50, 2, -50},
      {"brightness -51 after a merge", kItem_zdmBrightness, -51, 2, 0},
      {"brightness -50 in the defaults", kItem_zdmBrightness, -50, 1, 0},
      {"scale 250 in the defaults", kItem_zdmScaleH, 250, 1, 100},
      {"scale 250 after a merge", kItem_zdmScaleH, 250, 2, 250},
      {"scale 401 after a merge", kItem_zdmScaleH, 401, 2, 100},
      {"header font point 5 after a merge", kItem_zdmHFFontPoint, 5, 2, 10},
      // keep a known value
      {"known output tray after a merge", kItem_zdmOutputTrayID, 13, 2, 13},
      {"unknown output tray after a merge", kItem_zdmOutputTrayID, 5, 2, 0},
      {"known output tray in the defaults", kItem_zdmOutputTrayID, 13, 1, 0},
      {"known display unit after a merge", kItem_zdmDspUnit, 0, 2, 0},
      {"unknown display unit: the model record's byte", kItem_zdmDspUnit, 7, 2, 1},
      // always the fallback
      {"sort gate", kItem_zdmFuncSelectSort, 0, 2, 1},
      {"N-up layout after a merge", kItem_zdmNupLayout, 7, 2, 3},
      {"N-up layout in the defaults", kItem_zdmNupLayout, 0, 1, 3},
      {"driver version: the model record's word", 233, 5, 2, 23},
      // special handlers
      {"machine id of this build after a merge", kItem_zdmMachineID, 148, 2, 148},
      {"another machine id: the context's code", kItem_zdmMachineID, 3, 2, 77},
      {"machine id in the defaults", kItem_zdmMachineID, 148, 1, 77},
      {"preset 127 after a merge", kItem_zdmPresetNo, 127, 2, 127},
      {"preset none after a merge", kItem_zdmPresetNo, -1, 2, -1},
      {"preset -5 after a merge", kItem_zdmPresetNo, -5, 2, 0},
      {"preset 3 in the defaults", kItem_zdmPresetNo, 3, 1, 0},
      {"known resolution after a merge", kItem_zdmDstResolutionW, 1200, 2, 1200},
      {"unknown resolution, no print quality", kItem_zdmDstResolutionW, 700, 2, 610},
      {"unknown height resolution, no print quality", kItem_zdmDstResolutionH, 700, 2, 620},
      {"custom output paper after a merge", kItem_zdmOutPaperSize, 1024, 2, 1024},
      {"known output paper after a merge", kItem_zdmOutPaperSize, 9, 2, 9},
      {"unknown output paper after a merge", kItem_zdmOutPaperSize, 2000, 2, 1024},
      {"output paper in the defaults", kItem_zdmOutPaperSize, 9, 1, 1024},
      {"watermark id", kItem_zdmWmID, 7, 1, 7},
      {"locale", kItem_zdmLocaleID, 9, 1, 9},
      {"tray 15 after a merge", kItem_zdmMPInputTray, 15, 2, 15},
      {"tray 16 after a merge", kItem_zdmMPInputTray, 16, 2, 7},
      {"cover tray in the defaults", kItem_zdmCoverInputTray, 3, 1, 7},
      {"back cover tray 0 after a merge", kItem_zdmBackCoverInputTray, 0, 2, 7},
      {"valid language in the defaults", kItem_zdmLanguageID, 4, 1, 4},
      {"valid language after a merge", kItem_zdmLanguageID, 4, 2, 4},
      {"invalid language: the model record's byte", kItem_zdmLanguageID, 200, 1, 3},
      {"valid display language in the defaults", kItem_zdmDspLanguageID, 6, 1, 6},
      {"invalid display language: the model record's byte", kItem_zdmDspLanguageID, 250, 2, 4},
      // no row
      {"an item between 616 and 646 has no row", 620, 1, 1, 1},
      {"an item between 648 and 678 has no row", 650, 1, 2, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetRaw(c.id, c.before);
    ItemRepairSweep(ctx(), c.mode);
    EXPECT_EQ(c.after, Raw(c.id));
  }
}

TEST_F(RepairSweep, AnUnknownResolutionTakesAValidPrintQuality) {
  struct Case {
    LONG_PTR quality;
    LONG_PTR after;
  } cases[] = {{300, 300}, {1200, 1200}, {333, 610}, {-3, 610}, {0, 610}};
  for (const Case& c : cases) {
    SetRaw(kItem_dmPrintQuality, c.quality);
    SetRaw(kItem_zdmDstResolutionW, 700);
    ItemRepairSweep(ctx(), 2);
    EXPECT_EQ(c.after, Raw(kItem_zdmDstResolutionW)) << "print quality " << c.quality;
  }
}

TEST_F(RepairSweep, AMarginKeepsAtMostFiftyMillimetresAtTheResolution) {
  const LONG limit = static_cast<LONG>(UnitDisplayToDots(kUnitTenthMm, 500, 600));
  ASSERT_GT(limit, 0);
  struct Case {
    LONG_PTR before;
    int mode;
    LONG_PTR after;
  } cases[] = {{limit, 2, limit}, {limit + 1, 2, 0}, {-1, 2, 0}, {100, 1, 0}};
  for (WORD id : {kItem_zdmMarginOdd, kItem_zdmMarginEven}) {
    for (const Case& c : cases) {
      SetRaw(kItem_zdmDstResolutionW, 600);  // a sweep in mode 1 resets it
      SetRaw(id, c.before);
      ItemRepairSweep(ctx(), c.mode);
      EXPECT_EQ(c.after, Raw(id)) << id << ": " << c.before << " in mode " << c.mode;
    }
  }
}

TEST_F(RepairSweep, TextsWithoutARuleAreNeverChanged) {
  for (WORD id : {kItem_zdmUserID, kItem_zdmJOBPassword, kItem_zdmTelNo}) {
    WCHAR text[64] = {};
    ASSERT_NE(nullptr, ItemSetText(ctx(), Item(id), TEXT("1234")));
    ItemRepairSweep(ctx(), 1);
    ASSERT_NE(nullptr, ItemGetTextBounded(ctx(), Item(id), text, 64));
    EXPECT_EQ(0, memcmp(TEXT("1234"), text, 5 * sizeof(WCHAR))) << id;
  }
}

TEST_F(RepairSweep, ItemsTheModelDescribesAreCheckedInsteadOfHandled) {
  SampleModel model(ctx(), Fixture("check_values.zmd").c_str());
  ASSERT_NE(nullptr, model.image());
  SetRaw(kItem_zdmScaleH, 250);  // in the model's range 25-400
  SetRaw(kItem_zdmBrightness, -40);
  SetRaw(kItem_zdmHFFontPoint, 5);  // not described: its handler
  SetRaw(kItem_zdmShiftDir, 9);      // described as TypeUnknown: its handler too
  Mono(true);
  SetRaw(kItem_zdmMediaType, Stored("ZDMMEDIATYPE_THICK"));  // disabled in monochrome
  ItemRepairSweep(ctx(), 1);
  EXPECT_EQ(250, Raw(kItem_zdmScaleH)) << "the model accepts it; the handler would have taken 100";
  EXPECT_EQ(-40, Raw(kItem_zdmBrightness));
  EXPECT_EQ(10, Raw(kItem_zdmHFFontPoint));
  EXPECT_EQ(1, Raw(kItem_zdmShiftDir));
  EXPECT_EQ(Stored("ZDMMEDIATYPE_PLAIN"), Raw(kItem_zdmMediaType));
}

TEST_F(ChecksTest, TheActiveWatermarkAndTheUserQualityList) {
  SetRaw(kItem_zdmWmID, 12);
  EXPECT_EQ(-1, ItemGetActiveWatermarkId(ctx()));
  SetRaw(kItem_zdmFuncSelectWaterMark, 1);
  EXPECT_EQ(12, ItemGetActiveWatermarkId(ctx()));

  struct Case {
    LONG_PTR useUserMacro;
    LONG_PTR macro;  // stored zdmUserPrintMacro
    LONG index;
  } cases[] = {{0, 32, -1}, {1, 32, 0}, {1, 47, 15}, {1, 40, 8}, {1, 5, -1}, {1, 160, -1}};
  for (const Case& c : cases) {
    SetRaw(kItem_zdmUseUserMacro, c.useUserMacro);
    SetRaw(kItem_zdmUserPrintMacro, c.macro);
    EXPECT_EQ(c.index, ItemGetUserMacroIndex(ctx())) << c.useUserMacro << " " << c.macro;
  }
}

}  // namespace
}  // namespace zems_test
