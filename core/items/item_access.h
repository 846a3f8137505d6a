// Typed reads and writes of setting items: the stored value by the item's data type, the
// logical value through its value list, text items, the change marks of the items and the
// change flags, modified flag and settings-file status of the context.
#pragma once
#include "core/context/driver_context.h"
#include "core/items/item_table.h"
#include "platform/win32.h"

struct DlgControlRecord;

// Stored values travel as one 32-bit word: integers sign- or zero-extended by type, bit items
// 0 or 1, text and block items their address in the settings block.

// Stored value of the item in the current settings; 0 without a record or storage.
LONG_PTR ItemGetRaw(DriverContext* ctx, const SettingItem* item);
// Calls observer(data, id) at every read of an item's current value (ItemGetRaw and the text
// reads, so every typed read) until it is set back to null: how a test records the items a
// computed item's reader really reads. One observer per core copy; not for concurrent use.
typedef void (*ItemReadObserver)(void* data, WORD id);
void ItemSetReadObserver(ItemReadObserver observer, void* data);
// The same from the initial-settings copy and from the lock-default copy.
LONG_PTR ItemGetInitialRaw(DriverContext* ctx, const SettingItem* item);
LONG_PTR ItemGetLockDefaultRaw(DriverContext* ctx, const SettingItem* item);
// By id; the record found (or null) goes to *found when it is given.
LONG_PTR ItemGetRawById(DriverContext* ctx, WORD id, SettingItem** found = nullptr);
LONG_PTR ItemGetInitialRawById(DriverContext* ctx, WORD id, SettingItem** found = nullptr);
LONG_PTR ItemGetLockDefaultRawById(DriverContext* ctx, WORD id, SettingItem** found = nullptr);

// Logical value: the stored value mapped through the item's value list (ItemMapValue).
LONG_PTR ItemGetValue(DriverContext* ctx, const SettingItem* item);
LONG_PTR ItemGetValueById(DriverContext* ctx, WORD id, SettingItem** found = nullptr);
LONG_PTR ItemGetValueBySymbol(DriverContext* ctx, WORD symbol, SettingItem** found = nullptr);
// Logical value of the control's item; 0 for a control without an item.
LONG_PTR ItemGetControlValue(DriverContext* ctx, const DlgControlRecord* control);

// Stores by the item's type and marks the change: the item's change mark and the modified flag
// become 1, the item's change classes go into the change flags, and zdmScaleH also writes
// zdmScaleV while zdmScaleType is 1. Text and block items copy their full size from value, or
// are zero-filled when value is 0. Returns 1, or 0 when the item has no storage.
BOOL ItemSetRaw(DriverContext* ctx, SettingItem* item, LONG_PTR value);
BOOL ItemSetRawById(DriverContext* ctx, WORD id, LONG_PTR value);
// Stores into the initial-settings copy, without any marking.
BOOL ItemSetInitialRaw(DriverContext* ctx, SettingItem* item, LONG_PTR value);
BOOL ItemSetInitialRawById(DriverContext* ctx, WORD id, LONG_PTR value);
// Logical value through ItemUnmapValue, then ItemSetRaw. A text or block item takes only 0
// (cleared) or its own address (a value read back); any other number is refused (0 returned,
// the item unchanged), since ItemSetRaw would copy from it as an address.
BOOL ItemSetValue(DriverContext* ctx, SettingItem* item, LONG_PTR value);
BOOL ItemSetValueById(DriverContext* ctx, WORD id, LONG_PTR value);
BOOL ItemSetControlValue(DriverContext* ctx, const DlgControlRecord* control, LONG_PTR value);
// For text items the value is a string id: the string is loaded and stored as text; any other
// item takes it as a logical value.
BOOL ItemSetValueOrString(DriverContext* ctx, WORD id, LONG_PTR value);

// Clears the item (marking the change), then stores the text: narrow items converted to the
// ANSI code page, wide items copied; either way cut to fit the item's size with its
// terminator. Returns the value's address, or null for a null argument or an item without
// storage (a null text still clears the item).
void* ItemSetText(DriverContext* ctx, SettingItem* item, const WCHAR* text);
void* ItemSetControlText(DriverContext* ctx, WORD control_id, const WCHAR* text);
// Copies the item's text into buffer as wide text ("wrong" for an item that is no text). The
// buffer must hold the item's size in characters; the copy never goes beyond that and is
// always terminated. Returns the value's address, 0 on failure.
void* ItemGetText(DriverContext* ctx, const SettingItem* item, WCHAR* buffer);
void* ItemGetControlText(DriverContext* ctx, WORD control_id, WCHAR* buffer);
// The same with an explicit buffer size in characters (never written past).
void* ItemGetTextBounded(DriverContext* ctx, const SettingItem* item, WCHAR* buffer,
                         int cchBuffer);

// 1 when zdmDspUnit is 0 (display in 0.1 mm), 0 for display in 0.01 inch.
BOOL ItemIsMetricUnit(DriverContext* ctx);

// Change flags of the context: 0 clears them all; a value with a nonzero low word first clears
// the low word; then the value is ORed in.
void CtxAddChangeFlags(DriverContext* ctx, DWORD value);
DWORD CtxGetChangeFlags(DriverContext* ctx);
// Clears the mask's bits; a mask of 0x10000000 or more clears them in the words saved with the
// snapshots too.
void CtxClearChangeFlags(DriverContext* ctx, DWORD mask);
// Status of the last settings-file load or save.
void CtxSetFileStatus(DriverContext* ctx, LONG status);
LONG CtxGetFileStatus(DriverContext* ctx);

