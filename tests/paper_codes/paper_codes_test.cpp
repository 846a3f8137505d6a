// Paper and print-quality codes with a meaning of their own.
#include <gtest/gtest.h>

#include "core/devmode/dm_codes.h"
#include "core/devmode/paper_codes.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "support/item_context.h"

namespace zems_test {
namespace {

// One code through every test: known paper, custom (1024), custom-size range, custom-size
// slot code, slot (-1 none), standard resolution code.
struct CodeCase {
  LONG code;
  int known, custom, range, slotCode, slot, stdResolution;
};

const CodeCase kCases[] = {
    {0, 0, 0, 0, 0, -1, 0},
    {1, 1, 0, 0, 0, -1, 0},
    {9, 1, 0, 0, 0, -1, 0},
    {118, 1, 0, 0, 0, -1, 0},
    {119, 0, 0, 0, 0, -1, 0},
    {255, 0, 0, 0, 0, -1, 0},
    {256, 1, 0, 1, 1, 10, 0},    // a known value of dmPaperSize beyond 118
    {383, 0, 0, 0, 0, -1, 0},
    {384, 1, 0, 1, 1, 0, 0},
    {389, 1, 0, 1, 1, 5, 0},
    {393, 1, 0, 1, 1, 9, 0},
    {394, 0, 0, 0, 0, -1, 0},
    {448, 0, 0, 1, 1, 11, 0},
    {1024, 0, 1, 0, 0, -1, 0},
    {1025, 0, 0, 0, 0, -1, 0},
    {-1, 0, 0, 0, 0, -1, 1},
    {-4, 0, 0, 0, 0, -1, 1},
    {-5, 0, 0, 0, 0, -1, 0},
    {-256, 0, 0, 0, 0, -1, 0},   // a 16-bit 0xFF00 read as signed is no slot
};

TEST_F(ItemContextTest, PaperCodeTests) {
  for (const CodeCase& c : kCases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(c.known, DmIsKnownPaperSize(c.code));
    EXPECT_EQ(c.custom, PaperIsCustomCode(c.code));
    EXPECT_EQ(c.range, PaperIsFreeSizeRange(c.code));
    EXPECT_EQ(c.slotCode, PaperIsFreeSizeCode(c.code));
    EXPECT_EQ(c.stdResolution, DmIsStdResolutionCode(c.code));
    // The slot of the input paper and of the output paper, each read from its own item.
    ItemSetRawById(ctx(), kItem_dmPaperSize, c.code);
    ItemSetRawById(ctx(), kItem_zdmOutPaperSize, 9);
    EXPECT_EQ(c.slot, PaperGetFreeSizeSlot(ctx()));
    EXPECT_EQ(-1, PaperGetOutFreeSizeSlot(ctx()));
    ItemSetRawById(ctx(), kItem_zdmOutPaperSize, c.code);
    ItemSetRawById(ctx(), kItem_dmPaperSize, 9);
    EXPECT_EQ(c.slot, PaperGetOutFreeSizeSlot(ctx()));
    EXPECT_EQ(-1, PaperGetFreeSizeSlot(ctx()));
  }
}

TEST(PaperSlots, WithoutSettingsNoSlot) {
  EXPECT_EQ(-1, PaperGetFreeSizeSlot(nullptr));
  EXPECT_EQ(-1, PaperGetOutFreeSizeSlot(nullptr));
}

}  // namespace
}  // namespace zems_test
