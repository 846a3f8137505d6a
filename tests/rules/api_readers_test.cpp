// The application interface's readers on the sample model: allowed values, number ranges,
// resolutions and the value rules (staple by orientation, duplex restricted on small paper).
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/items/item_access.h"
#include "core/items/item_caps.h"
#include "core/items/item_ids.h"
#include "core/rules/api_readers.h"
#include "core/rules/judge_eval.h"
#include "core/system/resources.h"
#include "platform/sim.h"
#include "support/item_context.h"
#include "support/sample_model.h"
#include "support/test_variant.h"

namespace zems_test {
namespace {

constexpr WORD kOrientation = 7, kPaper = 8, kCopies = kItem_dmCopies, kDuplexOn = 58, kStaple = 121;

class ApiReadersTest : public ItemContextTest {
 protected:
  void SetUp() override {
    ItemContextTest::SetUp();
    model_.reset(new SampleModel(ctx()));
    ASSERT_NE(nullptr, model_->image());
    ASSERT_EQ(0, ModelAllocEvalStack(ctx()));
  }
  void TearDown() override {
    ModelFreeEvalStack(ctx());
    model_.reset();
    ItemContextTest::TearDown();
  }
  std::unique_ptr<SampleModel> model_;
};

TEST(ApiIsAbsolutePath, Forms) {
  const std::pair<const char16_t*, int> cases[] = {
      {u"C:\\x.ini", 1}, {u"z:\\", 1},   {u"\\\\server\\share", 1}, {u"C:x.ini", 0}, {u"\\x.ini", 0},
      {u"x\\y", 0},      {u"1:\\x", 0},  {u"", 0},
  };
  for (auto& c : cases) EXPECT_EQ(c.second, ApiIsAbsolutePath(reinterpret_cast<const WCHAR*>(c.first)));
  EXPECT_EQ(0, ApiIsAbsolutePath(nullptr));
}

TEST_F(ApiReadersTest, AllowedValuesFollowTheDisableRules) {
  // A number setting has no values to list.
  EXPECT_EQ(-1, ApiAllowedValues(ctx(), nullptr, kCopies));
  EXPECT_EQ(-1, ApiAllowedValues(ctx(), nullptr, 89));
  struct Case {
    LONG orientation;
    std::vector<LONG> allowed;
  } cases[] = {
      {1, {0, 33, 34, 65, 67}},  // portrait: TOP2 is disabled
      {2, {0, 33, 34, 66}},      // landscape: LEFT2 and RIGHT2 are
  };
  for (const Case& c : cases) {
    ItemSetRawById(ctx(), kOrientation, c.orientation);
    LONG out[16] = {};
    ASSERT_EQ(static_cast<int>(c.allowed.size()), ApiAllowedValues(ctx(), nullptr, kStaple));
    ASSERT_EQ(static_cast<int>(c.allowed.size()), ApiAllowedValues(ctx(), out, kStaple));
    EXPECT_EQ(c.allowed, std::vector<LONG>(out, out + c.allowed.size()));
    EXPECT_EQ(c.orientation == 2 ? 1 : 0, ApiIsValueDisabled(kStaple, 65, ctx()));
    EXPECT_EQ(c.orientation == 1 ? 1 : 0, ApiIsValueDisabled(kStaple, 66, ctx()));
  }
}

TEST_F(ApiReadersTest, RulesOfValues) {
  // Duplex is restricted, not disabled, on small paper.
  ItemSetRawById(ctx(), kPaper, 9);
  EXPECT_EQ(0, ApiIsValueRestricted(kDuplexOn, 1, ctx()));
  ItemSetRawById(ctx(), kPaper, 11);
  EXPECT_EQ(1, ApiIsValueRestricted(kDuplexOn, 1, ctx()));
  EXPECT_EQ(0, ApiIsValueDisabled(kDuplexOn, 1, ctx()));
  // Settings without an Exclusive record, or not described at all.
  EXPECT_EQ(-1, ApiIsValueDisabled(kItem_zdmSortType, 1, ctx()));
  EXPECT_EQ(-1, ApiIsValueRestricted(kItem_zdmSortType, 1, ctx()));
  EXPECT_EQ(-1, ApiQueryCommandNode(kItem_zdmSortType, 1, ctx()));
  EXPECT_EQ(-1, ApiIsValueDisabled(0, 1, ctx()));
  EXPECT_EQ(nullptr, ModelFindExclusiveById(0, ctx()));
  // The first judge; a value without a rule counts as true.
  ItemSetRawById(ctx(), kOrientation, 2);
  EXPECT_EQ(1, ApiQueryCommandNode(kStaple, 65, ctx()));
  EXPECT_EQ(1, ApiQueryCommandNode(kStaple, 33, ctx()));
  EXPECT_EQ(0, ApiQueryCommandNode(kStaple, 66, ctx()));
}

TEST_F(ApiReadersTest, NumberRanges) {
  EXPECT_EQ(999, ApiGetMaxCopies(ctx()));
  WORD minimum[2] = {}, maximum[2] = {};
  ASSERT_EQ(1, ApiGetScaleRanges(ctx(), minimum, maximum));
  EXPECT_EQ(25, minimum[0]);
  EXPECT_EQ(25, minimum[1]);
  EXPECT_EQ(400, maximum[0]);
  EXPECT_EQ(400, maximum[1]);
  EXPECT_EQ(0, ApiGetScaleRanges(ctx(), nullptr, nullptr));
  // The sample describes the binding margins (0 to 25 mm in 1/1200 inch) but no shifts or
  // creep: a requested range of those is refused, none asked is not.
  LONG a = -5, b = -5;
  EXPECT_EQ(1, ApiGetMarginRanges(ctx(), &a, &b, nullptr, nullptr));
  EXPECT_EQ(0, a);
  EXPECT_EQ(1181, b);
  EXPECT_EQ(0, ApiGetShiftRanges(ctx(), nullptr, nullptr, &a, nullptr));
  EXPECT_EQ(0, ApiGetCreepRanges(ctx(), &a, nullptr, nullptr, nullptr));
  EXPECT_EQ(1, ApiGetShiftRanges(ctx(), nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(1, ApiSettingHasOptions(ctx(), kStaple));
  EXPECT_EQ(0, ApiSettingHasOptions(ctx(), 96));
}

TEST_F(ApiReadersTest, ResolutionsAreTheSharedMacroList) {
  LONG shared[64] = {}, listed[64] = {};
  const int count = ItemListResolutionMacros(ctx(), shared);
  ASSERT_GT(count, 0);
  EXPECT_EQ(count, ApiListResolutions(ctx(), listed));
  EXPECT_EQ(std::vector<LONG>(shared, shared + count), std::vector<LONG>(listed, listed + count));
}

TEST_F(ApiReadersTest, PaperExtentsAsTwo32BitValues) {
  for (int maximum : {0, 1}) {
    WORD pair[2] = {};
    ItemGetPaperExtent(ctx(), pair, maximum ? 0 : kExtentMinimum);
    LONG out[3] = {-1, -1, -7};
    EXPECT_EQ(1, ItemGetPaperExtentPair(ctx(), out, maximum));
    EXPECT_EQ(pair[0], out[0]);
    EXPECT_EQ(pair[1], out[1]);
    EXPECT_EQ(-7, out[2]);
    EXPECT_GT(out[0], 0);
  }
}

// The strings of the sixteen custom media (13708-13723) complete to the media's names in the
// exclusion DLL's build: a name longer than the buffer is cut before a double-byte character
// that would not fit whole. An empty name, and the other builds, leave the loaded text.
TEST_F(ApiReadersTest, CustomMediaNamesAreCutOnADoubleByteBoundary) {
  ASSERT_TRUE(SimSetAnsiCodePage(932));
  char name[257] = "ab\x82\xA0\x82\xA0";  // "ab" and two double-byte characters (U+3042); a raw
                                          // set copies the item's 257 bytes
  ASSERT_TRUE(ItemSetRawById(ctx(), WORD(kItem_wdmCustomMedia1Name + 1), LONG_PTR(name)));
  auto complete = [&](UINT id, int size) {
    WCHAR buffer[16] = {'M', 'e', 'd', 'i', 'a', 0};
    ResCompleteString(ctx(), id, buffer, size);
    return std::u16string(buffer);
  };
  TestVariant().completeCustomMediaNames = 1;
  const struct {
    int size;
    std::u16string want;
  } cases[] = {
      {16, u"ab\u3042\u3042"}, {7, u"ab\u3042\u3042"}, {6, u"ab\u3042"},
      {5, u"ab\u3042"},         {4, u"ab"},               {2, u"a"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.want, complete(13709, c.size)) << c.size;
  EXPECT_EQ(u"Media", complete(13708, 16)) << "media 1 has no name";
  TestVariant().completeCustomMediaNames = 0;
  EXPECT_EQ(u"Media", complete(13709, 16));
  ResetTestVariant();
  SimSetAnsiCodePage(1252);
}

}  // namespace
}  // namespace zems_test
