// The sample printer installed by zemshost: the initialize event runs the install pass, which
// leaves the per-machine settings folder, the preset and quality lists of the sample pack with
// their per-printer copies, the identity values and the model's registration; running the pass
// again as the next initialize would keeps all of it.
#include <gtest/gtest.h>

#include <string>

#include "core/context/context_cache.h"
#include "core/install/install_pass.h"
#include "core/install/pending_housekeeping.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "core/system/terminal_server.h"
#include "platform/sim.h"
#include "support/test_printer.h"
#include "store_install/install_fixture.h"

namespace {

class InstalledSamplePrinter : public zems_test::SamplePrinterTest {
 protected:
  static bool Exists(const std::u16string& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
  // What the pass leaves, checked after the install and again after a second pass.
  void ExpectInstalled(const char* when) {
    const std::u16string settings = u"C:\\_zems\\OV1BD170.ini";
    const struct {
      const char16_t* key;
      const char16_t* value;
    } keys[] = {
        {u"Count", u"3"},
        {u"PresetList0", u"C:\\_zems\\zdplain.rsr"},
        {u"PresetList0Name", u"Plain paper"},
        {u"PresetList2", u"C:\\_zems\\zddraft.rsr"},
        {u"QualityCount", u"2"},
        {u"QualityList0", u"C:\\_zems\\zqfine.rsr"},
        {u"QualityList1Name", u"Fast"},
        {u"BatchInstallDone", u"1"},
        {u"DefaultRst", u"C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\zemsdef.rsb"},
        {u"PackInstallDone", u"<absent>"},
    };
    for (const auto& k : keys)
      EXPECT_EQ(Ini(settings, u"ZEMS Printer", k.key), k.value) << when << ": " << zems_test::Narrow16(k.key);
    for (const char16_t* copy : {u"C:\\_zems\\zdplain.rsr", u"C:\\_zems\\zdduplex.rsr", u"C:\\_zems\\zddraft.rsr",
                                 u"C:\\_zems\\zqfine.rsr", u"C:\\_zems\\zqfast.rsr"})
      EXPECT_TRUE(Exists(copy)) << when << ": " << zems_test::Narrow16(copy);
    EXPECT_EQ(Ini(settings, u"PrinterInformation", u"ORVELINFO"), u"ZEMS sample printer") << when;
    EXPECT_EQ(Ini(u"C:\\WINDOWS\\orvdb.ini", u"ALTEN KV310", u"LoadDll"), u"OV1BC123.DLL") << when;
    EXPECT_TRUE(Exists(u"C:\\WINDOWS\\zemsinst.txt")) << when << ": the model's install file";
    std::string out = Host("machine data get 'ZEMS Printer' ZEMSPrinterName");
    EXPECT_NE(out.find("\"ZEMS Printer\""), std::string::npos) << when << ": " << out;
    out = Host("machine data get 'ZEMS Printer' DriverName");
    EXPECT_NE(out.find("\"ORVEL ALTEN KV310 ZEMS\""), std::string::npos) << when << ": " << out;
  }
};

TEST_F(InstalledSamplePrinter, TheInitializeEventInstallsThePacksListsAndIdentity) {
  EXPECT_NE(install_.find("install pass ran (initialize event)"), std::string::npos) << install_;
  DWORD attributes = GetFileAttributesW(u"C:\\_zems");
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << "a fresh install makes the settings folder";
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
  ExpectInstalled("after the install");

  // The pass of the initialize event, run again on the installed printer.
  ASSERT_TRUE(WritePrivateProfileStringW(u"PrinterInformation", u"ORVELINFO", nullptr, u"C:\\_zems\\OV1BD170.ini"));
  EXPECT_EQ(InstRunPrinterPass(printer_, nullptr, kInstPassInitialize, nullptr, nullptr), 1);
  ExpectInstalled("after a second pass");
}

TEST_F(InstalledSamplePrinter, AConnectionGetsTheClientsPassThroughTheAddConnectionEvent) {
  const std::string out = Host("machine install --model '" + SampleModel() + "' --server '\\\\SRV' --printer Shared");
  EXPECT_NE(out.find("install pass ran (add-connection event)"), std::string::npos) << out;
  HANDLE shared = nullptr;
  ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(u"\\\\SRV\\Shared"), &shared, nullptr));
  WCHAR ini[MAX_PATH];
  ASSERT_TRUE(PathSettingsFileOf(ini, MAX_PATH, 0, shared));
  WCHAR name[300] = {};
  ASSERT_NE(PrnGetPrinterNameOf(shared, name, 300), nullptr);
  EXPECT_EQ(Ini(ini, name, u"DrvInstVersion"), u"6.63") << "a client records its driver version";
  EXPECT_EQ(Ini(ini, name, u"Count"), u"3");
  // A client's pass writes no identity values.
  const std::string data = Host("machine data get '\\\\SRV\\Shared' ZEMSPrinterName");
  EXPECT_NE(data.find("not found"), std::string::npos) << data;
  ClosePrinter(shared);
}

TEST_F(InstalledSamplePrinter, OnAMultiSessionMachineTheHousekeepingMakesTheUsersCopies) {
  const std::string system = Host("machine system --terminal-server yes");
  OsForgetCachedAnswers();
  ASSERT_EQ(OsIsMultiSessionHost(printer_), 1) << system;
  WCHAR user[MAX_PATH];
  ASSERT_TRUE(PathSettingsFileOf(user, MAX_PATH, 1, printer_));
  ASSERT_NE(std::u16string(user), u"C:\\_zems\\OV1BD170.ini");
  const std::u16string folder = std::u16string(user).substr(0, std::u16string(user).rfind(u'\\') + 1);
  EXPECT_FALSE(Exists(user));
  DWORD state = 99;
  ASSERT_EQ(InstReadUserStampState(printer_, &state, nullptr), 1);
  EXPECT_EQ(state, DWORD(kInstUserStateMissing));

  EXPECT_EQ(InstRunPendingHousekeeping(printer_, 1, nullptr, nullptr), 1);
  CtxCacheExpire(TRUE);
  EXPECT_EQ(Ini(user, u"ZEMS Printer", u"Count"), u"3");
  EXPECT_EQ(Ini(user, u"ZEMS Printer", u"PresetList0"), folder + u"zdplain.rsr");
  EXPECT_EQ(Ini(user, u"ZEMS Printer", u"PresetList0Name"), u"Plain paper");
  EXPECT_EQ(Ini(user, u"ZEMS Printer", u"QualityList1"), folder + u"zqfast.rsr");
  EXPECT_TRUE(Exists(folder + u"zdplain.rsr"));
  EXPECT_NE(Ini(user, u"ZEMS Printer", u"DrvInstTime"), u"<absent>") << "the user's stamp";
  ASSERT_EQ(InstReadUserStampState(printer_, &state, nullptr), 1);
  EXPECT_EQ(state, DWORD(kInstUserStateCurrent)) << "the next entry has nothing to do";
  OsForgetCachedAnswers();
}

}  // namespace
