// Handlers of the finishing status items (duplex, sort, staple, punch, fold, chapters).
#pragma once
#include "platform/win32.h"

struct ApiContext;

