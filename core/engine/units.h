// Units and derived settings.
#pragma once
#include "core/engine/driver_context_fwd.h"

// 1 when the context's display language writes numbers with a decimal comma; 0 without a
// context.
int ItemLangUsesDecimalComma(const DriverContext* ctx);
