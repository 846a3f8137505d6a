#include "core/devmode/fin_sizes.h"

#include "core/devmode/fin_papers.h"
#include "core/devmode/fin_readers.h"
#include "core/devmode/fin_side.h"
#include "core/items/derived_settings.h"
#include "core/items/item_access.h"

namespace {

struct SizeClassRow {
  WORD paper;
  BYTE sizeClass;
  BYTE reserved;
};

#define SIZE_CLASS_SMALL_BEFORE_512                                                        \
  {6, 3, 0}, {11, 3, 0}, {13, 3, 0}, {70, 3, 0}, {88, 3, 0}
#define SIZE_CLASS_SMALL_AFTER_512                                                         \
  {43, 3, 0}, {82, 3, 0}, {7, 3, 0}, {514, 3, 0}, {513, 3, 0}, {14, 3, 0}, {517, 3, 0},   \
  {93, 3, 0}, {384, 3, 0}, {385, 3, 0}, {386, 3, 0}, {387, 3, 0}, {388, 3, 0},             \
  {389, 3, 0}, {390, 3, 0}, {391, 3, 0}, {392, 3, 0}, {393, 3, 0}, {256, 3, 0}, {448, 3, 0}

const SizeClassRow kSizeTable1[] = {
    {8, 1, 0}, {12, 1, 0}, {3, 1, 0}, {5, 1, 0},
    {9, 2, 0}, {1, 2, 0},
    SIZE_CLASS_SMALL_BEFORE_512, SIZE_CLASS_SMALL_AFTER_512,
    {0, 0, 0},
};
const SizeClassRow kSizeTable2[] = {
    {8, 1, 0}, {12, 1, 0}, {3, 1, 0}, {5, 1, 0},
    {9, 2, 0}, {1, 2, 0},
    SIZE_CLASS_SMALL_BEFORE_512, SIZE_CLASS_SMALL_AFTER_512,
    {0, 0, 0},
};
// The first matching row wins, so 512 is of class 1 here.
const SizeClassRow kSizeTable3[] = {
    {512, 1, 0},
    {8, 1, 0}, {12, 1, 0}, {3, 1, 0}, {5, 1, 0},
    {9, 2, 0}, {1, 2, 0},
    SIZE_CLASS_SMALL_BEFORE_512, {512, 3, 0}, SIZE_CLASS_SMALL_AFTER_512,
    {0, 0, 0},
};
static_assert(sizeof kSizeTable1 / sizeof kSizeTable1[0] == 32, "31 rows and the end row");
static_assert(sizeof kSizeTable3 / sizeof kSizeTable3[0] == 34, "33 rows and the end row");
#undef SIZE_CLASS_SMALL_BEFORE_512
#undef SIZE_CLASS_SMALL_AFTER_512

const WORD kSourcesTrays5To7[] = {1, 3, 2, 256, 261, 262, 263, 0};
const WORD kSourcesLargeTray[] = {1, 3, 2, 256, 11, 0};

// Machine code -> size-class table and source list.
struct MachineRow {
  LONG machine;
  const SizeClassRow* table;
  const WORD* sources;
};
const MachineRow kMachines[] = {
    {144, kSizeTable1, kSourcesTrays5To7},
    {158, kSizeTable2, kSourcesLargeTray},
    {173, kSizeTable2, kSourcesLargeTray},
    {162, kSizeTable3, kSourcesLargeTray},
};

const WORD kItemMachineId = 35;

const MachineRow* MachineOf(DriverContext* ctx) {
  LONG machine = FinReadItem(ctx, kItemMachineId);
  for (const MachineRow& row : kMachines) {
    if (row.machine == machine) return &row;
  }
  return nullptr;
}

// The punch variant groups and their width limits; group 1 is tested first.
const WORD kPunchGroup1[] = {10094, 10090, 10098, 10091};
const WORD kPunchGroup2[] = {10095, 10091, 10099, 10093};
const LONG kWideLimit = 8501;
const LONG kGroup1Limit = 10865;
const LONG kGroup2Limit = 12045;

template <size_t N>
bool AnyOn(DriverContext* ctx, const WORD (&items)[N]) {
  for (WORD id : items) {
    if (FinReadItem(ctx, id) != 0) return true;
  }
  return false;
}

// The width item of a custom paper code; 0 when the code is no custom size.
WORD WidthItemOf(SHORT paper) {
  if (paper == 256) return 340;
  if (paper == 448) return 344;
  if (paper >= 384 && paper <= 393) return static_cast<WORD>(1118 + 4 * (paper - 384));
  return 0;
}

bool BypassInsertActive(DriverContext* ctx) {
  struct Insert {
    WORD tray, function;
  };
  static const Insert kInserts[] = {{125, 65}, {123, 64}, {127, 66}, {408, 70}};
  for (const Insert& insert : kInserts) {
    if (FinReadItem(ctx, insert.tray) == kFinSourceBypass && FinReadItem(ctx, insert.function) == 1) {
      return true;
    }
  }
  static const WORD kChapterTrays[] = {1003, 997, 998, 999, 1005, 1006, 1007, 1008};
  for (WORD tray : kChapterTrays) {
    if (FinReadItem(ctx, tray) == kFinSourceBypass) return FinReadItem(ctx, 69) == 1;
  }
  return false;
}

template <typename Match>
int AnySource(DriverContext* ctx, int orientation, Match match) {
  const MachineRow* machine = MachineOf(ctx);
  if (machine == nullptr) return 0;
  for (const WORD* source = machine->sources; *source != 0; ++source) {
    SHORT paper = -1;
    LONG orient = -1;
    FinGetTrayItems(ctx, static_cast<SHORT>(*source), &paper, &orient);
    if (orient == orientation && match(paper)) return 1;
  }
  return 0;
}

}  // namespace

BYTE FinSizeClassOf(DriverContext* ctx, SHORT paper) {
  const MachineRow* machine = MachineOf(ctx);
  if (machine == nullptr) return 0;
  for (const SizeClassRow* row = machine->table; row->paper != 0; ++row) {
    if (row->paper == static_cast<WORD>(paper)) return row->sizeClass;
  }
  return 0;
}

int FinSizeClassIs(DriverContext* ctx, BYTE sizeClass) {
  return FinSizeClassOf(ctx, ItemEffectiveOutPaper(ctx)) == sizeClass ? 1 : 0;
}

int FinSizeClassApplies(DriverContext* ctx) {
  if (FinRead(ctx, kFinDefaultSource) == kFinSourceBypass) return 0;
  return BypassInsertActive(ctx) ? 0 : 1;
}

int FinAnySourceHoldsPaper(DriverContext* ctx, SHORT paper, int orientation) {
  return AnySource(ctx, orientation, [&](SHORT held) { return held == paper; });
}

int FinAnySourceHoldsClass(DriverContext* ctx, BYTE sizeClass, int orientation) {
  return AnySource(ctx, orientation,
                   [&](SHORT held) { return FinSizeClassOf(ctx, held) == sizeClass; });
}

int FinSizeClassFeedable(DriverContext* ctx, int layoutFlag) {
  if (!FinSizeClassApplies(ctx)) return 0;
  SHORT paper = ItemEffectiveOutPaper(ctx);
  BYTE sizeClass = FinSizeClassOf(ctx, paper);
  int rotated = FinIsFeedRotated(ctx);
  switch (sizeClass) {
    case 1:
      return rotated == layoutFlag ? FinAnySourceHoldsPaper(ctx, paper, 0) : 0;
    case 2:
      return rotated == layoutFlag ? FinAnySourceHoldsPaper(ctx, paper, 0)
                                   : FinAnySourceHoldsClass(ctx, 1, 0);
    case 3:
      return FinAnySourceHoldsClass(ctx, 1, 0) || FinAnySourceHoldsClass(ctx, 2, 0) ? 1 : 0;
    default:
      return 0;
  }
}

// Widths are read as signed 32-bit numbers: a custom paper of 32768 units (27.3 inch) or more
// is wide, never a negative width.
int FinCustomWidthAbove(DriverContext* ctx, int wide, SHORT paper) {
  WORD widthItem = WidthItemOf(paper);
  if (widthItem == 0) return 1;
  LONG width = static_cast<LONG>(ItemGetValueById(ctx, widthItem));
  if (wide) return width > kWideLimit ? 1 : 0;
  if (AnyOn(ctx, kPunchGroup1)) return width > kGroup1Limit ? 1 : 0;
  if (AnyOn(ctx, kPunchGroup2)) return width > kGroup2Limit ? 1 : 0;
  return 1;
}

int FinCustomWidthForPunch(DriverContext* ctx, int wide, SHORT paper) {
  WORD widthItem = WidthItemOf(paper);
  if (widthItem == 0) return 1;
  LONG width = static_cast<LONG>(ItemGetValueById(ctx, widthItem));
  if (wide) return width > kWideLimit ? 1 : 0;
  BYTE punch = static_cast<BYTE>(FinRead(ctx, kFinPunchType));
  if (AnyOn(ctx, kPunchGroup1) && punch >= 0x11 && punch <= 0x13) return width > kGroup1Limit ? 1 : 0;
  if (AnyOn(ctx, kPunchGroup2) && punch >= 0x21 && punch <= 0x23) return width > kGroup2Limit ? 1 : 0;
  return 1;
}
