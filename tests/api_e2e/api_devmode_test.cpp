// DEVMODE retrieval through the exports: the flags, the merge of a caller's DEVMODE, repeated
// retrievals.
#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "api_e2e/api_e2e_fixture.h"
#include "platform/sim.h"

namespace zems_test {
namespace {

constexpr LONG kSize = 1236;

class ApiDevmodeTest : public ApiE2eTest {
 protected:
  void SetUp() override {
    ApiE2eTest::SetUp();
    StartSample();
  }
  std::vector<BYTE> Get(DWORD flags, LONG expect = kSize) {
    std::vector<BYTE> dm(kSize, 0xEE);
    EXPECT_EQ(expect, api_.getDevmode(handle_, flags, dm.data())) << "flags " << flags;
    return dm;
  }
  LONG Set(DWORD id, LONG value) {
    SimpleRecord r = {1, value, 0, 0, 0, {}, 0};
    return api_.setStatus(handle_, id, &r, nullptr, 0);
  }
  static DEVMODEW Head(const std::vector<BYTE>& dm) {
    DEVMODEW head;
    memcpy(&head, dm.data(), sizeof(head));
    return head;
  }
};

TEST_F(ApiDevmodeTest, FlagsDecideByTheFirstOfOneTwoFour) {
  ASSERT_EQ(0, Set(9, 4));
  EXPECT_EQ(4, Head(Get(4)).dmCopies) << "flag 4 keeps the current settings";
  EXPECT_EQ(Get(4), Get(4)) << "the current settings twice give the same bytes";
  const std::vector<BYTE> defaults = Get(2);
  EXPECT_EQ(1, Head(defaults).dmCopies) << "flag 2 gives the defaults";
  ASSERT_EQ(0, Set(9, 4));
  EXPECT_EQ(defaults, Get(6)) << "6 is 2 with 4 only adding";
  ASSERT_EQ(0, Set(9, 4));
  const std::vector<BYTE> rebuilt = Get(1);
  EXPECT_EQ(1, Head(rebuilt).dmCopies) << "flag 1 rebuilds from the stored state";
  ASSERT_EQ(0, Set(9, 4));
  EXPECT_EQ(1, Head(Get(3)).dmCopies) << "3 is 1";
  EXPECT_EQ(0, api_.getLastError(handle_)) << "flags 1 and 2 clear the error";
  for (DWORD bad : {0u, 0x10u, 0x20u, 0x40u, 0x8u}) {
    std::vector<BYTE> dm = Get(bad, -1);
    EXPECT_EQ(1, api_.getLastError(handle_)) << "flags " << bad;
    EXPECT_EQ(0xEE, dm[0]) << "nothing copied for flags " << bad;
  }
  EXPECT_EQ(kSize, api_.getDevmode(handle_, 4, nullptr)) << "a null buffer measures";
}

TEST_F(ApiDevmodeTest, AnAcquisitionThatCallsNoLibraryLeavesNoError) {
  // The sample printer has no bidirectional port: the update asks nothing.
  for (int round = 0; round < 2; ++round) {
    Get(0x11);
    EXPECT_EQ(0, api_.getLastError(handle_)) << "round " << round;
  }
}

TEST_F(ApiDevmodeTest, MergeOfAGivenDevmodeKeepsACustomSize) {
  std::vector<BYTE> given = Get(4);
  DEVMODEW head = Head(given);
  head.dmPaperSize = 256;
  head.dmPaperWidth = 1500;
  head.dmPaperLength = 2000;
  head.dmFields |= DM_PAPERWIDTH | DM_PAPERLENGTH;
  memcpy(given.data(), &head, sizeof(head));
  std::vector<BYTE> out(kSize);
  ASSERT_EQ(kSize, api_.getDevmodeEx(handle_, 8, out.data(), given.data(), nullptr));
  const DEVMODEW result = Head(out);
  EXPECT_EQ(1500, result.dmPaperWidth);
  EXPECT_EQ(2000, result.dmPaperLength);
  EXPECT_TRUE(result.dmFields & DM_PAPERWIDTH);
  EXPECT_TRUE(result.dmFields & DM_PAPERLENGTH);
  EXPECT_FALSE(result.dmFields & DM_PAPERSIZE);
}

TEST_F(ApiDevmodeTest, TruncatedOrForeignDevmodesAreMergedSafely) {
  const std::vector<BYTE> current = Get(4);
  struct Case {
    const char* what;
    WORD size;
    WORD extra;
    bool foreignTag;
  };
  for (const Case& c : {Case{"public part only", 220, 0, false}, Case{"an old public part", 156, 0, false},
                        Case{"too short to count", 40, 0, false}, Case{"a foreign private part", 220, 1016, true},
                        Case{"a private part shorter than ours", 220, 100, false}}) {
    std::vector<BYTE> given(4096, 0x5A);
    memcpy(given.data(), current.data(), kSize);
    DEVMODEW head = Head(given);
    head.dmSize = c.size;
    head.dmDriverExtra = c.extra;
    memcpy(given.data(), &head, sizeof(head));
    if (c.foreignTag) memset(given.data() + 220, 0x33, 148);
    std::vector<BYTE> out(kSize);
    EXPECT_EQ(kSize, api_.getDevmodeEx(handle_, 8, out.data(), given.data(), nullptr)) << c.what;
    EXPECT_EQ(0, memcmp(out.data() + 68, &current[68], 2)) << c.what << ": the result is the driver's own size";
  }
}

TEST_F(ApiDevmodeTest, NoMemoryLeavesTheSettings) {
  ASSERT_EQ(0, Set(9, 4));
  const std::vector<BYTE> before = Get(4);
  for (int n = 0; n < 400; ++n) {
    std::vector<BYTE> dm(kSize, 0xEE);
    SimFailAllocations(n);
    const LONG r = api_.getDevmode(handle_, 4, dm.data());
    SimFailAllocations(-1);
    if (r == kSize) break;
    ASSERT_EQ(-1, r) << "allocation " << n;
    ASSERT_EQ(100, api_.getLastError(handle_)) << "allocation " << n;
    ASSERT_EQ(0xEE, dm[0]) << "nothing handed out";
    ASSERT_EQ(before, Get(4)) << "allocation " << n;
  }
}

}  // namespace
}  // namespace zems_test
