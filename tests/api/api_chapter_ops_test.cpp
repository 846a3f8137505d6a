// The chapter and colour-profile list operations: what each passes to the modules and reads back.
#include <gtest/gtest.h>

#include <string>

#include "api/api_inproc_fixture.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "exclude/api/api_chapter_modules.h"
#include "exclude/api/api_chapters.h"

namespace zems_test {
namespace {

class ApiChapterOpsTest : public ApiInProcessTest {
 protected:
  void SetUp() override {
    ApiInProcessTest::SetUp();
    Install();
    Enable();
  }
  int Op(int operation, LONG_PTR* record) { return ApiChapterListOp(Api(), operation, record); }
};

TEST_F(ApiChapterOpsTest, ProfileCountAndNames) {
  LONG_PTR record[6] = {};
  EXPECT_EQ(1, Op(0, record));
  EXPECT_EQ(0, record[0]) << "no profiles stored";
  WriteSettingsKeyIn(u"us", "CmmCount", u"6");
  EXPECT_EQ(1, Op(0, record));
  EXPECT_EQ(6, record[0]);
  WriteSettingsKeyIn(u"ColorMatching4us", "zdmColorMatchingMode", u"Proof stock");
  WCHAR name[64] = {u'x'};
  LONG_PTR named[6] = {4, reinterpret_cast<LONG_PTR>(name)};
  EXPECT_EQ(1, Op(1, named));
  EXPECT_EQ(u"Proof stock", std::u16string(reinterpret_cast<const char16_t*>(name)));
}

TEST_F(ApiChapterOpsTest, MergeFormsTheEntryText) {
  ItemSetRawById(Ctx(), kItem_wdmChapterMax, 8);
  ItemSetRawById(Ctx(), kItem_wdmChapterKind, 3);  // ranges keep their text
  struct Case {
    LONG first, last;
    const char16_t* entry;
  } cases[] = {{5, 5, u"5"}, {5, 9, u"5-9"}, {12, 0, u"12"}};
  for (const Case& c : cases) {
    LONG_PTR cleared[6] = {};
    EXPECT_EQ(1, Op(4, cleared));
    LONG_PTR record[6] = {c.first, 0, c.last, -1};
    EXPECT_EQ(1, Op(2, record));
    EXPECT_EQ(0, record[3]) << c.entry << ": merged";
    DWORD count = 0;
    auto* array = static_cast<const ChapterRecord*>(ApiChapterArray(Api(), &count));
    ASSERT_NE(nullptr, array);
    EXPECT_EQ(c.first, array[0].page);
    EXPECT_EQ(std::u16string(c.entry), std::u16string(reinterpret_cast<const char16_t*>(array[0].range)));
  }
  LONG_PTR overlap[6] = {10, 0, 14, -1};
  EXPECT_EQ(1, Op(2, overlap));
  EXPECT_EQ(1, overlap[3]) << "10-14 takes in the chapter on page 12: refused";
}

TEST_F(ApiChapterOpsTest, DeleteOnlyAnEntryInUse) {
  ItemSetRawById(Ctx(), kItem_wdmChapterNum, 0);
  LONG_PTR record[6] = {0, -5};
  EXPECT_EQ(0, Op(3, record)) << "no entry is in use";
  EXPECT_EQ(-5, record[1]) << "nothing reported";
  LONG_PTR beyond[6] = {100000};
  EXPECT_EQ(0, Op(3, beyond));
  EXPECT_EQ(0, Op(7, record)) << "an unknown operation is not carried out";
}

TEST_F(ApiChapterOpsTest, StoredEntryIsRead) {
  WriteSettingsKey("wdmChapterPage3", u"12");
  WriteSettingsKey("wdmChapterKind3", u"3");
  WriteSettingsKey("wdmChapterTray3", u"2");
  WriteSettingsKey("wdmChapterPrint3", u"1");
  WriteSettingsKey("wdmChapterPageRange3", u"12-20");
  LONG_PTR record[6] = {2};
  EXPECT_EQ(1, Op(5, record));
  EXPECT_EQ(12, record[1]);
  EXPECT_EQ(3, record[2]);
  EXPECT_EQ(2, record[3]);
  EXPECT_EQ(1, record[4]);
  EXPECT_EQ(20, record[5]);
  WriteSettingsKey("wdmChapterPageRange3", u"12");
  EXPECT_EQ(1, Op(5, record));
  EXPECT_EQ(12, record[5]) << "a range without '-' is its own end";
}

TEST_F(ApiChapterOpsTest, ArraysCompareWithinTheEntriesInUse) {
  // One entry in use (and one record: the sample allows no more chapters).
  ChapterRecord a[2] = {}, b[2] = {};
  a[0].page = b[0].page = 5;
  a[0].kind = b[0].kind = 3;
  a[0].range[0] = u'5';
  b[0].range[0] = u'6';  // the range text is not compared
  a[1].page = 9;          // beyond the entries in use
  ItemSetRawById(Ctx(), kItem_wdmChapterNum, 1);
  LONG_PTR record[6] = {reinterpret_cast<LONG_PTR>(a), reinterpret_cast<LONG_PTR>(b), -1};
  EXPECT_EQ(1, Op(6, record));
  EXPECT_EQ(0, record[2]);
  b[0].tray = 4;
  EXPECT_EQ(1, Op(6, record));
  EXPECT_EQ(1, record[2]);
  LONG_PTR missing[6] = {reinterpret_cast<LONG_PTR>(a), 0, -1};
  EXPECT_EQ(1, Op(6, missing));
  EXPECT_EQ(1, missing[2]);
}

}  // namespace
}  // namespace zems_test
