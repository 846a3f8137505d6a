// The model database "orvdb.ini": registration of the sample model, the multi-model walk, the
// check that registers again on a difference, and the revalidation of the stores after an
// upgrade.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_table.h"
#include "core/install/install_ini_defaults.h"
#include "core/store/item_store.h"
#include "core/store/free_size_store.h"
#include "core/install/model_database.h"
#include "core/store/preset_store.h"
#include "core/store/settings_stores.h"
#include "core/store/store_keys.h"
#include "core/system/settings_folders.h"
#include "core/system/printer_names.h"
#include "core/tables/model_record.h"
#include "store_install/install_fixture.h"

namespace {

using zems_test::InstallTest;

const char16_t kDb[] = u"C:\\WINDOWS\\orvdb.ini";
const char16_t kModel[] = u"ALTEN KV310";
const char16_t kDriver[] = u"ORVEL ALTEN KV310 ZEMS";  // the printers' driver

class ModelDbTest : public InstallTest {
 protected:
  std::u16string Db(const std::u16string& model, const char16_t* key) { return IniGet(kDb, model, key); }
};

TEST_F(ModelDbTest, TheSampleModelIsRegistered) {
  ASSERT_EQ(std::u16string(PrnGetDriverName(ctx())), kDriver);
  EXPECT_EQ(std::u16string(InstReadModelName(ctx())), kModel);
  EXPECT_EQ(InstRegisterModelDb(ctx()), 1);
  EXPECT_EQ(Db(kModel, u"LoadDll"), u"OV1BC123.DLL");
  EXPECT_EQ(Db(kModel, u"ResDll"), u"KV310dat.dll");
  EXPECT_EQ(Db(kModel, u"Version"), u"6.63");
}

TEST_F(ModelDbTest, WithoutAModelDataDllTheDatabaseIsUntouched) {
  ctx()->model->modelDataDll = nullptr;
  EXPECT_EQ(InstRegisterModelDb(ctx()), 1);
  EXPECT_FALSE(Exists(kDb));
  WriteFile(kDb, "[ALTEN KV310]\r\nLoadDll=old.dll\r\n");
  EXPECT_EQ(InstCheckModelDb(ctx()), 1);
  EXPECT_EQ(ReadFile(kDb), "[ALTEN KV310]\r\nLoadDll=old.dll\r\n");
}

TEST_F(ModelDbTest, AnEmptyLoadDllKeepsTheRegisteredValue) {
  WriteFile(kDb, "[ALTEN KV310]\r\nLoadDll=old.dll\r\n");
  IniSet(DriverFolder() + u"OVINST.INI", kModel, u"LoadDll32", u"");
  EXPECT_EQ(InstRegisterModelDb(ctx()), 1);
  EXPECT_EQ(Db(kModel, u"LoadDll"), u"old.dll");
  EXPECT_EQ(Db(kModel, u"Version"), u"6.63");
}

TEST_F(ModelDbTest, ModelNamesAreCutToThirtyTwoCharactersAndLeadingBlanksSkipped) {
  const std::u16string forty = u"M123456789012345678901234567890123456789";
  IniSet(DataFile(), u"Models", kDriver, (u"  " + forty).c_str());
  EXPECT_EQ(std::u16string(InstReadModelName(ctx())), forty.substr(0, 32));
  EXPECT_EQ(InstRegisterModelDb(ctx()), 1);
  EXPECT_EQ(Db(forty.substr(0, 32), u"ResDll"), u"KV310dat.dll");
  IniSet(DataFile(), u"Models", kDriver, nullptr);
  EXPECT_EQ(InstReadModelName(ctx()), nullptr);
  EXPECT_EQ(InstRegisterModelDb(ctx()), 0);
  EXPECT_EQ(InstCheckModelDb(ctx()), 0);
}

TEST_F(ModelDbTest, ADriverOfSeveralModelsRegistersEach) {
  IniSet(DataFile(), u"Models1", kDriver, u"Model One");
  IniSet(DataFile(), u"Models2", kDriver, u"Model Two");
  IniSet(DataFile(), u"Models4", kDriver, u"Model Four");  // after the gap: not reached
  IniSet(DataFile(), u"Model One", u"ResDll", u"one.dll");
  IniSet(DataFile(), u"Model Two", u"ResDll", u"two.dll");
  const std::u16string inst = DriverFolder() + u"OVINST.INI";
  IniSet(inst, u"Model One", u"LoadDll32", u"L1.DLL");
  IniSet(inst, u"Model One", u"Version32", u"1.0");
  IniSet(inst, u"Model Two", u"LoadDll32", u"L2.DLL");
  EXPECT_EQ(InstRegisterModelDb(ctx()), 1);
  EXPECT_EQ(Db(u"Model One", u"ResDll"), u"one.dll");
  EXPECT_EQ(Db(u"Model One", u"Version"), u"1.0");
  EXPECT_EQ(Db(u"Model Two", u"LoadDll"), u"L2.DLL");
  EXPECT_EQ(Db(u"Model Two", u"Version"), u"<absent>");
  EXPECT_EQ(Db(u"Model Four", u"ResDll"), u"<absent>");
  EXPECT_EQ(Db(kModel, u"ResDll"), u"<absent>") << "the single form is not used";
}

TEST_F(ModelDbTest, ACheckRegistersAgainOnADifference) {
  ASSERT_EQ(InstRegisterModelDb(ctx()), 1);
  struct Case {
    const char16_t* key;
    const char16_t* stored;
    const char16_t* after;
  } cases[] = {{u"Version", u"1.00", u"6.63"}, {u"LoadDll", u"other.dll", u"OV1BC123.DLL"},
               {u"LoadDll", u"ov1bc123.dll", u"ov1bc123.dll"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(zems_test::Narrow16(c.stored));
    IniSet(kDb, kModel, c.key, c.stored);
    EXPECT_EQ(InstCheckModelDb(ctx()), 1);
    EXPECT_EQ(Db(kModel, c.key), c.after);
  }
}

TEST_F(ModelDbTest, InTheMultiModelFormADifferenceRegistersEveryLaterModel) {
  IniSet(DataFile(), u"Models1", kDriver, u"Model One");
  IniSet(DataFile(), u"Models2", kDriver, u"Model Two");
  IniSet(DataFile(), u"Model One", u"ResDll", u"one.dll");
  IniSet(DataFile(), u"Model Two", u"ResDll", u"two.dll");
  ASSERT_EQ(InstRegisterModelDb(ctx()), 1);
  IniSet(kDb, u"Model One", u"ResDll", u"changed.dll");
  IniSet(kDb, u"Model Two", u"Extra", u"x");
  EXPECT_EQ(InstCheckModelDb(ctx()), 1);
  EXPECT_EQ(Db(u"Model One", u"ResDll"), u"one.dll");
  EXPECT_EQ(Db(u"Model Two", u"ResDll"), u"two.dll");
}

TEST_F(InstallTest, RevalidationSavesTheDeviceSettingsAndKeepsTheUsersValues) {
  SettingItem* ram = ItemFind(ctx(), 10012);
  ASSERT_NE(ram, nullptr);
  ASSERT_EQ(StoreSaveDeviceSettings(office_, ctx()), 1);
  DeletePrinterDataW(office_, Text(u"RAM"));
  ItemSetRaw(ctx(), ram, 256);
  IniSet(SettingsIni(), Printer(), u"MergeFileName", u"mine");
  IniSet(SettingsIni(), Printer(), u"MergeFilePath", u"C:\\mine");
  IniSet(SettingsIni(), Printer(), u"PresetRefresh", u"0");
  EXPECT_EQ(CtxRevalidateStores(office_, ctx()), 1);
  std::string bytes;
  ASSERT_TRUE(Data(u"RAM", &bytes));
  DWORD stored = 0;
  memcpy(&stored, bytes.data(), 4);
  EXPECT_EQ(stored, 256u);
  EXPECT_EQ(ItemGetRaw(ctx(), ram), 256);
  EXPECT_EQ(IniGet(SettingsIni(), Printer(), u"MergeFileName"), u"mine");
  EXPECT_EQ(IniGet(SettingsIni(), Printer(), u"MergeFilePath"), u"") << "the model has no default";
  EXPECT_EQ(IniGet(SettingsIni(), Printer(), u"PresetRefresh"), u"1");
}

// Presets p0.rst and p1.rst and quality list q0.rsr of the settings folder, listed in the
// printer's settings ini.
class RevalidationTest : public InstallTest {
 protected:
  void ListTwoPresetsAndAQualityList() {
    const std::u16string ini = SettingsIni();
    preset0 = InSettingsFolder(u"p0.rst");
    preset1 = InSettingsFolder(u"p1.rst");
    quality = InSettingsFolder(u"q0.rsr");
    IniSet(ini, Printer(), u"PresetList0", preset0.c_str());
    IniSet(ini, Printer(), u"PresetList1", preset1.c_str());
    IniSet(ini, Printer(), u"Count", u"2");
    IniSet(ini, Printer(), u"QualityList0", quality.c_str());
    IniSet(ini, Printer(), u"QualityCount", u"1");
  }
  std::u16string InSettingsFolder(const char16_t* leaf) {
    WCHAR path[MAX_PATH];
    EXPECT_GT(PathInSettingsFolder(path, MAX_PATH, leaf, ctx()), 0);
    return std::u16string(path);
  }
  std::u16string preset0, preset1, quality;
};

// Each stored preset, quality list, watermark and custom size is applied and written again, so
// a key an older driver left out comes back; a read-only preset file is left as it is, and the
// user's current settings are put back.
TEST_F(RevalidationTest, RevalidationReappliesAndSavesEveryPresetQualityWatermarkAndCustomSize) {
  constexpr WORD kMarkPaperType = 122, kBrightness = 138, kWmCharName = 931, kFreeWidth = 916, kFreeLength = 917;
  const std::u16string ini = SettingsIni(), lang = StoreListLangCode(ctx());
  ASSERT_EQ(StoreRepairStampsAndFreeSizes(ctx()), 1);
  // Two presets (the second read-only) and a quality list, as saved by this driver.
  ListTwoPresetsAndAQualityList();
  ItemSetRawById(ctx(), kMarkPaperType, 3);
  ItemSetRawById(ctx(), kBrightness, 9);
  ASSERT_EQ(PresetSaveSlot(ctx(), 0), 1);
  ASSERT_EQ(PresetSaveSlot(ctx(), 1), 1);
  ASSERT_EQ(QualitySaveSlot(ctx(), 0), 1);
  ItemSetText(ctx(), ItemFind(ctx(), kWmCharName), u"Mine");
  ASSERT_EQ(StampSave(ctx(), 0), 1);
  ItemSetRawById(ctx(), kFreeWidth, 5000);
  ItemSetRawById(ctx(), kFreeLength, 7000);
  ASSERT_EQ(FreeSizeSaveSlot(ctx(), 3), 1);
  // The files as an older driver left them: keys missing, the presets' own values changed.
  IniSet(preset0, Printer(), u"zdmMarkPaperType", u"5");
  IniSet(preset0, Printer(), u"zdmBrightness", nullptr);
  IniSet(preset1, Printer(), u"zdmBrightness", nullptr);
  IniSet(preset1, Printer(), u"Readonly", u"1");
  const std::string readOnlyBefore = ReadFile(preset1);
  IniSet(quality, Printer(), u"zdmBrightness", nullptr);
  const std::u16string stamp0 = u"Stamp0" + lang, size3 = u"FreeSize3" + lang;
  IniSet(ini, stamp0, u"zdmWmID", nullptr);
  IniSet(ini, size3, u"wdmFreeSizeLength", nullptr);
  ASSERT_EQ(IniGet(preset0, Printer(), u"zdmBrightness"), u"<absent>");
  // The user's current settings.
  ItemSetRawById(ctx(), kMarkPaperType, 4);
  ItemSetRawById(ctx(), kBrightness, 11);
  ItemSetText(ctx(), ItemFind(ctx(), kWmCharName), u"current");
  ItemSetRawById(ctx(), kFreeWidth, 1234);

  EXPECT_EQ(CtxRevalidateStores(office_, ctx()), 1);

  EXPECT_EQ(IniGet(preset0, Printer(), u"zdmMarkPaperType"), u"5") << "the preset's own value";
  EXPECT_NE(IniGet(preset0, Printer(), u"zdmBrightness"), u"<absent>");
  EXPECT_EQ(ReadFile(preset1), readOnlyBefore);
  EXPECT_NE(IniGet(quality, Printer(), u"zdmBrightness"), u"<absent>");
  EXPECT_EQ(IniGet(ini, stamp0, u"zdmWmID"), u"0");
  EXPECT_EQ(IniGet(ini, stamp0, u"wdmWmCharName"), u"Mine");
  EXPECT_NE(IniGet(ini, size3, u"wdmFreeSizeLength"), u"<absent>");
  EXPECT_EQ(IniGet(ini, size3, u"wdmFreeSizeWidth"), u"5000");
  EXPECT_EQ(Raw(kMarkPaperType), 4);
  EXPECT_EQ(Raw(kBrightness), 11);
  EXPECT_EQ(ItemText(kWmCharName), u"current");
  EXPECT_EQ(Raw(kFreeWidth), 1234);
}

// A preset or quality file its load refuses (another display language, machine or major
// version) is left byte for byte; the loadable ones are still saved in the new form.
TEST_F(RevalidationTest, RevalidationLeavesARefusedFileAsItIs) {
  constexpr WORD kBrightness = 138;
  ListTwoPresetsAndAQualityList();
  const std::u16string mine = preset0, foreign = preset1;
  ASSERT_EQ(PresetSaveSlot(ctx(), 0), 1);
  ASSERT_EQ(PresetSaveSlot(ctx(), 1), 1);
  ASSERT_EQ(QualitySaveSlot(ctx(), 0), 1);
  IniSet(mine, Printer(), u"zdmBrightness", nullptr);
  for (const std::u16string& file : {foreign, quality}) IniSet(file, Printer(), u"RstMachine", u"149");
  const std::string foreignBefore = ReadFile(foreign), qualityBefore = ReadFile(quality);
  ItemSetRawById(ctx(), kBrightness, 7);
  EXPECT_EQ(CtxRevalidateStores(office_, ctx()), 1);
  EXPECT_EQ(ReadFile(foreign), foreignBefore);
  EXPECT_EQ(ReadFile(quality), qualityBefore);
  EXPECT_NE(IniGet(mine, Printer(), u"zdmBrightness"), u"<absent>") << "the loadable preset is saved again";
}

}  // namespace
