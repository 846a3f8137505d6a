// A single value turned into text and back, through the value list of the variable table or
// through the option command of the setting's item descriptor in the model description.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/model/model_lookup.h"
#include "core/model/model_types.h"
#include "core/pjl/pjl_service.h"

namespace {

bool IsList(WORD type) { return (type & 0x03) != 0; }

// The word of a list record: every list shape keeps it after {next, value, reserved}.
const char* ChoiceWord(const void* choice) { return static_cast<const ListValueRecord*>(choice)->command; }

const NumericValueRecord* NumericOf(const ModelItemDescriptor* desc) {
  if (!desc || ModelValueShapeOf(desc->type) != kModelShapeNumeric) return nullptr;
  return static_cast<const NumericValueRecord*>(desc->values);
}

bool DotsUnit(DriverContext* ctx, const ModelItemDescriptor* desc) {
  SettingItem* item = ItemFind(ctx, desc->itemId);
  return item && ItemUnitKindOf(item) == ItemUnitDotsAtResolution;
}

DWORD Resolution(DriverContext* ctx) { return static_cast<DWORD>(ItemGetRawById(ctx, kItem_zdmDstResolutionW)); }

int Put(const char* text, int capacity, char* destination) {
  int need = static_cast<int>(strlen(text)) + 1;
  if (destination && capacity >= need) memcpy(destination, text, static_cast<size_t>(need));
  return need;
}

}  // namespace

const ModelItemDescriptor* PjlFindCommandNode(DriverContext* ctx, DWORD setting, DWORD variant) {
  const ModelImageHeader* image = ModelImageOfContext(ctx);
  if (!image) return nullptr;
  const ModelItemDescriptor *lastVariant = nullptr, *first = nullptr;
  for (const ModelItemDescriptor* d = image->descriptors; d; d = d->next) {
    if (d->itemId != setting) continue;
    if (!first) first = d;
    if (d->variant != variant) continue;
    if (d->commands) return d;
    lastVariant = d;
  }
  return lastVariant ? lastVariant : first;
}

LONG PjlScaleIn(LONG number, DWORD c, DWORD s, bool dotsUnit, DWORD resolution) {
  if (number < 0) return -1;
  if (number == 0 || c == 0 || s == 0 || (dotsUnit && resolution == 0)) return number;
  long long v = static_cast<long long>(number) * s;
  if (dotsUnit) v = v * 1200 / (static_cast<long long>(c) * resolution);
  else v /= c;
  if (v > 0x7FFFFFFFLL) return -1;
  return v == 0 ? 1 : static_cast<LONG>(v);
}

LONG PjlScaleOut(LONG value, DWORD c, DWORD s, bool dotsUnit, DWORD resolution) {
  if (value < 0) return -1;
  if (value == 0 || c == 0 || s == 0 || (dotsUnit && resolution == 0)) return value;
  long long v = static_cast<long long>(value) * c;
  if (dotsUnit) v = v * resolution / (static_cast<long long>(s) * 1200);
  else v /= s;
  if (v > 0x7FFFFFFFLL) return -1;
  return v == 0 ? 1 : static_cast<LONG>(v);
}

LONG_PTR PjlParseNodeValue(DriverContext* ctx, const ModelItemDescriptor* desc, DWORD type, const char* word) {
  if (!desc || !word) return 0;
  switch (type) {
    case kPjlTypeList:
      if (IsList(desc->type))
        for (const void* c = desc->values; c; c = ModelNextChoice(desc, c)) {
          const char* w = ChoiceWord(c);
          if (w && strcmp(w, word) == 0) return ModelChoiceValue(desc, c, nullptr);
        }
      return 0;
    case kPjlTypeTwoState: {
      const BooleanValueRecord* b = ModelValueShapeOf(desc->type) == kModelShapeBoolean
                                        ? static_cast<const BooleanValueRecord*>(desc->values)
                                        : nullptr;
      return b && b->trueCommand && strcmp(b->trueCommand, word) == 0 ? 1 : 0;
    }
    case kPjlTypeNumber: {
      char* end = nullptr;
      long long n = strtoll(word, &end, 10);
      if (end == word || *end || n < 0 || n > 0x7FFFFFFFLL) return -1;
      const NumericValueRecord* r = NumericOf(desc);
      if (!r) return static_cast<LONG>(n);
      return PjlScaleIn(static_cast<LONG>(n), r->numbers[4], r->numbers[5], DotsUnit(ctx, desc), Resolution(ctx));
    }
    case kPjlTypeText:
      return reinterpret_cast<LONG_PTR>(word);
  }
  return 0;
}

int PjlFormatNodeValue(DriverContext* ctx, const ModelItemDescriptor* desc, LONG_PTR value, DWORD type,
                       int capacity, char* destination) {
  if (!desc) return 0;
  switch (type) {
    case kPjlTypeList:
      if (IsList(desc->type))
        for (const void* c = desc->values; c; c = ModelNextChoice(desc, c))
          if (ModelChoiceValue(desc, c, nullptr) == static_cast<WORD>(value)) {
            const char* w = ChoiceWord(c);
            return w ? Put(w, capacity, destination) : 0;
          }
      return 0;
    case kPjlTypeTwoState: {
      const BooleanValueRecord* b = ModelValueShapeOf(desc->type) == kModelShapeBoolean
                                        ? static_cast<const BooleanValueRecord*>(desc->values)
                                        : nullptr;
      const char* w = b ? (value ? b->trueCommand : b->falseCommand) : nullptr;
      return w ? Put(w, capacity, destination) : 0;
    }
    case kPjlTypeNumber: {
      LONG v = static_cast<LONG>(value);
      if (const NumericValueRecord* r = NumericOf(desc))
        v = PjlScaleOut(v, r->numbers[4], r->numbers[5], DotsUnit(ctx, desc), Resolution(ctx));
      if (v < 0) return 0;
      char text[16];
      snprintf(text, sizeof(text), "%ld", static_cast<long>(v));
      return Put(text, capacity, destination);
    }
    case kPjlTypeText: {
      SettingItem* item = ItemFind(ctx, desc->itemId);
      if (!item || !ItemTypeIsText(ItemDescType(item->descriptor))) return 0;
      UINT size = ItemDescSize(item->descriptor);
      char narrow[kPjlTokenSize] = {};
      if (ItemTypeIsWideText(ItemDescType(item->descriptor))) {
        WCHAR wide[kPjlTokenSize] = {};
        ItemGetTextBounded(ctx, item, wide, kPjlTokenSize);
        WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, kPjlTokenSize - 1, nullptr, nullptr);
      } else {
        const char* stored = reinterpret_cast<const char*>(ItemGetRaw(ctx, item));
        if (stored) {
          UINT n = 0;
          while (n < size && n < kPjlTokenSize - 1 && stored[n]) ++n;
          memcpy(narrow, stored, n);
        }
      }
      // Quotes, line ends and other control bytes would break the written line.
      char quoted[kPjlTokenSize + 2] = "\"";
      int n = 1;
      for (const char* p = narrow; *p; ++p)
        if (static_cast<BYTE>(*p) >= 0x20 && *p != '"' && *p != 0x7F) quoted[n++] = *p;
      if (n == 1) return 0;
      quoted[n++] = '"';
      quoted[n] = 0;
      return Put(quoted, capacity, destination);
    }
  }
  return 0;
}

int PjlAppendNodeValue(TextBuffer* buffer, DriverContext* ctx, const ModelItemDescriptor* desc, LONG_PTR value,
                       DWORD type) {
  int need = PjlFormatNodeValue(ctx, desc, value, type, 0, nullptr);
  if (need <= 0) return 0;
  if (PjlTextReserve(buffer, need) != 0) return -1;
  PjlFormatNodeValue(ctx, desc, value, type, buffer->capacity - buffer->length, buffer->data + buffer->length);
  buffer->length += need - 1;
  return 0;
}
