// Handlers of the watermark, header/footer and copy-guard status items.
#pragma once
#include "platform/win32.h"

struct ApiContext;

