// The per-model setters write the settings that follow from options, resolution and driver type.
#include <gtest/gtest.h>

#include <string.h>

#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/model/model_setters.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

class ModelSetterTest : public ContextTest {
 protected:
  void SetUp() override {
    ContextTest::SetUp();
    ctx_ = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
    ASSERT_NE(ctx_, nullptr);
  }
  void TearDown() override {
    CtxRelease(ctx_, kReleaseExpired);
    ContextTest::TearDown();
  }
  LONG_PTR Get(WORD id) { return ItemGetRawById(ctx_, id); }
  DriverContext* ctx_ = nullptr;
};

TEST_F(ModelSetterTest, OneStepOptionCountIsNeverLowered) {
  struct Case {
    const char* what;
    LONG codes[2];
    DWORD expected;
  } cases[] = {
      {"one step unit", {105, 0}, 1},
      {"one step unit, other code", {30, 0}, 1},
      {"two step units", {106, 0}, 2},
      {"105 then 106 raises to 2", {105, 106}, 2},
      {"106 then 105 keeps 2", {106, 105}, 2},
      {"another code writes nothing", {77, 0}, 0},
  };
  for (const Case& c : cases) {
    ItemSetRawById(ctx_, kItem_zdm1StepOptionNum, 0);
    DWORD state = 0;
    for (LONG code : c.codes)
      if (code) ModelSetOneStepOptionNum(kItem_zdmSourceOptionType1Step, code, &state, ctx_);
    EXPECT_EQ(DWORD(Get(kItem_zdm1StepOptionNum)), c.expected) << c.what;
    EXPECT_EQ(state, c.expected) << c.what;
  }
  // Another option item leaves everything alone.
  DWORD state = 0;
  ItemSetRawById(ctx_, kItem_zdm1StepOptionNum, 0);
  ModelSetOneStepOptionNum(kItem_zdmSourceOptionTypeDuplex, 105, &state, ctx_);
  EXPECT_EQ(Get(kItem_zdm1StepOptionNum), 0);
  ModelSetOneStepOptionNum(kItem_zdmSourceOptionType1Step, 105, nullptr, ctx_);
}

TEST_F(ModelSetterTest, BalanceMacroFollowsTheResolution) {
  struct Case {
    LONG resolution;
    LONG userMacro;
    LONG expected;
  } cases[] = {{200, 0, 17}, {300, 0, 17}, {400, 0, 17}, {600, 0, 17},
               {1200, 0, 18}, {2400, 0, 18}, {150, 0, 18}, {1200, 1, 5}};
  for (const Case& c : cases) {
    ItemSetRawById(ctx_, kItem_zdmBalanceMacro, 5);
    ItemSetRawById(ctx_, kItem_zdmUseUserMacro, c.userMacro);
    ModelSetBalanceMacroByResolution(c.resolution, ctx_);
    EXPECT_EQ(Get(kItem_zdmBalanceMacro), c.expected) << c.resolution << " user macro " << c.userMacro;
  }
}

TEST_F(ModelSetterTest, DriverCodeStringByDriverType) {
  struct Case {
    LONG driverType;
    const char* expected;
  } cases[] = {{0, "A203050207d014"}, {1, "A202050207d014"}, {2, "A202050207d014"}};
  for (const Case& c : cases) {
    ItemSetRawById(ctx_, kItem_zdmDriverType, c.driverType);
    ModelSetDriverCodeString(ctx_);
    EXPECT_STREQ(reinterpret_cast<const char*>(Get(kItem_zdmOther)), c.expected) << c.driverType;
  }
}

TEST_F(ModelSetterTest, CustomFunctionsAndGuardedWrites) {
  EXPECT_TRUE(ItemSetGuarded(7, kItem_wdmCustomFunc31, 1, ctx_));
  EXPECT_EQ(ItemGetCustomFunc(ctx_, kItem_wdmCustomFunc31), 1);
  EXPECT_EQ(ItemGetCustomFunc(ctx_, kItem_wdmCustomFunc0), 0);
  // Ids outside the custom functions answer 0, whatever they hold.
  ItemSetRawById(ctx_, kItem_zdmBalanceMacro, 17);
  EXPECT_EQ(ItemGetCustomFunc(ctx_, kItem_zdmBalanceMacro), 0);
  EXPECT_EQ(ItemGetCustomFunc(ctx_, kItem_wdmCustomFunc31 + 1), 0);
}

}  // namespace
}  // namespace zems_test
