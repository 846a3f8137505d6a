#include "core/model/model_lookup.h"

#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/model/model_parser.h"
#include "core/model/model_types.h"
#include "core/rules/judge_eval.h"
#include "core/rules/model_rules.h"

const ModelImageHeader* ModelImageOfContext(const DriverContext* ctx) {
  return ctx ? reinterpret_cast<const ModelImageHeader*>(ctx->modelImage) : nullptr;
}

namespace {

ModelImageHeader* Image(DriverContext* ctx) { return const_cast<ModelImageHeader*>(ModelImageOfContext(ctx)); }

bool IsListType(WORD type) { return (type & 0x03) != 0; }

}  // namespace

const ModelItemDescriptor* ModelFindDescriptor(WORD id, DriverContext* ctx) {
  ModelImageHeader* image = Image(ctx);
  if (!image || id == 0) return nullptr;
  if (ModelItemDescriptor** slot = ModelHeaderSlot(image, id)) return *slot;
  for (const ModelItemDescriptor* d = image->descriptors; d; d = d->next)
    if (d->itemId == id) return d;
  return nullptr;
}

WORD ModelGetItemType(WORD id, DriverContext* ctx) {
  return static_cast<WORD>(ModelGetItemRawType(id, ctx) & ~kModelTypeFlags);
}

WORD ModelGetItemRawType(WORD id, DriverContext* ctx) {
  const ModelItemDescriptor* d = ModelFindDescriptor(id, ctx);
  return d ? d->type : 0;
}

LONG_PTR ModelGetItemDefault(WORD id, DriverContext* ctx) {
  return ModelDescriptorDefault(ModelFindDescriptor(id, ctx));
}

const void* ModelGetValueList(WORD id, DriverContext* ctx, WORD* defaultIndex) {
  const ModelItemDescriptor* d = ModelFindDescriptor(id, ctx);
  if (!d) return nullptr;
  if (defaultIndex && (d->type & ~kModelTypeFlags & 1)) *defaultIndex = d->defaultValue;
  return d->values;
}

LONG ModelValueListLength(const void* first) {
  LONG n = 0;
  for (const ListValueRecord* r = static_cast<const ListValueRecord*>(first); r; r = r->next) ++n;
  return n;
}

LONG ModelGetValueCount(WORD id, DriverContext* ctx) {
  const ModelItemDescriptor* d = ModelFindDescriptor(id, ctx);
  if (!d) return -1;
  switch (ModelValueShapeOf(d->type)) {
    case kModelShapeList: case kModelShapePage: case kModelShapeSlot: case kModelShapeFontTable:
      return ModelValueListLength(d->values);
    default:
      return 0;
  }
}

const ModelItemDescriptor* ModelFindEnabledVariant(DriverContext* ctx, WORD id, DWORD testFlags) {
  const ModelItemDescriptor* slot = ModelFindDescriptor(id, ctx);
  if (!slot || !(testFlags & (kModelTestDisabled | kModelTestRestricted))) return slot;
  auto anyHolds = [&](const ModelItemDescriptor* d) {
    if ((testFlags & kModelTestDisabled) && ModelIsValueDisabled(d, 0, ctx)) return true;
    if ((testFlags & kModelTestRestricted) && ModelIsValueRestricted(d, 0, ctx)) return true;
    return false;
  };
  if (!anyHolds(slot)) return slot;
  for (const ModelItemDescriptor* d = Image(ctx)->descriptors; d; d = d->next)
    if (d->itemId == id && d->variant == 0 && !anyHolds(d)) return d;
  return nullptr;
}

const ModelItemDescriptor* ModelGetDescriptor(WORD id, DriverContext* ctx) {
  if (id != kItem_zdmPaperFreeSizeWidth && id != kItem_zdmPaperFreeSizeLength) return ModelFindDescriptor(id, ctx);
  SettingItem* inputType = ItemFind(ctx, kItem_wdmInputFreeSizeType);
  if (!inputType || !ctx->ui) return ModelFindEnabledVariant(ctx, id, kModelTestDisabled);
  // The description is chosen as if the input size were edited. Both writes mark the item
  // changed, as a setter would; the context's modified flag and change flags are put back so
  // that a read does not look like the user's change.
  const LONG modified = ctx->ui->modified;
  const DWORD changeFlags = ctx->ui->changeFlags;
  const LONG_PTR previous = ItemGetRaw(ctx, inputType);
  ItemSetRaw(ctx, inputType, 1);
  const ModelItemDescriptor* d = ModelFindEnabledVariant(ctx, id, kModelTestDisabled);
  ItemSetRaw(ctx, inputType, previous);
  ctx->ui->modified = modified;
  ctx->ui->changeFlags = changeFlags;
  return d;
}

const ModelItemDescriptor* ModelGetDescriptorAt(DriverContext* ctx, int row) {
  if (!ctx || !ctx->items || row < 0 || row >= ctx->items->count) return nullptr;
  return ModelGetDescriptor(ctx->items->rows[row].id, ctx);
}

const ModelItemDescriptor* ModelFindDescriptorBySymbol(WORD symbol, DriverContext* ctx) {
  const ModelImageHeader* image = ModelImageOfContext(ctx);
  if (!image) return nullptr;
  for (const ModelItemDescriptor* d = image->descriptors; d; d = d->next)
    if (d->symbolId == symbol) return d;
  return nullptr;
}

const ModelItemDescriptor* ModelGetDescriptorBySymbol(WORD symbol, DriverContext* ctx) {
  return ModelFindDescriptorBySymbol(symbol, ctx);
}

const ModelItemDescriptor* ModelDescriptorOf(DriverContext* ctx, WORD symbol) {
  return ModelFindDescriptorBySymbol(symbol, ctx);
}

const ExclusiveRecord* ModelFindExclusive(WORD symbol, DriverContext* ctx) {
  const ModelImageHeader* image = ModelImageOfContext(ctx);
  if (!image) return nullptr;
  for (const ExclusiveRecord* e = image->exclusives; e; e = e->next)
    if (e->symbolId == symbol) return e;
  return nullptr;
}

const WCHAR* ModelGetUiResDllName(DriverContext* ctx) {
  const ModelImageHeader* image = ModelImageOfContext(ctx);
  return image ? image->uiResDllName : nullptr;
}

WORD ModelChoiceValue(const ModelItemDescriptor* desc, const void* choice, const ValueRule** rule) {
  if (rule) *rule = nullptr;
  if (!desc || !choice || !IsListType(desc->type)) return 0;
  const WORD value = static_cast<const ListValueRecord*>(choice)->valueId;
  if (rule) *rule = ModelFindValueRule(desc->exclusive, value);
  return value;
}

const void* ModelNextChoice(const ModelItemDescriptor* desc, const void* choice) {
  if (!desc || !choice || !IsListType(desc->type)) return nullptr;
  return static_cast<const ListValueRecord*>(choice)->next;
}

int ModelIsSymbolDisabled(DriverContext* ctx, WORD symbol) {
  return ModelIsValueDisabled(ModelDescriptorOf(ctx, symbol), 0, ctx) ? 1 : 0;
}

int ModelIsDescriptorDisabled(DriverContext* ctx, const ModelItemDescriptor* desc, WORD value) {
  if (!desc) return 0;
  if (ModelIsValueDisabled(desc, 0, ctx)) return 1;
  if (!IsListType(desc->type) || value == 0) return 0;
  return ModelIsValueDisabled(desc, value, ctx) ? 1 : 0;
}
