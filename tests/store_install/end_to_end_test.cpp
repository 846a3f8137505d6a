// The sample printer installed by zemshost, with an install-ini section for it: the install
// values reach the items, printer data and the registry, their keys are gone, zemshost sees
// the machine-wide settings folder; and the revalidation after an upgrade keeps the user's
// values.
#include <gtest/gtest.h>

#include <string>

#include "core/context/context_cache.h"
#include "core/context/driver_context.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/install/install_ini.h"
#include "core/install/install_ini_defaults.h"
#include "core/install/model_database.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "platform/sim.h"
#include "store_install/install_fixture.h"
#include "support/test_printer.h"

namespace {

const char16_t kIni[] = u"C:\\WINDOWS\\system32\\ZEMS.ini";

class SamplePrinterInstall : public zems_test::SamplePrinterTest {
 protected:
  void TearDown() override {
    if (ctx_) CtxRelease(ctx_, kReleaseExpired);
    SamplePrinterTest::TearDown();
  }

  DriverContext* Open() {
    DriverContext* ctx = CtxOpen(printer_, printer_, nullptr, 0, kKindSettings, 0, nullptr);
    EXPECT_NE(ctx, nullptr);
    return ctx;
  }
  std::u16string Item(DriverContext* ctx, WORD id) {
    WCHAR buffer[256] = {};
    ItemGetTextBounded(ctx, ItemFind(ctx, id), buffer, 256);
    return buffer;
  }
  std::u16string Data(const char16_t* name) {
    WCHAR buffer[512] = {};
    DWORD type = 0, needed = 0;
    if (GetPrinterDataW(printer_, const_cast<LPWSTR>(name), &type, reinterpret_cast<LPBYTE>(buffer),
                        sizeof buffer - 2, &needed) != ERROR_SUCCESS)
      return u"<absent>";
    return buffer;
  }
  DriverContext* ctx_ = nullptr;
};

TEST_F(SamplePrinterInstall, TheInstallIniIsAppliedOnceAndZemshostSeesTheSettingsFolder) {
  ASSERT_TRUE(CreateDirectoryW(u"C:\\WINDOWS\\zemsdata", nullptr));
  ASSERT_TRUE(CreateDirectoryW(u"C:\\spool", nullptr));
  ASSERT_TRUE(zems_test::WriteMachineFile(
      "C:\\WINDOWS\\system32\\ZEMS.ini",
      "[ZEMS Printer]\r\nSetUserCode=1234\r\nSetUserID=USER1\r\nSetOwnerID=Owner\r\n"
      "ZEMSDirectory=%SYSTEMROOT%\\zemsdata\r\nZEMSDirectoryClient=C:\\client\r\nSpoolDirectory=C:\\spool\r\n"));
  ctx_ = Open();
  ASSERT_NE(ctx_, nullptr);
  const std::u16string name = PrnGetPrinterName(ctx_);
  ASSERT_EQ(name, u"ZEMS Printer");
  EXPECT_EQ(InstIniHasWork(name.c_str()), 1);

  // The install pass: the folders first (the settings folder moves), then the values.
  EXPECT_EQ(InstApplySettingsFoldersFromIni(printer_, name.c_str(), nullptr), 1);
  std::u16string settings = PathSettingsFile(ctx_);
  for (size_t i = 3; i < settings.size(); ++i)
    if (settings[i] == u'\\') CreateDirectoryW(settings.substr(0, i).c_str(), nullptr);
  EXPECT_EQ(settings.rfind(u"C:\\WINDOWS\\zemsdata\\_zems\\", 0), 0u);
  EXPECT_EQ(InstApplyInstallerDefaults(ctx_), 0) << "work but no default pack";

  EXPECT_EQ(Item(ctx_, kItem_zdmLogCode), u"1234");
  EXPECT_EQ(ItemGetRawById(ctx_, kItem_zdmLogCodeUse), 1);
  EXPECT_EQ(Item(ctx_, kItem_zdmUserID), u"USER1");
  EXPECT_EQ(Item(ctx_, kItem_zdmOwnerName), u"Owner");
  EXPECT_EQ(Data(u"_ZEMSDirectoryClient"), u"C:\\client");
  EXPECT_EQ(Data(u"SpoolDirectory"), u"C:\\spool");
  for (const char16_t* key : {u"SetUserCode", u"SetUserID", u"SetOwnerID", u"ZEMSDirectory", u"ZEMSDirectoryClient",
                              u"SpoolDirectory"})
    EXPECT_EQ(Ini(kIni, u"ZEMS Printer", key), u"<absent>");
  EXPECT_EQ(Ini(kIni, u"ZEMS Printer", u"BatchInstallDone"), u"1");
  EXPECT_EQ(Ini(kIni, u"ZEMS Printer", u"DrvInstSet"), u"1");
  EXPECT_EQ(InstIniHasWork(name.c_str()), 0);

  std::string out = Host("machine reg get 'HKLM\\SOFTWARE\\ORVEL\\ZemsDrv' _ZEMSDirectory");
  EXPECT_NE(out.find("C:\\WINDOWS\\zemsdata\\_zems"), std::string::npos) << out;

  // The next full open pushes the waiting values and takes the job items from printer data.
  CtxRelease(ctx_, kReleaseExpired);
  ctx_ = nullptr;
  CtxCacheExpire(TRUE);
  ctx_ = Open();
  ASSERT_NE(ctx_, nullptr);
  EXPECT_EQ(Ini(kIni, u"ZEMS Printer", u"DrvInstSet"), u"0");
  EXPECT_EQ(Item(ctx_, kItem_zdmOwnerName), u"Owner");
  EXPECT_EQ(Item(ctx_, kItem_zdmUserID), u"USER1");
}

TEST_F(SamplePrinterInstall, RevalidationAfterAnUpgradeKeepsTheUsersValues) {
  ctx_ = Open();
  ASSERT_NE(ctx_, nullptr);
  ItemSetRawById(ctx_, kItem_zdmLanguageID, 1);
  std::u16string settings = PathSettingsFile(ctx_);
  for (size_t i = 3; i < settings.size(); ++i)
    if (settings[i] == u'\\') CreateDirectoryW(settings.substr(0, i).c_str(), nullptr);
  // Installed: the model's keys; then the user's own choices.
  ASSERT_EQ(InstWriteJobMergeKeys(ctx_, 0, nullptr), 1);
  EXPECT_EQ(Ini(settings, u"ZEMS Printer", u"MergeKey"), u"ZemsJobMerge");
  WritePrivateProfileStringW(u"ZEMS Printer", u"MergeKey", u"UsersKey", settings.c_str());
  WritePrivateProfileStringW(u"ZEMS Printer", u"MergeFilePath", u"C:\\users", settings.c_str());
  ItemSetText(ctx_, ItemFind(ctx_, kItem_zdmLogCode), u"777");
  SettingItem* ram = ItemFind(ctx_, 10012);
  ItemSetRaw(ctx_, ram, 512);
  DeletePrinterDataW(printer_, const_cast<LPWSTR>(u"RAM"));

  EXPECT_EQ(CtxRevalidateStores(printer_, ctx_), 1);
  DWORD stored = 0, type = 0, needed = 0;
  ASSERT_EQ(GetPrinterDataW(printer_, const_cast<LPWSTR>(u"RAM"), &type, reinterpret_cast<LPBYTE>(&stored), 4,
                            &needed),
            DWORD(ERROR_SUCCESS));
  EXPECT_EQ(stored, 512u);
  EXPECT_EQ(Ini(settings, u"ZEMS Printer", u"MergeKey"), u"UsersKey");
  EXPECT_EQ(Ini(settings, u"ZEMS Printer", u"MergeFilePath"), u"") << "the model has no default for it";
  EXPECT_EQ(Ini(settings, u"ZEMS Printer", u"PresetRefresh"), u"1");
  EXPECT_EQ(Item(ctx_, kItem_zdmLogCode), u"777");
  EXPECT_EQ(ItemGetRaw(ctx_, ram), 512);
  // The model is registered for the maker's tools.
  EXPECT_EQ(InstRegisterModelDb(ctx_), 1);
  EXPECT_EQ(Ini(u"C:\\WINDOWS\\orvdb.ini", u"ALTEN KV310", u"LoadDll"), u"OV1BC123.DLL");
}

}  // namespace
