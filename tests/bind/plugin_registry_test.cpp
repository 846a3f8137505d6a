// The plug-in registry: HKLM's category keys and the driver folder's ZEMSPLUG.ini in one list.
#include <string.h>

#include <string>

#include "core/bind/plugin_registry.h"
#include "support/machine_fixture.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

constexpr char kCategory[] = "iZEMSFilter";
constexpr char kFolder[] = "C:\\drv";

class PluginRegistryTest : public MachineTest {
 protected:
  void TearDown() override {
    PluginFreeList(list_);
    MachineTest::TearDown();
  }
  // A plug-in key under the category, with the values given (a null text is not written).
  void AddRegistryPlugin(const char* id, const char* name, const char* path, DWORD forceRaw = 0) {
    std::string key = std::string("Software\\ORVEL\\ZemsPlugins\\") + kCategory + "\\" + id;
    HKEY h = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &h, nullptr));
    if (name) SetText(h, "Name", name, strlen(name) + 1);
    if (path) SetText(h, "InstallPath", path, strlen(path) + 1);
    if (forceRaw) RegSetValueExA(h, "ForceRAW", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&forceRaw), 4);
    RegCloseKey(h);
  }
  static void SetText(HKEY h, const char* value, const char* text, size_t bytes) {
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(h, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), DWORD(bytes)));
  }
  void WriteIni(const std::string& text) { ASSERT_TRUE(WriteMachineFile(std::string(kFolder) + "\\ZEMSPLUG.ini", text)); }
  PluginList* Read() {
    PluginFreeList(list_);
    list_ = PluginReadRegistry(kCategory, kFolder);
    return list_;
  }
  static std::string Text(const char* s) { return s ? s : "(null)"; }

  PluginList* list_ = nullptr;
};

TEST_F(PluginRegistryTest, IdInBothSourcesListedOnceWithRegistryValues) {
  AddRegistryPlugin("Alpha", "Registry Alpha", "C:\\reg\\alpha.dll", 1);
  WriteIni("[iZEMSFilter]\nCount=2\nPluginID0=ALPHA\nPluginID1=Beta\n"
           "[ALPHA]\nName=Ini Alpha\nInstallPath=a.dll\n[Beta]\nName=Ini Beta\nInstallPath=b.dll\nPerPrinter=1\n");
  PluginList* list = Read();
  ASSERT_NE(nullptr, list);
  ASSERT_EQ(2u, list->count);
  EXPECT_EQ("Alpha", Text(list->records[0]->id));
  EXPECT_EQ("Registry Alpha", Text(list->records[0]->name));
  EXPECT_EQ("C:\\reg\\alpha.dll", Text(list->records[0]->installPath)) << "a registry path is taken as stored";
  EXPECT_EQ(1u, list->records[0]->forceRaw);
  EXPECT_EQ("Beta", Text(list->records[1]->id));
  EXPECT_EQ("Ini Beta", Text(list->records[1]->name));
  EXPECT_EQ(1u, list->records[1]->perPrinter);
}

TEST_F(PluginRegistryTest, EmptySecondIdKeyYieldsOneIniEntry) {
  WriteIni("[iZEMSFilter]\nCount=2\nPluginID0=One\nPluginID1=\n[One]\nName=First\n");
  PluginList* list = Read();
  ASSERT_NE(nullptr, list);
  ASSERT_EQ(1u, list->count);
  EXPECT_EQ("One", Text(list->records[0]->id));
  EXPECT_EQ("(null)", Text(list->records[0]->installPath)) << "no InstallPath key";
}

TEST_F(PluginRegistryTest, IniInstallPathIsUnderTheFolder) {
  WriteIni("[iZEMSFilter]\nCount=1\nPluginID0=F\n[F]\nInstallPath=sub\\f.dll\n");
  PluginList* list = Read();
  ASSERT_NE(nullptr, list);
  ASSERT_EQ(1u, list->count);
  EXPECT_EQ("C:\\drv\\sub\\f.dll", Text(list->records[0]->installPath));
}

TEST_F(PluginRegistryTest, NeitherSourceGivesNull) {
  EXPECT_EQ(nullptr, Read());
  WriteIni("[Other]\nCount=1\nPluginID0=X\n");
  EXPECT_EQ(nullptr, Read());
}

TEST_F(PluginRegistryTest, StandardUserGetsTheRegistryFilters) {
  AddRegistryPlugin("Alpha", "A", "C:\\a.dll");
  SetUserIsAdmin(false);
  PluginList* list = Read();
  ASSERT_NE(nullptr, list);
  ASSERT_EQ(1u, list->count);
  EXPECT_EQ("Alpha", Text(list->records[0]->id));
}

TEST_F(PluginRegistryTest, RegistryTextsAreTerminatedOrLeftOut) {
  AddRegistryPlugin("Alpha", nullptr, nullptr);
  HKEY h = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\ORVEL\\ZemsPlugins\\iZEMSFilter\\Alpha", 0,
                                         KEY_ALL_ACCESS, &h));
  SetText(h, "Name", "abc", 3);  // stored without its terminator
  std::string longPath(300, 'p');
  SetText(h, "InstallPath", longPath.c_str(), longPath.size() + 1);
  RegCloseKey(h);
  PluginList* list = Read();
  ASSERT_NE(nullptr, list);
  ASSERT_EQ(1u, list->count);
  EXPECT_EQ("abc", Text(list->records[0]->name));
  EXPECT_EQ("(null)", Text(list->records[0]->installPath)) << "252 bytes or more are not read";
}

TEST_F(PluginRegistryTest, LongIniTextsGiveNull) {
  std::string longName(251, 'n');
  WriteIni("[iZEMSFilter]\nCount=2\nPluginID0=" + std::string(251, 'i') + "\nPluginID1=Ok\n[Ok]\nName=" + longName +
           "\nInstallPath=" + longName + "\n");
  PluginList* list = Read();
  ASSERT_NE(nullptr, list);
  ASSERT_EQ(1u, list->count) << "an id of 251 characters is not kept";
  EXPECT_EQ("(null)", Text(list->records[0]->name));
  EXPECT_EQ("(null)", Text(list->records[0]->installPath));
}

}  // namespace
}  // namespace zems_test
