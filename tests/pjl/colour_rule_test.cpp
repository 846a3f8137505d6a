// A model whose rule turns colour on: COLORSELECT has no word for colour, so the base's line is
// reported with an empty value and left out of the rebuilt base.
#include <gtest/gtest.h>

#include <string>

#include "core/context/driver_context.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
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
