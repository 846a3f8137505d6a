// Per-model setters of this build: settings that follow from reported printer options, the
// output resolution and the driver type, and small item helpers of the model tables.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// For the option zdmSourceOptionType1Step reported with code 105 or 30, zdm1StepOptionNum := 1
// unless *state already holds a value; with code 106 it := 2 unless *state holds a value other
// than 1. *state receives the value written, so a 2 is never lowered to 1.
void ModelSetOneStepOptionNum(WORD optionItem, LONG code, DWORD* state, DriverContext* ctx);
// While zdmUseUserMacro is off: zdmBalanceMacro := 17 for 200, 300, 400 and 600 dpi, else 18.
void ModelSetBalanceMacroByResolution(LONG resolution, DriverContext* ctx);
// zdmOther := the driver code string of the driver type (zdmDriverType), zero-padded.
void ModelSetDriverCodeString(DriverContext* ctx);
// The value of wdmCustomFunc0...wdmCustomFunc31; 0 for any other id.
LONG ItemGetCustomFunc(DriverContext* ctx, WORD id);
// Writes the item (the kind is not used).
BOOL ItemSetGuarded(int kind, WORD id, LONG value, DriverContext* ctx);
