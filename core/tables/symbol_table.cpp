// The symbol table (item symbols from the catalogue, then the other symbols) and the
// message table.
#include "core/tables/symbol_table.h"

#include <cstring>
#include <vector>

#include "core/items/item_table.h"
#include "core/front/dialog_records.h"

namespace {

// Item rows first, in catalogue order, so that an item symbol's row index is its row index
// in the item table; unnamed items keep a row with symbol id 0 that no lookup returns.
const SymbolEntry kSymbols[] = {
#define ITEM(id, sym, name, type, area, off, size, storage, section, key, special, groups, unit) \
  {id, sym, "TOV_" name},
#include "core/items/item_catalogue.inc"
#undef ITEM
#define SYMBOL(sym, name) {0, sym, name},
#define ITEM_SYMBOL(sym, item, name) {item, sym, name},
#define CONTROL_SYMBOL(sym, item, name) {item, sym, #name},
#include "core/tables/symbols_ui.inc"
#undef CONTROL_SYMBOL
#undef ITEM_SYMBOL
#undef SYMBOL
};
constexpr int kSymbolCount = static_cast<int>(sizeof(kSymbols) / sizeof(kSymbols[0]));

// The dialogs' symbols are those of the page table (one source for ids and names); they
// follow the rows above, in page-table order.
const std::vector<SymbolEntry>& PageSymbols() {
  static const std::vector<SymbolEntry> rows = [] {
    std::vector<SymbolEntry> out;
    const DlgPageTable* pages = TblGetPageTable();
    for (int i = 0; pages && i < pages->count; ++i) {
      const DlgPageRecord& page = pages->rows[i];
      if (page.symbolId != 0 && page.name) out.push_back({0, page.symbolId, page.name});
    }
    return out;
  }();
  return rows;
}

const MessageEntry kMessages[] = {
#define MESSAGE(id, text, caption, name) {id, text, caption, 0, name, 0},
#include "core/tables/messages.inc"
#undef MESSAGE
};
constexpr int kMessageCount = static_cast<int>(sizeof(kMessages) / sizeof(kMessages[0]));

}  // namespace

int TblSymbolCount() { return kSymbolCount + static_cast<int>(PageSymbols().size()); }

const SymbolEntry* TblSymbolAt(int index) {
  if (index >= 0 && index < kSymbolCount) return &kSymbols[index];
  const std::vector<SymbolEntry>& pages = PageSymbols();
  index -= kSymbolCount;
  return index >= 0 && index < static_cast<int>(pages.size()) ? &pages[index] : nullptr;
}

const SymbolEntry* TblFindSymbol(WORD symbolId) {
  if (symbolId == 0) return nullptr;
  // Item symbols are 1000 + row index: try that row before the scan.
  int index = symbolId - kItemSymbolBase;
  if (index >= 0 && index < kItemCount && kSymbols[index].symbolId == symbolId) return &kSymbols[index];
  for (const SymbolEntry& s : kSymbols) {
    if (s.symbolId == symbolId) return &s;
  }
  for (const SymbolEntry& s : PageSymbols()) {
    if (s.symbolId == symbolId) return &s;
  }
  return nullptr;
}

const SymbolEntry* TblFindSymbolByName(const char* name) {
  if (!name || !*name) return nullptr;
  for (const SymbolEntry& s : kSymbols) {
    if (s.symbolId != 0 && std::strcmp(s.name, name) == 0) return &s;
  }
  for (const SymbolEntry& s : PageSymbols()) {
    if (std::strcmp(s.name, name) == 0) return &s;
  }
  return nullptr;
}

int TblMessageCount(DriverContext*) { return kMessageCount; }

const MessageEntry* TblMessageAt(DriverContext*, int index) {
  return index >= 0 && index < kMessageCount ? &kMessages[index] : nullptr;
}

const MessageEntry* TblFindMessage(DriverContext*, WORD messageId) {
  for (const MessageEntry& m : kMessages) {
    if (m.messageId == messageId) return &m;
  }
  return nullptr;
}

const MessageEntry* TblFindMessageByName(DriverContext*, const char* name) {
  if (!name) return nullptr;
  for (const MessageEntry& m : kMessages) {
    if (std::strcmp(m.name, name) == 0) return &m;
  }
  return nullptr;
}
