// The values of a PJL-mapped setting that the current configuration allows: each value of the
// setting's row in the PJL variable table is tried against its condition list and the N-up
// lock rule, and a value fixed by a setting lock stands alone. The capability answers per
// value (the staple and sort choices, the capability block) are built on them.
#pragma once
#include "core/context/driver_context.h"
#include "core/tables/pjl_table.h"
#include "platform/win32.h"

// The first row of the PJL variable table whose setting is `item` (0 is never found); null
// when there is none, when its modes share no bit with `mode`, or when its modes hold the
// printer-option bit and its option requirement does not hold.
const PjlVariable* PjlFindSetting(DriverContext* ctx, DWORD item, DWORD mode);

// A condition list against the stored values of the current settings: 1 holds (an empty list
// too), 0 fails. See ConditionTerm for how the terms join.
int ItemTestConditionList(DriverContext* ctx, const ConditionTerm* first);
// The same for a list in feature codes: each code is read as the installed-option item it
// names; a term whose code names none is left out of the list.
int ItemTestCodedConditionList(DriverContext* ctx, const ConditionTerm* first);

// The per-value test of a row: the value's condition list holds and the N-up lock rule allows
// it. Nonzero when the value is allowed.
int ItemTrialValue(DriverContext* ctx, const PjlVariable* row, const PjlValueEntry* value);

// Results of the allowed-value lists.
enum : int {
  kAllowedListed = 0,    // the count written; the values copied when a buffer was given
  kAllowedCounted = 1,   // the count written, the values not copied (no buffer, or too small)
  kAllowedNoMemory = -1, // no work list; the count is 0
};

// The allowed values of the item in list order. *count becomes their number (0 for an item
// without a row or a value list); `values` (room for `capacity`, or null) receives them when
// all fit. excludeFlagged leaves out entries flagged kPjlValueDefault, except a value that a
// setting lock fixes.
int ItemTrialAllowedValues(DriverContext* ctx, DWORD item, DWORD capacity, DWORD* values, DWORD* count,
                           BOOL excludeFlagged);
// ItemTrialAllowedValues that keeps the flagged entries.
int ItemListAllowedValues(DriverContext* ctx, DWORD item, DWORD capacity, DWORD* values, DWORD* count);
// 1 when at least one value that is not flagged kPjlValueDefault is allowed, else 0.
int ItemHasAllowedValue(DriverContext* ctx, DWORD item);
