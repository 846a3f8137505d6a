// How the page lies on the sheet for the finishing rules.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

// The landscape layout flag: 1 when the page image lies landscape on the sheet once N-up and
// booklet printing are taken into account (a portrait page printed 2-up counts as landscape).
int FinIsFeedRotated(DriverContext* ctx);
