// Lookups over the PJL variable table, the value words of stored values and the binding and
// booklet mapping.
#include <string.h>

#include "core/items/allowed_values.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/model/model_types.h"
#include "core/pjl/pjl_service.h"

namespace {

bool Present(ExcHandle* handle, DWORD id) {
  return handle && handle->present && id >= 1 && id <= kExcSlotCount && handle->present[id - 1];
}
LONG Held(ExcHandle* handle, DWORD id) { return handle->values[id - 1]; }

// Family offset of a zdmDuplexType value: 1 for the RIGHT values, 2 for the LEFT ones.
LONG FamilyOffset(LONG v) {
  if (v == 2 || v == 18 || v == 21) return 1;
  if (v == 3 || v == 19 || v == 22) return 2;
  return 0;
}

}  // namespace

const PjlValueList* PjlRowValues(const PjlVariable* row) {
  return row && (row->flags & kPjlFromList) ? static_cast<const PjlValueList*>(row->values) : nullptr;
}

const PjlVariable* PjlFindVariable(ExcHandle* handle, const char* name, DWORD modeMask) {
  if (!name) return nullptr;
  const PjlSettingTable* table = TblGetPjlSettingTable();
  for (DWORD i = 0; i < table->count; ++i) {
    const PjlVariable* row = &table->rows[i];
    if (strcmp(row->name, name) != 0) continue;
    if (!(row->modes & modeMask)) return nullptr;
    if ((row->modes & kPjlModeOption) && row->requirement &&
        !ItemTestCodedConditionList(handle ? handle->context : nullptr, row->requirement))
      return nullptr;
    return row;
  }
  return nullptr;
}

const PjlVariable* PjlFindVariableById(DWORD setting, DWORD modeMask, DriverContext* ctx) {
  (void)ctx;
  const PjlSettingTable* table = TblGetPjlSettingTable();
  for (DWORD i = 0; i < table->count; ++i) {
    const PjlVariable* row = &table->rows[i];
    if (row->setting == setting) return (row->modes & modeMask) ? row : nullptr;
  }
  return nullptr;
}

DWORD PjlFindAliasId(DWORD setting) {
  const PjlPairTable* pairs = TblGetPjlCarrierPairs();
  for (DWORD i = 0; i < pairs->count; ++i)
    if (static_cast<DWORD>(pairs->pairs[i].first) == setting) return static_cast<DWORD>(pairs->pairs[i].second);
  return 0;
}

const PjlValueEntry* PjlFindValueItem(DriverContext* ctx, const PjlVariable* row, const char* word) {
  const PjlValueList* list = PjlRowValues(row);
  if (!list || !word) return nullptr;
  const PjlValueEntry* first = nullptr;
  for (DWORD i = 0; i < list->count; ++i) {
    const PjlValueEntry* e = &list->entries[i];
    if (strcmp(e->word, word) != 0) continue;
    if (ItemTestConditionList(ctx, e->requirement)) return e;
    if (!first) first = e;
  }
  return first;
}

int PjlIsValueAllowed(DriverContext* ctx, const PjlVariable* row, const PjlValueEntry* item) {
  (void)row;
  if (!item || (item->flags & kPjlValueNeverOffered)) return 0;
  if ((item->flags & kPjlValueAlias) && !item->requirement) return 0;
  return ItemTestConditionList(ctx, item->requirement);
}

LONG PjlBindingValueToSetting(ExcHandle* handle, LONG value) {
  if (!Present(handle, kPjlBookletSetting)) return value;
  const PjlPairTable* map = TblGetPjlBindingMap();
  LONG booklet = Held(handle, kPjlBookletSetting);
  for (DWORD i = 0; i < map->count; ++i)
    if (map->pairs[i].first == booklet) return FamilyOffset(value) + map->pairs[i].second;
  return value;
}

void PjlSettingToBindingValue(ExcHandle* handle) {
  if (!Present(handle, kItem_zdmDuplexType) || !Present(handle, kPjlBookletSetting)) return;
  LONG w = Held(handle, kItem_zdmDuplexType);
  LONG base = w - FamilyOffset(w);
  const PjlPairTable* map = TblGetPjlBindingMap();
  for (DWORD i = 0; i < map->count; ++i)
    if (map->pairs[i].second == base) {
      handle->values[kPjlBookletSetting - 1] = map->pairs[i].first;
      return;
    }
}

const PjlValueEntry* PjlChooseValueItem(ExcHandle* handle, const PjlVariable* row, LONG value) {
  const PjlValueList* list = PjlRowValues(row);
  if (!list) return nullptr;
  for (DWORD i = 0; i < list->count; ++i) {
    const PjlValueEntry* e = &list->entries[i];
    if (e->value != value && !(e->flags & kPjlValueDefault)) continue;
    bool holds = true;
    for (const ConditionTerm* d = e->dependents; d && holds; d = d->next)
      if (Present(handle, d->item) && Held(handle, d->item) != d->value) holds = false;
    if (holds) return e;
  }
  return nullptr;
}

int PjlWriteVariable(TextBuffer* buffer, ExcHandle* handle, const PjlVariable* row, LONG value) {
  if (row->flags & kPjlByOptionCommand) {
    const ModelItemDescriptor* desc = PjlFindCommandNode(handle->context, row->setting, row->variant);
    if (!desc || !desc->commands) return 0;
    // A value without text would leave the line's value empty: no line rather than that.
    if (row->type == kPjlTypeNumber && PjlFormatNodeValue(handle->context, desc, value, row->type, 0, nullptr) <= 0)
      return 0;
    int keep = buffer->length;
    const OptionCommandPair* cmd = desc->commands;
    if ((cmd->first && PjlTextAppend(buffer, cmd->first) != 0) ||
        PjlAppendNodeValue(buffer, handle->context, desc, value, row->type) != 0 ||
        (cmd->second && PjlTextAppend(buffer, cmd->second) != 0)) {
      buffer->length = keep;
      if (buffer->data) buffer->data[keep] = 0;
      return -1;
    }
    return 0;
  }
  if (!(row->flags & kPjlFromList)) return 0;
  const PjlValueEntry* e = PjlChooseValueItem(handle, row, value);
  if (!e) return 0;
  if (PjlAppendSetLine(buffer, row->name, e->word) != 0) return -1;
  for (const PjlExtraLine* x = e->extraLines; x; x = x->next)
    if (PjlAppendSetLine(buffer, x->name, x->value) != 0) return -1;
  return 0;
}
