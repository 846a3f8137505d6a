// Single-setting status items through the exports: value tests, the dmFields bit, the stored
// action word and the items with gates of their own (29, 61, 62, 73).
#include <gtest/gtest.h>

#include <string.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "api_e2e/api_e2e_fixture.h"
#include "core/system/driver_paths.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {


const char kExclusiveHead[] = "*Exclusive: {\n";
// Proof print and the job binder's merge switch as model settings.
const char kActions[] =
    "*OpenUI *TOV_zdmActionProof: Boolean\n"
    "*TOV_zdmActionProof True: \"ON\"\n*TOV_zdmActionProof False: \"OFF\"\n*DefaultTOV_zdmActionProof: False\n"
    "*CloseUI\n"
    "*OpenUI *TOV_zdmActionMarge: Boolean\n"
    "*TOV_zdmActionMarge True: \"ON\"\n*TOV_zdmActionMarge False: \"OFF\"\n*DefaultTOV_zdmActionMarge: False\n"
    "*CloseUI\n"
    "*Exclusive: {\n";

class ApiItemsTest : public ApiE2eTest {
 protected:
  void Install(const std::string& func1 = "") {
    InstallPrinterWithModel({{kExclusiveHead, kActions}}, "");
    if (!func1.empty()) AddApiIniKey("ZEMSAPIFunc1=" + func1);
    ASSERT_NE(nullptr, EnableApi());
    Level(16);
  }
  // Adds a key to the "ZEMSAPI" section of the installed printer's data ini. The install marks
  // its batch install in a section of its own after it, so the key goes right under the header.
  void AddApiIniKey(const std::string& line) {
    const std::string narrow = DataIniPath();
    ASSERT_FALSE(narrow.empty());
    std::ifstream in(HostPath(narrow), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::string ini = text.str();
    const size_t header = ini.find("[ZEMSAPI]");
    ASSERT_NE(std::string::npos, header) << "no API section in " << narrow;
    const size_t eol = ini.find('\n', header);
    ASSERT_NE(std::string::npos, eol);
    ini.insert(eol + 1, line + "\r\n");
    ASSERT_TRUE(WriteMachineFile(narrow, ini));
  }
  LONG Set(DWORD id, LONG value) {
    SimpleRecord r = {1, value, 0, 0, 0, {}, 0};
    return api_.setStatus(handle_, id, &r, nullptr, 0);
  }
  LONG Get(DWORD id, LONG* value = nullptr) {
    SimpleRecord r = {};
    r.value = -77;
    const LONG got = api_.getStatus(handle_, id, &r, 1);
    if (value) *value = r.value;
    return got;
  }
};

TEST_F(ApiItemsTest, AllowedAndRefusedValues) {
  Install();
  struct Case {
    DWORD id;
    LONG value;
    LONG result;
  };
  const Case cases[] = {
      {9, 5, 0},      // copies within the range
      {9, 100000, -1},  // beyond dmCopies' maximum
      {3, 2, 0},      // a listed media type
      {3, 250, -1},   // none
      {4, 13, 0},     // the inner tray
      {6, 2, 0},      // landscape
      {6, 7, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.result, Set(c.id, c.value)) << "item " << c.id << " value " << c.value;
    if (c.result == -1) {
      EXPECT_EQ(7, api_.getLastError(handle_)) << "item " << c.id;
    }
    LONG now = 0;
    EXPECT_EQ(32, Get(c.id, &now));
    if (c.result == 0) {
      EXPECT_EQ(c.value, now) << "item " << c.id;
    }
  }
}

TEST_F(ApiItemsTest, OrientationMarksItsDmFieldsBit) {
  Install();
  ASSERT_EQ(0, Set(6, 2));
  std::vector<BYTE> dm(1236);
  ASSERT_EQ(1236, api_.getDevmode(handle_, 4, dm.data()));
  DEVMODEW head;
  memcpy(&head, dm.data(), sizeof(head));
  EXPECT_EQ(2, head.dmOrientation);
  EXPECT_TRUE(head.dmFields & DM_ORIENTATION);
}

TEST_F(ApiItemsTest, JobActionsStoreTheWholeActionWord) {
  Install();
  ASSERT_EQ(0, Set(30, 1)) << api_.getLastError(handle_);
  const std::string file = SettingsFile();
  EXPECT_NE(std::string::npos, file.find("zdmAction=")) << file;
  EXPECT_EQ(std::string::npos, file.find("ACT_PROOFPRINT=")) << "the bit's own key is not written";
  EXPECT_EQ(-1, Set(29, 1)) << "merge printing needs the job-binder companion";
  EXPECT_EQ(7, api_.getLastError(handle_));
}

TEST_F(ApiItemsTest, LoadShareWithoutUsableRows) {
  Install();
  EXPECT_EQ(-1, Set(61, 1)) << "no row of the sample's load share is offered";
  LONG value = 0;
  EXPECT_EQ(32, Get(61, &value)) << "the stored value is still named through the table";
  EXPECT_EQ(0, value);
}

TEST_F(ApiItemsTest, IndexRotationNeedsIndexPaper) {
  Install();
  EXPECT_EQ(-1, Set(62, 3));
  EXPECT_EQ(7, api_.getLastError(handle_)) << "code 3 is refused before the media type is looked at";
  EXPECT_EQ(-1, Set(62, 1));
  EXPECT_EQ(15, api_.getLastError(handle_)) << "the media type is not index paper";
  LONG value = -1;
  EXPECT_EQ(32, Get(62, &value));
  EXPECT_EQ(0, value);
}

TEST_F(ApiItemsTest, PageSeparationNeedsTheIniBit) {
  Install();
  EXPECT_EQ(-1, Set(73, 1));
  EXPECT_EQ(-1, Get(73));
}

TEST_F(ApiItemsTest, PageSeparationWithTheIniBitTakesZeroAndOne) {
  Install("512");
  EXPECT_EQ(0, Set(73, 1)) << api_.getLastError(handle_);
  LONG value = 0;
  EXPECT_EQ(32, Get(73, &value));
  EXPECT_EQ(1, value);
  EXPECT_EQ(-1, Set(73, 2));
}

}  // namespace
}  // namespace zems_test
