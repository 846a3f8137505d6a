// Settings snapshots and the font tables of the settings: ownership across push, pop, replace,
// reload and destruction, counted block by block.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "core/common/mem.h"
#include "core/context/module_bus.h"
#include "core/context/settings_snapshot.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_fonts.h"
#include "core/items/item_ids.h"
#include "core/items/item_table_copy.h"
#include "core/store/font_tables.h"
#include "settings_snapshot/heap_count.h"
#include "support/item_context.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

std::u16string W(const WCHAR* s) { return reinterpret_cast<const char16_t*>(s); }

void Put(WCHAR* to, const char* text) {
  int i = 0;
  for (; text[i] && i < kFontNameChars - 1; ++i) to[i] = static_cast<WCHAR>(text[i]);
  to[i] = 0;
}

// Installs a device-font list of one font named name (as a reload from the printer would),
// freeing the list in force.
void ReloadDeviceFonts(DriverContext* ctx, const char* name) {
  auto* list = static_cast<ItemFontEntry*>(MemAllocZero(sizeof(ItemFontEntry)));
  ASSERT_NE(nullptr, list);
  Put(list[0].name, name);
  SettingItem* tableItem = ItemFind(ctx, kItem_zdmDeviceFont);
  MemFree(reinterpret_cast<void*>(static_cast<ULONG_PTR>(static_cast<DWORD>(ItemGetRaw(ctx, tableItem)))));
  ItemSetRaw(ctx, tableItem, static_cast<LONG_PTR>(reinterpret_cast<ULONG_PTR>(list)));
  ItemSetRawById(ctx, kItem_zdmDeviceFontNum, 1);
}

void SetOptionFonts(DriverContext* ctx, const char* name) {
  auto* list = static_cast<ItemFontEntry*>(MemAllocZero(sizeof(ItemFontEntry)));
  ASSERT_NE(nullptr, list);
  Put(list[0].name, name);
  ItemSetRawById(ctx, kItem_zdmOptionFont, static_cast<LONG_PTR>(reinterpret_cast<ULONG_PTR>(list)));
  ItemSetRawById(ctx, kItem_zdmOptionFontNum, 1);
}

// A substitution table of one entry: "Face" printed as deviceFont.
ItemFontSubstEntry* SubstTable(const char* deviceFont) {
  auto* table = static_cast<ItemFontSubstEntry*>(MemAllocZero(sizeof(ItemFontSubstEntry)));
  if (table) {
    Put(table->face, "Face");
    Put(table->deviceFont, deviceFont);
  }
  return table;
}

class SnapshotTest : public ItemContextTest {
 protected:
  void SetUp() override {
    ItemContextTest::SetUp();
    baseline_ = HeapLiveBlocks();
    ReloadDeviceFonts(ctx(), "D0");
    SetOptionFonts(ctx(), "O0");
    ItemFontTableReplace(ctx(), 1, SubstTable("T0"));
  }
  void TearDown() override {
    FreeAll();
    ItemContextTest::TearDown();
  }
  void FreeAll() {
    CtxSnapshotFreeAll(ctx());
    StoreFreeFontTables(ctx());
  }
  std::u16string Subst() { return W(ItemFontSubstFor(ctx(), u16("Face"))); }
  static const WCHAR* u16(const char* s) {
    static WCHAR buffer[kFontNameChars];
    Put(buffer, s);
    return buffer;
  }
  long baseline_ = 0;
};

// Each sequence: P push, R restoring pop, D dropping pop, 1-3 a new substitution table
// (T1-T3), N the default table (empty for now), Z a replacement of count 0, L a reload of the
// device fonts (D1). Then which substitution and which first device font are in force.
struct Sequence {
  const char* ops;
  const char* subst;   // the device font "Face" maps to; the first device font when none
  const char* device;
};

const Sequence kSequences[] = {
    {"R", "T0", "D0"},         // pop with nothing pushed
    {"D", "T0", "D0"},
    {"P1R", "T0", "D0"},       // the replacement freed, the earlier table back
    {"P1D", "T1", "D0"},       // the replacement stays, the earlier table freed
    {"PP1DR", "T0", "D0"},
    {"PP1RD", "T0", "D0"},
    {"P1P2RR", "T0", "D0"},
    {"P1P2DR", "T0", "D0"},
    {"P1P2RD", "T1", "D0"},
    {"P1P2DD", "T2", "D0"},
    {"PLR", "T0", "D0"},       // a device-font reload between push and restore
    {"PLD", "T0", "D1"},
    {"P1LR", "T0", "D0"},
    {"PNR", "T0", "D0"},
    {"PND", "D0", "D0"},       // the default table is empty: the first device font
    {"PZR", "T0", "D0"},
    {"Z", "D0", "D0"},
    {"PPPPRRRRR", "T0", "D0"},
    {"PPPPDDDDD", "T0", "D0"},
    {"P1P2P3", "T3", "D0"},    // levels left for destruction
    {"1122", "T2", "D0"},
    {"PL1PL2", "T2", "D1"},
};

TEST_F(SnapshotTest, SequencesKeepEveryTableOwnedOnce) {
  for (const Sequence& s : kSequences) {
    SCOPED_TRACE(s.ops);
    for (const char* op = s.ops; *op; ++op) {
      switch (*op) {
        case 'P': CtxSnapshotPush(ctx()); break;
        case 'R': CtxSnapshotPop(ctx(), TRUE); break;
        case 'D': CtxSnapshotPop(ctx(), FALSE); break;
        case 'N': ItemFontTableReplace(ctx(), 0, nullptr); break;
        case 'Z': ItemFontTableReplace(ctx(), 0, SubstTable("TZ")); break;
        case 'L': ReloadDeviceFonts(ctx(), "D1"); break;
        default: {
          const char name[] = {'T', *op, 0};
          ItemFontTableReplace(ctx(), 1, SubstTable(name));
        }
      }
    }
    EXPECT_EQ(W(u16(s.subst)), Subst());
    EXPECT_EQ(W(u16(s.device)), W(ItemFontName(ctx(), 0)));
    EXPECT_EQ(W(u16("O0")), W(ItemFontName(ctx(), 1)));
    // Back to the start for the next sequence: every block the sequence made is gone.
    FreeAll();
    EXPECT_EQ(baseline_, HeapLiveBlocks()) << "blocks left behind";
    ReloadDeviceFonts(ctx(), "D0");
    SetOptionFonts(ctx(), "O0");
    ItemFontTableReplace(ctx(), 1, SubstTable("T0"));
  }
}

TEST_F(SnapshotTest, FourNestedRestoresComeBackInOrderAndAFifthDoesNothing) {
  for (LONG copies = 1; copies <= 4; ++copies) {
    ItemSetRawById(ctx(), kItem_dmCopies, copies);
    CtxSnapshotPush(ctx());
  }
  ItemSetRawById(ctx(), kItem_dmCopies, 99);
  EXPECT_EQ(4, CtxSnapshotDepth(ctx()));
  for (LONG copies = 4; copies >= 1; --copies) {
    CtxSnapshotPop(ctx(), TRUE);
    EXPECT_EQ(copies, ItemGetRawById(ctx(), kItem_dmCopies));
  }
  ItemSetRawById(ctx(), kItem_dmCopies, 7);
  CtxSnapshotPop(ctx(), TRUE);
  EXPECT_EQ(7, ItemGetRawById(ctx(), kItem_dmCopies)) << "an empty stack restores nothing";
  EXPECT_EQ(W(u16("T0")), Subst());
}

int g_events[2];
int CountSnapshotEvents(DriverContext*, int event, void*, void*) {
  if (event == kEventSnapshotPushed) ++g_events[0];
  if (event == kEventSnapshotRestored) ++g_events[1];
  return 0;
}

TEST_F(SnapshotTest, RestoreBringsBackFlagsAndClearsMarks) {
  UiModuleEntry row = {0, nullptr, nullptr, nullptr, CountSnapshotEvents};
  ASSERT_EQ(1, ModBusLoadRows(ctx(), &row, 1));
  g_events[0] = g_events[1] = 0;
  CtxAddChangeFlags(ctx(), 0);
  CtxAddChangeFlags(ctx(), 0x20);
  CtxSnapshotPush(ctx());
  EXPECT_EQ(1, g_events[0]);
  ItemSetRawById(ctx(), kItem_dmCopies, 3);
  CtxAddChangeFlags(ctx(), 0x4000);
  ASSERT_EQ(1, ModifiedFlag());
  ASSERT_NE(0, Item(kItem_dmCopies)->state & ItemStateChangeMask);
  CtxSnapshotPop(ctx(), TRUE);
  EXPECT_EQ(1, g_events[1]);
  EXPECT_EQ(0x20u, CtxGetChangeFlags(ctx()));
  EXPECT_EQ(0, ModifiedFlag());
  for (SHORT i = 0; i < ctx()->items->count; ++i)
    ASSERT_EQ(0, ctx()->items->rows[i].state & ItemStateChangeMask) << "item " << ctx()->items->rows[i].id;
  // A drop sends nothing; neither do pops of an empty stack.
  CtxSnapshotPush(ctx());
  CtxSnapshotPop(ctx(), FALSE);
  CtxSnapshotPop(ctx(), TRUE);
  EXPECT_EQ(2, g_events[0]);
  EXPECT_EQ(1, g_events[1]);
  ModBusFree(ctx());
}

TEST_F(SnapshotTest, NoSettingsBlockNoSnapshot) {
  BYTE* settings = ctx()->settings;
  ctx()->settings = nullptr;
  CtxSnapshotPush(ctx());
  EXPECT_EQ(0, CtxSnapshotDepth(ctx()));
  CtxSnapshotPop(ctx(), TRUE);
  ctx()->settings = settings;
  DriverContext bare{};
  CtxSnapshotPush(&bare);
  CtxSnapshotPop(&bare, TRUE);
  CtxSnapshotPush(nullptr);
  CtxSnapshotPop(nullptr, FALSE);
}

TEST_F(SnapshotTest, FontListsReadWithinTheirCounts) {
  EXPECT_EQ(2, ItemFontCount(ctx()));
  EXPECT_EQ(u"", W(ItemFontName(ctx(), 2))) << "one past both lists";
  EXPECT_EQ(u"", W(ItemFontName(ctx(), -1)));
  ItemSetRawById(ctx(), kItem_zdmOptionFontNum, -3);
  EXPECT_EQ(1, ItemFontCount(ctx())) << "a negative count is 0";
  EXPECT_EQ(u"", W(ItemFontName(ctx(), 1)));
  ItemSetRawById(ctx(), kItem_zdmOptionFontNum, 1);
  // A count without a table counts 0.
  LONG_PTR table = ItemGetRawById(ctx(), kItem_zdmOptionFont);
  ItemSetRawById(ctx(), kItem_zdmOptionFont, 0);
  EXPECT_EQ(1, ItemFontCount(ctx()));
  ItemSetRawById(ctx(), kItem_zdmOptionFont, table);
  // A name filling all 32 characters reads as empty, never beyond.
  auto* list = reinterpret_cast<ItemFontEntry*>(static_cast<ULONG_PTR>(static_cast<DWORD>(table)));
  for (WCHAR& c : list[0].name) c = u'x';
  EXPECT_EQ(u"", W(ItemFontName(ctx(), 1)));
}

TEST_F(SnapshotTest, SubstitutionNamesAreCutAndMatchedExactly) {
  ItemFontSubstEntry* table = SubstTable("T1");
  for (WCHAR& c : table->deviceFont) c = u'y';
  ItemFontTableReplace(ctx(), 1, table);
  EXPECT_EQ(std::u16string(31, u'y'), Subst()) << "each name ends within its 32 characters";
  EXPECT_EQ(u"D0", W(ItemFontSubstFor(ctx(), u16("face")))) << "case-sensitive: the first device font";
  EXPECT_EQ(u"D0", W(ItemFontSubstFor(ctx(), u16("Face2"))));
  EXPECT_EQ(u"D0", W(ItemFontSubstFor(ctx(), nullptr)));
  // The table in force given again with a new count is kept, not freed.
  ItemFontTableReplace(ctx(), 1, table);
  EXPECT_EQ(std::u16string(31, u'y'), Subst());
}

TEST_F(SnapshotTest, ItemTableRestoreCopiesAtMostTheTableRows) {
  SettingItemTable* clone = ItemTableClone(ctx());
  ASSERT_NE(nullptr, clone);
  ASSERT_EQ(ctx()->items->count, clone->count);
  EXPECT_NE(ctx()->items->rows, clone->rows);
  EXPECT_EQ(ctx()->items->rows[5].refs, clone->rows[5].refs) << "value lists are shared";
  const WORD state = ctx()->items->rows[0].state;
  ctx()->items->rows[0].state = 0x3FF;
  // A clone claiming more rows than the table has: only the table's rows are written.
  SettingItemTable* larger = static_cast<SettingItemTable*>(MemAllocZero(sizeof(SettingItemTable)));
  larger->count = static_cast<SHORT>(clone->count + 10);
  larger->rows = static_cast<SettingItem*>(MemAllocZero(sizeof(SettingItem) * larger->count));
  memcpy(larger->rows, clone->rows, sizeof(SettingItem) * clone->count);
  ItemTableRestore(ctx(), larger);
  EXPECT_EQ(state, ctx()->items->rows[0].state);
  ItemTableRestore(ctx(), clone);
  ItemTableRestore(ctx(), nullptr);
  auto* empty = static_cast<SettingItemTable*>(MemAllocZero(sizeof(SettingItemTable)));
  ItemTableRestore(ctx(), empty);
}

// A real context parked or destroyed with snapshots pushed frees every level with its tables.
TEST_F(ContextTest, DestroyingAContextWithPushedSnapshotsFreesThem) {
  DriverContext* ctx = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(nullptr, ctx);
  ASSERT_NE(nullptr, ctx->settings);
  ItemFontTableReplace(ctx, 1, SubstTable("T1"));
  CtxSnapshotPush(ctx);
  ItemFontTableReplace(ctx, 1, SubstTable("T2"));
  CtxSnapshotPush(ctx);
  EXPECT_EQ(2, CtxSnapshotDepth(ctx));
  CtxRelease(ctx, kReleaseExpired);
}

}  // namespace
}  // namespace zems_test
