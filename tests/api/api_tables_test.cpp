// The static side of the application interface: id ranges by level, the enabled bitmaps, the
// status table's rows and versions, the name and path checks.
#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "exclude/api/api_caps_table.h"
#include "exclude/api/api_levels.h"
#include "exclude/api/api_services.h"
#include "exclude/api/api_status_table.h"
#include "platform/sim.h"

namespace zems_test {
namespace {

std::vector<DWORD> Walk(LONG level) {
  std::vector<DWORD> ids;
  for (DWORD id = ApiNextStatusId(0, level); id; id = ApiNextStatusId(id, level)) ids.push_back(id);
  return ids;
}

TEST(ApiLevels, StatusWalkJumpsToTheExtendedIds) {
  EXPECT_TRUE(Walk(0).empty());
  EXPECT_EQ(35u, Walk(3).size()) << "level 3: 1-35, no extended ids";
  const std::vector<DWORD> ten = Walk(10);
  ASSERT_EQ(54u + 13u, ten.size());
  EXPECT_EQ(54u, ten[53]);
  EXPECT_EQ(257u, ten[54]);
  EXPECT_EQ(269u, ten.back());
  EXPECT_EQ(Walk(16), Walk(40)) << "above 16 reads as 16";
  EXPECT_EQ(Walk(0), Walk(-3)) << "below 0 reads as 0";
}

TEST(ApiLevels, EnabledBitmapAtLevel10) {
  ApiResetGlobals();
  ApiBuildEnabledMasks(10);
  for (DWORD id = 1; id <= 300; ++id) {
    const bool expected = (id <= 36) || (id >= 38 && id <= 43) || (id >= 45 && id <= 54) ||
                          (id >= 257 && id <= 262) || (id >= 264 && id <= 269);
    EXPECT_EQ(expected ? 1 : 0, ApiIsStatusEnabled(id)) << "status " << id;
  }
  EXPECT_EQ(0, ApiIsCapsEnabled(58));
  EXPECT_EQ(0, ApiIsCapsEnabled(273));
  EXPECT_EQ(1, ApiIsCapsEnabled(282));
  EXPECT_EQ(0, ApiIsCapsEnabled(283));
  EXPECT_EQ(1, ApiIsCapsEnabled(0x30000));
  ApiResetGlobals();
}

TEST(ApiLevels, BitOrder) {
  BYTE bits[64] = {};
  ApiBitmapSet(bits, 64, 1);
  ApiBitmapSet(bits, 64, 257);
  ApiBitmapSet(bits, 32, 257);  // beyond a 32-byte bitmap: nothing
  ApiBitmapSet(bits, 64, 0);
  EXPECT_EQ(0x80, bits[0]);
  EXPECT_EQ(0x80, bits[32]);
  EXPECT_EQ(1, ApiBitmapTest(bits, 64, 257));
  EXPECT_EQ(0, ApiBitmapTest(bits, 32, 257));
}

TEST(ApiStatusTable, RowsSitAtTheirIds) {
  for (DWORD i = 0; i < kApiStatusBasicRows; ++i) EXPECT_EQ(i + 1, ApiStatusItemTable[i].id);
  for (DWORD i = 0; i < kApiStatusExtendedRows; ++i) EXPECT_EQ(257 + i, ApiStatusItemTableExt[i].id);
  for (DWORD i = 0; i < kApiCapsBasicRows; ++i) EXPECT_EQ(i + 1, ApiCapsItemTable[i].id);
  for (DWORD i = 0; i < kApiCapsExtendedRows; ++i) EXPECT_EQ(257 + i, ApiCapsItemTableExt[i].id);
  EXPECT_EQ(0u, ApiStatusRow(37)->enabled);
  EXPECT_EQ(0u, ApiStatusRow(44)->enabled);
  EXPECT_EQ(nullptr, ApiFindStatusItem(36, 3)) << "item 36 starts at level 4";
  EXPECT_NE(nullptr, ApiFindStatusItem(36, 4));
  EXPECT_EQ(nullptr, ApiFindStatusItem(80, 16));
  EXPECT_EQ(nullptr, ApiFindCapsItem(283, 16));
  EXPECT_NE(nullptr, ApiFindCapsItem(0x30000, 0));
}

TEST(ApiStatusTable, RecordVersionsAndSizes) {
  struct Case {
    DWORD id, version, size;
  };
  for (const Case& c : {Case{10, 1, 392}, Case{10, 3, 484}, Case{16, 2, 412}, Case{47, 2, 108}, Case{56, 2, 824},
                        Case{67, 1, 36}, Case{1, 1, 824}, Case{60, 1, 44}, Case{9, 1, 32}, Case{10, 4, 0}})
    EXPECT_EQ(c.size, ApiRecordSize(c.id, c.version)) << "item " << c.id << " version " << c.version;
  EXPECT_EQ(0, ApiCompareGetVersion(7, 2, 0));
  EXPECT_EQ(1, ApiCompareGetVersion(7, 2, 1));
  EXPECT_EQ(2, ApiCompareGetVersion(7, 2, 3));
  EXPECT_EQ(18u, ApiFindMasterKey(18, nullptr) == 0 ? 0u : 18u);
  EXPECT_EQ(0u, ApiFindMasterKey(9, nullptr)) << "no master: 0";
  ASSERT_NE(nullptr, ApiFindColor(5));
  EXPECT_EQ(255, ApiFindColor(5)->red);
  EXPECT_EQ(nullptr, ApiFindColor(7));
}

TEST(ApiNames, FileNamesAndPaths) {
  struct Case {
    const char* text;
    int fileName, path, fullFileName;
  };
  const Case cases[] = {
      {"overlay.zvl", 1, 1, 0},           // a bare leaf is no full file name
      {"C:\\forms\\Overlay.ZVL", 0, 1, 1},  // drive, backslash, extension in any case
      {"\\\\server\\share\\a.zvl", 0, 1, 1},
      {"C:\\forms\\a.bmp", 0, 1, 0},
      {"a:b.zvl", 0, 1, 0},                // a drive prefix, then a leaf
      {"C:\\fo*rms\\a.zvl", 0, 0, 0},
      {"C:\\forms\\", 0, 1, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.fileName, ApiIsValidFileName(c.text)) << c.text;
    EXPECT_EQ(c.path, ApiIsValidPath(c.text)) << c.text;
    EXPECT_EQ(c.fullFileName, ApiIsValidFullFileName(c.text)) << c.text;
  }
  EXPECT_EQ(0, ApiIsValidFileName(nullptr));
  int length = -1;
  EXPECT_STREQ("zvl", ApiPathExtension("C:\\a.b\\c.zvl", &length));
  EXPECT_EQ(3, length);
  EXPECT_STREQ("c", ApiPathLeaf("C:\\a\\c"));
}

TEST(ApiNames, DoubleByteTrailBytesAreNotSeparators) {
  ASSERT_TRUE(SimSetAnsiCodePage(932));
  // A double-byte character whose trail byte is the backslash code.
  const char name[] = {'\x83', '\x5C', 'a', '.', 'z', 'v', 'l', 0};
  EXPECT_EQ(1, ApiIsValidFileName(name));
  EXPECT_EQ(0, ApiHasChar(name, '\\'));
  SimSetAnsiCodePage(1252);
}

}  // namespace
}  // namespace zems_test

namespace zems_test {
namespace {

TEST(ApiFonts, OnlyInstalledTrueTypeFacesCount) {
  struct Case {
    const char* face;
    int installed;
  };
  for (const Case& c : {Case{"Arial", 1}, Case{"Courier New", 1}, Case{"Arial ", 0}, Case{"System", 0},
                        Case{"@MS Mincho", 0}, Case{"MS Mincho", 0}, Case{"", 0}})
    EXPECT_EQ(c.installed, ApiIsFontInstalled(nullptr, c.face)) << c.face;
  EXPECT_EQ(0, ApiIsFontInstalled(nullptr, nullptr));
}

}  // namespace
}  // namespace zems_test
