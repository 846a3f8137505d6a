// The trial of a value under a master switch: whether the value would survive the model's rules
// once the function is switched on. Used by the finishing status items; the paper and layout
// items own its body.
#pragma once
#include "platform/win32.h"

struct ApiContext;

// 1 allowed, 0 refused; the settings are as they were afterwards.
int ApiTrialSetValue(ApiContext* api, DWORD statusId, WORD masterSetting, WORD setting, LONG_PTR value);
