// Settings-file, preset and quality status items through the exports: what refuses a settings
// file, that a refused one changes nothing, and the preset name and comment a file carries.
#include <gtest/gtest.h>

#include <string.h>

#include "api_e2e/api_items_fixture.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/store/preset_store.h"
#include "core/tables/model_record.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

constexpr DWORD kSettingsFile = 1, kCopies = 9, kJobType = 10, kPreset = 56;
constexpr UINT kPresetSize = 824;

Record File(const char* path) {
  Record r(kPresetSize, 1);
  r.Text(4, path);
  return r;
}

class PresetTest : public ApiItemsTest {
 protected:
  // The header a settings file of this printer carries.
  std::string Header() {
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(TEXT("Api")), &printer, nullptr)) return "";
    DriverContext* ctx = CtxOpen(printer, printer, nullptr, 0, kKindSettings, 0, nullptr);
    std::string header;
    if (ctx) {
      const ModelRecord* record = CtxModelRecord(ctx);
      header = "RstVersion=" + std::to_string(record->layoutVersion2) + "\r\nRstMachine=" +
               std::to_string(record->modelCode) + "\r\nRstLanguage=" + std::to_string(ItemGetRawById(ctx, 169)) +
               "\r\nRstOSKind=" + std::to_string(ItemGetRawById(ctx, 707)) + "\r\n";
      CtxDestroy(ctx, kReleaseExpired);
    }
    ClosePrinter(printer);
    return header;
  }
  // The install lists the driver pack's presets; this makes the given file the only one.
  void OnlyPreset(LPCWSTR path, LPCWSTR name) {
    HANDLE printer = nullptr;
    ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(TEXT("Api")), &printer, nullptr));
    DriverContext* ctx = CtxOpen(printer, printer, nullptr, 0, kKindSettings, 0, nullptr);
    ASSERT_NE(nullptr, ctx);
    PresetClearList(ctx);
    PresetAppendEntry(ctx, path, name, nullptr);
    EXPECT_EQ(1, PresetGetCount(ctx));
    CtxDestroy(ctx, kReleaseExpired);
    CtxCacheExpire(TRUE);
    ClosePrinter(printer);
  }
};

TEST_F(PresetTest, SettingsFileRefusals) {
  Start();
  ASSERT_TRUE(WriteMachineFile("C:\\presets\\any.rst", "[Api]\r\ndmCopies=7\r\n"));
  struct Case {
    const char* what;
    const char* path;
    LONG error;
  } cases[] = {
      {"a relative path", "presets\\any.rst", 10},
      {"a missing file", "C:\\presets\\none.rst", 10},
  };
  for (const Case& c : cases) {
    Record r = File(c.path);
    EXPECT_EQ(-1, Set(kSettingsFile, r)) << c.what;
    EXPECT_EQ(c.error, Error()) << c.what;
  }
  Record stored(408, 2);
  stored.Long(4, 3).Long(8, 0);
  ASSERT_EQ(0, Set(kJobType, stored)) << Error();
  Record any = File("C:\\presets\\any.rst");
  EXPECT_EQ(-1, Set(kSettingsFile, any)) << "a stored job takes no settings file";
  EXPECT_EQ(7, Error());
}

TEST_F(PresetTest, AFileOfAnotherMachineChangesNothing) {
  Start();
  Record user(392, 1);
  user.Long(8, 1).Text(12, "keep1");
  ASSERT_EQ(0, Set(26, user)) << Error();
  ASSERT_TRUE(WriteMachineFile("C:\\presets\\other.rst",
                               "[Api]\r\nRstVersion=250\r\nRstMachine=149\r\ndmCopies=7\r\nzdmUserID=other\r\n"));
  const std::string ini = SettingsIni();
  const auto store = StoreTexts();
  const std::vector<BYTE> dm = Devmode();
  Record other = File("C:\\presets\\other.rst");
  EXPECT_EQ(-1, Set(kSettingsFile, other));
  EXPECT_EQ(1001, Error());
  EXPECT_EQ(-1, Get(kSettingsFile, other, 1));
  EXPECT_EQ(1001, Error());
  EXPECT_EQ(dm, Devmode());
  EXPECT_EQ(ini, SettingsIni());
  EXPECT_EQ(store, StoreTexts());
}

TEST_F(PresetTest, NameAndCommentOfASettingsFile) {
  Start();
  const std::string header = Header();
  ASSERT_NE("", header);
  ASSERT_TRUE(WriteMachineFile("C:\\presets\\draft.rst", "[Api]\r\n" + header +
                                                              "dmCopies=7\r\nwdmPresetName=Draft\r\n"
                                                              "wdmPresetComment=two\\nlines\r\n"));
  const std::vector<BYTE> dm = Devmode();
  Record r = File("C:\\presets\\draft.rst");
  ASSERT_EQ(static_cast<LONG>(kPresetSize), Get(kSettingsFile, r, 1)) << Error();
  EXPECT_EQ("Draft", r.GetText(264, 37));
  EXPECT_EQ("two\r\nlines", r.GetText(301, 513));
  EXPECT_EQ(dm, Devmode()) << "reading a file leaves the settings as they were";

  ASSERT_EQ(0, Set(kSettingsFile, r)) << Error();
  SimpleRecord copies = GetSimple(kCopies);
  EXPECT_EQ(7, copies.value) << "the file's settings are taken";
}

TEST_F(PresetTest, PresetNumberOneLoadsSlotZero) {
  Start();
  const std::string header = Header();
  ASSERT_NE("", header);
  ASSERT_TRUE(WriteMachineFile("C:\\presets\\five.rst", "[Api]\r\n" + header + "zdmMediaType=2\r\n"));
  OnlyPreset(TEXT("C:\\presets\\five.rst"), TEXT("Five"));
  Record one(kPresetSize, 1);
  one.Long(816, 1);
  EXPECT_EQ(-1, Set(kPreset, one)) << "a version-1 record";
  Record two(kPresetSize, 2);
  two.Long(816, 2);
  EXPECT_EQ(-1, Set(kPreset, two)) << "there is one preset";
  two.Long(816, 0);
  EXPECT_EQ(-1, Set(kPreset, two)) << "numbers start at 1";
  two.Long(816, 1);
  ASSERT_EQ(0, Set(kPreset, two)) << Error();
  EXPECT_EQ(2, GetSimple(3).value) << "slot 0's file is loaded: transparencies";
}

}  // namespace
}  // namespace zems_test
