// The constant lists and build switches as the code consults them.
#include <gtest/gtest.h>

#include "core/system/languages.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/tables/value_symbols.h"
#include "core/tables/build_switches.h"
#include "core/tables/static_tables.h"
#include "support/test_variant.h"

namespace {

TEST(StaticTables, PrintMacroResolutionsAreZeroEnded) {
  const PrintMacroResolution* r = TblGetPrintMacroResolutions();
  int n = 0;
  while (r[n].macro) ++n;
  EXPECT_EQ(n, 15);
  EXPECT_EQ(r[0].macro, 6);
  EXPECT_EQ(r[0].xDpi, 200);
  EXPECT_EQ(r[14].macro, 20);
}

TEST(StaticTables, FixedIdLists) {
  struct Case {
    int list;
    LONG id;
    int found;
  } cases[] = {{2, 10004, 1}, {2, 10009, 1}, {2, 10010, 0}, {5, 10011, 1}, {5, 10354, 1},
               {5, 10012, 0}, {6, 10014, 1}, {6, 10045, 1}, {7, 10173, 1}, {8, 10174, 1},
               {8, 10110, 0}, {13, 10004, 0}, {-1, 10004, 0}, {100, 10004, 0}};
  for (const Case& c : cases) EXPECT_EQ(TblIdListContains(c.list, c.id), c.found) << c.list << ":" << c.id;
}

TEST(StaticTables, FitPapersForSmallOutputSizesOnly) {
  EXPECT_EQ(TblIsFitPaper(9, 8), 1);
  EXPECT_EQ(TblIsFitPaper(1, 3), 1);
  EXPECT_EQ(TblIsFitPaper(9, 9), 0);
  EXPECT_EQ(TblIsFitPaper(9, 0), 0);
  // This build has no codes for the large sizes.
  EXPECT_EQ(TblIsFitPaper(8, 12), 0);
}

TEST(StaticTables, NupPostKindsAndSubDialogs) {
  ASSERT_EQ(TblNupPostKindCount(), 5u);
  EXPECT_EQ(TblGetNupPostKinds()[3].pagesPerSheet, 9u);
  EXPECT_EQ(TblIsChangingSubDialog(1020), 0);
  EXPECT_EQ(TblIsChangingSubDialog(1025), 0);
  EXPECT_EQ(TblIsChangingSubDialog(1017), 1);
}

TEST(StaticTables, LanguageTableIsTheOneTheLookupsWalk) {
  const LanguageRow* rows = TblGetLanguages();
  ASSERT_EQ(rows, kLanguageTable);
  int n = 0;
  while (rows[n].index != kNoLanguageIndex) ++n;
  EXPECT_GT(n, 0);
  EXPECT_EQ(ResLangIndexFromCode(rows[0].code), rows[0].index);
}

TEST(StaticTables, ChecklistEntries) {
  struct Expected {
    WORD key;
    DWORD item1, value1, item2, value2;
    bool clearsOneStepCount;
    DWORD trayRefresh;
  } expected[] = {
      {143, 10023, 1, 10110, 1, true, 1},  {144, 10023, 1, 10110, 2, true, 1},
      {146, 10014, 1, 0, 0, false, 0},     {145, 10070, 1, 0, 0, false, 0},
      {164, 10013, 0, 10012, 32, false, 0}, {165, 10013, 1, 10012, 32, false, 0},
      {166, 10013, 0, 10012, 96, false, 0}, {167, 10013, 1, 10012, 96, false, 0},
      {352, 10013, 196, 10012, 606, false, 0}, {358, 10013, 196, 10012, 610, false, 0},
  };
  const ChecklistRow* rows = TblGetChecklistEntries(0);
  ASSERT_EQ(rows, TblGetChecklistEntries(148)) << "one table whatever the model code";
  int n = 0;
  for (const Expected& e : expected) {
    const ChecklistRow& r = rows[n++];
    EXPECT_EQ(r.key, e.key);
    EXPECT_EQ(r.item1, e.item1) << e.key;
    EXPECT_EQ(r.value1, e.value1) << e.key;
    EXPECT_EQ(r.item2, e.item2) << e.key;
    EXPECT_EQ(r.value2, e.value2) << e.key;
    EXPECT_EQ(r.trayListRefresh, e.trayRefresh) << e.key;
    EXPECT_EQ(r.redraw, 1u) << e.key;
    EXPECT_EQ(r.greyCondition, nullptr) << e.key;
    EXPECT_EQ(r.linkedEntries, nullptr) << e.key;
    EXPECT_EQ(r.onList, nullptr) << e.key;
    ASSERT_EQ(r.offList != nullptr, e.clearsOneStepCount) << e.key;
    if (r.offList) {
      EXPECT_EQ(r.offList[0].item, 10110u);
      EXPECT_EQ(r.offList[0].value, 0u);
      EXPECT_EQ(r.offList[1].item, 0u);
    }
    for (DWORD item : {r.item1, r.item2})
      if (item) {
        EXPECT_NE(TblItemTemplateRow(WORD(item)), nullptr) << "item " << item;
      }
  }
  EXPECT_EQ(rows[n].key, 0) << "ten rows and the end row";
}

// Every hit area selects a value of its picture's item, names real items in its conditions
// and shifts, and has a proper rectangle; no two areas of one picture overlap.
TEST(StaticTables, HitAreasSelectValuesOfTheirItem) {
  struct Table {
    const char* what;
    const HitAreaRow* rows;
    WORD item;
    int count;
  } tables[] = {{"source trays", TblGetSourceTrayHitAreas(0), kItem_dmDefaultSource, 4},
                {"output bins", TblGetOutputBinHitAreas(0), kItem_zdmOutputTrayID, 6}};
  for (const Table& t : tables) {
    int n = 0;
    for (; t.rows[n].value; ++n) {
      const HitAreaRow& r = t.rows[n];
      EXPECT_NE(TblFindValueSymbol(t.item, r.value), nullptr) << t.what << " value " << r.value;
      ASSERT_NE(r.area, nullptr) << t.what;
      EXPECT_LT(r.area->left, r.area->right) << t.what << " value " << r.value;
      EXPECT_LT(r.area->top, r.area->bottom) << t.what << " value " << r.value;
      for (WORD item : {r.requiredItem, r.conditionItem})
        if (item) {
          EXPECT_NE(TblItemTemplateRow(item), nullptr) << t.what << " item " << item;
        }
      for (const HitAreaShift* s = r.shifts; s && s->item; ++s)
        EXPECT_NE(TblItemTemplateRow(s->item), nullptr) << t.what << " shift item " << s->item;
      for (int m = 0; m < n; ++m) {
        const RECT& a = *t.rows[m].area;
        const RECT& b = *r.area;
        EXPECT_NE(t.rows[m].value, r.value) << t.what;
        EXPECT_FALSE(a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom)
            << t.what << ": " << t.rows[m].value << " and " << r.value << " overlap";
      }
    }
    EXPECT_EQ(n, t.count) << t.what;
  }
}

// The sort choice over the installed options is tested with the allowed values
// (tests/items_access/allowed_values_test.cpp, CollateFollowsTheInstalledOptions); the merge the
// feature hook runs, end to end, in tests/bind/remote_config_test.cpp. Here: the switch alone.
TEST(BuildSwitches, FeatureHookRunsOnlyWithFeatureBit7) {
  zems_test::ResetTestVariant();
  const DWORD bits = zems_test::TestVariant().featureBits;
  ASSERT_EQ(BuildHasFeatureBit(7), 1);
  // With the bit the hook runs the transfer, which itself declines a missing context.
  EXPECT_EQ(BuildRunFeatureHook(nullptr, nullptr, nullptr), 1);
  zems_test::TestVariant().featureBits = bits & ~(1u << 7);
  EXPECT_EQ(BuildRunFeatureHook(nullptr, nullptr, nullptr), 0);
  zems_test::ResetTestVariant();
}

TEST(BuildSwitches, AnswerThisBuildsValues) {
  zems_test::ResetTestVariant();
  for (int n = -1; n <= 8; ++n) EXPECT_EQ(BuildHasFeature(nullptr, n), n >= 0 && n < 6) << "feature " << n;
  EXPECT_EQ(BuildIsCommonDriver(), 1);
  for (int n = -1; n <= 32; ++n) EXPECT_EQ(BuildHasFeatureBit(n), n == 7) << "bit " << n;
  for (int i = 0; i <= 9; ++i) EXPECT_EQ(BuildHasFeatureFlag(i), i == 1) << "flag " << i;
}

}  // namespace
