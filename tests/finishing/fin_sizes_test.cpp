// Size classes of the machines' trays, the landscape layout flag and the custom-width limits.
#include <gtest/gtest.h>

#include "core/devmode/fin_side.h"
#include "core/devmode/fin_sizes.h"
#include "core/items/item_access.h"
#include "support/item_context.h"

namespace zems_test {
namespace {

class FinSizesTest : public ItemContextTest {
 protected:
  void Set(WORD id, LONG value) { ASSERT_TRUE(ItemSetRawById(ctx(), id, value)) << id; }
  void Out(SHORT paper) { Set(46, paper); }
};

// Machine, output paper -> class answers 842-844 (as one class number) and the class itself.
struct ClassCase {
  LONG machine;
  SHORT paper;
  BYTE sizeClass;
};
const ClassCase kClassCases[] = {
    {148, 8, 0}, {148, 9, 0},   {148, 256, 0},                 // no table
    {144, 8, 1}, {144, 5, 1},   {144, 9, 2},  {144, 1, 2},
    {144, 13, 3}, {144, 448, 3}, {144, 512, 0}, {144, 449, 0},
    {162, 512, 1}, {162, 9, 2}, {162, 393, 3},                  // 512 is class 1 on 162
    {158, 3, 1}, {173, 11, 3},
};

TEST_F(FinSizesTest, SizeClassesByMachine) {
  for (const ClassCase& c : kClassCases) {
    Set(35, c.machine);
    Out(c.paper);
    EXPECT_EQ(FinSizeClassOf(ctx(), c.paper), c.sizeClass) << c.machine << "/" << c.paper;
    for (BYTE k = 1; k <= 3; ++k) {
      EXPECT_EQ(FinSizeClassIs(ctx(), k), k == c.sizeClass ? 1 : 0) << c.machine << "/" << c.paper;
    }
  }
}

// Machine 144, trays 1-4 hold A3, A4, B5, Letter in orientation 0 unless the case says so.
struct FeedCase {
  SHORT paper;
  LONG orientation;  // dmOrientation: 1 portrait, 2 landscape
  SHORT source;
  SHORT tray1Paper;  // what tray 1 holds (orientation 0)
  int feedable1, feedable0;
};
const FeedCase kFeedCases[] = {
    {8, 2, 1, 8, 1, 0},   // class 1, landscape layout
    {8, 1, 1, 8, 0, 1},
    {8, 1, 1, 9, 0, 0},   // no tray holds A3
    {9, 2, 1, 8, 1, 1},   // class 2: the other layout needs a class-1 paper
    {9, 2, 1, 13, 1, 0},  //   and there is none
    {13, 1, 1, 8, 1, 1},  // class 3: any class-1 or class-2 paper
    {13, 1, 1, 13, 1, 1},
    {8, 2, 4, 8, 0, 0},   // the bypass source feeds the document
};

TEST_F(FinSizesTest, FeedableByClassAndLayout) {
  Set(35, 144);
  for (const FeedCase& c : kFeedCases) {
    Set(10175, c.tray1Paper);
    Set(10176, 9);
    Set(10177, 13);
    Set(10178, 1);
    Set(7, c.orientation);
    Set(13, c.source);
    Out(c.paper);
    EXPECT_EQ(FinSizeClassFeedable(ctx(), 1), c.feedable1) << c.paper << "/" << c.orientation;
    EXPECT_EQ(FinSizeClassFeedable(ctx(), 0), c.feedable0) << c.paper << "/" << c.orientation;
  }
}

TEST_F(FinSizesTest, BypassInsertsStopTheSizeClasses) {
  Set(35, 144);
  EXPECT_EQ(FinSizeClassApplies(ctx()), 1);
  Set(125, 4);
  EXPECT_EQ(FinSizeClassApplies(ctx()), 1) << "the cover function is off";
  Set(65, 1);
  EXPECT_EQ(FinSizeClassApplies(ctx()), 0);
  Set(65, 0);
  Set(1007, 4);
  EXPECT_EQ(FinSizeClassApplies(ctx()), 1);
  Set(69, 1);
  EXPECT_EQ(FinSizeClassApplies(ctx()), 0);
}

// dmOrientation, N-up on, N-up type, duplex on, duplex type -> layout flag.
struct LayoutCase {
  LONG orientation, nupOn, nup, duplexOn, duplex;
  int rotated;
};
const LayoutCase kLayoutCases[] = {
    {1, 0, 0, 0, 0, 0},  {2, 0, 0, 0, 0, 1},
    {1, 1, 1, 0, 0, 1},  {1, 1, 33, 0, 0, 0},  {1, 0, 1, 0, 0, 0},
    {2, 0, 0, 1, 17, 0}, {2, 0, 0, 1, 1, 1},   {1, 1, 18, 1, 17, 1},
};

TEST_F(FinSizesTest, LandscapeLayoutFlag) {
  for (const LayoutCase& c : kLayoutCases) {
    Set(7, c.orientation);
    Set(56, c.nupOn);
    Set(92, c.nup);
    Set(58, c.duplexOn);
    Set(94, c.duplex);
    EXPECT_EQ(FinIsFeedRotated(ctx()), c.rotated)
        << c.orientation << " " << c.nupOn << "/" << c.nup << " " << c.duplexOn << "/" << c.duplex;
  }
}

// Width of the custom paper 256, the option on, punch code -> 743, 744, 745, 746.
struct WidthCase {
  LONG width;
  WORD option;
  LONG punch;
  int above1, above0, punch1, punch0;
};
const WidthCase kWidthCases[] = {
    {9000, 10091, 0x21, 1, 0, 1, 0},   // FIN2EU: group 1 is tested first
    {9000, 10091, 1, 1, 0, 1, 1},
    {9000, 10091, 0x11, 1, 0, 1, 0},
    {8000, 0, 0, 0, 1, 0, 1},
    {11000, 10095, 0x21, 1, 0, 1, 0},  // group 2 alone
    {11000, 10094, 0x11, 1, 1, 1, 1},
    {40000, 10091, 0x21, 1, 1, 1, 1},  // a wide paper, not a negative width
    {32768, 10094, 0x11, 1, 1, 1, 1},  // the first width a 16-bit read would make negative
};

TEST_F(FinSizesTest, CustomWidthLimits) {
  for (const WidthCase& c : kWidthCases) {
    for (WORD option : {10091, 10094, 10095}) Set(option, option == c.option ? 1 : 0);
    Set(340, c.width);
    Set(120, c.punch);
    EXPECT_EQ(FinCustomWidthAbove(ctx(), 1, 256), c.above1) << c.width << "/" << c.option;
    EXPECT_EQ(FinCustomWidthAbove(ctx(), 0, 256), c.above0) << c.width << "/" << c.option;
    EXPECT_EQ(FinCustomWidthForPunch(ctx(), 1, 256), c.punch1) << c.width << "/" << c.punch;
    EXPECT_EQ(FinCustomWidthForPunch(ctx(), 0, 256), c.punch0) << c.width << "/" << c.punch;
  }
  Set(1118 + 4 * 9, 9000);
  EXPECT_EQ(FinCustomWidthAbove(ctx(), 0, 393), 0) << "the tenth saved size";
  Set(1118 + 4 * 9, 40000);
  EXPECT_EQ(FinCustomWidthAbove(ctx(), 0, 393), 1) << "a wide saved size";
  EXPECT_EQ(FinCustomWidthForPunch(ctx(), 1, 393), 1) << "a wide saved size";
  for (SHORT paper : {9, 449}) {
    EXPECT_EQ(FinCustomWidthAbove(ctx(), 0, paper), 1);
    EXPECT_EQ(FinCustomWidthForPunch(ctx(), 0, paper), 1);
  }
}

}  // namespace
}  // namespace zems_test
