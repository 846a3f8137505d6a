// The dialog engine's change notification: what a model action on wdmBuiltInFunc, a control
// or a module asks the engine to follow up after a setting changed.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

// Codes 1, 3 and 4 apply the paper change of that kind (1: input and output paper and the
// scale; 3 and 4: the custom-size slot of the input or output paper); code 2 adds change flag
// 0x10000000; every other code goes to the UI modules' notify callbacks. Nothing without a
// context.
void DlgNotifyChange(DriverContext* ctx, WORD code);
