// The finishing readers and the finisher kinds over a hand-made item context.
#include <gtest/gtest.h>

#include <string>

#include "core/context/ui_state.h"
#include "core/devmode/fin_readers.h"
#include "core/items/item_access.h"
#include "support/item_context.h"

namespace zems_test {
namespace {

class FinReadersTest : public ItemContextTest {
 protected:
  SettingItem* Slot(FinReader reader) { return Ui()->finReaders.slot[reader]; }
};

TEST_F(FinReadersTest, ReadSeesEveryWrite) {
  EXPECT_EQ(Slot(kFinStapleType), nullptr) << "a new context starts with empty slots";
  ASSERT_TRUE(ItemSetRawById(ctx(), 121, 0x41));
  EXPECT_EQ(FinRead(ctx(), kFinStapleType), 0x41);
  EXPECT_EQ(Slot(kFinStapleType), Item(121));
  ASSERT_TRUE(ItemSetRawById(ctx(), 121, 0x44));
  EXPECT_EQ(FinRead(ctx(), kFinStapleType), 0x44) << "the value is never cached, only the record";
  EXPECT_EQ(FinReadItem(ctx(), 121), 0x44);
}

TEST_F(FinReadersTest, TwoReadersOfOneItemKeepTheirOwnSlots) {
  ASSERT_TRUE(ItemSetRawById(ctx(), 10200, 9));
  EXPECT_EQ(FinRead(ctx(), kFinPaper26Large), 9);
  EXPECT_EQ(Slot(kFinPaper26Large), Item(10200));
  EXPECT_EQ(Slot(kFinPaper26Tray5), nullptr);
  EXPECT_EQ(FinRead(ctx(), kFinPaper26Tray5), 9);
  EXPECT_EQ(Slot(kFinPaper26Tray5), Item(10200));
}

TEST_F(FinReadersTest, MissingItemReadsZeroAndLeavesTheSlotEmpty) {
  const WORD kNoSuchItem = 65000;
  ASSERT_EQ(ItemFind(ctx(), kNoSuchItem), nullptr);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(FinCachedItemReader(ctx(), kFinTray6Paper, kNoSuchItem), 0);
    EXPECT_EQ(Slot(kFinTray6Paper), nullptr);
  }
  EXPECT_EQ(FinReadItem(ctx(), kNoSuchItem), 0);
}

// One option on at a time: which kinds count as installed ("ABCDEFGHIJK").
struct KindCase {
  WORD option;
  const char* kinds;
};
const KindCase kKindCases[] = {
    {0, ""},
    {10058, "A"},   {10077, "A"},   {10050, "A"},  {10081, "A"},
    {10102, "BG"},  {10099, "BG"},  {10103, "G"},
    {10060, "C"},   {10049, "D"},   {10083, "E"},  {10061, "F"},  {10059, "H"},
    {10084, "I"},   {10097, "I"},   {10082, "J"},  {10089, "J"},
    {10090, "EK"},  {10091, "EK"},  {10093, "EK"},
    {10074, "A"},   {10094, "I"},
};

TEST_F(FinReadersTest, FinisherKindsFollowTheirOptionItems) {
  for (const KindCase& c : kKindCases) {
    if (c.option != 0) {
      ASSERT_TRUE(ItemSetRawById(ctx(), c.option, 1)) << c.option;
    }
    std::string installed;
    for (int kind = 0; kind < kFinKindCount; ++kind) {
      if (FinHasFinisherKind(ctx(), kind)) installed += static_cast<char>('A' + kind);
    }
    EXPECT_EQ(installed, c.kinds) << "option " << c.option;
    if (c.option != 0) {
      ASSERT_TRUE(ItemSetRawById(ctx(), c.option, 0));
    }
  }
  EXPECT_EQ(FinHasFinisherKind(ctx(), kFinKindCount), 0);
  EXPECT_EQ(FinHasFinisherKind(ctx(), -1), 0);
}

TEST_F(FinReadersTest, EveryReaderNamesACatalogueItem) {
  for (int r = 0; r < kFinReaderCount; ++r) {
    FinRead(ctx(), static_cast<FinReader>(r));
    EXPECT_NE(Slot(static_cast<FinReader>(r)), nullptr) << "reader " << r;
  }
}

}  // namespace
}  // namespace zems_test
