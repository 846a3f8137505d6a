// The bit a set reports for its own status item, and the page edges a set clears when it turns
// the binding margin off: the engine's steps on the context behind a handle.
#include <gtest/gtest.h>

#include <string.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "api/api_inproc_fixture.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "exclude/api/api_engine.h"
#include "exclude/api/api_exports.h"

namespace zems_test {
namespace {

struct Record {
  DWORD version;
  LONG f[13];  // +4 onward
};

class ApiEngineBitsTest : public ApiInProcessTest {
 protected:
  void Raw(WORD id, LONG value) { ItemSetRawById(Ctx(), id, value); }
  LONG Raw(WORD id) { return static_cast<LONG>(ItemGetRawById(Ctx(), id)); }
  // The value the settings had before the set, and the value they hold now.
  void Moved(WORD id, LONG before, LONG now) {
    ItemSetInitialRaw(Ctx(), ItemFind(Ctx(), id), before);
    Raw(id, now);
  }
};

TEST_F(ApiEngineBitsTest, TheItemBeingSetReportsItselfByItsOwnRule) {
  Install();
  Enable(16);
  struct Case {
    const char* what;
    DWORD id;
    LONG v;         // the record's value at byte 4
    LONG byte12;    // the record's value at byte 12
    std::vector<std::pair<WORD, LONG>> now;
    std::vector<std::pair<WORD, std::pair<LONG, LONG>>> moved;  // before, now
    DWORD bit;
  } cases[] = {
      {"N-up asked 3, left at 1", 14, 3, 0, {{kItem_zdmNUPType, 1}}, {}, 14},
      {"N-up asked 1, left at 3", 14, 1, 0, {{kItem_zdmNUPType, 3}}, {}, 14},
      {"N-up asked 130, left at 129", 14, 130, 0, {{kItem_zdmNUPType, 129}}, {}, 14},
      {"N-up asked 161, left at 163", 14, 161, 0, {{kItem_zdmNUPType, 163}}, {}, 14},
      {"N-up as asked", 14, 33, 0, {{kItem_zdmNUPType, 33}}, {}, 0},
      {"N-up asked 33, left at 1", 14, 33, 0, {{kItem_zdmNUPType, 1}}, {}, 0},
      {"duplex asked 17, left at 18", 15, 17, 0, {{kItem_zdmDuplexType, 18}}, {}, 15},
      {"duplex asked 19, left at 17", 15, 19, 0, {{kItem_zdmDuplexType, 17}}, {}, 15},
      {"duplex asked 22, left at 20", 15, 22, 0, {{kItem_zdmDuplexType, 20}}, {}, 15},
      {"duplex as asked", 15, 17, 0, {{kItem_zdmDuplexType, 17}}, {}, 0},
      {"sort without separation sheets", 19, 1, 3,
       {{kItem_zdmExtOutput2SeparationSheet, 0}, {kItem_zdmSeparationSheetCycle, 5}}, {}, 0},
      {"chapters asked on, left off", 67, 1, 0, {{kItem_zdmFuncSelectChapter, 0}}, {}, 67},
      {"chapters as asked", 67, 1, 0, {{kItem_zdmFuncSelectChapter, 1}}, {}, 0},
      {"rotation and layout moved", 28, 1, 0, {},
       {{kItem_zdmRotationMode, {0, 1}}, {kItem_zdmNupLayout, {0, 2}}}, 28},
      {"rotation and book layout moved", 28, 1, 0, {},
       {{kItem_zdmRotationMode, {0, 1}}, {kItem_zdmBookLayout, {0, 2}}}, 28},
      {"rotation moved alone", 28, 1, 0, {}, {{kItem_zdmRotationMode, {0, 1}}}, 0},
      {"reverse cover unmoved", 66, 1, 0, {}, {{kItem_zdmExtOutput2ReverseCoverOutside, {1, 1}}}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (WORD id : {kItem_zdmRotationMode, kItem_zdmNupLayout, kItem_zdmBookLayout,
                    kItem_zdmExtOutput2ReverseCoverOutside})
      Moved(id, 0, 0);
    for (auto& n : c.now) Raw(n.first, n.second);
    for (auto& m : c.moved) Moved(m.first, m.second.first, m.second.second);
    Record r = {1, {c.v, 0, c.byte12}};
    EXPECT_EQ(c.bit, ApiOwnItemBit(Api(), c.id, &r));
  }
}

// Separation sheets report item 19 only where the printer offers them (capability 76).
TEST_F(ApiEngineBitsTest, SortReportsASeparationCycleItDidNotKeep) {
  Install();
  Enable(16);
  const LONG_PTR offered = Caps(76);
  Raw(kItem_zdmExtOutput2SeparationSheet, 1);
  Raw(kItem_zdmSeparationSheetCycle, 5);
  Record asked = {1, {1, 0, 3}}, kept = {1, {1, 0, 5}};
  EXPECT_EQ(offered != 0 && offered != -1 ? 19u : 0u, ApiOwnItemBit(Api(), 19, &asked)) << "capability " << offered;
  EXPECT_EQ(0u, ApiOwnItemBit(Api(), 19, &kept));
}

// The reverse cover's outside moved: the bit goes to the back cover when it is offered, else
// to the reverse cover; never to item 66. The sample offers neither.
struct CoverCase {
  const char* offered;  // the cover the model describes, or null
  DWORD bit;
};

class ApiReverseCoverBitTest : public ApiEngineBitsTest, public ::testing::WithParamInterface<CoverCase> {};

TEST_P(ApiReverseCoverBitTest, AMovedReverseCoverReportsTheCoverThatCarriesIt) {
  const CoverCase& c = GetParam();
  if (c.offered) {
    const std::string name = std::string("TOV_") + c.offered;
    InstallEdited({{"*OpenUI *TOV_zdmFuncSelectCopyProtect: Boolean",
                    "*OpenUI *" + name + ": Boolean\n*DefaultTOV_" + c.offered +
                        ": False\n*CloseUI\n\n*OpenUI *TOV_zdmFuncSelectCopyProtect: Boolean"},
                   {"   TOV_zdmFuncSelectCopyProtect NULL NULL NULL NULL NULL NULL NULL\n",
                    "   TOV_zdmFuncSelectCopyProtect NULL NULL NULL NULL NULL NULL NULL\n   " + name +
                        " NULL NULL NULL NULL NULL NULL NULL\n"}});
  } else {
    Install();
  }
  Enable(16);
  Moved(kItem_zdmExtOutput2ReverseCoverOutside, 0, 1);
  Record r = {1, {1}};
  EXPECT_EQ(c.bit, ApiOwnItemBit(Api(), 66, &r));
}

INSTANTIATE_TEST_SUITE_P(Covers, ApiReverseCoverBitTest,
                         ::testing::Values(CoverCase{"zdmFuncSelectBack", 64},
                                           CoverCase{"zdmFuncSelectReverseCover", 65}, CoverCase{nullptr, 0}));

// With a model whose N-up turns the binding margin off: a set of N-up with the margin on clears
// the page edges; a set that leaves the margin on keeps them.
TEST_F(ApiEngineBitsTest, TheMarginGoingOffClearsThePageEdges) {
  Install("*Action 5=ScaleOff: { TOV_zdmScaleType ZDMSCALETYPE_OFF",
          "*Action 5=ScaleOff: { TOV_zdmFuncSelectMargin 0 TOV_zdmScaleType ZDMSCALETYPE_OFF");
  Enable(16);
  const WORD edges[] = {kItem_zdmShiftMarginX,       kItem_zdmShiftMarginY,         kItem_zdmMarginOdd,
                        kItem_zdmMarginEven,         kItem_zdmHFFuncSelectDate,     kItem_zdmHFFuncSelectPage,
                        kItem_zdmHFFuncSelectString, kItem_zdmFunc2SelectEdgeCorner, kItem_zdmFuncSelectCrops,
                        kItem_zdmFuncSelectCropsFirst, kItem_zdmCreepMarginInside,  kItem_zdmCreepMarginOutside};
  struct Case {
    const char* what;
    DWORD id;
    LONG value;
    LONG sw;
    LONG marginBefore;
    bool cleared;
  } cases[] = {
      {"N-up turns the margin off", 14, 33, 1, 1, true},
      {"N-up off leaves the margin on", 14, 33, 0, 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Raw(kItem_zdmFuncSelectNup, 0);
    Raw(kItem_zdmFuncSelectMargin, c.marginBefore);
    for (WORD id : edges) Raw(id, 1);
    Record r = {1, {c.value}};
    r.f[6] = c.sw;  // byte 28: the item's switch
    ASSERT_GE(ApiExportSetStatus(handle_, c.id, &r, nullptr, 0), 0) << LastError();
    ASSERT_EQ(c.cleared ? 0 : 1, Raw(kItem_zdmFuncSelectMargin));
    for (WORD id : edges) {
      // The merge clears the header and footer switches of its own accord: only a clearing
      // speaks for them.
      const bool headerFooter = id == kItem_zdmHFFuncSelectDate || id == kItem_zdmHFFuncSelectPage ||
                                id == kItem_zdmHFFuncSelectString;
      if (c.cleared || !headerFooter) {
        EXPECT_EQ(c.cleared ? 0 : 1, Raw(id)) << "item " << id;
      }
    }
  }
}

}  // namespace
}  // namespace zems_test
