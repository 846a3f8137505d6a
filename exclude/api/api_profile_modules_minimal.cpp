// Minimal version until the colour-profile list is built: no profile has a name here, so the
// interface reports every profile name as not available.
#include "exclude/api/api_chapter_modules.h"

int ApiCmmProfileName(ApiContext*, LONG, WCHAR*) { return 0; }
