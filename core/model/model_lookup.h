// Lookups of the model description held by a driver context. A context without a model
// description answers as for a missing descriptor everywhere.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

struct ExclusiveRecord;
struct ModelImageHeader;
struct ModelItemDescriptor;
struct ValueRule;

// The context's fixed-up image, or null.
const ModelImageHeader* ModelImageOfContext(const DriverContext* ctx);

// The item's descriptor: null for id 0; for ids 1-1543 and 10001-10434 the slot of the header
// (an empty slot: null); any other id the first along the list.
const ModelItemDescriptor* ModelFindDescriptor(WORD id, DriverContext* ctx);
// The type word without the Identity and TypeUnknown flags / as stored; 0 without descriptor.
WORD ModelGetItemType(WORD id, DriverContext* ctx);
WORD ModelGetItemRawType(WORD id, DriverContext* ctx);
// The model default of the item (the stored value its descriptor gives); 0 when there is none.
LONG_PTR ModelGetItemDefault(WORD id, DriverContext* ctx);
// The first value record, null without descriptor; for list types (low bit set) the default
// index goes to *defaultIndex when it is given.
const void* ModelGetValueList(WORD id, DriverContext* ctx, WORD* defaultIndex = nullptr);
// -1 without descriptor; 0 for Boolean, Numeric and String items; else the list's length.
LONG ModelGetValueCount(WORD id, DriverContext* ctx);
// Records along the next links of a list (every list record starts with its link).
LONG ModelValueListLength(const void* first);

// The descriptor used for checks: for the free-size width and length the description that
// applies while the input size is edited, else ModelFindDescriptor.
const ModelItemDescriptor* ModelGetDescriptor(WORD id, DriverContext* ctx);
// ModelGetDescriptor of the item at that row of the context's item table.
const ModelItemDescriptor* ModelGetDescriptorAt(DriverContext* ctx, int row);
// Test flags of ModelFindEnabledVariant.
enum : DWORD { kModelTestDisabled = 1, kModelTestRestricted = 2 };
// Among the base descriptions of an item id, the first whose tested item-level judges are all
// false (the slot's own when none of its judges holds); null when none.
const ModelItemDescriptor* ModelFindEnabledVariant(DriverContext* ctx, WORD id, DWORD testFlags);

// The first descriptor along the list whose symbol id matches; null when none.
const ModelItemDescriptor* ModelFindDescriptorBySymbol(WORD symbol, DriverContext* ctx);
const ModelItemDescriptor* ModelGetDescriptorBySymbol(WORD symbol, DriverContext* ctx);
const ModelItemDescriptor* ModelDescriptorOf(DriverContext* ctx, WORD symbol);
// The first Exclusive record of the symbol; null when none.
const ExclusiveRecord* ModelFindExclusive(WORD symbol, DriverContext* ctx);
// Name of the UI resource DLL, null when the description names none.
const WCHAR* ModelGetUiResDllName(DriverContext* ctx);

// Choices of a list description (type low byte 1 or 2); the first is the descriptor's value
// list head. The value of a choice (0 for none, or a description without choices), with its
// value rule in *rule when asked; the next choice, or null.
WORD ModelChoiceValue(const ModelItemDescriptor* desc, const void* choice, const ValueRule** rule);
const void* ModelNextChoice(const ModelItemDescriptor* desc, const void* choice);

// 1 when the item-level disable judge of the symbol's description holds.
int ModelIsSymbolDisabled(DriverContext* ctx, WORD symbol);
// The item-level disable judge; when it is false and the description is a list, the value's.
int ModelIsDescriptorDisabled(DriverContext* ctx, const ModelItemDescriptor* desc, WORD value);
