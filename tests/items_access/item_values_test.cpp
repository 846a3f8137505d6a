// Stored <-> logical mapping through the value lists, with the landscape list of zdmNUPType.
#include <gtest/gtest.h>

#include "core/items/item_access.h"
#include "core/items/item_table.h"
#include "core/items/item_values.h"
#include "core/items/item_ids.h"
#include "support/item_context.h"

namespace {

using zems_test::ItemContextTest;

// A two-list fixture: portrait values, end entry, landscape values, end entry. Stored 2 is a
// value the field can hold but the driver never offers in portrait.
const ItemValueEntry kTwoLists[] = {
    {1, 3001, 0}, {2, 0xFFFF, 0}, {3, 3003, 0}, {2, 3022, 0}, {0, 0, 0},
    {1, 3101, 0}, {4, 3104, 0}, {0, 0, 0},
};

class ItemValuesTest : public ItemContextTest {
 protected:
  void SetUp() override {
    ItemContextTest::SetUp();
    for (WORD id : {WORD{92}, WORD{94}, WORD{37}}) Item(id)->refs->values = kTwoLists;
  }
};

struct MapCase {
  const char* what;
  WORD id;
  LONG orientation;
  LONG_PTR stored;
  LONG_PTR logical;
  BOOL listed;
};

TEST_F(ItemValuesTest, MapChoosesTheListByOrientation) {
  const MapCase cases[] = {
      {"portrait first entry", 92, 1, 1, 3001, 1},
      {"portrait skips a never-offered entry for a later one", 92, 1, 2, 3022, 1},
      {"portrait unmapped value reads as itself", 92, 1, 4, 4, 0},
      {"landscape takes the second list", 92, 2, 1, 3101, 1},
      {"landscape value missing from the first list", 92, 2, 4, 3104, 1},
      {"landscape unmapped value", 92, 2, 3, 3, 0},
      {"duplex type follows orientation too", 94, 2, 4, 3104, 1},
      {"other items always take the first list", 37, 2, 1, 3001, 1},
      {"other items in landscape, unmapped", 37, 2, 4, 4, 0},
  };
  for (const MapCase& c : cases) {
    ItemSetRawById(ctx(), kItem_dmOrientation, c.orientation);
    EXPECT_EQ(c.logical, ItemMapValue(ctx(), Item(c.id), c.stored)) << c.what;
    EXPECT_EQ(c.listed, ItemIsStoredValueListed(ctx(), Item(c.id), c.stored)) << c.what;
  }
}

TEST_F(ItemValuesTest, NeverOfferedValueIsNotListedAndReadsAsStored) {
  const ItemValueEntry only_hidden[] = {{7, 0xFFFF, 0}, {0, 0, 0}};
  Item(kItem_zdmPresetNo)->refs->values = only_hidden;
  EXPECT_EQ(7, ItemMapValue(ctx(), Item(kItem_zdmPresetNo), 7));
  EXPECT_EQ(0, ItemIsStoredValueListed(ctx(), Item(kItem_zdmPresetNo), 7));
}

struct UnmapCase {
  const char* what;
  LONG orientation;
  LONG_PTR logical;
  LONG_PTR stored;
};

TEST_F(ItemValuesTest, UnmapComparesSixteenBitsAndPassesUnknownValues) {
  const UnmapCase cases[] = {
      {"portrait", 1, 3003, 3},
      {"landscape", 2, 3104, 4},
      {"compared as 16-bit", 1, 0x10000 + 3001, 1},
      {"unknown in this list", 2, 3003, 3003},
  };
  for (const UnmapCase& c : cases) {
    ItemSetRawById(ctx(), kItem_dmOrientation, c.orientation);
    EXPECT_EQ(c.stored, ItemUnmapValue(ctx(), Item(kItem_zdmNUPType), c.logical)) << c.what;
  }
}

TEST_F(ItemValuesTest, ValueReadsAndWritesGoThroughTheList) {
  ItemSetRawById(ctx(), kItem_dmOrientation, 2);
  ASSERT_TRUE(ItemSetValueById(ctx(), kItem_zdmNUPType, 3104));
  EXPECT_EQ(4, ItemGetRawById(ctx(), kItem_zdmNUPType));
  EXPECT_EQ(3104, ItemGetValueById(ctx(), kItem_zdmNUPType));
  ItemSetRawById(ctx(), kItem_dmOrientation, 1);
  EXPECT_EQ(4, ItemGetValueById(ctx(), kItem_zdmNUPType)) << "portrait has no entry for stored 4";
}

TEST_F(ItemContextTest, ItemsWithoutListMapToThemselves) {
  ASSERT_EQ(nullptr, ItemValueList(Item(kItem_zdmScaleH)));
  EXPECT_EQ(123, ItemMapValue(ctx(), Item(kItem_zdmScaleH), 123));
  EXPECT_EQ(123, ItemUnmapValue(ctx(), Item(kItem_zdmScaleH), 123));
  EXPECT_EQ(0, ItemIsStoredValueListed(ctx(), Item(kItem_zdmScaleH), 123));
}

// The catalogue's N-up and duplex lists: in landscape the same stored value is another layout.
TEST_F(ItemContextTest, CatalogueListsFollowTheOrientation) {
  const MapCase cases[] = {
      {"N-up 2-in-1 order 1, portrait", 92, 1, 1, 3071, 1},
      {"N-up stored 1 in landscape", 92, 2, 1, 3072, 1},
      {"N-up stored 2 in landscape", 92, 2, 2, 3071, 1},
      {"N-up unmapped", 92, 2, 4, 4, 0},
      {"duplex top, portrait", 94, 1, 1, 3086, 1},
      {"duplex stored 1 in landscape", 94, 2, 1, 3088, 1},
  };
  for (const MapCase& c : cases) {
    ItemSetRawById(ctx(), kItem_dmOrientation, c.orientation);
    EXPECT_EQ(c.logical, ItemMapValue(ctx(), Item(c.id), c.stored)) << c.what;
    EXPECT_EQ(c.listed, ItemIsStoredValueListed(ctx(), Item(c.id), c.stored)) << c.what;
  }
  ItemSetRawById(ctx(), kItem_dmOrientation, 2);
  EXPECT_EQ(2, ItemUnmapValue(ctx(), Item(kItem_zdmNUPType), 3071));
  ItemSetRawById(ctx(), kItem_dmOrientation, 1);
  EXPECT_EQ(1, ItemUnmapValue(ctx(), Item(kItem_zdmNUPType), 3071));
}

TEST_F(ItemContextTest, OrientationListOfTheCatalogue) {
  EXPECT_EQ(2026, ItemMapValue(ctx(), Item(kItem_dmOrientation), 1));
  EXPECT_EQ(2027, ItemMapValue(ctx(), Item(kItem_dmOrientation), 2));
  EXPECT_EQ(2, ItemUnmapValue(ctx(), Item(kItem_dmOrientation), 2027));
}

}  // namespace
