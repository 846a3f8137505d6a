// Value symbols, the items' own value lists, the known-value lists and the key-item pairs.
#include "core/tables/value_symbols.h"

#include <cstring>

#include "core/items/item_table.h"

namespace {

// ---- the items' own value lists: one array per item, ended by a zero entry ----
#define LIST(item) const ItemValueEntry kList_##item[] = {
#define VAL(item, sym, name, logical, stored) {stored, logical, 0},
#define LANDSCAPE(item) {0, 0, 0},
#define VAL2(item, logical, stored) {stored, logical, 0},
#define END(item) {0, 0, 0}};
#define SYM(item, sym, name, logical, stored)
#include "core/tables/value_symbols.inc"
#undef LIST
#undef VAL
#undef LANDSCAPE
#undef VAL2
#undef END
#undef SYM

struct ItemValueListRow {
  WORD itemId;
  const ItemValueEntry* values;
};

const ItemValueListRow kValueLists[] = {
#define LIST(item) {item, kList_##item},
#define VAL(item, sym, name, logical, stored)
#define LANDSCAPE(item)
#define VAL2(item, logical, stored)
#define END(item)
#define SYM(item, sym, name, logical, stored)
#include "core/tables/value_symbols.inc"
#undef LIST
#undef VAL
#undef LANDSCAPE
#undef VAL2
#undef END
#undef SYM
};

// ---- value symbols ----
const ValueSymbol kValueSymbols[] = {
#define LIST(item)
#define VAL(item, sym, name, logical, stored) {item, sym, logical, 0, ValueKindItemValue, name, stored},
#define LANDSCAPE(item)
#define VAL2(item, logical, stored)
#define END(item)
#define SYM(item, sym, name, logical, stored) {item, sym, logical, 0, ValueKindItemValue, name, stored},
#include "core/tables/value_symbols.inc"
#undef LIST
#undef VAL
#undef LANDSCAPE
#undef VAL2
#undef END
#undef SYM
};
constexpr int kValueSymbolCount = static_cast<int>(sizeof(kValueSymbols) / sizeof(kValueSymbols[0]));

// The second table holds resource names (IDS_, IDB_, IDC_); none is defined yet.
constexpr int kResourceSymbolCount = 0;

// ---- known values ----
#define KNOWN(item, ...) const LONG kKnown_##item[] = {__VA_ARGS__};
#include "core/tables/known_values.inc"
#undef KNOWN

const KnownValueList kKnownLists[] = {
#define KNOWN(item, ...) {item, sizeof(kKnown_##item) / sizeof(LONG), kKnown_##item},
#include "core/tables/known_values.inc"
#undef KNOWN
    {0, 0, nullptr},
};

// ---- key-item pairs ----
// Notify codes name items in runs: private and work items, device settings, more work and
// extension values, the public fields; code 11914 is the one gap. Items 1543-1555 have no
// code. Never renumbered.
struct KeyRun {
  WORD firstKey;
  WORD firstItem;
  WORD count;
};
constexpr KeyRun kKeyRuns[] = {
    {10000, 35, 1414},    // 35-1448
    {11414, 10001, 434},  // 10001-10434
    {11848, 1449, 32},    // 1449-1480
    {11880, 1, 34},       // 1-34
    {11915, 1481, 62},    // 1481-1542
};
constexpr int kKeyPairCount = 1976;

struct KeyPairs {
  KeyItemPair rows[kKeyPairCount + 1];
};

constexpr KeyPairs MakeKeyPairs() {
  KeyPairs pairs{};
  int n = 0;
  for (const KeyRun& run : kKeyRuns) {
    for (int i = 0; i < run.count; ++i) {
      pairs.rows[n].key = static_cast<WORD>(run.firstKey + i);
      pairs.rows[n].itemId = static_cast<WORD>(run.firstItem + i);
      ++n;
    }
  }
  return pairs;  // the last row stays {0, 0}
}

constexpr KeyPairs kKeyPairs = MakeKeyPairs();
static_assert(kKeyPairs.rows[kKeyPairCount - 1].key == 11976, "key-item pairs end at 11976");

}  // namespace

const ItemValueEntry* TblItemValueList(WORD id) {
  for (const ItemValueListRow& row : kValueLists) {
    if (row.itemId == id) return row.values;
  }
  return nullptr;
}

int TblValueSymbolCount(int table) {
  return table == 0 ? kValueSymbolCount : table == 1 ? kResourceSymbolCount : 0;
}

const ValueSymbol* TblValueSymbolAt(int table, int index) {
  if (table != 0 || index < 0 || index >= kValueSymbolCount) return nullptr;
  return &kValueSymbols[index];
}

const ValueSymbol* TblFindValueSymbol(WORD itemId, WORD logical) {
  for (const ValueSymbol& v : kValueSymbols) {
    if (v.itemId == itemId && v.logical == logical) return &v;
  }
  return nullptr;
}

const ValueSymbol* TblFindValueSymbolByName(const char* name) {
  if (!name || !*name) return nullptr;
  for (const ValueSymbol& v : kValueSymbols) {
    if (std::strcmp(v.name, name) == 0) return &v;
  }
  return nullptr;
}

const KnownValueList* TblFindKnownValues(WORD itemId) {
  if (itemId == 0) return nullptr;
  for (const KnownValueList* k = kKnownLists; k->itemId != 0; ++k) {
    if (k->itemId == itemId) return k;
  }
  return nullptr;
}

int TblIsKnownValue(WORD itemId, LONG value) {
  const KnownValueList* k = TblFindKnownValues(itemId);
  if (!k) return 0;
  for (DWORD i = 0; i < k->count; ++i) {
    if (k->values[i] == value) return 1;
  }
  return 0;
}

const KnownValueList* TblGetKnownValueLists() { return kKnownLists; }

const KeyItemPair* TblGetKeyItemPairs() { return kKeyPairs.rows; }

WORD TblItemForKey(WORD key) {
  for (const KeyItemPair* p = kKeyPairs.rows; p->key != 0; ++p) {
    if (p->key == key) return p->itemId;
  }
  return 0;
}
