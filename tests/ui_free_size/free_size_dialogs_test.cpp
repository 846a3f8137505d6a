// The custom-size dialogs: the size input bound to the paper or the print size, the length and
// width exchange, the slot saves, the display-unit change with its re-conversion, and the slot
// editor's list (its lines, a slot switch, an edit, the factory sizes, the line colours).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/common/window_ui.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/devmode/couplings.h"
#include "core/front/control_lookup.h"
#include "core/front/page_lookup.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/items/units.h"
#include "core/model/model_lookup.h"
#include "core/modules/free_size_dialogs.h"
#include "core/modules/free_size_limits.h"
#include "core/modules/module_rows.h"
#include "core/store/free_size_store.h"
#include "core/system/resources.h"
#include "platform/sim.h"
#include "support/sample_context.h"

namespace zems_test {
namespace {

const WCHAR* W16(const char16_t* s) { return reinterpret_cast<const WCHAR*>(s); }
constexpr WORD kInchLength = 594, kInchWidth = 595;

class FreeSizeDialogsTest : public SampleContextTest {
 protected:
  void TearDown() override {
    ForgetWindows(1017);
    ForgetWindows(1041);
    SampleContextTest::TearDown();
  }
  void Set(WORD id, LONG value) { ItemSetRawById(ctx_, id, value); }
  LONG Get(WORD id) { return static_cast<LONG>(ItemGetRawById(ctx_, id)); }
  void InchMode() {
    Set(kItem_dmPaperSize, 256);
    Set(kItem_zdmDspUnit, 1);
    Set(kItem_wdmInputFreeSizeType, 1);
  }
  // The page with a window of the fake, and the control with its own window.
  DlgControlRecord* Window(WORD pageId, WORD controlId, const char16_t* className) {
    DlgPageRecord* page = PageFind(ctx_, pageId);
    if (!page) return nullptr;
    if (!page->window) page->window = SimUiMakeWindow(W16(u"#32770"), NULL, 0, 0);
    DlgControlRecord* control = CtlFind(ctx_, page, controlId);
    if (control && !control->window)
      control->window = SimUiMakeWindow(W16(className), page->window, controlId, WS_CHILD | WS_VISIBLE);
    return control;
  }
  int Route(WORD pageId, DlgControlRecord* control, UINT message, WPARAM wParam, LPARAM lParam = 0) {
    return ModBusRouteControl(ctx_, PageFind(ctx_, pageId), control, message, wParam, lParam);
  }
  const FreeSizeSlot& Slot(int n) { return ctx_->ui->freeSizes[n]; }
};

TEST_F(FreeSizeDialogsTest, SizeInputBindsToThePaperOrThePrintSize) {
  struct Case {
    WORD control;
    WORD paper;  // after notify 200
    WORD print;  // after notify 201
  } cases[] = {
      {2682, 341, 345}, {2684, 341, 345}, {2685, 341, 345}, {2687, 341, 345},
      {2689, 340, 344}, {2691, 340, 344}, {2692, 340, 344}, {2694, 340, 344},
      {2697, 342, 346}, {2701, 343, 347}, {2702, 343, 347}, {3073, 1163, 1165}, {3074, 1163, 1165},
  };
  DlgPageRecord* page = PageFind(ctx_, 1041);
  ASSERT_NE(page, nullptr);
  for (WORD code : {kNotifyBindPaperSize, kNotifyBindPrintSize, kNotifyBindPaperSize}) {
    ModBusNotify(ctx_, code);
    for (const Case& c : cases) {
      DlgControlRecord* control = CtlFind(ctx_, page, c.control);
      ASSERT_NE(control, nullptr) << c.control;
      ASSERT_NE(control->item, nullptr) << c.control;
      EXPECT_EQ(control->item->id, code == kNotifyBindPaperSize ? c.paper : c.print) << code << " " << c.control;
    }
  }
  // The paper size's length edits show the input size's description (its second symbol).
  const ModelItemDescriptor* input = ModelFindDescriptorBySymbol(103, ctx_);
  ASSERT_NE(input, nullptr);
  EXPECT_EQ(CtlFind(ctx_, page, 2683)->descriptor, input);
}

TEST_F(FreeSizeDialogsTest, LengthShorterThanWidthIsExchangedAndTheSlotSaved) {
  ctx_->ui->freeSizeCurrent = 3;
  struct Case {
    LONG slotWidth, slotLength;  // wdmFreeSizeWidth, wdmFreeSizeLength
    LONG paperWidth, paperLength;
    bool inch;
    LONG inchWidth, inchLength;
    bool slotSaved;
  } cases[] = {
      {10000, 9000, 10000, 9000, false, 0, 0, true},     // both exchanged, slot 3 saved
      {9000, 10000, 10000, 9000, false, 0, 0, false},    // the slot pair is in order already
      {9000, 9000, 6000, 7000, true, 900, 800, false},    // inch items exchanged in inch mode
  };
  for (const Case& c : cases) {
    Set(kItem_zdmDspUnit, 0);
    Set(kItem_dmPaperSize, 9);
    if (c.inch) InchMode();
    ctx_->ui->freeSizes[3].width = 1;
    ctx_->ui->freeSizes[3].length = 1;
    Set(kItem_wdmFreeSizeWidth, c.slotWidth);
    Set(kItem_wdmFreeSizeLength, c.slotLength);
    Set(kItem_zdmPaperFreeSizeWidth, c.paperWidth);
    Set(kItem_zdmPaperFreeSizeLength, c.paperLength);
    Set(kItem_zdmPrintFreeSizeWidth, c.paperWidth);
    Set(kItem_zdmPrintFreeSizeLength, c.paperLength);
    Set(kInchWidth, c.inchWidth);
    Set(kInchLength, c.inchLength);
    ModBusNotify(ctx_, kNotifyLengthNotShorter);
    EXPECT_GE(Get(kItem_wdmFreeSizeLength), Get(kItem_wdmFreeSizeWidth));
    EXPECT_EQ(Get(kItem_zdmPaperFreeSizeLength), std::max(c.paperWidth, c.paperLength));
    EXPECT_EQ(Get(kItem_zdmPaperFreeSizeWidth), std::min(c.paperWidth, c.paperLength));
    EXPECT_EQ(Get(kItem_zdmPrintFreeSizeLength), std::max(c.paperWidth, c.paperLength));
    EXPECT_EQ(Get(kItem_zdmPrintFreeSizeWidth), std::min(c.paperWidth, c.paperLength));
    if (c.inch) {
      EXPECT_EQ(Get(kInchLength), std::max(c.inchWidth, c.inchLength));
      EXPECT_EQ(Get(kInchWidth), std::min(c.inchWidth, c.inchLength));
    }
    EXPECT_EQ(Slot(3).length, c.slotSaved ? 10000 : 1) << c.slotWidth;
  }
}

TEST_F(FreeSizeDialogsTest, SaveNotifySavesTheSlotBeingEdited) {
  ctx_->ui->freeSizeCurrent = 6;
  Set(kItem_wdmFreeSizeWidth, 4800);
  Set(kItem_wdmFreeSizeLength, 7200);
  Set(kItem_wdmFreeSizeTray, 4);
  ModBusNotify(ctx_, kNotifySaveSlot);
  EXPECT_EQ(Slot(6).width, 4800);
  EXPECT_EQ(Slot(6).length, 7200);
  EXPECT_EQ(Slot(6).tray, 4);
}

TEST_F(FreeSizeDialogsTest, CustomPaperTrayBecomesTheSource) {
  // Slot 2 (paper code 386) on tray 4.
  FreeSizeLoadAll(ctx_);
  ctx_->ui->freeSizes[2].tray = 4;
  const LONG tray = 4;
  struct Case {
    WORD code;
    WORD item;
  } cases[] = {{kNotifyPaperTraySource, kItem_dmPaperSize}, {kNotifyOutputTraySource, kItem_zdmOutPaperSize}};
  for (const Case& c : cases) {
    Set(kItem_dmPaperSize, 9);
    Set(kItem_zdmOutPaperSize, 9);
    Set(kItem_dmDefaultSource, 1);
    Set(c.item, 386);
    ModBusNotify(ctx_, c.code);
    EXPECT_EQ(Get(kItem_dmDefaultSource), tray) << c.code;
  }
}

// The unit dialog's OK re-converts the paper size: to inches within the edit's limits, and
// back.
TEST_F(FreeSizeDialogsTest, UnitChangeConvertsThePaperSizeWithinTheLimits) {
  Set(kItem_zdmPaperFreeSizeTray, 1);
  Set(kItem_zdmPaperFreeSizeOrient, 1);
  Set(kItem_dmPaperSize, 256);
  Set(kItem_wdmInputFreeSizeType, 1);
  ModBusNotify(ctx_, kNotifyBindPaperSize);
  struct Case {
    LONG length, width;  // 1/1200 inch
    LONG inchLength, inchWidth;
  } cases[] = {
      {16818, 9921, 1401, 826},  // the longest metric length: the inch edit's maximum, not 1401.57
      {14031, 9921, 1169, 826},  // 297 x 210 mm: 11.69 x 8.26 in
      {17000, 9921, 1401, 826},  // above the tray's range: held at the edit's maximum
  };
  for (const Case& c : cases) {
    Set(kItem_zdmDspUnit, 0);
    Set(1117, 0);
    Set(kItem_zdmPaperFreeSizeLength, c.length);
    Set(kItem_zdmPaperFreeSizeWidth, c.width);
    Set(kItem_zdmDspUnit, 1);
    EXPECT_EQ(Route(1013, nullptr, WM_COMMAND, IDOK), 0) << "the OK goes on";
    EXPECT_EQ(Get(1117), 1);
    EXPECT_EQ(Get(kInchLength), c.inchLength) << c.length;
    EXPECT_EQ(Get(kInchWidth), c.inchWidth) << c.length;
    LONG high = 0, low = 0;
    ASSERT_TRUE(FreeSizeGetPageLimits(ctx_, 1041, 2682, &high, &low));
    EXPECT_LE(Get(kInchLength), ItemDotsToDisplay(ctx_, 0, high));
    // The same unit again converts nothing.
    Set(kInchLength, 5);
    Route(1013, nullptr, WM_COMMAND, IDOK);
    EXPECT_EQ(Get(kInchLength), 5);
    Set(kInchLength, c.inchLength);
    // Back to millimetres: the inch values through 0.1 mm, within the limits.
    Set(kItem_zdmDspUnit, 0);
    Route(1013, nullptr, WM_COMMAND, IDOK);
    EXPECT_EQ(Get(1117), 0);
    LONG back = Get(kItem_zdmPaperFreeSizeLength);
    EXPECT_LE(back, 16818);
    EXPECT_NEAR(back, std::min(c.length, 16818L), 20) << c.length;
  }
}

TEST_F(FreeSizeDialogsTest, SlotEditorListsTheSlotsAndSwitchesSavingTheOneLeft) {
  FreeSizeLoadDefaults(ctx_);
  const FreeSizeSlot factory3 = Slot(3);
  DlgControlRecord* list = Window(1017, 2364, u"ListBox");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(Route(1017, list, WM_INITDIALOG, 0), 1);
  ASSERT_EQ(WuiChoiceCount(list->window), 10);
  for (int n = 0; n < 10; ++n) EXPECT_EQ(WuiChoiceData(list->window, n), 109 + n);
  EXPECT_EQ(ctx_->ui->freeSizeCurrent, 0);
  // Slot 3 chosen, its width edited, then slot 5: slot 3 keeps the edit.
  WuiChoiceSelect(list->window, 3);
  Route(1017, list, WM_COMMAND, MAKEWPARAM(2364, LBN_SELCHANGE));
  EXPECT_EQ(ctx_->ui->freeSizeCurrent, 3);
  EXPECT_EQ(Get(kItem_wdmFreeSizeWidth), Slot(3).width);
  DlgControlRecord* width = Window(1017, 2224, u"Edit");
  ASSERT_NE(width, nullptr);
  Set(kItem_wdmFreeSizeWidth, 5000);
  WuiChoiceSelect(list->window, 7);  // the edit selects the slot being edited again
  EXPECT_EQ(Route(1017, width, WM_COMMAND, MAKEWPARAM(2224, EN_CHANGE)), 1);
  EXPECT_EQ(WuiChoiceSelection(list->window), 3);
  EXPECT_EQ(Slot(3).width, 5000);
  Set(kItem_wdmFreeSizeLength, 8000);
  WuiChoiceSelect(list->window, 5);
  Route(1017, list, WM_COMMAND, MAKEWPARAM(2364, LBN_SELCHANGE));
  EXPECT_EQ(Slot(3).length, 8000) << "the slot left is saved";
  EXPECT_EQ(ctx_->ui->freeSizeCurrent, 5);
  EXPECT_EQ(Get(kItem_wdmFreeSizeLength), Slot(5).length);
  // A list already holding its ten lines is not refilled, but slot 0 becomes current.
  WuiChoiceSelect(list->window, 5);
  Route(1017, list, WM_INITDIALOG, 0);
  EXPECT_EQ(WuiChoiceCount(list->window), 10);
  EXPECT_EQ(ctx_->ui->freeSizeCurrent, 0);
  // The default button: the factory sizes again, slot 0 current.
  ASSERT_NE(Slot(3).width, factory3.width);
  DlgControlRecord* reset = Window(1017, 2227, u"Button");
  ASSERT_NE(reset, nullptr);
  EXPECT_EQ(Route(1017, reset, WM_COMMAND, MAKEWPARAM(2227, BN_CLICKED)), 1);
  EXPECT_EQ(Slot(3).width, factory3.width);
  EXPECT_EQ(Slot(3).length, factory3.length);
  EXPECT_EQ(ctx_->ui->freeSizeCurrent, 0);
  EXPECT_EQ(WuiChoiceSelection(list->window), 0);
}

TEST_F(FreeSizeDialogsTest, SlotLineColoursByState) {
  struct Case {
    bool restricted, current;
    int background, text;
  } cases[] = {
      {false, false, COLOR_WINDOW, COLOR_WINDOWTEXT},
      {false, true, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT},
      {true, true, COLOR_BTNFACE, COLOR_GRAYTEXT},
      {true, false, COLOR_BTNFACE, COLOR_GRAYTEXT},
  };
  for (const Case& c : cases) {
    FreeSizeLineStyle style = FreeSizeSlotLineStyle(c.restricted, c.current);
    EXPECT_EQ(style.background, c.background) << c.restricted << c.current;
    EXPECT_EQ(style.text, c.text) << c.restricted << c.current;
  }
}

}  // namespace
}  // namespace zems_test
