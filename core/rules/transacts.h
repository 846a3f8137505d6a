// What follows a setting change: an item's Transact list sets further items or names a dialog
// to open.
#pragma once
#include "platform/win32.h"

struct DriverContext;
struct ModelItemDescriptor;

// Runs the Transact list of the descriptor's Exclusive record; returns the id of a dialog to
// open, or 0 (also without a record).
int ModelRunItemTransacts(const ModelItemDescriptor* desc, DriverContext* ctx);
// The same for the Exclusive record found by symbol id, for description entries that are not
// setting items (the per-version DEVMODE conversion script).
int ModelRunItemTransactById(WORD symbol, DriverContext* ctx);
