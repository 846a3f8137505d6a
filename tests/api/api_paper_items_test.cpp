// The paper and layout status items: their set, verify and get handlers as the SetStatus engine
// calls them (the engine's own steps are tested with the engine), and GetStatus for reads.
#include <gtest/gtest.h>

#include <string.h>

#include "api/api_inproc_fixture.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "exclude/api/api_exports.h"
#include "exclude/api/api_items_paper.h"
#include "exclude/api/api_status_table.h"
#include "core/devmode/dm_layout.h"
#include <vector>

namespace zems_test {
namespace {

struct Record {
  DWORD version;
  LONG f[13];  // +4 onward; item 63 uses 56 bytes
};

class ApiPaperTest : public ApiInProcessTest {
 protected:
  void Start(LONG level = 16) {
    Install();
    Enable(level);
  }
  // The item's set handler, then its verify handler: 0 when both pass, -1 otherwise.
  LONG Set(DWORD id, Record* r) {
    const ApiStatusItem* row = ApiStatusRow(id);
    if (!row || row->set(Api(), id, r, nullptr, 0) != 1) return -1;
    return row->verify(Api(), id, r, nullptr, 0) == 1 ? 0 : -1;
  }
  LONG Get(DWORD id, Record* r, DWORD version) { return ApiExportGetStatus(handle_, id, r, version); }
  LONG Raw(WORD item) { return static_cast<LONG>(ItemGetRawById(Ctx(), item)); }
};

TEST_F(ApiPaperTest, CustomSizeReachesTheDevmodeInTenthMillimetres) {
  struct Case {
    LONG dspUnit;  // 0 metric (0.1 mm), 1 inch (0.01 inch)
    LONG width, length;
    LONG tenthWidth, tenthLength;
  } cases[] = {
      {0, 1500, 2000, 1500, 2000},
      {1, 600, 800, 1524, 2032},
  };
  Start();
  for (const Case& c : cases) {
    ItemSetRawById(Ctx(), kItem_zdmDspUnit, c.dspUnit);
    Record r = {1, {256, c.width, c.length}};
    ASSERT_EQ(0, Set(7, &r)) << "unit " << c.dspUnit << " error " << LastError();
    EXPECT_EQ(c.tenthWidth, Raw(kItem_dmPaperWidth));
    EXPECT_EQ(c.tenthLength, Raw(kItem_dmPaperLength));
    EXPECT_EQ(0, Raw(kItem_zdmFuncSelectFreeShortOver));
    Record got = {};
    ASSERT_EQ(32, Get(7, &got, 1));
    EXPECT_EQ(256, got.f[0]);
    EXPECT_EQ(c.width, got.f[1]) << "read back in display units";
    EXPECT_EQ(c.length, got.f[2]);
  }
}

// Through the whole SetStatus engine (its rewrite of the public paper fields and the merge after
// the handler): 150 mm is 7086/1200 inch, which floors back to 149.9 mm on a detour.
TEST_F(ApiPaperTest, CustomSizeSurvivesTheEngine) {
  struct Case {
    LONG dspUnit;
    LONG width, length;
    LONG tenthWidth, tenthLength;
  } cases[] = {
      {0, 1500, 2000, 1500, 2000},
      {0, 1499, 2001, 1499, 2001},
      {1, 601, 799, 1526, 2029},
  };
  Start();
  for (const Case& c : cases) {
    ItemSetRawById(Ctx(), kItem_zdmDspUnit, c.dspUnit);
    Record r = {1, {256, c.width, c.length}};
    ASSERT_EQ(0, ApiExportSetStatus(handle_, 7, &r, nullptr, 0)) << c.width << " error " << LastError();
    EXPECT_EQ(c.tenthWidth, Raw(kItem_dmPaperWidth)) << c.width;
    EXPECT_EQ(c.tenthLength, Raw(kItem_dmPaperLength)) << c.length;
    Record got = {};
    ASSERT_EQ(32, Get(7, &got, 1));
    EXPECT_EQ(c.width, got.f[1]) << "unit " << c.dspUnit;
    EXPECT_EQ(c.length, got.f[2]) << "unit " << c.dspUnit;
  }
}

TEST_F(ApiPaperTest, WidthAboveLengthIsSwappedInTheCallersRecord) {
  Start();
  Record r = {1, {256, 2000, 1500}};
  ASSERT_EQ(0, Set(7, &r)) << LastError();
  EXPECT_EQ(1500, r.f[1]);
  EXPECT_EQ(2000, r.f[2]);
  EXPECT_EQ(1500, Raw(kItem_dmPaperWidth));
}

// SetStatus reads a record of version 0 as version 1: the handlers get a copy of version 1's
// bytes (the record is allocated to that size exactly; the fuzz target covers the items whose
// newer versions are longer), and what they write into the record reaches the caller's.
TEST_F(ApiPaperTest, VersionZeroIsReadAsVersionOne) {
  Start();
  std::vector<BYTE> bytes(ApiRecordSize(7, 1));
  const LONG fields[] = {0, 256, 2000, 1500};
  memcpy(bytes.data(), fields, sizeof fields);
  ASSERT_EQ(0, ApiExportSetStatus(handle_, 7, bytes.data(), nullptr, 0)) << LastError();
  LONG back[4];
  memcpy(back, bytes.data(), sizeof back);
  EXPECT_EQ(0, back[0]) << "the caller's version stays";
  EXPECT_EQ(1500, back[2]) << "the handler's swap reaches the caller";
  EXPECT_EQ(2000, back[3]);
  EXPECT_EQ(1500, Raw(kItem_dmPaperWidth));
}

// A width whose low 16 bits fall inside the range is still far outside it.
TEST_F(ApiPaperTest, CustomSizeCheckComparesWholeNumbersAtEveryLevel) {
  Install();
  for (LONG level : {15, 16}) {
    Enable(level);
    EXPECT_EQ(1, ApiCheckCustomSize(Api(), 1000, 2000)) << level;
    EXPECT_EQ(0, ApiCheckCustomSize(Api(), 65536 + 1000, 2000)) << level;
    EXPECT_EQ(0, ApiCheckCustomSize(Api(), 0, 2000));
    Record r = {1, {256, 65536 + 1000, 2000}};
    EXPECT_EQ(-1, Set(7, &r)) << level;
    ApiExportDisable(handle_);
    handle_ = nullptr;
  }
}

TEST_F(ApiPaperTest, CustomOutputSizeNeedsVersion2) {
  // The sample describes no custom output size; this model gives it ranges (1/1200 inch).
  Install("*OpenUI *TOV_zdmPaperFreeSizeWidthIn: Numeric",
          "*OpenUI *TOV_zdmPrintFreeSizeWidth: Numeric\n*NumericValue: 0 \"0 9921 4252 15118 0 0 1 1\"\n*CloseUI\n"
          "*OpenUI *TOV_zdmPrintFreeSizeLength: Numeric\n*NumericValue: 0 \"0 14031 6992 56692 0 0 1 1\"\n*CloseUI\n"
          "*OpenUI *TOV_zdmPaperFreeSizeWidthIn: Numeric");
  Enable(16);
  Record v1 = {1, {448, 1500, 2000}};
  EXPECT_EQ(-1, Set(8, &v1));
  Record v2 = {2, {448, 1500, 2000}};
  ASSERT_EQ(0, Set(8, &v2)) << LastError();
  Record got = {};
  EXPECT_EQ(-1, Get(8, &got, 1)) << "a version-1 record cannot show a custom output size";
  EXPECT_EQ(6, LastError());
  ASSERT_EQ(32, Get(8, &got, 2));
  EXPECT_EQ(448, got.f[0]);
  EXPECT_EQ(1500, got.f[1]);
  EXPECT_EQ(2000, got.f[2]);
}

TEST_F(ApiPaperTest, TrayInformation) {
  Start();
  Record r = {1, {99}};
  EXPECT_EQ(-1, Get(63, &r, 1)) << "no such tray in caps 2";
  EXPECT_EQ(7, LastError());
  Record tray1 = {1, {1}};
  ASSERT_EQ(56, Get(63, &tray1, 1));
  EXPECT_EQ(3560, tray1.f[5]) << "orientation-1 metric length maximum, 16818 / 1200 inch in 0.1 mm";
  EXPECT_EQ(2160, tray1.f[9]) << "orientation-2 metric length maximum, 10204 / 1200 inch";
  Record tray7 = {1, {7}};
  memset(tray7.f + 1, 0x5A, sizeof(LONG) * 12);
  ASSERT_EQ(56, Get(63, &tray7, 1));
  for (int i = 1; i < 13; ++i) EXPECT_EQ(0, tray7.f[i]) << "a tray without slot or limit rows: field " << i;
}

TEST_F(ApiPaperTest, RotationRecordOfAnUnknownVersionWritesNothing) {
  Start();
  const BYTE* block = ApiSettings(Api());
  std::vector<BYTE> before(block, block + kDmBlockSize);
  Record r = {5, {1, 2, 3, 4}};
  EXPECT_EQ(0, Set(28, &r));
  EXPECT_TRUE(before == std::vector<BYTE>(block, block + kDmBlockSize));
  Record got = {};
  ASSERT_EQ(32, Get(28, &got, 2));
  EXPECT_EQ(2u, got.version) << "the handler writes the caller's version";
  EXPECT_EQ(Raw(kItem_zdmRotationMode), got.f[1]);
}

TEST_F(ApiPaperTest, ManualTraySwitchOffWritesOnlyTheSwitch) {
  Start();
  ItemSetRawById(Ctx(), kItem_zdmExtOutput2OrientationManualTray, 1);
  ItemSetRawById(Ctx(), kItem_zdmOrientationManualTray, 2);
  Record r = {1, {0, 1}};
  EXPECT_EQ(0, Set(58, &r));
  EXPECT_EQ(0, Raw(kItem_zdmExtOutput2OrientationManualTray));
  EXPECT_EQ(2, Raw(kItem_zdmOrientationManualTray)) << "the orientation stays while the switch is off";
}

TEST_F(ApiPaperTest, TrialLeavesTheSettingsAsTheyWere) {
  Start();
  const BYTE* block = ApiSettings(Api());
  std::vector<BYTE> before(block, block + kDmBlockSize);
  ApiTrialSetValue(Api(), 14, kItem_zdmFuncSelectNup, kItem_zdmNUPType, 2);
  std::vector<BYTE> after(block, block + kDmBlockSize);
  EXPECT_TRUE(before == after);
}

}  // namespace
}  // namespace zems_test
