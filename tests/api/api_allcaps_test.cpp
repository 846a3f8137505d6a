// The all-capabilities record: its layout, what the level and the lead capabilities leave 0,
// failures that leave nothing behind, and who may free it.
#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "api/api_inproc_fixture.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "platform/sim.h"

namespace zems_test {
namespace {

constexpr DWORD kBuild = 0x80000001, kFree = 0x80000002;
constexpr UINT kRecordBytes = 812;

LONG At(const BYTE* record, UINT offset) {
  LONG v;
  memcpy(&v, record + offset, sizeof(v));
  return v;
}

const BYTE* Pointer(const BYTE* record, UINT offset) {
  return reinterpret_cast<const BYTE*>(static_cast<UINT_PTR>(static_cast<DWORD>(At(record, offset))));
}

class ApiAllCapsTest : public ApiInProcessTest {
 protected:
  void SetUp() override {
    ApiInProcessTest::SetUp();
    Install();
  }
  BYTE* Build() { return reinterpret_cast<BYTE*>(Caps(kBuild)); }
};

TEST_F(ApiAllCapsTest, RecordHoldsTheCapabilitiesAtTheirOffsets) {
  Enable(16);
  BYTE* record = Build();
  ASSERT_NE(nullptr, record);
  EXPECT_EQ(kRecordBytes, GlobalSize(record));
  // The status bitmap the record is keyed by.
  BYTE bitmap[64] = {};
  ASSERT_EQ(64, Caps(0, bitmap));
  ASSERT_NE(nullptr, Pointer(record, 0));
  EXPECT_EQ(0, memcmp(bitmap, Pointer(record, 0), 64));
  // Caps 1 at 4; caps 4 as count and pointer at 24; caps 13 as two u16 at 88; caps 124 at 784.
  EXPECT_EQ(1, At(record, 4));
  const std::vector<LONG> media = IntList(4);
  ASSERT_EQ(static_cast<LONG>(media.size()), At(record, 24));
  EXPECT_EQ(0, memcmp(media.data(), Pointer(record, 28), media.size() * 4));
  WORD extent[2] = {};
  Caps(13, extent);
  EXPECT_EQ(0, memcmp(extent, record + 88, 4));
  EXPECT_EQ(2160, At(record, 784));
  EXPECT_EQ(9000, At(record, 788));
  // Names of 260 bytes (caps 127) at 804.
  ASSERT_EQ(8, At(record, 804));
  EXPECT_STREQ("Plain", reinterpret_cast<const char*>(Pointer(record, 808)));
  EXPECT_STREQ("Thick", reinterpret_cast<const char*>(Pointer(record, 808) + 7 * 260));
  // Caps 34 answers 0 on the sample: the four shift ranges stay 0 though caps 35-38 answer -1.
  ASSERT_EQ(0, At(record, 196));
  ASSERT_EQ(-1, Caps(35));
  for (UINT offset = 200; offset <= 212; offset += 4) EXPECT_EQ(0, At(record, offset)) << offset;
  // Value entries in display units (caps 26, the odd-page margin's maximum).
  EXPECT_EQ(250, At(record, 152));
  EXPECT_EQ(1, Caps(kFree, record));
}

TEST_F(ApiAllCapsTest, Level5LeavesTheLaterFieldsZero) {
  Enable(5);
  BYTE* record = Build();
  ASSERT_NE(nullptr, record);
  for (UINT offset = 320; offset < kRecordBytes; offset += 4) EXPECT_EQ(0, At(record, offset)) << offset;
  EXPECT_EQ(1, At(record, 4)) << "the first entries are filled";
  EXPECT_EQ(1, Caps(kFree, record));
}

TEST_F(ApiAllCapsTest, DriverType1StillBuildsWithoutEmulations) {
  Enable(16);
  ItemSetRawById(Ctx(), kItem_zdmDriverType, 1);
  BYTE* record = Build();
  ASSERT_NE(nullptr, record);
  EXPECT_EQ(0, At(record, 252));
  EXPECT_EQ(0, At(record, 256));
  EXPECT_EQ(1, Caps(kFree, record));
}

TEST_F(ApiAllCapsTest, EachFailedAllocationFailsTheWholeRecord) {
  Enable(16);
  int failures = 0;
  for (int granted = 0; granted < 400; ++granted) {
    SimFailAllocations(granted);
    BYTE* record = Build();
    SimFailAllocations(-1);
    if (record) {
      EXPECT_EQ(1, Caps(kFree, record));
      break;
    }
    ++failures;
    EXPECT_EQ(100, LastError()) << "after " << granted << " allocations";
  }
  EXPECT_GT(failures, 10) << "the bitmap and every list are allocations of their own";
}

TEST_F(ApiAllCapsTest, OnlyARecordOfThisContextIsFreedOnce) {
  Enable(16);
  EXPECT_EQ(1, Caps(kFree, nullptr));
  BYTE* record = Build();
  ASSERT_NE(nullptr, record);
  BYTE foreign[kRecordBytes] = {};
  EXPECT_EQ(0, Caps(kFree, foreign));
  EXPECT_EQ(1, Caps(kFree, record));
  EXPECT_EQ(0, Caps(kFree, record)) << "a second free is refused";
}

}  // namespace
}  // namespace zems_test
