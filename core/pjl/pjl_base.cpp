// The command base: lines applied to the settings, the engine's coupling pass, the lines the
// rules changed and the rebuilt base.
#include <string.h>

#include "core/common/mem.h"
#include "core/devmode/item_couplings.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/model/model_types.h"
#include "core/pjl/pjl_service.h"
#include "core/rules/transacts.h"

namespace {

bool Present(ExcHandle* h, DWORD id) { return id >= 1 && id <= kExcSlotCount && h->present[id - 1]; }

void RunTransacts(ExcHandle* h, DWORD id) {
  ModelRunItemTransacts(PjlFindCommandNode(h->context, id, 0), h->context);
}

// Whether text holds a line named name; its value into value.
bool FindLine(const char* text, const char* name, char* value) {
  value[0] = 0;
  if (!text) return false;
  char n[kPjlTokenSize], v[kPjlTokenSize];
  for (const char* p = text; PjlNextSetLine(&p, n, v);) {
    if (strcmp(n, name) == 0) {
      memcpy(value, v, strlen(v) + 1);
      return true;
    }
  }
  return false;
}

char* CopyText(const char* data, int length) {
  char* copy = static_cast<char*>(MemAllocZero(static_cast<SIZE_T>(length) + 1));
  if (copy && length) memcpy(copy, data, static_cast<size_t>(length));
  return copy;
}

// A present list variable whose value has no word.
bool SettledWithoutWord(ExcHandle* h, const char* name) {
  if (!h) return false;
  const PjlVariable* row = PjlFindVariable(h, name, kPjlModeUpdate);
  return row && (row->flags & kPjlFromList) && Present(h, row->setting) &&
         !PjlChooseValueItem(h, row, h->values[row->setting - 1]);
}

}  // namespace

int PjlStoreValue(ExcHandle* handle, DWORD id, LONG value) {
  if (id < 1 || id > kExcSlotCount) return -1;
  handle->present[id - 1] = 1;
  handle->values[id - 1] = value;
  return 0;
}

int PjlValueDiffers(ExcHandle* handle, DWORD id, LONG value) {
  if (id < 1 || id > kExcSlotCount) return 0;
  return !handle->present[id - 1] || handle->values[id - 1] != value ? 1 : 0;
}

int PjlHasDependencies(ExcHandle* handle, const PjlVariable* row) {
  if (!handle || !row || !Present(handle, row->setting)) return 0;
  for (const ConditionTerm* d = row->dependencies; d; d = d->next)
    if (!Present(handle, d->item)) return 0;
  return 1;
}

void PjlReadBackValues(ExcHandle* handle) {
  for (DWORD id = 1; id <= kExcLastItemSlot; ++id)
    if (handle->present[id - 1])
      handle->values[id - 1] = static_cast<LONG>(ItemGetRawById(handle->context, static_cast<WORD>(id)));
  PjlSettingToBindingValue(handle);
}

void PjlSetVariable(ExcHandle* handle, DWORD id, LONG value, int update) {
  if (!update) {
    PjlStoreValue(handle, id, value);
    if (id <= kExcLastItemSlot) ItemSetRawById(handle->context, static_cast<WORD>(id), value);
    return;
  }
  if (!PjlValueDiffers(handle, id, value)) return;
  PjlStoreValue(handle, id, value);
  if (id > kExcLastItemSlot) return;
  ItemSetRawById(handle->context, static_cast<WORD>(id), value);
  RunTransacts(handle, id);
  PjlReadBackValues(handle);
}

int PjlApplyVariable(ExcHandle* handle, const PjlVariable* row, const char* name, const char* word, int update) {
  (void)name;
  DriverContext* ctx = handle->context;
  const DWORD id = row->setting;
  if (row->flags & kPjlByOptionCommand) {
    const ModelItemDescriptor* desc = PjlFindCommandNode(ctx, id, row->variant);
    if (!desc || id > kExcLastItemSlot) return 0;
    LONG_PTR value = PjlParseNodeValue(ctx, desc, row->type, word);
    if (row->type == kPjlTypeText) {
      WCHAR wide[kPjlTokenSize] = {};
      MultiByteToWideChar(CP_ACP, 0, word, -1, wide, kPjlTokenSize - 1);
      if (SettingItem* item = ItemFind(ctx, static_cast<WORD>(id))) ItemSetText(ctx, item, wide);
    } else {
      if (row->type == kPjlTypeNumber) {
        LONG settled = 0;
        if (!PjlSettleNumber(ctx, desc, word, &settled)) return 0;  // not a number: left as it was
        value = settled;
      }
      ItemSetValueById(ctx, static_cast<WORD>(id), value);
    }
    LONG stored = static_cast<LONG>(ItemGetRawById(ctx, static_cast<WORD>(id)));
    bool changed = PjlValueDiffers(handle, id, stored) != 0;
    PjlStoreValue(handle, id, stored);
    if (update && changed) {
      RunTransacts(handle, id);
      PjlReadBackValues(handle);
    }
    return 0;
  }
  const PjlValueEntry* item = PjlFindValueItem(ctx, row, word);
  if (!item) return 0;
  for (const ConditionTerm* d = item->dependents; d; d = d->next) PjlSetVariable(handle, d->item, d->value, update);
  if (item->flags & kPjlValueDefault) {
    if (id <= kExcLastItemSlot) PjlStoreValue(handle, id, static_cast<LONG>(ItemGetRawById(ctx, static_cast<WORD>(id))));
    return 0;
  }
  LONG value = item->value;
  if ((row->flags & (kPjlBindingMapping | kPjlMapped)) == (kPjlBindingMapping | kPjlMapped))
    value = PjlBindingValueToSetting(handle, value);
  PjlSetVariable(handle, id, value, update);
  if ((row->flags & (kPjlBookletMapping | kPjlMapped)) == (kPjlBookletMapping | kPjlMapped) &&
      Present(handle, kItem_zdmDuplexType))
    PjlSetVariable(handle, kItem_zdmDuplexType,
                   PjlBindingValueToSetting(handle, static_cast<LONG>(ItemGetRawById(ctx, kItem_zdmDuplexType))), update);
  return 0;
}

int PjlCheckMandatory(ExcHandle* handle) {
  const PjlIdTable* ids = TblGetPjlMandatory();
  for (DWORD i = 0; i < ids->count; ++i)
    if (!Present(handle, ids->ids[i])) return -1;
  return 0;
}

int PjlWriteAllVariables(TextBuffer* buffer, ExcHandle* handle) {
  BYTE written[kExcSlotCount] = {};
  for (DWORD id = 1; id <= kExcSlotCount; ++id) {
    if (!handle->present[id - 1]) continue;
    const PjlVariable* row = PjlFindVariableById(id, kPjlModeUpdate, handle->context);
    if (!row) {
      DWORD carrier = PjlFindAliasId(id);
      row = carrier ? PjlFindVariableById(carrier, kPjlModeUpdate, handle->context) : nullptr;
    }
    if (!row || row->setting < 1 || row->setting > kExcSlotCount || written[row->setting - 1]) continue;
    written[row->setting - 1] = 1;
    if (PjlWriteVariable(buffer, handle, row, handle->values[row->setting - 1]) != 0) return -1;
  }
  return PjlTextReserve(buffer, 1);
}

int PjlDiffBase(TextBuffer* buffer, const char* base, const char* newText, const char* expected, ExcHandle* handle) {
  if (!base) base = "";
  char k[kPjlTokenSize], v[kPjlTokenSize], b[kPjlTokenSize], e[kPjlTokenSize];
  for (const char* p = newText ? newText : ""; PjlNextSetLine(&p, k, v);) {
    PjlFindLineValue(base, k, b);
    if (!b[0]) continue;
    if (!expected || !FindLine(expected, k, e)) memcpy(e, b, sizeof(e));
    if (strcmp(v, e) != 0 && PjlAppendSetLine(buffer, k, v) != 0) return -1;
  }
  if (!handle) return 0;
  // Base variables that settled on a value without a word: reported once, with no value.
  for (const char* p = base; PjlNextSetLine(&p, k, b);) {
    if (!b[0] || FindLine(newText, k, v) || !SettledWithoutWord(handle, k)) continue;
    if (buffer->data && buffer->length && FindLine(buffer->data, k, v)) continue;
    if (PjlAppendSetLine(buffer, k, "") != 0) return -1;
  }
  return 0;
}

int PjlRebuildBase(TextBuffer* buffer, ExcHandle* handle, const char* base, const char* newText, const char* update) {
  char k[kPjlTokenSize], v[kPjlTokenSize], n[kPjlTokenSize];
  for (const char* p = base ? base : ""; PjlNextSetLine(&p, k, v);) {
    if (FindLine(newText, k, n)) {
      if (PjlAppendSetLine(buffer, k, n) != 0) return -1;
    } else if (update && !SettledWithoutWord(handle, k) && PjlFindVariable(handle, k, kPjlModeUpdate)) {
      if (!FindLine(update, k, n)) memcpy(n, v, sizeof(n));
      if (PjlAppendSetLine(buffer, k, n) != 0) return -1;
    }
  }
  return 0;
}

int PjlBuildChanges(ExcHandle* handle, const char* update) {
  ItemApplyCouplings(handle->context);
  PjlReadBackValues(handle);
  TextBuffer buffer;
  if (PjlTextInit(&buffer) != 0) return -1;
  if (PjlWriteAllVariables(&buffer, handle) != 0) {
    PjlTextFree(&buffer);
    return -1;
  }
  char* newText = CopyText(buffer.data, buffer.length);
  if (!newText) {
    PjlTextFree(&buffer);
    return -1;
  }
  buffer.length = 0;
  buffer.data[0] = 0;
  const char* base = handle->baseText ? handle->baseText : "";
  int result = 0;
  if (PjlDiffBase(&buffer, base, newText, update, handle) != 0) result = -1;
  if (result == 0 && buffer.length > 0) {
    char* change = CopyText(buffer.data, buffer.length);
    if (!change) {
      result = -1;
    } else {
      ExcDropChange(handle);
      handle->changeText = change;
      handle->changeLength = buffer.length + 1;
      result = 1;
    }
  }
  if (result >= 0) {
    buffer.length = 0;
    buffer.data[0] = 0;
    if (PjlRebuildBase(&buffer, handle, base, newText, update) != 0) {
      result = -1;
    } else {
      char* rebuilt = buffer.length ? CopyText(buffer.data, buffer.length) : nullptr;
      if (buffer.length && !rebuilt) {
        result = -1;
      } else {
        MemFree(handle->baseText);
        handle->baseText = rebuilt;
        handle->baseLength = rebuilt ? buffer.length + 1 : 0;
      }
    }
  }
  MemFree(newText);
  PjlTextFree(&buffer);
  return result;
}

int PjlGiveText(const char* text, int length, int size, char* buffer, int* out) {
  if (out) *out = length;
  if (length <= 0) return 0;
  if (!buffer || size < length) return 1;
  memcpy(buffer, text, static_cast<size_t>(length));
  return 0;
}

int PjlSetBaseLines(ExcHandle* handle, const char* text) {
  if (!text) return -2;
  char name[kPjlTokenSize], value[kPjlTokenSize];
  for (const char* p = text;;) {
    int used = PjlParseSetLine(p, name, value);
    if (used < 0) return -1;
    if (used == 0) break;
    p += used;
    if (const PjlVariable* row = PjlFindVariable(handle, name, kPjlModeUpdate | kPjlModeOption))
      PjlApplyVariable(handle, row, name, value, 0);
  }
  if (PjlCheckMandatory(handle) != 0) return -2;
  size_t n = strlen(text);
  handle->baseText = n < 0x3FFFFFFF ? CopyText(text, static_cast<int>(n)) : nullptr;
  if (!handle->baseText) return -1;
  handle->baseLength = static_cast<int>(n) + 1;
  return PjlBuildChanges(handle, nullptr);
}

int PjlUpdateLine(ExcHandle* handle, const char* text) {
  char name[kPjlTokenSize], value[kPjlTokenSize];
  int used = PjlParseSetLine(text, name, value);
  if (used <= 0) return used;
  const PjlVariable* row = PjlFindVariable(handle, name, kPjlModeUpdate);
  if (!row || !PjlHasDependencies(handle, row)) return 0;
  char* line = CopyText(text, used);
  if (!line) return -1;
  PjlApplyVariable(handle, row, name, value, 1);
  int result = PjlBuildChanges(handle, line);
  MemFree(line);
  return result;
}

int ExcServiceSetCommandBase(ExcHandle* handle, const char* text, int* changeLength) {
  if (!handle) return -1;
  if (changeLength) *changeLength = 0;
  if (ExcReset(handle, 1) != 0) return -1;
  if (!text) return -2;
  int result = PjlSetBaseLines(handle, text);
  // A refused base, a line that does not parse or a failure after the engine ran: the handle
  // starts again from the printer's stored settings, so slots, settings and base agree.
  if (result < 0) ExcReset(handle, 1);
  if (changeLength) *changeLength = handle->changeLength;
  return result;
}

int ExcServiceUpdateCommand(ExcHandle* handle, const char* text, int* changeLength) {
  if (!handle || !handle->context) return -1;
  if (!text) return 0;
  if (changeLength) *changeLength = 0;
  ExcDropChange(handle);
  int result = PjlUpdateLine(handle, text);
  // -1 from the parse leaves everything as it was; after the engine ran it resets the handle.
  if (result < 0 && handle->baseText) {
    char name[kPjlTokenSize], value[kPjlTokenSize];
    if (PjlParseSetLine(text, name, value) > 0) ExcReset(handle, 1);
  }
  if (changeLength) *changeLength = handle->changeLength;
  return result;
}

int ExcServiceGetCommandBase(ExcHandle* handle, int size, char* buffer, int* length) {
  if (!handle) return -1;
  return PjlGiveText(handle->baseText, handle->baseLength, size, buffer, length);
}

int ExcServiceGetCommandChange(ExcHandle* handle, int size, char* buffer, int* length) {
  if (!handle) return -1;
  int result = PjlGiveText(handle->changeText, handle->changeLength, size, buffer, length);
  if (result == 0 && handle->changeLength > 0) ExcDropChange(handle);
  return result;
}
