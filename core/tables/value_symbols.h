// Value symbols: the names the model language uses for item values ("ZDMMEDIATYPE_PLAIN"),
// each with the logical value the engine speaks and the stored value the settings hold, and
// the known-value lists and key-item pairs of the static model tables. One data file,
// value_symbols.inc, defines the value symbols and the items' own value lists together.
#pragma once

#include "platform/win32.h"

enum ValueSymbolKind : DWORD {
  ValueKindNone = 0,
  ValueKindItemValue = 1,  // a value of an item
  ValueKindResource = 2,   // IDS_/IDB_/IDC_ resource names (second table)
};

struct ValueSymbol {
  WORD itemId;    // 0 for resources that belong to no item
  WORD symbolId;
  WORD logical;   // for list items the display string id, else the stored value
  WORD reserved;
  DWORD kind;     // ValueSymbolKind
  const char* name;
  DWORD stored;
};

// Row counts and access of the two value-symbol tables (table 0 or 1).
int TblValueSymbolCount(int table);
const ValueSymbol* TblValueSymbolAt(int table, int index);
// The first row of (item id, logical value): the first table first, then the second.
const ValueSymbol* TblFindValueSymbol(WORD itemId, WORD logical);
// The row with this narrow name (exact, case-sensitive): the first table first.
const ValueSymbol* TblFindValueSymbolByName(const char* name);

// Known-value lists: values accepted for an item when the model description has no rule.
struct KnownValueList {
  WORD itemId;
  DWORD count;
  const LONG* values;
};
// The known-value list of an item, or null.
const KnownValueList* TblFindKnownValues(WORD itemId);
// 1 when the item has a known-value list that holds the value, else 0.
int TblIsKnownValue(WORD itemId, LONG value);
// Rows of the known-value lists (for scans and tests), ended by a row with item 0.
const KnownValueList* TblGetKnownValueLists();

// Key-item pairs: notify codes 10000-11976 (with one gap) naming items, zero-ended.
struct KeyItemPair {
  WORD key;
  WORD itemId;
};
const KeyItemPair* TblGetKeyItemPairs();
// The item named by a key, or 0.
WORD TblItemForKey(WORD key);
