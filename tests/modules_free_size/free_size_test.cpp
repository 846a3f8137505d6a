// The custom-paper module's window-less answers: the limits of the size controls and the inch
// items kept beside the 1/1200-inch paper size.
#include <gtest/gtest.h>

#include "core/context/module_bus.h"
#include "core/front/dialog_records.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/units.h"
#include "core/modules/free_size_limits.h"
#include "core/modules/module_rows.h"
#include "support/item_context.h"

namespace {

using zems_test::ItemContextTest;

constexpr WORD kInchLength = 594, kInchWidth = 595;

class FreeSizeTest : public ItemContextTest {
 protected:
  void SetUp() override {
    ItemContextTest::SetUp();
    ASSERT_EQ(1, ModBusLoadRows(ctx(), kModuleRowsPrinterInterface, kModuleCount));
  }
  void TearDown() override {
    ModBusFree(ctx());
    ItemContextTest::TearDown();
  }
  void Set(WORD id, LONG value) { ItemSetRawById(ctx(), id, value); }
  LONG Get(WORD id) { return static_cast<LONG>(ItemGetRawById(ctx(), id)); }
  void InchMode() {
    Set(kItem_dmPaperSize, 256);
    Set(kItem_zdmDspUnit, 1);
    Set(kItem_wdmInputFreeSizeType, 1);
  }
};

// Each size control takes the tray and orientation of the size its dialog edits, and the
// length or width pair of the display unit in force, moved inward to shown values.
TEST_F(FreeSizeTest, ControlLimitsFollowTheDialogsSizeAndTheUnit) {
  Set(kItem_wdmFreeSizeTray, 4);
  Set(kItem_wdmFreeSizeOrient, 1);
  Set(kItem_zdmPaperFreeSizeTray, 1);
  Set(kItem_zdmPaperFreeSizeOrient, 1);
  Set(kItem_zdmPrintFreeSizeTray, 3);
  Set(kItem_zdmPrintFreeSizeOrient, 2);
  struct Case {
    WORD control;
    LONG inputType;  // wdmInputFreeSizeType
    LONG unit;       // zdmDspUnit
    LONG rowMax, rowMin;
  } cases[] = {
      {2220, 0, 0, 42518, 6614},  // 1017 length, tray 4
      {2225, 0, 0, 10204, 4250},  // 1017 width spin
      {2392, 0, 1, 42516, 6624},  // inch pair
      {2398, 0, 1, 10200, 4260},
      {2682, 1, 0, 16818, 6614},  // 1041 paper size: tray 1
      {2694, 1, 1, 10200, 6624},
      {2683, 0, 0, 10204, 9920},  // 1041 print size: tray 3, landscape
      {2690, 0, 1, 10200, 9924},
  };
  for (const Case& c : cases) {
    Set(kItem_wdmInputFreeSizeType, c.inputType);
    Set(kItem_zdmDspUnit, c.unit);
    DlgControlRecord control{};
    control.controlId = c.control;
    DWORD high = 0, low = 0;
    ASSERT_EQ(1, FreeSizeGetControlLimits(ctx(), &control, &high, &low)) << c.control;
    const LONG hi = static_cast<LONG>(high), lo = static_cast<LONG>(low);
    EXPECT_LE(hi, c.rowMax) << c.control;
    EXPECT_GE(lo, c.rowMin) << c.control;
    // Inward by less than one shown step, onto values the unit shows exactly.
    EXPECT_GT(hi, c.rowMax - 30) << c.control;
    EXPECT_LT(lo, c.rowMin + 30) << c.control;
    EXPECT_EQ(hi, ItemDisplayToDots(ctx(), 0, ItemDotsToDisplay(ctx(), 0, hi))) << c.control;
    EXPECT_EQ(lo, ItemDisplayToDots(ctx(), 0, ItemDotsToDisplay(ctx(), 0, lo))) << c.control;
  }
  DlgControlRecord other{};
  other.controlId = 2226;
  DWORD high = 7, low = 7;
  EXPECT_EQ(0, FreeSizeGetControlLimits(ctx(), &other, &high, &low));
  EXPECT_EQ(7u, high);
  Set(kItem_wdmFreeSizeTray, 9);  // no row for tray 9
  DlgControlRecord length{};
  length.controlId = 2220;
  EXPECT_EQ(0, FreeSizeGetControlLimits(ctx(), &length, &high, &low));
}

// A paper given in 0.1 mm by a DEVMODE is kept in inches while the user types inches, and
// goes back into the DEVMODE as the same inch value.
TEST_F(FreeSizeTest, InchItemsFollowTheDevmodeAndGoBackIntoIt) {
  DEVMODEW dm{};
  dm.dmPaperLength = 2795;  // 11.004 in
  dm.dmPaperWidth = 2159;   // 8.5 in
  ModBusSendEvent(ctx(), 44, &dm);
  EXPECT_EQ(0, Get(kInchLength)) << "not in inch mode";
  InchMode();
  ModBusSendEvent(ctx(), 44, &dm);
  EXPECT_EQ(1100, Get(kInchLength));
  EXPECT_EQ(850, Get(kInchWidth));
  struct {
    DEVMODEW* devmode;
    LONG handled;
  } input = {&dm, 0};
  ModBusSendEvent(ctx(), 45, &input);
  EXPECT_EQ(1, input.handled);
  EXPECT_EQ(2794, dm.dmPaperLength) << "11.00 in exactly";
  EXPECT_EQ(2159, dm.dmPaperWidth);
  Set(kInchLength, 1101);
  ModBusSendEvent(ctx(), 45, &input);
  EXPECT_EQ(2797, dm.dmPaperLength) << "rounded up: read back it is 11.01 in again";
  ModBusSendEvent(ctx(), 44, &dm);
  EXPECT_EQ(1101, Get(kInchLength));
}

TEST_F(FreeSizeTest, InchModeSizeEditsShowAndTakeTheInchItems) {
  InchMode();
  Set(kInchLength, 1100);
  Set(kInchWidth, 850);
  DlgControlRecord lengthEdit{}, widthSpin{}, otherEdit{};
  lengthEdit.controlId = 2683;
  widthSpin.controlId = 2693;
  otherEdit.controlId = 2220;
  struct Case {
    int event;
    DlgControlRecord* control;
    LONG value;
    LONG valueAfter, lengthAfter, widthAfter;
  } cases[] = {
      {38, &lengthEdit, 0, 1100, 1100, 850},      // shown: the inch item
      {39, &lengthEdit, 1200, 1200, 1200, 850},   // typed
      {40, &lengthEdit, 0, 1200, 1200, 850},      // committing: the inch item
      {41, &lengthEdit, 13200, 13200, 1100, 850}, // committed 1/1200 inch: 11 in
      {43, &widthSpin, 900, 900, 1100, 900},      // spun
      {55, &widthSpin, 10200, 10200, 1100, 850},  // wheel: 8.5 in
      {38, &otherEdit, 5, 5, 1100, 850},          // the slot editor's edits keep their values
  };
  for (const Case& c : cases) {
    FreeSizeValueEvent e = {c.control, c.value};
    ModBusSendEvent(ctx(), c.event, &e);
    EXPECT_EQ(c.valueAfter, e.value) << c.event;
    EXPECT_EQ(c.lengthAfter, Get(kInchLength)) << c.event;
    EXPECT_EQ(c.widthAfter, Get(kInchWidth)) << c.event;
  }
  FreeSizeInchFlagEvent flag = {&otherEdit, 0};
  ModBusSendEvent(ctx(), 51, &flag);
  EXPECT_EQ(1, flag.flag);
  FreeSizeInchFlagEvent spinFlag = {&widthSpin, 0};
  ModBusSendEvent(ctx(), 51, &spinFlag);
  EXPECT_EQ(0, spinFlag.flag);
}

// After an alert's action the inch items follow the 1/1200-inch size, held to the limits.
TEST_F(FreeSizeTest, TheInchSyncKeepsWithinTheLimits) {
  InchMode();
  Set(kItem_zdmPaperFreeSizeTray, 1);
  Set(kItem_zdmPaperFreeSizeOrient, 1);
  Set(kItem_zdmPaperFreeSizeLength, 20000);  // 16.67 in, above the inch maximum 16812
  Set(kItem_zdmPaperFreeSizeWidth, 10200);
  ModBusSendEvent(ctx(), 42, nullptr);
  EXPECT_EQ(1401, Get(kInchLength)) << "14.01 in: the limit, not 16.67";
  EXPECT_EQ(850, Get(kInchWidth));
  FreeSizeRangeEvent range = {nullptr, 0, 0, 0};
  DlgControlRecord spin{};
  spin.controlId = 2686;
  range.control = &spin;
  ModBusSendEvent(ctx(), 46, &range);
  EXPECT_EQ(1, range.given);
  EXPECT_LE(range.maximum, 16812);
}

}  // namespace
