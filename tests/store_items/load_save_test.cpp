// Loads and saves of whole classes: packed runs, the action bits, the skip of unchanged
// device settings, module-selected mode, and saves on a full disk.
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/store/exc_store.h"
#include "core/modules/module_rows.h"
#include "core/store/item_store.h"
#include "platform/sim.h"
#include "store_items/store_fixture.h"
#include "support/test_variant.h"

namespace zems_test {
namespace {

DWORD Dword(const std::string& bytes) {
  DWORD v = 0;
  memcpy(&v, bytes.data(), std::min<size_t>(4, bytes.size()));
  return v;
}

bool Has(const std::vector<std::u16string>& names, const char16_t* name) {
  return std::find(names.begin(), names.end(), std::u16string(name)) != names.end();
}

TEST_F(StoreTest, APackedRunStoredSinglyIsMigratedThenReadPacked) {
  SettingItem* first = Row(10386);
  const SettingItem before = *first;
  // An older printer: no packed value, the bits only in the settings.
  DeleteData(u"zdmLockInfo");
  DWORD bits = 0x00A5;
  memcpy(Value(10386), &bits, 4);
  ASSERT_EQ(StoreLoadPackedRun(office_, ctx(), first, 2, ItemTypeU32, u"zdmLockInfo", 10386, 10417), 1);
  std::string stored;
  ASSERT_TRUE(Data(u"zdmLockInfo", &stored));
  EXPECT_EQ(stored.size(), 4u);
  EXPECT_EQ(Dword(stored), 0x00A5u);
  EXPECT_EQ(first->persistKey, before.persistKey);
  EXPECT_EQ(first->descriptor, before.descriptor);

  // Now read packed; a value of another size is migrated again (written back at 4 bytes).
  SetData(u"zdmLockInfo", std::string("\x3C\0\0\0", 4));
  ASSERT_EQ(StoreLoadPackedRun(office_, ctx(), first, 2, ItemTypeU32, u"zdmLockInfo", 10386, 10417), 1);
  memcpy(&bits, Value(10386), 4);
  EXPECT_EQ(bits, 0x3Cu);
  SetData(u"zdmLockInfo", std::string("\x01\0", 2));
  ASSERT_EQ(StoreLoadPackedRun(office_, ctx(), first, 2, ItemTypeU32, u"zdmLockInfo", 10386, 10417), 1);
  ASSERT_TRUE(Data(u"zdmLockInfo", &stored));
  EXPECT_EQ(stored, std::string("\x3C\0\0\0", 4));
  EXPECT_EQ(first->descriptor, before.descriptor);
}

TEST_F(StoreTest, TheActionBitsTravelAsOneWord) {
  for (WORD id = 211; id <= 226; ++id) ItemSetRaw(ctx(), Row(id), 0);
  ItemSetRaw(ctx(), Row(212), 1);
  const DWORD descriptor = Row(211)->descriptor;
  ASSERT_EQ(StoreSavePersistedItems(office_, ctx(), 1, 0), 1);
  EXPECT_EQ(Ini(u"zdmAction"), u"2");
  EXPECT_EQ(Ini(u"ACT_PROOFPRINT"), u"<absent>");
  EXPECT_EQ(Row(211)->descriptor, descriptor);

  SetIni(u"zdmAction", u"5");
  ItemSetRaw(ctx(), Row(220), 1);
  ASSERT_EQ(StoreLoadPersistedItems(office_, ctx(), 1, 0, nullptr), 1);
  for (WORD id = 211; id <= 226; ++id)
    EXPECT_EQ(ItemGetRaw(ctx(), Row(id)), (id == 211 || id == 213) ? 1 : 0) << id;
  EXPECT_EQ(std::u16string(Row(211)->persistKey), u"ACT_SECUREPRINT");
}

TEST_F(StoreTest, AnUnchangedDeviceSaveWritesOnlyThePackedValues) {
  ASSERT_NE(ctx()->ui->initialSettings, nullptr);
  DeleteAllData();
  ASSERT_EQ(StoreSavePersistedItems(office_, ctx(), 2, 0), 1);
  std::vector<std::u16string> names = DataNames();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::u16string>{u"zdmLock000InfoBit", u"zdmLock001InfoBit", u"zdmLockInfo"}));

  // One change writes that one value too; a forced save writes them all.
  DWORD ram = 0;
  memcpy(&ram, Value(10012), 4);
  ram += 64;  // a value other than the default the context opened with
  memcpy(Value(10012), &ram, 4);
  ASSERT_EQ(StoreSavePersistedItems(office_, ctx(), 2, 0), 1);
  EXPECT_EQ(DataNames().size(), 4u);
  ASSERT_EQ(StoreSavePersistedItems(office_, ctx(), 2, kStoreSaveForced), 1);
  names = DataNames();
  for (const char16_t* name : {u"RAM", u"Duplex", u"Tray1Field", u"Tray1Paper", u"Logging", u"UserCodeUse"})
    EXPECT_TRUE(Has(names, name)) << testing::PrintToString(std::u16string(name));
}

TEST_F(StoreTest, AServerPrinterWithoutServerLogCodeKeepsTheLogCodeUse) {
  ctx()->ui->onServer = 1;
  *Value(10001) = 0;
  DeleteAllData();
  ASSERT_EQ(StoreSavePersistedItems(office_, ctx(), 2, kStoreSaveForced), 1);
  EXPECT_FALSE(Data(u"UserCodeUse", nullptr));
  EXPECT_TRUE(Data(u"ServerUse", nullptr));
  *Value(10001) = 1;
  ASSERT_EQ(StoreSavePersistedItems(office_, ctx(), 2, kStoreSaveForced), 1);
  EXPECT_TRUE(Data(u"UserCodeUse", nullptr));
}

TEST(ChapterItems, TheChapterModuleClaimsOnlyItsItems) {
  struct Case {
    int event;
    WORD id;
    int answer;
    DWORD reply;
  } cases[] = {
      {4, 996, 0, 0}, {5, 1009, 0, 0}, {4, 995, 1, 1}, {5, 1010, 1, 1}, {5, 10012, 1, 1}, {6, 35, 0, 0},
  };
  for (const Case& c : cases) {
    SettingItem row = {};
    row.id = c.id;
    StoreItemOffer offer = {2, &row, 0};
    EXPECT_EQ(ChapterHandleEvent(nullptr, c.event, &offer, nullptr), c.answer) << c.id;
    EXPECT_EQ(offer.reply, c.reply) << c.id;
  }
  EXPECT_EQ(ChapterHandleEvent(nullptr, 5, nullptr, nullptr), 0);
}

// A module table of one row whose module takes everything it is sent and answers nothing.
std::vector<WORD> g_notified;
int RecordNotify(DriverContext*, WORD code, void*) {
  g_notified.push_back(code);
  return 0;
}
int IgnoreEvent(DriverContext*, int, void*, void*) { return 0; }

void LoadSilentModule(DriverContext* ctx) {
  ModBusFree(ctx);
  static const UiModuleEntry kSilent = {0, nullptr, RecordNotify, nullptr, IgnoreEvent};
  ASSERT_EQ(ModBusLoadRows(ctx, &kSilent, 1), 1);
  g_notified.clear();
}

TEST_F(StoreTest, ModuleSelectedModeNeedsAModuleThatAnswers) {
  // No module of this table answers the offers: nothing may be keyed and written by name.
  LoadSilentModule(ctx());
  const std::string before = SettingsIniBytes();
  const SettingItem chapter = *Row(996);
  ASSERT_EQ(StoreSavePersistedItems(office_, ctx(), 3, kStoreSaveModuleSelected), 1);
  ASSERT_EQ(StoreLoadPersistedItems(office_, ctx(), 3, kStoreLoadModuleSelected, nullptr), 1);
  EXPECT_EQ(SettingsIniBytes(), before);
  EXPECT_EQ(Row(996)->persistKey, chapter.persistKey);
  EXPECT_EQ(Row(996)->storageKind, chapter.storageKind);
}

// The application interface's save of the persisted work items: the chapter module's items
// under their names, no other work item.
TEST_F(StoreTest, ApiSavePersistedSavesTheChapterItems) {
  ItemSetRaw(ctx(), Row(996), 2);
  ItemSetRaw(ctx(), Row(995), 7);
  ASSERT_EQ(ApiSavePersisted(ctx()), 1);
  EXPECT_EQ(Ini(u"wdmChapterNum"), u"2");
  EXPECT_EQ(Ini(u"wdmChapterTrayMax"), u"<absent>");
  EXPECT_EQ(ApiSavePersisted(nullptr), 0);
}

// The context's own module table carries the chapter module.
TEST_F(StoreTest, ModuleSelectedModeKeepsTheChapterItemsUnderTheirNames) {
  const std::string before = SettingsIniBytes();
  const SettingItem other = *Row(995);
  ItemSetRaw(ctx(), Row(996), 3);
  ItemSetRaw(ctx(), Row(1009), -2);
  ASSERT_EQ(StoreSavePersistedItems(office_, ctx(), 3, kStoreSaveModuleSelected), 1);
  EXPECT_EQ(Ini(u"wdmChapterNum"), u"3");
  EXPECT_EQ(Ini(u"wdmChapterUseTray8"), u"-2");
  EXPECT_EQ(Ini(u"wdmChapterTrayMax"), u"<absent>");
  EXPECT_EQ(Row(995)->persistKey, other.persistKey);
  EXPECT_EQ(Row(995)->storageKind, other.storageKind);
  // Nothing but the fourteen chapter items is in the printer's section.
  ASSERT_EQ(before, "");
  const std::string after = SettingsIniBytes();
  int keys = 0, chapterKeys = 0;
  for (size_t at = 0; (at = after.find('=', at)) != std::string::npos; ++at) {
    const size_t line = after.rfind('\n', at) + 1;
    ++keys;
    if (after.compare(line, 10, "wdmChapter") == 0) ++chapterKeys;
  }
  EXPECT_EQ(keys, 14);
  EXPECT_EQ(chapterKeys, 14);

  SetIni(u"wdmChapterNum", u"5");
  SetIni(u"wdmChapterTrayMax", u"9");
  ItemSetRaw(ctx(), Row(995), 1);
  // The chapter module keeps only a count its records bear out: five records within the limit.
  ItemSetRaw(ctx(), Row(994), 10);
  for (const char16_t* key : {u"wdmChapterPage1", u"wdmChapterPage2", u"wdmChapterPage3", u"wdmChapterPage4",
                              u"wdmChapterPage5"})
    SetIni(key, u"7");
  ASSERT_EQ(StoreLoadPersistedItems(office_, ctx(), 3, kStoreLoadModuleSelected, nullptr), 1);
  EXPECT_EQ(ItemGetRaw(ctx(), Row(996)), 5);
  EXPECT_EQ(ItemGetRaw(ctx(), Row(995)), 1);
  // The rows keep their names as keys: a plain load reads them there too.
  SetIni(u"wdmChapterUseTray1", u"4");
  ASSERT_EQ(StoreLoadPersistedItems(office_, ctx(), 3, kStoreLoadPlain, nullptr), 1);
  EXPECT_EQ(ItemGetRaw(ctx(), Row(997)), 4);
  EXPECT_EQ(ItemGetRaw(ctx(), Row(995)), 1);
}

// The lock module hears once per load that the lock work items were passed over, when a load
// reaches them and the build has setting locks.
TEST_F(StoreTest, ALoadThatReachesTheLockWorkItemsNotifiesTheModules) {
  struct Case {
    int itemClass;
    int lockFeature;  // whether the build has setting locks
    size_t notices;
  } cases[] = {{kStoreClassAll, 1, 1}, {kStoreClassWork, 1, 1}, {kStoreClassDevice, 1, 0}, {kStoreClassAll, 0, 0}};
  LoadSilentModule(ctx());
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "class " << c.itemClass << " locks " << c.lockFeature);
    TestVariant().featureCount = c.lockFeature ? 3 : 2;
    g_notified.clear();
    ASSERT_EQ(StoreLoadPersistedItems(office_, ctx(), c.itemClass, kStoreLoadPlain, nullptr), 1);
    EXPECT_EQ(g_notified, std::vector<WORD>(c.notices, 312));
  }
  ResetTestVariant();
  ModBusFree(ctx());
}

// Saves on a disk that fills: each answers 0, and every stored value stays old or new.
TEST_F(StoreTest, ASaveThatDoesNotFitReportsFailureAndKeepsOldValues) {
  ASSERT_EQ(StoreSavePersistedItems(office_, ctx(), 2, kStoreSaveForced), 1);
  ASSERT_EQ(StoreSavePersistedItems(office_, ctx(), 3, kStoreSaveForced), 1);
  const std::string iniBefore = SettingsIniBytes();
  std::string ramBefore;
  ASSERT_TRUE(Data(u"RAM", &ramBefore));

  DWORD ram = Dword(ramBefore) + 1;
  memcpy(Value(10012), &ram, 4);
  const char16_t* path = u"C:\\overlay\\new";
  ItemSetText(ctx(), Row(953), path);
  // Every write replaces a whole file: the settings ini takes at least its old size, the
  // registry hive that holds printer data far more than a thousand bytes.
  const long long iniSize = (long long)iniBefore.size();
  for (long long budget : {0LL, iniSize / 2, iniSize - 1}) {
    SCOPED_TRACE(budget);
    SimSetDiskFull(budget);
    EXPECT_EQ(StoreSavePersistedItems(office_, ctx(), 2, kStoreSaveForced), 0);
    SimSetDiskFull(budget);
    EXPECT_EQ(StoreSavePersistedItems(office_, ctx(), 3, kStoreSaveForced), 0);
    SimSetDiskFull(-1);
    std::string ramNow;
    ASSERT_TRUE(Data(u"RAM", &ramNow));
    EXPECT_TRUE(ramNow == ramBefore || Dword(ramNow) == ram);
    const std::string iniNow = SettingsIniBytes();
    EXPECT_TRUE(iniNow == iniBefore || iniNow.find("OverlayDataPath=C:\\overlay\\new") != std::string::npos);
  }
  ASSERT_EQ(StoreSavePersistedItems(office_, ctx(), 2, kStoreSaveForced), 1);
  ASSERT_EQ(StoreSavePersistedItems(office_, ctx(), 3, kStoreSaveForced), 1);
  EXPECT_EQ(Ini(u"OverlayDataPath"), path);
}

}  // namespace
}  // namespace zems_test
