// The stored-settings answers of zemsexc through its exports: the watermark lines, the
// settings ini's path and the ANSI DEVMODE. The printer's model is the sample with option
// commands for the watermark items added, so a watermark writes lines.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/bind/export_of.h"
#include "core/context/context_cache.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_table.h"
#include "core/pjl/pjl_service.h"
#include "core/store/settings_stores.h"
#include "core/store/stamp_store.h"
#include "core/system/settings_folders.h"
#include "platform/sim.h"
#include "support/machine_fixture.h"
#include "support/test_printer.h"
#include "support/test_variant.h"

namespace zems_test {
namespace {

typedef void*(WINAPI* GetExclusiveFn)(const char*);
typedef void(WINAPI* FreeExclusiveFn)(void*);
typedef int(WINAPI* WaterMarkFn)(void*, int, int, char*, int*);
typedef int(WINAPI* IniNameFn)(const char*, int, char*, int*);
typedef int(WINAPI* DevmodeFn)(const char*, int, int, void*, int*);

const char kWatermarkCommands[] =
    "\n*OpenUI *TOV_wdmWmChar: String\n"
    "*OptionCommand: {\"@PJL SET WMKCHAR = <22>\" \"<22> <0D0A>\"}\n"
    "*StringValue: 32\n*CloseUI\n"
    "*OpenUI *TOV_wdmWmImage: String\n"
    "*OptionCommand: {\"@PJL SET WMKIMAGE = <22>\" \"<22> <0D0A>\"}\n"
    "*StringValue: 32\n*CloseUI\n"
    "*OpenUI *TOV_wdmWmPage: Boolean\n"
    "*OptionCommand: {\"@PJL SET WMKPAGE = \" \" <0D0A>\"}\n"
    "*TOV_wdmWmPage True: \"FIRST\"\n*TOV_wdmWmPage False: \"ALL\"\n*DefaultTOV_wdmWmPage: False\n*CloseUI\n"
    "*OpenUI *TOV_wdmWmStartPage: Numeric\n"
    "*OptionCommand: {\"@PJL SET WMKSTART = \" \" <0D0A>\"}\n"
    "*NumericValue: 0 \"0 1 1 999 0 0 1 1\"\n*CloseUI\n"
    "*OpenUI *TOV_wdmWmEndPage: Numeric\n"
    "*OptionCommand: {\"@PJL SET WMKEND = \" \" <0D0A>\"}\n"
    "*NumericValue: 0 \"0 1 1 999 0 0 1 1\"\n*CloseUI\n"
    "*OpenUI *TOV_wdmWmDensity: Numeric\n"
    "*OptionCommand: {\"@PJL SET WMKDENSITY = \" \" <0D0A>\"}\n"
    "*NumericValue: 0 \"0 50 0 100 0 0 1 1\"\n*CloseUI\n";

constexpr WORD kWmKind = 117, kWmChar = 929, kWmImage = 930, kWmPage = 941, kWmStart = 942, kWmEnd = 943,
               kWmDensity = 937;

class ExcStoredTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    ResetTestVariant();
    CtxCacheInit();
    std::ifstream in(SourceDir() + "/samples/models/zems_c4.zmd", std::ios::binary);
    ASSERT_TRUE(in);
    std::stringstream text;
    text << in.rdbuf() << kWatermarkCommands;
    const std::string model = Root() + "/zems_wm.zmd";
    std::ofstream(model, std::ios::binary) << text.str();
    ASSERT_EQ(0, RunHost("machine install --model " + model + " --printer Wm --extra " + SourceDir() +
                         "/samples/driver/OV1BD172.ini"));
    ForgetFactoryWatermarks();
    dll_ = LoadLibraryW(TEXT("zemsexc.dll"));
    ASSERT_NE(nullptr, dll_);
    get_ = ExportOf<GetExclusiveFn>(dll_, "ExcGetExclusive");
    free_ = ExportOf<FreeExclusiveFn>(dll_, "ExcFreeExclusive");
    list_ = ExportOf<WaterMarkFn>(dll_, "ExcGetWaterMarkList");
    ini_ = ExportOf<IniNameFn>(dll_, "ExcGetIniFileName");
    devmode_ = ExportOf<DevmodeFn>(dll_, "ExcGetDriverDevmode");
    ASSERT_TRUE(get_ && free_ && list_ && ini_ && devmode_);
  }
  void TearDown() override {
    if (handle_) free_(handle_);
    if (dll_) FreeLibrary(dll_);
    CtxCacheExpire(TRUE);
    MachineTest::TearDown();
  }
  // The install's pass stored the model's factory watermarks; these tests start without any.
  void ForgetFactoryWatermarks() {
    HANDLE printer = nullptr;
    ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(TEXT("Wm")), &printer, nullptr));
    DriverContext* ctx = CtxOpen(printer, printer, nullptr, 0, kKindSettings, 0, nullptr);
    ASSERT_NE(nullptr, ctx);
    EXPECT_TRUE(StampSetCount(ctx, 0));
    CtxDestroy(ctx, kReleaseExpired);
    CtxCacheExpire(TRUE);
    ClosePrinter(printer);
  }
  // Stores watermark n with the given items through a settings context.
  void StoreWatermark(int n, LONG kind, const char16_t* text, std::vector<std::pair<WORD, LONG>> items) {
    HANDLE printer = nullptr;
    ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(TEXT("Wm")), &printer, nullptr));
    DriverContext* ctx = CtxOpen(printer, printer, nullptr, 0, kKindSettings, 0, nullptr);
    ASSERT_NE(nullptr, ctx);
    ItemSetRawById(ctx, kWmKind, kind);
    ItemSetText(ctx, ItemFind(ctx, kind == 1 ? kWmChar : kWmImage), reinterpret_cast<const WCHAR*>(text));
    for (auto& i : items) ItemSetRawById(ctx, i.first, i.second);
    // The settings folder exists once the printer is used; make it for this machine.
    std::u16string path = PathSettingsFile(ctx);
    for (size_t i = 3; i < path.size(); ++i)
      if (path[i] == u'\\') CreateDirectoryW(path.substr(0, i).c_str(), nullptr);
    EXPECT_EQ(1, StampSave(ctx, n));
    CtxDestroy(ctx, kReleaseExpired);
    CtxCacheExpire(TRUE);
    ClosePrinter(printer);
  }
  void* Handle() {
    if (!handle_) handle_ = get_("Wm");
    return handle_;
  }
  // The lines of the answer, its NULs shown as "|".
  std::string List(int kind, int* result = nullptr) {
    int length = -5;
    int r = list_(Handle(), kind, 0, nullptr, &length);
    if (result) *result = r;
    if (length <= 0) return "(length " + std::to_string(length) + ")";
    EXPECT_EQ(1, r);
    std::vector<char> buffer(static_cast<size_t>(length));
    EXPECT_EQ(0, list_(Handle(), kind, length, buffer.data(), &length));
    std::string out;
    for (char c : buffer) out += c ? std::string(1, c) : "|";
    return out;
  }

  HMODULE dll_ = nullptr;
  void* handle_ = nullptr;
  GetExclusiveFn get_ = nullptr;
  FreeExclusiveFn free_ = nullptr;
  WaterMarkFn list_ = nullptr;
  IniNameFn ini_ = nullptr;
  DevmodeFn devmode_ = nullptr;
};

TEST_F(ExcStoredTest, NoStoredWatermarkAnswersNothing) {
  int result = -5;
  EXPECT_EQ("(length 0)", List(0, &result));
  EXPECT_EQ(0, result);
  EXPECT_EQ(-1, list_(nullptr, 0, 0, nullptr, nullptr));
}

TEST_F(ExcStoredTest, WatermarkBlocksByKindAndPage) {
  StoreWatermark(0, 1, u"DRAFT \"X\"\r\n", {{kWmPage, 0}, {kWmStart, 3}, {kWmEnd, 5}, {kWmDensity, 40}});
  StoreWatermark(1, 2, u"logo.bmp", {{kWmPage, 1}, {kWmStart, 2}, {kWmEnd, 4}, {kWmDensity, 40}});
  // Page 0: no start or end page line; the text's quote is left out and its line end, stored
  // as blanks, breaks no line.
  EXPECT_EQ("@PJL SET WMKCHAR = \"DRAFT X  \" \r\n@PJL SET WMKPAGE = ALL \r\n@PJL SET WMKORDER = PAPER \r\n"
            "@PJL SET WMKDENSITY = 40 \r\n||",
            List(0));
  EXPECT_EQ("@PJL SET WMKIMAGE = \"logo.bmp\" \r\n@PJL SET WMKPAGE = FIRST \r\n@PJL SET WMKSTART = 2 \r\n"
            "@PJL SET WMKEND = 4 \r\n@PJL SET WMKORDER = PAPER \r\n||",
            List(1));
  // Any other kind lists the image watermarks with the rows common to both kinds only.
  EXPECT_EQ("@PJL SET WMKPAGE = FIRST \r\n@PJL SET WMKSTART = 2 \r\n@PJL SET WMKEND = 4 \r\n"
            "@PJL SET WMKORDER = PAPER \r\n||",
            List(5));
}

TEST_F(ExcStoredTest, TheWatermarkListLeavesTheSettingsAsTheyWere) {
  StoreWatermark(0, 1, u"DRAFT", {{kWmPage, 0}, {kWmDensity, 70}});
  ASSERT_NE(nullptr, Handle());
  // A second call gives the same answer: the first put back every item it selected.
  std::string first = List(0);
  EXPECT_EQ(first, List(0));
  int length = 0;
  char small[4] = {};
  EXPECT_EQ(1, list_(Handle(), 0, sizeof(small), small, &length));
  EXPECT_EQ(static_cast<int>(first.size()), length);
}

TEST_F(ExcStoredTest, IniFileName) {
  int length = -5;
  EXPECT_EQ(1, ini_("Wm", 0, nullptr, &length));
  ASSERT_GT(length, 1);
  std::vector<char> buffer(static_cast<size_t>(length));
  EXPECT_EQ(1, ini_("Wm", length - 1, buffer.data(), &length));
  EXPECT_EQ(0, ini_("Wm", length, buffer.data(), &length));
  std::string path(buffer.data());
  EXPECT_EQ(static_cast<size_t>(length), path.size() + 1);
  EXPECT_NE(std::string::npos, path.find('\\'));
  EXPECT_EQ(".ini", path.substr(path.size() - 4));
  EXPECT_EQ(-1, ini_("No such printer", 0, nullptr, &length));
  EXPECT_EQ(-1, ini_(nullptr, 0, nullptr, &length));
}

TEST_F(ExcStoredTest, DriverDevmodeInAnsiForm) {
  int length = -5;
  std::vector<unsigned char> dm(1172 + 16, 0xEE);
  EXPECT_EQ(1, devmode_("Wm", 1, 1171, dm.data(), &length));
  EXPECT_EQ(1172, length);
  EXPECT_EQ(1, devmode_("Wm", 1, 1172, nullptr, &length));
  EXPECT_EQ(-1, devmode_("Wm", 2, 1172, dm.data(), &length));
  EXPECT_EQ(-1, devmode_("No such printer", 1, 1172, dm.data(), &length));
  ASSERT_EQ(0, devmode_("Wm", 1, 1172, dm.data(), &length));
  EXPECT_EQ(1172, length);
  EXPECT_EQ("Wm", std::string(reinterpret_cast<const char*>(dm.data())));
  for (int i = 3; i < 32; ++i) EXPECT_EQ(0, dm[i]) << i;
  const WORD size = static_cast<WORD>(dm[36] | dm[37] << 8);
  EXPECT_EQ(220 - 64, size);
  const WORD extra = static_cast<WORD>(dm[38] | dm[39] << 8);
  EXPECT_EQ(1016, extra);
  // The form name is ANSI, NUL-terminated within its 32 bytes; nothing is written past 1172.
  const std::string form(reinterpret_cast<const char*>(dm.data() + 70), strnlen(reinterpret_cast<const char*>(dm.data() + 70), 32));
  EXPECT_EQ("A4", form);
  for (size_t i = 1172; i < dm.size(); ++i) EXPECT_EQ(0xEE, dm[i]) << i;
}

TEST_F(ExcStoredTest, HostPrintsTheStoredAnswers) {
  StoreWatermark(0, 1, u"DRAFT", {{kWmPage, 0}, {kWmDensity, 40}});
  std::string out;
  EXPECT_EQ(0, RunHost("pjl --printer Wm --watermarks 0 --watermarks 1 --ini --devmode", out)) << out;
  for (const char* shown : {"watermarks 0: 0, length 111\nlines:\n  @PJL SET WMKCHAR = \"DRAFT\" \n  @PJL SET WMKPAGE = ALL \n",
                            "watermarks 1: 0, length 0\nlines:\n  (none)\n", "ini: 0, length ", ".ini\n",
                            "devmode: 0, length 1172\n  dmDeviceName: Wm\n  dmSize: 156, dmDriverExtra: 1016\n"})
    EXPECT_NE(std::string::npos, out.find(shown)) << shown << "\n" << out;
}

TEST(ExcDeviceName, CutToThirtyOneBytesOnACharacterBoundary) {
  SimSetAnsiCodePage(932);
  struct Case {
    std::string name;
    size_t kept;
  } cases[] = {
      {"Wm", 2},
      {std::string(31, 'P'), 31},
      {std::string(40, 'P'), 31},
      {std::string(30, 'P') + "\x82\xa0", 30},         // the character would end at byte 32
      {std::string(29, 'P') + "\x82\xa0" + "Q", 31},   // it ends at byte 31
      {std::string(29, 'P') + "\x82", 30},             // a lone lead byte at the end
  };
  for (const Case& c : cases) {
    BYTE field[32];
    memset(field, 0xEE, sizeof(field));
    ExcPutDeviceName(field, c.name.c_str());
    EXPECT_EQ(c.name.substr(0, c.kept), std::string(reinterpret_cast<const char*>(field), strnlen(reinterpret_cast<const char*>(field), 32)))
        << c.name.size();
    for (size_t i = c.kept; i < sizeof(field); ++i) EXPECT_EQ(0, field[i]) << c.name.size() << " at " << i;
  }
  SimSetAnsiCodePage(1252);
}

}  // namespace
}  // namespace zems_test
