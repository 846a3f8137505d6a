// The repair of child-window procedures that two host applications replace behind the
// driver's back, run by the dialog code while its windows are set up.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// While a top-level window of one of the two host classes exists, gives every child of window
// (in z-order) its class's own procedure back; a child whose class has no procedure to be
// found keeps its own. Without such a host window nothing is done.
void CtxFixHostSubclassing(DriverContext* ctx, HWND window);
