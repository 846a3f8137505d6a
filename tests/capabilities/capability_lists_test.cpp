// The DeviceCapabilities lists of papers, bins and resolutions.
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/items/item_caps.h"
#include "core/items/item_ids.h"
#include "core/context/module_bus.h"
#include "core/items/item_access.h"
#include "core/context/ui_state.h"
#include "core/tables/value_symbols.h"
#include "support/item_context.h"
#include "support/sample_model.h"

namespace zems_test {
namespace {

TEST_F(ItemContextTest, WithoutAResolutionDescriptorTheBaseResolutionIsTheAnswer) {
  LONG pairs[4] = {};
  EXPECT_EQ(1, ItemListResolutions(ctx(), nullptr));
  EXPECT_EQ(1, ItemListResolutions(ctx(), pairs));
  EXPECT_EQ(600, pairs[0]);
  EXPECT_EQ(600, pairs[1]);
  LONG macros[2] = {};
  EXPECT_EQ(1, ItemListResolutionMacros(ctx(), macros));
  EXPECT_EQ(3, macros[0]) << "the macro of 600 x 600";
}

TEST_F(ItemContextTest, ANameStepOfZeroOrLessFails) {
  WCHAR names[64] = {};
  EXPECT_EQ(-1, ItemListPaperNames(ctx(), names, 0, kItem_dmPaperSize));
  EXPECT_EQ(-1, ItemListPaperNames(ctx(), names, -64, kItem_dmPaperSize));
  EXPECT_EQ(-1, ItemListBinNames(ctx(), names, 0));
  EXPECT_EQ(-1, ItemListBinNames(ctx(), names, -1));
}

TEST_F(ItemContextTest, WithoutAModelDescriptionEveryPaperAndBinListFails) {
  WORD codes[8];
  POINT sizes[8];
  EXPECT_EQ(-1, ItemListPaperCodes(ctx(), codes, kItem_dmPaperSize));
  EXPECT_EQ(-1, ItemListPaperSizes(ctx(), sizes, kItem_dmPaperSize));
  EXPECT_EQ(-1, ItemListBinCodes(ctx(), codes));
}

// Fixture models read through the model lookups and judges.
class CapsOnFixture : public ItemContextTest {
 protected:
  static std::string Path(const char* name) { return std::string("tests/fixtures/model/") + name; }
  // The bare context has no evaluator stack, so every judge would be false.
  void SetUp() override {
    ItemContextTest::SetUp();
    Ui()->evaluatorStack = stack_;
    Ui()->evaluatorDepth = 0;
  }
  void TearDown() override {
    Ui()->evaluatorStack = nullptr;
    ItemContextTest::TearDown();
  }
  void Mono() { ASSERT_TRUE(ItemSetValueById(ctx(), kItem_dmColor, TblFindValueSymbolByName("DMCOLOR_MONO")->logical)); }

 private:
  LONG stack_[kEvaluatorStackDepth] = {};
};

TEST_F(CapsOnFixture, ADisabledPaperIsMissingFromAllThreePaperLists) {
  SampleModel model(ctx(), Path("caps_paper_disabled.zmd").c_str());
  ASSERT_NE(nullptr, model.image());
  WORD codes[8] = {};
  ASSERT_EQ(3, ItemListPaperCodes(ctx(), codes, kItem_dmPaperSize));
  EXPECT_EQ((std::vector<WORD>{9, 11, 1}), std::vector<WORD>(codes, codes + 3));
  Mono();
  EXPECT_EQ(2, ItemListPaperCodes(ctx(), nullptr, kItem_dmPaperSize));
  ASSERT_EQ(2, ItemListPaperCodes(ctx(), codes, kItem_dmPaperSize));
  EXPECT_EQ((std::vector<WORD>{9, 1}), std::vector<WORD>(codes, codes + 2));
  POINT sizes[8] = {};
  ASSERT_EQ(2, ItemListPaperSizes(ctx(), sizes, kItem_dmPaperSize));
  EXPECT_EQ(2100, sizes[0].x);
  EXPECT_EQ(2970, sizes[0].y);
  EXPECT_EQ(2159, sizes[1].x);
  EXPECT_EQ(2794, sizes[1].y);
  WCHAR names[8 * 64] = {};
  EXPECT_EQ(2, ItemListPaperNames(ctx(), names, 64, kItem_dmPaperSize));
}

TEST_F(CapsOnFixture, APaperItemThatIsNotAPageListFails) {
  SampleModel model(ctx(), Path("caps_paper_pickone.zmd").c_str());
  ASSERT_NE(nullptr, model.image());
  WORD codes[8];
  POINT sizes[8];
  WCHAR names[8 * 64];
  EXPECT_EQ(-1, ItemListPaperCodes(ctx(), codes, kItem_dmPaperSize));
  EXPECT_EQ(-1, ItemListPaperSizes(ctx(), sizes, kItem_dmPaperSize));
  EXPECT_EQ(-1, ItemListPaperNames(ctx(), names, 64, kItem_dmPaperSize));
}

TEST_F(CapsOnFixture, ABinNeedingAnOptionIsListedOnceTheOptionIsInstalled) {
  SampleModel model(ctx(), Path("caps_bins.zmd").c_str());
  ASSERT_NE(nullptr, model.image());
  WORD codes[8] = {};
  ASSERT_EQ(2, ItemListBinCodes(ctx(), codes));
  EXPECT_EQ((std::vector<WORD>{7, 1}), std::vector<WORD>(codes, codes + 2));
  WCHAR names[8 * 24] = {};
  EXPECT_EQ(2, ItemListBinNames(ctx(), names, 24));
  ASSERT_TRUE(ItemSetRawById(ctx(), kItem_zdmSourceOptionType1Step, 1));
  ASSERT_EQ(3, ItemListBinCodes(ctx(), codes));
  EXPECT_EQ((std::vector<WORD>{7, 1, 3}), std::vector<WORD>(codes, codes + 3));
}

TEST_F(CapsOnFixture, AModuleAskingForAllBinsHasTheDisabledOnesListed) {
  SampleModel model(ctx(), Path("caps_bins.zmd").c_str());
  ASSERT_NE(nullptr, model.image());
  UiModuleEntry rows[kModuleCount] = {};
  rows[kModuleOptions].event = [](DriverContext*, int event, void* argument, void*) {
    if (event == kEventBinList && argument) *static_cast<LONG*>(argument) = 1;
    return 0;
  };
  ASSERT_EQ(1, ModBusLoadRows(ctx(), rows, kModuleCount));
  WORD codes[8] = {};
  EXPECT_EQ(3, ItemListBinCodes(ctx(), codes));
  EXPECT_EQ((std::vector<WORD>{7, 1, 3}), std::vector<WORD>(codes, codes + 3));
  ModBusFree(ctx());
}

TEST_F(CapsOnFixture, ResolutionsFollowTheKindOfTheOutputResolutionItem) {
  struct Case {
    const char* fixture;
    bool mono;
    LONG dpi;  // the stored output resolution, 0 to leave it
    std::vector<LONG> pairs;
    std::vector<LONG> macros;
  };
  const Case cases[] = {
      {"caps_res_pickone.zmd", false, 0, {300, 300, 600, 600, 1200, 1200}, {1, 3, 4}},
      {"caps_res_pickone.zmd", true, 0, {300, 300, 600, 600}, {1, 3}},
      {"caps_res_numeric.zmd", false, 300, {300, 300}, {1}},
      {"caps_res_numeric.zmd", false, 0, {600, 600}, {3}},
      {"caps_res_boolean.zmd", false, 0, {600, 600}, {3}},
      {"caps_res_both.zmd", false, 300, {600, 600, 300, 300, 600, 600, 1200, 1200}, {3, 18, 34, 1, 36, 4}},
      {"caps_res_both.zmd", true, 300, {600, 600, 300, 300, 600, 600}, {3, 18, 34, 1, 36}},
      {"caps_res_both.zmd", false, 0, {600, 600}, {3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.fixture) + (c.mono ? " mono" : "") + " dpi " + std::to_string(c.dpi));
    SampleModel model(ctx(), Path(c.fixture).c_str());
    ASSERT_NE(nullptr, model.image());
    ASSERT_TRUE(ItemSetRawById(ctx(), kItem_dmColor, c.mono ? 1 : 2));
    ASSERT_TRUE(ItemSetRawById(ctx(), kItem_zdmDstResolutionW, c.dpi));
    LONG pairs[16] = {};
    ASSERT_EQ(static_cast<int>(c.pairs.size() / 2), ItemListResolutions(ctx(), nullptr));
    ASSERT_EQ(static_cast<int>(c.pairs.size() / 2), ItemListResolutions(ctx(), pairs));
    EXPECT_EQ(c.pairs, std::vector<LONG>(pairs, pairs + c.pairs.size()));
    LONG macros[8] = {};
    ASSERT_EQ(static_cast<int>(c.macros.size()), ItemListResolutionMacros(ctx(), macros));
    EXPECT_EQ(c.macros, std::vector<LONG>(macros, macros + c.macros.size()));
  }
}

TEST_F(CapsOnFixture, CustomPaperNamesAndSizesComeFromTheFilledSlots) {
  SampleModel model(ctx(), Path("caps_free_size.zmd").c_str());
  ASSERT_NE(nullptr, model.image());
  // The slots count as loaded for this context: the lists take the table as it stands.
  CtxAddChangeFlags(ctx(), 0x4000000);
  FreeSizeSlot& first = Ui()->freeSizes[0];
  strcpy(first.currentName, "Postcard");
  first.width = 4724;  // 100 mm
  first.length = 6992;  // 148 mm
  strcpy(Ui()->freeSizes[1].currentName, "Banner");
  Ui()->freeSizes[1].width = 9921;
  Ui()->freeSizes[1].length = 12000;  // 10 inches
  WORD codes[4] = {};
  ASSERT_EQ(3, ItemListPaperCodes(ctx(), codes, kItem_dmPaperSize));
  EXPECT_EQ((std::vector<WORD>{9, 384, 385}), std::vector<WORD>(codes, codes + 3));
  WCHAR names[3 * 64] = {};
  ASSERT_EQ(3, ItemListPaperNames(ctx(), names, 64, kItem_dmPaperSize));
  EXPECT_EQ(std::u16string(u"Postcard"), std::u16string(names + 64));
  EXPECT_EQ(std::u16string(u"Banner"), std::u16string(names + 128));
  POINT sizes[3] = {};
  ASSERT_EQ(3, ItemListPaperSizes(ctx(), sizes, kItem_dmPaperSize));
  EXPECT_EQ(1000, sizes[1].x);
  EXPECT_EQ(1480, sizes[1].y);
  EXPECT_EQ(2100, sizes[2].x);
  EXPECT_EQ(2540, sizes[2].y);
}

TEST_F(CapsOnFixture, TheSampleOffersTheOptionalTraysAndTheirPaperWithTheFeeders) {
  SampleModel model(ctx());
  ASSERT_NE(nullptr, model.image());
  const WORD b4 = 12, tray2 = 3, tray3 = 2;
  struct Case {
    int feeders;  // 0: no feeder option
    bool b4, tray2, tray3;
  };
  const Case cases[] = {{0, false, false, false}, {1, true, true, false}, {2, true, true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.feeders);
    ASSERT_TRUE(ItemSetRawById(ctx(), kItem_zdmSourceOptionType1Step, c.feeders ? 1 : 0));
    ASSERT_TRUE(ItemSetRawById(ctx(), kItem_zdm1StepOptionNum, c.feeders));
    WORD papers[32] = {}, bins[8] = {};
    const int np = ItemListPaperCodes(ctx(), papers, kItem_dmPaperSize);
    const int nb = ItemListBinCodes(ctx(), bins);
    ASSERT_GT(np, 0);
    ASSERT_GT(nb, 0);
    EXPECT_EQ(c.b4, std::count(papers, papers + np, b4) == 1);
    EXPECT_EQ(c.tray2, std::count(bins, bins + nb, tray2) == 1);
    EXPECT_EQ(c.tray3, std::count(bins, bins + nb, tray3) == 1);
  }
}

}  // namespace
}  // namespace zems_test
