// The dialog engine's own handler of page and control messages, offered each message before the
// UI modules.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

struct DlgPageRecord;
struct DlgControlRecord;

// Nonzero when the engine consumed the message.
int DlgHandleBuiltinMessage(DriverContext* ctx, DlgPageRecord* page, DlgControlRecord* control, UINT message,
                            WPARAM wParam, LPARAM lParam);
