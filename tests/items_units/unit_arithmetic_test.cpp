// Length conversions between 1/1200 inch and the display units.
#include <gtest/gtest.h>

#include <climits>

#include "core/items/units.h"

namespace {

struct DisplayCase {
  int flag;
  DWORD display;
  DWORD dpi;
  DWORD dots;
};

// Display value -> dots gives the largest even count that does not display above the value;
// dots -> display gives that display value back.
TEST(UnitConversion, DisplayAndDotsBothWays) {
  const DisplayCase cases[] = {
      {kUnitTenthMm, 2100, 1200, 9920},         // 210.0 mm
      {kUnitHundredthInch, 850, 1200, 10200},   // 8.50 inch
      {kUnitTenthMm, 2970, 1200, 14030},        // 297.0 mm
      {kUnitTenthMm, 900, 1200, 4250},          // 90.0 mm
      {kUnitTenthMm, 2160, 1200, 10204},        // 216.0 mm
      {kUnitHundredthInch, 1100, 1200, 13200},  // 11.00 inch
      {kUnitTenthMm, 2100, 600, 4960},          // rescaled to the resolution
      {kUnitHundredthInch, 850, 600, 5100},
      {kUnitTenthMm, 0, 1200, 0},
  };
  for (const DisplayCase& c : cases) {
    EXPECT_EQ(c.dots, UnitDisplayToDots(c.flag, c.display, c.dpi))
        << "flag " << c.flag << " display " << c.display << " at " << c.dpi;
    EXPECT_EQ(c.display, UnitDotsToDisplay(c.flag, c.dots, c.dpi))
        << "flag " << c.flag << " dots " << c.dots << " at " << c.dpi;
  }
}

TEST(UnitConversion, OddCountDisplaysAsItsEvenNeighbour) {
  EXPECT_EQ(2100u, UnitDotsToDisplay(kUnitTenthMm, 9921, 1200));
  EXPECT_EQ(9920u, UnitDisplayToDots(kUnitTenthMm, 2100, 1200));
}

TEST(UnitConversion, UnknownUnitFlagGivesZero) {
  EXPECT_EQ(0u, UnitDisplayToDots(0, 2100, 1200));
  EXPECT_EQ(0u, UnitDisplayToDots(3, 2100, 1200));
  EXPECT_EQ(0u, UnitDotsToDisplay(3, 9920, 1200));
}

// The pair of conversions is stable: every display value survives the round trip.
TEST(UnitConversion, RoundTripIsStable) {
  for (int flag : {kUnitTenthMm, kUnitHundredthInch}) {
    for (DWORD v = 0; v <= 20000; ++v) {
      DWORD dots = UnitDisplayToDots(flag, v, 1200);
      ASSERT_EQ(0u, dots % 2) << "flag " << flag << " display " << v;
      ASSERT_EQ(v, UnitDotsToDisplay(flag, dots, 1200)) << "flag " << flag << " display " << v;
    }
  }
}

struct ArithmeticCase {
  const char* what;
  DWORD got;
  DWORD expected;
};

TEST(UnitArithmetic, TableOfCases) {
  const ArithmeticCase cases[] = {
      {"1 inch in 0.1 mm", UnitToTenthMm(1200, 1200), 254},
      {"9920/1200 inch in 0.1 mm", UnitToTenthMm(9920, 1200), 2099},
      {"to 0.1 mm, divisor 0", UnitToTenthMm(9920, 0), 0},
      {"1 inch in 0.01 inch", UnitToHundredthInch(1200, 1200), 100},
      {"to 0.01 inch, divisor 0", UnitToHundredthInch(1200, 0), 0},
      {"to 0.01 inch, below 100 per inch", UnitToHundredthInch(1200, 99), 0},
      {"25.4 mm in 1/1200", UnitFromTenthMm(254, 1200), 1200},
      {"210.0 mm in 1/1200", UnitFromTenthMm(2100, 1200), 9921},
      {"1 inch in 1/1200", UnitFromHundredthInch(100, 1200), 1200},
      {"rescale 600 -> 1200 dpi", UnitRescale(4960, 600, 1200), 9920},
      {"rescale without product overflow", UnitRescale(4000000000u, 1200, 600), 2000000000u},
      {"rescale, divisor 0", UnitRescale(4960, 0, 1200), 0},
      {"rescale, factor 0", UnitRescale(4960, 600, 0), 0},
  };
  for (const ArithmeticCase& c : cases) EXPECT_EQ(c.expected, c.got) << c.what;
}

TEST(UnitArithmetic, MulDivIsSigned32BitFloorsAndNeverDividesByZero) {
  struct Case {
    LONG a, b, c, expected;
  } cases[] = {
      {3, 7, 2, 10},
      {-7, 3, 2, -11},   // floors: -10.5 gives -11
      {7, 3, -2, -11},
      {-7, 3, -2, 10},
      {-6, 1, 2, -3},    // exact quotients are not moved
      {-1, 1, 3, -1},
      {9920, 100, 0, -1},
      {9450, 100, 9920, 95},
      {LONG_MIN, 1, -1, LONG_MIN},  // the one quotient that does not fit wraps instead of trapping
      {LONG_MIN, 1, 2, LONG_MIN / 2},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.expected, UnitMulDiv(c.a, c.b, c.c)) << c.a << " * " << c.b << " / " << c.c;
}

}  // namespace
