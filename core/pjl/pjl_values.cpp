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

// What the item's storage holds without wrapping.
void ItemWidthBounds(const SettingItem* item, long long* low, long long* high) {
  switch (ItemDescType(item->descriptor)) {
    case ItemTypeS8: *low = -128; *high = 127; break;
    case ItemTypeS16: *low = -32768; *high = 32767; break;
    case ItemTypeU8: *low = 0; *high = 0xFF; break;
    case ItemTypeU16: *low = 0; *high = 0xFFFF; break;
    case ItemTypeS32: *low = -0x80000000LL; *high = 0x7FFFFFFF; break;
    default:
      if (ItemTypeIsBit(ItemDescType(item->descriptor))) {
        *low = 0;
        *high = 1;
      }
      break;
  }
}

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

bool PjlSettleNumber(DriverContext* ctx, const ModelItemDescriptor* desc, const char* word, LONG* value) {
  if (!desc || !word) return false;
  char* end = nullptr;
  long long n = strtoll(word, &end, 10);
  if (end == word || *end) return false;
  long long v = n;
  const NumericValueRecord* r = NumericOf(desc);
  const bool ranged = r && r->minimum <= r->maximum;
  if (r) {
    // Scaling works on the caller's number as far as 32 bits carry it; what lies beyond can
    // only end at the top of the range.
    LONG scaled = n < 0 ? -1
                        : PjlScaleIn(static_cast<LONG>(n > 0x7FFFFFFFLL ? 0x7FFFFFFFLL : n), r->numbers[4],
                                     r->numbers[5], DotsUnit(ctx, desc), Resolution(ctx));
    if (n < 0) v = ranged ? r->minimum : 0;
    else v = scaled < 0 ? (ranged ? r->maximum : 0x7FFFFFFFLL) : scaled;
    if (ranged) v = v < r->minimum ? r->minimum : v > r->maximum ? r->maximum : v;
  }
  // The item's own width last, so that a range wider than the item cannot wrap it. A value is
  // held as a LONG, so the unsigned 32-bit items stop at its top.
  long long low = 0, high = 0x7FFFFFFFLL;
  if (SettingItem* item = ItemFind(ctx, desc->itemId)) ItemWidthBounds(item, &low, &high);
  *value = static_cast<LONG>(v < low ? low : v > high ? high : v);
  return true;
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
      LONG settled = 0;
      return PjlSettleNumber(ctx, desc, word, &settled) ? settled : -1;
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
