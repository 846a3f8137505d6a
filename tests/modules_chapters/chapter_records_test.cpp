// The chapter array of a real context: persistence under the chapter keys, the tray summary,
// the limits and the copies kept across settings snapshots.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "core/common/ini_access.h"
#include "core/context/module_bus.h"
#include "core/context/settings_snapshot.h"
#include "core/system/languages.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/modules/chapter_records.h"
#include "core/modules/page_list.h"
#include "core/store/store_keys.h"
#include "support/module_context.h"

namespace zems_test {
namespace {

const WCHAR* W(const char16_t* s) { return reinterpret_cast<const WCHAR*>(s); }

class ChapterRecordsTest : public ModuleContextTest {
 protected:
  void Set(WORD id, LONG value) { ItemSetRawById(ctx_, id, value); }
  LONG Get(WORD id) { return static_cast<LONG>(ItemGetRawById(ctx_, id)); }
  void Key(const char16_t* key, const char16_t* value) { IniWriteString(section_, W(key), W(value), ini_); }
  std::u16string ReadKey(const char16_t* key) {
    WCHAR text[64] = {};
    IniReadString(section_, W(key), W(u"-"), text, 64, ini_);
    return reinterpret_cast<const char16_t*>(text);
  }
  // Pages of the records in use, joined by ','.
  std::string Pages() {
    std::string out;
    for (LONG n = 0; n < ChapterGetCount(ctx_); ++n) {
      const ChapterRecord* r = ChapterGetRecord(ctx_, n);
      out += (n ? "," : "") + (r ? std::to_string(r->page) : std::string("?"));
    }
    return out;
  }
  ChapterRecord* Array() { return ChapterArray(ctx_, nullptr); }

};

TEST_F(ChapterRecordsTest, SavingStopsAtTheFirstFreeRecord) {
  Set(kItem_wdmChapterMax, 6);
  Set(kItem_wdmChapterNum, 4);
  const WORD pages[] = {5, 9, 0, 12};
  for (int i = 0; i < 4; ++i) Array()[i].page = pages[i];
  ChapterSaveAll(ctx_, nullptr);
  EXPECT_EQ(u"5", ReadKey(u"wdmChapterPage1"));
  EXPECT_EQ(u"9", ReadKey(u"wdmChapterPage2"));
  EXPECT_EQ(u"-", ReadKey(u"wdmChapterPage3"));
  EXPECT_EQ(u"-", ReadKey(u"wdmChapterPage4"));
  EXPECT_EQ(2, Get(kItem_wdmChapterNum)) << "the list is cut at its hole";
}

TEST_F(ChapterRecordsTest, LoadingWithNoCountLeavesTheArray) {
  Set(kItem_wdmChapterMax, 4);
  Array()[0].page = 7;
  Key(u"wdmChapterPage1", u"3");
  Set(kItem_wdmChapterNum, 0);
  EXPECT_EQ(0, ChapterLoadAll(ctx_, nullptr, 0));
  EXPECT_EQ(7, Array()[0].page);
}

// A settings ini edited by hand or damaged: the count is held to the limit and a record the
// driver never writes ends the list; every text is terminated.
TEST_F(ChapterRecordsTest, AHostileSettingsIniGivesOnlyRecordsTheDriverCouldHaveWritten) {
  Set(kItem_wdmChapterMax, 5);
  struct Case {
    const char16_t* page3;
    const char16_t* kind3;
    const char16_t* print3;
    LONG count;
  } cases[] = {
      {u"7", u"1", u"0", 5},
      {u"40000", u"1", u"0", 2},
      {u"7", u"9", u"0", 2},
      {u"7", u"0", u"3", 2},
      {u"-7", u"0", u"0", 2},
  };
  for (const Case& c : cases) {
    for (const char16_t* key : {u"wdmChapterPage1", u"wdmChapterPage2", u"wdmChapterPage4", u"wdmChapterPage5",
                                u"wdmChapterPage6"})
      Key(key, u"2");
    Key(u"wdmChapterPage3", c.page3);
    Key(u"wdmChapterKind3", c.kind3);
    Key(u"wdmChapterPrint3", c.print3);
    Key(u"wdmChapterPageRange1", u"12345678901234567890");
    Set(kItem_wdmChapterNum, 50);
    EXPECT_EQ(c.count, ChapterLoadAll(ctx_, nullptr, 0)) << static_cast<char>(c.page3[0]);
    EXPECT_EQ(c.count, Get(kItem_wdmChapterNum));
    EXPECT_EQ(0, Array()[0].range[15]);
    EXPECT_EQ(0, Array()[5].page) << "the record after the limit stays free";
  }
}

TEST_F(ChapterRecordsTest, TheTraySummaryCountsDistinctTraysOfKindZero) {
  Set(kItem_wdmChapterMax, 12);
  struct Case {
    std::vector<WORD> trays;
    std::vector<BYTE> kinds;
    LONG distinct;
    std::vector<LONG> used;
  } cases[] = {
      {{2, 3, 2}, {0, 0, 0}, 2, {2, 3}},
      {{2, 3, 4}, {0, 1, 0}, 2, {2, 4}},
      {{2, 9999}, {0, 0}, 1, {2}},  // an unknown tray counts as tray 2's number
      // More distinct trays than items: eight are written, the count is kept.
      {{2, 3, 5, 6, 7, 8, 439, 839, 837}, {0, 0, 0, 0, 0, 0, 0, 0, 0}, 9, {2, 3, 5, 6, 7, 8, 439, 839}},
  };
  const WORD useTrays[] = {kItem_wdmChapterUseTray1, kItem_wdmChapterUseTray2, kItem_wdmChapterUseTray3,
                           kItem_wdmChapterUseTray4, kItem_wdmChapterUseTray5, kItem_wdmChapterUseTray6,
                           kItem_wdmChapterUseTray7, kItem_wdmChapterUseTray8};
  for (const Case& c : cases) {
    for (WORD id : useTrays) Set(id, 0);
    Set(kItem_wdmChapterNum, static_cast<LONG>(c.trays.size()));
    for (size_t i = 0; i < c.trays.size(); ++i) {
      Array()[i].page = static_cast<WORD>(i + 1);
      Array()[i].tray = c.trays[i];
      Array()[i].kind = c.kinds[i];
    }
    ChapterTraySummary(ctx_);
    EXPECT_EQ(c.distinct, Get(kItem_wdmChapterTrayNum));
    for (size_t i = 0; i < c.used.size(); ++i) EXPECT_EQ(c.used[i], Get(useTrays[i])) << i;
  }
  EXPECT_EQ(0u, ChapterTrayNumber(2));
  EXPECT_EQ(25u, ChapterTrayNumber(169));
  EXPECT_EQ(299u, ChapterTrayNumber(13552));
}

// Raising the limit after records exist grows the array: the records stay and every new
// place can be used (the sanitizer builds see any write past the old end).
TEST_F(ChapterRecordsTest, ARaisedLimitGrowsTheArrayWithItsRecords) {
  Set(kItem_wdmChapterMax, 5);
  Set(kItem_wdmChapterTrayMax, 8);
  Set(kItem_wdmChapterKind, 0);
  Set(kItem_wdmChapterTray, 2);
  ASSERT_EQ(kPageListOk, PageListImport(ctx_, W(u"1-5")));
  CtxSnapshotPush(ctx_);
  Set(kItem_wdmChapterMax, 20);
  ASSERT_EQ(kPageListOk, PageListImport(ctx_, W(u"6-20")));
  EXPECT_EQ(20, ChapterGetCount(ctx_));
  DWORD records = 0;
  ChapterArray(ctx_, &records);
  EXPECT_EQ(21u, records);
  EXPECT_EQ(kPageListTooMany, PageListImport(ctx_, W(u"21")));
  CtxSnapshotPush(ctx_);  // a copy of the grown array
  CtxSnapshotPop(ctx_, TRUE);
  CtxSnapshotPop(ctx_, TRUE);
  EXPECT_EQ("1,2,3,4,5", Pages()) << "the first push's chapters";
  // A limit read back as 0 keeps the one in force.
  Key(u"wdmChapterMax", u"0");
  EXPECT_EQ(1, ChapterLoadLimitsOnce(ctx_));
  EXPECT_EQ(5, Get(kItem_wdmChapterMax));
}

// Each restoring pop brings back the chapters of its own push, however many came after it;
// the count is part of the settings, so the records are changed in place.
TEST_F(ChapterRecordsTest, RestoringPopsGiveBackTheirOwnPushsChapters) {
  Set(kItem_wdmChapterMax, 8);
  Set(kItem_wdmChapterTrayMax, 8);
  auto importOnTray = [&](WORD tray) {
    Set(kItem_wdmChapterTray, tray);
    ASSERT_EQ(kPageListOk, PageListImport(ctx_, W(u"3,5")));
  };
  importOnTray(2);
  CtxSnapshotPush(ctx_);
  importOnTray(5);
  CtxSnapshotPush(ctx_);
  importOnTray(6);
  CtxSnapshotPop(ctx_, TRUE);
  EXPECT_EQ(5, Array()[0].tray);
  EXPECT_EQ(5, Array()[1].tray);
  CtxSnapshotPop(ctx_, TRUE);
  EXPECT_EQ(2, Array()[0].tray) << "the first push's chapters, not the second's";
  EXPECT_EQ(2, Array()[1].tray);
  EXPECT_EQ("3,5", Pages());
}

// A settings-file section read or written (event 24) carries the chapters with it: plain reads
// and writes, the preset-group forms only while the chapter count belongs to that group, and
// the text files' reads from the language section.
TEST_F(ChapterRecordsTest, SettingsFileTransfersCarryTheChapters) {
  Set(kItem_wdmChapterMax, 4);
  const WCHAR* file = W(u"C:\\_zems\\saved.ini");
  ASSERT_TRUE(WriteMachineFile("C:\\_zems\\saved.ini", ""));
  SettingItem* count = ItemFind(ctx_, kItem_wdmChapterNum);
  ASSERT_NE(nullptr, count);
  struct Case {
    DWORD flags;
    bool group;
    bool reads, writes;
  } cases[] = {
      {1, false, true, false}, {2, false, false, true}, {5, true, true, false}, {5, false, false, false},
      {6, true, false, true},  {6, false, false, false}, {9, false, true, false}, {3, false, false, false},
  };
  const WORD savedState = count->state;
  for (const Case& c : cases) {
    count->state = static_cast<WORD>(c.group ? (savedState | 0x4) : (savedState & ~0xC));
    // The file holds page 8 under both sections; the context holds page 4.
    for (const WCHAR* section : {static_cast<const WCHAR*>(section_), ResGetUiLangCode(ctx_)}) {
      IniWriteString(section, W(u"wdmChapterPage1"), W(u"8"), file);
    }
    Set(kItem_wdmChapterNum, 1);
    Array()[0].page = 4;
    struct {
      DWORD flags;
      const WCHAR* path;
    } done = {c.flags, file};
    ModBusSendEvent(ctx_, 24, &done);
    EXPECT_EQ(c.reads ? 8 : 4, Array()[0].page) << c.flags << (c.group ? " group" : "");
    WCHAR text[8] = {};
    IniReadString(section_, W(u"wdmChapterPage1"), W(u""), text, 8, file);
    EXPECT_EQ(c.writes ? u'4' : u'8', text[0]) << c.flags << (c.group ? " group" : "");
  }
  count->state = savedState;
}

}  // namespace
}  // namespace zems_test
