// Typed reads and writes of setting items, change marks and change flags.
#include <gtest/gtest.h>

#include <climits>
#include <string.h>

#include "core/context/settings_snapshot.h"
#include "core/items/item_access.h"
#include "core/items/item_table.h"
#include "core/items/item_ids.h"
#include "support/item_context.h"

namespace {

using zems_test::ItemContextTest;

struct RawCase {
  const char* what;
  WORD id;
  LONG_PTR written;
  LONG_PTR read;
};

// One item of each data type of the table: what a write keeps and how a read extends it.
TEST_F(ItemContextTest, EveryDataTypeStoresAndLoadsByItsWidth) {
  const RawCase cases[] = {
      {"signed byte zdmPresetNo, sign-extended", 37, -3, -3},
      {"signed byte keeps the low byte", 37, 0x1FF, -1},
      {"s16 dmScale", 11, -2, -2},
      {"s16 keeps the low word", 11, 0x18000, -32768},
      {"s16 dmPaperSize positive", 8, 32767, 32767},
      {"byte zdmMachineID, zero-extended", 35, 0x1FF, 255},
      {"u16 zdmScaleV, zero-extended", 90, 0x1FFFF, 65535},
      {"u32 zdmSrcPaperLengthDot as is", 40, static_cast<LONG_PTR>(0xFFFFFFFFu), -1},
      {"u32 large value", 40, 0x7FFFFFFF, 0x7FFFFFFF},
      {"s32 zdmTotalCounter", 10289, -123456, -123456},
      {"s32 extremes", 10289, LONG_MIN, LONG_MIN},
  };
  for (const RawCase& c : cases) {
    ASSERT_TRUE(ItemSetRawById(ctx(), c.id, c.written)) << c.what;
    EXPECT_EQ(c.read, ItemGetRawById(ctx(), c.id)) << c.what;
  }
}

// The bit items of one unit share its bytes: a write changes only its own bit.
TEST_F(ItemContextTest, BitItemsChangeOnlyTheirBit) {
  struct BitCase {
    WORD id;
    int byte;
    BYTE mask;
  };
  const BitCase bits[] = {
      {kItem_zdmFuncSelectScale, 0, 0x01},  // bit0.0
      {kItem_zdmFuncSelectDuplex, 0, 0x08},  // bit0.3
      {kItem_zdmFuncSelectPunch, 0, 0x80},  // bit0.7
      {kItem_zdmFuncSelectStaple, 1, 0x01},  // bit1.0
      {kItem_zdmFuncSelectFold, 2, 0x80},  // bit2.7
      {kItem_zdmFuncSelectReserve1, 3, 0x80},  // bit3.7
  };
  BYTE* unit = ItemStoragePtr(ctx(), Item(kItem_zdmFuncSelectScale));
  ASSERT_NE(nullptr, unit);
  for (const BitCase& b : bits) {
    memset(unit, 0xFF, 4);
    ASSERT_EQ(1, ItemGetRawById(ctx(), b.id)) << "id " << b.id;
    ItemSetRawById(ctx(), b.id, 0);
    EXPECT_EQ(0, ItemGetRawById(ctx(), b.id)) << "id " << b.id;
    EXPECT_EQ(static_cast<BYTE>(~b.mask), unit[b.byte]) << "id " << b.id;
    memset(unit, 0, 4);
    ItemSetRawById(ctx(), b.id, 42);  // any nonzero value sets the bit
    EXPECT_EQ(1, ItemGetRawById(ctx(), b.id)) << "id " << b.id;
    EXPECT_EQ(b.mask, unit[b.byte]) << "id " << b.id;
    for (int k = 0; k < 4; ++k) {
      if (k != b.byte) {
        EXPECT_EQ(0, unit[k]) << "id " << b.id << " byte " << k;
      }
    }
  }
}

TEST_F(ItemContextTest, TextAndBlockItemsReadAsTheirAddress) {
  SettingItem* item = nullptr;
  LONG_PTR address = ItemGetRawById(ctx(), kItem_dmFormName, &item);
  ASSERT_NE(nullptr, item);
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(ItemStoragePtr(ctx(), item)), address);
}

TEST_F(ItemContextTest, ReadsAndWritesWithoutRecordOrStorageDoNothing) {
  EXPECT_EQ(0, ItemGetRawById(ctx(), 0));
  EXPECT_EQ(0, ItemGetRawById(ctx(), 5000));
  EXPECT_FALSE(ItemSetRawById(ctx(), 5000, 1));
  EXPECT_EQ(0, ItemGetRaw(nullptr, Item(kItem_dmPaperSize)));
  EXPECT_EQ(0, ItemGetValueById(ctx(), 0));
  // A context without a settings block reads 0 and writes nothing.
  BYTE* block = ctx()->settings;
  ctx()->settings = nullptr;
  EXPECT_EQ(0, ItemGetRawById(ctx(), kItem_dmPaperSize));
  EXPECT_FALSE(ItemSetRawById(ctx(), kItem_dmPaperSize, 9));
  EXPECT_EQ(0u, Item(kItem_dmPaperSize)->state & 3u);
  ctx()->settings = block;
}

TEST_F(ItemContextTest, WriteMarksTheItemAndTheContext) {
  SettingItem* item = Item(kItem_dmPaperSize);
  ASSERT_EQ(0u, item->state & 3u);
  ASSERT_EQ(0, ModifiedFlag());
  ItemSetRawById(ctx(), kItem_dmPaperSize, 9);
  EXPECT_EQ(1u, item->state & 3u);
  EXPECT_EQ(1, ModifiedFlag());
}

TEST_F(ItemContextTest, InitialCopyWritesDoNotMark) {
  ItemSetInitialRawById(ctx(), kItem_dmPaperSize, 11);
  EXPECT_EQ(11, ItemGetInitialRawById(ctx(), kItem_dmPaperSize));
  EXPECT_EQ(0, ItemGetRawById(ctx(), kItem_dmPaperSize));
  EXPECT_EQ(0u, Item(kItem_dmPaperSize)->state & 3u);
  EXPECT_EQ(0, ModifiedFlag());
}

TEST_F(ItemContextTest, WriteAddsTheItemsChangeClasses) {
  Item(kItem_dmPaperSize)->changeClasses = 0x80000000u | 0x1000000u | 0x30000u | 0x5u;
  ItemSetRawById(ctx(), kItem_dmPaperSize, 9);
  EXPECT_EQ(0x1030000u, CtxGetChangeFlags(ctx()));
}

struct ChangeFlagCase {
  const char* what;
  DWORD before;
  DWORD added;
  DWORD after;
};

TEST_F(ItemContextTest, ChangeFlagsAccumulateClassesAndKeepTheLatestLowWord) {
  const ChangeFlagCase cases[] = {
      {"low word replaced, high bits kept", 0x10001, 0x20003, 0x30003},
      {"high bits only keep the low word", 0x10001, 0x40000, 0x50001},
      {"0 clears everything", 0x10001, 0, 0},
      {"from nothing", 0, 0x10000000, 0x10000000},
  };
  for (const ChangeFlagCase& c : cases) {
    CtxAddChangeFlags(ctx(), 0);
    CtxAddChangeFlags(ctx(), c.before);
    CtxAddChangeFlags(ctx(), c.added);
    EXPECT_EQ(c.after, CtxGetChangeFlags(ctx())) << c.what;
  }
}

TEST_F(ItemContextTest, ClearingHighChangeFlagsReachesTheSnapshotWords) {
  CtxAddChangeFlags(ctx(), 0x30000003);
  for (int i = 0; i < 3; ++i) CtxSnapshotPush(ctx());
  CtxClearChangeFlags(ctx(), 0x1);
  EXPECT_EQ(0x30000002u, CtxGetChangeFlags(ctx()));
  CtxClearChangeFlags(ctx(), 0x10000000);
  EXPECT_EQ(0x20000002u, CtxGetChangeFlags(ctx()));
  // A low mask left the words pushed; a high one reached every level.
  for (int i = 0; i < 3; ++i) {
    CtxSnapshotPop(ctx(), TRUE);
    EXPECT_EQ(0x20000003u, CtxGetChangeFlags(ctx())) << "snapshot word " << i;
  }
}

TEST_F(ItemContextTest, SettingsFileStatusIsKept) {
  EXPECT_EQ(0, CtxGetFileStatus(ctx()));
  CtxSetFileStatus(ctx(), 3);
  EXPECT_EQ(3, CtxGetFileStatus(ctx()));
  CtxSetFileStatus(ctx(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(ERROR_ACCESS_DENIED, CtxGetFileStatus(ctx()));
}

struct ScaleCase {
  LONG scaleType;
  LONG expectedV;
  WORD vMark;
};

// zdmScaleH drags zdmScaleV along only while the scale type is 1 (both axes alike).
TEST_F(ItemContextTest, ScaleCoupling) {
  const ScaleCase cases[] = {{1, 150, 1}, {0, 100, 0}, {2, 100, 0}, {3, 100, 0}};
  for (const ScaleCase& c : cases) {
    ItemSetRawById(ctx(), kItem_zdmScaleType, c.scaleType);
    ItemSetRawById(ctx(), kItem_zdmScaleV, 100);
    Item(kItem_zdmScaleH)->state = 0;
    Item(kItem_zdmScaleV)->state = 0;
    ItemSetRawById(ctx(), kItem_zdmScaleH, 150);
    EXPECT_EQ(150, ItemGetRawById(ctx(), kItem_zdmScaleH)) << "type " << c.scaleType;
    EXPECT_EQ(c.expectedV, ItemGetRawById(ctx(), kItem_zdmScaleV)) << "type " << c.scaleType;
    EXPECT_EQ(1u, Item(kItem_zdmScaleH)->state & 3u) << "type " << c.scaleType;
    EXPECT_EQ(c.vMark, Item(kItem_zdmScaleV)->state & 3u) << "type " << c.scaleType;
  }
}

TEST_F(ItemContextTest, MetricUnitFollowsTheDisplayUnitItem) {
  ItemSetRawById(ctx(), kItem_zdmDspUnit, 0);
  EXPECT_EQ(1, ItemIsMetricUnit(ctx()));
  ItemSetRawById(ctx(), kItem_zdmDspUnit, 1);
  EXPECT_EQ(0, ItemIsMetricUnit(ctx()));
}

}  // namespace
