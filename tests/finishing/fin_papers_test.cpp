// The finishers' paper lists and the matching of paper sources to their trays.
#include <gtest/gtest.h>

#include "core/devmode/fin_papers.h"
#include "core/devmode/fin_readers.h"
#include "core/items/item_access.h"
#include "support/item_context.h"

namespace zems_test {
namespace {

class FinPapersTest : public ItemContextTest {
 protected:
  void Set(WORD id, LONG value) { ASSERT_TRUE(ItemSetRawById(ctx(), id, value)) << id; }
  // tray 1: A4 (9) portrait feed, locked; tray 2: A3 (8) orientation 0; tray 3: A4 orientation 1;
  // the large-capacity items: Letter (1) orientation 0; manual feed: Legal (5) orientation 1;
  // multi-purpose tray: Legal orientation 0; extension tray: B4 (12).
  void LoadTrays() {
    Set(10175, 9);  Set(10143, 0); Set(10239, 1);
    Set(10176, 8);  Set(10144, 0);
    Set(10177, 9);  Set(10145, 1);
    Set(10200, 1);  Set(10168, 0);
    Set(10202, 5);  Set(10170, 1);
    Set(10203, 5);  Set(10171, 0);
    Set(10204, 12); Set(10172, 0);
    Set(10021, 1);  Set(10022, 1);
  }
};

struct SourceCase {
  SHORT source, paper;
  WORD flags;
  int feeds0, feeds1, holds;
};
const SourceCase kSourceCases[] = {
    {7, 9, 2, 0, 1, 1},      // tray 1 is locked out of the automatic scan, tray 3 feeds
    {1, 9, 1, 1, 0, 1},      // a tray chosen by its own code ignores its lock
    {3, 8, 1, 1, 0, 1},
    {3, 9, 0, 0, 0, 0},
    {261, 1, 1, 1, 0, 1},    // tray 5 reads the large-capacity tray's items
    {11, 1, 1, 1, 0, 1},
    {7, 1, 1, 1, 0, 1},      // through tray 5, without the large-capacity option
    {4, 5, 2, 0, 1, 1},      // both bypass options on: the manual feed only
    {7, 5, 3, 1, 1, 1},      // the scan takes both bypass trays
    {286, 12, 0, 0, 0, 0},   // the extension tray is never a feeding source
    {7, 12, 0, 0, 0, 0},
    {5, 9, 0, 0, 0, 0},      // a code without trays
};

TEST_F(FinPapersTest, SourcesFeedAndHoldTheirTraysPapers) {
  LoadTrays();
  for (const SourceCase& c : kSourceCases) {
    Set(13, c.source);
    EXPECT_EQ(FinGetTrayFeedFlags(ctx(), c.paper), c.flags) << c.source << "/" << c.paper;
    EXPECT_EQ(FinBinFeeds(ctx(), c.source, c.paper, 0), c.feeds0) << c.source << "/" << c.paper;
    EXPECT_EQ(FinBinFeeds(ctx(), c.source, c.paper, 1), c.feeds1) << c.source << "/" << c.paper;
    EXPECT_EQ(FinSourceFeeds(ctx(), c.paper, 1), c.feeds1) << c.source << "/" << c.paper;
    EXPECT_EQ(FinBinHolds(ctx(), c.source, c.paper), c.holds) << c.source << "/" << c.paper;
  }
}

TEST_F(FinPapersTest, LargeCapacityOptionAddsTheSameFlags) {
  LoadTrays();
  Set(13, 7);
  WORD without = FinGetTrayFeedFlags(ctx(), 1);
  Set(10018, 1);
  EXPECT_EQ(FinGetTrayFeedFlags(ctx(), 1), without);
  Set(10264, 1);  // locks tray 5 and the large-capacity entry alike
  EXPECT_EQ(FinGetTrayFeedFlags(ctx(), 1), 0);
}

TEST_F(FinPapersTest, BypassCodeFollowsItsOptions) {
  LoadTrays();
  Set(10021, 0);
  EXPECT_EQ(FinBinFeeds(ctx(), 4, 5, 0), 1) << "the multi-purpose tray";
  Set(10022, 0);
  EXPECT_EQ(FinBinHolds(ctx(), 4, 5), 0);
  SHORT paper = -7;
  LONG orientation = -7;
  EXPECT_EQ(FinGetTrayItems(ctx(), 4, &paper, &orientation), 0);
  EXPECT_EQ(paper, -7) << "nothing stored without a tray";
  EXPECT_EQ(FinGetTrayItems(ctx(), 9, &paper, &orientation), 9);
  EXPECT_EQ(FinGetTrayItems(ctx(), 286, &paper, &orientation), 0);
  EXPECT_EQ(paper, 12);
}

TEST_F(FinPapersTest, InsertTrayMatchesTheMainSource) {
  LoadTrays();
  Set(13, 7);       // automatic: taken as tray 1 (A4, orientation 0)
  Set(125, 3);      // cover from tray 2 (A3)
  EXPECT_EQ(FinInsertTrayMatches(ctx(), 125), 0);
  Set(10176, 9);
  EXPECT_EQ(FinInsertTrayMatches(ctx(), 125), 1);
  Set(10144, 1);
  EXPECT_EQ(FinInsertTrayMatches(ctx(), 125), 0) << "same paper, other orientation";
  Set(125, 7);      // a code without tray items
  EXPECT_EQ(FinInsertTrayMatches(ctx(), 125), 0);
  Set(127, 1);      // the back cover from tray 1 itself
  EXPECT_EQ(FinInsertTrayMatches(ctx(), 127), 1);
}

struct ListCase {
  int list;
  SHORT paper;
  int withExtras;
  int expected;
};
const ListCase kListCases[] = {
    {kFinListAAccept, 0, 1, 0},   {kFinListOneWay, 0, 0, 0},
    {kFinListBAccept, 5, 0, 1},   {kFinListAAccept, 8, 0, 1},
    {kFinListAAccept, 11, 0, 0},  {kFinListAAccept, 11, 1, 1},
    {kFinListAAccept, 6, 1, 0},   // no Fin2000-family option on
    {kFinListBAccept, 11, 1, 1},  {kFinListBAccept, 6, 1, 1},  // even without kind B installed
    {kFinListGAccept, 11, 1, 0},  {kFinListGAccept, 6, 1, 0},
    {kFinListEAccept, 6, 1, 0},   {kFinListDAccept, 11, 1, 0},
    {kFinListHAccept, 13, 0, 0},  {kFinListFAccept, 512, 0, 1},
    {0, 9, 1, 0},                 {kFinListCount + 1, 9, 1, 0},
};

TEST_F(FinPapersTest, ListsAndExtras) {
  for (const ListCase& c : kListCases) {
    EXPECT_EQ(FinPaperInList(ctx(), c.list, c.paper, c.withExtras), c.expected)
        << "list " << c.list << " paper " << c.paper << " extras " << c.withExtras;
  }
  EXPECT_EQ(FinPaperOneWay(ctx(), 8), 1);
  EXPECT_EQ(FinPaperOneWay(ctx(), 9), 0);
  EXPECT_EQ(FinEdgeWideEnough(ctx(), kFinKindA, 9), 0);
  EXPECT_EQ(FinEdgeWideEnough(ctx(), kFinKindA, 8), 1);
  EXPECT_EQ(FinEdgeWideEnough(ctx(), kFinKindG, 11), 1);
}

TEST_F(FinPapersTest, ExtrasThatDependOnInstalledOptions) {
  Set(10074, 1);  // Fin2000NA
  EXPECT_EQ(FinPaperInList(ctx(), kFinListAAccept, 6, 1), 1);
  Set(10074, 0);
  Set(10050, 1);  // Fin3000 alone
  EXPECT_EQ(FinPaperInList(ctx(), kFinListAAccept, 6, 1), 0);
  Set(10099, 1);  // FIN4EU installs kind G
  EXPECT_EQ(FinPaperInList(ctx(), kFinListGAccept, 6, 1), 1);
  Set(10091, 1);  // FIN2EU installs kinds E and K
  EXPECT_EQ(FinPaperInList(ctx(), kFinListEAccept, 6, 1), 1);
  EXPECT_EQ(FinPaperInList(ctx(), kFinListKAccept, 6, 1), 1);
  EXPECT_EQ(FinPaperInList(ctx(), kFinListIAccept, 6, 1), 0);
}

}  // namespace
}  // namespace zems_test
