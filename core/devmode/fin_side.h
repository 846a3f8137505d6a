// How the page lies on the sheet for the finishing rules.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

// The landscape layout flag: 1 when the page image lies landscape on the sheet once N-up and
// booklet printing are taken into account (a portrait page printed 2-up counts as landscape).
int FinIsFeedRotated(DriverContext* ctx);
// Which side of the sheet the chosen punch or staple position needs on the installed finisher:
// 1 or 2, 3 when the position leaves the side free, 0 when nothing can be said (no finisher,
// paper not accepted, a position the finisher does not know).
int FinResolveSide(DriverContext* ctx);
