// Punch and staple positions per finisher kind.
#include <gtest/gtest.h>

#include "core/devmode/fin_positions.h"
#include "core/devmode/fin_readers.h"
#include "core/items/item_access.h"
#include "support/item_context.h"

namespace zems_test {
namespace {

constexpr LONG kPortrait = 1;
constexpr LONG kLandscape = 2;
constexpr int kOtherPaper = -1;  // the selected tray holds some other paper

// Options on, output paper, tray 1's feed orientation for it, dmOrientation, code -> answer.
struct PositionCase {
  int kind;
  WORD options[2];
  SHORT paper;
  int trayOrientation;
  LONG orientation;
  WORD code;
  int expected;
};

class FinPositionsTest : public ItemContextTest {
 protected:
  void Set(WORD id, LONG value) { ASSERT_TRUE(ItemSetRawById(ctx(), id, value)) << id; }
  void Load(const PositionCase& c) {
    Set(13, 1);  // tray 1
    Set(46, c.paper);
    Set(7, c.orientation);
    Set(10175, c.trayOrientation == kOtherPaper ? 2 : c.paper);
    Set(10143, c.trayOrientation == 1 ? 1 : 0);
    for (WORD option : c.options) {
      if (option != 0) Set(option, 1);
    }
  }
};

const PositionCase kPunchCases[] = {
    {kFinKindA, {10074, 0}, 9, 0, kPortrait, 0x11, 0},    // A4 is a narrow edge for kind A
    {kFinKindA, {10074, 0}, 8, 0, kPortrait, 0x11, 1},
    {kFinKindA, {10074, 0}, 9, 1, kLandscape, 0x11, 1},   // orientation 1 ignores the edge
    {kFinKindA, {10074, 0}, 9, 0, kPortrait, 0x21, 0},    // not allowed by Fin2000NA
    {kFinKindA, {10076, 0}, 9, 0, kPortrait, 0x01, 0},    // Fin2000NE: four-hole wide only
    {kFinKindA, {10076, 0}, 9, 0, kPortrait, 0x31, 1},
    {kFinKindA, {10076, 0}, 9, 0, kLandscape, 0x31, 0},
    {kFinKindA, {10076, 0}, 9, 0, kLandscape, 0x32, 1},
    {kFinKindA, {10058, 0}, 9, kOtherPaper, kPortrait, 0x01, 0},
    {kFinKindA, {10058, 10077}, 9, 0, kPortrait, 0x01, 0},  // no-punch option
    {kFinKindA, {10058, 0}, 11, 0, kPortrait, 0x01, 1},     // A5 is an extra
    {kFinKindK, {10093, 0}, 8, 0, kPortrait, 0x21, 1},      // no gate: the four-hole codes
    {kFinKindK, {10093, 0}, 8, 0, kPortrait, 0x01, 0},
    {kFinKindE, {10093, 0}, 8, 0, kPortrait, 0x21, 0},      // the same option gates kind E
    {kFinKindJ, {10082, 10089}, 9, 0, kPortrait, 0x01, 0},
    {kFinKindJ, {10082, 0}, 9, 0, kPortrait, 0x01, 1},
    {kFinKindG, {10103, 0}, 8, 0, kPortrait, 0x21, 1},
    {kFinKindG, {10103, 0}, 9, 1, kLandscape, 0x21, 1},
    {kFinKindG, {10103, 0}, 9, 0, kPortrait, 0x21, 0},
    {kFinKindG, {10098, 0}, 12, 0, kPortrait, 0x01, 0},     // NA2 refuses B4 on orientation 0
    {kFinKindG, {10098, 0}, 8, 0, kPortrait, 0x01, 1},
    {kFinKindG, {10099, 0}, 8, 0, kPortrait, 0x21, 0},      // FIN4EU allows two holes only
    {kFinKindG, {10098, 0}, 1, 1, kLandscape, 0x11, 1},     // "P is 9 or 1": Letter counts
    {kFinKindG, {10098, 0}, 13, 1, kLandscape, 0x11, 0},
    {kFinKindG, {10098, 0}, 1, 1, kLandscape, 0x01, 1},
    {kFinKindI, {10094, 0}, 9, 0, kPortrait, 0x04, 0},      // no position 4
    {kFinKindC, {10060, 0}, 9, 0, kPortrait, 0x01, 0},      // kind C has no punch rule
};

TEST_F(FinPositionsTest, PunchRows) {
  for (const PositionCase& c : kPunchCases) {
    SCOPED_TRACE(testing::Message() << "kind " << c.kind << " paper " << c.paper << " code " << c.code
                                    << " options " << c.options[0] << "," << c.options[1]);
    Load(c);
    Set(120, c.code);
    EXPECT_EQ(FinPunchFeasible(ctx(), c.kind), c.expected);
    for (WORD option : c.options) {
      if (option != 0) Set(option, 0);
    }
  }
}

const PositionCase kStapleCases[] = {
    {kFinKindC, {10060, 0}, 13, 0, kPortrait, 0x31, 0},
    {kFinKindC, {10060, 0}, 9, 0, kPortrait, 0x31, 1},
    {kFinKindC, {10060, 0}, 9, 0, kPortrait, 0x32, 0},
    {kFinKindC, {10060, 0}, 9, 0, kPortrait, 0x41, 0},
    {kFinKindG, {10099, 0}, 9, 0, kPortrait, 0x31, 1},
    {kFinKindG, {10099, 0}, 13, 0, kPortrait, 0x31, 0},
    {kFinKindG, {10099, 0}, 13, 1, kPortrait, 0x31, 1},
    {kFinKindG, {10099, 0}, 13, 0, kPortrait, 0x21, 0},
    {kFinKindD, {10049, 0}, 9, 0, kPortrait, 0x41, 0},
    {kFinKindD, {10049, 0}, 9, 0, kPortrait, 0x21, 1},
    {kFinKindD, {10049, 0}, 9, 0, kPortrait, 0x22, 0},
    {kFinKindA, {10058, 0}, 9, 1, kPortrait, 0x01, 1},
    {kFinKindA, {10058, 0}, 9, 1, kPortrait, 0x99, 0},
    {kFinKindA, {10058, 0}, 9, 0, kPortrait, 0x44, 0},
    {kFinKindA, {10058, 0}, 11, 0, kPortrait, 0x41, 0},   // staples take no extras
    {kFinKindB, {10102, 0}, 9, 0, kPortrait, 0x44, 1},
    {kFinKindB, {10102, 0}, 5, 0, kPortrait, 0x44, 0},
    {kFinKindI, {10084, 0}, 9, 0, kPortrait, 0x44, 0},    // needs kind H as well
    {kFinKindI, {10084, 10059}, 9, 0, kPortrait, 0x44, 1},
    {kFinKindJ, {10082, 10089}, 9, 0, kPortrait, 0x41, 1},  // no-punch leaves staples alone
    {kFinKindJ, {10082, 0}, 9, kOtherPaper, kPortrait, 0x41, 0},
    {kFinKindE, {10083, 0}, 9, 0, kLandscape, 0x42, 1},
    {kFinKindF, {10061, 0}, 9, 0, kLandscape, 0x41, 0},
    {kFinKindH, {10059, 0}, 9, 0, kPortrait, 0x21, 1},
    {kFinKindH, {10059, 0}, 9, 0, kPortrait, 0x44, 1},
    {kFinKindH, {10059, 0}, 5, 0, kPortrait, 0x41, 1},    // one-way Legal in orientation 0
    {kFinKindH, {10059, 0}, 5, 0, kPortrait, 0x44, 0},
    {kFinKindH, {10059, 0}, 9, kOtherPaper, kPortrait, 0x21, 0},
    {kFinKindH, {0, 0}, 9, 0, kPortrait, 0x21, 0},
};

TEST_F(FinPositionsTest, StapleRows) {
  for (const PositionCase& c : kStapleCases) {
    SCOPED_TRACE(testing::Message() << "kind " << c.kind << " paper " << c.paper << " code " << c.code
                                    << " options " << c.options[0] << "," << c.options[1]);
    Load(c);
    Set(121, c.code);
    EXPECT_EQ(FinStapleFeasible(ctx(), c.kind), c.expected);
    for (WORD option : c.options) {
      if (option != 0) Set(option, 0);
    }
  }
}

}  // namespace
}  // namespace zems_test
