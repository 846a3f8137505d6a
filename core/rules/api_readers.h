// Readers of the model description for the application interface of zemsexc: which values a
// setting offers, the ranges of its number settings, the resolutions and the value rules.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

struct ExclusiveRecord;
struct SettingItem;

// 1 for "X:\..." and "\\..."; 0 otherwise or for null.
int ApiIsAbsolutePath(const WCHAR* path);
// 1 when the setting has a descriptor whose type is not 0x2000 (not offered).
int ApiSettingHasOptions(DriverContext* ctx, WORD setting);
// For a list setting with values: the number of values that are not disabled, each one's
// value-symbol ordinal written to out when given. -1 for other settings, for a value without
// a value symbol (or of kind 0) and when no value is allowed.
int ApiAllowedValues(DriverContext* ctx, LONG* out, WORD setting);
// The maximum of dmCopies' number description, else the model record's copies limit.
LONG ApiGetMaxCopies(DriverContext* ctx);
// Minima and maxima of zdmScaleH and zdmScaleV as 16-bit pairs (H first): 1, or 0 when either
// is not a number or both outputs are null.
int ApiGetScaleRanges(DriverContext* ctx, WORD* minimum, WORD* maximum);
// Minimum and maximum of two number settings (any output may be null): 1, or 0 when a
// requested one is not a number.
int ApiGetMarginRanges(DriverContext* ctx, LONG* oddMin, LONG* oddMax, LONG* evenMin, LONG* evenMax);
int ApiGetShiftRanges(DriverContext* ctx, LONG* xMin, LONG* xMax, LONG* yMin, LONG* yMax);
int ApiGetCreepRanges(DriverContext* ctx, LONG* insideMin, LONG* insideMax, LONG* outsideMin, LONG* outsideMax);
// The print-macro ids of the allowed resolutions: the shared resolution walk in its macro form.
int ApiListResolutions(DriverContext* ctx, LONG* out);
// The Exclusive record of the setting's descriptor; null for id 0 or none.
const ExclusiveRecord* ModelFindExclusiveById(WORD setting, DriverContext* ctx);
// The first judge of the value's rule (value 0: of the item; a value without rule: 1).
int ModelEvalFirstJudge(const ExclusiveRecord* record, WORD value, DriverContext* ctx);
// -1 without Exclusive record; else ModelEvalFirstJudge.
int ApiQueryCommandNode(WORD setting, WORD value, DriverContext* ctx);
// -1 without Exclusive record; else the value's disable (first) / restrict (second) judge.
int ApiIsValueDisabled(WORD setting, WORD value, DriverContext* ctx);
int ApiIsValueRestricted(WORD setting, WORD value, DriverContext* ctx);
// The value check with the setting's descriptor.
int ApiClassifyValue(const SettingItem* record, WORD setting, LONG_PTR value, DriverContext* ctx);
