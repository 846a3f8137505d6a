// The constant lists and build switches as the code consults them.
#include <gtest/gtest.h>

#include "core/system/languages.h"
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

TEST(BuildSwitches, AnswerThisBuildsValues) {
  zems_test::ResetTestVariant();
  for (int n = -1; n <= 8; ++n) EXPECT_EQ(BuildHasFeature(nullptr, n), n >= 0 && n < 6) << "feature " << n;
  EXPECT_EQ(BuildIsCommonDriver(), 1);
  for (int n = -1; n <= 32; ++n) EXPECT_EQ(BuildHasFeatureBit(n), n == 7) << "bit " << n;
  for (int i = 0; i <= 9; ++i) EXPECT_EQ(BuildHasFeatureFlag(i), i == 1) << "flag " << i;
}

}  // namespace
