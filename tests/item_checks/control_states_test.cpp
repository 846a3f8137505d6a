// Restricted and disabled states of controls, and the stale-state tests.
#include <gtest/gtest.h>

#include "core/context/module_bus.h"
#include "core/front/dialog_records.h"
#include "core/items/control_states.h"
#include "core/model/model_lookup.h"
#include "item_checks/checks_fixture.h"

namespace zems_test {
namespace {

// A module that decides for every control: restricted.
int AnsweringModule(DriverContext*, int event, void* argument, void*) {
  if (event != kEventControlRestricted) return 0;
  auto* query = static_cast<CtlRestrictedQuery*>(argument);
  query->control->state = static_cast<WORD>((query->control->state & ~kControlRestrictedMask) | 0x4);
  query->answered = 1;
  return 1;
}

// A module that writes the bits and ends the dispatch without answering.
int StoppingModule(DriverContext*, int event, void* argument, void*) {
  if (event != kEventControlRestricted) return 0;
  auto* query = static_cast<CtlRestrictedQuery*>(argument);
  query->control->state = static_cast<WORD>(query->control->state | kControlRestrictedMask);
  return 1;
}

class ControlStates : public ChecksTest {
 protected:
  void SetUp() override {
    ChecksTest::SetUp();
    model_ = std::make_unique<SampleModel>(ctx(), Fixture("check_values.zmd").c_str());
    ASSERT_NE(nullptr, model_->image());
    control_.descriptor = ModelGetDescriptor(kItem_zdmMediaType, ctx());
    ASSERT_NE(nullptr, control_.descriptor);
  }
  void TearDown() override {
    ModBusFree(ctx());
    model_.reset();
    ChecksTest::TearDown();
  }
  void LoadModule(UiModuleEventFn fn) {
    UiModuleEntry rows[kModuleCount] = {};
    rows[kModuleWatermarks].event = fn;
    ASSERT_EQ(1, ModBusLoadRows(ctx(), rows, kModuleCount));
  }
  // The control of a value of zdmMediaType (its control id is the value).
  DlgControlRecord* Control(const char* valueName, WORD state) {
    control_.controlId = TblFindValueSymbolByName(valueName)->logical;
    control_.state = state;
    return &control_;
  }
  void ClearChangeMarks() {
    for (int i = 0; i < ctx()->items->count; ++i) ctx()->items->rows[i].state &= ~ItemStateChangeMask;
  }

  std::unique_ptr<SampleModel> model_;
  DlgControlRecord control_{};
  DlgPageRecord page_{};
};

TEST_F(ControlStates, TheRestrictedStateLeavesTheControlsFlagsAsTheyWere) {
  struct Case {
    const char* what;
    UiModuleEventFn module;
    bool mono;
    const char* value;
    WORD state;
    int restricted;
  } cases[] = {
      {"a module answers", AnsweringModule, false, "ZDMMEDIATYPE_PLAIN", 0x0001, 1},
      {"a module stops without answering: the judge decides", StoppingModule, true, "ZDMMEDIATYPE_LABELS", 0x0001, 1},
      {"a module stops without answering, judge false", StoppingModule, false, "ZDMMEDIATYPE_LABELS", 0x0000, 0},
      {"no module: the value's restrict judge", nullptr, true, "ZDMMEDIATYPE_LABELS", 0x0000, 1},
      {"no module, another value", nullptr, true, "ZDMMEDIATYPE_PLAIN", 0x0008, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ModBusFree(ctx());
    if (c.module) LoadModule(c.module);
    Mono(c.mono);
    DlgControlRecord* control = Control(c.value, c.state);
    EXPECT_EQ(c.restricted, CtlEvalRestricted(ctx(), &page_, control));
    EXPECT_EQ(c.state, control->state);
  }
}

TEST_F(ControlStates, AControlWithoutADescriptorShowsItsOwnBits) {
  DlgControlRecord control{};
  control.state = 0x0004;
  EXPECT_EQ(1, CtlEvalRestricted(ctx(), &page_, &control));
  control.state = 0x0003;
  EXPECT_EQ(0, CtlEvalRestricted(ctx(), &page_, &control));
  EXPECT_EQ(0x0003, control.state);
}

TEST_F(ControlStates, AStateIsStaleWhenItDiffersOrItsJudgesNameAChangedItem) {
  Mono(true);  // LABELS restricted, THICK disabled
  SetRaw(kItem_zdmTonerSave, 1);
  struct Case {
    const char* what;
    bool disabled;  // CtlDisabledStale, else CtlRestrictedStale
    const char* value;
    WORD state;
    WORD changed;  // item whose change mark is set, 0 for none
    int stale;
  } cases[] = {
      {"restricted, shown so", false, "ZDMMEDIATYPE_LABELS", 0x0004, 0, 0},
      {"restricted, shown otherwise", false, "ZDMMEDIATYPE_LABELS", 0x0000, 0, 1},
      {"restricted, its judge's item changed", false, "ZDMMEDIATYPE_LABELS", 0x0004, kItem_dmColor, 1},
      {"restricted, another item changed", false, "ZDMMEDIATYPE_LABELS", 0x0004, kItem_zdmTonerSave, 0},
      {"disabled, shown so", true, "ZDMMEDIATYPE_THICK", 0x0001, 0, 0},
      {"disabled, shown otherwise", true, "ZDMMEDIATYPE_THICK", 0x0000, 0, 1},
      {"disabled, its judge's item changed", true, "ZDMMEDIATYPE_THICK", 0x0001, kItem_dmColor, 1},
      {"disabled, another item changed", true, "ZDMMEDIATYPE_THICK", 0x0001, kItem_zdmTonerSave, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ClearChangeMarks();
    if (c.changed) Item(c.changed)->state |= ItemStateChanged;
    DlgControlRecord* control = Control(c.value, c.state);
    EXPECT_EQ(c.stale, c.disabled ? CtlDisabledStale(ctx(), control) : CtlRestrictedStale(ctx(), &page_, control));
    EXPECT_EQ(c.state, control->state);
  }
}

TEST_F(ChecksTest, AJudgeIsScannedNoFurtherThanTheImageThatHoldsIt) {
  // A made-up image whose last cells lack the end cell; an item cell of a changed item lies
  // just beyond the image's end.
  constexpr DWORD kCells = 3;
  std::vector<BYTE> block(sizeof(ModelImageHeader) + (kCells + 1) * sizeof(JudgeCell));
  auto* header = reinterpret_cast<ModelImageHeader*>(block.data());
  auto* cells = reinterpret_cast<JudgeCell*>(block.data() + sizeof(ModelImageHeader));
  cells[0] = {kJudgeConstant, 1};
  cells[1] = {kJudgeConstant, 2};
  cells[2] = {kJudgeOperator, kJudgeOpEqual};
  cells[3] = {kJudgeItem, static_cast<WORD>(kItem_dmColor)};
  Item(kItem_dmColor)->state |= ItemStateChanged;
  ModelImage* previous = ctx()->modelImage;
  ctx()->modelImage = reinterpret_cast<ModelImage*>(header);
  header->totalSize = static_cast<DWORD>(sizeof(ModelImageHeader) + kCells * sizeof(JudgeCell));
  EXPECT_EQ(0, ModelExprUsesChangedItem(ctx(), cells));
  header->totalSize = static_cast<DWORD>(block.size());
  EXPECT_EQ(1, ModelExprUsesChangedItem(ctx(), cells));
  ctx()->modelImage = previous;
  const JudgeCell ended[] = {{kJudgeConstant, 1}, {kJudgeOperator, kJudgeOpEnd},
                             {kJudgeItem, static_cast<WORD>(kItem_dmColor)}};
  EXPECT_EQ(0, ModelExprUsesChangedItem(ctx(), ended)) << "the end cell stops the scan";
  EXPECT_EQ(0, ModelExprUsesChangedItem(ctx(), nullptr));
}

}  // namespace
}  // namespace zems_test
