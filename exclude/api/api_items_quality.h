// Handlers of the preset, print-quality and colour status items.
#pragma once
#include "platform/win32.h"

struct ApiContext;

