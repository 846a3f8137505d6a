// The print-notification component: whether it is installed and what it can report for a
// printer, asked of its information DLL in the System directory at each query.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// Flag bit 0: ask for the capabilities only.
constexpr DWORD kNotifyCapabilitiesOnly = 0x1;

// Fills zdmSupportFunc2SelectJobComplete / ...JobErr from the capability bits 0 and 1 (both 0
// when the DLL, an export or the answer is missing) and, without kNotifyCapabilitiesOnly,
// zdmFunc2SelectJobComplete / ...JobErr from the value bits; those two are never cleared by a
// failure.
void CtxQueryPrintNotification(DriverContext* ctx, DWORD flags);
