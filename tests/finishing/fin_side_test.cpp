// The side the chosen punch or staple position needs on the first installed finisher.
#include <gtest/gtest.h>

#include "core/devmode/fin_side.h"
#include "core/devmode/finishing_conditions.h"
#include "core/items/item_access.h"
#include "support/item_context.h"

namespace zems_test {
namespace {

class FinSideTest : public ItemContextTest {
 protected:
  void Set(WORD id, LONG value) { ASSERT_TRUE(ItemSetRawById(ctx(), id, value)) << id; }
};

// Options on, output paper, dmOrientation, punch on/code, staple on/code -> side.
struct SideCase {
  WORD options[2];
  SHORT paper;
  LONG orientation;
  LONG punchOn, punch, stapleOn, staple;
  int side;
};
const SideCase kSideCases[] = {
    {{0, 0}, 9, 1, 1, 0x01, 1, 0x41, 0},             // no finisher
    {{10058, 0}, 9, 1, 1, 0x01, 0, 0, 1},            // kind A, first-side punch, portrait
    {{10058, 0}, 9, 2, 1, 0x01, 0, 0, 2},            // the same in a landscape layout
    {{10058, 0}, 9, 1, 1, 0x12, 0, 0, 2},
    {{10058, 10077}, 9, 1, 1, 0x01, 0, 0, 3},        // no-punch: on to the staple, which is off
    {{10058, 0}, 9, 1, 0, 0x01, 1, 0x44, 0},
    {{10058, 0}, 9, 1, 0, 0, 1, 0x31, 3},
    {{10058, 0}, 9, 1, 0, 0, 1, 0x99, 0},
    {{10058, 0}, 4, 1, 1, 0x01, 1, 0x41, 0},         // paper not accepted
    {{10058, 10060}, 9, 1, 1, 0x01, 0, 0, 1},        // kind A comes before kind C
    {{10060, 0}, 9, 1, 1, 0x01, 1, 0x32, 2},         // kind C has no punch step
    {{10049, 10059}, 9, 2, 0, 0, 1, 0x21, 2},        // kind D before kind H
    {{10059, 0}, 9, 1, 0, 0, 1, 0x22, 3},
    {{10090, 0}, 9, 1, 1, 0x31, 1, 0x44, 1},         // FIN2NA: kind K first, no 0x3_ punch side
    {{10090, 10097}, 9, 1, 1, 0x01, 0, 0, 3},        // kind K takes the FIN3 no-punch gate
    {{10090, 10093}, 9, 1, 1, 0x01, 0, 0, 1},        //   not its own FIN2 one
    {{10094, 0}, 9, 1, 1, 0x42, 0, 0, 1},            // kind I's own punch answer
};

TEST_F(FinSideTest, ResolverRows) {
  for (const SideCase& c : kSideCases) {
    SCOPED_TRACE(testing::Message() << "options " << c.options[0] << "," << c.options[1] << " paper "
                                    << c.paper << " punch " << c.punch << " staple " << c.staple);
    for (WORD option : c.options) {
      if (option != 0) Set(option, 1);
    }
    Set(46, c.paper);
    Set(7, c.orientation);
    Set(62, c.punchOn);
    Set(120, c.punch);
    Set(63, c.stapleOn);
    Set(121, c.staple);
    EXPECT_EQ(FinResolveSide(ctx()), c.side);
    EXPECT_EQ(FinComputeConditionItem(ctx(), 827), c.side == 1 ? 1 : 0);
    EXPECT_EQ(FinComputeConditionItem(ctx(), 828), c.side == 2 ? 1 : 0);
    for (WORD option : c.options) {
      if (option != 0) Set(option, 0);
    }
  }
}

}  // namespace
}  // namespace zems_test
