// What follows a setting change: an item's Transact list sets further items or names a dialog
// to open.
#pragma once
#include "platform/win32.h"

struct DriverContext;
struct ModelItemDescriptor;
struct TransactEntry;

// Runs a Transact list entry by entry: an entry without a judge runs; an entry whose judge is
// the previous entry's, when that was false, is skipped without evaluating it again; any
// other judge is evaluated now, so it sees what earlier entries set. A true entry's actions
// run in order: a dialog target ends the run with the dialog's id; an action on
// wdmBuiltInFunc (1018) goes to the deliverable's change notification when it has one;
// any other action sets its item (text items load the string resource the value names). A
// failing set is not reported. Returns the dialog id, or 0.
int JudgeRunTransactList(const TransactEntry* first, DriverContext* ctx);
// Runs the Transact list of the descriptor's Exclusive record; returns the id of a dialog to
// open, or 0 (also without a record).
int ModelRunItemTransacts(const ModelItemDescriptor* desc, DriverContext* ctx);
// The same for the Exclusive record found by symbol id, for description entries that are not
// setting items (the per-version DEVMODE conversion script).
int ModelRunItemTransactById(WORD symbol, DriverContext* ctx);
