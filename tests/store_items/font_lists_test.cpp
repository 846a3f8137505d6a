// The font lists of the model description: device fonts, cartridges and substitution pairs.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/common/mem.h"
#include "core/store/font_lists.h"
#include "platform/sim.h"
#include "support/item_context.h"
#include "support/sample_model.h"

namespace zems_test {
namespace {

std::u16string Wide(const WCHAR* text) { return std::u16string(reinterpret_cast<const char16_t*>(text)); }

std::string Fixture(const char* name) { return std::string("tests/fixtures/model/") + name; }

// Frees a list when the test ends.
struct Freed {
  void* block;
  ~Freed() { MemFree(block); }
};

class FontListsTest : public ItemContextTest {
 protected:
  void TearDown() override {
    SimFailAllocations(-1);
    ItemContextTest::TearDown();
  }
};

TEST_F(FontListsTest, TheSampleListsFiveDeviceFontsTwoCartridgesAndFourPairs) {
  SampleModel model(ctx());
  ASSERT_NE(nullptr, model.image());
  DWORD count = 0;
  DeviceFontRecord* fonts = ModelListDeviceFonts(ctx(), &count);
  Freed f1{fonts};
  ASSERT_NE(nullptr, fonts);
  ASSERT_EQ(5u, count);
  const char16_t* names[] = {u"Courier", u"Roman", u"Sans", u"Gothic", u"Symbol"};
  for (DWORD i = 0; i < count; ++i) {
    EXPECT_EQ(i + 1, fonts[i].id);
    EXPECT_EQ(names[i], Wide(fonts[i].name));
  }
  DeviceFontRecord* cartridges = ModelListFontCartridges(ctx(), &count);
  Freed f2{cartridges};
  ASSERT_EQ(2u, count);
  EXPECT_EQ(101u, cartridges[0].id);
  EXPECT_EQ(u"Barcode Cartridge", Wide(cartridges[0].name));
  EXPECT_EQ(102u, cartridges[1].id);
  EXPECT_EQ(u"OCR Cartridge", Wide(cartridges[1].name));
  FontSubstEntry* pairs = ModelListFontSubstitutions(ctx(), &count);
  Freed f3{pairs};
  ASSERT_EQ(4u, count);
  EXPECT_EQ(u"Arial", Wide(pairs[0].face));
  EXPECT_EQ(u"Sans", Wide(pairs[0].deviceFont));
  EXPECT_EQ(u"Symbol", Wide(pairs[3].face));
  EXPECT_EQ(u"Symbol", Wide(pairs[3].deviceFont));

  WORD stored = 0;  // the same lists as the font tables load them
  Freed f4{StoreModelFontRecords(ctx(), 1, &stored)};
  EXPECT_EQ(2, stored);
  Freed f5{StoreModelFontSubstTable(ctx(), &stored)};
  EXPECT_EQ(4, stored);
}

TEST_F(FontListsTest, NamesKeepThirtyOneCharactersAndOnlyTheFirstFontTableCounts) {
  SampleModel model(ctx(), Fixture("font_lists.zmd").c_str());
  ASSERT_NE(nullptr, model.image());
  DWORD count = 0;
  DeviceFontRecord* fonts = ModelListDeviceFonts(ctx(), &count);
  Freed f1{fonts};
  ASSERT_EQ(3u, count);
  EXPECT_EQ(70000u, fonts[1].id) << "the id keeps all 32 bits";
  EXPECT_EQ(u"A device font name of forty cha", Wide(fonts[1].name)) << "40 characters keep 31";
  EXPECT_EQ(u"Sans", Wide(fonts[2].name));
  Freed f2{ModelListFontCartridges(ctx(), &count)};
  EXPECT_EQ(1u, count);

  FontSubstEntry* pairs = ModelListFontSubstitutions(ctx(), &count);
  Freed f3{pairs};
  ASSERT_EQ(2u, count) << "the first entry with pairs of the first FontTbl item";
  EXPECT_EQ(u"Arial", Wide(pairs[0].face));
  EXPECT_EQ(u"A TrueType face of forty charac", Wide(pairs[1].face));
  EXPECT_EQ(u"Gothic", Wide(pairs[1].deviceFont));
}

TEST_F(FontListsTest, DoubleByteNamesAreCutAfterTheirConversion) {
  ASSERT_TRUE(SimSetAnsiCodePage(932));
  SampleModel model(ctx(), Fixture("font_lists_932.zmd").c_str());
  ASSERT_NE(nullptr, model.image());
  DWORD count = 0;
  DeviceFontRecord* fonts = ModelListDeviceFonts(ctx(), &count);
  Freed f1{fonts};
  ASSERT_EQ(2u, count);
  EXPECT_EQ(std::u16string(31, u'\u3042'), Wide(fonts[0].name));
  EXPECT_EQ(u"A" + std::u16string(30, u'\u3042'), Wide(fonts[1].name));
}

// Every failure gives no list and a count of 0, whatever the count held.
TEST_F(FontListsTest, EveryFailureGivesNoListAndCountZero) {
  struct Case {
    const char* what;
    const char* model;  // null: no description
    bool noMemory;
  };
  const Case cases[] = {
      {"no description", nullptr, false},
      {"no fonts and no FontTbl item", "caps_bins.zmd", false},
      {"pairs only in a second FontTbl item", "font_lists_second_table.zmd", false},
      {"no memory", "font_lists.zmd", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::unique_ptr<SampleModel> model;
    if (c.model) {
      model = std::make_unique<SampleModel>(ctx(), Fixture(c.model).c_str());
      ASSERT_NE(nullptr, model->image());
    }
    if (c.noMemory) SimFailAllocations(0);
    DWORD count = 77;
    EXPECT_EQ(nullptr, ModelListDeviceFonts(ctx(), &count));
    EXPECT_EQ(0u, count);
    count = 77;
    EXPECT_EQ(nullptr, ModelListFontCartridges(ctx(), &count));
    EXPECT_EQ(0u, count);
    count = 77;
    EXPECT_EQ(nullptr, ModelListFontSubstitutions(ctx(), &count));
    EXPECT_EQ(0u, count);
    WORD stored = 77;
    EXPECT_EQ(nullptr, StoreModelFontSubstTable(ctx(), &stored));
    EXPECT_EQ(0, stored);
    EXPECT_EQ(nullptr, ModelListDeviceFonts(ctx(), nullptr)) << "the count is optional";
    SimFailAllocations(-1);
  }
}

}  // namespace
}  // namespace zems_test
