// The watermark and custom-size stores: counts, deletion, the factory entries, the repair of
// incomplete sections, unit conversions and the slot table.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/items/item_access.h"
#include "core/items/item_table.h"
#include "core/store/free_size_store.h"
#include "core/store/preset_store.h"
#include "core/store/stamp_store.h"
#include "platform/sim.h"
#include "store_items/list_store_fixture.h"
#include "support/test_variant.h"

namespace zems_test {
namespace {

constexpr WORD kWmCharName = 931, kWmId = 118;

class StampStoreTest : public ListStoreTest {
 protected:
  void SaveNamed(int n, const char16_t* name) {
    ItemSetText(ctx(), Row(kWmCharName), name);
    ASSERT_EQ(StampSave(ctx(), n), 1);
  }
  std::string Stamp(int n, const std::string& key) { return IniKey("Stamp" + std::to_string(n) + "us", key); }
};

TEST_F(StampStoreTest, SavingBeyondTheCountRaisesItAndTheScratchEntryDoesNot) {
  ASSERT_TRUE(StampSetCount(ctx(), 3));
  SaveNamed(5, u"five");
  EXPECT_EQ(StampGetCount(ctx()), 6);
  EXPECT_EQ(Stamp(5, "wdmWmCharName"), "five");
  EXPECT_EQ(Stamp(5, "zdmWmID"), "5");
  SaveNamed(kStampScratch, u"scratch");
  EXPECT_EQ(StampGetCount(ctx()), 6);
  EXPECT_EQ(Stamp(kStampScratch, "wdmWmCharName"), "scratch");
  SaveNamed(2, u"two");
  EXPECT_EQ(StampGetCount(ctx()), 6);
}

TEST_F(StampStoreTest, DeletingMovesTheLaterWatermarksDown) {
  const char16_t* names[] = {u"W0", u"W1", u"W2", u"W3"};
  for (int i = 0; i < 4; ++i) SaveNamed(i, names[i]);
  ItemSetText(ctx(), Row(kWmCharName), u"current");
  SetRaw(kWmId, 0);
  StampDelete(ctx(), 1);
  EXPECT_EQ(StampGetCount(ctx()), 3);
  EXPECT_EQ(Stamp(0, "wdmWmCharName"), "W0");
  EXPECT_EQ(Stamp(1, "wdmWmCharName"), "W2");
  EXPECT_EQ(Stamp(2, "wdmWmCharName"), "W3");
  EXPECT_EQ(Stamp(1, "zdmWmID"), "1");
  EXPECT_EQ(Stamp(3, "wdmWmCharName"), "W3") << "the last section stays beyond the count";
  WCHAR text[64];
  ItemGetTextBounded(ctx(), Row(kWmCharName), text, 64);
  EXPECT_EQ(std::u16string(text), u"current") << "the settings are put back";
}

TEST_F(StampStoreTest, DeletingOutOfRangeChangesNothing) {
  for (int i = 0; i < 3; ++i) SaveNamed(i, u"W");
  const std::string before = ReadBytes(SettingsIni());
  for (int n : {-1, 3, 4, 256}) {
    StampDelete(ctx(), n);
    EXPECT_EQ(ReadBytes(SettingsIni()), before) << n;
  }
}

TEST_F(StampStoreTest, SelectLoadsTheSectionAndReselectFollowsTheFunction) {
  SaveNamed(0, u"zero");
  SaveNamed(1, u"one");
  StampSelect(ctx(), 0);
  EXPECT_EQ(Raw(kWmId), 0);
  WCHAR text[64];
  ItemGetTextBounded(ctx(), Row(kWmCharName), text, 64);
  EXPECT_EQ(std::u16string(text), u"zero");
  struct Case {
    LONG function, kind;
    const char16_t* expected;
  };
  const Case cases[] = {{1, 1, u"one"}, {0, 1, u"changed"}, {1, 99, u"changed"}};
  for (const Case& c : cases) {
    ItemSetText(ctx(), Row(kWmCharName), u"changed");
    SetRaw(60, c.function);
    SetRaw(117, c.kind);
    SetRaw(kWmId, 1);
    StampReselect(ctx());
    ItemGetTextBounded(ctx(), Row(kWmCharName), text, 64);
    EXPECT_EQ(std::u16string(text), c.expected) << c.function << " " << c.kind;
  }
}

TEST_F(StampStoreTest, FactoryWatermarksComeFromTheModelDataFile) {
  EXPECT_EQ(StampGetFactoryCount(ctx()), 2);
  StampLoadFactorySlot(ctx(), 1);
  WCHAR text[64];
  ItemGetTextBounded(ctx(), Row(932), text, 64);
  EXPECT_EQ(std::u16string(text), u"Logo");
  EXPECT_EQ(Raw(117), 2);
  WCHAR font[kDefaultFontNameChars] = {};
  StampDefaultFontName(ctx(), font);
  EXPECT_EQ(std::u16string(font), u"Arial");
}

TEST(FreeSizeUnits, Conversions) {
  struct Case {
    LONG inch, metric;
  };
  for (const Case& c : {Case{100, 254}, Case{1, 3}, Case{0, 0}, Case{850, 2159}, Case{1169, 2970}})
    EXPECT_EQ(FreeSizeInchToMetric(c.inch), c.metric) << c.inch;
  for (const Case& c : {Case{100, 254}, Case{1, 3}, Case{0, 2}, Case{826, 2100}})
    EXPECT_EQ(FreeSizeMetricToInch(c.metric), c.inch) << c.metric;
  for (LONG x = 1; x < 2000; ++x) {
    LONG r = FreeSizeInchToMetric(x);
    ASSERT_GE(FreeSizeMetricToInch(r), x) << x;
    ASSERT_LT(FreeSizeMetricToInch(r - 1), x) << x;
  }
}

TEST(FreeSizeUnits, PaperCodesOfTheSlots) {
  EXPECT_EQ(FreeSizePaperToSlot(384, nullptr), 0);
  EXPECT_EQ(FreeSizePaperToSlot(500, nullptr), 0) << "no slot answers 0";
  EXPECT_EQ(FreeSizePaperToSlot(393, nullptr), 9);
  EXPECT_EQ(FreeSizePaperToSlot(256, nullptr), 10);
  EXPECT_EQ(FreeSizePaperToSlot(448, nullptr), 11);
  EXPECT_EQ(FreeSizeSlotToPaper(3, 10), 387);
  EXPECT_EQ(FreeSizeSlotToPaper(10, 10), 0);
  EXPECT_EQ(FreeSizeSlotToPaper(10, 12), 256);
  EXPECT_EQ(FreeSizeIsSlotPaper(384), 1);
  EXPECT_EQ(FreeSizeIsSlotPaper(256), 0);
}

class FreeSizeStoreTest : public ListStoreTest {
 protected:
  std::string Size(int n, const std::string& key) { return IniKey("FreeSize" + std::to_string(n) + "us", key); }
};

TEST_F(FreeSizeStoreTest, AModelDataFileWithoutSectionsGivesTheDefaults) {
  WriteModelDataFile("[us]\r\nStampCount=0\r\n");
  FreeSizeLoadDefaults(ctx());
  for (int n = 0; n < 10; ++n) {
    const FreeSizeSlot* slot = FreeSizeGetSlot(ctx(), n);
    ASSERT_NE(slot, nullptr);
    EXPECT_EQ(slot->width, 9921) << n;
    EXPECT_EQ(slot->length, 14031) << n;
    EXPECT_EQ(slot->tray, 4) << n;
    EXPECT_EQ(slot->orientation, 1) << n;
  }
  EXPECT_EQ(FreeSizeGetFactoryCount(ctx()), 0);
}

TEST_F(FreeSizeStoreTest, DefaultsFollowTheFactoryEntries) {
  FreeSizeLoadDefaults(ctx());
  EXPECT_EQ(FreeSizeGetSlot(ctx(), 0)->width, 4724);
  EXPECT_EQ(FreeSizeGetSlot(ctx(), 7)->length, 42520);
  EXPECT_EQ(FreeSizeGetFactoryCount(ctx()), 10);
}

TEST_F(FreeSizeStoreTest, SaveAndLoadASlotWithItsPaperItems) {
  ItemSetText(ctx(), Row(915), u"Mine");
  SetRaw(916, 5000);
  SetRaw(917, 7000);
  SetRaw(918, 2);
  SetRaw(919, 2);
  ASSERT_EQ(FreeSizeSaveSlot(ctx(), 3), 1);
  EXPECT_EQ(Size(3, "wdmFreeSizeWidth"), "5000");
  EXPECT_EQ(Raw(1118 + 12), 5000) << "the slot's paper items follow";
  for (WORD id = 915; id <= 919; ++id) SetRaw(id, 0);
  SetRaw(1118 + 12, 0);
  FreeSizeLoadSlot(ctx(), 3);
  EXPECT_EQ(Raw(917), 7000);
  EXPECT_EQ(Raw(1118 + 13), 7000);
  SetRaw(916, 1);
  FreeSizeLoadSourceSlot(ctx(), 3);
  EXPECT_EQ(Raw(921), 5000);
  EXPECT_EQ(Raw(922), 7000);
  EXPECT_EQ(Raw(916), 1) << "the custom-size items keep their values";
  const std::string before = ReadBytes(SettingsIni());
  for (int n : {-1, 10, 11}) {
    EXPECT_EQ(FreeSizeSaveSlot(ctx(), n), 0) << n;
    FreeSizeLoadSlot(ctx(), n);
  }
  EXPECT_EQ(ReadBytes(SettingsIni()), before) << "no section for a slot without one";
}

// A slot taken from the custom-size items (915-919) or the source items (920-924) keeps the
// item's name as its current name; the graphics DLL's build puts it into the two other name
// fields too, the shared one the slot's default name.
TEST_F(FreeSizeStoreTest, ASlotFromItsItemsIsNamedByTheBuild) {
  struct Case {
    const char* what;
    WORD first;
    void (*fromItems)(DriverContext*, int);
    int allFields;
  } cases[] = {
      {"items, shared", 915, FreeSizeSlotFromItems, 0},
      {"items, graphics", 915, FreeSizeSlotFromItems, 1},
      {"source items, shared", 920, FreeSizeSlotFromSrcItems, 0},
      {"source items, graphics", 920, FreeSizeSlotFromSrcItems, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestVariant().freeSizeNameInAllFields = c.allFields;
    ItemSetText(ctx(), Row(c.first), u"Mine");
    SetRaw(WORD(c.first + 1), 5000);
    SetRaw(WORD(c.first + 2), 7000);
    SetRaw(WORD(c.first + 3), 2);
    SetRaw(WORD(c.first + 4), 2);
    c.fromItems(ctx(), 4);
    const FreeSizeSlot* slot = FreeSizeGetSlot(ctx(), 4);
    ASSERT_NE(slot, nullptr);
    EXPECT_STREQ(slot->currentName, "Mine");
    EXPECT_EQ(slot->width, 5000);
    EXPECT_EQ(slot->length, 7000);
    EXPECT_EQ(slot->orientation, 2);
    if (c.allFields) {
      EXPECT_STREQ(slot->name1, "Mine");
      EXPECT_STREQ(slot->name2, "Mine");
    } else {
      EXPECT_STRNE(slot->name1, "Mine");
      EXPECT_STRNE(slot->name1, "");
      EXPECT_STREQ(slot->name2, slot->name1);
    }
  }
}

TEST_F(FreeSizeStoreTest, TheRepairFillsANewSettingsIniAndTheSlotsLoadFromIt) {
  ASSERT_EQ(StoreRepairStampsAndFreeSizes(ctx()), 1);
  EXPECT_EQ(IniKey("us", "FreeSizeCount"), "10");
  EXPECT_EQ(IniKey("us", "StampCount"), "2");
  EXPECT_EQ(Size(0, "wdmFreeSizeName"), "Postcard");
  EXPECT_EQ(Size(9, "wdmFreeSizeLength"), "11102");
  EXPECT_EQ(IniKey("Stamp0us", "wdmWmCharName"), "Confidential");
  EXPECT_EQ(IniKey("Stamp1us", "wdmWmImageName"), "Logo");
  FreeSizeLoadAll(ctx());
  const FreeSizeSlot* slot = FreeSizeGetSlot(ctx(), 1);
  ASSERT_NE(slot, nullptr);
  EXPECT_EQ(slot->width, 6992);
  EXPECT_EQ(std::string(slot->currentName), "Double postcard");
  EXPECT_EQ(Raw(1118 + 4), 6992);
  // Once per context: a changed section is not read again.
  SetIniKey("FreeSize1us", "wdmFreeSizeWidth", "1234");
  FreeSizeLoadAll(ctx());
  EXPECT_EQ(FreeSizeGetSlot(ctx(), 1)->width, 6992);
}

TEST_F(FreeSizeStoreTest, TheRepairCompletesOnlyTheMissingKeys) {
  ASSERT_EQ(StoreRepairStampsAndFreeSizes(ctx()), 1);
  for (int n = 0; n < 10; ++n) SetIniKey("FreeSize" + std::to_string(n) + "us", "wdmFreeSizeWidth", std::to_string(100 + n));
  std::u16string ini = SettingsIni();
  ASSERT_TRUE(WritePrivateProfileStringW(u"FreeSize4us", u"wdmFreeSizeTray", nullptr, ini.c_str()));
  SetIniKey("us", "FreeSizeCount", "12");
  ASSERT_EQ(StoreRepairStampsAndFreeSizes(ctx()), 1);
  EXPECT_EQ(Size(4, "wdmFreeSizeTray"), "4") << "taken from the factory entry";
  for (int n = 0; n < 10; ++n) EXPECT_EQ(Size(n, "wdmFreeSizeWidth"), std::to_string(100 + n)) << n;
  EXPECT_EQ(IniKey("us", "FreeSizeCount"), "12") << "never lowered";
}

TEST_F(FreeSizeStoreTest, TheWatermarkRepairKeepsTheUsersValuesAndIgnoresStaleSections) {
  ASSERT_EQ(StoreRepairStampsAndFreeSizes(ctx()), 1);
  SetIniKey("Stamp0us", "wdmWmCharName", "Mine");
  std::u16string ini = SettingsIni();
  ASSERT_TRUE(WritePrivateProfileStringW(u"Stamp0us", u"wdmWmAngle", nullptr, ini.c_str()));
  // Watermark 1 was deleted: its section stays beyond the count.
  SetIniKey("Stamp1us", "wdmWmImageName", "Stale");
  SetIniKey("us", "StampCount", "1");
  ASSERT_EQ(StoreRepairStampsAndFreeSizes(ctx()), 1);
  EXPECT_EQ(IniKey("Stamp0us", "wdmWmCharName"), "Mine");
  EXPECT_EQ(IniKey("Stamp0us", "wdmWmAngle"), "45");
  EXPECT_EQ(IniKey("us", "StampCount"), "2");
  EXPECT_EQ(IniKey("Stamp1us", "wdmWmImageName"), "Logo") << "the factory entry alone";
}

TEST_F(FreeSizeStoreTest, TheRepairNeedsTheModelDataFile) {
  std::filesystem::remove(SimHostPath(ModelDataFile().c_str()));
  EXPECT_EQ(StoreRepairStampsAndFreeSizes(ctx()), 1) << "a missing file reads as no factory entries";
  EXPECT_EQ(StoreRepairStampsAndFreeSizes(nullptr), 0);
}

TEST_F(FreeSizeStoreTest, TheUserPaperSlots) {
  SetRaw(340, 3000);
  SetRaw(341, 4000);
  SetRaw(342, 3);
  SetRaw(343, 2);
  FreeSizeSlotFromUserPaper(ctx(), 256, 10);
  EXPECT_EQ(FreeSizeGetSlot(ctx(), 10)->width, 3000);
  EXPECT_EQ(FreeSizeGetSlot(ctx(), 10)->orientation, 2);
  FreeSizeSlotFromUserPaper(ctx(), 384, 11);
  EXPECT_EQ(FreeSizeGetSlot(ctx(), 11)->width, 0);
  FreeSizeGetSlot(ctx(), 10);
  EXPECT_EQ(FreeSizeGetSlot(ctx(), 12), nullptr);
}

// The rewrites after an upgrade save what they loaded: a slot or watermark without a section
// stays without one, so the repair still sees it missing and fills it from the factory.
TEST_F(FreeSizeStoreTest, TheRewritesSaveNoSlotWhoseLoadFailed) {
  ASSERT_EQ(StoreRepairStampsAndFreeSizes(ctx()), 1);
  std::u16string ini = SettingsIni();
  ASSERT_TRUE(WritePrivateProfileStringW(u"FreeSize5us", nullptr, nullptr, ini.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringW(u"Stamp1us", nullptr, nullptr, ini.c_str()));
  ASSERT_FALSE(HasSection(ini, "FreeSize5us"));
  SetRaw(916, 4321);
  FreeSizeRewriteAll(ctx());
  StampResaveAll(ctx());
  EXPECT_FALSE(HasSection(ini, "FreeSize5us")) << "no 0 by 0 size written";
  EXPECT_FALSE(HasSection(ini, "Stamp1us")) << "no watermark 0 saved as 1";
  EXPECT_EQ(Size(1, "wdmFreeSizeName"), "Double postcard") << "a slot with a section is rewritten";
  EXPECT_EQ(IniKey("Stamp0us", "wdmWmCharName"), "Confidential");
  ASSERT_EQ(StoreRepairStampsAndFreeSizes(ctx()), 1);
  EXPECT_NE(Size(5, "wdmFreeSizeWidth"), "<absent>");
  EXPECT_EQ(IniKey("Stamp1us", "wdmWmImageName"), "Logo");
}

// Counts are any user's text: each is read within its list's limit, so no walk runs away and
// no count overflows where it is added to.
TEST_F(FreeSizeStoreTest, CountsAreReadWithinTheirLimits) {
  const struct {
    const char* text;
    int stamps, sizes, presets, qualities;
  } cases[] = {
      {"3", 3, 3, 3, 3},
      {"2000000000", 256, 10, 16, 256},
      {"2147483647", 256, 10, 16, 256},
      {"4294967295", 0, 0, 0, 0},
      {"-7", 0, 0, 0, 0},
      {"x", 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    SetIniKey("us", "StampCount", c.text);
    SetIniKey("us", "FreeSizeCount", c.text);
    SetIniKey(PrinterName(), "Count", c.text);
    SetIniKey(PrinterName(), "QualityCount", c.text);
    EXPECT_EQ(StampGetCount(ctx()), c.stamps);
    EXPECT_EQ(FreeSizeGetCount(ctx()), c.sizes);
    EXPECT_EQ(PresetGetCount(ctx()), c.presets);
    EXPECT_EQ(QualityGetCount(ctx()), c.qualities);
  }
  // A full list takes no entry beyond its limit.
  SetIniKey(PrinterName(), "Count", "16");
  PresetAppendEntry(ctx(), u"C:\\x\\a.rst", u"A", nullptr);
  EXPECT_EQ(IniKey(PrinterName(), "Count"), "16");
  EXPECT_EQ(IniKey(PrinterName(), "PresetList16"), "<absent>");
}

// A repair whose writes fail says so.
TEST_F(FreeSizeStoreTest, ARepairOnAFullDiskReportsTheFailure) {
  SimSetDiskFull(0);
  EXPECT_EQ(StoreRepairStampsAndFreeSizes(ctx()), 0);
  SimSetDiskFull(-1);
  EXPECT_EQ(StoreRepairStampsAndFreeSizes(ctx()), 1);
}

// A full disk: the save fails and the file is the one before.
TEST_F(FreeSizeStoreTest, AFullDiskLeavesTheSettingsIni) {
  ASSERT_EQ(StoreRepairStampsAndFreeSizes(ctx()), 1);
  const std::string before = ReadBytes(SettingsIni());
  SetRaw(916, 777);
  ItemSetText(ctx(), Row(kWmCharName), u"full");
  for (long long budget : {0LL, 16LL, 1024LL}) {
    SimSetDiskFull(budget);
    EXPECT_EQ(FreeSizeSaveSlot(ctx(), 2), 0) << budget;
    SimSetDiskFull(budget);
    EXPECT_EQ(StampSave(ctx(), 5), 0) << budget;
    SimSetDiskFull(-1);
    EXPECT_EQ(ReadBytes(SettingsIni()), before) << budget;
    EXPECT_NE(CtxGetFileStatus(ctx()), 0);
  }
}

}  // namespace
}  // namespace zems_test
