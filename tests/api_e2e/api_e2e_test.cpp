// The application interface through zemsexc's exports on the sample printer: what an
// application sees of enable, status items, the changed-items bitmap and the DEVMODE.
#include <gtest/gtest.h>

#include <string.h>

#include <thread>
#include <vector>

#include "api_e2e/api_e2e_fixture.h"
#include "platform/sim.h"

namespace zems_test {
namespace {

constexpr DWORD kMediaTypeItem = 3, kOutputTrayItem = 4, kCopiesItem = 9;
constexpr LONG kTransparency = 2, kInnerTray = 13, kPlain = 1;
constexpr LONG kDevmodeSize = 1236;

bool Bit(const BYTE* bits, DWORD id) { return (bits[(id - 1) >> 3] & (0x80u >> ((id - 1) & 7u))) != 0; }

std::vector<BYTE> Devmode(const ApiExports& api, void* h, DWORD flags = 4) {
  std::vector<BYTE> dm(kDevmodeSize);
  EXPECT_EQ(kDevmodeSize, api.getDevmode(h, flags, dm.data()));
  return dm;
}

DEVMODEW Public(const std::vector<BYTE>& dm) {
  DEVMODEW head;
  memcpy(&head, dm.data(), sizeof(head));
  return head;
}

class ApiTest : public ApiE2eTest {
 protected:
  void SetUp() override {
    ApiE2eTest::SetUp();
    InstallPrinter();
    Level(16);
  }
  LONG Set(DWORD id, LONG value, BYTE* bits = nullptr, LONG mode = 0) {
    SimpleRecord r = {1, value, 0, 0, 0, {}, 0};
    return api_.setStatus(handle_, id, &r, bits, mode);
  }
  LONG Get(DWORD id) {
    SimpleRecord r = {};
    EXPECT_EQ(32, api_.getStatus(handle_, id, &r, 1)) << "item " << id;
    return r.value;
  }
};

TEST_F(ApiTest, CopiesThreeReachTheDevmode) {
  ASSERT_NE(nullptr, EnableApi());
  EXPECT_EQ(0, api_.getLastError(handle_)) << "a fresh context has no error at level 16";
  BYTE bits[64] = {};
  EXPECT_EQ(0, Set(kCopiesItem, 3, bits)) << api_.getLastError(handle_);
  EXPECT_EQ(3, Get(kCopiesItem));
  const DEVMODEW dm = Public(Devmode(api_, handle_));
  EXPECT_EQ(3, dm.dmCopies);
  EXPECT_TRUE(dm.dmFields & DM_COPIES);
}

TEST_F(ApiTest, TransparencyMovesTheOutputTrayAndReportsItem4) {
  ASSERT_NE(nullptr, EnableApi());
  BYTE bits[64] = {};
  EXPECT_EQ(0, Set(kMediaTypeItem, kTransparency, bits)) << api_.getLastError(handle_);
  EXPECT_EQ(kInnerTray, Get(kOutputTrayItem)) << "the media type's transact sends transparencies inside";
  EXPECT_TRUE(Bit(bits, kOutputTrayItem)) << "item 4 changed as a consequence";
  EXPECT_FALSE(Bit(bits, kMediaTypeItem)) << "the item set reports itself only by its own rules";
  EXPECT_FALSE(Bit(bits, kCopiesItem));
}

TEST_F(ApiTest, RefusedValueChangesNothing) {
  ASSERT_NE(nullptr, EnableApi());
  const std::vector<BYTE> before = Devmode(api_, handle_);
  BYTE bits[64];
  memset(bits, 0xAB, sizeof(bits));
  EXPECT_EQ(-1, Set(kMediaTypeItem, 999, bits)) << "no such media type";
  EXPECT_EQ(7, api_.getLastError(handle_));
  for (int i = 0; i < 64; ++i) ASSERT_EQ(0, bits[i]) << "byte " << i << " of the changed-items bitmap";
  EXPECT_EQ(before, Devmode(api_, handle_)) << "the DEVMODE is as it was";
  EXPECT_EQ(kPlain, Get(kMediaTypeItem));
}

TEST_F(ApiTest, DisabledHandleCountsAsNull) {
  void* h = EnableApi();
  ASSERT_NE(nullptr, h);
  EXPECT_EQ(1, api_.disable(h));
  handle_ = nullptr;
  SimpleRecord r = {1, 3, 0, 0, 0, {}, 0};
  EXPECT_EQ(-1, api_.getStatus(h, kCopiesItem, &r, 1));
  EXPECT_EQ(-1, api_.setStatus(h, kCopiesItem, &r, nullptr, 0));
  EXPECT_EQ(-1, api_.getLastError(h));
  EXPECT_EQ(-1, api_.getCaps(h, 0, nullptr));
  EXPECT_EQ(-1, api_.getDevmode(h, 4, nullptr));
  EXPECT_EQ(0, api_.saveQuality(h));
  EXPECT_EQ(1, api_.disable(h)) << "a second disable frees nothing and succeeds";
  void* again = EnableApi();
  EXPECT_NE(h, again) << "handles are never reused";
}

}  // namespace
}  // namespace zems_test
