// Disabled and restricted states of dialog controls as the model's judges and the UI modules
// decide them, and whether a control's shown state has gone stale.
#pragma once
#include "platform/win32.h"

struct DriverContext;
struct DlgPageRecord;
struct DlgControlRecord;
struct JudgeCell;

// Event of the module bus that asks for a control's restricted state.
enum : int { kEventControlRestricted = 3 };

// Record of event 3. A module that decides for the control writes its verdict into the
// control's restricted bits (state bits 2-3), sets answered to 1 and returns 1. savedState
// holds the restricted bits from before the event; the evaluation puts them back.
struct CtlRestrictedQuery {
  DlgControlRecord* control;
  DlgPageRecord* page;
  LONG answered;
  LONG savedState;
};
static_assert(sizeof(void*) != 4 || sizeof(CtlRestrictedQuery) == 16, "event 3 record is 16 bytes");

// The restricted state of the control (0 or 1; the module's bits as written when a module
// answered): the modules first (event 3), else the description's restrict judges, at item
// level and then for the control's value (its control id). The control's state is the same
// afterwards, whatever a module wrote. 0 for a null context or control.
int CtlEvalRestricted(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
// 1 when the control's shown restricted (disabled) bits differ from what the evaluation gives
// now, or a restrict (disable) judge of its description, at item level or of any value, names
// an item whose change mark is 1.
int CtlRestrictedStale(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control);
int CtlDisabledStale(DriverContext* ctx, DlgControlRecord* control);

// 1 when the judge names an item whose change mark is 1. The scan stops at the end cell, and
// never reads past the end of the compiled image that holds the cells (nor past the longest
// judge a description can compile to).
int ModelExprUsesChangedItem(DriverContext* ctx, const JudgeCell* judge);
