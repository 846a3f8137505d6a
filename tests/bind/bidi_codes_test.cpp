// The code tables of the bidirectional acquisition: every row of each table, the tray
// tables' choice between the model table and the default table, the paper tables with their
// orientation flag and the "no paper" results, the media run 100-115 and the preference order
// of the default trays.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/bind/bidi_codes.h"

namespace zems_test {
namespace {

struct TrayCase {
  DWORD code;
  int index;      // -1: no tray
  WORD value;     // tray value; 0: none
};

// This build's model table has rows, so it answers alone: codes only the default table knows
// have no tray here.
const TrayCase kTrayCases[] = {
    {3, 0, 1},  {4, 1, 3},   {5, 2, 2},   {2, 28, 4},  {12, -1, 0}, {6, -1, 0}, {8, -1, 0},
    {9, -1, 0}, {7, -1, 0},  {11, -1, 0}, {1, -1, 0},  {101, -1, 0}, {70, -1, 0}, {0, -1, 0},
    {99, -1, 0},
};

TEST(BidiCodes, TrayIndexAndValueFollowTheModelTable) {
  for (const TrayCase& c : kTrayCases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(c.index, BidiTrayIndex(c.code));
    EXPECT_EQ(c.value, BidiMapTrayCode(c.code));
    const WORD field = c.index < 0 ? 0 : WORD(10111 + c.index);
    EXPECT_EQ(field, BidiMapTrayField(c.code));
    EXPECT_EQ(c.index < 0 ? 0 : WORD(10143 + c.index), BidiMapTrayOrient(c.code));
    EXPECT_EQ(c.index < 0 ? 0 : WORD(10175 + c.index), BidiMapTrayPaper(c.code));
    EXPECT_EQ(c.index < 0 ? 0 : WORD(10207 + c.index), BidiMapTrayMedia(c.code));
    EXPECT_EQ(c.index < 0 ? 0 : WORD(10239 + c.index), BidiMapTrayLock(c.code));
  }
}

TEST(BidiCodes, MapCodeTakesTheFirstRowAndStopsAtTheEndRow) {
  const BidiTrayRow table[] = {{7, 3}, {9, 3}, {0, 5}, {11, 5}};
  EXPECT_EQ(7, BidiMapCode(3, table));
  EXPECT_EQ(0, BidiMapCode(5, table)) << "rows after the end row are not searched";
  EXPECT_EQ(0, BidiMapCode(4, table));
  EXPECT_EQ(0, BidiMapCode(3, nullptr));
}

struct PaperCase {
  DWORD code;
  WORD value;
  DWORD orientation;
};

const PaperCase kPaperCases[] = {
    // First table (orientation 0), every row.
    {0, 0, 0}, {23, 1, 0}, {58, 3, 0}, {21, 5, 0}, {27, 6, 0}, {25, 7, 0}, {69, 512, 0}, {72, 66, 0},
    {5, 8, 0}, {9, 9, 0}, {13, 11, 0}, {73, 269, 0}, {7, 12, 0}, {11, 13, 0}, {75, 518, 0}, {62, 14, 0},
    {31, 28, 0}, {33, 31, 0}, {52, 37, 0}, {34, 43, 0}, {70, 82, 0}, {17, 70, 0}, {15, 88, 0},
    {28, 513, 0}, {60, 514, 0}, {53, 20, 0}, {32, 27, 0}, {64, 517, 0}, {66, 93, 0}, {1, 0, 0},
    {2, 449, 0}, {90, 267, 0}, {91, 268, 0}, {92, 270, 0}, {93, 271, 0}, {257, 538, 0}, {258, 533, 0},
    {259, 529, 0}, {260, 527, 0}, {261, 525, 0}, {270, 536, 0}, {271, 532, 0}, {272, 528, 0},
    {273, 526, 0}, {103, 541, 0}, {104, 542, 0}, {106, 544, 0}, {108, 545, 0}, {110, 546, 0},
    {111, 547, 0}, {112, 548, 0}, {274, 552, 0}, {275, 553, 0}, {276, 554, 0}, {277, 555, 0},
    {278, 556, 0}, {279, 557, 0}, {280, 558, 0}, {281, 559, 0}, {282, 560, 0}, {283, 561, 0},
    {284, 562, 0},
    // Second table (orientation 1): the rows the first table does not shadow.
    {22, 1, 1}, {57, 3, 1}, {20, 5, 1}, {26, 6, 1}, {24, 7, 1}, {56, 512, 1}, {88, 268, 1}, {86, 66, 1},
    {4, 8, 1}, {8, 9, 1}, {12, 11, 1}, {89, 271, 1}, {87, 269, 1}, {6, 12, 1}, {10, 13, 1}, {61, 14, 1},
    {81, 28, 1}, {82, 31, 1}, {80, 37, 1}, {78, 43, 1}, {71, 82, 1}, {16, 70, 1}, {14, 88, 1},
    {59, 514, 1}, {79, 20, 1}, {83, 27, 1}, {63, 517, 1}, {65, 93, 1}, {105, 542, 1}, {107, 544, 1},
    {109, 545, 1}, {74, 518, 1},
    // Neither table: paper 0 with orientation 1.
    {999, 0, 1}, {3, 0, 1},
};

TEST(BidiCodes, PaperCodesWithTheirOrientationFlag) {
  for (const PaperCase& c : kPaperCases) {
    SCOPED_TRACE(c.code);
    DWORD orientation = 7;
    EXPECT_EQ(c.value, BidiMapPaperCode(c.code, &orientation));
    EXPECT_EQ(c.orientation, orientation);
  }
}

TEST(BidiCodes, MediaCodes) {
  const std::pair<DWORD, WORD> rows[] = {
      {0, 0},    {1, 1},    {3, 2},    {6, 257},  {5, 258},  {2, 260},  {13, 262}, {4, 263},  {9, 264},
      {10, 265}, {11, 266}, {12, 267}, {14, 268}, {15, 269}, {16, 270}, {20, 271}, {18, 513}, {19, 515},
      {8, 272},  {21, 3},   {22, 264}, {23, 279}, {24, 274}, {25, 517}, {26, 280}, {27, 281}, {28, 282},
      {29, 283}, {30, 284}, {31, 285}, {32, 286}, {33, 287}, {34, 288}, {7, 294},  {17, 293}, {39, 297},
      {40, 291}, {41, 298}, {36, 276}, {37, 275}, {38, 259}, {43, 302}, {44, 519}, {42, 299}, {45, 520},
      {35, 0},   {46, 0},   {99, 0},   {116, 0},
  };
  for (const auto& r : rows) EXPECT_EQ(r.second, BidiMapMediaCode(r.first)) << "media code " << r.first;
  for (DWORD code = 100; code <= 115; ++code) EXPECT_EQ(code + 925, BidiMapMediaCode(code)) << code;
}

TEST(BidiCodes, OptionCodes) {
  const std::pair<DWORD, WORD> rows[] = {
      {1, 10014},  {104, 10018}, {102, 10020}, {16, 10022}, {105, 10023}, {106, 10023},
      {30, 10023}, {6, 10047},   {31, 10056},  {3, 10070},  {0, 0},       {2, 0},
      {103, 0},
  };
  for (const auto& r : rows) EXPECT_EQ(r.second, BidiMapOptionCode(r.first)) << "option code " << r.first;
}

TEST(BidiCodes, PreferenceOrder) {
  DWORD count = 0;
  const DWORD* order = BidiDefaultTrayOrder(&count);
  const DWORD expected[] = {3, 4, 5, 6, 7, 8, 9, 11, 2, 1, 10, 12, 51, 52, 53, 54, 60, 61, 101};
  ASSERT_EQ(19u, count);
  for (DWORD i = 0; i < count; ++i) EXPECT_EQ(expected[i], order[i]);

  struct Case {
    std::vector<DWORD> codes;
    DWORD preferred;
  };
  const Case cases[] = {
      {{4, 2}, 4},          // 4 comes before 2
      {{2, 4}, 4},          // whatever the list order
      {{101, 61, 0, 52}, 52},
      {{0, 0}, 0},
      {{13, 99}, 0},        // codes outside the order are ignored
      {{99, 1, 13}, 1},
      {{}, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.preferred, BidiPickPreferredTray(c.codes.data(), DWORD(c.codes.size()))) << c.codes.size();
  EXPECT_EQ(0u, BidiPickPreferredTray(nullptr, 3));
}

}  // namespace
}  // namespace zems_test
