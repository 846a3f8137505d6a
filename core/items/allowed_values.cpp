// Allowed values of PJL-mapped settings.
#include "core/items/allowed_values.h"

#include <string.h>

#include "core/common/mem.h"
#include "core/items/derived_settings.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/tables/static_tables.h"

namespace {

// A term that a coded list leaves out.
constexpr DWORD kNoItem = 0;

// Feature codes of option requirements: runs of 32 codes, each onto the installed-option
// items of the extension area's mirror in the private DEVMODE.
struct FeatureCodeRun {
  DWORD firstCode;
  DWORD firstItem;
};
constexpr FeatureCodeRun kFeatureCodeRuns[] = {
    {10014, 244},  // zdmSourceOptionTypeDuplex... -> zdmInOptionSupportDuplex...
    {10046, 276},  // zdmOutputOptionTypeSimple... -> zdmOutOptionSupportSimple...
    {10078, 308},  // zdmOutputOption2Type... -> zdmOutOption2Support...
    {10290, 412},  // zdmOutputOption3Type... -> zdmOutOption3Support...
    {10322, 479},  // zdmOutputOption4Type... -> zdmOutOption4Support...
};
constexpr DWORD kFeatureCodeRunLength = 32;

DWORD PlainItem(DWORD item) { return item; }

DWORD ItemOfFeatureCode(DWORD code) {
  for (const FeatureCodeRun& run : kFeatureCodeRuns)
    if (code >= run.firstCode && code - run.firstCode < kFeatureCodeRunLength)
      return run.firstItem + (code - run.firstCode);
  return kNoItem;
}

// Stored value of an item; 0 for an id that names no item.
LONG Stored(DriverContext* ctx, DWORD item) {
  if (item == 0 || item > 0xFFFF) return 0;
  return static_cast<LONG>(ItemGetRawById(ctx, static_cast<WORD>(item)));
}

// Term joins (ConditionTerm::flags).
constexpr DWORD kTermEndsClause = 0x1;
constexpr DWORD kTermAndNext = 0x2;

// Clauses joined by AND; a clause is alternatives joined by OR, an alternative one term or a
// run of terms joined by AND. Term by term: a term with kTermAndNext continues its
// alternative; any other term ends it, and with kTermEndsClause the clause too. The last term
// ends whatever is open.
int TestList(DriverContext* ctx, const ConditionTerm* term, DWORD (*itemOf)(DWORD)) {
  bool alternative = true, alternativeOpen = false;
  bool clause = false, clauseOpen = false;
  for (; term; term = term->next) {
    const DWORD item = itemOf(term->item);
    if (item == kNoItem) continue;
    alternative = alternative && Stored(ctx, item) == term->value;
    alternativeOpen = true;
    if (term->flags & kTermAndNext) continue;
    clause = clause || alternative;
    clauseOpen = true;
    alternative = true;
    alternativeOpen = false;
    if (term->flags & kTermEndsClause) {
      if (!clause) return 0;
      clause = false;
      clauseOpen = false;
    }
  }
  if (alternativeOpen) {
    clause = clause || alternative;
    clauseOpen = true;
  }
  return !clauseOpen || clause ? 1 : 0;
}

const PjlValueList* ValueListOf(const PjlVariable* row) {
  if (!row || !(row->flags & kPjlFromList) || !row->values) return nullptr;
  const PjlValueList* list = static_cast<const PjlValueList*>(row->values);
  return list->count && list->entries ? list : nullptr;
}

// The N-up lock rule: while the N-up kind is locked, N-up off is not allowed, and unless every
// kind is unlocked a layout must be of the locked kind (the post kind its coupled settings
// set first).
bool NupLockAllows(DriverContext* ctx, const PjlVariable* row, const PjlValueEntry* value) {
  if (row->setting != kItem_zdmNUPType) return true;
  if (!ItemAnyLockBit(ctx) || !Stored(ctx, kItem_zdmLock000InfoBitNupKind)) return true;
  if (value->value == 0) return false;
  if (Stored(ctx, kItem_zdmLock000InfoBitNupKindAll)) return true;
  if (!value->dependents) return true;
  return value->dependents->value == Stored(ctx, kItem_wdmLock003Info);
}

// The entry a setting lock fixes the item to: the first lock of the item whose bit is set and
// whose locked value is in the list.
const PjlValueEntry* LockedEntry(DriverContext* ctx, DWORD item, const PjlValueList* list) {
  const LockedValueRow* locks = TblGetLockedValueRows();
  for (DWORD i = 0; i < TblGetLockedValueRowCount(); ++i) {
    const LockedValueRow& lock = locks[i];
    if (lock.item == 0 || lock.item != item || !Stored(ctx, lock.lockBitItem)) continue;
    const LONG locked = Stored(ctx, lock.lockedValueItem);
    for (DWORD e = 0; e < list->count; ++e)
      if (list->entries[e].value == locked) return &list->entries[e];
  }
  return nullptr;
}

int Deliver(const DWORD* found, DWORD n, DWORD capacity, DWORD* values, DWORD* count) {
  *count = n;
  if (n == 0) return kAllowedListed;
  if (!values || capacity < n) return kAllowedCounted;
  memcpy(values, found, n * sizeof(DWORD));
  return kAllowedListed;
}

}  // namespace

const PjlVariable* PjlFindSetting(DriverContext* ctx, DWORD item, DWORD mode) {
  if (item == 0) return nullptr;
  const PjlSettingTable* table = TblGetPjlSettingTable();
  for (DWORD i = 0; i < table->count; ++i) {
    const PjlVariable* row = &table->rows[i];
    if (row->setting != item) continue;
    if (!(row->modes & mode)) return nullptr;
    if ((row->modes & kPjlModeOption) && !ItemTestCodedConditionList(ctx, row->requirement)) return nullptr;
    return row;
  }
  return nullptr;
}

int ItemTestConditionList(DriverContext* ctx, const ConditionTerm* first) { return TestList(ctx, first, PlainItem); }

int ItemTestCodedConditionList(DriverContext* ctx, const ConditionTerm* first) {
  return TestList(ctx, first, ItemOfFeatureCode);
}

int ItemTrialValue(DriverContext* ctx, const PjlVariable* row, const PjlValueEntry* value) {
  if (!row || !value) return 0;
  return ItemTestConditionList(ctx, value->requirement) && NupLockAllows(ctx, row, value) ? 1 : 0;
}

int ItemTrialAllowedValues(DriverContext* ctx, DWORD item, DWORD capacity, DWORD* values, DWORD* count,
                           BOOL excludeFlagged) {
  DWORD ignored = 0;
  if (!count) count = &ignored;
  *count = 0;
  const PjlVariable* row = PjlFindSetting(ctx, item, kPjlModeUpdate);
  const PjlValueList* list = ValueListOf(row);
  if (!list) return kAllowedListed;

  // A setting lock leaves one value, whatever its conditions and flags.
  if (const PjlValueEntry* locked = LockedEntry(ctx, item, list)) {
    const DWORD value = static_cast<DWORD>(locked->value);
    return Deliver(&value, 1, capacity, values, count);
  }

  DWORD* found = static_cast<DWORD*>(MemAllocZero(list->count * sizeof(DWORD)));
  if (!found) return kAllowedNoMemory;
  DWORD n = 0;
  for (DWORD e = 0; e < list->count; ++e) {
    const PjlValueEntry* entry = &list->entries[e];
    if (excludeFlagged && (entry->flags & kPjlValueDefault)) continue;
    if (ItemTrialValue(ctx, row, entry)) found[n++] = static_cast<DWORD>(entry->value);
  }
  const int result = Deliver(found, n, capacity, values, count);
  MemFree(found);
  return result;
}

int ItemListAllowedValues(DriverContext* ctx, DWORD item, DWORD capacity, DWORD* values, DWORD* count) {
  return ItemTrialAllowedValues(ctx, item, capacity, values, count, FALSE);
}

int ItemHasAllowedValue(DriverContext* ctx, DWORD item) {
  DWORD count = 0;
  ItemTrialAllowedValues(ctx, item, 0, nullptr, &count, TRUE);
  return count > 0 ? 1 : 0;
}

int ItemHasSortChoice(DriverContext* ctx) {
  DWORD values[2] = {};
  DWORD count = 0;
  const int result = ItemListAllowedValues(ctx, kItem_zdmSortType, 2, values, &count);
  if (result == kAllowedNoMemory || count == 0) return 0;
  return count > 1 || values[0] != 0 ? 1 : 0;
}
