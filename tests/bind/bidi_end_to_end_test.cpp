// The sample printer with the bidirectional attribute, installed as the machine's installer
// puts it, and the scripted communication library: an update fills trays, options and memory
// and records BidiFlag and BidiFunc; a context opened later shows the same options; settings
// acquired by a user who cannot write printer data wait in the bidi ini until an
// administrator's context moves them to printer data.
#include "bidi_fixture.h"
#include "core/bind/bidi_acquire.h"
#include "core/bind/bidi_store.h"
#include "core/common/ini_access.h"
#include "core/context/context_cache.h"
#include "core/context/driver_context.h"
#include "core/modules/module_rows.h"
#include "core/system/settings_folders.h"
#include "support/machine_fixture.h"
#include "support/test_printer.h"
#include "support/test_variant.h"

namespace zems_test {
namespace {

const char kPrinter[] = "ZEMS Printer";

class BidiEndToEnd : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    ResetTestVariant();
    // The stand-in printer answers no per-tray lists, which the print-method module of the
    // printer interface and the exclusion DLL asks for (event 21); the graphics DLL's does not.
    UseModuleRows(kModuleRowsGraphics);
    CtxCacheInit();
    ASSERT_EQ(0, RunHost("machine install --model " + SourceDir() + "/samples/models/zems_c4.zmd --attributes 0x840" +
                         " --extra " + SourceDir() + "/samples/driver/OV1BD172.ini"));
    ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(u"ZEMS Printer"), &printer_, nullptr));
    Open();
    // The per-machine settings folder, which the install pass makes.
    ASSERT_TRUE(PathCreateSettingsFolder(ctx_));
  }
  void TearDown() override {
    Close();
    if (printer_) ClosePrinter(printer_);
    SetUserIsAdmin(true);
    MachineTest::TearDown();
  }
  void Open() {
    ctx_ = CtxOpen(printer_, printer_, nullptr, 0, kKindSettings, 0, nullptr);
    ASSERT_NE(nullptr, ctx_);
  }
  void Close() {
    if (ctx_) CtxDestroy(ctx_, kReleaseExpired);
    ctx_ = nullptr;
    CtxCacheExpire(TRUE);
  }
  void Answers(DWORD memory, std::vector<DWORD> options) {
    std::string all;
    for (const std::string& line :
         {std::string("model\tALTEN KV310"), "info1\t" + HexWords({3, 4}), "info2\t" + HexWords(options),
          "info11\t" + HexWords({memory}), "info8\t" + HexBytes("SYS 2"), "item258\t" + HexWords({1})})
      all += std::string(kPrinter) + "\t" + line + "\n";
    WriteScript("ov4mannt.printers", all);
  }
  LONG_PTR Raw(WORD id) { return ItemGetRawById(ctx_, id); }
  DWORD PrinterValue(const char16_t* name) {
    DWORD value = 0, type = 0, needed = 0;
    GetPrinterDataW(printer_, const_cast<LPWSTR>(name), &type, reinterpret_cast<BYTE*>(&value), 4, &needed);
    return value;
  }
  std::string BidiIniKey(const char16_t* key) {
    WCHAR path[MAX_PATH] = {}, value[32] = {};
    PathInSettingsFolder(path, MAX_PATH, kBidiIniName, ctx_);
    IniReadString(u"ZEMS Printer", key, u"", value, 32, path);
    return Narrow(value);
  }

  HANDLE printer_ = nullptr;
  DriverContext* ctx_ = nullptr;
};

TEST_F(BidiEndToEnd, InstallRegistersBothNamesOfTheLibrary) {
  for (const char16_t* name : {u"ov4manNT.dll", u"ovoman32.dll"}) {
    HMODULE module = LoadLibraryW(name);
    ASSERT_NE(nullptr, module) << Narrow(name);
    EXPECT_NE(nullptr, reinterpret_cast<void*>(GetProcAddress(module, "OrvelInitializeBidiApiW")));
    FreeLibrary(module);
  }
}

TEST_F(BidiEndToEnd, UpdateFillsTheSettingsAndALaterContextShowsThem) {
  Answers(1073741824, {1, 106});
  ASSERT_EQ(1, BidiUpdateFromPrinterSilent(ctx_));
  EXPECT_EQ(1, Raw(10111));
  EXPECT_EQ(1, Raw(10112));
  EXPECT_EQ(1, Raw(10014));
  EXPECT_EQ(1, Raw(10023));
  EXPECT_EQ(1048576, Raw(10012));
  EXPECT_EQ(1, Raw(710));
  EXPECT_EQ(1u, PrinterValue(u"BidiFlag"));
  EXPECT_EQ(DWORD(Raw(722)), PrinterValue(u"BidiFunc") & 0xFF);
  EXPECT_EQ("", BidiIniKey(u"BidiFlag")) << "printer data holds the state of an administrator";

  Close();
  Open();
  EXPECT_EQ(1, Raw(10111));
  EXPECT_EQ(1, Raw(10014));
  EXPECT_EQ(1, Raw(10023));
  EXPECT_EQ(1048576, Raw(10012));
}

TEST_F(BidiEndToEnd, SettingsOfAUserWhoCannotWritePrinterDataWaitInTheBidiIni) {
  // The install pass has written BidiFlag; an administrator's first update.
  Answers(1073741824, {1});
  ASSERT_EQ(1, BidiUpdateFromPrinterSilent(ctx_));
  Close();

  SetUserIsAdmin(false);
  Open();
  Answers(2147483648u, {106});
  ASSERT_EQ(1, BidiUpdateFromPrinterSilent(ctx_));
  EXPECT_EQ(2097152, Raw(10012));
  EXPECT_EQ(0, Raw(10014));
  EXPECT_EQ(1, Raw(10023));
  EXPECT_EQ("1", BidiIniKey(u"BidiFlag"));
  EXPECT_EQ("1", BidiIniKey(u"BidiExFlag"));
  EXPECT_EQ("2097152", BidiIniKey(u"zdmPrinterMemory"));
  EXPECT_EQ(1u, PrinterValue(u"BidiFlag"));
  Close();

  // A context of the same user takes them from the ini but leaves them there.
  Open();
  EXPECT_EQ(2097152, Raw(10012));
  EXPECT_EQ("1", BidiIniKey(u"BidiFlag"));
  Close();

  SetUserIsAdmin(true);
  Open();
  EXPECT_EQ(2097152, Raw(10012));
  EXPECT_EQ(0, Raw(10014));
  EXPECT_EQ(1, Raw(10023));
  EXPECT_EQ("", BidiIniKey(u"BidiFlag")) << "the section is gone";
  Close();
  // Printer data holds them now.
  Open();
  EXPECT_EQ(2097152, Raw(10012));
  EXPECT_EQ(0, Raw(10014));
  EXPECT_EQ(1, Raw(10023));
}

}  // namespace
}  // namespace zems_test
