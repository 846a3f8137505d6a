// A model whose rule turns colour on: COLORSELECT has no word for colour, so the base's line is
// reported with an empty value and left out of the rebuilt base.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/context/driver_context.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/pjl/pjl_service.h"
#include "support/sample_model.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

class ColourRuleTest : public ContextTest {};

TEST_F(ColourRuleTest, ASettledValueWithoutWordIsReportedEmpty) {
  DriverContext* ctx = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(nullptr, ctx);
  {
    SampleModel model(ctx, "tests/fixtures/pjl/colour_rule.zmd");
    ASSERT_NE(nullptr, model.image());
    BYTE present[kExcSlotCount] = {};
    LONG values[kExcSlotCount] = {};
    ExcHandle h{};
    h.context = ctx;
    h.count = kExcSlotCount;
    h.present = present;
    h.values = values;
    const char base[] =
        "@PJL SET APLPAGESIZE = A4 \r\n@PJL SET APLPAGELAYOUT = PORTRAIT \r\n@PJL SET PAPER = SAME \r\n"
        "@PJL SET TRAY = ALL \r\n@PJL SET COLORSELECT = MONO \r\n";
    EXPECT_EQ(1, PjlSetBaseLines(&h, base));
    EXPECT_EQ(2, ItemGetRawById(ctx, kItem_dmColor)) << "the rule moved it to colour";
    ASSERT_NE(nullptr, h.changeText);
    EXPECT_EQ(std::string("@PJL SET COLORSELECT =  \r\n"), h.changeText);
    ASSERT_NE(nullptr, h.baseText);
    EXPECT_EQ(std::string::npos, std::string(h.baseText).find("COLORSELECT")) << h.baseText;
    EXPECT_NE(std::string::npos, std::string(h.baseText).find("@PJL SET TRAY = ALL \r\n"));
    ExcReset(&h, 0);
  }
  CtxRelease(ctx, kReleaseExpired);
}

}  // namespace
}  // namespace zems_test

namespace zems_test {
namespace {

TEST_F(ColourRuleTest, TrialsLeaveSettingsSlotsAndFlagsAsTheyWere) {
  DriverContext* ctx = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(nullptr, ctx);
  BYTE present[kExcSlotCount] = {};
  LONG values[kExcSlotCount] = {};
  ExcHandle h{};
  h.context = ctx;
  h.count = kExcSlotCount;
  h.present = present;
  h.values = values;
  const char base[] =
      "@PJL SET APLPAGESIZE = A4 \r\n@PJL SET APLPAGELAYOUT = PORTRAIT \r\n@PJL SET PAPER = SAME \r\n"
      "@PJL SET TRAY = ALL \r\n@PJL SET NUP = OFF \r\n@PJL SET SCALETYPE = PAPERSCALE \r\n@PJL SET COPIES = 4 \r\n";
  ASSERT_GE(PjlSetBaseLines(&h, base), 0);
  std::vector<BYTE> block(CtxGetSettings(ctx), CtxGetSettings(ctx) + kSettingsBlockSize);
  std::vector<BYTE> slots(present, present + kExcSlotCount);
  std::vector<LONG> held(values, values + kExcSlotCount);
  DWORD flags = CtxGetChangeFlags(ctx);
  char buffer[256];
  int length = 0;
  for (const char* name : {"NUP", "TRAY", "COPIES", "SCALETYPE"})
    EXPECT_EQ(0, ExcServiceGetCommandValue(&h, name, 1, sizeof buffer, buffer, &length)) << name;
  EXPECT_TRUE(std::equal(block.begin(), block.end(), CtxGetSettings(ctx)));
  EXPECT_TRUE(std::equal(slots.begin(), slots.end(), present));
  EXPECT_TRUE(std::equal(held.begin(), held.end(), values));
  EXPECT_EQ(flags, CtxGetChangeFlags(ctx));
  // N-up layouts move SCALETYPE, so none of them stands; OFF does.
  ASSERT_EQ(0, ExcServiceGetCommandValue(&h, "NUP", 1, sizeof buffer, buffer, &length));
  EXPECT_STREQ("OFF", buffer);
  ExcReset(&h, 0);
  CtxRelease(ctx, kReleaseExpired);
}

}  // namespace
}  // namespace zems_test
