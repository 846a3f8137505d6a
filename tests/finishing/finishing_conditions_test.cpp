// The condition items as the judge evaluator asks for them.
#include <gtest/gtest.h>

#include "core/devmode/finishing_conditions.h"
#include "core/items/item_access.h"
#include "support/item_context.h"

namespace zems_test {
namespace {

class FinConditionsTest : public ItemContextTest {
 protected:
  void Set(WORD id, LONG value) { ASSERT_TRUE(ItemSetRawById(ctx(), id, value)) << id; }
  LONG Cond(WORD id) { return FinComputeConditionItem(ctx(), id); }
  // Tray 1 selected, holding the output paper in the given feed orientation; portrait page.
  void Feed(SHORT paper, int orientation) {
    Set(13, 1);
    Set(7, 1);
    Set(46, paper);
    Set(10175, paper);
    Set(10143, orientation);
  }
};

TEST_F(FinConditionsTest, IdsWithoutARuleAnswerZero) {
  Feed(9, 0);
  Set(10058, 1);
  Set(10060, 1);
  for (WORD id : {0, 700, 722, 737, 738, 750, 834, 847, 863, 900, 914, 915, 65535}) {
    EXPECT_EQ(Cond(id), 0) << id;
  }
  EXPECT_EQ(Cond(723), 1) << "the same settings give a rule its answer";
}

TEST_F(FinConditionsTest, NoFinisherInstalled) {
  Feed(9, 0);
  for (WORD id : {723, 724, 726, 727, 730, 739, 742, 755, 759, 771, 775, 792, 795, 803, 811, 815}) {
    EXPECT_EQ(Cond(id), 0) << id;
  }
  for (WORD id : {725, 728, 732, 741, 757, 761, 773, 777, 797, 805, 813, 816, 791}) {
    EXPECT_EQ(Cond(id), 1) << id << " answers from the paper list alone";
  }
  EXPECT_EQ(Cond(729), 0) << "A4 has a narrow edge for kind A";
  EXPECT_EQ(Cond(781), 0);
}

// Output paper, tray orientation, option on -> 723 724 728 (kind A feeds and accepts+).
struct KindACase {
  SHORT paper;
  int orientation;
  WORD option;
  int feeds0, feeds1, acceptsPlus;
};
const KindACase kKindACases[] = {
    {8, 0, 10058, 1, 0, 1},
    {8, 1, 10058, 0, 0, 1},   // A3 is one-way: never fed in orientation 1
    {9, 1, 10058, 0, 1, 1},
    {6, 0, 10058, 1, 0, 1},   // Statement with a Fin2000-family option
    {6, 0, 10050, 0, 0, 0},   // only with the Fin3000 family
    {11, 0, 10050, 1, 0, 1},
    {9, 0, 0, 0, 0, 1},
};

TEST_F(FinConditionsTest, KindAFeedsAndAcceptance) {
  for (const KindACase& c : kKindACases) {
    Feed(c.paper, c.orientation);
    for (WORD option : {10058, 10050}) Set(option, option == c.option ? 1 : 0);
    EXPECT_EQ(Cond(723), c.feeds0) << c.paper << "/" << c.orientation << "/" << c.option;
    EXPECT_EQ(Cond(724), c.feeds1) << c.paper << "/" << c.orientation << "/" << c.option;
    EXPECT_EQ(Cond(728), c.acceptsPlus) << c.paper << "/" << c.orientation << "/" << c.option;
  }
}

TEST_F(FinConditionsTest, KindCRefusesSmallPapersOnOrientationZero) {
  Set(10060, 1);
  for (SHORT paper : {13, 93, 7}) {
    Feed(paper, 0);
    EXPECT_EQ(Cond(741), 1) << paper << " is in kind C's list";
    EXPECT_EQ(Cond(739), 0) << paper;
  }
  Feed(9, 0);
  EXPECT_EQ(Cond(739), 1);
}

TEST_F(FinConditionsTest, PairsThatAlwaysAgree) {
  const LONG widths[] = {0, 9000, 12000, 40000};
  const WORD options[] = {0, 10091, 10095};
  for (SHORT paper : {9, 256, 384}) {
    for (LONG width : widths) {
      for (WORD option : options) {
        Feed(paper, 0);
        Set(340, width);
        Set(1118, width);
        for (WORD o : {10091, 10095}) Set(o, o == option ? 1 : 0);
        EXPECT_EQ(Cond(743), Cond(745)) << paper << "/" << width << "/" << option;
      }
    }
  }
  for (SHORT tray4 : {9, 8}) {
    for (LONG source : {256, 7, 1}) {
      Feed(9, 0);
      Set(10178, tray4);
      Set(13, source);
      EXPECT_EQ(Cond(824), Cond(829)) << tray4 << "/" << source;
    }
  }
  Set(10178, 9);
  EXPECT_EQ(Cond(824), 1);
}

TEST_F(FinConditionsTest, TraysHoldingTheOutputPaper) {
  Feed(9, 0);
  Set(10239, 1);  // tray 1 locked: out of the automatic scan only
  EXPECT_EQ(Cond(821), 1);
  EXPECT_EQ(Cond(820), 0);
  Set(10176, 9);
  EXPECT_EQ(Cond(820), 1);
  EXPECT_EQ(Cond(822), 1);
  EXPECT_EQ(Cond(823), 0);
}

}  // namespace
}  // namespace zems_test
