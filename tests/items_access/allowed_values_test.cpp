// Allowed values of PJL-mapped settings: condition lists, the setting locks, the N-up lock
// rule and the list results.
#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>
#include <vector>

#include "core/items/allowed_values.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/tables/static_tables.h"
#include "platform/sim.h"
#include "support/item_context.h"

namespace zems_test {
namespace {

using Settings = std::vector<std::pair<WORD, LONG>>;
using Values = std::vector<DWORD>;

struct Term {
  DWORD flags;
  DWORD item;
  LONG value;
};

class AllowedValuesTest : public ItemContextTest {
 protected:
  void TearDown() override {
    SimFailAllocations(-1);
    ItemContextTest::TearDown();
  }
  void Set(const Settings& settings) {
    for (const auto& s : settings) ASSERT_TRUE(ItemSetRawById(ctx(), s.first, s.second)) << "item " << s.first;
  }
  // Links the terms into a list (empty: none).
  const ConditionTerm* List(const std::vector<Term>& terms) {
    list_.assign(terms.size(), ConditionTerm{});
    for (size_t i = 0; i < terms.size(); ++i)
      list_[i] = {i + 1 < terms.size() ? &list_[i + 1] : nullptr, terms[i].flags, terms[i].item, terms[i].value};
    return list_.empty() ? nullptr : list_.data();
  }
  // The allowed values of an item, failing the test unless they were listed.
  Values Allowed(DWORD item) {
    DWORD buffer[32] = {};
    DWORD count = 99;
    EXPECT_EQ(kAllowedListed, ItemListAllowedValues(ctx(), item, 32, buffer, &count));
    return Values(buffer, buffer + (count <= 32 ? count : 0));
  }

 private:
  std::vector<ConditionTerm> list_;
};

// A: dmColor is 2, B: duplex on, C: N-up on.
constexpr DWORD kStapleType = 121;  // zdmStapleType: no PJL row
constexpr DWORD kA = kItem_dmColor, kB = kItem_zdmFuncSelectDuplex, kC = kItem_zdmFuncSelectNup;

TEST_F(AllowedValuesTest, ConditionListsJoinTermsByTheirFlags) {
  struct Case {
    const char* what;
    std::vector<Term> terms;
    LONG a, b, c;  // dmColor, duplex, N-up
    int holds;
  };
  const Case cases[] = {
      {"an empty list holds", {}, 1, 0, 0, 1},
      {"0,1 is an OR: the second holds", {{0, kA, 2}, {1, kB, 1}}, 1, 1, 0, 1},
      {"0,1 is an OR: the first holds", {{0, kA, 2}, {1, kB, 1}}, 2, 0, 0, 1},
      {"0,1 is an OR: neither holds", {{0, kA, 2}, {1, kB, 1}}, 1, 0, 0, 0},
      {"1,1 is an AND: one fails", {{1, kA, 2}, {1, kB, 1}}, 2, 0, 0, 0},
      {"1,1 is an AND: both hold", {{1, kA, 2}, {1, kB, 1}}, 2, 1, 0, 1},
      {"1,1 is an AND: the first fails", {{1, kA, 2}, {1, kB, 1}}, 1, 1, 0, 0},
      {"0,0: the last term ends the clause", {{0, kA, 2}, {0, kB, 1}}, 1, 1, 0, 1},
      {"0,0: neither holds", {{0, kA, 2}, {0, kB, 1}}, 1, 0, 0, 0},
      {"2,0,1 is (A and B) or C: A alone", {{2, kA, 2}, {0, kB, 1}, {1, kC, 1}}, 2, 0, 0, 0},
      {"2,0,1 is (A and B) or C: A and B", {{2, kA, 2}, {0, kB, 1}, {1, kC, 1}}, 2, 1, 0, 1},
      {"2,0,1 is (A and B) or C: C alone", {{2, kA, 2}, {0, kB, 1}, {1, kC, 1}}, 1, 0, 1, 1},
      {"2,0,1 is (A and B) or C: B alone", {{2, kA, 2}, {0, kB, 1}, {1, kC, 1}}, 1, 1, 0, 0},
      {"0,2,1 is A or (B and C): B alone", {{0, kA, 2}, {2, kB, 1}, {1, kC, 1}}, 1, 1, 0, 0},
      {"0,2,1 is A or (B and C): B and C", {{0, kA, 2}, {2, kB, 1}, {1, kC, 1}}, 1, 1, 1, 1},
      {"2,1,1 is A and B and C: C fails", {{2, kA, 2}, {1, kB, 1}, {1, kC, 1}}, 2, 1, 0, 0},
      {"2,1,1 is A and B and C: all hold", {{2, kA, 2}, {1, kB, 1}, {1, kC, 1}}, 2, 1, 1, 1},
      {"a last term with 2 ends its alternative", {{1, kC, 1}, {2, kA, 2}}, 2, 0, 1, 1},
      {"1,0,1: the first clause fails", {{1, kA, 2}, {0, kB, 1}, {1, kC, 1}}, 1, 1, 1, 0},
      {"1,0,1: both clauses hold", {{1, kA, 2}, {0, kB, 1}, {1, kC, 1}}, 2, 0, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Set({{kA, c.a}, {kB, c.b}, {kC, c.c}});
    EXPECT_EQ(c.holds, ItemTestConditionList(ctx(), List(c.terms)));
  }
}

TEST_F(AllowedValuesTest, CodedListsReadEachRunOfFeatureCodesAndSkipCodesInNone) {
  struct Case {
    const char* what;
    DWORD code;
    WORD item;  // the item the code names
  };
  const Case cases[] = {
      {"first run", 10014, 244},       {"last code of the first run", 10045, 275},
      {"second run", 10046, 276},      {"third run", 10078, 308},
      {"fourth run", 10290, 412},      {"fifth run", 10322, 479},
      {"last code of the fifth run", 10353, 510},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ConditionTerm* list = List({{1, c.code, 1}});
    Set({{c.item, 0}});
    EXPECT_EQ(0, ItemTestCodedConditionList(ctx(), list));
    Set({{c.item, 1}});
    EXPECT_EQ(1, ItemTestCodedConditionList(ctx(), list));
    EXPECT_EQ(0, ItemTestConditionList(ctx(), list)) << "the plain test reads the code as an item";
  }
  Set({{244, 0}});
  for (DWORD code : {DWORD(10013), DWORD(10110), DWORD(10289), DWORD(10354), DWORD(0)}) {
    SCOPED_TRACE(code);
    EXPECT_EQ(1, ItemTestCodedConditionList(ctx(), List({{1, code, 1}}))) << "a code in no run is left out";
    EXPECT_EQ(0, ItemTestCodedConditionList(ctx(), List({{1, code, 1}, {1, 10014, 1}})));
  }
}

TEST_F(AllowedValuesTest, FindingARowAsksForItsModes) {
  struct Case {
    DWORD item;
    DWORD mode;
    bool found;
  };
  const Case cases[] = {
      {kItem_zdmSortType, kPjlModeUpdate, true},       {kItem_zdmSortType, kPjlModeOption, true},
      {kItem_zdmSortType, kPjlModeValue, false},       {kItem_zdmPrinterMemory, kPjlModeUpdate, false},
      {kItem_zdmPrinterMemory, kPjlModeValue, true},   {kItem_zdmNUPType, kPjlModeUpdate | kPjlModeValue, true},
      {kStapleType, kPjlModeUpdate | kPjlModeOption | kPjlModeValue, false},
      {0, kPjlModeUpdate | kPjlModeOption | kPjlModeValue, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "item " << c.item << " mode " << c.mode);
    const PjlVariable* row = PjlFindSetting(ctx(), c.item, c.mode);
    EXPECT_EQ(c.found, row != nullptr);
    if (row) {
      EXPECT_EQ(c.item, row->setting);
    }
  }
}

TEST_F(AllowedValuesTest, CollateFollowsTheInstalledOptions) {
  struct Case {
    const char* what;
    Settings options;
    Values allowed;
    int hasAllowed;  // not counting the flagged OFF
    int sortChoice;
  };
  const Case cases[] = {
      {"no options: OFF alone", {}, {0}, 0, 0},
      {"hard disk: SORT", {{kItem_zdmOutputOptionTypeHDD, 1}}, {1, 0}, 1, 1},
      {"memory 96: SORT", {{kItem_zdmPrinterMemory, 96}}, {1, 0}, 1, 1},
      {"memory 64 is not enough", {{kItem_zdmPrinterMemory, 64}}, {0}, 0, 0},
      {"upper bin alone", {{kItem_zdmOutputOptionTypeUpperBin, 1}}, {0}, 0, 0},
      {"upper bin and hard disk: SHIFT still needs memory",
       {{kItem_zdmOutputOptionTypeUpperBin, 1}, {kItem_zdmOutputOptionTypeHDD, 1}}, {1, 0}, 1, 1},
      {"upper bin and memory 160: SORT and SHIFT",
       {{kItem_zdmOutputOptionTypeUpperBin, 1}, {kItem_zdmPrinterMemory, 160}}, {1, 4, 0}, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Set({{kItem_zdmOutputOptionTypeHDD, 0}, {kItem_zdmPrinterMemory, 0}, {kItem_zdmOutputOptionTypeUpperBin, 0}});
    Set(c.options);
    EXPECT_EQ(c.allowed, Allowed(kItem_zdmSortType));
    EXPECT_EQ(c.hasAllowed, ItemHasAllowedValue(ctx(), kItem_zdmSortType));
    EXPECT_EQ(c.sortChoice, ItemHasSortChoice(ctx()));
  }
}

TEST_F(AllowedValuesTest, AFlaggedValueIsListedButNotCountedAsOffered) {
  DWORD values[4] = {};
  DWORD count = 0;
  EXPECT_EQ(kAllowedListed, ItemListAllowedValues(ctx(), kItem_zdmSortType, 4, values, &count));
  EXPECT_EQ(1u, count);
  EXPECT_EQ(0u, values[0]);
  count = 99;
  EXPECT_EQ(kAllowedListed, ItemTrialAllowedValues(ctx(), kItem_zdmSortType, 4, values, &count, TRUE));
  EXPECT_EQ(0u, count);
  EXPECT_EQ(0, ItemHasAllowedValue(ctx(), kItem_zdmSortType));
}

TEST_F(AllowedValuesTest, TheTrayLockLeavesTheLockedValueAloneEvenWhenItsConditionsFail) {
  struct Case {
    const char* what;
    Settings settings;
    Values allowed;
  };
  const Case cases[] = {
      {"no lock, no feeder", {}, {7, 1, 4}},
      {"no lock, one feeder", {{kItem_zdmSourceOptionType1Step, 1}}, {7, 1, 3, 4}},
      {"no lock, two feeders", {{kItem_zdmSourceOptionType1Step, 1}, {kItem_zdm1StepOptionNum, 2}}, {7, 1, 3, 2, 4}},
      {"locked to tray 2 without its feeder", {{kItem_zdmLock000InfoBitTray, 1}, {kItem_wdmLock001Info, 3}}, {3}},
      {"locked to the multi-purpose tray", {{kItem_zdmLock000InfoBitTray, 1}, {kItem_wdmLock001Info, 4}}, {4}},
      {"a locked value outside the list locks nothing",
       {{kItem_zdmLock000InfoBitTray, 1}, {kItem_wdmLock001Info, 99}}, {7, 1, 4}},
      {"a value without its lock bit locks nothing", {{kItem_wdmLock001Info, 3}}, {7, 1, 4}},
      {"another item's lock bit locks nothing", {{kItem_zdmLock000InfoBitMedia, 1}, {kItem_wdmLock001Info, 3}}, {7, 1, 4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Set({{kItem_zdmSourceOptionType1Step, 0}, {kItem_zdm1StepOptionNum, 0}, {kItem_zdmLock000InfoBitTray, 0},
         {kItem_zdmLock000InfoBitMedia, 0}, {kItem_wdmLock001Info, 0}});
    Set(c.settings);
    EXPECT_EQ(c.allowed, Allowed(kItem_dmDefaultSource));
    EXPECT_EQ(1, ItemHasAllowedValue(ctx(), kItem_dmDefaultSource));
  }
}

TEST_F(AllowedValuesTest, TheNupLockRuleKeepsTheLockedKind) {
  const Values all = {1, 2, 3, 33, 37, 34, 38, 65, 69, 66, 70, 97, 101, 98, 102};
  Values withOff = all;
  withOff.push_back(0);
  struct Case {
    const char* what;
    Settings settings;
    Values allowed;
  };
  const Case cases[] = {
      {"no lock", {}, withOff},
      {"another lock bit alone", {{kItem_zdmLock000InfoBitDuplex, 1}}, withOff},
      {"kind locked to 4-up", {{kItem_zdmLock000InfoBitNupKind, 1}, {kItem_wdmLock003Info, 2}}, {33, 37, 34, 38}},
      {"kind locked to 16-up", {{kItem_zdmLock000InfoBitNupKind, 1}, {kItem_wdmLock003Info, 4}}, {97, 101, 98, 102}},
      {"kind locked to no kind", {{kItem_zdmLock000InfoBitNupKind, 1}, {kItem_wdmLock003Info, 0}}, {}},
      {"every kind unlocked", {{kItem_zdmLock000InfoBitNupKind, 1}, {kItem_zdmLock000InfoBitNupKindAll, 1}}, all},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Set({{kItem_zdmLock000InfoBitNupKind, 0}, {kItem_zdmLock000InfoBitNupKindAll, 0},
         {kItem_zdmLock000InfoBitDuplex, 0}, {kItem_wdmLock003Info, 0}});
    Set(c.settings);
    EXPECT_EQ(c.allowed, Allowed(kItem_zdmNUPType));
  }
}

TEST_F(AllowedValuesTest, NoBufferOrTooSmallACapacityCountsWithoutCopying) {
  DWORD values[4] = {0xEE, 0xEE, 0xEE, 0xEE};
  DWORD count = 0;
  EXPECT_EQ(kAllowedCounted, ItemListAllowedValues(ctx(), kItem_dmDefaultSource, 0, nullptr, &count));
  EXPECT_EQ(3u, count);
  count = 0;
  EXPECT_EQ(kAllowedCounted, ItemListAllowedValues(ctx(), kItem_dmDefaultSource, 2, values, &count));
  EXPECT_EQ(3u, count);
  EXPECT_EQ(0xEEu, values[0]) << "nothing copied";
  EXPECT_EQ(kAllowedListed, ItemListAllowedValues(ctx(), kItem_dmDefaultSource, 3, values, &count));
  EXPECT_EQ((Values{7, 1, 4}), Values(values, values + 3));
  EXPECT_EQ(0xEEu, values[3]);
  // The locked value alone follows the same rules.
  Set({{kItem_zdmLock000InfoBitTray, 1}, {kItem_wdmLock001Info, 1}});
  EXPECT_EQ(kAllowedCounted, ItemListAllowedValues(ctx(), kItem_dmDefaultSource, 0, values, &count));
  EXPECT_EQ(1u, count);
}

TEST_F(AllowedValuesTest, AnItemWithoutARowOrValueListHasNoAllowedValue) {
  // No row; a row of another mode; rows without a value list (one with a number record).
  for (DWORD item : {DWORD(kStapleType), DWORD(kItem_zdmPrinterMemory), DWORD(kItem_dmCopies),
                     DWORD(kItem_zdmScaleV), DWORD(0)}) {
    SCOPED_TRACE(item);
    DWORD values[4] = {};
    DWORD count = 99;
    EXPECT_EQ(kAllowedListed, ItemListAllowedValues(ctx(), item, 4, values, &count));
    EXPECT_EQ(0u, count);
    EXPECT_EQ(0, ItemHasAllowedValue(ctx(), item));
  }
}

TEST_F(AllowedValuesTest, NoMemoryForTheWorkListGivesMinusOneAndCountZero) {
  Set({{kItem_zdmOutputOptionTypeHDD, 1}});
  SimFailAllocations(0);
  DWORD values[4] = {};
  DWORD count = 99;
  EXPECT_EQ(kAllowedNoMemory, ItemListAllowedValues(ctx(), kItem_zdmSortType, 4, values, &count));
  EXPECT_EQ(0u, count);
  EXPECT_EQ(0, ItemHasAllowedValue(ctx(), kItem_zdmSortType));
  EXPECT_EQ(0, ItemHasSortChoice(ctx()));
  SimFailAllocations(-1);
  EXPECT_EQ(1, ItemHasSortChoice(ctx()));
}

TEST(LockedValueRowsTest, EightLocksInTableOrder) {
  ASSERT_EQ(8u, TblGetLockedValueRowCount());
  const LockedValueRow* rows = TblGetLockedValueRows();
  const DWORD expected[8][3] = {
      {13, 10419, 1202}, {54, 10420, 1203},    {91, 10421, 1204}, {0, 10422, 1205},
      {58, 10423, 1206}, {689, 10424, 1207}, {10434, 10425, 1208}, {15, 10426, 1209},
  };
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(expected[i][0], rows[i].item);
    EXPECT_EQ(expected[i][1], rows[i].lockBitItem);
    EXPECT_EQ(expected[i][2], rows[i].lockedValueItem);
    EXPECT_EQ(0u, rows[i].reserved);
  }
}

}  // namespace
}  // namespace zems_test
