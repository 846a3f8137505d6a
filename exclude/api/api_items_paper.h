// Handlers of the paper and layout status items (paper size, output paper, scale, N-up, layout, covers, media types, margins).
#pragma once
#include "platform/win32.h"

struct ApiContext;

// The paper and resolution sync after a change of the input paper or the load share.
void ApiSyncPaperAndResolution(ApiContext* api);
