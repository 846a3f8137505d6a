// Text items: narrow items through the ANSI code page, wide items copied, both cut to the
// item's size with their terminator; nothing past the item is touched.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "core/items/derived_settings.h"
#include "core/items/item_access.h"
#include "core/items/item_table.h"
#include "core/items/units.h"
#include "core/items/item_ids.h"
#include "support/item_context.h"

namespace {

using zems_test::ItemContextTest;

std::u16string Repeat(char16_t c, size_t n) { return std::u16string(n, c); }

struct TextCase {
  const char* what;
  WORD id;
  std::u16string written;
  std::u16string read;
};

TEST_F(ItemContextTest, TextItemsBothWays) {
  const TextCase cases[] = {
      {"narrow text33", 915, u"Letter plus", u"Letter plus"},
      {"narrow, code-page character", 915, u"Caf\u00e9", u"Caf\u00e9"},
      {"narrow, cut to 32 bytes", 915, Repeat(u'x', 40), Repeat(u'x', 32)},
      {"narrow text9", 10003, u"12345678", u"12345678"},
      {"wide dmFormName", 20, u"A4", u"A4"},
      {"wide, exactly 31 characters", 20, Repeat(u'w', 31), Repeat(u'w', 31)},
      {"wide, cut to 31 characters", 20, Repeat(u'w', 50), Repeat(u'w', 31)},
      {"wide dmDeviceName", 1, u"Printer \u00c5", u"Printer \u00c5"},
      {"empty", 915, u"", u""},
  };
  for (const TextCase& c : cases) {
    SettingItem* item = Item(c.id);
    ASSERT_NE(nullptr, ItemSetText(ctx(), item, reinterpret_cast<const WCHAR*>(c.written.c_str())))
        << c.what;
    WCHAR buffer[300] = {};
    ASSERT_NE(nullptr, ItemGetText(ctx(), item, buffer)) << c.what;
    EXPECT_EQ(c.read, std::u16string(reinterpret_cast<const char16_t*>(buffer))) << c.what;
  }
}

// A long text never runs into the next field.
TEST_F(ItemContextTest, LongTextStaysInsideTheItem) {
  struct Bound {
    WORD id;
    WORD next;
  };
  for (const Bound& b : {Bound{kItem_dmFormName, kItem_dmLogPixels}, Bound{kItem_dmDeviceName, kItem_dmSpecVersion}, Bound{kItem_wdmFreeSizeName, kItem_wdmFreeSizeWidth}}) {
    BYTE* value = ItemStoragePtr(ctx(), Item(b.id));
    BYTE* next = ItemStoragePtr(ctx(), Item(b.next));
    ASSERT_TRUE(value && next);
    size_t size = ItemDescSize(Item(b.id)->descriptor);
    ItemSetRawById(ctx(), b.next, 0x5A5A);
    std::u16string text = Repeat(u'y', 300);
    ItemSetText(ctx(), Item(b.id), reinterpret_cast<const WCHAR*>(text.c_str()));
    EXPECT_EQ(0x5A5A, ItemGetRawById(ctx(), b.next) & 0xFFFF) << "item " << b.id;
    EXPECT_EQ(0, value[size - 1]) << "item " << b.id << " ends with its terminator";
  }
}

TEST_F(ItemContextTest, NullTextClearsAndMarks) {
  ItemSetText(ctx(), Item(kItem_wdmFreeSizeName), reinterpret_cast<const WCHAR*>(u"abc"));
  Item(kItem_wdmFreeSizeName)->state = 0;
  EXPECT_EQ(nullptr, ItemSetText(ctx(), Item(kItem_wdmFreeSizeName), nullptr));
  BYTE* value = ItemStoragePtr(ctx(), Item(kItem_wdmFreeSizeName));
  for (int i = 0; i < 33; ++i) ASSERT_EQ(0, value[i]) << "byte " << i;
  EXPECT_EQ(1u, Item(kItem_wdmFreeSizeName)->state & 3u);
  // The raw form does the same.
  ItemSetText(ctx(), Item(kItem_wdmFreeSizeName), reinterpret_cast<const WCHAR*>(u"abc"));
  ItemSetRaw(ctx(), Item(kItem_wdmFreeSizeName), 0);
  EXPECT_EQ(0, value[0]);
}

// A narrow item filled to its last byte (no terminator, as a DEVMODE from outside may hold it)
// reads without running past the item.
TEST_F(ItemContextTest, UnterminatedNarrowTextReadsInsideTheItem) {
  BYTE* value = ItemStoragePtr(ctx(), Item(kItem_wdmFreeSizeName));
  memset(value, 'q', 33);
  ItemSetRawById(ctx(), kItem_wdmFreeSizeWidth, 0x41414141);
  WCHAR buffer[64];
  ASSERT_NE(nullptr, ItemGetText(ctx(), Item(kItem_wdmFreeSizeName), buffer));
  EXPECT_EQ(Repeat(u'q', 32), std::u16string(reinterpret_cast<const char16_t*>(buffer)));
}

TEST_F(ItemContextTest, UnterminatedWideTextReadsInsideTheItem) {
  BYTE* value = ItemStoragePtr(ctx(), Item(kItem_dmFormName));
  for (int i = 0; i < 64; i += 2) value[i] = 'z', value[i + 1] = 0;
  WCHAR buffer[64];
  ItemGetText(ctx(), Item(kItem_dmFormName), buffer);
  EXPECT_EQ(Repeat(u'z', 31), std::u16string(reinterpret_cast<const char16_t*>(buffer)));
}

TEST_F(ItemContextTest, TextOfANumberItemIsWrong) {
  WCHAR buffer[16];
  EXPECT_NE(nullptr, ItemGetText(ctx(), Item(kItem_dmPaperSize), buffer));
  EXPECT_EQ(u"wrong", std::u16string(reinterpret_cast<const char16_t*>(buffer)));
}

TEST_F(ItemContextTest, BoundedTextReadStopsAtTheBuffer) {
  ItemSetText(ctx(), Item(kItem_wdmFreeSizeName), reinterpret_cast<const WCHAR*>(u"abcdefgh"));
  WCHAR buffer[8];
  for (WCHAR& w : buffer) w = u'#';
  ItemGetTextBounded(ctx(), Item(kItem_wdmFreeSizeName), buffer, 4);
  EXPECT_EQ(u"abc", std::u16string(reinterpret_cast<const char16_t*>(buffer)));
  EXPECT_EQ(u'#', buffer[4]);
}

// Number writes reach text items through the logical-value path (a charset code, a length
// from a size edit, a rule's value): a number is no address to copy from. The raw write of a
// text's address stays the way to store a text.
TEST_F(ItemContextTest, NumberWritesToTextItemsNeverCopyFromTheNumber) {
  struct Case {
    const char* what;
    WORD id;
    void (*write)(DriverContext*, WORD);
    const char16_t* after;
    WORD mark;
  };
  const Case cases[] = {
      {"narrow, a number", 915,
       [](DriverContext* c, WORD id) { EXPECT_FALSE(ItemSetValueById(c, id, 0x1234)); }, u"keep",
       0},
      {"wide, a number", 20,
       [](DriverContext* c, WORD id) { EXPECT_FALSE(ItemSetValueById(c, id, 0x1234)); }, u"keep",
       0},
      {"charset code", 915, [](DriverContext* c, WORD id) { ItemSetCharsetCode(c, id); },
       u"keep", 0},
      {"length from display units", 915,
       [](DriverContext* c, WORD id) { ItemDisplayToDots(c, id, 2100); }, u"keep", 0},
      {"0 clears", 915,
       [](DriverContext* c, WORD id) { EXPECT_TRUE(ItemSetValueById(c, id, 0)); }, u"", 1},
      {"its own value read back", 20,
       [](DriverContext* c, WORD id) {
         EXPECT_TRUE(ItemSetValueById(c, id, ItemGetValueById(c, id)));
       },
       u"keep", 1},
      {"raw write of a text's address", 915,
       [](DriverContext* c, WORD id) {
         char text[33] = "new";
         EXPECT_TRUE(ItemSetRawById(c, id, reinterpret_cast<LONG_PTR>(text)));
       },
       u"new", 1},
  };
  for (const Case& c : cases) {
    ItemSetText(ctx(), Item(c.id), reinterpret_cast<const WCHAR*>(u"keep"));
    Item(c.id)->state = 0;
    c.write(ctx(), c.id);
    WCHAR buffer[40];
    ItemGetText(ctx(), Item(c.id), buffer);
    EXPECT_EQ(std::u16string(c.after), std::u16string(reinterpret_cast<const char16_t*>(buffer)))
        << c.what;
    EXPECT_EQ(c.mark, Item(c.id)->state & 3u) << c.what;
  }
}

TEST_F(ItemContextTest, TextCallsRefuseNullArguments) {
  WCHAR buffer[8];
  EXPECT_EQ(nullptr, ItemGetText(nullptr, Item(kItem_wdmFreeSizeName), buffer));
  EXPECT_EQ(nullptr, ItemGetText(ctx(), nullptr, buffer));
  EXPECT_EQ(nullptr, ItemGetText(ctx(), Item(kItem_wdmFreeSizeName), nullptr));
  EXPECT_EQ(nullptr, ItemSetText(nullptr, Item(kItem_wdmFreeSizeName), reinterpret_cast<const WCHAR*>(u"a")));
  EXPECT_EQ(nullptr, ItemSetText(ctx(), nullptr, reinterpret_cast<const WCHAR*>(u"a")));
}

}  // namespace
