// Minimal: the paper and resolution sync of the paper items is not built yet; a load-share
// change leaves paper and resolution as they are.
#include "exclude/api/api_items_paper.h"

void ApiSyncPaperAndResolution(ApiContext* api) { (void)api; }
