// Display text of item values: plain and 32-bit numbers, lengths in both display units with
// the decimal comma, list values without a loadable string, texts, watermark kinds; every
// text stays inside the caller's buffer.
#include <gtest/gtest.h>

#include <string>

#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_display.h"
#include "core/items/item_table.h"
#include "core/model/model_types.h"
#include "support/item_context.h"

namespace {

using zems_test::ItemContextTest;

std::u16string Text(const WCHAR* w) { return std::u16string(reinterpret_cast<const char16_t*>(w)); }

class ItemDisplayTest : public ItemContextTest {
 protected:
  void SetUp() override {
    ItemContextTest::SetUp();
    numeric_record_ = NumericValueRecord{};
    numeric_record_.numbers[0] = 153;  // the unit's string
    numeric_.type = kModelTypeNumeric;
    numeric_.values = &numeric_record_;
    pick_one_.type = kModelTypePickPage;  // low byte 1: a list type
    string_.type = kModelTypeString;
    Item(kItem_wdmFreeSizeWidth)->changeClasses = 0x80000000u;
  }

  // Formats into a buffer of size characters guarded by a canary, which must stay intact.
  std::u16string Format(WORD id, const ModelItemDescriptor* d, int size = 64) {
    WCHAR buffer[80];
    for (WCHAR& w : buffer) w = u'#';
    int length = ItemFormatDescribedValue(ctx(), Item(id), d, buffer, size);
    EXPECT_EQ(u'#', buffer[size]) << "written past the buffer of " << size;
    EXPECT_EQ(0, buffer[length]) << "terminated after the returned length";
    EXPECT_LT(length, size);
    return Text(buffer);
  }

  NumericValueRecord numeric_record_;
  ModelItemDescriptor numeric_{};
  ModelItemDescriptor pick_one_{};
  ModelItemDescriptor string_{};
};

struct NumberCase {
  const char* what;
  WORD id;
  LONG_PTR stored;
  std::u16string text;
};

TEST_F(ItemDisplayTest, PlainNumbersPrintAsTheirItemHoldsThem) {
  const NumberCase cases[] = {
      {"u16", kItem_zdmScaleH, 150, u"150"},
      {"u32 above the signed range", kItem_zdmSrcPaperLengthDot, static_cast<LONG_PTR>(0xFFFFFFFFu),
       u"4294967295"},
      {"s32 minimum", kItem_zdmTotalCounter, static_cast<LONG_PTR>(0x80000000u), u"-2147483648"},
      {"signed byte", kItem_zdmPresetNo, -5, u"-5"},
  };
  for (const NumberCase& c : cases) {
    ItemSetRawById(ctx(), c.id, c.stored);
    EXPECT_EQ(c.text, Format(c.id, nullptr)) << c.what;
    EXPECT_EQ(c.text, Format(c.id, &numeric_)) << c.what << " (numeric without length class)";
  }
}

struct LengthCase {
  const char* what;
  LONG unit;      // zdmDspUnit
  LONG language;  // zdmLanguageID
  LONG_PTR dots;
  std::u16string text;
};

TEST_F(ItemDisplayTest, LengthsInBothUnitsWithDecimalPointOrComma) {
  const LengthCase cases[] = {
      {"millimetre", 0, 0, 9920, u"210.0"},
      {"millimetre, decimal comma", 0, 2, 9920, u"210,0"},
      {"inch", 1, 0, 10200, u"8.50"},
      {"inch, decimal comma", 1, 15, 10200, u"8,50"},
      {"inch rounds up to the next hundredth", 1, 0, 9920, u"8.27"},
      {"language 16 has a decimal point", 0, 16, 9920, u"210.0"},
      {"small millimetre value keeps its leading zero", 0, 0, 5, u"0.2"},
      {"small inch value keeps two decimals", 1, 0, 12, u"0.01"},
      {"negative length shows as 0", 0, 0, -1, u"0.0"},
  };
  for (const LengthCase& c : cases) {
    ItemSetRawById(ctx(), kItem_zdmDspUnit, c.unit);
    ItemSetRawById(ctx(), kItem_zdmLanguageID, c.language);
    ItemSetRawById(ctx(), kItem_wdmFreeSizeWidth, c.dots);
    EXPECT_EQ(c.text, Format(kItem_wdmFreeSizeWidth, &numeric_)) << c.what;
  }
}

TEST_F(ItemDisplayTest, ListValueWithoutStringSaysSo) {
  ItemSetRawById(ctx(), kItem_zdmPresetNo, 3);  // logical value 122 through its list
  EXPECT_EQ(u"122 is not string-ID", Format(kItem_zdmPresetNo, &pick_one_));
  EXPECT_EQ(u"122 is no", Format(kItem_zdmPresetNo, &pick_one_, 10));
  EXPECT_EQ(u"", Format(kItem_zdmPresetNo, &pick_one_, 1));
}

TEST_F(ItemDisplayTest, ListValuesShowTheirReplacementString) {
  EXPECT_EQ(13479, ItemDisplayStringId(2026));
  EXPECT_EQ(92, ItemDisplayStringId(2669));
  EXPECT_EQ(13652, ItemDisplayStringId(3228));
  EXPECT_EQ(1234, ItemDisplayStringId(1234));
}

TEST_F(ItemDisplayTest, StringItemsShowTheirText) {
  ItemSetText(ctx(), Item(kItem_wdmFreeSizeName), reinterpret_cast<const WCHAR*>(u"Postcard"));
  EXPECT_EQ(u"Postcard", Format(kItem_wdmFreeSizeName, &string_));
  EXPECT_EQ(u"Pos", Format(kItem_wdmFreeSizeName, &string_, 4));
}

TEST_F(ItemDisplayTest, CutNumbersStayTerminated) {
  ItemSetRawById(ctx(), kItem_zdmDspUnit, 0);
  ItemSetRawById(ctx(), kItem_wdmFreeSizeWidth, 9920);
  EXPECT_EQ(u"210", Format(kItem_wdmFreeSizeWidth, &numeric_, 4));
  ItemSetRawById(ctx(), kItem_zdmSrcPaperLengthDot, 123456);
  EXPECT_EQ(u"12", Format(kItem_zdmSrcPaperLengthDot, nullptr, 3));
}

TEST_F(ItemDisplayTest, WatermarkKindsHaveFixedTexts) {
  const std::u16string kinds[] = {
      u"\u6587\u5b57\uff7d\uff80\uff9d\uff8c\uff9f",
      u"\uff72\uff92\uff70\uff7c\uff9e\uff7d\uff80\uff9d\uff8c\uff9f",
      u"\u5408\u6210",
  };
  for (int kind = 1; kind <= 3; ++kind) {
    ItemSetRawById(ctx(), kItem_zdmWmKind, kind);
    EXPECT_EQ(kinds[kind - 1], Format(kItem_zdmWmKind, nullptr)) << "kind " << kind;
  }
  ItemSetRawById(ctx(), kItem_zdmWmKind, 2);
  EXPECT_EQ(kinds[1].substr(0, 3), Format(kItem_zdmWmKind, nullptr, 4));
  // Other kinds show string 96, which no language DLL supplies here.
  ItemSetRawById(ctx(), kItem_zdmWmKind, 7);
  EXPECT_EQ(u"", Format(kItem_zdmWmKind, nullptr));
}

TEST_F(ItemDisplayTest, FormatBySymbolFindsTheItem) {
  WORD symbol = Item(kItem_zdmWmKind)->symbolId;
  ASSERT_NE(0, symbol) << "zdmWmKind has a symbol";
  ItemSetRawById(ctx(), kItem_zdmWmKind, 3);
  WCHAR buffer[16];
  EXPECT_EQ(2, ItemFormatValue(ctx(), symbol, buffer, 16));
  EXPECT_EQ(u"\u5408\u6210", Text(buffer));
  EXPECT_EQ(0, ItemFormatValue(ctx(), symbol, nullptr, 16));
  EXPECT_EQ(0, ItemFormatValue(nullptr, symbol, buffer, 16));
  EXPECT_EQ(0, buffer[0]);
}

}  // namespace
