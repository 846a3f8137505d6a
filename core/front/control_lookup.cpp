// Lookups of the pages and controls in a context's dialog tables.
#include "core/front/control_lookup.h"

#include <cstring>

#include "core/front/page_lookup.h"
#include "core/tables/symbol_table.h"

namespace {

const DlgPageTable* PagesOf(const DriverContext* ctx) {
  const DlgPageTable* table = ctx ? ctx->pages : nullptr;
  return table && table->rows && table->count > 0 ? table : nullptr;
}

// The first page of the table that satisfies the test.
template <typename Test>
DlgPageRecord* FirstPage(const DlgPageTable* table, Test test) {
  if (!table || !table->rows) return nullptr;
  for (SHORT i = 0; i < table->count; ++i)
    if (test(table->rows[i])) return &table->rows[i];
  return nullptr;
}

// The first control on the page, or on every page of the context, that satisfies the test.
template <typename Test>
DlgControlRecord* FirstControl(DriverContext* ctx, DlgPageRecord* page, Test test) {
  auto onPage = [&test](DlgPageRecord* p) -> DlgControlRecord* {
    if (!p || !p->controls) return nullptr;
    for (WORD i = 0; i < p->controlCount; ++i)
      if (test(p->controls[i])) return &p->controls[i];
    return nullptr;
  };
  if (page) return onPage(page);
  const DlgPageTable* table = PagesOf(ctx);
  if (!table) return nullptr;
  for (SHORT i = 0; i < table->count; ++i)
    if (DlgControlRecord* found = onPage(&table->rows[i])) return found;
  return nullptr;
}

// The items of the control symbols, indexed by symbol id less the first control symbol.
constexpr WORD kFirstControlSymbol = 6000;
constexpr WORD kControlSymbolEnd = 8000;

const WORD* ControlSymbolItems() {
  static const WORD* items = [] {
    static WORD table[kControlSymbolEnd - kFirstControlSymbol] = {};
#define SYMBOL(sym, name)
#define ITEM_SYMBOL(sym, item, name)
#define CONTROL_SYMBOL(sym, item, name) static_assert(sym >= kFirstControlSymbol && sym < kControlSymbolEnd, #name); \
  table[sym - kFirstControlSymbol] = item;
#include "core/tables/symbols_ui.inc"
#undef CONTROL_SYMBOL
#undef ITEM_SYMBOL
#undef SYMBOL
    return table;
  }();
  return items;
}

}  // namespace

WORD CtlSymbolItem(WORD symbolId) {
  if (symbolId < kFirstControlSymbol || symbolId >= kControlSymbolEnd) return 0;
  return ControlSymbolItems()[symbolId - kFirstControlSymbol];
}

DlgPageRecord* PageFind(DriverContext* ctx, WORD pageId) {
  return FirstPage(PagesOf(ctx), [pageId](const DlgPageRecord& p) { return p.dialogId == pageId; });
}

DlgPageRecord* PageFindByWindow(DriverContext* ctx, HWND window) {
  // Pages that are not open have no window: a null window must not find one of them.
  if (!window) return nullptr;
  return FirstPage(PagesOf(ctx), [window](const DlgPageRecord& p) { return p.window == window; });
}

DlgPageRecord* PageFindByName(DriverContext* ctx, const char* name) {
  if (!name) return nullptr;
  const DlgPageTable* table = ctx ? PagesOf(ctx) : TblGetPageTable();
  return FirstPage(table, [name](const DlgPageRecord& p) { return p.name && std::strcmp(p.name, name) == 0; });
}

DlgControlRecord* PageControlAt(DlgPageRecord* page, int index) {
  if (!page || !page->controls || index < 0 || index >= page->controlCount) return nullptr;
  return &page->controls[index];
}

DlgControlRecord* CtlFind(DriverContext* ctx, DlgPageRecord* page, WORD control_id) {
  return FirstControl(ctx, page, [control_id](const DlgControlRecord& c) { return c.controlId == control_id; });
}

DlgControlRecord* CtlFindByWindow(DriverContext* ctx, DlgPageRecord* page, HWND window) {
  if (!window) return nullptr;
  return FirstControl(ctx, page, [window](const DlgControlRecord& c) { return c.window == window; });
}

DlgControlRecord* CtlFindBySymbol(DriverContext* ctx, DlgPageRecord* page, WORD symbolId) {
  if (symbolId == 0) return nullptr;
  if (DlgControlRecord* own = FirstControl(ctx, page, [symbolId](const DlgControlRecord& c) { return c.symbolId == symbolId; }))
    return own;
  const SymbolEntry* symbol = TblFindSymbol(symbolId);
  WORD item = symbol && symbolId < kFirstControlSymbol ? symbol->itemId : 0;
  if (item == 0) return nullptr;
  return FirstControl(ctx, page, [item](const DlgControlRecord& c) { return CtlSymbolItem(c.symbolId) == item; });
}

DlgControlRecord* CtlFindByName(DriverContext* ctx, DlgPageRecord* page, const char* name) {
  const SymbolEntry* symbol = TblFindSymbolByName(name);
  return symbol ? CtlFindBySymbol(ctx, page, symbol->symbolId) : nullptr;
}
