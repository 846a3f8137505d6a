// Lookups of a context's items by id, symbol and name, and the addresses of item values.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/context/driver_context.h"
#include "core/items/item_table.h"
#include "core/tables/symbol_table.h"
#include "core/items/item_ids.h"
#include "platform/sim.h"

namespace {

std::u16string U(const char* s) {
  std::u16string r;
  while (*s) r += static_cast<char16_t>(*s++);
  return r;
}

std::string Narrow(const WCHAR* w) {
  std::string s;
  for (; w && *w; ++w) s += static_cast<char>(*w);
  return s;
}

class ItemContext : public ::testing::Test {
 protected:
  void SetUp() override {
    ctx_.items = ItemTableCreate();
    ASSERT_NE(ctx_.items, nullptr);
  }
  void TearDown() override { ItemTableFree(ctx_.items); }
  DriverContext ctx_{};
};

// The table comes from the machine's heap, so a refused allocation is seen (and nothing of a
// half-made table is left).
TEST(ItemTable, TheMachinesRefusedAllocationGivesNoTable) {
  for (int granted : {0, 1}) {
    SimFailAllocations(granted);
    SettingItemTable* table = ItemTableCreate();
    SimFailAllocations(-1);
    EXPECT_EQ(table, nullptr) << granted;
    ItemTableFree(table);
  }
}

TEST_F(ItemContext, FindByIdGivesTheItemOrNull) {
  struct Case {
    WORD id;
    bool found;
  } cases[] = {
      {1, true},      {722, true},     {1555, true},  {10001, true}, {10434, true},
      {0, false},     {1556, false},   {1989, false}, {1990, false}, {5000, false},
      {10000, false}, {10435, false},  {65535, false},
  };
  for (const Case& c : cases) {
    SettingItem* item = ItemFind(&ctx_, c.id);
    if (c.found) {
      ASSERT_NE(item, nullptr) << "id " << c.id;
      EXPECT_EQ(item->id, c.id);
    } else {
      EXPECT_EQ(item, nullptr) << "id " << c.id << " is no item but found row of " << item->id;
    }
  }
  EXPECT_EQ(ItemFind(&ctx_, kItem_zdmServerLogCode), ItemFind(&ctx_, 1555) + 1) << "10001 follows 1555";
}

TEST_F(ItemContext, FindWithoutContextOrTableGivesNull) {
  DriverContext empty{};
  EXPECT_EQ(ItemFind(nullptr, kItem_dmPaperSize), nullptr);
  EXPECT_EQ(ItemFind(&empty, kItem_dmPaperSize), nullptr);
  EXPECT_EQ(ItemFindBySymbol(&empty, 1007), nullptr);
  EXPECT_EQ(ItemFindByName(nullptr, U("dmPaperSize").c_str()), nullptr);
  EXPECT_EQ(ItemGetName(&empty, kItem_dmPaperSize), nullptr);
}

TEST_F(ItemContext, FindBySymbolAndName) {
  const SymbolEntry* symbol = TblFindSymbolByName("TOV_zdmJobBinder");
  ASSERT_NE(symbol, nullptr);
  EXPECT_EQ(symbol->itemId, 704);
  EXPECT_EQ(TblFindSymbol(symbol->symbolId), symbol);
  SettingItem* bySymbol = ItemFindBySymbol(&ctx_, symbol->symbolId);
  ASSERT_NE(bySymbol, nullptr);
  EXPECT_EQ(bySymbol->id, 704);

  SettingItem* byName = ItemFindByName(&ctx_, U("wdmFreeSizeWidth").c_str());
  ASSERT_NE(byName, nullptr);
  EXPECT_EQ(byName->id, 916);
  EXPECT_EQ(ItemFindByName(&ctx_, U("wdmfreesizewidth").c_str()), nullptr) << "names are case-sensitive";
  EXPECT_EQ(Narrow(ItemGetName(&ctx_, kItem_zdmWmKind)), "zdmWmKind");
  EXPECT_EQ(Narrow(ItemGetName(&ctx_, 800)), "wdmFinIAcceptsPlus") << "a condition item with a rule is named";
  EXPECT_EQ(ItemGetName(&ctx_, 802), nullptr) << "condition items without a rule have no name";

  EXPECT_EQ(TblFindSymbol(0), nullptr);
  EXPECT_EQ(TblFindSymbolByName("TOV_"), nullptr) << "the rows of unnamed items are not symbols";
  EXPECT_EQ(ItemFindBySymbol(&ctx_, 0), nullptr);
  const SymbolEntry* other = TblFindSymbolByName("TOV_ConvertDevmode");
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(ItemFindBySymbol(&ctx_, other->symbolId), nullptr) << "a symbol that is no item";

  // Dialog symbols come from the page table, by name and by id.
  const SymbolEntry* page = TblFindSymbolByName("TOV_IDD_PRESET");
  ASSERT_NE(page, nullptr) << "dialog names are symbols";
  EXPECT_EQ(page->symbolId, 284);
  EXPECT_EQ(page->itemId, 0);
  EXPECT_EQ(TblFindSymbol(284), page);
  EXPECT_EQ(std::string(TblSymbolAt(TblSymbolCount() - 1)->name).rfind("TOV_IDD_", 0), 0u)
      << "the scan over all rows reaches the dialogs";
}

// The run-time table mirrors the catalogue; a row's state keeps only bits 0-9.
TEST_F(ItemContext, RunTimeRowsCopyTheCatalogue) {
  int count = 0;
  const ItemTemplateRow* rows = TblItemTemplate(&count);
  ASSERT_EQ(ctx_.items->count, count);
  for (int i = 0; i < count; ++i) {
    const SettingItem& item = ctx_.items->rows[i];
    ASSERT_EQ(item.id, rows[i].id);
    EXPECT_EQ(item.descriptor, rows[i].descriptor);
    EXPECT_EQ(item.areaOffset, rows[i].areaOffset);
    EXPECT_EQ(item.state, rows[i].state);
    EXPECT_EQ(item.changeClasses, 0u);
    ASSERT_NE(item.refs, nullptr);
  }
  EXPECT_NE(ItemValueList(ItemFind(&ctx_, kItem_dmPaperSize)), nullptr) << "dmPaperSize has a value list";
  EXPECT_EQ(ItemValueList(ItemFind(&ctx_, kItem_dmPaperLength)), nullptr);
  EXPECT_EQ(ItemUnitKindOf(ItemFind(&ctx_, kItem_zdmShiftMarginX)), ItemUnitDotsAtResolution);
  EXPECT_EQ(ItemUnitKindOf(nullptr), ItemUnitPlain);
}

// A settings block of the normal layout, with or without the area-offset words stamped.
class SettingsBlock : public ItemContext {
 protected:
  static constexpr UINT kBlockSize = 1236 + 5264 + 3576;
  void SetUp() override {
    ItemContext::SetUp();
    block_.assign(kBlockSize, 0);
    ctx_.settings = block_.data();
  }
  void Stamp(WORD dm, WORD ext, WORD work) {
    std::memcpy(&block_[361], &dm, 2);
    std::memcpy(&block_[363], &ext, 2);
    std::memcpy(&block_[365], &work, 2);
  }
  BYTE* At(WORD id) { return ItemStoragePtr(&ctx_, ItemFind(&ctx_, id)); }
  std::vector<BYTE> block_;
};

TEST_F(SettingsBlock, AddressesFollowTheStampedAreaOffsets) {
  Stamp(0, 1236, 6500);
  EXPECT_EQ(At(8), block_.data() + 78);
  EXPECT_EQ(At(705), block_.data() + 1218);
  const SettingItem* ext = ItemFind(&ctx_, kItem_zdmPrinterMemory);
  EXPECT_EQ(At(10012), block_.data() + 1236 + ext->areaOffset);
  const SettingItem* work = ItemFind(&ctx_, kItem_wdmFreeSizeWidth);
  EXPECT_EQ(At(916), block_.data() + 6500 + work->areaOffset);
  EXPECT_EQ(CtxGetExtArea(&ctx_), block_.data() + 1236);
  EXPECT_EQ(CtxGetWorkArea(&ctx_), block_.data() + 6500);
  EXPECT_EQ(CtxGetSettings(&ctx_), block_.data());
}

TEST_F(SettingsBlock, UnstampedOrForeignHeaderGivesNoAddressOutsideTheDevmode) {
  struct Case {
    WORD dm, ext, work;
    bool areasUsable;
  } cases[] = {
      {0, 0, 0, false},          // not stamped yet
      {0, 1236, 6500, true},     // normal layout
      {0, 1172, 6436, false},    // the short layout of Windows 9x is not written
      {0, 1236, 60000, false},   // work area beyond the block
      {0, 9000, 14264, false},   // extension area beyond the block
      {4, 1236, 6500, false},    // DEVMODE area not at the start
  };
  for (const Case& c : cases) {
    Stamp(c.dm, c.ext, c.work);
    EXPECT_EQ(At(10012) != nullptr, c.areasUsable) << c.ext << "/" << c.work;
    EXPECT_EQ(At(916) != nullptr, c.areasUsable) << c.ext << "/" << c.work;
    EXPECT_EQ(CtxGetWorkArea(&ctx_) != nullptr, c.areasUsable) << c.ext << "/" << c.work;
    EXPECT_EQ(At(8) != nullptr, c.dm == 0);
  }
}

TEST_F(SettingsBlock, NoSettingsBlockTouchesNoMemory) {
  ctx_.settings = nullptr;
  EXPECT_EQ(At(8), nullptr);
  EXPECT_EQ(At(10012), nullptr);
  EXPECT_EQ(CtxGetSettings(&ctx_), nullptr);
  EXPECT_EQ(CtxGetPrivateDevmode(&ctx_), nullptr);
  EXPECT_EQ(CtxGetExtArea(&ctx_), nullptr);
  EXPECT_EQ(CtxGetWorkArea(&ctx_), nullptr);
  EXPECT_EQ(ItemStoragePtr(nullptr, ItemFind(&ctx_, kItem_dmPaperSize)), nullptr);
  EXPECT_EQ(ItemStoragePtr(&ctx_, nullptr), nullptr);
  EXPECT_EQ(ItemInitialStoragePtr(nullptr, nullptr), nullptr);
  EXPECT_EQ(ItemLockDefaultStoragePtr(&ctx_, ItemFind(&ctx_, kItem_dmPaperSize)), nullptr);
}

TEST_F(SettingsBlock, PrivatePartStartsAfterThePublicSize) {
  const struct {
    WORD dmSize;
    int offset;  // -1: no private part
  } cases[] = {{220, 220}, {148, -1}, {0, -1}, {400, -1}};
  for (auto c : cases) {
    std::memcpy(&block_[68], &c.dmSize, 2);
    BYTE* priv = CtxGetPrivateDevmode(&ctx_);
    if (c.offset < 0) {
      EXPECT_EQ(priv, nullptr) << c.dmSize;
    } else {
      EXPECT_EQ(priv, block_.data() + c.offset) << c.dmSize;
    }
  }
  EXPECT_EQ(DmPrivateAt220(block_.data()), block_.data() + 220);
  EXPECT_EQ(DmPrivateAt220(nullptr), nullptr);
}

}  // namespace
