// Defaults of the public DEVMODE fields against the sample model's descriptions.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "core/devmode/dm_fields.h"
#include "core/devmode/dm_layout.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "dm_test_util.h"
#include "support/item_context.h"
#include "support/sample_model.h"

namespace zems_test {
namespace {

class DmFieldsTest : public ItemContextTest {
 protected:
  BYTE* Dm() { return ctx()->settings; }
  SHORT Field(UINT off) { return static_cast<SHORT>(ReadU16(Dm(), off)); }
  DWORD Fields() { return ReadU32(Dm(), kDmOffFields); }
};

TEST_F(DmFieldsTest, TheTableHasEveryPublicField) {
  int count = 0;
  const DmFieldRow* rows = DmFieldTable(&count);
  ASSERT_EQ(count, 34);
  for (int i = 0; i < count; ++i) {
    EXPECT_EQ(rows[i].item, i + 1);
    // Each row's place is the catalogue's.
    EXPECT_EQ(ItemStoragePtr(ctx(), Item(rows[i].item)), Dm() + rows[i].offset) << rows[i].item;
  }
}

TEST_F(DmFieldsTest, DescribedValuesOfTheRightShapeStayOthersTakeTheRecordsDefaults) {
  SampleModel model(ctx());
  ASSERT_NE(model.image(), nullptr);
  struct Case {
    const char* what;
    UINT offset;
    SHORT value;
    SHORT expected;
    DWORD bit;  // the field's dmFields bit, clear before; 0: not checked
  } cases[] = {
      {"copies in range", 86, 5, 5, 0x100},
      {"copies 0", 86, 0, 1, 0x100},
      {"copies above the range", 86, 1000, 1, 0x100},
      {"paper code", 78, 11, 11, 0x2},
      {"paper 0", 78, 0, 9, 0x2},
      {"paper by dimensions", 78, 256, 256, 0x2},
      {"landscape", 76, 2, 2, 0x1},
      {"orientation 3", 76, 3, 1, 0x1},
      {"scale is not described", 84, 50, 100, 0},
      {"TrueType option is not described", 98, 2, 3, 0x4000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteU16(Dm(), c.offset, static_cast<WORD>(c.value));
    WriteU32(Dm(), kDmOffFields, 0);
    DmApplyFieldDefaults(Dm(), 1, ctx());
    EXPECT_EQ(Field(c.offset), c.expected);
    if (c.bit) {
      EXPECT_NE(Fields() & c.bit, 0u);
    }
  }
  // Header fields the sample does not describe take the record's and the layout's values.
  EXPECT_EQ(ReadU16(Dm(), kDmOffSpecVersion), 0x401);
  EXPECT_EQ(ReadU16(Dm(), kDmOffDriverVersion), 0x400);
  EXPECT_EQ(ReadU16(Dm(), kDmOffSize), 220);
  EXPECT_EQ(ReadU16(Dm(), kDmOffDriverExtra), 1016);
}

TEST_F(DmFieldsTest, CollationFollowsTheSortItemAndTheFormNameTheRecord) {
  SampleModel model(ctx());
  // Collation is possible when the sort item offers a choice on this printer: sorting needs a
  // hard disk or enough memory.
  for (LONG_PTR hdd : {1, 0}) {
    SCOPED_TRACE(hdd);
    ItemSetRawById(ctx(), kItem_zdmOutputOptionTypeHDD, hdd);
    ItemSetRawById(ctx(), kItem_zdmPrinterMemory, 0);
    ItemSetRawById(ctx(), kItem_zdmFuncSelectSort, 1);
    WriteU32(Dm(), kDmOffFields, 0);
    WriteU16(Dm(), 100, 0);
    DmApplyFieldDefaults(Dm(), 1, ctx());
    EXPECT_EQ(Field(100), hdd ? 1 : 0);
    EXPECT_EQ(Fields() & 0x8000, hdd ? 0x8000u : 0u);
  }
  // An empty, undescribed form name takes the record's, with its bit cleared.
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(Dm() + kDmOffFormName)), u"A4");
  EXPECT_EQ(Fields() & 0x10000, 0u);
}

TEST_F(DmFieldsTest, ForcedDefaultsWriteEveryRow) {
  memset(Dm(), 0x5A, kDmPublicSize);
  DmApplyFieldDefaults(Dm(), 0, ctx());
  EXPECT_EQ(Field(86), 1);      // dmCopies
  EXPECT_EQ(Field(78), 9);      // dmPaperSize
  EXPECT_EQ(Field(90), 600);    // dmPrintQuality
  EXPECT_EQ(Field(80), 0);      // dmPaperLength
  EXPECT_EQ(ReadU32(Dm(), 212), 0u);  // dmPanningWidth
  EXPECT_EQ(Dm()[0], 0x5A) << "dmDeviceName is not written";
  EXPECT_EQ(ReadU32(Dm(), 204), 0x5A5A5A5Au) << "dmReserved1 is not written";
  const DWORD fields = Fields();
  EXPECT_EQ(fields & (0x1 | 0x2 | 0x100 | 0x200 | 0x400 | 0x1000 | 0x4000), DWORD(0x1 | 0x2 | 0x100 | 0x200 | 0x400 | 0x1000 | 0x4000));
  EXPECT_EQ(fields & (0x4 | 0x8 | 0x10000), 0u);
}

}  // namespace
}  // namespace zems_test
