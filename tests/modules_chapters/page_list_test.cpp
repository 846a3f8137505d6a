// Page-list texts read into chapter entries, and their merge into the chapter array.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/modules/page_list.h"
#include "support/item_context.h"

namespace {

using zems_test::ItemContextTest;

std::u16string Text(const WCHAR* w) { return std::u16string(reinterpret_cast<const char16_t*>(w)); }
const WCHAR* W(const char16_t* s) { return reinterpret_cast<const WCHAR*>(s); }

// The entries of a list as "first" or "first-last" joined by ','; the message id on a refusal.
std::string Parse(const char16_t* text, int kind, DWORD limit) {
  static PageList list;
  const int result = PageListParse(W(text), kind, limit, &list);
  if (result != kPageListOk) return std::to_string(result);
  std::string out;
  for (int i = 0; i < list.count; ++i) {
    if (i) out += ",";
    out += std::to_string(list.entries[i].first);
    if (list.entries[i].last != list.entries[i].first) out += "-" + std::to_string(list.entries[i].last);
  }
  return out;
}

TEST(PageListParse, TextsToSortedEntries) {
  struct Case {
    const char16_t* text;
    int kind;
    DWORD limit;
    const char* expected;
  } cases[] = {
      {u"3,1,2", 0, 20, "1,2,3"},
      {u"5-3", 0, 20, "3,4,5"},
      {u"5-3", 3, 20, "3-5"},
      {u"9,4-6,5", 0, 20, "4,5,6,9"},  // pages already listed are dropped
      {u"5,", 0, 20, "5"},             // a trailing ',' closes nothing
      {u"", 0, 20, ""},
      {u"1-2-3", 0, 20, "10073"},
      {u"-4", 0, 20, "10073"},
      {u"4-", 0, 20, "10073"},
      {u"4-,6", 0, 20, "10073"},
      {u"0", 0, 20, "10073"},
      {u"30001", 0, 20, "10073"},
      {u"30000", 0, 20, "30000"},
      {u"99999999999", 0, 20, "10073"},  // never wrapped into range
      {u"000005", 0, 20, "10073"},       // six digits
      {u",5", 0, 20, "10073"},
      {u"3,,4", 0, 20, "10073"},
      {u"1-30000", 0, 20, "10065"},
      {u"1-5", 3, 20, "1-5"},
      {u"1,2,3", 0, 2, "10065"},
      {u"7 ", 0, 20, "12049"},
      {u"a", 0, 20, "12049"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, Parse(c.text, c.kind, c.limit)) << Text(W(c.text)).size();
}

TEST(PageListParse, AtMost512EntriesAndTheTerminator) {
  std::u16string text = u"1-600";
  static PageList list;
  EXPECT_EQ(kPageListTooMany, PageListParse(W(text.c_str()), 0, 100000, &list));
  EXPECT_EQ(kPageListOk, PageListParse(W(u"1-512"), 0, 100000, &list));
  EXPECT_EQ(512, list.count);
  EXPECT_EQ(0, list.entries[512].first);
  // Text past 512 characters is not read: the 513th character would be a page of its own.
  text.clear();
  for (int i = 0; i < 256; ++i) text += u"1,";
  text += u"2";
  EXPECT_EQ(kPageListOk, PageListParse(W(text.c_str()), 0, 100000, &list));
  EXPECT_EQ(1, list.count) << "only page 1 lies within the first 512 characters";
}

class PageListMergeTest : public ItemContextTest {
 protected:
  void SetUp() override {
    ItemContextTest::SetUp();
    ItemSetRawById(ctx(), kItem_wdmChapterMax, 6);
    ItemSetRawById(ctx(), kItem_wdmChapterTrayMax, 2);
    Choose(0, 2, 0);
  }
  void TearDown() override {
    ModBusFree(ctx());  // frees the chapter array
    ItemContextTest::TearDown();
  }
  void Choose(int kind, int tray, int print) {
    ItemSetRawById(ctx(), kItem_wdmChapterKind, kind);
    ItemSetRawById(ctx(), kItem_wdmChapterTray, tray);
    ItemSetRawById(ctx(), kItem_wdmChapterPrint, print);
  }
  int Import(const char16_t* text) { return PageListImport(ctx(), W(text)); }
  // The records in use as "page:kind:tray:print[:range]".
  std::string List() {
    std::string out;
    const LONG count = ChapterGetCount(ctx());
    for (LONG n = 0; n < count; ++n) {
      const ChapterRecord* r = ChapterGetRecord(ctx(), n);
      if (!r) return out + "?";
      if (n) out += " ";
      out += std::to_string(r->page) + ":" + std::to_string(r->kind) + ":" + std::to_string(r->tray) + ":" +
             std::to_string(r->print);
      if (r->range[0]) {
        out += ":";
        for (int i = 0; i < 16 && r->range[i]; ++i) out += static_cast<char>(r->range[i]);
      }
    }
    return out;
  }
  std::vector<BYTE> Bytes() {
    DWORD records = 0;
    const ChapterRecord* array = ChapterArray(ctx(), &records);
    return std::vector<BYTE>(reinterpret_cast<const BYTE*>(array), reinterpret_cast<const BYTE*>(array + records));
  }
};

TEST_F(PageListMergeTest, EntriesJoinInPageOrderWithTheDialogsChoices) {
  EXPECT_EQ(kPageListOk, Import(u"3,1,2"));
  EXPECT_EQ("1:0:2:0 2:0:2:0 3:0:2:0", List());
  Choose(3, 5, 1);
  EXPECT_EQ(kPageListOk, Import(u"9-7"));
  EXPECT_EQ("1:0:2:0 2:0:2:0 3:0:2:0 7:3:5:1:7-9", List());
  Choose(1, 5, 2);
  EXPECT_EQ(kPageListOk, Import(u"12"));
  EXPECT_EQ("1:0:2:0 2:0:2:0 3:0:2:0 7:3:5:1:7-9 12:1:0:0", List()) << "kinds 1 and 2 take no tray";
  // A re-import of a page takes the dialog's current choices in place of the record's.
  Choose(0, 6, 1);
  EXPECT_EQ(kPageListOk, Import(u"2"));
  EXPECT_EQ("1:0:2:0 2:0:6:1 3:0:2:0 7:3:5:1:7-9 12:1:0:0", List());
  EXPECT_EQ(2, ItemGetRawById(ctx(), kItem_wdmChapterTrayNum));
  EXPECT_EQ(2, ItemGetRawById(ctx(), kItem_wdmChapterUseTray1));
  EXPECT_EQ(6, ItemGetRawById(ctx(), kItem_wdmChapterUseTray2));
}

// Every refusal names its message and leaves the array byte for byte as it was.
TEST_F(PageListMergeTest, RefusalsLeaveTheArrayAsItWas) {
  ASSERT_EQ(kPageListOk, Import(u"2"));
  Choose(3, 2, 0);
  ASSERT_EQ(kPageListOk, Import(u"10-12"));
  Choose(0, 2, 1);
  ASSERT_EQ(kPageListOk, Import(u"20"));
  ASSERT_EQ("2:0:2:0 10:3:2:0:10-12 20:0:2:1", List());
  ItemSetRawById(ctx(), kItem_wdmChapterTrayMax, 1);
  struct Case {
    int kind, tray, print;
    const char16_t* text;
    int expected;
  } cases[] = {
      {0, 2, 0, u"11", kPageListOverlap},       // inside an earlier range
      {3, 2, 0, u"8-10", kPageListOverlap},     // reaches into it
      {3, 2, 0, u"9-13", kPageListOverlap},     // takes it in whole
      {3, 2, 0, u"1-3", kPageListOverlap},      // takes in the page-2 chapter
      {3, 2, 0, u"1,30-31,31-32", kPageListOverlap},  // two new ranges overlapping each other
      {0, 2, 0, u"4,5,6,7", kPageListTooMany},  // past six records
      {0, 7, 0, u"4", kPageListTooManyTrays},   // a second tray
      {0, 2, 2, u"4", kPageListPrintClash},     // print 2 on the tray of the print-1 chapter
      {0, 2, 0, u"4-", kPageListBadPage},
  };
  const std::vector<BYTE> before = Bytes();
  const LONG_PTR trays = ItemGetRawById(ctx(), kItem_wdmChapterTrayNum);
  for (const Case& c : cases) {
    Choose(c.kind, c.tray, c.print);
    EXPECT_EQ(c.expected, Import(c.text)) << Text(W(c.text)).size() << " " << c.expected;
    EXPECT_EQ(before, Bytes()) << c.expected;
    EXPECT_EQ(3, ChapterGetCount(ctx()));
    EXPECT_EQ(trays, ItemGetRawById(ctx(), kItem_wdmChapterTrayNum));
  }
}

TEST_F(PageListMergeTest, ARangeFromPageOneClashesWithAFrontCover) {
  ItemSetRawById(ctx(), kItem_zdmFuncSelectCover, 1);
  ItemSetRawById(ctx(), kItem_zdmCoverType, 2);
  Choose(3, 2, 0);
  EXPECT_EQ(kPageListCoverClash, Import(u"1-4"));
  EXPECT_EQ(0, ChapterGetCount(ctx()));
  ItemSetRawById(ctx(), kItem_zdmCoverType, 1);
  EXPECT_EQ(kPageListOk, Import(u"1-4"));
}

TEST_F(PageListMergeTest, DeleteOneMovesTheRestUpAndNotesTheCount) {
  ASSERT_EQ(kPageListOk, Import(u"4,8,15"));
  EXPECT_EQ(1, ChapterDeleteOne(ctx(), 3));
  EXPECT_EQ(1, ChapterDeleteOne(ctx(), -1));
  EXPECT_EQ(0, ChapterDeleteOne(ctx(), 1));
  EXPECT_EQ("4:0:2:0 15:0:2:0", List());
  EXPECT_EQ(3, ctx()->ui->chapterNotedCount);
  EXPECT_EQ(0, ChapterDeleteOne(ctx(), 1));
  EXPECT_EQ("4:0:2:0", List());
  ChapterDeleteAll(ctx());
  EXPECT_EQ(0, ChapterGetCount(ctx()));
  EXPECT_EQ(1, ctx()->ui->chapterNotedCount);
  EXPECT_EQ(nullptr, ChapterGetRecord(ctx(), 0));
}

}  // namespace
