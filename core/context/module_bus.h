// The UI-module event bus of a context: each context holds its own copy of the static module
// table and broadcasts notifications, control messages and events through it in row order.
#pragma once
#include "platform/win32.h"

struct DriverContext;
struct DlgPageRecord;
struct DlgControlRecord;

// Callbacks of a module row; the last argument is the row's private block (or null). A
// nonzero return ends the dispatch.
using UiModuleNotifyFn = int (*)(DriverContext* ctx, WORD code, void* data);
using UiModuleControlFn = int (*)(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                                  WPARAM wParam, LPARAM lParam, void* data);
using UiModuleEventFn = int (*)(DriverContext* ctx, int event, void* argument, void* data);

struct UiModuleEntry {
  DWORD privateSize;  // bytes of private data per context, 0 = none
  void* privateData;  // null in the static table; the context's zeroed block, or null
  UiModuleNotifyFn notify;
  UiModuleControlFn control;
  UiModuleEventFn event;
};

struct UiModuleTable {
  LONG count;
  UiModuleEntry* rows;
};

// Rows of the static table, in dispatch order.
enum UiModuleRow : int {
  kModulePresets = 0,
  kModuleWatermarks = 1,
  kModuleQuality = 2,
  kModuleFreeSize = 3,
  kModuleChapters = 4,
  kModuleOptions = 5,
  kModuleFontSubst = 6,
  kModuleSummary = 7,
  kModuleLocks = 8,
  kModulePrintMethod = 9,
  kModuleCount = 10,
};

// Events the bus itself sends.
enum : int {
  kEventCreate = 1,
  kEventDestroy = 2,
};

// Notifications the stores send.
enum : WORD {
  kNotifyLockDataLoaded = 312,  // the lock data were loaded, or the lock work items skipped
};

// The ten rows of the deliverable this core is linked into (its module_rows.cpp): each
// deliverable names its own callbacks, so no row differs by a switch inside the core.
const UiModuleEntry* BuildGetModuleRows();
// The deliverable's rows; writes their number through count when it is given.
const UiModuleEntry* ModBusGetTable(LONG* count);
// Gives the context its copy of the module table with the modules' private blocks and sends
// event 1 (create). Returns 1, 0 when the table cannot be allocated (the context then has no
// table and no module is ever called).
int ModBusLoad(DriverContext* ctx);
// ModBusLoad with the given rows in place of the static table.
int ModBusLoadRows(DriverContext* ctx, const UiModuleEntry* rows, LONG count);
// Frees the chapter array and the preset cache; with a table, sends event 2 (destroy) and
// frees every private block, the rows and the table.
void ModBusFree(DriverContext* ctx);
// Offers the code (as 16 bits) to each row's notify callback in order until one returns nonzero.
void ModBusNotify(DriverContext* ctx, WORD code);
// The dialog engine's own handler first: a nonzero answer is the result and no module sees the
// message. Otherwise each row's control callback in order until one returns nonzero; that value
// is the result, 0 when none takes it or without a context or table.
int ModBusRouteControl(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                       WPARAM wParam, LPARAM lParam);
// Offers the event to each row's event callback in order until one returns nonzero. Answers
// come back through the argument record, which the sender initialises.
void ModBusSendEvent(DriverContext* ctx, int event, void* argument);
// Value of a judge-hook item for the judge evaluator: 1292-1307 the quality module's,
// 1404-1419 the print-method module's, any other id 0.
int ModBusJudgeHookValue(DriverContext* ctx, WORD id);
// The items a judge-hook item's module reads (its row of inputs, JudgeComputedItemInputs'
// form): up to cap ids into inputs; the count, or -1 when the row holds more than cap.
int ModBusJudgeHookInputs(WORD id, WORD* inputs, int cap);
