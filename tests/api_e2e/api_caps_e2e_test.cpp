// Capabilities as an application sees them through zemsexc: the all-capabilities record
// fetched and freed, the media names, and the papers it then sets.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "api_e2e/api_e2e_fixture.h"

namespace zems_test {
namespace {

constexpr DWORD kAllCaps = 0x80000001, kFreeAllCaps = 0x80000002;
constexpr DWORD kMediaTypesCaps = 4, kMediaNamesCaps = 5, kPaperItem = 7;
constexpr LONG kA4 = 9, kCustom = 256;

LONG At(const BYTE* record, UINT offset) {
  LONG v;
  memcpy(&v, record + offset, sizeof(v));
  return v;
}

class ApiCapsE2eTest : public ApiE2eTest {
 protected:
  void SetUp() override {
    ApiE2eTest::SetUp();
    InstallPrinter();
    Level(16);
    ASSERT_NE(nullptr, EnableApi());
  }
};

TEST_F(ApiCapsE2eTest, RecordFetchedAndFreed) {
  const LONG_PTR address = api_.getCaps(handle_, kAllCaps, nullptr);
  ASSERT_NE(0, address) << api_.getLastError(handle_);
  const BYTE* record = reinterpret_cast<const BYTE*>(address);
  BYTE bitmap[64] = {};
  ASSERT_EQ(64, api_.getCaps(handle_, 0, bitmap));
  const BYTE* recordBitmap = reinterpret_cast<const BYTE*>(static_cast<UINT_PTR>(static_cast<DWORD>(At(record, 0))));
  ASSERT_NE(nullptr, recordBitmap);
  EXPECT_EQ(0, memcmp(bitmap, recordBitmap, sizeof(bitmap)));
  const LONG count = static_cast<LONG>(api_.getCaps(handle_, kMediaTypesCaps, nullptr));
  ASSERT_GT(count, 0);
  std::vector<LONG> media(static_cast<size_t>(count));
  ASSERT_EQ(count, api_.getCaps(handle_, kMediaTypesCaps, media.data()));
  EXPECT_EQ(count, At(record, 24));
  const BYTE* list = reinterpret_cast<const BYTE*>(static_cast<UINT_PTR>(static_cast<DWORD>(At(record, 28))));
  ASSERT_NE(nullptr, list);
  EXPECT_EQ(0, memcmp(media.data(), list, media.size() * sizeof(LONG)));
  EXPECT_EQ(1, api_.getCaps(handle_, kFreeAllCaps, reinterpret_cast<void*>(address)));
  EXPECT_EQ(0, api_.getCaps(handle_, kFreeAllCaps, reinterpret_cast<void*>(address))) << "freed once only";
}

TEST_F(ApiCapsE2eTest, MediaNamesThenPapers) {
  const LONG n = static_cast<LONG>(api_.getCaps(handle_, kMediaNamesCaps, nullptr));
  ASSERT_GT(n, 0);
  std::vector<char> names(static_cast<size_t>(n) * 64, 0);
  ASSERT_EQ(n, api_.getCaps(handle_, kMediaNamesCaps, names.data()));
  EXPECT_EQ("Plain", std::string(names.data()));

  LONG a4[8] = {1, kA4};
  EXPECT_EQ(0, api_.setStatus(handle_, kPaperItem, a4, nullptr, 0)) << api_.getLastError(handle_);
  LONG got[8] = {};
  ASSERT_EQ(32, api_.getStatus(handle_, kPaperItem, got, 1));
  EXPECT_EQ(kA4, got[1]);

  // 150 mm is 7086 / 1200 inch, which floors back to 1499: the size must survive the engine's
  // rewrite of the paper fields and the merge after the paper handler.
  LONG custom[8] = {1, kCustom, 1500, 2000};
  ASSERT_EQ(0, api_.setStatus(handle_, kPaperItem, custom, nullptr, 0)) << api_.getLastError(handle_);
  ASSERT_EQ(32, api_.getStatus(handle_, kPaperItem, got, 1));
  EXPECT_EQ(kCustom, got[1]);
  EXPECT_EQ(1500, got[2]);
  EXPECT_EQ(2000, got[3]);
}

}  // namespace
}  // namespace zems_test
