// Bad input at each export of the application interface: documented result, nothing changed.
// And the levels: what CheckAPIVer offers, Init, and the last error below and above level 9.
#include <gtest/gtest.h>

#include <string.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "api_e2e/api_e2e_fixture.h"
#include "core/system/driver_paths.h"
#include "platform/sim.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

constexpr DWORD kCopiesItem = 9;

class ApiInputTest : public ApiE2eTest {
 protected:
  // The sample data ini with the API level key as given (empty: no key at all).
  static std::string DataIni(const std::string& level) {
    std::ifstream in(SourceDir() + "/samples/driver/OV1BD172.ini", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::string ini = text.str();
    const size_t at = ini.find("[ZEMSAPI]");
    if (at != std::string::npos) ini = ini.substr(0, at);
    if (!level.empty()) ini += "[ZEMSAPI]\r\nZEMSAPIVer=" + level + "\r\n";
    return ini;
  }
  // Replaces the installed printer's data ini.
  void WriteDataIni(const std::string& level) {
    const std::string path = DataIniPath();
    ASSERT_FALSE(path.empty());
    ASSERT_TRUE(WriteMachineFile(path.c_str(), DataIni(level)));
  }
};

TEST_F(ApiInputTest, OfferedLevelsAndInit) {
  InstallPrinter();
  struct Case {
    const char* key;
    LONG offered;
  };
  for (const Case& c : {Case{"", 3}, Case{"20", 16}, Case{"-5", 0}, Case{"10", 10}}) {
    SCOPED_TRACE(c.key);
    WriteDataIni(c.key);
    EXPECT_EQ(c.offered, api_.checkApiVer("Api"));
    EXPECT_EQ(0, api_.checkApiVer(nullptr));
    EXPECT_EQ(0, api_.checkApiVer(""));
  }
}

TEST_F(ApiInputTest, InitSettlesTheLevelBelowTheOffer) {
  InstallPrinter();
  WriteDataIni("12");
  ASSERT_EQ(12, api_.checkApiVer("Api"));
  const LONG untouched[2] = {0, 5};
  EXPECT_EQ(0, api_.init(0, untouched)) << "flag 0 changes nothing";
  EXPECT_EQ(0, api_.init(1, nullptr)) << "no record: nothing";
  ASSERT_NE(nullptr, EnableApi());
  BYTE bits[64] = {};
  Level(20);
  EXPECT_EQ(64, api_.getCaps(handle_, 0, nullptr)) << "a wanted level above the offer gives the offer (12)";
  Level(5);
  EXPECT_EQ(32, api_.getCaps(handle_, 0, nullptr));
  Level(-5);
  EXPECT_EQ(32, api_.getCaps(handle_, 0, bits)) << "below 0 reads as 0";
  for (BYTE b : bits) EXPECT_EQ(0, b) << "level 0 knows no status id";
}

TEST_F(ApiInputTest, LastErrorIsKeptAboveLevel8Only) {
  InstallPrinter();
  ASSERT_NE(nullptr, EnableApi());
  SimpleRecord r = {1, 0, 0, 0, 0, {}, 0};
  Level(8);
  EXPECT_EQ(-1, api_.getStatus(handle_, 37, &r, 1));
  EXPECT_EQ(-1, api_.getLastError(handle_)) << "level 8 keeps no error";
  Level(9);
  EXPECT_EQ(0, api_.getLastError(handle_)) << "nothing was stored at level 8";
  EXPECT_EQ(-1, api_.getStatus(handle_, 37, &r, 1));
  EXPECT_EQ(2, api_.getLastError(handle_)) << "a disabled item";
}

TEST_F(ApiInputTest, BadInputPerExport) {
  InstallPrinter();
  ASSERT_NE(nullptr, EnableApi());
  Level(16);
  void* h = handle_;
  void* unknown = reinterpret_cast<void*>(static_cast<uintptr_t>(0x1234));
  std::vector<BYTE> before(1236);
  ASSERT_EQ(1236, api_.getDevmode(h, 4, before.data()));
  SimpleRecord r = {1, 3, 0, 0, 0, {}, 0};
  SimpleRecord newer = {9, 3, 0, 0, 0, {}, 0};
  struct Case {
    const char* what;
    LONG result;
    LONG got;
  };
  BYTE bits[64];
  const Case cases[] = {
      {"GetStatus null handle", -1, api_.getStatus(nullptr, kCopiesItem, &r, 1)},
      {"GetStatus unknown handle", -1, api_.getStatus(unknown, kCopiesItem, &r, 1)},
      {"GetStatus unknown id", -1, api_.getStatus(h, 80, &r, 1)},
      {"GetStatus disabled row 44", -1, api_.getStatus(h, 44, &r, 1)},
      {"GetStatus id 263 left out by the model", -1, api_.getStatus(h, 263, &r, 1)},
      {"GetStatus newer version", -1, api_.getStatus(h, kCopiesItem, &newer, 2)},
      {"GetStatus null record measures", 32, api_.getStatus(h, kCopiesItem, nullptr, 1)},
      {"GetStatus without get handler (36)", -1, api_.getStatus(h, 36, &r, 1)},
      {"SetStatus null record", -1, api_.setStatus(h, kCopiesItem, nullptr, bits, 0)},
      {"SetStatus read-only item 75", -1, api_.setStatus(h, 75, &r, bits, 0)},
      {"SetStatus unknown handle", -1, api_.setStatus(unknown, kCopiesItem, &r, bits, 0)},
      {"SetStatus not enabled 37", -1, api_.setStatus(h, 37, &r, bits, 0)},
      {"GetCaps null handle", -1, static_cast<LONG>(api_.getCaps(nullptr, 1, nullptr))},
      {"GetCaps disabled row 58", 0, static_cast<LONG>(api_.getCaps(h, 58, nullptr))},
      {"GetCaps unknown id", 0, static_cast<LONG>(api_.getCaps(h, 300, nullptr))},
      {"GetDevmode no flag", -1, api_.getDevmode(h, 0, before.data())},
      {"GetDevmode acquisition alone", -1, api_.getDevmode(h, 0x10, before.data())},
      {"GetDevmode null buffer measures", 1236, api_.getDevmode(h, 4, nullptr)},
      {"GetDevmodeEx 8 without input", -1, api_.getDevmodeEx(h, 8, nullptr, nullptr, nullptr)},
      {"GetDevmodeEx no flag", -1, api_.getDevmodeEx(h, 0x18, nullptr, before.data(), nullptr)},
      {"Save quality unknown handle", 0, api_.saveQuality(unknown)},
      {"Restore quality null handle", 0, api_.restoreQuality(nullptr)},
      {"Disable null handle", 1, api_.disable(nullptr)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.result, c.got) << c.what;
  }
  EXPECT_EQ(-1, api_.getStatus(h, 44, &r, 1));
  EXPECT_EQ(2, api_.getLastError(h));
  EXPECT_EQ(-1, api_.getStatus(h, kCopiesItem, &newer, 2));
  EXPECT_EQ(6, api_.getLastError(h));
  EXPECT_EQ(-1, api_.setStatus(h, kCopiesItem, nullptr, bits, 0));
  EXPECT_EQ(5, api_.getLastError(h));
  EXPECT_EQ(-1, api_.getDevmode(h, 0, nullptr));
  EXPECT_EQ(1, api_.getLastError(h));
  EXPECT_EQ(-1, api_.getDevmodeEx(h, 8, nullptr, nullptr, nullptr));
  EXPECT_EQ(5, api_.getLastError(h));
  std::vector<BYTE> after(1236);
  ASSERT_EQ(1236, api_.getDevmode(h, 4, after.data()));
  EXPECT_EQ(before, after) << "no bad call changed the settings";
  // Enable without a usable name answers null; an unknown printer's offer (3) becomes the level.
  EXPECT_EQ(nullptr, api_.enable(nullptr));
  EXPECT_EQ(nullptr, api_.enable(""));
  EXPECT_EQ(nullptr, api_.enable("No such printer"));
}

TEST_F(ApiInputTest, AnotherThreadsCallWhileBusyFails) {
  InstallPrinter();
  ASSERT_NE(nullptr, EnableApi());
  Level(16);
  // A second thread calls while the first is inside a call: the first holds the context by
  // running a long retrieval loop; the other's calls either run before or after (success) or
  // meet the busy context (failure value, nothing stored) - never anything else.
  std::atomic<bool> stop{false};
  std::thread worker([&] {
    std::vector<BYTE> dm(1236);
    while (!stop) api_.getDevmode(handle_, 4, dm.data());
  });
  int busy = 0, done = 0;
  for (int i = 0; i < 200; ++i) {
    SimpleRecord r = {};
    const LONG got = api_.getStatus(handle_, kCopiesItem, &r, 1);
    ASSERT_TRUE(got == 32 || got == -1) << got;
    if (got == -1) {
      ++busy;
    } else {
      ++done;
    }
  }
  // Disable refuses (0) while the other thread is inside a call and frees nothing then.
  LONG disabled = 0;
  for (int i = 0; i < 100000 && disabled != 1; ++i) {
    disabled = api_.disable(handle_);
    ASSERT_TRUE(disabled == 0 || disabled == 1);
  }
  if (disabled == 1) handle_ = nullptr;
  stop = true;
  worker.join();
  if (handle_) {
    EXPECT_EQ(1, api_.disable(handle_));
  }
  handle_ = nullptr;
  EXPECT_EQ(200, busy + done);
}

}  // namespace
}  // namespace zems_test
