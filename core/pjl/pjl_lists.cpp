// Which words a variable may take, the printer's options and values, and the value trial.
#include <stdio.h>
#include <string.h>

#include <vector>

#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/devmode/item_couplings.h"
#include "core/items/allowed_values.h"
#include "core/items/item_access.h"
#include "core/model/model_types.h"
#include "core/pjl/pjl_service.h"

namespace {

// The settings block, the change flags and the handle's slots, taken back as they were.
class Saved {
 public:
  Saved(DriverContext* ctx, ExcHandle* handle) : ctx_(ctx), handle_(handle) {
    BYTE* block = CtxGetSettings(ctx);
    if (block) block_.assign(block, block + kSettingsBlockSize);
    flags_ = CtxGetChangeFlags(ctx);
    if (ctx->ui) modified_ = ctx->ui->modified;
    if (handle) {
      present_.assign(handle->present, handle->present + kExcSlotCount);
      values_.assign(handle->values, handle->values + kExcSlotCount);
    }
  }
  ~Saved() {
    BYTE* block = CtxGetSettings(ctx_);
    if (block && !block_.empty()) memcpy(block, block_.data(), block_.size());
    CtxAddChangeFlags(ctx_, 0);
    if (flags_) CtxAddChangeFlags(ctx_, flags_);
    if (ctx_->ui) ctx_->ui->modified = modified_;
    if (handle_) {
      memcpy(handle_->present, present_.data(), present_.size());
      memcpy(handle_->values, values_.data(), values_.size() * sizeof(LONG));
    }
  }
  Saved(const Saved&) = delete;
  Saved& operator=(const Saved&) = delete;

 private:
  DriverContext* ctx_;
  ExcHandle* handle_;
  std::vector<BYTE> block_;
  DWORD flags_ = 0;
  LONG modified_ = 0;
  std::vector<BYTE> present_;
  std::vector<LONG> values_;
};

// A list of NUL-terminated words with its final NUL. A list of words does not repeat a word;
// a list of numbers keeps each by its position (minimum, maximum and step may coincide).
class WordList {
 public:
  explicit WordList(bool positional = false) : positional_(positional) { ok_ = PjlTextInit(&text_) == 0; }
  ~WordList() { PjlTextFree(&text_); }
  void Add(const char* word) {
    if (!ok_) return;
    for (int at = 0; !positional_ && at < text_.length; at += static_cast<int>(strlen(text_.data + at)) + 1)
      if (strcmp(text_.data + at, word) == 0) return;
    if (PjlTextAppend(&text_, word) != 0) ok_ = false;
    else text_.length += 1;
  }
  bool ok() const { return ok_; }
  bool empty() const { return text_.length == 0; }
  int Give(int size, char* buffer, int* out) {
    if (!ok_) return -1;
    if (text_.length == 0) {
      if (out) *out = 0;
      return 0;
    }
    if (PjlTextAppendChar(&text_, 0) != 0) return -1;
    return PjlGiveText(text_.data, text_.length, size, buffer, out);
  }

 private:
  TextBuffer text_{};
  bool ok_ = false;
  bool positional_ = false;
};

const NumericValueRecord* NumericOf(const ModelItemDescriptor* desc) {
  if (!desc || ModelValueShapeOf(desc->type) != kModelShapeNumeric) return nullptr;
  return static_cast<const NumericValueRecord*>(desc->values);
}

}  // namespace

int PjlTryValue(ExcHandle* handle, const PjlVariable* row, const PjlValueEntry* item, LONG value, const char* text) {
  (void)value;
  (void)text;
  if (!handle || !handle->baseText || !handle->context || !row || !item) return 0;
  DriverContext* ctx = handle->context;
  if (!PjlIsValueAllowed(ctx, row, item)) return 0;
  Saved saved(ctx, handle);
  TextBuffer expected{}, written{}, diff{};
  int result = 0;
  if (PjlTextInit(&expected) == 0 && PjlTextInit(&written) == 0 && PjlTextInit(&diff) == 0) {
    // What an update of the variable to this word runs.
    PjlApplyVariable(handle, row, row->name, item->word, 1);
    PjlAppendSetLine(&expected, row->name, item->word);
    ItemApplyCouplings(ctx);
    PjlReadBackValues(handle);
    if (PjlWriteAllVariables(&written, handle) == 0 &&
        PjlDiffBase(&diff, handle->baseText, written.data, expected.data, handle) == 0)
      result = diff.length == 0 ? 1 : 0;
  }
  PjlTextFree(&expected);
  PjlTextFree(&written);
  PjlTextFree(&diff);
  return result;
}

LONG PjlResolveNumber(DriverContext* ctx, const PjlVariable* row, LONG value) {
  if (!ctx || !row || !(row->flags & (kPjlFromList | kPjlByOptionCommand)) || row->setting > kExcLastItemSlot)
    return value;
  Saved saved(ctx, nullptr);
  const WORD id = static_cast<WORD>(row->setting);
  if (row->flags & kPjlByOptionCommand) ItemSetValueById(ctx, id, value);
  else ItemSetRawById(ctx, id, value);
  ItemApplyCouplings(ctx);
  return static_cast<LONG>(ItemGetRawById(ctx, id));
}

int ExcServiceGetCommandValue(ExcHandle* handle, const char* name, int allowedOnly, int size, char* buffer,
                              int* length) {
  if (!handle) return -1;
  if (length) *length = 0;
  const PjlVariable* row = PjlFindVariable(handle, name, kPjlModeUpdate);
  if (!row || !handle->context || (allowedOnly && !PjlHasDependencies(handle, row))) return 0;
  DriverContext* ctx = handle->context;
  WordList words(row->type == kPjlTypeNumber);
  if (row->type == kPjlTypeList) {
    const PjlValueList* list = PjlRowValues(row);
    for (DWORD i = 0; list && i < list->count; ++i) {
      const PjlValueEntry* e = &list->entries[i];
      if (!allowedOnly) {
        if (e->flags & kPjlValueAlias) continue;
        if ((row->modes & kPjlModeOption) && !ItemTestConditionList(ctx, e->requirement)) continue;
      } else {
        if ((e->flags & kPjlValueAlias) && !e->requirement) continue;
        if (!PjlTryValue(handle, row, e, e->value, e->word)) continue;
      }
      words.Add(e->word);
    }
  } else if (row->type == kPjlTypeNumber) {
    const PjlNumberRecord* record = (row->flags & kPjlFromList) ? nullptr : static_cast<const PjlNumberRecord*>(row->values);
    const ModelItemDescriptor* desc = PjlFindCommandNode(ctx, row->setting, row->variant);
    const NumericValueRecord* numeric = NumericOf(desc);
    bool offered = !allowedOnly || !record || ItemTestConditionList(ctx, record->requirement);
    if (offered && desc && numeric) {
      LONG numbers[3] = {numeric->minimum, numeric->maximum, static_cast<LONG>(numeric->numbers[3])};
      if (allowedOnly) {
        numbers[0] = PjlResolveNumber(ctx, row, numbers[0]);
        numbers[1] = PjlResolveNumber(ctx, row, numbers[1]);
      }
      for (LONG n : numbers) {
        char text[32] = {};
        if (PjlFormatNodeValue(ctx, desc, n, kPjlTypeNumber, sizeof(text), text) <= 0)
          snprintf(text, sizeof(text), "%ld", static_cast<long>(n));
        words.Add(text);
      }
    }
  }
  return words.Give(size, buffer, length);
}

int ExcServiceGetPrinterOption(ExcHandle* handle, const char* name, int size, char* buffer, int* length) {
  if (!handle) return -1;
  if (length) *length = 0;
  const PjlVariable* row = PjlFindVariable(handle, name, kPjlModeOption);
  const PjlValueList* list = PjlRowValues(row);
  if (!list || !list->count || !handle->context) return 0;
  WordList words;
  for (DWORD i = 0; i < list->count; ++i)
    if (PjlIsValueAllowed(handle->context, row, &list->entries[i])) words.Add(list->entries[i].word);
  return words.Give(size, buffer, length);
}

int ExcServiceGetPrinterValue(ExcHandle* handle, const char* name, int size, char* buffer, int* length) {
  if (!handle) return -1;
  if (length) *length = 0;
  const PjlVariable* row = PjlFindVariable(handle, name, kPjlModeValue);
  DriverContext* ctx = handle->context;
  if (!row || !ctx || !ItemTestConditionList(ctx, row->dependencies) || row->setting > 0xFFFF) return 0;
  const WORD id = static_cast<WORD>(row->setting);
  char text[kPjlTokenSize + 4] = {};
  int need = 0;
  if (row->flags & kPjlByOptionCommand) {
    const ModelItemDescriptor* desc = PjlFindCommandNode(ctx, id, row->variant);
    need = desc ? PjlFormatNodeValue(ctx, desc, ItemGetValueById(ctx, id), row->type, sizeof(text), text) : 0;
    if (need > static_cast<int>(sizeof(text))) need = 0;
  } else if (const PjlValueList* list = PjlRowValues(row)) {
    LONG stored = static_cast<LONG>(ItemGetRawById(ctx, id));
    for (DWORD i = 0; i < list->count; ++i)
      if (list->entries[i].value == stored) {
        snprintf(text, sizeof(text), "%s", list->entries[i].word);
        need = static_cast<int>(strlen(text)) + 1;
        break;
      }
  }
  return PjlGiveText(text, need, size, buffer, length);
}

int PjlListSettingWords(DriverContext* ctx, DWORD setting, int size, char* buffer, int* length) {
  if (length) *length = 0;
  const PjlVariable* row = PjlFindSetting(ctx, setting, kPjlModeUpdate | kPjlModeOption);
  const PjlValueList* list = PjlRowValues(row);
  if (!list || !list->count) return 0;
  WordList words;
  for (DWORD i = 0; i < list->count; ++i)
    if (ItemTrialValue(ctx, row, &list->entries[i])) words.Add(list->entries[i].word);
  return words.Give(size, buffer, length);
}
